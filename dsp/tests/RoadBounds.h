// Error bounds of the IIR design roads, so that tests compare the roads and the oracles within
// what each computation can hold: the state-space road's poles and zeros are eigenvalues, held
// to their condition numbers; the zero-pole roads' roots are closed forms and quadratics of the
// prototype's roots and the band's parameters, held to their condition against those data.
//
// Every bound is first order: a root off by e moves a factor x - r of a response by e / |x - r|.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

namespace dsp::testutil {

// A root and the bound of its error (absolute).
struct TBoundedRoot {
  Cx root;
  double bound;
};

// The bound of the listed root nearest to x: a computed root is matched to its own bound.
inline double NearestBound(const std::vector<TBoundedRoot>& roots, Cx x) {
  double bound = INFINITY, distance = INFINITY;
  for (const TBoundedRoot& r : roots)
    if (std::abs(r.root - x) < distance) {
      distance = std::abs(r.root - x);
      bound = r.bound;
    }
  return bound;
}

inline double FrobeniusNorm(const numeric::TMtx& A, const numeric::TVec& B, const numeric::TVec& C, double D) {
  double sum = D * D;
  for (std::int32_t i = 0; i < A.Rows(); ++i) {
    for (std::int32_t j = 0; j < A.Cols(); ++j) sum += A.RowValues(i)[j] * A.RowValues(i)[j];
    sum += B.Values()[i] * B.Values()[i] + C.Values()[i] * C.Values()[i];
  }
  return std::sqrt(sum);
}

// The state-space road's system of a design, built as the road builds it: the prototype's
// cascade, the band transformation on the matrices, the bilinear transform at FS 2. Each step
// rounds the matrices' elements a few times, but two solve with a matrix and lose its condition
// number: a highpass or bandstop inverts the cascade's A (conditionA), and the bilinear transform
// solves with I - A / 2 FS (conditionT).
struct TRoadSystem {
  numeric::TMtx A;
  numeric::TVec B, C;
  double D = 0.0;
  double conditionA = 0.0, conditionT = 0.0;
};

// Skeel's condition number |(|M^-1| |M|)|_inf: a solve by LU with partial pivoting is exact for
// a matrix within a few n u of M element by element, so its solution is off by a few n u times
// this (which is at most the normwise condition number, and far below it for a scaled matrix).
inline double ConditionOf(const numeric::TMtx& M) {
  const std::int32_t n = M.Rows();
  numeric::TMtx m, eye, inverse;
  m.Copy(M);
  eye.Eye(n, n, false);
  m.LinSolve(eye, inverse);
  double worst = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    double row = 0.0;
    for (std::int32_t j = 0; j < n; ++j) {
      double t = 0.0;
      for (std::int32_t k = 0; k < n; ++k) t += std::fabs(inverse.RowValues(i)[k]) * std::fabs(M.RowValues(k)[j]);
      row += t;
    }
    worst = std::max(worst, row);
  }
  return worst;
}

inline void RoadSystem(numeric::TVec& z, numeric::TVec& p, double k, TFilterType type, double wo, double bw,
                       bool analog, TRoadSystem& s) {
  ZeroPoleToStateSpace(s.A, s.B, s.C, s.D, z, p, k);
  if (type == fltHighpass || type == fltBandstop) s.conditionA = ConditionOf(s.A);
  switch (type) {
    case fltLowpass: ScaleStateSpace(s.A, s.B, s.C, s.D, wo); break;
    case fltHighpass: LowpassToHighpassSs(s.A, s.B, s.C, s.D, wo); break;
    case fltBandpass: LowpassToBandpassSs(s.A, s.B, s.C, s.D, wo, bw); break;
    default: LowpassToBandstopSs(s.A, s.B, s.C, s.D, wo, bw); break;
  }
  if (!analog) {
    numeric::TMtx t;
    t.Eye(s.A.Rows(), s.A.Rows(), false);
    t.Add(s.A, -1.0 / 4.0);
    s.conditionT = ConditionOf(t);
    BilinearStateSpace(s.A, s.B, s.C, s.D, 2.0);
  }
}

// The rounding of the road's computations from the system, relative to the system's size:
// orthogonal reductions and solves are backward stable within a few n u (4 n u here), and the
// bilinear transform's solve adds its condition. The cascade is block lower triangular, one
// block a section, and so is its inverse, with the sections' own inverses on the diagonal: the
// eigenvalues, which are the diagonal blocks', keep the inversion's rounding of those blocks
// whatever the condition of the whole (which reaches 1e14 at order 50).
inline double EigenRounding(const TRoadSystem& s) { return 4.0 * s.A.Rows() * kU * (1.0 + s.conditionT); }
// The rounding of the system as a whole, for its response: both solves' conditions.
inline double SystemRounding(const TRoadSystem& s) {
  return 4.0 * s.A.Rows() * kU * (1.0 + s.conditionT + s.conditionA);
}

// The eigenvalues of A with their error bounds. The road's solver balances A, reduces it to
// Hessenberg form and runs the QR algorithm: the eigenvalues it finds are those of A + E with
// |E| within a few n u |A_bal|, A_bal A balanced as the solver balances it. An eigenvalue moves
// by |E| / s under E, s its reciprocal condition |y^H x| / (|x| |y|) for its right and left
// eigenvectors x and y; LAPACK's expert driver gives s and |A_bal|_1.
inline std::vector<TBoundedRoot> EigenvalueBounds(const numeric::TMtx& A, double rounding) {
  const int n = A.Rows();
  std::vector<double> a(static_cast<std::size_t>(n) * n), wr(n), wi(n), vl(a.size()), vr(a.size()), scale(n),
      rconde(n), rcondv(n);
  std::vector<int> iwork(static_cast<std::size_t>(std::max(1, 2 * n - 2)));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) a[static_cast<std::size_t>(j) * n + i] = A.RowValues(i)[j];
  int ilo = 0, ihi = 0;
  double abnrm = 0.0, query = 0.0;
  lapack::DGEEVX('B', 'V', 'V', 'E', n, a.data(), n, wr.data(), wi.data(), vl.data(), n, vr.data(), n, ilo, ihi,
                 scale.data(), abnrm, rconde.data(), rcondv.data(), &query, -1, iwork.data());
  std::vector<double> work(static_cast<std::size_t>(query));
  const int info = lapack::DGEEVX('B', 'V', 'V', 'E', n, a.data(), n, wr.data(), wi.data(), vl.data(), n, vr.data(),
                                  n, ilo, ihi, scale.data(), abnrm, rconde.data(), rcondv.data(), work.data(),
                                  static_cast<int>(work.size()), iwork.data());
  EXPECT_EQ(info, 0);
  std::vector<TBoundedRoot> out;
  for (int i = 0; i < n; ++i) out.push_back({Cx(wr[i], wi[i]), rounding * abnrm / rconde[i]});
  return out;
}

// The finite zeros of (A, B, C, D) with their error bounds: the finite eigenvalues of the pencil
// (S, E) = ([A B; C D], [I 0; 0 0]), the `count` of them farthest from infinity. The road finds
// them by orthogonal reductions of S, backward stable within `rounding` |S|: a zero moves by
// |dS| |x| |y| / |y^H E x| under dS (E stays exact), x and y its right and left eigenvectors.
inline std::vector<TBoundedRoot> ZeroBounds(const TRoadSystem& s, std::size_t count, double rounding) {
  const int n = s.A.Rows(), q = n + 1;
  std::vector<double> a(static_cast<std::size_t>(q) * q, 0.0), e(a.size(), 0.0), ar(q), ai(q), beta(q),
      vl(a.size()), vr(a.size());
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) a[static_cast<std::size_t>(j) * q + i] = s.A.RowValues(i)[j];
    a[static_cast<std::size_t>(n) * q + i] = s.B.Values()[i];
    a[static_cast<std::size_t>(i) * q + n] = s.C.Values()[i];
    e[static_cast<std::size_t>(i) * q + i] = 1.0;
  }
  a[static_cast<std::size_t>(n) * q + n] = s.D;
  double query = 0.0;
  lapack::DGGEV('V', 'V', q, a.data(), q, e.data(), q, ar.data(), ai.data(), beta.data(), vl.data(), q, vr.data(), q,
                &query, -1);
  std::vector<double> work(static_cast<std::size_t>(query));
  EXPECT_EQ(lapack::DGGEV('V', 'V', q, a.data(), q, e.data(), q, ar.data(), ai.data(), beta.data(), vl.data(), q,
                          vr.data(), q, work.data(), static_cast<int>(work.size())),
            0);
  // The eigenvector of column j: real, or the first (ai > 0) or second column of a pair.
  auto vector = [&](const std::vector<double>& v, int j) {
    std::vector<Cx> x(static_cast<std::size_t>(q));
    const bool pair = ai[static_cast<std::size_t>(j)] != 0.0;
    const int first = pair && ai[static_cast<std::size_t>(j)] < 0.0 ? j - 1 : j;
    const double sign = pair && ai[static_cast<std::size_t>(j)] < 0.0 ? -1.0 : 1.0;
    for (int r = 0; r < q; ++r)
      x[static_cast<std::size_t>(r)] =
          pair ? Cx(v[static_cast<std::size_t>(first) * q + r], sign * v[static_cast<std::size_t>(first + 1) * q + r])
               : Cx(v[static_cast<std::size_t>(j) * q + r], 0.0);
    return x;
  };
  std::vector<int> order(static_cast<std::size_t>(q));
  for (int j = 0; j < q; ++j) order[static_cast<std::size_t>(j)] = j;
  auto finiteness = [&](int j) {
    const std::size_t i = static_cast<std::size_t>(j);
    return std::fabs(beta[i]) / (std::hypot(ar[i], ai[i]) + std::fabs(beta[i]));
  };
  std::sort(order.begin(), order.end(), [&](int x, int y) { return finiteness(x) > finiteness(y); });
  const double size = FrobeniusNorm(s.A, s.B, s.C, s.D);
  std::vector<TBoundedRoot> out;
  for (std::size_t k = 0; k < count && k < order.size(); ++k) {
    const int j = order[k];
    const std::size_t i = static_cast<std::size_t>(j);
    const std::vector<Cx> x = vector(vr, j), y = vector(vl, j);
    double nx = 0.0, ny = 0.0;
    Cx yex = 0.0;
    for (int r = 0; r < q; ++r) {
      nx += std::norm(x[static_cast<std::size_t>(r)]);
      ny += std::norm(y[static_cast<std::size_t>(r)]);
      if (r < n) yex += std::conj(y[static_cast<std::size_t>(r)]) * x[static_cast<std::size_t>(r)];
    }
    out.push_back({Cx(ar[i], ai[i]) / beta[i], rounding * size * std::sqrt(nx * ny) / std::abs(yex)});
  }
  return out;
}

// C (x I - A)^-1 B + D into H, and the bound of its error (absolute): the solve is backward stable,
// so the response is exact for a system within `rounding` (|S| + |x|) of the given one, and
// dH = C R dA R B + dC R B + C R dB + dD with R = (x I - A)^-1: |dH| <= |dS| (1 + |C R|)(1 + |R B|).
inline double SystemResponseBound(const TRoadSystem& s, Cx x, Cx& H, double rounding) {
  const std::int32_t n = s.A.Rows();
  numeric::TMtx m;
  m.Size(n, n, true);
  numeric::TVec b, c, v, w;
  b.Size(n, true);
  c.Size(n, true);
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) m.CRowValues(i)[j] = numeric::TCplx{-s.A.RowValues(i)[j], 0.0};
    m.CRowValues(i)[i].Re += x.real();
    m.CRowValues(i)[i].Im += x.imag();
    b.CValues()[i] = numeric::TCplx{s.B.Values()[i], 0.0};
    c.CValues()[i] = numeric::TCplx{s.C.Values()[i], 0.0};
  }
  m.LinSolve(b, v);
  m.LinSolve(c, w, numeric::mtGeneral, numeric::opTrans);
  H = s.D;
  double rb = 0.0, cr = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    const Cx vi(v.CValues()[i].Re, v.CValues()[i].Im), wi(w.CValues()[i].Re, w.CValues()[i].Im);
    H += s.C.Values()[i] * vi;
    rb += std::norm(vi);
    cr += std::norm(wi);
  }
  return rounding * (FrobeniusNorm(s.A, s.B, s.C, s.D) + std::abs(x)) * (1.0 + std::sqrt(cr)) * (1.0 + std::sqrt(rb));
}

// The band of a design as the roads see it: the transformation's centre and width (prewarped
// for a digital design) and the bilinear transform's 2 FS.
struct TBand {
  TFilterType type;
  double wo, bw;
  bool analog;
  double f = 4.0;
};

// The zero-pole roads' bound on a final root x (absolute, one road). A road computes each root
// from a prototype root r0 and the band's parameters (wo, bw and the bilinear transform's 2 FS)
// by closed forms and quadratics that round their data a few times: the root is exact for data
// within 16u of their own (the analog road's; the discrete road's, DiscreteDataError), and moves
// by that times its condition against relative changes of them. With r0 = h(s), s the analog value of x (s = f (x - 1) / (x + 1) for a digital design),
// that condition is (|r0| + the parameters' |dh/d theta| |theta|) / |dr0/dx|. The roots the band
// adds (at the origin or infinity for a highpass or bandpass, at +-j wo for a bandstop, their
// images -1, 1 and e^(+-i theta)) are closed forms of wo alone: 16u (1 + |x|).
//
// `dataError` replaces the 16u where the data differ by more, such as the prototype's roots
// between two libraries: it is then the relative error of the data.
//
// The bandpass and bandstop splits add their own rounding. The analog road (and scipy's) splits
// t into t (1 +- sqrt(1 - (wo/t)^2)), the pair s and s' = wo^2 / s: within 16u of the larger,
// (|s + s'| + |s - s'|) / 2, which the smaller of the two loses by cancellation. The discrete road
// takes both from a quadratic by its companion matrix, backward stable within 16u of its
// coefficients: (|x|^2 + |x + x'| |x| + |x x'|) / |x - x'| for x and its partner x'.
enum TZeroPoleRoad : std::uint8_t { zpAnalogRoad, zpDiscreteRoad };
inline double ZeroPoleRootBound(const TBand& b, Cx x, double dataError = 16.0 * kU, TZeroPoleRoad road = zpAnalogRoad);

// The image r0 = h(s) of a root in the prototype's plane, its slope dr0/dx, and the sum of the
// parameters' |dh/d theta| |theta|; `added` for a root at an image of infinity there.
struct TLowpassImage {
  Cx h, slope;
  double params = 0.0;
  bool added = false;
};

inline TLowpassImage LowpassImage(const TBand& b, Cx x) {
  Cx s = x, ds(1.0, 0.0);
  if (!b.analog) {
    s = b.f * (x - 1.0) / (x + 1.0);
    ds = 2.0 * b.f / ((x + 1.0) * (x + 1.0));
  }
  TLowpassImage im;
  Cx dh;
  switch (b.type) {
    case fltLowpass:
      im.h = s / b.wo;
      dh = 1.0 / b.wo;
      im.params = std::abs(im.h);
      break;
    case fltHighpass:
      im.h = b.wo / s;
      dh = -b.wo / (s * s);
      im.params = std::abs(im.h);
      break;
    case fltBandpass:
      im.h = (s * s + b.wo * b.wo) / (s * b.bw);
      dh = (s * s - b.wo * b.wo) / (s * s * b.bw);
      im.params = 2.0 * b.wo * b.wo / std::abs(s * b.bw) + std::abs(im.h);
      break;
    default:
      im.h = s * b.bw / (s * s + b.wo * b.wo);
      dh = b.bw * (b.wo * b.wo - s * s) / ((s * s + b.wo * b.wo) * (s * s + b.wo * b.wo));
      im.params = std::abs(im.h) * (2.0 * b.wo * b.wo / std::abs(s * s + b.wo * b.wo) + 1.0);
      break;
  }
  im.added = !std::isfinite(std::abs(im.h)) || std::abs(im.h) > 1.0 / std::sqrt(kU);
  // The bilinear transform's 2 FS moves s in proportion.
  if (!b.analog) im.params += std::abs(dh) * std::abs(s);
  im.slope = dh * ds;
  return im;
}

inline double ZeroPoleRootBound(const TBand& b, Cx x, double dataError, TZeroPoleRoad road) {
  const TLowpassImage im = LowpassImage(b, x);
  if (im.added) return 16.0 * kU * (1.0 + std::abs(x));
  double bound = dataError * (std::abs(im.h) + im.params) / std::abs(im.slope);
  if (b.type == fltBandpass || b.type == fltBandstop) {
    const Cx s = b.analog ? x : b.f * (x - 1.0) / (x + 1.0);
    const Cx partner = b.wo * b.wo / s;
    if (road == zpAnalogRoad) {
      const double split = 16.0 * kU * (std::abs(s + partner) + std::abs(s - partner)) / 2.0;
      bound += b.analog ? split : split * std::abs((x + 1.0) * (x + 1.0)) / (2.0 * b.f);
    } else {
      const Cx xp = (b.f + partner) / (b.f - partner);
      bound += 16.0 * kU * (std::norm(x) + std::abs(x + xp) * std::abs(x) + std::abs(x * xp)) / std::abs(x - xp);
    }
  }
  return bound;
}

// Whether x is a root the band or the bilinear transform added (ZeroPoleRootBound).
inline bool IsAddedRoot(const TBand& b, Cx x) { return LowpassImage(b, x).added; }

// The data error of the discrete zero-pole road, which recovers the band's edges from their
// centre and width and takes the substitution's constants from sines, cosines and tangents of
// their sums and differences: a difference moves by its operands' sum over itself times their
// rounding, (w1 + w2) / (w2 - w1) for a band (normalised edges), (tc + to) / |tc - to| for a
// lowpass or highpass (tc the prototype's cutoff after the bilinear transform, to the design's).
inline double DiscreteDataError(const std::vector<double>& cutoffs) {
  double spread;
  if (cutoffs.size() == 2) {
    spread = (cutoffs[0] + cutoffs[1]) / (cutoffs[1] - cutoffs[0]);
  } else {
    const double tc = Unwarp(1.0, 2.0);
    spread = (tc + cutoffs[0]) / std::fabs(tc - cutoffs[0]);
  }
  return 16.0 * kU * (1.0 + spread);
}

// The bounds of a list of zero-pole roots, one road.
inline std::vector<double> ZeroPoleRootBounds(const TBand& b, const std::vector<Cx>& roots,
                                              double dataError = 16.0 * kU, TZeroPoleRoad road = zpAnalogRoad) {
  std::vector<double> out;
  for (const Cx& r : roots) out.push_back(ZeroPoleRootBound(b, r, dataError, road));
  return out;
}

// The coefficients of k prod(x - r), descending, within their bounds: a root off by e changes
// them by e times those of prod over the other roots of (x + |r|), k off by a relative g by g
// times those of prod(x + |r|), and building the product by one factor after another rounds
// within 2n u of the latter (n factors) on each of the two sides compared. Bounds for k times the
// coefficients, absolute.
inline std::vector<double> CoefficientBounds(const std::vector<Cx>& roots, const std::vector<double>& rootBounds,
                                             double k, double gain, std::size_t length) {
  auto majorant = [&](std::size_t skip) {
    std::vector<double> m{1.0};
    for (std::size_t i = 0; i < roots.size(); ++i) {
      if (i == skip) continue;
      std::vector<double> next(m.size() + 1, 0.0);
      for (std::size_t j = 0; j < m.size(); ++j) {
        next[j] += m[j];
        next[j + 1] += m[j] * std::abs(roots[i]);
      }
      m = next;
    }
    return m;
  };
  const std::vector<double> all = majorant(roots.size());
  std::vector<double> out(length, 0.0);
  const std::size_t pad = length - all.size();
  for (std::size_t j = 0; j < all.size(); ++j)
    out[pad + j] = std::fabs(k) * (gain + 2.0 * 2.0 * static_cast<double>(roots.size()) * kU) * all[j];
  for (std::size_t i = 0; i < roots.size(); ++i) {
    const std::vector<double> other = majorant(i);
    for (std::size_t j = 0; j < other.size(); ++j) out[length - other.size() + j] += std::fabs(k) * rootBounds[i] * other[j];
  }
  return out;
}

// The relative bound of sum_r bound_r / |x - r| + 4u per factor, to first order.
inline double ShapeBound(const std::vector<Cx>& roots, const std::vector<double>& bounds, Cx x) {
  double sum = 0.0;
  for (std::size_t i = 0; i < roots.size(); ++i) sum += bounds[i] / std::abs(x - roots[i]) + 4.0 * kU;
  return sum;
}

// A design's roots and gain.
struct TRoad {
  std::vector<Cx> z, p;
  double k = 0.0;
};

// The analog zero-pole road's gain: the prototype's, times the band's factor (a power of wo or
// bw, 4u per unit of the power; for a highpass the product of the moved roots over the
// prototype's, each root's relative bound and 4u), times the bilinear transform's product of
// f - s over the analog roots s (each root's bound over |f - s|, and 4u). An even-order
// Chebyshev I or elliptic digital bandstop takes its gain afresh from the response at z = 1.
inline double ZeroPoleAnalogGainBound(const TBand& band, const TRoad& road, bool renormalised) {
  if (!band.analog && renormalised)
    return ShapeBound(road.z, ZeroPoleRootBounds(band, road.z), 1.0) +
           ShapeBound(road.p, ZeroPoleRootBounds(band, road.p), 1.0);
  TBand analogBand = band;
  analogBand.analog = true;
  const double degree = std::fabs(static_cast<double>(road.p.size()) - static_cast<double>(road.z.size()));
  double bound = 4.0 * kU * (1.0 + degree);
  for (const std::vector<Cx>* roots : {&road.z, &road.p})
    for (const Cx& x : *roots) {
      // The analog root; the roots the band or the bilinear transform added are not in the
      // products (they are where the analog root is 0 or infinite, or its image of infinity).
      const Cx s = band.analog ? x : band.f * (x - 1.0) / (x + 1.0);
      if (!std::isfinite(std::abs(s)) || std::abs(s) < std::sqrt(kU) || std::abs(x + 1.0) < std::sqrt(kU)) continue;
      if (IsAddedRoot(analogBand, s)) continue;
      const double b = ZeroPoleRootBound(analogBand, s);
      if (band.type == fltHighpass) bound += b / std::abs(s) + 4.0 * kU;
      if (!band.analog) bound += b / std::abs(band.f - s) + 4.0 * kU;
    }
  return bound;
}

}  // namespace dsp::testutil
