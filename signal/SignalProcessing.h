// SignalProcessing: the signal layer's unit of processing components that
// make or reshape signals: the formula generator, the filter, channel
// routing and block buffers, and the rate changers.
//
// Its classes are registered by name (so that component streams and dialogs
// can create them) by InitSignal (signal/SignalInit.h).
#pragma once

#include "signal/MultiRate.h"
#include "signal/RateConverter.h"
#include "signal/SignalBuffers.h"
#include "signal/SignalChannels.h"
#include "signal/SignalDemodulator.h"
#include "signal/SignalFilter.h"
#include "signal/SignalGenerator.h"

namespace sig {

// Registers TSignalGenerator, TSignalFilter, TSignalMux, TSignalDemux,
// TSignalIncBuffer, TSignalDecBuffer, TSignalInterpolator, TSignalDecimator,
// TSignalDemodulator, TBandlimitedInterpolator and TSignalRateConverter with
// the class registry, and takes them out again.
void RegisterSignalProcessingClasses();
void UnregisterSignalProcessingClasses();

}  // namespace sig
