// The font editor and its colour shape.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#include "chart_editors/KivEdiFont.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>

#include "chart/canvas/KivGraphics.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivShadowEditor.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

// --- TShape -------------------------------------------------------------------

TShape::TShape(QWidget* parent) : QWidget(parent) {
  setFixedSize(25, 25);
  setCursor(Qt::PointingHandCursor);
}

void TShape::SetBrushColor(chart::TColor color) {
  FBrushColor = color;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(Qt::black);
  p.setBrush(chart::ToQColor(FBrushColor));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TShape::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  ui::RunGuarded([this] {
    if (OnMouseUp) OnMouseUp();
  });
}

// --- TKivFontEditor -----------------------------------------------------------

TKivFontEditor::TKivFontEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("KivFontEditor");
  setWindowTitle("KivFont Editor");

  Button3 = CreateControl<QPushButton>(this, "Button3", "&Font...");
  SHText = CreateControl<TShape>(this, "SHText");
  Label2 = CreateControl<QLabel>(this, "Label2", "&Inter-char spacing:");
  UDInter = CreateUpDownEdit(this, "Edit2", "UDInter", -100, 100);
  Edit2 = UDInter->findChild<QLineEdit*>("Edit2");
  Label2->setBuddy(UDInter);
  BOutline = CreateControl<TButtonPen>(this, "BOutline", "&Outline...");
  BShadow = CreateControl<QPushButton>(this, "BShadow", "&Shadow...");
  BGradient = CreateControl<QPushButton>(this, "BGradient", "&Gradient...");
  CBOutGrad = CreateControl<QCheckBox>(this, "CBOutGrad", "O&utline gradient");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Button3, 0, 0);
  grid->addWidget(SHText, 0, 1, Qt::AlignLeft);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(UDInter, 1, 1, Qt::AlignLeft);
  grid->addWidget(BOutline, 2, 0);
  grid->addWidget(BShadow, 2, 1);
  grid->addWidget(BGradient, 3, 0);
  grid->addWidget(CBOutGrad, 3, 1);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(2, 1);

  connect(Button3, &QPushButton::clicked, this, ui::Guarded([this] { Button3Click(); }));
  SHText->OnMouseUp = [this] { SHTextMouseUp(); };
  connect(UDInter, &QSpinBox::valueChanged, this, ui::Guarded([this] { Edit2Change(); }));
  connect(BShadow, &QPushButton::clicked, this, ui::Guarded([this] {
            if (FFont != nullptr) EditShadowModal(this, *FFont->Shadow());
          }));
  connect(BGradient, &QPushButton::clicked, this, ui::Guarded([this] {
            if (FFont != nullptr) EditGradientModal(this, *FFont->Gradient());
          }));
  connect(CBOutGrad, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBOutGradClick(on); }));
}

void TKivFontEditor::FormShow() {
  if (FFont != nullptr) SetFont(FFont);
}

void TKivFontEditor::SetFont(chart::TKivFont* font) {
  TFillingScope filling(*this);
  FFont = font;
  if (font == nullptr) return;
  SHText->SetBrushColor(font->Color());
  UDInter->setValue(font->InterCharSize());
  BOutline->LinkPen(font->OutLine());
  CBOutGrad->setChecked(font->Gradient()->Outline());
}

void TKivFontEditor::Button3Click() {
  if (FFont == nullptr) return;
  EditFontWithDialog(this, *FFont);
  SHText->SetBrushColor(FFont->Color());
}

void TKivFontEditor::SHTextMouseUp() {
  if (FFont == nullptr) return;
  chart::TColor color = FFont->Color();
  if (!chart::EditColorDialog(this, color)) return;
  FFont->SetColor(color);
  SHText->SetBrushColor(color);
}

void TKivFontEditor::Edit2Change() {
  if (!Shown() || Filling() || FFont == nullptr) return;
  FFont->SetInterCharSize(UDInter->value());
}

void TKivFontEditor::CBOutGradClick(bool checked) {
  if (Filling() || FFont == nullptr) return;
  FFont->Gradient()->SetOutline(checked);
}

TKivFontEditor* CreateFontEditor(QWidget* page) {
  auto* form = new TKivFontEditor(page);
  EmbedEditorForm(*form, page, nullptr);
  return form;
}

}  // namespace chart_editors
