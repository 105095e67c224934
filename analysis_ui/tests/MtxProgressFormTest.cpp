// The progress window: made for every new progress dialog once the layer has
// started, its caption, button and bar, the bar following the dialog's range,
// its end with the dialog or at the layer's shutdown, and its picture.
// Covers: analysis_ui/MtxProgressForm.cpp, analysis_ui/AnalysisUiInit.cpp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <memory>

#include "analysis_ui/AnalysisUiInit.h"
#include "analysis_ui/MtxDialogs.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/MtxProgressDialog.h"

namespace analysis_ui {
namespace {

using ui::Control;

class MtxProgressForm : public ui::TWindowTest {};

TEST_F(MtxProgressForm, EveryNewDialogHasItsWindow) {
  sig::TMtxProgressDialog dialog;
  TMtxProgressForm* form = ProgressForm(dialog);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(&form->Dialog(), &dialog);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), "Processing");
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form->size(), QSize(screen.width() / 8, screen.height() / 10));
  auto& cancel = Control<QPushButton>(*form, "CancelButton");
  EXPECT_EQ(&cancel, &form->CancelButton());
  EXPECT_EQ(cancel.text(), "&Cancel");
  EXPECT_EQ(cancel.size(), QSize(80, 24));
  EXPECT_EQ(cancel.font().pixelSize(), 11);
  EXPECT_EQ(cancel.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(cancel.isDefault());
  auto& bar = Control<QProgressBar>(*form, "ProgressBar");
  EXPECT_EQ(bar.orientation(), Qt::Horizontal);
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.value(), 0);
  // A window goes with its dialog.
  QPointer<TMtxProgressForm> kept = form;
  {
    sig::TMtxProgressDialog other;
    kept = ProgressForm(other);
    ASSERT_FALSE(kept.isNull());
  }
  EXPECT_TRUE(kept.isNull());
}

TEST_F(MtxProgressForm, TheBarFollowsTheRange) {
  sig::TMtxProgressDialog dialog;
  const QProgressBar& bar = ProgressForm(dialog)->ProgressBar();
  struct Step {
    const char* What;
    void (sig::TMtxProgressDialog::*Setter)(std::int32_t);
    std::int32_t Value, Minimum, Maximum;
  };
  // A range of one step shows as an empty bar one step long.
  for (const Step& s : {Step{"Min 5 with Max 0", &sig::TMtxProgressDialog::SetMin, 5, 5, 6},
                        Step{"Loops 10 with Min 5", &sig::TMtxProgressDialog::SetLoops, 10, 5, 14},
                        Step{"Max 20", &sig::TMtxProgressDialog::SetMax, 20, 5, 20},
                        Step{"Max 3 with Min 5", &sig::TMtxProgressDialog::SetMax, 3, 3, 4}}) {
    SCOPED_TRACE(s.What);
    (dialog.*s.Setter)(s.Value);
    EXPECT_EQ(bar.minimum(), s.Minimum);
    EXPECT_EQ(bar.maximum(), s.Maximum);
    EXPECT_EQ(bar.value(), dialog.Min());
  }
}

TEST_F(MtxProgressForm, CancelStopsTheDialog) {
  sig::TMtxProgressDialog dialog;
  TMtxProgressForm& form = *ProgressForm(dialog);
  form.show();
  QTest::mouseClick(&form.CancelButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog.Stopped());
  form.hide();
}

TEST_F(MtxProgressForm, TheShutdownTakesTheWindowsAndTheFactory) {
  // The test main started the layer; a nested start and end pair up.
  InitAnalysisUi();
  DoneAnalysisUi();
  sig::TMtxProgressDialog before;
  EXPECT_NE(ProgressForm(before), nullptr);
  // The layer's real end: no more windows, the old ones gone.
  DoneAnalysisUi();
  EXPECT_EQ(ProgressForm(before), nullptr);
  EXPECT_EQ(sig::TMtxProgressDialog().Window(), nullptr);
  before.SetMin(3);  // a dialog without its window goes on
  InitAnalysisUi();
  sig::TMtxProgressDialog after;
  EXPECT_NE(ProgressForm(after), nullptr);
}

TEST_F(MtxProgressForm, ThePictureShowsButtonAndBar) {
  sig::TMtxProgressDialog dialog;
  dialog.SetMin(0);
  dialog.SetLoops(10);
  TMtxProgressForm& form = *ProgressForm(dialog);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QImage picture = ui::Screenshot(form, "progress_window");
  const auto inkIn = [&](const QRect& r) {
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (qGray(picture.pixel(x, y)) < 100) ++dark;
    return dark;
  };
  const QPushButton& cancel = form.CancelButton();
  const QRect button = cancel.geometry().translated(cancel.parentWidget()->pos());
  // The button sits centred in the strip above the bar, its caption inside.
  EXPECT_LE(std::abs(button.center().x() - form.width() / 2), 1);
  EXPECT_LE(std::abs(button.center().y() - 17), 1);
  EXPECT_GT(inkIn(button.adjusted(4, 4, -4, -4)), 10);
  const QProgressBar& bar = form.ProgressBar();
  EXPECT_EQ(bar.geometry().top(), 34);
  EXPECT_EQ(bar.geometry().bottom(), form.height() - 1);
  // The bar at its start: no chunk drawn into its middle.
  const QRgb middle = picture.pixel(bar.geometry().center());
  const QRgb highlight = bar.palette().highlight().color().rgb();
  EXPECT_NE(middle, highlight);
  form.hide();
}

}  // namespace
}  // namespace analysis_ui
