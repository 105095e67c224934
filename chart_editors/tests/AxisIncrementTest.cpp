// Covers chart_editors/KivAxisIncr.cpp (the axis increment dialog and its
// date-time texts) and chart_editors/RadioGroup.cpp.
#include <gtest/gtest.h>

#include <functional>

#include "chart_editors/KivAxisIncr.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/ui/UserDialogs.h"

namespace chart_editors {
namespace {

using testing::AnswerModal;
using testing::ChooseItem;
using testing::CountPixels;
using testing::TypeText;

TEST(DateTimeIncrementText, DaysThenTheTimeOfTheRest) {
  struct Case {
    double Days;
    const char* Text;
  } cases[] = {
      {1.5, "1 12:00:00"},        {2.25, "2 06:00:00"},         {0.5, "12:00:00"},
      {1, "1"},                   {7, "7"},                     {0.25, "06:00:00"},
      {0, "00:00:01"},            {-3, "00:00:01"},             {1.0 / 86400, "00:00:01"},
      {1.0 / 86400000, "00:00:00.001"}, {1 + 90.5 / 86400, "1 00:01:30.500"},
      // Just short of two days is two days, not one and a midnight.
      {2 - 1e-10, "2"},           {365, "365"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateTimeIncrementText(c.Days), c.Text) << c.Days;
  EXPECT_EQ(DateTimeIncrementText(std::nan("")), "00:00:01");
}

TEST(DateTimeIncrementText, ReadsBackWhatItShows) {
  for (double days : {1.5, 2.25, 0.5, 3.0, 1.0 / 86400000, 12.0 + 1234.0 / 86400000, 0.75, 182.0})
    EXPECT_NEAR(DateTimeIncrementFromText(DateTimeIncrementText(days)), days, 0.5 / 86400000) << days;
  struct Case {
    const char* Text;
    double Days;
  } cases[] = {{"2 06:00:00", 2.25}, {"0.5", 0.5}, {"12:00:00", 0.5}, {" 3 ", 3}, {"1 6:00", 1.25}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(DateTimeIncrementFromText(c.Text), c.Days) << c.Text;
  for (const char* bad : {"abc", "2 xx", "x 06:00:00", ""})
    EXPECT_THROW(DateTimeIncrementFromText(bad), classlib::EConvertError) << bad;
}

using AxisIncrement = ui::TWindowTest;

struct TIncrementCase {
  const char* Name;
  bool IsDateTime, IsExact;
  double Increment;
  std::uint8_t Step;
  std::function<void(TAxisIncrement&, ui::TScriptedDialogs&)> Act;
  bool Ok;
  double IncrementAfter;
};

void Custom(TAxisIncrement& d, const char* text) {
  TypeText(*d.ECustom, text);
  QTest::mouseClick(d.BOk, Qt::LeftButton);
}

const TIncrementCase IncrementCases[] = {
    {"2 06:00:00 is 2.25 days", true, false, 1, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) { Custom(d, "2 06:00:00"); }, true, 2.25},
    {"0.5 is half a day", true, false, 1, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) { Custom(d, "0.5"); }, true, 0.5},
    {"12:00:00 is half a day", true, false, 1, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) { Custom(d, "12:00:00"); }, true, 0.5},
    {"1.5 days show as 1 12:00:00", true, false, 1.5, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.ECustom->text(), "1 12:00:00");
       EXPECT_EQ(d.RadioGroup1->ItemIndex(), TAxisIncrement::CustomItem);
       EXPECT_EQ(d.CBSteps->currentIndex(), -1);
       EXPECT_FALSE(d.CBSteps->isEnabled());
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, 1.5},
    {"a text that is no number keeps the plain dialog open", false, false, 0.25, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs& dialogs) {
       EXPECT_TRUE(d.RadioGroup1->isHidden());
       EXPECT_TRUE(d.CBSteps->isHidden());
       EXPECT_TRUE(d.CBExact->isHidden());
       EXPECT_EQ(d.ECustom->text(), "0.25");
       Custom(d, "abc");
       ASSERT_EQ(dialogs.Shown.size(), 1u);
       EXPECT_EQ(dialogs.Shown[0].Text, "Incorrect value. Reason: 'abc' is not a valid floating point value");
       EXPECT_TRUE(d.isVisible());
       EXPECT_EQ(d.result(), QDialog::Rejected);
       Custom(d, "2.5");
     },
     true, 2.5},
    {"a time that does not read keeps the dialog open", true, false, 1, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs& dialogs) {
       Custom(d, "2 xx");
       ASSERT_EQ(dialogs.Shown.size(), 1u);
       EXPECT_EQ(dialogs.Shown[0].Text, "Incorrect value. Reason: 'xx' is not a valid time");
       QTest::mouseClick(d.BCancel, Qt::LeftButton);
     },
     false, 1},
    {"One Day gives one day", true, true, 1.0 / 24, chart::dtOneHour,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.RadioGroup1->ItemIndex(), TAxisIncrement::StandardItem);
       EXPECT_EQ(d.CBSteps->currentText(), "One Hour");
       EXPECT_TRUE(d.ECustom->text().isEmpty());
       EXPECT_FALSE(d.ECustom->isEnabled());
       ChooseItem(*d.CBSteps, d.CBSteps->findText("One Day"));
       EXPECT_EQ(d.Step(), chart::dtOneDay);
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, 1},
    {"One Year can be shown and chosen", true, true, 365, chart::dtOneYear,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.CBSteps->currentText(), "One Year");
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, 365},
    {"Standard without a step starts at the first", true, true, 0.3, chart::dtNone,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.RadioGroup1->ItemIndex(), TAxisIncrement::CustomItem);
       ui::ClickButton(d.RadioGroup1->Item(TAxisIncrement::StandardItem));
       EXPECT_EQ(d.CBSteps->currentText(), "One Millisecond");
       EXPECT_TRUE(d.CBSteps->isEnabled());
       EXPECT_FALSE(d.ECustom->isEnabled());
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, 1.0 / 86400000},
    {"unchecking Exact goes back to Custom", true, true, 0.25, chart::dtSixHours,
     [](TAxisIncrement& d, ui::TScriptedDialogs&) {
       EXPECT_TRUE(d.CBExact->isChecked());
       ui::ClickButton(d.CBExact);
       EXPECT_FALSE(d.IsExact());
       EXPECT_EQ(d.RadioGroup1->ItemIndex(), TAxisIncrement::CustomItem);
       EXPECT_TRUE(d.ECustom->isEnabled());
       EXPECT_FALSE(d.CBSteps->isEnabled());
       EXPECT_EQ(d.ECustom->text(), "06:00:00");
       ui::ClickButton(d.RadioGroup1->Item(TAxisIncrement::StandardItem));
       EXPECT_TRUE(d.IsExact());
       EXPECT_EQ(d.CBSteps->currentText(), "Six Hours");
       QTest::keyClick(&d, Qt::Key_Escape);
     },
     false, 0.25},
};

TEST_F(AxisIncrement, AsksForAPlainOrADateTimeIncrement) {
  for (const TIncrementCase& c : IncrementCases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TAxisIncrement> form = CreateModalEditorForm<TAxisIncrement>(nullptr);
    form->SetIsDateTime(c.IsDateTime);
    form->SetIsExact(c.IsExact);
    form->SetIncrement(c.Increment);
    form->SetStep(c.Step);
    AnswerModal<TAxisIncrement>(FDialogs, [&](TAxisIncrement& d) {
      EXPECT_EQ(d.windowTitle(), "Axis Increment");
      c.Act(d, FDialogs);
    });
    EXPECT_EQ(ui::ShowModal(*form) == QDialog::Accepted, c.Ok);
    EXPECT_DOUBLE_EQ(form->Increment(), c.IncrementAfter);
    FDialogs.Shown.clear();
    FDialogs.ExpectAllUsed();
  }
}

// The darkest pixel inside a control, as the window shows it.
int Darkest(const QImage& shot, QWidget& window, QWidget& control) {
  const QRect area(control.mapTo(&window, QPoint(0, 0)), control.size());
  int darkest = 255;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) darkest = std::min(darkest, qGray(shot.pixel(x, y)));
  return darkest;
}

// The pixels at the left of an edit that stand out from its empty right end:
// its text, selected or not.
int TextPixels(const QImage& shot, QWidget& window, QWidget& edit) {
  const QRect area(edit.mapTo(&window, QPoint(3, 3)), QSize(60, edit.height() - 6));
  const int empty = qGray(shot.pixel(edit.mapTo(&window, QPoint(edit.width() - 6, edit.height() / 2))));
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += std::abs(qGray(shot.pixel(x, y)) - empty) > 80 ? 1 : 0;
  return n;
}

TEST_F(AxisIncrement, BothModesOnTheScreen) {
  for (const bool dateTime : {true, false}) {
    std::unique_ptr<TAxisIncrement> form = CreateModalEditorForm<TAxisIncrement>(nullptr);
    TAxisIncrement& d = *form;
    d.SetIsDateTime(dateTime);
    d.SetIncrement(dateTime ? 2.25 : 0.125);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    const QImage shot = ui::Screenshot(d, dateTime ? "axis_increment_datetime" : "axis_increment_plain");
    // The increment's text is written in its box.
    EXPECT_GT(TextPixels(shot, d, *d.ECustom), 30);
    EXPECT_EQ(d.ECustom->text(), dateTime ? "2 06:00:00" : "0.125");
    if (dateTime) {
      // The radio group's captions and the exact switch are on the window.
      EXPECT_LT(Darkest(shot, d, *d.RadioGroup1->Item(TAxisIncrement::CustomItem)), 80);
      EXPECT_LT(Darkest(shot, d, *d.CBExact), 80);
    } else {
      EXPECT_FALSE(d.RadioGroup1->isVisible());
      EXPECT_FALSE(d.CBExact->isVisible());
      // The box stands beside OK, with its caption above it.
      const QRect box(d.ECustom->mapTo(&d, QPoint(0, 0)), d.ECustom->size());
      EXPECT_LT(box.top(), d.BCancel->mapTo(&d, QPoint(0, 0)).y() + d.BCancel->height());
      EXPECT_LT(d.Label1->mapTo(&d, QPoint(0, 0)).y(), box.top());
    }
  }
}

}  // namespace
}  // namespace chart_editors
