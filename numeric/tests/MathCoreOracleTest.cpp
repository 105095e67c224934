// Covers numeric/MathCore.cpp and numeric/MathComplex.cpp against numpy and
// scipy: the table data/mathcore_oracle.csv is made by
// data/gen_mathcore_oracle.py.
//
// Error model: each routine is evaluated in long double and rounded once, the
// reference is within an ulp or two, so 4 EPS relative (complex: against the
// magnitude) bounds a correct result; LnGamma gets 8 EPS for its reflection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

struct OracleRow {
  std::string Function;
  double In[4];
  TCplx Expected;
};

std::vector<OracleRow> ReadOracle() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/mathcore_oracle.csv");
  std::vector<OracleRow> rows;
  std::string line;
  std::getline(file, line);  // header
  while (std::getline(file, line)) {
    std::stringstream fields(line);
    std::string field;
    OracleRow row{};
    std::getline(fields, row.Function, ',');
    std::vector<double> numbers;
    while (std::getline(fields, field, ',')) numbers.push_back(std::strtod(field.c_str(), nullptr));
    if (numbers.size() != 6) continue;
    for (int i = 0; i < 4; ++i) row.In[i] = numbers[static_cast<std::size_t>(i)];
    row.Expected = TCplx{numbers[4], numbers[5]};
    rows.push_back(row);
  }
  return rows;
}

using RealFn = std::function<double(const double*)>;
using CplxFn = std::function<TCplx(const double*)>;

TEST(MathCoreOracle, AgreesWithNumpyAndScipy) {
  const std::map<std::string, RealFn> real = {
      {"LnGamma", [](const double* x) { return LnGamma(x[0]); }},
      {"Power", [](const double* x) { return Power(x[0], x[1]); }},
      {"Sinh", [](const double* x) { return Sinh(x[0]); }},
      {"Cosh", [](const double* x) { return Cosh(x[0]); }},
      {"Tanh", [](const double* x) { return Tanh(x[0]); }},
      {"ArcSinh", [](const double* x) { return ArcSinh(x[0]); }},
      {"ArcCosh", [](const double* x) { return ArcCosh(x[0]); }},
      {"Exp10", [](const double* x) { return Exp10(x[0]); }},
      {"Exp2", [](const double* x) { return Exp2(x[0]); }},
      {"LogN", [](const double* x) { return LogN(x[0], x[1]); }},
      {"CAbs", [](const double* x) { return CAbs(TCplx{x[0], x[1]}); }},
  };
  const std::map<std::string, CplxFn> complex = {
      {"CSqrt", [](const double* x) { return CSqrt(TCplx{x[0], x[1]}); }},
      {"CLn", [](const double* x) { return CLn(TCplx{x[0], x[1]}); }},
      {"CInv", [](const double* x) { return CInv(TCplx{x[0], x[1]}); }},
      {"CSqr", [](const double* x) { return CSqr(TCplx{x[0], x[1]}); }},
      {"CDiv", [](const double* x) { return CDiv(TCplx{x[0], x[1]}, TCplx{x[2], x[3]}); }},
      {"CMul", [](const double* x) { return CMul(TCplx{x[0], x[1]}, TCplx{x[2], x[3]}); }},
      {"CIntPower",
       [](const double* x) { return CIntPower(TCplx{x[0], x[1]}, static_cast<std::int32_t>(x[2])); }},
  };

  const std::vector<OracleRow> rows = ReadOracle();
  ASSERT_GT(rows.size(), 100u) << "oracle table missing or short";
  std::map<std::string, int> checked;
  for (const OracleRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Function << "(" << row.In[0] << ", " << row.In[1] << ", "
                                    << row.In[2] << ", " << row.In[3] << ")");
    const double tol = row.Function == "LnGamma" ? 8 * EPS : 4 * EPS;
    if (auto r = real.find(row.Function); r != real.end()) {
      EXPECT_TRUE(testutil::NearRel(r->second(row.In), row.Expected.Re, tol));
    } else if (auto c = complex.find(row.Function); c != complex.end()) {
      EXPECT_TRUE(testutil::NearRel(c->second(row.In), row.Expected, tol));
    } else {
      ADD_FAILURE() << "no routine for " << row.Function;
    }
    ++checked[row.Function];
  }
  EXPECT_EQ(checked.size(), real.size() + complex.size()) << "a routine has no oracle rows";
}

}  // namespace
}  // namespace numeric
