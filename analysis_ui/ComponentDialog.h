// The component dialog: a non-visual component placed beside a processing
// component (its source) that opens the source's editor form. It knows the
// form only by the class name the source gives (EditorClassName): it creates
// the form from the form registry, hands it the source, fills it through the
// editor form interface (ComponentEditorForm.h) with its own options, and
// shows it modelessly, modally or embedded into a parent widget.
//
//   TSpectrumAnalyzerDialog dialog;             // SignalToolsDialogs.h
//   dialog.SetSource(&analyzer);
//   dialog.SetShowLive(true);
//   dialog.Execute();                           // floating, modeless
//
// While the source's editor is open, Execute only brings the form up again.
// A form class that is not registered, or a form that is no editor form,
// opens nothing and is reported through the class library's warning sink.
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp
#pragma once

#include <functional>
#include <string>

#include <QPointer>

#include "analysis_ui/ComponentEditorForm.h"
#include "numeric/MtxBaseComp.h"
#include "platform/classlib/Component.h"

class QWidget;

namespace analysis_ui {

class TMtxDialog : public classlib::TComponent {
  ORVEL_CLASS_INFO
 public:
  // Called with the new form after it is set up and before it is filled and shown.
  using TFormEvent = std::function<void(TComponentEditorForm& Sender)>;

  explicit TMtxDialog(classlib::TComponent* AOwner = nullptr);
  // Lets go of the source; a form still open goes with the dialog.
  ~TMtxDialog() override;

  // properties
  // Handed to the form: each change takes effect at once.
  bool ShowLive() const { return FShowLive; }
  void SetShowLive(bool Value) { FShowLive = Value; }
  // The form keeps above the other windows.
  bool StayOnTop() const { return FStayOnTop; }
  void SetStayOnTop(bool Value) { FStayOnTop = Value; }
  // The form may be docked.
  bool Docking() const { return FDocking; }
  void SetDocking(bool Value) { FDocking = Value; }
  // Each complex-number edit of the form keeps its display settings in the
  // settings store, under RegistryPath + "\" + the dialog's Name.
  bool StoreInRegistry() const { return FStoreInRegistry; }
  void SetStoreInRegistry(bool Value) { FStoreInRegistry = Value; }
  const std::string& RegistryPath() const { return FRegistryPath; }
  void SetRegistryPath(const std::string& Value) { FRegistryPath = Value; }
  // The form of the last Execute while it lives.
  TComponentEditorForm* EditorForm() const { return FEditorForm.data(); }

  // events
  const TFormEvent& OnBeforeUpdate() const { return FOnBeforeUpdate; }
  void SetOnBeforeUpdate(TFormEvent Value) { FOnBeforeUpdate = std::move(Value); }

  // introduced virtual
  // Fills the new form: UpdateControls with a copy for Cancel, then the
  // form takes ShowLive, StayOnTop and Docking.
  virtual void UpdateEditorForm(bool Modal);
  // Opens the source's editor form: shown modelessly, or modally with
  // Modal; with Parent, embedded into it (filling it, never modal). Without
  // a source nothing happens; while the source's editor is open the form is
  // brought up again. A failure on the way frees the new form and leaves the
  // source's editor closed.
  virtual void Execute(bool Modal = false, QWidget* Parent = nullptr);

 protected:
  numeric::TMtxComponent* SourceComponent() const { return FSource; }
  // Stores the source and asks to hear when it is freed.
  void SetSourceComponent(numeric::TMtxComponent* Value);
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  // The new form's complex-number edits take the dialog's store settings and
  // read what the store holds of their display.
  void PrepareEdits(TComponentEditorForm& Form) const;

  numeric::TMtxComponent* FSource = nullptr;
  QPointer<TComponentEditorForm> FEditorForm;
  bool FShowLive = false;
  bool FStayOnTop = false;
  bool FDocking = false;
  bool FStoreInRegistry = false;
  std::string FRegistryPath;
  TFormEvent FOnBeforeUpdate;
};

}  // namespace analysis_ui
