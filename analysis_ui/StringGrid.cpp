// The string grid.
//
// Tested by: analysis_ui/tests/MtxGridCopyTest.cpp
#include "analysis_ui/StringGrid.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include "platform/classlib/Exception.h"

namespace analysis_ui {

namespace {

// Paints the fixed cells as headers and keeps the editor out of them.
class TFixedCellDelegate : public QStyledItemDelegate {
 public:
  explicit TFixedCellDelegate(TStringGrid& grid) : QStyledItemDelegate(&grid), FGrid(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return Fixed(index) ? nullptr : QStyledItemDelegate::createEditor(parent, option, index);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (Fixed(index)) option->backgroundBrush = FGrid.palette().button();
  }

 private:
  bool Fixed(const QModelIndex& index) const {
    return index.row() < FGrid.FixedRows() || index.column() < FGrid.FixedCols();
  }

  TStringGrid& FGrid;
};

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(5, 5, parent) {
  // The headers are cells of the grid itself.
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setDefaultSectionSize(64);
  verticalHeader()->setDefaultSectionSize(24);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setItemDelegate(new TFixedCellDelegate(*this));
}

void TStringGrid::SetFixedCols(int value) {
  FFixedCols = value < 0 ? 0 : value;
  viewport()->update();
}

void TStringGrid::SetFixedRows(int value) {
  FFixedRows = value < 0 ? 0 : value;
  viewport()->update();
}

void TStringGrid::CheckIndex(int col, int row) const {
  if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount())
    throw classlib::Exception("Grid index out of range");
}

std::string TStringGrid::Cells(int col, int row) const {
  CheckIndex(col, row);
  const QTableWidgetItem* cell = item(row, col);
  return cell != nullptr ? cell->text().toStdString() : std::string();
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  CheckIndex(col, row);
  if (QTableWidgetItem* cell = item(row, col)) {
    cell->setText(QString::fromStdString(text));
    return;
  }
  setItem(row, col, new QTableWidgetItem(QString::fromStdString(text)));
}

}  // namespace analysis_ui
