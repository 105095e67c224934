// TSpectrumCZT: the frequency range and contour radii of the spectrum
// analyser's chirp-z method. The analyser evaluates k = Trunc((Stop - Start)
// / FrequencyStep) points (at most 1000000) at Start + i (Stop - Start) / k,
// i = 0 .. k-1, the frequencies its spectrum labels them with, on the spiral
// whose radius runs from StartRadius at Start toward StopRadius at Stop.
// Frequencies are in Hz of the input's sampling frequency.
//
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#pragma once

#include <cstdint>

#include "platform/classlib/Persistent.h"

namespace sig {

class TSpectrum;

class TSpectrumCZT : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // The owner is kept, not owned.
  explicit TSpectrumCZT(TSpectrum* AOwner = nullptr);

  // properties
  TSpectrum* Owner() const { return FOwner; }
  double StartFrequency() const { return FStartFrequency; }
  // A StopFrequency below the value is raised to it first.
  void SetStartFrequency(double Value);
  double StopFrequency() const { return FStopFrequency; }
  // A StartFrequency above the value is lowered to it first.
  void SetStopFrequency(double Value);
  double FrequencyStep() const { return FFrequencyStep; }
  // Stores max(Value, 0).
  void SetFrequencyStep(double Value);
  double StartRadius() const { return FStartRadius; }
  // Stores max(Value, 0).
  void SetStartRadius(double Value);
  double StopRadius() const { return FStopRadius; }
  void SetStopRadius(double Value) { FStopRadius = Value; }

  // operations
  // The number of points the range holds: Trunc((Stop - Start) / Step) held
  // within 0 .. 1000000 (0 for a step of 0 or a number that is none).
  std::int32_t PointCount() const;

 private:
  TSpectrum* FOwner;
  double FStartFrequency = 0.0;
  double FStopFrequency = 0.5;
  double FFrequencyStep = 0.0078125;
  double FStartRadius = 1.0;
  double FStopRadius = 1.0;
};

}  // namespace sig
