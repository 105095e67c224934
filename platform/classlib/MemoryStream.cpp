// Memory and string streams.
// Tested by: tests/StreamsTest.cpp.
#include <algorithm>
#include <cstring>

#include "platform/classlib/Streams.h"

namespace classlib {

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t available = Size() - position_;
  const std::int64_t n = std::clamp<std::int64_t>(std::min(count, available), 0, INT64_MAX);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = position_ + count;
  if (end > Size()) data_.resize(static_cast<std::size_t>(end), '\0');
  std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  const std::int64_t position = base + offset;
  if (position < 0) throw EStreamError("Stream seek error. Invalid argument");
  position_ = position;
  return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0) throw EStreamError("Stream size cannot be changed");
  data_.resize(static_cast<std::size_t>(size), '\0');
  if (position_ > size) position_ = size;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  const std::int64_t count = stream.Size();
  SetSize(count);
  position_ = 0;
  stream.ReadBuffer(data_.data(), count);
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) { stream.WriteBuffer(data_.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& fileName) {
  AtomicWriteFile(fileName, std::string_view(data_.data(), data_.size()));
}

TStringStream::TStringStream(std::string_view data) { data_.assign(data.begin(), data.end()); }

std::string TStringStream::ReadString(std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(std::min(count, Size() - position_), 0, INT64_MAX);
  std::string text(data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return text;
}

void TStringStream::WriteString(std::string_view text) {
  Write(text.data(), static_cast<std::int64_t>(text.size()));
}

}  // namespace classlib
