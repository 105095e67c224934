// Vectors and matrices of the numeric library as chart content: DrawValues,
// the one routine that writes a vector into a series; the matrix grid series;
// the values window, one process-wide window that shows a vector as a line
// or a matrix as a coloured grid; and the vector and matrix editor's Chart
// menu items that show its data there.
//
// Tested by: analysis_ui/tests/DrawValuesTest.cpp, analysis_ui/tests/MtxGridSeriesTest.cpp,
//            analysis_ui/tests/ValuesWindowTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "analysis_ui/MtxGridSeries.h"
#include "analysis_ui/NumoraEdit.h"
#include "chart/ChartControl.h"
#include "numeric/Mtx.h"
#include "numeric/Vec.h"

class QWidget;

namespace analysis_ui {

// Writes the real vector Values into the X and Y lists of Series, sample k at
// X = k Dx + X0 (computed from k, never summed along); samples that are NaN or infinite are left out (their X stays
// a gap). With PixelDownSample a vector longer than three times the width of
// the series' chart is first reduced to the smallest and largest values of
// bins of about a third of a pixel. The lists are sized once and written
// directly (no per-point adds, no add events); labels and colours are not
// touched. A complex vector raises "Y.Complex" before the series changes.
void DrawValues(const numeric::TVec& Values, chart::TChartSeries& Series, bool PixelDownSample, double X0,
                double Dx);
// The write of DrawValues without the reduction.
void FillSeriesValues(const numeric::TVec& Values, chart::TChartSeries& Series, double X0, double Dx);
// Whether DrawValues reduces a vector of length samples for a chart width
// pixels wide: only when it is longer than three samples a pixel.
bool NeedsPixelDownSample(std::int32_t length, std::int32_t width);

// Hands a real matrix to a grid series; a complex one raises "A.Complex"
// before the series changes.
void DrawGrid(const numeric::TMtx& Values, TMtxGridSeries& Series);

// The values window: created on first use (its place and size read from the
// settings store, section "DrawIt", and never written back), prepared afresh
// for every showing and shown modally. An empty caption gives "Vector values"
// or "Matrix values".
void DrawVector(const numeric::TVec& Values, const std::string& Caption, bool PixelDownSample);
void DrawMatrix(const numeric::TMtx& Values, const std::string& Caption);
// Creates the window when needed and prepares its chart; returns the chart.
chart::TChart& ShowValuesWindow();
// Makes chart fill parent (creating the window that shows it there) and
// empties it for new content: no title, no series, flat and white, 2D, a
// hatched silver zoom rectangle. Does nothing for a null chart.
void PrepareValuesChart(chart::TChart* Chart, QWidget* Parent);
// The shutdown step: the values window goes before the application does.
void FreeValuesWindow();

// The editor's "Series in rows" (enabled from two columns on: a matrix of
// several rows in the values window's grid, a single row as a line) and
// "Series in cols" (from two rows on: the same for the columns).
std::unique_ptr<TMtxEditKivItem> CreateKivItemDrawRows(TNumoraEditForm& Form);
std::unique_ptr<TMtxEditKivItem> CreateKivItemDrawCols(TNumoraEditForm& Form);

// The unit's start-up and finalisation: the grid series in the series gallery
// ("Mtx Grid" on the page "Halvane") and the editor's two Chart menu items.
void RegisterNumoraKiv();
void UnregisterNumoraKiv();

}  // namespace analysis_ui
