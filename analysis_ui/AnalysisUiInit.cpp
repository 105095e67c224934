// The layer's start-up and finalisation.
//
// Tested by: analysis_ui/tests/ValuesWindowTest.cpp, analysis_ui/tests/MtxProgressFormTest.cpp,
//            analysis_ui/tests/SignalSeriesTest.cpp
#include "analysis_ui/AnalysisUiInit.h"

#include "analysis_ui/FileReadDialog.h"
#include "analysis_ui/FIRDesign.h"
#include "analysis_ui/MtxProgressForm.h"
#include "analysis_ui/NumoraKiv.h"
#include "analysis_ui/SignalDiscreteSeriesEdit.h"
#include "analysis_ui/SignalGen.h"
#include "analysis_ui/SignalSeriesKiv.h"
#include "analysis_ui/SignalInDialog.h"
#include "analysis_ui/SignalOutDialog.h"
#include "analysis_ui/SignalToolsDialogs.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "analysis_ui/SpectrumAna.h"
#include "analysis_ui/TimeAna.h"
#include "analysis_ui/CrossSpectrumAna.h"
#include "analysis_ui/BiSpectrumAna.h"
#include "analysis_ui/ToolEditors.h"

namespace analysis_ui {

namespace {
// Start-ups run on the GUI thread only.
int& InitCount() {
  static int count = 0;
  return count;
}
}  // namespace

void InitAnalysisUi() {
  if (InitCount()++ > 0) return;
  RegisterMtxDialogs();
  RegisterNumoraKiv();
  RegisterSignalToolsKiv();
  RegisterToolEditors();
  RegisterSignalToolsDialogs();
  RegisterTimeAna();
  RegisterFileReadDialog();
  RegisterSignalSeriesKiv();
  RegisterSignalDiscreteSeriesEdit();
  RegisterCrossSpectrumAna();
  RegisterSignalInDialog();
  RegisterSignalOutDialog();
  RegisterFIRDesignForm();
  RegisterBiSpectrumAna();
  RegisterSignalGenForm();
  RegisterSpectrumAnaForm();
}

void DoneAnalysisUi() {
  if (InitCount() == 0 || --InitCount() > 0) return;
  UnregisterBiSpectrumAna();
  UnregisterCrossSpectrumAna();
  UnregisterSignalGenForm();
  UnregisterFIRDesignForm();
  UnregisterTimeAna();
  UnregisterSignalOutDialog();
  UnregisterSignalInDialog();
  UnregisterFileReadDialog();
  UnregisterSignalDiscreteSeriesEdit();
  UnregisterSignalSeriesKiv();
  UnregisterSpectrumAnaForm();
  UnregisterSignalToolsDialogs();
  UnregisterToolEditors();
  UnregisterSignalToolsKiv();
  UnregisterNumoraKiv();
  UnregisterMtxDialogs();
}

}  // namespace analysis_ui
