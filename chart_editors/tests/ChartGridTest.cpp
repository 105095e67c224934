// Covers chart_editors/KivChartGrid.cpp (the value grid and its navigator),
// chart_editors/ChartGridModel.cpp and chart_editors/ChartGridHeaders.cpp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstring>
#include <memory>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/series/LineSeries.h"
#include "chart_editors/ChartGridHeaders.h"
#include "chart_editors/KivChartGrid.h"
#include "chart_editors/tests/EditorTestSupport.h"
#include "platform/classlib/SysUtils.h"

namespace chart_editors {
namespace {

using chart::TChart;
using chart::TChartSeries;
using chart::TLineSeries;
using testing::CountPixels;

constexpr int R0 = TCustomChartGrid::FixedRows;  // the grid row of the first point

// A chart, a grid over it and its navigator in one window.
class ChartGrid : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    FChart = std::make_unique<TChart>();
    auto* layout = new QVBoxLayout(&FWindow);
    FGrid = new TChartGrid(&FWindow);
    FNavigator = new TChartGridNavigator(&FWindow);
    layout->addWidget(FGrid);
    layout->addWidget(FNavigator);
    FNavigator->SetGrid(FGrid);
    FWindow.resize(420, 300);
    FWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FWindow));
    QApplication::setActiveWindow(&FWindow);
    FGrid->setFocus();
  }
  void TearDown() override {
    FNavigator->SetGrid(nullptr);
    FGrid->SetChart(nullptr);
    ui::TWindowTest::TearDown();
  }

  TLineSeries& AddSeries(const char* title, const std::vector<double>& ys, const std::vector<double>& xs = {}) {
    auto* s = new TLineSeries(FChart.get());
    s->SetTitle(title);
    for (std::size_t i = 0; i < ys.size(); ++i) s->AddXY(xs.empty() ? static_cast<double>(i) : xs[i], ys[i]);
    s->SetParentChart(FChart.get());
    return *s;
  }

  // The in-place editor while it shows.
  QLineEdit* Editor() const {
    for (QLineEdit* e : FGrid->viewport()->findChildren<QLineEdit*>())
      if (e->isVisible()) return e;
    return nullptr;
  }

  // Types text into a cell as a user does: F2, the new text over the old, Enter.
  void TypeInto(int col, int row, const QString& text) {
    FGrid->SetCell(col, row);
    QTest::keyClick(FGrid, Qt::Key_F2);
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr) << "no editor on " << col << ", " << row;
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClicks(editor, text);
    Confirm(editor);
  }

  // Enter in the editor: the grid hears of it once the event loop runs.
  static void Confirm(QLineEdit* editor) {
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }

  bool Enabled(int button) const { return FNavigator->Buttons(button)->isEnabled(); }

  QWidget FWindow;
  std::unique_ptr<TChart> FChart;
  TChartGrid* FGrid = nullptr;
  TChartGridNavigator* FNavigator = nullptr;
};

TEST_F(ChartGrid, AChartWithoutSeriesShowsOneEmptyRowAndOffersNoEdits) {
  FGrid->SetChart(FChart.get());
  EXPECT_EQ(FGrid->RowCount(), R0 + 1);
  EXPECT_EQ(FGrid->ColCount(), 2);  // the numbers and the labels
  EXPECT_EQ(FGrid->GetEditText(1, 1), "Text");
  EXPECT_EQ(FGrid->GetEditText(1, R0), "");
  for (int b = nbFirst; b <= nbCancel; ++b) EXPECT_FALSE(Enabled(b)) << "button " << b;
  QTest::keyClick(FGrid, Qt::Key_Insert);
  QTest::keyClick(FGrid, Qt::Key_F2);
  EXPECT_FALSE(FGrid->Editing());
  FGrid->SetEditText(1, R0, "a label");
  EXPECT_EQ(FGrid->RowCount(), R0 + 1);
}

TEST_F(ChartGrid, ShowsHeadersNumbersLabelsAndFormattedValues) {
  TLineSeries& s = AddSeries("Prices", {1.5, 1234.5678, -2});
  s.Labels().SetLabel(1, "mid");
  FGrid->SetShowColors(true);
  FGrid->SetChart(FChart.get());
  // numbers, labels, colours, Y
  ASSERT_EQ(FGrid->ColCount(), 4);
  EXPECT_EQ(FGrid->RowCount(), R0 + 3);
  EXPECT_EQ(FGrid->Col(), 1);
  EXPECT_EQ(FGrid->Row(), R0);
  const struct {
    int Col, Row;
    const char* Text;
  } cells[] = {
      {0, 0, ""},    {0, 1, "#"},      {0, R0, "0"},        {0, R0 + 2, "2"},    {1, 1, "Text"},
      {2, 1, "Colors"}, {3, 1, "Y"},   {3, 0, "Prices"},    {1, R0 + 1, "mid"},  {1, R0, ""},
      {2, R0, ""},   {3, R0, "1.5"},   {3, R0 + 1, "1,234.568"}, {3, R0 + 2, "-2"},
  };
  for (const auto& c : cells) EXPECT_EQ(FGrid->GetEditText(c.Col, c.Row), c.Text) << c.Col << ", " << c.Row;
  EXPECT_EQ(FGrid->Header()->sectionSize(1), 40);  // the colours column
  // Hiding the labels drops their column.
  FGrid->SetShowLabels(false);
  EXPECT_EQ(FGrid->ColCount(), 3);
  EXPECT_EQ(FGrid->GetEditText(1, 1), "Colors");
}

struct TXCase {
  const char* Name;
  std::vector<double> Xs;
  TChartGridShow Show;
  bool Shown;
};

const TXCase XCases[] = {
    {"X values 0, 2, 4 are shown", {0, 2, 4}, cgsAuto, true},
    {"X values 0, 1, 2 are not", {0, 1, 2}, cgsAuto, false},
    {"yes shows them anyway", {0, 1, 2}, cgsYes, true},
    {"no hides even 0, 2, 4", {0, 2, 4}, cgsNo, false},
};

TEST_F(ChartGrid, ShowsXWhenTheSeriesHasItsOwn) {
  for (const TXCase& c : XCases) {
    FChart->FreeAllSeries();
    AddSeries("s", {5, 6, 7}, c.Xs);
    FGrid->SetShowXValues(c.Show);
    FGrid->SetChart(FChart.get());
    EXPECT_EQ(FGrid->ColCount(), c.Shown ? 4 : 3) << c.Name;
    EXPECT_EQ(FGrid->GetEditText(2, 1), c.Shown ? "X" : "Y") << c.Name;
    if (c.Shown) {
      EXPECT_EQ(FGrid->GetEditText(2, R0 + 1), c.Xs[1] == 2 ? "2" : "1") << c.Name;
    }
  }
}

TEST_F(ChartGrid, TypingBelowTheLastPointPadsWithNullPoints) {
  AddSeries("long", {1, 2, 3, 4, 5});
  TLineSeries& shortOne = AddSeries("short", {10, 20});
  FGrid->SetChart(FChart.get());
  ASSERT_EQ(FGrid->RowCount(), R0 + 5);
  ASSERT_EQ(FGrid->GetEditText(3, 1), "Y");
  EXPECT_EQ(FGrid->GetEditText(3, R0 + 4), "");
  TypeInto(3, R0 + 4, "7.5");
  ASSERT_EQ(shortOne.Count(), 5);
  EXPECT_TRUE(shortOne.IsNull(2));
  EXPECT_TRUE(shortOne.IsNull(3));
  EXPECT_FALSE(shortOne.IsNull(4));
  EXPECT_EQ(shortOne.YValues()->Value(4), 7.5);
  EXPECT_EQ(shortOne.StoredColor(4), chart::clDefault);
  EXPECT_EQ(FGrid->GetEditText(3, R0 + 4), "7.5");
  EXPECT_EQ(FGrid->GetEditText(3, R0 + 3), "");
  // Both series now hold data the user typed.
  for (TChartSeries* s : FChart->SeriesList()) EXPECT_TRUE(s->ManualData());
}

TEST_F(ChartGrid, AnEmptiedCellMakesThePointNullAndAValueMakesItNormal) {
  TLineSeries& s = AddSeries("s", {1, 2, 3});
  FGrid->SetChart(FChart.get());
  std::vector<std::string> committed;
  FGrid->OnSetEditText = [&](TCustomChartGrid&, int col, int row, const std::string& value) {
    committed.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
  };
  FGrid->SetCell(2, R0 + 1);
  QTest::keyClick(FGrid, Qt::Key_Delete);  // the editor opens and takes the key
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "");
  Confirm(Editor());
  EXPECT_TRUE(s.IsNull(1));
  EXPECT_EQ(FGrid->GetEditText(2, R0 + 1), "");
  TypeInto(2, R0 + 1, "4");
  EXPECT_FALSE(s.IsNull(1));
  EXPECT_EQ(s.YValues()->Value(1), 4);
  EXPECT_EQ(committed, (std::vector<std::string>{"2,3=", "2,3=4"}));
}

TEST_F(ChartGrid, ATextThatDoesNotReadKeepsTheCellInEditing) {
  TLineSeries& s = AddSeries("s", {1.25, 2});
  FGrid->SetChart(FChart.get());
  TypeInto(2, R0, "abc");
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "'abc' is not a valid floating point value");
  EXPECT_TRUE(FGrid->Editing());
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "abc");
  EXPECT_EQ(s.YValues()->Value(0), 1.25);
  // Moving away does not leave it either; the same text is not reported twice.
  QTest::keyClick(Editor(), Qt::Key_Down);
  EXPECT_EQ(FGrid->Row(), R0);
  EXPECT_TRUE(FGrid->Editing());
  EXPECT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  QTest::keyClicks(Editor(), "d");
  const QRect below = FGrid->visualRect(FGrid->Model().index(1, 1));
  QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, below.center());
  EXPECT_EQ(FGrid->Row(), R0);
  EXPECT_TRUE(FGrid->Editing());
  ASSERT_EQ(FDialogs.Shown.size(), 2u) << FDialogs.ShownTexts();
  EXPECT_EQ(FDialogs.Shown[1].Text, "'abcd' is not a valid floating point value");
  // A good text goes in, and the grid moves on as before.
  Editor()->setText("9");
  Confirm(Editor());
  EXPECT_FALSE(FGrid->Editing());
  EXPECT_EQ(s.YValues()->Value(0), 9);
  QTest::keyClick(FGrid, Qt::Key_Down);
  EXPECT_EQ(FGrid->Row(), R0 + 1);
}

TEST_F(ChartGrid, AMessageThatTakesTheFocusStillLeavesOneEditorAndOneMessage) {
  TLineSeries& s = AddSeries("s", {1.25, 2});
  FGrid->SetChart(FChart.get());
  FDialogs.MessagesTakeFocus = true;
  TypeInto(2, R0, "abc");
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  ASSERT_TRUE(FGrid->Editing());
  QLineEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "abc");
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClicks(editor, "7.5");
  Confirm(editor);
  EXPECT_EQ(s.YValues()->Value(0), 7.5);
  EXPECT_FALSE(FGrid->Editing());
  EXPECT_EQ(FWindow.focusWidget(), FGrid);
  QTest::keyClick(FGrid, Qt::Key_Down);
  EXPECT_EQ(FGrid->Row(), R0 + 1);
  const QRect first = FGrid->visualRect(FGrid->Model().index(0, 1));
  QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, first.center());
  EXPECT_EQ(FGrid->Row(), R0);
}

TEST_F(ChartGrid, ConfirmingOrCancellingAnEditLeavesTheValueExact) {
  const double exact = 1234.567890123456789;
  TLineSeries& s = AddSeries("s", {exact, 2});
  FGrid->SetChart(FChart.get());
  EXPECT_EQ(FGrid->GetEditText(2, R0), "1,234.568");
  FGrid->SetCell(2, R0);
  QTest::keyClick(FGrid, Qt::Key_F2);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text().toStdString(), classlib::FloatToStr(exact));
  Confirm(Editor());
  EXPECT_EQ(s.YValues()->Value(0), exact);
  // Typed, then cancelled with Escape or the navigator.
  QTest::keyClick(FGrid, Qt::Key_F2);
  QTest::keyClicks(Editor(), "55");
  QTest::keyClick(Editor(), Qt::Key_Escape);
  EXPECT_FALSE(FGrid->Editing());
  EXPECT_EQ(s.YValues()->Value(0), exact);
  QTest::mouseClick(FNavigator->Buttons(nbEdit), Qt::LeftButton);
  ASSERT_TRUE(FGrid->Editing());
  EXPECT_TRUE(Enabled(nbPost));
  EXPECT_TRUE(Enabled(nbCancel));
  EXPECT_FALSE(Enabled(nbInsert));
  QTest::keyClicks(Editor(), "55");
  QTest::mouseClick(FNavigator->Buttons(nbCancel), Qt::LeftButton);
  EXPECT_FALSE(FGrid->Editing());
  EXPECT_EQ(s.YValues()->Value(0), exact);
  EXPECT_FALSE(Enabled(nbPost));
  // Post writes what was typed.
  QTest::mouseClick(FNavigator->Buttons(nbEdit), Qt::LeftButton);
  Editor()->setText("12.5");
  QTest::mouseClick(FNavigator->Buttons(nbPost), Qt::LeftButton);
  EXPECT_EQ(s.YValues()->Value(0), 12.5);
}

TEST_F(ChartGrid, DownOnTheLastRowAppendsANullPointAndUpTakesItBack) {
  TLineSeries& s = AddSeries("s", {1, 2, 3});
  FGrid->SetChart(FChart.get());
  FGrid->SetCell(2, R0 + 2);
  QTest::keyClick(FGrid, Qt::Key_Down);
  ASSERT_EQ(s.Count(), 4);
  EXPECT_TRUE(s.IsNull(3));
  EXPECT_EQ(FGrid->Row(), R0 + 3);
  EXPECT_EQ(FGrid->RowCount(), R0 + 4);
  QTest::keyClick(FGrid, Qt::Key_Up);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(FGrid->Row(), R0 + 2);
  EXPECT_EQ(FGrid->RowCount(), R0 + 3);
  // A row that was given a value, or a label, stays.
  QTest::keyClick(FGrid, Qt::Key_Down);
  TypeInto(2, R0 + 3, "8");
  QTest::keyClick(FGrid, Qt::Key_Up);
  EXPECT_EQ(s.Count(), 4);
  EXPECT_EQ(FGrid->Row(), R0 + 2);
  FGrid->SetCell(2, R0 + 3);
  QTest::keyClick(FGrid, Qt::Key_Down);
  TypeInto(1, R0 + 4, "note");
  FGrid->SetCell(2, R0 + 4);
  QTest::keyClick(FGrid, Qt::Key_Up);
  EXPECT_EQ(s.Count(), 5);
  EXPECT_EQ(s.Labels().GetLabel(4), "note");
}

TEST_F(ChartGrid, TheNavigatorMovesInsertsAndDeletes) {
  TLineSeries& a = AddSeries("a", {1, 2, 3});
  TLineSeries& b = AddSeries("b", {4, 5});
  FGrid->SetChart(FChart.get());
  // On the first row only the way forward is open.
  EXPECT_FALSE(Enabled(nbFirst));
  EXPECT_FALSE(Enabled(nbPrior));
  EXPECT_TRUE(Enabled(nbNext));
  EXPECT_TRUE(Enabled(nbLast));
  EXPECT_TRUE(Enabled(nbInsert));
  EXPECT_TRUE(Enabled(nbDelete));
  EXPECT_TRUE(Enabled(nbEdit));
  QTest::mouseClick(FNavigator->Buttons(nbLast), Qt::LeftButton);
  EXPECT_EQ(FGrid->Row(), R0 + 2);
  EXPECT_TRUE(Enabled(nbFirst));
  EXPECT_FALSE(Enabled(nbNext));
  QTest::mouseClick(FNavigator->Buttons(nbPrior), Qt::LeftButton);
  EXPECT_EQ(FGrid->Row(), R0 + 1);
  QTest::mouseClick(FNavigator->Buttons(nbFirst), Qt::LeftButton);
  EXPECT_EQ(FGrid->Row(), R0);
  QTest::mouseClick(FNavigator->Buttons(nbNext), Qt::LeftButton);
  EXPECT_EQ(FGrid->Row(), R0 + 1);
  // Insert gives every series a null point and goes to the last row.
  QTest::mouseClick(FNavigator->Buttons(nbInsert), Qt::LeftButton);
  EXPECT_EQ(a.Count(), 4);
  EXPECT_EQ(b.Count(), 3);
  EXPECT_TRUE(a.IsNull(3));
  EXPECT_TRUE(b.IsNull(2));
  EXPECT_EQ(FGrid->Row(), R0 + 3);
  // Delete takes the row's point from every series that has one, and
  // numbers the X values again where they are not shown.
  FGrid->SetCell(2, R0);
  QTest::mouseClick(FNavigator->Buttons(nbDelete), Qt::LeftButton);
  ASSERT_EQ(a.Count(), 3);
  EXPECT_EQ(a.YValues()->Value(0), 2);
  EXPECT_EQ(b.YValues()->Value(0), 5);
  EXPECT_EQ(a.XValues()->Value(0), 0);
  EXPECT_EQ(a.XValues()->Value(2), 2);
}

TEST_F(ChartGrid, ShowsDateTimesAsDatesAndTimes) {
  TLineSeries& s = AddSeries("s", {10, 20}, {0.25, 1.5});
  s.XValues()->SetDateTime(true);
  FGrid->SetShowXValues(cgsYes);
  FGrid->SetChart(FChart.get());
  ASSERT_EQ(FGrid->GetEditText(2, 1), "X");
  EXPECT_EQ(FGrid->GetEditText(2, R0), "6:00:00 AM");
  EXPECT_EQ(FGrid->GetEditText(2, R0 + 1), classlib::DateTimeToStr(1.5));
  EXPECT_EQ(FGrid->GetEditText(2, R0 + 1), "12/31/1899 12:00:00 PM");
  TypeInto(2, R0 + 1, "1/1/1900 6:00:00 PM");
  EXPECT_EQ(s.XValues()->Value(1), 2.75);
  TypeInto(2, R0, "12:00");
  EXPECT_EQ(s.XValues()->Value(0), 0.5);
  TypeInto(2, R0, "noon");
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "'noon' is not a valid date and time");
  QTest::keyClick(Editor(), Qt::Key_Escape);
  EXPECT_EQ(s.XValues()->Value(0), 0.5);
}

TEST_F(ChartGrid, EditsPointColoursThroughTheColourDialog) {
  TLineSeries& s = AddSeries("s", {1, 2});
  FGrid->SetShowColors(true);
  FGrid->SetChart(FChart.get());
  int changes = 0;
  FGrid->OnChangeColor = [&](TCustomChartGrid&) { ++changes; };
  ASSERT_EQ(FGrid->GetEditText(2, 1), "Colors");
  FGrid->SetCell(2, R0 + 1);
  EXPECT_FALSE(s.ManualData());
  FDialogs.ColorAnswers.push_back(chart::clLime);
  QTest::keyClick(FGrid, Qt::Key_Return);
  EXPECT_EQ(s.ValueColor(1), chart::clLime);
  EXPECT_TRUE(s.ManualData());
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(FGrid->Editing());  // the colours column never shows the editor
  // A cancelled dialog changes nothing; a double-click and F2 open it too.
  FDialogs.ColorAnswers.push_back(std::nullopt);
  QTest::keyClick(FGrid, Qt::Key_F2);
  EXPECT_EQ(s.ValueColor(1), chart::clLime);
  EXPECT_EQ(changes, 1);
  FDialogs.ColorAnswers.push_back(chart::clBlue);
  // A double-click as a user makes it: its first click, then the second.
  const QRect cell = FGrid->visualRect(FGrid->Model().index(0, 1));
  QTest::mouseClick(FGrid->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(FGrid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(s.ValueColor(0), chart::clBlue);
  EXPECT_EQ(changes, 2);
}

TEST_F(ChartGrid, LabelsGoToEverySeriesShown) {
  TLineSeries& a = AddSeries("a", {1});
  TLineSeries& b = AddSeries("b", {1, 2, 3});
  FGrid->SetChart(FChart.get());
  TypeInto(1, R0 + 2, "last");
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.Labels().GetLabel(2), "last");
  EXPECT_EQ(b.Labels().GetLabel(2), "last");
  // Over one series only that one.
  FGrid->SetSeries(&b);
  EXPECT_EQ(FGrid->Chart(), nullptr);
  TypeInto(1, R0, "first");
  EXPECT_EQ(b.Labels().GetLabel(0), "first");
  EXPECT_EQ(a.Labels().GetLabel(0), "");
}

TEST_F(ChartGrid, ASeriesFedByAnotherIsNotEdited) {
  TLineSeries& source = AddSeries("source", {1, 2});
  TLineSeries& copy = AddSeries("copy", {});
  copy.SetDataSource(&source);
  ASSERT_EQ(copy.Count(), 2);
  FGrid->SetSeries(&copy);
  QTest::keyClick(FGrid, Qt::Key_F2);
  EXPECT_FALSE(FGrid->Editing());
  QTest::keyClick(FGrid, Qt::Key_Down);
  QTest::keyClick(FGrid, Qt::Key_Down);
  EXPECT_EQ(copy.Count(), 2);
}

TEST_F(ChartGrid, FollowsItsChartAndOutlivesItsSeries) {
  TLineSeries& a = AddSeries("a", {1, 2});
  FGrid->SetChart(FChart.get());
  EXPECT_EQ(FGrid->ColCount(), 3);
  TLineSeries& b = AddSeries("b", {1, 2, 3, 4});
  EXPECT_EQ(FGrid->ColCount(), 4);
  EXPECT_EQ(FGrid->RowCount(), R0 + 4);
  b.SetTitle("renamed");
  EXPECT_EQ(FGrid->GetEditText(3, 0), "renamed");
  delete &b;
  EXPECT_EQ(FGrid->ColCount(), 3);
  EXPECT_EQ(FGrid->RowCount(), R0 + 2);
  // The one series shown goes: the grid empties.
  FGrid->SetSeries(&a);
  delete &a;
  EXPECT_EQ(FGrid->Series(), nullptr);
  EXPECT_EQ(FGrid->ColCount(), 2);
  // And the chart shown goes.
  AddSeries("c", {1});
  FGrid->SetChart(FChart.get());
  FChart.reset();
  EXPECT_EQ(FGrid->Chart(), nullptr);
  EXPECT_EQ(FGrid->RowCount(), R0 + 1);
  FGrid->grab();
}

TEST_F(ChartGrid, ScreenshotShowsTheColoursTitlesAndValues) {
  TLineSeries& a = AddSeries("Close", {1.5, 2.5, 3.5});
  TLineSeries& b = AddSeries("Open", {4, 5, 6});
  a.SetSeriesColor(chart::clRed);
  b.SetSeriesColor(chart::clBlue);
  a.SetValueColor(1, chart::clLime);
  a.SetValueColor(2, chart::clNullPoint);
  FGrid->SetShowColors(true);
  FGrid->SetChart(FChart.get());
  FGrid->clearSelection();
  FGrid->SetCell(3, R0);
  const QImage shot = ui::Screenshot(*FGrid, "chart_grid");
  const QPoint origin = FGrid->viewport()->mapTo(FGrid, QPoint(0, 0));
  const auto cellRect = [&](int col, int row) {
    return FGrid->visualRect(FGrid->Model().index(row - R0, col - 1)).translated(origin).adjusted(3, 3, -3, -3);
  };
  const int area = cellRect(2, R0).width() * cellRect(2, R0).height();
  // The colours column: each point's colour; a null point the grid's own.
  EXPECT_EQ(CountPixels(shot, cellRect(2, R0), chart::clRed), area);
  EXPECT_EQ(CountPixels(shot, cellRect(2, R0 + 1), chart::clLime), area);
  EXPECT_EQ(CountPixels(shot, cellRect(2, R0 + 2), chart::clRed), 0);
  // The values are written in the cells' text colour.
  EXPECT_GT(CountPixels(shot, cellRect(3, R0 + 1), chart::clBlack), 5);
  EXPECT_EQ(CountPixels(shot, cellRect(3, R0 + 2), chart::clBlack), 0);  // null: empty
  // Over each series its legend symbol in its colour.
  const int headerLeft = origin.x();
  const int aLeft = headerLeft + FGrid->Header()->sectionViewportPosition(2);
  const int bLeft = headerLeft + FGrid->Header()->sectionViewportPosition(3);
  const auto symbol = [&](int left) { return QRect(left + 3, 0, 14, TChartGridHeader::TitleHeight + 2); };
  EXPECT_GT(CountPixels(shot, symbol(aLeft), chart::clRed), 0);
  EXPECT_GT(CountPixels(shot, symbol(bLeft), chart::clBlue), 0);
  EXPECT_EQ(CountPixels(shot, symbol(aLeft), chart::clBlue), 0);
  // The corner's "#" in the names' row.
  int dark = 0;
  for (int y = TChartGridHeader::TitleHeight; y < origin.y(); ++y)
    for (int x = 0; x < origin.x(); ++x) dark += qGray(shot.pixel(x, y)) < 100 ? 1 : 0;
  EXPECT_GT(dark, 3);
}

TEST_F(ChartGrid, KnowsOwnXValuesAtEveryPlaceOfALongSeries) {
  // The check runs in blocks: a difference at either end of one counts.
  for (int n : {0, 1, 511, 512, 513, 1030}) {
    for (int at : {-1, 0, 510, 511, 512, 1024, n - 1}) {
      if (at >= n) continue;
      TLineSeries s;
      for (int i = 0; i < n; ++i) s.AddXY(i == at ? i + 0.5 : i, 0);
      EXPECT_EQ(HasOwnXValues(s), at >= 0) << n << " points, differing at " << at;
    }
  }
}

TEST_F(ChartGrid, ScrollsALongSeriesRowByRow) {
  std::vector<double> ys(100000);
  for (std::size_t i = 0; i < ys.size(); ++i) ys[i] = static_cast<double>(i) / 4;
  AddSeries("long", ys);
  FGrid->SetChart(FChart.get());
  QTest::keyClick(FGrid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(FGrid->Row(), R0 + 99999);
  const QRect last = FGrid->visualRect(FGrid->currentIndex());
  EXPECT_TRUE(FGrid->viewport()->rect().contains(last)) << "the last row is in view";
  EXPECT_EQ(FGrid->indexAt(last.center()), FGrid->currentIndex());
  EXPECT_EQ(FGrid->TopPoint() + (last.top() / FGrid->RowHeight()), 99999);
  QTest::keyClick(FGrid, Qt::Key_PageUp);
  EXPECT_LT(FGrid->Row(), R0 + 99999);
  EXPECT_TRUE(FGrid->viewport()->rect().contains(FGrid->visualRect(FGrid->currentIndex())));
  QTest::keyClick(FGrid, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(FGrid->Row(), R0);
  EXPECT_EQ(FGrid->TopPoint(), 0);
  // A click on a column's header selects its whole column.
  const int column = 1;
  QTest::mouseClick(FGrid->Header()->viewport(), Qt::LeftButton, {},
                    QPoint(FGrid->Header()->sectionViewportPosition(column) + 5, 30));
  EXPECT_EQ(FGrid->selectionModel()->selectedIndexes().size(), 100000);
  EXPECT_EQ(FGrid->Col(), column + 1);
}

}  // namespace
}  // namespace chart_editors
