// Chart elements and the data-free part of series.
//
// Tested by: chart/tests/SeriesDataTest.cpp
#include "chart/series/ChartElement.h"

#include "chart/AxisPanel.h"
#include "chart/core/StoreAndInvalidate.h"
#include "platform/classlib/ComponentStream.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCustomChartElement::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomChartElement>("TCustomChartElement", classlib::TComponent::StaticClassInfo())
          .Property("Active", &TCustomChartElement::Active, &TCustomChartElement::SetActive, true)
          .SubObject("Brush", &TCustomChartElement::Brush)
          .TypeName("TChartBrush")
          .SubObject("Pen", &TCustomChartElement::Pen)
          .TypeName("TChartPen")
          .Build();
  return info;
}

TCustomChartElement::TCustomChartElement(classlib::TComponent* owner)
    : classlib::TComponent(owner),
      FBrush(std::make_unique<TChartBrush>([this] { ElementChanged(); })),
      FPen(std::make_unique<TChartPen>([this] { ElementChanged(); })) {}

// Kinds that join a chart list detach in their own destructor, where their
// SetParentChart still runs; this one only forgets the chart.
TCustomChartElement::~TCustomChartElement() { FParentChart = nullptr; }

void TCustomChartElement::SetActive(bool v) { StoreAndInvalidate(*this, FActive, v); }

void TCustomChartElement::Invalidate() const {
  if (FParentChart != nullptr) FParentChart->Invalidate();
}

classlib::TComponent* TCustomChartElement::GetParentComponent() const { return FParentChart; }

void TCustomChartElement::SetParentComponent(classlib::TComponent* parent) {
  if (auto* chart = dynamic_cast<TCustomAxisPanel*>(parent)) SetParentChart(chart);
}

void TCustomChartElement::Assign(const classlib::TPersistent& source) {
  if (auto* e = dynamic_cast<const TCustomChartElement*>(&source)) {
    FActive = e->FActive;
    FBrush->Assign(*e->FBrush);
    SetPen(*e->FPen);
    SetTag(e->Tag());
    return;
  }
  classlib::TComponent::Assign(source);
}

// --- TCustomChartSeries -------------------------------------------------------

const TClassInfo& TCustomChartSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCustomChartSeries>("TCustomChartSeries", TCustomChartElement::StaticClassInfo())
          .Property("ShowInLegend", &TCustomChartSeries::ShowInLegend, &TCustomChartSeries::SetShowInLegend, true)
          .Property("Title", &TCustomChartSeries::Title, &TCustomChartSeries::SetTitle, std::string())
          .Build();
  return info;
}

TCustomChartSeries::TCustomChartSeries(classlib::TComponent* owner) : TCustomChartElement(owner) {}

void TCustomChartSeries::DefineProperties(classlib::TFiler& filer) {
  TCustomChartElement::DefineProperties(filer);
  filer.DefineProperty(
      "Identifier", [this](classlib::TReader& r) { FIdentifier = r.ReadString(); },
      [this](classlib::TWriter& w) { w.WriteString(FIdentifier); }, !FIdentifier.empty());
  filer.DefineProperty(
      "Style", [this](classlib::TReader& r) { SetStyle(static_cast<TChartSeriesStyle>(r.ReadInteger() & 0x3F)); },
      [this](classlib::TWriter& w) { w.WriteInteger(FStyle); }, FStyle != 0);
}

void TCustomChartSeries::NotifySeriesObserver() const {
  if (FParentChart != nullptr && FParentChart->SeriesObserver != nullptr)
    FParentChart->SeriesObserver->SeriesChanged(*FParentChart);
}

void TCustomChartSeries::SetChartView3D(bool v) {
  if (FParentChart != nullptr) FParentChart->SetView3D(v);
}

bool TCustomChartSeries::SameClass(const classlib::TPersistent& a, const classlib::TPersistent& b) {
  return a.ClassInfo().InheritsFrom(b.ClassInfo()) || b.ClassInfo().InheritsFrom(a.ClassInfo());
}

void TCustomChartSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TCustomChartSeries*>(&source)) {
    FShowInLegend = s->FShowInLegend;
    FTitle = s->FTitle;
    FStyle = s->FStyle;
    FIdentifier = s->FIdentifier;
  }
  TCustomChartElement::Assign(source);
}

}  // namespace chart
