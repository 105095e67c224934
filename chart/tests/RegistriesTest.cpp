// Covers chart/series/SeriesRegistry.cpp, the registry of tool kinds
// (chart/tools/ToolBases.cpp) and chart/series/SeriesSource.cpp: the series-type
// and tool-type registries, series created by class name and named, a series
// changing its kind, series sources, legend symbols on foreign canvases and
// the engine's messages.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/series/SeriesSource.h"
#include "chart/testing/TestPointSeries.h"
#include "chart/tools/ToolBases.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/WarningSink.h"

namespace chart {
namespace {

using testing::TTestPointSeries;
using testing::AddPointSeries;

// Another kind to change a series into.
class TOtherSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  using TChartSeries::TChartSeries;
};

const classlib::TClassInfo& TOtherSeries::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TOtherSeries>("TOtherSeries", TChartSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

// A source that fills its series with the values it holds.
class TListSource : public TKivSeriesSource {
 public:
  using TKivSeriesSource::TKivSeriesSource;
  std::vector<double> Data{1, 2, 3};
  int Loads = 0;
  void Load() override {
    ++Loads;
    Series()->Clear();
    for (double v : Data) Series()->Add(v);
  }
};

TEST(Registries, SeriesAndFunctionsCreatedByClassNameAndNamed) {
  classlib::RegisterClass(TTestPointSeries::StaticClassInfo());
  RegisterSeriesType(TTestPointSeries::StaticClassInfo(), msgTest, msgTest);
  RegisterSeriesType(TTestPointSeries::StaticClassInfo(), msgTest, msgTest);
  EXPECT_EQ(std::count_if(KivSeriesTypesList().Items().begin(), KivSeriesTypesList().Items().end(),
                          [](const auto& t) { return t->SeriesClass == &TTestPointSeries::StaticClassInfo(); }),
            1);
  TChart chart;
  const classlib::TClassInfo& cls = classlib::FindClass("TTestPointSeries");
  TChartSeries* a = CreateChartSeries(nullptr, chart, cls);
  TChartSeries* b = CreateChartSeries(nullptr, chart, cls, &classlib::FindClass("TKivMovingFunction"));
  EXPECT_EQ(a->Name(), "Series1");
  EXPECT_EQ(b->Name(), "Series2");
  ASSERT_NE(b->FunctionType(), nullptr);
  EXPECT_EQ(b->FunctionType()->Name(), "KivFunction1");
  EXPECT_EQ(SeriesTitleOrName(*a), "Series1");
  auto* c = new TTestPointSeries(&chart);
  c->SetParentChart(&chart);
  EXPECT_EQ(SeriesTitleOrName(*c), "Series3");
  UnregisterSeriesTypes({&TTestPointSeries::StaticClassInfo()});
  EXPECT_EQ(FindSeriesType(TTestPointSeries::StaticClassInfo()), nullptr);
}

TEST(Registries, KindsOfOtherLibrariesBringTheirOwnTexts) {
  RegisterSeriesType(TOtherSeries::StaticClassInfo(), "Other\rKind", "Elsewhere", 3);
  const TKivSeriesType* t = FindSeriesType(TOtherSeries::StaticClassInfo());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Description, "Other\rKind");
  EXPECT_EQ(t->GalleryPage, "Elsewhere");
  EXPECT_EQ(t->NumGallerySeries, 3);
  TOtherSeries series;
  EXPECT_EQ(SeriesTypeDescription(series), "Other\rKind");
  EXPECT_EQ(&classlib::FindClass("TOtherSeries"), &TOtherSeries::StaticClassInfo());
  UnregisterSeriesTypes({&TOtherSeries::StaticClassInfo()});
  EXPECT_EQ(SeriesTypeDescription(series), "TOtherSeries");
  // No gallery is part of the engine: its two entry points wait for one.
  EXPECT_FALSE(GalleryCreateSeriesHook());
  EXPECT_FALSE(GalleryChangeSeriesKindHook());
}

TEST(Registries, ToolClassesAreListedOnce) {
  const std::size_t before = KivToolTypesList().size();
  RegisterToolClasses({&TKivCustomToolSeries::StaticClassInfo(), &TKivCustomToolSeries::StaticClassInfo()});
  EXPECT_EQ(KivToolTypesList().size(), before + 1);
  EXPECT_EQ(&classlib::FindClass("TKivCustomToolSeries"), &TKivCustomToolSeries::StaticClassInfo());
  UnregisterToolClasses({&TKivCustomToolSeries::StaticClassInfo(), &TKivCustomToolAxis::StaticClassInfo()});
  EXPECT_EQ(KivToolTypesList().size(), before);
}

TEST(Registries, ASeriesAsAFunctionIsASecondEntry) {
  RegisterSeriesType(TTestPointSeries::StaticClassInfo(), msgTest, msgTest);
  RegisterFunction(TKivMovingFunction::StaticClassInfo(), msgTest, msgTest);
  const auto& items = KivSeriesTypesList().Items();
  EXPECT_EQ(std::count_if(items.begin(), items.end(),
                          [](const auto& t) { return t->FunctionClass == &TKivMovingFunction::StaticClassInfo(); }),
            1);
  TChart chart;
  auto* s = AddPointSeries(chart);
  EXPECT_EQ(SeriesTypeDescription(*s), KivMsg(msgTest));
  UnregisterFunctions({&TKivMovingFunction::StaticClassInfo()});
  UnregisterSeriesTypes({&TTestPointSeries::StaticClassInfo()});
  EXPECT_EQ(SeriesTypeDescription(*s), "TTestPointSeries");
}

// The new kind takes the old one's place in every respect: its data, look,
// events, the series it feeds, the tools on it, its place in the chart and its name.
TEST(Registries, ChangingASeriesKindKeepsEverythingAboutIt) {
  TChart chart;
  TChartSeries* old = AddPointSeries(chart);
  old->SetName("Prices");
  old->SetTitle("Close");
  old->SetSeriesColor(clRed);
  old->AddXY(1, 10, "a");
  old->AddXY(2, 20, "b", clBlue);
  int clicks = 0;
  old->OnClick = [&](TChartSeries&, int, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++clicks; };
  auto* last = AddPointSeries(chart);
  auto* fed = AddPointSeries(chart);
  fed->SetDataSource(old);
  auto* tool = new TKivCustomToolSeries(&chart);
  tool->SetParentChart(&chart);
  tool->SetSeries(old);
  struct TListener : IKivEventListener {
    std::vector<TChartSeriesEventKind> Kinds;
    void KivEvent(TKivEvent& e) override {
      if (auto* s = dynamic_cast<TKivSeriesEvent*>(&e)) Kinds.push_back(s->Event);
    }
  } listener;
  chart.AddListener(&listener);

  TChartSeries* series = old;
  auto* other = new TOtherSeries(&chart);
  ChangeSeriesType(series, other);
  EXPECT_EQ(series, other);
  EXPECT_EQ(chart.Series(0), other);
  EXPECT_EQ(chart.Series(1), last);
  EXPECT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(other->Name(), "Prices");
  EXPECT_EQ(other->Title(), "Close");
  EXPECT_EQ(other->SeriesColor(), clRed);
  ASSERT_EQ(other->Count(), 2);
  EXPECT_EQ(other->Labels().GetLabel(0), "a");
  EXPECT_EQ(other->ValueColor(1), clBlue);
  ASSERT_TRUE(other->OnClick);
  other->OnClick(*other, 0, mbLeft, 0, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(fed->DataSource(), other);
  EXPECT_EQ(tool->Series(), other);
  other->AddXY(3, 30);
  EXPECT_EQ(fed->Count(), 3);  // the fed series follows its new source
  EXPECT_NE(std::find(listener.Kinds.begin(), listener.Kinds.end(), seChangeTitle), listener.Kinds.end());
  chart.RemoveListener(&listener);
}

TEST(Registries, FillSeriesItemsListsTheStoredSeriesByTitleOrName) {
  TChart chart;
  auto* a = AddPointSeries(chart);
  a->SetTitle("Close");
  auto* hidden = AddPointSeries(chart);
  hidden->SetDontStore(true);
  AddPointSeries(chart);
  std::vector<std::pair<std::string, TChartSeries*>> items;
  FillSeriesItems(items, chart);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].first, "Close");
  EXPECT_EQ(items[1].first, "Series3");
  EXPECT_EQ(items[1].second, chart.Series(2));
}

TEST(Registries, ChartMessagesGoToTheWarningSink) {
  classlib::TWarningRecorder warnings;
  ShowChartMessage("Series not found");
  ASSERT_EQ(warnings.Warnings().size(), 1u);
  EXPECT_EQ(warnings.Warnings()[0], "Series not found");
}

// An editor's button face: the symbol of a series without a chart, in its colour.
TEST(Registries, LegendSymbolOnAForeignCanvas) {
  TTestPointSeries series(nullptr);
  series.SetSeriesColor(clRed);
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    TCanvas canvas(image);
    DrawSeriesLegendSymbol(series, canvas, {4, 4, 26, 16});
  }
  EXPECT_EQ(series.ParentChart(), nullptr);
  EXPECT_EQ(FromQRgb(image.pixel(15, 10)), clRed);
  EXPECT_EQ(FromQRgb(image.pixel(1, 1)), clWhite);
}

TEST(SeriesSource, SwitchedOnItLoadsItsSeriesAndSwitchedOffEmptiesIt) {
  TChart chart;
  auto* s = AddPointSeries(chart);
  auto* src = new TListSource(&chart);
  src->SetSeries(s);
  EXPECT_EQ(s->DataSource(), src);
  EXPECT_TRUE(src->IsSeriesSource(*s));
  EXPECT_EQ(s->Count(), 0);  // not active yet
  src->Open();
  EXPECT_EQ(s->Count(), 3);
  // The chart's re-check of the source loads it again.
  src->Data = {4, 5};
  s->CheckDatasource();
  EXPECT_EQ(s->Count(), 2);
  src->Close();
  EXPECT_EQ(s->Count(), 0);
  EXPECT_FALSE(src->Active());
  // A source that goes away leaves the points and the series' source list.
  src->Open();
  delete src;
  EXPECT_EQ(s->Count(), 2);
  EXPECT_EQ(s->DataSource(), nullptr);
}

TEST(SeriesSource, ASeriesThatTakesASourceTakesItOver) {
  TChart chart;
  auto* first = AddPointSeries(chart);
  auto* second = AddPointSeries(chart);
  auto* src = new TListSource(first);  // owned by the series it serves
  src->SetSeries(first);
  src->Open();
  ASSERT_EQ(first->Count(), 3);
  second->SetDataSource(src);
  EXPECT_EQ(src->Series(), second);
  EXPECT_TRUE(src->Active());
  EXPECT_EQ(src->Owner(), second);
  EXPECT_EQ(first->Count(), 0);
  EXPECT_EQ(first->DataSource(), nullptr);
  EXPECT_EQ(second->Count(), 3);
  // The series that owns it frees it with itself.
  delete second;
  EXPECT_EQ(first->DataSources().size(), 0u);
}

TEST(SeriesSource, ItLetsGoOfASeriesThatGoesAway) {
  TChart chart;
  auto* s = AddPointSeries(chart);
  TListSource src(nullptr);
  src.SetSeries(s);
  src.Open();
  delete s;
  EXPECT_EQ(src.Series(), nullptr);
  src.SetActive(false);
  src.SetActive(true);  // no series: nothing to load
  EXPECT_EQ(src.Loads, 1);
}

TEST(SeriesSource, TheSourcesListIsMadeOnFirstUse) {
  RegisteredSourcesList().push_back(&TKivSeriesSource::StaticClassInfo());
  EXPECT_EQ(RegisteredSourcesList().back(), &TKivSeriesSource::StaticClassInfo());
  RegisteredSourcesList().pop_back();
}

}  // namespace
}  // namespace chart
