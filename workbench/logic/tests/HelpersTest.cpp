// Shared helpers of the workbench windows.
// Covers: Classes_Remez_Helpers.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/classlib/SysUtils.h"
#include "workbench/logic/Classes_Remez.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TEST(PeriodName, NamesMinutesHoursDaysAndWeeks) {
  const struct {
    int minutes;
    const char* text;
  } cases[] = {
      {1, "1\u041C"},     {30, "30\u041C"},  {60, "1H"},      {90, "1H30\u041C"}, {240, "4H"},
      {1439, "23H59\u041C"}, {1440, "Daily"}, {10080, "Weekly"}, {43200, "720H"},    {1441, "25H"},
  };
  for (const auto& c : cases) EXPECT_EQ(PeriodName(c.minutes), c.text) << c.minutes;
}

TEST(RoundToInt, RoundsHalvesAwayFromZero) {
  const struct {
    long double x;
    int expected;
  } cases[] = {{2.5L, 3}, {-2.5L, -3}, {0.49L, 0}, {0.5L, 1}, {-0.5L, -1}, {1.5L, 2}, {0, 0}, {24.5L, 25}};
  for (const auto& c : cases) EXPECT_EQ(RoundToInt(c.x), c.expected) << static_cast<double>(c.x);
  EXPECT_EQ(RoundToInt(1e12L), -2147483647 - 1);
  EXPECT_EQ(RoundToInt(std::nanl("")), -2147483647 - 1);
}

TEST(ReplaceAll, ReplacesUntilNothingChanges) {
  EXPECT_EQ(ReplaceAll("1,5,6", ",", "."), "1.5.6");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
  // A replacement containing the searched text would never end.
  EXPECT_EQ(ReplaceAll("a,b", ",", ",,"), "");
  EXPECT_EQ(ReplaceFirst("a,b,c", ",", ";"), "a;b,c");
}

TEST(SplitString, KeepsEmptyPieces) {
  EXPECT_EQ(SplitString(";", "a;;b;"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(SplitString(";", "abc"), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(SplitString(";", ""), std::vector<std::string>{});
  // A delimiter of two characters never matches.
  EXPECT_EQ(SplitString(";;", "a;;b"), (std::vector<std::string>{"a;;b"}));
}

TEST(PowerEx, TakesOddRootsOfNegativeBases) {
  EXPECT_TRUE(orvel::testing::NearRel(static_cast<double>(PowerEx(-8, 1.0L / 3)), -2.0, 5e-16));
  EXPECT_EQ(PowerEx(-4, 0.5L), 0.0L);
  EXPECT_EQ(static_cast<double>(PowerEx(10, -7)), 1e-7);
  EXPECT_EQ(PowerEx(0, 3), 0.0L);
  EXPECT_EQ(PowerEx(5, 0), 1.0L);
  EXPECT_EQ(PowerEx(2, 10), 1024.0L);
  EXPECT_TRUE(orvel::testing::NearRel(static_cast<double>(PowerEx(10, -0.05L * 0.08L)), std::pow(10.0, -0.004), 1e-16));
}

TEST(UnixTime, ConvertsBothWays) {
  EXPECT_EQ(UnixToDateTime(0), 25569.0);
  EXPECT_EQ(UnixToDateTime(86400 * 2 + 43200), 25571.5);
  EXPECT_EQ(DateTimeToUnix(25571.5), 86400 * 2 + 43200);
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1'234'567'890)), 1'234'567'890);
  EXPECT_EQ(DateTimeToUnix(25569.0 - 1), -86400);
}

TEST(FloatToStrPoint, WritesThePointWhateverTheProcessSeparator) {
  const char saved = classlib::DecimalSeparator();
  classlib::SetDecimalSeparator(',');
  EXPECT_EQ(FloatToStrPoint(0.08), "0.08");
  EXPECT_EQ(FloatToStrPoint(0.00005), "5E-5");
  EXPECT_EQ(FloatToStrPoint(40), "40");
  classlib::SetDecimalSeparator(saved);
}

TEST(FilterDescription, ListsTheParameters) {
  TFilterRecord f;
  f.FilterType = 2;
  f.P1 = 24;
  f.D1 = 12;
  f.A1 = 40;
  f.P2 = 36;
  f.D2 = 52;
  f.A2 = 30;
  f.Ripple = 0.08;
  f.Delay = 2;
  f.Order = 50;
  f.Method = 1;
  EXPECT_EQ(FilterDescription(f),
            "Band Pass P1=24, D1=12, A1=40 P2=36, D2=52, A2=30, Ripple=0.08, Delay=2, Order=50, Calculate method=1");
  f.AutoOrder = 1;
  f.FilterType = 0;
  EXPECT_EQ(FilterDescription(f),
            "Low Pass P1=24, D1=12, A1=40 P2=36, D2=52, A2=30, Ripple=0.08, Delay=2, Order [Auto]=50, "
            "Calculate method=1");
}

TEST(DeleteFilterRecord, RemovesOneElement) {
  std::vector<TFilterRecord> filters(3);
  for (int i = 0; i < 3; ++i) filters[i].P1 = 10 + i;
  DeleteFilterRecord(filters, 0);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].P1, 11);
  EXPECT_EQ(filters[1].P1, 12);
  DeleteFilterRecord(filters, 1);
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0].P1, 11);
  DeleteFilterRecord(filters, 5);
  DeleteFilterRecord(filters, -1);
  EXPECT_EQ(filters.size(), 1u);
}

TEST(GetFileVersionString, ShowsVersionAndDate) {
  // The project's version (release and build only when not 0), then the date.
  const std::string text = GetFileVersionString();
  const std::size_t at = text.find(" at ");
  ASSERT_NE(at, std::string::npos) << text;
  const std::string version = text.substr(0, at);
  EXPECT_FALSE(version.empty());
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << text;
  EXPECT_GE(std::count(version.begin(), version.end(), '.'), 1) << text;
  EXPECT_GT(text.size(), at + 4) << text;
}

}  // namespace
}  // namespace workbench
