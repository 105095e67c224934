// The workbench's main window: the multiple-document frame with its menu,
// toolbar and commands, which opens the child windows (one of each), sends
// its commands to the active child, and reads the settings file when it is
// created and writes it when it closes.
#pragma once

#include <memory>
#include <string>

#include <QMainWindow>

#include "workbench/forms/MainCommands.h"
#include "workbench/forms/UserDialogs.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace workbench {

class TfrmCmpBruteForce;
class TfrmCompare;
class TfrmMethods;
class TfrmRemez;
class TfrmSpectrum;

class TfrmMain : public QMainWindow, public IMainCommands {
 public:
  // The settings are read from and written to settingsFileName.
  TfrmMain(TUserDialogs& dialogs, std::string settingsFileName, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // properties
  TUserDialogs& Dialogs() const override { return FDialogs; }
  const std::string& SettingsFileName() const { return FSettingsFileName; }

  // controls
  QMdiArea* MDIClient = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QAction* actFormRemez = nullptr;
  QAction* actFormMethods = nullptr;
  QAction* actFormCompare = nullptr;
  QAction* actFormSpectrum = nullptr;
  QAction* actFileOpen = nullptr;
  QAction* actFileSave = nullptr;
  QAction* actFormCopy = nullptr;
  QAction* actZoomIn = nullptr;
  QAction* actZoomOut = nullptr;
  QAction* actRefresh = nullptr;
  QAction* actSpectrumParameters = nullptr;
  QAction* mnuMainClose = nullptr;
  QAction* mnuMainAbout = nullptr;

  // events
  void FormCreate();
  void FormShow();
  // Closes every child, writes the settings file; closing is always allowed.
  bool FormCloseQuery();
  void mnuMainAboutClick();
  void mnuMainCloseClick();
  void actFormRemezExecute();
  void actFormMethodsExecute();
  void actFormCompareExecute();
  void actFormSpectrumExecute();
  void actFileOpenExecute();
  void actFileSaveExecute();
  void actFormCopyExecute();
  void actZoomInExecute();
  void actZoomOutExecute();
  void actRefreshExecute();
  void actSpectrumParametersExecute();

  // operations
  // What the program makes before the main window shows: the search dialog
  // (hidden), then the spectrum window, which lives until the program ends.
  void CreateStartWindows();
  // The child window whose component name is `name` in lower case, or none.
  QMdiSubWindow* FindChildWindow(const QString& name) const;
  // The active child window, or none.
  QMdiSubWindow* ActiveChild() const;
  // The comparison window, opened (or brought to the front) first.
  TfrmCompare& OpenCompareWindow();

  // what the children ask of the main window
  void AddChild(QMdiSubWindow& child) override;
  bool IsActiveChild(const QMdiSubWindow& child) const override;
  bool HasChild(const QMdiSubWindow& child) const override;
  void EnableCommand(TMainCommand command, bool enabled) override;
  void CompareFilter(const TFilterRecord& filter, const QString& fileLabel, bool labelShown) override;
  TfrmCmpBruteForce& SearchDialog() override;

 protected:
  // overrides
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenusAndToolbar();
  // Brings an existing child to the front; false when there is none.
  bool ActivateChild(const QString& name);
  QAction* Command(TMainCommand command) const;
  TfrmRemez* ActiveGenerator() const;
  TfrmMethods* ActiveMethods() const;
  TfrmCompare* ActiveCompare() const;
  TfrmSpectrum* ActiveSpectrum() const;

  TUserDialogs& FDialogs;
  std::string FSettingsFileName;
  std::unique_ptr<TfrmCmpBruteForce> FSearchDialog;
  bool FShown = false;
};

// The caption of the main window: its caption and " [v. <version>]".
QString MainWindowCaption(const QString& caption);

}  // namespace workbench
