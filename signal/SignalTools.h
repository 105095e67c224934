// SignalTools: the signal layer's base unit. The analysis component and its
// pull pipeline, the input collections, the signal and the spectrum with
// their mark lists, and the lists of components.
//
// The unit's classes are registered by name (so that component streams and
// dialogs can create them) by InitSignal (signal/SignalInit.h), which the
// program and the test mains call at start-up.
#pragma once

#include "signal/Analysis.h"
#include "signal/MarkList.h"
#include "signal/Signal.h"
#include "signal/SignalCollections.h"
#include "signal/Spectrum.h"

namespace sig {

// Registers TSignal, TSignalList, TSpectrum, TSpectrumItem, TSignalItem,
// TSpectrumCollection and TSignalCollection with the class registry, and
// takes them out again.
void RegisterSignalToolsClasses();
void UnregisterSignalToolsClasses();

}  // namespace sig
