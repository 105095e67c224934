// The values window: a vector as a line and a matrix as a coloured grid with
// its colour scale, the captions, the window's place read from the settings
// store and never written, one window for the whole run that starts empty at
// every showing, and its end before the application's.
// Covers: analysis_ui/ValuesWindow.cpp, analysis_ui/AnalysisUiInit.cpp.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>

#include <cmath>
#include <functional>
#include <string>

#include "analysis_ui/NumoraKiv.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

using ui::Control;

class ValuesWindow : public ui::TWindowTest {
 protected:
  void TearDown() override {
    FreeValuesWindow();
    TWindowTest::TearDown();
  }

  // Answers the next modal showing: the window shown, its chart painted, then
  // inspect(window, chart, picture of the chart); the user closes it.
  void OnShow(const std::function<void(QDialog&, chart::TChart&, const QImage&)>& inspect,
              const std::string& screenshot = "") {
    FDialogs.Modals.push_back([=](QDialog& window) {
      window.show();
      auto& view = Control<chart::TKivPanelWidget>(window, "ValuesChart");
      const QImage picture = screenshot.empty() ? view.grab().toImage() : ui::Screenshot(view, screenshot);
      inspect(window, dynamic_cast<chart::TChart&>(view.Panel()), picture);
      window.hide();
      return static_cast<int>(QDialog::Rejected);
    });
  }
};

TEST_F(ValuesWindow, ShowsAVectorAsALineOverItsIndexes) {
  numeric::TVec v;
  v.Size(200, false);
  for (int i = 0; i < 200; ++i) v.Values()[i] = std::sin(2 * numeric::PI * i / 50);
  OnShow(
      [&](QDialog& window, chart::TChart& chart, const QImage& picture) {
        EXPECT_EQ(window.windowTitle(), "Sine");
        ASSERT_EQ(chart.SeriesCount(), 1);
        auto* line = dynamic_cast<chart::TFastLineSeries*>(chart.Series(0));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Count(), 200);
        EXPECT_FALSE(chart.Legend()->Visible());
        EXPECT_FALSE(chart.View3D());
        EXPECT_EQ(chart.BottomAxis()->Title()->Caption(), "Index");
        EXPECT_EQ(chart.LeftAxis()->Title()->Caption(), "Value");
        EXPECT_EQ(chart.BottomAxis()->Minimum(), 0);
        EXPECT_EQ(chart.BottomAxis()->Maximum(), 199);
        // The line (black: no colour is chosen for it) rises through 0.5 at
        // index 50 / 12 and falls through -0.5 at 50 - 50 / 12.
        const chart::TChartAxis& b = *chart.BottomAxis();
        const chart::TChartAxis& l = *chart.LeftAxis();
        const auto lineAt = [&](double x, double y) {
          const int px = b.CalcXPosValue(x), py = l.CalcYPosValue(y);
          for (int dx = -3; dx <= 3; ++dx)
            for (int dy = -3; dy <= 3; ++dy)
              if (chart::FromQRgb(picture.pixel(px + dx, py + dy)) == chart::clBlack) return true;
          return false;
        };
        EXPECT_TRUE(lineAt(50.0 / 12, 0.5));
        EXPECT_TRUE(lineAt(50 - 50.0 / 12, -0.5));
        EXPECT_FALSE(lineAt(50.0 / 12, -0.5));
      },
      "values_window_vector");
  DrawVector(v, "Sine", false);
}

TEST_F(ValuesWindow, ShowsTheMagnitudesOfAComplexVector) {
  numeric::TVec v;
  v.Size(3, true);
  v.CValues()[0] = {3, 4};
  v.CValues()[1] = {0, -2};
  v.CValues()[2] = {1, 0};
  OnShow([&](QDialog& window, chart::TChart& chart, const QImage&) {
    EXPECT_EQ(window.windowTitle(), "Vector values");
    EXPECT_EQ(chart.LeftAxis()->Title()->Caption(), "Magnitude");
    const chart::TChartValueList& y = *chart.Series(0)->YValues();
    EXPECT_EQ(std::vector<double>(y.Values().begin(), y.Values().end()), (std::vector<double>{5, 2, 1}));
  });
  DrawVector(v, "", false);
}

TEST_F(ValuesWindow, ShowsAMatrixAsAGridWithItsColourScaleLargestFirst) {
  numeric::TMtx m;
  m.Size(3, 4, false);
  for (int i = 0; i < 12; ++i) m.Values()[i] = i;
  OnShow(
      [&](QDialog& window, chart::TChart& chart, const QImage& picture) {
        EXPECT_EQ(window.windowTitle(), "Matrix values");
        EXPECT_EQ(chart.Title()->Text(), std::vector<std::string>{"Value"});
        ASSERT_EQ(chart.SeriesCount(), 1);
        ASSERT_NE(dynamic_cast<TMtxGridSeries*>(chart.Series(0)), nullptr);
        EXPECT_TRUE(chart.Legend()->Visible());
        EXPECT_TRUE(chart.BottomAxis()->OtherSide());
        EXPECT_EQ(chart.BottomAxis()->Minimum(), -0.5);
        EXPECT_EQ(chart.BottomAxis()->Maximum(), 3.5);
        EXPECT_EQ(chart.LeftAxis()->Minimum(), -0.5);
        EXPECT_EQ(chart.LeftAxis()->Maximum(), 2.5);
        // The scale: 11 first, 0 last.
        const chart::TChartLegend& legend = *chart.Legend();
        ASSERT_EQ(legend.ItemCount(), 10);
        EXPECT_EQ(legend.ItemText(0), "11");
        EXPECT_EQ(legend.ItemText(9), "0");
        // Cell (0, 0) holds the smallest value, cell (2, 3) the largest.
        const chart::TChartAxis& b = *chart.BottomAxis();
        const chart::TChartAxis& l = *chart.LeftAxis();
        EXPECT_EQ(chart::FromQRgb(picture.pixel(b.CalcXPosValue(0), l.CalcYPosValue(0))), chart::clWhite);
        EXPECT_EQ(chart::FromQRgb(picture.pixel(b.CalcXPosValue(3), l.CalcYPosValue(2))), chart::clNavy);
        // The legend's symbols run from the top colour down: navy above the
        // colour of entry 3 (value 3.67, item 6).
        const chart::TRect box = legend.ShapeBounds();
        const auto firstRowWith = [&](chart::TColor color) {
          for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x)
              if (chart::FromQRgb(picture.pixel(x, y)) == color) return y;
          return -1;
        };
        const int navy = firstRowWith(chart::clNavy), third = firstRowWith(0xD5AAAA);
        EXPECT_GE(navy, box.Top);
        EXPECT_GT(third, navy);
      },
      "values_window_matrix");
  DrawMatrix(m, "");
}

TEST_F(ValuesWindow, AComplexMatrixShowsItsMagnitudes) {
  numeric::TMtx m;
  m.Size(1, 2, true);
  m.CValues()[0] = {3, 4};
  m.CValues()[1] = {0, 1};
  OnShow([&](QDialog& window, chart::TChart& chart, const QImage&) {
    EXPECT_EQ(window.windowTitle(), "Powers");
    EXPECT_EQ(chart.Title()->Text(), std::vector<std::string>{"Magnitude"});
    const auto& grid = dynamic_cast<TMtxGridSeries&>(*chart.Series(0));
    EXPECT_FALSE(grid.Matrix().Complex());
    EXPECT_EQ(grid.Matrix().Values()[0], 5);
    EXPECT_EQ(grid.Matrix().Values()[1], 1);
  });
  DrawMatrix(m, "Powers");
}

TEST_F(ValuesWindow, IsOneWindowThatStartsEmptyAtEveryShowing) {
  numeric::TVec a, b;
  a.Size(5, false);
  a.SetVal(1);
  b.Size(7, false);
  b.SetVal(2);
  QDialog* first = nullptr;
  OnShow([&](QDialog& window, chart::TChart&, const QImage&) { first = &window; });
  OnShow([&](QDialog& window, chart::TChart& chart, const QImage&) {
    EXPECT_EQ(&window, first);
    ASSERT_EQ(chart.SeriesCount(), 1);
    EXPECT_EQ(chart.Series(0)->Count(), 7);
    EXPECT_EQ(window.findChildren<chart::TKivPanelWidget*>().size(), 1);
  });
  DrawVector(a, "", false);
  DrawVector(b, "", false);
}

TEST_F(ValuesWindow, ReadsItsPlaceFromTheStoreAndNeverWritesIt) {
  {
    ui::TRegIniFile store("\\Software\\Halvane\\Numora");
    store.WriteInteger("DrawIt", "Left", 30);
    store.WriteInteger("DrawIt", "Top", 40);
    store.WriteInteger("DrawIt", "Width", 700);
    store.WriteInteger("DrawIt", "Height", 300);
    store.UpdateFile();
  }
  QFile file(QString::fromStdString(StoreFile()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray stored = file.readAll();
  file.close();
  numeric::TVec v;
  v.Size(3, false);
  OnShow([&](QDialog& window, chart::TChart& chart, const QImage&) {
    EXPECT_EQ(window.width(), 700);
    EXPECT_EQ(window.height(), 300);
    EXPECT_EQ(chart.Width(), 700);
    window.move(300, 200);
    window.resize(500, 500);
  });
  DrawVector(v, "", false);
  FreeValuesWindow();
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), stored);
}

TEST_F(ValuesWindow, AStoredSizeTooSmallForAChartIsNotTaken) {
  {
    ui::TRegIniFile store("\\Software\\Halvane\\Numora");
    store.WriteInteger("DrawIt", "Width", -5);
    store.WriteString("DrawIt", "Height", "tall");
    store.UpdateFile();
  }
  numeric::TVec v;
  v.Size(3, false);
  OnShow([&](QDialog& window, chart::TChart&, const QImage&) {
    EXPECT_GE(window.width(), 160);
    EXPECT_EQ(window.height(), 480);
  });
  DrawVector(v, "", false);
}

TEST_F(ValuesWindow, TheReductionFollowsTheWidthOfTheWindow) {
  {
    ui::TRegIniFile store("\\Software\\Halvane\\Numora");
    store.WriteInteger("DrawIt", "Width", 200);
    store.UpdateFile();
  }
  numeric::TVec v;
  v.Size(6000, false);
  for (int i = 0; i < 6000; ++i) v.Values()[i] = i % 17;
  OnShow([&](QDialog&, chart::TChart& chart, const QImage&) {
    // Bins of 10 samples for 600 values, two values a bin.
    EXPECT_EQ(chart.Series(0)->Count(), 1200);
  });
  DrawVector(v, "", true);
}

}  // namespace
}  // namespace analysis_ui
