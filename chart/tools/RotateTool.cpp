// The rotate tool.
//
// Tested by: chart/tests/RotateToolTest.cpp
#include "chart/tools/RotateTool.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TRotateTool::StaticClassInfo() {
  using C = TRotateTool;
  static const TClassInfo info = TClassBuilder<C>("TRotateTool", TKivCustomTool::StaticClassInfo())
                                     .Property("Button", &C::Button, &C::SetButton, mbLeft)
                                     .TypeName("TMouseButton")
                                     .Names({"mbLeft", "mbRight", "mbMiddle"})
                                     .Property("Inverted", &C::Inverted, &C::SetInverted, false)
                                     .Property("Style", &C::Style, &C::SetStyle, rsAll)
                                     .TypeName("TRotateToolStyles")
                                     .Names({"rsAll", "rsRotation", "rsElevation"})
                                     .Creatable()
                                     .Build();
  return info;
}

TRotateTool::TRotateTool(classlib::TComponent* owner) : TKivCustomTool(owner) {
  Pen()->InitPen(clWhite, 1, psSolid);
  Pen()->InitVisible(false);
  Pen()->SetMode(pmXor);
}

std::int32_t TRotateTool::NextRotation(std::int32_t rotation, std::int32_t delta) {
  if (delta == 0) return rotation;
  std::int32_t v = rotation + delta;
  if (delta > 0) {
    if (v >= 361) v -= 360;
    if (v > 90 && v < 270) v = 90;
  } else {
    if (v < 0) v += 360;
    if (v > 90 && v < 270) v = 270;
  }
  return v;
}

std::int32_t TRotateTool::NextElevation(std::int32_t elevation, std::int32_t delta) {
  if (delta == 0) return elevation;
  const std::int32_t v = elevation + delta;
  return delta > 0 ? std::min(v, 360) : std::max(v, 270);
}

void TRotateTool::DrawOutline() {
  TCustomAxisPanel& chart = *ParentChart();
  chart.DrawOverPicture([&](TCanvas3D& c) {
    c.AssignVisiblePen(*Pen());
    c.Brush().SetStyle(bsClear);
    const TRect r = chart.ChartRect();
    const std::int32_t depth = chart.Width3D();
    c.RectangleWithZ(r, 0);
    c.RectangleWithZ(r, depth);
    for (const TPoint& corner : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Left, r.Bottom},
                                 TPoint{r.Right, r.Bottom}}) {
      c.MoveTo3D(corner.X, corner.Y, 0);
      c.LineTo3D(corner.X, corner.Y, depth);
    }
    c.Pen().SetMode(pmCopy);
  });
}

void TRotateTool::Rotate(std::int32_t x, std::int32_t y) {
  TCustomAxisPanel& chart = *ParentChart();
  // A chart without size has no turn per pixel.
  if (chart.Width() < 1 || chart.Height() < 1) return;
  std::int32_t dRot = static_cast<std::int32_t>(std::nearbyint((x - FLast.X) * 90.0 / chart.Width()));
  std::int32_t dElev = static_cast<std::int32_t>(std::nearbyint((FLast.Y - y) * 90.0 / chart.Height()));
  if (FInverted) {
    dRot = -dRot;
    dElev = -dElev;
  }
  const bool outline = Pen()->Visible();
  if (outline) {
    if (FFirstMove) {
      FSavedRepaint = chart.AutoRepaint();
      chart.SetAutoRepaint(false);
    } else {
      DrawOutline();  // erases the last one
    }
  }
  chart.SetView3D(true);
  TView3DOptions& o = *chart.View3DOptions();
  o.SetOrthogonal(false);
  if (chart.Canvas().GetSupportsFullRotation()) {
    auto wrap = [](std::int32_t v) { return v < 0 ? v + 360 : v > 360 ? v - 360 : v; };
    o.SetRotation(wrap(o.Rotation() + dRot));
    o.SetElevation(wrap(o.Elevation() + dElev));
  } else {
    if (FStyle != rsElevation) o.SetRotation(NextRotation(o.Rotation(), dRot));
    if (FStyle != rsRotation) o.SetElevation(NextElevation(o.Elevation(), dElev));
  }
  FLast = {x, y};
  FFirstMove = false;
  CancelChartMouse(&chart);
  if (outline) {
    chart.Canvas().Reproject(true, chart.Width3D(), chart.ChartRect());
    DrawOutline();
    FOutlined = true;
  }
  if (OnRotate) OnRotate(*this);
}

void TRotateTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState, std::int32_t x,
                                  std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  switch (event) {
    case cmeDown:
      if (button != FButton) break;
      FDragging = true;
      FFirstMove = true;
      FLast = {x, y};
      CancelChartMouse(chart);
      break;
    case cmeMove:
      if (FDragging) Rotate(x, y);
      break;
    case cmeUp:
      FDragging = false;
      if (FOutlined) {
        FOutlined = false;
        chart->SetAutoRepaint(FSavedRepaint);
        chart->Invalidate();
      }
      break;
  }
}

}  // namespace chart
