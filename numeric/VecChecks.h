// Internal to the numeric core's implementation files: the memory checks that
// vector operations make whatever ConditionCheck holds, and the views of a
// vector's samples that the signal-primitives kernels take.
#pragma once

#include <cstdint>
#include <string>

#include "numeric/Numora.h"
#include "platform/spl/SplTypes.h"

namespace numeric::detail {

// Index + Len in 64 bits, so that a check never overflows.
inline std::int64_t EndOf(std::int64_t Index, std::int64_t Len) { return Index + Len; }

// True when Len elements from Index lie within 0 .. Length.
inline bool WithinRange(std::int64_t Index, std::int64_t Len, std::int64_t Length) {
  return Index >= 0 && Len >= 0 && Index + Len <= Length;
}

// Raises "<Routine>: Index <i>, Len <n> outside Length <l>" for an operation
// whose own checks have no message for such a range.
[[noreturn]] inline void RaiseOutOfRange(const char* Routine, std::int64_t Index, std::int64_t Len,
                                         std::int64_t Length) {
  RaiseError(std::string(Routine) + ": Index " + std::to_string(Index) + ", Len " + std::to_string(Len) +
             " outside Length " + std::to_string(Length));
}

// Doubles per element of a vector of the given kind.
inline std::int32_t Width(bool Complex) { return Complex ? 2 : 1; }

inline spl::DCplx* Z(TVec& V) { return reinterpret_cast<spl::DCplx*>(V.Values()); }
inline const spl::DCplx* Z(const TVec& V) { return reinterpret_cast<const spl::DCplx*>(V.Values()); }
inline spl::DCplx ToSpl(const TCplx& C) { return spl::DCplx{C.Re, C.Im}; }
inline spl::DCplx* AsSpl(TCplx* p) { return reinterpret_cast<spl::DCplx*>(p); }
inline const spl::DCplx* AsSpl(const TCplx* p) { return reinterpret_cast<const spl::DCplx*>(p); }

// The phase-order quadrant: 1 (Re < 0, Im < 0), 2 (Re >= 0, Im < 0),
// 3 (Re >= 0, Im >= 0), 4 (Re < 0, Im >= 0), in increasing phase angle: the
// tie-break among equal magnitudes.
inline int Quadrant(const TCplx& z) {
  if (z.Im < 0) return z.Re < 0 ? 1 : 2;
  return z.Re < 0 ? 4 : 3;
}

}  // namespace numeric::detail
