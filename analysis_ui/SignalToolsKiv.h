// Analysis charts: charts bound to signal and spectrum components. Item i of
// a chart's collection names a component (its Input) and series i of the
// chart shows that component's data; whenever a bound component finishes an
// Update, the chart redraws the series of every item that names it, with no
// code in the window that holds the chart.
//
// How a chart binds to a component: add an item to the collection, set its
// Input, and add series to the chart in the same order:
//
//   TSpectrumChart chart(owner);
//   chart.Spectrums()->Add()->SetInput(&analyzer);
//   (new chart::TFastLineSeries(&chart))->SetParentChart(&chart);
//   analyzer.Update();  // series 0 now shows analyzer.Amplt()
//
// Setting Input hands the chart's notification method to the component and
// asks the component to tell the chart when it is freed; the chart then
// clears every item that names it (its series keep their last values). A
// component notifies one collection only: binding it from another chart
// takes its notifications away from the first.
//
// Tested by: analysis_ui/tests/AnalysisChartsTest.cpp
#pragma once

#include <cstdint>
#include <memory>

#include "chart/ChartControl.h"
#include "numeric/Vec.h"
#include "signal/SignalCollections.h"

namespace analysis_ui {

class TAnalysisChart : public chart::TChart {
  ORVEL_CLASS_INFO
 public:
  explicit TAnalysisChart(classlib::TComponent* AOwner = nullptr);
  ~TAnalysisChart() override;

  // properties
  // Off: updates of the bound components leave the series as they are.
  bool AutoAnalysisUpdate() const { return FAutoAnalysisUpdate; }
  void SetAutoAnalysisUpdate(bool Value) { FAutoAnalysisUpdate = Value; }
  // Reduce vectors longer than three samples a pixel before drawing them.
  bool PixelDownSample() const { return FPixelDownSample; }
  void SetPixelDownSample(bool Value) { FPixelDownSample = Value; }

  // introduced virtual
  // Redraws series Index from item Index: nothing when the chart has no such
  // series or the item no input.
  virtual void UpdateSeries(int Index);
  // The first item from Index on whose Input is Component: true and Index
  // set to it, or false with Index unchanged.
  virtual bool FindItem(const classlib::TComponent* Component, int& Index) const = 0;
  // The vector series Index shows, with its X origin and step; all three
  // unchanged when the item has no input.
  virtual void GetItemData(int Index, const numeric::TVec*& Values, double& X0, double& Dx) const = 0;
  virtual int ItemCount() const = 0;
  virtual void UpdateItem(int Index) { UpdateSeries(Index); }

  // operations
  // The notification method the items hand to their inputs: redraws, in
  // item order, the series of every item bound to Sender.
  void ComponentUpdated(classlib::TPersistent* Sender);

  // overrides
  chart::TBevelCut DefaultBevelOuter() const override { return chart::bvLowered; }
  chart::TColor DefaultColor() const override { return chart::clWhite; }
  bool DefaultView3D() const override { return false; }

 protected:
  // A freed input leaves every item that named it without input.
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;
  virtual void ClearInputs(const classlib::TComponent* Component) = 0;
  // The method to hand to the collection.
  sig::TNotifyEvent NotifyMethod();

 private:
  bool FAutoAnalysisUpdate = true;
  bool FPixelDownSample = false;
};

// Items are signals; series i shows signal i's samples over time.
class TSignalChart : public TAnalysisChart {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalChart(classlib::TComponent* AOwner = nullptr);
  ~TSignalChart() override;

  // properties
  sig::TSignalCollection* Signals() const { return FSignals.get(); }
  // Copies the items of Value into the chart's own collection.
  void SetSignals(const sig::TSignalCollection& Value) { FSignals->Assign(Value); }

  // overrides
  bool FindItem(const classlib::TComponent* Component, int& Index) const override;
  void GetItemData(int Index, const numeric::TVec*& Values, double& X0, double& Dx) const override;
  int ItemCount() const override { return FSignals->Count(); }

 protected:
  void ClearInputs(const classlib::TComponent* Component) override;

 private:
  std::unique_ptr<sig::TSignalCollection> FSignals;
};

enum TSpectrumPart : std::uint8_t { sppAmplt, sppPhase };

// Items are spectra; series i shows spectrum i's amplitude or phase (one
// choice for the whole chart) over frequency.
class TSpectrumChart : public TAnalysisChart {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrumChart(classlib::TComponent* AOwner = nullptr);
  ~TSpectrumChart() override;

  // properties
  TSpectrumPart SpectrumPart() const { return FSpectrumPart; }
  // A change redraws every series (whatever AutoAnalysisUpdate holds) and
  // then fires OnSpectrumMode; a value that is no part is taken as sppAmplt.
  void SetSpectrumPart(TSpectrumPart Value);
  sig::TSpectrumCollection* Spectrums() const { return FSpectrums.get(); }
  void SetSpectrums(const sig::TSpectrumCollection& Value) { FSpectrums->Assign(Value); }

  // events
  // Fired by the spectrum mark tool after it placed its marks.
  sig::TNotifyEvent OnAfterMarkPeak;
  sig::TNotifyEvent OnSpectrumMode;

  // overrides
  bool FindItem(const classlib::TComponent* Component, int& Index) const override;
  void GetItemData(int Index, const numeric::TVec*& Values, double& X0, double& Dx) const override;
  int ItemCount() const override { return FSpectrums->Count(); }

 protected:
  void ClearInputs(const classlib::TComponent* Component) override;

 private:
  TSpectrumPart FSpectrumPart = sppAmplt;
  std::unique_ptr<sig::TSpectrumCollection> FSpectrums;
};

// The unit's classes in the class registry (what streams create by name),
// and its tools (the mark cursors of MarkTools.h, the axis scale tool of
// AxisScaleTool.h) in the chart's registry of tool kinds too.
void RegisterSignalToolsKiv();
void UnregisterSignalToolsKiv();

}  // namespace analysis_ui
