// The progress window.
//
// Tested by: analysis_ui/tests/MtxProgressFormTest.cpp
#include "analysis_ui/MtxProgressForm.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>

#include <climits>
#include <utility>

#include "signal/MtxProgressDialog.h"

namespace analysis_ui {

namespace {

// The component holds this; the window goes with it, unless the layer's
// shutdown took it first.
class TProgressWindowLink : public sig::TProgressWindow {
 public:
  explicit TProgressWindowLink(TMtxProgressForm* Form) : FForm(Form) {}
  ~TProgressWindowLink() override { delete FForm.data(); }
  void RangeChanged() override {
    if (FForm) FForm->RangeChanged();
  }
  TMtxProgressForm* Form() const { return FForm.data(); }

 private:
  QPointer<TMtxProgressForm> FForm;
};

sig::TProgressWindowFactory& ReplacedFactory() {
  static sig::TProgressWindowFactory factory;
  return factory;
}

QRect ScreenRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TMtxProgressForm::TMtxProgressForm(sig::TMtxProgressDialog& Dialog)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      FDialog(Dialog) {
  setObjectName("MtxProgressForm");
  setWindowTitle("Processing");
  const QRect screen = ScreenRect();
  resize(screen.width() / 8, screen.height() / 10);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* panel = new QFrame(this);
  panel->setObjectName("Panel");
  panel->setFrameShape(QFrame::NoFrame);
  panel->setFixedHeight(34);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  FCancelButton = new QPushButton("&Cancel", panel);
  FCancelButton->setObjectName("CancelButton");
  FCancelButton->setFixedSize(80, 24);
  QFont font = FCancelButton->font();
  font.setPixelSize(11);
  FCancelButton->setFont(font);
  FCancelButton->setFocusPolicy(Qt::NoFocus);
  FCancelButton->setDefault(true);
  row->addStretch();
  row->addWidget(FCancelButton, 0, Qt::AlignVCenter);
  row->addStretch();
  FProgressBar = new QProgressBar(this);
  FProgressBar->setObjectName("ProgressBar");
  FProgressBar->setOrientation(Qt::Horizontal);
  FProgressBar->setTextVisible(false);
  // The bar fills what the button strip leaves.
  FProgressBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  layout->addWidget(panel);
  layout->addWidget(FProgressBar, 1);
  connect(FCancelButton, &QPushButton::clicked, this, [this] { FDialog.Stop(); });
  RangeChanged();
}

void TMtxProgressForm::RangeChanged() {
  const int minimum = FDialog.Min(), maximum = FDialog.Max();
  // A single step is an empty bar one step long: Qt shows 0 .. 0 as a busy bar.
  FProgressBar->setRange(minimum, maximum > minimum || minimum == INT_MAX ? maximum : minimum + 1);
  FProgressBar->setValue(minimum);
}

void TMtxProgressForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QWidget* owner = QApplication::activeWindow();
  const QRect area = owner != nullptr && owner != this ? owner->frameGeometry() : ScreenRect();
  move(area.center() - QPoint(width() / 2, height() / 2));
}

std::unique_ptr<sig::TProgressWindow> CreateProgressWindow(sig::TMtxProgressDialog& Dialog) {
  // Widgets live on the GUI thread only.
  if (QCoreApplication::instance() == nullptr || QThread::currentThread() != QCoreApplication::instance()->thread())
    return nullptr;
  return std::make_unique<TProgressWindowLink>(new TMtxProgressForm(Dialog));
}

TMtxProgressForm* ProgressForm(const sig::TMtxProgressDialog& Dialog) {
  const auto* link = dynamic_cast<const TProgressWindowLink*>(Dialog.Window());
  return link != nullptr ? link->Form() : nullptr;
}

void FreeProgressForms() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* form = dynamic_cast<TMtxProgressForm*>(window)) delete form;
}

void RegisterMtxDialogs() { ReplacedFactory() = sig::SetProgressWindowFactory(&CreateProgressWindow); }

void UnregisterMtxDialogs() {
  sig::SetProgressWindowFactory(std::move(ReplacedFactory()));
  ReplacedFactory() = nullptr;
  FreeProgressForms();
}

}  // namespace analysis_ui
