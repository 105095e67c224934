// Covers chart_editors/KivCustomShapeEditor.cpp, chart_editors/KivEdiFont.cpp
// and chart_editors/KivShadowEditor.cpp: the shape editor with its embedded
// pages, the font editor and the shadow editor.
#include <gtest/gtest.h>

#include <functional>

#include "chart/ChartControl.h"
#include "chart/testing/RecordingHost.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/KivCustomShapeEditor.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::ChooseItem;
using testing::CountPixels;
using testing::Pixel;
using testing::TypeText;

// A shape on a chart whose window counts the repaints it is asked for.
class ShapeEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FChart.SetHost(&FHost);
  }
  void TearDown() override {
    FChart.SetHost(nullptr);
    ui::TWindowTest::TearDown();
  }
  // A shown shape editor on the shape.
  std::unique_ptr<TFormKivShape> Open() {
    std::unique_ptr<TFormKivShape> form(CreateShapeEditor(nullptr, &FShape));
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }

  TChart FChart;
  chart::testing::TRecordingHost FHost;
  TKivShape FShape{&FChart};
};

struct TShapeCase {
  const char* Name;
  std::function<void(TKivShape&)> Setup;
  std::function<void(TFormKivShape&, ui::TScriptedDialogs&)> Act;
  std::function<void(const TKivShape&)> Check;
};

const TShapeCase ShapeCases[] = {
    {"Bevel None disables the size, Raised enables it", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       EXPECT_FALSE(f.UDBevW->isEnabled());
       EXPECT_FALSE(f.Label3->isEnabled());
       ChooseItem(*f.CBBevel, bvRaised);
       EXPECT_TRUE(f.UDBevW->isEnabled());
       EXPECT_TRUE(f.Label3->isEnabled());
       ChooseItem(*f.CBBevel, bvNone);
       EXPECT_FALSE(f.UDBevW->isEnabled());
       ChooseItem(*f.CBBevel, bvLowered);
     },
     [](const TKivShape& s) { EXPECT_EQ(s.Bevel(), bvLowered); }},
    {"the size and transparency boxes write the shape", [](TKivShape& s) { s.SetBevel(bvRaised); },
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       TypeText(*f.EBevWidth, "7");
       TypeText(*f.EShadowTransp, "30");
     },
     [](const TKivShape& s) {
       EXPECT_EQ(s.BevelWidth(), 7);
       EXPECT_EQ(s.Transparency(), 30);
     }},
    {"round frame and transparent", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       ui::ClickButton(f.CBRound);
       ui::ClickButton(f.CBTransparent);
     },
     [](const TKivShape& s) {
       EXPECT_EQ(s.ShapeStyle(), fosRoundRectangle);
       EXPECT_TRUE(s.Transparent());
     }},
    {"a colour chosen makes the shape opaque", [](TKivShape& s) { s.SetTransparent(true); },
     [](TFormKivShape& f, ui::TScriptedDialogs& dialogs) {
       EXPECT_TRUE(f.CBTransparent->isChecked());
       dialogs.ColorAnswers.push_back(clRed);
       QTest::mouseClick(f.BBackColor, Qt::LeftButton);
       EXPECT_FALSE(f.CBTransparent->isChecked());
     },
     [](const TKivShape& s) {
       EXPECT_EQ(s.Color(), clRed);
       EXPECT_FALSE(s.Transparent());
     }},
    {"Pattern edits the brush", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs& dialogs) {
       AnswerModal<TBrushDialog>(dialogs, [](TBrushDialog& d) {
         d.LStyle->setCurrentRow(bsVertical);
         QTest::mouseClick(d.Button2, Qt::LeftButton);
       });
       QTest::mouseClick(f.Button6, Qt::LeftButton);
     },
     [](const TKivShape& s) { EXPECT_EQ(s.Brush()->Style(), bsVertical); }},
    {"Frame edits the frame pen", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs& dialogs) {
       AnswerModal<TPenDialog>(dialogs, [](TPenDialog& d) {
         ChooseItem(*d.CBStyle, psDash);
         QTest::mouseClick(d.BOk, Qt::LeftButton);
       });
       QTest::mouseClick(f.Button4, Qt::LeftButton);
     },
     [](const TKivShape& s) { EXPECT_EQ(s.Pen()->Style(), psDash); }},
    {"the shadow page writes the shadow", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       f.PC1->setCurrentWidget(f.TabShadow);
       TypeText(*f.ShadowEditor()->Edit1, "5");
       TypeText(*f.ShadowEditor()->EVertSize, "-4");
       TypeText(*f.ShadowEditor()->EShadowTransp, "60");
     },
     [](const TKivShape& s) {
       EXPECT_EQ(s.Shadow()->HorizSize(), 5);
       EXPECT_EQ(s.Shadow()->VertSize(), -4);
       EXPECT_EQ(s.Shadow()->Transparency(), 60);
     }},
    {"the text page's spacing and outline-gradient boxes write the font", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       f.PC1->setCurrentWidget(f.TabText);
       TypeText(*f.FontEditor()->Edit2, "3");
       ui::ClickButton(f.FontEditor()->CBOutGrad);
     },
     [](const TKivShape& s) {
       EXPECT_EQ(s.Font()->InterCharSize(), 3);
       EXPECT_TRUE(s.Font()->Gradient()->Outline());
     }},
    {"the gradient page writes the gradient", [](TKivShape&) {},
     [](TFormKivShape& f, ui::TScriptedDialogs&) {
       f.PC1->setCurrentWidget(f.TabGradient);
       ui::ClickButton(f.GradientEditor()->CBVisible);
       ChooseItem(*f.GradientEditor()->CBDirection, gdFromCenter);
     },
     [](const TKivShape& s) {
       EXPECT_TRUE(s.Gradient()->Visible());
       EXPECT_EQ(s.Gradient()->Direction(), gdFromCenter);
     }},
};

TEST_F(ShapeEditor, EditsTheShapeLiveOnEveryPage) {
  for (const TShapeCase& c : ShapeCases) {
    SCOPED_TRACE(c.Name);
    TKivShape shape(&FChart);
    c.Setup(shape);
    std::unique_ptr<TFormKivShape> form(CreateShapeEditor(nullptr, &shape));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_EQ(form->PC1->currentWidget(), form->TabFormat);
    c.Act(*form, FDialogs);
    c.Check(shape);
    FDialogs.ExpectAllUsed();
  }
}

TEST_F(ShapeEditor, LoadingWritesNothingBack) {
  // Values the boxes cannot show: they show them clamped, the shape keeps them.
  FShape.SetBevel(bvRaised);
  FShape.SetBevelWidth(150);
  FShape.SetTransparency(120);
  FShape.Shadow()->SetHorizSize(150);
  FShape.Shadow()->SetVertSize(-150);
  FShape.Font()->SetInterCharSize(300);
  FShape.Gradient()->SetBalance(150);
  const int before = FHost.Invalidates;
  std::unique_ptr<TFormKivShape> form = Open();
  // The editor's own pages fill again when shown: still nothing written.
  for (QWidget* page : {form->TabText, form->TabGradient, form->TabShadow, form->TabFormat})
    form->PC1->setCurrentWidget(page);
  EXPECT_EQ(FHost.Invalidates, before);
  EXPECT_EQ(FShape.BevelWidth(), 150);
  EXPECT_EQ(FShape.Transparency(), 120);
  EXPECT_EQ(FShape.Shadow()->HorizSize(), 150);
  EXPECT_EQ(FShape.Shadow()->VertSize(), -150);
  EXPECT_EQ(FShape.Font()->InterCharSize(), 300);
  EXPECT_EQ(FShape.Gradient()->Balance(), 150);
  EXPECT_EQ(form->UDBevW->value(), 100);
  EXPECT_EQ(form->ShadowEditor()->UDShadowSize->value(), 100);
  // The first user change goes through.
  TypeText(*form->EBevWidth, "9");
  EXPECT_EQ(FShape.BevelWidth(), 9);
  EXPECT_GT(FHost.Invalidates, before);
}

TEST_F(ShapeEditor, PagesMoveIntoAnotherTabWidget) {
  QTabWidget target;
  target.addTab(new QWidget, "Series");
  target.setCurrentIndex(0);
  TFormKivShape* form = InsertShapeEditorPages(target, &FShape);
  EXPECT_EQ(form->PC1->count(), 0);
  ASSERT_EQ(target.count(), 5);
  QStringList captions;
  for (int i = 0; i < target.count(); ++i) captions << target.tabText(i);
  EXPECT_EQ(captions, (QStringList{"Series", "Format", "Text", "Gradient", "Shadow"}));
  EXPECT_EQ(target.currentIndex(), 0);
  EXPECT_EQ(form->parent(), &target);
  EXPECT_TRUE(form->isHidden());
  target.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
  // The moved pages are found and work where they went.
  target.setCurrentIndex(1);
  ui::ClickButton(&ui::Control<QCheckBox>(target, "CBRound"));
  EXPECT_EQ(FShape.ShapeStyle(), fosRoundRectangle);
  target.setCurrentIndex(4);
  TypeText(ui::Control<QLineEdit>(target, "Edit1"), "8");
  EXPECT_EQ(FShape.Shadow()->HorizSize(), 8);
}

TEST_F(ShapeEditor, ThePagesShowTheShape) {
  FShape.SetColor(clRed);
  FShape.Pen()->SetColor(clBlue);
  FShape.Pen()->SetWidth(2);
  FShape.Font()->SetColor(clGreen);
  FShape.Shadow()->SetColor(clTeal);
  std::unique_ptr<TFormKivShape> form = Open();
  const char* names[] = {"shape_editor_format", "shape_editor_text", "shape_editor_gradient", "shape_editor_shadow"};
  for (int page = 0; page < 4; ++page) {
    form->PC1->setCurrentIndex(page);
    const QImage shot = ui::Screenshot(*form, names[page]);
    auto inside = [&](QWidget& w) { return QRect(w.mapTo(form.get(), QPoint(0, 0)), w.size()); };
    switch (page) {
      case 0: {
        EXPECT_GT(CountPixels(shot, inside(*form->BBackColor), clRed), 50);  // the colour swatch
        EXPECT_GT(CountPixels(shot, inside(*form->Button4), clBlue), 10);    // the frame's line
        break;
      }
      case 1:
        EXPECT_EQ(Pixel(shot, inside(*form->FontEditor()->SHText).center()), clGreen);
        break;
      case 2:
        EXPECT_TRUE(form->GradientEditor()->CBDirection->isVisible());
        EXPECT_TRUE(form->GradientEditor()->BOk->isHidden());
        break;
      case 3:
        EXPECT_GT(CountPixels(shot, inside(*form->ShadowEditor()->BShadowColor), clTeal), 50);
        break;
    }
  }
}

TEST_F(ShapeEditor, FontEditorOpensItsDialogs) {
  TKivFont& font = *FShape.Font();
  std::unique_ptr<TFormKivShape> form = Open();
  form->PC1->setCurrentWidget(form->TabText);
  TKivFontEditor& editor = *form->FontEditor();

  QFont chosen("Liberation Mono", 11);
  chosen.setItalic(true);
  FDialogs.FontAnswers.push_back(chosen);
  QTest::mouseClick(editor.Button3, Qt::LeftButton);
  EXPECT_EQ(font.Name(), "Liberation Mono");
  EXPECT_EQ(font.Size(), 11);
  EXPECT_EQ(font.Style(), FontStyleBit(fsItalic));

  FDialogs.ColorAnswers.push_back(clMaroon);
  QTest::mouseClick(editor.SHText, Qt::LeftButton);
  EXPECT_EQ(font.Color(), clMaroon);
  EXPECT_EQ(editor.SHText->BrushColor(), clMaroon);
  FDialogs.ColorAnswers.push_back(std::nullopt);
  QTest::mouseClick(editor.SHText, Qt::LeftButton);
  EXPECT_EQ(font.Color(), clMaroon);

  AnswerModal<TKivShadowEditor>(FDialogs, [](TKivShadowEditor& d) {
    EXPECT_FALSE(d.BOK->isHidden());
    TypeText(*d.Edit1, "6");
    QTest::mouseClick(d.BOK, Qt::LeftButton);
  });
  QTest::mouseClick(editor.BShadow, Qt::LeftButton);
  EXPECT_EQ(font.Shadow()->HorizSize(), 6);

  AnswerModal<TKivGradientEditor>(FDialogs, [](TKivGradientEditor& d) {
    ui::ClickButton(d.CBVisible);
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  QTest::mouseClick(editor.BGradient, Qt::LeftButton);
  EXPECT_TRUE(font.Gradient()->Visible());

  AnswerModal<TPenDialog>(FDialogs, [](TPenDialog& d) {
    EXPECT_FALSE(d.CBVisible->isChecked());  // the outline starts hidden
    ui::ClickButton(d.CBVisible);
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  QTest::mouseClick(editor.BOutline, Qt::LeftButton);
  EXPECT_TRUE(font.OutLine()->Visible());
}

TEST_F(ShapeEditor, ShadowDialogClosesWithOK) {
  TKivShadow shadow;
  AnswerModal<TKivShadowEditor>(FDialogs, [](TKivShadowEditor& d) {
    EXPECT_EQ(d.windowTitle(), "Shadow editor");
    TypeText(*d.EVertSize, "12");
    QTest::keyClick(&d, Qt::Key_Escape);  // edited live: nothing to take back
  });
  EXPECT_FALSE(EditShadowModal(nullptr, shadow));
  EXPECT_EQ(shadow.VertSize(), 12);
}

}  // namespace
}  // namespace chart_editors
