// Covers chart_editors/KivPenDlgRoutines.cpp (lists, value formats, arrows,
// cursors), chart_editors/EditorBitmaps.cpp and chart_editors/EditorTexts.h.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>

#include <set>
#include <string>

#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/EditorTexts.h"
#include "chart_editors/KivPenDlg.h"
#include "platform/classlib/Exception.h"
#include "testing/TestSupport.h"

namespace chart_editors {
namespace {

TEST(EditorTexts, NameTheTextsTheEditorsShow) {
  struct Case {
    int Number;
    const char* Text;
  } cases[] = {{txtPercentFormat, "##0.## %"},
               {txtValuesFormat, "#,##0.###"},
               {txtIncorrectValue, "Incorrect value. Reason: %s"},
               {txtEnterDaysTime, "Enter [Number of Days] [hh:mm:ss]"},
               {txtClear, "Clea&r"},
               {txtBrowse, "B&rowse..."},
               {txtSmallDots, "Small Dots"}};
  for (const Case& c : cases) EXPECT_EQ(chart::KivMsg(c.Number), c.Text) << c.Number;
}

TEST(AddDefaultValueFormats, AppendsTheNineFormatsInOrder) {
  QStringList items{"kept"};
  AddDefaultValueFormats(items);
  EXPECT_EQ(items, (QStringList{"kept", "#,##0.###", "0", "0.0", "0.#", "#.#", "#,##0.00;(#,##0.00)", "00e-0",
                                "#.0 \"x10\" E+0", "#.# x10E-#"}));
}

TEST(CursorRoutines, NamesAndNumbers) {
  struct Case {
    const char* Name;
    ui::TCursor Cursor;
  } cases[] = {{"crKivHand", 2020}, {"crDefault", ui::crDefault}, {"crCross", ui::crCross},
               {"crHandPoint", ui::crHandPoint}, {"crSizeAll", ui::crSizeAll}};
  for (const Case& c : cases) {
    EXPECT_EQ(KivCursorFromName(c.Name), c.Cursor) << c.Name;
    EXPECT_EQ(KivCursorToName(c.Cursor), c.Name) << c.Name;
  }
  // Unnamed cursors go by their number, both ways.
  EXPECT_EQ(KivCursorToName(14000), "14000");
  EXPECT_EQ(KivCursorFromName("14000"), 14000);
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::EConvertError>([] { KivCursorFromName("crNothing"); }),
            "'crNothing' is not a valid integer value");
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::EConvertError>([] { KivCursorFromName("70000"); }),
            "'70000' is not a valid integer value");
  EXPECT_EQ(StripCursorPrefix("crKivHand"), "KivHand");
  EXPECT_EQ(StripCursorPrefix("Arrow"), "Arrow");
  EXPECT_EQ(StripCursorPrefix("cr"), "");
}

TEST(CursorRoutines, FillCursorComboListsEveryNameSortedWithoutPrefix) {
  QComboBox combo;
  combo.addItem("old");
  FillCursorCombo(combo, ui::crKivHand);
  std::set<std::string> expected;
  ui::GetCursorValues([&expected](const std::string& name) { expected.insert(name.substr(2)); });
  expected.insert("KivHand");
  ASSERT_EQ(combo.count(), static_cast<int>(expected.size()));
  for (int i = 0; i < combo.count(); ++i) {
    const std::string name = combo.itemText(i).toStdString();
    EXPECT_TRUE(expected.count(name)) << name;
    EXPECT_FALSE(name.starts_with("cr")) << name;
    if (i > 0) {
      EXPECT_LT(combo.itemText(i - 1).compare(combo.itemText(i), Qt::CaseInsensitive), 0);
    }
  }
  EXPECT_EQ(combo.currentText(), "KivHand");
  FillCursorCombo(combo, ui::crCross);
  EXPECT_EQ(combo.currentText(), "Cross");
  // A cursor without a name selects nothing.
  FillCursorCombo(combo, 14000);
  EXPECT_EQ(combo.currentIndex(), -1);
}

QListWidget& FillList(QListWidget& list, const QStringList& texts) {
  for (int i = 0; i < texts.size(); ++i) {
    auto* item = new QListWidgetItem(texts[i], &list);
    item->setData(Qt::UserRole, i);
  }
  list.setSelectionMode(QAbstractItemView::MultiSelection);
  return list;
}

QStringList TextsAndData(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i)
    texts << list.item(i)->text() + "=" + list.item(i)->data(Qt::UserRole).toString();
  return texts;
}

TEST(ListRoutines, MoveSelectedKeepsOrderAndData) {
  QListWidget from, to;
  FillList(from, {"a", "b", "c", "d", "e"});
  FillList(to, {"x"});
  for (int i : {1, 2, 4}) from.item(i)->setSelected(true);
  MoveSelectedListItems(from, to);
  EXPECT_EQ(TextsAndData(from), (QStringList{"a=0", "d=3"}));
  EXPECT_EQ(TextsAndData(to), (QStringList{"x=0", "b=1", "c=2", "e=4"}));
  EXPECT_TRUE(to.selectedItems().isEmpty());
  MoveAllListItems(to, from);
  EXPECT_EQ(to.count(), 0);
  EXPECT_EQ(TextsAndData(from), (QStringList{"a=0", "d=3", "x=0", "b=1", "c=2", "e=4"}));
}

double InkShare(const QImage& image) {
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  return static_cast<double>(ink) / (image.width() * image.height());
}

TEST(EditorBitmaps, TwelvePatternsThatReadAsTheirNames) {
  std::set<std::string> seen;
  for (int n = 1; n <= 12; ++n) {
    const QImage p = LoadEditorBitmap("KivBrush" + std::to_string(n));
    ASSERT_EQ(p.size(), QSize(8, 8)) << n;
    EXPECT_EQ(p.depth(), 1) << n;
    // The see-through colour is read at the bottom left: white, the background.
    EXPECT_EQ(p.pixel(0, 7), qRgb(255, 255, 255)) << n;
    EXPECT_TRUE(seen.insert(std::string(reinterpret_cast<const char*>(p.constBits()), p.sizeInBytes())).second) << n;
  }
  // The fills ink their share of the cell, to the pixel.
  const double shares[] = {0.8, 0.6, 0.4, 0.2, 0.1};
  for (int n = 1; n <= 5; ++n)
    EXPECT_NEAR(InkShare(LoadEditorBitmap("KIVBRUSH" + std::to_string(n))), shares[n - 1], 0.5 / 64) << n;
  // Small lines: vertical ones ink whole columns, horizontal ones whole rows.
  const QImage vertical = LoadEditorBitmap("kivbrush7"), horizontal = LoadEditorBitmap("KivBrush8");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(qGray(vertical.pixel(1, i)), 0);
    EXPECT_EQ(qGray(horizontal.pixel(i, 0)), 0);
  }
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::Exception>([] { LoadEditorBitmap("KivBrush13"); }),
            "Resource KivBrush13 not found");
  EXPECT_EQ(orvel::testing::RaisedMessage<classlib::Exception>([] { LoadEditorBitmap("KivBrush0"); }),
            "Resource KivBrush0 not found");
}

TEST(EditorBitmaps, ArrowsPointUpAndDown) {
  QImage up, down;
  LoadArrowBitmaps(up, down);
  ASSERT_EQ(up.size(), QSize(16, 16));
  EXPECT_EQ(down, up.mirrored(false, true));
  EXPECT_EQ(qAlpha(up.pixel(0, 0)), 0);  // see-through around the arrow
  EXPECT_EQ(up.pixel(8, 4), qRgb(0, 0, 0));   // the head near the top
  EXPECT_EQ(qAlpha(up.pixel(3, 12)), 0);      // only the stem below
  EXPECT_EQ(up.pixel(7, 12), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace chart_editors
