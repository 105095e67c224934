// Times the formula generator on blocks of 10^6 samples of the five-line
// formula [Sine, Square, Constant, *, +] at 48 kHz: a 1000.3 Hz sine of
// amplitude 1.5 and phase 30 degrees, plus a 50.7 Hz square of amplitude 1,
// phase 10 degrees and DC 0.25 times the constant 0.4; every line runs on
// from block to block. bench/signal_generator_vs_numpy.py times numpy's
// vectorised formula of the same samples and prints the ratio.
#include <benchmark/benchmark.h>

#include "signal/SignalGenerator.h"

namespace {

constexpr int kSamples = 1000000;

sig::TFuncSignalLine Line(std::uint8_t Kind, std::uint8_t Code, double P1 = 0, double P2 = 0, double P3 = 0,
                          double P4 = 0) {
  sig::TFuncSignalLine line;
  line.Enabled = true;
  line.Kind = Kind;
  line.SignalType = Kind == 0 ? Code : std::uint8_t{sig::gfNone};
  line.Operator = Kind == 1 ? Code : std::uint8_t{sig::goNone};
  line.Continuous = true;
  line.P1 = P1;
  line.P2 = P2;
  line.P3 = P3;
  line.P4 = P4;
  return line;
}

void BM_GeneratorFiveLines(benchmark::State& state) {
  sig::TSignalGenerator g;
  g.SetLength(kSamples);
  g.SetSamplingFrequency(48000);
  sig::TFuncSignalList& formula = g.Sounds().Template();
  formula.AddLine(Line(0, sig::gfSine, 1000.3, 30, 1.5));
  formula.AddLine(Line(0, sig::gfSquare, 50.7, 10, 1, 0.25));
  formula.AddLine(Line(0, sig::gfConstant, 0.4));
  formula.AddLine(Line(1, sig::goMul));
  formula.AddLine(Line(1, sig::goAdd));
  g.Update();
  if (!g.ErrorText().empty()) state.SkipWithError(g.ErrorText().c_str());
  for (auto _ : state) {
    g.Update();
    benchmark::DoNotOptimize(g.Data().Values());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

BENCHMARK(BM_GeneratorFiveLines)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
