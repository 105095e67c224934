// The position panel: its setters keeping position and span in range, clicks
// beside the block and drags of it, a panel without range, the events, and
// its picture.
// Covers: analysis_ui/MtxPositionPanel.cpp.
#include <gtest/gtest.h>

#include <QTest>

#include <limits>

#include "analysis_ui/MtxPositionPanel.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

struct TSlider {
  double Min, Max, Range, Position, Span;
  bool operator==(const TSlider&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TSlider& s) {
  return out << "{" << s.Min << ", " << s.Max << ", " << s.Range << ", " << s.Position << ", " << s.Span << "}";
}
TSlider StateOf(const TMtxPositionPanel& p) {
  return {p.SliderMin(), p.SliderMax(), p.SliderRange(), p.SliderPosition(), p.SliderSpan()};
}

TEST(MtxPositionPanel, StartsWithTheWholeRangeAsItsSpan) {
  TMtxPositionPanel panel;
  EXPECT_EQ(StateOf(panel), (TSlider{0, 100, 100, 0, 100}));
  EXPECT_EQ(panel.SliderColor(), chart::clNavy);
  EXPECT_EQ(panel.SliderBevelOuter(), chart::bvRaised);
  EXPECT_EQ(panel.SliderBevelInner(), chart::bvNone);
  EXPECT_EQ(panel.SliderBevelWidth(), 1);
  EXPECT_EQ(panel.BevelOuter(), chart::bvLowered);
  EXPECT_EQ(panel.SliderSpanMin(), 0);
  EXPECT_FALSE(panel.CancelMouse());
  EXPECT_EQ(panel.height(), 15);
  EXPECT_TRUE(panel.Caption().empty());
}

TEST(MtxPositionPanel, SettersKeepPositionAndSpanInRange) {
  struct TCase {
    const char* Step;
    std::function<void(TMtxPositionPanel&)> Apply;
    TSlider After;
  };
  const TCase cases[] = {
      {"max -5", [](TMtxPositionPanel& p) { p.SetSliderMax(-5); }, {0, 0, 0, 0, 0}},
      {"position 150", [](TMtxPositionPanel& p) { p.SetSliderPosition(150); }, {0, 100, 100, 100, 0}},
      {"position -3", [](TMtxPositionPanel& p) { p.SetSliderPosition(-3); }, {0, 100, 100, 0, 100}},
      {"span 10 at 80",
       [](TMtxPositionPanel& p) {
         p.SetSliderPosition(80);
         p.SetSliderSpan(10);
       },
       {0, 100, 100, 80, 10}},
      {"span 50 at 80",
       [](TMtxPositionPanel& p) {
         p.SetSliderPosition(80);
         p.SetSliderSpan(50);
       },
       {0, 100, 100, 80, 20}},
      {"span -1", [](TMtxPositionPanel& p) { p.SetSliderSpan(-1); }, {0, 100, 100, 0, 0}},
      {"max 40 under position 60",
       [](TMtxPositionPanel& p) {
         p.SetSliderPosition(60);
         p.SetSliderMax(40);
       },
       {0, 40, 40, 40, 0}},
      {"min 150", [](TMtxPositionPanel& p) { p.SetSliderMin(150); }, {150, 150, 0, 150, 0}},
      {"min -50", [](TMtxPositionPanel& p) { p.SetSliderMin(-50); }, {-50, 100, 150, 0, 100}},
      {"range 30 from min 10",
       [](TMtxPositionPanel& p) {
         p.SetSliderMin(10);
         p.SetSliderRange(30);
       },
       {10, 40, 30, 10, 30}},
      {"max 20 pulls min down",
       [](TMtxPositionPanel& p) {
         p.SetSliderMin(50);
         p.SetSliderMax(20);
       },
       {20, 20, 0, 20, 0}},
      {"NaN changes nothing",
       [](TMtxPositionPanel& p) {
         const double nan = std::numeric_limits<double>::quiet_NaN();
         p.SetSliderMax(nan);
         p.SetSliderMin(nan);
         p.SetSliderPosition(nan);
         p.SetSliderSpan(nan);
         p.SetSliderRange(nan);
       },
       {0, 100, 100, 0, 100}},
  };
  for (const TCase& c : cases) {
    TMtxPositionPanel panel;
    c.Apply(panel);
    EXPECT_EQ(StateOf(panel), c.After) << c.Step;
  }
}

TEST(MtxPositionPanel, EverySettingOfThePositionIsAnnounced) {
  TMtxPositionPanel panel;
  std::vector<double> seen;
  panel.OnChangePosition = [&](TMtxPositionPanel& sender) { seen.push_back(sender.SliderPosition()); };
  panel.SetSliderPosition(30);
  panel.SetSliderPosition(30);
  panel.SetSliderPosition(500);
  panel.SetSliderMax(50);  // moves the position without setting it
  EXPECT_EQ(seen, (std::vector<double>{30, 30, 100}));
  EXPECT_EQ(panel.SliderPosition(), 50);
}

class MtxPositionPanelMouse : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FPanel.resize(200, 15);
    FPanel.OnChangePosition = [this](TMtxPositionPanel&) { ++FChanges; };
    FPanel.OnSetPosition = [this](TMtxPositionPanel&) { ++FReleases; };
    FPanel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FPanel));
  }
  TMtxPositionPanel FPanel;
  int FChanges = 0, FReleases = 0;
};

TEST_F(MtxPositionPanelMouse, AClickBesideTheBlockMovesItThere) {
  FPanel.SetSliderPosition(80);
  FPanel.SetSliderSpan(10);
  FChanges = 0;
  QTest::mouseClick(&FPanel, Qt::LeftButton, {}, QPoint(100, 7));
  EXPECT_EQ(FPanel.SliderPosition(), 50);
  EXPECT_EQ(FPanel.SliderSpan(), 10);
  EXPECT_EQ(FChanges, 1);
  EXPECT_EQ(FReleases, 1);
  // Past the right end the block stops at the maximum with no span left.
  QTest::mouseClick(&FPanel, Qt::LeftButton, {}, QPoint(199, 7));
  EXPECT_EQ(FPanel.SliderPosition(), 99.5);
  EXPECT_EQ(FPanel.SliderSpan(), 0.5);
}

TEST_F(MtxPositionPanelMouse, APressInsideTheBlockDragsIt) {
  FPanel.SetSliderPosition(80);
  FPanel.SetSliderSpan(10);
  FChanges = 0;
  QTest::mousePress(&FPanel, Qt::LeftButton, {}, QPoint(170, 7));  // value 85, inside 80..90
  EXPECT_EQ(FPanel.SliderPosition(), 80);
  EXPECT_EQ(FChanges, 0);
  QMouseEvent move(QEvent::MouseMove, QPointF(150, 7), FPanel.mapToGlobal(QPointF(150, 7)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&FPanel, &move);
  EXPECT_EQ(FPanel.SliderPosition(), 70);
  EXPECT_EQ(FChanges, 1);
  QTest::mouseRelease(&FPanel, Qt::LeftButton, {}, QPoint(150, 7));
  EXPECT_EQ(FReleases, 1);
  // Without a button held, moving does nothing.
  QMouseEvent hover(QEvent::MouseMove, QPointF(20, 7), FPanel.mapToGlobal(QPointF(20, 7)), Qt::NoButton,
                    Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&FPanel, &hover);
  EXPECT_EQ(FPanel.SliderPosition(), 70);
}

TEST_F(MtxPositionPanelMouse, AClickLandsWhereTheScaleIsPainted) {
  FPanel.SetSliderMin(1000);
  FPanel.SetSliderMax(1200);
  FPanel.SetSliderSpan(0);
  QTest::mouseClick(&FPanel, Qt::LeftButton, {}, QPoint(50, 7));
  EXPECT_EQ(FPanel.SliderPosition(), 1050);
  ASSERT_TRUE(FPanel.SliderPixels());
  EXPECT_EQ(FPanel.SliderPixels()->first, 50);
}

TEST_F(MtxPositionPanelMouse, WithoutRangeOrWhileCancelledTheMouseDoesNothing) {
  FPanel.SetSliderPosition(20);
  FPanel.SetCancelMouse(true);
  QTest::mouseClick(&FPanel, Qt::LeftButton, {}, QPoint(150, 7));
  EXPECT_EQ(FPanel.SliderPosition(), 20);
  EXPECT_EQ(FReleases, 0);
  FPanel.SetCancelMouse(false);
  FPanel.SetSliderMax(0);
  EXPECT_EQ(FPanel.SliderRange(), 0);
  EXPECT_FALSE(FPanel.SliderPixels());
  const int changes = FChanges;
  QTest::mouseClick(&FPanel, Qt::LeftButton, {}, QPoint(150, 7));
  EXPECT_EQ(FChanges, changes);
  EXPECT_EQ(FPanel.SliderPosition(), 0);
  // A panel without range still paints itself, bare.
  const QImage bare = FPanel.grab().toImage();
  EXPECT_NE(bare.pixelColor(100, 7), QColor(0, 0, 0x80));
}

TEST(MtxPositionPanel, TheNarrowestBlockKeepsItsWidthAtTheRightEnd) {
  TMtxPositionPanel panel;
  panel.resize(200, 15);
  panel.SetSliderPosition(99);
  panel.SetSliderSpan(1);
  EXPECT_EQ(panel.SliderPixels(), (std::pair<std::int32_t, std::int32_t>{198, 200}));
  panel.SetSliderSpanMin(8);
  EXPECT_EQ(panel.SliderPixels(), (std::pair<std::int32_t, std::int32_t>{192, 200}));
  panel.SetSliderPosition(10);
  EXPECT_EQ(panel.SliderPixels(), (std::pair<std::int32_t, std::int32_t>{20, 28}));
}

TEST(MtxPositionPanel, PaintsTheBlockWhereItStandsAndTheCaption) {
  TMtxPositionPanel panel;
  panel.setObjectName("PositionPanel");
  panel.resize(200, 20);
  panel.SetSliderPosition(5);
  panel.SetSliderSpan(40);
  panel.SetCaption("Record 5 of 100");
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  const QImage shot = ui::Screenshot(panel, "position_panel");
  const QColor navy(0, 0, 0x80);
  // The block spans pixels 10..89 inside the bevels, raised on its left edge.
  EXPECT_EQ(shot.pixelColor(20, 4), navy);
  EXPECT_EQ(shot.pixelColor(30, 16), navy);
  EXPECT_NE(shot.pixelColor(8, 4), navy);
  EXPECT_NE(shot.pixelColor(92, 4), navy);
  EXPECT_NE(shot.pixelColor(10, 10), navy);  // the block's own bevel
  EXPECT_GT(qGray(shot.pixel(10, 10)), qGray(navy.rgb()));
  // The panel's own lowered bevel: dark on top, light at the bottom.
  EXPECT_LT(qGray(shot.pixel(150, 0)), qGray(shot.pixel(150, 19)));
  // The caption is written in the middle, where the panel shows its own colour.
  int dark = 0;
  for (int x = 100; x < 190; ++x)
    for (int y = 2; y < 18; ++y) dark += qGray(shot.pixel(x, y)) < 80;
  EXPECT_GT(dark, 20);
}

}  // namespace
}  // namespace analysis_ui
