// Zeros and poles to a state-space cascade of first- and second-order sections.
// Tested by: dsp/tests/LinearSystemsTest.cpp
#include <cmath>

#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"

namespace dsp {

using detail::Cx;
using numeric::RaiseError;
using numeric::TMtx;
using numeric::TVec;

namespace {

// Roots that differ by rounding compare equal: the tolerance grows with the count and size of
// the roots.
double SortTolerance(const TVec& roots) {
  if (roots.Length() == 0) return 0.0;
  return (1e6 * roots.Length() * roots.NormL2() + 1.0) * numeric::EPS;
}

// [1, d1, d2]: the monic quadratic of two roots, real parts.
struct TQuadratic {
  double d1, d2;
};

TQuadratic QuadraticOf(Cx a, Cx b) { return TQuadratic{(-(a + b)).real(), (a * b).real()}; }

// The natural frequency of a pair of poles, 1 where they are at the origin (the section's
// scaling only has to be finite).
double NaturalFrequency(Cx a, Cx b) {
  const double wn = std::sqrt(std::abs(a) * std::abs(b));
  return wn == 0.0 ? 1.0 : wn;
}

// The 2 x 2 block of a second-order section in balanced companion form.
void SetSectionBlock(TMtx& A, std::int32_t r, const TQuadratic& den, double wn) {
  A.RowValues(r)[r] = -den.d1;
  A.RowValues(r)[r + 1] = -den.d2 / wn;
  A.RowValues(r + 1)[r] = wn;
  A.RowValues(r + 1)[r + 1] = 0.0;
}

}  // namespace

void ZeroPoleToStateSpace(TMtx& A, TVec& B, TVec& C, double& D, TVec& Z, TVec& P, double K) {
  if (Z.Length() > P.Length()) RaiseError(msg::ZpSsLengths);
  std::int32_t np = P.Length(), nz = Z.Length();
  SortVec(P, SortTolerance(P));
  SortVec(Z, SortTolerance(Z));
  A.Size(np, np, false);
  A.SetZero();
  B.Size(np, false);
  B.SetZero();
  C.Size(np, false);
  C.SetZero();
  if (!P.Complex()) P.ExtendToComplex(true);
  if (!Z.Complex()) Z.ExtendToComplex(true);
  const detail::CxList p = detail::Roots(P), z = detail::Roots(Z);
  double* b = B.Values();
  double* c = C.Values();
  D = 1.0;
  std::int32_t off = 0;

  // A real pole (and zero) left over by the pairs opens the cascade.
  if (np % 2 == 1 && nz % 2 == 1) {
    A.RowValues(0)[0] = p[np - 1].real();
    b[0] = 1.0;
    c[0] = p[np - 1].real() - z[nz - 1].real();
    D = 1.0;
    --np;
    --nz;
    off = 1;
  } else if (np % 2 == 1) {
    A.RowValues(0)[0] = p[np - 1].real();
    b[0] = 1.0;
    c[0] = 1.0;
    D = 0.0;
    --np;
    off = 1;
  } else if (nz % 2 == 1) {
    const TQuadratic den = QuadraticOf(p[np - 2], p[np - 1]);
    const double wn = NaturalFrequency(p[np - 2], p[np - 1]);
    SetSectionBlock(A, 0, den, wn);
    b[0] = 1.0;
    b[1] = 0.0;
    c[0] = 1.0;
    c[1] = -z[nz - 1].real() / wn;
    D = 0.0;
    --nz;
    np -= 2;
    off = 2;
  }

  // Each section takes the output of the cascade so far as its input.
  std::int32_t i = 0;
  for (; i < nz; i += 2) {
    const TQuadratic num = QuadraticOf(z[i], z[i + 1]);
    const TQuadratic den = QuadraticOf(p[i], p[i + 1]);
    const double wn = NaturalFrequency(p[i], p[i + 1]);
    const std::int32_t r = off + i;
    for (std::int32_t j = 0; j < r; ++j) A.RowValues(r)[j] = c[j];
    SetSectionBlock(A, r, den, wn);
    c[r] = num.d1 - den.d1;
    c[r + 1] = (num.d2 - den.d2) / wn;
    b[r] = D;
    b[r + 1] = 0.0;
  }
  for (; i < np; i += 2) {
    const TQuadratic den = QuadraticOf(p[i], p[i + 1]);
    const double wn = NaturalFrequency(p[i], p[i + 1]);
    const std::int32_t r = off + i;
    for (std::int32_t j = 0; j < r; ++j) {
      A.RowValues(r)[j] = c[j];
      c[j] = 0.0;
    }
    SetSectionBlock(A, r, den, wn);
    c[r] = 0.0;
    c[r + 1] = 1.0 / wn;
    b[r] = D;
    b[r + 1] = 0.0;
    D = 0.0;
  }
  C.Scale(K);
  D *= K;
}

}  // namespace dsp
