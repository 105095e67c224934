// The process-wide format settings, published as immutable snapshots.
// Tested by: tests/SysUtilsFloatTest.cpp, tests/SysUtilsDateTimeTest.cpp.
#include <mutex>

#include "platform/classlib/SysUtils.h"

namespace classlib {

namespace {

// One process-wide instance: the decimal separator is a setting of the whole
// process. Readers take a snapshot under the lock and format without it.
struct TSettingsStore {
  std::mutex Lock;
  std::shared_ptr<const TFormatSettings> Current = std::make_shared<const TFormatSettings>();
};

TSettingsStore& Store() {
  static TSettingsStore store;
  return store;
}

template <class F>
void Change(F change) {
  TSettingsStore& store = Store();
  std::lock_guard lock(store.Lock);
  auto next = std::make_shared<TFormatSettings>(*store.Current);
  change(*next);
  store.Current = std::move(next);
}

}  // namespace

std::shared_ptr<const TFormatSettings> CurrentFormatSettings() {
  TSettingsStore& store = Store();
  std::lock_guard lock(store.Lock);
  return store.Current;
}

TFormatSettings FormatSettings() { return *CurrentFormatSettings(); }

void SetFormatSettings(const TFormatSettings& settings) {
  Change([&](TFormatSettings& s) { s = settings; });
}

char DecimalSeparator() { return CurrentFormatSettings()->DecimalSeparator; }

void SetDecimalSeparator(char separator) {
  Change([&](TFormatSettings& s) { s.DecimalSeparator = separator; });
}

char ThousandSeparator() { return CurrentFormatSettings()->ThousandSeparator; }

void SetThousandSeparator(char separator) {
  Change([&](TFormatSettings& s) { s.ThousandSeparator = separator; });
}

}  // namespace classlib
