// TVec between its real and complex forms: parts, magnitude, phase, power,
// polar form, splitting and joining, and extension of a real vector.
// Tested by: numeric/tests/VecComplexPartsTest.cpp, numeric/tests/VecArithmeticOracleTest.cpp
#include <limits>
#include <utility>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/spl/ComplexParts.h"
#include "platform/spl/UpSample.h"

namespace numeric {

using detail::Z;

TVec& TVec::Mag(const TVec& Vec) {
  if (!Vec.Complex()) RaiseError("Complex = False");
  if (&Vec == this) RaiseError("Self = Vec");
  Size(Vec.Length(), false);
  spl::nspzbMag(Z(Vec), Values(), FLength);
  return *this;
}

TVec& TVec::ImagPart(const TVec& Vec) {
  if (!Vec.Complex()) RaiseError("Vec.Complex = False");
  if (&Vec == this) RaiseError("Self = Vec");
  Size(Vec.Length(), false);
  spl::nspzbImag(Z(Vec), Values(), FLength);
  return *this;
}

TVec& TVec::Phase(const TVec& Vec) {
  if (!Vec.Complex()) RaiseError("Vec.Complex = False");
  if (&Vec == this) RaiseError("Self = Vec");
  Size(Vec.Length(), false);
  spl::nspzbPhase(Z(Vec), Values(), FLength);
  return *this;
}

TVec& TVec::RealPart(const TVec& Vec) {
  if (&Vec == this) RaiseError("Self = Vec");
  if (!Vec.Complex()) return Copy(Vec);
  Size(Vec.Length(), false);
  spl::nspzbReal(Z(Vec), Values(), FLength);
  return *this;
}

TVec& TVec::PowerSpectrum(const TVec& Vec) {
  if (Vec.Length() > 0) {
    if (!Vec.Complex()) RaiseError("Vec.Complex = False");
    if (&Vec == this) RaiseError("Self = Vec");
  }
  if (&Vec == this) return Size(0, false);
  Size(Vec.Length(), false);
  spl::nspzbPowerSpectr(Z(Vec), Values(), FLength);
  return *this;
}

TVec& TVec::CartToPolar(TVec& AmpltVec, TVec& PhaseVec) {
  if (FLength == 0) return *this;
  if (!FComplex) RaiseError("TVec.CartToPolar: Not complex!");
  if (&AmpltVec == this || &PhaseVec == this) {
    // Sizing an output that is Self would reinterpret the values before they
    // are read: convert a copy.
    TCachedVec copy;
    copy->Copy(*this);
    copy->CartToPolar(AmpltVec, PhaseVec);
    return *this;
  }
  AmpltVec.Size(FLength, false);
  PhaseVec.Size(FLength, false);
  // Read through the const view: Self is not changed, nor its half-rate bin.
  spl::nspzbCartToPolar(Z(std::as_const(*this)), AmpltVec.Values(), PhaseVec.Values(), FLength);
  return *this;
}

TVec& TVec::RealToCplx(const TVec& ReVec, const TVec& ImVec) {
  if (ReVec.Length() != ImVec.Length()) RaiseError("ReVec.Length <> ImVec.Length");
  if (&ReVec == this || &ImVec == this) RaiseError("(Self = ReVec) or (Self = ImVec)");
  Size(ReVec.Length(), true);
  spl::nspzb2RealToCplx(ReVec.Values(), ImVec.Values(), Z(*this), FLength);
  return *this;
}

TVec& TVec::CplxToReal(TVec& ReVec, TVec& ImVec) {
  if (!FComplex) RaiseError("Complex = False");
  if (&ReVec == this || &ImVec == this) RaiseError("(Self = ReVec) or (Self = ImVec)");
  ReVec.Size(FLength, false);
  ImVec.Size(FLength, false);
  spl::nspzbCplxTo2Real(Z(std::as_const(*this)), ReVec.Values(), ImVec.Values(), FLength);
  return *this;
}

TVec& TVec::ExtendToComplex(bool ZeroIm) {
  if (FComplex) return *this;
  TCachedVec source;
  source->Copy(*this);
  if (!ZeroIm) return RealToCplx(*source, *source);
  const std::int32_t n = FLength;
  if (2 * static_cast<std::int64_t>(n) > std::numeric_limits<std::int32_t>::max()) RaiseError("Out of memory");
  // 2N doubles while real are N complex elements of the same block.
  SetLength(2 * n);
  SetComplex(true);
  int produced = 0;
  int phase = 0;
  spl::nspdUpSample(source->Values(), n, Values(), produced, 2, phase);
  return *this;
}

TVec& TVec::ExtendToComplex(const TVec& Src, bool ZeroIm) {
  if (&Src == this) RaiseError("Self = Src");
  if (Src.Complex()) return Copy(Src);
  if (!ZeroIm) return RealToCplx(Src, Src);
  Size(Src.Length(), true);
  int produced = 0;
  int phase = 0;
  spl::nspdUpSample(Src.Values(), FLength, Values(), produced, 2, phase);
  return *this;
}

}  // namespace numeric
