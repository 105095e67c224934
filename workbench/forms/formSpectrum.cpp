// The quote spectrum window's controls, layout and event wiring, its range of
// bars and its spectrum.
// Tested by: tests/SpectrumWindowTest.cpp, tests/SpectrumWindowOracleTest.cpp
#include "workbench/forms/formSpectrum.h"

#include <span>

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "analysis_ui/SignalToolsDialogs.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/widgets/KivPanelWidget.h"
#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "signal/SignalGenerator.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumStats.h"
#include "workbench/forms/ChartUpdate.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/Icons.h"
#include "workbench/forms/PriceChartView.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/formSpectrumRange.h"

namespace workbench {

using namespace chart;

namespace {

constexpr const char* HistoryOpenFilter = "MetaTrader 3.x, 4.x history (*.hst)|*.hst";

// A chart's window, whose failures show in a message box.
TKivPanelWidget* NewChartWindow(TChart& chart, QWidget* parent, TUserDialogs& dialogs) {
  auto* window = new TKivPanelWidget(chart, parent);
  window->setObjectName(QString::fromStdString(chart.Name()));
  window->setMinimumHeight(120);
  window->OnError = [&dialogs](const std::string& message) { dialogs.MessageBox(message, "Orvel", mbOK, miError); };
  return window;
}

QSlider* NewTrackBar(QWidget* parent, const char* name) {
  auto* bar = new QSlider(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setEnabled(false);
  return bar;
}

// Writes the points into a series whose X values ascend, in one pass over
// its lists rather than point by point.
void FillAscendingPoints(TChartSeries& series, std::span<const double> xs, std::span<const double> ys) {
  TChartValueList& x = *series.NotMandatoryValueList();
  TChartValueList& y = *series.MandatoryValueList();
  const auto n = static_cast<int>(xs.size());
  x.SetCount(n);
  y.SetCount(n);
  std::copy(xs.begin(), xs.end(), x.WritableValues().begin());
  std::copy(ys.begin(), ys.end(), y.WritableValues().begin());
  if (x.Order() == loAscending) x.SetKnownInOrder(true);
  series.RefreshSeries();
  series.Invalidate();
}

}  // namespace

TfrmSpectrum::TfrmSpectrum(IMainCommands& owner) : QMdiSubWindow(nullptr), FMain(owner), FDialogs(owner.Dialogs()) {
  setObjectName("frmSpectrum");
  setWindowTitle("Анализ спектра");
  setWindowIcon(ToolbarIcon(tiSpectrum, *style()));

  auto* body = new QWidget(this);
  body->setObjectName("pnBody");
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  CreateActions();
  CreateComponents();
  layout->addWidget(CreateHeaderPanel());
  Splitter1 = new QSplitter(Qt::Vertical, body);
  Splitter1->setObjectName("Splitter1");
  Splitter1->addWidget(CreateTimeChart());
  Splitter1->addWidget(CreatePages());
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 1);
  layout->addWidget(Splitter1, 1);
  setWidget(body);

  ConnectEvents();
  FormCreate();
  FMain.AddChild(*this);
  showMaximized();
}

TfrmSpectrum::~TfrmSpectrum() {
  // The main window may be going too, so nothing here reaches it: the
  // parameter window that may still be open goes without a redraw.
  FSpectrumAnalyzer->SetOnParameterUpdate(nullptr);
  FSpectrumAnalyzerDialog.reset();
  // The chart windows show the charts: they go first.
  for (TKivPanelWidget* window : {TimeChart, SpectrumChart, SpectrumChart1}) delete window;
}

void TfrmSpectrum::CreateActions() {
  actFileOpen = NewCommand(this, "actFileOpen", "Открыть файл", {});
  actChartZoomIn = NewCommand(this, "actChartZoomIn", "Увеличить график", "Увеличить график");
  actChartZoomOut = NewCommand(this, "actChartZoomOut", "Уменьшить график", "Уменьшить график");
  actSpectrumParameters =
      NewCommand(this, "actSpectrumParameters", "Параметры спектра", {}, QKeySequence("Ctrl+P"));
  actChartZoomIn->setIcon(QIcon::fromTheme("zoom-in"));
  actChartZoomOut->setIcon(QIcon::fromTheme("zoom-out"));
}

void TfrmSpectrum::CreateComponents() {
  FSignalGenerator = std::make_unique<sig::TSignalGenerator>();
  FSignalGenerator->SetName("SignalGenerator");
  FSignalGenerator->SetPhaseUnits(sig::puRad);
  FSpectrumAnalyzer = std::make_unique<sig::TSpectrumAnalyzer>();
  sig::TSpectrumAnalyzer& analyzer = *FSpectrumAnalyzer;
  analyzer.SetName("SpectrumAnalyzer");
  analyzer.SetInput(FSignalGenerator.get());
  // One sample a bar: frequencies in cycles per bar.
  analyzer.SetDt(1);
  analyzer.SetSpectrumType(dsp::spPower);
  analyzer.SetSidelobeAtt(40);
  analyzer.Stats().SetAveraging(sig::avNone);
  analyzer.Stats().SetConfidenceInterval(99);
  analyzer.CZT().SetStopFrequency(0.5);
  analyzer.CZT().SetFrequencyStep(0.0078125);
  analyzer.SetPhaseRange(sig::prPiPi);
  analyzer.SetScaleFactor(1);
  analyzer.SetHarmonics(10);
  analyzer.SetExpWindow(0.01);
  analyzer.SetOnParameterUpdate(
      [this](classlib::TPersistent*) { Guarded(FDialogs, [this] { SpectrumAnalyzerParameterUpdate(); })(); });
  FSpectrumAnalyzerDialog = std::make_unique<analysis_ui::TSpectrumAnalyzerDialog>();
  analysis_ui::TSpectrumAnalyzerDialog& dialog = *FSpectrumAnalyzerDialog;
  dialog.SetName("SpectrumAnalyzerDialog");
  dialog.SetSource(&analyzer);
  dialog.SetShowLive(true);
  dialog.SetRegistryPath(numeric::NumoraSettingsRoot);
  dialog.SetStoreInRegistry(false);
}

QWidget* TfrmSpectrum::CreateHeaderPanel() {
  pnGroup1 = new QWidget(this);
  pnGroup1->setObjectName("pnGroup1");
  auto* row = new QHBoxLayout(pnGroup1);
  row->setContentsMargins(4, 2, 4, 2);
  auto* texts = new QVBoxLayout;
  lblHead = NewLabel(pnGroup1, "lblHead", "Спектральный анализ");
  QFont headFont = lblHead->font();
  headFont.setBold(true);
  headFont.setPointSize(headFont.pointSize() + 3);
  lblHead->setFont(headFont);
  texts->addWidget(lblHead);
  Label1 = NewLabel(pnGroup1, "Label1", "Откройте файл котировок и укажите параметры расчета спектра");
  texts->addWidget(Label1);
  tbZoom = new QToolBar(pnGroup1);
  tbZoom->setObjectName("tbZoom");
  tbZoom->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tbZoom->addAction(actChartZoomIn);
  tbZoom->addAction(actChartZoomOut);
  texts->addWidget(tbZoom);
  row->addLayout(texts);

  GroupBox1 = new QGroupBox("Диапазон выборки", pnGroup1);
  GroupBox1->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(NewLabel(GroupBox1, "Label2", "От"), 0, 0);
  tbFrom = NewTrackBar(GroupBox1, "tbFrom");
  grid->addWidget(tbFrom, 0, 1);
  lblFrom = NewLabel(GroupBox1, "lblFrom", {});
  lblFrom->hide();
  grid->addWidget(lblFrom, 1, 1);
  grid->addWidget(NewLabel(GroupBox1, "Label3", "до"), 0, 2);
  tbTo = NewTrackBar(GroupBox1, "tbTo");
  grid->addWidget(tbTo, 0, 3);
  lblTo = NewLabel(GroupBox1, "lblTo", {});
  lblTo->hide();
  grid->addWidget(lblTo, 1, 3);
  btnCalc = new QPushButton("Расчет", GroupBox1);
  btnCalc->setObjectName("btnCalc");
  btnCalc->setEnabled(false);
  grid->addWidget(btnCalc, 0, 4, 2, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  // Room for the longest bar text, shown or not, so that nothing moves when
  // a history opens.
  const int labelWidth = lblFrom->fontMetrics().horizontalAdvance("bar 0000000 00.00.00 00:00");
  grid->setColumnMinimumWidth(1, labelWidth);
  grid->setColumnMinimumWidth(3, labelWidth);
  for (QLabel* label : {lblFrom, lblTo}) {
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
  }
  row->addWidget(GroupBox1, 1);
  return pnGroup1;
}

QWidget* TfrmSpectrum::CreateTimeChart() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnTimeChart");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  FTimeChart = std::make_unique<TChart>();
  TChart& chart = *FTimeChart;
  chart.SetName("TimeChart");
  MakePriceChart(chart);
  Series1 = NewCandleSeries(chart, "Series1");
  ChartTool1 = NewCandleTip(chart, *Series1, "ChartTool1");
  TimeChart = NewChartWindow(chart, panel, FDialogs);
  TimeChart->setToolTip("Котировки");
  grid->addWidget(TimeChart, 0, 0);
  HSTLabel = NewLabel(panel, "HSTLabel", {});
  HSTLabel->setStyleSheet("color: white; background: transparent");
  HSTLabel->hide();
  grid->addWidget(HSTLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  return panel;
}

QWidget* TfrmSpectrum::CreatePages() {
  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setTabPosition(QTabWidget::South);
  const auto page = [this](const char* name, TKivPanelWidget*& window, TChart& chart) {
    auto* sheet = new QWidget(PageControl1);
    sheet->setObjectName(name);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    window = NewChartWindow(chart, sheet, FDialogs);
    layout->addWidget(window);
    return sheet;
  };
  const auto redLine = [](TChart& chart, const char* name) {
    auto* series = new TFastLineSeries(&chart);
    series->SetName(name);
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    series->Marks()->SetVisible(false);
    return series;
  };

  FSpectrumChart = std::make_unique<TChart>();
  TChart& byPeriod = *FSpectrumChart;
  byPeriod.SetName("SpectrumChart");
  byPeriod.SetView3D(false);
  byPeriod.Legend()->SetVisible(false);
  byPeriod.Title()->SetText({"Спектр диапазона котировок, бар"});
  byPeriod.Title()->SetVisible(true);
  Series2 = redLine(byPeriod, "Series2");
  FValuesFormat = byPeriod.LeftAxis()->AxisValuesFormat();
  TabSheet1 = page("TabSheet1", SpectrumChart, byPeriod);
  PageControl1->addTab(TabSheet1, "Период, бар");

  // The frequency chart follows the analyser: each update redraws Series3.
  FSpectrumChart1 = std::make_unique<analysis_ui::TSpectrumChart>();
  analysis_ui::TSpectrumChart& byFrequency = *FSpectrumChart1;
  byFrequency.SetName("SpectrumChart1");
  byFrequency.Legend()->SetVisible(false);
  byFrequency.Spectrums()->Add()->SetInput(FSpectrumAnalyzer.get());
  Series3 = redLine(byFrequency, "Series3");
  TabSheet2 = page("TabSheet2", SpectrumChart1, byFrequency);
  PageControl1->addTab(TabSheet2, "Частота, 1/период");
  return PageControl1;
}

void TfrmSpectrum::ConnectEvents() {
  BindCommand(FDialogs, actFileOpen, this, &TfrmSpectrum::actFileOpenExecute);
  BindCommand(FDialogs, actChartZoomIn, this, &TfrmSpectrum::actChartZoomInExecute);
  BindCommand(FDialogs, actChartZoomOut, this, &TfrmSpectrum::actChartZoomOutExecute);
  BindCommand(FDialogs, actSpectrumParameters, this, &TfrmSpectrum::actSpectrumParametersExecute);
  for (QSlider* bar : {tbFrom, tbTo})
    connect(bar, &QSlider::valueChanged, this, [this](int) { Guarded(FDialogs, [this] { TrackBarChange(); })(); });
  connect(btnCalc, &QPushButton::clicked, this, [this] { Guarded(FDialogs, [this] { btnCalcClick(); })(); });
  TimeChart->installEventFilter(this);
}

void TfrmSpectrum::FormCreate() {
  FPriceChart.ZoomLevel = DefaultZoomLevel;
  actChartZoomIn->setEnabled(false);
  actChartZoomOut->setEnabled(false);
  actSpectrumParameters->setEnabled(false);
  FMain.EnableCommand(mcSpectrumParameters, false);
}

void TfrmSpectrum::UpdateMainCommands() { FMain.EnableCommand(mcSpectrumParameters, HasHistory()); }

void TfrmSpectrum::FormClose() { FMain.EnableCommand(mcSpectrumParameters, false); }

void TfrmSpectrum::closeEvent(QCloseEvent* event) {
  Guarded(FDialogs, [this] { FormClose(); })();
  // The window lives until the program ends: closing it puts it aside.
  event->ignore();
  showMinimized();
}

void TfrmSpectrum::actFileOpenExecute() {
  const std::optional<TFileChoice> choice = FDialogs.OpenFileDialog(this, HistoryOpenFilter, 1);
  if (choice) OpenFile(choice->FileName);
}

void TfrmSpectrum::OpenFile(const std::string& fileName) {
  // A refused file leaves the window as it was.
  if (!LoadHistoryFile(fileName, FDialogs)) return;
  SetHistoryBars(FPriceChart, History);
  FillCandles();
  HSTLabel->setText(QString::fromStdString(HistoryFileLabel(History)));
  HSTLabel->show();
  RedrawTimeChart();

  const TRangeTrackBars bars = RangeTrackBars(FPriceChart.LastIndex);
  for (QSlider* bar : {tbFrom, tbTo}) {
    const QSignalBlocker quiet(bar);
    bar->setMaximum(bars.Maximum);
    bar->setTickInterval(bars.TickFrequency);
  }
  {
    const QSignalBlocker quiet(tbTo);
    tbTo->setMinimum(bars.ToMinimum);
  }
  {
    const QSignalBlocker quietFrom(tbFrom), quietTo(tbTo);
    tbFrom->setValue(bars.From);
    tbTo->setValue(bars.To);
  }
  TrackBarChange();
  for (QWidget* control : {static_cast<QWidget*>(tbFrom), static_cast<QWidget*>(tbTo), static_cast<QWidget*>(btnCalc)})
    control->setEnabled(true);
  lblFrom->show();
  lblTo->show();
  actSpectrumParameters->setEnabled(true);
  FMain.EnableCommand(mcSpectrumParameters, true);
}

void TfrmSpectrum::TrackBarChange() {
  const int from = RangeFrom(tbFrom->value(), tbTo->value());
  if (from != tbFrom->value()) {
    const QSignalBlocker quiet(tbFrom);
    tbFrom->setValue(from);
  }
  lblFrom->setText(QString::fromStdString(RangeBarLabel(FPriceChart, tbFrom->value())));
  lblTo->setText(QString::fromStdString(RangeBarLabel(FPriceChart, tbTo->value())));
}

void TfrmSpectrum::btnCalcClick() {
  if (!HasHistory()) return;
  const int from = tbFrom->value(), to = tbTo->value();
  numeric::TVec& closes = FSignalGenerator->Data();
  closes.Size(to - from + 1, false);
  RangeCloses(FPriceChart, from, to, std::span<double>(closes.Values(), static_cast<std::size_t>(closes.Length())));
  FComputed = true;
  {
    const numeric::TCachedVec spectrum;
    FSpectrumAnalyzer->CalcComplexSpectrum(*spectrum);
  }
  FSpectrumAnalyzer->Update();
  PlotSpectrumByPeriod();
}

void TfrmSpectrum::SpectrumAnalyzerParameterUpdate() {
  if (!FComputed) return;
  FSpectrumAnalyzer->Update();
  PlotSpectrumByPeriod();
}

void TfrmSpectrum::actSpectrumParametersExecute() {
  if (!actSpectrumParameters->isEnabled()) return;
  FSpectrumAnalyzerDialog->Execute(false, nullptr);
}

void TfrmSpectrum::PlotSpectrumByPeriod() {
  const TChartValueList& frequencies = *Series3->NotMandatoryValueList();
  const TChartValueList& values = *Series3->MandatoryValueList();
  const TPeriodSpectrum periods = SpectrumByPeriod(
      std::span<const double>(frequencies.Values().data(), static_cast<std::size_t>(Series3->Count())),
      std::span<const double>(values.Values().data(), static_cast<std::size_t>(Series3->Count())));
  TChartUpdate update(*FSpectrumChart);
  FillAscendingPoints(*Series2, periods.Periods, periods.Values);
  FSpectrumChart->LeftAxis()->SetMinMax(periods.Minimum, periods.Maximum);
  FSpectrumChart->BottomAxis()->SetMinMax(0, SpectrumPeriodLimit);
  const auto labels = [this](double lo, double hi) {
    return SpectrumScaleNeedsExponent(lo, hi) ? std::string(SpectrumExponentFormat) : FValuesFormat;
  };
  FSpectrumChart->LeftAxis()->SetAxisValuesFormat(labels(periods.Minimum, periods.Maximum));
  if (Series3->Count() > 0)
    FSpectrumChart1->LeftAxis()->SetAxisValuesFormat(labels(Series3->MinYValue(), Series3->MaxYValue()));
}

bool TfrmSpectrum::eventFilter(QObject* watched, QEvent* event) {
  Guarded(FDialogs, [&] {
    if (watched != TimeChart) return;
    if (event->type() == QEvent::MouseButtonPress) {
      TimeChartMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    } else if (event->type() == QEvent::MouseMove) {
      TimeChartMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
    } else if (event->type() == QEvent::MouseButtonRelease) {
      TimeChartMouseUp();
    } else if (event->type() == QEvent::Resize) {
      RedrawTimeChart();
    }
  })();
  return QMdiSubWindow::eventFilter(watched, event);
}

void TfrmSpectrum::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  Guarded(FDialogs, [this] { RedrawTimeChart(); })();
}

}  // namespace workbench
