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

void FillSeriesChooser(QComboBox& box, const chart::TCustomAxisPanel* chart, const chart::TChartSeries* selected) {
  box.clear();
  std::vector<std::pair<std::string, chart::TChartSeries*>> items;
  if (chart != nullptr) chart::FillSeriesItems(items, *chart);
  AddComboObject(box, QString::fromStdString(chart::KivMsg(txtNone)), nullptr);
  for (const auto& [title, series] : items) AddComboObject(box, QString::fromStdString(title), series);
  box.setEnabled(chart != nullptr && chart->SeriesCount() > 0);
  box.setCurrentIndex(std::max(0, FindComboObject(box, selected)));
}

void DropFromSeriesChooser(QComboBox& box, const chart::TChartSeries* series) {
  const bool chosen = ComboObject<chart::TChartSeries>(box, box.currentIndex()) == series;
  RemoveComboObject(box, series);
  if (chosen || box.currentIndex() < 0) box.setCurrentIndex(0);
  box.setEnabled(box.count() > 1);
}

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
  FillSeriesChooser(*CBSeries, chart, tool->Series());
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
    DropFromSeriesChooser(*CBSeries, e->Series);
  });
}

}  // namespace chart_editors
