// TSpectrumPeaksAnalyzer and TSpectrumPeakInterpolation: the settings, the
// trace methods, the interpolation between the lines, order tracking and
// the removal of a marked tone.
// Tested by: signal/tests/SpectrumPeaksTest.cpp, signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumPeaks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumStats.h"

namespace sig {

const classlib::TClassInfo& TSpectrumPeakInterpolation::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumPeakInterpolation>("TSpectrumPeakInterpolation",
                                                          TPersistent::StaticClassInfo())
          .Property("Precision", &TSpectrumPeakInterpolation::Precision, &TSpectrumPeakInterpolation::SetPrecision,
                    ip6)
          .TypeName("TInterpolationPrecision")
          .Names({"ip2", "ip4", "ip6", "ip8"})
          .Property("Harmonics", &TSpectrumPeakInterpolation::Harmonics, &TSpectrumPeakInterpolation::SetHarmonics,
                    false)
          .Property("Method", &TSpectrumPeakInterpolation::Method, &TSpectrumPeakInterpolation::SetMethod, imNone)
          .TypeName("TInterpolationMethod")
          .Names({"imNone", "imNumeric", "imQuadratic", "imBarycentric", "imQuinnFirst", "imQuinnSecond", "imJain"})
          .Build();
  return info;
}

void TSpectrumPeakInterpolation::SetPrecision(TInterpolationPrecision Value) {
  FPrecision = Value;
  switch (Value) {
    case ip2:
      FPrecisionDivisor = 1e2;
      break;
    case ip4:
      FPrecisionDivisor = 1e4;
      break;
    case ip6:
      FPrecisionDivisor = 1e6;
      break;
    case ip8:
      FPrecisionDivisor = 1e8;
      break;
  }
}

const classlib::TClassInfo& TSpectrumPeaksAnalyzer::StaticClassInfo() {
  // OrderFrequency comes before OrderActive, so that a stream switches the
  // order axis on at its own order frequency.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumPeaksAnalyzer>("TSpectrumPeaksAnalyzer", TPersistent::StaticClassInfo())
          .Property("Active", &TSpectrumPeaksAnalyzer::Active, &TSpectrumPeaksAnalyzer::SetActive, true)
          .SubObject("Interpolation", [](const TSpectrumPeaksAnalyzer& p) { return &p.Interpolation(); })
          .Property("LargestCount", &TSpectrumPeaksAnalyzer::LargestCount, &TSpectrumPeaksAnalyzer::SetLargestCount,
                    1)
          .Property("TraceMethod", &TSpectrumPeaksAnalyzer::TraceMethod, &TSpectrumPeaksAnalyzer::SetTraceMethod,
                    ptNone)
          .TypeName("TPeakTraceMethod")
          .Names({"ptNone", "ptCurrent", "ptLargest", "ptAmpltHarmonics", "ptFreqHarmonics"})
          .Property("TraceInterval", &TSpectrumPeaksAnalyzer::TraceInterval,
                    &TSpectrumPeaksAnalyzer::SetTraceInterval, 0.0)
          .Property("HarmonicsCount", &TSpectrumPeaksAnalyzer::HarmonicsCount,
                    &TSpectrumPeaksAnalyzer::SetHarmonicsCount, 10)
          .Property("BandwidthL", &TSpectrumPeaksAnalyzer::BandwidthL, &TSpectrumPeaksAnalyzer::SetBandwidthL, 0.0)
          .Property("BandwidthH", &TSpectrumPeaksAnalyzer::BandwidthH, &TSpectrumPeaksAnalyzer::SetBandwidthH, 0.0)
          .Property("UseFullBandwidth", &TSpectrumPeaksAnalyzer::UseFullBandwidth,
                    &TSpectrumPeaksAnalyzer::SetUseFullBandwidth, true)
          .Property("OrderFrequency", &TSpectrumPeaksAnalyzer::OrderFrequency,
                    &TSpectrumPeaksAnalyzer::SetOrderFrequency, 1.0)
          .Property("OrderTracing", &TSpectrumPeaksAnalyzer::OrderTracing, &TSpectrumPeaksAnalyzer::SetOrderTracing,
                    otNone)
          .TypeName("TOrderTracing")
          .Names({"otNone", "otFirstPeak", "otNthPeak", "otLargest"})
          .Property("OrderPeakNumber", &TSpectrumPeaksAnalyzer::OrderPeakNumber,
                    &TSpectrumPeaksAnalyzer::SetOrderPeakNumber, 1)
          .Property("OrderActive", &TSpectrumPeaksAnalyzer::OrderActive, &TSpectrumPeaksAnalyzer::SetOrderActive,
                    false)
          .Build();
  return info;
}

TSpectrumPeaksAnalyzer::TSpectrumPeaksAnalyzer(TSpectrumAnalyzer& Owner)
    : FOwner(Owner), FInterpolation(std::make_unique<TSpectrumPeakInterpolation>()) {}

TSpectrumPeaksAnalyzer::~TSpectrumPeaksAnalyzer() = default;

void TSpectrumPeaksAnalyzer::SetLargestCount(std::int32_t Value) { FLargestCount = std::max(Value, 0); }

void TSpectrumPeaksAnalyzer::SetTraceInterval(double Value) {
  FTraceInterval = std::isnan(Value) ? 0.0 : std::clamp(Value, 0.0, 100.0);
}

std::int32_t TSpectrumPeaksAnalyzer::HarmonicsCount() const { return FOwner.Harmonics(); }

void TSpectrumPeaksAnalyzer::SetHarmonicsCount(std::int32_t Value) { FOwner.SetHarmonics(Value); }

namespace {

// The line of frequency F on the owner's last grid, or Fallback when there
// is no input or no spacing to place it by.
std::int64_t LineOf(const TSpectrumAnalyzer& Owner, double F, std::int64_t Fallback) {
  const double spacing = Owner.BinSpacing();
  if (Owner.Input() == nullptr || !(spacing > 0.0)) return Fallback;
  return detail::RoundIndex((F - Owner.StartFrequency()) / spacing);
}

}  // namespace

void TSpectrumPeaksAnalyzer::SetBandwidthL(double Value) {
  FBandwidthL = Value;
  const std::int32_t last = std::max(FOwner.Length() - 1, 0);
  FLowerLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(LineOf(FOwner, Value, 0), 0, last));
}

void TSpectrumPeaksAnalyzer::SetBandwidthH(double Value) {
  FBandwidthH = Value;
  const std::int32_t last = std::max(FOwner.Length() - 1, 0);
  FUpperLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(LineOf(FOwner, Value, last), 0, last));
}

void TSpectrumPeaksAnalyzer::SetOrderFrequency(double Value) {
  if (!(Value > 0.0) || Value == FOrderFrequency) return;
  FOrderFrequency = Value;
  if (!FOrderActive) return;
  SetOrderActive(false);
  SetOrderActive(true);
  const double fs = FOwner.FrameSamplingFrequency();
  if (fs > 0.0) FOwner.SetSamplingFrequency(fs / FOrderFrequency);
}

void TSpectrumPeaksAnalyzer::SetOrderPeakNumber(std::int32_t Value) { FOrderPeakNumber = std::max(Value, 1); }

void TSpectrumPeaksAnalyzer::SetOrderActive(bool Value) {
  if (Value == FOrderActive) return;
  TMarkList& marks = FOwner.Marks();
  if (Value) {
    FOrderScale = FOrderFrequency;
    for (std::int32_t i = 0; i < marks.Count(); ++i) marks.GetMark(i).First /= FOrderScale;
  } else {
    for (std::int32_t i = 0; i < marks.Count(); ++i) marks.GetMark(i).First *= FOrderScale;
  }
  FOrderActive = Value;
}

// --- Interpolation ---------------------------------------------------------

TInterpolationMethod TSpectrumPeaksAnalyzer::MethodInForce() const {
  const TInterpolationMethod method = FInterpolation->Method();
  if (method >= imQuadratic) {
    // The three-line formulas describe the rectangular window's main lobe
    // of an amplitude on unpadded lines.
    const TSpectrumType type = FOwner.SpectrumType();
    if (FOwner.Window() != dsp::wtRectangular || type == dsp::spPower || type == dsp::spComplex ||
        FOwner.PaddingRatio() != 1.0)
      return imNone;
  }
  // These read the frame's own spectrum, which an average is not.
  if ((FOwner.Stats().Averaged() > 0 || !FOwner.ExactFrequency()) &&
      (method == imNumeric || method == imQuinnFirst || method == imQuinnSecond))
    return imNone;
  return method;
}

std::int32_t TSpectrumPeaksAnalyzer::PeakLine(double F) const {
  const std::int32_t L = FOwner.Amplt().Length();
  const double res = FOwner.HzRes();
  if (L < 3 || !(res > 0.0)) return -1;
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(detail::RoundIndex((F - FOwner.StartFrequency()) / res), 1, L - 2));
}

double TSpectrumPeaksAnalyzer::InterpolateFrequency(double Freq) const {
  const TInterpolationMethod method = MethodInForce();
  const double f = FOwner.SnapToPeak(Freq);
  if (method == imNone) return f;
  if (method == imNumeric) return InterpolateNumeric(f);
  const std::int32_t k = PeakLine(f);
  if (k < 0) return f;
  if (method == imQuinnFirst || method == imQuinnSecond) return InterpolateQuinn(method, f, k);
  return InterpolateLines(method, f, k);
}

double TSpectrumPeaksAnalyzer::InterpolateNumeric(double F) const {
  const double res = FOwner.HzRes();
  if (!(res > 0.0)) return F;
  double f = F;
  double s = res / 8.0;
  const double limit = res / FInterpolation->PrecisionDivisor();
  double v = FOwner.AmpltAt(f);
  // Both neighbours of a step are read in one pass over the frame. After a
  // climb up the point below is the one just left, lower than the top, so
  // only a step that does not climb up looks down.
  const auto climb = [&](double Step, double Value) {
    f += Step;
    v = Value;
    for (;;) {
      const double next = f + Step;
      const double a = FOwner.AmpltAt(next);
      if (!(a > v)) return;
      f = next;
      v = a;
    }
  };
  while (limit < s) {
    const std::array<double, 2> probes = {f + s, f - s};
    std::array<double, 2> values{};
    FOwner.AmpltAtFrequencies(probes, values);
    if (values[0] > v)
      climb(s, values[0]);
    else if (values[1] > v)
      climb(-s, values[1]);
    s /= 2.0;
  }
  return f;
}

double TSpectrumPeaksAnalyzer::InterpolateLines(TInterpolationMethod Method, double F, std::int32_t k) const {
  const double* amplt = FOwner.Amplt().Values();
  const double a = amplt[k - 1], b = amplt[k], c = amplt[k + 1];
  const double res = FOwner.HzRes();
  double f = NAN;
  switch (Method) {
    case imQuadratic:
      f = F + (c - a) / (2.0 * (2.0 * b - a - c)) * res;
      break;
    case imBarycentric:
      f = F + (c - a) / (a + b + c) * res;
      break;
    case imJain: {
      // Between line k and its larger neighbour, counted from the lower of
      // the two lines.
      const double r = a <= c ? c / b : b / a;
      const double position = (a <= c ? k : k - 1) + r / (r + 1.0);
      f = position * res + FOwner.StartFrequency();
      break;
    }
    default:
      break;
  }
  return std::isfinite(f) ? f : F;
}

namespace {

double QuinnTau(double X) {
  const double root = std::sqrt(2.0 / 3.0);
  return 0.25 * std::log(3.0 * X * X + 6.0 * X + 1.0) -
         std::sqrt(6.0) / 24.0 * std::log((X + 1.0 - root) / (X + 1.0 + root));
}

}  // namespace

double TSpectrumPeaksAnalyzer::InterpolateQuinn(TInterpolationMethod Method, double F, std::int32_t k) const {
  const numeric::TVec& x = FOwner.FrameSpectrum();
  if (!x.Complex() || x.Length() <= k + 1) return F;
  const numeric::TCplx* X = x.CValues();
  const double norm = X[k].Re * X[k].Re + X[k].Im * X[k].Im;
  // Re(X[j] conj(X[k])) / |X[k]|^2
  const auto alpha = [&](std::int32_t j) { return (X[j].Re * X[k].Re + X[j].Im * X[k].Im) / norm; };
  const double ap = alpha(k + 1), am = alpha(k - 1);
  const double dp = -ap / (1.0 - ap), dm = am / (1.0 - am);
  double delta;
  if (Method == imQuinnFirst)
    delta = dp > 0.0 && dm > 0.0 ? dp : dm;
  else
    delta = (dp + dm) / 2.0 + QuinnTau(dp * dp) - QuinnTau(dm * dm);
  const double f = F + delta * FOwner.HzRes();
  return std::isfinite(f) ? f : F;
}

// --- Tracing -----------------------------------------------------------------

TMarkRecord TSpectrumPeaksAnalyzer::MarkAt(double F) const { return TMarkRecord{F, FOwner.AmpltAt(F), FOwner.PhaseAt(F), 0.0}; }

double TSpectrumPeaksAnalyzer::SearchNear(double F) const {
  const double res = FOwner.HzRes();
  const std::int32_t L = FOwner.Amplt().Length();
  if (!(FTraceInterval > 0.0) || !(res > 0.0) || L == 0) return F;
  const double f0 = FOwner.StartFrequency();
  const double d = FTraceInterval / 200.0 * FOwner.BandWidth();
  // The line limits: the whole spectrum, or those of BandwidthL and H.
  const std::int64_t lower = FUseFullBandwidth ? 0 : FLowerLimit;
  const std::int64_t upper = FUseFullBandwidth ? L - 1 : FUpperLimit;
  const std::int64_t lo = std::max(detail::RoundIndex((F - f0 - d) / res), lower);
  const std::int64_t hi = detail::RoundIndex((F - f0 + d) / res);
  const std::int64_t n = std::min(hi, upper) - lo;
  std::int64_t line;
  if (n >= 1 && lo < L) {
    double largest = 0.0;
    std::int32_t index = 0;
    const std::int64_t count = std::min<std::int64_t>(n, L - lo);
    FOwner.Amplt().MaxIdx(largest, index, static_cast<std::int32_t>(lo), static_cast<std::int32_t>(count));
    line = index;
  } else {
    // Nothing to search: the nearer limit, the upper one on a tie.
    const std::int64_t at = detail::RoundIndex((F - f0) / res);
    line = std::abs(at - lower) < std::abs(at - upper) ? lower : upper;
  }
  return detail::ClampIndex(line, L) * res + f0;
}

void TSpectrumPeaksAnalyzer::TraceCurrent() {
  TMarkList& marks = FOwner.Marks();
  for (std::int32_t i = 0; i < marks.Count(); ++i) {
    TMarkRecord& mark = marks.GetMark(i);
    const double f = InterpolateFrequency(SearchNear(mark.First));
    const TMarkRecord read = MarkAt(f);
    mark.First = read.First;
    mark.Second = read.Second;
    mark.Third = read.Third;
  }
}

void TSpectrumPeaksAnalyzer::TraceLargest() {
  TMarkList& marks = FOwner.Marks();
  marks.Clear();
  const numeric::TVec& amplt = FOwner.Amplt();
  const std::int32_t L = amplt.Length();
  if (FLargestCount <= 0 || L < 3) return;
  std::int32_t first = 0, last = L - 3;
  if (!FUseFullBandwidth) {
    first = FLowerLimit;
    last = std::min(FUpperLimit, L - 3);
  }
  const double* a = amplt.Values();
  struct TPeak {
    double Amplitude;
    std::int32_t Line;
  };
  std::vector<TPeak> peaks;
  for (std::int32_t i = first; i <= last; ++i)
    if (a[i] <= a[i + 1] && a[i + 2] < a[i + 1]) peaks.push_back(TPeak{a[i + 1], i + 1});
  // Ascending by amplitude, equal amplitudes in line order (a stable sort
  // of the marks); the largest LargestCount stay.
  const auto before = [](const TPeak& x, const TPeak& y) {
    return x.Amplitude < y.Amplitude || (x.Amplitude == y.Amplitude && x.Line < y.Line);
  };
  const std::size_t keep = std::min<std::size_t>(peaks.size(), static_cast<std::size_t>(FLargestCount));
  const auto from = peaks.end() - static_cast<std::ptrdiff_t>(keep);
  std::nth_element(peaks.begin(), from, peaks.end(), before);
  std::sort(from, peaks.end(), before);
  const double res = FOwner.HzRes();
  const double f0 = FOwner.StartFrequency();
  for (auto p = from; p != peaks.end(); ++p) marks.AddMark(MarkAt(InterpolateFrequency(p->Line * res + f0)));
}

double TSpectrumPeaksAnalyzer::LargestLineFrequency() const {
  const numeric::TVec& amplt = FOwner.Amplt();
  std::int32_t first = 0, count = amplt.Length();
  if (!FUseFullBandwidth) {
    first = std::min(FLowerLimit, FUpperLimit);
    count = std::max(FLowerLimit, FUpperLimit) - first + 1;
  }
  double largest = 0.0;
  std::int32_t index = first;
  amplt.MaxIdx(largest, index, first, count);
  return index * FOwner.HzRes() + FOwner.StartFrequency();
}

void TSpectrumPeaksAnalyzer::TraceHarmonics(double F) {
  TMarkList& marks = FOwner.Marks();
  marks.Clear();
  marks.AddMark(MarkAt(F));
  const double stop = FOwner.StopFrequency();
  for (std::int32_t h = 2; h <= HarmonicsCount(); ++h) {
    double f = h * F;
    if (f > stop) break;
    if (FInterpolation->Harmonics()) f = InterpolateFrequency(f);
    marks.AddMark(MarkAt(f));
  }
}

void TSpectrumPeaksAnalyzer::FollowWindow() {
  std::int32_t width = 6;
  const dsp::TSignalWindowType window = FOwner.Window();
  if (window == dsp::wtKaiser || window == dsp::wtChebyshev) {
    // Wider main lobes for the deeper side lobes: above each attenuation
    // (dB) the width in lines that follows it.
    static constexpr std::array<std::pair<double, std::int32_t>, 11> widths = {{{55, 8},
                                                                                 {90, 9},
                                                                                 {100, 10},
                                                                                 {115, 12},
                                                                                 {130, 14},
                                                                                 {145, 16},
                                                                                 {160, 17},
                                                                                 {175, 18},
                                                                                 {190, 19},
                                                                                 {205, 21},
                                                                                 {230, 23}}};
    const double att = FOwner.SidelobeAtt();
    for (const auto& [above, lines] : widths)
      if (att > above) width = lines;
  }
  FOwner.SetMainlobeWidth(width);
}

void TSpectrumPeaksAnalyzer::TrackOrder() {
  if (!FOrderActive) return;
  TMarkList& marks = FOwner.Marks();
  const double fs = FOwner.FrameSamplingFrequency();
  switch (FOrderTracing) {
    case otNone:
      break;
    case otFirstPeak:
      if (marks.Count() == 1) SetOrderFrequency(marks.GetMark(0).First * FOrderScale);
      break;
    case otNthPeak:
      if (marks.Count() > FOrderPeakNumber - 1)
        SetOrderFrequency(marks.GetMark(FOrderPeakNumber - 1).First * FOrderScale);
      else
        SetOrderFrequency(fs);
      break;
    case otLargest:
      if (marks.Count() == 0) {
        SetOrderFrequency(fs);
      } else {
        marks.SortBySecond();
        const double f = marks.GetMark(marks.Count() - 1).First * FOrderScale;
        SetOrderFrequency(f);
        marks.SortByFirst();
      }
      break;
  }
}

void TSpectrumPeaksAnalyzer::Update() {
  if (FOrderActive) {
    const double fs = FOwner.FrameSamplingFrequency();
    if (fs > 0.0) FOwner.SetSamplingFrequency(fs / FOrderFrequency);
  }
  SetBandwidthH(FBandwidthH);
  SetBandwidthL(FBandwidthL);
  if (!FActive) return;
  TMarkList& marks = FOwner.Marks();
  switch (FTraceMethod) {
    case ptNone:
      for (std::int32_t i = 0; i < marks.Count(); ++i) {
        TMarkRecord& mark = marks.GetMark(i);
        mark.Second = FOwner.AmpltAt(mark.First);
        mark.Third = FOwner.PhaseAt(mark.First);
      }
      break;
    case ptCurrent:
      TraceCurrent();
      break;
    case ptLargest:
      TraceLargest();
      break;
    case ptAmpltHarmonics:
      marks.Clear();
      if (HarmonicsCount() > 0 && FOwner.Amplt().Length() > 0)
        TraceHarmonics(InterpolateFrequency(LargestLineFrequency()));
      break;
    case ptFreqHarmonics:
      if (HarmonicsCount() > 0 && marks.Count() > 0) {
        marks.SortByFirst();
        TraceHarmonics(InterpolateFrequency(SearchNear(marks.GetMark(0).First)));
      }
      break;
  }
  FollowWindow();
  TrackOrder();
}

void TSpectrumPeaksAnalyzer::RemovePeakTone(std::int32_t MarkIndex) {
  if (!FOwner.ExactFrequency() || FOwner.Stats().Averaging() != avNone || FInterpolation->Method() != imNumeric)
    numeric::RaiseError(
        "Peak interpolation must be numeric and spectrum may not be averaged. Complex spectrum must be available.");
  const TMarkList& marks = FOwner.Marks();
  if (marks.Count() == 0) numeric::RaiseError("No peaks have been marked!");
  TSignal* input = FOwner.InputSignal();
  if (input == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  const double f = marks.GetMark(MarkIndex).First;
  const double fs = input->SamplingFrequency();
  if (!(fs > 0.0) || input->Length() == 0) return;
  numeric::TCplx x{};
  FOwner.SpectrumAtFrequency(x, f);
  // The tone the input holds: the display's ScaleFactor is not part of it.
  const double scale = FOwner.ScaleFactor();
  const double amplitude = scale != 0.0 ? std::hypot(x.Re, x.Im) * FOwner.AmplitudeFactor() / scale : 0.0;
  double phase = FOwner.PhaseAt(f);
  // The phase without its display range, in radians.
  if (FOwner.PhaseRange() == prZeroTwoPi) phase -= FOwner.PhaseUnits() == puDeg ? 180.0 : numeric::PI;
  if (FOwner.PhaseUnits() == puDeg) phase *= numeric::PI / 180.0;
  const double hz = FOrderActive ? f * FOrderScale : f;
  numeric::TCachedVec tone;
  tone->Size(input->Length(), input->Complex());
  dsp::TToneState state;
  dsp::ToneInit(state, input->Complex(), hz / fs, phase, amplitude);
  dsp::ToneGenerate(*tone, state);
  input->Data().Sub(*tone);
}

void TSpectrumPeaksAnalyzer::RescaleMarkAmplitudes() {
  TMarkList& marks = FOwner.Marks();
  for (std::int32_t i = 0; i < marks.Count(); ++i) {
    TMarkRecord& mark = marks.GetMark(i);
    FOwner.ScaleToLog(mark.Second, mark.First);
  }
}

void TSpectrumPeaksAnalyzer::Assign(const classlib::TPersistent& Source) {
  const auto* source = dynamic_cast<const TSpectrumPeaksAnalyzer*>(&Source);
  if (source == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FInterpolation->SetMethod(source->Interpolation().Method());
  FInterpolation->SetPrecision(source->Interpolation().Precision());
  FInterpolation->SetHarmonics(source->Interpolation().Harmonics());
  SetLargestCount(source->LargestCount());
  SetTraceMethod(source->TraceMethod());
  SetTraceInterval(source->TraceInterval());
  SetHarmonicsCount(source->HarmonicsCount());
  SetOrderActive(source->OrderActive());
  SetOrderFrequency(source->OrderFrequency());
  SetOrderTracing(source->OrderTracing());
  SetOrderPeakNumber(source->OrderPeakNumber());
}

}  // namespace sig
