// The control window of a signal file reader ("File control"): it opens a
// signal file, moves the read position, sets the record, scale, framing,
// overlap and block size, runs the whole file through the processing chain
// and shows what the file holds. The component dialog opens it for a
// TSignalRead (its editor class name), and fills it.
//
// The two position edits count samples or seconds, as "Samples <-> Seconds"
// says; whatever they count, a position written back after a change is in
// that unit, and a position the edit already stands for is left as typed.
// The overlap edits write each other's value (the reader's rounding) without
// running each other's handler. A file of one record leaves "Record
// number:" and "Framing:" at 0 and "Single record", disabled. A file that
// does not open is reported and the reader keeps the file it had.
//
// Tested by: analysis_ui/tests/FileReadDialogTest.cpp
#pragma once

#include <cstdint>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SignalRead.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QTabWidget;
class QWidget;

namespace analysis_ui {

class TMtxFloatEdit;

class TFileReadDialogForm : public TComponentEditorForm {
 public:
  explicit TFileReadDialogForm(QWidget* owner = nullptr);

  // The reader the form edits; nullptr before the dialog filled the form.
  sig::TSignalRead* Reader() const { return dynamic_cast<sig::TSignalRead*>(Component()); }
  // Set while "Process all" runs.
  bool Processing() const { return FProcessing; }

  // controls
  QTabWidget* PageControl1;
  QWidget* ControlSheet;
  QLabel* CurrentLabel;
  TMtxFloatEdit* CurrentEdit;
  QLabel* FinalLabel;
  TMtxFloatEdit* FinalEdit;
  QLabel* UnitLabels;
  QCheckBox* SamplesSecsBox;
  QCheckBox* LastFrameCheckBox;
  QCheckBox* LoopBox;
  QLabel* RecordNumberLabel;
  TMtxFloatEdit* RecordNumberEdit;
  QLabel* ScaleFactorLabel;
  TMtxFloatEdit* ScaleFactorEdit;
  QLabel* OverlappingLabel;
  TMtxFloatEdit* OverlappingEdit;
  QLabel* OverlappingUnitLabel;
  QLabel* Overlapping2Label;
  TMtxFloatEdit* Overlapping2Edit;
  QLabel* Overlapping2UnitLabel;
  QLabel* FramingLabel;
  QComboBox* FramingBox;
  QLabel* BlockSizeLabel;
  QComboBox* BlockSizeBox;
  QWidget* InfoSheet;
  QLabel* Taglabel;
  QLabel* DescLabel;
  QGroupBox* GeneralBox;
  QLabel* RecordsCountLabel;
  QLabel* ChannelCountLabel;
  QLabel* RecordLengthTime;
  QLabel* RecordLengthLabel;
  QLabel* SamplingFreqLabel;
  QGroupBox* FramingGroup;
  QLabel* FramesCountLabel;
  QLabel* FrameNumberLabel;
  QLabel* FramesPerSecLabel;
  QLabel* PrecisionLabel;
  QLabel* ComplexLabel;
  QLabel* FileSizeLabel;
  QAction* ProcessAllItem;
  QAction* OpenFileItem;

  // handlers
  void CurrentEditChange();
  void FinalEditChange();
  void SamplesSecsBoxClick();
  void LastFrameCheckBoxClick();
  void LoopBoxClick();
  void RecordNumberEditChange();
  void ScaleFactorEditChange();
  void OverlappingEditChange();
  void Overlapping2EditChange();
  void FramingBoxChange();
  // The block size typed or chosen; a text that is no whole number above 0
  // is reported and the box shows the reader's block size again.
  void BlockSizeBoxChange();
  void UpdateClick();
  // Runs the reader's OnProcessAll with the reader continuous, not looping
  // and silent towards its listener; every setting comes back on every path.
  void ProcessAllClick();
  void OpenFileClick();

  // The file's information, or the progress in the caption while "Process
  // all" runs.
  void ShowInfo();

 protected:
  void FillControls() override;
  void DisplayUpdate() override { ShowInfo(); }
  // The closing update reads the frame at the position again instead of the
  // next one.
  void ClosingUpdate() override;

 private:
  // The recomputation after a change while Live, then the position shown.
  void AfterChange();
  // The position edits show RecordPosition and FinalRecordPosition in the
  // unit of the box.
  void ShowPositions();
  // Shows Samples (a sample index) in Edit in the unit of the box, unless
  // the edit stands for that sample already.
  void ShowSamples(TMtxFloatEdit& Edit, std::int32_t Samples);
  // The sample index an edit stands for.
  std::int32_t EditSamples(const TMtxFloatEdit& Edit) const;
  bool CountsSamples() const;
  void ShowCaption();
  // A handler of the form's own controls runs only when the form is Ready,
  // has its reader and is not writing an edit itself.
  bool Quiet() const;

  bool FBusy = false;
  bool FProcessing = false;
};

// Registers the form with the form registry, and takes it out again.
void RegisterFileReadDialog();
void UnregisterFileReadDialog();

}  // namespace analysis_ui
