// The chart engine's table of user-visible English texts, and the exceptions
// that carry them.
//
// Code never repeats one of these texts as a literal: it names the message by
// its number through KivMsg, so a translation replaces the table in one place.
// Messages used by the engine's own checks have named numbers below; the
// others are reached by number (1 to KivMessageCount).
//
// Tested by: chart/tests/KivConstTest.cpp
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/classlib/Exception.h"

namespace chart {

constexpr int KivMessageCount = 263;

enum TKivMsg : int {
  msgTest = 1,
  msgLegendFirstValue = 2,
  msgLegendColorWidth = 3,
  msgNoParentChartDataSource = 4,
  msgInvalidDataSource = 5,
  msgFillSampleValues = 6,
  msgAxisLogDateTime = 7,
  msgAxisLogNotPositive = 8,
  msgAxisLabelsSeparation = 9,
  msgAxisIncrementNegative = 10,
  msgAxisMinMax = 11,
  msgAxisMaxMin = 12,
  msgAxisLogBase = 13,
  msgMaxPointsPerPage = 14,
  msg3DPercent = 15,
  msgCircularSeries = 16,
  msgValueOfTotal = 18,
  msgValueOfTotalLines = 19,
  msgPercentFormat = 20,
  msgValuesFormat = 21,
  msgExpFormat = 22,
  msgRefreshInterval = 25,
  msgSeriesParentChart = 26,
  msgDefaultFontSize = 89,
  msgDefaultFontName = 105,
  msgPointerSize = 106,
  msgFunctionPeriod = 116,
  msgSeriesDeleteIndex = 215,
  msgInvalidSeriesType = 248,
  msgInvalidAxisType = 249,
};

// The text of a message; the empty text for numbers outside 1..KivMessageCount
// and for the two entries this system leaves out.
const std::string& KivMsg(int number);

// The message text with its placeholders filled in order: each "%d" and "%s"
// takes the next argument as given (callers convert numbers to text first);
// "%%" is a percent sign.
std::string FormatKivMsg(int number, std::initializer_list<std::string_view> args);

// Errors of the chart as a whole, of an axis and of the legend. Each carries a
// text of the table; a check that raises leaves its object unchanged.
class ChartException : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

class AxisException : public ChartException {
 public:
  using ChartException::ChartException;
};

class LegendException : public ChartException {
 public:
  using ChartException::ChartException;
};

}  // namespace chart
