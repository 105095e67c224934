// The chart control: titles, legend and walls in the drawing pass, clicks,
// zoom, panning, wheel scrolling and undo.
//
// Tested by: chart/tests/ChartControlTest.cpp, chart/tests/ChartPictureTest.cpp
#include "chart/ChartControl.h"

#include <algorithm>
#include <cmath>

#include "chart/canvas/KivCanvasQt.h"
#include "chart/core/KivStream.h"
#include "chart/series/SeriesMarks.h"
#include "platform/classlib/ComponentStream.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

// Frees every entry of a list whose entries leave it as they go: always the
// first one left (one that stays is taken out by hand).
template <class TList>
void FreeEach(TList& list) {
  while (list.Count() > 0) {
    auto* first = list[0];
    const int before = list.Count();
    delete first;
    if (list.Count() == before) list.Remove(first);
  }
}

}  // namespace

const TClassInfo& TCustomChart::StaticClassInfo() {
  using C = TCustomChart;
  static const TClassInfo info =
      TClassBuilder<C>("TCustomChart", TCustomAxisPanel::StaticClassInfo())
          .SubObject("BackWall", &C::BackWall)
          .TypeName("TChartBackWall")
          .SubObject("BottomAxis", &C::BottomAxis)
          .TypeName("TChartAxis")
          .SubObject("BottomWall", &C::BottomWall)
          .TypeName("TChartWall")
          .SubObject("CustomAxes", &C::CustomAxesList)
          .TypeName("TChartCustomAxes")
          .SubObject("DepthAxis", &C::DepthAxis)
          .TypeName("TChartDepthAxis")
          .SubObject("Foot", &C::Foot)
          .TypeName("TChartFootTitle")
          .SubObject("LeftAxis", &C::LeftAxis)
          .TypeName("TChartAxis")
          .SubObject("LeftWall", &C::LeftWall)
          .TypeName("TChartWall")
          .SubObject("Legend", &C::Legend)
          .TypeName("TChartLegend")
          .SubObject("RightAxis", &C::RightAxis)
          .TypeName("TChartAxis")
          .SubObject("RightWall", &C::RightWall)
          .TypeName("TChartRightWall")
          .Property("ScrollMouseButton", &C::ScrollMouseButton, &C::SetScrollMouseButton, mbRight)
          .TypeName("TMouseButton")
          .Names({"mbLeft", "mbRight", "mbMiddle"})
          .SubObject("SubFoot", &C::SubFoot)
          .TypeName("TChartFootTitle")
          .SubObject("SubTitle", &C::SubTitle)
          .TypeName("TChartTitle")
          .SubObject("Title", &C::Title)
          .TypeName("TChartTitle")
          .SubObject("TopAxis", &C::TopAxis)
          .TypeName("TChartAxis")
          .Build();
  return info;
}

const TClassInfo& TChart::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TChart>("TChart", TCustomChart::StaticClassInfo()).Creatable().Build();
  return info;
}

TCustomChart::TCustomChart(classlib::TComponent* owner) : TCustomAxisPanel(owner) {
  const bool repaint = AutoRepaint();
  SetAutoRepaint(false);
  FOwnedCustomAxes = std::make_unique<TChartCustomAxes>(*this);
  FCustomAxes = FOwnedCustomAxes.get();
  FBottomAxis = new TChartAxis(this);
  FTopAxis = new TChartAxis(this);
  FTopAxis->SetOtherSide(true);
  FTopAxis->SetZPosition(100);
  FTopAxis->Grid()->InitZPosition(100);
  FLeftAxis = new TChartAxis(this);
  FLeftAxis->SetHorizontal(false);
  FLeftAxis->Title()->InitAngle(90);
  FRightAxis = new TChartAxis(this);
  FRightAxis->SetHorizontal(false);
  FRightAxis->SetOtherSide(true);
  FRightAxis->SetZPosition(100);
  FRightAxis->Grid()->InitZPosition(100);
  FRightAxis->Title()->InitAngle(270);
  FDepthAxis = new TChartDepthAxis(this);
  FDepthAxis->SetOtherSide(true);
  FDepthAxis->SetVisible(false);
  FTitle = std::make_unique<TChartTitle>(this, true);
  FSubTitle = std::make_unique<TChartTitle>(this, true);
  FFoot = std::make_unique<TChartFootTitle>(this);
  FSubFoot = std::make_unique<TChartFootTitle>(this);
  FWalls = std::make_unique<TChartWalls>(*this);
  FLegend = std::make_unique<TChartLegend>(this);
  SetAutoRepaint(repaint);
}

TCustomChart::~TCustomChart() {
  IncludeState(classlib::csDestroying);
  SetAutoRepaint(false);
  FreeAllSeries();
  FreeEach(FTools);
  FreeEach(FAxes);
  FCustomAxes = nullptr;
  FBottomAxis = FTopAxis = FLeftAxis = FRightAxis = nullptr;
  FDepthAxis = nullptr;
}

bool& TCustomChart::WheelScrolls() {
  static bool on = true;
  return on;
}

TColor TCustomChart::GetBackColor() const { return FWalls->Back()->Transparent() ? Color() : FWalls->Back()->Color(); }

void TCustomChart::SetBackColor(TColor v) {
  FWalls->Back()->SetColor(v);
  if (Host() != nullptr && !HasState(classlib::csLoading)) FWalls->Back()->Brush()->SetStyle(bsSolid);
}

TChartSeries* TCustomChart::FirstActiveSeries() const {
  for (TChartSeries* s : SeriesList())
    if (s->Active()) return s;
  return nullptr;
}

bool TCustomChart::IsColorUnused(TColor color, bool checkBackground) const {
  for (TChartSeries* s : SeriesList())
    if (s->SeriesColor() == color) return false;
  if (checkBackground && (color == Color() || color == FWalls->Back()->Color())) return false;
  return true;
}

std::string TCustomChart::FormatLegendValue(TChartSeries* series, int valueIndex) const {
  // A kind may list more legend items than it has points (a colour scale).
  if (series == nullptr || valueIndex < 0 || valueIndex >= std::max(series->Count(), series->CountLegendItems()))
    return "";
  const TCustomChartLegend* legend = series->SeriesLegend() != nullptr ? series->SeriesLegend() : FLegend.get();
  std::string text = series->LegendString(valueIndex, legend->TextStyle());
  std::replace(text.begin(), text.end(), ChartLineSeparator, ' ');
  return text;
}

std::string TCustomChart::LegendValueText(TChartSeries* series, int valueIndex) const {
  std::string text = FormatLegendValue(series, valueIndex);
  if (OnGetLegendText) OnGetLegendText(const_cast<TCustomChart&>(*this), FLegend->ResolvedStyle(), valueIndex, text);
  return text;
}

std::int32_t TCustomChart::WallSizeBeside(const TChartAxis& axis) const {
  if (!View3D() || !View3DWalls()) return 0;
  const TCustomChartWall* w = FWalls->Back();
  if (&axis == LeftAxis()) w = FWalls->Left();
  else if (&axis == BottomAxis()) w = FWalls->Bottom();
  else if (&axis == RightAxis()) w = FWalls->Right();
  return w->Visible() ? w->Size() : 0;
}

void TCustomChart::ComputeWallsRect() {
  if (!View3D() || !View3DOptions()->Orthogonal()) return;
  bool usesAxes = CountActiveSeries() == 0;
  for (TChartSeries* s : SeriesList())
    if (s->Active() && s->UseAxis()) usesAxes = true;
  const std::int32_t w = usesAxes ? FWalls->Back()->Size() : 0;
  const std::int32_t d = std::abs(Width3D()) + w;
  TRect r = ChartRect();
  if (View3DOptions()->OrthoAngle() < 91) {
    r.Right -= d;
    if (FWalls->Right()->Visible()) r.Right -= FWalls->Right()->Size() + 1;
  } else {
    r.Left += d;
    if (FWalls->Left()->Visible()) r.Left += FWalls->Left()->Size() + 1;
  }
  r.Top += w + std::abs(Height3D());
  SetChartRect(r);
}

bool TCustomChart::SideInFront(bool right) const {
  const TCanvas3D& c = Canvas();
  const TRect r = ChartRect();
  const std::int32_t x = right ? r.Right : r.Left;
  const std::int32_t back = FWalls->Back()->Size() + Width3D();
  const TPoint a = c.Calculate3DPosition(x, r.Top, 0);
  const TPoint b = c.Calculate3DPosition(x, r.Bottom, 0);
  const TPoint d = c.Calculate3DPosition(x, r.Top, back);
  // The same turn means opposite faces for the two sides: the right side
  // shows its outer face (in front) where the left one shows its inner face.
  const bool turn = CrossProductSign(a, b, d);
  return right ? turn : !turn;
}

void TCustomChart::DrawWalls() {
  if (!NoActiveSeriesOrSomeUseAxes()) return;
  const bool walls3D = View3D() && View3DWalls();
  if (FWalls->Right()->Visible() && walls3D && !SideInFront(true)) FWalls->DrawRight();
  if (FWalls->Back()->Visible()) FWalls->DrawBack();
  if (walls3D) {
    if (FWalls->Left()->Visible() && !SideInFront(false)) FWalls->DrawLeft();
    if (FWalls->Bottom()->Visible()) FWalls->DrawBottom();
  }
}

void TCustomChart::RedrawSideOverWall(bool right) {
  TCustomChartWall* wall = right ? static_cast<TCustomChartWall*>(FWalls->Right()) : FWalls->Left();
  if (wall->Visible()) right ? FWalls->DrawRight() : FWalls->DrawLeft();
  TChartAxis* axis = right ? RightAxis() : LeftAxis();
  if (!IsAxisVisible(*axis)) return;
  axis->RedrawnOverWall = true;
  axis->Draw(false);
  axis->RedrawnOverWall = false;
}

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries) {
  TCanvas3D& c = Canvas();
  c.FrontPlaneBegin();
  const bool legend = FLegend->ShouldDraw();
  TChartTitle* titles[4] = {FTitle.get(), FSubTitle.get(), FFoot.get(), FSubFoot.get()};
  if (beforeSeries) {
    auto drawTitles = [&] {
      for (TChartTitle* t : titles)
        if (!t->CustomPosition()) t->DrawTitle();
    };
    if (legend && !FLegend->CustomPosition()) {
      if (FLegend->Vertical()) {
        FLegend->DrawLegend();
        drawTitles();
      } else {
        drawTitles();
        FLegend->DrawLegend();
      }
    } else {
      drawTitles();
    }
  } else {
    if (legend && FLegend->CustomPosition()) FLegend->DrawLegend();
    for (TChartTitle* t : titles)
      if (t->CustomPosition()) t->DrawTitle();
  }
  c.FrontPlaneEnd();
  if (!beforeSeries && View3D() && View3DWalls()) {
    bool usesAxes = false;
    for (TChartSeries* s : SeriesList())
      if (s->Active() && s->UseAxis()) usesAxes = true;
    if (usesAxes) {
      if (SideInFront(true)) RedrawSideOverWall(true);
      if (SideInFront(false)) RedrawSideOverWall(false);
    }
  }
}

// --- clicks -------------------------------------------------------------------

TChartClickedPart TCustomChart::CalcClickedPart(std::int32_t x, std::int32_t y) {
  TChartClickedPart part;
  if (FLegend->Visible()) {
    const int item = FLegend->Clicked(x, y);
    if (item != -1) {
      part.Part = cpLegend;
      part.PointIndex = item;
      return part;
    }
  }
  const auto& list = SeriesList();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    TChartSeries* s = *it;
    if (!s->Active()) continue;
    if (!OnClickSeries && !s->OnClick && !s->OnDblClick) continue;
    const int index = s->Clicked(x, y);
    if (index != -1) {
      part = {cpSeries, index, s, nullptr};
      return part;
    }
    if (s->Marks()->Visible()) {
      const int mark = s->Marks()->Clicked(x, y);
      if (mark != -1) {
        part = {cpSeriesMarks, mark, s, nullptr};
        return part;
      }
    }
  }
  for (TChartAxis* a : AxesList())
    if (a->Clicked(x, y)) {
      part.Part = cpAxis;
      part.AAxis = a;
      return part;
    }
  if (FTitle->Clicked(x, y)) part.Part = cpTitle;
  else if (FSubTitle->Clicked(x, y)) part.Part = cpSubTitle;
  else if (FFoot->Clicked(x, y)) part.Part = cpFoot;
  else if (FSubFoot->Clicked(x, y)) part.Part = cpSubFoot;
  else if (PointInRect(ChartRect(), x, y) && CountActiveSeries() > 0) part.Part = cpChartRect;
  return part;
}

bool TCustomChart::StartZoomOrPan(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  if (!NoActiveSeriesOrSomeUseAxes()) return false;
  TKivZoom& z = *Zoom();
  bool started = false;
  if (z.Allow() && button == z.MouseButton() && (shift & z.KeyShift()) == z.KeyShift()) {
    if (z.Direction() == tzdVertical) x = ChartRect().Left;
    if (z.Direction() == tzdHorizontal) y = ChartRect().Top;
    z.Activate(x, y);
    if (z.Direction() == tzdVertical) z.X1 = ChartRect().Right;
    if (z.Direction() == tzdHorizontal) z.Y1 = ChartRect().Bottom;
    DrawZoomRectangle();
    started = true;
  } else if (AllowPanning() != pmNone && button == FScrollMouseButton) {
    Panning().Activate(x, y);
    started = true;
  }
  if (started) RestoreCursor();
  return started;
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  if (SizeIsEmpty()) return;
  // The window reports a double click after the second press, which has
  // already started a zoom or a pan: the double click takes that press's
  // place, so that the tools and series see it as they see any press.
  if ((shift & (1u << ssDouble)) != 0) {
    if (Zoom()->Active) {
      Zoom()->Active = false;
      DrawZoomRectangle();
      Zoom()->Pen()->SetMode(pmCopy);
    }
    Panning().Active = false;
  }
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (CancelMouseFlag() || Zoom()->Active || Panning().Active) return;
  SetCancelMouseFlag(false);
  for (TKivCustomTool* t : std::vector<TKivCustomTool*>(Tools().begin(), Tools().end())) {
    if (!t->Active()) continue;
    t->ChartMouseEvent(cmeDown, button, shift, x, y);
    if (CancelMouseFlag()) return;
  }
  const TChartClickedPart part = CalcClickedPart(x, y);
  bool handled = false;
  auto fire = [&](auto&& event) {
    SetCancelMouseFlag(true);
    event();
    handled = CancelMouseFlag();
  };
  switch (part.Part) {
    case cpLegend:
      handled = FLegend->DoMouseDown(x, y);
      if (OnClickLegend) fire([&] { OnClickLegend(*this, button, shift, x, y); });
      break;
    case cpAxis:
      if (OnClickAxis) fire([&] { OnClickAxis(*this, *part.AAxis, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPan(button, shift, x, y);
      break;
    case cpSeries: {
      SetCancelMouseFlag(false);
      TChartSeries& s = *part.ASeries;
      if (shift & (1u << ssDouble)) {
        if (s.OnDblClick) s.OnDblClick(s, part.PointIndex, button, shift, x, y);
      } else if (s.OnClick) {
        s.OnClick(s, part.PointIndex, button, shift, x, y);
      }
      if (OnClickSeries) fire([&] { OnClickSeries(*this, s, part.PointIndex, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPan(button, shift, x, y);
      break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot: {
      TChartTitle* t = part.Part == cpTitle ? FTitle.get()
                       : part.Part == cpSubTitle ? FSubTitle.get()
                       : part.Part == cpFoot ? static_cast<TChartTitle*>(FFoot.get())
                                            : FSubFoot.get();
      if (OnClickTitle) fire([&] { OnClickTitle(*this, *t, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPan(button, shift, x, y);
      break;
    }
    case cpChartRect:
      if (OnClickBackground) fire([&] { OnClickBackground(*this, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPan(button, shift, x, y);
      break;
    default: break;
  }
  if (!handled && part.Part != cpChartRect && OnClickBackground)
    fire([&] { OnClickBackground(*this, button, shift, x, y); });
  SetCancelMouseFlag(false);
}

void TCustomChart::PinZoomCorner(std::int32_t& x, std::int32_t& y) const {
  if (Zoom()->Direction() == tzdVertical) x = ChartRect().Right;
  if (Zoom()->Direction() == tzdHorizontal) y = ChartRect().Bottom;
}

bool TCustomChart::ScrollAxes(bool horizontal, std::int32_t from, std::int32_t to) {
  if (from == to) return false;
  const TPanningMode mode = AllowPanning();
  if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical)) return false;
  bool any = false;
  for (TChartAxis* a : AxesList()) {
    if (a->IsDepthAxis() || a->Horizontal() != horizontal) continue;
    const double delta = a->CalcPosPoint(from) - a->CalcPosPoint(to);
    double mn = a->Minimum() + delta, mx = a->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(*a, mn, mx, allow);
    if (allow) {
      a->SetMinMax(mn, mx);
      any = true;
    }
  }
  return any;
}

void TCustomChart::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) {
  if (SizeIsEmpty()) return;
  TCustomAxisPanel::MouseMove(shift, x, y);
  if (!HasState(classlib::csDesigning))
    for (TKivCustomTool* t : std::vector<TKivCustomTool*>(Tools().begin(), Tools().end()))
      if (t->Active()) t->ChartMouseEvent(cmeMove, mbLeft, shift, x, y);
  if (CancelMouseFlag()) return;
  TKivZoom& z = *Zoom();
  TZoomPanning& pan = Panning();
  if (z.Active) {
    PinZoomCorner(x, y);
    if (x != z.X1 || y != z.Y1) {
      DrawZoomRectangle();
      z.X1 = x;
      z.Y1 = y;
      DrawZoomRectangle();
      if (Host() != nullptr) Host()->InvalidateWindow();
    }
  } else if (pan.Active) {
    if (!PointInRect(ChartRect(), x, y)) {
      pan.Active = false;
      return;
    }
    if (x == pan.X1 && y == pan.Y1) return;
    if (FRangesNotSaved) SaveAxesRanges();
    const bool h = ScrollAxes(true, pan.X1, x);
    const bool v = ScrollAxes(false, pan.Y1, y);
    pan.X1 = x;
    pan.Y1 = y;
    if (h || v) {
      if (OnScroll) OnScroll();
      Invalidate();
    }
  } else if (!SeriesClicked(x, y)) {
    RestoreCursor();
  }
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  if (SizeIsEmpty()) return;
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  TKivZoom& z = *Zoom();
  if (z.Active && button == z.MouseButton()) {
    z.Active = false;
    DrawZoomRectangle();
    z.Pen()->SetMode(pmCopy);
    PinZoomCorner(x, y);
    z.X1 = x;
    z.Y1 = y;
    if (std::abs(z.X1 - z.X0) > z.MinimumPixels() && std::abs(z.Y1 - z.Y0) > z.MinimumPixels()) {
      if (z.X0 < z.X1 && z.Y0 < z.Y1)
        ZoomRect({z.X0, z.Y0, z.X1, z.Y1});
      else
        UndoZoom();
      Invalidate();
    }
  }
  Panning().Active = false;
  for (TKivCustomTool* t : std::vector<TKivCustomTool*>(Tools().begin(), Tools().end()))
    if (t->Active()) t->ChartMouseEvent(cmeUp, button, shift, x, y);
}

bool TCustomChart::DoMouseWheel(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos) {
  const bool handled = TCustomAxisPanel::DoMouseWheel(shift, wheelDelta, mousePos);
  if (SizeIsEmpty() || !WheelScrolls() || wheelDelta == 0) return handled;
  for (TChartAxis* a : AxesList()) {
    if (a->Horizontal() || a->IsDepthAxis()) continue;
    const double range = a->Maximum() - a->Minimum();
    a->Scroll(wheelDelta > 0 ? range * 0.03 : -range * 0.03, false);
  }
  return true;
}

// --- zoom ---------------------------------------------------------------------

void TCustomChart::SaveAxesRanges() {
  FSavedRanges.clear();
  for (TChartAxis* a : AxesList()) {
    TAxisSavedRange r;
    if (!a->IsDepthAxis()) r = {a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum(), a->Maximum(), a->Minimum()};
    FSavedRanges.push_back(r);
  }
  FRangesNotSaved = false;
}

void TCustomChart::ZoomRect(const TRect& rect) {
  const TRect r = OrderRect(rect);
  ZoomValues(TopAxis()->CalcPosPoint(r.Left), TopAxis()->CalcPosPoint(r.Right), BottomAxis()->CalcPosPoint(r.Left),
             BottomAxis()->CalcPosPoint(r.Right), LeftAxis()->CalcPosPoint(r.Bottom), LeftAxis()->CalcPosPoint(r.Top),
             RightAxis()->CalcPosPoint(r.Bottom), RightAxis()->CalcPosPoint(r.Top));
}

void TCustomChart::ZoomValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                              double leftMax, double rightMin, double rightMax) {
  if (FRangesNotSaved) SaveAxesRanges();
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  const double targets[4][2] = {{leftMin, leftMax}, {rightMin, rightMax}, {topMin, topMax}, {bottomMin, bottomMax}};
  if (Zoom()->Animated()) {
    for (int frame = 1; frame < Zoom()->AnimatedSteps(); ++frame) {
      for (int i = 0; i < 4; ++i) {
        const double mn = axes[i]->Minimum() + (targets[i][0] - axes[i]->Minimum()) / 3.0;
        const double mx = axes[i]->Maximum() + (targets[i][1] - axes[i]->Maximum()) / 3.0;
        axes[i]->SetMinMax(mn, mx);
      }
      Repaint();
    }
  }
  for (int i = 0; i < 4; ++i) axes[i]->SetMinMax(targets[i][0], targets[i][1]);
  SetZoomed(true);
  if (OnZoom) OnZoom();
}

void TCustomChart::UndoZoom() {
  if (!FRangesNotSaved) {
    const int n = std::min<int>(AxesList().Count(), static_cast<int>(FSavedRanges.size()));
    for (int i = 0; i < n; ++i) {
      TChartAxis* a = AxesList()[i];
      if (a->IsDepthAxis()) continue;
      const TAxisSavedRange& r = FSavedRanges[static_cast<std::size_t>(i)];
      a->SetMinMax(r.Minimum, r.Maximum);
      a->SetAutomaticMinimum(r.AutomaticMinimum);
      a->SetAutomaticMaximum(r.AutomaticMaximum);
      a->SetAutomatic(r.Automatic);
      if (!r.Automatic) {
        a->SetAutomaticMinimum(r.AutomaticMinimum);
        a->SetAutomaticMaximum(r.AutomaticMaximum);
      }
    }
    FRangesNotSaved = true;
  }
  UndoZoomDone();
}

std::unique_ptr<TBitmap> TCustomChart::RenderToBitmap() {
  if (SizeIsEmpty()) return std::make_unique<TBitmap>();
  return CreateChartBitmap(clWhite, GetRectangle());
}

void TCustomChart::GetChildren(const std::function<void(classlib::TComponent&)>& proc) const {
  TCustomAxisPanel::GetChildren(proc);
  for (TChartSeries* s : FSeriesList)
    if (!s->DontStore()) proc(*s);
  for (TKivCustomTool* t : FTools) proc(*t);
}

void TCustomChart::DefineProperties(classlib::TFiler& filer) {
  TCustomAxisPanel::DefineProperties(filer);
  filer.DefineProperty(
      "BackColor", [this](classlib::TReader& r) { SetBackColor(ReadColorValue(r)); }, nullptr, false);
}

void TCustomChart::Assign(const classlib::TPersistent& source) {
  if (auto* c = dynamic_cast<const TCustomChart*>(&source)) {
    FBottomAxis->Assign(*c->FBottomAxis);
    FCustomAxes->Assign(*c->FCustomAxes);
    FLeftAxis->Assign(*c->FLeftAxis);
    FDepthAxis->Assign(*c->FDepthAxis);
    FRightAxis->Assign(*c->FRightAxis);
    FTopAxis->Assign(*c->FTopAxis);
    FFoot->Assign(*c->FFoot);
    FLegend->Assign(*c->FLegend);
    FScrollMouseButton = c->FScrollMouseButton;
    FSubFoot->Assign(*c->FSubFoot);
    FSubTitle->Assign(*c->FSubTitle);
    FTitle->Assign(*c->FTitle);
    FWalls->Assign(*c->FWalls);
  }
  TCustomAxisPanel::Assign(source);
}

}  // namespace chart
