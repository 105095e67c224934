// The about box.
// Tested by: tests/AboutBoxTest.cpp
#include "workbench/forms/formAbout.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "workbench/forms/Controls.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

namespace {

constexpr const char* AboutText =
    "Orvel рассчитывает цифровые КИХ-фильтры с равномерными пульсациями (обмен Ремеза) и превращает их "
    "в индикаторы для торговых терминалов.\r\n\r\n"
    "Фильтр задаётся периодами полос пропускания и задерживания в барах, биениями в полосе пропускания, "
    "затуханием в полосе задерживания и задержкой. Генератор показывает амплитудную, фазовую и "
    "логарифмическую характеристики, накладывает индикатор на историю котировок, позволяет двигать "
    "коэффициенты мышью и выводит текст индикатора в пяти видах.\r\n\r\n"
    "В программе использованы библиотеки Qt 6, FFTW 3 и OpenBLAS (LAPACK).";

}  // namespace

TfrmAbout::TfrmAbout(TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FDialogs(dialogs) {
  setObjectName("frmAbout");
  setWindowTitle("Информация о программе");

  auto* top = new QWidget(this);
  top->setObjectName("pnTop");
  auto* topLayout = new QVBoxLayout(top);
  Label1 = NewLabel(top, "Label1", "Orvel");
  QFont title = Label1->font();
  title.setPointSize(title.pointSize() + 6);
  title.setBold(true);
  Label1->setFont(title);
  Label2 = NewLabel(top, "Label2", "Рабочее место разработчика индикаторов");
  Label3 = NewLabel(top, "Label3", "Цифровые фильтры для технического анализа");
  Label4 = NewLabel(top, "Label4", AboutContactText);
  Label4->setCursor(Qt::PointingHandCursor);
  QFont link = Label4->font();
  link.setUnderline(true);
  Label4->setFont(link);
  Label4->setStyleSheet("color: #0000c0");
  Label4->installEventFilter(this);
  lblVersion = NewLabel(top, "lblVersion", {});
  for (QLabel* label : {Label1, Label2, Label3, Label4, lblVersion}) topLayout->addWidget(label);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setPlainText(QString::fromUtf8(AboutText).replace("\r\n", "\n"));
  QPalette memoPalette = Memo1->palette();
  memoPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
  Memo1->setPalette(memoPalette);

  auto* bottom = new QWidget(this);
  bottom->setObjectName("pnBottom");
  auto* bottomLayout = new QHBoxLayout(bottom);
  Button1 = new QPushButton("OK", bottom);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  bottomLayout->addStretch();
  bottomLayout->addWidget(Button1);
  bottomLayout->addStretch();
  connect(Button1, &QPushButton::clicked, this, Guarded(FDialogs, [this] { Button1Click(); }));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(top);
  layout->addWidget(Memo1, 1);
  layout->addWidget(bottom);
  resize(460, 400);
  FormCreate();
}

void TfrmAbout::FormCreate() { lblVersion->setText("ver. " + QString::fromStdString(GetFileVersionString())); }

void TfrmAbout::Button1Click() { accept(); }

void TfrmAbout::Label4Click() { FDialogs.OpenUrl(QUrl(AboutContactLink)); }

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Guarded(FDialogs, [this] { Label4Click(); })();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace workbench
