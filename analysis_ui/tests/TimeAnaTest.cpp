// The time-signal analysis window: opened through a component dialog and filled from its
// analyser, each control writing its property (and recomputing while live), Cancel restoring
// everything, the statistics captions and timing labels, the report on the clipboard, the
// settings files, and its picture.
// Covers: analysis_ui/TimeAna.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <string>
#include <vector>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/TimeAna.h"
#include "analysis_ui/tests/AnalysisFormTestSupport.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/SignalCollections.h"
#include "signal/SignalReport.h"

namespace analysis_ui {
namespace {

using sig::TSignalAnalyzer;
using testsupport::AreaOf;
using testsupport::DarkPixels;
using ui::Control;

class TimeAna : public testsupport::TAnalysisFormTest<TSignalAnalyzer, TTimeAnaForm> {
 protected:
  void SetUp() override {
    TAnalysisFormTest::SetUp();
    // Two inputs, so that the second correlation length is a parameter too.
    FAnalyzer.SetInput(&FX);
    FAnalyzer.Inputs()->Add();
    FAnalyzer.Inputs()->Items(1)->SetInput(&FY);
    FAnalyzer.SetIntegration(sig::inTwice);
    FAnalyzer.SetTransform(sig::ttAutoCorr);
    FAnalyzer.SetRemoveDC(true);
    FAnalyzer.SetScaleFactor(2.5);
    FAnalyzer.SetRotation(7);
    FAnalyzer.SetWindow(dsp::wtKaiser);
    FAnalyzer.SetSidelobeAtt(60);
    FAnalyzer.SetCorrTaps1(50);
    FAnalyzer.SetCorrTaps2(3);
    FAnalyzer.SetAutoCorrType(sig::ctBiased);
    FAnalyzer.Report().SetReportItems((1u << sig::srsMean) | (1u << sig::srsCrest));
    FAnalyzer.Report().SetTimeFormat("0.000");
    FAnalyzer.Report().SetAmplitudeFormat("0.0");
  }

  sig::TSignal FX, FY;
};

TEST_F(TimeAna, OpensThroughTheDialogFilledFromItsAnalyser) {
  TTimeAnaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Time domain signal analysis");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(FAnalyzer.EditorOpen());
  EXPECT_EQ(form.Analyzer(), &FAnalyzer);
  EXPECT_EQ(Control<QTabWidget>(form, "PageControl1").currentIndex(), 0);
  EXPECT_EQ(Control<QComboBox>(form, "IntDiffBox").currentText(), "Integrate twice");
  EXPECT_EQ(Control<QComboBox>(form, "TransformBox").currentText(), "Auto correlation");
  EXPECT_TRUE(Control<QCheckBox>(form, "RemoveDCBox").isChecked());
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "ScaleEdit").Position(), 2.5);
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "RotationEdit").Value(), "7");
  EXPECT_EQ(Control<QComboBox>(form, "WindowBox").currentText(), "Kaiser");
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "SidelobeAttEdit").Value(), "60");
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "Taps1Edit").Value(), "50");
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "Taps2Edit").Value(), "3");
  EXPECT_EQ(Control<QComboBox>(form, "AutocorrBox").currentText(), "Biased");
  EXPECT_TRUE(Control<QCheckBox>(form, "IncludeMeanBox").isChecked());
  EXPECT_TRUE(Control<QCheckBox>(form, "IncludeCRESTBox").isChecked());
  EXPECT_FALSE(Control<QCheckBox>(form, "IncludeRMSBox").isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "TimeFormatEdit").text(), "0.000");
  EXPECT_EQ(Control<QLineEdit>(form, "AmpltFormatEdit").text(), "0.0");
  // Filling wrote nothing back and recomputed nothing.
  EXPECT_EQ(FParameterUpdates, 0);
  EXPECT_EQ(FAnalyzer.ScaleFactor(), 2.5);
}

TEST_F(TimeAna, EveryControlWritesItsProperty) {
  struct TRow {
    const char* Name;
    std::function<void(TTimeAnaForm&)> Change;
    std::function<bool(const TSignalAnalyzer&)> Written;
  };
  const std::vector<TRow> rows = {
      {"IntDiffBox", [](TTimeAnaForm& f) { Choose(Control<QComboBox>(f, "IntDiffBox"), 3); },
       [](const TSignalAnalyzer& a) { return a.Integration() == sig::diffOnce; }},
      {"TransformBox", [](TTimeAnaForm& f) { Choose(Control<QComboBox>(f, "TransformBox"), 6); },
       [](const TSignalAnalyzer& a) { return a.Transform() == sig::ttCplxCepstrum; }},
      {"RemoveDCBox", [](TTimeAnaForm& f) { ui::ClickButton(&Control<QCheckBox>(f, "RemoveDCBox")); },
       [](const TSignalAnalyzer& a) { return !a.RemoveDC(); }},
      {"ScaleEdit", [](TTimeAnaForm& f) { Type(Control<TMtxFloatEdit>(f, "ScaleEdit"), "0.125"); },
       [](const TSignalAnalyzer& a) { return a.ScaleFactor() == 0.125; }},
      {"RotationEdit", [](TTimeAnaForm& f) { Type(Control<TMtxFloatEdit>(f, "RotationEdit"), "-12"); },
       [](const TSignalAnalyzer& a) { return a.Rotation() == -12; }},
      {"WindowBox", [](TTimeAnaForm& f) { Choose(Control<QComboBox>(f, "WindowBox"), 1); },
       [](const TSignalAnalyzer& a) { return a.Window() == dsp::wtHanning; }},
      {"SidelobeAttEdit", [](TTimeAnaForm& f) { Type(Control<TMtxFloatEdit>(f, "SidelobeAttEdit"), "91.4"); },
       [](const TSignalAnalyzer& a) { return a.SidelobeAtt() == 91.0; }},
      {"Taps1Edit", [](TTimeAnaForm& f) { Type(Control<TMtxFloatEdit>(f, "Taps1Edit"), "64"); },
       [](const TSignalAnalyzer& a) { return a.CorrTaps1() == 64; }},
      {"Taps2Edit", [](TTimeAnaForm& f) { Type(Control<TMtxFloatEdit>(f, "Taps2Edit"), "9"); },
       [](const TSignalAnalyzer& a) { return a.CorrTaps2() == 9; }},
      {"AutocorrBox", [](TTimeAnaForm& f) { Choose(Control<QComboBox>(f, "AutocorrBox"), 2); },
       [](const TSignalAnalyzer& a) { return a.AutoCorrType() == sig::ctUnbiased; }},
  };
  TTimeAnaForm& form = Open();
  for (const TRow& row : rows) {
    const int before = FParameterUpdates;
    row.Change(form);
    EXPECT_TRUE(row.Written(FAnalyzer)) << row.Name;
    // Live: the analyser recomputed (a typed number once per keystroke that reads).
    EXPECT_GT(FParameterUpdates, before) << row.Name;
  }
}

TEST_F(TimeAna, LeftFieldsShowWhatTheAnalyserKeeps) {
  TTimeAnaForm& form = Open();
  struct TRow {
    const char* Name;
    const char* Typed;
    const char* Shown;
  };
  for (const TRow& row : {TRow{"Taps1Edit", "1", "2"}, TRow{"SidelobeAttEdit", "5", "13"},
                          TRow{"SidelobeAttEdit", "400", "300"}, TRow{"Taps2Edit", "-4", "0"}}) {
    auto& edit = Control<TMtxFloatEdit>(form, row.Name);
    Type(edit, row.Typed);
    edit.CommitText();
    EXPECT_EQ(edit.Value(), row.Shown) << row.Name;
  }
  EXPECT_EQ(FAnalyzer.CorrTaps1(), 2);
  EXPECT_EQ(FAnalyzer.SidelobeAtt(), 300.0);
  EXPECT_EQ(FAnalyzer.CorrTaps2(), 0);
}

TEST_F(TimeAna, ReportBoxesAndFormatsWriteTheReportWithoutRecomputing) {
  TTimeAnaForm& form = Open();
  testsupport::ExpectBoxesSwitchItems<sig::TSignalReportItems>(
      form,
      {{"IncludeInfoBox", sig::srsGeneralInfo},
       {"IncludePeaksBox", sig::srsMarkedValues},
       {"IncludeValuesBox", sig::srsSignalValues},
       {"DateTimeBox", sig::srsDateTime},
       {"IncludeMeanBox", sig::srsMean},
       {"IncludeStdDevBox", sig::srsStdDev},
       {"IncludeRMSBox", sig::srsRMS},
       {"IncludePeakBox", sig::srsPeak},
       {"IncludeCRESTBox", sig::srsCrest},
       {"IncludeSkewnessBox", sig::srsSkewness},
       {"IncludeKurtosisBox", sig::srsKurtosis},
       {"IncludeMaxMinBox", sig::srsMinMax}},
      [this] { return unsigned{FAnalyzer.Report().ReportItems()}; });
  Type(Control<QLineEdit>(form, "TimeFormatEdit"), "0.0###");
  Type(Control<QLineEdit>(form, "AmpltFormatEdit"), "0.00E+00");
  EXPECT_EQ(FAnalyzer.Report().TimeFormat(), "0.0###");
  EXPECT_EQ(FAnalyzer.Report().AmplitudeFormat(), "0.00E+00");
  EXPECT_EQ(FParameterUpdates, 0);
}

TEST_F(TimeAna, CancelRestoresEveryParameterAndRecomputesOnce) {
  const std::string before = classlib::ComponentToText(FAnalyzer);
  TTimeAnaForm& form = Open();
  Choose(Control<QComboBox>(form, "IntDiffBox"), 0);
  Choose(Control<QComboBox>(form, "TransformBox"), 4);
  ui::ClickButton(&Control<QCheckBox>(form, "RemoveDCBox"));
  Type(Control<TMtxFloatEdit>(form, "ScaleEdit"), "9");
  Type(Control<TMtxFloatEdit>(form, "RotationEdit"), "3");
  Choose(Control<QComboBox>(form, "WindowBox"), 10);
  Type(Control<TMtxFloatEdit>(form, "SidelobeAttEdit"), "120");
  Type(Control<TMtxFloatEdit>(form, "Taps1Edit"), "20");
  Type(Control<TMtxFloatEdit>(form, "Taps2Edit"), "2");
  Choose(Control<QComboBox>(form, "AutocorrBox"), 0);
  ui::ClickButton(&Control<QCheckBox>(form, "IncludeValuesBox"));
  Type(Control<QLineEdit>(form, "TimeFormatEdit"), "0");
  ASSERT_NE(classlib::ComponentToText(FAnalyzer), before);
  const int updates = FParameterUpdates;
  Control<QToolButton>(form, "CancelButton").click();
  FreeClosedForms();
  EXPECT_EQ(classlib::ComponentToText(FAnalyzer), before);
  EXPECT_EQ(FAnalyzer.CorrTaps2(), 3);
  EXPECT_FALSE(FAnalyzer.EditorOpen());
  EXPECT_FALSE(static_cast<bool>(FAnalyzer.OnDisplayUpdate()));
  EXPECT_EQ(FParameterUpdates, updates + 1);
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
}

TEST_F(TimeAna, OkKeepsTheChangesAndWithoutLiveOnlyUpdateRecomputes) {
  FDialog->SetShowLive(false);
  TTimeAnaForm& form = Open();
  auto& update = Control<QToolButton>(form, "ToolButton1");
  EXPECT_TRUE(update.isVisible());
  Choose(Control<QComboBox>(form, "WindowBox"), 2);
  EXPECT_EQ(FAnalyzer.Window(), dsp::wtHamming);
  EXPECT_EQ(FParameterUpdates, 0);
  update.click();
  EXPECT_EQ(FParameterUpdates, 1);
  Control<QToolButton>(form, "OKButton").click();
  FreeClosedForms();
  EXPECT_EQ(FAnalyzer.Window(), dsp::wtHamming);
  EXPECT_EQ(FParameterUpdates, 2);
}

TEST_F(TimeAna, StatisticsCaptionsShowTheCheckedValues) {
  TTimeAnaForm& form = Open();
  const char* const names[] = {"RMSBox",      "PeakBox",     "CRESTBox", "StdDevBox", "MeanBox",
                               "KurtosisBox", "SkewnessBox", "Minbox",   "MaxBox"};
  // A constant signal: no deviation, so CREST is 0 (not a division by zero).
  FAnalyzer.Data().SetIt(false, std::vector<double>(8, 1.5));
  FAnalyzer.SetSamplingFrequency(100);
  form.UpdateStatistics();
  for (const char* name : names) {
    const QString bare = Control<QCheckBox>(form, name).text();
    EXPECT_FALSE(bare.contains('=')) << name;
  }
  ui::ClickButton(&Control<QCheckBox>(form, "CRESTBox"));
  ui::ClickButton(&Control<QCheckBox>(form, "MeanBox"));
  EXPECT_EQ(Control<QCheckBox>(form, "CRESTBox").text(), "CREST = 0");
  EXPECT_EQ(Control<QCheckBox>(form, "MeanBox").text(), "Mean = 1.5");
  EXPECT_EQ(Control<QCheckBox>(form, "StdDevBox").text(), "StdDev");
  // [0, 2, 0, 2]: mean 1, deviation 2 / sqrt 3 (n - 1), extremes 0 and 2, peak 1, RMS sqrt 2;
  // the kurtosis in units of the deviation about the mean of all four, 1.
  FAnalyzer.Data().SetIt(false, std::vector<double>{0, 2, 0, 2});
  for (const char* name : names)
    if (!Control<QCheckBox>(form, name).isChecked()) ui::ClickButton(&Control<QCheckBox>(form, name));
  EXPECT_EQ(Control<QCheckBox>(form, "MeanBox").text(), "Mean = 1");
  EXPECT_EQ(Control<QCheckBox>(form, "StdDevBox").text(), "StdDev = 1.154701");
  EXPECT_EQ(Control<QCheckBox>(form, "Minbox").text(), "Min = 0");
  EXPECT_EQ(Control<QCheckBox>(form, "MaxBox").text(), "Max = 2");
  EXPECT_EQ(Control<QCheckBox>(form, "PeakBox").text(), "Peak = 1");
  EXPECT_EQ(Control<QCheckBox>(form, "CRESTBox").text(), "CREST = 0.8660254");
  EXPECT_EQ(Control<QCheckBox>(form, "RMSBox").text(), "RMS = 1.414214");
  EXPECT_EQ(Control<QCheckBox>(form, "SkewnessBox").text(), "Skewness = 0");
  EXPECT_EQ(Control<QCheckBox>(form, "KurtosisBox").text(), "Kurtosis = 1");
  EXPECT_EQ(Control<QLabel>(form, "FSLabel").text(), "Sampling frequency: 100 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "BandwidthLabel").text(), "Bandwidth: 50 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "SamplesAnaLabel").text(), "Samples analyzed: 4");
  EXPECT_EQ(Control<QLabel>(form, "SignalLenLabel").text(), "Signal length: 0.04 [s]");
  // Unchecking goes back to the bare name.
  ui::ClickButton(&Control<QCheckBox>(form, "MaxBox"));
  EXPECT_EQ(Control<QCheckBox>(form, "MaxBox").text(), "Max");
}

TEST_F(TimeAna, EveryUpdateOfTheAnalyserRefreshesTheStatistics) {
  FAnalyzer.SetTransform(sig::ttWindow);
  FAnalyzer.SetWindow(dsp::wtRectangular);
  FAnalyzer.SetIntegration(sig::inNone);
  FAnalyzer.SetRemoveDC(false);
  FAnalyzer.SetRotation(0);
  FAnalyzer.SetScaleFactor(1.0);
  FX.Data().SetIt(false, std::vector<double>{3, 3, 3, 3, 3});
  FX.SetSamplingFrequency(10);
  TTimeAnaForm& form = Open();
  ui::ClickButton(&Control<QCheckBox>(form, "MeanBox"));
  FAnalyzer.Update();
  EXPECT_EQ(Control<QCheckBox>(form, "MeanBox").text(), "Mean = 3");
  EXPECT_EQ(Control<QLabel>(form, "SamplesAnaLabel").text(), "Samples analyzed: 5");
  FX.Data().SetIt(false, std::vector<double>{1, 1, 1, 1, 1});
  FAnalyzer.Update();
  EXPECT_EQ(Control<QCheckBox>(form, "MeanBox").text(), "Mean = 1");
  // Complex output has no such statistics: the names stand alone, and nothing is raised.
  FX.Data().SetIt(true, std::vector<double>{1, 2, 3, 4});
  FAnalyzer.Update();
  EXPECT_EQ(Control<QCheckBox>(form, "MeanBox").text(), "Mean");
}

TEST_F(TimeAna, ReportGoesToTheClipboard) {
  FAnalyzer.Data().SetIt(false, std::vector<double>{0, 2, 0, 2});
  FAnalyzer.SetSamplingFrequency(4);
  TTimeAnaForm& form = Open();
  ui::ClickButton(&Control<QCheckBox>(form, "IncludeInfoBox"));
  QApplication::clipboard()->clear();
  Control<QPushButton>(form, "ReportButton").click();
  classlib::TStringList lines;
  FAnalyzer.Report().BuildReport(lines);
  const QString expected = testsupport::ReportText(lines);
  const QString text = QApplication::clipboard()->text();
  EXPECT_EQ(text, expected);
  EXPECT_TRUE(text.contains("Sampling frequency: 4 [Hz]")) << text.toStdString();
  EXPECT_TRUE(text.contains("Mean: 1")) << text.toStdString();
  EXPECT_TRUE(text.contains("CREST: 0.866025403784439")) << text.toStdString();
}

TEST_F(TimeAna, LoadedSettingsFillTheWindow) {
  TTimeAnaForm& form = Open();
  const std::string file = FDir.File("time.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Save1").trigger();
  Choose(Control<QComboBox>(form, "WindowBox"), 3);
  Type(Control<TMtxFloatEdit>(form, "ScaleEdit"), "4");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FAnalyzer.Window(), dsp::wtKaiser);
  EXPECT_EQ(FAnalyzer.ScaleFactor(), 2.5);
  EXPECT_EQ(Control<QComboBox>(form, "WindowBox").currentText(), "Kaiser");
  EXPECT_EQ(Control<TMtxFloatEdit>(form, "ScaleEdit").Position(), 2.5);
  // A cancelled file dialog changes nothing.
  FDialogs.FileChoices.push_back(std::nullopt);
  Choose(Control<QComboBox>(form, "WindowBox"), 1);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FAnalyzer.Window(), dsp::wtHanning);
}

TEST_F(TimeAna, PictureShowsThePagesAndTheFilledControls) {
  TTimeAnaForm& form = Open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QImage shot = ui::Screenshot(form, "time_analysis_form");
  // The captions of the filled lists, of the tab bar and of the tool bar are drawn.
  for (const char* name : {"IntDiffBox", "TransformBox", "WindowBox", "AutocorrBox", "OKButton", "CancelButton"})
    EXPECT_GT(DarkPixels(shot, AreaOf(Control<QWidget>(form, name), form)), 20) << name;
  auto& pages = Control<QTabWidget>(form, "PageControl1");
  const QRect tabs(pages.mapTo(&form, QPoint(0, 0)), QSize(pages.width(), 24));
  EXPECT_GT(DarkPixels(shot, tabs), 40);
  // The checked box draws its mark; the window has more than its background.
  const QRect check = AreaOf(Control<QCheckBox>(form, "RemoveDCBox"), form);
  EXPECT_GT(DarkPixels(shot, QRect(check.topLeft(), QSize(20, check.height()))), 5);
  // The Info page draws its statistics boxes once shown.
  pages.setCurrentIndex(1);
  const QImage info = ui::Screenshot(form, "time_analysis_form_info");
  for (const char* name : {"KurtosisBox", "RMSBox", "Minbox"})
    EXPECT_GT(DarkPixels(info, AreaOf(Control<QCheckBox>(form, name), form)), 20) << name;
  EXPECT_FALSE(Control<QComboBox>(form, "IntDiffBox").isVisible());
}

}  // namespace
}  // namespace analysis_ui
