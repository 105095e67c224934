// The comparison window's controls, layout and event wiring.
// Tested by: tests/CompareWindowTest.cpp
#include "workbench/forms/formCompare.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "analysis_ui/JovCombos.h"
#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/MarksTipTool.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/Icons.h"
#include "workbench/forms/PriceChartView.h"
#include "workbench/forms/UserDialogs.h"

namespace workbench {

using namespace chart;

TfrmCompare::TfrmCompare(IMainCommands& owner) : QMdiSubWindow(nullptr), FMain(owner), FDialogs(owner.Dialogs()) {
  setObjectName("frmCompare");
  setWindowTitle("Сравнение фильтров");
  setWindowIcon(ToolbarIcon(tiCompare, *style()));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* body = new QWidget(this);
  body->setObjectName("pnBody");
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  CreateActions();
  auto* splitter = new QSplitter(Qt::Vertical, body);
  splitter->setObjectName("Splitter1");
  splitter->addWidget(CreateGridPanel());
  splitter->addWidget(CreateChartPanel());
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 3);
  layout->addWidget(splitter, 1);
  setWidget(body);

  ConnectEvents();
  FormCreate();
  FMain.AddChild(*this);
  showMaximized();
}

TfrmCompare::~TfrmCompare() {
  // The chart's window shows the chart: it goes first.
  delete TimeChart;
}

void TfrmCompare::CreateActions() {
  actFileOpen = NewAction(this, "actFileOpen", "Открыть файл");
  actFileSave = NewAction(this, "actFileSave", "Сохранить файл");
  actChartZoomIn = NewAction(this, "actChartZoomIn", "Увеличить график", "Увеличить график");
  actChartZoomOut = NewAction(this, "actChartZoomOut", "Уменьшить график", "Уменьшить график");
  actChartRefresh = NewAction(this, "actChartRefresh", "Обновить график");
  actFilterAdd = NewAction(this, "actFilterAdd", "Добавить новый фильтр", "Добавить фильтр в таблицу сравнений");
  actFilterEdit = NewAction(this, "actFilterEdit", "Редактировать параметры фильтра");
  actFilterDelete = NewAction(this, "actFilterDelete", "Удалить фильтр");
  actBeginCompare = NewAction(this, "actBeginCompare", "Начать сравнение",
                              "Автоматический подбор параметров фильтра методом прямого перебора");
  actFilterAdd->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
  actFilterEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  actFilterDelete->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
  actBeginCompare->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  actFilterEdit->setEnabled(false);
  actFilterDelete->setEnabled(false);
  actBeginCompare->setEnabled(false);
}

QWidget* TfrmCompare::CreateGridPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnGrid");
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  auto* head = new QHBoxLayout;
  auto* texts = new QVBoxLayout;
  QLabel* lblHead = NewLabel(panel, "lblHead", "Сравнение параметров фильтров");
  QFont headFont = lblHead->font();
  headFont.setBold(true);
  headFont.setPointSize(headFont.pointSize() + 3);
  lblHead->setFont(headFont);
  texts->addWidget(lblHead);
  texts->addWidget(NewLabel(panel, "lblHint", "Создайте фильтры или откройте коэффициенты из файла"));
  head->addLayout(texts);
  head->addStretch();
  auto* tools = new QToolBar(panel);
  tools->setObjectName("tbCompare");
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  for (QAction* action : {actFilterAdd, actFilterEdit, actFilterDelete, actBeginCompare}) tools->addAction(action);
  head->addWidget(tools);
  column->addLayout(head);

  sgrGroup = new QTableWidget(1, 7, panel);
  sgrGroup->setObjectName("sgrGroup");
  QStringList headers;
  for (const char* header : CompareGridHeaders) headers << header;
  sgrGroup->setHorizontalHeaderLabels(headers);
  sgrGroup->verticalHeader()->hide();
  sgrGroup->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgrGroup->setSelectionMode(QAbstractItemView::SingleSelection);
  sgrGroup->horizontalHeader()->setStretchLastSection(true);
  const int widths[] = {40, 50, 150, 110, 110, 150, 300};  // the number fits beside a warning mark
  for (int c = 0; c < 7; ++c) sgrGroup->setColumnWidth(c, widths[c]);
  column->addWidget(sgrGroup, 1);

  cbxColor = new analysis_ui::TColorComboBox(sgrGroup->viewport());
  cbxColor->setObjectName("cbxColor");
  cbxColor->hide();
  cbxParent = new QComboBox(sgrGroup->viewport());
  cbxParent->setObjectName("cbxParent");
  cbxParent->hide();
  // Rows as high as the colour editor.
  sgrGroup->verticalHeader()->setDefaultSectionSize(cbxColor->sizeHint().height());
  return panel;
}

QWidget* TfrmCompare::CreateChartPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("pnChart");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);

  FChart = std::make_unique<TChart>();
  TChart& chart = *FChart;
  chart.SetName("TimeChart");
  MakePriceChart(chart);
  Series1 = NewCandleSeries(chart, "Series1");
  Series1->SetTitle("OHLCSeries");
  Series1->SetSeriesColor(clRed);
  Series1->SetUpCloseColor(clRed);
  ChartTool1 = NewCandleTip(chart, *Series1, "ChartTool1");

  TimeChart = new TKivPanelWidget(chart, panel);
  TimeChart->setObjectName("TimeChart");
  TimeChart->OnError = [this](const std::string& message) { FDialogs.MessageBox(message, "Orvel", mbOK, miError); };
  TimeChart->setMinimumHeight(120);
  grid->addWidget(TimeChart, 0, 0);
  HSTLabel = NewLabel(panel, "HSTLabel", {});
  HSTLabel->setStyleSheet("color: white; background: transparent");
  HSTLabel->hide();
  grid->addWidget(HSTLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
  return panel;
}

void TfrmCompare::ConnectEvents() {
  BindCommand(FDialogs, actFileOpen, this, &TfrmCompare::actFileOpenExecute);
  BindCommand(FDialogs, actFileSave, this, &TfrmCompare::actFileSaveExecute);
  BindCommand(FDialogs, actChartZoomIn, this, &TfrmCompare::actChartZoomInExecute);
  BindCommand(FDialogs, actChartZoomOut, this, &TfrmCompare::actChartZoomOutExecute);
  BindCommand(FDialogs, actChartRefresh, this, &TfrmCompare::actChartRefreshExecute);
  BindCommand(FDialogs, actFilterAdd, this, &TfrmCompare::actFilterAddExecute);
  BindCommand(FDialogs, actFilterEdit, this, &TfrmCompare::actFilterEditExecute);
  BindCommand(FDialogs, actFilterDelete, this, &TfrmCompare::actFilterDeleteExecute);
  BindCommand(FDialogs, actBeginCompare, this, &TfrmCompare::actBeginCompareExecute);
  connect(sgrGroup, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (row >= 0) Guarded(FDialogs, [this, row, column] { sgrGroupSelectCell(row + 1, column); })();
  });
  connect(sgrGroup, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { Guarded(FDialogs, [this, row] { sgrGroupDblClick(row + 1); })(); });
  cbxColor->OnChange = [this](analysis_ui::TColorComboBox&) {
    if (cbxColor->isVisible()) Guarded(FDialogs, [this] { cbxColorChange(); })();
  };
  connect(cbxParent, &QComboBox::activated, this, [this](int) { Guarded(FDialogs, [this] { cbxParentChange(); })(); });
  TimeChart->installEventFilter(this);
  cbxColor->installEventFilter(this);
  cbxParent->installEventFilter(this);
}

void TfrmCompare::FormShow() {
  ApplyChartZoom();
  RescaleTimeChart();
}

void TfrmCompare::showEvent(QShowEvent* event) {
  QMdiSubWindow::showEvent(event);
  Guarded(FDialogs, [this] { FormShow(); })();
}

void TfrmCompare::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  Guarded(FDialogs, [this] { RescaleTimeChart(); })();
}

void TfrmCompare::FormClose() {
  if (FClosed) return;
  FClosed = true;
  FTable->ClearRows();
  for (const TMainCommand command : {mcFileSave, mcZoomIn, mcZoomOut, mcRefresh}) FMain.EnableCommand(command, false);
}

void TfrmCompare::closeEvent(QCloseEvent* event) {
  Guarded(FDialogs, [this] { FormClose(); })();
  QMdiSubWindow::closeEvent(event);
}

bool TfrmCompare::eventFilter(QObject* watched, QEvent* event) {
  Guarded(FDialogs, [&] {
    if (watched == TimeChart) {
      if (event->type() == QEvent::MouseButtonPress) {
        TimeChartMouseDown(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      } else if (event->type() == QEvent::MouseMove) {
        TimeChartMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
      } else if (event->type() == QEvent::MouseButtonRelease) {
        TimeChartMouseUp();
      } else if (event->type() == QEvent::Resize) {
        RescaleTimeChart();
      }
    } else if (watched == cbxColor && event->type() == QEvent::FocusOut) {
      cbxColorExit();
    } else if (watched == cbxParent && event->type() == QEvent::FocusOut && !cbxParent->view()->isVisible()) {
      cbxParent->hide();
    }
  })();
  return QMdiSubWindow::eventFilter(watched, event);
}

}  // namespace workbench
