// The brute-force search dialog and its search thread.
// Tested by: tests/SearchDialogTest.cpp
#include "workbench/forms/FormCompareBruteForce.h"

#include <thread>

#include <QAbstractTableModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/classlib/Cp1251.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/ThreadCount.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formCompare.h"
#include "workbench/logic/formRemezParameters.h"

namespace workbench {

namespace {

constexpr TInputRange SearchInputRange{0, 1000000};
constexpr const char* msgCounting = "Определение количества рассчитываемых комбинаций...";

TThreadCount& SearchThreads() {
  static TThreadCount count;
  return count;
}

}  // namespace

namespace FormCompareBruteForce {

TRemezThread::TRemezThread(std::shared_ptr<TBruteForceSearch> search, std::shared_ptr<TSearchLink> link, int run,
                           int workers)
    : FSearch(std::move(search)), FLink(std::move(link)), FRun(run), FWorkers(workers) {
  SetFreeOnTerminate(true);
  SearchThreads().Started();
}

TRemezThread::~TRemezThread() { SearchThreads().Ended(); }

void TRemezThread::Execute() {
  std::string failure;
  try {
    FSearch->CountCombinations();
    Synchronize([this] {
      if (FLink->Dialog != nullptr) FLink->Dialog->SyncCountingDone(FRun);
    });
    FSearch->Search(FWorkers);
  } catch (const classlib::Exception& e) {
    failure = e.Message();
  } catch (const std::exception& e) {
    failure = e.what();
  }
  Synchronize([this, &failure] {
    if (FLink->Dialog != nullptr) FLink->Dialog->SyncShowResults(FRun, failure);
  });
}

}  // namespace FormCompareBruteForce

int RunningSearchThreads() { return SearchThreads().Running(); }

void WaitForSearchThreads() { SearchThreads().WaitForAll(); }

// The result grid: the results as the search listed them, their texts made
// when a row is shown.
class TfrmCmpBruteForce::TResultModel : public QAbstractTableModel {
 public:
  TResultModel(QObject* parent, const std::vector<TBruteForceResult>& results)
      : QAbstractTableModel(parent), FResults(results) {}

  // The rows follow the results again.
  void Reset() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(FResults.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const std::vector<std::string> cells =
        BruteForceResultRow(index.row() + 1, FResults[static_cast<std::size_t>(index.row())]);
    return QString::fromStdString(classlib::Cp1251ToUtf8(cells[static_cast<std::size_t>(index.column())]));
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char* const Headers[] = {"#", "Корреляция", "Параметры", "Ошибка"};
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section > 3) return {};
    return QString::fromUtf8(Headers[section]);
  }

 private:
  const std::vector<TBruteForceResult>& FResults;
};

TfrmCmpBruteForce::TfrmCmpBruteForce(TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), FDialogs(dialogs), FLink(std::make_shared<FormCompareBruteForce::TSearchLink>()) {
  FLink->Dialog = this;
  setObjectName("frmCmpBruteForce");
  setWindowTitle("Автоматический подбор параметров");
  setModal(true);
  CreateControls();
  FormCreate();
}

TfrmCmpBruteForce::~TfrmCmpBruteForce() {
  // A search still running has nobody to report to: it stops at its next combination.
  if (FSearch) FSearch->Cancel();
  FLink->Dialog = nullptr;
}

void TfrmCmpBruteForce::CreateControls() {
  auto* column = new QVBoxLayout(this);
  pcMain = new QTabWidget(this);
  pcMain->setObjectName("pcMain");
  tsParameters = new QWidget(pcMain);
  tsParameters->setObjectName("tsParameters");
  auto* parameters = new QHBoxLayout(tsParameters);
  FilterType = new TRadioGroup(tsParameters, "FilterType", "Тип фильтра",
                               {"ФНЧ (FATL, SATL) QZLP", "ФВЧ QZHP", "Полосовой (RBCI) QZBP", "Режекторный QZSP"});
  FilterType->SetItemIndex(0);
  auto* left = new QVBoxLayout;
  left->addWidget(FilterType);
  left->addWidget(NewLabel(tsParameters, "lblInitial", "Эталон для сравнения"));
  cbxInitial = new QComboBox(tsParameters);
  cbxInitial->setObjectName("cbxInitial");
  left->addWidget(cbxInitial);
  left->addWidget(NewLabel(tsParameters, "lblWindow", "Окно корреляции"));
  tbCorrelation = new QSlider(Qt::Horizontal, tsParameters);
  tbCorrelation->setObjectName("tbCorrelation");
  tbCorrelation->setRange(100, 100);
  tbCorrelation->setTickPosition(QSlider::TicksBelow);
  left->addWidget(tbCorrelation);
  lblCorrelation = NewLabel(tsParameters, "lblCorrelation", "100 бар(ов)");
  left->addWidget(lblCorrelation);
  left->addStretch();
  parameters->addLayout(left, 1);
  parameters->addSpacing(16);

  auto* grid = new QGridLayout;
  grid->addWidget(NewLabel(tsParameters, "lblFrom", "от"), 0, 1);
  grid->addWidget(NewLabel(tsParameters, "lblTo", "до"), 0, 2);
  grid->addWidget(NewLabel(tsParameters, "lblStep", "шаг"), 0, 3);
  const auto spin = [this](const char* name) {
    auto* input = new TSpinEdit(tsParameters, name, SearchInputRange, 0);
    input->setFixedWidth(80);
    input->installEventFilter(this);
    return input;
  };
  const auto edit = [this](const char* name) {
    auto* input = new QLineEdit(tsParameters);
    input->setObjectName(name);
    input->setFixedWidth(80);
    return input;
  };
  struct TRow {
    const char* Caption;
    QWidget *From, *To, *Step;
  };
  inP1from = spin("inP1from"), inP1to = spin("inP1to"), inP1step = spin("inP1step");
  inP2from = spin("inP2from"), inP2to = spin("inP2to"), inP2step = spin("inP2step");
  inD1from = spin("inD1from"), inD1to = spin("inD1to"), inD1step = spin("inD1step");
  inD2from = spin("inD2from"), inD2to = spin("inD2to"), inD2step = spin("inD2step");
  inA1from = spin("inA1from"), inA1to = spin("inA1to"), inA1step = spin("inA1step");
  inA2from = spin("inA2from"), inA2to = spin("inA2to"), inA2step = spin("inA2step");
  inRfrom = edit("inRfrom"), inRto = edit("inRto"), inRstep = edit("inRstep");
  inDfrom = spin("inDfrom"), inDto = spin("inDto"), inDstep = spin("inDstep");
  const TRow rows[] = {{"P1", inP1from, inP1to, inP1step}, {"P2", inP2from, inP2to, inP2step},
                       {"D1", inD1from, inD1to, inD1step}, {"D2", inD2from, inD2to, inD2step},
                       {"A1", inA1from, inA1to, inA1step}, {"A2", inA2from, inA2to, inA2step},
                       {"R", inRfrom, inRto, inRstep},     {"Delay", inDfrom, inDto, inDstep}};
  int r = 1;
  for (const TRow& row : rows) {
    grid->addWidget(new QLabel(row.Caption, tsParameters), r, 0);
    grid->addWidget(row.From, r, 1);
    grid->addWidget(row.To, r, 2);
    grid->addWidget(row.Step, r++, 3);
  }
  grid->setRowStretch(r, 1);
  grid->setHorizontalSpacing(8);
  parameters->addLayout(grid, 0);
  pcMain->addTab(tsParameters, "Настройка параметров");

  tsResults = new QWidget(pcMain);
  tsResults->setObjectName("tsResults");
  auto* results = new QVBoxLayout(tsResults);
  results->setContentsMargins(0, 0, 0, 0);
  sgrResult = new QTableView(tsResults);
  sgrResult->setObjectName("sgrResult");
  FModel = new TResultModel(sgrResult, FResults);
  sgrResult->setModel(FModel);
  sgrResult->verticalHeader()->hide();
  sgrResult->verticalHeader()->setDefaultSectionSize(20);
  sgrResult->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgrResult->setSelectionMode(QAbstractItemView::SingleSelection);
  sgrResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgrResult->horizontalHeader()->setStretchLastSection(false);
  sgrResult->setColumnWidth(0, 50);
  sgrResult->setColumnWidth(1, 150);
  sgrResult->setColumnWidth(2, 680);
  sgrResult->setColumnWidth(3, 90);
  results->addWidget(sgrResult);
  pcMain->addTab(tsResults, "Результаты");
  column->addWidget(pcMain, 1);

  pbProcess = new QProgressBar(this);
  pbProcess->setObjectName("pbProcess");
  pbProcess->setRange(0, 100);
  // lblProcess shows the percentage.
  pbProcess->setTextVisible(false);
  lblProcessInfo = NewLabel(this, "lblProcessInfo", {});
  lblProcess = NewLabel(this, "lblProcess", "0%");
  auto* progress = new QHBoxLayout;
  progress->addWidget(lblProcessInfo, 1);
  progress->addWidget(lblProcess);
  column->addLayout(progress);
  column->addWidget(pbProcess);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  btnStart = new QPushButton("Старт", this);
  btnStart->setObjectName("btnStart");
  btnCancel = new QPushButton("Отмена", this);
  btnCancel->setObjectName("btnCancel");
  btnClose = new QPushButton("Закрыть", this);
  btnClose->setObjectName("btnClose");
  for (QPushButton* button : {btnStart, btnCancel, btnClose}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  column->addLayout(buttons);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
  // As tall as the settings need (the results scroll), as wide as a result's
  // row of the usual length.
  resize(1000, sizeHint().height());

  connect(tbCorrelation, &QSlider::valueChanged, this, Guarded(FDialogs, [this] { tbCorrelationChange(); }));
  connect(btnStart, &QPushButton::clicked, this, Guarded(FDialogs, [this] { btnStartClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, Guarded(FDialogs, [this] { btnCancelClick(); }));
  connect(btnClose, &QPushButton::clicked, this, Guarded(FDialogs, [this] { btnCloseClick(); }));
  connect(Timer1, &QTimer::timeout, this, Guarded(FDialogs, [this] { Timer1Timer(); }));
  connect(sgrResult->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { sgrResultSelectCell(current.row() + 1); });
  connect(sgrResult, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    sgrResultSelectCell(index.row() + 1);
    Guarded(FDialogs, [this] { sgrResultDblClick(); })();
  });
}

void TfrmCmpBruteForce::FormCreate() {
  FSearchFinished = false;
  pcMain->setCurrentWidget(tsParameters);
  FLoading = true;
  const TWorkbenchSettings& s = WorkbenchSettings;
  const std::pair<TSpinEdit*, std::int32_t> values[] = {
      {inP1from, s.P1from}, {inP1to, s.P1to}, {inP1step, s.P1step}, {inP2from, s.P2from}, {inP2to, s.P2to},
      {inP2step, s.P2step}, {inD1from, s.D1from}, {inD1to, s.D1to}, {inD1step, s.D1step}, {inD2from, s.D2from},
      {inD2to, s.D2to},     {inD2step, s.D2step}, {inA1from, s.A1from}, {inA1to, s.A1to}, {inA1step, s.A1step},
      {inA2from, s.A2from}, {inA2to, s.A2to},     {inA2step, s.A2step}, {inDfrom, s.Delayfrom}, {inDto, s.Delayto},
      {inDstep, s.Delaystep}};
  for (const auto& [input, value] : values) input->SetValue(value);
  inRfrom->setText(QString::fromStdString(FloatToStrPoint(s.Rfrom)));
  inRto->setText(QString::fromStdString(FloatToStrPoint(s.Rto)));
  inRstep->setText(QString::fromStdString(FloatToStrPoint(s.Rstep)));
  FLoading = false;
  EnableSearchControls(true);
  btnStart->setEnabled(true);
}

void TfrmCmpBruteForce::FormShow() { pcMain->setCurrentWidget(tsParameters); }

void TfrmCmpBruteForce::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded(FDialogs, [this] { FormShow(); })();
}

void TfrmCmpBruteForce::FormClose() {
  TWorkbenchSettings& s = WorkbenchSettings;
  const std::pair<TSpinEdit*, std::int32_t*> values[] = {
      {inP1from, &s.P1from}, {inP1to, &s.P1to}, {inP1step, &s.P1step}, {inP2from, &s.P2from}, {inP2to, &s.P2to},
      {inP2step, &s.P2step}, {inD1from, &s.D1from}, {inD1to, &s.D1to}, {inD1step, &s.D1step}, {inD2from, &s.D2from},
      {inD2to, &s.D2to},     {inD2step, &s.D2step}, {inA1from, &s.A1from}, {inA1to, &s.A1to}, {inA1step, &s.A1step},
      {inA2from, &s.A2from}, {inA2to, &s.A2to},     {inA2step, &s.A2step}, {inDfrom, &s.Delayfrom},
      {inDto, &s.Delayto},   {inDstep, &s.Delaystep}};
  for (const auto& [input, field] : values) *field = input->Value();
  // A ripple field that is no number keeps the value the settings had, and says so.
  for (const auto& [input, field] : {std::pair<QLineEdit*, double*>{inRfrom, &s.Rfrom}, {inRto, &s.Rto},
                                     {inRstep, &s.Rstep}})
    *field = static_cast<double>(TextToFloat(input->text().toStdString()));
}

void TfrmCmpBruteForce::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  Guarded(FDialogs, [this] { FormClose(); })();
}

void TfrmCmpBruteForce::reject() {
  // Closing the dialog ends a search under way; what it found stays listed.
  if (FSearch) btnCancelClick();
  QDialog::reject();
}

bool TfrmCmpBruteForce::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // The spin edits take digits and control keys only.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      const int code = key->text().front().unicode();
      if (code >= 32 && code != 127 && (code < '0' || code > '9')) return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmCmpBruteForce::Prepare(TfrmCompare& compare, const std::vector<std::pair<int, std::string>>& references) {
  FCompare = &compare;
  cbxInitial->clear();
  FReferenceRows.clear();
  for (const auto& [row, text] : references) {
    FReferenceRows.push_back(row);
    cbxInitial->addItem(QString::fromStdString(classlib::Cp1251ToUtf8(text)));
  }
  cbxInitial->setCurrentIndex(references.empty() ? -1 : 0);
  const int lastBar = compare.Candles().LastIndex;
  const int top = std::max(lastBar - 100, 100);
  tbCorrelation->setRange(100, top);
  if (top - 100 >= 201) tbCorrelation->setTickInterval(static_cast<int>(std::nearbyint((top - 100) / 100.0)));
  tbCorrelation->setValue(100);
  tbCorrelationChange();
  if (!FSearch) btnStart->setEnabled(true);
}

void TfrmCmpBruteForce::EnableSearchControls(bool enabled) {
  for (QWidget* control : std::initializer_list<QWidget*>{cbxInitial, tbCorrelation, inP1from, inP1to, inP1step,
                                                          inD1from, inD1to, inD1step, inA1from, inA1to, inA1step,
                                                          inRfrom, inRto, inRstep, inDfrom, inDto, inDstep})
    control->setEnabled(enabled);
  for (QWidget* progress : std::initializer_list<QWidget*>{pbProcess, lblProcessInfo, lblProcess})
    progress->setVisible(!enabled);
}

void TfrmCmpBruteForce::tbCorrelationChange() {
  lblCorrelation->setText(QString::number(tbCorrelation->value()) + " бар(ов)");
}

TSearchRanges TfrmCmpBruteForce::ReadRanges() const {
  TSearchRanges r;
  r.BandType = static_cast<std::uint8_t>(std::max(FilterType->ItemIndex(), 0));
  r.P1from = inP1from->Value(), r.P1to = inP1to->Value(), r.P1step = inP1step->Value();
  r.D1from = inD1from->Value(), r.D1to = inD1to->Value(), r.D1step = inD1step->Value();
  r.A1from = inA1from->Value(), r.A1to = inA1to->Value(), r.A1step = inA1step->Value();
  r.Rfrom = static_cast<double>(TextToFloat(inRfrom->text().toStdString()));
  r.Rto = static_cast<double>(TextToFloat(inRto->text().toStdString()));
  r.Rstep = static_cast<double>(TextToFloat(inRstep->text().toStdString()));
  r.Delayfrom = inDfrom->Value(), r.Delayto = inDto->Value(), r.Delaystep = inDstep->Value();
  r.P2 = inP2from->Value(), r.D2 = inD2from->Value(), r.A2 = inA2from->Value();
  return r;
}

void TfrmCmpBruteForce::btnStartClick() {
  if (FSearch) return;
  btnStart->setEnabled(false);
  struct TRestart {
    QPushButton* Start;
    bool Started = false;
    ~TRestart() {
      if (!Started) Start->setEnabled(true);
    }
  } restart{btnStart};
  if (FCompare.isNull()) {
    FDialogs.MessageBox("Ошибка указания исторических данных", "Orvel", mbOK, miNone);
    return;
  }
  const TPriceChart& candles = FCompare->Candles();
  if (candles.Bars.empty()) {
    FDialogs.MessageBox("Не достаточно исторических данных", "Orvel", mbOK, miNone);
    return;
  }
  // Everything is read, and every range checked, before the inputs lock.
  const TSearchRanges ranges = ReadRanges();
  TSearchData data;
  data.Closes.reserve(candles.Bars.size());
  for (const TPriceBar& bar : candles.Bars) data.Closes.push_back(bar.Close);
  data.LastBar = candles.LastIndex;
  const int item = cbxInitial->currentIndex();
  const int row = item >= 0 && item < static_cast<int>(FReferenceRows.size()) ? FReferenceRows[item] : -1;
  if (row >= 0 && row < static_cast<int>(FCompare->Rows().size())) {
    const std::vector<double>& output = FCompare->Rows()[static_cast<std::size_t>(row)].Output;
    data.Reference.assign(output.begin(), output.begin() + std::min<std::ptrdiff_t>(output.size(), std::max(data.LastBar, 0)));
  }
  data.CorrelationBars = tbCorrelation->value();
  data.GridDensity = FCompare->Workspace().GridDensity;
  try {
    FSearch = std::make_shared<TBruteForceSearch>(ranges, std::move(data));
  } catch (const ESearch& e) {
    FDialogs.MessageBox(e.Message(), "Orvel", mbOK, miNone);
    return;
  }

  pbProcess->setValue(0);
  lblProcessInfo->setText(msgCounting);
  lblProcess->setText("0%");
  EnableSearchControls(false);
  btnClose->setEnabled(false);
  repaint();
  restart.Started = true;
  FSearchFinished = false;
  const int workers = static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
  auto* thread = new FormCompareBruteForce::TRemezThread(FSearch, FLink, ++FRun, workers);
  FStartTicks.start();
  thread->Start();
}

void TfrmCmpBruteForce::SyncCountingDone(int run) {
  if (run != FRun || !FSearch) return;
  if (!FSearch->Cancelled()) {
    for (QWidget* progress : std::initializer_list<QWidget*>{pbProcess, lblProcessInfo, lblProcess}) progress->show();
    Timer1->start();
    Timer1Timer();
  } else {
    lblProcessInfo->setText(QString::fromUtf8(msgCounting) + " " + QString::number(FSearch->CombinationCount()));
    btnStart->setEnabled(true);
    EnableSearchControls(true);
  }
}

void TfrmCmpBruteForce::Timer1Timer() {
  if (FSearch) ShowProgress(*FSearch);
}

void TfrmCmpBruteForce::ShowProgress(const TBruteForceSearch& search) {
  const std::int64_t done = search.CombinationsDone(), count = search.CombinationCount();
  const int percent = SearchProgressPercent(done, count);
  pbProcess->setValue(percent);
  lblProcess->setText(QString::number(percent) + "%");
  lblProcessInfo->setText(QString::fromStdString(SearchProgressText(done, count, FStartTicks.elapsed())));
}

void TfrmCmpBruteForce::btnCancelClick() {
  if (!FSearch) {
    close();
    return;
  }
  FSearch->Cancel();
  Timer1->stop();
  btnStart->setEnabled(false);  // until the search has ended with the combination in hand
  EnableSearchControls(true);
}

void TfrmCmpBruteForce::btnCloseClick() { accept(); }

void TfrmCmpBruteForce::SyncShowResults(int run, const std::string& failure) {
  if (run != FRun || !FSearch) return;
  Timer1->stop();
  const std::shared_ptr<TBruteForceSearch> search = std::move(FSearch);
  FSearchFinished = search->Finished();
  FResults = search->Results();
  ShowProgress(*search);
  btnStart->setEnabled(true);
  ShowBruteForceResults();
  if (!failure.empty()) FDialogs.MessageBox(failure, "Orvel", mbOK, miError);
}

void TfrmCmpBruteForce::FitResultColumns() {
  // The widest texts of the rows decide, so no parameter text is cut short;
  // the dialog grows to show them, as far as the screen allows.
  for (int column = 0; column < FModel->columnCount({}); ++column) sgrResult->resizeColumnToContents(column);
  int needed = 2 * sgrResult->frameWidth() + sgrResult->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < FModel->columnCount({}); ++column) needed += sgrResult->columnWidth(column);
  // The page in view has been laid out; the results fill a page to its edges.
  const int grow = needed - pcMain->currentWidget()->width();
  if (grow <= 0) return;
  QRect frame = geometry();
  frame.setWidth(frame.width() + grow);
  if (const QScreen* screen = this->screen()) {
    const QRect room = screen->availableGeometry();
    frame.setWidth(std::min(frame.width(), std::max(room.width(), width())));
    if (frame.right() > room.right()) frame.moveLeft(std::max(room.left(), room.right() - frame.width() + 1));
  }
  setGeometry(frame);
}

void TfrmCmpBruteForce::ShowBruteForceResults() {
  FModel->Reset();
  FitResultColumns();
  FSelectedResult = 0;
  btnClose->setEnabled(true);
  EnableSearchControls(true);
  if (FResults.empty()) return;
  pcMain->setCurrentWidget(tsResults);
}

void TfrmCmpBruteForce::sgrResultSelectCell(int row) { FSelectedResult = row; }

void TfrmCmpBruteForce::sgrResultDblClick() {
  const int r = FSelectedResult - 1;
  if (r < 0 || r >= static_cast<int>(FResults.size())) return;
  if (!FCompare.isNull()) FCompare->AddRow(SearchResultRow(FResults[static_cast<std::size_t>(r)].Filter));
  accept();
}

}  // namespace workbench
