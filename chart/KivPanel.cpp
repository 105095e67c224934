// The chart panel, the extended panel's background and zoom rectangle, and
// the framed shapes: everything of the panel unit that draws.
//
// Tested by: chart/tests/KivPanelTest.cpp
#include <algorithm>
#include <cmath>
#include <iterator>

#include "chart/KivPanel.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivStream.h"
#include "chart/core/StoreAndInvalidate.h"
#include "platform/classlib/ComponentStream.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- TCustomKivPanel --------------------------------------------------------

const TClassInfo& TCustomKivPanel::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomKivPanel>("TCustomKivPanel", classlib::TComponent::StaticClassInfo())
          .Property("BevelInner", &TCustomKivPanel::BevelInner, &TCustomKivPanel::SetBevelInner, bvNone)
          .TypeName("TBevelCut")
          .Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"})
          .Property("BevelOuter", &TCustomKivPanel::BevelOuter, &TCustomKivPanel::SetBevelOuter, bvRaised)
          .TypeName("TBevelCut")
          .Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"})
          .InstanceDefault(&TCustomKivPanel::DefaultBevelOuter)
          .Property("BevelWidth", &TCustomKivPanel::BevelWidth, &TCustomKivPanel::SetBevelWidth, 1)
          .SubObject("Border", &TCustomKivPanel::Border)
          .TypeName("TChartHiddenPen")
          .Property("BorderRound", &TCustomKivPanel::BorderRound, &TCustomKivPanel::SetBorderRound, 0)
          .Property("BorderWidth", &TCustomKivPanel::BorderWidth, &TCustomKivPanel::SetBorderWidth, 0)
          .Property("Chart3DPercent", &TCustomKivPanel::Chart3DPercent,
                    &TCustomKivPanel::SetChart3DPercent, 15)
          .Property("Color", &TCustomKivPanel::Color, &TCustomKivPanel::SetColor, clBtnFace)
          .TypeName("TColor")
          .InstanceDefault(&TCustomKivPanel::DefaultColor)
          .Property("MarginBottom", &TCustomKivPanel::MarginBottom, &TCustomKivPanel::SetMarginBottom, 4)
          .Property("MarginLeft", &TCustomKivPanel::MarginLeft, &TCustomKivPanel::SetMarginLeft, 3)
          .Property("MarginRight", &TCustomKivPanel::MarginRight, &TCustomKivPanel::SetMarginRight, 3)
          .Property("MarginTop", &TCustomKivPanel::MarginTop, &TCustomKivPanel::SetMarginTop, 4)
          .Property("MarginUnits", &TCustomKivPanel::MarginUnits, &TCustomKivPanel::SetMarginUnits, muPercent)
          .TypeName("TKivUnits")
          .Names({"muPercent", "muPixels"})
          .Property("Monochrome", &TCustomKivPanel::Monochrome, &TCustomKivPanel::SetMonochrome, false)
          .Property("PrintProportional", &TCustomKivPanel::PrintProportional,
                    &TCustomKivPanel::SetPrintProportional, true)
          .SubObject("Shadow", &TCustomKivPanel::Shadow)
          .TypeName("TKivShadow")
          .Property("View3D", &TCustomKivPanel::View3D, &TCustomKivPanel::SetView3D, true)
          .InstanceDefault(&TCustomKivPanel::DefaultView3D)
          .SubObject("View3DOptions", &TCustomKivPanel::View3DOptions)
          .TypeName("TView3DOptions")
          .Build();
  return info;
}

TCustomKivPanel::TCustomKivPanel(classlib::TComponent* owner)
    : classlib::TComponent(owner),
      FBorder(std::make_unique<TChartHiddenPen>([this] { PanelChanged(); })),
      FPanning(std::make_unique<TZoomPanning>()),
      FShadow(std::make_unique<TKivShadow>([this] { PanelChanged(); })),
      FView3DOptions(std::make_unique<TView3DOptions>([this] { Invalidate(); })),
      FCanvas(std::make_unique<TKivCanvas3D>()) {
  FBorder->InitEndStyle(esFlat);
  FCanvas->SetView3DOptions(FView3DOptions.get());
}

TCustomKivPanel::~TCustomKivPanel() {
  IncludeState(classlib::csDestroying);
}

TCanvas3D& TCustomKivPanel::Canvas() const { return *FCanvas; }

void TCustomKivPanel::SetDelegateCanvas(TCanvas* canvas) {
  FDelegateCanvas = canvas;
  if (auto* qt = dynamic_cast<TKivCanvas3D*>(FCanvas.get())) qt->SetReferenceCanvas(canvas);
}

void TCustomKivPanel::ReplaceCanvas(std::unique_ptr<TCanvas3D> canvas) {
  FCanvas = std::move(canvas);
  FCanvas->SetView3DOptions(FView3DOptions.get());
}

void TCustomKivPanel::SetChartRect(const TRect& r) {
  FChartRect = r;
  FChartWidth = r.Width();
  FChartHeight = r.Height();
  const TPoint c = RectCenter(r);
  FChartXCenter = c.X;
  FChartYCenter = c.Y;
}

void TCustomKivPanel::Repaint() {
  FCanvas->Invalidate();
  if (FHost != nullptr) FHost->RepaintWindow();
}

void TCustomKivPanel::DrawOverPicture(const std::function<void(TCanvas3D& canvas)>& draw) {
  auto* surface = dynamic_cast<TKivCanvas3D*>(FCanvas.get());
  // Between passes the surface is bound to nothing: bind it to its picture for
  // the figure (a surface of another kind draws where it always does).
  const bool bind = surface != nullptr && surface->ReferenceCanvas() == nullptr && surface->GetBuffered() &&
                    surface->Bitmap() != nullptr;
  if (bind) surface->SetReferenceCanvas(&surface->Bitmap()->Canvas());
  try {
    draw(*FCanvas);
  } catch (...) {
    if (bind) surface->SetReferenceCanvas(nullptr);
    throw;
  }
  if (!bind) return;
  surface->SetReferenceCanvas(nullptr);
  if (FHost != nullptr) FHost->InvalidateWindow();
}

bool TCustomKivPanel::DoMouseWheel(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(shift, wheelDelta, mousePos, handled);
  return handled;
}

void TCustomKivPanel::Invalidate() {
  if (!FAutoRepaint) return;
  FCanvas->Invalidate();
  if (FHost != nullptr) FHost->InvalidateWindow();
}

void TCustomKivPanel::SetChart3DPercent(std::int32_t v) {
  if (v < 1 || v > 100) throw classlib::Exception(FormatKivMsg(msg3DPercent, {"1", "100"}));
  StoreAndInvalidate(*this, FChart3DPercent, v);
}

void TCustomKivPanel::SetBorderRound(std::int32_t v) {
  if (FBorderRound == v) return;
  StoreAndInvalidate(*this, FBorderRound, v);
  if (!HasState(classlib::csLoading)) ApplyWindowRound();
}

void TCustomKivPanel::SetMargin(int index, std::int32_t v) {
  if (index < 0 || index > 3) return;
  StoreAndInvalidate(*this, FMargins[index], v);
}

void TCustomKivPanel::SetMarginUnits(TKivUnits v) {
  StoreAndInvalidate(*this, FMarginUnits, v);
}

bool TCustomKivPanel::Monochrome() const { return FCanvas->GetMonochrome(); }
void TCustomKivPanel::SetMonochrome(bool v) { FCanvas->SetMonochrome(v); }

void TCustomKivPanel::SetView3D(bool v) {
  if (FView3D == v) return;
  StoreAndInvalidate(*this, FView3D, v);
  TKivView3DEvent event;
  BroadcastEvent(event);
}

void TCustomKivPanel::SetColor(TColor v) {
  StoreAndInvalidate(*this, FColor, v);
}
void TCustomKivPanel::SetBevelInner(TBevelCut v) {
  StoreAndInvalidate(*this, FBevelInner, v);
}
void TCustomKivPanel::SetBevelOuter(TBevelCut v) {
  StoreAndInvalidate(*this, FBevelOuter, v);
}
void TCustomKivPanel::SetBevelWidth(std::int32_t v) {
  StoreAndInvalidate(*this, FBevelWidth, std::max(v, 1));
}
void TCustomKivPanel::SetBorderWidth(std::int32_t v) {
  StoreAndInvalidate(*this, FBorderWidth, std::max(v, 0));
}

void TCustomKivPanel::SetBounds(std::int32_t width, std::int32_t height) {
  if (FWidth == width && FHeight == height) return;
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  if (FBorderRound > 0 && !HasState(classlib::csLoading)) ApplyWindowRound();
  Invalidate();
}

void TCustomKivPanel::ApplyWindowRound() {
  if (FInRegion || FHost == nullptr) return;
  FInRegion = true;
  FHost->SetWindowRound(FBorderRound >= 1 ? FBorderRound : 0);
  FInRegion = false;
}

void TCustomKivPanel::Loaded() {
  classlib::TComponent::Loaded();
  ApplyWindowRound();
}

void TCustomKivPanel::DefineProperties(classlib::TFiler& filer) {
  classlib::TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "BorderStyle", [this](classlib::TReader& r) { FBorder->SetVisible(r.ReadIdent() == "bsSingle"); }, nullptr,
      false);
}

void TCustomKivPanel::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TCustomKivPanel*>(&source)) {
    FBorder->Assign(*p->FBorder);
    FBorderRound = p->FBorderRound;
    FCanvas->SetBuffered(p->FCanvas->GetBuffered());
    std::copy(p->FPrintMargins, p->FPrintMargins + 4, FPrintMargins);
    FPrintProportional = p->FPrintProportional;
    FPrintResolution = p->FPrintResolution;
    std::copy(p->FMargins, p->FMargins + 4, FMargins);
    SetMonochrome(p->Monochrome());
    FShadow->Assign(*p->FShadow);
    FView3D = p->FView3D;
    FView3DOptions->Assign(*p->FView3DOptions);
    FChart3DPercent = p->FChart3DPercent;
    FColor = p->FColor;
    Invalidate();
    return;
  }
  classlib::TComponent::Assign(source);
}

// --- listeners and the mouse -----------------------------------------------

std::int32_t TCustomKivPanel::AddListener(IKivEventListener* listener) {
  return AddUniqueToList(FListeners, listener);
}

void TCustomKivPanel::RemoveListener(IKivEventListener* listener) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), listener), FListeners.end());
}

void TCustomKivPanel::BroadcastEvent(TKivEvent& event) {
  if (HasState(classlib::csDestroying)) return;
  event.Sender = this;
  const bool mouse = dynamic_cast<TKivMouseEvent*>(&event) != nullptr;
  // A copy: a listener may remove itself while it handles the event.
  const std::vector<IKivEventListener*> listeners = FListeners;
  for (IKivEventListener* l : listeners) {
    l->KivEvent(event);
    if (mouse && FCancelMouse) break;
  }
}

void TCustomKivPanel::BroadcastMouseEvent(TKivMouseEventKind kind, TMouseButton button,
                                          TShiftState shift, std::int32_t x, std::int32_t y) {
  if (FListeners.empty()) return;
  TKivMouseEvent event;
  event.Event = kind;
  event.Button = button;
  event.Shift = shift;
  event.X = x;
  event.Y = y;
  BroadcastEvent(event);
}

void TCustomKivPanel::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  FCancelMouse = false;
  BroadcastMouseEvent(meDown, button, shift, x, y);
}

void TCustomKivPanel::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
  BroadcastMouseEvent(meUp, button, shift, x, y);
}

void TCustomKivPanel::MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) {
  FCancelMouse = false;
  if (!HasState(classlib::csDesigning)) BroadcastMouseEvent(meMove, mbLeft, shift, x, y);
}

void TCustomKivPanel::CancelMouse() {
  RestoreCursor();
  if (FHost != nullptr) FHost->ReleaseMouse();
  FPanning->Active = false;
}

void TCustomKivPanel::SetCursor(TCursor v) {
  FSavedCursor = v;
  ShowCursor(v);
}

void TCustomKivPanel::ShowCursor(TCursor v) {
  FShownCursor = v;
  if (FHost != nullptr) FHost->SetCursor(v);
}

TPoint TCustomKivPanel::GetCursorPos() const { return FHost != nullptr ? FHost->CursorPos() : TPoint{}; }

// --- drawing ----------------------------------------------------------------

void TCustomKivPanel::RecalcWidthHeight() {
  std::int32_t inset = FBorderWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBorder->Visible()) inset += FBorder->Width();
  const TChartRectResult r = CalcChartRect(FChartBounds, inset, FMargins, FMarginUnits, FWidth, FHeight);
  FChartRect = r.ChartRect;
  FChartWidth = r.ChartWidth;
  FChartHeight = r.ChartHeight;
  FChartXCenter = r.ChartXCenter;
  FChartYCenter = r.ChartYCenter;
}

void TCustomKivPanel::Draw(TCanvas* canvas, const TRect& rect) {
  FChartBounds = FCanvas->InitWindow(canvas, FView3DOptions.get(), FColor, FView3D, rect);
  RecalcWidthHeight();
  InternalDraw(FChartBounds);
  FCanvas->ShowImage(canvas, FDelegateCanvas, rect);
}

void TCustomKivPanel::Paint() {
  if (FPrinting) return;
  if (!FCanvas->ReDrawBitmap()) Draw(FDelegateCanvas, GetRectangle());
}

std::unique_ptr<TBitmap> TCustomKivPanel::CreateChartBitmap(TColor backColor, const TRect& rect) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(rect.Width(), rect.Height());
  TCanvas& target = bitmap->Canvas();
  if (backColor != clWhite)
    target.Painter().fillRect(QRect(0, 0, rect.Width(), rect.Height()), ToQColor(backColor));
  const bool buffered = FCanvas->GetBuffered();
  FCanvas->SetBuffered(false);
  try {
    Draw(&target, rect);
  } catch (...) {
    FCanvas->SetBuffered(buffered);
    throw;
  }
  FCanvas->SetBuffered(buffered);
  bitmap->ReleaseCanvas();
  return bitmap;
}

void TCustomKivPanel::HairlinePrintPen(TPen& pen) const {
  if (FPrinting && pen.Width() == 1 && pen.Style() != psSolid) pen.SetWidth(0);
}

bool TCustomKivPanel::CanClip() const {
  if (FCanvas->GetSupportsFullRotation()) return false;
  // Printing and recorded pictures clip by the unit-wide options, which are on.
  return true;
}

void DrawBevel(TCanvas3D& c, TBevelCut bevel, TRect& rect, std::int32_t width, std::int32_t round) {
  if (bevel != bvLowered && bevel != bvRaised) return;
  const TColor light = clBtnHighlight, dark = clBtnShadow;
  if (round >= 1) {
    c.Brush().SetStyle(bsClear);
    c.Pen().SetColor(bevel == bvRaised ? light : dark);
    c.RoundRect(rect, round, round);
    rect = {rect.Left + width, rect.Top + width, rect.Right - width, rect.Bottom - width};
  } else {
    c.Frame3D(rect, bevel == bvRaised ? light : dark, bevel == bvRaised ? dark : light, width);
  }
}

void TCustomKivPanel::DrawPanelBevels(TRect rect) {
  TCanvas3D& c = *FCanvas;
  c.Brush().SetStyle(bsClear);
  c.Brush().SetBitmap(nullptr);
  if (FBorder->Visible()) {
    c.AssignVisiblePen(*FBorder);
    const std::int32_t w = FBorder->Width();
    if (!FBorder->SmallDots() && w > 1) {
      // A wide pen is centred on its path: move the path in by half the width.
      const std::int32_t half = (w - 1) / 2, extra = (w - 1) % 2;
      rect = {rect.Left + half + extra, rect.Top + half + extra, rect.Right - half, rect.Bottom - half};
    }
    if (FBorderRound < 1)
      c.Rectangle(rect);
    else
      c.RoundRect(rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1, FBorderRound, FBorderRound);
    std::int32_t inner = FBorder->SmallDots() ? 1 : w;
    if (FBorderRound < 1 && !FBorder->SmallDots()) ++inner;
    rect = {rect.Left + inner, rect.Top + inner, rect.Right - inner, rect.Bottom - inner};
  }
  if (FPrinting) return;
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetMode(pmCopy);
  c.Pen().SetVisible(true);
  c.Pen().SetSmallDots(false);
  DrawBevel(c, FBevelOuter, rect, FBevelWidth, FBorderRound);
  if (FBorderWidth > 0) c.Frame3D(rect, FColor, FColor, FBorderWidth);
  DrawBevel(c, FBevelInner, rect, FBevelWidth, FBorderRound);
}

// --- TCustomKivPanelExtended -------------------------------------------------

const TClassInfo& TCustomKivPanelExtended::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomKivPanelExtended>("TCustomKivPanelExtended", TCustomKivPanel::StaticClassInfo())
          .Property("AllowPanning", &TCustomKivPanelExtended::AllowPanning,
                    &TCustomKivPanelExtended::SetAllowPanning, pmBoth)
          .TypeName("TPanningMode")
          .Names({"pmNone", "pmHorizontal", "pmVertical", "pmBoth"})
          .SubObject("BackImage", &TCustomKivPanelExtended::BackImage)
          .TypeName("TPicture")
          .Stored([](const TCustomKivPanelExtended& p) { return p.HasBackImage(); })
          .Property("BackImageInside", &TCustomKivPanelExtended::BackImageInside,
                    &TCustomKivPanelExtended::SetBackImageInside, false)
          .Property("BackImageMode", &TCustomKivPanelExtended::BackImageMode,
                    &TCustomKivPanelExtended::SetBackImageMode, pbmStretch)
          .TypeName("TKivBackImageMode")
          .Names({"pbmStretch", "pbmTile", "pbmCenter"})
          .Property("BackImageTransp", &TCustomKivPanelExtended::BackImageTransp,
                    &TCustomKivPanelExtended::SetBackImageTransp, false)
          .SubObject("Gradient", &TCustomKivPanelExtended::Gradient)
          .TypeName("TKivGradient")
          .Stored([](const TCustomKivPanelExtended& p) { return p.HasGradient(); })
          .SubObject("Zoom", &TCustomKivPanelExtended::Zoom)
          .TypeName("TKivZoom")
          .Build();
  return info;
}

TCustomKivPanelExtended::TCustomKivPanelExtended(classlib::TComponent* owner)
    : TCustomKivPanel(owner), FZoom(std::make_unique<TKivZoom>()) {}

TCustomKivPanelExtended::~TCustomKivPanelExtended() = default;

TPicture* TCustomKivPanelExtended::BackImage() const {
  if (!FBackImage)
    FBackImage = std::make_unique<TPicture>([this] { const_cast<TCustomKivPanelExtended*>(this)->Invalidate(); });
  return FBackImage.get();
}

void TCustomKivPanelExtended::SetBackImage(TPicture* v) {
  if (v == nullptr) {
    FBackImage.reset();
    Invalidate();
  } else {
    BackImage()->Assign(*v);
  }
}

void TCustomKivPanelExtended::SetBackImageInside(bool v) {
  StoreAndInvalidate(*this, FBackImageInside, v);
}

void TCustomKivPanelExtended::SetBackImageMode(TKivBackImageMode v) {
  StoreAndInvalidate(*this, FBackImageMode, v);
}

bool TCustomKivPanelExtended::BackImageTransp() const {
  return FBackImage && FBackImage->Graphic() != nullptr && FBackImage->Graphic()->Transparent();
}

void TCustomKivPanelExtended::SetBackImageTransp(bool v) {
  if (FBackImage && FBackImage->Graphic() != nullptr) {
    FBackImage->Graphic()->SetTransparent(v);
    Invalidate();
  }
}

TKivGradient* TCustomKivPanelExtended::Gradient() const {
  if (!FGradient)
    FGradient = std::make_unique<TKivGradient>([this] { const_cast<TCustomKivPanelExtended*>(this)->Invalidate(); });
  return FGradient.get();
}

void TCustomKivPanelExtended::SetGradient(TKivGradient* v) {
  if (v == nullptr) {
    FGradient.reset();
    Invalidate();
  } else {
    Gradient()->Assign(*v);
  }
}

bool TCustomKivPanelExtended::HasBackImage() const {
  return FBackImage && FBackImage->Graphic() != nullptr;
}

void TCustomKivPanelExtended::UndoZoomDone() {
  if (OnUndoZoom) OnUndoZoom();
  Invalidate();
  FZoomed = false;
}

void TCustomKivPanelExtended::DefineProperties(classlib::TFiler& filer) {
  TCustomKivPanel::DefineProperties(filer);
  filer.DefineProperty(
      "AllowZoom", [this](classlib::TReader& r) { FZoom->SetAllow(r.ReadBoolean()); }, nullptr, false);
  filer.DefineProperty(
      "AnimatedZoom", [this](classlib::TReader& r) { FZoom->SetAnimated(r.ReadBoolean()); }, nullptr, false);
  filer.DefineProperty(
      "AnimatedZoomSteps", [this](classlib::TReader& r) { FZoom->SetAnimatedSteps(r.ReadInteger()); }, nullptr,
      false);
  const auto& m = PrintMargins();
  const bool stored = std::any_of(std::begin(m), std::end(m), [](std::int32_t v) { return v != 15; });
  filer.DefineProperty(
      "PrintMargins",
      [this](classlib::TReader& r) {
        std::int32_t read[4];
        r.ReadListBegin();
        for (std::int32_t& v : read) v = r.ReadInteger();
        r.ReadListEnd();
        SetPrintMargins(read);
      },
      [this](classlib::TWriter& w) {
        w.WriteListBegin();
        for (std::int32_t v : PrintMargins()) w.WriteInteger(v);
        w.WriteListEnd();
      },
      stored);
}

void TCustomKivPanelExtended::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TCustomKivPanelExtended*>(&source)) {
    SetBackImage(p->FBackImage.get());
    FBackImageInside = p->FBackImageInside;
    FBackImageMode = p->FBackImageMode;
    SetGradient(p->FGradient.get());
    FPanningMode = p->FPanningMode;
    FZoom->Assign(*p->FZoom);
  }
  TCustomKivPanel::Assign(source);
}

void TCustomKivPanelExtended::FillPanelRect(const TRect& rect) {
  TCanvas3D& c = Canvas();
  if (FGradient && FGradient->Visible()) {
    DrawGradient(c, *FGradient, rect);
    return;
  }
  if (Printing() || Color() == clNone) return;
  c.Brush().SetBitmap(nullptr);
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(Color());
  c.FillRect(rect);
}

void TCustomKivPanelExtended::DrawPanelBackground(const TRect& rect) {
  TCanvas3D& c = Canvas();
  TRect r = rect;
  if (Shadow()->Size() > 0) {
    const TColor parent = Host() != nullptr ? Host()->ParentColor() : clNone;
    c.Brush().SetBitmap(nullptr);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(parent != clNone ? parent : Color());
    c.FillRect(r);
    r.Right -= Shadow()->HorizSize();
    r.Bottom -= Shadow()->VertSize();
    DrawShadowRect(c, *Shadow(), r);
  }
  FillPanelRect(r);
  if (HasBackImage() && !FBackImageInside) DrawBackImage(r, 0);
  if (!c.GetSupportsFullRotation()) DrawPanelBevels(r);
}

void TCustomKivPanelExtended::DrawBackImage(const TRect& rect, std::int32_t z) {
  if (!HasBackImage()) return;
  TCanvas3D& c = Canvas();
  const TGraphic* graphic = FBackImage->Graphic();
  TRect r = rect;
  const bool ortho3D = c.Is3D() && c.IsOrthogonal();
  if (FBackImageMode == pbmStretch) {
    if (z < 1) {
      c.StretchDraw(r, graphic);
    } else if (!c.Is3D() || ortho3D) {
      r = c.Calculate3DPosition(r, z);
      if (!View3D()) ++r.Top;
      c.StretchDraw(r, graphic);
    } else {
      c.StretchImageInto(r, graphic, z);
    }
    return;
  }
  const bool clip = CanClip();
  if (clip) {
    if (z != 0)
      c.ClipCube(r, 0, z);
    else
      c.ClipRectangle(r);
  }
  if (z > 0 && ortho3D) r = c.Calculate3DPosition(r, z);
  const int gw = graphic->Width(), gh = graphic->Height();
  if (FBackImageMode == pbmCenter) {
    FillPanelRect(r);
    const std::int32_t dx = (gw - r.Width()) / 2, dy = (gh - r.Height()) / 2;
    r = {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
    if (z < 1)
      c.Draw(r.Left, r.Top, graphic);
    else
      c.StretchImageInto(r, graphic, z);
  } else if (gw > 0 && gh > 0) {
    const bool cells = z > 0 && c.Is3D() && !c.IsOrthogonal();
    for (std::int32_t y = 0; y < r.Height(); y += gh)
      for (std::int32_t x = 0; x < r.Width(); x += gw) {
        if (cells)
          c.StretchImageInto({r.Left + x, r.Top + y, r.Left + x + gw, r.Top + y + gh}, graphic, z);
        else
          c.Draw(r.Left + x, r.Top + y, graphic);
      }
  }
  if (clip) c.UnClipRectangle();
}

void TCustomKivPanelExtended::DrawZoomRectangle() {
  DrawOverPicture([this](TCanvas3D& c) {
    const TColor back = ColorToRGB(GetBackColor()) & 0xFFFFFF;
    const TKivZoom& z = *FZoom;
    if (!z.HasBrush()) {
      c.Brush().SetStyle(bsClear);
    } else {
      c.AssignBrush(*z.Brush(), (ColorToRGB(z.Brush()->Color()) ^ (0xFFFFFF - back)) & 0xFFFFFF);
    }
    z.Pen()->SetMode(pmNotXor);
    c.AssignVisiblePenColor(*z.Pen(), (ColorToRGB(z.Pen()->Color()) ^ (0xFFFFFF - back)) & 0xFFFFFF);
    // A hatched brush lays its lines only, as the window system lays any
    // hatch: between them the picture shows through.
    const int savedMode = c.GetBackMode();
    c.SetBackMode(TRANSPARENT);
    c.Rectangle(z.X0, z.Y0, z.X1, z.Y1);
    c.SetBackMode(savedMode);
  });
}

// --- framed shapes ----------------------------------------------------------

const TClassInfo& TKivCustomShapeBrushPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivCustomShapeBrushPen>("TKivCustomShapeBrushPen",
                                             classlib::TPersistent::StaticClassInfo())
          .Build();
  return info;
}

TKivCustomShapeBrushPen::TKivCustomShapeBrushPen(TCustomKivPanel* parent)
    : FParent(parent),
      FBrush(std::make_unique<TChartBrush>([this] { Invalidate(); })),
      FPen(std::make_unique<TChartPen>([this] { Invalidate(); })) {}

TKivCustomShapeBrushPen::~TKivCustomShapeBrushPen() = default;

void TKivCustomShapeBrushPen::SetVisible(bool v) {
  StoreAndInvalidate(*this, FVisible, v);
}

void TKivCustomShapeBrushPen::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TKivCustomShapeBrushPen*>(&source)) {
    FBrush->Assign(*s->FBrush);
    FPen->Assign(*s->FPen);
    FVisible = s->FVisible;
    return;
  }
  classlib::TPersistent::Assign(source);
}

const TClassInfo& TKivCustomShape::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivCustomShape>("TKivCustomShape", TKivCustomShapeBrushPen::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TKivShape::StaticClassInfo() {
  static const TClassInfo info =
      ShapeClassBuilder<TKivShape>("TKivShape", TKivCustomShape::StaticClassInfo()).Creatable().Build();
  return info;
}

TKivCustomShape::TKivCustomShape(TCustomKivPanel* parent)
    : TKivCustomShapeBrushPen(parent),
      FFont(std::make_unique<TKivFont>([this] { Invalidate(); })),
      FShadow(std::make_unique<TKivShadow>([this] { Invalidate(); })) {
  FShadow->InitDefaults(clBlack, 3);
}

TKivCustomShape::~TKivCustomShape() = default;

void TKivCustomShape::SetBevel(TBevelCut v) {
  StoreAndInvalidate(*this, FBevel, v);
}
void TKivCustomShape::SetBevelWidth(std::int32_t v) {
  StoreAndInvalidate(*this, FBevelWidth, std::max(v, 1));
}
void TKivCustomShape::SetColor(TColor v) {
  StoreAndInvalidate(*this, FColor, v);
}
void TKivCustomShape::SetShapeStyle(TChartObjectShapeStyle v) {
  StoreAndInvalidate(*this, FShapeStyle, v);
}
void TKivCustomShape::SetTransparency(std::int32_t v) {
  StoreAndInvalidate(*this, FTransparency, v);
}
void TKivCustomShape::SetTransparent(bool v) {
  StoreAndInvalidate(*this, FTransparent, v);
}

TKivGradient* TKivCustomShape::Gradient() const {
  if (!FGradient) FGradient = std::make_unique<TKivGradient>([this] { Invalidate(); });
  return FGradient.get();
}

void TKivCustomShape::SetGradient(TKivGradient* v) {
  if (v == nullptr)
    FGradient.reset();
  else
    Gradient()->Assign(*v);
  Invalidate();
}

void TKivCustomShape::DefineProperties(classlib::TFiler& filer) {
  TKivCustomShapeBrushPen::DefineProperties(filer);
  filer.DefineProperty(
      "ShadowColor", [this](classlib::TReader& r) { Shadow()->SetColor(ReadColorValue(r)); }, nullptr, false);
  filer.DefineProperty(
      "ShadowSize", [this](classlib::TReader& r) { Shadow()->SetSize(r.ReadInteger()); }, nullptr, false);
}

void TKivCustomShape::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TKivCustomShape*>(&source)) {
    FBevel = s->FBevel;
    FBevelWidth = s->FBevelWidth;
    FColor = s->FColor;
    FFont->Assign(*s->FFont);
    if (s->FGradient)
      Gradient()->Assign(*s->FGradient);
    else
      FGradient.reset();
    FShapeStyle = s->FShapeStyle;
    FShadow->Assign(*s->FShadow);
    FTransparency = s->FTransparency;
    FTransparent = s->FTransparent;
  }
  TKivCustomShapeBrushPen::Assign(source);
}

void RotatedCorners(const TRect& rect, double angle, TPoint (&corners)[4]) {
  const TPoint c = RectCenter(rect);
  const double a = angle * 3.14159265358979323846 / 180.0;
  const double s = std::sin(a), co = std::cos(a);
  const TPoint offsets[4] = {{rect.Left - c.X, rect.Top - c.Y},
                             {rect.Right - c.X, rect.Top - c.Y},
                             {rect.Right - c.X, rect.Bottom - c.Y},
                             {rect.Left - c.X, rect.Bottom - c.Y}};
  for (int i = 0; i < 4; ++i) {
    const double x = offsets[i].X, y = offsets[i].Y;
    corners[i] = {Round(x * co + y * s) + c.X, Round(-x * s + y * co) + c.Y};
  }
}

void TKivCustomShape::DrawRectRotated(TCanvas3D& canvas, const TRect& rect, double angle, std::int32_t z) {
  if (FTransparent) return;
  TPoint corners[4];
  if (angle != 0) RotatedCorners(rect, angle, corners);
  auto outline = [&](TCanvas3D& c, std::int32_t dx, std::int32_t dy) {
    if (angle == 0) {
      const TRect r{rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
      if (c.GetSupportsFullRotation())
        c.RectangleWithZ(r, z);
      else if (FShapeStyle == fosRoundRectangle)
        c.RoundRect(r, 16, 16);
      else
        c.Rectangle(r);
    } else {
      TPoint moved[4];
      for (int i = 0; i < 4; ++i) moved[i] = {corners[i].X + dx, corners[i].Y + dy};
      c.Polygon(moved);
    }
  };
  std::unique_ptr<TKivBlend> blend;
  if (FTransparency != 0) {
    TRect area = rect;
    if (angle != 0) {
      area = {corners[0].X, corners[0].Y, corners[0].X, corners[0].Y};
      for (const TPoint& p : corners) {
        area.Left = std::min(area.Left, p.X);
        area.Top = std::min(area.Top, p.Y);
        area.Right = std::max(area.Right, p.X);
        area.Bottom = std::max(area.Bottom, p.Y);
      }
    }
    blend = canvas.BeginBlending(area, FTransparency);
  }
  // The shadow: the outline moved by the shadow's sizes (plus the pen width), filled.
  if (FShadow->Size() > 0 && Brush()->Style() != bsClear && !canvas.GetSupportsFullRotation()) {
    const std::int32_t extra = Pen()->Visible() ? Pen()->Width() : 0;
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(FShadow->Color());
    std::unique_ptr<TKivBlend> shadowBlend;
    if (FShadow->Transparency() != 0) {
      const TRect moved{rect.Left + FShadow->HorizSize() + extra, rect.Top + FShadow->VertSize() + extra,
                        rect.Right + FShadow->HorizSize() + extra, rect.Bottom + FShadow->VertSize() + extra};
      shadowBlend = canvas.BeginBlending(moved, FShadow->Transparency());
    }
    outline(canvas, FShadow->HorizSize() + extra, FShadow->VertSize() + extra);
    if (shadowBlend) canvas.EndBlending(std::move(shadowBlend));
  }
  // The body: a visible gradient fills it and the outline draws only the frame.
  if (FGradient && FGradient->Visible()) {
    if (angle == 0)
      DrawGradient(canvas, *FGradient, rect, FShapeStyle == fosRoundRectangle ? 16 : 0);
    else
      DrawGradient(canvas, *FGradient, corners);
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(bsClear);
  } else {
    canvas.AssignBrush(*Brush(), FColor);
  }
  canvas.AssignVisiblePen(*Pen());
  outline(canvas, 0, 0);
  if (angle == 0 && FBevel != bvNone) {
    TRect inner = rect;
    DrawBevel(canvas, FBevel, inner, FBevelWidth, 0);
  }
  if (blend) canvas.EndBlending(std::move(blend));
}

}  // namespace chart
