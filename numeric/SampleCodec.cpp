// The sample codec: blocks of doubles to and from the eleven storage
// precisions, the 24-bit packing, the caption encoding, and the header
// fields of the vector and matrix streams.
// Tested by: numeric/tests/VecMtxStreamsTest.cpp.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

#include "numeric/ObjectCache.h"
#include "numeric/SampleStreams.h"
#include "numeric/StreamInternal.h"
#include "numeric/Vec.h"
#include "platform/classlib/Streams.h"
#include "platform/spl/SampleConversions.h"

namespace numeric {

static_assert(std::endian::native == std::endian::little, "the streams are little-endian, as this machine");

namespace {

constexpr std::int32_t kValueBytes[] = {8, 4, 4, 4, 2, 2, 1, 1, 1, 1, 3};
// Values converted per call of a primitive: the buffer is a cached vector of
// kBlockValues / 2 doubles, room for kBlockValues values of up to 4 bytes.
constexpr std::int64_t kBlockValues = 8192;
constexpr double kInt24Max = 8388607.0;

bool Known(TPrecision Precision) { return Precision <= prInt24; }

// The word size and flags of the integer kinds.
struct TIntegerKind {
  int Bits;
  bool Unsigned;
};

TIntegerKind IntegerKind(TPrecision Precision) {
  switch (Precision) {
    case prInteger:
      return {32, false};
    case prCardinal:
      return {32, true};
    case prSmallInt:
      return {16, false};
    case prWord:
      return {16, true};
    case prShortInt:
      return {8, false};
    case prByte:
      return {8, true};
    default:
      return {0, false};
  }
}

int RoundingFlag(TRounding Rounding) {
  switch (Rounding) {
    case rnTrunc:
      return spl::NSP_TruncZero;
    case rnTruncNeg:
      return spl::NSP_TruncNeg;
    case rnRound:
      return spl::NSP_Round;
  }
  return spl::NSP_Round;
}

void CheckCount(const char* Routine, std::int32_t Count, bool Complex, std::size_t Available) {
  const std::int64_t values = static_cast<std::int64_t>(Count) * (Complex ? 2 : 1);
  if (Count < 0 || static_cast<std::uint64_t>(values) > Available)
    RaiseError(std::string(Routine) + ": Count " + std::to_string(Count) + " outside the " +
               std::to_string(Available) + " values of " + (Routine[0] == 'W' ? "Src" : "Dst"));
}

// Converts n values of Src into Buffer in Precision.
void Encode(const double* Src, std::uint8_t* Buffer, std::int32_t n, TPrecision Precision, TRounding Rounding) {
  switch (Precision) {
    case prSingle:
      for (std::int32_t i = 0; i < n; ++i) {
        const float f = static_cast<float>(Src[i]);
        std::memcpy(Buffer + 4 * i, &f, 4);
      }
      return;
    case prMuLaw:
      spl::nspdbLinToMuLaw(Src, Buffer, n);
      return;
    case prALaw:
      spl::nspdbLinToALaw(Src, Buffer, n);
      return;
    case prInt24:
      FloatToInt24(n, {Src, static_cast<std::size_t>(n)}, {Buffer, static_cast<std::size_t>(3 * n)}, Rounding);
      return;
    default: {
      const TIntegerKind kind = IntegerKind(Precision);
      const int flags = spl::NSP_Clip | RoundingFlag(Rounding) | (kind.Unsigned ? spl::NSP_Unsigned : 0);
      spl::nspdbFloatToInt(Src, Buffer, n, kind.Bits, flags);
      return;
    }
  }
}

// Converts n values of Buffer in Precision into Dst.
void Decode(const std::uint8_t* Buffer, double* Dst, std::int32_t n, TPrecision Precision) {
  switch (Precision) {
    case prSingle:
      for (std::int32_t i = 0; i < n; ++i) {
        float f;
        std::memcpy(&f, Buffer + 4 * i, 4);
        Dst[i] = f;
      }
      return;
    case prMuLaw:
      spl::nspdbMuLawToLin(Buffer, Dst, n);
      return;
    case prALaw:
      spl::nspdbALawToLin(Buffer, Dst, n);
      return;
    case prInt24:
      Int24ToFloat(n, {Buffer, static_cast<std::size_t>(3 * n)}, {Dst, static_cast<std::size_t>(n)}, 0);
      return;
    default: {
      const TIntegerKind kind = IntegerKind(Precision);
      spl::nspdbIntToFloat(Buffer, Dst, n, kind.Bits, kind.Unsigned ? spl::NSP_Unsigned : 0);
      return;
    }
  }
}

std::uint8_t* BufferOf(TVec& Buffer) {
  Buffer.Size(static_cast<std::int32_t>(kBlockValues / 2), false);
  return reinterpret_cast<std::uint8_t*>(Buffer.Values());
}

}  // namespace

void WriteSamples(classlib::TStream& Stream, std::span<const double> Src, TPrecision Precision, TRounding Rounding,
                  std::int32_t Count, bool Complex) {
  detail::CheckSampleFormat(Precision, Rounding, "WriteSamples");
  CheckCount("WriteSamples", Count, Complex, Src.size());
  const std::int64_t values = static_cast<std::int64_t>(Count) * (Complex ? 2 : 1);
  if (values == 0) return;
  if (Precision == prDouble) {
    Stream.WriteBuffer(Src.data(), values * 8);
    return;
  }
  const std::int32_t bytes = kValueBytes[Precision];
  TCachedVec buffer;
  std::uint8_t* block = BufferOf(*buffer);
  for (std::int64_t done = 0; done < values;) {
    const auto n = static_cast<std::int32_t>(std::min(kBlockValues, values - done));
    Encode(Src.data() + done, block, n, Precision, Rounding);
    Stream.WriteBuffer(block, static_cast<std::int64_t>(n) * bytes);
    done += n;
  }
}

std::int32_t ReadSamples(classlib::TStream& Stream, std::span<double> Dst, TPrecision Precision, bool Complex,
                         std::int32_t Count) {
  if (!Known(Precision)) RaiseError("ReadSamples: unknown precision " + std::to_string(Precision));
  CheckCount("ReadSamples", Count, Complex, Dst.size());
  const std::int64_t values = static_cast<std::int64_t>(Count) * (Complex ? 2 : 1);
  std::int64_t done = 0;
  if (Precision == prDouble) {
    done = values > 0 ? Stream.Read(Dst.data(), values * 8) / 8 : 0;
  } else if (values > 0) {
    const std::int32_t bytes = kValueBytes[Precision];
    TCachedVec buffer;
    std::uint8_t* block = BufferOf(*buffer);
    while (done < values) {
      const auto n = static_cast<std::int32_t>(std::min(kBlockValues, values - done));
      const auto whole = static_cast<std::int32_t>(Stream.Read(block, static_cast<std::int64_t>(n) * bytes) / bytes);
      Decode(block, Dst.data() + done, whole, Precision);
      done += whole;
      if (whole < n) break;
    }
  }
  // What the stream did not supply reads as 0, never as what Dst held.
  std::fill(Dst.begin() + done, Dst.begin() + values, 0.0);
  return static_cast<std::int32_t>(done);
}

void Int24ToFloat(std::int32_t N, std::span<const std::uint8_t> Src, std::span<double> Dst, std::int32_t DstIndex) {
  if (N <= 0) return;
  if (DstIndex < 0 || Src.size() < 3 * static_cast<std::size_t>(N) ||
      Dst.size() < static_cast<std::size_t>(DstIndex) + static_cast<std::size_t>(N))
    RaiseError("Int24ToFloat: N outside the arrays");
  for (std::int32_t i = 0; i < N; ++i) {
    const std::uint8_t* b = Src.data() + 3 * i;
    std::int32_t v = b[0] | (b[1] << 8) | (b[2] << 16);
    if ((v & 0x800000) != 0) v -= 0x1000000;
    Dst[static_cast<std::size_t>(DstIndex + i)] = v;
  }
}

void FloatToInt24(std::int32_t N, std::span<const double> Src, std::span<std::uint8_t> Dst, TRounding Rounding) {
  if (Rounding == rnTruncNeg) RaiseError("Not supported!");
  if (N <= 0) return;
  if (Src.size() < static_cast<std::size_t>(N) || Dst.size() < 3 * static_cast<std::size_t>(N))
    RaiseError("FloatToInt24: N outside the arrays");
  for (std::int32_t i = 0; i < N; ++i) {
    const double x = Src[static_cast<std::size_t>(i)];
    std::int32_t v = 0;
    if (!std::isnan(x)) {
      const double clamped = std::clamp(x, -kInt24Max, kInt24Max);
      v = static_cast<std::int32_t>(Rounding == rnRound ? std::nearbyint(clamped) : std::trunc(clamped));
    }
    const auto u = static_cast<std::uint32_t>(v);
    Dst[static_cast<std::size_t>(3 * i)] = static_cast<std::uint8_t>(u);
    Dst[static_cast<std::size_t>(3 * i + 1)] = static_cast<std::uint8_t>(u >> 8);
    Dst[static_cast<std::size_t>(3 * i + 2)] = static_cast<std::uint8_t>(u >> 16);
  }
}

std::int32_t PrecisionBytes(TPrecision Precision, bool Complex) {
  if (!Known(Precision)) return 0;
  return kValueBytes[Precision] * (Complex ? 2 : 1);
}

std::string PrecisionToStr(TPrecision Precision) {
  switch (Precision) {
    case prDouble:
      return "float, 8 bytes";
    case prSingle:
      return "float, 4 bytes";
    case prInteger:
    case prCardinal:
      return "integer, 4 bytes";
    case prSmallInt:
    case prWord:
    case prMuLaw:
    case prALaw:
      return "integer, 2 bytes";
    case prShortInt:
    case prByte:
      return "integer, 1 byte";
    case prInt24:
      return "integer, 3 bytes";
  }
  return "Unknown";
}

void StreamWriteString(classlib::TStream& Stream, const std::string& S) {
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(S.size(), MaxCaptionLength));
  Stream.WriteInt32(n);
  Stream.WriteBuffer(S.data(), n);
}

void StreamReadString(classlib::TStream& Stream, std::string& S) {
  const std::int32_t count = Stream.ReadInt32();
  const std::int32_t n = std::clamp(count, 0, MaxCaptionLength);
  std::string text(static_cast<std::size_t>(n), '\0');
  Stream.ReadBuffer(text.data(), n);
  if (count > n) {
    const std::int64_t excess = count - n;
    if (Stream.Size() - Stream.Position() < excess) throw classlib::EReadError("Stream read error");
    Stream.Seek(excess, classlib::soCurrent);
  }
  S = std::move(text);
}

namespace detail {

void WriteHeaderFields(classlib::TStream& Stream, const std::vector<float>& Fields) {
  Stream.WriteBuffer(Fields.data(), static_cast<std::int64_t>(Fields.size() * sizeof(float)));
}

std::vector<float> ReadHeaderFields(classlib::TStream& Stream, std::size_t Count, const std::string& ShortMessage) {
  std::vector<float> fields(Count);
  const auto bytes = static_cast<std::int64_t>(Count * sizeof(float));
  if (Stream.Read(fields.data(), bytes) != bytes) RaiseError(ShortMessage);
  return fields;
}

std::int32_t FieldValue(float Field, const std::string& Prefix) {
  const double v = std::nearbyint(static_cast<double>(Field));
  if (!(v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()))
    RaiseError(Prefix + "Wrong file format!");
  return static_cast<std::int32_t>(v);
}

float HeaderField(std::int64_t Value, const std::string& Prefix, const char* Name) {
  if (Value > MaxHeaderCount || Value < -static_cast<std::int64_t>(MaxHeaderCount))
    RaiseError(Prefix + "Cannot write stream: " + Name + " = " + std::to_string(Value) + " exceeds " +
               std::to_string(MaxHeaderCount) + ", the largest value a stream header holds exactly");
  return static_cast<float>(Value);
}

TPrecision HeaderPrecision(std::int32_t Value, const std::string& Prefix) {
  if (Value < 0 || Value > prInt24)
    RaiseError(Prefix + "Wrong file format! Unknown sample precision " + std::to_string(Value));
  return static_cast<TPrecision>(Value);
}

void CheckValuesLeft(classlib::TStream& Stream, std::int64_t Values, TPrecision Precision, const std::string& Prefix) {
  const std::int64_t left = std::max<std::int64_t>(Stream.Size() - Stream.Position(), 0);
  const std::int64_t bytes = kValueBytes[Precision];
  if (Values > left / bytes)
    RaiseError(Prefix + "Error reading stream! The header announces " + std::to_string(Values) + " values of " +
               std::to_string(bytes) + " bytes, " + std::to_string(left) + " bytes follow");
}

void AppendToFile(const std::string& FileName, const std::string& Bytes) {
  if (!std::filesystem::exists(FileName)) {
    classlib::AtomicWriteFile(FileName, Bytes);
    return;
  }
  classlib::TFileStream file(FileName, classlib::fmOpenReadWrite | classlib::fmShareDenyWrite);
  const std::int64_t old = file.Seek(0, classlib::soEnd);
  try {
    file.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
  } catch (...) {
    try {
      file.SetSize(old);
    } catch (...) {
      // The write's own error is the one to report.
    }
    throw;
  }
}

void LoadFromFileNamed(const std::string& FileName, const std::function<void(classlib::TStream&)>& Load) {
  classlib::TFileStream file(FileName, classlib::fmOpenRead | classlib::fmShareDenyWrite);
  try {
    Load(file);
  } catch (const classlib::EReadError& e) {
    throw classlib::EReadError(e.Message() + " (file \"" + FileName + "\")");
  } catch (const classlib::Exception& e) {
    RaiseError(e.Message() + " (file \"" + FileName + "\")");
  }
}

void CheckSampleFormat(TPrecision Precision, TRounding Rounding, const char* Routine) {
  if (!Known(Precision)) RaiseError(std::string(Routine) + ": unknown precision " + std::to_string(Precision));
  if (Rounding > rnRound) RaiseError(std::string(Routine) + ": unknown rounding " + std::to_string(Rounding));
  if (Precision == prInt24 && Rounding == rnTruncNeg) RaiseError("Not supported!");
}

}  // namespace detail

}  // namespace numeric
