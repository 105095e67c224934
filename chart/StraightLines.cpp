// Upright and flat lines of a one-pixel pen written into the picture's pixels.
//
// Tested by: chart/tests/KivCanvasStateTest.cpp
#include "chart/StraightLines.h"

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
      p.backgroundMode() != Qt::TransparentMode || !p.combinedTransform().isIdentity())
    return std::nullopt;
  const QPen& pen = p.pen();
  if (!pen.isCosmetic() || pen.brush().style() != Qt::SolidPattern || pen.color().alpha() != 255)
    return std::nullopt;
  TStraightLines w;
  if (pen.style() == Qt::CustomDashLine) {
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

bool TStraightLines::Draw(TPoint from, TPoint to) const {
  const bool upright = from.X == to.X;
  if (from == to || (!upright && from.Y != to.Y)) return false;
  if (!FPicture.contains(from.X, from.Y) || !FPicture.contains(to.X, to.Y)) return false;
  // The pen lights from the lower coordinate to the one before the higher,
  // whichever way the line runs; its dashes start at the first pixel it
  // meets, counted from where the line starts.
  const std::int32_t a = upright ? from.Y : from.X, b = upright ? to.Y : to.X;
  const std::int32_t low = std::min(a, b), high = std::max(a, b) - 1;
  const std::int32_t across = upright ? from.X : from.Y;
  std::int32_t first = low, last = high;
  if (upright) {
    if (across < FClip.left() || across > FClip.right()) return true;
    first = std::max(first, FClip.top());
    last = std::min(last, FClip.bottom());
  } else {
    if (across < FClip.top() || across > FClip.bottom()) return true;
    first = std::max(first, FClip.left());
    last = std::min(last, FClip.right());
  }
  if (first > last) return true;
  const std::int32_t x = upright ? across : first, y = upright ? first : across;
  QRgb* pixel = reinterpret_cast<QRgb*>(FBits + y * FBytesPerLine) + x;
  const qsizetype step = upright ? FBytesPerLine / qsizetype(sizeof(QRgb)) : 1;
  const std::int32_t count = last - first + 1;
  if (FLit.empty()) {
    for (std::int32_t n = 0; n < count; ++n, pixel += step) *pixel = FColor;
    return true;
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
  return true;
}

}  // namespace chart
