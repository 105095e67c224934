// The linear-system conversions and transformations: the cascade realisation of every
// combination of odd and even root counts, the edge cases of each routine, and the refusals.
//
// Covers: dsp/LinearSystems.cpp, ZeroPoleStateSpace.cpp, SystemZeros.cpp, AnalogTransforms.cpp,
// DiscreteTransforms.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "dsp/tests/RoadBounds.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TMtx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::RaisedMessage;
using orvel::testing::Raises;
using testutil::Cx;
using testutil::kU;
using testutil::Response;
using testutil::RootsOf;
using testutil::SameRoots;
using testutil::SetRoots;

// C (s I - A)^-1 B + D by Gaussian elimination with partial pivoting.
Cx StateSpaceResponse(const TMtx& A, const TVec& B, const TVec& C, double D, Cx s) {
  const int n = A.Rows();
  std::vector<std::vector<Cx>> m(n, std::vector<Cx>(n + 1));
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) m[i][j] = -A.RowValues(i)[j];
    m[i][i] += s;
    m[i][n] = B.Values()[i];
  }
  for (int c = 0; c < n; ++c) {
    int pivot = c;
    for (int r = c + 1; r < n; ++r)
      if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
    std::swap(m[c], m[pivot]);
    for (int r = c + 1; r < n; ++r) {
      const Cx f = m[r][c] / m[c][c];
      for (int j = c; j <= n; ++j) m[r][j] -= f * m[c][j];
    }
  }
  std::vector<Cx> x(n);
  for (int i = n - 1; i >= 0; --i) {
    Cx sum = m[i][n];
    for (int j = i + 1; j < n; ++j) sum -= m[i][j] * x[j];
    x[i] = sum / m[i][i];
  }
  Cx h = D;
  for (int i = 0; i < n; ++i) h += C.Values()[i] * x[i];
  return h;
}

// Conjugate pairs from the given upper-half-plane roots, and real roots.
std::vector<Cx> Roots(const std::vector<Cx>& pairs, const std::vector<double>& reals) {
  std::vector<Cx> r;
  for (const Cx& z : pairs) {
    r.push_back(z);
    r.push_back(std::conj(z));
  }
  for (double x : reals) r.emplace_back(x, 0.0);
  return r;
}

// (2 / pi) arctan(1 / 4) to 20 digits; the arctangent and its scaling round within 4u, times a
// margin of 2. The round trip: each way rounds within 4u, and the tangent at x = pi W / 2
// turns a relative change of W into 2x / sin(2x) times as much of its value.
TEST(LinearSystems, PrewarpAndUnwarpAreInverse) {
  EXPECT_NEAR(Unwarp(1.0, 2.0), 0.15595826075473865092, 2.0 * 4.0 * kU * 0.156);
  for (double wa : {0.01, 1.0, 3.7, 250.0})
    for (double fs : {0.5, 2.0, 44100.0}) {
      const double x = M_PI * Unwarp(wa, fs) / 2.0;
      EXPECT_TRUE(NearRel(Prewarp(Unwarp(wa, fs), fs), wa, 2.0 * 4.0 * kU * (1.0 + 2.0 * x / std::sin(2.0 * x))));
    }
  EXPECT_DOUBLE_EQ(Prewarp(0.5, 2.0), 4.0);
}

// Every combination of odd and even root counts opens the cascade differently. The sections'
// coefficients round the roots' products a few times, and the elimination is backward stable:
// the response is that of a system within 4 n u of the realised one (SystemResponseBound), the
// zero-pole product rounds within 4u per factor; a margin of 2.
TEST(LinearSystems, CascadeRealisesTheZerosAndPoles) {
  const std::vector<Cx> somePairs{Cx(-0.3, 1.1), Cx(-1.2, 0.4)};
  struct TCase {
    std::vector<Cx> z, p;
  };
  const TCase cases[] = {
      {{}, Roots({}, {-1})},
      {{}, Roots(somePairs, {-0.7})},
      {Roots({}, {0.4}), Roots(somePairs, {-0.7})},
      {Roots({Cx(0, 2)}, {0.4}), Roots(somePairs, {-0.7})},
      {Roots({Cx(0.5, 3)}, {1.5}), Roots(somePairs, {})},
      {Roots({}, {2.0}), Roots(somePairs, {})},
      {Roots({Cx(0, 1.5), Cx(0.2, 4)}, {}), Roots(somePairs, {})},
      {Roots({}, {0.5, -2.5}), Roots({Cx(-0.1, 0.9)}, {-0.4, -3})},
      {Roots({Cx(0, 1.5)}, {-5}), Roots(somePairs, {-0.7, -0.2, -4})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testutil::Show(c.z) + "/ " + testutil::Show(c.p));
    TVec z, p, b, cc;
    TMtx a;
    SetRoots(z, c.z);
    SetRoots(p, c.p);
    double d = 0.0;
    testutil::TRoadSystem system;
    ZeroPoleToStateSpace(system.A, system.B, system.C, system.D, z, p, 1.7);
    a.Copy(system.A);
    b.Copy(system.B);
    cc.Copy(system.C);
    d = system.D;
    ASSERT_EQ(a.Rows(), static_cast<int>(c.p.size()));
    for (const Cx s : {Cx(0, 0.3), Cx(0.2, 2.0), Cx(-0.5, 5.0), Cx(3, -1)}) {
      Cx h;
      const double bound = testutil::SystemResponseBound(system, s, h, 4.0 * a.Rows() * kU) +
                           4.0 * kU * static_cast<double>(c.z.size() + c.p.size()) * std::abs(Response(z, p, 1.7, s));
      EXPECT_LE(std::abs(StateSpaceResponse(a, b, cc, d, s) - Response(z, p, 1.7, s)), 2.0 * bound) << s;
    }
    // The roots come back sorted and complex.
    EXPECT_TRUE(z.Complex() || z.Length() == 0);
    EXPECT_TRUE(SameRoots(RootsOf(z), c.z, 0.0));
    EXPECT_TRUE(SameRoots(RootsOf(p), c.p, 0.0));
    const std::vector<Cx> poles = RootsOf(p);
    for (std::size_t i = 1; i < poles.size(); ++i)
      if (poles[i].imag() != 0.0) {
        EXPECT_NE(poles[i - 1].imag(), 0.0) << "a complex pole after a real one";
      }
  }
}

TEST(LinearSystems, AllPoleThirdOrderCascade) {
  TVec z, p, b, c;
  TMtx a;
  double d = 5.0;
  SetRoots(p, Roots({Cx(-0.5, std::sqrt(0.75))}, {-1}));
  ZeroPoleToStateSpace(a, b, c, d, z, p, 2.0);
  // The first-order section: the real pole, fed by the input; it feeds the second-order section.
  EXPECT_EQ(a.RowValues(0)[0], -1.0);
  EXPECT_EQ(b.Values()[0], 1.0);
  EXPECT_EQ(a.RowValues(1)[0], 1.0);
  EXPECT_EQ(a.RowValues(2)[0], 0.0);
  EXPECT_EQ(b.Values()[1], 0.0);
  EXPECT_EQ(d, 0.0);
  EXPECT_EQ(c.Values()[0], 0.0);
  EXPECT_EQ(c.Values()[1], 0.0);
  // K / wn, wn = sqrt(|p| |p'|) = 1 within 2u.
  EXPECT_NEAR(c.Values()[2], 2.0, 2.0 * 4.0 * kU);

  // Two poles at the origin: the section's scaling wn is 1, not 0.
  SetRoots(p, {Cx(0, 0), Cx(0, 0)});
  z.Size(0, true);
  ZeroPoleToStateSpace(a, b, c, d, z, p, 1.0);
  EXPECT_EQ(testutil::Reals(c), (std::vector<double>{0.0, 1.0}));
  EXPECT_EQ(a.RowValues(1)[0], 1.0);
  EXPECT_EQ(a.RowValues(0)[1], 0.0);

  SetRoots(z, {Cx(1, 0), Cx(2, 0)});
  SetRoots(p, {Cx(-1, 0)});
  EXPECT_TRUE(Raises([&] { ZeroPoleToStateSpace(a, b, c, d, z, p, 1.0); }, "Z.Lenght > P.Length"));
}

TEST(LinearSystems, StateSpaceToZeroPoleEdgeCases) {
  TMtx a;
  TVec z, p, b, c;
  SetRoots(z, {Cx(3, 0)});
  SetRoots(p, {Cx(4, 0)});
  double k = 0.0;
  StateSpaceToZeroPole(z, p, k, a, b, c, 2.5);
  EXPECT_EQ(k, 2.5);
  EXPECT_EQ(RootsOf(z), std::vector<Cx>{Cx(3, 0)});
  EXPECT_EQ(RootsOf(p), std::vector<Cx>{Cx(4, 0)});

  StateSpaceEigen(z, k, a, b, c, 1.5);
  EXPECT_EQ(z.Length(), 0);
  EXPECT_EQ(k, 1.5);

  a.SetIt(2, 2, false, std::vector<double>{-1, 0, 1, -2});
  testutil::SetReal(b, {1, 0});
  testutil::SetReal(c, {0, 3});
  // 3 / ((s + 1)(s + 2)): no zeros, gain 3, poles -1 and -2; the gain is the Markov parameter
  // C A B of relative degree 2, and the poles are eigenvalues, within their bounds for a backward
  // error of 4 n u |S| (RoadBounds.h), times a margin of 2.
  StateSpaceToZeroPole(z, p, k, a, b, c, 0.0);
  EXPECT_EQ(z.Length(), 0);
  EXPECT_NEAR(k, 3.0, 2.0 * 3.0 * std::pow(testutil::FrobeniusNorm(a, b, c, 0.0), 3.0) * 8.0 * kU);
  const std::vector<testutil::TBoundedRoot> eigen = testutil::EigenvalueBounds(a, 8.0 * kU);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0), Cx(-2, 0)},
                        {2.0 * testutil::NearestBound(eigen, -1.0), 2.0 * testutil::NearestBound(eigen, -2.0)}));
  // A transfer function that is 0: no zeros and a gain of 0.
  testutil::SetReal(c, {0, 0});
  StateSpaceToZeroPole(z, p, k, a, b, c, 0.0);
  EXPECT_EQ(z.Length(), 0);
  EXPECT_EQ(k, 0.0);

  testutil::SetReal(b, {1, 0, 0});
  EXPECT_TRUE(Raises([&] { StateSpaceEigen(z, k, a, b, c, 0.0); }, "a.Rows <> b.Length"));
  testutil::SetReal(b, {1, 0});
  testutil::SetReal(c, {1});
  EXPECT_TRUE(Raises([&] { StateSpaceEigen(z, k, a, b, c, 0.0); }, "b.Length <> c.Length"));
}

TEST(LinearSystems, ZeroPoleToTransferEdgeCases) {
  TVec z, p, num, den;
  SetRoots(p, {Cx(-1, 0)});
  ZeroPoleToTransfer(num, den, z, p, 2.0);
  EXPECT_EQ(testutil::Reals(num), (std::vector<double>{0.0, 2.0}));
  EXPECT_EQ(testutil::Reals(den), (std::vector<double>{1.0, 1.0}));
  EXPECT_FALSE(num.Complex());
  EXPECT_TRUE(Raises([&] { ZeroPoleToTransfer(num, den, z, TVec(), 1.0); }, "p.Length = 0"));
  SetRoots(z, {Cx(1, 0), Cx(2, 0)});
  EXPECT_TRUE(Raises([&] { ZeroPoleToTransfer(num, den, z, p, 1.0); }, "z.Length > p.Length"));
}

TEST(LinearSystems, BilinearEdgeCases) {
  TVec z, p;
  double k = 1.0;
  SetRoots(p, {Cx(-1, 1), Cx(-1, -1), Cx(-2, 0)});
  BilinearZeroPole(z, p, k, 2.0, true);
  EXPECT_EQ(RootsOf(z), (std::vector<Cx>{Cx(-1, 0), Cx(-1, 0), Cx(-1, 0)}));
  TVec z2, p2;
  SetRoots(p2, {Cx(-1, 0)});
  BilinearZeroPole(z2, p2, k, 2.0, false);
  EXPECT_EQ(z2.Length(), 0);
  SetRoots(z2, {Cx(1, 0), Cx(2, 0)});
  EXPECT_TRUE(Raises([&] { BilinearZeroPole(z2, p2, k, 2.0, true); }, "z.Length > p.Length"));

  // A state-space system without states is left alone; I - A / (2 FS) singular is refused.
  TMtx a;
  TVec b, c;
  double d = 3.0;
  BilinearStateSpace(a, b, c, d, 2.0);
  EXPECT_EQ(d, 3.0);
  a.SetIt(1, 1, false, std::vector<double>{1.0});
  testutil::SetReal(b, {1});
  testutil::SetReal(c, {1});
  EXPECT_EQ(RaisedMessage([&] { BilinearStateSpace(a, b, c, d, 0.5); }).rfind("LUSolve: ", 0), 0u);
  a.SetIt(1, 1, false, std::vector<double>{0.0});
  EXPECT_EQ(RaisedMessage([&] { LowpassToHighpassSs(a, b, c, d, 1.0); }).rfind("LUSolve: ", 0), 0u);
}

TEST(LinearSystems, AnalogTransformationEdgeCases) {
  TVec z, p;
  double k = 0.25;
  SetRoots(p, Roots({Cx(-0.3, 0.9)}, {-0.5}));
  LowpassToBandstopZp(z, p, k, 2.0, 1.0);
  EXPECT_EQ(k, 1.0);
  EXPECT_EQ(RootsOf(z), (std::vector<Cx>{Cx(0, 2), Cx(0, 2), Cx(0, 2), Cx(0, -2), Cx(0, -2), Cx(0, -2)}));
  // A highpass has as many zeros as poles, the missing ones at the origin, real.
  TVec zh, ph;
  double kh = 1.0;
  SetRoots(ph, Roots({Cx(-0.3, 0.9)}, {-0.5}));
  LowpassToHighpassZp(zh, ph, kh, 2.0);
  EXPECT_FALSE(zh.Complex());
  EXPECT_EQ(testutil::Reals(zh), (std::vector<double>{0, 0, 0}));
  TVec zb, pb;
  double kb = 1.0;
  SetRoots(pb, Roots({}, {-0.5, -2}));
  LowpassToBandpassZp(zb, pb, kb, 1.0, 0.5);
  EXPECT_EQ(testutil::Reals(zb), (std::vector<double>{0, 0}));
  EXPECT_DOUBLE_EQ(kb, 0.25);
}

TEST(LinearSystems, DiscreteTransformationsAndGains) {
  TVec z, p;
  SetRoots(z, {Cx(-1, 0)});
  SetRoots(p, {Cx(0.5, 0)});
  EXPECT_DOUBLE_EQ(ZeroPoleGainAt(z, p, 1.0), 4.0);
  EXPECT_DOUBLE_EQ(ZeroPoleGainAtCplx(z, p, numeric::TCplx{1.0, 0.0}), 4.0);

  // The lowpass to lowpass substitution at its own cutoff changes no root: its constant is 0, so
  // each root solves a linear equation within 2u of itself; the gain is the reciprocal of the
  // response at 1 from the same roots, 8u per root and 4u for the magnitude.
  double k = 7.0;
  SetRoots(z, {Cx(-1, 0), Cx(-1, 0)});
  SetRoots(p, {Cx(0.3, 0.4), Cx(0.3, -0.4)});
  DiscreteLowpassToLowpass(z, p, k, 0.3, 0.3);
  EXPECT_TRUE(SameRoots(RootsOf(z), {Cx(-1, 0), Cx(-1, 0)}, 2.0 * kU));
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(0.3, 0.4), Cx(0.3, -0.4)}, 2.0 * kU));
  EXPECT_NEAR(std::abs(Response(z, p, k, 1.0)), 1.0, 2.0 * (8.0 * kU * 4.0 + 4.0 * kU));

  // Each root of a band substitution becomes two, kept together in its place.
  SetRoots(z, {Cx(-1, 0)});
  SetRoots(p, {Cx(0.5, 0)});
  TVec den, num;
  testutil::SetReal(den, {0.2, -0.3, 1});
  testutil::SetReal(num, {-1, 0.3, -0.2});
  AllpassSubstitute(z, p, den, num);
  ASSERT_EQ(z.Length(), 2);
  ASSERT_EQ(p.Length(), 2);
  // Each pair solves -1.1 r^2 + 0.45 r - 0.7 = 0 by its companion matrix, backward stable within
  // 16u of the coefficients; the residual's own evaluation rounds within 4u of its terms.
  for (const Cx& r : RootsOf(p)) {
    const Cx v = (-r * r + 0.3 * r - 0.2) - 0.5 * (0.2 * r * r - 0.3 * r + 1.0);
    EXPECT_LE(std::abs(v), 2.0 * 20.0 * kU * (1.1 * std::norm(r) + 0.45 * std::abs(r) + 0.7));
  }
  // A root that the substitution sends to infinity.
  SetRoots(z, {});
  SetRoots(p, {Cx(-2, 0)});
  testutil::SetReal(den, {-0.5, 1});
  testutil::SetReal(num, {1, -0.5});
  EXPECT_TRUE(Raises([&] { AllpassSubstitute(z, p, den, num); }, "AllpassSubstitute: a root maps to infinity"));
}

}  // namespace
}  // namespace dsp
