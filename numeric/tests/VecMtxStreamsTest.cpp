// Covers numeric/SampleCodec.cpp, numeric/VecStreams.cpp and
// numeric/MtxStreams.cpp: vectors and matrices through their streams in
// every precision, hand-built headers, truncated and corrupted streams,
// captions and counts the header cannot hold, files, the "DataValues"
// property, text lines and the Matrix Market export.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/VecTestUtil.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "platform/spl/SampleConversions.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::FileBytes;
using orvel::testing::Raises;
using orvel::testing::RaisedMessage;
using orvel::testing::TTempDir;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

constexpr TPrecision kAllPrecisions[] = {prDouble,   prSingle, prInteger, prCardinal, prSmallInt, prWord,
                                         prShortInt, prByte,   prMuLaw,   prALaw,     prInt24};

std::string Floats(const std::vector<float>& fields) {
  std::string bytes(fields.size() * 4, '\0');
  std::memcpy(bytes.data(), fields.data(), bytes.size());
  return bytes;
}

std::string Int32(std::int32_t v) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &v, 4);
  return bytes;
}

std::string Doubles(const std::vector<double>& values) {
  std::string bytes(values.size() * 8, '\0');
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

float FloatAt(const std::string& bytes, std::size_t offset) {
  float f;
  std::memcpy(&f, bytes.data() + offset, 4);
  return f;
}

// A vector header of version 151 as the fields stand in the stream.
std::vector<float> VecHeader(float complex, float length, float precision, float tag = 0.0f) {
  return {complex, length, 0.0f, 1.0f, precision, 151.0f, 8.0f, tag, 64019.0f, 0.0f, 0.0f};
}

std::string Saved(const TVec& v, TPrecision p = prDouble, TRounding r = rnTrunc) {
  classlib::TStringStream s;
  v.SaveToStream(s, p, r);
  return s.DataString();
}

// What one value reads back as after a round trip in a precision that
// stores it without loss (within the range of every kind used here), or
// through the G.711 tables for the companded kinds.
double ReadBack(double x, TPrecision p) {
  switch (p) {
    case prSingle:
      return static_cast<float>(x);
    case prCardinal:
    case prWord:
    case prByte:
      return x < 0 ? 0.0 : x;
    case prMuLaw:
    case prALaw: {
      std::uint8_t b;
      double y;
      if (p == prMuLaw) {
        spl::nspdbLinToMuLaw(&x, &b, 1);
        spl::nspdbMuLawToLin(&b, &y, 1);
      } else {
        spl::nspdbLinToALaw(&x, &b, 1);
        spl::nspdbALawToLin(&b, &y, 1);
      }
      return y;
    }
    default:
      return x;
  }
}

TEST(VecStreams, VectorRoundTripsInEveryPrecision) {
  const std::vector<double> values = {-100, 0, 7, 120, -1, 3.5e-1};
  for (TPrecision p : kAllPrecisions) {
    for (bool complex : {false, true}) {
      SCOPED_TRACE(PrecisionToStr(p) + (complex ? ", complex" : ", real") + ", precision " + std::to_string(p));
      TVec v, w;
      v.SetIt(complex, values);
      v.SetCaption("samples");
      v.SetTag(-12);
      v.SetConditionCheck(false);
      const std::string bytes = Saved(v, p, rnRound);
      EXPECT_EQ(bytes.size(), 44u + 4 + 7 + values.size() * static_cast<std::size_t>(PrecisionBytes(p, false)));
      classlib::TStringStream s(bytes);
      w.LoadFromStream(s);
      EXPECT_EQ(s.Position(), s.Size());
      EXPECT_EQ(w.Complex(), complex);
      EXPECT_EQ(w.Length(), v.Length());
      EXPECT_EQ(w.Caption(), "samples");
      EXPECT_EQ(w.Tag(), -12);
      EXPECT_FALSE(w.ConditionCheck());
      for (std::size_t i = 0; i < values.size(); ++i) {
        const double x = p == prDouble || p == prSingle ? values[i] : std::nearbyint(values[i]);
        EXPECT_EQ(w.Values()[i], ReadBack(x, p)) << i;
      }
    }
  }
}

TEST(MtxStreams, MatrixRoundTripsInEveryPrecisionWithItsSettings) {
  for (TPrecision p : kAllPrecisions) {
    SCOPED_TRACE(PrecisionToStr(p) + ", precision " + std::to_string(p));
    TMtx m, n;
    m.SetIt(2, 3, false, std::vector<double>{1, -2, 3, 40, 50, -60});
    m.SetCaption("block");
    m.SetTag(77);
    m.SetAutoMtxType(true);
    m.SetEigGenType(etBAz);
    m.SetBalance(btPerm);
    m.SetConditionCheck(false);
    m.SetConditionNumber(cnNormInf);
    m.SetRefineSolution(true);
    m.SetTriangleForm(tfLower);
    m.SetTriangleUnit(true);
    m.SetSuperDiag(2);
    m.SetSubDiag(1);
    classlib::TStringStream s;
    m.SaveToStream(s, p, rnRound);
    EXPECT_EQ(s.Size(), 104 + 4 + 5 + 6 * PrecisionBytes(p, false));
    s.SetPosition(0);
    n.LoadFromStream(s);
    EXPECT_EQ(n.Rows(), 2);
    EXPECT_EQ(n.Cols(), 3);
    EXPECT_FALSE(n.Complex());
    EXPECT_EQ(n.Caption(), "block");
    EXPECT_EQ(n.Tag(), 77);
    EXPECT_TRUE(n.AutoMtxType());
    EXPECT_EQ(n.EigGenType(), etBAz);
    EXPECT_EQ(n.Balance(), btPerm);
    EXPECT_FALSE(n.ConditionCheck());
    EXPECT_EQ(n.ConditionNumber(), cnNormInf);
    EXPECT_TRUE(n.RefineSolution());
    EXPECT_EQ(n.TriangleForm(), tfLower);
    EXPECT_TRUE(n.TriangleUnit());
    EXPECT_EQ(n.SuperDiag(), 2);
    EXPECT_EQ(n.SubDiag(), 1);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(n.Values()[i], ReadBack(m.Values()[i], p)) << i;
  }
  // A complex matrix keeps its kind and its pairs.
  TMtx c, d;
  c.SetIt(1, 2, true, std::vector<double>{1, 2, -3, 4});
  classlib::TStringStream s;
  c.SaveToStream(s);
  s.SetPosition(0);
  d.LoadFromStream(s);
  EXPECT_TRUE(d.Complex());
  EXPECT_EQ(std::vector<double>(d.Values(), d.Values() + 4), (std::vector<double>{1, 2, -3, 4}));
}

TEST(VecStreams, WrittenBytesFollowTheLayout) {
  TVec v;
  Set(v, {1.5, -2, 3});
  v.SetCaption("ab");
  v.SetTag(9);
  const std::string bytes = Saved(v);
  ASSERT_EQ(bytes.size(), 44u + 4 + 2 + 24);
  const float expected[] = {0, 3, 0, 1, 0, 151, 8, 9, 64019, 0, 0};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(FloatAt(bytes, 4 * i), expected[i]) << "field " << i;
  EXPECT_EQ(bytes.substr(44, 6), Int32(2) + "ab");
  EXPECT_EQ(bytes.substr(50), Doubles({1.5, -2, 3}));

  TMtx m;
  m.SetIt(1, 2, true, std::vector<double>{1, 2, 3, 4});
  classlib::TStringStream s;
  m.SaveToStream(s, prSingle, rnTrunc);
  const std::string mb = s.DataString();
  ASSERT_EQ(mb.size(), 104u + 4 + 16);
  EXPECT_EQ(FloatAt(mb, 0), 1.0f);
  EXPECT_EQ(FloatAt(mb, 4), 1.0f);
  EXPECT_EQ(FloatAt(mb, 8), 2.0f);
  EXPECT_EQ(FloatAt(mb, 36), 1.0f);  // prSingle
  EXPECT_EQ(FloatAt(mb, 60), 8.0f);
  EXPECT_EQ(FloatAt(mb, 64), 151.0f);
  EXPECT_EQ(FloatAt(mb, 72), 64019.0f);
  for (int offset = 76; offset < 104; offset += 4) EXPECT_EQ(FloatAt(mb, offset), 0.0f) << offset;
}

TEST(VecStreams, HandBuiltHeadersAreRead) {
  // Version 151, complex, two elements in prSmallInt, Tag -3, caption "xy".
  std::string bytes = Floats(VecHeader(1, 2, prSmallInt, -3)) + Int32(2) + "xy";
  const std::int16_t samples[] = {5, -6, 7, 32767};
  bytes.append(reinterpret_cast<const char*>(samples), sizeof samples);
  classlib::TStringStream s(bytes);
  TVec v;
  v.LoadFromStream(s);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Caption(), "xy");
  EXPECT_EQ(v.Tag(), -3);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{5, -6, 7, 32767}));

  // Version 100: no Tag, magic or caption; the samples follow at byte 44,
  // and Tag and Caption stay as they were.
  std::vector<float> old = VecHeader(0, 2, prDouble, 55);
  old[5] = 100.0f;
  old[8] = 0.0f;
  classlib::TStringStream legacy(Floats(old) + Doubles({0.25, 8}));
  TVec w;
  w.SetCaption("kept");
  w.SetTag(4);
  w.LoadFromStream(legacy);
  EXPECT_EQ(DoublesOf(w), (std::vector<double>{0.25, 8}));
  EXPECT_EQ(w.Caption(), "kept");
  EXPECT_EQ(w.Tag(), 4);
}

// Each refused stream leaves the vector and the stream's position as they
// were, and nothing is allocated for a count the bytes cannot back.
TEST(VecStreams, TruncatedAndCorruptedStreamsAreRefused) {
  const std::string good = Floats(VecHeader(0, 3, prDouble)) + Int32(0) + Doubles({1, 2, 3});
  std::vector<float> badMagic = VecHeader(0, 3, prDouble);
  badMagic[8] = 0.0f;
  std::vector<float> nanLength = VecHeader(0, NAN, prDouble);
  struct Case {
    const char* What;
    std::string Bytes;
    const char* Message;
  };
  const Case cases[] = {
      {"short header", good.substr(0, 43), "Error reading stream!"},
      {"empty", "", "Error reading stream!"},
      {"magic 0", Floats(badMagic) + Int32(0) + Doubles({1, 2, 3}), "Wrong file format!"},
      {"NaN length", Floats(nanLength) + Int32(0), "Wrong file format!"},
      {"length 1e12", Floats(VecHeader(0, 1e12f, prDouble)) + Int32(0), "Wrong file format!"},
      {"negative length", Floats(VecHeader(0, -2, prDouble)) + Int32(0), "Value < 0"},
      {"unknown precision", Floats(VecHeader(0, 1, 42)) + Int32(0) + Doubles({1}),
       "Wrong file format! Unknown sample precision 42"},
      {"samples cut short", good.substr(0, good.size() - 1),
       "Error reading stream! The header announces 3 values of 8 bytes, 23 bytes follow"},
      {"huge length", Floats(VecHeader(1, 16000000, prDouble)) + Int32(0) + Doubles({1}),
       "Error reading stream! The header announces 32000000 values of 8 bytes, 8 bytes follow"},
      {"caption cut short", Floats(VecHeader(0, 0, prDouble)) + Int32(5) + "ab", "Stream read error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TVec v;
    Set(v, {9, 8});
    v.SetCaption("before");
    classlib::TStringStream s("prefix" + c.Bytes);
    s.SetPosition(6);
    EXPECT_EQ(RaisedMessage([&] { v.LoadFromStream(s); }), c.Message);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(DoublesOf(v), (std::vector<double>{9, 8}));
    EXPECT_EQ(v.Caption(), "before");
  }
  TVec v;
  classlib::TStringStream s(good);
  EXPECT_NO_THROW(v.LoadFromStream(s));
}

TEST(MtxStreams, TruncatedAndCorruptedStreamsAreRefused) {
  TMtx m;
  m.SetIt(2, 2, false, std::vector<double>{1, 2, 3, 4});
  classlib::TStringStream good;
  m.SaveToStream(good);
  const std::string bytes = good.DataString();
  auto patched = [&](std::size_t offset, float value) {
    std::string b = bytes;
    std::memcpy(b.data() + offset, &value, 4);
    return b;
  };
  struct Case {
    const char* What;
    std::string Bytes;
    const char* Message;
  };
  const Case cases[] = {
      {"short header", bytes.substr(0, 100), "TMtx: Error reading stream!"},
      {"magic", patched(72, 1.0f), "TMtx: Wrong file format!"},
      {"balance 9", patched(24, 9.0f), "TMtx: Wrong file format!"},
      {"rows -1", patched(4, -1.0f), "Rows < 0"},
      {"rows 3000", patched(4, 3000.0f),
       "TMtx: Error reading stream! The header announces 6000 values of 8 bytes, 32 bytes follow"},
      {"samples cut short", bytes.substr(0, bytes.size() - 8),
       "TMtx: Error reading stream! The header announces 4 values of 8 bytes, 24 bytes follow"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TMtx n;
    n.SetIt(1, 1, false, std::vector<double>{5});
    classlib::TStringStream s(c.Bytes);
    EXPECT_EQ(RaisedMessage([&] { n.LoadFromStream(s); }), c.Message);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(n.Rows(), 1);
    EXPECT_EQ(n.Values()[0], 5.0);
  }
}

TEST(VecStreams, IntegerKindsRoundAndClip) {
  struct Case {
    TPrecision Precision;
    TRounding Rounding;
    std::vector<double> Written, Read;
  };
  const Case cases[] = {
      {prInteger, rnTrunc, {2.7, -2.7, 5e9, -5e9}, {2, -2, 2147483647, -2147483648.0}},
      {prInteger, rnRound, {2.7, -2.7, 2.5, 3.5}, {3, -3, 2, 4}},
      {prInteger, rnTruncNeg, {2.7, -2.7}, {2, -3}},
      {prCardinal, rnTrunc, {-1, 5e9, 7.9}, {0, 4294967295.0, 7}},
      {prSmallInt, rnRound, {40000, -40000, -0.4}, {32767, -32768, 0}},
      {prWord, rnRound, {70000, -3}, {65535, 0}},
      {prShortInt, rnTruncNeg, {-0.5, 200}, {-1, 127}},
      {prByte, rnTrunc, {255.9, 300}, {255, 255}},
      {prInt24, rnTrunc, {9e6, -9e6, -1, 2.9}, {8388607, -8388607, -1, 2}},
      {prInt24, rnRound, {2.5, -3.5, NAN}, {2, -4, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(PrecisionToStr(c.Precision) + " precision " + std::to_string(c.Precision) + ", rounding " +
                 std::to_string(c.Rounding));
    classlib::TStringStream s;
    WriteSamples(s, c.Written, c.Precision, c.Rounding, static_cast<std::int32_t>(c.Written.size()), false);
    s.SetPosition(0);
    std::vector<double> back(c.Written.size(), 99.0);
    EXPECT_EQ(ReadSamples(s, back, c.Precision, false, static_cast<std::int32_t>(back.size())),
              static_cast<std::int32_t>(back.size()));
    EXPECT_EQ(back, c.Read);
  }
}

TEST(VecStreams, Int24Bytes) {
  const std::vector<double> x = {-1, 1, -8388607, 0x123456};
  std::vector<std::uint8_t> bytes(12);
  FloatToInt24(4, x, bytes, rnTrunc);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 1, 0, 0, 1, 0, 0x80, 0x56, 0x34, 0x12}));
  std::vector<double> back(6, 7.0);
  Int24ToFloat(4, bytes, back, 2);
  EXPECT_EQ(back, (std::vector<double>{7, 7, -1, 1, -8388607, 0x123456}));
  std::vector<std::uint8_t> untouched(3, 0xAA);
  EXPECT_TRUE(Raises([&] { FloatToInt24(1, x, untouched, rnTruncNeg); }, "Not supported!"));
  EXPECT_EQ(untouched, (std::vector<std::uint8_t>(3, 0xAA)));
}

TEST(VecStreams, PrecisionSizesAndTexts) {
  const std::int32_t bytes[] = {8, 4, 4, 4, 2, 2, 1, 1, 1, 1, 3};
  const char* texts[] = {"float, 8 bytes",   "float, 4 bytes",   "integer, 4 bytes", "integer, 4 bytes",
                         "integer, 2 bytes", "integer, 2 bytes", "integer, 1 byte",  "integer, 1 byte",
                         "integer, 2 bytes", "integer, 2 bytes", "integer, 3 bytes"};
  for (TPrecision p : kAllPrecisions) {
    EXPECT_EQ(PrecisionBytes(p, false), bytes[p]);
    EXPECT_EQ(PrecisionBytes(p, true), 2 * bytes[p]);
    EXPECT_EQ(PrecisionToStr(p), texts[p]);
  }
  EXPECT_EQ(PrecisionBytes(static_cast<TPrecision>(11), false), 0);
  EXPECT_EQ(PrecisionToStr(static_cast<TPrecision>(11)), "Unknown");
}

// A 24-bit stream cannot be written toward minus infinity: refused before
// the header, so the stream holds nothing of the vector.
TEST(VecStreams, RefusedWritesWriteNothing) {
  TVec v;
  Set(v, {1, 2});
  classlib::TStringStream s;
  EXPECT_TRUE(Raises([&] { v.SaveToStream(s, prInt24, rnTruncNeg); }, "Not supported!"));
  EXPECT_TRUE(Raises([&] { v.SaveToStream(s, static_cast<TPrecision>(12), rnTrunc); },
                     "SaveToStream: unknown precision 12"));
  v.SetTag(16777217);
  EXPECT_TRUE(Raises([&] { v.SaveToStream(s); },
                     "Cannot write stream: Tag = 16777217 exceeds 16777216, the largest value a stream header "
                     "holds exactly"));
  v.SetTag(-16777216);
  EXPECT_NO_THROW(v.SaveToStream(s));
  EXPECT_EQ(s.Size(), 44 + 4 + 16);

  TMtx m;
  m.Size(16777217, 0, false);
  classlib::TStringStream t;
  EXPECT_TRUE(Raises([&] { m.SaveToStream(t); },
                     "TMtx: Cannot write stream: Rows = 16777217 exceeds 16777216, the largest value a stream "
                     "header holds exactly"));
  EXPECT_EQ(t.Size(), 0);
  std::vector<double> src = {1, 2, 3};
  EXPECT_TRUE(Raises([&] { WriteSamples(t, src, prDouble, rnTrunc, 2, true); },
                     "WriteSamples: Count 2 outside the 3 values of Src"));
  EXPECT_TRUE(Raises([&] { WriteSamples(t, src, prDouble, static_cast<TRounding>(5), 1, false); },
                     "WriteSamples: unknown rounding 5"));
  EXPECT_EQ(t.Size(), 0);
}

TEST(VecStreams, ShortReadsLeaveZerosNotOldValues) {
  classlib::TStringStream s(Doubles({1.5, 2.5}) + "xyz");
  std::vector<double> dst(4, 7.0);
  EXPECT_EQ(ReadSamples(s, dst, prDouble, false, 4), 2);
  EXPECT_EQ(dst, (std::vector<double>{1.5, 2.5, 0, 0}));
  const std::int16_t words[] = {3, -4, 5};
  classlib::TStringStream w(std::string(reinterpret_cast<const char*>(words), 5));
  dst.assign(4, 7.0);
  EXPECT_EQ(ReadSamples(w, dst, prSmallInt, true, 2), 2);
  EXPECT_EQ(dst, (std::vector<double>{3, -4, 0, 0}));
  EXPECT_TRUE(
      Raises([&] { ReadSamples(w, dst, prDouble, true, 3); }, "ReadSamples: Count 3 outside the 4 values of Dst"));
}

// Captions are cut to what a reader takes back, and a longer caption of an
// older writer is skipped past so the next object still reads.
TEST(VecStreams, LongCaptionsStayInStep) {
  TVec v, w;
  Set(v, {1, 2});
  v.SetCaption(std::string(300, 'c'));
  const std::string bytes = Saved(v);
  EXPECT_EQ(bytes.size(), 44u + 4 + 254 + 16);
  classlib::TStringStream s(bytes);
  w.LoadFromStream(s);
  EXPECT_EQ(w.Caption(), std::string(254, 'c'));

  std::string legacy = Floats(VecHeader(0, 1, prDouble)) + Int32(300) + std::string(300, 'd') + Doubles({4});
  legacy += Saved(v);
  classlib::TStringStream l(legacy);
  w.LoadFromStream(l);
  EXPECT_EQ(w.Caption(), std::string(254, 'd'));
  EXPECT_EQ(DoublesOf(w), (std::vector<double>{4}));
  w.LoadFromStream(l);
  EXPECT_EQ(DoublesOf(w), (std::vector<double>{1, 2}));
  // A negative count reads as an empty caption.
  classlib::TStringStream n(Int32(-5) + "rest");
  std::string text = "x";
  StreamReadString(n, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(n.Position(), 4);
}

TEST(VecStreams, FilesReplaceAppendAndNameThemselvesInErrors) {
  TTempDir dir;
  const std::string file = dir.File("v.vec");
  TVec a, b, r;
  Set(a, {1, 2, 3});
  SetC(b, {4, 5});
  a.SaveToFile(file);
  b.SaveToFile(file, true);
  classlib::TFileStream f(file, classlib::fmOpenRead);
  r.LoadFromStream(f);
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{1, 2, 3}));
  r.LoadFromStream(f);
  EXPECT_TRUE(r.Complex());
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{4, 5}));
  EXPECT_EQ(f.Position(), f.Size());
  b.SaveToFile(file);
  r.LoadFromFile(file);
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{4, 5}));
  // Append to a file that is not there makes it.
  a.SaveToFile(dir.File("new.vec"), true);
  r.LoadFromFile(dir.File("new.vec"));
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{1, 2, 3}));

  const std::string broken = dir.Write("broken.vec", FileBytes(file).substr(0, 30));
  EXPECT_EQ(RaisedMessage([&] { r.LoadFromFile(broken); }),
            "Error reading stream! (file \"" + broken + "\")");
  EXPECT_EQ(DoublesOf(r), (std::vector<double>{1, 2, 3}));
  EXPECT_NE(RaisedMessage([&] { r.LoadFromFile(dir.File("missing.vec")); }).find("missing.vec"), std::string::npos);

  TMtx m, n;
  m.SetIt(2, 1, false, std::vector<double>{6, 7});
  m.SaveToFile(dir.File("m.mtx"));
  n.LoadFromFile(dir.File("m.mtx"));
  EXPECT_EQ(n.Rows(), 2);
  EXPECT_EQ(n.Values()[1], 7.0);
  // Nothing of the writers' temporary files is left behind.
  EXPECT_EQ(dir.Listing(), "broken.vec;m.mtx;new.vec;v.vec;");
}

TEST(VecStreams, DataValuesPropertyCarriesTheWholeObject) {
  TVec v, w;
  SetC(v, {1, -1, 2.5, 0});
  v.SetCaption("cap");
  classlib::TStringStream s;
  classlib::WritePropertyList(s, v);
  s.SetPosition(0);
  classlib::ReadPropertyList(s, w);
  EXPECT_TRUE(w.Complex());
  EXPECT_EQ(DoublesOf(w), DoublesOf(v));
  EXPECT_EQ(w.Caption(), "cap");

  TMtx m, n;
  m.SetIt(2, 2, false, std::vector<double>{1, 2, 3, 4});
  m.SetTriangleForm(tfLower);
  classlib::TStringStream t;
  classlib::WritePropertyList(t, m);
  t.SetPosition(0);
  classlib::ReadPropertyList(t, n);
  EXPECT_EQ(n.Rows(), 2);
  EXPECT_EQ(n.TriangleForm(), tfLower);
  EXPECT_EQ(std::vector<double>(n.Values(), n.Values() + 4), (std::vector<double>{1, 2, 3, 4}));
}

TEST(VecText, ValuesToStringsAppendsOneLinePerElement) {
  classlib::TStringList lines;
  lines.Add("kept");
  TVec v;
  Set(v, {1.5, -2, 1.0 / 3});
  v.ValuesToStrings(lines);
  EXPECT_EQ(lines.Text(), "kept\r\n1.5\r\n-2\r\n0.333333333333333\r\n");
  lines.Clear();
  Set(v, {1.5, -2});
  v.ValuesToStrings(lines, "0.00");
  EXPECT_EQ(lines.Text(), "1.50\r\n-2.00\r\n");
  lines.Clear();
  SetC(v, {1, 2, 3, -4});
  v.ValuesToStrings(lines, "0.0", "+0.0i;-0.0i");
  EXPECT_EQ(lines.Text(), "1.0+2.0i\r\n3.0-4.0i\r\n");
}

TEST(VecText, StringsToValuesParsesAndTurnsComplexWhenNeeded) {
  classlib::TStringList lines;
  lines.SetText("1.5\n2\n3-4i\n");
  TVec v;
  Set(v, {0, 0, 0});
  v.StringsToValues(lines, 0, 0, 3);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1.5, 0, 2, 0, 3, -4}));
  // Real lines into a real vector stay real; into a complex one complex.
  lines.SetText("7\n8\n");
  Set(v, {0, 0, 0});
  v.StringsToValues(lines, 0, 1, -1);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{0, 7, 8}));
  SetC(v, {1, 1, 2, 2});
  v.StringsToValues(lines, 1, 0, 1);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{8, 0, 2, 2}));
  // The whole list: the length follows the lines.
  v.Size(0, false);
  v.StringsToValues(lines);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{7, 8}));

  Set(v, {5, 6});
  EXPECT_TRUE(Raises([&] { v.StringsToValues(lines, 0, 1, 2); }, "(Index + Len) > fLength"));
  EXPECT_TRUE(Raises([&] { v.StringsToValues(lines, 1, 0, 2); }, "ListIndex + Len > AList.Count"));
  EXPECT_TRUE(Raises([&] { v.StringsToValues(lines, 0, -1, 1); }, "Index < 0"));
  EXPECT_TRUE(Raises([&] { v.StringsToValues(lines, -1, 0, 1); }, "ListIndex < 0"));
  lines.SetText("1\nabc\n");
  EXPECT_NE(RaisedMessage([&] { v.StringsToValues(lines); }), "<none>");
  EXPECT_NE(RaisedMessage([&] { v.StringsToValues(lines, 0, 0, 2); }), "<none>");
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{5, 6}));
}

TEST(MtxStreams, MatrixMarketExport) {
  TTempDir dir;
  TMtx m;
  m.SetIt(2, 2, false, std::vector<double>{1, 2, 3, 0.1});
  m.SaveToMatrixMarketFile(dir.File("m.txt"));
  const std::string date = classlib::DateToStr(classlib::Date());
  EXPECT_EQ(FileBytes(dir.File("m.txt")), "%%MatrixMarket matrix array real general \r\n"
                                          "%Created with Numora version 151\r\n"
                                          "%Date: " + date + "\r\n"
                                          "2 2 \r\n1\r\n3\r\n2\r\n0.1\r\n");
  m.SetIt(1, 2, true, std::vector<double>{1, -2, 1.0 / 3, 4});
  m.SaveToMatrixMarketFile(dir.File("c.txt"));
  EXPECT_EQ(FileBytes(dir.File("c.txt")), "%%MatrixMarket matrix array complex general \r\n"
                                          "%Created with Numora version 151\r\n"
                                          "%Date: " + date + "\r\n"
                                          "1 2 \r\n1 -2\r\n0.333333333333333 4\r\n");
}

}  // namespace
}  // namespace numeric
