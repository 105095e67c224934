#include "platform/classlib/Streams.h"

#include <bit>
#include <cstring>

namespace classlib {

static_assert(std::endian::native == std::endian::little,
              "the binary formats are little-endian and stored without conversion");

std::int64_t TStream::Size() {
  const std::int64_t position = Seek(0, soCurrent);
  const std::int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<char> chunk(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 16)));
  std::int64_t left = count;
  while (left > 0) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(chunk.size()));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

void TStream::WriteInt32(std::int32_t value) { WriteBuffer(&value, sizeof value); }
void TStream::WriteUInt8(std::uint8_t value) { WriteBuffer(&value, sizeof value); }
void TStream::WriteDouble(double value) { WriteBuffer(&value, sizeof value); }
void TStream::WriteFloat(float value) { WriteBuffer(&value, sizeof value); }

std::int32_t TStream::ReadInt32() {
  std::int32_t value;
  ReadBuffer(&value, sizeof value);
  return value;
}

std::uint8_t TStream::ReadUInt8() {
  std::uint8_t value;
  ReadBuffer(&value, sizeof value);
  return value;
}

double TStream::ReadDouble() {
  double value;
  ReadBuffer(&value, sizeof value);
  return value;
}

float TStream::ReadFloat() {
  float value;
  ReadBuffer(&value, sizeof value);
  return value;
}

}  // namespace classlib
