// The control window of a sound recorder.
//
// Tested by: analysis_ui/tests/SignalInDialogTest.cpp
#include "analysis_ui/SignalInDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "analysis_ui/AudioDialogSupport.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

namespace {

// The mixer's destination that records.
constexpr std::int32_t RecordingDestination = 1;
// Milliseconds the recording runs between two readings of a calibration.
constexpr int CalibrationInterval = 200;

void MakeIntegerEdit(TMtxFloatEdit& edit, const char* minimum, const char* maximum) {
  edit.SetReFormat("0");
  edit.SetIntegerIncrement(true);
  edit.SetIncrement("1");
  edit.SetMinValue(minimum);
  edit.SetMaxValue(maximum);
}

}  // namespace

TSignalInDialogForm::TSignalInDialogForm(QWidget* owner)
    : TComponentEditorForm(owner),
      FMixer(std::make_unique<sig::TSignalOSMixer>()),
      FSignal(std::make_unique<sig::TSignal>()) {
  setObjectName("SignalInDialogForm");
  setWindowTitle("Audio recording");
  resize(402, 267);
  FSignal->SetSamplingFrequency(1.0);

  auto* clientLayout = new QVBoxLayout(ClientArea());
  clientLayout->setContentsMargins(0, 0, 0, 0);
  PageControl1 = CreateControl<QTabWidget>(ClientArea(), "PageControl1");
  clientLayout->addWidget(PageControl1);

  // Page "Basic".
  BasicSheet = CreateControl<QWidget>(PageControl1, "BasicSheet");
  PageControl1->addTab(BasicSheet, "Basic");
  RecordingBox = CreateControl<QGroupBox>(BasicSheet, "RecordingBox", "Recording");
  FSEdit = CreateControl<TMtxFloatEdit>(RecordingBox, "FSEdit");
  FSEdit->SetReFormat("0");
  FSEdit->SetIncrement("1");
  // A rate of 0 would make the buffer length endless; the rate counts whole hertz.
  FSEdit->SetMinValue("1");
  FSEdit->SetMaxValue("INF");
  DynamicsEditBox = CreateControl<QComboBox>(RecordingBox, "DynamicsEditBox");
  DynamicsEditBox->addItems(DynamicsItems());
  DeviceBox = CreateControl<QComboBox>(RecordingBox, "DeviceBox");
  BuffersEdit = CreateControl<TMtxFloatEdit>(RecordingBox, "BuffersEdit");
  MakeIntegerEdit(*BuffersEdit, "2", "8");
  BufferLengthEdit = CreateControl<TMtxFloatEdit>(RecordingBox, "BufferLengthEdit");
  BufferLengthEdit->SetReFormat("0.00#");
  BufferLengthEdit->SetMinValue("0.05");
  BufferLengthEdit->SetMaxValue("10");
  StereoBox = CreateControl<QCheckBox>(RecordingBox, "StereoBox", "Stereo");
  auto* recordingGrid = new QGridLayout(RecordingBox);
  AddFieldRow(*recordingGrid, 0, CreateControl<QLabel>(RecordingBox, "FSLabel", "Sampling freq:"), FSEdit,
         CreateControl<QLabel>(RecordingBox, "FSUnitLabel", "[Hz]"));
  AddFieldRow(*recordingGrid, 1, CreateControl<QLabel>(RecordingBox, "DynamicsLabel", "Dynamics: "), DynamicsEditBox,
         CreateControl<QLabel>(RecordingBox, "DynamicsUnitLabel", "[bit]"));
  AddFieldRow(*recordingGrid, 2, CreateControl<QLabel>(RecordingBox, "DeviceLabel", "Source:"), DeviceBox);
  AddFieldRow(*recordingGrid, 3, CreateControl<QLabel>(RecordingBox, "BuffersLabel", "Buffers:"), BuffersEdit);
  AddFieldRow(*recordingGrid, 4, CreateControl<QLabel>(RecordingBox, "BufferLengthLabel", "Buffer length:"),
         BufferLengthEdit, CreateControl<QLabel>(RecordingBox, "BufferLengthUnitLabel", "[s]"));
  recordingGrid->addWidget(StereoBox, 5, 1);
  recordingGrid->setColumnStretch(1, 1);
  StatisticsBox = CreateControl<QGroupBox>(BasicSheet, "StatisticsBox", "Statistics");
  MonitorFreqLabel = CreateControl<QLabel>(StatisticsBox, "MonitorFreqLabel");
  OverlappingLabel = CreateControl<QLabel>(StatisticsBox, "OverlappingLabel");
  // Room for a monitor of a few kilohertz, so that the window does not widen
  // as the figures grow.
  MonitorFreqLabel->setMinimumWidth(MonitorFreqLabel->fontMetrics().horizontalAdvance("Monitor frequency: 0000.0 [Hz]"));
  auto* statisticsLayout = new QVBoxLayout(StatisticsBox);
  statisticsLayout->addWidget(MonitorFreqLabel);
  statisticsLayout->addWidget(OverlappingLabel);
  statisticsLayout->addStretch(1);
  auto* basicLayout = new QHBoxLayout(BasicSheet);
  basicLayout->addWidget(RecordingBox, 3);
  basicLayout->addWidget(StatisticsBox, 2);

  // Page "Triggering/Monitor".
  TriggerSheet = CreateControl<QWidget>(PageControl1, "TriggerSheet");
  PageControl1->addTab(TriggerSheet, "Triggering/Monitor");
  ConfigurationBox = CreateControl<QGroupBox>(TriggerSheet, "ConfigurationBox", "Configuration");
  AutoTriggerLagBox = CreateControl<TMtxFloatEdit>(ConfigurationBox, "AutoTriggerLagBox");
  MakeIntegerEdit(*AutoTriggerLagBox, "30", "300");
  TriggerBox = CreateControl<QComboBox>(ConfigurationBox, "TriggerBox");
  TriggerBox->addItems({"None", "Single", "Auto"});
  TriggerModeBox = CreateControl<QComboBox>(ConfigurationBox, "TriggerModeBox");
  TriggerModeBox->addItems({"Crossing", "Above/Below", "Peak"});
  TriggerPositionBox = CreateControl<QComboBox>(ConfigurationBox, "TriggerPositionBox");
  TriggerPositionBox->addItems({"After", "Before", "Center", "User"});
  TriggerChannelBox = CreateControl<QComboBox>(ConfigurationBox, "TriggerChannelBox");
  TriggerChannelBox->addItems({"Left", "Right"});
  TriggerAboveEdit = CreateControl<TMtxFloatEdit>(ConfigurationBox, "TriggerAboveEdit");
  TriggerBelowEdit = CreateControl<TMtxFloatEdit>(ConfigurationBox, "TriggerBelowEdit");
  TriggerDelayEdit = CreateControl<TMtxFloatEdit>(ConfigurationBox, "TriggerDelayEdit");
  MakeIntegerEdit(*TriggerDelayEdit, "-100000", "100000");
  auto* configurationGrid = new QGridLayout(ConfigurationBox);
  auto label = [this](const char* name, const char* text) {
    return CreateControl<QLabel>(ConfigurationBox, name, text);
  };
  AddFieldRow(*configurationGrid, 0, label("AutoTriggerLagLabel", "Auto trigger lag:"), AutoTriggerLagBox);
  AddFieldRow(*configurationGrid, 1, label("TriggerLabel", "Trigger:"), TriggerBox);
  AddFieldRow(*configurationGrid, 2, label("TriggerModeLabel", "Trigger mode"), TriggerModeBox);
  AddFieldRow(*configurationGrid, 3, label("TriggerPositionLabel", "Trigger position:"), TriggerPositionBox);
  AddFieldRow(*configurationGrid, 0, label("TriggerChannelLabel", "Trigger channel:"), TriggerChannelBox, nullptr, 2);
  AddFieldRow(*configurationGrid, 1, label("TriggerAboveLabel", "Trigger if above:"), TriggerAboveEdit, nullptr, 2);
  AddFieldRow(*configurationGrid, 2, label("TriggerBelowLabel", "Trigger if below:"), TriggerBelowEdit, nullptr, 2);
  AddFieldRow(*configurationGrid, 3, label("TriggerDelayLabel", "Trigger delay:"), TriggerDelayEdit, nullptr, 2);
  TriggerResetBox = CreateControl<QGroupBox>(TriggerSheet, "TriggerResetBox", "Trigger reset");
  TriggerCatchUpLabel = CreateControl<QLabel>(TriggerResetBox, "TriggerCatchUpLabel");
  TriggerCountLabel = CreateControl<QLabel>(TriggerResetBox, "TriggerCountLabel");
  ResetCatchUpsButton = CreateControl<QToolButton>(TriggerResetBox, "ResetCatchUpsButton", "Reset counters");
  ResetCatchUpsButton->setAutoRaise(true);
  ResetTriggerButton = CreateControl<QToolButton>(TriggerResetBox, "ResetTriggerButton", "Reset trigger");
  ResetTriggerButton->setAutoRaise(true);
  auto* resetLayout = new QGridLayout(TriggerResetBox);
  resetLayout->addWidget(TriggerCatchUpLabel, 0, 0);
  resetLayout->addWidget(TriggerCountLabel, 1, 0);
  resetLayout->addWidget(ResetCatchUpsButton, 0, 1);
  resetLayout->addWidget(ResetTriggerButton, 1, 1);
  resetLayout->setColumnStretch(0, 1);
  auto* triggerLayout = new QVBoxLayout(TriggerSheet);
  triggerLayout->addWidget(ConfigurationBox);
  triggerLayout->addWidget(TriggerResetBox);
  triggerLayout->addStretch(1);

  // Page "Gain control".
  GainSheet = CreateControl<QWidget>(PageControl1, "GainSheet");
  PageControl1->addTab(GainSheet, "Gain control");
  CalibrationBox = CreateControl<QGroupBox>(GainSheet, "CalibrationBox", "Calibration");
  CalibrationEdit = CreateControl<TMtxFloatEdit>(CalibrationBox, "CalibrationEdit");
  MakeIntegerEdit(*CalibrationEdit, "1", "100");
  CalibrationEdit->SetIntPosition(50);
  auto* calibrationLayout = new QHBoxLayout(CalibrationBox);
  calibrationLayout->addWidget(CreateControl<QLabel>(CalibrationBox, "TargetLabel", "Target:"));
  calibrationLayout->addWidget(CalibrationEdit);
  calibrationLayout->addWidget(CreateControl<QLabel>(CalibrationBox, "TargetUnitLabel", "[% of dynamic range]"));
  calibrationLayout->addStretch(1);
  VolumeBox = CreateControl<QGroupBox>(GainSheet, "VolumeBox", "Volume");
  VolumeBar = CreateControl<QSlider>(VolumeBox, "VolumeBar");
  VolumeBar->setOrientation(Qt::Horizontal);
  VolumeBar->setRange(0, VolumeRange);
  VolumeBar->setTickInterval(2000);
  VolumeBar->setTickPosition(QSlider::TicksBelow);
  VolumeBar->setPageStep(VolumeRange / 16);
  CalibrateButton = CreateControl<QPushButton>(VolumeBox, "CalibrateButton", "Calibrate");
  // Enter in a field would press the window's first button otherwise.
  CalibrateButton->setAutoDefault(false);
  auto* volumeLayout = new QHBoxLayout(VolumeBox);
  volumeLayout->addWidget(VolumeBar, 1);
  volumeLayout->addWidget(CalibrateButton);
  auto* gainLayout = new QVBoxLayout(GainSheet);
  gainLayout->addWidget(CalibrationBox);
  gainLayout->addWidget(VolumeBox);
  gainLayout->addStretch(1);

  CalibrationTimer = new QTimer(this);
  CalibrationTimer->setObjectName("CalibrationTimer");
  CalibrationTimer->setInterval(CalibrationInterval);

  // The options menu: no "Continuous" (a recorder always runs on).
  ContinuousItem()->setVisible(false);
  SaveItem()->setObjectName("Savesettings1");
  LoadItem()->setObjectName("Loadsettings1");
  WindowEditMenu()->addSeparator();
  RecordItem = WindowEditMenu()->addAction("Record");
  RecordItem->setObjectName("Record1");
  StopItem = WindowEditMenu()->addAction("Stop");
  StopItem->setObjectName("Stop1");

  connect(FSEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { FSEditChange(); }));
  connect(DynamicsEditBox, &QComboBox::activated, this, ui::Guarded([this] { DynamicsEditBoxChange(); }));
  connect(BuffersEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { BuffersEditChange(); }));
  connect(BufferLengthEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { BufferLengthEditChange(); }));
  connect(StereoBox, &QCheckBox::clicked, this, ui::Guarded([this] { StereoBoxClick(); }));
  for (QComboBox* box : {TriggerBox, TriggerModeBox, TriggerPositionBox, TriggerChannelBox})
    connect(box, &QComboBox::activated, this, ui::Guarded([this, box] { TriggerChange(box); }));
  for (TMtxFloatEdit* edit : {AutoTriggerLagBox, TriggerAboveEdit, TriggerBelowEdit, TriggerDelayEdit})
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, edit] { TriggerChange(edit); }));
  connect(VolumeBar, &QSlider::valueChanged, this, ui::Guarded([this] { VolumeBarChange(); }));
  connect(DeviceBox, &QComboBox::activated, this, ui::Guarded([this] { DeviceBoxChange(); }));
  connect(CalibrationEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { CalibrationEditChange(); }));
  connect(CalibrateButton, &QPushButton::clicked, this, ui::Guarded([this] { CalibrateButtonClick(); }));
  connect(CalibrationTimer, &QTimer::timeout, this, ui::Guarded([this] { CalibrationTimerTimer(); }));
  connect(ResetCatchUpsButton, &QToolButton::clicked, this, ui::Guarded([this] { ResetCatchUpsButtonClick(); }));
  connect(ResetTriggerButton, &QToolButton::clicked, this, ui::Guarded([this] { ResetTriggerButtonClick(); }));
  connect(RecordItem, &QAction::triggered, this, ui::Guarded([this] { RecordClick(); }));
  connect(StopItem, &QAction::triggered, this, ui::Guarded([this] { StopClick(); }));

  FillMixerSources();
}

TSignalInDialogForm::~TSignalInDialogForm() { CalibrationTimer->stop(); }

// --- the mixer ---------------------------------------------------------------

bool TSignalInDialogForm::VolumeRangeOf(std::int32_t Line, std::int32_t& Minimum, std::int32_t& Maximum) const {
  const sig::TMixerDestination* destination = FMixer->Destinations().Items(RecordingDestination);
  if (destination == nullptr) return false;
  const sig::TMixerConnection* connection = destination->Connections().Items(Line);
  if (connection == nullptr) return false;
  for (std::int32_t i = 0; i < connection->Controls().Count(); ++i) {
    const sig::TMixerControl& control = *connection->Controls().Items(i);
    if (control.ControlType != sig::mctVolume || control.Multiple) continue;
    Minimum = control.Minimum;
    Maximum = control.Maximum;
    return true;
  }
  return false;
}

int TSignalInDialogForm::BarOfVolume(std::int32_t Line, std::int32_t Volume) const {
  std::int32_t minimum = 0, maximum = 0;
  if (!VolumeRangeOf(Line, minimum, maximum) || maximum <= minimum) return 0;
  const double share = (static_cast<double>(Volume) - minimum) / (static_cast<double>(maximum) - minimum);
  return std::clamp(ui::Round(share * VolumeRange), 0, VolumeRange);
}

std::int32_t TSignalInDialogForm::VolumeOfBar(std::int32_t Line, int Bar) const {
  std::int32_t minimum = 0, maximum = 0;
  if (!VolumeRangeOf(Line, minimum, maximum)) return Bar;
  return minimum + ui::Round(static_cast<double>(Bar) / VolumeRange * (static_cast<double>(maximum) - minimum));
}

void TSignalInDialogForm::ShowVolume(int Bar) {
  FShowingVolume = true;
  VolumeBar->setValue(Bar);
  FShowingVolume = false;
}

void TSignalInDialogForm::FillMixerSources() {
  const bool usable = FMixer->MixerId() >= 0 && FMixer->NumberOfLine() >= 2;
  DeviceBox->setEnabled(usable);
  VolumeBar->setEnabled(usable);
  CalibrateButton->setEnabled(usable);
  if (!usable) return;
  const sig::TMixerConnections& sources = FMixer->Destinations().Items(RecordingDestination)->Connections();
  for (std::int32_t i = 0; i < sources.Count(); ++i)
    DeviceBox->addItem(QString::fromStdString(sources.Items(i)->Line().Name));
  bool hasSelect = false, muteDisabled = true, volumeDisabled = true, stereo = false;
  std::int32_t mute = -1, right = -1, left = -1;
  for (std::int32_t i = 0; i < sources.Count(); ++i) {
    FMixer->GetLineState(RecordingDestination, i, hasSelect, muteDisabled, volumeDisabled, stereo, mute, right, left);
    if (mute <= 0) continue;
    FMixerLine = i;
    FMixerVolume = left;
    FMixerLineFound = true;
    break;
  }
  if (sources.Count() == 0) {
    DeviceBox->setEnabled(false);
    VolumeBar->setEnabled(false);
    CalibrateButton->setEnabled(false);
    return;
  }
  DeviceBox->setCurrentIndex(FMixerLine);
  // The bar shows the volume of the line in the box, found or not.
  FMixer->GetLineState(RecordingDestination, FMixerLine, hasSelect, muteDisabled, volumeDisabled, stereo, mute, right,
                       left);
  VolumeBar->setEnabled(left != -1);
  CalibrateButton->setEnabled(left != -1);
  if (left != -1) ShowVolume(BarOfVolume(FMixerLine, left));
}

void TSignalInDialogForm::VolumeBarChange() {
  if (FShowingVolume || DeviceBox->currentIndex() < 0) return;
  const std::int32_t line = DeviceBox->currentIndex();
  FMixer->SetLineControl(RecordingDestination, line, 1, -1, VolumeOfBar(line, VolumeBar->value()));
}

void TSignalInDialogForm::DeviceBoxChange() {
  const std::int32_t line = DeviceBox->currentIndex();
  if (line < 0) return;
  bool hasSelect = false, muteDisabled = true, volumeDisabled = true, stereo = false;
  std::int32_t mute = -1, right = -1, left = -1;
  FMixer->GetLineState(RecordingDestination, line, hasSelect, muteDisabled, volumeDisabled, stereo, mute, right, left);
  const bool hasVolume = left != -1;
  VolumeBar->setEnabled(hasVolume);
  CalibrateButton->setEnabled(hasVolume);
  if (hasVolume) ShowVolume(BarOfVolume(line, left));
  FMixer->SetLineControl(RecordingDestination, line, 1, -1, hasVolume ? VolumeOfBar(line, VolumeBar->value()) : -1);
}

// --- filling and statistics --------------------------------------------------

void TSignalInDialogForm::FillControls() {
  const sig::TSignalIn& input = *Input();
  FSEdit->SetPosition(input.SamplingFrequency());
  DynamicsEditBox->setCurrentIndex(input.Quantization() / 8 - 1);
  BuffersEdit->SetIntPosition(input.NumBuffers());
  BufferLengthEdit->SetPosition(BufferSeconds(input));
  TriggerBox->setCurrentIndex(input.Triggering());
  TriggerModeBox->setCurrentIndex(input.TriggerMode());
  TriggerDelayEdit->SetIntPosition(input.TriggerDelay());
  AutoTriggerLagBox->SetIntPosition(input.AutoTriggerLag());
  TriggerPositionBox->setCurrentIndex(input.TriggerPosition());
  TriggerAboveEdit->SetPosition(input.TriggerAbove());
  TriggerBelowEdit->SetPosition(input.TriggerBelow());
  StereoBox->setChecked(input.Stereo());
  TriggerChannelBox->setCurrentIndex(std::min<int>(input.TriggerChannel(), 1));
  EnableControls();
}

void TSignalInDialogForm::EnableControls() {
  const sig::TSignalIn* input = Input();
  const bool idle = input == nullptr || !input->Active();
  for (QWidget* control : std::initializer_list<QWidget*>{FSEdit, DynamicsEditBox, BuffersEdit, BufferLengthEdit, StereoBox})
    control->setEnabled(idle);
  RecordItem->setEnabled(idle);
  StopItem->setEnabled(!idle);
}

void TSignalInDialogForm::ShowStats() {
  const sig::TSignalIn* input = Input();
  if (input == nullptr) return;
  using classlib::FormatFloat;
  using classlib::IntToStr;
  MonitorFreqLabel->setText(
      QString::fromStdString("Monitor frequency: " + FormatFloat("0.0", input->MonitorFreq()) + " [Hz]"));
  OverlappingLabel->setText(QString::fromStdString("Overlapping: " + FormatFloat("0", input->Overlapping()) + " [%]"));
  const sig::TTriggerState& state = input->TriggerState();
  TriggerCatchUpLabel->setText(QString::fromStdString("Catch-ups: " + IntToStr(state.CatchUpsA[0]) + ", " +
                                                      IntToStr(state.CatchUpsA[1])));
  TriggerCountLabel->setText(QString::fromStdString("Trigger count: " + IntToStr(state.CatchUpsB[0]) + ", " +
                                                    IntToStr(state.CatchUpsB[1])));
  ShowBufferSeconds(*BufferLengthEdit, *Input());
  EnableControls();
}

// --- the format ----------------------------------------------------------------

void TSignalInDialogForm::FSEditChange() {
  if (Quiet() || Input()->Active()) return;
  Input()->SetSamplingFrequency(std::max(FSEdit->Position(), 1.0));
  ShowBufferSeconds(*BufferLengthEdit, *Input());
  ApplyChange();
}

void TSignalInDialogForm::DynamicsEditBoxChange() {
  if (Quiet() || Input()->Active() || DynamicsEditBox->currentIndex() < 0) return;
  Input()->SetQuantization(static_cast<std::uint16_t>((DynamicsEditBox->currentIndex() + 1) * 8));
  ShowBufferSeconds(*BufferLengthEdit, *Input());
  ApplyChange();
}

void TSignalInDialogForm::BuffersEditChange() {
  if (Quiet() || Input()->Active()) return;
  Input()->SetNumBuffers(BuffersEdit->IntPosition());
  ApplyChange();
}

void TSignalInDialogForm::BufferLengthEditChange() {
  if (Quiet() || Input()->Active()) return;
  Input()->SetBufferSize(BufferSizeOfSeconds(*Input(), BufferLengthEdit->Position()));
  ApplyChange();
}

void TSignalInDialogForm::StereoBoxClick() {
  if (Quiet()) return;
  Input()->SetStereo(StereoBox->isChecked());
  ShowBufferSeconds(*BufferLengthEdit, *Input());
  ApplyChange();
}

void TSignalInDialogForm::TriggerChange(QWidget* Sender) {
  if (Quiet()) return;
  sig::TSignalIn& input = *Input();
  if (Sender == TriggerBox)
    input.SetTriggering(static_cast<sig::TTrigger>(std::max(TriggerBox->currentIndex(), 0)));
  else if (Sender == TriggerModeBox)
    input.SetTriggerMode(static_cast<sig::TTriggerMode>(std::max(TriggerModeBox->currentIndex(), 0)));
  else if (Sender == TriggerPositionBox)
    input.SetTriggerPosition(static_cast<sig::TTriggerPosition>(std::max(TriggerPositionBox->currentIndex(), 0)));
  else if (Sender == TriggerChannelBox)
    input.SetTriggerChannel(static_cast<sig::TChannel>(std::max(TriggerChannelBox->currentIndex(), 0)));
  else if (Sender == TriggerAboveEdit)
    input.SetTriggerAbove(TriggerAboveEdit->Position());
  else if (Sender == TriggerBelowEdit)
    input.SetTriggerBelow(TriggerBelowEdit->Position());
  else if (Sender == TriggerDelayEdit)
    input.SetTriggerDelay(TriggerDelayEdit->IntPosition());
  else if (Sender == AutoTriggerLagBox)
    input.SetAutoTriggerLag(AutoTriggerLagBox->IntPosition());
  ApplyChange();
}

void TSignalInDialogForm::CalibrationEditChange() {
  if (Quiet()) return;
  Input()->SetTriggerPercentage(CalibrationEdit->IntPosition());
}

// --- recording -------------------------------------------------------------------

void TSignalInDialogForm::RecordClick() {
  if (Input() == nullptr) return;
  Input()->Start();
  ShowStats();
}

void TSignalInDialogForm::StopClick() {
  if (Input() == nullptr) return;
  StopCalibration();
  Input()->Stop();
  ShowStats();
}

void TSignalInDialogForm::ResetCatchUpsButtonClick() {
  if (Input() == nullptr) return;
  Input()->ResetCatchUpsA();
  Input()->ResetCatchUpsB();
  ShowStats();
}

void TSignalInDialogForm::ResetTriggerButtonClick() {
  if (Input() == nullptr) return;
  Input()->ResetChannelState();
  ShowStats();
}

// --- calibration -------------------------------------------------------------------

void TSignalInDialogForm::CalibrateButtonClick() {
  if (Input() == nullptr || FCalibrating) return;
  const sig::TSignalIn& input = *Input();
  if (!input.Active()) numeric::RaiseError("Recording is not running!");
  const int bits = input.Quantization();
  const double full = std::ldexp(1.0, bits);
  const int smallest = bits == 8 ? 10 : bits == 16 ? 32 : bits == 24 ? 64 : 4;
  // The steps move the bar, whose range stands for the whole sample range.
  FSmallestStep = smallest * static_cast<double>(VolumeRange) / full;
  FStep = VolumeRange / 4;
  FSignal->SetLength(2048);
  const float share = static_cast<float>(CalibrationEdit->IntPosition()) / 100.0F;
  FTarget = std::trunc(static_cast<float>(full) * share / 2.0F);
  FPhase = cpRead;
  FCalibrating = true;
  CalibrateButton->setText("Wait...");
  setCursor(Qt::WaitCursor);
  CalibrationTimer->start();
}

void TSignalInDialogForm::MoveVolume(int Delta) {
  VolumeBar->setValue(std::clamp(VolumeBar->value() + Delta, VolumeBar->minimum(), VolumeBar->maximum()));
}

void TSignalInDialogForm::CalibrationTimerTimer() {
  if (!FCalibrating) return;
  sig::TSignalIn* input = Input();
  if (input == nullptr || !input->Active()) {
    StopCalibration();
    ShowStats();
    return;
  }
  input->Monitor(FSignal.get(), nullptr);
  const numeric::TVec& data = FSignal->Data();
  double largest = -std::numeric_limits<double>::infinity();
  for (std::int32_t i = 0; i < data.Length(); ++i) largest = std::max(largest, data.Values()[i]);
  // Down while the level is above the target, then up while it is below;
  // each pass both ways halves the step.
  if (FPhase != cpUp) {
    if (largest > FTarget && VolumeBar->value() > VolumeBar->minimum()) {
      FPhase = cpDown;
      MoveVolume(-FStep);
      return;
    }
    FPhase = cpUp;
  }
  if (largest < FTarget && VolumeBar->value() < VolumeBar->maximum()) {
    MoveVolume(FStep);
    return;
  }
  FStep /= 2;
  update();
  if (FStep <= FSmallestStep) {
    StopCalibration();
    return;
  }
  FPhase = cpRead;
}

void TSignalInDialogForm::StopCalibration() {
  CalibrationTimer->stop();
  if (!FCalibrating) return;
  FCalibrating = false;
  CalibrateButton->setText("Calibrate");
  unsetCursor();
}

// --- settings and closing -----------------------------------------------------------

void TSignalInDialogForm::RestoreBackup() {
  TComponentEditorForm::RestoreBackup();
  // Without a source found there is no volume of its to put back: line 0
  // would be selected and silenced.
  if (FMixerLineFound) FMixer->SetLineControl(RecordingDestination, FMixerLine, 1, -1, FMixerVolume);
}

void TSignalInDialogForm::AfterClose() { StopCalibration(); }

void RegisterSignalInDialog() {
  chart_editors::RegisterEditorForm("TSignalInDialogForm", chart_editors::EditorFormFactory<TSignalInDialogForm>());
}

void UnregisterSignalInDialog() { chart_editors::UnRegisterEditorForm("TSignalInDialogForm"); }

}  // namespace analysis_ui
