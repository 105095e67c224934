// Price bars: value lists, adding a bar, extremes, sample bars.
//
// Tested by: chart/tests/CandleSeriesTest.cpp
#include "chart/series/OHLCSeries.h"

#include <algorithm>
#include <cmath>

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TOHLCSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TOHLCSeries>("TOHLCSeries", TCustomSeries::StaticClassInfo())
          .SubObject("CloseValues", &TOHLCSeries::CloseValues)
          .TypeName("TChartValueList")
          .SubObject("DateValues", &TOHLCSeries::DateValues)
          .TypeName("TChartValueList")
          .SubObject("HighValues", &TOHLCSeries::HighValues)
          .TypeName("TChartValueList")
          .SubObject("LowValues", &TOHLCSeries::LowValues)
          .TypeName("TChartValueList")
          .SubObject("OpenValues", &TOHLCSeries::OpenValues)
          .TypeName("TChartValueList")
          .Creatable()
          .Build();
  return info;
}

TOHLCSeries::TOHLCSeries(classlib::TComponent* owner) : TCustomSeries(owner) {
  XValues()->SetDateTime(true);
  XValues()->SetName("Date");
  YValues()->SetName("Close");
  FHigh = new TChartValueList(this, "High");
  FLow = new TChartValueList(this, "Low");
  FOpen = new TChartValueList(this, "Open");
}

int TOHLCSeries::AddOHLC(double date, double open, double high, double low, double close) {
  FHigh->TempValue = high;
  FLow->TempValue = low;
  FOpen->TempValue = open;
  return AddXY(date, close, "", clDefault);
}

double TOHLCSeries::MaxYValue() const {
  return std::max({YValues()->MaxValue(), FHigh->MaxValue(), FLow->MaxValue(), FOpen->MaxValue()});
}

double TOHLCSeries::MinYValue() const {
  return std::min({YValues()->MinValue(), FHigh->MinValue(), FLow->MinValue(), FOpen->MinValue()});
}

bool TOHLCSeries::IsValidSourceOf(const TChartSeries& target) const {
  return dynamic_cast<const TOHLCSeries*>(&target) != nullptr;
}

void TOHLCSeries::AddSampleValues(int numValues) {
  const TSampleBounds b = CalcRandomBounds(numValues);
  const double r = b.YRange;
  double x = b.XMin;
  double open = b.YMin + SampleRandom(Round(r));
  for (int i = 0; i < numValues; ++i) {
    const double close = open + SampleRandom(Round(r / 25)) - r / 50;
    const double h = 3.0 * Round(std::fabs(close - open) / 10);
    const double s = std::abs(Round(r / 400));
    double high, low;
    if (close > open) {
      high = close + h + SampleRandom(s);
      low = open - h - SampleRandom(s);
    } else {
      high = open + h + SampleRandom(s);
      low = close - h - SampleRandom(s);
    }
    AddOHLC(x, open, high, low, close);
    x += b.Step;
    open = close + SampleRandom(10) - 5;
  }
}

}  // namespace chart
