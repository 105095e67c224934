// CSV quote files: the generator's quotes (date, time, open, high, low, close)
// and the comparison window's expert sampling files (the same with the
// response of an expert as a seventh field).
//
// Fields are separated by commas; numbers are read with the point as decimal
// separator; lines may end with CR LF, LF or CR; empty lines are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace workbench {

// One candle of a CSV file, with the label its chart shows.
struct TQuoteBar {
  std::string Label;
  double Open = 0, High = 0, Low = 0, Close = 0;
  friend bool operator==(const TQuoteBar&, const TQuoteBar&) = default;
};

// An expert sampling file: its candles and the expert's response, one value per candle.
struct TExpertSampling {
  std::vector<TQuoteBar> Bars;
  std::vector<double> Response;
};

// CSV files larger than this are refused unread.
inline constexpr std::int64_t QuoteCsvMaxSize = std::int64_t{1} << 30;

inline constexpr const char* msgCsvTooFewFields = "полей меньше, чем нужно";

// The generator's CSV quotes: every line that is not empty is one bar;
// fields 3 to 6 are open, high, low and close, its label is field 1, a blank
// and field 2. Raises EWorkbenchFile naming the file, the line and what is
// wrong (a conversion error keeps its own text).
std::vector<TQuoteBar> ParseQuoteCsv(std::string_view text, const std::string& fileName);
std::vector<TQuoteBar> ReadQuoteCsv(const std::string& fileName);

// An expert sampling file: a line whose third field is empty or missing holds
// no bar; any other line is date, time, open, high, low, close and the
// response. The label is characters 5-6, ".", 7-8, ".", 3-4 of the date field,
// a blank, characters 1-2, ":", 3-4 of the time field (as many as there are),
// then "Open: ", "High: ", "Low: ", "Close: " each after a CR LF with the
// field as written. Raises EWorkbenchFile as ParseQuoteCsv.
TExpertSampling ParseExpertSampling(std::string_view text, const std::string& fileName);
TExpertSampling ReadExpertSampling(const std::string& fileName);

}  // namespace workbench
