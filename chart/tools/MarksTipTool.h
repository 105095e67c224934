// The marks tip tool: the mark text of the series point under the mouse shown
// as the chart's hint, while the mouse moves or when the user clicks. It draws
// nothing itself: it sets the chart's hint text and asks the program's hint
// service to show it after the hint pause.
//
// Tested by: chart/tests/MarksTipToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/series/SeriesData.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TMarksTipTool;

enum TMarkToolMouseAction : std::uint8_t { mtmMove, mtmClick };

using TMarksTipGetText = std::function<void(TMarksTipTool& sender, std::string& text)>;

class TMarksTipTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TMarksTipTool(classlib::TComponent* owner = nullptr);

  // properties
  TMarkToolMouseAction MouseAction() const { return FMouseAction; }
  // Also clears the chart's hint.
  void SetMouseAction(TMarkToolMouseAction v);
  // The program's hint pause in milliseconds: shared by every chart.
  std::int32_t MouseDelay() const;
  void SetMouseDelay(std::int32_t v);
  TSeriesMarksStyle Style() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle v) { FStyle = v; }

  // events
  // Lets the program change the text of a tip before it shows.
  TMarksTipGetText OnGetText;

  // overrides
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Mark Tips"; }
  std::string EditorClassName() const override { return "TMarksTipToolEdit"; }
  // Switching the tool off clears the chart's hint.
  void SetActive(bool v) override;

 private:
  // The chart the tool works on: its series' one, else its own.
  TCustomAxisPanel* Chart() const;
  void ClearHint() const;
  void ShowTip(TChartSeries& series, int index, std::int32_t x, std::int32_t y);
  bool OtherMarksTipTool(TCustomAxisPanel& chart) const;

  TMarkToolMouseAction FMouseAction = mtmMove;
  TSeriesMarksStyle FStyle = smsLabel;
};

}  // namespace chart
