// The filter design form: its life, the live design, the layout of each
// response and the handlers that write the filter's parameters.
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp
#include "analysis_ui/FIRDesign.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/NumoraEdit.h"
#include "chart_editors/EditorForm.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using namespace editor_controls;

namespace {

// The item of an ordinal, or none when the list has no item for it.
void SelectItem(QComboBox* box, int ordinal) { box->setCurrentIndex(ordinal < box->count() ? ordinal : -1); }

bool Offers(sig::TResponseType r, std::initializer_list<sig::TResponseType> kinds) {
  for (sig::TResponseType k : kinds)
    if (k == r) return true;
  return false;
}

// The kinds whose FIR method the user chooses.
bool ChoosesFirMethod(sig::TResponseType r) {
  return Offers(r, {sig::rstFIR, sig::rstDifferentiator, sig::rstHilbert});
}

// The kinds that are always designed by the exchange.
bool AlwaysRemez(sig::TResponseType r) {
  return Offers(r, {sig::rstDoubleDifferentiator, sig::rstIntegrator, sig::rstDoubleIntegrator});
}

}  // namespace

TFIRDesignForm::TFIRDesignForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("FIRDesignForm");
  setWindowTitle("Filter design");
  auto* layout = new QVBoxLayout(ClientArea());
  layout->setContentsMargins(0, 0, 0, 0);
  FPages = new QTabWidget(ClientArea());
  FPages->setObjectName("PageControl1");
  layout->addWidget(FPages, 1);
  FParametersPage = new QWidget(FPages);
  FParametersPage->setObjectName("TabSheet1");
  FDesignerPage = new QWidget(FPages);
  FDesignerPage->setObjectName("DesignerTabSheet");
  FProcessingPage = new QWidget(FPages);
  FProcessingPage->setObjectName("TabSheet2");
  CreateParametersPage(FParametersPage);
  CreateDesignerPage(FDesignerPage);
  CreateProcessingPage(FProcessingPage);
  FPages->addTab(FParametersPage, "Parameters");
  FPages->addTab(FDesignerPage, "Designer");
  FPages->addTab(FProcessingPage, "Processing");

  // The filter's last design failure stays in view until a design succeeds.
  FErrorLabel = NewLabel(ClientArea(), "ErrorLabel", "");
  FErrorLabel->setWordWrap(true);
  FErrorLabel->setStyleSheet("color: #a00000;");
  FErrorLabel->hide();
  layout->addWidget(FErrorLabel);

  WindowEditMenu()->addSeparator();
  FViewFilterItem = WindowEditMenu()->addAction("View filter");
  FViewFilterItem->setObjectName("ViewFilter1");
  connect(FViewFilterItem, &QAction::triggered, this, ui::Guarded([this] { ViewFilterClick(); }));

  FTimer1 = new QTimer(this);
  FTimer1->setObjectName("Timer1");
  FTimer1->setInterval(3000);
  connect(FTimer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

  ConnectHandlers();
  ConnectBands();
  resize(560, 360);
}

TFIRDesignForm::~TFIRDesignForm() = default;

// --- Life ------------------------------------------------------------------

void TFIRDesignForm::FillControls() {
  sig::TSignalFilter& f = *Filter();
  FPages->setCurrentIndex(0);
  // Showing the parameters writes some of them back, which may leave the
  // filter undesigned; a filter designed now is designed afterwards too.
  f.UpdateFilter();
  const bool designed = f.Designed();
  SelectItem(FFirMethodEdit, f.FirMethod());
  SelectItem(FIirMethodEdit, f.IirMethod());
  SelectItem(FWindowEdit, f.Window());
  SelectItem(FResponseBox, f.Response());
  FFirLengthEdit->SetPosition(f.FirLength());
  FAutoLengthBox->setChecked(f.AutoFilterOrder());
  FAutoOrderbox->setChecked(f.AutoFilterOrder());
  FBetaEdit->SetPosition(f.Beta());
  FGridDensityEdit->SetPosition(f.GridDensity());
  FNormalizedFrequencyEdit->SetPosition(f.NormalizedFrequency());
  FNormalizationBox->setChecked(f.UseNormalizedFrequency());
  FillBands();
  FDownFactorEdit->SetPosition(f.DownSample());
  FUpFactorEdit->SetPosition(f.UpSample());
  FDownDelayEdit->SetPosition(f.DownDelay());
  FUpDelayEdit->SetPosition(f.UpDelay());
  FPolyOrderEdit->SetPosition(f.Order());
  SelectItem(FWavltEdit, f.Wavelet());
  FWavltEdit1->SetPosition(f.WaveletP1());
  FWavltEdit2->SetPosition(f.WaveletP2());
  SelectItem(FWavltDecompEdit, f.WaveletDecomp());
  SelectItem(FIirFrequencyTransformBox, f.IIRFrequencyTransform());
  f.SetDesigned(designed);
  KeepDependents();
  FResponseBox->setFocus();
  ResponseLayout();
  ApplyChange();
  if (f.Designed()) ShowDesignedSize();
  ShowDesignError();
}

void TFIRDesignForm::DisplayUpdate() {
  if (Filter() == nullptr) return;
  // Only the lines' texts: the band edits may hold what the user is typing.
  const std::int32_t bands = Filter()->Filters().Template().Count();
  for (std::int32_t i = 0; i < FBandsBox->LineCount() && i < bands; ++i) WriteBandLine(i, FBandsBox->Line(i));
  ShowDesignError();
}

void TFIRDesignForm::KeepChanges() {
  Quietly([this] { FBandsBox->Refresh(); });
}

void TFIRDesignForm::AfterClose() { Filter()->Filters().RefreshTemplate(); }

// --- Live design -----------------------------------------------------------

void TFIRDesignForm::ApplyChange() {
  sig::TSignalFilter* f = Filter();
  if (f == nullptr) return;
  bool design = false;
  switch (f->Response()) {
    case sig::rstUnit:
    case sig::rstSavGolay:
    case sig::rstMovingAverage:
    case sig::rstMedian:
    case sig::rstEnvelope:
      design = true;
      break;
    case sig::rstFIR:
    case sig::rstDifferentiator:
    case sig::rstHilbert:
    case sig::rstIIR:
      design = VerifyBands() == 0;
      break;
    default:
      break;
  }
  if (design && ShowLive() && Ready()) {
    f->ParameterUpdate(nullptr);
    f->UpdateFilter();
    if (f->Designed()) ShowDesignedSize();
  }
  ShowDesignError();
}

void TFIRDesignForm::UpdateClick() {
  sig::TSignalFilter& f = *Filter();
  f.ParameterUpdate(nullptr);
  f.UpdateFilter();
  if (f.Designed()) ShowDesignedSize();
  ShowDesignError();
}

void TFIRDesignForm::ShowDesignedSize() {
  // Not into the field the user is typing in: it shows the filter's value
  // once the user is done with it.
  Quietly([this] {
    if (!FFirLengthEdit->hasFocus()) FFirLengthEdit->SetPosition(Filter()->FirLength());
    if (!FPolyOrderEdit->hasFocus()) FPolyOrderEdit->SetPosition(Filter()->Order());
  });
}

void TFIRDesignForm::ShowDesignError() {
  const std::string& error = Filter()->ErrorText();
  FErrorLabel->setText(QString::fromStdString(error));
  FErrorLabel->setVisible(!error.empty());
}

// --- Layout ----------------------------------------------------------------

void TFIRDesignForm::ResponseLayout() {
  const sig::TResponseType r = Filter()->Response();
  FPages->setTabVisible(1, false);
  FPages->setTabVisible(2, false);
  for (QWidget* c : std::initializer_list<QWidget*>{FIirMethodEdit, FFirMethodEdit, FWindowEdit, FFirLengthEdit,
                                                    FBetaEdit, FNormalizedFrequencyEdit, FWavltEdit, FIgnoreAttBox,
                                                    FIirFrequencyTransformBox})
    c->setEnabled(false);
  for (QWidget* c : std::initializer_list<QWidget*>{FGridDensityEdit, FPolyOrderEdit, FAutoOrderbox, FAutoLengthBox,
                                                    FFirLengthEdit, FWavltEdit1, FWavltEdit2, FWavltDecompEdit})
    c->setVisible(false);
  Quietly([this] { FFirLengthEdit->SetIncrement("1"); });

  if (ChoosesFirMethod(r) || AlwaysRemez(r)) {
    FPages->setTabVisible(1, true);
    if (AlwaysRemez(r)) {
      // These kinds exist only as exchange designs.
      Filter()->SetFirMethod(sig::fimParksMcClellan);
      Quietly([this] { FFirMethodEdit->setCurrentIndex(sig::fimParksMcClellan); });
    } else {
      FFirMethodEdit->setEnabled(true);
    }
    FAutoLengthBox->setVisible(true);
    FNormalizedFrequencyEdit->setEnabled(true);
    FFirLengthEdit->setVisible(true);
    FirMethodLayout();
  } else if (r == sig::rstIIR) {
    FPages->setTabVisible(1, true);
    FAutoOrderbox->setVisible(true);
    FPolyOrderEdit->setVisible(true);
    FIirMethodEdit->setEnabled(true);
    FNormalizedFrequencyEdit->setEnabled(true);
    Quietly([this] {
      FPolyOrderEdit->SetMinValue("1");
      FPolyOrderEdit->SetMaxValue("50");
      FPolyOrderEdit->SetPosition(Filter()->Order());
    });
    IirMethodLayout();
    AutoOrderLayout();
  } else if (r == sig::rstSavGolay) {
    FFirLengthEdit->setVisible(true);
    FFirLengthEdit->setEnabled(true);
    FPolyOrderEdit->setVisible(true);
    FPolyOrderEdit->setEnabled(true);
    // The frame is odd: the filter made it so, and the field steps from odd to odd.
    Quietly([this] {
      FFirLengthEdit->SetIncrement("2");
      FFirLengthEdit->SetPosition(Filter()->FirLength());
      FPolyOrderEdit->SetMinValue("0");
      FPolyOrderEdit->SetMaxValue(std::to_string(Filter()->FirLength() - 1));
      FPolyOrderEdit->SetPosition(Filter()->Order());
    });
  } else if (Offers(r, {sig::rstMovingAverage, sig::rstMedian, sig::rstEnvelope, sig::rstIntegerDelay})) {
    FFirLengthEdit->setVisible(true);
    FFirLengthEdit->setEnabled(true);
  } else if (r == sig::rstWavelet) {
    FWavltEdit->setEnabled(true);
    FWavltDecompEdit->setVisible(true);
    FWavltEdit1->setVisible(true);
    FWavltEdit2->setVisible(true);
    WaveletLayout();
  }
  LabelsFollowEdits();
  FPages->setTabVisible(2, r == sig::rstFIR);
}

void TFIRDesignForm::LabelsFollowEdits() {
  FGridLabel->setVisible(FGridDensityEdit->isVisibleTo(FParametersPage));
  FPolyLabel->setVisible(FPolyOrderEdit->isVisibleTo(FParametersPage));
  FPolyLabel->setEnabled(FPolyOrderEdit->isEnabled());
  FLengthLabel->setVisible(FFirLengthEdit->isVisibleTo(FParametersPage));
  FWavltLabel1->setVisible(FWavltEdit1->isVisibleTo(FParametersPage));
  FWavltLabel2->setVisible(FWavltEdit2->isVisibleTo(FParametersPage));
  FWavltDecompLabel->setVisible(FWavltDecompEdit->isVisibleTo(FParametersPage));
}

void TFIRDesignForm::FirMethodLayout() {
  const bool window = Filter()->FirMethod() == sig::fimWindow;
  FGridDensityEdit->setVisible(!window);
  FGridLabel->setVisible(!window);
  FWindowEdit->setEnabled(window && ChoosesFirMethod(Filter()->Response()));
  WindowLayout();
}

void TFIRDesignForm::WindowLayout() {
  const sig::TSignalFilter& f = *Filter();
  const sig::TResponseType r = f.Response();
  if (!ChoosesFirMethod(r) && !AlwaysRemez(r)) return;
  const bool remez = AlwaysRemez(r) || f.FirMethod() == sig::fimParksMcClellan;
  const bool kaiser = f.Window() == dsp::wtKaiser;
  const bool manual = !f.AutoFilterOrder();
  // The length is estimated only by the exchange and by the Kaiser window;
  // with any other window it is the user's, whatever Auto length says.
  FAutoLengthBox->setVisible(remez || kaiser);
  bool length = true, beta = false, ignoreAtt = false;
  if (remez || kaiser) length = manual;
  if (!remez && kaiser) beta = ignoreAtt = manual;
  if (!remez && f.Window() == dsp::wtBlackman) beta = true;
  FFirLengthEdit->setEnabled(length);
  FBetaEdit->setEnabled(beta);
  FIgnoreAttBox->setEnabled(ignoreAtt);
}

void TFIRDesignForm::AutoOrderLayout() {
  const bool manual = !Filter()->AutoFilterOrder();
  FPolyOrderEdit->setEnabled(manual);
  FPolyLabel->setEnabled(manual);
}

void TFIRDesignForm::IirMethodLayout() {
  const dsp::TIirFilterMethod m = Filter()->IirMethod();
  FIirFrequencyTransformBox->setEnabled(m != dsp::fimDC && m != dsp::fimNotch);
}

void TFIRDesignForm::WaveletLayout() {
  for (QWidget* c : std::initializer_list<QWidget*>{FWavltEdit1, FWavltEdit2, FWavltLabel1, FWavltLabel2})
    c->setEnabled(false);
  const auto bound = [this](TMtxFloatEdit* edit, QLabel* label, const char* max) {
    edit->setEnabled(true);
    label->setEnabled(true);
    Quietly([edit, max] {
      edit->SetMinValue("1");
      edit->SetMaxValue(max);
    });
  };
  switch (Filter()->Wavelet()) {
    case dsp::wtDaublet:
      bound(FWavltEdit1, FWavltLabel1, "10");
      break;
    case dsp::wtSymmlet:
      bound(FWavltEdit1, FWavltLabel1, "7");
      break;
    case dsp::wtCoiflet:
      bound(FWavltEdit1, FWavltLabel1, "5");
      break;
    case dsp::wtBSpline:
    case dsp::wtBSplineDual:
      bound(FWavltEdit1, FWavltLabel1, "3");
      bound(FWavltEdit2, FWavltLabel2, "9");
      break;
    default:
      break;
  }
}

// --- Handlers --------------------------------------------------------------

void TFIRDesignForm::OnChange(QComboBox* Box, void (TFIRDesignForm::*Body)()) {
  connect(Box, &QComboBox::currentIndexChanged, this, ui::Guarded([this, Box, Body] {
            if (Ready() && Filter() != nullptr && Box->currentIndex() >= 0) (this->*Body)();
          }));
}

void TFIRDesignForm::OnChange(QCheckBox* Box, void (TFIRDesignForm::*Body)()) {
  connect(Box, &QCheckBox::toggled, this, ui::Guarded([this, Body] {
            if (Ready() && Filter() != nullptr) (this->*Body)();
          }));
}

void TFIRDesignForm::OnChange(TMtxFloatEdit* Edit, void (TFIRDesignForm::*Body)()) {
  connect(Edit, &QLineEdit::textChanged, this, ui::Guarded([this, Edit, Body] {
            if (Ready() && Filter() != nullptr && HoldsNumber(*Edit)) (this->*Body)();
          }));
}

void TFIRDesignForm::ConnectHandlers() {
  using F = TFIRDesignForm;
  OnChange(FResponseBox, &F::ResponseBoxChange);
  OnChange(FFirMethodEdit, &F::FirMethodEditChange);
  OnChange(FWindowEdit, &F::WindowEditChange);
  OnChange(FAutoLengthBox, &F::AutoLengthBoxClick);
  OnChange(FAutoOrderbox, &F::AutoOrderboxClick);
  OnChange(FIirMethodEdit, &F::IirMethodEditChange);
  OnChange(FIirFrequencyTransformBox, &F::IirFrequencyTransformBoxChange);
  OnChange(FWavltEdit, &F::WavltEditChange);
  OnChange(FWavltDecompEdit, &F::WavltDecompEditChange);
  OnChange(FWavltEdit1, &F::WavltEdit1Change);
  OnChange(FWavltEdit2, &F::WavltEdit2Change);
  OnChange(FGridDensityEdit, &F::GridDensityEditChange);
  OnChange(FNormalizedFrequencyEdit, &F::NormalizedFrequencyEditChange);
  OnChange(FNormalizationBox, &F::NormalizationBoxClick);
  OnChange(FFirLengthEdit, &F::FirLengthEditChange);
  OnChange(FPolyOrderEdit, &F::PolyOrderEditChange);
  OnChange(FBetaEdit, &F::BetaEditChange);
  OnChange(FIgnoreAttBox, &F::IgnoreAttBoxClick);
  OnChange(FDownFactorEdit, &F::DownFactorEditChange);
  OnChange(FDownDelayEdit, &F::DownDelayEditChange);
  OnChange(FUpFactorEdit, &F::UpFactorEditChange);
  OnChange(FUpDelayEdit, &F::UpDelayEditChange);
  // Every field is checked as the user leaves it; a value the filter holds
  // otherwise than typed (an even Savitzky-Golay frame, a delay beyond its
  // factor) shows then.
  auto* adjusted = new TCommitFilter(this, [this](QObject*) {
    if (Filter() == nullptr) return;
    const sig::TSignalFilter& f = *Filter();
    Quietly([&] {
      const std::pair<TMtxFloatEdit*, std::int32_t> shown[] = {
          {FFirLengthEdit, f.FirLength()}, {FPolyOrderEdit, f.Order()}, {FDownDelayEdit, f.DownDelay()},
          {FUpDelayEdit, f.UpDelay()}};
      for (const auto& [edit, value] : shown)
        if (edit->Position() != value) edit->SetPosition(value);
    });
    KeepDependents();
  });
  for (TMtxFloatEdit* e : {FGridDensityEdit, FNormalizedFrequencyEdit, FFirLengthEdit, FPolyOrderEdit, FBetaEdit,
                           FWavltEdit1, FWavltEdit2, FDownFactorEdit, FDownDelayEdit, FUpFactorEdit, FUpDelayEdit})
    e->installEventFilter(adjusted);
}

void TFIRDesignForm::ResponseBoxChange() {
  Filter()->SetResponse(static_cast<sig::TResponseType>(FResponseBox->currentIndex()));
  ResponseLayout();
  ApplyChange();
}

void TFIRDesignForm::FirMethodEditChange() {
  Filter()->SetFirMethod(static_cast<sig::TFirFilterMethod>(FFirMethodEdit->currentIndex()));
  FirMethodLayout();
  ApplyChange();
}

void TFIRDesignForm::WindowEditChange() {
  Filter()->SetWindow(static_cast<dsp::TSignalWindowType>(FWindowEdit->currentIndex()));
  WindowLayout();
  ApplyChange();
}

void TFIRDesignForm::AutoLengthBoxClick() {
  Filter()->SetAutoFilterOrder(FAutoLengthBox->isChecked());
  // One property behind both boxes: the other shows it too when its response comes.
  Quietly([this] { FAutoOrderbox->setChecked(FAutoLengthBox->isChecked()); });
  WindowLayout();
  ApplyChange();
}

void TFIRDesignForm::AutoOrderboxClick() {
  Filter()->SetAutoFilterOrder(FAutoOrderbox->isChecked());
  Quietly([this] { FAutoLengthBox->setChecked(FAutoOrderbox->isChecked()); });
  AutoOrderLayout();
}

void TFIRDesignForm::IirMethodEditChange() {
  Filter()->SetIirMethod(static_cast<dsp::TIirFilterMethod>(FIirMethodEdit->currentIndex()));
  IirMethodLayout();
  ApplyChange();
}

void TFIRDesignForm::IirFrequencyTransformBoxChange() {
  Filter()->SetIIRFrequencyTransform(static_cast<dsp::TIirFrequencyTransform>(FIirFrequencyTransformBox->currentIndex()));
  ApplyChange();
}

void TFIRDesignForm::WavltEditChange() {
  Filter()->SetWavelet(static_cast<dsp::TWaveletType>(FWavltEdit->currentIndex()));
  WaveletLayout();
  // The new bounds may have moved the parameters shown.
  Filter()->SetWaveletP1(BoundedIntPosition(*FWavltEdit1));
  Filter()->SetWaveletP2(BoundedIntPosition(*FWavltEdit2));
  ApplyChange();
}

void TFIRDesignForm::WavltDecompEditChange() {
  Filter()->SetWaveletDecomp(static_cast<dsp::TWaveletDecomp>(FWavltDecompEdit->currentIndex()));
  ApplyChange();
}

void TFIRDesignForm::WavltEdit1Change() {
  Filter()->SetWaveletP1(BoundedIntPosition(*FWavltEdit1));
  ApplyChange();
}

void TFIRDesignForm::WavltEdit2Change() {
  Filter()->SetWaveletP2(BoundedIntPosition(*FWavltEdit2));
  ApplyChange();
}

void TFIRDesignForm::GridDensityEditChange() {
  Filter()->SetGridDensity(BoundedIntPosition(*FGridDensityEdit));
  ApplyChange();
}

void TFIRDesignForm::NormalizedFrequencyEditChange() {
  Filter()->SetNormalizedFrequency(FNormalizedFrequencyEdit->Position());
  ApplyChange();
}

void TFIRDesignForm::NormalizationBoxClick() {
  Filter()->SetUseNormalizedFrequency(FNormalizationBox->isChecked());
  ApplyChange();
}

void TFIRDesignForm::KeepDependents() {
  const sig::TSignalFilter& f = *Filter();
  FOrderKept = f.Order();
  FDownDelayKept = f.DownDelay();
  FUpDelayKept = f.UpDelay();
}

void TFIRDesignForm::FirLengthEditChange() {
  sig::TSignalFilter& f = *Filter();
  f.SetFirLength(BoundedIntPosition(*FFirLengthEdit));
  if (f.Response() == sig::rstSavGolay) {
    // "1" on the way to "15" must not leave the order at 0.
    f.SetOrder(FOrderKept);
    Quietly([&] {
      FPolyOrderEdit->SetMaxValue(std::to_string(f.FirLength() - 1));
      FPolyOrderEdit->SetPosition(f.Order());
    });
  }
  ApplyChange();
}

void TFIRDesignForm::PolyOrderEditChange() {
  Filter()->SetOrder(BoundedIntPosition(*FPolyOrderEdit));
  FOrderKept = Filter()->Order();
  ApplyChange();
}

void TFIRDesignForm::BetaEditChange() {
  Filter()->SetBeta(FBetaEdit->Position());
  ApplyChange();
}

void TFIRDesignForm::IgnoreAttBoxClick() {
  Filter()->SetIgnoreAtt(FIgnoreAttBox->isChecked());
  ApplyChange();
}

void TFIRDesignForm::DownFactorEditChange() {
  sig::TSignalFilter& f = *Filter();
  f.SetDownSample(BoundedIntPosition(*FDownFactorEdit));
  f.SetDownDelay(FDownDelayKept);
  Quietly([&] { FDownDelayEdit->SetPosition(f.DownDelay()); });
  ApplyChange();
}

void TFIRDesignForm::DownDelayEditChange() {
  Filter()->SetDownDelay(BoundedIntPosition(*FDownDelayEdit));
  FDownDelayKept = Filter()->DownDelay();
  ApplyChange();
}

void TFIRDesignForm::UpFactorEditChange() {
  sig::TSignalFilter& f = *Filter();
  f.SetUpSample(BoundedIntPosition(*FUpFactorEdit));
  f.SetUpDelay(FUpDelayKept);
  Quietly([&] { FUpDelayEdit->SetPosition(f.UpDelay()); });
  ApplyChange();
}

void TFIRDesignForm::UpDelayEditChange() {
  Filter()->SetUpDelay(BoundedIntPosition(*FUpDelayEdit));
  FUpDelayKept = Filter()->UpDelay();
  ApplyChange();
}

void TFIRDesignForm::ViewFilterClick() {
  if (Filter() == nullptr) return;
  // A window of its own on a copy of the taps: the next design replaces them.
  ViewValues(Filter()->Taps(), "Filter taps", false, StayOnTop(), false);
}

sig::TStreamTemplates* TFIRDesignForm::AppendableTemplates() const {
  return Filter() != nullptr ? &Filter()->Filters() : nullptr;
}

// --- Registration ----------------------------------------------------------

void RegisterFIRDesignForm() {
  chart_editors::RegisterEditorForm("TFIRDesignForm", chart_editors::EditorFormFactory<TFIRDesignForm>());
}

void UnregisterFIRDesignForm() { chart_editors::UnRegisterEditorForm("TFIRDesignForm"); }

}  // namespace analysis_ui
