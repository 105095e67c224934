// Covers numeric/MtxStorage.cpp: defaults, sizing and capacity, the block
// layout, reinterpretation, Resize, ResizeCopy, MeanSquare, the failure
// texts and the published-property table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

using testutil::NearRel;
using testutil::Raises;

// Element (i, j) := 10 i + j, so that a value tells where it came from.
void Label(TMtx& m) {
  for (std::int32_t i = 0; i < m.Rows(); ++i)
    for (std::int32_t j = 0; j < m.Cols(); ++j) m.RowValues(i)[j] = 10.0 * i + j;
}

TEST(MtxStorage, NewMatrixDefaults) {
  TMtx m;
  EXPECT_EQ(m.Rows(), 0);
  EXPECT_EQ(m.Cols(), 0);
  EXPECT_EQ(m.ActualSize(), 0);
  EXPECT_EQ(m.Values(), nullptr);
  EXPECT_EQ(m.TriangleForm(), tfUpper);
  EXPECT_EQ(m.Balance(), btFull);
  EXPECT_EQ(m.ConditionNumber(), cnNone);
  EXPECT_EQ(m.EigGenType(), etAzBz);
  EXPECT_TRUE(m.ConditionCheck());
  EXPECT_FALSE(m.Complex());
  EXPECT_EQ(m.CacheIndex(), -1);
}

TEST(MtxStorage, CapacityHasTheReserveFloor) {
  TMtx m;
  m.Size(2, 3, false);
  EXPECT_EQ(m.ActualSize(), 1024);
  EXPECT_EQ(m.BlockSize(), (1024 + 4) * 8 + 40);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(m.Values()) % 32, 0u);
  EXPECT_FALSE(m.Quadratic());
  m.Size(40, 40, false);
  EXPECT_EQ(m.ActualSize(), 1600);
  EXPECT_TRUE(m.Quadratic());
  m.Size(0, 0, false);
  EXPECT_EQ(m.ActualSize(), 1024);

  TMtx c;
  c.Size(3, 3, true);
  EXPECT_EQ(c.ActualSize(), 512);
  EXPECT_EQ(c.BlockSize(), (512 + 4) * 16 + 40);

  TMtx e;
  e.SetActualSize(7);
  EXPECT_EQ(e.ActualSize(), 8);
}

TEST(MtxStorage, PowerOfTwoFlag) {
  TMtx m;
  m.Size(4, 8, false);
  EXPECT_TRUE(m.PowerOfTwo());
  m.Size(4, 6, false);
  EXPECT_FALSE(m.PowerOfTwo());
}

TEST(MtxStorage, ComplexReinterpretsTheSameDoubles) {
  TMtx m;
  m.Size(2, 4, false);
  std::iota(m.Values(), m.Values() + 8, 1.0);
  m.SetComplex(true);
  EXPECT_EQ(m.Rows(), 2);
  EXPECT_EQ(m.Cols(), 2);
  EXPECT_EQ(m.ActualSize(), 512);
  EXPECT_TRUE(m.Quadratic());
  EXPECT_EQ(m.CRowValues(1)[0].Re, 5.0);
  EXPECT_EQ(m.CRowValues(1)[0].Im, 6.0);
  m.SetComplex(false);
  EXPECT_EQ(m.Cols(), 4);
  EXPECT_EQ(m.ActualSize(), 1024);
  EXPECT_EQ(m.RowValues(1)[3], 8.0);
}

TEST(MtxStorage, SameShapeKeepsValuesAndFiresNoEvent) {
  TMtx m;
  int events = 0;
  m.SetOnSetSize([&](TMtx& sender) {
    EXPECT_EQ(&sender, &m);
    ++events;
  });
  m.Size(3, 3, false);
  EXPECT_EQ(events, 1);
  Label(m);
  const double* block = m.Values();
  m.Size(3, 3, false);
  EXPECT_EQ(events, 1);
  EXPECT_EQ(m.RowValues(2)[2], 22.0);
  // A new shape within the capacity keeps the block: the values stay in memory order.
  m.Size(1, 9, false);
  EXPECT_EQ(events, 2);
  EXPECT_EQ(m.Values(), block);
  EXPECT_EQ(m.Values()[4], 11.0);
  m.SetRows(2);
  m.SetCols(4);
  EXPECT_EQ(m.Rows(), 2);
  EXPECT_EQ(m.Cols(), 4);
  EXPECT_EQ(events, 4);
}

TEST(MtxStorage, ResizeKeepsTheOverlapAtItsPositions) {
  TMtx m;
  m.Size(3, 3, false);
  Label(m);
  m.Resize(2, 2);
  ASSERT_EQ(m.Rows(), 2);
  EXPECT_EQ(m.RowValues(1)[0], 10.0);
  EXPECT_EQ(m.RowValues(1)[1], 11.0);

  m.Size(3, 3, false);
  Label(m);
  m.Resize(4, 4);
  for (std::int32_t i = 0; i < 3; ++i)
    for (std::int32_t j = 0; j < 3; ++j) EXPECT_EQ(m.RowValues(i)[j], 10.0 * i + j);

  // Across a reallocation, complex.
  TMtx c;
  c.Size(2, 2, true);
  std::iota(c.Values(), c.Values() + 8, 1.0);
  c.Resize(30, 30);
  EXPECT_EQ(c.ActualSize(), 900);
  EXPECT_EQ(c.CRowValues(1)[1].Re, 7.0);
  EXPECT_EQ(c.CRowValues(1)[1].Im, 8.0);
}

TEST(MtxStorage, ResizeCopy) {
  TMtx a, b;
  a.Size(2, 3, false);
  Label(a);
  EXPECT_TRUE(Raises([&] { a.ResizeCopy(a, 2, 3, false); }, "A = Self"));

  b.ResizeCopy(a, 2, 3, true);  // same shape, transposed
  EXPECT_EQ(b.Rows(), 3);
  EXPECT_EQ(b.Cols(), 2);
  EXPECT_EQ(b.RowValues(2)[1], 12.0);

  b.ResizeCopy(a, 4, 2, false);  // more rows, fewer columns
  EXPECT_EQ(b.Rows(), 4);
  EXPECT_EQ(b.Cols(), 2);
  EXPECT_EQ(b.RowValues(1)[1], 11.0);

  b.ResizeCopy(a, 1, 5, true);
  EXPECT_EQ(b.Rows(), 5);
  EXPECT_EQ(b.Cols(), 1);
  EXPECT_EQ(b.RowValues(2)[0], 2.0);

  TMtx c, ct;
  c.Size(1, 2, true);
  std::iota(c.Values(), c.Values() + 4, 1.0);
  ct.ResizeCopy(c, 1, 2, true);
  EXPECT_TRUE(ct.Complex());
  EXPECT_EQ(ct.Rows(), 2);
  EXPECT_EQ(ct.CRowValues(1)[0].Im, 4.0);  // transposed, not conjugated
}

TEST(MtxStorage, MeanSquare) {
  TMtx m;
  m.Size(2, 3, false);
  const double values[] = {1, -2, 3, 4, 5, -6};
  std::copy(std::begin(values), std::end(values), m.Values());
  EXPECT_TRUE(NearRel(m.MeanSquare(), std::sqrt(91.0 / 6.0), 4 * EPS));
  m.SetComplex(true);
  EXPECT_TRUE(Raises([&] { m.MeanSquare(); }, "Complex = True"));
}

TEST(MtxStorage, FailuresLeaveTheMatrixUsable) {
  TMtx m;
  m.Size(3, 3, false);
  Label(m);
  EXPECT_TRUE(Raises([&] { m.Size(65536, 65536, false); }, "Out of memory! Attempted to allocate over 2GB!"));
  // 4e8 doubles are 3.2 GB: refused by the block limit before the old block goes.
  EXPECT_TRUE(Raises([&] { m.Size(20000, 20000, false); }, "Out of memory! Attempted to allocate over 2GB!"));
  EXPECT_EQ(m.Rows(), 3);
  EXPECT_EQ(m.ActualSize(), 1024);
  EXPECT_EQ(m.RowValues(2)[1], 21.0);
  EXPECT_TRUE(Raises([&] { m.SetActualSize(-1); }, "SetActualSize: Value < 0"));
  EXPECT_TRUE(Raises([&] { m.Size(-1, 2, false); }, "Rows < 0"));
  EXPECT_TRUE(Raises([&] { m.SetCols(-2); }, "Cols < 0"));
}

TEST(MtxStorage, CapacityBelowTheShapeEmptiesTheMatrix) {
  TMtx m;
  m.Size(3, 3, false);
  m.SetActualSize(4);
  EXPECT_EQ(m.ActualSize(), 4);
  EXPECT_EQ(m.Rows(), 0);
  EXPECT_EQ(m.Cols(), 0);
  m.SetActualSize(0);
  EXPECT_EQ(m.Values(), nullptr);
  EXPECT_EQ(m.BlockSize(), 0);
}

TEST(MtxStorage, PublishedPropertiesAndDefaults) {
  const classlib::TClassInfo& info = TMtx::StaticClassInfo();
  std::vector<std::string> names;
  for (const classlib::TPropInfo* p : info.Properties()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"AutoMtxType", "Balance", "ConditionCheck", "Cols", "Complex",
                                             "ConditionNumber", "Caption", "EigGenType", "RefineSolution",
                                             "Rows", "SuperDiag", "SubDiag", "TriangleForm", "TriangleUnit",
                                             "Tag"}));
  const classlib::TPropInfo* balance = info.FindProperty("Balance");
  ASSERT_NE(balance, nullptr);
  EXPECT_EQ(balance->TypeName, "TBalanceType");
  EXPECT_EQ(balance->ValueName(btPerm), "btPerm");

  TMtx m;
  m.SetBalance(btNone);
  m.SetTriangleForm(tfLower);
  m.SetEigGenType(etBAz);
  m.SetSuperDiag(2);
  m.Size(2, 2, false);
  EXPECT_TRUE(balance->IsStored(m));
  classlib::ResetToDefaults(m);
  EXPECT_EQ(m.Balance(), btFull);
  EXPECT_EQ(m.TriangleForm(), tfUpper);
  EXPECT_EQ(m.EigGenType(), etAzBz);
  EXPECT_EQ(m.SuperDiag(), 0);
  EXPECT_EQ(m.Rows() * m.Cols(), 0);
}

}  // namespace
}  // namespace numeric
