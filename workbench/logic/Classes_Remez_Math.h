// Rounding as the design code needs it, private to the workbench logic
// library. The numeric core's Trunc takes doubles; the routines that work in
// extended precision (RoundToInt, PowerEx) truncate their long doubles here.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace workbench::detail {

// Truncation toward zero to 32 bits; NaN and values outside the range give
// -2147483648, computed explicitly rather than by an undefined cast.
inline std::int32_t Trunc32(long double x) {
  if (!(x > -2147483649.0L && x < 2147483648.0L)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

// "Round": to nearest, halves to even (the default rounding mode), 32 bits.
inline std::int32_t Round32(long double x) { return Trunc32(std::nearbyint(x)); }

// Rounds to nearest with halves to even and saturates: NaN and values above the
// range give the largest integer, values below it the smallest. Used for order
// estimates, where "too large" must stay too large.
inline std::int32_t SaturatingRound(long double x) {
  if (std::isnan(x) || x >= 2147483647.0L) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0L) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::nearbyint(x));
}

}  // namespace workbench::detail
