// The brush editor, the font and picture dialogs, and reading a picture file.
//
// Tested by: chart_editors/tests/BrushDialogTest.cpp
#include "chart_editors/KivBrushDlg.h"

#include <QGridLayout>
#include <QImageReader>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <array>
#include <optional>

#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/EditorSamples.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/Exception.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {

using chart::TChartBrush;

namespace {

QString Text(int message) { return QString::fromStdString(chart::KivMsg(message)); }

// The items of the style list: a sample of the style or pattern in black on
// white (none for "None"), then the item's name.
class TBrushStyleItems : public QStyledItemDelegate {
 public:
  explicit TBrushStyleItems(QObject* parent) : QStyledItemDelegate(parent) {
    for (int i = 0; i < TBrushDialog::PatternCount; ++i) LoadBrushPattern(i, FPatterns[static_cast<std::size_t>(i)]);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width() + 20, SampleItemHeight(option.fontMetrics)};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    PaintItemBackground(*painter, option);
    const int row = index.row();
    if (row != chart::bsClear) {
      chart::TBrush sample;
      sample.SetColor(chart::clBlack);
      if (row < TBrushDialog::FirstPattern)
        sample.SetStyle(static_cast<chart::TBrushStyle>(row));
      else
        sample.SetBitmap(&FPatterns[static_cast<std::size_t>(row - TBrushDialog::FirstPattern)]);
      const QRect& r = option.rect;
      FillBrushSample(*painter, sample, chart::clWhite, QRect(QPoint(r.left() + 2, r.top() + 2), QPoint(r.left() + 15, r.bottom() - 2)));
    }
    PaintItemText(*painter, option, index, 20);
  }

 private:
  std::array<chart::TBitmap, TBrushDialog::PatternCount> FPatterns;
};

QFont DialogFont(const chart::TFont& font) {
  QFont q(QString::fromStdString(font.Name()));
  if (font.Size() > 0) q.setPointSize(font.Size());
  const chart::TFontStyles s = font.Style();
  q.setBold((s & chart::FontStyleBit(chart::fsBold)) != 0);
  q.setItalic((s & chart::FontStyleBit(chart::fsItalic)) != 0);
  q.setUnderline((s & chart::FontStyleBit(chart::fsUnderline)) != 0);
  q.setStrikeOut((s & chart::FontStyleBit(chart::fsStrikeOut)) != 0);
  return q;
}

void TakeDialogFont(chart::TFont& font, const QFont& q) {
  font.SetName(q.family().toStdString());
  const int points = q.pointSize() > 0 ? q.pointSize() : chart::MulDiv(q.pixelSize(), 72, font.PixelsPerInch());
  if (points > 0) font.SetSize(points);
  chart::TFontStyles s = 0;
  if (q.bold()) s |= chart::FontStyleBit(chart::fsBold);
  if (q.italic()) s |= chart::FontStyleBit(chart::fsItalic);
  if (q.underline()) s |= chart::FontStyleBit(chart::fsUnderline);
  if (q.strikeOut()) s |= chart::FontStyleBit(chart::fsStrikeOut);
  font.SetStyle(s);
}

}  // namespace

TBrushDialog::TBrushDialog(QWidget* owner) : TEditorForm(owner) {
  setObjectName("BrushDialog");
  setWindowTitle("Pattern Color Editor");

  LStyle = CreateControl<QListWidget>(this, "LStyle");
  LStyle->addItems({"Solid", "None", "Horizontal", "Vertical", "Diagonal", "Back Diagonal", "Cross",
                    "Diagonal Cross", "Fill 80%", "Fill 60%", "Fill 40%", "Fill 20%", "Fill 10%", "Zig zag",
                    "Vertical small", "Horiz. small", "Diag. small", "Back Diag. small", "Cross small",
                    "Diag. Cross small"});
  LStyle->setItemDelegate(new TBrushStyleItems(LStyle));
  LStyle->setUniformItemSizes(true);
  LStyle->setFixedWidth(170);
  Button2 = CreateControl<QPushButton>(this, "Button2", "OK");
  Button2->setDefault(true);
  Button3 = CreateControl<QPushButton>(this, "Button3", "Cancel");
  BColor = CreateControl<chart::TButtonColor>(this, "BColor", "&Color...");
  GroupBox2 = CreateControl<QGroupBox>(this, "GroupBox2", "Image:");
  Button1 = CreateControl<QPushButton>(GroupBox2, "Button1", "&Image...");
  Image1 = CreateControl<QLabel>(GroupBox2, "Image1");
  Image1->setScaledContents(true);
  Image1->setFixedSize(64, 64);
  Image1->setFrameShape(QFrame::StyledPanel);

  auto* image = new QVBoxLayout(GroupBox2);
  image->addWidget(Button1);
  image->addWidget(Image1, 0, Qt::AlignHCenter);
  auto* grid = new QGridLayout(this);
  grid->addWidget(LStyle, 0, 0, 5, 1);
  grid->addWidget(Button2, 0, 1);
  grid->addWidget(Button3, 1, 1);
  grid->addWidget(BColor, 2, 1);
  grid->addWidget(GroupBox2, 3, 1);
  grid->setRowStretch(4, 1);
  LStyle->setFixedHeight(12 * SampleItemHeight(LStyle->fontMetrics()) + 2 * LStyle->frameWidth());

  connect(LStyle, &QListWidget::currentRowChanged, this, ui::Guarded([this](int row) { LStyleClick(row); }));
  // A click on the current item applies it again when the brush went elsewhere
  // since (a picture chosen over its style).
  connect(LStyle, &QListWidget::itemClicked, this, ui::Guarded([this](QListWidgetItem* item) {
            const int row = LStyle->row(item);
            if (!ShowsRow(row)) LStyleClick(row);
          }));
  connect(Button1, &QPushButton::clicked, this, ui::Guarded([this] { Button1Click(); }));
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TBrushDialog::FormShow() {
  TFillingScope filling(*this);
  FBackup = std::make_unique<TChartBrush>();
  if (FBrush == nullptr) return;
  FBackup->Assign(*FBrush);
  LStyle->setCurrentRow(FBrush->Style());
  BColor->LinkProperty(FBrush, "Color");
  RefreshImage();
  EnableColor();
}

void TBrushDialog::RefreshImage() {
  if (FBrush == nullptr || !FBrush->HasImage()) {
    Button1->setText(Text(txtBrowse));
    Image1->clear();
    return;
  }
  Button1->setText(Text(txtClear));
  if (const auto* bitmap = dynamic_cast<const chart::TBitmap*>(FBrush->Image()->Graphic()))
    Image1->setPixmap(QPixmap::fromImage(bitmap->Image()));
}

bool TBrushDialog::ShowsRow(int row) const {
  if (FBrush == nullptr) return true;
  if (row < FirstPattern) return FBrush->Style() == row && !FBrush->HasImage();
  return FBrush->HasImage() && FPatternRow == row;
}

void TBrushDialog::EnableColor() { BColor->setEnabled(FBrush != nullptr && FBrush->Style() != chart::bsClear); }

void TBrushDialog::LStyleClick(int row) {
  if (Filling() || FBrush == nullptr || row < 0) return;
  if (row < FirstPattern) {
    FBrush->SetStyle(static_cast<chart::TBrushStyle>(row));
    FBrush->SetImage(nullptr);
    FPatternRow = -1;
  } else {
    auto pattern = std::make_shared<chart::TBitmap>();
    LoadBrushPattern(row - FirstPattern, *pattern);
    FBrush->Image()->SetGraphic(std::move(pattern));
    FPatternRow = row;
  }
  RefreshImage();
  EnableColor();
}

void TBrushDialog::Button1Click() {
  if (FBrush == nullptr) return;
  if (LStyle->currentRow() >= FirstPattern) {
    // The picture replaces the pattern: the list shows the brush's own style again.
    TFillingScope filling(*this);
    LStyle->setCurrentRow(FBrush->Style());
  }
  if (!FBrush->HasImage()) {
    std::string fileName;
    AskPictureFileName(this, fileName);
    if (!fileName.empty()) FBrush->Image()->SetGraphic(LoadPictureBitmap(fileName));
  } else {
    FBrush->SetImage(nullptr);
  }
  FPatternRow = -1;
  RefreshImage();
}

void TBrushDialog::reject() {
  ui::RunGuarded([this] {
    if (FBrush != nullptr && FBackup) FBrush->Assign(*FBackup);
  });
  TEditorForm::reject();
}

bool EditBrushModal(QWidget* owner, chart::TChartBrush& brush) {
  std::unique_ptr<TBrushDialog> form = CreateModalEditorForm<TBrushDialog>(owner);
  form->SetBrush(&brush);
  return ui::ShowModal(*form) == QDialog::Accepted;
}

void LoadBrushPattern(int index, chart::TBitmap& bitmap) {
  bitmap.SetImage(LoadEditorBitmap("KivBrush" + std::to_string(index + 1)));
  bitmap.SetTransparent(true);
}

bool EditFontWithDialog(QWidget* owner, chart::TFont& font) {
  const std::optional<QFont> chosen = ui::Dialogs().FontDialog(owner, DialogFont(font));
  if (!chosen) return false;
  TakeDialogFont(font, *chosen);
  return true;
}

void AskPictureFileName(QWidget* owner, std::string& fileName) {
  fileName = ui::Dialogs().OpenPictureDialog(owner).value_or(std::string());
}

std::shared_ptr<chart::TBitmap> LoadPictureBitmap(const std::string& fileName) {
  QImageReader reader(QString::fromStdString(fileName));
  const QImage picture = reader.read();
  if (picture.isNull())
    throw classlib::Exception("Cannot read the picture \"" + fileName + "\": " + reader.errorString().toStdString());
  if (reader.format() == "bmp") return std::make_shared<chart::TBitmap>(picture);
  QImage bitmap(picture.size(), QImage::Format_RGB32);
  bitmap.fill(Qt::white);
  QPainter painter(&bitmap);
  painter.drawImage(0, 0, picture);
  painter.end();
  return std::make_shared<chart::TBitmap>(std::move(bitmap));
}

}  // namespace chart_editors
