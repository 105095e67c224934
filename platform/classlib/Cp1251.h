// Windows-1251 <-> UTF-8: the one conversion the windows make at their
// boundary (captions and messages are Windows-1251 below it, UTF-8 in Qt).
//
// Bytes below 0x80 are ASCII both ways. The byte 0x98, which Windows-1251
// leaves undefined, and any character the code page lacks become '?'; so does
// each byte of malformed UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace classlib {

std::string Cp1251ToUtf8(std::string_view text);
std::string Utf8ToCp1251(std::string_view text);

}  // namespace classlib
