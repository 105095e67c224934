// The numbers of the chart's message texts that the editors show, named.
// The texts themselves live once, in the chart's table (chart::KivMsg).
//
// Tested by: chart_editors/tests/EditorRoutinesTest.cpp
#pragma once

#include <QString>

#include "chart/core/KivConst.h"

namespace chart_editors {

// The chart's message text of that number, for a caption or an item.
inline QString Msg(int number) { return QString::fromStdString(chart::KivMsg(number)); }

enum TEditorText : int {
  txtPercentFormat = chart::msgPercentFormat,  // "##0.## %"
  txtValuesFormat = chart::msgValuesFormat,    // "#,##0.###"
  txtIncorrectValue = 84,                      // "Incorrect value. Reason: %s"
  txtEnterDaysTime = 85,                       // "Enter [Number of Days] [hh:mm:ss]"
  txtClear = 119,                              // "Clea&r"
  txtBrowse = 120,                             // "B&rowse..."
  txtSmallDots = 144,                          // "Small Dots"
  // the navigator, the value grid and the function editor
  txtApplyChanges = 86,    // "Apply Changes ?"
  txtCopy = 101,           // "Copy"
  txtFunctionPeriod = chart::msgFunctionPeriod,  // "Function Period should be >= 0"
  txtPeriodRange = 142,    // "Period range"
  txtNavFirst = 161,       // "First"
  txtNavPrior = 162,       // "Prior"
  txtNavNext = 163,        // "Next"
  txtNavLast = 164,        // "Last"
  txtNavInsert = 165,      // "Insert"
  txtNavDelete = 166,      // "Delete"
  txtNavEdit = 167,        // "Edit"
  txtNavPost = 168,        // "Post"
  txtNavCancel = 169,      // "Cancel"
  txtGridText = 172,       // "Text"
  txtGridColors = 181,     // "Colors"
  // the series editor, the gallery and the tool editors
  txtStandard = 47,        // "Standard"
  txtFunctions = 49,       // "Functions"
  txtTopAxis = 73,         // "Top Axis"
  txtBottomAxis = 74,      // "Bottom Axis"
  txtLeftAxis = 75,        // "Left Axis"
  txtRightAxis = 76,       // "Right Axis"
  txtNone = 102,           // "(none)"
  txtDepthAxis = 123,      // "Depth Axis"
  txtCustomAxis = 156,     // "Custom "
  txtSeries = 157,         // "Series"
};

// The standard axes that stand first in a chart's axes list (left, top,
// right, bottom and depth); the custom axes follow them.
constexpr int StandardAxisCount = 5;

}  // namespace chart_editors
