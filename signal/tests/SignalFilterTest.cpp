// The signal filter: its setters, the pass-through of an undesigned filter
// and its message, the continuity of the running states across blocks, the
// rate of its output, and its stream.
// Covers: signal/SignalFilter.cpp, signal/SignalFilterDesign.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "signal/SignalFilter.h"
#include "signal/tests/ProcessingTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::RaisedMessage;
using testutil::Band;
using testutil::RunBlocks;
using testutil::UseBands;
using testutil::Values;

const std::vector<TFilterBand> LowPass = {Band(0, 0.2, 1, 1), Band(0.3, 1, 0, 40)};

TEST(SignalFilter, ANewFilterCopiesItsInputAtTheInputsRate) {
  TSignal input;
  input.Data().SetIt(false, std::vector<double>{1, -2, 3});
  input.SetSamplingFrequency(250);
  TSignalFilter filter;
  filter.SetInput(&input);
  filter.Update();
  EXPECT_EQ(Values(filter.Data()), (std::vector<double>{1, -2, 3}));
  EXPECT_EQ(filter.SamplingFrequency(), 250);
  EXPECT_TRUE(filter.Designed());
  EXPECT_EQ(filter.ErrorText(), "");
  EXPECT_EQ(filter.EditorClassName(), "TFIRDesignForm");
}

TEST(SignalFilter, SettersHoldTheirValuesInRange) {
  TSignalFilter f;
  f.SetUpSample(0);
  EXPECT_EQ(f.UpSample(), 1);
  f.SetUpSample(4);
  f.SetUpDelay(9);
  EXPECT_EQ(f.UpDelay(), 3);
  f.SetUpSample(2);
  EXPECT_EQ(f.UpDelay(), 1);
  f.SetUpDelay(-3);
  EXPECT_EQ(f.UpDelay(), 0);
  f.SetDownSample(-5);
  EXPECT_EQ(f.DownSample(), 1);
  f.SetDownDelay(2);
  EXPECT_EQ(f.DownDelay(), 0);
  f.SetFirLength(20000);
  EXPECT_EQ(f.FirLength(), 10000);
  f.SetFirLength(0);
  EXPECT_EQ(f.FirLength(), 1);
  f.SetResponse(rstIIR);
  f.SetOrder(80);
  EXPECT_EQ(f.Order(), 50);
  f.SetOrder(0);
  EXPECT_EQ(f.Order(), 1);
  f.SetResponse(rstSavGolay);
  f.SetFirLength(6);
  EXPECT_EQ(f.FirLength(), 7);
  f.SetOrder(9);
  EXPECT_EQ(f.Order(), 6);
  f.SetFirLength(3);
  EXPECT_EQ(f.Order(), 2);
}

TEST(SignalFilter, AResponseChangeMakesTheFilterDesignAgain) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.Update();
  ASSERT_TRUE(f.Designed());
  f.SetResponse(rstMovingAverage);
  EXPECT_FALSE(f.Designed());
  f.Update();
  ASSERT_TRUE(f.Designed());
  f.ParameterUpdate(&f);
  EXPECT_FALSE(f.Designed());
}

TEST(SignalFilter, AFailedDesignPassesTheSignalAndKeepsItsMessage) {
  struct TCase {
    TResponseType Response;
    std::vector<TFilterBand> Bands;
    const char* Message;
  };
  const std::vector<TCase> cases = {
      {rstFIR, {Band(0, 0.2, 1, 1)}, "Windowed filter design: 2 or 3 bands required!"},
      {rstIIR,
       {Band(0, 0.1, 0, 40), Band(0.2, 0.3, 1, 1), Band(0.4, 0.5, 0, 40), Band(0.6, 1, 1, 1)},
       "IIR filter design: 2 or 3 bands required!"},
      {rstDifferentiator, {}, "Filters.Templates.Count < 1"},
  };
  for (const TCase& c : cases) {
    TSignal input;
    TSignalFilter f;
    f.SetInput(&input);
    f.SetResponse(c.Response);
    if (!c.Bands.empty()) UseBands(f, c.Bands);
    const std::vector<double> x{0.5, -1, 2, 4};
    EXPECT_EQ(RunBlocks(f, input, {x}), x) << c.Message;
    EXPECT_FALSE(f.Designed()) << c.Message;
    EXPECT_EQ(f.ErrorText(), c.Message);
  }
}

TEST(SignalFilter, ExternalTapsThatAreEmptyPassTheSignal) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstFIR);
  f.SetExternalTaps(true);
  EXPECT_EQ(RunBlocks(f, input, {{1, 2}}), (std::vector<double>{1, 2}));
  EXPECT_EQ(f.ErrorText(), "FIRTaps.Length = 0");
  numeric::TVec taps;
  taps.SetIt(false, std::vector<double>{0.5, 0.5});
  f.SetTaps(taps);
  EXPECT_EQ(RunBlocks(f, input, {{1, 3}}), (std::vector<double>{0.5, 2}));
  EXPECT_EQ(f.ErrorText(), "");
}

TEST(SignalFilter, TheMessageGoesOnceTheDesignSucceeds) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstFIR);
  UseBands(f, {Band(0, 0.2, 1, 1)});
  RunBlocks(f, input, {{1, 2, 3, 4}});
  ASSERT_NE(f.ErrorText(), "");
  f.Filters().Template().AddBand(Band(0.3, 1, 0, 40));
  RunBlocks(f, input, {std::vector<double>(64, 1.0)});
  EXPECT_TRUE(f.Designed());
  EXPECT_EQ(f.ErrorText(), "");
}

TEST(SignalFilter, AMovingAverageRunsOnAcrossBlocks) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstMovingAverage);
  f.SetFirLength(5);
  const std::vector<double> y = RunBlocks(f, input, {{1, 1, 1}, {1, 1, 1}});
  f.Update();
  EXPECT_EQ(f.Taps().Length(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.Taps().Values()[i], 0.2);
  const double expected[] = {0.2, 0.4, 0.6, 0.8, 1.0, 1.0};
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(y[static_cast<std::size_t>(i)], expected[i], 4e-16) << i;
}

TEST(SignalFilter, AResamplingFirChangesTheRateAndTheLength) {
  TSignal input;
  input.SetSamplingFrequency(1000);
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstMovingAverage);
  f.SetFirLength(3);
  f.SetUpSample(3);
  f.SetDownSample(2);
  RunBlocks(f, input, {std::vector<double>(100, 1.0)});
  EXPECT_EQ(f.SamplingFrequency(), 1500);
  EXPECT_EQ(f.Length(), 150);
}

TEST(SignalFilter, OnlyTheFirKindsResample) {
  TSignal input;
  input.SetSamplingFrequency(1000);
  TSignalFilter f;
  f.SetInput(&input);
  f.SetUpSample(3);
  f.SetDownSample(2);
  for (TResponseType r : {rstUnit, rstIntegerDelay, rstMedian}) {
    f.SetResponse(r);
    f.SetFirLength(3);
    RunBlocks(f, input, {std::vector<double>(100, 1.0)});
    EXPECT_EQ(f.SamplingFrequency(), 1000) << int{r};
    EXPECT_EQ(f.Length(), 100) << int{r};
  }
}

TEST(SignalFilter, TheEnvelopeGivesOneValueAFrameAtTheFramesRate) {
  TSignal input;
  input.SetSamplingFrequency(1000);
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstEnvelope);
  f.SetFirLength(4);
  EXPECT_EQ(RunBlocks(f, input, {{1, -1, 1, -1, 2, 2, -2, 2}}), (std::vector<double>{1, 2}));
  EXPECT_EQ(f.SamplingFrequency(), 250);
  EXPECT_DOUBLE_EQ(f.Duration(), input.Duration());
}

TEST(SignalFilter, MedianAndDelayRunOnAcrossBlocks) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstIntegerDelay);
  f.SetFirLength(2);
  EXPECT_EQ(RunBlocks(f, input, {{1, 2, 3}, {4, 5}}), (std::vector<double>{0, 0, 1, 2, 3}));
  f.SetResponse(rstMedian);
  f.SetFirLength(3);
  // Each output is the median of the three inputs before it.
  EXPECT_EQ(RunBlocks(f, input, {{1, 9, 2}, {8, 3, 7}}), (std::vector<double>{0, 0, 1, 2, 8, 3}));
}

TEST(SignalFilter, TheWaveletResponsePassesEachBlock) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstWavelet);
  f.SetOrder(1);
  const std::vector<double> x{1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(RunBlocks(f, input, {x}), x);
  EXPECT_TRUE(f.Designed());
  const std::vector<double> second{8, 7, 6, 5, 4, 3, 2, 1};
  EXPECT_EQ(RunBlocks(f, input, {second}), second);
}

TEST(SignalFilter, AMultiChannelInputIsRefused) {
  TSignal input;
  input.SetChannelCount(2);
  TSignalFilter f;
  f.SetName("Filter");
  f.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { f.Update(); }), "Filter: MultiRate: Input.ChannelCount > 1 not supported!");
}

TEST(SignalFilter, DataOfTheOtherKindSetsTheStateUpAgain) {
  TSignal input;
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstMovingAverage);
  f.SetFirLength(2);
  RunBlocks(f, input, {{2, 2}});
  input.Data().SetIt(true, std::vector<double>{2, 4, 6, 8});
  f.Update();
  ASSERT_TRUE(f.Data().Complex());
  EXPECT_EQ(Values(f.Data()), (std::vector<double>{1, 2, 4, 6}));
}

TEST(SignalFilter, RemezOfEvenLengthWithAPassBandLastGrowsByOne) {
  TSignal input;
  input.Data().SetIt(false, std::vector<double>(64, 0.0));
  TSignalFilter f;
  f.SetInput(&input);
  f.SetResponse(rstFIR);
  f.SetFirMethod(fimParksMcClellan);
  f.SetAutoFilterOrder(false);
  f.SetFirLength(20);
  UseBands(f, {Band(0, 0.2, 0, 40), Band(0.3, 1, 1, 1)});
  f.Update();
  ASSERT_TRUE(f.Designed()) << f.ErrorText();
  EXPECT_EQ(f.Taps().Length(), 21);
  EXPECT_EQ(f.FirLength(), 21);
}

// The gain of Taps at f cycles per sample.
double GainAt(const numeric::TVec& Taps, double f) {
  double re = 0, im = 0;
  for (int k = 0; k < Taps.Length(); ++k) {
    re += Taps.Values()[k] * std::cos(2 * std::numbers::pi * f * k);
    im -= Taps.Values()[k] * std::sin(2 * std::numbers::pi * f * k);
  }
  return std::hypot(re, im);
}

TEST(SignalFilter, EveryFirDesignMeetsItsBands) {
  struct TCase {
    const char* What;
    TFirFilterMethod Method;
    std::vector<TFilterBand> Bands;
    double PassAt, StopAt;
  };
  // Bands of 1 dB and 40 dB (0.01 in the stop band), at the lengths the
  // estimates give: Kaiser's for the windows, the exchange's for Remez; both
  // land within a few dB of it.
  const std::vector<TCase> cases = {
      {"window low-pass", fimWindow, LowPass, 0.05, 0.2},
      {"window high-pass", fimWindow, {Band(0, 0.2, 0, 40), Band(0.3, 1, 1, 1)}, 0.4, 0.05},
      {"window band-pass", fimWindow, {Band(0, 0.2, 0, 40), Band(0.3, 0.5, 1, 1), Band(0.6, 1, 0, 40)}, 0.2, 0.45},
      {"window band-stop", fimWindow, {Band(0, 0.2, 1, 1), Band(0.3, 0.5, 0, 40), Band(0.6, 1, 1, 1)}, 0.45, 0.2},
      {"Remez low-pass", fimParksMcClellan, LowPass, 0.05, 0.2},
      {"Remez band-pass", fimParksMcClellan, {Band(0, 0.2, 0, 40), Band(0.3, 0.5, 1, 1), Band(0.6, 1, 0, 40)}, 0.2,
       0.45},
  };
  for (const TCase& c : cases) {
    TSignal input;
    input.Data().SetIt(false, std::vector<double>(16, 0.0));
    TSignalFilter f;
    f.SetInput(&input);
    f.SetResponse(rstFIR);
    f.SetFirMethod(c.Method);
    UseBands(f, c.Bands);
    f.Update();
    ASSERT_TRUE(f.Designed()) << c.What << ": " << f.ErrorText();
    // Frequencies in cycles per sample: the band edges over FS = 2.
    EXPECT_NEAR(GainAt(f.Taps(), c.PassAt), 1.0, 0.12) << c.What;
    EXPECT_LT(GainAt(f.Taps(), c.StopAt), 0.015) << c.What;
  }
}

TEST(SignalFilter, SingleBandDesignsHaveTheirSymmetry) {
  struct TCase {
    TResponseType Response;
    TFirFilterMethod Method;
  };
  const TCase cases[] = {{rstDifferentiator, fimWindow},     {rstDifferentiator, fimParksMcClellan},
                         {rstHilbert, fimWindow},            {rstHilbert, fimParksMcClellan},
                         {rstDoubleDifferentiator, fimWindow}, {rstIntegrator, fimWindow}};
  for (const TCase& c : cases) {
    TSignal input;
    input.Data().SetIt(false, std::vector<double>(16, 0.0));
    TSignalFilter f;
    f.SetInput(&input);
    f.SetResponse(c.Response);
    f.SetFirMethod(c.Method);
    UseBands(f, {Band(0.1, 0.8, 1, 1)});
    f.Update();
    ASSERT_TRUE(f.Designed()) << int{c.Response} << " " << f.ErrorText();
    const numeric::TVec& h = f.Taps();
    ASSERT_GE(h.Length(), 4);
    EXPECT_EQ(h.Length() % 2, 1) << "odd by the estimate";
    const double scale = std::max(std::fabs(h.Max()), std::fabs(h.Min()));
    for (int k = 0; k < h.Length(); ++k)
      EXPECT_NEAR(h.Values()[k], -h.Values()[h.Length() - 1 - k], 1e-9 * scale) << int{c.Response} << " tap " << k;
  }
}

// The IIR designs take band edges relative to half the design frequency:
// the same bands in Hz at 1000 Hz give the taps of the normalised ones.
TEST(SignalFilter, IirEdgesFollowTheDesignFrequency) {
  struct TCase {
    dsp::TIirFilterMethod Method;
    std::vector<TFilterBand> Bands;
  };
  const std::vector<TCase> cases = {
      {dsp::fimButter, LowPass},
      {dsp::fimChebyshevI, {Band(0, 0.2, 0, 40), Band(0.3, 1, 1, 1)}},
      {dsp::fimElliptic, {Band(0, 0.2, 0, 40), Band(0.3, 0.5, 1, 1), Band(0.6, 1, 0, 40)}},
  };
  for (const TCase& c : cases) {
    TSignal input;
    input.SetSamplingFrequency(1000);
    input.Data().SetIt(false, std::vector<double>(16, 0.0));
    TSignalFilter normalised, inHertz;
    normalised.SetInput(&input);
    inHertz.SetInput(&input);
    inHertz.SetUseNormalizedFrequency(false);
    UseBands(normalised, c.Bands);
    std::vector<TFilterBand> hertz = c.Bands;
    for (TFilterBand& b : hertz) {
      b.Start *= 500;
      b.Stop *= 500;
    }
    UseBands(inHertz, hertz);
    for (TSignalFilter* f : {&normalised, &inHertz}) {
      f->SetResponse(rstIIR);
      f->SetIirMethod(c.Method);
      f->Update();
      ASSERT_TRUE(f->Designed()) << f->ErrorText();
    }
    ASSERT_EQ(normalised.Taps().Length(), inHertz.Taps().Length());
    EXPECT_GT(normalised.Order(), 1);
    for (int k = 0; k < normalised.Taps().Length(); ++k)
      EXPECT_NEAR(inHertz.Taps().Values()[k], normalised.Taps().Values()[k],
                  1e-12 * std::fabs(normalised.Taps().Values()[k]) + 1e-15)
          << int{c.Method} << " coefficient " << k;
  }
}

TEST(SignalFilter, NotchAndDcRemovalAreFirstOrderDesigns) {
  for (dsp::TIirFilterMethod method : {dsp::fimNotch, dsp::fimDC}) {
    TSignal input;
    input.Data().SetIt(false, std::vector<double>(16, 1.0));
    TSignalFilter f;
    f.SetInput(&input);
    f.SetResponse(rstIIR);
    f.SetIirMethod(method);
    UseBands(f, LowPass);
    f.Update();
    ASSERT_TRUE(f.Designed()) << f.ErrorText();
    EXPECT_EQ(f.Order(), 1);
    EXPECT_EQ(f.Taps().Length() % 2, 0);
  }
}

TEST(SignalFilter, StreamsKeepTheParametersAndTheBands) {
  TSignalFilter f;
  UseBands(f, LowPass);
  f.SetResponse(rstFIR);
  f.SetFirMethod(fimParksMcClellan);
  f.SetUpSample(3);
  f.SetUpDelay(2);
  f.SetIirMethod(dsp::fimElliptic);
  f.SetWindow(dsp::wtHamming);
  f.SetNormalizedFrequency(10);
  classlib::TMemoryStream stream;
  f.SaveToStream(stream);
  stream.SetPosition(0);
  TSignalFilter read;
  read.LoadFromStream(stream);
  EXPECT_EQ(read.Response(), rstFIR);
  EXPECT_EQ(read.FirMethod(), fimParksMcClellan);
  EXPECT_EQ(read.UpSample(), 3);
  EXPECT_EQ(read.UpDelay(), 2);
  EXPECT_EQ(read.IirMethod(), dsp::fimElliptic);
  EXPECT_EQ(read.Window(), dsp::wtHamming);
  EXPECT_EQ(read.NormalizedFrequency(), 10);
  ASSERT_EQ(read.Filters().Templates().Count(), 1);
  read.Filters().SetTemplateIndex(0);
  ASSERT_EQ(read.Filters().Template().Count(), 2);
  EXPECT_EQ(read.Filters().Template().GetBand(1).Ripple, 40);
}

}  // namespace
}  // namespace sig
