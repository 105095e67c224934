// The signal layer's start-up: its classes can be found and made by name.
// Covers signal/SignalInit.cpp.
#include <gtest/gtest.h>

#include <memory>

#include "platform/classlib/ClassRegistry.h"
#include "signal/SignalInit.h"
#include "signal/SignalTools.h"

namespace {

const char* const Classes[] = {"TSignal",     "TSignalList",         "TSpectrum",        "TSpectrumItem",
                               "TSignalItem", "TSpectrumCollection", "TSignalCollection"};

TEST(SignalInit, TheUnitsClassesAreRegisteredByName) {
  for (const char* name : Classes) EXPECT_NE(classlib::GetClass(name), nullptr) << name;
  classlib::TComponent owner;
  std::unique_ptr<classlib::TPersistent> made(classlib::FindClass("TSpectrum").Create(&owner));
  auto* spectrum = dynamic_cast<sig::TSpectrum*>(made.get());
  ASSERT_NE(spectrum, nullptr);
  EXPECT_EQ(spectrum->Owner(), &owner);
  EXPECT_TRUE(classlib::InheritsFromRegistered(sig::TSignalList::StaticClassInfo(), "TSignalList"));
}

TEST(SignalInit, TheProcessingComponentsAreMadeByName) {
  const char* const processing[] = {"TSignalGenerator",   "TSignalFilter",       "TSignalMux",
                                    "TSignalDemux",       "TSignalIncBuffer",    "TSignalDecBuffer",
                                    "TSignalInterpolator", "TSignalDecimator",   "TSignalDemodulator",
                                    "TBandlimitedInterpolator", "TSignalRateConverter"};
  classlib::TComponent owner;
  for (const char* name : processing) {
    std::unique_ptr<classlib::TPersistent> made(classlib::FindClass(name).Create(&owner));
    auto* signal = dynamic_cast<sig::TSignal*>(made.get());
    ASSERT_NE(signal, nullptr) << name;
    EXPECT_EQ(signal->ClassName(), name);
  }
}

TEST(SignalInit, TheAnalysersAreMadeByName) {
  const char* const analysers[] = {"TSpectrumAnalyzer", "TSignalAnalyzer", "TCrossSpectrumAnalyzer",
                                   "TBiSpectrumAnalyzer"};
  classlib::TComponent owner;
  for (const char* name : analysers) {
    std::unique_ptr<classlib::TPersistent> made(classlib::FindClass(name).Create(&owner));
    auto* analysis = dynamic_cast<sig::TAnalysis*>(made.get());
    ASSERT_NE(analysis, nullptr) << name;
    EXPECT_EQ(analysis->ClassName(), name);
  }
}

TEST(SignalInit, StartUpsAndFinalisationsPairUp) {
  // The test main has started the layer once; one more pair leaves it started.
  sig::InitSignal();
  sig::DoneSignal();
  EXPECT_NE(classlib::GetClass("TSignal"), nullptr);
  // The last finalisation takes the classes out; a new start puts them back.
  sig::DoneSignal();
  EXPECT_EQ(classlib::GetClass("TSignal"), nullptr);
  sig::InitSignal();
  EXPECT_NE(classlib::GetClass("TSignalCollection"), nullptr);
}

}  // namespace
