// The two forms of the component stream at the level of the tree: the binary
// layout, the text syntax, lossless numbers, and the refusal of malformed input.
// Covers: ObjectStream.h, ObjectStreamBinary.cpp, ObjectStreamText.cpp.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "platform/classlib/ObjectStream.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using orvel::testing::Raises;
using orvel::testing::RaisedMessage;

std::string Bytes(const TStreamObject& object) {
  TStringStream s;
  WriteObjectBinary(s, object);
  return s.DataString();
}

TStreamObject Parse(const std::string& bytes) {
  TStringStream s(bytes);
  return ReadObjectBinary(s);
}

TStreamProperty Prop(std::string name, TStreamValue v) { return TStreamProperty{std::move(name), std::move(v), 0}; }

TStreamValue Int(std::int64_t i) { return MakeInteger(i); }
TStreamValue Str(std::string s, TValueType type = vaLString) { return MakeText(type, std::move(s)); }
TStreamValue Dbl(double d) { return MakeFloat(d); }

// The header documents this layout; a stream written by an earlier build must
// keep reading, so it is pinned byte for byte (checksum from Python's zlib.crc32).
TEST(ObjectStreamBinary, LayoutIsPinnedByteForByte) {
  TStreamObject object;
  object.ClassName = "TA";
  object.Name = "B";
  object.Properties = {Prop("I", Int(-5)), Prop("J", Int(300)), Prop("K", Int(70000)),
                       Prop("L", Int(std::int64_t{1} << 40)), Prop("S", Str("hi")), Prop("D", Dbl(0.5))};
  TStreamObject child;
  child.ClassName = "TC";
  object.Children.push_back(child);
  const std::string expected = std::string("OCS1") +                     // signature
                               std::string("\x02TA\x01" "B", 5) +       // class, name
                               std::string("\x01I\x02\xFB", 4) +        // vaInt8 -5
                               std::string("\x01J\x03\x2C\x01", 5) +    // vaInt16 300
                               std::string("\x01K\x04\x70\x11\x01\x00", 7) +
                               std::string("\x01L\x05\x00\x00\x00\x00\x00\x01\x00\x00", 11) +
                               std::string("\x01S\x07\x02hi", 6) +      // vaString
                               std::string("\x01" "D\x06\x00\x00\x00\x00\x00\x00\xE0\x3F", 11) +
                               std::string("\x00", 1) +                 // end of properties
                               std::string("\x02TC\x00\x00\x00", 6) +   // child TC: no name, no properties, no children
                               std::string("\x00", 1) +                 // end of children
                               std::string("\x3b\x96\x01\xc8", 4);      // CRC-32
  EXPECT_EQ(Bytes(object), expected);
  const TStreamObject back = Parse(expected);
  EXPECT_EQ(back.ClassName, "TA");
  EXPECT_EQ(back.Name, "B");
  ASSERT_EQ(back.Properties.size(), 6u);
  EXPECT_EQ(back.Properties[0].Value.Type, vaInt8);
  EXPECT_EQ(back.Properties[0].Value.Integer, -5);
  EXPECT_EQ(back.Properties[3].Value.Integer, std::int64_t{1} << 40);
  EXPECT_EQ(back.Properties[3].Position, 25) << "byte offset of the property's name";
  EXPECT_EQ(back.Properties[4].Value.Text, "hi");
  EXPECT_EQ(back.Properties[5].Value.Float, 0.5);
  ASSERT_EQ(back.Children.size(), 1u);
  EXPECT_EQ(back.Children[0].ClassName, "TC");
}

TEST(ObjectStreamBinary, IntegersTakeTheSmallestTagAndStringsTheLongFormPast255Bytes) {
  struct Row {
    std::int64_t value;
    TValueType tag;
  };
  const Row rows[] = {{0, vaInt8},          {127, vaInt8},        {-128, vaInt8},       {128, vaInt16},
                      {-129, vaInt16},      {32767, vaInt16},     {32768, vaInt32},     {-2147483648LL, vaInt32},
                      {2147483648LL, vaInt64}, {INT64_MIN, vaInt64}, {INT64_MAX, vaInt64}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    TStreamObject o;
    o.ClassName = "T";
    o.Properties = {Prop("V", Int(r.value))};
    const TStreamValue back = Parse(Bytes(o)).Properties[0].Value;
    EXPECT_EQ(back.Type, r.tag);
    EXPECT_EQ(back.Integer, r.value);
  }
  for (std::size_t n : {0u, 255u, 256u, 70000u}) {
    TStreamObject o;
    o.ClassName = "T";
    o.Properties = {Prop("S", Str(std::string(n, 'x'), vaString))};
    const TStreamValue back = Parse(Bytes(o)).Properties[0].Value;
    EXPECT_EQ(back.Type, n <= 255 ? vaString : vaLString);
    EXPECT_EQ(back.Text.size(), n);
  }
}

TEST(ObjectStreamBinary, ReadsOneStreamAmongOtherDataAndLeavesThePositionAfterIt) {
  TStreamObject o;
  o.ClassName = "T";
  o.Properties = {Prop("V", Int(1))};
  const std::string stream = Bytes(o);
  TStringStream s("prefix" + stream + "suffix");
  s.SetPosition(6);
  EXPECT_EQ(Parse(stream).Properties[0].Value.Integer, 1);
  EXPECT_EQ(ReadObjectBinary(s).ClassName, "T");
  EXPECT_EQ(s.Position(), 6 + static_cast<std::int64_t>(stream.size()));
  EXPECT_EQ(s.ReadString(6), "suffix");
}

// Every malformed stream is refused with what and where, and the position is
// put back where the read began.
TEST(ObjectStreamBinary, MalformedStreamsAreRefusedWithWhatAndWhere) {
  TStreamObject o;
  o.ClassName = "TA";
  o.Properties = {Prop("P", Int(1))};
  const std::string good = Bytes(o);  // OCS1 02TA 00 01P 02 01 00 00 crc
  auto body = [](const std::string& inner) {
    // A stream of class TA with the given property bytes; its checksum is not
    // reached when the body is malformed.
    return std::string("OCS1\x02TA\x00", 8) + inner;
  };
  struct Row {
    const char* name;
    std::string bytes;
    std::string message;
  };
  const Row rows[] = {
      {"empty", "", "Invalid component stream at byte 0: the stream ends inside the signature"},
      {"other data", "PK\x03\x04rest", "Invalid component stream at byte 0: this is not a component stream"},
      {"cut in the class name", "OCS1\x05TA", "Invalid component stream at byte 7: the stream ends inside a class name"},
      {"class name not an identifier", std::string("OCS1\x02" "1A\x00", 8),
       "Invalid component stream at byte 4: invalid class name \"1A\""},
      {"cut in a value", body(std::string("\x01P\x04\x01\x02", 5)),
       "Invalid component stream at byte 13: the stream ends inside the value of property P"},
      {"unknown tag", body(std::string("\x01P\x63", 3)), "Invalid component stream at byte 10: unknown value type 99"},
      {"missing value", body(std::string("\x01P\x00", 3)), "Invalid component stream at byte 10: a value is missing"},
      {"bad property name", body(std::string("\x02P.\x02\x01", 5)),
       "Invalid component stream at byte 8: invalid property name \"P.\""},
      {"negative length", body(std::string("\x01P\x08\xFF\xFF\xFF\xFF", 7)),
       "Invalid component stream at byte 11: a negative length of a string"},
      {"length past the end", body(std::string("\x01P\x0E\xFF\xFF\xFF\x7F" "ab", 9)),
       "Invalid component stream at byte 11: binary data of 2147483647 bytes, but only 2 bytes are left"},
      {"object inside a list", body(std::string("\x01P\x01\x10\x00\x00", 6)),
       "Invalid component stream at byte 11: a property list inside a list"},
      {"collection item not a list", body(std::string("\x01P\x0F\x02\x01", 5)),
       "Invalid component stream at byte 11: a collection item that is not a property list"},
      {"bad identifier value", body(std::string("\x01P\x09\x02" "a-", 6)),
       "Invalid component stream at byte 10: invalid identifier \"a-\""},
      {"checksum", good.substr(0, good.size() - 1) + static_cast<char>(good.back() ^ 1),
       "Invalid component stream at byte " + std::to_string(good.size() - 4) +
           ": the checksum does not match: the stream is corrupted"},
      {"no checksum", good.substr(0, good.size() - 4),
       "Invalid component stream at byte " + std::to_string(good.size() - 4) + ": the stream ends inside the checksum"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TStringStream s("xx" + r.bytes);
    s.SetPosition(2);
    const std::string message = RaisedMessage([&] { ReadObjectBinary(s); });
    // Offsets count from the start of the stream that holds the component stream.
    std::string expected = r.message;
    const std::size_t at = expected.find("byte ") + 5;
    const std::size_t end = expected.find(':', at);
    expected.replace(at, end - at, std::to_string(std::stoll(expected.substr(at, end - at)) + 2));
    EXPECT_EQ(message, expected);
    EXPECT_EQ(s.Position(), 2);
  }
}

TEST(ObjectStreamBinary, NestingAndSizeAreBounded) {
  // 100 nested lists: refused at the limit, not by running out of stack.
  std::string deep = std::string("OCS1\x01T\x00\x01P", 9) + std::string(100, '\x01');
  EXPECT_TRUE(Raises([&] { Parse(deep); },
                     "Invalid component stream at byte " + std::to_string(9 + MaxStreamDepth - 1) +
                         ": objects or lists nested deeper than 64 levels"));
  // A million and one booleans in one list.
  std::string many = std::string("OCS1\x01T\x00\x01P\x01", 10) + std::string(MaxStreamValues, '\x0A');
  EXPECT_EQ(RaisedMessage([&] { Parse(many); }),
            "Invalid component stream at byte " + std::to_string(10 + MaxStreamValues - 2) +
                ": more than 1048576 values");
}

TEST(ObjectStreamBinary, WriterRefusesWhatTheReaderWouldRefuse) {
  TStreamObject o;
  o.ClassName = "T";
  o.Properties = {Prop(std::string(256, 'N'), Int(1))};
  EXPECT_THROW(Bytes(o), EWriteError);
  o.Properties = {Prop("", Int(1))};
  EXPECT_TRUE(Raises([&] { Bytes(o); }, "Cannot write the component stream: invalid property name \"\""));
  o.Properties = {Prop("P", Str("not an ident", vaIdent))};
  EXPECT_TRUE(Raises([&] { Bytes(o); }, "Cannot write the component stream: invalid identifier \"not an ident\""));
  o.Properties.clear();
  o.ClassName = "";
  EXPECT_TRUE(Raises([&] { Bytes(o); }, "Cannot write the component stream: invalid class name \"\""));
}

// --- Text form ---------------------------------------------------------------

const char* const EveryForm =
    "object Chart1: TChart\n"
    "  Title = 'It''s'#13#10'x'#0#192\n"
    "  Empty = ''\n"
    "  Count = -70000\n"
    "  Ratio = 0.1\n"
    "  Zero = -0.0\n"
    "  Wide = 1e+300\n"
    "  Up = +Inf\n"
    "  Odd = +NaN($7FF4000000000001)\n"
    "  Style = psDash\n"
    "  Source = Form1.Series1\n"
    "  Visible = True\n"
    "  Hidden = False\n"
    "  Link = nil\n"
    "  Options = [opFirst, 3]\n"
    "  None = []\n"
    "  Pen.Width = 2\n"
    "  Pen.Shadow.Size = 1\n"
    "  Margins = (\n"
    "    15\n"
    "    (\n"
    "      'a'\n"
    "      b)\n"
    "    ())\n"
    "  Data = {\n"
    "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
    "    FF}\n"
    "  Blank = {}\n"
    "  Lines = <\n"
    "    item\n"
    "      X = 1.5\n"
    "      Pen.Color = 255\n"
    "    end\n"
    "    item\n"
    "    end>\n"
    "  object Series1: TLineSeries\n"
    "    object TFunction\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(ObjectStreamText, EveryFormGoesToBinaryAndBackUnchanged) {
  const TStreamObject tree = ObjectFromText(EveryForm);
  EXPECT_EQ(ObjectToText(tree), EveryForm);
  TStringStream text(EveryForm);
  TStringStream binary;
  ObjectTextToBinary(text, binary);
  binary.SetPosition(0);
  TStringStream back;
  ObjectBinaryToText(binary, back);
  EXPECT_EQ(back.DataString(), EveryForm);

  ASSERT_EQ(tree.Properties.size(), 20u);
  EXPECT_EQ(tree.Properties[0].Value.Text, std::string("It's\r\nx\0\xC0", 9));
  EXPECT_EQ(tree.Properties[0].Position, 2) << "lines";
  const TStreamProperty& pen = tree.Properties[15];
  EXPECT_EQ(pen.Name, "Pen");
  ASSERT_EQ(pen.Value.Type, vaObject);
  ASSERT_EQ(pen.Value.Properties.size(), 2u);
  EXPECT_EQ(pen.Value.Properties[1].Value.Type, vaObject) << "Pen.Shadow.Size nests twice";
  EXPECT_EQ(tree.Properties[17].Value.Text.size(), 33u);
  EXPECT_EQ(tree.Children[0].Children[0].Name, "");
  EXPECT_EQ(tree.Children[0].Children[0].ClassName, "TFunction");
}

TEST(ObjectStreamText, NumbersKeepEveryBit) {
  const double values[] = {0.1,
                           -0.0,
                           0.0,
                           1.0,
                           -2.5,
                           5e-324,
                           2.2250738585072014e-308,
                           1.7976931348623157e308,
                           1e21,
                           123456789012345680.0,
                           HUGE_VAL,
                           -HUGE_VAL,
                           std::bit_cast<double>(0x7FF8000000000000ull),
                           std::bit_cast<double>(0xFFF8000000000000ull),
                           std::bit_cast<double>(0x7FF0000000000001ull),
                           std::bit_cast<double>(0xFFFFFFFFFFFFFFFFull)};
  for (double v : values) {
    TStreamObject o;
    o.ClassName = "T";
    o.Properties = {Prop("V", Dbl(v))};
    const std::string text = ObjectToText(o);
    SCOPED_TRACE(text);
    const TStreamValue back = ObjectFromText(text).Properties[0].Value;
    ASSERT_EQ(back.Type, vaDouble);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(back.Float), std::bit_cast<std::uint64_t>(v));
  }
  TStreamObject o;
  o.ClassName = "T";
  o.Properties = {Prop("A", Dbl(1.0)), Prop("B", Dbl(-0.0)), Prop("C", Dbl(0.1)), Prop("D", Dbl(-HUGE_VAL)),
                  Prop("E", Dbl(std::bit_cast<double>(0xFFF8000000000000ull)))};
  EXPECT_EQ(ObjectToText(o), "object T\n  A = 1.0\n  B = -0.0\n  C = 0.1\n  D = -Inf\n  E = -NaN\nend\n");
}

TEST(ObjectStreamText, KeywordNamedPropertiesAndBlankLayoutAreRead) {
  const TStreamObject tree = ObjectFromText(
      "OBJECT x : T  End = 1 object.Width=2 Item = <item end = 3 END> object C end END");
  ASSERT_EQ(tree.Properties.size(), 3u);
  EXPECT_EQ(tree.Name, "x");
  EXPECT_EQ(tree.Properties[0].Name, "End");
  EXPECT_EQ(tree.Properties[1].Name, "object");
  EXPECT_EQ(tree.Properties[2].Value.Items[0].Properties[0].Name, "end");
  ASSERT_EQ(tree.Children.size(), 1u);
  EXPECT_EQ(tree.Children[0].ClassName, "C");
}

TEST(ObjectStreamText, MalformedTextIsRefusedWithItsLine) {
  struct Row {
    const char* text;
    const char* message;
  };
  const Row rows[] = {
      {"", "Invalid component text at line 1: 'object' expected, found the end of the text"},
      {"object T\n  A 1\nend", "Invalid component text at line 2: '=' expected, found 1"},
      {"object T\n  A = 'open\nend", "Invalid component text at line 2: a string is not closed on its line"},
      {"object T\n  A = {\n 0A1}\nend", "Invalid component text at line 3: binary data with an odd number of hexadecimal digits"},
      {"object T\n  A = {0G}\nend", "Invalid component text at line 2: a hexadecimal digit expected in binary data, found 'G'"},
      {"object T\n  A = 1\n", "Invalid component text at line 3: a property name expected, found the end of the text"},
      {"object T\nend\nend", "Invalid component text at line 3: text after the end of the object"},
      {"object T\n  A = 99999999999999999999\nend", "Invalid component text at line 2: the integer 99999999999999999999 is out of range"},
      {"object T\n  A = 1e999\nend", "Invalid component text at line 2: the number 1e999 is out of range"},
      {"object T\n  A = #300\nend", "Invalid component text at line 2: a character code from #0 to #255 expected"},
      {"object T\n  A = 12ab\nend", "Invalid component text at line 2: a number runs into 'a'"},
      {"object T\n  A = ;\nend", "Invalid component text at line 2: unexpected character ';'"},
      {"object T\n  A = )\nend", "Invalid component text at line 2: a value expected, found ')'"},
      {"object T\n  A = [x, 'y']\nend", "Invalid component text at line 2: a set element expected, found a string"},
      {"object T\n  A = (<>)\nend", "Invalid component text at line 2: a value expected, found '<'"},
      {"object T\n  A = +NaN($12)\nend", "Invalid component text at line 2: a NaN needs 16 hexadecimal digits: +NaN($7FF8000000000001)"},
      {"object T\n  A = <item\n B = 1\n", "Invalid component text at line 4: 'end' expected, found the end of the text"},
      {"object T: 5\nend", "Invalid component text at line 1: a class name expected, found 5"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    EXPECT_TRUE(Raises([&] { ObjectFromText(r.text); }, r.message));
  }
  // Nesting, by lists or by dotted names, is bounded as in the binary form.
  std::string deep = "object T\n  A = " + std::string(100, '(') + "\nend";
  EXPECT_TRUE(Raises([&] { ObjectFromText(deep); },
                     "Invalid component text at line 2: objects or lists nested deeper than 64 levels"));
  std::string dotted = "object T\n  A";
  for (int i = 0; i < 100; ++i) dotted += ".A";
  EXPECT_TRUE(Raises([&] { ObjectFromText(dotted + " = 1\nend"); },
                     "Invalid component text at line 2: objects or lists nested deeper than 64 levels"));
  EXPECT_THROW(ObjectFromText("object T\n  A = (1"), EParserError);
}

}  // namespace
