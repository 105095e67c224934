// The pen sample button.
//
// Tested by: chart_editors/tests/PenDialogTest.cpp
#include <algorithm>

#include "chart/canvas/KivCanvasQt.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

TButtonPen::TButtonPen(QWidget* parent) : chart::TKivButton(parent) {
  connect(this, &QPushButton::clicked, this, ui::Guarded([this] { Click(); }));
}

chart::TPen* TButtonPen::Pen() const { return dynamic_cast<chart::TPen*>(LinkedObject()); }

void TButtonPen::LinkPen(chart::TPen* pen) { LinkProperty(pen, ""); }

void TButtonPen::Click() {
  chart::TPen* pen = Pen();
  if (pen != nullptr) {
    if (!EditChartPen(this, *pen, FHideVisible)) return;
    update();
  }
  if (OnClick) OnClick();
}

void TButtonPen::DrawSample(chart::TKivCanvas3D& canvas) {
  const chart::TPen* pen = Pen();
  if (pen == nullptr || !isEnabled()) return;
  // A copy, so that drawing a wide pen narrower never touches (or reports) the pen itself.
  chart::TChartPen sample;
  sample.Assign(*pen);
  sample.SetWidth(std::min(sample.Width(), MaxSampleWidth));
  canvas.Brush().SetStyle(chart::bsClear);
  canvas.AssignVisiblePen(sample);
  canvas.Line(width() - 17, height() / 2, width() - 6, height() / 2);
}

}  // namespace chart_editors
