// The annotation tool: a framed text box at a corner of the chart or at a
// position of its own, with an optional callout arrow to a point.
//
// Tested by: chart/tests/AnnotationToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/Titles.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesPointer.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TAnnotationTool;

// The frame of an annotation.
class TKivShapePosition : public TKivCustomShapePosition {
  ORVEL_CLASS_INFO
 public:
  using TKivCustomShapePosition::TKivCustomShapePosition;
};

// The arrow from an annotation to a point given in pixels.
class TAnnotationCallout : public TCallout {
  ORVEL_CLASS_INFO
 public:
  explicit TAnnotationCallout(TChartSeries* series = nullptr);

  // properties
  std::int32_t XPosition() const { return FXPosition; }
  void SetXPosition(std::int32_t v) { StoreAndInvalidate(*this, FXPosition, v); }
  std::int32_t YPosition() const { return FYPosition; }
  void SetYPosition(std::int32_t v) { StoreAndInvalidate(*this, FYPosition, v); }
  std::int32_t ZPosition() const { return FZPosition; }
  void SetZPosition(std::int32_t v) { StoreAndInvalidate(*this, FZPosition, v); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::int32_t FXPosition = 0, FYPosition = 0, FZPosition = 0;
};

enum TAnnotationPosition : std::uint8_t { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom };

using TAnnotationClick = std::function<void(TAnnotationTool& sender, TMouseButton button, TShiftState shift,
                                            std::int32_t x, std::int32_t y)>;

class TAnnotationTool : public TKivCustomTool {
  ORVEL_CLASS_INFO
 public:
  explicit TAnnotationTool(classlib::TComponent* owner = nullptr);
  ~TAnnotationTool() override;

  // properties
  TAnnotationCallout* Callout() const { return FCallout.get(); }
  void SetCallout(const TAnnotationCallout& v) { FCallout->Assign(v); }
  // The cursor over the box (crDefault: none of its own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  TAnnotationPosition Position() const { return FPosition; }
  // Also ends a custom position of the shape.
  void SetPosition(TAnnotationPosition v);
  TKivShapePosition* Shape() const { return FShape.get(); }
  void SetShape(const TKivShapePosition& v) { FShape->Assign(v); }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& v) { StoreAndInvalidate(*this, FText, v); }
  TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TAlignment v) { StoreAndInvalidate(*this, FTextAlignment, v); }

  // events
  TAnnotationClick OnClick;

  // introduced virtual
  // The text the box shows.
  virtual std::string GetText() const { return FText; }

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Annotation"; }
  std::string EditorClassName() const override { return "TAnnotationToolEdit"; }
  void SetParentChart(TCustomAxisPanel* chart) override;

 private:
  void DrawText();
  void DrawCallout();

  std::unique_ptr<TAnnotationCallout> FCallout;
  TCursor FCursor = crDefault;
  TAnnotationPosition FPosition = ppLeftTop;
  std::unique_ptr<TKivShapePosition> FShape;
  std::string FText;
  TAlignment FTextAlignment = taLeftJustify;
};

}  // namespace chart
