// The shape editor and the moving of its pages into another editor.
//
// Tested by: chart_editors/tests/ShapeEditorTest.cpp
#include "chart_editors/KivCustomShapeEditor.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "chart_editors/KivBrushDlg.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

TFormKivShape::TFormKivShape(QWidget* owner) : TEditorForm(owner) {
  setObjectName("FormKivShape");
  // Quiet until a shape fills it.
  SetFilling(true);

  PC1 = CreateControl<QTabWidget>(this, "PC1");
  auto page = [this](const char* name, const char* caption) {
    QWidget* w = CreateControl<QWidget>(PC1, name);
    PC1->addTab(w, caption);
    return w;
  };
  TabFormat = page("TabFormat", "Format");
  TabText = page("TabText", "Text");
  TabGradient = page("TabGradient", "Gradient");
  TabShadow = page("TabShadow", "Shadow");

  BBackColor = CreateControl<chart::TButtonColor>(TabFormat, "BBackColor", "&Color...");
  Button4 = CreateControl<TButtonPen>(TabFormat, "Button4", "&Frame...");
  Button6 = CreateControl<QPushButton>(TabFormat, "Button6", "&Pattern...");
  CBRound = CreateControl<QCheckBox>(TabFormat, "CBRound", "&Round Frame");
  CBTransparent = CreateControl<QCheckBox>(TabFormat, "CBTransparent", "&Transparent");
  Label2 = CreateControl<QLabel>(TabFormat, "Label2", "&Bevel:");
  CBBevel = CreateControl<chart::TComboFlat>(TabFormat, "CBBevel");
  CBBevel->addItems({"None", "Lowered", "Raised"});
  Label2->setBuddy(CBBevel);
  Label3 = CreateControl<QLabel>(TabFormat, "Label3", "Siz&e:");
  UDBevW = CreateUpDownEdit(TabFormat, "EBevWidth", "UDBevW", 1, 100);
  EBevWidth = UDBevW->findChild<QLineEdit*>("EBevWidth");
  Label3->setBuddy(UDBevW);
  Label4 = CreateControl<QLabel>(TabFormat, "Label4", "&Transparency:");
  UDShadowTransp = CreateUpDownEdit(TabFormat, "EShadowTransp", "UDShadowTransp", 0, 100);
  EShadowTransp = UDShadowTransp->findChild<QLineEdit*>("EShadowTransp");
  Label4->setBuddy(UDShadowTransp);

  auto* format = new QGridLayout(TabFormat);
  format->addWidget(BBackColor, 0, 0);
  format->addWidget(CBRound, 0, 1, 1, 2);
  format->addWidget(Button4, 1, 0);
  format->addWidget(CBTransparent, 1, 1, 1, 2);
  format->addWidget(Button6, 2, 0);
  format->addWidget(Label2, 3, 0);
  format->addWidget(CBBevel, 3, 1);
  format->addWidget(Label3, 3, 2);
  format->addWidget(UDBevW, 3, 3);
  format->addWidget(Label4, 4, 0);
  format->addWidget(UDShadowTransp, 4, 1);
  format->setRowStretch(5, 1);
  format->setColumnStretch(4, 1);
  auto* form = new QVBoxLayout(this);
  form->addWidget(PC1);

  FGradientEditor = TKivGradientEditor::CreateEmbedded(this, nullptr);
  EmbedEditorForm(*FGradientEditor, TabGradient, nullptr);
  FFontEditor = CreateFontEditor(TabText);
  FShadowEditor = CreateShadowEditor(TabShadow);

  connect(BBackColor, &QPushButton::clicked, this, ui::Guarded([this] {
            // A colour chosen makes the shape opaque.
            CBTransparent->setChecked(false);
          }));
  connect(CBRound, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            Write([&] { FShape->SetShapeStyle(on ? chart::fosRoundRectangle : chart::fosRectangle); });
          }));
  connect(Button6, &QPushButton::clicked, this, ui::Guarded([this] {
            if (FShape != nullptr) EditBrushModal(this, *FShape->Brush());
          }));
  connect(CBTransparent, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Write([&] { FShape->SetTransparent(on); }); }));
  connect(CBBevel, &QComboBox::activated, this, ui::Guarded([this](int i) {
            if (i < 0) return;
            Write([&] { FShape->SetBevel(static_cast<chart::TBevelCut>(i)); });
            EnableBevelSize();
          }));
  connect(UDBevW, &QSpinBox::valueChanged, this,
          ui::Guarded([this](int v) { Write([&] { FShape->SetBevelWidth(v); }); }));
  connect(UDShadowTransp, &QSpinBox::valueChanged, this,
          ui::Guarded([this](int v) { Write([&] { FShape->SetTransparency(v); }); }));
}

template <class F>
void TFormKivShape::Write(F&& write) {
  if (Filling() || FShape == nullptr) return;
  write();
}

void TFormKivShape::FormShow() {
  if (PC1->indexOf(TabFormat) >= 0) PC1->setCurrentWidget(TabFormat);
  if (auto* shape = dynamic_cast<chart::TKivCustomShape*>(Tag())) SetShape(shape);
}

void TFormKivShape::SetShape(chart::TKivCustomShape* shape) {
  {
    TFillingScope filling(*this);
    FShape = shape;
    SetTag(shape);
    if (shape == nullptr) return;
    CBRound->setChecked(shape->ShapeStyle() == chart::fosRoundRectangle);
    CBTransparent->setChecked(shape->Transparent());
    CBBevel->setCurrentIndex(shape->Bevel() <= chart::bvRaised ? shape->Bevel() : -1);
    UDBevW->setValue(shape->BevelWidth());
    UDShadowTransp->setValue(shape->Transparency());
    if (FGradientEditor) FGradientEditor->SetGradient(shape->Gradient());
    if (FFontEditor) FFontEditor->SetFont(shape->Font());
    if (FShadowEditor) FShadowEditor->SetShadow(shape->Shadow());
    Button4->LinkPen(shape->Pen());
    BBackColor->LinkProperty(shape, "Color");
    EnableBevelSize();
  }
  // Filled: the controls speak for the shape from now on.
  SetFilling(false);
}

void TFormKivShape::EnableBevelSize() {
  const bool bevel = FShape != nullptr && FShape->Bevel() != chart::bvNone;
  Label3->setEnabled(bevel);
  UDBevW->setEnabled(bevel);
}

TFormKivShape* CreateShapeEditor(QWidget* owner, chart::TKivCustomShape* shape) {
  auto* form = new TFormKivShape(owner);
  form->SetTag(shape);
  return form;
}

TFormKivShape* InsertShapeEditorPages(QTabWidget& pageControl, chart::TKivCustomShape* shape) {
  auto* form = new TFormKivShape(&pageControl);
  form->setWindowFlags(Qt::Widget);
  form->hide();
  while (form->PC1->count() > 0) {
    QWidget* page = form->PC1->widget(0);
    const QString caption = form->PC1->tabText(0);
    form->PC1->removeTab(0);
    pageControl.addTab(page, caption);
  }
  pageControl.setCurrentIndex(0);
  form->SetShape(shape);
  return form;
}

}  // namespace chart_editors
