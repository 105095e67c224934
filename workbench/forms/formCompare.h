// The comparison window: filters compared over the same candles. Its grid
// lists the rows of its comparison table (designed filters, coefficient sets
// read from MQL text, indicator values of an expert sampling file), each drawn
// as a line over the candles on the candles' scale; it reads history, expert
// sampling and MQL files, writes a Source row as MQL text and opens the
// search over the table.
//
// Sources by concern: formCompare.cpp (controls, layout, events),
// formCompare_Grid.cpp (rows and their grid editors), formCompare_Chart.cpp
// (candles, zoom, dragging, row lines), formCompare_Files.cpp (files).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QMdiSubWindow>

#include "workbench/forms/MainCommands.h"
#include "workbench/logic/CompareTable.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace analysis_ui {
class TColorComboBox;
}
namespace chart {
class TCandleSeries;
class TChart;
class TFastLineSeries;
class TKivPanelWidget;
class TMarksTipTool;
}  // namespace chart

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

using TUserDialogs = ui::TUserDialogs;

class TfrmCompare : public QMdiSubWindow {
 public:
  // Opens the window as a child of the main window, on the loaded history or
  // on synthetic candles.
  explicit TfrmCompare(IMainCommands& owner);
  ~TfrmCompare() override;

  // controls
  QTableWidget* sgrGroup = nullptr;
  analysis_ui::TColorComboBox* cbxColor = nullptr;
  QComboBox* cbxParent = nullptr;
  QLabel* HSTLabel = nullptr;
  chart::TKivPanelWidget* TimeChart = nullptr;
  chart::TCandleSeries* Series1 = nullptr;
  chart::TMarksTipTool* ChartTool1 = nullptr;
  QAction* actFileOpen = nullptr;
  QAction* actFileSave = nullptr;
  QAction* actChartZoomIn = nullptr;
  QAction* actChartZoomOut = nullptr;
  QAction* actChartRefresh = nullptr;
  QAction* actFilterAdd = nullptr;
  QAction* actFilterEdit = nullptr;
  QAction* actFilterDelete = nullptr;
  QAction* actBeginCompare = nullptr;

  // properties
  // The rows, their candles and the design state of the Source rows.
  const TCompareTable& Table() const { return *FTable; }
  // The chart the window draws in.
  chart::TChart& Chart() const { return *FChart; }
  // The line of row r, or none.
  chart::TFastLineSeries* RowSeries(int r) const;
  // The grid row last pointed at (counted from 1).
  int SelectedRow() const { return FSelectedRow; }

  // events
  void FormCreate();
  void FormShow();
  void FormClose();
  void actFileOpenExecute();
  void actFileSaveExecute();
  void actChartZoomInExecute();
  void actChartZoomOutExecute();
  void actChartRefreshExecute();
  void actFilterAddExecute();
  void actFilterEditExecute();
  // Removes the selected row; the first row stays.
  void actFilterDeleteExecute();
  void actBeginCompareExecute();
  void sgrGroupSelectCell(int row, int column);
  void sgrGroupDblClick(int row);
  void cbxColorChange();
  void cbxColorExit();
  void cbxParentChange();
  void chkOnOffClick(int r, bool on);
  void TimeChartMouseDown(int x);
  void TimeChartMouseMove(int x);
  void TimeChartMouseUp();

  // operations
  void CalculateFilterOutput(int r);
  void RebuildFilterGrid();
  void GenerateSyntheticBars();
  void RescaleTimeChart();
  void ApplyChartZoom();
  int VisibleBarCount() const;
  // Appends a row, computes it, selects grid row 1 and rebuilds the grid.
  void AddRow(TCompareFilterRecord row);
  // Opens a file as the open command does after its dialog.
  void OpenFile(const std::string& fileName);
  // Shows or hides the name of the file the candles came from.
  void SetFileLabel(const QString& text, bool visible);

 protected:
  // overrides
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  QWidget* CreateGridPanel();
  QWidget* CreateChartPanel();
  void ConnectEvents();

  // candles and lines
  void FillCandles();
  // The line of row r as its computation left it.
  void ShowRow(int r, TRowComputation done, const TRowPoints& points);
  void DrawRow(int r, const TRowPoints& points);
  void RecomputeRows(bool parentsFirst);
  chart::TFastLineSeries* EnsureRowSeries(int r);
  void HideEditors();
  void PlaceCheckBoxes();

  // files
  void OpenHistory(const std::string& fileName);
  void OpenExpertSampling(const std::string& fileName);
  void ImportCoefficients(const std::string& fileName);

  IMainCommands& FMain;
  TUserDialogs& FDialogs;
  std::unique_ptr<chart::TChart> FChart;
  // Shared with the search dialog, which reads it while this window lives.
  std::shared_ptr<TCompareTable> FTable = std::make_shared<TCompareTable>();
  std::vector<chart::TFastLineSeries*> FRowSeries;
  std::vector<QCheckBox*> FCheckBoxes;
  std::vector<int> FParentMap;
  int FSelectedRow = 1;
  int FSelectedColumn = 0;
  bool FDragging = false;
  int FDragX = 0;
  bool FClosed = false;
};

}  // namespace workbench
