// The marks tip tool.
//
// Tested by: chart/tests/MarksTipToolTest.cpp
#include "chart/tools/MarksTipTool.h"

#include "chart/AxisPanel.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/HintService.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

const std::vector<std::string> MarksStyleNames = {
    "smsValue",  "smsPercent",      "smsLabel",        "smsLabelPercent",      "smsLabelValue",
    "smsLegend", "smsPercentTotal", "smsLabelPercentTotal", "smsXValue", "smsXY"};

}  // namespace

const TClassInfo& TMarksTipTool::StaticClassInfo() {
  using C = TMarksTipTool;
  static const TClassInfo info = TClassBuilder<C>("TMarksTipTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("MouseAction", &C::MouseAction, &C::SetMouseAction, mtmMove)
                                     .TypeName("TMarkToolMouseAction")
                                     .Names({"mtmMove", "mtmClick"})
                                     .Property("MouseDelay", &C::MouseDelay, &C::SetMouseDelay, 500)
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Property("Style", &C::Style, &C::SetStyle, smsLabel)
                                     .TypeName("TSeriesMarksStyle")
                                     .Names(MarksStyleNames)
                                     .Creatable()
                                     .Build();
  return info;
}

TMarksTipTool::TMarksTipTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {}

std::int32_t TMarksTipTool::MouseDelay() const { return KivHints().HintPause(); }
void TMarksTipTool::SetMouseDelay(std::int32_t v) { KivHints().SetHintPause(v); }

TCustomAxisPanel* TMarksTipTool::Chart() const {
  return Series() != nullptr ? Series()->ParentChart() : ParentChart();
}

void TMarksTipTool::ClearHint() const {
  if (TCustomAxisPanel* chart = Chart()) chart->SetHint("");
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction v) {
  FMouseAction = v;
  ClearHint();
}

void TMarksTipTool::SetActive(bool v) {
  TKivCustomToolSeries::SetActive(v);
  if (!v) ClearHint();
}

bool TMarksTipTool::OtherMarksTipTool(TCustomAxisPanel& chart) const {
  for (TKivCustomTool* t : chart.Tools())
    if (t != this && dynamic_cast<TMarksTipTool*>(t) != nullptr) return true;
  return false;
}

void TMarksTipTool::ShowTip(TChartSeries& series, int index, std::int32_t x, std::int32_t y) {
  TCustomAxisPanel& chart = *series.ParentChart();
  TSeriesMarks& marks = *series.Marks();
  const TSeriesMarksStyle savedStyle = marks.Style();
  const bool savedRepaint = chart.AutoRepaint();
  // The marks take the tool's style for the text only: no repaint for it.
  chart.SetAutoRepaint(false);
  marks.SetStyle(FStyle);
  auto restore = [&] {
    marks.SetStyle(savedStyle);
    chart.SetAutoRepaint(savedRepaint);
  };
  try {
    std::string text = series.GetMarkText(index);
    if (OnGetText) OnGetText(*this, text);
    if (text != chart.Hint()) {
      chart.SetShowHint(true);
      chart.SetHint(text);
      if (IKivPanelHost* host = chart.Host()) KivHints().ActivateHint(*host, text, host->ClientToScreen({x, y}));
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TMarksTipTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                    std::int32_t y) {
  if (event != (FMouseAction == mtmMove ? cmeMove : cmeDown)) return;
  TCustomAxisPanel* chart = Chart();
  if (chart == nullptr) return;
  TChartSeries* found = nullptr;
  int index = -1;
  if (Series() != nullptr) {
    found = Series();
    index = found->Clicked(x, y);
  } else {
    // Hidden series show no points, so they give no tips either.
    for (TChartSeries* s : chart->SeriesList()) {
      if (!s->Active()) continue;
      index = s->Clicked(x, y);
      if (index != -1) {
        found = s;
        break;
      }
    }
  }
  if (index != -1 && index < found->Count()) {
    ShowTip(*found, index, x, y);
    return;
  }
  // With several tip tools on one chart, none of them clears the others' tip.
  if (OtherMarksTipTool(*chart)) return;
  chart->SetHint("");
  KivHints().CancelHint(chart->Host());
}

}  // namespace chart
