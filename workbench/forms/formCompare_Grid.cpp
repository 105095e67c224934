// The comparison window's rows: their computation, the grid that lists them,
// its colour, parent and on/off editors, and adding and editing Source rows.
// Tested by: tests/CompareWindowTest.cpp
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QStyle>
#include <QTableWidget>

#include "analysis_ui/JovCombos.h"
#include "chart/series/FastLineSeries.h"
#include "platform/classlib/Cp1251.h"
#include "workbench/forms/FormMethodEdit.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formCompare.h"
#include "workbench/forms/formMain.h"

namespace workbench {

namespace {

constexpr int ColumnOnOff = 1;
constexpr int ColumnColor = 4;
constexpr int ColumnParent = 5;

const QColor EvenRowColour(0xFF, 0xFF, 0xFF);
const QColor OddRowColour(0xEB, 0xEB, 0xEB);
const QColor IterationLimitColour(255, 232, 160);

QString FromRecord(const std::string& text) { return QString::fromStdString(classlib::Cp1251ToUtf8(text)); }

}  // namespace

void TfrmCompare::CalculateFilterOutput(int r) {
  TRowPoints points;
  const TRowComputation done = workbench::CalculateFilterOutput(FWorkspace, FRows, r, FCandles, FWorkCoefficients, points);
  if (done == rcNone) return;
  EnsureRowSeries(r);
  if (done == rcDrawn) DrawRow(r, points);
}

void TfrmCompare::RecomputeRows(bool parentsFirst) {
  for (const int r : RecomputeOrder(FRows, parentsFirst)) CalculateFilterOutput(r);
}

void TfrmCompare::AddRow(TCompareFilterRecord row) {
  FRows.push_back(std::move(row));
  try {
    CalculateFilterOutput(static_cast<int>(FRows.size()) - 1);
  } catch (...) {
    // A row that cannot be designed is not kept half made.
    FRows.pop_back();
    RebuildFilterGrid();
    throw;
  }
  sgrGroup->setCurrentCell(0, 0);
  RebuildFilterGrid();
}

void TfrmCompare::RebuildFilterGrid() {
  HideEditors();
  const int n = static_cast<int>(FRows.size());
  const QSignalBlocker blocker(sgrGroup);
  for (QCheckBox* box : FCheckBoxes) box->deleteLater();
  FCheckBoxes.clear();
  for (int r = 0; r < sgrGroup->rowCount(); ++r) sgrGroup->removeCellWidget(r, ColumnOnOff);
  sgrGroup->clearContents();
  sgrGroup->setRowCount(std::max(n, 1));
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  const QString limitHint = QString::fromUtf8(msgIterationLimit).replace("\n\r", "\n");
  for (int r = 0; r < n; ++r) {
    const std::vector<std::string> cells = CompareGridRow(FRows, r);
    const bool limit = FRows[static_cast<std::size_t>(r)].Kind == rkSource && FRows[static_cast<std::size_t>(r)].IterationLimit;
    for (int c = 0; c < 7; ++c) {
      auto* item = new QTableWidgetItem(c == ColumnOnOff ? QString() : FromRecord(cells[static_cast<std::size_t>(c)]));
      item->setBackground(limit ? IterationLimitColour : (r % 2 == 0 ? OddRowColour : EvenRowColour));
      if (limit) {
        item->setToolTip(limitHint);
        if (c == 0) item->setIcon(warning);
      }
      sgrGroup->setItem(r, c, item);
    }
    auto* holder = new QWidget(sgrGroup);
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    auto* box = new QCheckBox(holder);
    box->setObjectName("chkOnOff" + QString::number(r));
    box->setChecked(FRows[static_cast<std::size_t>(r)].On != 0);
    layout->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this, r](bool on) { Guarded(FDialogs, [this, r, on] { chkOnOffClick(r, on); })(); });
    sgrGroup->setCellWidget(r, ColumnOnOff, holder);
    FCheckBoxes.push_back(box);
  }
  sgrGroup->setColumnWidth(ColumnOnOff, std::max(sgrGroup->columnWidth(ColumnOnOff), 24));
  actBeginCompare->setEnabled(HasSearchReference(FRows) && FCandles.LastIndex >= 101);
  actFilterDelete->setEnabled(CanDeleteCompareRow(FRows, FSelectedRow - 1));
}

void TfrmCompare::HideEditors() {
  cbxColor->hide();
  cbxParent->hide();
}

void TfrmCompare::sgrGroupSelectCell(int row, int column) {
  FSelectedRow = row;
  FSelectedColumn = column;
  const int r = row - 1;
  if (r < 0 || r >= static_cast<int>(FRows.size())) {
    HideEditors();
    return;
  }
  const bool source = FRows[static_cast<std::size_t>(r)].Kind == rkSource;
  actFilterEdit->setEnabled(source);
  actFilterDelete->setEnabled(CanDeleteCompareRow(FRows, r));
  if (FMain.ActiveChild() == this) FMain.actFileSave->setEnabled(source);
  const QRect cell = sgrGroup->visualRect(sgrGroup->model()->index(r, column)).adjusted(1, 1, -1, -1);
  if (column == ColumnColor) {
    cbxColor->setGeometry(cell);
    {
      const QSignalBlocker blocker(cbxColor);
      cbxColor->SetItemIndex(std::clamp(FRows[static_cast<std::size_t>(r)].ColorIndex, 0, cbxColor->count() - 1));
    }
    cbxColor->show();
    cbxColor->raise();
  } else {
    cbxColor->hide();
  }
  if (column == ColumnParent) {
    cbxParent->clear();
    FParentMap.clear();
    int current = 0;
    for (const auto& [parent, name] : ParentChoices(FRows, r)) {
      if (parent == FRows[static_cast<std::size_t>(r)].Parent) current = static_cast<int>(FParentMap.size());
      FParentMap.push_back(parent);
      cbxParent->addItem(FromRecord(name));
    }
    cbxParent->setCurrentIndex(current);
    cbxParent->setGeometry(cell);
    cbxParent->show();
    cbxParent->raise();
  } else {
    cbxParent->hide();
  }
}

void TfrmCompare::cbxColorChange() {
  const int r = FSelectedRow - 1;
  if (r < 0 || r >= static_cast<int>(FRows.size()) || cbxColor->ItemIndex() < 0) return;
  TCompareFilterRecord& row = FRows[static_cast<std::size_t>(r)];
  row.ColorIndex = cbxColor->ItemIndex();
  if (chart::TFastLineSeries* series = RowSeries(r)) series->SetSeriesColor(ColorIndexToColor(row.ColorIndex));
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnColor)) item->setText(cbxColor->currentText());
  cbxColor->hide();
  sgrGroup->setFocus();
  sgrGroup->viewport()->update();
}

void TfrmCompare::cbxColorExit() {
  const int r = FSelectedRow - 1;
  if (!cbxColor->isVisible() || r < 0 || r >= static_cast<int>(FRows.size()) || cbxColor->ItemIndex() < 0) return;
  FRows[static_cast<std::size_t>(r)].ColorIndex = cbxColor->ItemIndex();
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnColor)) item->setText(cbxColor->currentText());
  cbxColor->hide();
}

void TfrmCompare::cbxParentChange() {
  const int r = FSelectedRow - 1;
  const int choice = cbxParent->currentIndex();
  if (r < 0 || r >= static_cast<int>(FRows.size()) || choice < 0 || choice >= static_cast<int>(FParentMap.size())) return;
  FRows[static_cast<std::size_t>(r)].Parent = FParentMap[static_cast<std::size_t>(choice)];
  cbxParent->hide();
  CalculateFilterOutput(r);
  const std::vector<std::string> cells = CompareGridRow(FRows, r);
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnParent)) item->setText(FromRecord(cells[ColumnParent]));
  sgrGroup->setFocus();
}

void TfrmCompare::chkOnOffClick(int r, bool on) {
  if (r < 0 || r >= static_cast<int>(FRows.size())) return;
  FRows[static_cast<std::size_t>(r)].On = on ? 1 : 0;
  if (chart::TFastLineSeries* series = RowSeries(r)) series->SetActive(on);
}

void TfrmCompare::sgrGroupDblClick(int row) {
  const int r = row - 1;
  if (r < 0 || r >= static_cast<int>(FRows.size())) return;
  if (FRows[static_cast<std::size_t>(r)].Kind == rkSource) {
    actFilterEditExecute();
  } else {
    actBeginCompareExecute();
  }
}

void TfrmCompare::actFilterAddExecute() {
  TfrmMethodEdit dialog(FDialogs, FWorkspace, this);
  dialog.setWindowTitle("Внесение нового фильтра в таблицу сравнений");
  dialog.SetRecordIndex(-1);
  dialog.SetFilterName("filter" + std::to_string(FRows.size() + 1));
  FDialogs.ExecModal(dialog);
  if (dialog.Cancelled()) {
    RebuildFilterGrid();
    return;
  }
  AddRow(NewSourceRow(dialog.EditedFilter()));
}

void TfrmCompare::actFilterDeleteExecute() {
  const int r = FSelectedRow - 1;
  if (!CanDeleteCompareRow(FRows, r)) return;
  if (r < static_cast<int>(FRowSeries.size())) {
    delete FRowSeries[static_cast<std::size_t>(r)];
    FRowSeries.erase(FRowSeries.begin() + r);
  }
  for (const int orphan : DeleteCompareRow(FRows, r)) CalculateFilterOutput(orphan);
  // The row that took its place is the selected one, or the last row.
  const int selected = std::min(r, static_cast<int>(FRows.size()) - 1);
  FSelectedRow = selected + 1;
  RebuildFilterGrid();
  sgrGroup->setCurrentCell(selected, 0);
  RescaleTimeChart();
}

void TfrmCompare::actFilterEditExecute() {
  const int r = std::max(FSelectedRow, 1) - 1;
  if (r >= static_cast<int>(FRows.size()) || FRows[static_cast<std::size_t>(r)].Kind != rkSource) return;
  TfrmMethodEdit dialog(FDialogs, FWorkspace, this);
  dialog.setWindowTitle("Редактирование параметров фильтра");
  dialog.SetRecordIndex(r);
  dialog.LoadRecord(FRows[static_cast<std::size_t>(r)].Filter);
  FDialogs.ExecModal(dialog);
  if (!dialog.Cancelled()) {
    TCompareFilterRecord& row = FRows[static_cast<std::size_t>(r)];
    const TCompareFilterRecord before = row;
    row.Filter = dialog.EditedFilter();
    row.ParamText = FilterDescription(row.Filter);
    try {
      CalculateFilterOutput(r);
    } catch (...) {
      FRows[static_cast<std::size_t>(r)] = before;
      RebuildFilterGrid();
      throw;
    }
  }
  RebuildFilterGrid();
  sgrGroup->setCurrentCell(r, 0);
}

}  // namespace workbench
