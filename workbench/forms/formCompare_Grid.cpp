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
  const TRowComputation done = FTable->Compute(r, points);
  ShowRow(r, done, points);
}

void TfrmCompare::ShowRow(int r, TRowComputation done, const TRowPoints& points) {
  if (done == rcNone) return;
  EnsureRowSeries(r);
  if (done == rcDrawn) DrawRow(r, points);
}

void TfrmCompare::RecomputeRows(bool parentsFirst) {
  for (const int r : FTable->RecomputeOrder(parentsFirst)) CalculateFilterOutput(r);
}

void TfrmCompare::AddRow(TCompareFilterRecord row) {
  TRowPoints points;
  TRowComputation done = rcNone;
  try {
    done = FTable->Add(std::move(row), points);
  } catch (...) {
    RebuildFilterGrid();
    throw;
  }
  ShowRow(FTable->Count() - 1, done, points);
  sgrGroup->setCurrentCell(0, 0);
  RebuildFilterGrid();
}

void TfrmCompare::RebuildFilterGrid() {
  HideEditors();
  const int n = FTable->Count();
  const QSignalBlocker blocker(sgrGroup);
  for (QCheckBox* box : FCheckBoxes) box->deleteLater();
  FCheckBoxes.clear();
  for (int r = 0; r < sgrGroup->rowCount(); ++r) sgrGroup->removeCellWidget(r, ColumnOnOff);
  sgrGroup->clearContents();
  sgrGroup->setRowCount(std::max(n, 1));
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  const QString limitHint = QString::fromUtf8(msgIterationLimit).replace("\n\r", "\n");
  for (int r = 0; r < n; ++r) {
    const std::vector<std::string> cells = FTable->GridRow(r);
    const bool limit = FTable->IsSource(r) && FTable->Row(r).IterationLimit;
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
    box->setChecked(FTable->Row(r).On != 0);
    layout->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this, r](bool on) { Guarded(FDialogs, [this, r, on] { chkOnOffClick(r, on); })(); });
    sgrGroup->setCellWidget(r, ColumnOnOff, holder);
    FCheckBoxes.push_back(box);
  }
  sgrGroup->setColumnWidth(ColumnOnOff, std::max(sgrGroup->columnWidth(ColumnOnOff), 24));
  actBeginCompare->setEnabled(FTable->CanSearch());
  actFilterDelete->setEnabled(FTable->CanDelete(FSelectedRow - 1));
}

void TfrmCompare::HideEditors() {
  cbxColor->hide();
  cbxParent->hide();
}

void TfrmCompare::sgrGroupSelectCell(int row, int column) {
  FSelectedRow = row;
  FSelectedColumn = column;
  const int r = row - 1;
  if (!FTable->Contains(r)) {
    HideEditors();
    return;
  }
  const TCompareFilterRecord& selected = FTable->Row(r);
  const bool source = FTable->IsSource(r);
  actFilterEdit->setEnabled(source);
  actFilterDelete->setEnabled(FTable->CanDelete(r));
  if (FMain.IsActiveChild(*this)) FMain.EnableCommand(mcFileSave, source);
  const QRect cell = sgrGroup->visualRect(sgrGroup->model()->index(r, column)).adjusted(1, 1, -1, -1);
  if (column == ColumnColor) {
    cbxColor->setGeometry(cell);
    {
      const QSignalBlocker blocker(cbxColor);
      cbxColor->SetItemIndex(std::clamp(selected.ColorIndex, 0, cbxColor->count() - 1));
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
    for (const auto& [parent, name] : FTable->ParentChoices(r)) {
      if (parent == selected.Parent) current = static_cast<int>(FParentMap.size());
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
  if (cbxColor->ItemIndex() < 0 || !FTable->SetColorIndex(r, cbxColor->ItemIndex())) return;
  if (chart::TFastLineSeries* series = RowSeries(r)) series->SetSeriesColor(ColorIndexToColor(FTable->Row(r).ColorIndex));
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnColor)) item->setText(cbxColor->currentText());
  cbxColor->hide();
  sgrGroup->setFocus();
  sgrGroup->viewport()->update();
}

void TfrmCompare::cbxColorExit() {
  const int r = FSelectedRow - 1;
  if (!cbxColor->isVisible() || cbxColor->ItemIndex() < 0 || !FTable->SetColorIndex(r, cbxColor->ItemIndex())) return;
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnColor)) item->setText(cbxColor->currentText());
  cbxColor->hide();
}

void TfrmCompare::cbxParentChange() {
  const int r = FSelectedRow - 1;
  const int choice = cbxParent->currentIndex();
  if (choice < 0 || choice >= static_cast<int>(FParentMap.size()) ||
      !FTable->SetParent(r, FParentMap[static_cast<std::size_t>(choice)]))
    return;
  cbxParent->hide();
  CalculateFilterOutput(r);
  const std::vector<std::string> cells = FTable->GridRow(r);
  if (QTableWidgetItem* item = sgrGroup->item(r, ColumnParent)) item->setText(FromRecord(cells[ColumnParent]));
  sgrGroup->setFocus();
}

void TfrmCompare::chkOnOffClick(int r, bool on) {
  if (!FTable->SetOn(r, on)) return;
  if (chart::TFastLineSeries* series = RowSeries(r)) series->SetActive(on);
}

void TfrmCompare::sgrGroupDblClick(int row) {
  const int r = row - 1;
  if (!FTable->Contains(r)) return;
  if (FTable->IsSource(r)) {
    actFilterEditExecute();
  } else {
    actBeginCompareExecute();
  }
}

void TfrmCompare::actFilterAddExecute() {
  TfrmMethodEdit dialog(FDialogs, FTable->Workspace(), this);
  dialog.setWindowTitle("Внесение нового фильтра в таблицу сравнений");
  dialog.SetRecordIndex(-1);
  dialog.SetFilterName("filter" + std::to_string(FTable->Count() + 1));
  FDialogs.ExecModal(dialog);
  if (dialog.Cancelled()) {
    RebuildFilterGrid();
    return;
  }
  AddRow(NewSourceRow(dialog.EditedFilter()));
}

void TfrmCompare::actFilterDeleteExecute() {
  const int r = FSelectedRow - 1;
  if (!FTable->CanDelete(r)) return;
  if (r < static_cast<int>(FRowSeries.size())) {
    delete FRowSeries[static_cast<std::size_t>(r)];
    FRowSeries.erase(FRowSeries.begin() + r);
  }
  for (const int orphan : FTable->Delete(r)) CalculateFilterOutput(orphan);
  // The row that took its place is the selected one, or the last row.
  const int selected = std::min(r, FTable->Count() - 1);
  FSelectedRow = selected + 1;
  RebuildFilterGrid();
  sgrGroup->setCurrentCell(selected, 0);
  RescaleTimeChart();
}

void TfrmCompare::actFilterEditExecute() {
  const int r = std::max(FSelectedRow, 1) - 1;
  if (!FTable->IsSource(r)) return;
  TfrmMethodEdit dialog(FDialogs, FTable->Workspace(), this);
  dialog.setWindowTitle("Редактирование параметров фильтра");
  dialog.SetRecordIndex(r);
  dialog.LoadRecord(FTable->Row(r).Filter);
  FDialogs.ExecModal(dialog);
  if (!dialog.Cancelled()) {
    TRowPoints points;
    TRowComputation done = rcNone;
    try {
      done = FTable->ReplaceFilter(r, dialog.EditedFilter(), points);
    } catch (...) {
      RebuildFilterGrid();
      throw;
    }
    ShowRow(r, done, points);
  }
  RebuildFilterGrid();
  sgrGroup->setCurrentCell(r, 0);
}

}  // namespace workbench
