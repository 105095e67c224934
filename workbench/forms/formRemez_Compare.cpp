// The generator's compare command: the current filter sent to the comparison
// window as a new row.
// Tested by: tests/CompareWindowTest.cpp
#include <QLabel>
#include <QRadioButton>

#include "workbench/forms/formRemez.h"

namespace workbench {

void TfrmRemez::actChartCompareExecute() {
  // The filter the inputs describe now, designed automatically by the row.
  TDesignWorkspace scratch;
  TFilterRecord filter = workbench::ComputeDesignParameters(scratch, BandInputValues(*this));
  filter.AutoOrder = 1;
  filter.Price = rbPrice2->isChecked() ? 1 : 0;
  filter.CoefCount = 0;
  FMain.CompareFilter(filter, HSTLabel->text(), HSTLabel->isVisible());
}

}  // namespace workbench
