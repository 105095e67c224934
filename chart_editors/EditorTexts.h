// The numbers of the chart's message texts that the editors show, named.
// The texts themselves live once, in the chart's table (chart::KivMsg).
//
// Tested by: chart_editors/tests/EditorRoutinesTest.cpp
#pragma once

#include "chart/core/KivConst.h"

namespace chart_editors {

enum TEditorText : int {
  txtPercentFormat = chart::msgPercentFormat,  // "##0.## %"
  txtValuesFormat = chart::msgValuesFormat,    // "#,##0.###"
  txtIncorrectValue = 84,                      // "Incorrect value. Reason: %s"
  txtEnterDaysTime = 85,                       // "Enter [Number of Days] [hh:mm:ss]"
  txtClear = 119,                              // "Clea&r"
  txtBrowse = 120,                             // "B&rowse..."
  txtSmallDots = 144,                          // "Small Dots"
};

}  // namespace chart_editors
