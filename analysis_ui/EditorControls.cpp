// The controls of the component editor forms and the commit rule.
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp, analysis_ui/tests/TimeAnaTest.cpp,
// analysis_ui/tests/CrossSpectrumAnaTest.cpp
#include "analysis_ui/EditorControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <string>
#include <utility>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxTemplateFiles.h"
#include "numeric/MathCore.h"
#include "platform/classlib/Exception.h"
#include "platform/classlib/StringLists.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Rounding.h"
#include "platform/ui/UserDialogs.h"
#include "signal/StreamTemplates.h"

namespace analysis_ui::editor_controls {

QComboBox* NewCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const char* item : items) box->addItem(item);
  return box;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  if (hint != nullptr) button->setToolTip(hint);
  return button;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const char* caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

TMtxFloatEdit* NewEdit(QWidget* parent, const char* name, const char* format, const char* min, const char* max) {
  auto* edit = new TMtxFloatEdit(parent);
  edit->setObjectName(name);
  edit->SetReFormat(format);
  if (std::string(format) == IntegerFormat) {
    edit->SetIntegerIncrement(true);
    edit->SetIncrement("1");
  }
  if (min != nullptr) edit->SetMinValue(min);
  if (max != nullptr) edit->SetMaxValue(max);
  return edit;
}

TTemplateRow NewTemplateRow(QWidget* parent, const char* newHint) {
  TTemplateRow row;
  row.Layout = new QHBoxLayout;
  row.Combo = NewCombo(parent, "TemplateCombo", {});
  QLabel* label = NewLabel(parent, "TemplateComboLabel", "Templates:");
  label->setBuddy(row.Combo);
  row.New = NewButton(parent, "NewButton", "&New..", newHint);
  row.Delete = NewButton(parent, "DeleteTemplateButton", "&Delete", "Delete the current template");
  row.SaveAs = NewButton(parent, "SaveAsButton", "&Save As..", "Save the template under another name...");
  row.Layout->addWidget(label);
  row.Layout->addWidget(row.Combo, 1);
  for (QPushButton* b : {row.New, row.Delete, row.SaveAs}) row.Layout->addWidget(b);
  return row;
}

bool LoadTemplatesKeeping(numeric::TMtxComponent& Component, sig::TStreamTemplates& Templates,
                          const std::string& Question, QWidget* Parent) {
  sig::TStringStreamList kept;
  kept.Assign(Templates.Templates());
  if (!LoadTemplates(Component, Parent)) return false;
  if (kept.Count() > 0 && ui::Dialogs().MessageBox(Question, "Confirm", ui::mbYesNo, ui::miQuestion) == ui::mrYes)
    Templates.Templates().AppendFrom(kept);
  return true;
}

QLabel* AddRow(QGridLayout* grid, QWidget* parent, const char* labelName, const QString& caption, QWidget* control,
               const QString& unit) {
  const int row = grid->rowCount();
  QLabel* label = NewLabel(parent, labelName, "");
  label->setText(caption);
  label->setBuddy(control);
  grid->addWidget(label, row, 0);
  grid->addWidget(control, row, 1);
  if (!unit.isEmpty()) {
    QLabel* unitLabel = NewLabel(parent, QString(labelName) + "Unit", "");
    unitLabel->setText(unit);
    grid->addWidget(unitLabel, row, 2);
  }
  return label;
}

QString InfoNumber(double value) { return QString::fromStdString(numeric::FloatToStrPrec(value, 7, 0)); }

void CopyToClipboard(const classlib::TStrings& lines) {
  QString text;
  for (int i = 0; i < lines.Count(); ++i) text += QString::fromStdString(lines.Strings(i)) + "\n";
  QApplication::clipboard()->setText(text);
}

double BoundedPosition(const TMtxFloatEdit& edit) {
  const double lo = numeric::StrToCplx(edit.MinValue()).Re;
  const double hi = numeric::StrToCplx(edit.MaxValue()).Re;
  // Equal bounds bound nothing, as the field itself has it.
  if (lo == hi) return edit.Position();
  return std::clamp(edit.Position(), lo, hi);
}

std::int32_t BoundedIntPosition(const TMtxFloatEdit& edit) { return ui::Round(BoundedPosition(edit)); }

bool HoldsNumber(const TMtxFloatEdit& edit) {
  const std::string text = edit.Value();
  if (text.empty()) return false;
  try {
    numeric::StrToCplx(text);
    return true;
  } catch (const classlib::Exception&) {
    return false;
  }
}

namespace {

// Why a numeric field's text cannot be taken; empty when it can.
std::string Refusal(const TMtxFloatEdit& edit) {
  if (edit.Value().empty()) return "Enter a value!";
  double value = 0;
  try {
    value = numeric::StrToCplx(edit.Value()).Re;
  } catch (const classlib::Exception& e) {
    return e.Message();
  }
  const double lo = numeric::StrToCplx(edit.MinValue()).Re;
  const double hi = numeric::StrToCplx(edit.MaxValue()).Re;
  if (lo != hi && (value < lo || value > hi))
    return "Value out of range: " + edit.MinValue() + " .. " + edit.MaxValue() + "!";
  return {};
}

}  // namespace

TCommitFilter::TCommitFilter(QObject* parent, std::function<void(QObject*)> commit)
    : QObject(parent), FCommit(std::move(commit)) {}

bool TCommitFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = dynamic_cast<TMtxFloatEdit*>(watched);
  if (edit != nullptr && event->type() == QEvent::FocusIn) FEntered[watched] = edit->Position();
  const bool left = ui::LeavesTheField(event);
  const bool enter = event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
  if (!left && !enter) return false;
  std::string refusal;
  ui::RunGuarded([&] {
    if (edit != nullptr) {
      refusal = Refusal(*edit);
      if (refusal.empty()) {
        edit->CommitText();
      } else {
        const auto entered = FEntered.find(watched);
        edit->SetPosition(entered != FEntered.end() ? entered->second : BoundedPosition(*edit));
      }
      FEntered[watched] = edit->Position();
    }
    FCommit(watched);
  });
  // Last: the message takes the focus, and the field must be whole by then.
  if (!refusal.empty()) ui::RunGuarded([&] { throw classlib::Exception(refusal); });
  // The field's own leaving still runs; Enter has done its work here.
  return enter;
}

}  // namespace analysis_ui::editor_controls
