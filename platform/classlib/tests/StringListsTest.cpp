// Covers StringLists.cpp: text forms (CR LF, LF, CR), names and values,
// delimited text, sorting with duplicates, objects, change events, files.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

#include "platform/classlib/Streams.h"
#include "platform/classlib/StringLists.h"
#include "testing/TestSupport.h"

namespace {

using V = std::vector<std::string>;
using namespace classlib;
using orvel::testing::LinesOf;
using orvel::testing::TTempDir;

TEST(StringList, SetTextSplitsAtEveryLineEnd) {
  const struct {
    const char* text;
    V lines;
  } cases[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"", {}},
      {"\r\n", {""}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"no end", {"no end"}},
  };
  TStringList list;
  for (const auto& c : cases) {
    list.SetText(c.text);
    EXPECT_EQ(LinesOf(list), c.lines) << "text \"" << c.text << "\"";
  }
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TStringList list;
  list.Add("P1=10");
  list.Add("");
  list.Add("x");
  EXPECT_EQ(list.Text(), "P1=10\r\n\r\nx\r\n");
  TStringList back;
  back.SetText(list.Text());
  EXPECT_TRUE(back.Equals(list));
}

TEST(StringList, FileRoundTripReadsLfWritesCrLf) {
  TTempDir dir;
  const std::string name = dir.File("lines.txt");
  std::ofstream(name, std::ios::binary) << "first\nsecond\n\nfourth";
  TStringList list;
  list.LoadFromFile(name);
  EXPECT_EQ(LinesOf(list), (V{"first", "second", "", "fourth"}));
  list.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name), "first\r\nsecond\r\n\r\nfourth\r\n");
  TStringList again;
  again.LoadFromFile(name);
  EXPECT_TRUE(again.Equals(list));

  TStringStream stream("skip|one\r\ntwo");
  stream.SetPosition(5);
  again.LoadFromStream(stream);
  EXPECT_EQ(LinesOf(again), (V{"one", "two"}));
  TStringStream out;
  again.SaveToStream(out);
  EXPECT_EQ(out.DataString(), "one\r\ntwo\r\n");
  EXPECT_THROW(again.LoadFromFile(dir.File("missing")), EFOpenError);
}

TEST(StringList, IndexOfAndNamesIgnoreCase) {
  TStringList list;
  list.SetText("Alpha\nP1=10\nRipple=0.5\nnovalue\nD1=");
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("beta"), -1);
  EXPECT_EQ(list.Names(1), "P1");
  EXPECT_EQ(list.Names(3), "");
  EXPECT_EQ(list.ValueFromIndex(2), "0.5");
  EXPECT_EQ(list.Values("ripple"), "0.5");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("d1"), 4);

  list.SetValues("p1", "20");  // replaces, keeping the given spelling of the name
  EXPECT_EQ(list.Strings(1), "p1=20");
  list.SetValues("New", "x");
  EXPECT_EQ(list.Strings(list.Count() - 1), "New=x");
  list.SetValues("RIPPLE", "");  // an empty value deletes the line
  EXPECT_EQ(list.IndexOfName("Ripple"), -1);

  TStringList caseSensitive;
  caseSensitive.SetCaseSensitive(true);
  caseSensitive.Add("Alpha");
  EXPECT_EQ(caseSensitive.IndexOf("alpha"), -1);
  EXPECT_EQ(caseSensitive.IndexOf("Alpha"), 0);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  TStringList list;
  for (const char* s : {"a", "b c", "d\"e", "", "f,g"}) list.Add(s);
  EXPECT_EQ(list.CommaText(), "a,\"b c\",\"d\"\"e\",,\"f,g\"");
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_EQ(LinesOf(back), LinesOf(list));

  const struct {
    const char* text;
    V items;
  } cases[] = {
      {"a b,\"c d\",,e", {"a", "b", "c d", "", "e"}},  // unquoted items end at a blank too
      {"  a ,  b  ", {"a", "b"}},
      {"a,", {"a", ""}},
      {"\"\"", {""}},
      {"\"unterminated", {"unterminated"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    back.SetCommaText(c.text);
    EXPECT_EQ(LinesOf(back), c.items) << c.text;
  }
  back.Clear();
  back.Add("");
  EXPECT_EQ(back.CommaText(), "\"\"");
}

TEST(StringList, DelimitedTextWithItsOwnDelimiter) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetStrictDelimiter(true);
  list.SetDelimitedText("a b;c;;'x'");
  EXPECT_EQ(LinesOf(list), (V{"a b", "c", "", "'x'"}));
  EXPECT_EQ(list.DelimitedText(), "\"a b\";c;;'x'");
  EXPECT_EQ(list.CommaText(), "\"a b\",c,,'x'");
  EXPECT_EQ(list.Delimiter(), ';') << "CommaText leaves the list's delimiter alone";
}

TEST(StringList, SortedListKeepsOrderAndHandlesDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"b", "a", "C", "A"}) list.Add(s);
  EXPECT_EQ(LinesOf(list), (V{"a", "b", "C"})) << "dupIgnore drops A (case-insensitive)";
  int index = -1;
  EXPECT_TRUE(list.Find("c", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf("B"), 1);

  list.SetDuplicates(dupAccept);
  list.Add("B");
  EXPECT_EQ(LinesOf(list), (V{"a", "b", "B", "C"}));

  list.SetDuplicates(dupError);
  try {
    list.Add("c");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "String list does not allow duplicates");
  }
  try {
    list.Insert(0, "z");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "Operation not allowed on sorted list");
  }
  EXPECT_THROW(list.SetStrings(0, "z"), EStringListError);

  TStringList late;
  late.SetText("delta\nAlpha\ncharlie\nBravo");
  late.SetSorted(true);
  EXPECT_EQ(LinesOf(late), (V{"Alpha", "Bravo", "charlie", "delta"}));
  late.SetSorted(false);
  late.SetCaseSensitive(true);
  late.Sort();
  EXPECT_EQ(LinesOf(late), (V{"Alpha", "Bravo", "charlie", "delta"}));
  late.CustomSort([](const TStringList& l, int a, int b) {
    return static_cast<int>(l.Strings(a).size()) - static_cast<int>(l.Strings(b).size());
  });
  EXPECT_EQ(LinesOf(late), (V{"Alpha", "Bravo", "delta", "charlie"}));
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("a");
  try {
    list.Strings(5);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(2, "x"), EStringListError);
  EXPECT_NO_THROW(list.Insert(1, "x"));
}

TEST(StringList, ObjectsTravelWithTheirLines) {
  int a = 1, b = 2, c = 3;
  TStringList list;
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.AddObject("c", &c);
  list.Exchange(0, 2);
  EXPECT_EQ(list.Strings(0), "c");
  EXPECT_EQ(list.Objects(0), &c);
  EXPECT_EQ(list.Objects(2), &a);
  list.Move(0, 2);
  EXPECT_EQ(LinesOf(list), (V{"b", "a", "c"}));
  EXPECT_EQ(list.Objects(2), &c);
  EXPECT_EQ(list.IndexOfObject(&a), 1);
  list.SetStrings(1, "A");
  EXPECT_EQ(list.Objects(1), &a) << "replacing a line keeps its object";
  list.SetSorted(true);
  EXPECT_EQ(list.Objects(list.IndexOf("c")), &c) << "sorting moves objects along";

  TStringList copy;
  copy.Assign(list);
  EXPECT_TRUE(copy.Equals(list));
  EXPECT_EQ(copy.Objects(0), list.Objects(0));
  copy.AddStrings(copy);
  EXPECT_EQ(copy.Count(), 6) << "adding a list to itself adds each line once";
}

TEST(StringList, ChangeEventsFireOncePerUpdate) {
  TStringList list;
  int changes = 0, changing = 0;
  list.OnChange = [&](TStringList&) { ++changes; };
  list.OnChanging = [&](TStringList&) { ++changing; };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.SetText("x\ny\nz");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changing, 2);
  list.BeginUpdate();
  list.Add("1");
  list.Delete(0);
  EXPECT_EQ(changes, 2);
  list.EndUpdate();
  EXPECT_EQ(changes, 3);
}

TEST(StringList, IsARegisteredPersistentClass) {
  std::unique_ptr<TPersistent> made(TStringList::StaticClassInfo().Create());
  auto* list = dynamic_cast<TStringList*>(made.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ClassName(), "TStringList");
  EXPECT_TRUE(list->InheritsFrom(TStrings::StaticClassInfo()));
  EXPECT_FALSE(TStrings::StaticClassInfo().Creatable());
}

}  // namespace
