// The labelled boxes a series draws beside its points: their common look,
// the look of single marks, and the place where each mark was drawn (and
// whether the user moved it).
//
// Tested by: chart/tests/SeriesMarksTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/KivPanel.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesPointer.h"

namespace classlib {
class TStream;
}

namespace chart {

class TSeriesMarks;

// What a point's mark shows.
enum TSeriesMarksStyle : std::uint8_t {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY
};


class TSeriesMarkPosition {
 public:
  TPoint ArrowFrom;
  bool ArrowFix = false;
  TPoint ArrowTo;
  bool Custom = false;
  std::int32_t Height = 0;
  TPoint LeftTop;
  std::int32_t Width = 0;

  TRect Bounds() const { return {LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height}; }
  // Copies points and sizes, never the two flags.
  void Assign(const TSeriesMarkPosition& other);
};

class TSeriesMarksPositions {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // nullptr beyond the list or for an empty entry.
  TSeriesMarkPosition* Position(int index) const;
  // The entry at index, created (not custom) when missing.
  TSeriesMarkPosition& Ensure(int index);
  void Append(std::unique_ptr<TSeriesMarkPosition> p) { FItems.push_back(std::move(p)); }
  bool HasCustom() const;
  void Clear() { FItems.clear(); }
  void Delete(int index);
  void DeleteRange(int start, int quantity);
  void Swap(int a, int b);
  // Keeps the entries index-aligned when a point is inserted.
  void InsertEmpty(int index);

 private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

class TMarksItem : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TMarksItem(TCustomKivPanel* parent = nullptr);
};

class TMarksItems {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TMarksItem* Item(int index) const;
  bool LoadedFromStream = false;
  std::vector<std::unique_ptr<TMarksItem>>& Entries() { return FItems; }
  void Clear() { FItems.clear(); }
  void Delete(int index);
  void DeleteRange(int start, int quantity);
  void Swap(int a, int b);
  void InsertEmpty(int index);

 private:
  std::vector<std::unique_ptr<TMarksItem>> FItems;
};

class TSeriesMarksGradient : public TKivGradient {
  ORVEL_CLASS_INFO
 public:
  explicit TSeriesMarksGradient(TNotifyEvent onChange = {});
};

class TSeriesMarks : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TSeriesMarks(TCustomChartSeries* series = nullptr);
  ~TSeriesMarks() override;

  // properties
  std::int32_t Angle() const { return FAngle; }
  void SetAngle(std::int32_t v) { StoreAndInvalidate(*this, FAngle, v); }
  TMarksCallout* Callout() const { return FCallout.get(); }
  TWhitePen* Arrow() const { return FCallout->Arrow(); }
  std::int32_t ArrowLength() const { return FCallout->Length(); }
  void SetArrowLength(std::int32_t v) { FCallout->SetLength(v); }
  TColor BackColor() const { return Color(); }
  void SetBackColor(TColor v) { SetColor(v); }
  bool Clip() const { return FClip; }
  void SetClip(bool v) { StoreAndInvalidate(*this, FClip, v); }
  // Values below 1 count as 1: every point's mark.
  std::int32_t DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(std::int32_t v) { StoreAndInvalidate(*this, FDrawEvery, v < 1 ? 1 : v); }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v) { StoreAndInvalidate(*this, FMultiLine, v); }
  TSeriesMarksStyle Style() const { return FStyle; }
  void SetStyle(TSeriesMarksStyle v) { StoreAndInvalidate(*this, FStyle, v); }
  TCustomChartSeries* ParentSeries() const { return FSeries; }
  TSeriesMarksPositions& Positions() { return FPositions; }
  TMarksItems& Items() { return FItems; }
  const TMarksItems& Items() const { return FItems; }
  std::int32_t ZPosition = 0;

  // operations
  // The item of a point, created on demand.
  TMarksItem& Item(int index);
  // The item of a point when it has one, else the marks themselves.
  TKivCustomShape& MarkItem(int index);
  bool ItemVisible(int index);
  void Clear();
  int Clicked(std::int32_t x, std::int32_t y);
  void DrawItem(int index, TColor color, const std::string& text, TSeriesMarkPosition& position);
  void ApplyArrowLength(TSeriesMarkPosition& position) const;
  void AntiOverlap(int first, int index, TSeriesMarkPosition& position);
  std::int32_t TextWidth(int index, const std::string& text);
  void SetParent(TCustomKivPanel* parent) override;
  // The "Items" blob: a 32-bit count, then each item's properties. A point
  // without an item of its own is written with the marks' common look, so the
  // chart read back draws every mark as this one does; reading replaces the
  // items only when the whole blob is sound.
  void WriteItems(classlib::TStream& stream);
  void ReadItems(classlib::TStream& stream);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  // "Items", when some point's mark has a look of its own.
  void DefineProperties(classlib::TFiler& filer) override;

 private:

  TCustomChartSeries* FSeries;
  std::int32_t FAngle = 0;
  std::unique_ptr<TMarksCallout> FCallout;
  bool FClip = false;
  std::int32_t FDrawEvery = 1;
  bool FMultiLine = false;
  TSeriesMarksStyle FStyle = smsLabel;
  TSeriesMarksPositions FPositions;
  TMarksItems FItems;
};

}  // namespace chart
