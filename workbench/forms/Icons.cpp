// The main window's toolbar icons.
// Tested by: tests/MainWindowTest.cpp
#include "workbench/forms/Icons.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace workbench {

namespace {

constexpr int IconSize = 24;

template <class Paint>
QIcon Painted(Paint paint) {
  QPixmap pixmap(IconSize, IconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  paint(painter);
  painter.end();
  return QIcon(pixmap);
}

// Two sheets, the front one over the back one.
void PaintCopy(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 60), 1.2));
  p.setBrush(QColor(230, 230, 230));
  p.drawRect(QRectF(3.5, 3.5, 11, 13));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(8.5, 7.5, 11, 13));
  p.setPen(QPen(QColor(120, 120, 120), 1));
  for (int y = 11; y <= 17; y += 3) p.drawLine(QPointF(10.5, y), QPointF(17.5, y));
}

// A low-pass amplitude response: flat, a falling edge, ripples in the stop band.
void PaintGenerator(QPainter& p) {
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawLine(QPointF(2.5, 21.5), QPointF(21.5, 21.5));
  p.drawLine(QPointF(2.5, 2.5), QPointF(2.5, 21.5));
  QPainterPath curve(QPointF(3, 6));
  curve.lineTo(9, 6);
  curve.cubicTo(12, 6, 12, 19, 15, 19);
  for (int x = 15; x < 21; x += 2) curve.quadTo(x + 1, 17, x + 2, 19);
  p.setPen(QPen(QColor(0, 150, 0), 2));
  p.drawPath(curve);
}

// A list of filters.
void PaintMethods(QPainter& p) {
  for (int row = 0; row < 4; ++row) {
    const double y = 4.5 + 5 * row;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 110, 190));
    p.drawEllipse(QPointF(4.5, y), 1.8, 1.8);
    p.setPen(QPen(QColor(60, 60, 60), 1.6));
    p.drawLine(QPointF(8, y), QPointF(21, y));
  }
}

// Two curves over each other.
void PaintCompare(QPainter& p) {
  QPainterPath first(QPointF(2, 16)), second(QPointF(2, 12));
  for (int x = 2; x <= 22; ++x) {
    first.lineTo(x, 13 - 7 * std::sin(x / 3.5));
    second.lineTo(x, 13 - 5 * std::sin(x / 3.5 - 0.9));
  }
  p.setPen(QPen(QColor(200, 0, 0), 1.8));
  p.drawPath(first);
  p.setPen(QPen(QColor(0, 0, 200), 1.8));
  p.drawPath(second);
}

// Spectral lines.
void PaintSpectrum(QPainter& p) {
  static constexpr int heights[] = {6, 16, 11, 18, 8, 13, 5};
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(180, 90, 0));
  for (int i = 0; i < 7; ++i) p.drawRect(QRectF(2 + 3 * i, 22 - heights[i], 2, heights[i]));
}

}  // namespace

QIcon ToolbarIcon(TToolbarIcon icon, const QStyle& style) {
  switch (icon) {
    case tiFileOpen: return style.standardIcon(QStyle::SP_DialogOpenButton);
    case tiFileSave: return style.standardIcon(QStyle::SP_DialogSaveButton);
    case tiCopy: return Painted(PaintCopy);
    case tiGenerator: return Painted(PaintGenerator);
    case tiMethods: return Painted(PaintMethods);
    case tiCompare: return Painted(PaintCompare);
    case tiSpectrum: return Painted(PaintSpectrum);
  }
  return {};
}

}  // namespace workbench
