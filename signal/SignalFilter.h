// TSignalFilter: a signal that filters its Input block by block. It designs
// its own coefficients from the current band template of its Filters store
// and the Response chosen: linear-phase FIR by the window method or the
// Parks-McClellan exchange, differentiators, integrators and Hilbert
// transformers, IIR filters (Butterworth, Chebyshev I and II, elliptic,
// Bessel, DC removal, notch), Savitzky-Golay and moving-average smoothers, a
// running median, frame averaging, an integer delay and the wavelet state.
// The states carry the filter across blocks, so consecutive blocks are
// filtered as one signal. The FIR kinds may also resample by the rational
// factor UpSample / DownSample.
//
// Design frequency FS: NormalizedFrequency while UseNormalizedFrequency,
// else the rate the filter runs at (the input's SamplingFrequency, times
// UpSample for the FIR kinds). Band edges are in the units of FS.
//
// A design that fails (too few bands, bands the routines refuse, an empty
// tap set, ...) never reaches the caller of an update: the filter stays
// undesigned, passes every block through unchanged, tries again at the next
// block, and ErrorText keeps the failure's message ("" once designed). An
// update raises for what no design can mend: a multi-channel input, a block
// the running filter refuses.
//
// The output's SamplingFrequency is the input's, times UpSample / DownSample
// while a FIR kind runs, divided by FirLength for the envelope (one value a
// frame).
//
// Tested by: signal/tests/SignalFilterTest.cpp, signal/tests/SignalFilterOracleTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dsp/IIRFilters.h"
#include "dsp/SignalUtils.h"
#include "numeric/Vec.h"
#include "signal/FilterBands.h"
#include "signal/Signal.h"

namespace sig {

enum TFirFilterMethod : std::uint8_t { fimWindow, fimParksMcClellan };

enum TResponseType : std::uint8_t {
  rstUnit,
  rstFIR,
  rstDifferentiator,
  rstDoubleDifferentiator,
  rstIntegrator,
  rstDoubleIntegrator,
  rstHilbert,
  rstIIR,
  rstSavGolay,
  rstMovingAverage,
  rstMedian,
  rstEnvelope,
  rstWavelet,
  rstIntegerDelay,
};

// The message with which the resampling and filtering components refuse an
// input of more than one channel.
inline constexpr const char* MultiChannelRefusal = "MultiRate: Input.ChannelCount > 1 not supported!";

class TSignalFilter : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalFilter(classlib::TComponent* AOwner = nullptr);
  ~TSignalFilter() override;

  // properties
  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  TFilterList& Filters() const { return *FFilters; }
  // The coefficients: FIR taps, or an IIR numerator followed by its
  // denominator.
  numeric::TVec& Taps() const { return *FTaps; }
  void SetTaps(const numeric::TVec& Value);
  std::int32_t UpSample() const { return FUpSample; }
  // Below 1 stored as 1; UpDelay follows into 0 .. UpSample - 1.
  void SetUpSample(std::int32_t Value);
  std::int32_t UpDelay() const { return FUpDelay; }
  // Held within 0 .. UpSample - 1.
  void SetUpDelay(std::int32_t Value);
  std::int32_t DownSample() const { return FDownSample; }
  void SetDownSample(std::int32_t Value);
  std::int32_t DownDelay() const { return FDownDelay; }
  void SetDownDelay(std::int32_t Value);
  // The taps come from outside and are never designed.
  bool ExternalTaps() const { return FExternalTaps; }
  void SetExternalTaps(bool Value) { FExternalTaps = Value; }
  TFirFilterMethod FirMethod() const { return FFirMethod; }
  void SetFirMethod(TFirFilterMethod Value) { FFirMethod = Value; }
  dsp::TIirFilterMethod IirMethod() const { return FIirMethod; }
  void SetIirMethod(dsp::TIirFilterMethod Value) { FIirMethod = Value; }
  dsp::TIirFrequencyTransform IIRFrequencyTransform() const { return FIIRFrequencyTransform; }
  void SetIIRFrequencyTransform(dsp::TIirFrequencyTransform Value) { FIIRFrequencyTransform = Value; }
  dsp::TSignalWindowType Window() const { return FWindow; }
  void SetWindow(dsp::TSignalWindowType Value) { FWindow = Value; }
  TResponseType Response() const { return FResponse; }
  // A change leaves the filter undesigned; rstSavGolay makes FirLength odd.
  void SetResponse(TResponseType Value);
  double Beta() const { return FBeta; }
  void SetBeta(double Value) { FBeta = Value; }
  std::int32_t GridDensity() const { return FGridDensity; }
  void SetGridDensity(std::int32_t Value) { FGridDensity = Value; }
  std::int32_t Order() const { return FOrder; }
  // rstSavGolay: at most FirLength - 1; otherwise held within 1 .. 50.
  void SetOrder(std::int32_t Value);
  double NormalizedFrequency() const { return FNormalizedFrequency; }
  void SetNormalizedFrequency(double Value) { FNormalizedFrequency = Value; }
  bool UseNormalizedFrequency() const { return FUseNormalizedFrequency; }
  void SetUseNormalizedFrequency(bool Value) { FUseNormalizedFrequency = Value; }
  // Estimate the FIR length or IIR order from the bands.
  bool AutoFilterOrder() const { return FAutoFilterOrder; }
  void SetAutoFilterOrder(bool Value) { FAutoFilterOrder = Value; }
  std::int32_t FirLength() const { return FFirLength; }
  // Held within 1 .. 10000; rstSavGolay makes it odd (one more) and holds
  // Order below it.
  void SetFirLength(std::int32_t Value);
  // Kaiser window: Beta instead of the beta the ripple gives.
  bool IgnoreAtt() const { return FIgnoreAtt; }
  void SetIgnoreAtt(bool Value) { FIgnoreAtt = Value; }
  dsp::TWaveletType Wavelet() const { return FWavelet; }
  void SetWavelet(dsp::TWaveletType Value) { FWavelet = Value; }
  std::int32_t WaveletP1() const { return FWaveletP1; }
  void SetWaveletP1(std::int32_t Value) { FWaveletP1 = Value; }
  std::int32_t WaveletP2() const { return FWaveletP2; }
  void SetWaveletP2(std::int32_t Value) { FWaveletP2 = Value; }
  dsp::TWaveletDecomp WaveletDecomp() const { return FWaveletDecomp; }
  void SetWaveletDecomp(dsp::TWaveletDecomp Value) { FWaveletDecomp = Value; }

  // The coefficients and the running state are set up.
  bool Designed() const { return FDesigned; }
  void SetDesigned(bool Value) { FDesigned = Value; }
  // The message of the last design that failed; "" once designed.
  const std::string& ErrorText() const { return FErrorText; }
  // The frequency the band edges are given in (see the top of this header).
  double DesignFrequency() const;

  // operations
  // Designs the taps (unless ExternalTaps) and sets the running state up,
  // when the filter is not designed; a failure leaves it undesigned with
  // ErrorText set, and is not raised.
  void UpdateFilter();
  // UpdateFilter, then Src through the filter into Dst (a copy while
  // undesigned).
  void ProcessBlock(const numeric::TVec& Src, numeric::TVec& Dst);
  // The coefficients of Response from the current band template; raises the
  // design's errors.
  void DesignTaps();
  // Sets the running state of Response up; false when there is nothing to
  // run (no taps, no input).
  bool InitFilterState();

  // overrides
  std::string EditorClassName() const override { return "TFIRDesignForm"; }
  // The live band template goes into its entry first.
  void SaveToStream(classlib::TStream& Stream) override;
  // Deselects the band template first; a refused stream leaves the filter
  // as it was.
  void LoadFromStream(classlib::TStream& Stream) override;
  std::uint8_t InternalUpdate() override;
  void ParameterChanged(classlib::TPersistent* Sender) override;

 private:
  // The design routines of the response kinds (SignalFilterDesign.cpp).
  void DesignWindowFir(const TBandFilterList& Bands, double FS);
  void DesignRemezFir(const TBandFilterList& Bands, double FS);
  void DesignSingleBand(const TBandFilterList& Bands, double FS, dsp::TFilterType OddType, bool Remez);
  void DesignIir(const TBandFilterList& Bands, double FS);
  bool IsFirKind() const;
  // The input's data kind and length the running state was set up for.
  bool StateFits(const numeric::TVec& Src) const;

  std::unique_ptr<TFilterList> FFilters;
  std::unique_ptr<numeric::TVec> FTaps;
  std::int32_t FUpSample = 1;
  std::int32_t FUpDelay = 0;
  std::int32_t FDownSample = 1;
  std::int32_t FDownDelay = 0;
  bool FExternalTaps = false;
  TFirFilterMethod FFirMethod = fimWindow;
  dsp::TIirFilterMethod FIirMethod = dsp::fimButter;
  dsp::TIirFrequencyTransform FIIRFrequencyTransform = dsp::ftStateSpaceAnalog;
  dsp::TSignalWindowType FWindow = dsp::wtKaiser;
  TResponseType FResponse = rstUnit;
  double FBeta = 4.0;
  std::int32_t FGridDensity = 16;
  std::int32_t FOrder = 4;
  double FNormalizedFrequency = 2.0;
  bool FUseNormalizedFrequency = true;
  bool FAutoFilterOrder = true;
  std::int32_t FFirLength = 1;
  bool FIgnoreAtt = false;
  dsp::TWaveletType FWavelet = dsp::wtHaar;
  std::int32_t FWaveletP1 = 1;
  std::int32_t FWaveletP2 = 1;
  dsp::TWaveletDecomp FWaveletDecomp = dsp::wtApproximation;

  bool FDesigned = false;
  std::string FErrorText;
  dsp::TFirState FFir;
  dsp::TIirState FIir;
  dsp::TMedianState FMedian;
  spl::WtState FWaveletState;
  bool FStateComplex = false;
  std::int32_t FStateLength = 0;
};

}  // namespace sig
