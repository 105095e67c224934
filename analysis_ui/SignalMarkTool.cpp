// The signal mark cursor: local maxima, minima, zero crossings and free
// positions marked with the mouse on a signal chart.
//
// Tested by: analysis_ui/tests/SignalMarkToolTest.cpp
#include <cmath>
#include <limits>
#include <string>

#include "analysis_ui/MarkToolSupport.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"
#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "signal/Signal.h"

namespace analysis_ui {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

// Samples to mark on: the chart cannot draw complex data, and the searches
// read real samples one sampling period apart.
bool HasSamples(const sig::TSignal& s) {
  return s.Data().Length() > 0 && !s.Data().Complex() && s.SamplePeriod() > 0 && std::isfinite(s.SamplePeriod());
}

bool InRecord(const sig::TSignal& s, double t) { return t >= 0 && t < s.Duration(); }

}  // namespace

const TClassInfo& TSignalMarkTool::StaticClassInfo() {
  using C = TSignalMarkTool;
  static const TClassInfo info =
      TClassBuilder<C>("TSignalMarkTool", TCursorMarkTool::StaticClassInfo())
          .Property("Series", &C::Series, &C::SetSeries)
          .TypeName("TChartSeries")
          .Property("AmpltFormat", &C::AmpltFormat, &C::SetAmpltFormat, std::string("0.00#"))
          .Property("TimeFormat", &C::TimeFormat, &C::SetTimeFormat, std::string("0.00#"))
          .Property("MarkMode", &C::MarkMode, &C::SetMarkMode, tmMaximum)
          .TypeName("TSignalMarkMode")
          .Names({"tmMaximum", "tmMinimum", "tmZeroCrossing", "tmFreeStyle"})
          .Creatable()
          .Build();
  return info;
}

TSignalMarkTool::TSignalMarkTool(classlib::TComponent* AOwner) : TCursorMarkTool(AOwner) {}

TSignalMarkTool::~TSignalMarkTool() = default;

void TSignalMarkTool::SetAmpltFormat(const std::string& Value) { chart::StoreAndInvalidate(*this, FAmpltFormat, Value); }
void TSignalMarkTool::SetTimeFormat(const std::string& Value) { chart::StoreAndInvalidate(*this, FTimeFormat, Value); }

void TSignalMarkTool::SetParentChart(chart::TCustomAxisPanel* Value) {
  if (Value != nullptr && dynamic_cast<TSignalChart*>(Value) == nullptr) numeric::RaiseError("TSignalChart type required!");
  TCursorMarkTool::SetParentChart(Value);
}

TSignalChart* TSignalMarkTool::Chart() const { return dynamic_cast<TSignalChart*>(ParentChart()); }

sig::TSignal* TSignalMarkTool::Signal() const {
  const TSignalChart* chart = Chart();
  const int index = SeriesIndex();
  if (chart == nullptr || index < 0 || index >= chart->Signals()->Count()) return nullptr;
  return chart->Signals()->Items(index)->Input();
}

std::string TSignalMarkTool::TimeLabel(std::int32_t K, double T) const {
  return MarkPointLabel(K, FTimeFormat, FMilliseconds ? T * 1000 : T);
}

// --- the marks ------------------------------------------------------------------------

// The chart draws sample k at the signal's start time plus k periods; a
// mark's time counts from the first sample, so its point lies that much further.
void TSignalMarkTool::ShowSignalMarks(sig::TSignal& Signal) {
  if (MarkSeries() == nullptr || Series() == nullptr) return;
  ClearShownMarks();
  sig::TMarkList& marks = Signal.Marks();
  marks.SortByFourth();
  for (std::int32_t k = 0; k < marks.Count(); ++k) {
    const sig::TMarkRecord& m = marks.GetMark(k);
    AddMarkPoint(m, Signal.StartTime() + m.Fourth, m.Second, TimeLabel(k, m.Fourth));
  }
  if (marks.Count() > 0)
    AddAxisTitleBreak();
  else
    RemoveAxisTitleBreak();
}

void TSignalMarkTool::AddSignalMark(sig::TSignal& Signal, double T) {
  SetCursorX(T);
  if (!InRecord(Signal, T)) return;
  const double x = Signal.StartTime() + T;
  if (MarkSeriesHoldsX(x, 0.5 * Signal.SamplePeriod())) return;
  AddMarkPoint(FCurrent, x, FCurrent.Second, TimeLabel(0, T));
}

void TSignalMarkTool::ToggleSignalMark(sig::TSignal& Signal, bool Remove) {
  const double c = CursorX();
  sig::TMarkList& marks = Signal.Marks();
  const std::int32_t found = FindMarkNear(marks, mkFourth, c, 0.5 * Signal.SamplePeriod());
  if (found >= 0) {
    if (!Remove) return;
    marks.DeleteMark(found);
    ShowSignalMarks(Signal);
    return;
  }
  if (!InRecord(Signal, c) || !std::isfinite(FCurrent.Second)) return;
  marks.AddMark(FCurrent);
  ShowSignalMarks(Signal);
}

void TSignalMarkTool::ClearMarks() {
  if (sig::TSignal* s = Signal(); s != nullptr) s->Marks().Clear();
  ClearShownMarks();
  RemoveAxisTitleBreak();
}

// --- the mouse ------------------------------------------------------------------------

void TSignalMarkTool::CursorMouseMove(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) {
  if (!PreviewWanted(Shift, X, Y)) return;
  sig::TSignal* s = Signal();
  const chart::TChartAxis* axis = GetHorizAxis();
  if (s == nullptr || !HasSamples(*s) || axis == nullptr) return;
  RememberMouse(X, Y);
  double t = std::max(axis->CalcPosPoint(X) - s->StartTime(), 0.0);
  if (FMilliseconds) t /= 1000;
  ShowSignalMarks(*s);
  const numeric::TVec& data = s->Data();
  const double period = s->SamplePeriod();
  std::int32_t i = SampleNear(t, period, data.Length());
  const auto mark = [&](double time, double amplitude) {
    FCurrent = {0.0, amplitude, 0.0, time};
    AddSignalMark(*s, time);
  };
  switch (FMarkMode) {
    case tmMaximum:
      dsp::FindLocalMaximum(data, i);
      mark(i * period, s->GetSample(i));
      break;
    case tmMinimum:
      dsp::FindLocalMinimum(data, i);
      mark(i * period, s->GetSample(i));
      break;
    case tmZeroCrossing: {
      // A crossing lies between two samples: a single one has none, and a
      // click then marks nothing.
      if (data.Length() < 2) {
        SetCursorX(std::numeric_limits<double>::quiet_NaN());
        break;
      }
      double p = i, y = 0;
      dsp::FindLevelCrossing(data, p, y, true);
      mark(p * period, y);
      break;
    }
    case tmFreeStyle: mark(i * period, data.Values()[i]); break;
  }
}

void TSignalMarkTool::CursorMouseUp(chart::TMouseButton Button, chart::TShiftState, std::int32_t X, std::int32_t Y) {
  if (!ClickedWhere(X, Y) || !CursorActive() || Button != chart::mbLeft) return;
  if (PressedDouble()) {
    if (DoubleClickClear()) ClearMarks();
    return;
  }
  sig::TSignal* s = Signal();
  if (s == nullptr || !HasSamples(*s)) return;
  // A click marks where it is, also when no move brought the mouse there.
  CursorMouseMove(0, X, Y);
  ToggleSignalMark(*s, true);
}

void TSignalMarkTool::GetMarkLabel(chart::TChartSeries&, int ValueIndex, std::string& MarkText) {
  if (ValueIndex < 0 || static_cast<std::size_t>(ValueIndex) >= ShownMarks().size()) return;
  MarkText = numeric::SampleToStr(ShownMarks()[static_cast<std::size_t>(ValueIndex)].Second, FAmpltFormat);
}

// --- the chart's passes ------------------------------------------------------------------

void TSignalMarkTool::ChartEvent(chart::TChartToolEvent Event) {
  if (Event != chart::cteBeforeDraw) return;
  sig::TSignal* s = Signal();
  if (s == nullptr) return;
  if (CursorActive() && HasMousePosition())
    PreviewAtMouse();
  else
    ShowSignalMarks(*s);
}

}  // namespace analysis_ui
