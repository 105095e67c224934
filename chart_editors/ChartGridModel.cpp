// The value grid's table over the series' lists.
//
// Tested by: chart_editors/tests/ChartGridTest.cpp
#include "chart_editors/ChartGridModel.h"

#include <QBrush>

#include <algorithm>
#include <cstring>
#include <span>

#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart_editors/EditorTexts.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

namespace {

// Two doubles at a time, one SSE register (GCC's vector types).
typedef double TV2 __attribute__((vector_size(16)));
typedef long long TM2 __attribute__((vector_size(16)));

}  // namespace

// Compared two values a step and a block of them before each look at the
// result: a million points take about as long as reading them from memory.
bool HasOwnXValues(const chart::TChartSeries& series) {
  const std::span<const double> x = series.XValues()->Values();
  constexpr std::size_t Block = 512;
  std::size_t i = 0;
  TV2 index = {0, 1};
  const TV2 two = {2, 2};
  while (i + Block <= x.size()) {
    TM2 differs = {0, 0};
    for (const std::size_t end = i + Block; i < end; i += 2) {
      TV2 v;
      std::memcpy(&v, x.data() + i, sizeof v);
      differs |= v != index;
      index += two;
    }
    if ((differs[0] | differs[1]) != 0) return true;
  }
  for (; i < x.size(); ++i)
    if (x[i] != static_cast<double>(i)) return true;
  return false;
}

void TChartGridModel::SetSource(chart::TCustomAxisPanel* chart, chart::TChartSeries* series) {
  FChart = chart;
  FSeries = series;
}

void TChartGridModel::SetShow(bool labels, bool colors, TChartGridShow xValues) {
  FShowLabels = labels;
  FShowColors = colors;
  FShowXValues = xValues;
}

bool TChartGridModel::ShowsX(const chart::TChartSeries& series) const {
  return std::find(FShowingX.begin(), FShowingX.end(), &series) != FShowingX.end();
}

std::vector<chart::TChartSeries*> TChartGridModel::SeriesNow(const chart::TChartSeries* leaving) const {
  std::vector<chart::TChartSeries*> shown;
  if (FSeries != nullptr) {
    if (FSeries != leaving) shown.push_back(FSeries);
  } else if (FChart != nullptr) {
    for (chart::TChartSeries* s : FChart->SeriesList())
      if (s != leaving) shown.push_back(s);
  }
  return shown;
}

bool TChartGridModel::Relayout(const chart::TChartSeries* leaving) {
  std::vector<chart::TChartSeries*> shown = SeriesNow(leaving);
  std::vector<const chart::TChartSeries*> showingX;
  std::vector<TGridColumn> columns;
  chart::TChartSeries* first = shown.empty() ? nullptr : shown.front();
  if (FShowLabels) columns.push_back({gcLabels, first, nullptr});
  if (FShowColors) columns.push_back({gcColors, first, nullptr});
  int rows = 1;
  for (chart::TChartSeries* s : shown) {
    const bool x = FShowXValues == cgsYes || (FShowXValues == cgsAuto && HasOwnXValues(*s));
    if (x) {
      showingX.push_back(s);
      columns.push_back({gcValues, s, s->XValues()});
    }
    for (chart::TChartValueList* list : s->ValuesList())
      if (list != s->XValues()) columns.push_back({gcValues, s, list});
    rows = std::max(rows, s->Count());
  }
  if (columns != FColumns) {
    beginResetModel();
    FShown = std::move(shown);
    FShowingX = std::move(showingX);
    FColumns = std::move(columns);
    FRows = rows;
    endResetModel();
    return true;
  }
  FShown = std::move(shown);
  FShowingX = std::move(showingX);
  if (rows > FRows) {
    beginInsertRows({}, FRows, rows - 1);
    FRows = rows;
    endInsertRows();
  } else if (rows < FRows) {
    beginRemoveRows({}, rows, FRows - 1);
    FRows = rows;
    endRemoveRows();
  }
  Refresh();
  return false;
}

void TChartGridModel::Refresh() {
  if (FColumns.empty()) return;
  emit dataChanged(index(0, 0), index(FRows - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

chart::TChartSeries* TChartGridModel::SeriesOfColumn(int column) const {
  for (int c = std::max(0, column); c < columnCount(); ++c)
    if (FColumns[static_cast<std::size_t>(c)].Kind == gcValues) return FColumns[static_cast<std::size_t>(c)].Series;
  return nullptr;
}

std::string TChartGridModel::ValueText(const TGridColumn& c, int row, bool forEditing) const {
  const chart::TChartSeries& s = *c.Series;
  if (row < 0 || row >= s.Count() || row >= c.List->Count() || s.IsNull(row)) return "";
  const double v = (*c.List)[row];
  if (c.List->DateTime()) {
    try {
      return v >= 1 ? classlib::DateTimeToStr(v) : classlib::TimeToStr(v);
    } catch (const classlib::EConvertError&) {
      return classlib::FloatToStr(v);  // no date the calendar knows
    }
  }
  // The editor starts from every digit, so that confirming it changes nothing.
  return forEditing ? classlib::FloatToStr(v) : classlib::FormatFloat(s.ValueFormat(), v);
}

std::string TChartGridModel::CellText(int column, int row) const {
  if (column < 0 || column >= columnCount()) return "";
  const TGridColumn& c = Column(column);
  switch (c.Kind) {
    case gcLabels:
      for (const chart::TChartSeries* s : FShown)
        if (row < s->Count() && !s->Labels().GetLabel(row).empty()) return s->Labels().GetLabel(row);
      return "";
    case gcColors:
      return "";
    case gcValues:
      return ValueText(c, row, false);
  }
  return "";
}

std::string TChartGridModel::EditText(int column, int row) const {
  if (column >= 0 && column < columnCount() && Column(column).Kind == gcValues)
    return ValueText(Column(column), row, true);
  return CellText(column, row);
}

int TChartGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FRows; }

int TChartGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

QVariant TChartGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row(), column = index.column();
  const TGridColumn& c = Column(column);
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(CellText(column, row));
    case Qt::EditRole:
      return QString::fromStdString(EditText(column, row));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter | (c.Kind == gcValues ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::BackgroundRole:
      if (c.Kind == gcColors && c.Series != nullptr && row < c.Series->Count() && !c.Series->IsNull(row))
        return QBrush(chart::ToQColor(c.Series->ValueColor(row)));
      return {};
    default:
      return {};
  }
}

QVariant TChartGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section;
  if (section < 0 || section >= columnCount()) return {};
  const TGridColumn& c = Column(section);
  switch (c.Kind) {
    case gcLabels: return QString::fromStdString(chart::KivMsg(txtGridText));
    case gcColors: return QString::fromStdString(chart::KivMsg(txtGridColors));
    case gcValues: return QString::fromStdString(c.List->Name());
  }
  return {};
}

Qt::ItemFlags TChartGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (Column(index.column()).Kind != gcColors) f |= Qt::ItemIsEditable;
  return f;
}

bool TChartGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !OnSetData) return false;
  bool written = false;
  ui::RunGuarded([&] {
    OnSetData(index.column(), index.row(), value.toString().toStdString());
    written = true;
  });
  return written;
}

}  // namespace chart_editors
