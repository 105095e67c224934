// The position panel.
//
// Tested by: analysis_ui/tests/MtxPositionPanelTest.cpp
#include "analysis_ui/MtxPositionPanel.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/Colors.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Rounding.h"

namespace analysis_ui {

namespace {

// A 3D frame of `width` pixels around r, which shrinks by it. Raised: light
// top and left, dark bottom and right; lowered the other way round.
void Frame3D(QPainter& painter, QRect& r, chart::TBevelCut cut, int width, const QPalette& palette) {
  if (cut == chart::bvNone || width <= 0) return;
  if (cut == chart::bvSpace) {
    r.adjust(width, width, -width, -width);
    return;
  }
  const QColor topLeft = palette.color(cut == chart::bvRaised ? QPalette::Light : QPalette::Dark);
  const QColor bottomRight = palette.color(cut == chart::bvRaised ? QPalette::Dark : QPalette::Light);
  for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    r.adjust(1, 1, -1, -1);
  }
}

}  // namespace

TMtxPositionPanel::TMtxPositionPanel(QWidget* parent) : QWidget(parent) { resize(185, 15); }

QSize TMtxPositionPanel::sizeHint() const { return QSize(185, 15); }

void TMtxPositionPanel::ClampPositionAndSpan() {
  FSliderPosition = std::clamp(FSliderPosition, FSliderMin, FSliderMax);
  FSliderSpan = std::clamp(FSliderSpan, 0.0, FSliderMax - FSliderPosition);
}

void TMtxPositionPanel::SetSliderMax(double value) {
  if (std::isnan(value)) return;
  FSliderMax = std::max(0.0, value);
  FSliderMin = std::min(FSliderMin, FSliderMax);
  FSliderRange = FSliderMax - FSliderMin;
  ClampPositionAndSpan();
  update();
}

void TMtxPositionPanel::SetSliderMin(double value) {
  if (std::isnan(value)) return;
  FSliderMin = value;
  FSliderMax = std::max(FSliderMin, FSliderMax);
  FSliderRange = FSliderMax - FSliderMin;
  ClampPositionAndSpan();
  update();
}

void TMtxPositionPanel::SetSliderRange(double value) {
  if (std::isnan(value)) return;
  FSliderRange = value;
  SetSliderMax(FSliderMin + FSliderRange);
}

void TMtxPositionPanel::SetSliderPosition(double value) {
  if (std::isnan(value)) return;
  FSliderPosition = value;
  ClampPositionAndSpan();
  update();
  if (OnChangePosition) OnChangePosition(*this);
}

void TMtxPositionPanel::SetSliderSpan(double value) {
  if (std::isnan(value)) return;
  FSliderSpan = std::min(std::max(0.0, value), std::max(0.0, FSliderMax - FSliderPosition));
  update();
}

void TMtxPositionPanel::SetSliderSpanMin(std::int32_t value) {
  FSliderSpanMin = value;
  update();
}

void TMtxPositionPanel::SetSliderColor(chart::TColor value) {
  FSliderColor = value;
  update();
}

void TMtxPositionPanel::SetSliderBevelInner(chart::TBevelCut value) {
  FSliderBevelInner = value;
  update();
}

void TMtxPositionPanel::SetSliderBevelOuter(chart::TBevelCut value) {
  FSliderBevelOuter = value;
  update();
}

void TMtxPositionPanel::SetSliderBevelWidth(std::int32_t value) {
  FSliderBevelWidth = value;
  update();
}

void TMtxPositionPanel::SetCaption(const std::string& value) {
  FCaption = value;
  update();
}

void TMtxPositionPanel::SetAlignment(Qt::Alignment value) {
  FAlignment = value;
  update();
}

void TMtxPositionPanel::SetBevelInner(chart::TBevelCut value) {
  FBevelInner = value;
  update();
}

void TMtxPositionPanel::SetBevelOuter(chart::TBevelCut value) {
  FBevelOuter = value;
  update();
}

void TMtxPositionPanel::SetBevelWidth(std::int32_t value) {
  FBevelWidth = value;
  update();
}

void TMtxPositionPanel::SetColor(chart::TColor value) {
  FColor = value;
  update();
}

std::optional<double> TMtxPositionPanel::ValueAt(int x) const {
  if (FSliderRange <= 0 || width() <= 0) return std::nullopt;
  return static_cast<double>(x) / width() * FSliderRange + FSliderMin;
}

std::optional<std::pair<std::int32_t, std::int32_t>> TMtxPositionPanel::SliderPixels() const {
  const int w = width();
  if (FSliderRange <= 0 || w <= 0) return std::nullopt;
  std::int32_t left = ui::Trunc((FSliderPosition - FSliderMin) * w / FSliderRange);
  std::int32_t right = left + ui::Trunc(w * FSliderSpan / FSliderRange);
  if (right - left < FSliderSpanMin) {
    right = left + FSliderSpanMin;
    if (right > w) {
      left = w - FSliderSpanMin;
      right = w;
    }
  }
  return std::pair{left, right};
}

void TMtxPositionPanel::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (FCancelMouse) return;
  const std::optional<double> x = ValueAt(event->position().toPoint().x());
  if (!x) return;
  ui::RunGuarded([&] {
    if (*x >= FSliderPosition && *x <= FSliderPosition + FSliderSpan) {
      FDragOffset = *x;
      FDragStart = FSliderPosition;
    } else {
      FDragOffset.reset();
      SetSliderPosition(*x);
    }
  });
}

void TMtxPositionPanel::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (FCancelMouse || !(event->buttons() & Qt::LeftButton) || !FDragOffset) return;
  const std::optional<double> x = ValueAt(event->position().toPoint().x());
  if (x) ui::RunGuarded([&] { SetSliderPosition(*x - *FDragOffset + FDragStart); });
}

void TMtxPositionPanel::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (FCancelMouse) return;
  FDragOffset.reset();
  if (OnSetPosition) ui::RunGuarded([&] { OnSetPosition(*this); });
}

void TMtxPositionPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& pal = palette();
  QRect inner = rect();
  Frame3D(painter, inner, FBevelOuter, FBevelWidth, pal);
  Frame3D(painter, inner, FBevelInner, FBevelWidth, pal);
  painter.fillRect(inner, ui::ColorToQColor(FColor, pal.color(QPalette::Button)));

  if (const auto block = SliderPixels(); block && inner.isValid()) {
    QRect slider(QPoint(block->first, inner.top()), QPoint(block->second - 1, inner.bottom()));
    slider = slider.intersected(inner);
    if (slider.isValid()) {
      painter.save();
      painter.setClipRect(inner);
      Frame3D(painter, slider, FSliderBevelOuter, FSliderBevelWidth, pal);
      Frame3D(painter, slider, FSliderBevelInner, FSliderBevelWidth, pal);
      painter.fillRect(slider, ui::ColorToQColor(FSliderColor, pal.color(QPalette::Button)));
      painter.restore();
    }
  }

  if (!FCaption.empty()) {
    painter.setFont(font());
    painter.setPen(pal.color(QPalette::WindowText));
    const int letter = painter.fontMetrics().boundingRect(QLatin1Char('W')).height();
    const QRect line(0, (height() - letter) / 2, width(), letter);
    painter.drawText(line, static_cast<int>(FAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter |
                               Qt::TextExpandTabs | Qt::TextDontClip,
                     QString::fromStdString(FCaption));
  }
}

}  // namespace analysis_ui
