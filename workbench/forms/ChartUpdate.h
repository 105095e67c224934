// Work on a chart in one redraw: the chart paints once when the work ends.
#pragma once

#include "chart/ChartControl.h"

namespace workbench {

class TChartUpdate {
 public:
  explicit TChartUpdate(chart::TChart& chart) : FChart(chart) { FChart.SetAutoRepaint(false); }
  ~TChartUpdate() {
    FChart.SetAutoRepaint(true);
    FChart.Invalidate();
  }
  TChartUpdate(const TChartUpdate&) = delete;
  TChartUpdate& operator=(const TChartUpdate&) = delete;

 private:
  chart::TChart& FChart;
};

}  // namespace workbench
