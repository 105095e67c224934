// The value grid's table: its columns (the labels, the point colours, and
// each shown series' value lists) laid over the series' own lists, labels
// and colours, which it reads in place and never copies, so a series of a
// million points opens at once. Rows are the points; the grid's two header
// rows and its index column are the view's headers.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"

namespace chart_editors {

enum TChartGridShow : std::uint8_t { cgsAuto, cgsNo, cgsYes };

enum TGridColumnKind : std::uint8_t { gcLabels, gcColors, gcValues };

struct TGridColumn {
  TGridColumnKind Kind = gcValues;
  // The series a value column belongs to; for the labels and colours
  // columns the series whose points they show first.
  chart::TChartSeries* Series = nullptr;
  chart::TChartValueList* List = nullptr;

  bool operator==(const TGridColumn&) const = default;
};

class TChartGridModel : public QAbstractTableModel {
 public:
  explicit TChartGridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // properties
  // The chart whose series the grid shows, or the one series (which wins).
  void SetSource(chart::TCustomAxisPanel* chart, chart::TChartSeries* series);
  bool ShowLabels() const { return FShowLabels; }
  bool ShowColors() const { return FShowColors; }
  TChartGridShow ShowXValues() const { return FShowXValues; }
  void SetShow(bool labels, bool colors, TChartGridShow xValues);
  const std::vector<TGridColumn>& Columns() const { return FColumns; }
  const TGridColumn& Column(int column) const { return FColumns.at(static_cast<std::size_t>(column)); }
  // The series shown, in chart order.
  const std::vector<chart::TChartSeries*>& Shown() const { return FShown; }
  // Whether the series shows its X list.
  bool ShowsX(const chart::TChartSeries& series) const;

  // operations
  // Lays the columns and rows over the series as they are now (leaving: a
  // series on its way out of the chart, left out already) and tells the
  // views; true when the columns changed.
  bool Relayout(const chart::TChartSeries* leaving = nullptr);
  // Every cell may read differently now.
  void Refresh();
  // The text of a data cell (the in-place editor starts with EditText).
  std::string CellText(int column, int row) const;
  std::string EditText(int column, int row) const;
  // The series whose points the column's cells edit: its own, or for the
  // labels and colours columns the first series after them.
  chart::TChartSeries* SeriesOfColumn(int column) const;

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // events
  // A committed text: the grid writes it into the series (column and row of the table).
  std::function<void(int column, int row, const std::string& text)> OnSetData;

 private:
  std::vector<chart::TChartSeries*> SeriesNow(const chart::TChartSeries* leaving) const;
  std::string ValueText(const TGridColumn& c, int row, bool forEditing) const;

  chart::TCustomAxisPanel* FChart = nullptr;
  chart::TChartSeries* FSeries = nullptr;
  bool FShowLabels = true;
  bool FShowColors = false;
  TChartGridShow FShowXValues = cgsAuto;
  std::vector<chart::TChartSeries*> FShown;
  std::vector<const chart::TChartSeries*> FShowingX;
  std::vector<TGridColumn> FColumns;
  int FRows = 1;
};

// Whether a series' X values are other than 0, 1, 2 ...
bool HasOwnXValues(const chart::TChartSeries& series);

}  // namespace chart_editors
