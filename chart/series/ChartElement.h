// The common base of what a chart holds as a component of its own (series
// and tools): the on/off switch, a pen, a brush and the chart it belongs to,
// with every change marking that chart's picture stale; and the part of a
// series that does not depend on its data (legend switch, title, identifier,
// style flags).
//
// Tested by: chart/tests/SeriesDataTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/core/KivStyles.h"
#include "chart/core/StoreAndInvalidate.h"
#include "platform/classlib/Component.h"

namespace chart {

class TCustomAxisPanel;

class TCustomChartElement : public classlib::TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomChartElement(classlib::TComponent* owner = nullptr);
  ~TCustomChartElement() override;

  // properties
  bool Active() const { return FActive; }
  TChartBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TChartBrush& v) { FBrush->Assign(v); }
  TChartPen* Pen() const { return FPen.get(); }
  TCustomAxisPanel* ParentChart() const { return FParentChart; }

  // introduced virtual
  virtual void SetActive(bool v);
  virtual void SetParentChart(TCustomAxisPanel* chart) { FParentChart = chart; }
  virtual void SetPen(const TChartPen& v) { FPen->Assign(v); }
  virtual std::string EditorClassName() const { return ""; }
  virtual void ElementChanged() { Invalidate(); }

  // operations
  // Marks the chart's picture stale: the next pass draws the change.
  void Invalidate() const;
  // The component tree: an element's parent is its chart. Setting a chart
  // re-attaches the element; any other component is ignored.
  classlib::TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }
  void SetParentComponent(classlib::TComponent* parent) override;

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  TCustomAxisPanel* FParentChart = nullptr;

 private:
  bool FActive = true;
  std::unique_ptr<TChartBrush> FBrush;
  std::unique_ptr<TChartPen> FPen;
};

// Six style flags a series keeps and streams without reading them.
using TChartSeriesStyle = std::uint8_t;

class TCustomChartSeries : public TCustomChartElement {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomChartSeries(classlib::TComponent* owner = nullptr);

  // properties
  bool ShowInLegend() const { return FShowInLegend; }
  virtual void SetShowInLegend(bool v) { StoreAndInvalidate(*this, FShowInLegend, v); }
  const std::string& Title() const { return FTitle; }
  virtual void SetTitle(const std::string& v) { StoreAndInvalidate(*this, FTitle, v); }
  const std::string& Identifier() const { return FIdentifier; }
  void SetIdentifier(const std::string& v) { FIdentifier = v; }
  TChartSeriesStyle Style() const { return FStyle; }
  void SetStyle(TChartSeriesStyle v) { FStyle = static_cast<TChartSeriesStyle>(v & 0x3F); }

  // introduced virtual
  virtual void CalcHorizMargins(std::int32_t& left, std::int32_t& right) { left = right = 0; }
  virtual void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) { top = bottom = 0; }
  virtual void DoBeforeDrawChart() {}
  // Told by the chart's series list.
  virtual void Added() {}
  virtual void Removed() { FParentChart = nullptr; }

  // Depths computed by the chart for each drawing pass.
  std::int32_t StartZ = 0, MiddleZ = 0, EndZ = 0;
  // The series' depth slot of this pass (0 at the front).
  std::int32_t ZSlot = 0;

  // introduced virtual
  // Switches the chart between 2D and 3D (the series gallery does, for its
  // samples); a kind may set up the chart's 3D view for itself.
  virtual void SetChartView3D(bool v);

  // operations
  // True when either object is an instance of the other's class.
  static bool SameClass(const classlib::TPersistent& a, const classlib::TPersistent& b);
  // Tells the chart's series observer (when one is attached) of a change.
  void NotifySeriesObserver() const;

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  // "Identifier" and "Style", each only when it holds something.
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  bool FShowInLegend = true;
  std::string FTitle;
  std::string FIdentifier;
  TChartSeriesStyle FStyle = 0;
};

}  // namespace chart
