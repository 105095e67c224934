// The signal component: timing, preparation from an input, streams, texts.
// Covers signal/Signal.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/SignalTools.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::NearRel;
using sig::TSignal;

struct TTimingCase {
  const char* Name;
  std::function<void(TSignal&)> Change;
  std::int32_t Length;
  bool Complex;
  std::int32_t Channels;
  double Fs, Duration, Period, BandWidth, Step;
};

// Each row starts from a new signal: 128 real samples at 1 Hz.
const TTimingCase TimingCases[] = {
    {"new signal", [](TSignal&) {}, 128, false, 1, 1.0, 128.0, 1.0, 0.5, 1.0 / 128},
    {"Fs 1000", [](TSignal& s) { s.SetSamplingFrequency(1000.0); }, 128, false, 1, 1000.0, 0.128, 0.001, 500.0,
     1.0 / 0.128},
    {"complex", [](TSignal& s) { s.SetComplex(true); }, 64, true, 1, 1.0, 64.0, 1.0, 1.0, 1.0 / 128},
    {"two channels", [](TSignal& s) { s.SetChannelCount(2); }, 128, false, 2, 1.0, 64.0, 1.0, 0.5, 1.0 / 64},
    // Fs 0 leaves the duration 0 and the rest as it was.
    {"Fs 0", [](TSignal& s) { s.SetSamplingFrequency(0.0); }, 128, false, 1, 0.0, 0.0, 1.0, 0.5, 1.0 / 128},
    {"256 samples keep the rate", [](TSignal& s) { s.Data().SetLength(256); }, 256, false, 1, 1.0, 256.0, 1.0, 0.5,
     1.0 / 256},
    {"Fs 1000, then 100 samples", [](TSignal& s) {
       s.SetSamplingFrequency(1000.0);
       s.SetLength(100);
     },
     100, false, 1, 1000.0, 0.1, 0.001, 500.0, 10.0},
    // A count below one would divide the timing by zero: it is stored as one.
    {"channel count 0", [](TSignal& s) { s.SetChannelCount(0); }, 128, false, 1, 1.0, 128.0, 1.0, 0.5, 1.0 / 128},
    {"channel count -3 after 2", [](TSignal& s) {
       s.SetChannelCount(2);
       s.SetChannelCount(-3);
     },
     128, false, 1, 1.0, 128.0, 1.0, 0.5, 1.0 / 128},
    {"duration 2 s", [](TSignal& s) { s.SetDuration(2.0); }, 128, false, 1, 64.0, 2.0, 1.0 / 64, 32.0, 0.5},
    // Without samples the record lasts 0 s; the rest stays.
    {"no samples", [](TSignal& s) { s.SetLength(0); }, 0, false, 1, 1.0, 0.0, 1.0, 0.5, 1.0 / 128},
};

TEST(Signal, TimingFollowsTheSamplesTheRateAndTheChannels) {
  for (const TTimingCase& c : TimingCases) {
    SCOPED_TRACE(c.Name);
    TSignal s;
    c.Change(s);
    EXPECT_EQ(s.Length(), c.Length);
    EXPECT_EQ(s.Data().Length(), c.Length);
    EXPECT_EQ(s.Complex(), c.Complex);
    EXPECT_EQ(s.ChannelCount(), c.Channels);
    // The rate that was set, or that stays, is kept exactly.
    EXPECT_TRUE(NearRel(s.SamplingFrequency(), c.Fs, 1e-15));
    EXPECT_TRUE(NearRel(s.Duration(), c.Duration, 1e-15));
    EXPECT_TRUE(NearRel(s.SamplePeriod(), c.Period, 1e-15));
    EXPECT_TRUE(NearRel(s.BandWidth(), c.BandWidth, 1e-15));
    EXPECT_TRUE(NearRel(s.FrequencyStep(), c.Step, 1e-15));
    EXPECT_TRUE(NearRel(s.StopFrequency(), s.StartFrequency() + c.BandWidth, 1e-15));
  }
}

TEST(Signal, TheRateSetIsTheRateRead) {
  for (const double fs : {3.0, 44100.0, 0.1, 1.0 / 3.0, 12345.678}) {
    TSignal s;
    s.SetSamplingFrequency(fs);
    EXPECT_EQ(s.SamplingFrequency(), fs);
    s.SetLength(1000);
    s.SetChannelCount(3);
    EXPECT_EQ(s.SamplingFrequency(), fs);
  }
}

TEST(Signal, StartTimeAndFrequencyCarryTheStops) {
  TSignal s;
  s.SetStartFrequency(10.0);
  EXPECT_EQ(s.StopFrequency(), 10.5);
  s.SetSamplingFrequency(2.0);
  EXPECT_EQ(s.StopFrequency(), 11.0);
  EXPECT_EQ(s.StopTime(), s.StartTime() + 64.0);
}

// A signal that reads its input.
class TConsumer : public TSignal {
 public:
  TConsumer() { SetUsesInputs(true); }
};

TEST(Signal, PreparationTakesTheInputsTiming) {
  TSignal input;
  input.SetSamplingFrequency(500.0);
  input.SetComplex(true);
  input.SetChannelCount(2);
  input.SetStartFrequency(-250.0);
  TConsumer consumer;
  consumer.SetInput(&input);
  consumer.Update();
  EXPECT_EQ(consumer.ChannelCount(), 2);
  EXPECT_TRUE(consumer.Complex());
  EXPECT_EQ(consumer.StartFrequency(), -250.0);
  EXPECT_EQ(consumer.SamplingFrequency(), 500.0);
  // The same through the first item of an input collection.
  TConsumer multi;
  multi.SetMultiChannel(true);
  multi.SetInput(&input);
  multi.Update();
  EXPECT_EQ(multi.SamplingFrequency(), 500.0);
  EXPECT_EQ(multi.ChannelCount(), 2);
  // A plain signal ignores its input's timing.
  TSignal plain;
  plain.SetInput(&input);
  plain.Update();
  EXPECT_EQ(plain.SamplingFrequency(), 1.0);
}

TEST(Signal, MinimumAndMaximumOfRealAndComplexSamples) {
  TSignal s;
  s.SetLength(4);
  s.Data().SetIt(false, std::vector<double>{1.0, -3.0, 2.5, 0.0});
  s.UpdateMinMax();
  EXPECT_EQ(s.MaxValue(), 2.5);
  EXPECT_EQ(s.MinValue(), -3.0);
  s.Data().SetIt(true, std::vector<double>{3.0, 4.0, 0.0, 1.0});
  s.UpdateMinMax();
  EXPECT_EQ(s.MaxValue(), 5.0);
  EXPECT_EQ(s.MinValue(), 1.0);
}

TSignal& Populated(TSignal& s) {
  s.SetName("Source");
  s.SetChannelCount(2);
  s.SetLength(6);
  s.Data().SetIt(false, std::vector<double>{1, 2, 3, 4, 5, 6});
  s.SetSamplingFrequency(3000.0);
  s.SetActive(false);
  s.Marks().AddMark({0.0, 2.5, 0.0, 0.001});
  s.Marks().AddMark({0.0, -1.0, 0.0, 0.0005});
  return s;
}

void ExpectSameSignal(const TSignal& a, const TSignal& b) {
  EXPECT_EQ(a.ChannelCount(), b.ChannelCount());
  EXPECT_EQ(a.Length(), b.Length());
  EXPECT_EQ(a.Complex(), b.Complex());
  EXPECT_EQ(a.SamplingFrequency(), b.SamplingFrequency());
  EXPECT_EQ(a.Duration(), b.Duration());
  EXPECT_EQ(a.Active(), b.Active());
  for (std::int32_t i = 0; i < a.Length(); ++i) EXPECT_EQ(a.GetSample(i), b.GetSample(i));
  ASSERT_EQ(a.Marks().Count(), b.Marks().Count());
  for (std::int32_t i = 0; i < a.Marks().Count(); ++i) {
    EXPECT_EQ(a.Marks().GetMark(i).Second, b.Marks().GetMark(i).Second);
    EXPECT_EQ(a.Marks().GetMark(i).Fourth, b.Marks().GetMark(i).Fourth);
  }
}

TEST(Signal, RoundTripsThroughTheBinaryAndTheTextComponentStream) {
  TSignal source;
  Populated(source);

  classlib::TMemoryStream binary;
  classlib::WriteComponent(binary, source);
  binary.SetPosition(0);
  TSignal fromBinary;
  classlib::ReadComponent(binary, fromBinary);
  ExpectSameSignal(source, fromBinary);

  const std::string text = classlib::ComponentToText(source);
  EXPECT_NE(text.find("SignalBinaryData"), std::string::npos);
  TSignal fromText;
  classlib::ReadComponentText(text, fromText);
  ExpectSameSignal(source, fromText);

  // Through the component's own stream, over a signal that differs everywhere.
  classlib::TMemoryStream own;
  source.SaveToStream(own);
  own.SetPosition(0);
  TSignal loaded;
  loaded.SetComplex(true);
  loaded.Marks().AddMark({});
  loaded.LoadFromStream(own);
  ExpectSameSignal(source, loaded);
}

TEST(Signal, TemplateModeCarriesParametersWithoutData) {
  TSignal source;
  Populated(source);
  classlib::TMemoryStream stream;
  source.SaveTemplateToStream(stream);
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  for (const char* absent : {"SignalBinaryData", "DataValues", "SamplingFrequency", "ChannelCount"})
    EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;

  TSignal target;
  target.SetLength(10);
  target.Data().SetVal(7.0);
  target.Marks().AddMark({1.0, 2.0, 3.0, 4.0});
  stream.SetPosition(0);
  target.LoadTemplateFromStream(stream);
  EXPECT_FALSE(target.Active());
  EXPECT_EQ(target.Length(), 10);
  EXPECT_EQ(target.GetSample(9), 7.0);
  EXPECT_EQ(target.SamplingFrequency(), 1.0);
  EXPECT_EQ(target.Marks().Count(), 1);
  EXPECT_FALSE(target.TemplateMode());
}

TEST(Signal, AnEmptyMarkListIsOneHeader) {
  TSignal s;
  classlib::TMemoryStream stream;
  s.WriteMarks(stream);
  ASSERT_EQ(stream.Size(), 32);
  stream.SetPosition(0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(stream.ReadDouble(), 0.0);
}

TEST(Signal, MarksAndValuesAsTextColumns) {
  TSignal s;
  s.SetLength(2);
  s.Data().SetIt(false, std::vector<double>{0.5, -1.25});
  s.SetSamplingFrequency(4.0);
  s.Marks().AddMark({0.0, 3.0, 0.0, 0.25});
  classlib::TStringList lines;
  s.MarksToText(lines, "", "Value", "Time [s]", "");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(0), std::string("Time [s]") + std::string(17, ' ') + "Value");
  EXPECT_EQ(lines.Strings(1), std::string("0.25") + std::string(21, ' ') + "3");
  lines.Clear();
  s.ValuesToText(lines, "0.00", "", "", "0.000");
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(0), std::string("0.00") + std::string(21, ' ') + "0.500");
  EXPECT_EQ(lines.Strings(1), std::string("0.25") + std::string(21, ' ') + "-1.250");
  // The column width is a setting of the reports.
  sig::SetReportColumnWidth(6);
  lines.Clear();
  s.ValuesToText(lines, "0.00", "", "", "0.000");
  EXPECT_EQ(lines.Strings(1), "0.25  -1.250");
  sig::SetReportColumnWidth(25);
}

}  // namespace
