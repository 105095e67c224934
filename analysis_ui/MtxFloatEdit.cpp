// The complex-number spin edit.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#include "analysis_ui/MtxFloatEdit.h"

#include <cmath>
#include <exception>

#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include "analysis_ui/MtxStepEditForm.h"
#include "analysis_ui/SpinButtons.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/Beep.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/Rounding.h"

namespace analysis_ui {

using numeric::TCplx;

namespace {

constexpr int ButtonWidth = 15;

}  // namespace

TMtxFloatEdit::TMtxFloatEdit(QWidget* parent) : QLineEdit(parent), FButtons(new TUDButton(this)) {
  FButtons->setObjectName("UDButton");
  FButtons->SetFocusControl(this);
  FButtons->OnUpClick = [this] { UpClick(); };
  FButtons->OnDownClick = [this] { DownClick(); };
  // The buttons keep the arrow while the field shows the text cursor.
  FButtons->setCursor(Qt::ArrowCursor);
  setTextMargins(0, 0, ButtonWidth + 2, 0);
  FReFormat = "0.00#;-0.00#";
  FImFormat = "+0.00#i;-0.00#i";
  FRegistryPath = numeric::NumoraSettingsRoot;
  connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
  ShowValue(TCplx{0, 0});
  resize(90, sizeHint().height());
  PlaceButtons();
}

TMtxFloatEdit::~TMtxFloatEdit() {
  // The step editor tells the edit that it goes; it must go while the edit is whole.
  delete findChild<TMtxStepEditForm*>(QString(), Qt::FindDirectChildrenOnly);
  try {
    WriteToRegistry();
  } catch (const std::exception& e) {
    classlib::ReportWarning(e.what());
  }
}

void TMtxFloatEdit::SetIntegerIncrement(bool value) {
  FIntegerIncrement = value;
  ApplyIncrement(FIncrement);
}

void TMtxFloatEdit::SetPosition(double value) { ShowValue(TCplx{value, 0}); }

std::int32_t TMtxFloatEdit::IntPosition() const { return ui::Round(Position()); }

void TMtxFloatEdit::SetReFormat(const std::string& value) {
  FReFormat = value;
  ShowValue(FValue);
}

void TMtxFloatEdit::SetImFormat(const std::string& value) {
  FImFormat = value;
  ShowValue(FValue);
}

void TMtxFloatEdit::SetEditorEnabled(bool value) {
  FEditorEnabled = value;
  // A drop inserts text as a paste does.
  setAcceptDrops(value);
}

std::string TMtxFloatEdit::Increment() const { return numeric::FormatCplx(FIncrement, 0); }

void TMtxFloatEdit::SetIncrement(const std::string& value) { ApplyIncrement(numeric::StrToCplx(value)); }

void TMtxFloatEdit::ApplyIncrement(TCplx step) {
  if (FIntegerIncrement) step = TCplx{std::nearbyint(step.Re), std::nearbyint(step.Im)};
  if (step.Re == 0 && step.Im == 0) step = TCplx{1, 0};
  FIncrement = step;
}

std::string TMtxFloatEdit::MaxValue() const { return numeric::FormatCplx(FMaxValue, 0); }

void TMtxFloatEdit::SetMaxValue(const std::string& value) {
  FMaxValue = numeric::StrToCplx(value);
  ShowValue(FValue);
}

std::string TMtxFloatEdit::MinValue() const { return numeric::FormatCplx(FMinValue, 0); }

void TMtxFloatEdit::SetMinValue(const std::string& value) {
  FMinValue = numeric::StrToCplx(value);
  ShowValue(FValue);
}

void TMtxFloatEdit::SetValue(const std::string& value) {
  if (value.empty()) return;
  ShowValue(numeric::StrToCplx(value));
}

TCplx TMtxFloatEdit::Clamp(const TCplx& value) const {
  if (numeric::CIsEqual(FMinValue, FMaxValue)) return value;
  // Part by part: a bound's real part limits the real part only, so a value
  // inside the bounds never moves when a bound is set.
  TCplx z = value;
  if (z.Re < FMinValue.Re) z.Re = FMinValue.Re;
  if (z.Im < FMinValue.Im) z.Im = FMinValue.Im;
  if (z.Re > FMaxValue.Re) z.Re = FMaxValue.Re;
  if (z.Im > FMaxValue.Im) z.Im = FMaxValue.Im;
  return z;
}

std::string TMtxFloatEdit::Format(const TCplx& value) const {
  return FScientific ? numeric::FormatCplx(value, 0) : numeric::CplxToStr(value, FReFormat, FImFormat);
}

void TMtxFloatEdit::ShowValue(const TCplx& value) {
  if (FSuppressed) return;
  FValue = Clamp(value);
  FShownValue = FValue;
  FShownText = Format(FValue);
  setText(QString::fromStdString(FShownText));
  // A number too long for the field shows its sign and first digits.
  setCursorPosition(0);
}

std::optional<TCplx> TMtxFloatEdit::TryParseText() const {
  const std::string text = Value();
  if (text.empty()) return TCplx{0, 0};
  try {
    return numeric::StrToCplx(text);
  } catch (const classlib::Exception&) {
    return std::nullopt;
  }
}

void TMtxFloatEdit::TextChanged() {
  // The text the edit wrote itself stands for the full-precision value it
  // showed, also when the user types it again after other texts.
  if (Value() == FShownText) {
    FValue = FShownValue;
    return;
  }
  if (const std::optional<TCplx> typed = TryParseText()) FValue = *typed;
}

void TMtxFloatEdit::CommitText() {
  const std::string text = Value();
  std::exception_ptr failure;
  TCplx typed{0, 0};
  if (!text.empty()) {
    try {
      typed = numeric::StrToCplx(text);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  if (failure) {
    // The last value first: the message takes the focus, and that must find
    // nothing more to report.
    ShowValue(FValue);
    ui::ShowException(failure);
    return;
  }
  FValue = typed;
  const TCplx clamped = Clamp(typed);
  if (clamped.Re != typed.Re || clamped.Im != typed.Im) ShowValue(typed);
}

bool TMtxFloatEdit::IsValidChar(QChar key) const {
  const char16_t c = key.unicode();
  if (c < 32) return c != 13;
  return c == '+' || c == '-' || (c >= '0' && c <= '9') || c == 'i' ||
         c == static_cast<unsigned char>(classlib::DecimalSeparator());
}

void TMtxFloatEdit::UpClick() {
  if (isReadOnly()) {
    ui::MessageBeep();
    return;
  }
  ShowValue(numeric::CAdd(FValue, FIncrement));
}

void TMtxFloatEdit::DownClick() {
  if (isReadOnly()) {
    ui::MessageBeep();
    return;
  }
  ShowValue(numeric::CSub(FValue, FIncrement));
}

void TMtxFloatEdit::ReadFromRegistry() {
  if (!FStoreInRegistry || FRegistryPath.empty()) return;
  const ui::TRegIniFile reg(FRegistryPath);
  const std::string section = Name();
  // A stored number that does not read is a damaged store: it is skipped,
  // and the user hears of it once.
  auto apply = [&](const char* name, const std::string& stored, void (TMtxFloatEdit::*setter)(const std::string&)) {
    try {
      (this->*setter)(stored);
    } catch (const classlib::Exception& e) {
      classlib::ReportWarning(Name() + ": the stored " + name + " \"" + stored + "\" is skipped: " + e.Message());
    }
  };
  apply("Value", reg.ReadString(section, "Value", Value()), &TMtxFloatEdit::SetValue);
  SetScientific(reg.ReadBool(section, "Scientific", FScientific));
  SetReFormat(reg.ReadString(section, "ReFormat", FReFormat));
  SetImFormat(reg.ReadString(section, "ImFormat", FImFormat));
  apply("Increment", reg.ReadString(section, "Increment", Increment()), &TMtxFloatEdit::SetIncrement);
}

void TMtxFloatEdit::WriteToRegistry() {
  if (!FStoreInRegistry || FRegistryPath.empty()) return;
  ui::TRegIniFile reg(FRegistryPath);
  const std::string section = Name();
  // A text caught half typed is stored as the value it stands for.
  reg.WriteString(section, "Value", TryParseText() ? Value() : Format(FValue));
  reg.WriteBool(section, "Scientific", FScientific);
  reg.WriteString(section, "ReFormat", FReFormat);
  reg.WriteString(section, "ImFormat", FImFormat);
  reg.WriteString(section, "Increment", Increment());
  reg.UpdateFile();
}

void TMtxFloatEdit::OpenStepEditor(bool modal) {
  if (FEditorActive) throw classlib::Exception(Name() + ": Editor is already active!");
  QPointer<TMtxStepEditForm> form = new TMtxStepEditForm(*this);
  FEditorActive = true;
  if (!modal) {
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    return;
  }
  struct TFree {
    QPointer<TMtxStepEditForm>& Form;
    ~TFree() { delete Form.data(); }
  } free{form};
  ui::ShowModal(*form);
}

bool TMtxFloatEdit::DialogTakesEnter() const {
  // A dialog with a default button takes Enter before its fields see it.
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<QDialog*>(w) == nullptr) continue;
    for (const QPushButton* button : w->findChildren<QPushButton*>())
      if (button->isDefault() && button->isEnabled() && button->isVisible()) return true;
    return false;
  }
  return false;
}

void TMtxFloatEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    ui::RunGuarded([&] { key == Qt::Key_Up ? UpClick() : DownClick(); });
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    CommitText();
    if (DialogTakesEnter()) {
      QLineEdit::keyPressEvent(event);
    } else {
      // The key filter refuses Enter, as it refuses every character that is no part of a number.
      ui::MessageBeep();
      event->accept();
    }
    return;
  }
  if ((event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) &&
      (!FEditorEnabled || isReadOnly())) {
    event->accept();
    return;
  }
  // With Ctrl a letter is a command (Ctrl+A, Ctrl+Z), as its control
  // character, which the filter lets through, says elsewhere.
  if (event->modifiers() & Qt::ControlModifier) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  for (const QChar c : event->text())
    if (!IsValidChar(c)) {
      ui::MessageBeep();
      event->accept();
      return;
    }
  QLineEdit::keyPressEvent(event);
}

void TMtxFloatEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // A click places the cursor where the user clicked.
  if (event->reason() == Qt::MouseFocusReason) return;
  if (FAutoSelect)
    selectAll();
  else
    deselect();
}

void TMtxFloatEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (ui::LeavesTheField(event)) CommitText();
}

void TMtxFloatEdit::mousePressEvent(QMouseEvent* event) {
  FPressModifiers = event->modifiers();
  FPressDouble = false;
  QLineEdit::mousePressEvent(event);
}

void TMtxFloatEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  FPressModifiers = event->modifiers();
  FPressDouble = true;
  QLineEdit::mouseDoubleClickEvent(event);
}

void TMtxFloatEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && FPressDouble && (FPressModifiers & Qt::ControlModifier)) {
    FPressDouble = false;
    ui::RunGuarded([this] { OpenStepEditor(true); });
    return;
  }
  // The middle button pastes the selection.
  if (event->button() == Qt::MiddleButton && (!FEditorEnabled || isReadOnly())) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TMtxFloatEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  if (!FEditorEnabled)
    for (QAction* action : menu->actions())
      if (action->objectName() == "edit-cut" || action->objectName() == "edit-paste") action->setEnabled(false);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

QSize TMtxFloatEdit::minimumSizeHint() const {
  const QSize hint = QLineEdit::minimumSizeHint();
  return QSize(hint.width() + ButtonWidth + 2, hint.height());
}

void TMtxFloatEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceButtons();
}

void TMtxFloatEdit::PlaceButtons() {
  // Inside the frame at the right edge; the text stops two pixels before it.
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  FButtons->setGeometry(width() - ButtonWidth - frame, frame, ButtonWidth, height() - 2 * frame);
}

}  // namespace analysis_ui
