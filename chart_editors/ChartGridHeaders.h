// The value grid's column header, two rows high: over each series' columns
// its legend symbol and title, and under them each column's name ("Text",
// "Colors", or the value list's name); and the cells of its fixed column:
// the corner, with "#" in the names' row, over the row numbers.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#pragma once

#include <QHeaderView>
#include <QString>

#include <utility>

namespace chart_editors {

class TChartGridModel;

class TChartGridHeader : public QHeaderView {
 public:
  TChartGridHeader(TChartGridModel& model, QWidget* parent);

  // The height of the titles' row.
  static constexpr int TitleHeight = 20;

  // properties
  // The height of the names' row (the grid's row height).
  int NamesHeight() const { return FNamesHeight; }
  void SetNamesHeight(int v);

  // operations
  // The first and last column of the series that column belongs to (the
  // column itself when it shows no series' values).
  std::pair<int, int> SeriesSpan(int column) const;

  // overrides
  QSize sizeHint() const override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  TChartGridModel& FModel;
  int FNamesHeight = 16;
};

// A fixed cell: the fixed colour, text from 2 pixels in, the grid's lines on
// its bottom and (when rightLine) its right edge.
void PaintFixedCell(QPainter& painter, const QRect& rect, const QString& text, const QPalette& palette,
                    bool rightLine = true);
// The grid's corner: "#" in the names' row.
void PaintGridCorner(QPainter& painter, const QRect& rect, int titleHeight, const QPalette& palette);

}  // namespace chart_editors
