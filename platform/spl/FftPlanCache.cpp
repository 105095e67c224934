// The plan cache: first plans at once, measured plans from a background
// thread, the wisdom file read at first use and rewritten after measuring.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/FftPlanCache.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/spl/FftPlanning.h"
#include "platform/spl/FftWisdomFile.h"
#include "platform/spl/FftwPlannerProcess.h"

namespace spl {

namespace {

using TClock = std::chrono::steady_clock;

// A quick plan is measured once it has been asked for this long ago: a
// process that transforms for less (a test, a script) is gone before
// measuring would have paid off.
constexpr auto kMeasureDelay = std::chrono::seconds(1);

// Quick plans for more points stay: measuring them takes minutes and
// gigabytes of scratch memory.
constexpr int kLargestMeasured = 1 << 24;

class TPlanner {
 public:
  fftw_plan FirstPlan(TPlanSlot& slot, const TFftwProblem& problem, const void* in, const void* out);
  void WaitForPlans();
  TFftPlanningStats Stats();
  void SetWisdomFile(const std::string& path);
  std::string WisdomFile();

 private:
  void ImportWisdomFile();
  void Enqueue(TPlanSlot& slot);
  void Run();
  void Improve(std::vector<TPlanSlot*>& batch);
  bool TryWisdomPlan(TPlanSlot& slot);
  void MeasureHere(TPlanSlot& slot);
  void Install(TPlanSlot& slot, fftw_plan plan);
  void SaveWisdom();

  // FFTW's planner is not re-entrant: every call into it (plans, wisdom
  // import and export) is made under this lock. Executing a plan needs none.
  std::mutex FFftwLock;

  // Guards everything below.
  std::mutex FLock;
  std::condition_variable FWork;  // the queue has work, or someone waits
  std::condition_variable FIdle;  // a batch is done
  std::vector<TPlanSlot*> FQueue;  // slots with quick plans, to be measured
  TClock::time_point FDue;         // when the queue's oldest slot is due
  int FWaiters = 0;                // callers of WaitForPlans, who want it now
  bool FBusy = false;              // the thread is working on a batch
  bool FThread = false;            // the thread has been started
  std::optional<std::string> FWisdomFile;  // chosen at first use
  std::optional<std::string> FImported;    // the file last read
  TFftPlanningStats FStats;
  // Replaced plans may still be running on other threads, so they are never
  // destroyed; kept here, they are not leaks.
  std::vector<fftw_plan> FRetired;
};

// Never destroyed: the background thread and plans in use on other threads
// may outlive static destruction at exit.
TPlanner& Planner() {
  static auto* const planner = new TPlanner;
  return *planner;
}

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string NoPlanMessage(const TFftwProblem& problem) {
  const bool cosine = problem.Kind == fkCosineForward || problem.Kind == fkCosineInverse;
  return std::string(cosine ? "DCT" : "FFT") + ": no plan for length " + std::to_string(problem.Length);
}

fftw_plan TPlanner::FirstPlan(TPlanSlot& slot, const TFftwProblem& problem, const void* in, const void* out) {
  const TClock::time_point start = TClock::now();
  ImportWisdomFile();
  fftw_plan plan = nullptr;
  bool quick = false;
  {
    std::lock_guard<std::mutex> fftw(FFftwLock);
    plan = slot.Plan.load(std::memory_order_acquire);
    if (plan != nullptr) return plan;
    // Neither wisdom-only nor estimating planning writes to the arrays.
    auto* const i = static_cast<double*>(const_cast<void*>(in));
    auto* const o = static_cast<double*>(const_cast<void*>(out));
    plan = MakeFftwPlan(problem, FFTW_MEASURE | FFTW_WISDOM_ONLY, i, o);
    if (plan == nullptr) {
      plan = MakeFftwPlan(problem, FFTW_ESTIMATE, i, o);
      quick = true;
    }
    if (plan == nullptr) throw classlib::Exception(NoPlanMessage(problem));
    slot.Problem = problem;
    slot.Plan.store(plan, std::memory_order_release);
  }
  const double wait = Seconds(TClock::now() - start);
  std::lock_guard<std::mutex> lock(FLock);
  ++(quick ? FStats.QuickPlans : FStats.WisdomPlans);
  FStats.TotalWait += wait;
  FStats.LongestWait = std::max(FStats.LongestWait, wait);
  if (quick && problem.Length <= kLargestMeasured) Enqueue(slot);
  return plan;
}

void TPlanner::ImportWisdomFile() {
  std::string path;
  {
    std::lock_guard<std::mutex> lock(FLock);
    if (!FWisdomFile) FWisdomFile = DefaultFftWisdomFile();
    if (FImported == FWisdomFile) return;
    path = *FWisdomFile;
  }
  // Two first uses at once may both read it; importing twice does no harm.
  const std::string text = ReadWisdomFile(path);
  if (!text.empty()) {
    std::lock_guard<std::mutex> fftw(FFftwLock);
    // Wisdom of another FFTW or another machine is refused as a whole.
    fftw_import_wisdom_from_string(text.c_str());
  }
  std::lock_guard<std::mutex> lock(FLock);
  FImported = path;
}

// Under FLock.
void TPlanner::Enqueue(TPlanSlot& slot) {
  if (FQueue.empty()) FDue = TClock::now() + kMeasureDelay;
  FQueue.push_back(&slot);
  if (!FThread) {
    try {
      // Detached: it never ends, and nothing it uses is destroyed at exit.
      std::thread([this] { Run(); }).detach();
      FThread = true;
    } catch (const std::system_error&) {
      // No thread, no measuring: the quick plans stay.
      FQueue.clear();
      return;
    }
  }
  FWork.notify_one();
}

void TPlanner::Run() {
  for (;;) {
    std::vector<TPlanSlot*> batch;
    {
      std::unique_lock<std::mutex> lock(FLock);
      while (FQueue.empty() || (FWaiters == 0 && TClock::now() < FDue)) {
        if (FQueue.empty())
          FWork.wait(lock);
        else
          FWork.wait_until(lock, FDue);
      }
      batch.swap(FQueue);
      FBusy = true;
    }
    try {
      Improve(batch);
    } catch (...) {
      // Nothing may leave this thread; the batch keeps its quick plans.
    }
    {
      std::lock_guard<std::mutex> lock(FLock);
      FBusy = false;
    }
    FIdle.notify_all();
  }
}

void TPlanner::Improve(std::vector<TPlanSlot*>& batch) {
  // Small first: they are measured soonest and used most.
  std::sort(batch.begin(), batch.end(),
            [](const TPlanSlot* a, const TPlanSlot* b) { return a->Problem.Length < b->Problem.Length; });
  // Wisdom may have come meanwhile, from the file or with another slot.
  std::vector<TPlanSlot*> missing;
  for (TPlanSlot* slot : batch)
    if (!TryWisdomPlan(*slot)) missing.push_back(slot);
  if (missing.empty()) return;

  std::vector<TFftwProblem> problems;
  for (const TPlanSlot* slot : missing) problems.push_back(slot->Problem);
  const bool ran = MeasureInHelper(problems, [this, &missing](const std::string& wisdom) {
    {
      std::lock_guard<std::mutex> fftw(FFftwLock);
      fftw_import_wisdom_from_string(wisdom.c_str());
    }
    std::erase_if(missing, [this](TPlanSlot* slot) { return TryWisdomPlan(*slot); });
  });
  if (ran) {
    std::lock_guard<std::mutex> lock(FLock);
    ++FStats.HelperRuns;
  } else {
    // A helper that dies or fails on a problem has no better chance here,
    // so only a helper that cannot start is stood in for.
    for (TPlanSlot* slot : missing) MeasureHere(*slot);
  }
  SaveWisdom();
}

bool TPlanner::TryWisdomPlan(TPlanSlot& slot) {
  // Scratch, since the caller's arrays are long gone; planning from wisdom
  // does not touch it, so its pages are never even mapped in.
  TFftwScratch scratch(slot.Problem);
  if (!scratch.Ok()) return false;
  fftw_plan plan = nullptr;
  {
    std::lock_guard<std::mutex> fftw(FFftwLock);
    plan = MakeFftwPlan(slot.Problem, FFTW_MEASURE | FFTW_WISDOM_ONLY, scratch.In(), scratch.Out());
  }
  if (plan == nullptr) return false;
  Install(slot, plan);
  return true;
}

// Holds FFTW's planner, and with it every other first transform of a new
// size, for as long as measuring takes: the way without the helper.
void TPlanner::MeasureHere(TPlanSlot& slot) {
  TFftwScratch scratch(slot.Problem);
  if (!scratch.Ok()) return;
  fftw_plan plan = nullptr;
  {
    std::lock_guard<std::mutex> fftw(FFftwLock);
    plan = MakeFftwPlan(slot.Problem, FFTW_MEASURE, scratch.In(), scratch.Out());
  }
  if (plan == nullptr) return;
  Install(slot, plan);
  std::lock_guard<std::mutex> lock(FLock);
  ++FStats.MeasuredHere;
}

void TPlanner::Install(TPlanSlot& slot, fftw_plan plan) {
  const fftw_plan old = slot.Plan.exchange(plan, std::memory_order_acq_rel);
  std::lock_guard<std::mutex> lock(FLock);
  FRetired.push_back(old);
  ++FStats.ReplacedPlans;
}

void TPlanner::SaveWisdom() {
  const std::string path = WisdomFile();
  if (path.empty()) return;
  // Keeps what other processes have added since this one read the file.
  const std::string onDisk = ReadWisdomFile(path);
  std::string text;
  {
    std::lock_guard<std::mutex> fftw(FFftwLock);
    if (!onDisk.empty()) fftw_import_wisdom_from_string(onDisk.c_str());
    char* exported = fftw_export_wisdom_to_string();
    if (exported == nullptr) return;
    text = exported;
    std::free(exported);
  }
  WriteWisdomFile(path, text);
}

void TPlanner::WaitForPlans() {
  std::unique_lock<std::mutex> lock(FLock);
  ++FWaiters;
  FWork.notify_one();
  FIdle.wait(lock, [this] { return FQueue.empty() && !FBusy; });
  --FWaiters;
}

TFftPlanningStats TPlanner::Stats() {
  std::lock_guard<std::mutex> lock(FLock);
  return FStats;
}

void TPlanner::SetWisdomFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(FLock);
  FWisdomFile = path;
}

std::string TPlanner::WisdomFile() {
  std::lock_guard<std::mutex> lock(FLock);
  if (!FWisdomFile) FWisdomFile = DefaultFftWisdomFile();
  return *FWisdomFile;
}

}  // namespace

fftw_plan FirstPlan(TPlanSlot& slot, const TFftwProblem& problem, const void* in, const void* out) {
  return Planner().FirstPlan(slot, problem, in, out);
}

TFftPlanningStats FftPlanningStats() { return Planner().Stats(); }

void WaitForFftPlans() { Planner().WaitForPlans(); }

std::string DefaultFftWisdomFile() {
  if (const char* set = std::getenv("ORVEL_FFTW_WISDOM")) return set;
  // The cache folder by the XDG base-directory rules, which ignore a relative one.
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/Orvel/fftw-wisdom";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.cache/Orvel/fftw-wisdom";
  return {};
}

void SetFftWisdomFile(const std::string& path) { Planner().SetWisdomFile(path); }

std::string FftWisdomFile() { return Planner().WisdomFile(); }

}  // namespace spl
