// Circled and pie series: the circle's place and the chart's pie view, slice
// angles and explode offsets, the other slice, drawing in 2D and 3D, marks
// around the rim, legend, the click test and the gallery.
//
// Tested by: chart/tests/PieSeriesTest.cpp
#include "chart/series/PieSeries.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/Legend.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/KivConst.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- circled series -------------------------------------------------------------

const TClassInfo& TCircledSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCircledSeries>("TCircledSeries", TChartSeries::StaticClassInfo())
          .Property("CircleBackColor", &TCircledSeries::CircleBackColor, &TCircledSeries::SetCircleBackColor,
                    clDefault)
          .TypeName("TColor")
          .Property("Circled", &TCircledSeries::Circled, &TCircledSeries::SetCircled, false)
          .Property("CustomXRadius", &TCircledSeries::CustomXRadius, &TCircledSeries::SetCustomXRadius, 0)
          .Property("CustomYRadius", &TCircledSeries::CustomYRadius, &TCircledSeries::SetCustomYRadius, 0)
          .Property("RotationAngle", &TCircledSeries::RotationAngle, &TCircledSeries::SetRotationAngle, 0)
          .Build();
  return info;
}

TCircledSeries::TCircledSeries(classlib::TComponent* owner)
    : TChartSeries(owner), FGradient(std::make_unique<TKivGradient>([this] { ElementChanged(); })) {
  XValues()->SetName(KivMsg(131));
  SetCalcVisiblePoints(false);
}

TCircledSeries::~TCircledSeries() { RestoreChartView(); }

void TCircledSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCircledSeries*>(&source)) {
    FCircled = s->FCircled;
    FRotationAngle = s->FRotationAngle;
    FRotationRadians = s->FRotationRadians;
    FCustomXRadius = s->FCustomXRadius;
    FCustomYRadius = s->FCustomYRadius;
    FCircleBackColor = s->FCircleBackColor;
    FGradient->Assign(*s->FGradient);
  }
  TChartSeries::Assign(source);
}

void TCircledSeries::SetCircled(bool v) {
  auto apply = [v](TCircledSeries& s) {
    s.FCircled = v;
    if (!s.HasState(classlib::csLoading)) s.FCustomXRadius = s.FCustomYRadius = 0;
  };
  apply(*this);
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* c = dynamic_cast<TCircledSeries*>(s); c != nullptr && s->ClassInfo().InheritsFrom(ClassInfo())) apply(*c);
  Invalidate();
}

void TCircledSeries::SetCustomXRadius(std::int32_t v) {
  FCustomXRadius = v;
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* c = dynamic_cast<TCircledSeries*>(s); c != nullptr && s->ClassInfo().InheritsFrom(ClassInfo()))
        c->FCustomXRadius = v;
  Invalidate();
}

void TCircledSeries::SetCustomYRadius(std::int32_t v) {
  FCustomYRadius = v;
  if (TCustomAxisPanel* chart = ParentChart())
    for (TChartSeries* s : chart->SeriesList())
      if (auto* c = dynamic_cast<TCircledSeries*>(s); c != nullptr && s->ClassInfo().InheritsFrom(ClassInfo()))
        c->FCustomYRadius = v;
  Invalidate();
}

void TCircledSeries::SetRotationAngle(std::int32_t v) {
  v %= 360;
  if (v < 0) v += 360;
  if (FRotationAngle == v) return;
  FRotationAngle = v;
  FRotationRadians = v * 0.017453292519943295;
  Invalidate();
}

// A pie reads best seen from above at a slant: the chart's 3D view is set so
// while the series is on it, and given back when it leaves.
void TCircledSeries::SaveChartView() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || FSavedView || chart->HasState(classlib::csLoading) ||
      chart->Canvas().GetSupportsFullRotation())
    return;
  TView3DOptions& o = *chart->View3DOptions();
  FSavedView = std::make_unique<TView3DOptions>();
  FSavedView->Assign(o);
  o.SetOrthogonal(false);
  o.SetRotation(360);
  o.SetElevation(315);
  o.SetPerspective(0);
  o.SetTilt(0);
}

void TCircledSeries::RestoreChartView() {
  if (!FSavedView) return;
  if (TCustomAxisPanel* chart = ParentChart()) chart->View3DOptions()->Assign(*FSavedView);
  FSavedView.reset();
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (chart == ParentChart()) return;
  RestoreChartView();
  TChartSeries::SetParentChart(chart);
  if (Active()) SaveChartView();
}

void TCircledSeries::SetActive(bool v) {
  if (v == Active()) return;
  TChartSeries::SetActive(v);
  if (v)
    SaveChartView();
  else
    RestoreChartView();
}

double TCircledSeries::ScreenAspect() {
  if (QGuiApplication::instance() == nullptr) return 1.0;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 1.0;
  const QSize px = screen->size();
  const QSizeF mm = screen->physicalSize();
  if (px.width() <= 0 || px.height() <= 0 || !(mm.width() > 0) || !(mm.height() > 0)) return 1.0;
  return (static_cast<double>(px.width()) / px.height()) / (mm.width() / mm.height());
}

TColor TCircledSeries::CalcCircleBackColor() const {
  if (FCircleBackColor != clDefault) return FCircleBackColor;
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return clWhite;
  if (chart->Printing()) return clWhite;
  // The back wall's colour where it is drawn, else the panel's.
  return chart->GetBackColor();
}

void TCircledSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  (void)valueIndex, (void)brushStyle;
  backColor = CalcCircleBackColor();
}

void TCircledSeries::SetCircleRect(TRect r) {
  if (FCircled) {
    const double aspect = ScreenAspect();
    const double w = r.Width(), h = r.Height();
    if (h > 0 && w / h > aspect) {
      const std::int32_t nw = Round(h * aspect);
      r.Left += (r.Width() - nw) / 2;
      r.Right = r.Left + nw;
    } else if (w > 0) {
      const std::int32_t nh = Round(w / aspect);
      r.Top += (r.Height() - nh) / 2;
      r.Bottom = r.Top + nh;
    }
  }
  std::int32_t w = r.Width(), h = r.Height();
  if (w % 2 != 0) --w;
  if (h % 2 != 0) --h;
  w = std::max(w, 4);
  h = std::max(h, 4);
  FCircleWidth = w;
  FCircleHeight = h;
  FCircleXCenter = r.Left + w / 2;
  FCircleYCenter = r.Top + h / 2;
  FXRadius = FCustomXRadius != 0 ? FCustomXRadius : w / 2;
  FYRadius = FCustomYRadius != 0 ? FCustomYRadius : h / 2;
  FCircleRect = {FCircleXCenter - FXRadius, FCircleYCenter - FYRadius, FCircleXCenter + FXRadius,
                 FCircleYCenter + FYRadius};
}

void TCircledSeries::CalcCircleGeometry() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TRect r = chart->ChartRect();
  if (Marks()->Visible()) {
    TCanvas3D& c = chart->Canvas();
    c.AssignFont(*Marks()->Font());
    const std::int32_t frame = Marks()->Pen()->Visible() ? 2 * Marks()->Pen()->Width() : 0;
    const std::int32_t dy = c.FontHeight() + Marks()->Callout()->Length() + frame;
    const std::int32_t dx = c.TextWidth("W") + MaxMarkWidth() + frame;
    r = {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy};
  } else {
    // Pies without marks line up with the first one that has them.
    for (TChartSeries* s : chart->SeriesList()) {
      auto* other = dynamic_cast<TCircledSeries*>(s);
      if (other == nullptr || other == this || !s->Active() || !SameClass(*s, *this) || !s->Marks()->Visible())
        continue;
      other->CalcCircleGeometry();
      r = other->FCircleRect;
      break;
    }
  }
  SetCircleRect(r);
}

void TCircledSeries::DoBeforeDrawValues() {
  TChartSeries::DoBeforeDrawValues();
  CalcCircleGeometry();
}

// --- other slice ------------------------------------------------------------------

const TClassInfo& TPieOtherSlice::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPieOtherSlice>("TPieOtherSlice", classlib::TPersistent::StaticClassInfo())
          .Property("Color", &TPieOtherSlice::Color, &TPieOtherSlice::SetColor, clDefault)
          .TypeName("TColor")
          .Property("Style", &TPieOtherSlice::Style, &TPieOtherSlice::SetStyle, poNone)
          .TypeName("TPieOtherStyle")
          .Names({"poNone", "poBelowPercent", "poBelowValue"})
          .Property("Text", &TPieOtherSlice::Text, &TPieOtherSlice::SetText)
          .Stored([](const classlib::TPersistent& p) {
            return !static_cast<const TPieOtherSlice&>(p).FText.empty();
          })
          .Property("Value", &TPieOtherSlice::Value, &TPieOtherSlice::SetValue, 0.0)
          .Build();
  return info;
}

TPieOtherSlice::TPieOtherSlice(TPieSeries* pie) : FPie(pie) {}
TPieOtherSlice::~TPieOtherSlice() = default;

TChartLegend* TPieOtherSlice::Legend() const {
  if (!FLegend) {
    FLegend = std::make_unique<TChartLegend>(nullptr);
    FLegend->SetVisible(false);
    FLegend->SetResizeChart(false);
    FLegend->SetSeries(FPie);
  }
  return FLegend.get();
}

void TPieOtherSlice::SetLegend(const TChartLegend* v) {
  if (v == nullptr)
    FLegend.reset();
  else
    Legend()->Assign(*v);
  Invalidate();
}

void TPieOtherSlice::Invalidate() const {
  if (FPie != nullptr) FPie->Invalidate();
}
void TPieOtherSlice::SetColor(TColor v) { StoreAndInvalidate(*this, FColor, v); }
void TPieOtherSlice::SetStyle(TPieOtherStyle v) { StoreAndInvalidate(*this, FStyle, v); }
std::string TPieOtherSlice::Text() const { return FText.empty() ? KivMsg(124) : FText; }
void TPieOtherSlice::SetText(const std::string& v) {
  StoreAndInvalidate(*this, FText, v == KivMsg(124) ? std::string() : v);
}
void TPieOtherSlice::SetValue(double v) { StoreAndInvalidate(*this, FValue, v); }
void TPieOtherSlice::Assign(const classlib::TPersistent& source) {
  if (auto* o = dynamic_cast<const TPieOtherSlice*>(&source)) {
    FColor = o->FColor;
    FStyle = o->FStyle;
    FText = o->FText;
    FValue = o->FValue;
    SetLegend(o->FLegend.get());
    return;
  }
  classlib::TPersistent::Assign(source);
}

// --- pie --------------------------------------------------------------------------

const TClassInfo& TPieSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPieSeries>("TPieSeries", TCircledSeries::StaticClassInfo())
          .Property("AngleSize", &TPieSeries::AngleSize, &TPieSeries::SetAngleSize, 360)
          .Property("AutoMarkPosition", &TPieSeries::AutoMarkPosition, &TPieSeries::SetAutoMarkPosition, true)
          .Property("Dark3D", &TPieSeries::Dark3D, &TPieSeries::SetDark3D, true)
          .Property("DarkPen", &TPieSeries::DarkPen, &TPieSeries::SetDarkPen, false)
          .Property("ExplodeBiggest", &TPieSeries::ExplodeBiggest, &TPieSeries::SetExplodeBiggest, 0)
          .SubObject("OtherSlice", &TPieSeries::OtherSlice)
          .TypeName("TPieOtherSlice")
          .SubObject("Shadow", &TPieSeries::Shadow)
          .TypeName("TKivShadow")
          .Property("UsePatterns", &TPieSeries::UsePatterns, &TPieSeries::SetUsePatterns, false)
          .Creatable()
          .Build();
  return info;
}

TPieSeries::TPieSeries(classlib::TComponent* owner)
    : TCircledSeries(owner),
      FOtherSlice(std::make_unique<TPieOtherSlice>(this)),
      FShadow(std::make_unique<TKivShadow>([this] { ElementChanged(); })) {
  FShadow->InitDefaults(0xA0A0A0, 0);
  XValues()->SetName("");
  YValues()->SetName(KivMsg(129));
  Marks()->SetVisible(true);
  Marks()->SetArrowLength(8);
  SetColorEachPoint(true);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TPieSeries*>(&source)) {
    FAngleSize = s->FAngleSize;
    FAutoMarkPosition = s->FAutoMarkPosition;
    FDark3D = s->FDark3D;
    FDarkPen = s->FDarkPen;
    FUsePatterns = s->FUsePatterns;
    FExplodeBiggest = s->FExplodeBiggest;
    FOtherSlice->Assign(*s->FOtherSlice);
    FShadow->Assign(*s->FShadow);
  }
  TCircledSeries::Assign(source);
  SetColorEachPoint(true);
}

std::int32_t TPieSeries::ExplodedSlice(int index) const {
  return index >= 0 && index < ExplodedSliceCount() ? FExploded[static_cast<std::size_t>(index)] : 0;
}

void TPieSeries::SetExplodedSlice(int index, std::int32_t percent) {
  if (index < 0) return;
  if (index >= ExplodedSliceCount()) FExploded.resize(static_cast<std::size_t>(index) + 1, 0);
  FExploded[static_cast<std::size_t>(index)] = percent;
  Invalidate();
}

void TPieSeries::ClearLists() {
  TCircledSeries::ClearLists();
  FExploded.clear();
}

void TPieSeries::SwapValueIndex(int a, int b) {
  const int n = std::max(a, b);
  if (n >= ExplodedSliceCount()) FExploded.resize(static_cast<std::size_t>(std::max(n + 1, Count())), 0);
  std::swap(FExploded[static_cast<std::size_t>(a)], FExploded[static_cast<std::size_t>(b)]);
  TCircledSeries::SwapValueIndex(a, b);
}

// The axes keep their ranges whatever the pie holds.
double TPieSeries::MaxXValue() const {
  return ParentChart() != nullptr ? ParentChart()->BottomAxis()->Maximum() : 0;
}
double TPieSeries::MinXValue() const {
  return ParentChart() != nullptr ? ParentChart()->BottomAxis()->Minimum() : 0;
}
double TPieSeries::MaxYValue() const {
  return ParentChart() != nullptr ? ParentChart()->LeftAxis()->Maximum() : 0;
}
double TPieSeries::MinYValue() const {
  return ParentChart() != nullptr ? ParentChart()->LeftAxis()->Minimum() : 0;
}

std::int32_t TPieSeries::CalcXPos(int valueIndex) const {
  if (XValues()->Value(valueIndex) == OtherSliceX) return 0;
  return TCircledSeries::CalcXPos(valueIndex);
}

// --- other slice, angles, explode ---------------------------------------------------

void TPieSeries::DoBeforeDrawChart() {
  TCircledSeries::DoBeforeDrawChart();
  TChartValueList& x = *XValues();
  for (int i = Count() - 1; i >= 0; --i)
    if (x.Value(i) == OtherSliceX) {
      BeginUpdate();
      Delete(i);
      EndUpdate();
    }
  auto xs = x.WritableValues();
  for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = static_cast<double>(i);
  x.SetKnownInOrder(true);
  const double total = YValues()->TotalABS();
  if (FOtherSlice->Style() == poNone || !(total > 0)) return;
  double sum = 0;
  bool any = false;
  for (int i = 0; i < Count(); ++i) {
    const double y = YValues()->Value(i);
    const double v = FOtherSlice->Style() == poBelowPercent ? std::fabs(y) * 100.0 / total : y;
    if (v < FOtherSlice->Value()) {
      sum += y;
      xs[static_cast<std::size_t>(i)] = GatheredX;
      any = true;
    }
  }
  x.SetKnownInOrder(true);
  if (!any) return;
  InternalAddXY(OtherSliceX, sum, FOtherSlice->Text(), FOtherSlice->Color(), false);
  // The gathered values are in the list twice now: alone and in the other slice.
  YValues()->AdjustTotals(-sum);
}

void TPieSeries::CalcAngles() {
  FAngles.assign(static_cast<std::size_t>(Count()), {});
  const double full = FAngleSize * std::numbers::pi / 180.0;
  double total = 0;
  for (int i = 0; i < Count(); ++i)
    if (!Gathered(i)) total += std::fabs(YValues()->Value(i));
  double previous = 0, running = 0;
  bool first = true;
  for (int i = 0; i < Count(); ++i) {
    TSliceAngles& a = FAngles[static_cast<std::size_t>(i)];
    a.Start = a.End = previous;
    if (!Gathered(i)) {
      if (total != 0) {
        running += std::fabs(YValues()->Value(i));
        a.End = std::min(full, running * full / total);
      } else if (first) {
        a.End = full;
      }
      first = false;
    }
    a.Middle = (a.Start + a.End) / 2;
    previous = a.End;
  }
  // The last slice closes the circle exactly.
  for (int i = Count() - 1; i >= 0; --i)
    if (!Gathered(i)) {
      if (total != 0) FAngles[static_cast<std::size_t>(i)].End = full;
      FAngles[static_cast<std::size_t>(i)].Middle =
          (FAngles[static_cast<std::size_t>(i)].Start + FAngles[static_cast<std::size_t>(i)].End) / 2;
      break;
    }
}

TPoint TPieSeries::ExplodeOffset(int index) const {
  const std::int32_t p = ExplodedSlice(index);
  if (p <= 0 || index >= static_cast<int>(FAngles.size())) return {0, 0};
  const double a = FAngles[static_cast<std::size_t>(index)].Middle + RotationRadians();
  return {Round(FXRadius * p * 0.01 * std::cos(a)), Round(FYRadius * p * 0.01 * std::sin(a))};
}

// --- drawing -----------------------------------------------------------------------

void TPieSeries::DrawAllValues() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  if (FExplodeBiggest > 0 && Count() > 0) {
    int biggest = 0;
    for (int i = 1; i < Count(); ++i)
      if (YValues()->Value(i) > YValues()->Value(biggest)) biggest = i;
    if (biggest >= ExplodedSliceCount()) FExploded.resize(static_cast<std::size_t>(biggest) + 1, 0);
    FExploded[static_cast<std::size_t>(biggest)] = FExplodeBiggest;
  }
  int most = -1;
  for (int i = 0; i < std::min(Count(), ExplodedSliceCount()); ++i)
    if (ExplodedSlice(i) > 0 && (most < 0 || ExplodedSlice(i) > ExplodedSlice(most))) most = i;
  CalcAngles();
  if (most >= 0) {
    const TPoint d = ExplodeOffset(most);
    TRect r = CircleRect();
    r = {r.Left + std::abs(d.X) / 2, r.Top + std::abs(d.Y) / 2, r.Right - std::abs(d.X) / 2,
         r.Bottom - std::abs(d.Y) / 2};
    SetCircleRect(r);
  }
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  if (FShadow->HorizSize() != 0 || FShadow->VertSize() != 0)
    DrawShadowEllipse(c, *FShadow, CircleRect(), is3D ? EndZ - 10 : 0);
  if (CircleGradient()->Visible() && (!is3D || c.IsOrthogonal())) {
    const TRect r = is3D ? c.Calculate3DPosition(CircleRect(), EndZ) : CircleRect();
    c.ClipEllipse(r);
    DrawGradient(c, *CircleGradient(), r);
    c.UnClipRectangle();
  }
  std::vector<int> order(static_cast<std::size_t>(Count()));
  std::iota(order.begin(), order.end(), 0);
  if (is3D && most >= 0 && !c.GetSupportsFullRotation()) {
    // Slices farther from the viewer first, so that nearer ones cover them.
    const double full = FAngleSize * std::numbers::pi / 180.0, quarter = full / 4;
    auto key = [&](int i) {
      double m = FAngles[static_cast<std::size_t>(i)].Middle + RotationRadians();
      if (m > full) m -= full;
      if (m <= quarter) return quarter - m;
      const double k = m - quarter;
      return k > std::numbers::pi ? full - k : k;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  }
  for (int i : order) DrawValue(i);
  if (FOtherSlice->HasLegend() && FOtherSlice->Legend()->Visible() && chart != nullptr) {
    TChartLegend& legend = *FOtherSlice->Legend();
    legend.SetParent(chart);
    FOtherLegendPass = true;
    try {
      legend.DrawLegend();
    } catch (...) {
      FOtherLegendPass = false;
      throw;
    }
    FOtherLegendPass = false;
  }
}

void TPieSeries::SliceBrush(int i, TColor color) {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const bool mono = chart->Monochrome();
  TChartBrush brush;
  brush.SetStyle(FUsePatterns || mono ? static_cast<TBrushStyle>(i % 6 + 2) : bsSolid);
  c.AssignBrushColor(brush, mono ? clBlack : color, CalcCircleBackColor());
  if (FDarkPen && PiePen()->Visible())
    c.AssignVisiblePenColor(*PiePen(), ApplyDark(color, 128));
  else
    c.AssignVisiblePen(*PiePen());
}

void TPieSeries::DrawValue(int i) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || i >= static_cast<int>(FAngles.size())) return;
  if (CircleRect().Width() < 5 || CircleRect().Height() < 5 || Gathered(i) || IsNull(i)) return;
  const TColor color = ValueColor(i);
  SliceBrush(i, color);
  TCanvas3D& c = chart->Canvas();
  const TSliceAngles& a = FAngles[static_cast<std::size_t>(i)];
  const TPoint d = ExplodeOffset(i);
  const std::int32_t cx = CircleXCenter() + d.X, cy = CircleYCenter() - d.Y;
  const double rot = RotationRadians();
  if (chart->View3D()) {
    c.Pie3D(cx, cy, FXRadius, FYRadius, StartZ, EndZ, a.Start + rot, a.End + rot, FDark3D, true);
    return;
  }
  auto edge = [&](double angle) {
    return TPoint{cx + Round(FXRadius * std::cos(angle + rot)), cy - Round(FYRadius * std::sin(angle + rot))};
  };
  const TPoint p0 = edge(a.Start), p1 = edge(a.End);
  int shown = 0;
  for (int k = 0; k < Count(); ++k)
    if (!Gathered(k)) ++shown;
  if (p0 == p1 && shown > 1 && a.End - a.Start < 1.0) return;
  if (p0 == p1 && a.End - a.Start >= 1.0) {
    c.Ellipse(cx - FXRadius, cy - FYRadius, cx + FXRadius, cy + FYRadius);
    return;
  }
  c.Pie(cx - FXRadius, cy - FYRadius, cx + FXRadius, cy + FYRadius, p0.X, p0.Y, p1.X, p1.Y);
}

void TPieSeries::DrawMark(int i, const std::string& text, TSeriesMarkPosition& position) {
  if (i >= static_cast<int>(FAngles.size()) || Gathered(i)) return;
  TCustomAxisPanel* chart = ParentChart();
  const TPoint d = ExplodeOffset(i);
  const std::int32_t l = Marks()->Callout()->Length() + Marks()->Callout()->Distance();
  const std::int32_t dist = Marks()->Callout()->Distance();
  const double angle = FAngles[static_cast<std::size_t>(i)].Middle + RotationRadians();
  const std::int32_t cx = CircleXCenter(), cy = CircleYCenter();
  auto onEllipse = [&](std::int32_t extra) {
    return TPoint{cx + Round((FXRadius + std::abs(d.X) + extra) * std::cos(angle)),
                  cy - Round((FYRadius + std::abs(d.Y) + extra) * std::sin(angle))};
  };
  position.ArrowTo = onEllipse(l);
  position.ArrowFrom = onEllipse(dist);
  position.LeftTop.X = position.ArrowTo.X <= cx ? position.ArrowTo.X - position.Width : position.ArrowTo.X;
  position.LeftTop.Y = position.ArrowTo.Y <= cy ? position.ArrowTo.Y - position.Height : position.ArrowTo.Y;
  Marks()->ZPosition = chart != nullptr && chart->Canvas().GetSupportsFullRotation() ? StartZ : EndZ;
  if (FAutoMarkPosition) Marks()->AntiOverlap(0, i, position);
  TCircledSeries::DrawMark(i, text, position);
}

// --- legend -------------------------------------------------------------------------

int TPieSeries::CountLegendItems() const {
  int n = 0;
  for (int i = 0; i < Count(); ++i)
    if (Gathered(i) == FOtherLegendPass) ++n;
  return n;
}

int TPieSeries::LegendToValueIndex(int legendIndex) const {
  int n = -1;
  for (int i = 0; i < Count(); ++i)
    if (Gathered(i) == FOtherLegendPass && ++n == legendIndex) return i;
  return legendIndex;
}

void TPieSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  backColor = CalcCircleBackColor();
  const bool mono = ParentChart() != nullptr && ParentChart()->Monochrome();
  brushStyle = FUsePatterns || mono ? static_cast<TBrushStyle>(std::max(valueIndex, 0) % 6 + 2) : bsSolid;
  if (ParentChart() == nullptr) return;
  const TColor color = valueIndex < 0 ? SeriesColor() : ValueColor(valueIndex);
  if (FDarkPen && PiePen()->Visible())
    ParentChart()->Canvas().AssignVisiblePenColor(*PiePen(), ApplyDark(color, 128));
}

void TPieSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  TCircledSeries::DrawLegendShape(valueIndex, rect);
}

// --- click test ---------------------------------------------------------------------

int TPieSeries::Clicked(std::int32_t x, std::int32_t y) {
  const int inherited = TCircledSeries::Clicked(x, y);
  if (inherited != -1) return inherited;
  if (Count() == 0 || FXRadius <= 0 || FYRadius <= 0) return -1;
  if (static_cast<int>(FAngles.size()) != Count()) CalcAngles();
  if (ParentChart() != nullptr) ParentChart()->Canvas().Calculate2DPosition(x, y, StartZ);
  const double cx = CircleXCenter(), cy = CircleYCenter();
  constexpr double twoPi = 2 * std::numbers::pi;
  double angle;
  if (x == CircleXCenter())
    angle = y < cy ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  else
    angle = std::atan2((cy - y) / FYRadius, (x - cx) / FXRadius);
  auto wrap = [&](double a) {
    a = std::fmod(a, twoPi);
    return a < 0 ? a + twoPi : a;
  };
  angle = wrap(wrap(angle) - RotationRadians());
  for (int i = 0; i < Count(); ++i) {
    if (Gathered(i)) continue;
    const TSliceAngles& a = FAngles[static_cast<std::size_t>(i)];
    if (angle < a.Start || angle > a.End) continue;
    // Inside the slice's own ellipse, moved out by its explode offset.
    const TPoint d = ExplodeOffset(i);
    const double ex = (x - cx - d.X) / FXRadius, ey = (y - cy + d.Y) / FYRadius;
    if (ex * ex + ey * ey <= 1.0) return i;
  }
  return -1;
}

// --- gallery ------------------------------------------------------------------------

void TPieSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCircledSeries::ListSubStyles(callback);
  for (int m : {202, 203, 204, 183, 205, 179, 260}) callback(KivMsg(m));
}

void TPieSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetUsePatterns(true); break;
    case 2: SetExplodeBiggest(30); break;
    case 3:
      FShadow->SetHorizSize(10);
      FShadow->SetVertSize(10);
      break;
    case 4:
      Marks()->SetVisible(true);
      Clear();
      Add(30, "A");
      Add(70, "B");
      break;
    case 5: SetAngleSize(180); break;
    case 6: PiePen()->SetVisible(false); break;
    case 7: SetDarkPen(true); break;
    default: TCircledSeries::ApplySubStyle(subStyle);
  }
}

void TPieSeries::AddSampleValues(int numValues) {
  for (int i = 0; i < numValues; ++i) Add(SampleRandom(1000) + 1, KivMsg(37 + i % 8));
}

void TPieSeries::SetChartView3D(bool v) {
  TCircledSeries::SetChartView3D(v);
  if (TCustomAxisPanel* chart = ParentChart()) {
    TView3DOptions& o = *chart->View3DOptions();
    o.SetOrthogonal(false);
    o.SetRotation(0);
    o.SetElevation(305);
  }
  SetCircled(!v);
}

void TPieSeries::PrepareForGallery(bool enabled) {
  TCircledSeries::PrepareForGallery(enabled);
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  chart->SetChart3DPercent(75);
  Marks()->SetArrowLength(0);
  Marks()->SetDrawEvery(1);
  TView3DOptions& o = *chart->View3DOptions();
  o.SetOrthogonal(false);
  o.SetRotation(0);
  o.SetElevation(305);
}

}  // namespace chart
