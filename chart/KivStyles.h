// Style objects of every chart element: pens, brushes, fonts, shadows and
// gradients, the picture holder they refer to, and the 3D view options.
//
// They hold data only. A setter stores a changed value and fires the change
// event that the owner pointed at its repaint handler; nothing here draws,
// except the shadow and gradient operations that take a drawing surface
// (implemented with the surface in the chart library).
//
// Part of the KivCanvas unit; include "chart/KivCanvas.h".
//
// Tested by: chart/tests/KivStylesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/KivTypes.h"
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
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }

 private:
  bool transparent_ = false;
};

// Holds one graphic (or none) and tells its owner when it changes.
class TPicture : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TPicture(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::shared_ptr<TGraphic> graphic);
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::shared_ptr<TGraphic> graphic_;
  TNotifyEvent on_change_;
};

// The platform pen: colour, width, dash style and raster mode.
class TPen : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TPen(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  std::int32_t Width() const { return width_; }
  void SetWidth(std::int32_t v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode v);
  void SetOnChange(TNotifyEvent e) { on_change_ = std::move(e); }

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
    if (on_change_) on_change_();
  }
  // For constructors of derived kinds: set without firing the change event.
  void InitPen(TColor color, std::int32_t width, TPenStyle style) {
    color_ = color;
    width_ = width;
    style_ = style;
  }

 private:
  TColor color_ = clBlack;
  std::int32_t width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  TNotifyEvent on_change_;
};

// The platform brush: colour and fill style, and a pattern bitmap when one is chosen.
class TBrush : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TBrush(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);
  // The pattern bitmap (not owned); drawn in the text and background colours.
  const TGraphic* Bitmap() const { return bitmap_; }
  void SetBitmap(const TGraphic* v);
  void SetOnChange(TNotifyEvent e) { on_change_ = std::move(e); }

  // introduced virtual
  virtual TColor DefaultColor() const { return clWhite; }
  virtual TBrushStyle DefaultStyle() const { return bsSolid; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed() const {
    if (on_change_) on_change_();
  }
  void InitBrush(TColor color, TBrushStyle style) {
    color_ = color;
    style_ = style;
  }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  const TGraphic* bitmap_ = nullptr;
  TNotifyEvent on_change_;
};

// The platform font. Size is in points; Height is the negative pixel height
// at the font's pixels per inch, as the window system measures it.
class TFont : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TFont(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  std::int32_t Size() const { return size_; }
  void SetSize(std::int32_t v);
  std::int32_t Height() const;
  void SetHeight(std::int32_t v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  std::uint8_t Charset() const { return charset_; }
  void SetCharset(std::uint8_t v);
  std::int32_t PixelsPerInch() const { return pixels_per_inch_; }
  void SetPixelsPerInch(std::int32_t v) { pixels_per_inch_ = v > 0 ? v : 96; }
  void SetOnChange(TNotifyEvent e) { on_change_ = std::move(e); }

  // introduced virtual
  virtual TColor DefaultColor() const { return clWindowText; }
  virtual TFontStyles DefaultStyle() const { return 0; }
  virtual std::string DefaultName() const { return "MS Sans Serif"; }
  virtual std::int32_t DefaultSize() const { return 8; }
  // Height of the default size at the font's pixels per inch.
  std::int32_t DefaultHeight() const { return -MulDiv(DefaultSize(), pixels_per_inch_, 72); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed() const {
    if (on_change_) on_change_();
  }
  void InitFont(const std::string& name, std::int32_t size, TColor color) {
    name_ = name;
    size_ = size;
    color_ = color;
    charset_ = 1;
  }

 private:
  std::string name_ = "MS Sans Serif";
  std::int32_t size_ = 8;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  std::uint8_t charset_ = 1;
  std::int32_t pixels_per_inch_ = 96;
  TNotifyEvent on_change_;
};

// ---------------------------------------------------------------------------
// Chart pens

class TChartPen : public TPen {
  ORVEL_CLASS_INFO
 public:
  explicit TChartPen(TNotifyEvent onChange = {}) : TPen(std::move(onChange)) {}

  // properties
  TPenEndStyle EndStyle() const { return end_style_; }
  void SetEndStyle(TPenEndStyle v);
  bool SmallDots() const { return small_dots_; }
  void SetSmallDots(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // The pen's own defaults: Color, Width, Style, Visible and EndStyle are
  // stored only when they differ from them, and a reset to defaults restores them.
  bool DefaultVisible() const { return default_visible_; }
  TPenEndStyle DefaultEndStyle() const { return default_end_style_; }
  void SetDefaultColor(TColor c) { default_color_ = c; }
  TColor DefaultColor() const override { return default_color_; }
  std::int32_t DefaultWidth() const override { return default_width_; }
  TPenStyle DefaultStyle() const override { return default_style_; }

  // For the constructors of the pen kinds and of owners that choose another
  // default: sets a value and makes it the default, without a change event.
  void InitVisible(bool v) { visible_ = default_visible_ = v; }
  void InitEndStyle(TPenEndStyle v) { end_style_ = default_end_style_ = v; }
  void InitColor(TColor c) { InitPen(c, Width(), Style()); }
  void InitPen(TColor color, std::int32_t width, TPenStyle style) {
    TPen::InitPen(color, width, style);
    default_color_ = color;
    default_width_ = width;
    default_style_ = style;
  }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  TPenEndStyle end_style_ = esRound;
  bool small_dots_ = false;
  bool visible_ = true;
  bool default_visible_ = true;
  TPenEndStyle default_end_style_ = esRound;
  TColor default_color_ = clBlack;
  std::int32_t default_width_ = 1;
  TPenStyle default_style_ = psSolid;
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
  bool HasImage() const { return image_ && image_->Graphic() != nullptr && !image_->Graphic()->Empty(); }

  TColor DefaultColor() const override { return clDefault; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  mutable std::unique_ptr<TPicture> image_;
};

// ---------------------------------------------------------------------------
// Shadow

using TKivTransparency = std::int32_t;  // 0..100 percent

class TKivShadow : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TKivShadow(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  std::int32_t HorizSize() const { return horiz_size_; }
  void SetHorizSize(std::int32_t v);
  std::int32_t VertSize() const { return vert_size_; }
  void SetVertSize(std::int32_t v);
  TKivTransparency Transparency() const { return transparency_; }
  void SetTransparency(TKivTransparency v);
  // The larger of the two sizes; setting it sets both.
  std::int32_t Size() const { return horiz_size_ > vert_size_ ? horiz_size_ : vert_size_; }
  void SetSize(std::int32_t v);
  void SetOnChange(TNotifyEvent e) { on_change_ = std::move(e); }

  // The owner's defaults, below which Color and the sizes are not stored.
  TColor DefaultColor() const { return default_color_; }
  std::int32_t DefaultSize() const { return default_size_; }
  // Sets both the value and its default, as an owner's constructor does.
  void InitDefaults(TColor color, std::int32_t size);

  // operations
  // Fills the two strips a box casts, below and to the right of rect.
  void DrawRect(TCanvas3D& canvas, const TRect& rect);
  // The ellipse of rect moved by the sizes, at depth z.
  void DrawEllipse(TCanvas3D& canvas, const TRect& rect, std::int32_t z);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  void Changed() const {
    if (on_change_) on_change_();
  }

  TColor color_ = clSilver;
  std::int32_t horiz_size_ = 0;
  std::int32_t vert_size_ = 0;
  TKivTransparency transparency_ = 0;
  TColor default_color_ = clSilver;
  std::int32_t default_size_ = 0;
  TNotifyEvent on_change_;
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
  explicit TCustomKivGradient(TNotifyEvent onChange = {}) : on_change_(std::move(onChange)) {}

  // properties
  std::int32_t Balance() const { return balance_; }
  void SetBalance(std::int32_t v);
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection v);
  TColor EndColor() const { return end_color_; }
  void SetEndColor(TColor v);
  // clNone while there is no mid colour; setting clNone removes it.
  TColor MidColor() const { return has_mid_color_ ? mid_color_ : clNone; }
  void SetMidColor(TColor v);
  std::int32_t RadialX() const { return radial_x_; }
  void SetRadialX(std::int32_t v);
  std::int32_t RadialY() const { return radial_y_; }
  void SetRadialY(std::int32_t v);
  TColor StartColor() const { return start_color_; }
  void SetStartColor(TColor v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void SetOnChange(TNotifyEvent e) { on_change_ = std::move(e); }

  // operations
  // Fills rect (clipped to a rounded rectangle when cornerSize > 0).
  void Draw(TCanvas3D& canvas, const TRect& rect, std::int32_t cornerSize = 0);
  // Fills the polygon of four points (projected at depth z when given).
  void Draw(TCanvas3D& canvas, const TPoint (&points)[4]);
  void Draw(TCanvas3D& canvas, const TPoint (&points)[4], std::int32_t z);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void Changed();

 private:
  std::int32_t balance_ = 50;
  TGradientDirection direction_ = gdTopBottom;
  TColor end_color_ = clYellow;
  TColor mid_color_ = clNone;
  bool has_mid_color_ = false;
  std::int32_t radial_x_ = 0;
  std::int32_t radial_y_ = 0;
  TColor start_color_ = clWhite;
  bool visible_ = false;
  bool changing_ = false;
  TNotifyEvent on_change_;
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
  bool Outline() const { return outline_; }
  void SetOutline(bool v);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool outline_ = false;
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
  std::int32_t InterCharSize() const { return inter_char_size_; }
  void SetInterCharSize(std::int32_t v);
  TChartHiddenPen* OutLine() const;
  void SetOutLine(TChartHiddenPen* v);
  TKivShadow* Shadow() const;
  void SetShadow(TKivShadow* v);

  bool HasGradient() const { return gradient_ != nullptr; }
  bool HasOutLine() const { return outline_ != nullptr; }
  bool HasShadow() const { return shadow_ != nullptr; }

  // The surface that last selected this font.
  TCanvas3D* LastCanvas() const { return last_canvas_; }
  void SetLastCanvas(TCanvas3D* canvas) { last_canvas_ = canvas; }

  TColor DefaultColor() const override { return clBlack; }
  TFontStyles DefaultStyle() const override { return default_style_; }
  std::string DefaultName() const override { return KivDefaultFontName(); }
  std::int32_t DefaultSize() const override { return KivDefaultFontSize(); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  void OwnedChanged() const;

  mutable std::unique_ptr<TKivFontGradient> gradient_;
  mutable std::unique_ptr<TChartHiddenPen> outline_;
  mutable std::unique_ptr<TKivShadow> shadow_;
  std::int32_t inter_char_size_ = 0;
  TFontStyles default_style_ = 0;
  TCanvas3D* last_canvas_ = nullptr;
};

// ---------------------------------------------------------------------------
// 3D view options

class TView3DOptions : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  using TScrollNotify = std::function<void(TView3DOptions& sender, bool horizontal)>;
  using TZoomNotify = std::function<void(TView3DOptions& sender, std::int32_t zoom)>;

  // repaint: the owner panel's invalidate.
  explicit TView3DOptions(TNotifyEvent repaint = {}) : repaint_(std::move(repaint)) {}

  // properties
  std::int32_t Elevation() const { return elevation_; }
  void SetElevation(std::int32_t v);
  std::int32_t HorizOffset() const { return horiz_offset_; }
  void SetHorizOffset(std::int32_t v);
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool v);
  std::int32_t OrthoAngle() const { return ortho_angle_; }
  void SetOrthoAngle(std::int32_t v);
  std::int32_t Perspective() const { return perspective_; }
  void SetPerspective(std::int32_t v);
  std::int32_t Rotation() const { return rotation_; }
  void SetRotation(std::int32_t v);
  std::int32_t Tilt() const { return tilt_; }
  void SetTilt(std::int32_t v);
  std::int32_t VertOffset() const { return vert_offset_; }
  void SetVertOffset(std::int32_t v);
  std::int32_t Zoom() const { return zoom_; }
  void SetZoom(std::int32_t v);
  bool ZoomText() const { return zoom_text_; }
  void SetZoomText(bool v);

  void SetOnScrolled(TScrollNotify e) { on_scrolled_ = std::move(e); }
  void SetOnZoomed(TZoomNotify e) { on_zoomed_ = std::move(e); }
  void SetRepaint(TNotifyEvent e) { repaint_ = std::move(e); }

  // operations
  // Repaints the owner panel.
  void Repaint() const {
    if (repaint_) repaint_();
  }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Repaint();
  }

  std::int32_t elevation_ = 345;
  std::int32_t horiz_offset_ = 0;
  bool orthogonal_ = true;
  std::int32_t ortho_angle_ = 45;
  std::int32_t perspective_ = 15;
  std::int32_t rotation_ = 345;
  std::int32_t tilt_ = 0;
  std::int32_t vert_offset_ = 0;
  std::int32_t zoom_ = 100;
  bool zoom_text_ = true;
  TScrollNotify on_scrolled_;
  TZoomNotify on_zoomed_;
  TNotifyEvent repaint_;
};

// tan of the orthogonal angle (folded at 90 degrees) when the options are
// orthogonal, else 1; the axis panel sizes the 3D depth with it.
double CalcOrthoRatio(const TView3DOptions& options);

}  // namespace chart
