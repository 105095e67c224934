// Sample conversions of the signal-primitives layer: doubles to and from
// 8-, 16- and 32-bit integers, and the G.711 mu-law and A-law bytes.
//
// Integer buffers hold the values in the machine's byte order (little-endian
// here), one after another with no padding. A count of zero or less does
// nothing.
//
// Tested by: platform/spl/tests/SampleConversionsTest.cpp
#pragma once

#include <cstdint>

#include "platform/spl/SplTypes.h"

namespace spl {

// Flags of the integer conversions; one rounding flag, optionally with
// NSP_Unsigned and NSP_Clip.
enum : int {
  NSP_Round = 0x80,       // to the nearest integer, halves to even
  NSP_TruncZero = 0x100,  // toward zero
  NSP_TruncNeg = 0x200,   // toward minus infinity
  NSP_TruncPos = 0x400,   // toward plus infinity
  NSP_Unsigned = 0x800,   // the integers are unsigned
  NSP_Clip = 0x1000       // out-of-range values become the range's ends
};

// n doubles to integers of wordSize bits (8, 16 or 32). Each value is rounded
// as the flags say (no rounding flag: NSP_Round), then stored: with NSP_Clip
// clipped to the range of the integer type, without it reduced modulo
// 2^wordSize (the low bits of the integer, as a cast would wrap). NaN stores
// 0; so does an infinity that is not clipped. Another word size raises
// classlib::Exception and stores nothing.
void nspdbFloatToInt(const double* src, void* dst, int n, int wordSize, int flags);
// n integers of wordSize bits (8, 16 or 32), signed unless flags holds
// NSP_Unsigned, to doubles (exactly). Another word size raises
// classlib::Exception and writes nothing.
void nspdbIntToFloat(const void* src, double* dst, int n, int wordSize, int flags);

// G.711 companding on the 16-bit scale: a double is a linear 16-bit sample,
// rounded to the nearest integer (halves to even) and clipped to
// -32768 .. 32767 (NaN counts as 0) before it is encoded, so that the bytes
// equal the standard tables for every 16-bit input. Decoding gives the
// 16-bit value at the middle of the byte's quantisation interval.
void nspdbLinToMuLaw(const double* src, std::uint8_t* dst, int n);
void nspdbMuLawToLin(const std::uint8_t* src, double* dst, int n);
void nspdbLinToALaw(const double* src, std::uint8_t* dst, int n);
void nspdbALawToLin(const std::uint8_t* src, double* dst, int n);

}  // namespace spl
