// The time analyser's text report, section by section, compared line for line.
// Covers signal/SignalReport.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/classlib/StringLists.h"
#include "signal/SignalAnalyzer.h"
#include "signal/SignalCollections.h"
#include "signal/SignalInternal.h"
#include "signal/SignalReport.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::NearRel;
using orvel::testing::Raises;

using TLines = std::vector<std::string>;

constexpr TSignalReportSet Item(TSignalReportItems I) { return static_cast<TSignalReportSet>(1u << I); }

// A table row: the first column padded to 25 characters.
std::string TwoColumnRow(const std::string& A, const std::string& B) { return A + std::string(25 - A.size(), ' ') + B; }

TLines Report(const TSignalAnalyzer& a, TSignalReportSet Items) {
  a.Report().SetReportItems(Items);
  classlib::TStringList lines;
  a.Report().BuildReport(lines);
  return orvel::testing::LinesOf(lines);
}

// The analyser of Values at Fs, updated.
struct TAnalysed {
  TSignal x;
  TSignalAnalyzer a;
  TAnalysed(const std::vector<double>& Values, double Fs) {
    x.Data().SetIt(false, Values);
    x.SetSamplingFrequency(Fs);
    a.SetInput(&x);
    a.Update();
  }
};

// The number after Label in the line that starts with it.
double ValueOf(const TLines& Lines, const std::string& Label) {
  for (const std::string& line : Lines)
    if (line.rfind(Label, 0) == 0) return std::stod(line.substr(Label.size()));
  ADD_FAILURE() << "no line " << Label;
  return NAN;
}

TEST(SignalReport, NeedsItsAnalyser) { EXPECT_TRUE(Raises([] { TSignalReport r(nullptr); }, "AOwner = nil")); }

TEST(SignalReport, TheSettingsAreAlwaysWritten) {
  TAnalysed t({1, 2}, 1);
  EXPECT_EQ(Report(t.a, 0), (TLines{"Transform: Window", "Window: Rectangular", ""}));
}

TEST(SignalReport, GeneralInfoAndSettings) {
  TAnalysed t({1, 2, 3, 4}, 44100);
  t.a.SetScaleFactor(0.5);
  t.a.SetIntegration(inTwice);
  t.a.SetRemoveDC(true);
  t.a.SetRotation(-5);
  t.a.SetWindow(dsp::wtChebyshev);
  t.a.SetSidelobeAtt(80);
  t.a.Update();
  EXPECT_EQ(Report(t.a, Item(srsGeneralInfo)), (TLines{
                                                   "General info:",
                                                   "",
                                                   "Sampling frequency: 44100 [Hz]",
                                                   "Bandwidth: 22050 [Hz]",
                                                   "Samples analyzed: 4",
                                                   "Signal length: " + detail::GeneralText(4.0 / 44100) + " [s]",
                                                   "",
                                                   "Scale factor: 0.5",
                                                   "Integration/differentiation: Integrate 2x",
                                                   "Mean subtracted",
                                                   "Signal rotated by -5 samples.",
                                                   "Transform: Window",
                                                   "Window: Chebyshev",
                                                   "Sidelobe attenuation: 80.00 [dB]",
                                                   "",
                                               }));
}

TEST(SignalReport, SettingsOfEachTransform) {
  TSignal y;
  y.Data().SetIt(false, std::vector<double>{1, 2, 3});
  TAnalysed t({1, 2, 3, 4}, 1);
  t.a.Inputs()->Add()->SetInput(&y);
  t.a.SetCorrTaps1(12);
  t.a.SetCorrTaps2(3);
  t.a.SetTransform(ttAutoCorr);
  t.a.SetAutoCorrType(ctBiased);
  EXPECT_EQ(Report(t.a, 0), (TLines{"Transform: Autocorreation", "Autocorrelation type: Biased",
                                    "Autocorrelation taps: 12", ""}));
  t.a.SetTransform(ttCrossCorr);
  EXPECT_EQ(Report(t.a, 0), (TLines{"Transform: Cross correlation", "Autocorrelation taps 1: 12",
                                    "Autocorrelation taps 2: 3", ""}));
  t.a.SetTransform(ttInverseDct);
  EXPECT_EQ(Report(t.a, 0), (TLines{"Transform: Inverse discrete cosine transform", ""}));
  t.a.SetTransform(ttCplxCepstrum);
  EXPECT_EQ(Report(t.a, 0), (TLines{"Transform: Complex cepstrum", ""}));
}

// Without an input the two lines read from it are left out.
TEST(SignalReport, GeneralInfoWithoutAnInput) {
  TSignalAnalyzer a;
  EXPECT_EQ(Report(a, Item(srsGeneralInfo)), (TLines{
                                                 "General info:",
                                                 "",
                                                 "Sampling frequency: 1 [Hz]",
                                                 "Bandwidth: 0.5 [Hz]",
                                                 "",
                                                 "Transform: Window",
                                                 "Window: Rectangular",
                                                 "",
                                             }));
}

// 1, 2, 3, 4, 10: mean 4, deviations -3 .. 6, sample deviation s = sqrt(50 / 4), RMS
// sqrt(130 / 5), peak 6, third standardised moment 36 / s^3, fourth 278.8 / 10^2 (the numeric
// core's kurtosis is in units of the population deviation, sqrt(50 / 5)).
TEST(SignalReport, StatisticsOfTheAnalysedSignal) {
  TAnalysed t({1, 2, 3, 4, 10}, 1);
  const TLines lines = Report(t.a, 0x0FF0);
  const double s = std::sqrt(12.5);
  EXPECT_EQ(lines[3], "Statistics:");
  EXPECT_EQ(lines[5], "Mean: 4");
  EXPECT_TRUE(NearRel(ValueOf(lines, "StdDev: "), s, 1e-14));
  EXPECT_EQ(lines[7], "Minimum: 1");
  EXPECT_EQ(lines[8], "Maximum: 10");
  EXPECT_TRUE(NearRel(ValueOf(lines, "RMS: "), std::sqrt(26.0), 1e-14));
  EXPECT_EQ(lines[10], "Peak: 6");
  EXPECT_TRUE(NearRel(ValueOf(lines, "CREST: "), 6 / s, 1e-14));
  EXPECT_TRUE(NearRel(ValueOf(lines, "Skewness: "), 36 / (s * s * s), 1e-13));
  EXPECT_TRUE(NearRel(ValueOf(lines, "Kurtosis: "), 278.8 / 100, 1e-13));
  EXPECT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.back(), "");
}

TEST(SignalReport, PeakAndCrestAlone) {
  // From -1 to 3 with mean 0.5: peak max(2.5, 1.5).
  TAnalysed ramp({-1, 0.5, 0.5, 3, -0.5}, 1);
  EXPECT_EQ(Report(ramp.a, Item(srsPeak)),
            (TLines{"Transform: Window", "Window: Rectangular", "", "Statistics:", "", "Peak: 2.5", ""}));
  // A constant signal has no deviation: CREST 0.
  TAnalysed constant({2, 2, 2}, 1);
  EXPECT_EQ(Report(constant.a, Item(srsCrest)),
            (TLines{"Transform: Window", "Window: Rectangular", "", "Statistics:", "", "CREST: 0", ""}));
}

TEST(SignalReport, MarkedAndSignalValues) {
  TAnalysed t({0.5, -1.25}, 4);
  t.a.Report().SetTimeFormat("0.00");
  t.a.Report().SetAmplitudeFormat("0.000");
  EXPECT_EQ(Report(t.a, Item(srsMarkedValues)).size(), 3u);
  t.a.Marks().AddMark(TMarkRecord{0, -1.25, 0, 0.25});
  EXPECT_EQ(Report(t.a, Item(srsMarkedValues) | Item(srsSignalValues)),
            (TLines{
                "Transform: Window",
                "Window: Rectangular",
                "",
                "Marked values:",
                "",
                TwoColumnRow("Time [s]", "Amplitude"),
                TwoColumnRow("0.25", "-1.250"),
                "",
                "Signal values:",
                "",
                TwoColumnRow("Time [s]", "Amplitude"),
                TwoColumnRow("0.00", "0.500"),
                TwoColumnRow("0.25", "-1.250"),
                "",
            }));
}

TEST(SignalReport, DateAndTimeComeFirst) {
  TAnalysed t({1, 2}, 1);
  const std::string before = detail::NowText();
  const TLines lines = Report(t.a, Item(srsDateTime));
  const std::string after = detail::NowText();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_TRUE(lines[0] == "Date/time: " + before || lines[0] == "Date/time: " + after) << lines[0];
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Transform: Window");
}

}  // namespace
}  // namespace sig
