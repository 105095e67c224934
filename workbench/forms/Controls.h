// Controls of the workbench's windows that Qt has no exact match for: the
// integer spin edit, whose text may be empty or anything while it is edited,
// and the radio group with its item index.
#pragma once

#include <functional>
#include <vector>

#include <QGroupBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include "platform/ui/Focus.h"
#include "workbench/logic/formRemezParameters.h"

class QAction;
class QLabel;
class QRadioButton;
class QButtonGroup;
class QEvent;
class QFocusEvent;
class QKeyEvent;
class QResizeEvent;
class QToolButton;

namespace workbench {

// An integer edit with a range and up and down buttons. Setting a value
// stores the nearer bound of a value outside the range; reading a text that
// is not an integer gives the minimum. The text holds no more digits than the
// range's end needs; while it is edited it may stand for a value outside the
// range, and leaving the field shows the value it stands for, so that what
// the field shows is what every reader of Value gets. Every change of the
// text (typed or set) is a change of the control (textChanged).
class TSpinEdit : public QLineEdit {
 public:
  TSpinEdit(QWidget* parent, const QString& name, TInputRange range, int value);

  // properties
  QString Text() const { return text(); }
  void SetText(const QString& value) { setText(value); }
  int Value() const;
  void SetValue(int value);
  TInputRange Range() const { return FRange; }

  // operations
  // The up (1) or down (-1) button: the value moves by one within the range.
  void Step(int delta);
  // The text becomes the value it stands for (an empty one the minimum).
  void Settle();

 protected:
  // overrides
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TInputRange FRange;
  QToolButton* FUp = nullptr;
  QToolButton* FDown = nullptr;
};

// A group box of radio buttons, one per item, with the index of the checked one.
class TRadioGroup : public QGroupBox {
 public:
  TRadioGroup(QWidget* parent, const QString& name, const QString& caption, const QStringList& items);

  // properties
  int ItemIndex() const;
  // Checks item `index` (or none for -1); fires no click.
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(FButtons.size()); }
  QRadioButton* Button(int index) const { return FButtons.at(index); }
  void SetItem(int index, const QString& text);

  // events
  // A click of the user on an item.
  std::function<void()> OnClick;

 private:
  std::vector<QRadioButton*> FButtons;
  QButtonGroup* FGroup = nullptr;
};

// Whether a focus event leaves a field for another control of its window;
// a window that goes inactive (a message box, another program) leaves none.
using ui::LeavesTheField;

// A label named as its window names it.
QLabel* NewLabel(QWidget* parent, const char* name, const QString& text);

// A command named as its window names it; the hint shows as its tip and in
// the status bar (the caption when there is no hint).
QAction* NewAction(QObject* owner, const char* name, const QString& caption, const QString& hint = {});

// A command of a window: its shortcut works while the window has the focus.
QAction* NewCommand(QWidget* owner, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut = {});

}  // namespace workbench
