// The component dialog: finding, creating, filling and showing a source's
// editor form.
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp
#include "analysis_ui/ComponentDialog.h"

#include <memory>

#include <QDialog>
#include <QLineEdit>

#include "analysis_ui/ComponentEditorForm.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivPenDlg.h"
#include "numeric/MathCore.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/UserDialogs.h"
#include "signal/Analysis.h"

namespace analysis_ui {

const classlib::TClassInfo& TMtxDialog::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtxDialog>("TMtxDialog", classlib::TComponent::StaticClassInfo())
          .Property("ShowLive", &TMtxDialog::ShowLive, &TMtxDialog::SetShowLive)
          .Property("StayOnTop", &TMtxDialog::StayOnTop, &TMtxDialog::SetStayOnTop, false)
          .Property("Docking", &TMtxDialog::Docking, &TMtxDialog::SetDocking, false)
          .Property("StoreInRegistry", &TMtxDialog::StoreInRegistry, &TMtxDialog::SetStoreInRegistry, false)
          .Property("RegistryPath", &TMtxDialog::RegistryPath, &TMtxDialog::SetRegistryPath)
          .Build();
  return info;
}

TMtxDialog::TMtxDialog(classlib::TComponent* AOwner)
    : classlib::TComponent(AOwner), FRegistryPath(numeric::NumoraSettingsRoot) {}

TMtxDialog::~TMtxDialog() {
  SetSourceComponent(nullptr);
  // The dialog owns the form it opened: the form's destructor closes the
  // source's editor.
  delete FEditorForm.data();
}

void TMtxDialog::SetSourceComponent(numeric::TMtxComponent* Value) {
  if (Value == FSource) return;
  if (FSource != nullptr) RemoveFreeNotification(*FSource);
  FSource = Value;
  if (FSource != nullptr) FreeNotification(*FSource);
}

void TMtxDialog::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  if (Operation == classlib::opRemove && AComponent != nullptr &&
      AComponent == static_cast<classlib::TComponent*>(FSource))
    FSource = nullptr;
  classlib::TComponent::Notification(AComponent, Operation);
}

void TMtxDialog::UpdateEditorForm(bool) {
  TComponentEditorForm* form = FEditorForm.data();
  if (form == nullptr) return;
  form->UpdateControls(true);
  form->SetShowLive(FShowLive);
  form->SetStayOnTop(FStayOnTop);
  form->SetDocking(FDocking);
}

void TMtxDialog::PrepareEdits(TComponentEditorForm& Form) const {
  // The edit has no meta-object of its own: a search by its type would take
  // every line edit of the form for one.
  for (QLineEdit* line : Form.findChildren<QLineEdit*>()) {
    auto* edit = dynamic_cast<TMtxFloatEdit*>(line);
    if (edit == nullptr) continue;
    edit->SetRegistryPath(FRegistryPath + "\\" + Name());
    edit->SetStoreInRegistry(FStoreInRegistry);
    // The stored formats and increment take effect; the value is the
    // component's, which the form fills in afterwards.
    edit->SetTextUpdatesSuppressed(true);
    try {
      edit->ReadFromRegistry();
    } catch (...) {
      edit->SetTextUpdatesSuppressed(false);
      throw;
    }
    edit->SetTextUpdatesSuppressed(false);
  }
}

void TMtxDialog::Execute(bool Modal, QWidget* Parent) {
  numeric::TMtxComponent* source = FSource;
  if (source == nullptr) return;
  if (source->EditorOpen()) {
    if (TComponentEditorForm* open = FEditorForm.data()) {
      open->show();
      open->raise();
      open->activateWindow();
    }
    return;
  }
  const std::string className = source->EditorClassName();
  if (className.empty() || dynamic_cast<sig::TAnalysis*>(source) == nullptr) {
    classlib::ReportWarning(source->ClassInfo().ClassName() + " has no editor form");
    return;
  }
  if (!chart_editors::EditorFormRegistered(className)) {
    classlib::ReportWarning("Class " + className + " not found");
    return;
  }
  std::unique_ptr<chart_editors::TEditorForm> created(chart_editors::CreateEditorForm(className, nullptr));
  auto* form = dynamic_cast<TComponentEditorForm*>(created.get());
  if (form == nullptr) {
    classlib::ReportWarning("Class " + className + " is no component editor form");
    return;
  }
  FEditorForm = form;
  try {
    PrepareEdits(*form);
    form->SetTag(source);
    source->SetEditorOpen(true);
    form->SetDocking(FDocking);
    if (FStayOnTop) form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (Parent != nullptr) {
      form->SetAlignClient(true);
      chart_editors::EmbedEditorForm(*form, Parent, source);
      Modal = false;
    }
    if (FOnBeforeUpdate) FOnBeforeUpdate(*form);
    UpdateEditorForm(Modal);
  } catch (...) {
    // The form goes and the source's editor stays closed.
    source->SetEditorOpen(false);
    throw;
  }
  // From here on the form frees itself when it closes.
  created.release();
  if (!Modal) {
    form->show();
    return;
  }
  const int result = ui::ShowModal(*form);
  // A modal run that ended without closing the form (a script answered for
  // it) closes it as its result says.
  if (TComponentEditorForm* still = FEditorForm.data(); still != nullptr && !still->Closed())
    still->CloseForm(result == QDialog::Rejected);
}

}  // namespace analysis_ui
