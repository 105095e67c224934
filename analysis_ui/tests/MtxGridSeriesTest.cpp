// The matrix grid series: its colour scale and legend, the three palette
// styles, the cells a pass draws (where, in which colour, only those in
// view), hit tests, extremes, and matrices with holes or of another range.
// The expected colours are worked out by hand from the ends of the scale.
// Covers: analysis_ui/MtxGridSeries.cpp.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "analysis_ui/NumoraKiv.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/SeriesRegistry.h"

namespace analysis_ui {
namespace {

using chart::TColor;

constexpr TColor White = 0xFFFFFF, Navy = 0x800000;

std::unique_ptr<numeric::TMtx> Matrix(int rows, int cols, const std::vector<double>& values) {
  auto m = std::make_unique<numeric::TMtx>();
  m->Size(rows, cols, false);
  for (std::size_t i = 0; i < values.size(); ++i) m->Values()[i] = values[i];
  return m;
}

// 0, 1, ..., n - 1 in one row.
std::unique_ptr<numeric::TMtx> Ramp(int n) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return Matrix(1, n, v);
}

std::vector<TColor> PaletteColors(const TMtxGridSeries& s) {
  std::vector<TColor> colors;
  for (const TGridPaletteEntry& e : s.Palette()) colors.push_back(e.Color);
  return colors;
}

TColor PixelColor(const QImage& image, int x, int y) { return chart::FromQRgb(image.pixel(x, y)); }

// A 2D chart with one grid series, drawn into a picture.
struct TGridChart {
  TGridChart() {
    chart.SetBounds(500, 400);
    chart.SetView3D(false);
    series = new TMtxGridSeries(&chart);
    series->SetParentChart(&chart);
  }
  QImage Render() { return chart.RenderToBitmap()->Image(); }
  // The colour at the centre of cell (r, c) in the last picture.
  TColor Cell(const QImage& image, int r, int c) const {
    return PixelColor(image, chart.BottomAxis()->CalcXPosValue(c), chart.LeftAxis()->CalcYPosValue(r));
  }
  chart::TChart chart;
  TMtxGridSeries* series;
};

TEST(MtxGridSeries, TheScaleRunsFromBottomToTopColourOverTheValues) {
  TMtxGridSeries s;
  EXPECT_EQ(s.TopColor(), Navy);
  EXPECT_EQ(s.BottomColor(), White);
  EXPECT_EQ(s.PaletteSteps(), 10);
  s.SetMatrix(*Ramp(10));
  s.BuildPalette();
  ASSERT_EQ(s.Palette().size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Palette()[static_cast<std::size_t>(i)].Value, i);
  EXPECT_EQ(s.Palette()[0].Color, White);
  EXPECT_EQ(s.Palette()[3].Color, 0xD5AAAAu);
  EXPECT_EQ(s.Palette()[6].Color, 0xAA5555u);
  EXPECT_EQ(s.Palette()[9].Color, Navy);
  // A scale needs two ends.
  s.SetPaletteSteps(1);
  EXPECT_EQ(s.PaletteSteps(), 2);
  EXPECT_EQ(PaletteColors(s), (std::vector<TColor>{White, Navy}));
  s.SetPaletteSteps(-5);
  EXPECT_EQ(s.PaletteSteps(), 2);
  // The colours rebuild the scale as they change.
  s.SetPaletteSteps(3);
  s.SetTopColor(chart::clRed);
  s.SetBottomColor(chart::clBlack);
  EXPECT_EQ(PaletteColors(s), (std::vector<TColor>{0x000000, 0x000080, 0x0000FF}));
}

TEST(MtxGridSeries, TheLegendListsTheScaleLargestValueFirst) {
  TGridChart g;
  DrawGrid(*Ramp(10), *g.series);
  g.Render();
  const chart::TChartLegend& legend = *g.chart.Legend();
  ASSERT_EQ(legend.ItemCount(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(legend.ItemText(i), std::to_string(9 - i)) << i;
  EXPECT_EQ(g.series->LegendItemColor(0), Navy);
  EXPECT_EQ(g.series->LegendItemColor(9), White);
  EXPECT_EQ(g.series->LegendString(10, chart::ltsPlain), "");
  // The values take the series' number format.
  g.series->SetValueFormat("0.00");
  EXPECT_EQ(legend.ItemText(1), "8.00");
}

TEST(MtxGridSeries, ASecondMatrixGetsAScaleOfItsOwn) {
  TGridChart g;
  DrawGrid(*Ramp(10), *g.series);
  g.Render();
  EXPECT_EQ(g.chart.Legend()->ItemText(0), "9");
  DrawGrid(*Matrix(1, 2, {-100, 100}), *g.series);
  const QImage image = g.Render();
  EXPECT_EQ(g.chart.Legend()->ItemText(0), "100");
  EXPECT_EQ(g.Cell(image, 0, 0), White);
  EXPECT_EQ(g.Cell(image, 0, 1), Navy);
}

TEST(MtxGridSeries, EqualValuesAreAllTopColour) {
  TGridChart g;
  DrawGrid(*Matrix(3, 3, std::vector<double>(9, 5.0)), *g.series);
  const QImage image = g.Render();
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.Cell(image, r, c), Navy) << r << "," << c;
}

TEST(MtxGridSeries, RowsRunUpTheVerticalAxisAndColumnsAlongTheHorizontal) {
  TGridChart g;
  // Row 0: 0 and 15; row 1: 5 and 10.
  DrawGrid(*Matrix(2, 2, {0, 15, 5, 10}), *g.series);
  const QImage image = g.Render();
  EXPECT_EQ(g.Cell(image, 0, 0), White);
  EXPECT_EQ(g.Cell(image, 0, 1), Navy);
  EXPECT_EQ(g.Cell(image, 1, 0), 0xD5AAAAu);
  EXPECT_EQ(g.Cell(image, 1, 1), 0xAA5555u);
  EXPECT_GT(g.chart.LeftAxis()->CalcYPosValue(0), g.chart.LeftAxis()->CalcYPosValue(1));
  // Turned axes turn the picture with them.
  g.chart.LeftAxis()->SetInverted(true);
  g.chart.BottomAxis()->SetInverted(true);
  const QImage turned = g.Render();
  EXPECT_EQ(g.Cell(turned, 0, 0), White);
  EXPECT_EQ(g.Cell(turned, 0, 1), Navy);
  EXPECT_EQ(g.Cell(turned, 1, 0), 0xD5AAAAu);
  EXPECT_LT(g.chart.LeftAxis()->CalcYPosValue(0), g.chart.LeftAxis()->CalcYPosValue(1));
}

TEST(MtxGridSeries, OnlyTheCellsInViewAreRendered) {
  // Cell (r, c) holds 4 r + c: 5, 6, 9 and 10 around the middle.
  std::vector<double> v;
  for (int i = 0; i < 16; ++i) v.push_back(i);
  TGridChart g;
  DrawGrid(*Matrix(4, 4, v), *g.series);
  g.Render();
  g.chart.BottomAxis()->SetMinMax(0.6, 2.4);
  g.chart.LeftAxis()->SetMinMax(0.6, 2.4);
  const QImage image = g.Render();
  EXPECT_EQ(g.Cell(image, 1, 1), 0xD5AAAAu);  // 5 of 0 .. 15
  EXPECT_EQ(g.Cell(image, 1, 2), 0xCC9999u);  // 6
  EXPECT_EQ(g.Cell(image, 2, 1), 0xB36666u);  // 9
  EXPECT_EQ(g.Cell(image, 2, 2), 0xAA5555u);  // 10
  // The picture of those four cells is four pixels.
  const QImage four = g.series->RenderCells(1, 2, 1, 2);
  EXPECT_EQ(four.size(), QSize(2, 2));
  EXPECT_EQ(PixelColor(four, 0, 0), 0xD5AAAAu);
  EXPECT_EQ(PixelColor(four, 1, 1), 0xAA5555u);
  const QImage upward = g.series->RenderCells(1, 2, 1, 2, true, true);
  EXPECT_EQ(PixelColor(upward, 1, 1), 0xD5AAAAu);
  EXPECT_EQ(PixelColor(upward, 0, 0), 0xAA5555u);
}

TEST(MtxGridSeries, EachChannelIsRoundedHalfToEven) {
  TMtxGridSeries s;
  s.SetMatrix(*Ramp(5));
  s.BuildPalette();
  // 0 .. 4 from white to navy: red and green 255 - 255 t, blue 255 - 127 t;
  // at t = 1/2 red 127.5 becomes 128 and blue 191.5 becomes 192.
  const std::vector<TColor> expected{White, 0xDFBFBF, 0xC08080, 0xA04040, Navy};
  const QImage forward = s.RenderCells(0, 0, 0, 4);
  const QImage backward = s.RenderCells(0, 0, 0, 4, false, true);
  for (int j = 0; j < 5; ++j) {
    EXPECT_EQ(PixelColor(forward, j, 0), expected[static_cast<std::size_t>(j)]) << j;
    EXPECT_EQ(PixelColor(backward, 4 - j, 0), expected[static_cast<std::size_t>(j)]) << j;
  }
}

TEST(MtxGridSeries, EachPaletteStyleMapsValuesToEntries) {
  constexpr TColor e0 = White, e1 = 0xD5AAAA, e2 = 0xAA5555, e3 = Navy;  // entries at 0, 3, 6 and 9
  struct TCase {
    TGridPaletteStyle Style;
    std::vector<TColor> Pixels;  // of the values 0 .. 9
  };
  const TCase cases[] = {
      // Four steps over 0 .. 9: trunc(v 4 / 9), the last value kept on the last entry.
      {palRangeCustom, {e0, e0, e0, e1, e1, e2, e2, e3, e3, e3}},
      // The first entry at or above the value.
      {palCustom, {e0, e1, e1, e1, e2, e2, e2, e3, e3, e3}},
  };
  for (const TCase& c : cases) {
    TMtxGridSeries s;
    s.SetMatrix(*Ramp(10));
    s.SetPaletteSteps(4);
    s.SetPaletteStyle(c.Style);
    EXPECT_TRUE(s.Palette().empty());  // a new style starts from a new scale
    s.BuildPalette();
    ASSERT_EQ(PaletteColors(s), (std::vector<TColor>{e0, e1, e2, e3}));
    const QImage image = s.RenderCells(0, 0, 0, 9);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(PixelColor(image, j, 0), c.Pixels[static_cast<std::size_t>(j)]) << j;
  }
  // Without a scale the stepped styles paint the bottom colour.
  TMtxGridSeries s;
  s.SetMatrix(*Ramp(3));
  s.SetPaletteStyle(palCustom);
  EXPECT_EQ(PixelColor(s.RenderCells(0, 0, 0, 2), 2, 0), White);
}

TEST(MtxGridSeries, CellsWithoutAFiniteValueLetTheBackgroundThrough) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  TMtxGridSeries s;
  s.SetMatrix(*Matrix(1, 4, {0, NaN, 9, -std::numeric_limits<double>::infinity()}));
  s.BuildPalette();
  // The scale spans the finite values only.
  EXPECT_EQ(s.Palette().front().Value, 0);
  EXPECT_EQ(s.Palette().back().Value, 9);
  const QImage image = s.RenderCells(0, 0, 0, 3);
  EXPECT_EQ(PixelColor(image, 0, 0), White);
  EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
  EXPECT_EQ(PixelColor(image, 2, 0), Navy);
  EXPECT_EQ(qAlpha(image.pixel(3, 0)), 0);
  // A matrix with no value at all has no scale, and a pass draws nothing.
  TGridChart g;
  DrawGrid(*Matrix(2, 2, {NaN, NaN, NaN, NaN}), *g.series);
  const QImage nothing = g.Render();
  EXPECT_TRUE(g.series->Palette().empty());
  EXPECT_EQ(g.Cell(nothing, 0, 0), g.Cell(nothing, 1, 1));
}

TEST(MtxGridSeries, AClickNamesTheCellRowByRow) {
  TGridChart g;
  DrawGrid(*Matrix(2, 3, {0, 1, 2, 3, 4, 5}), *g.series);
  g.Render();
  const chart::TChartAxis& b = *g.chart.BottomAxis();
  const chart::TChartAxis& l = *g.chart.LeftAxis();
  EXPECT_EQ(g.series->Clicked(b.CalcXPosValue(2), l.CalcYPosValue(1)), 5);
  EXPECT_EQ(g.series->Clicked(b.CalcXPosValue(0.3), l.CalcYPosValue(-0.3)), 0);
  EXPECT_EQ(g.series->Clicked(b.CalcXPosValue(3), l.CalcYPosValue(1)), -1);
  EXPECT_EQ(g.series->Clicked(b.CalcXPosValue(1), l.CalcYPosValue(2)), -1);
  // Cells that do not spread out name none.
  g.series->SetXStep(0);
  EXPECT_EQ(g.series->Clicked(b.CalcXPosValue(1), l.CalcYPosValue(1)), -1);
  g.Render();
  TMtxGridSeries empty;
  EXPECT_EQ(empty.Clicked(0, 0), -1);
}

TEST(MtxGridSeries, ExtremesAreTheOuterBordersOfTheCells) {
  TMtxGridSeries s;
  s.SetXOffset(10);
  s.SetXStep(2);
  s.SetYOffset(-1);
  s.SetYStep(0.5);
  EXPECT_EQ(s.MinXValue(), 10);
  EXPECT_EQ(s.MaxXValue(), 10);
  EXPECT_EQ(s.MinYValue(), -1);
  EXPECT_EQ(s.MaxYValue(), -1);
  EXPECT_EQ(s.Count(), 0);
  s.SetMatrix(*Matrix(4, 3, std::vector<double>(12, 1.0)));
  EXPECT_EQ(s.MinXValue(), 9);
  EXPECT_EQ(s.MaxXValue(), 15);
  EXPECT_EQ(s.MinYValue(), -1.25);
  EXPECT_EQ(s.MaxYValue(), 0.75);
  // One placeholder point makes the engine draw the series.
  EXPECT_EQ(s.Count(), 1);
}

TEST(MtxGridSeries, IsInTheGalleryUnderItsOwnName) {
  const chart::TKivSeriesType* t = chart::FindSeriesType(TMtxGridSeries::StaticClassInfo());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Description, "Mtx Grid");
  EXPECT_EQ(t->GalleryPage, "Halvane");
  EXPECT_EQ(TMtxGridSeries().EditorClassName(), "TMtxGridSeriesEditor");
}

}  // namespace
}  // namespace analysis_ui
