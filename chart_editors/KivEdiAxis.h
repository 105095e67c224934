// The names of a chart's axes as the axis editors list them: the four
// standard axes, the depth axis when asked, then "Custom " and the number of
// each custom axis (from 0).
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#pragma once

#include <QStringList>

#include "chart/AxisPanel.h"

namespace chart_editors {

// Replaces items by the names; without a chart, the standard names only.
void FillAxisNames(const chart::TCustomAxisPanel* chart, QStringList& items, bool includeDepth);

}  // namespace chart_editors
