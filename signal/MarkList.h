// TMarkList: the marks (points picked on a signal or a spectrum) that signals
// and spectra carry and stream.
//
// A mark is four doubles. Spectra use the first as the frequency, the second
// as the amplitude and the third as the phase; signals the fourth as the time
// and the second as the value.
//
// Stream form (the binary properties "SignalBinaryData" and
// "SpectrumBinaryData"), little-endian IEEE doubles:
//   offset 0            header: 0, 0, 0, Count
//   offset 32 + 32 i    mark i: its four doubles
// An empty list is the 32-byte header alone.
//
// Tested by: signal/tests/MarkListTest.cpp.
#pragma once

#include <cstdint>
#include <vector>

namespace classlib {
class TStream;
}

namespace sig {

struct TMarkRecord {
  double First = 0.0;
  double Second = 0.0;
  double Third = 0.0;
  double Fourth = 0.0;
};

// Bytes of one mark in a stream.
inline constexpr std::int32_t MarkRecordSize = 32;

class TMarkList {
 public:
  TMarkList() = default;

  // properties
  std::int32_t Count() const { return static_cast<std::int32_t>(FMarks.size()); }
  // The key Sort uses: 0 first field, 1 second, 2 third, 3 fourth.
  std::uint8_t SortKey() const { return FSortKey; }
  void SetSortKey(std::uint8_t Value) { FSortKey = Value; }

  // operations
  // Appends a copy of Rec.
  void AddMark(const TMarkRecord& Rec);
  // Removes mark Index; an index outside the list does nothing.
  void DeleteMark(std::int32_t Index);
  // Mark Index, to read or change; outside the list raises "List index out
  // of bounds (<Index>)".
  TMarkRecord& GetMark(std::int32_t Index);
  const TMarkRecord& GetMark(std::int32_t Index) const;
  void Clear() { FMarks.clear(); }
  // Ascending by the field SortKey selects. The order is stable, and NaN
  // sorts after every number.
  void Sort();
  void SortByFirst();
  void SortBySecond();
  void SortByFourth();

  // Writes the header and every mark in one write.
  void WriteToStream(classlib::TStream& Stream) const;
  // Replaces the marks by those of the stream, in the order written. The
  // count (the header's fourth double, rounded) is checked before anything
  // changes: a NaN, infinite or negative count, or one that the bytes left
  // cannot hold, raises and leaves the list and the stream's position as
  // they were.
  void ReadFromStream(classlib::TStream& Stream);

 private:
  void SortByField(std::uint8_t Key);

  std::vector<TMarkRecord> FMarks;
  std::uint8_t FSortKey = 0;
};

}  // namespace sig
