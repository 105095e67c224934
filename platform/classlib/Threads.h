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

// A worker thread in the original's shape: created suspended, started by
// Start, asked to stop through Terminate (Execute polls Terminated).
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
  bool Terminated() const { return terminated_.load(); }
  bool Started() const { return started_.load(); }
  bool Finished() const { return finished_.load(); }
  bool FreeOnTerminate() const { return free_on_terminate_.load(); }
  void SetFreeOnTerminate(bool value) { free_on_terminate_.store(value); }
  int ReturnValue() const { return return_value_.load(); }
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const;

  // events
  // Runs on the GUI thread (through Synchronize) after Execute.
  std::function<void(TThread&)> OnTerminate;

  // operations
  // Raises EThread "Thread already started" on a second call.
  void Start();
  void Terminate() { terminated_.store(true); }
  // Waits for the end of Execute and returns ReturnValue. On the GUI thread it
  // runs synchronised calls meanwhile. Raises EThread for a thread that was
  // never started, frees itself, or would wait for itself.
  int WaitFor();

 protected:
  // introduced virtual
  virtual void Execute() = 0;

  void SetReturnValue(int value) { return_value_.store(value); }
  void Synchronize(const std::function<void()>& fn);

 private:
  void Run();

  std::thread thread_;
  mutable std::mutex lock_;  // guards thread_, fatal_ and the end of Run
  std::condition_variable finished_signal_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> free_on_terminate_{false};
  std::atomic<int> return_value_{0};
  std::exception_ptr fatal_;
};

}  // namespace classlib
