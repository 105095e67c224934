// The bispectrum analysis window: opened through a component dialog by the analyser's name
// (another letter case), filled from its analyser with only its own pages and controls, each
// control writing its property (and recomputing while live), "Frequency lines..." editing the
// lines in the vector editor, Cancel restoring everything, the Info page with and without an
// input, the report's items, and its picture.
// Covers: analysis_ui/BiSpectrumAna.cpp, analysis_ui/SpectrumAnaPages.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "analysis_ui/BiSpectrumAna.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/NumoraEdit.h"
#include "analysis_ui/StringGrid.h"
#include "analysis_ui/tests/AnalysisFormTestSupport.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace analysis_ui {
namespace {

using sig::TBiSpectrumAnalyzer;
using testsupport::AreaOf;
using testsupport::DarkPixels;
using ui::Control;

class BiSpectrumAna : public testsupport::TAnalysisFormTest<TBiSpectrumAnalyzer, TBiSpectrumAnaForm> {
 protected:
  void SetUp() override {
    TAnalysisFormTest::SetUp();
    // Three tones at 1 kHz, 256 samples: 128 lines 3.90625 Hz apart.
    std::vector<double> x(256);
    for (std::size_t i = 0; i < x.size(); ++i)
      x[i] = std::cos(2 * M_PI * 20 * i / 256.0) + std::cos(2 * M_PI * 35 * i / 256.0 + 1) +
             std::cos(2 * M_PI * 55 * i / 256.0 + 1);
    FX.Data().SetIt(false, x);
    FX.SetSamplingFrequency(1000);
    TBiSpectrumAnalyzer& a = FAnalyzer;
    a.SetInput(&FX);
    a.Update();
    a.SetZeroPadding(2);
    a.SetWindow(dsp::wtChebyshev);
    a.SetSidelobeAtt(70);
    a.SetConjFlip(false);
    a.Stats().SetAveraging(sig::avLinear);
    a.Stats().SetAverages(8);
    a.Stats().SetExpDecay(3);
    a.BiAnalyzer().SetFrequency(20 * 1000 / 256.0);
    a.BiAnalyzer().Lines().SetIt(false, std::vector<double>{78.125, 136.71875});
    a.Peaks().SetTraceMethod(sig::ptAmpltHarmonics);
    a.SetHarmonics(3);
    a.Peaks().SetOrderTracing(sig::otLargest);
    a.Report().SetReportItems((1u << sig::sriGeneralInfo) | (1u << sig::sriDateTime));
    a.Report().SetFrequencyFormat("0.0");
    FParameterUpdates = 0;
  }

  static QComboBox& List(QWidget& f, const char* name) { return Control<QComboBox>(f, name); }
  static TMtxFloatEdit& Edit(QWidget& f, const char* name) { return Control<TMtxFloatEdit>(f, name); }
  static QCheckBox& Check(QWidget& f, const char* name) { return Control<QCheckBox>(f, name); }

  sig::TSignal FX;
};

TEST_F(BiSpectrumAna, OpensByTheAnalysersNameWithItsOwnPagesFilled) {
  EXPECT_EQ(FAnalyzer.EditorClassName(), "TBispectrumAnaForm");
  TBiSpectrumAnaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Higher order spectral analysis");
  EXPECT_TRUE(FAnalyzer.EditorOpen());
  auto& pages = Control<QTabWidget>(form, "PageControl1");
  QStringList tabs;
  for (int i = 0; i < pages.count(); ++i) tabs << pages.tabText(i);
  EXPECT_EQ(tabs, QStringList({"Basic", "Peaks", "Bands", "Order", "Info", "Report"}));
  // What the spectrum analyser's window has and this one does not.
  for (const char* name : {"MethodBox", "SpectrumTypeBox", "IntegrationBox", "ScaleFactorEdit", "RotationEdit",
                           "LogarithmicBox", "CZTStartEdit", "StdDevBox", "InterpolationBox", "CZTRStartEdit",
                           "PhaseModeBox", "THDBox", "MessageLabel", "IncludeTHDBox"})
    EXPECT_EQ(form.findChild<QWidget*>(name), nullptr) << name;
  EXPECT_EQ(List(form, "ZeroPaddingBox").currentText(), "2");
  EXPECT_EQ(List(form, "WindowBox").currentText(), "Chebyshev");
  EXPECT_EQ(Edit(form, "SidelobeAttBox").Position(), 70);
  EXPECT_TRUE(Edit(form, "SidelobeAttBox").isEnabled());
  EXPECT_FALSE(Check(form, "FlipBox").isChecked());
  EXPECT_EQ(List(form, "AveragingTypeBox").currentText(), "Linear finite");
  EXPECT_EQ(Edit(form, "AveragesEdit").Value(), "8");
  EXPECT_TRUE(Edit(form, "AveragesEdit").isEnabled());
  EXPECT_FALSE(Edit(form, "ExpDecayBox").isEnabled());
  EXPECT_EQ(Edit(form, "FrequencyEdit").Position(), 20 * 1000 / 256.0);
  EXPECT_FALSE(Check(form, "SingleLinesBox").isChecked());
  EXPECT_EQ(List(form, "PeakTraceBox").currentText(), "Amplt harmonics");
  EXPECT_TRUE(Edit(form, "HarmonicsEdit").isEnabled());
  EXPECT_FALSE(Edit(form, "LargestEdit").isEnabled());
  EXPECT_EQ(List(form, "OrderTracingEdit").currentText(), "Largest peak");
  EXPECT_TRUE(Check(form, "IncludeInfoBox").isChecked());
  EXPECT_TRUE(Check(form, "DateTimeBox").isChecked());
  EXPECT_FALSE(Check(form, "IncludeBandsBox").isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "FreqFormatEdit").text(), "0.0");
  EXPECT_EQ(Control<QLabel>(form, "AveragesMadeLabel").text(), "Averages made: 0");
  EXPECT_EQ(FParameterUpdates, 0);
}

TEST_F(BiSpectrumAna, EveryControlWritesItsProperty) {
  using A = const TBiSpectrumAnalyzer&;
  const std::vector<TControlRow> rows = {
      {"ZeroPaddingBox", ChooseItem("ZeroPaddingBox", 6), [](A a) { return a.ZeroPadding() == 64; }},
      {"SidelobeAttBox", TypeText("SidelobeAttBox", "110"), [](A a) { return a.SidelobeAtt() == 110; }},
      {"WindowBox", ChooseItem("WindowBox", 5), [](A a) { return a.Window() == dsp::wtBlackman; }},
      {"RemoveDCBox", ClickBox("RemoveDCBox"), [](A a) { return !a.DCDump(); }},
      {"ConjugateExtendBox", ClickBox("ConjugateExtendBox"), [](A a) { return a.ConjExtend(); }},
      {"FlipBox", ClickBox("FlipBox"), [](A a) { return a.ConjFlip(); }},
      {"AveragesEdit", TypeText("AveragesEdit", "16"), [](A a) { return a.Stats().Averages() == 16u; }},
      {"AveragingTypeBox", ChooseItem("AveragingTypeBox", 1),
       [](A a) { return a.Stats().Averaging() == sig::avExponentInf; }},
      {"ExpDecayBox", TypeText("ExpDecayBox", "4"), [](A a) { return a.Stats().ExpDecay() == 4; }},
      {"FrequencyEdit", TypeText("FrequencyEdit", "125"), [](A a) { return a.BiAnalyzer().Frequency() == 125; }},
      {"SingleLinesBox", ClickBox("SingleLinesBox"), [](A a) { return a.BiAnalyzer().SingleLinesOnly(); }},
      {"HarmonicsEdit", TypeText("HarmonicsEdit", "5"), [](A a) { return a.Harmonics() == 5; }},
      {"PeakTraceBox", ChooseItem("PeakTraceBox", 2), [](A a) { return a.Peaks().TraceMethod() == sig::ptLargest; }},
      {"LargestEdit", TypeText("LargestEdit", "4"), [](A a) { return a.Peaks().LargestCount() == 4; }},
      {"FullBWBox", ClickBox("FullBWBox"), [](A a) { return !a.Peaks().UseFullBandwidth(); }},
      {"BandwidthLEdit", TypeText("BandwidthLEdit", "10"), [](A a) { return a.Peaks().BandwidthL() == 10; }},
      {"BandwidthHEdit", TypeText("BandwidthHEdit", "300"), [](A a) { return a.Peaks().BandwidthH() == 300; }},
      {"OrderEdit", TypeText("OrderEdit", "40"), [](A a) { return a.Peaks().OrderFrequency() == 40; }},
      {"OrderTracingEdit", ChooseItem("OrderTracingEdit", 1),
       [](A a) { return a.Peaks().OrderTracing() == sig::otNthPeak; }},
      {"OrderPeakNumber", TypeText("OrderPeakNumber", "2"), [](A a) { return a.Peaks().OrderPeakNumber() == 2; }},
      {"OrderActiveBox", ClickBox("OrderActiveBox"), [](A a) { return a.Peaks().OrderActive(); }},
  };
  ExpectEachControlWrites(Open(), rows);
}

TEST_F(BiSpectrumAna, ALeftFrequencyShowsTheOneTheAnalyserKept) {
  TBiSpectrumAnaForm& form = Open();
  auto& frequency = Edit(form, "FrequencyEdit");
  // The last line of 128 lines 3.90625 Hz apart is at 64 lines: 250 Hz.
  Type(frequency, "900");
  EXPECT_EQ(FAnalyzer.BiAnalyzer().Frequency(), 250);
  frequency.CommitText();
  emit frequency.editingFinished();
  EXPECT_EQ(frequency.Position(), 250);
  Type(frequency, "-5");
  frequency.CommitText();
  emit frequency.editingFinished();
  EXPECT_EQ(FAnalyzer.BiAnalyzer().Frequency(), 0);
  EXPECT_EQ(frequency.Position(), 0);
}

TEST_F(BiSpectrumAna, FrequencyLinesAreEditedInTheVectorEditor) {
  TBiSpectrumAnaForm& form = Open();
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    auto& editor = dynamic_cast<TNumoraEditForm&>(dialog);
    editor.show();
    EXPECT_EQ(editor.windowTitle(), "Define spectral lines");
    EXPECT_TRUE(editor.Modal());
    // The lines are the column of values, one per row under the header.
    TStringGrid& grid = editor.Grid();
    EXPECT_EQ(grid.RowCount(), 3);
    grid.setCurrentCell(1, 1);
    grid.editItem(grid.item(1, 1));
    auto* cell = grid.viewport()->findChild<QLineEdit*>();
    EXPECT_NE(cell, nullptr);
    if (cell != nullptr) {
      cell->selectAll();
      QTest::keyClicks(cell, "97.65625");
      QTest::keyClick(cell, Qt::Key_Return);
      QCoreApplication::processEvents();
    }
    editor.close();
    return static_cast<int>(QDialog::Rejected);
  });
  const int before = FParameterUpdates;
  Control<QToolButton>(form, "SpeedButton1").click();
  const numeric::TVec& lines = FAnalyzer.BiAnalyzer().Lines();
  ASSERT_EQ(lines.Length(), 2);
  EXPECT_EQ(lines.Values()[0], 97.65625);
  EXPECT_EQ(lines.Values()[1], 136.71875);
  // The new lines take effect at once.
  EXPECT_GT(FParameterUpdates, before);
}

TEST_F(BiSpectrumAna, CancelRestoresEveryParameterAndRecomputesOnce) {
  const std::string before = classlib::ComponentToText(FAnalyzer);
  TBiSpectrumAnaForm& form = Open();
  Choose(List(form, "ZeroPaddingBox"), 0);
  Choose(List(form, "WindowBox"), 1);
  Choose(List(form, "AveragingTypeBox"), 0);
  Type(Edit(form, "FrequencyEdit"), "100");
  ui::ClickButton(&Check(form, "SingleLinesBox"));
  Choose(List(form, "PeakTraceBox"), 0);
  Choose(List(form, "OrderTracingEdit"), 0);
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(5);
  ui::ClickButton(&Check(form, "IncludeBandsBox"));
  ASSERT_NE(classlib::ComponentToText(FAnalyzer), before);
  const int updates = FParameterUpdates;
  Control<QToolButton>(form, "CancelButton").click();
  FreeClosedForms();
  EXPECT_EQ(classlib::ComponentToText(FAnalyzer), before);
  EXPECT_EQ(FAnalyzer.BiAnalyzer().Frequency(), 20 * 1000 / 256.0);
  EXPECT_FALSE(FAnalyzer.BiAnalyzer().SingleLinesOnly());
  EXPECT_FALSE(FAnalyzer.EditorOpen());
  EXPECT_FALSE(static_cast<bool>(FAnalyzer.OnDisplayUpdate()));
  EXPECT_EQ(FParameterUpdates, updates + 1);
}

TEST_F(BiSpectrumAna, InfoPageKeepsTheInputTextsWithoutAnInput) {
  TBiSpectrumAnaForm& form = Open();
  FAnalyzer.Update();
  EXPECT_EQ(Control<QLabel>(form, "FSLabel").text(), "Sampling frequency: 1000 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "NyquistLabel").text(), "Bandwidth: 500 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "SamplesAnaLabel").text(), "Samples analyzed: 256");
  EXPECT_EQ(Control<QLabel>(form, "SignalLenLabel").text(), "Signal length: 0.256 [s]");
  EXPECT_EQ(Control<QLabel>(form, "FreqResLabel").text(), "Frequency resolution: 3.90625 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "FreqBinsLabel").text(), "Frequency bins: " + QString::number(FAnalyzer.Length()));
  EXPECT_EQ(Control<QLabel>(form, "AveragesMade").text(), "Averages made: 1");
  // Without an input the input's texts stay; the others follow the analyser.
  FAnalyzer.SetInput(nullptr);
  FAnalyzer.SetSamplingFrequency(2000);
  form.BuildReport();
  EXPECT_EQ(Control<QLabel>(form, "FSLabel").text(), "Sampling frequency: 2000 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "NyquistLabel").text(), "Bandwidth: 1000 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "SamplesAnaLabel").text(), "Samples analyzed: 256");
  EXPECT_EQ(Control<QLabel>(form, "SignalLenLabel").text(), "Signal length: 0.256 [s]");
  EXPECT_EQ(Control<QLabel>(form, "FreqResLabel").text(), "Frequency resolution: 3.90625 [Hz]");
}

TEST_F(BiSpectrumAna, ReportBoxesWriteTheirItems) {
  TBiSpectrumAnaForm& form = Open();
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(5);
  testsupport::ExpectBoxesSwitchItems<sig::TSpectrumReportItems>(
      form,
      {{"IncludePeaksBox", sig::sriMarkedPeaks},
       {"IncludeLinesBox", sig::sriFrequencyLines},
       {"IncludePhaseBox", sig::sriPhase},
       {"IncludeInfoBox", sig::sriGeneralInfo},
       {"IncludeBandsBox", sig::sriBandsRMS},
       {"DateTimeBox", sig::sriDateTime}},
      [this] { return unsigned{FAnalyzer.Report().ReportItems()}; });
  EXPECT_EQ(FParameterUpdates, 0);
}

TEST_F(BiSpectrumAna, PictureShowsTheThreeGroupsOfTheBasicPage) {
  TBiSpectrumAnaForm& form = Open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QImage shot = ui::Screenshot(form, "bispectrum_form");
  for (const char* name : {"ZeroPaddingBox", "WindowBox", "AveragingTypeBox", "FrequencyEdit", "SingleLinesBox",
                           "SpeedButton1", "OKButton"})
    EXPECT_GT(DarkPixels(shot, AreaOf(Control<QWidget>(form, name), form)), 20) << name;
  for (const char* name : {"SpectrumGroup", "AveragingGroup", "HigherOrderGroup"}) {
    const QRect group = AreaOf(Control<QWidget>(form, name), form);
    EXPECT_GT(DarkPixels(shot, QRect(group.topLeft(), QSize(group.width(), 22))), 20) << name;
  }
  // The decay factor is disabled for linear averaging: drawn faint, no dark text.
  EXPECT_EQ(DarkPixels(shot, AreaOf(Control<QWidget>(form, "ExpDecayLabel"), form)), 0);
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(4);
  const QImage info = ui::Screenshot(form, "bispectrum_form_info");
  EXPECT_GT(DarkPixels(info, AreaOf(Control<QWidget>(form, "FSLabel"), form)), 20);
}

}  // namespace
}  // namespace analysis_ui
