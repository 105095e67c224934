// The brute-force search: the nest and its counts, refused ranges, the score,
// the order of the results, the self-recovery of a filter searched against
// its own output, band filters, skipped candidates, several workers against
// one, a cancelled search, and the texts of results and progress.
// Covers: BruteForceSearch.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string_view>
#include <thread>

#include "testing/TestSupport.h"
#include "workbench/logic/BruteForceSearch.h"
#include "workbench/logic/CompareRows.h"

namespace workbench {
namespace {

using orvel::testing::Raises;

TSearchRanges LowPassRanges(int p1from, int p1to, int d1from, int d1to) {
  TSearchRanges r;
  r.P1from = p1from, r.P1to = p1to, r.P1step = 1;
  r.D1from = d1from, r.D1to = d1to, r.D1step = 1;
  r.A1from = 40, r.A1to = 40, r.A1step = 5;
  r.Rfrom = 0.08, r.Rto = 0.08, r.Rstep = 0.01;
  r.Delayfrom = 0, r.Delayto = 0, r.Delaystep = 1;
  return r;
}

// Synthetic candles, and the output of `filter` over them as a Source row computes it.
struct TReference {
  TPriceChart Chart;
  TSearchData Data;
};
TReference ReferenceOf(const TFilterRecord& filter) {
  TReference ref;
  SetSyntheticBars(ref.Chart, GenerateSyntheticBars(45000.0, 7));
  TFilterRecord designed = filter;
  TDesignWorkspace ws;
  SetDesignBands(ws, designed);
  TCompareRows rows{NewSourceRow(designed)};
  TCoefficientRecord work{};
  TRowPoints points;
  CalculateFilterOutput(ws, rows, 0, ref.Chart, work, points);
  for (const TPriceBar& bar : ref.Chart.Bars) ref.Data.Closes.push_back(bar.Close);
  ref.Data.LastBar = ref.Chart.LastIndex;
  ref.Data.Reference = rows[0].Output;
  ref.Data.CorrelationBars = 100;
  return ref;
}

// The record the search designs for a combination (its order estimated as the search does).
TFilterRecord SearchRecord(const TSearchRanges& ranges, int p1, int d1, int a1, double ripple, int delay) {
  TBruteForceSearch search(ranges, {});
  return search.Candidate(p1, d1, a1, ripple, delay);
}

TEST(BruteForceRanges, TheNestAndItsCounts) {
  TBruteForceSearch three(LowPassRanges(10, 12, 10, 12), {});
  EXPECT_EQ(three.CountCombinations(), 3);  // D1 below P1
  TSearchRanges r = LowPassRanges(10, 12, 10, 12);
  r.A1from = 10, r.A1to = 20, r.A1step = 5;
  r.Delayfrom = 0, r.Delayto = 5, r.Delaystep = 2;
  EXPECT_EQ(TBruteForceSearch(r, {}).CountCombinations(), 3 * 3 * 3);
  r.BandType = ftHighPass;
  EXPECT_EQ(TBruteForceSearch(r, {}).CountCombinations(), 3 * 3 * 3);  // D1 above P1
  EXPECT_TRUE(CombinationValid(ftLowPass, 4, 3, 0, 0));
  EXPECT_FALSE(CombinationValid(ftLowPass, 3, 2, 0, 0));
  EXPECT_FALSE(CombinationValid(ftHighPass, 2, 3, 0, 0));
  EXPECT_TRUE(CombinationValid(ftBandPass, 10, 5, 20, 30));
  EXPECT_FALSE(CombinationValid(ftBandStop, 10, 5, 0, 0));  // no second band
  EXPECT_TRUE(CombinationValid(9, 0, 0, 0, 0));
}

TEST(BruteForceRanges, RippleValues) {
  EXPECT_EQ(RippleValueCount(0.001, 0.01, 0.005), 2);  // 0.001 and 0.006
  EXPECT_EQ(RippleValue(0.001, 0.005, 1), 0.006);
  EXPECT_EQ(RippleValueCount(0.1, 0.3, 0.1), 3);  // the upper end counts
  EXPECT_EQ(RippleValueCount(0.08, 0.08, 0.01), 1);
  EXPECT_EQ(RippleValueCount(0.5, 0.4, 0.1), 0);
  EXPECT_EQ(RippleValueCount(0, 1, 0.1), 11);
  EXPECT_EQ(RippleValueCount(0, 1, 0), 0);
}

TEST(BruteForceRanges, StepsOfZeroOrLessAndOversizedNestsAreRefused) {
  const auto refused = [](auto change) {
    TSearchRanges r = LowPassRanges(10, 12, 10, 12);
    change(r);
    return Raises<ESearch>([&] { TBruteForceSearch(r, {}); }, msgSearchStepNotPositive);
  };
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.P1step = 0; }));
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.D1step = -1; }));
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.A1step = 0; }));
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.Rstep = 0; }));
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.Rstep = std::nan(""); }));
  EXPECT_TRUE(refused([](TSearchRanges& r) { r.Delaystep = -5; }));
  TSearchRanges huge = LowPassRanges(1, 100000, 1, 100000);
  EXPECT_TRUE(Raises<ESearch>([&] { TBruteForceSearch(huge, {}); }, msgSearchTooLarge));
}

TEST(BruteForceScore, CorrelationAndError) {
  const std::vector<double> a{1, 2, 3, 4};
  TSearchScore s = ScoreWindow(a, {2, 4, 6, 8});
  EXPECT_DOUBLE_EQ(s.Correlation, 1);
  EXPECT_EQ(s.Error, 10);
  s = ScoreWindow(a, {4, 3, 2, 1});
  EXPECT_DOUBLE_EQ(s.Correlation, -1);
  EXPECT_TRUE(std::isnan(ScoreWindow(a, {5, 5, 5, 5}).Correlation));
  EXPECT_FALSE(KeepScore(std::nan("")));
  EXPECT_FALSE(KeepScore(0.5));
  EXPECT_TRUE(KeepScore(std::nextafter(0.5, 1.0)));
}

TEST(BruteForceScore, EqualCorrelationsKeepTheOrderOfTheNest) {
  std::vector<TBruteForceResult> results{{{}, 0.7, 0, 5}, {{}, 0.9, 0, 9}, {{}, 0.7, 0, 2}, {{}, 0.8, 0, 1}};
  SortBruteForceResults(results);
  std::vector<std::int64_t> order;
  for (const TBruteForceResult& r : results) order.push_back(r.Combination);
  EXPECT_EQ(order, (std::vector<std::int64_t>{9, 1, 2, 5}));
}

TSearchRanges SelfRanges() {
  TSearchRanges ranges = LowPassRanges(28, 32, 14, 16);
  ranges.A1from = 35, ranges.A1to = 45;
  ranges.Delayto = 1;
  return ranges;
}

// The record of (30, 15, 40, 0.08, delay 0) as the search designs it.
TFilterRecord SelfRecord(const TSearchRanges& ranges) {
  TFilterRecord f = SearchRecord(ranges, 30, 15, 40, 0.08, 0);
  TDesignWorkspace ws;
  f.Order = SearchOrderEstimate(ws, f);
  return f;
}

void ExpectSameResults(const std::vector<TBruteForceResult>& a, const std::vector<TBruteForceResult>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].Combination, b[i].Combination) << i;
    EXPECT_EQ(a[i].Filter, b[i].Filter) << i;
    EXPECT_EQ(a[i].Correlation, b[i].Correlation) << i;
    EXPECT_EQ(a[i].Error, b[i].Error) << i;
  }
}

TEST(BruteForceSearch, AFilterFindsItselfFirst) {
  const TSearchRanges ranges = SelfRanges();
  const TFilterRecord self = SelfRecord(ranges);
  ASSERT_GT(self.Order, 3);
  const TReference ref = ReferenceOf(self);
  TBruteForceSearch search(ranges, ref.Data);
  EXPECT_EQ(search.CountCombinations(), 5 * 3 * 3 * 2);
  search.Search(1);
  EXPECT_TRUE(search.Finished());
  EXPECT_EQ(search.CombinationsDone(), 90);
  const std::vector<TBruteForceResult> results = search.Results();
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results[0].Filter, self);
  EXPECT_NEAR(results[0].Correlation, 1, 1e-15);
  EXPECT_EQ(results[0].Error, 0);
  EXPECT_EQ(BruteForceResultRow(1, results[0]),
            (std::vector<std::string>{"1", "1", FilterDescription(self), "0.00"}));
  for (std::size_t i = 1; i < results.size(); ++i) {
    EXPECT_GT(results[i].Correlation, 0.5);
    EXPECT_LE(results[i].Correlation, results[i - 1].Correlation);
  }
}

TEST(BruteForceSearch, EachDelayIsCutAsTheRecordDesignCutsIt) {
  // The delays of one filter share its design; each is cut as a filter
  // record of that delay is.
  TSearchRanges ranges = LowPassRanges(29, 31, 15, 15);
  ranges.Delayto = 5;
  for (int delay : {0, 3, 5}) {
    TFilterRecord self = SelfRecord(SelfRanges());
    self.Delay = delay;
    TBruteForceSearch search(ranges, ReferenceOf(self).Data);
    search.CountCombinations();
    search.Search(1);
    const auto results = search.Results();
    ASSERT_FALSE(results.empty()) << delay;
    EXPECT_EQ(results[0].Filter, self) << delay;
    EXPECT_EQ(results[0].Error, 0) << delay;
  }
}

TEST(BruteForceSearch, SeveralWorkersListWhatOneLists) {
  const TSearchRanges ranges = SelfRanges();
  const TReference ref = ReferenceOf(SelfRecord(ranges));
  TBruteForceSearch one(ranges, ref.Data);
  one.CountCombinations();
  one.Search(1);
  for (int threads : {2, 4, 7}) {
    TBruteForceSearch many(ranges, ref.Data);
    many.CountCombinations();
    many.Search(threads);
    EXPECT_TRUE(many.Finished());
    EXPECT_EQ(many.CombinationsDone(), one.CombinationsDone());
    ExpectSameResults(many.Results(), one.Results());
  }
}

TEST(BruteForceSearch, ACancelledSearchKeepsWhatItFinished) {
  TSearchRanges ranges = LowPassRanges(10, 40, 8, 40);
  const TReference ref = ReferenceOf(SelfRecord(SelfRanges()));
  TBruteForceSearch full(ranges, ref.Data);
  full.CountCombinations();
  full.Search(1);
  const std::vector<TBruteForceResult> all = full.Results();

  TBruteForceSearch search(ranges, ref.Data);
  const std::int64_t count = search.CountCombinations();
  std::thread worker([&] { search.Search(4); });
  while (search.CombinationsDone() < 20) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  search.Cancel();
  worker.join();
  EXPECT_TRUE(search.Cancelled());
  EXPECT_FALSE(search.Finished());
  EXPECT_LT(search.CombinationsDone(), count);
  // What it kept is what the whole search keeps of those combinations, in the same order.
  std::vector<TBruteForceResult> expected;
  const std::vector<TBruteForceResult> kept = search.Results();
  for (const TBruteForceResult& r : all)
    for (const TBruteForceResult& k : kept)
      if (k.Combination == r.Combination) expected.push_back(r);
  ExpectSameResults(kept, expected);
  EXPECT_LE(static_cast<std::int64_t>(kept.size()), search.CombinationsDone());
}

TEST(BruteForceSearch, BandFiltersTakeTheirSecondBandFromTheRanges) {
  TSearchRanges ranges = LowPassRanges(10, 12, 5, 6);
  ranges.BandType = ftBandPass;
  ranges.P2 = 20, ranges.D2 = 30, ranges.A2 = 40;
  TFilterRecord self = SearchRecord(ranges, 11, 5, 40, 0.08, 0);
  TDesignWorkspace ws;
  self.Order = SearchOrderEstimate(ws, self);
  const TReference ref = ReferenceOf(self);
  TBruteForceSearch search(ranges, ref.Data);
  EXPECT_EQ(search.CountCombinations(), 6);
  search.Search(1);
  const auto results = search.Results();
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results[0].Filter, self);
  EXPECT_EQ(results[0].Filter.P2, 20);
  EXPECT_EQ(results[0].Filter.A2, 40);
}

TEST(BruteForceSearch, ASkippedCandidateIsNeitherScoredNorListed) {
  // After the matching filter, an attenuation of 2040 dB whose order is past the limit.
  TSearchRanges ranges = LowPassRanges(30, 30, 15, 15);
  ranges.A1to = 2040, ranges.A1step = 2000;
  TFilterRecord steep = SearchRecord(ranges, 30, 15, 2040, 0.08, 0);
  TDesignWorkspace ws;
  ASSERT_GE(SearchOrderEstimate(ws, steep), MaxFilterOrder);
  const TReference ref = ReferenceOf(SelfRecord(SelfRanges()));
  TBruteForceSearch search(ranges, ref.Data);
  EXPECT_EQ(search.CountCombinations(), 2);
  search.Search(1);
  EXPECT_EQ(search.CombinationsDone(), 2);
  ASSERT_EQ(search.Results().size(), 1u);
  EXPECT_EQ(search.Results()[0].Filter.A1, 40);
  // Periods below two bars are no band edges: skipped too.
  ranges = LowPassRanges(30, 30, 0, 1);
  TBruteForceSearch edges(ranges, ref.Data);
  EXPECT_EQ(edges.CountCombinations(), 2);
  edges.Search(1);
  EXPECT_EQ(edges.CombinationsDone(), 2);
  EXPECT_TRUE(edges.Results().empty());
}

TEST(BruteForceSearch, TheScoreWindowIsTheLastBars) {
  // W = 100 over the last bar 1000 scores bars 900 .. 999: a reference that
  // is the filter there and anything before it still gives the filter.
  const TSearchRanges ranges = SelfRanges();
  const TFilterRecord self = SelfRecord(ranges);
  TReference ref = ReferenceOf(self);
  ref.Data.LastBar = 1000;
  ref.Data.Reference.resize(1000);
  for (int j = 0; j < 900; ++j) ref.Data.Reference[j] = (j % 7) - 3.0;
  TBruteForceSearch search(LowPassRanges(30, 30, 15, 15), ref.Data);
  search.CountCombinations();
  search.Search(1);
  ASSERT_EQ(search.Results().size(), 1u);
  EXPECT_EQ(search.Results()[0].Error, 0);
  ref.Data.Reference[950] += 1;
  TBruteForceSearch moved(LowPassRanges(30, 30, 15, 15), ref.Data);
  moved.CountCombinations();
  moved.Search(1);
  ASSERT_EQ(moved.Results().size(), 1u);
  EXPECT_NEAR(static_cast<double>(moved.Results()[0].Error), 1, 1e-9);
}

TEST(BruteForceSearch, ACandidateLongerThanTheBarsBeforeTheWindowIsScoredOnItsOwn) {
  // Over the last bar 250 the window is bars 150 .. 249; the long filter
  // (P1 50, D1 40, some 200 coefficients) has no value before its length, and
  // there it scores zeros whichever candidate came before it, not what that
  // one left behind.
  TSearchRanges alone = LowPassRanges(50, 50, 40, 40);
  TFilterRecord longFilter = SearchRecord(alone, 50, 40, 40, 0.08, 0);
  TDesignWorkspace ws;
  longFilter.Order = SearchOrderEstimate(ws, longFilter);
  TReference ref = ReferenceOf(longFilter);
  ref.Data.LastBar = 250;
  ref.Data.Reference.resize(250);
  ASSERT_GT(longFilter.Order / 2, 160);  // coefficients of a cut without delay
  ASSERT_LT(longFilter.Order / 2, 230);

  TBruteForceSearch single(alone, ref.Data);
  single.CountCombinations();
  single.Search(1);
  ASSERT_EQ(single.Results().size(), 1u);
  const TBruteForceResult expected = single.Results()[0];

  TSearchRanges pair = LowPassRanges(50, 50, 10, 40);
  pair.D1step = 30;  // D1 10, then 40
  TBruteForceSearch both(pair, ref.Data);
  EXPECT_EQ(both.CountCombinations(), 2);
  both.Search(1);
  bool found = false;
  for (const TBruteForceResult& r : both.Results())
    if (r.Filter.D1 == 40) {
      found = true;
      EXPECT_EQ(r.Correlation, expected.Correlation);
      EXPECT_EQ(r.Error, expected.Error);
    }
  EXPECT_TRUE(found);
}

TEST(BruteForceTexts, ProgressAndDurations) {
  EXPECT_EQ(SearchProgressPercent(1, 3), 33);
  EXPECT_EQ(SearchProgressPercent(1, 8), 12);  // 12.5 rounds to even
  EXPECT_EQ(SearchProgressPercent(3, 8), 38);  // 37.5 rounds to even
  EXPECT_EQ(SearchProgressPercent(0, 0), 0);
  EXPECT_EQ(SearchDurationText(0), " 0:0:0");
  EXPECT_EQ(SearchDurationText((3600.0 + 2 * 60 + 5) / 86400), " 1:2:5");
  EXPECT_EQ(SearchDurationText(2 + 0.5), "2 day  12:0:0");
  EXPECT_EQ(SearchProgressText(0, 3, 1500), "Расчет комбинации 0 из 3. Elapsed:  0:0:1, Estimated:  —");
  EXPECT_EQ(SearchProgressText(3, 3, 61000), "Расчет комбинации 3 из 3. Elapsed:  0:1:1, Estimated:  0:0:0");
  EXPECT_EQ(SearchProgressText(1, 3, 10000), "Расчет комбинации 1 из 3. Elapsed:  0:0:10, Estimated:  0:0:20");
}

TEST(BruteForceTexts, TheSettingsRanges) {
  TWorkbenchSettings s;
  s.P1from = 10, s.P1to = 80, s.P1step = 1, s.P2from = 15, s.D2from = 90, s.A2from = 45;
  s.Rfrom = 0.001, s.Rto = 0.01, s.Rstep = 0.005;
  const TSearchRanges r = SearchRangesOf(s, ftBandStop);
  EXPECT_EQ(r.BandType, ftBandStop);
  EXPECT_EQ(r.P1to, 80);
  EXPECT_EQ(r.P2, 15);
  EXPECT_EQ(r.D2, 90);
  EXPECT_EQ(r.A2, 45);
  EXPECT_EQ(r.Rstep, 0.005);
}

// The dialog's inputs keep each its own field: a value put through every
// input comes back from its field alone, and the ranges read the settings
// the inputs filled.
TEST(BruteForceTexts, EachSearchInputKeepsItsOwnField) {
  TWorkbenchSettings s{};
  std::int32_t value = 1;
  for (const auto& [input, field] : SearchIntegerInputs) s.*field = value++;
  double ripple = 0.5;
  for (const auto& [input, field] : SearchRippleInputs) s.*field = ripple++;
  value = 1;
  for (const auto& [input, field] : SearchIntegerInputs) EXPECT_EQ(s.*field, value++) << input;
  ripple = 0.5;
  for (const auto& [input, field] : SearchRippleInputs) EXPECT_EQ(s.*field, ripple++) << input;
  // The generator's own inputs are no search input.
  EXPECT_EQ(s.P1, 0);
  EXPECT_EQ(s.Delay, 0);
  EXPECT_EQ(s.Ripple, 0);

  const TSearchRanges r = SearchRangesOf(s, ftLowPass);
  const struct {
    const char* input;
    double range;
  } cases[] = {{"inP1from", static_cast<double>(r.P1from)}, {"inP1step", static_cast<double>(r.P1step)},
               {"inP2from", static_cast<double>(r.P2)},     {"inD1to", static_cast<double>(r.D1to)},
               {"inD2from", static_cast<double>(r.D2)},     {"inA1step", static_cast<double>(r.A1step)},
               {"inA2from", static_cast<double>(r.A2)},     {"inDfrom", static_cast<double>(r.Delayfrom)},
               {"inDstep", static_cast<double>(r.Delaystep)}, {"inRto", r.Rto}};
  for (const auto& c : cases) {
    double expected = -1;
    for (const auto& [input, field] : SearchIntegerInputs)
      if (std::string_view(input) == c.input) expected = s.*field;
    for (const auto& [input, field] : SearchRippleInputs)
      if (std::string_view(input) == c.input) expected = s.*field;
    EXPECT_EQ(c.range, expected) << c.input;
  }
}

}  // namespace
}  // namespace workbench
