// The quote spectrum window: made at start, brought forward and put aside,
// its history, range, spectrum, candles and the main window's commands for it.
// Covers: formSpectrum.cpp, formSpectrum_Chart.cpp, PriceChartView.cpp, the
// spectrum window's part of formMain.cpp.
#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "analysis_ui/SignalToolsDialogs.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "analysis_ui/SpectrumAna.h"
#include "chart/ChartControl.h"
#include "chart/Titles.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "signal/SignalGenerator.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumStats.h"
#include "workbench/forms/Controls.h"
#include "workbench/logic/SettingsFile.h"
#include "SpectrumFixture.h"

namespace workbench {
namespace {

using SpectrumWindow = TSpectrumTest;

TEST_F(SpectrumWindow, TheProgramMakesItAtStartBehindTheGenerator) {
  TfrmMain& main = StartProgram();
  ASSERT_EQ(main.MDIClient->subWindowList().size(), 2);
  TfrmSpectrum& spectrum = Spectrum();
  EXPECT_EQ(spectrum.objectName(), "frmSpectrum");
  EXPECT_EQ(spectrum.windowTitle(), "Анализ спектра");
  EXPECT_FALSE(spectrum.isMinimized());
  EXPECT_EQ(main.ActiveChild(), &Generator());
  EXPECT_TRUE(main.actFormSpectrum->isEnabled());
  EXPECT_FALSE(main.actSpectrumParameters->isEnabled());

  // Nothing to compute before a history is open.
  EXPECT_EQ(spectrum.lblHead->text(), "Спектральный анализ");
  EXPECT_EQ(spectrum.Label1->text(), "Откройте файл котировок и укажите параметры расчета спектра");
  EXPECT_EQ(spectrum.GroupBox1->title(), "Диапазон выборки");
  EXPECT_EQ(Control<QLabel>(spectrum, "Label2").text(), "От");
  EXPECT_EQ(Control<QLabel>(spectrum, "Label3").text(), "до");
  for (QSlider* bar : {spectrum.tbFrom, spectrum.tbTo}) {
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_FALSE(bar->isEnabled());
  }
  EXPECT_TRUE(spectrum.lblFrom->isHidden());
  EXPECT_TRUE(spectrum.lblTo->isHidden());
  EXPECT_EQ(spectrum.btnCalc->text(), "Расчет");
  EXPECT_FALSE(spectrum.btnCalc->isEnabled());
  for (QAction* action : {spectrum.actChartZoomIn, spectrum.actChartZoomOut, spectrum.actSpectrumParameters})
    EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
  EXPECT_EQ(spectrum.actChartZoomIn->toolTip(), "Увеличить график");
  EXPECT_EQ(spectrum.actChartZoomOut->toolTip(), "Уменьшить график");
  EXPECT_EQ(spectrum.actSpectrumParameters->shortcut(), QKeySequence("Ctrl+P"));
  EXPECT_EQ(spectrum.tbZoom->actions(), (QList<QAction*>{spectrum.actChartZoomIn, spectrum.actChartZoomOut}));
  EXPECT_EQ(spectrum.PriceChart().ZoomLevel, 4);

  // The charts: candles over black, the spectrum by period and by frequency
  // on pages whose tabs sit at the bottom.
  EXPECT_EQ(spectrum.TimeChart->toolTip(), "Котировки");
  EXPECT_EQ(spectrum.TimeChartModel().Color(), chart::clBlack);
  EXPECT_FALSE(spectrum.TimeChartModel().Legend()->Visible());
  EXPECT_EQ(spectrum.Series1->VertAxis(), chart::aRightAxis);
  EXPECT_EQ(spectrum.PageControl1->tabPosition(), QTabWidget::South);
  ASSERT_EQ(spectrum.PageControl1->count(), 2);
  EXPECT_EQ(spectrum.PageControl1->tabText(0), "Период, бар");
  EXPECT_EQ(spectrum.PageControl1->tabText(1), "Частота, 1/период");
  EXPECT_EQ(spectrum.SpectrumChartModel().Title()->Text(), std::vector<std::string>{"Спектр диапазона котировок, бар"});
  EXPECT_FALSE(spectrum.SpectrumChartModel().Legend()->Visible());
  EXPECT_FALSE(spectrum.SpectrumChartModel().View3D());
  EXPECT_EQ(spectrum.Series2->SeriesColor(), chart::clRed);
  EXPECT_EQ(spectrum.Series3->SeriesColor(), chart::clRed);
  EXPECT_EQ(spectrum.Series3->ParentChart(), &spectrum.SpectrumChart1Model());
  ASSERT_EQ(spectrum.SpectrumChart1Model().Spectrums()->Count(), 1);
  EXPECT_EQ(spectrum.SpectrumChart1Model().Spectrums()->Items(0)->Input(), &spectrum.SpectrumAnalyzer());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SpectrumWindow, TheAnalyserIsSetUpForBars) {
  StartProgram();
  const sig::TSpectrumAnalyzer& analyzer = Spectrum().SpectrumAnalyzer();
  EXPECT_EQ(analyzer.InputSignal(), &Spectrum().SignalGenerator());
  EXPECT_EQ(analyzer.Dt(), 1);
  EXPECT_EQ(analyzer.SpectrumType(), dsp::spPower);
  EXPECT_EQ(analyzer.SidelobeAtt(), 40);
  EXPECT_EQ(analyzer.Stats().Averaging(), sig::avNone);
  EXPECT_EQ(analyzer.Stats().ConfidenceInterval(), 99);
  EXPECT_EQ(analyzer.HzRes(), 0.0078125);
  EXPECT_EQ(analyzer.CZT().StopFrequency(), 0.5);
  EXPECT_EQ(analyzer.CZT().FrequencyStep(), 0.0078125);
  EXPECT_EQ(analyzer.PhaseRange(), sig::prPiPi);
  EXPECT_EQ(analyzer.ScaleFactor(), 1);
  EXPECT_EQ(analyzer.Harmonics(), 10);
  EXPECT_EQ(analyzer.ExpWindow(), 0.01);
  EXPECT_EQ(analyzer.Window(), dsp::wtRectangular);
  EXPECT_TRUE(analyzer.DCDump());
  EXPECT_EQ(Spectrum().SignalGenerator().PhaseUnits(), sig::puRad);
  EXPECT_EQ(Spectrum().SignalGenerator().Input(), nullptr);
}

TEST_F(SpectrumWindow, ItsParameterDialogIsLiveAndStoresNothing) {
  StartProgram();
  const analysis_ui::TSpectrumAnalyzerDialog& dialog = Spectrum().SpectrumAnalyzerDialog();
  EXPECT_EQ(dialog.Name(), "SpectrumAnalyzerDialog");
  EXPECT_EQ(dialog.Source(), &Spectrum().SpectrumAnalyzer());
  EXPECT_TRUE(dialog.ShowLive());
  EXPECT_FALSE(dialog.StoreInRegistry());
  EXPECT_EQ(dialog.RegistryPath(), "\\Software\\Halvane\\Numora");
  EXPECT_FALSE(dialog.StayOnTop());
  EXPECT_FALSE(dialog.Docking());
}

TEST_F(SpectrumWindow, AParameterChangeRedrawsBothChartsOnceThereIsASpectrum) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  sig::TSpectrumAnalyzer& analyzer = spectrum.SpectrumAnalyzer();
  // Before "Расчет" there is no spectrum to redraw.
  analyzer.SetWindow(dsp::wtHanning);
  analyzer.ParameterUpdate(nullptr);
  EXPECT_EQ(spectrum.Series3->Count(), 0);
  EXPECT_EQ(spectrum.Series2->Count(), 0);

  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  const TSeriesPoints hanning = PointsOf(*spectrum.Series3), hanningByPeriod = PointsOf(*spectrum.Series2);
  // The parameter window reports each change as it is made.
  analyzer.SetWindow(dsp::wtRectangular);
  analyzer.ParameterUpdate(nullptr);
  const TSeriesPoints rectangular = PointsOf(*spectrum.Series3), rectangularByPeriod = PointsOf(*spectrum.Series2);
  ASSERT_EQ(rectangular.X, hanning.X);
  EXPECT_NE(rectangular.Y, hanning.Y);
  ASSERT_EQ(rectangularByPeriod.X, hanningByPeriod.X);
  EXPECT_NE(rectangularByPeriod.Y, hanningByPeriod.Y);
  // Both charts show the same lines.
  for (std::size_t j = 0; j < rectangularByPeriod.Y.size(); ++j)
    EXPECT_EQ(rectangularByPeriod.Y[j], rectangular.Y[rectangular.Y.size() - 1 - j]) << j;
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SpectrumWindow, CtrlPOpensTheParameterFormWhoseChangesRedrawBothCharts) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  const TSeriesPoints rectangular = PointsOf(*spectrum.Series3), rectangularByPeriod = PointsOf(*spectrum.Series2);

  QApplication::setActiveWindow(FMain.get());
  QTest::keyClick(FMain->windowHandle(), Qt::Key_P, Qt::ControlModifier);
  auto* form = dynamic_cast<analysis_ui::TSpectrumAnaForm*>(spectrum.SpectrumAnalyzerDialog().EditorForm());
  ASSERT_NE(form, nullptr);
  // A floating window of its own beside the spectrum window, live at once.
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->isWindow());
  EXPECT_FALSE(form->isModal());
  EXPECT_TRUE(Control<QAction>(*form, "Live1").isChecked());
  EXPECT_EQ(Control<QComboBox>(*form, "WindowBox").currentText(), "Rectangular");

  Control<QComboBox>(*form, "WindowBox").setCurrentIndex(dsp::wtHanning);
  const TSeriesPoints hanning = PointsOf(*spectrum.Series3), hanningByPeriod = PointsOf(*spectrum.Series2);
  ASSERT_EQ(hanning.X, rectangular.X);
  EXPECT_NE(hanning.Y, rectangular.Y);
  ASSERT_EQ(hanningByPeriod.X, rectangularByPeriod.X);
  EXPECT_NE(hanningByPeriod.Y, rectangularByPeriod.Y);

  // The main window's Spectrum Parameters bring the same form up again.
  FMain->actSpectrumParameters->trigger();
  EXPECT_EQ(spectrum.SpectrumAnalyzerDialog().EditorForm(), form);

  // Cancel puts the window back, and both charts with it.
  QPointer<analysis_ui::TSpectrumAnaForm> guard(form);
  Control<QToolButton>(*form, "CancelButton").click();
  EXPECT_EQ(PointsOf(*spectrum.Series3).Y, rectangular.Y);
  EXPECT_EQ(PointsOf(*spectrum.Series2).Y, rectangularByPeriod.Y);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
  // A change made afterwards still redraws the window.
  spectrum.SpectrumAnalyzer().SetWindow(dsp::wtHanning);
  spectrum.SpectrumAnalyzer().ParameterUpdate(nullptr);
  EXPECT_EQ(PointsOf(*spectrum.Series2).Y, hanningByPeriod.Y);
  // Left open, the form goes with the window when the program ends.
  FMain->actSpectrumParameters->trigger();
  EXPECT_NE(spectrum.SpectrumAnalyzerDialog().EditorForm(), nullptr);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SpectrumWindow, TheScalesFollowTheSpectrumsValues) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  chart::TChartAxis& byPeriod = *spectrum.SpectrumChartModel().LeftAxis();
  chart::TChartAxis& byFrequency = *spectrum.SpectrumChart1Model().LeftAxis();
  // The power of closes that move by a hundredth: labels with three decimals
  // would all read 0.
  EXPECT_EQ(byPeriod.Minimum(), 0);
  EXPECT_GT(byPeriod.Maximum(), 0);
  EXPECT_LT(byPeriod.Maximum(), 1e-3);
  EXPECT_EQ(byPeriod.AxisValuesFormat(), "0.##E+0");
  EXPECT_EQ(byFrequency.AxisValuesFormat(), "0.##E+0");

  // In decibels the lines lie below 0: the scale reaches down to the lowest
  // one below 200 bars, and its labels are plain numbers again.
  sig::TSpectrumAnalyzer& analyzer = spectrum.SpectrumAnalyzer();
  analyzer.SetLogarithmic(true);
  analyzer.ParameterUpdate(nullptr);
  const TSeriesPoints decibels = PointsOf(*spectrum.Series2);
  double lowest = 0;
  for (std::size_t j = 0; j < decibels.X.size(); ++j)
    if (decibels.X[j] < 200) lowest = std::min(lowest, decibels.Y[j]);
  EXPECT_LT(lowest, -20);
  EXPECT_EQ(byPeriod.Minimum(), lowest);
  EXPECT_EQ(byPeriod.Maximum(), 0);
  EXPECT_EQ(byPeriod.AxisValuesFormat(), chart::TChart().LeftAxis()->AxisValuesFormat());
  EXPECT_EQ(byFrequency.AxisValuesFormat(), byPeriod.AxisValuesFormat());
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(SpectrumWindow, TheSpectrumCommandBringsItForward) {
  TfrmMain& main = StartProgram();
  main.actFormSpectrum->trigger();
  TfrmSpectrum& spectrum = Spectrum();
  EXPECT_EQ(main.ActiveChild(), &spectrum);
  EXPECT_TRUE(spectrum.isMaximized());
  EXPECT_TRUE(main.actFileOpen->isEnabled());
  EXPECT_EQ(main.actFileOpen->toolTip(), "Открыть файл котировок");
  EXPECT_FALSE(main.actSpectrumParameters->isEnabled());
  // A second press makes no second window.
  main.actFormSpectrum->trigger();
  EXPECT_EQ(main.MDIClient->subWindowList().size(), 2);
  EXPECT_EQ(main.ActiveChild(), &spectrum);
}

TEST_F(SpectrumWindow, AThousandBarHistoryGivesTheWholeRange) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  EXPECT_EQ(spectrum.tbFrom->minimum(), 0);
  EXPECT_EQ(spectrum.tbTo->minimum(), 10);
  for (QSlider* bar : {spectrum.tbFrom, spectrum.tbTo}) {
    EXPECT_EQ(bar->maximum(), 999);
    EXPECT_EQ(bar->tickInterval(), 20);
    EXPECT_TRUE(bar->isEnabled());
  }
  EXPECT_EQ(spectrum.tbFrom->value(), 1);
  EXPECT_EQ(spectrum.tbTo->value(), 999);
  EXPECT_TRUE(spectrum.lblFrom->isVisible());
  EXPECT_TRUE(spectrum.lblTo->isVisible());
  EXPECT_EQ(spectrum.lblFrom->text(), "bar 1 15.03.24 11:00");
  // Bar 999 is 999 hours (41 days and 15 hours) later.
  EXPECT_EQ(spectrum.lblTo->text(), "bar 999 26.04.24 01:00");
  EXPECT_TRUE(spectrum.btnCalc->isEnabled());
  EXPECT_TRUE(spectrum.actChartZoomIn->isEnabled());
  EXPECT_TRUE(spectrum.actChartZoomOut->isEnabled());
  EXPECT_TRUE(spectrum.actSpectrumParameters->isEnabled());
  EXPECT_TRUE(FMain->actSpectrumParameters->isEnabled());
  EXPECT_TRUE(spectrum.HSTLabel->isVisible());
  EXPECT_EQ(spectrum.HSTLabel->text(), "EURUSD,1H 1000 записей");
  // The candles: bar i at x = i + 1, each with its label, the view at the end.
  ASSERT_EQ(spectrum.Series1->Count(), 1000);
  EXPECT_EQ(spectrum.Series1->XValues()->Value(0), 1);
  EXPECT_EQ(spectrum.Series1->Labels().GetLabel(999).substr(0, 16), "26.04.24 01:00\r\n");
  EXPECT_EQ(spectrum.PriceChart().LastIndex, 999);
  EXPECT_EQ(spectrum.PriceChart().ViewEnd, 999);
  EXPECT_EQ(spectrum.TimeChartModel().BottomAxis()->Maximum(), 1000);
}

TEST_F(SpectrumWindow, TheRangeKeepsElevenBars) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  spectrum.tbFrom->setValue(45);
  spectrum.tbTo->setValue(50);
  EXPECT_EQ(spectrum.tbFrom->value(), 40);
  EXPECT_EQ(spectrum.tbTo->value(), 50);
  EXPECT_EQ(spectrum.lblFrom->text(), "bar 40 17.03.24 02:00");
  EXPECT_EQ(spectrum.lblTo->text(), "bar 50 17.03.24 12:00");
  // Dragging the start past the end brings it back to 11 bars before it.
  spectrum.tbFrom->setValue(700);
  EXPECT_EQ(spectrum.tbFrom->value(), 40);
  // The keys of a focused track bar move it as a drag does; the end stops
  // at bar 10, so the range never shrinks below 11 bars.
  spectrum.tbTo->setFocus();
  QTest::keyClick(spectrum.tbTo, Qt::Key_Home);
  EXPECT_EQ(spectrum.tbTo->value(), 10);
  EXPECT_EQ(spectrum.tbFrom->value(), 0);
}

TEST_F(SpectrumWindow, ADailyHistoryLabelsTheDateOnly) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(30, 1440));
  EXPECT_EQ(spectrum.lblFrom->text(), "bar 1 16.03.24");
  EXPECT_EQ(spectrum.lblTo->text(), "bar 29 13.04.24");
}

TEST_F(SpectrumWindow, ComputeFillsBothChartsAndTwiceGivesTheSame) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  spectrum.tbFrom->setValue(100);
  spectrum.tbTo->setValue(700);
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  // The closes of bars 100 .. 700 went into the signal.
  const numeric::TVec& signal = spectrum.SignalGenerator().Data();
  ASSERT_EQ(signal.Length(), 601);
  EXPECT_EQ(signal.Values()[0], spectrum.PriceChart().Bars[100].Close);
  EXPECT_EQ(signal.Values()[600], spectrum.PriceChart().Bars[700].Close);
  const std::vector<double> closes(signal.Values(), signal.Values() + 601);

  // 601 closes over 1024 points: 512 lines, 1/1024 cycles per bar apart.
  const TSeriesPoints byFrequency = PointsOf(*spectrum.Series3);
  ASSERT_EQ(byFrequency.X.size(), 512u);
  for (int k = 0; k < 512; ++k) EXPECT_EQ(byFrequency.X[k], k / 1024.0) << k;
  // The cycle of 25 bars stands out: its line is the largest.
  const auto peak = std::max_element(byFrequency.Y.begin(), byFrequency.Y.end()) - byFrequency.Y.begin();
  EXPECT_NEAR(1024.0 / peak, 25, 0.5);

  // By period: every line but the one at 0, periods ascending.
  const TSeriesPoints byPeriod = PointsOf(*spectrum.Series2);
  ASSERT_EQ(byPeriod.X.size(), 511u);
  double largestBelow200 = 0;
  for (int j = 0; j < 511; ++j) {
    const int k = 511 - j;
    EXPECT_EQ(byPeriod.X[j], 1 / byFrequency.X[k]) << j;
    EXPECT_EQ(byPeriod.Y[j], byFrequency.Y[k]) << j;
    if (byPeriod.X[j] < 200) largestBelow200 = std::max(largestBelow200, byPeriod.Y[j]);
  }
  const chart::TChart& periodChart = spectrum.SpectrumChartModel();
  EXPECT_EQ(periodChart.LeftAxis()->Minimum(), 0);
  EXPECT_EQ(periodChart.LeftAxis()->Maximum(), largestBelow200);
  EXPECT_EQ(periodChart.BottomAxis()->Minimum(), 0);
  EXPECT_EQ(periodChart.BottomAxis()->Maximum(), 200);
  // Periods of 200 bars and more are drawn, above the scale.
  EXPECT_GT(byPeriod.X.back(), 1000);

  // Again without a change: the same charts (an FFT may round its last
  // bits otherwise from one call to the next).
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  const TSeriesPoints again = PointsOf(*spectrum.Series3);
  ASSERT_EQ(again.X, byFrequency.X);
  for (int k = 0; k < 512; ++k)
    EXPECT_NEAR(again.Y[k], byFrequency.Y[k], PowerTolerance(closes, 1024, byFrequency.Y[k])) << k;
  const TSeriesPoints periodsAgain = PointsOf(*spectrum.Series2);
  EXPECT_EQ(periodsAgain.X, byPeriod.X);
  ASSERT_EQ(periodsAgain.Y.size(), byPeriod.Y.size());
  for (std::size_t j = 0; j < byPeriod.Y.size(); ++j)
    EXPECT_NEAR(periodsAgain.Y[j], byPeriod.Y[j], PowerTolerance(closes, 1024, byPeriod.Y[j])) << j;
}

TEST_F(SpectrumWindow, AShortHistoryGivesWhatItHas) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(6));
  EXPECT_EQ(spectrum.tbFrom->value(), 0);
  EXPECT_EQ(spectrum.tbTo->value(), 5);
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  EXPECT_EQ(spectrum.SignalGenerator().Data().Length(), 6);
  EXPECT_EQ(spectrum.Series3->Count(), 4);
  EXPECT_EQ(spectrum.Series2->Count(), 3);

  // Two bars, the shortest history the reader takes: both, and still no error.
  Open(HistoryFile(2));
  EXPECT_EQ(spectrum.tbFrom->maximum(), 1);
  EXPECT_EQ(spectrum.tbFrom->value(), 0);
  EXPECT_EQ(spectrum.tbTo->value(), 1);
  EXPECT_EQ(spectrum.lblFrom->text(), "bar 0 15.03.24 10:00");
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  EXPECT_EQ(spectrum.SignalGenerator().Data().Length(), 2);
  EXPECT_EQ(spectrum.Series3->Count(), 1);
  EXPECT_EQ(spectrum.Series2->Count(), 0);
}

TEST_F(SpectrumWindow, TheRangeStaysWithTheHistoryTheWindowOpened) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  // Another window replaces the process's history (the generator's refresh
  // empties it); the spectrum window computes from the candles it shows.
  History = THistory{};
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  EXPECT_EQ(spectrum.SignalGenerator().Data().Length(), 999);
  EXPECT_EQ(spectrum.Series3->Count(), 512);
}

TEST_F(SpectrumWindow, ARefusedFileLeavesTheWindowAsItWas) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  const TSeriesPoints before = PointsOf(*spectrum.Series2);
  Open(FDir.Write("BROKEN.hst", std::string(300, 'x')));
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_NE(FDialogs.Shown[0].Text.find("BROKEN.hst"), std::string::npos) << FDialogs.Shown[0].Text;
  EXPECT_EQ(spectrum.Series1->Count(), 1000);
  EXPECT_EQ(spectrum.tbTo->maximum(), 999);
  EXPECT_EQ(spectrum.HSTLabel->text(), "EURUSD,1H 1000 записей");
  EXPECT_EQ(PointsOf(*spectrum.Series2).X, before.X);
}

TEST_F(SpectrumWindow, ZoomStopsAtItsLimits) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  const TPriceChart& view = spectrum.PriceChart();
  const int width = spectrum.TimeChart->width();
  EXPECT_EQ(view.VisibleCount, VisibleBarCount(width, 4));
  spectrum.actChartZoomIn->trigger();
  EXPECT_EQ(view.ZoomLevel, 5);
  EXPECT_EQ(spectrum.Series1->CandleWidth(), 11);
  EXPECT_EQ(view.VisibleCount, VisibleBarCount(width, 5));
  EXPECT_EQ(spectrum.TimeChartModel().BottomAxis()->Minimum(), view.ViewEnd - view.VisibleCount);
  spectrum.actChartZoomIn->trigger();
  EXPECT_EQ(view.ZoomLevel, SpectrumMaxZoomLevel);
  EXPECT_FALSE(spectrum.actChartZoomIn->isEnabled());
  spectrum.actChartZoomInExecute();
  EXPECT_EQ(view.ZoomLevel, SpectrumMaxZoomLevel);
  for (int level = 5; level >= 1; --level) {
    spectrum.actChartZoomOut->trigger();
    EXPECT_EQ(view.ZoomLevel, level);
    EXPECT_TRUE(spectrum.actChartZoomIn->isEnabled());
  }
  EXPECT_FALSE(spectrum.actChartZoomOut->isEnabled());
  spectrum.actChartZoomOutExecute();
  EXPECT_EQ(view.ZoomLevel, 1);
  EXPECT_EQ(spectrum.Series1->CandleWidth(), 1);
  EXPECT_EQ(view.VisibleCount, VisibleBarCount(width, 1));
  // The main window's zoom commands are the generator's and comparison's.
  const int level = view.ZoomLevel;
  FMain->actZoomInExecute();
  FMain->actZoomOutExecute();
  EXPECT_EQ(view.ZoomLevel, level);
}

TEST_F(SpectrumWindow, DraggingScrollsTheCandlesUnderASplitCursor) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(HistoryFile(1000));
  chart::TChart& chart = spectrum.TimeChartModel();
  const int end = spectrum.PriceChart().ViewEnd;
  // Over the candles the cursor is the split cursor, dragging or not.
  QTest::mouseMove(spectrum.TimeChart, QPoint(300, 100));
  EXPECT_EQ(chart.ShownCursor(), chart::crHSplit);
  QTest::mousePress(spectrum.TimeChart, Qt::LeftButton, {}, QPoint(300, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(360, 100), spectrum.TimeChart->mapToGlobal(QPointF(360, 100)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(spectrum.TimeChart, &move);
  // The bars follow the mouse: 60 pixels to the right shows 60 older bars.
  EXPECT_EQ(spectrum.PriceChart().ViewEnd, end - 60);
  EXPECT_EQ(chart.BottomAxis()->Maximum(), end - 60 + 1);
  EXPECT_EQ(chart.ShownCursor(), chart::crHSplit);
  // Letting go shows the usual cursor until the mouse moves again.
  QTest::mouseRelease(spectrum.TimeChart, Qt::LeftButton, {}, QPoint(360, 100));
  EXPECT_EQ(chart.ShownCursor(), chart::crDefault);
  EXPECT_EQ(spectrum.PriceChart().ViewEnd, end - 60);
  QTest::mouseMove(spectrum.TimeChart, QPoint(200, 100));
  EXPECT_EQ(chart.ShownCursor(), chart::crHSplit);
  EXPECT_EQ(spectrum.PriceChart().ViewEnd, end - 60);
}

TEST_F(SpectrumWindow, ClosingPutsItAsideAndTheCommandBringsItBack) {
  TfrmMain& main = StartProgram();
  main.actFormSpectrum->trigger();
  TfrmSpectrum& spectrum = Spectrum();
  Open(HistoryFile(100));
  EXPECT_TRUE(main.actSpectrumParameters->isEnabled());
  spectrum.close();
  EXPECT_TRUE(spectrum.isMinimized());
  EXPECT_TRUE(main.HasChild(spectrum));
  EXPECT_FALSE(main.actSpectrumParameters->isEnabled());
  // The window keeps what it had.
  EXPECT_EQ(spectrum.Series1->Count(), 100);

  main.actFormSpectrum->trigger();
  EXPECT_FALSE(spectrum.isMinimized());
  EXPECT_TRUE(spectrum.isMaximized());
  EXPECT_EQ(main.ActiveChild(), &spectrum);
  // It has a history: its parameters are at hand again.
  EXPECT_TRUE(main.actSpectrumParameters->isEnabled());
  EXPECT_EQ(main.actFileOpen->toolTip(), "Открыть файл котировок");

  // The generator's command leaves the spectrum window's parameters as they
  // were, and the spectrum command finds them on.
  main.actFormRemez->trigger();
  main.actFormSpectrum->trigger();
  EXPECT_TRUE(main.actSpectrumParameters->isEnabled());
}

TEST_F(SpectrumWindow, TheMainWindowSendsItOpenAndParametersOnly) {
  TfrmMain& main = StartProgram();
  main.actFormSpectrum->trigger();
  TfrmSpectrum& spectrum = Spectrum();
  // Open: the spectrum window's history dialog.
  Open(HistoryFile(200));
  EXPECT_EQ(spectrum.Series1->Count(), 200);
  EXPECT_EQ(Generator().PriceChart().Bars.size(), 2501u);
  // Save, Copy, zoom and refresh reach nobody while it is in front.
  const std::size_t dialogs = FDialogs.FileDialogs.size();
  const int level = spectrum.PriceChart().ZoomLevel;
  for (QAction* action : {main.actFileSave, main.actFormCopy, main.actZoomIn, main.actZoomOut, main.actRefresh})
    action->setEnabled(true);
  for (QAction* action : {main.actFileSave, main.actFormCopy, main.actZoomIn, main.actZoomOut, main.actRefresh})
    action->trigger();
  EXPECT_EQ(FDialogs.FileDialogs.size(), dialogs);
  EXPECT_EQ(spectrum.PriceChart().ZoomLevel, level);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  // With the generator in front, Open is the generator's again.
  main.actFormRemez->trigger();
  FDialogs.FileChoices.push_back(std::nullopt);
  main.actFileOpen->trigger();
  EXPECT_NE(FDialogs.FileDialogs.back().Filter.find("*.prm"), std::string::npos);
}

TEST_F(SpectrumWindow, ExitPutsItAsideAndStillCloses) {
  TfrmMain& main = StartProgram(OwnMethodSettings);
  TfrmSpectrum* spectrum = &Spectrum();
  Generator().InputT1->SetValue(30);
  main.mnuMainClose->trigger();
  EXPECT_FALSE(main.isVisible());
  // The spectrum window lives until the program ends.
  ASSERT_EQ(main.MDIClient->subWindowList().size(), 1);
  EXPECT_EQ(main.MDIClient->subWindowList()[0], spectrum);
  EXPECT_EQ(ReadWorkbenchSettings(SettingsFile()).P1, 30);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

}  // namespace
}  // namespace workbench

namespace workbench {
namespace {

// Pixels of a widget's area in a screenshot of the window that match.
template <class Match>
int CountPixels(const QImage& shot, QWidget& window, QWidget& area, Match match) {
  const QRect r(area.mapTo(&window, QPoint(0, 0)), area.size());
  int count = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (match(shot.pixelColor(x, y))) ++count;
  return count;
}

bool StrongRed(const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool StrongLime(const QColor& c) { return c.green() > 200 && c.red() < 60 && c.blue() < 60; }

TEST_F(SpectrumWindow, OnTheSampleHistoryItShowsCandlesAndTheSpectrumOnBothPages) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(ORVEL_SAMPLE_HISTORY);
  QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();

  const QImage byPeriod = Screenshot(spectrum, "spectrum_window_period");
  EXPECT_GT(CountPixels(byPeriod, spectrum, *spectrum.TimeChart, StrongLime), 500);
  EXPECT_GT(CountPixels(byPeriod, spectrum, *spectrum.SpectrumChart, StrongRed), 200);
  // The range's texts are on show.
  EXPECT_TRUE(spectrum.lblFrom->isVisible());

  spectrum.PageControl1->setCurrentWidget(spectrum.TabSheet2);
  const QImage byFrequency = Screenshot(spectrum, "spectrum_window_frequency");
  EXPECT_GT(CountPixels(byFrequency, spectrum, *spectrum.SpectrumChart1, StrongRed), 200);
  EXPECT_GT(CountPixels(byFrequency, spectrum, *spectrum.TimeChart, StrongLime), 500);
}

}  // namespace
}  // namespace workbench
