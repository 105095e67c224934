// MetaTrader history files (*.hst), header versions 1 and 400: the reader
// that fills the loaded price history, and the texts shown for its bars.
#pragma once

#include <cstdint>
#include <string>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/UserMessages.h"

namespace workbench {

inline constexpr std::int32_t HistoryVersion1 = 1;
inline constexpr std::int32_t HistoryVersion400 = 400;
inline constexpr std::int64_t HistoryHeaderSize1 = 144;
inline constexpr std::int64_t HistoryHeaderSize400 = 148;
inline constexpr std::int64_t HistoryBarSize1 = 40;
inline constexpr std::int64_t HistoryBarSize400 = 44;
// A history file must be larger than this.
inline constexpr std::int64_t HistoryMinimumSize = 192;
// Above this size the reader asks before it goes on.
inline constexpr std::int64_t HistoryLargeFileSize = 134217728;
// The text that the header of every history file carries.
inline constexpr const char* HistoryHeaderText = "MetaQuotes Software Corp.";

// The question about a very large file: text before and after the size in MiB.
inline constexpr const char* msgLargeFileBefore = "Размер файла очень большой (";
inline constexpr const char* msgLargeFileAfter = " Мбайт). Продолжить?";
inline constexpr const char* capLargeFile = "Ограничение размера байла";
// An unknown version: text before and after the version in hexadecimal.
inline constexpr const char* msgUnknownFormatBefore = "Неизвестный формат файла (v. 0x";
inline constexpr const char* msgUnknownFormatAfter = "). Отсутствует обработчик указанного формата.";
inline constexpr const char* capUnknownFormat = "Неизвестный формат файла";
// What else a refused or shortened history file is told with.
inline constexpr const char* msgHistoryTooShort = "файл истории слишком короткий";
inline constexpr const char* msgHistoryNoHeaderText = "в заголовке нет текста \"MetaQuotes Software Corp.\"";
inline constexpr const char* msgHistoryTooManyBars = "слишком много баров";
inline constexpr const char* msgHistoryPartialBar = "неполный последний бар пропущен";

// Reads a history file into history. Returns true when history has been
// refilled from the file; false when the file was refused, in which case
// history is as it was. The question about a file above 128 MiB and every
// refusal go through messages, naming the file. A last bar that the file holds
// only in part is dropped, and messages tells so after the load.
bool LoadHistoryFile(const std::string& fileName, TUserMessages& messages, THistory& history);
// The same into the process-wide History.
bool LoadHistoryFile(const std::string& fileName, TUserMessages& messages);

// A bar's label: its time ("dd.mm.yy hh:mm" below daily bars, else "dd.mm.yy"),
// then "Open: ", "High: ", "Low: ", "Close: " each after a CR LF with the price
// in fixed notation (5 significant digits; 2 decimals when the open is above 10,
// else 4).
std::string HistoryBarLabel(const THistoryBar& bar, std::int32_t period);
// "<symbol>,<period name> <bars> записей" (UTF-8; the symbol's padding dropped).
std::string HistoryFileLabel(const THistory& history);

}  // namespace workbench
