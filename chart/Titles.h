// The positioned shape that titles and the legend share, and the chart's
// titles: text blocks above (titles) or below (foot titles) the chart
// rectangle that take their room out of it.
//
// Tested by: chart/tests/WallsTitlesTest.cpp
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/KivPanel.h"

namespace chart {

class TKivCustomShapePosition : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomShapePosition(TCustomKivPanel* parent = nullptr) : TKivCustomShape(parent) {}
  bool CustomPosition() const { return FCustomPosition; }
  void SetCustomPosition(bool v);
  std::int32_t Left() const { return ShapeBounds().Left; }
  void SetLeft(std::int32_t v);
  std::int32_t Top() const { return ShapeBounds().Top; }
  void SetTop(std::int32_t v);
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool FCustomPosition = false;
};

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

class TChartTitle : public TKivCustomShapePosition {
  ORVEL_CLASS_INFO
 public:
  explicit TChartTitle(TCustomKivPanel* parent = nullptr, bool onTop = true);

  bool AdjustFrame() const { return FAdjustFrame; }
  void SetAdjustFrame(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  const std::vector<std::string>& Text() const { return FText; }
  void SetText(const std::vector<std::string>& lines);
  // The lines as one text (lines joined by line breaks).
  std::string Caption() const;
  void SetCaption(const std::string& text);
  bool OnTop() const { return FOnTop; }

  bool Clicked(std::int32_t x, std::int32_t y) const;
  // Draws the title; unless custom-positioned it takes its room out of the chart rectangle.
  void DrawTitle();
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::int32_t FrameWidth() const;
  bool FAdjustFrame = true;
  TAlignment FAlignment = taCenter;
  std::vector<std::string> FText;
  bool FOnTop;
};

class TChartFootTitle : public TChartTitle {
  ORVEL_CLASS_INFO
 public:
  explicit TChartFootTitle(TCustomKivPanel* parent = nullptr);
};

}  // namespace chart
