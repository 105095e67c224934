// Pictures of the generator's pages at 1280 x 800 after the default design,
// kept in the build folder and checked by probes: the amplitude curve where
// its scale puts the pass band's 256, the logarithmic curve on its fixed
// range, the candles with the red preview over them, the coefficient points,
// the indicator text.
// Covers: formRemez.cpp (layout), formRemez_Charts.cpp, formRemez_Design.cpp.
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>

#include <set>
#include <QTabWidget>

#include "WorkbenchFixture.h"
#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"

namespace workbench {
namespace {

class GeneratorScreenshot : public TWorkbenchTest {
 protected:
  // A picture of the whole main window with the page shown.
  QImage Shot(QTabWidget& pages, int page, const std::string& name) {
    pages.setCurrentIndex(page);
    QTest::qWait(20);
    const QImage shot = Screenshot(*FMain, name);
    EXPECT_EQ(shot.size(), QSize(1280, 800)) << name;
    return shot;
  }

  // The pixels of a widget's area (or of a rectangle in the widget) that keep() accepts.
  int Count(const QImage& shot, QWidget& widget, const std::function<bool(QColor)>& keep, QRect area = {}) {
    if (area.isNull()) area = widget.rect();
    area.translate(widget.mapTo(FMain.get(), QPoint(0, 0)));
    int count = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), shot.height() - 1); ++y)
      for (int x = std::max(area.left(), 0); x <= std::min(area.right(), shot.width() - 1); ++x)
        if (keep(shot.pixelColor(x, y))) ++count;
    return count;
  }
};

bool Lime(QColor c) { return c.green() > 200 && c.red() < 90 && c.blue() < 90; }
bool Red(QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; }
bool Dark(QColor c) { return c.lightness() < 80; }

TEST_F(GeneratorScreenshot, EveryPageAfterTheDefaultDesign) {
  StartWorkbench(OwnMethodSettings);
  TfrmRemez& g = Generator();
  DesignAndWait(g);
  ASSERT_FALSE(g.IndicatorText().empty());

  {
    // The amplitude: its first points are the pass band near 256, drawn
    // where the left axis' scale puts their values.
    const QImage shot = Shot(*g.pcMain, 0, "generator_fft");
    auto& power = dynamic_cast<chart::TChart&>(g.ChartPower->Panel());
    ASSERT_EQ(g.Series1->Count(), 129);
    EXPECT_EQ(g.LineSeries1->Count(), 128);
    for (int i : {0, 3, 6}) {
      const double value = g.Series1->YValues()->Value(i);
      EXPECT_NEAR(value, 256, 40) << i;
      const int x = g.Series1->CalcXPos(i), y = power.LeftAxis()->CalcYPosValue(value);
      EXPECT_GT(Count(shot, *g.ChartPower, Lime, QRect(x - 2, y - 3, 5, 7)), 0) << "no curve at point " << i;
    }
    EXPECT_GT(Count(shot, *g.ChartPower, Lime), 300);
    EXPECT_GT(Count(shot, *g.ChartPhase, Red), 300);
    EXPECT_GT(Count(shot, *g.ChartPower, Dark), g.ChartPower->width() * g.ChartPower->height() / 2);
  }
  {
    // The logarithmic amplitude on its fixed range: min to max and 5 % above.
    const QImage shot = Shot(*g.pcMain, 1, "generator_log");
    auto& log = dynamic_cast<chart::TChart&>(g.LogChart->Panel());
    EXPECT_EQ(g.LineSeries2->Count(), 250);
    EXPECT_FALSE(log.LeftAxis()->Automatic());
    EXPECT_EQ(log.LeftAxis()->Minimum(), g.LogView().Minimum);
    EXPECT_EQ(log.LeftAxis()->Maximum(), g.LogView().Maximum);
    const double passBand = g.LineSeries2->YValues()->Value(2);
    const int y = log.LeftAxis()->CalcYPosValue(passBand), x = g.LineSeries2->CalcXPos(2);
    EXPECT_GT(Count(shot, *g.LogChart, Lime, QRect(x - 2, y - 3, 5, 7)), 0);
    EXPECT_GT(Count(shot, *g.LogChart, Lime), 500);
  }
  {
    // The candles in lime with the red preview over them.
    const QImage shot = Shot(*g.pcMain, 2, "generator_price");
    EXPECT_EQ(g.Series2->Count(), SyntheticBarCount);
    EXPECT_EQ(static_cast<std::size_t>(g.Series3->Count()), g.Preview().Points.size());
    auto& time = dynamic_cast<chart::TChart&>(g.TimeChart->Panel());
    EXPECT_EQ(time.BottomAxis()->Minimum(), g.PriceChart().ViewStart);
    EXPECT_EQ(time.BottomAxis()->Maximum(), g.PriceChart().ViewEnd + 1);
    EXPECT_GT(Count(shot, *g.TimeChart, Lime), 1000);
    EXPECT_GT(Count(shot, *g.TimeChart, Red), 300);
    // In its own pane, the preview leaves the candles' pane.
    ClickButton(g.chkSeparate);
    const QImage separate = Shot(*g.pcMain, 2, "generator_price_separate");
    const QRect lowerPane(0, g.TimeChart->height() * 80 / 100, g.TimeChart->width(), g.TimeChart->height() * 15 / 100);
    EXPECT_GT(Count(separate, *g.TimeChart, Red, lowerPane), 100);
    EXPECT_EQ(Count(separate, *g.TimeChart, Lime, lowerPane), 0);
    ClickButton(g.chkSeparate);
  }
  {
    // The indicator text: dark letters on the memo's white.
    const QImage shot = Shot(*g.pcText, 0, "generator_text");
    const int dark = Count(shot, *g.Memo1, Dark);
    const int light = Count(shot, *g.Memo1, [](QColor c) { return c.lightness() > 240; });
    EXPECT_GT(dark, 500);
    EXPECT_GT(light, 10 * dark);
  }
  {
    // The coefficients as red diamonds, one per coefficient.
    const QImage shot = Shot(*g.pcText, 1, "generator_live");
    ASSERT_EQ(g.Series4->Count(), 26);
    for (int k : {0, 12, 25}) {
      const int x = g.Series4->CalcXPos(k), y = g.Series4->CalcYPos(k);
      EXPECT_GT(Count(shot, *g.ChartFunct, Red, QRect(x - 2, y - 2, 5, 5)), 3) << k;
    }
  }
}

// A window too short for every input scrolls them; no row is squeezed over
// the next.
TEST_F(GeneratorScreenshot, AShortWindowScrollsItsInputs) {
  StartWorkbench(OwnMethodSettings);
  TfrmRemez& g = Generator();
  DesignAndWait(g);  // the rows shown after a design too
  FMain->resize(1280, 560);
  QTest::qWait(20);
  const QImage shot = Screenshot(*FMain, "generator_short");
  // Every label of the band group keeps its height, each below the one before.
  int bottom = -1;
  for (const char* name : {"Label1", "Label2", "Label3", "Label4", "LabelP2a", "LabelP2b", "LabelP2c"}) {
    auto& label = Control<QLabel>(g, name);
    EXPECT_GE(label.height(), label.sizeHint().height()) << name;
    const QRect at(label.mapTo(FMain.get(), QPoint(0, 0)), label.size());
    EXPECT_GT(at.top(), bottom) << name;
    bottom = at.bottom();
  }
  EXPECT_GE(g.FIRGroupBox->height(), g.FIRGroupBox->sizeHint().height());
  auto& scroll = Control<QScrollArea>(g, "sbParameters");
  QScrollBar* bar = scroll.verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_GT(bar->maximum(), 0);
  // The bar is drawn: its handle differs from the groove somewhere along it.
  const QRect drawn(bar->mapTo(FMain.get(), QPoint(0, 0)), bar->size());
  std::set<QRgb> colours;
  for (int y = drawn.top(); y <= drawn.bottom(); ++y) colours.insert(shot.pixel(drawn.center().x(), y));
  EXPECT_GT(colours.size(), 2u);
  // The last control comes into view, drawn.
  scroll.ensureWidgetVisible(g.btnCopy);
  const QImage scrolled = Screenshot(*FMain, "generator_short_scrolled");
  const QRect button(g.btnCopy->mapTo(FMain.get(), QPoint(0, 0)), g.btnCopy->size());
  EXPECT_TRUE(QRect(scroll.viewport()->mapTo(FMain.get(), QPoint(0, 0)), scroll.viewport()->size()).contains(button));
  EXPECT_TRUE(FMain->rect().contains(button));
  int letters = 0;
  for (int y = button.top(); y <= std::min(button.bottom(), scrolled.height() - 1); ++y)
    for (int x = button.left(); x <= button.right(); ++x) letters += QColor(scrolled.pixel(x, y)).lightness() < 80;
  EXPECT_GT(letters, 20);
}

// After a design that fails no view shows the design before it: the inputs
// no longer describe it.
TEST_F(GeneratorScreenshot, AFailedDesignLeavesNoViewOfTheOneBefore) {
  StartWorkbench(OwnMethodSettings);
  TfrmRemez& g = Generator();
  DesignAndWait(g);
  ASSERT_GT(g.Series4->Count(), 0);
  // Two taps are no filter the library designs.
  ClickButton(g.Method2);
  ClickButton(g.CheckBoxOrder);
  g.InputOrder->SetValue(2);
  DesignAndWait(g);
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();

  EXPECT_TRUE(g.FftViews().Amplitude.empty());
  EXPECT_TRUE(g.LogView().Values.empty());
  EXPECT_TRUE(g.Preview().Points.empty());
  for (chart::TChartSeries* series : std::initializer_list<chart::TChartSeries*>{
           g.Series1, g.LineSeries1, g.LineSeries2, g.Series3, g.Series4})
    EXPECT_EQ(series->Count(), 0) << series->Name();
  {
    const QImage shot = Shot(*g.pcMain, 0, "generator_failed_fft");
    EXPECT_EQ(Count(shot, *g.ChartPower, Lime), 0);
    EXPECT_EQ(Count(shot, *g.ChartPhase, Red), 0);
  }
  {
    const QImage shot = Shot(*g.pcMain, 1, "generator_failed_log");
    EXPECT_EQ(Count(shot, *g.LogChart, Lime), 0);
  }
  {
    // The candles stay; the red preview over them is gone.
    const QImage shot = Shot(*g.pcMain, 2, "generator_failed_price");
    EXPECT_GT(Count(shot, *g.TimeChart, Lime), 1000);
    EXPECT_EQ(Count(shot, *g.TimeChart, Red), 0);
  }
  {
    const QImage shot = Shot(*g.pcText, 1, "generator_failed_live");
    EXPECT_EQ(Count(shot, *g.ChartFunct, Red), 0);
  }
  // Prices opened after the failure get no line of a filter that is not there.
  g.actChartRefreshExecute();
  g.ApplyFilterToChart();
  EXPECT_EQ(g.Series3->Count(), 0);
}

}  // namespace
}  // namespace workbench
