// The period options shared by most function kinds: calculate over all
// points, every number of points or every range of X, the period, and where
// in its period each result stands. A period that is negative or not a
// number is refused with a message before anything is applied.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "chart/widgets/KivCanvasWidgets.h"
#include "chart_editors/KivBaseFuncEdit.h"

namespace chart_editors {

// The items of CBStyle.
enum TPeriodChoice : int { pcAllPoints, pcNumPoints, pcRange };

// What the period box shows for a choice: nothing for all points, the period
// rounded to a whole number of points (never below 0), or the range as it is.
std::string PeriodText(TPeriodChoice choice, double period);

class TKivFunctionEditor : public TBaseFunctionEditor {
 public:
  explicit TKivFunctionEditor(QWidget* owner = nullptr);

  // controls
  QLabel* Label2;
  chart::TComboFlat* CBStyle;
  QLabel* Label3;
  QLineEdit* ENum;
  QPushButton* BChange;
  QLabel* Label1;
  chart::TComboFlat* CBAlign;

  // overrides
  void FillFromFunction() override;
  void ApplyToFunction() override;
  bool ValuesRead() override;

 private:
  void CBStyleChange();
  void EnableControls();
  void BChangeClick();
  // The period typed: 0 for nothing typed; false when it does not read or is negative.
  bool TypedPeriod(double& period, std::string& reason) const;
};

}  // namespace chart_editors
