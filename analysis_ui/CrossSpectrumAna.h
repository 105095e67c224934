// The cross-spectrum analysis window (TCrossSpectrumAnaForm, "Cross-spectral
// analysis"): the parameter window of a cross-spectrum analyser
// (sig::TCrossSpectrumAnalyzer), which a component dialog opens by the name
// the analyser gives. Its pages are those of the spectrum analysers'
// windows (SpectrumAnaPages.h); the Basic page chooses the transform (FFT
// or chirp-z), whose own controls follow the choice at once, and which of
// the five cross results the analyser shows. Every control writes one
// property at once and recomputes while "Live" is checked; Cancel puts
// every parameter back.
//
// Tested by: analysis_ui/tests/CrossSpectrumAnaTest.cpp
#pragma once

#include "analysis_ui/SpectrumAnaPages.h"
#include "signal/CrossSpectrumAnalyzer.h"

namespace analysis_ui {

class TCrossSpectrumAnaForm : public TSpectrumPagesForm {
 public:
  explicit TCrossSpectrumAnaForm(QWidget* owner = nullptr);

  // The analyser in Tag (nullptr before the form is filled).
  sig::TCrossSpectrumAnalyzer* CrossAnalyzer() const { return dynamic_cast<sig::TCrossSpectrumAnalyzer*>(Component()); }

 protected:
  void FillControls() override;
  void RunLayouts() override;

 private:
  // Method := the list's choice; Remove DC for the FFT, the chirp-z edits
  // for the CZT; then ApplyChange.
  void MethodLayout();

  QComboBox* FMethodBox;
  QComboBox* FSpectrumBox;
};

// Registers the window with the form registry under
// "TCrossSpectrumAnaForm", and takes it out again.
void RegisterCrossSpectrumAna();
void UnregisterCrossSpectrumAna();

}  // namespace analysis_ui
