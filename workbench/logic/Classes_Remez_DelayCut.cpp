// The delay cut of a designed impulse response into indicator coefficients,
// and the workbench's radix-2 FFT used by the response views.
// Tested by: tests/DelayCutTest.cpp
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "numeric/MathCore.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

TDelayCut DelayCutBounds(int taps, int delay, int method) {
  TDelayCut cut;
  const int N = taps;
  if (method == 1) {
    // The indicator runs from `delay` taps before the centre to the end, and
    // holds every tap that the unit sum takes in.
    cut.Start = RoundToInt((N - 1) / 2.0L - delay);
    cut.Count = N - cut.Start;
  } else {
    cut.Count = RoundToInt(N / 2.0L) + delay;
    cut.Start = N - cut.Count;
  }
  return cut;
}

bool TruncateForDelay(TDesignWorkspace& ws, int taps, int delay, int method) {
  std::array<double, MaxCoefficients>& coef = ws.DesignCoefficients.Coef;
  coef.fill(0.0);
  const int N = taps;
  if (N < 1) return false;
  if (N > ImpulseCapacity) throw EFilterCheck(msgBadOrder + std::to_string(N));

  const TDelayCut cut = DelayCutBounds(N, delay, method);
  const int count = cut.Count;
  const int start = cut.Start;
  if (count > MaxCoefficients) throw EFilterCheck(msgTooManyCoefficients + std::to_string(count));
  ws.DesignCoefCount = count;

  long double sum = 0.0L;
  for (int i = start < 0 ? 0 : start; i < N; ++i) sum += ws.ImpulseResponse[i];
  if (start > N - 1 || !(std::fabs(sum) >= MinUnitSum)) return false;
  for (int i = start; i < N; ++i)
    coef[i - start] = i >= 0 ? static_cast<double>(ws.ImpulseResponse[i] / sum) : 0.0;
  return true;
}

void FourierTransform(std::span<double> fftData, int n, bool inverse) {
  if (n < 1 || (n & (n - 1)) != 0 || fftData.size() < 2 * static_cast<std::size_t>(n))
    throw classlib::Exception("FourierTransform: n must be a power of two within the data");
  // Positions counted from 1 over the 2n doubles, as the classic form has them.
  const auto data = [base = fftData.data()](int position) -> double& { return base[position - 1]; };
  const int nn = 2 * n;

  int j = 1;
  for (int i = 1; i < nn; i += 2) {
    if (j > i) {
      std::swap(data(j), data(i));
      std::swap(data(j + 1), data(i + 1));
    }
    int m = n;
    while (m >= 2 && j > m) {
      j -= m;
      m /= 2;
    }
    j += m;
  }

  int mmax = 2;
  while (nn > mmax) {
    const int istep = 2 * mmax;
    const double theta = 2 * std::numbers::pi / ((inverse ? -1 : 1) * mmax);
    double wtemp = numeric::Sin(theta / 2);
    const double wpr = -2.0 * wtemp * wtemp;
    const double wpi = numeric::Sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int m = 1; m < mmax; m += 2) {
      for (int i = m; i <= nn; i += istep) {
        j = i + mmax;
        const double tempr = wr * data(j) - wi * data(j + 1);
        const double tempi = wr * data(j + 1) + wi * data(j);
        data(j) = data(i) - tempr;
        data(j + 1) = data(i + 1) - tempi;
        data(i) += tempr;
        data(i + 1) += tempi;
      }
      wtemp = wr;
      wr = wr * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }

  if (inverse)
    for (int i = 1; i <= nn; ++i) data(i) /= n;
}

}  // namespace workbench
