// The spectrum analyser's text report, section by section, compared line for line.
// Covers signal/SpectrumReport.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/classlib/StringLists.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::NearRel;
using orvel::testing::Raises;
using testsupport::Tone;

using TLines = std::vector<std::string>;

constexpr TSpectrumReportSet Item(TSpectrumReportItems I) { return static_cast<TSpectrumReportSet>(1u << I); }

// A table row: each column but the last padded to 25 characters.
std::string Row(const std::string& A, const std::string& B, const std::string& C = "") {
  return A + std::string(25 - A.size(), ' ') + B + std::string(B.size() < 25 ? 25 - B.size() : 0, ' ') + C;
}

TLines Report(TSpectrumAnalyzer& a, TSpectrumReportSet Items) {
  a.Report().SetReportItems(Items);
  classlib::TStringList lines;
  a.Report().BuildReport(lines);
  return orvel::testing::LinesOf(lines);
}

// 4096 samples of a sine at 44100 Hz.
struct SpectrumReportAt44100 : ::testing::Test {
  TSignal x;
  TSpectrumAnalyzer a;
  SpectrumReportAt44100() {
    Tone(x, 4096, 100, 1.0, 0, 44100);
    a.SetInput(&x);
    a.Update();
  }
};

TEST(SpectrumReport, NeedsItsAnalyser) { EXPECT_TRUE(Raises([] { TSpectrumReport r(nullptr); }, "AOwner = nil")); }

TEST_F(SpectrumReportAt44100, NoItemsAppendNothing) {
  classlib::TStringList lines;
  lines.Add("kept");
  a.Report().SetReportItems(0);
  a.Report().BuildReport(lines);
  EXPECT_EQ(lines.Count(), 1);
}

// Empty formats write 15 significant digits: 44100 without decimals.
TEST_F(SpectrumReportAt44100, GeneralInfo) {
  EXPECT_EQ(Report(a, Item(sriGeneralInfo)), (TLines{
                                                 "General info:",
                                                 "",
                                                 "Sampling frequency: 44100 [Hz]",
                                                 "Bandwidth: 22050 [Hz]",
                                                 "Samples analyzed: 4096",
                                                 "Frequency bins: 2048",
                                                 "Signal length: 0.0928798185941043 [s]",
                                                 "Frequency resolution: 10.7666015625 [Hz]",
                                                 "Frequency bin spacing: 10.7666015625 [Hz]",
                                                 "",
                                                 "Spectrum type: Peak amplitude",
                                                 "Spectrum method: FFT",
                                                 "Window: Rectangular",
                                                 "",
                                             }));
}

// A Kaiser window with an autoregressive method: the model's order and the window's two
// lines; averaging, a scale and an integration each add theirs; a format applies to the
// frequencies.
TEST_F(SpectrumReportAt44100, GeneralInfoOfOtherSettings) {
  a.SetMethod(smBurg);
  a.SetAROrder(12);
  a.SetWindow(dsp::wtKaiser);
  a.SetSidelobeAtt(90);
  a.SetScaleFactor(2.5);
  a.SetIntegration(diffOnce);
  a.SetSpectrumType(dsp::spPower);
  a.Stats().SetAveraging(avExponentInf);
  a.Update();
  a.Update();
  a.Report().SetFrequencyFormat("0.0");
  EXPECT_EQ(Report(a, Item(sriGeneralInfo)), (TLines{
                                                 "General info:",
                                                 "",
                                                 "Sampling frequency: 44100.0 [Hz]",
                                                 "Bandwidth: 22050.0 [Hz]",
                                                 "Samples analyzed: 4096",
                                                 "Frequency bins: 2048",
                                                 "Signal length: 0.0928798185941043 [s]",
                                                 "Frequency resolution: 10.8 [Hz]",
                                                 "Frequency bin spacing: 10.8 [Hz]",
                                                 "",
                                                 "Averaging type: Exponential",
                                                 "Averages: 2",
                                                 "Spectrum type: Peak power",
                                                 "Spectrum method: Burg",
                                                 "Autoregressive order: 12",
                                                 "Kaiser beta: " + detail::GeneralText(dsp::KaiserBetaFromSidelobe(90)),
                                                 "Kaiser sidelobe attenuation: 90.00 [dB]",
                                                 "Scale factor: 2.5",
                                                 "Integration/differentiation: Differentiate 1x",
                                                 "",
                                             }));
  // A scale factor of exactly 1 writes no line; the real cepstrum names no method and no window.
  a.SetScaleFactor(1.0);
  a.SetMethod(smRealCepstrum);
  a.SetWindow(dsp::wtHanning);
  const TLines lines = Report(a, Item(sriGeneralInfo));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Spectrum method: "), 1);
  for (const std::string& line : lines) {
    EXPECT_NE(line.rfind("Scale factor", 0), 0u) << line;
    EXPECT_NE(line.rfind("Window", 0), 0u) << line;
  }
}

// Without an input the lines read from it are left out.
TEST(SpectrumReport, GeneralInfoWithoutAnInput) {
  TSpectrumAnalyzer a;
  EXPECT_EQ(Report(a, Item(sriGeneralInfo)), (TLines{
                                                 "General info:",
                                                 "",
                                                 "Sampling frequency: 0 [Hz]",
                                                 "Bandwidth: 0 [Hz]",
                                                 "Frequency bins: 64",
                                                 "Frequency bin spacing: 0 [Hz]",
                                                 "",
                                                 "Spectrum type: Peak amplitude",
                                                 "Spectrum method: FFT",
                                                 "Window: Rectangular",
                                                 "",
                                             }));
}

TEST_F(SpectrumReportAt44100, MarkedPeaksWithTheirFormatsAndInterpolation) {
  // No marks: no section.
  EXPECT_TRUE(Report(a, Item(sriMarkedPeaks)).empty());
  a.Marks().AddMark(TMarkRecord{1076.66015625, 1.0, 90.0, 0});
  a.Marks().AddMark(TMarkRecord{2153.3203125, 0.5, -45.5, 0});
  a.Report().SetFrequencyFormat("0.00");
  a.Report().SetAmplitudeFormat("0.000");
  a.Report().SetPhaseFormat("0.0");
  EXPECT_EQ(Report(a, Item(sriMarkedPeaks)), (TLines{
                                                 "Marked peaks:",
                                                 "",
                                                 Row("Frequency [Hz]", "Peak amplitude", "Phase [degrees]"),
                                                 Row("1076.66", "1.000"),
                                                 Row("2153.32", "0.500"),
                                                 "",
                                                 "",
                                             }));
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Peaks().Interpolation().SetPrecision(ip8);
  a.SetPhaseUnits(puRad);
  EXPECT_EQ(Report(a, Item(sriMarkedPeaks) | Item(sriPhase)),
            (TLines{
                "Marked peaks:",
                "",
                Row("Frequency [Hz]", "Peak amplitude", "Phase [radians]"),
                Row("1076.66", "1.000", "90.0"),
                Row("2153.32", "0.500", "-45.5"),
                "",
                "Peak interpolation: Numeric",
                "Interpolation precision: 1E-8",
                "",
            }));
  a.Peaks().Interpolation().SetMethod(imQuinnFirst);
  a.SetSpectrumType(dsp::spComplex);
  EXPECT_EQ(Report(a, Item(sriMarkedPeaks)), (TLines{
                                                 "Marked peaks:",
                                                 "",
                                                 Row("Frequency [Hz]", "Real", "Imaginary"),
                                                 Row("1076.66", "1.000", "90.0"),
                                                 Row("2153.32", "0.500", "-45.5"),
                                                 "",
                                                 "Peak interpolation: Quinn''s first",
                                                 "",
                                             }));
}

TEST_F(SpectrumReportAt44100, BandsTable) {
  EXPECT_TRUE(Report(a, Item(sriBandsRMS)).empty());
  TSpectrumBandRecord band;
  band.Active = true;
  band.F1 = band.F2 = 0;
  band.F3 = band.F4 = 22050;
  a.Bands().Template().AddBand(band);
  a.Update();
  a.Report().SetAmplitudeFormat("0.0000");
  EXPECT_EQ(Report(a, Item(sriBandsRMS)), (TLines{
                                              "RMS of frequency bands:",
                                              "",
                                              Row("Frequency range [Hz]", "", "RMS"),
                                              Row("0", "22050", "0.7071"),
                                              "",
                                          }));
}

TEST_F(SpectrumReportAt44100, ThdAloneWithoutMarks) {
  EXPECT_EQ(Report(a, Item(sriTHD)), (TLines{
                                         "Statistics:",
                                         "",
                                         "Total harmonic distortion (THD): 0.00 [%]",
                                         "No peaks have been marked!",
                                         "",
                                     }));
}

// Three tones (1, 0.01, 0.005) marked by ptLargest: THD 1.118034 %.
TEST(SpectrumReport, StatisticsOfThreeMarkedTones) {
  TSignal x;
  testsupport::ThreeTones(x);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().SetLargestCount(3);
  a.Update();
  EXPECT_TRUE(NearRel(a.THD(), 1.118034, 1e-6));
  const TLines lines = Report(a, Item(sriTHD) | Item(sriSFDR) | Item(sriRMS));
  EXPECT_EQ(lines, (TLines{
                       "Statistics:",
                       "",
                       "Total harmonic distortion (THD): 1.12 [%]",
                       "Spurious free dynamic range (SFDR): 40.00 [dB]",
                       "Root mean square (RMS): " + detail::GeneralText(a.BandRMS(a.PaddingRatio())),
                       "",
                       "",
                   }));
  // sqrt(1 + 0.01^2 + 0.005^2) / sqrt(2), with the rounding noise of the other lines.
  EXPECT_EQ(lines[4].substr(0, 32), "Root mean square (RMS): 0.707150");
  // The messages: one mark for THD, a decibel scale, RMS of another spectrum type. On the
  // decibel scale the one peak reads 0 dB, which THD and NF cannot divide by.
  a.Peaks().SetLargestCount(1);
  a.SetLogarithmic(true);
  a.SetSpectrumType(dsp::spRMS);
  a.Update();
  EXPECT_EQ(Report(a, Item(sriTHD) | Item(sriRMS) | Item(sriNF)),
            (TLines{
                "Statistics:",
                "",
                "Total harmonic distortion (THD): n/a [%]",
                "Noise floor (NF): n/a [dB]",
                "Root mean square (RMS): " + detail::GeneralText(a.BandRMS(a.PaddingRatio())),
                "THD and SFDR require at least two marked peaks!",
                "Spectrum scale is not linear!",
                "RMS: spectrum type is not peak amplitude!",
                "",
            }));
}

// A cosine of one cycle in 8 samples, phase 0.5 rad (28.6 degrees): its line and the empty
// ones; the phase column only with sriPhase.
TEST(SpectrumReport, FrequencyLines) {
  TSignal x;
  Tone(x, 8, 1, 1.0, 0.5, 8, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Update();
  a.Report().SetAmplitudeFormat("0.00");
  a.Report().SetPhaseFormat("0");
  EXPECT_EQ(Report(a, Item(sriFrequencyLines)), (TLines{
                                                    "Frequency lines:",
                                                    "",
                                                    Row("Frequency [Hz]", "Peak amplitude", "Phase [degrees]"),
                                                    Row("0", "0.00"),
                                                    Row("1", "1.00"),
                                                    Row("2", "0.00"),
                                                    Row("3", "0.00"),
                                                    "",
                                                }));
  EXPECT_EQ(Report(a, Item(sriFrequencyLines) | Item(sriPhase))[4], Row("1", "1.00", "29"));
}

TEST_F(SpectrumReportAt44100, DateAndTimeComeFirst) {
  const std::string before = detail::NowText();
  const TLines lines = Report(a, Item(sriDateTime) | Item(sriTHD));
  const std::string after = detail::NowText();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_TRUE(lines[0] == "Date/time: " + before || lines[0] == "Date/time: " + after) << lines[0];
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "Statistics:");
}

}  // namespace
}  // namespace sig
