// The generator's amplitude, phase and logarithmic views, and the coefficient drag.
// Tested by: tests/GeneratorViewsTest.cpp
#include "workbench/logic/formRemezViews.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace workbench {

int FftTransformSize(int coefCount) {
  for (int k = 8; k <= 12; ++k)
    if (coefCount < (1 << k)) return 1 << k;
  return 1 << 13;
}

TFftViews ComputeFftViews(std::span<const double> coefficients) {
  TFftViews views;
  if (coefficients.empty()) return views;
  const int M = FftTransformSize(static_cast<int>(coefficients.size()));
  views.TransformSize = M;
  std::vector<double> data(2 * static_cast<std::size_t>(M), 0.0);
  for (std::size_t i = 0; i < coefficients.size(); ++i) data[2 * i] = coefficients[i] * 256;
  FourierTransform(data, M, false);

  views.Amplitude.reserve(M / 2 + 1);
  for (int i = 0; i <= M / 2; ++i) {
    const double re = data[2 * i], im = data[2 * i + 1];
    const double value = std::sqrt(re * re + im * im);
    if (std::isfinite(value)) views.Amplitude.push_back(value);
  }
  views.Phase.reserve(M / 2);
  for (int i = 0; i < M / 2; ++i) {
    const double value = -data[2 * i + 1];
    if (std::isfinite(value)) views.Phase.push_back(value);
  }
  return views;
}

TLogView ComputeLogView(std::span<const double> h, int order, int taps) {
  TLogView view;
  const int P = std::max(250, order);
  const int n = std::clamp(taps, 0, static_cast<int>(h.size()));
  view.Values.reserve(P);
  for (int i = 0; i < P; ++i) {
    const double w = i * std::numbers::pi / P;
    double re = 0, im = 0;
    for (int j = 0; j < n; ++j) {
      re += std::cos(j * w) * h[j];
      im += std::sin(j * w) * h[j];
    }
    const double value = 10 * std::log10(re * re + im * im);
    view.Values.push_back(std::isfinite(value) ? value : 0.0);
  }
  if (!view.Values.empty()) {
    const auto [mn, mx] = std::minmax_element(view.Values.begin(), view.Values.end());
    if (*mn != 0 && *mx != 0) {
      view.FixedRange = true;
      view.Minimum = *mn;
      view.Maximum = *mx + 0.05 * (*mx - *mn);
    }
  }
  return view;
}

bool ApplyCoefficientDrag(TCoefficientRecord& c, int count, int point, double value) {
  if (point < 0 || point >= count || !std::isfinite(value)) return false;
  // Dividing by a sum that is 1 only to the last bit would still move bits.
  if (value == c.Coef[point]) return true;
  const int entries = std::clamp(count, 0, MaxCoefficients);
  long double sum = 0;
  for (int k = 0; k < entries; ++k) sum += k == point ? value : c.Coef[k];
  if (!std::isfinite(static_cast<double>(sum)) || std::fabs(sum) < MinUnitSum) return false;
  c.Coef[point] = value;
  for (int k = 0; k < entries; ++k) c.Coef[k] = static_cast<double>(c.Coef[k] / sum);
  return true;
}

}  // namespace workbench
