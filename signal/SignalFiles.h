// SignalFiles: the signal file components. The file formats and the
// open/save dialog filter (SignalFileFormats.h), the file storage base
// (FileStorage.h), the reader with its compressed-audio converter and file
// information texts (SignalRead.h, AcmConverter.h), the writer
// (SignalWrite.h), the browser (SignalBrowse.h) and the progress dialog
// component it owns (MtxProgressDialog.h).
//
// The unit's classes are registered by name by InitSignal (signal/SignalInit.h).
#pragma once

#include "signal/AcmConverter.h"
#include "signal/FileStorage.h"
#include "signal/MtxProgressDialog.h"
#include "signal/SignalBrowse.h"
#include "signal/SignalFileFormats.h"
#include "signal/SignalRead.h"
#include "signal/SignalWrite.h"

namespace sig {

// Registers TFileStorage, TSignalRead, TSignalWrite, TSignalBrowse and
// TMtxProgressDialog with the class registry, and takes them out again.
void RegisterSignalFileClasses();
void UnregisterSignalFileClasses();

}  // namespace sig
