#include <gtest/gtest.h>
#include <cstdio>
#include "chart/ChartControl.h"
#include "chart/Functions.h"
#include "chart/SeriesMarks.h"
#include "chart/testing/TestPointSeries.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/WarningSink.h"
namespace chart {
namespace {
using testing::TTestPointSeries;
TEST(ChartStream, Probe) {
  classlib::RegisterClass(TTestPointSeries::StaticClassInfo());
  TChart chart;
  chart.SetName("Chart1");
  auto* s = new TTestPointSeries(&chart);
  s->SetName("Series1");
  s->SetParentChart(&chart);
  s->AddXY(1, 2, "a");
  s->AddXY(2, 3);
  s->SetAlwaysStoreData(true);
  s->Marks()->Item(1).SetColor(clRed);
  TChartAxis* c = chart.CustomAxes().Add();
  c->SetHorizontal(false);
  s->SetCustomVertAxis(c);
  s->SetIdentifier("id");
  s->SetStyle(0x21);
  const std::string text = classlib::ComponentToText(chart);
  printf("%s\n", text.c_str());
  TChart back;
  classlib::TWarningRecorder w;
  classlib::ReadComponentText(text, back);
  for (auto& x : w.Warnings()) printf("W: %s\n", x.c_str());
  const std::string again = classlib::ComponentToText(back);
  EXPECT_EQ(text, again);
}
}  // namespace
}  // namespace chart
