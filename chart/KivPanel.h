// The chart panel: it runs a drawing pass with margins, bevels and an
// off-screen buffer, passes mouse and key events to its listeners, and (in
// the extended panel) draws the background, the back image and the zoom
// rectangle; and the framed shapes of titles, legends and marks.
//
// Tested by: chart/tests/KivPanelTest.cpp, chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/KivCanvas.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/core/KivProcsZoom.h"
#include "chart/core/KivStyles.h"
#include "chart/core/KivTypes.h"
#include "platform/classlib/Component.h"

namespace chart {

class TBitmap;

// ---------------------------------------------------------------------------
// Chart panel

class TCustomKivPanel;

class TKivEvent {
 public:
  virtual ~TKivEvent() = default;
  TCustomKivPanel* Sender = nullptr;
};

enum TKivMouseEventKind : std::uint8_t { meDown, meUp, meMove };

class TKivMouseEvent : public TKivEvent {
 public:
  TKivMouseEventKind Event = meDown;
  TMouseButton Button = mbLeft;
  TShiftState Shift = 0;
  std::int32_t X = 0, Y = 0;
};

class TKivView3DEvent : public TKivEvent {};

class IKivEventListener {
 public:
  virtual ~IKivEventListener() = default;
  virtual void KivEvent(TKivEvent& event) = 0;
};

// The window a panel shows in: the widget host implements it; a panel without
// one still draws into images. Points are in pixels, client coordinates unless
// named screen points; texts are UTF-8.
class IKivPanelHost {
 public:
  // Drops a hint still waiting to show in this host (chart/tools/HintService.h).
  virtual ~IKivPanelHost();
  // Asks for a paint event later; RepaintWindow paints at once.
  virtual void InvalidateWindow() = 0;
  virtual void RepaintWindow() = 0;
  // Asks for a paint event of part of the window (right and bottom exclusive).
  virtual void InvalidateWindowRect(const TRect& rect) {
    (void)rect;
    InvalidateWindow();
  }
  // The brush colour of the parent control (clNone when there is none).
  virtual TColor ParentColor() const = 0;
  // Replaces the window's shape by a rounded rectangle of corner r (0: plain).
  virtual void SetWindowRound(std::int32_t r) = 0;
  virtual void ReleaseMouse() = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TPoint CursorPos() const = 0;
  virtual TPoint ClientToScreen(const TPoint& p) const = 0;
  // A hint window with text at a screen point, and its removal.
  virtual void ShowHint(const std::string& text, const TPoint& screenPoint) = 0;
  virtual void CancelHint() = 0;
  // Milliseconds the pointer rests before a hint shows.
  virtual std::int32_t HintPause() const = 0;
  virtual void SetHintPause(std::int32_t ms) = 0;
};

// Key codes of the key events: the window system's virtual-key numbers
// (letters and digits are their upper-case characters).
using TKeyEvent = std::function<void(std::uint16_t& key, TShiftState shift)>;
// handled starts false; a handler that sets it stops the panel's own wheel handling.
using TMouseWheelEvent =
    std::function<void(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos, bool& handled)>;

class TCustomKivPanel : public classlib::TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomKivPanel(classlib::TComponent* owner = nullptr);
  ~TCustomKivPanel() override;

  // properties
  std::int32_t Chart3DPercent() const { return FChart3DPercent; }
  // Raises classlib::Exception outside 1..100, keeping the value.
  void SetChart3DPercent(std::int32_t v);
  TChartHiddenPen* Border() const { return FBorder.get(); }
  void SetBorder(const TChartHiddenPen& v) { FBorder->Assign(v); }
  std::int32_t BorderRound() const { return FBorderRound; }
  void SetBorderRound(std::int32_t v);
  std::int32_t MarginLeft() const { return FMargins[0]; }
  std::int32_t MarginTop() const { return FMargins[1]; }
  std::int32_t MarginRight() const { return FMargins[2]; }
  std::int32_t MarginBottom() const { return FMargins[3]; }
  void SetMargin(int index, std::int32_t v);
  void SetMarginLeft(std::int32_t v) { SetMargin(0, v); }
  void SetMarginTop(std::int32_t v) { SetMargin(1, v); }
  void SetMarginRight(std::int32_t v) { SetMargin(2, v); }
  void SetMarginBottom(std::int32_t v) { SetMargin(3, v); }
  TKivUnits MarginUnits() const { return FMarginUnits; }
  void SetMarginUnits(TKivUnits v);
  bool Monochrome() const;
  void SetMonochrome(bool v);
  bool PrintProportional() const { return FPrintProportional; }
  void SetPrintProportional(bool v) { FPrintProportional = v; }
  TKivShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(const TKivShadow& v) { FShadow->Assign(v); }
  bool View3D() const { return FView3D; }
  void SetView3D(bool v);
  TView3DOptions* View3DOptions() const { return FView3DOptions.get(); }
  void SetView3DOptions(const TView3DOptions& v) { FView3DOptions->Assign(v); }
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  std::int32_t BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(std::int32_t v);
  std::int32_t BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(std::int32_t v);
  std::int32_t Width() const { return FWidth; }
  std::int32_t Height() const { return FHeight; }
  void SetBounds(std::int32_t width, std::int32_t height);

  bool AutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool v) { FAutoRepaint = v; }
  bool CancelMouseFlag() const { return FCancelMouse; }
  void SetCancelMouseFlag(bool v) { FCancelMouse = v; }
  bool Printing() const { return FPrinting; }
  void SetPrinting(bool v) { FPrinting = v; }
  const std::int32_t (&PrintMargins() const)[4] { return FPrintMargins; }
  void SetPrintMargins(const std::int32_t (&m)[4]) { std::copy(m, m + 4, FPrintMargins); }
  std::int32_t PrintResolution() const { return FPrintResolution; }
  void SetPrintResolution(std::int32_t v) { FPrintResolution = v; }
  TZoomPanning& Panning() { return *FPanning; }
  TCanvas3D& Canvas() const;
  // The control's hint text and switch (what a hint window shows over it).
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& v) { FHint = v; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool v) { FShowHint = v; }
  IKivPanelHost* Host() const { return FHost; }
  void SetHost(IKivPanelHost* host) { FHost = host; }
  // The control's own cursor, and the one it shows now (a series' cursor while
  // the mouse is over that series); RestoreCursor goes back to its own.
  TCursor Cursor() const { return FSavedCursor; }
  void SetCursor(TCursor v);
  TCursor ShownCursor() const { return FShownCursor; }
  void ShowCursor(TCursor v);
  void RestoreCursor() { ShowCursor(FSavedCursor); }
  // The canvas painted on the screen (the host's, during its paint event).
  TCanvas* DelegateCanvas() const { return FDelegateCanvas; }
  // Also binds the drawing surface to it, as painting between passes needs.
  void SetDelegateCanvas(TCanvas* canvas);

  const TRect& ChartBounds() const { return FChartBounds; }
  const TRect& ChartRect() const { return FChartRect; }
  std::int32_t ChartWidth() const { return FChartWidth; }
  std::int32_t ChartHeight() const { return FChartHeight; }
  std::int32_t ChartXCenter() const { return FChartXCenter; }
  std::int32_t ChartYCenter() const { return FChartYCenter; }
  // Replaces the chart rectangle (the layout of axes, titles and legend) and
  // recomputes its width, height and centre.
  void SetChartRect(const TRect& r);
  // Draws through another surface from now on (tests record the calls).
  void ReplaceCanvas(std::unique_ptr<TCanvas3D> canvas);

  // operations
  std::int32_t AddListener(IKivEventListener* listener);
  void RemoveListener(IKivEventListener* listener);
  void BroadcastEvent(TKivEvent& event);
  void BroadcastMouseEvent(TKivMouseEventKind kind, TMouseButton button, TShiftState shift,
                           std::int32_t x, std::int32_t y);
  // The chart control adds its clicks, zoom and panning to these.
  virtual void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  virtual void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y);
  void CancelMouse();
  TPoint GetCursorPos() const;
  // Marks the picture stale and paints it at once (Invalidate waits for the next paint).
  void Repaint();
  // Draws between passes (the figures dragged in XOR over the chart): into the
  // finished off-screen picture, which the window then shows again. Inside a
  // pass it draws where the pass draws.
  void DrawOverPicture(const std::function<void(TCanvas3D& canvas)>& draw);

  // Key and wheel events of the window; a handler that sets key to 0 consumes it.
  TKeyEvent OnKeyDown, OnKeyUp;
  TMouseWheelEvent OnMouseWheel;

  // A picture of the panel the size of rect, filled with backColor unless it is white.
  std::unique_ptr<TBitmap> CreateChartBitmap(TColor backColor, const TRect& rect);
  std::int32_t MarginToPixels(std::int32_t margin, std::int32_t size) const {
    return chart::MarginToPixels(margin, FMarginUnits, size);
  }
  void DrawPanelBevels(TRect rect);
  // While printing, a thin non-solid pen is drawn as a hairline.
  void HairlinePrintPen(TPen& pen) const;
  bool CanClip() const;
  // Draws when the buffer does not hold a finished picture.
  void Paint();
  // The whole drawing pass into canvas within rect.
  void Draw(TCanvas* canvas, const TRect& rect);
  TRect GetRectangle() const { return {0, 0, FWidth, FHeight}; }
  // Applies the rounded window shape after loading, resizing or a change.
  void ApplyWindowRound();

  // introduced virtual
  virtual void Invalidate();
  virtual void KeyDown(std::uint16_t& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(key, shift);
  }
  virtual void KeyUp(std::uint16_t& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(key, shift);
  }
  // The wheel turned by wheelDelta (positive: away from the user, 120 a notch);
  // true when handled. The chart control adds its axis scrolling here.
  virtual bool DoMouseWheel(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos);
  virtual TColor GetBackColor() const { return FColor; }
  virtual void InternalDraw(const TRect& bounds) = 0;
  // The defaults a kind of panel declares for itself (streams leave out a
  // value equal to them, a reset restores them).
  virtual TBevelCut DefaultBevelOuter() const { return bvRaised; }
  virtual TColor DefaultColor() const { return clBtnFace; }
  virtual bool DefaultView3D() const { return true; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  void Loaded() override;
  // Reads the obsolete "BorderStyle" of older streams.
  void DefineProperties(classlib::TFiler& filer) override;

 protected:
  void PanelChanged() { Invalidate(); }

 private:
  void RecalcWidthHeight();

  std::int32_t FChart3DPercent = 15;
  bool FCancelMouse = false;
  bool FAutoRepaint = true;
  std::unique_ptr<TChartHiddenPen> FBorder;
  std::int32_t FBorderRound = 0;
  TRect FChartBounds;
  std::int32_t FChartWidth = 0, FChartHeight = 0, FChartXCenter = 0, FChartYCenter = 0;
  TCanvas* FDelegateCanvas = nullptr;
  std::int32_t FMargins[4] = {3, 4, 3, 4};
  TKivUnits FMarginUnits = muPercent;
  TCursor FSavedCursor = 0;
  TCursor FShownCursor = 0;
  std::unique_ptr<TZoomPanning> FPanning;
  bool FPrinting = false;
  std::int32_t FPrintMargins[4] = {15, 15, 15, 15};
  bool FPrintProportional = true;
  std::int32_t FPrintResolution = 0;
  std::unique_ptr<TKivShadow> FShadow;
  bool FView3D = true;
  std::unique_ptr<TView3DOptions> FView3DOptions;
  std::vector<IKivEventListener*> FListeners;
  bool FInRegion = false;
  std::unique_ptr<TCanvas3D> FCanvas;
  TRect FChartRect;
  TColor FColor = clBtnFace;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  std::int32_t FBevelWidth = 1;
  std::int32_t FBorderWidth = 0;
  std::int32_t FWidth = 400, FHeight = 250;
  IKivPanelHost* FHost = nullptr;
  std::string FHint;
  bool FShowHint = false;
};

enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TKivBackImageMode : std::uint8_t { pbmStretch, pbmTile, pbmCenter };

class TCustomKivPanelExtended : public TCustomKivPanel {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomKivPanelExtended(classlib::TComponent* owner = nullptr);
  ~TCustomKivPanelExtended() override;

  // properties
  TPanningMode AllowPanning() const { return FPanningMode; }
  void SetAllowPanning(TPanningMode v) { FPanningMode = v; }
  // Created on first read; setting nullptr frees it.
  TPicture* BackImage() const;
  void SetBackImage(TPicture* v);
  bool BackImageInside() const { return FBackImageInside; }
  void SetBackImageInside(bool v);
  TKivBackImageMode BackImageMode() const { return FBackImageMode; }
  void SetBackImageMode(TKivBackImageMode v);
  bool BackImageTransp() const;
  void SetBackImageTransp(bool v);
  TKivGradient* Gradient() const;
  void SetGradient(TKivGradient* v);
  bool HasGradient() const { return FGradient != nullptr; }
  TKivZoom* Zoom() const { return FZoom.get(); }
  void SetZoom(const TKivZoom& v) { FZoom->Assign(v); }
  bool Zoomed() const { return FZoomed; }
  void SetZoomed(bool v) { FZoomed = v; }

  TNotifyEvent OnScroll, OnUndoZoom, OnZoom;

  // operations
  bool HasBackImage() const;
  void UndoZoomDone();
  void FillPanelRect(const TRect& rect);
  void DrawPanelBackground(const TRect& rect);
  // The zoom rectangle in XOR: drawing it twice leaves the picture as it was.
  void DrawZoomRectangle();
  void DrawBackImage(const TRect& rect, std::int32_t z);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  // The zoom switches of older streams, read and never written, and "PrintMargins".
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  TPanningMode FPanningMode = pmBoth;
  bool FBackImageInside = false;
  TKivBackImageMode FBackImageMode = pbmStretch;
  mutable std::unique_ptr<TKivGradient> FGradient;
  std::unique_ptr<TKivZoom> FZoom;
  bool FZoomed = false;
  mutable std::unique_ptr<TPicture> FBackImage;
};

// ---------------------------------------------------------------------------
// Framed shapes

class TKivCustomShapeBrushPen : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomShapeBrushPen(TCustomKivPanel* parent = nullptr);
  ~TKivCustomShapeBrushPen() override;

  // properties
  TChartBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TChartBrush& v) { FBrush->Assign(v); }
  TChartPen* Pen() const { return FPen.get(); }
  void SetPen(const TChartPen& v) { FPen->Assign(v); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  // An owner whose shape starts hidden makes that its stored default.
  void InitVisible(bool v) { FVisible = FDefaultVisible = v; }
  bool DefaultVisible() const { return FDefaultVisible; }
  TCustomKivPanel* ParentChart() const { return FParent; }

  // introduced virtual
  virtual void SetParent(TCustomKivPanel* parent) { FParent = parent; }

  // Marks the panel's picture stale: the next pass draws the change.
  void Invalidate() const {
    if (FParent != nullptr) FParent->Invalidate();
  }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:

 private:
  TCustomKivPanel* FParent = nullptr;
  std::unique_ptr<TChartBrush> FBrush;
  std::unique_ptr<TChartPen> FPen;
  bool FVisible = true;
  bool FDefaultVisible = true;
};

enum TChartObjectShapeStyle : std::uint8_t { fosRectangle, fosRoundRectangle };

class TKivCustomShape : public TKivCustomShapeBrushPen {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomShape(TCustomKivPanel* parent = nullptr);
  ~TKivCustomShape() override;

  // properties
  TBevelCut Bevel() const { return FBevel; }
  void SetBevel(TBevelCut v);
  std::int32_t BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(std::int32_t v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TKivFont* Font() const { return FFont.get(); }
  void SetFont(const TKivFont& v) { FFont->Assign(v); }
  TKivShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(const TKivShadow& v) { FShadow->Assign(v); }
  TChartObjectShapeStyle ShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TChartObjectShapeStyle v);
  std::int32_t Transparency() const { return FTransparency; }
  void SetTransparency(std::int32_t v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // An owner whose shape starts transparent (titles, the back wall) makes that its stored default.
  void InitTransparent(bool v) { FTransparent = FDefaultTransparent = v; }
  bool DefaultTransparent() const { return FDefaultTransparent; }
  // Created on first read; setting nullptr frees it.
  TKivGradient* Gradient() const;
  void SetGradient(TKivGradient* v);
  bool HasGradient() const { return FGradient != nullptr; }
  const TRect& ShapeBounds() const { return FShapeBounds; }
  void SetShapeBounds(const TRect& r) { FShapeBounds = r; }

  // operations
  void Draw(TCanvas3D& canvas) { DrawRectRotated(canvas, FShapeBounds, 0, 0); }
  // The box turned by angle degrees about its centre, at depth z.
  void DrawRectRotated(TCanvas3D& canvas, const TRect& rect, double angle, std::int32_t z);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  // The shadow colour and size of older streams, read and never written.
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  TBevelCut FBevel = bvNone;
  std::int32_t FBevelWidth = 2;
  TColor FColor = clWhite;
  std::unique_ptr<TKivFont> FFont;
  std::unique_ptr<TKivShadow> FShadow;
  TChartObjectShapeStyle FShapeStyle = fosRectangle;
  std::int32_t FTransparency = 0;
  bool FTransparent = false;
  bool FDefaultTransparent = false;
  mutable std::unique_ptr<TKivGradient> FGradient;
  TRect FShapeBounds;
};

class TKivShape : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  using TKivCustomShape::TKivCustomShape;
};

// The start of the property table of a framed shape class T: the rows a
// shape publishes, each reaching the object as the T it is. A class that
// derives from TKivCustomShape and publishes them builds on this with
// TKivCustomShape's table as parent: on TKivShape's table its rows would
// reach it as a TKivShape, which it is not.
template <class T>
classlib::TClassBuilder<T> ShapeClassBuilder(std::string className, const classlib::TClassInfo& parent) {
  classlib::TClassBuilder<T> builder(std::move(className), parent);
  builder.Property("Bevel", &T::Bevel, &T::SetBevel, bvNone)
      .TypeName("TBevelCut")
      .Names({"bvNone", "bvLowered", "bvRaised", "bvSpace"})
      .Property("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 2)
      .SubObject("Brush", &T::Brush)
      .TypeName("TChartBrush")
      .Property("Color", &T::Color, &T::SetColor, clWhite)
      .TypeName("TColor")
      .SubObject("Font", &T::Font)
      .TypeName("TKivFont")
      .SubObject("Gradient", &T::Gradient)
      .TypeName("TKivGradient")
      .Stored([](const T& s) { return s.HasGradient(); })
      .SubObject("Pen", &T::Pen)
      .TypeName("TChartPen")
      .SubObject("Shadow", &T::Shadow)
      .TypeName("TKivShadow")
      .Property("ShapeStyle", &T::ShapeStyle, &T::SetShapeStyle, fosRectangle)
      .TypeName("TChartObjectShapeStyle")
      .Names({"fosRectangle", "fosRoundRectangle"})
      .Property("Transparency", &T::Transparency, &T::SetTransparency, 0)
      .Property("Transparent", &T::Transparent, &T::SetTransparent, false)
      .InstanceDefault(&T::DefaultTransparent)
      .Property("Visible", &T::Visible, &T::SetVisible, true)
      .InstanceDefault(&T::DefaultVisible);
  return builder;
}

// The corners of rect turned by angle degrees about its centre (screen y down).
void RotatedCorners(const TRect& rect, double angle, TPoint (&corners)[4]);

// A raised or lowered frame of the given width inside rect on canvas, in the
// button highlight and shadow colours (rounded when round >= 1); rect shrinks
// by the width.
void DrawBevel(TCanvas3D& canvas, TBevelCut bevel, TRect& rect, std::int32_t width, std::int32_t round);

}  // namespace chart
