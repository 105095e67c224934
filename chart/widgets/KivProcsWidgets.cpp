// Cursors and control groups of the shared routines.
//
// Tested by: chart/tests/KivWidgetsTest.cpp
#include "chart/widgets/KivProcsWidgets.h"

namespace chart {

QCursor KivCursor(TCursor cursor) {
  switch (cursor) {
    case crCross: return Qt::CrossCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crHandPoint:
    case crKivHand: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
  }
}

void EnableControls(bool enabled, std::span<QWidget* const> controls) {
  for (QWidget* c : controls)
    if (c != nullptr) c->setEnabled(enabled);
}

}  // namespace chart
