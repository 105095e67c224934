// The base of components that fill a series from somewhere else (a file, a
// data set): switched on, it loads its series; switched off, it empties it.
// The registered-sources list names the kinds the series editors offer.
//
// Tested by: chart/tests/RegistriesTest.cpp
#pragma once

#include <string>
#include <vector>

#include "chart/series/SeriesData.h"
#include "platform/classlib/Component.h"

namespace chart {

class TChartSeries;

class TKivSeriesSource : public classlib::TComponent, public ISeriesSource {
  ORVEL_CLASS_INFO
 public:
  explicit TKivSeriesSource(classlib::TComponent* owner = nullptr);
  ~TKivSeriesSource() override;

  // properties
  bool Active() const override { return FActive; }
  void SetActive(bool v) override;
  TChartSeries* Series() const override { return FSeries; }
  void SetSeries(TChartSeries* series) override;

  // introduced virtual
  // Whether this kind of source can be used at all.
  virtual bool Available() const { return true; }
  // The kind's name in the editors (none here).
  virtual std::string Description() const { return ""; }
  virtual std::string EditorClassName() const { return ""; }
  // True when series is fed by a source of this kind.
  virtual bool IsSeriesSource(const TChartSeries& series) const;
  void Close();
  // Fills the series.
  virtual void Load() = 0;
  void Open() { SetActive(true); }

  // operations
  // Loads the series again when active (the chart's re-check of a data source).
  void Refresh();

  // overrides
  void Loaded() override;

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;

 private:
  bool FActive = false;
  TChartSeries* FSeries = nullptr;
};

// The kinds of series sources the editors offer, created on first use.
std::vector<const classlib::TClassInfo*>& RegisteredSourcesList();
// Frees the list (at the engine's shutdown).
void FreeRegisteredSourcesList();

}  // namespace chart
