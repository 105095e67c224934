// Covers the drawing of every series kind through QPainter: each kind with
// sample values, marks and legend, in 2D and in 3D, gathered into one gallery
// picture in the build folder and checked by probes (the kind's colour inside
// the chart rectangle and beside its legend text).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/AreaSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/ErrorSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SeriesMarks.h"

namespace chart {
namespace {

constexpr int PanelWidth = 330, PanelHeight = 230;

struct TKind {
  std::string Name;
  std::function<TChartSeries*(TChart&)> Make;
  // The colour the kind must show.
  TColor Probe;
};

template <class S>
S* New(TChart& chart) {
  auto* s = new S(&chart);
  s->SetParentChart(&chart);
  return s;
}

std::vector<TKind> Kinds() {
  return {
      {"Line", [](TChart& c) { auto* s = New<TLineSeries>(c); s->FillSampleValues(8); return s; }, clRed},
      {"Horiz. line", [](TChart& c) { auto* s = New<THorizLineSeries>(c); s->FillSampleValues(8); return s; }, clRed},
      {"Point", [](TChart& c) { auto* s = New<TPointSeries>(c); s->FillSampleValues(8); return s; }, clRed},
      {"Fast line", [](TChart& c) { auto* s = New<TFastLineSeries>(c); s->FillSampleValues(40); return s; }, clRed},
      {"Area", [](TChart& c) { auto* s = New<TAreaSeries>(c); s->FillSampleValues(8); return s; }, clRed},
      {"Horiz. area", [](TChart& c) { auto* s = New<THorizAreaSeries>(c); s->FillSampleValues(8); return s; }, clRed},
      {"Bar", [](TChart& c) { auto* s = New<TBarSeries>(c); s->FillSampleValues(6); return s; }, clRed},
      {"Horiz. bar", [](TChart& c) { auto* s = New<THorizBarSeries>(c); s->FillSampleValues(6); return s; }, clRed},
      {"Pie",
       [](TChart& c) {
         auto* s = New<TPieSeries>(c);
         s->FillSampleValues(6);
         s->SetValueColor(0, clRed);
         return s;
       },
       clRed},
      {"Candle",
       [](TChart& c) {
         auto* s = New<TCandleSeries>(c);
         s->FillSampleValues(12);
         s->SetDownCloseColor(clRed);
         s->SetUpCloseColor(clRed);
         s->SetCandleWidth(8);
         return s;
       },
       clRed},
      {"Volume", [](TChart& c) { auto* s = New<TVolumeSeries>(c); s->FillSampleValues(30); return s; }, clRed},
      {"Error bar",
       [](TChart& c) {
         auto* s = New<TErrorBarSeries>(c);
         s->FillSampleValues(6);
         s->ErrorPen()->SetColor(clRed);  // the legend shows the whisker
         return s;
       },
       clRed},
      {"Error", [](TChart& c) { auto* s = New<TErrorSeries>(c); s->FillSampleValues(6); return s; }, clRed},
      {"High-low",
       [](TChart& c) {
         auto* s = New<THighLowSeries>(c);
         s->FillSampleValues(10);
         s->HighBrush()->SetStyle(bsSolid);
         s->LowBrush()->SetStyle(bsSolid);
         s->LowBrush()->SetColor(clRed);
         return s;
       },
       clRed},
  };
}

struct TPanel {
  QImage Image;
  TRect ChartRect;
  TRect Legend;
};

TPanel Render(const TKind& kind, bool view3D) {
  TChart chart;
  chart.SetBounds(PanelWidth, PanelHeight);
  chart.SetView3D(view3D);
  chart.SetColor(clWhite);
  chart.Title()->SetCaption(kind.Name + (view3D ? " 3D" : " 2D"));
  TChartSeries* s = kind.Make(chart);
  s->SetSeriesColor(clRed);
  s->SetTitle(kind.Name);
  s->Marks()->SetVisible(true);
  s->Marks()->SetDrawEvery(2);
  std::unique_ptr<TBitmap> b = chart.RenderToBitmap();
  return {b->Image().copy(), chart.ChartRect(), chart.Legend()->ShapeBounds()};
}

int CountColour(const QImage& img, const TRect& r, TColor c) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(img.height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(img.width(), r.Right); ++x)
      if (FromQRgb(img.pixel(x, y)) == c) ++n;
  return n;
}

TEST(SeriesGalleryPicture, EveryKindIn2DAnd3DWithMarksAndLegend) {
  const std::vector<TKind> kinds = Kinds();
  const int columns = 7;
  const int rows = static_cast<int>((kinds.size() + columns - 1) / columns);
  QImage gallery(columns * PanelWidth, 2 * rows * PanelHeight, QImage::Format_RGB32);
  gallery.fill(Qt::lightGray);
  QPainter p(&gallery);
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    for (bool view3D : {false, true}) {
      const TPanel panel = Render(kinds[k], view3D);
      const int col = static_cast<int>(k) % columns;
      const int row = static_cast<int>(k) / columns + (view3D ? rows : 0);
      p.drawImage(col * PanelWidth, row * PanelHeight, panel.Image);
      const std::string what = kinds[k].Name + (view3D ? " in 3D" : " in 2D");
      // The kind's colour inside the chart rectangle (3D: the front faces; the
      // pie takes the whole chart rectangle, without axes)...
      const TRect inside{panel.ChartRect.Left - 20, panel.ChartRect.Top - 20, panel.ChartRect.Right + 40,
                         panel.ChartRect.Bottom + 20};
      EXPECT_GT(CountColour(panel.Image, inside, kinds[k].Probe), 8) << what;
      // ... and in its legend symbol.
      EXPECT_GT(CountColour(panel.Image, panel.Legend, kinds[k].Probe), 0) << what;
    }
  }
  p.end();
  EXPECT_TRUE(gallery.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/series_gallery.png")));
}

}  // namespace
}  // namespace chart
