// The series animation tool: the values of a series rise (or fall) from a
// start value to their real values in steps, all points together or in
// groups one after another. The frames run from the program's event loop,
// so the chart stays responsive, and a series freed or a chart closed
// during the run ends it cleanly.
//
// Tested by: chart/tests/SeriesAnimationToolTest.cpp
#pragma once

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/tools/ToolBases.h"

namespace chart {

class TSeriesAnimationTool;

using TSeriesAnimationStep = std::function<void(TSeriesAnimationTool& sender, int step)>;

class TSeriesAnimationTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TSeriesAnimationTool(classlib::TComponent* owner = nullptr);
  // A run still going ends with the real values in place.
  ~TSeriesAnimationTool() override;

  // properties
  // 0: all points at once; N: groups of N points one after another.
  std::int32_t DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(std::int32_t v) { FDrawEvery = v; }
  bool StartAtMin() const { return FStartAtMin; }
  void SetStartAtMin(bool v) { FStartAtMin = v; }
  double StartValue() const { return FStartValue; }
  void SetStartValue(double v) { FStartValue = v; }
  // Frames per group after the first; below 1 counts as 1.
  std::int32_t Steps() const { return FSteps; }
  void SetSteps(std::int32_t v) { FSteps = v; }
  bool Running() const { return !FStopped; }

  // events
  TSeriesAnimationStep OnStep;

  // introduced virtual
  // Starts the animation of the series (nothing without one or while one runs).
  virtual void Execute();

  // overrides
  std::string Description() const override { return "Series Animation"; }
  std::string EditorClassName() const override { return "TSeriesAnimToolEditor"; }
  void SetSeries(TChartSeries* series) override;

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;

 private:
  // One frame: the next step of the current group; false after the last.
  bool NextFrame();
  // Writes the real values back and leaves the series' update state.
  void Finish();

  std::int32_t FDrawEvery = 0;
  bool FStartAtMin = true;
  double FStartValue = 0;
  std::int32_t FSteps = 100;
  bool FStopped = true;
  // The run: its series, the real values, the start value, and where it stands.
  TChartSeries* FAnimated = nullptr;
  std::vector<double> FTargets;
  double FStart = 0;
  int FSteps_ = 1, FGroup = 0, FStep = 0, FGroups = 1;
  QPointer<QTimer> FTimer;
};

}  // namespace chart
