// Covers numeric/VecArithmetic.cpp and numeric/VecComplexParts.cpp against
// numpy: the table data/vecarith_oracle.csv is made by
// data/gen_vecarith_oracle.py, for real, complex and mixed operands.
//
// Error model: each element is a product, quotient or elementary function of
// one or two operands, a few roundings deep, so 8 EPS relative to the
// expected magnitude bounds a correct result (complex: the error measured
// against |expected|).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

using testutil::NearRel;

struct OracleRow {
  std::string Operation;
  bool AComplex = false;
  std::vector<double> A;
  bool BComplex = false;
  std::vector<double> B;
  bool ExpectedComplex = false;
  std::vector<double> Expected;
};

std::vector<double> Doubles(const std::string& field) {
  std::vector<double> values;
  std::stringstream parts(field);
  std::string part;
  while (std::getline(parts, part, ';'))
    if (!part.empty()) values.push_back(std::strtod(part.c_str(), nullptr));
  return values;
}

std::vector<OracleRow> ReadOracle() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/vecarith_oracle.csv");
  std::vector<OracleRow> rows;
  std::string line;
  std::getline(file, line);  // header
  while (std::getline(file, line)) {
    std::stringstream fields(line);
    std::string f[7];
    for (std::string& field : f) std::getline(fields, field, ',');
    rows.push_back(OracleRow{f[0], f[1] == "c", Doubles(f[2]), f[3] == "c", Doubles(f[4]), f[5] == "c",
                             Doubles(f[6])});
  }
  return rows;
}

void Load(TVec& v, bool complex, const std::vector<double>& values) { v.SetIt(complex, values); }

using TOperation = std::function<void(TVec& self, const TVec& a, const TVec& b)>;

std::map<std::string, TOperation> Operations() {
  return {
      {"Add", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Add(b); }},
      {"Sub", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Sub(b); }},
      {"Mul", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Mul(b); }},
      {"DivideThreshold", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Divide(b, 1e-300); }},
      {"DivideExact", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Divide(b); }},
      {"MulInto", [](TVec& s, const TVec& a, const TVec& b) { s.Mul(a, b); }},
      {"ConjMulInto", [](TVec& s, const TVec& a, const TVec& b) { s.ConjMul(a, b); }},
      {"DivideInto", [](TVec& s, const TVec& a, const TVec& b) { s.Divide(a, b, 1e-300); }},
      {"Sqrt", [](TVec& s, const TVec& a, const TVec&) { s.Sqrt(a); }},
      {"Sqr", [](TVec& s, const TVec& a, const TVec&) { s.Sqr(a); }},
      {"Exp", [](TVec& s, const TVec& a, const TVec&) { s.Copy(a).Exp(); }},
      {"Ln", [](TVec& s, const TVec& a, const TVec&) { s.Copy(a).Ln(); }},
      {"Inv", [](TVec& s, const TVec& a, const TVec&) { s.Inv(a, 1e-300); }},
      {"Abs", [](TVec& s, const TVec& a, const TVec&) { s.Abs(a); }},
      {"Mag", [](TVec& s, const TVec& a, const TVec&) { s.Mag(a); }},
      {"Phase", [](TVec& s, const TVec& a, const TVec&) { s.Phase(a); }},
      {"PowerSpectrum", [](TVec& s, const TVec& a, const TVec&) { s.PowerSpectrum(a); }},
      {"ScaleComplex", [](TVec& s, const TVec& a, const TVec& b) { s.Copy(a).Scale(b.CValues()[0]); }},
  };
}

TEST(VecArithmeticOracle, AgreesWithNumpy) {
  const std::vector<OracleRow> rows = ReadOracle();
  ASSERT_GE(rows.size(), 70u) << "data/vecarith_oracle.csv missing or short";
  const auto operations = Operations();
  constexpr double kTolerance = 8 * EPS;
  for (const OracleRow& row : rows) {
    SCOPED_TRACE(row.Operation + (row.AComplex ? " complex" : " real") +
                 (row.B.empty() ? "" : (row.BComplex ? " with complex" : " with real")));
    const auto op = operations.find(row.Operation);
    ASSERT_NE(op, operations.end());
    TVec a, b, self;
    Load(a, row.AComplex, row.A);
    Load(b, row.BComplex, row.B);
    op->second(self, a, b);
    ASSERT_EQ(self.Complex(), row.ExpectedComplex);
    ASSERT_EQ(self.DoubleLength(), static_cast<std::int32_t>(row.Expected.size()));
    for (std::int32_t i = 0; i < self.Length(); ++i) {
      if (self.Complex()) {
        const TCplx expected{row.Expected[2 * static_cast<std::size_t>(i)],
                             row.Expected[2 * static_cast<std::size_t>(i) + 1]};
        EXPECT_TRUE(NearRel(self.CValues()[i], expected, kTolerance)) << "element " << i;
      } else {
        EXPECT_TRUE(NearRel(self.Values()[i], row.Expected[static_cast<std::size_t>(i)], kTolerance))
            << "element " << i;
      }
    }
  }
}

}  // namespace
}  // namespace numeric
