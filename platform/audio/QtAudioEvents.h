// The program's event source of the sound layer: the Qt event loop of the
// thread that installs it runs every stream's and mixer's work, from a
// single-shot timer at the time each one asks for and from notifiers on its
// descriptors.
//
// An exception of the work (a component's handler that failed) never leaves
// the event loop: it goes to the handler given, or else to the warnings
// (classlib::ReportWarning).
//
// Tested by: platform/audio/tests/QtAudioEventsTest.cpp.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/audio/AudioDevices.h"

namespace audio {

using TAudioErrorHandler = std::function<void(std::exception_ptr Error)>;

// A Qt event source for the calling thread, which must run a Qt event loop.
// Raises EAudioError when there is no QCoreApplication.
std::shared_ptr<TAudioEventSource> NewQtAudioEvents(TAudioErrorHandler OnError = nullptr);
// Installs one as the layer's event source.
void InstallQtAudioEvents(TAudioErrorHandler OnError = nullptr);

}  // namespace audio
