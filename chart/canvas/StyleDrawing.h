// The drawing of the style objects that paint on their own: the shadow a box
// or an ellipse casts, and gradient fills of rectangles and four-sided faces.
// The styles hold data only; this is where they meet a drawing surface.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#pragma once

#include <cstdint>

#include "chart/canvas/KivCanvas.h"
#include "chart/core/KivStyles.h"

namespace chart {

// Fills the two strips a box casts, below and to the right of rect.
void DrawShadowRect(TCanvas3D& canvas, const TKivShadow& shadow, const TRect& rect);
// The ellipse of rect moved by the shadow's sizes, at depth z.
void DrawShadowEllipse(TCanvas3D& canvas, const TKivShadow& shadow, const TRect& rect, std::int32_t z);
// Fills rect (clipped to a rounded rectangle when cornerSize > 0).
void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TRect& rect,
                  std::int32_t cornerSize = 0);
// Fills the polygon of four points (projected at depth z when given).
void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TPoint (&points)[4]);
void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TPoint (&points)[4],
                  std::int32_t z);

}  // namespace chart
