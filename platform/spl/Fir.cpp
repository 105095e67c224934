// Running FIR filters: every variant is taken apart into real convolutions of
// real streams (the real and imaginary parts of the data) with real tap sets
// (the real and imaginary parts of the taps), which are then combined. The
// single-rate convolutions run in chunks, by a register-blocked direct form or,
// for long filters, by overlap-save FFT convolution; the multirate ones run
// output by output over the polyphase branch each output needs.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include "platform/spl/Fir.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/spl/Fft.h"
#include "platform/spl/SimdLoops.h"


namespace spl {

namespace detail {

namespace {

// Outputs computed together in registers by the direct form: 8 vectors of 4.
constexpr int kVectors = 8;
constexpr int kLanes = 4 * kVectors;
// New samples per chunk of the direct form.
constexpr int kChunk = 4096;
// From this many taps on, chunks of at least as many samples go through FFT
// convolution, which is faster there.
constexpr int kFftMinTaps = 48;

// y[i] := sum_{k < m} h[k] x[i - k] for i < n; x[-m+1 .. -1] is the history.
// Each output sums its terms in the order of k, as the plain direct form
// does, so both copies of the loop give the same bits.
ORVEL_WIDE_LOOP
void ConvolveDirect(const double* h, int m, const double* x, double* y, int n) {
  int i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    TV4 acc[kVectors] = {};
    for (int k = 0; k < m; ++k) {
      const TV4 hk = {h[k], h[k], h[k], h[k]};
      const double* xp = x + i - k;
#pragma GCC unroll 8
      for (int v = 0; v < kVectors; ++v) {
        TV4 xv;
        ORVEL_LOAD4(xv, xp + 4 * v);
        acc[v] += hk * xv;
      }
    }
#pragma GCC unroll 8
    for (int v = 0; v < kVectors; ++v) ORVEL_STORE4(y + i + 4 * v, acc[v]);
  }
  for (; i < n; ++i) {
    double acc = 0.0;
    for (int k = 0; k < m; ++k) acc += h[k] * x[i - k];
    y[i] = acc;
  }
}

int OrderOf(int n) {
  int order = 0;
  while ((1 << order) < n) ++order;
  return order;
}

// The transform size of the overlap-save convolution with m taps: each
// transform gives 7/8 of its size in outputs.
int FftOrderFor(int m) { return OrderOf(8 * m); }

[[noreturn]] void Refuse(const std::string& message) { throw classlib::Exception(message); }

}  // namespace

enum class FirKind { d, z, dz, zd };

class FirEngine {
 public:
  FirEngine(FirKind kind, const double* taps, int tapsLen, bool complexTaps) : FKind(kind), FM(tapsLen) {
    if (taps == nullptr || tapsLen < 1) Refuse("FirInit: no taps");
    FTaps[0].resize(tapsLen);
    if (complexTaps) FTaps[1].resize(tapsLen);
    for (int k = 0; k < tapsLen; ++k) {
      FTaps[0][k] = complexTaps ? taps[2 * k] : taps[k];
      if (complexTaps) FTaps[1][k] = taps[2 * k + 1];
    }
    FTapSets = complexTaps ? 2 : 1;
    FStreams = (kind == FirKind::z || kind == FirKind::zd) ? 2 : 1;
  }

  void SetMultirate(int up, int upPhase, int down, int downPhase) {
    if (up < 1 || down < 1) Refuse("FirInitMr: (down < 1) or (up < 1)");
    if (upPhase < 0 || upPhase >= up || downPhase < 0 || downPhase >= down)
      Refuse("FirInitMr: phases outside 0 .. factor-1");
    FMultirate = true;
    FUp = up;
    FUpPhase = upPhase;
    FDown = down;
    FDownPhase = downPhase;
    // Inputs an output can reach back to, beside the newest one.
    FHistory = (FM - 1) / up + 1;
    for (int s = 0; s < FStreams; ++s) FInputs[s].assign(FHistory, 0.0);
    FFirstInput = -FHistory;
  }

  FirKind Kind() const { return FKind; }

  int Outputs(int n) const {
    if (!FMultirate) return n;
    const long long from = FConsumed * FUp, to = (FConsumed + n) * FUp;
    return static_cast<int>(OutputsBefore(to) - OutputsBefore(from));
  }

  // in: the real parts at inRe[i * inStride], the imaginary ones at
  // inIm[i * inStride] (null for real data); out likewise (outIm null for a
  // real output).
  int Run(const double* inRe, const double* inIm, int inStride, double* outRe, double* outIm, int outStride,
          int n) {
    if (n <= 0) return 0;
    if (FMultirate) return RunMultirate(inRe, inIm, inStride, outRe, outIm, outStride, n);
    RunSingle(inRe, inIm, inStride, outRe, outIm, outStride, n);
    return n;
  }

 private:
  FirKind FKind;
  int FM;
  int FTapSets = 1;
  int FStreams = 1;
  std::vector<double> FTaps[2];
  // single rate: per stream the last M-1 inputs, then room for a chunk
  std::vector<double> FBuffer[2];
  std::vector<double> FOut[4];
  // FFT convolution: size, order, the tap sets' spectra (scaled by 1/size)
  int FFftSize = 0;
  int FFftOrder = 0;
  std::vector<DCplx> FTapSpectra[2];
  std::vector<DCplx> FSpectra[2];
  std::vector<DCplx> FProduct;
  // multirate
  bool FMultirate = false;
  int FUp = 1, FUpPhase = 0, FDown = 1, FDownPhase = 0;
  int FHistory = 0;
  long long FConsumed = 0;
  long long FFirstInput = 0;  // global index of FInputs[s][0]
  std::vector<double> FInputs[2];

  // Outputs whose stream position lies below p.
  long long OutputsBefore(long long p) const {
    if (p <= FDownPhase) return 0;
    return (p - FDownPhase + FDown - 1) / FDown;
  }

  bool UsesFft(int chunk) const { return FM >= kFftMinTaps && chunk >= FM; }

  void PrepareFft() {
    if (FFftSize > 0) return;
    FFftOrder = FftOrderFor(FM);
    FFftSize = 1 << FFftOrder;
    const int bins = FFftSize / 2 + 1;
    std::vector<double> padded(FFftSize + 2, 0.0);
    for (int t = 0; t < FTapSets; ++t) {
      std::fill(padded.begin(), padded.end(), 0.0);
      std::copy(FTaps[t].begin(), FTaps[t].end(), padded.begin());
      FTapSpectra[t].resize(bins);
      nspdRealFftNip(padded.data(), FTapSpectra[t].data(), FFftOrder, NSP_Forw);
      const double scale = 1.0 / FFftSize;
      for (DCplx& c : FTapSpectra[t]) {
        c.re *= scale;
        c.im *= scale;
      }
    }
    for (int s = 0; s < FStreams; ++s) FSpectra[s].resize(bins);
    FProduct.resize(bins);
  }

  // The largest chunk a call may take at once.
  int ChunkLimit() const {
    if (FM >= kFftMinTaps) return std::max(kChunk, (1 << FftOrderFor(FM)) - FM + 1);
    return kChunk;
  }

  void EnsureBuffers() {
    const std::size_t size = static_cast<std::size_t>(FM - 1) + ChunkLimit() + 2;
    for (int s = 0; s < FStreams; ++s)
      if (FBuffer[s].size() < size) FBuffer[s].resize(size, 0.0);
    for (auto& out : FOut)
      if (out.size() < static_cast<std::size_t>(ChunkLimit())) out.resize(ChunkLimit());
  }

  // FOut[r] := stream s convolved with tap set t, for the c new samples.
  void Convolve(int s, int t, double* y, int c, bool fft) {
    const double* x = FBuffer[s].data() + (FM - 1);
    if (!fft) {
      ConvolveDirect(FTaps[t].data(), FM, x, y, c);
      return;
    }
    const int bins = FFftSize / 2 + 1;
    const DCplx* a = FSpectra[s].data();
    const DCplx* b = FTapSpectra[t].data();
    for (int k = 0; k < bins; ++k)
      FProduct[k] = DCplx{a[k].re * b[k].re - a[k].im * b[k].im, a[k].re * b[k].im + a[k].im * b[k].re};
    InverseInto(y, c);
  }

  // Combines two products in the spectrum before one inverse: sign +1 adds
  // (s1 * t1 + s2 * t2), -1 subtracts.
  void ConvolvePair(int s1, int t1, int s2, int t2, double sign, double* y, int c) {
    const int bins = FFftSize / 2 + 1;
    const DCplx *a = FSpectra[s1].data(), *b = FTapSpectra[t1].data();
    const DCplx *p = FSpectra[s2].data(), *q = FTapSpectra[t2].data();
    for (int k = 0; k < bins; ++k) {
      const double re = a[k].re * b[k].re - a[k].im * b[k].im;
      const double im = a[k].re * b[k].im + a[k].im * b[k].re;
      const double re2 = p[k].re * q[k].re - p[k].im * q[k].im;
      const double im2 = p[k].re * q[k].im + p[k].im * q[k].re;
      FProduct[k] = DCplx{re + sign * re2, im + sign * im2};
    }
    InverseInto(y, c);
  }

  void InverseInto(double* y, int c) {
    std::vector<double>& time = FOut[3];
    if (time.size() < static_cast<std::size_t>(FFftSize)) time.resize(FFftSize);
    nspdCcsFftNip(FProduct.data(), time.data(), FFftOrder, NSP_Inv | NSP_NoScal);
    std::copy(time.begin() + (FM - 1), time.begin() + (FM - 1) + c, y);
  }

  void RunSingle(const double* inRe, const double* inIm, int inStride, double* outRe, double* outIm,
                 int outStride, int n) {
    EnsureBuffers();
    for (int done = 0; done < n;) {
      const int remaining = n - done;
      const bool fft = UsesFft(remaining);
      if (fft) PrepareFft();
      const int c = std::min(remaining, fft ? FFftSize - FM + 1 : kChunk);
      const double* src[2] = {inRe + static_cast<std::ptrdiff_t>(done) * inStride,
                              inIm ? inIm + static_cast<std::ptrdiff_t>(done) * inStride : nullptr};
      for (int s = 0; s < FStreams; ++s) {
        double* dst = FBuffer[s].data() + (FM - 1);
        if (inStride == 1) {
          std::memmove(dst, src[s], sizeof(double) * c);
        } else {
          for (int i = 0; i < c; ++i) dst[i] = src[s][static_cast<std::ptrdiff_t>(i) * inStride];
        }
      }
      if (fft) {
        PrepareFft();
        for (int s = 0; s < FStreams; ++s) {
          // The buffer beyond the new samples is zero within the transform's span.
          double* b = FBuffer[s].data();
          std::fill(b + (FM - 1) + c, b + FFftSize, 0.0);
          nspdRealFftNip(b, FSpectra[s].data(), FFftOrder, NSP_Forw);
        }
      }
      double* re = outStride == 1 ? outRe + done : FOut[0].data();
      double* im = FOut[1].data();
      switch (FKind) {
        case FirKind::d: Convolve(0, 0, re, c, fft); break;
        case FirKind::zd:
          Convolve(0, 0, re, c, fft);
          Convolve(1, 0, im, c, fft);
          break;
        case FirKind::dz:
          Convolve(0, 0, re, c, fft);
          Convolve(0, 1, im, c, fft);
          break;
        case FirKind::z:
          if (fft) {
            ConvolvePair(0, 0, 1, 1, -1.0, re, c);
            ConvolvePair(1, 0, 0, 1, +1.0, im, c);
          } else {
            double* t = FOut[2].data();
            Convolve(0, 0, re, c, false);
            Convolve(1, 1, t, c, false);
            for (int i = 0; i < c; ++i) re[i] -= t[i];
            Convolve(1, 0, im, c, false);
            Convolve(0, 1, t, c, false);
            for (int i = 0; i < c; ++i) im[i] += t[i];
          }
          break;
      }
      if (outStride != 1) {
        for (int i = 0; i < c; ++i) {
          outRe[static_cast<std::ptrdiff_t>(done + i) * outStride] = re[i];
          if (outIm) outIm[static_cast<std::ptrdiff_t>(done + i) * outStride] = im[i];
        }
      }
      for (int s = 0; s < FStreams; ++s) {
        double* b = FBuffer[s].data();
        std::memmove(b, b + c, sizeof(double) * (FM - 1));
      }
      done += c;
    }
  }

  // sum over the inputs that reach stream position j: h_t[j - q up - upPhase] x_s[q].
  double Branch(int s, int t, long long j) const {
    const long long rel = j - FUpPhase;
    if (rel < 0) return 0.0;
    const long long qHi = rel / FUp;
    long long qLo = rel - (FM - 1) <= 0 ? 0 : (rel - (FM - 1) + FUp - 1) / FUp;
    qLo = std::max(qLo, FFirstInput);
    const double* h = FTaps[t].data();
    const double* x = FInputs[s].data();
    double acc = 0.0;
    for (long long q = qHi; q >= qLo; --q) acc += h[rel - q * FUp] * x[q - FFirstInput];
    return acc;
  }

  int RunMultirate(const double* inRe, const double* inIm, int inStride, double* outRe, double* outIm,
                   int outStride, int n) {
    const double* src[2] = {inRe, inIm};
    for (int s = 0; s < FStreams; ++s) {
      std::vector<double>& v = FInputs[s];
      const std::size_t old = v.size();
      v.resize(old + n);
      for (int i = 0; i < n; ++i) v[old + i] = src[s][static_cast<std::ptrdiff_t>(i) * inStride];
    }
    const long long first = OutputsBefore(FConsumed * FUp);
    const long long last = OutputsBefore((FConsumed + n) * FUp);
    for (long long m = first; m < last; ++m) {
      const long long j = m * FDown + FDownPhase;
      double re = 0.0, im = 0.0;
      switch (FKind) {
        case FirKind::d: re = Branch(0, 0, j); break;
        case FirKind::zd:
          re = Branch(0, 0, j);
          im = Branch(1, 0, j);
          break;
        case FirKind::dz:
          re = Branch(0, 0, j);
          im = Branch(0, 1, j);
          break;
        case FirKind::z:
          re = Branch(0, 0, j) - Branch(1, 1, j);
          im = Branch(1, 0, j) + Branch(0, 1, j);
          break;
      }
      const std::ptrdiff_t k = static_cast<std::ptrdiff_t>(m - first) * outStride;
      outRe[k] = re;
      if (outIm) outIm[k] = im;
    }
    FConsumed += n;
    // Keep the inputs the next outputs can still reach.
    const long long keepFrom = FConsumed - FHistory;
    for (int s = 0; s < FStreams; ++s) {
      std::vector<double>& v = FInputs[s];
      v.erase(v.begin(), v.begin() + (keepFrom - FFirstInput));
    }
    FFirstInput = keepFrom;
    return static_cast<int>(last - first);
  }
};

}  // namespace detail

using detail::FirEngine;
using detail::FirKind;

FirState::FirState() = default;
FirState::~FirState() = default;
FirState::FirState(FirState&&) noexcept = default;
FirState& FirState::operator=(FirState&&) noexcept = default;

namespace {

void Init(FirState& state, FirKind kind, const double* taps, int tapsLen, bool complexTaps) {
  state.Engine = std::make_unique<FirEngine>(kind, taps, tapsLen, complexTaps);
}

void InitMr(FirState& state, FirKind kind, const double* taps, int tapsLen, bool complexTaps, int up, int upPhase,
            int down, int downPhase) {
  auto engine = std::make_unique<FirEngine>(kind, taps, tapsLen, complexTaps);
  engine->SetMultirate(up, upPhase, down, downPhase);
  state.Engine = std::move(engine);
}

FirEngine& EngineOf(FirState& state, FirKind kind) {
  if (!state.Engine) throw classlib::Exception("bFir: the FIR state is not initialised");
  if (state.Engine->Kind() != kind) throw classlib::Exception("bFir: the data or taps differ from the set-up");
  return *state.Engine;
}

const double* D(const DCplx* p) { return reinterpret_cast<const double*>(p); }
double* D(DCplx* p) { return reinterpret_cast<double*>(p); }

}  // namespace

void nspdFirInit(const double* taps, int tapsLen, FirState& state) { Init(state, FirKind::d, taps, tapsLen, false); }
void nspzFirInit(const DCplx* taps, int tapsLen, FirState& state) { Init(state, FirKind::z, D(taps), tapsLen, true); }
void nspdzFirInit(const DCplx* taps, int tapsLen, FirState& state) {
  Init(state, FirKind::dz, D(taps), tapsLen, true);
}
void nspzdFirInit(const double* taps, int tapsLen, FirState& state) { Init(state, FirKind::zd, taps, tapsLen, false); }

void nspdFirInitMr(const double* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state) {
  InitMr(state, FirKind::d, taps, tapsLen, false, up, upPhase, down, downPhase);
}
void nspzFirInitMr(const DCplx* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state) {
  InitMr(state, FirKind::z, D(taps), tapsLen, true, up, upPhase, down, downPhase);
}
void nspdzFirInitMr(const DCplx* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state) {
  InitMr(state, FirKind::dz, D(taps), tapsLen, true, up, upPhase, down, downPhase);
}
void nspzdFirInitMr(const double* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state) {
  InitMr(state, FirKind::zd, taps, tapsLen, false, up, upPhase, down, downPhase);
}

int nspFirOutputs(const FirState& state, int n) {
  if (!state.Engine) throw classlib::Exception("bFir: the FIR state is not initialised");
  return state.Engine->Outputs(n);
}

int nspdbFir(FirState& state, const double* in, double* out, int n) {
  return EngineOf(state, FirKind::d).Run(in, nullptr, 1, out, nullptr, 1, n);
}
int nspzbFir(FirState& state, const DCplx* in, DCplx* out, int n) {
  return EngineOf(state, FirKind::z).Run(D(in), D(in) + 1, 2, D(out), D(out) + 1, 2, n);
}
int nspdzbFir(FirState& state, const double* in, DCplx* out, int n) {
  return EngineOf(state, FirKind::dz).Run(in, nullptr, 1, D(out), D(out) + 1, 2, n);
}
int nspzdbFir(FirState& state, const DCplx* in, DCplx* out, int n) {
  return EngineOf(state, FirKind::zd).Run(D(in), D(in) + 1, 2, D(out), D(out) + 1, 2, n);
}

void nspFirFree(FirState& state) { state.Engine.reset(); }

}  // namespace spl
