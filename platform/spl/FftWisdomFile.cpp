// Reading and replacing the FFTW wisdom file.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/FftWisdomFile.h"

#include <filesystem>
#include <system_error>

#include "platform/classlib/Exception.h"
#include "platform/classlib/Streams.h"

namespace spl {

namespace {

// Wisdom for every size and kind this layer plans is tens of kilobytes; a
// larger file is not ours.
constexpr std::uintmax_t kLargestWisdom = 16u << 20;

}  // namespace

std::string ReadWisdomFile(const std::string& path) {
  if (path.empty()) return {};
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kLargestWisdom ||
      error)
    return {};
  try {
    return classlib::ReadFileBytes(path);
  } catch (const classlib::Exception&) {
    return {};
  }
}

bool WriteWisdomFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  if (error) return false;
  try {
    classlib::AtomicWriteFile(path, text);
    return true;
  } catch (const classlib::Exception&) {
    return false;
  }
}

}  // namespace spl
