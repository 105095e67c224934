// The chart the picture tests draw one series kind on: 2D, white, without a
// legend; and the picture of its whole drawing pass.
#pragma once

#include <QImage>
#include <memory>

#include "chart/ChartControl.h"

namespace chart::testing {

// A new series of kind S on chart, in black.
template <class S>
S* AddPlainSeries(TChart& chart) {
  chart.SetView3D(false);
  chart.SetColor(clWhite);
  chart.Legend()->SetVisible(false);
  auto* s = new S(&chart);
  s->SetParentChart(&chart);
  s->SetSeriesColor(clBlack);
  return s;
}

inline QImage RenderedPicture(TChart& chart) { return chart.RenderToBitmap()->Image().copy(); }

}  // namespace chart::testing
