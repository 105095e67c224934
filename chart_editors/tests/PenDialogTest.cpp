// Covers chart_editors/KivPenDlg.cpp (the pen editor and EditChartPen),
// chart_editors/KivPenButton.cpp and the line samples of
// chart_editors/EditorSamples.cpp.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QKeyEvent>

#include <vector>

#include "chart_editors/KivPenDlg.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::ChooseItem;
using testing::CountPixels;
using testing::Pixel;
using testing::TypeText;

using PenDialog = ui::TWindowTest;

struct TPenState {
  std::int32_t Width = 1;
  TPenStyle Style = psSolid;
  bool SmallDots = false;
  bool Visible = true;
  TPenEndStyle EndStyle = esRound;
  TColor Color = clBlack;
};

void Apply(TPen& pen, const TPenState& s) {
  pen.SetWidth(s.Width);
  pen.SetStyle(s.Style);
  pen.SetColor(s.Color);
  if (auto* p = dynamic_cast<TChartPen*>(&pen)) {
    p->SetSmallDots(s.SmallDots);
    p->SetVisible(s.Visible);
    p->SetEndStyle(s.EndStyle);
  }
}

void ExpectState(const TPen& pen, const TPenState& s, const char* name) {
  EXPECT_EQ(pen.Width(), s.Width) << name;
  EXPECT_EQ(pen.Style(), s.Style) << name;
  EXPECT_EQ(pen.Color(), s.Color) << name;
  if (auto* p = dynamic_cast<const TChartPen*>(&pen)) {
    EXPECT_EQ(p->SmallDots(), s.SmallDots) << name;
    EXPECT_EQ(p->Visible(), s.Visible) << name;
    EXPECT_EQ(p->EndStyle(), s.EndStyle) << name;
  }
}

enum TPenAct { paStyle, paEndStyle, paWidth, paVisible, paColor };
struct TPenAction {
  TPenAct Act;
  int Value = 0;
};
enum TFinish { fiOK, fiCancel, fiEscape };

struct TPenCase {
  const char* Name;
  bool ChartPen;
  TPenState Before;
  std::vector<TPenAction> Actions;
  TFinish Finish;
  TPenState After;
  // What the form shows.
  int StyleItems;
  int LoadedStyleIndex;
  bool LoadedWidthEnabled;
  bool WidthEnabledAtEnd;
  bool ChangeReported;
};

const TPenState Plain{};
const TPenState Changed{4, psDot, false, false, esFlat, clRed};
const std::vector<TPenAction> ChangeAll{
    {paWidth, 4}, {paStyle, psDot}, {paEndStyle, esFlat}, {paVisible}, {paColor, static_cast<int>(clRed)}};

const TPenCase PenCases[] = {
    {"a plain pen: no Visible box, no small dots, no ends", false, {2, psDash}, {}, fiOK, {2, psDash}, 5, 1, true,
     true, false},
    {"a chart pen offers small dots and disables the width while chosen", true, Plain, {{paStyle, 5}}, fiOK,
     {1, psSolid, true}, 6, 0, true, false, true},
    {"leaving small dots enables the width again", true, {1, psDot, true}, {{paStyle, psDash}}, fiOK,
     {1, psDash, false}, 6, 5, false, true, true},
    {"Cancel with no change leaves the pen and its handler untouched", true, {3, psDot, false, false, esFlat, clBlue},
     {}, fiCancel, {3, psDot, false, false, esFlat, clBlue}, 6, 2, true, true, false},
    {"Cancel puts back every change", true, Plain, ChangeAll, fiCancel, Plain, 6, 0, true, true, true},
    {"Escape is Cancel", true, Plain, {{paWidth, 5}}, fiEscape, Plain, 6, 0, true, true, true},
    {"OK keeps every change", true, Plain, ChangeAll, fiOK, Changed, 6, 0, true, true, true},
    {"a cancelled colour dialog changes nothing", true, Plain, {{paColor, -1}}, fiCancel, Plain, 6, 0, true, true,
     false},
    {"a clear pen selects no style", true, {1, psClear}, {}, fiOK, {1, psClear}, 6, -1, true, true, false},
};

TEST_F(PenDialog, EditsLiveAndCancelsAsTheUserExpects) {
  for (const TPenCase& c : PenCases) {
    int changes = 0;
    std::unique_ptr<TPen> pen = c.ChartPen ? std::make_unique<TChartPen>() : std::make_unique<TPen>();
    Apply(*pen, c.Before);
    pen->SetOnChange([&changes] { ++changes; });
    AnswerModal<TPenDialog>(FDialogs, [&](TPenDialog& d) {
      EXPECT_EQ(d.windowTitle(), "Border Editor");
      EXPECT_EQ(d.CBVisible->isHidden(), !c.ChartPen) << c.Name;
      EXPECT_EQ(d.CBEndStyle->isHidden(), !c.ChartPen) << c.Name;
      ASSERT_EQ(d.CBStyle->count(), c.StyleItems) << c.Name;
      if (c.ChartPen) {
        EXPECT_EQ(d.CBStyle->itemText(5), "Small Dots");
      }
      EXPECT_EQ(d.CBStyle->currentIndex(), c.LoadedStyleIndex) << c.Name;
      EXPECT_EQ(d.UDWidth->isEnabled(), c.LoadedWidthEnabled) << c.Name;
      EXPECT_EQ(d.SEWidth->text().toInt(), c.Before.Width) << c.Name;
      for (const TPenAction& a : c.Actions) {
        switch (a.Act) {
          case paStyle: ChooseItem(*d.CBStyle, a.Value); break;
          case paEndStyle: ChooseItem(*d.CBEndStyle, a.Value); break;
          case paWidth: TypeText(*d.SEWidth, QString::number(a.Value)); break;
          case paVisible: ui::ClickButton(d.CBVisible); break;
          case paColor:
            FDialogs.ColorAnswers.push_back(a.Value < 0 ? std::nullopt
                                                        : std::optional<ui::TColor>(static_cast<TColor>(a.Value)));
            QTest::mouseClick(d.BColor, Qt::LeftButton);
            break;
        }
      }
      EXPECT_EQ(d.UDWidth->isEnabled(), c.WidthEnabledAtEnd) << c.Name;
      EXPECT_EQ(d.SEWidth->isEnabled(), c.WidthEnabledAtEnd) << c.Name;
      switch (c.Finish) {
        case fiOK: QTest::mouseClick(d.BOk, Qt::LeftButton); break;
        case fiCancel: QTest::mouseClick(d.BCancel, Qt::LeftButton); break;
        case fiEscape: QTest::keyClick(&d, Qt::Key_Escape); break;
      }
    });
    EXPECT_EQ(EditChartPen(nullptr, *pen), c.Finish == fiOK) << c.Name;
    ExpectState(*pen, c.After, c.Name);
    EXPECT_EQ(changes > 0, c.ChangeReported) << c.Name;
    FDialogs.ExpectAllUsed();
  }
}

TEST_F(PenDialog, HideVisibleHidesTheBoxOfAChartPen) {
  TChartPen pen;
  AnswerModal<TPenDialog>(FDialogs, [](TPenDialog& d) {
    EXPECT_TRUE(d.CBVisible->isHidden());
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  EXPECT_TRUE(EditChartPen(nullptr, pen, true));
}

TEST_F(PenDialog, TheStyleListDrawsASampleOfEveryStyle) {
  TChartPen pen;
  pen.SetColor(clRed);
  TPenDialog d;
  d.SetPen(&pen);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  ui::Screenshot(d, "pen_dialog");
  d.CBStyle->showPopup();
  QAbstractItemView* list = d.CBStyle->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
  const QImage shot = ui::Screenshot(*list->window(), "pen_style_list");
  const QPoint origin = list->viewport()->mapTo(list->window(), QPoint(0, 0));
  // Along each sample line: solid is unbroken, the dashed kinds and the small
  // dots broken, each its own way; a name follows every sample.
  std::vector<std::vector<bool>> lines;
  for (int row = 0; row < d.CBStyle->count(); ++row) {
    const QRect r = list->visualRect(d.CBStyle->model()->index(row, 0)).translated(origin);
    const int y = r.top() + (r.height() + 3) / 2;
    std::vector<bool> line;
    for (int x = r.left() + 2; x < r.left() + 30; ++x) line.push_back(Pixel(shot, {x, y}) == clRed);
    const int red = static_cast<int>(std::count(line.begin(), line.end(), true));
    if (row == 0) {
      EXPECT_EQ(red, 28);
    } else {
      EXPECT_TRUE(red > 3 && red < 28) << d.CBStyle->itemText(row).toStdString() << ": " << red;
    }
    lines.push_back(line);
    const TColor back = Pixel(shot, {r.right() - 1, r.top() + 1});
    const QRect name(r.left() + 34, r.top(), 30, r.height());
    EXPECT_GT(name.width() * name.height() - CountPixels(shot, name, back), 20) << row;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t j = i + 1; j < lines.size(); ++j) EXPECT_NE(lines[i], lines[j]) << i << " and " << j;
  EXPECT_EQ(lines.size(), 6u);
  d.CBStyle->hidePopup();
}

TEST_F(PenDialog, TheClosedStyleBoxShowsTheChosenSample) {
  TChartPen pen;
  pen.SetColor(clBlue);
  TPenDialog d;
  d.SetPen(&pen);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  const QImage box = d.CBStyle->grab().toImage();
  EXPECT_GT(CountPixels(box, box.rect(), clBlue), 20);
}

TEST_F(PenDialog, ButtonSampleIsAtMostSixWideAndLeavesThePenAlone) {
  int changes = 0;
  TChartPen pen([&changes] { ++changes; });
  pen.SetWidth(7);
  pen.SetColor(clBlue);
  pen.SetEndStyle(esFlat);
  changes = 0;
  TButtonPen b;
  b.LinkPen(&pen);
  ASSERT_EQ(b.Pen(), &pen);
  const QImage face = b.grab().toImage();
  const int x = b.width() - 12;
  EXPECT_EQ(CountPixels(face, QRect(x, 0, 1, b.height()), clBlue), 6);
  EXPECT_EQ(pen.Width(), 7);
  EXPECT_EQ(changes, 0);
  // Narrow pens keep their width; a disabled button shows no sample.
  pen.SetWidth(3);
  EXPECT_EQ(CountPixels(b.grab().toImage(), QRect(x, 0, 1, b.height()), clBlue), 3);
  b.setEnabled(false);
  EXPECT_EQ(CountPixels(b.grab().toImage(), QRect(x, 0, 1, b.height()), clBlue), 0);
}

TEST_F(PenDialog, ButtonFiresItsClickOnlyAfterOK) {
  TChartPen pen;
  TButtonPen b;
  int clicks = 0;
  b.OnClick = [&clicks] { ++clicks; };
  b.click();  // no pen: an ordinary click
  EXPECT_EQ(clicks, 1);
  b.LinkPen(&pen);
  b.SetHideVisible(true);
  AnswerModal<TPenDialog>(FDialogs, [](TPenDialog& d) {
    EXPECT_TRUE(d.CBVisible->isHidden());
    QTest::mouseClick(d.BCancel, Qt::LeftButton);
  });
  b.click();
  EXPECT_EQ(clicks, 1);
  AnswerModal<TPenDialog>(FDialogs, [](TPenDialog& d) {
    ChooseItem(*d.CBStyle, psDot);
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  b.click();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(pen.Style(), psDot);
}

}  // namespace
}  // namespace chart_editors
