// The function editor.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#include "chart_editors/KivFuncEdit.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

#include "chart/core/KivConst.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

using chart::TChartSeries;

namespace {

// Whether series may be fed by candidate: the chart takes it as a source and
// it does not depend on series itself.
bool AcceptsSource(const chart::TCustomAxisPanel& chart, const TChartSeries& series, const TChartSeries& candidate) {
  if (!chart.IsValidDataSource(series, candidate)) return false;
  try {
    chart.CheckCircularSource(series, candidate);
  } catch (const chart::ChartException&) {
    return false;
  }
  return true;
}

}  // namespace

TKivFuncEditor::TKivFuncEditor(QWidget* owner) : TBaseSourceEditor(owner) {
  setObjectName("KivFuncEditor");
  LLabel->setText("&Functions:");

  // "Copy" and every registered function kind, by name.
  std::vector<std::pair<QString, const classlib::TClassInfo*>> kinds{
      {QString::fromStdString(chart::KivMsg(txtCopy)), nullptr}};
  for (const auto& type : chart::KivSeriesTypesList().Items()) {
    if (type->FunctionClass == nullptr || type->SeriesClass != nullptr) continue;
    std::string text = type->Description;
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    kinds.emplace_back(QString::fromStdString(text), type->FunctionClass);
  }
  std::stable_sort(kinds.begin(), kinds.end(), [](const auto& a, const auto& b) {
    return classlib::CompareText(a.first.toStdString(), b.first.toStdString()) < 0;
  });
  for (const auto& [text, kind] : kinds) CBSources->addItem(text, ObjectData(kind));

  PageControl1 = CreateControl<QTabWidget>(this, "PageControl1");
  TabSource = CreateControl<QWidget>(PageControl1, "TabSource");
  TabOptions = CreateControl<QWidget>(PageControl1, "TabOptions");
  PageControl1->addTab(TabSource, "Source Series");
  PageControl1->addTab(TabOptions, "Options");
  auto* options = new QVBoxLayout(TabOptions);
  options->setContentsMargins(0, 0, 0, 0);

  PanSingle = CreateControl<QWidget>(TabSource, "PanSingle");
  Label1 = CreateControl<QLabel>(PanSingle, "Label1", "&Series:");
  CBSingle = CreateControl<chart::TComboFlat>(PanSingle, "CBSingle");
  CBSingle->setMinimumWidth(150);
  Label1->setBuddy(CBSingle);
  BNone = CreateControl<QPushButton>(PanSingle, "BNone", "&None");
  BNone->setEnabled(false);
  LValues = CreateControl<QLabel>(PanSingle, "LValues", "&Values:");
  CBValues = CreateControl<chart::TComboFlat>(PanSingle, "CBValues");
  CBValues->setEnabled(false);
  LValues->setBuddy(CBValues);
  auto* single = new QGridLayout(PanSingle);
  single->addWidget(Label1, 0, 0);
  single->addWidget(CBSingle, 0, 1);
  single->addWidget(BNone, 0, 2);
  single->addWidget(LValues, 1, 0);
  single->addWidget(CBValues, 1, 1);
  single->setColumnStretch(3, 1);
  single->setRowStretch(2, 1);
  auto* source = new QVBoxLayout(TabSource);
  source->setContentsMargins(0, 0, 0, 0);
  source->addWidget(PanSingle);

  layout()->addWidget(PageControl1);

  connect(CBSingle, &QComboBox::activated, this, ui::Guarded([this] { CBSingleChange(); }));
  connect(BNone, &QPushButton::clicked, this, ui::Guarded([this] {
            CBSingle->setCurrentIndex(-1);
            CBSingleChange();
          }));
  connect(CBValues, &QComboBox::activated, this, [this] { BApply->setEnabled(true); });
  connect(BApply, &QPushButton::clicked, this, ui::Guarded([this] { BApplyClick(); }));
}

TKivFuncEditor::~TKivFuncEditor() {
  FDestroying = true;
  FListening.Listen(nullptr);
}

const classlib::TClassInfo* TKivFuncEditor::SelectedFunctionClass() const {
  return DataObject<const classlib::TClassInfo>(CBSources->currentData());
}

void TKivFuncEditor::ShowTab(QWidget* tab, bool visible) {
  PageControl1->setTabVisible(PageControl1->indexOf(tab), visible);
}

void TKivFuncEditor::FormShow() {
  TBaseSourceEditor::FormShow();
  PageControl1->setCurrentWidget(TabSource);
  TChartSeries* series = Series();
  FListening.Listen(series != nullptr ? series->ParentChart() : nullptr);
  FSelector = new TSelectListForm(this);
  FSelector->OnChange = [this](TSelectListForm&) { CBSourcesChange(); };
  EmbedEditorForm(*FSelector, TabSource, Tag());
  if (series != nullptr) {
    FillSources();
    const chart::TKivFunction* function = series->FunctionType();
    const int kind = CBSources->findData(ObjectData(function != nullptr ? &function->ClassInfo() : nullptr));
    CBSources->setCurrentIndex(std::max(0, kind));
    CBSourcesChange();
    BApply->setEnabled(function == nullptr && series->DataSource() == nullptr);
  }
  FSelector->EnableButtons();
}

void TKivFuncEditor::FillSources() {
  FillSourcesLeaving(nullptr);
}

void TKivFuncEditor::FillSourcesLeaving(const TChartSeries* leaving) {
  TChartSeries* series = Series();
  CBSingle->clear();
  if (FSelector != nullptr) {
    FSelector->FromList->clear();
    FSelector->ToList->clear();
  }
  chart::TCustomAxisPanel* chart = series != nullptr ? series->ParentChart() : nullptr;
  if (chart == nullptr || FSelector == nullptr) return;
  const auto& sources = series->DataSources();
  for (TChartSeries* other : chart->SeriesList()) {
    if (other == leaving || other->DontStore() || !AcceptsSource(*chart, *series, *other)) continue;
    const QString title = QString::fromStdString(chart::SeriesTitleOrName(*other));
    CBSingle->addItem(title, ObjectData(other));
    if (std::find(sources.begin(), sources.end(), other) == sources.end())
      AddListObject(*FSelector->FromList, title, other);
  }
  CBSingle->setCurrentIndex(-1);  // a combo takes its first item by itself
  TChartSeries* sourceSeries = nullptr;
  for (classlib::TComponent* c : sources) {
    auto* s = dynamic_cast<TChartSeries*>(c);
    if (s == nullptr || s == leaving) continue;
    if (sourceSeries == nullptr) sourceSeries = s;
    AddListObject(*FSelector->ToList, QString::fromStdString(chart::SeriesTitleOrName(*s)), s);
  }
  if (PanSingle->isHidden()) return;
  if (sourceSeries == nullptr) return;
  const int at = CBSingle->findData(ObjectData(sourceSeries));
  if (at != CBSingle->currentIndex()) {
    CBSingle->setCurrentIndex(at);
    CBSingleChange();
  }
  CBValues->setCurrentIndex(std::max(0, CBValues->findText(QString::fromStdString(series->YValues()->ValueSource()))));
}

void TKivFuncEditor::CBSingleChange() {
  BApply->setEnabled(true);
  CBValues->clear();
  const TChartSeries* source = DataObject<TChartSeries>(CBSingle->currentData());
  CBValues->setEnabled(source != nullptr);
  BNone->setEnabled(source != nullptr);
  if (source == nullptr) return;
  // Its lists after X.
  for (int i = 1; i < source->ValuesList().Count(); ++i)
    CBValues->addItem(QString::fromStdString(source->ValuesList()[i]->Name()));
  CBValues->setCurrentIndex(0);
}

bool TKivFuncEditor::ApplyFunctionClass(bool removeCopy) {
  TChartSeries* series = Series();
  const classlib::TClassInfo* kind = SelectedFunctionClass();
  if (series == nullptr) return false;
  if (kind == nullptr) {
    if (removeCopy && series->FunctionType() != nullptr) series->SetFunction(nullptr);
    return false;
  }
  const chart::TKivFunction* function = series->FunctionType();
  if (function != nullptr && &function->ClassInfo() == kind) return false;
  series->SetFunction(nullptr);
  chart::CreateSeriesFunction(*series, *kind);
  return true;
}

void TKivFuncEditor::ShowOptionsForm(const std::string& className) {
  chart::TKivFunction* function = Series() != nullptr ? Series()->FunctionType() : nullptr;
  // A kind whose options form is not built has none to show.
  if (className.empty() || function == nullptr || !EditorFormRegistered(className)) {
    delete FOptions;
    ShowTab(TabOptions, false);
    return;
  }
  // The same form over the same function keeps what was typed into it.
  if (FOptions == nullptr || FOptions->Tag() != function || !classlib::SameText(FOptionsClass, className)) {
    delete FOptions;
    FOptions = CreateEditorForm(className, this);
    FOptionsClass = className;
    FOptions->SetAlignClient(true);
    EmbedEditorForm(*FOptions, TabOptions, function);
  }
  ShowTab(TabOptions, true);
}

void TKivFuncEditor::CBSourcesChange() {
  TBaseSourceEditor::CBSourcesChange();
  TChartSeries* series = Series();
  if (series == nullptr) return;
  bool created = false;
  if (SelectedFunctionClass() != nullptr) {
    created = ApplyFunctionClass(false);
    const chart::TKivFunction& function = *series->FunctionType();
    const bool noSource = function.NoSourceRequired();
    PanSingle->setHidden(noSource || !function.SingleSource());
    LValues->setHidden(function.HideValueList());
    CBValues->setHidden(function.HideValueList());
    ShowOptionsForm(function.EditorClassName());
    ShowTab(TabSource, !noSource);
    if (noSource) {
      ShowTab(TabOptions, true);
      PageControl1->setCurrentWidget(TabOptions);
    }
  } else {
    // "Copy": the function goes when the sources are applied.
    delete FOptions;
    ShowTab(TabOptions, false);
    ShowTab(TabSource, true);
    PanSingle->setHidden(true);
  }
  if (FSelector != nullptr) FSelector->setHidden(!PanSingle->isHidden());
  if (created) {
    // A kind may take only some series (price bars): offer those.
    FillSources();
    BApply->setEnabled(false);
  }
}

void TKivFuncEditor::BApplyClick() {
  // The options first: a value they refuse stops the whole apply.
  if (FOptions != nullptr && !FOptions->CloseQuery()) return;
  TChartSeries* series = Series();
  if (series == nullptr) return;
  series->BeginUpdate();
  try {
    ApplySources();
  } catch (...) {
    series->EndUpdate();
    throw;
  }
  series->EndUpdate();
  series->CheckDatasource();
  FillSources();
  BApply->setEnabled(false);
}

void TKivFuncEditor::ApplySources() {
  TChartSeries& series = *Series();
  if (!PanSingle->isHidden()) {
    auto* source = DataObject<TChartSeries>(CBSingle->currentData());
    series.SetDataSource(source);
    series.YValues()->SetValueSource(source != nullptr && !CBValues->isHidden() ? CBValues->currentText().toStdString()
                                                                                : std::string());
  } else if (FSelector->ToList->count() == 0) {
    series.SetDataSource(nullptr);
  } else {
    std::vector<TChartSeries*> listed;
    for (int i = 0; i < FSelector->ToList->count(); ++i)
      listed.push_back(static_cast<TChartSeries*>(ListItemObject(*FSelector->ToList->item(i))));
    // Every one is checked before any is taken, so a refused one changes nothing.
    for (TChartSeries* s : listed) series.ParentChart()->CheckCircularSource(series, *s);
    series.RemoveAllDataSources();
    for (TChartSeries* s : listed) series.AddDataSource(*s);
  }
  ApplyFunctionClass(true);
}

void TKivFuncEditor::KivEvent(chart::TKivEvent& event) {
  auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event);
  if (FDestroying || e == nullptr) return;
  if (e->Event != chart::seAdd && e->Event != chart::seRemove && e->Event != chart::seSwap) return;
  ui::RunGuarded([&] {
    if (e->Series != nullptr && e->Series == Series())
      BApply->setEnabled(false);
    else
      FillSourcesLeaving(e->Event == chart::seRemove ? e->Series : nullptr);
  });
}

}  // namespace chart_editors
