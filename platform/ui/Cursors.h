// The screen cursors by number and by name. Windows and charts name a cursor
// by a number: the standard ones are 0 and below, the control library's hand
// and drag cursors 14000 and 14001, and the chart engine's hand 2020
// ("crKivHand"). One table maps each to its Qt cursor and, where it has one,
// its name.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <QCursor>

namespace ui {

using TCursor = std::int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The chart engine's hand cursor.
constexpr TCursor crKivHand = 2020;

// The Qt cursor of a cursor number; a number the table lacks gives the arrow.
QCursor ScreenCursor(TCursor cursor);

// The name of a cursor ("crArrow", "crKivHand"); false for a number without one.
bool CursorToIdent(TCursor cursor, std::string& ident);
// The cursor of a name, in any letter case; false for an unknown name.
bool IdentToCursor(std::string_view ident, TCursor& cursor);
// Calls proc with every cursor name, in table order.
void GetCursorValues(const std::function<void(const std::string&)>& proc);

}  // namespace ui
