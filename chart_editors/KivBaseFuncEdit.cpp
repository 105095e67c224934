// The base of the function options forms.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#include "chart_editors/KivBaseFuncEdit.h"

#include "chart/series/SeriesRegistry.h"
#include "chart_editors/KivFuncEdit.h"

namespace chart_editors {

TBaseFunctionEditor::TBaseFunctionEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("BaseFunctionEditor");
  SetAlignClient(true);
}

TKivFuncEditor* TBaseFunctionEditor::OwnerEditor() const {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget())
    if (auto* editor = dynamic_cast<TKivFuncEditor*>(w)) return editor;
  return nullptr;
}

void TBaseFunctionEditor::MarkModified() {
  if (Filling()) return;
  if (TKivFuncEditor* editor = OwnerEditor()) editor->BApply->setEnabled(true);
}

void TBaseFunctionEditor::FormShow() {
  TFillingScope filling(*this);
  FFunction.Set(dynamic_cast<chart::TKivFunction*>(Tag()));
  if (FFunction) FillFromFunction();
}

bool TBaseFunctionEditor::CloseQuery() {
  if (!ValuesRead()) return false;
  if (!FFunction) {
    TKivFuncEditor* editor = OwnerEditor();
    if (editor == nullptr || editor->Series() == nullptr || editor->SelectedFunctionClass() == nullptr) return true;
    FFunction.Set(chart::CreateSeriesFunction(*editor->Series(), *editor->SelectedFunctionClass()));
    SetTag(FFunction.Get());
  }
  chart::TKivFunction& function = *FFunction.Get();
  function.BeginUpdate();
  try {
    ApplyToFunction();
  } catch (...) {
    function.EndUpdate();
    throw;
  }
  function.EndUpdate();
  return true;
}

}  // namespace chart_editors
