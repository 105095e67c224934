// The series editor's "Data Source" page: the points typed into the value
// grid, random sample values, or a data-source editor (the function editor,
// or the editor a registered source kind names).
//
// Tested by: chart_editors/tests/SeriesEditorTest.cpp
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <memory>

#include "chart/series/SeriesSource.h"
#include "chart_editors/KivEdiSeri.h"
#include "chart_editors/KivLisB.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

using chart::TChartSeries;

namespace {

// The source kind of a registered-sources item, made to be asked.
std::unique_ptr<chart::TKivSeriesSource> SourceOfKind(const classlib::TClassInfo* kind) {
  if (kind == nullptr) return nullptr;
  std::unique_ptr<classlib::TPersistent> made(kind->Create(nullptr));
  if (dynamic_cast<chart::TKivSeriesSource*>(made.get()) == nullptr) return nullptr;
  return std::unique_ptr<chart::TKivSeriesSource>(static_cast<chart::TKivSeriesSource*>(made.release()));
}

}  // namespace

void TFormKivSeries::BuildDataSourcePage() {
  PanTop = CreateControl<QWidget>(TabDataSource, "PanTop");
  CBDataSourcestyle = CreateControl<chart::TComboFlat>(PanTop, "CBDataSourcestyle");
  CBDataSourcestyle->addItems({"Manual", "Random", "Function"});
  CBDataSourcestyle->setMaxVisibleItems(12);
  CBDataSourcestyle->setMinimumWidth(140);
  NewDataButton = CreateControl<TDataSourceButton>(PanTop, "NewDataButton", "&New...");
  EditDataButton = CreateControl<TDataSourceButton>(PanTop, "EditDataButton", "&Edit...");
  DeleteDataButton = CreateControl<TDataSourceButton>(PanTop, "DeleteDataButton", "&Delete");
  SetControlsVisible(false, {NewDataButton, EditDataButton, DeleteDataButton});
  auto* top = new QHBoxLayout(PanTop);
  top->setContentsMargins(0, 0, 0, 0);
  top->addWidget(CBDataSourcestyle);
  top->addWidget(NewDataButton);
  top->addWidget(EditDataButton);
  top->addWidget(DeleteDataButton);
  top->addStretch(1);

  Panel2 = CreateControl<QWidget>(TabDataSource, "Panel2");
  ChartGrid1 = CreateControl<TChartGrid>(Panel2, "ChartGrid1");
  ChartGrid1->SetShowColors(true);
  ChartGridNavigator1 = CreateControl<TChartGridNavigator>(Panel2, "ChartGridNavigator1");
  ChartGridNavigator1->SetGrid(ChartGrid1);
  auto* grid = new QVBoxLayout(Panel2);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(ChartGrid1, 1);
  grid->addWidget(ChartGridNavigator1);

  Panel4 = CreateControl<QWidget>(TabDataSource, "Panel4");
  Label2 = CreateControl<QLabel>(Panel4, "Label2", "&Number of sample values:");
  ESamples = CreateControl<QLineEdit>(Panel4, "ESamples");
  // A count: up to six digits, nothing else.
  ESamples->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), ESamples));
  ESamples->setMaximumWidth(80);
  Label2->setBuddy(ESamples);
  CBSamplesDefault = CreateControl<QCheckBox>(Panel4, "CBSamplesDefault", "&Default");
  BApplyRandom = CreateControl<QPushButton>(Panel4, "BApplyRandom", "&Apply");
  BApplyRandom->setEnabled(false);
  auto* random = new QGridLayout(Panel4);
  random->addWidget(Label2, 0, 0);
  random->addWidget(ESamples, 0, 1);
  random->addWidget(CBSamplesDefault, 0, 2);
  random->addWidget(BApplyRandom, 1, 1);
  random->setColumnStretch(3, 1);
  random->setRowStretch(2, 1);
  Panel4->hide();

  auto* page = new QVBoxLayout(TabDataSource);
  page->addWidget(PanTop);
  page->addWidget(Panel2, 1);
  page->addWidget(Panel4, 1);
}

void TFormKivSeries::ConnectDataSourcePage() {
  connect(CBDataSourcestyle, &QComboBox::activated, this, ui::Guarded([this] { CBDataSourcestyleChange(); }));
  ChartGrid1->OnSetEditText = [this](TCustomChartGrid& grid, int, int, const std::string&) {
    if (TChartSeries* series = grid.Series()) series->RefreshSeries();
  };
  connect(ESamples, &QLineEdit::textChanged, this, ui::Guarded([this] { ESamplesChange(); }));
  connect(CBSamplesDefault, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBSamplesDefaultClick(on); }));
  connect(BApplyRandom, &QPushButton::clicked, this, ui::Guarded([this] { BApplyRandomClick(); }));
}

int TFormKivSeries::CurrentDataSourceStyle() const {
  const TChartSeries& series = *TheSeries();
  classlib::TComponent* source = series.DataSource();
  if (series.FunctionType() != nullptr || dynamic_cast<TChartSeries*>(source) != nullptr) return dsFunction;
  if (source == nullptr) return series.Count() > 0 && !series.ManualData() ? dsRandom : dsManual;
  for (int i = dsFunction + 1; i < CBDataSourcestyle->count(); ++i) {
    const auto kind = SourceOfKind(ComboObject<const classlib::TClassInfo>(*CBDataSourcestyle, i));
    if (kind != nullptr && kind->IsSeriesSource(series)) return i;
  }
  return dsManual;
}

void TFormKivSeries::FillDataSourcePage() {
  const int style = CurrentDataSourceStyle();
  if (style == CBDataSourcestyle->currentIndex()) return;
  {
    TFillingScope filling(*this);
    CBDataSourcestyle->setCurrentIndex(style);
  }
  BuildDataSourceContent();
}

void TFormKivSeries::BuildDataSourceContent() {
  if (!CloseDataSourceEditor()) return;
  TChartSeries* series = TheSeries();
  const int style = CBDataSourcestyle->currentIndex();
  SetControlsVisible(false, {NewDataButton, EditDataButton, DeleteDataButton, ChartGrid1, ChartGridNavigator1});
  ChartGrid1->SetSeries(style == dsManual ? series : nullptr);
  SetControlsVisible(style == dsManual, {ChartGrid1, ChartGridNavigator1});
  Panel2->setVisible(style != dsRandom);
  Panel4->setVisible(style == dsRandom);
  if (style == dsRandom) {
    TFillingScope filling(*this);
    ShowDefaultSamples();
    const int count = series->NumSampleValues();
    ESamples->setText(QString::number(count != 0 ? count : series->DefaultSampleCount()));
    BApplyRandom->setEnabled(false);
  }
  if (style < dsFunction) return;
  std::string editorClass = "TKivFuncEditor";
  if (style > dsFunction) {
    const auto kind = SourceOfKind(ComboObject<const classlib::TClassInfo>(*CBDataSourcestyle, style));
    editorClass = kind != nullptr ? kind->EditorClassName() : std::string();
  }
  if (editorClass.empty() || !EditorFormRegistered(editorClass)) return;
  TEditorForm* form = CreateEditorForm(editorClass, this);
  FDataSourceEditor = dynamic_cast<TBaseSourceEditor*>(form);
  if (!FDataSourceEditor) {
    delete form;
    return;
  }
  FDataSourceEditor->SetAlignClient(true);
  EmbedEditorForm(*FDataSourceEditor, Panel2, series);
  if (style > dsFunction)
    for (TDataSourceButton* b : {NewDataButton, EditDataButton, DeleteDataButton}) b->setVisible(b->HasClickHandler());
}

void TFormKivSeries::CBDataSourcestyleChange() {
  if (Filling() || TheSeries() == nullptr) return;
  // The kind changes: what the editor had not applied goes without a question,
  // and the editor goes before the series changes under it.
  if (FDataSourceEditor) FDataSourceEditor->BApply->setEnabled(false);
  CloseDataSourceEditor();
  const int style = CBDataSourcestyle->currentIndex();
  if (style == dsManual || style == dsRandom) RemoveOwnDataSource(style == dsManual);
  BuildDataSourceContent();
}

void TFormKivSeries::RemoveOwnDataSource(bool manual) {
  TChartSeries& series = *TheSeries();
  classlib::TComponent* source = series.DataSource();
  auto* own = dynamic_cast<chart::TKivSeriesSource*>(source);
  if (own != nullptr && own->Series() == &series && own->Owner() == &series) {
    own->SetSeries(nullptr);
    series.SetDataSource(nullptr);
    delete own;
    series.Clear();
  }
  series.SetFunction(nullptr);
  // Points typed or drawn at random are the series' own: other series feed it no more.
  if (dynamic_cast<TChartSeries*>(series.DataSource()) != nullptr) series.RemoveAllDataSources();
  if (manual) series.SetManualData(true);
}

void TFormKivSeries::ShowDefaultSamples() {
  const TChartSeries& series = *TheSeries();
  const int count = series.NumSampleValues();
  const bool isDefault = count == 0 || count == series.DefaultSampleCount();
  {
    TFillingScope filling(*this);
    CBSamplesDefault->setChecked(isDefault);
  }
  CBSamplesDefault->setEnabled(!isDefault);
}

void TFormKivSeries::ESamplesChange() {
  if (Filling() || TheSeries() == nullptr) return;
  std::int32_t count = 0;
  if (!classlib::TryStrToInt(ESamples->text().toStdString(), count)) count = 0;
  TheSeries()->SetNumSampleValues(count);
  ShowDefaultSamples();
  BApplyRandom->setEnabled(true);
}

void TFormKivSeries::CBSamplesDefaultClick(bool checked) {
  if (Filling() || TheSeries() == nullptr || !checked) return;
  ESamples->setText(QString::number(TheSeries()->DefaultSampleCount()));
  CBSamplesDefault->setEnabled(false);
}

void TFormKivSeries::BApplyRandomClick() {
  if (TheSeries() != nullptr) TheSeries()->FillSampleValues(0);
}

}  // namespace chart_editors
