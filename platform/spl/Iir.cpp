// Running IIR filters. Real coefficients run the direct form I: the
// numerator over a chunk at once, then the recursion, whose latency is what
// limits the speed, with the state in registers up to order 16; long chunks
// run four segments of the recursion side by side. Complex coefficients run
// the transposed direct form II in complex arithmetic; complex data with
// real coefficients are two real streams.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp,
// platform/spl/tests/IirLongRunTest.cpp
#include "platform/spl/Iir.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/spl/SimdLoops.h"

namespace spl {

namespace detail {

namespace {

enum class IirKind { d, zd, dz, z };

// Samples per pass of the numerator; a pass long enough for four segments
// runs them side by side (see Segments).
constexpr int kChunk = 1024;
constexpr int kSegment = kChunk / 4;
constexpr int kMinSegment = 16;
constexpr int kMaxTemplateOrder = 16;

typedef long long TI4 __attribute__((vector_size(32)));

// A 4x4 transpose: c[i][s] = r[s][i].
#define ORVEL_TRANSPOSE4(c, r)                                  \
  do {                                                          \
    const TV4 t0_ = __builtin_shuffle((r)[0], (r)[1], TI4{0, 4, 2, 6}); \
    const TV4 t1_ = __builtin_shuffle((r)[0], (r)[1], TI4{1, 5, 3, 7}); \
    const TV4 t2_ = __builtin_shuffle((r)[2], (r)[3], TI4{0, 4, 2, 6}); \
    const TV4 t3_ = __builtin_shuffle((r)[2], (r)[3], TI4{1, 5, 3, 7}); \
    (c)[0] = __builtin_shuffle(t0_, t2_, TI4{0, 1, 4, 5});      \
    (c)[1] = __builtin_shuffle(t1_, t3_, TI4{0, 1, 4, 5});      \
    (c)[2] = __builtin_shuffle(t0_, t2_, TI4{2, 3, 6, 7});      \
    (c)[3] = __builtin_shuffle(t1_, t3_, TI4{2, 3, 6, 7});      \
  } while (0)

// r := a * b + r lane by lane, each rounded once (the compiler makes one
// instruction of it where the machine has fused multiply-adds).
#define ORVEL_FMA4(r, a, b)                                                      \
  do {                                                                           \
    for (int l_ = 0; l_ < 4; ++l_) (r)[l_] = std::fma((a)[l_], (b)[l_], (r)[l_]); \
  } while (0)

// The direct form I over four segments of len samples at once: xb holds
// the last P inputs before them and then their 4 len inputs; y (stride ys)
// receives the outputs; yr: the last P outputs before them, newest first,
// and after them on return.
//
// A recursion waits one fused multiply-add per sample for the previous
// output, whatever else is summed ahead. So the four segments run side by
// side, one in each lane, each from a zero past but the first, which has the
// true one: sums as in Df1, and the first segment's outputs are Df1's. Those
// of segment s then lack the response to the true last P outputs t_j =
// y[s len - j] of segment s - 1: sum_j g_j[n] t_j, with g_j the recursion's
// output n with no input after a lone 1 at y[-j] (the table g, g_j at g +
// (j - 1) kSegment). The t of each segment follow from the previous
// segment's in turn, P values at a time. Superposing the two parts is exact
// for the recursion; PastResponses keeps the rounding of the sum near the
// direct form's.
template <int P, bool Contiguous>
[[gnu::always_inline]] inline void Segments(const double* b, const double* na, const double* g, const double* xb,
                                            int len, double* yr, double* y, std::ptrdiff_t ys,
                                            const double* xNext, int nextCount) {
  // lanes[m][s]: the input xb[s len + m], its segment's input m - P; then
  // from m = 0 the output m, written over the input it no longer needs.
  TV4 lanes[kMaxTemplateOrder + kSegment];
  int m = 0;
  for (; m + 4 <= P + len; m += 4) {
    TV4 r[4];
#pragma GCC unroll 4
    for (int s = 0; s < 4; ++s) ORVEL_LOAD4(r[s], xb + s * len + m);
    ORVEL_TRANSPOSE4(lanes + m, r);
  }
  for (; m < P + len; ++m) lanes[m] = TV4{xb[m], xb[len + m], xb[2 * len + m], xb[3 * len + m]};
  TV4 bv[P + 1], nav[P + 1];
  for (int k = 0; k <= P; ++k) bv[k] = TV4{b[k], b[k], b[k], b[k]};
  for (int k = 1; k <= P; ++k) nav[k] = TV4{na[k], na[k], na[k], na[k]};
  // The past outputs of the lanes in a ring, as in Df1.
  TV4 ring[P];
  for (int k = 0; k < P; ++k) ring[P - 1 - k] = TV4{yr[k], 0.0, 0.0, 0.0};
  int n = 0;
  for (; n + P <= len; n += P) {
#pragma GCC unroll 16
    for (int q = 0; q < P; ++q) {
      TV4 v = bv[0] * lanes[P + n + q];
#pragma GCC unroll 16
      for (int k = 1; k <= P; ++k) ORVEL_FMA4(v, bv[k], lanes[P + n + q - k]);
#pragma GCC unroll 16
      for (int k = P; k >= 1; --k) ORVEL_FMA4(v, nav[k], ring[(q - k + 2 * P) % P]);
      ring[q] = v;
      lanes[n + q] = v;
      // This chunk's outputs and the next one's inputs on their way from
      // memory, a few lines at a time so as not to hold up the loads.
      if (Contiguous) {
        __builtin_prefetch(y + 4 * (n + q), 1, 1);
        if (4 * (n + q) < nextCount) __builtin_prefetch(xNext + 4 * (n + q), 0, 1);
      }
    }
  }
  for (; n < len; ++n) {
    TV4 v = bv[0] * lanes[P + n];
    for (int k = 1; k <= P; ++k) ORVEL_FMA4(v, bv[k], lanes[P + n - k]);
    for (int k = P; k >= 1; --k) ORVEL_FMA4(v, nav[k], ring[P - k]);
    for (int k = 0; k + 1 < P; ++k) ring[k] = ring[k + 1];
    ring[P - 1] = v;
    lanes[n] = v;
  }
  // t[s - 1][j - 1]: the true y[s len - j], s = 1 .. 4; the last are the new yr.
  double t[4][P];
  for (int j = 1; j <= P; ++j) t[0][j - 1] = lanes[len - j][0];
  for (int s = 1; s < 4; ++s)
    for (int j = 1; j <= P; ++j) {
      double v = lanes[len - j][s];
      for (int i = P; i >= 1; --i) v = std::fma(g[(i - 1) * kSegment + len - j], t[s - 1][i - 1], v);
      t[s][j - 1] = v;
    }
  for (int j = 0; j < P; ++j) yr[j] = t[3][j];
  // The outputs by segment again, with the same sums as above.
  TV4 ts[3][P];
  for (int s = 0; s < 3; ++s)
    for (int i = 0; i < P; ++i) ts[s][i] = TV4{t[s][i], t[s][i], t[s][i], t[s][i]};
  for (n = 0; n < len; n += 4) {
    TV4 r[4];
    ORVEL_TRANSPOSE4(r, lanes + n);
#pragma GCC unroll 4
    for (int s = 1; s < 4; ++s) {
#pragma GCC unroll 16
      for (int i = P; i >= 1; --i) {
        TV4 gi;
        ORVEL_LOAD4(gi, g + (i - 1) * kSegment + n);
        ORVEL_FMA4(r[s], gi, ts[s - 1][i - 1]);
      }
    }
#pragma GCC unroll 4
    for (int s = 0; s < 4; ++s) {
      if (Contiguous)
        ORVEL_STORE4(y + s * len + n, r[s]);
      else
        for (int l = 0; l < 4; ++l) y[(s * len + n + l) * ys] = r[s][l];
    }
  }
}

// The direct form I over n samples of one stream (stride xs in, ys out):
//   w[n] = b_0 x[n] + b_1 x[n-1] + ... + b_P x[n-P]   (in this order)
//   y[n] = w[n] - a_P y[n-P] - ... - a_1 y[n-1]       (oldest first)
// each term after the first added by a fused multiply-add. The newest output
// enters last, so the recursion waits one such operation per sample; chunks
// of at least four kMinSegment samples run as four segments at once
// (Segments) when g, its table, is given. A fused multiply-add is rounded
// once by definition, so the machine's instructions and the C library's fma
// give the same bits (platform/spl/SimdLoops.h). xh, yh: the last P inputs
// and outputs, newest first.
template <int P, bool Contiguous>
ORVEL_FMA_LOOP void Df1(const double* b, const double* a, const double* g, double* xh, double* yh, const double* x,
                        std::ptrdiff_t xsGiven, double* y, std::ptrdiff_t ysGiven, int n) {
  // Contiguous data let the compiler drop the stride arithmetic.
  const std::ptrdiff_t xs = Contiguous ? 1 : xsGiven;
  const std::ptrdiff_t ys = Contiguous ? 1 : ysGiven;
  // The denominator negated, in registers or at least not behind the output
  // stores, which the compiler must otherwise assume may change it.
  double na[P + 1];
  for (int k = 1; k <= P; ++k) na[k] = -a[k];
  TV4 bv[P + 1];
  for (int k = 0; k <= P; ++k) bv[k] = TV4{b[k], b[k], b[k], b[k]};
  double xb[P + kChunk];
  double w[kChunk];
  std::array<double, P> yr;
  for (int k = 0; k < P; ++k) {
    xb[P - 1 - k] = xh[k];
    yr[k] = yh[k];
  }
  // Whole chunks of four segments where they run, else a multiple of P.
  const int span = g != nullptr ? kChunk : kChunk / P * P;
  for (int done = 0; done < n;) {
    const int c = std::min(span, n - done);
    // Four at a time where contiguous: the compiler's own copy of the plain
    // loop (a string move) costs a cycle a sample on some machines.
    int copied = 0;
    if (Contiguous)
      for (; copied + 4 <= c; copied += 4) {
        TV4 v;
        ORVEL_LOAD4(v, x + done + copied);
        ORVEL_STORE4(xb + P + copied, v);
      }
    for (int j = copied; j < c; ++j) xb[P + j] = x[(done + j) * xs];
    int j = 0;
    const int len = c / 16 * 4;
    if (g != nullptr && len >= kMinSegment) {
      Segments<P, Contiguous>(b, na, g, xb, len, yr.data(), y + done * ys, ys, x + (done + c) * xs,
                              n - done - c);
      j = 4 * len;
    }
    // The numerator of the rest, eight outputs at a time in registers.
    int i = j;
    for (; i + 8 <= c; i += 8) {
      TV4 lo, hi, xlo, xhi;
      ORVEL_LOAD4(xlo, xb + P + i);
      ORVEL_LOAD4(xhi, xb + P + i + 4);
      lo = bv[0] * xlo;
      hi = bv[0] * xhi;
#pragma GCC unroll 16
      for (int k = 1; k <= P; ++k) {
        ORVEL_LOAD4(xlo, xb + P + i - k);
        ORVEL_LOAD4(xhi, xb + P + i - k + 4);
        ORVEL_FMA4(lo, bv[k], xlo);
        ORVEL_FMA4(hi, bv[k], xhi);
      }
      ORVEL_STORE4(w + i, lo);
      ORVEL_STORE4(w + i + 4, hi);
    }
    for (; i < c; ++i) {
      double acc = b[0] * xb[P + i];
      for (int k = 1; k <= P; ++k) acc = std::fma(b[k], xb[P + i - k], acc);
      w[i] = acc;
    }
    // Groups of P samples with the outputs in a ring of P registers: slot s
    // of the group receives its output over the oldest one, so that no
    // value moves between registers on the way from one output to the next.
    std::array<double, P> ring;
    for (int k = 0; k < P; ++k) ring[P - 1 - k] = yr[k];
    for (; j + P <= c; j += P) {
#pragma GCC unroll 16
      for (int q = 0; q < P; ++q) {
        double r = w[j + q];
#pragma GCC unroll 16
        for (int k = P; k >= 2; --k) r = std::fma(na[k], ring[(q - k + 2 * P) % P], r);
        const double yj = std::fma(na[1], ring[(q - 1 + P) % P], r);
        ring[q] = yj;
        y[(done + j + q) * ys] = yj;
      }
    }
    for (int k = 0; k < P; ++k) yr[k] = ring[P - 1 - k];
    for (; j < c; ++j) {
      double r = w[j];
      for (int k = P; k >= 2; --k) r = std::fma(na[k], yr[k - 1], r);
      const double yj = std::fma(na[1], yr[0], r);
      for (int k = P - 1; k >= 1; --k) yr[k] = yr[k - 1];
      yr[0] = yj;
      y[(done + j) * ys] = yj;
    }
    for (int k = 0; k < P; ++k) xb[k] = xb[c + k];
    done += c;
  }
  for (int k = 0; k < P; ++k) {
    xh[k] = xb[P - 1 - k];
    yh[k] = yr[k];
  }
}

// The same for any order (and order 0, a gain).
void Df1Any(int order, const double* b, const double* a, double* xh, double* yh, const double* x,
            std::ptrdiff_t xs, double* y, std::ptrdiff_t ys, int n) {
  for (int i = 0; i < n; ++i) {
    const double xi = x[i * xs];
    double w = b[0] * xi;
    for (int k = 1; k <= order; ++k) w += b[k] * xh[k - 1];
    double r = w;
    for (int k = order; k >= 1; --k) r = std::fma(-a[k], yh[k - 1], r);
    for (int k = order - 1; k >= 1; --k) {
      xh[k] = xh[k - 1];
      yh[k] = yh[k - 1];
    }
    if (order > 0) {
      xh[0] = xi;
      yh[0] = r;
    }
    y[i * ys] = r;
  }
}

using TRealRecursion = void (*)(const double*, const double*, const double*, double*, double*, const double*,
                                std::ptrdiff_t, double*, std::ptrdiff_t, int);

template <bool Contiguous, int... Orders>
constexpr std::array<TRealRecursion, sizeof...(Orders) + 1> MakeRecursions(std::integer_sequence<int, Orders...>) {
  return {nullptr, &Df1<Orders + 1, Contiguous>...};
}

// Df1<1> .. Df1<16> by order, for strided and for contiguous data.
constexpr auto kRecursions = MakeRecursions<false>(std::make_integer_sequence<int, kMaxTemplateOrder>{});
constexpr auto kContiguousRecursions = MakeRecursions<true>(std::make_integer_sequence<int, kMaxTemplateOrder>{});

// The table of Segments for the denominator a (a[0] = 1): g_j[n], n <
// kSegment, the outputs of the recursion with no input after a lone 1 at
// y[-j], summed in long double so that each entry is rounded once.
//
// Empty where the sum over j of |g_j[n]| exceeds kMaxPastGain at some n: the
// correction sum_j g_j[n] t_j then cancels terms that large, and its
// rounding would outweigh the direct form's (at 200 it is five times the
// direct form's error at orders 12 to 16; below 128 it stays near it). That
// happens as the poles crowd together (a low cut-off at a high order); such
// filters, and unstable ones, keep to the sample-by-sample loop.
constexpr double kMaxPastGain = 128;

std::vector<double> PastResponses(int order, const double* a) {
  std::vector<double> g(static_cast<std::size_t>(order) * kSegment);
  std::vector<long double> h(static_cast<std::size_t>(order) + kSegment);
  std::vector<double> gain(kSegment, 0.0);
  for (int j = 1; j <= order; ++j) {
    std::fill(h.begin(), h.end(), 0.0L);
    h[order - j] = 1.0L;
    for (int n = 0; n < kSegment; ++n) {
      long double v = 0.0L;
      for (int k = 1; k <= order; ++k) v -= static_cast<long double>(a[k]) * h[order + n - k];
      h[order + n] = v;
      const double rounded = static_cast<double>(v);
      gain[n] += std::fabs(rounded);
      // Also false for a NaN or an overflow.
      if (!(gain[n] <= kMaxPastGain)) return {};
      g[static_cast<std::size_t>(j - 1) * kSegment + n] = rounded;
    }
  }
  return g;
}

[[noreturn]] void Refuse(const std::string& message) { throw classlib::Exception(message); }

}  // namespace

class IirEngine {
 public:
  IirEngine(IirKind kind, const double* taps, int order, bool complexTaps) : FKind(kind), FOrder(order) {
    if (taps == nullptr || order < 0) Refuse("IirInit: no taps");
    const int count = order + 1;
    const int width = complexTaps ? 2 : 1;
    const double* b = taps;
    const double* a = taps + static_cast<std::ptrdiff_t>(count) * width;
    const double a0re = a[0], a0im = complexTaps ? a[1] : 0.0;
    if (a0re == 0.0 && a0im == 0.0) Refuse("IirInit: the denominator's leading coefficient is 0");
    FB.resize(static_cast<std::size_t>(count) * width);
    FA.resize(static_cast<std::size_t>(count) * width);
    if (!complexTaps) {
      for (int k = 0; k < count; ++k) {
        FB[k] = b[k] / a0re;
        FA[k] = a[k] / a0re;
      }
    } else {
      // Division by a0 as multiplication by its reciprocal's parts.
      const double d = a0re * a0re + a0im * a0im;
      const double ir = a0re / d, ii = -a0im / d;
      for (int k = 0; k < count; ++k) {
        FB[2 * k] = b[2 * k] * ir - b[2 * k + 1] * ii;
        FB[2 * k + 1] = b[2 * k] * ii + b[2 * k + 1] * ir;
        FA[2 * k] = a[2 * k] * ir - a[2 * k + 1] * ii;
        FA[2 * k + 1] = a[2 * k] * ii + a[2 * k + 1] * ir;
      }
      FA[0] = 1.0;
      FA[1] = 0.0;
    }
    // Real coefficients: per data stream the last inputs and outputs;
    // complex ones: one complex transposed state.
    FZ.assign(static_cast<std::size_t>(order) * 2, 0.0);
    FHistory.assign(static_cast<std::size_t>(order) * 4, 0.0);
    if (!complexTaps && order >= 1 && order <= kMaxTemplateOrder) FPast = PastResponses(order, FA.data());
  }

  IirKind Kind() const { return FKind; }

  void RunReal(const double* x, std::ptrdiff_t xs, double* y, std::ptrdiff_t ys, int n, int stream) {
    // Per stream the last inputs, then the last outputs.
    double* xh = FHistory.data() + static_cast<std::ptrdiff_t>(stream) * 2 * FOrder;
    double* yh = xh + FOrder;
    if (FOrder >= 1 && FOrder <= kMaxTemplateOrder)
      (xs == 1 && ys == 1 ? kContiguousRecursions : kRecursions)[FOrder](
          FB.data(), FA.data(), FPast.empty() ? nullptr : FPast.data(), xh, yh, x, xs, y, ys, n);
    else
      Df1Any(FOrder, FB.data(), FA.data(), xh, yh, x, xs, y, ys, n);
  }

  // Complex coefficients; xIm null for real data.
  void RunComplex(const double* xRe, const double* xIm, std::ptrdiff_t xs, double* yRe, double* yIm,
                  std::ptrdiff_t ys, int n) {
    const double* b = FB.data();
    const double* a = FA.data();
    double* z = FZ.data();
    const int m = FOrder;
    for (int i = 0; i < n; ++i) {
      const double xr = xRe[i * xs], xi = xIm ? xIm[i * xs] : 0.0;
      // b0 x
      double yr = b[0] * xr - b[1] * xi, yi = b[0] * xi + b[1] * xr;
      if (m > 0) {
        yr = z[0] + yr;
        yi = z[1] + yi;
      }
      for (int k = 0; k < m; ++k) {
        const double* bk = b + 2 * (k + 1);
        const double* ak = a + 2 * (k + 1);
        const double bxr = bk[0] * xr - bk[1] * xi, bxi = bk[0] * xi + bk[1] * xr;
        const double ayr = ak[0] * yr - ak[1] * yi, ayi = ak[0] * yi + ak[1] * yr;
        if (k < m - 1) {
          z[2 * k] = z[2 * k + 2] + bxr - ayr;
          z[2 * k + 1] = z[2 * k + 3] + bxi - ayi;
        } else {
          z[2 * k] = bxr - ayr;
          z[2 * k + 1] = bxi - ayi;
        }
      }
      yRe[i * ys] = yr;
      yIm[i * ys] = yi;
    }
  }

 private:
  IirKind FKind;
  int FOrder;
  std::vector<double> FB, FA, FZ, FHistory;
  // Real coefficients up to order kMaxTemplateOrder: the table of Segments.
  std::vector<double> FPast;
};

}  // namespace detail

using detail::IirEngine;
using detail::IirKind;

IirState::IirState() = default;
IirState::~IirState() = default;
IirState::IirState(IirState&&) noexcept = default;
IirState& IirState::operator=(IirState&&) noexcept = default;

namespace {

void Init(IirState& state, int iirType, IirKind kind, const double* taps, int order, bool complexTaps) {
  if (iirType != NSP_IirDefault) throw classlib::Exception("IirInit: unknown filter kind " + std::to_string(iirType));
  state.Engine = std::make_unique<IirEngine>(kind, taps, order, complexTaps);
}

IirEngine& EngineOf(IirState& state, IirKind kind) {
  if (!state.Engine) throw classlib::Exception("bIir: the IIR state is not initialised");
  if (state.Engine->Kind() != kind) throw classlib::Exception("bIir: the data or taps differ from the set-up");
  return *state.Engine;
}

const double* D(const DCplx* p) { return reinterpret_cast<const double*>(p); }
double* D(DCplx* p) { return reinterpret_cast<double*>(p); }

}  // namespace

void nspdIirInit(int iirType, const double* taps, int order, IirState& state) {
  Init(state, iirType, IirKind::d, taps, order, false);
}
void nspzdIirInit(int iirType, const double* taps, int order, IirState& state) {
  Init(state, iirType, IirKind::zd, taps, order, false);
}
void nspdzIirInit(int iirType, const DCplx* taps, int order, IirState& state) {
  Init(state, iirType, IirKind::dz, D(taps), order, true);
}
void nspzIirInit(int iirType, const DCplx* taps, int order, IirState& state) {
  Init(state, iirType, IirKind::z, D(taps), order, true);
}

void nspdbIir(IirState& state, const double* in, double* out, int n) {
  if (n > 0) EngineOf(state, IirKind::d).RunReal(in, 1, out, 1, n, 0);
}
void nspzdbIir(IirState& state, const DCplx* in, DCplx* out, int n) {
  if (n <= 0) return;
  IirEngine& e = EngineOf(state, IirKind::zd);
  e.RunReal(D(in), 2, D(out), 2, n, 0);
  e.RunReal(D(in) + 1, 2, D(out) + 1, 2, n, 1);
}
void nspdzbIir(IirState& state, const double* in, DCplx* out, int n) {
  if (n <= 0) return;
  EngineOf(state, IirKind::dz).RunComplex(in, nullptr, 1, D(out), D(out) + 1, 2, n);
}
void nspzbIir(IirState& state, const DCplx* in, DCplx* out, int n) {
  if (n > 0) EngineOf(state, IirKind::z).RunComplex(D(in), D(in) + 1, 2, D(out), D(out) + 1, 2, n);
}

void nspIirFree(IirState& state) { state.Engine.reset(); }

}  // namespace spl
