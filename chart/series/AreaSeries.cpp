// Area series: origin, stacking modes, extremes, legend and sub-styles.
//
// Tested by: chart/tests/AreaSeriesTest.cpp
#include "chart/series/AreaSeries.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/StyleDrawing.h"
#include "chart/core/KivConst.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TAreaSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TAreaSeries>("TAreaSeries", TCustomSeries::StaticClassInfo())
          .Property("AreaBrush", &TAreaSeries::AreaBrush, &TAreaSeries::SetAreaBrush, bsSolid)
          .TypeName("TBrushStyle")
          .Names({"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
                  "bsDiagCross"})
          .Property("AreaColor", &TAreaSeries::AreaColor, &TAreaSeries::SetAreaColor, clDefault)
          .TypeName("TColor")
          .Property("DrawArea", &TAreaSeries::DrawArea, &TAreaSeries::SetDrawArea, false)
          .Property("MultiArea", &TAreaSeries::MultiArea, &TAreaSeries::SetMultiArea, maNone)
          .TypeName("TMultiArea")
          .Names({"maNone", "maStacked", "maStacked100"})
          .Property("Transparency", &TAreaSeries::Transparency, &TAreaSeries::SetTransparency, 0)
          .Property("UseYOrigin", &TAreaSeries::UseYOrigin, &TAreaSeries::SetUseYOrigin, false)
          .Property("YOrigin", &TAreaSeries::YOrigin, &TAreaSeries::SetYOrigin, 0.0)
          .Creatable()
          .Build();
  return info;
}

TAreaSeries::TAreaSeries(classlib::TComponent* owner) : TCustomSeries(owner) {
  SetDrawArea(true);
  SetSingleResult(false);
  Pointer()->SetVisible(false);
}

void TAreaSeries::Assign(const classlib::TPersistent& source) {
  TCustomSeries::Assign(source);
  SetDrawArea(true);
  SetDrawLine(true);
  const bool related =
      source.ClassInfo().InheritsFrom(ClassInfo()) || ClassInfo().InheritsFrom(source.ClassInfo());
  if (!related) {
    Pointer()->SetVisible(false);
    return;
  }
  if (auto* s = dynamic_cast<const TAreaSeries*>(&source)) {
    FUseYOrigin = s->FUseYOrigin;
    FYOrigin = s->FYOrigin;
  }
}

TMultiArea TAreaSeries::MultiArea() const {
  switch (Stacked()) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
  }
}

void TAreaSeries::SetMultiArea(TMultiArea v) {
  if (v == MultiArea()) return;
  SetStacked(v == maStacked ? cssStack : v == maStacked100 ? cssStack100 : cssNone);
}

std::int32_t TAreaSeries::GetOriginPos(int valueIndex) const {
  if (!FUseYOrigin) return TCustomSeries::GetOriginPos(valueIndex);
  TChartAxis* axis = ValueAxis();
  return axis != nullptr ? axis->CalcPosValue(FYOrigin) : 0;
}

double TAreaSeries::MaxYValue() const {
  const double v = TCustomSeries::MaxYValue();
  return YMandatory() && FUseYOrigin ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::MinYValue() const {
  const double v = TCustomSeries::MinYValue();
  return YMandatory() && FUseYOrigin ? std::min(v, FYOrigin) : v;
}

double TAreaSeries::MaxXValue() const {
  const double v = TCustomSeries::MaxXValue();
  return !YMandatory() && FUseYOrigin ? std::max(v, FYOrigin) : v;
}

double TAreaSeries::MinXValue() const {
  const double v = TCustomSeries::MinXValue();
  return !YMandatory() && FUseYOrigin ? std::min(v, FYOrigin) : v;
}

bool TAreaSeries::DrawSeriesForward() const {
  if (MultiArea() == maNone) return TCustomSeries::DrawSeriesForward();
  TChartAxis* axis = ValueAxis();
  return !(axis != nullptr && axis->Inverted());
}

void TAreaSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  backColor = valueIndex < 0 ? (AreaColor() == clDefault ? SeriesColor() : AreaColor()) : AreaColorOf(valueIndex);
  if (ParentChart() != nullptr) ParentChart()->Canvas().AssignVisiblePen(*AreaLinesPen());
  brushStyle = AreaChartBrush()->Style();
}

void TAreaSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  if (Gradient()->Visible()) {
    DrawGradient(ParentChart()->Canvas(), *Gradient(), rect);
    return;
  }
  TCustomSeries::DrawLegendShape(valueIndex, rect);
}

void TAreaSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCustomSeries::ListSubStyles(callback);
  for (int m : {184, 183, 181, 187, 195, 32, 196, 185, 231}) callback(KivMsg(m));
}

void TAreaSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: SetStairs(true); break;
    case 2: Marks()->SetVisible(true); break;
    case 3: SetColorEachPoint(true); break;
    case 4: SetAreaBrush(bsClear); break;
    case 5: AreaLinesPen()->SetVisible(false); break;
    case 6: SetMultiArea(maStacked); break;
    case 7: SetMultiArea(maStacked100); break;
    case 8: Pointer()->SetVisible(true); break;
    case 9: Gradient()->SetVisible(true); break;
    default: TCustomSeries::ApplySubStyle(subStyle);
  }
}

const TClassInfo& THorizAreaSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<THorizAreaSeries>("THorizAreaSeries", TAreaSeries::StaticClassInfo()).Creatable().Build();
  return info;
}

THorizAreaSeries::THorizAreaSeries(classlib::TComponent* owner) : TAreaSeries(owner) {
  SetHorizontal();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  Gradient()->SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  const std::int32_t l = Marks()->Callout()->Length() + Marks()->Callout()->Distance();
  position.LeftTop.Y = position.ArrowTo.Y - position.Height / 2;
  position.LeftTop.X += position.Width / 2 + l;
  position.ArrowTo.X += l;
  position.ArrowFrom.Y = position.ArrowTo.Y;
  position.ArrowFrom.X += Marks()->Callout()->Distance();
  TCustomSeries::DrawMark(valueIndex, text, position);
}

}  // namespace chart
