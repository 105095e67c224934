// Covers chart_editors/KivToolSeriesEdit.cpp (the series tool editor),
// chart_editors/KivDragPoint.cpp (the drag point tool's editor) and
// chart_editors/KivEdiAxis.cpp (the axis name list).
#include <gtest/gtest.h>

#include <QStyle>
#include <QStyleOptionButton>

#include <memory>

#include "chart/ChartControl.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/DragPointTool.h"
#include "chart_editors/KivDragPoint.h"
#include "chart_editors/KivEdiAxis.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivToolSeriesEdit.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors {
namespace {

using chart::TDragPointTool;
using testing::ChooseItem;
using testing::InkIn;
using ui::Items;

class ToolEditors : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FChart = std::make_unique<chart::TChart>();
    FTool = new TDragPointTool(FChart.get());
    FTool->SetParentChart(FChart.get());
  }
  void TearDown() override {
    FEditor.reset();
    FChart.reset();
    ui::TWindowTest::TearDown();
  }

  chart::TLineSeries& AddSeries(const char* title) {
    auto* s = new chart::TLineSeries(FChart.get());
    s->SetTitle(title);
    s->SetParentChart(FChart.get());
    return *s;
  }

  template <class TForm = TDragPointToolEdit>
  TForm& Open(chart::TKivCustomToolSeries& tool) {
    auto* form = new TForm;
    FEditor.reset(form);
    form->SetTag(&tool);
    form->resize(300, 200);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    return *form;
  }

  std::unique_ptr<chart::TChart> FChart;
  TDragPointTool* FTool = nullptr;
  std::unique_ptr<TEditorForm> FEditor;
};

TEST_F(ToolEditors, AChartWithoutSeriesLeavesOnlyNoneAndTheBoxDisabled) {
  TDragPointToolEdit& e = Open(*FTool);
  EXPECT_EQ(Items(*e.CBSeries), QStringList{"(none)"});
  EXPECT_EQ(e.CBSeries->currentIndex(), 0);
  EXPECT_FALSE(e.CBSeries->isEnabled());
}

TEST_F(ToolEditors, TheSeriesBoxListsTheChartsSeriesAndSetsTheToolsSeries) {
  chart::TLineSeries& first = AddSeries("First");
  chart::TLineSeries& second = AddSeries("Second");
  FTool->SetSeries(&second);
  TSeriesToolEditor& e = Open<TSeriesToolEditor>(*FTool);
  EXPECT_EQ(Items(*e.CBSeries), (QStringList{"(none)", "First", "Second"}));
  EXPECT_TRUE(e.CBSeries->isEnabled());
  EXPECT_EQ(e.CBSeries->currentIndex(), 2);
  EXPECT_EQ(ComboObject<chart::TChartSeries>(*e.CBSeries, 0), nullptr);

  ChooseItem(*e.CBSeries, 1);
  EXPECT_EQ(FTool->Series(), &first);
  ChooseItem(*e.CBSeries, 0);
  EXPECT_EQ(FTool->Series(), nullptr);
}

TEST_F(ToolEditors, ASeriesThatGoesLeavesNoItemBehind) {
  AddSeries("First");
  chart::TLineSeries& second = AddSeries("Second");
  FTool->SetSeries(&second);
  TSeriesToolEditor& e = Open<TSeriesToolEditor>(*FTool);
  delete &second;
  EXPECT_EQ(Items(*e.CBSeries), (QStringList{"(none)", "First"}));
  EXPECT_EQ(e.CBSeries->currentIndex(), 0);
  EXPECT_EQ(FTool->Series(), nullptr);
}

TEST_F(ToolEditors, TheDragStyleShowsAndSetsXYOrBoth) {
  const struct {
    chart::TDragPointStyle Style;
    int Item;
  } cases[] = {{chart::dsX, 0}, {chart::dsY, 1}, {chart::dsBoth, 2}};
  for (const auto& c : cases) {
    FTool->SetDragStyle(c.Style);
    TDragPointToolEdit& e = Open(*FTool);
    EXPECT_EQ(e.RGStyle->ItemIndex(), c.Item);
    EXPECT_TRUE(e.RGStyle->Item(c.Item)->isChecked());
  }
  TDragPointToolEdit& e = Open(*FTool);
  for (const auto& c : cases) {
    ui::ClickButton(e.RGStyle->Item(c.Item));
    EXPECT_EQ(FTool->DragStyle(), c.Style);
  }
  // Showing it again writes nothing back.
  FTool->SetDragStyle(chart::dsY);
  Open(*FTool);
  EXPECT_EQ(FTool->DragStyle(), chart::dsY);
}

TEST_F(ToolEditors, ScreenshotShowsTheSeriesAndTheChosenStyle) {
  AddSeries("Prices");
  chart::TLineSeries& coefficients = AddSeries("Coefficients");
  FTool->SetSeries(&coefficients);
  FTool->SetDragStyle(chart::dsY);
  TDragPointToolEdit& e = Open(*FTool);
  const QImage shot = ui::Screenshot(e, "drag_point_tool_editor");
  EXPECT_GT(InkIn(shot, e, *e.CBSeries), 40);  // "Coefficients"
  EXPECT_GT(InkIn(shot, e, *e.Label1), 20);
  for (int i = 0; i < 3; ++i) EXPECT_GT(InkIn(shot, e, *e.RGStyle->Item(i)), 3) << i;
  // Only the chosen button has a dot: the middle of each indicator.
  QAbstractButton* y = e.RGStyle->Item(1);
  QAbstractButton* x = e.RGStyle->Item(0);
  const auto centre = [&](QAbstractButton* b) {
    QStyleOptionButton option;
    option.initFrom(b);
    const QRect indicator = b->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, b);
    return b->mapTo(&e, indicator.center());
  };
  EXPECT_LT(qGray(shot.pixel(centre(y))), qGray(shot.pixel(centre(x))) - 60);

  TSeriesToolEditor& plain = Open<TSeriesToolEditor>(*FTool);
  const QImage plainShot = ui::Screenshot(plain, "series_tool_editor");
  EXPECT_GT(InkIn(plainShot, plain, *plain.CBSeries), 40);
}

TEST(FillAxisNames, StandardNamesThenTheDepthAxisThenTheCustomAxes) {
  chart::TChart chart;
  chart.CustomAxes().Add()->SetHorizontal(false);
  chart.CustomAxes().Add();
  QStringList items{"left over"};
  FillAxisNames(&chart, items, false);
  EXPECT_EQ(items, (QStringList{"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Custom 0", "Custom 1"}));
  FillAxisNames(&chart, items, true);
  EXPECT_EQ(items.size(), 7);
  EXPECT_EQ(items[4], "Depth Axis");
  EXPECT_EQ(items.back(), "Custom 1");
  FillAxisNames(nullptr, items, false);
  EXPECT_EQ(items, (QStringList{"Left Axis", "Right Axis", "Top Axis", "Bottom Axis"}));
}

}  // namespace
}  // namespace chart_editors
