// TCrossSpectrumAnalyzer and its TCrossAnalyzer: the frame's spectra, their
// averages, the coherence and the result shown as the spectrum.
// Tested by: signal/tests/CrossSpectrumAnalyzerTest.cpp,
// signal/tests/CrossBispectrumOracleTest.cpp.
#include "signal/CrossSpectrumAnalyzer.h"

#include <algorithm>

#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/SignalCollections.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumStats.h"

namespace sig {

namespace {

// The divisor threshold of the coherence: a vanishing power divides as one
// of this size (2^-1024 + 2^-1074), never to an infinity.
constexpr double CoherenceThreshold = 5.56268464626801E-309;

// Dest := |X|^2 element by element, real; Dest is not X.
void PowerOf(const numeric::TVec& X, numeric::TVec& Dest) {
  const std::int32_t n = X.Length();
  Dest.Size(n, false);
  double* d = Dest.Values();
  if (X.Complex()) {
    const numeric::TCplx* x = X.CValues();
    for (std::int32_t i = 0; i < n; ++i) d[i] = x[i].Re * x[i].Re + x[i].Im * x[i].Im;
  } else {
    const double* x = X.Values();
    for (std::int32_t i = 0; i < n; ++i) d[i] = x[i] * x[i];
  }
}

}  // namespace

// --- TCrossAnalyzer ----------------------------------------------------------

const classlib::TClassInfo& TCrossAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TCrossAnalyzer>("TCrossAnalyzer", TPersistent::StaticClassInfo())
          .Property("Recursive", &TCrossAnalyzer::Recursive, &TCrossAnalyzer::SetRecursive, true)
          .Property("Analysis", &TCrossAnalyzer::Analysis, &TCrossAnalyzer::SetAnalysis,
                    (1u << caCoherence) | (1u << caTransferFunction))
          .TypeName("TCrossAnalysisSet")
          .AsSet({"caCoherence", "caTransferFunction"})
          .Property("Transform", &TCrossAnalyzer::Transform, &TCrossAnalyzer::SetTransform, ctInputSpectrum)
          .TypeName("TCrossTransform")
          .Names({"ctInputSpectrum", "ctOutputSpectrum", "ctCrossSpectrum", "ctCoherence", "ctTransferFunction"})
          .Stored([](const TCrossAnalyzer&) { return false; })
          .SubObject("CrossSpectrum", [](const TCrossAnalyzer& a) { return &a.CrossSpectrum(); })
          .Stored([](const TCrossAnalyzer&) { return false; })
          .SubObject("Coherence", [](const TCrossAnalyzer& a) { return &a.Coherence(); })
          .Stored([](const TCrossAnalyzer&) { return false; })
          .SubObject("InputSpectrum", [](const TCrossAnalyzer& a) { return &a.InputSpectrum(); })
          .Stored([](const TCrossAnalyzer&) { return false; })
          .SubObject("OutputSpectrum", [](const TCrossAnalyzer& a) { return &a.OutputSpectrum(); })
          .Stored([](const TCrossAnalyzer&) { return false; })
          .Build();
  return info;
}

TCrossAnalyzer::TCrossAnalyzer(TCrossSpectrumAnalyzer& Owner)
    : FOwner(Owner),
      FCrossSpectrum(std::make_unique<numeric::TVec>()),
      FCoherence(std::make_unique<numeric::TVec>()),
      FInputSpectrum(std::make_unique<numeric::TVec>()),
      FOutputSpectrum(std::make_unique<numeric::TVec>()),
      FCrossSum(std::make_unique<numeric::TVec>()),
      FInputSum(std::make_unique<numeric::TVec>()),
      FOutputSum(std::make_unique<numeric::TVec>()) {
  FCrossSpectrum->Size(0, true);
  FCrossSum->Size(0, true);
}

TCrossAnalyzer::~TCrossAnalyzer() = default;

void TCrossAnalyzer::SetRecursive(bool Value) {
  if (Value == FRecursive) return;
  FRecursive = Value;
  FOwner.Stats().SetAveraged(0);
}

void TCrossAnalyzer::SetAnalysis(TCrossAnalysisSet Value) {
  if (Value == FAnalysis) return;
  FAnalysis = Value;
  if (Has(caCoherence)) ComputeCoherence();
}

void TCrossAnalyzer::AddFrame(const numeric::TVec& C, const numeric::TVec& InputPower,
                              const numeric::TVec& OutputPower) {
  TSpectrumStats& stats = FOwner.Stats();
  if (FCrossSpectrum->Length() != C.Length()) stats.SetAveraged(0);
  if (!detail::MeanAveraging(stats.Averaging())) {
    stats.SetAveraged(0);
    FCrossSpectrum->Copy(C);
    FInputSpectrum->Copy(InputPower);
    FOutputSpectrum->Copy(OutputPower);
  } else if (FRecursive) {
    const std::uint32_t count = stats.Averaged();
    const double n = detail::AverageWeight(stats);
    detail::RunningAverage(*FCrossSpectrum, C, count, n);
    detail::RunningAverage(*FInputSpectrum, InputPower, count, n);
    detail::RunningAverage(*FOutputSpectrum, OutputPower, count, n);
    stats.CountFrame();
  } else {
    // A sum that does not fit the frame is a restart as well.
    if (FCrossSum->Length() != C.Length()) stats.SetAveraged(0);
    if (stats.Averaged() == 0) {
      FCrossSum->Copy(C);
      FInputSum->Copy(InputPower);
      FOutputSum->Copy(OutputPower);
    } else {
      FCrossSum->Add(C);
      FInputSum->Add(InputPower);
      FOutputSum->Add(OutputPower);
    }
    const double k = static_cast<double>(stats.Averaged()) + 1.0;
    stats.CountFrame();
    FCrossSpectrum->Copy(*FCrossSum);
    FCrossSpectrum->Scale(1.0 / k);
    FInputSpectrum->Copy(*FInputSum);
    FInputSpectrum->Scale(1.0 / k);
    FOutputSpectrum->Copy(*FOutputSum);
    FOutputSpectrum->Scale(1.0 / k);
  }
  ComputeCoherence();
}

void TCrossAnalyzer::ComputeCoherence() {
  if (!Has(caCoherence)) return;
  numeric::TVec& coherence = *FCoherence;
  PowerOf(*FCrossSpectrum, coherence);
  if (coherence.Length() != FInputSpectrum->Length() || coherence.Length() != FOutputSpectrum->Length()) return;
  coherence.Divide(*FInputSpectrum, CoherenceThreshold);
  coherence.Divide(*FOutputSpectrum, CoherenceThreshold);
}

// --- TCrossSpectrumAnalyzer --------------------------------------------------

const classlib::TClassInfo& TCrossSpectrumAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TCrossSpectrumAnalyzer>("TCrossSpectrumAnalyzer", TSpectrumAnalyzer::StaticClassInfo())
          .SubObject("Inputs", [](const TCrossSpectrumAnalyzer& a) { return a.Inputs(); })
          .Stored(&TCrossSpectrumAnalyzer::InputStored)
          .Property("Output", &TCrossSpectrumAnalyzer::Output, &TCrossSpectrumAnalyzer::SetOutput)
          .Stored([](const TCrossSpectrumAnalyzer&) { return false; })
          .SubObject("CrossAnalyzer", [](const TCrossSpectrumAnalyzer& a) { return &a.CrossAnalyzer(); })
          .Creatable()
          .Build();
  return info;
}

TCrossSpectrumAnalyzer::TCrossSpectrumAnalyzer(classlib::TComponent* AOwner)
    : TSpectrumAnalyzer(AOwner), FCrossAnalyzer(std::make_unique<TCrossAnalyzer>(*this)) {
  // The result is an average of several spectra: no one frame's transform
  // gives its value between the lines.
  SetExactFrequency(false);
  Stats().SetAveraging(avLinearInf);
}

TCrossSpectrumAnalyzer::~TCrossSpectrumAnalyzer() = default;

std::uint8_t TCrossSpectrumAnalyzer::Update() {
  if (FCrossAnalyzer->Recursive()) return TSpectrumAnalyzer::Update();
  detail::TSilentScope silent(*this);
  return TSpectrumAnalyzer::Update();
}

void TCrossSpectrumAnalyzer::FrameSpectrum(TSignal& Source, const TNotifyVecEvent& Event, std::int32_t TargetLength,
                                           numeric::TVec& Dest) {
  if (Event) {
    Dest.Size(0, true);
    Event(this, Dest);
    if (!Dest.Complex()) numeric::RaiseError("The spectrum of a frame must be complex");
    return;
  }
  ComputeSpectrumOf(Source, TargetLength, &Dest);
  Dest.Scale(AmplitudeFactor());
}

std::uint8_t TCrossSpectrumAnalyzer::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  TSignal* output = Output();
  if (output == nullptr) numeric::RaiseError("Output = nil");
  const TSpectrumStats& stats = Stats();
  const TAveraging averaging = stats.Averaging();
  if ((averaging == avLinear || averaging == avPeakHold || averaging == avCplxLinear) &&
      stats.Averaged() >= stats.Averages())
    return 0;
  if (input->SamplingFrequency() != output->SamplingFrequency())
    numeric::RaiseError("Input.SamplingFrequency <> Output.SamplingFrequency");
  if (Method() != smFFT && Method() != smCZT) numeric::RaiseError("not ((Method = smfFFT) or (Method = smfCZT))");
  if (input->Length() == 0 || output->Length() == 0) return 0;
  const std::int32_t n = std::max(input->Length(), output->Length());
  numeric::TCachedVec x, y, cross, xPower, yPower;
  FrameSpectrum(*input, FOnGetInputSpectrum, n, *x);
  FrameSpectrum(*output, FOnGetoutputSpectrum, n, *y);
  if (x->Length() != y->Length()) numeric::RaiseError("InputSpectrum.Length <> OutputSpectrum.Length");
  cross->ConjMul(*y, *x);
  PowerOf(*x, *xPower);
  PowerOf(*y, *yPower);
  FCrossAnalyzer->AddFrame(*cross, *xPower, *yPower);
  CrossToSpectrum();
  return 0;
}

void TCrossSpectrumAnalyzer::CrossToSpectrum() {
  const TCrossAnalyzer& cross = *FCrossAnalyzer;
  numeric::TVec& amplt = Amplt();
  const TSpectrumType type = SpectrumType();
  const bool integrating = Integration() != inNone;
  double factor = 1.0;
  if (type == dsp::spRMS) factor = numeric::INVSQRT2;
  if (type == dsp::spPeakPeak) factor = 2.0;
  // A power integrates as the amplitude it is the square of.
  const auto integratePower = [&] {
    if (!integrating) return;
    amplt.Sqrt();
    ApplyIntegration();
    amplt.Sqr();
  };
  // An amplitude from a product of two spectra: its geometric mean, scaled.
  const auto amplitudeOfPower = [&] {
    amplt.Sqrt();
    amplt.Scale(factor);
    ApplyIntegration();
  };
  switch (cross.Transform()) {
    case ctInputSpectrum:
    case ctOutputSpectrum: {
      amplt.Copy(cross.Transform() == ctInputSpectrum ? cross.InputSpectrum() : cross.OutputSpectrum());
      if (type == dsp::spPower || type == dsp::spComplex)
        integratePower();
      else
        amplitudeOfPower();
      ZeroPhase();
      break;
    }
    case ctCrossSpectrum:
      if (type == dsp::spComplex) {
        cross.CrossSpectrum().CplxToReal(amplt, Phase());
        break;
      }
      AmpltPhaseFromComplex(cross.CrossSpectrum());
      if (type == dsp::spPower)
        integratePower();
      else
        amplitudeOfPower();
      break;
    case ctCoherence:
      amplt.Copy(cross.Coherence());
      ZeroPhase();
      break;
    case ctTransferFunction:
      if (type == dsp::spComplex) {
        numeric::TVec& phase = Phase();
        cross.CrossSpectrum().CplxToReal(amplt, phase);
        amplt.Divide(cross.InputSpectrum());
        phase.Divide(cross.InputSpectrum());
        break;
      }
      AmpltPhaseFromComplex(cross.CrossSpectrum());
      amplt.Divide(cross.InputSpectrum());
      amplt.Scale(factor);
      if (type == dsp::spPower) amplt.Sqr();
      break;
  }
  if (type != dsp::spComplex) UpdatePhase();
  KeepFrameTiming();
  UpdatePeaksAndBands();
  if (Logarithmic()) ApplyLogScale();
  UpdateMinMax();
}

void TCrossSpectrumAnalyzer::ApplyLogScale() {
  if (FCrossAnalyzer->Transform() == ctCoherence) return;
  ApplyDecibels(false);
}

// --- Registration ------------------------------------------------------------

void RegisterCrossSpectrumAnalyzerClasses() {
  classlib::RegisterClasses({&TCrossSpectrumAnalyzer::StaticClassInfo()});
}

void UnregisterCrossSpectrumAnalyzerClasses() {
  classlib::UnRegisterClass(TCrossSpectrumAnalyzer::StaticClassInfo());
}

}  // namespace sig
