// The numeric field of every analysis window: a one-line edit of a complex
// number ("2.50-1.00i") with an up/down button pair that adds or subtracts a
// complex increment. A real-valued field reads only the real part
// (Position, IntPosition). It can keep its display settings in the settings
// store, and Ctrl+double-click opens a step editor of its formats and
// increment.
//
// The text is what the user sees and edits; beside it the edit keeps the
// value in full precision, set by every setter and by every text that reads
// as a number. Stepping adds to that value (an increment below the display's
// last digit still moves it), and reading Position never fails: a text that
// does not read yet ("-", "1+") leaves the value as it was. Leaving the field
// or pressing Enter with such a text reports it once and shows the value
// again.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QLineEdit>
#include <QPointer>

#include "numeric/MathCore.h"

namespace analysis_ui {

class TMtxStepEditForm;
class TUDButton;

class TMtxFloatEdit : public QLineEdit {
 public:
  explicit TMtxFloatEdit(QWidget* parent = nullptr);
  // Writes the settings to the store (when it keeps them there).
  ~TMtxFloatEdit() override;

  // properties
  std::string Name() const { return objectName().toStdString(); }
  const std::string& RegistryPath() const { return FRegistryPath; }
  void SetRegistryPath(const std::string& value) { FRegistryPath = value; }
  bool StoreInRegistry() const { return FStoreInRegistry; }
  void SetStoreInRegistry(bool value) { FStoreInRegistry = value; }
  bool IntegerIncrement() const { return FIntegerIncrement; }
  // Applies the current increment again under the new rule.
  void SetIntegerIncrement(bool value);
  // The real part of the value.
  double Position() const { return FValue.Re; }
  // Shows value + 0i.
  void SetPosition(double value);
  // Position rounded to the nearest integer, halves to even.
  std::int32_t IntPosition() const;
  void SetIntPosition(std::int32_t value) { SetPosition(value); }
  bool Scientific() const { return FScientific; }
  // Full precision instead of the two formats; takes effect at the next value shown.
  void SetScientific(bool value) { FScientific = value; }
  const std::string& ReFormat() const { return FReFormat; }
  void SetReFormat(const std::string& value);
  const std::string& ImFormat() const { return FImFormat; }
  void SetImFormat(const std::string& value);
  // Whether cut and paste reach the field.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool value);
  // The step in full precision. Setting parses the text (raising on text that
  // does not read); with IntegerIncrement each part is rounded, halves to
  // even; a step of 0 becomes 1.
  std::string Increment() const;
  void SetIncrement(const std::string& value);
  // The bounds in full precision. Setting one shows the value again, each
  // part clamped on its own; with equal bounds nothing is clamped.
  std::string MaxValue() const;
  void SetMaxValue(const std::string& value);
  std::string MinValue() const;
  void SetMinValue(const std::string& value);
  // The text. Setting parses it (raising on text that does not read) and
  // shows the value; an empty text changes nothing.
  std::string Value() const { return text().toStdString(); }
  void SetValue(const std::string& value);
  // Whether the whole text is selected when the field gets the focus other
  // than by a mouse click.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }
  // While set, nothing changes the text (settings read meanwhile take effect,
  // a stored value does not).
  bool TextUpdatesSuppressed() const { return FSuppressed; }
  void SetTextUpdatesSuppressed(bool value) { FSuppressed = value; }
  TUDButton* Buttons() const { return FButtons; }
  bool EditorActive() const { return FEditorActive; }

  // introduced virtual
  // "+", "-", the digits, "i", the decimal separator and control characters
  // other than Enter.
  virtual bool IsValidChar(QChar key) const;
  // Adds the increment to the value; beeps when the field is read-only.
  virtual void UpClick();
  // Subtracts the increment from the value; beeps when the field is read-only.
  virtual void DownClick();

  // operations
  // Reads Value, Scientific, ReFormat, ImFormat and Increment from the store
  // (section Name under RegistryPath), when StoreInRegistry and the path is
  // not empty. A stored number that does not read is skipped with a warning.
  void ReadFromRegistry();
  // Writes them back under the same conditions; raises when the store cannot be written.
  void WriteToRegistry();
  // The form's settings are complete: reads the stored ones.
  void Loaded() { ReadFromRegistry(); }
  // Opens the step editor, modal or not; raises "<Name>: Editor is already
  // active!" while one is open.
  void OpenStepEditor(bool modal);
  // What leaving the field does: a text that does not read is reported once
  // and the value shown again; a value outside the bounds is shown clamped.
  void CommitText();

  // Called by the step editor when it goes.
  void StepEditorClosed() { FEditorActive = false; }

  // overrides
  QSize minimumSizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  using TCplx = numeric::TCplx;

  void ApplyIncrement(TCplx step);
  // Clamps, keeps and formats a value.
  void ShowValue(const TCplx& value);
  TCplx Clamp(const TCplx& value) const;
  std::string Format(const TCplx& value) const;
  // The text as a number: empty reads as 0; nothing when it does not read.
  std::optional<TCplx> TryParseText() const;
  void TextChanged();
  void PlaceButtons();
  bool DialogTakesEnter() const;

  TUDButton* FButtons;
  TCplx FValue{0, 0};
  TCplx FMinValue{0, 0};
  TCplx FMaxValue{0, 0};
  TCplx FIncrement{0.1, 0};
  std::string FReFormat;
  std::string FImFormat;
  std::string FRegistryPath;
  std::string FShownText;  // the text ShowValue wrote last
  TCplx FShownValue{0, 0};  // and the value it stands for
  bool FScientific = false;
  bool FIntegerIncrement = false;
  bool FEditorEnabled = true;
  bool FStoreInRegistry = false;
  bool FSuppressed = false;
  bool FAutoSelect = true;
  bool FEditorActive = false;
  // The modifiers and the double-click of the last press, tested on release.
  Qt::KeyboardModifiers FPressModifiers;
  bool FPressDouble = false;
};

}  // namespace analysis_ui
