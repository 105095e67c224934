// The series tool editor.
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#include "chart_editors/KivToolSeriesEdit.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/core/KivConst.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivLisB.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

TSeriesToolEditor::TSeriesToolEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("SeriesToolEditor");
  SetAlignClient(true);
  Label1 = CreateControl<QLabel>(this, "Label1", "&Series:");
  CBSeries = CreateControl<chart::TComboFlat>(this, "CBSeries");
  CBSeries->setMinimumWidth(150);
  Label1->setBuddy(CBSeries);
  FLayout = new QGridLayout(this);
  FLayout->addWidget(Label1, 0, 0);
  FLayout->addWidget(CBSeries, 0, 1);
  FLayout->setColumnStretch(2, 1);
  FLayout->setRowStretch(10, 1);
  connect(CBSeries, &QComboBox::activated, this, ui::Guarded([this](int i) { CBSeriesChange(i); }));
}

TSeriesToolEditor::~TSeriesToolEditor() { FListening.Listen(nullptr); }

void TSeriesToolEditor::FormShow() {
  TFillingScope filling(*this);
  FTool.Set(dynamic_cast<chart::TKivCustomToolSeries*>(Tag()));
  chart::TKivCustomToolSeries* tool = Tool();
  if (tool == nullptr) return;
  chart::TCustomAxisPanel* chart = tool->ParentChart();
  FListening.Listen(chart);
  CBSeries->clear();
  std::vector<std::pair<std::string, chart::TChartSeries*>> items;
  if (chart != nullptr) chart::FillSeriesItems(items, *chart);
  AddComboObject(*CBSeries, QString::fromStdString(chart::KivMsg(txtNone)), nullptr);
  for (const auto& [title, series] : items) AddComboObject(*CBSeries, QString::fromStdString(title), series);
  CBSeries->setEnabled(chart != nullptr && chart->SeriesCount() > 0);
  CBSeries->setCurrentIndex(std::max(0, FindComboObject(*CBSeries, tool->Series())));
}

void TSeriesToolEditor::CBSeriesChange(int index) {
  if (Filling() || Tool() == nullptr) return;
  Tool()->SetSeries(ComboObject<chart::TChartSeries>(*CBSeries, index));
}

void TSeriesToolEditor::KivEvent(chart::TKivEvent& event) {
  // A series that goes leaves no item to choose it by.
  auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event);
  if (e == nullptr || e->Event != chart::seRemove || e->Series == nullptr) return;
  ui::RunGuarded([&] {
    TFillingScope filling(*this);
    const bool chosen = ComboObject<chart::TChartSeries>(*CBSeries, CBSeries->currentIndex()) == e->Series;
    RemoveComboObject(*CBSeries, e->Series);
    if (chosen || CBSeries->currentIndex() < 0) CBSeries->setCurrentIndex(0);
    CBSeries->setEnabled(CBSeries->count() > 1);
  });
}

}  // namespace chart_editors
