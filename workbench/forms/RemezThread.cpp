// The generator's design thread and the count of running design threads.
// Tested by: tests/GeneratorDesignTest.cpp
#include "workbench/forms/RemezThread.h"

#include <chrono>
#include <condition_variable>

#include <QCoreApplication>
#include <QEvent>

#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

// The threads that free themselves are counted, so that the program can
// wait for them before its statics go.
struct TThreadCount {
  std::mutex Lock;
  std::condition_variable Ended;
  int Running = 0;
};

TThreadCount& ThreadCount() {
  static TThreadCount count;
  return count;
}

}  // namespace

TRemezThread::TRemezThread(std::shared_ptr<TDesignRun> run, std::shared_ptr<TGeneratorLink> link)
    : FRun(std::move(run)), FLink(std::move(link)) {
  SetFreeOnTerminate(true);
  std::lock_guard lock(ThreadCount().Lock);
  ++ThreadCount().Running;
}

TRemezThread::~TRemezThread() {
  TThreadCount& count = ThreadCount();
  std::lock_guard lock(count.Lock);
  --count.Running;
  count.Ended.notify_all();
}

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

int RunningDesignThreads() {
  std::lock_guard lock(ThreadCount().Lock);
  return ThreadCount().Running;
}

void WaitForDesignThreads() {
  TThreadCount& count = ThreadCount();
  std::unique_lock lock(count.Lock);
  while (count.Running > 0) {
    count.Ended.wait_for(lock, std::chrono::milliseconds(5));
    lock.unlock();
    // A worker may wait in a synchronised call: answer it (its window is gone
    // or its run stopped, so the call changes nothing).
    if (QCoreApplication::instance() != nullptr) QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    lock.lock();
  }
}

}  // namespace workbench
