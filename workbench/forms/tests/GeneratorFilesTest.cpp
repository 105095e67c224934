// The generator's files: parameter files, CSV quotes and history files
// opened, the indicator text and parameter files saved, the refresh command.
// Covers: formRemez_Files.cpp, formRemez_Preview.cpp.
#include <map>
#include <optional>

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

// Every field at and beyond both ends of its range, as a user types it: the
// field holds no more digits than its range needs and, once left, shows the
// one value that the design, the indicator text and the parameter file take;
// the file reopens to the same design. A band order that cannot hold at the
// end of a range is refused alike before and after.
TEST_F(GeneratorFiles, EveryFieldKeepsOneValueFromDesignToFileAndBack) {
  struct TCase {
    const char* field;
    std::uint8_t type;
    const char* typed;  // with a '-' it is pasted, as no key types one
    const char* shown;  // once left and settled
    const char* key;    // its name in the indicator text
    const char* refusal;  // the message of a filter that cannot be designed
  };
  constexpr const char* NoSum = "Расчет фильтра не удался: сумма коэффициентов близка к нулю, привести ее к единице нельзя";
  constexpr const char* TooLong = "Превышен порядок фильтра (>1500)";
  const TCase cases[] = {
      {"InputT1", ftLowPass, "3", "4", "P1", nullptr},
      {"InputT1", ftLowPass, "4", "4", "P1", nullptr},
      {"InputT1", ftLowPass, "300", "300", "P1", nullptr},
      {"InputT1", ftLowPass, "99999", "300", "P1", nullptr},
      {"InputTransient1", ftLowPass, "2", "3", "D1", nullptr},
      {"InputTransient1", ftLowPass, "3", "3", "D1", nullptr},
      {"InputTransient1", ftLowPass, "300", "23", "D1", nullptr},  // then below P1
      {"InputTransient1", ftLowPass, "99999", "23", "D1", nullptr},
      {"InputAtten1", ftLowPass, "0", "1", "A1", nullptr},
      {"InputAtten1", ftLowPass, "1", "1", "A1", nullptr},
      // 1000 dB below a pass band of 0.08 dB: no filter of the estimated order.
      {"InputAtten1", ftLowPass, "1000", "1000", "A1", NoSum},
      {"InputAtten1", ftLowPass, "99999", "1000", "A1", NoSum},
      {"InputRipple", ftLowPass, "0", "0.0001", "Ripple", nullptr},
      {"InputDelay", ftLowPass, "-5", "0", "Delay", nullptr},
      {"InputDelay", ftLowPass, "0", "0", "Delay", nullptr},
      {"InputDelay", ftLowPass, "99", "99", "Delay", nullptr},
      {"InputDelay", ftLowPass, "999", "99", "Delay", nullptr},
      {"InputT2", ftBandPass, "0", "25", "P2", nullptr},  // 1, then above P1
      {"InputT2", ftBandPass, "1", "25", "P2", nullptr},
      {"InputT2", ftBandPass, "300", "300", "P2", TooLong},  // D2 cannot go above it
      {"InputT2", ftBandPass, "99999", "300", "P2", TooLong},
      // 3, then above P2 = 31: a transition too narrow for the order limit.
      {"InputTransient2", ftBandPass, "2", "32", "D2", TooLong},
      {"InputTransient2", ftBandPass, "3", "32", "D2", TooLong},
      {"InputTransient2", ftBandPass, "300", "300", "D2", nullptr},
      {"InputTransient2", ftBandPass, "99999", "300", "D2", nullptr},
      {"InputAtten2", ftBandPass, "0", "1", "A2", nullptr},
      {"InputAtten2", ftBandPass, "1", "1", "A2", nullptr},
      {"InputAtten2", ftBandPass, "1000", "1000", "A2", NoSum},
      {"InputAtten2", ftBandPass, "99999", "1000", "A2", NoSum},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " typed " + c.typed);
    FMain.reset();
    FDialogs.Shown.clear();
    TfrmRemez& g = Start();
    ClickButton(g.FilterType->Button(c.type));
    auto& field = Control<QLineEdit>(g, c.field);
    QWidget* next = &field == g.InputRipple ? static_cast<QWidget*>(g.InputAtten1) : g.InputRipple;
    const QString typed = QString::fromUtf8(c.typed);
    if (typed.contains('-')) {
      field.setFocus();
      field.setText(typed);
      next->setFocus();
    } else {
      TypeInto(g, &field, typed, next);
    }
    EXPECT_EQ(field.text(), c.shown);

    const auto design = [&] {
      DesignAndWait(g);
      std::vector<double> coefficients(g.Design().DesignCoefficients.Coef.begin(),
                                       g.Design().DesignCoefficients.Coef.begin() + g.Design().DesignCoefCount);
      return coefficients;
    };
    const std::vector<double> designed = design();
    // The filter the design took.
    const TFilterRecord& taken = g.CurrentFilter();
    const std::map<std::string, std::string> record = {
        {"P1", std::to_string(taken.P1)}, {"D1", std::to_string(taken.D1)},       {"A1", std::to_string(taken.A1)},
        {"P2", std::to_string(taken.P2)}, {"D2", std::to_string(taken.D2)},       {"A2", std::to_string(taken.A2)},
        {"Delay", std::to_string(taken.Delay)}, {"Ripple", FloatToStrPoint(taken.Ripple)}};
    EXPECT_EQ(record.at(c.key), c.shown);
    if (c.refusal != nullptr) {
      ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
      EXPECT_EQ(FDialogs.Shown[0].Text, c.refusal);
      EXPECT_TRUE(g.IndicatorText().empty());
      continue;
    }
    ASSERT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
    ASSERT_FALSE(designed.empty());
    const std::string term = std::string(c.key) + "=" + c.shown;
    const std::size_t at = g.IndicatorText().find(term);
    ASSERT_NE(at, std::string::npos) << term << "\n" << g.IndicatorText().substr(0, 600);
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(g.IndicatorText()[at + term.size()]))) << term;

    const std::string prm = FDir.File("field.prm");
    FDialogs.FileChoices.push_back(TFileChoice{prm, 2});
    FMain->actFileSave->trigger();
    const TParameterFileValues saved = ReadParameterFile(prm);
    const std::map<std::string, std::optional<std::int32_t>> numbers = {
        {"P1", saved.P1}, {"D1", saved.D1}, {"A1", saved.A1}, {"P2", saved.P2},
        {"D2", saved.D2}, {"A2", saved.A2}, {"Delay", saved.Delay}};
    if (c.key == std::string("Ripple")) {
      EXPECT_EQ(saved.Ripple, c.shown);
    } else {
      const std::optional<std::int32_t> value = numbers.at(c.key);
      ASSERT_TRUE(value.has_value());
      EXPECT_EQ(std::abs(*value), std::stoi(c.shown));
    }

    // Another filter in the window, then the file again.
    ClickButton(g.FilterType->Button(c.type == ftLowPass ? ftBandPass : ftLowPass));
    Open(prm);
    EXPECT_EQ(g.FilterType->ItemIndex(), c.type);
    EXPECT_EQ(field.text(), c.shown);
    EXPECT_EQ(design(), designed);
    EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  }
}

TEST_F(GeneratorFiles, RefreshAsksBeforeItReplacesALoadedHistory) {
  TfrmRemez& g = Start();
  // Without a design the command does nothing.
  FMain->actRefresh->trigger();
  DesignAndWait(g);
  Open(ORVEL_SAMPLE_HISTORY);
  ASSERT_EQ(g.PriceChart().Bars.size(), 5000u);
  const std::size_t points = g.Preview().Points.size();
  EXPECT_EQ(points, 4998u - 27 + 1);  // bars 0 + 26 + 1 .. 4998

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
  EXPECT_EQ(g.Preview().Points.size(), 2499u - 28 + 1);
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
