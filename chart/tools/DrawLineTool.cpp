// The draw line tool, its lines and their collection.
//
// Tested by: chart/tests/DrawLineToolTest.cpp
#include "chart/tools/DrawLineTool.h"

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- lines ------------------------------------------------------------------

const TClassInfo& TDrawLine::StaticClassInfo() {
  using C = TDrawLine;
  static const TClassInfo info = TClassBuilder<C>("TDrawLine", classlib::TCollectionItem::StaticClassInfo())
                                     .Property("Style", &C::Style, &C::SetStyle, dlLine)
                                     .TypeName("TDrawLineStyle")
                                     .Names({"dlLine", "dlHorizParallel", "dlVertParallel"})
                                     .Property("X0", &C::X0, &C::SetX0, 0.0)
                                     .Property("Y0", &C::Y0, &C::SetY0, 0.0)
                                     .Property("X1", &C::X1, &C::SetX1, 0.0)
                                     .Property("Y1", &C::Y1, &C::SetY1, 0.0)
                                     .Creatable()
                                     .Build();
  return info;
}

TDrawLine::~TDrawLine() {
  TDrawLineTool* tool = Parent();
  if (tool != nullptr && tool->FSelected == this) tool->FSelected = nullptr;
}

TDrawLineTool* TDrawLine::Parent() const {
  auto* lines = dynamic_cast<TDrawLines*>(Collection());
  return lines != nullptr ? lines->Tool() : nullptr;
}

void TDrawLine::Invalidate() const {
  if (TDrawLineTool* tool = Parent()) tool->Invalidate();
}

void TDrawLine::Assign(const classlib::TPersistent& source) {
  auto* line = dynamic_cast<const TDrawLine*>(&source);
  if (line == nullptr) {
    classlib::TCollectionItem::Assign(source);
    return;
  }
  FX0 = line->FX0;
  FY0 = line->FY0;
  FX1 = line->FX1;
  FY1 = line->FY1;
  FStyle = line->FStyle;
  Invalidate();
}

const TClassInfo& TDrawLines::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TDrawLines>("TDrawLines", classlib::TCollection::StaticClassInfo()).Build();
  return info;
}

TDrawLines::TDrawLines(TDrawLineTool* tool) : classlib::TCollection(TDrawLine::StaticClassInfo(), tool), FTool(tool) {}

TDrawLine* TDrawLines::AddLine(double x0, double y0, double x1, double y1) {
  auto* line = static_cast<TDrawLine*>(Add());
  line->SetX0(x0);
  line->SetY0(y0);
  line->SetX1(x1);
  line->SetY1(y1);
  return line;
}

// --- tool -------------------------------------------------------------------

const TClassInfo& TDrawLineTool::StaticClassInfo() {
  using C = TDrawLineTool;
  static const TClassInfo info = TClassBuilder<C>("TDrawLineTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("Button", &C::Button, &C::SetButton, mbLeft)
                                     .TypeName("TMouseButton")
                                     .Names({"mbLeft", "mbRight", "mbMiddle"})
                                     .Property("EnableDraw", &C::EnableDraw, &C::SetEnableDraw, true)
                                     .Property("EnableSelect", &C::EnableSelect, &C::SetEnableSelect, true)
                                     .SubObject("Lines", &C::Lines)
                                     .TypeName("TDrawLines")
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Creatable()
                                     .Build();
  return info;
}

TDrawLineTool::TDrawLineTool(classlib::TComponent* owner)
    : TKivCustomToolSeries(owner), FLines(std::make_unique<TDrawLines>(this)) {}

TDrawLineTool::~TDrawLineTool() {
  FSelected = nullptr;
  FLines.reset();
}

void TDrawLineTool::SetEnableSelect(bool v) {
  if (FEnableSelect == v) return;
  FEnableSelect = v;
  if (!v) {
    FSelected = nullptr;
    Invalidate();
  }
}

void TDrawLineTool::SetSelected(TDrawLine* line) { StoreAndInvalidate(*this, FSelected, line); }

TPoint TDrawLineTool::AxisPoint(double x, double y) const {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return {0, 0};
  return {h->CalcPosValue(x), v->CalcPosValue(y)};
}

void TDrawLineTool::ScreenPointToValues(const TPoint& p, double& x, double& y) const {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return;
  x = h->CalcPosPoint(p.X);
  y = v->CalcPosPoint(p.Y);
}

bool TDrawLineTool::HitLine(const TDrawLine& line, int kind, const TPoint& p) const {
  const TPoint a = AxisPoint(line.X0(), line.Y0());
  const TPoint b = AxisPoint(line.X1(), line.Y1());
  auto inHandle = [&](const TPoint& c) { return PointInRect({c.X - 3, c.Y - 3, c.X + 3, c.Y + 3}, p.X, p.Y); };
  if (kind == 1) return inHandle(a);
  if (kind == 2) return inHandle(b);
  switch (line.Style()) {
    case dlLine: return PointInLineTolerance(p, a.X, a.Y, b.X, b.Y, 4);
    case dlHorizParallel:
      return PointInLineTolerance(p, a.X, a.Y, b.X, a.Y, 4) || PointInLineTolerance(p, a.X, b.Y, b.X, b.Y, 4);
    case dlVertParallel:
      return PointInLineTolerance(p, a.X, a.Y, a.X, b.Y, 4) || PointInLineTolerance(p, b.X, a.Y, b.X, b.Y, 4);
  }
  return false;
}

TDrawLine* TDrawLineTool::LineAt(int kind, std::int32_t x, std::int32_t y) const {
  if (ParentChart() == nullptr) return nullptr;
  // The mouse is on the screen; the lines lie on the front of the 3D box.
  TPoint p{x, y};
  ParentChart()->Canvas().Calculate2DPosition(p.X, p.Y, 0);
  if (FSelected != nullptr && HitLine(*FSelected, kind, p)) return FSelected;
  for (int i = 0; i < FLines->Count(); ++i)
    if (HitLine(*FLines->Line(i), kind, p)) return FLines->Line(i);
  return nullptr;
}

TDrawLine* TDrawLineTool::AnyLineAt(std::int32_t x, std::int32_t y) const {
  for (int kind : {0, 1, 2})
    if (TDrawLine* line = LineAt(kind, x, y)) return line;
  return nullptr;
}

void TDrawLineTool::ClipDrawingArea() {
  TCustomAxisPanel& chart = *ParentChart();
  TRect r = chart.ChartRect();
  if (Series() != nullptr && GetHorizAxis() != nullptr && GetVertAxis() != nullptr) {
    const TChartAxis& h = *GetHorizAxis();
    const TChartAxis& v = *GetVertAxis();
    r = {h.IStartPos(), v.IStartPos(), h.IEndPos(), v.IEndPos()};
  }
  if (chart.ClipPoints() && chart.CanClip()) chart.Canvas().ClipCube(r, 0, chart.Width3D());
}

void TDrawLineTool::DrawShape(TCanvas3D& c, TDrawLineStyle style, const TPoint& p0, const TPoint& p1) const {
  const bool is3D = ParentChart()->View3D();
  switch (style) {
    case dlLine:
      if (is3D) {
        c.MoveTo3D(p0.X, p0.Y, 0);
        c.LineTo3D(p1.X, p1.Y, 0);
      } else {
        c.Line(p0, p1);
      }
      break;
    case dlHorizParallel:
      for (std::int32_t y : {p0.Y, p1.Y}) {
        if (is3D)
          c.HorizLine3D(p0.X, p1.X, y, 0);
        else
          c.DoHorizLine(p0.X, p1.X, y);
      }
      break;
    case dlVertParallel:
      for (std::int32_t x : {p0.X, p1.X}) {
        if (is3D)
          c.VertLine3D(x, p0.Y, p1.Y, 0);
        else
          c.DoVertLine(x, p0.Y, p1.Y);
      }
      break;
  }
}

void TDrawLineTool::DrawHandles(TCanvas3D& c) const {
  if (FSelected == nullptr) return;
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(ParentChart()->Color() == clBlack ? clSilver : clBlack);
  c.Pen().SetStyle(psClear);
  for (const TPoint& p : {AxisPoint(FSelected->X0(), FSelected->Y0()), AxisPoint(FSelected->X1(), FSelected->Y1())})
    c.RectangleWithZ({p.X - 3, p.Y - 3, p.X + 3, p.Y + 3}, 0);
}

void TDrawLineTool::ChartEvent(TChartToolEvent event) {
  if (event != cteAfterDraw || ParentChart() == nullptr || FLines->Count() == 0) return;
  TCanvas3D& c = ParentChart()->Canvas();
  c.SetBackMode(TRANSPARENT);
  ClipDrawingArea();
  for (int i = 0; i < FLines->Count(); ++i) {
    const TDrawLine& line = *FLines->Line(i);
    c.AssignVisiblePen(*Pen());
    DrawShape(c, line.Style(), AxisPoint(line.X0(), line.Y0()), AxisPoint(line.X1(), line.Y1()));
  }
  DrawHandles(c);
  c.UnClipRectangle();
}

void TDrawLineTool::DrawRubberLine() {
  TCustomAxisPanel& chart = *ParentChart();
  chart.DrawOverPicture([&](TCanvas3D& c) {
    const TColor back = ColorToRGB(chart.GetBackColor()) & 0xFFFFFF;
    c.AssignVisiblePenColor(*Pen(), (ColorToRGB(Pen()->Color()) ^ (0xFFFFFF - back)) & 0xFFFFFF);
    c.Pen().SetMode(pmNotXor);
    c.SetBackMode(TRANSPARENT);
    DrawShape(c, FSelected != nullptr ? FSelected->Style() : dlLine, FFrom, FTo);
    c.Pen().SetMode(pmCopy);
  });
}

void TDrawLineTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState, std::int32_t x,
                                    std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const TPoint mouse{x, y};
  switch (event) {
    case cmeDown: {
      if (button != FButton) break;
      TDrawLine* line = FEnableSelect ? AnyLineAt(x, y) : nullptr;
      if (line != nullptr) {
        FFrom = AxisPoint(line->X0(), line->Y0());
        FTo = AxisPoint(line->X1(), line->Y1());
        FDragState = 3;
        FLast = mouse;
        if (line == FSelected) {
          if (LineAt(1, x, y) == line)
            FDragState = 1;
          else if (LineAt(2, x, y) == line)
            FDragState = 2;
        } else {
          bool allow = true;
          if (OnSelecting) OnSelecting(*this, *line, allow);
          if (allow) {
            const bool hadSelection = FSelected != nullptr;
            FSelected = line;
            if (hadSelection)
              Invalidate();
            else
              chart->DrawOverPicture([this](TCanvas3D& c) { DrawHandles(c); });
            if (OnSelect) OnSelect(*this);
          } else {
            FDragState = 0;
          }
        }
        CancelChartMouse(chart);
      } else {
        FSelected = nullptr;
        if (FEnableDraw) {
          FDrawing = true;
          FFrom = FTo = mouse;
          DrawRubberLine();
          CancelChartMouse(chart);
        }
      }
      break;
    }
    case cmeMove: {
      if (!FDrawing && FDragState == 0) {
        if (!FEnableSelect) break;
        TCursor cursor = crDefault;
        if (FSelected != nullptr && (LineAt(1, x, y) == FSelected || LineAt(2, x, y) == FSelected))
          cursor = crCross;
        else if (AnyLineAt(x, y) != nullptr)
          cursor = crHandPoint;
        if (cursor != crDefault) {
          SetChartCursor(chart, cursor);
          CancelChartMouse(chart);
        }
        break;
      }
      DrawRubberLine();  // erases it where it was
      if (FDrawing) {
        FTo = mouse;
      } else if (FDragState == 1) {
        FFrom = mouse;
      } else if (FDragState == 2) {
        FTo = mouse;
      } else {
        const std::int32_t dx = x - FLast.X, dy = y - FLast.Y;
        FFrom = {FFrom.X + dx, FFrom.Y + dy};
        FTo = {FTo.X + dx, FTo.Y + dy};
        FLast = mouse;
      }
      DrawRubberLine();
      CancelChartMouse(chart);
      if (OnDragLine) OnDragLine(*this);
      break;
    }
    case cmeUp: {
      if (button != FButton) break;
      if (FDragState != 0) {
        if (FSelected != nullptr) {
          double vx = 0, vy = 0;
          if (FDragState != 2) {
            ScreenPointToValues(FFrom, vx, vy);
            FSelected->SetX0(vx);
            FSelected->SetY0(vy);
          }
          if (FDragState != 1) {
            ScreenPointToValues(FTo, vx, vy);
            FSelected->SetX1(vx);
            FSelected->SetY1(vy);
          }
        }
        FDragState = 0;
        Invalidate();
        if (OnDraggedLine) OnDraggedLine(*this);
      } else if (FDrawing) {
        FDrawing = false;
        if (FFrom != FTo) {
          double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
          ScreenPointToValues(FFrom, x0, y0);
          ScreenPointToValues(FTo, x1, y1);
          FLines->AddLine(x0, y0, x1, y1);
          Invalidate();
          if (OnNewLine) OnNewLine(*this);
        } else {
          DrawRubberLine();  // a click leaves no trace
        }
      }
      break;
    }
  }
}

}  // namespace chart
