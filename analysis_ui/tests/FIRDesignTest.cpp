// The filter design form, opened by a component dialog beside a filter that
// runs on a signal and recomputes at every parameter update, as a window
// holding them would: filling from the filter, which pages and controls
// each response shows, the property each control writes, the band edits
// and their coupling, the band check's verdicts and their timer, the live
// design and "Update", the bounds of the factors and lengths, the taps in
// the vector editor, Cancel and OK, and a picture of each layout.
// Covers: analysis_ui/FIRDesignForm.cpp, analysis_ui/FIRDesignPages.cpp,
// analysis_ui/FIRDesignBands.cpp, analysis_ui/EditorControls.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/FIRDesign.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/NumoraEdit.h"
#include "analysis_ui/StringGrid.h"
#include "numeric/MathCore.h"
#include "analysis_ui/tests/EditorFormTestSupport.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/SignalFilter.h"

namespace analysis_ui {
namespace {

using editorformtests::Enter;
using editorformtests::FocusAndType;
using editorformtests::Ink;
using editorformtests::Parameters;
using ui::Control;

sig::TFilterBand Band(double Start, double Stop, double Gain, double Ripple) {
  sig::TFilterBand b;
  b.Start = Start;
  b.Stop = Stop;
  b.Gain = Gain;
  b.Ripple = Ripple;
  b.Checked = true;
  return b;
}

// The darkest grey within a rectangle: enabled text is near black, disabled grey.
int Darkest(const QImage& image, const QRect& r) {
  int darkest = 255;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

// A component dialog over any component, as a window would place one.
class TFilterDialog : public TMtxDialog {
 public:
  void SetSource(sig::TSignalFilter* f) { SetSourceComponent(f); }
};

class FIRDesign : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FInput.Data().Size(512, false);
    for (int j = 0; j < 512; ++j) FInput.Data().Values()[j] = std::sin(0.05 * j) + 0.2 * std::sin(2.5 * j);
    FInput.SetSamplingFrequency(1000);
    FFilter = std::make_unique<sig::TSignalFilter>();
    FFilter->SetName("SignalFilter1");
    FFilter->SetInput(&FInput);
    // The window's redraw: every parameter update recomputes the filter.
    FFilter->SetOnParameterUpdate([this](classlib::TPersistent*) {
      ++FUpdates;
      FFilter->Update();
    });
    FDialog = std::make_unique<TFilterDialog>();
    FDialog->SetName("FilterDialog1");
    FDialog->SetSource(FFilter.get());
  }
  void TearDown() override {
    FDialog.reset();
    FreeClosedForms();
    FFilter.reset();
    TWindowTest::TearDown();
  }

  // A template "Lowpass", current, with a pass band to 0.2 and a stop band from 0.3 (FS 2).
  void Lowpass() {
    FFilter->Filters().AddEmptyTemplate("Lowpass");
    FFilter->Filters().Template().AddBand(Band(0, 0.2, 1, 0.5));
    FFilter->Filters().Template().AddBand(Band(0.3, 1, 0, 40));
  }

  TFIRDesignForm& Open(bool live = false) {
    FDialog->SetShowLive(live);
    FDialog->Execute();
    auto* form = dynamic_cast<TFIRDesignForm*>(FDialog->EditorForm());
    if (form == nullptr) throw std::runtime_error("no filter design form");
    // Focus moves as a user's clicks move it: leaving a field commits it.
    QApplication::setActiveWindow(form);
    return *form;
  }
  TFIRDesignForm& Form() const { return *static_cast<TFIRDesignForm*>(FDialog->EditorForm()); }
  static void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  template <class T>
  T& C(const char* name) {
    return Control<T>(*FDialog->EditorForm(), name);
  }
  TMtxFloatEdit& Edit(const char* name) { return C<TMtxFloatEdit>(name); }
  QComboBox& Combo(const char* name) { return C<QComboBox>(name); }
  QTabWidget& Pages() { return C<QTabWidget>("PageControl1"); }
  // Selects line Index of the band list as a click does.
  void SelectBand(int Index) {
    auto& list = C<TMtxGridView>("BandsBox");
    list.setCurrentItem(list.Line(Index));
  }
  std::vector<std::string> LineTexts(int Index) {
    QTreeWidgetItem* line = C<TMtxGridView>("BandsBox").Line(Index);
    std::vector<std::string> texts;
    for (int c = 0; c < 4; ++c) texts.push_back(line->text(c).toStdString());
    return texts;
  }
  // Ticks the band check's timer by hand.
  void TickTimer1() { QMetaObject::invokeMethod(&C<QTimer>("Timer1"), "timeout"); }

  sig::TSignal FInput;
  std::unique_ptr<sig::TSignalFilter> FFilter;
  std::unique_ptr<TFilterDialog> FDialog;
  int FUpdates = 0;
};

TEST_F(FIRDesign, OpensThroughTheDialogFilledFromTheFilter) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  FFilter->SetFirMethod(sig::fimParksMcClellan);
  FFilter->SetWindow(dsp::wtHamming);
  FFilter->SetGridDensity(20);
  FFilter->SetAutoFilterOrder(false);
  FFilter->SetFirLength(31);
  FFilter->SetBeta(5.5);
  FFilter->SetDownSample(3);
  FFilter->SetDownDelay(2);
  FFilter->SetIirMethod(dsp::fimElliptic);
  FFilter->SetWavelet(dsp::wtCoiflet);
  TFIRDesignForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Filter design");
  EXPECT_TRUE(FFilter->EditorOpen());
  EXPECT_EQ(Combo("ResponseBox").currentText(), "Fir");
  EXPECT_EQ(Combo("FirMethodEdit").currentText(), "Parks-McClellan");
  EXPECT_EQ(Combo("WindowEdit").currentText(), "Hamming");
  EXPECT_EQ(Combo("IirMethodEdit").currentText(), "Elliptic");
  EXPECT_EQ(Combo("WavltEdit").currentText(), "Coiflet");
  EXPECT_EQ(Edit("GridDensityEdit").text(), "20");
  EXPECT_EQ(Edit("BetaEdit").text(), "5.50");
  EXPECT_EQ(Edit("NormalizedFrequencyEdit").text(), " 2.00");
  EXPECT_FALSE(C<QCheckBox>("AutoLengthBox").isChecked());
  EXPECT_TRUE(C<QCheckBox>("NormalizationBox").isChecked());
  EXPECT_EQ(Edit("DownFactorEdit").text(), "3");
  EXPECT_EQ(Edit("DownDelayEdit").text(), "2");
  // The filter was designed as the form opened: the length is the design's.
  EXPECT_TRUE(FFilter->Designed());
  EXPECT_EQ(Edit("FirLengthEdit").IntPosition(), FFilter->FirLength());
  EXPECT_EQ(FFilter->Taps().Length(), FFilter->FirLength());

  ASSERT_EQ(Combo("TemplateCombo").count(), 1);
  EXPECT_EQ(Combo("TemplateCombo").currentText(), "Lowpass");
  auto& list = C<TMtxGridView>("BandsBox");
  ASSERT_EQ(list.LineCount(), 2);
  EXPECT_EQ(LineTexts(0), (std::vector<std::string>{"1", "0.000<->0.200", "0.5", "1"}));
  EXPECT_EQ(LineTexts(1), (std::vector<std::string>{"2", "0.300<->1.000", "40", "0"}));
  EXPECT_EQ(list.Line(0)->checkState(0), Qt::Checked);
  // The first band is in the edits.
  EXPECT_EQ(Edit("BandEndEdit").Position(), 0.2);
  EXPECT_EQ(Combo("PassStopBox").currentText(), "Pass band");
}

// Which pages and controls each response shows (the Kaiser window and Auto
// length, as a new filter has them).
TEST_F(FIRDesign, EachResponseShowsItsPagesAndControls) {
  Lowpass();
  struct TCase {
    const char* Response;
    bool Designer, Processing;
    const char* Shown;    // visible, among the controls that come and go
    const char* Enabled;  // enabled, among the controls that are disabled for some responses
  };
  const TCase cases[] = {
      {"Unit", false, false, "", ""},
      {"Fir", true, true, "FirLengthEdit AutoLengthBox", "FirMethodEdit WindowEdit NormalizedFrequencyEdit"},
      {"Differentiator", true, false, "FirLengthEdit AutoLengthBox", "FirMethodEdit WindowEdit NormalizedFrequencyEdit"},
      {"Differentiator 2x", true, false, "GridDensityEdit FirLengthEdit AutoLengthBox", "NormalizedFrequencyEdit"},
      {"Integrator", true, false, "GridDensityEdit FirLengthEdit AutoLengthBox", "NormalizedFrequencyEdit"},
      {"Integrator 2x", true, false, "GridDensityEdit FirLengthEdit AutoLengthBox", "NormalizedFrequencyEdit"},
      {"Hilbert", true, false, "FirLengthEdit AutoLengthBox", "FirMethodEdit WindowEdit NormalizedFrequencyEdit"},
      {"Iir", true, false, "PolyOrderEdit AutoOrderbox",
       "IirMethodEdit IirFrequencyTransformBox NormalizedFrequencyEdit"},
      {"Savitzky-Golay", false, false, "FirLengthEdit PolyOrderEdit", "FirLengthEdit PolyOrderEdit"},
      {"Moving average", false, false, "FirLengthEdit", "FirLengthEdit"},
      {"Median", false, false, "FirLengthEdit", "FirLengthEdit"},
      {"Envelope detector", false, false, "FirLengthEdit", "FirLengthEdit"},
      {"Wavelet", false, false, "WavltDecompEdit WavltEdit1 WavltEdit2", "WavltEdit"},
      {"Integer delay", false, false, "FirLengthEdit", "FirLengthEdit"},
  };
  const char* comesAndGoes[] = {"GridDensityEdit", "PolyOrderEdit", "AutoOrderbox", "AutoLengthBox",
                                "FirLengthEdit",   "WavltEdit1",    "WavltEdit2",   "WavltDecompEdit"};
  const char* enabledOrNot[] = {"IirMethodEdit", "FirMethodEdit", "WindowEdit", "FirLengthEdit",
                                "BetaEdit",      "NormalizedFrequencyEdit", "WavltEdit", "IgnoreAttBox",
                                "IirFrequencyTransformBox"};
  const auto in = [](const char* list, const char* name) {
    const std::string l = std::string(" ") + list + " ";
    return l.find(std::string(" ") + name + " ") != std::string::npos;
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Response);
    TFIRDesignForm& form = Open();
    Combo("ResponseBox").setCurrentText(c.Response);
    EXPECT_EQ(FFilter->Response(), Combo("ResponseBox").currentIndex());
    EXPECT_EQ(Pages().isTabVisible(1), c.Designer);
    EXPECT_EQ(Pages().isTabVisible(2), c.Processing);
    QWidget& page = *Pages().widget(0);
    for (const char* name : comesAndGoes) EXPECT_EQ(C<QWidget>(name).isVisibleTo(&page), in(c.Shown, name)) << name;
    for (const char* name : enabledOrNot) {
      // Only controls on view count: a hidden one's state is not the user's concern.
      if (!C<QWidget>(name).isVisibleTo(&page)) continue;
      EXPECT_EQ(C<QWidget>(name).isEnabled(), in(c.Enabled, name)) << name;
    }
    // Each caption follows its field.
    EXPECT_EQ(C<QLabel>("LengthLabel").isVisibleTo(&page), in(c.Shown, "FirLengthEdit"));
    EXPECT_EQ(C<QLabel>("PolyLabel").isVisibleTo(&page), in(c.Shown, "PolyOrderEdit"));
    EXPECT_EQ(C<QLabel>("GridLabel").isVisibleTo(&page), in(c.Shown, "GridDensityEdit"));
    EXPECT_EQ(C<QLabel>("WavltDecompLabel").isVisibleTo(&page), in(c.Shown, "WavltDecompEdit"));
    // The response is the user's until Cancel.
    form.CloseForm(true);
    FreeClosedForms();
    EXPECT_EQ(FFilter->Response(), sig::rstUnit);
  }
}

TEST_F(FIRDesign, TheFirMethodAndWindowChooseTheFieldsTheDesignReads) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  FFilter->SetAutoFilterOrder(false);
  Open();
  struct TCase {
    int Method, Window;
    bool Grid, Length, Beta, IgnoreAtt, AutoLength, WindowEnabled;
  };
  const TCase cases[] = {
      {sig::fimWindow, dsp::wtKaiser, false, true, true, true, true, true},
      {sig::fimWindow, dsp::wtBlackman, false, true, true, false, false, true},
      {sig::fimWindow, dsp::wtHanning, false, true, false, false, false, true},
      {sig::fimParksMcClellan, dsp::wtHanning, true, true, false, false, true, false},
  };
  QWidget& page = *Pages().widget(0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Method) + " " + std::to_string(c.Window));
    Combo("FirMethodEdit").setCurrentIndex(0);
    Combo("WindowEdit").setCurrentIndex(c.Window);
    Combo("FirMethodEdit").setCurrentIndex(c.Method);
    EXPECT_EQ(FFilter->FirMethod(), c.Method);
    EXPECT_EQ(FFilter->Window(), c.Window);
    EXPECT_EQ(C<QWidget>("GridDensityEdit").isVisibleTo(&page), c.Grid);
    EXPECT_EQ(C<QWidget>("FirLengthEdit").isEnabled(), c.Length);
    EXPECT_EQ(C<QWidget>("BetaEdit").isEnabled(), c.Beta);
    EXPECT_EQ(C<QWidget>("IgnoreAttBox").isEnabled(), c.IgnoreAtt);
    EXPECT_EQ(C<QWidget>("AutoLengthBox").isVisibleTo(&page), c.AutoLength);
    EXPECT_EQ(C<QWidget>("WindowEdit").isEnabled(), c.WindowEnabled);
  }
  // Auto length takes the length and the Kaiser window's beta from the bands.
  Combo("FirMethodEdit").setCurrentIndex(sig::fimWindow);
  Combo("WindowEdit").setCurrentIndex(dsp::wtKaiser);
  ui::ClickButton(&C<QCheckBox>("AutoLengthBox"));
  EXPECT_TRUE(FFilter->AutoFilterOrder());
  EXPECT_FALSE(C<QWidget>("FirLengthEdit").isEnabled());
  EXPECT_FALSE(C<QWidget>("BetaEdit").isEnabled());
  EXPECT_FALSE(C<QWidget>("IgnoreAttBox").isEnabled());
  // The other box of the same property shows it too.
  EXPECT_TRUE(C<QCheckBox>("AutoOrderbox").isChecked());
}

TEST_F(FIRDesign, TheIirMethodAndTheWaveletChooseTheirFields) {
  Lowpass();
  FFilter->SetResponse(sig::rstIIR);
  Open();
  for (int m = 0; m < Combo("IirMethodEdit").count(); ++m) {
    Combo("IirMethodEdit").setCurrentIndex(m);
    EXPECT_EQ(FFilter->IirMethod(), m);
    const bool transform = m != dsp::fimDC && m != dsp::fimNotch;
    EXPECT_EQ(C<QWidget>("IirFrequencyTransformBox").isEnabled(), transform) << m;
  }
  // Auto order: the order is estimated, its field grey.
  EXPECT_FALSE(C<QWidget>("PolyOrderEdit").isEnabled());
  ui::ClickButton(&C<QCheckBox>("AutoOrderbox"));
  EXPECT_FALSE(FFilter->AutoFilterOrder());
  EXPECT_TRUE(C<QWidget>("PolyOrderEdit").isEnabled());
  EXPECT_TRUE(C<QWidget>("PolyLabel").isEnabled());

  Combo("ResponseBox").setCurrentText("Wavelet");
  struct TCase {
    const char* Wavelet;
    const char* Max1;  // nullptr: the field is grey
    const char* Max2;
  };
  const TCase cases[] = {{"Haar", nullptr, nullptr},  {"Daublet", "10", nullptr}, {"Symlet", "7", nullptr},
                         {"Coiflet", "5", nullptr},   {"BSpline", "3", "9"},      {"BSpline dual", "3", "9"},
                         {"LinSpline", nullptr, nullptr}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Wavelet);
    Combo("WavltEdit").setCurrentText(c.Wavelet);
    EXPECT_EQ(FFilter->Wavelet(), Combo("WavltEdit").currentIndex());
    EXPECT_EQ(Edit("WavltEdit1").isEnabled(), c.Max1 != nullptr);
    EXPECT_EQ(C<QLabel>("WavltLabel1").isEnabled(), c.Max1 != nullptr);
    EXPECT_EQ(Edit("WavltEdit2").isEnabled(), c.Max2 != nullptr);
    if (c.Max1 != nullptr) {
      EXPECT_EQ(Edit("WavltEdit1").MaxValue(), c.Max1);
    }
    if (c.Max2 != nullptr) {
      EXPECT_EQ(Edit("WavltEdit2").MaxValue(), c.Max2);
    }
  }
  // A parameter beyond the new wavelet's bound is held at it.
  Combo("WavltEdit").setCurrentText("Daublet");
  FocusAndType(Edit("WavltEdit1"), "9");
  EXPECT_EQ(FFilter->WaveletP1(), 9);
  Combo("WavltEdit").setCurrentText("Coiflet");
  EXPECT_EQ(FFilter->WaveletP1(), 5);
  EXPECT_EQ(Edit("WavltEdit1").text(), "5");
}

// Each control writes its property: the response the control belongs to is
// chosen first, then the control is used as a user does.
TEST_F(FIRDesign, EveryControlWritesItsProperty) {
  Lowpass();
  FFilter->SetAutoFilterOrder(false);
  Open();
  struct TCase {
    const char* Response;
    const char* Control;
    const char* Input;  // typed into an edit or chosen in a combo box; nullptr: a check box clicked
    std::function<double()> Property;
    double Expected;
  };
  sig::TSignalFilter& f = *FFilter;
  const TCase cases[] = {
      {"Fir", "FirMethodEdit", "Parks-McClellan", [&] { return f.FirMethod(); }, sig::fimParksMcClellan},
      {"Fir", "GridDensityEdit", "24", [&] { return f.GridDensity(); }, 24},
      {"Fir", "NormalizedFrequencyEdit", "3", [&] { return f.NormalizedFrequency(); }, 3},
      {"Fir", "FirLengthEdit", "41", [&] { return f.FirLength(); }, 41},
      {"Fir", "AutoLengthBox", nullptr, [&] { return f.AutoFilterOrder(); }, 1},
      {"Fir", "AutoLengthBox", nullptr, [&] { return f.AutoFilterOrder(); }, 0},
      {"Fir", "FirMethodEdit", "Window", [&] { return f.FirMethod(); }, sig::fimWindow},
      {"Fir", "WindowEdit", "Blackman", [&] { return f.Window(); }, dsp::wtBlackman},
      {"Fir", "BetaEdit", "7.5", [&] { return f.Beta(); }, 7.5},
      {"Fir", "WindowEdit", "Kaiser", [&] { return f.Window(); }, dsp::wtKaiser},
      {"Fir", "IgnoreAttBox", nullptr, [&] { return f.IgnoreAtt(); }, 1},
      {"Fir", "DownFactorEdit", "3", [&] { return f.DownSample(); }, 3},
      {"Fir", "DownDelayEdit", "2", [&] { return f.DownDelay(); }, 2},
      {"Fir", "UpFactorEdit", "4", [&] { return f.UpSample(); }, 4},
      {"Fir", "UpDelayEdit", "1", [&] { return f.UpDelay(); }, 1},
      {"Fir", "NormalizationBox", nullptr, [&] { return f.UseNormalizedFrequency(); }, 0},
      {"Iir", "IirMethodEdit", "Chebyshev II", [&] { return f.IirMethod(); }, dsp::fimChebyshevII},
      {"Iir", "IirFrequencyTransformBox", "Zero-pole discrete", [&] { return f.IIRFrequencyTransform(); },
       dsp::ftZeroPoleDiscrete},
      {"Iir", "PolyOrderEdit", "6", [&] { return f.Order(); }, 6},
      {"Iir", "AutoOrderbox", nullptr, [&] { return f.AutoFilterOrder(); }, 1},
      {"Wavelet", "WavltEdit", "BSpline", [&] { return f.Wavelet(); }, dsp::wtBSpline},
      {"Wavelet", "WavltDecompEdit", "Detail", [&] { return f.WaveletDecomp(); }, dsp::wtDetail},
      {"Wavelet", "WavltEdit1", "2", [&] { return f.WaveletP1(); }, 2},
      {"Wavelet", "WavltEdit2", "7", [&] { return f.WaveletP2(); }, 7},
      {"Savitzky-Golay", "PolyOrderEdit", "3", [&] { return f.Order(); }, 3},
      {"Median", "FirLengthEdit", "9", [&] { return f.FirLength(); }, 9},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Response) + " " + c.Control);
    Combo("ResponseBox").setCurrentText(c.Response);
    ASSERT_EQ(Combo("ResponseBox").currentText(), c.Response);
    QWidget& control = C<QWidget>(c.Control);
    ASSERT_TRUE(control.isEnabled());
    if (c.Input == nullptr) {
      ui::ClickButton(&static_cast<QCheckBox&>(control));
    } else if (auto* box = dynamic_cast<QComboBox*>(&control)) {
      box->setCurrentText(c.Input);
      ASSERT_EQ(box->currentText(), c.Input);
    } else {
      FocusAndType(static_cast<QLineEdit&>(control), c.Input);
      Enter(control);
    }
    EXPECT_EQ(c.Property(), c.Expected);
  }
  EXPECT_EQ(FUpdates, 0) << "Live is off";
}

TEST_F(FIRDesign, ABandsStartAndEndStayInOrder) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  Open();
  SelectBand(0);
  const auto band = [this] { return FFilter->Filters().Template().GetBand(0); };
  // The start typed past the end drags the end along, and the other way round.
  FocusAndType(Edit("BandStartEdit"), "0.5");
  Enter(Edit("BandStartEdit"));
  EXPECT_EQ(band().Start, 0.5);
  EXPECT_EQ(band().Stop, 0.5);
  EXPECT_EQ(Edit("BandEndEdit").Position(), 0.5);
  FocusAndType(Edit("BandEndEdit"), "0.1");
  Enter(Edit("BandEndEdit"));
  EXPECT_EQ(band().Start, 0.1);
  EXPECT_EQ(band().Stop, 0.1);
  EXPECT_EQ(Edit("BandStartEdit").Position(), 0.1);
  EXPECT_EQ(LineTexts(0)[1], "0.100<->0.100");
  // Leaving the field commits as Enter does.
  FocusAndType(Edit("BandEndEdit"), "0.25");
  C<QComboBox>("PassStopBox").setFocus(Qt::TabFocusReason);
  EXPECT_EQ(band().Stop, 0.25);
  EXPECT_EQ(band().Start, 0.1);
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(FIRDesign, WithLiveOnABandChangesAsItIsTyped) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  Open(true);
  SelectBand(1);
  const auto band = [this] { return FFilter->Filters().Template().GetBand(1); };
  TMtxFloatEdit& start = Edit("BandStartEdit");
  start.setFocus(Qt::TabFocusReason);
  start.selectAll();
  // Each key commits, and the field typed in is left as the user types it.
  for (const char* key : {"1", ".", "2"}) QTest::keyClicks(&start, key);
  EXPECT_EQ(start.text(), "1.2");
  EXPECT_EQ(band().Start, 1.2);
  EXPECT_EQ(band().Stop, 1.2);
  EXPECT_EQ(Edit("BandEndEdit").Position(), 1.2);
  // The band is empty now: the check says so and nothing is designed.
  EXPECT_EQ(C<QLabel>("FilterLabel").text(), "End of filter band 2 overlaps start of the same filter band!");
  EXPECT_EQ(FUpdates, 0);
  start.selectAll();
  QTest::keyClicks(&start, "0.3");
  // The end stayed at 1.2, beyond half the rate.
  EXPECT_EQ(C<QLabel>("FilterLabel").text(), "Edge of band 2 exceeds signal bandwidth!");
  EXPECT_EQ(FUpdates, 0);
  TMtxFloatEdit& end = Edit("BandEndEdit");
  end.setFocus(Qt::TabFocusReason);
  end.selectAll();
  QTest::keyClicks(&end, "1");
  EXPECT_EQ(band().Stop, 1);
  EXPECT_EQ(C<QLabel>("FilterLabel").text(), "Filter is OK!");
  EXPECT_TRUE(FFilter->Designed());
  EXPECT_GT(FUpdates, 0);
}

TEST_F(FIRDesign, TheBandCheckSaysWhatIsWrongForThreeSeconds) {
  FFilter->SetResponse(sig::rstFIR);
  FFilter->Filters().AddEmptyTemplate("Bands");
  FFilter->Filters().Template().AddBand(Band(0, 0.35, 1, 0.5));
  FFilter->Filters().Template().AddBand(Band(0.3, 1, 0, 40));
  Open();
  QLabel& label = C<QLabel>("FilterLabel");
  QTimer& timer = C<QTimer>("Timer1");
  Pages().setCurrentIndex(1);
  EXPECT_TRUE(label.isVisible());
  EXPECT_EQ(label.text(), "End of filter band 1 overlaps start of filter band 2!");
  EXPECT_EQ(timer.interval(), 3000);
  EXPECT_TRUE(timer.isActive());
  TickTimer1();
  EXPECT_FALSE(label.isVisible());
  EXPECT_FALSE(timer.isActive());

  // The end of band 1 moved below band 2's start: the bands pass.
  SelectBand(0);
  FocusAndType(Edit("BandEndEdit"), "0.2");
  Enter(Edit("BandEndEdit"));
  EXPECT_TRUE(label.isVisible());
  EXPECT_EQ(label.text(), "Filter is OK!");
  EXPECT_TRUE(timer.isActive());
}

// A band beyond the bounds of its type's field (an attenuation of 0.5 dB
// read from a file) is shown within them, but stays as stored until the
// user changes it.
TEST_F(FIRDesign, BrowsingTheBandsLeavesThemAsStored) {
  FFilter->SetResponse(sig::rstFIR);
  FFilter->Filters().AddEmptyTemplate("Bands");
  FFilter->Filters().Template().AddBand(Band(0, 0.2, 1, 3));
  FFilter->Filters().Template().AddBand(Band(0.3, 1, 0, 0.5));
  FFilter->Update();
  const std::string before = Parameters(*FFilter);
  Open();
  for (int i : {1, 0, 1, 0}) SelectBand(i);
  EXPECT_EQ(Edit("AttRippleEdit").Position(), 0.5);
  EXPECT_EQ(Parameters(*FFilter), before);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(1).Ripple, 0.5);
  EXPECT_EQ(LineTexts(1)[2], "0.5");
  EXPECT_EQ(C<QLabel>("FilterLabel").text(), "Ripple/attenuation of band 1 out of range!");
  // Changing the band stores what its fields show.
  SelectBand(1);
  FocusAndType(Edit("BandStartEdit"), "0.35");
  Enter(Edit("BandStartEdit"));
  EXPECT_EQ(FFilter->Filters().Template().GetBand(1).Ripple, 2);
}

TEST_F(FIRDesign, EachVerdictOfTheBandCheck) {
  struct TCase {
    const char* Response;
    std::vector<sig::TFilterBand> Bands;
    const char* Text;
  };
  const TCase cases[] = {
      {"Fir", {Band(0, 0.2, 1, 0.5), Band(0.3, 1, 0, 40)}, "Filter is OK!"},
      {"Fir", {Band(0, 0.2, 1, 0.5)}, "Filter needs at least two bands (stop and/or pass)!"},
      {"Iir", {}, "Filter needs at least two bands (stop and/or pass)!"},
      {"Fir", {Band(0, 0.1, 0, 40), Band(0.2, 0.4, 0, 40), Band(0.5, 1, 1, 0.5)}, "A stop band follows stop band 1!"},
      {"Fir", {Band(0, 0.2, 1, 0.5), Band(0.4, 0.3, 0, 40)}, "End of filter band 2 overlaps start of the same filter band!"},
      {"Hilbert", {Band(0, 0.2, 1, 0.5), Band(0.3, 1.5, 0, 40)}, "Edge of band 2 exceeds signal bandwidth!"},
      {"Fir", {Band(0, 0.2, 1, 0.5), Band(0.3, 1, 0, 0.5)}, "Ripple/attenuation of band 2 out of range!"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    FFilter->Filters().ClearTemplates();
    FFilter->Filters().AddEmptyTemplate("Bands");
    for (const sig::TFilterBand& b : c.Bands) FFilter->Filters().Template().AddBand(b);
    Open();
    Combo("ResponseBox").setCurrentText(c.Response);
    EXPECT_EQ(C<QLabel>("FilterLabel").text(), c.Text);
    Form().CloseForm(true);
    FreeClosedForms();
  }
}

TEST_F(FIRDesign, VerifySortsTheBandsAndChecksThem) {
  FFilter->SetResponse(sig::rstFIR);
  FFilter->Filters().AddEmptyTemplate("Bands");
  FFilter->Filters().Template().AddBand(Band(0.3, 1, 0, 40));
  FFilter->Filters().Template().AddBand(Band(0, 0.2, 1, 0.5));
  Open();
  EXPECT_EQ(LineTexts(0)[1], "0.300<->1.000");
  C<QPushButton>("SpeedButton1").click();
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Start, 0);
  EXPECT_EQ(LineTexts(0)[1], "0.000<->0.200");
  EXPECT_EQ(LineTexts(1)[1], "0.300<->1.000");
  EXPECT_EQ(C<QLabel>("FilterLabel").text(), "Filter is OK!");
}

TEST_F(FIRDesign, TheBandTypeSetsTheGainAndTheAttenuationsBounds) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  Open();
  SelectBand(0);
  QComboBox& type = Combo("PassStopBox");
  TMtxFloatEdit& gain = Edit("GainEdit");
  TMtxFloatEdit& att = Edit("AttRippleEdit");
  EXPECT_FALSE(gain.isEnabled());
  EXPECT_EQ(att.MinValue(), "1E-15");
  EXPECT_EQ(att.MaxValue(), "0.5");

  type.setFocus(Qt::TabFocusReason);
  type.setCurrentText("Stop band");
  EXPECT_FALSE(gain.isEnabled());
  EXPECT_EQ(gain.Position(), 0);
  EXPECT_EQ(att.MinValue(), "2");
  EXPECT_EQ(att.MaxValue(), "300");
  // The band takes the type when the user is done with the box.
  Enter(type);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Gain, 0);
  EXPECT_EQ(LineTexts(0)[3], "0");
  // An attenuation below the stop band's least is held at it.
  FocusAndType(att, "1");
  Enter(att);
  EXPECT_EQ(att.text(), "2");
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Ripple, 2);

  // "Pass band gain": the gain is the user's, and stays when the band is shown again.
  type.setFocus(Qt::TabFocusReason);
  type.setCurrentText("Pass band gain");
  EXPECT_TRUE(gain.isEnabled());
  Enter(type);
  FocusAndType(gain, "2.5");
  Enter(gain);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Gain, 2.5);
  EXPECT_EQ(type.currentText(), "Pass band gain");
  EXPECT_EQ(LineTexts(0)[3], "2.5");
  SelectBand(1);
  EXPECT_EQ(type.currentText(), "Stop band");
  SelectBand(0);
  EXPECT_EQ(type.currentText(), "Pass band gain");
  EXPECT_EQ(gain.Position(), 2.5);
}

TEST_F(FIRDesign, LiveDesignsWhatCanBeDesignedAndUpdateDesignsTheRest) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  FFilter->SetFirMethod(sig::fimParksMcClellan);
  TFIRDesignForm& form = Open(true);
  const int updates = FUpdates;
  FocusAndType(Edit("GridDensityEdit"), "32");
  EXPECT_GT(FUpdates, updates);
  EXPECT_EQ(FFilter->GridDensity(), 32);
  EXPECT_TRUE(FFilter->Designed());
  EXPECT_EQ(Edit("FirLengthEdit").IntPosition(), FFilter->FirLength());
  EXPECT_FALSE(C<QLabel>("ErrorLabel").isVisibleTo(&form));

  // The integrators are designed only on request.
  Combo("ResponseBox").setCurrentText("Integrator");
  const int before = FUpdates;
  FFilter->SetDesigned(false);
  FocusAndType(Edit("GridDensityEdit"), "20");
  EXPECT_EQ(FFilter->GridDensity(), 20);
  EXPECT_EQ(FUpdates, before);
  EXPECT_FALSE(FFilter->Designed());
  QToolButton& update = C<QToolButton>("ToolButton1");
  EXPECT_FALSE(update.isVisible());
  C<QAction>("Live1").trigger();
  EXPECT_TRUE(update.isVisible());
  update.click();
  EXPECT_EQ(FUpdates, before + 1);
  EXPECT_TRUE(FFilter->Designed());
  EXPECT_EQ(Edit("FirLengthEdit").IntPosition(), FFilter->FirLength());
}

TEST_F(FIRDesign, ADesignThatFailsSaysWhyUntilOneSucceeds) {
  // Four bands pass the check, but the window method takes two or three.
  FFilter->SetResponse(sig::rstFIR);
  FFilter->Filters().AddEmptyTemplate("Bands");
  for (const sig::TFilterBand& b : {Band(0, 0.1, 1, 0.5), Band(0.2, 0.3, 0, 40), Band(0.4, 0.5, 1, 0.5),
                                    Band(0.6, 1, 0, 40)})
    FFilter->Filters().Template().AddBand(b);
  TFIRDesignForm& form = Open(true);
  QLabel& error = C<QLabel>("ErrorLabel");
  EXPECT_TRUE(error.isVisibleTo(&form));
  EXPECT_EQ(error.text(), "Windowed filter design: 2 or 3 bands required!");
  // The exchange takes any number of bands.
  Combo("FirMethodEdit").setCurrentText("Parks-McClellan");
  EXPECT_TRUE(FFilter->Designed());
  EXPECT_FALSE(error.isVisibleTo(&form));
}

TEST_F(FIRDesign, SavitzkyGolayShowsTheOddFrameTheFilterTakes) {
  FFilter->SetResponse(sig::rstFIR);
  FFilter->SetFirLength(10);
  FFilter->SetOrder(3);
  Open();
  Combo("ResponseBox").setCurrentText("Savitzky-Golay");
  EXPECT_EQ(Edit("FirLengthEdit").text(), "11");
  EXPECT_EQ(FFilter->FirLength(), 11);
  EXPECT_EQ(Edit("FirLengthEdit").Increment(), "2");
  EXPECT_EQ(Edit("PolyOrderEdit").MaxValue(), "10");
  // An even frame typed shows the one the filter took once the field is left.
  FocusAndType(Edit("FirLengthEdit"), "6");
  Enter(Edit("FirLengthEdit"));
  EXPECT_EQ(FFilter->FirLength(), 7);
  EXPECT_EQ(Edit("FirLengthEdit").text(), "7");
  EXPECT_EQ(Edit("PolyOrderEdit").MaxValue(), "6");
  EXPECT_EQ(FFilter->Order(), 3);
  // Typed key by key, the frame passes through 1: the order comes back with the frame.
  FocusAndType(Edit("FirLengthEdit"), "15");
  Enter(Edit("FirLengthEdit"));
  EXPECT_EQ(FFilter->FirLength(), 15);
  EXPECT_EQ(FFilter->Order(), 3);
  EXPECT_EQ(Edit("PolyOrderEdit").text(), "3");
}

// A value out of a field's range, or no value at all, is refused with a
// message: the field shows again what it held, and so does the filter.
TEST_F(FIRDesign, FactorsOfZeroAndEmptyFieldsAreRefused) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  FFilter->SetAutoFilterOrder(false);
  FFilter->SetFirMethod(sig::fimParksMcClellan);
  FFilter->SetDownSample(2);
  FFilter->SetUpSample(3);
  Open(true);
  struct TCase {
    const char* Edit;
    const char* Typed;
    const char* Message;  // nullptr: taken
    const char* Shown;
    std::function<int()> Property;
    int Expected;
  };
  sig::TSignalFilter& f = *FFilter;
  const TCase cases[] = {
      {"DownFactorEdit", "0", "Value out of range: 1 .. 10000!", "2", [&] { return f.DownSample(); }, 2},
      {"UpFactorEdit", "0", "Value out of range: 1 .. 10000!", "3", [&] { return f.UpSample(); }, 3},
      {"UpFactorEdit", "", "Enter a value!", "3", [&] { return f.UpSample(); }, 3},
      {"DownDelayEdit", "-1", "Value out of range: 0 .. 9999!", "0", [&] { return f.DownDelay(); }, 0},
      {"GridDensityEdit", "0", "Value out of range: 1 .. 1000!", "16", [&] { return f.GridDensity(); }, 16},
      {"NormalizedFrequencyEdit", "", "Enter a value!", " 2.00", [&] { return f.NormalizedFrequency(); }, 2},
      // Within the field's range, a delay is held within its factor by the filter.
      {"UpDelayEdit", "5", nullptr, "2", [&] { return f.UpDelay(); }, 2},
      {"UpFactorEdit", "4", nullptr, "4", [&] { return f.UpSample(); }, 4},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Edit) + " '" + c.Typed + "'");
    FDialogs.Shown.clear();
    TMtxFloatEdit& edit = Edit(c.Edit);
    edit.setFocus(Qt::TabFocusReason);
    edit.selectAll();
    if (*c.Typed != 0) {
      QTest::keyClicks(&edit, c.Typed);
    } else {
      QTest::keyClick(&edit, Qt::Key_Delete);
    }
    // Even while it is typed, the filter never holds a value out of range or none.
    EXPECT_GE(c.Property(), c.Expected == 0 ? 0 : 1);
    Enter(edit);
    if (c.Message == nullptr) {
      EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
    } else {
      ASSERT_EQ(FDialogs.Shown.size(), 1u);
      EXPECT_EQ(FDialogs.Shown[0].Text, c.Message);
    }
    EXPECT_EQ(edit.text(), c.Shown);
    EXPECT_EQ(c.Property(), c.Expected);
  }
  // A factor typed key by key passes through 1: the delay comes back with it.
  FocusAndType(Edit("UpFactorEdit"), "12");
  Enter(Edit("UpFactorEdit"));
  EXPECT_EQ(f.UpSample(), 12);
  EXPECT_EQ(f.UpDelay(), 2);
  EXPECT_EQ(Edit("UpDelayEdit").text(), "2");
  // A smaller factor pulls its delay in, and the delay's field shows it.
  FocusAndType(Edit("UpFactorEdit"), "2");
  EXPECT_EQ(f.UpDelay(), 1);
  EXPECT_EQ(Edit("UpDelayEdit").text(), "1");
  // A length of 0 (a FIR design takes the length it needs: a running median does not).
  Combo("ResponseBox").setCurrentText("Median");
  FDialogs.Shown.clear();
  FocusAndType(Edit("FirLengthEdit"), "0");
  EXPECT_EQ(f.FirLength(), 1);
  Enter(Edit("FirLengthEdit"));
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Value out of range: 1 .. 10000!");
  EXPECT_EQ(f.FirLength(), Edit("FirLengthEdit").IntPosition());
  // Typing a length is not disturbed by the designs along the way.
  FDialogs.Shown.clear();
  FocusAndType(Edit("FirLengthEdit"), "15");
  EXPECT_EQ(Edit("FirLengthEdit").text(), "15");
  Enter(Edit("FirLengthEdit"));
  EXPECT_EQ(f.FirLength(), 15);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(FIRDesign, ViewFilterShowsTheTapsInTheVectorEditor) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  Open();
  ASSERT_TRUE(FFilter->Designed());
  const int taps = FFilter->Taps().Length();
  ASSERT_GT(taps, 3);
  C<QAction>("ViewFilter1").trigger();
  TNumoraEditForm* editor = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* e = dynamic_cast<TNumoraEditForm*>(w); e != nullptr && e->isVisible()) editor = e;
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->windowTitle(), "Filter taps");
  ASSERT_EQ(editor->Data().Rows(), taps);
  ASSERT_EQ(editor->Data().Cols(), 1);
  for (int k = 0; k < taps; ++k) EXPECT_EQ(editor->Data().Values()[k], FFilter->Taps().Values()[k]) << k;
  editor->close();
  FreeClosedForms();
}

TEST_F(FIRDesign, AddingABandNeedsATemplateAndDeletingOneTakesItsRecord) {
  FFilter->SetResponse(sig::rstFIR);
  Open();
  C<QPushButton>("AddBandButton").click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Define template name first.");
  EXPECT_EQ(FFilter->Filters().Template().Count(), 0);
  EXPECT_EQ(C<TMtxGridView>("BandsBox").LineCount(), 0);
  EXPECT_FALSE(Edit("BandStartEdit").isEnabled());

  FDialogs.InputAnswers.push_back("Bandpass");
  C<QPushButton>("NewButton").click();
  EXPECT_EQ(Combo("TemplateCombo").currentText(), "Bandpass");
  EXPECT_EQ(FFilter->Filters().Templates().Count(), 1);
  C<QPushButton>("AddBandButton").click();
  C<QPushButton>("AddBandButton").click();
  EXPECT_EQ(FFilter->Filters().Template().Count(), 2);
  EXPECT_EQ(C<TMtxGridView>("BandsBox").LineCount(), 2);
  EXPECT_EQ(C<TMtxGridView>("BandsBox").SelectedLine(), 1);
  EXPECT_TRUE(Edit("BandStartEdit").isEnabled());
  FocusAndType(Edit("BandEndEdit"), "0.7");
  Enter(Edit("BandEndEdit"));
  EXPECT_EQ(FFilter->Filters().Template().GetBand(1).Stop, 0.7);
  C<QPushButton>("DeleteBandButton").click();
  EXPECT_EQ(FFilter->Filters().Template().Count(), 1);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Stop, 0);
  // The template goes with its lines: the band edits are closed.
  C<QPushButton>("DeleteTemplateButton").click();
  EXPECT_EQ(FFilter->Filters().Templates().Count(), 0);
  EXPECT_EQ(C<TMtxGridView>("BandsBox").LineCount(), 0);
  EXPECT_FALSE(Edit("BandStartEdit").isEnabled());
  EXPECT_FALSE(Edit("AttRippleEdit").isEnabled());
}

TEST_F(FIRDesign, ALinesCheckBoxMarksItsBand) {
  Lowpass();
  Open();
  QTreeWidgetItem* line = C<TMtxGridView>("BandsBox").Line(1);
  line->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(FFilter->Filters().Template().GetBand(1).Checked);
  EXPECT_TRUE(FFilter->Filters().Template().GetBand(0).Checked);
}

TEST_F(FIRDesign, ADoubleClickOnTheListAsksForTheFrequencyFormat) {
  Lowpass();
  TFIRDesignForm& form = Open();
  FDialogs.InputAnswers.push_back("0.0");
  auto& list = C<TMtxGridView>("BandsBox");
  emit list.itemDoubleClicked(list.Line(1), 1);
  ASSERT_EQ(FDialogs.InputQueries.size(), 1u);
  EXPECT_EQ(FDialogs.InputQueries[0].Caption, "Change frequency number format");
  EXPECT_EQ(FDialogs.InputQueries[0].Prompt, "New float format:");
  EXPECT_EQ(FDialogs.InputQueries[0].Value, "0.000");
  EXPECT_EQ(form.FormatFloatHz(), "0.0");
  EXPECT_EQ(LineTexts(0)[1], "0.0<->0.2");
  EXPECT_EQ(LineTexts(1)[1], "0.3<->1.0");
  EXPECT_EQ(FUpdates, 0);
}

TEST_F(FIRDesign, CancelRestoresTheFilterAndOkKeepsTheChanges) {
  Lowpass();
  FFilter->Filters().AddEmptyTemplate("Highpass");
  FFilter->Filters().Template().AddBand(Band(0, 0.3, 0, 50));
  FFilter->Filters().Template().AddBand(Band(0.4, 1, 1, 0.5));
  FFilter->Filters().SetTemplateIndex(0);
  FFilter->SetResponse(sig::rstFIR);
  // The taps and an estimated length are the design's: closing designs again.
  FFilter->Update();
  const std::string before = Parameters(*FFilter);
  TFIRDesignForm* form = &Open(true);
  Combo("ResponseBox").setCurrentText("Iir");
  FocusAndType(Edit("NormalizedFrequencyEdit"), "4");
  SelectBand(0);
  FocusAndType(Edit("BandEndEdit"), "0.25");
  Enter(Edit("BandEndEdit"));
  C<QPushButton>("AddBandButton").click();
  ASSERT_NE(Parameters(*FFilter), before);
  C<QToolButton>("CancelButton").click();
  EXPECT_EQ(Parameters(*FFilter), before);
  EXPECT_EQ(FFilter->Response(), sig::rstFIR);
  EXPECT_FALSE(FFilter->EditorOpen());
  EXPECT_FALSE(FFilter->OnDisplayUpdate());
  EXPECT_EQ(FFilter->Input(), &FInput);
  FreeClosedForms();

  // OK: the template chosen in the combo box becomes the filter's own.
  form = &Open();
  Combo("TemplateCombo").setCurrentIndex(1);
  emit Combo("TemplateCombo").activated(1);
  EXPECT_EQ(C<TMtxGridView>("BandsBox").LineCount(), 2);
  EXPECT_EQ(LineTexts(0)[1], "0.000<->0.300");
  C<QToolButton>("OKButton").click();
  EXPECT_EQ(FFilter->Filters().TemplateIndex(), 1);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Stop, 0.3);
  (void)form;
}

TEST_F(FIRDesign, SettingsSavedAndLoadedThroughTheTemplateDialog) {
  Lowpass();
  FFilter->SetResponse(sig::rstFIR);
  Open();
  const std::string file = FDir.File("filter.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  C<QAction>("Save1").trigger();
  Combo("ResponseBox").setCurrentText("Iir");
  SelectBand(0);
  FocusAndType(Edit("BandEndEdit"), "0.25");
  Enter(Edit("BandEndEdit"));
  ASSERT_EQ(FFilter->Filters().Template().GetBand(0).Stop, 0.25);

  // The filter as saved, the templates it had dropped.
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrNo);
  C<QAction>("Load1").trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Append existing filter templates?");
  EXPECT_EQ(FFilter->Response(), sig::rstFIR);
  EXPECT_EQ(Combo("ResponseBox").currentText(), "Fir");
  EXPECT_EQ(FFilter->Filters().Templates().Count(), 1);
  EXPECT_EQ(FFilter->Filters().Template().GetBand(0).Stop, 0.2);
  EXPECT_EQ(LineTexts(0)[1], "0.000<->0.200");

  // Yes: the templates the filter had follow the loaded ones.
  FDialogs.InputAnswers.push_back("Notch");
  C<QPushButton>("NewButton").click();
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrYes);
  C<QAction>("Load1").trigger();
  const sig::TStringStreamList& names = FFilter->Filters().Templates();
  ASSERT_EQ(names.Count(), 3);
  EXPECT_EQ(names.Strings(0), "Lowpass");
  EXPECT_EQ(names.Strings(1), "Lowpass");
  EXPECT_EQ(names.Strings(2), "Notch");
  EXPECT_EQ(Combo("TemplateCombo").count(), 3);

  // A cancelled dialog changes nothing and asks nothing.
  FDialogs.Shown.clear();
  FDialogs.FileChoices.push_back(std::nullopt);
  C<QAction>("Load1").trigger();
  EXPECT_EQ(FFilter->Filters().Templates().Count(), 3);
  EXPECT_TRUE(FDialogs.Shown.empty());
}

TEST_F(FIRDesign, TheBandLinesFollowTheFilterWhileTheFormIsOpen) {
  Lowpass();
  TFIRDesignForm& form = Open();
  FFilter->Filters().Template().GetBand(1).Ripple = 60;
  FFilter->Update();
  EXPECT_EQ(LineTexts(1)[2], "60");
  (void)form;
}

TEST_F(FIRDesign, APictureOfEachLayout) {
  Lowpass();
  FFilter->SetAutoFilterOrder(true);
  TFIRDesignForm& form = Open();
  form.resize(560, 360);
  struct TCase {
    const char* Response;
    const char* Picture;
    std::vector<const char*> Shown;  // their text is drawn
    const char* Grey;                // a field on view but disabled, its text grey
    int Tabs;
  };
  const TCase cases[] = {
      {"Fir", "FIRDesignForm_fir", {"ResponseBox", "FirMethodEdit", "WindowEdit", "FirLengthEdit"}, "FirLengthEdit", 3},
      {"Iir", "FIRDesignForm_iir", {"ResponseBox", "IirMethodEdit", "IirFrequencyTransformBox", "PolyOrderEdit"},
       "PolyOrderEdit", 2},
      {"Savitzky-Golay", "FIRDesignForm_savgol", {"ResponseBox", "FirLengthEdit", "PolyOrderEdit"}, "WindowEdit", 1},
      {"Wavelet", "FIRDesignForm_wavelet", {"ResponseBox", "WavltEdit", "WavltDecompEdit", "WavltEdit1"}, "WavltEdit1",
       1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Response);
    Combo("ResponseBox").setCurrentText(c.Response);
    Pages().setCurrentIndex(0);
    QApplication::processEvents();
    const QImage shot = ui::Screenshot(form, c.Picture);
    const auto rect = [&](const char* name) {
      QWidget& w = C<QWidget>(name);
      return QRect(w.mapTo(&form, QPoint(0, 0)), w.size());
    };
    // The text only: the arrows of a box or an edit are drawn whatever it holds.
    // A grey "1" is a handful of pixels; an empty field has none.
    for (const char* name : c.Shown) EXPECT_GT(Ink(shot, rect(name).adjusted(2, 2, -20, -2)), 3) << name;
    // A grey field's text is lighter than the response's, which is black.
    EXPECT_LT(Darkest(shot, rect("ResponseBox").adjusted(2, 2, -20, -2)), 80);
    EXPECT_GT(Darkest(shot, rect(c.Grey).adjusted(2, 2, -20, -2)), 100) << c.Grey;
    // A tab a page: each visible tab carries its caption, and nothing follows the last.
    QTabBar* bar = Pages().tabBar();
    const QPoint origin = bar->mapTo(&form, QPoint(0, 0));
    int last = 0;
    for (int t = 0; t < 3; ++t) {
      if (!Pages().isTabVisible(t)) continue;
      EXPECT_GT(Ink(shot, bar->tabRect(t).translated(origin).adjusted(3, 3, -3, -3)), 10) << t;
      last = std::max(last, bar->tabRect(t).right());
    }
    int visible = 0;
    for (int t = 0; t < 3; ++t) visible += Pages().isTabVisible(t) ? 1 : 0;
    EXPECT_EQ(visible, c.Tabs);
    EXPECT_EQ(Ink(shot, QRect(origin.x() + last + 4, origin.y() + 3, 120, bar->height() - 6)), 0);
  }
}

}  // namespace
}  // namespace analysis_ui
