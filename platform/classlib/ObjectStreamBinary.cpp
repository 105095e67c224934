// The binary form of the component stream: bytes to tree and back.
// Tested by: tests/ObjectStreamTest.cpp, tests/ComponentStreamFuzzTest.cpp.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/classlib/ObjectStream.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

namespace {

constexpr char Signature[4] = {'O', 'C', 'S', '1'};

bool IsDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Dotted identifiers: "clRed", "Series1", "Form1.Series1".
bool IsDottedIdent(std::string_view s) {
  if (s.empty()) return false;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = s.find('.', start);
    if (!IsValidIdent(s.substr(start, dot == std::string_view::npos ? dot : dot - start))) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

bool IsSetElement(std::string_view s) { return IsValidIdent(s) || IsDigits(s); }

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// Reads bytes from a stream through a buffer and keeps the absolute position,
// so that every message can say where, and the stream can be put back after
// the last byte that belongs to the component stream.
class TByteInput {
 public:
  explicit TByteInput(TStream& stream)
      : FStream(stream), FStart(stream.Position()), FPos(FStart), FEnd(std::max(stream.Size(), FStart)),
        FBufStart(FStart) {}

  std::int64_t Pos() const { return FPos; }
  std::int64_t Left() const { return FEnd - FPos; }
  std::uint32_t Crc() const { return static_cast<std::uint32_t>(FCrc); }
  void SetWhere(std::string where) { FWhere = std::move(where); }

  [[noreturn]] void Fail(std::int64_t at, const std::string& what) {
    try {
      FStream.Seek(FStart, soBeginning);
    } catch (const Exception&) {
      // The message below matters more than where the position stays.
    }
    throw EReadError("Invalid component stream at byte " + std::to_string(at) + ": " + what);
  }

  std::uint8_t Peek() {
    Need(1);
    return static_cast<std::uint8_t>(FBuf[Offset()]);
  }

  std::uint8_t Byte() {
    std::uint8_t b;
    Bytes(&b, 1);
    return b;
  }

  void Bytes(void* dst, std::int64_t n, bool checksum = true) {
    if (n <= 0) return;
    if (n > Left()) Fail(FEnd, "the stream ends inside " + FWhere);
    auto* out = static_cast<unsigned char*>(dst);
    const std::int64_t inBuffer = std::min<std::int64_t>(n, Available());
    if (inBuffer > 0) std::memcpy(out, FBuf.data() + Offset(), static_cast<std::size_t>(inBuffer));
    FPos += inBuffer;
    if (n > inBuffer) {
      if (n - inBuffer > static_cast<std::int64_t>(FBuf.size())) {
        // A large block goes straight from the stream into its place.
        if (FStream.Read(out + inBuffer, n - inBuffer) != n - inBuffer)
          Fail(FPos, "the stream ends inside " + FWhere);
        FPos += n - inBuffer;
        FBufStart = FPos;
        FBufLen = 0;
      } else {
        Need(n - inBuffer);
        std::memcpy(out + inBuffer, FBuf.data() + Offset(), static_cast<std::size_t>(n - inBuffer));
        FPos += n - inBuffer;
      }
    }
    if (checksum) FCrc = Checksum(FCrc, out, n);
  }

  template <class T>
  T Scalar() {
    T value;
    Bytes(&value, sizeof value);
    return value;
  }

  std::string ShortString() {
    const std::uint8_t n = Byte();
    std::string s(n, '\0');
    Bytes(s.data(), n);
    return s;
  }

  // A 32-bit length, checked against the bytes left before anything is made of it.
  std::int64_t Length(const char* what) {
    const std::int64_t at = FPos;
    const std::int32_t n = Scalar<std::int32_t>();
    if (n < 0) Fail(at, std::string("a negative length of ") + what);
    if (n > Left())
      Fail(at, std::string(what) + " of " + std::to_string(n) + " bytes, but only " + std::to_string(Left()) +
                   " bytes are left");
    return n;
  }

  // Puts the stream right after the last byte read.
  void Finish() { FStream.Seek(FPos, soBeginning); }

  static uLong Checksum(uLong crc, const void* data, std::int64_t n) {
    const auto* p = static_cast<const Bytef*>(data);
    while (n > 0) {
      const auto chunk = static_cast<uInt>(std::min<std::int64_t>(n, std::numeric_limits<uInt>::max()));
      crc = crc32(crc, p, chunk);
      p += chunk;
      n -= chunk;
    }
    return crc;
  }

 private:
  std::int64_t Available() const { return FBufStart + FBufLen - FPos; }
  std::size_t Offset() const { return static_cast<std::size_t>(FPos - FBufStart); }

  // Makes n bytes (n <= the buffer's size) available, or fails at the end.
  void Need(std::int64_t n) {
    if (Available() >= n) return;
    if (n > Left()) Fail(FEnd, "the stream ends inside " + FWhere);
    const std::int64_t keep = Available();
    std::memmove(FBuf.data(), FBuf.data() + Offset(), static_cast<std::size_t>(keep));
    FBufStart = FPos;
    FBufLen = keep;
    const std::int64_t room =
        std::min<std::int64_t>(static_cast<std::int64_t>(FBuf.size()) - keep, FEnd - (FBufStart + keep));
    std::int64_t got = 0;
    while (got < room) {
      const std::int64_t r = FStream.Read(FBuf.data() + keep + got, room - got);
      if (r <= 0) break;
      got += r;
    }
    FBufLen += got;
    if (Available() < n) Fail(FBufStart + FBufLen, "the stream ends inside " + FWhere);
  }

  TStream& FStream;
  std::int64_t FStart;
  std::int64_t FPos;
  std::int64_t FEnd;
  std::vector<char> FBuf = std::vector<char>(1 << 16);
  std::int64_t FBufStart;
  std::int64_t FBufLen = 0;
  uLong FCrc = crc32(0L, Z_NULL, 0);
  std::string FWhere = "the signature";
};

class TBinaryParser {
 public:
  explicit TBinaryParser(TStream& stream) : FIn(stream) {}

  TStreamObject Stream() {
    char signature[4];
    FIn.Bytes(signature, 4);
    if (std::memcmp(signature, Signature, 4) != 0) FIn.Fail(FIn.Pos() - 4, "this is not a component stream");
    TStreamObject root = Object(0);
    const std::uint32_t computed = FIn.Crc();
    const std::int64_t at = FIn.Pos();
    FIn.SetWhere("the checksum");
    std::uint32_t stored;
    FIn.Bytes(&stored, 4, false);
    if (stored != computed) FIn.Fail(at, "the checksum does not match: the stream is corrupted");
    FIn.Finish();
    return root;
  }

  TStreamValue OneValue() {
    TStreamValue value = Value(0, false);
    FIn.Finish();
    return value;
  }

 private:
  void Count(std::int64_t at) {
    if (++FValues > MaxStreamValues)
      FIn.Fail(at, "more than " + std::to_string(MaxStreamValues) + " values");
  }

  void Deeper(int depth, std::int64_t at) {
    if (depth >= MaxStreamDepth)
      FIn.Fail(at, "objects or lists nested deeper than " + std::to_string(MaxStreamDepth) + " levels");
  }

  TStreamObject Object(int depth) {
    TStreamObject object;
    object.Position = FIn.Pos();
    Deeper(depth, object.Position);
    Count(object.Position);
    FIn.SetWhere("a class name");
    object.ClassName = FIn.ShortString();
    if (!IsValidIdent(object.ClassName))
      FIn.Fail(object.Position, "invalid class name " + Quoted(object.ClassName));
    const std::int64_t nameAt = FIn.Pos();
    FIn.SetWhere("the name of a " + object.ClassName);
    object.Name = FIn.ShortString();
    if (!object.Name.empty() && !IsValidIdent(object.Name))
      FIn.Fail(nameAt, "invalid component name " + Quoted(object.Name));
    object.Properties = PropertyList(depth);
    FIn.SetWhere("the children of " + (object.Name.empty() ? object.ClassName : object.Name));
    while (FIn.Peek() != vaNull) object.Children.push_back(Object(depth + 1));
    FIn.Byte();
    return object;
  }

  std::vector<TStreamProperty> PropertyList(int depth) {
    std::vector<TStreamProperty> properties;
    while (true) {
      TStreamProperty property;
      property.Position = FIn.Pos();
      FIn.SetWhere("a property name");
      property.Name = FIn.ShortString();
      if (property.Name.empty()) break;
      if (!IsValidIdent(property.Name))
        FIn.Fail(property.Position, "invalid property name " + Quoted(property.Name));
      FIn.SetWhere("the value of property " + property.Name);
      property.Value = Value(depth + 1, false);
      properties.push_back(std::move(property));
    }
    return properties;
  }

  TStreamValue Value(int depth, bool inList) {
    TStreamValue value;
    value.Position = FIn.Pos();
    Deeper(depth, value.Position);
    Count(value.Position);
    const std::uint8_t tag = FIn.Byte();
    value.Type = static_cast<TValueType>(tag);
    switch (tag) {
      case vaList:
        while (FIn.Peek() != vaNull) value.Items.push_back(Value(depth + 1, true));
        FIn.Byte();
        break;
      case vaInt8:
        value.Integer = FIn.Scalar<std::int8_t>();
        break;
      case vaInt16:
        value.Integer = FIn.Scalar<std::int16_t>();
        break;
      case vaInt32:
        value.Integer = FIn.Scalar<std::int32_t>();
        break;
      case vaInt64:
        value.Integer = FIn.Scalar<std::int64_t>();
        break;
      case vaDouble:
        value.Float = FIn.Scalar<double>();
        break;
      case vaString:
        value.Text = FIn.ShortString();
        break;
      case vaLString:
      case vaBinary: {
        const std::int64_t n = FIn.Length(tag == vaBinary ? "binary data" : "a string");
        value.Text.resize(static_cast<std::size_t>(n));
        FIn.Bytes(value.Text.data(), n);
        break;
      }
      case vaIdent:
        value.Text = FIn.ShortString();
        if (!IsDottedIdent(value.Text)) FIn.Fail(value.Position, "invalid identifier " + Quoted(value.Text));
        break;
      case vaFalse:
      case vaTrue:
      case vaNil:
        break;
      case vaSet:
        while (true) {
          const std::int64_t at = FIn.Pos();
          std::string name = FIn.ShortString();
          if (name.empty()) break;
          if (!IsSetElement(name)) FIn.Fail(at, "invalid set element " + Quoted(name));
          Count(at);
          value.Names.push_back(std::move(name));
        }
        break;
      case vaCollection:
        if (inList) FIn.Fail(value.Position, "a collection inside a list");
        while (FIn.Peek() != vaNull) {
          TStreamValue item;
          item.Position = FIn.Pos();
          Deeper(depth + 1, item.Position);
          Count(item.Position);
          if (FIn.Byte() != vaObject) FIn.Fail(item.Position, "a collection item that is not a property list");
          item.Type = vaObject;
          item.Properties = PropertyList(depth + 1);
          value.Items.push_back(std::move(item));
        }
        FIn.Byte();
        break;
      case vaObject:
        if (inList) FIn.Fail(value.Position, "a property list inside a list");
        value.Properties = PropertyList(depth);
        break;
      case vaNull:
        FIn.Fail(value.Position, "a value is missing");
      default:
        FIn.Fail(value.Position, "unknown value type " + std::to_string(tag));
    }
    return value;
  }

  TByteInput FIn;
  std::int64_t FValues = 0;
};

class TBinaryWriter {
 public:
  std::string& Bytes() { return FOut; }

  void Object(const TStreamObject& object) {
    if (!IsValidIdent(object.ClassName)) Fail("invalid class name " + Quoted(object.ClassName));
    if (!object.Name.empty() && !IsValidIdent(object.Name))
      Fail("invalid component name " + Quoted(object.Name));
    ShortString(object.ClassName);
    ShortString(object.Name);
    PropertyList(object.Properties);
    for (const TStreamObject& child : object.Children) Object(child);
    Tag(vaNull);
  }

  void Value(const TStreamValue& value) {
    switch (value.Type) {
      case vaList:
        Tag(vaList);
        for (const TStreamValue& item : value.Items) {
          if (item.Type == vaObject || item.Type == vaCollection) Fail("a property list inside a list");
          Value(item);
        }
        Tag(vaNull);
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        Integer(value.Integer);
        break;
      case vaDouble:
        Tag(vaDouble);
        Raw(&value.Float, 8);
        break;
      case vaString:
      case vaLString:
        if (value.Text.size() <= 255) {
          Tag(vaString);
          ShortString(value.Text);
        } else {
          Tag(vaLString);
          Block(value.Text);
        }
        break;
      case vaIdent:
        if (!IsDottedIdent(value.Text)) Fail("invalid identifier " + Quoted(value.Text));
        Tag(vaIdent);
        ShortString(value.Text);
        break;
      case vaFalse:
      case vaTrue:
      case vaNil:
        Tag(value.Type);
        break;
      case vaSet:
        Tag(vaSet);
        for (const std::string& name : value.Names) {
          if (!IsSetElement(name)) Fail("invalid set element " + Quoted(name));
          ShortString(name);
        }
        Tag(vaNull);
        break;
      case vaBinary:
        Tag(vaBinary);
        Block(value.Text);
        break;
      case vaCollection:
        Tag(vaCollection);
        for (const TStreamValue& item : value.Items) {
          if (item.Type != vaObject) Fail("a collection item that is not a property list");
          Tag(vaObject);
          PropertyList(item.Properties);
        }
        Tag(vaNull);
        break;
      case vaObject:
        Tag(vaObject);
        PropertyList(value.Properties);
        break;
      default:
        Fail("a value of unknown type " + std::to_string(value.Type));
    }
  }

 private:
  [[noreturn]] static void Fail(const std::string& what) {
    throw EWriteError("Cannot write the component stream: " + what);
  }

  void Tag(TValueType tag) { FOut.push_back(static_cast<char>(tag)); }
  void Raw(const void* data, std::size_t n) { FOut.append(static_cast<const char*>(data), n); }

  void ShortString(std::string_view s) {
    if (s.size() > 255) Fail("the name " + Quoted(s.substr(0, 32)) + "... is longer than 255 bytes");
    FOut.push_back(static_cast<char>(s.size()));
    FOut.append(s);
  }

  void Block(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
      Fail("a value of more than 2 GiB");
    const auto n = static_cast<std::int32_t>(bytes.size());
    Raw(&n, 4);
    FOut.append(bytes);
  }

  void Integer(std::int64_t v) {
    if (v >= INT8_MIN && v <= INT8_MAX) {
      Tag(vaInt8);
      const auto x = static_cast<std::int8_t>(v);
      Raw(&x, 1);
    } else if (v >= INT16_MIN && v <= INT16_MAX) {
      Tag(vaInt16);
      const auto x = static_cast<std::int16_t>(v);
      Raw(&x, 2);
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      Tag(vaInt32);
      const auto x = static_cast<std::int32_t>(v);
      Raw(&x, 4);
    } else {
      Tag(vaInt64);
      Raw(&v, 8);
    }
  }

  void PropertyList(const std::vector<TStreamProperty>& properties) {
    for (const TStreamProperty& p : properties) {
      if (!IsValidIdent(p.Name)) Fail("invalid property name " + Quoted(p.Name));
      ShortString(p.Name);
      Value(p.Value);
    }
    Tag(vaNull);
  }

  std::string FOut;
};

}  // namespace

TStreamValue MakeValue(TValueType type) {
  TStreamValue v;
  v.Type = type;
  return v;
}

TStreamValue MakeInteger(std::int64_t value) {
  TStreamValue v = MakeValue(vaInt64);
  v.Integer = value;
  return v;
}

TStreamValue MakeFloat(double value) {
  TStreamValue v = MakeValue(vaDouble);
  v.Float = value;
  return v;
}

TStreamValue MakeText(TValueType type, std::string text) {
  TStreamValue v = MakeValue(type);
  v.Text = std::move(text);
  return v;
}

bool IsIntegerType(TValueType type) { return type >= vaInt8 && type <= vaInt64; }

bool IsStringType(TValueType type) { return type == vaString || type == vaLString; }

std::string ValueTypeText(TValueType type) {
  switch (type) {
    case vaNull: return "the end of a list";
    case vaList: return "a list";
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: return "an integer";
    case vaDouble: return "a floating-point number";
    case vaString:
    case vaLString: return "a string";
    case vaIdent: return "an identifier";
    case vaFalse:
    case vaTrue: return "a boolean";
    case vaNil: return "nil";
    case vaSet: return "a set";
    case vaBinary: return "binary data";
    case vaCollection: return "a collection";
    case vaObject: return "a property list";
  }
  return "a value of unknown type";
}

std::string PositionText(std::int64_t position, bool fromText) {
  return (fromText ? "line " : "byte ") + std::to_string(position);
}

TStreamObject ReadObjectBinary(TStream& stream) { return TBinaryParser(stream).Stream(); }

void WriteObjectBinary(TStream& stream, const TStreamObject& object) {
  TBinaryWriter writer;
  writer.Bytes().append(Signature, 4);
  writer.Object(object);
  std::string& bytes = writer.Bytes();
  const auto crc = static_cast<std::uint32_t>(
      TByteInput::Checksum(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<std::int64_t>(bytes.size())));
  bytes.append(reinterpret_cast<const char*>(&crc), 4);
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

TStreamValue ReadValueBinary(TStream& stream) { return TBinaryParser(stream).OneValue(); }

void WriteValueBinary(TStream& stream, const TStreamValue& value) {
  TBinaryWriter writer;
  writer.Value(value);
  stream.WriteBuffer(writer.Bytes().data(), static_cast<std::int64_t>(writer.Bytes().size()));
}

}  // namespace classlib
