// The base of every series kind: its points (one value per point in each
// value list, with an optional colour and label), its binding to a horizontal
// and a vertical axis, the range of points in view, the series and functions
// it feeds, and its stream form, mark texts and legend texts.
//
// Creating a series kind: derive from TChartSeries, add value lists in the
// constructor (new TChartValueList(this, "Name")), and override DrawValue
// (and Clicked for hit tests, CalcHorizMargins / CalcVerticalMargins for room
// beside the points, DrawLegendShape for the legend symbol). Kinds with extra
// lists fill their TempValue before calling AddXY.
//
// Tested by: chart/tests/SeriesDataTest.cpp, chart/tests/SeriesTextsTest.cpp,
//            chart/tests/SeriesStreamTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/core/KivTypes.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/core/ValueList.h"
#include "chart/series/ChartElement.h"

namespace classlib {
class TStream;
}

namespace chart {

class TChartAxis;
class TChartSeries;
class TCustomChartLegend;
class TKivFunction;
class TSeriesMarks;
class TSeriesMarkPosition;

// The optional labels of a series' points: an absent label reads as empty.
class TLabelsList {
 public:
  const std::string& GetLabel(int index) const;
  // A non-empty text grows the list; an empty one clears the entry.
  void SetLabel(int index, const std::string& text);
  void InsertLabel(int index, const std::string& text);
  void Delete(int index);
  void DeleteRange(int start, int quantity);
  void Clear() { FItems.clear(); }
  void Swap(int a, int b);
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  void Assign(const TLabelsList& other) { FItems = other.FItems; }

 private:
  std::vector<std::optional<std::string>> FItems;
};

// What a series asks of the function that computes its points from its
// sources (TKivFunction, chart/functions/Functions.h). The series holds its
// function through this, so that it needs nothing of the functions' unit.
class ISeriesFunction {
 public:
  // The function itself, and the component the series owns and streams.
  virtual TKivFunction& Function() = 0;
  virtual classlib::TComponent& Component() = 0;
  virtual TChartSeries* ParentSeries() const = 0;
  virtual void SetParentSeries(TChartSeries* series) = 0;
  // Whether a series may feed the function.
  virtual bool IsValidSource(const TChartSeries& source) const = 0;
  // Computes the parent series' points again from source.
  virtual void RecalculateFrom(TChartSeries* source) = 0;

 protected:
  ~ISeriesFunction() = default;
};

// What a series asks of a component that fills it from elsewhere
// (TKivSeriesSource, chart/series/SeriesSource.h).
class ISeriesSource {
 public:
  virtual TChartSeries* Series() const = 0;
  virtual void SetSeries(TChartSeries* series) = 0;
  virtual bool Active() const = 0;
  virtual void SetActive(bool v) = 0;

 protected:
  ~ISeriesSource() = default;
};

enum THorizAxis : std::uint8_t { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis : std::uint8_t { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

enum TLegendTextStyle : std::uint8_t {
  ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue,
  ltsPercent, ltsXAndValue, ltsXAndPercent
};

// How a series fed by another follows it (bit set).
enum TSeriesRecalcOption : std::uint8_t { rOnDelete, rOnModify, rOnInsert, rOnClear };
using TSeriesRecalcOptions = std::uint8_t;
constexpr TSeriesRecalcOptions AllRecalcOptions = 0x0F;

// The colour of a null point.
constexpr TColor clNullPoint = clNone;

// The legend's column separator inside legend texts, and the line separator of
// mark and label texts.
constexpr char LegendColumnSeparator = '\x06';
constexpr char ChartLineSeparator = '\r';

using TSeriesNotify = std::function<void(TChartSeries& sender)>;
using TSeriesOnAfterAdd = std::function<void(TChartSeries& sender, int valueIndex)>;
using TSeriesOnBeforeAdd = std::function<bool(TChartSeries& sender)>;
using TSeriesClick = std::function<void(TChartSeries& sender, int valueIndex, TMouseButton button,
                                        TShiftState shift, std::int32_t x, std::int32_t y)>;
using TSeriesOnGetMarkText = std::function<void(TChartSeries& sender, int valueIndex, std::string& markText)>;

class TChartSeries : public TCustomChartSeries, public IValueListOwner {
  ORVEL_CLASS_INFO
 public:
  explicit TChartSeries(classlib::TComponent* owner = nullptr);
  ~TChartSeries() override;

  // properties: look
  TColor SeriesColor() const { return FSeriesColor; }
  virtual void SetSeriesColor(TColor v);
  bool ColorEachPoint() const { return FColorEachPoint; }
  virtual void SetColorEachPoint(bool v) { StoreAndInvalidate(*this, FColorEachPoint, v); }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor v) { FCursor = v; }
  std::int32_t Depth() const { return FDepth; }
  void SetDepth(std::int32_t v) { StoreAndInvalidate(*this, FDepth, v); }
  TSeriesMarks* Marks() const { return FMarks.get(); }
  void SetMarks(const TSeriesMarks& v);
  const std::string& PercentFormat() const { return FPercentFormat; }
  void SetPercentFormat(const std::string& v) { StoreAndInvalidate(*this, FPercentFormat, v); }
  const std::string& ValueFormat() const { return FValueFormat; }
  void SetValueFormat(const std::string& v) { StoreAndInvalidate(*this, FValueFormat, v); }
  std::int32_t ZOrder() const { return FZOrder; }
  void SetZOrder(std::int32_t v) { StoreAndInvalidate(*this, FZOrder, v); }
  std::int32_t GetZOrder() const { return FZOrder == -1 ? FAutoZOrder : FZOrder; }
  void SetTitle(const std::string& v) override;

  // properties: data
  TChartValueList* XValues() const { return FX; }
  TChartValueList* YValues() const { return FY; }
  void SetXValues(const TChartValueList& v);
  void SetYValues(const TChartValueList& v);
  TChartValueList* MandatoryValueList() const { return FMandatory; }
  TChartValueList* NotMandatoryValueList() const { return FNotMandatory; }
  bool YMandatory() const { return FYMandatory; }
  const TChartValueLists& ValuesList() const { return FValuesList; }
  TLabelsList& Labels() { return FLabels; }
  const TLabelsList& Labels() const { return FLabels; }
  bool HasColors() const { return FColors != nullptr; }
  // The stored colour of point index (clDefault when it has none).
  TColor StoredColor(int index) const;
  const std::string& ColorSource() const { return FColorSource; }
  void SetColorSource(const std::string& v);
  const std::string& XLabelsSource() const { return FXLabelsSource; }
  void SetXLabelsSource(const std::string& v);
  TSeriesRecalcOptions RecalcOptions() const { return FRecalcOptions; }
  void SetRecalcOptions(TSeriesRecalcOptions v) { FRecalcOptions = v; }
  bool ManualData() const { return FManualData; }
  void SetManualData(bool v) { FManualData = v; }
  std::int32_t NumSampleValues() const { return FNumSampleValues; }
  void SetNumSampleValues(std::int32_t v) { FNumSampleValues = v; }
  bool CalcVisiblePoints() const { return FCalcVisiblePoints; }
  void SetCalcVisiblePoints(bool v) { FCalcVisiblePoints = v; }
  bool DrawBetweenPoints() const { return FDrawBetweenPoints; }
  void SetDrawBetweenPoints(bool v) { FDrawBetweenPoints = v; }
  // A function without a period puts its one result in the middle of the source's X range.
  bool SingleResult() const { return FSingleResult; }
  void SetSingleResult(bool v) { FSingleResult = v; }
  bool StoreXValues() const { return FStoreXValues; }
  void SetStoreXValues(bool v) { FStoreXValues = v; }
  // "Data" is written when AlwaysStoreData is set, or for manual data unless NeverStoreData.
  bool AlwaysStoreData() const { return FAlwaysStoreData; }
  void SetAlwaysStoreData(bool v) { FAlwaysStoreData = v; }
  bool NeverStoreData() const { return FNeverStoreData; }
  void SetNeverStoreData(bool v) { FNeverStoreData = v; }
  // Keeps the series out of the chart's stored children (and the series lists of editors).
  bool DontStore() const { return FDontStore; }
  void SetDontStore(bool v) { FDontStore = v; }
  int FirstValueIndex() const { return FFirstVisible; }
  int LastValueIndex() const { return FLastVisible; }

  // properties: axes
  THorizAxis HorizAxis() const { return FHorizAxis; }
  void SetHorizAxis(THorizAxis v);
  TVertAxis VertAxis() const { return FVertAxis; }
  void SetVertAxis(TVertAxis v);
  TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
  void SetCustomHorizAxis(TChartAxis* v);
  TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
  void SetCustomVertAxis(TChartAxis* v);
  // The axes the series draws against (nullptr without a chart).
  TChartAxis* GetHorizAxis() const { return FBoundHorizAxis; }
  TChartAxis* GetVertAxis() const { return FBoundVertAxis; }
  void RecalcGetAxis();

  // properties: sources and functions
  classlib::TComponent* DataSource() const { return FDataSources.empty() ? nullptr : FDataSources[0]; }
  void SetDataSource(classlib::TComponent* v);
  const std::vector<classlib::TComponent*>& DataSources() const { return FDataSources; }
  const std::vector<TChartSeries*>& LinkedSeries() const { return FLinkedSeries; }
  TKivFunction* FunctionType() const { return FFunction != nullptr ? &FFunction->Function() : nullptr; }
  virtual void SetFunction(ISeriesFunction* function);

  // events
  TSeriesNotify AfterDrawValues, BeforeDrawValues, OnClearValues, OnMouseEnter, OnMouseLeave;
  TSeriesOnAfterAdd OnAfterAdd;
  TSeriesOnBeforeAdd OnBeforeAdd;
  TSeriesClick OnClick, OnDblClick;
  TSeriesOnGetMarkText OnGetMarkText;

  // introduced virtual: data
  virtual int CopySourcePoint(TChartSeries& source, int index);
  virtual void AddValueFromSource(TChartSeries& source, int index);
  virtual void AddValues(TChartSeries* source);
  virtual void CalcZOrder();
  virtual void ClearLists();
  virtual void ListSubStyles(const std::function<void(const std::string&)>& callback) { callback("Normal"); }
  virtual void DeleteFromSource(TChartSeries& source, int index) { (void)source; Delete(index); }
  virtual void DoAfterDrawValues();
  virtual void DoBeforeDrawValues();
  virtual void DrawAllValues();
  virtual void DrawLegendShape(int valueIndex, const TRect& rect);
  virtual void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position);
  virtual void DrawValue(int valueIndex) { (void)valueIndex; }
  virtual TColor ValueColor(int index) const;
  virtual double GetXValue(int index) const { return FX->Value(index); }
  virtual double GetYValue(int index) const { return FY->Value(index); }
  virtual void NotifyNewValue(int index);
  virtual void NotifyValue(TValueEvent event, int index);
  virtual bool MoreSameZOrder() const;
  virtual void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
    (void)valueIndex, (void)backColor, (void)brushStyle;
  }
  virtual void ApplySubStyle(int subStyle) { (void)subStyle; }
  virtual int Add(double value, const std::string& label = "", TColor color = clDefault);
  int AddNull(const std::string& label = "") { return Add(0, label, clNullPoint); }
  int AddNullXY(double x, double y, const std::string& label = "") { return AddXY(x, y, label, clNullPoint); }
  virtual int AddXY(double x, double y, const std::string& label = "", TColor color = clDefault);
  virtual bool AssociatedToAxis(const TChartAxis* axis) const;
  virtual void Clear();
  int Count() const { return FX->Count(); }
  virtual void Delete(int index);
  virtual void DeleteRange(int start, int quantity);
  virtual int LegendToValueIndex(int legendIndex) const { return legendIndex; }
  virtual int CountLegendItems() const { return Count(); }
  virtual TColor LegendItemColor(int index) const { return ValueColor(index); }
  virtual std::string LegendString(int legendIndex, TLegendTextStyle style) const;
  virtual double MaxXValue() const { return FX->MaxValue(); }
  virtual double MaxYValue() const { return FY->MaxValue(); }
  virtual double MaxZValue() const { return GetZOrder(); }
  virtual double MinXValue() const { return FX->MinValue(); }
  virtual double MinYValue() const { return FY->MinValue(); }
  virtual double MinZValue() const { return GetZOrder(); }
  virtual bool HasZValues() const { return false; }
  virtual std::int32_t CalcXPos(int index) const;
  virtual std::int32_t CalcYPos(int index) const;
  TChartValueList* GetYValueList(const std::string& name) const;
  // The values under the mouse: the chart's cursor position read through the
  // series' axes (each 0 while the series has no axis).
  void GetCursorValues(double& x, double& y) const;
  virtual int Clicked(std::int32_t x, std::int32_t y) { (void)x, (void)y; return -1; }
  virtual double MarkValue(int index) const { return GetMarkValue(index); }
  virtual double GetMarkValue(int index) const { return FMandatory->Value(index); }
  virtual bool DrawValuesForward() const;
  virtual bool DrawSeriesForward() const;
  virtual void DrawLegend(int valueIndex, const TRect& rect);
  virtual bool UseAxis() const { return true; }
  // A legend of the series' own that words its values (none: the chart's legend does).
  virtual const TCustomChartLegend* SeriesLegend() const { return nullptr; }
  // Draw point by point together with the other series of the Z group.
  virtual bool DrawInGroup() const { return false; }
  // Adds the kind's sample points.
  virtual void AddSampleValues(int numValues);
  virtual int DefaultSampleCount() const { return 25; }
  virtual bool IsValidSourceOf(const TChartSeries& target) const { return &target != this; }
  virtual bool IsValidSeriesSource(const TChartSeries& source) const;

  // operations: data
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool Updating() const { return FUpdateCount > 0; }
  void RefreshSeries();
  void CheckDatasource();
  bool IsNull(int index) const { return ValueColor(index) == clNullPoint; }
  void SetValueColor(int index, TColor color);
  void SetXValue(int index, double value);
  void SetYValue(int index, double value);
  void SwapValueIndex(int a, int b) override;
  void CheckOrder();
  void FillSampleValues(int numValues = 0);
  void SetHorizontal();
  void AddLinkedSeries(TChartSeries& series);
  void RemoveLinkedSeries(TChartSeries& series);
  void AddDataSource(classlib::TComponent& source);
  void RemoveDataSource(classlib::TComponent& source);
  void RemoveAllDataSources();
  // Puts replacement where old stands among the sources (a series changing its kind).
  void ReplaceDataSource(classlib::TComponent& old, TChartSeries& replacement);
  // The first and last point in view (Algorithms of the visible range).
  void CalcFirstLastVisibleIndex();
  std::int32_t MaxMarkWidth();
  bool FirstInZOrder() const;
  // The chart's mouse-over check; true when the pointer is over a point.
  bool CheckMouse(std::int32_t x, std::int32_t y);
  virtual void PrepareForGallery(bool enabled);

  // operations: texts
  std::string GetMarkText(int valueIndex) const;
  std::string ValueText(int valueIndex) const;
  std::string PercentText(int valueIndex) const;
  std::string XText(int valueIndex) const;
  void DrawMarks();

  // operations: "Data" stream
  void WriteData(classlib::TStream& stream) const;
  // Reads into a temporary series and replaces the points only when the
  // whole record is valid; raises classlib::EReadError otherwise.
  void ReadData(classlib::TStream& stream);
  bool HasCustomXValues() const;
  bool HasPointColors() const;
  bool HasPointLabels() const;
  bool ShouldStoreData() const { return FAlwaysStoreData || (FManualData && !FNeverStoreData); }

  // IValueListOwner
  void AddValueList(TChartValueList& list) override { FValuesList.Add(&list); }
  void ValueListNotify(TValueEvent event, int index) override;
  void ValueListChanged() override { Invalidate(); }
  void ValueSourceChanged() override { CheckDatasource(); }

  // overrides
  // Switching tells the chart's listeners and its series observer.
  void SetActive(bool v) override;
  void SetParentChart(TCustomAxisPanel* chart) override;
  void Added() override;
  void Removed() override;
  void Assign(const classlib::TPersistent& source) override;
  void Loaded() override;
  // "DataSources" (more than one source), the custom axes by their place among
  // the chart's custom axes, and "Data" (the points) when the switches say so.
  void DefineProperties(classlib::TFiler& filer) override;
  // The series' function is written inside it.
  void GetChildren(const std::function<void(classlib::TComponent&)>& proc) const override;
  classlib::TComponent* GetChildOwner() override { return Owner() != nullptr ? Owner() : this; }

  // For the chart's drawing pass: the automatic Z order of this pass.
  void SetAutoZOrder(std::int32_t v) { FAutoZOrder = v; }

 protected:
  // Where a kind's sample values go: the first X, the X step, the lowest Y and
  // the Y range (from the axes when they have a range, else 0 .. count - 1 and 0 .. 1000).
  struct TSampleBounds {
    double XMin = 0, Step = 0, YMin = 0, YRange = 1000;
  };
  TSampleBounds CalcRandomBounds(int numValues) const;
  // The engine's shared sample generator: a whole number in 0 .. k - 1 (0 when k < 1).
  static int SampleRandom(double k);
  // A real number in [0, k) from the same generator.
  static double SampleRandomReal(double k);

  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;
  int InternalAddXY(double x, double y, const std::string& label, TColor color, bool notify);

 private:
  void DeletePointExtras(int start, int quantity);
  void EnsureColors();

  TColor FSeriesColor = clDefault;
  bool FColorEachPoint = false;
  std::unique_ptr<std::vector<TColor>> FColors;
  std::string FColorSource, FXLabelsSource;
  TCursor FCursor = 0;
  std::vector<classlib::TComponent*> FDataSources;
  std::int32_t FDepth = -1;
  int FFirstVisible = -1, FLastVisible = -1;
  TChartAxis* FBoundHorizAxis = nullptr;
  TChartAxis* FBoundVertAxis = nullptr;
  std::vector<TChartSeries*> FLinkedSeries;
  std::unique_ptr<TSeriesMarks> FMarks;
  std::string FPercentFormat;
  std::string FValueFormat;
  TChartValueLists FValuesList;
  TChartValueList* FX = nullptr;
  TChartValueList* FY = nullptr;
  TChartValueList* FMandatory = nullptr;
  TChartValueList* FNotMandatory = nullptr;
  bool FYMandatory = true;
  TLabelsList FLabels;
  THorizAxis FHorizAxis = aBottomAxis;
  TVertAxis FVertAxis = aLeftAxis;
  TChartAxis* FCustomHorizAxis = nullptr;
  TChartAxis* FCustomVertAxis = nullptr;
  std::int32_t FZOrder = -1;
  std::int32_t FAutoZOrder = 0;
  TSeriesRecalcOptions FRecalcOptions = AllRecalcOptions;
  ISeriesFunction* FFunction = nullptr;
  bool FMouseInside = false;
  bool FManualData = false;
  std::int32_t FNumSampleValues = 0;
  int FUpdateCount = 0;
  bool FCalcVisiblePoints = true;
  bool FDrawBetweenPoints = false;
  bool FSingleResult = true;
  bool FStoreXValues = true;
  bool FAlwaysStoreData = false;
  bool FNeverStoreData = false;
  bool FDontStore = false;
  // The names "DataSources" held, until Loaded finds the components.
  std::vector<std::string> FPendingSources;
};

// The series' title; else its component name; else "Series" and its place
// (from 1) in its chart's list; else empty.
std::string SeriesTitleOrName(const TChartSeries& series);

}  // namespace chart
