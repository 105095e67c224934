// The repeating speed button and the up/down pair.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#include "analysis_ui/SpinButtons.h"

#include <algorithm>
#include <exception>

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "platform/ui/Guarded.h"

namespace analysis_ui {

QPixmap DefaultSpinGlyph(bool up) {
  QImage image(7, 4, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int row = 0; row < 4; ++row) {
    const int half = up ? row : 3 - row;  // the triangle's half width on this row
    for (int x = 3 - half; x <= 3 + half; ++x) image.setPixel(x, row, qRgb(0, 0, 0));
  }
  return QPixmap::fromImage(image);
}

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QAbstractButton::clicked, this, ui::Guarded([this] {
            if (OnClick) OnClick();
          }));
}

void TTimerSpeedButton::SetTimeBtnState(unsigned state) {
  FTimeBtnState = state;
  update();
}

void TTimerSpeedButton::SetGlyph(const QPixmap& glyph) {
  FGlyph = glyph;
  update();
}

void TTimerSpeedButton::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  update();
}

QSize TTimerSpeedButton::sizeHint() const { return QSize(15, 10); }

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event) {
  QAbstractButton::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  FHeldByMouse = true;
  if ((FTimeBtnState & tbAllowTimer) == 0) return;
  if (FRepeatTimer == nullptr) {
    FRepeatTimer = new QTimer(this);
    connect(FRepeatTimer, &QTimer::timeout, this, [this] { TimerExpired(); });
  }
  FRepeatTimer->setInterval(400);
  FRepeatTimer->start();
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FHeldByMouse = false;
  QAbstractButton::mouseReleaseEvent(event);
  if (FRepeatTimer != nullptr) FRepeatTimer->stop();
}

void TTimerSpeedButton::TimerExpired() {
  if (FRepeatTimer != nullptr) FRepeatTimer->setInterval(100);
  // Dragged off the button, it is no longer down: no step until it is back.
  if (!isDown() || !FHeldByMouse || !OnClick) return;
  try {
    OnClick();
  } catch (...) {
    // A step that fails would fail again ten times a second.
    if (FRepeatTimer != nullptr) FRepeatTimer->stop();
    ui::ShowException(std::current_exception());
  }
}

void TTimerSpeedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const QRect r = rect();
  const bool down = isDown();
  painter.fillRect(r, pal.color(QPalette::Button));
  // A raised bevel, sunken while pressed.
  const QColor light = pal.color(down ? QPalette::Dark : QPalette::Light);
  const QColor dark = pal.color(down ? QPalette::Light : QPalette::Dark);
  painter.setPen(light);
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(dark);
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());

  QPixmap glyph = FGlyph;
  if (!glyph.isNull() && FNumGlyphs > 1) {
    // Pictures side by side: up, disabled, down.
    const int w = glyph.width() / FNumGlyphs;
    int frame = 0;
    if (!isEnabled() && FNumGlyphs > 1)
      frame = 1;
    else if (down && FNumGlyphs > 2)
      frame = 2;
    glyph = glyph.copy(frame * w, 0, w, glyph.height());
  } else if (!glyph.isNull() && !isEnabled()) {
    // The picture's shape in the colour of disabled text.
    QPixmap tinted(glyph.size());
    tinted.fill(Qt::transparent);
    QPainter tint(&tinted);
    tint.drawPixmap(0, 0, glyph);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(tinted.rect(), pal.color(QPalette::Disabled, QPalette::ButtonText));
    tint.end();
    glyph = tinted;
  }
  const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
  if (!glyph.isNull()) {
    const QSize size = glyph.size() / glyph.devicePixelRatio();
    painter.drawPixmap(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2) + shift, size),
                       glyph);
  }
  if ((FTimeBtnState & tbFocusRect) != 0) {
    const QRect focus = r.adjusted(3, 3, -3, -3).translated(shift);
    if (focus.isValid()) {
      painter.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
      painter.drawRect(focus.adjusted(0, 0, -1, -1));
    }
  }
}

TUDButton::TUDButton(QWidget* parent)
    : QWidget(parent),
      FUpButton(new TTimerSpeedButton(this)),
      FDownButton(new TTimerSpeedButton(this)),
      FFocusedButton(FUpButton) {
  setFocusPolicy(Qt::NoFocus);
  FUpButton->setObjectName("UpButton");
  FDownButton->setObjectName("DownButton");
  for (TTimerSpeedButton* button : {FUpButton, FDownButton}) {
    button->SetTimeBtnState(TTimerSpeedButton::tbAllowTimer);
    button->installEventFilter(this);
    button->OnClick = [this, button] { BtnClick(button); };
  }
  SetUpGlyph(QPixmap());
  SetDownGlyph(QPixmap());
  setMinimumWidth(15);
  resize(20, 25);
}

void TUDButton::SetUpGlyph(const QPixmap& glyph) {
  FUpButton->SetGlyph(glyph.isNull() ? DefaultSpinGlyph(true) : glyph);
  if (glyph.isNull()) FUpButton->SetNumGlyphs(1);
}

void TUDButton::SetDownGlyph(const QPixmap& glyph) {
  FDownButton->SetGlyph(glyph.isNull() ? DefaultSpinGlyph(false) : glyph);
  if (glyph.isNull()) FDownButton->SetNumGlyphs(1);
}

void TUDButton::BtnClick(TTimerSpeedButton* button) {
  if (button == FDownButton) {
    if (OnDownClick) OnDownClick();
  } else if (OnUpClick) {
    OnUpClick();
  }
}

bool TUDButton::CanTakeFocus(const QWidget* control) const {
  return control->isEnabled() && control->isVisible() && control->focusPolicy() != Qt::NoFocus;
}

void TUDButton::BtnMouseDown(TTimerSpeedButton* button) {
  SetFocusBtn(button);
  if (FFocusControl != nullptr && CanTakeFocus(FFocusControl) && (FFocusControl->focusPolicy() & Qt::TabFocus) &&
      !FFocusControl->hasFocus()) {
    FFocusControl->setFocus(Qt::MouseFocusReason);
  } else if (TabStop() && CanTakeFocus(this) && !hasFocus()) {
    setFocus(Qt::MouseFocusReason);
  }
}

void TUDButton::SetFocusBtn(TTimerSpeedButton* button) {
  if (!TabStop() || !CanTakeFocus(this) || button == FFocusedButton) return;
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimerSpeedButton::tbFocusRect);
  FFocusedButton = button;
  if (hasFocus()) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | TTimerSpeedButton::tbFocusRect);
}

bool TUDButton::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      (watched == FUpButton || watched == FDownButton))
    ui::RunGuarded([&] { BtnMouseDown(static_cast<TTimerSpeedButton*>(watched)); });
  return QWidget::eventFilter(watched, event);
}

void TUDButton::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space: ui::RunGuarded([&] { BtnClick(FFocusedButton); }); return;
    case Qt::Key_Up:
      SetFocusBtn(FUpButton);
      ui::RunGuarded([&] { BtnClick(FUpButton); });
      return;
    case Qt::Key_Down:
      SetFocusBtn(FDownButton);
      ui::RunGuarded([&] { BtnClick(FDownButton); });
      return;
    default: QWidget::keyPressEvent(event);
  }
}

void TUDButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | TTimerSpeedButton::tbFocusRect);
}

void TUDButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimerSpeedButton::tbFocusRect);
}

void TUDButton::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  FUpButton->setGeometry(0, 0, width(), half);
  FDownButton->setGeometry(0, half, width(), height() - half);
}

}  // namespace analysis_ui
