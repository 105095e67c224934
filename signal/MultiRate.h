// Power-of-two rate changes: TSignalInterpolator raises and TSignalDecimator
// lowers the sampling rate of their Input by Factor (1 or a power of two), as
// a cascade of stages that each change the rate by 2 through a linear-phase
// FIR filter. Both derive from TSignalMultiRate, which owns two prototype
// filters and keeps the stage chain up to date:
//   wide prototype   transition 0.25 .. 0.75 of the Nyquist frequency: the
//                    stages that run at the higher rates;
//   sharp prototype  transition (1 - TransBW) / 2 .. (1 + TransBW) / 2: the
//                    stage at the lowest rate.
// Both are equiripple low-pass designs of the length their Ripple needs. The
// decimator can also rectify the signal where the rate has fallen by
// EnvelopeFactor (an envelope detector).
//
// The stages keep their delay lines between updates, so consecutive blocks
// are changed as one signal. Design and set-up errors reach the caller of the
// update; an input of more than one channel is refused ("MultiRate:
// Input.ChannelCount > 1 not supported!"), and so is an output block beyond
// 2^28 samples, before anything is allocated.
//
// Tested by: signal/tests/MultiRateTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/Vec.h"
#include "signal/Signal.h"

namespace sig {

// The longest output block a rate changer makes.
inline constexpr std::int64_t MaxOutputLength = std::int64_t{1} << 28;

// 1 for Value < 2, else the smallest power of two at or above it (at most
// 2^30).
std::int32_t PowerOfTwoFactor(std::int64_t Value);

class TSignalMultiRate : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalMultiRate(classlib::TComponent* AOwner = nullptr);
  ~TSignalMultiRate() override;

  // properties
  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  std::int32_t Factor() const { return FFactor; }
  double Ripple() const { return FRipple; }
  // A change makes the prototypes be designed again.
  void SetRipple(double Value);
  double TransBW() const { return FTransBW; }
  // Held within 2.22044604925031E-16 .. 1; a change makes the prototypes be
  // designed again.
  void SetTransBW(double Value);
  // True: the prototypes are not designed; the host fills them.
  bool ExternalTaps() const { return FExternalTaps; }
  void SetExternalTaps(bool Value);
  // Fired after every design of the prototypes, so that a host can inspect
  // or replace them.
  const TNotifyEvent& OnGetFilterTaps() const { return FOnGetFilterTaps; }
  void SetOnGetFilterTaps(TNotifyEvent Value) { FOnGetFilterTaps = std::move(Value); }
  // The prototypes, at pass gain 1.
  numeric::TVec& WideTaps() const { return *FWide; }
  numeric::TVec& SharpTaps() const { return *FSharp; }
  // False makes the next update design the prototypes (or, with
  // ExternalTaps, take them as they stand) and set the stages up again.
  bool TapsValid() const { return FTapsValid; }
  void SetTapsValid(bool Value);
  bool StagesReady() const { return FStagesReady; }
  std::int32_t StageCount() const { return static_cast<std::int32_t>(FStages.size()); }

  // introduced virtual
  virtual void InitStages() = 0;
  virtual void FreeStages();
  // Refuses a multi-channel input, designs the prototypes when they are not
  // valid and sets the stages up when they are not ready.
  virtual void Prepare();
  // On a change: 1 for Value < 2, else the smallest power of two at or
  // above it.
  virtual void SetFactor(std::int32_t Value);
  // Runs Src through the component outside a pipeline into Dst (an update
  // with a scratch signal of Src as the input, which is then restored).
  virtual void Process(const numeric::TVec& Src, numeric::TVec& Dst);
  // Both prototypes, unless ExternalTaps; then OnGetFilterTaps.
  virtual void DesignTaps();

 protected:
  // A stage that raises the rate by 2 runs as its two polyphase branches,
  // each a single-rate filter over half the taps (the even outputs from the
  // even taps, the odd ones from the odd taps), so that no product with an
  // inserted zero is formed; any other stage is one running filter.
  struct TStage {
    dsp::TFirState Fir;
    dsp::TFirState OddBranch;
    bool Polyphase = false;
    numeric::TVec Out;
    numeric::TVec EvenOut;
    numeric::TVec OddOut;
  };
  void SetStagesReady(bool Value) { FStagesReady = Value; }
  // The input's kind of data the stages are being set up for.
  bool StagesComplex() const { return FStagesComplex; }
  // Appends a stage over Taps times Gain that changes the rate by Up / Down.
  void AddStage(const numeric::TVec& Taps, double Gain, bool Complex, std::int32_t Up, std::int32_t Down);
  TStage& Stage(std::int32_t Index) { return *FStages[static_cast<std::size_t>(Index)]; }
  // Src through stage Index into Dst.
  void RunStage(std::int32_t Index, const numeric::TVec& Src, numeric::TVec& Dst);
  // log2 of Factor.
  std::int32_t FactorLog2() const;
  // Raises when Length samples changed by Up / Down exceed MaxOutputLength.
  static void CheckOutputLength(std::int64_t Length, double Ratio);
  // A low-pass prototype with the transition Pass .. Stop (Nyquist 1) and
  // Ripple.
  void DesignPrototype(numeric::TVec& Taps, double Pass, double Stop) const;
  // The prototypes were designed: OnGetFilterTaps, then valid.
  void TapsDesigned();
  std::int32_t FFactor = 2;

 private:
  double FRipple = 0.0001;
  double FTransBW = 0.1;
  bool FExternalTaps = false;
  TNotifyEvent FOnGetFilterTaps;
  std::unique_ptr<numeric::TVec> FWide;
  std::unique_ptr<numeric::TVec> FSharp;
  std::vector<std::unique_ptr<TStage>> FStages;
  bool FTapsValid = false;
  bool FStagesReady = false;
  // The input's kind the stages were set up for.
  bool FStagesComplex = false;
  std::unique_ptr<TSignal> FScratch;
};

class TSignalInterpolator : public TSignalMultiRate {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalInterpolator(classlib::TComponent* AOwner = nullptr);

  // Stage 0 over the sharp prototype, the others over the wide one, each
  // raising the rate by 2.
  void InitStages() override;
  std::uint8_t InternalUpdate() override;
};

class TSignalDecimator : public TSignalMultiRate {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalDecimator(classlib::TComponent* AOwner = nullptr);

  // properties
  // 0: no envelope; else the rate fall (1 or a power of two) at which the
  // signal is rectified.
  std::int32_t EnvelopeFactor() const { return FEnvelopeFactor; }
  // The last stage filters without lowering the rate (the output holds twice
  // the samples; SamplingFrequency still says input / Factor).
  bool LastStageFilterOnly() const { return FLastStageFilterOnly; }
  void SetLastStageFilterOnly(bool Value);

  // introduced virtual
  // Src through the stages into Data, rectified as EnvelopeFactor says.
  virtual void Decimate(const numeric::TVec& Src);
  // On a change: 0 below 1, 1, else the smallest power of two at or above
  // it; Factor rises to it when lower.
  virtual void SetEnvelopeFactor(std::int32_t Value);

  // overrides
  // The rounding of the base; EnvelopeFactor falls to Factor when higher.
  void SetFactor(std::int32_t Value) override;
  // Stages 0 .. n-2 over the wide prototype, the last over the sharp one,
  // each lowering the rate by 2 (the last only filtering with
  // LastStageFilterOnly).
  void InitStages() override;
  std::uint8_t InternalUpdate() override;

 protected:
  // Whether stage k (n: after the last) reads the rectified signal.
  bool RectifiedBefore(std::int32_t Stage) const;
  std::int32_t FEnvelopeFactor = 0;

 private:
  bool FLastStageFilterOnly = false;
};

}  // namespace sig
