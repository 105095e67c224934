// Series pointers and callouts.
//
// Tested by: chart/tests/SeriesPointerTest.cpp
#include "chart/series/SeriesPointer.h"

#include "chart/AxisPanel.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/KivConst.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/ChartElement.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {
const std::vector<std::string> PointerStyleNames = {
    "psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross", "psDiagCross", "psStar",
    "psDiamond", "psSmallDot", "psNothing", "psLeftTriangle", "psRightTriangle"};
}

const TClassInfo& TSeriesPointer::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSeriesPointer>("TSeriesPointer", TKivCustomShapeBrushPen::StaticClassInfo())
          .SubObject("Brush", &TSeriesPointer::Brush)
          .TypeName("TChartBrush")
          .Property("Dark3D", &TSeriesPointer::Dark3D, &TSeriesPointer::SetDark3D, true)
          .Property("Draw3D", &TSeriesPointer::Draw3D, &TSeriesPointer::SetDraw3D, true)
          .InstanceDefault(&TSeriesPointer::DefaultDraw3D)
          .Property("HorizSize", &TSeriesPointer::HorizSize, &TSeriesPointer::SetHorizSize, 4)
          .Property("InflateMargins", &TSeriesPointer::InflateMargins, &TSeriesPointer::SetInflateMargins, true)
          .SubObject("Pen", &TSeriesPointer::Pen)
          .TypeName("TChartPen")
          .Property("Style", &TSeriesPointer::Style, &TSeriesPointer::SetStyle, psRectangle)
          .TypeName("TSeriesPointerStyle")
          .Names(PointerStyleNames)
          .Property("VertSize", &TSeriesPointer::VertSize, &TSeriesPointer::SetVertSize, 4)
          .Property("Visible", &TSeriesPointer::Visible, &TSeriesPointer::SetVisible, true)
          .InstanceDefault(&TSeriesPointer::DefaultVisible)
          .Build();
  return info;
}

TSeriesPointer::TSeriesPointer(TCustomChartSeries* series)
    : TKivCustomShapeBrushPen(series != nullptr ? series->ParentChart() : nullptr), FSeries(series) {}

TSeriesPointer::~TSeriesPointer() = default;

TKivGradient* TSeriesPointer::Gradient() const {
  if (!FGradient) FGradient = std::make_unique<TKivGradient>([this] { Invalidate(); });
  return FGradient.get();
}

void TSeriesPointer::SetHorizSize(std::int32_t v) {
  if (v < 1) throw ChartException(KivMsg(msgPointerSize));
  StoreAndInvalidate(*this, FHorizSize, v);
}

void TSeriesPointer::SetVertSize(std::int32_t v) {
  if (v < 1) throw ChartException(KivMsg(msgPointerSize));
  StoreAndInvalidate(*this, FVertSize, v);
}

void TSeriesPointer::CalcHorizMargins(std::int32_t& left, std::int32_t& right) const {
  if (!Visible() || !FInflateMargins) return;
  left = std::max(left, FHorizSize + 1);
  right = std::max(right, FHorizSize + 1);
}

void TSeriesPointer::CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) const {
  if (!Visible() || !FInflateMargins) return;
  top = std::max(top, FVertSize + 1);
  bottom = std::max(bottom, FVertSize + 1);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor pointColor) {
  if (!Pen()->Visible())
    canvas.Pen().SetStyle(psClear);
  else if (Pen()->Color() == clDefault)
    canvas.AssignVisiblePenColor(*Pen(), pointColor);
  else
    canvas.AssignVisiblePen(*Pen());
  TColor color = Brush()->Color();
  if (color == clDefault) color = Brush()->Style() == bsSolid ? pointColor : clBlack;
  canvas.AssignBrushColor(*Brush(), color, pointColor);
}

void TSeriesPointer::DrawPointer(std::int32_t x, std::int32_t y, TColor color, TSeriesPointerStyle style) {
  TCustomKivPanel* chart = ParentChart();
  if (chart == nullptr) return;
  Draw(chart->Canvas(), chart->View3D(), x, y, FHorizSize, FVertSize, color, style);
}

void TSeriesPointer::Draw(TCanvas3D& c, bool is3D, std::int32_t x, std::int32_t y, std::int32_t h,
                          std::int32_t v, TColor color, TSeriesPointerStyle style) {
  const std::int32_t left = x - h, right = x + h, top = y - v, bottom = y + v;
  const std::int32_t z0 = FSeries != nullptr ? FSeries->StartZ : 0;
  const std::int32_t zm = FSeries != nullptr ? FSeries->MiddleZ : 0;
  const std::int32_t z1 = FSeries != nullptr ? FSeries->EndZ : 0;
  auto poly = [&](std::initializer_list<TPoint> pts) {
    std::vector<TPoint> p(pts);
    if (is3D)
      c.PolygonWithZ(p, z0);
    else
      c.Polygon(p);
  };
  switch (style) {
    case psRectangle:
      if (!is3D)
        c.Rectangle(left, top, right + 1, bottom + 1);
      else if (FDraw3D)
        c.Cube(left, right, top, bottom, z0, z1, FDark3D);
      else
        c.RectangleWithZ({left, top, right + 1, bottom + 1}, z0);
      break;
    case psCircle:
      if (!is3D)
        c.Ellipse(left, top, right + 1, bottom + 1);
      else if (FDraw3D && c.GetSupportsFullRotation())
        c.Sphere(x, y, h, zm);
      else
        c.EllipseWithZ(left, top, right + 1, bottom + 1, z0);
      break;
    case psTriangle:
      if (is3D && FDraw3D)
        c.Pyramid(true, left, top, right, bottom, z0, z1, FDark3D);
      else
        poly({{left, bottom}, {x, top}, {right, bottom}});
      break;
    case psDownTriangle:
      if (is3D && FDraw3D)
        c.Pyramid(true, left, bottom, right, top, z0, z1, FDark3D);
      else
        poly({{left, top}, {x, bottom}, {right, top}});
      break;
    case psLeftTriangle: poly({{left, y}, {right, top}, {right, bottom}}); break;
    case psRightTriangle: poly({{right, y}, {left, top}, {left, bottom}}); break;
    case psCross:
    case psDiagCross:
    case psStar: {
      auto line = [&](std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
        if (is3D)
          c.LineWithZ(ax, ay, bx, by, z0);
        else
          c.Line(ax, ay, bx, by);
      };
      if (style != psDiagCross) {
        line(left, y, right + 1, y);
        line(x, top, x, bottom + 1);
      }
      if (style != psCross) {
        line(left, top, right + 1, bottom + 1);
        line(left, bottom, right + 1, top - 1);
      }
      break;
    }
    case psDiamond: poly({{x, top}, {right, y}, {x, bottom}, {left, y}}); break;
    case psSmallDot:
      if (is3D)
        c.SetPixel3D(x, y, zm, c.Brush().Color());
      else
        c.SetPixel(x, y, c.Brush().Color());
      break;
    case psNothing: break;
  }
  if (FGradient && FGradient->Visible()) DrawGradient(c, is3D, {left, top, right, bottom}, color, style);
}

void TSeriesPointer::DrawGradient(TCanvas3D& c, bool is3D, const TRect& box, TColor color,
                                  TSeriesPointerStyle style) {
  if (style == psCross || style == psDiagCross || style == psStar || style == psSmallDot || style == psNothing)
    return;
  if ((style == psTriangle || style == psDownTriangle) && is3D && FDraw3D) return;
  if (GradientFollowsPoint()) FGradient->SetEndColor(color);
  const std::int32_t pw = Pen()->Visible() ? Pen()->Width() : 0;
  TRect r{box.Left + pw, box.Top + pw, box.Right, box.Bottom};
  const std::int32_t z0 = FSeries != nullptr ? FSeries->StartZ : 0;
  // A rectangle seen in perspective is a quadrilateral: the gradient fills its corners.
  if (is3D && !c.IsOrthogonal() && style == psRectangle) {
    r.Right -= pw;
    r.Bottom -= pw;
    const TPoint q[4] = {c.Calculate3DPosition(r.Left, r.Top, z0), c.Calculate3DPosition(r.Right, r.Top, z0),
                         c.Calculate3DPosition(r.Right, r.Bottom, z0), c.Calculate3DPosition(r.Left, r.Bottom, z0)};
    chart::DrawGradient(c, *FGradient, q);
    return;
  }
  if (is3D) r = {c.Calculate3DPosition(r.Left, r.Top, z0).X, c.Calculate3DPosition(r.Left, r.Top, z0).Y,
                 c.Calculate3DPosition(r.Right, r.Bottom, z0).X, c.Calculate3DPosition(r.Right, r.Bottom, z0).Y};
  const std::int32_t x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
  switch (style) {
    case psRectangle: c.ClipRectangle(r); break;
    case psCircle: c.ClipEllipse(r); break;
    case psTriangle: {
      const TPoint p[3] = {{r.Left, r.Bottom}, {x, r.Top}, {r.Right, r.Bottom}};
      c.ClipPolygon(p);
      break;
    }
    case psDownTriangle: {
      const TPoint p[3] = {{r.Left, r.Top}, {x, r.Bottom}, {r.Right, r.Top}};
      c.ClipPolygon(p);
      break;
    }
    case psLeftTriangle: {
      const TPoint p[3] = {{r.Left, y}, {r.Right, r.Top}, {r.Right, r.Bottom}};
      c.ClipPolygon(p);
      break;
    }
    case psRightTriangle: {
      const TPoint p[3] = {{r.Right, y}, {r.Left, r.Top}, {r.Left, r.Bottom}};
      c.ClipPolygon(p);
      break;
    }
    case psDiamond: {
      const TPoint p[4] = {{x, r.Top}, {r.Right, y}, {x, r.Bottom}, {r.Left, y}};
      chart::DrawGradient(c, *FGradient, p);
      return;
    }
    default: return;
  }
  chart::DrawGradient(c, *FGradient, r, 0);
  c.UnClipRectangle();
}

void TSeriesPointer::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TSeriesPointer*>(&source)) {
    FDark3D = p->FDark3D;
    FDraw3D = p->FDraw3D;
    if (p->FGradient) Gradient()->Assign(*p->FGradient);
    FHorizSize = p->FHorizSize;
    FInflateMargins = p->FInflateMargins;
    FStyle = p->FStyle;
    FVertSize = p->FVertSize;
  }
  TKivCustomShapeBrushPen::Assign(source);
}

// --- callouts ---------------------------------------------------------------

const TClassInfo& TCallout::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCallout>("TCallout", TSeriesPointer::StaticClassInfo())
          .SubObject("Arrow", &TCallout::Arrow)
          .TypeName("TWhitePen")
          .Property("ArrowHead", &TCallout::ArrowHead, &TCallout::SetArrowHead, ahNone)
          .TypeName("TArrowHeadStyle")
          .Names({"ahNone", "ahLine", "ahSolid"})
          .Property("ArrowHeadSize", &TCallout::ArrowHeadSize, &TCallout::SetArrowHeadSize, 8)
          .Property("Distance", &TCallout::Distance, &TCallout::SetDistance, 0)
          .Build();
  return info;
}

TCallout::TCallout(TCustomChartSeries* series)
    : TSeriesPointer(series), FArrow(std::make_unique<TWhitePen>([this] { Invalidate(); })) {
  FDraw3D = FDefaultDraw3D = false;
  Brush()->SetColor(clBlack);
}

TCallout::~TCallout() = default;

void TCallout::DrawCallout(TColor color, const TPoint& from, std::int32_t z, const TPoint& to) {
  TCustomKivPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  if (FArrow->Visible()) {
    c.Brush().SetStyle(bsClear);
    PrepareCanvas(c, color);
    c.AssignVisiblePen(*FArrow);
    if (FArrowHead != ahNone) {
      c.Arrow(FArrowHead == ahSolid, from, to, FArrowHeadSize, FArrowHeadSize, z);
    } else if (is3D) {
      c.LineWithZ(from, to, z);
    } else {
      c.Line(from, to);
    }
  }
  if (FArrowHead == ahNone && Visible()) {
    TPoint p = from;
    if (is3D) p = c.Calculate3DPosition(from, z);
    PrepareCanvas(c, color);
    Draw(c, false, p.X, p.Y, HorizSize(), VertSize(), Brush()->Color(), Style());
  }
}

void TCallout::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TCallout*>(&source)) {
    FDistance = p->FDistance;
    FArrow->Assign(*p->FArrow);
    FArrowHead = p->FArrowHead;
    FArrowHeadSize = p->FArrowHeadSize;
  }
  TSeriesPointer::Assign(source);
}

const TClassInfo& TMarksCallout::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TMarksCallout>("TMarksCallout", TCallout::StaticClassInfo())
                                     .Property("Length", &TMarksCallout::Length, &TMarksCallout::SetLength, 8)
                                     .Build();
  return info;
}

TMarksCallout::TMarksCallout(TCustomChartSeries* series) : TCallout(series) {
  InitVisible(false);
  Arrow()->InitColor(clWhite);
}

void TMarksCallout::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TMarksCallout*>(&source)) FLength = p->FLength;
  TCallout::Assign(source);
}

}  // namespace chart
