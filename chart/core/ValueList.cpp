// Value lists: ordered adds, checked access, storage growth, statistics.
//
// Tested by: chart/tests/ValueListTest.cpp
#include "chart/core/ValueList.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/WarningSink.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TChartValueList::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartValueList>("TChartValueList", classlib::TPersistent::StaticClassInfo())
          .Property("DateTime", &TChartValueList::DateTime, &TChartValueList::SetDateTime)
          .Stored([](const TChartValueList& l) { return l.DateTime() != l.InitialDateTime(); })
          .Property("Name", &TChartValueList::Name, &TChartValueList::SetName)
          .Property("Order", &TChartValueList::Order, &TChartValueList::SetOrder, loNone)
          .TypeName("TChartListOrder")
          .Names({"loNone", "loAscending", "loDescending"})
          .Property("ValueSource", &TChartValueList::ValueSource, &TChartValueList::SetValueSource,
                    std::string())
          .Build();
  return info;
}

TChartValueList::TChartValueList(IValueListOwner* owner, const std::string& name)
    : FOwner(owner), FName(name) {
  if (FOwner != nullptr) FOwner->AddValueList(*this);
  ClearValues();
}

TChartValueList::~TChartValueList() = default;

// A stored multiplier other than 1 is no longer applied: the user hears so
// through the warning sink, and loading goes on.
void TChartValueList::DefineProperties(classlib::TFiler& filer) {
  classlib::TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "Multiplier",
      [](classlib::TReader& r) {
        if (r.ReadFloat() != 1.0)
          classlib::ReportWarning(
              "Error: Multiplier property is obsolete.\rModify KivDefs.inc (enable Multiplier) and recompile.");
      },
      nullptr, false);
}

void TChartValueList::SetDateTime(bool v) {
  if (FDateTime == v) return;
  FDateTime = v;
  if (FOwner != nullptr) FOwner->ValueListChanged();
}

void TChartValueList::SetOrder(TChartListOrder v) {
  FOrder = v;
  // A list that was not sorted by the new order is not known to follow it.
  FInOrder = FCount < 2;
}

void TChartValueList::SetValueSource(const std::string& v) {
  if (FValueSource == v) return;
  FValueSource = v;
  if (FOwner != nullptr) FOwner->ValueSourceChanged();
}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= FCount)
    throw ChartException("Value list " + FName + ": index " + IntToText(index) +
                         " out of range (count " + IntToText(FCount) + ")");
}

double TChartValueList::Value(int index) const {
  CheckIndex(index);
  return FValues[index];
}

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index);
  FValues[index] = value;
  FStale = true;
  FInOrder = false;
  if (FOwner != nullptr) FOwner->ValueListNotify(veModify, index);
}

void TChartValueList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FValues[index1], FValues[index2]);
  FStale = true;
  FInOrder = false;
  if (FOwner != nullptr) FOwner->ValueListNotify(veModify, index1);
}

// Filling a million points one by one must not copy the storage a thousand
// times: capacities stay multiples of GrowthStep but grow by half at least.
void TChartValueList::Grow(int needed) {
  if (needed <= FCapacity) return;
  const std::int64_t byHalf = (static_cast<std::int64_t>(FCapacity) * 3 / 2 + GrowthStep - 1) /
                              GrowthStep * GrowthStep;
  std::int64_t target = std::max<std::int64_t>(FCapacity + GrowthStep, byHalf);
  if (target < needed) target = (static_cast<std::int64_t>(needed) + GrowthStep - 1) / GrowthStep * GrowthStep;
  if (target > INT32_MAX) throw ChartException("Value list " + FName + ": too many values");
  // Values beyond the count are meaningless: no need to clear them.
  auto values = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(target));
  if (FCount > 0) std::memcpy(values.get(), FValues.get(), sizeof(double) * static_cast<std::size_t>(FCount));
  FValues = std::move(values);
  FCapacity = static_cast<int>(target);
}

void TChartValueList::InsertChartValue(int index, double value) {
  if (index < 0 || index > FCount)
    throw ChartException("Value list " + FName + ": insert index " + IntToText(index) +
                         " out of range (count " + IntToText(FCount) + ")");
  Grow(FCount + 1);
  if (index < FCount)
    std::memmove(&FValues[index + 1], &FValues[index], sizeof(double) * static_cast<std::size_t>(FCount - index));
  FValues[index] = value;
  ++FCount;
  FStale = true;
  FInOrder = false;
}

int TChartValueList::AddChartValue(double value) {
  int index = FCount;
  if (FOrder != loNone && FCount > 0) {
    const double last = FValues[FCount - 1];
    // Equal values keep arrival order: the new one goes after them.
    if (FOrder == loAscending ? value < last : value > last) {
      int i = FCount - 1;
      if (FOrder == loAscending)
        while (i >= 0 && FValues[i] > value) --i;
      else
        while (i >= 0 && FValues[i] < value) --i;
      index = i + 1;
    }
  }
  const bool inOrder = FInOrder;
  InsertChartValue(index, value);
  // An ordered add keeps the order it found; NaN breaks it.
  FInOrder = inOrder && !std::isnan(value);
  return index;
}

void TChartValueList::Delete(int index) {
  CheckIndex(index);
  DeleteRange(index, 1);
}

void TChartValueList::DeleteRange(int start, int quantity) {
  if (start < 0) {
    quantity += start;
    start = 0;
  }
  if (start >= FCount || quantity <= 0) return;
  quantity = std::min(quantity, FCount - start);
  const int tail = FCount - start - quantity;
  if (tail > 0)
    std::memmove(&FValues[start], &FValues[start + quantity], sizeof(double) * static_cast<std::size_t>(tail));
  FCount -= quantity;
  FStale = true;
}

void TChartValueList::ClearValues() {
  FValues.reset();
  FCapacity = 0;
  FCount = 0;
  FStale = true;
  FInOrder = true;
}

int TChartValueList::Locate(double value) const {
  for (int i = 0; i < FCount; ++i)
    if (FValues[i] == value) return i;
  return -1;
}

void TChartValueList::FillSequence() {
  for (int i = 0; i < FCount; ++i) FValues[i] = i;
  FStale = true;
  FInOrder = FOrder != loDescending || FCount < 2;
  if (FOwner != nullptr) FOwner->ValueListNotify(veModify, 0);
}

int TChartValueList::CompareValueIndex(int a, int b) const {
  const double va = Value(a), vb = Value(b);
  const int r = va < vb ? -1 : (va > vb ? 1 : 0);
  return FOrder == loDescending ? -r : r;
}

void TChartValueList::Sort() {
  if (FOrder == loNone || FCount < 1) return;
  SortIndexes(0, FCount - 1, [this](int a, int b) { return CompareValueIndex(a, b); },
              [this](int a, int b) {
                if (FOwner != nullptr)
                  FOwner->SwapValueIndex(a, b);
                else
                  std::swap(FValues[a], FValues[b]);
              });
  FInOrder = true;
}

void TChartValueList::ShiftFirstToLast() {
  if (FCount < 1) return;
  const double first = FValues[0];
  std::memmove(&FValues[0], &FValues[1], sizeof(double) * static_cast<std::size_t>(FCount - 1));
  FValues[FCount - 1] = first;
  FInOrder = false;
}

std::span<double> TChartValueList::WritableValues() {
  FStale = true;
  FInOrder = false;
  return {FValues.get(), static_cast<std::size_t>(FCount)};
}

void TChartValueList::SetCount(int count) {
  if (count < 0) throw ChartException("Value list " + FName + ": count must be >= 0");
  Grow(count);
  for (int i = FCount; i < count; ++i) FValues[i] = 0;
  FCount = count;
  FStale = true;
  FInOrder = false;
}

int TChartValueList::FirstAtOrAbove(double v, int from) const {
  from = std::max(from, 0);
  if (KnownInOrder() && FOrder == loAscending)
    return static_cast<int>(std::lower_bound(FValues.get() + std::min(from, FCount), FValues.get() + FCount, v) -
                            FValues.get());
  for (int i = from; i < FCount; ++i)
    if (FValues[i] >= v) return i;
  return FCount;
}

void TChartValueList::Recalc() const {
  FStale = false;
  FMinValue = FMaxValue = FTotal = FTotalABS = 0;
  bool any = false;
  for (int i = 0; i < FCount; ++i) {
    const double v = FValues[i];
    if (!std::isfinite(v)) continue;
    if (!any) {
      FMinValue = FMaxValue = v;
      any = true;
    } else if (v < FMinValue) {
      FMinValue = v;
    } else if (v > FMaxValue) {
      FMaxValue = v;
    }
    FTotal += v;
    FTotalABS += std::fabs(v);
  }
}

double TChartValueList::MinValue() const {
  if (FStale) Recalc();
  return FMinValue;
}
double TChartValueList::MaxValue() const {
  if (FStale) Recalc();
  return FMaxValue;
}
double TChartValueList::Total() const {
  if (FStale) Recalc();
  return FTotal;
}
double TChartValueList::TotalABS() const {
  if (FStale) Recalc();
  return FTotalABS;
}

void TChartValueList::AdjustTotals(double delta) {
  if (FStale) Recalc();
  FTotal += delta;
  FTotalABS += delta;
}

void TChartValueList::Assign(const classlib::TPersistent& source) {
  if (auto* l = dynamic_cast<const TChartValueList*>(&source)) {
    SetOrder(l->FOrder);
    FDateTime = l->FDateTime;
    FValueSource = l->FValueSource;
    return;
  }
  classlib::TPersistent::Assign(source);
}

void TChartValueLists::Clear() {
  for (TChartValueList* l : FItems) delete l;
  FItems.clear();
}

}  // namespace chart
