// The cross-spectrum analysis window: opened through a component dialog and filled from its
// analyser, each control writing its property (and recomputing while live), the lists that
// offer only some values, the enabled states that follow a choice at once, the band list,
// Cancel restoring everything, the Info and Report pages, the settings files, and its picture.
// Covers: analysis_ui/CrossSpectrumAna.cpp, analysis_ui/SpectrumAnaPages.cpp.
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
#include <QTreeWidgetItem>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "analysis_ui/CrossSpectrumAna.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/tests/AnalysisFormTestSupport.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace analysis_ui {
namespace {

using sig::TCrossSpectrumAnalyzer;
using testsupport::AreaOf;
using testsupport::DarkPixels;
using ui::Control;

class CrossSpectrumAna : public testsupport::TAnalysisFormTest<TCrossSpectrumAnalyzer, TCrossSpectrumAnaForm> {
 protected:
  void SetUp() override {
    TAnalysisFormTest::SetUp();
    TCrossSpectrumAnalyzer& a = FAnalyzer;
    a.SetInput(&FX);
    a.SetOutput(&FY);
    a.SetMethod(sig::smFFT);
    a.CrossAnalyzer().SetTransform(sig::ctCoherence);
    a.SetSpectrumType(dsp::spRMS);
    a.SetWindow(dsp::wtKaiser);
    a.SetSidelobeAtt(80);
    a.SetZeroPadding(4);
    a.SetIntegration(sig::inOnce);
    a.SetScaleFactor(2);
    a.SetDCDump(false);
    a.SetLogSpan(sig::ls90);
    a.SetLogType(sig::ltRelative);
    a.SetConjFlip(false);
    a.CZT().SetStartFrequency(0.1);
    a.CZT().SetStopFrequency(0.3);
    a.CZT().SetFrequencyStep(0.01);
    a.Stats().SetAveraging(sig::avLinear);
    a.Stats().SetAverages(12);
    a.Stats().SetExpDecay(5);
    a.Peaks().SetLargestCount(3);
    a.SetHarmonics(4);
    a.Peaks().SetTraceMethod(sig::ptLargest);
    a.Peaks().Interpolation().SetMethod(sig::imNumeric);
    a.Peaks().Interpolation().SetPrecision(sig::ip6);
    a.Peaks().SetUseFullBandwidth(false);
    a.Peaks().SetBandwidthL(5);
    a.Peaks().SetBandwidthH(200);
    a.Peaks().SetTraceInterval(10);
    a.Peaks().SetOrderFrequency(50);
    a.Peaks().SetOrderTracing(sig::otNthPeak);
    a.Peaks().SetOrderPeakNumber(2);
    a.SetPhaseMode(sig::pm360);
    a.SetPhaseUnits(sig::puDeg);
    a.Report().SetReportItems((1u << sig::sriMarkedPeaks) | (1u << sig::sriBandsRMS));
    a.Report().SetFrequencyFormat("0.0");
    a.Report().SetAmplitudeFormat("0.000");
    a.Report().SetPhaseFormat("0.00");
    a.Bands().AddEmptyTemplate("Low");
    a.Bands().Template().AddBand({true, 1, 2, 3, 4, 0, 0, false, 0});
    a.Bands().Template().AddBand({false, 10, 20, 30, 40, 0, 0, true, 0});
    a.Bands().AddEmptyTemplate("High");
    a.Bands().Template().AddBand({true, 100, 110, 120, 130, 0, 0, false, 0});
    a.Bands().SetTemplateIndex(0);
  }

  // Noise in, the noise through [0.5, 0.5] plus a little noise out: 256 samples at 1 kHz.
  void FillSignals() {
    std::mt19937_64 random(7);
    std::normal_distribution<double> noise;
    std::vector<double> x(256), y(256);
    for (double& v : x) v = noise(random);
    for (std::size_t i = 0; i < x.size(); ++i) y[i] = 0.5 * x[i] + (i > 0 ? 0.5 * x[i - 1] : 0.0) + 0.1 * noise(random);
    FX.Data().SetIt(false, x);
    FY.Data().SetIt(false, y);
    FX.SetSamplingFrequency(1000);
    FY.SetSamplingFrequency(1000);
  }

  static QComboBox& List(QWidget& f, const char* name) { return Control<QComboBox>(f, name); }
  static TMtxFloatEdit& Edit(QWidget& f, const char* name) { return Control<TMtxFloatEdit>(f, name); }
  static QCheckBox& Check(QWidget& f, const char* name) { return Control<QCheckBox>(f, name); }
  // The user leaves the field (tabs or clicks elsewhere).
  static void Leave(QWidget& field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&field, &out);
  }

  sig::TSignal FX, FY;
};

TEST_F(CrossSpectrumAna, OpensThroughTheDialogFilledFromItsAnalyser) {
  TCrossSpectrumAnaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Cross-spectral analysis");
  EXPECT_TRUE(FAnalyzer.EditorOpen());
  EXPECT_EQ(Control<QTabWidget>(form, "PageControl1").currentIndex(), 0);
  QStringList tabs;
  for (int i = 0; i < Control<QTabWidget>(form, "PageControl1").count(); ++i)
    tabs << Control<QTabWidget>(form, "PageControl1").tabText(i);
  EXPECT_EQ(tabs, QStringList({"Basic", "Averaging", "Peaks", "Bands", "Order", "Phase", "Info", "Report"}));
  struct TList {
    const char* Name;
    const char* Shown;
  };
  for (const TList& l :
       {TList{"MethodBox", "FFT"}, TList{"SpectrumBox", "Coherence"}, TList{"SpectrumTypeBox", "RMS"},
        TList{"WindowBox", "Kaiser"}, TList{"ZeroPaddingBox", "4"}, TList{"IntegrationBox", "Integrate once"},
        TList{"LogSpanBox", "90"}, TList{"LogScaleBox", "Relative"}, TList{"AveragingTypeBox", "Linear finite"},
        TList{"PeakTraceBox", "Largest"}, TList{"InterpolationBox", "Numeric"}, TList{"InterpolationPrecisionBox", "6"},
        TList{"OrderTracingEdit", "N'th peak"}, TList{"PhaseModeBox", "Default"}, TList{"PhaseUnitsBox", "Degrees"},
        TList{"TemplateCombo", "Low"}})
    EXPECT_EQ(List(form, l.Name).currentText(), l.Shown) << l.Name;
  EXPECT_EQ(Edit(form, "SidelobeAttBox").Position(), 80);
  EXPECT_EQ(Edit(form, "ScaleFactorEdit").Position(), 2);
  EXPECT_EQ(Edit(form, "CZTStartEdit").Position(), 0.1);
  EXPECT_EQ(Edit(form, "CZTEndEdit").Position(), 0.3);
  EXPECT_EQ(Edit(form, "AveragesEdit").Value(), "12");
  EXPECT_EQ(Edit(form, "ExpDecayBox").Value(), "5");
  EXPECT_EQ(Edit(form, "LargestEdit").Value(), "3");
  EXPECT_EQ(Edit(form, "HarmonicsEdit").Value(), "4");
  EXPECT_EQ(Edit(form, "BandwidthHEdit").Position(), 200);
  EXPECT_EQ(Edit(form, "OrderEdit").Position(), 50);
  EXPECT_EQ(Edit(form, "OrderPeakNumber").Value(), "2");
  EXPECT_FALSE(Check(form, "FlipBox").isChecked());
  EXPECT_FALSE(Check(form, "FullBWBox").isChecked());
  EXPECT_TRUE(Check(form, "IncludePeaksBox").isChecked());
  EXPECT_TRUE(Check(form, "IncludeBandsBox").isChecked());
  EXPECT_FALSE(Check(form, "IncludeInfoBox").isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "AmpltFormatEdit").text(), "0.000");
  // The current template's bands, the first shown in the edits.
  auto& bands = Control<TMtxGridView>(form, "BandsBox");
  ASSERT_EQ(bands.LineCount(), 2);
  EXPECT_EQ(bands.Line(0)->text(1), "2<->3");
  EXPECT_EQ(bands.Line(1)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(Edit(form, "StartTransEdit").Position(), 1);
  EXPECT_EQ(Edit(form, "EndTransEdit").Position(), 4);
  // Filling wrote nothing back and recomputed nothing.
  EXPECT_EQ(FParameterUpdates, 0);
  EXPECT_EQ(FAnalyzer.Stats().Averages(), 12u);
}

TEST_F(CrossSpectrumAna, EveryControlWritesItsProperty) {
  using A = const TCrossSpectrumAnalyzer&;
  // In an order that enables each control before it is used, as a user goes.
  const std::vector<TControlRow> rows = {
      {"RemoveDCBox", ClickBox("RemoveDCBox"), [](A a) { return a.DCDump(); }},
      {"MethodBox", ChooseItem("MethodBox", 1), [](A a) { return a.Method() == sig::smCZT; }},
      {"SpectrumBox", ChooseItem("SpectrumBox", 4),
       [](A a) { return a.CrossAnalyzer().Transform() == sig::ctTransferFunction; }},
      {"SpectrumTypeBox", ChooseItem("SpectrumTypeBox", 2), [](A a) { return a.SpectrumType() == dsp::spPower; }},
      {"SidelobeAttBox", TypeText("SidelobeAttBox", "95.5"), [](A a) { return a.SidelobeAtt() == 95.5; }},
      {"WindowBox", ChooseItem("WindowBox", 3), [](A a) { return a.Window() == dsp::wtFlatTop; }},
      {"ZeroPaddingBox", ChooseItem("ZeroPaddingBox", 4), [](A a) { return a.ZeroPadding() == 16; }},
      {"IntegrationBox", ChooseItem("IntegrationBox", 4), [](A a) { return a.Integration() == sig::diffTwice; }},
      {"ScaleFactorEdit", TypeText("ScaleFactorEdit", "0.25"), [](A a) { return a.ScaleFactor() == 0.25; }},
      {"LogarithmicBox", ClickBox("LogarithmicBox"), [](A a) { return a.Logarithmic(); }},
      {"LogSpanBox", ChooseItem("LogSpanBox", 7), [](A a) { return a.LogSpan() == sig::ls350; }},
      {"LogScaleBox", ChooseItem("LogScaleBox", 0), [](A a) { return a.LogType() == sig::ltAbsolute; }},
      {"ConjugateExtendBox", ClickBox("ConjugateExtendBox"), [](A a) { return a.ConjExtend(); }},
      {"FlipBox", ClickBox("FlipBox"), [](A a) { return a.ConjFlip(); }},
      {"CZTStepEdit", TypeText("CZTStepEdit", "0.002"), [](A a) { return a.CZT().FrequencyStep() == 0.002; }},
      {"CZTEndEdit", TypeText("CZTEndEdit", "0.4"), [](A a) { return a.CZT().StopFrequency() == 0.4; }},
      {"CZTStartEdit", TypeText("CZTStartEdit", "0.2"), [](A a) { return a.CZT().StartFrequency() == 0.2; }},
      {"AveragesEdit", TypeText("AveragesEdit", "30"), [](A a) { return a.Stats().Averages() == 30u; }},
      {"AveragingTypeBox", ChooseItem("AveragingTypeBox", 1),
       [](A a) { return a.Stats().Averaging() == sig::avExponentInf; }},
      {"ExpDecayBox", TypeText("ExpDecayBox", "9"), [](A a) { return a.Stats().ExpDecay() == 9; }},
      {"LargestEdit", TypeText("LargestEdit", "6"), [](A a) { return a.Peaks().LargestCount() == 6; }},
      {"PeakTraceBox", ChooseItem("PeakTraceBox", 1), [](A a) { return a.Peaks().TraceMethod() == sig::ptCurrent; }},
      {"HarmonicsEdit", TypeText("HarmonicsEdit", "7"), [](A a) { return a.Harmonics() == 7; }},
      {"TraceIntervalEdit", TypeText("TraceIntervalEdit", "25"), [](A a) { return a.Peaks().TraceInterval() == 25; }},
      {"InterpolationPrecisionBox", ChooseItem("InterpolationPrecisionBox", 3),
       [](A a) { return a.Peaks().Interpolation().Precision() == sig::ip8; }},
      {"InterpolationBox", ChooseItem("InterpolationBox", 6),
       [](A a) { return a.Peaks().Interpolation().Method() == sig::imJain; }},
      {"TracedHarmonicsBox", ClickBox("TracedHarmonicsBox"), [](A a) { return a.Peaks().Interpolation().Harmonics(); }},
      {"BandwidthLEdit", TypeText("BandwidthLEdit", "15"), [](A a) { return a.Peaks().BandwidthL() == 15; }},
      {"BandwidthHEdit", TypeText("BandwidthHEdit", "150"), [](A a) { return a.Peaks().BandwidthH() == 150; }},
      {"FullBWBox", ClickBox("FullBWBox"), [](A a) { return a.Peaks().UseFullBandwidth(); }},
      {"OrderEdit", TypeText("OrderEdit", "60"), [](A a) { return a.Peaks().OrderFrequency() == 60; }},
      {"OrderTracingEdit", ChooseItem("OrderTracingEdit", 2),
       [](A a) { return a.Peaks().OrderTracing() == sig::otLargest; }},
      {"OrderPeakNumber", TypeText("OrderPeakNumber", "3"), [](A a) { return a.Peaks().OrderPeakNumber() == 3; }},
      {"OrderActiveBox", ClickBox("OrderActiveBox"), [](A a) { return a.Peaks().OrderActive(); }},
      {"CZTRStartEdit", TypeText("CZTRStartEdit", "0.9"), [](A a) { return a.CZT().StartRadius() == 0.9; }},
      {"CZTRStopEdit", TypeText("CZTRStopEdit", "1.1"), [](A a) { return a.CZT().StopRadius() == 1.1; }},
      {"PhaseUnitsBox", ChooseItem("PhaseUnitsBox", 0), [](A a) { return a.PhaseUnits() == sig::puRad; }},
      {"PhaseRangeBox", ChooseItem("PhaseRangeBox", 1), [](A a) { return a.PhaseRange() == sig::prZeroTwoPi; }},
      {"UnwrapPhaseBox", ClickBox("UnwrapPhaseBox"), [](A a) { return a.UnwrapPhase(); }},
      {"RunningPhaseBox", ChooseItem("RunningPhaseBox", 3), [](A a) { return a.RunningPhase() == dsp::rpPartial; }},
      {"PhaseModeBox", ChooseItem("PhaseModeBox", 3), [](A a) { return a.PhaseMode() == sig::pmGroupDelay; }},
  };
  ExpectEachControlWrites(Open(), rows);
}

TEST_F(CrossSpectrumAna, AChoiceEnablesItsControlsAtOnce) {
  TCrossSpectrumAnaForm& form = Open();
  auto& czt = Edit(form, "CZTStartEdit");
  auto& removeDC = Check(form, "RemoveDCBox");
  EXPECT_FALSE(czt.isEnabled());
  EXPECT_TRUE(removeDC.isEnabled());
  Choose(List(form, "MethodBox"), 1);
  EXPECT_EQ(FAnalyzer.Method(), sig::smCZT);
  EXPECT_TRUE(czt.isEnabled());
  EXPECT_TRUE(Edit(form, "CZTStepEdit").isEnabled());
  EXPECT_TRUE(Control<QLabel>(form, "CZTEndLabel").isEnabled());
  EXPECT_FALSE(removeDC.isEnabled());
  Choose(List(form, "MethodBox"), 0);
  EXPECT_FALSE(czt.isEnabled());
  EXPECT_TRUE(removeDC.isEnabled());

  auto& sidelobe = Edit(form, "SidelobeAttBox");
  EXPECT_TRUE(sidelobe.isEnabled());
  Choose(List(form, "WindowBox"), 1);
  EXPECT_FALSE(sidelobe.isEnabled());
  Choose(List(form, "WindowBox"), 10);
  EXPECT_TRUE(sidelobe.isEnabled());

  // Linear finite counts averages; exponential decays; linear infinite needs neither.
  struct TAveraging {
    int Item;
    bool Averages, Decay;
  };
  for (const TAveraging& t : {TAveraging{0, false, false}, TAveraging{1, false, true}, TAveraging{2, true, false}}) {
    Choose(List(form, "AveragingTypeBox"), t.Item);
    EXPECT_EQ(Edit(form, "AveragesEdit").isEnabled(), t.Averages) << t.Item;
    EXPECT_EQ(Edit(form, "ExpDecayBox").isEnabled(), t.Decay) << t.Item;
  }

  struct TTrace {
    int Item;
    bool Interval, Harmonics, Largest;
  };
  for (const TTrace& t : {TTrace{0, false, false, false}, TTrace{1, true, true, false}, TTrace{2, false, false, true},
                          TTrace{3, false, true, false}, TTrace{4, true, true, false}}) {
    Choose(List(form, "PeakTraceBox"), t.Item);
    EXPECT_EQ(Edit(form, "TraceIntervalEdit").isEnabled(), t.Interval) << t.Item;
    EXPECT_EQ(Edit(form, "HarmonicsEdit").isEnabled(), t.Harmonics) << t.Item;
    EXPECT_EQ(Edit(form, "LargestEdit").isEnabled(), t.Largest) << t.Item;
  }

  EXPECT_FALSE(List(form, "LogSpanBox").isEnabled());
  ui::ClickButton(&Check(form, "LogarithmicBox"));
  EXPECT_TRUE(List(form, "LogSpanBox").isEnabled());
  EXPECT_TRUE(List(form, "PhaseUnitsBox").isEnabled());
  Choose(List(form, "PhaseModeBox"), 0);
  EXPECT_FALSE(List(form, "PhaseUnitsBox").isEnabled());
  EXPECT_FALSE(Check(form, "UnwrapPhaseBox").isEnabled());
}

TEST_F(CrossSpectrumAna, ListsShowOnlyTheValuesTheyOffer) {
  // Averaging linear infinite, exponential infinite and linear finite; a kind the list does not
  // offer leaves it where it stood, as does an order tracing it does not offer.
  FAnalyzer.Stats().SetAveraging(sig::avPeakHold);
  FAnalyzer.Peaks().SetOrderTracing(sig::otFirstPeak);
  FAnalyzer.SetMethod(sig::smBurg);
  TCrossSpectrumAnaForm& form = Open();
  EXPECT_EQ(List(form, "AveragingTypeBox").currentText(), "Linear infinite");
  EXPECT_EQ(List(form, "OrderTracingEdit").currentText(), "None");
  EXPECT_EQ(FAnalyzer.Stats().Averaging(), sig::avPeakHold);
  // The analyser takes only the two transforms the list offers: the list's one stands.
  EXPECT_EQ(FAnalyzer.Method(), sig::smFFT);
  const struct {
    int Item;
    sig::TAveraging Kind;
  } averaging[] = {{2, sig::avLinear}, {1, sig::avExponentInf}, {0, sig::avLinearInf}};
  for (const auto& a : averaging) {
    Choose(List(form, "AveragingTypeBox"), a.Item);
    EXPECT_EQ(FAnalyzer.Stats().Averaging(), a.Kind) << a.Item;
  }
  const struct {
    int Item;
    sig::TOrderTracing Tracing;
  } tracing[] = {{1, sig::otNthPeak}, {2, sig::otLargest}, {0, sig::otNone}};
  for (const auto& t : tracing) {
    Choose(List(form, "OrderTracingEdit"), t.Item);
    EXPECT_EQ(FAnalyzer.Peaks().OrderTracing(), t.Tracing) << t.Item;
  }
  // "All" cannot be chosen: the analyser traces one way at a time.
  auto& trace = List(form, "PeakTraceBox");
  EXPECT_EQ(trace.itemText(5), "All");
  EXPECT_FALSE(trace.model()->flags(trace.model()->index(5, 0)).testFlag(Qt::ItemIsEnabled));
}

TEST_F(CrossSpectrumAna, EditsKeepTheirValuesInRange) {
  TCrossSpectrumAnaForm& form = Open();
  struct TRow {
    int PeakTrace;
    const char* Name;
    const char* Typed;
    const char* Shown;
  };
  // Each edit with the peak trace that enables it.
  for (const TRow& row : {TRow{2, "AveragesEdit", "-3", "1"}, TRow{2, "LargestEdit", "-2", "0"},
                          TRow{2, "SidelobeAttBox", "5", "13.00"}, TRow{1, "TraceIntervalEdit", "250", "100.00"}}) {
    Choose(List(form, "PeakTraceBox"), row.PeakTrace);
    auto& edit = Edit(form, row.Name);
    Type(edit, row.Typed);
    edit.CommitText();
    EXPECT_EQ(edit.Value(), row.Shown) << row.Name;
  }
  // An unsigned count never wraps to a huge one.
  EXPECT_EQ(FAnalyzer.Stats().Averages(), 1u);
  EXPECT_EQ(FAnalyzer.Peaks().LargestCount(), 0);
  // Each CZT end moves the other when it passes it, and the other's edit shows it.
  Choose(List(form, "MethodBox"), 1);
  Type(Edit(form, "CZTStartEdit"), "0.45");
  EXPECT_EQ(FAnalyzer.CZT().StopFrequency(), 0.45);
  EXPECT_EQ(Edit(form, "CZTEndEdit").Position(), 0.45);
}

TEST_F(CrossSpectrumAna, BandsAreEditedInTheirList) {
  TCrossSpectrumAnaForm& form = Open();
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(3);
  auto& view = Control<TMtxGridView>(form, "BandsBox");
  sig::TSpectrumBands& bands = FAnalyzer.Bands().Template();
  // Live, each keystroke takes the typed value at once; the other edges keep their places while
  // it is typed (typing 20 passes through 2) and the field keeps the user's text.
  auto& start = Edit(form, "StartEdit");
  Type(start, "17");
  EXPECT_EQ(bands.GetBand(0).F2, 17);
  EXPECT_EQ(bands.GetBand(0).F3, 3);
  EXPECT_EQ(start.Value(), "17");
  // Leaving the field puts the edges in order, moving the others, never the one typed.
  Leave(start);
  EXPECT_EQ(bands.GetBand(0).F1, 1);
  EXPECT_EQ(bands.GetBand(0).F2, 17);
  EXPECT_EQ(bands.GetBand(0).F3, 17);
  EXPECT_EQ(bands.GetBand(0).F4, 17);
  EXPECT_EQ(Edit(form, "EndEdit").Position(), 17);
  EXPECT_EQ(view.Line(0)->text(1), "17<->17");
  const struct {
    const char* Edit;
    double Typed;
    double F1, F2, F3, F4;
  } orders[] = {{"EndEdit", 20, 1, 17, 20, 20},
                {"StartTransEdit", 30, 30, 30, 30, 30},
                {"EndTransEdit", 5, 5, 5, 5, 5},
                {"EndEdit", 8, 5, 5, 8, 8},
                {"StartEdit", 2, 2, 2, 8, 8}};
  for (const auto& o : orders) {
    auto& edit = Edit(form, o.Edit);
    Type(edit, QString::number(o.Typed));
    Leave(edit);
    const sig::TSpectrumBandRecord& b = bands.GetBand(0);
    EXPECT_EQ(std::vector<double>({b.F1, b.F2, b.F3, b.F4}), std::vector<double>({o.F1, o.F2, o.F3, o.F4}))
        << o.Edit << " " << o.Typed;
  }
  // The reference: Hz labels only for the sampling frequency, the peak number only for a peak.
  auto& reference = List(form, "ReferenceBox");
  Choose(reference, 3);
  EXPECT_EQ(bands.GetBand(0).Reference, 3);
  EXPECT_TRUE(Edit(form, "BandsPeakNumberEdit").isVisible());
  EXPECT_FALSE(Control<QLabel>(form, "HzLabel1").isVisible());
  Choose(reference, 0);
  EXPECT_FALSE(Edit(form, "BandsPeakNumberEdit").isVisible());
  EXPECT_TRUE(Control<QLabel>(form, "HzLabel1").isVisible());
  ui::ClickButton(&Check(form, "BandsRMSBox"));
  EXPECT_TRUE(bands.GetBand(0).AdjustForType);
  // The line's check box is the band's Active.
  view.Line(1)->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(bands.GetBand(1).Active);
  // Add band appends a record and selects it; Delete takes the selected one out.
  const int updates = FParameterUpdates;
  Control<QPushButton>(form, "AddSignalButton").click();
  EXPECT_EQ(bands.Count(), 3);
  EXPECT_EQ(view.SelectedLine(), 2);
  EXPECT_GT(FParameterUpdates, updates);
  Control<QPushButton>(form, "DeleteBandButton").click();
  EXPECT_EQ(bands.Count(), 2);
  // Another template shows its own bands.
  auto& templates = List(form, "TemplateCombo");
  templates.setCurrentIndex(1);
  emit templates.activated(1);
  EXPECT_EQ(view.LineCount(), 1);
  EXPECT_EQ(Edit(form, "StartEdit").Position(), 110);
  // A band edit without Live is taken when the field is left.
  form.SetShowLive(false);
  Type(Edit(form, "EndTransEdit"), "140");
  EXPECT_EQ(FAnalyzer.Bands().Template().GetBand(0).F4, 130);
  Leave(Edit(form, "EndTransEdit"));
  EXPECT_EQ(FAnalyzer.Bands().Template().GetBand(0).F4, 140);
  // Enter commits as leaving does, and the edge typed stays where it was typed.
  Type(Edit(form, "StartTransEdit"), "150");
  QTest::keyClick(&Edit(form, "StartTransEdit"), Qt::Key_Return);
  const sig::TSpectrumBandRecord& high = FAnalyzer.Bands().Template().GetBand(0);
  EXPECT_EQ(std::vector<double>({high.F1, high.F2, high.F3, high.F4}), std::vector<double>({150, 150, 150, 150}));
  EXPECT_EQ(FBeeps, 0);
  // An empty edge is refused with a message, and the edge keeps its value.
  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(&Edit(form, "EndTransEdit"), &in);
  Edit(form, "EndTransEdit").clear();
  Leave(Edit(form, "EndTransEdit"));
  EXPECT_EQ(FAnalyzer.Bands().Template().GetBand(0).F4, 150);
  EXPECT_EQ(Edit(form, "EndTransEdit").Position(), 150);
  EXPECT_FALSE(FDialogs.Shown.empty());
}

TEST_F(CrossSpectrumAna, AddBandWithoutATemplateLeavesNoRecord) {
  FAnalyzer.Bands().ClearTemplates();
  TCrossSpectrumAnaForm& form = Open();
  const int before = FAnalyzer.Bands().Template().Count();
  Control<QPushButton>(form, "AddSignalButton").click();
  EXPECT_EQ(FAnalyzer.Bands().Template().Count(), before);
  ASSERT_FALSE(FDialogs.Shown.empty());
  EXPECT_EQ(FDialogs.Shown.back().Text, "Define template name first.");
}

TEST_F(CrossSpectrumAna, CancelRestoresEveryParameterAndRecomputesOnce) {
  const std::string before = classlib::ComponentToText(FAnalyzer);
  TCrossSpectrumAnaForm& form = Open();
  Choose(List(form, "MethodBox"), 1);
  Choose(List(form, "SpectrumBox"), 0);
  Choose(List(form, "SpectrumTypeBox"), 0);
  Choose(List(form, "WindowBox"), 2);
  Choose(List(form, "AveragingTypeBox"), 0);
  Type(Edit(form, "CZTStartEdit"), "0.2");
  Choose(List(form, "OrderTracingEdit"), 0);
  Choose(List(form, "PhaseModeBox"), 0);
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(3);
  Type(Edit(form, "StartEdit"), "2.5");
  Control<QPushButton>(form, "AddSignalButton").click();
  ui::ClickButton(&Check(form, "IncludeInfoBox"));
  ASSERT_NE(classlib::ComponentToText(FAnalyzer), before);
  const int updates = FParameterUpdates;
  Control<QToolButton>(form, "CancelButton").click();
  FreeClosedForms();
  EXPECT_EQ(classlib::ComponentToText(FAnalyzer), before);
  EXPECT_EQ(FAnalyzer.Bands().Template().Count(), 2);
  EXPECT_EQ(FAnalyzer.Bands().Template().GetBand(0).F2, 2);
  EXPECT_FALSE(FAnalyzer.EditorOpen());
  EXPECT_FALSE(static_cast<bool>(FAnalyzer.OnDisplayUpdate()));
  EXPECT_EQ(FParameterUpdates, updates + 1);
}

TEST_F(CrossSpectrumAna, OkKeepsTheChangesAndWithoutLiveOnlyUpdateRecomputes) {
  FDialog->SetShowLive(false);
  TCrossSpectrumAnaForm& form = Open();
  auto& update = Control<QToolButton>(form, "ToolButton1");
  EXPECT_TRUE(update.isVisible());
  Choose(List(form, "SpectrumTypeBox"), 2);
  Choose(List(form, "SpectrumBox"), 2);
  EXPECT_EQ(FAnalyzer.SpectrumType(), dsp::spPower);
  EXPECT_EQ(FParameterUpdates, 0);
  update.click();
  EXPECT_EQ(FParameterUpdates, 1);
  Control<QToolButton>(form, "OKButton").click();
  FreeClosedForms();
  EXPECT_EQ(FAnalyzer.CrossAnalyzer().Transform(), sig::ctCrossSpectrum);
  EXPECT_EQ(FParameterUpdates, 2);
}

TEST_F(CrossSpectrumAna, InfoPageShowsTheTimingAndTheCheckedMeasures) {
  FillSignals();
  FAnalyzer.SetZeroPadding(1);
  FAnalyzer.CrossAnalyzer().SetTransform(sig::ctInputSpectrum);
  FAnalyzer.SetSpectrumType(dsp::spAmplt);
  FAnalyzer.Peaks().SetTraceMethod(sig::ptNone);
  TCrossSpectrumAnaForm& form = Open();
  FAnalyzer.Update();
  EXPECT_EQ(Control<QLabel>(form, "FSLabel").text(), "Sampling frequency: 1000 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "NyquistLabel").text(), "Bandwidth: 500 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "SamplesAnaLabel").text(), "Samples analyzed: 256");
  EXPECT_EQ(Control<QLabel>(form, "SignalLenLabel").text(), "Signal length: 0.256 [s]");
  EXPECT_EQ(Control<QLabel>(form, "FreqResLabel").text(), "Frequency resolution: 3.90625 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "FreqBinsLabel").text(), "Frequency bins: 128");
  EXPECT_EQ(Control<QLabel>(form, "FreqBinSpaceLabel").text(), "Frequency bin spacing: 3.90625 [Hz]");
  EXPECT_EQ(Control<QLabel>(form, "AveragesMade").text(), "Averages made: 1");
  EXPECT_EQ(Control<QLabel>(form, "AveragesMadeLabel").text(), "Averages made: 1");
  // A measure without marked peaks: its value and the message.
  ui::ClickButton(&Check(form, "THDBox"));
  EXPECT_EQ(Check(form, "THDBox").text(), "THD = 0.00 [%]");
  EXPECT_EQ(Control<QLabel>(form, "MessageLabel").text(), "No peaks have been marked!");
  FAnalyzer.Marks().AddMark(sig::TMarkRecord{});
  form.BuildReport();
  EXPECT_EQ(Control<QLabel>(form, "MessageLabel").text(), "THD and SFDR require at least two marked peaks!");
  // Two peaks on an empty line: a zero fundamental has no distortion ratio.
  FAnalyzer.Marks().AddMark(sig::TMarkRecord{});
  form.BuildReport();
  EXPECT_EQ(Check(form, "THDBox").text(), "THD = n/a [%]");
  ui::ClickButton(&Check(form, "THDBox"));
  EXPECT_EQ(Check(form, "THDBox").text(), "THD");
  EXPECT_EQ(Control<QLabel>(form, "MessageLabel").text(), "");
  FAnalyzer.SetSpectrumType(dsp::spRMS);
  ui::ClickButton(&Check(form, "RMSBOx"));
  EXPECT_TRUE(Check(form, "RMSBOx").text().startsWith("RMS = "));
  EXPECT_EQ(Control<QLabel>(form, "MessageLabel").text(), "RMS: spectrum type is not peak amplitude!");
  // The band lines show their RMS in the form's format after every update.
  const double rms = FAnalyzer.Bands().Template().GetBand(0).Rms;
  EXPECT_EQ(Control<TMtxGridView>(form, "BandsBox").Line(0)->text(2).toStdString(),
            classlib::FormatFloat("0.000", rms));
  // Reset starts the averages again.
  Control<QPushButton>(form, "ResetButton").click();
  EXPECT_EQ(Control<QLabel>(form, "AveragesMade").text(), "Averages made: 0");
}

TEST_F(CrossSpectrumAna, ReportBoxesAndFormatsWriteTheReportAndItGoesToTheClipboard) {
  TCrossSpectrumAnaForm& form = Open();
  Control<QTabWidget>(form, "PageControl1").setCurrentIndex(7);
  testsupport::ExpectBoxesSwitchItems<sig::TSpectrumReportItems>(
      form,
      {{"IncludeInfoBox", sig::sriGeneralInfo},
       {"IncludePeaksBox", sig::sriMarkedPeaks},
       {"IncludeLinesBox", sig::sriFrequencyLines},
       {"IncludePhaseBox", sig::sriPhase},
       {"IncludeTHDBox", sig::sriTHD},
       {"IncludeTHDNBox", sig::sriTHDN},
       {"IncludeNFBox", sig::sriNF},
       {"IncludeSFDRBox", sig::sriSFDR},
       {"IncludeBandsBox", sig::sriBandsRMS},
       {"IncludeSINADBox", sig::sriSINAD},
       {"IncludeRMSBox", sig::sriRMS},
       {"IncludeSNRBox", sig::sriSNR},
       {"DateTimeBox", sig::sriDateTime}},
      [this] { return unsigned{FAnalyzer.Report().ReportItems()}; });
  Type(Control<QLineEdit>(form, "FreqFormatEdit"), "0.##");
  Type(Control<QLineEdit>(form, "AmpltFormatEdit"), "0.0000");
  Type(Control<QLineEdit>(form, "PhaseFormatEdit"), "0.0");
  EXPECT_EQ(FAnalyzer.Report().FrequencyFormat(), "0.##");
  EXPECT_EQ(FAnalyzer.Report().AmplitudeFormat(), "0.0000");
  EXPECT_EQ(FAnalyzer.Report().PhaseFormat(), "0.0");
  EXPECT_EQ(FParameterUpdates, 0);
  FAnalyzer.Report().SetReportItems(1u << sig::sriGeneralInfo);
  QApplication::clipboard()->clear();
  Control<QPushButton>(form, "ReportButton").click();
  classlib::TStringList lines;
  FAnalyzer.Report().BuildReport(lines);
  const QString expected = testsupport::ReportText(lines);
  EXPECT_FALSE(expected.isEmpty());
  EXPECT_EQ(QApplication::clipboard()->text(), expected);
}

TEST_F(CrossSpectrumAna, LoadedSettingsAskWhetherToKeepTheBandTemplates) {
  TCrossSpectrumAnaForm& form = Open();
  const std::string file = FDir.File("cross.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Save1").trigger();
  Choose(List(form, "WindowBox"), 1);
  FAnalyzer.Bands().AddEmptyTemplate("Mine");
  // Yes: the loaded templates and the ones there before.
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrYes);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FDialogs.Shown.back().Text, "Append existing bands templates?");
  EXPECT_EQ(FAnalyzer.Window(), dsp::wtKaiser);
  EXPECT_EQ(List(form, "WindowBox").currentText(), "Kaiser");
  EXPECT_EQ(FAnalyzer.Bands().Templates().Count(), 2 + 3);
  EXPECT_EQ(List(form, "TemplateCombo").count(), 5);
  // No: only the loaded ones.
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrNo);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FAnalyzer.Bands().Templates().Count(), 2);
  // A cancelled file dialog changes nothing and asks nothing.
  FDialogs.FileChoices.push_back(std::nullopt);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FAnalyzer.Bands().Templates().Count(), 2);
}

TEST_F(CrossSpectrumAna, PictureShowsThePagesAndTheFilledControls) {
  TCrossSpectrumAnaForm& form = Open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QImage shot = ui::Screenshot(form, "cross_spectrum_form");
  for (const char* name : {"MethodBox", "SpectrumBox", "SpectrumTypeBox", "WindowBox", "OKButton", "CancelButton"})
    EXPECT_GT(DarkPixels(shot, AreaOf(Control<QWidget>(form, name), form)), 20) << name;
  auto& pages = Control<QTabWidget>(form, "PageControl1");
  EXPECT_GT(DarkPixels(shot, QRect(pages.mapTo(&form, QPoint(0, 0)), QSize(pages.width(), 24))), 60);
  // A disabled control is drawn fainter than an enabled one of its kind.
  const int enabled = DarkPixels(shot, AreaOf(Control<QWidget>(form, "SpectrumLabel"), form));
  const int disabled = DarkPixels(shot, AreaOf(Control<QWidget>(form, "CZTStartLabel"), form));
  EXPECT_GT(enabled, 10);
  EXPECT_EQ(disabled, 0);
  pages.setCurrentIndex(3);
  const QImage bands = ui::Screenshot(form, "cross_spectrum_form_bands");
  EXPECT_GT(DarkPixels(bands, AreaOf(Control<QWidget>(form, "BandsBox"), form)), 40);
  EXPECT_GT(DarkPixels(bands, AreaOf(Control<QWidget>(form, "StartEdit"), form)), 5);
}

}  // namespace
}  // namespace analysis_ui
