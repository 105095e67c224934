// Running IIR filters. Real coefficients run the direct form I: the
// numerator over a chunk at once, then the recursion, whose latency is what
// limits the speed, with the state in registers up to order 16. Complex
// coefficients run the transposed direct form II in complex arithmetic;
// complex data with real coefficients are two real streams.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
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

// Samples per pass of the numerator.
constexpr int kChunk = 1024;
constexpr int kMaxTemplateOrder = 16;

// The direct form I over n samples of one stream (stride xs in, ys out):
//   w[n] = sum_{k<=P} b_k x[n-k]                  (k ascending, one pass per chunk)
//   y[n] = w[n] - a_P y[n-P] - ... - a_1 y[n-1]   (oldest first, by fused multiply-adds)
// The newest output enters last, through one fused multiply-add, so the
// recursion waits one such operation per sample. A fused multiply-add is
// rounded once by definition, so the machine's instructions and the C
// library's fma give the same bits (platform/spl/SimdLoops.h). xh, yh: the
// last P inputs and outputs, newest first.
template <int P, bool Contiguous>
ORVEL_FMA_LOOP void Df1(const double* b, const double* a, double* xh, double* yh, const double* x,
                        std::ptrdiff_t xsGiven, double* y, std::ptrdiff_t ysGiven, int n) {
  // Contiguous data let the compiler drop the stride arithmetic.
  const std::ptrdiff_t xs = Contiguous ? 1 : xsGiven;
  const std::ptrdiff_t ys = Contiguous ? 1 : ysGiven;
  // The denominator negated, in registers or at least not behind the output
  // stores, which the compiler must otherwise assume may change it.
  double na[P + 1];
  for (int k = 1; k <= P; ++k) na[k] = -a[k];
  double xb[P + kChunk];
  double w[kChunk];
  std::array<double, P> yr;
  for (int k = 0; k < P; ++k) {
    xb[P - 1 - k] = xh[k];
    yr[k] = yh[k];
  }
  for (int done = 0; done < n;) {
    const int c = std::min(kChunk / P * P, n - done);
    for (int j = 0; j < c; ++j) xb[P + j] = x[(done + j) * xs];
    // The numerator, eight outputs at a time in registers.
    int i = 0;
    for (; i + 8 <= c; i += 8) {
      TV4 lo, hi, xlo, xhi;
      const TV4 b0 = {b[0], b[0], b[0], b[0]};
      ORVEL_LOAD4(xlo, xb + P + i);
      ORVEL_LOAD4(xhi, xb + P + i + 4);
      lo = b0 * xlo;
      hi = b0 * xhi;
#pragma GCC unroll 16
      for (int k = 1; k <= P; ++k) {
        const TV4 bk = {b[k], b[k], b[k], b[k]};
        ORVEL_LOAD4(xlo, xb + P + i - k);
        ORVEL_LOAD4(xhi, xb + P + i - k + 4);
        lo += bk * xlo;
        hi += bk * xhi;
      }
      ORVEL_STORE4(w + i, lo);
      ORVEL_STORE4(w + i + 4, hi);
    }
    for (; i < c; ++i) {
      double acc = b[0] * xb[P + i];
      for (int k = 1; k <= P; ++k) acc += b[k] * xb[P + i - k];
      w[i] = acc;
    }
    // Groups of P samples with the outputs in a ring of P registers: slot s
    // of the group receives its output over the oldest one, so that no
    // value moves between registers on the way from one output to the next.
    std::array<double, P> ring;
    for (int k = 0; k < P; ++k) ring[P - 1 - k] = yr[k];
    int j = 0;
    for (; j + P <= c; j += P) {
#pragma GCC unroll 16
      for (int g = 0; g < P; ++g) {
        double r = w[j + g];
#pragma GCC unroll 16
        for (int k = P; k >= 2; --k) r = std::fma(na[k], ring[(g - k + 2 * P) % P], r);
        const double yj = std::fma(na[1], ring[(g - 1 + P) % P], r);
        ring[g] = yj;
        y[(done + j + g) * ys] = yj;
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

using TRealRecursion = void (*)(const double*, const double*, double*, double*, const double*, std::ptrdiff_t,
                                double*, std::ptrdiff_t, int);

template <bool Contiguous, int... Orders>
constexpr std::array<TRealRecursion, sizeof...(Orders) + 1> MakeRecursions(std::integer_sequence<int, Orders...>) {
  return {nullptr, &Df1<Orders + 1, Contiguous>...};
}

// Df1<1> .. Df1<16> by order, for strided and for contiguous data.
constexpr auto kRecursions = MakeRecursions<false>(std::make_integer_sequence<int, kMaxTemplateOrder>{});
constexpr auto kContiguousRecursions = MakeRecursions<true>(std::make_integer_sequence<int, kMaxTemplateOrder>{});

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
  }

  IirKind Kind() const { return FKind; }

  void RunReal(const double* x, std::ptrdiff_t xs, double* y, std::ptrdiff_t ys, int n, int stream) {
    // Per stream the last inputs, then the last outputs.
    double* xh = FHistory.data() + static_cast<std::ptrdiff_t>(stream) * 2 * FOrder;
    double* yh = xh + FOrder;
    if (FOrder >= 1 && FOrder <= kMaxTemplateOrder)
      (xs == 1 && ys == 1 ? kContiguousRecursions : kRecursions)[FOrder](FB.data(), FA.data(), xh, yh, x, xs, y,
                                                                          ys, n);
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
