// Covers numeric/VecArithmetic.cpp: every check that raises, with its text,
// with ConditionCheck set and cleared; mixed real and complex operands at
// lengths around the vector's reserve (where a kind change reallocates);
// thresholded and exact division; in-place functions, clipping, Replace,
// Reverse, Rotate; fills and copies over a range; work areas; temporaries
// returned to the cache when an operation raises.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::NearRel;
using testutil::Raises;
using testutil::Cplx;
using testutil::DoublesOf;
using testutil::Real;
using testutil::Set;
using testutil::SetC;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// An operation on fresh operands, called with ConditionCheck set or cleared
// on Self, and the message it raises in either case ("" = none).
struct TCheckCase {
  std::string Name;
  std::function<void(bool checks)> Call;
  std::string Checked;
  std::string Unchecked;
};

std::vector<TCheckCase> CheckCases() {
  return {
      {"Add(Vec) of Self", [](bool c) { TVec s; Set(s, {1, 2}); s.SetConditionCheck(c); s.Add(s); },
       "TVec.Add: Self = Vec", ""},
      {"Add(Vec) shorter", [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1}); s.SetConditionCheck(c); s.Add(v); },
       "Vec.Length <> Length", "Vec.Length <> Length"},
      {"Add(Vec) longer", [](bool c) { TVec s, v; Set(s, {1}); Set(v, {1, 2}); s.SetConditionCheck(c); s.Add(v); },
       "Vec.Length <> Length", ""},
      {"Add(Vec, 2, 0) mixed",
       [](bool c) { TVec s, v; Set(s, {1}); SetC(v, {1, 2}); s.SetConditionCheck(c); s.Add(v, 2, 0); },
       "TVec.Add: Vec.Complex <> Complex", "TVec.Add: Vec.Complex <> Complex"},
      {"Sub(Vec) length", [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1}); s.SetConditionCheck(c); s.Sub(v); },
       "Vec.Length <> Length", "Vec.Length <> Length"},
      {"Sub(Vec) of Self", [](bool c) { TVec s; Set(s, {1}); s.SetConditionCheck(c); s.Sub(s); }, "Vec = Src",
       "Vec = Src"},
      {"Mul(Vec) length", [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1}); s.SetConditionCheck(c); s.Mul(v); },
       "Length <> Vec.Length", "Length <> Vec.Length"},
      {"Mul(Vec) of Self", [](bool c) { TVec s; Set(s, {1}); s.SetConditionCheck(c); s.Mul(s); }, "Self = Vec",
       "Self = Vec"},
      {"Divide(Vec, T) length",
       [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1}); s.SetConditionCheck(c); s.Divide(v, 1e-9); },
       "TVec.Divide: Length <> Vec.Length", "TVec.Divide: Length <> Vec.Length"},
      {"Divide(Vec, T) of Self", [](bool c) { TVec s; Set(s, {1}); s.SetConditionCheck(c); s.Divide(s, 1e-9); },
       "TVec.Divide: Self = Vec", "TVec.Divide: Self = Vec"},
      {"Divide(Vec) shorter",
       [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1}); s.SetConditionCheck(c); s.Divide(v); },
       "Vec.Length <> Length", "Vec.Length <> Length"},
      {"Divide(Vec) longer",
       [](bool c) { TVec s, v; Set(s, {1}); Set(v, {1, 2}); s.SetConditionCheck(c); s.Divide(v); },
       "Vec.Length <> Length", ""},
      {"Divide(Vec) mixed",
       [](bool c) { TVec s, v; Set(s, {1}); SetC(v, {1, 2}); s.SetConditionCheck(c); s.Divide(v); },
       "Vec.Complex  <> Complex", ""},
      {"Divide(Vec) of Self", [](bool c) { TVec s; Set(s, {2}); s.SetConditionCheck(c); s.Divide(s); },
       "(Self = Vec)", ""},
      {"Add(V1, V2) length",
       [](bool c) { TVec s, a, b; Set(a, {1}); Set(b, {1, 2}); s.SetConditionCheck(c); s.Add(a, b); },
       "Vec1.Length <> Vec2.Length", "Vec1.Length <> Vec2.Length"},
      {"Add(V1, V2) kinds",
       [](bool c) { TVec s, a, b; Set(a, {1}); SetC(b, {1, 2}); s.SetConditionCheck(c); s.Add(a, b); },
       "Vec1.Complex <> Vec2.Complex", "Vec1.Complex <> Vec2.Complex"},
      {"Add(V1, V2) into one", [](bool c) { TVec s, b; Set(s, {1}); Set(b, {1}); s.SetConditionCheck(c); s.Add(b, s); },
       "(Self = Vec1) or (Self = Vec2)", "(Self = Vec1) or (Self = Vec2)"},
      {"Sub(V1, V2) length",
       [](bool c) { TVec s, a, b; Set(a, {1}); Set(b, {1, 2}); s.SetConditionCheck(c); s.Sub(a, b); },
       "Vec1.Length <> Vec2.Length", "Vec1.Length <> Vec2.Length"},
      {"Sub(V1, V2) kinds",
       [](bool c) { TVec s, a, b; SetC(a, {1, 1}); Set(b, {1}); s.SetConditionCheck(c); s.Sub(a, b); },
       "Vec1.Complex  <> Vec2.Complex", "Vec1.Complex  <> Vec2.Complex"},
      {"Sub(V1, V2) into one", [](bool c) { TVec s, b; Set(s, {1}); Set(b, {1}); s.SetConditionCheck(c); s.Sub(s, b); },
       "(Self = Vec1) or (Self = Vec2)", "(Self = Vec1) or (Self = Vec2)"},
      {"Mul(V1, V2) length",
       [](bool c) { TVec s, a, b; Set(a, {1}); SetC(b, {1, 2, 3, 4}); s.SetConditionCheck(c); s.Mul(a, b); },
       "Vec1.Length <> Vec2.Length", "Vec1.Length <> Vec2.Length"},
      {"Mul(V1, V2) into one", [](bool c) { TVec s, b; Set(s, {1}); Set(b, {1}); s.SetConditionCheck(c); s.Mul(b, s); },
       "(Self = Vec1) or (Self = Vec2)", "(Self = Vec1) or (Self = Vec2)"},
      // Unchecked, the product behind it still refuses the lengths.
      {"ConjMul(V1, V2) length",
       [](bool c) { TVec s, a, b; SetC(a, {1, 1}); SetC(b, {1, 2, 3, 4}); s.SetConditionCheck(c); s.ConjMul(a, b); },
       "Vec1.Length <> Vec2.Length", "Length <> Vec.Length"},
      {"ConjMul(V1, V2) into Vec1",
       [](bool c) { TVec s, b; SetC(s, {1, 1}); SetC(b, {1, 2}); s.SetConditionCheck(c); s.ConjMul(s, b); },
       "(Self = Vec1) or (Self = Vec2)", ""},
      {"Divide(V1, V2, T) length",
       [](bool c) { TVec s, a, b; Set(a, {1}); Set(b, {1, 2}); s.SetConditionCheck(c); s.Divide(a, b, 0); },
       "Vec1.Length <> Vec2.Length", "Vec1.Length <> Vec2.Length"},
      {"Divide(V1, V2, T) kinds",
       [](bool c) { TVec s, a, b; Set(a, {1}); SetC(b, {1, 2}); s.SetConditionCheck(c); s.Divide(a, b, 0); },
       "Vec1.Complex  <> Vec2.Complex", "Vec1.Complex  <> Vec2.Complex"},
      {"Divide(V1, V2, T) into one",
       [](bool c) { TVec s, b; Set(s, {1}); Set(b, {1}); s.SetConditionCheck(c); s.Divide(b, s, 0); },
       "(Self = Vec1) or (Self = Vec2)", "(Self = Vec1) or (Self = Vec2)"},
      {"Abs(Vec) of Self", [](bool c) { TVec s; Set(s, {-1}); s.SetConditionCheck(c); s.Abs(s); }, "Self = Vec",
       "Self = Vec"},
      {"Abs(Index, Len) outside", [](bool c) { TVec s; Set(s, {1, 2, 3, 4}); s.SetConditionCheck(c); s.Abs(3, 2); },
       "TVec.Abs: Index 3, Len 2 outside Length 4", "TVec.Abs: Index 3, Len 2 outside Length 4"},
      {"Abs(Index, Len) part of complex",
       [](bool c) { TVec s; SetC(s, {1, 1, 2, 2}); s.SetConditionCheck(c); s.Abs(1, 1); }, "Vec.Complex <> Complex",
       "Vec.Complex <> Complex"},
      {"SetVal range", [](bool c) { TVec s; Set(s, {1, 2, 3, 4}); s.SetConditionCheck(c); s.SetVal(5.0, 3, 2); },
       "Index+Len > Length", "Index+Len > Length"},
      {"SetVal complex value range",
       [](bool c) { TVec s; SetC(s, {1, 2}); s.SetConditionCheck(c); s.SetVal(TCplx{5, 1}, 0, 2); },
       "Index+Len > Length", "Index+Len > Length"},
      {"SetZero range", [](bool c) { TVec s; Set(s, {1, 2}); s.SetConditionCheck(c); s.SetZero(1, 2); },
       "Len + Index > Length", "Len + Index > Length"},
      {"Copy range negative",
       [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1, 2}); s.SetConditionCheck(c); s.Copy(v, 0, -1, 1); },
       "Len < 0 or Index < 0 VecIndex < 0", "Len < 0 or Index < 0 VecIndex < 0"},
      {"Copy range Self",
       [](bool c) { TVec s, v; Set(s, {1, 2}); Set(v, {1, 2, 3}); s.SetConditionCheck(c); s.Copy(v, 0, 1, 2); },
       "Index+Len > Length", "Index+Len > Length"},
      {"Copy range Vec",
       [](bool c) { TVec s, v; Set(s, {1, 2, 3}); Set(v, {1, 2}); s.SetConditionCheck(c); s.Copy(v, 1, 0, 2); },
       "VecIndex+Len > Vec.Length", "VecIndex+Len > Vec.Length"},
      {"Copy range kinds",
       [](bool c) { TVec s, v; Set(s, {1, 2}); SetC(v, {1, 2, 3, 4}); s.SetConditionCheck(c); s.Copy(v, 0, 0, 2); },
       "Vec.Complex <> Complex", ""},
      // Unchecked, complex positions in a real Vec: 4 doubles are not there.
      {"Copy range kinds beyond the doubles",
       [](bool c) { TVec s, v; SetC(s, {1, 2, 3, 4}); Set(v, {1, 2, 3}); s.SetConditionCheck(c); s.Copy(v, 0, 0, 2); },
       "Vec.Complex <> Complex", "VecIndex+Len > Vec.Length"},
      {"RealWorkAreas negative",
       [](bool c) {
         TVec s;
         s.SetConditionCheck(c);
         double *p1, *p2, *p3, *p4;
         s.RealWorkAreas(1, -1, 0, 0, p1, p2, p3, p4);
       },
       "TVec.RealWorkAreas: area sizes 1, -1, 0, 0 out of range",
       "TVec.RealWorkAreas: area sizes 1, -1, 0, 0 out of range"},
  };
}

TEST(VecArithmetic, ChecksRaiseTheirTextsWithAndWithoutConditionCheck) {
  for (const TCheckCase& c : CheckCases()) {
    for (bool checks : {true, false}) {
      const std::string& expected = checks ? c.Checked : c.Unchecked;
      if (expected.empty())
        EXPECT_NO_THROW(c.Call(checks)) << c.Name << ", unchecked";
      else
        EXPECT_TRUE(Raises([&] { c.Call(checks); }, expected)) << c.Name << (checks ? ", checked" : ", unchecked");
    }
  }
}

TEST(VecArithmetic, ChecksComeBeforeAnyChange) {
  TVec s; Set(s, {1, 2});
  TVec v; SetC(v, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Raises([&] { s.Sub(v); }, "Vec.Length <> Length"));
  EXPECT_FALSE(s.Complex());
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 2}));
}

TEST(VecArithmetic, UncheckedOperandsThatLookWrongStillComputeSoundly) {
  TVec s; Set(s, {1, 2, 3});
  s.SetConditionCheck(false);
  s.Add(s);  // the vector added to itself
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{2, 4, 6}));
  s.Divide(s);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 1, 1}));
  // A longer Vec: its first Length elements take part.
  s.Add(*Real({10, 20, 30, 40}));
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{11, 21, 31}));
  // Exact division of mixed kinds: the complex quotient.
  TVec r; Set(r, {2, 4});
  r.SetConditionCheck(false);
  r.Divide(*Cplx({1, 1, 0, 2}));
  EXPECT_TRUE(r.Complex());
  EXPECT_TRUE(NearRel(r.CValues()[0], TCplx{1, -1}, 2 * EPS));
  EXPECT_TRUE(NearRel(r.CValues()[1], TCplx{0, -2}, 2 * EPS));
  // ConjMul into its own first operand works on a copy of it.
  TVec c; SetC(c, {1, 1});
  c.SetConditionCheck(false);
  c.ConjMul(c, *Cplx({0, 1}));
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{1, -1}));
}

// Naive complex results of the mixed operations, for lengths that straddle
// the reserve: a real vector of N > 512 made complex needs a new block.
TEST(VecArithmetic, MixedKindsAtLengthsAroundTheReserve) {
  for (std::int32_t n : {1, 5, 511, 512, 513, 1023, 1024, 1025, 4099}) {
    std::vector<double> x(static_cast<std::size_t>(n)), z(2 * static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
      x[static_cast<std::size_t>(i)] = 1.0 + 0.5 * i;
      z[2 * static_cast<std::size_t>(i)] = -2.0 + 0.25 * i;
      z[2 * static_cast<std::size_t>(i) + 1] = 3.0 - 0.125 * i;
    }
    TVec real, complex, sum, difference, product, quotient;
    Set(real, x);
    SetC(complex, z);
    for (TVec* v : {&sum, &difference, &product, &quotient}) v->Copy(real);
    sum.Add(complex);
    difference.Sub(complex);
    product.Mul(complex);
    quotient.Divide(complex, 1e-300);
    TVec reversed;  // complex Self, real operand
    reversed.Copy(complex);
    reversed.Mul(real);
    for (const TVec* v : {&sum, &difference, &product, &quotient, &reversed}) {
      ASSERT_TRUE(v->Complex());
      ASSERT_EQ(v->Length(), n);
    }
    for (std::int32_t i = 0; i < n; ++i) {
      const double r = x[static_cast<std::size_t>(i)];
      const TCplx w{z[2 * static_cast<std::size_t>(i)], z[2 * static_cast<std::size_t>(i) + 1]};
      ASSERT_EQ(sum.CValues()[i].Re, r + w.Re) << n << " " << i;
      ASSERT_EQ(sum.CValues()[i].Im, w.Im) << n << " " << i;
      ASSERT_EQ(difference.CValues()[i].Re, r - w.Re) << n << " " << i;
      ASSERT_EQ(difference.CValues()[i].Im, -w.Im) << n << " " << i;
      ASSERT_EQ(product.CValues()[i].Re, r * w.Re) << n << " " << i;
      ASSERT_EQ(product.CValues()[i].Im, r * w.Im) << n << " " << i;
      ASSERT_EQ(reversed.CValues()[i].Re, r * w.Re) << n << " " << i;
      ASSERT_TRUE(NearRel(quotient.CValues()[i], CDiv(TCplx{r, 0}, w), 4 * EPS)) << n << " " << i;
    }
  }
}

TEST(VecArithmetic, AddWithAFactorGoesThroughAxpy) {
  TVec s; Set(s, {1, 2});
  s.Add(*Real({10, 20}), 0.5, 7.0);  // a real vector ignores the imaginary factor
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{6, 12}));
  TVec c; SetC(c, {1, 0, 0, 1});
  c.Add(*Cplx({1, 1, 2, 0}), 0, 1);  // + i (1 + i), + i 2
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{0, 1, 0, 3}));
}

TEST(VecArithmetic, DivisionByZero) {
  TVec s; Set(s, {1, -1, 0, 6});
  s.Divide(*Real({0, 0, 0, 3}));
  EXPECT_EQ(s.Values()[0], INF);
  EXPECT_EQ(s.Values()[1], -INF);
  EXPECT_TRUE(std::isnan(s.Values()[2]));
  EXPECT_EQ(s.Values()[3], 2.0);

  // Thresholded: a zero divisor counts as the threshold.
  TVec t; Set(t, {1, 6});
  t.Divide(*Real({0, 3}), 0.01);
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{100, 2}));
  // Exact complex division still refuses a square that underflows to zero.
  TVec c; SetC(c, {1, 0, 2, 2});
  c.Divide(*Cplx({0, 0, 1, 1}));
  EXPECT_TRUE(std::isfinite(c.CValues()[0].Re));
  EXPECT_TRUE(NearRel(c.CValues()[1], TCplx{2, 0}, 2 * EPS));
}

TEST(VecArithmetic, ThresholdedReciprocals) {
  TVec r; Set(r, {4, 1e-5, -1e-5});
  r.Inv(1e-4);
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{0.25, 1e4, -1e4}));
  // In place on complex values the threshold is taken as a squared magnitude.
  TVec c; SetC(c, {1e-3, 0, 0, 2});
  c.Inv(1e-4);
  EXPECT_TRUE(NearRel(c.CValues()[0], TCplx{100, 0}, 2 * EPS));
  EXPECT_TRUE(NearRel(c.CValues()[1], TCplx{0, -0.5}, 2 * EPS));
  // From a source, as given; Self may be the source.
  TVec d; SetC(d, {1e-3, 0});
  d.Inv(d, 1e-2);
  EXPECT_TRUE(NearRel(d.CValues()[0], TCplx{100, 0}, 2 * EPS));
}

TEST(VecArithmetic, ScalingAndOffsetting) {
  TVec s; Set(s, {1, -0.0, 3});
  s.Scale(1.0);
  EXPECT_TRUE(std::signbit(s.Values()[1]));
  s.Scale(TCplx{1, 0});
  EXPECT_TRUE(s.Complex());
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 0, -0.0, 0, 3, 0}));
  TVec t; Set(t, {1, 2});
  t.Scale(TCplx{2, -1});
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{2, -1, 4, -2}));
  t.Scale(TCplx{0, 1});
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{1, 2, 2, 4}));
  t.Neg();
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{-1, -2, -2, -4}));
  t.Offset(10.0);
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{9, -2, 8, -4}));
  t.Conj();
  EXPECT_EQ(DoublesOf(t), (std::vector<double>{9, 2, 8, 4}));
  TVec empty;
  empty.Scale(TCplx{2, 1});
  EXPECT_FALSE(empty.Complex());
}

TEST(VecArithmetic, InPlaceFunctions) {
  TVec s; Set(s, {4, -1, 0});
  s.Sqrt();
  EXPECT_EQ(s.Values()[0], 2.0);
  EXPECT_TRUE(std::isnan(s.Values()[1]));
  TVec c; SetC(c, {-4, 0, 3, 4});
  c.Sqrt();
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{0, 2, 2, 1}));
  c.Sqr();
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{-4, 0, 3, 4}));
  TVec e; Set(e, {0, 1});
  e.Exp();
  EXPECT_EQ(e.Values()[0], 1.0);
  e.Ln();
  EXPECT_TRUE(NearRel(e.Values()[1], 1.0, 2 * EPS));
  TVec z; SetC(z, {0, PI});
  z.Exp();
  EXPECT_TRUE(NearRel(z.CValues()[0].Re, -1.0, 2 * EPS));
  z.Ln();
  EXPECT_TRUE(NearRel(z.CValues()[0].Im, PI, 2 * EPS));
  TVec sq; Set(sq, {-3});
  sq.Sqr();
  EXPECT_EQ(sq.Values()[0], 9.0);
}

TEST(VecArithmetic, AbsOfARange) {
  TVec s; Set(s, {-1, -2, -3, -4});
  s.Abs(1, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{-1, 2, 3, -4}));
  s.Abs();
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 2, 3, 4}));
  TVec c; SetC(c, {3, 4, 0, -2});
  c.Abs();
  EXPECT_FALSE(c.Complex());
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{5, 2}));
}

TEST(VecArithmetic, Clipping) {
  TVec s; Set(s, {-2, 0.5, 3});
  s.ThreshBottom(0);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{0, 0.5, 3}));
  s.ThreshTop(1);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{0, 0.5, 1}));
  TVec c; SetC(c, {3, 4, 0.3, 0.4});
  c.ThreshTop(1);
  EXPECT_TRUE(NearRel(c.CValues()[0], TCplx{0.6, 0.8}, 2 * EPS));
  c.ThreshBottom(0.8);
  EXPECT_TRUE(NearRel(c.CValues()[1], TCplx{0.48, 0.64}, 2 * EPS));
}

TEST(VecArithmetic, ReplaceSpecialValues) {
  TVec s; Set(s, {kNaN, INF, -INF, 1.0, 1.0 + 1e-9});
  s.Replace(kNaN, 0, 0);
  EXPECT_EQ(s.Values()[0], 0.0);
  EXPECT_EQ(s.Values()[1], INF);
  s.Replace(INF, 7, 0);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{0, 7, 7, 1, 1.0 + 1e-9}));
  s.Replace(1.0, 5, 1e-6);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{0, 7, 7, 5, 5}));

  TVec c; SetC(c, {1, 0, 1, 1, kNaN, 0, 0, -INF});
  c.Replace(1.0, 9, 0);
  EXPECT_EQ(c.CValues()[0].Re, 9.0);
  EXPECT_EQ(c.CValues()[1].Re, 1.0);  // a non-zero imaginary part does not match
  c.Replace(kNaN, 2, 0);
  c.Replace(-INF, 3, 0);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{9, 0, 1, 1, 2, 0, 3, 0}));
}

TEST(VecArithmetic, ReverseAndRotate) {
  TVec s; Set(s, {1, 2, 3});
  s.Rotate(1);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{3, 1, 2}));
  Set(s, {1, 2, 3});
  s.Rotate(-1);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{2, 3, 1}));
  for (std::int32_t offset : {3, -3, 0, 300, std::numeric_limits<std::int32_t>::min()}) {
    TVec t; Set(t, {1, 2, 3, 4});
    t.Rotate(offset);
    const std::int64_t k = ((static_cast<std::int64_t>(offset) % 4) + 4) % 4;
    for (std::int32_t i = 0; i < 4; ++i) EXPECT_EQ(t.Values()[(i + k) % 4], i + 1.0) << offset;
  }
  TVec c; SetC(c, {1, 2, 3, 4, 5, 6});
  c.Rotate(-4);  // one place toward the start
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{3, 4, 5, 6, 1, 2}));
  c.Reverse();
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{1, 2, 5, 6, 3, 4}));
  s.Reverse();
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 3, 2}));
}

TEST(VecArithmetic, FillsAndCopiesOverARange) {
  TVec s; Set(s, {1, 2, 3, 4});
  s.SetVal(5.0, 3, 0);
  s.SetVal(5.0, -1, 2);
  s.SetZero(-1, 5);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 2, 3, 4}));
  s.SetVal(5.0, 1, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 5, 5, 4}));
  s.SetZero(2, 2);
  EXPECT_EQ(DoublesOf(s), (std::vector<double>{1, 5, 0, 0}));
  s.SetVal(TCplx{7, 8}, 0, 1);
  EXPECT_EQ(s.Values()[0], 7.0);

  TVec c; SetC(c, {1, 1, 2, 2, 3, 3});
  c.SetVal(5.0, 1, 1);
  c.SetVal(TCplx{7, 8}, 2, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{1, 1, 5, 0, 7, 8}));
  c.SetZero(0, 1);
  c.Copy(*Cplx({9, 9, 8, 8}), 1, 1, 1);
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{0, 0, 8, 8, 7, 8}));
  // Overlapping windows of one vector copy as if through a buffer.
  TVec o; Set(o, {1, 2, 3, 4, 5});
  o.Copy(o, 0, 1, 4);
  EXPECT_EQ(DoublesOf(o), (std::vector<double>{1, 1, 2, 3, 4}));
}

TEST(VecArithmetic, CopyFromMatrix) {
  TMtx m;
  m.SetIt(2, 3, true, std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  TVec v;
  v.CopyFromMtx(m);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 6);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  TMtx empty;
  empty.Size(0, 3, true);
  v.CopyFromMtx(empty);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 0);
}

TEST(VecArithmetic, WorkAreasAreConsecutive) {
  TVec v;
  double *p1, *p2, *p3, *p4;
  v.RealWorkAreas(3, 0, 2, 5, p1, p2, p3, p4);
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(v.Length(), 10);
  EXPECT_EQ(p1, v.Values());
  EXPECT_EQ(p2, p1 + 3);
  EXPECT_EQ(p3, p1 + 3);
  EXPECT_EQ(p4, p1 + 5);
  TCplx *c1, *c2, *c3, *c4;
  v.CplxWorkAreas(1, 2, 3, 4, c1, c2, c3, c4);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 10);
  EXPECT_EQ(c4, v.CValues() + 6);
}

TEST(VecArithmetic, EmptyVectorsAreLeftAlone) {
  TVec e;
  e.Add(TVec{}).Sub(TVec{}).Mul(TVec{}).Divide(TVec{}).Divide(TVec{}, 1.0);
  e.Scale(2.0).Offset(1.0).Inv(1.0).Abs().Sqr().Sqrt().Exp().Ln().Conj().Reverse().Rotate(5);
  e.ThreshBottom(1).ThreshTop(0).Replace(kNaN, 0, 0);
  EXPECT_EQ(e.Length(), 0);
  EXPECT_FALSE(e.Complex());
  TVec r;
  r.Add(TVec{}, TVec{});
  EXPECT_EQ(r.Length(), 0);
}

TEST(VecArithmetic, TemporariesGoBackWhenAnOperationRaises) {
  // A window onto a matrix cannot be resized: these operations raise once
  // they have taken their temporaries, which must return to the cache.
  TMtx m;
  m.SetIt(1, 2, false, std::vector<double>{1, 2});
  TVec window;
  window.SetSubRange(m, 0, 2);
  const std::int32_t used = VecCacheState().UsedCount;
  EXPECT_TRUE(Raises([&] { window.Add(*Cplx({1, 1, 2, 2})); }, "IsSubRange = True!"));
  EXPECT_EQ(VecCacheState().UsedCount, used);
  window.SetSubRange(m, 0, 2);
  EXPECT_TRUE(Raises([&] { window.Scale(TCplx{1, 1}); }, "IsSubRange = True!"));
  EXPECT_EQ(VecCacheState().UsedCount, used);
  EXPECT_EQ(m.Values()[0], 1.0);
  EXPECT_EQ(m.Values()[1], 2.0);
}

}  // namespace
}  // namespace numeric
