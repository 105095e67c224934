// The annotation tool.
//
// Tested by: chart/tests/AnnotationToolTest.cpp
#include "chart/tools/AnnotationTool.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TKivShapePosition::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivShapePosition>("TKivShapePosition", TKivCustomShapePosition::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TAnnotationCallout::StaticClassInfo() {
  using C = TAnnotationCallout;
  static const TClassInfo info = TClassBuilder<C>("TAnnotationCallout", TCallout::StaticClassInfo())
                                     .Property("XPosition", &C::XPosition, &C::SetXPosition, 0)
                                     .Property("YPosition", &C::YPosition, &C::SetYPosition, 0)
                                     .Property("ZPosition", &C::ZPosition, &C::SetZPosition, 0)
                                     .Build();
  return info;
}

TAnnotationCallout::TAnnotationCallout(TChartSeries* series) : TCallout(series) {
  SetVisible(false);
  Arrow()->InitVisible(false);
}

void TAnnotationCallout::Assign(const classlib::TPersistent& source) {
  if (auto* c = dynamic_cast<const TAnnotationCallout*>(&source)) {
    FXPosition = c->FXPosition;
    FYPosition = c->FYPosition;
    FZPosition = c->FZPosition;
  }
  TCallout::Assign(source);
}

const TClassInfo& TAnnotationTool::StaticClassInfo() {
  using C = TAnnotationTool;
  static const TClassInfo info = TClassBuilder<C>("TAnnotationTool", TKivCustomTool::StaticClassInfo())
                                     .SubObject("Callout", &C::Callout)
                                     .TypeName("TAnnotationCallout")
                                     .Property("Cursor", &C::Cursor, &C::SetCursor, crDefault)
                                     .TypeName("TCursor")
                                     .Property("Position", &C::Position, &C::SetPosition, ppLeftTop)
                                     .TypeName("TAnnotationPosition")
                                     .Names({"ppLeftTop", "ppLeftBottom", "ppRightTop", "ppRightBottom"})
                                     .SubObject("Shape", &C::Shape)
                                     .TypeName("TKivShapePosition")
                                     .Property("Text", &C::Text, &C::SetText, std::string())
                                     .Property("TextAlignment", &C::TextAlignment, &C::SetTextAlignment, taLeftJustify)
                                     .TypeName("TAlignment")
                                     .Names({"taLeftJustify", "taRightJustify", "taCenter"})
                                     .Creatable()
                                     .Build();
  return info;
}

TAnnotationTool::TAnnotationTool(classlib::TComponent* owner)
    : TKivCustomTool(owner),
      FCallout(std::make_unique<TAnnotationCallout>()),
      FShape(std::make_unique<TKivShapePosition>()) {}

TAnnotationTool::~TAnnotationTool() = default;

void TAnnotationTool::SetPosition(TAnnotationPosition v) {
  if (FPosition == v) return;
  FPosition = v;
  FShape->SetCustomPosition(false);
  Invalidate();
}

void TAnnotationTool::SetParentChart(TCustomAxisPanel* chart) {
  TKivCustomTool::SetParentChart(chart);
  if (HasState(classlib::csDestroying)) return;
  FShape->SetParent(chart);
  FCallout->SetParent(chart);
  Invalidate();
}

void TAnnotationTool::DrawText() {
  TCustomAxisPanel& chart = *ParentChart();
  TCanvas3D& c = chart.Canvas();
  const std::string own = GetText();
  const std::string text = own.empty() ? std::string(1, ' ') : own;
  c.AssignFont(*FShape->Font());
  const std::vector<std::string> lines = TChartAxis::LabelLines(text);
  const std::int32_t lineHeight = c.FontHeight();
  std::int32_t width = 0;
  for (const std::string& line : lines) width = std::max(width, c.TextWidth(line));
  const std::int32_t height = lineHeight * static_cast<std::int32_t>(lines.size());
  std::int32_t x = 10, y = 10;
  if (FShape->CustomPosition()) {
    x = FShape->Left() + 4;
    y = FShape->Top() + 2;
  } else {
    if (FPosition == ppRightTop || FPosition == ppRightBottom) x = chart.Width() - width - 8;
    if (FPosition == ppLeftBottom || FPosition == ppRightBottom) y = chart.Height() - height - 8;
  }
  const TRect bounds{x - 4, y - 2, x + width + 2, y + height + 2};
  FShape->SetShapeBounds(bounds);
  if (FShape->Visible()) FShape->Draw(c);
  c.AssignFont(*FShape->Font());
  c.SetBackMode(TRANSPARENT);
  std::int32_t tx = x;
  switch (FTextAlignment) {
    case taLeftJustify: c.SetTextAlign(TA_LEFT); break;
    case taCenter:
      c.SetTextAlign(TA_CENTER);
      tx = (bounds.Left + bounds.Right) / 2 + 2;
      break;
    case taRightJustify:
      c.SetTextAlign(TA_RIGHT);
      tx = bounds.Right - 2;
      break;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    c.TextOut(tx, y + lineHeight * static_cast<std::int32_t>(i), lines[i]);
  c.SetTextAlign(TA_LEFT);
}

void TAnnotationTool::DrawCallout() {
  if (!FCallout->Visible() && !FCallout->Arrow()->Visible()) return;
  const TRect& box = FShape->ShapeBounds();
  TPoint target{FCallout->XPosition(), FCallout->YPosition()};
  TPoint from{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
  if (target.X > box.Right)
    from.X = box.Right;
  else if (target.X < box.Left)
    from.X = box.Left;
  if (target.Y > box.Bottom)
    from.Y = box.Bottom;
  else if (target.Y < box.Top)
    from.Y = box.Top;
  if (FCallout->Distance() != 0) {
    // The arrow stops short of the point by the distance.
    const double dx = target.X - from.X, dy = target.Y - from.Y, length = std::hypot(dx, dy);
    if (length > 0) {
      const double keep = (length - FCallout->Distance()) / length;
      target = {from.X + static_cast<std::int32_t>(std::nearbyint(dx * keep)),
                from.Y + static_cast<std::int32_t>(std::nearbyint(dy * keep))};
    }
  }
  FCallout->DrawCallout(FCallout->Brush()->Color(), from, FCallout->ZPosition(), target);
}

void TAnnotationTool::ChartEvent(TChartToolEvent event) {
  if (event != cteAfterDraw || ParentChart() == nullptr) return;
  DrawText();
  DrawCallout();
}

void TAnnotationTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift,
                                      std::int32_t x, std::int32_t y) {
  if (ParentChart() == nullptr || !PointInRect(FShape->ShapeBounds(), x, y)) return;
  if (event == cmeDown) {
    if (OnClick) OnClick(*this, button, shift, x, y);
  } else if (event == cmeMove && FCursor != crDefault) {
    SetChartCursor(ParentChart(), FCursor);
    CancelChartMouse(ParentChart());
  }
}

}  // namespace chart
