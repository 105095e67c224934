// Reading and atomically replacing the FFTW wisdom file.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/FftWisdomFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace spl {

namespace {

// Wisdom for every size and kind this layer plans is tens of kilobytes; a
// larger file is not ours.
constexpr std::uintmax_t kLargestWisdom = 16u << 20;

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string ReadWisdomFile(const std::string& path) {
  if (path.empty()) return {};
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestWisdom) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return in.bad() ? std::string() : text;
}

bool WriteWisdomFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  if (error) return false;
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace spl
