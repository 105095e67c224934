// TSpectrumAnaForm: the parameter window of a spectrum analyser, caption
// "Spectral analysis", opened by its dialog (SignalToolsDialogs.h). Its pages
// are the spectrum analysers' shared ones (SpectrumAnaPages.h), with what
// only this analyser has:
// - Basic: the seven methods, the AR order and the rotation beside the
//   spectrum parameters; the AR order is enabled for the autoregressive
//   methods, "Remove DC" for the FFT and the chirp-z range for the CZT;
// - Averaging: all seven averaging kinds and "Compute standard deviation";
// - Peaks: the tolerance (shown, not for editing) and the peak trace "All",
//   which keeps the analyser's trace method;
// - Order: all four order tracings and the chirp-z radii;
// - Bands, Phase, Info and Report as shared.
// Each control writes one property of the analyser as it changes and
// recomputes while Live is on (ComponentEditorForm.h tells the rest of the
// form's life).
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#pragma once

#include "analysis_ui/SpectrumAnaPages.h"

namespace analysis_ui {

class TSpectrumAnaForm : public TSpectrumPagesForm {
 public:
  explicit TSpectrumAnaForm(QWidget* owner = nullptr);

  sig::TSpectrumAnalyzer* Analyzer() const { return Spectrum(); }

 protected:
  void FillControls() override;
  void RunLayouts() override;

 private:
  // The controls each method means something for.
  void MethodLayout();

  QComboBox* FMethodsBox;
  TMtxFloatEdit* FAROrderEdit;
  TMtxFloatEdit* FRotationEdit;
};

// Registers the form with the form registry under "TSpectrumAnaForm", the
// name a spectrum analyser gives its editor, and takes it out again.
void RegisterSpectrumAnaForm();
void UnregisterSpectrumAnaForm();

}  // namespace analysis_ui
