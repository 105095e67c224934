// Components through the stream: every kind of value, nested objects,
// collections, binary and extra properties, obsolete names, unknown
// properties, children, references, and reads that fail without a trace.
// Covers: ComponentStream.h, ComponentWriter.cpp, ComponentReader.cpp, the
// stream hooks of Component.h.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/WarningSink.h"
#include "platform/classlib/tests/StreamFixtures.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using namespace streamtest;
using orvel::testing::Raises;
using orvel::testing::RaisedMessage;

class ComponentStream : public ::testing::Test {
 protected:
  void SetUp() override { RegisterStreamClasses(); }

  static std::string Binary(const TComponent& c) {
    TStringStream s;
    WriteComponent(s, c);
    return s.DataString();
  }

  static TStreamSeries& Series(const TComponent& chart, const char* name) {
    auto* s = dynamic_cast<TStreamSeries*>(chart.FindComponent(name));
    if (s == nullptr) throw std::runtime_error(std::string("no series ") + name);
    return *s;
  }
};

const std::string SampleText =
    "object Chart1: TStreamChart\n"
    "  Title = 'Close prices'\n"
    "  View3D = False\n"
    "  object Series1: TStreamSeries\n"
    "    Active = False\n"
    "    Count = -70000\n"
    "    Small = -100\n"
    "    Big = 1099511627776\n"
    "    Ratio = 0.0\n"
    "    Scale = 0.1\n"
    "    Offset = -0.0\n"
    "    Title = 'It''s'#13#10'sma'#0#192#255\n"
    "    Style = ssDot\n"
    "    Options = [soMarks, soShadow]\n"
    "    Pen.Width = 3\n"
    "    Pen.Style = ssDash\n"
    "    Pen.Color = 1193046\n"
    "    Lines = <\n"
    "      item\n"
    "        X = 0.1\n"
    "        Y = +NaN\n"
    "        Caption = '" + std::string(300, 'w') + "'\n"
    "        Pen.Width = 2\n"
    "      end\n"
    "      item\n"
    "        X = -1e-310\n"
    "        Y = 1.5\n"
    "      end>\n"
    "    Source = Series2\n"
    "    DataSources = (\n"
    "      'Series2'\n"
    "      '')\n"
    "    Data = {\n"
    "      05000000000000000000F83F00000000000002C0000000000000F07F01000000\n"
    "      00000000A0C8EB85F3CCE17F}\n"
    "    object Function1: TStreamFunction\n"
    "      Period = 14.0\n"
    "    end\n"
    "  end\n"
    "  object Series2: TStreamSeries\n"
    "    Ratio = 0.5\n"
    "    Scale = 2.5\n"
    "    Source = Series1\n"
    "  end\n"
    "end\n";

TEST_F(ComponentStream, WritesEveryKindOfValueAndOnlyWhatDiffersFromTheDefaults) {
  const auto chart = MakeStreamChart();
  EXPECT_EQ(ComponentToText(*chart), SampleText);
}

TEST_F(ComponentStream, BinaryRoundTripRestoresEveryValueChildAndReference) {
  const auto original = MakeStreamChart();
  const std::string bytes = Binary(*original);

  TStreamChart loaded;
  TStringStream in(bytes);
  ReadComponent(in, loaded);
  EXPECT_EQ(in.Position(), static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(ComponentToText(loaded), ComponentToText(*original));
  EXPECT_EQ(Binary(loaded), bytes);

  EXPECT_EQ(loaded.Name(), "Chart1");
  ASSERT_EQ(loaded.ComponentCount(), 3) << "two series and the function, all owned by the chart";
  TStreamSeries& s1 = Series(loaded, "Series1");
  TStreamSeries& s2 = Series(loaded, "Series2");
  EXPECT_EQ(s1.Source(), &s2);
  EXPECT_EQ(s2.Source(), &s1);
  ASSERT_NE(s1.Function(), nullptr);
  EXPECT_EQ(s1.Function()->Owner(), &loaded);
  EXPECT_EQ(s1.Function()->Name(), "Function1");
  EXPECT_EQ(s1.Function()->Period(), 14);
  EXPECT_TRUE(std::signbit(s1.Offset()));
  EXPECT_EQ(s1.Points, Series(*original, "Series1").Points);
  EXPECT_EQ(s1.SourceNames, (std::vector<std::string>{"Series2", ""}));
  EXPECT_EQ(s1.Title(), Series(*original, "Series1").Title());
  ASSERT_EQ(s1.Lines()->Count(), 2);
  EXPECT_TRUE(std::isnan(static_cast<TStreamLine*>(s1.Lines()->Items(0))->Y()));
  EXPECT_EQ(static_cast<TStreamLine*>(s1.Lines()->Items(1))->X(), -1e-310);
  EXPECT_EQ(loaded.LoadedCount, 1);
  EXPECT_EQ(s1.LoadedCount, 1);
  EXPECT_FALSE(s1.HasState(csLoading));
  EXPECT_FALSE(loaded.HasState(csReading));
}

// A file holds other data around two streams; a large binary property goes
// past the reader's buffer.
TEST_F(ComponentStream, StreamsAreReadFromFilesAmongOtherData) {
  orvel::testing::TTempDir dir;
  TStreamSeries big(nullptr);
  big.SetName("Big");
  for (int i = 0; i < 20000; ++i) big.Points.push_back(i * 0.25);
  TStreamSeries small(nullptr);
  small.SetCount(4);
  const std::string file = dir.File("series.bin");
  AtomicWriteFile(file, [&](TStream& s) {
    s.WriteInt32(7);
    WriteComponent(s, big);
    WriteComponent(s, small);
    s.WriteInt32(8);
  });
  TFileStream in(file, fmOpenRead);
  EXPECT_EQ(in.ReadInt32(), 7);
  TStreamSeries a(nullptr);
  TStreamSeries b(nullptr);
  ReadComponent(in, a);
  ReadComponent(in, b);
  EXPECT_EQ(in.ReadInt32(), 8);
  EXPECT_EQ(a.Points, big.Points);
  EXPECT_EQ(a.Name(), "Big");
  EXPECT_EQ(b.Count(), 4);
}

TEST_F(ComponentStream, TextRoundTripAndConversionsAgreeWithTheBinaryForm) {
  const auto original = MakeStreamChart();
  const std::string bytes = Binary(*original);
  TStringStream binary(bytes);
  TStringStream text;
  ObjectBinaryToText(binary, text);
  EXPECT_EQ(text.DataString(), ComponentToText(*original));

  TStreamChart loaded;
  ReadComponentText(text.DataString(), loaded);
  EXPECT_EQ(Binary(loaded), bytes);

  text.SetPosition(0);
  TStringStream again;
  ObjectTextToBinary(text, again);
  EXPECT_EQ(again.DataString(), bytes);
}

TEST_F(ComponentStream, FloatsAreWrittenSoThatNeitherAResetNorAConstructorChangesThem) {
  struct Row {
    const char* name;
    double value;
    bool written;
  };
  const Row rows[] = {
      {"Ratio", 0.5, true},   // at its non-zero default: a reset to 0 must not win
      {"Ratio", 0.0, true},   // 0 against a default of 0.5
      {"Scale", 0.0, false},  // no default
      {"Scale", 2.0, true},
      {"Offset", 0.0, false},  // default 0
      {"Offset", -0.0, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.name) + " = " + std::to_string(r.value));
    TStreamSeries written(nullptr);
    SetPropValue(written, r.name, r.value);
    const std::string text = ComponentToText(written);
    EXPECT_EQ(text.find(std::string("  ") + r.name + " = ") != std::string::npos, r.written) << text;

    // Read back over a fresh instance, and over one whose floats a component
    // reset to 0 first: both give the written value, to the last bit.
    TStreamSeries fresh(nullptr);
    ReadComponentText(text, fresh);
    TStreamSeries reset(nullptr);
    reset.SetRatio(0);
    ReadComponentText(text, reset);
    const double v1 = std::get<double>(GetPropValue(fresh, r.name));
    const double v2 = std::get<double>(GetPropValue(reset, r.name));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(v1), std::bit_cast<std::uint64_t>(r.value));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(v2), std::bit_cast<std::uint64_t>(r.value));
  }
  TStreamSeries plain(nullptr);
  EXPECT_EQ(ComponentToText(plain), "object TStreamSeries\n  Ratio = 0.5\nend\n")
      << "everything else is at its default, the pen's colour at the one its owner chose";
}

TEST_F(ComponentStream, TheReaderResetsNothingAComponentResetsItself) {
  const std::string text = "object TStreamSeries\n  Count = 3\nend\n";
  TStreamSeries s(nullptr);
  s.SetTitle("kept");
  s.SetStyle(ssDash);
  s.Pen()->SetWidth(9);
  ReadComponentText(text, s);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Title(), "kept");
  EXPECT_EQ(s.Style(), ssDash);
  EXPECT_EQ(s.Pen()->Width(), 9);

  ResetToDefaults(s);
  ReadComponentText(text, s);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Style(), ssSolid);
  EXPECT_EQ(s.Pen()->Width(), 1);
}

TEST_F(ComponentStream, ObsoleteNamesAreReadAndNeverWrittenBack) {
  TStreamSeries s(nullptr);
  TWarningRecorder warnings;
  ReadComponentText(
      "object TStreamSeries\n"
      "  Pen.Thickness = 4\n"
      "  Multiplier = 1.0\n"
      "  Multiplier = 2.5\n"
      "end\n",
      s);
  EXPECT_EQ(s.Pen()->Width(), 4);
  EXPECT_EQ(warnings.Warnings(), (std::vector<std::string>{"Error: Multiplier property is obsolete."}))
      << "once, from the target's read only; the trial read keeps quiet";
  const std::string written = ComponentToText(s);
  EXPECT_NE(written.find("Pen.Width = 4"), std::string::npos);
  EXPECT_EQ(written.find("Thickness"), std::string::npos);
  EXPECT_EQ(written.find("Multiplier"), std::string::npos);
}

TEST_F(ComponentStream, AnUnknownPropertyIsSkippedWithAWarningNamingItAndItsClass) {
  TStreamChart chart;
  TWarningRecorder warnings;
  ReadComponentText(
      "object Chart1: TStreamChart\n"
      "  Colour = 5\n"
      "  object Series1: TStreamSeries\n"
      "    Pen.Shade = 2\n"
      "    Lines = <\n"
      "      item\n"
      "        Z = 1\n"
      "      end>\n"
      "    Count = 4\n"
      "  end\n"
      "end\n",
      chart);
  EXPECT_EQ(Series(chart, "Series1").Count(), 4) << "reading goes on after the unknown ones";
  EXPECT_EQ(warnings.Warnings(),
            (std::vector<std::string>{
                "Chart1: property Colour does not exist in class TStreamChart and was skipped (line 2)",
                "Chart1.Series1.Pen: property Shade does not exist in class TStreamPen and was skipped (line 4)",
                "Chart1.Series1.Lines[0]: property Z does not exist in class TStreamLine and was skipped (line 7)",
            }));
}

// A read that fails leaves the target exactly as it was, even when the fault
// comes after properties and children that read well.
TEST_F(ComponentStream, AFailedReadLeavesTheTargetUnchanged) {
  struct Row {
    const char* name;
    std::string text;
    std::string message;
  };
  auto chart = [](const std::string& series) {
    return "object Chart1: TStreamChart\n"
           "  Title = 'changed'\n"
           "  object Series9: TStreamSeries\n"
           "  end\n"
           "  object Series1: TStreamSeries\n"
           "    Count = 5\n" +
           series +
           "  end\n"
           "end\n";
  };
  const Row rows[] = {
      {"enumeration", chart("    Style = ssWavy\n"),
       "Error reading Chart1.Series1.Style at line 7: Invalid property value: TStreamStyle has no value ssWavy"},
      {"range", chart("    Small = 200\n"),
       "Error reading Chart1.Series1.Small at line 7: Invalid property value: 200 is outside -128..127"},
      {"type", chart("    Count = 'ten'\n"),
       "Error reading Chart1.Series1.Count at line 7: Invalid property value: an integer expected, found a string"},
      {"set", chart("    Options = [soMarks, soBogus]\n"),
       "Error reading Chart1.Series1.Options at line 7: Invalid property value: the set has no element soBogus"},
      {"nested", chart("    Pen = 3\n"),
       "Error reading Chart1.Series1.Pen at line 7: Invalid property value: an object expected, found an integer"},
      {"collection", chart("    Pen = <>\n"),
       "Error reading Chart1.Series1.Pen at line 7: Invalid property value: a property list expected, found a "
       "collection"},
      {"inside a collection", chart("    Lines = <\n      item\n        Y = 'a'\n      end>\n"),
       "Error reading Chart1.Series1.Lines[0].Y at line 9: Invalid property value: a floating-point number "
       "expected, found a string"},
      {"binary property", chart("    Data = 'abc'\n"),
       "Error reading Chart1.Series1.Data at line 7: Invalid property value: binary data expected, found a string"},
      {"binary content", chart("    Data = {01000000}\n"),
       "Error reading Chart1.Series1.Data at line 7: Data holds fewer points than its count"},
      {"extra property", chart("    DataSources = (\n      1)\n"),
       "Error reading Chart1.Series1.DataSources at line 7: Invalid property value: a string expected, found an "
       "integer"},
      {"unknown class", chart("    object Gone: TNoSuchSeries\n    end\n"),
       "Error reading Chart1.Series1.Gone at line 7: Class TNoSuchSeries not found"},
      {"not a component", chart("    object Pen2: TStreamPen\n    end\n"),
       "Error reading Chart1.Series1.Pen2 at line 7: TStreamPen is not a component class"},
      {"class of a found child", chart("    object Function1: TStreamSeries\n    end\n"),
       "Error reading Chart1.Series1.Function1 at line 7: the component Function1 is a TStreamFunction, the stream "
       "holds a TStreamSeries"},
      {"root class", "object Chart1: TStreamSeries\nend\n",
       "Error reading Chart1 at line 1: the stream holds a TStreamSeries, which cannot be read into a TStreamChart"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const auto target = MakeStreamChart();
    TStreamSeries& s1 = Series(*target, "Series1");
    const std::string before = ComponentToText(*target);
    const int components = target->ComponentCount();
    TWarningRecorder warnings;
    EXPECT_TRUE(Raises([&] { ReadComponentText(r.text, *target); }, r.message));
    EXPECT_EQ(ComponentToText(*target), before);
    EXPECT_EQ(target->ComponentCount(), components);
    EXPECT_EQ(&Series(*target, "Series1"), &s1);
    EXPECT_EQ(s1.LoadedCount, 0);
    EXPECT_FALSE(s1.HasState(csLoading));
    EXPECT_TRUE(warnings.Warnings().empty());
  }
}

TEST_F(ComponentStream, AFailedBinaryReadNamesTheByteAndPutsTheStreamBack) {
  TStreamSeries bad(nullptr);
  bad.SetTitle("x");
  TStringStream s;
  s.WriteString("head");
  WriteComponent(s, bad);
  // Make the Title a set: still a well-formed stream, but not a string.
  std::string bytes = s.DataString();
  const std::size_t title = bytes.find("\x05Title");
  ASSERT_NE(title, std::string::npos);
  TStreamObject object = ReadObjectBinary(*std::make_unique<TStringStream>(bytes.substr(4)));
  object.Properties[1].Value.Type = vaSet;
  TStringStream forged;
  forged.WriteString("head");
  WriteObjectBinary(forged, object);
  forged.SetPosition(4);
  TStreamSeries target(nullptr);
  EXPECT_TRUE(Raises([&] { ReadComponent(forged, target); },
                     "Error reading TStreamSeries.Title at byte " + std::to_string(title) +
                         ": Invalid property value: a string expected, found a set"));
  EXPECT_EQ(forged.Position(), 4);
  EXPECT_EQ(target.Title(), "");
}

TEST_F(ComponentStream, ChildrenAreFoundByNameOrMadeThroughTheRegistry) {
  const auto chart = MakeStreamChart();
  TStreamSeries* s1 = &Series(*chart, "Series1");
  TStreamFunction* f = s1->Function();
  ReadComponentText(
      "object Chart1: TStreamChart\n"
      "  object Series1: TStreamSeries\n"
      "    Count = 8\n"
      "    object Function1: TStreamFunction\n"
      "      Period = 3.0\n"
      "    end\n"
      "  end\n"
      "  object Series3: TStreamSeries\n"
      "    Source = Series1\n"
      "  end\n"
      "end\n",
      *chart);
  EXPECT_EQ(&Series(*chart, "Series1"), s1) << "read into the one that was there";
  EXPECT_EQ(s1->Count(), 8);
  EXPECT_EQ(s1->Function(), f);
  EXPECT_EQ(f->Period(), 3);
  TStreamSeries& s3 = Series(*chart, "Series3");
  EXPECT_EQ(s3.Source(), s1);
  EXPECT_EQ(s3.LoadedCount, 1);
  EXPECT_EQ(chart->ComponentCount(), 4);
}

TEST_F(ComponentStream, ReferencesThatNameNoComponentAreReportedAndLeftAlone) {
  const auto chart = MakeStreamChart();
  TStreamSeries& s1 = Series(*chart, "Series1");
  TStreamSeries& s2 = Series(*chart, "Series2");
  TWarningRecorder warnings;
  ReadComponentText(
      "object Chart1: TStreamChart\n"
      "  object Series1: TStreamSeries\n"
      "    Source = Nowhere\n"
      "  end\n"
      "  object Series2: TStreamSeries\n"
      "    Source = Function1\n"
      "  end\n"
      "end\n",
      *chart);
  EXPECT_EQ(s1.Source(), &s2);
  EXPECT_EQ(s2.Source(), &s1);
  EXPECT_EQ(warnings.Warnings(),
            (std::vector<std::string>{
                "Chart1.Series1.Source: component Nowhere was not found; the reference is left as it was (line 3)",
                "Chart1.Series2.Source: Function1 (TStreamFunction) does not fit the property; the reference is left "
                "as it was (line 6)",
            }));
  ReadComponentText("object Chart1: TStreamChart\n  object Series1: TStreamSeries\n    Source = nil\n  end\nend\n",
                    *chart);
  EXPECT_EQ(s1.Source(), nullptr);
}

TEST_F(ComponentStream, ReadingACollectionReplacesItsItems) {
  TStreamSeries s(nullptr);
  for (int i = 0; i < 3; ++i) s.Lines()->Add();
  ReadComponentText("object TStreamSeries\n  Lines = <\n    item\n      X = 7.0\n    end>\nend\n", s);
  ASSERT_EQ(s.Lines()->Count(), 1);
  EXPECT_EQ(static_cast<TStreamLine*>(s.Lines()->Items(0))->X(), 7);
}

TEST_F(ComponentStream, TheRootTakesTheStreamsNameUnlessItsOwnerHasAnotherOfThatName) {
  TComponent owner;
  auto* a = new TStreamChart(&owner);
  a->SetName("A");
  auto* b = new TStreamChart(&owner);
  b->SetName("B");
  ReadComponentText("object C: TStreamChart\nend\n", *a);
  EXPECT_EQ(a->Name(), "C");
  ReadComponentText("object TStreamChart\n  Title = 'x'\nend\n", *a);
  EXPECT_EQ(a->Name(), "C") << "a stream without a name keeps the target's";
  EXPECT_TRUE(Raises([&] { ReadComponentText("object B: TStreamChart\n  Title = 'y'\nend\n", *a); },
                     "Error reading B at line 1: A component named B already exists"));
  EXPECT_EQ(a->Title(), "x");
}

TEST_F(ComponentStream, PropertyListsInsideBinaryPropertiesRoundTrip) {
  TStreamPen pen(0xFF);
  pen.SetWidth(5);
  pen.SetColor(0);
  TStringStream s;
  WritePropertyList(s, pen);
  WritePropertyList(s, TStreamPen(7));
  EXPECT_EQ(s.DataString().substr(0, 1), std::string(1, vaObject));
  s.SetPosition(0);
  TStreamPen back(0xFF);
  ReadPropertyList(s, back);
  EXPECT_EQ(back.Width(), 5);
  EXPECT_EQ(back.Color(), 0u);
  TStreamPen second(7);
  second.SetWidth(3);
  ReadPropertyList(s, second);
  EXPECT_EQ(second.Width(), 3) << "an empty list changes nothing";
  EXPECT_EQ(s.Position(), s.Size());
  TStringStream notAList(std::string("\x02\x05", 2));
  EXPECT_TRUE(Raises([&] { ReadPropertyList(notAList, second); },
                     "Invalid property value: a property list expected, found an integer"));
}

TEST_F(ComponentStream, DefinedPropertyWritersMustWriteOneValue) {
  TWriter none;
  EXPECT_TRUE(Raises([&] { none.TakeValue("Data"); }, "Property Data was written with 0 values instead of one"));
  TWriter open;
  open.WriteListBegin();
  EXPECT_TRUE(Raises([&] { open.TakeValue("Data"); }, "Property Data was written with a list left open"));
  TWriter list;
  list.WriteListBegin();
  list.WriteInteger(1);
  list.WriteListBegin();
  list.WriteListEnd();
  list.WriteListEnd();
  const TStreamValue v = list.TakeValue("Data");
  ASSERT_EQ(v.Type, vaList);
  ASSERT_EQ(v.Items.size(), 2u);

  TReader r(v);
  r.ReadListBegin();
  EXPECT_EQ(r.NextValue(), vaInt64);
  EXPECT_TRUE(Raises([&] { r.ReadString(); }, "Invalid property value: a string expected, found an integer"));
  EXPECT_EQ(r.ReadInt64(), 1);
  EXPECT_TRUE(Raises([&] { r.ReadListEnd(); }, "Invalid property value: the end of a list expected, found a list"));
  r.SkipValue();
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_EQ(r.NextValue(), vaNull);
  TStreamValue big;
  big.Type = vaInt64;
  big.Integer = std::int64_t{1} << 33;
  TReader wide(big);
  EXPECT_TRUE(Raises([&] { wide.ReadInteger(); }, "Invalid property value: 8589934592 does not fit in 32 bits"));
}

}  // namespace
