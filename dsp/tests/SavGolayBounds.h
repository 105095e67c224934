// The error bounds of a Savitzky-Golay fit, for the tests that check one.
#pragma once

#include <cmath>
#include <vector>

#include "numeric/Numora.h"

namespace dsp::testutil {

// The fit solves (W^1/2 V^T) Diff = W^1/2 by Householder QR, whose error does not depend
// on the scaling of the columns: with D their norms, the solution D x_j of each right-hand
// side is off by 4 m u (Ks + Ks^2 rho) |D x_j| (m the frame's length, Ks the scaled matrix's
// condition and rho the residual ratio, from the table), so coefficient r of x_j by that over
// d_r. A margin of 2; a floating-point reference adds its own difference from the exact fit.
inline std::vector<std::vector<double>> FitBounds(const numeric::TMtx& diff, std::int32_t frame, std::int32_t order,
                                           const std::vector<double>* weights, double ks, double rho) {
  const double u = 0x1p-53, h = frame / 2;
  std::vector<double> d(static_cast<std::size_t>(order) + 1, 0.0);
  for (std::int32_t r = 0; r <= order; ++r) {
    for (std::int32_t c = 0; c < frame; ++c)
      d[static_cast<std::size_t>(r)] += (weights ? (*weights)[static_cast<std::size_t>(c)] : 1.0) * std::pow(c - h, 2 * r);
    d[static_cast<std::size_t>(r)] = std::sqrt(d[static_cast<std::size_t>(r)]);
  }
  std::vector<std::vector<double>> out(static_cast<std::size_t>(order) + 1, std::vector<double>(frame));
  for (std::int32_t j = 0; j < frame; ++j) {
    double size = 0.0;
    for (std::int32_t r = 0; r <= order; ++r) size += std::pow(d[static_cast<std::size_t>(r)] * diff.RowValues(r)[j], 2);
    const double error = 2.0 * 4.0 * frame * u * (ks + ks * ks * rho) * std::sqrt(size);
    for (std::int32_t r = 0; r <= order; ++r)
      out[static_cast<std::size_t>(r)][static_cast<std::size_t>(j)] = error / d[static_cast<std::size_t>(r)];
  }
  return out;
}

// Ks and rho of FitBounds for a fit computed as Diff: the scaled least-squares matrix's
// condition from the eigenvalues of its Gram matrix (its columns' normalised inner products),
// and the largest residual ratio |e_j - A x_j| / (|A D| |D x_j|) over the right-hand sides.
inline void FitCondition(const numeric::TMtx& diff, std::int32_t frame, std::int32_t order,
                         const std::vector<double>* weights, double& ks, double& rho) {
  const double h = frame / 2;
  const std::int32_t m = order + 1;
  auto w = [&](std::int32_t c) { return weights ? (*weights)[static_cast<std::size_t>(c)] : 1.0; };
  std::vector<double> d(static_cast<std::size_t>(m), 0.0);
  for (std::int32_t r = 0; r < m; ++r) {
    for (std::int32_t c = 0; c < frame; ++c) d[static_cast<std::size_t>(r)] += w(c) * std::pow(c - h, 2 * r);
    d[static_cast<std::size_t>(r)] = std::sqrt(d[static_cast<std::size_t>(r)]);
  }
  numeric::TMtx gram;
  gram.Size(m, m, false);
  for (std::int32_t r = 0; r < m; ++r)
    for (std::int32_t q = 0; q < m; ++q) {
      double sum = 0.0;
      for (std::int32_t c = 0; c < frame; ++c) sum += w(c) * std::pow(c - h, r + q);
      gram.RowValues(r)[q] = sum / (d[static_cast<std::size_t>(r)] * d[static_cast<std::size_t>(q)]);
    }
  numeric::TVec eigen;
  gram.Eig(eigen, numeric::mtSymmetric);
  double lo = INFINITY, hi = 0.0;
  for (std::int32_t i = 0; i < eigen.Length(); ++i) {
    lo = std::min(lo, eigen.Values()[i]);
    hi = std::max(hi, eigen.Values()[i]);
  }
  ks = std::sqrt(hi / lo);
  rho = 0.0;
  for (std::int32_t j = 0; j < frame; ++j) {
    double residual = 0.0, size = 0.0;
    for (std::int32_t c = 0; c < frame; ++c) {
      double fit = 0.0;
      for (std::int32_t r = 0; r < m; ++r) fit += std::sqrt(w(c)) * std::pow(c - h, r) * diff.RowValues(r)[j];
      residual += std::pow((c == j ? std::sqrt(w(c)) : 0.0) - fit, 2);
    }
    for (std::int32_t r = 0; r < m; ++r) size += std::pow(d[static_cast<std::size_t>(r)] * diff.RowValues(r)[j], 2);
    rho = std::max(rho, std::sqrt(residual) / (std::sqrt(hi) * std::sqrt(size)));
  }
}

}  // namespace dsp::testutil
