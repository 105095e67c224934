// Covers numeric/ObjectCache.cpp under concurrent use: several threads take
// and return vectors and matrices in every order, past exhaustion, with size
// handlers installed. Run it on a ThreadSanitizer build as well
// (-DORVEL_SANITIZE=thread, ctest -R ObjectCacheConcurrency): a data race in
// the cache shows there even when the counters below come out right.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "numeric/Numora.h"

namespace numeric {
namespace {

constexpr int kThreads = 4;
constexpr int kIterations = 1500;
constexpr unsigned kSeed = 20240611;

struct WorkerReport {
  int WrongValues = 0;     // a temporary changed under its owner
  int NotFresh = 0;        // a temporary came out not real, empty and checked
  int StrayEvents = 0;     // a size handler fired after its object was returned
  int PlainFallbacks = 0;  // takes beyond the slots
};

// Fills a vector with values that only this thread and iteration produce.
void Stamp(TVec& v, int owner, int iteration) {
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i) v.Values()[i] = owner * 1e6 + iteration + i * 1e-3;
}

bool HasStamp(const TVec& v, int owner, int iteration) {
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i)
    if (v.Values()[i] != owner * 1e6 + iteration + i * 1e-3) return false;
  return true;
}

bool Fresh(const TVec& v) {
  return !v.Complex() && v.Length() == 0 && v.ConditionCheck() && v.Caption().empty() && !v.OnSetSize();
}

void Work(int owner, WorkerReport& report) {
  std::mt19937 random(kSeed + static_cast<unsigned>(owner));
  std::vector<TVec*> held;  // kept across iterations, so that the slots run out
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    TVec *a = nullptr, *b = nullptr, *c = nullptr;
    CreateIt(a, b, c);
    for (TVec* v : {a, b, c}) {
      if (!Fresh(*v)) ++report.NotFresh;
      if (v->CacheIndex() < 0) ++report.PlainFallbacks;
    }
    auto live = std::make_shared<std::atomic<bool>>(true);
    a->SetOnSetSize([live, &report](TVec&) {
      if (!live->load()) ++report.StrayEvents;
    });
    a->Size(static_cast<std::int32_t>(random() % 600), random() % 2 == 0);
    b->Size(static_cast<std::int32_t>(random() % 1500), false);
    c->Size(3, true);
    for (TVec* v : {a, b, c}) Stamp(*v, owner, iteration);

    {
      TCachedMtx m;
      m->Size(static_cast<std::int32_t>(1 + random() % 40), 7, random() % 2 == 0);
      m->RowValues(0)[0] = owner;
      TCachedVec window;
      window->SetSubRange(*m, 0, -1);
      std::this_thread::yield();
      if (window->Values()[0] != owner) ++report.WrongValues;
    }

    std::this_thread::yield();
    for (TVec* v : {a, b, c})
      if (!HasStamp(*v, owner, iteration)) ++report.WrongValues;

    if (random() % 3 == 0 && held.size() < 10) {
      held.push_back(b);
      b = nullptr;
    }
    if (!held.empty() && random() % 4 == 0) {
      const std::size_t k = random() % held.size();
      FreeIt(held[k]);
      held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
    }
    // Every return order: as a stack, in taking order, or mixed.
    switch (random() % 3) {
      case 0: FreeIt(c, b, a); break;
      case 1: FreeIt(a, b, c); break;
      default: FreeIt(b, a, c); break;
    }
    live->store(false);
  }
  for (TVec*& v : held) FreeIt(v);
}

TEST(ObjectCacheConcurrency, ConcurrentTakesAndReturnsStayConsistent) {
  InitNumora();
  ASSERT_EQ(VecCacheState().UsedCount, 0);
  // All but a few slots are taken before the workers start, so they run out of
  // slots however the scheduler interleaves them (on a busy machine they may
  // hardly overlap) and still contend for the few that are left.
  std::vector<TVec*> occupied(DefaultVecCacheCount - 2 * kThreads, nullptr);
  for (TVec*& v : occupied) CreateIt(v);
  std::vector<WorkerReport> reports(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(Work, t + 1, std::ref(reports[static_cast<std::size_t>(t)]));
  for (std::thread& t : threads) t.join();
  for (TVec*& v : occupied) FreeIt(v);

  int fallbacks = 0;
  for (int t = 0; t < kThreads; ++t) {
    const WorkerReport& r = reports[static_cast<std::size_t>(t)];
    SCOPED_TRACE(testing::Message() << "thread " << t + 1 << ", seed " << kSeed + t + 1);
    EXPECT_EQ(r.WrongValues, 0);
    EXPECT_EQ(r.NotFresh, 0);
    EXPECT_EQ(r.StrayEvents, 0);
    fallbacks += r.PlainFallbacks;
  }
  EXPECT_GT(fallbacks, 0) << "the slots never ran out: exhaustion was not exercised";

  // Everything is back, and every slot holds its own object.
  EXPECT_EQ(VecCacheState().UsedCount, 0);
  EXPECT_EQ(MtxCacheState().UsedCount, 0);
  std::vector<TVec*> all(DefaultVecCacheCount, nullptr);
  for (TVec*& v : all) CreateIt(v);
  std::vector<TVec*> sorted = all;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (TVec* v : all) EXPECT_GE(v->CacheIndex(), 0);
  for (TVec*& v : all) FreeIt(v);
}

TEST(ObjectCacheConcurrency, RebuildRacesWithUse) {
  // A rebuild on one thread while others take and return: each rebuild either
  // succeeds on an idle cache or is refused with its message, never corrupts it.
  InitNumora();
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::vector<std::thread> users;
  for (int t = 0; t < 2; ++t) {
    users.emplace_back([&, t] {
      while (!stop.load()) {
        TCachedVec v;
        v->SetLength(100 + t);
        v->SetVal(t);
        if (v->Values()[99] != t) ++wrong;
      }
    });
  }
  int refused = 0;
  for (int i = 0; i < 200; ++i) {
    try {
      CreateVecCache(DefaultVecCacheCount, DefaultVecCacheLength);
    } catch (const classlib::Exception&) {
      ++refused;
    }
    std::this_thread::yield();
  }
  stop.store(true);
  for (std::thread& t : users) t.join();
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_EQ(VecCacheState().UsedCount, 0);
  RecordProperty("refused_rebuilds", refused);
}

}  // namespace
}  // namespace numeric
