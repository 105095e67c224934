// The series animation tool.
//
// Tested by: chart/tests/SeriesAnimationToolTest.cpp
#include "chart/tools/SeriesAnimationTool.h"

#include <QCoreApplication>
#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TSeriesAnimationTool::StaticClassInfo() {
  using C = TSeriesAnimationTool;
  static const TClassInfo info =
      TClassBuilder<C>("TSeriesAnimationTool", TKivCustomToolSeries::StaticClassInfo())
          .Property("DrawEvery", &C::DrawEvery, &C::SetDrawEvery, 0)
          .Property("Series", &C::Series, &C::SetSeries)
          .TypeName("TChartSeries")
          .Property("StartAtMin", &C::StartAtMin, &C::SetStartAtMin, true)
          .Property("StartValue", &C::StartValue, &C::SetStartValue, 0.0)
          .Property("Steps", &C::Steps, &C::SetSteps, 100)
          .Creatable()
          .Build();
  return info;
}

TSeriesAnimationTool::TSeriesAnimationTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {}

TSeriesAnimationTool::~TSeriesAnimationTool() {
  Finish();
  delete FTimer.data();
}

void TSeriesAnimationTool::Execute() {
  TChartSeries* s = Series();
  if (s == nullptr || !FStopped) return;
  TChartValueList& values = *s->MandatoryValueList();
  FAnimated = s;
  FTargets.assign(values.Values().begin(), values.Values().end());
  s->BeginUpdate();
  FStopped = false;
  FStart = FStartAtMin ? values.MinValue() : FStartValue;
  std::fill(values.WritableValues().begin(), values.WritableValues().end(), FStart);
  s->Invalidate();
  // At least one step, so every value reaches its target in a finite frame.
  FSteps_ = std::max(1, FSteps);
  const int count = static_cast<int>(FTargets.size());
  FGroups = FDrawEvery > 0 ? std::max(1, (count + FDrawEvery - 1) / FDrawEvery) : 1;
  FGroup = 0;
  FStep = 0;
  if (QCoreApplication::instance() == nullptr) {
    // No event loop to wait in: every frame at once.
    while (NextFrame()) {
    }
    return;
  }
  if (FTimer.isNull()) {
    FTimer = new QTimer();
    QObject::connect(FTimer, &QTimer::timeout, FTimer, [this] {
      if (!NextFrame()) FTimer->stop();
    });
  }
  FTimer->start(0);
}

bool TSeriesAnimationTool::NextFrame() {
  if (FStopped) return false;
  TChartSeries* s = FAnimated;
  if (s == nullptr) {
    Finish();
    return false;
  }
  std::span<double> values = s->MandatoryValueList()->WritableValues();
  const int count = static_cast<int>(std::min(values.size(), FTargets.size()));
  const int first = FDrawEvery > 0 ? FGroup * FDrawEvery : 0;
  const int last = FDrawEvery > 0 ? std::min(count - 1, first + FDrawEvery - 1) : count - 1;
  const double fraction = static_cast<double>(FStep) * (1.0 / FSteps_);
  for (int i = first; i <= last; ++i)
    // The last frame of a group puts the real value back exactly.
    values[static_cast<std::size_t>(i)] =
        FStep == FSteps_ ? FTargets[static_cast<std::size_t>(i)]
                         : (FTargets[static_cast<std::size_t>(i)] - FStart) * fraction + FStart;
  s->Invalidate();
  const int step = FStep;
  if (++FStep > FSteps_) {
    FStep = 0;
    ++FGroup;
  }
  if (OnStep) OnStep(*this, step);
  if (FGroup < FGroups) return true;
  Finish();
  return false;
}

void TSeriesAnimationTool::Finish() {
  if (FStopped) return;
  FStopped = true;
  if (FTimer) FTimer->stop();
  TChartSeries* s = FAnimated;
  FAnimated = nullptr;
  if (s != nullptr) {
    std::span<double> values = s->MandatoryValueList()->WritableValues();
    const std::size_t count = std::min(values.size(), FTargets.size());
    std::copy_n(FTargets.begin(), count, values.begin());
    s->EndUpdate();
    s->Invalidate();
  }
  FTargets.clear();
}

void TSeriesAnimationTool::SetSeries(TChartSeries* series) {
  if (series != Series()) Finish();
  TKivCustomToolSeries::SetSeries(series);
}

void TSeriesAnimationTool::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  if (operation == classlib::opRemove && component == FAnimated) {
    // The series went: nothing is left to write back.
    FAnimated = nullptr;
    Finish();
  }
  TKivCustomToolSeries::Notification(component, operation);
}

}  // namespace chart
