// Polynomials from roots and roots of polynomials.
// Tested by: numeric/tests/PolynomsTest.cpp, PolynomsOracleTest.cpp.
#include "numeric/Polynoms.h"

#include <cmath>
#include <string>

#include "numeric/ObjectCache.h"

namespace numeric {

namespace {

bool IsZeroAt(const TVec& Poly, std::int32_t i) {
  if (Poly.Complex()) {
    const TCplx z = Poly.CValues()[i];
    return z.Re == 0.0 && z.Im == 0.0;
  }
  return Poly.Values()[i] == 0.0;
}

// The positions of the first and the last coefficient that is not 0; false
// when there is none.
bool NonZeroSpan(const TVec& Poly, std::int32_t& First, std::int32_t& Last) {
  const std::int32_t n = Poly.Length();
  First = 0;
  while (First < n && IsZeroAt(Poly, First)) ++First;
  if (First == n) return false;
  Last = n - 1;
  while (IsZeroAt(Poly, Last)) --Last;
  return true;
}

}  // namespace

void PolyFromRoots(const TVec& Roots, TVec& Poly) {
  TCachedVec copy;
  const TVec* roots = &Roots;
  if (&Roots == &Poly) {
    copy->Copy(Roots);
    roots = copy.Get();
  }
  const std::int32_t n = roots->Length();
  Poly.Size(n + 1, roots->Complex());
  Poly.SetZero();
  // Multiplies by (x - r) one root at a time: p[k] := p[k] - r p[k-1], from
  // the top so that every product reads the coefficient before this step.
  if (Poly.Complex()) {
    TCplx* p = Poly.CValues();
    const TCplx* r = roots->CValues();
    p[0] = C_ONE;
    for (std::int32_t i = 0; i < n; ++i)
      for (std::int32_t k = i + 1; k >= 1; --k) p[k] = CSub(p[k], CMul(p[k - 1], r[i]));
  } else {
    double* p = Poly.Values();
    const double* r = roots->Values();
    p[0] = 1.0;
    for (std::int32_t i = 0; i < n; ++i)
      for (std::int32_t k = i + 1; k >= 1; --k) p[k] = p[k] - p[k - 1] * r[i];
  }
}

void StripZeros(const TVec& Poly, TVec& Core, std::int32_t& First, std::int32_t& Last) {
  std::int32_t first = 0, last = 0;
  if (!NonZeroSpan(Poly, first, last)) RaiseError("StripZeros: all coefficients are 0");
  if (&Core != &Poly) {
    Core.Size(last - first + 1, Poly.Complex());
    Core.Copy(Poly, first, 0, last - first + 1);
  } else {
    TCachedVec copy;
    copy->Copy(Poly);
    Core.Size(last - first + 1, copy->Complex());
    Core.Copy(*copy, first, 0, last - first + 1);
  }
  First = first;
  Last = last;
}

void PolyRoots(TVec& Roots, const TVec& Poly) {
  // The eigenvalue routines refuse a NaN and turn an infinity into roots
  // that mean nothing.
  for (std::int32_t i = 0; i < Poly.DoubleLength(); ++i)
    if (!std::isfinite(Poly.Values()[i])) RaiseError("PolyRoots: coefficients must be finite");
  std::int32_t first = 0, last = 0;
  if (!NonZeroSpan(Poly, first, last)) RaiseError("PolyRoots: all coefficients are 0");
  TCachedVec a, eig;
  TCachedMtx companion;
  StripZeros(Poly, *a, first, last);
  const bool complex = a->Complex();
  const std::int32_t zeroRoots = Poly.Length() - 1 - last;
  const std::int32_t m = a->Length();

  // Monic with the sign the companion matrix's first row wants: -a[k] / a[0].
  if (complex)
    a->Scale(CDiv(TCplx{-1.0, 0.0}, a->CValues()[0]));
  else
    a->Scale(-1.0 / a->Values()[0]);

  if (m >= 3) {
    TCachedVec ones;
    ones->Size(m - 2, complex);
    ones->SetVal(1.0);
    companion->Size(m - 1, m - 1, complex);
    companion->SetZero();
    companion->SetDiagonal(*ones, -1);
    companion->SetRow(*a, 1, 0, 0, m - 1);
    companion->Eig(*eig, mtGeneral);
    if (companion->LapackStatus() != 0) {
      const std::string text = companion->ErrorText().empty()
                                   ? "eigenvalue routine status " + std::to_string(companion->LapackStatus())
                                   : companion->ErrorText();
      RaiseError("PolyRoots: " + text);
    }
    Roots.Size(zeroRoots + m - 1, true);
    Roots.SetZero(0, zeroRoots);
    Roots.Copy(*eig, 0, zeroRoots, m - 1);
    return;
  }
  if (m == 2) {
    Roots.Size(zeroRoots + 1, complex);
    Roots.SetZero();
    if (complex)
      Roots.CValues()[zeroRoots] = CDiv(CNeg(a->CValues()[1]), a->CValues()[0]);
    else
      Roots.Values()[zeroRoots] = -a->Values()[1] / a->Values()[0];
    return;
  }
  Roots.Size(zeroRoots, false);
  Roots.SetZero();
}

}  // namespace numeric
