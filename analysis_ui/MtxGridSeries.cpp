// The matrix grid series: its colour scale, the rendering of the cells in
// view, hit tests, extremes and legend.
//
// Tested by: analysis_ui/tests/MtxGridSeriesTest.cpp
#include "analysis_ui/MtxGridSeries.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivCanvas.h"
#include "chart/canvas/KivGraphics.h"
#include "numeric/MathCore.h"

namespace analysis_ui {

using chart::TColor;

namespace {

// The low byte of x rounded to the nearest integer, ties to even, for
// |x| < 2^51: adding 1.5 * 2^52 leaves the rounded integer in the low bits of
// the sum (no call and no branch, for millions of cells a pass).
inline std::uint32_t RoundedLowByte(double x) {
  return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(x + 6755399441055744.0)) & 0xFFu;
}

// The red, green and blue bytes of a colour and its distance to another:
// the ends of a colour scale.
struct TColorRamp {
  double Base[3];
  double Delta[3];

  TColorRamp(TColor bottom, TColor top) {
    const TColor b = chart::ColorToRGB(bottom), t = chart::ColorToRGB(top);
    for (int k = 0; k < 3; ++k) {
      const int from = static_cast<int>((b >> (8 * k)) & 0xFF), to = static_cast<int>((t >> (8 * k)) & 0xFF);
      Base[k] = from;
      Delta[k] = to - from;
    }
  }

  // The colour at t (0 at the bottom, 1 at the top), each channel rounded and
  // kept to its low byte.
  TColor At(double t) const {
    return RoundedLowByte(Base[0] + Delta[0] * t) | RoundedLowByte(Base[1] + Delta[1] * t) << 8 |
           RoundedLowByte(Base[2] + Delta[2] * t) << 16;
  }
  // The same as an opaque pixel.
  QRgb PixelAt(double t) const {
    return 0xFF000000u | RoundedLowByte(Base[0] + Delta[0] * t) << 16 | RoundedLowByte(Base[1] + Delta[1] * t) << 8 |
           RoundedLowByte(Base[2] + Delta[2] * t);
  }

  // PixelAt((v - min) scale) of the cells of a row, two at a time (every
  // x86-64 processor has the registers), 0 for a cell without a finite value.
  void Row(const double* v, QRgb* line, int w, bool reversed, double min, double scale) const {
    typedef double TV2 __attribute__((vector_size(16)));
    typedef std::uint64_t TU2 __attribute__((vector_size(16)));
    const TV2 magic = {6755399441055744.0, 6755399441055744.0};
    const auto byte = [&](TV2 x) { return reinterpret_cast<TU2>(x + magic) & 0xFF; };
    int j = 0;
    for (; j + 2 <= w; j += 2) {
      TV2 a;
      std::memcpy(&a, v + j, sizeof a);
      const TV2 t = (a - min) * scale;
      TU2 p = 0xFF000000u | byte(Base[0] + Delta[0] * t) << 16 | byte(Base[1] + Delta[1] * t) << 8 |
              byte(Base[2] + Delta[2] * t);
      // x - x is 0 only for a finite x.
      p &= reinterpret_cast<TU2>((a - a) == 0);
      if (reversed) {
        line[w - 1 - j] = static_cast<QRgb>(p[0]);
        line[w - 2 - j] = static_cast<QRgb>(p[1]);
      } else {
        line[j] = static_cast<QRgb>(p[0]);
        line[j + 1] = static_cast<QRgb>(p[1]);
      }
    }
    for (; j < w; ++j) line[reversed ? w - 1 - j : j] = std::isfinite(v[j]) ? PixelAt((v[j] - min) * scale) : 0;
  }
};

inline QRgb PixelOf(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The indexes a..b (in either order) of the cells that span the values
// between two axis ends, kept to 0..count - 1; false when none is in view.
bool VisibleCells(double fromValue, double toValue, double offset, double step, std::int32_t count,
                  std::int32_t& first, std::int32_t& last) {
  double a = std::nearbyint((fromValue - offset) / step), b = std::nearbyint((toValue - offset) / step);
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  if (a > b) std::swap(a, b);
  if (b < 0 || a > count - 1) return false;
  first = static_cast<std::int32_t>(std::max(a, 0.0));
  last = static_cast<std::int32_t>(std::min(b, count - 1.0));
  return true;
}

}  // namespace

const classlib::TClassInfo& TMtxGridSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtxGridSeries>("TMtxGridSeries", TChartSeries::StaticClassInfo())
          .Property("BottomColor", &TMtxGridSeries::BottomColor, &TMtxGridSeries::SetBottomColor, chart::clWhite)
          .TypeName("TColor")
          .Property("PaletteSteps", &TMtxGridSeries::PaletteSteps, &TMtxGridSeries::SetPaletteSteps, 10)
          .Property("PaletteStyle", &TMtxGridSeries::PaletteStyle, &TMtxGridSeries::SetPaletteStyle, palRange)
          .TypeName("TGridPaletteStyle")
          .Names({"palRange", "palRangeCustom", "palCustom"})
          .Property("TopColor", &TMtxGridSeries::TopColor, &TMtxGridSeries::SetTopColor, chart::clNavy)
          .TypeName("TColor")
          .Property("XOffset", &TMtxGridSeries::XOffset, &TMtxGridSeries::SetXOffset, 0.0)
          .Property("XStep", &TMtxGridSeries::XStep, &TMtxGridSeries::SetXStep, 1.0)
          .Property("YOffset", &TMtxGridSeries::YOffset, &TMtxGridSeries::SetYOffset, 0.0)
          .Property("YStep", &TMtxGridSeries::YStep, &TMtxGridSeries::SetYStep, 1.0)
          .Creatable()
          .Build();
  return info;
}

TMtxGridSeries::TMtxGridSeries(classlib::TComponent* owner)
    : TChartSeries(owner), FMatrix(std::make_unique<numeric::TMtx>()) {
  // One placeholder point stands for the whole grid: it must always be drawn.
  SetCalcVisiblePoints(false);
}

TMtxGridSeries::~TMtxGridSeries() = default;

void TMtxGridSeries::SetTopColor(TColor v) {
  if (v == FTopColor) return;
  FTopColor = v;
  ColorsChanged();
}

void TMtxGridSeries::SetBottomColor(TColor v) {
  if (v == FBottomColor) return;
  FBottomColor = v;
  ColorsChanged();
}

void TMtxGridSeries::SetPaletteSteps(std::int32_t v) {
  v = std::max(v, 2);
  if (v == FPaletteSteps) return;
  FPaletteSteps = v;
  ColorsChanged();
}

void TMtxGridSeries::ColorsChanged() {
  if (FPaletteStyle == palRange && HasCells()) BuildPalette();
  Invalidate();
}

void TMtxGridSeries::SetPaletteStyle(TGridPaletteStyle v) {
  if (v == FPaletteStyle) return;
  FPaletteStyle = v;
  FPalette.clear();
  Invalidate();
}

void TMtxGridSeries::SetMatrix(const numeric::TMtx& source) {
  if (&source != FMatrix.get()) FMatrix->Assign(source);
  // The scale of the previous values would paint the new ones in wrong
  // colours and list a wrong legend: the next pass builds it again.
  FPalette.clear();
  Clear();
  if (HasCells()) Add(0, "", chart::clDefault);
  Invalidate();
}

void TMtxGridSeries::BuildPalette() {
  FPalette.clear();
  // Only finite values span the scale: one NaN must not take the colours
  // of every other cell.
  bool any = false;
  double mn = 0, mx = 0;
  const double* v = FMatrix->Values();
  const std::int64_t n = static_cast<std::int64_t>(FMatrix->Rows()) * FMatrix->Cols();
  if (!FMatrix->Complex()) {
    for (std::int64_t i = 0; i < n; ++i) {
      if (!std::isfinite(v[i])) continue;
      if (!any || v[i] < mn) mn = v[i];
      if (!any || v[i] > mx) mx = v[i];
      any = true;
    }
  }
  FMinValue = mn;
  FMaxValue = mx;
  FSpan = mx - mn;
  FScale = FSpan != 0 && std::isfinite(FSpan) ? 1.0 / FSpan : 0.0;
  if (!any) return;
  const TColorRamp ramp(FBottomColor, FTopColor);
  const double d = 1.0 / (FPaletteSteps - 1);
  FPalette.resize(static_cast<std::size_t>(FPaletteSteps));
  for (std::int32_t i = 0; i < FPaletteSteps; ++i) {
    TGridPaletteEntry& e = FPalette[static_cast<std::size_t>(i)];
    e.Value = i * FSpan * d + mn;
    e.Color = ramp.At(i * d);
  }
}

QImage TMtxGridSeries::RenderCells(std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1,
                                   bool rowsUpward, bool columnsLeftward) const {
  QImage image;
  RenderInto(image, r0, r1, c0, c1, rowsUpward, columnsLeftward);
  return image;
}

void TMtxGridSeries::RenderInto(QImage& image, std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1,
                                bool rowsUpward, bool columnsLeftward) const {
  const int w = c1 - c0 + 1, h = r1 - r0 + 1;
  if (image.width() != w || image.height() != h || image.format() != QImage::Format_ARGB32)
    image = QImage(w, h, QImage::Format_ARGB32);
  const TColorRamp ramp(FBottomColor, FTopColor);
  const QRgb top = PixelOf(chart::ColorToRGB(FTopColor)), bottom = PixelOf(chart::ColorToRGB(FBottomColor));
  constexpr QRgb none = 0;  // no value: the background shows through
  const std::size_t n = FPalette.size();
  std::vector<QRgb> entryPixels(n);
  std::vector<double> entryValues(n);
  for (std::size_t i = 0; i < n; ++i) {
    entryPixels[i] = PixelOf(FPalette[i].Color);
    entryValues[i] = FPalette[i].Value;
  }
  // The stepped scale: f steps per unit of value (n when the entries span nothing).
  const double spanOfEntries = n > 0 ? entryValues.back() - entryValues.front() : 0;
  const double f = spanOfEntries != 0 ? static_cast<double>(n) / spanOfEntries : static_cast<double>(n);
  // One loop a style, so that the colour of a cell is worked out inline.
  const auto fill = [&](auto pixel) {
    for (int k = 0; k < h; ++k) {
      const double* row = FMatrix->Values() + static_cast<std::ptrdiff_t>(r0 + k) * FMatrix->Cols() + c0;
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(rowsUpward ? h - 1 - k : k));
      if (columnsLeftward)
        for (int j = 0; j < w; ++j) line[w - 1 - j] = pixel(row[j]);
      else
        for (int j = 0; j < w; ++j) line[j] = pixel(row[j]);
    }
  };
  switch (FPaletteStyle) {
    case palRange:
      if (FScale == 0)
        fill([&](double v) { return std::isfinite(v) ? top : none; });
      else
        for (int k = 0; k < h; ++k)
          ramp.Row(FMatrix->Values() + static_cast<std::ptrdiff_t>(r0 + k) * FMatrix->Cols() + c0,
                   reinterpret_cast<QRgb*>(image.scanLine(rowsUpward ? h - 1 - k : k)), w, columnsLeftward,
                   FMinValue, FScale);
      break;
    case palRangeCustom:
      fill([&](double v) {
        if (!std::isfinite(v)) return none;
        if (n == 0) return bottom;
        const double i = std::clamp(std::trunc((v - FMinValue) * f), 0.0, static_cast<double>(n - 1));
        return entryPixels[static_cast<std::size_t>(i)];
      });
      break;
    case palCustom:
      fill([&](double v) {
        if (!std::isfinite(v)) return none;
        if (n == 0) return bottom;
        const auto it = std::lower_bound(entryValues.begin(), entryValues.end(), v);
        return entryPixels[it == entryValues.end() ? n - 1 : static_cast<std::size_t>(it - entryValues.begin())];
      });
      break;
  }
}

void TMtxGridSeries::DoBeforeDrawChart() {
  TChartSeries::DoBeforeDrawChart();
  if (HasCells() && FPalette.empty()) BuildPalette();
}

void TMtxGridSeries::DrawAllValues() {
  chart::TCustomAxisPanel* chart = ParentChart();
  const chart::TChartAxis* h = GetHorizAxis();
  const chart::TChartAxis* v = GetVertAxis();
  if (chart == nullptr || h == nullptr || v == nullptr || !HasCells() || FMatrix->Complex()) return;
  std::int32_t c0, c1, r0, r1;
  if (!VisibleCells(h->CalcPosPoint(h->IStartPos()), h->CalcPosPoint(h->IEndPos()), FXOffset, FXStep,
                    FMatrix->Cols(), c0, c1) ||
      !VisibleCells(v->CalcPosPoint(v->IStartPos()), v->CalcPosPoint(v->IEndPos()), FYOffset, FYStep,
                    FMatrix->Rows(), r0, r1))
    return;
  // The outer borders of the first and last cells in view, in pixels.
  const auto within = [](double x, double a, double b) { return std::clamp(x, std::min(a, b), std::max(a, b)); };
  const double minX = MinXValue(), maxX = MaxXValue(), minY = MinYValue(), maxY = MaxYValue();
  const std::int32_t x0 = h->CalcXPosValue(within((c0 - 0.5) * FXStep + FXOffset, minX, maxX));
  const std::int32_t x1 = h->CalcXPosValue(within((c1 + 0.5) * FXStep + FXOffset, minX, maxX));
  const std::int32_t y0 = v->CalcYPosValue(within((r0 - 0.5) * FYStep + FYOffset, minY, maxY));
  const std::int32_t y1 = v->CalcYPosValue(within((r1 + 0.5) * FYStep + FYOffset, minY, maxY));
  if (x0 == x1 || y0 == y1) return;
  // The image is laid out as the screen shows it: row r0 at the bottom when
  // the vertical axis grows upwards, column c0 on the right when the
  // horizontal one grows leftwards.
  RenderInto(FImage, r0, r1, c0, c1, y0 > y1, x0 > x1);
  const chart::TBitmap bitmap(FImage);
  chart->Canvas().StretchDraw({std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)}, &bitmap);
}

double TMtxGridSeries::MinXValue() const {
  return FMatrix->Cols() > 0 && FMatrix->Rows() > 0 ? -0.5 * FXStep + FXOffset : FXOffset;
}

double TMtxGridSeries::MaxXValue() const {
  return FMatrix->Cols() > 0 && FMatrix->Rows() > 0 ? (FMatrix->Cols() - 0.5) * FXStep + FXOffset : FXOffset;
}

double TMtxGridSeries::MinYValue() const {
  return FMatrix->Cols() > 0 && FMatrix->Rows() > 0 ? -0.5 * FYStep + FYOffset : FYOffset;
}

double TMtxGridSeries::MaxYValue() const {
  return FMatrix->Cols() > 0 && FMatrix->Rows() > 0 ? (FMatrix->Rows() - 0.5) * FYStep + FYOffset : FYOffset;
}

int TMtxGridSeries::Clicked(std::int32_t x, std::int32_t y) {
  const chart::TChartAxis* h = GetHorizAxis();
  const chart::TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr || !HasCells()) return -1;
  const double c = std::nearbyint((h->CalcPosPoint(x) - FXOffset) / FXStep);
  const double r = std::nearbyint((v->CalcPosPoint(y) - FYOffset) / FYStep);
  if (!(c >= 0 && c < FMatrix->Cols() && r >= 0 && r < FMatrix->Rows())) return -1;
  return static_cast<int>(r) * FMatrix->Cols() + static_cast<int>(c);
}

const TGridPaletteEntry* TMtxGridSeries::LegendEntry(int index) const {
  const int n = static_cast<int>(FPalette.size());
  if (index < 0 || index >= n) return nullptr;
  return &FPalette[static_cast<std::size_t>(n - 1 - index)];
}

TColor TMtxGridSeries::LegendItemColor(int index) const {
  const TGridPaletteEntry* e = LegendEntry(index);
  return e != nullptr ? e->Color : SeriesColor();
}

std::string TMtxGridSeries::LegendString(int legendIndex, chart::TLegendTextStyle style) const {
  (void)style;
  const TGridPaletteEntry* e = LegendEntry(legendIndex);
  return e != nullptr ? numeric::SampleToStr(e->Value, ValueFormat()) : std::string();
}

void TMtxGridSeries::Assign(const classlib::TPersistent& source) {
  if (const auto* s = dynamic_cast<const TMtxGridSeries*>(&source)) {
    FTopColor = s->FTopColor;
    FBottomColor = s->FBottomColor;
    FPaletteSteps = s->FPaletteSteps;
    FPaletteStyle = s->FPaletteStyle;
    FXOffset = s->FXOffset;
    FXStep = s->FXStep;
    FYOffset = s->FYOffset;
    FYStep = s->FYStep;
    if (s != this) FMatrix->Assign(*s->FMatrix);
    FPalette.clear();
  }
  TChartSeries::Assign(source);
}

}  // namespace analysis_ui
