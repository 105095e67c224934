// The axis scale tool's editor form driven by its controls: the axis chosen
// by name (custom axes after the four standard ones), the tool's settings
// filled without being written back, every change written at once, the
// controls that need an axis disabled without one, and its picture.
// Covers: analysis_ui/AxisScaleToolEdit.cpp.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <limits>
#include <memory>

#include "MarkToolTestSupport.h"
#include "analysis_ui/AxisScaleToolEdit.h"
#include "chart/ChartAxis.h"
#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

using chart_editors::testing::ChooseItem;
using chart_editors::testing::InkIn;
using chart_editors::testing::TypeText;

// A chart with custom axes 0 (vertical) and 1 (horizontal) and a line from
// 0 to 100; the tool on the left axis.
class AxisScaleEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    Chart.SetBounds(600, 400);
    Chart.SetView3D(false);
    Chart.CustomAxes().Add()->SetHorizontal(false);
    Chart.CustomAxes().Add()->SetHorizontal(true);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetParentChart(&Chart);
    for (int i = 0; i <= 10; ++i) Line->AddXY(i, 10 * i);
    Tool = new TAxisScaleTool(&Chart);
    Tool->SetAxis(Chart.LeftAxis());
  }
  void TearDown() override {
    FForm.reset();
    ui::TWindowTest::TearDown();
  }
  TAxisScaleToolEditor& Open(classlib::TPersistent* tool) {
    FForm.reset(chart_editors::CreateEditorForm("TAxisScaleToolEditor", nullptr));
    auto* form = dynamic_cast<TAxisScaleToolEditor*>(FForm.get());
    EXPECT_NE(form, nullptr);
    form->SetTag(tool);
    form->resize(320, 260);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    return *form;
  }
  TAxisScaleToolEditor& Open() { return Open(Tool); }
  chart::TChartAxis* Custom(int n) { return Chart.AxesList()[5 + n]; }

  chart::TChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  TAxisScaleTool* Tool = nullptr;
  std::unique_ptr<chart_editors::TEditorForm> FForm;
};

TEST_F(AxisScaleEditor, TheAxisNamesMapToTheChartsAxesAndBack) {
  const struct {
    int Item;
    std::function<chart::TChartAxis*()> Axis;
  } cases[] = {{0, [&] { return Chart.LeftAxis(); }},   {1, [&] { return Chart.RightAxis(); }},
               {2, [&] { return Chart.TopAxis(); }},    {3, [&] { return Chart.BottomAxis(); }},
               {4, [&] { return Custom(0); }},          {5, [&] { return Custom(1); }}};
  for (const auto& c : cases) {
    EXPECT_EQ(AxisOfNameItem(Chart, c.Item), c.Axis()) << c.Item;
    EXPECT_EQ(NameItemOfAxis(Chart, c.Axis()), c.Item) << c.Item;
  }
  EXPECT_EQ(AxisOfNameItem(Chart, 6), nullptr);
  EXPECT_EQ(AxisOfNameItem(Chart, -1), nullptr);
  EXPECT_EQ(NameItemOfAxis(Chart, Chart.DepthAxis()), -1);
  EXPECT_EQ(NameItemOfAxis(Chart, nullptr), -1);

  TAxisScaleToolEditor& e = Open();
  QStringList names;
  for (int i = 0; i < e.CBAxis->count(); ++i) names << e.CBAxis->itemText(i);
  EXPECT_EQ(names, (QStringList{"Left Axis", "Right Axis", "Top Axis", "Bottom Axis", "Custom 0", "Custom 1"}));
  EXPECT_EQ(e.CBAxis->currentIndex(), 0);
  // Item 4 is the chart's axis 5, the first custom one, and the form shows it so.
  ChooseItem(*e.CBAxis, 4);
  EXPECT_EQ(Tool->Axis(), Chart.AxesList()[5]);
  ChooseItem(*e.CBAxis, 3);
  EXPECT_EQ(Tool->Axis(), Chart.BottomAxis());
  Tool->SetAxis(Custom(1));
  EXPECT_EQ(Open().CBAxis->currentIndex(), 5);
}

TEST_F(AxisScaleEditor, ShowingTheFormFillsItAndEveryControlWritesAtOnce) {
  Tool->SetAxisScaleMode(amPeakHold);
  Tool->SetUpperMargin(10);
  Tool->SetLowerMargin(5);
  Tool->SetDataIsSpectrum(true);
  Chart.LeftAxis()->SetAutomaticMinimum(false);
  TAxisScaleToolEditor& e = Open();
  EXPECT_EQ(e.ScaleModeBox->currentText(), "Peak hold");
  EXPECT_EQ(e.UpDown1->value(), 10);
  EXPECT_EQ(e.UpDown2->value(), 5);
  EXPECT_EQ(e.findChild<QLineEdit*>("UpperMarginEdit")->text(), "10");
  EXPECT_TRUE(e.IsSpectrum->isChecked());
  EXPECT_FALSE(e.AutoMinBox->isChecked());
  EXPECT_TRUE(e.AutoMaxBox->isChecked());
  EXPECT_EQ(Tool->UpperMargin(), 10);
  EXPECT_TRUE(Chart.LeftAxis()->AutomaticMaximum());

  ChooseItem(*e.ScaleModeBox, 2);
  EXPECT_EQ(Tool->AxisScaleMode(), amAuto);
  ChooseItem(*e.ScaleModeBox, 0);
  EXPECT_EQ(Tool->AxisScaleMode(), amNone);
  TypeText(*e.findChild<QLineEdit*>("UpperMarginEdit"), "25");
  EXPECT_EQ(Tool->UpperMargin(), 25);
  EXPECT_EQ(Tool->LowerMargin(), 5);
  QTest::keyClick(e.UpDown2, Qt::Key_Up);
  EXPECT_EQ(Tool->LowerMargin(), 6);
  // A text that is no number does not get in: the margin stays.
  TypeText(*e.findChild<QLineEdit*>("LowerMarginEdit"), "x");
  EXPECT_EQ(Tool->LowerMargin(), 6);
  TypeText(*e.findChild<QLineEdit*>("LowerMarginEdit"), "7x");
  EXPECT_EQ(Tool->LowerMargin(), 7);
  ui::ClickButton(e.AutoMinBox);
  EXPECT_TRUE(Chart.LeftAxis()->AutomaticMinimum());
  ui::ClickButton(e.AutoMaxBox);
  EXPECT_FALSE(Chart.LeftAxis()->AutomaticMaximum());
  ui::ClickButton(e.IsSpectrum);
  EXPECT_FALSE(Tool->DataIsSpectrum());
  // Another axis shows its own automatic ends.
  Custom(0)->SetAutomaticMaximum(true);
  Custom(0)->SetAutomaticMinimum(false);
  ChooseItem(*e.CBAxis, 4);
  EXPECT_FALSE(e.AutoMinBox->isChecked());
  EXPECT_TRUE(e.AutoMaxBox->isChecked());
  EXPECT_FALSE(Chart.LeftAxis()->AutomaticMaximum());
}

TEST_F(AxisScaleEditor, ResetForgetsTheHeldRange) {
  Chart.LeftAxis()->SetAutomatic(false);
  Tool->SetAxisScaleMode(amPeakHold);
  testing::PaintChart(Chart);
  ASSERT_LT(Tool->HeldMaximum(), std::numeric_limits<double>::max());
  ASSERT_GT(Tool->HeldMaximum(), 0);
  TAxisScaleToolEditor& e = Open();
  QTest::mouseClick(e.SpeedButton1, Qt::LeftButton);
  EXPECT_EQ(Tool->HeldMaximum(), -std::numeric_limits<double>::max());
  EXPECT_EQ(Tool->HeldMinimum(), std::numeric_limits<double>::max());
}

TEST_F(AxisScaleEditor, WithoutAnAxisOnlyTheAxisAndTheMarginsCanChange) {
  auto* tool = new TAxisScaleTool(&Chart);
  tool->SetParentChart(&Chart);
  TAxisScaleToolEditor& e = Open(tool);
  EXPECT_EQ(e.CBAxis->currentIndex(), -1);
  EXPECT_EQ(e.CBAxis->count(), 6);
  for (QWidget* w : {static_cast<QWidget*>(e.ScaleModeBox), static_cast<QWidget*>(e.AutoMinBox),
                     static_cast<QWidget*>(e.AutoMaxBox), static_cast<QWidget*>(e.IsSpectrum),
                     static_cast<QWidget*>(e.SpeedButton1)})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(e.UpDown1->isEnabled());
  TypeText(*e.findChild<QLineEdit*>("UpperMarginEdit"), "12");
  EXPECT_EQ(tool->UpperMargin(), 12);
  // An axis chosen brings them in.
  ChooseItem(*e.CBAxis, 1);
  EXPECT_EQ(tool->Axis(), Chart.RightAxis());
  EXPECT_TRUE(e.ScaleModeBox->isEnabled());
  ui::ClickButton(e.IsSpectrum);
  EXPECT_TRUE(tool->DataIsSpectrum());
}

TEST_F(AxisScaleEditor, ACustomAxisThatWentIsNotChosen) {
  TAxisScaleToolEditor& e = Open();
  Chart.CustomAxes().Delete(1);
  ChooseItem(*e.CBAxis, 5);
  EXPECT_EQ(Tool->Axis(), Chart.LeftAxis());
  EXPECT_EQ(e.CBAxis->count(), 5);
  EXPECT_EQ(e.CBAxis->currentIndex(), 0);
}

TEST_F(AxisScaleEditor, AToolThatGoesLeavesNothingToChange) {
  TAxisScaleToolEditor& e = Open();
  delete Tool;
  Tool = nullptr;
  EXPECT_FALSE(e.CBAxis->isEnabled());
  EXPECT_FALSE(e.UpDown1->isEnabled());
  // Nor does a form given another kind of tool.
  TSignalMarkTool other;
  TAxisScaleToolEditor& wrong = Open(&other);
  EXPECT_EQ(wrong.Tool(), nullptr);
  EXPECT_FALSE(wrong.SpeedButton1->isEnabled());
}

TEST_F(AxisScaleEditor, ScreenshotShowsTheAxisTheModeAndTheMargins) {
  Tool->SetAxisScaleMode(amAuto);
  Tool->SetUpperMargin(10);
  TAxisScaleToolEditor& e = Open();
  const QImage shot = ui::Screenshot(e, "axis_scale_tool_editor");
  EXPECT_GT(InkIn(shot, e, *e.CBAxis), 30);        // "Left Axis"
  EXPECT_GT(InkIn(shot, e, *e.ScaleModeBox), 15);  // "Auto"
  EXPECT_GT(InkIn(shot, e, *e.UpDown1), 8);        // "10"
  EXPECT_GT(InkIn(shot, e, *e.AutoMinBox), 30);
  EXPECT_GT(InkIn(shot, e, *e.SpeedButton1), 30);
  // The spectrum switch is a box without a caption: ink only in its indicator.
  EXPECT_LT(InkIn(shot, e, *e.IsSpectrum), InkIn(shot, e, *e.AutoMinBox));
}

}  // namespace
}  // namespace analysis_ui
