// TVec element-wise transcendental functions: decimal logarithm, logarithm to
// a base, sine, cosine, tangent and the unit phasor e^(iw).
// Tested by: numeric/tests/VecMathFunctionsTest.cpp
#include <cstdint>
#include <optional>
#include <string>

#include "numeric/Numora.h"
#include "platform/lapack/VectorMath.h"

namespace numeric {

namespace {

// The element kinds must agree: a complex source written into a real window
// (or the reverse) would address twice or half the doubles checked.
void CheckSameKind(const TVec& self, const TVec& x) {
  if (self.Complex() != x.Complex()) RaiseError("X.Complex <> Complex");
}

// The real and imaginary parts of Len complex elements, in two real temporaries.
void Split(const TCplx* z, std::int32_t len, TVec& re, TVec& im) {
  re.Size(len, false);
  im.Size(len, false);
  double* a = re.Values();
  double* b = im.Values();
  for (std::int32_t i = 0; i < len; ++i) {
    a[i] = z[i].Re;
    b[i] = z[i].Im;
  }
}

void Join(const TVec& re, const TVec& im, TCplx* z, std::int32_t len) {
  const double* a = re.Values();
  const double* b = im.Values();
  for (std::int32_t i = 0; i < len; ++i) z[i] = TCplx{a[i], b[i]};
}

void Multiply(TVec& y, const TVec& x) {
  double* a = y.Values();
  const double* b = x.Values();
  for (std::int32_t i = 0, n = y.Length(); i < n; ++i) a[i] *= b[i];
}

// sin(a + ib) = (sin a cosh b, cos a sinh b); cos(a + ib) = (cos a cosh b,
// -sin a sinh b). The source is read completely before the destination is
// written, so the two may be the same elements.
void ComplexSinCos(const TCplx* src, TCplx* dst, std::int32_t len, bool cosine) {
  TCachedVec a, b, c, d;
  Split(src, len, *a, *c);
  b->Size(len, false);
  d->Size(len, false);
  lapack::VDSINCOS(len, a->Values(), a->Values(), b->Values());
  lapack::VDCOSH(len, c->Values(), d->Values());
  lapack::VDSINH(len, c->Values(), c->Values());
  if (!cosine) {
    Multiply(*a, *d);
    Multiply(*b, *c);
    Join(*a, *b, dst, len);
  } else {
    double* s = a->Values();
    for (std::int32_t i = 0; i < len; ++i) s[i] = -s[i];
    Multiply(*a, *c);
    Multiply(*b, *d);
    Join(*b, *a, dst, len);
  }
}

// tan(a + ib) = (sin 2a, sinh 2b) / (cos 2a + cosh 2b).
void ComplexTan(const TCplx* src, TCplx* dst, std::int32_t len) {
  TCachedVec a, b, c, d;
  TCachedVec e;
  Split(src, len, *a, *c);
  b->Size(len, false);
  d->Size(len, false);
  e->Size(len, false);
  double* pa = a->Values();
  double* pc = c->Values();
  for (std::int32_t i = 0; i < len; ++i) {
    pa[i] *= 2.0;
    pc[i] *= 2.0;
  }
  lapack::VDSINCOS(len, pa, pa, b->Values());
  lapack::VDCOSH(len, pc, d->Values());
  lapack::VDSINH(len, pc, pc);
  double* pe = e->Values();
  const double* pb = b->Values();
  const double* pd = d->Values();
  for (std::int32_t i = 0; i < len; ++i) pe[i] = pb[i] + pd[i];
  lapack::VDINV(len, pe, pe);
  Multiply(*a, *e);
  Multiply(*c, *e);
  Join(*a, *c, dst, len);
}

// The range checks shared by Sin and Cos: negative offsets mean "do nothing".
bool RangeApplies(const TVec& self, const TVec& x, std::int32_t xIndex, std::int32_t index, std::int32_t len) {
  if (xIndex < 0 || index < 0) return false;
  if (static_cast<std::int64_t>(xIndex) + len > x.Length()) RaiseError("XIndex + Len) > X.Length");
  if (static_cast<std::int64_t>(index) + len > self.Length()) RaiseError("(Index + Len) > Length");
  if (len <= 0) return false;
  CheckSameKind(self, x);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Logarithms

TVec& TVec::Log10() {
  if (!FComplex) {
    lapack::VDLOG10(FLength, Values(), Values());
    return *this;
  }
  return Ln().Scale(1.0 / LN10);
}

// Base 1 divides by ln 1 = 0 and gives infinities or NaN, as the scalar
// routine does; only a base of 0 is refused.
TVec& TVec::LogN(double N) {
  if (N == 0) RaiseError("N = 0");
  return Ln().Scale(1.0 / numeric::Ln(N));
}

// ---------------------------------------------------------------------------
// Sine, cosine, tangent

TVec& TVec::Sin(const TVec& X, std::int32_t XIndex, std::int32_t Index, std::int32_t Len) {
  if (!RangeApplies(*this, X, XIndex, Index, Len)) return *this;
  if (FComplex)
    ComplexSinCos(X.CValues() + XIndex, CValues() + Index, Len, false);
  else
    lapack::VDSIN(Len, X.Values() + XIndex, Values() + Index);
  return *this;
}

TVec& TVec::Sin(const TVec& X) {
  const std::optional<TCplx> bin = X.KnownHalfRateBin();
  Size(X.Length(), X.Complex());
  if (FLength > 0) Sin(X, 0, 0, FLength);
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec& a, const TVec&) { out.Sin(a); });
}

TVec& TVec::Sin() { return Sin(*this); }

TVec& TVec::Cos(const TVec& X, std::int32_t XIndex, std::int32_t Index, std::int32_t Len) {
  if (!RangeApplies(*this, X, XIndex, Index, Len)) return *this;
  if (FComplex)
    ComplexSinCos(X.CValues() + XIndex, CValues() + Index, Len, true);
  else
    lapack::VDCOS(Len, X.Values() + XIndex, Values() + Index);
  return *this;
}

TVec& TVec::Cos() {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  Cos(*this, 0, 0, FLength);
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Cos(); });
}

TVec& TVec::Tan(const TVec& X) {
  const std::optional<TCplx> bin = X.KnownHalfRateBin();
  Size(X.Length(), X.Complex());
  if (FLength > 0) {
    if (FComplex)
      ComplexTan(X.CValues(), CValues(), FLength);
    else
      lapack::VDTAN(FLength, X.Values(), Values());
  }
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec& a, const TVec&) { out.Tan(a); });
}

TVec& TVec::Tan() { return Tan(*this); }

// ---------------------------------------------------------------------------
// Unit phasors

TVec& TVec::Expj(const TVec& Omega, std::int32_t OmegaIndex, std::int32_t Index, std::int32_t Len) {
  if (&Omega == this) RaiseError("Self = Omega");
  if (OmegaIndex < 0 || Index < 0 || Len <= 0) return *this;
  if (FConditionCheck) {
    if (static_cast<std::int64_t>(OmegaIndex) + Len > Omega.Length())
      RaiseError("OmegaIndex + Len) > Omega.Length");
    if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("(Index + Len) > Length");
    if (Omega.Complex()) RaiseError("Omega.Complex := True");
    if (!FComplex) RaiseError("Complex = False");
  }
  // Unchecked, the angles are read as doubles and the phasors written as
  // pairs: both must still lie within the vectors' doubles.
  if (static_cast<std::int64_t>(OmegaIndex) + Len > Omega.DoubleLength() ||
      2 * (static_cast<std::int64_t>(Index) + Len) > DoubleLength())
    RaiseError("Expj: range outside the vectors");
  TCachedVec a, b;
  a->Size(Len, false);
  b->Size(Len, false);
  lapack::VDSINCOS(Len, Omega.Values() + OmegaIndex, b->Values(), a->Values());
  auto* z = reinterpret_cast<TCplx*>(Values()) + Index;
  Join(*a, *b, z, Len);
  return *this;
}

TVec& TVec::Expj(const TVec& Omega) {
  if (&Omega == this) RaiseError("Self = Omega");
  Size(Omega.Length(), true);
  return FLength > 0 ? Expj(Omega, 0, 0, FLength) : *this;
}

}  // namespace numeric
