// The sample codec and the pieces of the vector and matrix streams: the
// eleven storage precisions of samples, the rounding of doubles stored as
// integers, the conversions of blocks of samples to and from a stream, and
// the length-prefixed caption. The vector and matrix streams themselves are
// TVec's and TMtx's (numeric/Vec.h, numeric/Mtx.h); signal files use the
// codec alone.
//
// Every multi-byte value is little-endian. A "value" is one double of a
// vector's storage: a complex element is two values, real part first.
//
// Stream layout of a vector (version 151): a header of eleven
// single-precision floats, each a whole number: Complex (0 or 1), Length,
// 0, ConditionCheck (0 or 1), the TPrecision of the samples, the version
// 151, 8, Tag, the magic 64019, 0, 0; then the caption (see
// StreamWriteString); then Length x (1 + Complex) values in that precision.
// A matrix's header holds twenty-six floats (see TMtx::WriteHeader), its
// values follow row by row. Streams of version 104 or lower have no Tag,
// magic or caption: the samples follow the header directly.
//
// The float fields hold whole numbers exactly up to 2^24 = 16777216: a count
// or Tag beyond that is refused on writing, so that what is read back is
// what was written.
//
// Tested by: numeric/tests/VecMtxStreamsTest.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace classlib {
class TStream;
}

namespace numeric {

enum TPrecision : std::uint8_t {
  prDouble,    // 8 bytes
  prSingle,    // 4 bytes
  prInteger,   // 4 bytes, signed
  prCardinal,  // 4 bytes, unsigned
  prSmallInt,  // 2 bytes, signed
  prWord,      // 2 bytes, unsigned
  prShortInt,  // 1 byte, signed
  prByte,      // 1 byte, unsigned
  prMuLaw,     // 1 byte, G.711 mu-law of a 16-bit sample
  prALaw,      // 1 byte, G.711 A-law of a 16-bit sample
  prInt24      // 3 bytes, signed
};

// How doubles are made integers: toward zero, toward minus infinity, or to
// the nearest (halves to even).
enum TRounding : std::uint8_t { rnTrunc, rnTruncNeg, rnRound };

// The format version and magic number of the streams this system writes.
inline constexpr std::int32_t StreamVersion = 151;
inline constexpr std::int32_t StreamMagic = 64019;
// The longest caption a reader takes back; writers cut longer ones.
inline constexpr std::int32_t MaxCaptionLength = 254;
// The largest magnitude a header's float field holds exactly.
inline constexpr std::int32_t MaxHeaderCount = 16777216;

// Writes Count elements (Count x (1 + Complex) values) of Src in Precision:
// integers clipped to their type's range and rounded as Rounding says; 24-bit
// integers clamped to +-8388607; mu-law and A-law from the 16-bit scale.
// Nothing for Count 0. Checks before anything is written: prInt24 with
// rnTruncNeg raises "Not supported!", an unknown precision "WriteSamples:
// unknown precision <n>", an unknown rounding "WriteSamples: unknown
// rounding <n>", a negative Count or a Src shorter than the values
// "WriteSamples: Count <n> outside the <m> values of Src".
void WriteSamples(classlib::TStream& Stream, std::span<const double> Src, TPrecision Precision, TRounding Rounding,
                  std::int32_t Count, bool Complex);
// Reads Count elements in Precision into Dst; returns the number of whole
// values the stream supplied. A short read is no error: the values it did
// not supply are set to 0. An unknown precision raises "ReadSamples: unknown
// precision <n>", a negative Count or a Dst shorter than the values
// "ReadSamples: Count <n> outside the <m> values of Dst".
std::int32_t ReadSamples(classlib::TStream& Stream, std::span<double> Dst, TPrecision Precision, bool Complex,
                         std::int32_t Count);

// N packed 3-byte integers (least significant byte first, bit 23 the sign)
// to doubles at Dst[DstIndex ...].
void Int24ToFloat(std::int32_t N, std::span<const std::uint8_t> Src, std::span<double> Dst, std::int32_t DstIndex);
// N doubles, clamped into [-8388607, 8388607] and made integers by Trunc
// (rnTrunc) or to the nearest (rnRound; NaN stores 0), to packed 3-byte
// integers. rnTruncNeg raises "Not supported!" and stores nothing.
void FloatToInt24(std::int32_t N, std::span<const double> Src, std::span<std::uint8_t> Dst, TRounding Rounding);

// Bytes per element: 8, 4, 4, 4, 2, 2, 1, 1, 1, 1, 3 in TPrecision order,
// twice that when Complex; 0 for an unknown precision.
std::int32_t PrecisionBytes(TPrecision Precision, bool Complex);
// "float, 8 bytes", "float, 4 bytes", "integer, 4 bytes", "integer, 2
// bytes" (also for the companded kinds), "integer, 1 byte", "integer, 3
// bytes"; "Unknown" otherwise.
std::string PrecisionToStr(TPrecision Precision);

// The caption encoding: a 32-bit signed count, then that many single-byte
// characters. The writer cuts S to MaxCaptionLength characters. The reader
// takes the count clamped into 0 .. MaxCaptionLength and reads that many
// characters (a short read raises the class library's read error); a longer
// count of an older writer is skipped past, so the stream stays in step.
void StreamWriteString(classlib::TStream& Stream, const std::string& S);
void StreamReadString(classlib::TStream& Stream, std::string& S);

}  // namespace numeric
