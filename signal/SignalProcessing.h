// SignalProcessing: the signal layer's unit of processing components that
// make or reshape signals (so far the formula generator).
//
// Its classes are registered by name (so that component streams and dialogs
// can create them) by InitSignal (signal/SignalInit.h).
#pragma once

#include "signal/SignalGenerator.h"

namespace sig {

// Registers TSignalGenerator with the class registry, and takes it out again.
void RegisterSignalProcessingClasses();
void UnregisterSignalProcessingClasses();

}  // namespace sig
