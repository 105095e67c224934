// The comparison table without its window: the row record, the output of a
// row over the candles (from the close, the bar midpoint or a parent row's
// output), the grid's texts, the colour table, the choices of a parent, the
// order in which rows are recomputed, and the rows each command appends.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/formRemezPreview.h"

namespace workbench {

// Kinds of TCompareFilterRecord.Kind.
enum : std::int32_t { rkSource = 1, rkCoefficients = 2, rkImportResponse = 3 };

// One row of the comparison table.
struct TCompareFilterRecord {
  std::int32_t Kind = 0;
  std::int32_t Parent = -1;  // the row whose output feeds this one; -1: the price
  std::uint8_t On = 0;       // 1: the row's line is shown
  ShortString<25> Name;
  std::int32_t ColorIndex = 0;
  ShortString<200> ParamText;  // the filter's description, or the imported file's name
  std::int32_t SeriesIndex = -1;
  std::vector<double> Output;  // the row's value per bar, indexed like the candles
  TFilterRecord Filter{};
  TCoefficientRecord Coefficients{};
  // The last design of Filter ran out of rounds of the own exchange.
  bool IterationLimit = false;
};

using TCompareRows = std::vector<TCompareFilterRecord>;

// The colour table of the rows: index to colour (0x00BBGGRR) and to name;
// 0 and every index outside 1 .. 14 are "White".
std::uint32_t ColorIndexToColor(std::int32_t index);
std::string ColorIndexToName(std::int32_t index);

// What computing a row did.
enum TRowComputation : std::uint8_t {
  rcNone,            // no such row, or an Import response row: nothing to do
  rcNoCoefficients,  // the row has no coefficients: its line stays as it was
  rcDrawn,           // Output and Points hold the new line (maybe no point at all)
};

// The line of a computed row: a point (X of candle i, value) per bar that has one.
using TRowPoints = std::vector<std::pair<double, double>>;

// Computes row r over the candles of `chart` (bars FirstIndex .. LastIndex):
// a Source row is designed with ws (tag r) into `work` and its coefficients
// kept; a Coefficients row copies its own into `work`. Bar i from FirstIndex
// + n + 1 up to LastIndex, but never past the last candle, gets the sum of
// coefficient k times the input of bar i - k over the bars after bar 0; the
// input is the parent's output (0 where it has none), else (high + low) / 2
// for a Source row on that price, else the close. Bars before LastIndex
// get a point and their Output entry; Output has one entry per candle and one
// more, 0 where no value was written. A design that fails raises its
// exception and changes nothing.
TRowComputation CalculateFilterOutput(TDesignWorkspace& ws, TCompareRows& rows, int r, const TPriceChart& chart,
                                      TCoefficientRecord& work, TRowPoints& points);

// The grid's headers and the texts of row r's columns (column 1, the on/off
// box, has none); a ColorIndex of 0 is shown as "White" and then stored as 9.
inline constexpr const char* CompareGridHeaders[] = {"#", "On/Off", "Name", "Type", "Color", "Parent", "Parameters"};
std::vector<std::string> CompareGridRow(TCompareRows& rows, int r);
std::string RowKindName(std::int32_t kind);

// The rows in the order a recompute takes them: those fed by the price, then
// those fed by a parent (when parentsFirst), else table order.
std::vector<int> RecomputeOrder(const TCompareRows& rows, bool parentsFirst);

// The parents row r may take: "Close price" (-1), then every row fed by the
// price except r itself. A row that feeds another may take none but the price,
// so a parent never has a parent of its own.
std::vector<std::pair<int, std::string>> ParentChoices(const TCompareRows& rows, int r);

// The delete command: removes row r (the first row stays, as does a row that
// is not there) and returns the rows it fed, which take the price again and
// are to be computed anew. The parents and chart series of the rows after r
// move up one with them. Nothing changes when nothing is removed.
std::vector<int> DeleteCompareRow(TCompareRows& rows, int r);
// Whether the delete command removes row r.
bool CanDeleteCompareRow(const TCompareRows& rows, int r);

// The rows the commands append.
TCompareFilterRecord NewSourceRow(const TFilterRecord& filter);
// The generator's compare command: the current filter named "From Orvel
// window " and the number of rows + 1.
TCompareFilterRecord GeneratorRow(TFilterRecord filter, std::size_t rowsBefore);
// A search result taken into the table, named "AutoOptimize".
TCompareFilterRecord SearchResultRow(TFilterRecord filter);
// The Coefficients row of an import of `fileName` (its coefficients set later).
TCompareFilterRecord ImportRow(const std::string& fileName);

// The Import response row of an expert sampling file: named after the file
// without its folder, drawn white, its output read from the file.
TCompareFilterRecord ImportResponseRow(const std::string& fileName);

// The reference rows a search may follow: every Coefficients and Import
// response row, as the search dialog lists it, with its row index.
std::vector<std::pair<int, std::string>> SearchReferenceItems(const TCompareRows& rows);
// Whether the table holds a row the search can follow.
bool HasSearchReference(const TCompareRows& rows);

// The indicator text of Source row `row` in MQL2 (textMode 2) or MQL4 (3).
std::string CompareRowText(const TCompareFilterRecord& row, std::uint8_t textMode);

}  // namespace workbench
