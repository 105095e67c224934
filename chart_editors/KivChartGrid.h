// The value grid: a spreadsheet of the points of one series, or of every
// series of a chart, that edits them in place, and its navigator bar.
//
// Cells are addressed as the grid shows them: column 0 is the row numbers,
// rows 0 and 1 are the headers (series titles; list names), so the first
// point stands in row FixedRows. The columns after the numbers are the
// labels ("Text"), the point colours ("Colors") when shown, then for each
// series its X list (when shown) and its other value lists.
//
// A typed text is written into the series when the edit is confirmed (Enter,
// Tab, another cell, the navigator's Post); a text that does not read as the
// list's kind of value keeps the cell in editing with a message, and an
// edit confirmed unchanged or cancelled leaves the value exactly as it was.
//
// Every row is one height, so the grid places, scrolls and paints only the
// rows in view, whatever the number of points.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#pragma once

#include <QAbstractItemView>
#include <QPointer>

#include <functional>
#include <string>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"
#include "chart_editors/ChartGridModel.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/KivNavigator.h"

class QLineEdit;

namespace chart_editors {

class TChartGridHeader;
class TChartGridNavigator;
class TChartGridNumbers;

class TCustomChartGrid : public QAbstractItemView, public chart::IKivEventListener {
 public:
  explicit TCustomChartGrid(QWidget* parent = nullptr);
  ~TCustomChartGrid() override;
  TCustomChartGrid(const TCustomChartGrid&) = delete;
  TCustomChartGrid& operator=(const TCustomChartGrid&) = delete;

  static constexpr int FixedRows = 2;
  static constexpr int FixedCols = 1;

  // properties
  // The chart whose series the grid shows (clears Series).
  chart::TCustomAxisPanel* Chart() const { return FChart.Get(); }
  void SetChart(chart::TCustomAxisPanel* chart);
  // The one series the grid shows (clears Chart).
  chart::TChartSeries* Series() const { return FSeries.Get(); }
  void SetSeries(chart::TChartSeries* series);
  bool ShowColors() const { return FModel->ShowColors(); }
  void SetShowColors(bool v);
  bool ShowLabels() const { return FModel->ShowLabels(); }
  void SetShowLabels(bool v);
  TChartGridShow ShowXValues() const { return FModel->ShowXValues(); }
  void SetShowXValues(TChartGridShow v);
  // Whether cells may be edited at all (default true).
  bool EditingAllowed() const { return FEditingAllowed; }
  void SetEditingAllowed(bool v);
  // The current cell, in the grid's numbering.
  int Col() const;
  int Row() const;
  void SetCell(int col, int row);
  int ColCount() const { return FixedCols + FModel->columnCount(); }
  int RowCount() const { return FixedRows + FModel->rowCount(); }
  // Whether the in-place editor shows.
  bool Editing() const;
  // True while the editor was opened on a missing or null point.
  bool Inserting() const { return FInserting; }
  // The series of the chart or the one series, in the order shown.
  const std::vector<chart::TChartSeries*>& ShownSeries() const { return FModel->Shown(); }
  // Whether there are series to edit: the one series, or a chart with series.
  bool HasSeries() const { return !FModel->Shown().empty(); }
  TChartGridModel& Model() const { return *FModel; }
  // The column header (its sections are the columns after the numbers).
  TChartGridHeader* Header() const { return FHeader; }
  // The height of every row.
  int RowHeight() const { return FRowHeight; }
  // The first point in view.
  int TopPoint() const;

  // events
  // After a committed cell (grid column and row, the text).
  std::function<void(TCustomChartGrid& sender, int col, int row, const std::string& value)> OnSetEditText;
  // After a point's colour changed in the colour dialog.
  std::function<void(TCustomChartGrid& sender)> OnChangeColor;

  // operations
  // The text of any cell, headers and numbers included (data cells: as shown).
  std::string GetEditText(int col, int row) const;
  // Writes a cell's text into the series: a value, a label, or, for an empty
  // value text, a null point; points missing up to the row are added as null
  // points. Raises classlib::EConvertError for a text that does not read.
  void SetEditText(int col, int row, const std::string& value);
  // F2 and the navigator's Edit: opens the editor on the current cell.
  void StartEdit();
  // While the editor shows: confirms the text (or, with cancel, drops it) and closes it.
  void PostOrCancel(bool cancel);
  // Adds a null point to every series and makes the new last row current.
  void AppendRow();
  // Deletes the current row's point from every series that has it.
  void DeleteRow();
  // Lays the grid out again over the series as they are now.
  void Relayout();

  // The hooks the navigator installs: the editor opened or closed, a cell was made current.
  std::function<void()> OnStateChange;
  std::function<void(int row)> OnSelectCell;

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override;

  // QAbstractItemView
  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 protected:
  // QAbstractItemView
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void paintEvent(QPaintEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void commitData(QWidget* editor) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class TChartGridDelegate;
  friend class TChartGridNumbers;

  void SourceChanged();
  void Listen(chart::TCustomAxisPanel* chart);
  void ApplyLayout(const chart::TChartSeries* leaving = nullptr);
  void WriteCell(int column, int row, const std::string& value);
  // Reads text as column's kind of value; false with the reason when it does not read.
  bool TextReads(int column, const std::string& text, std::string& reason) const;
  void EditPointColor(int row);
  void PadSeries(chart::TChartSeries& series, int row);
  void StateChanged();
  bool OnLastRow() const;
  int CurrentColumn() const;
  // Rows that fit the viewport whole (at least one).
  int FullRows() const;
  int NumbersWidth() const;
  TChartGridNumbers* NewNumbers();
  void SelectColumn(int column);

  TChartGridModel* FModel;
  TChartGridHeader* FHeader;
  TChartGridNumbers* FNumbers;
  int FRowHeight = 16;
  bool FUpdatingGeometries = false;
  TComponentLink<chart::TCustomAxisPanel> FChart;
  TComponentLink<chart::TChartSeries> FSeries;
  TComponentLink<chart::TCustomAxisPanel> FListened;
  bool FEditingAllowed = true;
  bool FInserting = false;
  QString FSavedText;
  QString FRefusedText;
  QPointer<QLineEdit> FEditor;
  QPersistentModelIndex FEditIndex;
  bool FKeepEditing = false;
  bool FRefusedClose = false;
  bool FReporting = false;
};

class TChartGrid : public TCustomChartGrid {
 public:
  using TCustomChartGrid::TCustomChartGrid;
};

// The navigator of a value grid: all nine buttons, enabled as the grid's
// current row and editing state allow.
class TChartGridNavigator : public TCustomKivNavigator {
 public:
  explicit TChartGridNavigator(QWidget* parent = nullptr);
  ~TChartGridNavigator() override;

  // properties
  TCustomChartGrid* Grid() const { return FGrid; }
  void SetGrid(TCustomChartGrid* grid);

  // operations
  // Enables the buttons for the grid's row (in the grid's numbering).
  void EnableButtonsForRow(int row);

  // overrides
  void EnableButtons() override;
  void BtnClick(int index) override;

 private:
  QPointer<TCustomChartGrid> FGrid;
};

}  // namespace chart_editors
