// Coefficient sets read back from MQL text, and the chooser's texts.
// Tested by: tests/CompareImportTest.cpp
#include "workbench/logic/CompareImport.h"

#include <algorithm>

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "regex/Classes_Regex.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

bool IsNumberCharacter(char c) { return (c >= '0' && c <= '9') || c == '.'; }

bool IsExponentMarker(char c) { return c == 'E' || c == 'e'; }

// The number of a term. The term expression knows no exponent: in
// "+1E-5*close[shift+3]" it matches from "-5". A match that starts right
// after an exponent marker that follows a mantissa is read back from the
// mantissa (and its sign), so the term is the whole number. Further markers
// before that mantissa are read back too ("1e5e5" is no number), so that the
// number is refused rather than read in part.
std::string TermNumberText(const std::string& line, const regex::TRegex& term) {
  std::string number = term.Match(1) + term.Match(2);
  // The leftmost match of an expression without context assertions starts at
  // the first place its text stands.
  const std::size_t start = line.find(term.Match(0));
  if (start == std::string::npos || start < 2) return number;
  if (!IsExponentMarker(line[start - 1]) || !IsNumberCharacter(line[start - 2])) return number;
  std::size_t mantissa = start - 1;
  for (;;) {
    while (mantissa > 0 && IsNumberCharacter(line[mantissa - 1])) --mantissa;
    // The exponent this mantissa would be, with its sign, after a marker
    // that follows digits of its own.
    std::size_t marker = mantissa;
    if (marker > 0 && (line[marker - 1] == '+' || line[marker - 1] == '-')) --marker;
    if (marker < 2 || !IsExponentMarker(line[marker - 1]) || !IsNumberCharacter(line[marker - 2])) break;
    mantissa = marker - 1;
  }
  if (mantissa > 0 && (line[mantissa - 1] == '+' || line[mantissa - 1] == '-')) --mantissa;
  return line.substr(mantissa, start - mantissa) + number;
}

}  // namespace

std::vector<TCoefficientRecord> ParseMqlCoefficientSets(std::string_view text, const std::string& fileName) {
  std::vector<std::string> lines = SplitTextLines(text);
  for (std::string& line : lines) line = classlib::Trim(line);
  std::vector<TCoefficientRecord> sets;
  regex::TRegex header;
  header.SetExpression(MqlSetHeaderExpression);
  regex::TRegex buffer;
  buffer.SetExpression(MqlBufferHeaderExpression);
  regex::TRegex term;
  term.SetExpression(MqlTermExpression);
  const auto fail = [&](std::size_t line, const std::string& what) -> void {
    throw EWorkbenchFile(fileName, FileLineErrorText(fileName, static_cast<std::int64_t>(line) + 1, what));
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool named = header.Exec(lines[i]);
    if (!named && !buffer.Exec(lines[i])) continue;
    TCoefficientRecord set{};
    set.Name = (named ? header : buffer).Match(1);
    std::size_t j = i;
    for (; j < lines.size(); ++j) {
      const std::string& line = lines[j];
      if (line.empty()) continue;
      if (term.Exec(line)) {
        std::int64_t offset = 0;
        if (!classlib::TryStrToInt64(term.Match(5), offset) || offset >= MaxCoefficients)
          fail(j, msgCoefficientOffset + term.Match(5));
        double value = 0;
        try {
          value = classlib::StrToFloat(TermNumberText(line, term), '.');
        } catch (const classlib::Exception& e) {
          fail(j, e.Message());
        }
        set.Coef[static_cast<std::size_t>(offset)] = value;
        set.Count = std::max<std::int32_t>(set.Count, static_cast<std::int32_t>(offset) + 1);
      }
      if (line.find(';') != std::string::npos) break;
    }
    sets.push_back(set);
    i = j;
  }
  return sets;
}

std::vector<TCoefficientRecord> ReadMqlCoefficientSets(const std::string& fileName) {
  return ParseMqlCoefficientSets(ReadWholeFile(fileName, MqlFileMaxSize), fileName);
}

std::string ImportSetItem(const TCoefficientRecord& set) {
  return set.Name.Str() + " (" + std::to_string(set.Count) + ")";
}

std::string CoefficientListing(const TCoefficientRecord& set) {
  std::string text;
  for (int k = 0; k < set.Count && k < MaxCoefficients; ++k)
    text += "[" + std::to_string(k) + "]= " +
            classlib::FloatToStrF(set.Coef[static_cast<std::size_t>(k)], classlib::ffFixed, 10, 10) + "\r\n";
  return text;
}

}  // namespace workbench
