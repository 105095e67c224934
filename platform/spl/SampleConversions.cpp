// Sample conversions: integer packing with rounding and clipping, and G.711
// companding on the 16-bit scale.
// Tested by: platform/spl/tests/SampleConversionsTest.cpp
#include "platform/spl/SampleConversions.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/classlib/Exception.h"

namespace spl {

namespace {

double RoundBy(double x, int flags) {
  if ((flags & NSP_Round) != 0) return std::nearbyint(x);
  if ((flags & NSP_TruncZero) != 0) return std::trunc(x);
  if ((flags & NSP_TruncNeg) != 0) return std::floor(x);
  if ((flags & NSP_TruncPos) != 0) return std::ceil(x);
  return std::nearbyint(x);
}

template <class T>
void ToInt(const double* src, void* dst, int n, int flags) {
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  constexpr double modulus = hi - lo + 1.0;
  const bool clip = (flags & NSP_Clip) != 0;
  auto* out = static_cast<unsigned char*>(dst);
  for (int i = 0; i < n; ++i) {
    double r = RoundBy(src[i], flags);
    T value = 0;
    if (std::isnan(r)) {
      value = 0;
    } else if (clip) {
      r = r < lo ? lo : (r > hi ? hi : r);
      value = static_cast<T>(r);
    } else if (!std::isinf(r)) {
      // fmod is exact, so the low bits are those of the exact integer.
      double m = std::fmod(r, modulus);
      if (m < 0.0) m += modulus;
      value = static_cast<T>(static_cast<std::uint64_t>(m));
    }
    std::memcpy(out + static_cast<std::size_t>(i) * sizeof(T), &value, sizeof(T));
  }
}

template <class T>
void FromInt(const void* src, double* dst, int n) {
  const auto* in = static_cast<const unsigned char*>(src);
  for (int i = 0; i < n; ++i) {
    T value;
    std::memcpy(&value, in + static_cast<std::size_t>(i) * sizeof(T), sizeof(T));
    dst[i] = static_cast<double>(value);
  }
}

[[noreturn]] void RaiseWordSize(const char* routine, int wordSize) {
  throw classlib::Exception(std::string(routine) + ": word size " + std::to_string(wordSize) +
                            " is not 8, 16 or 32");
}

// A double as a linear 16-bit sample.
int ToPcm16(double x) {
  if (std::isnan(x)) return 0;
  const double r = std::nearbyint(x);
  if (r < -32768.0) return -32768;
  if (r > 32767.0) return 32767;
  return static_cast<int>(r);
}

// The segment of a biased magnitude: the first i with value <= ends[i], or 8.
int Segment(int value, const std::array<int, 8>& ends) {
  int seg = 0;
  while (seg < 8 && value > ends[seg]) ++seg;
  return seg;
}

// mu-law: 14-bit magnitude, bias 33, eight segments of 16 steps, all bits inverted.
std::uint8_t MuLawByte(int pcm16) {
  static constexpr std::array<int, 8> kEnds = {0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF};
  int magnitude = pcm16 >> 2;
  int mask = 0xFF;
  if (magnitude < 0) {
    magnitude = -magnitude;
    mask = 0x7F;
  }
  if (magnitude > 8159) magnitude = 8159;
  magnitude += 33;
  const int seg = Segment(magnitude, kEnds);
  if (seg >= 8) return static_cast<std::uint8_t>(0x7F ^ mask);
  const int code = (seg << 4) | ((magnitude >> (seg + 1)) & 0x0F);
  return static_cast<std::uint8_t>(code ^ mask);
}

// A-law: 13-bit magnitude (negative values one below their absolute value),
// segments 0 and 1 linear, even bits inverted.
std::uint8_t ALawByte(int pcm16) {
  static constexpr std::array<int, 8> kEnds = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
  int magnitude = pcm16 >> 3;
  int mask = 0xD5;
  if (magnitude < 0) {
    mask = 0x55;
    magnitude = -magnitude - 1;
  }
  const int seg = Segment(magnitude, kEnds);
  if (seg >= 8) return static_cast<std::uint8_t>(0x7F ^ mask);
  const int step = seg < 2 ? (magnitude >> 1) & 0x0F : (magnitude >> seg) & 0x0F;
  return static_cast<std::uint8_t>(((seg << 4) | step) ^ mask);
}

constexpr int MuLawLinear(int byte) {
  const int u = ~byte & 0xFF;
  int t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return (u & 0x80) != 0 ? 0x84 - t : t - 0x84;
}

constexpr int ALawLinear(int byte) {
  const int a = byte ^ 0x55;
  int t = (a & 0x0F) << 4;
  const int seg = (a & 0x70) >> 4;
  if (seg == 0) {
    t += 8;
  } else {
    t += 0x108;
    if (seg > 1) t <<= seg - 1;
  }
  return (a & 0x80) != 0 ? t : -t;
}

template <int (*Decode)(int)>
constexpr std::array<double, 256> DecodeTable() {
  std::array<double, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = Decode(b);
  return table;
}

constexpr std::array<double, 256> kMuLawTable = DecodeTable<MuLawLinear>();
constexpr std::array<double, 256> kALawTable = DecodeTable<ALawLinear>();

}  // namespace

void nspdbFloatToInt(const double* src, void* dst, int n, int wordSize, int flags) {
  const bool isUnsigned = (flags & NSP_Unsigned) != 0;
  switch (wordSize) {
    case 8:
      return isUnsigned ? ToInt<std::uint8_t>(src, dst, n, flags) : ToInt<std::int8_t>(src, dst, n, flags);
    case 16:
      return isUnsigned ? ToInt<std::uint16_t>(src, dst, n, flags) : ToInt<std::int16_t>(src, dst, n, flags);
    case 32:
      return isUnsigned ? ToInt<std::uint32_t>(src, dst, n, flags) : ToInt<std::int32_t>(src, dst, n, flags);
    default:
      RaiseWordSize("nspdbFloatToInt", wordSize);
  }
}

void nspdbIntToFloat(const void* src, double* dst, int n, int wordSize, int flags) {
  const bool isUnsigned = (flags & NSP_Unsigned) != 0;
  switch (wordSize) {
    case 8:
      return isUnsigned ? FromInt<std::uint8_t>(src, dst, n) : FromInt<std::int8_t>(src, dst, n);
    case 16:
      return isUnsigned ? FromInt<std::uint16_t>(src, dst, n) : FromInt<std::int16_t>(src, dst, n);
    case 32:
      return isUnsigned ? FromInt<std::uint32_t>(src, dst, n) : FromInt<std::int32_t>(src, dst, n);
    default:
      RaiseWordSize("nspdbIntToFloat", wordSize);
  }
}

void nspdbLinToMuLaw(const double* src, std::uint8_t* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = MuLawByte(ToPcm16(src[i]));
}

void nspdbMuLawToLin(const std::uint8_t* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = kMuLawTable[src[i]];
}

void nspdbLinToALaw(const double* src, std::uint8_t* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = ALawByte(ToPcm16(src[i]));
}

void nspdbALawToLin(const std::uint8_t* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = kALawTable[src[i]];
}

}  // namespace spl
