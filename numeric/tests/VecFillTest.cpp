// Covers numeric/VecFill.cpp: complex constants and arrays, ramps over the
// vector and over a range, unit phasors in place.
#include <gtest/gtest.h>

#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::DoublesOf;
using testutil::Raises;

TEST(VecFill, ConstantsAndArrays) {
  TVec v;
  v.Size(2, true);
  v.SetVal(TCplx{1, -2});
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, -2, 1, -2}));
  v.Size(2, false);
  v.SetVal(TCplx{3, 4});
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{3, 3}));
  const std::vector<TCplx> a{{1, 2}, {3, 4}};
  v.SetCplxArray(a);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 2, 3, 4}));
  v.SetCplxArray({});
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 0);
}

TEST(VecFill, Ramps) {
  TVec v;
  v.Size(4, false);
  v.Ramp(2, 0.5);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{2, 2.5, 3, 3.5}));
  // each element from its own index: no drift from a running sum
  v.SetLength(1000);
  v.Ramp(0, 0.1);
  EXPECT_EQ(v.Values()[999], 99.9);
  v.Size(3, true);
  v.SetZero();
  v.Ramp(1, 1, 1, 2);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{0, 0, 1, 0, 2, 0}));
  EXPECT_NO_THROW(v.Ramp(0, 1, 0, 3));
  EXPECT_TRUE(Raises([&] { v.Ramp(0, 1, 1, 3); }, "Index+Len > fLength"));
  EXPECT_TRUE(Raises([&] { v.Ramp(0, 1, -1, 1); }, "(Len < 0) or (Index < 0)"));
}

TEST(VecFill, PhasorsInPlace) {
  TVec v;
  v.Size(2, false);
  v.Values()[0] = 0;
  v.Values()[1] = PI / 2;
  v.Expj();
  ASSERT_TRUE(v.Complex());
  ASSERT_EQ(v.Length(), 2);
  EXPECT_EQ(v.CValues()[0].Re, 1.0);
  EXPECT_EQ(v.CValues()[0].Im, 0.0);
  EXPECT_TRUE(std::fabs(v.CValues()[1].Re) < 1e-16);
  EXPECT_EQ(v.CValues()[1].Im, 1.0);
  EXPECT_TRUE(Raises([&] { v.Expj(); }, "Complex = True"));
}

}  // namespace
}  // namespace numeric
