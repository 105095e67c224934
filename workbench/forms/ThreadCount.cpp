// Tested by: tests/GeneratorDesignTest.cpp, tests/SearchDialogTest.cpp
#include "workbench/forms/ThreadCount.h"

#include <chrono>

#include <QCoreApplication>
#include <QEvent>

namespace workbench {

void TThreadCount::Started() {
  std::lock_guard lock(FLock);
  ++FRunning;
}

void TThreadCount::Ended() {
  std::lock_guard lock(FLock);
  --FRunning;
  FEnded.notify_all();
}

int TThreadCount::Running() {
  std::lock_guard lock(FLock);
  return FRunning;
}

void TThreadCount::WaitForAll() {
  std::unique_lock lock(FLock);
  while (FRunning > 0) {
    FEnded.wait_for(lock, std::chrono::milliseconds(5));
    lock.unlock();
    // The calls find their window gone or their run stopped, and change nothing.
    if (QCoreApplication::instance() != nullptr) QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    lock.lock();
  }
}

}  // namespace workbench
