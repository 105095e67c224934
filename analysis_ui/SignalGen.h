// TSignalGenForm: the parameter window of a signal generator, caption
// "Signal Generator/Mixer/Modulator", opened by a component dialog by the
// name the generator gives its editor ("TSignalGenForm"). It edits the
// generator's formula templates: the combo box chooses the template, the
// list shows its lines in formula order (a source, or an operator that
// combines what comes before it), and the controls beside it edit the
// selected line: the source and its parameters, or the operator.
//
// Each source shows only the parameter fields it reads, captioned with what
// they mean ("Freq:", "Phase:", "Amplt:", ...); an input line shows none.
// A line control commits when it is left or Enter is pressed in it, and so
// does a change of the source or of "Continuous"; while Live is on, every
// change of a field, of the operator or of "Cplx" commits too. Committing
// stores the controls into the selected line, sets the line up in the
// generator (a line that cannot be set up says why below the controls)
// and, while Live is on, recomputes. The generator's own evaluation errors
// show in the same place after every update.
//
// Tested by: analysis_ui/tests/SignalGenTest.cpp
#pragma once

#include <array>
#include <cstdint>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SignalGenerator.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidgetItem;

namespace analysis_ui {

class TMtxFloatEdit;
class TMtxGridView;

class TSignalGenForm : public TComponentEditorForm {
 public:
  // Parameters a line has.
  static constexpr int ParamCount = 7;

  explicit TSignalGenForm(QWidget* owner = nullptr);
  ~TSignalGenForm() override;

  // properties
  sig::TSignalGenerator* Generator() const { return static_cast<sig::TSignalGenerator*>(Component()); }

 protected:
  void FillControls() override;
  // The generator's error of its last update.
  void DisplayUpdate() override;
  // The template chosen in the combo box becomes the generator's.
  void KeepChanges() override;
  // The templates reload their current one.
  void AfterClose() override;
  // Commits the selected line, then recomputes.
  void UpdateClick() override;
  // A load of settings may keep the signal templates there before.
  sig::TStreamTemplates* AppendableTemplates() const override;
  std::string AppendTemplatesQuestion() const override { return "Append existing signal templates?"; }

 private:
  void CreateControls();
  void ConnectHandlers();
  // The captions and fields of a source and of an operator.
  void SourceLayout(std::uint8_t SignalType);
  void OperatorLayout(std::uint8_t Operator);
  // Shows the first Count fields, captioned by Captions.
  void ShowParams(std::initializer_list<const char*> Captions);
  // The line controls take input only while a line is selected.
  void LineControlsLayout();
  // The controls into Line, by its kind.
  void ReadControls(sig::TFuncSignalLine& Line) const;
  // The selected line from the controls: stored, set up, recomputed while
  // Live is on, and its text written.
  void Apply();
  // Line LineIndex into the controls and its list line.
  void ShowLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  void DefineLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  void WriteLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  void AddLineClick(bool Operator);
  // The formula changed as a whole: the generator sets every line up again.
  void FormulaChanged();
  void ShowMessage(const std::string& Text);

  // The line just appended while the list defines it; -1 otherwise.
  std::int32_t FNewLine = -1;

  QComboBox* FTemplateCombo;
  QPushButton* FNewButton;
  QPushButton* FDeleteTemplateButton;
  QPushButton* FSaveAsButton;
  QPushButton* FAddSignalButton;
  QPushButton* FAddOpButton;
  QPushButton* FDeleteSignalButton;
  TMtxGridView* FSignalBox;
  QComboBox* FSignalTypeBox;
  QComboBox* FOpBox;
  std::array<TMtxFloatEdit*, ParamCount> FParamEdits{};
  std::array<QLabel*, ParamCount> FParamLabels{};
  QCheckBox* FCplxCheckBox;
  QCheckBox* FContinuousBox;
  QPushButton* FResyncButton;
  QPushButton* FResyncAllButton;
  QLabel* FMessageLabel;
};

// Registers the form with the form registry under "TSignalGenForm", the
// name a signal generator gives its editor, and takes it out again.
void RegisterSignalGenForm();
void UnregisterSignalGenForm();

}  // namespace analysis_ui
