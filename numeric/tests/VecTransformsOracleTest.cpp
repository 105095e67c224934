// Covers numeric/VecTransforms.cpp, VecStatistics.cpp and VecMathFunctions.cpp
// against numpy and scipy: Fourier and cosine transforms, convolution,
// correlations, the Goertzel filter, moments and the median, complex sine,
// cosine and tangent. The values come from data/transforms_oracle.csv, made by
// data/gen_transforms_oracle.py.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/TransformsTestUtil.h"

namespace numeric {
namespace {

using testutil::FftTol;
using testutil::Load;
using testutil::NearScaled;
using testutil::Oracle;
using testutil::SumTol;

// The n/2 elements and the half-rate bin beside them, as numpy's n/2 + 1 bins.
std::vector<double> AllBins(const TVec& spectrum) {
  std::vector<double> bins(spectrum.Values(), spectrum.Values() + spectrum.DoubleLength());
  if (spectrum.HalfRateBinKnown()) {
    bins.push_back(spectrum.HalfRateBin().Re);
    bins.push_back(spectrum.HalfRateBin().Im);
  }
  return bins;
}

TEST(VecTransformsOracle, RealFftGivesNumpyRfftWithItsHalfRateBin) {
  for (int n : {2, 8, 512}) {
    const std::string key = "rfft_" + std::to_string(n);
    TVec x, y;
    Load(x, Oracle(key + "_x"), false);
    y.FFT(x);
    ASSERT_EQ(y.Length(), n / 2);
    ASSERT_EQ(AllBins(y).size(), Oracle(key + "_y").size()) << n;
    EXPECT_TRUE(NearScaled(AllBins(y).data(), Oracle(key + "_y"), FftTol(n))) << n;
    x.FFT();
    ASSERT_EQ(AllBins(x).size(), Oracle(key + "_y").size()) << n;
    EXPECT_TRUE(NearScaled(AllBins(x).data(), Oracle(key + "_y"), FftTol(n))) << n << " in place";
  }
}

TEST(VecTransformsOracle, ComplexFftAndInverse) {
  for (int n : {2, 16, 256}) {
    const std::string key = "fft_" + std::to_string(n);
    TVec x, y;
    Load(x, Oracle(key + "_x"), true);
    y.FFT(x);
    EXPECT_TRUE(NearScaled(y, Oracle(key + "_y"), FftTol(n))) << n;
    y.IFFT(x);
    EXPECT_TRUE(NearScaled(y, Oracle("i" + key + "_y"), FftTol(n))) << n;
    x.FFT();
    EXPECT_TRUE(NearScaled(x, Oracle(key + "_y"), FftTol(n))) << n << " in place";
  }
}

// The edge bins of the spectrum carry imaginary parts here; numpy's irfft
// ignores them, and so does IFFTToReal.
TEST(VecTransformsOracle, InverseOfRealSpectrumIsNumpyIrfft) {
  for (int n : {8, 256}) {
    const std::string key = "irfft_" + std::to_string(n);
    const std::vector<double>& bins = Oracle(key + "_x");
    TVec s, y;
    Load(s, std::vector<double>(bins.begin(), bins.end() - 2), true);  // bins 0 .. n/2 - 1
    s.SetHalfRateBin(TCplx{bins[n], bins[n + 1]});
    y.IFFTToReal(s);
    EXPECT_TRUE(NearScaled(y, Oracle(key + "_y"), FftTol(n))) << n;
  }
}

TEST(VecTransformsOracle, OrthonormalCosineTransforms) {
  for (int n : {1, 5, 8, 33}) {
    const std::string key = "dct_" + std::to_string(n);
    TVec x, y;
    Load(x, Oracle(key + "_x"), false);
    y.DCT(x);
    EXPECT_TRUE(NearScaled(y, Oracle(key + "_y"), SumTol(n))) << n;
    y.IDCT(x);
    EXPECT_TRUE(NearScaled(y, Oracle("i" + key + "_y"), SumTol(n))) << n;
  }
}

TEST(VecTransformsOracle, ConvolutionOfEveryKind) {
  for (const char* tag : {"5_3", "300_200"}) {
    const std::string key = std::string("conv_") + tag;
    TVec a, b, za, zb, y;
    Load(a, Oracle(key + "_a"), false);
    Load(b, Oracle(key + "_b"), false);
    Load(za, Oracle(key + "_za"), true);
    Load(zb, Oracle(key + "_zb"), true);
    const double tol = SumTol(500);
    EXPECT_TRUE(NearScaled(y.Convolve(a, b), Oracle(key + "_dd"), tol)) << tag;
    EXPECT_FALSE(y.Complex());
    EXPECT_TRUE(NearScaled(y.Convolve(za, zb), Oracle(key + "_zz"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.Convolve(za, b), Oracle(key + "_zd"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.Convolve(a, zb), Oracle(key + "_dz"), tol)) << tag;
  }
}

TEST(VecTransformsOracle, CrossCorrelationOfEveryKind) {
  for (const char* tag : {"6_4", "400_300"}) {
    const std::string key = std::string("xcorr_") + tag;
    const std::vector<double>& lags = Oracle(key + "_lags");
    const auto lo = static_cast<std::int32_t>(lags[0]), hi = static_cast<std::int32_t>(lags[1]);
    TVec a, b, za, zb, y;
    Load(a, Oracle(key + "_a"), false);
    Load(b, Oracle(key + "_b"), false);
    Load(za, Oracle(key + "_za"), true);
    Load(zb, Oracle(key + "_zb"), true);
    const double tol = SumTol(700);
    EXPECT_TRUE(NearScaled(y.CrossCorr(a, b, hi, lo), Oracle(key + "_dd"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.CrossCorr(za, zb, hi, lo), Oracle(key + "_zz"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.CrossCorr(za, b, hi, lo), Oracle(key + "_zd"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.CrossCorr(a, zb, hi, lo), Oracle(key + "_dz"), tol)) << tag;
  }
}

TEST(VecTransformsOracle, AutoCorrelationScalings) {
  for (const char* tag : {"7_d", "7_z", "500_d", "500_z"}) {
    const std::string key = std::string("acorr_") + tag;
    const bool complex = key.back() == 'z';
    TVec x, y;
    Load(x, Oracle(key + "_x"), complex);
    const std::int32_t lags =
        static_cast<std::int32_t>(Oracle(key + "_normal").size() / (complex ? 2 : 1));
    const double tol = SumTol(x.Length());
    EXPECT_TRUE(NearScaled(y.AutoCorrNormal(x, lags), Oracle(key + "_normal"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.AutoCorrBiased(x, lags), Oracle(key + "_biased"), tol)) << tag;
    EXPECT_TRUE(NearScaled(y.AutoCorrUnBiased(x, lags), Oracle(key + "_unbiased"), tol)) << tag;
  }
}

TEST(VecTransformsOracle, GoertzelIsReferencedOnePastTheEnd) {
  for (const char* tag : {"16", "100", "257", "c40"}) {
    const std::string key = std::string("goertz_") + tag;
    TVec x;
    Load(x, Oracle(key + "_x"), tag[0] == 'c');
    x.GoertzInit(Oracle(key + "_f")[0]);
    const TCplx g = x.Goertz();
    const std::vector<double>& y = Oracle(key + "_y");
    EXPECT_TRUE(testutil::NearRel(g, TCplx{y[0], y[1]}, SumTol(x.Length()) * 4)) << tag;
  }
}

TEST(VecTransformsOracle, MomentsAndMedian) {
  for (int n : {2, 9, 1000}) {
    const std::string key = "stats_" + std::to_string(n);
    TVec x;
    Load(x, Oracle(key + "_x"), false);
    const double mean = Oracle(key + "_mean")[0];
    const double sd = Oracle(key + "_stddev")[0];
    const double tol = SumTol(n);
    EXPECT_TRUE(testutil::NearRel(x.StdDev(mean), sd, tol)) << n;
    EXPECT_TRUE(testutil::NearRel(x.Kurtosis(mean, sd), Oracle(key + "_kurtosis")[0], 8 * tol)) << n;
    EXPECT_TRUE(NearScaled(std::vector<double>{x.Skewness(mean, sd)}.data(), Oracle(key + "_skewness"),
                           8 * tol))
        << n;
    EXPECT_EQ(x.Median(0), Oracle(key + "_median")[0]) << n;
    EXPECT_TRUE(testutil::NearRel(x.RMS(), Oracle(key + "_rms")[0], tol)) << n;
  }
}

TEST(VecTransformsOracle, ComplexRmsAndProduct) {
  TVec z;
  Load(z, Oracle("cstats_33_x"), true);
  EXPECT_TRUE(testutil::NearRel(z.RMS(), Oracle("cstats_33_rms")[0], SumTol(33)));
  TVec first12;
  first12.Size(12, true);
  std::copy_n(z.CValues(), 12, first12.CValues());
  TCplx p;
  first12.CProduct(p);
  const std::vector<double>& e = Oracle("cstats_33_prod");
  EXPECT_TRUE(testutil::NearRel(p, TCplx{e[0], e[1]}, SumTol(12)));
}

TEST(VecTransformsOracle, ComplexSineCosineTangent) {
  TVec x, y;
  Load(x, Oracle("cfun_x"), true);
  const double tol = 16 * EPS;
  EXPECT_TRUE(NearScaled(y.Sin(x), Oracle("cfun_sin"), tol));
  y.Copy(x);
  EXPECT_TRUE(NearScaled(y.Cos(), Oracle("cfun_cos"), tol));
  EXPECT_TRUE(NearScaled(y.Tan(x), Oracle("cfun_tan"), tol));
}

}  // namespace
}  // namespace numeric
