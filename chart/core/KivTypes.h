// The small platform vocabulary the chart engine draws with: colours as
// 32-bit values in blue-green-red order with their special markers, points and
// rectangles in 32-bit pixels, the style enumerations of pens, brushes and
// fonts, and the rounding rule of the engine.
//
// Tested by: chart/tests/KivTypesTest.cpp
#pragma once

#include <cstdint>

namespace chart {

// A colour: 0x00BBGGRR for plain colours (red in the low byte), or one of the
// markers below. Colour arithmetic (darkening, XOR drawing) works on this order.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// "No colour": nothing is painted in it.
constexpr TColor clNone = 0x1FFFFFFF;
// The automatic marker: the owner of a pen or brush replaces it with its own colour.
constexpr TColor clDefault = 0x20000000;

// System colours: 0x80000000 plus the index of a colour of the desktop theme.
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr int SystemColorCount = 25;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == clSystemColor; }
constexpr int SystemColorIndex(TColor c) { return static_cast<int>(c & 0xFFu); }

constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The RGB value of a colour: system colours through the given theme table
// (SystemColorCount entries, plain colours), markers unchanged.
TColor ColorToRGB(TColor c, const TColor* systemColors);
// The classic desktop theme, used where no window system supplies one.
const TColor* DefaultSystemColors();

// Each RGB channel reduced by amount, held at 0 (the colour is resolved first).
TColor ApplyDark(TColor c, int amount);
// Each RGB channel increased by amount, held at 255.
TColor ApplyBright(TColor c, int amount);

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  std::int32_t Width() const { return Right - Left; }
  std::int32_t Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

// The four corners a 3D face is drawn from.
using TFourPoints = TPoint[4];

// Rounding of the engine: to the nearest integer, halves to even. Values
// outside the 32-bit range (and NaN, which maps to 0) are clamped, so that a
// runaway computation gives an off-screen pixel instead of undefined behaviour.
std::int32_t Round(double v);
// Toward zero, clamped the same way.
std::int32_t Trunc(double v);
// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : std::uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TPenEndStyle : std::uint8_t { esRound, esSquare, esFlat };
enum TBrushStyle : std::uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = std::uint8_t;  // bit set over TFontStyle
constexpr TFontStyles FontStyleBit(TFontStyle s) { return static_cast<TFontStyles>(1u << s); }

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = std::uint8_t;  // bit set over TShiftStateFlag
using TCursor = std::int16_t;
// The cursors the engine sets, by the window system's numbers; crKivHand is the
// engine's own hand cursor.
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crKivHand = 2020;

// Text alignment flags and background modes of the drawing surface.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

}  // namespace chart
