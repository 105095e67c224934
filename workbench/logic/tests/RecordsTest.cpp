// Stored layouts of the workbench records.
// Covers: Classes_Remez_Records.cpp, the ShortString of Classes_Remez.h.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {
namespace {

TEST(ShortString, TruncatesAndZeroFills) {
  ShortString<8> s("EURUSD");
  EXPECT_EQ(s.Length, 6);
  EXPECT_EQ(s.Str(), "EURUSD");
  s = "ABCDEFGHIJK";
  EXPECT_EQ(s.Length, 8);
  EXPECT_EQ(s.Str(), "ABCDEFGH");
  s = "XY";
  EXPECT_EQ(s.Str(), "XY");
  // Nothing of the longer text stays behind the new one.
  for (std::size_t i = 2; i < 8; ++i) EXPECT_EQ(s.Chars[i], '\0') << i;
}

TFilterRecord SampleFilter() {
  TFilterRecord f;
  f.Name = "Fatl";
  f.FilterType = 2;
  f.P1 = 24;
  f.D1 = 12;
  f.A1 = 40;
  f.P2 = 36;
  f.D2 = -52;
  f.A2 = 41;
  f.Ripple = 0.08;
  f.Delay = 3;
  f.Order = 50;
  f.CoefCount = 28;
  f.AutoOrder = 1;
  f.Method = 2;
  f.Price = 1;
  return f;
}

std::int32_t I32At(const std::array<std::uint8_t, FilterRecordSize>& b, std::size_t at) {
  return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(FilterRecord, LayoutHasTheStoredOffsets) {
  const auto b = FilterRecordToBytes(SampleFilter());
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(std::string(b.begin() + 1, b.begin() + 5), "Fatl");
  for (std::size_t i = 5; i < 26; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(b[26], 2);
  EXPECT_EQ(I32At(b, 27), 24);
  EXPECT_EQ(I32At(b, 31), 12);
  EXPECT_EQ(I32At(b, 35), 40);
  EXPECT_EQ(I32At(b, 39), 36);
  EXPECT_EQ(I32At(b, 43), -52);
  EXPECT_EQ(I32At(b, 47), 41);
  // 0.08 as an IEEE double, little-endian: 0x3FB47AE147AE147B.
  const std::array<std::uint8_t, 8> ripple = {0x7B, 0x14, 0xAE, 0x47, 0xE1, 0x7A, 0xB4, 0x3F};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(b[51 + i], ripple[i]) << i;
  EXPECT_EQ(I32At(b, 59), 3);
  EXPECT_EQ(I32At(b, 63), 50);
  EXPECT_EQ(I32At(b, 67), 28);
  EXPECT_EQ(b[71], 1);
  EXPECT_EQ(b[72], 2);
  EXPECT_EQ(b[73], 1);
}

TEST(FilterRecord, RoundTripsThroughItsBytes) {
  const TFilterRecord f = SampleFilter();
  const auto bytes = FilterRecordToBytes(f);
  EXPECT_EQ(FilterRecordFromBytes(bytes), f);
}

TEST(FilterRecord, RefusesANameLongerThanItsRoom) {
  auto bytes = FilterRecordToBytes(SampleFilter());
  bytes[0] = 26;
  EXPECT_THROW(FilterRecordFromBytes(bytes), EFilterCheck);
  bytes[0] = 25;
  EXPECT_EQ(FilterRecordFromBytes(bytes).Name.Length, 25);
}

TEST(FilterRecord, IgnoresStaleBytesAfterTheName) {
  auto bytes = FilterRecordToBytes(SampleFilter());
  bytes[10] = 'Z';  // beyond the 4 characters of the name
  const TFilterRecord f = FilterRecordFromBytes(bytes);
  EXPECT_EQ(f.Name.Str(), "Fatl");
  EXPECT_EQ(f, SampleFilter());
}

TEST(HistoryBar, LayoutHasTheStoredOffsets) {
  THistoryBar bar;
  bar.Time = 1'100'000'000;
  bar.Open = 1.25;
  bar.Low = 1.0;
  bar.High = 2.0;
  bar.Close = -0.5;
  bar.Volume = 77;
  const auto b = HistoryBarToBytes(bar);
  ASSERT_EQ(b.size(), 40u);
  EXPECT_EQ(b[0] | b[1] << 8 | b[2] << 16 | b[3] << 24, 1'100'000'000);
  EXPECT_EQ(b[11], 0x3F);  // 1.25 = 0x3FF4000000000000
  EXPECT_EQ(b[10], 0xF4);
  EXPECT_EQ(b[19], 0x3F);  // Low 1.0 = 0x3FF0000000000000
  EXPECT_EQ(b[27], 0x40);  // High 2.0 = 0x4000000000000000
  EXPECT_EQ(b[35], 0xBF);  // Close -0.5 = 0xBFE0000000000000
  EXPECT_EQ(b[36], 77);
  EXPECT_EQ(HistoryBarFromBytes(b), bar);
}

}  // namespace
}  // namespace workbench
