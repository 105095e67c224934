// The axis scale tool's editor form, found by the class name the tool gives
// ("TAxisScaleToolEditor"): the axis it scales, chosen by name among the
// chart's axes, the scale mode, the margins in percent, the axis' automatic
// ends and the spectrum switch, and a reset of the held range. Every change
// goes straight into the tool (or its axis); the controls that act on the
// axis are disabled while the tool has none.
//
// Tested by: analysis_ui/tests/AxisScaleToolEditTest.cpp
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "analysis_ui/AxisScaleTool.h"
#include "chart/AxisPanel.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"

namespace analysis_ui {

// The axis of the chart that item index of the axis names stands for: the
// four standard axes, then the custom axes; nullptr for none.
chart::TChartAxis* AxisOfNameItem(const chart::TCustomAxisPanel& chart, int index);
// The item of the axis names that stands for axis; -1 for none (the depth axis, an axis of another chart).
int NameItemOfAxis(const chart::TCustomAxisPanel& chart, const chart::TChartAxis* axis);

class TAxisScaleToolEditor : public chart_editors::TEditorForm {
 public:
  explicit TAxisScaleToolEditor(QWidget* owner = nullptr);

  // properties
  // The tool edited (the form's Tag, taken when it shows).
  TAxisScaleTool* Tool() const { return FTool.Get(); }

  // controls
  QLabel* AxisLabel;
  QComboBox* CBAxis;
  QLabel* ScaleModeLabel;
  QComboBox* ScaleModeBox;
  QLabel* UpperMarginLabel;
  QSpinBox* UpDown1;  // its edit: UpperMarginEdit
  QLabel* UpperPercentLabel;
  QLabel* LowerMarginLabel;
  QSpinBox* UpDown2;  // its edit: LowerMarginEdit
  QLabel* LowerPercentLabel;
  QCheckBox* AutoMinBox;
  QCheckBox* AutoMaxBox;
  QCheckBox* IsSpectrum;
  QPushButton* SpeedButton1;

  // overrides
  void FormShow() override;

 private:
  chart::TCustomAxisPanel* Chart() const;
  void FillAxes();
  void FillAxisControls();
  void CBAxisChange(int index);
  // Runs body on the tool's axis, unless the form is filling or there is none.
  template <class TBody>
  void EditAxis(TBody&& body) {
    if (!Filling() && Tool() != nullptr && Tool()->Axis() != nullptr) body(*Tool(), *Tool()->Axis());
  }

  chart_editors::TComponentLink<TAxisScaleTool> FTool;
};

}  // namespace analysis_ui
