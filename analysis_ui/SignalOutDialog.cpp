// The control window of a sound player.
//
// Tested by: analysis_ui/tests/SignalOutDialogTest.cpp
#include "analysis_ui/SignalOutDialog.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <string>

#include "analysis_ui/AudioDialogSupport.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

TSignalOutDialogForm::TSignalOutDialogForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("SignalOutDialogForm");
  setWindowTitle("Audio playback");
  resize(409, 233);

  PlaybackBox = CreateControl<QGroupBox>(ClientArea(), "PlaybackBox");
  DynamicsBox = CreateControl<QComboBox>(PlaybackBox, "DynamicsBox");
  DynamicsBox->addItems(DynamicsItems());
  BuffersEdit = CreateControl<TMtxFloatEdit>(PlaybackBox, "BuffersEdit");
  BuffersEdit->SetReFormat("0");
  BuffersEdit->SetIntegerIncrement(true);
  BuffersEdit->SetIncrement("1");
  BuffersEdit->SetMinValue("2");
  BuffersEdit->SetMaxValue("8");
  BufferLengthEdit = CreateControl<TMtxFloatEdit>(PlaybackBox, "BufferLengthEdit");
  BufferLengthEdit->SetReFormat("0.00#");
  BufferLengthEdit->SetMinValue("0.05");
  BufferLengthEdit->SetMaxValue("10");
  ScaleFactorEdit = CreateControl<TMtxFloatEdit>(PlaybackBox, "ScaleFactorEdit");
  ScaleFactorEdit->SetReFormat("0");
  ScaleFactorEdit->SetMinValue("0");
  ScaleFactorEdit->SetMaxValue("1E38");
  auto* grid = new QGridLayout(PlaybackBox);
  AddFieldRow(*grid, 0, CreateControl<QLabel>(PlaybackBox, "DynamicsLabel", "Dynamics: "), DynamicsBox,
              CreateControl<QLabel>(PlaybackBox, "DynamicsUnitLabel", "[bit]"));
  AddFieldRow(*grid, 1, CreateControl<QLabel>(PlaybackBox, "BuffersLabel", "Buffers:"), BuffersEdit);
  AddFieldRow(*grid, 2, CreateControl<QLabel>(PlaybackBox, "BufferLengthLabel", "Buffer length:"), BufferLengthEdit,
              CreateControl<QLabel>(PlaybackBox, "BufferLengthUnitLabel", "[seconds]"));
  AddFieldRow(*grid, 3, CreateControl<QLabel>(PlaybackBox, "ScaleFactorLabel", "Scale factor:"), ScaleFactorEdit);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(4, 1);

  StatisticsBox = CreateControl<QGroupBox>(ClientArea(), "StatisticsBox", "Statistics");
  MonitorFreqLabel = CreateControl<QLabel>(StatisticsBox, "MonitorFreqLabel");
  OverlappingLabel = CreateControl<QLabel>(StatisticsBox, "OverlappingLabel");
  SamplingFreqLabel = CreateControl<QLabel>(StatisticsBox, "SamplingFreqLabel");
  StereoLabel = CreateControl<QLabel>(StatisticsBox, "StereoLabel");
  auto* statistics = new QVBoxLayout(StatisticsBox);
  for (QLabel* label : {MonitorFreqLabel, OverlappingLabel, SamplingFreqLabel, StereoLabel})
    statistics->addWidget(label);
  statistics->addStretch(1);

  auto* clientLayout = new QHBoxLayout(ClientArea());
  clientLayout->setContentsMargins(0, 0, 0, 0);
  clientLayout->addWidget(PlaybackBox, 1);
  clientLayout->addWidget(StatisticsBox, 1);

  // The options menu: always live, so no "Live", "Continuous" nor "Update".
  LiveItem()->setVisible(false);
  ContinuousItem()->setVisible(false);
  SetShowLive(true);
  SaveItem()->setObjectName("Savesettings1");
  LoadItem()->setObjectName("Loadsettings1");
  WindowEditMenu()->addSeparator();
  PlayItem = WindowEditMenu()->addAction("Play");
  PlayItem->setObjectName("Play1");
  StopItem = WindowEditMenu()->addAction("Stop");
  StopItem->setObjectName("Stop1");
  PauseItem = WindowEditMenu()->addAction("Pause");
  PauseItem->setObjectName("Pause1");

  connect(DynamicsBox, &QComboBox::activated, this, ui::Guarded([this] { DynamicsBoxChange(); }));
  connect(BuffersEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { BuffersEditChange(); }));
  connect(BufferLengthEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { BufferLengthEditChange(); }));
  connect(ScaleFactorEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { ScaleFactorEditChange(); }));
  // 0 is kept as 1 by the player: the field shows that once the user leaves it.
  connect(ScaleFactorEdit, &QLineEdit::editingFinished, this, ui::Guarded([this] {
            if (Quiet()) return;
            SetReady(false);
            ScaleFactorEdit->SetPosition(Output()->ScaleFactor());
            SetReady(true);
          }));
  connect(PlayItem, &QAction::triggered, this, ui::Guarded([this] { PlayClick(); }));
  connect(StopItem, &QAction::triggered, this, ui::Guarded([this] { StopClick(); }));
  connect(PauseItem, &QAction::triggered, this, ui::Guarded([this] { PauseClick(); }));
}

void TSignalOutDialogForm::SetShowLive(bool) { TComponentEditorForm::SetShowLive(true); }

void TSignalOutDialogForm::FillControls() {
  const sig::TSignalOut& output = *Output();
  DynamicsBox->setCurrentIndex(output.Quantization() / 8 - 1);
  BuffersEdit->SetIntPosition(output.NumBuffers());
  BufferLengthEdit->SetPosition(BufferSeconds(output));
  ScaleFactorEdit->SetPosition(output.ScaleFactor());
  EnableControls();
}

void TSignalOutDialogForm::EnableControls() {
  const sig::TSignalOut* output = Output();
  const bool idle = output == nullptr || !output->Active();
  for (QWidget* control : std::initializer_list<QWidget*>{BuffersEdit, BufferLengthEdit, DynamicsBox})
    control->setEnabled(idle);
  PlayItem->setEnabled(idle);
  StopItem->setEnabled(!idle);
  PauseItem->setEnabled(!idle);
}

void TSignalOutDialogForm::ShowStats() {
  const sig::TSignalOut* output = Output();
  if (output == nullptr) return;
  using classlib::FormatFloat;
  MonitorFreqLabel->setText(
      QString::fromStdString("Monitor frequency: " + FormatFloat("0.0", output->MonitorFreq()) + " [Hz]"));
  OverlappingLabel->setText(QString::fromStdString("Overlapping: " + FormatFloat("0", output->Overlapping()) + " [%]"));
  SamplingFreqLabel->setText(
      QString::fromStdString("Sampling frequency: " + FormatFloat("0", output->SamplingFrequency()) + " [Hz]"));
  StereoLabel->setText(output->Stereo() ? "Stereo: True" : "Stereo: False");
  ShowBufferSeconds(*BufferLengthEdit, *Output());
  EnableControls();
}

void TSignalOutDialogForm::Changed() { ApplyChange(); }

void TSignalOutDialogForm::DynamicsBoxChange() {
  if (Quiet() || Output()->Active() || DynamicsBox->currentIndex() < 0) return;
  Output()->SetQuantization(static_cast<std::uint16_t>((DynamicsBox->currentIndex() + 1) * 8));
  ShowBufferSeconds(*BufferLengthEdit, *Output());
  Changed();
}

void TSignalOutDialogForm::BuffersEditChange() {
  if (Quiet() || Output()->Active()) return;
  Output()->SetNumBuffers(BuffersEdit->IntPosition());
  Changed();
}

void TSignalOutDialogForm::BufferLengthEditChange() {
  if (Quiet() || Output()->Active()) return;
  Output()->SetBufferSize(BufferSizeOfSeconds(*Output(), BufferLengthEdit->Position()));
  Changed();
}

void TSignalOutDialogForm::ScaleFactorEditChange() {
  if (Quiet()) return;
  Output()->SetScaleFactor(ScaleFactorEdit->Position());
  Changed();
}

void TSignalOutDialogForm::PlayClick() {
  if (Output() == nullptr) return;
  Output()->Start();
  ShowStats();
}

void TSignalOutDialogForm::StopClick() {
  if (Output() == nullptr) return;
  Output()->Stop();
  ShowStats();
}

void TSignalOutDialogForm::PauseClick() {
  if (Output() == nullptr) return;
  Output()->SetPaused(!Output()->Paused());
}

void RegisterSignalOutDialog() {
  chart_editors::RegisterEditorForm("TSignalOutDialogForm", chart_editors::EditorFormFactory<TSignalOutDialogForm>());
}

void UnregisterSignalOutDialog() { chart_editors::UnRegisterEditorForm("TSignalOutDialogForm"); }

}  // namespace analysis_ui
