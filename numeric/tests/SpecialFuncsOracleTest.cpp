// Covers numeric/Probabilities.cpp and numeric/SpecialFuncs.cpp against
// scipy.special: the table data/special_oracle.csv is made by
// data/gen_special_oracle.py.
//
// Error model. On the central ranges every function is within 1e-13 of
// scipy. In the tails the tolerance is what the routine's own construction
// reaches, recorded below decade by decade:
// - ErfInv refines its first guess by Newton steps on Erf(x) - y. As y nears
//   +-1, Erf(x) and y agree in more and more leading digits, so the step sees
//   only the last bits of 1 - |y| and x keeps about log10(1 - |y|) + 16 digits.
// - NormalCDFInv goes through ErfInv(2P - 1): in the lower tail 2P - 1 also
//   rounds P to a multiple of 2^-53, so it loses what ErfInv loses at
//   1 - |y| = 2 min(P, 1 - P), and a little more below 1e-15. Below P = 2^-53,
//   2P - 1 is -1 and the route gives -INF; the table stops above that.
// - GammaP and IncGammaCF at A = 1000: scipy's own asymptotic expansion
//   differs from an 80-digit evaluation of the series and the fraction by up
//   to 1.1e-12 (ours by 2e-16), so those rows allow 2e-12.
// - EllipJacoby: sn, cn and dn lie in [-1, 1], and near their zeros scipy and
//   this routine both carry an error absolute to 1, not relative to the value
//   (cn near U = K, dn as m nears 1); they are compared to 1e-13 of 1.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/Probabilities.h"
#include "numeric/SpecialFuncs.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;

struct OracleRow {
  std::string Function;
  double In[3];
  double Out[3];
};

std::vector<OracleRow> ReadOracle() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/special_oracle.csv");
  std::vector<OracleRow> rows;
  std::string line;
  std::getline(file, line);  // header
  while (std::getline(file, line)) {
    std::stringstream fields(line);
    OracleRow row{};
    std::getline(fields, row.Function, ',');
    std::string field;
    std::vector<double> numbers;
    while (std::getline(fields, field, ',')) numbers.push_back(std::strtod(field.c_str(), nullptr));
    if (numbers.size() != 6) continue;
    for (int i = 0; i < 3; ++i) {
      row.In[i] = numbers[static_cast<std::size_t>(i)];
      row.Out[i] = numbers[static_cast<std::size_t>(i + 3)];
    }
    rows.push_back(row);
  }
  return rows;
}

// Tolerance by the distance from the tail: the first entry whose bound the
// distance reaches applies. Distances below every bound are not in the table.
struct TailTolerance {
  double AtLeast;
  double Tol;
};

// ErfInv by 1 - |y|.
const std::vector<TailTolerance> kErfInvTail = {
    {1e-4, 1e-13}, {1e-5, 4e-13}, {1e-6, 5e-12}, {1e-7, 5e-11},  {1e-8, 2e-10}, {1e-9, 2e-9}, {1e-10, 2e-8},
    {1e-11, 3e-7}, {1e-12, 1e-6}, {1e-13, 3e-6}, {1e-14, 1e-4}, {1e-15, 1e-4}, {1e-16, 2e-4},
};
// NormalCDFInv by min(P, 1 - P); below 1e-15 the rounding of 2P - 1 itself
// costs a further digit.
const std::vector<TailTolerance> kNormalCDFInvTail = {
    {1e-4, 1e-13}, {1e-5, 5e-13}, {1e-6, 2e-12}, {1e-7, 1e-11},  {1e-8, 1e-10}, {1e-9, 2e-9}, {1e-10, 1e-8},
    {1e-11, 5e-8}, {1e-12, 1e-6}, {1e-13, 5e-6}, {1e-14, 2e-4}, {1e-15, 2e-4}, {1e-16, 5e-3},
};

double TailTol(const std::vector<TailTolerance>& table, double distance) {
  for (const TailTolerance& t : table)
    if (distance >= t.AtLeast) return t.Tol;
  ADD_FAILURE() << "distance " << distance << " from the tail is beyond the table";
  return 0.0;
}

TEST(SpecialFuncsOracle, AgreesWithScipy) {
  const std::vector<OracleRow> rows = ReadOracle();
  ASSERT_GT(rows.size(), 400u) << "oracle table missing or short";
  std::map<std::string, int> checked;
  for (const OracleRow& r : rows) {
    SCOPED_TRACE(r.Function + "(" + std::to_string(r.In[0]) + ", " + std::to_string(r.In[1]) + ")");
    const std::string& f = r.Function;
    if (f == "NormalCDFInv") {
      const double P = r.In[0];
      const double tol = TailTol(kNormalCDFInvTail, std::fmin(P, 1.0 - P));
      EXPECT_TRUE(NearRel(NormalCDFInv(P, r.In[1], r.In[2]), r.Out[0], tol));
    } else if (f == "ErfInv") {
      EXPECT_TRUE(NearRel(ErfInv(r.In[0]), r.Out[0], TailTol(kErfInvTail, 1.0 - std::fabs(r.In[0]))));
    } else if (f == "Erf") {
      EXPECT_TRUE(NearRel(Erf(r.In[0]), r.Out[0], 1e-13));
    } else if (f == "GammaP" || f == "IncGammaCF") {
      const double tol = r.In[0] >= 1000.0 ? 2e-12 : 1e-13;
      const double got = f == "GammaP" ? GammaP(r.In[0], r.In[1]) : IncGammaCF(r.In[0], r.In[1]);
      EXPECT_TRUE(NearRel(got, r.Out[0], tol));
    } else if (f == "EllipComplete") {
      double E = 0.0;
      EXPECT_TRUE(NearRel(EllipComplete(r.In[0], EPS, E), r.Out[0], 1e-13));
      EXPECT_TRUE(NearRel(E, r.Out[1], 1e-13));
    } else if (f == "EllipJacoby") {
      double Sn = 0.0, Cn = 0.0, Dn = 0.0;
      EllipJacoby(r.In[0], r.In[1], EPS, Sn, Cn, Dn);
      EXPECT_TRUE(NearScaled(Sn, r.Out[0], 1e-13, 1.0));
      EXPECT_TRUE(NearScaled(Cn, r.Out[1], 1e-13, 1.0));
      EXPECT_TRUE(NearScaled(Dn, r.Out[2], 1e-13, 1.0));
    } else {
      ADD_FAILURE() << "unknown function in the table";
      continue;
    }
    ++checked[f];
  }
  for (const char* f : {"NormalCDFInv", "ErfInv", "Erf", "GammaP", "IncGammaCF", "EllipComplete", "EllipJacoby"})
    EXPECT_GT(checked[f], 10) << f;
}

}  // namespace
}  // namespace numeric
