// The warning sink: the program's sink, the default on standard error, and
// the recorders that hold back the warnings of their own thread.
// Covers: WarningSink.h, WarningSink.cpp.
#include <gtest/gtest.h>

#include <thread>

#include "platform/classlib/WarningSink.h"

namespace {

using namespace classlib;

class TListSink : public TWarningSink {
 public:
  std::vector<std::string> Seen;
  void Warning(const std::string& text) override { Seen.push_back(text); }
};

// Installs a sink for one test and puts the previous one back.
class TSinkScope {
 public:
  explicit TSinkScope(TWarningSink* sink) : FPrevious(SetWarningSink(sink)) {}
  ~TSinkScope() { SetWarningSink(FPrevious); }

 private:
  TWarningSink* FPrevious;
};

TEST(WarningSink, RecordersNestAndTheSinkHearsTheRest) {
  TListSink sink;
  TSinkScope scope(&sink);
  ReportWarning("first");
  {
    TWarningRecorder outer;
    ReportWarning("second");
    {
      TWarningRecorder inner;
      ReportWarning("third");
      EXPECT_EQ(inner.Warnings(), (std::vector<std::string>{"third"}));
    }
    ReportWarning("fourth");
    EXPECT_EQ(outer.Warnings(), (std::vector<std::string>{"second", "fourth"}));
    outer.Clear();
    EXPECT_TRUE(outer.Warnings().empty());
  }
  ReportWarning("fifth");
  EXPECT_EQ(sink.Seen, (std::vector<std::string>{"first", "fifth"}));
}

TEST(WarningSink, WithoutASinkWarningsGoToStandardError) {
  TSinkScope scope(nullptr);
  ::testing::internal::CaptureStderr();
  ReportWarning("Property X does not exist");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Warning: Property X does not exist\n");
}

TEST(WarningSink, SetWarningSinkReturnsTheSinkItReplaces) {
  TListSink a;
  TListSink b;
  TWarningSink* original = SetWarningSink(&a);
  EXPECT_EQ(SetWarningSink(&b), &a);
  EXPECT_EQ(SetWarningSink(original), &b);
}

// A recorder belongs to its thread: a worker's warnings reach the sink while
// the main thread records its own.
TEST(WarningSink, ARecorderHearsOnlyItsOwnThread) {
  TListSink sink;
  TSinkScope scope(&sink);
  TWarningRecorder mine;
  std::thread worker([] {
    for (int i = 0; i < 100; ++i) ReportWarning("worker");
    TWarningRecorder theirs;
    ReportWarning("kept by the worker");
    EXPECT_EQ(theirs.Warnings().size(), 1u);
  });
  for (int i = 0; i < 100; ++i) ReportWarning("main");
  worker.join();
  EXPECT_EQ(mine.Warnings(), std::vector<std::string>(100, "main"));
  EXPECT_EQ(sink.Seen, std::vector<std::string>(100, "worker"));
}

}  // namespace
