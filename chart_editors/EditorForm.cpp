// The editor form base and the registry of editor form classes.
//
// Tested by: chart_editors/tests/EditorFormTest.cpp
#include "chart_editors/EditorForm.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <utility>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

TEditorForm::TEditorForm(QWidget* owner) : QDialog(owner), FOwner(owner) {}

void TEditorForm::EnsureShown() {
  if (FShown) return;
  FormShow();
  FShown = true;
}

void TEditorForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ui::RunGuarded([this] { EnsureShown(); });
}

void TEditorForm::done(int result) {
  bool mayClose = false;
  ui::RunGuarded([&] { mayClose = CloseQuery(); });
  if (mayClose) QDialog::done(result);
}

void TEditorForm::keyPressEvent(QKeyEvent* event) {
  if (isWindow())
    QDialog::keyPressEvent(event);
  else
    QWidget::keyPressEvent(event);
}

QSpinBox* CreateUpDownEdit(QWidget* parent, const char* editName, const char* upDownName, int min, int max) {
  auto* upDown = new QSpinBox(parent);
  upDown->setObjectName(upDownName);
  upDown->setRange(min, max);
  upDown->findChild<QLineEdit*>()->setObjectName(editName);
  return upDown;
}

namespace {

struct TFormClass {
  std::string Name;
  TEditorFormFactory Factory;
};

// Forms live on the GUI thread only, and so does their registry.
std::vector<TFormClass>& FormClasses() {
  static std::vector<TFormClass> classes;
  return classes;
}

const TFormClass* FindFormClass(std::string_view className) {
  for (const TFormClass& c : FormClasses())
    if (classlib::SameText(c.Name, className)) return &c;
  return nullptr;
}

}  // namespace

void RegisterEditorForm(const std::string& className, TEditorFormFactory factory) {
  if (FindFormClass(className) == nullptr) FormClasses().push_back({className, std::move(factory)});
}

void UnRegisterEditorForm(std::string_view className) {
  std::erase_if(FormClasses(), [className](const TFormClass& c) { return classlib::SameText(c.Name, className); });
}

bool EditorFormRegistered(std::string_view className) { return FindFormClass(className) != nullptr; }

TEditorForm* CreateEditorForm(std::string_view className, QWidget* owner) {
  const TFormClass* c = FindFormClass(className);
  if (c == nullptr) throw classlib::EClassNotFound("Class " + std::string(className) + " not found");
  return c->Factory(owner);
}

}  // namespace chart_editors
