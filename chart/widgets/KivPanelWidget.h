// The window of a chart panel: a thin QWidget that shows the panel's buffered
// picture, passes mouse, wheel and key input to the panel, and gives the panel
// the window services it asks for (repaint, cursor, capture, hints, shape,
// parent colour).
//
// The panel keeps every decision; the widget only translates. It paints by
// letting the panel repaint, which copies the off-screen picture unless a
// change made it stale.
//
// Tested by: chart/tests/KivPanelWidgetTest.cpp
#pragma once

#include <QCursor>
#include <functional>
#include <string>
#include <QWidget>

#include "chart/KivPanel.h"
#include "chart/tools/HintService.h"
#include "chart/widgets/KivProcsWidgets.h"

namespace chart {

// The shift state of an input event: keys held and mouse buttons down.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The window system's virtual-key number of a Qt key; 0 for keys it has none for.
std::uint16_t VirtualKeyOf(int qtKey);

class TKivPanelWidget : public QWidget, public IKivPanelHost {
 public:
  // The widget becomes the panel's host until it is destroyed; the panel must outlive it.
  explicit TKivPanelWidget(TCustomKivPanel& panel, QWidget* parent = nullptr);
  ~TKivPanelWidget() override;

  TCustomKivPanel& Panel() const { return FPanel; }

  // IKivPanelHost
  void InvalidateWindow() override { update(); }
  void InvalidateWindowRect(const TRect& r) override { update(r.Left, r.Top, r.Width(), r.Height()); }
  void RepaintWindow() override { repaint(); }
  TColor ParentColor() const override;
  void SetWindowRound(std::int32_t r) override;
  void ReleaseMouse() override;
  void SetCursor(TCursor cursor) override;
  TPoint CursorPos() const override;
  TPoint ClientToScreen(const TPoint& p) const override;
  void ShowHint(const std::string& text, const TPoint& screenPoint) override;
  void CancelHint() override;
  // The program's one pause, shared by every chart.
  std::int32_t HintPause() const override { return KivHints().HintPause(); }
  void SetHintPause(std::int32_t ms) override { KivHints().SetHintPause(ms); }

  QSize sizeHint() const override { return {400, 250}; }

  // Receives the message of an exception a panel handler raised during an
  // event (Qt's event dispatch must not be unwound); without one it goes to
  // the Qt warning log.
  std::function<void(const std::string& message)> OnError;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Mouse(QMouseEvent* event, TKivMouseEventKind kind, bool doubleClick);
  // Runs a panel handler, reporting an exception to OnError.
  template <class F>
  void Guard(F&& handler);

  TCustomKivPanel& FPanel;
};

}  // namespace chart
