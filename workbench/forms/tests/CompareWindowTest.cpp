// The comparison window driven as a user drives it: its candles, rows of
// every kind (a designed filter, coefficients imported from MQL text with and
// without the set chooser, an expert sampling file, the generator's compare
// command), the grid's colour, parent and on/off editors, a Source row saved
// as MQL2 and MQL4, zoom and refresh, and a picture of the window.
// Covers: formCompare*.cpp, FormCompareImport.cpp, formRemez_Compare.cpp and
// the comparison commands of formMain.cpp.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>

#include "WorkbenchFixture.h"
#include "analysis_ui/JovCombos.h"
#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/FormCompareImport.h"
#include "workbench/forms/FormMethodEdit.h"
#include "workbench/forms/formCompare.h"
#include "workbench/logic/HistoryFile.h"

namespace workbench {
namespace {

// A history of `bars` hourly bars.
THistory SmallHistory(int bars) {
  THistory h;
  h.Symbol = "EURUSD";
  h.Period = 60;
  for (int i = 0; i < bars; ++i) {
    const double p = 1.1 + 0.01 * std::sin(i / 7.0);
    h.Bars.push_back({1704067200 + 3600 * i, p, p - 0.002, p + 0.002, p + 0.001, 10});
  }
  h.LastIndex = bars - 1;
  return h;
}

// An expert sampling file of `bars` bars.
std::string ExpertSampling(int bars) {
  std::string text;
  for (int b = 0; b < bars; ++b) {
    const double close = 1.2 + 0.005 * std::cos(b / 5.0);
    text += "20240102,1030," + std::to_string(close - 0.001) + "," + std::to_string(close + 0.003) + "," +
            std::to_string(close - 0.003) + "," + std::to_string(close) + "," + std::to_string(close * 0.99) + "\r\n";
  }
  return text;
}

class CompareWindow : public TWorkbenchTest {
 protected:
  TfrmCompare& Start() {
    StartWorkbench(OwnMethodSettings);
    return OpenCompare();
  }
  TfrmCompare& OpenCompare() {
    QTest::mouseClick(FMain->ToolBar1->widgetForAction(FMain->actFormCompare), Qt::LeftButton);
    auto* compare = dynamic_cast<TfrmCompare*>(FMain->FindChildWindow("frmcompare"));
    if (compare == nullptr) throw std::runtime_error("no comparison window");
    return *compare;
  }

  void Open(const std::string& fileName) {
    FDialogs.FileChoices.push_back(TFileChoice{fileName, 1});
    FMain->actFileOpen->trigger();
    EXPECT_EQ(FDialogs.FileDialogs.back().Filter,
              "MQL-II script (*.mql)|*.mql|MQL-4 script (*.mq4)|*.mq4|Expert sampling (*.csv)|*.csv|"
              "MetaTrader 3.x, 4.x history (*.hst)|*.hst");
  }

  // Adds a Source row through the dialog, `fill` setting its inputs.
  void AddSource(TfrmCompare& c, const std::function<void(TfrmMethodEdit&)>& fill = {}) {
    FDialogs.Modals.push_back([fill](QDialog& dialog) {
      auto& d = dynamic_cast<TfrmMethodEdit&>(dialog);
      EXPECT_EQ(d.windowTitle(), "Внесение нового фильтра в таблицу сравнений");
      if (fill) fill(d);
      QTest::mouseClick(d.btnOK, Qt::LeftButton);
      return d.result();
    });
    c.actFilterAdd->trigger();
  }

  static QString Cell(TfrmCompare& c, int row, int column) {
    QTableWidgetItem* item = c.sgrGroup->item(row, column);
    return item == nullptr ? QString() : item->text();
  }

  // The row's value at bar i as the row's coefficients over the closes give it.
  static double Expected(const TfrmCompare& c, int r, int i) {
    const TCoefficientRecord& k = c.Table().Rows()[r].Coefficients;
    double s = 0;
    for (int j = 0; j < k.Count && i - j > 0; ++j) s += k.Coef[j] * c.Table().Candles().Bars[i - j].Close;
    return s;
  }
};

TEST_F(CompareWindow, SyntheticCandlesUpToHundredBarsHistoryFromHundredAndOne) {
  History = SmallHistory(101);  // last index 100
  TfrmCompare& synthetic = Start();
  EXPECT_EQ(synthetic.windowTitle(), "Сравнение фильтров");
  EXPECT_EQ(synthetic.Table().Candles().Bars.size(), static_cast<std::size_t>(SyntheticBarCount));
  EXPECT_EQ(synthetic.Table().Candles().FirstIndex, 1);
  EXPECT_EQ(synthetic.Table().Candles().LastIndex, 2500);
  EXPECT_EQ(synthetic.Series1->Count(), SyntheticBarCount);
  for (const TPriceBar& bar : synthetic.Table().Candles().Bars) ASSERT_GT(bar.Low, 0);
  EXPECT_TRUE(FMain->actFileOpen->isEnabled());
  EXPECT_EQ(FMain->actFileOpen->toolTip(), "Открыть файл для импорта фильтра");
  synthetic.close();

  History = SmallHistory(102);  // last index 101
  TfrmCompare& shown = OpenCompare();
  ASSERT_NE(&shown, &synthetic);
  ASSERT_EQ(shown.Table().Candles().Bars.size(), 102u);
  EXPECT_EQ(shown.Table().Candles().FirstIndex, 0);
  EXPECT_EQ(shown.Table().Candles().LastIndex, 101);
  EXPECT_EQ(shown.Series1->Count(), 102);
  EXPECT_EQ(shown.Table().Candles().Bars[0].X, 1);
  EXPECT_EQ(shown.Table().Candles().Bars[101].Close, History.Bars[101].Close);
  EXPECT_EQ(shown.Series1->Labels().GetLabel(5), HistoryBarLabel(History.Bars[5], 60));
}

TEST_F(CompareWindow, RowsOfEveryKindAndTheirFiles) {
  TfrmCompare& c = Start();
  EXPECT_FALSE(c.actBeginCompare->isEnabled());

  // A designed filter.
  AddSource(c, [](TfrmMethodEdit& d) { ClickButton(d.Method2); });
  ASSERT_EQ(c.Table().Rows().size(), 1u);
  const TCompareFilterRecord& source = c.Table().Rows()[0];
  EXPECT_EQ(source.Kind, rkSource);
  EXPECT_EQ(source.Name.Str(), "filter1");
  EXPECT_GT(source.Coefficients.Count, 10);
  ASSERT_NE(c.RowSeries(0), nullptr);
  EXPECT_GT(c.RowSeries(0)->Count(), 2000);
  EXPECT_DOUBLE_EQ(source.Output[2000], Expected(c, 0, 2000));
  EXPECT_EQ(Cell(c, 0, 3), "Source");
  EXPECT_EQ(Cell(c, 0, 5), "Close price");
  EXPECT_EQ(Cell(c, 0, 6).toStdString(), FilterDescription(source.Filter));
  EXPECT_FALSE(c.actBeginCompare->isEnabled());

  // Coefficients from MQL text with one set: no chooser.
  Open(FDir.Write("one.mql", "fatl=\r\n0.25*close[shift+0]\r\n+0.5*close[shift+1]\r\n+0.25*close[shift+2];\r\n"));
  ASSERT_EQ(c.Table().Rows().size(), 2u);
  EXPECT_EQ(c.Table().Rows()[1].Kind, rkCoefficients);
  EXPECT_EQ(c.Table().Rows()[1].Name.Str(), "fatl");
  EXPECT_EQ(c.Table().Rows()[1].Coefficients.Count, 3);
  EXPECT_DOUBLE_EQ(c.Table().Rows()[1].Output[100], Expected(c, 1, 100));
  EXPECT_EQ(Cell(c, 1, 3), "Coefficients");
  EXPECT_EQ(Cell(c, 1, 4), "White");  // the colour it turns red with at its next computation
  EXPECT_TRUE(c.actBeginCompare->isEnabled());

  // Two sets: the chooser lists both and shows the chosen one's coefficients.
  const std::string two = FDir.Write("two.mql", "a=\n0.5*close[shift+0]\n+0.5*close[shift+1];\n"
                                                "b=\n0.2*close[shift+0]\n+0.3*close[shift+1]\n+0.5*close[shift+2];\n");
  FDialogs.Modals.push_back([this](QDialog& dialog) {
    auto& chooser = dynamic_cast<TfrmCmpImport&>(dialog);
    QComboBox& sets = Control<QComboBox>(chooser, "cbxFilterName");
    EXPECT_EQ(sets.count(), 2);
    EXPECT_EQ(sets.itemText(0), "a (2)");
    EXPECT_EQ(sets.itemText(1), "b (3)");
    QPlainTextEdit& memo = Control<QPlainTextEdit>(chooser, "memFilterText");
    EXPECT_EQ(memo.toPlainText(), "[0]= 0.5000000000\n[1]= 0.5000000000\n");
    QTest::keyClick(&sets, Qt::Key_Down);
    EXPECT_EQ(memo.toPlainText(), "[0]= 0.2000000000\n[1]= 0.3000000000\n[2]= 0.5000000000\n");
    QTest::mouseClick(&Control<QPushButton>(chooser, "btnOK"), Qt::LeftButton);
    return chooser.result();
  });
  Open(two);
  ASSERT_EQ(c.Table().Rows().size(), 3u);
  EXPECT_EQ(c.Table().Rows()[2].Name.Str(), "b");
  EXPECT_EQ(c.Table().Rows()[2].Coefficients.Count, 3);
  EXPECT_EQ(c.Table().Rows()[2].ParamText.Str(), two);
  // Cancelling the chooser adds nothing.
  FDialogs.Modals.push_back([](QDialog& dialog) {
    auto& chooser = dynamic_cast<TfrmCmpImport&>(dialog);
    QTest::mouseClick(chooser.btnCancel, Qt::LeftButton);
    return chooser.result();
  });
  Open(two);
  EXPECT_EQ(c.Table().Rows().size(), 3u);
  // A file without sets says so.
  Open(FDir.Write("none.mql", "// nothing\n"));
  EXPECT_EQ(FDialogs.Shown.back().Text, "Коэффициенты не найдены");
  EXPECT_EQ(c.Table().Rows().size(), 3u);
  // A refused offset adds no row.
  Open(FDir.Write("far.mql", "f=\n1*close[shift+3000];\n"));
  EXPECT_NE(FDialogs.Shown.back().Text.find("2500"), std::string::npos);
  EXPECT_EQ(c.Table().Rows().size(), 3u);

  // An expert sampling file: new candles and an Import response row.
  const std::string csv = FDir.Write("expert.csv", ExpertSampling(120));
  Open(csv);
  ASSERT_EQ(c.Table().Rows().size(), 4u);
  const TCompareFilterRecord& response = c.Table().Rows()[3];
  EXPECT_EQ(response.Kind, rkImportResponse);
  EXPECT_EQ(response.Name.Str(), "expert.csv");
  ASSERT_EQ(response.Output.size(), 120u);
  EXPECT_EQ(c.Table().Candles().Bars.size(), 120u);
  EXPECT_EQ(c.Table().Candles().LastIndex, 120);
  EXPECT_EQ(c.RowSeries(3)->Count(), 120);
  EXPECT_EQ(Cell(c, 3, 3), "Import response");
  EXPECT_TRUE(c.HSTLabel->isVisible());
  EXPECT_EQ(c.HSTLabel->text(), "expert.csv 120 записей");
  // Every row follows the new candles, up to and including the last one.
  EXPECT_EQ(c.Table().Rows()[1].Output.size(), 121u);
  EXPECT_DOUBLE_EQ(c.Table().Rows()[1].Output[119], Expected(c, 1, 119));
  EXPECT_DOUBLE_EQ(c.Table().Rows()[0].Output[119], Expected(c, 0, 119));
  EXPECT_TRUE(c.actBeginCompare->isEnabled());

  // The Source row saved as MQL2 and as MQL4; other rows have nothing to save.
  c.sgrGroup->setCurrentCell(1, 2);
  EXPECT_FALSE(FMain->actFileSave->isEnabled());
  EXPECT_FALSE(c.actFilterEdit->isEnabled());
  c.sgrGroup->setCurrentCell(0, 2);
  EXPECT_TRUE(FMain->actFileSave->isEnabled());
  EXPECT_TRUE(c.actFilterEdit->isEnabled());
  FDialogs.FileChoices.push_back(TFileChoice{FDir.File("source"), 1});
  FMain->actFileSave->trigger();
  EXPECT_EQ(FDialogs.FileDialogs.back().Filter, "Текст индикатора MQL2 (*.mql)|*.mql|Текст индикатора MQL4 (*.mq4)|*.mq4");
  EXPECT_EQ(FileText(FDir.File("source.mql")), CompareRowText(c.Table().Rows()[0], tmMQL2));
  FDialogs.FileChoices.push_back(TFileChoice{FDir.File("source.mq4"), 2});
  FMain->actFileSave->trigger();
  const std::string mq4 = FileText(FDir.File("source.mq4"));
  EXPECT_EQ(mq4, CompareRowText(c.Table().Rows()[0], tmMQL4));
  EXPECT_NE(mq4.find("#property indicator_chart_window"), std::string::npos);

  // The saved MQL2 and MQL4 texts come back as Coefficients rows of the same filter.
  Open(FDir.File("source.mql"));
  ASSERT_EQ(c.Table().Rows().size(), 5u);
  EXPECT_EQ(c.Table().Rows()[4].Name.Str(), "digf");
  EXPECT_EQ(c.Table().Rows()[4].Coefficients.Count, c.Table().Rows()[0].Coefficients.Count);
  const std::size_t shown = FDialogs.Shown.size();
  Open(FDir.File("source.mq4"));
  EXPECT_EQ(FDialogs.Shown.size(), shown) << FDialogs.ShownTexts();
  ASSERT_EQ(c.Table().Rows().size(), 6u);
  EXPECT_EQ(c.Table().Rows()[5].Kind, rkCoefficients);
  EXPECT_EQ(c.Table().Rows()[5].Name.Str(), "FilterBuffer");
  EXPECT_EQ(c.Table().Rows()[5].ParamText.Str(), FDir.File("source.mq4"));
  ASSERT_EQ(c.Table().Rows()[5].Coefficients.Count, c.Table().Rows()[0].Coefficients.Count);
  for (int k = 0; k < c.Table().Rows()[0].Coefficients.Count; ++k)
    EXPECT_EQ(c.Table().Rows()[5].Coefficients.Coef[k], c.Table().Rows()[4].Coefficients.Coef[k]) << k;
}

TEST_F(CompareWindow, TheGridsEditors) {
  TfrmCompare& c = Start();
  AddSource(c);
  AddSource(c, [](TfrmMethodEdit& d) { d.InputT1->SetValue(40); });
  ASSERT_EQ(c.Table().Rows().size(), 2u);

  // Colour: the editor stands over the cell; a choice recolours the line.
  c.sgrGroup->setCurrentCell(0, 4);
  ASSERT_TRUE(c.cbxColor->isVisible());
  EXPECT_EQ(c.cbxColor->ItemIndex(), 15);
  QTest::keyClick(c.cbxColor, Qt::Key_Up);
  EXPECT_EQ(c.Table().Rows()[0].ColorIndex, 14);
  EXPECT_EQ(c.RowSeries(0)->SeriesColor(), chart::clAqua);
  EXPECT_EQ(Cell(c, 0, 4), "Aqua");
  EXPECT_FALSE(c.cbxColor->isVisible());

  // Parent: the second row takes the first's output.
  c.sgrGroup->setCurrentCell(1, 5);
  ASSERT_TRUE(c.cbxParent->isVisible());
  ASSERT_EQ(c.cbxParent->count(), 2);
  EXPECT_EQ(c.cbxParent->itemText(0), "Close price");
  EXPECT_EQ(c.cbxParent->itemText(1), "filter1");
  QTest::keyClick(c.cbxParent, Qt::Key_Down);
  EXPECT_EQ(c.Table().Rows()[1].Parent, 0);
  EXPECT_EQ(Cell(c, 1, 5), "filter1");
  const TCoefficientRecord& k = c.Table().Rows()[1].Coefficients;
  double s = 0;
  for (int j = 0; j < k.Count; ++j) s += k.Coef[j] * c.Table().Rows()[0].Output[1500 - j];
  EXPECT_DOUBLE_EQ(c.Table().Rows()[1].Output[1500], s);
  // The first row feeds the second: its own parent can only be the price.
  c.sgrGroup->setCurrentCell(0, 5);
  EXPECT_EQ(c.cbxParent->count(), 1);

  // On/off shows and hides the line.
  QCheckBox& box = Control<QCheckBox>(*c.sgrGroup, "chkOnOff0");
  ClickButton(&box);
  EXPECT_EQ(c.Table().Rows()[0].On, 0);
  EXPECT_FALSE(c.RowSeries(0)->Active());
  ClickButton(&box);
  EXPECT_TRUE(c.RowSeries(0)->Active());

  // Editing a Source row by a double click.
  FDialogs.Modals.push_back([](QDialog& dialog) {
    auto& d = dynamic_cast<TfrmMethodEdit&>(dialog);
    EXPECT_EQ(d.windowTitle(), "Редактирование параметров фильтра");
    EXPECT_EQ(d.InputT1->text(), "40");
    d.InputDelay->SetValue(2);
    QTest::mouseClick(d.btnOK, Qt::LeftButton);
    return d.result();
  });
  const QPoint cell = c.sgrGroup->visualItemRect(c.sgrGroup->item(1, 2)).center();
  QTest::mouseClick(c.sgrGroup->viewport(), Qt::LeftButton, {}, cell);
  EXPECT_EQ(c.SelectedRow(), 2);
  QTest::mouseDClick(c.sgrGroup->viewport(), Qt::LeftButton, {}, cell);
  EXPECT_TRUE(FDialogs.Modals.empty());
  EXPECT_EQ(c.Table().Rows()[1].Filter.Delay, 2);
  EXPECT_EQ(c.Table().Rows()[1].ParamText.Str(), FilterDescription(c.Table().Rows()[1].Filter));
}

// "Удалить фильтр" removes the selected row and its line; the first row stays.
TEST_F(CompareWindow, TheDeleteCommandRemovesTheSelectedRow) {
  TfrmCompare& c = Start();
  EXPECT_FALSE(c.actFilterDelete->isEnabled());
  for (const int p1 : {40, 30, 20}) AddSource(c, [p1](TfrmMethodEdit& d) { d.InputT1->SetValue(p1); });
  ASSERT_EQ(c.Table().Rows().size(), 3u);
  c.sgrGroup->setCurrentCell(1, 4);
  QTest::keyClick(c.cbxColor, Qt::Key_Up);  // white to aqua
  ASSERT_EQ(c.Table().Rows()[1].ColorIndex, 14);
  chart::TFastLineSeries* third = c.RowSeries(2);

  // The first row stays.
  c.sgrGroup->setCurrentCell(0, 2);
  EXPECT_FALSE(c.actFilterDelete->isEnabled());
  c.actFilterDeleteExecute();
  EXPECT_EQ(c.Table().Rows().size(), 3u);

  const auto aquaPixels = [&](const std::string& name) {
    c.sgrGroup->clearSelection();
    QTest::qWait(20);
    const QImage shot = Screenshot(*FMain, name);
    const QRect chart(c.TimeChart->mapTo(FMain.get(), QPoint(0, 0)), c.TimeChart->size());
    int aqua = 0;
    for (int y = chart.top(); y <= chart.bottom(); ++y)
      for (int x = chart.left(); x <= chart.right(); ++x) aqua += shot.pixelColor(x, y) == QColor(0, 255, 255);
    return aqua;
  };
  EXPECT_GT(aquaPixels("compare_before_delete"), 100);

  c.sgrGroup->setCurrentCell(1, 2);
  ASSERT_TRUE(c.actFilterDelete->isEnabled());
  auto* tools = c.findChild<QToolBar*>();
  ASSERT_NE(tools, nullptr);
  QTest::mouseClick(tools->widgetForAction(c.actFilterDelete), Qt::LeftButton);
  ASSERT_EQ(c.Table().Rows().size(), 2u);
  EXPECT_EQ(c.Table().Rows()[0].Filter.P1, 40);
  EXPECT_EQ(c.Table().Rows()[1].Filter.P1, 20);
  EXPECT_EQ(c.RowSeries(1), third);
  EXPECT_EQ(c.Chart().SeriesCount(), 3);  // the candles and two lines
  EXPECT_EQ(c.sgrGroup->rowCount(), 2);
  EXPECT_EQ(Cell(c, 1, 2), "filter3");
  EXPECT_EQ(aquaPixels("compare_after_delete"), 0);

  // The row that took its place is selected: it goes next, then the first row stays alone.
  EXPECT_TRUE(c.actFilterDelete->isEnabled());
  c.actFilterDelete->trigger();
  ASSERT_EQ(c.Table().Rows().size(), 1u);
  EXPECT_EQ(c.Chart().SeriesCount(), 2);
  EXPECT_FALSE(c.actFilterDelete->isEnabled());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(CompareWindow, TheGeneratorsCompareCommand) {
  StartWorkbench(OwnMethodSettings);
  TfrmRemez& g = Generator();
  g.InputT1->SetValue(30);
  g.actChartCompare->trigger();
  auto* c = dynamic_cast<TfrmCompare*>(FMain->FindChildWindow("frmcompare"));
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Table().Rows().size(), 1u);
  EXPECT_EQ(c->Table().Rows()[0].Name.Str(), "From Orvel window 1");
  EXPECT_EQ(c->Table().Rows()[0].Filter.P1, 30);
  EXPECT_EQ(c->Table().Rows()[0].Filter.AutoOrder, 1);
  EXPECT_EQ(c->Table().Rows()[0].ColorIndex, 9);
  EXPECT_GT(c->Table().Rows()[0].Coefficients.Count, 0);
  EXPECT_EQ(c->RowSeries(0)->SeriesColor(), chart::clRed);
  EXPECT_FALSE(c->HSTLabel->isVisible());
  FMain->actFormRemez->trigger();
  g.actChartCompare->trigger();
  ASSERT_EQ(c->Table().Rows().size(), 2u);
  EXPECT_EQ(c->Table().Rows()[1].Name.Str(), "From Orvel window 2");
  EXPECT_EQ(FMain->ActiveChild(), c);
}

TEST_F(CompareWindow, ZoomRefreshAndHistoryFiles) {
  TfrmCompare& c = Start();
  EXPECT_EQ(c.Table().Candles().ZoomLevel, 4);
  FMain->actZoomIn->trigger();
  EXPECT_EQ(c.Table().Candles().ZoomLevel, 5);
  EXPECT_EQ(c.Series1->CandleWidth(), 11);
  EXPECT_FALSE(c.actChartZoomIn->isEnabled());
  for (int i = 0; i < 5; ++i) FMain->actZoomOut->trigger();
  EXPECT_EQ(c.Table().Candles().ZoomLevel, 1);
  EXPECT_FALSE(c.actChartZoomOut->isEnabled());
  EXPECT_EQ(c.Table().Candles().ViewEnd - c.Table().Candles().ViewStart, c.VisibleBarCount());

  AddSource(c);
  // A history file replaces the candles and recomputes the rows.
  Open(ORVEL_SAMPLE_HISTORY);
  EXPECT_EQ(c.Table().Candles().Bars.size(), 5000u);
  EXPECT_TRUE(c.HSTLabel->isVisible());
  EXPECT_EQ(c.Table().Rows()[0].Output.size(), 5001u);
  EXPECT_DOUBLE_EQ(c.Table().Rows()[0].Output[4998], Expected(c, 0, 4998));
  EXPECT_EQ(c.Table().Rows()[0].Output[4999], 0);  // the last bar gets no value
  // A file that is no history is refused and keeps them.
  Open(FDir.Write("rows.hst", "//+---\n"));
  EXPECT_EQ(c.Table().Candles().Bars.size(), 5000u);
  EXPECT_FALSE(FDialogs.Shown.empty());

  // Refresh asks before it replaces a file's candles.
  FDialogs.Answers.push_back(mrCancel);
  FMain->actRefresh->trigger();
  EXPECT_EQ(FDialogs.Shown.back().Text, "Заменить данные в графике случайными значениями?");
  EXPECT_EQ(FDialogs.Shown.back().Caption, "Открытие файла");
  EXPECT_EQ(c.Table().Candles().Bars.size(), 5000u);
  FDialogs.Answers.push_back(mrOK);
  FMain->actRefresh->trigger();
  EXPECT_EQ(c.Table().Candles().Bars.size(), static_cast<std::size_t>(SyntheticBarCount));
  EXPECT_FALSE(c.HSTLabel->isVisible());
  EXPECT_EQ(History.LastIndex, -1);
  EXPECT_DOUBLE_EQ(c.Table().Rows()[0].Output[2000], Expected(c, 0, 2000));
}

TEST_F(CompareWindow, PictureWithAMarkedRow) {
  const int order = IterationLimitOrder();
  if (order == 0) GTEST_SKIP() << "the own exchange settles every candidate";
  TfrmCompare& c = Start();
  AddSource(c, [](TfrmMethodEdit& d) { d.InputT1->SetValue(40); });
  c.sgrGroup->setCurrentCell(0, 4);
  QTest::keyClick(c.cbxColor, Qt::Key_Up);  // white to aqua
  ASSERT_EQ(c.Table().Rows()[0].ColorIndex, 14);
  AddSource(c, [order](TfrmMethodEdit& d) {
    d.InputT1->SetValue(10);
    d.InputTransient1->SetValue(5);
    ClickButton(d.CheckBoxOrder);
    d.InputOrder->SetValue(order);
  });
  ASSERT_EQ(c.Table().Rows().size(), 2u);
  EXPECT_TRUE(c.Table().Rows()[1].IterationLimit);
  EXPECT_FALSE(c.Table().Rows()[0].IterationLimit);
  const QString warning = QString::fromUtf8(msgIterationLimit).replace("\n\r", "\n");
  EXPECT_FALSE(c.sgrGroup->item(1, 0)->icon().isNull());
  EXPECT_EQ(c.sgrGroup->item(1, 2)->toolTip(), warning);
  EXPECT_TRUE(c.sgrGroup->item(0, 2)->toolTip().isEmpty());
  c.sgrGroup->setCurrentCell(-1, -1);
  c.sgrGroup->clearSelection();
  QTest::qWait(20);

  const QImage shot = Screenshot(*FMain, "compare_window");
  const QRect chart(c.TimeChart->mapTo(FMain.get(), QPoint(0, 0)), c.TimeChart->size());
  int lime = 0, aqua = 0, red = 0;
  for (int y = chart.top(); y <= chart.bottom(); ++y)
    for (int x = chart.left(); x <= chart.right(); ++x) {
      const QColor p = shot.pixelColor(x, y);
      lime += p == QColor(0, 255, 0);      // candle outlines
      aqua += p == QColor(0, 255, 255);    // the first row's line
      red += p == QColor(255, 0, 0);       // rising candles and the second row's line
    }
  EXPECT_GT(lime, 500);
  EXPECT_GT(aqua, 100);
  EXPECT_GT(red, 100);
  const QRect marked = c.sgrGroup->visualItemRect(c.sgrGroup->item(1, 6));
  EXPECT_EQ(shot.pixelColor(c.sgrGroup->viewport()->mapTo(FMain.get(), marked.topLeft() + QPoint(marked.width() - 3, 3))),
            QColor(255, 232, 160));
  const QRect plain = c.sgrGroup->visualItemRect(c.sgrGroup->item(0, 6));
  EXPECT_EQ(shot.pixelColor(c.sgrGroup->viewport()->mapTo(FMain.get(), plain.topLeft() + QPoint(plain.width() - 3, 3))),
            QColor(0xEB, 0xEB, 0xEB));
}

}  // namespace
}  // namespace workbench
