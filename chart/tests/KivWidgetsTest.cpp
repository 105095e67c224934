// Covers chart/widgets/KivCanvasWidgets.cpp and chart/widgets/KivProcsWidgets.cpp: the sample
// and colour buttons with the colour dialog, the flat combo box, cursors and
// control groups.
#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QTimer>

#include "chart/testing/ChartProbes.h"
#include "chart/widgets/KivCanvasWidgets.h"
#include "chart/widgets/KivProcsWidgets.h"

namespace chart {
namespace {

using testing::PixelAt;

class TCountingButton : public TKivButton {
 public:
  int samples = 0;
  void DrawSample(TKivCanvas3D& canvas) override {
    ++samples;
    canvas.Brush().SetColor(clLime);
    canvas.FillRect({2, 2, 6, 6});
  }
};

TEST(KivButton, DrawsItsSampleOnlyWhileLinked) {
  TCountingButton b;
  EXPECT_EQ(b.size(), QSize(75, 25));
  // A layout leaves room for the sample beside the caption.
  b.setText("&Color...");
  EXPECT_GE(b.sizeHint().width(), QPushButton("&Color...").sizeHint().width() + 19);
  b.grab();
  EXPECT_EQ(b.samples, 0);
  TChartPen pen;
  b.LinkProperty(&pen, "Color");
  EXPECT_EQ(b.LinkedProperty(), "Color");
  EXPECT_EQ(PixelAt(b.grab().toImage(), 3, 3), clLime);
  EXPECT_EQ(b.samples, 1);
  b.LinkProperty(nullptr, "Color");
  EXPECT_EQ(b.LinkedProperty(), "");
  b.grab();
  EXPECT_EQ(b.samples, 1);
}

// Drives the modal colour dialog that the next call opens: picks the colour
// and confirms, or cancels when colour is invalid.
void AnswerColorDialog(QColor colour, bool* seen) {
  QTimer::singleShot(0, [colour, seen] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    *seen = dialog != nullptr;
    if (dialog == nullptr) return;
    if (colour.isValid()) {
      dialog->setCurrentColor(colour);
      dialog->accept();
    } else {
      dialog->reject();
    }
  });
}

TEST(ButtonColor, SwatchOutlineAndNoColour) {
  TChartPen pen;
  pen.SetColor(clRed);
  TButtonColor b;
  b.LinkProperty(&pen, "Color");
  const TRect r = b.SwatchRect();
  EXPECT_EQ(r, (TRect{75 - 19, 6, 75 - 6, 19}));
  const int midY = (r.Top + r.Bottom) / 2;
  QImage img = b.grab().toImage();
  EXPECT_EQ(PixelAt(img, r.Left + 5, midY), clRed);
  EXPECT_EQ(PixelAt(img, r.Left, midY), clBlack);  // the outline
  EXPECT_EQ(PixelAt(img, r.Right - 1, midY), clBlack);

  b.setEnabled(false);
  img = b.grab().toImage();
  EXPECT_EQ(PixelAt(img, r.Left + 5, midY), clRed);
  EXPECT_NE(PixelAt(img, r.Left, midY), clBlack);  // no outline while disabled

  // clNone draws nothing: the face looks like an unlinked button's.
  b.setEnabled(true);
  pen.SetColor(clNone);
  TButtonColor plain;
  EXPECT_EQ(b.grab().toImage(), plain.grab().toImage());

  // Unlinked, the event supplies the colour; a system colour shows resolved.
  EXPECT_EQ(plain.SymbolColor(), clNone);
  plain.OnGetColor = [] { return clBtnShadow; };
  EXPECT_EQ(PixelAt(plain.grab().toImage(), r.Left + 5, midY), ColorToRGB(clBtnShadow));
}

TEST(ButtonColor, ClickEditsTheLinkedColour) {
  TChartBrush brush;
  brush.SetColor(clRed);
  TButtonColor b;
  b.LinkProperty(&brush, "Color");
  bool seen = false;
  AnswerColorDialog(QColor(0, 0, 255), &seen);
  b.click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(brush.Color(), clBlue);

  seen = false;
  AnswerColorDialog(QColor(), &seen);  // cancelled: the colour stays
  b.click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(brush.Color(), clBlue);
}

TEST(EditColorDialog, StartsAtTheColourAndReportsTheChoice) {
  TColor c = clBtnFace;
  QColor shown;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown = dialog->currentColor();
    dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
    dialog->accept();
  });
  EXPECT_TRUE(EditColorDialog(nullptr, c));
  EXPECT_EQ(RGB(shown.red(), shown.green(), shown.blue()), ColorToRGB(clBtnFace));
  EXPECT_EQ(c, RGB(0x12, 0x34, 0x56));
}

TEST(EditColorDialog, AnInstalledDialogTakesQtsPlace) {
  TColor asked = clNone;
  TColorDialogFunc previous = SetColorDialog([&asked](QWidget*, TColor& color) {
    asked = color;
    color = clTeal;
    return true;
  });
  TChartPen pen;
  pen.SetColor(clRed);
  TButtonColor b;
  b.LinkProperty(&pen, "Color");
  b.click();
  EXPECT_EQ(asked, clRed);
  EXPECT_EQ(pen.Color(), clTeal);
  // Given back, the next dialog is Qt's again.
  EXPECT_TRUE(static_cast<bool>(SetColorDialog(std::move(previous))));
  bool seen = false;
  AnswerColorDialog(QColor(), &seen);
  b.click();
  EXPECT_TRUE(seen);
  EXPECT_EQ(pen.Color(), clTeal);
}

// Paints every item as a block of green at its left, no text.
class TGreenItems : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex&) const override {
    painter->fillRect(option.rect.adjusted(2, 2, -option.rect.width() / 2, -2), Qt::green);
  }
};

TEST(ComboFlat, OwnerDrawnFieldShowsTheCurrentItemAsTheListDrawsIt) {
  TComboFlat combo;
  combo.resize(120, 21);
  combo.setItemDelegate(new TGreenItems(&combo));
  combo.addItems({"Solid", "Dash"});
  QStyleOptionComboBox box;
  box.initFrom(&combo);
  const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, &combo);
  const QPoint inside = field.topLeft() + QPoint(4, field.height() / 2);
  EXPECT_NE(PixelAt(combo.grab().toImage(), inside.x(), inside.y()), clLime);
  combo.SetOwnerDrawField(true);
  EXPECT_EQ(PixelAt(combo.grab().toImage(), inside.x(), inside.y()), clLime);
  combo.setCurrentIndex(-1);
  EXPECT_NE(PixelAt(combo.grab().toImage(), inside.x(), inside.y()), clLime);
}

TEST(ComboFlat, FlatFrameUnlessFocused) {
  QWidget window;
  TComboFlat combo(&window);
  QLineEdit other(&window);
  other.move(0, 40);
  combo.addItems({"Solid", "Dash", "Dot"});
  EXPECT_EQ(combo.height(), 21);
  EXPECT_FALSE(combo.isEditable());
  EXPECT_EQ(combo.itemDelegate()->sizeHint(QStyleOptionViewItem(), combo.model()->index(0, 0)).height(), 13);

  window.show();
  QApplication::setActiveWindow(&window);
  other.setFocus();
  ASSERT_TRUE(combo.DrawsFlat());
  QImage img = combo.grab().toImage();
  const QPalette pal = combo.palette();
  auto rgb = [](QColor c) { return RGB(c.red(), c.green(), c.blue()); };
  EXPECT_EQ(PixelAt(img, 0, 0), rgb(pal.color(QPalette::Button)));
  EXPECT_EQ(PixelAt(img, combo.width() - 1, 10), rgb(pal.color(QPalette::Button)));
  EXPECT_EQ(PixelAt(img, combo.ArrowLineX(), 10), rgb(pal.color(QPalette::Base)));

  combo.setFocus();
  if (!combo.hasFocus()) GTEST_SKIP() << "the offscreen platform gave no focus";
  EXPECT_FALSE(combo.DrawsFlat());
  img = combo.grab().toImage();
  EXPECT_NE(PixelAt(img, combo.ArrowLineX(), 10), rgb(pal.color(QPalette::Base)));
}

TEST(SharedWidgets, CursorsAndControlGroups) {
  struct Case {
    TCursor cursor;
    Qt::CursorShape shape;
  } cases[] = {{crDefault, Qt::ArrowCursor},     {crCross, Qt::CrossCursor},
               {crHSplit, Qt::SplitHCursor},     {crVSplit, Qt::SplitVCursor},
               {crSizeAll, Qt::SizeAllCursor},   {crHandPoint, Qt::PointingHandCursor},
               {crKivHand, Qt::PointingHandCursor}};
  for (const Case& c : cases) EXPECT_EQ(KivCursor(c.cursor).shape(), c.shape) << c.cursor;

  QWidget a, b;
  QWidget* group[] = {&a, nullptr, &b};
  EnableControls(false, group);
  EXPECT_FALSE(a.isEnabled());
  EXPECT_FALSE(b.isEnabled());
  EnableControls(true, group);
  EXPECT_TRUE(a.isEnabled());
  EXPECT_TRUE(b.isEnabled());
}

TEST(SharedWidgets, TheShowHookRunsOnlyWhenInstalled) {
  QWidget form;
  ASSERT_FALSE(OptionalGlobalHook());
  CallOptionalGlobalHook(form);  // nothing installed: nothing happens
  std::vector<QWidget*> seen;
  OptionalGlobalHook() = [&](QWidget& f) { seen.push_back(&f); };
  CallOptionalGlobalHook(form);
  OptionalGlobalHook() = nullptr;
  CallOptionalGlobalHook(form);
  EXPECT_EQ(seen, std::vector<QWidget*>{&form});
}

}  // namespace
}  // namespace chart
