// The discrete and high-low signal series drawn on an offscreen chart and
// read back by pixel probes: where the stems end, what a point without a
// colour leaves out, how the origin and the line mode change the vertical
// range, the band's fill and outlines, null points, empty and one-point
// series, the fixed Z order of the mark cursors, and the gallery entries.
// Covers: analysis_ui/SignalSeriesKiv.cpp.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "analysis_ui/SignalSeriesKiv.h"
#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/testing/PlainChart.h"
#include "chart/testing/RecordingCanvas.h"
#include "platform/classlib/ClassRegistry.h"

namespace analysis_ui {
namespace {

using chart::TColor;

constexpr TColor Red = chart::clRed, Blue = chart::clBlue;

TColor PixelAt(const QImage& image, int x, int y) { return chart::FromQRgb(image.pixel(x, y)); }

// Whether the colour lies within a pixel of (x, y) across: a one-pixel line
// may fall on either side of a rounded position.
bool InkNear(const QImage& image, int x, int y, TColor color) {
  for (int dx = -1; dx <= 1; ++dx)
    if (image.valid(x + dx, y) && PixelAt(image, x + dx, y) == color) return true;
  return false;
}

// Pixels of the colour in the column band x-1 .. x+1 from row top to bottom.
int InkInColumn(const QImage& image, int x, int top, int bottom, TColor color) {
  int n = 0;
  for (int y = top; y <= bottom; ++y) n += InkNear(image, x, y, color) ? 1 : 0;
  return n;
}

int CountColor(const QImage& image, TColor color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += PixelAt(image, x, y) == color ? 1 : 0;
  return n;
}

// A white 2D chart without a legend; values map to pixels through its axes
// as the last pass laid them out.
struct TPlot {
  TPlot() { chart.SetBounds(420, 320); }
  template <class S>
  S& Add(TColor color) {
    S* s = chart::testing::AddPlainSeries<S>(chart);
    s->SetSeriesColor(color);
    return *s;
  }
  QImage Render() { return chart::testing::RenderedPicture(chart); }
  // Writes the picture beside the test, as the window tests write theirs.
  QImage Shot(const std::string& name) {
    QImage image = Render();
    image.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/" + name + ".png"));
    return image;
  }
  int X(double v) const { return chart.BottomAxis()->CalcXPosValue(v); }
  int Y(double v) const { return chart.LeftAxis()->CalcYPosValue(v); }
  int Bottom() const { return chart.LeftAxis()->IEndPos(); }
  chart::TChart chart;
};

// --- discrete series ----------------------------------------------------------

TEST(SignalDiscreteSeries, StemsRunToTheBottomOfThePlotWithoutAnOrigin) {
  TPlot plot;
  auto& s = plot.Add<TSignalDiscreteSeries>(Red);
  EXPECT_FALSE(s.UseYOrigin());
  EXPECT_EQ(s.YOrigin(), 0);
  s.AddXY(0, 4);
  s.AddXY(1, -3);
  s.AddXY(2, 2);
  const QImage image = plot.Shot("signal_point");
  EXPECT_EQ(s.OriginPos(), plot.Bottom() - 1);
  // Up and down from the bottom alike, a negative sample too.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const double y = s.YValues()->Value(i);
    EXPECT_TRUE(InkNear(image, plot.X(i), (plot.Y(y) + plot.Bottom()) / 2, Red));
    EXPECT_TRUE(InkNear(image, plot.X(i), plot.Bottom() - 2, Red));
    // Nothing above the sample's pointer.
    EXPECT_EQ(InkInColumn(image, plot.X(i), plot.chart.LeftAxis()->IStartPos(), plot.Y(y) - 8, Red), 0);
  }
  // The pointer sits on the sample: filled in the point's colour beside the stem.
  EXPECT_EQ(PixelAt(image, plot.X(0) + 2, plot.Y(4)), Red);
}

TEST(SignalDiscreteSeries, StemsEndAtTheOriginWhenOneIsUsed) {
  TPlot plot;
  auto& s = plot.Add<TSignalDiscreteSeries>(Red);
  s.Pointer()->SetVisible(false);
  s.SetUseYOrigin(true);
  s.SetYOrigin(1);
  s.AddXY(0, 4);
  s.AddXY(1, -3);
  s.AddXY(2, 3);
  // Without pointers the end samples would stand on the plot's frame.
  plot.chart.BottomAxis()->SetMinMax(-1, 3);
  const QImage image = plot.Render();
  EXPECT_EQ(s.OriginPos(), plot.Y(1));
  // Upward stems stop at the origin ...
  EXPECT_TRUE(InkNear(image, plot.X(2), plot.Y(2), Red));
  EXPECT_EQ(InkInColumn(image, plot.X(2), plot.Y(1) + 3, plot.Bottom() - 1, Red), 0);
  // ... and downward ones start there.
  EXPECT_TRUE(InkNear(image, plot.X(1), plot.Y(-1), Red));
  EXPECT_EQ(InkInColumn(image, plot.X(1), plot.chart.LeftAxis()->IStartPos(), plot.Y(1) - 3, Red), 0);
}

TEST(SignalDiscreteSeries, APointWithoutColourDrawsNeitherStemNorPointer) {
  TPlot plot;
  auto& s = plot.Add<TSignalDiscreteSeries>(Red);
  s.AddXY(0, 4);
  s.AddXY(1, 3, "", chart::clNone);
  s.AddXY(2, 2);
  const QImage image = plot.Render();
  const int top = plot.chart.LeftAxis()->IStartPos(), bottom = plot.Bottom() - 1;
  EXPECT_EQ(InkInColumn(image, plot.X(1), top, bottom, Red), 0);
  EXPECT_GT(InkInColumn(image, plot.X(0), top, bottom, Red), 0);
  EXPECT_GT(InkInColumn(image, plot.X(2), top, bottom, Red), 0);
}

TEST(SignalDiscreteSeries, AnOriginOutsideTheDataWidensTheVerticalRange) {
  TPlot plot;
  auto& s = plot.Add<TSignalDiscreteSeries>(Red);
  for (double y : {1.0, 2.0, 3.0}) s.Add(y);
  s.SetYOrigin(10);
  // Only a used origin counts.
  EXPECT_EQ(s.MaxYValue(), 3);
  s.SetUseYOrigin(true);
  EXPECT_EQ(s.MaxYValue(), 10);
  EXPECT_EQ(s.MinYValue(), 1);
  plot.Render();
  EXPECT_GE(plot.chart.LeftAxis()->Maximum(), 10);
  EXPECT_EQ(s.OriginPos(), plot.Y(10));
  s.SetYOrigin(-5);
  EXPECT_EQ(s.MaxYValue(), 3);
  EXPECT_EQ(s.MinYValue(), -5);
  plot.Render();
  EXPECT_LE(plot.chart.LeftAxis()->Minimum(), -5);
}

TEST(SignalDiscreteSeries, AnEmptySeriesDrawsNothingAndOnePointOneStem) {
  TPlot plot;
  auto& s = plot.Add<TSignalDiscreteSeries>(Red);
  s.SetUseYOrigin(true);
  EXPECT_EQ(CountColor(plot.Render(), Red), 0);
  s.AddXY(5, 2);
  const QImage image = plot.Render();
  EXPECT_TRUE(InkNear(image, plot.X(5), plot.Y(1), Red));
  EXPECT_EQ(PixelAt(image, plot.X(5) + 2, plot.Y(2)), Red);
}

TEST(SignalDiscreteSeries, AnOriginThatIsNoNumberIsRefused) {
  TSignalDiscreteSeries s;
  s.SetYOrigin(2.5);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity()}) {
    EXPECT_THROW(s.SetYOrigin(bad), chart::ChartException);
    EXPECT_EQ(s.YOrigin(), 2.5);
  }
}

TEST(SignalDiscreteSeries, AssignCopiesTheOriginAfterThePointSettings) {
  TSignalDiscreteSeries a, b;
  a.SetUseYOrigin(true);
  a.SetYOrigin(-1.5);
  a.Pointer()->SetHorizSize(7);
  b.Assign(a);
  EXPECT_TRUE(b.UseYOrigin());
  EXPECT_EQ(b.YOrigin(), -1.5);
  EXPECT_EQ(b.Pointer()->HorizSize(), 7);
  // From another point kind only the inherited settings come.
  chart::TPointSeries plain;
  b.Assign(plain);
  EXPECT_TRUE(b.UseYOrigin());
  EXPECT_EQ(b.YOrigin(), -1.5);
  EXPECT_EQ(b.EditorClassName(), "TSignalDiscreteSeriesEditor");
}

TEST(SignalDiscreteSeries, AFixedZOrderPutsTheSeriesOnAnotherSeriesPlane) {
  TPlot plot;
  plot.chart.SetView3D(true);
  auto& analysed = plot.Add<chart::TPointSeries>(Blue);
  auto& marks = plot.Add<TSignalDiscreteSeries>(Red);
  plot.chart.SetView3D(true);
  analysed.Add(1);
  marks.Add(2);
  plot.Render();
  EXPECT_EQ(analysed.GetZOrder(), 0);
  EXPECT_EQ(marks.GetZOrder(), 1);
  marks.SetFixedZOrder(0);
  plot.Render();
  EXPECT_EQ(marks.GetZOrder(), 0);
  EXPECT_FALSE(marks.MoreSameZOrder());
  EXPECT_EQ(plot.chart.MaxZOrder(), 0);
  marks.SetFixedZOrder(-1);
  plot.Render();
  EXPECT_EQ(marks.GetZOrder(), 1);
}

// --- high-low series ------------------------------------------------------------

// Four X values, the high ones at 8 or 9 and the low ones at 1 to 3.
TSignalHighLowSeries& AddBand(TPlot& plot) {
  auto& s = plot.Add<TSignalHighLowSeries>(Blue);
  s.AddHighLow(0, 8, 2);
  s.AddHighLow(1, 9, 3);
  s.AddHighLow(2, 8, 1);
  s.AddHighLow(3, 9, 2);
  return s;
}

TEST(SignalHighLowSeries, TheBandIsFilledBetweenTheHighAndTheLowLine) {
  TPlot plot;
  auto& s = AddBand(plot);
  EXPECT_EQ(s.SeriesMode(), ssmHighLow);
  EXPECT_EQ(s.HighBrush()->Style(), chart::bsSolid);
  const QImage image = plot.Shot("signal_high_low");
  for (double x : {0.5, 1.5, 2.5}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(PixelAt(image, plot.X(x), plot.Y(5)), Blue);
    // Above the highs and below the lows the chart's white shows.
    EXPECT_NE(PixelAt(image, plot.X(x), plot.Y(9.4)), Blue);
    EXPECT_NE(PixelAt(image, plot.X(x), plot.Y(0.6)), Blue);
  }
  EXPECT_EQ(s.MaxYValue(), 9);
  EXPECT_EQ(s.MinYValue(), 1);
}

TEST(SignalHighLowSeries, TheBandTakesTheColourOfTheSecondPoint) {
  TPlot plot;
  auto& s = AddBand(plot);
  s.SetValueColor(1, Red);
  const QImage image = plot.Render();
  EXPECT_EQ(PixelAt(image, plot.X(0.5), plot.Y(5)), Red);
  EXPECT_EQ(PixelAt(image, plot.X(2.5), plot.Y(5)), Red);
}

TEST(SignalHighLowSeries, AnOpenBandShowsItsSegmentsInTheSeriesPen) {
  TPlot plot;
  auto& s = AddBand(plot);
  s.HighBrush()->SetStyle(chart::bsClear);
  const QImage image = plot.Render();
  EXPECT_NE(PixelAt(image, plot.X(1.5), plot.Y(5)), Blue);
  // The sides of the segments run from each high value down to its low one.
  EXPECT_TRUE(InkNear(image, plot.X(1), plot.Y(6), Blue));
  EXPECT_TRUE(InkNear(image, plot.X(2), plot.Y(4), Blue));
}

TEST(SignalHighLowSeries, TheLineModeDrawsOnlyTheHighValues) {
  TPlot plot;
  auto& s = AddBand(plot);
  s.SetSeriesMode(ssmLine);
  const QImage image = plot.Render();
  EXPECT_NE(PixelAt(image, plot.X(1.5), plot.Y(5)), Blue);
  EXPECT_TRUE(InkNear(image, plot.X(1), plot.Y(9), Blue));
  EXPECT_TRUE(InkNear(image, plot.X(0.5), plot.Y(8.5), Blue));
  // The range is the high values' alone.
  EXPECT_EQ(s.MinYValue(), 8);
  EXPECT_EQ(s.MaxYValue(), 9);
  EXPECT_GT(plot.chart.LeftAxis()->Minimum(), 3);
  // A number that names no mode is read as the band.
  s.SetSeriesMode(static_cast<TSignalSeriesMode>(7));
  EXPECT_EQ(s.SeriesMode(), ssmHighLow);
}

TEST(SignalHighLowSeries, ANullPointBreaksTheBand) {
  TPlot plot;
  auto& s = AddBand(plot);
  s.AddHighLow(4, 8, 2);
  s.SetValueColor(2, chart::clNone);
  const QImage image = plot.Render();
  EXPECT_EQ(PixelAt(image, plot.X(0.5), plot.Y(5)), Blue);
  EXPECT_NE(PixelAt(image, plot.X(1.5), plot.Y(5)), Blue);
  EXPECT_NE(PixelAt(image, plot.X(2.5), plot.Y(5)), Blue);
  EXPECT_EQ(PixelAt(image, plot.X(3.5), plot.Y(5)), Blue);
}

TEST(SignalHighLowSeries, EmptyAndSinglePointSeriesDrawNoBand) {
  TPlot plot;
  auto& s = plot.Add<TSignalHighLowSeries>(Blue);
  EXPECT_EQ(CountColor(plot.Render(), Blue), 0);
  s.AddHighLow(1, 5, 2);
  EXPECT_EQ(CountColor(plot.Render(), Blue), 0);
}

TEST(SignalHighLowSeries, LowValuesWrittenApartFromTheHighOnesAreDroppedToZero) {
  TPlot plot;
  auto& s = AddBand(plot);
  // A direct write of the X and high lists, as the analysis charts write series.
  s.XValues()->SetCount(6);
  s.YValues()->SetCount(6);
  for (int i = 4; i < 6; ++i) {
    s.XValues()->WritableValues()[static_cast<std::size_t>(i)] = i;
    s.YValues()->WritableValues()[static_cast<std::size_t>(i)] = 8;
  }
  ASSERT_EQ(s.LowValues()->Count(), 4);
  const QImage image = plot.Render();
  ASSERT_EQ(s.LowValues()->Count(), 6);
  for (double low : s.LowValues()->Values()) EXPECT_EQ(low, 0);
  // The band now reaches down to zero, where the lows were 1 to 3.
  EXPECT_EQ(PixelAt(image, plot.X(4.5), plot.Y(1.5)), Blue);
  EXPECT_EQ(PixelAt(image, plot.X(1), plot.Y(2)), Blue);
}

TEST(SignalHighLowSeries, DrawsInThreeDimensions) {
  TPlot plot;
  AddBand(plot);
  plot.chart.SetView3D(true);
  EXPECT_GT(CountColor(plot.Render(), Blue), 1000);
}

TEST(SignalHighLowSeries, AssignCopiesTheModeAndEverySeriesKeepsItsOwnDepth) {
  TSignalHighLowSeries a, b;
  a.SetSeriesMode(ssmLine);
  b.Assign(a);
  EXPECT_EQ(b.SeriesMode(), ssmLine);
  TPlot plot;
  plot.chart.SetView3D(true);
  auto& one = AddBand(plot);
  auto& two = AddBand(plot);
  one.SetZOrder(0);
  two.SetZOrder(0);
  EXPECT_FALSE(one.MoreSameZOrder());
  EXPECT_FALSE(two.MoreSameZOrder());
}

TEST(SignalHighLowSeries, APolylineBeyondItsPointsIsRefused) {
  chart::testing::TRecordingCanvas canvas;
  const std::vector<chart::TPoint> points{{0, 0}, {5, 5}, {10, 0}};
  DrawPolyline(canvas, points, 1, 2);
  EXPECT_EQ(canvas.Calls("Polyline").size(), 1u);
  for (auto [index, len] : {std::pair<std::size_t, std::size_t>{2, 2}, {0, 4}, {4, 0}}) {
    try {
      DrawPolyline(canvas, points, index, len);
      ADD_FAILURE() << "drew " << len << " points from " << index;
    } catch (const chart::ChartException& e) {
      EXPECT_STREQ(e.what(), "(Len+Index) > Length(Points)");
    }
  }
  EXPECT_EQ(canvas.Calls("Polyline").size(), 1u);
}

// --- registration -------------------------------------------------------------

TEST(SignalSeriesKiv, BothKindsStandOnTheGalleryPageDsp) {
  const chart::TKivSeriesType* point = chart::FindSeriesType(TSignalDiscreteSeries::StaticClassInfo());
  const chart::TKivSeriesType* band = chart::FindSeriesType(TSignalHighLowSeries::StaticClassInfo());
  ASSERT_NE(point, nullptr);
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(point->Description, "Signal point");
  EXPECT_EQ(band->Description, "Signal high-low");
  EXPECT_EQ(point->GalleryPage, "DSP");
  EXPECT_EQ(band->GalleryPage, "DSP");
  EXPECT_EQ(point->NumGallerySeries, 2);
  EXPECT_EQ(band->NumGallerySeries, 2);
  // Streams and the gallery create them by name.
  EXPECT_EQ(&classlib::FindClass("TSignalDiscreteSeries"), &TSignalDiscreteSeries::StaticClassInfo());
  chart::TChart chart;
  chart::TChartSeries* created =
      chart::CreateChartSeries(&chart, chart, *classlib::GetClass("TSignalHighLowSeries"));
  EXPECT_NE(dynamic_cast<TSignalHighLowSeries*>(created), nullptr);

  UnregisterSignalSeriesKiv();
  EXPECT_EQ(chart::FindSeriesType(TSignalDiscreteSeries::StaticClassInfo()), nullptr);
  EXPECT_EQ(chart::FindSeriesType(TSignalHighLowSeries::StaticClassInfo()), nullptr);
  EXPECT_EQ(classlib::GetClass("TSignalDiscreteSeries"), nullptr);
  RegisterSignalSeriesKiv();
  EXPECT_NE(chart::FindSeriesType(TSignalDiscreteSeries::StaticClassInfo()), nullptr);
}

}  // namespace
}  // namespace analysis_ui
