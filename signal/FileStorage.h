// TFileStorage: the common base of the signal file components, a signal that
// names a file and its format (signal/SignalFileFormats.h).
//
// With AutoFileFormat (the default) the format follows the extension of
// every non-empty FileName assigned; an unknown extension is refused and
// leaves the name as it was. Without it the format is whatever FileFormat
// was set to.
//
// Tested by: signal/tests/SignalReadTest.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "signal/Signal.h"
#include "signal/SignalFileFormats.h"

namespace sig {

class TFileStorage : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TFileStorage(classlib::TComponent* AOwner = nullptr);
  ~TFileStorage() override;

  // properties
  const std::string& FileName() const { return FFileName; }
  // An equal name does nothing; otherwise an open file is closed, the format
  // follows the extension (with AutoFileFormat) and the name is stored.
  void SetFileName(const std::string& Value);
  TFileFormat FileFormat() const { return FFileFormat; }
  // Stored only while AutoFileFormat is False.
  void SetFileFormat(TFileFormat Value);
  bool AutoFileFormat() const { return FAutoFileFormat; }
  // True derives FileFormat from the current FileName's extension.
  void SetAutoFileFormat(bool Value);
  // Bytes of the open file (0 while none is open).
  std::int64_t FileSize() const { return FFileSize; }
  // A file is open.
  bool FileOpen() const { return FOpen; }

  // introduced virtual
  virtual void CloseFile() = 0;

 protected:
  void SetFileOpen(bool Value) { FOpen = Value; }
  void SetFileSize(std::int64_t Value) { FFileSize = Value; }

 private:
  std::string FFileName;
  TFileFormat FFileFormat = ffDat;
  bool FAutoFileFormat = true;
  bool FOpen = false;
  std::int64_t FFileSize = 0;
};

}  // namespace sig
