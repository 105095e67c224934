// The navigator bar and its buttons.
//
// Tested by: chart_editors/tests/NavigatorTest.cpp
#include "chart_editors/KivNavigator.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

#include <algorithm>
#include <string>

#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/EditorTexts.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

// --- buttons ----------------------------------------------------------------

TKivNavButton::TKivNavButton(int index, QWidget* parent) : QAbstractButton(parent), FIndex(index) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void TKivNavButton::SetGlyph(const QImage& glyph) {
  FGlyph = glyph;
  update();
}

void TKivNavButton::SetFocusMark(bool v) {
  if (FFocusMark == v) return;
  FFocusMark = v;
  update();
}

void TKivNavButton::mousePressEvent(QMouseEvent* event) {
  QAbstractButton::mousePressEvent(event);
  if (!isDown()) return;
  if (OnMouseDown) OnMouseDown(*this);
  if (FRepeatTimer == nullptr) {
    FRepeatTimer = new QTimer(this);
    connect(FRepeatTimer, &QTimer::timeout, this, [this] { TimerExpired(); });
  }
  FRepeatTimer->start(InitRepeatPause);
}

void TKivNavButton::mouseReleaseEvent(QMouseEvent* event) {
  if (FRepeatTimer != nullptr) FRepeatTimer->stop();
  QAbstractButton::mouseReleaseEvent(event);
}

void TKivNavButton::TimerExpired() {
  if (FRepeatTimer != nullptr) FRepeatTimer->setInterval(RepeatPause);
  // isDown turns false when the mouse leaves the button while it holds it.
  if (!isDown()) return;
  try {
    emit clicked(false);
  } catch (...) {
    if (FRepeatTimer != nullptr) FRepeatTimer->stop();
    ui::ShowException(std::current_exception());
  }
}

void TKivNavButton::enterEvent(QEnterEvent* event) {
  FHover = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TKivNavButton::leaveEvent(QEvent* event) {
  FHover = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void TKivNavButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  const bool down = isDown();
  if (down || (FHover && isEnabled())) qDrawShadePanel(&p, r, palette(), down, 1);
  const int shift = down ? 1 : 0;
  if (!FGlyph.isNull()) {
    const int side = FGlyph.height();
    const QRect source(isEnabled() ? 0 : side, 0, side, side);
    const QPoint at((r.width() - side) / 2 + shift, (r.height() - side) / 2 + shift);
    p.drawImage(at, FGlyph, source);
  }
  if (FFocusMark) {
    p.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3 + shift, 3 + shift, -4 + shift, -4 + shift));
  }
}

// --- the bar ----------------------------------------------------------------

namespace {

// The button names the pictures are loaded by, in button order.
constexpr std::array<const char*, KivNavButtonCount> ButtonNames{"FIRST", "PRIOR", "NEXT", "LAST", "INSERT",
                                                                 "DELETE", "EDIT", "POST", "CANCEL"};
// The default hints, "First" ... "Cancel", in button order.
constexpr std::array<int, KivNavButtonCount> DefaultHints{txtNavFirst, txtNavPrior, txtNavNext,
                                                          txtNavLast,  txtNavInsert, txtNavDelete,
                                                          txtNavEdit,  txtNavPost,   txtNavCancel};

}  // namespace

TCustomKivNavigator::TCustomKivNavigator(QWidget* parent) : QFrame(parent) {
  setAutoFillBackground(true);
  SetColor(chart::clBtnFace);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  CreateButtons();
  resize(241, 25);
  LayoutButtons();
  InitHints();
}

TCustomKivNavigator::~TCustomKivNavigator() { SetPanel(nullptr); }

void TCustomKivNavigator::CreateButtons() {
  int x = 0;
  for (int i = 0; i < KivNavButtonCount; ++i) {
    auto* button = new TKivNavButton(i, this);
    button->setObjectName(QString("KivNav_") + ButtonNames[static_cast<std::size_t>(i)]);
    button->setGeometry(x, 0, MinButtonWidth, MinButtonHeight);
    x += MinButtonWidth;
    button->SetGlyph(LoadEditorBitmap(std::string("KivNav_") + ButtonNames[static_cast<std::size_t>(i)]));
    connect(button, &QAbstractButton::clicked, this, ui::Guarded([this, i] { BtnClick(i); }));
    button->OnMouseDown = [this](TKivNavButton& b) {
      SetFocusedButton(b.Index());
      if (TabStop() && isEnabled()) setFocus(Qt::MouseFocusReason);
    };
    button->installEventFilter(this);
    FButtons[static_cast<std::size_t>(i)] = button;
  }
  for (int i = nbInsert; i <= nbCancel; ++i) Buttons(i)->hide();
}

void TCustomKivNavigator::SetBorderStyle(TKivNavBorderStyle v) {
  if (FBorderStyle == v) return;
  FBorderStyle = v;
  if (v == nbsSingle) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
  LayoutButtons();
}

void TCustomKivNavigator::SetColor(chart::TColor v) {
  FColor = v;
  QPalette p = palette();
  p.setColor(QPalette::Window, chart::ToQColor(v));
  setPalette(p);
}

void TCustomKivNavigator::SetHints(const QStringList& hints) {
  FHints = hints;
  InitHints();
}

void TCustomKivNavigator::InitHints() {
  for (int i = 0; i < KivNavButtonCount; ++i) {
    QString hint = QString::fromStdString(chart::KivMsg(DefaultHints[static_cast<std::size_t>(i)]));
    if (i < FHints.size() && !FHints[i].isEmpty()) hint = FHints[i];
    Buttons(i)->setToolTip(hint);
  }
}

void TCustomKivNavigator::SetPanel(chart::TCustomKivPanel* panel) {
  if (panel == FPanel.Get()) return;
  if (FPanel) FPanel->RemoveListener(this);
  FPanel.Set(panel);
  if (panel != nullptr) panel->AddListener(this);
  EnableButtons();
}

void TCustomKivNavigator::BtnClick(int index) {
  EnableButtons();
  if (OnButtonClicked) OnButtonClicked(*this, index);
}

int TCustomKivNavigator::VisibleButtons() const {
  return std::max<int>(1, static_cast<int>(std::count_if(FButtons.begin(), FButtons.end(),
                                                          [](const TKivNavButton* b) { return !b->isHidden(); })));
}

QSize TCustomKivNavigator::sizeHint() const {
  return {VisibleButtons() * 26 + 2 * frameWidth(), 25};
}

QSize TCustomKivNavigator::minimumSizeHint() const {
  return {VisibleButtons() * MinButtonWidth + 2 * frameWidth(), MinButtonHeight + 2 * frameWidth()};
}

bool TCustomKivNavigator::LaidOutByParent() const {
  const QWidget* parent = parentWidget();
  return parent != nullptr && parent->layout() != nullptr && parent->layout()->indexOf(this) >= 0;
}

void TCustomKivNavigator::LayoutButtons() {
  if (FLayingOut) return;
  FLayingOut = true;
  const int n = VisibleButtons();
  const int frame = frameWidth();
  const int minWidth = n * MinButtonWidth + 2 * frame, minHeight = MinButtonHeight + 2 * frame;
  if (width() < minWidth || height() < minHeight) resize(std::max(width(), minWidth), std::max(height(), minHeight));
  const QRect client = contentsRect();
  const int w = client.width() / n;
  if (!LaidOutByParent()) resize(n * w + 2 * frame, height());
  const int spare = contentsRect().width() - n * w;
  int error = n / 2;
  int x = client.left();
  for (TKivNavButton* button : FButtons) {
    if (button->isHidden()) {
      button->move(width() + 1, client.top());
      continue;
    }
    int extra = 0;
    error -= spare;
    if (error < 0) {
      extra = 1;
      error += n;
    }
    button->setGeometry(x, client.top(), w + extra, client.height());
    x += w + extra;
  }
  FLayingOut = false;
}

bool TCustomKivNavigator::eventFilter(QObject* watched, QEvent* event) {
  // A button shown or hidden changes the share of the others.
  if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) &&
      std::find(FButtons.begin(), FButtons.end(), watched) != FButtons.end())
    LayoutButtons();
  return QFrame::eventFilter(watched, event);
}

void TCustomKivNavigator::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  LayoutButtons();
}

void TCustomKivNavigator::SetFocusedButton(int index) {
  if (index == FFocusedButton) return;
  FFocusedButton = index;
  ShowFocusMark();
}

void TCustomKivNavigator::ShowFocusMark() {
  for (TKivNavButton* button : FButtons) button->SetFocusMark(hasFocus() && button->Index() == FFocusedButton);
}

void TCustomKivNavigator::keyPressEvent(QKeyEvent* event) {
  ui::RunGuarded([&] {
    const auto visible = [this](int i) { return !Buttons(i)->isHidden(); };
    switch (event->key()) {
      case Qt::Key_Space:
        if (Buttons(FFocusedButton)->isEnabled()) Buttons(FFocusedButton)->click();
        return;
      case Qt::Key_Left:
        for (int i = FFocusedButton - 1; i >= 0; --i)
          if (visible(i)) return SetFocusedButton(i);
        return;
      case Qt::Key_Right:
        for (int i = FFocusedButton + 1; i < KivNavButtonCount; ++i)
          if (visible(i)) return SetFocusedButton(i);
        return;
      default:
        QFrame::keyPressEvent(event);
    }
  });
}

void TCustomKivNavigator::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  ShowFocusMark();
}

void TCustomKivNavigator::focusOutEvent(QFocusEvent* event) {
  QFrame::focusOutEvent(event);
  ShowFocusMark();
}

void TCustomKivNavigator::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) ui::RunGuarded([this] { EnableButtons(); });
}

}  // namespace chart_editors
