// Tool bases and the registry of tool kinds.
//
// Tested by: chart/tests/ToolBasesTest.cpp
#include "chart/tools/ToolBases.h"

#include <algorithm>
#include <memory>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TKivCustomTool::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivCustomTool>("TKivCustomTool", TCustomChartElement::StaticClassInfo()).Build();
  return info;
}

TKivCustomTool::TKivCustomTool(classlib::TComponent* owner) : TCustomChartElement(owner) {}

TKivCustomTool::~TKivCustomTool() { SetParentChart(nullptr); }

void TKivCustomTool::SetParentChart(TCustomAxisPanel* chart) {
  if (FParentChart != nullptr) {
    FParentChart->Tools().Remove(this);
    if (chart == nullptr) FParentChart->Invalidate();
  }
  FParentChart = chart;
  if (chart != nullptr) chart->Tools().Add(this);
}

const TClassInfo& TKivCustomToolSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivCustomToolSeries>("TKivCustomToolSeries", TKivCustomTool::StaticClassInfo()).Build();
  return info;
}

TKivCustomToolSeries::TKivCustomToolSeries(classlib::TComponent* owner) : TKivCustomTool(owner) {}

TKivCustomToolSeries::~TKivCustomToolSeries() {
  if (FSeries != nullptr) FSeries->RemoveFreeNotification(*this);
}

void TKivCustomToolSeries::SetSeries(TChartSeries* series) {
  if (FSeries == series) return;
  if (FSeries != nullptr) FSeries->RemoveFreeNotification(*this);
  FSeries = series;
  if (FSeries != nullptr) FSeries->FreeNotification(*this);
}

void TKivCustomToolSeries::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  TKivCustomTool::Notification(component, operation);
  if (operation == classlib::opRemove && component == FSeries) FSeries = nullptr;
}

TChartAxis* TKivCustomToolSeries::GetHorizAxis() const {
  if (FSeries != nullptr && FSeries->GetHorizAxis() != nullptr) return FSeries->GetHorizAxis();
  return FParentChart != nullptr ? FParentChart->BottomAxis() : nullptr;
}

TChartAxis* TKivCustomToolSeries::GetVertAxis() const {
  if (FSeries != nullptr && FSeries->GetVertAxis() != nullptr) return FSeries->GetVertAxis();
  return FParentChart != nullptr ? FParentChart->LeftAxis() : nullptr;
}

const TClassInfo& TKivCustomToolAxis::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivCustomToolAxis>("TKivCustomToolAxis", TKivCustomTool::StaticClassInfo()).Build();
  return info;
}

TKivCustomToolAxis::TKivCustomToolAxis(classlib::TComponent* owner) : TKivCustomTool(owner) {}

void TKivCustomToolAxis::SetAxis(TChartAxis* axis) {
  if (FAxis == axis) return;
  FAxis = axis;
  SetParentChart(axis != nullptr ? axis->ParentChart() : nullptr);
  Invalidate();
}

std::int32_t TKivCustomToolAxis::AxisID() const {
  if (FAxis == nullptr || FAxis->ParentChart() == nullptr) return -1;
  return FAxis->ParentChart()->AxesList().IndexOf(FAxis);
}

void TKivCustomToolAxis::DefineProperties(classlib::TFiler& filer) {
  TKivCustomTool::DefineProperties(filer);
  filer.DefineProperty(
      "AxisID", [this](classlib::TReader& r) { SetAxisID(r.ReadInteger()); },
      [this](classlib::TWriter& w) { w.WriteInteger(AxisID()); }, AxisID() >= 0);
}

void TKivCustomToolAxis::SetAxisID(std::int32_t id) {
  if (FParentChart == nullptr || id < 0 || id >= FParentChart->AxesList().Count()) return;
  SetAxis(FParentChart->AxesList()[id]);
}

namespace {
std::unique_ptr<std::vector<const classlib::TClassInfo*>>& ToolTypesHolder() {
  static std::unique_ptr<std::vector<const classlib::TClassInfo*>> holder;
  return holder;
}
}  // namespace

std::vector<const classlib::TClassInfo*>& KivToolTypesList() {
  if (!ToolTypesHolder()) ToolTypesHolder() = std::make_unique<std::vector<const classlib::TClassInfo*>>();
  return *ToolTypesHolder();
}

void FreeToolTypes() { ToolTypesHolder().reset(); }

void RegisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& list = KivToolTypesList();
  for (const classlib::TClassInfo* c : classes) {
    if (std::find(list.begin(), list.end(), c) != list.end()) continue;
    classlib::RegisterClass(*c);
    list.push_back(c);
  }
}

void UnregisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& list = KivToolTypesList();
  for (const classlib::TClassInfo* c : classes) std::erase(list, c);
}

}  // namespace chart
