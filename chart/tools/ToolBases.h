// The tool bases (any tool, a tool bound to a series, a tool bound to an
// axis), the two plain lists a chart keeps of its axes and its tools, and the
// process-wide registry of tool kinds.
//
// Tested by: chart/tests/ToolBasesTest.cpp
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/core/KivTypes.h"
#include "chart/series/ChartElement.h"
#include "platform/classlib/Collections.h"

namespace chart {

class TChartAxis;
class TChartSeries;

enum TChartToolEvent : std::uint8_t { cteAfterDraw, cteBeforeDrawSeries, cteBeforeDraw };
enum TChartMouseEvent : std::uint8_t { cmeDown, cmeMove, cmeUp };

class TKivCustomTool : public TCustomChartElement {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomTool(classlib::TComponent* owner = nullptr);
  ~TKivCustomTool() override;

  // introduced virtual
  virtual void ChartEvent(TChartToolEvent event) { (void)event; }
  virtual void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift,
                               std::int32_t x, std::int32_t y) {
    (void)event, (void)button, (void)shift, (void)x, (void)y;
  }
  virtual std::string Description() const { return ""; }

  // overrides
  void SetParentChart(TCustomAxisPanel* chart) override;
};

class TKivCustomToolSeries : public TKivCustomTool {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomToolSeries(classlib::TComponent* owner = nullptr);
  ~TKivCustomToolSeries() override;

  TChartSeries* Series() const { return FSeries; }
  virtual void SetSeries(TChartSeries* series);
  TChartAxis* GetHorizAxis() const;
  TChartAxis* GetVertAxis() const;
  std::string EditorClassName() const override { return "TSeriesToolEditor"; }

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;

 private:
  TChartSeries* FSeries = nullptr;
};

class TKivCustomToolAxis : public TKivCustomTool {
  ORVEL_CLASS_INFO
 public:
  explicit TKivCustomToolAxis(classlib::TComponent* owner = nullptr);

  TChartAxis* Axis() const { return FAxis; }
  virtual void SetAxis(TChartAxis* axis);
  // Told by an axis that goes away: the tool stays on its chart without one.
  void AxisFreed() {
    FAxis = nullptr;
    Invalidate();
  }
  std::string EditorClassName() const override { return "TAxisToolEditor"; }
  // "AxisID": the axis' position in its chart's axes list (-1 without one).
  std::int32_t AxisID() const;
  void SetAxisID(std::int32_t id);
  // "AxisID" while the tool has an axis.
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  TChartAxis* FAxis = nullptr;
};

// Every axis of a chart, the five standard ones first; owns them.
class TChartAxes {
 public:
  TChartAxes() = default;
  TChartAxes(const TChartAxes&) = delete;
  TChartAxes& operator=(const TChartAxes&) = delete;
  ~TChartAxes() { Clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TChartAxis* operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
  void Add(TChartAxis* axis) { FItems.push_back(axis); }
  void Remove(TChartAxis* axis);
  int IndexOf(const TChartAxis* axis) const;
  // Frees the axes one by one, always the first remaining.
  void Clear();
  // Conversions round first and skip the clamp.
  bool FastCalc = false;
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TChartAxis*> FItems;
};

// The user-added axes of a chart (also in its axes list), a collection of the
// class library, so the stream writes them as the chart's "CustomAxes".
class TChartCustomAxes : public classlib::TCollection {
  ORVEL_CLASS_INFO
 public:
  explicit TChartCustomAxes(TCustomAxisPanel& chart);
  TChartAxis* Items(int index) const;
  // A new custom axis (the chart's axes list holds it too).
  TChartAxis* Add();
  int IndexOf(const TChartAxis* axis) const;
  TCustomAxisPanel& Chart() const { return FChart; }

 protected:
  classlib::TCollectionItem* CreateItem() override;

 private:
  TCustomAxisPanel& FChart;
};

// The tools of a chart in list order; Clear frees them.
class TChartTools {
 public:
  TChartTools() = default;
  TChartTools(const TChartTools&) = delete;
  TChartTools& operator=(const TChartTools&) = delete;
  int Count() const { return static_cast<int>(FItems.size()); }
  TKivCustomTool* operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
  void Add(TKivCustomTool* tool) { FItems.push_back(tool); }
  void Remove(TKivCustomTool* tool);
  void Clear();
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TKivCustomTool*> FItems;
};

// The tool kinds that can be created by name, in gallery order: created on
// first use; FreeToolTypes empties it for good.
std::vector<const classlib::TClassInfo*>& KivToolTypesList();
void FreeToolTypes();
// Each class not listed yet is registered for the streams and appended.
void RegisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);
// The classes leave the list; their stream registration stays.
void UnregisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);

}  // namespace chart
