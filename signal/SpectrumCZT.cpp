// TSpectrumCZT: the chirp-z range and its setters.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumCZT.h"

#include <algorithm>
#include <cmath>

#include "signal/SignalInternal.h"

namespace sig {

const classlib::TClassInfo& TSpectrumCZT::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumCZT>("TSpectrumCZT", TPersistent::StaticClassInfo())
          .Property("StartFrequency", &TSpectrumCZT::StartFrequency, &TSpectrumCZT::SetStartFrequency, 0.0)
          .Property("StopFrequency", &TSpectrumCZT::StopFrequency, &TSpectrumCZT::SetStopFrequency, 0.5)
          .Property("FrequencyStep", &TSpectrumCZT::FrequencyStep, &TSpectrumCZT::SetFrequencyStep, 0.0078125)
          .Property("StartRadius", &TSpectrumCZT::StartRadius, &TSpectrumCZT::SetStartRadius, 1.0)
          .Property("StopRadius", &TSpectrumCZT::StopRadius, &TSpectrumCZT::SetStopRadius, 1.0)
          .Build();
  return info;
}

TSpectrumCZT::TSpectrumCZT(TSpectrum* AOwner) : FOwner(AOwner) {}

void TSpectrumCZT::SetStartFrequency(double Value) {
  if (FStopFrequency < Value) FStopFrequency = Value;
  FStartFrequency = Value;
}

void TSpectrumCZT::SetStopFrequency(double Value) {
  if (FStartFrequency > Value) FStartFrequency = Value;
  FStopFrequency = Value;
}

void TSpectrumCZT::SetFrequencyStep(double Value) { FFrequencyStep = std::max(Value, 0.0); }

void TSpectrumCZT::SetStartRadius(double Value) { FStartRadius = std::max(Value, 0.0); }

std::int32_t TSpectrumCZT::PointCount() const {
  if (!(FFrequencyStep > 0.0)) return 0;
  const std::int64_t k = detail::TruncIndex((FStopFrequency - FStartFrequency) / FFrequencyStep);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(k, 0, 1000000));
}

}  // namespace sig
