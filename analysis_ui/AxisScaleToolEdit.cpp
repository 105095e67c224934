// The axis scale tool's editor form.
//
// Tested by: analysis_ui/tests/AxisScaleToolEditTest.cpp
#include "analysis_ui/AxisScaleToolEdit.h"

#include <QGridLayout>

#include "chart/ChartAxis.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivEdiAxis.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using chart_editors::CreateControl;
using chart_editors::StandardAxisCount;

namespace {
// The axis names list the four standard axes before the custom ones; the
// chart's own list has the depth axis among them, so the custom axes stand
// one further on there.
constexpr int NamedStandardAxes = 4;
}  // namespace

chart::TChartAxis* AxisOfNameItem(const chart::TCustomAxisPanel& chart, int index) {
  switch (index) {
    case 0: return chart.LeftAxis();
    case 1: return chart.RightAxis();
    case 2: return chart.TopAxis();
    case 3: return chart.BottomAxis();
    default: break;
  }
  const int entry = index + StandardAxisCount - NamedStandardAxes;
  return index > 3 && entry < chart.AxesList().Count() ? chart.AxesList()[entry] : nullptr;
}

int NameItemOfAxis(const chart::TCustomAxisPanel& chart, const chart::TChartAxis* axis) {
  if (axis == nullptr) return -1;
  for (int i = 0; i < NamedStandardAxes; ++i)
    if (AxisOfNameItem(chart, i) == axis) return i;
  const int entry = chart.AxesList().IndexOf(axis);
  return entry >= StandardAxisCount ? entry - StandardAxisCount + NamedStandardAxes : -1;
}

TAxisScaleToolEditor::TAxisScaleToolEditor(QWidget* owner)
    : TEditorForm(owner), FTool([this](TAxisScaleTool*) {
        // Nothing is left to write into.
        for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(false);
      }) {
  setObjectName("AxisScaleToolEditor");
  setWindowTitle("AxisScaleToolEditor");
  SetAlignClient(true);
  AxisLabel = CreateControl<QLabel>(this, "AxisLabel", "&Axis:");
  CBAxis = CreateControl<QComboBox>(this, "CBAxis");
  CBAxis->setMinimumWidth(130);
  ScaleModeLabel = CreateControl<QLabel>(this, "ScaleModeLabel", "Scale mode:");
  ScaleModeBox = CreateControl<QComboBox>(this, "ScaleModeBox");
  ScaleModeBox->addItems({"None", "Peak hold", "Auto"});
  UpperMarginLabel = CreateControl<QLabel>(this, "UpperMarginLabel", "Upper margin:");
  UpDown1 = chart_editors::CreateUpDownEdit(this, "UpperMarginEdit", "UpDown1", 0, 1000);
  UpperPercentLabel = CreateControl<QLabel>(this, "UpperPercentLabel", "[%]");
  LowerMarginLabel = CreateControl<QLabel>(this, "LowerMarginLabel", "Lower margin:");
  UpDown2 = chart_editors::CreateUpDownEdit(this, "LowerMarginEdit", "UpDown2", 0, 1000);
  LowerPercentLabel = CreateControl<QLabel>(this, "LowerPercentLabel", "[%]");
  AutoMinBox = CreateControl<QCheckBox>(this, "AutoMinBox", "Automatic minimum");
  AutoMaxBox = CreateControl<QCheckBox>(this, "AutoMaxBox", "Automatic maximum");
  IsSpectrum = CreateControl<QCheckBox>(this, "IsSpectrum");
  // The box carries no caption of its own; the hint says what it switches.
  IsSpectrum->setToolTip("Data is spectrum");
  SpeedButton1 = CreateControl<QPushButton>(this, "SpeedButton1", "Reset peak hold");
  AxisLabel->setBuddy(CBAxis);
  ScaleModeLabel->setBuddy(ScaleModeBox);
  UpperMarginLabel->setBuddy(UpDown1);
  LowerMarginLabel->setBuddy(UpDown2);

  auto* grid = new QGridLayout(this);
  grid->addWidget(AxisLabel, 0, 0);
  grid->addWidget(CBAxis, 0, 1);
  grid->addWidget(ScaleModeLabel, 1, 0);
  grid->addWidget(ScaleModeBox, 1, 1);
  grid->addWidget(UpperMarginLabel, 2, 0);
  grid->addWidget(UpDown1, 2, 1);
  grid->addWidget(UpperPercentLabel, 2, 2);
  grid->addWidget(LowerMarginLabel, 3, 0);
  grid->addWidget(UpDown2, 3, 1);
  grid->addWidget(LowerPercentLabel, 3, 2);
  grid->addWidget(AutoMinBox, 4, 0, 1, 2);
  grid->addWidget(AutoMaxBox, 5, 0, 1, 2);
  grid->addWidget(IsSpectrum, 6, 0, 1, 2);
  grid->addWidget(SpeedButton1, 7, 0);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(20, 1);

  connect(CBAxis, &QComboBox::activated, this, ui::Guarded([this](int i) { CBAxisChange(i); }));
  connect(ScaleModeBox, &QComboBox::activated, this, ui::Guarded([this](int i) {
            EditAxis([i](TAxisScaleTool& t, chart::TChartAxis&) { t.SetAxisScaleMode(static_cast<TAxisScaleMode>(i)); });
          }));
  connect(UpDown1, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (!Filling() && Tool() != nullptr) Tool()->SetUpperMargin(v);
          }));
  connect(UpDown2, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (!Filling() && Tool() != nullptr) Tool()->SetLowerMargin(v);
          }));
  connect(AutoMinBox, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            EditAxis([on](TAxisScaleTool&, chart::TChartAxis& a) { a.SetAutomaticMinimum(on); });
          }));
  connect(AutoMaxBox, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            EditAxis([on](TAxisScaleTool&, chart::TChartAxis& a) { a.SetAutomaticMaximum(on); });
          }));
  connect(IsSpectrum, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            EditAxis([on](TAxisScaleTool& t, chart::TChartAxis&) { t.SetDataIsSpectrum(on); });
          }));
  connect(SpeedButton1, &QPushButton::clicked, this, ui::Guarded([this] {
            EditAxis([](TAxisScaleTool& t, chart::TChartAxis&) { t.ResetPeakHold(); });
          }));
}

chart::TCustomAxisPanel* TAxisScaleToolEditor::Chart() const {
  if (Tool() == nullptr) return nullptr;
  if (Tool()->ParentChart() != nullptr) return Tool()->ParentChart();
  return Tool()->Axis() != nullptr ? Tool()->Axis()->ParentChart() : nullptr;
}

void TAxisScaleToolEditor::FormShow() {
  TFillingScope filling(*this);
  FTool.Set(dynamic_cast<TAxisScaleTool*>(Tag()));
  FillAxes();
  TAxisScaleTool* tool = Tool();
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(tool != nullptr);
  if (tool == nullptr) return;
  ScaleModeBox->setCurrentIndex(tool->AxisScaleMode());
  UpDown1->setValue(tool->UpperMargin());
  UpDown2->setValue(tool->LowerMargin());
  IsSpectrum->setChecked(tool->DataIsSpectrum());
  FillAxisControls();
}

void TAxisScaleToolEditor::FillAxes() {
  QStringList names;
  const chart::TCustomAxisPanel* chart = Chart();
  chart_editors::FillAxisNames(chart, names, false);
  CBAxis->clear();
  CBAxis->addItems(names);
  CBAxis->setCurrentIndex(chart != nullptr ? NameItemOfAxis(*chart, Tool()->Axis()) : -1);
}

void TAxisScaleToolEditor::FillAxisControls() {
  TFillingScope filling(*this);
  const chart::TChartAxis* axis = Tool() != nullptr ? Tool()->Axis() : nullptr;
  // Without an axis these would change nothing.
  for (QWidget* w : {static_cast<QWidget*>(ScaleModeLabel), static_cast<QWidget*>(ScaleModeBox),
                     static_cast<QWidget*>(AutoMinBox), static_cast<QWidget*>(AutoMaxBox),
                     static_cast<QWidget*>(IsSpectrum), static_cast<QWidget*>(SpeedButton1)})
    w->setEnabled(axis != nullptr);
  if (axis == nullptr) return;
  AutoMinBox->setChecked(axis->AutomaticMinimum());
  AutoMaxBox->setChecked(axis->AutomaticMaximum());
}

void TAxisScaleToolEditor::CBAxisChange(int index) {
  if (Filling() || Tool() == nullptr) return;
  chart::TCustomAxisPanel* chart = Chart();
  chart::TChartAxis* axis = chart != nullptr ? AxisOfNameItem(*chart, index) : nullptr;
  if (axis == nullptr && index >= 0) {
    // The chart lost that custom axis since the list was made.
    TFillingScope filling(*this);
    FillAxes();
    return;
  }
  Tool()->SetAxis(axis);
  FillAxisControls();
}

}  // namespace analysis_ui
