// Running IIR filters: the transposed direct form II, with the state in
// registers for orders up to 16 (the recursion's latency is what limits it),
// complex coefficients through complex arithmetic, and complex data with real
// coefficients as two real recursions.
// Tested by: platform/spl/tests/FirIirTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include "platform/spl/Iir.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Exception.h"

namespace spl {

namespace detail {

namespace {

enum class IirKind { d, zd, dz, z };

// The recursion over n samples of stride xs (input) and ys (output).
template <int N>
void RealDf2t(const double* b, const double* a, double* state, const double* x, std::ptrdiff_t xs, double* y,
              std::ptrdiff_t ys, int n) {
  std::array<double, N> z;
  for (int k = 0; k < N; ++k) z[k] = state[k];
  for (int i = 0; i < n; ++i) {
    const double xi = x[i * xs];
    const double yi = z[0] + b[0] * xi;
    for (int k = 0; k < N - 1; ++k) z[k] = z[k + 1] + b[k + 1] * xi - a[k + 1] * yi;
    z[N - 1] = b[N] * xi - a[N] * yi;
    y[i * ys] = yi;
  }
  for (int k = 0; k < N; ++k) state[k] = z[k];
}

void RealDf2tAny(int order, const double* b, const double* a, double* z, const double* x, std::ptrdiff_t xs,
                 double* y, std::ptrdiff_t ys, int n) {
  if (order == 0) {
    for (int i = 0; i < n; ++i) y[i * ys] = b[0] * x[i * xs];
    return;
  }
  for (int i = 0; i < n; ++i) {
    const double xi = x[i * xs];
    const double yi = z[0] + b[0] * xi;
    for (int k = 0; k < order - 1; ++k) z[k] = z[k + 1] + b[k + 1] * xi - a[k + 1] * yi;
    z[order - 1] = b[order] * xi - a[order] * yi;
    y[i * ys] = yi;
  }
}

using TRealRecursion = void (*)(const double*, const double*, double*, const double*, std::ptrdiff_t, double*,
                                std::ptrdiff_t, int);

template <int... Orders>
constexpr std::array<TRealRecursion, sizeof...(Orders) + 1> MakeRecursions(std::integer_sequence<int, Orders...>) {
  return {nullptr, &RealDf2t<Orders + 1>...};
}

// RealDf2t<1> .. RealDf2t<16> by order.
constexpr auto kRecursions = MakeRecursions(std::make_integer_sequence<int, 16>{});

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
    // Real coefficients: one real state per data stream; complex ones: one
    // complex state.
    FZ.assign(static_cast<std::size_t>(order) * 2, 0.0);
  }

  IirKind Kind() const { return FKind; }

  void RunReal(const double* x, std::ptrdiff_t xs, double* y, std::ptrdiff_t ys, int n, int stream) {
    double* z = FZ.data() + static_cast<std::ptrdiff_t>(stream) * FOrder;
    if (FOrder >= 1 && FOrder <= 16)
      kRecursions[FOrder](FB.data(), FA.data(), z, x, xs, y, ys, n);
    else
      RealDf2tAny(FOrder, FB.data(), FA.data(), z, x, xs, y, ys, n);
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
  std::vector<double> FB, FA, FZ;
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
