// The axis panel's own settings: paging and the switches of the drawing pass.
//
// Tested by: chart/tests/AxisPanelTest.cpp
#include "chart/AxisPanel.h"

#include <algorithm>

#include "chart/core/KivConst.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCustomAxisPanel::StaticClassInfo() {
  using P = TCustomAxisPanel;
  static const TClassInfo info =
      TClassBuilder<P>("TCustomAxisPanel", TCustomKivPanelExtended::StaticClassInfo())
          .Property("AxisBehind", &P::AxisBehind, &P::SetAxisBehind, true)
          .Property("AxisVisible", &P::AxisVisible, &P::SetAxisVisible, true)
          .Property("ClipPoints", &P::ClipPoints, &P::SetClipPoints, true)
          .Property("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, 0)
          .Property("Page", &P::Page, &P::SetPage, 1)
          .Property("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, true)
          .Property("View3DWalls", &P::View3DWalls, &P::SetView3DWalls, true)
          .Build();
  return info;
}

TCustomAxisPanel::TCustomAxisPanel(classlib::TComponent* owner) : TCustomKivPanelExtended(owner) {}

TCustomAxisPanel::~TCustomAxisPanel() = default;

bool& TCustomAxisPanel::AutoSampleValues() {
  static bool on = false;
  return on;
}

void TCustomAxisPanel::SetPage(std::int32_t v) {
  v = std::max(1, std::min(v, NumPages()));
  if (v == FPage) return;
  FPage = v;
  Invalidate();
  TChartChangePage e;
  e.Sender = this;
  BroadcastEvent(e);
  if (OnPageChange) OnPageChange();
}

void TCustomAxisPanel::SetMaxPointsPerPage(std::int32_t v) {
  if (v < 0) throw ChartException(KivMsg(msgMaxPointsPerPage));
  FMaxPointsPerPage = v;
  Invalidate();
  if (FPage > NumPages()) SetPage(NumPages());
  TChartChangePage e;
  e.Sender = this;
  BroadcastEvent(e);
}

void TCustomAxisPanel::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TCustomAxisPanel*>(&source)) {
    FAxisBehind = p->FAxisBehind;
    FAxisVisible = p->FAxisVisible;
    FClipPoints = p->FClipPoints;
    FMaxPointsPerPage = p->FMaxPointsPerPage;
    FPage = p->FPage;
    FScaleLastPage = p->FScaleLastPage;
    FView3DWalls = p->FView3DWalls;
  }
  TCustomKivPanelExtended::Assign(source);
}

}  // namespace chart
