// The generator's design runs: start, stop, the results on every page, the
// coefficient drag, refusals, failures, and windows closed while a design runs.
// Covers: formRemez_Design.cpp, formRemez_Preview.cpp, RemezThread.cpp.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>

#include "WorkbenchFixture.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"
#include "workbench/logic/SettingsFile.h"
#include "workbench/logic/formRemezParameters.h"

namespace workbench {
namespace {

// A design long enough to be stopped or abandoned while it runs.
constexpr int LongOrder = 1400;

class GeneratorDesign : public TWorkbenchTest {
 protected:
  TfrmRemez& Start(const std::string& ini = OwnMethodSettings) {
    StartWorkbench(ini);
    return Generator();
  }

  void SetManualOrder(TfrmRemez& g, int order) {
    if (g.CheckBoxOrder->isChecked()) ClickButton(g.CheckBoxOrder);
    g.InputOrder->SetValue(order);
  }

  // The logic's own design of the generator's current filter: the response,
  // the delay cut and the indicator text, as the window must show them.
  struct TExpected {
    TDesignWorkspace Design;
    std::string Text;
  };
  static TExpected DesignByTheLogic(const TfrmRemez& g) {
    TExpected expected;
    expected.Design = g.Parameters();
    TFilterRecord filter = g.CurrentFilter();
    EXPECT_EQ(DesignImpulseResponse(expected.Design, filter.FilterType, filter.Order, filter.Method), dsDone);
    const int taps = DesignedResponseTaps(expected.Design, filter.Method);
    TruncateForDelay(expected.Design, taps, filter.Delay, filter.Method == dmOwnExchange ? 1 : 2);
    filter.CoefCount = expected.Design.DesignCoefCount;
    expected.Design.DesignCoefficients.TextMode = static_cast<std::uint8_t>(g.FIRTextMode->ItemIndex());
    expected.Text = GenerateIndicatorText(filter, expected.Design.DesignCoefficients);
    return expected;
  }
};

TEST_F(GeneratorDesign, StartDesignsAndFillsEveryPage) {
  TfrmRemez& g = Start();
  ASSERT_EQ(g.LabelOrder->text(), "50");
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  EXPECT_EQ(g.ButtonStart->text(), "Стоп");
  EXPECT_FALSE(g.InputT1->isEnabled());
  WaitForDesign(g);
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  EXPECT_TRUE(g.InputT1->isEnabled());
  EXPECT_TRUE(g.StatusBar1->currentMessage().isEmpty());
  EXPECT_FALSE(g.WarnLabel->isVisible());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();

  // 51 taps cut to 26 coefficients: the centre and the 25 after it.
  const TExpected expected = DesignByTheLogic(g);
  ASSERT_EQ(g.Design().KernelLength, 51);
  ASSERT_EQ(g.Design().DesignCoefCount, 26);
  EXPECT_EQ(g.Design().DesignCoefficients.Coef, expected.Design.DesignCoefficients.Coef);
  // The memo holds the logic's text, byte for byte.
  EXPECT_EQ(g.IndicatorText(), expected.Text);
  EXPECT_EQ(g.Memo1->toPlainText(), QString::fromStdString(expected.Text).replace("\r\n", "\n"));

  // Every view is filled.
  EXPECT_EQ(g.FftViews().TransformSize, 256);
  EXPECT_EQ(g.FftViews().Amplitude.size(), 129u);
  EXPECT_NEAR(g.FftViews().Amplitude[0], 256, 10);
  EXPECT_EQ(g.LogView().Values.size(), 250u);
  EXPECT_TRUE(g.LogView().FixedRange);
  EXPECT_EQ(g.Preview().Points.size(), 2499u - 28 + 1);  // bars 1 + 26 + 1 .. 2499

  // And the commands that need a design.
  EXPECT_TRUE(g.FIRTextMode->isEnabled());
  EXPECT_TRUE(g.pnSetPrice->isVisible());
  EXPECT_TRUE(g.chkSeparate->isVisible());
  EXPECT_TRUE(g.btnCopy->isVisible());
  EXPECT_TRUE(g.actCopyToClipboard->isEnabled());
  EXPECT_TRUE(FMain->actFileSave->isEnabled());
  EXPECT_TRUE(FMain->actFormCopy->isEnabled());

  // The main window's Copy puts the whole text on the clipboard.
  FMain->actFormCopy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected.Text);
}

TEST_F(GeneratorDesign, TextFormAndPriceInputRewriteTheText) {
  TfrmRemez& g = Start();
  DesignAndWait(g);
  const std::string mql4 = g.IndicatorText();
  ClickButton(g.FIRTextMode->Button(4));
  EXPECT_NE(g.IndicatorText(), mql4);
  TCoefficientRecord coefficients = g.Design().DesignCoefficients;
  coefficients.TextMode = 4;
  TFilterRecord filter = g.CurrentFilter();
  EXPECT_EQ(g.IndicatorText(), GenerateIndicatorText(filter, coefficients));

  const std::size_t previewBefore = g.Preview().Points.size();
  const double valueBefore = g.Preview().Values[2000];
  ClickButton(g.rbPrice2);
  EXPECT_EQ(g.CurrentFilter().Price, 1);
  EXPECT_EQ(g.Preview().Points.size(), previewBefore);
  EXPECT_NE(g.Preview().Values[2000], valueBefore);
}

TEST_F(GeneratorDesign, DraggingTheCentrePointChangesTextAndViews) {
  TfrmRemez& g = Start();
  DesignAndWait(g);
  const std::string text = g.IndicatorText();
  const TFftViews views = g.FftViews();
  const TLogView log = g.LogView();
  // The amplitude chart as shown; its first point, 256 times the unit sum, stays.
  const auto shownAmplitude = [&g] {
    std::vector<double> values;
    for (int i = 0; i < g.Series1->Count(); ++i) values.push_back(g.Series1->YValues()->Value(i));
    return values;
  };
  const std::vector<double> amplitude = shownAmplitude();
  const double centre = g.Design().DesignCoefficients.Coef[0];

  // The mouse takes the centre point up by 20 pixels on the live chart.
  g.pcText->setCurrentIndex(1);
  g.ChartFunct->repaint();
  ASSERT_EQ(g.Series4->Count(), 26);
  const QPoint point(g.Series4->CalcXPos(0), g.Series4->CalcYPos(0));
  QTest::mousePress(g.ChartFunct, Qt::LeftButton, {}, point);
  QTest::mouseMove(g.ChartFunct, point - QPoint(0, 10));
  QTest::mouseMove(g.ChartFunct, point - QPoint(0, 20));
  QTest::mouseRelease(g.ChartFunct, Qt::LeftButton, {}, point - QPoint(0, 20));
  EXPECT_GT(g.Design().DesignCoefficients.Coef[0], centre);

  EXPECT_NE(g.IndicatorText(), text);
  EXPECT_NE(g.FftViews().Amplitude, views.Amplitude);
  EXPECT_EQ(g.LogView().Values, log.Values);  // the designed response did not change
  EXPECT_NE(shownAmplitude(), amplitude);
  double sum = 0;
  for (int k = 0; k < 26; ++k) sum += g.Design().DesignCoefficients.Coef[k];
  EXPECT_NEAR(sum, 1.0, 1e-14);
  // The points show the rescaled coefficients.
  for (int k = 0; k < 26; ++k) EXPECT_EQ(g.Series4->YValues()->Value(k), g.Design().DesignCoefficients.Coef[k]) << k;
  EXPECT_FALSE(g.Memo1->toPlainText().isEmpty());
  // The inputs no longer describe the coefficients.
  EXPECT_EQ(g.InputAtten1->palette().color(QPalette::Base), QColor(165, 195, 217));

  // A drag that would leave no sum is refused, changes nothing, and its point returns.
  const TCoefficientRecord before = g.Design().DesignCoefficients;
  double others = 0;
  for (int k = 1; k < 26; ++k) others += before.Coef[k];
  g.Series4->SetYValue(0, -others);
  EXPECT_FALSE(g.ChartTool1DragPoint(0, -others));
  EXPECT_EQ(g.Design().DesignCoefficients.Coef, before.Coef);
  EXPECT_EQ(g.Series4->YValues()->Value(0), before.Coef[0]);

  // The next design paints the inputs white again.
  DesignAndWait(g);
  EXPECT_EQ(g.InputAtten1->palette().color(QPalette::Base), g.palette().color(QPalette::Base));
  EXPECT_EQ(g.IndicatorText(), text);
}

TEST_F(GeneratorDesign, ACandleShowsItsLabelUnderTheMouse) {
  TfrmRemez& g = Start();
  g.pcMain->setCurrentWidget(g.tsTimeChart);
  g.TimeChart->repaint();
  const int index = g.PriceChart().ViewEnd - 10;
  const QPoint candle(g.Series2->CalcXPos(index), g.Series2->CalcYPos(index));
  QTest::mouseMove(g.TimeChart, candle);
  EXPECT_EQ(g.TimeChart->Panel().Hint(), g.PriceChart().Bars[index].Label);
}

TEST_F(GeneratorDesign, AnOrderOfFifteenHundredIsRefused) {
  TfrmRemez& g = Start();
  SetManualOrder(g, 1500);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Caption, "Max error");
  EXPECT_EQ(FDialogs.Shown[0].Text, "Превышен порядок фильтра (>1500)");
  EXPECT_FALSE(g.DesignRunning());
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  for (QWidget* input : std::initializer_list<QWidget*>{g.InputT1, g.InputTransient1, g.InputRipple, g.InputAtten1,
                                                        g.InputDelay, g.Method1, g.Method2, g.InputOrder,
                                                        g.CheckBoxOrder})
    EXPECT_TRUE(input->isEnabled()) << input->objectName().toStdString();
  // The estimate is not what counts: a small manual order designs however large it is.
  g.InputT1->SetValue(300);
  g.InputTransient1->SetValue(299);
  ASSERT_GE(g.LabelOrder->text().toLongLong(), MaxFilterOrder);
  SetManualOrder(g, 30);
  DesignAndWait(g);
  EXPECT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_EQ(g.Design().KernelLength, 31);
}

TEST_F(GeneratorDesign, AnInputThatDoesNotReadLeavesTheInputsUnlocked) {
  TfrmRemez& g = Start();
  g.InputRipple->setText("0.0.8");  // typed points only, yet no number
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_EQ(FDialogs.Shown[0].Text, "'0.0.8' is not a valid floating point value");
  EXPECT_FALSE(g.DesignRunning());
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  for (QWidget* input : std::initializer_list<QWidget*>{g.InputT1, g.InputRipple, g.InputAtten1, g.Method1,
                                                        g.CheckBoxOrder})
    EXPECT_TRUE(input->isEnabled()) << input->objectName().toStdString();
  g.InputRipple->setText("0.08");
  DesignAndWait(g);
  EXPECT_FALSE(g.IndicatorText().empty());
}

TEST_F(GeneratorDesign, StopReturnsAtOnceAndKeepsThePreviousDesign) {
  TfrmRemez& g = Start();
  DesignAndWait(g);
  const std::string text = g.IndicatorText();
  SetManualOrder(g, LongOrder);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  ASSERT_TRUE(g.DesignRunning());
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  EXPECT_FALSE(g.DesignRunning());
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  EXPECT_TRUE(g.InputT1->isEnabled());
  EXPECT_TRUE(g.StatusBar1->currentMessage().isEmpty());
  // The stopped run ends and reports nothing.
  WaitForDesignThreads();
  QTest::qWait(20);
  EXPECT_EQ(g.Design().KernelLength, 51);
  EXPECT_TRUE(g.Memo1->toPlainText().isEmpty());
  EXPECT_FALSE(FMain->actFormCopy->isEnabled());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  (void)text;
}

TEST_F(GeneratorDesign, ARunStoppedAndStartedAgainShowsOnlyTheNewDesign) {
  TfrmRemez& g = Start();
  SetManualOrder(g, LongOrder);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  SetManualOrder(g, 40);
  DesignAndWait(g);
  WaitForDesignThreads();
  QTest::qWait(20);
  EXPECT_EQ(g.Design().KernelLength, 41);
  EXPECT_EQ(g.IndicatorText(), DesignByTheLogic(g).Text);
}

TEST_F(GeneratorDesign, LongDesignsReportTheirRounds) {
  TfrmRemez& g = Start();
  SetManualOrder(g, 300);
  QStringList statuses;
  QObject::connect(g.StatusBar1, &QStatusBar::messageChanged, [&](const QString& s) { statuses << s; });
  DesignAndWait(g);
  ASSERT_FALSE(statuses.isEmpty());
  EXPECT_TRUE(statuses.contains("Расчет импульсной характеристики фильтра [n=300] (шаг 1)..."))
      << statuses.join("|").toStdString();
  EXPECT_TRUE(g.StatusBar1->currentMessage().isEmpty());
}

TEST_F(GeneratorDesign, ALibraryDesignThatFailsSaysSoAndLeavesNothingToSave) {
  TfrmRemez& g = Start();
  ClickButton(g.Method2);
  DesignAndWait(g);
  ASSERT_FALSE(g.IndicatorText().empty());
  // Two taps are no filter the library designs.
  SetManualOrder(g, 2);
  DesignAndWait(g);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Remez: (Length(H) < 3) or (Length(H) > 10000)");
  EXPECT_TRUE(g.IndicatorText().empty());
  EXPECT_TRUE(g.Memo1->toPlainText().isEmpty());
  EXPECT_FALSE(FMain->actFileSave->isEnabled());
  EXPECT_FALSE(FMain->actFormCopy->isEnabled());
  EXPECT_FALSE(g.actCopyToClipboard->isEnabled());
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  EXPECT_TRUE(g.InputT1->isEnabled());
  // Copy and Save find nothing to write.
  g.actFileSaveExecute();
  EXPECT_TRUE(FDialogs.FileDialogs.empty());
}

TEST_F(GeneratorDesign, AnIterationLimitResultShowsTheWarning) {
  // A narrow low-pass design long enough that the own exchange does not
  // settle within its rounds: its stop band sits at the rounding floor.
  TGeneratorInputs in;
  in.P1 = 10;
  in.D1 = 5;
  in.Method = dmOwnExchange;
  in.AutoOrder = false;
  int order = 0;
  for (int candidate = 150; candidate <= 400 && order == 0; candidate += 10) {
    TDesignWorkspace ws;
    in.InputOrder = candidate;
    const TFilterRecord f = ComputeDesignParameters(ws, in);
    if (DesignImpulseResponse(ws, f.FilterType, f.Order, f.Method) == dsIterationLimit) order = candidate;
  }
  if (order == 0) GTEST_SKIP() << "the own exchange settles every candidate";

  TfrmRemez& g = Start();
  g.InputTransient1->SetValue(5);
  g.InputT1->SetValue(10);
  SetManualOrder(g, order);
  DesignAndWait(g);
  EXPECT_TRUE(g.WarnLabel->isVisible());
  EXPECT_EQ(g.WarnLabel->text(), "Превышено количество итераций!\n\rРезультаты могут быть неправильные.");
  EXPECT_FALSE(g.IndicatorText().empty());
  EXPECT_EQ(g.Design().IterationLimitReached, 1);
  // The next change of the inputs puts the warning away.
  g.InputAtten1->SetValue(41);
  EXPECT_FALSE(g.WarnLabel->isVisible());
}

TEST_F(GeneratorDesign, OnTheFlyEveryChangeDesigns) {
  TfrmRemez& g = Start();
  ClickButton(g.CheckBoxAuto);
  EXPECT_FALSE(g.ButtonStart->isEnabled());
  WaitForDesign(g);
  EXPECT_EQ(g.Design().KernelLength, 51);
  g.InputAtten1->Step(1);  // the up button
  WaitForDesign(g);
  EXPECT_EQ(g.CurrentFilter().A1, 41);
  EXPECT_EQ(g.IndicatorText(), DesignByTheLogic(g).Text);
  ClickButton(g.CheckBoxAuto);
  EXPECT_TRUE(g.ButtonStart->isEnabled());
}

TEST_F(GeneratorDesign, EachRunKeepsTheGeneratorsGridDensity) {
  TfrmRemez& g = Start();
  EXPECT_EQ(g.Parameters().GridDensity, DefaultGridDensity);
  ClickButton(g.Method2);
  ClickButton(g.Method1);
  EXPECT_EQ(g.Parameters().GridDensity, LibraryGridDensity);
  DesignAndWait(g);
  EXPECT_EQ(g.Design().GridDensity, LibraryGridDensity);
  EXPECT_EQ(g.IndicatorText(), DesignByTheLogic(g).Text);
}

TEST_F(GeneratorDesign, ClosingTheGeneratorWhileItDesigns) {
  TfrmRemez& g = Start();
  SetManualOrder(g, LongOrder);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  ASSERT_TRUE(g.DesignRunning());
  g.close();
  ASSERT_TRUE(WaitUntil([&] { return FMain->FindChildWindow("frmremez") == nullptr; }, 5000));
  WaitForDesignThreads();
  EXPECT_EQ(RunningDesignThreads(), 0);
  EXPECT_EQ(WorkbenchSettings.Method, dmOwnExchange);
  // The generator opens again and designs.
  FMain->actFormRemez->trigger();
  DesignAndWait(Generator());
  EXPECT_FALSE(Generator().IndicatorText().empty());
}

TEST_F(GeneratorDesign, ClosingTheProgramWhileItDesigns) {
  TfrmRemez& g = Start();
  ClickButton(g.Method2);
  SetManualOrder(g, LongOrder);
  QTest::mouseClick(g.ButtonStart, Qt::LeftButton);
  ASSERT_TRUE(g.DesignRunning());
  FMain->close();
  EXPECT_FALSE(FMain->isVisible());
  FMain.reset();
  WaitForDesignThreads();
  EXPECT_EQ(ReadWorkbenchSettings(SettingsFile()).Method, dmLibrary);
}

}  // namespace
}  // namespace workbench
