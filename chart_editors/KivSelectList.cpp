// The two-list selection form.
//
// Tested by: chart_editors/tests/SelectListTest.cpp
#include "chart_editors/KivSelectList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QVBoxLayout>

#include "chart_editors/KivPenDlg.h"
#include "platform/ui/Guarded.h"

namespace chart_editors {

namespace {

// The arrow as a button shows it: black, or grey while the button is disabled.
QIcon ArrowIcon(const QImage& arrow) {
  QImage grey = arrow.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb p = grey.pixel(x, y);
      if (qAlpha(p) != 0) grey.setPixel(x, y, qRgba(128, 128, 128, qAlpha(p)));
    }
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(arrow), QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(grey), QIcon::Disabled);
  return icon;
}

}  // namespace

TSelectListForm::TSelectListForm(QWidget* owner) : TEditorForm(owner) {
  setObjectName("SelectListForm");
  SetAlignClient(true);
  L22 = CreateControl<QLabel>(this, "L22", "A&vailable:");
  L24 = CreateControl<QLabel>(this, "L24", "&Selected: ");
  FromList = CreateControl<QListWidget>(this, "FromList");
  ToList = CreateControl<QListWidget>(this, "ToList");
  for (QListWidget* list : {FromList, ToList}) list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  L22->setBuddy(FromList);
  L24->setBuddy(ToList);
  BRightOne = CreateControl<QPushButton>(this, "BRightOne", ">");
  BRightAll = CreateControl<QPushButton>(this, "BRightAll", ">>");
  BLeftOne = CreateControl<QPushButton>(this, "BLeftOne", "<");
  BLeftAll = CreateControl<QPushButton>(this, "BLeftAll", "<<");
  BMoveUP = CreateControl<QToolButton>(this, "BMoveUP");
  BMoveDown = CreateControl<QToolButton>(this, "BMoveDown");
  QImage up, down;
  LoadArrowBitmaps(up, down);
  BMoveUP->setIcon(ArrowIcon(up));
  BMoveDown->setIcon(ArrowIcon(down));
  for (QToolButton* b : {BMoveUP, BMoveDown}) b->setAutoRaise(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->addWidget(L22, 0, 0);
  grid->addWidget(L24, 0, 2);
  grid->addWidget(FromList, 1, 0);
  auto* across = new QVBoxLayout;
  across->addStretch();
  for (QPushButton* b : {BRightOne, BRightAll, BLeftOne, BLeftAll}) {
    b->setFixedWidth(32);
    across->addWidget(b);
  }
  across->addStretch();
  grid->addLayout(across, 1, 1);
  grid->addWidget(ToList, 1, 2);
  auto* order = new QVBoxLayout;
  order->addStretch();
  order->addWidget(BMoveUP);
  order->addWidget(BMoveDown);
  order->addStretch();
  grid->addLayout(order, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);

  connect(BMoveUP, &QToolButton::clicked, this, ui::Guarded([this] { MoveUpDown(true); }));
  connect(BMoveDown, &QToolButton::clicked, this, ui::Guarded([this] { MoveUpDown(false); }));
  connect(BRightOne, &QPushButton::clicked, this, ui::Guarded([this] { RightOne(); }));
  connect(BRightAll, &QPushButton::clicked, this, ui::Guarded([this] {
            MoveAllListItems(*FromList, *ToList);
            Changed();
          }));
  connect(BLeftOne, &QPushButton::clicked, this, ui::Guarded([this] {
            MoveSelectedListItems(*ToList, *FromList);
            Changed();
          }));
  connect(BLeftAll, &QPushButton::clicked, this, ui::Guarded([this] {
            MoveAllListItems(*ToList, *FromList);
            Changed();
          }));
  connect(FromList, &QListWidget::itemDoubleClicked, this, ui::Guarded([this] {
            RightOne();
            ToList->setCurrentRow(ToList->count() - 1);
            EnableButtons();
          }));
  connect(ToList, &QListWidget::itemDoubleClicked, this, ui::Guarded([this] {
            MoveSelectedListItems(*ToList, *FromList);
            Changed();
          }));
  // The buttons follow the lists' selections however they change (mouse or keys).
  for (QListWidget* list : {FromList, ToList}) {
    connect(list, &QListWidget::currentRowChanged, this, [this] { EnableButtons(); });
    connect(list, &QListWidget::itemSelectionChanged, this, [this] { EnableButtons(); });
  }
  EnableButtons();
}

void TSelectListForm::FormShow() {
  EnableButtons();
  (FromList->count() == 0 ? ToList : FromList)->setFocus();
}

void TSelectListForm::EnableButtons() {
  const bool from = FromList->count() > 0, to = ToList->count() > 0;
  const int chosen = ToList->currentRow();
  BRightOne->setEnabled(from);
  BRightAll->setEnabled(from);
  BLeftOne->setEnabled(to);
  BLeftAll->setEnabled(to);
  BMoveUP->setEnabled(chosen > 0);
  BMoveDown->setEnabled(chosen >= 0 && chosen < ToList->count() - 1);
}

void TSelectListForm::Changed() {
  EnableButtons();
  if (OnChange) OnChange(*this);
}

void TSelectListForm::RightOne() {
  MoveSelectedListItems(*FromList, *ToList);
  Changed();
  if (FromList->count() == 0) ToList->setFocus();
}

void TSelectListForm::MoveUpDown(bool up) {
  const int row = ToList->currentRow();
  const int other = up ? row - 1 : row + 1;
  if (row < 0 || other < 0 || other >= ToList->count()) return;
  QListWidgetItem* item = ToList->takeItem(row);
  ToList->insertItem(other, item);
  ToList->clearSelection();
  ToList->setCurrentItem(item);
  ToList->setFocus();
  Changed();
}

}  // namespace chart_editors
