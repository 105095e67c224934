// Covers numeric/MtxText.cpp: matrix blocks written as delimited lines,
// lines read back into a matrix or a block of one, the column count of a
// line, the separator overloads, the refusals (which change nothing), and
// round trips of real and complex matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/MtxTestUtil.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using classlib::TStringList;
using orvel::testing::Raises;
using testutil::Doubles;
using testutil::Label;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

std::vector<std::string> Lines(const TStringList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

TStringList& Fill(TStringList& list, const std::vector<std::string>& lines) {
  list.Clear();
  for (const std::string& line : lines) list.Add(line);
  return list;
}

using S = std::vector<std::string>;

TEST(MtxValuesToStrings, WholeMatrixAndBlocks) {
  TMtx a;
  Set(a, 2, 3, {1, 2, 3, 4, 5, 6});
  TStringList list;
  a.ValuesToStrings(list, ";", "0.0");
  EXPECT_EQ(Lines(list), (S{"1.0;2.0;3.0", "4.0;5.0;6.0"}));
  list.Clear();
  a.ValuesToStrings(list, 0, 1, 1, 1, 2, ";", "0.0", "");
  EXPECT_EQ(Lines(list), (S{"5.0;6.0"}));

  // Within the list a line is replaced, past its end one is appended.
  Fill(list, {"a", "b", "c", "d", "e"});
  a.ValuesToStrings(list, 0, 0, 0, 2, 1, ", ", "", "");
  EXPECT_EQ(Lines(list), (S{"1", "4", "c", "d", "e"}));
  a.ValuesToStrings(list, 4, 0, 1, 2, 2, " ", "", "");
  EXPECT_EQ(Lines(list), (S{"1", "4", "c", "d", "2 3", "5 6"}));
  // An empty column range writes empty lines.
  a.ValuesToStrings(list, 0, 0, 0, 1, 0, " ", "", "");
  EXPECT_EQ(list.Strings(0), "");
}

TEST(MtxValuesToStrings, ComplexValuesAndTheSeparator) {
  TMtx c;
  SetC(c, 1, 3, {1.5, 2, 0, -1, 3, 0});
  TStringList list;
  c.ValuesToStrings(list, " ");
  EXPECT_EQ(Lines(list), (S{"1.5+2i -i 3"}));
  list.Clear();
  c.ValuesToStrings(list, "; ", "0.00", "+0.00i;-0.00i");
  EXPECT_EQ(Lines(list), (S{"1.50+2.00i; -1.00i; 3.00"}));
  // Another separator for this call only.
  list.Clear();
  c.ValuesToStrings(list, ";", "0.00", "+0.00i;-0.00i", ',');
  EXPECT_EQ(Lines(list), (S{"1,50+2,00i;-1,00i;3,00"}));
  EXPECT_EQ(classlib::DecimalSeparator(), '.');
}

TEST(MtxValuesToStrings, RefusalsWriteNothing) {
  TMtx a;
  Set(a, 2, 3, {1, 2, 3, 4, 5, 6});
  TStringList list;
  Fill(list, {"keep"});
  EXPECT_TRUE(Raises([&] { a.ValuesToStrings(list, 0, 1, 0, 2, 3, ";", "", ""); },
                     "TMtx.ValuesToStrings: (Row + RowCount) > FRows"));
  EXPECT_TRUE(Raises([&] { a.ValuesToStrings(list, 0, 0, 2, 1, 2, ";", "", ""); },
                     "TMtx.ValuesToStrings: (Col + ColCount) > FCols"));
  EXPECT_TRUE(Raises([&] { a.ValuesToStrings(list, 0, -1, 0, 1, 1, ";", "", ""); },
                     "TMtx.ValuesToStrings: Row, Col, RowCount and ColCount must not be negative"));
  EXPECT_EQ(Lines(list), (S{"keep"}));
}

TEST(MtxStringsToValues, RealAndComplexMatrices) {
  TStringList list;
  TMtx a;
  a.StringsToValues(Fill(list, {"1 2 3", "4 5 6"}), " ");
  EXPECT_EQ(a.Rows(), 2);
  EXPECT_EQ(a.Cols(), 3);
  EXPECT_FALSE(a.Complex());
  EXPECT_EQ(Doubles(a), (D{1, 2, 3, 4, 5, 6}));

  a.StringsToValues(Fill(list, {"1 2i", "3 4"}), " ");
  EXPECT_TRUE(a.Complex());
  EXPECT_EQ(Doubles(a), (D{1, 0, 0, 2, 3, 0, 4, 0}));
  a.StringsToValues(Fill(list, {"1 0i", "3 4"}), " ");
  EXPECT_FALSE(a.Complex());
  EXPECT_EQ(Doubles(a), (D{1, 0, 3, 4}));

  // A short line leaves zeros; the other separator for this call only.
  a.StringsToValues(Fill(list, {"1,5;2,5", "-3"}), ";", ',');
  EXPECT_EQ(Doubles(a), (D{1.5, 2.5, -3, 0}));
}

TEST(MtxStringsToValues, ColumnCount) {
  TStringList list;
  TMtx a;
  Fill(list, {"1 2 ", "1,,2", "", "5"});
  EXPECT_EQ(a.ColumnCount(list, 0, " "), 2);
  EXPECT_EQ(a.ColumnCount(list, 1, ","), 3);
  EXPECT_EQ(a.ColumnCount(list, 2, ","), 1);
  EXPECT_EQ(a.ColumnCount(list, 3, ","), 1);
  EXPECT_TRUE(Raises([&] { a.ColumnCount(list, 5, " "); }, "Row > AList.Count-1"));
}

TEST(MtxStringsToValues, BlocksIntoAMatrix) {
  TStringList list;
  TMtx a;
  Label(a, 3, 3, false);
  a.StringsToValues(Fill(list, {"x", "-1 -2", "-3 -4"}), 1, 2, 1, 1, " ");
  EXPECT_EQ(Doubles(a), (D{0, 1, 2, 10, -1, -2, 20, -3, -4}));
  // A complex block makes a real matrix complex, its other imaginary parts zero.
  a.StringsToValues(Fill(list, {"2i"}), 0, 1, 0, 0, " ");
  EXPECT_TRUE(a.Complex());
  EXPECT_EQ(a.CRowValues(0)[0].Im, 2.0);
  EXPECT_EQ(a.CRowValues(2)[2].Re, -4.0);
  EXPECT_EQ(a.CRowValues(2)[2].Im, 0.0);
}

TEST(MtxStringsToValues, FailuresLeaveTheMatrixAsItWas) {
  TStringList list;
  TMtx a;
  Label(a, 2, 2, false);
  const D before = Doubles(a);
  auto unchanged = [&] {
    EXPECT_EQ(a.Rows(), 2);
    EXPECT_EQ(a.Cols(), 2);
    EXPECT_FALSE(a.Complex());
    EXPECT_EQ(Doubles(a), before);
  };
  EXPECT_TRUE(Raises([&] { a.StringsToValues(Fill(list, {"1 2", "3 4 5"}), " "); }, "k > AMtx.Cols-1"));
  unchanged();
  EXPECT_EQ(orvel::testing::RaisedMessage([&] { a.StringsToValues(Fill(list, {"1 x"}), " "); }),
            "'x' is not a valid floating point value");
  unchanged();
  EXPECT_TRUE(Raises([&] { a.StringsToValues(Fill(list, {}), " "); }, "Row > AList.Count-1"));
  unchanged();
  // A complex block that does not fit: refused before the matrix turns complex.
  a.SetConditionCheck(false);
  EXPECT_TRUE(Raises([&] { a.StringsToValues(Fill(list, {"1i 2 3"}), 0, 1, 0, 0, " "); }, "Col + NrCols > Cols"));
  unchanged();
  a.SetConditionCheck(true);
  EXPECT_TRUE(
      Raises([&] { a.StringsToValues(Fill(list, {"1i 2 3"}), 0, 1, 0, 0, " "); }, "(Col + ColumnCount) > fCols"));
  EXPECT_TRUE(Raises(
      [&] {
        a.StringsToValues(Fill(list, {"1", "2", "3"}), 0, 3, 1, 0, " ");
      },
      "(Row + ListLen-1) > fRows"));
  EXPECT_TRUE(
      Raises([&] { a.StringsToValues(Fill(list, {"1"}), 0, 3, 0, 0, " "); }, "(ListIndex+ListLen-1) > Alist.Count"));
  unchanged();
}

// Numbers of at most 15 significant digits read back exactly, whatever the
// format that wrote them; others within the rounding of 15 digits.
TEST(MtxText, RoundTrips) {
  const std::string scientific = "0.00000000000000E+000";
  for (bool complex : {false, true})
    for (bool decimal : {true, false}) {
      SCOPED_TRACE(std::string(complex ? "complex" : "real") + (decimal ? " decimal" : " random"));
      TMtx a, b, c;
      a.Size(4, 5, complex);
      for (std::int32_t k = 0; k < a.DoubleCount(); ++k) {
        // A decimal's nearest double: digits times a power of ten, read from text.
        const std::string digits =
            (k % 2 ? "-" : "") + std::to_string(1000 + 125 * k) + "e" + std::to_string(k % 7 - 6);
        a.Values()[k] =
            decimal ? std::strtod(digits.c_str(), nullptr) : std::sin(0.7 + 1.3 * k) * std::pow(10.0, k % 7 - 3);
      }
      const double tol = decimal ? 0.0 : 1e-14;
      TStringList list;
      a.ValuesToStrings(list, "\t", scientific, "+" + scientific + "i;-" + scientific + "i");
      b.StringsToValues(list, "\t");
      list.Clear();
      a.ValuesToStrings(list, " ");
      c.StringsToValues(list, " ");
      for (const TMtx* m : {&b, &c}) {
        EXPECT_EQ(m->Complex(), complex);
        ASSERT_EQ(m->DoubleCount(), a.DoubleCount());
        for (std::int32_t k = 0; k < a.DoubleCount(); ++k)
          EXPECT_TRUE(orvel::testing::NearRel(m->Values()[k], a.Values()[k], tol));
      }
    }
}

}  // namespace
}  // namespace numeric
