// The up/down button pair of the complex-number edit: two flat buttons, each
// repeating its click while it is held (first after 400 ms, then every
// 100 ms), one of them marked by a focus rectangle that the keyboard moves.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#pragma once

#include <cstdint>
#include <functional>

#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QTimer;

namespace analysis_ui {

// A flat button that repeats its click while the mouse holds it down.
class TTimerSpeedButton : public QAbstractButton {
 public:
  enum TTimeBtnState : std::uint8_t { tbFocusRect = 1, tbAllowTimer = 2 };

  explicit TTimerSpeedButton(QWidget* parent = nullptr);

  // properties
  unsigned TimeBtnState() const { return FTimeBtnState; }
  void SetTimeBtnState(unsigned state);
  const QPixmap& Glyph() const { return FGlyph; }
  void SetGlyph(const QPixmap& glyph);
  // Pictures side by side in the glyph: up, disabled, down (only the first is required).
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count);
  // The repeat timer; nullptr until the first press that may repeat.
  QTimer* RepeatTimer() const { return FRepeatTimer; }

  // events
  // The click: by the mouse, by the repeat, or by click().
  std::function<void()> OnClick;

  // operations
  // One tick of the repeat timer: from now on every 100 ms; clicks while the
  // mouse holds the button down. A failure of the click stops the repeat and
  // goes to the failure handler.
  void TimerExpired();

  // overrides
  QSize sizeHint() const override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  unsigned FTimeBtnState = 0;
  QPixmap FGlyph;
  int FNumGlyphs = 1;
  QTimer* FRepeatTimer = nullptr;
  bool FHeldByMouse = false;
};

// The pair: the up button on the upper half, the down button below.
class TUDButton : public QWidget {
 public:
  explicit TUDButton(QWidget* parent = nullptr);

  // properties
  // A null picture puts the default arrow back.
  QPixmap UpGlyph() const { return FUpButton->Glyph(); }
  void SetUpGlyph(const QPixmap& glyph);
  QPixmap DownGlyph() const { return FDownButton->Glyph(); }
  void SetDownGlyph(const QPixmap& glyph);
  int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
  void SetUpNumGlyphs(int count) { FUpButton->SetNumGlyphs(count); }
  int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
  void SetDownNumGlyphs(int count) { FDownButton->SetNumGlyphs(count); }
  // The control that takes the focus when a button is pressed.
  QWidget* FocusControl() const { return FFocusControl; }
  void SetFocusControl(QWidget* control) { FFocusControl = control; }
  // Whether the pair itself takes the keyboard focus (default false).
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool value) { setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); }
  TTimerSpeedButton* UpButton() const { return FUpButton; }
  TTimerSpeedButton* DownButton() const { return FDownButton; }
  // The button that holds the focus rectangle.
  TTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

  // events
  std::function<void()> OnUpClick;
  std::function<void()> OnDownClick;

 protected:
  // overrides
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BtnClick(TTimerSpeedButton* button);
  void BtnMouseDown(TTimerSpeedButton* button);
  // Moves the focus rectangle, only while the pair can hold the focus itself.
  void SetFocusBtn(TTimerSpeedButton* button);
  bool CanTakeFocus(const QWidget* control) const;

  TTimerSpeedButton* FUpButton;
  TTimerSpeedButton* FDownButton;
  TTimerSpeedButton* FFocusedButton;
  QPointer<QWidget> FFocusControl;
};

// The default pictures of the buttons: a small black triangle pointing up or down.
QPixmap DefaultSpinGlyph(bool up);

}  // namespace analysis_ui
