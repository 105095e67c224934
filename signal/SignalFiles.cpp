// The SignalFiles unit's class registration.
// Tested by: signal/tests/SignalInitTest.cpp.
#include "signal/SignalFiles.h"

#include <vector>

#include "platform/classlib/ClassRegistry.h"

namespace sig {

namespace {

const std::vector<const classlib::TClassInfo*>& SignalFileClasses() {
  static const std::vector<const classlib::TClassInfo*> classes = {
      &TFileStorage::StaticClassInfo(),  &TSignalRead::StaticClassInfo(),        &TSignalWrite::StaticClassInfo(),
      &TSignalBrowse::StaticClassInfo(), &TMtxProgressDialog::StaticClassInfo(),
  };
  return classes;
}

}  // namespace

void RegisterSignalFileClasses() { classlib::RegisterClasses(SignalFileClasses()); }

void UnregisterSignalFileClasses() {
  for (const classlib::TClassInfo* info : SignalFileClasses()) classlib::UnRegisterClass(*info);
}

}  // namespace sig
