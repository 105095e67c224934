// The mark list: records, sorting, the stream form and its checks.
// Covers signal/MarkList.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/classlib/Streams.h"
#include "signal/MarkList.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;
using sig::TMarkList;
using sig::TMarkRecord;

std::vector<double> Column(const TMarkList& List, double TMarkRecord::*Field) {
  std::vector<double> values;
  for (std::int32_t i = 0; i < List.Count(); ++i) values.push_back(List.GetMark(i).*Field);
  return values;
}

TEST(MarkList, MarksAreAddedReadChangedAndDeleted) {
  TMarkList list;
  list.AddMark({1, 2, 3, 4});
  list.AddMark({5, 6, 7, 8});
  list.GetMark(1).Third = 70;
  EXPECT_EQ(list.GetMark(1).Third, 70);
  list.DeleteMark(5);
  list.DeleteMark(-1);
  EXPECT_EQ(list.Count(), 2);
  list.DeleteMark(0);
  EXPECT_EQ(list.GetMark(0).First, 5);
  EXPECT_TRUE(Raises([&] { list.GetMark(1); }, "List index out of bounds (1)"));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(MarkList, SortsByTheKeyStablyWithNaNLast) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TMarkList list;
  list.AddMark({3, 1, 0, 9});
  list.AddMark({nan, 2, 0, 8});
  list.AddMark({1, 1, 0, 7});
  list.AddMark({2, 0, 0, 6});
  list.SortByFirst();
  const std::vector<double> first = Column(list, &TMarkRecord::First);
  EXPECT_EQ(first[0], 1);
  EXPECT_EQ(first[2], 3);
  EXPECT_TRUE(std::isnan(first[3]));
  // Equal keys keep their order: (3, 1) came before (1, 1) after the sort above.
  list.SortBySecond();
  EXPECT_EQ(Column(list, &TMarkRecord::First)[1], 1);
  EXPECT_EQ(Column(list, &TMarkRecord::Fourth), (std::vector<double>{6, 7, 9, 8}));
  list.SortByFourth();
  EXPECT_EQ(Column(list, &TMarkRecord::Fourth), (std::vector<double>{6, 7, 8, 9}));
  list.SetSortKey(2);
  list.AddMark({0, 0, -1, 0});
  list.Sort();
  EXPECT_EQ(list.GetMark(0).Third, -1);
}

TEST(MarkList, TheStreamIsAHeaderAndTheMarksInOrder) {
  TMarkList list;
  list.AddMark({50, 1, 0.5, 0});
  list.AddMark({10, 0.1, -0.5, 0});
  classlib::TMemoryStream stream;
  list.WriteToStream(stream);
  ASSERT_EQ(stream.Size(), 3 * 32);
  stream.SetPosition(0);
  const std::vector<double> expected = {0, 0, 0, 2, 50, 1, 0.5, 0, 10, 0.1, -0.5, 0};
  for (double value : expected) EXPECT_EQ(stream.ReadDouble(), value);

  TMarkList read;
  read.AddMark({9, 9, 9, 9});
  stream.SetPosition(0);
  read.ReadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  EXPECT_EQ(Column(read, &TMarkRecord::First), (std::vector<double>{50, 10}));
  EXPECT_EQ(Column(read, &TMarkRecord::Third), (std::vector<double>{0.5, -0.5}));
}

// A stream of a header with the given count followed by Records marks.
classlib::TMemoryStream* MakeStream(double Count, int Records) {
  auto* s = new classlib::TMemoryStream;
  for (int i = 0; i < 3; ++i) s->WriteDouble(0);
  s->WriteDouble(Count);
  for (int i = 0; i < 4 * Records; ++i) s->WriteDouble(i);
  s->SetPosition(0);
  return s;
}

TEST(MarkList, MalformedStreamsAreRefusedAndChangeNothing) {
  struct TCase {
    const char* Name;
    double Count;
    int Records;
    const char* Message;
  };
  const TCase cases[] = {
      {"negative count", -1, 3, "Mark list: invalid mark count -1"},
      {"NaN count", std::numeric_limits<double>::quiet_NaN(), 3, "Mark list: invalid mark count NAN"},
      {"infinite count", std::numeric_limits<double>::infinity(), 3, "Mark list: invalid mark count INF"},
      {"more marks than bytes", 4, 3, "Mark list: 4 marks do not fit in the 96 bytes left in the stream"},
      {"a count beyond any stream", 1e300, 0, "Mark list: 1E300 marks do not fit in the 0 bytes left in the stream"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMarkList list;
    list.AddMark({1, 2, 3, 4});
    std::unique_ptr<classlib::TMemoryStream> stream(MakeStream(c.Count, c.Records));
    EXPECT_TRUE(Raises([&] { list.ReadFromStream(*stream); }, c.Message));
    EXPECT_EQ(stream->Position(), 0);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetMark(0).Fourth, 4);
  }
  // A header cut short.
  TMarkList list;
  list.AddMark({1, 2, 3, 4});
  classlib::TMemoryStream cut;
  cut.WriteDouble(0);
  cut.WriteDouble(0);
  cut.SetPosition(0);
  EXPECT_THROW(list.ReadFromStream(cut), classlib::EReadError);
  EXPECT_EQ(cut.Position(), 0);
  EXPECT_EQ(list.Count(), 1);
  // The count is stored as a double: one that is not whole is read as the nearest whole number.
  std::unique_ptr<classlib::TMemoryStream> nearly(MakeStream(1.9999, 2));
  list.ReadFromStream(*nearly);
  EXPECT_EQ(list.Count(), 2);
}

// Random streams, and valid ones with bytes changed or cut: every read either
// takes exactly what the header announced or refuses and changes nothing.
TEST(MarkList, FuzzedStreamsAreReadWhollyOrRefused) {
  std::mt19937_64 random(orvel::testing::TestSeed(29101));
  int accepted = 0, refused = 0;
  constexpr int Runs = 20000;
  for (int run = 0; run < Runs; ++run) {
    std::string bytes;
    if (run % 4 == 0) {
      bytes.resize(random() % 200);
      for (char& b : bytes) b = static_cast<char>(random());
    } else {
      TMarkList source;
      const int n = static_cast<int>(random() % 5);
      for (int i = 0; i < n; ++i) source.AddMark({double(i), double(random() % 7), 0.5, -1.0});
      classlib::TMemoryStream s;
      source.WriteToStream(s);
      bytes.assign(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
      const int changes = 1 + static_cast<int>(random() % 3);
      for (int i = 0; i < changes; ++i) {
        switch (random() % 3) {
          case 0:  // a byte of the count's double, where it hurts most
            if (bytes.size() >= 32) bytes[24 + random() % 8] = static_cast<char>(random());
            break;
          case 1:
            if (!bytes.empty()) bytes[random() % bytes.size()] = static_cast<char>(random());
            break;
          default:
            bytes.resize(random() % (bytes.size() + 1));
        }
      }
    }
    classlib::TStringStream stream(bytes);
    TMarkList list;
    list.AddMark({7, 7, 7, 7});
    try {
      list.ReadFromStream(stream);
      ++accepted;
      EXPECT_EQ(stream.Position(), 32 + 32 * static_cast<std::int64_t>(list.Count()));
    } catch (const classlib::Exception&) {
      ++refused;
      EXPECT_EQ(stream.Position(), 0);
      ASSERT_EQ(list.Count(), 1);
      EXPECT_EQ(list.GetMark(0).First, 7);
    }
  }
  std::cout << "mark list fuzz: " << Runs << " streams, " << accepted << " read, " << refused << " refused\n";
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
