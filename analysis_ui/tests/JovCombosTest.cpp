// The colour combo box: its list and options, renamed items, the colour value
// set and read in both styles with its change notification, the user's
// choice, the item height, the drawing of an item and the cursors' numbers.
// Covers: analysis_ui/JovCombos.cpp.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "analysis_ui/JovCombos.h"
#include "chart/canvas/KivGraphics.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

using ui::Items;

using namespace chart;

TEST(ColorComboBox, ListsTheSixteenColoursInTableOrder) {
  TColorComboBox combo;
  EXPECT_EQ(Items(combo), (QStringList{"Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray", "Silver",
                                       "Red", "Lime", "Yellow", "Blue", "Fuchsia", "Aqua", "White"}));
  EXPECT_EQ(combo.Style(), csDropDownList);
  EXPECT_EQ(combo.ColorValue(), clBlack);
  EXPECT_EQ(combo.ItemIndex(), 0);
  combo.SetItemIndex(9);
  EXPECT_EQ(combo.ItemColor(9), clRed);
  EXPECT_EQ(combo.currentText(), "Red");

  combo.SetOptions(ColorComboOptionBit(coIncludeNone) | ColorComboOptionBit(coIncludeDefault));
  ASSERT_EQ(combo.count(), 18);
  EXPECT_EQ(combo.itemText(16), "None");
  EXPECT_EQ(combo.ItemColor(16), clNone);
  EXPECT_EQ(combo.itemText(17), "Default");
  EXPECT_EQ(combo.ItemColor(17), clDefault);
  // The list is filled again with the current colour still chosen.
  EXPECT_EQ(combo.currentText(), "Red");
  combo.SetOptions(ColorComboOptionBit(coIncludeDefault));
  ASSERT_EQ(combo.count(), 17);
  EXPECT_EQ(combo.itemText(16), "Default");
}

TEST(ColorComboBox, NamesReplaceTheTextsLineByLine) {
  TColorComboBox combo;
  combo.SetColorValue(clGreen);
  combo.SetColorNames({"Noir", "", "Vert"});
  EXPECT_EQ(combo.itemText(0), "Noir");
  EXPECT_EQ(combo.itemText(1), "Maroon");
  EXPECT_EQ(combo.itemText(2), "Vert");
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(combo.ColorValue(), clGreen);
  // Line 17 names the Default row even while None is left out.
  std::vector<std::string> names(18);
  names[17] = "Auto";
  combo.SetColorNames(names);
  combo.SetOptions(ColorComboOptionBit(coIncludeDefault));
  EXPECT_EQ(combo.itemText(16), "Auto");
}

TEST(ColorComboBox, SettingTheColourNotifiesOnlyAChange) {
  TColorComboBox combo;
  int changes = 0;
  combo.OnChange = [&](TColorComboBox& sender) {
    EXPECT_EQ(&sender, &combo);
    ++changes;
  };
  combo.SetColorValue(clNavy);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo.ItemIndex(), 4);
  combo.SetColorValue(clNavy);
  EXPECT_EQ(changes, 1);
  // A colour that the list lacks clears the choice and still notifies.
  combo.SetColorValue(RGB(1, 2, 3));
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.ColorValue(), RGB(1, 2, 3));
  // Without a choice even the same colour is set again.
  combo.SetColorValue(RGB(1, 2, 3));
  EXPECT_EQ(changes, 3);
}

TEST(ColorComboBox, TheUsersChoiceBecomesTheValue) {
  TColorComboBox combo;
  std::vector<TColor> seen;
  combo.OnChange = [&](TColorComboBox& c) { seen.push_back(c.ColorValue()); };
  combo.SetColorValue(clRed);
  seen.clear();
  QTest::keyClick(&combo, Qt::Key_Down);
  EXPECT_EQ(combo.ColorValue(), clLime);
  EXPECT_EQ(seen, std::vector<TColor>{clLime});
  combo.setCurrentIndex(12);  // the keyboard or the list, without a click
  EXPECT_EQ(combo.ColorValue(), clBlue);
  EXPECT_EQ(seen, (std::vector<TColor>{clLime, clBlue}));
}

TEST(ColorComboBox, AnEditableBoxReadsItsText) {
  TColorComboBox combo;
  combo.SetStyle(csDropDown);
  combo.SetColorValue(RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(combo.currentText(), "$00563412");
  EXPECT_EQ(combo.ColorValue(), RGB(0x12, 0x34, 0x56));
  combo.setCurrentIndex(-1);
  combo.setEditText("Yellow");
  EXPECT_EQ(combo.ColorValue(), clYellow);
  combo.setCurrentIndex(-1);
  combo.setEditText("255");
  EXPECT_EQ(combo.ColorValue(), clRed);
  EXPECT_EQ(ColorIdentifier(clTeal), "Teal");
}

TEST(ColorComboBox, TheItemHeightFollowsTheFont) {
  TColorComboBox combo;
  EXPECT_EQ(combo.ItemHeight(), std::max(combo.fontMetrics().height() + 1, 9));
  QFont big = combo.font();
  big.setPointSize(big.pointSize() * 3);
  combo.setFont(big);
  EXPECT_EQ(combo.ItemHeight(), combo.fontMetrics().height() + 1);
  QFont tiny = combo.font();
  tiny.setPixelSize(3);
  combo.setFont(tiny);
  EXPECT_EQ(combo.ItemHeight(), 9);
}

// The colour of the swatch frame's left edge and of its inside.
struct TSwatch {
  TColor Frame, Inside;
  int TextPixels;
  TColor Right;  // 10 pixels before the right edge
};
TSwatch DrawAndProbe(TColor color, bool selected, bool names = true) {
  QImage image(120, 20, QImage::Format_RGB32);
  image.fill(Qt::gray);
  {
    QPainter painter(&image);
    DrawColorItem(painter, QRect(0, 0, 120, 20), color, "Item", selected, names, QColor(200, 200, 255), Qt::black);
  }
  int text = 0;
  for (int x = 28; x < 120; ++x)
    for (int y = 0; y < 20; ++y) text += image.pixelColor(x, y).lightness() < 100;
  return {FromQRgb(image.pixel(2, 10)), FromQRgb(image.pixel(10, 10)), text, FromQRgb(image.pixel(110, 10))};
}

TEST(ColorComboBox, ItemsAreFramedSwatchesWithTheirNames) {
  const TSwatch white = DrawAndProbe(clWhite, false);
  EXPECT_EQ(white.Frame, clBlack);
  EXPECT_EQ(white.Inside, clWhite);
  EXPECT_EQ(DrawAndProbe(clYellow, false).Frame, clBlack);
  const TSwatch navy = DrawAndProbe(clNavy, false);
  EXPECT_EQ(navy.Frame, clNavy);
  EXPECT_EQ(navy.Inside, clNavy);
  EXPECT_GT(navy.TextPixels, 10);
  EXPECT_EQ(DrawAndProbe(clNavy, true).Frame, clWhite);
  // Without names the swatch reaches three pixels before the right edge.
  EXPECT_NE(navy.Right, clNavy);
  const TSwatch wide = DrawAndProbe(clNavy, false, false);
  EXPECT_EQ(wide.Right, clNavy);
}

TEST(ColorComboBox, TheClosedBoxShowsTheChosenSwatch) {
  TColorComboBox combo;
  combo.resize(160, 24);
  combo.SetColorValue(clRed);
  const QImage shot = combo.grab().toImage();
  int red = 0;
  for (int x = 0; x < shot.width(); ++x)
    for (int y = 0; y < shot.height(); ++y) red += shot.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_GT(red, 60);
}

TEST(JovCursors, HandAndDragAreInTheScreenCursorTable) {
  EXPECT_EQ(ui::ScreenCursor(crJovHand).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(ui::ScreenCursor(crJovDrag).shape(), Qt::ClosedHandCursor);
}

}  // namespace
}  // namespace analysis_ui
