// The progress window of a progress dialog component: "Processing", a
// Cancel button that stops the dialog's computation, and a progress bar over
// the dialog's Min .. Max that follows every change of the range. The
// analysis layer's start-up installs CreateProgressWindow as the signal
// layer's progress window factory, so every new dialog gets one (hidden
// until something shows it); its finalisation closes the windows left.
//
// Tested by: analysis_ui/tests/MtxProgressFormTest.cpp
#pragma once

#include <memory>

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace sig {
class TMtxProgressDialog;
class TProgressWindow;
}  // namespace sig

namespace analysis_ui {

class TMtxProgressForm : public QDialog {
 public:
  explicit TMtxProgressForm(sig::TMtxProgressDialog& Dialog);

  // properties
  sig::TMtxProgressDialog& Dialog() const { return FDialog; }
  QPushButton& CancelButton() const { return *FCancelButton; }
  QProgressBar& ProgressBar() const { return *FProgressBar; }

  // operations
  // The bar from Min to Max, at Min.
  void RangeChanged();

 protected:
  // overrides
  // Centred on the window that is active, else on the screen.
  void showEvent(QShowEvent* event) override;

 private:
  sig::TMtxProgressDialog& FDialog;
  QPushButton* FCancelButton = nullptr;
  QProgressBar* FProgressBar = nullptr;
};

// The factory: a window for Dialog, made on the GUI thread only (a dialog
// made on another thread has none).
std::unique_ptr<sig::TProgressWindow> CreateProgressWindow(sig::TMtxProgressDialog& Dialog);
// The window of a dialog; nullptr without one.
TMtxProgressForm* ProgressForm(const sig::TMtxProgressDialog& Dialog);
// The shutdown step: the progress windows go before the application does.
void FreeProgressForms();

// The unit's start-up (installs CreateProgressWindow, keeping the factory it
// replaces) and finalisation (puts that one back and frees the windows).
void RegisterMtxDialogs();
void UnregisterMtxDialogs();

}  // namespace analysis_ui
