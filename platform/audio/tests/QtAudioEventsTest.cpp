// The Qt event source: work runs from the event loop, posted calls follow,
// an error of the work goes to the handler and never leaves the loop, and a
// watch that unwatches itself is left alone. Zero-time timers only: nothing
// waits in real time.
// Covers platform/audio/QtAudioEvents.cpp.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <vector>

#include "platform/audio/QtAudioEvents.h"
#include "platform/audio/testing/FakeAudio.h"

namespace {

// Runs what the event loop has queued, a bounded number of rounds.
template <class F>
bool ProcessUntil(F Done) {
  for (int i = 0; i < 100 && !Done(); ++i) QCoreApplication::processEvents();
  return Done();
}

TEST(QtAudioEvents, RunsWorkAndPostedCallsFromTheLoop) {
  std::vector<std::string> errors;
  const auto events = audio::NewQtAudioEvents([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      errors.push_back(x.what());
    }
  });
  audio::TFakeAudioSystem fake;
  std::shared_ptr<audio::TWaveStream> stream = fake.OpenWave(audio::wdPlayback, -1, {1, 1000, 8}, {1, 2});
  std::vector<std::int32_t> reported;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t) {
    reported.push_back(Index);
    if (Index == 1) throw audio::EAudioError("handler failed");
  });
  std::uint8_t bytes[2] = {};
  for (int i = 0; i < 2; ++i) stream->Queue(i, &bytes[i], 1);
  fake.Advance(1);
  events->Watch(stream);
  // Nothing runs before the loop does.
  EXPECT_TRUE(reported.empty());
  ASSERT_TRUE(ProcessUntil([&] { return reported.size() == 1; }));
  bool posted = false;
  events->Post([&] { posted = true; });
  fake.Advance(1);
  ASSERT_TRUE(ProcessUntil([&] { return posted && reported.size() == 2; }));
  EXPECT_EQ(errors, (std::vector<std::string>{"handler failed"}));
  events->Unwatch(*stream);
}

// A watch unwatched by its own work is not called again, though more is due.
TEST(QtAudioEvents, AWatchThatUnwatchesItselfIsLeftAlone) {
  const auto events = audio::NewQtAudioEvents();
  audio::TFakeAudioSystem fake;
  std::shared_ptr<audio::TWaveStream> stream = fake.OpenWave(audio::wdPlayback, -1, {1, 1000, 8}, {1, 2});
  std::vector<std::int32_t> reported;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t) {
    reported.push_back(Index);
    events->Unwatch(*stream);
  });
  std::uint8_t bytes[2] = {};
  stream->Queue(0, &bytes[0], 1);
  events->Watch(stream);
  fake.Advance(1);
  ASSERT_TRUE(ProcessUntil([&] { return reported.size() == 1; }));
  stream->Queue(1, &bytes[1], 1);
  fake.Advance(1);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(reported, (std::vector<std::int32_t>{0}));
}

TEST(QtAudioEvents, AnErrorOfAPostedCallGoesToTheHandler) {
  int errors = 0;
  const auto events = audio::NewQtAudioEvents([&](std::exception_ptr) { ++errors; });
  events->Post([] { throw audio::EAudioError("late"); });
  ASSERT_TRUE(ProcessUntil([&] { return errors == 1; }));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return result;
}
