// Frequency warping, the bilinear transform of both descriptions, and zeros and poles to a
// transfer function.
// Tested by: dsp/tests/LinearSystemsTest.cpp, LinearSystemsOracleTest.cpp
#include <cmath>

#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"
#include "numeric/Polynoms.h"

namespace dsp {

using detail::Cx;
using detail::CxList;
using numeric::RaiseError;
using numeric::TCachedMtx;
using numeric::TCachedVec;
using numeric::TMtx;
using numeric::TVec;

double Prewarp(double W, double FS) { return std::tan(numeric::PI * W / 2.0) * 2.0 * FS; }

double Unwarp(double Wa, double FS) { return std::atan(Wa / (2.0 * FS)) * 2.0 / numeric::PI; }

void ZeroPoleToTransfer(TVec& Num, TVec& Den, const TVec& Z, const TVec& P, double K) {
  if (P.Length() == 0) RaiseError(msg::NoPoles);
  if (Z.Length() > P.Length()) RaiseError(msg::ZpLengths);
  TCachedVec poly, den, num;
  numeric::PolyFromRoots(P, *poly);
  den->RealPart(*poly);
  num->Size(den->Length(), false);
  num->SetZero();
  if (Z.Length() > 0) {
    numeric::PolyFromRoots(Z, *poly);
    TCachedVec q;
    q->RealPart(*poly);
    q->Scale(K);
    num->Copy(*q, 0, num->Length() - q->Length(), q->Length());
  } else {
    num->Values()[num->Length() - 1] = K;
  }
  Den.Copy(*den);
  Num.Copy(*num);
}

void BilinearStateSpace(TMtx& A, TVec& B, TVec& C, double& D, double FS) {
  const std::int32_t n = A.Rows();
  if (n == 0) return;
  const double t = 1.0 / FS;
  TCachedMtx t1, t2, solved;
  TCachedVec bs, cs;
  A.Scale(t / 2.0);
  t1->Eye(n, n, false);
  t1->Add(A);
  t2->Eye(n, n, false);
  t2->Add(A, -1.0);
  t2->LinSolve(*t1, *solved);
  t2->LinSolve(B, *bs);
  t2->LinSolve(C, *cs, numeric::mtGeneral, numeric::opTrans);
  D += cs->DotProd(B, 0, 0, n) * t / 2.0;
  A.Copy(*solved);
  C.Copy(*cs);
  C.Scale(std::sqrt(t));
  B.Copy(*bs);
  B.Scale(t / std::sqrt(t));
}

void BilinearZeroPole(TVec& Z, TVec& P, double& K, double FS, bool AddZeros) {
  if (Z.Length() > P.Length()) RaiseError(msg::ZpLengths);
  const double f = 2.0 * FS;
  CxList z = detail::Roots(Z), p = detail::Roots(P);
  K *= (detail::ProductOfDifferences(f, z) / detail::ProductOfDifferences(f, p)).real();
  for (Cx& r : p) r = (1.0 + r / f) / (1.0 - r / f);
  for (Cx& r : z) r = (1.0 + r / f) / (1.0 - r / f);
  if (AddZeros) z.resize(p.size(), Cx(-1.0, 0.0));
  // Real roots map to real roots: a real vector stays real.
  detail::SetRootsKeepKind(P, p);
  detail::SetRootsKeepKind(Z, z);
}

}  // namespace dsp
