// Warnings that model code reports and goes on: an unknown property skipped
// while a stream was read, an obsolete property that held a value no longer
// supported, a message the chart engine shows.
//
// Model code never opens a message box. It reports here once; the program
// installs a sink that shows the warnings in a message the user can dismiss,
// and until one is installed they go to standard error. A TWarningRecorder
// collects the warnings of its own thread instead while it lives: tests read
// them, and a trial read keeps quiet with one.
//
//   classlib::TWarningRecorder warnings;
//   classlib::ReadComponent(stream, chart);
//   for (const std::string& w : warnings.Warnings()) ...
#pragma once

#include <string>
#include <vector>

namespace classlib {

class TWarningSink {
 public:
  virtual ~TWarningSink() = default;
  // May be called from any thread; calls are never made at the same time.
  virtual void Warning(const std::string& text) = 0;
};

// Installs the process-wide sink (nullptr: standard error) and returns the one
// it replaces. Waits for a warning being passed to the old sink, so the caller
// may free that sink as soon as this returns.
TWarningSink* SetWarningSink(TWarningSink* sink);

// Passes text to the innermost recorder of this thread, or else to the sink.
void ReportWarning(const std::string& text);

// Collects the warnings reported on the constructing thread while it lives.
// Recorders nest: the innermost one hears them.
class TWarningRecorder {
 public:
  TWarningRecorder();
  ~TWarningRecorder();
  TWarningRecorder(const TWarningRecorder&) = delete;
  TWarningRecorder& operator=(const TWarningRecorder&) = delete;

  const std::vector<std::string>& Warnings() const { return FWarnings; }
  void Clear() { FWarnings.clear(); }

 private:
  friend void ReportWarning(const std::string& text);
  TWarningRecorder* FOuter;
  std::vector<std::string> FWarnings;
};

}  // namespace classlib
