// The generator's compare command: the current filter sent to the comparison
// window as a new row.
// Tested by: tests/CompareWindowTest.cpp
#include <QLabel>
#include <QRadioButton>

#include "workbench/forms/formCompare.h"
#include "workbench/forms/formMain.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

void TfrmRemez::actChartCompareExecute() {
  // The filter the inputs describe now, designed automatically by the row.
  TDesignWorkspace scratch;
  TFilterRecord filter = workbench::ComputeDesignParameters(scratch, BandInputValues(*this));
  filter.AutoOrder = 1;
  filter.Price = rbPrice2->isChecked() ? 1 : 0;
  filter.CoefCount = 0;
  const QString label = HSTLabel->text();
  const bool labelShown = HSTLabel->isVisible();
  TfrmCompare& compare = FMain.OpenCompareWindow();
  compare.SetFileLabel(label, labelShown);
  compare.AddRow(GeneratorRow(filter, compare.Rows().size()));
}

}  // namespace workbench
