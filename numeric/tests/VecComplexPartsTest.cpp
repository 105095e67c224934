// Covers numeric/VecComplexParts.cpp: the checks and their texts, the kinds
// and lengths of the outputs, extension of real vectors (also across the
// reserve, where the kind change needs a new block), and outputs that are
// Self. The values themselves are checked against numpy in
// VecArithmeticOracleTest.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::Cplx;
using testutil::DoublesOf;
using testutil::NearRel;
using testutil::Raises;
using testutil::Real;
using testutil::Set;
using testutil::SetC;

TEST(VecComplexParts, ChecksRaiseTheirTexts) {
  // Every check is made whatever ConditionCheck holds.
  struct Case {
    std::string Name;
    std::function<void(TVec& self, TVec& real, TVec& complex, TVec& other)> Call;
    std::string Message;
  };
  const Case cases[] = {
      {"Mag of real", [](TVec& s, TVec& r, TVec&, TVec&) { s.Mag(r); }, "Complex = False"},
      {"Mag of Self", [](TVec&, TVec&, TVec& c, TVec&) { c.Mag(c); }, "Self = Vec"},
      {"ImagPart of real", [](TVec& s, TVec& r, TVec&, TVec&) { s.ImagPart(r); }, "Vec.Complex = False"},
      {"ImagPart of Self", [](TVec&, TVec&, TVec& c, TVec&) { c.ImagPart(c); }, "Self = Vec"},
      {"Phase of real", [](TVec& s, TVec& r, TVec&, TVec&) { s.Phase(r); }, "Vec.Complex = False"},
      {"Phase of Self", [](TVec&, TVec&, TVec& c, TVec&) { c.Phase(c); }, "Self = Vec"},
      {"RealPart of Self", [](TVec&, TVec& r, TVec&, TVec&) { r.RealPart(r); }, "Self = Vec"},
      {"PowerSpectrum of real", [](TVec& s, TVec& r, TVec&, TVec&) { s.PowerSpectrum(r); }, "Vec.Complex = False"},
      {"PowerSpectrum of Self", [](TVec&, TVec&, TVec& c, TVec&) { c.PowerSpectrum(c); }, "Self = Vec"},
      {"CartToPolar of real", [](TVec& s, TVec& r, TVec&, TVec& o) { r.CartToPolar(s, o); },
       "TVec.CartToPolar: Not complex!"},
      {"RealToCplx lengths",
       [](TVec& s, TVec& r, TVec&, TVec& o) {
         Set(o, {1, 2, 3});
         s.RealToCplx(r, o);
       },
       "ReVec.Length <> ImVec.Length"},
      {"RealToCplx into ReVec", [](TVec&, TVec& r, TVec&, TVec& o) { Set(o, {1, 2}); r.RealToCplx(r, o); },
       "(Self = ReVec) or (Self = ImVec)"},
      {"RealToCplx into ImVec", [](TVec&, TVec& r, TVec&, TVec& o) { Set(o, {1, 2}); r.RealToCplx(o, r); },
       "(Self = ReVec) or (Self = ImVec)"},
      {"CplxToReal of real", [](TVec& s, TVec& r, TVec&, TVec& o) { r.CplxToReal(s, o); }, "Complex = False"},
      {"CplxToReal into Self", [](TVec& s, TVec&, TVec& c, TVec&) { c.CplxToReal(s, c); },
       "(Self = ReVec) or (Self = ImVec)"},
      {"ExtendToComplex of Self", [](TVec&, TVec& r, TVec&, TVec&) { r.ExtendToComplex(r, true); }, "Self = Src"},
  };
  for (const Case& c : cases) {
    for (bool checks : {true, false}) {
      TVec self, real, complex, other;
      Set(real, {1, 2});
      SetC(complex, {1, 2, 3, 4});
      for (TVec* v : {&self, &real, &complex, &other}) v->SetConditionCheck(checks);
      const std::vector<double> before = DoublesOf(complex);
      EXPECT_TRUE(Raises([&] { c.Call(self, real, complex, other); }, c.Message)) << c.Name;
      // Nothing was touched before the raise.
      EXPECT_TRUE(complex.Complex()) << c.Name;
      EXPECT_EQ(DoublesOf(complex), before) << c.Name;
      EXPECT_EQ(DoublesOf(real), (std::vector<double>{1, 2})) << c.Name;
    }
  }
}

TEST(VecComplexParts, EmptyOperands) {
  TVec empty, self;
  EXPECT_TRUE(Raises([&] { self.Mag(empty); }, "Complex = False"));
  EXPECT_TRUE(Raises([&] { self.ImagPart(empty); }, "Vec.Complex = False"));
  EXPECT_TRUE(Raises([&] { self.Phase(empty); }, "Vec.Complex = False"));
  SetC(self, {1, 2});
  self.PowerSpectrum(empty);
  EXPECT_FALSE(self.Complex());
  EXPECT_EQ(self.Length(), 0);
  // An empty complex Self changes nothing, not even the outputs.
  TVec emptyComplex, amplitudes, phases;
  emptyComplex.SetComplex(true);
  SetC(amplitudes, {7, 7});
  emptyComplex.CartToPolar(amplitudes, phases);
  EXPECT_TRUE(amplitudes.Complex());
  EXPECT_EQ(amplitudes.Length(), 1);
}

TEST(VecComplexParts, PartsBecomeRealVectorsOfTheSameLength) {
  TVec c, self;
  SetC(c, {3, 4, -1, 0, 0, -2, 5, 12, 1, 1});
  self.SetComplex(true);
  self.RealPart(c);
  EXPECT_FALSE(self.Complex());
  EXPECT_EQ(DoublesOf(self), (std::vector<double>{3, -1, 0, 5, 1}));
  self.ImagPart(c);
  EXPECT_EQ(DoublesOf(self), (std::vector<double>{4, 0, -2, 12, 1}));
  self.Mag(c);
  EXPECT_EQ(DoublesOf(self), (std::vector<double>{5, 1, 2, 13, std::sqrt(2.0)}));
  self.PowerSpectrum(c);
  EXPECT_EQ(DoublesOf(self), (std::vector<double>{25, 1, 4, 169, 2}));
  TVec r;
  Set(r, {1, 2, 3, 4, 5});
  self.RealPart(r);
  EXPECT_EQ(DoublesOf(self), (std::vector<double>{1, 2, 3, 4, 5}));
}

TEST(VecComplexParts, PolarFormAndSplitting) {
  TVec c, amplitudes, phases;
  SetC(c, {0, 1, -2, 0});
  c.CartToPolar(amplitudes, phases);
  EXPECT_EQ(DoublesOf(amplitudes), (std::vector<double>{1, 2}));
  EXPECT_TRUE(NearRel(phases.Values()[0], PI / 2, EPS));
  EXPECT_TRUE(NearRel(phases.Values()[1], PI, EPS));

  TVec re, im;
  SetC(re, {9, 9});  // complex before: both come out real
  SetC(im, {9, 9, 9, 9});
  c.CplxToReal(re, im);
  EXPECT_FALSE(re.Complex());
  EXPECT_FALSE(im.Complex());
  EXPECT_EQ(DoublesOf(re), (std::vector<double>{0, -2}));
  EXPECT_EQ(DoublesOf(im), (std::vector<double>{1, 0}));

  TVec joined;
  joined.RealToCplx(re, im);
  EXPECT_EQ(DoublesOf(joined), DoublesOf(c));
  TVec v;
  Set(v, {2, 3});
  joined.RealToCplx(v, v);
  EXPECT_EQ(DoublesOf(joined), (std::vector<double>{2, 2, 3, 3}));
}

TEST(VecComplexParts, PolarFormIntoSelf) {
  // The outputs are sized before they are written: Self as one of them must
  // still be read whole first.
  TVec c, phases;
  SetC(c, {3, 4, 0, -2, 1, 0});
  c.CartToPolar(c, phases);
  EXPECT_FALSE(c.Complex());
  EXPECT_EQ(DoublesOf(c), (std::vector<double>{5, 2, 1}));
  EXPECT_TRUE(NearRel(phases.Values()[1], -PI / 2, EPS));
}

TEST(VecComplexParts, ExtendToComplex) {
  TVec v;
  Set(v, {1, 2});
  v.ExtendToComplex(true);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 0, 2, 0}));
  v.ExtendToComplex(false);  // already complex: nothing
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 0, 2, 0}));
  Set(v, {1, 2});
  v.ExtendToComplex(false);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 1, 2, 2}));

  TVec out, src;
  Set(src, {4, 5});
  out.ExtendToComplex(src, true);
  EXPECT_EQ(DoublesOf(out), (std::vector<double>{4, 0, 5, 0}));
  out.ExtendToComplex(src, false);
  EXPECT_EQ(DoublesOf(out), (std::vector<double>{4, 4, 5, 5}));
  SetC(src, {1, 2});
  out.ExtendToComplex(src, true);
  EXPECT_EQ(DoublesOf(out), (std::vector<double>{1, 2}));
  TVec empty;
  empty.ExtendToComplex(true);
  EXPECT_TRUE(empty.Complex());
  EXPECT_EQ(empty.Length(), 0);
}

TEST(VecComplexParts, ExtensionAcrossTheReserveKeepsEveryValue) {
  for (std::int32_t n : {511, 512, 513, 1024, 1025, 3000}) {
    for (bool zeroIm : {true, false}) {
      TVec v;
      v.Size(n, false);
      for (std::int32_t i = 0; i < n; ++i) v.Values()[i] = i + 0.5;
      v.ExtendToComplex(zeroIm);
      ASSERT_TRUE(v.Complex());
      ASSERT_EQ(v.Length(), n);
      for (std::int32_t i = 0; i < n; ++i) {
        ASSERT_EQ(v.CValues()[i].Re, i + 0.5) << n << " " << i;
        ASSERT_EQ(v.CValues()[i].Im, zeroIm ? 0.0 : i + 0.5) << n << " " << i;
      }
    }
  }
}

}  // namespace
}  // namespace numeric
