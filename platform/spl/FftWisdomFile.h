// The file that keeps FFTW's wisdom (its measured plans) between runs, so
// that a second start plans nothing. It is a cache: a file that cannot be read
// or written is passed over without a word.
//
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include <string>

namespace spl {

// The wisdom file's text; empty when there is none or it cannot be read.
std::string ReadWisdomFile(const std::string& path);

// Replaces the file by text, creating its folder, through AtomicWriteFile: a
// reader sees the old file or the new one, never a part. False when that
// cannot be done; the old file is then as it was.
bool WriteWisdomFile(const std::string& path, const std::string& text);

}  // namespace spl
