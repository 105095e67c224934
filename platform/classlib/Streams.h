// Byte streams: the one interface through which files, memory blocks and the
// component stream move data.
//
// Offsets and sizes are 64-bit; reads and writes of a fixed size go through
// ReadBuffer/WriteBuffer, which raise instead of returning a short count, so
// that a truncated file is always reported and never half-read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Exception.h"

namespace classlib {

class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

enum TSeekOrigin : std::uint8_t { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  // Writes up to count bytes; returns how many were written.
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Moves the position; returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size);

  // Raise "Stream read error" / "Stream write error" on a short transfer.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);

  // Copies count bytes from source (all of it from its start when count is 0).
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  // Little-endian scalars, as every binary format of the system stores them.
  void WriteInt32(std::int32_t value);
  void WriteUInt8(std::uint8_t value);
  void WriteDouble(double value);
  void WriteFloat(float value);
  std::int32_t ReadInt32();
  std::uint8_t ReadUInt8();
  double ReadDouble();
  float ReadFloat();
};


// ---------------------------------------------------------------------------
// Files

// Open modes, combined with a share mode by "|" so callers can state both in
// one argument. Linux has no share locks between processes here, so the share
// modes are accepted and ignored.
constexpr std::uint16_t fmCreate = 0xFF00;  // create or replace, read-write
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareCompat = 0x0000;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;

// A file opened by name. Raises EFCreateError "Cannot create file "<name>". <reason>"
// or EFOpenError "Cannot open file "<name>". <reason>" with the system's reason;
// a directory is refused the same way. An error of the system during a
// transfer raises EReadError / EWriteError with the reason after the usual text.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, std::uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  const std::string& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;
  void SetSize(std::int64_t size) override;

 protected:
  // For a derived stream that opens its file itself and then attaches it.
  TFileStream() = default;
  void Attach(int handle, std::string fileName);
  // Closes the handle now; raises EWriteError when the system reports that
  // written data could not be stored.
  void Close();

 private:
  int FHandle = -1;
  std::string FFileName;
};

// ---------------------------------------------------------------------------
// Memory

// A growable block of bytes. Writing past the end grows it (a gap left by a
// seek is zero-filled); reading stops at the end.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  // The bytes; valid until the next change of size.
  void* Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }
  void Clear();

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
  void SetSize(std::int64_t size) override;

  // Replaces the content with the whole of stream (from its start) or file.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);
  // Writes the whole content; SaveToFile goes through AtomicWriteFile.
  void SaveToStream(TStream& stream);
  void SaveToFile(const std::string& fileName);

 protected:
  std::vector<char> FData;
  std::int64_t FPosition = 0;
};

// A memory stream over a byte string.
class TStringStream : public TMemoryStream {
 public:
  explicit TStringStream(std::string_view data = {});

  std::string DataString() const { return std::string(FData.begin(), FData.end()); }
  // Reads up to count bytes from the position.
  std::string ReadString(std::int64_t count);
  // Writes the bytes at the position.
  void WriteString(std::string_view text);
};

// ---------------------------------------------------------------------------
// Safe writes: every file the system writes goes through here.

// Writes into a temporary file beside the target ("<name>.~XXXXXX") and puts
// it in the target's place by a rename in Commit, so that the target is
// either the old file or the complete new one, never half of either. Without
// Commit (an exception on the way) the temporary file is removed and the
// target stays as it was. A target that is a symbolic link is written through
// the link; a new file gets the usual permissions, a replaced one keeps its own.
// A target without its owner's write permission (read-only, for root too) or
// that the user may not write is refused: EFCreateError "Cannot create file
// "<name>". Permission denied".
// Every failure names the target: a write that fails raises EWriteError
// "Cannot write file "<target>". <the stream's message>".
class TSafeFileWriter : public TFileStream {
 public:
  explicit TSafeFileWriter(const std::string& fileName);
  ~TSafeFileWriter() override;

  const std::string& TargetName() const { return FTarget; }
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  void SetSize(std::int64_t size) override;
  // Stores the data on disk and renames the temporary file over the target.
  // Raises EWriteError / EFCreateError naming the target when that fails.
  void Commit();

 private:
  [[noreturn]] void RaiseWriteError(const std::string& message) const;

  std::string FTarget;
  bool FCommitted = false;
};

// Writes bytes (or whatever writer puts into the stream) to fileName through a
// TSafeFileWriter: all of it, or nothing at all.
void AtomicWriteFile(const std::string& fileName, std::string_view bytes);
void AtomicWriteFile(const std::string& fileName, const std::function<void(TStream&)>& writer);
// The whole content of a file, for readers that parse text.
std::string ReadFileBytes(const std::string& fileName);

}  // namespace classlib
