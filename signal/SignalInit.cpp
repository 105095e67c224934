// The signal layer's start-up and finalisation, and the SignalTools unit's
// class registration.
// Tested by: signal/tests/SignalInitTest.cpp.
#include "signal/SignalInit.h"

#include <mutex>

#include "platform/classlib/ClassRegistry.h"
#include "signal/AudioSignal.h"
#include "signal/BispectrumAnalyzer.h"
#include "signal/CrossSpectrumAnalyzer.h"
#include "signal/SigMixer.h"
#include "signal/SignalAnalyzer.h"
#include "signal/SignalFiles.h"
#include "signal/SignalProcessing.h"
#include "signal/SignalTools.h"
#include "signal/SpectrumAnalyzer.h"

namespace sig {

namespace {

const std::vector<const classlib::TClassInfo*>& SignalToolsClasses() {
  static const std::vector<const classlib::TClassInfo*> classes = {
      &TSignal::StaticClassInfo(),           &TSignalList::StaticClassInfo(),
      &TSpectrum::StaticClassInfo(),         &TSpectrumItem::StaticClassInfo(),
      &TSignalItem::StaticClassInfo(),       &TSpectrumCollection::StaticClassInfo(),
      &TSignalCollection::StaticClassInfo(),
  };
  return classes;
}

struct TInitState {
  std::mutex Lock;
  int Count = 0;
};

TInitState& InitState() {
  static TInitState state;
  return state;
}

}  // namespace

void RegisterSignalToolsClasses() { classlib::RegisterClasses(SignalToolsClasses()); }

void UnregisterSignalToolsClasses() {
  for (const classlib::TClassInfo* info : SignalToolsClasses()) classlib::UnRegisterClass(*info);
}

void InitSignal() {
  TInitState& state = InitState();
  std::lock_guard<std::mutex> guard(state.Lock);
  if (state.Count++ > 0) return;
  RegisterSignalToolsClasses();
  RegisterSignalProcessingClasses();
  RegisterSpectrumAnalyzerClasses();
  RegisterSignalAnalyzerClasses();
  RegisterCrossSpectrumAnalyzerClasses();
  RegisterBispectrumAnalyzerClasses();
  RegisterSignalFileClasses();
  RegisterAudioSignalClasses();
  RegisterSigMixerClasses();
}

void DoneSignal() {
  TInitState& state = InitState();
  std::lock_guard<std::mutex> guard(state.Lock);
  if (state.Count == 0 || --state.Count > 0) return;
  UnregisterSigMixerClasses();
  UnregisterAudioSignalClasses();
  UnregisterSignalFileClasses();
  UnregisterBispectrumAnalyzerClasses();
  UnregisterCrossSpectrumAnalyzerClasses();
  UnregisterSignalAnalyzerClasses();
  UnregisterSpectrumAnalyzerClasses();
  UnregisterSignalProcessingClasses();
  UnregisterSignalToolsClasses();
}

}  // namespace sig
