// The projection of the drawing surface: points with a depth become screen
// points, in the oblique (orthogonal) mode or rotated by three angles with an
// optional perspective, and screen points go back to chart coordinates at a
// given depth.
//
// Part of the KivCanvas unit; include "chart/canvas/KivCanvas.h".
//
// Tested by: chart/tests/KivProjectionTest.cpp
#pragma once

#include <cstdint>

#include "chart/core/KivTypes.h"

namespace chart {

class TView3DOptions;

struct TProjection3D {
  // state
  bool Is3D = false;
  bool IsOrthogonal = false;
  double RotationCenterX = 0, RotationCenterY = 0, RotationCenterZ = 0;
  std::int32_t XCenter = 0, YCenter = 0, ZCenter = 0, XCenterOffset = 0, YCenterOffset = 0;
  long double sr = 0, cr = 0, se = 0, ce = 0, st = 0, ct = 0;
  double c0 = 0, c1 = 0, c2 = 0, c3 = 0, c4 = 0, c5 = 0, c6 = 0, c7 = 0;
  bool IsPerspective = false;
  double OrthoX = 1.0;  // +1 or -1: the side depth runs to
  double OrthoY = 1.0;  // pixels up per unit of depth
  double PerspectiveFactor = 0;
  double ZoomFactor = 1.0;
  bool ZoomText = true;
  const TView3DOptions* Options = nullptr;

  // operations
  // The projection part of binding the surface for a drawing pass.
  void InitWindow(const TView3DOptions* options, bool is3D);
  // Centres the projection on the chart rectangle with the given maximum depth.
  void Projection(std::int32_t maxDepth, const TRect& chartRect);
  TPoint Calculate3DPosition(std::int32_t x, std::int32_t y, std::int32_t z) const;
  // The inverse: a screen point to chart coordinates at depth z (perspective
  // is not undone). Nothing changes when the zoom factor is 0.
  void Calculate2DPosition(std::int32_t& x, std::int32_t& y, std::int32_t z) const;
};

}  // namespace chart
