// The base of the data-source editors.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#include "chart_editors/KivSourceEdit.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "chart/core/KivConst.h"
#include "chart_editors/EditorTexts.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

TBaseSourceEditor::TBaseSourceEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("BaseSourceEditor");
  SetAlignClient(true);
  Pan = CreateControl<QWidget>(this, "Pan");
  LLabel = CreateControl<QLabel>(Pan, "LLabel", "&Source:");
  CBSources = CreateControl<chart::TComboFlat>(Pan, "CBSources");
  CBSources->setMinimumWidth(160);
  LLabel->setBuddy(CBSources);
  BApply = CreateControl<QPushButton>(Pan, "BApply", "&Apply");
  BApply->setEnabled(false);
  auto* top = new QHBoxLayout(Pan);
  top->setContentsMargins(0, 0, 0, 0);
  top->addWidget(LLabel);
  top->addWidget(CBSources);
  top->addWidget(BApply);
  top->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(Pan);
  // Only the user's choice counts, not the combo being filled.
  connect(CBSources, &QComboBox::activated, this, ui::Guarded([this] { CBSourcesChange(); }));
}

void TBaseSourceEditor::FormShow() {
  FSeries.Set(dynamic_cast<chart::TChartSeries*>(Tag()));
  BApply->setEnabled(false);
}

void TBaseSourceEditor::CBSourcesChange() { BApply->setEnabled(true); }

bool TBaseSourceEditor::CloseQuery() {
  if (!BApply->isEnabled()) return true;
  switch (ui::Dialogs().MessageBox(chart::KivMsg(txtApplyChanges), "Confirm", ui::mbYesNoCancel, ui::miQuestion)) {
    case ui::mrYes:
      BApply->click();
      // Applying may have been refused (a value that does not read): then stay.
      return !BApply->isEnabled();
    case ui::mrNo:
      BApply->setEnabled(false);
      return true;
    default:
      return false;
  }
}

}  // namespace chart_editors
