// The brute-force parameter search: ranges, the nest, candidates, scores,
// workers and the texts of its results and progress.
// Tested by: tests/BruteForceSearchTest.cpp
#include "workbench/logic/BruteForceSearch.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <thread>

#include "platform/classlib/SysUtils.h"
#include "workbench/logic/Classes_Remez_Library.h"

namespace workbench {

namespace {

constexpr double RippleTolerance = 1e-9;  // of a step: an upper bound this close counts
// Combinations a worker takes at a time, in whole groups of delays: the
// delays of one filter share its design.
constexpr std::int64_t GroupsPerChunk = 2;

// The values from .. to in steps: how many.
std::int64_t RangeCount(std::int64_t from, std::int64_t to, std::int64_t step) {
  return to < from ? 0 : (to - from) / step + 1;
}

bool BandType(std::uint8_t type) { return type == ftBandPass || type == ftBandStop; }

}  // namespace

TSearchRanges SearchRangesOf(const TWorkbenchSettings& s, std::uint8_t bandType) {
  TSearchRanges r;
  r.BandType = bandType;
  r.P1from = s.P1from, r.P1to = s.P1to, r.P1step = s.P1step;
  r.D1from = s.D1from, r.D1to = s.D1to, r.D1step = s.D1step;
  r.A1from = s.A1from, r.A1to = s.A1to, r.A1step = s.A1step;
  r.Rfrom = s.Rfrom, r.Rto = s.Rto, r.Rstep = s.Rstep;
  r.Delayfrom = s.Delayfrom, r.Delayto = s.Delayto, r.Delaystep = s.Delaystep;
  r.P2 = s.P2from, r.D2 = s.D2from, r.A2 = s.A2from;
  return r;
}

double RippleValue(double from, double step, std::int64_t i) { return from + static_cast<double>(i) * step; }

std::int64_t RippleValueCount(double from, double to, double step) {
  if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to)) return 0;
  const double bound = to + RippleTolerance * step;
  if (from > bound) return 0;
  // The quotient is near the last index; the values themselves decide.
  std::int64_t last = static_cast<std::int64_t>(std::floor((to - from) / step));
  while (RippleValue(from, step, last + 1) <= bound) ++last;
  while (last > 0 && RippleValue(from, step, last) > bound) --last;
  return last + 1;
}

bool CombinationValid(std::uint8_t bandType, std::int32_t p1, std::int32_t d1, std::int32_t p2, std::int32_t d2) {
  switch (bandType) {
    case ftLowPass: return !(p1 < 4 || d1 >= p1);
    case ftHighPass: return !(p1 < 3 || d1 <= p1);
    case ftBandPass:
    case ftBandStop: return !(d1 < 3 || p1 <= d1 || p2 <= p1 || d2 <= p2);
    default: return true;
  }
}

std::int32_t SearchOrderEstimate(TDesignWorkspace& ws, const TFilterRecord& candidate) {
  SetDesignBands(ws, candidate);
  return detail::LibraryOrderEstimate(ws, candidate.FilterType);
}

void SortBruteForceResults(std::vector<TBruteForceResult>& results) {
  std::sort(results.begin(), results.end(), [](const TBruteForceResult& a, const TBruteForceResult& b) {
    if (a.Correlation != b.Correlation) return a.Correlation > b.Correlation;
    return a.Combination < b.Combination;
  });
}

TSearchScore ScoreWindow(const std::vector<double>& a, const std::vector<double>& b) {
  const std::size_t w = a.size();
  TSearchScore score;
  double sa = 0, sb = 0;
  for (std::size_t j = 0; j < w; ++j) {
    score.Error += std::fabs(static_cast<long double>(a[j]) - b[j]);
    sa += a[j];
    sb += b[j];
  }
  const double n = static_cast<double>(w);
  const double ma = sa / n, mb = sb / n;
  double cov = 0, va = 0, vb = 0;
  for (std::size_t j = 0; j < w; ++j) {
    cov += (a[j] - ma) * (b[j] - mb);
    va += (a[j] - ma) * (a[j] - ma);
    vb += (b[j] - mb) * (b[j] - mb);
  }
  score.Correlation = (cov / n) / (std::sqrt(va / n) * std::sqrt(vb / n));
  return score;
}

bool KeepScore(double correlation) { return correlation > 0.5; }

// The delay of a candidate only moves its cut: two candidates that differ in
// nothing else share one designed impulse response.
bool SameDesign(const TFilterRecord& a, const TFilterRecord& b) {
  return a.FilterType == b.FilterType && a.P1 == b.P1 && a.D1 == b.D1 && a.A1 == b.A1 && a.P2 == b.P2 &&
         a.D2 == b.D2 && a.A2 == b.A2 && a.Ripple == b.Ripple;
}

// One worker's own design state.
struct TBruteForceSearch::TWorker {
  TDesignWorkspace Design;
  // The candidate whose response Design holds, its order, and whether that
  // design can be cut (the library designed a finite response).
  bool HasDesign = false;
  TFilterRecord Designed{};
  bool DesignUsable = false;
  std::vector<double> Reference;  // the reference over the window
  std::vector<double> Candidate;  // the candidate over the window
  std::vector<TBruteForceResult> Results;
  std::exception_ptr Failure;
};

TBruteForceSearch::TBruteForceSearch(TSearchRanges ranges, TSearchData data)
    : FRanges(ranges), FData(std::move(data)) {
  const TSearchRanges& r = FRanges;
  if (r.P1step <= 0 || r.D1step <= 0 || r.A1step <= 0 || !(r.Rstep > 0) || r.Delaystep <= 0)
    throw ESearch(msgSearchStepNotPositive);
  FP1Count = RangeCount(r.P1from, r.P1to, r.P1step);
  FD1Count = RangeCount(r.D1from, r.D1to, r.D1step);
  FA1Count = RangeCount(r.A1from, r.A1to, r.A1step);
  FRCount = RippleValueCount(r.Rfrom, r.Rto, r.Rstep);
  FDelayCount = RangeCount(r.Delayfrom, r.Delayto, r.Delaystep);
  const long double nest = static_cast<long double>(FP1Count) * FD1Count * FA1Count * FRCount * FDelayCount;
  if (nest > std::numeric_limits<std::int32_t>::max()) throw ESearch(msgSearchTooLarge);
  FData.LastBar = std::max(FData.LastBar, 0);
  FData.CorrelationBars = std::clamp(FData.CorrelationBars, 1, std::max(FData.LastBar, 1));
}

std::int64_t TBruteForceSearch::CountCombinations() {
  std::int64_t pairs = 0;
  for (std::int64_t i = 0; i < FP1Count; ++i)
    for (std::int64_t j = 0; j < FD1Count; ++j)
      pairs += CombinationValid(FRanges.BandType, static_cast<std::int32_t>(FRanges.P1from + i * FRanges.P1step),
                                static_cast<std::int32_t>(FRanges.D1from + j * FRanges.D1step), FRanges.P2, FRanges.D2);
  FCount.store(pairs * FA1Count * FRCount * FDelayCount);
  return FCount.load();
}

TFilterRecord TBruteForceSearch::Candidate(std::int32_t p1, std::int32_t d1, std::int32_t a1, double ripple,
                                           std::int32_t delay) const {
  TFilterRecord f;
  f.FilterType = FRanges.BandType;
  f.P1 = p1;
  f.D1 = d1;
  f.A1 = a1;
  f.P2 = FRanges.P2;
  f.D2 = FRanges.D2;
  f.A2 = FRanges.A2;
  f.Ripple = ripple;
  f.Delay = delay;
  f.AutoOrder = 1;
  f.Method = dmLibrary;
  return f;
}

bool TBruteForceSearch::Evaluate(TWorker& w, TFilterRecord& f, TSearchScore& score) const {
  // Periods and levels a design cannot take (a period below 2 bars is no
  // band edge) are skipped, as are orders outside 4 .. 1499.
  const bool bands = BandType(f.FilterType);
  if (f.P1 < 2 || f.D1 < 2 || (bands && (f.P2 < 2 || f.D2 < 2)) || f.A1 <= 0 || (bands && f.A2 <= 0) ||
      !(f.Ripple > 0) || f.Delay < 0)
    return false;
  TDesignWorkspace& ws = w.Design;
  try {
    // The steps of DesignFilterRecord, its response designed once for all delays.
    if (!w.HasDesign || !SameDesign(w.Designed, f)) {
      w.HasDesign = true;
      w.Designed = f;
      w.DesignUsable = false;
      w.Designed.Order = SearchOrderEstimate(ws, f);
      if (w.Designed.Order > 3 && w.Designed.Order < MaxFilterOrder &&
          DesignImpulseResponse(ws, f.FilterType, w.Designed.Order, dmLibrary) != dsLibraryFailed)
        w.DesignUsable = std::all_of(ws.ImpulseResponse.begin(), ws.ImpulseResponse.begin() + ws.ImpulseLength,
                                     [](double v) { return std::isfinite(v); });
    }
    f.Order = w.Designed.Order;
    if (!(f.Order > 3 && f.Order < MaxFilterOrder) || !w.DesignUsable) return false;
    CheckFilterRecord(f);
    if (!TruncateForDelay(ws, ws.ImpulseLength, f.Delay, dmLibrary)) return false;
  } catch (const classlib::Exception&) {
    return false;
  }
  const int n = std::min(ws.DesignCoefCount, MaxCoefficients);
  const int lastBar = FData.LastBar;
  const int lastCandle = static_cast<int>(FData.Closes.size()) - 1;
  const int first = lastBar - FData.CorrelationBars;
  const double* coef = ws.DesignCoefficients.Coef.data();
  const double* close = FData.Closes.data();
  for (int j = first; j < lastBar; ++j) {
    double s = 0;
    if (n >= 1 && j >= n + 1 && j <= lastCandle)
      for (int k = 0; k < n && j - k > 0; ++k) s += close[j - k] * coef[k];
    w.Candidate[static_cast<std::size_t>(j - first)] = s;
  }
  score = ScoreWindow(w.Reference, w.Candidate);
  return true;
}

void TBruteForceSearch::Work(TWorker& w) {
  const std::int64_t total = FP1Count * FD1Count * FA1Count * FRCount * FDelayCount;
  const TSearchRanges& r = FRanges;
  while (!FCancelled.load()) {
    const std::int64_t chunk = GroupsPerChunk * FDelayCount;
    const std::int64_t begin = FNext.fetch_add(chunk);
    if (begin >= total) return;
    for (std::int64_t index = begin; index < std::min(begin + chunk, total); ++index) {
      std::int64_t t = index;
      const std::int64_t iDelay = t % FDelayCount;
      t /= FDelayCount;
      const std::int64_t iR = t % FRCount;
      t /= FRCount;
      const std::int64_t iA1 = t % FA1Count;
      t /= FA1Count;
      const std::int64_t iD1 = t % FD1Count;
      const std::int64_t iP1 = t / FD1Count;
      const auto p1 = static_cast<std::int32_t>(r.P1from + iP1 * r.P1step);
      const auto d1 = static_cast<std::int32_t>(r.D1from + iD1 * r.D1step);
      if (!CombinationValid(r.BandType, p1, d1, r.P2, r.D2)) continue;
      TFilterRecord candidate = Candidate(p1, d1, static_cast<std::int32_t>(r.A1from + iA1 * r.A1step),
                                          RippleValue(r.Rfrom, r.Rstep, iR),
                                          static_cast<std::int32_t>(r.Delayfrom + iDelay * r.Delaystep));
      TSearchScore score;
      if (Evaluate(w, candidate, score) && KeepScore(score.Correlation))
        w.Results.push_back({candidate, score.Correlation, score.Error, index});
      FDone.fetch_add(1);
      // A cancel lets the combination in hand finish, and no other start.
      if (FCancelled.load()) return;
    }
  }
}

void TBruteForceSearch::Search(int threads) {
  const std::int64_t total = FP1Count * FD1Count * FA1Count * FRCount * FDelayCount;
  threads = std::max(threads, 1);
  std::vector<TWorker> workers(static_cast<std::size_t>(threads));
  const int first = FData.LastBar - FData.CorrelationBars;
  for (TWorker& w : workers) {
    w.Design.GridDensity = FData.GridDensity;
    w.Candidate.assign(static_cast<std::size_t>(FData.CorrelationBars), 0.0);
    for (int j = first; j < FData.LastBar; ++j)
      w.Reference.push_back(j >= 0 && static_cast<std::size_t>(j) < FData.Reference.size()
                                ? FData.Reference[static_cast<std::size_t>(j)]
                                : 0.0);
  }
  const auto run = [this](TWorker& w) {
    try {
      Work(w);
    } catch (...) {
      w.Failure = std::current_exception();
      Cancel();
    }
  };
  if (threads == 1) {
    run(workers[0]);
  } else {
    std::vector<std::thread> pool;
    pool.reserve(workers.size());
    for (TWorker& w : workers) pool.emplace_back(run, std::ref(w));
    for (std::thread& t : pool) t.join();
  }
  std::vector<TBruteForceResult> all;
  for (TWorker& w : workers) {
    if (w.Failure) std::rethrow_exception(w.Failure);
    all.insert(all.end(), w.Results.begin(), w.Results.end());
  }
  SortBruteForceResults(all);
  FFinished.store(FNext.load() >= total && !FCancelled.load());
  std::lock_guard lock(FLock);
  FResults = std::move(all);
}

std::vector<TBruteForceResult> TBruteForceSearch::Results() const {
  std::lock_guard lock(FLock);
  return FResults;
}

std::vector<std::string> BruteForceResultRow(int k, const TBruteForceResult& result) {
  return {std::to_string(k), FloatToStrPoint(result.Correlation), FilterDescription(result.Filter),
          classlib::FloatToStrF(static_cast<double>(result.Error), classlib::ffFixed, 15, 2)};
}

int SearchProgressPercent(std::int64_t done, std::int64_t count) {
  if (count <= 0) return 0;
  return static_cast<int>(std::nearbyint(static_cast<double>(done) / static_cast<double>(count) * 100));
}

std::string SearchDurationText(double days) {
  if (!std::isfinite(days) || days < 0) return " —";
  const double whole = std::trunc(days);
  const auto seconds = static_cast<std::int64_t>(std::floor((days - whole) * 86400.0 + 1e-6));
  const std::string time = " " + std::to_string(seconds / 3600) + ":" + std::to_string(seconds / 60 % 60) + ":" +
                           std::to_string(seconds % 60);
  if (whole > 0) return std::to_string(static_cast<std::int64_t>(whole)) + " day " + time;
  return time;
}

std::string SearchProgressText(std::int64_t done, std::int64_t count, std::int64_t elapsedMs) {
  const double elapsed = static_cast<double>(elapsedMs) / 86400000.0;
  const std::string remaining =
      done > 0 ? SearchDurationText(static_cast<double>(count - done) * elapsed / static_cast<double>(done)) : " —";
  return "Расчет комбинации " + std::to_string(done) + " из " + std::to_string(count) + ". " + "Elapsed: " +
         SearchDurationText(elapsed) + ", Estimated: " + remaining;
}

}  // namespace workbench
