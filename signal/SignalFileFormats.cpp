// The signal file formats' table and the choice of a format by extension.
// Tested by: signal/tests/SignalFileFormatsTest.cpp.
#include "signal/SignalFileFormats.h"

#include <array>

#include "numeric/MathCore.h"
#include "platform/classlib/TextUtils.h"

namespace sig {

namespace {

struct TFormatRow {
  TFileFormat Format;
  const char* Extension;
  const char* Name;
};

constexpr std::array<TFormatRow, 7> kFormats = {{
    {ffDat, ".dat", "Binary DAT"},
    {ffSgl, ".sgl", "Text SGL"},
    {ffBin, ".bin", "Binary BIN"},
    {ffWav, ".wav", ""},
    {ffSfs, ".sfs", "Text SFS"},
    {ffAsc, ".asc", "Text ASC"},
    {ffDbn, ".dbn", "Binary DBN"},
}};

const TFormatRow* RowOf(TFileFormat Format) {
  for (const TFormatRow& row : kFormats)
    if (row.Format == Format) return &row;
  return nullptr;
}

// The extension with its dot: from the last '.' of the last path element.
std::string_view ExtensionOf(std::string_view FileName) {
  const std::size_t slash = FileName.find_last_of('/');
  const std::size_t dot = FileName.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return FileName.substr(dot);
}

}  // namespace

std::string FileFormatExtension(TFileFormat Format) {
  const TFormatRow* row = RowOf(Format);
  return row != nullptr ? row->Extension : "";
}

std::string FileFormatName(TFileFormat Format) {
  const TFormatRow* row = RowOf(Format);
  return row != nullptr ? row->Name : "";
}

TFileFormat FileFormatOfName(std::string_view FileName) {
  const std::string extension = classlib::LowerCase(ExtensionOf(FileName));
  for (const TFormatRow& row : kFormats)
    if (extension == row.Extension) return row.Format;
  numeric::RaiseError("Unknown file file format extension: " + extension);
}

}  // namespace sig
