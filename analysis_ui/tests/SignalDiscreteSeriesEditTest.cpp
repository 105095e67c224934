// The discrete signal series' editor page, driven through its controls as a
// user drives them: filled without writing back, each control writing its
// setting, the enabling rules, the colour and pen buttons, the page inside
// the series editor with the pointer page beside it, a series that goes
// while the page shows it, and its picture.
// Covers: analysis_ui/SignalDiscreteSeriesEdit.cpp.
#include <gtest/gtest.h>

#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis_ui/SignalDiscreteSeriesEdit.h"
#include "chart/ChartControl.h"
#include "chart/series/SeriesRegistry.h"
#include "chart_editors/KivEdiSeri.h"
#include "chart_editors/KivLisB.h"
#include "chart_editors/KivPoEdi.h"
#include "chart_editors/tests/EditorTestSupport.h"

namespace analysis_ui {
namespace {

using chart_editors::TEditorForm;
using chart_editors::TFormKivSeries;
using chart_editors::TPenDialog;
using chart_editors::TSeriesPointerEditor;
using chart_editors::testing::AnswerModal;
using chart_editors::testing::FindForm;
using chart_editors::testing::InkIn;
using chart_editors::testing::Pixel;
using chart_editors::testing::TypeText;

class SignalDiscreteSeriesEdit : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FChart = std::make_unique<chart::TChart>();
    FSeries = new TSignalDiscreteSeries(FChart.get());
    FSeries->SetName("Samples");
    FSeries->SetTitle("Samples");
    FSeries->SetParentChart(FChart.get());
    FSeries->FillSampleValues(8);
    FSeries->SetSeriesColor(chart::clRed);
  }
  void TearDown() override {
    FEditor.reset();
    FSeriesEditor.reset();
    FChart.reset();
    ui::TWindowTest::TearDown();
  }

  // The page on its own, as a window.
  TSignalDiscreteSeriesEditor& Open(classlib::TPersistent* tag) {
    FEditor = std::make_unique<TSignalDiscreteSeriesEditor>();
    FEditor->SetTag(tag);
    FEditor->resize(360, 160);
    FEditor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FEditor.get()));
    return *FEditor;
  }

  // The series editor as the chart editor opens it on series.
  TFormKivSeries& OpenSeriesEditor(chart::TChartSeries& series) {
    FSeriesEditor = std::make_unique<TFormKivSeries>();
    std::vector<std::pair<std::string, chart::TChartSeries*>> items;
    chart::FillSeriesItems(items, *FChart);
    for (const auto& [title, s] : items)
      chart_editors::AddComboObject(*FSeriesEditor->CBSeries, QString::fromStdString(title), s);
    FSeriesEditor->CBSeries->setCurrentIndex(chart_editors::FindComboObject(*FSeriesEditor->CBSeries, &series));
    FSeriesEditor->CBSeriesChange();
    FSeriesEditor->resize(520, 440);
    FSeriesEditor->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FSeriesEditor.get()));
    return *FSeriesEditor;
  }

  std::unique_ptr<chart::TChart> FChart;
  TSignalDiscreteSeries* FSeries = nullptr;
  std::unique_ptr<TSignalDiscreteSeriesEditor> FEditor;
  std::unique_ptr<TFormKivSeries> FSeriesEditor;
};

TEST_F(SignalDiscreteSeriesEdit, ShowsTheSeriesWithoutWritingItBack) {
  FSeries->SetYOrigin(2.6);
  FSeries->SetColorEachPoint(false);
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  EXPECT_EQ(e.Series(), FSeries);
  EXPECT_EQ(e.CBColorEach->text(), "Color &Each");
  EXPECT_EQ(e.BAreaColor->text(), "&Color...");
  EXPECT_EQ(e.CBUseOrigin->text(), "&Use Origin");
  EXPECT_EQ(e.BAreaLinesPen->text(), "&Lines...");
  EXPECT_EQ(e.GBColor->title(), "Color:");
  EXPECT_FALSE(e.CBColorEach->isChecked());
  EXPECT_FALSE(e.CBUseOrigin->isChecked());
  // The up-down holds the origin rounded; the series keeps its own value.
  EXPECT_EQ(e.UDOrigin->value(), 3);
  EXPECT_EQ(e.EOrigin->text(), "3");
  EXPECT_EQ(FSeries->YOrigin(), 2.6);
  EXPECT_FALSE(e.UDOrigin->isEnabled());
  EXPECT_FALSE(e.EOrigin->isEnabled());
  EXPECT_TRUE(e.BAreaColor->isEnabled());
  EXPECT_EQ(e.BAreaLinesPen->Pen(), FSeries->LinePen());
  EXPECT_EQ(e.BAreaColor->SymbolColor(), chart::clRed);
}

TEST_F(SignalDiscreteSeriesEdit, AnOriginBeyondTheUpDownShowsAtItsEnd) {
  FSeries->SetYOrigin(-1e12);
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  EXPECT_EQ(e.UDOrigin->value(), -TSignalDiscreteSeriesEditor::OriginLimit);
  EXPECT_EQ(FSeries->YOrigin(), -1e12);
}

TEST_F(SignalDiscreteSeriesEdit, EachControlWritesItsSetting) {
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  ui::ClickButton(e.CBUseOrigin);
  EXPECT_TRUE(FSeries->UseYOrigin());
  EXPECT_TRUE(e.UDOrigin->isEnabled());
  TypeText(*e.EOrigin, "-7");
  EXPECT_EQ(FSeries->YOrigin(), -7);
  QTest::keyClick(e.EOrigin, Qt::Key_Up);
  EXPECT_EQ(FSeries->YOrigin(), -6);
  ui::ClickButton(e.CBUseOrigin);
  EXPECT_FALSE(FSeries->UseYOrigin());
  EXPECT_FALSE(e.UDOrigin->isEnabled());

  ui::ClickButton(e.CBColorEach);
  EXPECT_TRUE(FSeries->ColorEachPoint());
  EXPECT_FALSE(e.BAreaColor->isEnabled());
  ui::ClickButton(e.CBColorEach);
  EXPECT_FALSE(FSeries->ColorEachPoint());
  EXPECT_TRUE(e.BAreaColor->isEnabled());
}

TEST_F(SignalDiscreteSeriesEdit, TheColourButtonEditsTheSeriesColour) {
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  FDialogs.ColorAnswers.push_back(std::nullopt);
  QTest::mouseClick(e.BAreaColor, Qt::LeftButton);
  EXPECT_EQ(FSeries->SeriesColor(), chart::clRed);
  FDialogs.ColorAnswers.push_back(chart::clBlue);
  QTest::mouseClick(e.BAreaColor, Qt::LeftButton);
  EXPECT_EQ(FSeries->SeriesColor(), chart::clBlue);
}

TEST_F(SignalDiscreteSeriesEdit, TheLinesButtonEditsTheStemPen) {
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  AnswerModal<TPenDialog>(FDialogs, [](TPenDialog& d) {
    TypeText(*d.SEWidth, "3");
    QTest::mouseClick(d.BOk, Qt::LeftButton);
  });
  QTest::mouseClick(e.BAreaLinesPen, Qt::LeftButton);
  EXPECT_EQ(FSeries->LinePen()->Width(), 3);
}

TEST_F(SignalDiscreteSeriesEdit, WithoutADiscreteSeriesNothingCanBeChanged) {
  chart::TPointSeries other;
  TSignalDiscreteSeriesEditor& e = Open(&other);
  EXPECT_EQ(e.Series(), nullptr);
  for (QWidget* c : std::vector<QWidget*>{e.CBColorEach, e.BAreaColor, e.CBUseOrigin, e.UDOrigin, e.BAreaLinesPen})
    EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
}

TEST_F(SignalDiscreteSeriesEdit, ASeriesThatGoesLeavesThePageWithNothingToEdit) {
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  delete FSeries;
  FSeries = nullptr;
  EXPECT_EQ(e.Series(), nullptr);
  EXPECT_FALSE(e.CBUseOrigin->isEnabled());
  EXPECT_FALSE(e.BAreaColor->isEnabled());
  EXPECT_EQ(e.BAreaLinesPen->Pen(), nullptr);
  // Painting the buttons again reads nothing of the series.
  e.grab();
}

TEST_F(SignalDiscreteSeriesEdit, IsTheFormatPageOfTheSeriesEditorWithThePointerPageBesideIt) {
  TFormKivSeries& s = OpenSeriesEditor(*FSeries);
  EXPECT_EQ(s.LabelSeriesClass->text(), "Signal point: Samples");
  const QTabWidget& pages = *s.PageSeries;
  EXPECT_TRUE(pages.isTabVisible(pages.indexOf(s.TheTabSheet)));
  auto* page = FindForm<TSignalDiscreteSeriesEditor>(*s.TheTabSheet);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Series(), FSeries);
  EXPECT_EQ(pages.tabText(1), "Pointer");
  auto* pointer = FindForm<TSeriesPointerEditor>(*pages.widget(1));
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(pointer->Pointer(), FSeries->Pointer());
  // Both pages edit the series the editor shows.
  ui::ClickButton(page->CBUseOrigin);
  EXPECT_TRUE(FSeries->UseYOrigin());
  pointer->CBDrawPoint->click();
  EXPECT_FALSE(FSeries->Pointer()->Visible());
}

TEST_F(SignalDiscreteSeriesEdit, TheHighLowKindHasNoFormatPage) {
  auto* band = new TSignalHighLowSeries(FChart.get());
  band->SetTitle("Band");
  band->SetParentChart(FChart.get());
  band->FillSampleValues(6);
  TFormKivSeries& s = OpenSeriesEditor(*band);
  EXPECT_EQ(s.LabelSeriesClass->text(), "Signal high-low: Band");
  EXPECT_FALSE(s.PageSeries->isTabVisible(s.PageSeries->indexOf(s.TheTabSheet)));
}

TEST_F(SignalDiscreteSeriesEdit, ThePictureShowsTheSeriesColourAndTheDisabledOrigin) {
  TSignalDiscreteSeriesEditor& e = Open(FSeries);
  const QImage shot = ui::Screenshot(e, "signal_discrete_series_editor");
  const chart::TRect swatch = e.BAreaColor->SwatchRect();
  const QPoint centre = e.BAreaColor->mapTo(&e, QPoint((swatch.Left + swatch.Right) / 2, (swatch.Top + swatch.Bottom) / 2));
  EXPECT_EQ(Pixel(shot, centre), chart::clRed);
  // Enabled captions in dark letters, the disabled origin's number in grey.
  EXPECT_GT(InkIn(shot, e, *e.CBUseOrigin), 0);
  EXPECT_GT(InkIn(shot, e, *e.BAreaLinesPen), 0);
  EXPECT_EQ(InkIn(shot, e, *e.EOrigin), 0);
  ui::ClickButton(e.CBUseOrigin);
  EXPECT_GT(InkIn(ui::Screenshot(e, "signal_discrete_series_editor_origin"), e, *e.EOrigin), 0);
}

}  // namespace
}  // namespace analysis_ui
