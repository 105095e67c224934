// The band templates of the signal filter: the band check's codes and texts,
// the band stream, and the template store.
// Covers: signal/FilterBands.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "signal/FilterBands.h"
#include "signal/SignalFilter.h"
#include "signal/tests/ProcessingTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::Raises;
using testutil::Band;
using testutil::UseBands;

struct TCheckCase {
  const char* What;
  std::vector<TFilterBand> Bands;
  std::int32_t Code;
  std::int32_t Index;
};

TEST(FilterBands, CheckGivesTheCodeAndTheBandConcerned) {
  const TFilterBand pass = Band(0, 0.2, 1, 0.5);
  const std::vector<TCheckCase> cases = {
      {"low-pass", {pass, Band(0.3, 1, 0, 40)}, 0, -1},
      {"bands listed out of order", {Band(0.3, 1, 0, 40), pass}, 0, -1},
      {"two stop bands", {Band(0, 0.1, 0, 40), Band(0.2, 0.4, 0, 40), Band(0.5, 1, 1, 0.5)}, 2, 0},
      {"a band that runs backwards", {pass, Band(0.4, 0.3, 0, 40)}, 3, 1},
      {"an empty band", {pass, Band(0.3, 0.3, 0, 40)}, 3, 1},
      {"overlapping bands", {Band(0, 0.35, 1, 0.5), Band(0.3, 1, 0, 40)}, 4, 1},
      {"touching bands", {Band(0, 0.3, 1, 0.5), Band(0.3, 1, 0, 40)}, 4, 1},
      {"the top overlap is named", {Band(0, 0.35, 1, 0.5), Band(0.3, 0.6, 0, 40), Band(0.55, 1, 1, 0.5)}, 4, 2},
      {"an overlap yields to a shallow stop band", {Band(0, 0.35, 1, 0.5), Band(0.3, 1, 0, 0.5)}, 6, 1},
      {"a start beyond half the rate", {pass, Band(1.2, 1.5, 0, 40)}, 5, 1},
      {"a stop beyond half the rate", {pass, Band(0.3, 1.2, 0, 40)}, 5, 1},
      {"a negative edge", {Band(-0.1, 0.2, 1, 0.5), Band(0.3, 1, 0, 40)}, 5, 0},
      {"an overlap yields to an edge beyond the band", {Band(0, 0.35, 1, 0.5), Band(0.3, 1.5, 0, 40)}, 5, 1},
      {"a stop band of 0.5 dB", {pass, Band(0.3, 1, 0, 0.5)}, 6, 1},
      {"a pass band of 3 dB", {Band(0, 0.2, 1, 3), Band(0.3, 1, 0, 40)}, 6, 0},
  };
  for (const TCheckCase& c : cases) {
    TSignalFilter filter;
    UseBands(filter, c.Bands);
    std::int32_t index = -1;
    EXPECT_EQ(filter.Filters().Template().CheckBands(index), c.Code) << c.What;
    EXPECT_EQ(index, c.Index) << c.What;
  }
}

TEST(FilterBands, CheckLeavesTheLiveTemplateAsItStands) {
  TSignalFilter filter;
  UseBands(filter, {Band(0.3, 1, 0, 40), Band(0, 0.2, 1, 0.5)});
  std::int32_t index = -1;
  ASSERT_EQ(filter.Filters().Template().CheckBands(index), 0);
  EXPECT_EQ(filter.Filters().Template().GetBand(0).Start, 0.3);
}

TEST(FilterBands, CheckMeasuresAgainstTheSignalsRateWithoutNormalisedFrequencies) {
  TSignal input;
  input.SetSamplingFrequency(1000);
  TSignalFilter filter;
  filter.SetInput(&input);
  filter.SetUseNormalizedFrequency(false);
  UseBands(filter, {Band(0, 100, 1, 0.5), Band(150, 500, 0, 40)});
  std::int32_t index = -1;
  EXPECT_EQ(filter.Filters().Template().CheckBands(index), 0);
  filter.Filters().Template().GetBand(1).Stop = 501;
  EXPECT_EQ(filter.Filters().Template().CheckBands(index), 5);
}

TEST(FilterBands, NothingIsCheckedWithoutASelectedTemplate) {
  TSignalFilter filter;
  filter.Filters().Template().AddBand(Band(0.4, 0.3, 0, 0.1));
  std::int32_t index = 7;
  EXPECT_EQ(filter.Filters().Template().CheckBands(index), 0);
  EXPECT_EQ(index, 7);
}

TEST(FilterBands, TextsNameTheBandsFromOne) {
  // Index as CheckBands gives it: from 0; code 4 gives the upper band of the pair.
  const struct {
    std::int32_t Code, Index;
    const char* Text;
  } cases[] = {
      {0, -1, "Filter is OK!"},
      {1, -1, "Filter needs at least two bands (stop and/or pass)!"},
      {2, 0, "A stop band follows stop band 1!"},
      {3, 1, "End of filter band 2 overlaps start of the same filter band!"},
      {4, 1, "End of filter band 1 overlaps start of filter band 2!"},
      {5, 0, "Edge of band 1 exceeds signal bandwidth!"},
      {6, 2, "Ripple/attenuation of band 3 out of range!"},
      {7, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BandCheckText(c.Code, c.Index), c.Text) << c.Code;
}

TEST(FilterBands, TheTextOfACheckNamesTheBandsTheUserSees) {
  TSignalFilter filter;
  UseBands(filter, {Band(0, 0.35, 1, 0.5), Band(0.3, 1, 0, 40)});
  std::int32_t index = -1;
  const std::int32_t code = filter.Filters().Template().CheckBands(index);
  EXPECT_EQ(BandCheckText(code, index), "End of filter band 1 overlaps start of filter band 2!");
}

TEST(FilterBands, DeviationsOfStopAndPassBands) {
  EXPECT_DOUBLE_EQ(Band(0, 1, 0, 40).Deviation(), 0.01);
  EXPECT_DOUBLE_EQ(Band(0, 1, 1, 40).Deviation(), 0.495);
  EXPECT_DOUBLE_EQ(Band(0, 1, 0, 40).PassDeviation(), 0.495);
}

TEST(FilterBands, ThreeBandsStreamAs164BytesThatReadBack) {
  TBandFilterList list;
  list.AddBand(Band(0, 0.2, 0, 40));
  TFilterBand pass = Band(0.3, 0.5, 2, 0.5);
  pass.Reserved = 7.5;
  pass.Checked = true;
  list.AddBand(pass);
  list.AddBand(Band(0.6, 1, 0, 60));
  classlib::TMemoryStream stream;
  list.SaveToStream(stream);
  ASSERT_EQ(stream.Size(), 164);
  double count = 0;
  std::memcpy(&count, stream.Memory(), 8);
  EXPECT_EQ(count, 3.0);
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  for (int i = 8; i < 41; ++i) EXPECT_EQ(bytes[i], 0) << "header byte " << i;

  TBandFilterList read;
  stream.SetPosition(0);
  read.LoadFromStream(stream);
  ASSERT_EQ(read.Count(), 3);
  const TFilterBand& b = read.GetBand(1);
  EXPECT_EQ(b.Start, 0.3);
  EXPECT_EQ(b.Stop, 0.5);
  EXPECT_EQ(b.Gain, 2);
  EXPECT_EQ(b.Ripple, 0.5);
  EXPECT_EQ(b.Reserved, 7.5);
  EXPECT_TRUE(b.Checked);
  EXPECT_EQ(read.GetBand(2).Ripple, 60);
}

TEST(FilterBands, AMalformedStreamChangesNothing) {
  const auto header = [](classlib::TMemoryStream& s, double Count, int Bands) {
    s.WriteDouble(Count);
    for (int i = 8; i < 41 * (Bands + 1); ++i) s.WriteUInt8(0);
    s.SetPosition(0);
  };
  struct TBad {
    double Count;
    int Bands;
    const char* Message;
  };
  const TBad cases[] = {
      {-1, 0, "Filter bands: the band count -1 is not valid"},
      {std::nan(""), 0, "Filter bands: the band count NAN is not valid"},
      {3, 2, "Filter bands: 3 bands need more than the 82 bytes left"},
  };
  for (const TBad& c : cases) {
    TBandFilterList list;
    list.AddBand(Band(0, 1, 1, 1));
    classlib::TMemoryStream s;
    header(s, c.Count, c.Bands);
    EXPECT_TRUE(Raises([&] { list.LoadFromStream(s); }, c.Message));
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(s.Position(), 0);
  }
  TBandFilterList list;
  classlib::TMemoryStream shortStream;
  shortStream.WriteDouble(0);
  shortStream.SetPosition(0);
  EXPECT_TRUE(Raises([&] { list.LoadFromStream(shortStream); },
                     "Filter bands: 8 bytes are too few for the 41-byte header"));
}

TEST(FilterBands, SortKeepsTheOrderOfEqualStarts) {
  TBandFilterList list;
  list.AddBand(Band(0.5, 1, 0, 40));
  list.AddBand(Band(0, 0.2, 1, 1));
  list.AddBand(Band(0, 0.3, 2, 1));
  list.Sort();
  EXPECT_EQ(list.GetBand(0).Gain, 1);
  EXPECT_EQ(list.GetBand(1).Gain, 2);
  EXPECT_EQ(list.GetBand(2).Start, 0.5);
}

TEST(FilterBands, TheStoreKeepsItsOwnList) {
  TSignalFilter filter;
  EXPECT_EQ(filter.Filters().Owner(), &filter);
  EXPECT_EQ(filter.Filters().Template().Owner(), &filter);
  TBandFilterList other;
  EXPECT_TRUE(Raises([&] { filter.Filters().SetTemplate(&other); }, "Operation not supported!"));
}

TEST(FilterBands, SwitchingTemplatesKeepsEachTemplatesBands) {
  TSignalFilter filter;
  TFilterList& store = filter.Filters();
  store.AddEmptyTemplate("low");
  store.Template().AddBand(Band(0, 0.2, 1, 1));
  store.AddEmptyTemplate("high");
  store.Template().AddBand(Band(0.4, 1, 1, 1));
  store.Template().AddBand(Band(0, 0.3, 0, 40));
  store.SetTemplateIndex(0);
  ASSERT_EQ(store.Template().Count(), 1);
  EXPECT_EQ(store.Template().GetBand(0).Stop, 0.2);
  store.SetTemplateName("high");
  EXPECT_EQ(store.Template().Count(), 2);
}

}  // namespace
}  // namespace sig
