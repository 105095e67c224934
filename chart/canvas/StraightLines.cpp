// Upright and flat lines of a one-pixel pen written into the picture's pixels.
//
// Tested by: chart/tests/KivCanvasStateTest.cpp
#include "chart/canvas/StraightLines.h"

#include <QPaintEngine>
#include <QRegion>
#include <algorithm>
#include <cmath>

namespace chart {

std::optional<TStraightLines> TStraightLines::For(const QPainter& p, const QImage* image) {
  if (image == nullptr || p.device() != image || p.paintEngine() == nullptr ||
      p.paintEngine()->type() != QPaintEngine::Raster)
    return std::nullopt;
  const QImage::Format format = image->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
      format != QImage::Format_ARGB32_Premultiplied)
    return std::nullopt;
  if (p.testRenderHint(QPainter::Antialiasing) || p.compositionMode() != QPainter::CompositionMode_SourceOver ||
      !p.deviceTransform().isIdentity())
    return std::nullopt;
  const QPen& pen = p.pen();
  TStraightLines w;
  w.SetBrush(p.brush());
  if (pen.style() == Qt::NoPen) {
    w.FPen = false;
  } else if (!pen.isCosmetic() || pen.brush().style() != Qt::SolidPattern || pen.color().alpha() != 255) {
    return std::nullopt;
  } else if (pen.style() == Qt::CustomDashLine) {
    if (pen.dashOffset() != 0) return std::nullopt;
    const QList<qreal> dashes = pen.dashPattern();
    if (dashes.size() % 2 != 0) return std::nullopt;
    for (qsizetype i = 0; i < dashes.size(); ++i) {
      const qreal length = dashes[i];
      if (!(length >= 1 && length <= 64) || length != std::floor(length)) return std::nullopt;
      w.FLit.insert(w.FLit.end(), static_cast<std::size_t>(length), i % 2 == 0 ? 1 : 0);
    }
    if (w.FLit.empty()) return std::nullopt;
  } else if (pen.style() != Qt::SolidLine) {
    return std::nullopt;
  }
  // The background shows only through gaps of dashes and patterns, which
  // the writer leaves alone anyway; yet the painter's opaque mode takes its
  // own road for lines, so only rectangles are written then.
  w.FOpaque = p.backgroundMode() != Qt::TransparentMode;
  if (w.FOpaque && !w.FLit.empty()) return std::nullopt;
  w.FPicture = image->rect();
  w.FClip = w.FPicture;
  if (p.hasClipping()) {
    const QRegion clip = p.clipRegion();
    if (clip.rectCount() > 1) return std::nullopt;
    w.FClip &= clip.boundingRect();
  }
  // The painter writes into the image's pixels as they are; so does the writer.
  w.FBits = const_cast<uchar*>(image->constBits());
  w.FBytesPerLine = image->bytesPerLine();
  w.FColor = pen.color().rgba();
  return w;
}

void TStraightLines::SetBrush(const QBrush& brush) {
  FFill.reset();
  FFills = true;
  if (brush.style() == Qt::SolidPattern && brush.color().alpha() == 255)
    FFill = brush.color().rgba();
  else if (brush.style() != Qt::NoBrush)
    FFills = false;
}

bool TStraightLines::Draw(TPoint from, TPoint to) const {
  const bool upright = from.X == to.X;
  if (FOpaque || from == to || (!upright && from.Y != to.Y)) return false;
  if (!FPicture.contains(from.X, from.Y) || !FPicture.contains(to.X, to.Y)) return false;
  if (FPen) Write(from, to);
  return true;
}

bool TStraightLines::Rectangle(const QRect& r) const {
  // The painter fills width by height pixels from the corner and outlines
  // one pixel further right and down; an empty or turned rectangle it draws
  // otherwise, and a dashed outline runs its dashes round the corners.
  const std::int32_t left = r.x(), top = r.y(), right = r.x() + r.width(), bottom = r.y() + r.height();
  if (!FFills || !FLit.empty() || r.width() < 0 || r.height() < 0 || (r.width() == 0 && r.height() == 0)) return false;
  if (!FPicture.contains(left, top) || !FPicture.contains(right, bottom)) return false;
  if (FFill) {
    const QRect inside = QRect(left, top, r.width(), r.height()) & FClip;
    if (!inside.isEmpty())
      for (std::int32_t y = inside.top(); y <= inside.bottom(); ++y)
        std::fill_n(reinterpret_cast<QRgb*>(FBits + y * FBytesPerLine) + inside.left(), inside.width(), *FFill);
  }
  if (FPen) {
    // Each side as a line one pixel longer than its span, so that it reaches its far corner.
    Write({left, top}, {right + 1, top});
    Write({left, bottom}, {right + 1, bottom});
    Write({left, top}, {left, bottom + 1});
    Write({right, top}, {right, bottom + 1});
  }
  return true;
}

void TStraightLines::Write(TPoint from, TPoint to) const {
  const bool upright = from.X == to.X;
  // The pen lights from the lower coordinate to the one before the higher,
  // whichever way the line runs; its dashes start at the first pixel it
  // meets, counted from where the line starts.
  const std::int32_t a = upright ? from.Y : from.X, b = upright ? to.Y : to.X;
  const std::int32_t low = std::min(a, b), high = std::max(a, b) - 1;
  const std::int32_t across = upright ? from.X : from.Y;
  std::int32_t first = low, last = high;
  if (upright) {
    if (across < FClip.left() || across > FClip.right()) return;
    first = std::max(first, FClip.top());
    last = std::min(last, FClip.bottom());
  } else {
    if (across < FClip.top() || across > FClip.bottom()) return;
    first = std::max(first, FClip.left());
    last = std::min(last, FClip.right());
  }
  if (first > last) return;
  const std::int32_t x = upright ? across : first, y = upright ? first : across;
  QRgb* pixel = reinterpret_cast<QRgb*>(FBits + y * FBytesPerLine) + x;
  const qsizetype step = upright ? FBytesPerLine / qsizetype(sizeof(QRgb)) : 1;
  const std::int32_t count = last - first + 1;
  if (FLit.empty()) {
    for (std::int32_t n = 0; n < count; ++n, pixel += step) *pixel = FColor;
    return;
  }
  const std::size_t period = FLit.size();
  if (a < b) {
    std::size_t at = static_cast<std::size_t>(first - a) % period;
    for (std::int32_t n = 0; n < count; ++n, pixel += step) {
      if (FLit[at]) *pixel = FColor;
      if (++at == period) at = 0;
    }
  } else {
    std::size_t at = static_cast<std::size_t>(a - 1 - first) % period;
    for (std::int32_t n = 0; n < count; ++n, pixel += step) {
      if (FLit[at]) *pixel = FColor;
      at = at == 0 ? period - 1 : at - 1;
    }
  }
}

}  // namespace chart
