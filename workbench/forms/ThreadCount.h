// A count of the worker threads of one kind that free themselves, so that
// the program can wait for them before its statics go.
#pragma once

#include <condition_variable>
#include <mutex>

namespace workbench {

class TThreadCount {
 public:
  // A thread of the kind is created (Started) or destroyed (Ended).
  void Started();
  void Ended();
  // The threads that have not ended yet.
  int Running();
  // Waits until every thread counted has ended, answering their synchronised
  // calls meanwhile: a worker may wait in one whose window is already gone.
  void WaitForAll();

 private:
  std::mutex FLock;
  std::condition_variable FEnded;
  int FRunning = 0;
};

}  // namespace workbench
