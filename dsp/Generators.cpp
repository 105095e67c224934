// Tone and triangle generators over the library's states, the phase and
// frequency wrapping they use, and the set-up of the library wavelet state.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include <cmath>
#include <cstdint>
#include <numbers>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TVec;

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

spl::DCplx* SplOut(TVec& v) { return reinterpret_cast<spl::DCplx*>(v.CValues()); }

// The checks the tone and the triangle share, with the tone's texts.
void CheckGenerate(const TVec& dst, bool complex, bool initialized) {
  if (dst.Length() == 0) RaiseError("Tone: Dst.Length = 0!");
  if (complex != dst.Complex()) RaiseError("Dst.Complex <> ToneState.Complex");
  if (!initialized) RaiseError("not ToneState.Initialized");
}

}  // namespace

double WrapPhase(double Phase) {
  // Whole periods in doubles: a phase far beyond the 32-bit range still
  // lands in [0, 2 pi).
  double x = Phase;
  if (x < 0) x += std::trunc(std::fabs(x) / kTwoPi + 1) * kTwoPi;
  if (x > 0) x -= kTwoPi * std::trunc(x / kTwoPi);
  return x;
}

double WrapFrequency(bool Complex, double Freq) {
  auto frac = [](double y) { return y - std::trunc(y); };
  const double r = Freq >= 0 ? frac(Freq + 0.5) - 0.5 : frac(Freq - 0.5) + 0.5;
  return Complex ? r : std::fabs(r);
}

// ---------------------------------------------------------------------------
// Tone

void ToneInit(TToneState& State, bool Complex, double Freq, double Phase, double Mag) {
  State.Complex = Complex;
  double f = WrapFrequency(Complex, Freq);
  State.NegativeFrequency = f < 0;
  f = std::fabs(f);
  State.Constant = f == 0 || f == 0.5;
  State.Phase = Phase;
  // The library makes a cosine; a quarter period less makes it the sine.
  const double libraryPhase = WrapPhase(Phase - std::numbers::pi / 2);
  if (Complex)
    spl::nspzToneInit(f, libraryPhase, Mag, State.CplxTone);
  else
    spl::nspdToneInit(f, libraryPhase, Mag, State.RealTone);
  State.Initialized = true;
}

void ToneGenerate(TVec& Dst, TToneState& State) {
  CheckGenerate(Dst, State.Complex, State.Initialized);
  const spl::ToneState& library = State.Complex ? State.CplxTone : State.RealTone;
  if (!library.Initialized) RaiseError("ToneState not initialized!");
  if (State.Complex) {
    spl::nspzbTone(State.CplxTone, SplOut(Dst), Dst.Length());
    if (State.NegativeFrequency) Dst.Conj();
  } else {
    spl::nspdbTone(State.RealTone, Dst.Values(), Dst.Length());
  }
}

// ---------------------------------------------------------------------------
// Triangle

void TriangleInit(TTriangleState& State, bool Complex, double Freq, double Phase, double Mag, double Asym) {
  State.Complex = Complex;
  const double f = WrapFrequency(Complex, Freq);
  const double phase = WrapPhase(Phase);
  if (Complex)
    spl::nspzTrnglInit(f, phase, Mag, Asym, State.CplxTriangle);
  else
    spl::nspdTrnglInit(f, phase, Mag, Asym, State.RealTriangle);
  State.Initialized = true;
}

void TriangleGenerate(TVec& Dst, TTriangleState& State) {
  CheckGenerate(Dst, State.Complex, State.Initialized);
  if (State.Complex)
    spl::nspzbTrngl(State.CplxTriangle, SplOut(Dst), Dst.Length());
  else
    spl::nspdbTrngl(State.RealTriangle, Dst.Values(), Dst.Length());
}

// ---------------------------------------------------------------------------
// Wavelet

void WaveletInit(std::int32_t DataLength, std::int32_t Parameter1, std::int32_t Parameter2, std::int32_t Level,
                 TWaveletType WaveletType, spl::WtState& State) {
  if (DataLength == 0) RaiseError("Src.Length = 0");
  if (DataLength < 0 || (DataLength & (DataLength - 1)) != 0) RaiseError("DataLength not power of two!");
  const std::int32_t order = numeric::IntLog2(DataLength);
  if (Parameter1 < 1) RaiseError("Parameter1 < 1");
  if (Level > order - 1) RaiseError("Level > LagestLog2(Src.Length)!");
  spl::nspdWtInit(Parameter1, Parameter2, order, Level, State, static_cast<int>(WaveletType) + 1);
}

}  // namespace dsp
