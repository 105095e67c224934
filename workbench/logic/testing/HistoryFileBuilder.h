// Builds MetaTrader history files (versions 1 and 400) byte by byte, for the
// tests of the reader and for the sample-history tool. Header-only, so that
// neither needs a library of its own; never included by the program.
#pragma once

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench::testing {

struct THistoryFileSpec {
  std::int32_t Version = 400;
  std::string HeaderText = "MetaQuotes Software Corp.";  // up to 64 bytes, NUL-padded
  std::string Symbol = "EURUSD";                        // up to 12 (version 400) or 8 bytes
  std::int32_t Period = 60;
  std::vector<THistoryBar> Bars;
  // Version 400 stores volumes as doubles; when given (one per bar) these are
  // written instead of the bars' integer volumes.
  std::vector<double> Volumes;
};

namespace detail {

inline void PutI32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void PutF64(std::string& out, double value) {
  const auto v = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void PutPadded(std::string& out, const std::string& text, std::size_t size) {
  if (text.size() > size) throw std::invalid_argument("history header field too long: " + text);
  out += text;
  out.append(size - text.size(), '\0');
}

}  // namespace detail

// The whole file: header, then the bars in order.
inline std::string HistoryFileBytes(const THistoryFileSpec& spec) {
  const bool v400 = spec.Version == 400;
  if (!spec.Volumes.empty() && spec.Volumes.size() != spec.Bars.size())
    throw std::invalid_argument("one volume per bar");
  std::string out;
  detail::PutI32(out, spec.Version);
  detail::PutPadded(out, spec.HeaderText, 64);
  detail::PutPadded(out, spec.Symbol, v400 ? 12 : 8);
  detail::PutI32(out, spec.Period);
  out.append(64, '\0');
  for (std::size_t i = 0; i < spec.Bars.size(); ++i) {
    const THistoryBar& bar = spec.Bars[i];
    detail::PutI32(out, bar.Time);
    detail::PutF64(out, bar.Open);
    detail::PutF64(out, bar.Low);
    detail::PutF64(out, bar.High);
    detail::PutF64(out, bar.Close);
    if (v400) {
      detail::PutF64(out, spec.Volumes.empty() ? static_cast<double>(bar.Volume) : spec.Volumes[i]);
    } else {
      detail::PutI32(out, bar.Volume);
    }
  }
  return out;
}

}  // namespace workbench::testing
