// Small helpers shared by the regex tests.
#pragma once

#include <cstring>
#include <string>

#include "regex/Classes_Regex.h"

namespace regex::testsupport {

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

}  // namespace regex::testsupport
