// The editor of the drag point tool: its series (the series tool editor's
// choice) and its drag style, X, Y or both.
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#pragma once

#include "chart/tools/DragPointTool.h"
#include "chart_editors/KivToolSeriesEdit.h"
#include "chart_editors/RadioGroup.h"

namespace chart_editors {

class TDragPointToolEdit : public TSeriesToolEditor {
 public:
  explicit TDragPointToolEdit(QWidget* owner = nullptr);

  // controls
  TRadioGroup* RGStyle;

  // overrides
  void FormShow() override;

 private:
  void RGStyleClick();
};

}  // namespace chart_editors
