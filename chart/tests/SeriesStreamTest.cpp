// Covers chart/series/SeriesStream.cpp: the "Data" bytes from hand-built fixtures
// and the refusal of short or corrupt records.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/TestPointSeries.h"
#include "platform/classlib/Streams.h"

namespace chart {
namespace {

using testing::Bytes;
using testing::TTestPointSeries;

void PutDouble(std::vector<std::uint8_t>& b, double v) {
  std::uint8_t raw[8];
  std::memcpy(raw, &v, 8);
  b.insert(b.end(), raw, raw + 8);
}
void PutInt(std::vector<std::uint8_t>& b, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
}

TEST(SeriesStream, SequentialXWithoutColoursOrLabelsWritesOnlyTheValues) {
  TTestPointSeries s;
  for (double y : {1.5, -2.0, 3.25}) s.Add(y);
  classlib::TMemoryStream m;
  s.WriteData(m);
  std::vector<std::uint8_t> want{0};
  PutInt(want, 3);
  for (double y : {1.5, -2.0, 3.25}) PutDouble(want, y);
  EXPECT_EQ(Bytes(m), want);
}

TEST(SeriesStream, XColoursAndLabelsFarDownTheListAreKept) {
  TTestPointSeries s;
  for (int i = 0; i < 200; ++i) s.AddXY(i + 1, i);
  s.SetValueColor(150, clRed);
  s.Labels().SetLabel(150, std::string(300, 'L'));
  classlib::TMemoryStream m;
  s.WriteData(m);
  const std::vector<std::uint8_t> b = Bytes(m);
  EXPECT_EQ(b[0], 1 | 2 | 4);
  TTestPointSeries r;
  m.SetPosition(0);
  r.ReadData(m);
  ASSERT_EQ(r.Count(), 200);
  EXPECT_EQ(r.XValues()->Value(0), 1);
  EXPECT_EQ(r.StoredColor(150), clRed);
  EXPECT_EQ(r.Labels().GetLabel(150), std::string(255, 'L'));  // cut, never wrapped
  EXPECT_TRUE(r.ManualData());
}

TEST(SeriesStream, AShortOrCorruptRecordIsRefusedAndLeavesTheSeries) {
  TTestPointSeries target;
  target.AddXY(0, 42);
  std::vector<std::uint8_t> cases[3];
  cases[0] = {0};
  PutInt(cases[0], 5);
  PutDouble(cases[0], 1);  // five points promised, one given
  cases[1] = {0};
  PutInt(cases[1], -3);
  cases[2] = {4};
  PutInt(cases[2], 1);
  PutDouble(cases[2], 1);
  cases[2].push_back(200);  // a label longer than the bytes left
  for (const auto& bytes : cases) {
    classlib::TMemoryStream m;
    m.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    m.SetPosition(0);
    EXPECT_THROW(target.ReadData(m), classlib::EReadError);
    ASSERT_EQ(target.Count(), 1);
    EXPECT_EQ(target.YValues()->Value(0), 42);
  }
}

}  // namespace
}  // namespace chart
