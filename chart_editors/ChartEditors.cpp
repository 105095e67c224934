// The chart editors' start-up and shut-down.
//
// Tested by: chart_editors/tests/EditorFormTest.cpp
#include "chart_editors/ChartEditors.h"

#include <optional>
#include <vector>

#include "chart/series/StandardSeries.h"
#include "chart/tools/KivTools.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivAxisIncr.h"
#include "chart_editors/KivBaseFuncEdit.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/KivCustomShapeEditor.h"
#include "chart_editors/KivDragPoint.h"
#include "chart_editors/KivEdiFont.h"
#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivEdiPeri.h"
#include "chart_editors/KivFuncEdit.h"
#include "chart_editors/KivGally.h"
#include "chart_editors/KivShadowEditor.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/KivPoEdi.h"
#include "chart_editors/KivToolSeriesEdit.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

namespace {

struct TStartUp {
  int Count = 0;
  chart::TColorDialogFunc PreviousColorDialog;
};

TStartUp& StartUp() {
  static TStartUp startUp;
  return startUp;
}

struct TEditorFormClass {
  const char* Name;
  TEditorFormFactory Make;
};

// Every editor form, by the name its class goes by.
const std::vector<TEditorFormClass>& EditorForms() {
  static const std::vector<TEditorFormClass> forms{
      {"TPenDialog", EditorFormFactory<TPenDialog>()},
      {"TBrushDialog", EditorFormFactory<TBrushDialog>()},
      {"TKivGradientEditor", EditorFormFactory<TKivGradientEditor>()},
      {"TKivShadowEditor", EditorFormFactory<TKivShadowEditor>()},
      {"TKivFontEditor", EditorFormFactory<TKivFontEditor>()},
      {"TFormKivShape", EditorFormFactory<TFormKivShape>()},
      {"TAxisIncrement", EditorFormFactory<TAxisIncrement>()},
      {"TBaseFunctionEditor", EditorFormFactory<TBaseFunctionEditor>()},
      {"TKivFunctionEditor", EditorFormFactory<TKivFunctionEditor>()},
      {"TKivFuncEditor", EditorFormFactory<TKivFuncEditor>()},
      {"TSeriesPointerEditor", EditorFormFactory<TSeriesPointerEditor>()},
      {"TSeriesToolEditor", EditorFormFactory<TSeriesToolEditor>()},
      {"TDragPointToolEdit", EditorFormFactory<TDragPointToolEdit>()},
  };
  return forms;
}

}  // namespace

void InitChartEditors() {
  if (StartUp().Count++ > 0) return;
  for (const TEditorFormClass& form : EditorForms()) RegisterEditorForm(form.Name, form.Make);
  // The kinds the series gallery shows first, the tool whose editor is here,
  // and the gallery as the engine's way to pick a kind.
  chart::RegisterStandardSeries();
  chart::RegisterDragPointTool();
  InstallGalleryHooks();
  StartUp().PreviousColorDialog = chart::SetColorDialog([](QWidget* owner, chart::TColor& color) {
    const std::optional<ui::TColor> chosen = ui::Dialogs().ColorDialog(owner, color);
    if (!chosen) return false;
    color = *chosen;
    return true;
  });
}

void DoneChartEditors() {
  if (StartUp().Count == 0 || --StartUp().Count > 0) return;
  RemoveGalleryHooks();
  chart::UnregisterDragPointTool();
  chart::UnregisterStandardSeries();
  for (const TEditorFormClass& form : EditorForms()) UnRegisterEditorForm(form.Name);
  chart::SetColorDialog(std::move(StartUp().PreviousColorDialog));
}

}  // namespace chart_editors
