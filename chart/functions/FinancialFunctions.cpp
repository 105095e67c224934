// ADX and RSI.
//
// Tested by: chart/tests/FinancialFunctionsTest.cpp
#include "chart/functions/FinancialFunctions.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/OHLCSeries.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TADXFunction::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TADXFunction>("TADXFunction", TKivFunction::StaticClassInfo())
          .SubObject("DownLinePen", &TADXFunction::DownLinePen)
          .TypeName("TChartPen")
          .SubObject("UpLinePen", &TADXFunction::UpLinePen)
          .TypeName("TChartPen")
          .Creatable()
          .Build();
  return info;
}

TADXFunction::TADXFunction(classlib::TComponent* owner)
    : TKivFunction(owner), FDown(new TFastLineSeries(this)), FUp(new TFastLineSeries(this)) {
  FDown->SetSeriesColor(clRed);
  FUp->SetSeriesColor(clGreen);
  FDown->SetShowInLegend(false);
  FUp->SetShowInLegend(false);
  SetPeriod(14);
}

TADXFunction::~TADXFunction() {
  FDown->SetParentChart(nullptr);
  FUp->SetParentChart(nullptr);
}

TChartPen* TADXFunction::DownLinePen() const { return FDown->LinePen(); }
TChartPen* TADXFunction::UpLinePen() const { return FUp->LinePen(); }
void TADXFunction::SetDownLinePen(const TChartPen& v) { FDown->SetPen(v); }
void TADXFunction::SetUpLinePen(const TChartPen& v) { FUp->SetPen(v); }

bool TADXFunction::IsValidSource(const TChartSeries& source) const {
  return dynamic_cast<const TOHLCSeries*>(&source) != nullptr;
}

void TADXFunction::AddPoints(TChartSeries& source) {
  TChartSeries* parent = ParentSeries();
  if (Period() < 2 || parent == nullptr) return;
  for (TFastLineSeries* line : {FDown, FUp}) {
    line->Clear();
    line->SetParentChart(parent->ParentChart());
    line->SetCustomVertAxis(parent->CustomVertAxis());
    line->SetVertAxis(parent->VertAxis());
    line->XValues()->SetDateTime(parent->XValues()->DateTime());
    line->BeforeDrawValues = parent->BeforeDrawValues;
    line->AfterDrawValues = parent->AfterDrawValues;
  }
  auto* bars = dynamic_cast<TOHLCSeries*>(&source);
  const int n = source.Count();
  if (bars == nullptr || n < 2 * Period()) return;
  const TChartValueList& h = *bars->HighValues();
  const TChartValueList& l = *bars->LowValues();
  const TChartValueList& c = *bars->CloseValues();
  const TChartValueList& x = *source.XValues();
  std::vector<double> tr(static_cast<std::size_t>(n)), plus(tr.size()), minus(tr.size());
  for (int i = 1; i < n; ++i) {
    tr[i] = std::max({h[i] - l[i], std::fabs(h[i] - c[i - 1]), std::fabs(l[i] - c[i - 1])});
    const double up = h[i] - h[i - 1], down = l[i - 1] - l[i];
    plus[i] = up > down && up > 0 ? up : 0;
    minus[i] = down > up && down > 0 ? down : 0;
  }
  const int p = Round(Period());
  double sumTr = 0, sumPlus = 0, sumMinus = 0;
  std::vector<double> dx(tr.size(), 0);
  for (int i = p; i < n; ++i) {
    if (i == p) {
      for (int k = 1; k <= p; ++k) {
        sumTr += tr[k];
        sumPlus += plus[k];
        sumMinus += minus[k];
      }
    } else {
      sumTr = sumTr - sumTr / Period() + tr[i];
      sumPlus = sumPlus - sumPlus / Period() + plus[i];
      sumMinus = sumMinus - sumMinus / Period() + minus[i];
    }
    // Flat prices have no true range: no direction either, rather than 0 / 0
    // carried into every later value.
    const double diPlus = sumTr != 0 ? 100 * sumPlus / sumTr : 0;
    const double diMinus = sumTr != 0 ? 100 * sumMinus / sumTr : 0;
    FUp->AddXY(x[i], diPlus);
    FDown->AddXY(x[i], diMinus);
    const double sum = diPlus + diMinus;
    dx[i] = sum != 0 ? std::fabs(diPlus - diMinus) * 100 / sum : 0;
  }
  const int q = Round(2 * Period() - 2);
  double adx = 0;
  for (int i = q; i < n; ++i) {
    if (i == q) {
      double sum = 0;
      for (int j = p; j <= q; ++j) sum += dx[j];
      adx = sum / (Period() - 1);
    } else {
      adx = ((Period() - 1) * adx + dx[i]) / Period();
    }
    parent->AddXY(x[i], adx);
  }
}

// --- RSI ----------------------------------------------------------------------------

const TClassInfo& TRSIFunction::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TRSIFunction>("TRSIFunction", TKivMovingFunction::StaticClassInfo())
          .Property("Style", &TRSIFunction::Style, &TRSIFunction::SetStyle, rsiOpenClose)
          .TypeName("TRSIStyle")
          .Names({"rsiOpenClose", "rsiClose"})
          .Creatable()
          .Build();
  return info;
}

TRSIFunction::TRSIFunction(classlib::TComponent* owner) : TKivMovingFunction(owner) {}

void TRSIFunction::SetStyle(TRSIStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  ReCalculate();
}

bool TRSIFunction::IsValidSource(const TChartSeries& source) const {
  return dynamic_cast<const TOHLCSeries*>(&source) != nullptr;
}

double TRSIFunction::Calculate(TChartSeries& source, int first, int last) {
  const TChartValueList& close = *source.GetYValueList("CLOSE");
  const TChartValueList& open = *source.GetYValueList("OPEN");
  double ups = 0, downs = 0;
  if (FStyle == rsiClose) {
    for (int i = first + 1; i <= last; ++i) {
      const double d = close[i] - close[i - 1];
      if (d >= 0)
        ups += d;
      else
        downs -= d;
    }
  } else {
    for (int i = first; i <= last; ++i) {
      if (open[i] > close[i])
        downs += close[i];
      else
        ups += close[i];
    }
  }
  const double n = last - first + 1;
  ups /= n;
  downs /= n;
  if (downs == 0) return 100;
  return std::clamp(100 - 100 / (std::fabs(ups / downs) + 1), 0.0, 100.0);
}

}  // namespace chart
