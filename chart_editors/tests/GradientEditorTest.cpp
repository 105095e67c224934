// Covers chart_editors/KivEdiGrad.cpp: the gradient editor, modal and embedded.
#include <gtest/gtest.h>

#include <functional>

#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivPenDlg.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::ChooseItem;

using GradientEditor = ui::TWindowTest;

std::vector<bool> Enabled(std::initializer_list<QWidget*> controls) {
  std::vector<bool> enabled;
  for (QWidget* c : controls) enabled.push_back(c->isEnabled());
  return enabled;
}

struct TGradientCase {
  const char* Name;
  std::function<void(TKivGradient&)> Setup;
  bool HideEndColor;
  std::function<void(TKivGradientEditor&, ui::TScriptedDialogs&)> Act;  // ends with OK or Cancel
  bool Ok;
  std::function<void(const TKivGradient&, int changes)> Check;
};

void Visible(TKivGradient& g) { g.SetVisible(true); }

const TGradientCase GradientCases[] = {
    {"Radial enables the radial track bars and disables the middle colour",
     [](TKivGradient& g) {
       Visible(g);
       g.SetDirection(gdLeftRight);
     },
     false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(Enabled({d.TrackBar1, d.TrackBar2, d.Label2, d.Label3}), std::vector<bool>(4, false));
       EXPECT_EQ(Enabled({d.CBMid, d.BMid}), std::vector<bool>(2, true));
       ChooseItem(*d.CBDirection, gdRadial);
       EXPECT_EQ(Enabled({d.TrackBar1, d.TrackBar2, d.Label2, d.Label3}), std::vector<bool>(4, true));
       EXPECT_EQ(Enabled({d.CBMid, d.BMid}), std::vector<bool>(2, false));
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_EQ(g.Direction(), gdRadial); }},
    {"Left Right does the reverse",
     [](TKivGradient& g) {
       Visible(g);
       g.SetDirection(gdRadial);
     },
     false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       ChooseItem(*d.CBDirection, gdLeftRight);
       EXPECT_EQ(Enabled({d.TrackBar1, d.TrackBar2, d.CBMid, d.BMid}), (std::vector<bool>{false, false, true, true}));
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_EQ(g.Direction(), gdLeftRight); }},
    {"an invisible gradient disables the colours until made visible", [](TKivGradient&) {}, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(Enabled({d.CBDirection, d.BStart, d.BMid, d.BEnd, d.BSwap, d.CBMid}), std::vector<bool>(6, false));
       ui::ClickButton(d.CBVisible);
       EXPECT_EQ(Enabled({d.CBDirection, d.BStart, d.BMid, d.BEnd, d.BSwap, d.CBMid}), std::vector<bool>(6, true));
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_TRUE(g.Visible()); }},
    {"without an end colour the colours stay enabled", [](TKivGradient&) {}, true,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_TRUE(d.BEnd->isHidden());
       EXPECT_TRUE(d.BSwap->isHidden());
       EXPECT_EQ(Enabled({d.BStart, d.BMid, d.CBMid}), std::vector<bool>(3, true));
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int changes) { EXPECT_EQ(changes, 0); }},
    {"Swap exchanges start and end",
     [](TKivGradient& g) {
       Visible(g);
       g.SetStartColor(0x00FFFF);
       g.SetEndColor(0xFFFFFF);
     },
     false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       QTest::mouseClick(d.BSwap, Qt::LeftButton);
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true,
     [](const TKivGradient& g, int) {
       EXPECT_EQ(g.StartColor(), 0xFFFFFFu);
       EXPECT_EQ(g.EndColor(), 0x00FFFFu);
     }},
    {"Balance 37 shows 37 %", Visible, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.LabelBalance->text(), "50 %");
       d.SBBalance->setSliderPosition(37);
       EXPECT_EQ(d.LabelBalance->text(), "37 %");
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_EQ(g.Balance(), 37); }},
    {"the radial track bars move the centre", [](TKivGradient& g) { g.SetDirection(gdRadial); }, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       d.TrackBar1->setSliderPosition(-120);
       d.TrackBar2->setSliderPosition(45);
       EXPECT_EQ(d.LRadialX->text(), "-120");
       EXPECT_EQ(d.LRadialY->text(), "45");
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true,
     [](const TKivGradient& g, int) {
       EXPECT_EQ(g.RadialX(), -120);
       EXPECT_EQ(g.RadialY(), 45);
     }},
    {"No Middle switches the middle colour off and back on",
     [](TKivGradient& g) {
       Visible(g);
       g.SetMidColor(clRed);
     },
     false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_FALSE(d.CBMid->isChecked());
       ui::ClickButton(d.CBMid);
       EXPECT_EQ(dynamic_cast<TKivGradient*>(d.Gradient())->MidColor(), clNone);
       ui::ClickButton(d.CBMid);
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_EQ(g.MidColor(), clRed); }},
    {"a middle colour chosen unchecks No Middle", Visible, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs& dialogs) {
       EXPECT_TRUE(d.CBMid->isChecked());
       dialogs.ColorAnswers.push_back(clBlue);
       QTest::mouseClick(d.BMid, Qt::LeftButton);
       EXPECT_FALSE(d.CBMid->isChecked());
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true, [](const TKivGradient& g, int) { EXPECT_EQ(g.MidColor(), clBlue); }},
    {"Cancel after changes puts the gradient back and reports it", Visible, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       ChooseItem(*d.CBDirection, gdFromCenter);
       QTest::mouseClick(d.BSwap, Qt::LeftButton);
       QTest::mouseClick(d.BCancel, Qt::LeftButton);
     },
     false,
     [](const TKivGradient& g, int changes) {
       EXPECT_EQ(g.Direction(), gdTopBottom);
       EXPECT_EQ(g.StartColor(), clWhite);
       EXPECT_EQ(changes, 5);  // the set-up, the direction, start and end swapped, the restore
     }},
    {"Cancel without a change leaves the gradient alone", Visible, false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) { QTest::keyClick(&d, Qt::Key_Escape); }, false,
     [](const TKivGradient& g, int changes) { EXPECT_EQ(changes, 1); }},
    {"values out of the controls' ranges load without being written back",
     [](TKivGradient& g) {
       g.SetBalance(150);
       g.SetRadialX(500);
       g.SetDirection(gdRadial);
     },
     false,
     [](TKivGradientEditor& d, ui::TScriptedDialogs&) {
       EXPECT_EQ(d.LabelBalance->text(), "150 %");
       EXPECT_EQ(d.LRadialX->text(), "500");
       QTest::mouseClick(d.BOk, Qt::LeftButton);
     },
     true,
     [](const TKivGradient& g, int changes) {
       EXPECT_EQ(g.Balance(), 150);
       EXPECT_EQ(g.RadialX(), 500);
       EXPECT_EQ(changes, 3);  // the set-up only
     }},
};

TEST_F(GradientEditor, EditsLiveAndCancelsWhenModified) {
  for (const TGradientCase& c : GradientCases) {
    int changes = 0;
    TKivGradient gradient([&changes] { ++changes; });
    c.Setup(gradient);
    AnswerModal<TKivGradientEditor>(FDialogs, [&](TKivGradientEditor& d) {
      SCOPED_TRACE(c.Name);
      EXPECT_EQ(d.windowTitle(), "Gradient Editor");
      c.Act(d, FDialogs);
    });
    EXPECT_EQ(EditGradientModal(nullptr, gradient, c.HideEndColor), c.Ok) << c.Name;
    {
      SCOPED_TRACE(c.Name);
      c.Check(gradient, changes);
    }
    FDialogs.ExpectAllUsed();
  }
}

TEST_F(GradientEditor, HideVisibleHidesTheBox) {
  TKivGradient gradient;
  AnswerModal<TKivGradientEditor>(FDialogs, [](TKivGradientEditor& d) {
    EXPECT_TRUE(d.CBVisible->isHidden());
    EXPECT_FALSE(d.BEnd->isHidden());
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  EXPECT_TRUE(EditGradientModal(nullptr, gradient, false, true));
}

// The darkest pixel of a label's text: black while enabled, grey while not.
int DarkestText(QWidget& window, QWidget& label) {
  const QImage shot = window.grab().toImage();
  const QRect area(label.mapTo(&window, QPoint(0, 0)), label.size());
  int darkest = 255;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) darkest = std::min(darkest, qGray(shot.pixel(x, y)));
  return darkest;
}

TEST_F(GradientEditor, RadialOptionsShowEnabledOnlyForRadial) {
  TKivGradient gradient;
  gradient.SetVisible(true);
  TKivGradientEditor d;
  d.SetTag(&gradient);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.PageControl1->setCurrentWidget(d.TabSheet2);
  const int disabled = DarkestText(d, *d.Label2);
  ChooseItem(*d.CBDirection, gdRadial);
  d.TrackBar1->setSliderPosition(100);
  ui::Screenshot(d, "gradient_editor_radial");
  const int enabled = DarkestText(d, *d.Label2);
  EXPECT_LT(enabled, 60);
  EXPECT_GT(disabled, enabled + 40);
  // The track bar's handle stands right of its middle.
  const QImage bar = d.TrackBar1->grab().toImage();
  const QImage centred = [&] {
    d.TrackBar1->setSliderPosition(0);
    return d.TrackBar1->grab().toImage();
  }();
  EXPECT_NE(bar, centred);
  EXPECT_EQ(gradient.RadialX(), 0);
}

TEST_F(GradientEditor, EmbeddedHasNoButtonsAndFillsFromItsGradient) {
  TKivGradient gradient;
  gradient.SetBalance(20);
  QWidget page;
  TKivGradientEditor* d = TKivGradientEditor::CreateEmbedded(&page, &gradient);
  EXPECT_TRUE(d->BOk->isHidden());
  EXPECT_TRUE(d->BCancel->isHidden());
  EXPECT_TRUE(d->AlignClient());
  EmbedEditorForm(*d, &page, &gradient);
  EXPECT_EQ(d->Gradient(), &gradient);
  EXPECT_EQ(d->LabelBalance->text(), "20 %");
  EXPECT_EQ(d->SBBalance->value(), 20);
}

}  // namespace
}  // namespace chart_editors
