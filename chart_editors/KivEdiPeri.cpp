// The period options form.
//
// Tested by: chart_editors/tests/FunctionEditorTest.cpp
#include "chart_editors/KivEdiPeri.h"

#include <QGridLayout>

#include <algorithm>
#include <cmath>

#include "chart/core/KivConst.h"
#include "chart/core/KivProcsDateTime.h"
#include "chart/series/SeriesData.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivAxisIncr.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Rounding.h"

namespace chart_editors {

std::string PeriodText(TPeriodChoice choice, double period) {
  switch (choice) {
    case pcAllPoints: return "";
    case pcNumPoints: return classlib::IntToStr(std::max(0, ui::Round(period)));
    case pcRange: return classlib::FloatToStr(period);
  }
  return "";
}

TKivFunctionEditor::TKivFunctionEditor(QWidget* owner) : TBaseFunctionEditor(owner) {
  setObjectName("KivFunctionEditor");
  Label2 = CreateControl<QLabel>(this, "Label2", "&Calculate using:");
  CBStyle = CreateControl<chart::TComboFlat>(this, "CBStyle");
  CBStyle->addItems({"All points", "Every number of points", "Every range"});
  Label2->setBuddy(CBStyle);
  Label3 = CreateControl<QLabel>(this, "Label3", "&Number of points:");
  ENum = CreateControl<QLineEdit>(this, "ENum");
  ENum->setText("0");
  ENum->setEnabled(false);
  Label3->setBuddy(ENum);
  BChange = CreateControl<QPushButton>(this, "BChange", "&Change...");
  BChange->setEnabled(false);
  Label1 = CreateControl<QLabel>(this, "Label1", "&Align:");
  CBAlign = CreateControl<chart::TComboFlat>(this, "CBAlign");
  CBAlign->addItems({"First", "Center", "Last"});
  Label1->setBuddy(CBAlign);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label2, 0, 0);
  grid->addWidget(CBStyle, 0, 1, 1, 2);
  grid->addWidget(Label3, 1, 0);
  grid->addWidget(ENum, 1, 1);
  grid->addWidget(BChange, 1, 2);
  grid->addWidget(Label1, 2, 0);
  grid->addWidget(CBAlign, 2, 1, 1, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(3, 1);

  connect(CBStyle, &QComboBox::activated, this, ui::Guarded([this] { CBStyleChange(); }));
  connect(CBAlign, &QComboBox::activated, this, [this] { MarkModified(); });
  connect(ENum, &QLineEdit::textEdited, this, [this] { MarkModified(); });
  connect(BChange, &QPushButton::clicked, this, ui::Guarded([this] { BChangeClick(); }));
}

void TKivFunctionEditor::FillFromFunction() {
  const chart::TKivFunction& f = *Function();
  const bool moving = dynamic_cast<const chart::TKivMovingFunction*>(&f) != nullptr;
  if (!moving && f.PeriodStyle() == chart::psRange)
    CBStyle->setCurrentIndex(pcRange);
  else if (ui::Round(f.Period()) != 0)
    CBStyle->setCurrentIndex(pcNumPoints);
  else
    CBStyle->setCurrentIndex(pcAllPoints);
  CBAlign->setCurrentIndex(f.PeriodAlign());
  CBStyleChange();
}

void TKivFunctionEditor::EnableControls() {
  ENum->setEnabled(CBStyle->currentIndex() != pcAllPoints);
  BChange->setEnabled(CBStyle->currentIndex() == pcRange);
}

void TKivFunctionEditor::CBStyleChange() {
  EnableControls();
  const double period = Function() != nullptr ? Function()->Period() : 0;
  ENum->setText(QString::fromStdString(PeriodText(static_cast<TPeriodChoice>(CBStyle->currentIndex()), period)));
  if (!Filling() && ENum->isEnabled() && ENum->isVisible()) ENum->setFocus();
  MarkModified();
}

bool TKivFunctionEditor::TypedPeriod(double& period, std::string& reason) const {
  const std::string text = classlib::Trim(ENum->text().toStdString());
  period = 0;
  if (text.empty()) return true;
  if (!classlib::TryStrToFloat(text, period)) {
    reason = "'" + text + "' is not a valid floating point value";
    return false;
  }
  if (period < 0) {
    reason = chart::KivMsg(txtFunctionPeriod);
    return false;
  }
  return true;
}

bool TKivFunctionEditor::ValuesRead() {
  double period = 0;
  std::string reason;
  if (TypedPeriod(period, reason)) return true;
  ui::ShowException(std::make_exception_ptr(classlib::EConvertError(chart::FormatKivMsg(txtIncorrectValue, {reason}))));
  if (ENum->isVisible()) ENum->setFocus();
  ENum->selectAll();
  return false;
}

void TKivFunctionEditor::ApplyToFunction() {
  chart::TKivFunction& f = *Function();
  double period = 0;
  std::string reason;
  if (!TypedPeriod(period, reason)) throw classlib::EConvertError(reason);
  f.SetPeriodAlign(static_cast<chart::TFunctionPeriodAlign>(std::max(0, CBAlign->currentIndex())));
  f.SetPeriodStyle(CBStyle->currentIndex() == pcRange ? chart::psRange : chart::psNumPoints);
  f.SetPeriod(period);
}

void TKivFunctionEditor::BChangeClick() {
  const chart::TKivFunction* f = Function();
  double period = f != nullptr ? f->Period() : 0;
  std::string reason;
  double typed = 0;
  if (TypedPeriod(typed, reason) && !classlib::Trim(ENum->text().toStdString()).empty()) period = typed;
  // Date-time steps when the function reads a series of dates.
  bool dates = false;
  if (f != nullptr && f->ParentSeries() != nullptr)
    if (const auto* source = dynamic_cast<const chart::TChartSeries*>(f->ParentSeries()->DataSource()))
      dates = source->XValues()->DateTime();
  auto dialog = CreateModalEditorForm<TAxisIncrement>(this);
  dialog->SetIsDateTime(dates);
  dialog->SetIsExact(true);
  dialog->SetIncrement(period);
  dialog->SetStep(static_cast<std::uint8_t>(chart::FindDateTimeStep(period)));
  dialog->setWindowTitle(QString::fromStdString(chart::KivMsg(txtPeriodRange)));
  if (ui::ShowModal(*dialog) != QDialog::Accepted) return;
  ENum->setText(QString::fromStdString(classlib::FloatToStr(dialog->Increment())));
  MarkModified();
}

}  // namespace chart_editors
