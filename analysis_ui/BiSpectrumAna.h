// The bispectrum analysis window (TBiSpectrumAnaForm, "Higher order spectral
// analysis"): the parameter window of a bispectrum analyser
// (sig::TBiSpectrumAnalyzer), which a component dialog opens by the name the
// analyser gives (it differs from the window's only in letter case, which
// the form registry ignores). Its pages are a part of those of the spectrum
// analysers' windows (SpectrumAnaPages.h): the spectrum parameters, the
// averaging and the higher order controls on one page (the frequency whose
// row is shown, single lines only, and "Frequency lines..." that opens the
// vector editor on the lines to analyse), peaks, bands, order, Info and
// Report. Every control writes one property at once and recomputes while
// "Live" is checked; Cancel puts every parameter back.
//
// Tested by: analysis_ui/tests/BiSpectrumAnaTest.cpp
#pragma once

#include "analysis_ui/SpectrumAnaPages.h"
#include "signal/BispectrumAnalyzer.h"

namespace analysis_ui {

class TBiSpectrumAnaForm : public TSpectrumPagesForm {
 public:
  explicit TBiSpectrumAnaForm(QWidget* owner = nullptr);

  // The analyser in Tag (nullptr before the form is filled).
  sig::TBiSpectrumAnalyzer* BiAnalyzer() const { return dynamic_cast<sig::TBiSpectrumAnalyzer*>(Component()); }

 protected:
  void FillControls() override;
  // The copy's parameters, and the frequency of the row shown, which the
  // copy could not take: an analyser keeps one only up to its last line,
  // and the copy has none.
  void RestoreBackup() override;

 private:
  // "Frequency lines...": the lines to analyse in the vector editor, modal
  // and editable; then ApplyChange.
  void FrequencyLinesClick();

  TMtxFloatEdit* FFrequencyEdit;
  QCheckBox* FSingleLinesBox;
  // BiAnalyzer.Frequency when the form first filled, for Cancel; -1 before.
  double FFrequencyBackup = -1.0;
};

// Registers the window with the form registry under "TBiSpectrumAnaForm",
// and takes it out again.
void RegisterBiSpectrumAna();
void UnregisterBiSpectrumAna();

}  // namespace analysis_ui
