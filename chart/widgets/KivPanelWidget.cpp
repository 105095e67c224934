// The QWidget host of a chart panel: painting from the panel's buffer, input
// translation, and the window services of the host interface.
//
// Tested by: chart/tests/KivPanelWidgetTest.cpp
#include "chart/widgets/KivPanelWidget.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QToolTip>
#include <QWheelEvent>
#include <exception>

#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"

namespace chart {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= 1u << ssShift;
  if (modifiers & Qt::AltModifier) s |= 1u << ssAlt;
  if (modifiers & Qt::ControlModifier) s |= 1u << ssCtrl;
  if (buttons & Qt::LeftButton) s |= 1u << ssLeft;
  if (buttons & Qt::RightButton) s |= 1u << ssRight;
  if (buttons & Qt::MiddleButton) s |= 1u << ssMiddle;
  return s;
}

std::uint16_t VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<std::uint16_t>(qtKey);  // the same numbers as their characters
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<std::uint16_t>(112 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    default: return 0;
  }
}

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
  }
}

}  // namespace

TKivPanelWidget::TKivPanelWidget(TCustomKivPanel& panel, QWidget* parent) : QWidget(parent), FPanel(panel) {
  // The panel paints every pixel: no background erase before a paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  FPanel.SetHost(this);
  FPanel.SetBounds(width(), height());
}

TKivPanelWidget::~TKivPanelWidget() {
  if (FPanel.Host() == this) FPanel.SetHost(nullptr);
}

template <class F>
void TKivPanelWidget::Guard(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    if (OnError)
      OnError(e.what());
    else
      qWarning("%s", e.what());
  }
}

// --- host services ------------------------------------------------------------

TColor TKivPanelWidget::ParentColor() const {
  const QWidget* parent = parentWidget();
  if (parent == nullptr) return clNone;
  const QColor c = parent->palette().color(parent->backgroundRole());
  return RGB(c.red(), c.green(), c.blue());
}

void TKivPanelWidget::SetWindowRound(std::int32_t r) {
  if (r < 1) {
    clearMask();
    return;
  }
  // The window system's rounded region: corner ellipses r wide and r high.
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, width(), height()), r / 2.0, r / 2.0);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TKivPanelWidget::ReleaseMouse() {
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

void TKivPanelWidget::SetCursor(TCursor cursor) {
  if (cursor == crDefault)
    unsetCursor();
  else
    setCursor(KivCursor(cursor));
}

TPoint TKivPanelWidget::CursorPos() const {
  const QPoint p = mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

TPoint TKivPanelWidget::ClientToScreen(const TPoint& p) const {
  const QPoint s = mapToGlobal(QPoint(p.X, p.Y));
  return {s.x(), s.y()};
}

void TKivPanelWidget::ShowHint(const std::string& text, const TPoint& screenPoint) {
  // Lines of engine texts end in CR LF or CR; the hint window breaks at LF.
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QToolTip::showText(QPoint(screenPoint.X, screenPoint.Y), s, this);
}

void TKivPanelWidget::CancelHint() { QToolTip::hideText(); }

// --- events -------------------------------------------------------------------

void TKivPanelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TCanvas screen(painter);
  Guard([&] {
    FPanel.SetDelegateCanvas(&screen);
    try {
      FPanel.Paint();
    } catch (...) {
      FPanel.SetDelegateCanvas(nullptr);
      throw;
    }
    FPanel.SetDelegateCanvas(nullptr);
  });
}

void TKivPanelWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Guard([&] { FPanel.SetBounds(width(), height()); });
}

void TKivPanelWidget::Mouse(QMouseEvent* event, TKivMouseEventKind kind, bool doubleClick) {
  const QPoint p = event->position().toPoint();
  TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
  if (doubleClick) shift |= 1u << ssDouble;
  Guard([&] {
    switch (kind) {
      case meDown: FPanel.MouseDown(ButtonOf(event->button()), shift, p.x(), p.y()); break;
      case meUp: FPanel.MouseUp(ButtonOf(event->button()), shift, p.x(), p.y()); break;
      case meMove: FPanel.MouseMove(shift, p.x(), p.y()); break;
    }
  });
  event->accept();
}

void TKivPanelWidget::mousePressEvent(QMouseEvent* event) { Mouse(event, meDown, false); }
void TKivPanelWidget::mouseDoubleClickEvent(QMouseEvent* event) { Mouse(event, meDown, true); }
void TKivPanelWidget::mouseReleaseEvent(QMouseEvent* event) { Mouse(event, meUp, false); }
void TKivPanelWidget::mouseMoveEvent(QMouseEvent* event) { Mouse(event, meMove, false); }

void TKivPanelWidget::wheelEvent(QWheelEvent* event) {
  const QPoint p = event->position().toPoint();
  const std::int32_t delta = event->angleDelta().y();
  bool handled = false;
  if (delta != 0)
    Guard([&] {
      handled = FPanel.DoMouseWheel(ShiftStateOf(event->modifiers(), event->buttons()), delta, {p.x(), p.y()});
    });
  // An unhandled turn goes on to the parent (a scrolling container, say).
  event->setAccepted(handled);
}

void TKivPanelWidget::keyPressEvent(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event->key());
  if (key != 0) {
    Guard([&] { FPanel.KeyDown(key, ShiftStateOf(event->modifiers(), Qt::NoButton)); });
    if (key == 0) return event->accept();  // a handler consumed it
  }
  QWidget::keyPressEvent(event);
}

void TKivPanelWidget::keyReleaseEvent(QKeyEvent* event) {
  std::uint16_t key = VirtualKeyOf(event->key());
  if (key != 0) {
    Guard([&] { FPanel.KeyUp(key, ShiftStateOf(event->modifiers(), Qt::NoButton)); });
    if (key == 0) return event->accept();
  }
  QWidget::keyReleaseEvent(event);
}

void TKivPanelWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A new theme changes the system colours the picture was drawn in.
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
    Guard([&] { FPanel.Invalidate(); });
}

}  // namespace chart
