// The generator's design thread: one run of the Remez design on a worker,
// with its own workspace, reporting to the generator through synchronised
// calls that find the window gone or the run superseded without harm.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/classlib/Threads.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

// One design run: filled by the generator before the start, then the
// worker's alone until it has finished; the generator stops it by clearing
// Running. Shared by both, so neither outlives what it reads.
struct TDesignRun {
  int Number = 0;
  TDesignWorkspace Workspace;
  std::uint8_t FilterType = ftLowPass;
  std::uint8_t Method = dmOwnExchange;
  int Order = 0;
  int Delay = 0;
  std::atomic<bool> Running{true};

  // The worker's result, handed over under Lock once it is complete.
  std::mutex Lock;
  bool Finished = false;
  TDesignStatus Status = dsDone;
  std::string Failure;  // the message of a design that failed
};

// What a design thread reports to (the generator), in synchronised calls on
// the GUI thread: its status and its end. Calls of a stopped or superseded
// run change nothing.
class IDesignRunReceiver {
 public:
  virtual void SyncShowStatus(int runNumber, const std::string& status, bool iterationLimit) = 0;
  virtual void SyncDesignDone(TDesignRun& run) = 0;

 protected:
  ~IDesignRunReceiver() = default;
};

// The generator as its design threads reach it: the window clears Form as it
// goes. Form is read and written on the GUI thread only (the threads read it
// in their synchronised calls); the link itself is shared, so a thread that
// outlives the window still holds something valid.
struct TGeneratorLink {
  IDesignRunReceiver* Form = nullptr;
};

// Orders above this report each round of the exchange in the status bar.
inline constexpr int StatusReportOrder = 100;

class TRemezThread : public classlib::TThread {
 public:
  // Created suspended; it frees itself when it ends.
  TRemezThread(std::shared_ptr<TDesignRun> run, std::shared_ptr<TGeneratorLink> link);
  ~TRemezThread() override;

 protected:
  // overrides
  void Execute() override;

 private:
  std::shared_ptr<TDesignRun> FRun;
  std::shared_ptr<TGeneratorLink> FLink;
};

// The design threads that have not ended yet.
int RunningDesignThreads();
// Waits until every design thread has ended, answering their synchronised
// calls meanwhile; the program calls it once its windows are gone.
void WaitForDesignThreads();

}  // namespace workbench
