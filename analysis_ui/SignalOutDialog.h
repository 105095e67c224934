// The control window of a sound player ("Audio playback"): sample width,
// buffers, scale factor, play, stop and pause, and the statistics of the
// monitor. The component dialog opens it for a TSignalOut (its editor class
// name), and fills it. It has no "Live" switch and no "Update": every change
// reaches the player at once.
//
// The format controls follow the player: they are enabled only while it
// does not play, at every refresh of the statistics (so also when playback
// was started elsewhere), and a change that reaches them while it plays is
// ignored. The scale factor applies while playing.
//
// Tested by: analysis_ui/tests/SignalOutDialogTest.cpp
#pragma once

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/AudioSignal.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace analysis_ui {

class TMtxFloatEdit;

class TSignalOutDialogForm : public TComponentEditorForm {
 public:
  explicit TSignalOutDialogForm(QWidget* owner = nullptr);

  // The player the form edits; nullptr before the dialog filled the form.
  sig::TSignalOut* Output() const { return dynamic_cast<sig::TSignalOut*>(Component()); }

  // controls
  QGroupBox* PlaybackBox;
  QComboBox* DynamicsBox;
  TMtxFloatEdit* BuffersEdit;
  TMtxFloatEdit* BufferLengthEdit;
  TMtxFloatEdit* ScaleFactorEdit;
  QGroupBox* StatisticsBox;
  QLabel* MonitorFreqLabel;
  QLabel* OverlappingLabel;
  QLabel* SamplingFreqLabel;
  QLabel* StereoLabel;
  QAction* PlayItem;
  QAction* StopItem;
  QAction* PauseItem;

  // handlers
  void DynamicsBoxChange();
  void BuffersEditChange();
  void BufferLengthEditChange();
  void ScaleFactorEditChange();
  void PlayClick();
  void StopClick();
  void PauseClick();

  // The statistics, and the format controls enabled as the player allows.
  void ShowStats();

  // overrides
  // The window is always live: the switch and "Update" stay hidden.
  void SetShowLive(bool Value) override;

 protected:
  void FillControls() override;
  void DisplayUpdate() override { ShowStats(); }

 private:
  void EnableControls();
  bool Quiet() const { return !Ready() || Output() == nullptr; }
  // The player recomputes with the change.
  void Changed();
};

// Registers the form with the form registry, and takes it out again.
void RegisterSignalOutDialog();
void UnregisterSignalOutDialog();

}  // namespace analysis_ui
