// The signal browser over a signal file and its peak file, and the progress
// dialog component it owns.
// Covers signal/SignalBrowse.cpp, signal/MtxProgressDialog.cpp.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Streams.h"
#include "signal/SignalFiles.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::TTempDir;
using namespace signal_test;

struct Browser : ::testing::Test {
  TTempDir Dir;
  sig::TSignalBrowse B;
  // A stereo signal of 20000 frames (left i, right -i) and its peak file of
  // one stereo value per 100 frames (left k, right -k).
  Browser() {
    std::vector<double> signal, peaks;
    for (int i = 0; i < 20000; ++i) {
      signal.push_back(i);
      signal.push_back(-i);
    }
    for (int k = 0; k < 200; ++k) {
      peaks.push_back(k);
      peaks.push_back(-k);
    }
    B.SignalFile().SetFileName(Dir.Write("s.dat", DatRecord(signal, 44100, 2)));
    B.PeakFile().SetFileName(Dir.Write("p.dat", DatRecord(peaks, 441, 2)));
  }
};

TEST_F(Browser, ShortSpansComeFromTheSignalFile) {
  B.SetSpanLength(8192);
  B.SetRecordPosition(1001);
  const numeric::TVec& span = B.SpanData();
  ASSERT_EQ(span.Length(), 2 * 8192);
  // The position is rounded down to a multiple of the channel count.
  EXPECT_EQ(B.RecordPosition(), 1000);
  EXPECT_EQ(span.Values()[0], 1000.0);
  EXPECT_EQ(span.Values()[1], -1000.0);
  EXPECT_EQ(B.RecordTime(), 20000 / 44100.0);
}

TEST_F(Browser, LongSpansComeFromThePeakFile) {
  B.SetSpanLength(8193);
  B.SetRecordPosition(1000);
  const numeric::TVec& span = B.SpanData();
  ASSERT_EQ(span.Length(), 2 * 81);
  EXPECT_EQ(span.Values()[0], 10.0);
  EXPECT_EQ(span.Values()[1], -10.0);
  EXPECT_EQ(B.RecordPosition(), 1000);
  EXPECT_EQ(B.RecordTime(), 200 / 441.0);
}

TEST_F(Browser, SpanTimeFollowsTheSignalFilesRate) {
  B.SetIncrement(0);
  EXPECT_EQ(B.Increment(), 1);
  B.SignalFile().OpenFile();
  B.SetSpanTime(0.5);
  EXPECT_EQ(B.SpanLength(), 22050);
  EXPECT_EQ(B.SpanTime(), 0.5);
  B.SetSpanLength(4410);
  EXPECT_EQ(B.SpanTime(), 0.1);
  B.SetRecordTimePosition(0.1);
  EXPECT_EQ(B.RecordPosition(), 4410);
}

TEST(SignalBrowse, WithoutASignalFileSpanTimesAreOnlyStored) {
  sig::TSignalBrowse b;
  b.SignalFile().SetSamplingFrequency(0.0);
  b.SetSpanLength(100);
  EXPECT_EQ(b.SpanTime(), 0.0);
  b.SetSpanTime(2.5);
  EXPECT_EQ(b.SpanTime(), 2.5);
  EXPECT_EQ(b.SpanLength(), 100);
  EXPECT_EQ(b.InternalUpdate(), 0);
}

TEST(SignalBrowse, IsCreatedByClassNameWithItsSettings) {
  sig::TSignalBrowse b;
  b.SetIncrement(50);
  b.SetSpanLimit(4096);
  b.SetSpanLength(1000);
  b.SetThreaded(false);
  const std::unique_ptr<sig::TSignalBrowse> copy = RoundTrip(b);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Increment(), 50);
  EXPECT_EQ(copy->SpanLimit(), 4096);
  EXPECT_EQ(copy->SpanLength(), 1000);
  EXPECT_FALSE(copy->Threaded());
  EXPECT_EQ(copy->ProgressThread().Loops(), 1);
}

TEST(MtxProgressDialog, LoopsMinAndMaxKeepOneAnother) {
  sig::TMtxProgressDialog d;
  EXPECT_EQ(d.Loops(), 1);
  EXPECT_EQ(d.UpdateInterval(), 200);
  EXPECT_EQ(d.ThreadPriority(), sig::tpNormal);
  EXPECT_TRUE(d.InternalLoop());
  EXPECT_TRUE(d.Stopped());
  d.SetMin(5);
  EXPECT_EQ(d.Max(), 5);
  EXPECT_EQ(d.Loops(), 1);
  d.SetLoops(10);
  EXPECT_EQ(d.Max(), 14);
  d.SetMax(3);
  EXPECT_EQ(d.Min(), 3);
  EXPECT_EQ(d.Loops(), 1);
  d.SetLoops(0);
  EXPECT_EQ(d.Loops(), 1);
  EXPECT_EQ(d.Max(), 3);
  d.SetLoops(-7);
  EXPECT_EQ(d.Max(), 3);
}

TEST(MtxProgressDialog, ItsWindowComesFromTheInstalledFactoryAndFollowsTheRange) {
  // Records the range each time it is told to show it again.
  struct TWindow : sig::TProgressWindow {
    sig::TMtxProgressDialog& Dialog;
    std::vector<std::pair<int, int>> Shown;
    explicit TWindow(sig::TMtxProgressDialog& ADialog) : Dialog(ADialog) { RangeChanged(); }
    void RangeChanged() override { Shown.push_back({Dialog.Min(), Dialog.Max()}); }
  };
  EXPECT_EQ(sig::TMtxProgressDialog().Window(), nullptr);
  auto previous = sig::SetProgressWindowFactory(
      [](sig::TMtxProgressDialog& d) -> std::unique_ptr<sig::TProgressWindow> { return std::make_unique<TWindow>(d); });
  sig::TMtxProgressDialog d;
  sig::SetProgressWindowFactory(previous);
  ASSERT_NE(d.Window(), nullptr);
  d.SetMin(5);
  d.SetLoops(10);
  d.SetMax(3);
  EXPECT_EQ(dynamic_cast<TWindow*>(d.Window())->Shown,
            (std::vector<std::pair<int, int>>{{0, 0}, {5, 5}, {5, 14}, {3, 3}}));
}

TEST(MtxProgressDialog, IsCreatedByClassNameWithItsSettings) {
  sig::TMtxProgressDialog d;
  d.SetMin(5);
  d.SetLoops(10);
  d.SetThreadPriority(sig::tpHigher);
  d.SetShowDialog(true);
  d.SetInfiniteLoop(true);
  d.SetUpdateInterval(50);
  const std::unique_ptr<sig::TMtxProgressDialog> copy = RoundTrip(d);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Min(), 5);
  EXPECT_EQ(copy->Max(), 14);
  EXPECT_EQ(copy->Loops(), 10);
  EXPECT_EQ(copy->ThreadPriority(), sig::tpHigher);
  EXPECT_TRUE(copy->ShowDialog());
  EXPECT_TRUE(copy->InfiniteLoop());
  EXPECT_EQ(copy->UpdateInterval(), 50);
}

}  // namespace
