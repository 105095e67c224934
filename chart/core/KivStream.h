// What the chart engine adds to the component stream of the class library:
// colours read as a colour's name or as a number, as older streams hold them.
//
// Tested by: chart/tests/ChartStreamTest.cpp
#pragma once

#include <string_view>

#include "chart/core/KivTypes.h"

namespace classlib {
class TReader;
}

namespace chart {

// The colour of a name such as "clRed" or "clBtnFace" (any case); false for a name it does not know.
bool IdentToColor(std::string_view name, TColor& color);
// A colour stored as a name or as an integer; a name it does not know raises EReadError.
TColor ReadColorValue(classlib::TReader& reader);

}  // namespace chart
