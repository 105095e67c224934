// TFileStorage: the file name and the format it selects.
// Tested by: signal/tests/SignalReadTest.cpp.
#include "signal/FileStorage.h"

#include "numeric/MathCore.h"

namespace sig {

namespace {

const std::vector<std::string>& FileFormatNames() {
  static const std::vector<std::string> names = {"ffDat", "ffSgl", "ffBin", "ffWav", "ffSfs", "ffAsc", "ffDbn"};
  return names;
}

}  // namespace

const classlib::TClassInfo& TFileStorage::StaticClassInfo() {
  // AutoFileFormat and FileFormat are read before FileName, so that a stored
  // format is kept and a derived one follows the name.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TFileStorage>("TFileStorage", TSignal::StaticClassInfo())
          .Property("AutoFileFormat", &TFileStorage::AutoFileFormat, &TFileStorage::SetAutoFileFormat, true)
          .Property("FileFormat", &TFileStorage::FileFormat, &TFileStorage::SetFileFormat, ffDat)
          .TypeName("TFileFormat")
          .Names(FileFormatNames())
          .Property("FileName", &TFileStorage::FileName, &TFileStorage::SetFileName, std::string())
          .Build();
  return info;
}

TFileStorage::TFileStorage(classlib::TComponent* AOwner) : TSignal(AOwner) {}

TFileStorage::~TFileStorage() = default;

void TFileStorage::SetFileName(const std::string& Value) {
  if (Value == FFileName) return;
  // The name is checked before anything changes.
  const TFileFormat format = FAutoFileFormat && !Value.empty() ? FileFormatOfName(Value) : FFileFormat;
  if (FOpen) CloseFile();
  FFileFormat = format;
  FOpen = false;
  FFileName = Value;
}

void TFileStorage::SetFileFormat(TFileFormat Value) {
  if (Value > ffDbn) numeric::RaiseError("Unknown file format: " + std::to_string(Value));
  if (!FAutoFileFormat) FFileFormat = Value;
}

void TFileStorage::SetAutoFileFormat(bool Value) {
  if (Value && !FFileName.empty()) FFileFormat = FileFormatOfName(FFileName);
  FAutoFileFormat = Value;
}

}  // namespace sig
