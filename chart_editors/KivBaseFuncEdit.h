// The base of the forms that edit a function kind's options, embedded on the
// function editor's Options page with the function as their Tag. A change
// enables the function editor's Apply; applying (the form's CloseQuery)
// first checks the values, then gives the series a function of the chosen
// kind when it has none yet and writes the options into it.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#pragma once

#include "chart/functions/Functions.h"
#include "chart_editors/ComponentLink.h"
#include "chart_editors/EditorForm.h"

namespace chart_editors {

class TKivFuncEditor;

class TBaseFunctionEditor : public TEditorForm {
 public:
  explicit TBaseFunctionEditor(QWidget* owner = nullptr);

  // properties
  chart::TKivFunction* Function() const { return FFunction.Get(); }

  // introduced virtual
  // Writes the controls into the function.
  virtual void ApplyToFunction() {}
  // Fills the controls from the function.
  virtual void FillFromFunction() {}
  // Whether every value reads; tells the user of the first that does not.
  virtual bool ValuesRead() { return true; }

  // operations
  // Something changed: the function editor's Apply is enabled.
  void MarkModified();

  // overrides
  void FormShow() override;
  // Applies the options (see above); false when a value does not read.
  bool CloseQuery() override;

 private:
  // The function editor this form is embedded in, if any.
  TKivFuncEditor* OwnerEditor() const;

  TComponentLink<chart::TKivFunction> FFunction;
};

}  // namespace chart_editors
