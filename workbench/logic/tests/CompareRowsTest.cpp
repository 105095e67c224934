// The comparison rows: the output of a row from the close, the midpoint or a
// parent, the grid's texts, colours, parents, recompute order and the rows
// each command appends.
// Covers: CompareRows.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CompareRowFixtures.h"
#include "workbench/logic/CompareRows.h"

namespace workbench {
namespace {

TEST(CompareRowOutput, ACoefficientsRowOverCandlesZeroToHundred) {
  const TPriceChart chart = Candles(101, 0, 100);
  TCompareRows rows{CoefficientsRow({0.5, 0.3, 0.2})};
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points;
  ASSERT_EQ(CalculateFilterOutput(ws, rows, 0, chart, work, points), rcDrawn);
  EXPECT_EQ(work.Count, 3);
  const std::vector<double>& out = rows[0].Output;
  ASSERT_EQ(out.size(), 102u);
  ASSERT_EQ(points.size(), 96u);  // bars 4 .. 99
  EXPECT_EQ(points.front().first, 5);
  EXPECT_EQ(points.back().first, 100);
  for (int i : {0, 1, 2, 3, 100, 101}) EXPECT_EQ(out[i], 0) << i;
  for (int i = 4; i <= 99; ++i) EXPECT_DOUBLE_EQ(out[i], 0.5 * (i + 1) + 0.3 * i + 0.2 * (i - 1)) << i;
}

TEST(CompareRowOutput, AParentFeedsItsOutputZerosIncluded) {
  const TPriceChart chart = Candles(50, 0, 49);
  TCompareRows rows{CoefficientsRow({1.0}), CoefficientsRow({0.5, 0.5})};
  rows[1].Parent = 0;
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points;
  CalculateFilterOutput(ws, rows, 0, chart, work, points);
  CalculateFilterOutput(ws, rows, 1, chart, work, points);
  // The parent's output starts at bar 2; the child's first bars mix in its zeros.
  EXPECT_EQ(rows[1].Output[3], 0.5 * rows[0].Output[3] + 0.5 * rows[0].Output[2]);
  EXPECT_EQ(rows[0].Output[2], 3);
  EXPECT_EQ(rows[1].Output[3], 0.5 * 4 + 0.5 * 3);
  // A parent with a shorter output reads 0 beyond it.
  rows[0].Output.resize(10);
  CalculateFilterOutput(ws, rows, 1, chart, work, points);
  EXPECT_EQ(rows[1].Output[12], 0);
  EXPECT_EQ(rows[1].Output[10], 0.5 * 10);
}

TEST(CompareRowOutput, ThePriceARowReads) {
  const TPriceChart chart = Candles(40, 0, 39);
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points;
  // A Coefficients row reads the close whatever its filter record says.
  TCompareRows rows{CoefficientsRow({1.0})};
  rows[0].Filter.Price = 1;
  CalculateFilterOutput(ws, rows, 0, chart, work, points);
  EXPECT_EQ(rows[0].Output[10], 11);
  // A Source row on the midpoint reads (high + low) / 2.
  TFilterRecord f = LowPass(dmOwnExchange, 8);
  f.P1 = 8, f.D1 = 4;
  f.Price = 1;
  rows = {NewSourceRow(f)};
  CalculateFilterOutput(ws, rows, 0, chart, work, points);
  TCoefficientRecord designed{};
  TDesignWorkspace alone;
  DesignFilterRecord(alone, 0, f, designed);
  ASSERT_EQ(rows[0].Coefficients.Count, designed.Count);
  const int n = designed.Count;
  double s = 0;
  for (int k = 0; k < n; ++k) s += designed.Coef[k] * 100.0 * (30 - k + 1);
  EXPECT_DOUBLE_EQ(rows[0].Output[30], s);
  EXPECT_EQ(work.Count, n);
  EXPECT_FALSE(rows[0].IterationLimit);
}

TEST(CompareRowOutput, RowsThatDrawNothing) {
  const TPriceChart chart = Candles(20, 0, 19);
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points{{1, 1}};
  TCompareRows rows{CoefficientsRow({}), ImportResponseRow("/a/b/expert.csv")};
  rows[0].Output = {7, 7};
  EXPECT_EQ(CalculateFilterOutput(ws, rows, 0, chart, work, points), rcNoCoefficients);
  EXPECT_EQ(rows[0].Output, (std::vector<double>{7, 7}));  // the old line stays
  EXPECT_EQ(CalculateFilterOutput(ws, rows, 1, chart, work, points), rcNone);
  EXPECT_EQ(CalculateFilterOutput(ws, rows, 2, chart, work, points), rcNone);
  EXPECT_EQ(CalculateFilterOutput(ws, rows, -1, chart, work, points), rcNone);
  // Too few bars for the coefficients: a cleared line.
  rows[0] = CoefficientsRow({0.25, 0.25, 0.25, 0.25});
  const TPriceChart few = Candles(5, 0, 4);
  EXPECT_EQ(CalculateFilterOutput(ws, rows, 0, few, work, points), rcDrawn);
  EXPECT_TRUE(points.empty());
  EXPECT_EQ(rows[0].Output, std::vector<double>(6, 0.0));
  // A record that cannot be designed raises and keeps the row.
  TFilterRecord bad = LowPass(dmOwnExchange, 30);
  bad.P1 = 0;
  rows = {NewSourceRow(bad)};
  EXPECT_THROW(CalculateFilterOutput(ws, rows, 0, chart, work, points), EFilterCheck);
  EXPECT_EQ(rows[0].Coefficients.Count, 0);
}

TEST(CompareRowOutput, NoBarPastTheLastCandle) {
  // An expert sampling file's last bar counts its bars: one past the last candle.
  const TPriceChart chart = Candles(30, 0, 30);
  TCompareRows rows{CoefficientsRow({1.0, 1.0})};
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points;
  CalculateFilterOutput(ws, rows, 0, chart, work, points);
  ASSERT_EQ(rows[0].Output.size(), 31u);
  EXPECT_EQ(rows[0].Output[29], 30 + 29);
  EXPECT_EQ(points.back().first, 30);
}

TEST(CompareGrid, RowTextsAndColours) {
  TCompareRows rows{NewSourceRow(LowPass(dmLibrary, 40)), ImportRow("c:\\m.mql"), ImportResponseRow("/x/e.csv")};
  rows[1].Name = "fatl";
  rows[1].Parent = 0;
  std::vector<std::string> cells = CompareGridRow(rows, 0);
  EXPECT_EQ(cells, (std::vector<std::string>{"1", "", "lp", "Source", "White", "Close price",
                                             FilterDescription(rows[0].Filter)}));
  EXPECT_EQ(rows[0].ColorIndex, 15);
  // Colour index 0 shows as white once, and is red from then on.
  EXPECT_EQ(CompareGridRow(rows, 1), (std::vector<std::string>{"2", "", "fatl", "Coefficients", "White", "lp",
                                                               "c:\\m.mql"}));
  EXPECT_EQ(rows[1].ColorIndex, 9);
  EXPECT_EQ(CompareGridRow(rows, 1)[4], "Red");
  EXPECT_EQ(CompareGridRow(rows, 2)[3], "Import response");
  EXPECT_EQ(rows[2].Name.Str(), "e.csv");
  EXPECT_EQ(ColorIndexToColor(rows[2].ColorIndex), 0xFFFFFFu);

  const char* names[] = {"White", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray",
                         "Silver", "Red", "Lime", "Yellow", "Blue", "Fuchsia", "Aqua"};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(ColorIndexToName(i), names[i]);
  for (int i : {15, 16, -1, 0xFFFFFF}) {
    EXPECT_EQ(ColorIndexToName(i), "White");
    EXPECT_EQ(ColorIndexToColor(i), 0xFFFFFFu);
  }
  EXPECT_EQ(ColorIndexToColor(9), 0x0000FFu);
  EXPECT_EQ(ColorIndexToColor(12), 0xFF0000u);
}

TEST(CompareGrid, ParentsAndRecomputeOrder) {
  TCompareRows rows(4);
  for (int r = 0; r < 4; ++r) rows[r].Name = "r" + std::to_string(r);
  rows[2].Parent = 0;
  EXPECT_EQ(RecomputeOrder(rows, true), (std::vector<int>{0, 1, 3, 2}));
  EXPECT_EQ(RecomputeOrder(rows, false), (std::vector<int>{0, 1, 2, 3}));
  using TChoices = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(ParentChoices(rows, 1), (TChoices{{-1, "Close price"}, {0, "r0"}, {3, "r3"}}));
  EXPECT_EQ(ParentChoices(rows, 2), (TChoices{{-1, "Close price"}, {0, "r0"}, {1, "r1"}, {3, "r3"}}));
  // Row 0 feeds row 2: it can take no parent of its own.
  EXPECT_EQ(ParentChoices(rows, 0), (TChoices{{-1, "Close price"}}));
}

TEST(CompareRowsDeleted, TheRowsAfterMoveUpAndItsChildrenTakeThePrice) {
  // r0 and r1 feed others; series 1 .. 4 in table order, r3 has none.
  TCompareRows rows(5);
  for (int r = 0; r < 5; ++r) rows[r].Name = "r" + std::to_string(r);
  const std::int32_t series[] = {1, 2, 3, -1, 4};
  for (int r = 0; r < 5; ++r) rows[r].SeriesIndex = series[r];
  rows[2].Parent = 1;
  rows[3].Parent = 0;
  rows[4].Parent = 1;
  const auto names = [&] {
    std::string all;
    for (const auto& row : rows) all += row.Name.Str() + " ";
    return all;
  };

  EXPECT_EQ(DeleteCompareRow(rows, 1), (std::vector<int>{1, 3}));  // r2 and r4, now rows 1 and 3
  EXPECT_EQ(names(), "r0 r2 r3 r4 ");
  EXPECT_EQ(rows[1].Parent, -1);
  EXPECT_EQ(rows[2].Parent, 0);
  EXPECT_EQ(rows[3].Parent, -1);
  EXPECT_EQ(rows[0].SeriesIndex, 1);
  EXPECT_EQ(rows[1].SeriesIndex, 2);
  EXPECT_EQ(rows[2].SeriesIndex, -1);
  EXPECT_EQ(rows[3].SeriesIndex, 3);

  // A row fed by a row after the deleted one follows its parent up.
  rows[3].Parent = 2;
  EXPECT_TRUE(DeleteCompareRow(rows, 1).empty());
  EXPECT_EQ(names(), "r0 r3 r4 ");
  EXPECT_EQ(rows[1].Parent, 0);
  EXPECT_EQ(rows[2].Parent, 1);
  EXPECT_EQ(rows[1].SeriesIndex, -1);
  EXPECT_EQ(rows[2].SeriesIndex, 2);  // the line of r2 is gone

  // The first row stays, and so does what is not there.
  for (const int r : {0, 3, -1}) {
    EXPECT_FALSE(CanDeleteCompareRow(rows, r)) << r;
    EXPECT_TRUE(DeleteCompareRow(rows, r).empty()) << r;
    EXPECT_EQ(names(), "r0 r3 r4 ") << r;
  }
  EXPECT_TRUE(CanDeleteCompareRow(rows, 2));
}

TEST(CompareRowsAdded, ByEachCommand) {
  const TFilterRecord f = LowPass(dmOwnExchange, 50);
  const TCompareFilterRecord source = NewSourceRow(f);
  EXPECT_EQ(source.Kind, rkSource);
  EXPECT_EQ(source.Parent, -1);
  EXPECT_EQ(source.On, 1);
  EXPECT_EQ(source.SeriesIndex, -1);
  EXPECT_EQ(source.ColorIndex, 15);
  EXPECT_EQ(source.Filter, f);
  EXPECT_EQ(source.ParamText.Str(), FilterDescription(f).substr(0, 200));

  EXPECT_EQ(GeneratorRow(f, 0).Name.Str(), "From Orvel window 1");
  EXPECT_EQ(GeneratorRow(f, 1).Name.Str(), "From Orvel window 2");
  EXPECT_EQ(GeneratorRow(f, 1).Filter.Name.Str(), "From Orvel window 2");
  EXPECT_EQ(GeneratorRow(f, 0).ColorIndex, 9);
  const TCompareFilterRecord found = SearchResultRow(f);
  EXPECT_EQ(found.Name.Str(), "AutoOptimize");
  EXPECT_EQ(found.Filter.Name.Str(), "AutoOptimize");
  EXPECT_EQ(found.Kind, rkSource);

  TCompareRows rows{source, ImportRow("a.mql"), ImportResponseRow("e.csv"), ImportRow("b.mql")};
  rows[1].Name = "fatl";
  rows[3].On = 0;
  EXPECT_FALSE(HasSearchReference({source}));
  using TItems = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(SearchReferenceItems(rows), (TItems{{1, "fatl (Coefficients)"},
                                                {2, "e.csv (Import response)"},
                                                {3, "No name (Coefficients) (Off)"}}));
}

TEST(CompareRowsAdded, ASourceRowsText) {
  TCompareRows rows{NewSourceRow(LowPass(dmLibrary, 40))};
  const TPriceChart chart = Candles(200, 0, 199);
  TDesignWorkspace ws;
  TCoefficientRecord work{};
  TRowPoints points;
  CalculateFilterOutput(ws, rows, 0, chart, work, points);
  TFilterRecord f = rows[0].Filter;
  f.CoefCount = rows[0].Coefficients.Count;
  TCoefficientRecord c = rows[0].Coefficients;
  c.TextMode = tmMQL4;
  EXPECT_EQ(CompareRowText(rows[0], tmMQL4), GenerateIndicatorText(f, c));
  c.TextMode = tmMQL2;
  EXPECT_EQ(CompareRowText(rows[0], tmMQL2), GenerateIndicatorText(f, c));
  EXPECT_NE(CompareRowText(rows[0], tmMQL2).find("digf="), std::string::npos);
}

}  // namespace
}  // namespace workbench
