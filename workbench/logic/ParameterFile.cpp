// Filter parameter files (*.prm).
// Tested by: tests/ParameterFileTest.cpp
#include "workbench/logic/ParameterFile.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

std::string Negative(std::int32_t value) { return "-" + std::to_string(std::llabs(value)); }

class LineReader {
 public:
  LineReader(const std::string& fileName, int line, std::string text)
      : file_name_(fileName), line_(line), text_(std::move(text)) {}

  std::int32_t Integer() const {
    try {
      return classlib::StrToInt(text_);
    } catch (const classlib::EConvertError& e) {
      Fail(e.Message());
    }
  }
  double Float() const {
    try {
      return classlib::StrToFloat(text_, '.');
    } catch (const classlib::EConvertError& e) {
      Fail(e.Message());
    }
  }
  std::int32_t Magnitude(double value) const {
    const double rounded = std::nearbyint(std::fabs(value));
    if (!(rounded <= 2147483647.0)) Fail(std::string(msgPrmOutOfRange) + " (" + text_ + ")");
    return static_cast<std::int32_t>(rounded);
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw EWorkbenchFile(file_name_, FileLineErrorText(file_name_, line_, what));
  }

 private:
  const std::string& file_name_;
  int line_;
  std::string text_;
};

}  // namespace

std::string ParameterFileText(const TParameterFile& p) {
  const std::string ripple = classlib::Trim(p.Ripple);
  if (ripple.find_first_of("\r\n") != std::string::npos) throw EWorkbenchFile({}, msgPrmBadRippleText);
  const std::string lines[] = {
      std::to_string(p.P1), std::to_string(p.D1), ripple, Negative(p.A1), std::to_string(p.P2),
      std::to_string(p.D2), Negative(p.A2), std::to_string(p.Delay), std::to_string(p.FilterType),
      std::to_string(p.Method),
  };
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

void SaveParameterFile(const std::string& fileName, const TParameterFile& parameters) {
  std::string text;
  try {
    text = ParameterFileText(parameters);
  } catch (const EWorkbenchFile& e) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, e.Message()));
  }
  WriteWholeFile(fileName, text);
}

TParameterFileValues ParseParameterFile(std::string_view text, const std::string& fileName) {
  std::vector<std::string> lines = SplitTextLines(text);
  for (std::string& line : lines) line = classlib::Trim(line);
  const auto present = [&](std::size_t number) { return number <= lines.size() && !lines[number - 1].empty(); };
  for (std::size_t number = 11; number <= lines.size(); ++number)
    if (present(number)) LineReader(fileName, static_cast<int>(number), lines[number - 1]).Fail(msgPrmTooManyLines);
  if (present(9) && !present(10)) LineReader(fileName, 10, {}).Fail(msgPrmNoLine10);
  if (present(10) && !present(9)) LineReader(fileName, 9, {}).Fail(msgPrmNoLine9);
  const bool extended = present(9);

  TParameterFileValues v;
  for (std::size_t number = 1; number <= 10; ++number) {
    if (!present(number)) continue;
    const LineReader line(fileName, static_cast<int>(number), lines[number - 1]);
    switch (number) {
      case 1: v.P1 = line.Integer(); break;
      case 2: v.D1 = line.Integer(); break;
      case 3:
        line.Float();
        v.Ripple = lines[2];
        break;
      case 4: v.A1 = line.Magnitude(line.Integer()); break;
      case 5: v.P2 = line.Integer(); break;
      case 6: v.D2 = line.Integer(); break;
      case 7: v.A2 = line.Magnitude(line.Float()); break;
      case 8:
        if (extended) {
          v.Delay = line.Integer();
        } else {
          v.FilterType = line.Integer() == -1 ? ftBandPass : ftLowPass;
        }
        break;
      case 9: {
        const std::int32_t type = line.Integer();
        if (type < ftLowPass || type > ftBandStop) line.Fail(std::string(msgPrmBadFilterType) + " (" + lines[8] + ")");
        v.FilterType = static_cast<std::uint8_t>(type);
        break;
      }
      case 10: {
        const std::int32_t method = line.Integer();
        if (method != dmOwnExchange && method != dmLibrary)
          line.Fail(std::string(msgPrmBadMethod) + " (" + lines[9] + ")");
        v.Method = static_cast<std::uint8_t>(method);
        break;
      }
      default: break;
    }
  }
  return v;
}

TParameterFileValues ReadParameterFile(const std::string& fileName) {
  return ParseParameterFile(ReadWholeFile(fileName, ParameterFileMaxSize), fileName);
}

}  // namespace workbench
