// Functions: periods by points or by range, single results, moving windows,
// several sources.
//
// Tested by: chart/tests/FunctionsTest.cpp
#include "chart/functions/Functions.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsDateTime.h"
#include "chart/series/SeriesData.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TKivFunction::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivFunction>("TKivFunction", classlib::TComponent::StaticClassInfo())
          .Property("Period", &TKivFunction::Period, &TKivFunction::SetPeriod, 0.0)
          .Property("PeriodAlign", &TKivFunction::PeriodAlign, &TKivFunction::SetPeriodAlign, paCenter)
          .TypeName("TFunctionPeriodAlign")
          .Names({"paFirst", "paCenter", "paLast"})
          .Property("PeriodStyle", &TKivFunction::PeriodStyle, &TKivFunction::SetPeriodStyle, psNumPoints)
          .TypeName("TFunctionPeriodStyle")
          .Names({"psNumPoints", "psRange"})
          .Creatable()
          .Build();
  return info;
}

TKivFunction::TKivFunction(classlib::TComponent* owner) : classlib::TComponent(owner) {}

TKivFunction::~TKivFunction() {
  if (FParent != nullptr && FParent->FunctionType() == this) {
    TChartSeries* parent = FParent;
    FParent = nullptr;
    parent->SetFunction(nullptr);
  }
}

void TKivFunction::SetPeriod(double v) {
  if (v < 0) throw ChartException(KivMsg(msgFunctionPeriod));
  if (FPeriod == v) return;
  FPeriod = v;
  ReCalculate();
}

void TKivFunction::SetPeriodAlign(TFunctionPeriodAlign v) {
  if (FPeriodAlign == v) return;
  FPeriodAlign = v;
  ReCalculate();
}

void TKivFunction::SetPeriodStyle(TFunctionPeriodStyle v) {
  if (FPeriodStyle == v) return;
  FPeriodStyle = v;
  ReCalculate();
}

void TKivFunction::SetParentSeries(TChartSeries* series) {
  if (FParent == series) return;
  TChartSeries* old = FParent;
  FParent = series;
  if (old != nullptr && old->FunctionType() == this) old->SetFunction(nullptr);
  if (series != nullptr && series->FunctionType() != this) series->SetFunction(this);
}

classlib::TComponent* TKivFunction::GetParentComponent() const { return FParent; }

void TKivFunction::SetParentComponent(classlib::TComponent* parent) {
  if (auto* s = dynamic_cast<TChartSeries*>(parent)) SetParentSeries(s);
}

void TKivFunction::EndUpdate() {
  if (!FUpdating) return;
  FUpdating = false;
  ReCalculate();
}

void TKivFunction::ReCalculate() {
  if (!FUpdating && FParent != nullptr) FParent->CheckDatasource();
}

// A period of a fraction of a point would never advance: it counts as one point.
int TKivFunction::PointsPeriod() const {
  const double p = std::nearbyint(FPeriod);
  if (!(p >= 1)) return 1;
  return p > 2147483647.0 ? 2147483647 : static_cast<int>(p);
}

void TKivFunction::AddFunctionXY(bool yMandatory, double x, double y) {
  if (FParent == nullptr) return;
  if (yMandatory)
    FParent->AddXY(x, y);
  else
    FParent->AddXY(y, x);
}

void TKivFunction::CalculatePeriod(TChartSeries& source, double x, int first, int last) {
  AddFunctionXY(FParent->YMandatory(), x, Calculate(source, first, last));
}

void TKivFunction::CalculateAllPoints(TChartSeries& source, TChartValueList& notMandatory) {
  const double value = Calculate(source, -1, -1);
  const bool ym = FParent->YMandatory();
  if (FParent->SingleResult()) {
    AddFunctionXY(ym, notMandatory.MinValue() + notMandatory.Range() * 0.5, value);
  } else {
    AddFunctionXY(ym, notMandatory.MinValue(), value);
    AddFunctionXY(ym, notMandatory.MaxValue(), value);
  }
}

void TKivFunction::CalculateByPeriod(TChartSeries& source, TChartValueList& v) {
  const int count = v.Count();
  const int points = PointsPeriod();
  TChartAxis* axis = FParent->GetHorizAxis();
  const bool calendar = FPeriodStyle == psRange && axis != nullptr && axis->ExactDateTime() && axis->IsDateTime() &&
                        FPeriod >= DateTimeStep[dtHalfMonth];
  int i = 0;
  while (i <= count - 1) {
    int last;
    double start = v[i], end;
    if (FPeriodStyle == psNumPoints) {
      last = i + points - 1;
      end = last < count ? v[last] : start;
    } else {
      end = start + FPeriod;
      if (calendar) {
        const int step = FindDateTimeStep(FPeriod);
        end = start;
        if (step != dtNone) IncDecDateTime(true, end, step, FPeriod);
        else end = start + FPeriod;
      }
      last = i;
      while (last < count - 1 && v[last + 1] < end) ++last;
      end -= 0.001 * FPeriod;
    }
    if (last < count) {
      const double x = FPeriodAlign == paFirst ? start : (FPeriodAlign == paLast ? end : (start + end) * 0.5);
      if (FPeriodStyle == psNumPoints || v[i] < end)
        CalculatePeriod(source, x, i, last);
      else
        AddFunctionXY(FParent->YMandatory(), x, 0);
    }
    i = last + 1;
  }
}

void TKivFunction::AddPoints(TChartSeries& source) {
  TChartValueList& v = *source.NotMandatoryValueList();
  if (FPeriod != 0)
    CalculateByPeriod(source, v);
  else
    CalculateAllPoints(source, v);
}

void TKivFunction::RecalculateFrom(TChartSeries* source) {
  if (FUpdating || source == nullptr || FParent == nullptr) return;
  const auto& sources = FParent->DataSources();
  if (sources.size() >= 2) {
    std::vector<TChartSeries*> series;
    for (classlib::TComponent* c : sources)
      if (auto* s = dynamic_cast<TChartSeries*>(c)) series.push_back(s);
    if (series.empty()) return;
    TChartSeries* xSource = series.front();
    for (TChartSeries* s : series)
      if (s->Count() > xSource->Count()) xSource = s;
    for (int i = 0; i < xSource->Count(); ++i) {
      const double value = CalculateMany(series, i);
      double x = (*xSource->NotMandatoryValueList())[i], y = value;
      if (!FParent->YMandatory()) std::swap(x, y);
      FParent->AddXY(x, y, xSource->Labels().GetLabel(i));
    }
    return;
  }
  if (source->Count() > 0) AddPoints(*source);
}

void TKivFunction::Assign(const classlib::TPersistent& source) {
  if (auto* f = dynamic_cast<const TKivFunction*>(&source)) {
    FPeriod = f->FPeriod;
    FPeriodStyle = f->FPeriodStyle;
    FPeriodAlign = f->FPeriodAlign;
    return;
  }
  classlib::TComponent::Assign(source);
}

const TClassInfo& TKivMovingFunction::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivMovingFunction>("TKivMovingFunction", TKivFunction::StaticClassInfo()).Creatable().Build();
  return info;
}

TKivMovingFunction::TKivMovingFunction(classlib::TComponent* owner) : TKivFunction(owner) { SetPeriod(1); }

void TKivMovingFunction::AddPoints(TChartSeries& source) {
  const int p = PointsPeriod();
  const int count = source.Count();
  TChartValueList& v = *source.NotMandatoryValueList();
  for (int i = p - 1; i < count; ++i) AddFunctionXY(ParentSeries()->YMandatory(), v[i], Calculate(source, i - p + 1, i));
}

}  // namespace chart
