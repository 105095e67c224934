// CSV quote files of the generator and expert sampling files of the comparison.
// Tested by: tests/QuoteCsvTest.cpp
#include "workbench/logic/QuoteCsv.h"

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

// The fields of one line and how to report what is wrong with it.
class CsvLine {
 public:
  CsvLine(const std::string& fileName, std::int64_t number, const std::string& text)
      : file_name_(fileName), number_(number), fields_(SplitString(",", text)) {}

  std::size_t Count() const { return fields_.size(); }
  const std::string& Field(std::size_t i) const { return fields_[i]; }
  void Need(std::size_t count) const {
    if (fields_.size() < count)
      Fail(std::string(msgCsvTooFewFields) + " (" + std::to_string(fields_.size()) + " из " + std::to_string(count) +
           ")");
  }
  double Number(std::size_t i) const {
    try {
      return classlib::StrToFloat(fields_[i], '.');
    } catch (const classlib::EConvertError& e) {
      Fail(e.Message());
    }
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw EWorkbenchFile(file_name_, FileLineErrorText(file_name_, number_, what));
  }

 private:
  const std::string& file_name_;
  std::int64_t number_;
  std::vector<std::string> fields_;
};

// Characters index .. index + count - 1 of text, counted from 1; as many as there are.
std::string Copy(const std::string& text, std::size_t index, std::size_t count) {
  if (index < 1 || index > text.size()) return {};
  return text.substr(index - 1, count);
}

template <class Handle>
void ForEachLine(std::string_view text, const std::string& fileName, Handle handle) {
  const std::vector<std::string> lines = SplitTextLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = classlib::Trim(lines[i]);
    if (line.empty()) continue;
    handle(CsvLine(fileName, static_cast<std::int64_t>(i) + 1, line));
  }
}

}  // namespace

std::vector<TQuoteBar> ParseQuoteCsv(std::string_view text, const std::string& fileName) {
  std::vector<TQuoteBar> bars;
  ForEachLine(text, fileName, [&](const CsvLine& line) {
    line.Need(6);
    TQuoteBar bar;
    bar.Open = line.Number(2);
    bar.High = line.Number(3);
    bar.Low = line.Number(4);
    bar.Close = line.Number(5);
    bar.Label = line.Field(0) + " " + line.Field(1);
    bars.push_back(std::move(bar));
  });
  return bars;
}

std::vector<TQuoteBar> ReadQuoteCsv(const std::string& fileName) {
  return ParseQuoteCsv(ReadWholeFile(fileName, QuoteCsvMaxSize), fileName);
}

TExpertSampling ParseExpertSampling(std::string_view text, const std::string& fileName) {
  TExpertSampling sampling;
  ForEachLine(text, fileName, [&](const CsvLine& line) {
    if (line.Count() < 3 || line.Field(2).empty()) return;
    line.Need(7);
    TQuoteBar bar;
    bar.Open = line.Number(2);
    bar.High = line.Number(3);
    bar.Low = line.Number(4);
    bar.Close = line.Number(5);
    const double response = line.Number(6);
    const std::string& date = line.Field(0);
    const std::string& time = line.Field(1);
    bar.Label = Copy(date, 5, 2) + "." + Copy(date, 7, 2) + "." + Copy(date, 3, 2) + " " + Copy(time, 1, 2) + ":" +
                Copy(time, 3, 2) + "\r\nOpen: " + line.Field(2) + "\r\nHigh: " + line.Field(3) +
                "\r\nLow: " + line.Field(4) + "\r\nClose: " + line.Field(5);
    sampling.Bars.push_back(std::move(bar));
    sampling.Response.push_back(response);
  });
  return sampling;
}

TExpertSampling ReadExpertSampling(const std::string& fileName) {
  return ParseExpertSampling(ReadWholeFile(fileName, QuoteCsvMaxSize), fileName);
}

}  // namespace workbench
