// The spectrum analyser's dialog and the registration of the dialogs and forms.
//
// Tested by: analysis_ui/tests/ComponentDialogTest.cpp
#include "analysis_ui/SignalToolsDialogs.h"

#include "platform/classlib/ClassRegistry.h"

namespace analysis_ui {

const classlib::TClassInfo& TSpectrumAnalyzerDialog::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumAnalyzerDialog>("TSpectrumAnalyzerDialog", TMtxDialog::StaticClassInfo())
          .Property("Source", &TSpectrumAnalyzerDialog::Source, &TSpectrumAnalyzerDialog::SetSource)
          .Creatable()
          .Build();
  return info;
}

void RegisterSignalToolsDialogs() {
  classlib::RegisterClasses({&TMtxDialog::StaticClassInfo(), &TSpectrumAnalyzerDialog::StaticClassInfo()});
}

void UnregisterSignalToolsDialogs() {
  classlib::UnRegisterClass(TSpectrumAnalyzerDialog::StaticClassInfo());
  classlib::UnRegisterClass(TMtxDialog::StaticClassInfo());
}

}  // namespace analysis_ui
