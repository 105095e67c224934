// PCRE2 as a second oracle: the subject is converted to UTF-8 so that case
// folding follows Unicode, as it does for Perl.
// Tested by: regex/tests/RegexPerlTest.cpp.
#include "regex/testing/PcreOracle.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <vector>

#include "regex/testing/PatternGenerator.h"

namespace regex::testlib {
namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

TPerlResult MatchWithPcre2(const std::string& perlPattern, const std::string& subject, int offset, int groups) {
  TPerlResult result;
  std::string utf8;
  std::vector<int> charOfByte;  // character index of each byte offset (and of the end)
  for (std::size_t i = 0; i < subject.size(); ++i) {
    const std::size_t before = utf8.size();
    AppendUtf8(utf8, Cp1251ToUnicode(static_cast<unsigned char>(subject[i])));
    for (std::size_t b = before; b < utf8.size(); ++b) charOfByte.push_back(static_cast<int>(i));
  }
  charOfByte.push_back(static_cast<int>(subject.size()));
  std::size_t startByte = 0;
  while (startByte < charOfByte.size() && charOfByte[startByte] < offset - 1) ++startByte;

  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(perlPattern.c_str()), perlPattern.size(),
                                   PCRE2_UTF, &error, &errorOffset, nullptr);
  if (code == nullptr) {
    result.Refused = true;
    return result;
  }
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
  const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), startByte, 0, data,
                             nullptr);
  if (rc >= 0) {
    result.Matched = true;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    const std::uint32_t pairs = pcre2_get_ovector_count(data);
    for (int g = 0; g <= groups; ++g) {
      if (static_cast<std::uint32_t>(g) >= pairs || ovector[2 * g] == PCRE2_UNSET) {
        result.Spans.emplace_back(-1, -1);
      } else {
        result.Spans.emplace_back(charOfByte[ovector[2 * g]], charOfByte[ovector[2 * g + 1]]);
      }
    }
  }
  pcre2_match_data_free(data);
  pcre2_code_free(code);
  return result;
}

}  // namespace regex::testlib
