// The analysis charts: the update protocol that redraws the series of bound
// components, and the signal and spectrum charts.
//
// Tested by: analysis_ui/tests/AnalysisChartsTest.cpp
#include <vector>

#include "analysis_ui/AxisScaleTool.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/NumoraKiv.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/tools/ToolBases.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/Signal.h"
#include "signal/Spectrum.h"

namespace analysis_ui {

namespace {

// The first item of collection from index on whose input is component.
template <class TCollection>
bool FindItemOf(const TCollection& collection, const classlib::TComponent* component, int& index) {
  for (int i = std::max(index, 0); i < collection.Count(); ++i)
    if (static_cast<const classlib::TComponent*>(collection.Items(i)->Input()) == component) {
      index = i;
      return true;
    }
  return false;
}

// The input is being freed: only its address is compared, nothing of it is called.
template <class TCollection>
void ClearInputsOf(const TCollection& collection, const classlib::TComponent* component) {
  for (int i = 0; i < collection.Count(); ++i)
    if (static_cast<const classlib::TComponent*>(collection.Items(i)->Input()) == component)
      collection.Items(i)->ClearInput();
}

}  // namespace

// --- TAnalysisChart --------------------------------------------------------

const classlib::TClassInfo& TAnalysisChart::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TAnalysisChart>("TAnalysisChart", chart::TChart::StaticClassInfo())
          .Property("AutoAnalysisUpdate", &TAnalysisChart::AutoAnalysisUpdate, &TAnalysisChart::SetAutoAnalysisUpdate,
                    true)
          .Property("PixelDownSample", &TAnalysisChart::PixelDownSample, &TAnalysisChart::SetPixelDownSample, false)
          .Build();
  return info;
}

TAnalysisChart::TAnalysisChart(classlib::TComponent* AOwner) : chart::TChart(AOwner) {
  SetView3D(false);
  SetBevelOuter(chart::bvLowered);
  SetColor(chart::clWhite);
}

TAnalysisChart::~TAnalysisChart() = default;

void TAnalysisChart::UpdateSeries(int Index) {
  if (Index < 0 || Index >= SeriesCount() || Index >= ItemCount()) return;
  const numeric::TVec* values = nullptr;
  double x0 = 0, dx = 1;
  GetItemData(Index, values, x0, dx);
  if (values == nullptr) return;
  DrawValues(*values, *Series(Index), FPixelDownSample, x0, dx);
}

void TAnalysisChart::ComponentUpdated(classlib::TPersistent* Sender) {
  if (!FAutoAnalysisUpdate) return;
  const auto* component = dynamic_cast<const classlib::TComponent*>(Sender);
  if (component == nullptr) return;
  for (int i = 0; FindItem(component, i); ++i) UpdateItem(i);
}

sig::TNotifyEvent TAnalysisChart::NotifyMethod() {
  return [this](classlib::TPersistent* Sender) { ComponentUpdated(Sender); };
}

void TAnalysisChart::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  if (Operation == classlib::opRemove && AComponent != nullptr && AComponent != this) ClearInputs(AComponent);
  chart::TChart::Notification(AComponent, Operation);
}

// --- TSignalChart ----------------------------------------------------------

const classlib::TClassInfo& TSignalChart::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalChart>("TSignalChart", TAnalysisChart::StaticClassInfo())
          .SubObject("Signals", &TSignalChart::Signals)
          .TypeName("TSignalCollection")
          .Creatable()
          .Build();
  return info;
}

TSignalChart::TSignalChart(classlib::TComponent* AOwner)
    : TAnalysisChart(AOwner), FSignals(std::make_unique<sig::TSignalCollection>(this)) {
  FSignals->SetNotify(NotifyMethod());
}

TSignalChart::~TSignalChart() { FSignals.reset(); }

bool TSignalChart::FindItem(const classlib::TComponent* Component, int& Index) const {
  return FindItemOf(*FSignals, Component, Index);
}

void TSignalChart::GetItemData(int Index, const numeric::TVec*& Values, double& X0, double& Dx) const {
  const sig::TSignal* signal = FSignals->Items(Index)->Input();
  if (signal == nullptr) return;
  Values = &signal->Data();
  X0 = signal->StartTime();
  Dx = signal->SamplePeriod();
}

void TSignalChart::ClearInputs(const classlib::TComponent* Component) { ClearInputsOf(*FSignals, Component); }

// --- TSpectrumChart --------------------------------------------------------

const classlib::TClassInfo& TSpectrumChart::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumChart>("TSpectrumChart", TAnalysisChart::StaticClassInfo())
          .Property("SpectrumPart", &TSpectrumChart::SpectrumPart, &TSpectrumChart::SetSpectrumPart, sppAmplt)
          .TypeName("TSpectrumPart")
          .Names({"sppAmplt", "sppPhase"})
          .SubObject("Spectrums", &TSpectrumChart::Spectrums)
          .TypeName("TSpectrumCollection")
          .Creatable()
          .Build();
  return info;
}

TSpectrumChart::TSpectrumChart(classlib::TComponent* AOwner)
    : TAnalysisChart(AOwner), FSpectrums(std::make_unique<sig::TSpectrumCollection>(this)) {
  FSpectrums->SetNotify(NotifyMethod());
}

TSpectrumChart::~TSpectrumChart() { FSpectrums.reset(); }

void TSpectrumChart::SetSpectrumPart(TSpectrumPart Value) {
  if (Value != sppAmplt && Value != sppPhase) Value = sppAmplt;
  if (Value == FSpectrumPart) return;
  FSpectrumPart = Value;
  for (int i = 0; i < ItemCount(); ++i) UpdateSeries(i);
  if (OnSpectrumMode) OnSpectrumMode(this);
}

bool TSpectrumChart::FindItem(const classlib::TComponent* Component, int& Index) const {
  return FindItemOf(*FSpectrums, Component, Index);
}

void TSpectrumChart::GetItemData(int Index, const numeric::TVec*& Values, double& X0, double& Dx) const {
  const sig::TSpectrum* spectrum = FSpectrums->Items(Index)->Input();
  if (spectrum == nullptr) return;
  Values = FSpectrumPart == sppPhase ? &spectrum->Phase() : &spectrum->Amplt();
  X0 = spectrum->StartFrequency();
  Dx = spectrum->HzRes();
}

void TSpectrumChart::ClearInputs(const classlib::TComponent* Component) { ClearInputsOf(*FSpectrums, Component); }

// --- registration ----------------------------------------------------------

namespace {
std::vector<const classlib::TClassInfo*> SignalTools() {
  return {&TSpectrumMarkTool::StaticClassInfo(), &TSignalMarkTool::StaticClassInfo(),
          &TAxisScaleTool::StaticClassInfo()};
}
}  // namespace

void RegisterSignalToolsKiv() {
  classlib::RegisterClasses({&TSignalChart::StaticClassInfo(), &TSpectrumChart::StaticClassInfo()});
  chart::RegisterToolClasses(SignalTools());
}

void UnregisterSignalToolsKiv() {
  chart::UnregisterToolClasses(SignalTools());
  for (const classlib::TClassInfo* tool : SignalTools()) classlib::UnRegisterClass(*tool);
  classlib::UnRegisterClass(TSignalChart::StaticClassInfo());
  classlib::UnRegisterClass(TSpectrumChart::StaticClassInfo());
}

}  // namespace analysis_ui
