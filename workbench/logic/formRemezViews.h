// The filter generator's response views and its coefficient drag, without
// the window: what the amplitude, phase and logarithmic charts show, and how
// a dragged coefficient changes the indicator.
#pragma once

#include <span>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

// The amplitude and phase views of the indicator coefficients.
struct TFftViews {
  int TransformSize = 0;          // M
  std::vector<double> Amplitude;  // M/2 + 1 magnitudes, non-finite ones left out
  std::vector<double> Phase;      // M/2 negated imaginary parts, non-finite ones left out
};

// The size of the transform for a coefficient count: the smallest of 256 ..
// 4096 that is larger than the count, else 8192.
int FftTransformSize(int coefCount);

// The coefficients, scaled by 256, transformed by the workbench FFT. An empty
// span gives empty views (the charts then keep what they show).
TFftViews ComputeFftViews(std::span<const double> coefficients);

// The logarithmic amplitude of the designed response: 10 log10 |H|^2 at
// P = max(250, order) frequencies from 0 to just below the Nyquist frequency,
// summed over all `taps` entries of the response; a value that is not finite
// shows as 0. The fixed range is [min, max + 5 % of the span] when neither
// end is 0; otherwise the chart keeps its range.
struct TLogView {
  std::vector<double> Values;
  bool FixedRange = false;
  double Minimum = 0, Maximum = 0;
};
TLogView ComputeLogView(std::span<const double> impulseResponse, int order, int taps);

// A dragged coefficient: coefficient `point` (below `count`) becomes `value`,
// and the `count` coefficients are rescaled to a unit sum, so a drag that
// moves nothing changes nothing. Returns false and
// changes nothing when the value is not finite or the new sum is nearly zero
// (below MinUnitSum in magnitude, as the delay cut refuses it), which would
// blow the coefficients up.
bool ApplyCoefficientDrag(TCoefficientRecord& coefficients, int count, int point, double value);

}  // namespace workbench
