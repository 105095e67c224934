// Format: printf-like text with the runtime's conversions and error texts.
// Tested by: tests/SysUtilsFormatTest.cpp.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/classlib/SysUtils.h"

namespace classlib {

TFormatArg& TFormatArg::operator=(const TFormatArg& other) {
  if (this == &other) return *this;
  FKind = other.FKind;
  FInt = other.FInt;
  FUInt = other.FUInt;
  FFloat = other.FFloat;
  FChar = other.FChar;
  FPointer = other.FPointer;
  FWide = other.FWide;
  // A character argument points at its own copy of the character.
  FText = other.FText.data() == &other.FChar ? std::string_view(&FChar, 1) : other.FText;
  return *this;
}

namespace {

class TFormatter {
 public:
  TFormatter(std::string_view format, std::span<const TFormatArg> args, const TFormatSettings& settings)
      : FFormat(format), FArgs(args), FSettings(settings) {}

  std::string Run() {
    std::string out;
    std::size_t i = 0;
    while (i < FFormat.size()) {
      const char c = FFormat[i++];
      if (c != '%') {
        out.push_back(c);
        continue;
      }
      if (i < FFormat.size() && FFormat[i] == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
      out += Conversion(i);
    }
    return out;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + std::string(FFormat) + "' invalid or incompatible with argument");
  }

  const TFormatArg& NextArg() {
    if (FNext >= FArgs.size())
      throw EConvertError("No argument for format '" + std::string(FFormat) + "'");
    return FArgs[FNext++];
  }

  // A number, or "*" taking the next argument (which must be an integer).
  std::optional<long long> NumberOrStar(std::size_t& i) {
    if (i < FFormat.size() && FFormat[i] == '*') {
      ++i;
      const TFormatArg& arg = NextArg();
      if (arg.Kind() == TFormatArg::akInteger) return arg.AsInteger();
      if (arg.Kind() == TFormatArg::akUnsigned) return static_cast<long long>(arg.AsUnsigned());
      Invalid();
    }
    if (i >= FFormat.size() || FFormat[i] < '0' || FFormat[i] > '9') return std::nullopt;
    long long n = 0;
    while (i < FFormat.size() && FFormat[i] >= '0' && FFormat[i] <= '9') {
      n = std::min<long long>(n * 10 + (FFormat[i] - '0'), 1 << 20);
      ++i;
    }
    return n;
  }

  std::string Conversion(std::size_t& i) {
    std::optional<long long> width = NumberOrStar(i);
    if (width && i < FFormat.size() && FFormat[i] == ':') {
      ++i;
      FNext = static_cast<std::size_t>(*width);
      width.reset();
    }
    bool left = false;
    if (!width) {
      if (i < FFormat.size() && FFormat[i] == '-') {
        left = true;
        ++i;
      }
      width = NumberOrStar(i);
    }
    std::optional<long long> precision;
    if (i < FFormat.size() && FFormat[i] == '.') {
      ++i;
      precision = NumberOrStar(i);
      if (!precision) precision = 0;
    }
    if (i >= FFormat.size()) Invalid();
    char type = FFormat[i++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    std::string text = Convert(type, NextArg(), precision);
    const long long w = width.value_or(0);
    if (w > static_cast<long long>(text.size())) {
      const std::size_t pad = static_cast<std::size_t>(w) - text.size();
      if (left) text.append(pad, ' ');
      else text.insert(0, pad, ' ');
    }
    return text;
  }

  // The bits of an integer argument as the unsigned conversions show them.
  static std::uint64_t Bits(const TFormatArg& arg) {
    if (arg.Kind() == TFormatArg::akUnsigned) return arg.AsUnsigned();
    const auto bits = static_cast<std::uint64_t>(arg.AsInteger());
    return arg.Wide() ? bits : (bits & 0xFFFFFFFFu);
  }

  static std::string PadDigits(std::string digits, std::optional<long long> precision) {
    const long long minimum = precision.value_or(0);
    if (minimum > static_cast<long long>(digits.size()))
      digits.insert(0, static_cast<std::size_t>(minimum) - digits.size(), '0');
    return digits;
  }

  std::string Convert(char type, const TFormatArg& arg, std::optional<long long> precision) {
    const bool isInt = arg.Kind() == TFormatArg::akInteger || arg.Kind() == TFormatArg::akUnsigned;
    auto asDouble = [&]() -> double {
      switch (arg.Kind()) {
        case TFormatArg::akFloat: return arg.AsFloat();
        case TFormatArg::akInteger: return static_cast<double>(arg.AsInteger());
        case TFormatArg::akUnsigned: return static_cast<double>(arg.AsUnsigned());
        default: Invalid();
      }
    };
    auto digitsOf = [&](long long p) { return static_cast<int>(std::clamp<long long>(p, 0, 18)); };
    switch (type) {
      case 'd': {
        if (!isInt) Invalid();
        if (arg.Kind() == TFormatArg::akUnsigned) return PadDigits(std::to_string(arg.AsUnsigned()), precision);
        const std::int64_t v = arg.AsInteger();
        const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        return (v < 0 ? "-" : "") + PadDigits(std::to_string(magnitude), precision);
      }
      case 'u': {
        if (!isInt) Invalid();
        return PadDigits(std::to_string(Bits(arg)), precision);
      }
      case 'x': {
        if (!isInt) Invalid();
        return PadDigits(IntToHex(static_cast<std::int64_t>(Bits(arg)), 0), precision);
      }
      case 'p': {
        if (arg.Kind() != TFormatArg::akPointer) Invalid();
        return IntToHex(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(arg.AsPointer())), 16);
      }
      case 's': {
        if (arg.Kind() != TFormatArg::akString) Invalid();
        std::string_view s = arg.AsString();
        if (precision && *precision < static_cast<long long>(s.size())) s = s.substr(0, static_cast<std::size_t>(*precision));
        return std::string(s);
      }
      case 'f': return FloatToStrF(asDouble(), ffFixed, 18, digitsOf(precision.value_or(2)), FSettings);
      case 'n': return FloatToStrF(asDouble(), ffNumber, 18, digitsOf(precision.value_or(2)), FSettings);
      case 'm':
        return FloatToStrF(asDouble(), ffCurrency, 18,
                           digitsOf(precision.value_or(FSettings.CurrencyDecimals)), FSettings);
      case 'e': {
        const int p = static_cast<int>(std::clamp<long long>(precision.value_or(15), 1, 18));
        return FloatToStrF(asDouble(), ffExponent, p, 3, FSettings);
      }
      case 'g': {
        const int p = static_cast<int>(std::clamp<long long>(precision.value_or(15), 1, 18));
        return FloatToStrF(asDouble(), ffGeneral, p, 0, FSettings);
      }
      default: Invalid();
    }
  }

  std::string_view FFormat;
  std::span<const TFormatArg> FArgs;
  const TFormatSettings& FSettings;
  std::size_t FNext = 0;
};

}  // namespace

std::string FormatArgs(std::string_view format, std::span<const TFormatArg> args,
                       const TFormatSettings& settings) {
  return TFormatter(format, args, settings).Run();
}

std::string FormatArgs(std::string_view format, std::span<const TFormatArg> args) {
  const auto settings = CurrentFormatSettings();
  return FormatArgs(format, args, *settings);
}

}  // namespace classlib
