// The controls of the component editor forms, made the one way every form
// makes them: each named as the form names it, so that a test (and the
// dialog's settings store) finds it by that name; and the rule that commits
// a field when the user is done with it.
//
//   QComboBox* box = NewCombo(page, "ResponseBox", {"Unit", "Fir"});
//   TMtxFloatEdit* edit = NewEdit(page, "FirLengthEdit", IntegerFormat, "1", "10000");
//   auto* commit = new TCommitFilter(form, [form](QObject* field) { ... });
//   edit->installEventFilter(commit);
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp, analysis_ui/tests/TimeAnaTest.cpp,
// analysis_ui/tests/CrossSpectrumAnaTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>

#include <QObject>
#include <QString>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace numeric {
class TMtxComponent;
}
namespace sig {
class TStreamTemplates;
}
namespace classlib {
class TStrings;
}

namespace analysis_ui {

class TMtxFloatEdit;

namespace editor_controls {

// The display format of whole-number fields: such a field steps by 1.
inline constexpr const char* IntegerFormat = "0";

QComboBox* NewCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items);
QCheckBox* NewCheck(QWidget* parent, const char* name, const char* caption);
// A button that never takes Enter: Enter belongs to the fields, which
// commit on it.
QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr);
QLabel* NewLabel(QWidget* parent, const QString& name, const char* caption);
// A numeric field with its display format and, when given, its bounds.
TMtxFloatEdit* NewEdit(QWidget* parent, const char* name, const char* format, const char* min = nullptr,
                       const char* max = nullptr);

// A label (named LabelName, its buddy Control) and the control in the next
// row of a grid, with a unit after them when given (named LabelName +
// "Unit"); returns the label.
QLabel* AddRow(QGridLayout* grid, QWidget* parent, const char* labelName, const QString& caption, QWidget* control,
               const QString& unit = QString());
// The numbers of the Info pages: the general format with 7 significant digits.
QString InfoNumber(double value);
// The lines of a report on the clipboard as plain text, each ended by a line break.
void CopyToClipboard(const classlib::TStrings& lines);

// "Templates:" with the combo box of a component's templates and the
// buttons "&New..", "&Delete" and "&Save As.." (named TemplateCombo,
// NewButton, DeleteTemplateButton, SaveAsButton), in one row.
struct TTemplateRow {
  QHBoxLayout* Layout;
  QComboBox* Combo;
  QPushButton* New;
  QPushButton* Delete;
  QPushButton* SaveAs;
};
TTemplateRow NewTemplateRow(QWidget* parent, const char* newHint);

// "Load settings...": the component's templates from a file the user
// chooses; when the component had templates, Question asks whether they
// follow the loaded ones. True when a file was loaded.
bool LoadTemplatesKeeping(numeric::TMtxComponent& Component, sig::TStreamTemplates& Templates,
                          const std::string& Question, QWidget* Parent);

// The field's value held within its bounds, read while the user is still
// typing: a value typed past a bound never reaches a component.
double BoundedPosition(const TMtxFloatEdit& edit);
std::int32_t BoundedIntPosition(const TMtxFloatEdit& edit);
// Whether the text typed so far is a number: an empty field or a lone sign
// is left alone until the user is done with it.
bool HoldsNumber(const TMtxFloatEdit& edit);

// Calls Commit with the watched control when it loses the focus or Enter is
// pressed in it (Enter then goes no further). A numeric field must hold a
// number within its bounds: an empty field, a text that does not read or a
// value out of range is refused with a message, and the field shows again
// the value it held when the user entered it (so its handler writes that
// value back). A failure of Commit is reported.
class TCommitFilter : public QObject {
 public:
  TCommitFilter(QObject* parent, std::function<void(QObject*)> commit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The value a numeric field held when it took the focus, or was last committed.
  std::map<const QObject*, double> FEntered;
  std::function<void(QObject*)> FCommit;
};

}  // namespace editor_controls
}  // namespace analysis_ui
