// The editor of a chart tool that acts on one series: which series, chosen
// among its chart's series, or "(none)". The editors of such tools build on
// it (the drag point tool's, KivDragPoint.h).
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "chart/AxisPanel.h"
#include "chart/tools/ToolBases.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

// A series chooser of a tool editor: "(none)" (no series) first, then the
// chart's series (title or name) carrying the series; selected's item is
// current ("(none)" when it is not listed), and the box is enabled only when
// the chart has series.
void FillSeriesChooser(QComboBox& box, const chart::TCustomAxisPanel* chart, const chart::TChartSeries* selected);
// A series that goes leaves the chooser: "(none)" becomes current when it
// was, and the box is disabled when no series is left.
void DropFromSeriesChooser(QComboBox& box, const chart::TChartSeries* series);

class TSeriesToolEditor : public TEditorForm, public chart::IKivEventListener {
 public:
  explicit TSeriesToolEditor(QWidget* owner = nullptr);
  ~TSeriesToolEditor() override;

  // properties
  // The tool edited (the form's Tag, taken when it shows).
  chart::TKivCustomToolSeries* Tool() const { return FTool.Get(); }

  // controls
  QLabel* Label1;
  chart::TComboFlat* CBSeries;

  // overrides
  void FormShow() override;

  // IKivEventListener
  void KivEvent(chart::TKivEvent& event) override;

 protected:
  // The form's grid: the series row first; the editors built on it add rows below.
  QGridLayout* FLayout;

 private:
  void CBSeriesChange(int index);

  TComponentLink<chart::TKivCustomToolSeries> FTool;
  TPanelListening FListening{*this};
};

}  // namespace chart_editors
