// Line and point series base: stacking, margins, legend symbol, marks, click
// test, and the line, horizontal line and point kinds. The drawing of one
// value is in LineSeriesDraw.cpp.
//
// Tested by: chart/tests/LineSeriesTest.cpp
#include "chart/series/LineSeries.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {
const std::vector<std::string> StackNames = {"cssNone", "cssOverlap", "cssStack", "cssStack100"};
const std::vector<std::string> BrushStyleNames = {"bsSolid",    "bsClear", "bsHorizontal", "bsVertical",
                                                  "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
}  // namespace

const TClassInfo& TCustomLineSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomLineSeries>("TCustomLineSeries", TChartSeries::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TCustomSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomSeries>("TCustomSeries", TCustomLineSeries::StaticClassInfo())
          .Property("ClickableLine", &TCustomSeries::ClickableLine, &TCustomSeries::SetClickableLine, true)
          .Property("ColorEachLine", &TCustomSeries::ColorEachLine, &TCustomSeries::SetColorEachLine, true)
          .Property("Dark3D", &TCustomSeries::Dark3D, &TCustomSeries::SetDark3D, true)
          .Property("InvertedStairs", &TCustomSeries::InvertedStairs, &TCustomSeries::SetInvertedStairs, false)
          .Property("LineBrush", &TCustomSeries::LineBrush, &TCustomSeries::SetLineBrush, bsSolid)
          .TypeName("TBrushStyle")
          .Names(BrushStyleNames)
          .Property("LineHeight", &TCustomSeries::LineHeight, &TCustomSeries::SetLineHeight, 0)
          .SubObject("LinePen", &TCustomSeries::LinePen)
          .TypeName("TChartPen")
          .SubObject("OutLine", &TCustomSeries::OutLine)
          .TypeName("TChartHiddenPen")
          .SubObject("Pointer", &TCustomSeries::Pointer)
          .TypeName("TSeriesPointer")
          .Property("Stacked", &TCustomSeries::Stacked, &TCustomSeries::SetStacked, cssNone)
          .TypeName("TCustomSeriesStack")
          .Names(StackNames)
          .Property("Stairs", &TCustomSeries::Stairs, &TCustomSeries::SetStairs, false)
          .Build();
  return info;
}

TCustomSeries::TCustomSeries(classlib::TComponent* owner)
    : TCustomLineSeries(owner),
      FAreaBrush(std::make_unique<TChartBrush>([this] { ElementChanged(); })),
      FAreaLinesPen(std::make_unique<TChartHiddenPen>([this] { ElementChanged(); })),
      FOutLine(std::make_unique<TChartHiddenPen>([this] { ElementChanged(); })),
      FPointer(std::make_unique<TSeriesPointer>(this)),
      FGradient(std::make_unique<TKivGradient>([this] { ElementChanged(); })) {
  SetDrawBetweenPoints(true);
  FAreaBrush->SetStyle(bsSolid);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetParentChart(TCustomAxisPanel* chart) {
  TCustomLineSeries::SetParentChart(chart);
  FPointer->SetParent(chart);
}

void TCustomSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCustomSeries*>(&source)) {
    FClickableLine = s->FClickableLine;
    FAreaBrush->Assign(*s->FAreaBrush);
    FAreaColor = s->FAreaColor;
    FAreaLinesPen->Assign(*s->FAreaLinesPen);
    FColorEachLine = s->FColorEachLine;
    FDark3D = s->FDark3D;
    FDrawArea = s->FDrawArea;
    FDrawLine = s->FDrawLine;
    FInvertedStairs = s->FInvertedStairs;
    FLineHeight = s->FLineHeight;
    FPointer->Assign(*s->FPointer);
    FStacked = s->FStacked;
    FStairs = s->FStairs;
    FOutLine->Assign(*s->FOutLine);
    FTransparency = s->FTransparency;
    FGradient->Assign(*s->FGradient);
  }
  TCustomLineSeries::Assign(source);
}

void TCustomSeries::SetStacked(TCustomSeriesStack v) {
  if (FStacked == v) return;
  FStacked = v;
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* c = dynamic_cast<TCustomSeries*>(s); c != nullptr && s->ClassInfo().InheritsFrom(ClassInfo()))
        c->FStacked = v;
  Invalidate();
}

TSeriesPointerStyle TCustomSeries::PointerStyleOf(int valueIndex) {
  return OnGetPointerStyle ? OnGetPointerStyle(*this, valueIndex) : FPointer->Style();
}

TColor TCustomSeries::AreaColorOf(int valueIndex) const {
  if (FAreaColor == clDefault || ColorEachPoint()) return ValueColor(valueIndex);
  return FAreaColor;
}

bool TCustomSeries::ClickedPointer(int valueIndex, std::int32_t px, std::int32_t py, std::int32_t x, std::int32_t y) {
  if (PointerStyleOf(valueIndex) == psNothing) return false;
  return std::abs(px - x) < FPointer->HorizSize() && std::abs(py - y) < FPointer->VertSize();
}

void TCustomSeries::DrawPointer(std::int32_t x, std::int32_t y, TColor color, int valueIndex) {
  if (ParentChart() == nullptr) return;
  FPointer->PrepareCanvas(ParentChart()->Canvas(), color);
  FPointer->DrawPointer(x, y, color, PointerStyleOf(valueIndex));
}

// --- stacking ---------------------------------------------------------------

double TCustomSeries::PointOrigin(int valueIndex, bool includeSelf) const {
  double sum = 0;
  if (ParentChart() == nullptr) return sum;
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    if (!includeSelf && s == this) break;
    if (!s->Active() || !SameClass(*s, *this) || s->Count() <= valueIndex) continue;
    const double v = s->MandatoryValueList()->Value(valueIndex);
    if (v > 0) sum += v;
  }
  return sum;
}

std::int32_t TCustomSeries::ValueAxisEnd() const {
  TChartAxis* axis = ValueAxis();
  return axis != nullptr ? axis->IEndPos() : 0;
}

std::int32_t TCustomSeries::StackedPos(int valueIndex, double value) const {
  TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  if (FStacked == cssStack) return std::min(axis->CalcPosValue(value), axis->IEndPos());
  const double all = PointOrigin(valueIndex, true);
  return all != 0 ? axis->CalcPosValue(value * 100.0 / all) : axis->IEndPos();
}

std::int32_t TCustomSeries::CalcXPos(int valueIndex) const {
  if (!YMandatory() && (FStacked == cssStack || FStacked == cssStack100))
    return StackedPos(valueIndex, PointOrigin(valueIndex, false) + XValues()->Value(valueIndex));
  return TCustomLineSeries::CalcXPos(valueIndex);
}

std::int32_t TCustomSeries::CalcYPos(int valueIndex) const {
  if (YMandatory() && (FStacked == cssStack || FStacked == cssStack100))
    return StackedPos(valueIndex, PointOrigin(valueIndex, false) + YValues()->Value(valueIndex));
  return TCustomLineSeries::CalcYPos(valueIndex);
}

std::int32_t TCustomSeries::GetOriginPos(int valueIndex) const {
  if (FStacked == cssStack || FStacked == cssStack100) return StackedPos(valueIndex, PointOrigin(valueIndex, false));
  if (YMandatory()) {
    TChartAxis* v = GetVertAxis();
    if (v == nullptr) return 0;
    return v->Inverted() ? v->IStartPos() : v->IEndPos();
  }
  TChartAxis* h = GetHorizAxis();
  if (h == nullptr) return 0;
  return h->Inverted() ? h->IEndPos() : h->IStartPos();
}

namespace {

double StackedMax(const TCustomSeries& s, double inherited) {
  double m = inherited;
  const TChartValueList& v = *s.MandatoryValueList();
  for (int i = 0; i < s.Count(); ++i) m = std::max(m, s.PointOrigin(i, false) + v.Value(i));
  return m;
}

}  // namespace

double TCustomSeries::MaxYValue() const {
  const double inherited = TCustomLineSeries::MaxYValue();
  if (!YMandatory()) return inherited;
  if (FStacked == cssStack100) return 100;
  if (FStacked == cssStack) return StackedMax(*this, inherited);
  return inherited;
}

double TCustomSeries::MinYValue() const {
  if (YMandatory() && FStacked == cssStack100) return 0;
  return TCustomLineSeries::MinYValue();
}

double TCustomSeries::MaxXValue() const {
  const double inherited = TCustomLineSeries::MaxXValue();
  if (YMandatory()) return inherited;
  if (FStacked == cssStack100) return 100;
  if (FStacked == cssStack) return StackedMax(*this, inherited);
  return inherited;
}

double TCustomSeries::MinXValue() const {
  if (!YMandatory() && FStacked == cssStack100) return 0;
  return TCustomLineSeries::MinXValue();
}

void TCustomSeries::CalcZOrder() {
  TCustomAxisPanel* chart = ParentChart();
  if (FStacked == cssNone || chart == nullptr || ZOrder() != -1) {
    TCustomLineSeries::CalcZOrder();
    return;
  }
  // All stacked series share one depth: the first one opens it.
  if (chart->MaxZOrder() < 0) chart->SetMaxZOrder(0);
  SetAutoZOrder(chart->MaxZOrder());
}

// --- margins, marks, legend -------------------------------------------------

void TCustomSeries::CalcHorizMargins(std::int32_t& left, std::int32_t& right) {
  TCustomLineSeries::CalcHorizMargins(left, right);
  FPointer->CalcHorizMargins(left, right);
  if (FDrawLine && FStairs) {
    left = std::max(left, LinePen()->Width());
    right = std::max(right, LinePen()->Width());
    if (FOutLine->Visible()) {
      left = std::max(left, FOutLine->Width());
      right = std::max(right, FOutLine->Width());
    }
  }
  // Marks of a horizontal kind stand to the right of their points.
  if (!YMandatory() && Marks()->Visible())
    right = std::max(right, Marks()->Callout()->Length() + Marks()->Callout()->Distance());
}

void TCustomSeries::CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) {
  TCustomLineSeries::CalcVerticalMargins(top, bottom);
  FPointer->CalcVerticalMargins(top, bottom);
  if (FDrawLine && FStairs) {
    top = std::max(top, LinePen()->Width());
    bottom = std::max(bottom, LinePen()->Width());
    if (FOutLine->Visible()) {
      top = std::max(top, FOutLine->Width());
      bottom = std::max(bottom, FOutLine->Width());
    }
  }
  if (FLineHeight >= 1 && !FDrawArea && ParentChart() != nullptr && ParentChart()->View3D())
    top = std::max(top, FLineHeight);
  // Marks of a vertical kind stand above their points.
  if (YMandatory() && Marks()->Visible())
    top = std::max(top, Marks()->Callout()->Length() + Marks()->Callout()->Distance());
}

void TCustomSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  Marks()->ZPosition = StartZ;
  if (YMandatory()) Marks()->ApplyArrowLength(position);
  TCustomLineSeries::DrawMark(valueIndex, text, position);
}

void TCustomSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const TColor color = valueIndex == -1 ? SeriesColor() : ValueColor(valueIndex);
  const std::int32_t midY = (rect.Top + rect.Bottom) / 2;
  if (FPointer->Visible()) {
    if (FDrawLine) {
      c.AssignVisiblePenColor(*LinePen(), color);
      c.DoHorizLine(rect.Left, rect.Right, midY);
    }
    const TChartPen& symbolPen = chart->LegendPen != nullptr ? *chart->LegendPen : *LinePen();
    std::int32_t h, v;
    if (symbolPen.Visible()) {
      h = std::min(FPointer->HorizSize(), rect.Width() / 3);
      v = std::min(FPointer->VertSize(), rect.Height() / 3);
    } else {
      h = rect.Width() / 2 + 1;
      v = rect.Height() / 2 + 1;
    }
    FPointer->PrepareCanvas(c, color);
    FPointer->Draw(c, false, (rect.Left + rect.Right) / 2, midY, h, v, color,
                   PointerStyleOf(valueIndex < 0 ? 0 : valueIndex));
    return;
  }
  if (FDrawLine && !FDrawArea) {
    if (chart->View3D()) {
      c.AssignBrushColor(*Brush(), color, clNone);
      c.AssignVisiblePenColor(*LinePen(), color);
      c.Rectangle(rect);
    } else {
      c.AssignVisiblePenColor(*LinePen(), color);
      c.DoHorizLine(rect.Left, rect.Right, midY);
    }
    return;
  }
  TCustomLineSeries::DrawLegendShape(valueIndex, rect);
}

// --- click test ---------------------------------------------------------------

bool TCustomSeries::ClickedSegment(int valueIndex, const TPoint& from, const TPoint& to, std::int32_t x,
                                   std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  const TPoint p{x, y};
  if (chart != nullptr && chart->View3D()) {
    const std::int32_t dx = chart->SeriesWidth3D(), dy = -chart->SeriesHeight3D();
    const TPoint quad[4] = {from, to, {to.X + dx, to.Y + dy}, {from.X + dx, from.Y + dy}};
    if (PointInPolygon(p, quad)) return true;
  } else if (FStairs) {
    const TPoint corner = FInvertedStairs ? TPoint{from.X, to.Y} : TPoint{to.X, from.Y};
    if (PointInLine(p, from, corner) || PointInLine(p, corner, to)) return true;
  } else if (PointInLine(p, from, to)) {
    return true;
  }
  if (FDrawArea) {
    const std::int32_t o0 = GetOriginPos(valueIndex - 1), o1 = GetOriginPos(valueIndex);
    const std::array<TPoint, 4> strip =
        YMandatory() ? std::array<TPoint, 4>{from, to, TPoint{to.X, o1}, TPoint{from.X, o0}}
                     : std::array<TPoint, 4>{from, to, TPoint{o1, to.Y}, TPoint{o0, from.Y}};
    if (PointInPolygon(p, strip)) return true;
  }
  return false;
}

int TCustomSeries::Clicked(std::int32_t x, std::int32_t y) {
  if (ParentChart() != nullptr) ParentChart()->Canvas().Calculate2DPosition(x, y, StartZ);
  const int inherited = TCustomLineSeries::Clicked(x, y);
  if (inherited != -1) return inherited;
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < 0) return -1;
  TPoint old;
  for (int i = first; i <= last && i < Count(); ++i) {
    const TPoint p{CalcXPos(i), CalcYPos(i)};
    if (FPointer->Visible() && ClickedPointer(i, p.X, p.Y, x, y)) {
      if (OnClickPointer) OnClickPointer(*this, i, x, y);
      return i;
    }
    if (p.X == x && p.Y == y) return i;
    if (i > first && FClickableLine && ClickedSegment(i, old, p, x, y)) return i - 1;
    old = p;
  }
  return -1;
}

// --- line series --------------------------------------------------------------

const TClassInfo& TLineSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TLineSeries>("TLineSeries", TCustomSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

TLineSeries::TLineSeries(classlib::TComponent* owner) : TCustomSeries(owner) {
  SetDrawLine(true);
  SetSingleResult(false);
  Pointer()->SetVisible(false);
}

void TLineSeries::Assign(const classlib::TPersistent& source) {
  TCustomSeries::Assign(source);
  if (!source.ClassInfo().InheritsFrom(ClassInfo())) Pointer()->SetVisible(false);
  SetDrawArea(false);
  SetDrawLine(true);
}

void TLineSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  (void)valueIndex, (void)backColor;
  if (ParentChart() != nullptr) ParentChart()->Canvas().AssignVisiblePen(*LinePen());
  brushStyle = LineBrush();
}

void TLineSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCustomSeries::ListSubStyles(callback);
  for (int m : {184, 185, 186, 187, 181, 183, 179}) callback(KivMsg(m));
}

void TLineSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetStairs(true); break;
    case 2: Pointer()->SetVisible(true); break;
    case 3: SetLineHeight(5); break;
    case 4: SetLineBrush(bsClear); break;
    case 5: SetColorEachPoint(true); break;
    case 6: Marks()->SetVisible(true); break;
    case 7: LinePen()->SetVisible(false); break;
    default: TCustomSeries::ApplySubStyle(subStyle);
  }
}

const TClassInfo& THorizLineSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<THorizLineSeries>("THorizLineSeries", TLineSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

THorizLineSeries::THorizLineSeries(classlib::TComponent* owner) : TLineSeries(owner) {
  SetHorizontal();
  SetCalcVisiblePoints(false);
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
}

// --- point series -------------------------------------------------------------

const TClassInfo& TPointSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPointSeries>("TPointSeries", TCustomSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

TPointSeries::TPointSeries(classlib::TComponent* owner) : TCustomSeries(owner) {
  ApplyPointKind();
  Marks()->SetArrowLength(0);
}

void TPointSeries::ApplyPointKind() {
  Pointer()->SetVisible(true);
  SetDrawArea(false);
  SetDrawLine(false);
  SetClickableLine(false);
}

void TPointSeries::Assign(const classlib::TPersistent& source) {
  TCustomSeries::Assign(source);
  ApplyPointKind();
}

void TPointSeries::SetColorEachPoint(bool v) {
  TCustomSeries::SetColorEachPoint(v);
  if (v) Pointer()->Brush()->SetColor(clDefault);
}

void TPointSeries::PrepareForGallery(bool enabled) {
  TCustomSeries::PrepareForGallery(enabled);
  TCustomAxisPanel* chart = ParentChart();
  const std::int32_t size = chart != nullptr && chart->Width() < 50 ? 4 : 6;
  Pointer()->SetHorizSize(size);
  Pointer()->SetVertSize(size);
  if (chart != nullptr && chart->SeriesCount() >= 2 && chart->Series(1) == this) Pointer()->SetStyle(psTriangle);
}

void TPointSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCustomSeries::ListSubStyles(callback);
  for (int m : {181, 183, 187, 179, 231}) callback(KivMsg(m));
  if (SubStylesIncludePointerStyles())
    for (int m = 188; m <= 194; ++m) callback(KivMsg(m));
}

void TPointSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetColorEachPoint(true); return;
    case 2: Marks()->SetVisible(true); return;
    case 3: Pointer()->Brush()->SetStyle(bsClear); return;
    case 4: Pointer()->Pen()->SetVisible(false); return;
    case 5: Pointer()->Gradient()->SetVisible(true); return;
    default: break;
  }
  if (!SubStylesIncludePointerStyles()) {
    TCustomSeries::ApplySubStyle(subStyle);
    return;
  }
  switch (subStyle) {
    case 6: Pointer()->SetDraw3D(false); break;
    case 7: Pointer()->SetStyle(psTriangle); break;
    case 8: Pointer()->SetStyle(psStar); break;
    case 9:
      Pointer()->SetStyle(psCircle);
      Pointer()->SetHorizSize(8);
      Pointer()->SetVertSize(8);
      break;
    case 10: Pointer()->SetStyle(psDownTriangle); break;
    case 11: Pointer()->SetStyle(psCross); break;
    case 12: Pointer()->SetStyle(psDiamond); break;
    default: TCustomSeries::ApplySubStyle(subStyle);
  }
}

}  // namespace chart
