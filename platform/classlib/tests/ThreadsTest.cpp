// Covers Threads.cpp: TThread's life cycle and Synchronize through the direct,
// queued and Qt dispatchers, with exceptions carried back to the worker.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <string>

#include "platform/classlib/Threads.h"

namespace {

using namespace classlib;
using namespace std::chrono_literals;

class Threads : public ::testing::Test {
 protected:
  void TearDown() override { InstallDirectSyncDispatcher(); }
};

// A worker that runs a function; the test body decides what it does.
class TProbeThread : public TThread {
 public:
  explicit TProbeThread(std::function<void(TProbeThread&)> body) : FBody(std::move(body)) {}
  ~TProbeThread() override {
    Terminate();
    if (Started() && !FreeOnTerminate()) WaitFor();
    if (destroyed) destroyed->store(true);
  }
  using TThread::SetReturnValue;
  using TThread::Synchronize;
  std::atomic<bool>* destroyed = nullptr;

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(TProbeThread&)> FBody;
};

TEST_F(Threads, CreatedSuspendedRunsAfterStartAndStopsWhenTerminated) {
  std::atomic<int> passes{0};
  TProbeThread t([&](TProbeThread& self) {
    while (!self.Terminated()) {
      ++passes;
      std::this_thread::sleep_for(1ms);
    }
    self.SetReturnValue(42);
  });
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(passes.load(), 0);
  EXPECT_FALSE(t.Started());
  t.Start();
  while (passes.load() == 0) std::this_thread::sleep_for(1ms);
  t.Terminate();
  EXPECT_EQ(t.WaitFor(), 42);
  EXPECT_TRUE(t.Finished());
  EXPECT_EQ(t.FatalException(), nullptr);
  EXPECT_THROW(t.Start(), EThread);
}

TEST_F(Threads, WaitForRefusesWhatWouldHang) {
  TProbeThread never([](TProbeThread&) {});
  EXPECT_THROW(never.WaitFor(), EThread);
  std::string inner;
  TProbeThread self([&](TProbeThread& me) {
    try {
      me.WaitFor();
    } catch (const EThread& e) {
      inner = e.what();
    }
  });
  self.Start();
  self.WaitFor();
  EXPECT_EQ(inner, "A thread cannot wait for itself");
}

TEST_F(Threads, AnExceptionInExecuteIsKept) {
  TProbeThread t([](TProbeThread&) { throw Exception("Remez: Overlapping bands!"); });
  t.Start();
  t.WaitFor();
  ASSERT_NE(t.FatalException(), nullptr);
  try {
    std::rethrow_exception(t.FatalException());
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Remez: Overlapping bands!");
  }
}

TEST_F(Threads, FreeOnTerminateDeletesItself) {
  std::atomic<bool> destroyed{false};
  auto* t = new TProbeThread([](TProbeThread&) { std::this_thread::sleep_for(5ms); });
  t->destroyed = &destroyed;
  t->SetFreeOnTerminate(true);
  t->Start();
  for (int i = 0; i < 10000 && !destroyed.load(); ++i) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(destroyed.load());
}

TEST_F(Threads, DirectDispatcherRunsOnTheCallingThread) {
  std::thread::id ranOn;
  TProbeThread t([&](TProbeThread& self) { self.Synchronize([&] { ranOn = std::this_thread::get_id(); }); });
  t.Start();
  t.WaitFor();
  EXPECT_NE(ranOn, std::this_thread::get_id());
  EXPECT_NE(ranOn, std::thread::id());
}

TEST_F(Threads, QueuedDispatcherRunsOnTheGuiThreadAndCarriesExceptionsBack) {
  InstallQueuedSyncDispatcher();
  const auto gui = std::this_thread::get_id();
  EXPECT_EQ(MainThreadID(), gui);
  std::thread::id ranOn;
  bool sawResult = false;
  std::string caught;
  std::thread::id terminateOn;
  TProbeThread t([&](TProbeThread& self) {
    int value = 0;
    self.Synchronize([&] {
      ranOn = std::this_thread::get_id();
      value = 7;
    });
    sawResult = value == 7;  // the worker waited for the call
    try {
      self.Synchronize([] { throw Exception("Input = nil!"); });
    } catch (const Exception& e) {
      caught = e.what();
    }
  });
  t.OnTerminate = [&](TThread&) { terminateOn = std::this_thread::get_id(); };
  t.Start();
  t.WaitFor();  // pumps the queue meanwhile
  EXPECT_EQ(ranOn, gui);
  EXPECT_TRUE(sawResult);
  EXPECT_EQ(caught, "Input = nil!");
  EXPECT_EQ(terminateOn, gui);

  // On the GUI thread itself a synchronised call runs at once.
  bool ran = false;
  Synchronize([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST_F(Threads, QueuedCallsFromManyWorkers) {
  InstallQueuedSyncDispatcher();
  int counter = 0;  // touched only on the GUI thread
  std::vector<std::unique_ptr<TProbeThread>> workers;
  for (int w = 0; w < 4; ++w) {
    workers.push_back(std::make_unique<TProbeThread>([&](TProbeThread& self) {
      for (int i = 0; i < 50; ++i) self.Synchronize([&] { ++counter; });
    }));
    workers.back()->Start();
  }
  int pumped = 0;
  while (counter < 200 && pumped < 100000) {
    CheckSynchronize(10);
    ++pumped;
  }
  for (auto& w : workers) w->WaitFor();
  EXPECT_EQ(counter, 200);
}

TEST_F(Threads, QtDispatcherUsesTheApplicationThread) {
  EXPECT_THROW(InstallQtSyncDispatcher(), EThread);
  int argc = 1;
  char name[] = "classlib_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  InstallQtSyncDispatcher();
  const auto gui = std::this_thread::get_id();
  std::thread::id ranOn;
  std::string caught;
  TProbeThread t([&](TProbeThread& self) {
    self.Synchronize([&] { ranOn = std::this_thread::get_id(); });
    try {
      self.Synchronize([] { throw Exception("boom"); });
    } catch (const Exception& e) {
      caught = e.what();
    }
    QMetaObject::invokeMethod(&app, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
  });
  t.Start();
  QTimer::singleShot(30000, &app, [] { QCoreApplication::exit(1); });  // never hang the suite
  EXPECT_EQ(app.exec(), 0);
  t.WaitFor();
  EXPECT_EQ(ranOn, gui);
  EXPECT_EQ(caught, "boom");

  // Waiting on the GUI thread without an event loop still serves the worker.
  int value = 0;
  TProbeThread second([&](TProbeThread& self) { self.Synchronize([&] { value = 5; }); });
  second.Start();
  second.WaitFor();
  EXPECT_EQ(value, 5);
}

}  // namespace
