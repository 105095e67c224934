// Bar series: grouping of the chart's bar series, widths and positions,
// stacking, extremes, the nine shapes in 2D and 3D, margins, marks, legend,
// the click test and the gallery.
//
// Tested by: chart/tests/BarSeriesTest.cpp
#include "chart/series/BarSeries.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- gradient -----------------------------------------------------------------

const TClassInfo& TBarSeriesGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TBarSeriesGradient>("TBarSeriesGradient", TKivGradient::StaticClassInfo())
          .Property("Relative", &TBarSeriesGradient::Relative, &TBarSeriesGradient::SetRelative, false)
          .Build();
  return info;
}

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent onChange) : TKivGradient(std::move(onChange)) {
  SetVisible(true);
}

void TBarSeriesGradient::SetRelative(bool v) {
  if (FRelative == v) return;
  FRelative = v;
  Changed();
}

void TBarSeriesGradient::Assign(const classlib::TPersistent& source) {
  if (auto* g = dynamic_cast<const TBarSeriesGradient*>(&source)) FRelative = g->FRelative;
  TKivGradient::Assign(source);
}

// --- series -------------------------------------------------------------------

namespace {
const std::vector<std::string> BarStyleNames = {"bsRectangle", "bsPyramid",      "bsInvPyramid",
                                                "bsCilinder",  "bsEllipse",      "bsArrow",
                                                "bsRectGradient", "bsCone", "bsBevel"};
const std::vector<std::string> MultiBarNames = {"mbNone",       "mbSide",    "mbStacked",
                                                "mbStacked100", "mbSideAll", "mbSelfStack"};
}  // namespace

const TClassInfo& TCustomBarSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomBarSeries>("TCustomBarSeries", TChartSeries::StaticClassInfo())
          .Property("AutoBarSize", &TCustomBarSeries::AutoBarSize, &TCustomBarSeries::SetAutoBarSize, false)
          .Property("AutoMarkPosition", &TCustomBarSeries::AutoMarkPosition, &TCustomBarSeries::SetAutoMarkPosition,
                    true)
          .Property("BarStyle", &TCustomBarSeries::BarStyle, &TCustomBarSeries::SetBarStyle, bsRectangle)
          .TypeName("TBarStyle")
          .Names(BarStyleNames)
          .Property("BarWidthPercent", &TCustomBarSeries::BarWidthPercent, &TCustomBarSeries::SetBarWidthPercent, 70)
          .Property("BevelSize", &TCustomBarSeries::BevelSize, &TCustomBarSeries::SetBevelSize, 1)
          .Property("Dark3D", &TCustomBarSeries::Dark3D, &TCustomBarSeries::SetDark3D, true)
          .SubObject("Gradient", &TCustomBarSeries::Gradient)
          .TypeName("TBarSeriesGradient")
          .Property("MultiBar", &TCustomBarSeries::MultiBar, &TCustomBarSeries::SetMultiBar, mbSide)
          .TypeName("TMultiBar")
          .Names(MultiBarNames)
          .Property("OffsetPercent", &TCustomBarSeries::OffsetPercent, &TCustomBarSeries::SetOffsetPercent, 0)
          .Property("SideMargins", &TCustomBarSeries::SideMargins, &TCustomBarSeries::SetSideMargins, true)
          .Property("StackGroup", &TCustomBarSeries::StackGroup, &TCustomBarSeries::SetStackGroup, 0)
          .Property("UseYOrigin", &TCustomBarSeries::UseYOrigin, &TCustomBarSeries::SetUseYOrigin, true)
          .Property("YOrigin", &TCustomBarSeries::YOrigin, &TCustomBarSeries::SetYOrigin, 0.0)
          .Build();
  return info;
}

TCustomBarSeries::TCustomBarSeries(classlib::TComponent* owner)
    : TChartSeries(owner), FGradient(std::make_unique<TBarSeriesGradient>([this] { ElementChanged(); })) {
  Marks()->SetVisible(true);
  Marks()->SetArrowLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCustomBarSeries*>(&source)) {
    FAutoMarkPosition = s->FAutoMarkPosition;
    FBarWidthPercent = s->FBarWidthPercent;
    FBarStyle = s->FBarStyle;
    FBevelSize = s->FBevelSize;
    FCustomBarSize = s->FCustomBarSize;
    FDark3D = s->FDark3D;
    FGradient->Assign(*s->FGradient);
    FMultiBar = s->FMultiBar;
    FOffsetPercent = s->FOffsetPercent;
    FYOrigin = s->FYOrigin;
    FSideMargins = s->FSideMargins;
    FStackGroup = s->FStackGroup;
    FUseYOrigin = s->FUseYOrigin;
  }
  TChartSeries::Assign(source);
}

void TCustomBarSeries::SetMultiBar(TMultiBar v) {
  if (FMultiBar == v) return;
  FMultiBar = v;
  SetCalcVisiblePoints(v != mbSelfStack);
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* b = dynamic_cast<TCustomBarSeries*>(s); b != nullptr && b != this && SameClass(*s, *this)) {
        b->FMultiBar = v;
        b->FSideMargins = FSideMargins;
        b->SetCalcVisiblePoints(v != mbSelfStack);
      }
  Invalidate();
}

void TCustomBarSeries::SetSideMargins(bool v) {
  if (FSideMargins == v) return;
  FSideMargins = v;
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* b = dynamic_cast<TCustomBarSeries*>(s); b != nullptr && SameClass(*s, *this)) {
        b->FSideMargins = v;
        b->FMultiBar = FMultiBar;
      }
  Invalidate();
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* chart) {
  TChartSeries::SetParentChart(chart);
  if (chart == nullptr) return;
  for (TChartSeries* s : chart->SeriesList())
    if (auto* b = dynamic_cast<TCustomBarSeries*>(s); b != nullptr && b != this && SameClass(*s, *this)) {
      FMultiBar = b->FMultiBar;
      FSideMargins = b->FSideMargins;
      SetCalcVisiblePoints(FMultiBar != mbSelfStack);
      break;
    }
}

TBarStyle TCustomBarSeries::BarStyleOf(int valueIndex) {
  TBarStyle style = FBarStyle;
  if (OnGetBarStyle) OnGetBarStyle(*this, valueIndex, style);
  return style;
}

int TCustomBarSeries::IndexInChart() const {
  if (ParentChart() == nullptr) return 0;
  const auto& list = ParentChart()->SeriesList();
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

// --- grouping and width -------------------------------------------------------

void TCustomBarSeries::DoBeforeDrawChart() {
  FNumBars = 0;
  FMaxBarPoints = -1;
  FBarIndex = 1;
  FPrecedingPoints = 0;
  std::vector<std::int32_t> groups;
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  bool before = true;
  for (TChartSeries* s : chart->SeriesList()) {
    if (s == this) before = false;
    auto* b = dynamic_cast<TCustomBarSeries*>(s);
    if (b == nullptr || !s->Active() || !SameClass(*s, *this)) continue;
    if (FMaxBarPoints == -1 || FMaxBarPoints < s->Count()) FMaxBarPoints = s->Count() + (FSideMargins ? 1 : 0);
    switch (FMultiBar) {
      case mbNone:
      case mbSelfStack: FNumBars = 1; break;
      case mbSide:
      case mbSideAll:
        ++FNumBars;
        if (before) ++FBarIndex;
        break;
      case mbStacked:
      case mbStacked100:
        if (std::find(groups.begin(), groups.end(), b->FStackGroup) == groups.end()) {
          groups.push_back(b->FStackGroup);
          ++FNumBars;
          if (before) ++FBarIndex;
        }
        break;
    }
    if (before) FPrecedingPoints += s->Count();
  }
  if (FMultiBar == mbStacked || FMultiBar == mbStacked100)
    FBarIndex = static_cast<std::int32_t>(std::find(groups.begin(), groups.end(), FStackGroup) - groups.begin()) + 1;
  if (chart->MaxPointsPerPage() >= 1) FMaxBarPoints = chart->MaxPointsPerPage();
}

void TCustomBarSeries::CalcBarWidth() {
  if (FCustomBarSize != 0) {
    FBarWidth = FCustomBarSize;
    return;
  }
  TChartAxis* axis = PositionAxis();
  if (FMaxBarPoints < 1 || axis == nullptr) {
    FBarWidth = 0;
    return;
  }
  std::int32_t room;
  if (FAutoBarSize)
    room = Round(axis->IAxisSize() / (2.0 + axis->Maximum() - axis->Minimum()));
  else
    room = axis->IAxisSize() / FMaxBarPoints;
  const std::int64_t w = static_cast<std::int64_t>(Round(FBarWidthPercent * 0.01 * room)) / std::max(1, FNumBars);
  FBarWidth = static_cast<std::int32_t>(w);
  if (FBarWidth % 2 != 0) ++FBarWidth;
}

void TCustomBarSeries::DoBeforeDrawValues() {
  CalcBarWidth();
  TChartSeries::DoBeforeDrawValues();
}

void TCustomBarSeries::CalcZOrder() {
  TCustomAxisPanel* chart = ParentChart();
  if (FMultiBar != mbNone && chart != nullptr && ZOrder() == -1) {
    for (TChartSeries* s : chart->SeriesList()) {
      if (s == this) break;
      if (s->Active() && SameClass(*s, *this)) {
        SetAutoZOrder(s->GetZOrder());
        return;
      }
    }
  }
  TChartSeries::CalcZOrder();
}

bool TCustomBarSeries::MoreSameZOrder() const {
  return FMultiBar == mbSideAll ? false : TChartSeries::MoreSameZOrder();
}

// --- stacking and positions ---------------------------------------------------

double TCustomBarSeries::PointOrigin(int valueIndex, bool sumAll) const {
  if (FMultiBar == mbSelfStack) {
    double sum = 0;
    const TChartValueList& v = *MandatoryValueList();
    for (int i = 0; i < valueIndex && i < Count(); ++i) sum += v.Value(i);
    return sum;
  }
  if (FMultiBar != mbStacked && FMultiBar != mbStacked100) return FYOrigin;
  double sum = 0;
  if (ParentChart() == nullptr || valueIndex >= Count()) return sum;
  const bool positive = MandatoryValueList()->Value(valueIndex) >= 0;
  for (TChartSeries* s : ParentChart()->SeriesList()) {
    if (!sumAll && s == this) break;
    auto* b = dynamic_cast<TCustomBarSeries*>(s);
    if (b == nullptr || !s->Active() || !SameClass(*s, *this) || b->FStackGroup != FStackGroup ||
        s->Count() <= valueIndex)
      continue;
    const double v = s->MandatoryValueList()->Value(valueIndex);
    if ((v >= 0) == positive) sum += v;
  }
  return sum;
}

std::int32_t TCustomBarSeries::StackedPixel(int valueIndex, double value) const {
  TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  if (FMultiBar == mbStacked100) {
    const double total = PointOrigin(valueIndex, true);
    return total != 0 ? axis->CalcPosValue(value * 100.0 / total) : axis->IEndPos();
  }
  return axis->CalcPosValue(value);
}

std::int32_t TCustomBarSeries::SlotPos(int i) const {
  TChartAxis* axis = PositionAxis();
  if (axis == nullptr) return 0;
  std::int32_t p;
  switch (FMultiBar) {
    case mbSideAll: p = axis->CalcPosValue(i + FPrecedingPoints) - FBarWidth / 2; break;
    case mbSelfStack: p = axis->CalcPosValue(IndexInChart()) - FBarWidth / 2; break;
    case mbNone: p = axis->CalcPosValue(NotMandatoryValueList()->Value(i)) - FBarWidth / 2; break;
    default:
      p = axis->CalcPosValue(NotMandatoryValueList()->Value(i)) +
          Round((FBarIndex - FNumBars * 0.5 - 1) * FBarWidth);
  }
  if (FOffsetPercent != 0) p += Round(FOffsetPercent * FBarWidth * 0.01);
  return p;
}

std::int32_t TCustomBarSeries::ValueEnd(int i) const {
  TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  switch (FMultiBar) {
    case mbNone:
    case mbSide:
    case mbSideAll: return axis->CalcPosValue(MandatoryValueList()->Value(i));
    default: return StackedPixel(i, PointOrigin(i, false) + MandatoryValueList()->Value(i));
  }
}

std::int32_t TCustomBarSeries::OriginPos(int i) const {
  TChartAxis* axis = ValueAxis();
  if (axis == nullptr) return 0;
  switch (FMultiBar) {
    case mbStacked:
    case mbStacked100:
    case mbSelfStack: return StackedPixel(i, PointOrigin(i, false));
    default: break;
  }
  if (FUseYOrigin) return axis->CalcPosValue(FYOrigin);
  return YMandatory() ? axis->IEndPos() : axis->IStartPos();
}

std::int32_t TCustomBarSeries::CalcXPos(int i) const { return YMandatory() ? SlotPos(i) : ValueEnd(i); }
std::int32_t TCustomBarSeries::CalcYPos(int i) const { return YMandatory() ? ValueEnd(i) : SlotPos(i); }

// --- extremes -----------------------------------------------------------------

double TCustomBarSeries::ValueMax(double inherited) const {
  double m = inherited;
  const TChartValueList& v = *MandatoryValueList();
  switch (FMultiBar) {
    case mbStacked100: return 100;
    case mbSelfStack:
      m = 0;
      for (int i = 0; i < Count(); ++i) m += v.Value(i);
      break;
    case mbStacked:
      for (int i = 0; i < Count(); ++i) m = std::max(m, PointOrigin(i, false) + v.Value(i));
      break;
    default: break;
  }
  return FUseYOrigin ? std::max(m, FYOrigin) : m;
}

double TCustomBarSeries::ValueMin(double inherited) const {
  double m = inherited;
  const TChartValueList& v = *MandatoryValueList();
  switch (FMultiBar) {
    case mbStacked100: return 0;
    case mbSelfStack:
    case mbStacked:
      for (int i = 0; i < Count(); ++i) m = std::min(m, PointOrigin(i, false) + v.Value(i));
      break;
    default: break;
  }
  return FUseYOrigin ? std::min(m, FYOrigin) : m;
}

double TCustomBarSeries::MaxYValue() const {
  if (YMandatory()) return ValueMax(TChartSeries::MaxYValue());
  if (FMultiBar == mbSideAll) return Count() + FPrecedingPoints - 1;
  if (FMultiBar == mbSelfStack) return IndexInChart();
  return TChartSeries::MaxYValue();
}

double TCustomBarSeries::MinYValue() const {
  if (YMandatory()) return ValueMin(TChartSeries::MinYValue());
  if (FMultiBar == mbSelfStack) return IndexInChart();
  return TChartSeries::MinYValue();
}

double TCustomBarSeries::MaxXValue() const {
  if (!YMandatory()) return ValueMax(TChartSeries::MaxXValue());
  if (FMultiBar == mbSideAll) return Count() + FPrecedingPoints - 1;
  if (FMultiBar == mbSelfStack) return IndexInChart();
  return TChartSeries::MaxXValue();
}

double TCustomBarSeries::MinXValue() const {
  if (!YMandatory()) return ValueMin(TChartSeries::MinXValue());
  if (FMultiBar == mbSelfStack) return IndexInChart();
  return TChartSeries::MinXValue();
}

bool TCustomBarSeries::DrawSeriesForward() const {
  TChartAxis* axis = ValueAxis();
  const bool inverted = axis != nullptr && axis->Inverted();
  // The first visible point decides for stacks that grow both ways.
  const int i = std::max(0, FirstValueIndex());
  const double value = Count() > i ? MandatoryValueList()->Value(i) : 0;
  switch (FMultiBar) {
    case mbStacked:
    case mbSelfStack: {
      const bool up = YMandatory() ? value >= FYOrigin : value >= 0;
      return inverted ? !up : up;
    }
    case mbStacked100: return !inverted;
    case mbSide:
    case mbSideAll:
      if (!YMandatory()) return false;
      return TChartSeries::DrawSeriesForward();
    default: return TChartSeries::DrawSeriesForward();
  }
}

// --- drawing ------------------------------------------------------------------

void TCustomBarSeries::BarRect(int i, TRect& r, std::int32_t& start, std::int32_t& end, bool& upward) {
  const std::int32_t slot = SlotPos(i);
  std::int32_t far = slot + FBarWidth + 1;
  if (FBarWidthPercent == 100 && FCustomBarSize == 0) {
    // Touching bars end where the neighbour starts; a bar without a neighbour
    // on that side takes its own width.
    TChartAxis* axis = PositionAxis();
    const bool inverted = axis != nullptr && axis->Inverted();
    const int neighbour = YMandatory() ? (inverted ? i - 1 : i + 1) : (inverted ? i + 1 : i - 1);
    if (neighbour >= 0 && neighbour < Count()) far = SlotPos(neighbour);
  }
  std::int32_t valueEnd = ValueEnd(i), origin = OriginPos(i);
  if (YMandatory()) {
    upward = valueEnd <= origin;
    if (!BarPen()->Visible()) {
      if (upward)
        ++origin;
      else
        ++valueEnd;
      ++far;
    }
    start = std::min(valueEnd, origin);
    end = std::max(valueEnd, origin);
    r = {slot, start, far, end};
  } else {
    upward = valueEnd >= origin;
    if (!BarPen()->Visible()) {
      if (valueEnd <= origin) {
        ++origin;
        --valueEnd;
      } else {
        ++valueEnd;
      }
    }
    ++far;
    start = std::min(valueEnd, origin);
    end = std::max(valueEnd, origin);
    r = {start, slot, end, far};
  }
}

void TCustomBarSeries::DrawValue(int i) {
  if (ParentChart() == nullptr || IsNull(i)) return;
  FBarColor = ValueColor(i);
  std::int32_t start, end;
  bool upward;
  BarRect(i, FBarBounds, start, end, upward);
  DrawBar(i, start, end);
}

void TCustomBarSeries::DrawBar(int i, std::int32_t start, std::int32_t end) {
  (void)start, (void)end;
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  const bool vertical = YMandatory();
  const TRect r = FBarBounds;
  const TColor color = FBarColor;
  c.AssignVisiblePen(*BarPen());
  c.AssignBrushColor(*BarBrush(), color, clNone);
  const TBarStyle style = BarStyleOf(i);
  // The ends along the value axis: where the bar starts and where its value is.
  const std::int32_t origin = OriginPos(i), value = ValueEnd(i);
  const std::int32_t mid = vertical ? (r.Left + r.Right) / 2 : (r.Top + r.Bottom) / 2;
  const TPoint from = vertical ? TPoint{mid, origin} : TPoint{origin, mid};
  const TPoint to = vertical ? TPoint{mid, value} : TPoint{value, mid};
  if (is3D) {
    switch (style) {
      case bsRectangle:
      case bsRectGradient:
      case bsBevel: c.Cube(r, StartZ, EndZ, FDark3D); break;
      case bsPyramid:
        if (vertical)
          c.Pyramid(true, r.Left, value, r.Right, origin, StartZ, EndZ, FDark3D);
        else
          c.Pyramid(false, origin, r.Top, value, r.Bottom, StartZ, EndZ, FDark3D);
        break;
      case bsInvPyramid:
        if (vertical)
          c.Pyramid(true, r.Left, origin, r.Right, value, StartZ, EndZ, FDark3D);
        else
          c.Pyramid(false, value, r.Top, origin, r.Bottom, StartZ, EndZ, FDark3D);
        break;
      case bsCilinder: c.Cylinder(vertical, r.Left, r.Top, r.Right, r.Bottom, StartZ, EndZ, FDark3D); break;
      case bsEllipse: c.EllipseWithZ(r, MiddleZ); break;
      case bsArrow: c.Arrow(true, from, to, FBarWidth / 2, FBarWidth, MiddleZ); break;
      case bsCone:
        if (vertical)
          c.Cone(true, r.Left, value, r.Right, origin, StartZ, EndZ, FDark3D, 0);
        else
          c.Cone(false, origin, r.Top, value, r.Bottom, StartZ, EndZ, FDark3D, 0);
        break;
    }
  } else {
    switch (style) {
      case bsRectangle:
      case bsCilinder:
      case bsRectGradient:
      case bsBevel: {
        const std::int32_t w = r.Width(), h = r.Height();
        if (c.Brush().Style() == bsSolid && (w <= 1 || h <= 1)) {
          c.AssignVisiblePenColor(*BarPen(), color);
          if (vertical)
            c.DoVertLine(r.Left, r.Top, r.Bottom);
          else
            c.DoHorizLine(r.Left, r.Right, r.Top);
          break;
        }
        if (BarPen()->Visible() && BarPen()->Width() > (vertical ? w : h)) {
          c.Pen().SetColor(color);
          c.Brush().SetStyle(bsClear);
        }
        c.Rectangle(r);
        break;
      }
      case bsPyramid:
      case bsCone: {
        const std::array<TPoint, 3> p =
            vertical ? std::array<TPoint, 3>{TPoint{r.Left, origin}, TPoint{mid, value}, TPoint{r.Right, origin}}
                     : std::array<TPoint, 3>{TPoint{origin, r.Top}, TPoint{value, mid}, TPoint{origin, r.Bottom}};
        c.Polygon(p);
        break;
      }
      case bsInvPyramid: {
        const std::array<TPoint, 3> p =
            vertical ? std::array<TPoint, 3>{TPoint{r.Left, value}, TPoint{mid, origin}, TPoint{r.Right, value}}
                     : std::array<TPoint, 3>{TPoint{value, r.Top}, TPoint{origin, mid}, TPoint{value, r.Bottom}};
        c.Polygon(p);
        break;
      }
      case bsEllipse: c.Ellipse(r); break;
      case bsArrow: c.Arrow(true, from, to, FBarWidth / 2, FBarWidth, 0); break;
    }
  }
  if (style == bsRectGradient && FGradient->Visible()) {
    TColor endColor = color;
    if (FGradient->Relative()) {
      const TChartValueList& v = *MandatoryValueList();
      const double base = FUseYOrigin ? FYOrigin : v.MinValue();
      const double span = v.MaxValue() - base;
      // With no span the ratio is 1: the bar's own colour.
      const double ratio = span != 0 ? (v.Value(i) - base) / span : 1.0;
      const TColor s = ColorToRGB(FGradient->StartColor(), DefaultSystemColors());
      const TColor b = ColorToRGB(color, DefaultSystemColors());
      auto channel = [&](int a, int z) { return std::clamp(a + Round((z - a) * ratio), 0, 255); };
      endColor = RGB(channel(GetRValue(s), GetRValue(b)), channel(GetGValue(s), GetGValue(b)),
                     channel(GetBValue(s), GetBValue(b)));
    }
    FGradient->SetOnChange({});
    FGradient->SetEndColor(endColor);
    FGradient->SetOnChange([this] { ElementChanged(); });
    const std::int32_t p = BarPen()->Visible() ? BarPen()->Width() : 0;
    if (!is3D) {
      TRect g = r;
      if (p > 0) g = {r.Left + 1, r.Top + 1, r.Right - p, r.Bottom - p};
      DrawGradient(c, *FGradient, g);
    } else if (c.IsOrthogonal()) {
      TRect g = r;
      if (p > 0) g = {r.Left + 1, r.Top + 1, r.Right - (p - 1), r.Bottom - (p - 1)};
      const TPoint a = c.Calculate3DPosition(g.Left, g.Top, StartZ);
      const TPoint b = c.Calculate3DPosition(g.Right, g.Bottom, StartZ);
      DrawGradient(c, *FGradient, TRect{a.X, a.Y, b.X, b.Y});
    } else {
      const TRect g{r.Left + p, r.Top + p, r.Right - p, r.Bottom - p};
      const TPoint q[4] = {c.Calculate3DPosition(g.Left, g.Top, StartZ), c.Calculate3DPosition(g.Right, g.Top, StartZ),
                           c.Calculate3DPosition(g.Right, g.Bottom, StartZ),
                           c.Calculate3DPosition(g.Left, g.Bottom, StartZ)};
      DrawGradient(c, *FGradient, q);
    }
  }
  if (style == bsBevel && (!is3D || c.IsOrthogonal())) {
    TRect b = r;
    if (BarPen()->Visible()) {
      const std::int32_t p = BarPen()->Width();
      b = {b.Left + p, b.Top + p, b.Right - p, b.Bottom - p};
    }
    if (is3D) {
      const TPoint a = c.Calculate3DPosition(b.Left, b.Top, StartZ);
      const TPoint z = c.Calculate3DPosition(b.Right, b.Bottom, StartZ);
      b = {a.X, a.Y, z.X, z.Y};
    }
    c.Frame3D(b, ApplyBright(color, 128), ApplyDark(color, 64), FBevelSize);
  }
}

// --- click test ---------------------------------------------------------------

bool TCustomBarSeries::ClickedBar(int i, const TPoint& p0) {
  TCustomAxisPanel* chart = ParentChart();
  TPoint p = p0;
  const bool is3D = chart != nullptr && chart->View3D();
  TRect r;
  std::int32_t start, end;
  bool upward;
  BarRect(i, r, start, end, upward);
  const TBarStyle style = BarStyleOf(i);
  const bool vertical = YMandatory();
  const std::int32_t origin = OriginPos(i), value = ValueEnd(i);
  if (style == bsPyramid || style == bsInvPyramid || style == bsCone) {
    const std::int32_t apex = style == bsInvPyramid ? origin : value;
    const std::int32_t base = style == bsInvPyramid ? value : origin;
    const std::int32_t mid = vertical ? (r.Left + r.Right) / 2 : (r.Top + r.Bottom) / 2;
    std::array<TPoint, 3> t = vertical ? std::array<TPoint, 3>{TPoint{r.Left, base}, TPoint{mid, apex},
                                                               TPoint{r.Right, base}}
                                       : std::array<TPoint, 3>{TPoint{base, r.Top}, TPoint{apex, mid},
                                                               TPoint{base, r.Bottom}};
    if (is3D) {
      TCanvas3D& c = chart->Canvas();
      t = {c.Calculate3DPosition(t[0], StartZ), c.Calculate3DPosition(t[1], MiddleZ),
           c.Calculate3DPosition(t[2], StartZ)};
    }
    return PointInPolygon(p, t);
  }
  if (is3D) chart->Canvas().Calculate2DPosition(p.X, p.Y, StartZ);
  if (vertical && (p.X < r.Left || p.X > r.Left + FBarWidth)) return false;
  if (!vertical && (p.Y < r.Top || p.Y > r.Top + FBarWidth)) return false;
  if (style == bsEllipse) return PointInEllipse(p, r);
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

int TCustomBarSeries::Clicked(std::int32_t x, std::int32_t y) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < 0) return -1;
  CalcBarWidth();
  for (int i = first; i <= last && i < Count(); ++i)
    if (!IsNull(i) && ClickedBar(i, {x, y})) return i;
  return -1;
}

// --- margins and marks ----------------------------------------------------------

std::int32_t TCustomBarSeries::MarkSize() {
  if (ParentChart() == nullptr) return 0;
  if (YMandatory()) {
    TCanvas3D& c = ParentChart()->Canvas();
    c.AssignFont(*Marks()->Font());
    return c.FontHeight();
  }
  return MaxMarkWidth();
}

void TCustomBarSeries::CalcHorizMargins(std::int32_t& left, std::int32_t& right) {
  TChartSeries::CalcHorizMargins(left, right);
  CalcBarWidth();
  if (YMandatory()) {
    std::int32_t half = (FMultiBar == mbSideAll ? FBarWidth : FBarWidth * FNumBars) / 2;
    if (!FSideMargins) half /= 2;
    left += half;
    right += half;
    return;
  }
  const std::int32_t m = (Count() > 0 && Marks()->Visible()
                              ? MarkSize() + Marks()->Callout()->Length() +
                                    (Marks()->Pen()->Visible() ? 2 * Marks()->Pen()->Width() : 0)
                              : 0) +
                         1;
  const bool inverted = GetHorizAxis() != nullptr && GetHorizAxis()->Inverted();
  if (FUseYOrigin && MinXValue() < FYOrigin) (inverted ? right : left) += m;
  if (!(FUseYOrigin && MaxXValue() < FYOrigin)) (inverted ? left : right) += m;
}

void TCustomBarSeries::CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) {
  TChartSeries::CalcVerticalMargins(top, bottom);
  CalcBarWidth();
  if (!YMandatory()) {
    std::int32_t half = (FMultiBar == mbSideAll ? FBarWidth : FBarWidth * FNumBars) / 2;
    if (!FSideMargins) half /= 2;
    top += half;
    bottom += half;
    return;
  }
  const std::int32_t m = (Count() > 0 && Marks()->Visible()
                              ? MarkSize() + Marks()->Callout()->Length() +
                                    (Marks()->Pen()->Visible() ? 2 * Marks()->Pen()->Width() : 0)
                              : 0) +
                         1;
  const bool inverted = GetVertAxis() != nullptr && GetVertAxis()->Inverted();
  if (FUseYOrigin && MinYValue() < FYOrigin) (inverted ? top : bottom) += m;
  if (!(FUseYOrigin && MaxYValue() < FYOrigin)) (inverted ? bottom : top) += m;
}

void TCustomBarSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& position) {
  const std::int32_t l = Marks()->Callout()->Length() + Marks()->Callout()->Distance();
  const std::int32_t d = Marks()->Callout()->Distance();
  const std::int32_t half = FBarWidth / 2;
  const std::int32_t origin = OriginPos(i), value = ValueEnd(i);
  if (YMandatory()) {
    position.LeftTop.X += half;
    position.ArrowTo.X += half;
    position.ArrowFrom.X += half;
    if (value <= origin) {
      Marks()->ApplyArrowLength(position);
    } else {
      position.LeftTop.Y += l + position.Height;
      position.ArrowTo.Y += l;
      position.ArrowFrom.Y += d;
    }
  } else {
    position.LeftTop.Y = position.ArrowTo.Y + half - position.Height / 2;
    position.ArrowTo.Y += half;
    position.ArrowFrom.Y += half;
    if (value >= origin) {
      position.LeftTop.X = position.ArrowTo.X + l;
      position.ArrowTo.X += l;
      position.ArrowFrom.X += d;
    } else {
      position.LeftTop.X = position.ArrowTo.X - l - position.Width;
      position.ArrowTo.X -= l;
      position.ArrowFrom.X -= d;
    }
  }
  if (FAutoMarkPosition) Marks()->AntiOverlap(FirstValueIndex(), i, position);
  TChartSeries::DrawMark(i, text, position);
}

// --- legend and gallery ---------------------------------------------------------

void TCustomBarSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  (void)valueIndex;
  if (ParentChart() != nullptr) ParentChart()->Canvas().AssignVisiblePen(*BarPen());
  brushStyle = BarBrush()->Style();
  backColor = BarBrush()->Color() == clDefault ? ParentChart()->Color() : BarBrush()->Color();
}

void TCustomBarSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  if (BarBrush()->HasImage()) ParentChart()->Canvas().Brush().SetBitmap(BarBrush()->Image()->Graphic());
  TChartSeries::DrawLegendShape(valueIndex, rect);
}

void TCustomBarSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TChartSeries::ListSubStyles(callback);
  for (int m : {181, 197, 198, 199, 231}) callback(KivMsg(m));
  if (SubStylesIncludeStacking())
    for (int m : {32, 196, 259}) callback(KivMsg(m));
  for (int m : {200, 201}) callback(KivMsg(m));
}

void TCustomBarSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetColorEachPoint(true); return;
    case 2: SetBarStyle(bsPyramid); return;
    case 3: SetBarStyle(bsEllipse); return;
    case 4: SetBarStyle(bsInvPyramid); return;
    case 5: SetBarStyle(bsRectGradient); return;
    default: break;
  }
  if (subStyle < 6) {
    TChartSeries::ApplySubStyle(subStyle);
    return;
  }
  TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr && chart->SeriesCount() == 1) {
    auto* second = dynamic_cast<TCustomBarSeries*>(ClassInfo().Create(Owner()));
    if (second != nullptr) {
      second->SetParentChart(chart);
      second->SetTitle(SeriesTitleOrName(*second));
      second->Marks()->SetVisible(false);
      second->FillSampleValues(Count());
    }
  }
  const int mode = SubStylesIncludeStacking() ? subStyle : subStyle + 3;
  switch (mode) {
    case 6: SetMultiBar(mbStacked); break;
    case 7: SetMultiBar(mbStacked100); break;
    case 8: SetMultiBar(mbSelfStack); break;
    case 9: SetMultiBar(mbSide); break;
    case 10: SetMultiBar(mbSideAll); break;
    default: TChartSeries::ApplySubStyle(subStyle);
  }
}

int TCustomBarSeries::DefaultSampleCount() const {
  TCustomAxisPanel* chart = ParentChart();
  if (chart != nullptr && chart->SeriesCount() >= 2)
    for (TChartSeries* s : chart->SeriesList())
      if (s != this && dynamic_cast<TCustomBarSeries*>(s) != nullptr && s->Count() > 0) return s->Count();
  return 6;
}

void TCustomBarSeries::AddSampleValues(int numValues) { TChartSeries::AddSampleValues(numValues); }

void TCustomBarSeries::PrepareForGallery(bool enabled) {
  TChartSeries::PrepareForGallery(enabled);
  FBarWidthPercent = 85;
  SetMultiBar(mbNone);
}

// --- the two kinds --------------------------------------------------------------

const TClassInfo& TBarSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TBarSeries>("TBarSeries", TCustomBarSeries::StaticClassInfo())
          .Property("CustomBarWidth", &TBarSeries::CustomBarWidth, &TBarSeries::SetCustomBarWidth, 0)
          .Creatable()
          .Build();
  return info;
}

TBarSeries::TBarSeries(classlib::TComponent* owner) : TCustomBarSeries(owner) {
  Gradient()->SetDirection(gdTopBottom);
  YValues()->SetName("Bar");
}

const TClassInfo& THorizBarSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<THorizBarSeries>("THorizBarSeries", TCustomBarSeries::StaticClassInfo())
          .Property("CustomBarHeight", &THorizBarSeries::CustomBarHeight, &THorizBarSeries::SetCustomBarHeight, 0)
          .Creatable()
          .Build();
  return info;
}

THorizBarSeries::THorizBarSeries(classlib::TComponent* owner) : TCustomBarSeries(owner) {
  SetHorizontal();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  Gradient()->SetDirection(gdLeftRight);
  XValues()->SetName("Bar");
}

}  // namespace chart
