// The image tool.
//
// Tested by: chart/tests/ChartImageToolTest.cpp
#include "chart/tools/ChartImageTool.h"

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TChartImageTool::StaticClassInfo() {
  using C = TChartImageTool;
  static const TClassInfo info = TClassBuilder<C>("TChartImageTool", TKivCustomToolSeries::StaticClassInfo())
                                     .SubObject("Picture", &C::Picture)
                                     .TypeName("TPicture")
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Creatable()
                                     .Build();
  return info;
}

TChartImageTool::TChartImageTool(classlib::TComponent* owner)
    : TKivCustomToolSeries(owner), FPicture(std::make_unique<TPicture>([this] { Invalidate(); })) {}

TChartImageTool::~TChartImageTool() = default;

void TChartImageTool::SetSeries(TChartSeries* series) {
  TKivCustomToolSeries::SetSeries(series);
  Invalidate();
}

TRect TChartImageTool::ImageRect() const {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return {};
  if (const TChartSeries* s = Series())
    return {h->CalcXPosValue(s->MinXValue()), v->CalcYPosValue(s->MaxYValue()), h->CalcXPosValue(s->MaxXValue()),
            v->CalcYPosValue(s->MinYValue())};
  return {h->CalcXPosValue(h->Minimum()), v->CalcYPosValue(v->Maximum()), h->CalcXPosValue(h->Maximum()),
          v->CalcYPosValue(v->Minimum())};
}

void TChartImageTool::ChartEvent(TChartToolEvent event) {
  TCustomAxisPanel* chart = ParentChart();
  const TGraphic* graphic = FPicture->Graphic();
  if (event != cteBeforeDrawSeries || chart == nullptr || graphic == nullptr || graphic->Empty()) return;
  TCanvas3D& c = chart->Canvas();
  const TRect r = ImageRect();
  const bool clip = chart->CanClip();
  if (clip) c.ClipCube(r, 0, chart->Width3D());
  if (!chart->View3D() || chart->View3DOptions()->Orthogonal())
    c.StretchDraw(c.Calculate3DPosition(r, 0), graphic);
  else
    c.StretchImageInto(r, graphic, chart->Width3D());
  if (clip) c.UnClipRectangle();
}

}  // namespace chart
