// Coefficient sets read back from MQL indicator text for the comparison.
//
// A set starts at a line that is a lower-case name followed by "=" (such as
// the "digf=" of the workbench's MQL2 text), or a buffer's element followed by
// "=" (the "FilterBuffer[i]=" of its MQL4 text), and takes the terms
// "<sign><number>*<price>[<index>+<offset>]" of that line and the following
// ones up to the first line holding ";"; each term puts its number at its
// offset. Lines are read as single-byte text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

inline constexpr const char* MqlSetHeaderExpression = "([a-z0-9]+)\\s*?=\\s*?$";
inline constexpr const char* MqlBufferHeaderExpression = "([a-zA-Z0-9_]+)\\[[a-zA-Z0-9]+\\]\\s*?=\\s*?$";
inline constexpr const char* MqlTermExpression =
    "(\\+|\\-)*?([0-9.]+)\\*([a-zA-Z0-9]+)\\[([a-zA-Z0-9]+)\\+([0-9]+)\\]";

inline constexpr const char* msgCoefficientsNotFound = "Коэффициенты не найдены";
inline constexpr const char* msgCoefficientOffset = "смещение коэффициента больше 2500: ";

// MQL files larger than this are refused unread.
inline constexpr std::int64_t MqlFileMaxSize = 64 * 1024 * 1024;

// The coefficient sets of a text, in the order their headers stand. A set's
// Count is its largest offset + 1, the offsets it lacks holding 0; a header
// without terms gives a set of Count 0. An offset above 2500 or a number that
// does not convert raises EWorkbenchFile naming the file and the line; no set
// is returned then.
std::vector<TCoefficientRecord> ParseMqlCoefficientSets(std::string_view text, const std::string& fileName);
std::vector<TCoefficientRecord> ReadMqlCoefficientSets(const std::string& fileName);

// The chooser's item of a set: its name, " (", its count and ")".
std::string ImportSetItem(const TCoefficientRecord& set);
// The chooser's listing of a set: "[k]= value" per coefficient with 10
// decimals and at most 10 significant digits, each line ended by CR LF.
std::string CoefficientListing(const TCoefficientRecord& set);

}  // namespace workbench
