// What a test reads back from a chart: the colour of a painted pixel, the
// values of a value list, the bytes a stream was given.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

#include "chart/canvas/KivGraphics.h"
#include "chart/core/ValueList.h"
#include "platform/classlib/Streams.h"

namespace chart::testing {

inline TColor PixelAt(const QImage& img, int x, int y) { return FromQRgb(img.pixel(x, y)); }

inline std::vector<double> Values(const TChartValueList& list) {
  return {list.Values().begin(), list.Values().end()};
}

// The whole stream, read from its start.
inline std::vector<std::uint8_t> Bytes(classlib::TMemoryStream& s) {
  std::vector<std::uint8_t> b(static_cast<std::size_t>(s.Size()));
  s.SetPosition(0);
  s.ReadBuffer(b.data(), static_cast<std::int64_t>(b.size()));
  return b;
}

}  // namespace chart::testing
