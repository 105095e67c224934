// Covers chart/core/KivConst.cpp: the message table and its placeholders.
#include <gtest/gtest.h>

#include "chart/core/KivConst.h"
#include "chart/core/KivProCo.h"

namespace chart {
namespace {

TEST(KivMsg, TableHoldsTheTextsByNumber) {
  EXPECT_EQ(KivMsg(1), "Test...");
  EXPECT_EQ(KivMsg(msg3DPercent), "3D effect percent must be between %d and %d");
  EXPECT_EQ(KivMsg(msgValueOfTotalLines), "%s\rof %s");
  EXPECT_EQ(KivMsg(msgExpFormat), "#.0 \"x10\" E+0");
  EXPECT_EQ(KivMsg(msgDefaultFontName), "Arial");
  EXPECT_EQ(KivMsg(msgDefaultFontSize), "8");
  EXPECT_EQ(KivMsg(KivMessageCount), "&Connection:");
  EXPECT_EQ(KivMsg(216), "");
  EXPECT_EQ(KivMsg(0), "");
  EXPECT_EQ(KivMsg(KivProMessageFirst + KivProMessageCount), "");
}

TEST(KivMsg, SecondBlockFollowsTheFirst) {
  EXPECT_EQ(KivProMessageFirst, KivMessageCount + 1);
  EXPECT_EQ(KivMsg(KivProMessageFirst), "Polar");
  EXPECT_EQ(KivMsg(msgGalleryCandle), "Candle");
  EXPECT_EQ(KivMsg(msgGalleryHighLow), "High-Low");
  EXPECT_EQ(KivMsg(msgFunctionRSI), "R.S.I.");
  EXPECT_EQ(KivMsg(msgGalleryFinancial), "Financial");
  EXPECT_EQ(KivMsg(msgSubStyleOrigin), "Origin");
  EXPECT_EQ(KivMsg(KivProMessageFirst + 34), "Exponential\rAverage");
  EXPECT_EQ(KivMsg(KivProMessageFirst + KivProMessageCount - 1), "Pie Slices");
  EXPECT_EQ(FormatKivMsg(KivProMessageFirst + 71, {"30", "15"}), "Rotation: 30\u00b0 Elevation: 15\u00b0");
  for (int i = 0; i < KivProMessageCount; ++i) EXPECT_FALSE(KivMsg(KivProMessageFirst + i).empty()) << i;
}

TEST(KivMsg, EveryNumberedMessageButTheTwoLeftOutHasText) {
  for (int i = 1; i <= KivMessageCount; ++i)
    if (i != 216 && i != 239) {
      EXPECT_FALSE(KivMsg(i).empty()) << i;
    }
}

TEST(KivMsg, PlaceholdersAreFilledInOrder) {
  EXPECT_EQ(FormatKivMsg(msg3DPercent, {"1", "100"}), "3D effect percent must be between 1 and 100");
  EXPECT_EQ(FormatKivMsg(msgSeriesDeleteIndex, {"5", "3"}),
            "Series Delete: ValueIndex 5 out of bounds (0 to 3).");
  EXPECT_EQ(FormatKivMsg(msgPercentFormat, {}), "##0.## %");
  // A missing argument leaves the place empty rather than reading past the list.
  EXPECT_EQ(FormatKivMsg(msgValueOfTotal, {"7"}), "7 of ");
}

TEST(KivExceptions, CarryTheirTextAndFormAHierarchy) {
  try {
    throw AxisException(KivMsg(msgAxisMinMax));
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "Axis Minimum Value must be <= Maximum");
  }
  EXPECT_THROW(throw LegendException(KivMsg(msgLegendFirstValue)), classlib::Exception);
}

}  // namespace
}  // namespace chart
