// The base of the component editor forms: tool bar, options menu, filling,
// the live update and closing.
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp
#include "analysis_ui/ComponentEditorForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

#include "platform/classlib/Exception.h"
#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxTemplateFiles.h"
#include "platform/ui/Guarded.h"
#include "signal/StreamTemplates.h"

namespace analysis_ui {

namespace {

QToolButton* CreateToolButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(caption);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setAutoRaise(true);
  return button;
}

QAction* CreateMenuItem(QMenu* menu, const char* name, const QString& caption, bool checkable) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  item->setCheckable(checkable);
  return item;
}

}  // namespace

TComponentEditorForm::TComponentEditorForm(QWidget* owner)
    : TEditorForm(owner), FComponent([this](sig::TAnalysis*) {
        // Nothing is left to edit: the form goes without touching the component.
        SetTag(nullptr);
        FClosed = true;
        hide();
        deleteLater();
      }) {
  FLayout = new QVBoxLayout(this);
  FLayout->setContentsMargins(4, 4, 4, 4);
  FClientArea = new QWidget(this);
  FClientArea->setObjectName("ClientArea");
  FLayout->addWidget(FClientArea, 1);

  auto* editPanel = new QWidget(this);
  editPanel->setObjectName("EditPanel");
  auto* panelLayout = new QHBoxLayout(editPanel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  auto* editBar = new QWidget(editPanel);
  editBar->setObjectName("EditBar");
  auto* barLayout = new QHBoxLayout(editBar);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->setSpacing(2);
  FOKButton = CreateToolButton(editBar, "OKButton", "OK");
  FCancelButton = CreateToolButton(editBar, "CancelButton", "Cancel");
  FOptionsButton = CreateToolButton(editBar, "OptionsButton", "Options");
  FUpdateButton = CreateToolButton(editBar, "ToolButton1", "Update");
  for (QToolButton* b : {FOKButton, FCancelButton, FOptionsButton, FUpdateButton}) barLayout->addWidget(b);
  panelLayout->addWidget(editBar);
  panelLayout->addStretch(1);
  FLayout->addWidget(editPanel);

  FWindowEditMenu = new QMenu(this);
  FWindowEditMenu->setObjectName("WindowEditMenu");
  FLive = CreateMenuItem(FWindowEditMenu, "Live1", "Live", true);
  FContinuous = CreateMenuItem(FWindowEditMenu, "Continuous1", "Continuous", true);
  FWindowEditMenu->addSeparator();
  FStayOnTop = CreateMenuItem(FWindowEditMenu, "Stayontop1", "Stay on top", true);
  FDock = CreateMenuItem(FWindowEditMenu, "Dock1", "Dock", true);
  FWindowEditMenu->addSeparator();
  FSave = CreateMenuItem(FWindowEditMenu, "Save1", "Save settings...", false);
  FLoad = CreateMenuItem(FWindowEditMenu, "Load1", "Load settings...", false);
  FOptionsButton->setMenu(FWindowEditMenu);
  FOptionsButton->setPopupMode(QToolButton::InstantPopup);
  FStayOnTop->setChecked(windowFlags().testFlag(Qt::WindowStaysOnTopHint));

  connect(FOKButton, &QToolButton::clicked, this, ui::Guarded([this] { CloseForm(false); }));
  connect(FCancelButton, &QToolButton::clicked, this, ui::Guarded([this] { CloseForm(true); }));
  connect(FUpdateButton, &QToolButton::clicked, this, ui::Guarded([this] {
            if (Component() != nullptr) UpdateClick();
          }));
  connect(FLive, &QAction::triggered, this, ui::Guarded([this](bool on) { SetShowLive(on); }));
  connect(FContinuous, &QAction::triggered, this, ui::Guarded([this](bool on) { SetContinuous(on); }));
  connect(FStayOnTop, &QAction::triggered, this, ui::Guarded([this](bool on) { SetStayOnTop(on); }));
  connect(FDock, &QAction::triggered, this, ui::Guarded([this](bool on) { SetDocking(on); }));
  connect(FSave, &QAction::triggered, this, ui::Guarded([this] { SaveSettings(); }));
  connect(FLoad, &QAction::triggered, this, ui::Guarded([this] { LoadSettings(); }));
}

TComponentEditorForm::~TComponentEditorForm() {
  if (!FClosed) Release();
}

bool TComponentEditorForm::ShowLive() const { return FLive->isChecked(); }
bool TComponentEditorForm::StayOnTop() const { return FStayOnTop->isChecked(); }
bool TComponentEditorForm::Docking() const { return FDock->isChecked(); }
bool TComponentEditorForm::Continuous() const { return FContinuous->isChecked(); }

void TComponentEditorForm::UpdateControls(bool Copy) {
  auto* component = dynamic_cast<sig::TAnalysis*>(Tag());
  FComponent.Set(component);
  if (component == nullptr) return;
  if (Copy) {
    if (!FBackup) {
      FBackup.reset(dynamic_cast<sig::TAnalysis*>(component->ClassInfo().Create(nullptr)));
      if (!FBackup) throw classlib::Exception("Cannot copy " + component->ClassInfo().ClassName());
    }
    FBackup->AssignTemplate(*component);
  }
  FReady = false;
  try {
    FContinuous->setChecked(component->Continuous());
    FillControls();
  } catch (...) {
    FReady = true;
    throw;
  }
  FReady = true;
  // A refresh that fails is reported; the component's update it ends stays good.
  component->SetOnDisplayUpdate([this](classlib::TPersistent*) { ui::RunGuarded([this] { DisplayUpdate(); }); });
  DisplayUpdate();
}

void TComponentEditorForm::Quietly(const std::function<void()>& Body) {
  const bool ready = Ready();
  SetReady(false);
  try {
    Body();
  } catch (...) {
    SetReady(ready);
    throw;
  }
  SetReady(ready);
}

void TComponentEditorForm::ApplyChange() {
  if (ShowLive() && FReady && Component() != nullptr) Component()->ParameterUpdate(nullptr);
}

void TComponentEditorForm::CloseForm(bool Cancel) {
  if (Cancel) FCancelled = true;
  close();
}

void TComponentEditorForm::SetShowLive(bool Value) {
  FLive->setChecked(Value);
  FUpdateButton->setVisible(!Value);
}

void TComponentEditorForm::SetContinuous(bool Value) {
  FContinuous->setChecked(Value);
  if (Component() != nullptr) Component()->SetContinuous(Value);
}

void TComponentEditorForm::SetStayOnTop(bool Value) {
  FStayOnTop->setChecked(Value);
  if (!isWindow() || windowFlags().testFlag(Qt::WindowStaysOnTopHint) == Value) return;
  // Changing a window's flags hides it; a window on the screen comes back at once.
  const bool visible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, Value);
  if (visible) show();
}

void TComponentEditorForm::SetDocking(bool Value) { FDock->setChecked(Value); }

void TComponentEditorForm::SaveSettings() {
  if (Component() != nullptr) SaveTemplates(*Component(), this);
}

void TComponentEditorForm::LoadSettings() {
  if (Component() == nullptr) return;
  sig::TStreamTemplates* templates = AppendableTemplates();
  const bool loaded = templates != nullptr
                          ? editor_controls::LoadTemplatesKeeping(*Component(), *templates, AppendTemplatesQuestion(), this)
                          : LoadTemplates(*Component(), this);
  if (!loaded) return;
  UpdateControls(false);
  // What was loaded shows at once while Live is on, as any change does.
  ApplyChange();
}

void TComponentEditorForm::done(int result) {
  setResult(result);
  CloseForm(result == QDialog::Rejected);
}

void TComponentEditorForm::RestoreBackup() {
  if (FBackup) Component()->AssignTemplate(*FBackup);
}

void TComponentEditorForm::ClosingUpdate() { Component()->ParameterUpdate(nullptr); }

void TComponentEditorForm::UpdateClick() { Component()->ParameterUpdate(nullptr); }

void TComponentEditorForm::closeEvent(QCloseEvent* event) {
  event->accept();
  if (FormClose()) deleteLater();
}

bool TComponentEditorForm::FormClose() {
  if (FClosed) return false;
  FClosed = true;
  if (Component() == nullptr) return true;
  // Every step runs, whatever an earlier one raised: the component must not
  // stay marked open or keep calling a form that is gone.
  std::exception_ptr failure;
  auto step = [&failure](auto&& body) {
    try {
      body();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  };
  step([this] { FCancelled ? RestoreBackup() : KeepChanges(); });
  step([this] { Component()->SetEditorOpen(false); });
  step([this] { ClosingUpdate(); });
  step([this] { Component()->SetOnDisplayUpdate(nullptr); });
  step([this] { AfterClose(); });
  if (failure) ui::ShowException(failure);
  return true;
}

void TComponentEditorForm::Release() {
  sig::TAnalysis* component = Component();
  if (component == nullptr) return;
  component->SetEditorOpen(false);
  component->SetOnDisplayUpdate(nullptr);
}

}  // namespace analysis_ui
