// Covers numeric/MtxElements.cpp: whole-matrix arithmetic and copies, block
// and vector copies, transposition (blocked, in place and not), complex
// parts, zeroing, the identity, element access, extremes, Assign and the
// whole-vector complex offset; every failure text with ConditionCheck on and
// off. Products and parts are also checked against numpy in MtxOracleTest.cpp.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/MtxTestUtil.h"
#include "numeric/tests/VecTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::Raises;
using testutil::Doubles;
using testutil::Label;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

TEST(MtxElements, CopyTakesShapeKindAndValues) {
  TMtx a, b;
  SetC(a, 1, 2, {1, 2, 3, 4});
  b.Copy(a);
  EXPECT_EQ(b.Rows(), 1);
  EXPECT_EQ(b.Cols(), 2);
  EXPECT_TRUE(b.Complex());
  EXPECT_EQ(Doubles(b), (D{1, 2, 3, 4}));

  // An empty complex matrix gives a 0 x 0 complex one.
  TMtx empty, c;
  empty.Size(0, 3, true);
  Set(c, 2, 2, {1, 2, 3, 4});
  c.Copy(empty);
  EXPECT_EQ(c.Rows(), 0);
  EXPECT_EQ(c.Cols(), 0);
  EXPECT_TRUE(c.Complex());
}

TEST(MtxElements, AddWithFactors) {
  TMtx a, b;
  Set(b, 2, 2, {1, 2, 3, 4});
  Set(a, 2, 2, {10, 20, 30, 40});
  EXPECT_EQ(Doubles(a.Add(b)), (D{11, 22, 33, 44}));
  EXPECT_EQ(Doubles(a.Add(b, 2, 0)), (D{13, 26, 39, 52}));
  // A real matrix takes the real part of the factor only.
  EXPECT_EQ(Doubles(a.Add(b, 1, 5)), (D{14, 28, 42, 56}));

  TMtx c, d;
  SetC(c, 1, 1, {1, 1});
  SetC(d, 1, 1, {2, 3});
  // (1 + i) + (0.5 + 2i)(2 + 3i) = (1 + i) + (-5 + 5.5i)
  EXPECT_EQ(Doubles(c.Add(d, 0.5, 2)), (D{-4, 6.5}));
}

TEST(MtxElements, SubtractAndScale) {
  TMtx a, b;
  Set(a, 1, 3, {5, 5, 5});
  Set(b, 1, 3, {1, 2, 3});
  EXPECT_EQ(Doubles(a.Sub(b)), (D{4, 3, 2}));
  EXPECT_EQ(Doubles(a.Scale(-0.5)), (D{-2, -1.5, -1}));

  // Scale(1) does not touch the data: a signalling NaN keeps its bits, which
  // a multiplication would quiet.
  const double snan = std::numeric_limits<double>::signaling_NaN();
  Set(a, 1, 2, {snan, 2});
  a.Scale(1);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(a.Values()[0]), std::bit_cast<std::uint64_t>(snan));
}

TEST(MtxElements, ComplexParts) {
  TMtx c, r;
  SetC(c, 1, 2, {3, 4, -1, 0.5});
  EXPECT_EQ(Doubles(r.RealPart(c)), (D{3, -1}));
  EXPECT_FALSE(r.Complex());
  EXPECT_EQ(Doubles(r.ImagPart(c)), (D{4, 0.5}));
  EXPECT_EQ(r.Mag(c).Values()[0], 5.0);

  TMtx re, im, z;
  Set(re, 1, 2, {1, 2});
  Set(im, 1, 2, {3, 4});
  z.RealToCplx(re, im);
  EXPECT_TRUE(z.Complex());
  EXPECT_EQ(Doubles(z), (D{1, 3, 2, 4}));
  // A real matrix is copied by RealPart.
  EXPECT_EQ(Doubles(r.RealPart(re)), (D{1, 2}));
  EXPECT_EQ(Doubles(z.Conj()), (D{1, -3, 2, -4}));
}

TEST(MtxElements, ExtendToComplex) {
  TMtx a;
  Set(a, 1, 2, {1, 2});
  EXPECT_EQ(Doubles(a.ExtendToComplex(false)), (D{1, 1, 2, 2}));
  Set(a, 1, 2, {1, 2});
  EXPECT_EQ(Doubles(a.ExtendToComplex(true)), (D{1, 0, 2, 0}));
  // A complex matrix is left alone.
  EXPECT_EQ(Doubles(a.ExtendToComplex(false)), (D{1, 0, 2, 0}));
}

TEST(MtxElements, EyeZeroAndExtremes) {
  TMtx a;
  a.Eye(2, 3, false);
  EXPECT_EQ(Doubles(a), (D{1, 0, 0, 0, 1, 0}));
  a.Eye(2, 2, true);
  EXPECT_EQ(Doubles(a), (D{1, 0, 0, 0, 0, 0, 1, 0}));

  Label(a, 3, 4, false);
  a.SetZero(1, 1, 2, 2);
  EXPECT_EQ(Doubles(a), (D{0, 1, 2, 3, 10, 0, 0, 13, 20, 0, 0, 23}));
  EXPECT_EQ(a.Max(), 23.0);
  EXPECT_EQ(a.Min(), 0.0);
  a.SetZero();
  EXPECT_EQ(a.Max(), 0.0);

  TMtx empty;
  EXPECT_TRUE(std::isnan(empty.Max()));
  EXPECT_TRUE(std::isnan(empty.Min()));
  TMtx c;
  SetC(c, 1, 1, {1, 1});
  EXPECT_TRUE(Raises([&] { c.Max(); }, "Complex = True"));
  EXPECT_TRUE(Raises([&] { c.Min(); }, "Complex = True"));
}

TEST(MtxElements, GetValueReadsTheRealViewOfTheRow) {
  TMtx a;
  Label(a, 2, 3, false);
  EXPECT_EQ(a.GetValue(1, 2), 12.0);
  TMtx c;
  Label(c, 2, 2, true);
  // Row 1 of the complex matrix is (10, -10), (11, -11).
  EXPECT_EQ(c.GetValue(1, 1), -10.0);
}

TEST(MtxElements, VectorsIntoMatrices) {
  TVec v;
  testutil::Set(v, {1, 2, 3, 4, 5, 6});
  TMtx a;
  a.CopyFromVec(v, 3);
  EXPECT_EQ(a.Rows(), 3);
  EXPECT_EQ(a.Cols(), 2);
  EXPECT_EQ(Doubles(a), (D{1, 2, 3, 4, 5, 6}));
  TVec empty;
  empty.Size(0, true);
  a.CopyFromVec(empty, 4);
  EXPECT_EQ(a.Rows(), 0);
  EXPECT_TRUE(a.Complex());

  Label(a, 3, 3, false);
  a.CopyVec(v, 1, 4, 1, 2);  // runs on across the row end
  EXPECT_EQ(Doubles(a), (D{0, 1, 2, 10, 11, 2, 3, 4, 5}));

  Label(a, 3, 3, false);
  a.SetRow(v, 2, 1, 1, 2);
  EXPECT_EQ(Doubles(a), (D{0, 1, 2, 10, 3, 4, 20, 21, 22}));
  TVec three;
  testutil::Set(three, {7, 8, 9});
  a.SetRow(three, 0);
  a.SetCol(three, 2);
  EXPECT_EQ(Doubles(a), (D{7, 8, 7, 10, 3, 8, 20, 21, 9}));
  a.SetCol(v, 4, 1, 0, 2);
  EXPECT_EQ(Doubles(a), (D{7, 8, 7, 5, 3, 8, 6, 21, 9}));

  // Diagonal k = -1 of a 3 x 3 matrix: (1, 0) and (2, 1).
  TVec two;
  testutil::Set(two, {-1, -2});
  a.SetZero();
  a.SetDiagonal(two, -1);
  EXPECT_EQ(Doubles(a), (D{0, 0, 0, -1, 0, 0, 0, -2, 0}));
  a.SetDiagonal(two, 1);
  EXPECT_EQ(Doubles(a), (D{0, -1, 0, -1, 0, -2, 0, -2, 0}));
}

TEST(MtxElements, BlockCopies) {
  TMtx src, dst;
  Label(src, 3, 3, false);
  dst.Size(3, 3, false);
  dst.SetZero();
  // The 2 x 3 block at (1, 0), transposed to (0, 0): the destination's first
  // two columns hold the source's last two rows.
  dst.Copy(src, 1, 0, 0, 0, 2, 3, true);
  EXPECT_EQ(Doubles(dst), (D{10, 20, 0, 11, 21, 0, 12, 22, 0}));
  dst.SetZero();
  dst.Copy(src, 0, 1, 1, 0, 2, 2, false);
  EXPECT_EQ(Doubles(dst), (D{0, 0, 0, 1, 2, 0, 11, 12, 0}));

  // An empty or negative block copies nothing.
  const D before = Doubles(dst);
  dst.Copy(src, 0, 0, 0, 0, 2, -1, false);
  dst.Copy(src, 0, 0, 0, 0, -3, 2, true);
  EXPECT_EQ(Doubles(dst), before);

  // Unchecked, a block of Self onto an overlapping place is read before it
  // is written.
  Label(dst, 3, 3, false);
  dst.SetConditionCheck(false);
  dst.Copy(dst, 0, 0, 1, 1, 2, 2, false);
  EXPECT_EQ(Doubles(dst), (D{0, 1, 2, 10, 0, 1, 20, 10, 11}));
}

TEST(MtxElements, TransposesMatchTheElementRule) {
  // Shapes across the tiles of the blocked transposes, odd on both sides.
  for (bool complex : {false, true})
    for (auto [rows, cols] : {std::pair{67, 45}, std::pair{1, 70}, std::pair{53, 53}, std::pair{33, 1}}) {
      SCOPED_TRACE(std::to_string(rows) + "x" + std::to_string(cols) + (complex ? " complex" : ""));
      TMtx a, t, h, inPlace;
      Label(a, rows, cols, complex);
      t.Transp(a);
      h.Adjung(a);
      inPlace.Copy(a);
      inPlace.Adjung();
      ASSERT_EQ(t.Rows(), cols);
      ASSERT_EQ(t.Cols(), rows);
      bool same = true;
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < cols; ++j) {
          const double v = 10.0 * i + j;
          if (complex) {
            same = same && t.CRowValues(j)[i].Re == v && t.CRowValues(j)[i].Im == -v;
            same = same && h.CRowValues(j)[i].Im == v && inPlace.CRowValues(j)[i].Im == v;
            same = same && inPlace.CRowValues(j)[i].Re == v;
          } else {
            same = same && t.RowValues(j)[i] == v && h.RowValues(j)[i] == v && inPlace.RowValues(j)[i] == v;
          }
        }
      EXPECT_TRUE(same);
      inPlace.Transp();
      inPlace.Conj();
      EXPECT_EQ(Doubles(inPlace), Doubles(a));
    }
}

TEST(MtxElements, AdjungInPlaceConjugatesTheDiagonal) {
  TMtx a;
  SetC(a, 1, 1, {1, 2});
  EXPECT_EQ(Doubles(a.Adjung()), (D{1, -2}));
}

TEST(MtxElements, AssignTakesSettings) {
  TMtx a, b;
  Set(a, 2, 2, {1, 2, 3, 4});
  a.SetTriangleForm(tfLower);
  a.SetTriangleUnit(true);
  a.SetSubDiag(2);
  a.SetSuperDiag(3);
  a.SetCaption("source");
  a.SetTag(7);
  a.SetConditionNumber(cnNormInf);
  a.SetRefineSolution(true);
  a.SetAutoMtxType(true);
  a.SetBalance(btScale);
  b.Assign(a);
  EXPECT_EQ(Doubles(b), Doubles(a));
  EXPECT_EQ(b.TriangleForm(), tfLower);
  EXPECT_TRUE(b.TriangleUnit());
  EXPECT_EQ(b.SubDiag(), 2);
  EXPECT_EQ(b.SuperDiag(), 3);
  EXPECT_EQ(b.Caption(), "source");
  EXPECT_EQ(b.Tag(), 7);
  EXPECT_EQ(b.ConditionNumber(), cnNormInf);
  EXPECT_TRUE(b.RefineSolution());
  EXPECT_TRUE(b.AutoMtxType());
  EXPECT_EQ(b.Balance(), btScale);
  EXPECT_TRUE(Raises([&] { b.Assign(b); }, "Mtx = Self"));
}

TEST(MtxElements, ComplexOffsetOfAVector) {
  TVec v;
  testutil::Set(v, {1, 2});
  v.Offset(TCplx{0.5, -1});
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(testutil::DoublesOf(v), (D{1.5, -1, 2.5, -1}));
  v.Offset(TCplx{1, 1});
  EXPECT_EQ(testutil::DoublesOf(v), (D{2.5, 0, 3.5, 0}));
  TVec empty;
  empty.Offset(TCplx{1, 1});
  EXPECT_FALSE(empty.Complex());
  // A spectrum's half-rate bin is offset with its other bins.
  TVec spectrum;
  testutil::SetC(spectrum, {1, 0, 2, 0});
  spectrum.SetHalfRateBin(TCplx{5, 0});
  spectrum.Offset(TCplx{1, 2});
  ASSERT_TRUE(spectrum.HalfRateBinKnown());
  EXPECT_EQ(spectrum.HalfRateBin().Re, 6.0);
  EXPECT_EQ(spectrum.HalfRateBin().Im, 2.0);
}

// Every refused call, with ConditionCheck on and off: the gated checks only
// with it on, the checks that keep memory in range both ways. Nothing changes.
struct TRefusal {
  const char* Name;
  std::function<void(TMtx& self)> Call;
  const char* Message;
  bool Gated;  // refused only with ConditionCheck on
};

TEST(MtxElements, RefusalsLeaveTheMatrixAsItWas) {
  static TMtx r23, r32, c33, r33;
  Label(r23, 2, 3, false);
  Label(r32, 3, 2, false);
  Label(c33, 3, 3, true);
  Label(r33, 3, 3, false);
  static TVec v6, v3, v2, c2, empty;
  testutil::Set(v6, {1, 2, 3, 4, 5, 6});
  testutil::Set(v3, {7, 8, 9});
  testutil::Set(v2, {1, 2});
  testutil::SetC(c2, {1, 2, 3, 4});
  const std::vector<TRefusal> refusals{
      {"Copy self", [](TMtx& s) { s.Copy(s); }, "Mtx = Self", true},
      {"Add rows", [](TMtx& s) { s.Add(r23); }, "Mtx.Rows <> Rows", false},
      {"Add cols", [](TMtx& s) { s.Add(r32); }, "Mtx.Cols <> Cols", false},
      {"Add kind", [](TMtx& s) { s.Add(c33); }, "Mtx.Complex <> Complex", false},
      {"Add self", [](TMtx& s) { s.Add(s); }, "Mtx = Self", true},
      {"Sub rows", [](TMtx& s) { s.Sub(r23); }, "Mtx.Rows <> Rows", false},
      {"Sub kind", [](TMtx& s) { s.Sub(c33); }, "Mtx.Complex <> Complex", false},
      {"Sub self", [](TMtx& s) { s.Sub(s); }, "Mtx = Self", true},
      {"RealPart self", [](TMtx& s) { s.RealPart(s); }, "Mtx = Self", false},
      {"ImagPart real", [](TMtx& s) { s.ImagPart(r23); }, "Mtx.Complex = False", false},
      {"Mag real", [](TMtx& s) { s.Mag(r23); }, "Mtx.Complex = False", false},
      {"RealToCplx rows", [](TMtx& s) { s.RealToCplx(r23, r32); }, "ReMtx.Rows <> ImMtx.Rows", false},
      {"RealToCplx self", [](TMtx& s) { s.RealToCplx(s, s); }, "(ReMtx = Self) or (ImMtx = Self)", false},
      {"Transp self", [](TMtx& s) { s.Transp(s); }, "Mtx = Self", false},
      {"Adjung self", [](TMtx& s) { s.Adjung(s); }, "X = Self", false},
      {"SetZero rows", [](TMtx& s) { s.SetZero(2, 0, 1, 1); }, "Row > ToRow", true},
      {"SetZero cols", [](TMtx& s) { s.SetZero(0, 2, 1, 1); }, "Col > ToCol", true},
      {"SetZero last row", [](TMtx& s) { s.SetZero(0, 0, 3, 1); }, "ToRows > Rows-1", false},
      {"SetZero last col", [](TMtx& s) { s.SetZero(0, 0, 1, 3); }, "ToCols > Cols-1", false},
      {"GetValue row", [](TMtx& s) { s.GetValue(3, 0); }, "Indx1 > Rows-1", false},
      {"GetValue col", [](TMtx& s) { s.GetValue(0, 3); }, "Indx2 > Cols-1", false},
      {"GetValue negative row", [](TMtx& s) { s.GetValue(-1, 0); }, "Indx1 < 0", false},
      {"GetValue negative col", [](TMtx& s) { s.GetValue(0, -1); }, "Indx2 < 0", false},
      {"CopyFromVec rows", [](TMtx& s) { s.CopyFromVec(v6, 4); }, "Vec.Length mod NrRows <> 0", false},
      {"CopyFromVec no rows", [](TMtx& s) { s.CopyFromVec(v6, 0); }, "NrRows < 1", false},
      {"CopyVec empty", [](TMtx& s) { s.CopyVec(empty, 0, 0, 0, 0); }, "Vec.Length = 0", false},
      {"CopyVec kind", [](TMtx& s) { s.CopyVec(c2, 0, 1, 0, 0); }, "Vec.Complex <> Complex", false},
      {"CopyVec source", [](TMtx& s) { s.CopyVec(v6, 3, 4, 0, 0); }, "(VecIndex+Len-1) > Vec.Length", false},
      {"CopyVec target", [](TMtx& s) { s.CopyVec(v6, 0, 6, 1, 1); }, "(StartPos +VecIndex + Len) > Mtx.Cols*Mtx.Rows",
       false},
      {"CopyVec negative", [](TMtx& s) { s.CopyVec(v6, -1, 2, 0, 0); }, "CopyVec: Index -1, Len 2 outside Length 6",
       false},
      {"SetRow kind", [](TMtx& s) { s.SetRow(c2, 0, 0, 0, 1); }, "Complex <> Vec.Complex", false},
      {"SetRow row", [](TMtx& s) { s.SetRow(v6, 0, 3, 0, 1); }, "Row > Rows-1", false},
      {"SetRow cols", [](TMtx& s) { s.SetRow(v6, 0, 0, 2, 2); }, "(Col + Len) > Cols", false},
      {"SetRow source", [](TMtx& s) { s.SetRow(v6, 5, 0, 0, 2); }, "VecIndex + Len > Vec.Length", false},
      {"SetRow whole row", [](TMtx& s) { s.SetRow(v6, 3); }, "Row > Rows", false},
      {"SetRow whole length", [](TMtx& s) { s.SetRow(v6, 0); }, "Vec.Length <> Cols", false},
      {"SetCol rows", [](TMtx& s) { s.SetCol(v6, 0, 2, 0, 2); }, "(Row+Len) > Rows", false},
      {"SetCol col", [](TMtx& s) { s.SetCol(v6, 0, 0, 3, 1); }, "Col > (Cols-1)", false},
      {"SetCol source", [](TMtx& s) { s.SetCol(v6, 5, 0, 0, 2); }, "VecIndex+ Len > Vec.Length", false},
      {"SetCol whole length", [](TMtx& s) { s.SetCol(v2, 0); }, "Vec.Length <> Vec.Rows", false},
      {"SetCol whole col", [](TMtx& s) { s.SetCol(v3, 3); }, "Col > Cols", false},
      {"SetDiagonal empty", [](TMtx& s) { s.SetDiagonal(empty, 0); }, "Vec.Length = 0", false},
      {"SetDiagonal above", [](TMtx& s) { s.SetDiagonal(v2, 2); }, "Vec.Length + k  > Cols", false},
      {"SetDiagonal below", [](TMtx& s) { s.SetDiagonal(v2, -2); }, "Vec.Length - k  > Rows", false},
      {"SetDiagonal kind", [](TMtx& s) { s.SetDiagonal(c2, 0); }, "Vec.Complex <> Complex", false},
      {"Copy block kind", [](TMtx& s) { s.Copy(c33, 0, 0, 0, 0, 1, 1, false); }, "Mtx.Complex <> Complex", false},
      {"Copy block source rows", [](TMtx& s) { s.Copy(r23, 1, 0, 0, 0, 2, 1, false); }, "MtxRow + NrRows > Mtx.Rows",
       false},
      {"Copy block source cols", [](TMtx& s) { s.Copy(r23, 0, 2, 0, 0, 1, 2, false); }, "MtxCol + NrCols > Mtx.Cols",
       false},
      {"Copy block rows", [](TMtx& s) { s.Copy(r33, 0, 0, 2, 0, 2, 1, false); }, "Row + NrRows > Rows", false},
      {"Copy block cols", [](TMtx& s) { s.Copy(r33, 0, 0, 0, 2, 1, 2, false); }, "Col + NrCols > Cols", false},
      {"Copy block transposed rows", [](TMtx& s) { s.Copy(r23, 0, 0, 1, 0, 2, 3, true); }, "Row + NrRows > Rows",
       false},
      {"Copy block transposed cols", [](TMtx& s) { s.Copy(r32, 0, 0, 0, 2, 3, 1, true); }, "Col + NrCols > Cols",
       false},
      {"Copy block self", [](TMtx& s) { s.Copy(s, 0, 0, 1, 1, 1, 1, false); }, "Mtx = Self", true},
      {"Copy block negative", [](TMtx& s) { s.Copy(r33, 0, -1, 0, 0, 1, 1, false); },
       "Copy: Index -1, Len 1 outside Length 9", false},
  };
  for (bool checked : {true, false})
    for (const TRefusal& r : refusals) {
      SCOPED_TRACE(std::string(r.Name) + (checked ? " checked" : " unchecked"));
      TMtx self;
      Label(self, 3, 3, false);
      self.SetConditionCheck(checked);
      const std::vector<double> before = Doubles(self);
      if (checked || !r.Gated) {
        EXPECT_TRUE(Raises([&] { r.Call(self); }, r.Message));
        EXPECT_EQ(Doubles(self), before);
        EXPECT_EQ(self.Rows(), 3);
      } else {
        EXPECT_EQ(orvel::testing::RaisedMessage([&] { r.Call(self); }), "<none>");
      }
    }
}

}  // namespace
}  // namespace numeric
