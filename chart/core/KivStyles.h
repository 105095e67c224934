// Style objects of every chart element: pens, brushes, fonts, shadows and
// gradients, the picture holder they refer to, and the 3D view options.
//
// They hold data only. A setter stores a changed value and fires the change
// event that the owner pointed at its invalidate handler; nothing here draws
// (the shadows and gradients that paint on their own do so through
// chart/canvas/StyleDrawing.h).
//
// Part of the KivCanvas unit; include "chart/canvas/KivCanvas.h".
//
// Tested by: chart/tests/KivStylesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/core/KivTypes.h"
#include "platform/classlib/Persistent.h"

namespace chart {

class TCanvas3D;
class TKivBlend;

using TNotifyEvent = std::function<void()>;

// A picture of any kind; the drawing backend supplies the concrete kinds.
class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }

 private:
  bool FTransparent = false;
};

// Holds one graphic (or none) and tells its owner when it changes.
class TPicture : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TPicture(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(std::shared_ptr<TGraphic> graphic);
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::shared_ptr<TGraphic> FGraphic;
  TNotifyEvent FOnChange;
};

// The platform pen: colour, width, dash style and raster mode.
class TPen : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TPen(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  std::int32_t Width() const { return FWidth; }
  void SetWidth(std::int32_t v);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode v);
  void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }

  // introduced virtual
  // The values a property is not stored at and a reset restores (black, 1,
  // solid, unless a kind says otherwise).
  virtual TColor DefaultColor() const { return clBlack; }
  virtual std::int32_t DefaultWidth() const { return 1; }
  virtual TPenStyle DefaultStyle() const { return psSolid; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed() const {
    if (FOnChange) FOnChange();
  }
  // For constructors of derived kinds: set without firing the change event.
  void InitPen(TColor color, std::int32_t width, TPenStyle style) {
    FColor = color;
    FWidth = width;
    FStyle = style;
  }

 private:
  TColor FColor = clBlack;
  std::int32_t FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  TNotifyEvent FOnChange;
};

// The platform brush: colour and fill style, and a pattern bitmap when one is chosen.
class TBrush : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TBrush(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle v);
  // The pattern bitmap (not owned); drawn in the text and background colours.
  const TGraphic* Bitmap() const { return FBitmap; }
  void SetBitmap(const TGraphic* v);
  void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }

  // introduced virtual
  virtual TColor DefaultColor() const { return clWhite; }
  virtual TBrushStyle DefaultStyle() const { return bsSolid; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed() const {
    if (FOnChange) FOnChange();
  }
  void InitBrush(TColor color, TBrushStyle style) {
    FColor = color;
    FStyle = style;
  }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  const TGraphic* FBitmap = nullptr;
  TNotifyEvent FOnChange;
};

// The platform font. Size is in points; Height is the negative pixel height
// at the font's pixels per inch, as the window system measures it.
class TFont : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TFont(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v);
  std::int32_t Size() const { return FSize; }
  void SetSize(std::int32_t v);
  std::int32_t Height() const;
  void SetHeight(std::int32_t v);
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles v);
  std::uint8_t Charset() const { return FCharset; }
  void SetCharset(std::uint8_t v);
  std::int32_t PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(std::int32_t v) { FPixelsPerInch = v > 0 ? v : 96; }
  void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }

  // introduced virtual
  virtual TColor DefaultColor() const { return clWindowText; }
  virtual TFontStyles DefaultStyle() const { return 0; }
  virtual std::string DefaultName() const { return "MS Sans Serif"; }
  virtual std::int32_t DefaultSize() const { return 8; }
  // Height of the default size at the font's pixels per inch.
  std::int32_t DefaultHeight() const { return -MulDiv(DefaultSize(), FPixelsPerInch, 72); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed() const {
    if (FOnChange) FOnChange();
  }
  void InitFont(const std::string& name, std::int32_t size, TColor color) {
    FName = name;
    FSize = size;
    FColor = color;
    FCharset = 1;
  }

 private:
  std::string FName = "MS Sans Serif";
  std::int32_t FSize = 8;
  TColor FColor = clWindowText;
  TFontStyles FStyle = 0;
  std::uint8_t FCharset = 1;
  std::int32_t FPixelsPerInch = 96;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Chart pens

class TChartPen : public TPen {
  ORVEL_CLASS_INFO
 public:
  explicit TChartPen(TNotifyEvent onChange = {}) : TPen(std::move(onChange)) {}

  // properties
  TPenEndStyle EndStyle() const { return FEndStyle; }
  void SetEndStyle(TPenEndStyle v);
  bool SmallDots() const { return FSmallDots; }
  void SetSmallDots(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // The pen's own defaults: Color, Width, Style, Visible and EndStyle are
  // stored only when they differ from them, and a reset to defaults restores them.
  bool DefaultVisible() const { return FDefaultVisible; }
  TPenEndStyle DefaultEndStyle() const { return FDefaultEndStyle; }
  void SetDefaultColor(TColor c) { FDefaultColor = c; }
  TColor DefaultColor() const override { return FDefaultColor; }
  std::int32_t DefaultWidth() const override { return FDefaultWidth; }
  TPenStyle DefaultStyle() const override { return FDefaultStyle; }

  // For the constructors of the pen kinds and of owners that choose another
  // default: sets a value and makes it the default, without a change event.
  void InitVisible(bool v) { FVisible = FDefaultVisible = v; }
  void InitEndStyle(TPenEndStyle v) { FEndStyle = FDefaultEndStyle = v; }
  void InitColor(TColor c) { InitPen(c, Width(), Style()); }
  void InitPen(TColor color, std::int32_t width, TPenStyle style) {
    TPen::InitPen(color, width, style);
    FDefaultColor = color;
    FDefaultWidth = width;
    FDefaultStyle = style;
  }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  TPenEndStyle FEndStyle = esRound;
  bool FSmallDots = false;
  bool FVisible = true;
  bool FDefaultVisible = true;
  TPenEndStyle FDefaultEndStyle = esRound;
  TColor FDefaultColor = clBlack;
  std::int32_t FDefaultWidth = 1;
  TPenStyle FDefaultStyle = psSolid;
};

class TChartHiddenPen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TChartHiddenPen(TNotifyEvent onChange = {}) : TChartPen(std::move(onChange)) {
    InitVisible(false);
  }
};

class TDottedGrayPen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TDottedGrayPen(TNotifyEvent onChange = {});
};

class TDarkGrayPen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TDarkGrayPen(TNotifyEvent onChange = {});
};

class TChartAxisPen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TChartAxisPen(TNotifyEvent onChange = {});
};

class TWhitePen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TWhitePen(TNotifyEvent onChange = {});
};

// ---------------------------------------------------------------------------
// Chart brush

class TChartBrush : public TBrush {
  ORVEL_CLASS_INFO
 public:
  explicit TChartBrush(TNotifyEvent onChange = {});
  ~TChartBrush() override;

  // properties
  // Created on first read; setting nullptr frees it.
  TPicture* Image() const;
  void SetImage(TPicture* v);
  bool HasImage() const { return FImage && FImage->Graphic() != nullptr && !FImage->Graphic()->Empty(); }

  TColor DefaultColor() const override { return clDefault; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  mutable std::unique_ptr<TPicture> FImage;
};

// ---------------------------------------------------------------------------
// Shadow

using TKivTransparency = std::int32_t;  // 0..100 percent

class TKivShadow : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TKivShadow(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  std::int32_t HorizSize() const { return FHorizSize; }
  void SetHorizSize(std::int32_t v);
  std::int32_t VertSize() const { return FVertSize; }
  void SetVertSize(std::int32_t v);
  TKivTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKivTransparency v);
  // The larger of the two sizes; setting it sets both.
  std::int32_t Size() const { return FHorizSize > FVertSize ? FHorizSize : FVertSize; }
  void SetSize(std::int32_t v);
  void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }

  // The owner's defaults, below which Color and the sizes are not stored.
  TColor DefaultColor() const { return FDefaultColor; }
  std::int32_t DefaultSize() const { return FDefaultSize; }
  // Sets both the value and its default, as an owner's constructor does.
  void InitDefaults(TColor color, std::int32_t size);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  void Changed() const {
    if (FOnChange) FOnChange();
  }

  TColor FColor = clSilver;
  std::int32_t FHorizSize = 0;
  std::int32_t FVertSize = 0;
  TKivTransparency FTransparency = 0;
  TColor FDefaultColor = clSilver;
  std::int32_t FDefaultSize = 0;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Gradients

enum TGradientDirection : std::uint8_t {
  gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft,
  gdFromBottomLeft, gdRadial
};

class TCustomKivGradient : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomKivGradient(TNotifyEvent onChange = {}) : FOnChange(std::move(onChange)) {}

  // properties
  std::int32_t Balance() const { return FBalance; }
  void SetBalance(std::int32_t v);
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection v);
  TColor EndColor() const { return FEndColor; }
  void SetEndColor(TColor v);
  // clNone while there is no mid colour; setting clNone removes it.
  TColor MidColor() const { return FHasMidColor ? FMidColor : clNone; }
  void SetMidColor(TColor v);
  // Turns the mid colour back on with the colour it had before clNone
  // removed it; one never chosen starts halfway between start and end, so
  // the picture does not change until the user picks another.
  void UseMiddleColor();
  std::int32_t RadialX() const { return FRadialX; }
  void SetRadialX(std::int32_t v);
  std::int32_t RadialY() const { return FRadialY; }
  void SetRadialY(std::int32_t v);
  TColor StartColor() const { return FStartColor; }
  void SetStartColor(TColor v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void SetOnChange(TNotifyEvent e) { FOnChange = std::move(e); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed();

 private:
  std::int32_t FBalance = 50;
  TGradientDirection FDirection = gdTopBottom;
  TColor FEndColor = clYellow;
  TColor FMidColor = clNone;
  bool FHasMidColor = false;
  std::int32_t FRadialX = 0;
  std::int32_t FRadialY = 0;
  TColor FStartColor = clWhite;
  bool FVisible = false;
  bool FChanging = false;
  TNotifyEvent FOnChange;
};

class TKivGradient : public TCustomKivGradient {
  ORVEL_CLASS_INFO
 public:
  using TCustomKivGradient::TCustomKivGradient;
};

class TKivFontGradient : public TKivGradient {
  ORVEL_CLASS_INFO
 public:
  using TKivGradient::TKivGradient;

  // properties
  // The gradient paints the outline of the text instead of its body.
  bool Outline() const { return FOutline; }
  void SetOutline(bool v);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool FOutline = false;
};

// The colour of band i of d + 1 bands from start to end (0 gives start, d gives
// end when the balance is 50); per channel, as the gradient fills paint it.
TColor GradientBandColor(TColor start, TColor end, int i, int d, int balance);
// The colour of ring k of a radial fill of N rings (n drawn), per channel.
TColor RadialRingColor(TColor start, TColor end, int k, int n, int bigN, int balance);
// The grey a monochrome surface shows for a colour: all channels (R + G + B) div 3.
TColor MonochromeGrey(TColor c);

// ---------------------------------------------------------------------------
// Chart font

// The unit-wide default chart font: name and size from the message table.
const std::string& KivDefaultFontName();
std::int32_t KivDefaultFontSize();

class TKivFont : public TFont {
  ORVEL_CLASS_INFO
 public:
  explicit TKivFont(TNotifyEvent onChange = {});
  ~TKivFont() override;

  // properties
  // Created on first read; setting nullptr frees them.
  TKivFontGradient* Gradient() const;
  void SetGradient(TKivFontGradient* v);
  std::int32_t InterCharSize() const { return FInterCharSize; }
  void SetInterCharSize(std::int32_t v);
  TChartHiddenPen* OutLine() const;
  void SetOutLine(TChartHiddenPen* v);
  TKivShadow* Shadow() const;
  void SetShadow(TKivShadow* v);

  bool HasGradient() const { return FGradient != nullptr; }
  bool HasOutLine() const { return FOutline != nullptr; }
  bool HasShadow() const { return FShadow != nullptr; }

  // The surface that last selected this font.
  TCanvas3D* LastCanvas() const { return FLastCanvas; }
  void SetLastCanvas(TCanvas3D* canvas) { FLastCanvas = canvas; }

  TColor DefaultColor() const override { return FDefaultColor; }
  TFontStyles DefaultStyle() const override { return FDefaultStyle; }
  std::string DefaultName() const override { return KivDefaultFontName(); }
  // An owner whose font starts in another colour or style (the titles) makes
  // that its stored default, so the stream writes only what the user changed.
  void InitDefaults(TColor color, TFontStyles style);
  std::int32_t DefaultSize() const override { return KivDefaultFontSize(); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  void OwnedChanged() const;

  mutable std::unique_ptr<TKivFontGradient> FGradient;
  mutable std::unique_ptr<TChartHiddenPen> FOutline;
  mutable std::unique_ptr<TKivShadow> FShadow;
  std::int32_t FInterCharSize = 0;
  TColor FDefaultColor = clBlack;
  TFontStyles FDefaultStyle = 0;
  TCanvas3D* FLastCanvas = nullptr;
};

// ---------------------------------------------------------------------------
// 3D view options

class TView3DOptions : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  using TScrollNotify = std::function<void(TView3DOptions& sender, bool horizontal)>;
  using TZoomNotify = std::function<void(TView3DOptions& sender, std::int32_t zoom)>;

  // onInvalidate: the owner panel's invalidate.
  explicit TView3DOptions(TNotifyEvent onInvalidate = {}) : FOnInvalidate(std::move(onInvalidate)) {}

  // properties
  std::int32_t Elevation() const { return FElevation; }
  void SetElevation(std::int32_t v);
  std::int32_t HorizOffset() const { return FHorizOffset; }
  void SetHorizOffset(std::int32_t v);
  bool Orthogonal() const { return FOrthogonal; }
  void SetOrthogonal(bool v);
  std::int32_t OrthoAngle() const { return FOrthoAngle; }
  void SetOrthoAngle(std::int32_t v);
  std::int32_t Perspective() const { return FPerspective; }
  void SetPerspective(std::int32_t v);
  std::int32_t Rotation() const { return FRotation; }
  void SetRotation(std::int32_t v);
  std::int32_t Tilt() const { return FTilt; }
  void SetTilt(std::int32_t v);
  std::int32_t VertOffset() const { return FVertOffset; }
  void SetVertOffset(std::int32_t v);
  std::int32_t Zoom() const { return FZoom; }
  void SetZoom(std::int32_t v);
  bool ZoomText() const { return FZoomText; }
  void SetZoomText(bool v);

  void SetOnScrolled(TScrollNotify e) { FOnScrolled = std::move(e); }
  void SetOnZoomed(TZoomNotify e) { FOnZoomed = std::move(e); }
  void SetOnInvalidate(TNotifyEvent e) { FOnInvalidate = std::move(e); }

  // operations
  // Marks the owner panel's picture stale.
  void Invalidate() const {
    if (FOnInvalidate) FOnInvalidate();
  }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:

  std::int32_t FElevation = 345;
  std::int32_t FHorizOffset = 0;
  bool FOrthogonal = true;
  std::int32_t FOrthoAngle = 45;
  std::int32_t FPerspective = 15;
  std::int32_t FRotation = 345;
  std::int32_t FTilt = 0;
  std::int32_t FVertOffset = 0;
  std::int32_t FZoom = 100;
  bool FZoomText = true;
  TScrollNotify FOnScrolled;
  TZoomNotify FOnZoomed;
  TNotifyEvent FOnInvalidate;
};

// tan of the orthogonal angle (folded at 90 degrees) when the options are
// orthogonal, else 1; the axis panel sizes the 3D depth with it.
double CalcOrthoRatio(const TView3DOptions& options);

}  // namespace chart
