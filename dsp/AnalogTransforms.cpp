// The analog frequency transformations of a lowpass prototype, on zeros and poles and on
// state-space matrices.
// Tested by: dsp/tests/LinearSystemsTest.cpp, LinearSystemsOracleTest.cpp
#include <cmath>
#include <cstdint>

#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"

namespace dsp {

using detail::Cx;
using detail::CxList;
using numeric::TCachedMtx;
using numeric::TCachedVec;
using numeric::TMtx;
using numeric::TVec;

namespace {

// Below this a magnitude is inverted as if it were this large: a root at the origin goes to a
// huge finite value rather than to an infinity.
constexpr double kInvThreshold = 5.56268464626801e-309;

Cx InvertRoot(Cx r) {
  const double m = std::abs(r);
  if (m < kInvThreshold) r = m == 0.0 ? Cx(kInvThreshold, 0.0) : r * (kInvThreshold / m);
  return 1.0 / r;
}

// The two roots t (1 +- sqrt(1 - (Wo / t)^2)) that a root becomes in a band transformation.
void SplitRoot(Cx t, double Wo, Cx& first, Cx& second) {
  const Cx s = std::sqrt(1.0 - (Wo / t) * (Wo / t));
  first = t * (1.0 + s);
  second = t * (1.0 - s);
}

// Ai := A^-1 through the solver, so that a singular A raises.
void Inverse(const TMtx& A, TMtx& Ai) {
  TCachedMtx a, eye;
  a->Copy(A);
  eye->Eye(A.Rows(), A.Rows(), false);
  a->LinSolve(*eye, Ai);
}

}  // namespace

// ---------------------------------------------------------------------------
// Zeros and poles

void LowpassToLowpassZp(TVec& Z, TVec& P, double& K, double Wo) {
  const std::int32_t degree = P.Length() - Z.Length();
  P.Scale(Wo);
  Z.Scale(Wo);
  K *= numeric::Power(Wo, degree);
}

// The zeros the lowpass lacks land at the origin, so a highpass has as many zeros as poles.
void LowpassToHighpassZp(TVec& Z, TVec& P, double& K, double Wo) {
  const std::size_t np = static_cast<std::size_t>(P.Length());
  const std::int32_t degree = P.Length() - Z.Length();
  CxList p = detail::Roots(P), z = detail::Roots(Z);
  for (Cx& r : p) r = Wo * InvertRoot(r);
  for (Cx& r : z) r = Wo * InvertRoot(r);
  K = std::fabs(detail::Product(p).real() / detail::Product(z).real()) * K / numeric::Power(Wo, degree);
  if (z.size() < np) z.resize(np, Cx(0.0, 0.0));
  detail::SetRootsKeepKind(P, p);
  // Zeros that are all at the origin are real.
  if (Z.Length() == 0) Z.Size(0, false);
  detail::SetRootsKeepKind(Z, z);
}

void LowpassToBandpassZp(TVec& Z, TVec& P, double& K, double Wo, double Bw) {
  const std::size_t np = static_cast<std::size_t>(P.Length()), nz = static_cast<std::size_t>(Z.Length());
  const CxList p0 = detail::Roots(P), z0 = detail::Roots(Z);
  CxList p(2 * np), z(2 * nz);
  for (std::size_t i = 0; i < np; ++i) SplitRoot(p0[i] * Bw / 2.0, Wo, p[i], p[np + i]);
  for (std::size_t i = 0; i < nz; ++i) SplitRoot(z0[i] * Bw / 2.0, Wo, z[i], z[nz + i]);
  // Each zero the lowpass lacks becomes one at the origin (and one at infinity).
  z.resize(nz + np, Cx(0.0, 0.0));
  K *= std::pow(Bw, static_cast<double>(p.size()) - static_cast<double>(z.size()));
  detail::SetRoots(P, p);
  if (nz == 0) {
    Z.Size(static_cast<std::int32_t>(np), false);
    Z.SetZero();
  } else {
    detail::SetRoots(Z, z);
  }
}

void LowpassToBandstopZp(TVec& Z, TVec& P, double& K, double Wo, double Bw) {
  const std::size_t np = static_cast<std::size_t>(P.Length()), nz = static_cast<std::size_t>(Z.Length());
  const CxList p0 = detail::Roots(P), z0 = detail::Roots(Z);
  CxList p(2 * np), z;
  for (std::size_t i = 0; i < np; ++i) SplitRoot((Bw / 2.0) / p0[i], Wo, p[i], p[np + i]);
  if (nz == 0) {
    z.assign(np, Cx(0.0, Wo));
    z.resize(2 * np, Cx(0.0, -Wo));
  } else {
    z.resize(2 * nz);
    for (std::size_t i = 0; i < nz; ++i) SplitRoot((Bw / 2.0) / z0[i], Wo, z[i], z[nz + i]);
    // Each zero the lowpass lacks becomes the pair -j Wo, +j Wo.
    for (std::size_t i = nz; i < np; ++i) {
      z.push_back(Cx(0.0, -Wo));
      z.push_back(Cx(0.0, Wo));
    }
  }
  K = 1.0;
  detail::SetRoots(P, p);
  detail::SetRoots(Z, z);
}

// ---------------------------------------------------------------------------
// State space

void ScaleStateSpace(TMtx& A, TVec& B, TVec&, double&, double Wo) {
  A.Scale(Wo);
  B.Scale(Wo);
}

void LowpassToHighpassSs(TMtx& A, TVec& B, TVec& C, double& D, double Wo) {
  const std::int32_t n = A.Rows();
  if (n == 0) return;
  TCachedMtx ai;
  TCachedVec bs, cs;
  Inverse(A, *ai);
  bs->MulVecMtx(B, *ai, numeric::mtGeneral, numeric::opTrans);
  bs->Scale(-Wo);
  cs->MulVecMtx(C, *ai);
  D -= B.DotProd(*cs, 0, 0, n);
  A.Copy(*ai);
  A.Scale(Wo);
  B.Copy(*bs);
  C.Copy(*cs);
}

void LowpassToBandpassSs(TMtx& A, TVec& B, TVec& C, double&, double Wo, double Bw) {
  const std::int32_t n = A.Rows();
  TCachedMtx a;
  a->Size(2 * n, 2 * n, false);
  a->SetZero();
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) a->RowValues(i)[j] = Bw * A.RowValues(i)[j];
    a->RowValues(i)[n + i] = -Wo;
    a->RowValues(n + i)[i] = Wo;
  }
  A.Copy(*a);
  B.Scale(Bw);
  B.Resize(2 * n, true);
  C.Resize(2 * n, true);
}

void LowpassToBandstopSs(TMtx& A, TVec& B, TVec& C, double& D, double Wo, double Bw) {
  const std::int32_t n = A.Rows();
  if (n == 0) return;
  TCachedMtx ai, a;
  TCachedVec bs, cs;
  Inverse(A, *ai);
  a->Size(2 * n, 2 * n, false);
  a->SetZero();
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) a->RowValues(i)[j] = Bw * ai->RowValues(i)[j];
    a->RowValues(i)[n + i] = Wo;
    a->RowValues(n + i)[i] = -Wo;
  }
  bs->MulVecMtx(B, *ai, numeric::mtGeneral, numeric::opTrans);
  bs->Scale(-Bw);
  cs->MulVecMtx(C, *ai);
  D -= cs->DotProd(B, 0, 0, n);
  A.Copy(*a);
  B.Copy(*bs);
  B.Resize(2 * n, true);
  C.Copy(*cs);
  C.Resize(2 * n, true);
}

}  // namespace dsp
