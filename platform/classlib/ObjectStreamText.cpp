// The text form of the component stream: tree to text and back, and the
// conversions between the two forms.
// Tested by: tests/ObjectStreamTest.cpp.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/classlib/ObjectStream.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

namespace {

constexpr std::uint64_t QuietNaNBits = 0x7FF8000000000000ull;
constexpr std::uint64_t SignBit = 0x8000000000000000ull;
constexpr int HexBytesPerLine = 32;

// --- Writing ---------------------------------------------------------------

std::string FloatText(double v) {
  const auto bits = std::bit_cast<std::uint64_t>(v);
  if (std::isnan(v)) {
    if ((bits & ~SignBit) == QuietNaNBits) return (bits & SignBit) ? "-NaN" : "+NaN";
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llX", static_cast<unsigned long long>(bits));
    return std::string("+NaN($") + hex + ")";
  }
  if (std::isinf(v)) return v > 0 ? "+Inf" : "-Inf";
  char buf[40];
  const auto result = std::to_chars(buf, buf + sizeof buf, v);
  std::string text(buf, result.ptr);
  // Without a point or an exponent the reader would take it for an integer.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string QuotedText(std::string_view s) {
  if (s.empty()) return "''";
  std::string out;
  bool open = false;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 32 && c < 127) {
      if (!open) out += '\'';
      open = true;
      out += ch;
      if (ch == '\'') out += '\'';
    } else {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(c);
    }
  }
  if (open) out += '\'';
  return out;
}

class TTextWriter {
 public:
  std::string& Text() { return FOut; }

  void Object(const TStreamObject& object, int indent) {
    Indent(indent);
    FOut += "object ";
    if (!object.Name.empty()) FOut += object.Name + ": ";
    FOut += object.ClassName + "\n";
    Properties(object.Properties, indent + 1, "");
    for (const TStreamObject& child : object.Children) Object(child, indent + 1);
    Indent(indent);
    FOut += "end\n";
  }

 private:
  void Indent(int indent) { FOut.append(static_cast<std::size_t>(indent) * 2, ' '); }

  // Nested objects become dotted names, so every line says whose property it is.
  void Properties(const std::vector<TStreamProperty>& properties, int indent, const std::string& prefix) {
    for (const TStreamProperty& p : properties) {
      if (p.Value.Type == vaObject) {
        Properties(p.Value.Properties, indent, prefix + p.Name + ".");
        continue;
      }
      Indent(indent);
      FOut += prefix + p.Name + " = ";
      Value(p.Value, indent);
      FOut += "\n";
    }
  }

  void Value(const TStreamValue& v, int indent) {
    switch (v.Type) {
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        FOut += std::to_string(v.Integer);
        break;
      case vaDouble:
        FOut += FloatText(v.Float);
        break;
      case vaString:
      case vaLString:
        FOut += QuotedText(v.Text);
        break;
      case vaIdent:
        FOut += v.Text;
        break;
      case vaFalse:
        FOut += "False";
        break;
      case vaTrue:
        FOut += "True";
        break;
      case vaNil:
        FOut += "nil";
        break;
      case vaSet:
        FOut += '[';
        for (std::size_t i = 0; i < v.Names.size(); ++i) FOut += (i ? ", " : "") + v.Names[i];
        FOut += ']';
        break;
      case vaList:
        FOut += '(';
        for (const TStreamValue& item : v.Items) {
          FOut += '\n';
          Indent(indent + 1);
          Value(item, indent + 1);
        }
        FOut += ')';
        break;
      case vaBinary: {
        static const char digits[] = "0123456789ABCDEF";
        FOut += '{';
        for (std::size_t i = 0; i < v.Text.size(); ++i) {
          if (i % HexBytesPerLine == 0) {
            FOut += '\n';
            Indent(indent + 1);
          }
          const auto c = static_cast<unsigned char>(v.Text[i]);
          FOut += digits[c >> 4];
          FOut += digits[c & 15];
        }
        FOut += '}';
        break;
      }
      case vaCollection:
        FOut += '<';
        for (const TStreamValue& item : v.Items) {
          FOut += '\n';
          Indent(indent + 1);
          FOut += "item\n";
          Properties(item.Properties, indent + 2, "");
          Indent(indent + 1);
          FOut += "end";
        }
        FOut += '>';
        break;
      default:
        throw EWriteError("Cannot write the component text: " + ValueTypeText(v.Type) + " in a list");
    }
  }

  std::string FOut;
};

// --- Reading ---------------------------------------------------------------

enum TTokenKind : std::uint8_t { tkEnd, tkIdent, tkInteger, tkFloat, tkString, tkBinary, tkSymbol };

struct TToken {
  TTokenKind Kind = tkEnd;
  std::int64_t Line = 1;
  std::string Text;  // identifier, decoded string, binary bytes, or the symbol
  std::int64_t Integer = 0;
  double Float = 0;
};

[[noreturn]] void Fail(std::int64_t line, const std::string& what) {
  throw EParserError("Invalid component text at line " + std::to_string(line) + ": " + what);
}

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

class TLexer {
 public:
  explicit TLexer(std::string_view text) : FText(text) {}

  const TToken& Peek(std::size_t ahead = 0) {
    while (FAhead.size() <= ahead) FAhead.push_back(Scan());
    return FAhead[ahead];
  }

  TToken Next() {
    Peek();
    TToken t = std::move(FAhead.front());
    FAhead.pop_front();
    return t;
  }

 private:
  char At(std::size_t i) const { return i < FText.size() ? FText[i] : '\0'; }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      const char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
      } else if (c != ' ' && c != '\t' && c != '\r') {
        break;
      }
      ++FPos;
    }
  }

  TToken Scan() {
    SkipBlanks();
    TToken t;
    t.Line = FLine;
    if (FPos >= FText.size()) return t;
    const char c = FText[FPos];
    if (IsIdentStart(c)) {
      const std::size_t start = FPos;
      while (IsIdentChar(At(FPos))) ++FPos;
      t.Kind = tkIdent;
      t.Text = std::string(FText.substr(start, FPos - start));
    } else if (IsDecimalDigit(c) || ((c == '-' || c == '+') && (IsDecimalDigit(At(FPos + 1)) || IsIdentStart(At(FPos + 1))))) {
      Number(t);
    } else if (c == '\'' || c == '#') {
      String(t);
    } else if (c == '{') {
      Binary(t);
    } else if (std::strchr("=:.,()[]<>", c) != nullptr) {
      t.Kind = tkSymbol;
      t.Text = std::string(1, c);
      ++FPos;
    } else {
      Fail(FLine, "unexpected character " + Shown(c));
    }
    return t;
  }

  static std::string Shown(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127) return std::string("'") + c + "'";
    return "#" + std::to_string(u);
  }

  void Number(TToken& t) {
    const std::size_t start = FPos;
    if (FText[FPos] == '-' || FText[FPos] == '+') ++FPos;
    if (IsIdentStart(At(FPos))) {
      const std::size_t word = FPos;
      while (IsIdentChar(At(FPos))) ++FPos;
      const std::string_view w = FText.substr(word, FPos - word);
      const bool negative = FText[start] == '-';
      t.Kind = tkFloat;
      if (w == "Inf") {
        t.Float = negative ? -HUGE_VAL : HUGE_VAL;
      } else if (w == "NaN") {
        std::uint64_t bits = QuietNaNBits | (negative ? SignBit : 0);
        if (At(FPos) == '(' && At(FPos + 1) == '$') {
          const std::size_t hex = FPos + 2;
          std::size_t end = hex;
          while (HexValue(At(end)) >= 0) ++end;
          const auto r = std::from_chars(FText.data() + hex, FText.data() + end, bits, 16);
          if (r.ec != std::errc() || end - hex != 16 || At(end) != ')')
            Fail(FLine, "a NaN needs 16 hexadecimal digits: +NaN($7FF8000000000001)");
          FPos = end + 1;
        }
        t.Float = std::bit_cast<double>(bits);
        if (!std::isnan(t.Float)) Fail(FLine, "the bits of a NaN do not make a NaN");
      } else {
        Fail(FLine, "a number expected, found " + std::string(FText.substr(start, FPos - start)));
      }
      return;
    }
    bool isFloat = false;
    while (IsDecimalDigit(At(FPos))) ++FPos;
    if (At(FPos) == '.' && IsDecimalDigit(At(FPos + 1))) {
      isFloat = true;
      ++FPos;
      while (IsDecimalDigit(At(FPos))) ++FPos;
    }
    if (At(FPos) == 'e' || At(FPos) == 'E') {
      isFloat = true;
      ++FPos;
      if (At(FPos) == '+' || At(FPos) == '-') ++FPos;
      if (!IsDecimalDigit(At(FPos))) Fail(FLine, "digits expected in the exponent");
      while (IsDecimalDigit(At(FPos))) ++FPos;
    }
    if (IsIdentChar(At(FPos))) Fail(FLine, "a number runs into " + Shown(At(FPos)));
    const char* first = FText.data() + start + (FText[start] == '+' ? 1 : 0);
    const char* last = FText.data() + FPos;
    if (isFloat) {
      t.Kind = tkFloat;
      const auto r = std::from_chars(first, last, t.Float);
      if (r.ec != std::errc() || r.ptr != last)
        Fail(FLine, "the number " + std::string(first, last) + " is out of range");
    } else {
      t.Kind = tkInteger;
      const auto r = std::from_chars(first, last, t.Integer);
      if (r.ec != std::errc() || r.ptr != last)
        Fail(FLine, "the integer " + std::string(first, last) + " is out of range");
    }
  }

  // 'text' segments and #n characters, written without blanks between them.
  void String(TToken& t) {
    t.Kind = tkString;
    while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
      if (FText[FPos] == '#') {
        ++FPos;
        const std::size_t start = FPos;
        while (IsDecimalDigit(At(FPos))) ++FPos;
        unsigned code = 0;
        const auto r = std::from_chars(FText.data() + start, FText.data() + FPos, code);
        if (start == FPos || r.ec != std::errc() || code > 255)
          Fail(FLine, "a character code from #0 to #255 expected");
        t.Text += static_cast<char>(code);
        continue;
      }
      ++FPos;
      while (true) {
        if (FPos >= FText.size() || FText[FPos] == '\n') Fail(FLine, "a string is not closed on its line");
        if (FText[FPos] == '\'') {
          if (At(FPos + 1) != '\'') break;
          ++FPos;
        }
        t.Text += FText[FPos++];
      }
      ++FPos;
    }
  }

  void Binary(TToken& t) {
    t.Kind = tkBinary;
    ++FPos;
    int high = -1;
    while (true) {
      if (FPos >= FText.size()) Fail(t.Line, "binary data is not closed by '}'");
      const char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      const int v = HexValue(c);
      if (v < 0) Fail(FLine, "a hexadecimal digit expected in binary data, found " + Shown(c));
      if (high < 0) {
        high = v;
      } else {
        t.Text += static_cast<char>(high * 16 + v);
        high = -1;
      }
    }
    if (high >= 0) Fail(FLine, "binary data with an odd number of hexadecimal digits");
  }

  std::string_view FText;
  std::size_t FPos = 0;
  std::int64_t FLine = 1;
  std::deque<TToken> FAhead;
};

class TTextParser {
 public:
  explicit TTextParser(std::string_view text) : FLex(text) {}

  TStreamObject Root() {
    TStreamObject root = Object(0);
    if (FLex.Peek().Kind != tkEnd) Fail(FLex.Peek().Line, "text after the end of the object");
    return root;
  }

 private:
  static std::string Describe(const TToken& t) {
    switch (t.Kind) {
      case tkEnd: return "the end of the text";
      case tkIdent: return t.Text;
      case tkInteger: return std::to_string(t.Integer);
      case tkFloat: return "a number";
      case tkString: return "a string";
      case tkBinary: return "binary data";
      case tkSymbol: return "'" + t.Text + "'";
    }
    return "?";
  }

  bool IsWord(const TToken& t, std::string_view word) const { return t.Kind == tkIdent && SameText(t.Text, word); }
  bool IsSymbol(const TToken& t, char c) const { return t.Kind == tkSymbol && t.Text[0] == c; }

  // "end", "object" and "item" close or open blocks unless a property of that
  // name follows ("End = 3", "Object.Width = 2").
  bool IsKeyword(std::string_view word) {
    const TToken& next = FLex.Peek(1);
    return IsWord(FLex.Peek(), word) && !IsSymbol(next, '=') && !IsSymbol(next, '.');
  }

  TToken Expect(TTokenKind kind, const char* what) {
    if (FLex.Peek().Kind != kind) Fail(FLex.Peek().Line, std::string(what) + " expected, found " + Describe(FLex.Peek()));
    return FLex.Next();
  }

  // Names go into the binary form as short strings.
  std::string Name(const char* what) {
    TToken t = Expect(tkIdent, what);
    if (t.Text.size() > 255) Fail(t.Line, std::string(what) + " longer than 255 characters");
    return std::move(t.Text);
  }

  void ExpectSymbol(char c) {
    if (!IsSymbol(FLex.Peek(), c))
      Fail(FLex.Peek().Line, std::string("'") + c + "' expected, found " + Describe(FLex.Peek()));
    FLex.Next();
  }

  void Count(std::int64_t line) {
    if (++FValues > MaxStreamValues) Fail(line, "more than " + std::to_string(MaxStreamValues) + " values");
  }

  void Deeper(int depth, std::int64_t line) {
    if (depth >= MaxStreamDepth)
      Fail(line, "objects or lists nested deeper than " + std::to_string(MaxStreamDepth) + " levels");
  }

  TStreamObject Object(int depth) {
    TStreamObject object;
    object.FromText = true;
    object.Position = FLex.Peek().Line;
    Deeper(depth, object.Position);
    Count(object.Position);
    if (!IsWord(FLex.Peek(), "object")) Fail(object.Position, "'object' expected, found " + Describe(FLex.Peek()));
    FLex.Next();
    std::string first = Name("a class name");
    if (IsSymbol(FLex.Peek(), ':')) {
      FLex.Next();
      object.Name = std::move(first);
      object.ClassName = Name("a class name");
    } else {
      object.ClassName = std::move(first);
    }
    while (!IsKeyword("end") && !IsKeyword("object")) Property(object.Properties, depth);
    while (IsKeyword("object")) object.Children.push_back(Object(depth + 1));
    if (!IsKeyword("end")) Fail(FLex.Peek().Line, "'end' expected, found " + Describe(FLex.Peek()));
    FLex.Next();
    return object;
  }

  void Property(std::vector<TStreamProperty>& properties, int depth) {
    const std::int64_t line = FLex.Peek().Line;
    std::vector<std::string> path{Name("a property name")};
    while (IsSymbol(FLex.Peek(), '.')) {
      FLex.Next();
      path.push_back(Name("a property name"));
      Deeper(depth + static_cast<int>(path.size()), line);
    }
    ExpectSymbol('=');
    TStreamValue value = Value(depth + static_cast<int>(path.size()), false);
    Insert(properties, path, 0, std::move(value), line);
  }

  // Consecutive lines of one dotted prefix build one nested object.
  void Insert(std::vector<TStreamProperty>& properties, const std::vector<std::string>& path, std::size_t i,
              TStreamValue value, std::int64_t line) {
    if (i + 1 == path.size()) {
      properties.push_back(TStreamProperty{path[i], std::move(value), line});
      return;
    }
    if (properties.empty() || properties.back().Name != path[i] || properties.back().Value.Type != vaObject) {
      Count(line);
      TStreamProperty group{path[i], MakeValue(vaObject), line};
      group.Value.Position = line;
      properties.push_back(std::move(group));
    }
    Insert(properties.back().Value.Properties, path, i + 1, std::move(value), line);
  }

  TStreamValue Value(int depth, bool inList) {
    const TToken& t = FLex.Peek();
    const std::int64_t line = t.Line;
    Deeper(depth, line);
    Count(line);
    TStreamValue v;
    switch (t.Kind) {
      case tkInteger: v = MakeInteger(FLex.Next().Integer); break;
      case tkFloat: v = MakeFloat(FLex.Next().Float); break;
      case tkString: v = MakeText(vaLString, FLex.Next().Text); break;
      case tkBinary: v = MakeText(vaBinary, FLex.Next().Text); break;
      case tkIdent: v = Ident(); break;
      case tkSymbol: v = Bracketed(depth, inList); break;
      case tkEnd: Fail(line, "a value expected, found the end of the text");
    }
    v.Position = line;
    return v;
  }

  // A set, a list or a collection.
  TStreamValue Bracketed(int depth, bool inList) {
    const TToken open = FLex.Next();
    const char c = open.Text[0];
    TStreamValue v;
    if (c == '[') {
      v.Type = vaSet;
      if (!IsSymbol(FLex.Peek(), ']')) {
        while (true) {
          const TToken e = FLex.Next();
          if (e.Kind == tkIdent) {
            v.Names.push_back(e.Text);
          } else if (e.Kind == tkInteger && e.Integer >= 0) {
            v.Names.push_back(std::to_string(e.Integer));
          } else {
            Fail(e.Line, "a set element expected, found " + Describe(e));
          }
          Count(e.Line);
          if (!IsSymbol(FLex.Peek(), ',')) break;
          FLex.Next();
        }
      }
      ExpectSymbol(']');
    } else if (c == '(') {
      v.Type = vaList;
      while (!IsSymbol(FLex.Peek(), ')')) v.Items.push_back(Value(depth + 1, true));
      FLex.Next();
    } else if (c == '<' && !inList) {
      v.Type = vaCollection;
      while (IsWord(FLex.Peek(), "item")) {
        TStreamValue item = MakeValue(vaObject);
        item.Position = FLex.Next().Line;
        Deeper(depth + 1, item.Position);
        Count(item.Position);
        while (!IsKeyword("end")) {
          if (FLex.Peek().Kind == tkEnd) Fail(FLex.Peek().Line, "'end' expected, found the end of the text");
          Property(item.Properties, depth + 1);
        }
        FLex.Next();
        v.Items.push_back(std::move(item));
      }
      ExpectSymbol('>');
    } else {
      Fail(open.Line, "a value expected, found '" + std::string(1, c) + "'");
    }
    return v;
  }

  TStreamValue Ident() {
    const TToken t = FLex.Next();
    if (SameText(t.Text, "True")) return MakeValue(vaTrue);
    if (SameText(t.Text, "False")) return MakeValue(vaFalse);
    if (SameText(t.Text, "nil")) return MakeValue(vaNil);
    TStreamValue v = MakeText(vaIdent, t.Text);
    while (IsSymbol(FLex.Peek(), '.')) {
      FLex.Next();
      v.Text += "." + Expect(tkIdent, "an identifier").Text;
    }
    if (v.Text.size() > 255) Fail(t.Line, "an identifier longer than 255 characters");
    return v;
  }

  TLexer FLex;
  std::int64_t FValues = 0;
};

std::string RestOf(TStream& input) {
  const std::int64_t n = std::max<std::int64_t>(input.Size() - input.Position(), 0);
  std::string bytes(static_cast<std::size_t>(n), '\0');
  input.ReadBuffer(bytes.data(), n);
  return bytes;
}

}  // namespace

std::string ObjectToText(const TStreamObject& object) {
  TTextWriter writer;
  writer.Object(object, 0);
  return std::move(writer.Text());
}

TStreamObject ObjectFromText(std::string_view text) { return TTextParser(text).Root(); }

void ObjectBinaryToText(TStream& input, TStream& output) {
  const std::string text = ObjectToText(ReadObjectBinary(input));
  output.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  WriteObjectBinary(output, ObjectFromText(RestOf(input)));
}

}  // namespace classlib
