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
#include "platform/classlib/Exception.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/ThreadCount.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/logic/formRemezParameters.h"

namespace workbench {

namespace {

constexpr TInputRange SearchInputRange{0, 1000000};
constexpr const char* msgCounting = "Определение количества рассчитываемых комбинаций...";

// The input of the settings pairs that bears `name`.
template <class T>
T* NamedInput(QWidget& page, const char* name) {
  T* input = page.findChild<T*>(name);
  if (input == nullptr) throw classlib::Exception(std::string("The search dialog has no input ") + name);
  return input;
}

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
  for (std::size_t i = 0; i < FIntegerInputs.size(); ++i)
    FIntegerInputs[i] = NamedInput<TSpinEdit>(*tsParameters, SearchIntegerInputs[i].Input);
  for (std::size_t i = 0; i < FRippleInputs.size(); ++i)
    FRippleInputs[i] = NamedInput<QLineEdit>(*tsParameters, SearchRippleInputs[i].Input);
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
  for (std::size_t i = 0; i < FIntegerInputs.size(); ++i) FIntegerInputs[i]->SetValue(s.*SearchIntegerInputs[i].Field);
  for (std::size_t i = 0; i < FRippleInputs.size(); ++i)
    FRippleInputs[i]->setText(QString::fromStdString(FloatToStrPoint(s.*SearchRippleInputs[i].Field)));
  FLoading = false;
  EnableSearchControls(true);
  btnStart->setEnabled(true);
}

void TfrmCmpBruteForce::FormShow() { pcMain->setCurrentWidget(tsParameters); }

void TfrmCmpBruteForce::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded(FDialogs, [this] { FormShow(); })();
}

void TfrmCmpBruteForce::FormClose() { StoreInputs(WorkbenchSettings); }

void TfrmCmpBruteForce::StoreInputs(TWorkbenchSettings& s) const {
  for (std::size_t i = 0; i < FIntegerInputs.size(); ++i) s.*SearchIntegerInputs[i].Field = FIntegerInputs[i]->Value();
  // A ripple field that is no number keeps the value the settings had, and says so.
  for (std::size_t i = 0; i < FRippleInputs.size(); ++i)
    s.*SearchRippleInputs[i].Field = static_cast<double>(TextToFloat(FRippleInputs[i]->text().toStdString()));
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

void TfrmCmpBruteForce::Prepare(const std::shared_ptr<const TCompareTable>& table,
                                std::function<void(TCompareFilterRecord)> takeResult) {
  FTable = table;
  FTakeResult = std::move(takeResult);
  const std::vector<std::pair<int, std::string>> references = table->SearchReferences();
  cbxInitial->clear();
  FReferenceRows.clear();
  for (const auto& [row, text] : references) {
    FReferenceRows.push_back(row);
    cbxInitial->addItem(QString::fromStdString(classlib::Cp1251ToUtf8(text)));
  }
  cbxInitial->setCurrentIndex(references.empty() ? -1 : 0);
  const int lastBar = table->Candles().LastIndex;
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
  TWorkbenchSettings inputs = WorkbenchSettings;
  StoreInputs(inputs);
  return SearchRangesOf(inputs, static_cast<std::uint8_t>(std::max(FilterType->ItemIndex(), 0)));
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
  const std::shared_ptr<const TCompareTable> table = FTable.lock();
  if (!table) {
    FDialogs.MessageBox("Ошибка указания исторических данных", "Orvel", mbOK, miNone);
    return;
  }
  const int item = cbxInitial->currentIndex();
  const int row = item >= 0 && item < static_cast<int>(FReferenceRows.size()) ? FReferenceRows[item] : -1;
  try {
    // Everything is read, and every range checked, before the inputs lock.
    TSearchData data = table->SearchData(row, tbCorrelation->value());
    const TSearchRanges ranges = ReadRanges();
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
  if (FTakeResult) FTakeResult(SearchResultRow(FResults[static_cast<std::size_t>(r)].Filter));
  accept();
}

}  // namespace workbench
