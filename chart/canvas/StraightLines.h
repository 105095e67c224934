// Lines along one row or one column of a picture, and rectangles, written
// into its pixels as the painter's one-pixel pen and plain brush paint them,
// for the surfaces that draw many of them (grids, dense series, candles).
//
// Part of the KivCanvas unit.
//
// Tested by: chart/tests/KivCanvasStateTest.cpp
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "chart/core/KivTypes.h"

namespace chart {

class TStraightLines {
 public:
  // A writer for the painter's pen, or nothing when the painter does more
  // than copy one opaque colour into image through a plain rectangle: then
  // the painter draws every line itself.
  static std::optional<TStraightLines> For(const QPainter& p, const QImage* image);
  // Takes brush as the painter's brush: rectangles are filled with it.
  void SetBrush(const QBrush& brush);

  // Writes the line from `from` to `to` and returns true, or returns false,
  // writing nothing, for a line the painter must draw: one that is not
  // upright or flat, has no length, or leaves the picture (the painter cuts
  // such a line at the picture's edge, which moves its dashes).
  bool Draw(TPoint from, TPoint to) const;
  // Fills and outlines r as the painter's drawRect does and returns true, or
  // returns false, writing nothing, for a rectangle the painter must draw.
  bool Rectangle(const QRect& r) const;

 private:
  TStraightLines() = default;
  // The pixels of a line inside the picture, cut to the clip.
  void Write(TPoint from, TPoint to) const;

  uchar* FBits = nullptr;
  qsizetype FBytesPerLine = 0;
  QRect FPicture;
  QRect FClip;
  QRgb FColor = 0;
  bool FPen = true;
  bool FOpaque = false;
  // The brush's colour; nothing for no brush, and FFills false for a brush
  // the writer cannot paint (a pattern, a picture, a see-through colour).
  std::optional<QRgb> FFill;
  bool FFills = true;
  // Whether each pixel of one turn of the dashes is lit; empty for a solid pen.
  std::vector<std::uint8_t> FLit;
};

}  // namespace chart
