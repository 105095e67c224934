// Data, setters and property tables of the style objects and the 3D view options.
//
// Tested by: chart/tests/KivStylesTest.cpp
#include "chart/core/KivStyles.h"

#include <algorithm>
#include <cmath>

#include "chart/core/KivConst.h"
#include "chart/core/StoreAndInvalidate.h"
#include "platform/classlib/SysUtils.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;
using classlib::TPersistent;

namespace {

const std::vector<std::string> PenStyleNames = {"psSolid", "psDash", "psDot", "psDashDot",
                                                "psDashDotDot", "psClear", "psInsideFrame"};
const std::vector<std::string> PenModeNames = {
    "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
    "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
    "pmNotMask", "pmXor", "pmNotXor"};
const std::vector<std::string> BrushStyleNames = {"bsSolid", "bsClear", "bsHorizontal",
                                                  "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                                  "bsCross", "bsDiagCross"};
const std::vector<std::string> FontStyleNames = {"fsBold", "fsItalic", "fsUnderline",
                                                 "fsStrikeOut"};
const std::vector<std::string> GradientDirectionNames = {
    "gdTopBottom", "gdBottomTop", "gdLeftRight", "gdRightLeft", "gdFromCenter",
    "gdFromTopLeft", "gdFromBottomLeft", "gdRadial"};
const std::vector<std::string> EndStyleNames = {"esRound", "esSquare", "esFlat"};

template <class V, class F>
void StoreIfChanged(V& field, V value, F&& changed) {
  if (field == value) return;
  field = value;
  changed();
}

}  // namespace

// --- TPicture ---------------------------------------------------------------

const TClassInfo& TPicture::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPicture>("TPicture", TPersistent::StaticClassInfo()).Creatable().Build();
  return info;
}

void TPicture::SetGraphic(std::shared_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FOnChange) FOnChange();
}

void TPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    SetGraphic(p->FGraphic);
    return;
  }
  TPersistent::Assign(source);
}

// --- TPen -------------------------------------------------------------------

const TClassInfo& TPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TPen>("TPen", TPersistent::StaticClassInfo())
          .Property("Color", &TPen::Color, &TPen::SetColor)
          .TypeName("TColor")
          .InstanceDefault(&TPen::DefaultColor)
          .Property("Mode", &TPen::Mode, &TPen::SetMode, pmCopy)
          .TypeName("TPenMode")
          .Names(PenModeNames)
          .Property("Style", &TPen::Style, &TPen::SetStyle)
          .TypeName("TPenStyle")
          .Names(PenStyleNames)
          .InstanceDefault(&TPen::DefaultStyle)
          .Property("Width", &TPen::Width, &TPen::SetWidth)
          .InstanceDefault(&TPen::DefaultWidth)
          .Creatable()
          .Build();
  return info;
}

void TPen::SetColor(TColor v) { StoreIfChanged(FColor, v, [this] { Changed(); }); }
void TPen::SetWidth(std::int32_t v) { StoreIfChanged(FWidth, v, [this] { Changed(); }); }
void TPen::SetStyle(TPenStyle v) { StoreIfChanged(FStyle, v, [this] { Changed(); }); }
void TPen::SetMode(TPenMode v) { StoreIfChanged(FMode, v, [this] { Changed(); }); }

void TPen::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPen*>(&source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- TBrush -----------------------------------------------------------------

const TClassInfo& TBrush::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TBrush>("TBrush", TPersistent::StaticClassInfo())
          .Property("Color", &TBrush::Color, &TBrush::SetColor)
          .TypeName("TColor")
          .InstanceDefault(&TBrush::DefaultColor)
          .Property("Style", &TBrush::Style, &TBrush::SetStyle)
          .TypeName("TBrushStyle")
          .Names(BrushStyleNames)
          .InstanceDefault(&TBrush::DefaultStyle)
          .Creatable()
          .Build();
  return info;
}

void TBrush::SetColor(TColor v) { StoreIfChanged(FColor, v, [this] { Changed(); }); }
void TBrush::SetStyle(TBrushStyle v) { StoreIfChanged(FStyle, v, [this] { Changed(); }); }
void TBrush::SetBitmap(const TGraphic* v) { StoreIfChanged(FBitmap, v, [this] { Changed(); }); }

void TBrush::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TBrush*>(&source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- TFont ------------------------------------------------------------------

const TClassInfo& TFont::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TFont>("TFont", TPersistent::StaticClassInfo())
          .Property("Charset", &TFont::Charset, &TFont::SetCharset, 1)
          .TypeName("TFontCharset")
          .Property("Color", &TFont::Color, &TFont::SetColor)
          .TypeName("TColor")
          .InstanceDefault(&TFont::DefaultColor)
          .Property("Height", &TFont::Height, &TFont::SetHeight)
          .InstanceDefault(&TFont::DefaultHeight)
          .Property("Name", &TFont::Name, &TFont::SetName)
          .TypeName("TFontName")
          .InstanceDefault(&TFont::DefaultName)
          .Property("Size", &TFont::Size, &TFont::SetSize)
          .Stored([](const TFont&) { return false; })
          .Property("Style", &TFont::Style, &TFont::SetStyle)
          .TypeName("TFontStyles")
          .AsSet(FontStyleNames)
          .InstanceDefault(&TFont::DefaultStyle)
          .Creatable()
          .Build();
  return info;
}

void TFont::SetName(const std::string& v) {
  if (FName == v) return;
  FName = v;
  Changed();
}
void TFont::SetSize(std::int32_t v) { StoreIfChanged(FSize, v, [this] { Changed(); }); }
std::int32_t TFont::Height() const { return -MulDiv(FSize, FPixelsPerInch, 72); }
void TFont::SetHeight(std::int32_t v) { SetSize(-MulDiv(v, 72, FPixelsPerInch)); }
void TFont::SetColor(TColor v) { StoreIfChanged(FColor, v, [this] { Changed(); }); }
void TFont::SetStyle(TFontStyles v) { StoreIfChanged(FStyle, v, [this] { Changed(); }); }
void TFont::SetCharset(std::uint8_t v) { StoreIfChanged(FCharset, v, [this] { Changed(); }); }

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    FName = f->FName;
    FSize = f->FSize;
    FColor = f->FColor;
    FStyle = f->FStyle;
    FCharset = f->FCharset;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- chart pens -------------------------------------------------------------

const TClassInfo& TChartPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartPen>("TChartPen", TPen::StaticClassInfo())
          .Property("EndStyle", &TChartPen::EndStyle, &TChartPen::SetEndStyle)
          .TypeName("TPenEndStyle")
          .Names(EndStyleNames)
          .InstanceDefault(&TChartPen::DefaultEndStyle)
          .Property("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots, false)
          .Property("Visible", &TChartPen::Visible, &TChartPen::SetVisible)
          .InstanceDefault(&TChartPen::DefaultVisible)
          .Creatable()
          .Build();
  return info;
}

void TChartPen::SetEndStyle(TPenEndStyle v) { StoreIfChanged(FEndStyle, v, [this] { Changed(); }); }
void TChartPen::SetSmallDots(bool v) { StoreIfChanged(FSmallDots, v, [this] { Changed(); }); }
void TChartPen::SetVisible(bool v) { StoreIfChanged(FVisible, v, [this] { Changed(); }); }

void TChartPen::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TChartPen*>(&source)) {
    FEndStyle = p->FEndStyle;
    FSmallDots = p->FSmallDots;
    FVisible = p->FVisible;
  }
  TPen::Assign(source);
}

#define ORVEL_PEN_KIND(Kind)                                                              \
  const TClassInfo& Kind::StaticClassInfo() {                                             \
    static const TClassInfo info =                                                        \
        TClassBuilder<Kind>(#Kind, TChartPen::StaticClassInfo()).Creatable().Build();     \
    return info;                                                                          \
  }
ORVEL_PEN_KIND(TChartHiddenPen)
ORVEL_PEN_KIND(TDottedGrayPen)
ORVEL_PEN_KIND(TDarkGrayPen)
ORVEL_PEN_KIND(TChartAxisPen)
ORVEL_PEN_KIND(TWhitePen)
#undef ORVEL_PEN_KIND

TDottedGrayPen::TDottedGrayPen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) {
  InitPen(clGray, 1, psDot);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) {
  InitColor(clGray);
}

TChartAxisPen::TChartAxisPen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) {
  InitPen(clBlack, 2, psSolid);
}

TWhitePen::TWhitePen(TNotifyEvent onChange) : TChartPen(std::move(onChange)) { InitColor(clWhite); }

// --- TChartBrush ------------------------------------------------------------

const TClassInfo& TChartBrush::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartBrush>("TChartBrush", TBrush::StaticClassInfo())
          .SubObject("Image", &TChartBrush::Image)
          .TypeName("TPicture")
          .Stored([](const TChartBrush& b) { return b.HasImage(); })
          .Creatable()
          .Build();
  return info;
}

TChartBrush::TChartBrush(TNotifyEvent onChange) : TBrush(std::move(onChange)) {
  // The owner replaces the automatic colour with its own until one is chosen.
  InitBrush(clDefault, bsSolid);
}

TChartBrush::~TChartBrush() = default;

TPicture* TChartBrush::Image() const {
  if (!FImage) FImage = std::make_unique<TPicture>([this] { Changed(); });
  return FImage.get();
}

void TChartBrush::SetImage(TPicture* v) {
  if (v == nullptr) {
    FImage.reset();
    Changed();
    return;
  }
  Image()->Assign(*v);
}

void TChartBrush::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TChartBrush*>(&source)) {
    if (b->FImage)
      Image()->Assign(*b->FImage);
    else
      FImage.reset();
  }
  TBrush::Assign(source);
}

// --- TKivShadow -------------------------------------------------------------

const TClassInfo& TKivShadow::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivShadow>("TKivShadow", TPersistent::StaticClassInfo())
          .Property("Color", &TKivShadow::Color, &TKivShadow::SetColor)
          .TypeName("TColor")
          .InstanceDefault(&TKivShadow::DefaultColor)
          .Property("HorizSize", &TKivShadow::HorizSize, &TKivShadow::SetHorizSize)
          .InstanceDefault(&TKivShadow::DefaultSize)
          .Property("Transparency", &TKivShadow::Transparency, &TKivShadow::SetTransparency, 0)
          .TypeName("TKivTransparency")
          .Property("VertSize", &TKivShadow::VertSize, &TKivShadow::SetVertSize)
          .InstanceDefault(&TKivShadow::DefaultSize)
          .Creatable()
          .Build();
  return info;
}

void TKivShadow::SetColor(TColor v) { StoreIfChanged(FColor, v, [this] { Changed(); }); }
void TKivShadow::SetHorizSize(std::int32_t v) { StoreIfChanged(FHorizSize, v, [this] { Changed(); }); }
void TKivShadow::SetVertSize(std::int32_t v) { StoreIfChanged(FVertSize, v, [this] { Changed(); }); }
void TKivShadow::SetTransparency(TKivTransparency v) {
  StoreIfChanged(FTransparency, v, [this] { Changed(); });
}
void TKivShadow::SetSize(std::int32_t v) {
  if (FHorizSize == v && FVertSize == v) return;
  FHorizSize = FVertSize = v;
  Changed();
}

void TKivShadow::InitDefaults(TColor color, std::int32_t size) {
  FColor = FDefaultColor = color;
  FHorizSize = FVertSize = FDefaultSize = size;
}

void TKivShadow::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TKivShadow*>(&source)) {
    FColor = s->FColor;
    FHorizSize = s->FHorizSize;
    FVertSize = s->FVertSize;
    FTransparency = s->FTransparency;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- gradients --------------------------------------------------------------

const TClassInfo& TCustomKivGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomKivGradient>("TCustomKivGradient", TPersistent::StaticClassInfo())
          .Build();
  return info;
}

const TClassInfo& TKivGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivGradient>("TKivGradient", TCustomKivGradient::StaticClassInfo())
          .Property("Balance", &TKivGradient::Balance, &TKivGradient::SetBalance, 50)
          .Property("Direction", &TKivGradient::Direction, &TKivGradient::SetDirection, gdTopBottom)
          .TypeName("TGradientDirection")
          .Names(GradientDirectionNames)
          .Property("EndColor", &TKivGradient::EndColor, &TKivGradient::SetEndColor, clYellow)
          .TypeName("TColor")
          .Property("MidColor", &TKivGradient::MidColor, &TKivGradient::SetMidColor, clNone)
          .TypeName("TColor")
          .Property("RadialX", &TKivGradient::RadialX, &TKivGradient::SetRadialX, 0)
          .Property("RadialY", &TKivGradient::RadialY, &TKivGradient::SetRadialY, 0)
          .Property("StartColor", &TKivGradient::StartColor, &TKivGradient::SetStartColor, clWhite)
          .TypeName("TColor")
          .Property("Visible", &TKivGradient::Visible, &TKivGradient::SetVisible, false)
          .Creatable()
          .Build();
  return info;
}

const TClassInfo& TKivFontGradient::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivFontGradient>("TKivFontGradient", TKivGradient::StaticClassInfo())
          .Property("Outline", &TKivFontGradient::Outline, &TKivFontGradient::SetOutline, false)
          .Creatable()
          .Build();
  return info;
}

void TCustomKivGradient::Changed() {
  // A change handler that sets a property again must not re-enter itself.
  if (FChanging || !FOnChange) return;
  FChanging = true;
  try {
    FOnChange();
  } catch (...) {
    FChanging = false;
    throw;
  }
  FChanging = false;
}

void TCustomKivGradient::SetBalance(std::int32_t v) { StoreIfChanged(FBalance, v, [this] { Changed(); }); }
void TCustomKivGradient::SetDirection(TGradientDirection v) {
  StoreIfChanged(FDirection, v, [this] { Changed(); });
}
void TCustomKivGradient::SetEndColor(TColor v) { StoreIfChanged(FEndColor, v, [this] { Changed(); }); }
void TCustomKivGradient::SetStartColor(TColor v) {
  StoreIfChanged(FStartColor, v, [this] { Changed(); });
}
void TCustomKivGradient::SetRadialX(std::int32_t v) { StoreIfChanged(FRadialX, v, [this] { Changed(); }); }
void TCustomKivGradient::SetRadialY(std::int32_t v) { StoreIfChanged(FRadialY, v, [this] { Changed(); }); }
void TCustomKivGradient::SetVisible(bool v) { StoreIfChanged(FVisible, v, [this] { Changed(); }); }

void TCustomKivGradient::SetMidColor(TColor v) {
  if (v == clNone) {
    if (!FHasMidColor) return;
    FHasMidColor = false;
    Changed();
    return;
  }
  if (FHasMidColor && FMidColor == v) return;
  FHasMidColor = true;
  FMidColor = v;
  Changed();
}

void TCustomKivGradient::UseMiddleColor() {
  if (FHasMidColor) return;
  if (FMidColor == clNone) FMidColor = GradientBandColor(FStartColor, FEndColor, 1, 2, 50);
  FHasMidColor = true;
  Changed();
}

void TCustomKivGradient::Assign(const TPersistent& source) {
  if (auto* g = dynamic_cast<const TCustomKivGradient*>(&source)) {
    FBalance = g->FBalance;
    FDirection = g->FDirection;
    FEndColor = g->FEndColor;
    FMidColor = g->FMidColor;
    FHasMidColor = g->FHasMidColor;
    FRadialX = g->FRadialX;
    FRadialY = g->FRadialY;
    FStartColor = g->FStartColor;
    FVisible = g->FVisible;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TKivFontGradient::SetOutline(bool v) { StoreIfChanged(FOutline, v, [this] { Changed(); }); }

void TKivFontGradient::Assign(const TPersistent& source) {
  if (auto* g = dynamic_cast<const TKivFontGradient*>(&source)) FOutline = g->FOutline;
  TKivGradient::Assign(source);
}

namespace {

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TColor MixChannels(TColor start, TColor end, const auto& mix) {
  int out[3];
  for (int k = 0; k < 3; ++k) {
    const int s = Channel(start, 8 * k), e = Channel(end, 8 * k);
    out[k] = std::clamp(mix(s, e), 0, 255);
  }
  return RGB(out[0], out[1], out[2]);
}

}  // namespace

TColor GradientBandColor(TColor start, TColor end, int i, int d, int balance) {
  if (balance == 50) {
    if (d <= 0) return start;
    return MixChannels(start, end, [&](int s, int e) { return s + (e - s) * i / d; });
  }
  const double t = std::pow((1.0 + i) / (1.0 + d), 0.5 + 0.015 * balance);
  return MixChannels(start, end, [&](int s, int e) { return s + Round((e - s) * t); });
}

TColor RadialRingColor(TColor start, TColor end, int k, int n, int bigN, int balance) {
  if (balance == 50) {
    if (bigN <= 0) return start;
    return MixChannels(start, end,
                       [&](int s, int e) { return s + Round(k * static_cast<double>(e - s) / bigN); });
  }
  const double t = std::pow((1.0 + k) / (1.0 + n), 0.5 + 0.015 * balance);
  return MixChannels(start, end, [&](int s, int e) { return s + Round((e - s) * t); });
}

TColor MonochromeGrey(TColor c) {
  c = ColorToRGB(c, nullptr);
  const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
  return RGB(g, g, g);
}

// --- TKivFont ---------------------------------------------------------------

const std::string& KivDefaultFontName() { return KivMsg(msgDefaultFontName); }

std::int32_t KivDefaultFontSize() {
  // A translated table could hold anything here; a text that is no positive
  // number keeps the engine's own size.
  const std::int32_t size = classlib::StrToIntDef(KivMsg(msgDefaultFontSize), 8);
  return size > 0 ? size : 8;
}

const TClassInfo& TKivFont::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivFont>("TKivFont", TFont::StaticClassInfo())
          .SubObject("Gradient", &TKivFont::Gradient)
          .TypeName("TKivFontGradient")
          .Stored([](const TKivFont& f) { return f.HasGradient(); })
          .Property("InterCharSize", &TKivFont::InterCharSize, &TKivFont::SetInterCharSize, 0)
          .SubObject("OutLine", &TKivFont::OutLine)
          .TypeName("TChartHiddenPen")
          .Stored([](const TKivFont& f) { return f.HasOutLine(); })
          .SubObject("Shadow", &TKivFont::Shadow)
          .TypeName("TKivShadow")
          .Stored([](const TKivFont& f) { return f.HasShadow(); })
          .Creatable()
          .Build();
  return info;
}

TKivFont::TKivFont(TNotifyEvent onChange) : TFont(std::move(onChange)) {
  InitFont(KivDefaultFontName(), KivDefaultFontSize(), clBlack);
  FDefaultStyle = Style();
}

TKivFont::~TKivFont() = default;

void TKivFont::InitDefaults(TColor color, TFontStyles style) {
  FDefaultColor = color;
  FDefaultStyle = style;
  SetColor(color);
  SetStyle(style);
}

void TKivFont::OwnedChanged() const { Changed(); }

TKivFontGradient* TKivFont::Gradient() const {
  if (!FGradient) FGradient = std::make_unique<TKivFontGradient>([this] { OwnedChanged(); });
  return FGradient.get();
}

void TKivFont::SetGradient(TKivFontGradient* v) {
  if (v == nullptr) {
    FGradient.reset();
    return;
  }
  Gradient()->Assign(*v);
}

void TKivFont::SetInterCharSize(std::int32_t v) {
  StoreIfChanged(FInterCharSize, v, [this] { Changed(); });
}

TChartHiddenPen* TKivFont::OutLine() const {
  if (!FOutline) FOutline = std::make_unique<TChartHiddenPen>([this] { OwnedChanged(); });
  return FOutline.get();
}

void TKivFont::SetOutLine(TChartHiddenPen* v) {
  if (v == nullptr) {
    FOutline.reset();
    return;
  }
  OutLine()->Assign(*v);
}

TKivShadow* TKivFont::Shadow() const {
  if (!FShadow) FShadow = std::make_unique<TKivShadow>([this] { OwnedChanged(); });
  return FShadow.get();
}

void TKivFont::SetShadow(TKivShadow* v) {
  if (v == nullptr) {
    FShadow.reset();
    return;
  }
  Shadow()->Assign(*v);
}

void TKivFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TKivFont*>(&source)) {
    SetGradient(f->FGradient.get());
    FInterCharSize = f->FInterCharSize;
    SetOutLine(f->FOutline.get());
    SetShadow(f->FShadow.get());
  }
  TFont::Assign(source);
}

// --- TView3DOptions ---------------------------------------------------------

const TClassInfo& TView3DOptions::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TView3DOptions>("TView3DOptions", TPersistent::StaticClassInfo())
          .Property("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation, 345)
          .Property("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset, 0)
          .Property("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal, true)
          .Property("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle, 45)
          .Property("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective, 15)
          .Property("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation, 345)
          .Property("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt, 0)
          .Property("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset, 0)
          .Property("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom, 100)
          .Property("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText, true)
          .Creatable()
          .Build();
  return info;
}

void TView3DOptions::SetElevation(std::int32_t v) { StoreAndInvalidate(*this, FElevation, v); }
void TView3DOptions::SetOrthogonal(bool v) { StoreAndInvalidate(*this, FOrthogonal, v); }
void TView3DOptions::SetOrthoAngle(std::int32_t v) { StoreAndInvalidate(*this, FOrthoAngle, v); }
void TView3DOptions::SetPerspective(std::int32_t v) { StoreAndInvalidate(*this, FPerspective, v); }
void TView3DOptions::SetRotation(std::int32_t v) { StoreAndInvalidate(*this, FRotation, v); }
void TView3DOptions::SetTilt(std::int32_t v) { StoreAndInvalidate(*this, FTilt, v); }
void TView3DOptions::SetZoomText(bool v) { StoreAndInvalidate(*this, FZoomText, v); }

void TView3DOptions::SetHorizOffset(std::int32_t v) {
  if (FHorizOffset == v) return;
  FHorizOffset = v;
  Invalidate();
  if (FOnScrolled) FOnScrolled(*this, true);
}

void TView3DOptions::SetVertOffset(std::int32_t v) {
  if (FVertOffset == v) return;
  FVertOffset = v;
  Invalidate();
  if (FOnScrolled) FOnScrolled(*this, false);
}

void TView3DOptions::SetZoom(std::int32_t v) {
  if (FZoom == v) return;
  if (FOnZoomed) FOnZoomed(*this, v);
  FZoom = v;
  Invalidate();
}

void TView3DOptions::Assign(const TPersistent& source) {
  if (auto* o = dynamic_cast<const TView3DOptions*>(&source)) {
    SetElevation(o->FElevation);
    SetHorizOffset(o->FHorizOffset);
    SetOrthogonal(o->FOrthogonal);
    SetOrthoAngle(o->FOrthoAngle);
    SetPerspective(o->FPerspective);
    SetRotation(o->FRotation);
    SetTilt(o->FTilt);
    SetVertOffset(o->FVertOffset);
    SetZoom(o->FZoom);
    SetZoomText(o->FZoomText);
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace chart
