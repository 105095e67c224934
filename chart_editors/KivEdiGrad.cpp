// The gradient editor.
//
// Tested by: chart_editors/tests/GradientEditorTest.cpp
#include "chart_editors/KivEdiGrad.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

using chart::TGradientDirection;

namespace {

QSlider* RadialTrackBar(const char* name, QWidget* parent) {
  auto* t = CreateControl<QSlider>(parent, name);
  t->setOrientation(Qt::Horizontal);
  t->setRange(-300, 300);
  t->setTickInterval(50);
  t->setTickPosition(QSlider::NoTicks);
  t->setMinimumWidth(150);
  return t;
}

}  // namespace

TKivGradientEditor::TKivGradientEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("KivGradientEditor");
  setWindowTitle("Gradient Editor");
  SetAlignClient(true);

  CBVisible = CreateControl<QCheckBox>(this, "CBVisible", "&Visible");
  Label1 = CreateControl<QLabel>(this, "Label1", "&Direction:");
  CBDirection = CreateControl<chart::TComboFlat>(this, "CBDirection");
  CBDirection->addItems({"Top Bottom", "Bottom Top", "Left Right", "Right Left", "From Center", "From Top Left",
                         "From Bottom Left", "Radial"});
  Label1->setBuddy(CBDirection);
  BOk = CreateControl<QPushButton>(this, "BOk", "OK");
  BOk->setDefault(true);
  BCancel = CreateControl<QPushButton>(this, "BCancel", "Cancel");

  PageControl1 = CreateControl<QTabWidget>(this, "PageControl1");
  TabSheet1 = CreateControl<QWidget>(PageControl1, "TabSheet1");
  TabSheet2 = CreateControl<QWidget>(PageControl1, "TabSheet2");
  PageControl1->addTab(TabSheet1, "Colors");
  PageControl1->addTab(TabSheet2, "Options");

  BStart = CreateControl<chart::TButtonColor>(TabSheet1, "BStart", "&Start...");
  BMid = CreateControl<chart::TButtonColor>(TabSheet1, "BMid", "&Middle...");
  BEnd = CreateControl<chart::TButtonColor>(TabSheet1, "BEnd", "&End...");
  CBMid = CreateControl<QCheckBox>(TabSheet1, "CBMid", "&No Middle");
  BSwap = CreateControl<QPushButton>(TabSheet1, "BSwap", "S&wap");
  auto* colors = new QGridLayout(TabSheet1);
  colors->addWidget(BStart, 0, 0);
  colors->addWidget(BSwap, 0, 1);
  colors->addWidget(BMid, 1, 0);
  colors->addWidget(CBMid, 1, 1);
  colors->addWidget(BEnd, 2, 0);
  colors->setRowStretch(3, 1);

  Label4 = CreateControl<QLabel>(TabSheet2, "Label4", "&Balance:");
  SBBalance = CreateControl<QScrollBar>(TabSheet2, "SBBalance");
  SBBalance->setOrientation(Qt::Horizontal);
  SBBalance->setRange(0, 100);
  SBBalance->setValue(50);
  SBBalance->setMinimumWidth(150);
  Label4->setBuddy(SBBalance);
  LabelBalance = CreateControl<QLabel>(TabSheet2, "LabelBalance", "50 %");
  LabelBalance->setMinimumWidth(LabelBalance->fontMetrics().horizontalAdvance("100 %") + 4);
  GroupBox2 = CreateControl<QGroupBox>(TabSheet2, "GroupBox2", "Radial offset:");
  Label2 = CreateControl<QLabel>(GroupBox2, "Label2", "&Horiz:");
  Label3 = CreateControl<QLabel>(GroupBox2, "Label3", "&Vert:");
  TrackBar1 = RadialTrackBar("TrackBar1", GroupBox2);
  TrackBar2 = RadialTrackBar("TrackBar2", GroupBox2);
  Label2->setBuddy(TrackBar1);
  Label3->setBuddy(TrackBar2);
  LRadialX = CreateControl<QLabel>(GroupBox2, "LRadialX", "0");
  LRadialY = CreateControl<QLabel>(GroupBox2, "LRadialY", "0");
  for (QLabel* l : {LRadialX, LRadialY}) l->setMinimumWidth(l->fontMetrics().horizontalAdvance("-300") + 4);
  auto* radial = new QGridLayout(GroupBox2);
  radial->addWidget(Label2, 0, 0);
  radial->addWidget(TrackBar1, 0, 1);
  radial->addWidget(LRadialX, 0, 2);
  radial->addWidget(Label3, 1, 0);
  radial->addWidget(TrackBar2, 1, 1);
  radial->addWidget(LRadialY, 1, 2);
  auto* options = new QGridLayout(TabSheet2);
  options->addWidget(Label4, 0, 0);
  options->addWidget(SBBalance, 0, 1);
  options->addWidget(LabelBalance, 0, 2);
  options->addWidget(GroupBox2, 1, 0, 1, 3);
  options->setRowStretch(2, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(CBVisible);
  top->addSpacing(12);
  top->addWidget(Label1);
  top->addWidget(CBDirection, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(BOk);
  buttons->addWidget(BCancel);
  auto* form = new QVBoxLayout(this);
  form->addLayout(top);
  form->addWidget(PageControl1, 1);
  form->addLayout(buttons);

  connect(CBVisible, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBVisibleClick(on); }));
  connect(CBDirection, &QComboBox::activated, this, ui::Guarded([this](int i) { CBDirectionChange(i); }));
  connect(BSwap, &QPushButton::clicked, this, ui::Guarded([this] { BSwapClick(); }));
  connect(CBMid, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBMidClick(on); }));
  // After the colour buttons' own handlers have stored the colour.
  connect(BMid, &QPushButton::clicked, this, ui::Guarded([this] { BMidClick(); }));
  for (QPushButton* b : {static_cast<QPushButton*>(BStart), static_cast<QPushButton*>(BEnd)})
    connect(b, &QPushButton::clicked, this, [this] { FModified = true; });
  connect(SBBalance, &QScrollBar::valueChanged, this, ui::Guarded([this](int v) { SBBalanceChange(v); }));
  connect(TrackBar1, &QSlider::valueChanged, this, ui::Guarded([this](int v) { RadialChange(true, v); }));
  connect(TrackBar2, &QSlider::valueChanged, this, ui::Guarded([this](int v) { RadialChange(false, v); }));
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TKivGradientEditor* TKivGradientEditor::CreateEmbedded(QWidget* owner, chart::TCustomKivGradient* gradient) {
  auto* form = new TKivGradientEditor(owner);
  form->FGradient = gradient;
  form->SetTag(gradient);
  form->BOk->hide();
  form->BCancel->hide();
  return form;
}

void TKivGradientEditor::FormShow() {
  SetGradient(dynamic_cast<chart::TCustomKivGradient*>(Tag()));
  FModified = false;
}

void TKivGradientEditor::SetGradient(chart::TCustomKivGradient* gradient) {
  TFillingScope filling(*this);
  SetTag(gradient);
  FGradient = gradient;
  if (gradient == nullptr) return;
  FBackup = std::make_unique<chart::TKivGradient>();
  FBackup->Assign(*gradient);
  SBBalance->setValue(gradient->Balance());
  ShowBalance();
  CBVisible->setChecked(gradient->Visible());
  CBDirection->setCurrentIndex(gradient->Direction() <= chart::gdRadial ? gradient->Direction() : -1);
  CBMid->setChecked(gradient->MidColor() == chart::clNone);
  TrackBar1->setValue(gradient->RadialX());
  LRadialX->setNum(gradient->RadialX());
  TrackBar2->setValue(gradient->RadialY());
  LRadialY->setNum(gradient->RadialY());
  BStart->LinkProperty(gradient, "StartColor");
  BMid->LinkProperty(gradient, "MidColor");
  BEnd->LinkProperty(gradient, "EndColor");
  EnableControls();
}

void TKivGradientEditor::EnableControls() {
  const bool visible = FGradient != nullptr && FGradient->Visible();
  const bool colours = FHideEndColor || visible;
  for (QWidget* w : std::initializer_list<QWidget*>{CBDirection, BStart, BEnd, BSwap}) w->setEnabled(colours);
  const TGradientDirection d = FGradient != nullptr ? FGradient->Direction() : chart::gdTopBottom;
  // Centred fills have no middle colour.
  const bool centred = d >= chart::gdFromCenter;
  for (QWidget* w : {static_cast<QWidget*>(CBMid), static_cast<QWidget*>(BMid)})
    w->setEnabled(FHideEndColor || (visible && !centred));
  for (QWidget* w : std::initializer_list<QWidget*>{Label2, Label3, TrackBar1, TrackBar2})
    w->setEnabled(d == chart::gdRadial);
}

void TKivGradientEditor::ShowBalance() {
  if (FGradient == nullptr) return;
  LabelBalance->setText(
      QString::fromStdString(classlib::FormatFloat(chart::KivMsg(txtPercentFormat), FGradient->Balance())));
}

void TKivGradientEditor::CBVisibleClick(bool checked) {
  if (Filling() || FGradient == nullptr) return;
  FGradient->SetVisible(checked);
  FModified = true;
  EnableControls();
}

void TKivGradientEditor::CBDirectionChange(int index) {
  if (Filling() || FGradient == nullptr || index < 0) return;
  FGradient->SetDirection(static_cast<TGradientDirection>(index));
  FModified = true;
  EnableControls();
}

void TKivGradientEditor::BSwapClick() {
  if (FGradient == nullptr) return;
  const chart::TColor start = FGradient->StartColor();
  FGradient->SetStartColor(FGradient->EndColor());
  FGradient->SetEndColor(start);
  BStart->update();
  BEnd->update();
  FModified = true;
}

void TKivGradientEditor::CBMidClick(bool checked) {
  if (Filling() || FGradient == nullptr) return;
  if (checked)
    FGradient->SetMidColor(chart::clNone);
  else
    FGradient->UseMiddleColor();
  BMid->update();
  FModified = true;
}

void TKivGradientEditor::BMidClick() {
  if (FGradient == nullptr) return;
  TFillingScope filling(*this);
  CBMid->setChecked(FGradient->MidColor() == chart::clNone);
  FModified = true;
}

void TKivGradientEditor::SBBalanceChange(int position) {
  if (!Filling() && FGradient != nullptr) {
    FGradient->SetBalance(position);
    FModified = true;
  }
  ShowBalance();
}

void TKivGradientEditor::RadialChange(bool horizontal, int position) {
  if (Filling() || FGradient == nullptr) return;
  if (horizontal) {
    FGradient->SetRadialX(position);
    LRadialX->setNum(position);
  } else {
    FGradient->SetRadialY(position);
    LRadialY->setNum(position);
  }
  FModified = true;
}

void TKivGradientEditor::reject() {
  ui::RunGuarded([this] {
    if (!FModified || FGradient == nullptr || !FBackup) return;
    FGradient->Assign(*FBackup);
    FModified = false;
  });
  TEditorForm::reject();
}

bool EditGradientModal(QWidget* owner, chart::TCustomKivGradient& gradient, bool hideEndColor, bool hideVisible) {
  std::unique_ptr<TKivGradientEditor> form = CreateModalEditorForm<TKivGradientEditor>(owner);
  form->SetTag(&gradient);
  form->SetHideEndColor(hideEndColor);
  SetControlsVisible(!hideEndColor, {form->BEnd, form->BSwap});
  if (hideVisible) form->CBVisible->hide();
  return ui::ShowModal(*form) == QDialog::Accepted;
}

}  // namespace chart_editors
