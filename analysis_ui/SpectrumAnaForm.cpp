// The spectrum analyser form: the shared pages with the method, AR order and
// rotation of the Basic page.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#include "analysis_ui/SpectrumAna.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "chart_editors/EditorForm.h"

namespace analysis_ui {

using editor_controls::BoundedIntPosition;
using editor_controls::IntegerFormat;
using editor_controls::NewCombo;
using editor_controls::NewEdit;

TSpectrumAnaForm::TSpectrumAnaForm(QWidget* owner) : TSpectrumPagesForm(owner, true) {
  setObjectName("SpectrumAnaForm");
  setWindowTitle("Spectral analysis");

  QWidget* basic = AddPage("BasicSheet", "Basic");
  BuildBasicPage(
      basic,
      [&](QGridLayout* left) {
        FMethodsBox = NewCombo(basic, "MethodsBox",
                               {"FFT", "YuleWalker", "Burg", "Covariance", "Modified Cov", "CZT", "Real cepstrum"});
        FMethodsBox->setToolTip("Method used to calculate the frequency spectrum");
        AddRow(left, basic, nullptr, "Method:", FMethodsBox);
      },
      [&](QGridLayout* left) {
        FAROrderEdit = NewEdit(basic, "AROrderEdit", IntegerFormat, "1", "1000000");
        AddRow(left, basic, nullptr, "AR order:", FAROrderEdit);
        FRotationEdit = NewEdit(basic, "RotationEdit", IntegerFormat);
        FRotationEdit->setToolTip(
            "Before applying FFT, the time signal can be circularly rotated by specified number of samples.");
        AddRow(left, basic, nullptr, "Rotation", FRotationEdit);
      });
  Bind(FMethodsBox, [this](int i) {
    Spectrum()->SetMethod(static_cast<sig::TSpectrumMethod>(i));
    MethodLayout();
  });
  Bind(FAROrderEdit, [this] { Spectrum()->SetAROrder(BoundedIntPosition(*FAROrderEdit)); });
  Bind(FRotationEdit, [this] { Spectrum()->SetRotation(FRotationEdit->IntPosition()); });

  BuildAveragingPage(AddPage("AveragingSheet", "Averaging"), true);
  BuildPeaksPage(AddPage("PeaksSheet", "Peaks"), {.Interpolation = true, .Tolerance = true, .TraceAll = true});
  BuildBandsPage(AddPage("BandsSheet", "Bands"));
  BuildOrderPage(AddPage("OrderSheet", "Order"), true, true);
  BuildPhasePage(AddPage("PhaseSheet", "Phase"));
  BuildInfoPage(AddPage("InfoSheet", "Info"), true);
  BuildReportPage(AddPage("ReportSheet", "Report"), AllReportBoxes());
  resize(560, 440);
}

void TSpectrumAnaForm::FillControls() {
  const sig::TSpectrumAnalyzer& a = *Spectrum();
  FMethodsBox->setCurrentIndex(a.Method() < FMethodsBox->count() ? a.Method() : -1);
  FAROrderEdit->SetPosition(a.AROrder());
  FRotationEdit->SetPosition(a.Rotation());
  TSpectrumPagesForm::FillControls();
}

void TSpectrumAnaForm::RunLayouts() {
  TSpectrumPagesForm::RunLayouts();
  MethodLayout();
}

void TSpectrumAnaForm::MethodLayout() {
  const sig::TSpectrumMethod method = Spectrum()->Method();
  EnableWithLabel(RemoveDCBox(), method == sig::smFFT);
  EnableWithLabel(FAROrderEdit, method == sig::smYuleWalker || method == sig::smBurg || method == sig::smCov ||
                                    method == sig::smMCov);
  EnableCZTRows(method == sig::smCZT);
}

void RegisterSpectrumAnaForm() {
  chart_editors::RegisterEditorForm("TSpectrumAnaForm", chart_editors::EditorFormFactory<TSpectrumAnaForm>());
}

void UnregisterSpectrumAnaForm() { chart_editors::UnRegisterEditorForm("TSpectrumAnaForm"); }

}  // namespace analysis_ui
