// The axis name list.
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#include "chart_editors/KivEdiAxis.h"

#include "chart/core/KivConst.h"
#include "chart_editors/EditorTexts.h"

namespace chart_editors {

void FillAxisNames(const chart::TCustomAxisPanel* chart, QStringList& items, bool includeDepth) {
  items.clear();
  items << Msg(txtLeftAxis) << Msg(txtRightAxis) << Msg(txtTopAxis) << Msg(txtBottomAxis);
  if (includeDepth) items << Msg(txtDepthAxis);
  if (chart == nullptr) return;
  // The custom axes follow the five standard ones.
  for (int i = StandardAxisCount; i < chart->AxesList().Count(); ++i)
    items << Msg(txtCustomAxis) + QString::number(i - StandardAxisCount);
}

}  // namespace chart_editors
