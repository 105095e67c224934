// Stored layouts of the workbench records and the process-wide instances.
// Tested by: tests/RecordsTest.cpp
#include <bit>
#include <cstring>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

TWorkbenchSettings WorkbenchSettings{};
THistory History{};

namespace {

// Little-endian writer and reader over a fixed byte block; the layouts are
// file formats, so every field goes by its own size, never as a struct copy.
class ByteWriter {
 public:
  explicit ByteWriter(std::span<std::uint8_t> out) : out_(out) {}
  void U8(std::uint8_t v) { out_[pos_++] = v; }
  void I32(std::int32_t v) { Unsigned(static_cast<std::uint32_t>(v), 4); }
  void F64(double v) { Unsigned(std::bit_cast<std::uint64_t>(v), 8); }
  template <std::size_t N>
  void Short(const ShortString<N>& s) {
    U8(s.Length);
    for (char c : s.Chars) U8(static_cast<std::uint8_t>(c));
  }
  std::size_t Position() const { return pos_; }

 private:
  void Unsigned(std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out_[pos_++] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  std::span<std::uint8_t> out_;
  std::size_t pos_ = 0;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> in) : in_(in) {}
  std::uint8_t U8() { return in_[pos_++]; }
  std::int32_t I32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(4))); }
  double F64() { return std::bit_cast<double>(Unsigned(8)); }
  template <std::size_t N>
  ShortString<N> Short() {
    ShortString<N> s;
    const std::uint8_t length = U8();
    if (length > N) throw EFilterCheck(msgBadFilterName + std::to_string(length));
    s.Length = length;
    for (std::size_t i = 0; i < N; ++i) {
      const char c = static_cast<char>(U8());
      s.Chars[i] = i < length ? c : '\0';
    }
    return s;
  }
  std::size_t Position() const { return pos_; }

 private:
  std::uint64_t Unsigned(int bytes) {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(in_[pos_++]) << (8 * i);
    return v;
  }
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

}  // namespace

std::array<std::uint8_t, FilterRecordSize> FilterRecordToBytes(const TFilterRecord& f) {
  std::array<std::uint8_t, FilterRecordSize> bytes{};
  ByteWriter w(bytes);
  w.Short(f.Name);
  w.U8(f.FilterType);
  w.I32(f.P1);
  w.I32(f.D1);
  w.I32(f.A1);
  w.I32(f.P2);
  w.I32(f.D2);
  w.I32(f.A2);
  w.F64(f.Ripple);
  w.I32(f.Delay);
  w.I32(f.Order);
  w.I32(f.CoefCount);
  w.U8(f.AutoOrder);
  w.U8(f.Method);
  w.U8(f.Price);
  return bytes;
}

TFilterRecord FilterRecordFromBytes(std::span<const std::uint8_t, FilterRecordSize> bytes) {
  ByteReader r(bytes);
  TFilterRecord f;
  f.Name = r.Short<25>();
  f.FilterType = r.U8();
  f.P1 = r.I32();
  f.D1 = r.I32();
  f.A1 = r.I32();
  f.P2 = r.I32();
  f.D2 = r.I32();
  f.A2 = r.I32();
  f.Ripple = r.F64();
  f.Delay = r.I32();
  f.Order = r.I32();
  f.CoefCount = r.I32();
  f.AutoOrder = r.U8();
  f.Method = r.U8();
  f.Price = r.U8();
  return f;
}

std::array<std::uint8_t, HistoryBarSize> HistoryBarToBytes(const THistoryBar& bar) {
  std::array<std::uint8_t, HistoryBarSize> bytes{};
  ByteWriter w(bytes);
  w.I32(bar.Time);
  w.F64(bar.Open);
  w.F64(bar.Low);
  w.F64(bar.High);
  w.F64(bar.Close);
  w.I32(bar.Volume);
  return bytes;
}

THistoryBar HistoryBarFromBytes(std::span<const std::uint8_t, HistoryBarSize> bytes) {
  ByteReader r(bytes);
  THistoryBar bar;
  bar.Time = r.I32();
  bar.Open = r.F64();
  bar.Low = r.F64();
  bar.High = r.F64();
  bar.Close = r.F64();
  bar.Volume = r.I32();
  return bar;
}

TDesignWorkspace::TDesignWorkspace()
    : ImpulseResponse(ImpulseCapacity, 0.0),
      Grid(GridCapacity, 0.0),
      D(GridCapacity, 0.0),
      W(GridCapacity, 0.0),
      E(GridCapacity, 0.0),
      Ext(ExtremalCapacity, 0),
      x(ExtremalCapacity, 0.0),
      y(ExtremalCapacity, 0.0),
      ad(ExtremalCapacity, 0.0),
      A(ExtremalCapacity, 0.0) {}

}  // namespace workbench
