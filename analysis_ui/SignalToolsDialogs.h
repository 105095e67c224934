// The spectrum analyser's dialog: the component dialog whose source is a
// spectrum analyser, and which opens its parameter form (SpectrumAna.h).
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp,
// analysis_ui/tests/SpectrumAnaTest.cpp
#pragma once

#include "analysis_ui/ComponentDialog.h"
#include "signal/SpectrumAnalyzer.h"

namespace analysis_ui {

class TSpectrumAnalyzerDialog : public TMtxDialog {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrumAnalyzerDialog(classlib::TComponent* AOwner = nullptr) : TMtxDialog(AOwner) {}

  // properties
  // The analyser whose form Execute opens; nullptr once it is freed.
  sig::TSpectrumAnalyzer* Source() const { return static_cast<sig::TSpectrumAnalyzer*>(SourceComponent()); }
  void SetSource(sig::TSpectrumAnalyzer* Value) { SetSourceComponent(Value); }
};

// Registers the dialog classes with the class registry and the editor forms
// of the spectrum analyser with the form registry, and takes them out again.
void RegisterSignalToolsDialogs();
void UnregisterSignalToolsDialogs();

}  // namespace analysis_ui
