// The value grid's headers.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#include "chart_editors/ChartGridHeaders.h"

#include <QPainter>

#include "chart/canvas/KivGraphics.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/ChartGridModel.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

namespace {

// A header cell: the fixed colour, the grid's lines on its right and bottom.
void PaintCell(QPainter& painter, const QRect& rect, const QPalette& palette, bool rightLine) {
  painter.fillRect(rect, palette.color(QPalette::Button));
  painter.setPen(palette.color(QPalette::Mid));
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());
  if (rightLine) painter.drawLine(rect.topRight(), rect.bottomRight());
}

void PaintText(QPainter& painter, const QRect& rect, const QString& text, const QPalette& palette) {
  painter.setPen(palette.color(QPalette::ButtonText));
  painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

TChartGridHeader::TChartGridHeader(TChartGridModel& model, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), FModel(model) {
  setSectionsClickable(true);
  setHighlightSections(false);
}

void TChartGridHeader::SetNamesHeight(int v) {
  FNamesHeight = v;
  updateGeometry();
}

QSize TChartGridHeader::sizeHint() const {
  QSize size = QHeaderView::sizeHint();
  size.setHeight(TitleHeight + FNamesHeight);
  return size;
}

std::pair<int, int> TChartGridHeader::SeriesSpan(int column) const {
  const auto& columns = FModel.Columns();
  if (column < 0 || column >= static_cast<int>(columns.size()) || columns[static_cast<std::size_t>(column)].Kind != gcValues)
    return {column, column};
  const chart::TChartSeries* series = columns[static_cast<std::size_t>(column)].Series;
  const auto same = [&](int c) {
    return c >= 0 && c < static_cast<int>(columns.size()) && columns[static_cast<std::size_t>(c)].Kind == gcValues &&
           columns[static_cast<std::size_t>(c)].Series == series;
  };
  int first = column, last = column;
  while (same(first - 1)) --first;
  while (same(last + 1)) ++last;
  return {first, last};
}

void TChartGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (logicalIndex < 0 || logicalIndex >= FModel.columnCount()) return;
  ui::RunGuarded([&] {
    painter->save();
    const QRect title(rect.left(), rect.top(), rect.width(), TitleHeight);
    const QRect names(rect.left(), rect.top() + TitleHeight, rect.width(), rect.height() - TitleHeight);
    const auto [first, last] = SeriesSpan(logicalIndex);
    // The title row is one cell across a series' columns: each column paints its slice.
    PaintCell(*painter, title, palette(), logicalIndex == last);
    const TGridColumn& c = FModel.Column(logicalIndex);
    if (c.Kind == gcValues) {
      const int left = sectionViewportPosition(first);
      const int right = sectionViewportPosition(last) + sectionSize(last);
      painter->setClipRect(title.adjusted(0, 0, logicalIndex == last ? -1 : 0, -1));
      chart::TCanvas canvas(*painter);
      chart::DrawSeriesLegendSymbol(*c.Series, canvas, chart::TRect{left + 4, rect.top() + 4, left + 16, rect.top() + 16});
      painter->setFont(font());
      PaintText(*painter, QRect(left + 16, rect.top(), right - left - 16, TitleHeight),
                QString::fromStdString(chart::SeriesTitleOrName(*c.Series)), palette());
      painter->setClipping(false);
    }
    PaintFixedCell(*painter, names, FModel.headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString(),
                   palette());
    painter->restore();
  });
}

void PaintFixedCell(QPainter& painter, const QRect& rect, const QString& text, const QPalette& palette,
                    bool rightLine) {
  PaintCell(painter, rect, palette, rightLine);
  if (!text.isEmpty()) PaintText(painter, rect, text, palette);
}

void PaintGridCorner(QPainter& painter, const QRect& rect, int titleHeight, const QPalette& palette) {
  PaintFixedCell(painter, QRect(rect.left(), rect.top(), rect.width(), titleHeight), {}, palette);
  PaintFixedCell(painter, QRect(rect.left(), rect.top() + titleHeight, rect.width(), rect.height() - titleHeight),
                 "#", palette);
}

}  // namespace chart_editors
