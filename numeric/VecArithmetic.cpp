// TVec arithmetic: sums, differences, products and quotients of vectors, the
// thresholded reciprocal, scaling and offsetting, in-place functions and
// clipping, replacing special values, reversing and rotating, and fills and
// copies over a range.
// Tested by: numeric/tests/VecArithmeticTest.cpp, numeric/tests/VecArithmeticOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/lapack/Lapack.h"
#include "platform/lapack/VectorMath.h"
#include "platform/spl/ElementKernels.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::Width;
using detail::Z;

namespace {

// The smallest magnitude an exact complex division inverts without its
// squared magnitude underflowing to zero: sqrt(2^-1024).
const double kExactDivideThreshold = std::ldexp(1.0, -512);

// A real operand of a mixed operation as a complex one. With ZeroIm its
// imaginary parts are 0 (for sums and differences); without, both parts carry
// the value (for element-wise products over the interleaved doubles).
void ComplexOperand(const TVec& Real, bool ZeroIm, TVec& Out) { Out.ExtendToComplex(Real, ZeroIm); }

}  // namespace

// ---------------------------------------------------------------------------
// Self as the left operand

TVec& TVec::Add(const TVec& Vec, double FactorRe, double FactorIm) {
  if (FConditionCheck) {
    if (&Vec == this) RaiseError("TVec.Add: Self = Vec");
    if (Vec.Length() != FLength) RaiseError("Vec.Length <> Length");
  }
  const bool unitFactor = FactorRe == 1.0 && FactorIm == 0.0;
  if (!unitFactor && Vec.Complex() != FComplex) RaiseError("TVec.Add: Vec.Complex <> Complex");
  if (Vec.Length() < FLength) RaiseError("Vec.Length <> Length");
  const std::optional<TCplx> bin = KnownHalfRateBin();
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(bin, vecBin, [FactorRe, FactorIm](TVec& out, const TVec&, const TVec& b) {
      out.Add(b, FactorRe, FactorIm);
    });
  };
  if (FLength == 0) return carry();

  if (!unitFactor) {
    if (FComplex)
      lapack::ZAXPY(FLength, lapack::Complex(FactorRe, FactorIm),
                    reinterpret_cast<const lapack::Complex*>(Vec.Values()), 1,
                    reinterpret_cast<lapack::Complex*>(Values()), 1);
    else
      lapack::DAXPY(FLength, FactorRe, Vec.Values(), 1, Values(), 1);
  } else if (FComplex == Vec.Complex()) {
    spl::nspdbAdd2(Vec.Values(), Values(), DoubleLength());
  } else if (!FComplex) {
    ExtendToComplex(true);
    spl::nspdbAdd2(Vec.Values(), Values(), DoubleLength());
  } else {
    TCachedVec extended;
    ComplexOperand(Vec, true, *extended);
    spl::nspdbAdd2(extended->Values(), Values(), DoubleLength());
  }
  return carry();
}

TVec& TVec::Sub(const TVec& Vec) {
  if (Vec.Length() != FLength) RaiseError("Vec.Length <> Length");
  if (&Vec == this) RaiseError("Vec = Src");
  const std::optional<TCplx> bin = KnownHalfRateBin();
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(bin, vecBin, [](TVec& out, const TVec&, const TVec& b) { out.Sub(b); });
  };
  if (FLength == 0) return carry();
  if (FComplex == Vec.Complex()) {
    spl::nspdbSub2(Vec.Values(), Values(), DoubleLength());
  } else if (!FComplex) {
    ExtendToComplex(true);
    spl::nspdbSub2(Vec.Values(), Values(), DoubleLength());
  } else {
    TCachedVec extended;
    ComplexOperand(Vec, true, *extended);
    spl::nspdbSub2(extended->Values(), Values(), DoubleLength());
  }
  return carry();
}

TVec& TVec::Mul(const TVec& Vec) {
  if (FLength != Vec.Length()) RaiseError("Length <> Vec.Length");
  if (&Vec == this) RaiseError("Self = Vec");
  const std::optional<TCplx> bin = KnownHalfRateBin();
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(bin, vecBin, [](TVec& out, const TVec&, const TVec& b) { out.Mul(b); });
  };
  if (FLength == 0) return carry();
  if (FComplex == Vec.Complex()) {
    if (FComplex)
      spl::nspzbMpy2(Z(Vec), Z(*this), FLength);
    else
      spl::nspdbMpy2(Vec.Values(), Values(), FLength);
  } else if (!FComplex) {
    // (x, x) * (re, im) pairwise is (x re, x im): the complex product.
    ExtendToComplex(false);
    spl::nspdbMpy2(Vec.Values(), Values(), DoubleLength());
  } else {
    TCachedVec extended;
    ComplexOperand(Vec, false, *extended);
    spl::nspdbMpy2(extended->Values(), Values(), DoubleLength());
  }
  return carry();
}

// The half-rate bins go through Inv and Mul as the elements do.
TVec& TVec::Divide(const TVec& Vec, double Threshold) {
  if (FLength != Vec.Length()) RaiseError("TVec.Divide: Length <> Vec.Length");
  if (&Vec == this) RaiseError("TVec.Divide: Self = Vec");
  if (FLength == 0) return *this;
  TCachedVec reciprocal;
  reciprocal->Inv(Vec, Threshold);
  return Mul(*reciprocal);
}

TVec& TVec::Divide(const TVec& Vec) {
  if (FConditionCheck) {
    if (Vec.Length() != FLength) RaiseError("Vec.Length <> Length");
    if (Vec.Complex() != FComplex) RaiseError("Vec.Complex  <> Complex");
    if (&Vec == this) RaiseError("(Self = Vec)");
  }
  if (Vec.Length() < FLength) RaiseError("Vec.Length <> Length");
  const std::optional<TCplx> bin = KnownHalfRateBin();
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(bin, vecBin, [](TVec& out, const TVec&, const TVec& b) { out.Divide(b); });
  };
  if (FLength == 0) return carry();

  if (!FComplex && !Vec.Complex()) {
    lapack::VDDIV(FLength, Values(), Vec.Values(), Values());
    return *this;
  }
  // Complex, or (with the checks off) of mixed kinds: multiply by the
  // reciprocals of the first Length elements of Vec.
  TCachedVec reciprocal;
  reciprocal->Size(FLength, Vec.Complex());
  if (Vec.Complex())
    spl::nspzbInvThresh2(Z(Vec), Z(*reciprocal), FLength, kExactDivideThreshold);
  else
    lapack::VDINV(FLength, Vec.Values(), reciprocal->Values());
  if (FComplex && Vec.Complex())
    spl::nspzbMpy2(Z(*reciprocal), Z(*this), FLength);
  else
    Mul(*reciprocal);
  return carry();
}

// ---------------------------------------------------------------------------
// Results into Self

TVec& TVec::Add(const TVec& Vec1, const TVec& Vec2) {
  if (Vec1.Length() != Vec2.Length()) RaiseError("Vec1.Length <> Vec2.Length");
  if (Vec1.Complex() != Vec2.Complex()) RaiseError("Vec1.Complex <> Vec2.Complex");
  if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  Size(Vec1);
  spl::nspdbAdd3(Vec1.Values(), Vec2.Values(), Values(), DoubleLength());
  return CarryHalfRateBin(Vec1.KnownHalfRateBin(), Vec2.KnownHalfRateBin(),
                          [](TVec& out, const TVec& a, const TVec& b) { out.Add(a, b); });
}

TVec& TVec::Sub(const TVec& Vec1, const TVec& Vec2) {
  if (Vec1.Length() != Vec2.Length()) RaiseError("Vec1.Length <> Vec2.Length");
  if (Vec1.Complex() != Vec2.Complex()) RaiseError("Vec1.Complex  <> Vec2.Complex");
  if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  Size(Vec1);
  spl::nspdbSub3(Vec1.Values(), Vec2.Values(), Values(), DoubleLength());
  return CarryHalfRateBin(Vec1.KnownHalfRateBin(), Vec2.KnownHalfRateBin(),
                          [](TVec& out, const TVec& a, const TVec& b) { out.Sub(a, b); });
}

TVec& TVec::Mul(const TVec& Vec1, const TVec& Vec2) {
  if (Vec1.Length() != Vec2.Length()) RaiseError("Vec1.Length <> Vec2.Length");
  if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  Size(Vec1.Length(), Vec1.Complex() || Vec2.Complex());
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(Vec1.KnownHalfRateBin(), Vec2.KnownHalfRateBin(),
                            [](TVec& out, const TVec& a, const TVec& b) { out.Mul(a, b); });
  };
  if (FLength == 0) return carry();
  if (Vec1.Complex() == Vec2.Complex()) {
    if (FComplex)
      spl::nspzbMpy3(Z(Vec1), Z(Vec2), Z(*this), FLength);
    else
      spl::nspdbMpy3(Vec1.Values(), Vec2.Values(), Values(), FLength);
    return carry();
  }
  const TVec& complexOne = Vec1.Complex() ? Vec1 : Vec2;
  const TVec& realOne = Vec1.Complex() ? Vec2 : Vec1;
  TCachedVec extended;
  ComplexOperand(realOne, false, *extended);
  spl::nspdbMpy3(extended->Values(), complexOne.Values(), Values(), DoubleLength());
  return carry();
}

TVec& TVec::ConjMul(const TVec& Vec1, const TVec& Vec2) {
  if (FConditionCheck) {
    if (Vec1.Length() != Vec2.Length()) RaiseError("Vec1.Length <> Vec2.Length");
    if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  }
  if (!Vec2.Complex()) return Mul(Vec1, Vec2);
  if (&Vec1 == this) {
    // Unchecked, Self = Vec1 would be overwritten by conj(Vec2) before it is
    // read: work on a copy of it.
    TCachedVec copy;
    copy->Copy(Vec1);
    return ConjMul(*copy, Vec2);
  }
  // Taken first: Vec2 may be Self (unchecked).
  const std::optional<TCplx> bin1 = Vec1.KnownHalfRateBin();
  const std::optional<TCplx> bin2 = Vec2.KnownHalfRateBin();
  Size(Vec2);
  spl::nspzbConj2(Z(Vec2), Z(*this), FLength);
  Mul(Vec1);
  return CarryHalfRateBin(bin1, bin2, [](TVec& out, const TVec& a, const TVec& b) { out.ConjMul(a, b); });
}

TVec& TVec::Divide(const TVec& Vec1, const TVec& Vec2, double Threshold) {
  if (Vec1.Length() != Vec2.Length()) RaiseError("Vec1.Length <> Vec2.Length");
  if (Vec1.Complex() != Vec2.Complex()) RaiseError("Vec1.Complex  <> Vec2.Complex");
  if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  // The half-rate bins go through Inv and Mul as the elements do.
  Inv(Vec2, Threshold);
  return Mul(Vec1);
}

TVec& TVec::Inv(const TVec& Vec, double Threshold) {
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  Size(Vec);
  if (FComplex)
    spl::nspzbInvThresh2(Z(Vec), Z(*this), FLength, Threshold);
  else
    spl::nspdbInvThresh2(Vec.Values(), Values(), FLength, Threshold);
  return CarryHalfRateBin(vecBin, vecBin,
                          [Threshold](TVec& out, const TVec& a, const TVec&) { out.Inv(a, Threshold); });
}

TVec& TVec::Abs(const TVec& Vec) {
  if (&Vec == this) RaiseError("Self = Vec");
  if (Vec.Complex()) return Mag(Vec);
  Size(Vec.Length(), false);
  spl::nspdbAbs2(Vec.Values(), Values(), FLength);
  return *this;
}

TVec& TVec::Sqr(const TVec& Vec) {
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  Size(Vec);
  if (FComplex)
    spl::nspzbSqr2(Z(Vec), Z(*this), FLength);
  else
    spl::nspdbSqr2(Vec.Values(), Values(), FLength);
  return CarryHalfRateBin(vecBin, vecBin, [](TVec& out, const TVec& a, const TVec&) { out.Sqr(a); });
}

TVec& TVec::Sqrt(const TVec& Vec) {
  const std::optional<TCplx> vecBin = Vec.KnownHalfRateBin();
  Size(Vec);
  if (FComplex)
    spl::nspzbSqrt2(Z(Vec), Z(*this), FLength);
  else
    lapack::VDSQRT(FLength, Vec.Values(), Values());
  return CarryHalfRateBin(vecBin, vecBin, [](TVec& out, const TVec& a, const TVec&) { out.Sqrt(a); });
}

// ---------------------------------------------------------------------------
// In place

TVec& TVec::Scale(double Factor) {
  if (Factor == 1.0) return *this;
  const std::optional<TCplx> bin = KnownHalfRateBin();
  spl::nspdbMpy1(Factor, Values(), DoubleLength());
  return CarryHalfRateBin(bin, bin, [Factor](TVec& out, const TVec&, const TVec&) { out.Scale(Factor); });
}

TVec& TVec::Scale(const TCplx& Factor) {
  if (FComplex) {
    if (CIsEqual(Factor, C_ONE)) return *this;
    const std::optional<TCplx> bin = KnownHalfRateBin();
    spl::nspzbMpy1(detail::ToSpl(Factor), Z(*this), FLength);
    return CarryHalfRateBin(bin, bin, [&Factor](TVec& out, const TVec&, const TVec&) { out.Scale(Factor); });
  }
  if (FLength == 0) return *this;
  TCachedVec re;
  TCachedVec im;
  re->Copy(*this);
  re->Scale(Factor.Re);
  im->Copy(*this);
  im->Scale(Factor.Im);
  return RealToCplx(*re, *im);
}

TVec& TVec::Neg() { return Scale(-1.0); }

TVec& TVec::Offset(double Value) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FComplex)
    spl::nspzbAdd1(spl::DCplx{Value, 0.0}, Z(*this), FLength);
  else
    spl::nspdbAdd1(Value, Values(), FLength);
  return CarryHalfRateBin(bin, bin, [Value](TVec& out, const TVec&, const TVec&) { out.Offset(Value); });
}

TVec& TVec::Inv(double Threshold) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  // The complex kernel compares magnitudes: the square root keeps the
  // threshold on the scale of the squared magnitude, as callers give it.
  if (FComplex)
    spl::nspzbInvThresh1(Z(*this), FLength, std::sqrt(Threshold));
  else
    spl::nspdbInvThresh1(Values(), FLength, Threshold);
  return CarryHalfRateBin(bin, bin, [Threshold](TVec& out, const TVec&, const TVec&) { out.Inv(Threshold); });
}

TVec& TVec::Abs(std::int32_t Index, std::int32_t Len) {
  if (FLength == 0) return *this;
  if (Len == -1) Len = FLength - Index;
  if (!detail::WithinRange(Index, Len, FLength)) detail::RaiseOutOfRange("TVec.Abs", Index, Len, FLength);
  if (!FComplex) {
    spl::nspdbAbs1(Values() + Index, Len);
    return *this;
  }
  // The magnitudes are real: only a complex vector taken whole can hold them
  // (it becomes real); a part of one cannot, checked or not.
  if (Len != FLength) RaiseError("Vec.Complex <> Complex");
  TCachedVec magnitudes;
  magnitudes->Size(Len, false);
  magnitudes->Abs(*this, Index, 0, Len);
  Size(Len, false);
  return Copy(*magnitudes, 0, Index, Len);
}

TVec& TVec::Conj() {
  if (!FComplex) return *this;
  const std::optional<TCplx> bin = KnownHalfRateBin();
  spl::nspzbConj1(Z(*this), FLength);
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Conj(); });
}

TVec& TVec::Sqr() {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FComplex)
    spl::nspzbSqr1(Z(*this), FLength);
  else
    spl::nspdbSqr1(Values(), FLength);
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Sqr(); });
}

TVec& TVec::Sqrt() {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FComplex)
    spl::nspzbSqrt1(Z(*this), FLength);
  else
    lapack::VDSQRT(FLength, Values(), Values());
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Sqrt(); });
}

TVec& TVec::Exp() {
  if (!FComplex) {
    lapack::VDEXP(FLength, Values(), Values());
    return *this;
  }
  const std::optional<TCplx> bin = KnownHalfRateBin();
  TCplx* z = CValues();
  for (std::int32_t i = 0; i < FLength; ++i) {
    const double magnitude = numeric::Exp(z[i].Re);
    double s, c;
    SinCos(z[i].Im, s, c);
    z[i] = TCplx{magnitude * c, magnitude * s};
  }
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Exp(); });
}

TVec& TVec::Ln() {
  if (!FComplex) {
    lapack::VDLN(FLength, Values(), Values());
    return *this;
  }
  const std::optional<TCplx> bin = KnownHalfRateBin();
  const auto carry = [&]() -> TVec& {
    return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.Ln(); });
  };
  if (FLength == 0) return carry();
  TCachedVec magnitudes;
  TCachedVec phases;
  CartToPolar(*magnitudes, *phases);
  magnitudes->Ln();
  RealToCplx(*magnitudes, *phases);
  return carry();
}

TVec& TVec::ThreshBottom(double Value) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FComplex)
    spl::nspzbThresh1(Z(*this), FLength, Value, spl::NSP_LT);
  else
    spl::nspdbThresh1(Values(), FLength, Value, spl::NSP_LT);
  return CarryHalfRateBin(bin, bin, [Value](TVec& out, const TVec&, const TVec&) { out.ThreshBottom(Value); });
}

TVec& TVec::ThreshTop(double Value) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FComplex)
    spl::nspzbThresh1(Z(*this), FLength, Value, spl::NSP_GT);
  else
    spl::nspdbThresh1(Values(), FLength, Value, spl::NSP_GT);
  return CarryHalfRateBin(bin, bin, [Value](TVec& out, const TVec&, const TVec&) { out.ThreshTop(Value); });
}

TVec& TVec::Replace(double Value, double NewValue, double Tolerance) {
  const bool nan = IsNan(Value);
  const bool inf = IsInf(Value);
  if (!FComplex) {
    for (std::int32_t i = 0; i < FLength; ++i) {
      const double x = Values()[i];
      const bool match = nan ? IsNan(x) : inf ? IsInf(x) : IsEqual(x, Value, Tolerance);
      if (match) Values()[i] = NewValue;
    }
    return *this;
  }
  const std::optional<TCplx> bin = KnownHalfRateBin();
  TCplx* z = CValues();
  for (std::int32_t i = 0; i < FLength; ++i) {
    const bool match = nan   ? CIsNan(z[i])
                       : inf ? CIsInf(z[i])
                             : IsEqual(z[i].Re, Value, Tolerance) && z[i].Im == 0.0;
    if (match) z[i] = TCplx{NewValue, 0.0};
  }
  return CarryHalfRateBin(bin, bin, [Value, NewValue, Tolerance](TVec& out, const TVec&, const TVec&) {
    out.Replace(Value, NewValue, Tolerance);
  });
}

TVec& TVec::Reverse() {
  if (FLength == 0) return *this;
  TCachedVec reversed;
  if (FComplex) {
    TCplx *p1, *p2, *p3, *p4;
    reversed->CplxWorkAreas(FLength, 0, 0, 0, p1, p2, p3, p4);
    std::reverse_copy(CValues(), CValues() + FLength, p1);
  } else {
    double *p1, *p2, *p3, *p4;
    reversed->RealWorkAreas(FLength, 0, 0, 0, p1, p2, p3, p4);
    std::reverse_copy(Values(), Values() + FLength, p1);
  }
  spl::nspdbCopy(reversed->Values(), Values(), DoubleLength());
  return *this;
}

TVec& TVec::Rotate(std::int32_t Offset) {
  if (FLength == 0 || Offset == 0) return *this;
  const std::int64_t length = FLength;
  std::int64_t k = (Offset < 0 ? -static_cast<std::int64_t>(Offset) : Offset) % length;
  if (Offset < 0) k = length - k;
  // Element i moves to (i + k) mod Length: the last k elements come first.
  const std::int64_t width = Width(FComplex);
  std::vector<double> scratch(static_cast<std::size_t>(length * width));
  const std::int64_t tail = k * width;
  const std::int64_t head = (length - k) * width;
  std::copy(Values() + head, Values() + head + tail, scratch.begin());
  std::copy(Values(), Values() + head, scratch.begin() + tail);
  spl::nspdbCopy(scratch.data(), Values(), DoubleLength());
  return *this;
}

// ---------------------------------------------------------------------------
// Fills and copies over a range

TVec& TVec::SetVal(double Value, std::int32_t Index, std::int32_t Len) {
  if (Len <= 0 || Index < 0) return *this;
  if (detail::EndOf(Index, Len) > FLength) RaiseError("Index+Len > Length");
  if (FComplex)
    spl::nspzbSet(spl::DCplx{Value, 0.0}, Z(*this) + Index, Len);
  else
    spl::nspdbSet(Value, Values() + Index, Len);
  return *this;
}

TVec& TVec::SetVal(const TCplx& Value, std::int32_t Index, std::int32_t Len) {
  if (Len <= 0 || Index < 0) return *this;
  if (detail::EndOf(Index, Len) > FLength) RaiseError("Index+Len > Length");
  if (FComplex)
    spl::nspzbSet(detail::ToSpl(Value), Z(*this) + Index, Len);
  else
    spl::nspdbSet(Value.Re, Values() + Index, Len);
  return *this;
}

TVec& TVec::SetZero(std::int32_t Index, std::int32_t Len) {
  if (Len <= 0 || Index < 0) return *this;
  if (detail::EndOf(Index, Len) > FLength) RaiseError("Len + Index > Length");
  const std::int32_t width = Width(FComplex);
  spl::nspdbZero(Values() + static_cast<std::ptrdiff_t>(Index) * width, Len * width);
  return *this;
}

TVec& TVec::Copy(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  const char* negative = "Len < 0 or Index < 0 VecIndex < 0";
  const char* selfRange = "Index+Len > Length";
  const char* vecRange = "VecIndex+Len > Vec.Length";
  if (FConditionCheck) {
    if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(negative);
    if (detail::EndOf(Index, Len) > FLength) RaiseError(selfRange);
    if (detail::EndOf(VecIndex, Len) > Vec.Length()) RaiseError(vecRange);
    if (Vec.Complex() != FComplex) RaiseError("Vec.Complex <> Complex");
  }
  // Unchecked, positions count elements of Self's kind in both vectors.
  const std::int64_t width = Width(FComplex);
  if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(negative);
  if (detail::EndOf(Index, Len) > FLength) RaiseError(selfRange);
  if (detail::EndOf(VecIndex, Len) * width > Vec.DoubleLength()) RaiseError(vecRange);
  spl::nspdbCopy(Vec.Values() + VecIndex * width, Values() + Index * width, static_cast<int>(Len * width));
  return *this;
}

TVec& TVec::CopyFromMtx(const TMtx& Mtx) {
  const std::int32_t n = Mtx.ElementCount();
  if (n == 0) {
    SetComplex(Mtx.Complex());
    SetLength(0);
    return *this;
  }
  Size(n, Mtx.Complex());
  spl::nspdbCopy(Mtx.Values(), Values(), DoubleLength());
  return *this;
}

// ---------------------------------------------------------------------------
// Work areas

namespace {

void CheckAreaSizes(const char* routine, std::int32_t N1, std::int32_t N2, std::int32_t N3, std::int32_t N4) {
  if (N1 < 0 || N2 < 0 || N3 < 0 || N4 < 0 ||
      static_cast<std::int64_t>(N1) + N2 + N3 + N4 > std::numeric_limits<std::int32_t>::max())
    RaiseError(std::string(routine) + ": area sizes " + std::to_string(N1) + ", " + std::to_string(N2) + ", " +
               std::to_string(N3) + ", " + std::to_string(N4) + " out of range");
}

}  // namespace

void TVec::RealWorkAreas(std::int32_t N1, std::int32_t N2, std::int32_t N3, std::int32_t N4, double*& P1,
                         double*& P2, double*& P3, double*& P4) {
  CheckAreaSizes("TVec.RealWorkAreas", N1, N2, N3, N4);
  Size(N1 + N2 + N3 + N4, false);
  P1 = Values();
  P2 = P1 + N1;
  P3 = P2 + N2;
  P4 = P3 + N3;
}

void TVec::CplxWorkAreas(std::int32_t N1, std::int32_t N2, std::int32_t N3, std::int32_t N4, TCplx*& P1,
                         TCplx*& P2, TCplx*& P3, TCplx*& P4) {
  CheckAreaSizes("TVec.CplxWorkAreas", N1, N2, N3, N4);
  Size(N1 + N2 + N3 + N4, true);
  P1 = CValues();
  P2 = P1 + N1;
  P3 = P2 + N2;
  P4 = P3 + N3;
}

}  // namespace numeric
