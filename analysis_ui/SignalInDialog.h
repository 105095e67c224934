// The control window of a sound recorder ("Audio recording"): the recording
// format and buffers, the trigger settings and counters, the statistics of
// the monitor, the input volume of the sound card's mixer and an automatic
// gain calibration. The component dialog opens it for a TSignalIn (its
// editor class name), and fills it.
//
// The format controls follow the recorder: they are enabled only while it
// does not record, at every refresh of the statistics, and a change that
// reaches them while it records is ignored. The volume bar spans 0 .. 65536
// whatever the card's own range of the chosen source line, which the bar is
// scaled to; without a mixer, or a line without a volume, the bar and the
// calibration are disabled.
//
// Calibration moves the volume until the largest recorded sample of the
// left channel comes to the target share of the sample range: a timer of
// 200 ms reads the latest samples at each tick and moves the bar by a step
// that starts at a quarter of the bar and halves each time the level has
// been passed both ways, down to the smallest step of the sample width. It
// ends there, when the recorder stops, or when the window closes; a second
// press meanwhile does nothing. Cancel puts the volume of the source line
// found at opening back (nothing when no line was found).
//
// Tested by: analysis_ui/tests/SignalInDialogTest.cpp
#pragma once

#include <cstdint>
#include <memory>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/AudioSignal.h"
#include "signal/SigMixer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;

namespace analysis_ui {

class TMtxFloatEdit;

class TSignalInDialogForm : public TComponentEditorForm {
 public:
  static constexpr int VolumeRange = 65536;

  explicit TSignalInDialogForm(QWidget* owner = nullptr);
  ~TSignalInDialogForm() override;

  // The recorder the form edits; nullptr before the dialog filled the form.
  sig::TSignalIn* Input() const { return dynamic_cast<sig::TSignalIn*>(Component()); }
  // The card's mixer, opened with the form.
  sig::TSignalOSMixer& Mixer() const { return *FMixer; }
  // The recording source selected when the form opened, and its volume in
  // the card's units; MixerLineFound is False when no source was selected.
  std::int32_t MixerLine() const { return FMixerLine; }
  std::int32_t MixerVolume() const { return FMixerVolume; }
  bool MixerLineFound() const { return FMixerLineFound; }
  bool Calibrating() const { return FCalibrating; }

  // controls
  QTabWidget* PageControl1;
  QWidget* BasicSheet;
  QGroupBox* RecordingBox;
  TMtxFloatEdit* FSEdit;
  QComboBox* DynamicsEditBox;
  QComboBox* DeviceBox;
  TMtxFloatEdit* BuffersEdit;
  TMtxFloatEdit* BufferLengthEdit;
  QCheckBox* StereoBox;
  QGroupBox* StatisticsBox;
  QLabel* MonitorFreqLabel;
  QLabel* OverlappingLabel;
  QWidget* TriggerSheet;
  QGroupBox* ConfigurationBox;
  TMtxFloatEdit* AutoTriggerLagBox;
  QComboBox* TriggerBox;
  QComboBox* TriggerModeBox;
  QComboBox* TriggerPositionBox;
  QComboBox* TriggerChannelBox;
  TMtxFloatEdit* TriggerAboveEdit;
  TMtxFloatEdit* TriggerBelowEdit;
  TMtxFloatEdit* TriggerDelayEdit;
  QGroupBox* TriggerResetBox;
  QLabel* TriggerCatchUpLabel;
  QLabel* TriggerCountLabel;
  QToolButton* ResetCatchUpsButton;
  QToolButton* ResetTriggerButton;
  QWidget* GainSheet;
  QGroupBox* CalibrationBox;
  TMtxFloatEdit* CalibrationEdit;
  QGroupBox* VolumeBox;
  QSlider* VolumeBar;
  QPushButton* CalibrateButton;
  QTimer* CalibrationTimer;
  QAction* RecordItem;
  QAction* StopItem;

  // handlers
  void FSEditChange();
  void DynamicsEditBoxChange();
  void BuffersEditChange();
  void BufferLengthEditChange();
  void StereoBoxClick();
  // A trigger control writes its own property; the trigger settings apply
  // while recording too.
  void TriggerChange(QWidget* Sender);
  void VolumeBarChange();
  void DeviceBoxChange();
  void CalibrationEditChange();
  // "Recording is not running!" unless the recorder records; nothing while a
  // calibration runs.
  void CalibrateButtonClick();
  // One step of the calibration: the latest samples read, the bar moved.
  void CalibrationTimerTimer();
  void ResetCatchUpsButtonClick();
  void ResetTriggerButtonClick();
  void RecordClick();
  void StopClick();

  // The statistics, and the format controls enabled as the recorder allows.
  void ShowStats();

 protected:
  void FillControls() override;
  void DisplayUpdate() override { ShowStats(); }
  // The recorder's parameters, and the source line's volume when one was
  // found at opening.
  void RestoreBackup() override;
  // The calibration stops with the window.
  void AfterClose() override;

 private:
  enum TCalibrationPhase { cpRead, cpDown, cpUp };

  void FillMixerSources();
  void EnableControls();
  // The card's range of a recording source line's volume; false when the
  // line has none.
  bool VolumeRangeOf(std::int32_t Line, std::int32_t& Minimum, std::int32_t& Maximum) const;
  // The bar's position for a volume of the line, and the other way round.
  int BarOfVolume(std::int32_t Line, std::int32_t Volume) const;
  std::int32_t VolumeOfBar(std::int32_t Line, int Bar) const;
  // Shows a position on the bar without writing it to the mixer.
  void ShowVolume(int Bar);
  // Whether a handler of the form's controls acts now.
  bool Quiet() const { return !Ready() || Input() == nullptr; }
  void StopCalibration();
  // Moves the bar by Delta within its range (the mixer follows).
  void MoveVolume(int Delta);

  std::unique_ptr<sig::TSignalOSMixer> FMixer;
  // Receives the latest samples during a calibration.
  std::unique_ptr<sig::TSignal> FSignal;
  std::int32_t FMixerLine = 0;
  std::int32_t FMixerVolume = 0;
  bool FMixerLineFound = false;
  bool FShowingVolume = false;
  bool FCalibrating = false;
  TCalibrationPhase FPhase = cpRead;
  int FStep = 0;
  double FSmallestStep = 0.0;
  double FTarget = 0.0;
};

// Registers the form with the form registry, and takes it out again.
void RegisterSignalInDialog();
void UnregisterSignalInDialog();

}  // namespace analysis_ui
