// The band levels of the spectrum analyser: band RMS by shape, reference and spectrum type,
// edges in any order, an edge set between the others, the table text, the stream form of a
// band list and the templates.
// Covers signal/SpectrumBands.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/classlib/StringLists.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumBands.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::LinesOf;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using testsupport::Tone;

TSpectrumBandRecord Band(double F1, double F2, double F3, double F4, std::uint8_t Reference = 0,
                         bool AdjustForType = false, std::int32_t PeakIndex = 0) {
  TSpectrumBandRecord band;
  band.Active = true;
  band.F1 = F1;
  band.F2 = F2;
  band.F3 = F3;
  band.F4 = F4;
  band.Reference = Reference;
  band.AdjustForType = AdjustForType;
  band.PeakIndex = PeakIndex;
  return band;
}

// A unit sine at 100 Hz, 1024 samples at 1024 Hz: lines 1 Hz apart.
struct SpectrumBandsOfASine : ::testing::Test {
  TSignal x;
  TSpectrumAnalyzer a;
  SpectrumBandsOfASine() {
    Tone(x, 1024, 100, 1.0, 0, 1024);
    a.SetInput(&x);
  }
  double RmsOf(const TSpectrumBandRecord& B) {
    TSpectrumBands& bands = a.Bands().Template();
    bands.Clear();
    bands.AddBand(B);
    a.Update();
    return bands.GetBand(0).Rms;
  }
};

TEST_F(SpectrumBandsOfASine, ARectangleAroundTheSineHoldsItsRms) {
  EXPECT_TRUE(NearRel(RmsOf(Band(90, 90, 110, 110)), 1 / std::sqrt(2.0), 1e-12));
  // Its edges in any order.
  EXPECT_TRUE(NearRel(RmsOf(Band(110, 110, 90, 90)), 1 / std::sqrt(2.0), 1e-12));
  EXPECT_TRUE(NearRel(RmsOf(Band(110, 90, 110, 90)), 1 / std::sqrt(2.0), 1e-12));
  // The flat top ends before F3's line: a band up to 100 Hz leaves the sine out.
  EXPECT_LT(RmsOf(Band(90, 90, 100, 100)), 1e-12);
}

TEST_F(SpectrumBandsOfASine, ReferencesScaleTheEdges) {
  // Multiples of the sampling frequency (1024 Hz), of the order frequency (1 Hz unless
  // tracked) and of a marked peak's frequency.
  EXPECT_TRUE(NearRel(RmsOf(Band(90.0 / 1024, 90.0 / 1024, 110.0 / 1024, 110.0 / 1024, 1)), 1 / std::sqrt(2.0), 1e-12));
  EXPECT_TRUE(NearRel(RmsOf(Band(90, 90, 110, 110, 2)), 1 / std::sqrt(2.0), 1e-12));
  a.Marks().AddMark(TMarkRecord{50, 0, 0, 0});
  a.Marks().AddMark(TMarkRecord{100, 0, 0, 0});
  EXPECT_TRUE(NearRel(RmsOf(Band(0.9, 0.9, 1.1, 1.1, 3, false, 1)), 1 / std::sqrt(2.0), 1e-12));
  EXPECT_LT(RmsOf(Band(0.9, 0.9, 1.1, 1.1, 3, false, 0)), 1e-12);
  // Without the mark every edge is line 0: nothing.
  EXPECT_EQ(RmsOf(Band(0.9, 0.9, 1.1, 1.1, 3, false, 2)), 0.0);
}

TEST_F(SpectrumBandsOfASine, AdjustingForThePowerSpectrum) {
  Tone(x, 1024, 100, 2.0, 0, 1024);
  a.SetSpectrumType(dsp::spPower);
  // The line holds 4 (power): taken as power it is a sine of amplitude 2, taken as an
  // amplitude a sine of amplitude 4.
  EXPECT_TRUE(NearRel(RmsOf(Band(90, 90, 110, 110, 0, true)), std::sqrt(2.0), 1e-12));
  EXPECT_TRUE(NearRel(RmsOf(Band(90, 90, 110, 110, 0, false)), 4 / std::sqrt(2.0), 1e-12));
  // A complex spectrum's lines cannot be adjusted: its band has no RMS, and the update goes on.
  a.SetSpectrumType(dsp::spComplex);
  EXPECT_TRUE(std::isnan(RmsOf(Band(90, 90, 110, 110, 0, true))));
}

// Lines i hold i; edges at lines 10, 14, 20, 22 weight the rising lines 10 .. 13 by 0, 1/4,
// 2/4, 3/4 and the falling lines 20, 21 by 1, 1/2: squares 138.625, flat top 14^2 .. 19^2 =
// 1651, falling 510.25; a band RMS of peak amplitudes is the root of half their sum.
TEST(SpectrumBands, EdgesAreWeightedByTheirRamp) {
  TSpectrumAnalyzer a;
  ASSERT_EQ(a.Length(), 64);
  for (int i = 0; i < 64; ++i) a.Amplt().Values()[i] = i;
  const double r = a.HzRes();
  TSpectrumBands& bands = a.Bands().Template();
  bands.AddBand(Band(10 * r, 14 * r, 20 * r, 22 * r));
  bands.AddBand(Band(10 * r, 10.2 * r, 20 * r, 20.4 * r));  // edges within a line: none
  TSpectrumBandRecord inactive = Band(0, 0, 63 * r, 63 * r);
  inactive.Active = false;
  inactive.Rms = -1;
  bands.AddBand(inactive);
  bands.Update();
  EXPECT_TRUE(NearRel(bands.GetBand(0).Rms, std::sqrt((138.625 + 1651 + 510.25) / 2), 1e-14));
  double flat = 0;
  for (int i = 10; i < 20; ++i) flat += i * i;
  EXPECT_TRUE(NearRel(bands.GetBand(1).Rms, std::sqrt(flat / 2), 1e-14));
  EXPECT_EQ(bands.GetBand(2).Rms, -1.0);
}

TEST(SpectrumBands, TableShowsEdgesOnlyWhereABandHasThem) {
  TSpectrumAnalyzer a;
  TSpectrumBandsAnalyzer& bands = a.Bands();
  TSpectrumBandRecord rectangle = Band(90, 90, 110, 110);
  rectangle.Rms = 0.70710678;
  bands.Template().AddBand(rectangle);
  classlib::TStringList two;
  bands.BandsToText(two, "", "Frequency range [Hz]", "RMS", "0.000");
  EXPECT_EQ(LinesOf(two), (std::vector<std::string>{
                            "Frequency range [Hz]                              RMS",
                            "90                       110                      0.707",
                        }));
  TSpectrumBandRecord trapezoid = Band(1.5, 2, 3, 4);
  trapezoid.Rms = 2.5;
  bands.Template().AddBand(trapezoid);
  TSpectrumBandRecord inactive = Band(7, 8, 9, 10);
  inactive.Active = false;
  bands.Template().AddBand(inactive);
  classlib::TStringList four;
  four.Add("kept");
  bands.BandsToText(four, "0.0", "Frequency range [Hz]", "RMS", "");
  EXPECT_EQ(LinesOf(four), (std::vector<std::string>{
                             "kept",
                             "Frequency range [Hz]                                                                                RMS",
                             "90.0                     110.0                    0.70710678",
                             "1.5                      2.0                      3.0                      4.0                      2.5",
                         }));
  classlib::TStringList untitled;
  bands.BandsToText(untitled, "", "", "", "");
  EXPECT_EQ(untitled.Count(), 2);
}

TEST(SpectrumBands, StreamFormOfABandList) {
  TSpectrumAnalyzer a;
  TSpectrumBands& bands = a.Bands().Template();
  classlib::TMemoryStream empty;
  bands.SaveToStream(empty);
  EXPECT_EQ(empty.Size(), 47);
  bands.AddBand(Band(1, 2, 3, 4, 3, true, 7));
  bands.AddBand(Band(5, 6, 7, 8));
  classlib::TMemoryStream stream;
  bands.SaveToStream(stream);
  ASSERT_EQ(stream.Size(), 3 * 47);
  // The header's Rms holds the count; the first band's bytes at 47.
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  double count = 0;
  std::memcpy(&count, bytes + 33, 8);
  EXPECT_EQ(count, 2.0);
  EXPECT_EQ(bytes[47], 1);
  EXPECT_EQ(bytes[47 + 41], 3);
  EXPECT_EQ(bytes[47 + 42], 1);
  EXPECT_EQ(bytes[47 + 43], 7);
  stream.SetPosition(0);
  TSpectrumAnalyzer b;
  b.Bands().Template().LoadFromStream(stream);
  ASSERT_EQ(b.Bands().Template().Count(), 2);
  const TSpectrumBandRecord& read = b.Bands().GetBand(0);
  EXPECT_EQ(read.F3, 3.0);
  EXPECT_EQ(read.Reference, 3);
  EXPECT_TRUE(read.AdjustForType);
  EXPECT_EQ(read.PeakIndex, 7);
}

// A count that is no whole number, negative or beyond the bytes, or a reference above 3, is
// refused: the list and the stream's position stay as they were.
TEST(SpectrumBands, MalformedBandListsAreRefused) {
  const struct {
    double Count;
    std::uint8_t Reference;
    std::string Message;
  } cases[] = {
      {2.5, 0, "Band template: the band count 2.5 is not a whole number"},
      {-1, 0, "Band template: the band count -1 is not a whole number"},
      {NAN, 0, "Band template: the band count NAN is not a whole number"},
      {3, 0, "Band template: 3 bands need 141 bytes, 47 are left"},
      {1, 7, "Band template: band 0 has the reference 7, not 0 .. 3"},
  };
  for (const auto& c : cases) {
    classlib::TMemoryStream stream;
    TSpectrumBandRecord header;
    header.Rms = c.Count;
    header.WriteRecord(stream);
    Band(1, 2, 3, 4, c.Reference).WriteRecord(stream);
    stream.SetPosition(0);
    TSpectrumAnalyzer a;
    a.Bands().Template().AddBand(Band(9, 9, 9, 9));
    EXPECT_TRUE(Raises([&] { a.Bands().Template().LoadFromStream(stream); }, c.Message)) << c.Count;
    EXPECT_EQ(stream.Position(), 0);
    ASSERT_EQ(a.Bands().Template().Count(), 1);
    EXPECT_EQ(a.Bands().GetBand(0).F1, 9.0);
  }
  classlib::TMemoryStream cut;
  cut.WriteUInt8(0);
  cut.SetPosition(0);
  TSpectrumAnalyzer a;
  EXPECT_TRUE(Raises([&] { a.Bands().Template().LoadFromStream(cut); },
                     "Band template: 1 bytes are too few for its 47-byte header"));
}

TEST(SpectrumBands, TemplatesOfBandsTravelWithTheAnalyser) {
  TSpectrumAnalyzer a;
  TSpectrumBandsAnalyzer& bands = a.Bands();
  EXPECT_TRUE(Raises([&] { bands.SetTemplate(nullptr); }, "Operation not supported!"));
  bands.Template().AddBand(Band(1, 2, 3, 4));
  bands.AddTemplate("Octaves");
  bands.AddEmptyTemplate("Thirds");
  EXPECT_EQ(bands.Template().Count(), 0);
  bands.Template().AddBand(Band(5, 6, 7, 8));
  bands.Template().AddBand(Band(9, 9, 9, 9));
  bands.SetTemplateName("Octaves");
  EXPECT_EQ(bands.Template().Count(), 1);
  classlib::TMemoryStream stream;
  a.SaveToStream(stream);
  stream.SetPosition(0);
  TSpectrumAnalyzer b;
  b.LoadFromStream(stream);
  EXPECT_EQ(b.Bands().Templates().Count(), 2);
  EXPECT_EQ(b.Bands().TemplateIndex(), 0);
  EXPECT_EQ(b.Bands().GetBand(0).F4, 4.0);
  b.Bands().SetTemplateName("Thirds");
  EXPECT_EQ(b.Bands().Template().Count(), 2);
}

TEST(SpectrumBands, SettingAnEdgeMovesOnlyTheEdgesItCrosses) {
  struct TCase {
    std::int32_t Edge;
    double Value;
    double F1, F2, F3, F4;
  };
  // From 10, 20, 30, 40.
  const TCase cases[] = {
      {1, 5, 5, 20, 30, 40},    {1, 35, 35, 35, 35, 40}, {1, 50, 50, 50, 50, 50},
      {2, 35, 10, 35, 35, 40},  {2, 5, 5, 5, 30, 40},    {3, 15, 10, 15, 15, 40},
      {3, 5, 5, 5, 5, 40},      {3, 45, 10, 20, 45, 45}, {4, 25, 10, 20, 25, 25},
      {4, -1, -1, -1, -1, -1},  {0, 99, 10, 20, 30, 40}, {5, 99, 10, 20, 30, 40},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "F" << c.Edge << " := " << c.Value);
    TSpectrumBandRecord band = Band(10, 20, 30, 40);
    SetBandEdge(band, c.Edge, c.Value);
    EXPECT_EQ(band.F1, c.F1);
    EXPECT_EQ(band.F2, c.F2);
    EXPECT_EQ(band.F3, c.F3);
    EXPECT_EQ(band.F4, c.F4);
  }
}

}  // namespace
}  // namespace sig
