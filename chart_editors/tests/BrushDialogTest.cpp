// Covers chart_editors/KivBrushDlg.cpp (the brush editor, the font and
// picture dialogs, reading pictures) and the brush samples of
// chart_editors/EditorSamples.cpp.
#include <gtest/gtest.h>

#include <QPainter>

#include <fstream>
#include <vector>

#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::CountPixels;
using testing::Pixel;

using BrushDialog = ui::TWindowTest;

void ClickRow(QListWidget& list, int row) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
}

const TBitmap* ImageOf(const TChartBrush& brush) {
  return brush.HasImage() ? dynamic_cast<const TBitmap*>(brush.Image()->Graphic()) : nullptr;
}

TEST_F(BrushDialog, ListsTwentyStylesAndPatternsInOrder) {
  TBrushDialog d;
  const QStringList expected{"Solid",  "None",          "Horizontal",     "Vertical",     "Diagonal",
                             "Back Diagonal", "Cross",  "Diagonal Cross", "Fill 80%",     "Fill 60%",
                             "Fill 40%", "Fill 20%",    "Fill 10%",       "Zig zag",      "Vertical small",
                             "Horiz. small", "Diag. small", "Back Diag. small", "Cross small", "Diag. Cross small"};
  ASSERT_EQ(d.LStyle->count(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(d.LStyle->item(i)->text(), expected[i]);
  EXPECT_EQ(d.windowTitle(), "Pattern Color Editor");
}

// What the user does, and the brush and form afterwards.
enum TBrushAct { baRow, baImageButton, baColor };
struct TBrushAction {
  TBrushAct Act;
  int Value = 0;
};
struct TBrushCase {
  const char* Name;
  TBrushStyle Style;
  std::vector<TBrushAction> Actions;
  bool Ok;
  TBrushStyle StyleAfter;
  int PatternAfter;  // the pattern the brush's image shows, -1 for none
  TColor ColorAfter;
  bool ColorEnabled;
  const char* ImageCaption;
};

const TBrushCase BrushCases[] = {
    {"a pattern keeps the style and sets the image", bsCross, {{baRow, 10}}, true, bsCross, 2, clRed, true,
     "Clea&r"},
    {"a plain style afterwards clears it", bsCross, {{baRow, 10}, {baRow, 4}}, true, bsFDiagonal, -1, clRed, true,
     "B&rowse..."},
    {"None disables the colour button", bsSolid, {{baRow, 1}}, true, bsClear, -1, clRed, false, "B&rowse..."},
    {"a style with a colour enables it again", bsClear, {{baRow, 0}}, true, bsSolid, -1, clRed, true, "B&rowse..."},
    {"Clear while a pattern shows goes back to the style", bsVertical, {{baRow, 19}, {baImageButton}}, true,
     bsVertical, -1, clRed, true, "B&rowse..."},
    {"Cancel restores the brush", bsSolid, {{baRow, 12}, {baColor, static_cast<int>(clLime)}, {baRow, 6}}, false,
     bsSolid, -1, clRed, true, "B&rowse..."},
    {"OK keeps the changes", bsSolid, {{baRow, 12}, {baColor, static_cast<int>(clLime)}}, true, bsSolid, 4, clLime,
     true, "Clea&r"},
};

TEST_F(BrushDialog, EditsStylesPatternsAndColour) {
  for (const TBrushCase& c : BrushCases) {
    TChartBrush brush;
    brush.SetStyle(c.Style);
    brush.SetColor(clRed);
    AnswerModal<TBrushDialog>(FDialogs, [&](TBrushDialog& d) {
      EXPECT_EQ(d.LStyle->currentRow(), c.Style) << c.Name;
      EXPECT_EQ(d.BColor->isEnabled(), c.Style != bsClear) << c.Name;
      for (const TBrushAction& a : c.Actions) {
        switch (a.Act) {
          case baRow: ClickRow(*d.LStyle, a.Value); break;
          case baImageButton: QTest::mouseClick(d.Button1, Qt::LeftButton); break;
          case baColor:
            FDialogs.ColorAnswers.push_back(static_cast<TColor>(a.Value));
            QTest::mouseClick(d.BColor, Qt::LeftButton);
            break;
        }
      }
      EXPECT_EQ(d.BColor->isEnabled(), c.ColorEnabled) << c.Name;
      EXPECT_EQ(d.Button1->text().toStdString(), c.ImageCaption) << c.Name;
      EXPECT_EQ(d.Image1->pixmap().isNull(), std::string(c.ImageCaption) == "B&rowse...") << c.Name;
      QTest::mouseClick(c.Ok ? d.Button2 : d.Button3, Qt::LeftButton);
    });
    EXPECT_EQ(EditBrushModal(nullptr, brush), c.Ok) << c.Name;
    EXPECT_EQ(brush.Style(), c.StyleAfter) << c.Name;
    EXPECT_EQ(brush.Color(), c.ColorAfter) << c.Name;
    const TBitmap* image = ImageOf(brush);
    if (c.PatternAfter < 0) {
      EXPECT_EQ(image, nullptr) << c.Name;
    } else {
      ASSERT_NE(image, nullptr) << c.Name;
      EXPECT_EQ(image->Image(), LoadEditorBitmap("KivBrush" + std::to_string(c.PatternAfter + 1))) << c.Name;
      EXPECT_TRUE(image->Transparent()) << c.Name;
    }
    FDialogs.ExpectAllUsed();
  }
}

TEST_F(BrushDialog, CancelRestoresEvenWithoutAChange) {
  int changes = 0;
  TChartBrush brush([&changes] { ++changes; });
  brush.SetStyle(bsHorizontal);
  changes = 0;
  AnswerModal<TBrushDialog>(FDialogs, [](TBrushDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
  EXPECT_FALSE(EditBrushModal(nullptr, brush));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(brush.Style(), bsHorizontal);
}

// A 13 x 7 PNG: opaque red on the left half, see-through on the right.
std::string WritePng(const std::string& file) {
  QImage png(13, 7, QImage::Format_ARGB32);
  png.fill(Qt::transparent);
  QPainter(&png).fillRect(0, 0, 6, 7, Qt::red);
  EXPECT_TRUE(png.save(QString::fromStdString(file), "PNG"));
  return file;
}

TEST_F(BrushDialog, APictureBecomesABitmapOfItsSize) {
  TChartBrush brush;
  brush.SetStyle(bsSolid);
  const std::string png = WritePng(FDir.File("picture.png"));
  const std::string broken = FDir.File("broken.png");
  std::ofstream(broken) << "not a picture";
  AnswerModal<TBrushDialog>(FDialogs, [&](TBrushDialog& d) {
    // A cancelled file dialog, then a file that is no picture: nothing changes.
    FDialogs.PictureAnswers.push_back(std::nullopt);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    FDialogs.PictureAnswers.push_back(broken);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    ASSERT_FALSE(FDialogs.Shown.empty());
    EXPECT_EQ(FDialogs.Shown.back().Text.rfind("Cannot read the picture \"" + broken + "\"", 0), 0u)
        << FDialogs.Shown.back().Text;
    EXPECT_FALSE(brush.HasImage());
    EXPECT_EQ(d.Button1->text(), "B&rowse...");

    FDialogs.PictureAnswers.push_back(png);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    EXPECT_EQ(d.Button1->text(), "Clea&r");
    EXPECT_FALSE(d.Image1->pixmap().isNull());
    QTest::mouseClick(d.Button2, Qt::LeftButton);
  });
  EXPECT_TRUE(EditBrushModal(nullptr, brush));
  const TBitmap* image = ImageOf(brush);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 13);
  EXPECT_EQ(image->Height(), 7);
  EXPECT_EQ(image->Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(Pixel(image->Image(), {1, 3}), clRed);
  EXPECT_EQ(Pixel(image->Image(), {10, 3}), clWhite);  // drawn onto white

  // Clear takes it away again.
  AnswerModal<TBrushDialog>(FDialogs, [](TBrushDialog& d) {
    EXPECT_EQ(d.Button1->text(), "Clea&r");
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QTest::mouseClick(d.Button2, Qt::LeftButton);
  });
  EXPECT_TRUE(EditBrushModal(nullptr, brush));
  EXPECT_FALSE(brush.HasImage());
}

TEST_F(BrushDialog, ABitmapFileStaysAsItIs) {
  QImage bmp(5, 4, QImage::Format_RGB32);
  bmp.fill(qRgb(0, 0, 255));
  const std::string file = FDir.File("picture.bmp");
  ASSERT_TRUE(bmp.save(QString::fromStdString(file), "BMP"));
  const std::shared_ptr<TBitmap> read = LoadPictureBitmap(file);
  EXPECT_EQ(read->Image().size(), QSize(5, 4));
  EXPECT_EQ(Pixel(read->Image(), {2, 2}), clBlue);
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::Exception>([&] { LoadPictureBitmap(FDir.File("none.png")); })
                .rfind("Cannot read the picture", 0),
            0u);
}

TEST_F(BrushDialog, TheListDrawsEveryStyleAndPattern) {
  TChartBrush brush;
  brush.SetStyle(bsClear);
  TBrushDialog d;
  d.SetBrush(&brush);
  d.resize(d.sizeHint());
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ui::Screenshot(d, "brush_dialog");
  QListWidget& list = *d.LStyle;
  QImage shot;
  for (int first : {0, 10}) {
    list.scrollToItem(list.item(first), QAbstractItemView::PositionAtTop);
    shot = ui::Screenshot(list, first == 0 ? "brush_list" : "brush_list_patterns");
    const QPoint origin = list.viewport()->mapTo(&list, QPoint(0, 0));
    for (int row = first; row < first + 10; ++row) {
      const QRect r = list.visualItemRect(list.item(row)).translated(origin);
      const QRect sample(QPoint(r.left() + 2, r.top() + 2), QPoint(r.left() + 15, r.bottom() - 2));
      const int black = CountPixels(shot, sample, clBlack);
      const int white = CountPixels(shot, sample, clWhite);
      const int all = sample.width() * sample.height();
      const std::string name = list.item(row)->text().toStdString();
      if (row == bsSolid) {
        EXPECT_EQ(black, all) << name;
      } else if (row == bsClear) {
        EXPECT_EQ(black, 0) << name;
      } else {
        EXPECT_EQ(black + white, all) << name;  // black on white only
        EXPECT_GT(black, 0) << name;
        EXPECT_GT(white, 0) << name;
      }
      if (row >= TBrushDialog::FirstPattern && row <= TBrushDialog::FirstPattern + 4) {
        // The fills show their share of ink.
        const double share = static_cast<double>(black) / all;
        const double expected = 0.8 - 0.2 * (row - TBrushDialog::FirstPattern) + (row == 12 ? 0.1 : 0.0);
        EXPECT_NEAR(share, expected, 0.08) << name;
      }
    }
  }
}

TEST_F(BrushDialog, FontDialogTakesNameSizeAndStyle) {
  TKivFont font;
  QFont chosen("Liberation Serif", 14);
  chosen.setBold(true);
  chosen.setUnderline(true);
  FDialogs.FontAnswers.push_back(chosen);
  EXPECT_TRUE(EditFontWithDialog(nullptr, font));
  EXPECT_EQ(font.Name(), "Liberation Serif");
  EXPECT_EQ(font.Size(), 14);
  EXPECT_EQ(font.Style(), FontStyleBit(fsBold) | FontStyleBit(fsUnderline));
  FDialogs.FontAnswers.push_back(std::nullopt);
  EXPECT_FALSE(EditFontWithDialog(nullptr, font));
  EXPECT_EQ(font.Size(), 14);
}

}  // namespace
}  // namespace chart_editors
