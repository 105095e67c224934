// The colour band and grid band tools.
//
// Tested by: chart/tests/BandToolsTest.cpp
#include "chart/tools/BandTools.h"

#include <algorithm>
#include <utility>

#include "chart/ChartControl.h"
#include "chart/canvas/StyleDrawing.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- colour band --------------------------------------------------------------

const TClassInfo& TColorBandTool::StaticClassInfo() {
  using C = TColorBandTool;
  static const TClassInfo info = TClassBuilder<C>("TColorBandTool", TKivCustomToolAxis::StaticClassInfo())
                                     .Property("Color", &C::Color, &C::SetColor, clWhite)
                                     .TypeName("TColor")
                                     .Property("DrawBehind", &C::DrawBehind, &C::SetDrawBehind, true)
                                     .Property("EndValue", &C::EndValue, &C::SetEndValue, 0.0)
                                     .SubObject("Gradient", &C::Gradient)
                                     .TypeName("TKivGradient")
                                     .Property("StartValue", &C::StartValue, &C::SetStartValue, 0.0)
                                     .Property("Transparency", &C::Transparency, &C::SetTransparency, 0)
                                     .TypeName("TKivTransparency")
                                     .Creatable()
                                     .Build();
  return info;
}

TColorBandTool::TColorBandTool(classlib::TComponent* owner)
    : TKivCustomToolAxis(owner), FGradient(std::make_unique<TKivGradient>([this] { Invalidate(); })) {}

TColorBandTool::~TColorBandTool() = default;

bool TColorBandTool::BandRect(TRect& r) const {
  const TChartAxis* a = Axis();
  const TCustomAxisPanel* chart = ParentChart();
  if (a == nullptr || chart == nullptr) return false;
  const double low = std::min(FStartValue, FEndValue), high = std::max(FStartValue, FEndValue);
  if (a->Maximum() < low || high < a->Minimum()) return false;
  const std::int32_t first = std::min(a->IStartPos(), a->IEndPos()), last = std::max(a->IStartPos(), a->IEndPos());
  std::int32_t p0 = std::clamp(a->CalcPosValue(low), first, last);
  std::int32_t p1 = std::clamp(a->CalcPosValue(high), first, last);
  if (p0 > p1) std::swap(p0, p1);
  const TRect& c = chart->ChartRect();
  const bool noPen = !Pen()->Visible();
  if (a->Horizontal()) {
    r = {p0, c.Top, p1, c.Bottom};
    if (noPen) ++r.Right;
  } else {
    r = {c.Left + 1, p0, c.Right, p1};
    if (noPen) {
      ++r.Bottom;
      ++r.Right;
    }
  }
  return true;
}

void TColorBandTool::DrawBand() {
  TRect r;
  if (!BandRect(r)) return;
  TCustomAxisPanel& chart = *ParentChart();
  TCanvas3D& c = chart.Canvas();
  const bool is3D = chart.View3D();
  const std::int32_t z = FDrawBehind ? chart.Width3D() : 0;
  c.AssignBrush(*Brush(), FColor);
  c.AssignVisiblePen(*Pen());
  if (FGradient->Visible()) {
    const TRect inner{r.Left + 1, r.Top + 1, r.Right, r.Bottom};
    DrawGradient(c, *FGradient, is3D ? c.Calculate3DPosition(inner, z) : inner);
    c.Brush().SetStyle(bsClear);
  }
  auto draw = [&] {
    if (is3D)
      c.RectangleWithZ(r, z);
    else
      c.Rectangle(r);
  };
  if (FTransparency == 0) {
    draw();
    return;
  }
  auto blend = c.BeginBlending(is3D ? c.RectFromRectZ(r, z) : r, FTransparency);
  draw();
  c.EndBlending(std::move(blend));
}

void TColorBandTool::ChartEvent(TChartToolEvent event) {
  if (Axis() == nullptr || ParentChart() == nullptr) return;
  if (event == (FDrawBehind ? cteBeforeDrawSeries : cteAfterDraw)) DrawBand();
}

// --- grid band ----------------------------------------------------------------

const TClassInfo& TGridBandBrush::StaticClassInfo() {
  using C = TGridBandBrush;
  static const TClassInfo info = TClassBuilder<C>("TGridBandBrush", TChartBrush::StaticClassInfo())
                                     .Property("BackColor", &C::BackColor, &C::SetBackColor, clNone)
                                     .TypeName("TColor")
                                     .Property("Transparency", &C::Transparency, &C::SetTransparency, 0)
                                     .TypeName("TKivTransparency")
                                     .Build();
  return info;
}

TGridBandBrush::TGridBandBrush(TNotifyEvent onChange) : TChartBrush(std::move(onChange)) {}

void TGridBandBrush::SetBackColor(TColor v) {
  if (FBackColor == v) return;
  FBackColor = v;
  Changed();
}

void TGridBandBrush::SetTransparency(TKivTransparency v) {
  if (FTransparency == v) return;
  FTransparency = v;
  Changed();
}

void TGridBandBrush::Assign(const classlib::TPersistent& source) {
  if (auto* b = dynamic_cast<const TGridBandBrush*>(&source)) {
    FBackColor = b->FBackColor;
    FTransparency = b->FTransparency;
  }
  TChartBrush::Assign(source);
}

const TClassInfo& TGridBandTool::StaticClassInfo() {
  using C = TGridBandTool;
  static const TClassInfo info = TClassBuilder<C>("TGridBandTool", TKivCustomToolAxis::StaticClassInfo())
                                     .SubObject("Band1", &C::Band1)
                                     .TypeName("TGridBandBrush")
                                     .SubObject("Band2", &C::Band2)
                                     .TypeName("TGridBandBrush")
                                     .Creatable()
                                     .Build();
  return info;
}

TGridBandTool::TGridBandTool(classlib::TComponent* owner)
    : TKivCustomToolAxis(owner),
      FBand1(std::make_unique<TGridBandBrush>([this] { Invalidate(); })),
      FBand2(std::make_unique<TGridBandBrush>([this] { Invalidate(); })) {}

TGridBandTool::~TGridBandTool() {
  if (Axis() != nullptr) Axis()->BeforeDrawGrid = nullptr;
}

void TGridBandTool::SetAxis(TChartAxis* axis) {
  if (Axis() != nullptr && Axis() != axis) Axis()->BeforeDrawGrid = nullptr;
  TKivCustomToolAxis::SetAxis(axis);
  if (axis != nullptr) axis->BeforeDrawGrid = [this](TChartAxis& a) { DrawGrids(a); };
}

void TGridBandTool::DrawStripe(TChartAxis& axis, const TGridBandBrush& band, std::int32_t pos0, std::int32_t pos1) {
  if (band.Style() == bsClear) return;
  TCustomAxisPanel& chart = *ParentChart();
  TCanvas3D& c = chart.Canvas();
  TColor back = band.BackColor();
  if (back == clNone)
    if (auto* full = dynamic_cast<TCustomChart*>(&chart)) back = full->BackWall()->Color();
  c.AssignBrushColor(band, band.Color(), back);
  c.Pen().SetStyle(psClear);
  if (pos0 > pos1) std::swap(pos0, pos1);
  const TRect& cr = chart.ChartRect();
  const TRect r = axis.Horizontal() ? TRect{pos0, cr.Top, pos1, cr.Bottom} : TRect{cr.Left + 1, pos0, cr.Right, pos1 + 1};
  const bool is3D = chart.View3D();
  const std::int32_t depth = chart.Width3D();
  std::unique_ptr<TKivBlend> blend;
  if (band.Transparency() > 0) blend = c.BeginBlending(is3D ? c.RectFromRectZ(r, depth) : r, band.Transparency());
  if (is3D)
    c.RectangleWithZ(r, depth);
  else
    c.Rectangle(r.Left, r.Top, r.Right, r.Bottom + 1);
  if (blend) c.EndBlending(std::move(blend));
}

void TGridBandTool::DrawGrids(TChartAxis& axis) {
  if (!Active() || ParentChart() == nullptr) return;
  const std::vector<std::int32_t>& ticks = axis.Tick();
  const std::size_t n = ticks.size();
  const bool band1 = FBand1->Style() != bsClear, band2 = FBand2->Style() != bsClear;
  if (n == 0 || !((n >= 2 && band1) || band2)) return;
  const TGridBandBrush* current = FBand1.get();
  auto alternate = [&] { current = current == FBand1.get() ? FBand2.get() : FBand1.get(); };
  const bool horizontal = axis.Horizontal();
  // The labels run from the axis' maximum down: the first grid line lies at the
  // end of a horizontal axis and at the start (top) of a vertical one.
  if (horizontal ? ticks.front() < axis.IEndPos() : axis.IStartPos() < ticks.front()) {
    DrawStripe(axis, *current, horizontal ? axis.IEndPos() : axis.IStartPos(), ticks.front());
    alternate();
  }
  for (std::size_t i = 1; i < n; ++i) {
    DrawStripe(axis, *current, ticks[i - 1], ticks[i]);
    alternate();
  }
  if (horizontal ? axis.IStartPos() < ticks.back() : ticks.back() < axis.IEndPos())
    DrawStripe(axis, *current, ticks.back(), horizontal ? axis.IStartPos() : axis.IEndPos());
}

}  // namespace chart
