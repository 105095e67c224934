// Covers chart/core/KivTypes.cpp: rounding, colour channels, darkening.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "chart/core/KivTypes.h"

namespace chart {
namespace {

TEST(KivRound, HalvesGoToEvenAndOutOfRangeClamps) {
  struct Case { double v; std::int32_t want; } cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-0.4, 0}, {3.7, 4},
      {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::numeric_limits<double>::quiet_NaN(), 0},
      {std::numeric_limits<double>::infinity(), INT32_MAX}};
  for (const Case& c : cases) EXPECT_EQ(Round(c.v), c.want) << c.v;
  EXPECT_EQ(Trunc(-2.7), -2);
}

TEST(KivMulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);   // 10.67
  EXPECT_EQ(MulDiv(7, 1, 2), 4);
  EXPECT_EQ(MulDiv(-7, 1, 2), -4);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(KivColor, ChannelsAreInBlueGreenRedOrder) {
  EXPECT_EQ(RGB(0x11, 0x22, 0x33), 0x332211u);
  EXPECT_EQ(GetRValue(clRed), 255);
  EXPECT_EQ(GetBValue(clBlue), 255);
  EXPECT_TRUE(IsSystemColor(clBtnFace));
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_FALSE(IsSystemColor(clDefault));
  EXPECT_EQ(ColorToRGB(clRed, nullptr), clRed);
}

TEST(KivColor, DarkAndBrightHoldAtTheChannelLimits) {
  EXPECT_EQ(ApplyDark(RGB(200, 100, 50), 128), RGB(72, 0, 0));
  EXPECT_EQ(ApplyBright(RGB(200, 100, 50), 100), RGB(255, 200, 150));
}

}  // namespace
}  // namespace chart
