// The value grid as an item view: where cells stand, scrolling by whole
// rows, selection by rectangle, painting the cells and the fixed column.
// Rows are all one height, so every step is arithmetic on the rows in view.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "chart_editors/ChartGridHeaders.h"
#include "chart_editors/KivChartGrid.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

// The fixed column left of the cells: the corner over the row numbers.
class TChartGridNumbers : public QWidget {
 public:
  explicit TChartGridNumbers(TCustomChartGrid& grid) : QWidget(&grid), FGrid(grid) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int headerHeight = FGrid.FHeader->height();
    PaintGridCorner(painter, QRect(0, 0, width(), headerHeight), TChartGridHeader::TitleHeight, palette());
    const int rows = FGrid.FModel->rowCount(), top = FGrid.TopPoint(), h = FGrid.FRowHeight;
    painter.setClipRect(0, headerHeight, width(), height() - headerHeight);
    for (int row = top, y = headerHeight; row < rows && y < height(); ++row, y += h)
      PaintFixedCell(painter, QRect(0, y, width(), h), QString::number(row), palette());
  }

 private:
  TCustomChartGrid& FGrid;
};

TChartGridNumbers* TCustomChartGrid::NewNumbers() { return new TChartGridNumbers(*this); }

int TCustomChartGrid::TopPoint() const { return verticalScrollBar()->value(); }

int TCustomChartGrid::FullRows() const { return std::max(1, viewport()->height() / FRowHeight); }

int TCustomChartGrid::NumbersWidth() const {
  const int last = std::max(0, FModel->rowCount() - 1);
  return std::max(30, fontMetrics().horizontalAdvance(QString::number(last)) + 8);
}

int TCustomChartGrid::horizontalOffset() const { return horizontalScrollBar()->value(); }

int TCustomChartGrid::verticalOffset() const { return TopPoint() * FRowHeight; }

QRect TCustomChartGrid::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != FModel) return {};
  const long long y = static_cast<long long>(index.row() - TopPoint()) * FRowHeight;
  // Far away rows only need to lie outside the view.
  const int clamped = static_cast<int>(std::clamp<long long>(y, -FRowHeight * 2LL, viewport()->height() + FRowHeight * 2LL));
  return {FHeader->sectionViewportPosition(index.column()), clamped, FHeader->sectionSize(index.column()), FRowHeight};
}

QModelIndex TCustomChartGrid::indexAt(const QPoint& point) const {
  if (point.y() < 0) return {};
  const int column = FHeader->logicalIndexAt(point.x());
  const int row = TopPoint() + point.y() / FRowHeight;
  if (column < 0 || row >= FModel->rowCount()) return {};
  return FModel->index(row, column);
}

void TCustomChartGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  const int row = index.row(), top = TopPoint(), full = FullRows();
  QScrollBar& v = *verticalScrollBar();
  switch (hint) {
    case PositionAtTop: v.setValue(row); break;
    case PositionAtBottom: v.setValue(row - full + 1); break;
    case PositionAtCenter: v.setValue(row - full / 2); break;
    case EnsureVisible:
      if (row < top)
        v.setValue(row);
      else if (row >= top + full)
        v.setValue(row - full + 1);
      break;
  }
  const int left = FHeader->sectionPosition(index.column()), right = left + FHeader->sectionSize(index.column());
  QScrollBar& h = *horizontalScrollBar();
  if (left < h.value())
    h.setValue(left);
  else if (right > h.value() + viewport()->width())
    h.setValue(std::min(left, right - viewport()->width()));
}

QModelIndex TCustomChartGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  const int rows = FModel->rowCount(), cols = FModel->columnCount();
  if (cols == 0) return {};
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return FModel->index(0, 0);
  int row = current.row(), col = current.column();
  const bool ctrl = modifiers & Qt::ControlModifier;
  switch (cursorAction) {
    case MoveUp: --row; break;
    case MoveDown: ++row; break;
    case MoveLeft: --col; break;
    case MoveRight: ++col; break;
    case MovePageUp: row -= FullRows(); break;
    case MovePageDown: row += FullRows(); break;
    case MoveHome:
      if (ctrl)
        row = 0;
      else
        col = 0;
      break;
    case MoveEnd:
      if (ctrl)
        row = rows - 1;
      else
        col = cols - 1;
      break;
    case MoveNext:
      if (++col == cols && row < rows - 1) {
        col = 0;
        ++row;
      }
      break;
    case MovePrevious:
      if (--col < 0 && row > 0) {
        col = cols - 1;
        --row;
      }
      break;
  }
  return FModel->index(std::clamp(row, 0, rows - 1), std::clamp(col, 0, cols - 1));
}

void TCustomChartGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  const int rows = FModel->rowCount(), cols = FModel->columnCount();
  if (rows == 0 || cols == 0) return;
  const QRect r = rect.normalized();
  const auto rowAt = [&](int y) { return std::clamp(TopPoint() + (y < 0 ? -1 : y / FRowHeight), 0, rows - 1); };
  const auto colAt = [&](int x) {
    const int c = FHeader->logicalIndexAt(x);
    return c >= 0 ? c : x < FHeader->sectionViewportPosition(0) ? 0 : cols - 1;
  };
  const QModelIndex topLeft = FModel->index(rowAt(r.top()), colAt(r.left()));
  const QModelIndex bottomRight = FModel->index(rowAt(r.bottom()), colAt(r.right()));
  selectionModel()->select(QItemSelection(topLeft, bottomRight), command);
}

QRegion TCustomChartGrid::visualRegionForSelection(const QItemSelection& selection) const {
  QRegion region;
  const QRect view = viewport()->rect();
  for (const QItemSelectionRange& range : selection) {
    if (!range.isValid()) continue;
    const QRect r = visualRect(range.topLeft()).united(visualRect(range.bottomRight()));
    region += r.intersected(view);
  }
  return region;
}

void TCustomChartGrid::updateGeometries() {
  if (FUpdatingGeometries) return;
  FUpdatingGeometries = true;
  const int headerHeight = FHeader->sizeHint().height(), numbers = NumbersWidth();
  const QMargins margins(numbers, headerHeight, 0, 0);
  if (viewportMargins() != margins) setViewportMargins(margins);
  const QRect view = viewport()->geometry();
  FHeader->setGeometry(view.left(), view.top() - headerHeight, view.width(), headerHeight);
  FNumbers->setGeometry(view.left() - numbers, view.top() - headerHeight, numbers, view.height() + headerHeight);
  const int full = FullRows();
  QScrollBar& v = *verticalScrollBar();
  v.setRange(0, std::max(0, FModel->rowCount() - full));
  v.setPageStep(full);
  v.setSingleStep(1);
  QScrollBar& h = *horizontalScrollBar();
  h.setRange(0, std::max(0, FHeader->length() - view.width()));
  h.setPageStep(view.width());
  h.setSingleStep(20);
  FHeader->setOffset(h.value());
  QAbstractItemView::updateGeometries();
  FNumbers->update();
  FUpdatingGeometries = false;
}

void TCustomChartGrid::scrollContentsBy(int, int) {
  FHeader->setOffset(horizontalScrollBar()->value());
  viewport()->update();
  FNumbers->update();
  updateEditorGeometries();
}

void TCustomChartGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  painter.fillRect(area, palette().base());
  const int rows = FModel->rowCount(), cols = FModel->columnCount();
  if (cols == 0) return;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  const QStyle::State base = option.state | (isEnabled() ? QStyle::State_Enabled : QStyle::State_None) |
                             (window()->isActiveWindow() ? QStyle::State_Active : QStyle::State_None);
  const QModelIndex current = currentIndex();
  const int top = TopPoint(), last = std::min(rows - 1, top + viewport()->height() / FRowHeight);
  const int firstCol = std::max(0, FHeader->logicalIndexAt(area.left()));
  int lastCol = FHeader->logicalIndexAt(area.right());
  if (lastCol < 0) lastCol = cols - 1;
  painter.setPen(palette().color(QPalette::Mid));
  for (int row = top; row <= last; ++row) {
    for (int col = firstCol; col <= lastCol; ++col) {
      const QModelIndex index = FModel->index(row, col);
      const QRect cell = visualRect(index);
      option.rect = cell.adjusted(0, 0, -1, -1);
      option.state = base;
      if (selectionModel()->isSelected(index)) option.state |= QStyle::State_Selected;
      if (index == current && hasFocus()) option.state |= QStyle::State_HasFocus;
      itemDelegateForIndex(index)->paint(&painter, option, index);
      painter.setPen(palette().color(QPalette::Mid));
      painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
      painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    }
  }
}

void TCustomChartGrid::SelectColumn(int column) {
  if (column < 0 || column >= FModel->columnCount()) return;
  const int row = currentIndex().isValid() ? currentIndex().row() : 0;
  selectionModel()->setCurrentIndex(FModel->index(row, column), QItemSelectionModel::NoUpdate);
  selectionModel()->select(QItemSelection(FModel->index(0, column), FModel->index(FModel->rowCount() - 1, column)),
                           QItemSelectionModel::ClearAndSelect);
}

}  // namespace chart_editors
