// TBiSpectrumAnalyzer and its TBiAnalyzer: the frame's triple products, their
// averages, the result matrix and the row shown.
// Tested by: signal/tests/BispectrumAnalyzerTest.cpp,
// signal/tests/CrossBispectrumOracleTest.cpp.
#include "signal/BispectrumAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumStats.h"

namespace sig {

namespace {

using numeric::TCplx;

// The most the averages and the result of one analyser may hold.
constexpr std::int64_t MatrixBudget = std::int64_t{1} << 30;

// How a frame's row enters the averages.
enum TCombine : std::uint8_t { cbCopy, cbSum, cbAverage };

struct TCombiner {
  TCombine Mode = cbCopy;
  double Weight = 1.0;

  // Avg := Row (copy), Avg + Row (sum) or (Avg (n - 1) + Row) / n, the
  // rounding of dsp::AverageMtx.
  template <class T>
  void operator()(T* Avg, const T* Row, std::int32_t Count) const {
    switch (Mode) {
      case cbCopy:
        std::copy(Row, Row + Count, Avg);
        break;
      case cbSum:
        for (std::int32_t k = 0; k < Count; ++k) Avg[k] = Add(Avg[k], Row[k]);
        break;
      case cbAverage: {
        const double keep = Weight - 1.0, scale = 1.0 / Weight;
        for (std::int32_t k = 0; k < Count; ++k) Avg[k] = Mix(Avg[k], Row[k], keep, scale);
        break;
      }
    }
  }

  static double Add(double a, double b) { return a + b; }
  static TCplx Add(const TCplx& a, const TCplx& b) { return TCplx{a.Re + b.Re, a.Im + b.Im}; }
  static double Mix(double a, double b, double keep, double scale) { return (a * keep + b) * scale; }
  static TCplx Mix(const TCplx& a, const TCplx& b, double keep, double scale) {
    return TCplx{(a.Re * keep + b.Re) * scale, (a.Im * keep + b.Im) * scale};
  }
};

double SquaredMagnitude(const TCplx& z) { return z.Re * z.Re + z.Im * z.Im; }

// a / b, or 0 where b is 0 (or not a number).
double Ratio(double a, double b) { return b > 0.0 ? a / b : 0.0; }

}  // namespace

// --- TBiAnalyzer -------------------------------------------------------------

const classlib::TClassInfo& TBiAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TBiAnalyzer>("TBiAnalyzer", TPersistent::StaticClassInfo())
          .Property("BicoherenceType", &TBiAnalyzer::BicoherenceType, &TBiAnalyzer::SetBicoherenceType, bctModified)
          .TypeName("TBicoherenceType")
          .Names({"bctDefault", "bctModified"})
          .Property("Recursive", &TBiAnalyzer::Recursive, &TBiAnalyzer::SetRecursive, true)
          .Property("Transform", &TBiAnalyzer::Transform, &TBiAnalyzer::SetTransform, hoBicoherence)
          .TypeName("TBiAnalysis")
          .Names({"hoBicoherence", "hoBispectrum"})
          .Property("Frequency", &TBiAnalyzer::Frequency, &TBiAnalyzer::SetFrequency, 0.0)
          .SubObject("Bispectrum", [](const TBiAnalyzer& a) { return &a.Bispectrum(); })
          .Stored([](const TBiAnalyzer&) { return false; })
          .Property("SingleLinesOnly", &TBiAnalyzer::SingleLinesOnly, &TBiAnalyzer::SetSingleLinesOnly, false)
          .SubObject("Lines", [](const TBiAnalyzer& a) { return &a.Lines(); })
          .Build();
  return info;
}

TBiAnalyzer::TBiAnalyzer(TBiSpectrumAnalyzer& Owner)
    : FOwner(Owner),
      FBispectrum(std::make_unique<numeric::TMtx>()),
      FLines(std::make_unique<numeric::TVec>()),
      FB(std::make_unique<numeric::TMtx>()),
      FN(std::make_unique<numeric::TMtx>()) {}

TBiAnalyzer::~TBiAnalyzer() = default;

void TBiAnalyzer::SetRecursive(bool Value) {
  if (Value == FRecursive) return;
  FRecursive = Value;
  FOwner.Stats().SetAveraged(0);
}

void TBiAnalyzer::SetSingleLinesOnly(bool Value) {
  if (Value == FSingleLinesOnly) return;
  FSingleLinesOnly = Value;
  FOwner.Stats().SetAveraged(0);
}

void TBiAnalyzer::SetFrequency(double Value) {
  if (Value == FFrequency || !(Value >= 0.0)) return;
  FFrequency = std::min(Value, (FOwner.Length() / 2) * FOwner.HzRes());
}

std::vector<std::int32_t> TBiAnalyzer::LineBins(std::int32_t L) const {
  const double hzRes = FOwner.HzRes();
  const std::int32_t h = L / 2;
  std::vector<std::int32_t> bins(static_cast<std::size_t>(FLines->Length()));
  for (std::size_t j = 0; j < bins.size(); ++j) {
    const double f = FLines->GetValue(static_cast<std::int32_t>(j));
    const std::int64_t bin = hzRes > 0.0 ? detail::RoundIndex(f / hzRes) : 0;
    bins[j] = static_cast<std::int32_t>(std::min<std::int64_t>(h - 1, bin));
  }
  return bins;
}

void TBiAnalyzer::CheckBudget(std::int32_t L) const {
  const std::int32_t h = L / 2;
  const std::int64_t rows = FSingleLinesOnly ? FLines->Length() : h + 1;
  const std::int64_t cols = FSingleLinesOnly ? L : h;
  const std::int64_t power = FBicoherenceType == bctModified ? rows * cols : L;
  // B (complex), N and the result.
  const std::int64_t bytes = rows * cols * (2 + 1) * 8 + power * 8;
  if (bytes <= MatrixBudget) return;
  const std::string need = std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
  if (FSingleLinesOnly)
    numeric::RaiseError("Bispectrum: " + std::to_string(rows) + " single lines of " + std::to_string(L) +
                        " lines need " + need + ", more than 1 GiB!");
  numeric::RaiseError("Bispectrum: a frame of " + std::to_string(L) + " lines needs " + need +
                      ", more than 1 GiB! Use single lines (SingleLinesOnly) for longer frames.");
}

void TBiAnalyzer::AddFrame(const numeric::TVec& X) {
  if (!X.Complex()) numeric::RaiseError("The spectrum of a frame must be complex");
  const std::int32_t L = X.Length(), h = L / 2;
  const bool modified = FBicoherenceType == bctModified;
  const std::vector<std::int32_t> bins = FSingleLinesOnly ? LineBins(L) : std::vector<std::int32_t>();
  const std::int32_t rows = FSingleLinesOnly ? static_cast<std::int32_t>(bins.size()) : h + 1;
  const std::int32_t cols = FSingleLinesOnly ? L : h;
  const std::int32_t powerRows = modified ? rows : 1, powerCols = modified ? cols : L;
  CheckBudget(L);
  for (std::int32_t b : bins)
    if (b < 0) numeric::RaiseError("Bispectrum: line " + std::to_string(b) + " below 0!");

  TSpectrumStats& stats = FOwner.Stats();
  numeric::TMtx& B = *FB;
  numeric::TMtx& N = *FN;
  if (B.Rows() != rows || B.Cols() != cols || !B.Complex() || N.Rows() != powerRows || N.Cols() != powerCols ||
      L != FLineCount || bins != FBins)
    stats.SetAveraged(0);
  const bool mean = detail::MeanAveraging(stats.Averaging());
  if (!mean) stats.SetAveraged(0);
  TCombiner combine;
  if (stats.Averaged() > 0) {
    combine.Mode = FRecursive ? cbAverage : cbSum;
    combine.Weight = detail::AverageWeight(stats);
    if (combine.Mode == cbAverage && !(combine.Weight > 1.0)) combine.Mode = cbCopy;
  }
  if (combine.Mode == cbCopy) {
    B.Size(rows, cols, true);
    N.Size(powerRows, powerCols, false);
    FLineCount = L;
    FBins = bins;
  }

  // Each row of products is made and taken into the averages at once, so
  // the frame's own matrices never exist whole.
  const std::span<const TCplx> x(X.CValues(), static_cast<std::size_t>(L));
  std::vector<TCplx> row(static_cast<std::size_t>(cols));
  std::vector<double> power(static_cast<std::size_t>(cols));
  for (std::int32_t i = 0; i < rows; ++i) {
    std::fill(row.begin(), row.end(), TCplx{0.0, 0.0});
    if (FSingleLinesOnly)
      dsp::BispectrumLine(x, bins[static_cast<std::size_t>(i)], row);
    else
      dsp::BispectrumRow(x, i, row);
    combine(B.CRowValues(i), row.data(), cols);
    if (!modified) continue;
    for (std::int32_t k = 0; k < cols; ++k) power[static_cast<std::size_t>(k)] = SquaredMagnitude(row[k]);
    combine(N.RowValues(i), power.data(), cols);
  }
  if (!modified) {
    power.resize(static_cast<std::size_t>(L));
    for (std::int32_t k = 0; k < L; ++k) power[static_cast<std::size_t>(k)] = SquaredMagnitude(x[k]);
    combine(N.RowValues(0), power.data(), L);
  }
  if (mean) stats.CountFrame();
}

void TBiAnalyzer::ComputeResult() {
  const numeric::TMtx& B = *FB;
  const numeric::TMtx& N = *FN;
  numeric::TMtx& result = *FBispectrum;
  const std::int32_t rows = B.Rows(), cols = B.Cols();
  result.Size(rows, cols, false);
  if (rows == 0 || cols == 0) return;
  // Sums become averages here; the averages themselves stay sums.
  const TSpectrumStats& stats = FOwner.Stats();
  double s = 1.0;
  if (!FRecursive && detail::MeanAveraging(stats.Averaging()) && stats.Averaged() > 1)
    s = 1.0 / static_cast<double>(stats.Averaged());
  if (FTransform == hoBispectrum) {
    for (std::int32_t i = 0; i < rows; ++i) {
      const TCplx* b = B.CRowValues(i);
      double* r = result.RowValues(i);
      for (std::int32_t k = 0; k < cols; ++k) r[k] = std::cbrt(std::hypot(b[k].Re, b[k].Im) * s);
    }
    return;
  }
  const double s2 = s * s;
  if (FBicoherenceType == bctModified) {
    for (std::int32_t i = 0; i < rows; ++i) {
      const TCplx* b = B.CRowValues(i);
      const double* n = N.RowValues(i);
      double* r = result.RowValues(i);
      for (std::int32_t k = 0; k < cols; ++k) r[k] = Ratio(SquaredMagnitude(b[k]) * s2, n[k] * s);
    }
    return;
  }
  // The product of the averaged powers of the three lines of each pair, made
  // by the same row kernels as the triple products.
  std::vector<double> v(N.RowValues(0), N.RowValues(0) + N.Cols());
  for (double& p : v) p *= s;
  std::vector<double> product(static_cast<std::size_t>(cols));
  for (std::int32_t i = 0; i < rows; ++i) {
    std::fill(product.begin(), product.end(), 0.0);
    if (FSingleLinesOnly)
      dsp::BispectrumLine(v, FBins[static_cast<std::size_t>(i)], product);
    else
      dsp::BispectrumRow(v, i, product);
    const TCplx* b = B.CRowValues(i);
    double* r = result.RowValues(i);
    for (std::int32_t k = 0; k < cols; ++k) r[k] = Ratio(SquaredMagnitude(b[k]) * s2, product[k]);
  }
}

void TBiAnalyzer::Display(numeric::TVec& Amplt) const {
  const std::int32_t L = FOwner.Length();
  Amplt.Size(L, false);
  Amplt.SetZero();
  const numeric::TMtx& m = *FBispectrum;
  const std::int32_t R = m.Rows(), C = m.Cols();
  const double hzRes = FOwner.HzRes();
  if (R == 0 || C == 0 || !(hzRes > 0.0) || L != FLineCount) return;
  double* a = Amplt.Values();
  if (FSingleLinesOnly) {
    if (R != FLines->Length() || C != L) return;
    std::int32_t nearest = -1;
    double distance = 0.0;
    for (std::int32_t j = 0; j < R; ++j) {
      const double d = std::fabs(FLines->GetValue(j) - FFrequency);
      if (nearest < 0 || d < distance) {
        nearest = j;
        distance = d;
      }
    }
    if (distance > hzRes) return;
    std::copy(m.RowValues(nearest), m.RowValues(nearest) + C, a);
    return;
  }
  if (R != L / 2 + 1 || C != L / 2) return;
  const std::int64_t r = detail::RoundIndex(FFrequency / hzRes);
  if (r < 0 || r >= L) return;
  // The pairs (r, k), k >= r: below the fold from column r of row k, past it
  // from the folded part of row k - R.
  if (r < C)
    for (std::int64_t k = r; k < R && k < L; ++k) a[k] = m.RowValues(static_cast<std::int32_t>(k))[r];
  for (std::int64_t k = R; k < 2 * C - r && k < L; ++k)
    a[k] = m.RowValues(static_cast<std::int32_t>(k - R))[k - R + 1 + r];
}

// --- TBiSpectrumAnalyzer -----------------------------------------------------

const classlib::TClassInfo& TBiSpectrumAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TBiSpectrumAnalyzer>("TBiSpectrumAnalyzer", TSpectrumAnalyzer::StaticClassInfo())
          .SubObject("BiAnalyzer", [](const TBiSpectrumAnalyzer& a) { return &a.BiAnalyzer(); })
          .Creatable()
          .Build();
  return info;
}

TBiSpectrumAnalyzer::TBiSpectrumAnalyzer(classlib::TComponent* AOwner)
    : TSpectrumAnalyzer(AOwner), FBiAnalyzer(std::make_unique<TBiAnalyzer>(*this)) {
  Stats().SetAveraging(avLinearInf);
}

TBiSpectrumAnalyzer::~TBiSpectrumAnalyzer() = default;

std::uint8_t TBiSpectrumAnalyzer::Update() {
  if (FBiAnalyzer->Recursive()) return TSpectrumAnalyzer::Update();
  detail::TSilentScope silent(*this);
  return TSpectrumAnalyzer::Update();
}

void TBiSpectrumAnalyzer::PrepareUpdate() {
  SetMethod(smFFT);
  TSpectrumAnalyzer::PrepareUpdate();
}

std::uint8_t TBiSpectrumAnalyzer::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  const TSpectrumStats& stats = Stats();
  if (stats.Averaging() == avLinear && stats.Averaged() >= stats.Averages()) {
    DisplayResult();
    return 0;
  }
  if (input->Length() == 0) return 0;
  SetMethod(smFFT);
  numeric::TCachedVec x;
  if (FOnGetSpectrum) {
    x->Size(0, true);
    FOnGetSpectrum(this, *x);
    if (!x->Complex()) numeric::RaiseError("The spectrum of a frame must be complex");
  } else {
    ComputeSpectrum(input->Length(), x.Get());
  }
  // Refused before the spectrum takes the frame's lines.
  FBiAnalyzer->CheckBudget(x->Length());
  SetLength(x->Length());
  if (SpectrumType() != dsp::spAmplt) {
    // The change restarts the average; it must not run an update of its
    // own from inside this one.
    const bool automatic = AutoCalculate();
    SetAutoCalculate(false);
    SetSpectrumType(dsp::spAmplt);
    SetAutoCalculate(automatic);
  }
  FBiAnalyzer->AddFrame(*x);
  FBiAnalyzer->ComputeResult();
  DisplayResult();
  return 0;
}

void TBiSpectrumAnalyzer::DisplayResult() {
  FBiAnalyzer->Display(Amplt());
  ZeroPhase();
  KeepFrameTiming();
  UpdatePeaksAndBands();
  UpdateMinMax();
}

// --- Registration ------------------------------------------------------------

void RegisterBispectrumAnalyzerClasses() { classlib::RegisterClasses({&TBiSpectrumAnalyzer::StaticClassInfo()}); }

void UnregisterBispectrumAnalyzerClasses() { classlib::UnRegisterClass(TBiSpectrumAnalyzer::StaticClassInfo()); }

}  // namespace sig
