// The pictures the editors load by name: the twelve brush patterns
// "KivBrush1" to "KivBrush12" (8 x 8, one bit a pixel, ink black on white)
// the arrows "KivArrowUp" and "KivArrowDown" of the move buttons and the
// navigator's buttons (NavigatorGlyphs.h). They are drawn in code; names
// compare in any letter case.
//
// Tested by: chart_editors/tests/EditorRoutinesTest.cpp
#pragma once

#include <QImage>

#include <string_view>

namespace chart_editors {

// The picture of that name; raises classlib::Exception "Resource <name> not
// found" for a name there is none of.
QImage LoadEditorBitmap(std::string_view name);

}  // namespace chart_editors
