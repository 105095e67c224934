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

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : FFileName(fileName) {
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
    FHandle = ::open(fileName.c_str(), flags, 0666);
  } while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0) fail(errno);
  // A directory opens for reading on Linux; as a stream it is an error.
  struct stat info {};
  if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    fail(EISDIR);
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

void TFileStream::Attach(int handle, std::string fileName) {
  FHandle = handle;
  FFileName = std::move(fileName);
}

void TFileStream::Close() {
  if (FHandle < 0) return;
  const int handle = FHandle;
  FHandle = -1;
  if (::close(handle) != 0 && errno != EINTR) throw EWriteError("Stream write error. " + Reason(errno));
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(FHandle, out + done, static_cast<std::size_t>(count - done));
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
    const ssize_t n = ::write(FHandle, in + done, static_cast<std::size_t>(count - done));
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
  const off_t position = ::lseek(FHandle, static_cast<off_t>(offset), whence);
  if (position < 0) throw EStreamError("Stream seek error. " + Reason(errno));
  return position;
}

std::int64_t TFileStream::Size() {
  struct stat info {};
  if (::fstat(FHandle, &info) != 0) throw EStreamError("Stream size error. " + Reason(errno));
  return info.st_size;
}

void TFileStream::SetSize(std::int64_t size) {
  if (::ftruncate(FHandle, static_cast<off_t>(size)) != 0) throw EWriteError("Stream write error. " + Reason(errno));
  if (Position() > size) SetPosition(size);
}

}  // namespace classlib
