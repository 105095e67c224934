// Error, error-bar and high-low series.
//
// Tested by: chart/tests/ErrorSeriesTest.cpp
#include "chart/series/ErrorSeries.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProCo.h"
#include "chart/series/SeriesLines.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCustomErrorSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomErrorSeries>("TCustomErrorSeries", TBarSeries::StaticClassInfo())
          .SubObject("ErrorPen", &TCustomErrorSeries::ErrorPen)
          .TypeName("TChartPen")
          .SubObject("ErrorValues", &TCustomErrorSeries::ErrorValues)
          .TypeName("TChartValueList")
          .Property("ErrorWidth", &TCustomErrorSeries::ErrorWidth, &TCustomErrorSeries::SetErrorWidth, 100)
          .Property("ErrorWidthUnits", &TCustomErrorSeries::ErrorWidthUnits, &TCustomErrorSeries::SetErrorWidthUnits,
                    ewuPercent)
          .TypeName("TErrorWidthUnits")
          .Names({"ewuPercent", "ewuPixels"})
          .Build();
  return info;
}

TCustomErrorSeries::TCustomErrorSeries(classlib::TComponent* owner)
    : TBarSeries(owner), FErrorPen(std::make_unique<TChartPen>([this] { ElementChanged(); })) {
  FErrorValues = new TChartValueList(this, KivMsg(KivProMessageFirst + 62));
  Marks()->SetVisible(false);
}

TCustomErrorSeries::~TCustomErrorSeries() = default;

void TCustomErrorSeries::SetErrorPen(const TChartPen& v) {
  FErrorPen->Assign(v);
  if (!FDrawBar) SetSeriesColor(v.Color());
}

void TCustomErrorSeries::SetSeriesColor(TColor v) {
  TBarSeries::SetSeriesColor(v);
  if (!FDrawBar) FErrorPen->SetColor(v);
}

void TCustomErrorSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCustomErrorSeries*>(&source)) {
    FErrorStyle = s->FErrorStyle;
    FErrorWidth = s->FErrorWidth;
    FErrorWidthUnits = s->FErrorWidthUnits;
    FErrorPen->Assign(*s->FErrorPen);
  }
  TBarSeries::Assign(source);
}

int TCustomErrorSeries::AddErrorBar(double x, double y, double error, const std::string& label, TColor color) {
  FErrorValues->TempValue = error;
  return AddXY(x, y, label, color);
}

double TCustomErrorSeries::MaxYValue() const {
  if (!FDrawBar) {
    if (Count() == 0) return 0;
    double m = YValues()->Value(0) + FErrorValues->Value(0);
    for (int i = 1; i < Count(); ++i) m = std::max(m, YValues()->Value(i) + FErrorValues->Value(i));
    return m;
  }
  double m = TBarSeries::MaxYValue();
  for (int i = 0; i < Count(); ++i) {
    const double y = YValues()->Value(i), e = FErrorValues->Value(i);
    m = std::max(m, y >= 0 ? y + e : y - e);
  }
  return m;
}

double TCustomErrorSeries::MinYValue() const {
  if (!FDrawBar) {
    if (Count() == 0) return 0;
    double m = YValues()->Value(0) - FErrorValues->Value(0);
    for (int i = 1; i < Count(); ++i) m = std::min(m, YValues()->Value(i) - FErrorValues->Value(i));
    return m;
  }
  double m = TBarSeries::MinYValue();
  for (int i = 0; i < Count(); ++i) {
    const double y = YValues()->Value(i), e = FErrorValues->Value(i);
    m = std::min(m, y >= 0 ? y + e : y - e);
  }
  return m;
}

void TCustomErrorSeries::CalcHorizMargins(std::int32_t& left, std::int32_t& right) {
  TBarSeries::CalcHorizMargins(left, right);
  const std::int32_t w = FErrorPen->Width();
  if (FErrorStyle == essLeft || FErrorStyle == essLeftRight) left = std::max(left, w);
  if (FErrorStyle == essRight || FErrorStyle == essLeftRight) right = std::max(right, w);
}

void TCustomErrorSeries::CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) {
  TBarSeries::CalcVerticalMargins(top, bottom);
  const std::int32_t w = FErrorPen->Width();
  if (FErrorStyle == essTop || FErrorStyle == essTopBottom) top = std::max(top, w);
  if (FErrorStyle == essBottom || FErrorStyle == essTopBottom) bottom = std::max(bottom, w);
}

void TCustomErrorSeries::DrawWhiskers(std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t width,
                                      bool is3D) {
  TCanvas3D& c = ParentChart()->Canvas();
  auto h = [&](std::int32_t x0, std::int32_t x1, std::int32_t yy) { SeriesHorizLine(c, is3D, x0, x1, yy, MiddleZ); };
  auto v = [&](std::int32_t xx, std::int32_t y0, std::int32_t y1) { SeriesVertLine(c, is3D, xx, y0, y1, MiddleZ); };
  auto horizontal = [&](std::int32_t end) {
    h(x, end, y);
    v(end, y - width / 2, y + width / 2);
  };
  auto vertical = [&](std::int32_t end) {
    v(x, y, end);
    h(x - width / 2, x + width / 2, end);
  };
  switch (FErrorStyle) {
    case essLeft: horizontal(x - length); break;
    case essRight: horizontal(x + length); break;
    case essLeftRight:
      horizontal(x - length);
      horizontal(x + length);
      break;
    case essTop: vertical(y - length); break;
    case essBottom: vertical(y + length); break;
    case essTopBottom:
      vertical(y - length);
      vertical(y + length);
      break;
  }
}

void TCustomErrorSeries::DrawBar(int i, std::int32_t start, std::int32_t end) {
  if (FDrawBar) TBarSeries::DrawBar(i, start, end);
  const double error = FErrorValues->Value(i);
  if (!FErrorPen->Visible() || error == 0) return;
  TCustomAxisPanel* chart = ParentChart();
  const TRect& bar = BarBounds();
  const std::int32_t barWidth = bar.Right - bar.Left;
  std::int32_t w = barWidth;
  if (FErrorWidth != 0) w = FErrorWidthUnits == ewuPercent ? Round(FErrorWidth * barWidth * 0.01) : FErrorWidth;
  const bool verticalStyle = FErrorStyle >= essTop;
  TChartAxis* axis = verticalStyle ? GetVertAxis() : GetHorizAxis();
  const double y = YValues()->Value(i);
  const std::int32_t py = GetVertAxis()->CalcYPosValue(y);
  std::int32_t length = axis->CalcSizeValue(std::fabs(error));
  if (FDrawBar && y < YOrigin()) length = -length;
  TCanvas3D& c = chart->Canvas();
  c.AssignVisiblePenColor(*FErrorPen, FDrawBar ? FErrorPen->Color() : ValueColor(i));
  c.SetBackMode(TRANSPARENT);
  DrawWhiskers((bar.Left + bar.Right) / 2, py, length, w, chart->View3D());
}

void TCustomErrorSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  (void)valueIndex;
  TCanvas3D& c = ParentChart()->Canvas();
  c.AssignVisiblePenColor(*FErrorPen, FDrawBar ? FErrorPen->Color() : SeriesColor());
  DrawWhiskers((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2, rect.Height() / 2 - 1, rect.Width(), false);
}

void TCustomErrorSeries::AddSampleValues(int numValues) {
  const TSampleBounds b = CalcRandomBounds(numValues);
  for (int i = 0; i < numValues; ++i)
    AddErrorBar(b.XMin + b.Step * i, SampleRandom(Round(b.YRange)), b.YRange / (SampleRandom(4) + 20));
}

void TCustomErrorSeries::PrepareForGallery(bool enabled) {
  TBarSeries::PrepareForGallery(enabled);
  FErrorPen->SetColor(enabled ? clRed : clWhite);
  TChartSeries::SetSeriesColor(enabled ? clBlue : clSilver);
}

const TClassInfo& TErrorSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TErrorSeries>("TErrorSeries", TCustomErrorSeries::StaticClassInfo())
          .Property("ErrorStyle", &TErrorSeries::ErrorStyle, &TErrorSeries::SetErrorStyle, essTopBottom)
          .TypeName("TErrorSeriesStyle")
          .Names({"essLeft", "essRight", "essLeftRight", "essTop", "essBottom", "essTopBottom"})
          .Creatable()
          .Build();
  return info;
}

const TClassInfo& TErrorBarSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TErrorBarSeries>("TErrorBarSeries", TCustomErrorSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

TErrorBarSeries::TErrorBarSeries(classlib::TComponent* owner) : TCustomErrorSeries(owner) {
  InitDrawBar(true);
  SetErrorStyle(essTop);
}

void TErrorBarSeries::PrepareForGallery(bool enabled) {
  ErrorPen()->SetWidth(2);
  TCustomErrorSeries::PrepareForGallery(enabled);
}

// --- high-low -------------------------------------------------------------------

const TClassInfo& THighLowSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<THighLowSeries>("THighLowSeries", TChartSeries::StaticClassInfo())
          .SubObject("HighBrush", &THighLowSeries::HighBrush)
          .TypeName("TChartBrush")
          .SubObject("HighPen", &THighLowSeries::HighPen)
          .TypeName("TChartPen")
          .SubObject("HighValues", &THighLowSeries::HighValues)
          .TypeName("TChartValueList")
          .SubObject("LowBrush", &THighLowSeries::LowBrush)
          .TypeName("TChartBrush")
          .SubObject("LowPen", &THighLowSeries::LowPen)
          .TypeName("TChartPen")
          .SubObject("LowValues", &THighLowSeries::LowValues)
          .TypeName("TChartValueList")
          .Property("Transparency", &THighLowSeries::Transparency, &THighLowSeries::SetTransparency, 0)
          .Creatable()
          .Build();
  return info;
}

THighLowSeries::THighLowSeries(classlib::TComponent* owner)
    : TChartSeries(owner),
      FHighPen(std::make_unique<TChartPen>([this] { ElementChanged(); })),
      FLowPen(std::make_unique<TChartPen>([this] { ElementChanged(); })),
      FLowBrush(std::make_unique<TChartBrush>([this] { ElementChanged(); })) {
  FLow = new TChartValueList(this, KivMsg(97));
  Brush()->SetStyle(bsClear);
  FLowBrush->SetStyle(bsClear);
  Pen()->InitColor(clDefault);
}

THighLowSeries::~THighLowSeries() = default;

void THighLowSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const THighLowSeries*>(&source)) {
    FHighPen->Assign(*s->FHighPen);
    FLowPen->Assign(*s->FLowPen);
    FLowBrush->Assign(*s->FLowBrush);
    FTransparency = s->FTransparency;
  }
  TChartSeries::Assign(source);
}

int THighLowSeries::AddHighLow(double x, double high, double low) {
  FLow->TempValue = low;
  return AddXY(x, high);
}

double THighLowSeries::MaxYValue() const { return std::max(YValues()->MaxValue(), FLow->MaxValue()); }
double THighLowSeries::MinYValue() const { return std::min(YValues()->MinValue(), FLow->MinValue()); }

bool THighLowSeries::IsValidSeriesSource(const TChartSeries& source) const {
  return &source != this && dynamic_cast<const THighLowSeries*>(&source) != nullptr;
}

void THighLowSeries::DrawValue(int i) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || GetVertAxis() == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  const std::int32_t x = CalcXPos(i), high = CalcYPos(i), low = GetVertAxis()->CalcYPosValue(FLow->Value(i));
  const bool first = i == (DrawValuesForward() ? FirstValueIndex() : LastValueIndex());
  if (!first) {
    const TColor color = ValueColor(i);
    const TChartBrush& brush = YValues()->Value(i) <= FLow->Value(i) ? *FLowBrush : *HighBrush();
    if (brush.Style() != bsClear) {
      const std::array<TPoint, 4> quad = {TPoint{FOldX, FOldHigh}, TPoint{FOldX, FOldLow}, TPoint{x, low},
                                          TPoint{x, high}};
      c.AssignBrushColor(brush, color, clNone);
      c.Pen().SetStyle(psClear);
      std::unique_ptr<TKivBlend> blend;
      if (FTransparency > 0) {
        TRect r{quad[0].X, quad[0].Y, quad[0].X, quad[0].Y};
        for (const TPoint& q0 : quad) {
          const TPoint q = is3D ? c.Calculate3DPosition(q0, MiddleZ) : q0;
          r = {std::min(r.Left, q.X), std::min(r.Top, q.Y), std::max(r.Right, q.X + 1), std::max(r.Bottom, q.Y + 1)};
        }
        blend = c.BeginBlending(r, FTransparency);
      }
      if (is3D)
        c.PolygonWithZ(quad, MiddleZ);
      else
        c.Polygon(quad);
      if (blend) c.EndBlending(std::move(blend));
    }
    auto line = [&](const TChartPen& pen, std::int32_t y0, std::int32_t y1) {
      if (!pen.Visible()) return;
      c.AssignVisiblePen(pen);
      if (is3D)
        c.LineWithZ(FOldX, y0, x, y1, MiddleZ);
      else
        c.Line(FOldX, y0, x, y1);
    };
    line(*FHighPen, FOldHigh, high);
    line(*FLowPen, FOldLow, low);
    if (Pen()->Visible()) {
      c.AssignVisiblePenColor(*Pen(), Pen()->Color() == clDefault ? color : Pen()->Color());
      SeriesVertLine(c, is3D, FOldX, FOldHigh, FOldLow, MiddleZ);
    }
  }
  FOldX = x;
  FOldHigh = high;
  FOldLow = low;
}

void THighLowSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TChartSeries::ListSubStyles(callback);
  for (int m : {182, 195, int(msgSubStyleNoHigh), int(msgSubStyleNoLow)}) callback(KivMsg(m));
}

void THighLowSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: HighBrush()->SetStyle(bsSolid); break;
    case 2: Pen()->SetVisible(false); break;
    case 3: FHighPen->SetVisible(false); break;
    case 4: FLowPen->SetVisible(false); break;
    default: TChartSeries::ApplySubStyle(subStyle);
  }
}

void THighLowSeries::AddSampleValues(int numValues) {
  const TSampleBounds b = CalcRandomBounds(numValues);
  double high = b.YMin + SampleRandomReal(b.YRange);
  for (int i = 0; i < numValues; ++i) {
    AddHighLow(b.XMin + b.Step * i, high, high - SampleRandomReal(b.YRange / 5));
    high = std::fabs(high + SampleRandomReal(b.YRange / 10) - b.YRange / 20);
  }
}

}  // namespace chart
