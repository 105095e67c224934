// Covers chart_editors/KivPoEdi.cpp: the series pointer editor on a series
// or a pointer, its enabling rules, its style list, its buttons, the modal
// callout pointer editor and inserting its page into a series editor.
#include <gtest/gtest.h>

#include <QAbstractItemView>

#include <memory>

#include "chart/ChartControl.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart_editors/KivBrushDlg.h"
#include "chart_editors/KivEdiGrad.h"
#include "chart_editors/KivEdiSeri.h"
#include "chart_editors/KivFuncEdit.h"
#include "chart_editors/KivPoEdi.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace chart_editors {
namespace {

using namespace chart;
using testing::AnswerModal;
using testing::ChooseItem;
using testing::InkIn;
using testing::Pixel;
using testing::TypeText;

class PointerEditor : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FChart = std::make_unique<TChart>();
    FSeries = new TPointSeries(FChart.get());
    FSeries->SetParentChart(FChart.get());
    FSeries->FillSampleValues(5);
  }
  void TearDown() override {
    FEditor.reset();
    FChart.reset();
    ui::TWindowTest::TearDown();
  }

  TSeriesPointerEditor& Open(classlib::TPersistent* tag) {
    FEditor = std::make_unique<TSeriesPointerEditor>();
    FEditor->SetTag(tag);
    FEditor->resize(440, 230);
    FEditor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FEditor.get()));
    return *FEditor;
  }

  TSeriesPointer& Pointer() const { return *FSeries->Pointer(); }

  std::unique_ptr<TChart> FChart;
  TPointSeries* FSeries = nullptr;
  std::unique_ptr<TSeriesPointerEditor> FEditor;
};

TEST_F(PointerEditor, ShowsTheSeriesPointer) {
  TSeriesPointer& p = Pointer();
  p.SetDraw3D(false);
  p.SetInflateMargins(false);
  p.SetHorizSize(7);
  p.SetVertSize(9);
  p.SetStyle(psDiamond);
  p.SetDark3D(false);
  FSeries->SetColorEachPoint(true);
  TSeriesPointerEditor& e = Open(FSeries);
  EXPECT_EQ(e.Pointer(), &p);
  EXPECT_TRUE(e.CBDrawPoint->isChecked());
  EXPECT_FALSE(e.CB3dPoint->isChecked());
  EXPECT_FALSE(e.CBInflate->isChecked());
  EXPECT_EQ(e.UDPointHorizSize->value(), 7);
  EXPECT_EQ(e.SEPointVertSize->text(), "9");
  EXPECT_EQ(e.CBStyle->currentIndex(), psDiamond);
  EXPECT_EQ(e.CBStyle->currentText(), "Diamond");
  EXPECT_FALSE(e.CBPoDark->isChecked());
  EXPECT_FALSE(e.CBColorEach->isHidden());
  EXPECT_TRUE(e.CBColorEach->isChecked());
  EXPECT_EQ(e.BPoinPenCol->Pen(), p.Pen());
  // Showing writes nothing back.
  EXPECT_EQ(p.HorizSize(), 7);
  EXPECT_FALSE(p.Draw3D());

  // A pointer of its own (a callout's) has no series to colour.
  TSeriesPointerEditor& alone = Open(&p);
  EXPECT_EQ(alone.Pointer(), &p);
  EXPECT_TRUE(alone.CBColorEach->isHidden());
}

TEST_F(PointerEditor, ControlsWriteIntoThePointerAndTheSeries) {
  TSeriesPointerEditor& e = Open(FSeries);
  TypeText(*e.SEPointHorizSize, "12");
  EXPECT_EQ(Pointer().HorizSize(), 12);
  TypeText(*e.SEPointVertSize, "3");
  EXPECT_EQ(Pointer().VertSize(), 3);
  ChooseItem(*e.CBStyle, psStar);
  EXPECT_EQ(Pointer().Style(), psStar);
  ChooseItem(*e.CBStyle, psRectangle);
  ui::ClickButton(e.CBInflate);
  EXPECT_FALSE(Pointer().InflateMargins());
  ui::ClickButton(e.CB3dPoint);
  EXPECT_FALSE(Pointer().Draw3D());
  EXPECT_FALSE(e.CBPoDark->isEnabled());
  ui::ClickButton(e.CB3dPoint);
  EXPECT_TRUE(e.CBPoDark->isEnabled());
  ui::ClickButton(e.CBPoDark);
  EXPECT_FALSE(Pointer().Dark3D());
  ui::ClickButton(e.CBColorEach);
  EXPECT_TRUE(FSeries->ColorEachPoint());
}

TEST_F(PointerEditor, ThreeDBoxesFollowTheChartAndTheStyle) {
  const bool circles = FChart->Canvas().GetSupportsFullRotation();
  for (const bool view3D : {false, true}) {
    FChart->SetView3D(view3D);
    TSeriesPointerEditor& e = Open(FSeries);
    for (int style = 0; style < 12; ++style) {
      ChooseItem(*e.CBStyle, style);
      const bool solid = style == psRectangle || style == psTriangle || style == psDownTriangle;
      const bool expected = view3D && (solid || (style == psCircle && circles));
      EXPECT_EQ(e.CB3dPoint->isEnabled(), expected) << "3D " << view3D << " style " << style;
      EXPECT_EQ(e.CBPoDark->isEnabled(), expected && e.CB3dPoint->isChecked()) << "style " << style;
    }
  }
}

TEST_F(PointerEditor, AnInvisiblePointerDisablesItsControls) {
  TSeriesPointerEditor& e = Open(FSeries);
  const std::vector<QWidget*> controls{e.CBInflate,       e.UDPointHorizSize, e.UDPointVertSize, e.BPointFillColor,
                                       e.CBStyle,         e.BPoinPenCol,      e.CBDefBrushColor, e.CB3dPoint,
                                       e.CBPoDark};
  ui::ClickButton(e.CBDrawPoint);
  EXPECT_FALSE(Pointer().Visible());
  for (QWidget* c : controls) EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
  ui::ClickButton(e.CBDrawPoint);
  EXPECT_TRUE(Pointer().Visible());
  for (QWidget* c : controls) EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
  // Shown hidden, it opens with them off.
  Pointer().SetVisible(false);
  TSeriesPointerEditor& hidden = Open(FSeries);
  EXPECT_FALSE(hidden.CBDrawPoint->isChecked());
  EXPECT_FALSE(hidden.CBStyle->isEnabled());
}

TEST_F(PointerEditor, APointerOfFixedSizesShowsNoSizeControls) {
  Pointer().SetAllowChangeSize(false);
  TSeriesPointerEditor& e = Open(FSeries);
  for (QWidget* c : std::initializer_list<QWidget*>{e.Label1, e.Label2, e.UDPointHorizSize, e.UDPointVertSize})
    EXPECT_TRUE(c->isHidden()) << c->objectName().toStdString();
  Pointer().SetAllowChangeSize(true);
  TSeriesPointerEditor& sized = Open(FSeries);
  EXPECT_FALSE(sized.UDPointHorizSize->isHidden());
}

TEST_F(PointerEditor, DefaultIsCheckedOnlyWithBothColoursDefault) {
  const struct {
    TColor Fill, Border;
    bool Checked;
  } cases[] = {{clDefault, clDefault, true}, {clRed, clDefault, false}, {clDefault, clBlack, false},
               {clRed, clBlue, false}};
  for (const auto& c : cases) {
    Pointer().SetColor(c.Fill);
    Pointer().Pen()->SetColor(c.Border);
    TSeriesPointerEditor& e = Open(FSeries);
    EXPECT_EQ(e.CBDefBrushColor->isChecked(), c.Checked) << c.Fill << " " << c.Border;
    // Only the user's click writes.
    EXPECT_EQ(Pointer().Color(), c.Fill);
  }
  // Checked: both take the default; unchecked with a default border, the border turns black.
  TSeriesPointerEditor& e = Open(FSeries);
  ui::ClickButton(e.CBDefBrushColor);
  EXPECT_EQ(Pointer().Color(), clDefault);
  EXPECT_EQ(Pointer().Pen()->Color(), clDefault);
  ui::ClickButton(e.CBDefBrushColor);
  EXPECT_EQ(Pointer().Pen()->Color(), clBlack);
  EXPECT_EQ(Pointer().Color(), clDefault);
}

TEST_F(PointerEditor, ThePatternAndGradientButtonsOpenTheirEditors) {
  TSeriesPointerEditor& e = Open(FSeries);
  Pointer().SetColor(clDefault);
  Pointer().Pen()->SetColor(clDefault);
  AnswerModal<TBrushDialog>(FDialogs, [](TBrushDialog& d) {
    QTest::mouseClick(d.LStyle->viewport(), Qt::LeftButton, {},
                      d.LStyle->visualItemRect(d.LStyle->item(bsCross)).center());
    QTest::mouseClick(d.Button2, Qt::LeftButton);
  });
  QTest::mouseClick(e.BPointFillColor, Qt::LeftButton);
  EXPECT_EQ(Pointer().Brush()->Style(), bsCross);
  // The series' pointer ends its gradient in each point's colour: no end colour to choose.
  AnswerModal<TKivGradientEditor>(FDialogs, [](TKivGradientEditor& d) {
    EXPECT_TRUE(d.BEnd->isHidden());
    ui::ClickButton(d.CBVisible);
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  QTest::mouseClick(e.BGradient, Qt::LeftButton);
  EXPECT_TRUE(Pointer().Gradient()->Visible());
  // A callout keeps its own end colour.
  TSeriesPointerEditor& callout = Open(FSeries->Marks()->Callout());
  AnswerModal<TKivGradientEditor>(FDialogs, [](TKivGradientEditor& d) {
    EXPECT_FALSE(d.BEnd->isHidden());
    QTest::mouseClick(d.BCancel, Qt::LeftButton);
  });
  QTest::mouseClick(callout.BGradient, Qt::LeftButton);
}

TEST_F(PointerEditor, TheCalloutPointerIsEditedInAModalPointerDialog) {
  TMarksCallout& callout = *FSeries->Marks()->Callout();
  AnswerModal<TSeriesPointerEditor>(FDialogs, [](TSeriesPointerEditor& d) {
    EXPECT_EQ(d.windowTitle(), "Pointer");
    EXPECT_TRUE(d.isWindow());
    EXPECT_TRUE(d.CBInflate->isHidden());
    EXPECT_TRUE(d.CBColorEach->isHidden());
    // A marks callout starts hidden, its shape greyed.
    EXPECT_FALSE(d.CBStyle->isEnabled());
    ui::ClickButton(d.CBDrawPoint);
    ChooseItem(*d.CBStyle, psCircle);
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  QWidget owner;
  EditCalloutPointerModal(&owner, callout);
  EXPECT_TRUE(callout.Visible());
  EXPECT_EQ(callout.Style(), psCircle);
}

TEST_F(PointerEditor, APageIsInsertedOnlyIntoASeriesEditor) {
  // Owned by a plain widget, by no one, or by another editor: nothing.
  QWidget plain;
  TEditorForm ofPlain(&plain);
  const int children = static_cast<int>(plain.children().size());
  EXPECT_EQ(InsertPointerEditorPage(&ofPlain, FSeries, "Pointer"), nullptr);
  EXPECT_EQ(static_cast<int>(plain.children().size()), children);
  TEditorForm orphan;
  EXPECT_EQ(InsertPointerEditorPage(&orphan, FSeries, "Pointer"), nullptr);
  TKivFuncEditor functions;
  TEditorForm ofFunctions(&functions);
  EXPECT_EQ(InsertPointerEditorPage(&ofFunctions, FSeries, "Pointer"), nullptr);
  EXPECT_EQ(testing::CountForms<TSeriesPointerEditor>(functions), 0);
  EXPECT_EQ(InsertPointerEditorPage(nullptr, FSeries, "Pointer"), nullptr);

  // Owned by a series editor: a page at index 1 that edits the tag.
  TFormKivSeries seriesEditor;
  TEditorForm page(&seriesEditor);
  TSeriesPointerEditor* inserted = InsertPointerEditorPage(&page, FSeries, "Pointer");
  ASSERT_NE(inserted, nullptr);
  EXPECT_EQ(seriesEditor.PageSeries->tabText(1), "Pointer");
  EXPECT_EQ(seriesEditor.PageSeries->widget(1), inserted->parentWidget());
  EXPECT_EQ(inserted->Pointer(), &Pointer());
  EXPECT_EQ(seriesEditor.EmbeddedForms().size(), 1u);
}

// The pixels of a list row that are not its background.
int InkOfRow(const QImage& shot, const QRect& row, int fromX, int toX) {
  const QRgb back = shot.pixel(row.right() - 2, row.top() + 1);
  int n = 0;
  for (int y = row.top(); y <= row.bottom(); ++y)
    for (int x = row.left() + fromX; x <= row.left() + toX; ++x) n += shot.pixel(x, y) != back ? 1 : 0;
  return n;
}

TEST_F(PointerEditor, ScreenshotsShowTheEditorAndTheTwelveShapes) {
  Pointer().SetColor(clRed);
  TSeriesPointerEditor& e = Open(FSeries);
  const QImage shot = ui::Screenshot(e, "pointer_editor");
  EXPECT_GT(InkIn(shot, e, *e.CBDrawPoint), 20);
  EXPECT_GT(InkIn(shot, e, *e.BPointFillColor), 20);
  // The closed box shows the square in red.
  const QRect box(e.CBStyle->mapTo(&e, QPoint(2, 2)), QSize(16, e.CBStyle->height() - 4));
  EXPECT_GT(testing::CountPixels(shot, box, clRed), 10);

  e.CBStyle->showPopup();
  QAbstractItemView& view = *e.CBStyle->view();
  ASSERT_EQ(e.CBStyle->count(), 12);
  const QImage list = ui::Screenshot(*view.viewport(), "pointer_style_list");
  for (int i = 0; i < 12; ++i) {
    const QRect row = view.visualRect(e.CBStyle->model()->index(i, 0)).intersected(list.rect());
    ASSERT_FALSE(row.isEmpty()) << i;
    const int sample = InkOfRow(list, row, 2, 13);
    if (i == psNothing) {
      EXPECT_EQ(sample, 0) << "Nothing draws nothing";
    } else {
      EXPECT_GT(sample, 0) << i;
    }
    // The filled shapes in the pointer's colour.
    const bool filled = i == psRectangle || i == psCircle || i == psTriangle || i == psDownTriangle ||
                        i == psDiamond || i == psLeftTriangle || i == psRightTriangle;
    if (filled) {
      EXPECT_GT(testing::CountPixels(list, row.adjusted(2, 0, 14 - row.width(), 0), clRed), 6) << i;
    }
    // Its name after the sample.
    EXPECT_GT(InkOfRow(list, row, 16, row.width() - 4), 20) << i;
  }
  e.CBStyle->hidePopup();
}

}  // namespace
}  // namespace chart_editors
