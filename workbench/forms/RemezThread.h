// The generator's design thread: one run of the Remez design on a worker,
// with its own workspace, reporting to the generator through synchronised
// calls that find the window gone or the run superseded without harm.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include <QPointer>

#include "platform/classlib/Threads.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

class TfrmRemez;

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

// Orders above this report each round of the exchange in the status bar.
inline constexpr int StatusReportOrder = 100;

class TRemezThread : public classlib::TThread {
 public:
  // Created suspended; it frees itself when it ends.
  TRemezThread(std::shared_ptr<TDesignRun> run, TfrmRemez* form);
  ~TRemezThread() override;

 protected:
  // overrides
  void Execute() override;

 private:
  std::shared_ptr<TDesignRun> FRun;
  QPointer<TfrmRemez> FForm;  // read on the GUI thread only
};

// The design threads that have not ended yet.
int RunningDesignThreads();
// Waits until every design thread has ended, answering their synchronised
// calls meanwhile; the program calls it once its windows are gone.
void WaitForDesignThreads();

}  // namespace workbench
