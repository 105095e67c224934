// Worker threads and synchronised calls into the GUI thread.
//
// A worker never touches a window: it hands a function to Synchronize, which
// runs it on the GUI thread and returns when it has run; an exception thrown
// there is carried back and raised again in the worker. How the call reaches
// the GUI thread is pluggable: the windows install the Qt dispatcher (a
// blocking queued call into the application object), headless programs keep
// the direct one (the call runs on the caller's thread), and tests may install
// the queued one and pump it with CheckSynchronize.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/classlib/Exception.h"

namespace classlib {

class EThread : public Exception {
 public:
  using Exception::Exception;
};

// How a call reaches the GUI thread. Dispatch runs call on the GUI thread and
// returns when it has run (call itself never throws). Pump, when set, runs the
// calls waiting for the GUI thread; WaitFor calls it while the GUI thread
// waits for a worker, so that a worker blocked in Synchronize can finish.
struct TSyncDispatcher {
  std::function<void(const std::function<void()>& call)> Dispatch;
  std::function<void()> Pump;
};

// Each installs a dispatcher and makes the calling thread the GUI thread.
void InstallSyncDispatcher(TSyncDispatcher dispatcher);
// Calls run on the thread that asks (the default: no GUI thread at all).
void InstallDirectSyncDispatcher();
// Calls wait in a queue until the GUI thread runs them in CheckSynchronize.
void InstallQueuedSyncDispatcher();
// Calls go to the Qt application's thread, which must be the calling thread.
// Raises EThread when there is no QCoreApplication.
void InstallQtSyncDispatcher();

// The GUI thread; a default id when none was named.
std::thread::id MainThreadID();
// Runs the calls queued for the GUI thread (queued dispatcher), waiting up to
// timeoutMs for the first one; true when any ran. Does nothing elsewhere.
bool CheckSynchronize(int timeoutMs = 0);
// Runs fn on the GUI thread and waits for it; on the GUI thread itself, runs
// it at once. Exceptions of fn reach the caller.
void Synchronize(const std::function<void()>& fn);

// A worker thread: created suspended (so its creator can fill it first),
// started by Start, asked to stop through Terminate (Execute polls Terminated).
//
// A thread with FreeOnTerminate deletes itself after Execute (and OnTerminate);
// nobody may touch it after Start then. Otherwise the owner deletes it, and the
// destructor terminates and waits. A derived class whose Execute uses its own
// members must terminate and wait in its own destructor, before they go.
class TThread {
 public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // properties
  bool Terminated() const { return FTerminated.load(); }
  bool Started() const { return FStarted.load(); }
  bool Finished() const { return FFinished.load(); }
  bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
  void SetFreeOnTerminate(bool value) { FFreeOnTerminate.store(value); }
  int ReturnValue() const { return FReturnValue.load(); }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const;

  // events
  // Runs on the GUI thread (through Synchronize) after Execute.
  std::function<void(TThread&)> OnTerminate;

  // operations
  // Raises EThread "Thread already started" on a second call.
  void Start();
  void Terminate() { FTerminated.store(true); }
  // Waits for the end of Execute and returns ReturnValue. On the GUI thread it
  // runs synchronised calls meanwhile. Raises EThread for a thread that was
  // never started, frees itself, or would wait for itself.
  int WaitFor();

 protected:
  // introduced virtual
  virtual void Execute() = 0;

  void SetReturnValue(int value) { FReturnValue.store(value); }
  void Synchronize(const std::function<void()>& fn);

 private:
  void Run();

  std::thread FThread;
  mutable std::mutex FLock;  // guards FThread, FFatal and the end of Run
  std::condition_variable FFinishedSignal;
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<int> FReturnValue{0};
  std::exception_ptr FFatal;
};

}  // namespace classlib
