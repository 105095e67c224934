// Covers chart/core/ValueList.cpp: ordered adds, checked access, growth, statistics.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "chart/core/KivConst.h"
#include "chart/core/ValueList.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;

// An owner that keeps two lists in step and records what it is told.
class TOwner : public IValueListOwner {
 public:
  TChartValueLists Lists;
  std::vector<std::pair<TValueEvent, int>> Events;
  int Changes = 0, SourceChanges = 0;

  void AddValueList(TChartValueList& list) override { Lists.Add(&list); }
  void ValueListNotify(TValueEvent e, int index) override { Events.emplace_back(e, index); }
  void SwapValueIndex(int a, int b) override {
    for (TChartValueList* l : Lists) l->SwapValues(a, b);
  }
  void ValueListChanged() override { ++Changes; }
  void ValueSourceChanged() override { ++SourceChanges; }
};

std::vector<double> ValuesOf(const TChartValueList& l) { return {l.Values().begin(), l.Values().end()}; }

TEST(ValueList, OrderedAddsKeepArrivalOrderOfEqualValues) {
  TOwner owner;
  auto* x = new TChartValueList(&owner, "X");
  x->SetOrder(loAscending);
  std::vector<int> indexes;
  for (double v : {3.0, 1.0, 2.0, 2.0}) indexes.push_back(x->AddChartValue(v));
  EXPECT_EQ(ValuesOf(*x), (std::vector<double>{1, 2, 2, 3}));
  EXPECT_EQ(indexes, (std::vector<int>{0, 0, 1, 2}));
  EXPECT_TRUE(x->KnownInOrder());

  auto* d = new TChartValueList(&owner, "D");
  d->SetOrder(loDescending);
  EXPECT_EQ(d->AddChartValue(5), 0);
  EXPECT_EQ(d->AddChartValue(5), 1);  // equal to the last: appended
  EXPECT_EQ(d->AddChartValue(7), 0);
  EXPECT_EQ(d->AddChartValue(6), 1);
  EXPECT_EQ(ValuesOf(*d), (std::vector<double>{7, 6, 5, 5}));
  EXPECT_EQ(d->CompareValueIndex(3, 0), 1);  // descending: a smaller value compares greater
  EXPECT_EQ(owner.Lists.Count(), 2);
}

TEST(ValueList, AccessOutsideTheListRaisesNamingIndexAndCount) {
  TChartValueList l(nullptr, "Y");
  EXPECT_TRUE(Raises<ChartException>([&] { l.First(); }, "Value list Y: index 0 out of range (count 0)"));
  l.AddChartValue(1);
  l.AddChartValue(2);
  EXPECT_TRUE(Raises<ChartException>([&] { l.Value(2); }, "Value list Y: index 2 out of range (count 2)"));
  EXPECT_TRUE(Raises<ChartException>([&] { l.SetValue(-1, 0); }, "Value list Y: index -1 out of range (count 2)"));
  EXPECT_TRUE(Raises<ChartException>([&] { l.Exchange(0, 5); }, "Value list Y: index 5 out of range (count 2)"));
  EXPECT_TRUE(Raises<ChartException>([&] { l.Delete(2); }, "Value list Y: index 2 out of range (count 2)"));
  EXPECT_TRUE(Raises<ChartException>([&] { l.InsertChartValue(3, 0); },
                                     "Value list Y: insert index 3 out of range (count 2)"));
  EXPECT_EQ(ValuesOf(l), (std::vector<double>{1, 2}));  // nothing changed
  EXPECT_EQ(l.Last(), 2);
}

TEST(ValueList, StorageGrowsInThousandsAndClearReleasesIt) {
  TChartValueList l(nullptr, "Y");
  for (int i = 0; i < 1000; ++i) l.AddChartValue(i);
  EXPECT_EQ(l.Capacity(), 1000);
  l.AddChartValue(1000);  // the 1001st value grows the storage
  EXPECT_EQ(l.Capacity(), 2000);
  for (int i = 0; i < 1000; ++i) l.AddChartValue(i);
  EXPECT_EQ(l.Capacity(), 3000);  // 1.5 x 2000
  for (int i = 0; i < 1000; ++i) l.AddChartValue(i);
  EXPECT_EQ(l.Capacity(), 5000);  // 1.5 x 3000 = 4500, rounded up to a thousand
  EXPECT_EQ(l.Capacity() % TChartValueList::GrowthStep, 0);
  l.ClearValues();
  EXPECT_EQ(l.Capacity(), 0);
  EXPECT_EQ(l.Count(), 0);
}

TEST(ValueList, StatisticsFollowChangesAndLeaveOutNonFiniteValues) {
  TOwner owner;
  auto* l = new TChartValueList(&owner, "Y");
  EXPECT_EQ(l->MinValue(), 0);
  EXPECT_EQ(l->MaxValue(), 0);
  EXPECT_EQ(l->TotalABS(), 0);
  l->AddChartValue(-2);
  l->AddChartValue(5);
  EXPECT_EQ(l->MinValue(), -2);
  EXPECT_EQ(l->MaxValue(), 5);
  EXPECT_EQ(l->Total(), 3);
  EXPECT_EQ(l->TotalABS(), 7);
  EXPECT_EQ(l->Range(), 7);
  l->SetValue(0, 10);  // stale, recomputed on the next read
  EXPECT_EQ(l->MinValue(), 5);
  EXPECT_EQ(l->MaxValue(), 10);
  EXPECT_EQ(owner.Events.back(), std::make_pair(veModify, 0));

  TChartValueList n(nullptr, "N");
  n.AddChartValue(std::numeric_limits<double>::quiet_NaN());
  n.AddChartValue(4);
  n.AddChartValue(std::numeric_limits<double>::infinity());
  n.AddChartValue(-1);
  EXPECT_EQ(n.MinValue(), -1);
  EXPECT_EQ(n.MaxValue(), 4);
  EXPECT_EQ(n.Total(), 3);
}

TEST(ValueList, SortSwapsThePointsOfEveryListThroughTheOwner) {
  TOwner owner;
  auto* x = new TChartValueList(&owner, "X");
  auto* y = new TChartValueList(&owner, "Y");
  for (double v : {3.0, 1.0, 2.0}) {
    x->InsertChartValue(x->Count(), v);
    y->InsertChartValue(y->Count(), v * 10);
  }
  y->Sort();  // loNone: nothing
  EXPECT_EQ(ValuesOf(*x), (std::vector<double>{3, 1, 2}));
  x->SetOrder(loAscending);
  EXPECT_FALSE(x->KnownInOrder());
  x->Sort();
  EXPECT_EQ(ValuesOf(*x), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ValuesOf(*y), (std::vector<double>{10, 20, 30}));
  EXPECT_TRUE(x->KnownInOrder());
  x->SetValue(0, 9);
  EXPECT_FALSE(x->KnownInOrder());
}

TEST(ValueList, SearchGivesTheSameIndexSortedOrScanned) {
  TChartValueList l(nullptr, "X");
  l.SetOrder(loAscending);
  for (double v : {0.0, 1.0, 1.0, 2.0, 5.0}) l.AddChartValue(v);
  ASSERT_TRUE(l.KnownInOrder());
  const double probes[] = {-1, 0, 0.5, 1, 1.5, 5, 6};
  std::vector<int> sorted;
  for (double p : probes) sorted.push_back(l.FirstAtOrAbove(p));
  l.WritableValues();  // a direct write: the order is no longer known
  ASSERT_FALSE(l.KnownInOrder());
  for (std::size_t i = 0; i < std::size(probes); ++i) EXPECT_EQ(l.FirstAtOrAbove(probes[i]), sorted[i]) << probes[i];
  EXPECT_EQ(sorted, (std::vector<int>{0, 0, 1, 1, 3, 4, 5}));
}

TEST(ValueList, EditingOperations) {
  TOwner owner;
  auto* l = new TChartValueList(&owner, "Y");
  for (double v : {1.0, 2.0, 3.0, 4.0, 5.0}) l->AddChartValue(v);
  l->DeleteRange(1, 2);
  EXPECT_EQ(ValuesOf(*l), (std::vector<double>{1, 4, 5}));
  l->DeleteRange(2, 100);  // clamped
  EXPECT_EQ(ValuesOf(*l), (std::vector<double>{1, 4}));
  EXPECT_EQ(l->Locate(4), 1);
  EXPECT_EQ(l->Locate(7), -1);
  l->ShiftFirstToLast();
  EXPECT_EQ(ValuesOf(*l), (std::vector<double>{4, 1}));
  owner.Events.clear();
  l->FillSequence();
  EXPECT_EQ(ValuesOf(*l), (std::vector<double>{0, 1}));
  EXPECT_EQ(owner.Events, (std::vector<std::pair<TValueEvent, int>>{{veModify, 0}}));
  l->SetCount(4);
  EXPECT_EQ(ValuesOf(*l), (std::vector<double>{0, 1, 0, 0}));
}

TEST(ValueList, AssignCopiesSettingsNotValuesOrName) {
  TOwner owner;
  TChartValueList a(nullptr, "A");
  TChartValueList& b = *new TChartValueList(&owner, "B");
  a.SetOrder(loDescending);
  a.SetDateTime(true);
  a.SetValueSource("Close");
  a.AddChartValue(1);
  b.Assign(a);
  EXPECT_EQ(b.Name(), "B");
  EXPECT_EQ(b.Count(), 0);
  EXPECT_EQ(b.Order(), loDescending);
  EXPECT_TRUE(b.DateTime());
  EXPECT_EQ(b.ValueSource(), "Close");
  // Stored only when it differs from the flag the kind gave the list.
  const classlib::TPropInfo* p = TChartValueList::StaticClassInfo().FindProperty("DateTime");
  EXPECT_TRUE(p->IsStored(b));
  b.InitDateTime(true);
  EXPECT_FALSE(p->IsStored(b));
}

}  // namespace
}  // namespace chart
