// The drag point tool's editor.
//
// Tested by: chart_editors/tests/SeriesToolEditorTest.cpp
#include "chart_editors/KivDragPoint.h"

namespace chart_editors {

TDragPointToolEdit::TDragPointToolEdit(QWidget* owner) : TSeriesToolEditor(owner) {
  setObjectName("DragPointToolEdit");
  RGStyle = new TRadioGroup("Drag Style:", {"&X", "&Y", "&Both"}, this);
  RGStyle->setObjectName("RGStyle");
  FLayout->addWidget(RGStyle, 1, 0, 1, 2, Qt::AlignLeft);
  RGStyle->OnClick = [this] { RGStyleClick(); };
}

void TDragPointToolEdit::FormShow() {
  TSeriesToolEditor::FormShow();
  if (auto* tool = dynamic_cast<chart::TDragPointTool*>(Tool())) RGStyle->SetItemIndex(tool->DragStyle());
}

void TDragPointToolEdit::RGStyleClick() {
  auto* tool = dynamic_cast<chart::TDragPointTool*>(Tool());
  if (Filling() || tool == nullptr || RGStyle->ItemIndex() < 0) return;
  tool->SetDragStyle(static_cast<chart::TDragPointStyle>(RGStyle->ItemIndex()));
}

}  // namespace chart_editors
