// Indicator functions over price bars: the average directional index with
// its two directional-indicator lines, and the relative strength index.
//
// Tested by: chart/tests/FinancialFunctionsTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "chart/core/KivStyles.h"
#include "chart/functions/Functions.h"

namespace chart {

class TFastLineSeries;

class TADXFunction : public TKivFunction {
  ORVEL_CLASS_INFO
 public:
  explicit TADXFunction(classlib::TComponent* owner = nullptr);
  ~TADXFunction() override;

  // properties
  TChartPen* DownLinePen() const;
  void SetDownLinePen(const TChartPen& v);
  TChartPen* UpLinePen() const;
  void SetUpLinePen(const TChartPen& v);
  // The directional-indicator lines (DI- red, DI+ green), drawn on the parent's chart.
  TFastLineSeries* DownLine() const { return FDown; }
  TFastLineSeries* UpLine() const { return FUp; }

  // overrides
  std::string EditorClassName() const override { return "TADXFuncEditor"; }
  // One series of price bars, whose high, low and close it reads.
  bool SingleSource() const override { return true; }
  bool HideValueList() const override { return true; }
  void AddPoints(TChartSeries& source) override;
  bool IsValidSource(const TChartSeries& source) const override;

 private:
  TFastLineSeries* FDown;
  TFastLineSeries* FUp;
};

enum TRSIStyle : std::uint8_t { rsiOpenClose, rsiClose };

class TRSIFunction : public TKivMovingFunction {
  ORVEL_CLASS_INFO
 public:
  explicit TRSIFunction(classlib::TComponent* owner = nullptr);

  TRSIStyle Style() const { return FStyle; }
  void SetStyle(TRSIStyle v);

  double Calculate(TChartSeries& source, int first, int last) override;
  bool IsValidSource(const TChartSeries& source) const override;
  // It reads the bars' open and close.
  bool HideValueList() const override { return true; }

 private:
  TRSIStyle FStyle = rsiOpenClose;
};

}  // namespace chart
