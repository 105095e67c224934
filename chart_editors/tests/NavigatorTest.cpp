// Covers chart_editors/KivNavigator.cpp (the bar and its buttons) and
// chart_editors/NavigatorGlyphs.cpp (their pictures).
#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QTimer>

#include <memory>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/series/LineSeries.h"
#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/KivNavigator.h"
#include "chart_editors/NavigatorGlyphs.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using Navigator = ui::TWindowTest;

// A bar that records what it is told.
class TRecordingNavigator : public TCustomKivNavigator {
 public:
  using TCustomKivNavigator::TCustomKivNavigator;
  void PanelChanged(chart::TKivEvent&) override { ++PanelEvents; }
  void EnableButtons() override { ++Enables; }
  void BtnClick(int index) override {
    Clicks.push_back(index);
    TCustomKivNavigator::BtnClick(index);
  }
  int PanelEvents = 0;
  int Enables = 0;
  std::vector<int> Clicks;
};

void ShowButtons(TCustomKivNavigator& bar, int count) {
  for (int i = 0; i < KivNavButtonCount; ++i) bar.Buttons(i)->setVisible(i < count);
}

std::vector<int> VisibleWidths(const TCustomKivNavigator& bar) {
  std::vector<int> widths;
  for (int i = 0; i < KivNavButtonCount; ++i)
    if (!bar.Buttons(i)->isHidden()) widths.push_back(bar.Buttons(i)->width());
  return widths;
}

struct TLayoutCase {
  const char* Name;
  int Buttons;
  int Width;
  bool InLayout;
  std::vector<int> Widths;
  int BarWidth;
};

const TLayoutCase LayoutCases[] = {
    {"nine buttons in 241 pixels shrink the bar to 234", 9, 241, false, std::vector<int>(9, 26), 234},
    {"four buttons in 100 pixels: no spare pixels", 4, 100, false, std::vector<int>(4, 25), 100},
    {"a bar that starts with its four moving buttons", 4, 241, false, std::vector<int>(4, 60), 240},
    {"a layout's width is kept, the spare pixels spread", 4, 103, true, {26, 25, 26, 26}, 103},
    {"nine buttons in a layout of 241 pixels", 9, 241, true, {27, 27, 26, 27, 27, 27, 26, 27, 27}, 241},
    {"too narrow a bar grows to 20 pixels a button", 9, 100, false, std::vector<int>(9, 20), 180},
};

TEST_F(Navigator, SharesItsWidthAmongTheVisibleButtons) {
  for (const TLayoutCase& c : LayoutCases) {
    QWidget holder;
    auto* bar = new TRecordingNavigator(&holder);
    ShowButtons(*bar, c.Buttons);
    if (c.InLayout) {
      auto* layout = new QHBoxLayout(&holder);
      layout->setContentsMargins(0, 0, 0, 0);
      layout->addWidget(bar);
    }
    holder.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder)) << c.Name;
    if (c.InLayout)
      holder.resize(c.Width, 25);
    else
      bar->resize(c.Width, 25);
    EXPECT_EQ(VisibleWidths(*bar), c.Widths) << c.Name;
    EXPECT_EQ(bar->width(), c.BarWidth) << c.Name;
    // The buttons stand side by side from the left, as high as the bar.
    int x = 0;
    for (int i = 0; i < c.Buttons; ++i) {
      EXPECT_EQ(bar->Buttons(i)->x(), x) << c.Name << " button " << i;
      EXPECT_EQ(bar->Buttons(i)->height(), 25) << c.Name;
      x += bar->Buttons(i)->width();
    }
  }
}

TEST_F(Navigator, StartsAsABarOfTheFourMovingButtons) {
  TRecordingNavigator bar;
  EXPECT_EQ(bar.height(), 25);
  for (int i = 0; i < KivNavButtonCount; ++i) EXPECT_EQ(bar.Buttons(i)->isHidden(), i >= nbInsert) << i;
  EXPECT_FALSE(bar.TabStop());
  EXPECT_EQ(bar.Buttons(nbFirst)->objectName(), "KivNav_FIRST");
  EXPECT_EQ(bar.Buttons(nbCancel)->objectName(), "KivNav_CANCEL");
}

TEST_F(Navigator, ASingleBorderTakesTwoPixelsAllRound) {
  TRecordingNavigator bar;
  ShowButtons(bar, 9);
  bar.SetBorderStyle(nbsSingle);
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  bar.resize(241, 25);
  EXPECT_EQ(bar.Buttons(nbFirst)->geometry(), QRect(2, 2, 26, 21));
  EXPECT_EQ(bar.width(), 9 * 26 + 4);
}

TEST_F(Navigator, AHeldButtonRepeatsAfter400AndThenEvery100Milliseconds) {
  TRecordingNavigator bar;
  TKivNavButton& next = *bar.Buttons(nbNext);
  EXPECT_EQ(next.RepeatTimer(), nullptr);
  QTest::mousePress(&next, Qt::LeftButton, {}, next.rect().center());
  ASSERT_NE(next.RepeatTimer(), nullptr);
  EXPECT_TRUE(next.RepeatTimer()->isActive());
  EXPECT_EQ(next.RepeatTimer()->interval(), 400);
  EXPECT_TRUE(bar.Clicks.empty());
  next.TimerExpired();
  EXPECT_EQ(next.RepeatTimer()->interval(), 100);
  next.TimerExpired();
  EXPECT_EQ(bar.Clicks, (std::vector<int>{nbNext, nbNext}));
  // Letting go clicks once more and ends the repeat.
  QTest::mouseRelease(&next, Qt::LeftButton, {}, next.rect().center());
  EXPECT_FALSE(next.RepeatTimer()->isActive());
  EXPECT_EQ(bar.Clicks.size(), 3u);
  // A tick that comes late, after the button was let go, clicks nothing.
  next.TimerExpired();
  EXPECT_EQ(bar.Clicks.size(), 3u);
  // The next press waits the long pause again.
  QTest::mousePress(&next, Qt::LeftButton, {}, next.rect().center());
  EXPECT_EQ(next.RepeatTimer()->interval(), 400);
  QTest::mouseRelease(&next, Qt::LeftButton, {}, next.rect().center());
}

TEST_F(Navigator, ArrowKeysMoveTheFocusMarkAndSpaceClicks) {
  QWidget window;
  auto* bar = new TRecordingNavigator(&window);
  bar->SetTabStop(true);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  bar->setFocus();
  EXPECT_TRUE(bar->Buttons(nbFirst)->FocusMark());
  QTest::keyClick(bar, Qt::Key_Right);
  EXPECT_EQ(bar->FocusedButton(), nbPrior);
  EXPECT_TRUE(bar->Buttons(nbPrior)->FocusMark());
  EXPECT_FALSE(bar->Buttons(nbFirst)->FocusMark());
  QTest::keyClick(bar, Qt::Key_Space);
  EXPECT_EQ(bar->Clicks, std::vector<int>{nbPrior});
  // Right stops on the last visible button, Left on the first.
  for (int i = 0; i < 5; ++i) QTest::keyClick(bar, Qt::Key_Right);
  EXPECT_EQ(bar->FocusedButton(), nbLast);
  for (int i = 0; i < 5; ++i) QTest::keyClick(bar, Qt::Key_Left);
  EXPECT_EQ(bar->FocusedButton(), nbFirst);
  // Hidden buttons are passed over; a disabled one does not click.
  bar->Buttons(nbPrior)->hide();
  bar->Buttons(nbNext)->setEnabled(false);
  QTest::keyClick(bar, Qt::Key_Right);
  EXPECT_EQ(bar->FocusedButton(), nbNext);
  QTest::keyClick(bar, Qt::Key_Space);
  EXPECT_EQ(bar->Clicks.size(), 1u);
  // Without the focus there is no mark.
  bar->clearFocus();
  EXPECT_FALSE(bar->Buttons(nbNext)->FocusMark());
}

TEST_F(Navigator, PressingAButtonMovesTheMarkThere) {
  QWidget window;
  auto* bar = new TRecordingNavigator(&window);
  bar->SetTabStop(true);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(bar->Buttons(nbLast), Qt::LeftButton);
  EXPECT_EQ(bar->FocusedButton(), nbLast);
  EXPECT_TRUE(bar->hasFocus());
  EXPECT_EQ(bar->Clicks, std::vector<int>{nbLast});
}

TEST_F(Navigator, HintsAreTheDefaultsUnlessReplaced) {
  TRecordingNavigator bar;
  EXPECT_EQ(bar.Buttons(nbFirst)->toolTip(), "First");
  EXPECT_EQ(bar.Buttons(nbCancel)->toolTip(), "Cancel");
  bar.SetHints({"", "Back", "", "", "", "", "", "", "", "ignored tenth"});
  EXPECT_EQ(bar.Buttons(nbFirst)->toolTip(), "First");
  EXPECT_EQ(bar.Buttons(nbPrior)->toolTip(), "Back");
  EXPECT_EQ(bar.Buttons(nbPost)->toolTip(), "Post");
}

TEST_F(Navigator, EnablingTheBarAsksForTheButtonStates) {
  TRecordingNavigator bar;
  const int before = bar.Enables;
  bar.setEnabled(false);
  bar.setEnabled(true);
  EXPECT_EQ(bar.Enables, before + 2);
}

TEST_F(Navigator, HearsItsChartUntilTheChartGoes) {
  TRecordingNavigator bar;
  auto chart = std::make_unique<chart::TChart>();
  bar.SetPanel(chart.get());
  EXPECT_EQ(bar.Panel(), chart.get());
  auto* series = new chart::TLineSeries(chart.get());
  series->SetParentChart(chart.get());
  EXPECT_GT(bar.PanelEvents, 0);
  chart.reset();
  EXPECT_EQ(bar.Panel(), nullptr);
  // And a bar that goes first leaves its chart's listeners.
  chart = std::make_unique<chart::TChart>();
  {
    TRecordingNavigator shortLived;
    shortLived.SetPanel(chart.get());
  }
  const int events = bar.PanelEvents;
  (new chart::TLineSeries(chart.get()))->SetParentChart(chart.get());
  EXPECT_EQ(bar.PanelEvents, events);
}

TEST_F(Navigator, GlyphsHoldANormalAndAGreyedPicture) {
  constexpr int s = NavigatorGlyphSize;
  for (const char* name : {"KivNav_First", "KivNav_Prior", "KivNav_Next", "KivNav_Last", "KivNav_Insert",
                           "KivNav_Delete", "KivNav_Edit", "KivNav_Post", "KivNav_Cancel"}) {
    const QImage glyph = LoadEditorBitmap(name);
    ASSERT_EQ(glyph.size(), QSize(2 * s, s)) << name;
    int ink = 0, grey = 0, shadow = 0, other = 0;
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        const QRgb normal = glyph.pixel(x, y), disabled = glyph.pixel(s + x, y);
        if (normal == NavigatorGlyphInk) {
          ++ink;
          EXPECT_EQ(disabled, NavigatorGlyphGrey) << name;
        } else if (qAlpha(normal) != 0) {
          ++other;
        }
        if (disabled == NavigatorGlyphGrey) ++grey;
        if (disabled == NavigatorGlyphShadow) ++shadow;
      }
    EXPECT_GT(ink, 8) << name;
    EXPECT_EQ(grey, ink) << name;
    EXPECT_GT(shadow, 0) << name;
    EXPECT_EQ(other, 0) << name;
  }
  // Prior and next point opposite ways: each is the other mirrored.
  EXPECT_EQ(LoadEditorBitmap("KIVNAV_PRIOR").copy(0, 0, s, s),
            LoadEditorBitmap("kivnav_next").copy(0, 0, s, s).mirrored(true, false));
  EXPECT_NE(LoadEditorBitmap("KivNav_First"), LoadEditorBitmap("KivNav_Prior"));
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::Exception>([] { LoadEditorBitmap("KivNav_Refresh"); }),
            "Resource KivNav_Refresh not found");
}

TEST_F(Navigator, ScreenshotShowsNormalAndGreyedSigns) {
  QWidget window;
  auto* bar = new TRecordingNavigator(&window);
  ShowButtons(*bar, 9);
  bar->resize(241, 25);
  for (int i : {nbInsert, nbDelete, nbEdit}) bar->Buttons(i)->setEnabled(false);
  window.resize(bar->size());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QImage shot = ui::Screenshot(*bar, "navigator");
  constexpr int s = NavigatorGlyphSize;
  for (int i = 0; i < KivNavButtonCount; ++i) {
    const QRect button = bar->Buttons(i)->geometry();
    const QPoint glyphAt(button.left() + (button.width() - s) / 2, button.top() + (button.height() - s) / 2);
    const QImage glyph = bar->Buttons(i)->Glyph();
    const bool enabled = bar->Buttons(i)->isEnabled();
    int matched = 0, inked = 0;
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        if (glyph.pixel(x, y) != NavigatorGlyphInk) continue;
        ++inked;
        const QRgb want = enabled ? NavigatorGlyphInk : NavigatorGlyphGrey;
        if (shot.pixel(glyphAt + QPoint(x, y)) == want) ++matched;
      }
    EXPECT_EQ(matched, inked) << "button " << i << (enabled ? " (enabled)" : " (disabled)");
    EXPECT_EQ(testing::CountPixels(shot, button, chart::clBlack) > 0, enabled) << "button " << i;
  }
}

}  // namespace
}  // namespace chart_editors
