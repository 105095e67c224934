// One column of a series' data: a growable array of doubles with a name, a
// sort order, a date-time flag and cached statistics; and the collection in
// which a series keeps its columns (X first, Y second, a kind's extra lists
// after them).
//
// The list knows its series only through IValueListOwner, so it lives below
// the drawing backend and is tested without one.
//
// Tested by: chart/tests/ValueListTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace chart {

enum TChartListOrder : std::uint8_t { loNone, loAscending, loDescending };

// Value events a series passes on to the series it feeds.
enum TValueEvent : std::uint8_t { veClear, veAdd, veDelete, veRefresh, veModify };

class TChartValueList;

// What a value list asks of the series that owns it.
class IValueListOwner {
 public:
  virtual ~IValueListOwner() = default;
  // Joins a new list to the owner's collection (called by the list's constructor).
  virtual void AddValueList(TChartValueList& list) = 0;
  // Point index was modified through the list.
  virtual void ValueListNotify(TValueEvent event, int index) = 0;
  // Exchanges points a and b in every list, the colours and the labels.
  virtual void SwapValueIndex(int a, int b) = 0;
  // A published setting of a list changed: the picture is stale.
  virtual void ValueListChanged() = 0;
  // The list's ValueSource changed: the owner re-checks its data source.
  virtual void ValueSourceChanged() = 0;
};

class TChartValueList : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // Storage grows in multiples of this many values.
  static constexpr int GrowthStep = 1000;

  TChartValueList(IValueListOwner* owner, const std::string& name);
  ~TChartValueList() override;

  // properties
  bool DateTime() const { return FDateTime; }
  void SetDateTime(bool v);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  TChartListOrder Order() const { return FOrder; }
  // Set directly: no invalidation, no sort.
  void SetOrder(TChartListOrder v);
  const std::string& ValueSource() const { return FValueSource; }
  void SetValueSource(const std::string& v);
  IValueListOwner* Owner() const { return FOwner; }
  int Count() const { return FCount; }
  int Capacity() const { return FCapacity; }
  bool InitialDateTime() const { return FInitialDateTime; }

  // The value the next add puts into this list.
  double TempValue = 0;

  // operations: checked access (an index outside 0..Count-1 raises ChartException)
  double Value(int index) const;
  void SetValue(int index, double value);
  double First() const { return Value(0); }
  double Last() const { return Value(FCount - 1); }
  void Exchange(int index1, int index2);
  // Swaps two values without telling the owner (the owner's own point swap).
  void SwapValues(int index1, int index2) {
    std::swap(FValues[index1], FValues[index2]);
    FStale = true;
  }
  // Unchecked reads for loops that keep their indexes in range.
  double operator[](int index) const { return FValues[index]; }

  // operations: contents
  int AddChartValue(double value);
  int AddChartValue() { return AddChartValue(TempValue); }
  void InsertChartValue(int index, double value);
  void Delete(int index);
  // Deletes Quantity values from Start (clamped to the list).
  void DeleteRange(int start, int quantity);
  // Releases the storage.
  void ClearValues();
  int Locate(double value) const;
  void FillSequence();
  int CompareValueIndex(int a, int b) const;
  // Sorts the owner's points by this list (through the owner's swap).
  void Sort();
  void ShiftFirstToLast();
  void InitDateTime(bool flag) { FDateTime = FInitialDateTime = flag; }

  // operations: bulk access for the components that write series directly.
  // The writable span invalidates the statistics and the known order.
  std::span<const double> Values() const { return {FValues.get(), static_cast<std::size_t>(FCount)}; }
  std::span<double> WritableValues();
  // Resizes to count values (new values are 0), growing the storage as adds do.
  void SetCount(int count);
  void MarkStale() { FStale = true; }

  // True while the values are known to follow Order: adds keep it, direct
  // writes clear it, the series' CheckOrder sets it again.
  bool KnownInOrder() const { return FOrder != loNone && FInOrder; }
  void SetKnownInOrder(bool v) { FInOrder = v; }
  // The smallest index whose value is >= v (Count when none); binary search
  // while the list is known to ascend, a scan from `from` otherwise.
  int FirstAtOrAbove(double v, int from = 0) const;

  // statistics (recomputed on demand; non-finite values are left out)
  double MinValue() const;
  double MaxValue() const;
  double Total() const;
  double TotalABS() const;
  // Moves both cached totals by delta (computed first when stale) until the
  // next change of the values: a pie's gathered values count once.
  void AdjustTotals(double delta);
  double Range() const { return MaxValue() - MinValue(); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  // Reads the obsolete "Multiplier" of older streams (never written).
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  void CheckIndex(int index) const;
  void Grow(int needed);
  void Recalc() const;

  IValueListOwner* FOwner;
  std::string FName;
  bool FDateTime = false;
  bool FInitialDateTime = false;
  TChartListOrder FOrder = loNone;
  std::string FValueSource;
  std::unique_ptr<double[]> FValues;
  int FCount = 0;
  int FCapacity = 0;
  bool FInOrder = true;
  mutable bool FStale = true;
  mutable double FMinValue = 0, FMaxValue = 0, FTotal = 0, FTotalABS = 0;
};

// The value lists of one series in creation order; owns them.
class TChartValueLists {
 public:
  TChartValueLists() = default;
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;
  ~TChartValueLists() { Clear(); }

  int Count() const { return static_cast<int>(FItems.size()); }
  TChartValueList* operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
  void Add(TChartValueList* list) { FItems.push_back(list); }
  // Frees every list.
  void Clear();
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TChartValueList*> FItems;
};

}  // namespace chart
