// The discrete and high-low signal series: their drawing passes, extremes,
// Z order and registration.
//
// Tested by: analysis_ui/tests/SignalSeriesTest.cpp
#include "analysis_ui/SignalSeriesKiv.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivCanvas.h"
#include "chart/core/KivConst.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesRegistry.h"
#include "platform/classlib/ClassRegistry.h"

namespace analysis_ui {

using chart::TColor;
using chart::TPoint;

// --- discrete series ----------------------------------------------------------

const classlib::TClassInfo& TSignalDiscreteSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalDiscreteSeries>("TSignalDiscreteSeries", chart::TPointSeries::StaticClassInfo())
          .Property("UseYOrigin", &TSignalDiscreteSeries::UseYOrigin, &TSignalDiscreteSeries::SetUseYOrigin, false)
          .Property("YOrigin", &TSignalDiscreteSeries::YOrigin, &TSignalDiscreteSeries::SetYOrigin, 0.0)
          .Creatable()
          .Build();
  return info;
}

TSignalDiscreteSeries::TSignalDiscreteSeries(classlib::TComponent* AOwner) : chart::TPointSeries(AOwner) {}

void TSignalDiscreteSeries::SetUseYOrigin(bool Value) { chart::StoreAndInvalidate(*this, FUseYOrigin, Value); }

void TSignalDiscreteSeries::SetYOrigin(double Value) {
  // The origin joins the vertical range and every stem: a NaN or an infinity
  // would leave no range to draw in.
  if (!std::isfinite(Value)) throw chart::ChartException("YOrigin must be a finite number");
  chart::StoreAndInvalidate(*this, FYOrigin, Value);
}

void TSignalDiscreteSeries::Assign(const classlib::TPersistent& Source) {
  chart::TPointSeries::Assign(Source);
  if (const auto* s = dynamic_cast<const TSignalDiscreteSeries*>(&Source)) {
    FUseYOrigin = s->FUseYOrigin;
    FYOrigin = s->FYOrigin;
  }
}

std::int32_t TSignalDiscreteSeries::OriginPos() const {
  const chart::TChartAxis* axis = GetVertAxis();
  if (axis == nullptr) return 0;
  return FUseYOrigin ? axis->CalcYPosValue(FYOrigin) : axis->IEndPos() - 1;
}

void TSignalDiscreteSeries::CalcZOrder() {
  if (FFixedZOrder < 0 || ParentChart() == nullptr) {
    chart::TPointSeries::CalcZOrder();
    return;
  }
  SetAutoZOrder(FFixedZOrder);
}

bool TSignalDiscreteSeries::MoreSameZOrder() const {
  return FFixedZOrder >= 0 ? false : chart::TPointSeries::MoreSameZOrder();
}

void TSignalDiscreteSeries::DrawAllValues() {
  chart::TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || GetVertAxis() == nullptr || FirstValueIndex() < 0) return;
  struct TStem {
    std::int32_t X, Y;
    TColor Color;
    int Index;
  };
  std::vector<TStem> stems;
  stems.reserve(static_cast<std::size_t>(LastValueIndex() - FirstValueIndex() + 1));
  const std::int32_t origin = OriginPos();
  for (int i = FirstValueIndex(); i <= LastValueIndex(); ++i)
    stems.push_back({CalcXPos(i), CalcYPos(i), ValueColor(i), i});
  chart::TCanvas3D& c = chart->Canvas();
  // All stems first, so that no stem crosses a neighbour's pointer.
  if (LinePen()->Visible())
    for (const TStem& s : stems) {
      if (s.Color == chart::clNone) continue;
      c.AssignVisiblePenColor(*LinePen(), s.Color);
      c.VertLine3D(s.X, s.Y, origin, StartZ);
    }
  if (Pointer()->Visible())
    for (const TStem& s : stems)
      if (s.Color != chart::clNone) DrawPointer(s.X, s.Y, s.Color, s.Index);
}

double TSignalDiscreteSeries::MaxYValue() const {
  const double inherited = chart::TPointSeries::MaxYValue();
  return FUseYOrigin ? std::max(inherited, FYOrigin) : inherited;
}

double TSignalDiscreteSeries::MinYValue() const {
  const double inherited = chart::TPointSeries::MinYValue();
  return FUseYOrigin ? std::min(inherited, FYOrigin) : inherited;
}

// --- high-low series ----------------------------------------------------------

const classlib::TClassInfo& TSignalHighLowSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalHighLowSeries>("TSignalHighLowSeries", chart::THighLowSeries::StaticClassInfo())
          .Property("SeriesMode", &TSignalHighLowSeries::SeriesMode, &TSignalHighLowSeries::SetSeriesMode, ssmHighLow)
          .Names({"ssmHighLow", "ssmLine"})
          .Creatable()
          .Build();
  return info;
}

TSignalHighLowSeries::TSignalHighLowSeries(classlib::TComponent* AOwner) : chart::THighLowSeries(AOwner) {
  HighBrush()->SetStyle(chart::bsSolid);
}

void TSignalHighLowSeries::SetSeriesMode(TSignalSeriesMode Value) {
  // A stream's number that names no mode is read as the band.
  if (Value != ssmLine) Value = ssmHighLow;
  chart::StoreAndInvalidate(*this, FSeriesMode, Value);
}

void TSignalHighLowSeries::Assign(const classlib::TPersistent& Source) {
  chart::THighLowSeries::Assign(Source);
  if (const auto* s = dynamic_cast<const TSignalHighLowSeries*>(&Source)) FSeriesMode = s->FSeriesMode;
}

double TSignalHighLowSeries::MaxYValue() const {
  return FSeriesMode == ssmLine ? HighValues()->MaxValue() : chart::THighLowSeries::MaxYValue();
}

double TSignalHighLowSeries::MinYValue() const {
  return FSeriesMode == ssmLine ? HighValues()->MinValue() : chart::THighLowSeries::MinYValue();
}

void TSignalHighLowSeries::DrawAllValues() {
  chart::TCustomAxisPanel* chart = ParentChart();
  const chart::TChartAxis* vert = GetVertAxis();
  if (chart == nullptr || vert == nullptr || FirstValueIndex() < 0) return;
  chart::TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  const int first = FirstValueIndex();
  const std::size_t n = static_cast<std::size_t>(LastValueIndex() - first + 1);
  auto screen = [&](std::int32_t x, std::int32_t y) {
    return is3D ? c.Calculate3DPosition(x, y, MiddleZ) : TPoint{x, y};
  };
  // A null point breaks the band and both lines, as it breaks a line series.
  std::vector<bool> shown(n);
  std::vector<TPoint> high(n);
  for (std::size_t k = 0; k < n; ++k) {
    const int i = first + static_cast<int>(k);
    shown[k] = !IsNull(i);
    high[k] = screen(CalcXPos(i), CalcYPos(i));
  }
  // Lines along the points, one polyline for each run without a null point.
  auto drawRuns = [&](const std::vector<TPoint>& points) {
    std::size_t k = 0;
    while (k < n) {
      while (k < n && !shown[k]) ++k;
      std::size_t end = k;
      while (end < n && shown[end]) ++end;
      if (end - k >= 2) DrawPolyline(c, points, k, end - k);
      k = end;
    }
  };

  if (FSeriesMode == ssmLine) {
    if (!Pen()->Visible()) return;
    c.AssignVisiblePenColor(*Pen(), Pen()->Color() == chart::clDefault ? SeriesColor() : Pen()->Color());
    drawRuns(high);
    return;
  }

  // Low values written apart from the high ones (a direct write of the value
  // lists) cannot be paired with them: the band then runs down to zero.
  if (LowValues()->Count() != Count()) {
    LowValues()->SetCount(Count());
    std::ranges::fill(LowValues()->WritableValues(), 0.0);
  }
  std::vector<TPoint> low(n);
  for (std::size_t k = 0; k < n; ++k) {
    const int i = first + static_cast<int>(k);
    low[k] = screen(CalcXPos(i), vert->CalcYPosValue(LowValues()->Value(i)));
  }
  if (n >= 2) {
    const TColor color = ValueColor(first + 1);
    c.AssignBrushColor(*HighBrush(), color, chart::clNone);
    if (HighBrush()->Style() != chart::bsClear)
      c.Pen().SetStyle(chart::psClear);
    else
      // An open band shows its segments' outlines in the series pen.
      c.AssignVisiblePenColor(*Pen(), Pen()->Color() == chart::clDefault ? color : Pen()->Color());
    for (std::size_t k = 0; k + 1 < n; ++k) {
      if (!shown[k] || !shown[k + 1]) continue;
      const TPoint quad[4] = {high[k], high[k + 1], low[k + 1], low[k]};
      c.Polygon(quad);
    }
  }
  if (HighPen()->Visible()) {
    c.AssignVisiblePen(*HighPen());
    drawRuns(high);
  }
  if (LowPen()->Visible()) {
    c.AssignVisiblePen(*LowPen());
    drawRuns(low);
  }
}

void DrawPolyline(chart::TCanvas3D& Canvas, std::span<const TPoint> Points, std::size_t Index, std::size_t Len) {
  if (Index > Points.size() || Len > Points.size() - Index)
    throw chart::ChartException("(Len+Index) > Length(Points)");
  Canvas.Polyline(Points.subspan(Index, Len));
}

// --- registration -------------------------------------------------------------

void RegisterSignalSeriesKiv() {
  chart::RegisterSeriesType(TSignalDiscreteSeries::StaticClassInfo(), "Signal point", "DSP", 2);
  chart::RegisterSeriesType(TSignalHighLowSeries::StaticClassInfo(), "Signal high-low", "DSP", 2);
}

void UnregisterSignalSeriesKiv() {
  chart::UnregisterSeriesTypes({&TSignalDiscreteSeries::StaticClassInfo(), &TSignalHighLowSeries::StaticClassInfo()});
  classlib::UnRegisterClass(TSignalDiscreteSeries::StaticClassInfo());
  classlib::UnRegisterClass(TSignalHighLowSeries::StaticClassInfo());
}

}  // namespace analysis_ui
