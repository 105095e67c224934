// The number text of the signal files' text formats, and the message of a
// malformed file.
// Tested by: signal/tests/SignalFileFormatsTest.cpp.
#include <charconv>
#include <cmath>
#include <limits>

#include "numeric/MathCore.h"
#include "signal/SignalFileInternal.h"

namespace sig::detail {

namespace {

std::string_view TrimBlanks(std::string_view Text) {
  while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
  return Text;
}

// A real number at the start of Text; Used tells how many characters it took.
bool ParseRealPrefix(std::string_view Text, double& Value, std::size_t& Used) {
  std::size_t sign = 0;
  if (!Text.empty() && Text.front() == '+') sign = 1;
  // A second sign after '+' is no number.
  if (sign == 1 && Text.size() > 1 && (Text[1] == '+' || Text[1] == '-')) return false;
  const char* first = Text.data() + sign;
  const char* last = Text.data() + Text.size();
  const auto [end, error] = std::from_chars(first, last, Value, std::chars_format::general);
  if (error != std::errc()) return false;
  Used = static_cast<std::size_t>(end - Text.data());
  return true;
}

}  // namespace

void RaiseMalformed(const std::string& FileName, const std::string& What) {
  numeric::RaiseError("Malformed signal file \"" + FileName + "\": " + What);
}

std::string Quoted(std::string_view Text) {
  constexpr std::size_t shown = 40;
  if (Text.size() <= shown) return "\"" + std::string(Text) + "\"";
  return "\"" + std::string(Text.substr(0, shown)) + "...\"";
}

const classlib::TFormatSettings& TextFileSettings() {
  static const classlib::TFormatSettings settings;
  return settings;
}

bool ParseReal(std::string_view Text, double& Value) {
  Text = TrimBlanks(Text);
  std::size_t used = 0;
  return !Text.empty() && ParseRealPrefix(Text, Value, used) && used == Text.size();
}

bool ParseComplex(std::string_view Text, double& Re, double& Im, bool& IsComplex) {
  Text = TrimBlanks(Text);
  IsComplex = false;
  Im = 0.0;
  std::size_t used = 0;
  if (Text.empty() || !ParseRealPrefix(Text, Re, used)) return false;
  if (used == Text.size()) return true;
  if (Text.back() != 'i' && Text.back() != 'I') return false;
  IsComplex = true;
  const std::string_view rest = Text.substr(used, Text.size() - used - 1);
  if (rest.empty()) {
    // Only an imaginary part: "2i".
    Im = Re;
    Re = 0.0;
    return true;
  }
  if (rest.front() != '+' && rest.front() != '-') return false;
  return ParseReal(rest, Im);
}

bool ParseInt32(std::string_view Text, std::int32_t& Value) {
  Text = TrimBlanks(Text);
  if (!Text.empty() && Text.front() == '+') Text.remove_prefix(1);
  if (Text.empty()) return false;
  const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return error == std::errc() && end == Text.data() + Text.size();
}

}  // namespace sig::detail
