// Covers platform/spl/Iir.cpp over long runs with real coefficients: long
// blocks run as segments side by side and one-sample blocks run the plain
// recursion; both, with the state carried across blocks of every size, must
// stay as close to the exact recursion (summed in long double) as the
// direct form's own rounding allows, for orders 1 to 16, for complex data
// (two strided streams) and in place. Filters whose poles crowd together
// round badly in any form; for them the segments must not add to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "platform/spl/Iir.h"

namespace spl {
namespace {

struct TFilter {
  std::string Name;  // the scipy.signal design the taps come from
  std::vector<double> B, A;
};

const std::vector<TFilter>& Filters() {
  static const std::vector<TFilter> filters = {
    {"butter(1, 0.3)",
     {0.33754015188354686, 0.33754015188354686},
     {1, -0.32491969623290634}},
    {"butter(6, 0.2)",
     {0.00034053765272012797, 0.0020432259163207676, 0.0051080647908019194, 0.0068107530544025598, 0.0051080647908019194, 0.0020432259163207676, 0.00034053765272012797},
     {1, -3.5794347983311914, 5.6586671659336236, -4.9654152287785678, 2.529494905841446, -0.70527411450990019, 0.083756479618678881}},
    {"butter(4, 0.1)",
     {0.00041659920440659937, 0.0016663968176263975, 0.0024995952264395961, 0.0016663968176263975, 0.00041659920440659937},
     {1, -3.1806385488747191, 3.8611943489942133, -2.1121553551109691, 0.43826514226197977}},
    {"ellip(5, 0.5, 60, 0.3)",
     {0.010281247134190517, 0.016407861973420885, 0.025843406422297124, 0.025843406422297124, 0.016407861973420885, 0.010281247134190515},
     {1, -2.9324278418780425, 4.239274899615511, -3.4748043943834146, 1.6085487163413481, -0.33552634863558572}},
    {"cheby1(12, 0.5, 0.7)",
     {0.0046240895083421813, 0.055489074100106173, 0.30518990755058395, 1.0172996918352799, 2.2889243066293798, 3.6622788906070078, 4.2726587057081753, 3.6622788906070078, 2.2889243066293798, 1.0172996918352799, 0.30518990755058395, 0.055489074100106173, 0.0046240895083421813},
     {1, 2.0144919187944925, 4.1403943219424395, 3.9049713867408471, 4.2711056220458596, 1.9656105689222183, 1.7782941226882421, 0.13262297400624268, 0.56170711329090628, -0.077392034409800137, 0.27119956449227806, 0.016585805394955237, 0.082960852727414491}},
    {"butter(16, 0.6)",
     {0.00087633635303022736, 0.014021381648483638, 0.10516036236362729, 0.49074835769692732, 1.5949321625150137, 3.8278371900360333, 7.0177015150660607, 10.0252878786658, 11.278448863499026, 10.0252878786658, 7.0177015150660607, 3.8278371900360333, 1.5949321625150137, 0.49074835769692732, 0.10516036236362729, 0.014021381648483638, 0.00087633635303022736},
     {1, 3.1952148891208219, 6.7795359678336542, 9.8717285428619128, 11.216937652821983, 10.067329148660047, 7.3805958118944837, 4.4312806134879832, 2.1970521063935564, 0.89478877596276352, 0.29769318876396822, 0.079648630305528073, 0.016769218846106774, 0.0026767575643227405, 0.00030503958227448818, 2.2120096272790885e-05, 7.6799330947323611e-07}},
    {"butter(8, 0.02)",
     {8.0982597867477046e-13, 6.4786078293981637e-12, 2.2675127402893573e-11, 4.5350254805787145e-11, 5.6687818507233931e-11, 4.5350254805787145e-11, 2.2675127402893573e-11, 6.4786078293981637e-12, 8.0982597867477046e-13},
     {1, -7.6779402053928356, 25.797219528171233, -49.541225637787548, 59.476131970039731, -45.7087344779167, 21.960120132116103, -6.0301722352443194, 0.72460092622165173}},
    {"ellip(16, 0.1, 80, 0.5)",
     {0.0072495312273050273, 0.029486274510040329, 0.099424126374758476, 0.23165841644846308, 0.45873111741721917, 0.74646676327261996, 1.0561650798757314, 1.2875141307730233, 1.3792171378164579, 1.2875141307730216, 1.0561650798757272, 0.74646676327262018, 0.45873111741722011, 0.23165841644846319, 0.09942412637475849, 0.029486274510040322, 0.0072495312273050325},
     {1, -2.2333850481072379, 7.9921147340857237, -13.432048979431318, 25.951056466462617, -33.977439364640567, 45.160477187156204, -46.693355247714315, 46.042162575486742, -37.452049958363531, 27.868140715399299, -17.391415745422545, 9.5249544429192721, -4.2714983661802721, 1.5732826019836126, -0.41755278570691806, 0.075841762842361285}},
  };
  return filters;
}

constexpr int kSamples = 20000;

// s := (1103515245 s + 12345) mod 2^31, value s / 2^30 - 1.
std::vector<double> Input(std::uint64_t seed, int n) {
  std::vector<double> x(static_cast<std::size_t>(n));
  std::uint64_t s = seed;
  for (double& v : x) {
    s = (1103515245u * s + 12345u) % (1u << 31);
    v = static_cast<double>(s) / (1u << 30) - 1.0;
  }
  return x;
}

// The textbook recursion in long double, taps divided by a[0].
std::vector<double> Exact(const TFilter& f, const std::vector<double>& x) {
  const int order = static_cast<int>(f.A.size()) - 1;
  const long double a0 = f.A[0];
  std::vector<long double> y(x.size());
  for (std::size_t n = 0; n < x.size(); ++n) {
    long double acc = 0;
    for (int k = 0; k <= order && static_cast<std::size_t>(k) <= n; ++k) acc += f.B[k] / a0 * x[n - k];
    for (int k = 1; k <= order && static_cast<std::size_t>(k) <= n; ++k) acc -= f.A[k] / a0 * y[n - k];
    y[n] = acc;
  }
  return std::vector<double>(y.begin(), y.end());
}

// Block sizes that add up to n: single samples, sizes around the filter's
// chunk of 1024 and its quarter, and long ones.
std::vector<int> Blocks(int n) {
  static const int sizes[] = {1, 4099, 3, 1024, 63, 1023, 1025, 256, 7, 2048, 17, 6000, 255, 64, 3001};
  std::vector<int> blocks;
  for (int done = 0, i = 0; done < n; ++i) {
    blocks.push_back(std::min(sizes[i % std::size(sizes)], n - done));
    done += blocks.back();
  }
  return blocks;
}

IirState Init(const TFilter& f, bool complexData) {
  std::vector<double> taps = f.B;
  taps.insert(taps.end(), f.A.begin(), f.A.end());
  IirState state;
  const int order = static_cast<int>(f.A.size()) - 1;
  if (complexData)
    nspzdIirInit(NSP_IirDefault, taps.data(), order, state);
  else
    nspdIirInit(NSP_IirDefault, taps.data(), order, state);
  return state;
}

double MaxError(const std::vector<double>& y, const std::vector<double>& exact) {
  double e = 0;
  for (std::size_t i = 0; i < y.size(); ++i) e = std::max(e, std::fabs(y[i] - exact[i]));
  return e;
}

// The direct form's own error: one sample per call never runs segments.
double SampleBySampleError(const TFilter& f, const std::vector<double>& x, const std::vector<double>& exact) {
  IirState state = Init(f, false);
  std::vector<double> y(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) nspdbIir(state, &x[i], &y[i], 1);
  return MaxError(y, exact);
}

// What the blocks may lose beyond the exact result: a few times the direct
// form's error, and never less than a few roundings of the largest output.
double Allowed(double directError, const std::vector<double>& exact) {
  double scale = 0;
  for (double v : exact) scale = std::max(scale, std::fabs(v));
  return std::max(4 * directError, 64 * std::numeric_limits<double>::epsilon() * scale);
}

TEST(IirLongRun, RealDataInBlocksStaysWithinTheDirectFormsRounding) {
  for (const TFilter& f : Filters()) {
    const std::vector<double> x = Input(7, kSamples);
    const std::vector<double> exact = Exact(f, x);
    const double allowed = Allowed(SampleBySampleError(f, x, exact), exact);
    // Into a separate output and in place.
    for (bool inPlace : {false, true}) {
      IirState state = Init(f, false);
      std::vector<double> y = inPlace ? x : std::vector<double>(x.size());
      int done = 0;
      for (int b : Blocks(kSamples)) {
        nspdbIir(state, (inPlace ? y.data() : x.data()) + done, y.data() + done, b);
        done += b;
      }
      EXPECT_LE(MaxError(y, exact), allowed) << f.Name << (inPlace ? ", in place" : "");
    }
  }
}

TEST(IirLongRun, ComplexDataRunsAsTwoRealStreams) {
  for (const TFilter& f : Filters()) {
    const std::vector<double> re = Input(11, kSamples), im = Input(12, kSamples);
    const std::vector<double> exactRe = Exact(f, re), exactIm = Exact(f, im);
    const double allowed = std::max(Allowed(SampleBySampleError(f, re, exactRe), exactRe),
                                    Allowed(SampleBySampleError(f, im, exactIm), exactIm));
    std::vector<DCplx> x(kSamples), y(kSamples);
    for (int i = 0; i < kSamples; ++i) x[i] = DCplx{re[i], im[i]};
    IirState state = Init(f, true);
    int done = 0;
    for (int b : Blocks(kSamples)) {
      nspzdbIir(state, x.data() + done, y.data() + done, b);
      done += b;
    }
    std::vector<double> yRe(kSamples), yIm(kSamples);
    for (int i = 0; i < kSamples; ++i) {
      yRe[i] = y[i].re;
      yIm[i] = y[i].im;
    }
    EXPECT_LE(MaxError(yRe, exactRe), allowed) << f.Name;
    EXPECT_LE(MaxError(yIm, exactIm), allowed) << f.Name;
  }
}

}  // namespace
}  // namespace spl
