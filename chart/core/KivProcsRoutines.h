// The engine's shared routines that need no drawing backend: the default
// palette, number texts, geometry hit tests, list and component helpers and
// the panel's margin geometry.
//
// Tested by: chart/tests/KivProcsTest.cpp
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "chart/core/KivTypes.h"
#include "platform/classlib/Component.h"
#include "platform/classlib/SysUtils.h"

namespace chart {

// ---------------------------------------------------------------------------
// Palette

constexpr int MaxDefaultColors = 20;
// The default palette: colour i of new series and points is entry i mod 20.
TColor GetDefaultColor(int index);

// ---------------------------------------------------------------------------
// Numbers and text

std::string IntToText(std::int64_t value);
// The number in text (with the process-wide decimal separator), or defaultValue
// when the text is not one.
double TextToFloatDef(const std::string& text, double defaultValue);
// Every ',' becomes the thousand separator (dropped when there is none) and
// every '.' the decimal separator, in one pass.
std::string ToLocaleSeparators(const std::string& text);
std::string ToLocaleSeparators(const std::string& text, const classlib::TFormatSettings& settings);
// The reverse: the decimal separator becomes '.', the thousand separator ','.
std::string FromLocaleSeparators(const std::string& text);
std::string FromLocaleSeparators(const std::string& text, const classlib::TFormatSettings& settings);
// Every occurrence of c replaced by a blank (asBlank) or deleted.
std::string ReplaceCharInText(const std::string& text, char c, bool asBlank);

// The parts of a text broken by carriage returns (#13), as multi-line titles,
// labels and gallery names are written: an empty text has none, a break at
// the very end starts no further part, and a line feed beside a carriage
// return belongs to the break.
std::vector<std::string> SplitTokens(const std::string& text);
int KivNumTokens(const std::string& text);
// Part index (from 0); empty outside the parts.
std::string KivExtractToken(const std::string& text, int index);

// ---------------------------------------------------------------------------
// Platform

// The platform-family flag the editors read before offering pen styles and
// end styles that older platforms lacked: every platform this engine runs on
// has them.
inline constexpr bool IsWindowsNT = true;

// ---------------------------------------------------------------------------
// Geometry

bool PointInLineTolerance(const TPoint& p, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                          std::int32_t y1, std::int32_t tolerance);
bool PointInLine(const TPoint& p, const TPoint& a, const TPoint& b, std::int32_t tolerance = 0);
bool PointInPolygon(const TPoint& p, std::span<const TPoint> polygon);
// The triangle (x0, y1), ((x0 + x1) / 2, y0), (x1, y1).
bool PointInTriangle(const TPoint& p, std::int32_t x0, std::int32_t x1, std::int32_t y0,
                     std::int32_t y1);
// The triangle (x1, y0), (x0, (y0 + y1) / 2), (x1, y1).
bool PointInHorizTriangle(const TPoint& p, std::int32_t y0, std::int32_t y1, std::int32_t x0,
                          std::int32_t x1);
bool PointInEllipse(const TPoint& p, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom);
inline bool PointInEllipse(const TPoint& p, const TRect& r) {
  return PointInEllipse(p, r.Left, r.Top, r.Right, r.Bottom);
}
// Left and top inclusive, right and bottom exclusive.
inline bool PointInRect(const TRect& r, std::int32_t x, std::int32_t y) {
  return x >= r.Left && y >= r.Top && x < r.Right && y < r.Bottom;
}
inline void RectSize(const TRect& r, std::int32_t& width, std::int32_t& height) {
  width = r.Width();
  height = r.Height();
}
TPoint RectCenter(const TRect& r);
TRect OrderRect(const TRect& r);
// True when the turn p0 -> p1 -> p2 has a negative cross product.
bool CrossProductSign(const TPoint& p0, const TPoint& p1, const TPoint& p2);
double DistanceOf(double dx, double dy);
// The point moved back from end towards start by distance.
TPoint PointAtDistance(const TPoint& start, const TPoint& end, double distance);

// ---------------------------------------------------------------------------
// Lists and components

template <class T>
int AddUniqueToList(std::vector<T>& list, const T& item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) return static_cast<int>(it - list.begin());
  list.push_back(item);
  return static_cast<int>(list.size()) - 1;
}

// A quicksort over indexes low..high driven by the two callbacks.
void SortIndexes(int low, int high, const std::function<int(int a, int b)>& compare,
                 const std::function<void(int a, int b)>& swap);

// base followed by the lowest number from 1 that no component of owner is named with.
std::string UniqueComponentName(const classlib::TComponent* owner, const std::string& base);

// ---------------------------------------------------------------------------
// Panel geometry

enum TKivUnits : std::uint8_t { muPercent, muPixels };

// A margin in pixels: itself for muPixels, else margin percent of size.
std::int32_t MarginToPixels(std::int32_t margin, TKivUnits units, std::int32_t size);

struct TChartRectResult {
  TRect ChartRect;
  std::int32_t ChartWidth = 0, ChartHeight = 0, ChartXCenter = 0, ChartYCenter = 0;
};

// The chart rectangle inside bounds: the frame width inset, then the margins
// (left, top, right, bottom); a collapsed rectangle is widened to the panel size.
TChartRectResult CalcChartRect(const TRect& bounds, std::int32_t inset, const std::int32_t (&margins)[4],
                               TKivUnits units, std::int32_t panelWidth, std::int32_t panelHeight);

}  // namespace chart
