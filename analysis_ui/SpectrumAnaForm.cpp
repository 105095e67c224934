// The spectrum analyser form: its life, and the pages Basic, Averaging,
// Peaks, Order and Phase: filling them, the enable rules and the handlers
// that write the analyser's properties.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#include "analysis_ui/SpectrumAna.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "chart_editors/EditorForm.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace analysis_ui {

namespace {

// A control and its caption and unit labels (named after it).
void EnableWithLabels(QWidget* control, bool on) {
  control->setEnabled(on);
  const QWidget* page = control->parentWidget();
  for (const char* suffix : {"Label", "Unit"})
    if (auto* label = page->findChild<QLabel*>(control->objectName() + suffix)) label->setEnabled(on);
}

// The zero padding item of a factor: its base-2 logarithm, within the items.
int ZeroPaddingItem(std::int32_t factor) {
  int item = 0;
  while (item < 6 && (std::int64_t{1} << (item + 1)) <= factor) ++item;
  return item;
}

// The item of an ordinal, or none when the list has no item for it.
void SelectItem(QComboBox* box, int ordinal) { box->setCurrentIndex(ordinal < box->count() ? ordinal : -1); }

// A whole number from an edit while it is being typed: the edit holds its
// bounds only once the text is committed, and the property cannot wait.
std::int32_t AtLeastOne(const TMtxFloatEdit* edit) { return std::max(edit->IntPosition(), 1); }

// Trace items that are a trace method: every one but "All".
constexpr int PeakTraceAll = 5;

}  // namespace

TSpectrumAnaForm::TSpectrumAnaForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("SpectrumAnaForm");
  setWindowTitle("Spectral analysis");
  auto* layout = new QVBoxLayout(ClientArea());
  layout->setContentsMargins(0, 0, 0, 0);
  FPages = new QTabWidget(ClientArea());
  FPages->setObjectName("PageControl1");
  layout->addWidget(FPages);
  struct TPage {
    const char* Name;
    const char* Caption;
    void (TSpectrumAnaForm::*Create)(QWidget*);
  };
  const TPage pages[] = {
      {"BasicSheet", "Basic", &TSpectrumAnaForm::CreateBasicPage},
      {"AveragingSheet", "Averaging", &TSpectrumAnaForm::CreateAveragingPage},
      {"PeaksSheet", "Peaks", &TSpectrumAnaForm::CreatePeaksPage},
      {"BandsSheet", "Bands", &TSpectrumAnaForm::CreateBandsPage},
      {"OrderSheet", "Order", &TSpectrumAnaForm::CreateOrderPage},
      {"PhaseSheet", "Phase", &TSpectrumAnaForm::CreatePhasePage},
      {"InfoSheet", "Info", &TSpectrumAnaForm::CreateInfoPage},
      {"ReportSheet", "Report", &TSpectrumAnaForm::CreateReportPage},
  };
  for (const TPage& p : pages) {
    auto* page = new QWidget(FPages);
    page->setObjectName(p.Name);
    (this->*p.Create)(page);
    FPages->addTab(page, p.Caption);
  }
  ConnectHandlers();
  ConnectBands();
  ConnectReport();
  // The tolerance has no setting of its own: shown, but not for editing.
  EnableWithLabels(FToleranceEdit, false);
  FReferenceBox->setCurrentIndex(0);
  ReferenceLayout();
  SetBandEditsEnabled(false);
  resize(560, 380);
}

TSpectrumAnaForm::~TSpectrumAnaForm() = default;

// --- Life ------------------------------------------------------------------

void TSpectrumAnaForm::FillControls() {
  FPages->setCurrentIndex(0);
  FillParameters();
  FillBands();
  FillReport();
  FullBandwidthLayout();
  WindowLayout();
  MethodLayout();
  PeakTraceLayout(FPeakTraceBox->currentIndex());
  LogarithmicLayout();
  AveragingLayout();
  InterpolationLayout();
  PhaseModeLayout();
}

void TSpectrumAnaForm::KeepChanges() {
  // Taking the chosen template reloads the list; that alone recomputes nothing.
  SetReady(false);
  try {
    FBandsBox->Refresh();
  } catch (...) {
    SetReady(true);
    throw;
  }
  SetReady(true);
}

void TSpectrumAnaForm::AfterClose() { Analyzer()->Bands().RefreshTemplate(); }

sig::TStreamTemplates* TSpectrumAnaForm::AppendableTemplates() const {
  return Analyzer() != nullptr ? &Analyzer()->Bands() : nullptr;
}

void TSpectrumAnaForm::SetStayOnTop(bool Value) {
  TComponentEditorForm::SetStayOnTop(Value);
  // Keeping above the others changes no selection here: the edits stay with the band shown.
  SetBandEditsEnabled(FBandsBox->SelectedLine() >= 0);
}

// --- Filling ---------------------------------------------------------------

void TSpectrumAnaForm::FillParameters() {
  const sig::TSpectrumAnalyzer& a = *Analyzer();
  SelectItem(FMethodsBox, a.Method());
  SelectItem(FSpectrumTypeBox, a.SpectrumType());
  SelectItem(FWindowBox, a.Window());
  FSidelobeAttBox->SetPosition(a.SidelobeAtt());
  FZeroPaddingBox->setCurrentIndex(ZeroPaddingItem(a.ZeroPadding()));
  SelectItem(FIntegrationBox, a.Integration());
  FRemoveDCBox->setChecked(a.DCDump());
  FLogarithmicBox->setChecked(a.Logarithmic());
  SelectItem(FLogSpanBox, a.LogSpan());
  SelectItem(FLogScaleBox, a.LogType());
  FConjugateExtendBox->setChecked(a.ConjExtend());
  FFlipBox->setChecked(a.ConjFlip());
  FAROrderEdit->SetPosition(a.AROrder());
  FScaleFactorEdit->SetPosition(a.ScaleFactor());
  FRotationEdit->SetPosition(a.Rotation());
  FCZTStartEdit->SetPosition(a.CZT().StartFrequency());
  FCZTEndEdit->SetPosition(a.CZT().StopFrequency());
  FCZTStepEdit->SetPosition(a.CZT().FrequencyStep());
  FCZTRStartEdit->SetPosition(a.CZT().StartRadius());
  FCZTRStopEdit->SetPosition(a.CZT().StopRadius());

  const sig::TSpectrumStats& stats = a.Stats();
  SelectItem(FAveragingTypeBox, stats.Averaging());
  FAveragesEdit->SetPosition(stats.Averages());
  FExpDecayBox->SetPosition(stats.ExpDecay());
  FStdDevBox->setChecked(stats.CalcStdDev());
  FAveragesMadeLabel->setText(QString::fromStdString("Averages made: " + classlib::IntToStr(stats.Averaged())));

  const sig::TSpectrumPeaksAnalyzer& peaks = a.Peaks();
  SelectItem(FPeakTraceBox, peaks.TraceMethod());
  FLargestEdit->SetPosition(peaks.LargestCount());
  FHarmonicsEdit->SetPosition(a.Harmonics());
  SelectItem(FInterpolationBox, peaks.Interpolation().Method());
  SelectItem(FInterpolationPrecisionBox, peaks.Interpolation().Precision());
  FTracedHarmonicsBox->setChecked(peaks.Interpolation().Harmonics());
  FFullBWBox->setChecked(peaks.UseFullBandwidth());
  FBandwidthLEdit->SetPosition(peaks.BandwidthL());
  FBandwidthHEdit->SetPosition(peaks.BandwidthH());
  FTraceIntervalEdit->SetPosition(peaks.TraceInterval());
  FOrderEdit->SetPosition(peaks.OrderFrequency());
  SelectItem(FOrderTracingEdit, peaks.OrderTracing());
  FOrderPeakNumber->SetPosition(peaks.OrderPeakNumber());
  FOrderActiveBox->setChecked(peaks.OrderActive());

  SelectItem(FPhaseModeBox, a.PhaseMode());
  SelectItem(FPhaseUnitsBox, a.PhaseUnits());
  SelectItem(FPhaseRangeBox, a.PhaseRange());
  FUnwrapPhaseBox->setChecked(a.UnwrapPhase());
  SelectItem(FRunningPhaseBox, a.RunningPhase());
}

// --- Enable rules ----------------------------------------------------------

void TSpectrumAnaForm::MethodLayout() {
  for (QWidget* c : {static_cast<QWidget*>(FAROrderEdit), static_cast<QWidget*>(FRemoveDCBox),
                     static_cast<QWidget*>(FCZTStartEdit), static_cast<QWidget*>(FCZTEndEdit),
                     static_cast<QWidget*>(FCZTStepEdit)})
    EnableWithLabels(c, false);
  switch (Analyzer()->Method()) {
    case sig::smFFT:
      EnableWithLabels(FRemoveDCBox, true);
      break;
    case sig::smYuleWalker:
    case sig::smBurg:
    case sig::smCov:
    case sig::smMCov:
      EnableWithLabels(FAROrderEdit, true);
      break;
    case sig::smCZT:
      for (QWidget* c : {FCZTStartEdit, FCZTEndEdit, FCZTStepEdit}) EnableWithLabels(c, true);
      break;
    default:
      break;
  }
}

void TSpectrumAnaForm::WindowLayout() {
  const auto w = Analyzer()->Window();
  EnableWithLabels(FSidelobeAttBox, w == dsp::wtKaiser || w == dsp::wtChebyshev);
}

void TSpectrumAnaForm::LogarithmicLayout() {
  const bool on = Analyzer()->Logarithmic();
  EnableWithLabels(FLogSpanBox, on);
  EnableWithLabels(FLogScaleBox, on);
}

void TSpectrumAnaForm::AveragingLayout() {
  for (QWidget* c : {static_cast<QWidget*>(FExpDecayBox), static_cast<QWidget*>(FAveragesEdit),
                     static_cast<QWidget*>(FStdDevBox)})
    EnableWithLabels(c, false);
  switch (Analyzer()->Stats().Averaging()) {
    case sig::avLinearInf:
      EnableWithLabels(FStdDevBox, true);
      break;
    case sig::avExponentInf:
    case sig::avPeakAndDecay:
      EnableWithLabels(FExpDecayBox, true);
      break;
    case sig::avLinear:
      EnableWithLabels(FAveragesEdit, true);
      EnableWithLabels(FStdDevBox, true);
      break;
    case sig::avPeakHold:
    case sig::avPeakHoldInf:
      EnableWithLabels(FAveragesEdit, true);
      break;
    default:
      break;
  }
}

void TSpectrumAnaForm::PeakTraceLayout(int Item) {
  EnableWithLabels(FLargestEdit, Item == sig::ptLargest);
  if (Item == PeakTraceAll || Item < 0) return;
  EnableWithLabels(FTraceIntervalEdit, Item == sig::ptCurrent || Item == sig::ptFreqHarmonics);
  EnableWithLabels(FHarmonicsEdit,
                   Item == sig::ptCurrent || Item == sig::ptAmpltHarmonics || Item == sig::ptFreqHarmonics);
}

void TSpectrumAnaForm::InterpolationLayout() {
  EnableWithLabels(FInterpolationPrecisionBox, Analyzer()->Peaks().Interpolation().Method() == sig::imNumeric);
}

void TSpectrumAnaForm::FullBandwidthLayout() {
  const bool limited = !Analyzer()->Peaks().UseFullBandwidth();
  EnableWithLabels(FBandwidthLEdit, limited);
  EnableWithLabels(FBandwidthHEdit, limited);
}

void TSpectrumAnaForm::PhaseModeLayout() {
  const bool shown = Analyzer()->PhaseMode() == sig::pm360;
  for (QWidget* c : {static_cast<QWidget*>(FPhaseUnitsBox), static_cast<QWidget*>(FPhaseRangeBox),
                     static_cast<QWidget*>(FUnwrapPhaseBox)})
    EnableWithLabels(c, shown);
  UnwrapPhaseLayout();
}

void TSpectrumAnaForm::UnwrapPhaseLayout() {
  // The running phase belongs to unwrapping, which only the default phase shows.
  EnableWithLabels(FRunningPhaseBox, Analyzer()->PhaseMode() == sig::pm360 && Analyzer()->UnwrapPhase());
}

// --- Handlers --------------------------------------------------------------

void TSpectrumAnaForm::OnChange(QComboBox* Box, void (TSpectrumAnaForm::*Body)()) {
  connect(Box, &QComboBox::currentIndexChanged, this, ui::Guarded([this, Box, Body] {
            if (Ready() && Analyzer() != nullptr && Box->currentIndex() >= 0) (this->*Body)();
          }));
}

void TSpectrumAnaForm::OnChange(QCheckBox* Box, void (TSpectrumAnaForm::*Body)()) {
  connect(Box, &QCheckBox::toggled, this, ui::Guarded([this, Body] {
            if (Ready() && Analyzer() != nullptr) (this->*Body)();
          }));
}

void TSpectrumAnaForm::OnChange(TMtxFloatEdit* Edit, void (TSpectrumAnaForm::*Body)()) {
  connect(Edit, &QLineEdit::textChanged, this, ui::Guarded([this, Body] {
            if (Ready() && Analyzer() != nullptr) (this->*Body)();
          }));
}

void TSpectrumAnaForm::ConnectHandlers() {
  using F = TSpectrumAnaForm;
  OnChange(FMethodsBox, &F::MethodsBoxChange);
  OnChange(FSpectrumTypeBox, &F::SpectrumTypeBoxChange);
  OnChange(FWindowBox, &F::WindowBoxChange);
  OnChange(FSidelobeAttBox, &F::SidelobeAttBoxChange);
  OnChange(FZeroPaddingBox, &F::ZeroPaddingBoxChange);
  OnChange(FIntegrationBox, &F::IntegrationBoxChange);
  OnChange(FRemoveDCBox, &F::RemoveDCBoxClick);
  OnChange(FLogarithmicBox, &F::LogarithmicBoxClick);
  OnChange(FLogSpanBox, &F::LogSpanBoxChange);
  OnChange(FLogScaleBox, &F::LogScaleBoxChange);
  OnChange(FConjugateExtendBox, &F::ConjugateExtendBoxClick);
  OnChange(FFlipBox, &F::FlipBoxClick);
  OnChange(FAROrderEdit, &F::AROrderEditChange);
  OnChange(FScaleFactorEdit, &F::ScaleFactorEditChange);
  OnChange(FRotationEdit, &F::RotationEditChange);
  OnChange(FCZTStartEdit, &F::CZTStartEditChange);
  OnChange(FCZTEndEdit, &F::CZTEndEditChange);
  OnChange(FCZTStepEdit, &F::CZTStepEditChange);
  OnChange(FCZTRStartEdit, &F::CZTRStartEditChange);
  OnChange(FCZTRStopEdit, &F::CZTRStopEditChange);
  OnChange(FAveragingTypeBox, &F::AveragingTypeBoxChange);
  OnChange(FAveragesEdit, &F::AveragesEditChange);
  OnChange(FExpDecayBox, &F::ExpDecayBoxChange);
  OnChange(FStdDevBox, &F::StdDevBoxClick);
  OnChange(FPeakTraceBox, &F::PeakTraceBoxChange);
  OnChange(FLargestEdit, &F::LargestEditChange);
  OnChange(FHarmonicsEdit, &F::HarmonicsEditChange);
  OnChange(FInterpolationBox, &F::InterpolationBoxChange);
  OnChange(FInterpolationPrecisionBox, &F::InterpolationPrecisionBoxChange);
  OnChange(FTracedHarmonicsBox, &F::TracedHarmonicsBoxClick);
  OnChange(FFullBWBox, &F::FullBWBoxClick);
  OnChange(FBandwidthLEdit, &F::BandwidthLEditChange);
  OnChange(FBandwidthHEdit, &F::BandwidthHEditChange);
  OnChange(FTraceIntervalEdit, &F::TraceIntervalEditChange);
  OnChange(FOrderEdit, &F::OrderEditChange);
  OnChange(FOrderTracingEdit, &F::OrderTracingEditChange);
  OnChange(FOrderPeakNumber, &F::OrderPeakNumberChange);
  OnChange(FOrderActiveBox, &F::OrderActiveBoxClick);
  OnChange(FPhaseModeBox, &F::PhaseModeBoxChange);
  OnChange(FPhaseUnitsBox, &F::PhaseUnitsBoxChange);
  OnChange(FPhaseRangeBox, &F::PhaseRangeBoxChange);
  OnChange(FUnwrapPhaseBox, &F::UnwrapPhaseBoxClick);
  OnChange(FRunningPhaseBox, &F::RunningPhaseBoxChange);
  connect(FResetButton, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Analyzer() != nullptr) Analyzer()->ResetAveraging();
          }));
  connect(FUpdatePeaksButton, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Analyzer() != nullptr) Analyzer()->Peaks().Update();
          }));
}

void TSpectrumAnaForm::MethodsBoxChange() {
  Analyzer()->SetMethod(static_cast<sig::TSpectrumMethod>(FMethodsBox->currentIndex()));
  MethodLayout();
  ApplyChange();
}

void TSpectrumAnaForm::SpectrumTypeBoxChange() {
  Analyzer()->SetSpectrumType(static_cast<sig::TSpectrumType>(FSpectrumTypeBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::WindowBoxChange() {
  Analyzer()->SetWindow(static_cast<sig::TSignalWindowType>(FWindowBox->currentIndex()));
  WindowLayout();
  ApplyChange();
}

void TSpectrumAnaForm::SidelobeAttBoxChange() {
  Analyzer()->SetSidelobeAtt(FSidelobeAttBox->Position());
  ApplyChange();
}

void TSpectrumAnaForm::ZeroPaddingBoxChange() {
  Analyzer()->SetZeroPadding(classlib::StrToInt(FZeroPaddingBox->currentText().toStdString()));
  ApplyChange();
}

void TSpectrumAnaForm::IntegrationBoxChange() {
  Analyzer()->SetIntegration(static_cast<sig::TIntegration>(FIntegrationBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::RemoveDCBoxClick() {
  Analyzer()->SetDCDump(FRemoveDCBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::LogarithmicBoxClick() {
  Analyzer()->SetLogarithmic(FLogarithmicBox->isChecked());
  LogarithmicLayout();
  ApplyChange();
}

void TSpectrumAnaForm::LogSpanBoxChange() {
  Analyzer()->SetLogSpan(static_cast<sig::TLogSpan>(FLogSpanBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::LogScaleBoxChange() {
  Analyzer()->SetLogType(static_cast<sig::TLogType>(FLogScaleBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::ConjugateExtendBoxClick() {
  Analyzer()->SetConjExtend(FConjugateExtendBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::FlipBoxClick() {
  Analyzer()->SetConjFlip(FFlipBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::AROrderEditChange() {
  Analyzer()->SetAROrder(AtLeastOne(FAROrderEdit));
  ApplyChange();
}

void TSpectrumAnaForm::ScaleFactorEditChange() {
  Analyzer()->SetScaleFactor(FScaleFactorEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::RotationEditChange() {
  Analyzer()->SetRotation(FRotationEdit->IntPosition());
  ApplyChange();
}

void TSpectrumAnaForm::CZTStartEditChange() {
  sig::TSpectrumCZT& czt = Analyzer()->CZT();
  czt.SetStartFrequency(FCZTStartEdit->Position());
  // The range may have moved the stop; showing it runs the stop's own handler.
  if (czt.StopFrequency() != FCZTEndEdit->Position())
    FCZTEndEdit->SetPosition(czt.StopFrequency());
  else
    ApplyChange();
}

void TSpectrumAnaForm::CZTEndEditChange() {
  sig::TSpectrumCZT& czt = Analyzer()->CZT();
  czt.SetStopFrequency(FCZTEndEdit->Position());
  if (czt.StartFrequency() != FCZTStartEdit->Position())
    FCZTStartEdit->SetPosition(czt.StartFrequency());
  else
    ApplyChange();
}

void TSpectrumAnaForm::CZTStepEditChange() {
  Analyzer()->CZT().SetFrequencyStep(FCZTStepEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::CZTRStartEditChange() {
  Analyzer()->CZT().SetStartRadius(FCZTRStartEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::CZTRStopEditChange() {
  Analyzer()->CZT().SetStopRadius(FCZTRStopEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::AveragingTypeBoxChange() {
  Analyzer()->Stats().SetAveraging(static_cast<sig::TAveraging>(FAveragingTypeBox->currentIndex()));
  AveragingLayout();
  ApplyChange();
}

void TSpectrumAnaForm::AveragesEditChange() {
  Analyzer()->Stats().SetAverages(static_cast<std::uint32_t>(AtLeastOne(FAveragesEdit)));
  ApplyChange();
}

void TSpectrumAnaForm::ExpDecayBoxChange() {
  Analyzer()->Stats().SetExpDecay(FExpDecayBox->IntPosition());
  ApplyChange();
}

void TSpectrumAnaForm::StdDevBoxClick() {
  Analyzer()->Stats().SetCalcStdDev(FStdDevBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::PeakTraceBoxChange() {
  const int item = FPeakTraceBox->currentIndex();
  // "All" is no trace method: the analyser keeps its own.
  if (item >= 0 && item != PeakTraceAll)
    Analyzer()->Peaks().SetTraceMethod(static_cast<sig::TPeakTraceMethod>(item));
  PeakTraceLayout(item);
  ApplyChange();
}

void TSpectrumAnaForm::LargestEditChange() {
  Analyzer()->Peaks().SetLargestCount(FLargestEdit->IntPosition());
  ApplyChange();
}

void TSpectrumAnaForm::HarmonicsEditChange() {
  Analyzer()->SetHarmonics(FHarmonicsEdit->IntPosition());
  ApplyChange();
}

void TSpectrumAnaForm::InterpolationBoxChange() {
  Analyzer()->Peaks().Interpolation().SetMethod(
      static_cast<sig::TInterpolationMethod>(FInterpolationBox->currentIndex()));
  InterpolationLayout();
  ApplyChange();
}

void TSpectrumAnaForm::InterpolationPrecisionBoxChange() {
  Analyzer()->Peaks().Interpolation().SetPrecision(
      static_cast<sig::TInterpolationPrecision>(FInterpolationPrecisionBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::TracedHarmonicsBoxClick() {
  Analyzer()->Peaks().Interpolation().SetHarmonics(FTracedHarmonicsBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::FullBWBoxClick() {
  Analyzer()->Peaks().SetUseFullBandwidth(FFullBWBox->isChecked());
  FullBandwidthLayout();
  ApplyChange();
}

void TSpectrumAnaForm::BandwidthLEditChange() {
  Analyzer()->Peaks().SetBandwidthL(FBandwidthLEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::BandwidthHEditChange() {
  Analyzer()->Peaks().SetBandwidthH(FBandwidthHEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::TraceIntervalEditChange() {
  Analyzer()->Peaks().SetTraceInterval(FTraceIntervalEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::OrderEditChange() {
  Analyzer()->Peaks().SetOrderFrequency(FOrderEdit->Position());
  ApplyChange();
}

void TSpectrumAnaForm::OrderTracingEditChange() {
  Analyzer()->Peaks().SetOrderTracing(static_cast<sig::TOrderTracing>(FOrderTracingEdit->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::OrderPeakNumberChange() {
  Analyzer()->Peaks().SetOrderPeakNumber(FOrderPeakNumber->IntPosition());
  ApplyChange();
}

void TSpectrumAnaForm::OrderActiveBoxClick() {
  Analyzer()->Peaks().SetOrderActive(FOrderActiveBox->isChecked());
  ApplyChange();
}

void TSpectrumAnaForm::PhaseModeBoxChange() {
  Analyzer()->SetPhaseMode(static_cast<sig::TPhaseMode>(FPhaseModeBox->currentIndex()));
  PhaseModeLayout();
  ApplyChange();
}

void TSpectrumAnaForm::PhaseUnitsBoxChange() {
  Analyzer()->SetPhaseUnits(static_cast<sig::TPhaseUnits>(FPhaseUnitsBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::PhaseRangeBoxChange() {
  Analyzer()->SetPhaseRange(static_cast<sig::TPhaseRange>(FPhaseRangeBox->currentIndex()));
  ApplyChange();
}

void TSpectrumAnaForm::UnwrapPhaseBoxClick() {
  Analyzer()->SetUnwrapPhase(FUnwrapPhaseBox->isChecked());
  UnwrapPhaseLayout();
  ApplyChange();
}

void TSpectrumAnaForm::RunningPhaseBoxChange() {
  Analyzer()->SetRunningPhase(static_cast<sig::TRunningPhase>(FRunningPhaseBox->currentIndex()));
  ApplyChange();
}

// --- Registration ----------------------------------------------------------

void RegisterSpectrumAnaForm() {
  chart_editors::RegisterEditorForm("TSpectrumAnaForm", chart_editors::EditorFormFactory<TSpectrumAnaForm>());
}

void UnregisterSpectrumAnaForm() { chart_editors::UnRegisterEditorForm("TSpectrumAnaForm"); }

}  // namespace analysis_ui
