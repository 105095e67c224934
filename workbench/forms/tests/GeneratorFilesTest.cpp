// The generator's files: parameter files, CSV quotes and history files
// opened, the indicator text and parameter files saved, the refresh command.
// Covers: formRemez_Files.cpp, formRemez_Preview.cpp.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "WorkbenchFixture.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/ParameterFile.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {
namespace {

class GeneratorFiles : public TWorkbenchTest {
 protected:
  TfrmRemez& Start() {
    StartWorkbench(OwnMethodSettings);
    return Generator();
  }

  // Opens a file through the main window's Open command and its dialog.
  void Open(const std::string& fileName) {
    FDialogs.FileChoices.push_back(TFileChoice{fileName, 1});
    FMain->actFileOpen->trigger();
    ASSERT_FALSE(FDialogs.FileDialogs.empty());
    EXPECT_EQ(FDialogs.FileDialogs.back().Filter,
              "MetaTrader 3.x, 4.x history (*.hst)|*.hst|MetaTrader CSV (*.csv)|*.csv|"
              "Параметры фильтров (*.prm)|*.prm");
    EXPECT_FALSE(FDialogs.FileDialogs.back().Save);
  }

  static std::string Csv(int lines) {
    std::string text;
    for (int n = 0; n < lines; ++n)
      text += "2024.01." + std::to_string(n % 28 + 1) + ",10:00," + std::to_string(1.1 + n * 0.001) + "," +
              std::to_string(1.2 + n * 0.001) + "," + std::to_string(1.0 + n * 0.001) + "," +
              std::to_string(1.15 + n * 0.001) + ",100\r\n";
    return text;
  }
};

TEST_F(GeneratorFiles, AParameterFileSetsTheInputsAndStartsNoDesign) {
  TfrmRemez& g = Start();
  TParameterFile parameters;
  parameters.P1 = 10;
  parameters.D1 = 8;
  parameters.Ripple = "0.5";
  parameters.A1 = 45;
  parameters.P2 = 30;
  parameters.D2 = 50;
  parameters.A2 = 35;
  parameters.Delay = 2;
  parameters.FilterType = ftBandPass;
  parameters.Method = dmOwnExchange;
  const std::string file = FDir.File("band.prm");
  SaveParameterFile(file, parameters);
  Open(file);
  EXPECT_EQ(g.FilterType->ItemIndex(), ftBandPass);
  EXPECT_EQ(g.InputT1->Text(), "10");
  EXPECT_EQ(g.InputTransient1->Text(), "8");
  EXPECT_EQ(g.InputRipple->text(), "0.5");
  EXPECT_EQ(g.InputAtten1->Text(), "45");
  EXPECT_EQ(g.InputT2->Text(), "30");
  EXPECT_EQ(g.InputTransient2->Text(), "50");
  EXPECT_EQ(g.InputDelay->Text(), "2");
  EXPECT_TRUE(g.Method1->isChecked());
  EXPECT_EQ(g.CurrentFilter().P1, 10);
  EXPECT_FALSE(g.DesignRunning());
  EXPECT_EQ(g.Design().DesignCoefCount, 0);
  EXPECT_EQ(g.pcMain->currentWidget(), g.tsTimeChart);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(GeneratorFiles, AnEightLineParameterFileIsReadAsItAlwaysWas) {
  TfrmRemez& g = Start();
  // Written from a band-pass filter with delay 0: read back as a low-pass
  // filter with the same periods and the library design.
  const std::string file = FDir.Write("old.prm", "30\r\n10\r\n0.2\r\n-50\r\n40\r\n60\r\n-50\r\n0\r\n");
  Open(file);
  EXPECT_EQ(g.FilterType->ItemIndex(), ftLowPass);
  EXPECT_EQ(g.InputT1->Text(), "30");
  EXPECT_EQ(g.InputTransient1->Text(), "10");
  EXPECT_EQ(g.InputRipple->text(), "0.2");
  EXPECT_EQ(g.InputAtten1->Text(), "50");
  EXPECT_TRUE(g.Method2->isChecked());
}

TEST_F(GeneratorFiles, AMalformedParameterFileChangesNothing) {
  TfrmRemez& g = Start();
  const std::string file = FDir.Write("bad.prm", "30\r\nten\r\n");
  Open(file);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_NE(FDialogs.Shown[0].Text.find("bad.prm"), std::string::npos) << FDialogs.Shown[0].Text;
  EXPECT_EQ(g.InputT1->Text(), "24");
  EXPECT_FALSE(g.Typing());
}

TEST_F(GeneratorFiles, CsvQuotesBecomeTheCandles) {
  TfrmRemez& g = Start();
  Open(FDir.Write("quotes.csv", Csv(150)));
  ASSERT_EQ(g.PriceChart().Bars.size(), 150u);
  EXPECT_EQ(g.PriceChart().Bars[0].X, 1);
  EXPECT_EQ(g.PriceChart().Bars[0].Label, "2024.01.1 10:00");
  EXPECT_EQ(g.PriceChart().FirstIndex, 0);
  EXPECT_EQ(g.PriceChart().LastIndex, 150);
  EXPECT_FALSE(g.HSTLabel->isHidden());
  EXPECT_EQ(g.HSTLabel->text(), "quotes.csv");

  // A file of 100 lines names nothing.
  Open(FDir.Write("short.csv", Csv(100)));
  EXPECT_EQ(g.PriceChart().Bars.size(), 100u);
  EXPECT_TRUE(g.HSTLabel->isHidden());

  // A file that does not read leaves the candles as they were.
  Open(FDir.Write("broken.csv", Csv(20) + "2024.02.01,10:00,1.1\r\n"));
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_NE(FDialogs.Shown[0].Text.find("broken.csv"), std::string::npos) << FDialogs.Shown[0].Text;
  EXPECT_EQ(g.PriceChart().Bars.size(), 100u);
}

TEST_F(GeneratorFiles, TheSampleHistoryOpens) {
  TfrmRemez& g = Start();
  Open(ORVEL_SAMPLE_HISTORY);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  ASSERT_EQ(History.LastIndex, 4999);
  ASSERT_EQ(g.PriceChart().Bars.size(), 5000u);
  EXPECT_EQ(g.PriceChart().Bars[0].X, 1);
  EXPECT_EQ(g.PriceChart().Bars[4999].Label, HistoryBarLabel(History.Bars[4999], History.Period));
  EXPECT_EQ(g.PriceChart().LastIndex, 4999);
  EXPECT_EQ(g.PriceChart().ViewEnd, 4999);  // the view's end is taken to the last bar
  EXPECT_FALSE(g.HSTLabel->isHidden());
  EXPECT_EQ(g.HSTLabel->text().toStdString(), HistoryFileLabel(History));
  EXPECT_EQ(g.pcMain->currentWidget(), g.tsTimeChart);

  // A file the reader refuses shows the reader's message and keeps the candles.
  const std::string bad = FDir.Write("bad.hst", std::string(300, 'x'));
  Open(bad);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(g.PriceChart().Bars.size(), 5000u);
  EXPECT_EQ(History.LastIndex, 4999);
}

TEST_F(GeneratorFiles, TheIndicatorTextAndTheParametersAreSaved) {
  TfrmRemez& g = Start();
  // Nothing to save before a design.
  FMain->actFileSave->setEnabled(true);
  FMain->actFileSave->trigger();
  EXPECT_TRUE(FDialogs.FileDialogs.empty());

  DesignAndWait(g);
  ASSERT_FALSE(g.IndicatorText().empty());
  const std::string textFile = FDir.File("indicator");
  FDialogs.FileChoices.push_back(TFileChoice{textFile, 1});
  FMain->actFileSave->trigger();
  ASSERT_EQ(FDialogs.FileDialogs.size(), 1u);
  EXPECT_EQ(FDialogs.FileDialogs[0].Filter,
            "Текст индикатора MQL4 (*.mq4)|*.mq4|Параметры фильтра (*.prm)|*.prm|Any file|*.*");
  EXPECT_TRUE(FDialogs.FileDialogs[0].Save);
  std::string written = ReadWholeFile(textFile + ".mq4", 1 << 20);
  std::string expected = WithCrLf(g.IndicatorText());
  if (expected.size() < 2 || expected.substr(expected.size() - 2) != "\r\n") expected += "\r\n";
  EXPECT_EQ(written, expected);

  // The parameter filter: "filter.prm" stays "filter.prm".
  const std::string prm = FDir.File("filter.prm");
  FDialogs.FileChoices.push_back(TFileChoice{prm, 2});
  FMain->actFileSave->trigger();
  EXPECT_FALSE(std::filesystem::exists(prm + ".prm"));
  const TParameterFileValues values = ReadParameterFile(prm);
  EXPECT_EQ(values.P1, 24);
  EXPECT_EQ(values.D1, 12);
  EXPECT_EQ(values.Ripple, "0.08");
  EXPECT_EQ(values.FilterType, ftLowPass);
  EXPECT_EQ(values.Method, dmOwnExchange);

  // The coefficient list is saved as text.
  ClickButton(g.FIRTextMode->Button(4));
  FDialogs.FileChoices.push_back(TFileChoice{FDir.File("list.txt"), 3});
  FMain->actFileSave->trigger();
  EXPECT_EQ(FDialogs.FileDialogs.back().Filter,
            "Коэффициенты фильтра (*.txt)|*.txt|Параметры фильтра (*.prm)|*.prm|Any file|*.*");
  EXPECT_TRUE(std::filesystem::exists(FDir.File("list.txt")));
  EXPECT_FALSE(std::filesystem::exists(FDir.File("list.txt.txt")));
  // A cancelled dialog writes nothing.
  FDialogs.FileChoices.push_back(std::nullopt);
  FMain->actFileSave->trigger();
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(GeneratorFiles, RefreshAsksBeforeItReplacesALoadedHistory) {
  TfrmRemez& g = Start();
  // Without a design the command does nothing.
  FMain->actRefresh->trigger();
  DesignAndWait(g);
  Open(ORVEL_SAMPLE_HISTORY);
  ASSERT_EQ(g.PriceChart().Bars.size(), 5000u);
  const std::size_t points = g.Preview().Points.size();
  EXPECT_EQ(points, 4998u - 26 + 1);  // bars 0 + 25 + 1 .. 4998

  FDialogs.Answers.push_back(mrCancel);
  FMain->actRefresh->trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Caption, "Открытие файла");
  EXPECT_EQ(FDialogs.Shown[0].Text, "Заменить данные в графике случайными значениями?");
  EXPECT_EQ(g.PriceChart().Bars.size(), 5000u);
  EXPECT_EQ(History.LastIndex, 4999);

  FDialogs.Answers.push_back(mrOK);
  FMain->actRefresh->trigger();
  EXPECT_EQ(g.PriceChart().Bars.size(), static_cast<std::size_t>(SyntheticBarCount));
  EXPECT_EQ(History.LastIndex, -1);
  EXPECT_TRUE(g.HSTLabel->isHidden());
  EXPECT_EQ(g.Preview().Points.size(), 2499u - 27 + 1);
  // Synthetic candles are replaced without a question.
  FMain->actRefresh->trigger();
  EXPECT_EQ(FDialogs.Shown.size(), 2u);
}

TEST_F(GeneratorFiles, ZoomAndScrollingMoveTheBarsInView) {
  TfrmRemez& g = Start();
  g.pcMain->setCurrentWidget(g.tsTimeChart);
  Open(ORVEL_SAMPLE_HISTORY);
  const int width = g.TimeChart->width();
  ASSERT_GT(width, 200);
  EXPECT_EQ(g.PriceChart().VisibleCount, VisibleBarCount(width, 4));
  EXPECT_EQ(g.PriceChart().ViewEnd, 4999);

  FMain->actZoomIn->trigger();
  EXPECT_EQ(g.PriceChart().ZoomLevel, 5);
  EXPECT_FALSE(g.actChartZoomIn->isEnabled());
  FMain->actZoomIn->trigger();
  EXPECT_EQ(g.PriceChart().ZoomLevel, 5);
  for (int i = 0; i < 5; ++i) FMain->actZoomOut->trigger();
  EXPECT_EQ(g.PriceChart().ZoomLevel, 1);
  EXPECT_FALSE(g.actChartZoomOut->isEnabled());
  EXPECT_EQ(g.PriceChart().VisibleCount, width - 100);

  // Home shows the first bars, the arrows move by three.
  QTest::keyClick(&g, Qt::Key_Home);
  EXPECT_EQ(g.PriceChart().ViewStart, 0);
  const int end = g.PriceChart().ViewEnd;
  QTest::keyClick(&g, Qt::Key_Right);
  EXPECT_EQ(g.PriceChart().ViewEnd, end + 3);
  QTest::keyClick(&g, Qt::Key_End);
  EXPECT_EQ(g.PriceChart().ViewEnd, 4999);

  // Dragging the chart to the right shows older bars.
  QTest::mousePress(g.TimeChart, Qt::LeftButton, {}, QPoint(300, 50));
  QTest::mouseMove(g.TimeChart, QPoint(400, 50));
  QTest::mouseRelease(g.TimeChart, Qt::LeftButton, {}, QPoint(400, 50));
  EXPECT_EQ(g.PriceChart().ViewEnd, 4999 - 100);
  // Keys do nothing while another page shows.
  g.pcMain->setCurrentIndex(0);
  QTest::keyClick(&g, Qt::Key_End);
  EXPECT_EQ(g.PriceChart().ViewEnd, 4999 - 100);
}

}  // namespace
}  // namespace workbench
