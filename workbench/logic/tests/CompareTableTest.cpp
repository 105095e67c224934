// The comparison table: edits of rows that are not there change nothing, a
// parent must be one the row may take, an added or replaced row whose design
// fails leaves the table as it was, an expert sampling file fills one Import
// response row, and what a search reads of the table.
// Covers: CompareTable.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CompareRowFixtures.h"
#include "testing/TestSupport.h"
#include "workbench/logic/CompareTable.h"

namespace workbench {
namespace {

using orvel::testing::Raises;

// A low-pass record of the library, P1 and D1 as given.
TFilterRecord LibraryLowPass(std::int32_t p1, std::int32_t d1) {
  TFilterRecord f = LowPass(dmLibrary, 30);
  f.P1 = p1, f.D1 = d1;
  return f;
}

// Two Coefficients rows over 60 candles, the second fed by the first.
TCompareTable TwoRows() {
  TCompareTable table;
  table.Candles() = Candles(60, 0, 59);
  TRowPoints points;
  table.Add(CoefficientsRow({0.5, 0.5}), points);
  table.Add(CoefficientsRow({1.0}), points);
  EXPECT_TRUE(table.SetParent(1, 0));
  return table;
}

// What an edit may change of a row, to see that nothing changed.
struct TRowState {
  std::int32_t Parent, ColorIndex, SeriesIndex;
  std::uint8_t On;
  std::string ParamText;
  std::vector<double> Output;
  friend bool operator==(const TRowState&, const TRowState&) = default;
};
std::vector<TRowState> StateOf(const TCompareTable& table) {
  std::vector<TRowState> state;
  for (const TCompareFilterRecord& row : table.Rows())
    state.push_back({row.Parent, row.ColorIndex, row.SeriesIndex, row.On, row.ParamText.Str(), row.Output});
  return state;
}

TEST(CompareTable, EditsOfARowNotThereChangeNothing) {
  const struct {
    const char* name;
    std::function<bool(TCompareTable&, int)> edit;
  } edits[] = {
      {"colour", [](TCompareTable& t, int r) { return t.SetColorIndex(r, 3); }},
      {"on/off", [](TCompareTable& t, int r) { return t.SetOn(r, false); }},
      {"series", [](TCompareTable& t, int r) { return t.SetSeriesIndex(r, 4); }},
      {"parent", [](TCompareTable& t, int r) { return t.SetParent(r, -1); }},
      {"grid texts", [](TCompareTable& t, int r) { return !t.GridRow(r).empty(); }},
      {"text", [](TCompareTable& t, int r) { return !t.SourceRowText(r, tmMQL4).empty(); }},
      {"filter",
       [](TCompareTable& t, int r) {
         TRowPoints points{{1, 1}};
         const bool done = t.ReplaceFilter(r, LibraryLowPass(30, 15), points) != rcNone;
         return done || !points.empty();
       }},
      {"delete", [](TCompareTable& t, int r) { return t.CanDelete(r) || !t.Delete(r).empty(); }},
  };
  for (const auto& e : edits) {
    for (const int r : {-1, 2, 1000}) {
      SCOPED_TRACE(std::string(e.name) + " of row " + std::to_string(r));
      TCompareTable table = TwoRows();
      const std::vector<TRowState> before = StateOf(table);
      EXPECT_FALSE(e.edit(table, r));
      EXPECT_EQ(StateOf(table), before);
      EXPECT_TRUE(Raises<ECompareTable>([&] { table.Row(r); }, "List index out of bounds (" + std::to_string(r) + ")"));
    }
  }
  TCompareTable table = TwoRows();
  EXPECT_TRUE(table.SetColorIndex(1, 3));
  EXPECT_TRUE(table.SetOn(1, false));
  EXPECT_TRUE(table.SetSeriesIndex(1, 4));
  EXPECT_EQ(table.Row(1).ColorIndex, 3);
  EXPECT_EQ(table.Row(1).On, 0);
  EXPECT_EQ(table.Row(1).SeriesIndex, 4);
  // Only a Source row has a filter and an indicator text.
  TRowPoints points;
  EXPECT_EQ(table.ReplaceFilter(0, LibraryLowPass(30, 15), points), rcNone);
  EXPECT_EQ(table.SourceRowText(0, tmMQL4), "");
}

TEST(CompareTable, AParentIsOneTheRowMayTake) {
  TCompareTable table = TwoRows();
  TRowPoints points;
  table.Add(CoefficientsRow({1.0}), points);
  const struct {
    const char* name;
    int row, parent;
    bool taken;
  } cases[] = {
      {"itself", 2, 2, false},
      {"a row fed by a parent", 2, 1, false},
      {"a row not there", 2, 3, false},
      {"below the price", 2, -2, false},
      // A row that feeds another takes the price only.
      {"for a row that feeds another", 0, 2, false},
      {"a row fed by the price", 2, 0, true},
      {"the price", 1, -1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TCompareTable t = table;
    const std::int32_t before = t.Row(c.row).Parent;
    EXPECT_EQ(t.SetParent(c.row, c.parent), c.taken);
    EXPECT_EQ(t.Row(c.row).Parent, c.taken ? c.parent : before);
  }
}

TEST(CompareTable, ARowWhoseDesignFailsIsNotAdded) {
  TCompareTable table = TwoRows();
  const std::vector<TRowState> before = StateOf(table);
  TRowPoints points;
  EXPECT_THROW(table.Add(NewSourceRow(LibraryLowPass(10, 20)), points), EFilterCheck);
  EXPECT_EQ(table.Count(), 2);
  EXPECT_EQ(StateOf(table), before);

  EXPECT_EQ(table.Add(NewSourceRow(LibraryLowPass(30, 15)), points), rcDrawn);
  ASSERT_EQ(table.Count(), 3);
  EXPECT_GT(table.Row(2).Coefficients.Count, 0);
  EXPECT_EQ(table.WorkCoefficients().Count, table.Row(2).Coefficients.Count);
  EXPECT_FALSE(points.empty());
}

TEST(CompareTable, AFilterWhoseDesignFailsLeavesTheRowAsItWas) {
  TCompareTable table;
  table.Candles() = Candles(200, 0, 199);
  TRowPoints points;
  table.Add(NewSourceRow(LibraryLowPass(30, 15)), points);
  const TCompareFilterRecord before = table.Row(0);
  const std::vector<TRowState> state = StateOf(table);

  EXPECT_THROW(table.ReplaceFilter(0, LibraryLowPass(10, 20), points), EFilterCheck);
  EXPECT_EQ(table.Row(0).Filter, before.Filter);
  EXPECT_EQ(table.Row(0).Coefficients.Count, before.Coefficients.Count);
  EXPECT_EQ(StateOf(table), state);

  const TFilterRecord wider = LibraryLowPass(40, 20);
  EXPECT_EQ(table.ReplaceFilter(0, wider, points), rcDrawn);
  EXPECT_EQ(table.Row(0).Filter, wider);
  EXPECT_EQ(table.Row(0).ParamText.Str(), FilterDescription(wider));
  EXPECT_NE(table.Row(0).Output, before.Output);

  // The text notes the count of the coefficients in the row's filter.
  EXPECT_EQ(table.SourceRowText(0, tmMQL2), CompareRowText(table.Row(0), tmMQL2));
  EXPECT_EQ(table.Row(0).Filter.CoefCount, table.Row(0).Coefficients.Count);
}

TEST(CompareTable, AnExpertSamplingFileFillsOneImportResponseRow) {
  TCompareTable table = TwoRows();
  TExpertSampling sampling;
  for (int b = 0; b < 4; ++b) sampling.Bars.push_back({"", 1.0 + b, 2.0 + b, 0.5 + b, 1.5 + b});
  sampling.Response = {0.1, 0.2, 0.3, 0.4};
  TRowPoints points;
  EXPECT_EQ(table.TakeExpertSampling(sampling, "/data/expert.csv", points), 2);
  ASSERT_EQ(table.Count(), 3);
  EXPECT_EQ(table.Row(2).Kind, rkImportResponse);
  EXPECT_EQ(table.Row(2).Name.Str(), "expert.csv");
  EXPECT_EQ(table.Row(2).Output, sampling.Response);
  EXPECT_EQ(points, (TRowPoints{{1, 0.1}, {2, 0.2}, {3, 0.3}, {4, 0.4}}));
  ASSERT_EQ(table.Candles().Bars.size(), 4u);
  EXPECT_EQ(table.Candles().Bars[3].Close, 4.5);

  // A second file replaces the response of the same row.
  sampling.Response = {0.5, 0.6, 0.7, 0.8};
  EXPECT_EQ(table.TakeExpertSampling(sampling, "/data/other.csv", points), 2);
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(table.Row(2).Name.Str(), "expert.csv");
  EXPECT_EQ(table.Row(2).Output, sampling.Response);
}

TEST(CompareTable, WhatASearchReads) {
  TCompareTable table;
  TRowPoints points;
  table.Add(CoefficientsRow({0.5, 0.5}), points);
  EXPECT_TRUE(Raises<ESearch>([&] { table.SearchData(0, 100); }, msgSearchNoCandles));
  EXPECT_FALSE(table.CanSearch());

  table.Candles() = Candles(120, 0, MinSearchLastBar - 1);
  table.Compute(0, points);
  EXPECT_FALSE(table.CanSearch());
  EXPECT_FALSE(table.EnoughBarsToSearch());
  table.Candles() = Candles(120, 0, MinSearchLastBar);
  table.Compute(0, points);
  EXPECT_TRUE(table.CanSearch());
  table.Workspace().GridDensity = 20;

  const struct {
    const char* name;
    int referenceRow;
    std::size_t referenceSize;
  } cases[] = {{"the row, up to the last bar", 0, MinSearchLastBar}, {"no row", -1, 0}, {"a row not there", 1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TSearchData data = table.SearchData(c.referenceRow, 150);
    ASSERT_EQ(data.Closes.size(), 120u);
    EXPECT_EQ(data.Closes[119], 120);
    EXPECT_EQ(data.LastBar, MinSearchLastBar);
    EXPECT_EQ(data.CorrelationBars, 150);
    EXPECT_EQ(data.GridDensity, 20);
    ASSERT_EQ(data.Reference.size(), c.referenceSize);
    for (std::size_t i = 0; i < c.referenceSize; ++i) EXPECT_EQ(data.Reference[i], table.Row(0).Output[i]) << i;
  }
  // A reference shorter than the last bar is taken whole.
  table.Candles().LastIndex = 500;
  EXPECT_EQ(table.SearchData(0, 100).Reference.size(), table.Row(0).Output.size());

  // Only Coefficients and Import response rows are references.
  TCompareTable sources;
  sources.Candles() = Candles(200, 0, 199);
  sources.Add(NewSourceRow(LibraryLowPass(30, 15)), points);
  EXPECT_TRUE(sources.SearchReferences().empty());
  EXPECT_FALSE(sources.CanSearch());
}

}  // namespace
}  // namespace workbench
