// Price bars: a date with the open, high, low and close of each bar, the call
// that adds one bar with its five values aligned, the vertical extent over all
// four prices, and random sample bars. The candle series draws them.
//
// Tested by: chart/tests/CandleSeriesTest.cpp
#pragma once

#include "chart/series/LineSeries.h"

namespace chart {

class TOHLCSeries : public TCustomSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TOHLCSeries(classlib::TComponent* owner = nullptr);

  // properties
  TChartValueList* DateValues() const { return XValues(); }
  void SetDateValues(const TChartValueList& v) { SetXValues(v); }
  TChartValueList* CloseValues() const { return YValues(); }
  void SetCloseValues(const TChartValueList& v) { SetYValues(v); }
  TChartValueList* HighValues() const { return FHigh; }
  void SetHighValues(const TChartValueList& v) { FHigh->Assign(v); Invalidate(); }
  TChartValueList* LowValues() const { return FLow; }
  void SetLowValues(const TChartValueList& v) { FLow->Assign(v); Invalidate(); }
  TChartValueList* OpenValues() const { return FOpen; }
  void SetOpenValues(const TChartValueList& v) { FOpen->Assign(v); Invalidate(); }

  // operations
  // Adds one bar at its date's place in order; -1 when OnBeforeAdd refuses it.
  int AddOHLC(double date, double open, double high, double low, double close);

  // overrides
  double MaxYValue() const override;
  double MinYValue() const override;
  void AddSampleValues(int numValues) override;
  int DefaultSampleCount() const override { return 40; }
  bool IsValidSourceOf(const TChartSeries& target) const override;

 private:
  TChartValueList* FHigh;
  TChartValueList* FLow;
  TChartValueList* FOpen;
};

}  // namespace chart
