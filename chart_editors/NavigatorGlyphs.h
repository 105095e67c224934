// The pictures of the navigator's nine buttons, "KivNav_First" to
// "KivNav_Cancel" (any letter case), drawn in code: each holds two square
// pictures side by side, the button's sign in black and, right of it, the
// same sign greyed over a white shadow for a disabled button.
// LoadEditorBitmap finds them by these names too.
//
// Tested by: chart_editors/tests/NavigatorTest.cpp
#pragma once

#include <QImage>
#include <QRgb>

#include <optional>
#include <string_view>

namespace chart_editors {

// The side of one picture, and the row and column its sign centres on.
constexpr int NavigatorGlyphSize = 11;
constexpr int NavigatorGlyphMiddle = 5;
constexpr QRgb NavigatorGlyphInk = 0xFF000000;
constexpr QRgb NavigatorGlyphGrey = 0xFF808080;
constexpr QRgb NavigatorGlyphShadow = 0xFFFFFFFF;

// The picture of that name; nothing for a name that is not a navigator's.
std::optional<QImage> NavigatorGlyph(std::string_view name);

}  // namespace chart_editors
