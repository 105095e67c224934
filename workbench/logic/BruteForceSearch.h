// The brute-force parameter search without its window: every combination of
// ranges of P1, D1, A1, ripple and delay designed by the library, run over
// the closes and scored by the Pearson correlation of its output with a
// reference series over the last bars; combinations above 0.5 are kept, best
// first.
//
// The search runs its combinations on as many workers as it is given, each
// with its own design workspace, and lists exactly what one worker lists, in
// the same order: by correlation, highest first, equal correlations in the
// order of the nest. A cancelled search keeps the combinations it finished.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/classlib/Exception.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

inline constexpr const char* msgSearchStepNotPositive = "Шаг перебора должен быть больше нуля";
inline constexpr const char* msgSearchTooLarge = "Слишком много комбинаций перебора (больше 2147483647)";

// A search that cannot start; nothing has run.
class ESearch : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

// The ranges of a search. The nest loops P1, D1, A1, ripple and delay, every
// bound inclusive; band filters take their second band (P2, D2, A2) as given.
struct TSearchRanges {
  std::uint8_t BandType = ftLowPass;
  std::int32_t P1from = 0, P1to = 0, P1step = 1;
  std::int32_t D1from = 0, D1to = 0, D1step = 1;
  std::int32_t A1from = 0, A1to = 0, A1step = 1;
  double Rfrom = 0, Rto = 0, Rstep = 1;
  std::int32_t Delayfrom = 0, Delayto = 0, Delaystep = 1;
  std::int32_t P2 = 0, D2 = 0, A2 = 0;
};

// The ranges of the settings' search section; the second band from its
// "from" fields.
TSearchRanges SearchRangesOf(const TWorkbenchSettings& settings, std::uint8_t bandType);

// The search dialog's inputs (by the controls' names) and the settings fields
// they show and keep: the integer inputs row by row of the dialog's grid
// (from, to, step), and the ripple's text inputs.
struct TSearchIntegerInput {
  const char* Input;
  std::int32_t TWorkbenchSettings::*Field;
};
inline constexpr TSearchIntegerInput SearchIntegerInputs[] = {
    {"inP1from", &TWorkbenchSettings::P1from},   {"inP1to", &TWorkbenchSettings::P1to},
    {"inP1step", &TWorkbenchSettings::P1step},   {"inP2from", &TWorkbenchSettings::P2from},
    {"inP2to", &TWorkbenchSettings::P2to},       {"inP2step", &TWorkbenchSettings::P2step},
    {"inD1from", &TWorkbenchSettings::D1from},   {"inD1to", &TWorkbenchSettings::D1to},
    {"inD1step", &TWorkbenchSettings::D1step},   {"inD2from", &TWorkbenchSettings::D2from},
    {"inD2to", &TWorkbenchSettings::D2to},       {"inD2step", &TWorkbenchSettings::D2step},
    {"inA1from", &TWorkbenchSettings::A1from},   {"inA1to", &TWorkbenchSettings::A1to},
    {"inA1step", &TWorkbenchSettings::A1step},   {"inA2from", &TWorkbenchSettings::A2from},
    {"inA2to", &TWorkbenchSettings::A2to},       {"inA2step", &TWorkbenchSettings::A2step},
    {"inDfrom", &TWorkbenchSettings::Delayfrom}, {"inDto", &TWorkbenchSettings::Delayto},
    {"inDstep", &TWorkbenchSettings::Delaystep},
};
struct TSearchRippleInput {
  const char* Input;
  double TWorkbenchSettings::*Field;
};
inline constexpr TSearchRippleInput SearchRippleInputs[] = {
    {"inRfrom", &TWorkbenchSettings::Rfrom}, {"inRto", &TWorkbenchSettings::Rto}, {"inRstep", &TWorkbenchSettings::Rstep}};

// The ripple values of a range: from + i x step for i = 0, 1, ... up to the
// upper bound, which counts when within 1e-9 x step of a value.
std::int64_t RippleValueCount(double from, double to, double step);
double RippleValue(double from, double step, std::int64_t i);

// The order the search designs a candidate with: the library's estimate from
// the candidate's bands (into ws).
std::int32_t SearchOrderEstimate(TDesignWorkspace& ws, const TFilterRecord& candidate);

// Whether the periods of a combination are in the band type's order.
bool CombinationValid(std::uint8_t bandType, std::int32_t p1, std::int32_t d1, std::int32_t p2, std::int32_t d2);

// What a search runs over: the closes of the candles (index = bar), the last
// bar of the rows, the reference per bar (0 .. LastBar - 1; missing entries
// count 0), the bars of the score window and the grid density of the designs.
struct TSearchData {
  std::vector<double> Closes;
  std::int32_t LastBar = 0;
  std::vector<double> Reference;
  std::int32_t CorrelationBars = 100;
  std::int32_t GridDensity = DefaultGridDensity;
};

// One combination kept.
struct TBruteForceResult {
  TFilterRecord Filter{};    // as designed: Order the estimate
  double Correlation = 0;
  long double Error = 0;     // sum of |reference - candidate| over the window
  std::int64_t Combination = 0;  // its place in the nest
};

// Highest correlation first; equal correlations by their place in the nest.
void SortBruteForceResults(std::vector<TBruteForceResult>& results);

// The score of a candidate's values `b` against the reference `a` over the
// window: Pearson correlation (NaN for a constant series) and error.
struct TSearchScore {
  double Correlation = 0;
  long double Error = 0;
};
TSearchScore ScoreWindow(const std::vector<double>& a, const std::vector<double>& b);
// Whether a score is kept: a correlation above 0.5 (a NaN is not).
bool KeepScore(double correlation);

class TBruteForceSearch {
 public:
  // Raises ESearch for a step of 0 or less in a looped range and for more
  // combinations than a 32-bit count holds.
  TBruteForceSearch(TSearchRanges ranges, TSearchData data);

  // properties
  const TSearchRanges& Ranges() const { return FRanges; }
  const TSearchData& Data() const { return FData; }
  // Valid combinations, once counted.
  std::int64_t CombinationCount() const { return FCount.load(); }
  // Valid combinations processed so far.
  std::int64_t CombinationsDone() const { return FDone.load(); }
  bool Cancelled() const { return FCancelled.load(); }
  // Every combination has been processed.
  bool Finished() const { return FFinished.load(); }

  // operations
  // The first pass: counts the valid combinations.
  std::int64_t CountCombinations();
  // The second pass on `threads` workers (at least 1); returns when every
  // combination is done or, after Cancel, when each worker has finished the
  // combination in hand.
  void Search(int threads);
  // May be called from any thread.
  void Cancel() { FCancelled.store(true); }
  // The combinations kept, sorted; complete once Search has returned.
  std::vector<TBruteForceResult> Results() const;

  // The candidate record of a combination.
  TFilterRecord Candidate(std::int32_t p1, std::int32_t d1, std::int32_t a1, double ripple, std::int32_t delay) const;

 private:
  struct TWorker;
  void Work(TWorker& worker);
  // Designs and scores one candidate; false when it is skipped.
  bool Evaluate(TWorker& worker, TFilterRecord& candidate, TSearchScore& score) const;

  TSearchRanges FRanges;
  TSearchData FData;
  std::int64_t FP1Count = 0, FD1Count = 0, FA1Count = 0, FRCount = 0, FDelayCount = 0;
  std::atomic<std::int64_t> FCount{0};
  std::atomic<std::int64_t> FDone{0};
  std::atomic<std::int64_t> FNext{0};
  std::atomic<bool> FCancelled{false};
  std::atomic<bool> FFinished{false};
  mutable std::mutex FLock;  // guards FResults
  std::vector<TBruteForceResult> FResults;
};

// The result grid's cells of result k (counted from 1): its number, its
// correlation (the shortest text of 15 significant digits), the filter's
// description and the error with two decimals.
std::vector<std::string> BruteForceResultRow(int k, const TBruteForceResult& result);

// Progress: the percentage done (Round, halves to even; 0 while nothing was
// counted), a duration of `days` (" h:m:s", with "N day " before it from one
// day on), and the line "Расчет комбинации done из count. Elapsed: ...,
// Estimated: ..." (the estimate is " —" while nothing is done).
int SearchProgressPercent(std::int64_t done, std::int64_t count);
std::string SearchDurationText(double days);
std::string SearchProgressText(std::int64_t done, std::int64_t count, std::int64_t elapsedMs);

}  // namespace workbench
