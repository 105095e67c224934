// Covers chart_editors/KivSelectList.cpp (the two-list selection form) and
// chart_editors/KivLisB.cpp (items with objects, selecting by object).
#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

#include "chart_editors/KivLisB.h"
#include "chart_editors/KivSelectList.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/classlib/Component.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors {
namespace {

using ui::Texts;

using SelectList = ui::TWindowTest;

// A form whose available list holds a .. e, each with its own object.
struct TFiveItems {
  TFiveItems() {
    for (int i = 0; i < 5; ++i) {
      Objects.push_back(std::make_unique<classlib::TComponent>());
      AddListObject(*Form.FromList, QString(QChar('a' + i)), Objects.back().get());
    }
    Form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Form));
  }
  TSelectListForm Form;
  std::vector<std::unique_ptr<classlib::TComponent>> Objects;
};

TEST_F(SelectList, MovingSeveralKeepsTheirOrderAndTheirObjects) {
  TFiveItems f;
  int changes = 0;
  f.Form.OnChange = [&](TSelectListForm& sender) {
    EXPECT_EQ(&sender, &f.Form);
    ++changes;
  };
  for (int i : {3, 1}) f.Form.FromList->item(i)->setSelected(true);
  QTest::mouseClick(f.Form.BRightOne, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.ToList), (QStringList{"b", "d"}));
  EXPECT_EQ(Texts(*f.Form.FromList), (QStringList{"a", "c", "e"}));
  EXPECT_EQ(ListItemObject(*f.Form.ToList->item(1)), f.Objects[3].get());
  EXPECT_EQ(changes, 1);
  // All back: appended after what stayed.
  QTest::mouseClick(f.Form.BLeftAll, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.FromList), (QStringList{"a", "c", "e", "b", "d"}));
  EXPECT_EQ(f.Form.ToList->count(), 0);
  QTest::mouseClick(f.Form.BRightAll, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.ToList), (QStringList{"a", "c", "e", "b", "d"}));
  f.Form.ToList->item(4)->setSelected(true);
  QTest::mouseClick(f.Form.BLeftOne, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.FromList), (QStringList{"d"}));
  // Moving the last available item hands the focus to the chosen list.
  QApplication::setActiveWindow(&f.Form);
  f.Form.FromList->setFocus();
  f.Form.FromList->item(0)->setSelected(true);
  QTest::mouseClick(f.Form.BRightOne, Qt::LeftButton);
  EXPECT_EQ(f.Form.FromList->count(), 0);
  EXPECT_TRUE(f.Form.ToList->hasFocus());
  EXPECT_EQ(changes, 5);
}

TEST_F(SelectList, ButtonsFollowTheListsAndTheChosenItem) {
  TSelectListForm empty;
  empty.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&empty));
  for (QWidget* b : std::initializer_list<QWidget*>{empty.BRightOne, empty.BRightAll, empty.BLeftOne, empty.BLeftAll,
                                                    empty.BMoveUP, empty.BMoveDown})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

  TFiveItems f;
  EXPECT_TRUE(f.Form.BRightOne->isEnabled());
  EXPECT_FALSE(f.Form.BLeftAll->isEnabled());
  QTest::mouseClick(f.Form.BRightAll, Qt::LeftButton);
  EXPECT_FALSE(f.Form.BRightAll->isEnabled());
  EXPECT_TRUE(f.Form.BLeftOne->isEnabled());
  struct {
    int Row;
    bool Up, Down;
  } cases[] = {{-1, false, false}, {0, false, true}, {2, true, true}, {4, true, false}};
  for (const auto& c : cases) {
    f.Form.ToList->setCurrentRow(c.Row);
    EXPECT_EQ(f.Form.BMoveUP->isEnabled(), c.Up) << "row " << c.Row;
    EXPECT_EQ(f.Form.BMoveDown->isEnabled(), c.Down) << "row " << c.Row;
  }
}

TEST_F(SelectList, MovesTheChosenItemUpAndDown) {
  TFiveItems f;
  int changes = 0;
  f.Form.OnChange = [&](TSelectListForm&) { ++changes; };
  QTest::mouseClick(f.Form.BRightAll, Qt::LeftButton);
  f.Form.ToList->setCurrentRow(2);
  QTest::mouseClick(f.Form.BMoveUP, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.ToList), (QStringList{"a", "c", "b", "d", "e"}));
  EXPECT_EQ(f.Form.ToList->currentRow(), 1);
  EXPECT_TRUE(f.Form.ToList->item(1)->isSelected());
  QTest::mouseClick(f.Form.BMoveUP, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.ToList), (QStringList{"c", "a", "b", "d", "e"}));
  EXPECT_FALSE(f.Form.BMoveUP->isEnabled());
  for (int i = 0; i < 4; ++i) QTest::mouseClick(f.Form.BMoveDown, Qt::LeftButton);
  EXPECT_EQ(Texts(*f.Form.ToList), (QStringList{"a", "b", "d", "e", "c"}));
  EXPECT_FALSE(f.Form.BMoveDown->isEnabled());
  EXPECT_EQ(ListItemObject(*f.Form.ToList->item(4)), f.Objects[2].get());
  EXPECT_EQ(changes, 1 + 2 + 4);
}

TEST_F(SelectList, DoubleClicksMoveAnItemAcross) {
  TFiveItems f;
  const QRect second = f.Form.FromList->visualItemRect(f.Form.FromList->item(1));
  QTest::mouseClick(f.Form.FromList->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseDClick(f.Form.FromList->viewport(), Qt::LeftButton, {}, second.center());
  EXPECT_EQ(Texts(*f.Form.ToList), QStringList{"b"});
  EXPECT_EQ(f.Form.ToList->currentRow(), 0);
  const QRect first = f.Form.ToList->visualItemRect(f.Form.ToList->item(0));
  QTest::mouseClick(f.Form.ToList->viewport(), Qt::LeftButton, {}, first.center());
  QTest::mouseDClick(f.Form.ToList->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_EQ(f.Form.ToList->count(), 0);
  EXPECT_EQ(Texts(*f.Form.FromList), (QStringList{"a", "c", "d", "e", "b"}));
}

TEST_F(SelectList, ScreenshotShowsTheArrowsBlackOrGrey) {
  TFiveItems f;
  QTest::mouseClick(f.Form.BRightAll, Qt::LeftButton);
  f.Form.ToList->setCurrentRow(0);  // up disabled, down enabled
  const QImage shot = ui::Screenshot(f.Form, "select_list");
  const auto darkest = [&](QWidget& button) {
    const QRect r(button.mapTo(&f.Form, QPoint(0, 0)), button.size());
    int dark = 255;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) dark = std::min(dark, qGray(shot.pixel(x, y)));
    return dark;
  };
  EXPECT_LT(darkest(*f.Form.BMoveDown), 40);
  EXPECT_GT(darkest(*f.Form.BMoveUP), 100);
  EXPECT_LT(darkest(*f.Form.BMoveUP), 160);  // but drawn
}

TEST_F(SelectList, SelectsAnItemByItsObject) {
  classlib::TComponent a, b, absent;
  for (QAbstractItemView::SelectionMode mode : {QAbstractItemView::SingleSelection, QAbstractItemView::ExtendedSelection}) {
    QListWidget list;
    list.setSelectionMode(mode);
    AddListObject(list, "a", &a);
    AddListObject(list, "b", &b);
    SelectListObject(list, &b);
    EXPECT_EQ(list.currentRow(), 1) << mode;
    EXPECT_TRUE(list.item(1)->isSelected()) << mode;
    SelectListObject(list, &absent);
    EXPECT_EQ(list.currentRow(), -1) << mode;
    // A multi-select list keeps its selection; a single one has none left.
    EXPECT_EQ(list.item(1)->isSelected(), mode == QAbstractItemView::ExtendedSelection) << mode;
    list.item(0)->setSelected(true);
    list.setCurrentRow(0);
    ClearListSelection(list);
    EXPECT_TRUE(list.selectedItems().isEmpty()) << mode;
    EXPECT_EQ(list.currentRow(), mode == QAbstractItemView::ExtendedSelection ? 0 : -1) << mode;
  }
  QListWidget list;
  EXPECT_EQ(ListItemObject(*new QListWidgetItem("plain", &list)), nullptr);
}

}  // namespace
}  // namespace chart_editors
