// Creating and embedding editor forms, the pen editor and its entry point.
//
// Tested by: chart_editors/tests/PenDialogTest.cpp, chart_editors/tests/EditorFormTest.cpp
#include "chart_editors/KivPenDlg.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

#include "chart/canvas/KivCanvasQt.h"
#include "chart_editors/EditorSamples.h"
#include "chart_editors/EditorTexts.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

using chart::TChartPen;
using chart::TColor;

// --- creating and embedding -------------------------------------------------

QWidget* ModalEditorOwner(QWidget* owner) { return owner != nullptr ? owner->window() : nullptr; }

void PrepareModalEditorForm(TEditorForm& form) {
  form.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  if (form.layout() != nullptr) form.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void EmbedEditorForm(TEditorForm& form, QWidget* parent, classlib::TPersistent* tag) {
  form.setParent(parent, Qt::Widget);
  form.SetTag(tag);
  if (form.AlignClient()) {
    QLayout* layout = parent->layout();
    if (layout == nullptr) {
      layout = new QVBoxLayout(parent);
      layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(&form);
  } else {
    form.adjustSize();
    form.move(4, std::min(4, std::abs(parent->contentsRect().height() - form.height()) / 2));
  }
  form.show();
  form.EnsureShown();
}

void SetControlsVisible(bool visible, std::initializer_list<QWidget*> controls) {
  for (QWidget* c : controls)
    if (c != nullptr) c->setVisible(visible);
}

// --- pen editor -------------------------------------------------------------

namespace {

// The items of the style list: a line in the item's style and the pen's
// colour, then the item's name.
class TPenStyleItems : public QStyledItemDelegate {
 public:
  TPenStyleItems(const TPenDialog& dialog, QObject* parent) : QStyledItemDelegate(parent), FDialog(dialog) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width() + 34, SampleItemHeight(option.fontMetrics)};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const TColor background = PaintItemBackground(*painter, option);
    chart::TChartPen sample;
    if (index.row() == TPenDialog::SmallDotsItem)
      sample.SetSmallDots(true);
    else
      sample.SetStyle(static_cast<chart::TPenStyle>(index.row()));
    // A line in the background's colour would vanish: white instead, or black on white.
    TColor color = FDialog.Pen() != nullptr ? chart::ColorToRGB(FDialog.Pen()->Color()) : chart::clBlack;
    if (color == background) color = color == chart::clWhite ? chart::clBlack : chart::clWhite;
    const QRect& r = option.rect;
    const int y = r.top() + (r.height() + 3) / 2;
    DrawPenLine(*painter, sample, color, {r.left() + 2, y}, {r.left() + 30, y});
    PaintItemText(*painter, option, index, 34);
  }

 private:
  const TPenDialog& FDialog;
};

}  // namespace

TPenDialog::TPenDialog(QWidget* owner) : TEditorForm(owner) {
  setObjectName("PenDialog");
  setWindowTitle("Border Editor");

  CBVisible = CreateControl<QCheckBox>(this, "CBVisible", "&Visible");
  UDWidth = CreateUpDownEdit(this, "SEWidth", "UDWidth", 1, 100);
  UDWidth->setValue(1);
  SEWidth = UDWidth->findChild<QLineEdit*>("SEWidth");
  LWidth = CreateControl<QLabel>(this, "LWidth", "&Width:");
  LWidth->setBuddy(UDWidth);
  Label1 = CreateControl<QLabel>(this, "Label1", "&Style:");
  CBStyle = CreateControl<chart::TComboFlat>(this, "CBStyle");
  CBStyle->addItems({"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"});
  CBStyle->setItemDelegate(new TPenStyleItems(*this, CBStyle));
  CBStyle->SetOwnerDrawField(true);
  CBStyle->setMinimumWidth(150);
  Label1->setBuddy(CBStyle);
  BColor = CreateControl<chart::TButtonColor>(this, "BColor", "&Color...");
  CBEndStyle = CreateControl<chart::TComboFlat>(this, "CBEndStyle");
  CBEndStyle->addItems({"Round", "Square", "Flat"});
  BOk = CreateControl<QPushButton>(this, "BOk", "OK");
  BOk->setDefault(true);
  BCancel = CreateControl<QPushButton>(this, "BCancel", "Cancel");

  auto* grid = new QGridLayout(this);
  grid->addWidget(CBVisible, 0, 0, 1, 2);
  grid->addWidget(LWidth, 1, 0);
  grid->addWidget(UDWidth, 1, 1, Qt::AlignLeft);
  grid->addWidget(Label1, 2, 0);
  grid->addWidget(CBStyle, 2, 1);
  grid->addWidget(BColor, 3, 0);
  grid->addWidget(CBEndStyle, 3, 1);
  grid->addWidget(BOk, 0, 2);
  grid->addWidget(BCancel, 1, 2);
  grid->setColumnMinimumWidth(2, 80);
  grid->setHorizontalSpacing(8);
  CBVisible->setFocus();

  connect(UDWidth, &QSpinBox::valueChanged, this, ui::Guarded([this] { SEWidthChange(); }));
  connect(CBStyle, &QComboBox::activated, this, ui::Guarded([this](int i) { CBStyleChange(i); }));
  connect(CBEndStyle, &QComboBox::activated, this, ui::Guarded([this](int i) { CBEndStyleChange(i); }));
  connect(CBVisible, &QCheckBox::toggled, this, ui::Guarded([this](bool on) { CBVisibleClick(on); }));
  // After the colour button's own handler has stored the colour.
  connect(BColor, &QPushButton::clicked, this, ui::Guarded([this] { BColorClick(); }));
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPenDialog::FormShow() {
  TFillingScope filling(*this);
  FBackup = std::make_unique<TChartPen>();
  FModified = false;
  if (FPen == nullptr) return;
  FBackup->Assign(*FPen);
  // Styles past the list's five (clear, inside frame) select nothing.
  const int style = FPen->Style() <= chart::psDashDotDot ? static_cast<int>(FPen->Style()) : -1;
  if (TChartPen* pen = ChartPen()) {
    CBVisible->setChecked(pen->Visible());
    FBackup->SetVisible(pen->Visible());
    CBStyle->addItem(QString::fromStdString(chart::KivMsg(txtSmallDots)));
    if (!pen->SmallDots()) {
      CBStyle->setCurrentIndex(style);
    } else {
      CBStyle->setCurrentIndex(SmallDotsItem);
      EnableWidth(false);
    }
    CBEndStyle->setCurrentIndex(pen->EndStyle());
  } else {
    // A plain pen has neither a Visible switch nor line ends.
    CBVisible->hide();
    CBEndStyle->hide();
    CBStyle->setCurrentIndex(style);
  }
  UDWidth->setValue(FPen->Width());
  BColor->LinkProperty(FPen, "Color");
}

void TPenDialog::EnableWidth(bool enabled) { UDWidth->setEnabled(enabled); }

void TPenDialog::SEWidthChange() {
  if (!Shown() || Filling() || FPen == nullptr) return;
  FPen->SetWidth(UDWidth->value());
  FModified = true;
}

void TPenDialog::CBStyleChange(int index) {
  if (Filling() || FPen == nullptr || index < 0) return;
  TChartPen* pen = ChartPen();
  if (pen != nullptr && index == SmallDotsItem) {
    pen->SetSmallDots(true);
    EnableWidth(false);
  } else {
    FPen->SetStyle(static_cast<chart::TPenStyle>(index));
    if (pen != nullptr) pen->SetSmallDots(false);
    EnableWidth(true);
  }
  FModified = true;
}

void TPenDialog::CBEndStyleChange(int index) {
  TChartPen* pen = ChartPen();
  if (Filling() || pen == nullptr || index < 0) return;
  pen->SetEndStyle(static_cast<chart::TPenEndStyle>(index));
  FModified = true;
}

void TPenDialog::CBVisibleClick(bool checked) {
  TChartPen* pen = ChartPen();
  if (!Shown() || Filling() || pen == nullptr) return;
  pen->SetVisible(checked);
  FModified = true;
}

void TPenDialog::BColorClick() {
  // The samples show the new colour.
  CBStyle->update();
  CBStyle->view()->viewport()->update();
  if (FPen != nullptr && FBackup && FPen->Color() != FBackup->Color()) FModified = true;
}

void TPenDialog::reject() {
  ui::RunGuarded([this] {
    if (!FModified || FPen == nullptr || !FBackup) return;
    FPen->Assign(*FBackup);
    if (TChartPen* pen = ChartPen()) pen->SetVisible(FBackup->Visible());
    FModified = false;
  });
  TEditorForm::reject();
}

bool EditChartPen(QWidget* owner, chart::TPen& pen, bool hideVisible) {
  std::unique_ptr<TPenDialog> form = CreateModalEditorForm<TPenDialog>(owner);
  form->SetPen(&pen);
  if (hideVisible) form->CBVisible->hide();
  return ui::ShowModal(*form) == QDialog::Accepted;
}

}  // namespace chart_editors
