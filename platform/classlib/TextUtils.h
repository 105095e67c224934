// Byte-string helpers of the class library: ASCII case rules, as identifiers,
// class names and property names are compared.
#pragma once

#include <string>
#include <string_view>

namespace classlib {

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Case-insensitive equality of ASCII letters; other bytes compare exactly.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
// A letter or underscore, then letters, digits or underscores.
bool IsValidIdent(std::string_view s);
std::string Trim(std::string_view s);

}  // namespace classlib
