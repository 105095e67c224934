// Resampling by any real factor.
//
// TBandlimitedInterpolator resamples its Input by ResampleFactor (output rate
// / input rate) with a windowed-sinc prototype (ideal low-pass from 0.8 to 1
// of the input's Nyquist frequency, Kaiser window) tabulated at a fine
// oversampling and read by linear interpolation between table points. Its
// Ripple picks the table:
//   Ripple             oversampling   window ripple   taps
//   > 1E-4 (to 1E-3)   60             1E-5            13
//   1E-5 .. 1E-4       400            1E-8            17
//   1E-6 .. 1E-5       600            1E-8            21
//   1E-7 .. 1E-6       2000           1E-9            27
//   1E-8 .. 1E-7       10000          1E-11           37
// It keeps its fractional read position and the last taps' worth of input
// from block to block, so blocks join without a seam; the output lags the
// input by (taps + 1) / 2 input samples. A block gives trunc((N - p) r) + 1
// samples (p the read position, N the block's length, r the factor), so the
// first block holds one sample more than N r. A block shorter than the taps
// is refused ("Input.Length < FilterLength").
//
// TSignalRateConverter converts by any Factor, choosing a chain of the
// power-of-two interpolator and decimator (signal/MultiRate.h) and a
// band-limited interpolator; a factor within 1E-5 (relative) of a power of
// two, or whose reciprocal is, counts as that power:
//   Factor 1                 the input, copied
//   2^k                      interpolator by 2^k
//   1 < F < 2                interpolator by 2, band-limited by F / 2
//   F > 2                    interpolator by 2, band-limited by F / (2 M),
//                            interpolator by M (M: the power of two at or
//                            above trunc(F), halved)
//   1 / 2^k                  decimator by 2^k
//   1/2 < F < 1              interpolator by 2 (its sharp filter at F / 2),
//                            band-limited by F / 2
//   F < 1/2                  decimator by M whose last stage only filters,
//                            band-limited by M F / 2 (M: the power of two at
//                            or above trunc(1 / F), halved, at least 2)
// Both refuse an input of more than one channel and an output block beyond
// 2^28 samples.
//
// Tested by: signal/tests/RateConverterTest.cpp, signal/tests/RateConverterOracleTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "signal/MultiRate.h"
#include "signal/Signal.h"

namespace sig {

class TBandlimitedInterpolator : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TBandlimitedInterpolator(classlib::TComponent* AOwner = nullptr);

  // properties
  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  double Ripple() const { return FRipple; }
  // Held within 1E-8 .. 0.001; a change makes the table be designed again.
  void SetRipple(double Value);
  double ResampleFactor() const { return FResampleFactor; }
  // Held within 2.22044604925031E-16 .. 2147483647.
  void SetResampleFactor(double Value);
  // Taps of the prototype, oversampling of its table, and its pass edge
  // relative to the input's Nyquist frequency: Design sets them from Ripple.
  std::int32_t FilterLength() const { return FFilterLength; }
  std::int32_t Oversampling() const { return FOversampling; }
  double PassBand() const { return FPassBand; }
  // Where the next block's first output falls, in input samples from its
  // start.
  double Position() const { return FPosition; }
  bool Designed() const { return FDesigned; }

  // introduced virtual
  // Held within 3 .. 10000; the table is designed again at the next update.
  virtual void SetFilterLength(std::int32_t Value);
  virtual void ResetDesign() { FDesigned = false; }
  // The table for Ripple; the read position and the history start afresh.
  virtual void Design();

  // overrides
  std::uint8_t InternalUpdate() override;

 private:
  double FRipple = 0.001;
  double FResampleFactor = 1.0;
  bool FDesigned = false;
  double FPosition = 0.0;
  double FPassBand = 0.8;
  std::int32_t FOversampling = 512;
  std::int32_t FFilterLength = 13;
  // The prototype at 0, 1 / oversampling, ... FilterLength input samples,
  // arranged for reading: row j holds the points j, j + oversampling, ...
  // (the weights of the taps at that fraction of a sample), FRowLength
  // apart, and FSlopes the steps from each point to the next.
  std::vector<double> FTable;
  std::vector<double> FSlopes;
  // FilterLength rounded up to whole groups of four (zero weights beyond).
  std::int32_t FRowLength = 0;
  // The last FilterLength input values (doubles of complex ones), the
  // current block after them and room for the padded rows to read past it.
  std::vector<double> FHistory;
  // The doubles of FHistory that hold samples (the rest is padding).
  std::size_t FHistoryFill = 0;
  bool FHistoryComplex = false;
};

class TSignalRateConverter : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalRateConverter(classlib::TComponent* AOwner = nullptr);
  ~TSignalRateConverter() override;

  // properties
  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  // Output rate / input rate; held within 2.22044604925031E-16 .. 2147483647.
  double Factor() const { return FFactor; }
  void SetFactor(double Value);
  // Held within 1E-12 .. 0.1.
  double Ripple() const { return FRipple; }
  void SetRipple(double Value);
  // Held within 2.22044604925031E-16 .. 1.
  double TransBW() const { return FTransBW; }
  void SetTransBW(double Value);
  bool Configured() const { return FConfigured; }

  // The parts of the chains.
  TSignalDecimator& Decimator() const { return *FDecimator; }
  TSignalInterpolator& Interpolator() const { return *FInterpolator; }
  // The interpolator by 2.
  TSignalInterpolator& Interpolator2() const { return *FInterpolator2; }
  TBandlimitedInterpolator& BandlimitedInterpolator() const { return *FBandlimited; }
  // The parts the last configuration chose, in the order they run (empty
  // for Factor 1).
  const std::vector<TSignal*>& Chain() const { return FChain; }

  // introduced virtual
  // Chooses the chain for Factor and sets its parts up (see the top of this
  // header).
  virtual void Configure();

  // overrides
  // A new input is linked into the chain at the next update.
  void SetInput(TAnalysis* Value) override;
  std::uint8_t InternalUpdate() override;

 private:
  double FFactor = 1.0;
  double FRipple = 0.001;
  double FTransBW = 0.1;
  bool FConfigured = false;
  std::unique_ptr<TSignalDecimator> FDecimator;
  std::unique_ptr<TSignalInterpolator> FInterpolator;
  std::unique_ptr<TSignalInterpolator> FInterpolator2;
  std::unique_ptr<TBandlimitedInterpolator> FBandlimited;
  std::vector<TSignal*> FChain;
};

}  // namespace sig
