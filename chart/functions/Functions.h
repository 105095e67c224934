// Functions: a series' values calculated from other series, grouped in
// periods of a number of points or of a value range, or over a sliding
// window. Kinds override Calculate (one result over points first..last) or
// CalculateMany (several sources at one index).
//
// Tested by: chart/tests/FunctionsTest.cpp
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chart/series/SeriesData.h"
#include "platform/classlib/Component.h"

namespace chart {

class TChartSeries;
class TChartValueList;

enum TFunctionPeriodAlign : std::uint8_t { paFirst, paCenter, paLast };
enum TFunctionPeriodStyle : std::uint8_t { psNumPoints, psRange };

class TKivFunction : public classlib::TComponent, public ISeriesFunction {
  ORVEL_CLASS_INFO
 public:
  explicit TKivFunction(classlib::TComponent* owner = nullptr);
  ~TKivFunction() override;

  // properties
  double Period() const { return FPeriod; }
  void SetPeriod(double v);
  TFunctionPeriodAlign PeriodAlign() const { return FPeriodAlign; }
  void SetPeriodAlign(TFunctionPeriodAlign v);
  TFunctionPeriodStyle PeriodStyle() const { return FPeriodStyle; }
  void SetPeriodStyle(TFunctionPeriodStyle v);
  TChartSeries* ParentSeries() const override { return FParent; }
  void SetParentSeries(TChartSeries* series) override;
  bool Updating() const { return FUpdating; }

  // introduced virtual
  virtual void CalculatePeriod(TChartSeries& source, double x, int first, int last);
  virtual void CalculateAllPoints(TChartSeries& source, TChartValueList& notMandatory);
  virtual void CalculateByPeriod(TChartSeries& source, TChartValueList& notMandatory);
  virtual void AddPoints(TChartSeries& source);
  virtual std::string EditorClassName() const { return "TKivFunctionEditor"; }
  // What the function editor offers for the kind: a function that needs no
  // source series at all; one that takes a single source (else a list of
  // them, in order); one whose source's value list is not chosen.
  virtual bool NoSourceRequired() const { return false; }
  virtual bool SingleSource() const { return false; }
  virtual bool HideValueList() const { return false; }
  // Whether a series may feed this function (kinds that need price bars refuse others).
  bool IsValidSource(const TChartSeries& source) const override {
    (void)source;
    return true;
  }
  virtual double Calculate(TChartSeries& source, int first, int last) {
    (void)source, (void)first, (void)last;
    return 0;
  }
  virtual double CalculateMany(const std::vector<TChartSeries*>& sources, int index) {
    (void)sources, (void)index;
    return 0;
  }

  // operations
  void AddFunctionXY(bool yMandatory, double x, double y);
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate();
  void ReCalculate();
  // Called by the parent series' AddValues.
  void RecalculateFrom(TChartSeries* source) override;
  TKivFunction& Function() override { return *this; }
  classlib::TComponent& Component() override { return *this; }
  // The whole-number period of point counts: at least 1.
  int PointsPeriod() const;
  // A function is written inside its series.
  classlib::TComponent* GetParentComponent() const override;
  bool HasParent() const override { return true; }
  void SetParentComponent(classlib::TComponent* parent) override;

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  double FPeriod = 0;
  TFunctionPeriodAlign FPeriodAlign = paCenter;
  TFunctionPeriodStyle FPeriodStyle = psNumPoints;
  TChartSeries* FParent = nullptr;
  bool FUpdating = false;
};

class TKivMovingFunction : public TKivFunction {
  ORVEL_CLASS_INFO
 public:
  explicit TKivMovingFunction(classlib::TComponent* owner = nullptr);
  void AddPoints(TChartSeries& source) override;
  // A window slides over one series.
  bool SingleSource() const override { return true; }
};

}  // namespace chart
