// The comparison table's rows: their output, texts, colours, parents and the
// rows each command appends.
// Tested by: tests/CompareRowsTest.cpp
#include "workbench/logic/CompareRows.h"

#include <algorithm>
#include <filesystem>

namespace workbench {

namespace {

struct TColourEntry {
  std::uint32_t Colour;
  const char* Name;
};
constexpr TColourEntry ColourTable[15] = {
    {0xFFFFFF, "White"}, {0x000080, "Maroon"}, {0x008000, "Green"}, {0x008080, "Olive"}, {0x800000, "Navy"},
    {0x800080, "Purple"}, {0x808000, "Teal"},  {0x808080, "Gray"},  {0xC0C0C0, "Silver"}, {0x0000FF, "Red"},
    {0x00FF00, "Lime"},  {0x00FFFF, "Yellow"}, {0xFF0000, "Blue"},  {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"},
};

constexpr std::int32_t DefaultRowColour = 15;  // white, until the grid makes it red
constexpr std::int32_t GeneratorRowColour = 9;
constexpr std::int32_t ImportResponseColour = 0xFFFFFF;  // outside the table: white

bool InTable(std::int32_t index) { return index >= 0 && index < 15; }

TCompareFilterRecord BaseRow(std::int32_t kind) {
  TCompareFilterRecord row;
  row.Kind = kind;
  row.Parent = -1;
  row.On = 1;
  row.SeriesIndex = -1;
  return row;
}

}  // namespace

std::uint32_t ColorIndexToColor(std::int32_t index) { return InTable(index) ? ColourTable[index].Colour : 0xFFFFFF; }

std::string ColorIndexToName(std::int32_t index) { return InTable(index) ? ColourTable[index].Name : "White"; }

TRowComputation CalculateFilterOutput(TDesignWorkspace& ws, TCompareRows& rows, int r, const TPriceChart& chart,
                                      TCoefficientRecord& work, TRowPoints& points) {
  points.clear();
  if (r < 0 || r >= static_cast<int>(rows.size()) || rows[static_cast<std::size_t>(r)].Kind >= rkImportResponse)
    return rcNone;
  TCompareFilterRecord& row = rows[static_cast<std::size_t>(r)];
  if (row.Kind == rkSource) {
    TCoefficientRecord designed{};
    DesignFilterRecord(ws, r, row.Filter, designed);
    work = designed;
    row.Coefficients = designed;
    row.IterationLimit = ws.IterationLimitReached != 0;
  } else {
    work = row.Coefficients;
  }
  const int n = std::min(work.Count, MaxCoefficients);
  if (n < 1) return rcNoCoefficients;

  const int candles = static_cast<int>(chart.Bars.size());
  row.Output.assign(static_cast<std::size_t>(candles) + 1, 0.0);
  const TCompareFilterRecord* parent =
      row.Parent >= 0 && row.Parent < static_cast<int>(rows.size()) && row.Parent != r
          ? &rows[static_cast<std::size_t>(row.Parent)]
          : nullptr;
  const bool midPrice = row.Kind == rkSource && row.Filter.Price == 1;
  const auto input = [&](int j) {
    if (parent != nullptr)
      return static_cast<std::size_t>(j) < parent->Output.size() ? parent->Output[static_cast<std::size_t>(j)] : 0.0;
    const TPriceBar& bar = chart.Bars[static_cast<std::size_t>(j)];
    return midPrice ? (bar.High + bar.Low) / 2 : bar.Close;
  };
  // A last bar past the candles (an expert sampling file counts its bars)
  // reads no candle that is not there.
  const int last = std::min(chart.LastIndex, candles - 1);
  for (int i = std::max(chart.FirstIndex + n + 1, 0); i <= last; ++i) {
    double s = 0;
    for (int k = 0; k < n && i - k > 0; ++k) s += work.Coef[static_cast<std::size_t>(k)] * input(i - k);
    if (i - n > 0 && i < chart.LastIndex) {
      points.emplace_back(chart.Bars[static_cast<std::size_t>(i)].X, s);
      row.Output[static_cast<std::size_t>(i)] = s;
    }
  }
  return rcDrawn;
}

std::string RowKindName(std::int32_t kind) {
  if (kind == rkSource) return "Source";
  if (kind == rkCoefficients) return "Coefficients";
  return "Import response";
}

std::vector<std::string> CompareGridRow(TCompareRows& rows, int r) {
  TCompareFilterRecord& row = rows[static_cast<std::size_t>(r)];
  const std::string colour = ColorIndexToName(row.ColorIndex);
  if (row.ColorIndex == 0) row.ColorIndex = GeneratorRowColour;
  const std::string parent = row.Parent < 0 || row.Parent >= static_cast<int>(rows.size())
                                 ? "Close price"
                                 : rows[static_cast<std::size_t>(row.Parent)].Name.Str();
  return {std::to_string(r + 1), "", row.Name.Str(), RowKindName(row.Kind), colour, parent, row.ParamText.Str()};
}

std::vector<int> RecomputeOrder(const TCompareRows& rows, bool parentsFirst) {
  std::vector<int> order;
  const int n = static_cast<int>(rows.size());
  for (int r = 0; r < n; ++r)
    if (!parentsFirst || rows[static_cast<std::size_t>(r)].Parent < 0) order.push_back(r);
  if (parentsFirst)
    for (int r = 0; r < n; ++r)
      if (rows[static_cast<std::size_t>(r)].Parent >= 0) order.push_back(r);
  return order;
}

std::vector<std::pair<int, std::string>> ParentChoices(const TCompareRows& rows, int r) {
  std::vector<std::pair<int, std::string>> choices{{-1, "Close price"}};
  const bool feedsAnother = std::any_of(rows.begin(), rows.end(), [r](const TCompareFilterRecord& row) { return row.Parent == r; });
  if (feedsAnother) return choices;
  for (int p = 0; p < static_cast<int>(rows.size()); ++p)
    if (p != r && rows[static_cast<std::size_t>(p)].Parent < 0) choices.emplace_back(p, rows[static_cast<std::size_t>(p)].Name.Str());
  return choices;
}

bool CanDeleteCompareRow(const TCompareRows& rows, int r) { return r >= 1 && r < static_cast<int>(rows.size()); }

std::vector<int> DeleteCompareRow(TCompareRows& rows, int r) {
  std::vector<int> orphans;
  if (!CanDeleteCompareRow(rows, r)) return orphans;
  const std::int32_t series = rows[static_cast<std::size_t>(r)].SeriesIndex;
  rows.erase(rows.begin() + r);
  for (int p = 0; p < static_cast<int>(rows.size()); ++p) {
    TCompareFilterRecord& row = rows[static_cast<std::size_t>(p)];
    if (row.Parent == r) {
      row.Parent = -1;
      orphans.push_back(p);
    } else if (row.Parent > r) {
      --row.Parent;
    }
    if (series >= 1 && row.SeriesIndex > series) --row.SeriesIndex;
  }
  return orphans;
}

TCompareFilterRecord NewSourceRow(const TFilterRecord& filter) {
  TCompareFilterRecord row = BaseRow(rkSource);
  row.Name = filter.Name.Str();
  row.ParamText = FilterDescription(filter);
  row.ColorIndex = DefaultRowColour;
  row.Filter = filter;
  return row;
}

TCompareFilterRecord GeneratorRow(TFilterRecord filter, std::size_t rowsBefore) {
  filter.Name = "From Orvel window " + std::to_string(rowsBefore + 1);
  TCompareFilterRecord row = NewSourceRow(filter);
  row.ColorIndex = GeneratorRowColour;
  return row;
}

TCompareFilterRecord SearchResultRow(TFilterRecord filter) {
  filter.Name = "AutoOptimize";
  return NewSourceRow(filter);
}

TCompareFilterRecord ImportRow(const std::string& fileName) {
  TCompareFilterRecord row = BaseRow(rkCoefficients);
  row.ColorIndex = 0;
  row.ParamText = fileName;
  return row;
}

TCompareFilterRecord ImportResponseRow(const std::string& fileName) {
  TCompareFilterRecord row = BaseRow(rkImportResponse);
  row.Name = std::filesystem::path(fileName).filename().string();
  row.ParamText = fileName;
  row.ColorIndex = ImportResponseColour;
  return row;
}

std::vector<std::pair<int, std::string>> SearchReferenceItems(const TCompareRows& rows) {
  std::vector<std::pair<int, std::string>> items;
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const TCompareFilterRecord& row = rows[static_cast<std::size_t>(r)];
    if (row.Kind != rkCoefficients && row.Kind != rkImportResponse) continue;
    std::string text = row.Name.Length == 0 ? "No name" : row.Name.Str();
    text += row.Kind == rkCoefficients ? " (Coefficients)" : " (Import response)";
    if (!row.On) text += " (Off)";
    items.emplace_back(r, text);
  }
  return items;
}

bool HasSearchReference(const TCompareRows& rows) { return !SearchReferenceItems(rows).empty(); }

std::string CompareRowText(const TCompareFilterRecord& row, std::uint8_t textMode) {
  TFilterRecord filter = row.Filter;
  TCoefficientRecord coefficients = row.Coefficients;
  filter.CoefCount = coefficients.Count;
  coefficients.TextMode = textMode;
  return GenerateIndicatorText(filter, coefficients);
}

}  // namespace workbench
