// Covers numeric/VecList.cpp and numeric/NumoraReport.cpp: the owned list's
// sizing, copies and stream (refused streams change nothing), and the
// report's texts for vectors, matrices, values and arrays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/VecTestUtil.h"
#include "platform/classlib/Streams.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::RaisedMessage;
using orvel::testing::Raises;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

TEST(VecList, SizingAndAccess) {
  TVecList list;
  EXPECT_EQ(list.Add(), 0);
  EXPECT_EQ(list.Add(), 1);
  TVec* first = &list.Items(0);
  list.SetCount(4);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(&list.Items(0), first);
  EXPECT_EQ(list.Items(3).Length(), 0);
  list.SetCount(1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(&list.Items(0), first);
  list.Add();
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_NE(&list.Items(0), first);
  EXPECT_TRUE(Raises([&] { list.Items(1); }, "List index out of bounds (1)"));
  EXPECT_TRUE(Raises([&] { list.Delete(-1); }, "List index out of bounds (-1)"));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(VecList, AssignMakesTheListACopy) {
  TVecList src, big, empty;
  src.SetCount(3);
  Set(src.Items(0), {1, 2});
  SetC(src.Items(1), {3, 4});
  src.Items(2).SetCaption("third");
  src.Items(2).SetTag(8);
  big.SetCount(5);
  TVec* kept = &big.Items(0);
  big.Assign(src);
  empty.Assign(src);
  for (TVecList* list : {&big, &empty}) {
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(DoublesOf(list->Items(0)), (std::vector<double>{1, 2}));
    EXPECT_TRUE(list->Items(1).Complex());
    EXPECT_EQ(list->Items(2).Caption(), "third");
    EXPECT_EQ(list->Items(2).Tag(), 8);
  }
  EXPECT_EQ(&big.Items(0), kept);
  src.Assign(src);
  EXPECT_EQ(src.Count(), 3);
}

TEST(VecList, StreamOfCountThenVectors) {
  TVecList list;
  list.SetCount(2);
  Set(list.Items(0), {2.5});
  classlib::TStringStream s;
  list.SaveToStream(s);
  const std::string bytes = s.DataString();
  // The count 2, a vector of one value, a vector with a header and no values.
  ASSERT_EQ(bytes.size(), 4u + (44 + 4 + 8) + (44 + 4));
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x02\x00\x00\x00", 4));

  TVecList target;
  target.SetCount(4);
  TVec* kept = &target.Items(0);
  s.SetPosition(0);
  target.LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(&target.Items(0), kept);
  EXPECT_EQ(DoublesOf(target.Items(0)), (std::vector<double>{2.5}));
  EXPECT_EQ(target.Items(1).Length(), 0);
}

TEST(VecList, RefusedStreamsChangeNothing) {
  TVecList list;
  list.SetCount(2);
  Set(list.Items(0), {1, 2, 3});
  classlib::TStringStream good;
  list.SaveToStream(good);
  const std::string bytes = good.DataString();
  struct Case {
    const char* What;
    std::string Bytes;
    std::string Message;
  };
  const Case cases[] = {
      {"no count", bytes.substr(0, 3), "Stream read error"},
      {"negative count", std::string("\xFF\xFF\xFF\xFF", 4) + bytes.substr(4),
       "TVecList: Error reading stream! The count -1 does not fit the 120 bytes that follow"},
      {"count too large", std::string("\x00\x00\x01\x00", 4) + bytes.substr(4),
       "TVecList: Error reading stream! The count 65536 does not fit the 120 bytes that follow"},
      {"second vector cut", bytes.substr(0, bytes.size() - 10), "Error reading stream!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TVecList target;
    target.SetCount(3);
    Set(target.Items(1), {9});
    classlib::TStringStream s(c.Bytes);
    EXPECT_EQ(RaisedMessage([&] { target.LoadFromStream(s); }), c.Message);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(target.Count(), 3);
    EXPECT_EQ(DoublesOf(target.Items(1)), (std::vector<double>{9}));
  }
}

TEST(NumoraReport, VectorsAndMatrices) {
  TNumoraReport report;
  TVec a, b;
  Set(a, {1.5, -2});
  SetC(b, {1, -0.5});
  const std::vector<const TVec*> vecs = {&a, &b};
  const std::vector<std::string> names = {"X"};
  report.PrintVec(vecs, names);
  EXPECT_EQ(report.DataString(),
            "X (2x1) =  \r\n\r\n 1.5000\r\n-2.0000\r\n\r\n"
            "Vec (1x1) =  \r\n\r\n 1.0000-0.5000i\r\n\r\n"
            "\r\n");
  TNumoraReport m("Before\r\n");
  TMtx mtx;
  mtx.SetIt(2, 2, false, std::vector<double>{1, 2, 3, -4});
  const std::vector<const TMtx*> mtxs = {&mtx};
  m.SetDelimiter(" | ");
  m.PrintMtx(mtxs, {});
  EXPECT_EQ(m.DataString(), "Before\r\nMtx (2x2) =  \r\n\r\n 1.0000 |  2.0000\r\n 3.0000 | -4.0000\r\n\r\n\r\n");
}

TEST(NumoraReport, ValuesAndArrays) {
  TNumoraReport report;
  const std::vector<double> values = {1.5, -2};
  const std::vector<std::string> names = {"X"};
  report.PrintVar(values, names);
  EXPECT_EQ(report.DataString(), "X =  1.5000\r\nVar = -2.0000\r\n\r\n");

  TNumoraReport c;
  const std::vector<TCplx> z = {{1, 2}, {0, -1}};
  // A zero real part is left out by CplxToStr.
  c.PrintCplxVar(z, {});
  c.PrintArray(std::vector<double>{1, 2, 3}, "");
  c.PrintArray(z, "Roots");
  c.PrintVar(std::vector<double>{}, {});
  EXPECT_EQ(c.DataString(),
            "CplxVar =  1.0000+2.0000i\r\nCplxVar = -1.0000i\r\n\r\n"
            "Array (1x3)\r\n 1.0000\r\n 2.0000\r\n 3.0000\r\n\r\n"
            "Roots\r\n 1.0000+2.0000i\r\n-1.0000i\r\n\r\n"
            "\r\n");
  c.SetReFormat("0.0");
  c.SetImFormat("+0.0i;-0.0i");
  EXPECT_EQ(c.ReFormat(), "0.0");
  EXPECT_EQ(c.ImFormat(), "+0.0i;-0.0i");
}

TEST(NumoraReport, TheUnitKeepsOneReport) {
  InitNumora();
  TNumoraReport& r = Report();
  EXPECT_EQ(&Report(), &r);
  EXPECT_EQ(r.ReFormat(), " 0.0000;-0.0000");
  EXPECT_EQ(r.ImFormat(), "+0.0000i;-0.0000i");
  EXPECT_EQ(r.Delimiter(), "\t");
}

}  // namespace
}  // namespace numeric
