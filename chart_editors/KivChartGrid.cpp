// The value grid: layout over the series, editing, keys and the colour column.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#include "chart_editors/KivChartGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ChartGridHeaders.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

// The in-place editor and the colour column's cells.
class TChartGridDelegate : public QStyledItemDelegate {
 public:
  explicit TChartGridDelegate(TCustomChartGrid& grid) : QStyledItemDelegate(&grid), FGrid(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setAlignment(FGrid.FModel->Column(index.column()).Kind == gcValues ? Qt::AlignRight : Qt::AlignLeft);
    FGrid.FEditor = editor;
    FGrid.FRefusedText.clear();
    QObject::connect(editor, &QLineEdit::textChanged, editor, [this] { FGrid.FRefusedText.clear(); });
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = static_cast<QLineEdit*>(editor);
    line->setText(FGrid.FInserting ? QString() : index.data(Qt::EditRole).toString());
    line->selectAll();
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (FGrid.FModel->Column(index.column()).Kind != gcColors) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    // The point's colour fills its cell, selected or not; a null point shows the grid's own.
    const QVariant color = index.data(Qt::BackgroundRole);
    painter->fillRect(option.rect, color.isValid() ? color.value<QBrush>() : option.palette.base());
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
      painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    }
  }

 private:
  TCustomChartGrid& FGrid;
};

namespace {

constexpr QAbstractItemView::EditTriggers GridEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

constexpr int DefaultColWidth = 64;

// The smallest row that shows its text whole.
int RowHeightFor(const QFontMetrics& metrics) { return std::max(16, metrics.height() + 4); }

}  // namespace

TCustomChartGrid::TCustomChartGrid(QWidget* parent)
    : QAbstractItemView(parent),
      FModel(new TChartGridModel(this)),
      FChart([this](chart::TCustomAxisPanel* gone) {
        if (FListened.Get() == gone) FListened.Set(nullptr);
        SourceChanged();
      }),
      FSeries([this](chart::TChartSeries*) { SourceChanged(); }) {
  FHeader = new TChartGridHeader(*FModel, this);
  FNumbers = NewNumbers();
  setModel(FModel);
  FHeader->setModel(FModel);
  setItemDelegate(new TChartGridDelegate(*this));
  FModel->OnSetData = [this](int column, int row, const std::string& text) {
    SetEditText(column + FixedCols, row + FixedRows, text);
  };
  FRowHeight = RowHeightFor(fontMetrics());
  FHeader->setDefaultSectionSize(DefaultColWidth);
  FHeader->SetNamesHeight(FRowHeight);
  connect(FHeader, &QHeaderView::sectionResized, this, [this] {
    updateGeometries();
    viewport()->update();
  });
  connect(FHeader, &QHeaderView::sectionPressed, this, [this](int column) { SelectColumn(column); });
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(GridEditTriggers);
  setTabKeyNavigation(true);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  ApplyLayout();
}

TCustomChartGrid::~TCustomChartGrid() {
  OnStateChange = nullptr;
  OnSelectCell = nullptr;
  Listen(nullptr);
}

// --- source and layout ------------------------------------------------------

void TCustomChartGrid::SetChart(chart::TCustomAxisPanel* chart) {
  FSeries.Set(nullptr);
  FChart.Set(chart);
  SourceChanged();
  SetCell(std::min(ColCount() - 1, 1), FixedRows);
}

void TCustomChartGrid::SetSeries(chart::TChartSeries* series) {
  FChart.Set(nullptr);
  FSeries.Set(series);
  SourceChanged();
  SetCell(std::min(ColCount() - 1, 1), FixedRows);
}

void TCustomChartGrid::SourceChanged() {
  Listen(FChart ? FChart.Get() : FSeries ? FSeries->ParentChart() : nullptr);
  ApplyLayout();
}

void TCustomChartGrid::Listen(chart::TCustomAxisPanel* chart) {
  if (FListened.Get() == chart) return;
  if (FListened) FListened->RemoveListener(this);
  FListened.Set(chart);
  if (chart != nullptr) chart->AddListener(this);
}

void TCustomChartGrid::SetShowColors(bool v) {
  if (v == ShowColors()) return;
  FModel->SetShow(ShowLabels(), v, ShowXValues());
  ApplyLayout();
}

void TCustomChartGrid::SetShowLabels(bool v) {
  if (v == ShowLabels()) return;
  FModel->SetShow(v, ShowColors(), ShowXValues());
  ApplyLayout();
}

void TCustomChartGrid::SetShowXValues(TChartGridShow v) {
  FModel->SetShow(ShowLabels(), ShowColors(), v);
  ApplyLayout();
}

void TCustomChartGrid::SetEditingAllowed(bool v) {
  FEditingAllowed = v;
  setEditTriggers(v ? GridEditTriggers : QAbstractItemView::NoEditTriggers);
  StateChanged();
}

void TCustomChartGrid::Relayout() { ApplyLayout(); }

void TCustomChartGrid::ApplyLayout(const chart::TChartSeries* leaving) {
  const int col = Col(), row = Row();
  FModel->SetSource(FChart.Get(), FSeries.Get());
  if (FModel->Relayout(leaving)) {
    // New columns take their widths afresh: a date and time is wider than a number.
    const int dateWidth = fontMetrics().horizontalAdvance(QString::fromStdString(classlib::DateTimeToStr(45000.5))) + 10;
    for (int c = 0; c < FModel->columnCount(); ++c) {
      const TGridColumn& column = FModel->Column(c);
      int width = DefaultColWidth;
      if (column.Kind == gcColors && FModel->columnCount() > 1) width = 40;
      if (column.Kind == gcValues && column.List->DateTime()) width = std::max(DefaultColWidth, dateWidth);
      FHeader->resizeSection(c, width);
    }
  }
  updateGeometries();
  if (!currentIndex().isValid()) SetCell(std::max(col, FixedCols), row);
  viewport()->update();
  FHeader->viewport()->update();
  StateChanged();
}

void TCustomChartGrid::KivEvent(chart::TKivEvent& event) {
  auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event);
  if (e == nullptr) return;
  ui::RunGuarded([&] {
    switch (e->Event) {
      case chart::seChangeTitle:
      case chart::seChangeColor:
        viewport()->update();
        FHeader->viewport()->update();
        return;
      case chart::seRemove:
        // The series leaves the chart: the one series shown stays, but its chart is no longer ours to hear.
        if (e->Series != nullptr && e->Series == FSeries.Get()) {
          Listen(nullptr);
          ApplyLayout();
        } else {
          ApplyLayout(e->Series);
        }
        return;
      default:
        ApplyLayout();
    }
  });
}

// --- cells ------------------------------------------------------------------

int TCustomChartGrid::CurrentColumn() const { return currentIndex().isValid() ? currentIndex().column() : -1; }

int TCustomChartGrid::Col() const { return currentIndex().isValid() ? currentIndex().column() + FixedCols : 0; }

int TCustomChartGrid::Row() const { return currentIndex().isValid() ? currentIndex().row() + FixedRows : FixedRows; }

void TCustomChartGrid::SetCell(int col, int row) {
  if (FModel->columnCount() == 0) return;
  const int c = std::clamp(col - FixedCols, 0, FModel->columnCount() - 1);
  const int r = std::clamp(row - FixedRows, 0, FModel->rowCount() - 1);
  setCurrentIndex(FModel->index(r, c));
}

bool TCustomChartGrid::Editing() const { return state() == EditingState && !FEditor.isNull(); }

bool TCustomChartGrid::OnLastRow() const { return Row() == RowCount() - 1; }

std::string TCustomChartGrid::GetEditText(int col, int row) const {
  if (col == 0) return row == 1 ? "#" : row >= FixedRows ? std::to_string(row - FixedRows) : "";
  if (row == 1) return FModel->headerData(col - FixedCols, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
  if (row == 0) {
    const int column = col - FixedCols;
    if (column < 0 || column >= FModel->columnCount() || FModel->Column(column).Kind != gcValues) return "";
    return chart::SeriesTitleOrName(*FModel->Column(column).Series);
  }
  return FModel->CellText(col - FixedCols, row - FixedRows);
}

bool TCustomChartGrid::TextReads(int column, const std::string& text, std::string& reason) const {
  if (column < 0 || column >= FModel->columnCount()) return true;
  const TGridColumn& c = FModel->Column(column);
  if (c.Kind != gcValues) return true;
  const std::string trimmed = classlib::Trim(text);
  if (trimmed.empty()) return true;
  double value = 0;
  if (c.List->DateTime() ? classlib::TryStrToDateTime(trimmed, value) : classlib::TryStrToFloat(trimmed, value))
    return true;
  reason = c.List->DateTime() ? "'" + trimmed + "' is not a valid date and time"
                              : "'" + trimmed + "' is not a valid floating point value";
  return false;
}

void TCustomChartGrid::PadSeries(chart::TChartSeries& series, int row) {
  while (series.Count() <= row) series.AddNull();
}

void TCustomChartGrid::SetEditText(int col, int row, const std::string& value) {
  if (!HasSeries()) return;
  const int column = col - FixedCols, point = row - FixedRows;
  if (column < 0 || column >= FModel->columnCount() || point < 0) return;
  const TGridColumn c = FModel->Column(column);
  const std::vector<chart::TChartSeries*> shown = FModel->Shown();
  std::string reason;
  if (!TextReads(column, value, reason)) throw classlib::EConvertError(reason);
  for (chart::TChartSeries* s : shown) s->SetManualData(true);
  switch (c.Kind) {
    case gcLabels:
      for (chart::TChartSeries* s : shown) {
        PadSeries(*s, point);
        s->Labels().SetLabel(point, value);
      }
      break;
    case gcColors:
      break;
    case gcValues: {
      chart::TChartSeries& s = *c.Series;
      PadSeries(s, point);
      const std::string text = classlib::Trim(value);
      if (text.empty()) {
        s.SetValueColor(point, chart::clNullPoint);
      } else {
        c.List->SetValue(point, c.List->DateTime() ? classlib::StrToDateTime(text) : classlib::StrToFloat(text));
        if (s.IsNull(point)) s.SetValueColor(point, chart::clDefault);
      }
      break;
    }
  }
  for (chart::TChartSeries* s : shown) s->Invalidate();
  ApplyLayout();
  if (OnSetEditText) OnSetEditText(*this, col, row, value);
}

// --- editing ----------------------------------------------------------------

bool TCustomChartGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (!index.isValid() || state() == EditingState) return QAbstractItemView::edit(index, trigger, event);
  const bool starts = trigger == AllEditTriggers || (editTriggers() & trigger);
  if (!starts) return QAbstractItemView::edit(index, trigger, event);
  const TGridColumn& c = FModel->Column(index.column());
  if (c.Kind == gcColors) {
    if (trigger == DoubleClicked || trigger == EditKeyPressed) ui::RunGuarded([&] { EditPointColor(index.row()); });
    return false;
  }
  const chart::TChartSeries* series = FModel->SeriesOfColumn(index.column());
  if (!FEditingAllowed || series == nullptr || series->DataSource() != nullptr) return false;
  FInserting = index.row() >= series->Count() || series->IsNull(index.row());
  FSavedText = FInserting ? QString() : FModel->data(index, Qt::EditRole).toString();
  FEditIndex = index;
  if (!QAbstractItemView::edit(index, trigger, event)) return false;
  StateChanged();
  return true;
}

void TCustomChartGrid::commitData(QWidget* editor) {
  if (FReporting) return;
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line == nullptr) return QAbstractItemView::commitData(editor);
  // Confirming the text as it came changes nothing, not even a digit lost in it.
  if (line->text() == FSavedText) return;
  std::string reason;
  if (!TextReads(FEditIndex.column(), line->text().toStdString(), reason)) {
    FKeepEditing = true;
    // Leaving the cell can try several ways at once (the focus, the current
    // cell): the text is reported once until it changes.
    if (line->text() != FRefusedText) {
      FRefusedText = line->text();
      FReporting = true;
      ui::ShowException(std::make_exception_ptr(classlib::EConvertError(reason)));
      FReporting = false;
    }
    line->setFocus();
    return;
  }
  QAbstractItemView::commitData(editor);
}

void TCustomChartGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (FReporting) return;
  if (FKeepEditing) {
    FKeepEditing = false;
    FRefusedClose = true;
    editor->setFocus();
    return;
  }
  QAbstractItemView::closeEditor(editor, hint);
  // The editor may have lost the focus to a message and its window not have
  // it back yet: the keys go to the grid again, not to the closed editor.
  const QWidget* focus = window()->focusWidget();
  if (!hasFocus() && (focus == nullptr || focus == editor || !focus->isVisible())) setFocus();
  FInserting = false;
  StateChanged();
}

void TCustomChartGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  FRefusedClose = false;
  QAbstractItemView::currentChanged(current, previous);
  if (FRefusedClose && previous.isValid()) {
    // The edit left behind did not read: the cell stays current with its editor.
    FRefusedClose = false;
    setCurrentIndex(previous);
    return;
  }
  if (OnSelectCell) OnSelectCell(Row());
}

void TCustomChartGrid::StartEdit() {
  if (!FEditingAllowed || Editing() || Col() < FixedCols || !currentIndex().isValid()) return;
  edit(currentIndex(), AllEditTriggers, nullptr);
}

void TCustomChartGrid::PostOrCancel(bool cancel) {
  if (!Editing()) return;
  QLineEdit* editor = FEditor;
  if (cancel) {
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  } else {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
  }
}

void TCustomChartGrid::EditPointColor(int row) {
  chart::TChartSeries* series = FModel->SeriesOfColumn(CurrentColumn() < 0 ? 0 : CurrentColumn());
  if (series == nullptr || row >= series->Count()) return;
  chart::TColor color = series->ValueColor(row);
  if (!chart::EditColorDialog(this, color)) return;
  series->SetValueColor(row, color);
  series->SetManualData(true);
  viewport()->update();
  if (OnChangeColor) OnChangeColor(*this);
}

// --- rows -------------------------------------------------------------------

void TCustomChartGrid::AppendRow() {
  for (chart::TChartSeries* s : std::vector<chart::TChartSeries*>(FModel->Shown())) s->AddNull();
  ApplyLayout();
  SetCell(Col(), RowCount() - 1);
}

void TCustomChartGrid::DeleteRow() {
  const int point = Row() - FixedRows;
  for (chart::TChartSeries* s : std::vector<chart::TChartSeries*>(FModel->Shown())) {
    if (point >= s->Count()) continue;
    s->Delete(point);
    if (!FModel->ShowsX(*s)) s->XValues()->FillSequence();
  }
  ApplyLayout();
}

void TCustomChartGrid::StateChanged() {
  if (OnStateChange) OnStateChange();
}

// --- keys -------------------------------------------------------------------

void TCustomChartGrid::keyPressEvent(QKeyEvent* event) {
  ui::RunGuarded([&] {
    if ((event->modifiers() & Qt::ControlModifier) || Editing() || !currentIndex().isValid())
      return QAbstractItemView::keyPressEvent(event);
    const int column = CurrentColumn(), point = Row() - FixedRows;
    const bool colors = FModel->Column(column).Kind == gcColors;
    chart::TChartSeries* series = FModel->SeriesOfColumn(column);
    const bool appendable = FEditingAllowed && series != nullptr && series->DataSource() == nullptr;
    switch (event->key()) {
      case Qt::Key_Insert:
        if (FEditingAllowed && HasSeries()) AppendRow();
        return;
      case Qt::Key_Delete:
        edit(currentIndex(), AnyKeyPressed, event);
        return;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (colors) return EditPointColor(point);
        StartEdit();
        return;
      case Qt::Key_Space:
      case Qt::Key_F2:
        if (colors) return EditPointColor(point);
        break;
      case Qt::Key_Down:
        if (OnLastRow() && appendable) {
          series->AddNull();
          ApplyLayout();
          SetCell(Col(), RowCount() - 1);
          return;
        }
        break;
      case Qt::Key_Up:
        // Leaving an appended row untouched takes it back.
        if (OnLastRow() && appendable && point > 0 && point < series->Count() && series->IsNull(point) &&
            series->Labels().GetLabel(point).empty()) {
          series->Delete(point);
          ApplyLayout();
          SetCell(Col(), point - 1 + FixedRows);
          return;
        }
        break;
      default:
        break;
    }
    QAbstractItemView::keyPressEvent(event);
  });
}

// --- navigator --------------------------------------------------------------

TChartGridNavigator::TChartGridNavigator(QWidget* parent) : TCustomKivNavigator(parent) {
  for (int i = nbInsert; i <= nbCancel; ++i) Buttons(i)->show();
  EnableButtons();
}

TChartGridNavigator::~TChartGridNavigator() { SetGrid(nullptr); }

void TChartGridNavigator::SetGrid(TCustomChartGrid* grid) {
  if (FGrid == grid) return;
  if (FGrid) {
    FGrid->OnStateChange = nullptr;
    FGrid->OnSelectCell = nullptr;
  }
  FGrid = grid;
  if (grid != nullptr) {
    grid->OnStateChange = [this] { EnableButtons(); };
    grid->OnSelectCell = [this](int row) { EnableButtonsForRow(row); };
  }
  EnableButtons();
}

void TChartGridNavigator::EnableButtons() { EnableButtonsForRow(FGrid ? FGrid->Row() : TCustomChartGrid::FixedRows); }

void TChartGridNavigator::EnableButtonsForRow(int row) {
  const TCustomChartGrid* g = FGrid;
  const bool hasGrid = g != nullptr;
  const bool past = hasGrid && row > TCustomChartGrid::FixedRows;
  const bool before = hasGrid && row < g->RowCount() - 1;
  const bool editing = hasGrid && g->Editing();
  const bool insert = hasGrid && g->EditingAllowed() && !editing && g->HasSeries();
  const auto& shown = hasGrid ? g->ShownSeries() : std::vector<chart::TChartSeries*>{};
  const bool points = std::any_of(shown.begin(), shown.end(), [](const chart::TChartSeries* s) { return s->Count() > 0; });
  Buttons(nbFirst)->setEnabled(past);
  Buttons(nbPrior)->setEnabled(past);
  Buttons(nbNext)->setEnabled(before);
  Buttons(nbLast)->setEnabled(before);
  Buttons(nbInsert)->setEnabled(insert);
  Buttons(nbDelete)->setEnabled(hasGrid && g->RowCount() > 1 && insert && points);
  Buttons(nbEdit)->setEnabled(insert);
  Buttons(nbPost)->setEnabled(editing);
  Buttons(nbCancel)->setEnabled(editing);
}

void TChartGridNavigator::BtnClick(int index) {
  TCustomChartGrid* g = FGrid;
  if (g != nullptr) {
    const int first = TCustomChartGrid::FixedRows, last = g->RowCount() - 1;
    switch (index) {
      case nbFirst:
        if (g->Row() > first) g->SetCell(g->Col(), first);
        break;
      case nbPrior:
        if (g->Row() > first) g->SetCell(g->Col(), g->Row() - 1);
        break;
      case nbNext:
        if (g->Row() < last) g->SetCell(g->Col(), g->Row() + 1);
        break;
      case nbLast:
        g->SetCell(g->Col(), last);
        break;
      case nbInsert:
        g->AppendRow();
        break;
      case nbDelete:
        g->DeleteRow();
        break;
      case nbEdit:
        g->setFocus();
        g->StartEdit();
        break;
      case nbPost:
        g->PostOrCancel(false);
        break;
      case nbCancel:
        g->PostOrCancel(true);
        break;
      default:
        break;
    }
  }
  TCustomKivNavigator::BtnClick(index);
}

}  // namespace chart_editors
