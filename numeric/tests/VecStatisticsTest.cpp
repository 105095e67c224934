// Covers numeric/VecStatistics.cpp: the moments' edge cases, products, dot
// products with their range checks, the sort (NaN pivots, complex ties) and
// the median. Values against numpy and scipy are in VecTransformsOracleTest.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::DoublesOf;
using testutil::Raises;
using testutil::Set;
using testutil::SetCplx;

TEST(VecStatistics, StandardDeviationEdges) {
  TVec v;
  EXPECT_EQ(Set(v, {1, 3}).StdDev(2), std::sqrt(2.0));
  EXPECT_EQ(Set(v, {}).StdDev(2), 0.0);
  // one element: no spread to estimate, whatever the mean
  EXPECT_TRUE(std::isnan(Set(v, {5}).StdDev(2)));
  EXPECT_TRUE(std::isnan(Set(v, {5}).StdDev(5)));
  EXPECT_TRUE(Raises([&] { SetCplx(v, {{1, 1}, {2, 2}}).StdDev(0); }, "Complex = True"));
  EXPECT_TRUE(std::isnan(Set(v, {}).Kurtosis(0, 1)));
  EXPECT_TRUE(std::isnan(Set(v, {}).Skewness(0, 1)));
}

// The root of the mean power: (1, 0) and (0, 1) have power 1, not 0.
TEST(VecStatistics, ComplexRmsCountsMagnitudes) {
  TVec v;
  EXPECT_EQ(SetCplx(v, {{1, 0}, {0, 1}}).RMS(), 1.0);
  EXPECT_EQ(Set(v, {3, 4, 0}).RMS(0, 2), std::sqrt(12.5));
  EXPECT_TRUE(std::isnan(v.RMS(1, 0)));
  EXPECT_TRUE(Raises([&] { v.RMS(2, 2); }, "Index+Len > Vec.Length"));
  EXPECT_TRUE(Raises([&] { v.RMS(-1, 2); }, "(Len < 0) or (Index < 0)"));
}

TEST(VecStatistics, Products) {
  TVec v;
  double p;
  Set(v, {2, 3, 4}).Product(p);
  EXPECT_EQ(p, 24.0);
  Set(v, {}).Product(p);
  EXPECT_EQ(p, 1.0);
  TCplx z;
  v.CProduct(z);
  EXPECT_EQ(z.Re, 1.0);
  SetCplx(v, {{0, 1}, {0, 1}, {2, 0}}).CProduct(z);
  EXPECT_EQ(z.Re, -2.0);
  EXPECT_EQ(z.Im, 0.0);
  EXPECT_TRUE(Raises([&] { v.Product(p); }, "Complex = True"));
  Set(v, {2, 5}).CProduct(z);
  EXPECT_EQ(z.Re, 10.0);
}

TEST(VecStatistics, DotProducts) {
  TVec a, b;
  Set(a, {1, 2});
  Set(b, {3, 4});
  EXPECT_EQ(a.DotProd(b, 0, 0, -1), 11.0);
  EXPECT_EQ(a.DotProd(b, 1, 0, 1), 4.0);
  EXPECT_TRUE(std::isnan(a.DotProd(b, 0, 0, 0)));
  TVec z, w;
  SetCplx(z, {{1, 1}});
  SetCplx(w, {{0, 1}});
  TCplx r = z.DotProdC(w, true, 0, 0, -1);  // conj(i) (1 + i) = 1 - i
  EXPECT_EQ(r.Re, 1.0);
  EXPECT_EQ(r.Im, -1.0);
  r = z.DotProdC(w, false, 0, 0, -1);  // (1 + i) i = -1 + i
  EXPECT_EQ(r.Re, -1.0);
  EXPECT_EQ(r.Im, 1.0);
  r = z.DotProdC(a, false, 1, 0, 1);  // (1 + i) 2
  EXPECT_EQ(r.Re, 2.0);
  EXPECT_EQ(r.Im, 2.0);
  r = z.DotProdC(w, true, 0, 0, 0);
  EXPECT_EQ(CAbs(r), 0.0);

  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"too long", [&] { a.DotProd(b, 0, 0, 3); }, "not CheckRange(0,ALength,Min(Vec.Length,Length))"},
      {"complex", [&] { a.DotProd(z, 0, 0, 1); }, "Vec.Complex or Self.Complex"},
      {"past Self", [&] { a.DotProd(b, 0, 1, 2); }, "Index + ALength > Length"},
      {"past Vec", [&] { a.DotProd(b, 1, 0, 2); }, "VecIndex + ALength > Vec.Length"},
      {"negative offset", [&] { a.DotProd(b, -1, 0, 1); }, "(Index < 0) or (VecIndex < 0)"},
      {"both real", [&] { a.DotProdC(b, false, 0, 0, 1); }, "not (Vec.Complex or Complex)"},
      {"conj of mixed", [&] { z.DotProdC(a, true, 0, 0, 1); },
       "Operation not supported: Conj(complex vector)*(real vector)!"},
      {"complex past Vec", [&] { z.DotProdC(w, true, 1, 0, 1); }, "VecIndex + ALength > Vec.Length"},
  };
  for (const Case& k : cases) EXPECT_TRUE(Raises(k.call, k.message)) << k.what;
}

TEST(VecStatistics, SortAscend) {
  TVec v;
  Set(v, {5, 1, 4, 2, 3}).SortAscend(1, 3);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{5, 1, 2, 4, 3}));
  // a NaN pivot leaves that part as it is
  Set(v, {2, NAN, 1}).SortAscend(0, 3);
  EXPECT_EQ(v.Values()[0], 2.0);
  EXPECT_TRUE(std::isnan(v.Values()[1]));
  EXPECT_EQ(v.Values()[2], 1.0);
  // equal magnitudes by increasing phase angle
  SetCplx(v, {{0, 1}, {1, 0}, {-1, 0}, {0, -1}}).SortAscend(0, 4);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{0, -1, 1, 0, 0, 1, -1, 0}));
  SetCplx(v, {{3, 4}, {1, 0}, {0, 2}}).SortAscend();
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 0, 0, 2, 3, 4}));
  // ranges that do nothing, and one that reaches too far
  Set(v, {3, 2, 1});
  v.SortAscend(0, 0);
  v.SortAscend(-1, 2);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{3, 2, 1}));
  EXPECT_TRUE(Raises([&] { v.SortAscend(2, 2); }, "Index+Len > Length"));

  // large inputs of every shape end sorted, all equal values included
  std::mt19937_64 rng(7);
  for (int shape = 0; shape < 4; ++shape) {
    v.SetLength(100000);
    for (int i = 0; i < 100000; ++i)
      v.Values()[i] = shape == 0 ? static_cast<double>(rng() % 1000) : shape == 1 ? i : shape == 2 ? -i : 1.0;
    v.SortAscend();
    EXPECT_TRUE(std::is_sorted(v.Values(), v.Values() + 100000)) << shape;
  }
}

TEST(VecStatistics, Median) {
  TVec v;
  EXPECT_EQ(Set(v, {3, 1, 2}).Median(0, -1), 2.0);
  EXPECT_EQ(v.Median(1, -1), 1.5);
  EXPECT_EQ(Set(v, {4, 1, 3, 2}).Median(0), 2.5);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{4, 1, 3, 2}));  // Self is not changed
  EXPECT_TRUE(std::isnan(v.Median(4, -1)));
  EXPECT_TRUE(Raises([&] { Set(v, {1, 2, 3}).Median(2, 2); }, "(Index + Len) > FLength"));
  EXPECT_TRUE(Raises([&] { v.Median(-1, 2); }, "(Len < 0) or (Index < 0)"));
  EXPECT_TRUE(Raises([&] { SetCplx(v, {{1, 0}}).Median(0); }, "Vec.Complex <> Complex"));
}

}  // namespace
}  // namespace numeric
