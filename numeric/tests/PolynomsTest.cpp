// Covers numeric/Polynoms.cpp and numeric/PiecePoly.cpp: roots and
// coefficients at their edges (leading and trailing zeros, degrees 0 and 1,
// complex kinds), the piecewise polynomial's three searches, its size
// events and its refusals. The comparisons with numpy are in
// PolynomsOracleTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/Polynoms.h"
#include "numeric/tests/VecTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

// The roots as complex numbers sorted by real, then imaginary part.
std::vector<TCplx> SortedRoots(const TVec& roots) {
  std::vector<TCplx> r;
  for (std::int32_t i = 0; i < roots.Length(); ++i)
    r.push_back(roots.Complex() ? roots.CValues()[i] : TCplx{roots.Values()[i], 0.0});
  std::sort(r.begin(), r.end(), [](const TCplx& a, const TCplx& b) {
    return a.Re < b.Re - 1e-9 || (std::fabs(a.Re - b.Re) <= 1e-9 && a.Im < b.Im);
  });
  return r;
}

// The roots of a companion matrix are those of the polynomial with its
// coefficients a_k perturbed by 4 n u of their sizes (n the degree): a simple
// root r moves by 4 n u sum |a_k| |r|^k / |p'(r)|, p'(r) the leading
// coefficient times the product of r's distances to the other roots; a margin
// of 2. The zero roots of trailing zero coefficients are exact. Poly is real,
// descending.
void ExpectRoots(const TVec& roots, const std::vector<TCplx>& expected, const std::vector<double>& poly) {
  const std::vector<TCplx> got = SortedRoots(roots);
  ASSERT_EQ(got.size(), expected.size());
  std::size_t first = 0, last = poly.size();
  while (first < last && poly[first] == 0.0) ++first;
  while (last > first && poly[last - 1] == 0.0) --last;
  const std::vector<double> a(poly.begin() + static_cast<std::ptrdiff_t>(first),
                              poly.begin() + static_cast<std::ptrdiff_t>(last));
  const double degree = static_cast<double>(a.size()) - 1.0, u = EPS / 2;
  for (std::size_t i = 0; i < got.size(); ++i) {
    const std::complex<double> r(expected[i].Re, expected[i].Im);
    double bound = 0.0;
    if (r != 0.0) {
      double terms = 0.0;
      for (std::size_t k = 0; k < a.size(); ++k) terms += std::fabs(a[k]) * std::pow(std::abs(r), a.size() - 1 - k);
      double slope = std::fabs(a[0]);
      for (const TCplx& other : expected)
        if (!(other.Re == 0.0 && other.Im == 0.0) && std::complex<double>(other.Re, other.Im) != r)
          slope *= std::abs(r - std::complex<double>(other.Re, other.Im));
      bound = 2.0 * 4.0 * degree * u * terms / slope;
    }
    EXPECT_TRUE(NearScaled(got[i].Re, expected[i].Re, bound, 1.0)) << i;
    EXPECT_TRUE(NearScaled(got[i].Im, expected[i].Im, bound, 1.0)) << i;
  }
}

TEST(Polynoms, PolyFromRootsMultipliesOutTheRoots) {
  TVec roots, poly;
  PolyFromRoots(Set(roots, {1, 2}), poly);
  EXPECT_EQ(DoublesOf(poly), (std::vector<double>{1, -3, 2}));
  EXPECT_FALSE(poly.Complex());
  roots.Size(0, false);
  PolyFromRoots(roots, poly);
  EXPECT_EQ(DoublesOf(poly), (std::vector<double>{1}));
  // (x - i)(x + i) = x^2 + 1, complex like its roots.
  PolyFromRoots(SetC(roots, {0, 1, 0, -1}), poly);
  EXPECT_TRUE(poly.Complex());
  EXPECT_EQ(DoublesOf(poly), (std::vector<double>{1, 0, 0, 0, 1, 0}));
  // Roots and Poly may be one vector.
  Set(roots, {2, -1, 3});
  PolyFromRoots(roots, roots);
  EXPECT_EQ(DoublesOf(roots), (std::vector<double>{1, -4, 1, 6}));
}

TEST(Polynoms, PolyRootsOfSmallPolynomials) {
  TVec poly, roots;
  PolyRoots(roots, Set(poly, {1, -3, 2}));
  EXPECT_TRUE(roots.Complex());
  ExpectRoots(roots, {{1, 0}, {2, 0}}, {1, -3, 2});
  // A trailing zero gives a zero root, first.
  PolyRoots(roots, Set(poly, {1, 0, -1, 0}));
  ASSERT_EQ(roots.Length(), 3);
  EXPECT_EQ(roots.CValues()[0].Re, 0.0);
  EXPECT_EQ(roots.CValues()[0].Im, 0.0);
  ExpectRoots(roots, {{-1, 0}, {0, 0}, {1, 0}}, {1, 0, -1, 0});
  // Degree 1 keeps Poly's kind: 2x + 3 and i x + 1.
  PolyRoots(roots, Set(poly, {2, 3}));
  EXPECT_FALSE(roots.Complex());
  EXPECT_EQ(DoublesOf(roots), (std::vector<double>{-1.5}));
  PolyRoots(roots, SetC(poly, {0, 1, 1, 0}));
  EXPECT_TRUE(roots.Complex());
  EXPECT_EQ(DoublesOf(roots), (std::vector<double>{0, 1}));
  // A constant has no root.
  PolyRoots(roots, Set(poly, {5}));
  EXPECT_EQ(roots.Length(), 0);
}

// Roots holds exactly the degree's roots: leading zero coefficients do not
// leave unset elements behind, and trailing zeros keep their zero roots
// whatever the degree of what is left.
TEST(Polynoms, PolyRootsCountsExactlyTheTrueRoots) {
  struct Case {
    std::vector<double> Poly;
    std::vector<TCplx> Roots;
  };
  const Case cases[] = {
      {{0, 0, 1, -3, 2}, {{1, 0}, {2, 0}}},
      {{0, 2, -4}, {{2, 0}}},
      {{1, -1, 0}, {{0, 0}, {1, 0}}},
      {{0, 3, 0, 0}, {{0, 0}, {0, 0}}},
      {{0, 7, 0}, {{0, 0}}},
      {{4, 0, 0, 0}, {{0, 0}, {0, 0}, {0, 0}}},
      {{0, 0, 1, 0, 1, 0}, {{0, -1}, {0, 0}, {0, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.Poly));
    TVec poly, roots;
    roots.Size(9, false);
    roots.SetVal(42.0);
    PolyRoots(roots, Set(poly, c.Poly));
    ExpectRoots(roots, c.Roots, c.Poly);
  }
}

TEST(Polynoms, PolyRootsRefusesTheZeroPolynomialAndNonFiniteCoefficients) {
  TVec poly, roots;
  Set(roots, {7});
  EXPECT_TRUE(Raises([&] { PolyRoots(roots, Set(poly, {0, 0, 0})); }, "PolyRoots: all coefficients are 0"));
  EXPECT_TRUE(Raises([&] { PolyRoots(roots, SetC(poly, {0, 0})); }, "PolyRoots: all coefficients are 0"));
  poly.Size(0, false);
  EXPECT_TRUE(Raises([&] { PolyRoots(roots, poly); }, "PolyRoots: all coefficients are 0"));
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), INF, -INF}) {
    EXPECT_TRUE(
        Raises([&] { PolyRoots(roots, Set(poly, {1, bad, 2, 3})); }, "PolyRoots: coefficients must be finite"));
    EXPECT_TRUE(
        Raises([&] { PolyRoots(roots, SetC(poly, {1, 0, 0, bad})); }, "PolyRoots: coefficients must be finite"));
  }
  EXPECT_EQ(DoublesOf(roots), (std::vector<double>{7}));
}

TEST(Polynoms, RootsOfRandomPolynomialsAreZerosOfIt) {
  const std::uint64_t seed = orvel::testing::TestSeed(1250);
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> coefficient(-1.0, 1.0);
  for (int degree : {3, 8, 20}) {
    TVec poly, roots, back;
    poly.Size(degree + 1, false);
    for (int i = 0; i <= degree; ++i) poly.Values()[i] = coefficient(rng);
    PolyRoots(roots, poly);
    ASSERT_EQ(roots.Length(), degree);
    // The roots multiplied out give the polynomial back, scaled to monic. The
    // roots are those of coefficients within 4 n u of their sizes, |a| at most
    // (ExpectRoots): multiplied out, that is 4 n u |a| / |lead| per
    // coefficient, and the products round within 2n u of the product of
    // (x + |r|) (M); a margin of 2.
    PolyFromRoots(roots, back);
    const double lead = poly.Values()[0];
    std::vector<double> m{1.0};
    for (std::int32_t j = 0; j < roots.Length(); ++j) {
      const TCplx r = roots.CValues()[j];
      std::vector<double> next(m.size() + 1, 0.0);
      for (std::size_t i = 0; i < m.size(); ++i) {
        next[i] += m[i];
        next[i + 1] += m[i] * std::hypot(r.Re, r.Im);
      }
      m = next;
    }
    double largest = 0.0;
    for (int i = 0; i <= degree; ++i) largest = std::max(largest, std::fabs(poly.Values()[i]));
    for (int i = 0; i <= degree; ++i) {
      const double bound = 2.0 * (4.0 * degree * EPS / 2 * largest / std::fabs(lead) + 2.0 * degree * EPS / 2 * m[i]);
      EXPECT_TRUE(NearScaled(back.CValues()[i].Re, poly.Values()[i] / lead, bound, 1.0))
          << "seed " << seed << ", degree " << degree << ", coefficient " << i;
      EXPECT_TRUE(NearScaled(back.CValues()[i].Im, 0.0, bound, 1.0)) << i;
    }
  }
}

TEST(Polynoms, StripZerosCutsBothEnds) {
  TVec poly, core;
  std::int32_t first = -1, last = -1;
  StripZeros(Set(poly, {0, 0, 3, 0, 4, 0}), core, first, last);
  EXPECT_EQ(DoublesOf(core), (std::vector<double>{3, 0, 4}));
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 4);
  // A complex element is 0 only when both parts are.
  StripZeros(SetC(poly, {0, 0, 0, 1, 2, 0, 0, 0}), core, first, last);
  EXPECT_TRUE(core.Complex());
  EXPECT_EQ(DoublesOf(core), (std::vector<double>{0, 1, 2, 0}));
  StripZeros(poly, poly, first, last);
  EXPECT_EQ(DoublesOf(poly), (std::vector<double>{0, 1, 2, 0}));
  EXPECT_TRUE(Raises([&] { StripZeros(Set(poly, {0, 0}), core, first, last); },
                     "StripZeros: all coefficients are 0"));
}

// (0, 0), (1, 2), (2, 2): piece 0 rises from 0 to 2, piece 1 stays at 2.
void MakeKnee(TPiecePoly& pp) {
  TVec X, Y;
  Linear1D(Set(X, {0, 1, 2}), Set(Y, {0, 2, 2}), pp);
}

TEST(PiecePoly, Linear1DBuildsOneLinePerSegment) {
  TPiecePoly pp;
  MakeKnee(pp);
  EXPECT_EQ(pp.Pieces(), 2);
  EXPECT_EQ(pp.Order(), 2);
  EXPECT_EQ(DoublesOf(pp.Breaks()), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(std::vector<double>(pp.Coefficients().Values(), pp.Coefficients().Values() + 4),
            (std::vector<double>{2, 0, 0, 2}));
  TVec x, y;
  pp.Evaluate(Set(x, {-1, 0.5, 1, 1.5, 2, 3}), y);
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{-2, 1, 2, 2, 2, 2}));
}

// Every point finds the same piece whichever way it is searched. Bisection
// must not stop early once its middle reaches the last piece (0.5 here would
// otherwise land on the flat piece and give 2).
TEST(PiecePoly, SequentialBisectionAndEquidistantAgree) {
  TPiecePoly pp;
  TVec X, Y, x, ySeq, y;
  Linear1D(Set(X, {0, 1, 2, 3, 4, 5}), Set(Y, {0, 2, 2, -1, 5, 4}), pp);
  Set(x, {0, 0.5, 1, 1.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5});
  pp.Evaluate(x, ySeq);
  pp.SetSequential(false);
  pp.Evaluate(x, y);
  EXPECT_EQ(DoublesOf(y), DoublesOf(ySeq));
  pp.SetFlag(true);
  pp.Evaluate(x, y);
  for (std::int32_t i = 0; i < x.Length(); ++i) EXPECT_TRUE(NearRel(y.Values()[i], ySeq.Values()[i], 4 * EPS)) << i;

  TPiecePoly knee;
  MakeKnee(knee);
  knee.SetSequential(false);
  knee.Evaluate(Set(x, {0.5, 1.5}), y);
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{1, 2}));
}

TEST(PiecePoly, EquidistantPiecesAreComputed) {
  TPiecePoly pp;
  MakeKnee(pp);
  pp.SetFlag(true);
  pp.SetRange(1.0);
  TVec x, y;
  // -0.5 truncates toward zero to piece 0 and extrapolates it; the last
  // break closes the last piece; order does not matter here.
  pp.Evaluate(Set(x, {1.5, -0.5, 2.0, 0.25}), y);
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{2, -1, 2, 0.5}));
  Set(y, {9});
  EXPECT_TRUE(Raises([&] { pp.Evaluate(Set(x, {0.5, 2.5}), y); }, "X values exceed defined interpolation range!"));
  EXPECT_TRUE(Raises([&] { pp.Evaluate(Set(x, {-1.5}), y); }, "X values exceed defined interpolation range!"));
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{9}));
  // Breaks spaced by 0.5 from 10: Origin and Step place the pieces.
  TVec X, Y;
  Linear1D(Set(X, {10, 10.5, 11}), Set(Y, {1, 0, 3}), pp);
  pp.SetRange(0.5);
  pp.SetOrigin(10.0);
  pp.Evaluate(Set(x, {10.25, 10.75}), y);
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{0.5, 1.5}));
}

TEST(PiecePoly, SearchedPiecesNeedAscendingX) {
  TPiecePoly pp;
  MakeKnee(pp);
  TVec x, y;
  Set(y, {7});
  for (bool sequential : {true, false}) {
    pp.SetSequential(sequential);
    EXPECT_TRUE(Raises([&] { pp.Evaluate(Set(x, {0.5, 1.5, 0.2}), y); },
                       "TPiecePoly.Evaluate: X values must be ascending"));
    EXPECT_EQ(DoublesOf(y), (std::vector<double>{7}));
  }
}

TEST(PiecePoly, HornerOverHigherOrders) {
  TPiecePoly pp;
  // Piece 0 on [0, 1]: x^3 - 2; piece 1 on [1, 3]: 2 (x - 1)^2 + (x - 1) - 1.
  pp.Coefficients().Size(2, 4, false);
  const double c[] = {1, 0, 0, -2, 0, 2, 1, -1};
  std::copy(c, c + 8, pp.Coefficients().Values());
  Set(pp.Breaks(), {0, 1, 3});
  TVec x, y;
  pp.Evaluate(Set(x, {0.5, 1, 2, 4}), y);
  EXPECT_EQ(DoublesOf(y), (std::vector<double>{0.125 - 2, -1, 2, 2 * 9 + 3 - 1}));
}

TEST(PiecePoly, BreaksAndCoefficientsFollowEachOther) {
  TPiecePoly pp;
  pp.Coefficients().Size(3, 4, false);
  EXPECT_EQ(pp.Breaks().Length(), 4);
  pp.Breaks().SetLength(6);
  EXPECT_EQ(pp.Coefficients().Rows(), 5);
  EXPECT_EQ(pp.Coefficients().Cols(), 4);
  pp.Breaks().SetLength(0);
  EXPECT_EQ(pp.Coefficients().Rows(), 0);
  EXPECT_EQ(pp.Breaks().Length(), 0);
  EXPECT_EQ(pp.Pieces(), 0);
}

TEST(PiecePoly, RefusedEvaluations) {
  TPiecePoly pp;
  TVec x, y;
  Set(x, {0.5});
  EXPECT_TRUE(Raises([&] { pp.Evaluate(x, y); },
                     "(FBreaks.Length <= 0) or (FCoefficients.Rows <> FBreaks.Length -1)"));
  pp.Breaks().SetLength(1);
  EXPECT_TRUE(Raises([&] { pp.Evaluate(x, y); }, "TPiecePoly.Evaluate: no pieces to evaluate"));
  MakeKnee(pp);
  EXPECT_TRUE(Raises([&] { pp.Evaluate(SetC(x, {0.5, 0}), y); }, "TPiecePoly.Evaluate: all vectors must be real!"));

  TVec X, Y;
  EXPECT_TRUE(Raises([&] { Linear1D(Set(X, {0, 1}), Set(Y, {0}), pp); }, "Linear1D : X.Length <> Y.Length"));
  EXPECT_TRUE(Raises([&] { Linear1D(SetC(X, {0, 0, 1, 0}), Set(Y, {0, 1}), pp); },
                     "Linear1D : all vectors must be real!"));
  EXPECT_TRUE(Raises([&] { Linear1D(Set(X, {0}), Set(Y, {1}), pp); }, "Linear1D : X.Length < 2"));
  EXPECT_EQ(pp.Pieces(), 2);
}

}  // namespace
}  // namespace numeric
