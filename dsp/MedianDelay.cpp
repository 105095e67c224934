// The running median and the delay line, which share their state record, and
// the frame average.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/SignalUtils.h"
#include "platform/spl/MedianFilter.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TVec;

// ---------------------------------------------------------------------------
// Running median

void MedianInit(std::int32_t WindowLength, TMedianState& State) {
  if (WindowLength < 0) RaiseError("WindowLength < 0");
  const std::int32_t w = WindowLength % 2 == 0 ? WindowLength + 1 : WindowLength;
  State.Length = w;
  State.Buffer.assign(w, 0.0);
}

void MedianFilter(const TVec& Src, TVec& Dst, TMedianState& State) {
  // Interleaved parts read as one real stream would mix them.
  if (Src.Complex()) RaiseError("Src.Complex = True");
  const std::int32_t w = State.Length;
  if (w < 1 || w % 2 == 0 || static_cast<std::int32_t>(State.Buffer.size()) != w) RaiseError("MedianInit not called");
  const std::int32_t n = Src.Length();
  // t := [history, Src]; the output i is the median centred on t[i + w div 2],
  // which spans t[i .. i + w - 1]: the w inputs before Src[i].
  std::vector<double> t(State.Buffer);
  t.insert(t.end(), Src.Values(), Src.Values() + n);
  Dst.Size(n, false);
  if (n == 0) return;
  // The history is the raw inputs, never the medians.
  State.Buffer.assign(t.end() - w, t.end());
  spl::nspdbMedianFilter1(t.data(), static_cast<int>(t.size()), w);
  std::copy(t.begin() + w / 2, t.begin() + w / 2 + n, Dst.Values());
}

void MedianFree(TMedianState& State) { State.Buffer.clear(); }

// ---------------------------------------------------------------------------
// Delay line

void DelayInit(std::int32_t Delay, TMedianState& State) {
  State.Length = Delay;
  State.Buffer.assign(std::max(Delay, 0), 0.0);
}

void DelayFilter(const TVec& Src, TVec& Dst, TMedianState& State) {
  const std::int32_t d = State.Length;
  const std::vector<double> src(Src.Values(), Src.Values() + Src.DoubleLength());
  Dst.Size(Src);
  if (d < 1) {
    std::copy(src.begin(), src.end(), Dst.Values());
    return;
  }
  if (src.empty()) return;
  // In doubles: a complex element is two of them, and the line holds 2 d
  // doubles from the first complex block on.
  const std::size_t width = Src.Complex() ? 2 : 1;
  const std::size_t delay = static_cast<std::size_t>(d) * width;
  std::vector<double>& line = State.Buffer;
  if (line.size() < delay) line.resize(delay, 0.0);
  const std::size_t n = src.size();
  double* out = Dst.Values();
  if (n >= delay) {
    std::copy(line.begin(), line.begin() + delay, out);
    std::copy(src.begin(), src.end() - delay, out + delay);
    std::copy(src.end() - delay, src.end(), line.begin());
  } else {
    std::copy(line.begin(), line.begin() + n, out);
    std::copy(line.begin() + n, line.begin() + delay, line.begin());
    std::copy(src.begin(), src.end(), line.begin() + (delay - n));
  }
}

// ---------------------------------------------------------------------------
// Frame average

void FrameAverage(const TVec& Src, TVec& Dst, std::int32_t FrameSize) {
  if (FrameSize < 1) RaiseError("FrameSize < 1");
  if (Src.Length() % FrameSize != 0) RaiseError("(Src.Length mod FrameSize) <> 0");
  const std::int32_t frames = Src.Length() / FrameSize;
  std::vector<double> means(frames);
  for (std::int32_t f = 0; f < frames; ++f) {
    double sum = 0.0;
    for (std::int32_t i = f * FrameSize; i < (f + 1) * FrameSize; ++i)
      sum += Src.Complex() ? std::hypot(Src.CValues()[i].Re, Src.CValues()[i].Im) : std::fabs(Src.Values()[i]);
    means[f] = sum / FrameSize;
  }
  Dst.Size(frames, false);
  std::copy(means.begin(), means.end(), Dst.Values());
}

}  // namespace dsp
