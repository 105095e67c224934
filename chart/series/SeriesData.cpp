// Series data operations: adding, inserting and deleting points with their
// colours and labels in step, axis binding, the range of points in view,
// linked series and data sources, sample values.
//
// Tested by: chart/tests/SeriesDataTest.cpp
#include "chart/series/SeriesData.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesMarks.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- labels -----------------------------------------------------------------

const std::string& TLabelsList::GetLabel(int index) const {
  static const std::string empty;
  if (index < 0 || index >= Count() || !FItems[static_cast<std::size_t>(index)]) return empty;
  return *FItems[static_cast<std::size_t>(index)];
}

void TLabelsList::SetLabel(int index, const std::string& text) {
  if (index < 0) return;
  if (text.empty()) {
    if (index < Count()) FItems[static_cast<std::size_t>(index)].reset();
    return;
  }
  if (index >= Count()) FItems.resize(static_cast<std::size_t>(index) + 1);
  FItems[static_cast<std::size_t>(index)] = text;
}

void TLabelsList::InsertLabel(int index, const std::string& text) {
  if (index < 0) return;
  if (index > Count()) FItems.resize(static_cast<std::size_t>(index));
  FItems.insert(FItems.begin() + index, text.empty() ? std::nullopt : std::optional<std::string>(text));
}

void TLabelsList::Delete(int index) {
  if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
}

void TLabelsList::DeleteRange(int start, int quantity) {
  if (start < 0 || start >= Count() || quantity <= 0) return;
  const int end = std::min(Count(), start + quantity);
  FItems.erase(FItems.begin() + start, FItems.begin() + end);
}

void TLabelsList::Swap(int a, int b) {
  const int n = std::max(a, b);
  if (n >= Count()) {
    if (GetLabel(std::min(a, b)).empty()) return;
    FItems.resize(static_cast<std::size_t>(n) + 1);
  }
  std::swap(FItems[static_cast<std::size_t>(a)], FItems[static_cast<std::size_t>(b)]);
}

// --- series -----------------------------------------------------------------

const TClassInfo& TChartSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TChartSeries>("TChartSeries", TCustomChartSeries::StaticClassInfo())
          .Property("ColorEachPoint", &TChartSeries::ColorEachPoint, &TChartSeries::SetColorEachPoint, false)
          .Property("ColorSource", &TChartSeries::ColorSource, &TChartSeries::SetColorSource, std::string())
          .Property("Cursor", &TChartSeries::Cursor, &TChartSeries::SetCursor, 0)
          .Property("DataSource", &TChartSeries::DataSource, &TChartSeries::SetDataSource)
          .TypeName("TComponent")
          .Stored([](const TChartSeries& s) { return s.DataSources().size() == 1; })
          .Property("Depth", &TChartSeries::Depth, &TChartSeries::SetDepth, -1)
          .Property("HorizAxis", &TChartSeries::HorizAxis, &TChartSeries::SetHorizAxis, aBottomAxis)
          .TypeName("THorizAxis")
          .Names({"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"})
          .SubObject("Marks", &TChartSeries::Marks)
          .TypeName("TSeriesMarks")
          .Property("PercentFormat", &TChartSeries::PercentFormat, &TChartSeries::SetPercentFormat,
                    KivMsg(msgPercentFormat))
          .Property("SeriesColor", &TChartSeries::SeriesColor, &TChartSeries::SetSeriesColor, clDefault)
          .TypeName("TColor")
          .Property("ValueFormat", &TChartSeries::ValueFormat, &TChartSeries::SetValueFormat,
                    KivMsg(msgValuesFormat))
          .Property("VertAxis", &TChartSeries::VertAxis, &TChartSeries::SetVertAxis, aLeftAxis)
          .TypeName("TVertAxis")
          .Names({"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"})
          .Property("XLabelsSource", &TChartSeries::XLabelsSource, &TChartSeries::SetXLabelsSource, std::string())
          .SubObject("XValues", &TChartSeries::XValues)
          .TypeName("TChartValueList")
          .SubObject("YValues", &TChartSeries::YValues)
          .TypeName("TChartValueList")
          .Property("ZOrder", &TChartSeries::ZOrder, &TChartSeries::SetZOrder, -1)
          .Build();
  return info;
}

TChartSeries::TChartSeries(classlib::TComponent* owner)
    : TCustomChartSeries(owner),
      FPercentFormat(KivMsg(msgPercentFormat)),
      FValueFormat(KivMsg(msgValuesFormat)) {
  FX = new TChartValueList(this, "X");
  FX->SetOrder(loAscending);
  FY = new TChartValueList(this, "Y");
  FMandatory = FY;
  FNotMandatory = FX;
  FMarks = std::make_unique<TSeriesMarks>(this);
}

TChartSeries::~TChartSeries() {
  IncludeState(classlib::csDestroying);
  if (FFunction != nullptr) delete &FFunction->Component();
  FFunction = nullptr;
  for (classlib::TComponent* c : std::vector<classlib::TComponent*>(FDataSources)) {
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(*this);
    if (auto* src = dynamic_cast<ISeriesSource*>(c); src != nullptr && src->Series() == this) {
      src->SetSeries(nullptr);
      if (c->Owner() == this) delete c;
    }
  }
  FDataSources.clear();
  for (TChartSeries* linked : std::vector<TChartSeries*>(FLinkedSeries)) linked->RemoveDataSource(*this);
  FLinkedSeries.clear();
  SetParentChart(nullptr);
}

void TChartSeries::SetHorizontal() {
  FMandatory = FX;
  FNotMandatory = FY;
  FYMandatory = false;
}

void TChartSeries::SetSeriesColor(TColor v) {
  if (FSeriesColor == v) return;
  StoreAndInvalidate(*this, FSeriesColor, v);
  if (FParentChart != nullptr) FParentChart->BroadcastSeriesEvent(seChangeColor, this);
  NotifySeriesObserver();
}

void TChartSeries::SetTitle(const std::string& v) {
  if (Title() == v) return;
  TCustomChartSeries::SetTitle(v);
  if (FParentChart != nullptr) FParentChart->BroadcastSeriesEvent(seChangeTitle, this);
  NotifySeriesObserver();
}

void TChartSeries::SetMarks(const TSeriesMarks& v) { FMarks->Assign(v); }

void TChartSeries::SetXValues(const TChartValueList& v) {
  FX->Assign(v);
  Invalidate();
}
void TChartSeries::SetYValues(const TChartValueList& v) {
  FY->Assign(v);
  Invalidate();
}

void TChartSeries::SetColorSource(const std::string& v) {
  if (FColorSource == v) return;
  FColorSource = v;
  CheckDatasource();
}

void TChartSeries::SetXLabelsSource(const std::string& v) {
  if (FXLabelsSource == v) return;
  FXLabelsSource = v;
  CheckDatasource();
}

TColor TChartSeries::StoredColor(int index) const {
  if (!FColors || index < 0 || index >= static_cast<int>(FColors->size())) return clDefault;
  return (*FColors)[static_cast<std::size_t>(index)];
}

TColor TChartSeries::ValueColor(int index) const {
  const TColor c = StoredColor(index);
  if (c != clDefault) return c;
  return FColorEachPoint ? GetDefaultColor(index) : FSeriesColor;
}

void TChartSeries::EnsureColors() {
  if (!FColors) FColors = std::make_unique<std::vector<TColor>>(static_cast<std::size_t>(Count()), clDefault);
  if (static_cast<int>(FColors->size()) < Count()) FColors->resize(static_cast<std::size_t>(Count()), clDefault);
}

void TChartSeries::SetValueColor(int index, TColor color) {
  if (index < 0 || index >= Count())
    throw ChartException(FormatKivMsg(msgSeriesDeleteIndex, {IntToText(index), IntToText(Count() - 1)}));
  if (!FColors && color == clDefault) return;
  EnsureColors();
  (*FColors)[static_cast<std::size_t>(index)] = color;
  Invalidate();
}

void TChartSeries::SetXValue(int index, double value) {
  if (index < 0 || index >= Count()) return;
  FX->WritableValues()[static_cast<std::size_t>(index)] = value;
  Invalidate();
}

void TChartSeries::SetYValue(int index, double value) {
  if (index < 0 || index >= Count()) return;
  FY->WritableValues()[static_cast<std::size_t>(index)] = value;
  Invalidate();
}

// --- adding and deleting ----------------------------------------------------

int TChartSeries::Add(double value, const std::string& label, TColor color) {
  const double n = Count();
  return FYMandatory ? AddXY(n, value, label, color) : AddXY(value, n, label, color);
}

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
  return InternalAddXY(x, y, label, color, true);
}

int TChartSeries::InternalAddXY(double x, double y, const std::string& label, TColor color, bool notify) {
  FX->TempValue = x;
  FY->TempValue = y;
  if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
  const int index = FX->AddChartValue();
  for (int i = 1; i < FValuesList.Count(); ++i) FValuesList[i]->InsertChartValue(index, FValuesList[i]->TempValue);
  if (FColors) {
    FColors->insert(FColors->begin() + std::min(index, static_cast<int>(FColors->size())), color);
  } else if (color != clDefault) {
    FColors = std::make_unique<std::vector<TColor>>(static_cast<std::size_t>(Count() - 1), clDefault);
    FColors->insert(FColors->begin() + index, color);
  }
  if (!label.empty() || !FLabels.Empty()) FLabels.InsertLabel(index, label);
  FMarks->Positions().InsertEmpty(index);
  FMarks->Items().InsertEmpty(index);
  if (notify && FUpdateCount == 0) NotifyNewValue(index);
  return index;
}

void TChartSeries::NotifyNewValue(int index) {
  if (OnAfterAdd) OnAfterAdd(*this, index);
  NotifyValue(veAdd, index);
  if (Active()) Invalidate();
}

void TChartSeries::DeletePointExtras(int start, int quantity) {
  if (FColors && start < static_cast<int>(FColors->size())) {
    const int end = std::min(static_cast<int>(FColors->size()), start + quantity);
    FColors->erase(FColors->begin() + start, FColors->begin() + end);
    if (FColors->empty()) FColors.reset();
  }
  FLabels.DeleteRange(start, quantity);
  FMarks->Positions().DeleteRange(start, quantity);
  FMarks->Items().DeleteRange(start, quantity);
}

void TChartSeries::Delete(int index) {
  if (index < 0 || index >= Count())
    throw ChartException(FormatKivMsg(msgSeriesDeleteIndex, {IntToText(index), IntToText(Count() - 1)}));
  for (TChartValueList* l : FValuesList) l->Delete(index);
  DeletePointExtras(index, 1);
  NotifyValue(veDelete, index);
  if (Active()) Invalidate();
}

void TChartSeries::DeleteRange(int start, int quantity) {
  if (start < 0) {
    quantity += start;
    start = 0;
  }
  if (start >= Count() || quantity <= 0) return;
  quantity = std::min(quantity, Count() - start);
  for (TChartValueList* l : FValuesList) l->DeleteRange(start, quantity);
  DeletePointExtras(start, quantity);
  NotifyValue(veDelete, -1);
  if (Active()) Invalidate();
}

void TChartSeries::ClearLists() {
  for (TChartValueList* l : FValuesList) l->ClearValues();
  FColors.reset();
  FLabels.Clear();
  FMarks->Clear();
}

void TChartSeries::Clear() {
  ClearLists();
  if (OnClearValues) OnClearValues(*this);
  NotifyValue(veClear, 0);
  if (Active() && FParentChart != nullptr && !FParentChart->HasState(classlib::csDestroying)) Invalidate();
}

void TChartSeries::SwapValueIndex(int a, int b) {
  for (TChartValueList* l : FValuesList) l->SwapValues(a, b);
  if (FColors) {
    const int n = std::max(a, b);
    if (n >= static_cast<int>(FColors->size())) FColors->resize(static_cast<std::size_t>(n) + 1, clDefault);
    std::swap((*FColors)[static_cast<std::size_t>(a)], (*FColors)[static_cast<std::size_t>(b)]);
  }
  FLabels.Swap(a, b);
  FMarks->Positions().Swap(a, b);
  FMarks->Items().Swap(a, b);
}

void TChartSeries::CheckOrder() {
  if (FMandatory->Order() == loNone) {
    FNotMandatory->SetKnownInOrder(true);
    if (FNotMandatory->Order() != loNone && !FNotMandatory->KnownInOrder()) FNotMandatory->Sort();
    return;
  }
  FMandatory->Sort();
  if (FNotMandatory->ValueSource().empty()) {
    auto v = FNotMandatory->WritableValues();
    for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<double>(i);
    FNotMandatory->SetKnownInOrder(true);
  }
  Invalidate();
}

void TChartSeries::ValueListNotify(TValueEvent event, int index) { NotifyValue(event, index); }

void TChartSeries::NotifyValue(TValueEvent event, int index) {
  if (FUpdateCount > 0) return;
  for (TChartSeries* s : std::vector<TChartSeries*>(FLinkedSeries)) {
    const auto has = [s](TSeriesRecalcOption o) { return (s->FRecalcOptions & (1u << o)) != 0; };
    switch (event) {
      case veClear:
        if (has(rOnClear)) s->Clear();
        break;
      case veAdd:
        if (has(rOnInsert) && s->FFunction == nullptr) s->AddValueFromSource(*this, index);
        break;
      case veDelete:
        if (has(rOnDelete) && s->FFunction == nullptr) {
          if (index < 0)
            s->AddValues(this);
          else
            s->DeleteFromSource(*this, index);
        }
        break;
      case veRefresh:
        s->AddValues(this);
        break;
      case veModify:
        if (has(rOnModify)) s->AddValues(this);
        break;
    }
  }
}

void TChartSeries::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries() {
  NotifyValue(veRefresh, 0);
  if (FParentChart != nullptr) FParentChart->BroadcastSeriesEvent(seDataChanged, this);
}

void TChartSeries::CheckDatasource() {
  if (FUpdateCount > 0 || FParentChart == nullptr) return;
  FParentChart->CheckDatasource(*this);
}

int TChartSeries::CopySourcePoint(TChartSeries& source, int index) {
  double x = source.FX->Value(index), y = source.FY->Value(index);
  if (source.FYMandatory != FYMandatory) std::swap(x, y);
  const int at = FX->AddChartValue(x);
  FY->InsertChartValue(at, y);
  for (int j = 2; j < FValuesList.Count(); ++j)
    FValuesList[j]->InsertChartValue(at, j < source.FValuesList.Count() ? source.FValuesList[j]->Value(index) : 0);
  return at;
}

void TChartSeries::AddValueFromSource(TChartSeries& source, int index) {
  const int at = CopySourcePoint(source, index);
  if (source.FColors && index < static_cast<int>(source.FColors->size())) {
    EnsureColors();
    FColors->resize(static_cast<std::size_t>(Count() - 1), clDefault);
    FColors->insert(FColors->begin() + at, (*source.FColors)[static_cast<std::size_t>(index)]);
  } else if (FColors) {
    FColors->insert(FColors->begin() + std::min(at, static_cast<int>(FColors->size())), clDefault);
  }
  const std::string& label = source.FLabels.GetLabel(index);
  if (!label.empty() || !FLabels.Empty()) FLabels.InsertLabel(at, label);
  NotifyNewValue(at);
}

void TChartSeries::AddValues(TChartSeries* source) {
  BeginUpdate();
  try {
    Clear();
    if (FFunction != nullptr) {
      if (source != nullptr) {
        FX->SetDateTime(source->FX->DateTime());
        FY->SetDateTime(source->FY->DateTime());
      }
      FFunction->RecalculateFrom(source);
    } else if (source != nullptr && source != this) {
      for (int i = 0; i < source->Count(); ++i) AddValueFromSource(*source, i);
    }
  } catch (...) {
    FUpdateCount = 0;
    throw;
  }
  EndUpdate();
}

// --- axes -------------------------------------------------------------------

void TChartSeries::RecalcGetAxis() {
  if (FParentChart == nullptr) {
    FBoundHorizAxis = FBoundVertAxis = nullptr;
    return;
  }
  if (FHorizAxis == aTopAxis)
    FBoundHorizAxis = FParentChart->TopAxis();
  else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis != nullptr)
    FBoundHorizAxis = FCustomHorizAxis;
  else
    FBoundHorizAxis = FParentChart->BottomAxis();
  if (FVertAxis == aRightAxis)
    FBoundVertAxis = FParentChart->RightAxis();
  else if (FVertAxis == aCustomVertAxis && FCustomVertAxis != nullptr)
    FBoundVertAxis = FCustomVertAxis;
  else
    FBoundVertAxis = FParentChart->LeftAxis();
}

void TChartSeries::SetHorizAxis(THorizAxis v) {
  if (FHorizAxis == v) return;
  FHorizAxis = v;
  if (!HasState(classlib::csLoading) && v != aCustomHorizAxis) FCustomHorizAxis = nullptr;
  RecalcGetAxis();
  Invalidate();
}

void TChartSeries::SetVertAxis(TVertAxis v) {
  if (FVertAxis == v) return;
  FVertAxis = v;
  if (!HasState(classlib::csLoading) && v != aCustomVertAxis) FCustomVertAxis = nullptr;
  RecalcGetAxis();
  Invalidate();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* v) {
  FCustomHorizAxis = v;
  FHorizAxis = v != nullptr ? aCustomHorizAxis : aBottomAxis;
  RecalcGetAxis();
  Invalidate();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* v) {
  FCustomVertAxis = v;
  FVertAxis = v != nullptr ? aCustomVertAxis : aLeftAxis;
  RecalcGetAxis();
  Invalidate();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* axis) const {
  if (!UseAxis() || axis == nullptr) return false;
  if (axis->Horizontal()) return FHorizAxis == aBothHorizAxis || axis == FBoundHorizAxis;
  return FVertAxis == aBothVertAxis || axis == FBoundVertAxis;
}

std::int32_t TChartSeries::CalcXPos(int index) const {
  return FBoundHorizAxis != nullptr ? FBoundHorizAxis->CalcXPosValue(GetXValue(index)) : 0;
}

std::int32_t TChartSeries::CalcYPos(int index) const {
  return FBoundVertAxis != nullptr ? FBoundVertAxis->CalcYPosValue(GetYValue(index)) : 0;
}

void TChartSeries::GetCursorValues(double& x, double& y) const {
  const TPoint p = FParentChart != nullptr ? FParentChart->GetCursorPos() : TPoint{};
  x = FBoundHorizAxis != nullptr ? FBoundHorizAxis->CalcPosPoint(p.X) : 0;
  y = FBoundVertAxis != nullptr ? FBoundVertAxis->CalcPosPoint(p.Y) : 0;
}

TChartValueList* TChartSeries::GetYValueList(const std::string& name) const {
  for (int i = 2; i < FValuesList.Count(); ++i)
    if (classlib::SameText(FValuesList[i]->Name(), name)) return FValuesList[i];
  return FY;
}

bool TChartSeries::DrawValuesForward() const {
  const bool reversed = FParentChart != nullptr && FParentChart->ReversedView();
  if (FYMandatory) {
    const bool inv = FBoundHorizAxis != nullptr && FBoundHorizAxis->Inverted();
    return reversed ? inv : !inv;
  }
  return !(FBoundVertAxis != nullptr && FBoundVertAxis->Inverted());
}

bool TChartSeries::DrawSeriesForward() const { return !(FParentChart != nullptr && FParentChart->ReversedView()); }

// --- Z order ----------------------------------------------------------------

void TChartSeries::CalcZOrder() {
  if (FParentChart == nullptr) return;
  if (FZOrder != -1) {
    if (FZOrder > FParentChart->MaxZOrder()) FParentChart->SetMaxZOrder(FZOrder);
  } else if (FParentChart->View3D()) {
    FAutoZOrder = FParentChart->MaxZOrder() + 1;
    FParentChart->SetMaxZOrder(FAutoZOrder);
  } else {
    FAutoZOrder = 0;
  }
}

bool TChartSeries::MoreSameZOrder() const {
  if (FParentChart == nullptr || !FParentChart->ApplyZOrder()) return false;
  for (TChartSeries* s : FParentChart->SeriesList())
    if (s != this && s->Active() && s->GetZOrder() == GetZOrder()) return true;
  return false;
}

bool TChartSeries::FirstInZOrder() const {
  if (!Active()) return false;
  if (FParentChart == nullptr) return true;
  for (TChartSeries* s : FParentChart->SeriesList()) {
    if (s == this) return true;
    if (s->Active() && s->GetZOrder() == GetZOrder()) return false;
  }
  return true;
}

// --- visible range ----------------------------------------------------------

void TChartSeries::CalcFirstLastVisibleIndex() {
  FFirstVisible = FLastVisible = -1;
  const int count = Count();
  if (count == 0) return;
  TChartValueList& v = *FNotMandatory;
  if (!FCalcVisiblePoints || v.Order() == loNone || FParentChart == nullptr) {
    FFirstVisible = 0;
    FLastVisible = count - 1;
    return;
  }
  TChartAxis* axis = FYMandatory ? FBoundHorizAxis : FBoundVertAxis;
  if (axis == nullptr) {
    FFirstVisible = 0;
    FLastVisible = count - 1;
    return;
  }
  const TRect& r = FParentChart->ChartRect();
  double low, high;
  if (FYMandatory) {
    low = axis->CalcPosPoint(axis->Inverted() ? r.Right : r.Left);
    high = axis->CalcPosPoint(axis->Inverted() ? r.Left : r.Right);
  } else {
    low = axis->CalcPosPoint(axis->Inverted() ? r.Top : r.Bottom);
    high = axis->CalcPosPoint(axis->Inverted() ? r.Bottom : r.Top);
  }
  const int first = v.FirstAtOrAbove(low);
  if (first >= count) return;
  FFirstVisible = first;
  if (v[count - 1] > high) {
    int last = v.FirstAtOrAbove(high, first);
    if (last >= count) last = count - 1;
    if (!FDrawBetweenPoints && v[last] > high) --last;
    FLastVisible = last;
  } else {
    FLastVisible = count - 1;
  }
}

// --- data sources -----------------------------------------------------------

bool TChartSeries::IsValidSeriesSource(const TChartSeries& source) const {
  return &source != this && (FFunction == nullptr || FFunction->IsValidSource(source));
}

void TChartSeries::SetDataSource(classlib::TComponent* v) {
  if (v == nullptr) {
    RemoveAllDataSources();
    if (!FManualData) ClearLists();
    CheckDatasource();
    return;
  }
  if (FParentChart == nullptr) throw ChartException(KivMsg(msgNoParentChartDataSource));
  if (!FParentChart->IsValidDataSource(*this, *v))
    throw ChartException(FormatKivMsg(msgInvalidDataSource, {v->Name()}));
  if (std::find(FDataSources.begin(), FDataSources.end(), v) == FDataSources.end()) {
    FParentChart->CheckCircularSource(*this, *v);
    if (!HasState(classlib::csLoading)) RemoveAllDataSources();
    AddDataSource(*v);
  }
  CheckDatasource();
}

void TChartSeries::AddDataSource(classlib::TComponent& source) {
  if (std::find(FDataSources.begin(), FDataSources.end(), &source) != FDataSources.end()) return;
  FDataSources.push_back(&source);
  FManualData = false;
  if (auto* s = dynamic_cast<TChartSeries*>(&source)) {
    s->AddLinkedSeries(*this);
  } else if (auto* src = dynamic_cast<ISeriesSource*>(&source); src != nullptr && src->Series() != this) {
    // A source that served another series moves here, owner and all.
    source.FreeNotification(*this);
    TChartSeries* old = src->Series();
    const bool wasActive = src->Active();
    src->SetActive(false);
    if (old != nullptr && source.Owner() == old) {
      old->RemoveComponent(source);
      InsertComponent(source);
    }
    src->SetSeries(this);
    if (wasActive) src->SetActive(true);
  } else {
    source.FreeNotification(*this);
  }
}

void TChartSeries::ReplaceDataSource(classlib::TComponent& old, TChartSeries& replacement) {
  auto it = std::find(FDataSources.begin(), FDataSources.end(), &old);
  if (it == FDataSources.end()) return;
  *it = &replacement;
  if (auto* s = dynamic_cast<TChartSeries*>(&old)) s->RemoveLinkedSeries(*this);
  replacement.AddLinkedSeries(*this);
}

void TChartSeries::RemoveDataSource(classlib::TComponent& source) {
  auto it = std::find(FDataSources.begin(), FDataSources.end(), &source);
  if (it == FDataSources.end()) return;
  FDataSources.erase(it);
  if (auto* s = dynamic_cast<TChartSeries*>(&source)) s->RemoveLinkedSeries(*this);
  if (FParentChart != nullptr) FParentChart->RemovedDataSource(*this, source);
  if (!HasState(classlib::csDestroying)) CheckDatasource();
}

void TChartSeries::RemoveAllDataSources() {
  for (classlib::TComponent* c : std::vector<classlib::TComponent*>(FDataSources)) {
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(*this);
    if (FParentChart != nullptr) FParentChart->RemovedDataSource(*this, *c);
  }
  FDataSources.clear();
}

void TChartSeries::AddLinkedSeries(TChartSeries& series) {
  if (std::find(FLinkedSeries.begin(), FLinkedSeries.end(), &series) == FLinkedSeries.end())
    FLinkedSeries.push_back(&series);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries& series) {
  FLinkedSeries.erase(std::remove(FLinkedSeries.begin(), FLinkedSeries.end(), &series), FLinkedSeries.end());
}

void TChartSeries::SetFunction(ISeriesFunction* function) {
  if (FFunction == function) return;
  ISeriesFunction* old = FFunction;
  FFunction = nullptr;
  if (old != nullptr && old->ParentSeries() == this) {
    old->SetParentSeries(nullptr);
    delete &old->Component();
  }
  FFunction = function;
  if (function != nullptr) {
    if (function->ParentSeries() != this) function->SetParentSeries(this);
    function->Component().FreeNotification(*this);
  }
  FManualData = false;
  CheckDatasource();
}

void TChartSeries::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  TCustomChartSeries::Notification(component, operation);
  if (operation != classlib::opRemove || component == nullptr) return;
  if (FFunction != nullptr && component == &FFunction->Component()) FFunction = nullptr;
  auto it = std::find(FDataSources.begin(), FDataSources.end(), component);
  if (it != FDataSources.end()) FDataSources.erase(it);
}

void TChartSeries::SetActive(bool v) {
  const bool changed = v != Active();
  TCustomChartSeries::SetActive(v);
  if (!changed) return;
  if (FParentChart != nullptr) FParentChart->BroadcastSeriesEvent(seChangeActive, this);
  NotifySeriesObserver();
}

// --- chart membership -------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (FParentChart == chart) return;
  if (FParentChart != nullptr) FParentChart->RemoveSeries(this);
  FParentChart = chart;
  FMarks->SetParent(chart);
  if (chart != nullptr) chart->InternalAddSeries(*this);
  RecalcGetAxis();
}

void TChartSeries::Added() {
  if (FSeriesColor == clDefault && FParentChart != nullptr) FSeriesColor = FParentChart->GetFreeSeriesColor(true);
  RecalcGetAxis();
  CheckDatasource();
}

void TChartSeries::Removed() {
  if (FParentChart != nullptr && FCursor != 0 && FParentChart->ShownCursor() == FCursor) FParentChart->RestoreCursor();
  FMouseInside = false;
  for (classlib::TComponent* c : FDataSources)
    if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(*this);
  TCustomChartSeries::Removed();
  RecalcGetAxis();
}

void TChartSeries::Loaded() {
  TCustomChartSeries::Loaded();
  if (!FPendingSources.empty()) {
    std::vector<std::string> names;
    names.swap(FPendingSources);
    RemoveAllDataSources();
    const classlib::TComponent* owner = Owner();
    for (const std::string& name : names)
      if (classlib::TComponent* c = owner != nullptr ? owner->FindComponent(name) : nullptr) AddDataSource(*c);
  }
  CheckDatasource();
}

void TChartSeries::Assign(const classlib::TPersistent& source) {
  auto* s = dynamic_cast<const TChartSeries*>(&source);
  if (s == nullptr) {
    TCustomChartSeries::Assign(source);
    return;
  }
  TCustomChartSeries::Assign(source);
  RemoveAllDataSources();
  if (s->FYMandatory == FYMandatory) {
    FX->Assign(*s->FX);
    FY->Assign(*s->FY);
  } else {
    FX->Assign(*s->FY);
    FY->Assign(*s->FX);
  }
  FXLabelsSource = s->FXLabelsSource;
  FColorSource = s->FColorSource;
  for (int j = 2; j < std::min(FValuesList.Count(), s->FValuesList.Count()); ++j)
    FValuesList[j]->Assign(*s->FValuesList[j]);
  FMarks->Assign(*s->FMarks);
  FSeriesColor = s->FSeriesColor;
  FColorEachPoint = s->FColorEachPoint;
  FValueFormat = s->FValueFormat;
  FPercentFormat = s->FPercentFormat;
  FHorizAxis = s->FHorizAxis;
  FVertAxis = s->FVertAxis;
  FCustomHorizAxis = s->FCustomHorizAxis;
  FCustomVertAxis = s->FCustomVertAxis;
  FRecalcOptions = s->FRecalcOptions;
  FCursor = s->FCursor;
  FDepth = s->FDepth;
  RecalcGetAxis();
  if (FFunction == nullptr && s->FFunction != nullptr) {
    auto* f = dynamic_cast<ISeriesFunction*>(s->FFunction->Component().ClassInfo().Create(Owner()));
    if (f != nullptr) {
      f->Component().Assign(s->FFunction->Component());
      SetFunction(f);
    }
  }
  FManualData = s->FManualData;
  if (!s->FDataSources.empty()) {
    for (classlib::TComponent* c : s->FDataSources) AddDataSource(*c);
  } else {
    ClearLists();
    if (s->FColors) FColors = std::make_unique<std::vector<TColor>>(*s->FColors);
    FLabels.Assign(s->FLabels);
    for (TChartValueList* l : FValuesList) l->ClearValues();
    for (int i = 0; i < s->Count(); ++i) {
      double x = s->FX->Value(i), y = s->FY->Value(i);
      if (s->FYMandatory != FYMandatory) std::swap(x, y);
      FX->InsertChartValue(i, x);
      FY->InsertChartValue(i, y);
      for (int j = 2; j < FValuesList.Count(); ++j)
        FValuesList[j]->InsertChartValue(i, j < s->FValuesList.Count() ? s->FValuesList[j]->Value(i) : 0);
    }
    FX->SetKnownInOrder(s->FX->KnownInOrder());
  }
  CheckDatasource();
}

// --- samples ----------------------------------------------------------------

namespace {

std::mt19937& SampleGenerator() {
  static std::mt19937 generator(12345);
  return generator;
}

}  // namespace

void TChartSeries::FillSampleValues(int numValues) {
  if (numValues < 0) throw ChartException(KivMsg(msgFillSampleValues));
  if (numValues == 0) numValues = FNumSampleValues > 0 ? FNumSampleValues : DefaultSampleCount();
  Clear();
  BeginUpdate();
  SampleGenerator().seed(static_cast<std::uint32_t>(SampleRandom(7774444)));
  try {
    AddSampleValues(numValues);
    CheckOrder();
  } catch (...) {
    FUpdateCount = 0;
    throw;
  }
  EndUpdate();
  FManualData = false;
}

int TChartSeries::SampleRandom(double k) {
  if (!(k >= 1)) return 0;
  const double n = std::min(k, 2147483647.0);
  return static_cast<int>(std::uniform_int_distribution<std::int64_t>(0, static_cast<std::int64_t>(n) - 1)(
      SampleGenerator()));
}

double TChartSeries::SampleRandomReal(double k) {
  if (!(k > 0)) return 0;
  return std::uniform_real_distribution<double>(0, k)(SampleGenerator());
}

TChartSeries::TSampleBounds TChartSeries::CalcRandomBounds(int numValues) const {
  double xMin = 0, xMax = numValues - 1, yMin = 0, yRange = 1000;
  TChartAxis* hAxis = FYMandatory ? FBoundHorizAxis : FBoundVertAxis;
  TChartAxis* vAxis = FYMandatory ? FBoundVertAxis : FBoundHorizAxis;
  if (FParentChart != nullptr && hAxis != nullptr && vAxis != nullptr &&
      (hAxis->Maximum() != hAxis->Minimum() || vAxis->Maximum() != vAxis->Minimum())) {
    xMin = hAxis->Minimum();
    xMax = hAxis->Maximum();
    yMin = vAxis->Minimum();
    yRange = vAxis->Maximum() - vAxis->Minimum();
    if (yRange == 0) {
      yRange = yMin == 0 ? 1000 : 2 * yMin;
      if (yMin == 0) yMin = 0;
    }
    if (xMax == xMin) xMax = xMin + numValues - 1;
  } else if (FNotMandatory->DateTime()) {
    xMin = classlib::Date();
    xMax = xMin + numValues - 1;
  }
  TSampleBounds b;
  b.XMin = xMin;
  b.Step = numValues > 1 ? (xMax - xMin) / (numValues - 1) : 0;
  b.YMin = yMin;
  b.YRange = std::clamp(yRange, -2147483647.0, 2147483647.0);
  return b;
}

void TChartSeries::AddSampleValues(int numValues) {
  const TSampleBounds b = CalcRandomBounds(numValues);
  const std::int64_t q = static_cast<std::int64_t>(b.YRange) / 4;
  double y = b.YMin + SampleRandomReal(b.YRange);
  for (int i = 0; i < numValues; ++i) {
    const double x = b.XMin + b.Step * i;
    if (FYMandatory)
      AddXY(x, y);
    else
      AddXY(y, x);
    y = std::fabs(y + SampleRandomReal(static_cast<double>(q)) - q / 2.0);
  }
}

void TChartSeries::PrepareForGallery(bool enabled) {
  FMarks->SetVisible(false);
  FMarks->Font()->SetSize(7);
  FMarks->SetArrowLength(4);
  FMarks->SetDrawEvery(2);
  FColorEachPoint = false;
  // The colour of the series' own place: two samples of one kind differ.
  int position = 0;
  if (FParentChart != nullptr) {
    const auto& list = FParentChart->SeriesList();
    position = std::max(0, static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin()));
  }
  FSeriesColor = enabled ? GetDefaultColor(position) : clSilver;
}

bool TChartSeries::CheckMouse(std::int32_t x, std::int32_t y) {
  if (FCursor == 0 && !OnMouseEnter && !OnMouseLeave) return false;
  const bool hit = Clicked(x, y) != -1;
  if (hit) {
    if (FCursor != 0 && FParentChart != nullptr) FParentChart->ShowCursor(FCursor);
    if (!FMouseInside && OnMouseEnter) OnMouseEnter(*this);
  } else if (FMouseInside && OnMouseLeave) {
    OnMouseLeave(*this);
  }
  FMouseInside = hit;
  return hit;
}

}  // namespace chart
