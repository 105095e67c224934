// Signal files built byte by byte for the tests, independent of the writer:
// records of the binary formats and RIFF "WAVE" files.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "numeric/Vec.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Streams.h"
#include "signal/Signal.h"
#include "signal/WaveFormat.h"

namespace signal_test {

inline void PutI32(std::string& b, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}
inline void PutU16(std::string& b, std::uint16_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>(v >> 8);
}
inline void PutF64(std::string& b, double v) {
  char c[8];
  std::memcpy(c, &v, 8);
  b.append(c, 8);
}
inline void PutF32(std::string& b, float v) {
  char c[4];
  std::memcpy(c, &v, 4);
  b.append(c, 4);
}

// A .dat record of float64 samples.
inline std::string DatRecord(const std::vector<double>& Values, double Fs, std::int32_t Channels, bool Complex = false,
                             std::int32_t Count = -1) {
  std::string b;
  PutI32(b, Count >= 0 ? Count : static_cast<std::int32_t>(Values.size() / (Complex ? 2 : 1)));
  PutF64(b, Fs);
  PutI32(b, 0);  // prDouble
  PutI32(b, Complex ? 1 : 0);
  PutI32(b, Channels);
  for (double v : Values) PutF64(b, v);
  return b;
}

// A .dbn record.
inline std::string DbnRecord(const std::vector<double>& Values, double Duration) {
  std::string b;
  PutI32(b, static_cast<std::int32_t>(Values.size()));
  PutF64(b, Duration);
  for (double v : Values) PutF64(b, v);
  return b;
}

// A .bin record.
inline std::string BinRecord(const std::vector<double>& Values, float Duration) {
  std::string b;
  PutI32(b, static_cast<std::int32_t>(Values.size()));
  PutF32(b, Duration);
  for (double v : Values) PutF32(b, static_cast<float>(v));
  return b;
}

// 0, 1, ..., N-1 (plus Offset).
inline std::vector<double> Ramp(std::int32_t N, double Offset = 0.0) {
  std::vector<double> v(static_cast<std::size_t>(N));
  for (std::int32_t i = 0; i < N; ++i) v[static_cast<std::size_t>(i)] = Offset + i;
  return v;
}

// A RIFF "WAVE" file of a "fmt " chunk and a "data" chunk; DataSizeField
// replaces the data size when it is not -1.
inline std::string WaveFile(const std::string& Format, const std::string& Data, std::int64_t DataSizeField = -1) {
  std::string b = "RIFF";
  PutI32(b, static_cast<std::int32_t>(4 + 8 + Format.size() + 8 + Data.size()));
  b += "WAVE";
  b += "fmt ";
  PutI32(b, static_cast<std::int32_t>(Format.size()));
  b += Format;
  b += "data";
  PutI32(b, static_cast<std::int32_t>(DataSizeField >= 0 ? DataSizeField : static_cast<std::int64_t>(Data.size())));
  b += Data;
  return b;
}

// The bytes of a "fmt " chunk; a non-empty Extra follows a cbSize of its length.
inline std::string FormatChunk(std::uint16_t Tag, std::uint16_t Channels, std::int32_t Rate, std::int32_t Avg,
                               std::uint16_t Align, std::uint16_t Bits, const std::string& Extra = "") {
  std::string f;
  PutU16(f, Tag);
  PutU16(f, Channels);
  PutI32(f, Rate);
  PutI32(f, Avg);
  PutU16(f, Align);
  PutU16(f, Bits);
  if (!Extra.empty()) {
    PutU16(f, static_cast<std::uint16_t>(Extra.size()));
    f += Extra;
  }
  return f;
}

// A plain 16-byte PCM format.
inline std::string PcmFormat(std::uint16_t Channels, std::int32_t Rate, std::uint16_t Bits) {
  const auto align = static_cast<std::uint16_t>(Channels * (Bits / 8));
  return FormatChunk(1, Channels, Rate, Rate * align, align, Bits);
}

// The extensible part after cbSize: valid bits, channel mask and sub-format.
inline std::string ExtensiblePart(std::uint16_t ValidBits, std::int32_t Mask, const sig::TWaveGuid& SubFormat) {
  std::string e;
  PutU16(e, ValidBits);
  PutI32(e, Mask);
  e += std::string(reinterpret_cast<const char*>(SubFormat.data()), 16);
  return e;
}

// Source saved to a stream, then read into an object of its class created by
// name from the class registry.
template <class T>
std::unique_ptr<T> RoundTrip(T& Source) {
  classlib::TMemoryStream stream;
  Source.SaveToStream(stream);
  stream.SetPosition(0);
  std::unique_ptr<classlib::TPersistent> created(classlib::FindClass(Source.ClassName()).Create(nullptr));
  if (dynamic_cast<T*>(created.get()) == nullptr) return nullptr;
  std::unique_ptr<T> copy(static_cast<T*>(created.release()));
  copy->LoadFromStream(stream);
  return copy;
}

// 16-bit little-endian samples.
inline std::string Int16Data(const std::vector<int>& Values) {
  std::string b;
  for (int v : Values) PutU16(b, static_cast<std::uint16_t>(v));
  return b;
}

// The values of a signal's data as a vector (real view).
inline std::vector<double> ValuesOf(const sig::TSignal& Signal) {
  const numeric::TVec& d = Signal.Data();
  return std::vector<double>(d.Values(), d.Values() + d.DoubleLength());
}

// A source signal holding Values, at rate Fs with Channels channels.
inline void Fill(sig::TSignal& Signal, const std::vector<double>& Values, double Fs, std::int32_t Channels = 1,
                 bool Complex = false) {
  Signal.SetChannelCount(Channels);
  Signal.Data().Size(static_cast<std::int32_t>(Values.size() / (Complex ? 2 : 1)), Complex);
  std::memcpy(Signal.Data().Values(), Values.data(), Values.size() * 8);
  Signal.SetSamplingFrequency(Fs);
}

}  // namespace signal_test
