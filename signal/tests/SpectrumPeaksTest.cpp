// The peaks object of the spectrum analyser: interpolation between the lines and when it is
// suspended, the trace methods, the main lobe's width, order tracking and the removal of a
// marked tone.
// Covers signal/SpectrumPeaks.cpp, the analyser's RefineFrequency and PeakFilter
// (signal/SpectrumAnalyzer.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::NearRel;
using orvel::testing::Raises;
using testsupport::ComplexTone;
using testsupport::Tone;

// The line positions of the marks.
std::vector<double> MarkLines(const TSpectrumAnalyzer& a) {
  std::vector<double> lines;
  for (std::int32_t i = 0; i < a.Marks().Count(); ++i)
    lines.push_back((a.Marks().GetMark(i).First - a.StartFrequency()) / a.HzRes());
  return lines;
}

// An analyser of 64 lines (Fs 1) whose amplitudes are Values from line First, zeros elsewhere.
void SetLines(TSpectrumAnalyzer& a, int First, const std::vector<double>& Values) {
  a.Amplt().SetZero();
  for (std::size_t i = 0; i < Values.size(); ++i) a.Amplt().Values()[First + static_cast<int>(i)] = Values[i];
}

struct TLinesCase {
  TInterpolationMethod Method;
  double Offset;  // in lines from line 10
};

// Amplitudes 1, 2, 2 at lines 9, 10, 11: the parabola peaks half a line up, the centre of
// gravity a fifth, Jain's ratio half a line.
TEST(SpectrumPeaks, ThreeLineMethodsOnOneTwoTwo) {
  const TLinesCase cases[] = {{imNone, 0.0}, {imQuadratic, 0.5}, {imBarycentric, 0.2}, {imJain, 0.5}};
  for (const TLinesCase& c : cases) {
    TSpectrumAnalyzer a;
    SetLines(a, 9, {1, 2, 2});
    a.Peaks().Interpolation().SetMethod(c.Method);
    const double f = a.RefineFrequency(10 * a.HzRes());
    EXPECT_TRUE(NearRel(f / a.HzRes(), 10 + c.Offset, 1e-14)) << c.Method;
    // From a line beside the peak the search first climbs to it.
    EXPECT_EQ(a.Peaks().InterpolateFrequency(9 * a.HzRes()), f) << c.Method;
  }
}

// Flat tops, empty spectra and zero sums keep the peak's line: nothing is divided by 0. A
// peak on the first or last line is read from the three lines beside the edge, never from
// outside the spectrum.
TEST(SpectrumPeaks, DegenerateLinesKeepThePeaksLine) {
  struct TCase {
    TInterpolationMethod Method;
    int First;
    std::vector<double> Values;
    double From, Expected;  // in lines
  };
  const TCase cases[] = {
      {imQuadratic, 9, {2, 2, 2}, 10, 10},         // 2b - a - c = 0
      {imJain, 0, {}, 10, 10},                     // 0 / 0
      {imBarycentric, 9, {-2, 1, 1}, 10, 10},      // a + b + c = 0
      {imQuinnSecond, 9, {1, 2, 2}, 10, 10},       // no frame spectrum to read
      {imQuadratic, 0, {5, 1}, 0, 5.0 / 6},        // lines 0 .. 2
      {imJain, 61, {0, 1, 5}, 63, 62 + 5.0 / 6},   // lines 61 .. 63
  };
  for (const TCase& c : cases) {
    TSpectrumAnalyzer a;
    SetLines(a, c.First, c.Values);
    a.Peaks().Interpolation().SetMethod(c.Method);
    EXPECT_TRUE(NearRel(a.RefineFrequency(c.From * a.HzRes()) / a.HzRes(), c.Expected, 1e-14))
        << c.Method << " from line " << c.From;
  }
  // Fewer than three lines leave nothing to interpolate.
  TSpectrumAnalyzer a;
  a.SetLength(2);
  SetLines(a, 0, {1, 2});
  a.Peaks().Interpolation().SetMethod(imQuadratic);
  EXPECT_EQ(a.RefineFrequency(0.0), a.HzRes());
}

// A sine at line 100.3 of 1024 samples (phase 0.7 rad, mean removed), rectangular window,
// its largest peak marked: each method's estimate of 100.3 (to 1e-4 line, the values of
// numpy on the same frame; SignalAnalysisOracle checks them closely).
TEST(SpectrumPeaks, SineBetweenLinesByEachMethod) {
  struct TCase {
    TInterpolationMethod Method;
    double Line;
  };
  const TCase cases[] = {{imNone, 100},          {imQuadratic, 100.0726}, {imBarycentric, 100.1174},
                         {imQuinnFirst, 100.2990}, {imQuinnSecond, 100.2992}, {imJain, 100.2990}};
  TSignal x;
  Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
  for (const TCase& c : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.Peaks().SetTraceMethod(ptLargest);
    a.Peaks().Interpolation().SetMethod(c.Method);
    a.Update();
    ASSERT_EQ(a.Marks().Count(), 1);
    EXPECT_NEAR(MarkLines(a)[0], c.Line, 5e-5) << c.Method;
    // A Hanning window suspends the three-line and Quinn methods: the line is kept.
    a.SetWindow(dsp::wtHanning);
    a.Update();
    if (c.Method >= imQuadratic) {
      EXPECT_EQ(MarkLines(a)[0], 100.0) << c.Method;
    }
  }
}

// Quinn's second estimate read on the exact path: the mark's amplitude and phase at it.
TEST(SpectrumPeaks, MarkAtQuinnsEstimateCarriesAmplitudeAndPhase) {
  TSignal x;
  Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().Interpolation().SetMethod(imQuinnSecond);
  a.Update();
  const TMarkRecord& mark = a.Marks().GetMark(0);
  EXPECT_NEAR(mark.Second, 1.00142, 5e-6);
  EXPECT_NEAR(mark.Third, 40.29, 5e-3);
  EXPECT_EQ(mark.Second, a.AmpltAt(mark.First));
  EXPECT_EQ(mark.Third, a.PhaseAt(mark.First));
}

// Which settings suspend which methods to the peak's line.
TEST(SpectrumPeaks, SettingsThatSuspendAMethod) {
  const struct {
    std::string Name;
    std::function<void(TSignal&, TSpectrumAnalyzer&)> Set;
    std::vector<TInterpolationMethod> Suspended, Kept;
  } cases[] = {
      {"power", [](TSignal&, TSpectrumAnalyzer& a) { a.SetSpectrumType(dsp::spPower); },
       {imQuadratic, imBarycentric, imQuinnFirst, imQuinnSecond, imJain}, {imNumeric}},
      {"zero padding", [](TSignal&, TSpectrumAnalyzer& a) { a.SetZeroPadding(2); },
       {imQuadratic, imJain, imQuinnSecond}, {imNumeric}},
      {"1000 samples", [](TSignal& x, TSpectrumAnalyzer&) { Tone(x, 1000, 100.3 * 1000 / 1024, 1.0, 0.7, 1000); },
       {imQuadratic, imBarycentric}, {imNumeric}},
      {"averaging", [](TSignal&, TSpectrumAnalyzer& a) { a.Stats().SetAveraging(avLinearInf); },
       {imNumeric, imQuinnFirst, imQuinnSecond}, {imQuadratic, imJain}},
  };
  for (const auto& c : cases) {
    for (bool suspended : {true, false}) {
      for (TInterpolationMethod method : suspended ? c.Suspended : c.Kept) {
        TSignal x;
        Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
        TSpectrumAnalyzer a;
        a.SetInput(&x);
        c.Set(x, a);
        a.Peaks().SetTraceMethod(ptLargest);
        a.Peaks().Interpolation().SetMethod(method);
        a.Update();
        a.Update();  // the average has a frame then
        const double line = MarkLines(a)[0];
        EXPECT_EQ(line == std::nearbyint(line), suspended) << c.Name << " " << method << " " << line;
      }
    }
  }
}

// The numeric search climbs the exact spectrum to its precision: at 1e-8 of a line it stands
// within 1e-6 line of the maximum (where the spectrum is flat to rounding), at 1/100 of a line
// within 1/100.
TEST(SpectrumPeaks, NumericSearchReachesItsPrecision) {
  TSignal x;
  Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Peaks().Interpolation().SetPrecision(ip8);
  a.Update();
  const double fine = MarkLines(a)[0];
  // No step of 1e-7 line climbs higher.
  const double top = a.AmpltAt(fine * a.HzRes());
  for (double step : {-1e-6, -1e-7, 1e-7, 1e-6}) EXPECT_LE(a.AmpltAt((fine + step) * a.HzRes()), top) << step;
  // scipy.optimize.minimize_scalar on the same frame's transform: 100.2995464198.
  EXPECT_NEAR(fine, 100.2995464, 1e-6);
  a.Peaks().Interpolation().SetPrecision(ip2);
  a.Update();
  EXPECT_NEAR(MarkLines(a)[0], fine, 1e-2);
  EXPECT_NE(MarkLines(a)[0], fine);
}

TEST(SpectrumPeaks, LargestKeepsTheLargestPeaksInAscendingOrder) {
  TSignal x;
  const double amplitudes[] = {0.5, 2.0, 1.0, 3.0, 0.25};
  x.Data().Size(256, false);
  x.Data().SetZero();
  for (int i = 0; i < 5; ++i) Tone(x, 256, 10 + 20 * i, amplitudes[i], 0, 256, false, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().SetLargestCount(3);
  a.Update();
  EXPECT_EQ(MarkLines(a), (std::vector<double>{50, 30, 70}));
  EXPECT_TRUE(NearRel(a.Marks().GetMark(2).Second, 3.0, 1e-12));
  a.Peaks().SetLargestCount(0);
  a.Update();
  EXPECT_EQ(a.Marks().Count(), 0);
  // Within the line limits only.
  a.Peaks().SetLargestCount(2);
  a.Peaks().SetUseFullBandwidth(false);
  a.Peaks().SetBandwidthL(5);
  a.Peaks().SetBandwidthH(45);
  a.Update();
  EXPECT_EQ(MarkLines(a), (std::vector<double>{10, 30}));
}

// The harmonic trace takes the largest line of the frame it traces, on the first update and
// after the fundamental moves.
TEST(SpectrumPeaks, HarmonicTraceFollowsTheCurrentFrame) {
  TSignal x;
  Tone(x, 1024, 100, 1.0, 0, 1024);
  Tone(x, 1024, 200, 0.1, 0, 1024, false, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptAmpltHarmonics);
  a.Peaks().SetHarmonicsCount(4);
  a.Update();
  EXPECT_EQ(MarkLines(a), (std::vector<double>{100, 200, 300, 400}));
  EXPECT_TRUE(NearRel(a.Marks().GetMark(1).Second, 0.1, 1e-12));
  Tone(x, 1024, 120, 1.0, 0, 1024);
  a.Update();
  EXPECT_EQ(MarkLines(a), (std::vector<double>{120, 240, 360, 480}));
  // Ten harmonics of 120 Hz stop at the stop frequency, 512 Hz.
  a.Peaks().SetHarmonicsCount(10);
  a.Update();
  EXPECT_EQ(a.Marks().Count(), 4);
}

// On a spectrum that starts at -Fs/2 (a complex input) harmonic h lies at h F, not h F + f0.
TEST(SpectrumPeaks, HarmonicsOfASpectrumNotStartingAtZero) {
  TSignal x;
  ComplexTone(x, 1024, 100, 1.0, 1024);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptAmpltHarmonics);
  a.Update();
  ASSERT_EQ(a.StartFrequency(), -512.0);
  std::vector<double> hz;
  for (std::int32_t i = 0; i < a.Marks().Count(); ++i) hz.push_back(a.Marks().GetMark(i).First);
  EXPECT_EQ(hz, (std::vector<double>{100, 200, 300, 400, 500}));
}

// A mark moves to the largest line within TraceInterval around it (or, with nothing to
// search, to the nearer line limit), then climbs to its peak and is refined: ptCurrent moves
// it, ptFreqHarmonics builds the series on the lowest mark.
TEST(SpectrumPeaks, TracingNearAMark) {
  TSignal x;
  Tone(x, 1024, 30.3, 1.0, 0.7, 1024);
  Tone(x, 1024, 100.3, 0.5, 0.7, 1024, false, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().Interpolation().SetMethod(imQuinnSecond);
  a.Peaks().SetTraceMethod(ptCurrent);
  a.Update();
  // Every start below lies on a main lobe, from which the climb reaches its peak.
  const struct {
    double Interval, Mark;
    bool Full;
    double Lower, Upper, Expected;  // Hz
  } cases[] = {
      {0, 101, true, 0, 0, 100.3},    // no search: uphill from 101 Hz
      {20, 60, true, 0, 0, 30.3},     // 60 +- 51.2 Hz: the larger tone's line
      {2, 98, true, 0, 0, 100.3},     // 98 +- 5.12 Hz
      {2, 130, false, 0, 31, 30.3},   // beyond the upper limit: from its line, 31
  };
  for (const auto& c : cases) {
    a.Marks().Clear();
    a.Marks().AddMark(TMarkRecord{c.Mark, 0, 0, 0});
    a.Peaks().SetTraceInterval(c.Interval);
    a.Peaks().SetUseFullBandwidth(c.Full);
    a.Peaks().SetBandwidthL(c.Lower);
    a.Peaks().SetBandwidthH(c.Upper);
    a.Update();
    // Each estimate within the other tone's leakage, below 1/100 line.
    EXPECT_NEAR(a.Marks().GetMark(0).First, c.Expected, 1e-2) << c.Interval << " " << c.Mark;
  }
  a.Peaks().SetUseFullBandwidth(true);
  a.Marks().Clear();
  a.Marks().AddMark(TMarkRecord{400, 0, 0, 0});
  a.Marks().AddMark(TMarkRecord{97, 0, 0, 0});
  a.Peaks().SetTraceInterval(2);
  a.Peaks().SetTraceMethod(ptFreqHarmonics);
  a.Peaks().SetHarmonicsCount(3);
  a.Update();
  const std::vector<double> lines = MarkLines(a);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(lines[0], 100.3, 1e-2);
  EXPECT_EQ(lines[1], 2 * lines[0]);
  EXPECT_EQ(lines[2], 3 * lines[0]);
}

// The main lobe widens with the side-lobe attenuation of the Kaiser and Chebyshev windows;
// each threshold is passed only above it.
TEST(SpectrumPeaks, MainLobeWidthFollowsTheWindow) {
  const struct {
    TSignalWindowType Window;
    double Attenuation;
    std::int32_t Width;
  } cases[] = {{dsp::wtRectangular, 200, 6}, {dsp::wtHanning, 200, 6},   {dsp::wtKaiser, 55, 6},
               {dsp::wtKaiser, 55.5, 8},     {dsp::wtKaiser, 90, 8},     {dsp::wtKaiser, 90.5, 9},
               {dsp::wtKaiser, 100.5, 10},   {dsp::wtChebyshev, 116, 12}, {dsp::wtChebyshev, 131, 14},
               {dsp::wtChebyshev, 146, 16},  {dsp::wtKaiser, 161, 17},    {dsp::wtKaiser, 176, 18},
               {dsp::wtKaiser, 191, 19},     {dsp::wtKaiser, 206, 21},    {dsp::wtChebyshev, 230, 21},
               {dsp::wtChebyshev, 231, 23},  {dsp::wtKaiser, 300, 23}};
  TSignal x;
  Tone(x, 256, 10, 1.0);
  for (const auto& c : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetWindow(c.Window);
    a.SetSidelobeAtt(c.Attenuation);
    a.Update();
    EXPECT_EQ(a.MainlobeWidth(), c.Width) << c.Window << " " << c.Attenuation;
  }
}

// While orders are tracked the axis counts multiples of the order frequency, which follows the
// largest peak.
TEST(SpectrumPeaks, OrderFrequencyTracksTheLargestPeak) {
  TSignal x;
  Tone(x, 1024, 50, 1.0, 0, 1024);
  Tone(x, 1024, 150, 0.5, 0, 1024, false, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  TSpectrumPeaksAnalyzer& p = a.Peaks();
  p.SetTraceMethod(ptLargest);
  p.SetLargestCount(2);
  p.SetOrderTracing(otLargest);
  p.SetOrderActive(true);
  a.Update();
  EXPECT_EQ(p.OrderFrequency(), 50.0);
  // The marks are in orders of 50 Hz, sorted by frequency.
  EXPECT_EQ(a.Marks().GetMark(0).First, 1.0);
  EXPECT_EQ(a.Marks().GetMark(1).First, 3.0);
  a.Update();
  EXPECT_EQ(a.SamplingFrequency(), 1024.0 / 50);
  EXPECT_TRUE(NearRel(a.Marks().GetMark(1).Second, 0.5, 1e-12));
  // The n-th peak, or the frame's rate when there are too few.
  p.SetOrderTracing(otNthPeak);
  p.SetOrderPeakNumber(3);
  a.Update();
  EXPECT_EQ(p.OrderFrequency(), 1024.0);
}

// Removing a marked tone: the numeric method on the frame's own spectrum, whatever the display
// scale and phase range; nothing changes when the settings cannot give the tone.
TEST(SpectrumPeaks, RemovingAMarkedToneLeavesTheRest) {
  const struct {
    std::string Name;
    std::function<void(TSpectrumAnalyzer&)> Set;
  } cases[] = {{"plain", [](TSpectrumAnalyzer&) {}},
               {"scaled", [](TSpectrumAnalyzer& a) { a.SetScaleFactor(3.0); }},
               {"0 .. 360 degrees", [](TSpectrumAnalyzer& a) { a.SetPhaseRange(prZeroTwoPi); }},
               {"radians", [](TSpectrumAnalyzer& a) { a.SetPhaseUnits(puRad); }}};
  for (const auto& c : cases) {
    TSignal x;
    Tone(x, 1000, 123.4, 2.0, 0.3, 8000);
    const double rms = x.Data().RMS();
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    c.Set(a);
    a.Peaks().SetTraceMethod(ptLargest);
    a.Peaks().Interpolation().SetMethod(imNumeric);
    a.Update();
    a.PeakFilter(0);
    EXPECT_LT(x.Data().RMS(), 0.01 * rms) << c.Name;
  }
  // Two tones, each by its mark.
  TSignal x;
  Tone(x, 2048, 200.25, 1.0, 0.3, 2048);
  Tone(x, 2048, 600.6, 0.5, 1.1, 2048, false, true);
  const double rms = x.Data().RMS();
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().SetLargestCount(2);
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Update();
  a.PeakFilter(0);
  a.PeakFilter(1);
  EXPECT_LT(x.Data().RMS(), 0.01 * rms);
}

TEST(SpectrumPeaks, RemovingAToneNeedsTheFramesOwnSpectrum) {
  const std::string refused =
      "Peak interpolation must be numeric and spectrum may not be averaged. Complex spectrum must be available.";
  TSignal x;
  Tone(x, 1000, 123.4, 2.0, 0.3, 8000);
  const std::vector<double> before(x.Data().Values(), x.Data().Values() + 1000);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().SetTraceMethod(ptLargest);
  a.Peaks().Interpolation().SetMethod(imQuinnFirst);
  a.Update();
  EXPECT_TRUE(Raises([&] { a.PeakFilter(0); }, refused));
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Stats().SetAveraging(avLinearInf);
  a.Update();
  EXPECT_TRUE(Raises([&] { a.PeakFilter(0); }, refused));
  a.Stats().SetAveraging(avNone);
  a.Peaks().SetTraceMethod(ptNone);
  a.Marks().Clear();
  EXPECT_TRUE(Raises([&] { a.PeakFilter(0); }, "No peaks have been marked!"));
  EXPECT_EQ(std::vector<double>(x.Data().Values(), x.Data().Values() + 1000), before);
}

}  // namespace
}  // namespace sig
