// The comparison table: its rows, the candles they run over and the design
// state of its Source rows, which the comparison window shows and the search
// reads. Every edit names its row by index and changes nothing for a row that
// is not there; a row added or replaced whose design fails leaves the table
// as it was before.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Exception.h"
#include "workbench/logic/BruteForceSearch.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/CompareRows.h"
#include "workbench/logic/QuoteCsv.h"
#include "workbench/logic/formRemezPreview.h"

namespace workbench {

// A row asked for that is not in the table.
class ECompareTable : public classlib::Exception {
 public:
  using classlib::Exception::Exception;
};

// A search needs candles up to at least this bar.
inline constexpr int MinSearchLastBar = 101;
inline constexpr const char* msgSearchNoCandles = "Не достаточно исторических данных";

class TCompareTable {
 public:
  // properties
  const TCompareRows& Rows() const { return FRows; }
  int Count() const { return static_cast<int>(FRows.size()); }
  bool Contains(int r) const { return r >= 0 && r < Count(); }
  // Row r; raises ECompareTable for a row that is not there.
  const TCompareFilterRecord& Row(int r) const;
  bool IsSource(int r) const { return Contains(r) && FRows[static_cast<std::size_t>(r)].Kind == rkSource; }
  // The candles, the bar range of the rows and the bars in view.
  const TPriceChart& Candles() const { return FCandles; }
  TPriceChart& Candles() { return FCandles; }
  // The design state of the Source rows: what the filter-parameter dialog
  // estimates into, and its grid density the search's.
  TDesignWorkspace& Workspace() { return FWorkspace; }
  const TDesignWorkspace& Workspace() const { return FWorkspace; }
  // The coefficients of the row computed last.
  const TCoefficientRecord& WorkCoefficients() const { return FWorkCoefficients; }

  // computing
  // Computes row r over the candles as CalculateFilterOutput does.
  TRowComputation Compute(int r, TRowPoints& points);
  // The rows in the order a recompute takes them.
  std::vector<int> RecomputeOrder(bool parentsFirst) const { return workbench::RecomputeOrder(FRows, parentsFirst); }

  // adding, replacing and removing rows
  // Appends `row` and computes it; its index is then Count() - 1. A row whose
  // design fails is not kept, and the failure goes on to the caller.
  TRowComputation Add(TCompareFilterRecord row, TRowPoints& points);
  // Source row r takes `filter` (and its description) and is computed anew;
  // when the design fails the row is as it was, and the failure goes on.
  // rcNone, and nothing changes, when r is no Source row.
  TRowComputation ReplaceFilter(int r, const TFilterRecord& filter, TRowPoints& points);
  // The delete command (DeleteCompareRow): the rows that row r fed, to be
  // computed anew.
  bool CanDelete(int r) const { return CanDeleteCompareRow(FRows, r); }
  std::vector<int> Delete(int r) { return DeleteCompareRow(FRows, r); }
  void ClearRows() { FRows.clear(); }

  // edits of one row; false, and nothing changes, for a row that is not there
  bool SetColorIndex(int r, std::int32_t colorIndex);
  bool SetOn(int r, bool on);
  bool SetSeriesIndex(int r, std::int32_t seriesIndex);
  // Also false for a parent that is none of ParentChoices(r).
  bool SetParent(int r, std::int32_t parent);

  // texts
  // The grid's texts of row r (CompareGridRow, which shows a colour of 0 as
  // "White" and stores it as red); none for a row that is not there.
  std::vector<std::string> GridRow(int r);
  std::vector<std::pair<int, std::string>> ParentChoices(int r) const { return workbench::ParentChoices(FRows, r); }
  // The indicator text of Source row r (CompareRowText); the row's filter
  // notes the count of its coefficients. Empty for no Source row.
  std::string SourceRowText(int r, std::uint8_t textMode);

  // files
  // An expert sampling file: its bars become the candles, its response the
  // output of the table's Import response row, appended first when there is
  // none (named after fileName). Returns that row and its line, a point (bar
  // + 1, response) per bar.
  int TakeExpertSampling(const TExpertSampling& sampling, const std::string& fileName, TRowPoints& points);

  // search
  // The rows a search may follow, as the search dialog lists them.
  std::vector<std::pair<int, std::string>> SearchReferences() const { return SearchReferenceItems(FRows); }
  // A reference to follow and candles up to MinSearchLastBar.
  bool CanSearch() const { return HasSearchReference(FRows) && EnoughBarsToSearch(); }
  bool EnoughBarsToSearch() const { return FCandles.LastIndex >= MinSearchLastBar; }
  // What a search over the candles against row `referenceRow` (none when it
  // is not there) scores over the last `correlationBars` bars: the closes,
  // the last bar, the reference's output up to it, and the grid density of
  // the Source rows. Raises ESearch when there are no candles.
  TSearchData SearchData(int referenceRow, std::int32_t correlationBars) const;

 private:
  TCompareFilterRecord& At(int r) { return FRows[static_cast<std::size_t>(r)]; }

  TCompareRows FRows;
  TPriceChart FCandles;
  TDesignWorkspace FWorkspace;
  TCoefficientRecord FWorkCoefficients{};
};

}  // namespace workbench
