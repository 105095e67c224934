// Checked rounding, colour conversions, the cursor table and the beep hook.
// Covers: Rounding.cpp, Colors.cpp, Cursors.cpp, Beep.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/ui/Beep.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Rounding.h"

namespace ui {
namespace {

TEST(Rounding, HalvesGoToEvenAndOutOfRangeIsIndefinite) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  struct TCase {
    double Value;
    std::int32_t Round, Trunc;
  };
  const TCase cases[] = {
      {2.5, 2, 2},
      {3.5, 4, 3},
      {-2.5, -2, -2},
      {-3.5, -4, -3},
      {0.49999999999999994, 0, 0},
      {-0.7, -1, 0},
      {2147483647.0, 2147483647, 2147483647},
      {2147483647.4, 2147483647, 2147483647},
      {2147483647.6, IntegerIndefinite, 2147483647},
      {2147483648.0, IntegerIndefinite, IntegerIndefinite},
      {-2147483648.0, -2147483648, -2147483648},
      {-2147483648.9, IntegerIndefinite, -2147483648},
      {-2147483649.0, IntegerIndefinite, IntegerIndefinite},
      {inf, IntegerIndefinite, IntegerIndefinite},
      {-inf, IntegerIndefinite, IntegerIndefinite},
      {nan, IntegerIndefinite, IntegerIndefinite},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Round(c.Value), c.Round) << c.Value;
    EXPECT_EQ(Trunc(c.Value), c.Trunc) << c.Value;
  }
}

TEST(Colors, StoredColoursAreBlueGreenRed) {
  EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_EQ(ColorToQColor(0x800000), QColor(0, 0, 0x80));  // navy
  EXPECT_EQ(ColorToQColor(0x0000FF), QColor(255, 0, 0));   // red
  EXPECT_EQ(QColorToColor(QColor(255, 0, 0)), 0x0000FFu);
  EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
  EXPECT_EQ(ColorToQRgb(0x563412), qRgb(0x12, 0x34, 0x56));
  EXPECT_EQ(QRgbToColor(qRgba(0x12, 0x34, 0x56, 0x80)), 0x563412u);
  EXPECT_EQ(ColorToQColor(QColorToColor(QColor(1, 2, 3))), QColor(1, 2, 3));
}

TEST(Colors, TheMarkersAreNoColours) {
  EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
  EXPECT_EQ(ColorToQColor(clDefault, QColor(Qt::darkCyan)), QColor(Qt::darkCyan));
  EXPECT_EQ(QColorToColor(QColor(Qt::transparent)), clNone);
  EXPECT_EQ(QColorToColor(QColor()), clNone);
}

TEST(Cursors, NumbersNamesAndShapes) {
  struct TCase {
    TCursor Cursor;
    const char* Name;
    Qt::CursorShape Shape;
  };
  const TCase cases[] = {
      {crDefault, "crDefault", Qt::ArrowCursor},  {crCross, "crCross", Qt::CrossCursor},
      {crIBeam, "crIBeam", Qt::IBeamCursor},      {crHSplit, "crHSplit", Qt::SplitHCursor},
      {crHandPoint, "crHandPoint", Qt::PointingHandCursor},
      {crSizeAll, "crSizeAll", Qt::SizeAllCursor}, {crKivHand, "crKivHand", Qt::PointingHandCursor},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ScreenCursor(c.Cursor).shape(), c.Shape) << c.Name;
    std::string name;
    ASSERT_TRUE(CursorToIdent(c.Cursor, name)) << c.Name;
    EXPECT_EQ(name, c.Name);
    TCursor cursor = 1;
    ASSERT_TRUE(IdentToCursor(c.Name, cursor));
    EXPECT_EQ(cursor, c.Cursor);
  }
  EXPECT_EQ(crKivHand, 2020);

  // The control library's hand and drag cursors have numbers only.
  EXPECT_EQ(ScreenCursor(14000).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(ScreenCursor(14001).shape(), Qt::ClosedHandCursor);
  std::string name = "kept";
  EXPECT_FALSE(CursorToIdent(14000, name));
  EXPECT_EQ(name, "kept");

  // Unknown numbers are the arrow; names are found in any case, unknown ones not.
  EXPECT_EQ(ScreenCursor(12345).shape(), Qt::ArrowCursor);
  TCursor cursor = 7;
  EXPECT_TRUE(IdentToCursor("CRKIVHAND", cursor));
  EXPECT_EQ(cursor, crKivHand);
  cursor = 7;
  EXPECT_FALSE(IdentToCursor("Arrow", cursor));
  EXPECT_FALSE(IdentToCursor("", cursor));
  EXPECT_EQ(cursor, 7);
}

TEST(Cursors, EveryNameIsListedOnceAndReadsBack) {
  std::vector<std::string> names;
  GetCursorValues([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names.front(), "crDefault");
  EXPECT_NE(std::find(names.begin(), names.end(), "crKivHand"), names.end());
  for (const std::string& n : names) {
    EXPECT_EQ(std::count(names.begin(), names.end(), n), 1) << n;
    TCursor c = 0;
    std::string back;
    ASSERT_TRUE(IdentToCursor(n, c)) << n;
    ASSERT_TRUE(CursorToIdent(c, back)) << n;
    EXPECT_EQ(back, n);
  }
}

TEST(Beep, GoesToTheHookThatIsInstalled) {
  int first = 0, second = 0;
  TBeepHook outer = SetBeepHook([&] { ++first; });
  MessageBeep();
  TBeepHook mine = SetBeepHook([&] { ++second; });
  MessageBeep();
  MessageBeep();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  // Handing back the one replaced restores it.
  SetBeepHook(std::move(mine));
  MessageBeep();
  EXPECT_EQ(first, 2);
  SetBeepHook(std::move(outer));
}

TEST(Focus, OnlyFocusGivenToAnotherControlLeavesAField) {
  for (const Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::MouseFocusReason,
                                       Qt::ShortcutFocusReason, Qt::OtherFocusReason}) {
    const QFocusEvent out(QEvent::FocusOut, reason);
    EXPECT_TRUE(LeavesTheField(&out)) << reason;
  }
  for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
    const QFocusEvent out(QEvent::FocusOut, reason);
    EXPECT_FALSE(LeavesTheField(&out)) << reason;
  }
  const QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  EXPECT_FALSE(LeavesTheField(&in));
}

}  // namespace
}  // namespace ui
