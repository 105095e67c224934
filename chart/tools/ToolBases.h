// The tool bases (any tool, a tool bound to a series, a tool bound to an
// axis) and the process-wide registry of tool kinds.
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

// The tool kinds that can be created by name, in gallery order: created on
// first use; FreeToolTypes empties it for good.
std::vector<const classlib::TClassInfo*>& KivToolTypesList();
void FreeToolTypes();
// Each class not listed yet is registered for the streams and appended.
void RegisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);
// The classes leave the list; their stream registration stays.
void UnregisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);

}  // namespace chart
