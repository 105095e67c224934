// The filter generator's controls, layout and event wiring.
// Tested by: tests/GeneratorInputsTest.cpp, tests/GeneratorDesignTest.cpp,
// tests/GeneratorFilesTest.cpp, tests/GeneratorScreenshotTest.cpp
#include "workbench/forms/formRemez.h"

#include <cmath>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "chart/ChartControl.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/Icons.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"

namespace workbench {

TfrmRemez::TfrmRemez(IMainCommands& owner)
    : QMdiSubWindow(nullptr), FMain(owner), FDialogs(owner.Dialogs()), FLink(std::make_shared<TGeneratorLink>()) {
  FLink->Form = this;
  setObjectName("frmRemez");
  setWindowTitle("Расчет фильтров");
  setWindowIcon(ToolbarIcon(tiGenerator, *style()));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* body = new QWidget(this);
  body->setObjectName("pnBody");
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(2, 2, 2, 2);
  CreateActions();
  row->addWidget(CreateInputPanel());
  row->addWidget(CreateResultPages(), 1);
  CreateChartSeries();
  layout->addLayout(row, 1);
  StatusBar1 = new QStatusBar(body);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  layout->addWidget(StatusBar1);
  setWidget(body);

  ConnectEvents();
  FormCreate();
  FMain.AddChild(*this);
  showMaximized();
}

TfrmRemez::~TfrmRemez() {
  // A run still going on when the window goes has nothing to report to.
  StopDesign();
  FLink->Form = nullptr;
  // The chart windows show the charts: they go first.
  for (chart::TKivPanelWidget* window : {ChartPower, ChartPhase, LogChart, TimeChart, ChartFunct}) delete window;
}

template <class Signal, class Sender, class Body>
void TfrmRemez::On(Sender* sender, Signal signal, Body body) {
  connect(sender, signal, this, Guarded(FDialogs, std::move(body)));
}

void TfrmRemez::CreateActions() {
  actFileOpen = NewCommand(this, "actFileOpen", "Открыть ...", "Открыть файл с настройками фильтра", QKeySequence("Ctrl+O"));
  actFileSave = NewCommand(this, "actFileSave", "Сохранить ...",
                          "Сохранить текст индикатора или настройки фильтра  в файл", QKeySequence("Ctrl+S"));
  actCopyToClipboard = NewCommand(this, "actCopyToClipboard", "Копировать",
                                 "Копировать текст индикатора в буфер Windows", QKeySequence("Ctrl+C"));
  actChartRefresh = NewCommand(this, "actChartRefresh", "Обновить график",
                              "Отобразить другие значения в графике (вид в программе теханализа)",
                              QKeySequence("Ctrl+R"));
  actChartZoomIn = NewCommand(this, "actChartZoomIn", "Zoom In", "Увеличение");
  actChartZoomOut = NewCommand(this, "actChartZoomOut", "Zoom Out", "Уменьшение");
  actChartCompare = NewCommand(this, "actChartCompare", "Сравнить >>",
                              "Передать рассчитанный фильтр в окно сравнения нескольких фильтров");
  actFileSave->setEnabled(false);
  actCopyToClipboard->setEnabled(false);
}

QWidget* TfrmRemez::CreateInputPanel() {
  // In a window too short for every input the panel scrolls rather than
  // squeezing its rows over one another.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("sbParameters");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  scroll->setFixedWidth(290 + scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  auto* panel = new QWidget(scroll);
  panel->setObjectName("pnParameters");
  panel->setMinimumWidth(290);
  scroll->setWidget(panel);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(4);

  CreateBandInputs(*this, panel, 12, false);
  FilterType->setToolTip("Укажите необходимый вам тип цифрового фильтра");
  column->addWidget(FilterType);
  column->addWidget(FIRGroupBox);

  auto* delayRow = new QHBoxLayout;
  delayRow->addWidget(NewLabel(panel, "Label5", "Задержка, бар"));
  delayRow->addWidget(InputDelay);
  column->addLayout(delayRow);

  auto* methods = new QHBoxLayout;
  methods->addWidget(Method1);
  methods->addWidget(Method2);
  column->addLayout(methods);

  auto* orderRow = new QHBoxLayout;
  orderRow->addWidget(CheckBoxOrder);
  orderRow->addWidget(InputOrder);
  column->addLayout(orderRow);

  auto* estimateRow = new QHBoxLayout;
  Label7->hide();
  LabelOrder->hide();
  estimateRow->addWidget(Label7);
  estimateRow->addWidget(LabelOrder);
  estimateRow->addStretch();
  column->addLayout(estimateRow);

  CheckBoxAuto = new QCheckBox("Расчет на лету", panel);
  CheckBoxAuto->setObjectName("CheckBoxAuto");
  column->addWidget(CheckBoxAuto);
  ButtonStart = new QPushButton("Расчет параметров", panel);
  ButtonStart->setObjectName("ButtonStart");
  column->addWidget(ButtonStart);
  WarnLabel = NewLabel(panel, "WarnLabel", {});
  WarnLabel->setStyleSheet("color: #c00000");
  WarnLabel->setWordWrap(true);
  WarnLabel->hide();
  column->addWidget(WarnLabel);

  FIRTextMode = new TRadioGroup(panel, "FIRTextMode", "Текст индикаторов в формате",
                                {"Omega ProSuite", "MetaStock", "MetaTrader MQL2", "MetaTrader MQL4",
                                 "Только коэффициенты"});
  FIRTextMode->setToolTip("Укажите форму вывода рассчитанных коэффициентов фильтра \nв одном из четырех форматов");
  FIRTextMode->setEnabled(false);
  column->addWidget(FIRTextMode);

  chkSeparate = new QCheckBox("Separate?", panel);
  chkSeparate->setObjectName("chkSeparate");
  chkSeparate->hide();
  column->addWidget(chkSeparate);
  btnCopy = new QPushButton(actChartCompare->text(), panel);
  btnCopy->setObjectName("btnCopy");
  btnCopy->setToolTip(actChartCompare->toolTip());
  btnCopy->setEnabled(actChartCompare->isEnabled());
  btnCopy->hide();
  column->addWidget(btnCopy);
  cbxMomentum = new QComboBox(panel);
  cbxMomentum->setObjectName("cbxMomentum");
  cbxMomentum->setToolTip("Перечень моментумов и осцилляторов");
  cbxMomentum->setEnabled(false);
  cbxMomentum->hide();
  column->addWidget(cbxMomentum);
  column->addStretch();

  InputT1->setToolTip("Задайте период отсечки Р1 (в барах)");
  InputTransient1->setToolTip("Задайте период отсечки переходного периода D1 (в барах)");
  InputRipple->setToolTip("Задайте величину биений в области пропускания R, Дб");
  InputAtten1->setToolTip("Задайте величину затухания в полосе задерживания A1, Дб");
  InputDelay->setToolTip("Задайте величину задержки фильтра");
  InputT2->setToolTip("Задайте период отсечки Р2 (в барах)");
  InputTransient2->setToolTip("Задайте период отсечки переходного периода D2 (в барах)");
  InputAtten2->setToolTip("Задайте величину затухания в полосе задерживания A2, Дб");
  Method1->setToolTip("Расчет фильтра методом рекурсивного алгоритма Ремеза");
  Method2->setToolTip("Расчет фильтра методом алгоритма Паркса-МакКлилана");
  InputOrder->setToolTip("Задайте требуемый порядок фильтра");
  CheckBoxOrder->setToolTip("Автоматически рассчитать порядок фильтра");
  CheckBoxAuto->setToolTip("При включении расчет параметров будет производиться сразу же на лету");
  ButtonStart->setToolTip("Произвести расчет параметров фильтра");
  return scroll;
}

QWidget* TfrmRemez::CreateResultPages() {
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName("Splitter1");

  pcMain = new QTabWidget(splitter);
  pcMain->setObjectName("pcMain");
  auto* fftPage = new QWidget(pcMain);
  fftPage->setObjectName("tsFFT");
  auto* fftLayout = new QHBoxLayout(fftPage);
  fftLayout->setContentsMargins(0, 0, 0, 0);
  FFTSplitter = new QSplitter(Qt::Horizontal, fftPage);
  FFTSplitter->setObjectName("FFTSplitter");
  pnFFT1 = new QWidget(FFTSplitter);
  pnFFT1->setObjectName("pnFFT1");
  ChartPower = NewChart(pnFFT1, "ChartPower", FChartPower);
  (new QVBoxLayout(pnFFT1))->addWidget(ChartPower);
  pnFFT2 = new QWidget(FFTSplitter);
  pnFFT2->setObjectName("pnFFT2");
  ChartPhase = NewChart(pnFFT2, "ChartPhase", FChartPhase);
  (new QVBoxLayout(pnFFT2))->addWidget(ChartPhase);
  for (QWidget* pane : {pnFFT1, pnFFT2}) pane->layout()->setContentsMargins(0, 0, 0, 0);
  fftLayout->addWidget(FFTSplitter);
  pcMain->addTab(fftPage, "Частотная БПФ");

  auto* logPage = new QWidget(pcMain);
  logPage->setObjectName("tsLog");
  auto* logLayout = new QVBoxLayout(logPage);
  logLayout->setContentsMargins(0, 0, 0, 0);
  LogChart = NewChart(logPage, "LogChart", FLogChart);
  logLayout->addWidget(LogChart);
  pcMain->addTab(logPage, "Частотная Log");

  tsTimeChart = new QWidget(pcMain);
  tsTimeChart->setObjectName("tsTimeChart");
  tsTimeChart->setToolTip("Вид индикатора в программе теханализа");
  auto* timeLayout = new QGridLayout(tsTimeChart);
  timeLayout->setContentsMargins(0, 0, 0, 0);
  TimeChart = NewChart(tsTimeChart, "TimeChart", FTimeChart);
  timeLayout->addWidget(TimeChart, 0, 0);
  HSTLabel = NewLabel(tsTimeChart, "HSTLabel", {});
  HSTLabel->setStyleSheet("color: white; background: transparent");
  HSTLabel->setToolTip("Внешний вид графика загружен из файла с данными");
  HSTLabel->hide();
  timeLayout->addWidget(HSTLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  pcMain->addTab(tsTimeChart, "В программе теханализа");

  pcText = new QTabWidget(splitter);
  pcText->setObjectName("pcText");
  auto* textPage = new QWidget(pcText);
  textPage->setObjectName("tsText");
  auto* textLayout = new QVBoxLayout(textPage);
  textLayout->setContentsMargins(0, 0, 0, 0);
  Memo1 = new QPlainTextEdit(textPage);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont fixed("Courier New");
  fixed.setStyleHint(QFont::Monospace);
  Memo1->setFont(fixed);
  textLayout->addWidget(Memo1, 1);
  pnSetPrice = new QWidget(textPage);
  pnSetPrice->setObjectName("pnSetPrice");
  auto* priceRow = new QHBoxLayout(pnSetPrice);
  priceRow->setContentsMargins(4, 0, 4, 0);
  priceRow->addWidget(NewLabel(pnSetPrice, "Label6", "Исходная цена:"));
  rbPrice1 = new QRadioButton("Close", pnSetPrice);
  rbPrice1->setObjectName("rbPrice1");
  rbPrice1->setChecked(true);
  rbPrice2 = new QRadioButton("(High+Low)/2", pnSetPrice);
  rbPrice2->setObjectName("rbPrice2");
  priceRow->addWidget(rbPrice1);
  priceRow->addWidget(rbPrice2);
  priceRow->addStretch();
  textLayout->addWidget(pnSetPrice);
  pcText->addTab(textPage, "Текст индикатора");

  auto* livePage = new QWidget(pcText);
  livePage->setObjectName("tsLive");
  auto* liveLayout = new QVBoxLayout(livePage);
  liveLayout->setContentsMargins(0, 0, 0, 0);
  ChartFunct = NewChart(livePage, "ChartFunct", FChartFunct, false);
  liveLayout->addWidget(ChartFunct);
  pcText->addTab(livePage, "\"Живая\" Имп. Хар.");

  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  return splitter;
}

void TfrmRemez::ConnectEvents() {
  FilterType->OnClick = Guarded(FDialogs, [this] { FilterTypeClick(); });
  FIRTextMode->OnClick = Guarded(FDialogs, [this] { FIRTextModeClick(); });
  for (TSpinEdit* input : {InputT1, InputTransient1, InputAtten1, InputT2, InputTransient2, InputAtten2, InputOrder})
    On(input, &QLineEdit::textChanged, [this] { ValidateParameters(); });
  On(InputDelay, &QLineEdit::textChanged, [this] { InputDelayChange(); });
  On(Method1, &QRadioButton::clicked, [this] { ValidateParameters(); });
  On(Method2, &QRadioButton::clicked, [this] { ValidateParameters(); });
  On(CheckBoxOrder, &QCheckBox::clicked, [this] { CheckBoxOrderClick(); });
  On(CheckBoxAuto, &QCheckBox::clicked, [this] { CheckBoxAutoClick(); });
  On(ButtonStart, &QPushButton::clicked, [this] { ButtonStartClick(); });
  On(rbPrice1, &QRadioButton::clicked, [this] { ChangePriceClick(); });
  On(rbPrice2, &QRadioButton::clicked, [this] { ChangePriceClick(); });
  On(chkSeparate, &QCheckBox::clicked, [this] { chkSeparateClick(); });
  On(btnCopy, &QPushButton::clicked, [this] { actChartCompare->trigger(); });
  BindCommand(FDialogs, actFileOpen, this, &TfrmRemez::actFileOpenExecute);
  BindCommand(FDialogs, actFileSave, this, &TfrmRemez::actFileSaveExecute);
  BindCommand(FDialogs, actCopyToClipboard, this, &TfrmRemez::actCopyToClipboardExecute);
  BindCommand(FDialogs, actChartRefresh, this, &TfrmRemez::actChartRefreshExecute);
  BindCommand(FDialogs, actChartZoomIn, this, &TfrmRemez::actChartZoomInExecute);
  BindCommand(FDialogs, actChartZoomOut, this, &TfrmRemez::actChartZoomOutExecute);
  BindCommand(FDialogs, actChartCompare, this, &TfrmRemez::actChartCompareExecute);

  for (QWidget* input : std::initializer_list<QWidget*>{InputT1, InputTransient1, InputRipple, InputAtten1, InputDelay,
                                                        InputT2, InputTransient2, InputAtten2, InputOrder})
    input->installEventFilter(this);
  TimeChart->installEventFilter(this);
}

bool TfrmRemez::eventFilter(QObject* watched, QEvent* event) {
  bool consumed = false;
  Guarded(FDialogs, [&] {
    if (watched == TimeChart) {
      if (event->type() == QEvent::MouseButtonPress) {
        TimeChartMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      } else if (event->type() == QEvent::MouseMove) {
        TimeChartMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      } else if (event->type() == QEvent::MouseButtonRelease) {
        TimeChartMouseUp();
      } else if (event->type() == QEvent::Resize) {
        RedrawTimeChart();
      }
      return;
    }
    if (event->type() == QEvent::KeyPress) {
      ControlKeyDown();
      // Only keys that type a character pass the filters: shortcuts (with
      // Ctrl or Alt) and editing keys such as Delete type none.
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->text().isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return;
      const int code = key->text().front().unicode();
      if (code == 127) return;
      consumed = watched == InputRipple ? !InputControlKeyPress(code) : !InputControlIntegerKeyPress(code);
    } else if (LeavesTheField(event)) {
      // A message box of the check itself takes the focus from the window,
      // which leaves no field: one failure shows once.
      ControlFocusExit();
    }
  })();
  return consumed || QMdiSubWindow::eventFilter(watched, event);
}

void TfrmRemez::closeEvent(QCloseEvent* event) {
  Guarded(FDialogs, [this] { FormClose(); })();
  QMdiSubWindow::closeEvent(event);
}

void TfrmRemez::showEvent(QShowEvent* event) {
  QMdiSubWindow::showEvent(event);
  Guarded(FDialogs, [this] { FormShow(); })();
}

void TfrmRemez::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  // The amplitude pane takes half the page less 3 pixels, the phase pane the rest.
  const int width = FFTSplitter->width();
  const int amplitude = static_cast<int>(std::nearbyint(width / 2.0)) - 3;
  FFTSplitter->setSizes({amplitude, std::max(width - amplitude - FFTSplitter->handleWidth(), 0)});
}

void TfrmRemez::keyReleaseEvent(QKeyEvent* event) {
  bool consumed = false;
  Guarded(FDialogs, [&] { consumed = FormKeyUp(event->key()); })();
  if (consumed) {
    event->accept();
  } else {
    QMdiSubWindow::keyReleaseEvent(event);
  }
}

}  // namespace workbench
