// The base of the analysis windows that edit one processing component (a
// spectrum or time analyser, a filter, a generator, a file reader, a sound
// input or output): the interface the component dialog (ComponentDialog.h)
// fills a new form through, and the life every such form shares.
//
// The life of a form:
// - The dialog creates it by the class name the component gives
//   (EditorClassName), puts the component into its Tag, sets the
//   component's editor-open flag and calls UpdateControls(true), then
//   SetShowLive, SetStayOnTop and SetDocking with its own options.
// - UpdateControls takes the component from Tag, keeps a copy of its
//   parameters for Cancel (when asked to), fills the controls with the ready
//   flag lowered, binds the component's OnDisplayUpdate to DisplayUpdate and
//   runs it once.
// - Each control's handler writes one property of the component and ends
//   with ApplyChange, which recomputes at once (ParameterUpdate) while Live
//   is checked. Handlers do nothing while the form is not Ready, so filling
//   the controls never writes a shown (rounded) value back.
// - Closing, by "OK", "Cancel", Escape (as Cancel) or the window's close
//   button: after Cancel the component takes the copy's parameters back
//   (RestoreBackup), otherwise KeepChanges runs; the editor-open flag is
//   cleared, the component recomputes once (ClosingUpdate), OnDisplayUpdate
//   is cleared, AfterClose runs and the form frees itself. A step that fails
//   is reported, and the others still run.
// - A form that goes any other way (its dialog freed it) still clears the
//   editor-open flag and OnDisplayUpdate. A component freed while its form
//   is open closes the form.
//
// "Save settings..." and "Load settings..." write and read the component's
// parameter templates (*.cfg, MtxTemplateFiles.h); after a load the
// controls are filled again (the copy for Cancel stays) and, while Live is
// on, the component recomputes. A form whose
// component keeps named templates of its own (bands, filters, signals)
// names them in AppendableTemplates: a load then asks AppendTemplatesQuestion
// and on Yes appends the templates that were there before.
//
// What a form implements: its controls in its constructor, inside
// ClientArea(), each named as the form names it; FillControls; and where it
// needs them DisplayUpdate, KeepChanges, AfterClose, RestoreBackup,
// ClosingUpdate, the option setters and AppendableTemplates. It registers
// its class under its name in the form registry (chart_editors'
// RegisterEditorForm) from the layer's start-up.
//
// The copy for Cancel holds parameters only (a template assign): the
// component keeps its input, its event handlers, the chart bound to it, its
// data and its marks.
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPointer>

#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"
#include "signal/Analysis.h"

namespace sig {
class TStreamTemplates;
}

class QAction;
class QMenu;
class QToolButton;
class QVBoxLayout;

namespace analysis_ui {

class TComponentEditorForm : public chart_editors::TEditorForm {
 public:
  explicit TComponentEditorForm(QWidget* owner = nullptr);
  // Clears the editor-open flag and OnDisplayUpdate of a component the form
  // still holds.
  ~TComponentEditorForm() override;

  // properties
  // The component taken from Tag by UpdateControls; nullptr before, and
  // after the component was freed.
  sig::TAnalysis* Component() const { return FComponent.Get(); }
  // The parameters of the component when the form opened; nullptr before
  // UpdateControls took a copy.
  sig::TAnalysis* Backup() const { return FBackup.get(); }
  // Set by "Cancel" (and Escape).
  bool Cancelled() const { return FCancelled; }
  // True once the closing steps ran (or the component went).
  bool Closed() const { return FClosed; }
  // False while the controls are being filled: handlers keep quiet.
  bool Ready() const { return FReady; }
  bool ShowLive() const;
  bool StayOnTop() const;
  bool Docking() const;
  bool Continuous() const;

  // operations
  // Fills every control from the component in Tag (nothing without one);
  // with Copy, the copy for Cancel takes the component's parameters first.
  void UpdateControls(bool Copy);
  // While Live is checked and the form is Ready: the component's
  // ParameterUpdate. A form whose component must do more after a change
  // (design itself, check its input) does it here.
  virtual void ApplyChange();
  // "OK" (Cancel false) or "Cancel": closes the form.
  void CloseForm(bool Cancel);

  // introduced virtual
  // Live item checked := Value; "Update" is shown only while Live is off.
  virtual void SetShowLive(bool Value);
  // Continuous item checked := Value; the component's Continuous := Value.
  virtual void SetContinuous(bool Value);
  // Stay-on-top item checked := Value; a form that is a window keeps above
  // the others while it is set.
  virtual void SetStayOnTop(bool Value);
  // Dock item checked := Value; the form may be docked while it is set.
  virtual void SetDocking(bool Value);

  // overrides
  // Escape and "Cancel" both come here as Rejected.
  void done(int result) override;

 protected:
  // The area above the tool bar that holds the form's own controls.
  QWidget* ClientArea() const { return FClientArea; }
  // The tool bar's buttons and the options menu with its items.
  QToolButton* OKButton() const { return FOKButton; }
  QToolButton* CancelButton() const { return FCancelButton; }
  QToolButton* OptionsButton() const { return FOptionsButton; }
  QToolButton* UpdateButton() const { return FUpdateButton; }
  QMenu* WindowEditMenu() const { return FWindowEditMenu; }
  QAction* LiveItem() const { return FLive; }
  QAction* ContinuousItem() const { return FContinuous; }
  QAction* StayOnTopItem() const { return FStayOnTop; }
  QAction* DockItem() const { return FDock; }
  QAction* SaveItem() const { return FSave; }
  QAction* LoadItem() const { return FLoad; }
  void SetReady(bool Value) { FReady = Value; }
  // Runs Body with the form not Ready, so that the handlers of the controls it
  // changes stay quiet; the flag is put back on every path.
  void Quietly(const std::function<void()>& Body);

  // Fills the controls from Component() (never nullptr here); runs with the
  // form not Ready.
  virtual void FillControls() = 0;
  // Refreshes what the form shows of the component's results; bound to the
  // component's OnDisplayUpdate while the form is open.
  virtual void DisplayUpdate() {}
  // Closing without Cancel: makes the form's choices the component's.
  virtual void KeepChanges() {}
  // Closing with Cancel: the component takes the copy's parameters.
  virtual void RestoreBackup();
  // The recomputation when the form closes: ParameterUpdate.
  virtual void ClosingUpdate();
  // "Update", shown while Live is off: the component's ParameterUpdate.
  virtual void UpdateClick();
  // The last step of closing, after OnDisplayUpdate was cleared.
  virtual void AfterClose() {}
  // The component's own named templates that a load of settings may keep,
  // and the question it asks; none here.
  virtual sig::TStreamTemplates* AppendableTemplates() const { return nullptr; }
  virtual std::string AppendTemplatesQuestion() const { return std::string(); }

  void closeEvent(QCloseEvent* event) override;

 private:
  // "Save settings..." and "Load settings...".
  void SaveSettings();
  void LoadSettings();
  // Runs the closing steps once; true when they ran now.
  bool FormClose();
  // Lets go of the component: flag and OnDisplayUpdate cleared.
  void Release();

  chart_editors::TComponentLink<sig::TAnalysis> FComponent;
  std::unique_ptr<sig::TAnalysis> FBackup;
  bool FCancelled = false;
  bool FReady = true;
  bool FClosed = false;
  QVBoxLayout* FLayout;
  QWidget* FClientArea;
  QToolButton* FOKButton;
  QToolButton* FCancelButton;
  QToolButton* FOptionsButton;
  QToolButton* FUpdateButton;
  QMenu* FWindowEditMenu;
  QAction* FLive;
  QAction* FContinuous;
  QAction* FStayOnTop;
  QAction* FDock;
  QAction* FSave;
  QAction* FLoad;
};

}  // namespace analysis_ui
