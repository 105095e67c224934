// The component stream as data: a tree of objects, properties and typed
// values, its binary form and its text form.
//
// The component writer (ComponentStream.h) turns components into this tree and
// the reader turns it back; the two forms here only move the tree to and from
// bytes, so every check of a form is made before any component is touched.
//
// Binary form (little-endian; "short string" = one length byte, then that many bytes):
//
//   stream     signature "OCS1" (4 bytes), object, CRC-32 of every byte from the
//              signature to the end of object (4 bytes, the zlib polynomial)
//   object     class name (short string, an identifier), instance name (short
//              string, empty or an identifier), property*, 0x00, object*, 0x00
//              (the objects after the properties are the children)
//   property   name (short string, a non-empty identifier), value
//   value      one tag byte (TValueType), then:
//     vaList        value* 0x00                 a list of plain values and lists
//     vaInt8/16/32/64  1, 2, 4 or 8 bytes, signed; the writer takes the smallest that fits
//     vaDouble      8 bytes, IEEE 754 binary64, every bit kept (signed zeros, NaN payloads)
//     vaString      length byte, bytes
//     vaLString     32-bit length (>= 0), bytes; the writer takes it past 255 bytes
//     vaIdent       short string: an enumeration value, a colour name, a component
//                   reference (dotted identifiers)
//     vaFalse, vaTrue, vaNil   nothing
//     vaSet         short string* (element names, or decimal bit numbers), 0x00
//     vaBinary      32-bit length (>= 0), bytes: a property defined as a block of bytes
//     vaCollection  (vaObject property-list)* 0x00: the items of a collection
//     vaObject      property* 0x00: the properties of a nested persistent object
//
// Every count is checked against the bytes left before anything is allocated;
// nesting is limited to MaxStreamDepth levels and a stream to MaxStreamValues
// values, so no input makes the reader run out of stack or memory.
//
// Text form ("object Name: TClass ... end", one property a line):
//
//   object Chart1: TSampleChart
//     Title = 'Close'#13'High'       strings: quoted, '' for a quote, #n for other bytes
//     Pen.Width = 2                  nested objects: dotted names, one line each
//     Style = psDash                 identifiers; True, False and nil
//     Ratio = 0.1                    numbers: shortest exact decimal, -0.0, +Inf, -Inf, +NaN
//     Options = [opFirst, opSecond]
//     Margins = (                    lists
//       15
//       20)
//     Data = {                       binary: hexadecimal, 32 bytes a line
//       0A0B0C}
//     Lines = <                      collections
//       item
//         X = 1
//       end>
//     object Series1: TSampleSeries   children
//     end
//   end
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Streams.h"

namespace classlib {

// A malformed text form: the message names the line.
class EParserError : public EReadError {
 public:
  using EReadError::EReadError;
};

enum TValueType : std::uint8_t {
  vaNull = 0,  // the end of a list, of properties or of children
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaInt64 = 5,
  vaDouble = 6,
  vaString = 7,
  vaLString = 8,
  vaIdent = 9,
  vaFalse = 10,
  vaTrue = 11,
  vaNil = 12,
  vaSet = 13,
  vaBinary = 14,
  vaCollection = 15,
  vaObject = 16,
};

constexpr int MaxStreamDepth = 64;
constexpr std::int64_t MaxStreamValues = 1 << 20;

bool IsIntegerType(TValueType type);
bool IsStringType(TValueType type);
// "an integer", "a string", ... for messages.
std::string ValueTypeText(TValueType type);

struct TStreamProperty;

// One value. Which fields hold it depends on Type: Integer (vaInt*), Float
// (vaDouble), Text (strings, identifiers, binary data), Names (vaSet), Items
// (the elements of vaList, the vaObject items of vaCollection), Properties (vaObject).
struct TStreamValue {
  TValueType Type = vaNull;
  std::int64_t Position = 0;  // where the value starts: a byte offset, or a line of the text
  std::int64_t Integer = 0;
  double Float = 0;
  std::string Text;
  std::vector<std::string> Names;
  std::vector<TStreamValue> Items;
  std::vector<TStreamProperty> Properties;
};

// Values made in one expression.
TStreamValue MakeValue(TValueType type);
TStreamValue MakeInteger(std::int64_t value);
TStreamValue MakeFloat(double value);
// A string, an identifier or binary data.
TStreamValue MakeText(TValueType type, std::string text);

struct TStreamProperty {
  std::string Name;
  TStreamValue Value;
  std::int64_t Position = 0;
};

struct TStreamObject {
  std::string ClassName;
  std::string Name;
  std::vector<TStreamProperty> Properties;
  std::vector<TStreamObject> Children;
  std::int64_t Position = 0;
  // Positions are lines of a text form rather than byte offsets.
  bool FromText = false;
};

// Where a position is, for messages: "byte 12" or "line 3".
std::string PositionText(std::int64_t position, bool fromText);

// --- Binary form

// Reads one stream from the current position and leaves the position after
// it. Raises EReadError "Invalid component stream at byte N: <what>" for a
// stream that is truncated, corrupted or oversized, with the position back
// where it was.
TStreamObject ReadObjectBinary(TStream& stream);
// Writes signature, object and checksum in one piece at the position; raises
// EWriteError for a name longer than 255 bytes or a value that no tag holds.
void WriteObjectBinary(TStream& stream, const TStreamObject& object);

// One value, with no signature or checksum: the property lists that binary
// properties embed. The reader checks counts against the bytes left.
TStreamValue ReadValueBinary(TStream& stream);
void WriteValueBinary(TStream& stream, const TStreamValue& value);

// --- Text form

std::string ObjectToText(const TStreamObject& object);
// Raises EParserError "Invalid component text at line N: <what>".
TStreamObject ObjectFromText(std::string_view text);

// Converts one object from its position in input (binary: one stream; text:
// the rest of input) and appends the other form to output.
void ObjectBinaryToText(TStream& input, TStream& output);
void ObjectTextToBinary(TStream& input, TStream& output);

}  // namespace classlib
