// The generator's design thread and the count of running design threads.
// Tested by: tests/GeneratorDesignTest.cpp
#include "workbench/forms/RemezThread.h"

#include "workbench/forms/ThreadCount.h"

namespace workbench {

namespace {

TThreadCount& DesignThreads() {
  static TThreadCount count;
  return count;
}

}  // namespace

TRemezThread::TRemezThread(std::shared_ptr<TDesignRun> run, std::shared_ptr<TGeneratorLink> link)
    : FRun(std::move(run)), FLink(std::move(link)) {
  SetFreeOnTerminate(true);
  DesignThreads().Started();
}

TRemezThread::~TRemezThread() { DesignThreads().Ended(); }

void TRemezThread::Execute() {
  TDesignRun& run = *FRun;
  TExchangeMonitor monitor;
  monitor.Running = [&run] { return run.Running.load(); };
  monitor.OnRound = [&](int round) {
    if (run.Order <= StatusReportOrder) return;
    const std::string status = "Расчет импульсной характеристики фильтра [n=" + std::to_string(run.Order) + "] (шаг " +
                               std::to_string(round) + ")...";
    Synchronize([this, &status] {
      if (FLink->Form != nullptr) FLink->Form->SyncShowStatus(FRun->Number, status, false);
    });
  };

  TDesignStatus status = dsDone;
  std::string failure;
  try {
    status = DesignImpulseResponse(run.Workspace, run.FilterType, run.Order, run.Method, &monitor);
    if (status == dsLibraryFailed) failure = msgLibraryDesignFailed;
  } catch (const classlib::Exception& e) {
    status = dsLibraryFailed;
    failure = e.Message();
  } catch (const std::exception& e) {
    status = dsLibraryFailed;
    failure = e.what();
  }
  if (status == dsIterationLimit) {
    Synchronize([this] {
      if (FLink->Form != nullptr) FLink->Form->SyncShowStatus(FRun->Number, {}, true);
    });
  }
  {
    std::lock_guard lock(run.Lock);
    run.Status = status;
    run.Failure = failure;
    run.Finished = true;
  }
  Synchronize([this] {
    if (FLink->Form != nullptr) FLink->Form->SyncDesignDone(*FRun);
  });
}

int RunningDesignThreads() { return DesignThreads().Running(); }

void WaitForDesignThreads() { DesignThreads().WaitForAll(); }

}  // namespace workbench
