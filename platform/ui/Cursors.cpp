// The table of screen cursors.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#include "platform/ui/Cursors.h"

#include <array>

#include "platform/classlib/TextUtils.h"

namespace ui {

namespace {

struct TCursorEntry {
  TCursor Cursor;
  const char* Name;  // nullptr: registered by number only
  Qt::CursorShape Shape;
};

// Qt draws every one of these on every platform, so no cursor picture is
// loaded; the control library's and the chart engine's hands are Qt's
// pointing hand, the library's drag cursor its closed hand.
constexpr std::array<TCursorEntry, 25> Table{{
    {crDefault, "crDefault", Qt::ArrowCursor},
    {crNone, "crNone", Qt::BlankCursor},
    {crArrow, "crArrow", Qt::ArrowCursor},
    {crCross, "crCross", Qt::CrossCursor},
    {crIBeam, "crIBeam", Qt::IBeamCursor},
    {crSizeNESW, "crSizeNESW", Qt::SizeBDiagCursor},
    {crSizeNS, "crSizeNS", Qt::SizeVerCursor},
    {crSizeNWSE, "crSizeNWSE", Qt::SizeFDiagCursor},
    {crSizeWE, "crSizeWE", Qt::SizeHorCursor},
    {crUpArrow, "crUpArrow", Qt::UpArrowCursor},
    {crHourGlass, "crHourGlass", Qt::WaitCursor},
    {crDrag, "crDrag", Qt::DragMoveCursor},
    {crNoDrop, "crNoDrop", Qt::ForbiddenCursor},
    {crHSplit, "crHSplit", Qt::SplitHCursor},
    {crVSplit, "crVSplit", Qt::SplitVCursor},
    {crMultiDrag, "crMultiDrag", Qt::DragCopyCursor},
    {crSQLWait, "crSQLWait", Qt::WaitCursor},
    {crNo, "crNo", Qt::ForbiddenCursor},
    {crAppStart, "crAppStart", Qt::BusyCursor},
    {crHelp, "crHelp", Qt::WhatsThisCursor},
    {crHandPoint, "crHandPoint", Qt::PointingHandCursor},
    {crSizeAll, "crSizeAll", Qt::SizeAllCursor},
    {crKivHand, "crKivHand", Qt::PointingHandCursor},
    {14000, nullptr, Qt::PointingHandCursor},
    {14001, nullptr, Qt::ClosedHandCursor},
}};

const TCursorEntry* Find(TCursor cursor) {
  for (const TCursorEntry& e : Table)
    if (e.Cursor == cursor) return &e;
  return nullptr;
}

}  // namespace

QCursor ScreenCursor(TCursor cursor) {
  const TCursorEntry* e = Find(cursor);
  return e != nullptr ? QCursor(e->Shape) : QCursor(Qt::ArrowCursor);
}

bool CursorToIdent(TCursor cursor, std::string& ident) {
  const TCursorEntry* e = Find(cursor);
  if (e == nullptr || e->Name == nullptr) return false;
  ident = e->Name;
  return true;
}

bool IdentToCursor(std::string_view ident, TCursor& cursor) {
  for (const TCursorEntry& e : Table)
    if (e.Name != nullptr && classlib::SameText(ident, e.Name)) {
      cursor = e.Cursor;
      return true;
    }
  return false;
}

void GetCursorValues(const std::function<void(const std::string&)>& proc) {
  for (const TCursorEntry& e : Table)
    if (e.Name != nullptr) proc(e.Name);
}

}  // namespace ui
