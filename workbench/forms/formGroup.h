// The methods window: a method (a set of filters with indicator code before
// and after them) listed in a grid, its filters added, edited and deleted
// through the filter-parameter dialog, designed together, saved and opened
// as a method file and written as one MQL text.
#pragma once

#include <string>
#include <vector>

#include <QMdiSubWindow>

#include "workbench/forms/MainCommands.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/MethodFile.h"
#include "workbench/logic/MethodRows.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QSplitter;
class QTableWidget;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

using TUserDialogs = ui::TUserDialogs;

class TfrmMethods : public QMdiSubWindow {
 public:
  // Opens the window, with an empty method, as a child of the main window.
  explicit TfrmMethods(IMainCommands& owner);
  ~TfrmMethods() override;

  // controls
  QTableWidget* sgrGroup = nullptr;
  QPlainTextEdit* memoBefore = nullptr;
  QPlainTextEdit* memoAfter = nullptr;
  QProgressBar* pbMethods = nullptr;
  QLabel* lbProgress = nullptr;
  QWidget* pnGroup1 = nullptr;
  QWidget* pnGroup2 = nullptr;
  QWidget* pnGroup2Left = nullptr;
  QWidget* pnGroup3 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QAction* actAdd = nullptr;
  QAction* actEdit = nullptr;
  QAction* actDelete = nullptr;
  QAction* actCalculate = nullptr;
  QAction* actSave = nullptr;
  QAction* actOpen = nullptr;

  // properties
  // The method as the window holds it, its code texts as the memos show them
  // (single-byte text, as the method file stores it).
  TMethod Method() const;
  const std::vector<TFilterRecord>& MethodFilters() const { return FFilters; }
  // Every filter designed since the last change of the method.
  bool Calculated() const { return FCalculated; }
  const TMethodDesign& Design() const { return FDesign; }
  // The grid row last selected (counted from 1).
  int SelectedRow() const { return FSelectedRow; }

  // events
  void FormCreate();
  void FormResize();
  void RefreshGrid();
  void sgrGroupSelectCell(int row, int column);
  void sgrGroupDblClick();
  void actAddExecute();
  void actEditExecute();
  void actDeleteExecute();
  void actCalculateExecute();
  void actSaveExecute();
  void actOpenExecute();

  // operations
  // Opens a method file as the open command does after its dialog.
  void OpenMethodFile(const std::string& fileName);

 protected:
  // overrides
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void MethodChanged();
  void SelectRow(int row);

  IMainCommands& FMain;
  TUserDialogs& FDialogs;
  TDesignWorkspace FWorkspace;
  std::vector<TFilterRecord> FFilters;
  TMethodDesign FDesign;
  bool FCalculated = false;
  int FSelectedRow = 1;
  int FSelectedColumn = 0;
};

}  // namespace workbench
