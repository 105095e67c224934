// File streams over POSIX file handles.
// Tested by: tests/StreamsTest.cpp.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/classlib/Streams.h"

namespace classlib {

namespace {

std::string Reason(int error) { return std::system_category().message(error); }

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : file_name_(fileName) {
  const bool create = (mode & 0xFF00) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (mode & 0x0003) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  auto fail = [&](int error) {
    const std::string text = "\"" + fileName + "\". " + Reason(error);
    if (create) throw EFCreateError("Cannot create file " + text);
    throw EFOpenError("Cannot open file " + text);
  };
  do {
    handle_ = ::open(fileName.c_str(), flags, 0666);
  } while (handle_ < 0 && errno == EINTR);
  if (handle_ < 0) fail(errno);
  // A directory opens for reading on Linux; as a stream it is an error.
  struct stat info {};
  if (::fstat(handle_, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(handle_);
    handle_ = -1;
    fail(EISDIR);
  }
}

TFileStream::~TFileStream() {
  if (handle_ >= 0) ::close(handle_);
}

void TFileStream::Attach(int handle, std::string fileName) {
  handle_ = handle;
  file_name_ = std::move(fileName);
}

void TFileStream::Close() {
  if (handle_ < 0) return;
  const int handle = handle_;
  handle_ = -1;
  if (::close(handle) != 0 && errno != EINTR) throw EWriteError("Stream write error. " + Reason(errno));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(handle_, out + done, static_cast<std::size_t>(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Stream read error. " + Reason(errno));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  const auto* in = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(handle_, in + done, static_cast<std::size_t>(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError("Stream write error. " + Reason(errno));
    }
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  const off_t position = ::lseek(handle_, static_cast<off_t>(offset), whence);
  if (position < 0) throw EStreamError("Stream seek error. " + Reason(errno));
  return position;
}

std::int64_t TFileStream::Size() {
  struct stat info {};
  if (::fstat(handle_, &info) != 0) throw EStreamError("Stream size error. " + Reason(errno));
  return info.st_size;
}

void TFileStream::SetSize(std::int64_t size) {
  if (::ftruncate(handle_, static_cast<off_t>(size)) != 0) throw EWriteError("Stream write error. " + Reason(errno));
  if (Position() > size) SetPosition(size);
}

}  // namespace classlib
