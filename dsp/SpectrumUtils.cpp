// Spectrum utilities: report text padding, spectrum-type captions, decibel
// scaling with a floor, standard deviations from running sums, running
// averages of vectors and matrices, bispectrum triple products of one bin, a
// division that tolerates a zero divisor and the larger of two distances.
// Tested by: dsp/tests/SpectrumUtilsTest.cpp
#include <cmath>
#include <cstdint>
#include <string>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCachedVec;
using numeric::TCplx;
using numeric::TMtx;
using numeric::TVec;

void PadText(const std::string& S, std::int32_t Width, std::uint8_t Align, std::string& Res) {
  const std::int64_t d = static_cast<std::int64_t>(Width) - static_cast<std::int64_t>(S.size());
  const std::string spaces(d > 0 ? static_cast<std::size_t>(d) : 0, ' ');
  switch (Align) {
    case 0: Res = S + spaces; break;
    case 1: Res = spaces + S; break;
    case 2: {
      const std::string half(d > 0 ? static_cast<std::size_t>(d / 2) : 0, ' ');
      Res = half + S + half;
      break;
    }
    default: break;
  }
}

void SpectrumTypeCaption(TSpectrumType SpectrumType, std::string& S) {
  switch (SpectrumType) {
    case spAmplt: S = "Peak amplitude"; break;
    case spRMS: S = "Peak RMS"; break;
    case spPower: S = "Peak power"; break;
    case spPeakPeak: S = "Peak-peak"; break;
    case spComplex: S = "Complex"; break;
  }
}

double DecibelScale(TVec& Vec, bool Relative, double Base, double Span, double Ref) {
  const double b = std::pow(Base, 0.05);
  if (!(Ref > 0)) {
    Vec.SetVal(-Span);
    return -Span;
  }
  double floor;
  if (Relative) {
    floor = -Span;
    Vec.Scale(1 / Ref);
  } else {
    floor = std::log(Ref) / std::log(b) - Span;
  }
  Vec.ThreshBottom(std::pow(b, floor));
  Vec.LogN(b);
  return floor;
}

void StdDevFromSums(const TVec& SumSq, const TVec& Sum, std::int32_t N, TVec& Res) {
  TCachedVec t;
  t->Sqr(Sum);
  t->Add(SumSq, -static_cast<double>(N));
  t->Scale(-1.0 / (static_cast<double>(N) * (N - 1)));
  // Equal records give N SumSq = Sum^2 but for rounding, which may fall
  // either side of 0: a spread of 0, not the NaN of a negative root.
  if (!t->Complex())
    for (std::int32_t i = 0; i < t->Length(); ++i)
      if (t->Values()[i] < 0) t->Values()[i] = 0.0;
  t->Sqrt();
  Res.Copy(*t);
}

namespace {

// (Avg (N - 1) + Src) / N for vectors and matrices alike, through a copy so
// that operands that do not fit leave Avg as it was.
template <class T>
void Average(T& avg, const T& src, std::int32_t count, std::int32_t n) {
  if (n < 2) n = count + 1;
  if (&avg == &src) return;  // the average of a record with itself
  if (n >= 2 && count > 0) {
    numeric::TCached<T> t;
    t->Copy(avg);
    t->Scale(static_cast<double>(n - 1));
    t->Add(src);
    t->Scale(1.0 / n);
    avg.Copy(*t);
  } else {
    avg.Copy(src);
  }
}

}  // namespace

void AverageVec(TVec& Avg, const TVec& Src, std::int32_t Count, std::int32_t N) { Average(Avg, Src, Count, N); }

void AverageMtx(TMtx& Avg, const TMtx& Src, std::int32_t Count, std::int32_t N) { Average(Avg, Src, Count, N); }

namespace {

TCplx At(const TVec& x, std::int32_t k) { return x.Complex() ? x.CValues()[k] : TCplx{x.Values()[k], 0.0}; }

// a b conj(c): filled with a, multiplied by b, then by the conjugate of c.
TCplx Triple(const TCplx& a, const TCplx& b, const TCplx& c) {
  return numeric::CMul(numeric::CMul(a, b), numeric::CConj(c));
}

void Put(TVec& dest, std::int32_t k, const TCplx& value) {
  if (dest.Complex())
    dest.CValues()[k] = value;
  else
    dest.Values()[k] = value.Re;
}

// The same product in double arithmetic.
inline TCplx FastTriple(const TCplx& a, const TCplx& b, const TCplx& c) {
  const double re = a.Re * b.Re - a.Im * b.Im, im = a.Re * b.Im + a.Im * b.Re;
  return TCplx{re * c.Re + im * c.Im, im * c.Re - re * c.Im};
}

inline double FastTriple(double a, double b, double c) { return a * b * c; }

void CheckSliceIndex(std::int32_t n, std::int32_t i) {
  if (i > n / 2 - 1) RaiseError("Index > (Spectrum.Length div 2) -1");
  if (i < 0) RaiseError("Index < 0");
}

void CheckRowIndex(std::int32_t n, std::int32_t i) {
  if (i > n / 2) RaiseError("Index > (Spectrum.Length div 2)");
  if (i < 0) RaiseError("Index < 0");
}

// The bins of the slice at first bin i: Put(k, a, b, c) for the products
// X[a] X[b] conj(X[c]) that element k of a slice placed from Offset holds.
template <class F>
void ForSlice(std::int32_t n, std::int32_t i, std::int32_t Offset, F&& Put) {
  for (std::int32_t k = 0; k < n - 2 * i; ++k) Put(Offset + k, i, i + k, 2 * i + k);
}

// The bins of row i of the principal domain folded into n div 2 elements:
// the pairs (i, k), k <= i, then the pairs (q, k) of the row q = n div 2 + i
// + 1 (q = n div 2 for the last row) that lie in the spectrum.
template <class F>
void ForPrincipalRow(std::int32_t n, std::int32_t i, F&& Put) {
  const std::int32_t h = n / 2, e = i == h ? 0 : 1;
  for (std::int32_t k = 0; k < i + e; ++k) Put(k, i, k, i + k);
  const std::int32_t q = h + i + e;
  if (q < n)
    for (std::int32_t k = 0; k < h - i - e; ++k) Put(i + e + k, q, k, q + k);
}

template <class T>
void FastRow(std::span<const T> X, std::int32_t Index, std::span<T> Dest) {
  const std::int32_t n = static_cast<std::int32_t>(X.size());
  CheckRowIndex(n, Index);
  if (static_cast<std::int64_t>(Dest.size()) < n / 2) RaiseError("Dest.Length < Spectrum.Length div 2");
  const T* x = X.data();
  T* d = Dest.data();
  ForPrincipalRow(n, Index, [&](std::int32_t k, std::int32_t a, std::int32_t b, std::int32_t c) {
    d[k] = FastTriple(x[a], x[b], x[c]);
  });
}

template <class T>
void FastLine(std::span<const T> X, std::int32_t Index, std::span<T> Dest) {
  const std::int32_t n = static_cast<std::int32_t>(X.size());
  CheckSliceIndex(n, Index);
  if (static_cast<std::int64_t>(Dest.size()) < n) RaiseError("Dest.Length < Spectrum.Length");
  const T* x = X.data();
  T* d = Dest.data();
  ForSlice(n, Index, Index, [&](std::int32_t k, std::int32_t a, std::int32_t b, std::int32_t c) {
    d[k] = FastTriple(x[a], x[b], x[c]);
  });
}

}  // namespace

void BispectrumSlice(TVec& Dest, const TVec& X, std::int32_t Index, bool Full) {
  const std::int32_t n = X.Length(), i = Index;
  if (n <= 1) {
    Dest.Size(0, true);
    return;
  }
  CheckSliceIndex(n, i);
  TCachedVec t;
  t->Size(Full ? n : n - 2 * i, X.Complex());
  t->SetZero();
  ForSlice(n, i, Full ? i : 0, [&](std::int32_t k, std::int32_t a, std::int32_t b, std::int32_t c) {
    Put(*t, k, Triple(At(X, a), At(X, b), At(X, c)));
  });
  Dest.Copy(*t);
}

void BispectrumSliceFull(TVec& Dest, const TVec& X, std::int32_t Index, bool Half) {
  const std::int32_t n = X.Length(), i = Index, h = n / 2;
  TCachedVec t;
  const auto put = [&](std::int32_t k, std::int32_t a, std::int32_t b, std::int32_t c) {
    Put(*t, k, Triple(At(X, a), At(X, b), At(X, c)));
  };
  if (!Half) {
    if (i > n - 1) RaiseError("Index > (Spectrum.Length-1)");
    if (i < 0) RaiseError("Index < 0");
    const std::int32_t count = i < h ? i + 1 : n - i;
    t->Size(count, X.Complex());
    for (std::int32_t k = 0; k < count; ++k) put(k, i, k, i + k);
  } else {
    CheckRowIndex(n, i);
    t->Size(h, X.Complex());
    t->SetZero();
    ForPrincipalRow(n, i, put);
  }
  Dest.Copy(*t);
}

void BispectrumRow(std::span<const TCplx> X, std::int32_t Index, std::span<TCplx> Dest) { FastRow(X, Index, Dest); }

void BispectrumRow(std::span<const double> X, std::int32_t Index, std::span<double> Dest) { FastRow(X, Index, Dest); }

void BispectrumLine(std::span<const TCplx> X, std::int32_t Index, std::span<TCplx> Dest) {
  FastLine(X, Index, Dest);
}

void BispectrumLine(std::span<const double> X, std::int32_t Index, std::span<double> Dest) {
  FastLine(X, Index, Dest);
}

double SafeDivide(double D, double Nm) { return D == 0 ? 0.0 : Nm / D; }

double FarthestDistance(double A, double B, double X) {
  const double d1 = std::fabs(A - X), d2 = std::fabs(X - B);
  return d1 > d2 ? d1 : d2;
}

}  // namespace dsp
