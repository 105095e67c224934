// The main window: commands, child windows, settings and the close sequence.
// Tested by: tests/MainWindowTest.cpp
#include "workbench/forms/formMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QShowEvent>
#include <QToolBar>

#include "platform/classlib/Exception.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/Icons.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/formAbout.h"
#include "workbench/forms/formCompare.h"
#include "workbench/forms/formGroup.h"
#include "workbench/forms/formRemez.h"
#include "workbench/forms/formSpectrum.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/SettingsFile.h"

namespace workbench {

namespace {

void SetHint(QAction* action, const QString& hint) {
  action->setToolTip(hint);
  action->setStatusTip(hint);
}

}  // namespace

QString MainWindowCaption(const QString& caption) {
  return caption + " [v. " + QString::fromStdString(GetFileVersionString()) + "]";
}

TfrmMain::TfrmMain(TUserDialogs& dialogs, std::string settingsFileName, QWidget* parent)
    : QMainWindow(parent), FDialogs(dialogs), FSettingsFileName(std::move(settingsFileName)) {
  setObjectName("frmMain");
  setWindowTitle("Orvel");
  MDIClient = new QMdiArea(this);
  MDIClient->setObjectName("MDIClient");
  MDIClient->setBackground(palette().color(QPalette::Dark));
  setCentralWidget(MDIClient);
  CreateActions();
  CreateMenusAndToolbar();
  setWindowIcon(ToolbarIcon(tiGenerator, *style()));
  resize(1024, 720);
  FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateActions() {
  actFormRemez = NewAction(this, "actFormRemez", "Генератор фильтров", "Открытие диалога генератора цифровых фильтров");
  actFormMethods = NewAction(this, "actFormMethods", "Работа с методами",
                             "Вызов диалога работы с групповым созданием \nнаборов фильтров, индикаторов и методов");
  actFormCompare = NewAction(this, "actFormCompare", "Сравнение фильтров",
                             "Вызов диалога сравнения и  подбора параметров разных фильтров.\n"
                             "Фильтры сравниваются на одной истории котировок,\n"
                             "параметры подбираются перебором");
  actFormSpectrum = NewAction(this, "actFormSpectrum", "Спектральный анализ");
  actFileOpen = NewAction(this, "actFileOpen", "Открыть файл", "Открытие файла с данными для последующей обработки");
  actFileSave = NewAction(this, "actFileSave", "Сохранить", "Сохранение данных в файл");
  actFormCopy = NewAction(this, "actFormCopy", "Копировать", "Копирование в буфер Windows");
  actZoomIn = NewAction(this, "actZoomIn", "Увеличить график");
  actZoomOut = NewAction(this, "actZoomOut", "Уменьшить график");
  actRefresh = NewAction(this, "actRefresh", "Обновить график");
  actSpectrumParameters = NewAction(this, "actSpectrumParameters", "Параметры спектра");
  mnuMainClose = NewAction(this, "mnuMainClose", "Exit");
  mnuMainAbout = NewAction(this, "mnuMainAbout", "About");

  actFileOpen->setIcon(ToolbarIcon(tiFileOpen, *style()));
  actFileSave->setIcon(ToolbarIcon(tiFileSave, *style()));
  actFormCopy->setIcon(ToolbarIcon(tiCopy, *style()));
  actFormRemez->setIcon(ToolbarIcon(tiGenerator, *style()));
  actFormMethods->setIcon(ToolbarIcon(tiMethods, *style()));
  actFormCompare->setIcon(ToolbarIcon(tiCompare, *style()));
  actFormSpectrum->setIcon(ToolbarIcon(tiSpectrum, *style()));

  // Only the spectrum window serves its parameters; it switches them on.
  actSpectrumParameters->setEnabled(false);

  BindCommand(FDialogs, actFormRemez, this, &TfrmMain::actFormRemezExecute);
  BindCommand(FDialogs, actFormMethods, this, &TfrmMain::actFormMethodsExecute);
  BindCommand(FDialogs, actFormCompare, this, &TfrmMain::actFormCompareExecute);
  BindCommand(FDialogs, actFormSpectrum, this, &TfrmMain::actFormSpectrumExecute);
  BindCommand(FDialogs, actFileOpen, this, &TfrmMain::actFileOpenExecute);
  BindCommand(FDialogs, actFileSave, this, &TfrmMain::actFileSaveExecute);
  BindCommand(FDialogs, actFormCopy, this, &TfrmMain::actFormCopyExecute);
  BindCommand(FDialogs, actZoomIn, this, &TfrmMain::actZoomInExecute);
  BindCommand(FDialogs, actZoomOut, this, &TfrmMain::actZoomOutExecute);
  BindCommand(FDialogs, actRefresh, this, &TfrmMain::actRefreshExecute);
  BindCommand(FDialogs, actSpectrumParameters, this, &TfrmMain::actSpectrumParametersExecute);
  BindCommand(FDialogs, mnuMainClose, this, &TfrmMain::mnuMainCloseClick);
  BindCommand(FDialogs, mnuMainAbout, this, &TfrmMain::mnuMainAboutClick);
}

void TfrmMain::CreateMenusAndToolbar() {
  QMenu* file = menuBar()->addMenu("File");
  file->setObjectName("mnuMainFile");
  file->addAction(actFileOpen);
  file->addAction(actFileSave);
  file->addSeparator();
  file->addAction(mnuMainClose);
  QMenu* edit = menuBar()->addMenu("Edit");
  edit->setObjectName("mnuMainEdit");
  edit->addAction(actSpectrumParameters);
  edit->addAction(actFormCopy);
  QMenu* view = menuBar()->addMenu("View");
  view->setObjectName("mnuMainView");
  view->addAction(actFormRemez);
  view->addAction(actFormMethods);
  view->addAction(actFormCompare);
  view->addAction(actFormSpectrum);
  view->addSeparator();
  view->addAction(actRefresh);
  view->addAction(actZoomIn);
  view->addAction(actZoomOut);
  QMenu* help = menuBar()->addMenu("Help");
  help->setObjectName("mnuMainHelp");
  help->addAction(mnuMainAbout);

  ToolBar1 = addToolBar("ToolBar1");
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  ToolBar1->addAction(actFileOpen);
  ToolBar1->addAction(actFileSave);
  ToolBar1->addSeparator();
  ToolBar1->addAction(actFormCopy);
  ToolBar1->addSeparator();
  ToolBar1->addAction(actFormRemez);
  ToolBar1->addAction(actFormMethods);
  ToolBar1->addAction(actFormCompare);
  ToolBar1->addAction(actFormSpectrum);
}

void TfrmMain::FormCreate() {
  setWindowTitle(MainWindowCaption(windowTitle()));
  actFileSave->setEnabled(false);
  classlib::SetDecimalSeparator('.');
  try {
    WorkbenchSettings = ReadWorkbenchSettings(FSettingsFileName);
  } catch (...) {
    // An unreadable settings file costs the remembered inputs, not the start.
    WorkbenchSettings = DefaultWorkbenchSettings();
    FDialogs.ShowException(std::current_exception());
  }
}

void TfrmMain::FormShow() { actFormRemezExecute(); }

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown || event->spontaneous()) return;
  FShown = true;
  Guarded(FDialogs, [this] { FormShow(); })();
}

QMdiSubWindow* TfrmMain::FindChildWindow(const QString& name) const {
  for (QMdiSubWindow* child : MDIClient->subWindowList())
    if (child->objectName().toLower() == name) return child;
  return nullptr;
}

QMdiSubWindow* TfrmMain::ActiveChild() const { return MDIClient->currentSubWindow(); }

bool TfrmMain::ActivateChild(const QString& name) {
  QMdiSubWindow* child = FindChildWindow(name);
  if (child == nullptr) return false;
  // A window put aside (the spectrum window when it is closed) comes back
  // maximised, as every child opens.
  if (child->isMinimized()) child->showMaximized();
  child->raise();
  MDIClient->setActiveSubWindow(child);
  activateWindow();
  return true;
}

void TfrmMain::actFormRemezExecute() {
  if (!ActivateChild("frmremez")) new TfrmRemez(*this);
  actFileOpen->setEnabled(true);
  SetHint(actFileOpen, "Открыть файл (настройки фильтра или история из МетаТрейдера)");
  actFileSave->setEnabled(false);
  SetHint(actFileSave, "Сохранить текст индикатора или настройки фильтра в файл");
  actFormCopy->setEnabled(false);
  SetHint(actFormCopy, "Копировать текст индикатора в буфер Windows");
  actZoomIn->setEnabled(true);
  actZoomOut->setEnabled(true);
  actRefresh->setEnabled(true);
  // A generator that was open already keeps what it has to save.
  if (TfrmRemez* generator = dynamic_cast<TfrmRemez*>(FindChildWindow("frmremez"))) generator->UpdateMainCommands();
}

void TfrmMain::actFormMethodsExecute() {
  // A new methods window starts with an empty method.
  if (!ActivateChild("frmmethods")) new TfrmMethods(*this);
  SetHint(actFileOpen, "Открыть файл с настройками метода");
  actFileSave->setEnabled(false);
  SetHint(actFileSave, "Сохранить текст метода в MQL-файл");
  actFormCopy->setEnabled(false);
  actZoomIn->setEnabled(false);
  actZoomOut->setEnabled(false);
  actRefresh->setEnabled(false);
}

void TfrmMain::actFormCompareExecute() {
  if (!ActivateChild("frmcompare")) new TfrmCompare(*this);
  actFileOpen->setEnabled(true);
  SetHint(actFileOpen, "Открыть файл для импорта фильтра");
  actFileSave->setEnabled(false);
  actFormCopy->setEnabled(false);
}

void TfrmMain::actFormSpectrumExecute() {
  if (!ActivateChild("frmspectrum")) new TfrmSpectrum(*this);
  actFileOpen->setEnabled(true);
  SetHint(actFileOpen, "Открыть файл котировок");
  actSpectrumParameters->setEnabled(false);
  // A spectrum window that has a history keeps its parameters at hand.
  if (auto* spectrum = dynamic_cast<TfrmSpectrum*>(FindChildWindow("frmspectrum"))) spectrum->UpdateMainCommands();
}

void TfrmMain::CreateStartWindows() {
  SearchDialog();
  if (FindChildWindow("frmspectrum") == nullptr) new TfrmSpectrum(*this);
}

TfrmCompare& TfrmMain::OpenCompareWindow() {
  actFormCompareExecute();
  return *dynamic_cast<TfrmCompare*>(FindChildWindow("frmcompare"));
}

TfrmCmpBruteForce& TfrmMain::SearchDialog() {
  if (!FSearchDialog) FSearchDialog = std::make_unique<TfrmCmpBruteForce>(FDialogs);
  return *FSearchDialog;
}

void TfrmMain::AddChild(QMdiSubWindow& child) { MDIClient->addSubWindow(&child); }

bool TfrmMain::IsActiveChild(const QMdiSubWindow& child) const { return ActiveChild() == &child; }

bool TfrmMain::HasChild(const QMdiSubWindow& child) const { return MDIClient->subWindowList().contains(&child); }

QAction* TfrmMain::Command(TMainCommand command) const {
  switch (command) {
    case mcFileOpen: return actFileOpen;
    case mcFileSave: return actFileSave;
    case mcFormCopy: return actFormCopy;
    case mcZoomIn: return actZoomIn;
    case mcZoomOut: return actZoomOut;
    case mcRefresh: return actRefresh;
    case mcFormMethods: return actFormMethods;
    case mcSpectrumParameters: return actSpectrumParameters;
  }
  throw classlib::Exception("Unknown main-window command " + std::to_string(command));
}

void TfrmMain::EnableCommand(TMainCommand command, bool enabled) { Command(command)->setEnabled(enabled); }

void TfrmMain::CompareFilter(const TFilterRecord& filter, const QString& fileLabel, bool labelShown) {
  TfrmCompare& compare = OpenCompareWindow();
  compare.SetFileLabel(fileLabel, labelShown);
  compare.AddRow(GeneratorRow(filter, compare.Table().Rows().size()));
}

TfrmMethods* TfrmMain::ActiveMethods() const {
  QMdiSubWindow* child = ActiveChild();
  if (child == nullptr || child->objectName().toLower() != "frmmethods") return nullptr;
  return dynamic_cast<TfrmMethods*>(child);
}

TfrmCompare* TfrmMain::ActiveCompare() const {
  QMdiSubWindow* child = ActiveChild();
  if (child == nullptr || child->objectName().toLower() != "frmcompare") return nullptr;
  return dynamic_cast<TfrmCompare*>(child);
}

TfrmSpectrum* TfrmMain::ActiveSpectrum() const {
  QMdiSubWindow* child = ActiveChild();
  if (child == nullptr || child->objectName().toLower() != "frmspectrum") return nullptr;
  return dynamic_cast<TfrmSpectrum*>(child);
}

TfrmRemez* TfrmMain::ActiveGenerator() const {
  QMdiSubWindow* child = ActiveChild();
  if (child == nullptr || child->objectName().toLower() != "frmremez") return nullptr;
  return dynamic_cast<TfrmRemez*>(child);
}

void TfrmMain::actFileOpenExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actFileOpenExecute();
  if (TfrmMethods* methods = ActiveMethods()) methods->actOpenExecute();
  if (TfrmCompare* compare = ActiveCompare()) compare->actFileOpenExecute();
  if (TfrmSpectrum* spectrum = ActiveSpectrum()) spectrum->actFileOpenExecute();
}

void TfrmMain::actFileSaveExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actFileSaveExecute();
  if (TfrmMethods* methods = ActiveMethods()) methods->actSaveExecute();
  if (TfrmCompare* compare = ActiveCompare()) compare->actFileSaveExecute();
}

void TfrmMain::actFormCopyExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actCopyToClipboardExecute();
}

void TfrmMain::actZoomInExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actChartZoomInExecute();
  if (TfrmCompare* compare = ActiveCompare()) compare->actChartZoomInExecute();
}

void TfrmMain::actZoomOutExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actChartZoomOutExecute();
  if (TfrmCompare* compare = ActiveCompare()) compare->actChartZoomOutExecute();
}

void TfrmMain::actRefreshExecute() {
  if (TfrmRemez* generator = ActiveGenerator()) generator->actChartRefreshExecute();
  if (TfrmCompare* compare = ActiveCompare()) compare->actChartRefreshExecute();
}

void TfrmMain::actSpectrumParametersExecute() {
  if (TfrmSpectrum* spectrum = ActiveSpectrum()) spectrum->actSpectrumParametersExecute();
}

void TfrmMain::mnuMainAboutClick() {
  TfrmAbout about(FDialogs);
  FDialogs.ExecModal(about);
}

void TfrmMain::mnuMainCloseClick() { close(); }

bool TfrmMain::FormCloseQuery() {
  // The children free themselves as they close: close them from a list taken first.
  const QList<QMdiSubWindow*> children = MDIClient->subWindowList();
  for (QMdiSubWindow* child : children) {
    QPointer<QMdiSubWindow> guard(child);
    if (guard) guard->close();
  }
  try {
    WriteWorkbenchSettings(FSettingsFileName, WorkbenchSettings);
  } catch (...) {
    FDialogs.ShowException(std::current_exception());
  }
  return true;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  bool allowed = true;
  Guarded(FDialogs, [&] { allowed = FormCloseQuery(); })();
  if (allowed) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace workbench
