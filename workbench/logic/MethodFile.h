// Method files (*.dmp) and the method's MQL text (*.mql).
//
// A method is a list of filter records with a block of indicator code to stand
// before the filters and one to stand after them. The code texts are single-
// byte text (Windows-1251), as the method file stores them.
//
// Method file, little-endian, no header: n (i32), the n filter records of 74
// bytes each, L1 (i32) and L1 bytes of leading code, L2 (i32) and L2 bytes of
// closing code.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

struct TMethod {
  std::vector<TFilterRecord> Filters;
  std::string CodeBefore;  // code that stands before the filters
  std::string CodeAfter;   // code that stands after them
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

// Method files larger than this are refused unread.
inline constexpr std::int64_t MethodFileMaxSize = 64 * 1024 * 1024;

inline constexpr const char* msgMethodBadCount = "неверное число фильтров";
inline constexpr const char* msgMethodBadCodeLength = "неверная длина текста MQL-кода";
inline constexpr const char* msgMethodBadName = "длина названия больше 25 символов";
inline constexpr const char* msgMethodBadFilterType = "неизвестный тип фильтра";
inline constexpr const char* msgMethodExtraBytes = "после MQL-кода лишние данные";
inline constexpr const char* msgMethodCoefficientsMismatch =
    "число наборов коэффициентов не совпадает с числом фильтров метода";
inline constexpr const char* msgMethodBadCoefficientCount = "неверное число коэффициентов";

// The bytes of a method file: both code texts without leading and trailing
// blanks and control characters, their line breaks written as CR LF.
std::string MethodFileBytes(const TMethod& method);
// Writes the method file through a temporary file renamed into place; a method
// too large for the file's 32-bit counts and lengths, and a failed write,
// raise EWorkbenchFile naming the file.
void SaveMethodFile(const std::string& fileName, const TMethod& method);

// Parses a whole method file; raises EWorkbenchFile naming fileName and what
// is wrong when a count or length runs past the end of the file, a name's
// length byte exceeds its room, a band type is unknown or bytes are left over.
TMethod ParseMethodFile(std::string_view bytes, const std::string& fileName);
TMethod ReadMethodFile(const std::string& fileName);

// The method's MQL text (CR LF line ends): the leading code trimmed, one block
// per filter with its parameter lines and its coefficient sum over close
// prices, then the closing code as it stands. coefficients holds one record
// per filter, in method order. Raises ETextGeneration when they do not match,
// for an unknown band type or coefficient count and for a coefficient that is
// not finite; SaveMethodText raises those, and a failed write, as
// EWorkbenchFile naming the file.
std::string MethodText(const TMethod& method, std::span<const TCoefficientRecord> coefficients);
void SaveMethodText(const std::string& fileName, const TMethod& method,
                    std::span<const TCoefficientRecord> coefficients);

}  // namespace workbench
