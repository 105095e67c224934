// Whole-file reading and writing, line splitting and CR LF line ends.
// Tested by: tests/TextFilesTest.cpp
#include "workbench/logic/TextFiles.h"

#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/logic/FileErrors.h"

namespace workbench {

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize) {
  classlib::TFileStream file(fileName, classlib::fmOpenRead | classlib::fmShareDenyNone);
  const std::int64_t size = file.Size();
  if (size > maxSize)
    throw EWorkbenchFile(fileName, FileErrorText(fileName, std::string(msgFileTooLarge) + " (" +
                                                               classlib::IntToStr(size) + " байт)"));
  std::string bytes(static_cast<std::size_t>(size), '\0');
  file.ReadBuffer(bytes.data(), size);
  return bytes;
}

void WriteWholeFile(const std::string& fileName, std::string_view bytes) {
  try {
    classlib::AtomicWriteFile(fileName, bytes);
  } catch (const classlib::Exception& e) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, e.Message()));
  }
}

}  // namespace workbench
