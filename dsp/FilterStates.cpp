// Running FIR and IIR filters over the library's states, and the notch and
// DC-removal designs that feed the IIR filter.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include <cmath>
#include <cstdint>
#include <numbers>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TVec;

namespace {

const spl::DCplx* Z(const TVec& v) { return reinterpret_cast<const spl::DCplx*>(v.CValues()); }
spl::DCplx* Z(TVec& v) { return reinterpret_cast<spl::DCplx*>(v.CValues()); }

// The source to read: Src itself, or a copy when the output would overwrite
// it before it is read (Dst is Src and changes kind or length).
const TVec& Readable(const TVec& src, const TVec& dst, bool changes, numeric::TCachedVec& copy) {
  if (&src != &dst || !changes) return src;
  copy->Copy(src);
  return *copy;
}

}  // namespace

// ---------------------------------------------------------------------------
// FIR

void FirInitState(const TVec& Taps, TFirState& State, bool ComplexData, std::int32_t UpSample,
                  std::int32_t UpPhase, std::int32_t DownSample, std::int32_t DownPhase) {
  if (Taps.Length() == 0) RaiseError("FIRTaps.Length = 0");
  if (DownSample < 1 || UpSample < 1) RaiseError("(DownSample < 1) or (UpSample < 1)");
  if (UpPhase < 0 || UpPhase >= UpSample) RaiseError("(UpPhase < 0) or (UpPhase >= UpSample)");
  if (DownPhase < 0 || DownPhase >= DownSample) RaiseError("(DownPhase < 0) or (DownPhase >= DownSample)");
  // A redesign replaces the filter: the old library state goes first.
  FirFreeState(State);
  const int n = Taps.Length();
  const bool single = UpSample == 1 && DownSample == 1;
  if (Taps.Complex()) {
    if (single)
      ComplexData ? spl::nspzFirInit(Z(Taps), n, State.Library) : spl::nspdzFirInit(Z(Taps), n, State.Library);
    else if (ComplexData)
      spl::nspzFirInitMr(Z(Taps), n, UpSample, UpPhase, DownSample, DownPhase, State.Library);
    else
      spl::nspdzFirInitMr(Z(Taps), n, UpSample, UpPhase, DownSample, DownPhase, State.Library);
  } else {
    if (single)
      ComplexData ? spl::nspzdFirInit(Taps.Values(), n, State.Library)
                  : spl::nspdFirInit(Taps.Values(), n, State.Library);
    else if (ComplexData)
      spl::nspzdFirInitMr(Taps.Values(), n, UpSample, UpPhase, DownSample, DownPhase, State.Library);
    else
      spl::nspdFirInitMr(Taps.Values(), n, UpSample, UpPhase, DownSample, DownPhase, State.Library);
  }
  State.UpSample = UpSample;
  State.DownSample = DownSample;
  State.ComplexTaps = Taps.Complex();
  State.ComplexData = ComplexData;
  State.Initialized = true;
}

void FirFilter(const TVec& Src, TVec& Dst, TFirState& State) {
  if (Src.Length() == 0) {
    Dst.Size(Src);
    return;
  }
  if (!State.Initialized) RaiseError("First.Initialized = false");
  if (Src.Complex() != State.ComplexData) RaiseError("Src.Complex <> ComplexData");
  const bool complexOut = Src.Complex() || State.ComplexTaps;
  const std::int32_t outputs = spl::nspFirOutputs(State.Library, Src.Length());
  numeric::TCachedVec copy;
  const TVec& src = Readable(Src, Dst, complexOut != Src.Complex() || outputs != Src.Length(), copy);
  Dst.Size(outputs, complexOut);
  const int n = src.Length();
  if (!src.Complex() && !State.ComplexTaps)
    spl::nspdbFir(State.Library, src.Values(), Dst.Values(), n);
  else if (!src.Complex())
    spl::nspdzbFir(State.Library, src.Values(), Z(Dst), n);
  else if (State.ComplexTaps)
    spl::nspzbFir(State.Library, Z(src), Z(Dst), n);
  else
    spl::nspzdbFir(State.Library, Z(src), Z(Dst), n);
}

void FirFreeState(TFirState& State) {
  if (!State.Initialized) return;
  spl::nspFirFree(State.Library);
  State.Initialized = false;
}

// ---------------------------------------------------------------------------
// IIR

void IirInitState(const TVec& Taps, TIirState& State, bool ComplexData) {
  if (Taps.Length() == 0) RaiseError("Taps.Length = 0");
  if (Taps.Length() < 2) RaiseError("Taps.Length < 2");
  const std::int32_t order = Taps.Length() / 2 - 1;
  const bool leadingZero = Taps.Complex()
                               ? Taps.CValues()[order + 1].Re == 0.0 && Taps.CValues()[order + 1].Im == 0.0
                               : Taps.Values()[order + 1] == 0.0;
  if (leadingZero) RaiseError("Taps[Taps.Length div 2] = 0");
  IirFreeState(State);
  if (Taps.Complex())
    ComplexData ? spl::nspzIirInit(spl::NSP_IirDefault, Z(Taps), order, State.Library)
                : spl::nspdzIirInit(spl::NSP_IirDefault, Z(Taps), order, State.Library);
  else
    ComplexData ? spl::nspzdIirInit(spl::NSP_IirDefault, Taps.Values(), order, State.Library)
                : spl::nspdIirInit(spl::NSP_IirDefault, Taps.Values(), order, State.Library);
  State.ComplexTaps = Taps.Complex();
  State.ComplexData = ComplexData;
  State.Initialized = true;
}

void IirFilter(const TVec& Src, TVec& Dst, TIirState& State) {
  if (Src.Length() == 0) {
    Dst.Size(Src);
    return;
  }
  // Checked before Dst is sized, so that a refused call leaves Dst alone.
  if (!State.Initialized) RaiseError("not IirState.Initialized");
  if (Src.Complex() != State.ComplexData) RaiseError("Src.Complex <> ComplexData");
  const bool complexOut = Src.Complex() || State.ComplexTaps;
  numeric::TCachedVec copy;
  const TVec& src = Readable(Src, Dst, complexOut != Src.Complex(), copy);
  Dst.Size(src.Length(), complexOut);
  const int n = src.Length();
  if (!src.Complex() && !State.ComplexTaps)
    spl::nspdbIir(State.Library, src.Values(), Dst.Values(), n);
  else if (!src.Complex())
    spl::nspdzbIir(State.Library, src.Values(), Z(Dst), n);
  else if (State.ComplexTaps)
    spl::nspzbIir(State.Library, Z(src), Z(Dst), n);
  else
    spl::nspzdbIir(State.Library, Z(src), Z(Dst), n);
}

void IirFreeState(TIirState& State) {
  if (!State.Initialized) return;
  spl::nspIirFree(State.Library);
  State.Initialized = false;
}

// ---------------------------------------------------------------------------
// Notch and DC removal

void NotchDesign(TVec& Num, TVec& Den, double NotchFrequency, double r, double FS) {
  if (!(r >= 0 && r <= 1)) RaiseError("not (0 < r < 1)");
  if (!(NotchFrequency >= 0 && NotchFrequency <= FS / 2)) RaiseError("not (0 < NotchFrequency < FS/2)");
  const double w = 2 * std::numbers::pi * NotchFrequency / FS;
  const double c = std::cos(w);
  const double num[] = {1, -2 * c, 1};
  const double den[] = {1, -2 * r * c, r * r};
  Num.SetIt(false, num);
  Den.SetIt(false, den);
}

void DcRemovalDesign(TVec& Num, TVec& Den, double TransitionBandwidth, double FS) {
  if (!(TransitionBandwidth >= 0 && TransitionBandwidth <= FS / 2))
    RaiseError("0 < TransitionBandwidth < FS/2");
  const double a = 1 - std::numbers::pi * TransitionBandwidth / FS;
  const double gain = a / (a + (1 - a) / 2);
  const double num[] = {gain, -gain};
  const double den[] = {1, -a};
  Num.SetIt(false, num);
  Den.SetIt(false, den);
}

}  // namespace dsp
