// Worker threads and the dispatchers of synchronised calls.
// Tested by: tests/ThreadsTest.cpp.
#include "platform/classlib/Threads.h"

#include <chrono>
#include <deque>
#include <memory>

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace classlib {

namespace {

// The installed dispatcher and the GUI thread: process-wide by nature, as
// there is one GUI thread. Held by shared_ptr so a call in flight keeps the
// dispatcher it started with when another is installed.
struct TSyncState {
  std::mutex Lock;
  std::shared_ptr<const TSyncDispatcher> Dispatcher;
  std::thread::id MainThread;
};

TSyncState& State() {
  static TSyncState state;
  return state;
}

std::shared_ptr<const TSyncDispatcher> CurrentDispatcher() {
  std::lock_guard lock(State().Lock);
  return State().Dispatcher;
}

// The queue of the queued dispatcher.
struct TSyncQueue {
  struct TPending {
    const std::function<void()>* Call;
    bool Done = false;
  };
  std::mutex Lock;
  std::condition_variable Arrived;
  std::condition_variable Ran;
  std::deque<TPending*> Pending;

  void Dispatch(const std::function<void()>& call) {
    TPending pending{&call};
    std::unique_lock lock(Lock);
    Pending.push_back(&pending);
    Arrived.notify_all();
    Ran.wait(lock, [&] { return pending.Done; });
  }

  bool RunPending(int timeoutMs) {
    std::unique_lock lock(Lock);
    if (Pending.empty() && timeoutMs > 0)
      Arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !Pending.empty(); });
    if (Pending.empty()) return false;
    std::deque<TPending*> batch;
    batch.swap(Pending);
    lock.unlock();
    for (TPending* p : batch) (*p->Call)();
    lock.lock();
    for (TPending* p : batch) p->Done = true;
    Ran.notify_all();
    return true;
  }
};

TSyncQueue& Queue() {
  static TSyncQueue queue;
  return queue;
}

}  // namespace

void InstallSyncDispatcher(TSyncDispatcher dispatcher) {
  auto shared = std::make_shared<const TSyncDispatcher>(std::move(dispatcher));
  std::lock_guard lock(State().Lock);
  State().Dispatcher = std::move(shared);
  State().MainThread = std::this_thread::get_id();
}

void InstallDirectSyncDispatcher() {
  std::lock_guard lock(State().Lock);
  State().Dispatcher.reset();
  State().MainThread = std::thread::id();
}

void InstallQueuedSyncDispatcher() {
  TSyncDispatcher dispatcher;
  dispatcher.Dispatch = [](const std::function<void()>& call) { Queue().Dispatch(call); };
  dispatcher.Pump = [] { Queue().RunPending(0); };
  InstallSyncDispatcher(std::move(dispatcher));
}

void InstallQtSyncDispatcher() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) throw EThread("No application object for synchronised calls");
  if (QThread::currentThread() != app->thread())
    throw EThread("Synchronised calls must be installed from the application's thread");
  TSyncDispatcher dispatcher;
  dispatcher.Dispatch = [](const std::function<void()>& call) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) throw EThread("No application object for synchronised calls");
    // Qt hands the call over and back through futexes that ThreadSanitizer
    // cannot see; the call reads the caller's stack, which the caller writes
    // again once it returns. The same hand-over through an atomic of our own
    // orders both for any reader of this code, the sanitizer included.
    std::atomic<int> handOver{0};
    handOver.store(1, std::memory_order_release);
    QMetaObject::invokeMethod(
        application,
        [&call, &handOver] {
          handOver.load(std::memory_order_acquire);
          call();
          handOver.store(2, std::memory_order_release);
        },
        Qt::BlockingQueuedConnection);
    handOver.load(std::memory_order_acquire);
  };
  // Only the queued calls, not input events: a click handled while the GUI
  // thread waits for a worker could free what the worker is about to use.
  dispatcher.Pump = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); };
  InstallSyncDispatcher(std::move(dispatcher));
}

std::thread::id MainThreadID() {
  std::lock_guard lock(State().Lock);
  return State().MainThread;
}

bool CheckSynchronize(int timeoutMs) {
  if (std::this_thread::get_id() != MainThreadID()) return false;
  return Queue().RunPending(timeoutMs);
}

void Synchronize(const std::function<void()>& fn) {
  const auto dispatcher = CurrentDispatcher();
  if (!dispatcher || !dispatcher->Dispatch || std::this_thread::get_id() == MainThreadID()) {
    fn();
    return;
  }
  std::exception_ptr error;
  const std::function<void()> call = [&] {
    try {
      fn();
    } catch (...) {
      error = std::current_exception();
    }
  };
  dispatcher->Dispatch(call);
  if (error) std::rethrow_exception(error);
}

// ---------------------------------------------------------------------------
// TThread

TThread::TThread() = default;

TThread::~TThread() {
  // A thread that frees itself is deleted only by itself, after Execute.
  if (!Started() || FreeOnTerminate()) return;
  Terminate();
  try {
    WaitFor();
  } catch (...) {
    // A destructor cannot report; the thread has ended either way.
  }
}

std::exception_ptr TThread::FatalException() const {
  std::lock_guard lock(FLock);
  return FFatal;
}

void TThread::Start() {
  std::lock_guard lock(FLock);
  if (FStarted.exchange(true)) throw EThread("Thread already started");
  // Run waits for this lock, so FThread is assigned before it can detach itself.
  FThread = std::thread(&TThread::Run, this);
}

void TThread::Synchronize(const std::function<void()>& fn) { classlib::Synchronize(fn); }

void TThread::Run() {
  { std::lock_guard wait(FLock); }
  std::exception_ptr error;
  try {
    Execute();
  } catch (...) {
    error = std::current_exception();
  }
  if (OnTerminate) {
    try {
      classlib::Synchronize([this] { OnTerminate(*this); });
    } catch (...) {
      if (!error) error = std::current_exception();
    }
  }
  const bool freeItself = FreeOnTerminate();
  {
    std::lock_guard lock(FLock);
    FFatal = error;
    if (freeItself) FThread.detach();
    FFinished.store(true);
  }
  FFinishedSignal.notify_all();
  if (freeItself) delete this;
}

int TThread::WaitFor() {
  if (!Started()) throw EThread("Cannot wait for a thread that was not started");
  if (FreeOnTerminate()) throw EThread("Cannot wait for a thread that frees itself");
  {
    std::lock_guard lock(FLock);
    if (FThread.get_id() == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
  }
  const bool onMainThread = std::this_thread::get_id() == MainThreadID();
  const auto dispatcher = CurrentDispatcher();
  std::unique_lock lock(FLock);
  while (!Finished()) {
    if (onMainThread && dispatcher && dispatcher->Pump) {
      FFinishedSignal.wait_for(lock, std::chrono::milliseconds(5), [&] { return Finished(); });
      lock.unlock();
      dispatcher->Pump();
      lock.lock();
    } else {
      FFinishedSignal.wait(lock, [&] { return Finished(); });
    }
  }
  // Run no longer needs the lock once finished, so joining under it is safe
  // and keeps two waiters from joining at once.
  if (FThread.joinable()) FThread.join();
  return ReturnValue();
}

}  // namespace classlib
