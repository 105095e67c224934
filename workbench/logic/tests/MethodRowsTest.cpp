// The methods grid's texts and the design of a whole method.
// Covers: MethodRows.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/TestSupport.h"
#include "workbench/logic/MethodRows.h"

namespace workbench {
namespace {

TFilterRecord Filter(const char* name, std::uint8_t type, std::uint8_t method, std::int32_t order) {
  TFilterRecord f;
  f.Name = name;
  f.FilterType = type;
  f.P1 = 24, f.D1 = 12, f.A1 = 40, f.P2 = 36, f.D2 = 52, f.A2 = 40;
  if (type == ftHighPass) f.P1 = 12, f.D1 = 24;
  if (type == ftBandPass || type == ftBandStop) f.P1 = 20, f.D1 = 10, f.P2 = 40, f.D2 = 60;
  f.Ripple = 0.08;
  f.Order = order;
  f.AutoOrder = 1;
  f.Method = method;
  return f;
}

TEST(MethodGrid, RowTexts) {
  TFilterRecord f = Filter("fatl", ftBandStop, dmLibrary, 51);
  f.Ripple = 0.5;
  f.Delay = 3;
  EXPECT_EQ(MethodGridRow(2, f), (std::vector<std::string>{"2", "fatl", "BS", "20", "10", "40", "40", "60", "40",
                                                           "0.5", "3", "Auto (51)", "2"}));
  f.AutoOrder = 0;
  EXPECT_EQ(MethodGridRow(1, f)[11], "51");
  const char* codes[] = {"LP", "HP", "BP", "BS"};
  for (std::uint8_t type = 0; type < 4; ++type) {
    f.FilterType = type;
    EXPECT_EQ(MethodGridRow(1, f)[2], codes[type]);
  }
}

TEST(MethodCalculation, DesignsEveryFilterInOrderWithProgress) {
  TMethod method;
  method.Filters = {Filter("a", ftLowPass, dmOwnExchange, 50), Filter("b", ftHighPass, dmLibrary, 41),
                    Filter("c", ftBandPass, dmLibrary, 60)};
  TDesignWorkspace ws;
  std::vector<int> progress;
  const TMethodDesign design = CalculateMethod(ws, method, [&](int percent) { progress.push_back(percent); });
  EXPECT_EQ(progress, (std::vector<int>{33, 67, 100}));
  ASSERT_EQ(design.Coefficients.size(), 3u);
  ASSERT_EQ(design.IterationLimit.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    TDesignWorkspace alone;
    TCoefficientRecord expected{};
    DesignFilterRecord(alone, i, method.Filters[i], expected);
    const TCoefficientRecord& got = design.Coefficients[i];
    EXPECT_EQ(got.Tag, i);
    EXPECT_EQ(got.Name, method.Filters[i].Name);
    ASSERT_EQ(got.Count, expected.Count) << i;
    EXPECT_GT(got.Count, 0);
    for (int k = 0; k < got.Count; ++k) EXPECT_EQ(got.Coef[k], expected.Coef[k]) << i << " " << k;
    EXPECT_FALSE(design.IterationLimit[i]);
  }
}

// A narrow low-pass design long enough that the own exchange does not settle.
TFilterRecord IterationLimitFilter() {
  TFilterRecord f = Filter("slow", ftLowPass, dmOwnExchange, 0);
  f.P1 = 10, f.D1 = 5;
  f.AutoOrder = 0;
  for (int order = 150; order <= 400; order += 10) {
    TDesignWorkspace ws;
    TCoefficientRecord c{};
    f.Order = order;
    DesignFilterRecord(ws, 0, f, c);
    if (ws.IterationLimitReached) return f;
  }
  f.Order = 0;
  return f;
}

TEST(MethodCalculation, MarksTheFiltersThatRanOutOfRounds) {
  const TFilterRecord slow = IterationLimitFilter();
  if (slow.Order == 0) GTEST_SKIP() << "the own exchange settles every candidate";
  TMethod method;
  method.Filters = {slow, Filter("quick", ftLowPass, dmOwnExchange, 50)};
  TDesignWorkspace ws;
  const TMethodDesign design = CalculateMethod(ws, method);
  EXPECT_EQ(design.IterationLimit, (std::vector<bool>{true, false}));
  EXPECT_GT(design.Coefficients[0].Count, 0);
}

TEST(MethodCalculation, AFilterThatCannotBeDesignedRaises) {
  TMethod method;
  method.Filters = {Filter("ok", ftLowPass, dmOwnExchange, 50), Filter("bad", 7, dmOwnExchange, 50)};
  TDesignWorkspace ws;
  std::vector<int> progress;
  EXPECT_THROW(CalculateMethod(ws, method, [&](int p) { progress.push_back(p); }), EFilterCheck);
  EXPECT_EQ(progress, std::vector<int>{50});
}

}  // namespace
}  // namespace workbench
