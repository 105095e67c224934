// The spin edit and the radio group of the workbench's windows.
// Tested by: tests/GeneratorInputsTest.cpp
#include "workbench/forms/Controls.h"

#include <tuple>

#include <QAction>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QToolButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace workbench {

TSpinEdit::TSpinEdit(QWidget* parent, const QString& name, TInputRange range, int value)
    : QLineEdit(parent), FRange(range), FUp(new QToolButton(this)), FDown(new QToolButton(this)) {
  setObjectName(name);
  for (auto [button, arrow, delta] : {std::tuple{FUp, Qt::UpArrow, 1}, std::tuple{FDown, Qt::DownArrow, -1}}) {
    button->setObjectName(name + (delta > 0 ? "_Up" : "_Down"));
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::ArrowCursor);
    connect(button, &QToolButton::clicked, this, [this, step = delta] { Step(step); });
  }
  setTextMargins(0, 0, 16, 0);
  // The ranges are of counts and periods, none below 0.
  setMaxLength(static_cast<int>(QString::number(range.Max).size()));
  SetValue(value);
}

int TSpinEdit::Value() const {
  bool ok = false;
  const int value = Text().trimmed().toInt(&ok);
  return ok ? FRange.Clamp(value) : FRange.Min;
}

void TSpinEdit::SetValue(int value) { SetText(QString::number(FRange.Clamp(value))); }

void TSpinEdit::Step(int delta) {
  if (isReadOnly() || !isEnabled()) return;
  SetValue(Value() + delta);
}

void TSpinEdit::Settle() {
  const QString value = QString::number(Value());
  if (Text() != value) SetText(value);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (LeavesTheField(event)) Settle();
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    Step(event->key() == Qt::Key_Up ? 1 : -1);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int half = height() / 2;
  FUp->setGeometry(width() - 16, 0, 16, half);
  FDown->setGeometry(width() - 16, half, 16, height() - half);
}

TRadioGroup::TRadioGroup(QWidget* parent, const QString& name, const QString& caption, const QStringList& items)
    : QGroupBox(caption, parent), FGroup(new QButtonGroup(this)) {
  setObjectName(name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(2);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    button->setObjectName(name + "_" + QString::number(i));
    FGroup->addButton(button, i);
    layout->addWidget(button);
    FButtons.push_back(button);
  }
  connect(FGroup, &QButtonGroup::idClicked, this, [this](int) {
    if (OnClick) OnClick();
  });
}

int TRadioGroup::ItemIndex() const { return FGroup->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < Count()) {
    FButtons[index]->setChecked(true);
  } else if (QAbstractButton* checked = FGroup->checkedButton()) {
    FGroup->setExclusive(false);
    checked->setChecked(false);
    FGroup->setExclusive(true);
  }
}

void TRadioGroup::SetItem(int index, const QString& text) { FButtons.at(index)->setText(text); }

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QAction* NewAction(QObject* owner, const char* name, const QString& caption, const QString& hint) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(name);
  action->setToolTip(hint.isEmpty() ? caption : hint);
  action->setStatusTip(hint);
  return action;
}

QAction* NewCommand(QWidget* owner, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut) {
  QAction* action = NewAction(owner, name, caption, hint);
  action->setShortcut(shortcut);
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  owner->addAction(action);
  return action;
}

}  // namespace workbench
