// The warning sink and the per-thread recorders.
// Tested by: tests/WarningSinkTest.cpp.
#include "platform/classlib/WarningSink.h"

#include <cstdio>
#include <mutex>

namespace classlib {

namespace {

// The sink is process-wide by nature: there is one program to show warnings.
struct Sink {
  std::mutex lock;
  TWarningSink* sink = nullptr;
};

Sink& TheSink() {
  static Sink s;
  return s;
}

thread_local TWarningRecorder* CurrentRecorder = nullptr;

}  // namespace

TWarningSink* SetWarningSink(TWarningSink* sink) {
  Sink& s = TheSink();
  std::lock_guard<std::mutex> guard(s.lock);
  TWarningSink* previous = s.sink;
  s.sink = sink;
  return previous;
}

void ReportWarning(const std::string& text) {
  if (CurrentRecorder != nullptr) {
    CurrentRecorder->FWarnings.push_back(text);
    return;
  }
  Sink& s = TheSink();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.sink != nullptr) {
    s.sink->Warning(text);
    return;
  }
  std::fprintf(stderr, "Warning: %s\n", text.c_str());
}

TWarningRecorder::TWarningRecorder() : FOuter(CurrentRecorder) { CurrentRecorder = this; }

TWarningRecorder::~TWarningRecorder() { CurrentRecorder = FOuter; }

}  // namespace classlib
