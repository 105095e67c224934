// The registration of the SignalProcessing unit's classes.
// Tested by: signal/tests/SignalInitTest.cpp.
#include "signal/SignalProcessing.h"

#include <vector>

#include "platform/classlib/ClassRegistry.h"

namespace sig {

namespace {

const std::vector<const classlib::TClassInfo*>& SignalProcessingClasses() {
  static const std::vector<const classlib::TClassInfo*> classes = {
      &TSignalGenerator::StaticClassInfo(),   &TSignalFilter::StaticClassInfo(),
      &TSignalMux::StaticClassInfo(),         &TSignalDemux::StaticClassInfo(),
      &TSignalIncBuffer::StaticClassInfo(),   &TSignalDecBuffer::StaticClassInfo(),
      &TSignalInterpolator::StaticClassInfo(), &TSignalDecimator::StaticClassInfo(),
      &TSignalDemodulator::StaticClassInfo(), &TBandlimitedInterpolator::StaticClassInfo(),
      &TSignalRateConverter::StaticClassInfo(),
  };
  return classes;
}

}  // namespace

void RegisterSignalProcessingClasses() { classlib::RegisterClasses(SignalProcessingClasses()); }

void UnregisterSignalProcessingClasses() {
  for (const classlib::TClassInfo* info : SignalProcessingClasses()) classlib::UnRegisterClass(*info);
}

}  // namespace sig
