// The own Remez exchange: extremal count, dense grid, exchange step, stop
// test and iteration limit. Its designs are checked against scipy in
// DesignOracleTest.cpp.
// Covers: Classes_Remez_Exchange.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {
namespace {

TEST(Exchange, ExtremalCountRoundsHalvesToEven) {
  const struct {
    int taps, r;
  } cases[] = {{5, 3}, {7, 5}, {6, 3}, {9, 5}, {11, 7}, {51, 27}, {53, 27}, {52, 26}, {1, 1}, {2, 1}};
  for (const auto& c : cases) EXPECT_EQ(ExchangeExtremalCount(c.taps), c.r) << c.taps;
}

void SetBands(TDesignWorkspace& ws, std::vector<double> edges) {
  for (std::size_t i = 0; i < edges.size(); ++i) ws.BandEdges[i] = edges[i];
  ws.BandGains = {1, 0, 1};
  ws.BandWeights = {1, 2, 3};
}

TEST(Exchange, GridEndsEachBandOnItsUpperEdge) {
  TDesignWorkspace ws;
  SetBands(ws, {0, 0.1, 0.2, 0.3, 0.4, 0.5});
  // delf = 0.5 / (16 * 3): 10 points per band of width 0.1 (9.6 rounded).
  const int G = BuildDenseGrid(ws, 3, 3);
  ASSERT_EQ(G, 30);
  EXPECT_EQ(ws.Grid[0], 0.0);
  EXPECT_DOUBLE_EQ(ws.Grid[1], 0.5 / 48);
  EXPECT_EQ(ws.Grid[9], 0.1);
  EXPECT_EQ(ws.Grid[10], 0.2);
  EXPECT_EQ(ws.Grid[19], 0.3);
  EXPECT_EQ(ws.Grid[29], 0.5);
  EXPECT_EQ(ws.D[9], 1.0);
  EXPECT_EQ(ws.W[15], 2.0);
  EXPECT_EQ(ws.D[25], 1.0);
  EXPECT_EQ(ws.W[25], 3.0);
  EXPECT_EQ(ws.GridBandStarts, (std::vector<int>{10, 20}));
}

TEST(Exchange, NarrowBandReplacesTheLastPointBeforeIt) {
  TDesignWorkspace ws;
  SetBands(ws, {0, 0.1, 0.2, 0.204, 0.3, 0.5});
  const int G = BuildDenseGrid(ws, 3, 3);
  ASSERT_EQ(G, 10 + 0 + 19);
  EXPECT_EQ(ws.Grid[9], 0.204);
  EXPECT_EQ(ws.D[9], 1.0);  // still the first band's values
  EXPECT_EQ(ws.Grid[10], 0.3);
  EXPECT_EQ(ws.GridBandStarts, std::vector<int>{10});
}

TEST(Exchange, NarrowFirstBandKeepsOnePointOfItsOwn) {
  TDesignWorkspace ws;
  SetBands(ws, {0, 0.003, 0.2, 0.5, 0, 0});
  const int G = BuildDenseGrid(ws, 3, 2);
  ASSERT_EQ(G, 1 + 29);
  EXPECT_EQ(ws.Grid[0], 0.003);
  EXPECT_EQ(ws.D[0], 1.0);
  EXPECT_EQ(ws.Grid[1], 0.2);
}

// The exchange step on hand-made errors: local extremes are found, and the
// surplus is dropped where the signs stop alternating or, for the last one,
// at whichever end has the smaller error.
TEST(Exchange, SearchDropsSurplusExtremals) {
  const struct {
    std::vector<double> errors;
    std::vector<int> extremals;
  } cases[] = {
      {{3, -2, 1, 0.5, 2, -1, 4}, {1, 4, 5, 6}},
      {{3, -2, 1, 0.5, 2, -1, 2.5}, {0, 1, 4, 5}},
      {{-1, 2, -3, 4, -5, 6, -7}, {3, 4, 5, 6}},
  };
  for (const auto& c : cases) {
    TDesignWorkspace ws;
    const int G = static_cast<int>(c.errors.size());
    for (int i = 0; i < G; ++i) ws.E[i] = c.errors[i];
    SearchExtremals(ws, 3, G);
    EXPECT_EQ(std::vector<int>(ws.Ext.begin(), ws.Ext.begin() + 4), c.extremals);
  }
}

// Of two neighbouring extrema of one sign the smaller goes, not the smallest
// error met before them: that would leave the pair in the set.
TEST(Exchange, SearchDropsTheSmallerOfTwoNeighboursOfOneSign) {
  TDesignWorkspace ws;
  const std::vector<double> errors = {3, -0.5, 2, 1, 1.5, -2, 2.5};
  for (std::size_t i = 0; i < errors.size(); ++i) ws.E[i] = errors[i];
  SearchExtremals(ws, 3, 7);
  EXPECT_EQ(std::vector<int>(ws.Ext.begin(), ws.Ext.begin() + 4), (std::vector<int>{0, 1, 2, 5}));
}

// A band's first point is compared with the points of its own band only: here
// it is an extremum of its band, though the band before ends on a larger
// error of the same sign.
TEST(Exchange, SearchComparesNeighboursWithinTheirBand) {
  TDesignWorkspace ws;
  const std::vector<double> errors = {-1, 2, 1.5, 1, -1, 0.5};
  for (std::size_t i = 0; i < errors.size(); ++i) ws.E[i] = errors[i];
  ws.GridBandStarts = {3};
  const int previous[] = {0, 1, 2, 4, 5};
  std::copy(std::begin(previous), std::end(previous), ws.Ext.begin());
  SearchExtremals(ws, 4, 6);
  EXPECT_EQ(std::vector<int>(ws.Ext.begin(), ws.Ext.begin() + 5), (std::vector<int>{0, 1, 3, 4, 5}));
}

TEST(Exchange, SearchKeepsPreviousExtremalsWhenTooFewAreFound) {
  TDesignWorkspace ws;
  const std::vector<double> errors = {0, 0, 0, 1, 1, 0, 0};
  for (std::size_t i = 0; i < errors.size(); ++i) ws.E[i] = errors[i];
  ws.Ext[0] = 0;
  ws.Ext[1] = 3;
  ws.Ext[2] = 6;
  SearchExtremals(ws, 2, 7);
  // Ordered and distinct, never a run of grid point 0; of the neighbours 3
  // and 4, whose errors have one sign, only one stays.
  EXPECT_EQ(std::vector<int>(ws.Ext.begin(), ws.Ext.begin() + 3), (std::vector<int>{0, 4, 6}));
}

void LowPassBands(TDesignWorkspace& ws) {
  ws.BandEdges = {0, 1.0 / 24, 1.0 / 12, 0.5, 0, 0};
  ws.BandGains = {1, 0, 0};
  ws.BandWeights = {1, 0.4585, 0};
}

TEST(Exchange, MonitorSeesEachRoundAndCanStop) {
  TDesignWorkspace ws;
  LowPassBands(ws);
  int rounds = 0;
  TExchangeMonitor monitor;
  monitor.OnRound = [&](int round) { EXPECT_EQ(round, ++rounds); };
  EXPECT_EQ(RemezExchangeDesign(ws, 51, 2, &monitor), dsDone);
  EXPECT_GT(rounds, 1);

  int polls = 0;
  rounds = 0;
  monitor.Running = [&] { return ++polls < 5; };  // stops in the second round
  EXPECT_EQ(RemezExchangeDesign(ws, 51, 2, &monitor), dsStopped);
  EXPECT_EQ(rounds, 2);
}

// Designs whose first extremal sets are far from level: the long low-pass
// once evaluated its pass band to rounding and collapsed to a response of
// about 0, the short band-pass cycled between two sets that did not
// alternate, the longer band-pass stalled at a levelled deviation of about 0.
// Each now converges to the optimum on its grid: its largest weighted error
// there is its levelled deviation.
TEST(Exchange, ConvergesFromSetsFarFromLevel) {
  TFilterRecord lowPass;
  lowPass.FilterType = ftLowPass;
  lowPass.P1 = 24;
  lowPass.D1 = 12;
  lowPass.A1 = 40;
  lowPass.Ripple = 0.08;
  TFilterRecord bandPass;
  bandPass.FilterType = ftBandPass;
  bandPass.P1 = 10;
  bandPass.D1 = 8;
  bandPass.P2 = 20;
  bandPass.D2 = 25;
  bandPass.A1 = 40;
  bandPass.A2 = 40;
  bandPass.Ripple = 0.5;
  const struct {
    const TFilterRecord& filter;
    int taps;
  } cases[] = {{lowPass, 301}, {bandPass, 20}, {bandPass, 186}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.taps);
    TDesignWorkspace ws;
    SetDesignBands(ws, c.filter);
    ASSERT_EQ(RemezExchangeDesign(ws, c.taps, ws.BandCount), dsDone);
    const int r = ExchangeExtremalCount(c.taps);
    const double levelled = std::fabs(ws.W[ws.Ext[0]] * (ws.D[ws.Ext[0]] - ws.y[0]));
    double largest = 0;
    for (int i = 0; i < ws.GridSize; ++i)
      largest = std::max(largest, std::fabs(ws.W[i] * (ws.D[i] - EvaluateResponse(ws, r, ws.Grid[i]))));
    EXPECT_GT(levelled, 0.0);
    EXPECT_LE(largest, levelled * (1 + 1e-3));
    if (c.filter.FilterType == ftLowPass) {
      double sum = 0;
      for (int i = 0; i < c.taps; ++i) sum += ws.ImpulseResponse[i];
      EXPECT_NEAR(sum, 1.0, 1e-6);
    }
  }
}

TEST(Exchange, IterationLimitStillFillsTheResponse) {
  // An even-length symmetric filter cannot pass the Nyquist frequency, so a
  // high-pass design of even length never converges.
  TDesignWorkspace ws;
  ws.BandEdges = {0, 1.0 / 12, 1.0 / 6, 0.5, 0, 0};
  ws.BandGains = {0, 1, 0};
  ws.BandWeights = {0.4585, 1, 0};
  EXPECT_EQ(RemezExchangeDesign(ws, 40, 2), dsIterationLimit);
  EXPECT_EQ(ws.IterationLimitReached, 1);
  int filled = 0;
  for (int i = 0; i < 40; ++i) filled += ws.ImpulseResponse[i] != 0.0;
  EXPECT_GT(filled, 0);

  // The flag is cleared by the next exchange.
  LowPassBands(ws);
  EXPECT_EQ(RemezExchangeDesign(ws, 51, 2), dsDone);
  EXPECT_EQ(ws.IterationLimitReached, 0);
}

TEST(Exchange, RefusesTapCountsBeyondTheArrays) {
  TDesignWorkspace ws;
  LowPassBands(ws);
  EXPECT_THROW(RemezExchangeDesign(ws, ImpulseCapacity + 1, 2), EFilterCheck);
  EXPECT_THROW(RemezExchangeDesign(ws, 0, 2), EFilterCheck);
  EXPECT_THROW(RemezExchangeDesign(ws, 51, 4), EFilterCheck);
}

}  // namespace
}  // namespace workbench
