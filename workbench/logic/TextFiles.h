// Whole-file reading with a size bound, and the line rules of the workbench's
// text files: written with CR LF, read with CR LF, LF or CR.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace workbench {

// The lines of a text; a line break at the very end starts no further line.
std::vector<std::string> SplitTextLines(std::string_view text);
// The text with every line break (CR LF, LF or CR) written as CR LF.
std::string WithCrLf(std::string_view text);

// The whole content of a file. Raises EWorkbenchFile when the file is larger
// than maxSize bytes; the class library's file exceptions (which name the file)
// when it cannot be opened or read.
std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize);
// Writes bytes through a temporary file renamed into place: the old file stays
// whole when the write fails, and the failure is raised as EWorkbenchFile
// naming the file.
void WriteWholeFile(const std::string& fileName, std::string_view bytes);

}  // namespace workbench
