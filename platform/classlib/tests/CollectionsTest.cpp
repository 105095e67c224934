// Collections and their items.
// Covers: Collections.h, Collections.cpp.
#include <gtest/gtest.h>

#include "platform/classlib/Collections.h"
#include "platform/classlib/tests/StreamFixtures.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using orvel::testing::Raises;
using streamtest::TStreamLine;
using streamtest::TStreamPen;

TStreamLine* Line(const TCollection& c, int i) { return static_cast<TStreamLine*>(c.Items(i)); }

TEST(Collection, ItemsKnowTheirPlaceAndLeaveWhenFreed) {
  TStreamPen owner;
  TCollection lines(TStreamLine::StaticClassInfo(), &owner);
  for (int i = 0; i < 3; ++i) static_cast<TStreamLine*>(lines.Add())->SetX(i);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(Line(lines, 2)->Index(), 2);
  EXPECT_EQ(Line(lines, 2)->Collection(), &lines);
  EXPECT_EQ(Line(lines, 1)->GetNamePath(), "TStreamPen.TCollection[1]");

  delete Line(lines, 0);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(Line(lines, 0)->X(), 1);
  lines.Delete(1);
  EXPECT_EQ(lines.Count(), 1);

  TCollection other(TStreamLine::StaticClassInfo());
  TCollectionItem* moved = lines.Items(0);
  moved->SetCollection(&other);
  EXPECT_EQ(lines.Count(), 0);
  EXPECT_EQ(other.Items(0), moved);
  EXPECT_TRUE(Raises([&] { lines.Items(0); }, "List index out of bounds (0)"));
  EXPECT_TRUE(Raises([&] { other.Delete(-1); }, "List index out of bounds (-1)"));
}

TEST(Collection, AssignCopiesEveryItemAndClearFreesThem) {
  TCollection a(TStreamLine::StaticClassInfo());
  TCollection b(TStreamLine::StaticClassInfo());
  static_cast<TStreamLine*>(a.Add())->SetCaption("one");
  static_cast<TStreamLine*>(a.Add())->SetY(-4);
  b.Add();
  b.Add();
  b.Add();
  b.Assign(a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(Line(b, 0)->Caption(), "one");
  EXPECT_EQ(Line(b, 1)->Y(), -4);
  EXPECT_NE(b.Items(0), a.Items(0));
  b.Clear();
  EXPECT_EQ(b.Count(), 0);
}

TEST(Collection, OnlyCollectionItemClassesAreAccepted) {
  EXPECT_TRUE(Raises([] { TCollection c(TStreamPen::StaticClassInfo()); },
                     "TStreamPen is not a collection item class"));
}

}  // namespace
