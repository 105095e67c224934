// Byte streams: the one interface through which files, memory blocks and the
// component stream move data.
//
// Offsets and sizes are 64-bit; reads and writes of a fixed size go through
// ReadBuffer/WriteBuffer, which raise instead of returning a short count, so
// that a truncated file is always reported and never half-read.
#pragma once

#include <cstdint>
#include <string>
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

}  // namespace classlib
