// Covers numeric/Probabilities.cpp and numeric/SpecialFuncs.cpp against
// scipy.special: the table data/special_oracle.csv is made by
// data/gen_special_oracle.py.
//
// Error model (u = 2^-53 the unit roundoff): each function is checked within
// what its evaluation rounds, on each of the two sides (ours, scipy's), with a
// margin of 2, which makes 4 times one side's bound:
// - Erf, ErfInv, NormalCDFInv: 8u times (1 + the function's condition); for
//   ErfInv the condition |y| (sqrt(pi)/2) e^(x^2) / |x| grows without end as
//   y nears +-1 (x keeps only log10(1 - |y|) + 16 digits), and NormalCDFInv
//   adds the rounding of 2P - 1 (u) that ErfInv then magnifies so.
// - GammaP and IncGammaCF: the prefactor x^a e^-x / Gamma(a) goes through its
//   logarithm, which rounds within u (a |ln x| + x + |ln Gamma(a)|): that is
//   the prefactor's relative error (1e-12 at a = 1000); the series or the
//   fraction add 4u per term, sqrt(a) + 30 of them.
// - EllipComplete: 8u of K and E. EllipJacoby: sn, cn and dn lie in [-1, 1],
//   and near their zeros both sides carry an error absolute to 1, not
//   relative to the value (cn near U = K, dn as m nears 1): the argument's
//   reduction by the quarter period rounds within u |U|, so 8u (1 + |U|);
//   dn = sqrt(1 - m sn^2) near 0 divides that difference's rounding by 2 dn.
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

constexpr double kU = EPS / 2;

// ErfInv's relative bound at y, x = ErfInv(y): 8u (1 + |y| (sqrt(pi)/2) e^(x^2) / |x|).
double ErfInvBound(double y, double x) {
  if (x == 0.0) return 8.0 * kU;
  return 8.0 * kU * (1.0 + std::fabs(y) * std::sqrt(M_PI) / 2.0 * std::exp(x * x) / std::fabs(x));
}

TEST(SpecialFuncsOracle, AgreesWithScipy) {
  const std::vector<OracleRow> rows = ReadOracle();
  ASSERT_GT(rows.size(), 400u) << "oracle table missing or short";
  std::map<std::string, int> checked;
  for (const OracleRow& r : rows) {
    SCOPED_TRACE(r.Function + "(" + std::to_string(r.In[0]) + ", " + std::to_string(r.In[1]) + ")");
    const std::string& f = r.Function;
    if (f == "NormalCDFInv") {
      const double P = r.In[0], mean = r.In[1], sd = r.In[2];
      // x' = ErfInv(2P - 1): its bound, and 2P - 1's rounding (u) magnified by its slope.
      const double x = (r.Out[0] - mean) / (sd * std::sqrt(2.0)), y = 2.0 * P - 1.0;
      const double inverse = ErfInvBound(y, x) * std::fabs(x) + kU * std::sqrt(M_PI) / 2.0 * std::exp(x * x);
      const double bound = sd * std::sqrt(2.0) * inverse + 2.0 * kU * (std::fabs(r.Out[0]) + std::fabs(mean));
      EXPECT_NEAR(NormalCDFInv(P, mean, sd), r.Out[0], 4.0 * bound);
    } else if (f == "ErfInv") {
      EXPECT_TRUE(NearRel(ErfInv(r.In[0]), r.Out[0], 4.0 * ErfInvBound(r.In[0], r.Out[0])));
    } else if (f == "Erf") {
      const double x = r.In[0];
      const double condition = std::fabs(x) * 2.0 / std::sqrt(M_PI) * std::exp(-x * x) / std::fabs(r.Out[0]);
      EXPECT_TRUE(NearRel(Erf(x), r.Out[0], 4.0 * 8.0 * kU * (1.0 + condition)));
    } else if (f == "GammaP" || f == "IncGammaCF") {
      const double a = r.In[0], x = r.In[1];
      const double bound = kU * (a * std::fabs(std::log(x)) + x + std::fabs(std::lgamma(a))) + 4.0 * kU * (std::sqrt(a) + 30.0);
      const double got = f == "GammaP" ? GammaP(a, x) : IncGammaCF(a, x);
      EXPECT_TRUE(NearRel(got, r.Out[0], 4.0 * bound));
    } else if (f == "EllipComplete") {
      double E = 0.0;
      EXPECT_TRUE(NearRel(EllipComplete(r.In[0], EPS, E), r.Out[0], 4.0 * 8.0 * kU));
      EXPECT_TRUE(NearRel(E, r.Out[1], 4.0 * 8.0 * kU));
    } else if (f == "EllipJacoby") {
      double Sn = 0.0, Cn = 0.0, Dn = 0.0;
      EllipJacoby(r.In[0], r.In[1], EPS, Sn, Cn, Dn);
      const double one = 8.0 * kU * (1.0 + std::fabs(r.In[0]));
      // dn = sqrt(1 - m sn^2) near 0 takes 1 - m sn^2's rounding, u + 2 |sn| of sn's error,
      // over 2 dn.
      const double dn = one + (kU + 2.0 * std::fabs(r.Out[0]) * one) / (2.0 * std::fabs(r.Out[2]));
      EXPECT_TRUE(NearScaled(Sn, r.Out[0], 4.0 * one, 1.0));
      EXPECT_TRUE(NearScaled(Cn, r.Out[1], 4.0 * one, 1.0));
      EXPECT_TRUE(NearScaled(Dn, r.Out[2], 4.0 * dn, 1.0));
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
