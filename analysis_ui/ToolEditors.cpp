// The registration of the chart tools' editor forms.
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#include "analysis_ui/ToolEditors.h"

#include "analysis_ui/AxisScaleToolEdit.h"
#include "analysis_ui/MarkToolEditors.h"

namespace analysis_ui {

void RegisterToolEditors() {
  using chart_editors::EditorFormFactory;
  chart_editors::RegisterEditorForm("TSpectrumMarkToolEditor", EditorFormFactory<TSpectrumMarkToolEditor>());
  chart_editors::RegisterEditorForm("TSignalMarkToolEditor", EditorFormFactory<TSignalMarkToolEditor>());
  chart_editors::RegisterEditorForm("TAxisScaleToolEditor", EditorFormFactory<TAxisScaleToolEditor>());
}

void UnregisterToolEditors() {
  chart_editors::UnRegisterEditorForm("TAxisScaleToolEditor");
  chart_editors::UnRegisterEditorForm("TSignalMarkToolEditor");
  chart_editors::UnRegisterEditorForm("TSpectrumMarkToolEditor");
}

}  // namespace analysis_ui
