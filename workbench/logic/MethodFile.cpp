// Method files (*.dmp) and the method's MQL text.
// Tested by: tests/MethodFileTest.cpp
#include "workbench/logic/MethodFile.h"

#include "platform/classlib/TextUtils.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/TextFiles.h"

namespace workbench {

namespace {

constexpr const char* CRLF = "\r\n";
constexpr const char* TypeNames[] = {"Low Pass", "High Pass", "Band Pass", "Band Stop"};

void PutI32(std::string& out, std::int64_t value) {
  const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The code as the method file stores it.
std::string StoredCode(std::string_view code) { return WithCrLf(classlib::Trim(code)); }

// Reads the parts of a method file in order, checking every count against
// what is left before it is used.
class MethodReader {
 public:
  MethodReader(std::string_view bytes, const std::string& fileName) : bytes_(bytes), file_name_(fileName) {}

  std::int32_t Count(const char* what) {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    const auto value = static_cast<std::int32_t>(v);
    if (value < 0) Fail(std::string(what) + " (" + std::to_string(value) + ")");
    return value;
  }
  // Count items of size bytes each must lie inside the file.
  void NeedItems(std::int64_t count, std::int64_t size, const char* what) {
    if (count * size > Left()) Fail(std::string(what) + " (" + std::to_string(count) + "): " + msgFileTooShort);
  }
  std::string_view Take(std::int64_t size) {
    Need(size);
    const std::string_view part = bytes_.substr(static_cast<std::size_t>(pos_), static_cast<std::size_t>(size));
    pos_ += size;
    return part;
  }
  std::int64_t Left() const { return static_cast<std::int64_t>(bytes_.size()) - pos_; }
  [[noreturn]] void Fail(const std::string& what) const { throw EWorkbenchFile(file_name_, FileErrorText(file_name_, what)); }

 private:
  void Need(std::int64_t size) const {
    if (size > Left()) Fail(msgFileTooShort);
  }
  std::string_view bytes_;
  const std::string& file_name_;
  std::int64_t pos_ = 0;
};

}  // namespace

std::string MethodFileBytes(const TMethod& method) {
  const std::string before = StoredCode(method.CodeBefore);
  const std::string after = StoredCode(method.CodeAfter);
  std::string out;
  out.reserve(12 + FilterRecordSize * method.Filters.size() + before.size() + after.size());
  PutI32(out, static_cast<std::int64_t>(method.Filters.size()));
  for (const TFilterRecord& filter : method.Filters) {
    const auto record = FilterRecordToBytes(filter);
    out.append(reinterpret_cast<const char*>(record.data()), record.size());
  }
  PutI32(out, static_cast<std::int64_t>(before.size()));
  out += before;
  PutI32(out, static_cast<std::int64_t>(after.size()));
  out += after;
  return out;
}

void SaveMethodFile(const std::string& fileName, const TMethod& method) {
  // Within this bound every count and length fits its 32-bit field, and the
  // file can be opened again.
  if (static_cast<std::int64_t>(method.Filters.size()) * static_cast<std::int64_t>(FilterRecordSize) >
      MethodFileMaxSize)
    throw EWorkbenchFile(fileName, FileErrorText(fileName, msgFileTooLarge));
  const std::string bytes = MethodFileBytes(method);
  if (static_cast<std::int64_t>(bytes.size()) > MethodFileMaxSize)
    throw EWorkbenchFile(fileName, FileErrorText(fileName, msgFileTooLarge));
  WriteWholeFile(fileName, bytes);
}

TMethod ParseMethodFile(std::string_view bytes, const std::string& fileName) {
  MethodReader reader(bytes, fileName);
  TMethod method;
  const std::int32_t n = reader.Count(msgMethodBadCount);
  reader.NeedItems(n, static_cast<std::int64_t>(FilterRecordSize), msgMethodBadCount);
  method.Filters.reserve(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    const std::string_view stored = reader.Take(FilterRecordSize);
    std::array<std::uint8_t, FilterRecordSize> record{};
    for (std::size_t b = 0; b < FilterRecordSize; ++b) record[b] = static_cast<std::uint8_t>(stored[b]);
    const std::string which = "фильтр " + std::to_string(i + 1) + ": ";
    if (record[0] > 25) reader.Fail(which + msgMethodBadName + " (" + std::to_string(record[0]) + ")");
    TFilterRecord filter = FilterRecordFromBytes(record);
    if (filter.FilterType > ftBandStop)
      reader.Fail(which + msgMethodBadFilterType + " (" + std::to_string(filter.FilterType) + ")");
    method.Filters.push_back(filter);
  }
  const std::int32_t before = reader.Count(msgMethodBadCodeLength);
  reader.NeedItems(before, 1, msgMethodBadCodeLength);
  method.CodeBefore = std::string(reader.Take(before));
  const std::int32_t after = reader.Count(msgMethodBadCodeLength);
  reader.NeedItems(after, 1, msgMethodBadCodeLength);
  method.CodeAfter = std::string(reader.Take(after));
  if (reader.Left() != 0)
    reader.Fail(std::string(msgMethodExtraBytes) + " (" + std::to_string(reader.Left()) + " байт)");
  return method;
}

TMethod ReadMethodFile(const std::string& fileName) {
  return ParseMethodFile(ReadWholeFile(fileName, MethodFileMaxSize), fileName);
}

std::string MethodText(const TMethod& method, std::span<const TCoefficientRecord> coefficients) {
  if (coefficients.size() != method.Filters.size())
    throw ETextGeneration(msgMethodCoefficientsMismatch);
  const auto Int = [](std::int64_t v) { return std::to_string(v); };
  std::string t = WithCrLf(classlib::Trim(method.CodeBefore)) + CRLF;
  for (std::size_t i = 0; i < method.Filters.size(); ++i) {
    const TFilterRecord& f = method.Filters[i];
    const TCoefficientRecord& c = coefficients[i];
    if (f.FilterType > ftBandStop)
      throw ETextGeneration(std::string(msgMethodBadFilterType) + " (" + Int(f.FilterType) + ")");
    if (c.Count < 0 || c.Count > MaxCoefficients)
      throw ETextGeneration(std::string(msgMethodBadCoefficientCount) + " (" + Int(c.Count) + ")");
    t += std::string("// --- ") + TypeNames[f.FilterType] + " filter. Parameters: P1=" + Int(f.P1) + "," +
         " D1=" + Int(f.D1) + "," + " A1=" + Int(f.A1) + CRLF;
    t += "// ---" + std::string(" P2=") + Int(f.P2) + "," + " D2=" + Int(f.D2) + "," + " A2=" + Int(f.A2) + "," +
         " Ripple=" + FloatToStrPoint(f.Ripple) + "," + " Delay=" + Int(f.Delay) + CRLF;
    t += std::string("// ---") + (f.AutoOrder ? " Order [Auto]=" : " Order=") + Int(f.Order) + "," +
         " Calculate method=" + Int(f.Method) + CRLF;
    t += c.Name.Str() + "=";
    for (int k = 0; k < c.Count; ++k)
      t += CRLF + FormatCoefficientText(k, c.Coef[static_cast<std::size_t>(k)]) + "*close[shift+" + Int(k) + "]";
    t += std::string(";") + CRLF + CRLF;
  }
  t += WithCrLf(method.CodeAfter) + CRLF;
  return t;
}

void SaveMethodText(const std::string& fileName, const TMethod& method,
                    std::span<const TCoefficientRecord> coefficients) {
  std::string text;
  try {
    text = MethodText(method, coefficients);
  } catch (const ETextGeneration& e) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, e.Message()));
  }
  WriteWholeFile(fileName, text);
}

}  // namespace workbench
