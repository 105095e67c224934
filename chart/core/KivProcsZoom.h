// The zoom and panning settings of a chart panel: the state of a mouse drag
// and the zoom rectangle's pen, brush and rules. They hold data only; the
// panel draws them (chart/KivPanel.h).
//
// Tested by: chart/tests/KivProcsTest.cpp, chart/tests/KivPanelTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "chart/core/KivStyles.h"
#include "chart/core/KivTypes.h"
#include "platform/classlib/Persistent.h"

namespace chart {

// The state of one mouse drag.
class TZoomPanning : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  bool Active = false;
  std::int32_t X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;

  void Activate(std::int32_t x, std::int32_t y) {
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
  }
  // Orders the corners so that X0 <= X1 and Y0 <= Y1.
  void Check() {
    if (X0 > X1) std::swap(X0, X1);
    if (Y0 > Y1) std::swap(Y0, Y1);
  }
};

class TKivZoomPen : public TChartPen {
  ORVEL_CLASS_INFO
 public:
  explicit TKivZoomPen(TNotifyEvent onChange = {}) : TChartPen(std::move(onChange)) { InitColor(clWhite); }
};

class TKivZoomBrush : public TChartBrush {
  ORVEL_CLASS_INFO
 public:
  explicit TKivZoomBrush(TNotifyEvent onChange = {}) : TChartBrush(std::move(onChange)) {
    InitBrush(clWhite, bsClear);
  }
  TColor DefaultColor() const override { return clWhite; }
  TBrushStyle DefaultStyle() const override { return bsClear; }
};

enum TKivZoomDirection : std::uint8_t { tzdHorizontal, tzdVertical, tzdBoth };

class TKivZoom : public TZoomPanning {
  ORVEL_CLASS_INFO
 public:
  TKivZoom();
  ~TKivZoom() override;

  // properties
  bool Allow() const { return FAllow; }
  void SetAllow(bool v) { FAllow = v; }
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool v) { FAnimated = v; }
  std::int32_t AnimatedSteps() const { return FAnimatedSteps; }
  void SetAnimatedSteps(std::int32_t v) { FAnimatedSteps = v; }
  // Created on first read; setting nullptr frees it.
  TKivZoomBrush* Brush() const;
  void SetBrush(TKivZoomBrush* v);
  bool HasBrush() const { return FBrush != nullptr; }
  TKivZoomDirection Direction() const { return FDirection; }
  void SetDirection(TKivZoomDirection v) { FDirection = v; }
  TShiftState KeyShift() const { return FKeyShift; }
  void SetKeyShift(TShiftState v) { FKeyShift = v; }
  std::int32_t MinimumPixels() const { return FMinimumPixels; }
  void SetMinimumPixels(std::int32_t v) { FMinimumPixels = v; }
  TMouseButton MouseButton() const { return FMouseButton; }
  void SetMouseButton(TMouseButton v) { FMouseButton = v; }
  TKivZoomPen* Pen() const;
  void SetPen(TKivZoomPen* v);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool FAllow = true;
  bool FAnimated = false;
  std::int32_t FAnimatedSteps = 8;
  mutable std::unique_ptr<TKivZoomBrush> FBrush;
  TKivZoomDirection FDirection = tzdBoth;
  TShiftState FKeyShift = 0;
  std::int32_t FMinimumPixels = 16;
  TMouseButton FMouseButton = mbLeft;
  mutable std::unique_ptr<TKivZoomPen> FPen;
};

}  // namespace chart
