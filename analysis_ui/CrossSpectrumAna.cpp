// The cross-spectrum analysis window: its Basic page and the choice of
// method and result; the other pages are the shared ones.
//
// Tested by: analysis_ui/tests/CrossSpectrumAnaTest.cpp
#include "analysis_ui/CrossSpectrumAna.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>

#include "analysis_ui/EditorControls.h"
#include "chart_editors/EditorForm.h"

namespace analysis_ui {

using editor_controls::NewCombo;

TCrossSpectrumAnaForm::TCrossSpectrumAnaForm(QWidget* owner) : TSpectrumPagesForm(owner) {
  setObjectName("CrossSpectrumAnaForm");
  setWindowTitle("Cross-spectral analysis");

  QWidget* basic = AddPage("BasicSheet", "Basic");
  BuildBasicPage(
      basic,
      [&](QGridLayout* left) {
        FMethodBox = NewCombo(basic, "MethodBox", {"FFT", "CZT"});
        FMethodBox->setToolTip("Method used to calculate the frequency spectrum");
        AddRow(left, basic, "MethodLabel", "Method:", FMethodBox);
        FSpectrumBox =
            NewCombo(basic, "SpectrumBox", {"Input", "Output", "Cross", "Coherence", "Transfer function"});
        AddRow(left, basic, "SpectrumLabel", "Spectrum:", FSpectrumBox);
      },
      nullptr);
  Bind(
      FMethodBox, [this](int) { MethodLayout(); }, false);
  Bind(FSpectrumBox,
       [this](int i) { CrossAnalyzer()->CrossAnalyzer().SetTransform(static_cast<sig::TCrossTransform>(i)); });

  BuildAveragingPage(AddPage("AveragingSheet", "Averaging"));
  BuildPeaksPage(AddPage("PeaksSheet", "Peaks"), {.Interpolation = true});
  BuildBandsPage(AddPage("BandsSheet", "Bands"));
  BuildOrderPage(AddPage("OrderSheet", "Order"), true);
  BuildPhasePage(AddPage("PhaseSheet", "Phase"));
  BuildInfoPage(AddPage("InfoSheet", "Info"), true);
  BuildReportPage(AddPage("ReportSheet", "Report"), AllReportBoxes());
  resize(560, 440);
}

void TCrossSpectrumAnaForm::FillControls() {
  const sig::TCrossSpectrumAnalyzer& a = *CrossAnalyzer();
  if (a.Method() == sig::smFFT) FMethodBox->setCurrentIndex(0);
  if (a.Method() == sig::smCZT) FMethodBox->setCurrentIndex(1);
  FSpectrumBox->setCurrentIndex(a.CrossAnalyzer().Transform());
  TSpectrumPagesForm::FillControls();
}

void TCrossSpectrumAnaForm::RunLayouts() {
  TSpectrumPagesForm::RunLayouts();
  MethodLayout();
}

void TCrossSpectrumAnaForm::MethodLayout() {
  const bool czt = FMethodBox->currentIndex() == 1;
  CrossAnalyzer()->SetMethod(czt ? sig::smCZT : sig::smFFT);
  EnableWithLabel(RemoveDCBox(), !czt);
  EnableCZTRows(czt);
  ApplyChange();
}

void RegisterCrossSpectrumAna() {
  chart_editors::RegisterEditorForm("TCrossSpectrumAnaForm", chart_editors::EditorFormFactory<TCrossSpectrumAnaForm>());
}

void UnregisterCrossSpectrumAna() { chart_editors::UnRegisterEditorForm("TCrossSpectrumAnaForm"); }

}  // namespace analysis_ui
