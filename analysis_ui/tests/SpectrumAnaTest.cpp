// The spectrum analyser's parameter form, opened by its dialog beside an
// analyser that a chart draws and whose parameter updates recompute it, as
// the workbench's spectrum window holds them: one form per analyser, the
// embedded form, every control with its items, the property each control
// writes, the enable rules, the live switch and "Update", Cancel, the band
// templates and band edges, the Info captions and messages, the report on
// the clipboard, loading and saving settings, and a picture of each page.
// Covers: analysis_ui/SpectrumAnaForm.cpp, analysis_ui/SpectrumAnaPages.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/SignalToolsDialogs.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "analysis_ui/SpectrumAna.h"
#include "analysis_ui/tests/FormTestSupport.h"
#include "chart/series/FastLineSeries.h"
#include "chart/testing/ChartProbes.h"
#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/Signal.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"

namespace analysis_ui {
namespace {

using chart::testing::Values;
using formtests::Type;
using sig::testsupport::Values;
using ui::Control;

// 1024 samples at 1024 Hz: a unit sine at 100 Hz and one of 0.1 at 200 Hz.
void TonesAt100And200(sig::TSignal& s) {
  s.Data().Size(1024, false);
  for (int j = 0; j < 1024; ++j)
    s.Data().Values()[j] =
        std::sin(2 * numeric::PI * 100 * j / 1024.0) + 0.1 * std::sin(2 * numeric::PI * 200 * j / 1024.0);
  s.SetSamplingFrequency(1024);
}

sig::TSpectrumBandRecord SpectrumBand(double F1, double F2, double F3, double F4) {
  sig::TSpectrumBandRecord band;
  band.Active = true;
  band.F1 = F1;
  band.F2 = F2;
  band.F3 = F3;
  band.F4 = F4;
  return band;
}

// Every parameter of the analyser, band templates included, as its template stream.
std::string Parameters(sig::TSpectrumAnalyzer& a) {
  classlib::TMemoryStream stream;
  a.SaveTemplateToStream(stream);
  return {static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

std::vector<std::string> ItemStrings(const QComboBox& box) {
  std::vector<std::string> items;
  for (int i = 0; i < box.count(); ++i) items.push_back(box.itemText(i).toStdString());
  return items;
}

class SpectrumAna : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    TonesAt100And200(FSignal);
    FAnalyzer = std::make_unique<sig::TSpectrumAnalyzer>();
    FAnalyzer->SetName("SpectrumAnalyzer1");
    FAnalyzer->SetInput(&FSignal);
    // The window's redraw: every parameter update recomputes, which redraws the chart.
    FAnalyzer->SetOnParameterUpdate([this](classlib::TPersistent*) {
      ++FUpdates;
      FAnalyzer->Update();
    });
    FChart = std::make_unique<TSpectrumChart>();
    FChart->Spectrums()->Add()->SetInput(FAnalyzer.get());
    FLine = new chart::TFastLineSeries(FChart.get());
    FLine->SetParentChart(FChart.get());
    FAnalyzer->Update();
    FDialog = std::make_unique<TSpectrumAnalyzerDialog>();
    FDialog->SetName("SpectrumAnalyzerDialog1");
    FDialog->SetSource(FAnalyzer.get());
  }
  void TearDown() override {
    FDialog.reset();
    FreeClosedForms();
    FChart.reset();
    FAnalyzer.reset();
    TWindowTest::TearDown();
  }

  // Two band templates, "Octaves" (current) with two bands and "Single" with one.
  void AddBandTemplates() {
    sig::TSpectrumBandsAnalyzer& bands = FAnalyzer->Bands();
    bands.AddEmptyTemplate("Single");
    bands.Template().AddBand(SpectrumBand(90, 95, 105, 110));
    bands.AddEmptyTemplate("Octaves");
    bands.Template().AddBand(SpectrumBand(10, 20, 30, 40));
    bands.Template().AddBand(SpectrumBand(150, 190, 210, 250));
  }

  TSpectrumAnaForm& Open(bool live = false) {
    FDialog->SetShowLive(live);
    FDialog->Execute();
    return *static_cast<TSpectrumAnaForm*>(FDialog->EditorForm());
  }
  static void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  template <class T>
  T& C(const char* name) {
    return Control<T>(*FDialog->EditorForm(), name);
  }
  QComboBox& Combo(const char* name) { return C<QComboBox>(name); }
  TMtxFloatEdit& Edit(const char* name) { return C<TMtxFloatEdit>(name); }
  QCheckBox& Check(const char* name) { return C<QCheckBox>(name); }
  QTreeWidget& BandsBox() { return C<QTreeWidget>("BandsBox"); }
  void ShowPage(const char* page) {
    auto& pages = C<QTabWidget>("PageControl1");
    pages.setCurrentWidget(&C<QWidget>(page));
  }
  bool SeriesShowsSpectrum() const { return Values(*FLine->YValues()) == Values(FAnalyzer->Amplt()); }

  sig::TSignal FSignal;
  std::unique_ptr<sig::TSpectrumAnalyzer> FAnalyzer;
  std::unique_ptr<TSpectrumChart> FChart;
  chart::TFastLineSeries* FLine = nullptr;
  std::unique_ptr<TSpectrumAnalyzerDialog> FDialog;
  int FUpdates = 0;
};

TEST_F(SpectrumAna, ExecuteTwiceGivesOneForm) {
  TSpectrumAnaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Spectral analysis");
  EXPECT_TRUE(FAnalyzer->EditorOpen());
  form.hide();
  FDialog->Execute();
  EXPECT_EQ(FDialog->EditorForm(), &form);
  EXPECT_TRUE(form.isVisible());
  int forms = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (dynamic_cast<TSpectrumAnaForm*>(w) != nullptr) ++forms;
  EXPECT_EQ(forms, 1);
}

TEST_F(SpectrumAna, AnEmbeddedFormFillsItsParentAndEditsLive) {
  QWidget host;
  host.resize(600, 420);
  host.show();
  FDialog->SetShowLive(true);
  FDialog->Execute(true, &host);
  auto* form = dynamic_cast<TSpectrumAnaForm*>(FDialog->EditorForm());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->parentWidget(), &host);
  EXPECT_FALSE(form->isWindow());
  EXPECT_TRUE(form->isVisible());
  Combo("WindowBox").setCurrentIndex(dsp::wtHanning);
  EXPECT_EQ(FAnalyzer->Window(), dsp::wtHanning);
  EXPECT_EQ(FUpdates, 1);
  EXPECT_TRUE(SeriesShowsSpectrum());
}

TEST_F(SpectrumAna, EveryControlWithItsItemsInOrder) {
  Open();
  const std::vector<std::pair<const char*, std::vector<std::string>>> combos = {
      {"MethodsBox", {"FFT", "YuleWalker", "Burg", "Covariance", "Modified Cov", "CZT", "Real cepstrum"}},
      {"SpectrumTypeBox", {"Amplt", "RMS", "Power", "PeakPeak", "Complex"}},
      {"WindowBox",
       {"Rectangular", "Hanning", "Hamming", "FlatTop", "Bartlet", "Blackman", "BlackmanHarris", "BlackmanExact",
        "CosineTappered", "Kaiser", "Chebyshev", "Exponent"}},
      {"ZeroPaddingBox", {"1", "2", "4", "8", "16", "32", "64"}},
      {"IntegrationBox", {"None", "Integrate once", "Integrate twice", "Differentiate once", "Differentiate twice"}},
      {"LogSpanBox", {"30", "45", "60", "90", "120", "150", "200", "350"}},
      {"LogScaleBox", {"Absolute", "Relative"}},
      {"AveragingTypeBox",
       {"None", "Linear infinite", "Exponential Infinite", "Linear finite", "Peak-hold", "Peak-hold infinite",
        "Peak and decay"}},
      {"PeakTraceBox", {"None", "Current", "Largest", "Amplt harmonics", "Freq harmonics", "All"}},
      {"InterpolationBox",
       {"None", "Numeric", "Quadratic", "Barycentric", "Quinn's first", "Quinn's second", "Jain"}},
      {"InterpolationPrecisionBox", {"2", "4", "6", "8"}},
      {"OrderTracingEdit", {"None", "First peak", "N'th peak", "Largest peak"}},
      {"PhaseModeBox", {"Ignore", "Default", "Phase delay", "Group delay"}},
      {"PhaseUnitsBox", {"Radians", "Degrees"}},
      {"PhaseRangeBox", {"-Pi ... +Pi", "0 ... 2*Pi"}},
      {"RunningPhaseBox", {"Default", "Constant phase", "Integer lag", "Partial"}},
      {"ReferenceBox", {"Sampling freq.", "Nyquist freq.", "Order freq.", "N'th peak"}},
  };
  for (const auto& [name, items] : combos) EXPECT_EQ(ItemStrings(Combo(name)), items) << name;

  const std::vector<std::pair<const char*, const char*>> checks = {
      {"RemoveDCBox", "Remove DC"},
      {"LogarithmicBox", "Logarithmic"},
      {"ConjugateExtendBox", "Conjugate extend"},
      {"FlipBox", "Conjugate flip"},
      {"StdDevBox", "Compute standard deviation"},
      {"TracedHarmonicsBox", "Interpolate traced harmonics"},
      {"FullBWBox", "Use full bandwidth"},
      {"OrderActiveBox", "Active"},
      {"UnwrapPhaseBox", "Unwrap phase"},
      {"BandsRMSBox", "Adjust for spectrum type"},
      {"IncludeInfoBox", "General info"},
      {"IncludePeaksBox", "Marked peaks"},
      {"IncludeLinesBox", "All frequency lines"},
      {"IncludePhaseBox", "Phase"},
      {"IncludeTHDBox", "THD"},
      {"IncludeTHDNBox", "THDN"},
      {"IncludeNFBox", "NF"},
      {"IncludeSFDRBox", "SFDR"},
      {"IncludeBandsBox", "Bands RMS"},
      {"IncludeSINADBox", "SINAD"},
      {"IncludeRMSBox", "RMS"},
      {"IncludeSNRBox", "SNR"},
      {"DateTimeBox", "Date/Time"},
  };
  for (const auto& [name, caption] : checks) EXPECT_EQ(Check(name).text(), caption) << name;

  // The complex-number edits with their captions.
  const std::vector<std::pair<const char*, const char*>> edits = {
      {"SidelobeAttBox", "Sidelobe atten.:"}, {"AROrderEdit", "AR order:"},
      {"ScaleFactorEdit", "Scale factor:"},   {"RotationEdit", "Rotation"},
      {"CZTStartEdit", "CZT start:"},         {"CZTEndEdit", "CZT stop:"},
      {"CZTStepEdit", "CZT step:"},           {"CZTRStartEdit", "Start radius:"},
      {"CZTRStopEdit", "Stop radius:"},       {"AveragesEdit", "Number of averages to take:"},
      {"ExpDecayBox", "Exponential decay factor:"}, {"LargestEdit", "Largest peaks:"},
      {"MtxFloatEdit4", "Tolerance:"},        {"HarmonicsEdit", "Harmonics:"},
      {"BandwidthLEdit", "Low:"},             {"BandwidthHEdit", "High:"},
      {"TraceIntervalEdit", "Trace interval:"}, {"OrderEdit", "Frequency:"},
      {"OrderPeakNumber", "Peak number:"},    {"StartTransEdit", "Start transition:"},
      {"StartEdit", "Start:"},                {"EndEdit", "End:"},
      {"EndTransEdit", "End transition:"},
  };
  for (const auto& [name, caption] : edits) {
    Edit(name);
    EXPECT_EQ(C<QLabel>((std::string(name) + "Label").c_str()).text(), caption) << name;
  }
  EXPECT_EQ(C<QLabel>("PeakNumberLabel").text(), "Peak number:");
  for (const char* hz : {"HzLabel1", "HzLabel2", "HzLabel3", "HzLabel4"}) EXPECT_EQ(C<QLabel>(hz).text(), "[Hz]");

  const std::vector<std::pair<const char*, const char*>> buttons = {
      {"ResetButton", "Reset"},      {"UpdatePeaksButton", "Update peaks"}, {"NewButton", "&New.."},
      {"DeleteTemplateButton", "&Delete"}, {"SaveAsButton", "&Save As.."}, {"AddSignalButton", "&Add band"},
      {"DeleteBandButton", "D&elete"}, {"ReportButton", "Copy to clipboard"},
  };
  for (const auto& [name, caption] : buttons) EXPECT_EQ(C<QPushButton>(name).text(), caption) << name;
  for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
           {"OKButton", "OK"}, {"CancelButton", "Cancel"}, {"OptionsButton", "Options"}, {"ToolButton1", "Update"}})
    EXPECT_EQ(C<QToolButton>(name).text(), caption) << name;
  for (const char* name : {"THDBox", "NFBox", "SFDRBox", "SNRBox", "RMSBOx", "SINADBox", "THDNBox"}) Check(name);
  for (const char* name : {"MessageLabel", "FSLabel", "NyquistLabel", "SamplesAnaLabel", "SignalLenLabel",
                           "FreqResLabel", "FreqBinSpaceLabel", "FreqBinsLabel", "AveragesMade"})
    C<QLabel>(name);
  for (const char* name : {"FreqFormatEdit", "AmpltFormatEdit", "PhaseFormatEdit"}) C<QLineEdit>(name);

  std::vector<std::string> menu;
  for (QAction* a : C<QMenu>("WindowEditMenu").actions()) menu.push_back(a->text().toStdString());
  EXPECT_EQ(menu, (std::vector<std::string>{"Live", "Continuous", "", "Stay on top", "Dock", "", "Save settings...",
                                            "Load settings..."}));
  std::vector<std::string> pages;
  auto& tabs = C<QTabWidget>("PageControl1");
  for (int i = 0; i < tabs.count(); ++i) pages.push_back(tabs.tabText(i).toStdString());
  EXPECT_EQ(pages,
            (std::vector<std::string>{"Basic", "Averaging", "Peaks", "Bands", "Order", "Phase", "Info", "Report"}));
  EXPECT_EQ(tabs.currentIndex(), 0);
  // The tolerance sets nothing, so it is not for editing.
  EXPECT_FALSE(Edit("MtxFloatEdit4").isEnabled());
  EXPECT_FALSE(C<QLabel>("MtxFloatEdit4Label").isEnabled());
}

TEST_F(SpectrumAna, TheControlsShowTheAnalysersSettings) {
  FAnalyzer->SetZeroPadding(16);
  FAnalyzer->SetMethod(sig::smBurg);
  FAnalyzer->SetAROrder(12);
  FAnalyzer->SetWindow(dsp::wtKaiser);
  FAnalyzer->SetSidelobeAtt(90.5);
  FAnalyzer->Stats().SetAveraging(sig::avLinear);
  FAnalyzer->Stats().SetAverages(7);
  FAnalyzer->Peaks().SetTraceMethod(sig::ptFreqHarmonics);
  FAnalyzer->Peaks().Interpolation().SetMethod(sig::imQuinnSecond);
  FAnalyzer->SetPhaseMode(sig::pmGroupDelay);
  FAnalyzer->Report().SetReportItems((1u << sig::sriTHD) | (1u << sig::sriDateTime));
  FAnalyzer->Report().SetFrequencyFormat("0.0#");
  TSpectrumAnaForm& form = Open();
  EXPECT_EQ(Combo("ZeroPaddingBox").currentText(), "16");
  EXPECT_EQ(Combo("MethodsBox").currentText(), "Burg");
  EXPECT_EQ(Edit("AROrderEdit").text(), "12");
  EXPECT_EQ(Combo("WindowBox").currentText(), "Kaiser");
  EXPECT_EQ(Edit("SidelobeAttBox").Position(), 90.5);
  EXPECT_EQ(Combo("AveragingTypeBox").currentText(), "Linear finite");
  EXPECT_EQ(Edit("AveragesEdit").text(), "7");
  EXPECT_EQ(Combo("PeakTraceBox").currentText(), "Freq harmonics");
  EXPECT_EQ(Combo("InterpolationBox").currentText(), "Quinn's second");
  EXPECT_EQ(Combo("PhaseModeBox").currentText(), "Group delay");
  EXPECT_TRUE(Check("IncludeTHDBox").isChecked());
  EXPECT_TRUE(Check("DateTimeBox").isChecked());
  EXPECT_FALSE(Check("IncludeInfoBox").isChecked());
  EXPECT_EQ(C<QLineEdit>("FreqFormatEdit").text(), "0.0#");
  EXPECT_TRUE(Control<QAction>(form, "Continuous1").isChecked());
  // Filling wrote nothing back and recomputed nothing.
  EXPECT_EQ(FAnalyzer->SidelobeAtt(), 90.5);
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(SpectrumAna, AnAttenuationOutsideTheAnalysersRangeShowsAsItHoldsIt) {
  FAnalyzer->SetWindow(dsp::wtKaiser);
  Open();
  Type(Edit("SidelobeAttBox"), "5");
  QTest::keyClick(&Edit("SidelobeAttBox"), Qt::Key_Return);
  EXPECT_EQ(FAnalyzer->SidelobeAtt(), 13.0);
  EXPECT_EQ(Edit("SidelobeAttBox").text(), "13.00");
}

TEST_F(SpectrumAna, EachControlWritesItsProperty) {
  Open();
  struct TCase {
    const char* What;
    std::function<void()> Act;
    std::function<bool(sig::TSpectrumAnalyzer&)> Holds;
  };
  // In an order a user can follow: each control is enabled when it is used.
  const TCase cases[] = {
      {"spectrum type", [&] { Combo("SpectrumTypeBox").setCurrentIndex(2); },
       [](auto& a) { return a.SpectrumType() == dsp::spPower; }},
      {"window", [&] { Combo("WindowBox").setCurrentIndex(10); },
       [](auto& a) { return a.Window() == dsp::wtChebyshev; }},
      {"sidelobe", [&] { Type(Edit("SidelobeAttBox"), "80"); }, [](auto& a) { return a.SidelobeAtt() == 80; }},
      {"zero padding", [&] { Combo("ZeroPaddingBox").setCurrentIndex(5); },
       [](auto& a) { return a.ZeroPadding() == 32; }},
      {"integration", [&] { Combo("IntegrationBox").setCurrentIndex(3); },
       [](auto& a) { return a.Integration() == sig::diffOnce; }},
      {"method Burg", [&] { Combo("MethodsBox").setCurrentIndex(2); },
       [](auto& a) { return a.Method() == sig::smBurg; }},
      {"AR order (ties to even)", [&] { Type(Edit("AROrderEdit"), "22.5"); },
       [](auto& a) { return a.AROrder() == 22; }},
      {"method FFT", [&] { Combo("MethodsBox").setCurrentIndex(0); },
       [](auto& a) { return a.Method() == sig::smFFT; }},
      {"remove DC", [&] { Check("RemoveDCBox").click(); }, [](auto& a) { return !a.DCDump(); }},
      {"method CZT", [&] { Combo("MethodsBox").setCurrentIndex(5); },
       [](auto& a) { return a.Method() == sig::smCZT; }},
      {"CZT start", [&] { Type(Edit("CZTStartEdit"), "0.1"); },
       [](auto& a) { return a.CZT().StartFrequency() == 0.1; }},
      {"CZT stop", [&] { Type(Edit("CZTEndEdit"), "0.4"); }, [](auto& a) { return a.CZT().StopFrequency() == 0.4; }},
      {"CZT step", [&] { Type(Edit("CZTStepEdit"), "0.01"); },
       [](auto& a) { return a.CZT().FrequencyStep() == 0.01; }},
      {"logarithmic", [&] { Check("LogarithmicBox").click(); }, [](auto& a) { return a.Logarithmic(); }},
      {"log span", [&] { Combo("LogSpanBox").setCurrentIndex(2); }, [](auto& a) { return a.LogSpan() == sig::ls60; }},
      {"log scale", [&] { Combo("LogScaleBox").setCurrentIndex(1); },
       [](auto& a) { return a.LogType() == sig::ltRelative; }},
      {"conjugate extend", [&] { Check("ConjugateExtendBox").click(); }, [](auto& a) { return a.ConjExtend(); }},
      {"flip", [&] { Check("FlipBox").click(); }, [](auto& a) { return !a.ConjFlip(); }},
      {"scale factor", [&] { Type(Edit("ScaleFactorEdit"), "2.5"); }, [](auto& a) { return a.ScaleFactor() == 2.5; }},
      {"rotation", [&] { Type(Edit("RotationEdit"), "-5"); }, [](auto& a) { return a.Rotation() == -5; }},
      {"start radius", [&] { Type(Edit("CZTRStartEdit"), "0.9"); },
       [](auto& a) { return a.CZT().StartRadius() == 0.9; }},
      {"stop radius", [&] { Type(Edit("CZTRStopEdit"), "0.8"); }, [](auto& a) { return a.CZT().StopRadius() == 0.8; }},
      {"averaging linear finite", [&] { Combo("AveragingTypeBox").setCurrentIndex(3); },
       [](auto& a) { return a.Stats().Averaging() == sig::avLinear; }},
      {"averages", [&] { Type(Edit("AveragesEdit"), "12"); }, [](auto& a) { return a.Stats().Averages() == 12u; }},
      {"averages below 1", [&] { Type(Edit("AveragesEdit"), "-3"); },
       [](auto& a) { return a.Stats().Averages() == 1u; }},
      {"std dev", [&] { Check("StdDevBox").click(); }, [](auto& a) { return a.Stats().CalcStdDev(); }},
      {"averaging peak and decay", [&] { Combo("AveragingTypeBox").setCurrentIndex(6); },
       [](auto& a) { return a.Stats().Averaging() == sig::avPeakAndDecay; }},
      {"decay", [&] { Type(Edit("ExpDecayBox"), "9"); }, [](auto& a) { return a.Stats().ExpDecay() == 9; }},
      {"peak trace largest", [&] { Combo("PeakTraceBox").setCurrentIndex(2); },
       [](auto& a) { return a.Peaks().TraceMethod() == sig::ptLargest; }},
      {"largest", [&] { Type(Edit("LargestEdit"), "4"); }, [](auto& a) { return a.Peaks().LargestCount() == 4; }},
      {"peak trace freq harmonics", [&] { Combo("PeakTraceBox").setCurrentIndex(4); },
       [](auto& a) { return a.Peaks().TraceMethod() == sig::ptFreqHarmonics; }},
      {"harmonics", [&] { Type(Edit("HarmonicsEdit"), "6"); }, [](auto& a) { return a.Harmonics() == 6; }},
      {"trace interval", [&] { Type(Edit("TraceIntervalEdit"), "7.5"); },
       [](auto& a) { return a.Peaks().TraceInterval() == 7.5; }},
      {"interpolation", [&] { Combo("InterpolationBox").setCurrentIndex(1); },
       [](auto& a) { return a.Peaks().Interpolation().Method() == sig::imNumeric; }},
      {"precision", [&] { Combo("InterpolationPrecisionBox").setCurrentIndex(3); },
       [](auto& a) { return a.Peaks().Interpolation().Precision() == sig::ip8; }},
      {"traced harmonics", [&] { Check("TracedHarmonicsBox").click(); },
       [](auto& a) { return a.Peaks().Interpolation().Harmonics(); }},
      {"full bandwidth", [&] { Check("FullBWBox").click(); },
       [](auto& a) { return !a.Peaks().UseFullBandwidth(); }},
      {"low", [&] { Type(Edit("BandwidthLEdit"), "50"); }, [](auto& a) { return a.Peaks().BandwidthL() == 50; }},
      {"high", [&] { Type(Edit("BandwidthHEdit"), "300"); }, [](auto& a) { return a.Peaks().BandwidthH() == 300; }},
      {"order frequency", [&] { Type(Edit("OrderEdit"), "25"); },
       [](auto& a) { return a.Peaks().OrderFrequency() == 25; }},
      {"order tracing", [&] { Combo("OrderTracingEdit").setCurrentIndex(2); },
       [](auto& a) { return a.Peaks().OrderTracing() == sig::otNthPeak; }},
      {"order peak", [&] { Type(Edit("OrderPeakNumber"), "3"); },
       [](auto& a) { return a.Peaks().OrderPeakNumber() == 3; }},
      {"order active", [&] { Check("OrderActiveBox").click(); }, [](auto& a) { return a.Peaks().OrderActive(); }},
      {"phase units", [&] { Combo("PhaseUnitsBox").setCurrentIndex(0); },
       [](auto& a) { return a.PhaseUnits() == sig::puRad; }},
      {"phase range", [&] { Combo("PhaseRangeBox").setCurrentIndex(1); },
       [](auto& a) { return a.PhaseRange() == sig::prZeroTwoPi; }},
      {"unwrap", [&] { Check("UnwrapPhaseBox").click(); }, [](auto& a) { return a.UnwrapPhase(); }},
      {"running phase", [&] { Combo("RunningPhaseBox").setCurrentIndex(3); },
       [](auto& a) { return a.RunningPhase() == dsp::rpPartial; }},
      {"phase mode", [&] { Combo("PhaseModeBox").setCurrentIndex(2); },
       [](auto& a) { return a.PhaseMode() == sig::pmPhaseDelay; }},
      {"report item", [&] { Check("IncludePhaseBox").click(); },
       [](auto& a) { return a.Report().ReportItems() == (1u << sig::sriPhase); }},
      {"report format", [&] { Type(C<QLineEdit>("AmpltFormatEdit"), "0.000"); },
       [](auto& a) { return a.Report().AmplitudeFormat() == "0.000"; }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    c.Act();
    EXPECT_TRUE(c.Holds(*FAnalyzer));
  }
  // A disabled control takes nothing.
  ASSERT_FALSE(Edit("AROrderEdit").isEnabled());
  Type(Edit("AROrderEdit"), "7");
  EXPECT_EQ(FAnalyzer->AROrder(), 22);
  // Live is off: nothing recomputed.
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(SpectrumAna, TheMethodWindowAndLogarithmicRules) {
  Open();
  struct TCase {
    const char* Box;
    int Item;
    std::vector<std::pair<const char*, bool>> Enabled;
  };
  const TCase cases[] = {
      {"MethodsBox", 2, {{"AROrderEdit", true}, {"AROrderEditLabel", true}, {"RemoveDCBox", false},
                         {"CZTStartEdit", false}, {"CZTEndEdit", false}, {"CZTStepEdit", false}}},
      {"MethodsBox", 5, {{"AROrderEdit", false}, {"RemoveDCBox", false}, {"CZTStartEdit", true},
                         {"CZTEndEdit", true}, {"CZTStepEdit", true}, {"CZTStepEditLabel", true}}},
      {"MethodsBox", 0, {{"AROrderEdit", false}, {"RemoveDCBox", true}, {"CZTStartEdit", false}}},
      {"MethodsBox", 6, {{"AROrderEdit", false}, {"RemoveDCBox", false}, {"CZTStartEdit", false}}},
      {"WindowBox", 9, {{"SidelobeAttBox", true}, {"SidelobeAttBoxLabel", true}, {"SidelobeAttBoxUnit", true}}},
      {"WindowBox", 10, {{"SidelobeAttBox", true}}},
      {"WindowBox", 1, {{"SidelobeAttBox", false}, {"SidelobeAttBoxUnit", false}}},
      {"InterpolationBox", 1, {{"InterpolationPrecisionBox", true}}},
      {"InterpolationBox", 5, {{"InterpolationPrecisionBox", false}}},
      {"PhaseModeBox", 0, {{"PhaseUnitsBox", false}, {"PhaseRangeBox", false}, {"UnwrapPhaseBox", false},
                           {"RunningPhaseBox", false}, {"PhaseUnitsBoxLabel", false}}},
      {"PhaseModeBox", 1, {{"PhaseUnitsBox", true}, {"PhaseRangeBox", true}, {"UnwrapPhaseBox", true},
                           {"RunningPhaseBox", false}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Box << " " << c.Item);
    Combo(c.Box).setCurrentIndex(c.Item);
    for (const auto& [name, on] : c.Enabled) EXPECT_EQ(C<QWidget>(name).isEnabled(), on) << name;
  }
  Check("UnwrapPhaseBox").click();
  EXPECT_TRUE(Combo("RunningPhaseBox").isEnabled());
  Check("LogarithmicBox").click();
  EXPECT_TRUE(Combo("LogSpanBox").isEnabled());
  EXPECT_TRUE(Combo("LogScaleBox").isEnabled());
  Check("LogarithmicBox").click();
  EXPECT_FALSE(Combo("LogSpanBox").isEnabled());
  EXPECT_FALSE(C<QLabel>("LogScaleBoxLabel").isEnabled());
  Check("FullBWBox").click();
  EXPECT_TRUE(Edit("BandwidthLEdit").isEnabled());
  EXPECT_TRUE(Edit("BandwidthHEdit").isEnabled());
  Check("FullBWBox").click();
  EXPECT_FALSE(Edit("BandwidthHEdit").isEnabled());
}

TEST_F(SpectrumAna, TheAveragingRules) {
  Open();
  struct TCase {
    int Item;
    bool ExpDecay, Averages, StdDev;
  };
  const TCase cases[] = {{0, false, false, false}, {1, false, false, true}, {2, true, false, false},
                         {3, false, true, true},   {4, false, true, false}, {5, false, true, false},
                         {6, true, false, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Item);
    Combo("AveragingTypeBox").setCurrentIndex(c.Item);
    EXPECT_EQ(Edit("ExpDecayBox").isEnabled(), c.ExpDecay);
    EXPECT_EQ(Edit("AveragesEdit").isEnabled(), c.Averages);
    EXPECT_EQ(C<QLabel>("AveragesEditLabel").isEnabled(), c.Averages);
    EXPECT_EQ(Check("StdDevBox").isEnabled(), c.StdDev);
  }
}

TEST_F(SpectrumAna, ThePeakTraceRulesAndAllKeepingTheMethod) {
  Open();
  struct TCase {
    int Item;
    bool TraceInterval, Harmonics, Largest;
    sig::TPeakTraceMethod Method;
  };
  // "All" leaves the interval and the harmonics as the item before left them.
  const TCase cases[] = {
      {1, true, true, false, sig::ptCurrent},           {5, true, true, false, sig::ptCurrent},
      {0, false, false, false, sig::ptNone},            {5, false, false, false, sig::ptNone},
      {2, false, false, true, sig::ptLargest},          {5, false, false, false, sig::ptLargest},
      {3, false, true, false, sig::ptAmpltHarmonics},   {4, true, true, false, sig::ptFreqHarmonics},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Item);
    Combo("PeakTraceBox").setCurrentIndex(c.Item);
    EXPECT_EQ(Edit("TraceIntervalEdit").isEnabled(), c.TraceInterval);
    EXPECT_EQ(Edit("HarmonicsEdit").isEnabled(), c.Harmonics);
    EXPECT_EQ(Edit("LargestEdit").isEnabled(), c.Largest);
    EXPECT_EQ(FAnalyzer->Peaks().TraceMethod(), c.Method);
  }
}

TEST_F(SpectrumAna, LiveOffWritesWithoutUpdatingUntilUpdate) {
  TSpectrumAnaForm& form = Open(false);
  const std::vector<double> shown = Values(*FLine->YValues());
  Combo("WindowBox").setCurrentIndex(dsp::wtHanning);
  Combo("SpectrumTypeBox").setCurrentIndex(dsp::spRMS);
  EXPECT_EQ(FAnalyzer->Window(), dsp::wtHanning);
  EXPECT_EQ(FAnalyzer->SpectrumType(), dsp::spRMS);
  EXPECT_EQ(FUpdates, 0);
  EXPECT_EQ(Values(*FLine->YValues()), shown);
  ASSERT_TRUE(Control<QToolButton>(form, "ToolButton1").isVisible());
  Control<QToolButton>(form, "ToolButton1").click();
  EXPECT_EQ(FUpdates, 1);
  EXPECT_NE(Values(*FLine->YValues()), shown);
  EXPECT_TRUE(SeriesShowsSpectrum());
}

TEST_F(SpectrumAna, LiveOnRecomputesAtEachChange) {
  TSpectrumAnaForm& form = Open(true);
  EXPECT_FALSE(Control<QToolButton>(form, "ToolButton1").isVisible());
  Combo("WindowBox").setCurrentIndex(dsp::wtHanning);
  EXPECT_EQ(FUpdates, 1);
  EXPECT_TRUE(SeriesShowsSpectrum());
  // Buttons that act on the analyser directly recompute nothing more.
  C<QPushButton>("ResetButton").click();
  EXPECT_EQ(FAnalyzer->Stats().Averaged(), 0u);
  EXPECT_EQ(FUpdates, 1);
}

TEST_F(SpectrumAna, UpdatePeaksMarksThemNow) {
  FAnalyzer->Peaks().SetTraceMethod(sig::ptLargest);
  FAnalyzer->Peaks().SetLargestCount(2);
  FAnalyzer->Marks().Clear();
  Open();
  ShowPage("PeaksSheet");
  C<QPushButton>("UpdatePeaksButton").click();
  ASSERT_EQ(FAnalyzer->Marks().Count(), 2);
  FAnalyzer->Marks().SortByFirst();
  EXPECT_DOUBLE_EQ(FAnalyzer->Marks().GetMark(0).First, 100.0);
  EXPECT_DOUBLE_EQ(FAnalyzer->Marks().GetMark(1).First, 200.0);
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(SpectrumAna, CancelRestoresEverySettingWithBandTemplatesAndUpdatesOnce) {
  AddBandTemplates();
  FAnalyzer->Update();
  const std::string before = Parameters(*FAnalyzer);
  TSpectrumAnaForm& form = Open(false);
  QPointer<TSpectrumAnaForm> guard(&form);
  Combo("MethodsBox").setCurrentIndex(2);
  Combo("WindowBox").setCurrentIndex(9);
  Type(Edit("SidelobeAttBox"), "70");
  Combo("AveragingTypeBox").setCurrentIndex(3);
  Combo("PeakTraceBox").setCurrentIndex(2);
  Check("IncludeRMSBox").click();
  ShowPage("BandsSheet");
  Type(Edit("StartEdit"), "35");
  QTest::keyClick(&Edit("StartEdit"), Qt::Key_Return);
  ASSERT_EQ(FAnalyzer->Bands().GetBand(0).F2, 35.0);
  FDialogs.InputAnswers.push_back("Thirds");
  C<QPushButton>("NewButton").click();
  ASSERT_EQ(FAnalyzer->Bands().Templates().Count(), 3);
  ASSERT_NE(Parameters(*FAnalyzer), before);

  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(Parameters(*FAnalyzer), before);
  EXPECT_EQ(FUpdates, 1);
  EXPECT_FALSE(FAnalyzer->EditorOpen());
  EXPECT_FALSE(FAnalyzer->OnDisplayUpdate());
  EXPECT_EQ(FAnalyzer->Input(), &FSignal);
  FreeClosedForms();
  EXPECT_TRUE(guard.isNull());
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_EQ(FAnalyzer->Bands().TemplateName(), "Octaves");
  EXPECT_EQ(FAnalyzer->Bands().GetBand(0).F2, 20.0);

  // The window's redraw and the chart are still bound.
  FAnalyzer->SetWindow(dsp::wtHanning);
  FAnalyzer->ParameterUpdate(nullptr);
  EXPECT_EQ(FUpdates, 2);
  EXPECT_TRUE(SeriesShowsSpectrum());
}

TEST_F(SpectrumAna, OkKeepsTheTemplateChosenInTheComboBox) {
  AddBandTemplates();
  TSpectrumAnaForm& form = Open(true);
  ShowPage("BandsSheet");
  QComboBox& templates = Combo("TemplateCombo");
  EXPECT_EQ(ItemStrings(templates), (std::vector<std::string>{"Single", "Octaves"}));
  EXPECT_EQ(templates.currentText(), "Octaves");
  EXPECT_EQ(BandsBox().topLevelItemCount(), 2);
  templates.setFocus();
  QTest::keyClick(&templates, Qt::Key_Up);
  EXPECT_EQ(templates.currentText(), "Single");
  ASSERT_EQ(BandsBox().topLevelItemCount(), 1);
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "95<->105");
  const int updates = FUpdates;
  Control<QToolButton>(form, "OKButton").click();
  EXPECT_EQ(FAnalyzer->Bands().TemplateName(), "Single");
  EXPECT_EQ(FAnalyzer->Bands().Template().Count(), 1);
  EXPECT_EQ(FUpdates, updates + 1);
  EXPECT_FALSE(FAnalyzer->EditorOpen());
}

TEST_F(SpectrumAna, TypingAnEdgeKeepsTheBandsEdgesInOrder) {
  sig::TSpectrumBandsAnalyzer& bands = FAnalyzer->Bands();
  bands.AddEmptyTemplate("Bands");
  bands.Template().AddBand(SpectrumBand(10, 20, 30, 40));
  Open(false);
  ShowPage("BandsSheet");
  ASSERT_EQ(BandsBox().topLevelItemCount(), 1);
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "20<->30");
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(2), "0.000");
  EXPECT_EQ(Edit("StartEdit").Position(), 20);

  // Live off: typing alone changes nothing; Enter commits.
  Type(Edit("StartEdit"), "35");
  EXPECT_EQ(bands.GetBand(0).F2, 20.0);
  QTest::keyClick(&Edit("StartEdit"), Qt::Key_Return);
  const sig::TSpectrumBandRecord& band = bands.GetBand(0);
  EXPECT_EQ((std::vector<double>{band.F1, band.F2, band.F3, band.F4}), (std::vector<double>{10, 35, 35, 40}));
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "35<->35");
  EXPECT_EQ(Edit("EndEdit").Position(), 35);
  EXPECT_EQ(FBeeps, 0);

  // Leaving a field commits too.
  Type(Edit("EndTransEdit"), "5");
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(&Edit("EndTransEdit"), &out);
  EXPECT_EQ((std::vector<double>{band.F1, band.F2, band.F3, band.F4}), (std::vector<double>{5, 5, 5, 5}));
  EXPECT_EQ(Edit("StartTransEdit").Position(), 5);
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(SpectrumAna, LiveBandEditsCommitAtEachChange) {
  sig::TSpectrumBandsAnalyzer& bands = FAnalyzer->Bands();
  bands.AddEmptyTemplate("Bands");
  bands.Template().AddBand(SpectrumBand(90, 95, 105, 110));
  Open(true);
  ShowPage("BandsSheet");
  // Each keystroke commits, and what is typed stays as typed.
  Type(Edit("StartEdit"), "98");
  EXPECT_EQ(Edit("StartEdit").text(), "98");
  EXPECT_EQ(bands.GetBand(0).F2, 98.0);
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "98<->105");
  Combo("ReferenceBox").setCurrentIndex(3);
  EXPECT_EQ(bands.GetBand(0).Reference, 3);
  EXPECT_TRUE(Edit("BandsPeakNumberEdit").isVisibleTo(&C<QWidget>("BandsSheet")));
  EXPECT_FALSE(C<QLabel>("HzLabel1").isVisibleTo(&C<QWidget>("BandsSheet")));
  Combo("ReferenceBox").setCurrentIndex(0);
  EXPECT_TRUE(C<QLabel>("HzLabel1").isVisibleTo(&C<QWidget>("BandsSheet")));
  Check("BandsRMSBox").click();
  EXPECT_TRUE(bands.GetBand(0).AdjustForType);
  // The update computed the band's level, which its line shows.
  EXPECT_NEAR(bands.GetBand(0).Rms, std::sqrt(0.5), 1e-9) << bands.GetBand(0).F1;
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(2), "0.707");
  // Unchecking the line's box makes the band inactive.
  BandsBox().topLevelItem(0)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(bands.GetBand(0).Active);
  EXPECT_GT(FUpdates, 2);
}

// Live, the first digits of a number reach the analyser as typed and push no
// other edge away; the edges are put in order once the field is left.
TEST_F(SpectrumAna, LiveTypingKeepsTheOtherEdgesUntilTheFieldIsLeft) {
  sig::TSpectrumBandsAnalyzer& bands = FAnalyzer->Bands();
  bands.AddEmptyTemplate("Bands");
  bands.Template().AddBand(SpectrumBand(10, 20, 30, 40));
  Open(true);
  ShowPage("BandsSheet");
  const sig::TSpectrumBandRecord& band = bands.GetBand(0);
  const auto edges = [&] { return std::vector<double>{band.F1, band.F2, band.F3, band.F4}; };
  // 25 passes through 2, which lies below both start edges.
  Type(Edit("EndEdit"), "25");
  EXPECT_EQ(edges(), (std::vector<double>{10, 20, 25, 40}));
  EXPECT_EQ(Edit("EndEdit").text(), "25");
  EXPECT_EQ(Edit("StartEdit").Position(), 20);
  const int updates = FUpdates;
  EXPECT_GT(updates, 0);
  // A start typed past the end stays as typed while it is typed...
  Type(Edit("StartEdit"), "35");
  EXPECT_EQ(edges(), (std::vector<double>{10, 35, 25, 40}));
  EXPECT_EQ(Edit("EndEdit").Position(), 25);
  // ...and leaving the field moves the end to it, never the start typed.
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&Edit("StartEdit"), &out);
  EXPECT_EQ(edges(), (std::vector<double>{10, 35, 35, 40}));
  EXPECT_EQ(Edit("EndEdit").Position(), 35);
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "35<->35");
  EXPECT_GT(FUpdates, updates);
}

TEST_F(SpectrumAna, AddBandNeedsATemplateFirst) {
  Open();
  ShowPage("BandsSheet");
  C<QPushButton>("AddSignalButton").click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Define template name first.");
  EXPECT_EQ(FAnalyzer->Bands().Template().Count(), 0);
  EXPECT_EQ(BandsBox().topLevelItemCount(), 0);

  FDialogs.InputAnswers.push_back("Mine");
  C<QPushButton>("NewButton").click();
  C<QPushButton>("AddSignalButton").click();
  ASSERT_EQ(FAnalyzer->Bands().Template().Count(), 1);
  ASSERT_EQ(BandsBox().topLevelItemCount(), 1);
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(1), "0<->0");
  EXPECT_EQ(BandsBox().topLevelItem(0)->text(2), "0.000");
  EXPECT_TRUE(Edit("StartEdit").isEnabled());
  C<QPushButton>("DeleteBandButton").click();
  EXPECT_EQ(FAnalyzer->Bands().Template().Count(), 0);
}

TEST_F(SpectrumAna, DoubleClickingTheBandsChangesTheirRmsFormat) {
  AddBandTemplates();
  FAnalyzer->Update();
  TSpectrumAnaForm& form = Open();
  ShowPage("BandsSheet");
  FDialogs.InputAnswers.push_back("0.0");
  QTreeWidget& list = BandsBox();
  emit list.itemDoubleClicked(list.topLevelItem(1), 1);
  ASSERT_EQ(FDialogs.InputQueries.size(), 1u);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "Change RMS number format");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "New float format:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "0.000");
  EXPECT_EQ(form.FormatFloatRMS(), "0.0");
  EXPECT_EQ(list.topLevelItem(1)->text(2), "0.1");
  // The selected line is shown last.
  EXPECT_EQ(Edit("StartEdit").Position(), 20);
}

// Stay on top only keeps the window above the others: the dialog sets it as
// the form opens, and a shown band must stay editable.
TEST_F(SpectrumAna, TheBandEditsAreEnabledWhileABandIsShown) {
  AddBandTemplates();
  TSpectrumAnaForm& form = Open();
  EXPECT_TRUE(Edit("StartEdit").isEnabled());
  Control<QAction>(form, "Stayontop1").trigger();
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(Edit("StartEdit").isEnabled());
  // Without a band shown the edits would edit nothing.
  BandsBox().clearSelection();
  EXPECT_FALSE(Edit("StartEdit").isEnabled());
  Control<QAction>(form, "Stayontop1").trigger();
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(Edit("StartEdit").isEnabled());
  EXPECT_FALSE(Combo("ReferenceBox").isEnabled());
  EXPECT_FALSE(Check("BandsRMSBox").isEnabled());
}

class SpectrumAnaInfo : public SpectrumAna {
 protected:
  void Mark(double F, double A) { FAnalyzer->Marks().AddMark({F, A, 0, 0}); }
};

TEST_F(SpectrumAnaInfo, TheTimingLabelsFollowEachUpdate) {
  Open();
  ShowPage("InfoSheet");
  EXPECT_EQ(C<QLabel>("FSLabel").text(), "Sampling frequency: 1024 [Hz]");
  EXPECT_EQ(C<QLabel>("NyquistLabel").text(), "Bandwidth: 512 [Hz]");
  EXPECT_EQ(C<QLabel>("SamplesAnaLabel").text(), "Samples analyzed: 1024");
  EXPECT_EQ(C<QLabel>("SignalLenLabel").text(), "Signal length: 1 [s]");
  EXPECT_EQ(C<QLabel>("FreqResLabel").text(), "Frequency resolution: 1 [Hz]");
  EXPECT_EQ(C<QLabel>("FreqBinsLabel").text(), "Frequency bins: 512");
  EXPECT_EQ(C<QLabel>("FreqBinSpaceLabel").text(), "Frequency bin spacing: 1 [Hz]");
  EXPECT_EQ(C<QLabel>("AveragesMade").text(), "Averages made: 0");
  FAnalyzer->Stats().SetAveraging(sig::avLinearInf);
  FSignal.Data().Size(2048, false);
  FSignal.SetSamplingFrequency(2048);
  FAnalyzer->Update();
  FAnalyzer->Update();
  EXPECT_EQ(C<QLabel>("SamplesAnaLabel").text(), "Samples analyzed: 2048");
  EXPECT_EQ(C<QLabel>("FSLabel").text(), "Sampling frequency: 2048 [Hz]");
  EXPECT_EQ(C<QLabel>("AveragesMade").text(), "Averages made: 2");
  EXPECT_EQ(C<QLabel>("AveragesMadeLabel").text(), "Averages made: 2");
}

TEST_F(SpectrumAnaInfo, CaptionsAndMessagesOfTheMeasures) {
  struct TCase {
    const char* What;
    std::function<void()> Setup;
    std::vector<const char*> Checked;
    std::string Message;
  };
  const TCase cases[] = {
      {"two marks",
       [&] {
         Mark(10, 1.0);
         Mark(20, 0.0125);
       },
       {"THDBox"}, ""},
      {"one mark", [&] { Mark(10, 1.0); }, {"NFBox"}, "THD and SFDR require at least two marked peaks!"},
      {"no mark", [] {}, {"SFDRBox"}, "No peaks have been marked!"},
      {"logarithmic", [&] { FAnalyzer->SetLogarithmic(true); }, {"SNRBox"}, "Spectrum scale is not linear!"},
      {"RMS alone", [] {}, {"RMSBOx"}, ""},
      {"RMS with power",
       [&] {
         FAnalyzer->SetSpectrumType(dsp::spPower);
         Mark(10, 1.0);
       },
       {"THDBox", "RMSBOx"}, "RMS: spectrum type is not peak amplitude!"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    FAnalyzer->Marks().Clear();
    FAnalyzer->SetLogarithmic(false);
    FAnalyzer->SetSpectrumType(dsp::spAmplt);
    c.Setup();
    TSpectrumAnaForm& form = Open();
    ShowPage("InfoSheet");
    for (const char* box : c.Checked) Check(box).click();
    EXPECT_EQ(C<QLabel>("MessageLabel").text().toStdString(), c.Message);
    form.CloseForm(false);
    FreeClosedForms();
  }
}

TEST_F(SpectrumAnaInfo, ACheckedMeasureShowsItsValue) {
  Mark(10, 1.0);
  Mark(20, 0.0125);
  TSpectrumAnaForm& form = Open();
  ShowPage("InfoSheet");
  EXPECT_EQ(Check("THDBox").text(), "THD");
  Check("THDBox").click();
  EXPECT_EQ(Check("THDBox").text(), "THD = 1.25 [%]");
  Check("THDBox").click();
  EXPECT_EQ(Check("THDBox").text(), "THD");
  // The measures of the analyser's own marks after an update.
  FAnalyzer->Peaks().SetTraceMethod(sig::ptLargest);
  FAnalyzer->Peaks().SetLargestCount(2);
  Check("THDBox").click();
  Check("RMSBOx").click();
  FAnalyzer->Update();
  EXPECT_EQ(Check("THDBox").text(), "THD = 10.00 [%]");
  EXPECT_EQ(Check("RMSBOx").text().toStdString(),
            "RMS = " + classlib::FloatToStrF(FAnalyzer->BandRMS(FAnalyzer->PaddingRatio()), classlib::ffGeneral, 7, 0));
  form.CloseForm(false);
}

TEST_F(SpectrumAna, CopyToClipboardPutsTheReport) {
  FAnalyzer->Peaks().SetTraceMethod(sig::ptLargest);
  FAnalyzer->Peaks().SetLargestCount(2);
  FAnalyzer->Update();
  // The measures sort the marks by frequency; so does the first report.
  FAnalyzer->Marks().SortByFirst();
  Open();
  ShowPage("ReportSheet");
  for (const char* box : {"IncludeInfoBox", "IncludePeaksBox", "IncludeTHDBox", "IncludeRMSBox"}) Check(box).click();
  Type(C<QLineEdit>("FreqFormatEdit"), "0.0");
  QApplication::clipboard()->clear();
  C<QPushButton>("ReportButton").click();
  classlib::TStringList lines;
  FAnalyzer->Report().BuildReport(lines);
  std::string expected;
  for (int i = 0; i < lines.Count(); ++i) expected += lines.Strings(i) + "\n";
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
  EXPECT_NE(expected.find("Total harmonic distortion (THD): 10.00 [%]"), std::string::npos);
  EXPECT_NE(expected.find("100.0"), std::string::npos);
}

TEST_F(SpectrumAna, LoadingSettingsRefillsAndMayAppendTheBandTemplates) {
  AddBandTemplates();
  FAnalyzer->SetWindow(dsp::wtHamming);
  TSpectrumAnaForm& form = Open();
  const std::string file = FDir.File("settings.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Save1").trigger();

  Combo("WindowBox").setCurrentIndex(dsp::wtBlackman);
  FDialogs.InputAnswers.push_back("Thirds");
  C<QPushButton>("NewButton").click();
  ASSERT_EQ(FAnalyzer->Bands().Templates().Count(), 3);

  // A cancelled file dialog changes nothing and asks nothing.
  FDialogs.FileChoices.push_back(std::nullopt);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FAnalyzer->Window(), dsp::wtBlackman);
  EXPECT_TRUE(FDialogs.Shown.empty());

  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrNo);
  Control<QAction>(form, "Load1").trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Append existing bands templates?");
  EXPECT_EQ(FAnalyzer->Window(), dsp::wtHamming);
  EXPECT_EQ(Combo("WindowBox").currentText(), "Hamming");
  EXPECT_EQ(ItemStrings(Combo("TemplateCombo")), (std::vector<std::string>{"Single", "Octaves"}));

  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrYes);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(ItemStrings(Combo("TemplateCombo")), (std::vector<std::string>{"Single", "Octaves", "Single", "Octaves"}));
  EXPECT_EQ(FUpdates, 0);
  // With Live on, what was loaded is computed at once.
  Control<QAction>(form, "Live1").trigger();
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrNo);
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FUpdates, 1);
  EXPECT_TRUE(SeriesShowsSpectrum());
  // Cancel still goes back to the settings of the opening.
  FAnalyzer->SetWindow(dsp::wtFlatTop);
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(FAnalyzer->Window(), dsp::wtHamming);
  EXPECT_EQ(FAnalyzer->Bands().Templates().Count(), 2);
}

// Each page drawn: its first control's text is on the picture where the
// control is, and the Info page shows its message in red.
TEST_F(SpectrumAnaInfo, APictureOfEachPage) {
  AddBandTemplates();
  FAnalyzer->Update();
  TSpectrumAnaForm& form = Open();
  Check("THDBox").setChecked(true);
  form.BuildReport();
  const std::vector<std::pair<const char*, const char*>> pages = {
      {"BasicSheet", "MethodsBox"},   {"AveragingSheet", "AveragingTypeBox"}, {"PeaksSheet", "PeakTraceBox"},
      {"BandsSheet", "BandsBox"},     {"OrderSheet", "OrderEdit"},           {"PhaseSheet", "PhaseModeBox"},
      {"InfoSheet", "FSLabel"},       {"ReportSheet", "IncludeInfoBox"},
  };
  for (const auto& [page, control] : pages) {
    SCOPED_TRACE(page);
    ShowPage(page);
    QApplication::processEvents();
    const QImage image = ui::Screenshot(form, std::string("SpectrumAnaForm_") + page);
    QWidget& c = C<QWidget>(control);
    ASSERT_TRUE(c.isVisible());
    const QRect r(c.mapTo(&form, QPoint(0, 0)), c.size());
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(image.pixel(x, y)) < 96) ++dark;
    EXPECT_GT(dark, 10) << control;
  }
  ShowPage("InfoSheet");
  QLabel& message = C<QLabel>("MessageLabel");
  ASSERT_EQ(message.text(), "No peaks have been marked!");
  const QImage image = form.grab().toImage();
  const QRect r(message.mapTo(&form, QPoint(0, 0)), message.size());
  int red = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (p.red() > 120 && p.green() < 60 && p.blue() < 60) ++red;
    }
  EXPECT_GT(red, 10);
}

}  // namespace
}  // namespace analysis_ui
