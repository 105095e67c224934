// Filter parameter files (*.prm): the generator's inputs as lines of text.
//
// Lines 1 to 8 are those the program has always written: P1, D1, the ripple
// field's text, "-" A1, P2, D2, "-" A2, the delay. Lines 9 and 10 add the band
// type and the design method, which the eight lines cannot hold. A file with
// only eight lines is read as it always was: line 8 gives the band type
// (-1 band-pass, any other integer low-pass).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

// What the generator's inputs hold, to be written.
struct TParameterFile {
  std::int32_t P1 = 0, D1 = 0;
  std::string Ripple;  // the ripple field's text
  std::int32_t A1 = 0, P2 = 0, D2 = 0, A2 = 0;
  std::int32_t Delay = 0;
  std::uint8_t FilterType = ftLowPass;
  std::uint8_t Method = dmLibrary;
};

// What a file gives the generator's inputs: an empty line leaves its input as
// it is. Method is dmLibrary for a file without line 10, as the generator then
// selects the library design.
struct TParameterFileValues {
  std::optional<std::int32_t> P1, D1;
  std::optional<std::string> Ripple;  // trimmed text that reads as a float
  std::optional<std::int32_t> A1, P2, D2, A2;
  std::optional<std::int32_t> Delay;
  std::optional<std::uint8_t> FilterType;
  std::uint8_t Method = dmLibrary;
  friend bool operator==(const TParameterFileValues&, const TParameterFileValues&) = default;
};

// Parameter files larger than this are refused unread.
inline constexpr std::int64_t ParameterFileMaxSize = 64 * 1024;

inline constexpr const char* msgPrmBadRippleText = "текст величины биений занимает больше одной строки";
inline constexpr const char* msgPrmNoLine10 = "есть строка 9, но нет строки 10";
inline constexpr const char* msgPrmNoLine9 = "есть строка 10, но нет строки 9";
inline constexpr const char* msgPrmTooManyLines = "больше 10 строк";
inline constexpr const char* msgPrmBadFilterType = "неизвестный тип фильтра";
inline constexpr const char* msgPrmBadMethod = "неизвестный метод расчёта";
inline constexpr const char* msgPrmOutOfRange = "число вне допустимого диапазона";

// The ten lines, each ended by CR LF. Raises EWorkbenchFile (without a file
// name) when the ripple text holds a line break; SaveParameterFile raises
// that, and a failed write, naming the file.
std::string ParameterFileText(const TParameterFile& parameters);
void SaveParameterFile(const std::string& fileName, const TParameterFile& parameters);

// Parses the whole text; raises EWorkbenchFile naming the file, the line and
// what is wrong (a conversion error keeps its own text) for any line that
// does not read.
TParameterFileValues ParseParameterFile(std::string_view text, const std::string& fileName);
TParameterFileValues ReadParameterFile(const std::string& fileName);

}  // namespace workbench
