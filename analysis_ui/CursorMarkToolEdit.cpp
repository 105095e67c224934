// What the mark cursors' editor forms share: the pages, the series boxes and
// "Cursor active".
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#include <QGridLayout>
#include <QVBoxLayout>

#include <utility>

#include "analysis_ui/MarkToolEditors.h"
#include "chart/AxisPanel.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivToolSeriesEdit.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;

TCursorMarkToolEditor::TCursorMarkToolEditor(QWidget* owner)
    : TEditorForm(owner), FTool([this](TCursorMarkTool*) {
        // Nothing is left to write into.
        PageControl1->setEnabled(false);
      }) {
  SetAlignClient(true);
  PageControl1 = CreateControl<QTabWidget>(this, "PageControl1");
  // Every page's tab in sight: the form is never narrower than its tabs.
  PageControl1->setUsesScrollButtons(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  Configuration = AddPage("Configuration", "Configuration");
  Display = AddPage("Display", "Display");

  auto* grid = new QGridLayout(Configuration);
  SpectrumLabel = CreateControl<QLabel>(Configuration, "SpectrumLabel");
  SpectrumBox = AddSeriesBox(
      Configuration, "SpectrumBox", [](TCursorMarkTool& tool) { return tool.Series(); },
      [](TCursorMarkTool& tool, chart::TChartSeries* series) { tool.SetSeries(series); });
  MarkSeriesLabel = CreateControl<QLabel>(Configuration, "MarkSeriesLabel", "Mark series:");
  MarkSeriesBox = AddSeriesBox(
      Configuration, "MarkSeriesBox", [](TCursorMarkTool& tool) { return tool.MarkSeries(); },
      [](TCursorMarkTool& tool, chart::TChartSeries* series) { tool.SetMarkSeries(series); });
  MarkModeLabel = CreateControl<QLabel>(Configuration, "MarkModeLabel", "Mark mode:");
  MarkModeBox = CreateControl<QComboBox>(Configuration, "MarkModeBox");
  ActiveBox = CreateControl<QCheckBox>(Configuration, "ActiveBox", "Cursor active");
  SpectrumLabel->setBuddy(SpectrumBox);
  MarkSeriesLabel->setBuddy(MarkSeriesBox);
  MarkModeLabel->setBuddy(MarkModeBox);
  grid->addWidget(SpectrumLabel, 0, 0);
  grid->addWidget(SpectrumBox, 0, 1);
  grid->addWidget(MarkSeriesLabel, 1, 0);
  grid->addWidget(MarkSeriesBox, 1, 1);
  grid->addWidget(MarkModeLabel, 2, 0);
  grid->addWidget(MarkModeBox, 2, 1);
  grid->addWidget(ActiveBox, 3, 0, 1, 2);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(20, 1);

  auto* display = new QGridLayout(Display);
  FormatGroup = CreateControl<QGroupBox>(Display, "FormatGroup", "Format");
  auto* format = new QGridLayout(FormatGroup);
  AmplitudeLabel = CreateControl<QLabel>(FormatGroup, "AmplitudeLabel", "Amplitude:");
  AmplitudeEdit = CreateControl<QLineEdit>(FormatGroup, "AmplitudeEdit", "0.00#");
  AmplitudeLabel->setBuddy(AmplitudeEdit);
  format->addWidget(AmplitudeLabel, 0, 0);
  format->addWidget(AmplitudeEdit, 0, 1);
  display->addWidget(FormatGroup, 0, 0, 1, 2);
  display->setColumnStretch(2, 1);
  display->setRowStretch(20, 1);

  connect(ActiveBox, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Edit<TCursorMarkTool>([on](TCursorMarkTool& t) { t.SetCursorActive(on); }); }));
}

TCursorMarkToolEditor::~TCursorMarkToolEditor() { FListening.Listen(nullptr); }

QWidget* TCursorMarkToolEditor::AddPage(const char* name, const QString& caption) {
  auto* page = CreateControl<QWidget>(PageControl1, name);
  PageControl1->addTab(page, caption);
  return page;
}

chart::TComboFlat* TCursorMarkToolEditor::AddSeriesBox(QWidget* parent, const char* name, TSeriesGet get,
                                                       TSeriesSet set) {
  auto* box = CreateControl<chart::TComboFlat>(parent, name);
  box->setMinimumWidth(150);
  FSeriesBoxes.push_back({box, std::move(get)});
  connect(box, &QComboBox::activated, this, ui::Guarded([this, box, set = std::move(set)](int index) {
            Edit<TCursorMarkTool>([&](TCursorMarkTool& tool) {
              set(tool, chart_editors::ComboObject<chart::TChartSeries>(*box, index));
            });
          }));
  return box;
}

void TCursorMarkToolEditor::FormShow() {
  TFillingScope filling(*this);
  FTool.Set(ToolOf(Tag()));
  TCursorMarkTool* tool = Tool();
  chart::TCustomAxisPanel* chart = tool != nullptr ? tool->ParentChart() : nullptr;
  FListening.Listen(chart);
  for (const TSeriesBox& b : FSeriesBoxes)
    chart_editors::FillSeriesChooser(*b.Box, chart, tool != nullptr ? b.Get(*tool) : nullptr);
  PageControl1->setEnabled(tool != nullptr);
  if (tool == nullptr) return;
  ActiveBox->setChecked(tool->CursorActive());
  FillControls();
}

void TCursorMarkToolEditor::KivEvent(chart::TKivEvent& event) {
  // A series that goes leaves no item to choose it by.
  auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event);
  if (e == nullptr || e->Event != chart::seRemove || e->Series == nullptr) return;
  ui::RunGuarded([&] {
    TFillingScope filling(*this);
    for (const TSeriesBox& b : FSeriesBoxes) chart_editors::DropFromSeriesChooser(*b.Box, e->Series);
  });
}

}  // namespace analysis_ui
