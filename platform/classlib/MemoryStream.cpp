// Memory and string streams.
// Tested by: tests/StreamsTest.cpp.
#include <algorithm>
#include <cstring>

#include "platform/classlib/Streams.h"

namespace classlib {

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = Size() - FPosition;
  const std::int64_t n = std::clamp<std::int64_t>(std::min(count, available), 0, INT64_MAX);
  if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = FPosition + count;
  if (end > Size()) FData.resize(static_cast<std::size_t>(end), '\0');
  std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : Size();
  const std::int64_t position = base + offset;
  if (position < 0) throw EStreamError("Stream seek error. Invalid argument");
  FPosition = position;
  return FPosition;
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0) throw EStreamError("Stream size cannot be changed");
  FData.resize(static_cast<std::size_t>(size), '\0');
  if (FPosition > size) FPosition = size;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const std::int64_t count = stream.Size();
  SetSize(count);
  FPosition = 0;
  stream.ReadBuffer(FData.data(), count);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(FData.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& fileName) {
  AtomicWriteFile(fileName, std::string_view(FData.data(), FData.size()));
}

TStringStream::TStringStream(std::string_view data) { FData.assign(data.begin(), data.end()); }

std::string TStringStream::ReadString(std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(std::min(count, Size() - FPosition), 0, INT64_MAX);
  std::string text(FData.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return text;
}

void TStringStream::WriteString(std::string_view text) {
  Write(text.data(), static_cast<std::int64_t>(text.size()));
}

}  // namespace classlib
