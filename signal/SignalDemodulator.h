// TSignalDemodulator: a zoom into part of the spectrum. It takes the band
// from SubBandFrequency to SubBandFrequency + SubBandWidth (both relative to
// the input's sampling frequency, 0 .. 0.5), mixes it down to zero frequency
// with a complex tone at the band's centre, decimates it by the power of two
// that fits the band (the last stage only filters, with the fixed transition
// 0.45 .. 0.55), mixes it up by a quarter of the new rate and keeps the real
// part. The output runs at input rate x 2 / Factor and starts at
// SubBandFrequency x input rate.
//
// Factor follows from the band: w, the power-of-two fraction of the rate
// that holds SubBandWidth, gives Factor = 1 / w; a band that does not fit
// below half the rate, a width of 0, or one so narrow that Factor would pass
// 2^30, gives Factor 1 (the output is the input). Setting Factor does
// nothing, and no envelope is taken. The tones keep their phase from block to
// block. An input block of odd length is refused ("(Input.Length mod 2) <>
// 0").
//
// Tested by: signal/tests/MultiRateTest.cpp.
#pragma once

#include "dsp/SignalUtils.h"
#include "signal/MultiRate.h"

namespace sig {

class TSignalDemodulator : public TSignalDecimator {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalDemodulator(classlib::TComponent* AOwner = nullptr);

  // properties
  double SubBandFrequency() const { return FSubBandFrequency; }
  // Held within 0 .. 0.5; a change sets Factor and the tones again.
  void SetSubBandFrequency(double Value);
  double SubBandWidth() const { return FSubBandWidth; }
  void SetSubBandWidth(double Value);

  // overrides
  // Factor follows from the band: nothing.
  void SetFactor(std::int32_t) override {}
  // Always 0: no envelope.
  void SetEnvelopeFactor(std::int32_t) override { FEnvelopeFactor = 0; }
  // The wide prototype as the decimator's; the sharp one with the transition
  // 0.45 .. 0.55, at gain 2 (the real part keeps half of the band's power).
  void DesignTaps() override;
  // Complex stages: all but the last lower the rate by 2, the last filters.
  void InitStages() override;
  std::uint8_t InternalUpdate() override;

 private:
  void Reconfigure();

  double FSubBandFrequency = 0.0;
  double FSubBandWidth = 0.0;
  dsp::TToneState FDownTone;
  dsp::TToneState FUpTone;
  numeric::TVec FTone;
  numeric::TVec FWork;
};

}  // namespace sig
