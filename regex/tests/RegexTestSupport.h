// Small helpers shared by the regex tests.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex::testsupport {

// The two expressions with which the workbench reads coefficient sets back
// from indicator text.
inline constexpr const char* HeaderExpression = "([a-z0-9]+)\\s*?=\\s*?$";
inline constexpr const char* TermExpression =
    "(\\+|\\-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]";

// A unit repeated until the text holds at least `bytes` characters.
inline std::string Repeat(const std::string& unit, std::size_t bytes) {
  std::string s;
  s.reserve(bytes + unit.size());
  while (s.size() < bytes) s += unit;
  return s;
}

// Applies modifiers written as in an inline group: "i" sets, "-s" clears, e.g. "im-s".
inline void ApplyModifiers(TRegex& r, const char* text) {
  static const char* const letters = "irsgmx";
  bool on = true;
  for (const char* p = text; *p != 0; ++p) {
    if (*p == '-') {
      on = false;
      continue;
    }
    r.SetModifier(static_cast<std::int32_t>(std::strchr(letters, *p) - letters) + 1, on);
  }
}

// "(start,end)" of the match and of groups 1 .. groups after a search.
inline std::string Spans(const TRegex& r, int groups) {
  std::string s;
  for (int g = 0; g <= groups; ++g) {
    s += "(" + std::to_string(TRegexInternals::StartP(r, g)) + "," + std::to_string(TRegexInternals::EndP(r, g)) +
         ")";
  }
  return s;
}

// The number of spans in such a text.
inline int CountSpans(const std::string& spans) {
  int n = 0;
  for (char c : spans) n += c == '(';
  return n;
}

// The length of the long subjects on which a search must stay linear.
inline constexpr std::size_t Long = 100000;

}  // namespace regex::testsupport
