// The MetaTrader history file reader and the texts of history bars.
// Tested by: tests/HistoryFileTest.cpp
#include "workbench/logic/HistoryFile.h"

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "platform/classlib/Cp1251.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/logic/FileErrors.h"

namespace workbench {

namespace {

std::int32_t I32At(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

double F64At(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
  return std::bit_cast<double>(v);
}

// The volume of a version-400 bar, rounded halves to even into the 32-bit
// field; a volume beyond its range is held at the nearest end, NaN gives 0.
std::int32_t VolumeOf(double volume) {
  const double rounded = std::nearbyint(volume);
  if (std::isnan(rounded)) return 0;
  if (rounded >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (rounded <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

bool HeaderTextFound(const std::uint8_t* header, std::int32_t version) {
  std::string text;
  if (version == HistoryVersion400) {
    // The header text field, up to its first NUL byte.
    for (int i = 4; i < 68 && header[i] != 0; ++i) text += static_cast<char>(header[i]);
  } else {
    // Every printable byte among the first 143 of the file.
    for (int i = 0; i < 143; ++i)
      if (header[i] >= 32) text += static_cast<char>(header[i]);
  }
  return text.find(HistoryHeaderText) != std::string::npos;
}

void Tell(TUserMessages& messages, const std::string& fileName, const std::string& what, TMessageIcon icon) {
  messages.MessageBox(FileErrorText(fileName, what), capFileRefused, mbOK, icon);
}

bool Refuse(TUserMessages& messages, const std::string& fileName, const std::string& what) {
  Tell(messages, fileName, what, miError);
  return false;
}

}  // namespace

bool LoadHistoryFile(const std::string& fileName, TUserMessages& messages, THistory& history) {
  THistory loaded;
  std::int64_t partialBytes = 0;
  try {
    classlib::TFileStream file(fileName, classlib::fmOpenRead | classlib::fmShareDenyNone);
    const std::int64_t size = file.Size();
    if (size > HistoryLargeFileSize) {
      const std::string question = msgLargeFileBefore +
                                   classlib::IntToStr(static_cast<std::int64_t>(std::nearbyint(size / 1048576.0))) +
                                   msgLargeFileAfter;
      if (messages.MessageBox(question, capLargeFile, mbOKCancel, miQuestion) != mrOK) return false;
    }
    if (size <= HistoryMinimumSize)
      return Refuse(messages, fileName,
                    std::string(msgHistoryTooShort) + " (" + classlib::IntToStr(size) + " байт, нужно больше " +
                        classlib::IntToStr(HistoryMinimumSize) + ")");

    std::array<std::uint8_t, HistoryHeaderSize400> header{};
    file.ReadBuffer(header.data(), HistoryHeaderSize400);
    const std::int32_t version = I32At(header.data());
    if (version != HistoryVersion1 && version != HistoryVersion400) {
      const std::string text =
          msgUnknownFormatBefore + classlib::IntToHex(static_cast<std::uint32_t>(version), 2) + msgUnknownFormatAfter +
          "\r\n" + "Файл \"" + fileName + "\": если нужен этот формат, сообщите о нём разработчикам Orvel.";
      messages.MessageBox(text, capUnknownFormat, mbOK, miError);
      return false;
    }
    if (!HeaderTextFound(header.data(), version)) return Refuse(messages, fileName, msgHistoryNoHeaderText);

    const bool v400 = version == HistoryVersion400;
    const std::int64_t headerSize = v400 ? HistoryHeaderSize400 : HistoryHeaderSize1;
    const std::int64_t barSize = v400 ? HistoryBarSize400 : HistoryBarSize1;
    const std::int64_t barCount = (size - headerSize) / barSize;
    partialBytes = (size - headerSize) % barSize;
    if (barCount > std::numeric_limits<std::int32_t>::max())
      return Refuse(messages, fileName, std::string(msgHistoryTooManyBars) + " (" + classlib::IntToStr(barCount) + ")");

    if (v400) {
      // The first 8 bytes of the symbol field, padding included.
      loaded.Symbol.Length = 8;
      for (int i = 0; i < 8; ++i) loaded.Symbol.Chars[i] = static_cast<char>(header[68 + i]);
      loaded.Period = I32At(&header[80]);
    } else {
      // The printable bytes of the 8-byte symbol field, at most six: "EUR USD"
      // gives EURUSD.
      std::string symbol;
      for (int i = 68; i < 76 && symbol.size() < 6; ++i)
        if (header[i] > 32) symbol += static_cast<char>(header[i]);
      loaded.Symbol = symbol;
      loaded.Period = I32At(&header[76]);
    }

    loaded.Bars.resize(static_cast<std::size_t>(barCount));
    constexpr std::int64_t BarsPerBlock = 8192;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(BarsPerBlock * barSize));
    file.SetPosition(headerSize);
    for (std::int64_t first = 0; first < barCount; first += BarsPerBlock) {
      const std::int64_t count = std::min(BarsPerBlock, barCount - first);
      file.ReadBuffer(block.data(), count * barSize);
      for (std::int64_t i = 0; i < count; ++i) {
        const std::uint8_t* p = block.data() + i * barSize;
        THistoryBar& bar = loaded.Bars[static_cast<std::size_t>(first + i)];
        bar.Time = I32At(p);
        bar.Open = F64At(p + 4);
        bar.Low = F64At(p + 12);
        bar.High = F64At(p + 20);
        bar.Close = F64At(p + 28);
        bar.Volume = v400 ? VolumeOf(F64At(p + 36)) : I32At(p + 36);
      }
    }
    loaded.LastIndex = static_cast<std::int32_t>(barCount - 1);
  } catch (const std::bad_alloc&) {
    return Refuse(messages, fileName, msgOutOfMemory);
  } catch (const classlib::Exception& e) {
    return Refuse(messages, fileName, e.Message());
  }

  history = std::move(loaded);
  if (partialBytes != 0)
    Tell(messages, fileName,
         std::string(msgHistoryPartialBar) + " (" + classlib::IntToStr(partialBytes) + " байт)", miWarning);
  return true;
}

bool LoadHistoryFile(const std::string& fileName, TUserMessages& messages) {
  return LoadHistoryFile(fileName, messages, History);
}

std::string HistoryBarLabel(const THistoryBar& bar, std::int32_t period) {
  // The labels never follow the process-wide separators: the point, and the
  // format's own "." and ":".
  static const classlib::TFormatSettings point = [] {
    classlib::TFormatSettings settings;
    settings.DecimalSeparator = '.';
    settings.TimeSeparator = ':';
    return settings;
  }();
  const char* format = period < 1440 ? "dd.mm.yy hh:mm" : "dd.mm.yy";
  std::string label = classlib::FormatDateTime(format, UnixToDateTime(bar.Time), point);
  const int decimals = bar.Open > 10 ? 2 : 4;
  const auto price = [&](const char* word, double value) {
    label += "\r\n";
    label += word;
    label += classlib::FloatToStrF(value, classlib::ffFixed, 5, decimals, point);
  };
  price("Open: ", bar.Open);
  price("High: ", bar.High);
  price("Low: ", bar.Low);
  price("Close: ", bar.Close);
  return label;
}

std::string HistoryFileLabel(const THistory& history) {
  std::string symbol;
  for (char c : history.Symbol.Str())
    if (c != '\0') symbol += c;
  return classlib::Cp1251ToUtf8(symbol) + "," + PeriodName(history.Period) + " " +
         std::to_string(static_cast<std::int64_t>(history.LastIndex) + 1) + " записей";
}

}  // namespace workbench
