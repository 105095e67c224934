// The spectrum component: timing, conversions, lookups, calculus, texts, streams.
// Covers signal/Spectrum.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/SignalTools.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::NearRel;
using orvel::testing::Raises;
using sig::TSpectrum;

std::vector<double> Values(const numeric::TVec& v) {
  std::vector<double> out;
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i) out.push_back(v.GetValue(i));
  return out;
}

TEST(Spectrum, ANewSpectrumHasItsDefaults) {
  TSpectrum s;
  EXPECT_EQ(s.Length(), 64);
  EXPECT_EQ(s.Amplt().Length(), 64);
  EXPECT_EQ(s.Phase().Length(), 64);
  EXPECT_EQ(s.SamplingFrequency(), 1.0);
  EXPECT_EQ(s.SideFactor(), 2.0);
  EXPECT_EQ(s.SamplingTime(), 128.0);
  EXPECT_EQ(s.BandWidth(), 0.5);
  EXPECT_EQ(s.HzRes(), 1.0 / 128);
  EXPECT_EQ(s.Dt(), 1.0);
  EXPECT_EQ(s.MainlobeWidth(), 8);
  EXPECT_EQ(s.PhaseMode(), sig::pm360);
  EXPECT_EQ(s.PhaseUnits(), sig::puDeg);
  EXPECT_EQ(s.Harmonics(), 10);
  EXPECT_EQ(s.ZeroPadding(), 1);
  EXPECT_TRUE(s.ConjFlip());
  EXPECT_FALSE(s.ConjExtend());
  EXPECT_FALSE(s.Complex());
}

struct TSpectrumTimingCase {
  const char* Name;
  std::function<void(TSpectrum&)> Change;
  std::int32_t Length, ZeroPadding;
  double Fs, SamplingTime, BandWidth, HzRes;
};

// Each row starts from a new spectrum: 64 real lines at 1 Hz.
const TSpectrumTimingCase SpectrumTimingCases[] = {
    {"zero padding 0 stores 1", [](TSpectrum& s) { s.SetZeroPadding(0); }, 64, 1, 1.0, 128.0, 0.5, 1.0 / 128},
    {"zero padding 4", [](TSpectrum& s) { s.SetZeroPadding(4); }, 64, 4, 1.0, 32.0, 0.5, 1.0 / 128},
    {"complex", [](TSpectrum& s) { s.SetComplex(true); }, 64, 1, 1.0, 64.0, 1.0, 1.0 / 64},
    {"Fs 1000", [](TSpectrum& s) { s.SetSamplingFrequency(1000.0); }, 64, 1, 1000.0, 0.128, 500.0, 500.0 / 64},
    // Fs 0 leaves SamplingTime 0 and the grid as it was.
    {"Fs 0", [](TSpectrum& s) { s.SetSamplingFrequency(0.0); }, 64, 1, 0.0, 0.0, 0.5, 1.0 / 128},
    {"128 lines keep the rate", [](TSpectrum& s) { s.SetLength(128); }, 128, 1, 1.0, 256.0, 0.5, 1.0 / 256},
    {"Dt 0.01", [](TSpectrum& s) { s.SetDt(0.01); }, 64, 1, 100.0, 1.28, 50.0, 50.0 / 64},
    {"SamplingTime 64", [](TSpectrum& s) { s.SetSamplingTime(64.0); }, 64, 1, 2.0, 64.0, 1.0, 1.0 / 64},
    {"1000 Hz, then Fs 0 and 32 lines", [](TSpectrum& s) {
       s.SetSamplingFrequency(1000.0);
       s.SetSamplingFrequency(0.0);
       s.SetLength(32);
     },
     32, 1, 0.0, 0.0, 500.0, 500.0 / 64},
};

TEST(Spectrum, TimingFollowsTheLinesTheRateThePaddingAndTheKind) {
  for (const TSpectrumTimingCase& c : SpectrumTimingCases) {
    SCOPED_TRACE(c.Name);
    TSpectrum s;
    c.Change(s);
    EXPECT_EQ(s.Length(), c.Length);
    EXPECT_EQ(s.ZeroPadding(), c.ZeroPadding);
    EXPECT_TRUE(NearRel(s.SamplingFrequency(), c.Fs, 1e-15));
    EXPECT_TRUE(NearRel(s.SamplingTime(), c.SamplingTime, 1e-15));
    EXPECT_TRUE(NearRel(s.BandWidth(), c.BandWidth, 1e-15));
    EXPECT_TRUE(NearRel(s.HzRes(), c.HzRes, 1e-15));
    EXPECT_TRUE(NearRel(s.StopFrequency(), s.StartFrequency() + c.BandWidth, 1e-15));
  }
}

TEST(Spectrum, TheRateSetIsKeptThroughLengthAndPaddingChanges) {
  for (const double fs : {3.0, 44100.0, 0.7, 1.0 / 3.0}) {
    TSpectrum s;
    s.SetSamplingFrequency(fs);
    s.SetLength(1000);
    s.SetZeroPadding(3);
    s.Phase().SetLength(0);
    EXPECT_EQ(s.SamplingFrequency(), fs);
    EXPECT_EQ(s.Dt(), 1.0 / fs);
  }
}

TEST(Spectrum, MainlobeWidthIsKeptWithinItsRange) {
  TSpectrum s;
  s.SetMainlobeWidth(1);
  EXPECT_EQ(s.MainlobeWidth(), 2);
  s.SetMainlobeWidth(500);
  EXPECT_EQ(s.MainlobeWidth(), 100);
  s.SetMainlobeWidth(12);
  EXPECT_EQ(s.MainlobeWidth(), 12);
}

TEST(Spectrum, PreparationTakesTheInputSignalsKindStartAndRate) {
  sig::TSignal input;
  input.SetComplex(true);
  input.SetSamplingFrequency(200.0);
  input.SetStartFrequency(-100.0);
  TSpectrum s;
  s.SetUsesInputs(true);
  s.SetMultiChannel(true);
  s.SetInput(&input);
  s.Update();
  EXPECT_TRUE(s.Complex());
  EXPECT_EQ(s.StartFrequency(), -100.0);
  EXPECT_EQ(s.SamplingFrequency(), 200.0);
  EXPECT_EQ(s.BandWidth(), 200.0);
}

// X = 3+4i, -1, -2i.
void ComplexSpectrum(numeric::TVec& x) { x.SetIt(true, std::vector<double>{3, 4, -1, 0, 0, -2}); }

TEST(Spectrum, ComplexSpectraBecomeAmplitudeAndPhaseByThePhaseMode) {
  numeric::TVec x;
  ComplexSpectrum(x);
  const double deg = 180.0 / numeric::PI;
  TSpectrum s;
  s.AmpltPhaseFromComplex(x);
  EXPECT_EQ(Values(s.Amplt()), (std::vector<double>{5, 1, 2}));
  const std::vector<double> phase = Values(s.Phase());
  ASSERT_EQ(phase.size(), 3u);
  EXPECT_TRUE(NearRel(phase[0], std::atan2(4.0, 3.0) * deg, 1e-15));
  EXPECT_TRUE(NearRel(phase[1], 180.0, 1e-15));
  EXPECT_TRUE(NearRel(phase[2], -90.0, 1e-15));

  s.SetPhaseUnits(sig::puRad);
  s.PowerPhaseFromComplex(x);
  EXPECT_EQ(Values(s.Amplt()), (std::vector<double>{25, 1, 4}));
  EXPECT_TRUE(NearRel(s.Phase().GetValue(2), -numeric::PI / 2, 1e-15));

  s.RmsFromComplex(x);
  EXPECT_TRUE(NearRel(s.Amplt().GetValue(0), 5.0 / std::sqrt(2.0), 1e-15));

  s.SetPhaseMode(sig::pmIgnore);
  s.AmpltPhaseFromComplex(x);
  EXPECT_EQ(s.Phase().Length(), 0);
  s.PowerPhaseFromComplex(x);
  EXPECT_EQ(s.Phase().Length(), 0);
  s.PhaseFromComplex(x);
  EXPECT_EQ(s.Phase().Length(), 0);

  // The base spectrum has no delays of its own: the analysers compute them.
  s.SetPhaseMode(sig::pmPhaseDelay);
  EXPECT_TRUE(Raises([&] { s.AmpltPhaseFromComplex(x); }, "Not implemented"));
  s.SetPhaseMode(sig::pmGroupDelay);
  EXPECT_TRUE(Raises([&] { s.PhaseFromComplex(x); }, "Not implemented!"));
  EXPECT_TRUE(Raises([&] { s.PeakFilter(0); }, "Peak filter method not supported!"));
}

TEST(Spectrum, LookupsHoldTheLineWithinTheSpectrum) {
  TSpectrum s;
  s.SetLength(4);
  s.SetSamplingFrequency(8.0);  // lines at 0, 1, 2, 3 Hz
  s.Amplt().SetIt(false, std::vector<double>{10, 11, 12, 13});
  s.Phase().SetIt(false, std::vector<double>{20, 21, 22, 23});
  struct TCase {
    double F, Amplt, Phase;
  };
  const TCase cases[] = {{0.0, 10, 20}, {1.9, 11, 21}, {3.0, 13, 23}, {-5.0, 10, 20},
                         {99.0, 13, 23}, {1e300, 13, 23}, {NAN, 10, 20}};
  for (const TCase& c : cases) {
    EXPECT_EQ(s.AmpltAt(c.F), c.Amplt) << c.F;
    EXPECT_EQ(s.PhaseAt(c.F), c.Phase) << c.F;
  }
  s.Phase().SetLength(0);
  EXPECT_EQ(s.PhaseAt(1.0), 0.0);
  EXPECT_EQ(s.RefineFrequency(1.25), 1.25);
  // No line spacing at all.
  TSpectrum empty;
  empty.SetLength(0);
  EXPECT_EQ(empty.AmpltAt(0.5), 0.0);
}

TEST(Spectrum, MinimumAndMaximumOfAmplitudeAndPhase) {
  TSpectrum s;
  s.SetLength(3);
  s.Amplt().SetIt(false, std::vector<double>{1, 7, 3});
  s.Phase().SetIt(false, std::vector<double>{-10, 5, 0});
  s.UpdateMinMax();
  EXPECT_EQ(s.AmpltMax(), 7);
  EXPECT_EQ(s.AmpltMaxIndex(), 1);
  EXPECT_EQ(s.AmpltMin(), 1);
  EXPECT_EQ(s.PhaseMax(), 5);
  EXPECT_EQ(s.PhaseMin(), -10);
}

// Lines 0 .. 7 of 1 Hz, all 1.
TSpectrum* Flat(double Start, bool ConjExtend, bool ConjFlip) {
  auto* s = new TSpectrum;
  s->SetLength(8);
  s->SetSamplingFrequency(16.0);
  s->SetStartFrequency(Start);
  s->SetConjExtend(ConjExtend);
  s->SetConjFlip(ConjFlip);
  s->Amplt().SetVal(1.0);
  return s;
}

TEST(Spectrum, IntegrationAndDifferentiationScaleEachLineByItsFrequency) {
  const double w = 2 * numeric::PI;
  {
    std::unique_ptr<TSpectrum> s(Flat(0.0, false, true));
    s->Differentiate();
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(NearRel(s->Amplt().GetValue(i), i * w, 1e-15)) << i;
    s->Amplt().SetVal(1.0);
    s->Integrate();
    // The zero-frequency line stays as it is.
    EXPECT_EQ(s->Amplt().GetValue(0), 1.0);
    for (int i = 1; i < 8; ++i) EXPECT_TRUE(NearRel(s->Amplt().GetValue(i), 1.0 / (i * w), 1e-15)) << i;
  }
  {
    // A spectrum starting at 2 Hz: line i lies at i + 2.
    std::unique_ptr<TSpectrum> s(Flat(2.0, false, true));
    s->Integrate();
    EXPECT_TRUE(NearRel(s->Amplt().GetValue(0), 1.0 / (2 * w), 1e-15));
  }
  {
    // Conjugate-extended with zero first: the upper half mirrors the lower.
    std::unique_ptr<TSpectrum> s(Flat(0.0, true, true));
    s->Differentiate();
    EXPECT_EQ(s->Amplt().GetValue(0), 0.0);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(s->Amplt().GetValue(8 - i), s->Amplt().GetValue(i)) << i;
    EXPECT_EQ(s->Amplt().GetValue(4), 1.0);
  }
  {
    // Zero frequency in the middle (line 4 at 0 Hz): it stays, and the
    // integral of the others is finite.
    std::unique_ptr<TSpectrum> s(Flat(-4.0, true, false));
    s->Integrate();
    EXPECT_EQ(s->Amplt().GetValue(4), 1.0);
    for (int i = 1; i < 4; ++i) {
      EXPECT_TRUE(NearRel(s->Amplt().GetValue(4 + i), 1.0 / (i * w), 1e-15)) << i;
      EXPECT_EQ(s->Amplt().GetValue(4 - i), s->Amplt().GetValue(4 + i)) << i;
    }
    EXPECT_EQ(s->Amplt().GetValue(0), 1.0);
  }
}

TEST(Spectrum, OperationsOnTwoSpectraTouchThePhaseOnlyWithAPhaseMode) {
  TSpectrum a, b;
  a.SetLength(2);
  b.SetLength(2);
  a.Amplt().SetIt(false, std::vector<double>{6, 4});
  a.Phase().SetIt(false, std::vector<double>{30, 40});
  b.Amplt().SetIt(false, std::vector<double>{3, 0});
  a.Amplt().SetValue(1, 0.0);
  b.Phase().SetIt(false, std::vector<double>{10, 20});
  b.SetSamplingFrequency(50.0);

  a.DivideSpectrum(b);
  EXPECT_EQ(a.Amplt().GetValue(0), 2.0);
  // A vanishing divisor is taken as a tiny one: 0 / 0 is 0, not NaN.
  EXPECT_EQ(a.Amplt().GetValue(1), 0.0);
  EXPECT_EQ(Values(a.Phase()), (std::vector<double>{20, 20}));

  a.SquareSpectrum(b);
  EXPECT_EQ(Values(a.Amplt()), (std::vector<double>{9, 0}));
  EXPECT_EQ(Values(a.Phase()), (std::vector<double>{100, 400}));
  a.AddSpectrum(b);
  EXPECT_EQ(Values(a.Amplt()), (std::vector<double>{12, 0}));
  a.ScaleSpectrum(0.5);
  EXPECT_EQ(Values(a.Phase()), (std::vector<double>{55, 210}));
  a.CopySpectrum(b);
  EXPECT_EQ(Values(a.Amplt()), (std::vector<double>{3, 0}));
  EXPECT_EQ(a.SamplingFrequency(), 50.0);

  a.SetPhaseMode(sig::pmIgnore);
  a.Phase().SetIt(false, std::vector<double>{1, 1});
  a.AddSpectrum(b);
  a.ClearSpectrum();
  EXPECT_EQ(Values(a.Amplt()), (std::vector<double>{0, 0}));
  EXPECT_EQ(Values(a.Phase()), (std::vector<double>{1, 1}));

  TSpectrum timing;
  timing.CopyTiming(b);
  EXPECT_EQ(timing.Length(), 2);
  EXPECT_EQ(timing.SamplingFrequency(), 50.0);
}

TEST(Spectrum, DecibelScaleIsTheDspConversionOfTheAmplitudes) {
  TSpectrum s;
  s.SetLength(3);
  s.Amplt().SetIt(false, std::vector<double>{2, 0.02, 0});
  EXPECT_TRUE(NearRel(s.DecibelScale(true, 2.0, 120.0, 10.0), -120.0, 1e-14));
  EXPECT_TRUE(NearRel(s.Amplt().GetValue(0), 0.0, 0));
  EXPECT_TRUE(NearRel(s.Amplt().GetValue(1), -40.0, 1e-14));
  EXPECT_TRUE(NearRel(s.Amplt().GetValue(2), -120.0, 1e-14));
}

TEST(Spectrum, MarksAndValuesAsTextColumns) {
  TSpectrum s;
  s.SetLength(2);
  s.SetSamplingFrequency(4.0);
  s.Amplt().SetIt(false, std::vector<double>{1, 0.5});
  s.Phase().SetIt(false, std::vector<double>{0, 90});
  s.Marks().AddMark({1.0, 0.5, 90.0, 0.0});
  classlib::TStringList lines;
  s.MarksToText(lines, true, "Freq", "Amplt", "Phase", "0.0", "0.00", "0");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(0), "Freq" + std::string(21, ' ') + "Amplt" + std::string(20, ' ') + "Phase");
  EXPECT_EQ(lines.Strings(1), "1.0" + std::string(22, ' ') + "0.50" + std::string(21, ' ') + "90");
  lines.Clear();
  s.SetPhaseMode(sig::pmIgnore);
  s.ValuesToText(lines, true, "", "", "", "0.0", "0.00", "0");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(1), "1.0" + std::string(22, ' ') + "0.50" + std::string(21, ' '));
}

TSpectrum& Populated(TSpectrum& s) {
  s.SetComplex(true);
  s.SetZeroPadding(2);
  s.SetMainlobeWidth(12);
  s.SetPhaseUnits(sig::puRad);
  s.SetHarmonics(5);
  s.SetLength(4);
  s.Amplt().SetIt(false, std::vector<double>{1, 2, 3, 4});
  s.Phase().SetIt(false, std::vector<double>{0.1, 0.2, 0.3, 0.4});
  s.SetSamplingFrequency(1000.0);
  s.SetStartFrequency(0.0);
  s.Marks().AddMark({250.0, 2.0, 0.2, 0.0});
  return s;
}

void ExpectSameSpectrum(const TSpectrum& a, const TSpectrum& b) {
  EXPECT_EQ(a.Complex(), b.Complex());
  EXPECT_EQ(a.ZeroPadding(), b.ZeroPadding());
  EXPECT_EQ(a.MainlobeWidth(), b.MainlobeWidth());
  EXPECT_EQ(a.PhaseUnits(), b.PhaseUnits());
  EXPECT_EQ(a.Harmonics(), b.Harmonics());
  EXPECT_EQ(a.Length(), b.Length());
  EXPECT_EQ(a.SamplingFrequency(), b.SamplingFrequency());
  EXPECT_EQ(a.SamplingTime(), b.SamplingTime());
  EXPECT_EQ(a.HzRes(), b.HzRes());
  EXPECT_EQ(Values(a.Amplt()), Values(b.Amplt()));
  EXPECT_EQ(Values(a.Phase()), Values(b.Phase()));
  ASSERT_EQ(a.Marks().Count(), b.Marks().Count());
  EXPECT_EQ(a.Marks().GetMark(0).First, b.Marks().GetMark(0).First);
}

TEST(Spectrum, RoundTripsThroughTheBinaryAndTheTextComponentStream) {
  TSpectrum source;
  Populated(source);
  classlib::TMemoryStream binary;
  classlib::WriteComponent(binary, source);
  binary.SetPosition(0);
  TSpectrum fromBinary;
  classlib::ReadComponent(binary, fromBinary);
  ExpectSameSpectrum(source, fromBinary);

  const std::string text = classlib::ComponentToText(source);
  EXPECT_NE(text.find("SpectrumBinaryData"), std::string::npos);
  TSpectrum fromText;
  classlib::ReadComponentText(text, fromText);
  ExpectSameSpectrum(source, fromText);

  classlib::TMemoryStream own;
  source.SaveToStream(own);
  own.SetPosition(0);
  TSpectrum loaded;
  loaded.SetLength(17);
  loaded.LoadFromStream(own);
  ExpectSameSpectrum(source, loaded);
}

TEST(Spectrum, TemplateModeCarriesParametersWithoutData) {
  TSpectrum source;
  Populated(source);
  classlib::TMemoryStream stream;
  source.SaveTemplateToStream(stream);
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  for (const char* absent : {"SpectrumBinaryData", "Amplt", "SamplingFrequency", "Complex"})
    EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;
  TSpectrum target;
  stream.SetPosition(0);
  target.LoadTemplateFromStream(stream);
  EXPECT_EQ(target.MainlobeWidth(), 12);
  EXPECT_EQ(target.ZeroPadding(), 2);
  EXPECT_FALSE(target.Complex());
  EXPECT_EQ(target.Length(), 64);
  EXPECT_EQ(target.Marks().Count(), 0);
  EXPECT_EQ(target.SamplingFrequency(), 1.0);
}

}  // namespace
