// The comparison table: its rows with their index-checked edits, the add and
// replace that roll back a failed design, and what a search reads of it.
// Tested by: tests/CompareTableTest.cpp
#include "workbench/logic/CompareTable.h"

#include <algorithm>

namespace workbench {

const TCompareFilterRecord& TCompareTable::Row(int r) const {
  if (!Contains(r)) throw ECompareTable("List index out of bounds (" + std::to_string(r) + ")");
  return FRows[static_cast<std::size_t>(r)];
}

TRowComputation TCompareTable::Compute(int r, TRowPoints& points) {
  return CalculateFilterOutput(FWorkspace, FRows, r, FCandles, FWorkCoefficients, points);
}

TRowComputation TCompareTable::Add(TCompareFilterRecord row, TRowPoints& points) {
  FRows.push_back(std::move(row));
  try {
    return Compute(Count() - 1, points);
  } catch (...) {
    // A row that cannot be designed is not kept half made.
    FRows.pop_back();
    throw;
  }
}

TRowComputation TCompareTable::ReplaceFilter(int r, const TFilterRecord& filter, TRowPoints& points) {
  if (!IsSource(r)) {
    points.clear();
    return rcNone;
  }
  TCompareFilterRecord& row = At(r);
  const TCompareFilterRecord before = row;
  row.Filter = filter;
  row.ParamText = FilterDescription(row.Filter);
  try {
    return Compute(r, points);
  } catch (...) {
    At(r) = before;
    throw;
  }
}

bool TCompareTable::SetColorIndex(int r, std::int32_t colorIndex) {
  if (!Contains(r)) return false;
  At(r).ColorIndex = colorIndex;
  return true;
}

bool TCompareTable::SetOn(int r, bool on) {
  if (!Contains(r)) return false;
  At(r).On = on ? 1 : 0;
  return true;
}

bool TCompareTable::SetSeriesIndex(int r, std::int32_t seriesIndex) {
  if (!Contains(r)) return false;
  At(r).SeriesIndex = seriesIndex;
  return true;
}

bool TCompareTable::SetParent(int r, std::int32_t parent) {
  if (!Contains(r)) return false;
  const auto choices = ParentChoices(r);
  if (std::none_of(choices.begin(), choices.end(), [parent](const auto& choice) { return choice.first == parent; }))
    return false;
  At(r).Parent = parent;
  return true;
}

std::vector<std::string> TCompareTable::GridRow(int r) {
  if (!Contains(r)) return {};
  return CompareGridRow(FRows, r);
}

std::string TCompareTable::SourceRowText(int r, std::uint8_t textMode) {
  if (!IsSource(r)) return {};
  TCompareFilterRecord& row = At(r);
  row.Filter.CoefCount = row.Coefficients.Count;
  return CompareRowText(row, textMode);
}

int TCompareTable::TakeExpertSampling(const TExpertSampling& sampling, const std::string& fileName,
                                      TRowPoints& points) {
  const auto found = std::find_if(FRows.begin(), FRows.end(),
                                  [](const TCompareFilterRecord& row) { return row.Kind == rkImportResponse; });
  int r = static_cast<int>(found - FRows.begin());
  if (found == FRows.end()) {
    FRows.push_back(ImportResponseRow(fileName));
    r = Count() - 1;
  }
  SetQuoteBars(FCandles, sampling.Bars);
  At(r).Output = sampling.Response;
  points.clear();
  for (std::size_t b = 0; b < sampling.Response.size(); ++b)
    points.emplace_back(static_cast<double>(b + 1), sampling.Response[b]);
  return r;
}

TSearchData TCompareTable::SearchData(int referenceRow, std::int32_t correlationBars) const {
  if (FCandles.Bars.empty()) throw ESearch(msgSearchNoCandles);
  TSearchData data;
  data.Closes.reserve(FCandles.Bars.size());
  for (const TPriceBar& bar : FCandles.Bars) data.Closes.push_back(bar.Close);
  data.LastBar = FCandles.LastIndex;
  if (Contains(referenceRow)) {
    const std::vector<double>& output = FRows[static_cast<std::size_t>(referenceRow)].Output;
    data.Reference.assign(output.begin(),
                          output.begin() + std::min<std::ptrdiff_t>(output.size(), std::max(data.LastBar, 0)));
  }
  data.CorrelationBars = correlationBars;
  data.GridDensity = FWorkspace.GridDensity;
  return data;
}

}  // namespace workbench
