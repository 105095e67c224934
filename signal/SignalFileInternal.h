// Helpers shared by the signal file sources (not part of the layer's
// interface): the message of a malformed file, the number text of the text
// formats, which is always written and read with '.' whatever the program's
// decimal separator, the little-endian store of the RIFF headers, and the
// sample conversions' rounding flag.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "numeric/SampleStreams.h"
#include "platform/classlib/SysUtils.h"
#include "platform/spl/SampleConversions.h"

namespace sig::detail {

// V as four little-endian bytes from B.
inline void PutLE32(std::uint8_t* B, std::uint32_t V) {
  for (int i = 0; i < 4; ++i) B[i] = static_cast<std::uint8_t>(V >> (8 * i));
}

// The sample conversions' flag of a rounding: toward zero unless told otherwise.
inline int RoundingFlag(numeric::TRounding Rounding) {
  switch (Rounding) {
    case numeric::rnTruncNeg: return spl::NSP_TruncNeg;
    case numeric::rnRound: return spl::NSP_Round;
    default: return spl::NSP_TruncZero;
  }
}

// Raises "Malformed signal file "<FileName>": <What>".
[[noreturn]] void RaiseMalformed(const std::string& FileName, const std::string& What);

// Text of a file between quotes for a message: at most 40 characters, the
// rest as "...".
std::string Quoted(std::string_view Text);

// The settings of the text formats: the defaults, whose decimal separator is '.'.
const classlib::TFormatSettings& TextFileSettings();

// The general format with 15 significant digits, with '.'.
inline std::string ValueText(double X) { return classlib::FloatToStr(X, TextFileSettings()); }

// A number of a text file: blanks around are skipped, a leading '+' is
// taken, "NAN", "INF" and "-INF" (any case) are read as FloatToStr writes
// them. False when Text holds anything else.
bool ParseReal(std::string_view Text, double& Value);
// A real number, or a complex one written as re+imi / re-imi / imi.
bool ParseComplex(std::string_view Text, double& Re, double& Im, bool& IsComplex);
// A whole number in the 32-bit range.
bool ParseInt32(std::string_view Text, std::int32_t& Value);

// Calls Line for every line of Text (LF or CR LF ends; a last line without
// an end counts; no line after a final end).
template <class F>
void ForEachLine(std::string_view Text, F&& Line) {
  std::size_t start = 0;
  while (start < Text.size()) {
    std::size_t end = Text.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? Text.size() : end + 1;
    if (end == std::string_view::npos) end = Text.size();
    std::size_t stop = end;
    if (stop > start && Text[stop - 1] == '\r') --stop;
    Line(Text.substr(start, stop - start));
    start = next;
  }
}

}  // namespace sig::detail
