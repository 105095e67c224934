// Covers chart/widgets/KivPanelWidget.cpp: painting from the panel's buffer, input
// translation into the panel's mouse, wheel and key calls, and the window
// services of the host interface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <memory>
#include <stdexcept>
#include <vector>

#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart/testing/ChartProbes.h"
#include "chart/widgets/KivPanelWidget.h"

namespace chart {
namespace {

using testing::PixelAt;

class TTestPanel : public TCustomKivPanelExtended {
 public:
  int draws = 0;
  bool fail = false;
  std::int32_t wheelDelta = 0;
  TShiftState wheelShift = 0;

  void InternalDraw(const TRect& bounds) override {
    ++draws;
    if (fail) throw ChartException("drawing failed");
    DrawPanelBackground(bounds);
  }
  bool DoMouseWheel(TShiftState shift, std::int32_t delta, const TPoint& pos) override {
    wheelDelta = delta;
    wheelShift = shift;
    return TCustomKivPanelExtended::DoMouseWheel(shift, delta, pos);
  }
};

struct TMouseLog : IKivEventListener {
  std::vector<TKivMouseEvent> events;
  void KivEvent(TKivEvent& e) override {
    if (auto* m = dynamic_cast<TKivMouseEvent*>(&e)) events.push_back(*m);
  }
};

constexpr TShiftState Bit(TShiftStateFlag f) { return static_cast<TShiftState>(1u << f); }

struct Fixture {
  TTestPanel panel;
  std::unique_ptr<TKivPanelWidget> widget;
  Fixture() {
    panel.SetBevelOuter(bvNone);
    panel.SetColor(clRed);
    widget = std::make_unique<TKivPanelWidget>(panel);
    widget->resize(120, 80);
    widget->show();
    exposed = QTest::qWaitForWindowExposed(widget.get());
  }
  bool exposed = false;
  QImage Grab() const { return widget->grab().toImage(); }
  void Send(QEvent& e) const { QApplication::sendEvent(widget.get(), &e); }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers m) const {
    QMouseEvent e(type, QPointF(p), QPointF(widget->mapToGlobal(p)), b, held, m);
    Send(e);
  }
};

TEST(PanelWidget, PaintsFromTheBufferAndDrawsAgainOnlyAfterAChange) {
  Fixture f;
  EXPECT_EQ(f.panel.Width(), 120);
  EXPECT_EQ(f.panel.Height(), 80);
  QImage img = f.Grab();
  EXPECT_EQ(PixelAt(img, 60, 40), clRed);
  const int drawn = f.panel.draws;
  EXPECT_GE(drawn, 1);
  img = f.Grab();
  EXPECT_EQ(f.panel.draws, drawn);  // copied from the buffer
  EXPECT_EQ(PixelAt(img, 60, 40), clRed);

  f.panel.SetColor(clBlue);
  img = f.Grab();
  EXPECT_EQ(f.panel.draws, drawn + 1);
  EXPECT_EQ(PixelAt(img, 60, 40), clBlue);

  f.widget->resize(150, 90);
  img = f.Grab();
  EXPECT_EQ(f.panel.Width(), 150);
  EXPECT_EQ(img.size(), QSize(150, 90));
  EXPECT_EQ(PixelAt(img, 145, 85), clBlue);
  EXPECT_EQ(f.panel.draws, drawn + 2);

  // Repaint paints at once, from a fresh drawing.
  ASSERT_TRUE(f.exposed);
  f.panel.Repaint();
  EXPECT_EQ(f.panel.draws, drawn + 3);

  // A new theme may change the system colours the picture used.
  f.widget->setPalette(QPalette(Qt::darkCyan));
  f.Grab();
  EXPECT_EQ(f.panel.draws, drawn + 4);
}

TEST(PanelWidget, MouseButtonsModifiersAndDoubleClicks) {
  Fixture f;
  TMouseLog log;
  f.panel.AddListener(&log);
  f.Mouse(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
  f.Mouse(QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  f.Mouse(QEvent::MouseButtonRelease, {31, 41}, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  f.Mouse(QEvent::MouseButtonDblClick, {5, 6}, Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
  f.Mouse(QEvent::MouseButtonPress, {7, 8}, Qt::MiddleButton, Qt::MiddleButton, Qt::AltModifier);
  f.Mouse(QEvent::MouseMove, {9, 9}, Qt::NoButton, Qt::NoButton, Qt::NoModifier);  // tracking without buttons
  struct Want {
    TKivMouseEventKind kind;
    TMouseButton button;
    TShiftState shift;
    int x, y;
  } want[] = {
      {meDown, mbLeft, Bit(ssShift) | Bit(ssLeft), 10, 20},
      {meMove, mbLeft, Bit(ssLeft), 30, 40},
      {meUp, mbLeft, 0, 31, 41},
      {meDown, mbRight, Bit(ssCtrl) | Bit(ssRight) | Bit(ssDouble), 5, 6},
      {meDown, mbMiddle, Bit(ssAlt) | Bit(ssMiddle), 7, 8},
      {meMove, mbLeft, 0, 9, 9},
  };
  ASSERT_EQ(log.events.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(log.events[i].Event, want[i].kind);
    EXPECT_EQ(log.events[i].Shift, want[i].shift);
    EXPECT_EQ(log.events[i].X, want[i].x);
    EXPECT_EQ(log.events[i].Y, want[i].y);
    if (want[i].kind != meMove) {
      EXPECT_EQ(log.events[i].Button, want[i].button);
    }
    EXPECT_EQ(log.events[i].Sender, &f.panel);
  }
  f.panel.RemoveListener(&log);
}

TEST(PanelWidget, WheelAndKeysGoToThePanel) {
  Fixture f;
  QWheelEvent down(QPointF(50, 30), QPointF(f.widget->mapToGlobal(QPoint(50, 30))), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
  f.Send(down);
  EXPECT_EQ(f.panel.wheelDelta, -120);
  EXPECT_EQ(f.panel.wheelShift, Bit(ssCtrl));
  EXPECT_FALSE(down.isAccepted());  // nobody handled it: it may scroll a parent
  f.panel.OnMouseWheel = [](TShiftState, std::int32_t, const TPoint& p, bool& handled) { handled = p.X == 50; };
  QWheelEvent up(QPointF(50, 30), QPointF(f.widget->mapToGlobal(QPoint(50, 30))), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  f.Send(up);
  EXPECT_EQ(f.panel.wheelDelta, 120);
  EXPECT_TRUE(up.isAccepted());

  std::vector<std::pair<std::uint16_t, TShiftState>> keys;
  f.panel.OnKeyDown = [&](std::uint16_t& key, TShiftState shift) {
    keys.emplace_back(key, shift);
    if (key == 37) key = 0;  // consumes the left arrow only
  };
  struct Case {
    int qtKey;
    Qt::KeyboardModifiers mods;
    std::uint16_t vk;
    bool consumed;
  } cases[] = {
      {Qt::Key_Left, Qt::NoModifier, 37, true},
      {Qt::Key_Down, Qt::ShiftModifier, 40, false},
      {Qt::Key_A, Qt::NoModifier, 'A', false},
      {Qt::Key_F5, Qt::NoModifier, 116, false},
  };
  for (const Case& c : cases) {
    QKeyEvent e(QEvent::KeyPress, c.qtKey, c.mods);
    f.Send(e);
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back().first, c.vk);
    EXPECT_EQ(keys.back().second, c.mods & Qt::ShiftModifier ? Bit(ssShift) : 0);
    EXPECT_EQ(e.isAccepted(), c.consumed) << c.qtKey;
  }
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Escape), 27);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Eacute), 0);
}

TEST(PanelWidget, CursorHintShapeAndParentColour) {
  Fixture f;
  IKivPanelHost* host = f.panel.Host();
  ASSERT_EQ(host, f.widget.get());

  host->SetCursor(crHandPoint);
  EXPECT_EQ(f.widget->cursor().shape(), Qt::PointingHandCursor);
  host->SetCursor(crKivHand);
  EXPECT_EQ(f.widget->cursor().shape(), Qt::PointingHandCursor);
  host->SetCursor(crHSplit);
  EXPECT_EQ(f.widget->cursor().shape(), Qt::SplitHCursor);
  f.panel.CancelMouse();  // back to the cursor the panel started with
  EXPECT_EQ(f.widget->cursor().shape(), Qt::ArrowCursor);

  const TPoint screen = host->ClientToScreen({3, 4});
  EXPECT_EQ(QPoint(screen.X, screen.Y), f.widget->mapToGlobal(QPoint(3, 4)));

  host->ShowHint("Close\r\n12.5", screen);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("Close\n12.5"));
  host->CancelHint();
  EXPECT_EQ(host->HintPause(), 500);
  host->SetHintPause(-5);
  EXPECT_EQ(host->HintPause(), 0);

  f.panel.SetBorderRound(20);
  EXPECT_FALSE(f.widget->mask().isEmpty());
  EXPECT_FALSE(f.widget->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(f.widget->mask().contains(QPoint(60, 40)));
  f.widget->resize(200, 100);  // the shape follows the size
  QApplication::processEvents();
  EXPECT_TRUE(f.widget->mask().contains(QPoint(150, 50)));
  f.panel.SetBorderRound(0);
  EXPECT_TRUE(f.widget->mask().isEmpty());

  EXPECT_EQ(host->ParentColor(), clNone);
  QWidget parent;
  QPalette pal;
  pal.setColor(QPalette::Window, QColor(0, 128, 0));
  parent.setPalette(pal);
  f.widget->setParent(&parent);
  EXPECT_EQ(host->ParentColor(), clGreen);
  f.widget->setParent(nullptr);  // (hides the widget)

}

TEST(PanelWidget, AFailingDrawIsReportedNotThrownThroughQt) {
  Fixture f;
  std::vector<std::string> errors;
  f.widget->OnError = [&](const std::string& m) { errors.push_back(m); };
  f.panel.fail = true;
  f.panel.Invalidate();
  f.Grab();
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.front(), "drawing failed");
  f.panel.fail = false;
  f.panel.Invalidate();
  EXPECT_EQ(PixelAt(f.Grab(), 10, 10), clRed);
}

TEST(PanelWidget, TheHostLeavesWithTheWidget) {
  TTestPanel panel;
  {
    TKivPanelWidget w(panel);
    EXPECT_EQ(panel.Host(), &w);
  }
  EXPECT_EQ(panel.Host(), nullptr);
  panel.Invalidate();  // no window to tell: nothing happens
  panel.CancelMouse();
}

}  // namespace
}  // namespace chart
