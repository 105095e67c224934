// The base of the editors that say where a series' values come from: a
// source combo and an Apply button. A choice enables Apply; leaving the
// editor with a choice not applied asks "Apply Changes ?" (Yes applies, No
// drops it, Cancel stays).
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "chart/series/SeriesData.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TBaseSourceEditor : public TEditorForm {
 public:
  explicit TBaseSourceEditor(QWidget* owner = nullptr);

  // properties
  // The series edited (the form's Tag, taken when it shows).
  chart::TChartSeries* Series() const { return FSeries.Get(); }

  // controls
  QWidget* Pan;
  QLabel* LLabel;
  chart::TComboFlat* CBSources;
  QPushButton* BApply;

  // introduced virtual
  // The user chose another source: something to apply.
  virtual void CBSourcesChange();

  // overrides
  void FormShow() override;
  bool CloseQuery() override;

 protected:
  TComponentLink<chart::TChartSeries> FSeries;
};

}  // namespace chart_editors
