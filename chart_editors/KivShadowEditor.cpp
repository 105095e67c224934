// The shadow editor.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#include "chart_editors/KivShadowEditor.h"

#include <QGridLayout>

#include "chart_editors/KivPenDlg.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

TKivShadowEditor::TKivShadowEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("KivShadowEditor");
  setWindowTitle("Shadow editor");
  // Quiet until the first show has filled it.
  SetFilling(true);

  Label1 = CreateControl<QLabel>(this, "Label1", "&Horiz. Size:");
  UDShadowSize = CreateUpDownEdit(this, "Edit1", "UDShadowSize", -100, 100);
  Edit1 = UDShadowSize->findChild<QLineEdit*>("Edit1");
  Label1->setBuddy(UDShadowSize);
  Label5 = CreateControl<QLabel>(this, "Label5", "&Vert. Size:");
  UDShaVert = CreateUpDownEdit(this, "EVertSize", "UDShaVert", -100, 100);
  EVertSize = UDShaVert->findChild<QLineEdit*>("EVertSize");
  Label5->setBuddy(UDShaVert);
  Label4 = CreateControl<QLabel>(this, "Label4", "&Transparency:");
  UDShadowTransp = CreateUpDownEdit(this, "EShadowTransp", "UDShadowTransp", 0, 100);
  EShadowTransp = UDShadowTransp->findChild<QLineEdit*>("EShadowTransp");
  Label4->setBuddy(UDShadowTransp);
  BShadowColor = CreateControl<chart::TButtonColor>(this, "BShadowColor", "&Color...");
  BOK = CreateControl<QPushButton>(this, "BOK", "OK");
  BOK->setDefault(true);
  BOK->hide();

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(UDShadowSize, 0, 1);
  grid->addWidget(BShadowColor, 0, 2);
  grid->addWidget(Label5, 1, 0);
  grid->addWidget(UDShaVert, 1, 1);
  grid->addWidget(BOK, 1, 2);
  grid->addWidget(Label4, 2, 0);
  grid->addWidget(UDShadowTransp, 2, 1);
  grid->setRowStretch(3, 1);
  grid->setColumnStretch(3, 1);

  // Each box writes only its own value: one the other boxes could not show stays as it is.
  connect(UDShadowSize, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (Writes()) FShadow->SetHorizSize(v);
          }));
  connect(UDShaVert, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (Writes()) FShadow->SetVertSize(v);
          }));
  connect(UDShadowTransp, &QSpinBox::valueChanged, this, ui::Guarded([this](int v) {
            if (Writes()) FShadow->SetTransparency(v);
          }));
  connect(BOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TKivShadowEditor::FormShow() {
  if (FShadow != nullptr) SetShadow(FShadow);
  SetFilling(false);
}

void TKivShadowEditor::SetShadow(chart::TKivShadow* shadow) {
  TFillingScope filling(*this);
  FShadow = shadow;
  if (shadow == nullptr) return;
  UDShadowSize->setValue(shadow->HorizSize());
  UDShaVert->setValue(shadow->VertSize());
  UDShadowTransp->setValue(shadow->Transparency());
  BShadowColor->LinkProperty(shadow, "Color");
}

bool TKivShadowEditor::Writes() const { return !Filling() && FShadow != nullptr; }

bool EditShadowModal(QWidget* owner, chart::TKivShadow& shadow) {
  std::unique_ptr<TKivShadowEditor> form = CreateModalEditorForm<TKivShadowEditor>(owner);
  form->SetShadow(&shadow);
  form->BOK->show();
  return ui::ShowModal(*form) == QDialog::Accepted;
}

TKivShadowEditor* CreateShadowEditor(QWidget* page) {
  auto* form = new TKivShadowEditor(page);
  EmbedEditorForm(*form, page, nullptr);
  return form;
}

}  // namespace chart_editors
