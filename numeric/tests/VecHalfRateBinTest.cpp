// Covers numeric/VecHalfRateBin.cpp and the operations that say what becomes
// of a spectrum's half-rate bin (VecStorage, VecArithmetic, VecFill,
// VecMathFunctions, VecComplexParts, VecTransforms): every operation that
// carries or changes it inverts to numpy's irfft of the same change to all
// n/2 + 1 bins (data/transforms_oracle.csv, made by
// data/gen_transforms_oracle.py); every other one leaves it unknown, and the
// inverse then refuses instead of reading what stands past the elements.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/TransformsTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::DoublesOf;
using testutil::Load;
using testutil::NearScaled;
using testutil::Oracle;
using testutil::Raises;

constexpr const char* kUnknown = "IFFTToReal: the half-rate bin of Vec is unknown (set it with SetHalfRateBin)";
// Every row is an n-point inverse of a handful of operations on n/2 + 1 bins.
constexpr double kTol = 1e-13;

// The signals and spectra of one size of the table.
struct TSpectra {
  explicit TSpectra(int n) : Key("hr_" + std::to_string(n) + "_") {
    Load(x, Oracle(Key + "x"), false);
    Load(y, Oracle(Key + "y"), false);
    X.FFT(x);
    Y.FFT(y);
    const std::vector<double>& levels = Oracle(Key + "levels");
    Above = levels[0];
    Below = levels[1];
    HalfRateRe = levels[2];
  }
  std::vector<double> Expected(const std::string& name) const { return Oracle(Key + name); }

  std::string Key;
  TVec x, y, X, Y;
  double Above = 0, Below = 0, HalfRateRe = 0;
};

// The signal a spectrum inverts to, or the failure that the bin got lost.
::testing::AssertionResult InvertsTo(const TVec& spectrum, const std::vector<double>& expected) {
  if (!spectrum.HalfRateBinKnown()) return ::testing::AssertionFailure() << "the half-rate bin is unknown";
  TVec z;
  z.IFFTToReal(spectrum);
  return NearScaled(z, expected, kTol);
}

// The faults as first seen: a copied spectrum and one scaled in every bin
// inverted with whatever stood past their elements.
TEST(VecHalfRateBin, CopiedAndScaledSpectraInvertToTheSignal) {
  TSpectra s(8);
  TVec copy, z;
  copy.Copy(s.X);
  z.IFFTToReal(copy);
  EXPECT_TRUE(NearScaled(z, DoublesOf(s.x), kTol)) << "copy";
  s.X.Scale(0.5);
  z.IFFTToReal(s.X);
  EXPECT_TRUE(NearScaled(z, s.Expected("scale"), kTol)) << "x/2";
  EXPECT_EQ(s.Expected("scale"), (std::vector<double>{0.5, 1.0000000000000002, 1.5, 2, 0, -0.5000000000000002, -1, 2.5}))
      << "the table's x/2 for the record";
}

struct TCase {
  const char* row;  // the table's row; "x" is the signal itself
  std::function<void(TSpectra&, TVec&)> op;
};

// The case f applied to a copy of X.
std::function<void(TSpectra&, TVec&)> InPlace(std::function<void(TSpectra&, TVec&)> f) {
  return [f](TSpectra& s, TVec& r) {
    r.Copy(s.X);
    f(s, r);
  };
}

void CheckCases(int n, const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    TSpectra s(n);
    TVec result;
    c.op(s, result);
    const std::vector<double> expected = std::string(c.row) == "x" ? DoublesOf(s.x) : s.Expected(c.row);
    EXPECT_TRUE(InvertsTo(result, expected)) << "n " << n << ", " << c.row;
  }
}

TEST(VecHalfRateBin, CopiesCarryIt) {
  const std::vector<TCase> cases = {
      {"x", [](TSpectra& s, TVec& r) { r.Copy(s.X); }},
      {"x", [](TSpectra& s, TVec& r) { r.Assign(s.X); }},
      {"x", [](TSpectra& s, TVec& r) { r.ExtendToComplex(s.X, true); }},
      {"x", [](TSpectra& s, TVec& r) { r.DownSample(s.X, 1); }},
      {"x", [](TSpectra& s, TVec& r) {
         // Copy over a vector whose own bin was known and different.
         r.FFT(s.y);
         r.Copy(s.X);
       }},
  };
  for (int n : {8, 32}) CheckCases(n, cases);
}

// In place, each operation changes the half-rate bin as it changes the other
// bins; the forms that read another vector give the same.
TEST(VecHalfRateBin, OperationsWithANumberOrOfEachElementApplyToIt) {
  const std::vector<TCase> cases = {
      {"scale", InPlace([](TSpectra&, TVec& r) { r.Scale(0.5); })},
      {"scalec", InPlace([](TSpectra&, TVec& r) { r.Scale(TCplx{0.3, -0.7}); })},
      {"neg", InPlace([](TSpectra&, TVec& r) { r.Neg(); })},
      {"offset", InPlace([](TSpectra&, TVec& r) { r.Offset(1.5); })},
      {"conj", InPlace([](TSpectra&, TVec& r) { r.Conj(); })},
      {"inv", InPlace([](TSpectra&, TVec& r) { r.Inv(1e-20); })},
      {"sqr", InPlace([](TSpectra&, TVec& r) { r.Sqr(); })},
      {"sqrt", InPlace([](TSpectra&, TVec& r) { r.Sqrt(); })},
      {"exp", InPlace([](TSpectra&, TVec& r) { r.Exp(); })},
      {"ln", InPlace([](TSpectra&, TVec& r) { r.Ln(); })},
      {"log10", InPlace([](TSpectra&, TVec& r) { r.Log10(); })},
      {"log2", InPlace([](TSpectra&, TVec& r) { r.LogN(2.0); })},
      {"sin", InPlace([](TSpectra&, TVec& r) { r.Sin(); })},
      {"cos", InPlace([](TSpectra&, TVec& r) { r.Cos(); })},
      {"tan", InPlace([](TSpectra&, TVec& r) { r.Tan(); })},
      {"tbot", InPlace([](TSpectra& s, TVec& r) { r.ThreshBottom(s.Above); })},
      {"ttop", InPlace([](TSpectra& s, TVec& r) { r.ThreshTop(s.Below); })},
      {"replace", InPlace([](TSpectra& s, TVec& r) { r.Replace(s.HalfRateRe, 7.0, 1e-9); })},
      {"zero", InPlace([](TSpectra&, TVec& r) { r.SetZero(); })},
      {"setval", InPlace([](TSpectra&, TVec& r) { r.SetVal(2.5); })},
      {"setvalc", InPlace([](TSpectra&, TVec& r) { r.SetVal(TCplx{1.0, -2.0}); })},
      // Self := f(X)
      {"inv", [](TSpectra& s, TVec& r) { r.Inv(s.X, 1e-20); }},
      {"sqr", [](TSpectra& s, TVec& r) { r.Sqr(s.X); }},
      {"sqrt", [](TSpectra& s, TVec& r) { r.Sqrt(s.X); }},
      {"sin", [](TSpectra& s, TVec& r) { r.Sin(s.X); }},
      {"tan", [](TSpectra& s, TVec& r) { r.Tan(s.X); }},
  };
  for (int n : {8, 32}) CheckCases(n, cases);
}

TEST(VecHalfRateBin, ElementWiseOperationsOfTwoSpectraApplyToBothBins) {
  const std::vector<TCase> cases = {
      {"add", InPlace([](TSpectra& s, TVec& r) { r.Add(s.Y); })},
      {"addf", InPlace([](TSpectra& s, TVec& r) { r.Add(s.Y, 0.5, -0.25); })},
      {"sub", InPlace([](TSpectra& s, TVec& r) { r.Sub(s.Y); })},
      {"mul", InPlace([](TSpectra& s, TVec& r) { r.Mul(s.Y); })},
      {"div", InPlace([](TSpectra& s, TVec& r) { r.Divide(s.Y); })},
      {"div", InPlace([](TSpectra& s, TVec& r) { r.Divide(s.Y, 1e-20); })},
      {"add", [](TSpectra& s, TVec& r) { r.Add(s.X, s.Y); }},
      {"sub", [](TSpectra& s, TVec& r) { r.Sub(s.X, s.Y); }},
      {"mul", [](TSpectra& s, TVec& r) { r.Mul(s.X, s.Y); }},
      {"div", [](TSpectra& s, TVec& r) { r.Divide(s.X, s.Y, 1e-20); }},
      {"conjmul", [](TSpectra& s, TVec& r) { r.ConjMul(s.X, s.Y); }},
  };
  for (int n : {8, 32}) CheckCases(n, cases);
}

// Operations that cannot say what the half-rate bin became: the inverse
// refuses rather than read whatever stands past the elements.
TEST(VecHalfRateBin, AnythingElseLeavesItUnknownAndTheInverseRefuses) {
  struct TUnknownCase {
    const char* what;
    std::function<void(TSpectra&, TVec&)> op;
  };
  const std::vector<TUnknownCase> cases = {
      {"product with a real vector",
       [](TSpectra& s, TVec& r) {
         TVec ones;
         ones.Size(r.Length(), false);
         ones.SetVal(1.0);
         r.Mul(ones);
       }},
      {"product with a complex vector that is no spectrum",
       [](TSpectra& s, TVec& r) {
         TVec h;
         h.Size(r.Length(), true);
         h.SetVal(0.5);
         r.Mul(h);
       }},
      {"product with a spectrum whose bin is unknown",
       [](TSpectra& s, TVec& r) {
         TVec h;
         h.Copy(s.Y);
         h.Values();  // a writable view: the bin is lost
         r.Mul(h);
       }},
      {"resize to the same length", [](TSpectra&, TVec& r) { r.Resize(r.Length()); }},
      {"a new length and back",
       [](TSpectra&, TVec& r) {
         const std::int32_t n = r.Length();
         r.SetLength(n - 1);
         r.SetLength(n);
       }},
      {"scale over a range", [](TSpectra&, TVec& r) { r.Scale(0.5, 0, r.Length()); }},
      {"offset over a range", [](TSpectra&, TVec& r) { r.Offset(1.0, 0, 1); }},
      {"copy over a range", [](TSpectra& s, TVec& r) { r.Copy(s.X, 0, 0, r.Length()); }},
      {"sort", [](TSpectra&, TVec& r) { r.SortAscend(); }},
      {"reverse", [](TSpectra&, TVec& r) { r.Reverse(); }},
      {"rotate", [](TSpectra&, TVec& r) { r.Rotate(1); }},
      {"write through Values()", [](TSpectra&, TVec& r) { r.Values()[0] = 1.0; }},
      {"write through CValues()", [](TSpectra&, TVec& r) { r.CValues()[0] = TCplx{1.0, 0.0}; }},
      {"real and back to complex",
       [](TSpectra&, TVec& r) {
         r.SetComplex(false);
         r.SetComplex(true);
       }},
      {"complex transform", [](TSpectra&, TVec& r) { r.FFT(); }},
      {"complex inverse", [](TSpectra& s, TVec& r) { r.IFFT(s.X); }},
      {"copy of a spectrum without its bin",
       [](TSpectra& s, TVec& r) {
         TVec bare;
         bare.Size(s.X.Length(), true);
         std::copy_n(static_cast<const TVec&>(s.X).CValues(), s.X.Length(), bare.CValues());
         r.Copy(bare);
       }},
      {"a cached vector filled by hand",
       [](TSpectra& s, TVec& r) {
         {
           // Its last user left a spectrum with a known bin.
           TCachedVec last;
           last->FFT(s.y);
         }
         TCachedVec c;
         c->Size(s.X.Length(), true);
         std::copy_n(static_cast<const TVec&>(s.X).CValues(), s.X.Length(), c->CValues());
         r.Copy(*c);
       }},
  };
  for (int n : {8, 32}) {
    for (const TUnknownCase& c : cases) {
      TSpectra s(n);
      TVec r, z;
      r.Copy(s.X);
      c.op(s, r);
      EXPECT_FALSE(r.HalfRateBinKnown()) << c.what;
      if (r.Complex()) {
        EXPECT_TRUE(Raises([&] { z.IFFTToReal(r); }, kUnknown)) << "n " << n << ", " << c.what;
      }
    }
  }
}

TEST(VecHalfRateBin, ReadingKeepsItAndTheAccessorRefusesNonsense) {
  TSpectra s(8);
  TVec& X = s.X;
  const TVec& view = X;
  double sum = 0;
  for (int i = 0; i < view.DoubleLength(); ++i) sum += view.Values()[i];
  TVec magnitude, phase, re, im;
  X.CartToPolar(magnitude, phase);
  X.CplxToReal(re, im);
  X.GoertzInit(0.25);
  X.Goertz();
  EXPECT_TRUE(X.HalfRateBinKnown()) << sum;
  EXPECT_TRUE(InvertsTo(X, DoublesOf(s.x)));

  // Set by hand: a spectrum put together from its bins.
  TVec bins;
  bins.SetCplxArray(std::vector<TCplx>(view.CValues(), view.CValues() + view.Length()));
  EXPECT_FALSE(bins.HalfRateBinKnown());
  EXPECT_TRUE(Raises([&] { bins.HalfRateBin(); }, "HalfRateBin: the half-rate bin is unknown"));
  bins.SetHalfRateBin(X.HalfRateBin());
  EXPECT_TRUE(InvertsTo(bins, DoublesOf(s.x)));

  EXPECT_TRUE(Raises([&] { s.x.SetHalfRateBin(C_ONE); }, "SetHalfRateBin: Complex = False"));
  EXPECT_FALSE(s.x.HalfRateBinKnown());
}

// A window onto a matrix has no reserve behind it, yet its spectrum keeps
// the half-rate bin, so that the window inverts back.
TEST(VecHalfRateBin, WindowTransformsKeepIt) {
  TSpectra s(32);
  TMtx m;
  m.Size(3, 32, false);
  for (int i = 0; i < 96; ++i) m.Values()[i] = 0.25 * i - 3.0;
  std::copy_n(s.x.Values(), 32, m.RowValues(1));
  TVec row;
  row.SetSubRange(m, 32, 32);
  row.FFT();
  EXPECT_EQ(m.Values()[64], 0.25 * 64 - 3.0) << "the next row is untouched";
  EXPECT_TRUE(InvertsTo(row, DoublesOf(s.x)));
  EXPECT_TRUE(testutil::NearRel(row.HalfRateBin(), s.X.HalfRateBin(), 1e-14));

  TVec target;
  TMtx out;
  out.Size(2, 32, false);
  target.SetSubRange(out, 0, 32);
  target.SetComplex(true);
  target.FFT(s.x);
  EXPECT_TRUE(InvertsTo(target, DoublesOf(s.x)));
  target.SetFullRange();
  EXPECT_FALSE(target.HalfRateBinKnown()) << "the vector's own values have no bin";
}

}  // namespace
}  // namespace numeric
