// A panel that shows a horizontal slider: a coloured, bevelled block marking
// a window of width SliderSpan that starts at SliderPosition within
// SliderMin..SliderMax. The user drags the block, or clicks beside it to move
// it there; the panel's caption is drawn over it.
//
// A click lands where the scale is painted (SliderMin at the left edge). A
// range of 0, or a panel without width, shows the bare panel and ignores the
// mouse.
//
// Tested by: analysis_ui/tests/MtxPositionPanelTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QWidget>

#include "chart/core/KivTypes.h"

namespace analysis_ui {

class TMtxPositionPanel : public QWidget {
 public:
  explicit TMtxPositionPanel(QWidget* parent = nullptr);

  // properties
  // While set, the mouse does nothing.
  bool CancelMouse() const { return FCancelMouse; }
  void SetCancelMouse(bool value) { FCancelMouse = value; }
  // Kept within 0 .. SliderMax - SliderPosition.
  double SliderSpan() const { return FSliderSpan; }
  void SetSliderSpan(double value);
  // The narrowest block drawn, in pixels.
  std::int32_t SliderSpanMin() const { return FSliderSpanMin; }
  void SetSliderSpanMin(std::int32_t value);
  // Kept within SliderMin .. SliderMax; every setting calls OnChangePosition.
  double SliderPosition() const { return FSliderPosition; }
  void SetSliderPosition(double value);
  // Not below 0; SliderMin follows it down.
  double SliderMax() const { return FSliderMax; }
  void SetSliderMax(double value);
  // SliderMax follows it up.
  double SliderMin() const { return FSliderMin; }
  void SetSliderMin(double value);
  // SliderMax := SliderMin + value.
  double SliderRange() const { return FSliderRange; }
  void SetSliderRange(double value);
  chart::TColor SliderColor() const { return FSliderColor; }
  void SetSliderColor(chart::TColor value);
  chart::TBevelCut SliderBevelInner() const { return FSliderBevelInner; }
  void SetSliderBevelInner(chart::TBevelCut value);
  chart::TBevelCut SliderBevelOuter() const { return FSliderBevelOuter; }
  void SetSliderBevelOuter(chart::TBevelCut value);
  std::int32_t SliderBevelWidth() const { return FSliderBevelWidth; }
  void SetSliderBevelWidth(std::int32_t value);
  // The panel's own look: caption (UTF-8), its alignment, bevels and colour
  // (clDefault: the palette's button colour).
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment value);
  chart::TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(chart::TBevelCut value);
  chart::TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(chart::TBevelCut value);
  std::int32_t BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(std::int32_t value);
  chart::TColor Color() const { return FColor; }
  void SetColor(chart::TColor value);

  // events
  // SliderPosition was set.
  std::function<void(TMtxPositionPanel& sender)> OnChangePosition;
  // A mouse button was released.
  std::function<void(TMtxPositionPanel& sender)> OnSetPosition;

  // operations
  // The block's left and right edge in pixels as it is painted; nothing
  // when the panel shows no block.
  std::optional<std::pair<std::int32_t, std::int32_t>> SliderPixels() const;
  // The value under the pixel column x; nothing when the panel has no range or width.
  std::optional<double> ValueAt(int x) const;

  // overrides
  QSize sizeHint() const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Position and span back inside the range.
  void ClampPositionAndSpan();

  bool FCancelMouse = false;
  double FSliderSpan = 100;
  std::int32_t FSliderSpanMin = 0;
  double FSliderPosition = 0;
  double FSliderMax = 100;
  double FSliderMin = 0;
  double FSliderRange = 100;
  chart::TColor FSliderColor = chart::clNavy;
  chart::TBevelCut FSliderBevelInner = chart::bvNone;
  chart::TBevelCut FSliderBevelOuter = chart::bvRaised;
  std::int32_t FSliderBevelWidth = 1;
  std::string FCaption;
  Qt::Alignment FAlignment = Qt::AlignHCenter;
  chart::TBevelCut FBevelInner = chart::bvNone;
  chart::TBevelCut FBevelOuter = chart::bvLowered;
  std::int32_t FBevelWidth = 1;
  chart::TColor FColor = chart::clDefault;
  // The value pressed and the position when a drag began.
  std::optional<double> FDragOffset;
  double FDragStart = 0;
};

}  // namespace analysis_ui
