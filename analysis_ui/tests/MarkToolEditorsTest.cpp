// The mark cursors' editor forms driven by their controls as a user drives
// them: found by the class names the tools give, filled from the tool
// without writing anything back, every change written into the tool at
// once, series boxes that follow the chart, and their pictures.
// Covers: analysis_ui/CursorMarkToolEdit.cpp, analysis_ui/SpectrumMarkToolEdit.cpp,
// analysis_ui/SignalMarkToolEdit.cpp, analysis_ui/ToolEditors.cpp.
#include <gtest/gtest.h>

#include <QTest>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "MarkToolTestSupport.h"
#include "analysis_ui/MarkToolEditors.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "numeric/MathCore.h"
#include "signal/SpectrumPeaks.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

using chart_editors::ComboObject;
using chart_editors::testing::ChooseItem;
using chart_editors::testing::InkIn;
using chart_editors::testing::TypeText;
using testing::TAnalyzerChart;
using ui::Items;

// A spectrum chart with the analysed line, the mark points and two limit
// lines, all titled; the spectrum mark cursor on the first two.
class SpectrumMarkEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FData = std::make_unique<TAnalyzerChart>();
    Data().Line->SetTitle("Spectrum");
    Data().Points->SetTitle("Peaks");
    Upper = AddLine("Upper");
    Lower = AddLine("Lower");
  }
  void TearDown() override {
    FForm.reset();
    FData.reset();
    ui::TWindowTest::TearDown();
  }

  TAnalyzerChart& Data() { return *FData; }
  TSpectrumMarkTool& Tool() { return *Data().Tool; }
  chart::TLineSeries* AddLine(const char* title) {
    auto* s = new chart::TLineSeries(&Data().Chart);
    s->SetTitle(title);
    s->SetParentChart(&Data().Chart);
    return s;
  }
  // The form the tool's class name finds, shown on the tool.
  template <class TForm = TSpectrumMarkToolEditor>
  TForm& Open(classlib::TPersistent& tool, const std::string& className) {
    FForm.reset(chart_editors::CreateEditorForm(className, nullptr));
    auto* form = dynamic_cast<TForm*>(FForm.get());
    EXPECT_NE(form, nullptr) << className;
    form->SetTag(&tool);
    form->resize(380, 260);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    return *form;
  }
  TSpectrumMarkToolEditor& Open() { return Open(Tool(), Tool().EditorClassName()); }

  std::unique_ptr<TAnalyzerChart> FData;
  chart::TLineSeries* Upper = nullptr;
  chart::TLineSeries* Lower = nullptr;
  std::unique_ptr<chart_editors::TEditorForm> FForm;
};

TEST_F(SpectrumMarkEditor, TheToolsClassNamesFindTheirForms) {
  TSpectrumMarkToolEditor& e = Open();
  EXPECT_EQ(e.windowTitle(), "SpectrumMarkToolEditor");
  ASSERT_EQ(e.PageControl1->count(), 4);
  EXPECT_EQ(e.PageControl1->tabText(0), "Configuration");
  EXPECT_EQ(e.PageControl1->tabText(1), "Display");
  EXPECT_EQ(e.PageControl1->tabText(2), "Interface");
  EXPECT_EQ(e.PageControl1->tabText(3), "Conf. Intervals");
  // In any letter case, as the registry finds every name.
  std::unique_ptr<chart_editors::TEditorForm> lower(chart_editors::CreateEditorForm("tspectrummarktooleditor", nullptr));
  EXPECT_NE(dynamic_cast<TSpectrumMarkToolEditor*>(lower.get()), nullptr);
  TSignalMarkTool signalTool;
  std::unique_ptr<chart_editors::TEditorForm> signalForm(
      chart_editors::CreateEditorForm(signalTool.EditorClassName(), nullptr));
  EXPECT_NE(dynamic_cast<TSignalMarkToolEditor*>(signalForm.get()), nullptr);
}

TEST_F(SpectrumMarkEditor, ShowingTheFormFillsItFromTheToolAndWritesNothingBack) {
  Tool().SetMarkMode(mmSideBand);
  Tool().SetMarkType(mtAmpltPhase);
  Tool().SetAmpltFormat("0.0");
  Tool().SetPhaseFormat("0.000");
  Tool().SetFreqFormat("0 Hz");
  Tool().SetLabelHeaders(false);
  Tool().SetPeakZoomBand(true);
  Tool().SetDoubleClickClear(false);
  Tool().SetPeakFilterMode(true);
  Tool().SetConfMarksOnly(true);
  Tool().SetCursorActive(false);
  Tool().SetUpperLimitSeries(Upper);
  Tool().SetLowerLimitSeries(Lower);
  TSpectrumMarkToolEditor& e = Open();
  const QStringList series{"(none)", "Spectrum", "Peaks", "Upper", "Lower"};
  for (QComboBox* box : {e.SpectrumBox, e.MarkSeriesBox, e.UpperLimitBox, e.LowerLimitBox}) {
    EXPECT_EQ(Items(*box), series) << box->objectName().toStdString();
    EXPECT_TRUE(box->isEnabled());
  }
  EXPECT_EQ(e.SpectrumBox->currentText(), "Spectrum");
  EXPECT_EQ(e.MarkSeriesBox->currentText(), "Peaks");
  EXPECT_EQ(e.UpperLimitBox->currentText(), "Upper");
  EXPECT_EQ(e.LowerLimitBox->currentText(), "Lower");
  EXPECT_EQ(e.MarkModeBox->currentText(), "Modulation side bands");
  EXPECT_EQ(e.MarkTypeBox->currentText(), "Amplitude and Phase");
  EXPECT_EQ(e.AmplitudeEdit->text(), "0.0");
  EXPECT_EQ(e.PhaseEdit->text(), "0.000");
  EXPECT_EQ(e.FrequencyEdit->text(), "0 Hz");
  EXPECT_FALSE(e.LabelHeadersBox->isChecked());
  EXPECT_TRUE(e.PeakZoomBandBox->isChecked());
  EXPECT_FALSE(e.DoubleClickClear->isChecked());
  EXPECT_TRUE(e.FilterBox->isChecked());
  EXPECT_TRUE(e.ConfidenceBox->isChecked());
  EXPECT_FALSE(e.ActiveBox->isChecked());
  // Nothing stands behind these.
  EXPECT_FALSE(e.CoordinatesBox->isEnabled());
  EXPECT_FALSE(e.ConfidenceEdit->isEnabled());
  EXPECT_EQ(e.ConfidenceEdit->text(), "99");
  // The tool as it was.
  EXPECT_EQ(Tool().AmpltFormat(), "0.0");
  EXPECT_EQ(Tool().FreqFormat(), "0 Hz");
  EXPECT_FALSE(Tool().LabelHeaders());
  EXPECT_TRUE(Tool().PeakFilterMode());
  EXPECT_EQ(Tool().Series(), Data().Line);
  EXPECT_EQ(Tool().UpperLimitSeries(), Upper);
}

TEST_F(SpectrumMarkEditor, NoneInTheMarkSeriesBoxDetachesTheMarkSeries) {
  TSpectrumMarkToolEditor& e = Open();
  ASSERT_TRUE(Data().Points->OnGetMarkText);
  ChooseItem(*e.MarkSeriesBox, 0);
  EXPECT_EQ(Tool().MarkSeries(), nullptr);
  EXPECT_FALSE(Data().Points->OnGetMarkText);
  ChooseItem(*e.MarkSeriesBox, 2);
  EXPECT_EQ(Tool().MarkSeries(), Data().Points);
  EXPECT_TRUE(Data().Points->OnGetMarkText);
  ChooseItem(*e.SpectrumBox, 0);
  EXPECT_EQ(Tool().Series(), nullptr);
  ChooseItem(*e.SpectrumBox, 1);
  EXPECT_EQ(Tool().Series(), Data().Line);
}

TEST_F(SpectrumMarkEditor, EachLimitBoxSetsItsOwnSeries) {
  TSpectrumMarkToolEditor& e = Open();
  ChooseItem(*e.UpperLimitBox, 3);
  EXPECT_EQ(Tool().UpperLimitSeries(), Upper);
  EXPECT_EQ(Tool().LowerLimitSeries(), nullptr);
  ChooseItem(*e.LowerLimitBox, 4);
  EXPECT_EQ(Tool().LowerLimitSeries(), Lower);
  EXPECT_EQ(Tool().UpperLimitSeries(), Upper);
  ChooseItem(*e.UpperLimitBox, 0);
  EXPECT_EQ(Tool().UpperLimitSeries(), nullptr);
  EXPECT_EQ(Tool().LowerLimitSeries(), Lower);
}

TEST_F(SpectrumMarkEditor, EveryControlWritesIntoTheToolAtOnce) {
  TSpectrumMarkToolEditor& e = Open();
  const struct {
    QCheckBox* Box;
    std::function<bool()> Property;
  } boxes[] = {
      {e.ActiveBox, [&] { return Tool().CursorActive(); }},
      {e.LabelHeadersBox, [&] { return Tool().LabelHeaders(); }},
      {e.DoubleClickClear, [&] { return Tool().DoubleClickClear(); }},
      {e.FilterBox, [&] { return Tool().PeakFilterMode(); }},
      {e.PeakZoomBandBox, [&] { return Tool().PeakZoomBand(); }},
      {e.ConfidenceBox, [&] { return Tool().ConfMarksOnly(); }},
  };
  for (const auto& b : boxes) {
    e.PageControl1->setCurrentWidget(b.Box->parentWidget());
    const bool was = b.Property();
    ASSERT_EQ(b.Box->isChecked(), was) << b.Box->objectName().toStdString();
    ui::ClickButton(b.Box);
    EXPECT_EQ(b.Property(), !was) << b.Box->objectName().toStdString();
    ui::ClickButton(b.Box);
    EXPECT_EQ(b.Property(), was) << b.Box->objectName().toStdString();
  }
  e.PageControl1->setCurrentWidget(e.Configuration);
  for (int i : {4, 1, 0}) {
    ChooseItem(*e.MarkModeBox, i);
    EXPECT_EQ(Tool().MarkMode(), static_cast<TSpectrumMarkMode>(i));
  }
  e.PageControl1->setCurrentWidget(e.Display);
  for (int i : {2, 1, 0}) {
    ChooseItem(*e.MarkTypeBox, i);
    EXPECT_EQ(Tool().MarkType(), static_cast<TSpectrumMarkType>(i));
  }
  // The formats follow every key.
  TypeText(*e.AmplitudeEdit, "0.0");
  EXPECT_EQ(Tool().AmpltFormat(), "0.0");
  QTest::keyClick(e.AmplitudeEdit, Qt::Key_0);
  EXPECT_EQ(Tool().AmpltFormat(), "0.00");
  TypeText(*e.PhaseEdit, "0.0 rad");
  EXPECT_EQ(Tool().PhaseFormat(), "0.0 rad");
  TypeText(*e.FrequencyEdit, "0 Hz");
  EXPECT_EQ(Tool().FreqFormat(), "0 Hz");
  // An empty format still labels the marks.
  TypeText(*e.AmplitudeEdit, "");
  EXPECT_EQ(Tool().AmpltFormat(), "");
  Data().Points->AddXY(100, 1);
  std::string text = "x";
  Tool().GetMarkLabel(*Data().Points, 0, text);
  EXPECT_NO_THROW(testing::PaintChart(Data().Chart));
}

TEST_F(SpectrumMarkEditor, TheButtonsClearAndFilterThePeaks) {
  sig::TSpectrum& spectrum = *Tool().Spectrum();
  spectrum.Marks().AddMark({100, 0, 0, 0});
  ASSERT_EQ(spectrum.Marks().Count(), 1);
  TSpectrumMarkToolEditor& e = Open();
  QTest::mouseClick(e.ClearPeaksButton, Qt::LeftButton);
  EXPECT_EQ(spectrum.Marks().Count(), 0);
  // Filtering takes the marked tone out of the signal, and the marks go.
  Data().Analyzer.Peaks().Interpolation().SetMethod(sig::imNumeric);
  Data().Analyzer.Update();
  const double rms = Data().Signal.Data().RMS();
  spectrum.Marks().AddMark({100, 0, 0, 0});
  QTest::mouseClick(e.FilterPeaksButton, Qt::LeftButton);
  EXPECT_EQ(FDialogs.ShownTexts(), "");
  EXPECT_EQ(spectrum.Marks().Count(), 0);
  EXPECT_LT(Data().Signal.Data().RMS(), 0.01 * rms);
  // Settings that cannot give the tone say so, and the mark stays.
  Data().Analyzer.Peaks().Interpolation().SetMethod(sig::imQuadratic);
  spectrum.Marks().AddMark({100, 0, 0, 0});
  QTest::mouseClick(e.FilterPeaksButton, Qt::LeftButton);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_NE(FDialogs.Shown[0].Text.find("Peak interpolation must be numeric"), std::string::npos);
  EXPECT_EQ(spectrum.Marks().Count(), 1);
}

TEST_F(SpectrumMarkEditor, ASeriesThatGoesLeavesEveryBox) {
  Tool().SetUpperLimitSeries(Upper);
  TSpectrumMarkToolEditor& e = Open();
  delete Upper;
  Upper = nullptr;
  for (QComboBox* box : {e.SpectrumBox, e.MarkSeriesBox, e.UpperLimitBox, e.LowerLimitBox})
    EXPECT_EQ(Items(*box), (QStringList{"(none)", "Spectrum", "Peaks", "Lower"})) << box->objectName().toStdString();
  EXPECT_EQ(e.UpperLimitBox->currentIndex(), 0);
  EXPECT_EQ(Tool().UpperLimitSeries(), nullptr);
  EXPECT_EQ(e.MarkSeriesBox->currentText(), "Peaks");
}

TEST_F(SpectrumMarkEditor, AChartWithoutSeriesLeavesTheBoxesDisabledWithNone) {
  TSpectrumChart empty;
  auto* tool = new TSpectrumMarkTool(&empty);
  tool->SetParentChart(&empty);
  TSpectrumMarkToolEditor& e = Open(*tool, tool->EditorClassName());
  for (QComboBox* box : {e.SpectrumBox, e.MarkSeriesBox, e.UpperLimitBox, e.LowerLimitBox}) {
    EXPECT_EQ(Items(*box), QStringList{"(none)"});
    EXPECT_FALSE(box->isEnabled());
  }
  EXPECT_TRUE(e.ActiveBox->isEnabled());
  FForm.reset();
}

TEST_F(SpectrumMarkEditor, AToolThatGoesLeavesTheFormWithNothingToWrite) {
  TSpectrumMarkToolEditor& e = Open();
  delete Data().Tool;
  Data().Tool = nullptr;
  EXPECT_EQ(e.Tool(), nullptr);
  EXPECT_FALSE(e.PageControl1->isEnabled());
  // A form given something that is not its tool edits nothing either.
  TSignalMarkTool other;
  TSpectrumMarkToolEditor& wrong = Open(other, "TSpectrumMarkToolEditor");
  EXPECT_EQ(wrong.Tool(), nullptr);
  EXPECT_FALSE(wrong.PageControl1->isEnabled());
}

TEST_F(SpectrumMarkEditor, ScreenshotShowsTheChosenSeriesAndTheFormats) {
  TSpectrumMarkToolEditor& e = Open();
  const QImage config = ui::Screenshot(e, "spectrum_mark_tool_editor");
  EXPECT_GT(InkIn(config, e, *e.SpectrumBox), 30);     // "Spectrum"
  EXPECT_GT(InkIn(config, e, *e.MarkSeriesBox), 20);   // "Peaks"
  EXPECT_GT(InkIn(config, e, *e.MarkModeBox), 30);     // "Single peak"
  EXPECT_GT(InkIn(config, e, *e.ActiveBox), 30);
  // The box with nothing behind it is greyed: no dark letters.
  EXPECT_EQ(InkIn(config, e, *e.CoordinatesBox), 0);
  e.PageControl1->setCurrentWidget(e.Display);
  const QImage display = ui::Screenshot(e, "spectrum_mark_tool_editor_display");
  for (QWidget* w : {static_cast<QWidget*>(e.AmplitudeEdit), static_cast<QWidget*>(e.PhaseEdit),
                     static_cast<QWidget*>(e.FrequencyEdit), static_cast<QWidget*>(e.LabelHeadersBox)})
    EXPECT_GT(InkIn(display, e, *w), 10) << w->objectName().toStdString();
  e.PageControl1->setCurrentWidget(e.ConfIntervals);
  const QImage conf = ui::Screenshot(e, "spectrum_mark_tool_editor_intervals");
  EXPECT_GT(InkIn(conf, e, *e.StdDevLabel), 40);
  EXPECT_EQ(InkIn(conf, e, *e.ConfidenceEdit), 0);
}

// A signal chart with the signal line and the mark points, the signal mark
// cursor on them.
class SignalMarkEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    Signal.Data().Size(100, false);
    for (int j = 0; j < 100; ++j) Signal.Data().Values()[j] = std::sin(2 * numeric::PI * 20 * j / 1000.0);
    Signal.SetSamplingFrequency(1000);
    Chart.SetBounds(600, 400);
    Chart.Signals()->Add()->SetInput(&Signal);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetTitle("Signal");
    Line->SetParentChart(&Chart);
    Points = new chart::TPointSeries(&Chart);
    Points->SetTitle("Marks");
    Points->SetParentChart(&Chart);
    Tool = new TSignalMarkTool(&Chart);
    Tool->SetParentChart(&Chart);
    Tool->SetSeries(Line);
    Tool->SetMarkSeries(Points);
    Signal.Update();
  }
  void TearDown() override {
    FForm.reset();
    ui::TWindowTest::TearDown();
  }
  TSignalMarkToolEditor& Open() {
    FForm.reset(chart_editors::CreateEditorForm(Tool->EditorClassName(), nullptr));
    auto* form = dynamic_cast<TSignalMarkToolEditor*>(FForm.get());
    EXPECT_NE(form, nullptr);
    form->SetTag(Tool);
    form->resize(340, 220);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    return *form;
  }

  sig::TSignal Signal;
  TSignalChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  chart::TPointSeries* Points = nullptr;
  TSignalMarkTool* Tool = nullptr;
  std::unique_ptr<chart_editors::TEditorForm> FForm;
};

TEST_F(SignalMarkEditor, TheFormShowsTheToolAndWritesEveryChange) {
  Tool->SetMarkMode(tmZeroCrossing);
  Tool->SetDoubleClickClear(false);
  Tool->SetAmpltFormat("0.0");
  Tool->SetTimeFormat("0.000");
  TSignalMarkToolEditor& e = Open();
  EXPECT_EQ(e.windowTitle(), "SignalMarkToolEditor");
  ASSERT_EQ(e.PageControl1->count(), 2);
  EXPECT_EQ(e.SpectrumLabel->text(), "Signal:");
  EXPECT_EQ(Items(*e.SpectrumBox), (QStringList{"(none)", "Signal", "Marks"}));
  EXPECT_EQ(e.SpectrumBox->currentText(), "Signal");
  EXPECT_EQ(e.MarkSeriesBox->currentText(), "Marks");
  EXPECT_EQ(Items(*e.MarkModeBox), (QStringList{"Maximum", "Minimum", "Zero crossing", "Free style"}));
  EXPECT_EQ(e.MarkModeBox->currentIndex(), 2);
  EXPECT_FALSE(e.ClearMarksDblClickBox->isChecked());
  EXPECT_TRUE(e.ActiveBox->isChecked());
  EXPECT_EQ(e.AmplitudeEdit->text(), "0.0");
  EXPECT_EQ(e.TimeEdit->text(), "0.000");
  EXPECT_EQ(Tool->TimeFormat(), "0.000");

  ChooseItem(*e.MarkModeBox, 3);
  EXPECT_EQ(Tool->MarkMode(), tmFreeStyle);
  ui::ClickButton(e.ClearMarksDblClickBox);
  EXPECT_TRUE(Tool->DoubleClickClear());
  ui::ClickButton(e.ActiveBox);
  EXPECT_FALSE(Tool->CursorActive());
  ChooseItem(*e.MarkSeriesBox, 0);
  EXPECT_EQ(Tool->MarkSeries(), nullptr);
  EXPECT_FALSE(Points->OnGetMarkText);
  ChooseItem(*e.SpectrumBox, 0);
  EXPECT_EQ(Tool->Series(), nullptr);
  e.PageControl1->setCurrentWidget(e.Display);
  TypeText(*e.AmplitudeEdit, "0.000 V");
  EXPECT_EQ(Tool->AmpltFormat(), "0.000 V");
  TypeText(*e.TimeEdit, "0.0 s");
  EXPECT_EQ(Tool->TimeFormat(), "0.0 s");
}

TEST_F(SignalMarkEditor, ClearPeaksClearsTheSignalsMarks) {
  Signal.Marks().AddMark({0.0125, 1, 0, 0});
  Signal.Marks().AddMark({0.0625, 1, 0, 0});
  TSignalMarkToolEditor& e = Open();
  QTest::mouseClick(e.SpeedButton1, Qt::LeftButton);
  EXPECT_EQ(Signal.Marks().Count(), 0);
  EXPECT_EQ(Points->Count(), 0);
}

TEST_F(SignalMarkEditor, ScreenshotShowsBothPages) {
  TSignalMarkToolEditor& e = Open();
  const QImage config = ui::Screenshot(e, "signal_mark_tool_editor");
  EXPECT_GT(InkIn(config, e, *e.SpectrumBox), 20);  // "Signal"
  EXPECT_GT(InkIn(config, e, *e.MarkModeBox), 30);  // "Maximum"
  EXPECT_GT(InkIn(config, e, *e.SpeedButton1), 30);
  e.PageControl1->setCurrentWidget(e.Display);
  const QImage display = ui::Screenshot(e, "signal_mark_tool_editor_display");
  EXPECT_GT(InkIn(display, e, *e.TimeEdit), 10);
  EXPECT_GT(InkIn(display, e, *e.FormatGroup), 60);
}

}  // namespace
}  // namespace analysis_ui
