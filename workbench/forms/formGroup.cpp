// The methods window: its grid, memos, progress and commands.
// Tested by: tests/MethodsWindowTest.cpp
#include "workbench/forms/formGroup.h"

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/classlib/Cp1251.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/FormMethodEdit.h"
#include "workbench/forms/Icons.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/logic/FileNames.h"

namespace workbench {

namespace {

constexpr const char* DmpFilter = "Параметры метода (*.dmp)|*.dmp";
constexpr const char* DmpMqlFilter = "Параметры метода (*.dmp)|*.dmp|Текст индикатора MQL (*.mql)|*.mql";

// The background of a row whose design ran out of rounds.
const QColor GroupIterationLimitColour(255, 232, 160);

QPlainTextEdit* NewMemo(QWidget* parent, const char* name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(name);
  QFont fixed("Courier New");
  fixed.setStyleHint(QFont::Monospace);
  memo->setFont(fixed);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

}  // namespace

TfrmMethods::TfrmMethods(IMainCommands& owner) : QMdiSubWindow(nullptr), FMain(owner), FDialogs(owner.Dialogs()) {
  setObjectName("frmMethods");
  setWindowTitle("Наборы фильтров и индикаторов");
  setWindowIcon(ToolbarIcon(tiMethods, *style()));
  setAttribute(Qt::WA_DeleteOnClose);
  CreateControls();
  FormCreate();
  FMain.AddChild(*this);
  resize(900, 600);
  show();
}

TfrmMethods::~TfrmMethods() = default;

void TfrmMethods::CreateControls() {
  auto* body = new QWidget(this);
  body->setObjectName("pnBody");
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);

  actAdd = NewAction(this, "actAdd", "Добавить", "Добавить фильтр");
  actEdit = NewAction(this, "actEdit", "Редактировать параметры фильтра", "Редактировать параметры фильтра");
  actDelete = NewAction(this, "actDelete", "Удалить фильтр", "Удалить фильтр");
  actCalculate = NewAction(this, "actCalculate", "Calculate");
  actSave = NewAction(this, "actSave", "Save MQL...");
  actOpen = NewAction(this, "actOpen", "Open DMP file");
  actAdd->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
  actEdit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  actDelete->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));

  pnGroup1 = new QWidget(body);
  pnGroup1->setObjectName("pnGroup1");
  auto* head = new QHBoxLayout(pnGroup1);
  head->setContentsMargins(4, 2, 4, 2);
  QLabel* lblHead = NewLabel(pnGroup1, "lblHead", "Orvel");
  QFont headFont = lblHead->font();
  headFont.setBold(true);
  headFont.setPointSize(headFont.pointSize() + 4);
  lblHead->setFont(headFont);
  head->addWidget(lblHead);
  head->addStretch();
  auto* tools = new QToolBar(pnGroup1);
  tools->setObjectName("tbMethods");
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tools->addAction(actAdd);
  tools->addAction(actEdit);
  tools->addAction(actDelete);
  head->addWidget(tools);
  layout->addWidget(pnGroup1);

  Splitter1 = new QSplitter(Qt::Vertical, body);
  Splitter1->setObjectName("Splitter1");
  sgrGroup = new QTableWidget(1, MethodGridColumns, Splitter1);
  sgrGroup->setObjectName("sgrGroup");
  QStringList headings;
  for (const char* heading : MethodGridHeadings) headings << heading;
  sgrGroup->setHorizontalHeaderLabels(headings);
  sgrGroup->verticalHeader()->hide();
  sgrGroup->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgrGroup->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgrGroup->setSelectionMode(QAbstractItemView::SingleSelection);
  sgrGroup->horizontalHeader()->setStretchLastSection(true);
  sgrGroup->verticalHeader()->setDefaultSectionSize(20);
  const int widths[MethodGridColumns] = {34, 120, 40, 44, 44, 44, 44, 44, 44, 60, 48, 80, 40};
  for (int c = 0; c < MethodGridColumns; ++c) sgrGroup->setColumnWidth(c, widths[c]);

  pnGroup2 = new QWidget(Splitter1);
  pnGroup2->setObjectName("pnGroup2");
  auto* memos = new QHBoxLayout(pnGroup2);
  memos->setContentsMargins(0, 0, 0, 0);
  memos->setSpacing(4);
  pnGroup2Left = new QWidget(pnGroup2);
  pnGroup2Left->setObjectName("pnGroup2Left");
  auto* left = new QVBoxLayout(pnGroup2Left);
  left->setContentsMargins(0, 0, 0, 0);
  left->addWidget(NewLabel(pnGroup2Left, "lblBefore", "MQL-код заголовка"));
  memoBefore = NewMemo(pnGroup2Left, "memoBefore");
  left->addWidget(memoBefore, 1);
  auto* rightPanel = new QWidget(pnGroup2);
  rightPanel->setObjectName("pnGroup2Right");
  auto* right = new QVBoxLayout(rightPanel);
  right->setContentsMargins(0, 0, 0, 0);
  right->addWidget(NewLabel(rightPanel, "lblAfter", "Заключительный MQL-код"));
  memoAfter = NewMemo(rightPanel, "memoAfter");
  right->addWidget(memoAfter, 1);
  memos->addWidget(pnGroup2Left);
  memos->addWidget(rightPanel, 1);
  layout->addWidget(Splitter1, 1);

  pnGroup3 = new QWidget(body);
  pnGroup3->setObjectName("pnGroup3");
  auto* bottom = new QHBoxLayout(pnGroup3);
  bottom->setContentsMargins(4, 2, 4, 2);
  pbMethods = new QProgressBar(pnGroup3);
  pbMethods->setObjectName("pbMethods");
  pbMethods->setRange(0, 100);
  pbMethods->setTextVisible(false);
  pbMethods->hide();
  lbProgress = NewLabel(pnGroup3, "lbProgress", "0%");
  lbProgress->hide();
  bottom->addWidget(pbMethods, 1);
  bottom->addWidget(lbProgress);
  bottom->addStretch();
  auto* commands = new QToolBar(pnGroup3);
  commands->setObjectName("tbCommands");
  commands->setToolButtonStyle(Qt::ToolButtonTextOnly);
  commands->addAction(actCalculate);
  commands->addAction(actSave);
  commands->addAction(actOpen);
  bottom->addWidget(commands);
  layout->addWidget(pnGroup3);
  setWidget(body);
  Splitter1->installEventFilter(this);
  pnGroup2->installEventFilter(this);

  BindCommand(FDialogs, actAdd, this, &TfrmMethods::actAddExecute);
  BindCommand(FDialogs, actEdit, this, &TfrmMethods::actEditExecute);
  BindCommand(FDialogs, actDelete, this, &TfrmMethods::actDeleteExecute);
  BindCommand(FDialogs, actCalculate, this, &TfrmMethods::actCalculateExecute);
  BindCommand(FDialogs, actSave, this, &TfrmMethods::actSaveExecute);
  BindCommand(FDialogs, actOpen, this, &TfrmMethods::actOpenExecute);
  connect(sgrGroup, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (row >= 0) Guarded(FDialogs, [this, row, column] { sgrGroupSelectCell(row + 1, column); })();
  });
  connect(sgrGroup, &QTableWidget::cellDoubleClicked, this,
          [this](int, int) { Guarded(FDialogs, [this] { sgrGroupDblClick(); })(); });
}

void TfrmMethods::FormCreate() {
  RefreshGrid();
  FCalculated = false;
  actCalculate->setEnabled(false);
  setMinimumSize(500, pnGroup3->y() + 50);
}

void TfrmMethods::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  FormResize();
}

bool TfrmMethods::eventFilter(QObject* watched, QEvent* event) {
  // The panes follow the window once its layout has given them their room.
  if (event->type() == QEvent::Resize && (watched == Splitter1 || watched == pnGroup2)) FormResize();
  return QMdiSubWindow::eventFilter(watched, event);
}

void TfrmMethods::FormResize() {
  pnGroup2Left->setFixedWidth(std::max(static_cast<int>(std::nearbyint(pnGroup2->width() / 2.0)) - 2, 0));
  const int grid = std::max(static_cast<int>(std::nearbyint(height() / 2.0)) - 5, 0);
  const int room = Splitter1->height() - Splitter1->handleWidth();
  if (room > grid) Splitter1->setSizes({grid, room - grid});
}

void TfrmMethods::closeEvent(QCloseEvent* event) {
  // Save has nothing left to save once the window goes.
  FMain.EnableCommand(mcFileSave, false);
  QMdiSubWindow::closeEvent(event);
}

TMethod TfrmMethods::Method() const {
  TMethod method;
  method.Filters = FFilters;
  method.CodeBefore = classlib::Utf8ToCp1251(memoBefore->toPlainText().toStdString());
  method.CodeAfter = classlib::Utf8ToCp1251(memoAfter->toPlainText().toStdString());
  return method;
}

void TfrmMethods::RefreshGrid() {
  const int n = static_cast<int>(FFilters.size());
  const QSignalBlocker blocker(sgrGroup);
  sgrGroup->clearContents();
  sgrGroup->setRowCount(std::max(n, 1));
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (int i = 0; i < n; ++i) {
    const std::vector<std::string> cells = MethodGridRow(i + 1, FFilters[static_cast<std::size_t>(i)]);
    const bool limit = FCalculated && static_cast<std::size_t>(i) < FDesign.IterationLimit.size() &&
                       FDesign.IterationLimit[static_cast<std::size_t>(i)];
    for (int c = 0; c < MethodGridColumns; ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(classlib::Cp1251ToUtf8(cells[static_cast<std::size_t>(c)])));
      if (limit) {
        item->setBackground(GroupIterationLimitColour);
        item->setToolTip(QString::fromUtf8(msgIterationLimit).replace("\n\r", "\n"));
        if (c == 0) item->setIcon(warning);
      }
      sgrGroup->setItem(i, c, item);
    }
  }
  actEdit->setEnabled(n > 0);
  actDelete->setEnabled(n > 0);
}

void TfrmMethods::SelectRow(int row) {
  sgrGroup->setCurrentCell(row - 1, 0);
  sgrGroupSelectCell(row, 0);
}

void TfrmMethods::sgrGroupSelectCell(int row, int column) {
  FSelectedRow = row;
  FSelectedColumn = column;
  const bool onFilter = row >= 1 && row <= static_cast<int>(FFilters.size());
  actEdit->setEnabled(onFilter);
  actDelete->setEnabled(onFilter);
}

void TfrmMethods::sgrGroupDblClick() {
  if (!FFilters.empty()) actEditExecute();
}

void TfrmMethods::MethodChanged() {
  FCalculated = false;
  FMain.EnableCommand(mcFileSave, !FFilters.empty());
}

void TfrmMethods::actAddExecute() {
  TfrmMethodEdit dialog(FDialogs, FWorkspace, this);
  dialog.setWindowTitle("Внесение нового фильтра в метод");
  dialog.SetRecordIndex(-1);
  dialog.SetFilterName("filter" + std::to_string(FFilters.size() + 1));
  FDialogs.ExecModal(dialog);
  if (dialog.Cancelled()) return;
  FFilters.push_back(dialog.EditedFilter());
  MethodChanged();
  RefreshGrid();
  SelectRow(static_cast<int>(FFilters.size()));
  actCalculate->setEnabled(true);
}

void TfrmMethods::actEditExecute() {
  const int index = FSelectedRow - 1;
  if (index < 0 || index >= static_cast<int>(FFilters.size())) return;
  TfrmMethodEdit dialog(FDialogs, FWorkspace, this);
  dialog.setWindowTitle("Редактирование фильтре в методе");
  dialog.SetRecordIndex(index);
  dialog.LoadRecord(FFilters[static_cast<std::size_t>(index)]);
  FDialogs.ExecModal(dialog);
  if (dialog.Cancelled()) return;
  FFilters[static_cast<std::size_t>(index)] = dialog.EditedFilter();
  MethodChanged();
  RefreshGrid();
  SelectRow(index + 1);
}

void TfrmMethods::actDeleteExecute() {
  const int index = FSelectedRow - 1;
  if (index < 0 || index >= static_cast<int>(FFilters.size())) return;
  const std::string name = classlib::Cp1251ToUtf8(FFilters[static_cast<std::size_t>(index)].Name.Str());
  if (FDialogs.MessageBox("Delete '" + name + "' filter record?", "Confirmation", mbOKCancel, miInformation) == mrOK) {
    DeleteFilterRecord(FFilters, index);
    MethodChanged();
    RefreshGrid();
  }
  if (FFilters.empty()) {
    FMain.EnableCommand(mcFileSave, false);
    actCalculate->setEnabled(false);
  } else {
    actCalculate->setEnabled(true);
    SelectRow(std::min(FSelectedRow, static_cast<int>(FFilters.size())));
  }
}

void TfrmMethods::actCalculateExecute() {
  if (FFilters.empty()) return;
  pbMethods->setValue(0);
  pbMethods->show();
  lbProgress->setText("0%");
  lbProgress->show();
  struct THideProgress {
    TfrmMethods& Window;
    ~THideProgress() {
      Window.pbMethods->hide();
      Window.lbProgress->hide();
    }
  } hide{*this};
  FDesign = {};
  FCalculated = false;
  // The work runs on the GUI thread: the progress is painted as it goes.
  FDesign = CalculateMethod(FWorkspace, Method(), [this](int percent) {
    pbMethods->setValue(percent);
    lbProgress->setText(QString::number(percent) + "%");
    pbMethods->repaint();
    lbProgress->repaint();
  });
  FCalculated = true;
  RefreshGrid();
  FMain.EnableCommand(mcFileSave, true);
  actSaveExecute();
}

void TfrmMethods::actSaveExecute() {
  const auto choice = FDialogs.SaveFileDialog(this, FCalculated ? DmpMqlFilter : DmpFilter, FCalculated ? 2 : 1);
  if (!choice) return;
  const TMethod method = Method();
  if (choice->FilterIndex == 2 && FCalculated) {
    SaveMethodText(AppendExtension(choice->FileName, ".mql"), method, FDesign.Coefficients);
  } else {
    SaveMethodFile(AppendExtension(choice->FileName, ".dmp"), method);
  }
}

void TfrmMethods::actOpenExecute() {
  const auto choice = FDialogs.OpenFileDialog(this, DmpFilter, 1);
  if (choice) OpenMethodFile(choice->FileName);
}

void TfrmMethods::OpenMethodFile(const std::string& fileName) {
  TMethod method = ReadMethodFile(fileName);
  FFilters = std::move(method.Filters);
  memoBefore->setPlainText(QString::fromStdString(classlib::Cp1251ToUtf8(method.CodeBefore)));
  memoAfter->setPlainText(QString::fromStdString(classlib::Cp1251ToUtf8(method.CodeAfter)));
  FCalculated = false;
  RefreshGrid();
  if (!FFilters.empty()) {
    SelectRow(1);
    actCalculate->setEnabled(true);
  } else {
    actCalculate->setEnabled(false);
  }
}

}  // namespace workbench
