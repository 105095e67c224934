// The base of the mark cursors: the mark series and its texts, the mouse
// dispatch, the cursor position and the axis title's second line.
//
// Tested by: analysis_ui/tests/SpectrumMarkToolTest.cpp, analysis_ui/tests/SignalMarkToolTest.cpp
#include <cfenv>
#include <cmath>
#include <string>

#include "analysis_ui/MarkToolSupport.h"
#include "analysis_ui/MarkTools.h"
#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"

namespace analysis_ui {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCursorMarkTool::StaticClassInfo() {
  using C = TCursorMarkTool;
  // Both switches are written whatever they hold.
  static const TClassInfo info = TClassBuilder<C>("TCursorMarkTool", chart::TKivCustomToolSeries::StaticClassInfo())
                                     .Property("CursorActive", &C::CursorActive, &C::SetCursorActive)
                                     .Property("MarkSeries", &C::MarkSeries, &C::SetMarkSeries)
                                     .TypeName("TChartSeries")
                                     .Property("DoubleClickClear", &C::DoubleClickClear, &C::SetDoubleClickClear)
                                     .Build();
  return info;
}

TCursorMarkTool::TCursorMarkTool(classlib::TComponent* AOwner) : chart::TKivCustomToolSeries(AOwner) {}

TCursorMarkTool::~TCursorMarkTool() {
  if (FMarkSeries != nullptr) {
    FMarkSeries->OnGetMarkText = nullptr;
    FMarkSeries->RemoveFreeNotification(*this);
  }
}

void TCursorMarkTool::SetCursorActive(bool Value) {
  if (FCursorActive == Value) return;
  FCursorActive = Value;
  // The next pass shows the stored marks, or the preview again.
  Invalidate();
}

void TCursorMarkTool::SetMarkSeries(chart::TChartSeries* Value) {
  if (FMarkSeries == Value) return;
  if (FMarkSeries != nullptr) {
    FMarkSeries->OnGetMarkText = nullptr;
    FMarkSeries->RemoveFreeNotification(*this);
  }
  FMarkSeries = Value;
  FMarks.clear();
  if (FMarkSeries != nullptr) {
    FMarkSeries->OnGetMarkText = [this](chart::TChartSeries& sender, int valueIndex, std::string& text) {
      GetMarkLabel(sender, valueIndex, text);
    };
    FMarkSeries->FreeNotification(*this);
  }
  Invalidate();
}

void TCursorMarkTool::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  chart::TKivCustomToolSeries::Notification(AComponent, Operation);
  // The series is going: only the link is dropped, nothing of it is called.
  if (Operation == classlib::opRemove && AComponent != nullptr && AComponent == FMarkSeries) {
    FMarkSeries = nullptr;
    FMarks.clear();
  }
}

bool TCursorMarkTool::ButtonHeld(chart::TShiftState Shift) {
  return (Shift & ((1u << chart::ssLeft) | (1u << chart::ssRight) | (1u << chart::ssMiddle))) != 0;
}

void TCursorMarkTool::ChartMouseEvent(chart::TChartMouseEvent Event, chart::TMouseButton Button,
                                      chart::TShiftState Shift, std::int32_t X, std::int32_t Y) {
  if (FMarkSeries == nullptr || Series() == nullptr) return;
  switch (Event) {
    case chart::cmeDown: CursorMouseDown(Shift, X, Y); break;
    case chart::cmeMove: CursorMouseMove(Shift, X, Y); break;
    case chart::cmeUp: CursorMouseUp(Button, Shift, X, Y); break;
  }
}

void TCursorMarkTool::CursorMouseDown(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) {
  FPressShift = Shift;
  FPressX = X;
  FPressY = Y;
}

bool TCursorMarkTool::PreviewWanted(chart::TShiftState Shift, std::int32_t X, std::int32_t Y) {
  if (ButtonHeld(Shift) || FMarkSeries == nullptr || Series() == nullptr) return false;
  if (FCursorActive) return true;
  SetCursorFromPixels(X, Y);
  UpdateCursorPixels();
  return false;
}

void TCursorMarkTool::SetCursorFromPixels(std::int32_t X, std::int32_t Y) {
  const chart::TChartAxis* h = GetHorizAxis();
  const chart::TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return;
  FCursorX = h->CalcPosPoint(X);
  FCursorY = v->CalcPosPoint(Y);
}

void TCursorMarkTool::UpdateCursorPixels() {
  const chart::TChartAxis* h = GetHorizAxis();
  const chart::TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return;
  if (FCursorPixelX == -1 || FCursorPixelY == -1) {
    FCursorPixelX = (h->IStartPos() + h->IEndPos()) / 2;
    FCursorPixelY = (v->IStartPos() + v->IEndPos()) / 2;
    SetCursorFromPixels(FCursorPixelX, FCursorPixelY);
  }
  FCursorPixelX = h->CalcPosValue(FCursorX);
  FCursorPixelY = v->CalcPosValue(FCursorY);
}

void TCursorMarkTool::AddAxisTitleBreak() {
  chart::TChartAxis* axis = GetHorizAxis();
  if (axis == nullptr) return;
  const std::string& title = axis->Title()->Caption();
  if (title.empty() || axis->LabelStyle() != chart::talAuto || title.front() == '\r') return;
  axis->Title()->SetCaption("\r" + title);
  axis->SetTitleSize(static_cast<std::int32_t>(std::lround(-axis->Title()->Font()->Height() * 2.5)));
}

void TCursorMarkTool::RemoveAxisTitleBreak() {
  chart::TChartAxis* axis = GetHorizAxis();
  if (axis == nullptr) return;
  const std::string& title = axis->Title()->Caption();
  if (title.empty() || title.front() != '\r') return;
  axis->Title()->SetCaption(title.substr(1));
  axis->SetTitleSize(0);
}

void TCursorMarkTool::ClearShownMarks() {
  FMarks.clear();
  if (FMarkSeries != nullptr) FMarkSeries->Clear();
}

bool TCursorMarkTool::AddMarkPoint(const sig::TMarkRecord& Rec, double X, double Y, const std::string& Label) {
  std::feclearexcept(FE_ALL_EXCEPT);
  if (FMarkSeries == nullptr || !std::isfinite(X) || !std::isfinite(Y)) return false;
  // The marks are drawn on the plane of the series they mark.
  if (auto* fixed = dynamic_cast<IFixedZOrderSeries*>(FMarkSeries); fixed != nullptr && ParentChart() != nullptr)
    fixed->SetFixedZOrder(ParentChart()->MaxZOrder() - (Series() != nullptr ? Series()->GetZOrder() : 0));
  const int index = FMarkSeries->AddXY(X, Y, Label);
  // A point refused by the series' own add event has no mark either; the
  // others keep the series' order (sorted by X unless it was told otherwise).
  if (index < 0) return false;
  FMarks.insert(FMarks.begin() + std::min<std::size_t>(static_cast<std::size_t>(index), FMarks.size()), Rec);
  return true;
}

bool TCursorMarkTool::MarkSeriesHoldsX(double X, double HalfWidth) const {
  return FMarkSeries != nullptr && HoldsValueNear(*FMarkSeries->XValues(), X, HalfWidth);
}

int TCursorMarkTool::SeriesIndex() const {
  const chart::TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || Series() == nullptr) return -1;
  for (int i = 0; i < chart->SeriesCount(); ++i)
    if (chart->Series(i) == Series()) return i;
  return -1;
}

}  // namespace analysis_ui
