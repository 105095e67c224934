// The channel multiplexer and demultiplexer.
// Covers: signal/SignalChannels.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "signal/SignalChannels.h"
#include "signal/SignalCollections.h"
#include "signal/tests/ProcessingTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::RaisedMessage;
using testutil::Values;

TEST(SignalMux, InterleavesItsInputs) {
  TSignal a, b;
  a.Data().SetIt(false, std::vector<double>{1, 2, 3});
  b.Data().SetIt(false, std::vector<double>{4, 5, 6});
  a.SetSamplingFrequency(100);
  TSignalMux mux;
  mux.Inputs()->Add()->SetInput(&a);
  mux.Inputs()->Add()->SetInput(&b);
  mux.Update();
  EXPECT_EQ(Values(mux.Data()), (std::vector<double>{1, 4, 2, 5, 3, 6}));
  EXPECT_EQ(mux.ChannelCount(), 2);
  // Each channel keeps the rate of its input.
  EXPECT_EQ(mux.SamplingFrequency(), 100);
  EXPECT_DOUBLE_EQ(mux.Duration(), a.Duration());
}

TEST(SignalMux, InterleavesComplexSamplesAsPairs) {
  TSignal a, b;
  a.Data().SetIt(true, std::vector<double>{1, 10, 2, 20});
  b.Data().SetIt(true, std::vector<double>{3, 30, 4, 40});
  TSignalMux mux;
  mux.Inputs()->Add()->SetInput(&a);
  mux.Inputs()->Add()->SetInput(&b);
  mux.Update();
  EXPECT_EQ(Values(mux.Data()), (std::vector<double>{1, 10, 3, 30, 2, 20, 4, 40}));
}

TEST(SignalMux, RefusesInputsThatDoNotMatch) {
  TSignal a, b;
  a.Data().SetIt(false, std::vector<double>{1, 2, 3});
  b.Data().SetIt(false, std::vector<double>{4, 5, 6, 7});
  TSignalMux mux;
  mux.SetName("Mux");
  mux.Inputs()->Add()->SetInput(&a);
  mux.Inputs()->Add()->SetInput(&b);
  EXPECT_EQ(RaisedMessage([&] { mux.Update(); }), "Mux: Inputs[1].Input.Length <> Self.Length!");
  b.Data().SetIt(true, std::vector<double>{4, 5, 6, 7, 8, 9});
  EXPECT_EQ(RaisedMessage([&] { mux.Update(); }), "Mux: Inputs[1].Input.Complex <> Self.Complex!");
}

TEST(SignalMux, WithoutInputsItHasOneChannelAndRefusesToRun) {
  TSignalMux mux;
  mux.SetName("Mux");
  EXPECT_EQ(mux.ChannelCount(), 1);
  EXPECT_EQ(RaisedMessage([&] { mux.Update(); }), "Mux: Inputs[0] = nil!");
}

TEST(SignalDemux, TakesOneChannelOut) {
  TSignal input;
  input.Data().SetIt(false, std::vector<double>{1, 4, 2, 5, 3, 6});
  input.SetChannelCount(2);
  input.SetSamplingFrequency(100);
  TSignalDemux demux;
  demux.SetInput(&input);
  demux.SetChannel(1);
  demux.Update();
  EXPECT_EQ(Values(demux.Data()), (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(demux.ChannelCount(), 1);
  EXPECT_EQ(demux.SamplingFrequency(), 100);
  demux.SetChannel(0);
  demux.Update();
  EXPECT_EQ(Values(demux.Data()), (std::vector<double>{1, 2, 3}));
}

TEST(SignalDemux, RefusesAChannelTheInputDoesNotHave) {
  TSignal input;
  input.SetChannelCount(2);
  TSignalDemux demux;
  demux.SetName("Demux");
  demux.SetInput(&input);
  demux.SetChannel(2);
  EXPECT_EQ(RaisedMessage([&] { demux.Update(); }), "Demux: Phase >= Factor");
  demux.SetChannel(-1);
  EXPECT_EQ(RaisedMessage([&] { demux.Update(); }), "Demux: Phase < 0");
}

TEST(SignalDemux, UndoesTheMux) {
  TSignal a, b, c;
  a.Data().SetIt(false, std::vector<double>{1, 2, 3, 4});
  b.Data().SetIt(false, std::vector<double>{5, 6, 7, 8});
  c.Data().SetIt(false, std::vector<double>{9, 10, 11, 12});
  TSignalMux mux;
  for (TSignal* s : {&a, &b, &c}) mux.Inputs()->Add()->SetInput(s);
  TSignalDemux demux;
  demux.SetInput(&mux);
  demux.SetChannel(2);
  demux.Pull();
  EXPECT_EQ(Values(demux.Data()), Values(c.Data()));
}

}  // namespace
}  // namespace sig
