// Covers chart/widgets/KivPanelWidget.cpp hosting the chart control of
// chart/ChartControl.cpp: the chart painted in its window, zooming, panning
// and the wheel driven by window events, the animated zoom's frames painted
// as they come, and a series' cursor shown by the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <string>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/testing/TestPointSeries.h"
#include "chart/widgets/KivPanelWidget.h"

namespace chart {
namespace {

using testing::TTestPointSeries;

struct ChartWindow {
  TChart chart;
  TTestPointSeries* series = nullptr;
  std::unique_ptr<TKivPanelWidget> widget;
  int draws = 0;
  bool exposed = false;

  ChartWindow() {
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.Title()->SetCaption("Orvel");
    series = new TTestPointSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    for (int i = 0; i <= 10; ++i) series->AddXY(i, (i * 7) % 11);
    chart.OnAfterDraw = [this] { ++draws; };
    widget = std::make_unique<TKivPanelWidget>(chart);
    widget->resize(500, 350);
    widget->show();
    exposed = QTest::qWaitForWindowExposed(widget.get());
  }
  ~ChartWindow() { widget.reset(); }

  QImage Grab() const { return widget->grab().toImage(); }
  void Send(QEvent& e) const { QApplication::sendEvent(widget.get(), &e); }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) const {
    QMouseEvent e(type, QPointF(p), QPointF(widget->mapToGlobal(p)), b, held, Qt::NoModifier);
    Send(e);
  }
  void Drag(QPoint from, QPoint to, Qt::MouseButton b) const {
    Mouse(QEvent::MouseButtonPress, from, b, b);
    Mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, b);
    Mouse(QEvent::MouseMove, to, Qt::NoButton, b);
    Mouse(QEvent::MouseButtonRelease, to, b, Qt::NoButton);
  }
  QPoint PointOf(int i) const { return {series->CalcXPos(i), series->CalcYPos(i)}; }
};

TColor PixelAt(const QImage& img, QPoint p) { return FromQRgb(img.pixel(p)); }

TEST(ChartWidget, TheChartPaintsInItsWindow) {
  ChartWindow w;
  ASSERT_TRUE(w.exposed);
  const QImage img = w.Grab();
  img.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/chart_widget.png"));
  EXPECT_EQ(w.chart.Width(), 500);
  EXPECT_EQ(img.size(), QSize(500, 350));
  for (int i : {0, 4, 10}) EXPECT_EQ(PixelAt(img, w.PointOf(i)), clRed) << i;
  const TRect r = w.chart.ChartRect();
  EXPECT_EQ(PixelAt(img, {r.Left, (r.Top + r.Bottom) / 2}), clBlack);  // the left axis line
  EXPECT_EQ(PixelAt(img, {3, 3 + img.height() / 2}), clWhite);  // the panel beside the chart
}

TEST(ChartWidget, ZoomPanAndWheelFromWindowEvents) {
  ChartWindow w;
  w.Grab();
  const TRect r = w.chart.ChartRect();
  const QPoint from(r.Left + 40, r.Top + 30), to(r.Left + 240, r.Top + 200);
  const double wantMin = w.chart.BottomAxis()->CalcPosPoint(from.x());
  const double wantMax = w.chart.BottomAxis()->CalcPosPoint(to.x());
  w.Drag(from, to, Qt::LeftButton);
  EXPECT_TRUE(w.chart.Zoomed());
  EXPECT_DOUBLE_EQ(w.chart.BottomAxis()->Minimum(), wantMin);
  EXPECT_DOUBLE_EQ(w.chart.BottomAxis()->Maximum(), wantMax);
  w.Grab();
  // The right button drags the data with the pointer.
  const double before = w.chart.BottomAxis()->Minimum();
  w.Drag({r.Left + 100, r.Top + 100}, {r.Left + 150, r.Top + 100}, Qt::RightButton);
  EXPECT_LT(w.chart.BottomAxis()->Minimum(), before);
  // A notch of the wheel scrolls the vertical axes by 3 % of their range.
  const double lmin = w.chart.LeftAxis()->Minimum(), lmax = w.chart.LeftAxis()->Maximum();
  QWheelEvent wheel(QPointF(100, 100), QPointF(w.widget->mapToGlobal(QPoint(100, 100))), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  w.Send(wheel);
  EXPECT_TRUE(wheel.isAccepted());
  EXPECT_DOUBLE_EQ(w.chart.LeftAxis()->Minimum(), lmin - (lmax - lmin) * 0.03);
  // Dragging up and to the left undoes all of it.
  w.Drag(to, from, Qt::LeftButton);
  EXPECT_FALSE(w.chart.Zoomed());
  EXPECT_TRUE(w.chart.BottomAxis()->Automatic());
  EXPECT_TRUE(w.chart.LeftAxis()->Automatic());
}

// Each frame of an animated zoom is painted before the next one is computed.
TEST(ChartWidget, AnAnimatedZoomPaintsEveryFrame) {
  ChartWindow w;
  ASSERT_TRUE(w.exposed);
  w.Grab();
  w.chart.Zoom()->SetAnimated(true);
  w.chart.Zoom()->SetAnimatedSteps(5);
  std::vector<double> seen;
  w.chart.OnAfterDraw = [&] { seen.push_back(w.chart.BottomAxis()->Minimum()); };
  w.chart.ZoomValues(2, 6, 2, 6, 1, 5, 1, 5);
  ASSERT_EQ(seen.size(), 4u);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GT(seen[i], seen[i - 1]);
  EXPECT_EQ(w.chart.BottomAxis()->Minimum(), 2);
}

TEST(ChartWidget, TheWindowShowsTheCursorOfTheSeriesUnderTheMouse) {
  ChartWindow w;
  w.Grab();
  w.chart.SetCursor(crCross);
  w.series->SetCursor(crHandPoint);
  w.Mouse(QEvent::MouseMove, w.PointOf(5), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(w.widget->cursor().shape(), Qt::PointingHandCursor);
  w.Mouse(QEvent::MouseMove, w.PointOf(5) + QPoint(30, 30), Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(w.widget->cursor().shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace chart
