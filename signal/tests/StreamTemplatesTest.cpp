// Named stream lists and parameter templates.
// Covers signal/StreamTemplates.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "numeric/MtxBaseComp.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"
#include "signal/StreamTemplates.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;
using orvel::testing::TTempDir;
using sig::TStreamTemplates;
using sig::TStringStreamList;

// A parameter set of numbers: an int32 count, then the doubles. A stream it
// cannot read leaves it as it was.
class TNumbers : public sig::TStreamedRecordList<double> {
 public:
  void SaveToStream(classlib::TStream& Stream) override {
    Stream.WriteInt32(Count());
    for (double v : Records()) Stream.WriteDouble(v);
  }
  void LoadFromStream(classlib::TStream& Stream) override {
    const std::int32_t n = Stream.ReadInt32();
    if (n < 0 || n > (Stream.Size() - Stream.Position()) / 8) throw classlib::Exception("bad numbers");
    std::vector<double> read(static_cast<std::size_t>(n));
    for (double& v : read) v = Stream.ReadDouble();
    Records() = read;
  }
  std::vector<double> All() const {
    std::vector<double> v;
    for (std::int32_t i = 0; i < Count(); ++i) v.push_back(Items(i));
    return v;
  }
};

// Templates over a live TNumbers, with entries "A" (1), "B" (2, 2), "C" (3, 3, 3).
struct Templates : ::testing::Test {
  TNumbers Live;
  TStreamTemplates T;
  Templates() {
    T.SetTemplate(&Live);
    for (int k = 1; k <= 3; ++k) {
      T.AddEmptyTemplate(std::string(1, char('A' + k - 1)));
      for (int i = 0; i < k; ++i) Live.Add(k);
    }
  }
};

TEST_F(Templates, AddingSelectsTheNewEntry) {
  EXPECT_EQ(T.Templates().Count(), 3);
  EXPECT_EQ(T.TemplateIndex(), 2);
  EXPECT_EQ(T.TemplateName(), "C");
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
  T.AddEmptyTemplate("Empty");
  EXPECT_EQ(T.TemplateIndex(), 3);
  EXPECT_EQ(Live.Count(), 0);
  // The entry left by AddEmptyTemplate kept its set.
  T.SetTemplateIndex(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
  // AddTemplate starts from a copy of the live set.
  T.AddTemplate("Copy");
  EXPECT_EQ(T.TemplateIndex(), 4);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
  Live.Add(4);
  T.SetTemplateIndex(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
}

TEST_F(Templates, SwitchingSavesTheLiveSetIntoItsEntry) {
  T.SetTemplateIndex(0);
  EXPECT_EQ(Live.All(), (std::vector<double>{1}));
  Live.Add(10);
  T.SetTemplateIndex(1);
  EXPECT_EQ(Live.All(), (std::vector<double>{2, 2}));
  T.SetTemplateIndex(0);
  EXPECT_EQ(Live.All(), (std::vector<double>{1, 10}));
  EXPECT_EQ(T.TemplateName(), "A");
}

TEST_F(Templates, AnIndexOutsideTheListDeselectsAndClears) {
  T.SetTemplateIndex(5);
  EXPECT_EQ(T.TemplateIndex(), -1);
  EXPECT_EQ(T.TemplateName(), "");
  EXPECT_EQ(Live.Count(), 0);
  // The entry that was selected kept the live set.
  T.SetTemplateIndex(2);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
}

TEST_F(Templates, AnUnknownNameChangesNothing) {
  T.SetTemplateName("Nowhere");
  EXPECT_EQ(T.TemplateIndex(), 2);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
  T.SetTemplateName("b");  // names compare without case
  EXPECT_EQ(T.TemplateIndex(), 1);
}

TEST(StreamedRecordList, MoveTakesAnItemOutAndPutsItBackAtTheNewIndex) {
  TNumbers n;
  for (double v : {0.0, 1.0, 2.0, 3.0}) n.Add(v);
  n.Move(0, 2);
  EXPECT_EQ(n.All(), (std::vector<double>{1, 2, 0, 3}));
  n.Move(3, 0);
  EXPECT_EQ(n.All(), (std::vector<double>{3, 1, 2, 0}));
  n.Move(1, 1);
  EXPECT_EQ(n.All(), (std::vector<double>{3, 1, 2, 0}));
  EXPECT_TRUE(Raises([&] { n.Move(0, 4); }, "List index out of bounds (4)"));
  EXPECT_TRUE(Raises([&] { n.Move(-1, 0); }, "List index out of bounds (-1)"));
  EXPECT_EQ(n.All(), (std::vector<double>{3, 1, 2, 0}));
}

TEST_F(Templates, DeletingAndClearingDeselectFirst) {
  T.DeleteTemplate(0);
  EXPECT_EQ(T.TemplateIndex(), -1);
  EXPECT_EQ(T.Templates().Strings(0), "B");
  T.SetTemplateIndex(1);
  EXPECT_EQ(Live.All(), (std::vector<double>{3, 3, 3}));
  T.ClearTemplates();
  EXPECT_EQ(T.Templates().Count(), 0);
  EXPECT_EQ(Live.Count(), 0);
  EXPECT_TRUE(Raises([&] { T.SetTemplates(TStringStreamList()); }, "Operation not supported!"));
}

TEST_F(Templates, RefreshStoresTheLiveSetInItsEntry) {
  Live.Add(4);
  T.RefreshTemplate();
  EXPECT_EQ(T.TemplateIndex(), 2);
  classlib::TMemoryStream& entry = T.Templates().Stream(2);
  entry.SetPosition(0);
  EXPECT_EQ(entry.ReadInt32(), 4);
  entry.SetPosition(0);
}

TEST_F(Templates, AFileRoundTripRestoresNamesSetsAndSelection) {
  TTempDir dir;
  const std::string file = dir.File("bands.tpl");
  T.SetTemplateIndex(1);
  Live.Add(7);  // saving stores the live set first
  T.SaveToFile(file);

  TNumbers live;
  TStreamTemplates read;
  read.SetTemplate(&live);
  read.LoadFromFile(file);
  ASSERT_EQ(read.Templates().Count(), 3);
  EXPECT_EQ(read.Templates().Strings(2), "C");
  EXPECT_EQ(read.TemplateIndex(), 1);
  EXPECT_EQ(read.TemplateName(), "B");
  EXPECT_EQ(live.All(), (std::vector<double>{2, 2, 7}));
  read.SetTemplateIndex(2);
  EXPECT_EQ(live.All(), (std::vector<double>{3, 3, 3}));

  // A file that does not exist is not loaded, and nothing changes.
  read.LoadFromFile(dir.File("missing.tpl"));
  EXPECT_EQ(read.Templates().Count(), 3);
}

TEST_F(Templates, TheStreamIsTheClassNameTheIndexTheNamesAndTheSets) {
  T.SetTemplateIndex(0);
  classlib::TMemoryStream s;
  T.SaveToStream(s);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadInt32(), 16);
  std::string name(16, '\0');
  s.ReadBuffer(name.data(), 16);
  EXPECT_EQ(name, "TStreamTemplates");
  EXPECT_EQ(s.ReadInt32(), 0);
  EXPECT_EQ(s.ReadInt32(), 9);
  std::string names(9, '\0');
  s.ReadBuffer(names.data(), 9);
  EXPECT_EQ(names, "A\r\nB\r\nC\r\n");
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(s.ReadInt32(), 4 + 8 * k);
    EXPECT_EQ(s.ReadInt32(), k);
    for (int i = 0; i < k; ++i) EXPECT_EQ(s.ReadDouble(), k);
  }
  EXPECT_EQ(s.Position(), s.Size());
}

// A stream written by hand: class name, index, names (LF only) and sets.
std::string HandMade(const std::string& ClassName, std::int32_t Index, const std::string& Names,
                     const std::vector<std::vector<double>>& Sets, std::int32_t SizeOverride = -2) {
  classlib::TMemoryStream s;
  numeric::WriteStreamString(s, ClassName);
  s.WriteInt32(Index);
  s.WriteInt32(static_cast<std::int32_t>(Names.size()));
  s.WriteBuffer(Names.data(), static_cast<std::int64_t>(Names.size()));
  for (const auto& set : Sets) {
    s.WriteInt32(SizeOverride != -2 ? SizeOverride : 4 + 8 * static_cast<std::int32_t>(set.size()));
    s.WriteInt32(static_cast<std::int32_t>(set.size()));
    for (double v : set) s.WriteDouble(v);
  }
  return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

TEST_F(Templates, NamesEndedByLineFeedsAloneAreRead) {
  classlib::TStringStream s(HandMade("TStreamTemplates", 1, "x\ny\n", {{5}, {6, 6}}));
  T.LoadFromStream(s);
  EXPECT_EQ(T.Templates().Count(), 2);
  EXPECT_EQ(T.TemplateName(), "y");
  EXPECT_EQ(Live.All(), (std::vector<double>{6, 6}));
}

TEST_F(Templates, AStreamOfAnotherClassIsRefused) {
  classlib::TStringStream s(HandMade("TSignalSounds", 0, "x\r\n", {{5}}));
  EXPECT_TRUE(Raises([&] { T.LoadFromStream(s); }, "Data format type missmatch: TSignalSounds <> TStreamTemplates"));
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(T.Templates().Count(), 3);
}

TEST_F(Templates, MalformedStreamsAreRefusedAndChangeNothing) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  std::string truncated = HandMade("TStreamTemplates", 0, "x\r\ny\r\n", {{5}, {6}});
  truncated.resize(truncated.size() - 3);
  std::string longText = HandMade("TStreamTemplates", 0, "", {});
  longText.replace(longText.size() - 4, 4, std::string("\x10\x27\x00\x00", 4));  // 10000 characters
  std::string negativeText = HandMade("TStreamTemplates", 0, "", {});
  negativeText.replace(negativeText.size() - 4, 4, std::string("\xFF\xFF\xFF\xFF", 4));
  const TCase cases[] = {
      {"negative stream size", HandMade("TStreamTemplates", 0, "x\r\n", {{5}}, -1),
       "Template stream: negative stream size -1"},
      {"oversized stream size", HandMade("TStreamTemplates", 0, "x\r\n", {{5}}, 1 << 30),
       "Template stream: stream size 1073741824 exceeds the 12 bytes left"},
      {"fewer sets than names", truncated, "Template stream: stream size 12 exceeds the 9 bytes left"},
      {"name text beyond the end", longText, "Template stream: name text length 10000 exceeds the 0 bytes left"},
      {"negative name text", negativeText, "Template stream: negative name text length -1"},
      {"a set its list cannot read", HandMade("TStreamTemplates", 0, "x\r\n", {{5}}, 4), "bad numbers"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    T.SetTemplateIndex(1);
    Live.Add(8);
    classlib::TStringStream s(c.Bytes);
    EXPECT_TRUE(Raises([&] { T.LoadFromStream(s); }, c.Message));
    EXPECT_EQ(s.Position(), 0);
    ASSERT_EQ(T.Templates().Count(), 3);
    EXPECT_EQ(T.Templates().Strings(0), "A");
    EXPECT_EQ(T.TemplateIndex(), 1);
    EXPECT_EQ(T.TemplateName(), "B");
    EXPECT_EQ(Live.All(), (std::vector<double>{2, 2, 8}));
    Live.ClearList();
    Live.Add(2);
    Live.Add(2);
  }
}

TEST_F(Templates, AssignCopiesEntriesAndSelectionWithoutMixingInTheLiveSet) {
  TNumbers live;
  TStreamTemplates copy;
  copy.SetTemplate(&live);
  live.Add(99);
  copy.AddTemplate("Mine");
  copy.AddTemplate("Second");
  copy.SetTemplateIndex(1);
  live.Add(100);  // an edit of the live set, at the copy's index 1
  T.SetTemplateIndex(0);
  copy.Assign(T);
  EXPECT_EQ(copy.Templates().Count(), 3);
  EXPECT_EQ(copy.TemplateIndex(), 0);
  EXPECT_EQ(live.All(), (std::vector<double>{1}));
  // Entry 1 is T's entry, not the copy's former live set.
  copy.SetTemplateIndex(1);
  EXPECT_EQ(live.All(), (std::vector<double>{2, 2}));
  // The same index on both sides still loads the copied entry.
  T.SetTemplateIndex(1);
  live.Add(55);
  copy.Assign(T);
  EXPECT_EQ(live.All(), (std::vector<double>{2, 2}));
}

TEST_F(Templates, TheTemplatesTravelInsideAComponentStream) {
  T.SetTemplateIndex(1);
  classlib::TMemoryStream s;
  classlib::WritePropertyList(s, T);
  TNumbers live;
  TStreamTemplates read;
  read.SetTemplate(&live);
  s.SetPosition(0);
  classlib::ReadPropertyList(s, read);
  ASSERT_EQ(read.Templates().Count(), 3);
  EXPECT_EQ(read.TemplateIndex(), 1);
  EXPECT_EQ(live.All(), (std::vector<double>{2, 2}));
}

TEST(StringStreamList, EveryNameOwnsAStreamThatMovesWithIt) {
  TStringStreamList list;
  list.Add("one");
  list.Add("two");
  list.Stream(0).WriteInt32(1);
  list.Stream(1).WriteInt32(2);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Strings(0), "two");
  EXPECT_EQ(list.Stream(0).Size(), 4);
  list.Stream(0).SetPosition(0);
  EXPECT_EQ(list.Stream(0).ReadInt32(), 2);
  list.Insert(0, "zero");
  EXPECT_EQ(list.Stream(0).Size(), 0);
  list.Move(0, 2);
  EXPECT_EQ(list.Strings(2), "zero");
  list.Stream(1).SetPosition(0);
  EXPECT_EQ(list.Stream(1).ReadInt32(), 1);
  // An object that is not one of the list's streams is not taken.
  classlib::TMemoryStream foreign;
  list.SetObjects(0, &foreign);
  EXPECT_NE(&list.Stream(0), &foreign);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_TRUE(Raises([&] { list.Add("a\r\nb"); }, "Template name must not contain a line break: \"a\r\nb\""));
}

TEST(StringStreamList, AssignAppendAndTheirStreams) {
  TStringStreamList source;
  source.Add("x");
  source.Stream(0).WriteInt32(42);
  TStringStreamList copy;
  copy.Add("old");
  copy.Assign(source);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.Strings(0), "x");
  copy.Stream(0).SetPosition(0);
  EXPECT_EQ(copy.Stream(0).ReadInt32(), 42);
  EXPECT_NE(&copy.Stream(0), &source.Stream(0));

  classlib::TStringList names;
  names.Add("p");
  names.Add("q");
  copy.Assign(names);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Stream(1).Size(), 0);

  copy.AppendFrom(source);
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.Stream(2).Size(), 4);
  classlib::TMemoryStream saved;
  source.SaveToStream(saved);
  saved.SetPosition(0);
  copy.AppendFromStream(saved);
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.Strings(3), "x");
}

// Valid template streams with bytes changed or cut, and random bytes: every
// load either succeeds or refuses and changes nothing.
TEST(StreamTemplatesFuzz, MalformedStreamsNeverHalfLoad) {
  std::mt19937_64 random(orvel::testing::TestSeed(29107));
  TNumbers live;
  TStreamTemplates t;
  t.SetTemplate(&live);
  live.Add(1);
  t.AddTemplate("first");
  live.Add(2);
  t.AddTemplate("second");
  classlib::TMemoryStream valid;
  t.SaveToStream(valid);
  const std::string good(static_cast<const char*>(valid.Memory()), static_cast<std::size_t>(valid.Size()));

  int loaded = 0, refused = 0;
  constexpr int Runs = 20000;
  for (int run = 0; run < Runs; ++run) {
    std::string bytes = good;
    if (run % 5 == 0) {
      bytes.resize(random() % 120);
      for (char& b : bytes) b = static_cast<char>(random());
    } else {
      const int changes = 1 + static_cast<int>(random() % 3);
      for (int i = 0; i < changes && !bytes.empty(); ++i) {
        if (random() % 4 == 0)
          bytes.resize(random() % (bytes.size() + 1));
        else
          bytes[random() % bytes.size()] = static_cast<char>(random());
      }
    }
    TNumbers target;
    TStreamTemplates into;
    into.SetTemplate(&target);
    target.Add(5);
    into.AddTemplate("kept");
    classlib::TStringStream s(bytes);
    try {
      into.LoadFromStream(s);
      ++loaded;
    } catch (const classlib::Exception&) {
      ++refused;
      EXPECT_EQ(s.Position(), 0);
      ASSERT_EQ(into.Templates().Count(), 1);
      EXPECT_EQ(into.TemplateName(), "kept");
      EXPECT_EQ(target.All(), (std::vector<double>{5}));
    }
  }
  std::cout << "template fuzz: " << Runs << " streams, " << loaded << " loaded, " << refused << " refused\n";
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
