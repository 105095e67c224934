// A grid of text cells addressed as Cells(column, row), whose first
// FixedRows rows and FixedCols columns are headers: drawn in the button
// colour and never edited. Counts include the fixed rows and columns, so a
// matrix of r rows shown under one header row needs r + 1 rows.
//
// Tested by: analysis_ui/tests/MtxGridCopyTest.cpp
#pragma once

#include <string>

#include <QTableWidget>

namespace analysis_ui {

class TStringGrid : public QTableWidget {
 public:
  // 5 x 5 cells, one fixed row and one fixed column, not editable.
  explicit TStringGrid(QWidget* parent = nullptr);

  // properties
  int ColCount() const { return columnCount(); }
  void SetColCount(int value) { setColumnCount(value); }
  int RowCount() const { return rowCount(); }
  void SetRowCount(int value) { setRowCount(value); }
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int value);
  // The text of a cell (UTF-8); raises "Grid index out of range" outside the grid.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

 private:
  void CheckIndex(int col, int row) const;

  int FFixedCols = 1;
  int FFixedRows = 1;
};

}  // namespace analysis_ui
