// The series pointer editor, its style samples and its two entry points.
//
// Tested by: chart_editors/tests/PointerEditorTest.cpp
#include "chart_editors/KivPoEdi.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "chart/AxisPanel.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/widgets/KivProcsWidgets.h"
#include "chart_editors/EditorSamples.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivEdiSeri.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

using chart::TColor;
using chart::TSeriesPointer;

namespace {

// The items of the style list: the pointer drawn flat in the item's shape,
// then the shape's name.
class TPointerStyleItems : public QStyledItemDelegate {
 public:
  TPointerStyleItems(const TSeriesPointerEditor& editor, QObject* parent)
      : QStyledItemDelegate(parent), FEditor(editor) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width() + 16, SampleItemHeight(option.fontMetrics)};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    PaintItemBackground(*painter, option);
    if (TSeriesPointer* pointer = FEditor.Pointer()) {
      const TColor color = FEditor.SampleColor();
      painter->save();
      {
        chart::TCanvas face(*painter);
        chart::TKivCanvas3D canvas(&face);
        pointer->PrepareCanvas(canvas, color);
        const auto style = static_cast<chart::TSeriesPointerStyle>(index.row());
        // Shapes drawn with lines only would vanish without a pen.
        const bool lines = style == chart::psCross || style == chart::psDiagCross || style == chart::psStar ||
                           style == chart::psSmallDot;
        if (lines && !pointer->Pen()->Visible()) {
          canvas.Pen().SetStyle(chart::psSolid);
          canvas.Pen().SetWidth(1);
          canvas.Pen().SetColor(color);
        }
        const QRect& r = option.rect;
        pointer->Draw(canvas, false, r.left() + 8, r.top() + r.height() / 2, 4, 4, color, style);
      }
      painter->restore();
    }
    PaintItemText(*painter, option, index, 14);
  }

 private:
  const TSeriesPointerEditor& FEditor;
};

}  // namespace

TSeriesPointerEditor::TSeriesPointerEditor(QWidget* owner) : TEditorForm(owner) {
  setObjectName("SeriesPointerEditor");
  SetAlignClient(true);
  // Quiet until a pointer fills it.
  SetFilling(true);

  GPPoint = CreateControl<QGroupBox>(this, "GPPoint");
  CBDrawPoint = CreateControl<QCheckBox>(GPPoint, "CBDrawPoint", "&Visible");
  CB3dPoint = CreateControl<QCheckBox>(GPPoint, "CB3dPoint", "&3D");
  CBInflate = CreateControl<QCheckBox>(GPPoint, "CBInflate", "Inflate &Margins");
  Label1 = CreateControl<QLabel>(GPPoint, "Label1", "&Width:");
  UDPointHorizSize = CreateUpDownEdit(GPPoint, "SEPointHorizSize", "UDPointHorizSize", 1, 1000);
  SEPointHorizSize = UDPointHorizSize->findChild<QLineEdit*>("SEPointHorizSize");
  Label1->setBuddy(UDPointHorizSize);
  Label2 = CreateControl<QLabel>(GPPoint, "Label2", "&Height:");
  UDPointVertSize = CreateUpDownEdit(GPPoint, "SEPointVertSize", "UDPointVertSize", 1, 1000);
  SEPointVertSize = UDPointVertSize->findChild<QLineEdit*>("SEPointVertSize");
  Label2->setBuddy(UDPointVertSize);
  Label3 = CreateControl<QLabel>(GPPoint, "Label3", "&Style:");
  CBStyle = CreateControl<chart::TComboFlat>(GPPoint, "CBStyle");
  CBStyle->addItems({"Square", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star", "Diamond",
                     "Small Dot", "Nothing", "Left Triangle", "Right Triangle"});
  CBStyle->setMaxVisibleItems(12);
  CBStyle->setItemDelegate(new TPointerStyleItems(*this, CBStyle));
  CBStyle->SetOwnerDrawField(true);
  CBStyle->setMinimumWidth(130);
  Label3->setBuddy(CBStyle);
  CBPoDark = CreateControl<QCheckBox>(GPPoint, "CBPoDark", "Dar&k 3D");

  GroupBox1 = CreateControl<QGroupBox>(this, "GroupBox1");
  BPointFillColor = CreateControl<QPushButton>(GroupBox1, "BPointFillColor", "&Pattern...");
  CBDefBrushColor = CreateControl<QCheckBox>(GroupBox1, "CBDefBrushColor", "&Default");
  BPoinPenCol = CreateControl<TButtonPen>(GroupBox1, "BPoinPenCol", "B&order...");
  CBColorEach = CreateControl<QCheckBox>(this, "CBColorEach", "&Color Each ");
  BGradient = CreateControl<QPushButton>(this, "BGradient", "&Gradient...");

  auto* point = new QGridLayout(GPPoint);
  point->addWidget(CBDrawPoint, 0, 0, 1, 2);
  point->addWidget(CB3dPoint, 1, 0, 1, 2);
  point->addWidget(CBPoDark, 2, 0, 1, 2);
  point->addWidget(CBInflate, 3, 0, 1, 2);
  point->addWidget(Label1, 0, 2);
  point->addWidget(UDPointHorizSize, 0, 3);
  point->addWidget(Label2, 1, 2);
  point->addWidget(UDPointVertSize, 1, 3);
  point->addWidget(Label3, 2, 2);
  point->addWidget(CBStyle, 2, 3, 2, 1, Qt::AlignTop);
  point->setColumnStretch(1, 1);
  point->setRowStretch(4, 1);
  auto* colours = new QVBoxLayout(GroupBox1);
  colours->addWidget(BPointFillColor);
  colours->addWidget(CBDefBrushColor);
  colours->addWidget(BPoinPenCol);
  auto* right = new QVBoxLayout;
  right->addWidget(GroupBox1);
  right->addWidget(CBColorEach);
  right->addWidget(BGradient);
  right->addStretch(1);
  auto* form = new QHBoxLayout(this);
  form->addWidget(GPPoint, 1);
  form->addLayout(right);

  connect(CBDrawPoint, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling()) SetPointerVisible(on);
          }));
  connect(CB3dPoint, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            Write([&] { Pointer()->SetDraw3D(on); });
            CBPoDark->setEnabled(CB3dPoint->isEnabled() && on);
          }));
  connect(UDPointHorizSize, &QSpinBox::valueChanged, this,
          ui::Guarded([this](int v) { Write([&] { Pointer()->SetHorizSize(v); }); }));
  connect(UDPointVertSize, &QSpinBox::valueChanged, this,
          ui::Guarded([this](int v) { Write([&] { Pointer()->SetVertSize(v); }); }));
  connect(BPointFillColor, &QPushButton::clicked, this, ui::Guarded([this] {
            if (Pointer() == nullptr) return;
            EditBrushModal(this, *Pointer()->Brush());
            ShowDefaultColor();
            RepaintStyles();
          }));
  connect(CBStyle, &QComboBox::activated, this, ui::Guarded([this](int i) {
            if (i < 0) return;
            Write([&] { Pointer()->SetStyle(static_cast<chart::TSeriesPointerStyle>(i)); });
            Enable3D();
          }));
  connect(CBInflate, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Write([&] { Pointer()->SetInflateMargins(on); }); }));
  connect(CBPoDark, &QCheckBox::toggled, this,
          ui::Guarded([this](bool on) { Write([&] { Pointer()->SetDark3D(on); }); }));
  connect(CBDefBrushColor, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBDefBrushColorClick(on); }));
  connect(CBColorEach, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Filling() && Series() != nullptr) Series()->SetColorEachPoint(on);
            RepaintStyles();
          }));
  BPoinPenCol->OnClick = [this] {
    ShowDefaultColor();
    RepaintStyles();
  };
  connect(BGradient, &QPushButton::clicked, this, ui::Guarded([this] {
            if (TSeriesPointer* pointer = Pointer())
              // Without an end colour of its own, the pointer's gradient ends in each point's colour.
              EditGradientModal(this, *pointer->Gradient(), pointer->GradientFollowsPoint(), false);
          }));
}

TSeriesPointer* TSeriesPointerEditor::Pointer() const {
  if (FSeries) return FSeries->Pointer();
  return FPointer;
}

TColor TSeriesPointerEditor::SampleColor() const {
  const TSeriesPointer* pointer = Pointer();
  if (pointer == nullptr) return chart::clBlack;
  TColor color = pointer->Brush()->Color();
  if (color == chart::clDefault)
    if (const auto* series = dynamic_cast<const chart::TChartSeries*>(pointer->Series()))
      color = series->SeriesColor();
  return color == chart::clDefault ? chart::clBlack : color;
}

template <class F>
void TSeriesPointerEditor::Write(F&& write) {
  if (Filling() || Pointer() == nullptr) return;
  write();
}

void TSeriesPointerEditor::FormShow() {
  {
    TFillingScope filling(*this);
    if (auto* pointer = dynamic_cast<TSeriesPointer*>(Tag())) {
      FPointer = pointer;
      CBColorEach->hide();
    } else if (auto* series = dynamic_cast<chart::TCustomSeries*>(Tag())) {
      FSeries.Set(series);
      CBColorEach->show();
      CBColorEach->setChecked(series->ColorEachPoint());
    }
    TSeriesPointer* pointer = Pointer();
    if (pointer == nullptr) return;
    SetPointerVisible(pointer->Visible());
    CBDrawPoint->setChecked(pointer->Visible());
    CB3dPoint->setChecked(pointer->Draw3D());
    Enable3D();
    UDPointHorizSize->setValue(pointer->HorizSize());
    UDPointVertSize->setValue(pointer->VertSize());
    CBStyle->setCurrentIndex(pointer->Style());
    CBInflate->setChecked(pointer->InflateMargins());
    CBPoDark->setChecked(pointer->Dark3D());
    ShowDefaultColor();
    BPoinPenCol->LinkPen(pointer->Pen());
    const bool sizes = pointer->AllowChangeSize();
    SetControlsVisible(sizes, {Label1, Label2, UDPointHorizSize, UDPointVertSize});
  }
  // Filled: the controls speak for the pointer from now on.
  SetFilling(false);
}

void TSeriesPointerEditor::SetPointerVisible(bool visible) {
  TSeriesPointer* pointer = Pointer();
  if (pointer == nullptr) return;
  pointer->SetVisible(visible);
  if (!visible) {
    CB3dPoint->setEnabled(false);
    CBPoDark->setEnabled(false);
  } else {
    Enable3D();
  }
  for (QWidget* c : std::initializer_list<QWidget*>{CBInflate, UDPointHorizSize, UDPointVertSize, BPointFillColor,
                                                    CBStyle, BPoinPenCol, CBDefBrushColor})
    c->setEnabled(visible);
}

void TSeriesPointerEditor::Enable3D() {
  TSeriesPointer* pointer = Pointer();
  const chart::TCustomAxisPanel* chart = pointer != nullptr && pointer->Series() != nullptr
                                             ? pointer->Series()->ParentChart()
                                             : nullptr;
  bool can = false;
  if (chart != nullptr && chart->View3D()) {
    switch (pointer->Style()) {
      case chart::psRectangle:
      case chart::psTriangle:
      case chart::psDownTriangle: can = true; break;
      case chart::psCircle: can = chart->Canvas().GetSupportsFullRotation(); break;
      default: break;
    }
  }
  CB3dPoint->setEnabled(can);
  CBPoDark->setEnabled(can && CB3dPoint->isChecked());
}

void TSeriesPointerEditor::ShowDefaultColor() {
  const TSeriesPointer* pointer = Pointer();
  if (pointer == nullptr) return;
  TFillingScope filling(*this);
  CBDefBrushColor->setChecked(pointer->Color() == chart::clDefault && pointer->Pen()->Color() == chart::clDefault);
}

void TSeriesPointerEditor::RepaintStyles() {
  CBStyle->update();
  CBStyle->view()->viewport()->update();
}

void TSeriesPointerEditor::CBDefBrushColorClick(bool checked) {
  TSeriesPointer* pointer = Pointer();
  if (Filling() || pointer == nullptr) return;
  if (checked) {
    pointer->SetColor(chart::clDefault);
    pointer->Pen()->SetColor(chart::clDefault);
  } else if (pointer->Pen()->Color() == chart::clDefault) {
    pointer->Pen()->SetColor(chart::clBlack);
  }
  BPoinPenCol->update();
  RepaintStyles();
}

TSeriesPointerEditor* InsertPointerEditorPage(TEditorForm* editor, classlib::TPersistent* tag, const QString& caption) {
  auto* seriesEditor = editor != nullptr ? dynamic_cast<TFormKivSeries*>(editor->Owner()) : nullptr;
  if (seriesEditor == nullptr) return nullptr;
  return dynamic_cast<TSeriesPointerEditor*>(seriesEditor->InsertSeriesForm("TSeriesPointerEditor", 1, tag, caption));
}

void EditCalloutPointerModal(QWidget* owner, TSeriesPointer& pointer) {
  std::unique_ptr<TSeriesPointerEditor> form = CreateModalEditorForm<TSeriesPointerEditor>(owner);
  form->setWindowTitle("Pointer");
  form->SetTag(&pointer);
  form->CBInflate->hide();
  form->CBColorEach->hide();
  chart::CallOptionalGlobalHook(*form);
  ui::ShowModal(*form);
}

}  // namespace chart_editors
