// Safe file writes: a temporary file beside the target, renamed into place.
// Tested by: tests/SafeFileWriterTest.cpp.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "platform/classlib/Streams.h"

namespace classlib {

namespace {

std::string ErrorText(int error) { return std::system_category().message(error); }

// The process's file-creation mask, read without changing it (umask() would
// change it for every thread for a moment).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  return 022;
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::string ResolveTarget(const std::string& fileName) {
  std::error_code ec;
  if (std::filesystem::is_symlink(fileName, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(fileName, ec);
    if (!ec) return resolved.string();
  }
  return fileName;
}

void SyncDirectoryOf(const std::string& fileName) {
  std::string dir = std::filesystem::path(fileName).parent_path().string();
  if (dir.empty()) dir = ".";
  const int handle = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;  // best effort: the rename itself has succeeded
  ::fsync(handle);
  ::close(handle);
}

}  // namespace

TSafeFileWriter::TSafeFileWriter(const std::string& fileName) : FTarget(ResolveTarget(fileName)) {
  // The rename needs only the folder's permission, so it would replace a file
  // its owner marked read-only, or one this user may not write: refuse both
  // first. The owner's write bit counts for root too, whom access() lets write
  // anything.
  struct stat target {};
  if (::stat(FTarget.c_str(), &target) == 0 && !S_ISDIR(target.st_mode)) {
    int refusal = (target.st_mode & S_IWUSR) == 0 ? EACCES : 0;
    if (refusal == 0 && ::access(FTarget.c_str(), W_OK) != 0) refusal = errno;
    if (refusal != 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + ErrorText(refusal));
  }
  std::string name = FTarget + ".~XXXXXX";
  const int handle = ::mkostemp(name.data(), O_CLOEXEC);
  if (handle < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + ErrorText(errno));
  Attach(handle, name);
  struct stat info {};
  if (::stat(FTarget.c_str(), &info) == 0) {
    ::fchmod(handle, info.st_mode & 07777);
    if (::fchown(handle, info.st_uid, info.st_gid) != 0) {
      // Only the owner and root may give a file away; the file stays ours then.
    }
  } else {
    ::fchmod(handle, 0666 & ~CurrentUmask());
  }
}

TSafeFileWriter::~TSafeFileWriter() {
  if (!FCommitted) ::unlink(FileName().c_str());
}

// The stream's own message names no file, or only the temporary one.
void TSafeFileWriter::RaiseWriteError(const std::string& message) const {
  throw EWriteError("Cannot write file \"" + FTarget + "\". " + message);
}

std::int64_t TSafeFileWriter::Write(const void* buffer, std::int64_t count) {
  try {
    return TFileStream::Write(buffer, count);
  } catch (const EWriteError& e) {
    RaiseWriteError(e.Message());
  }
}

void TSafeFileWriter::SetSize(std::int64_t size) {
  try {
    TFileStream::SetSize(size);
  } catch (const EWriteError& e) {
    RaiseWriteError(e.Message());
  }
}

void TSafeFileWriter::Commit() {
  if (FCommitted) return;
  if (::fsync(Handle()) != 0) RaiseWriteError("Stream write error. " + ErrorText(errno));
  try {
    Close();
  } catch (const EWriteError& e) {
    RaiseWriteError(e.Message());
  }
  if (::rename(FileName().c_str(), FTarget.c_str()) != 0)
    throw EFCreateError("Cannot create file \"" + FTarget + "\". " + ErrorText(errno));
  FCommitted = true;
  SyncDirectoryOf(FTarget);
}

void AtomicWriteFile(const std::string& fileName, std::string_view bytes) {
  TSafeFileWriter writer(fileName);
  writer.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  writer.Commit();
}

void AtomicWriteFile(const std::string& fileName, const std::function<void(TStream&)>& writer) {
  TSafeFileWriter file(fileName);
  writer(file);
  file.Commit();
}

std::string ReadFileBytes(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const std::int64_t n = file.Read(chunk, sizeof chunk);
    if (n <= 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return bytes;
}

}  // namespace classlib
