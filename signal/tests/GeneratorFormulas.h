// Formula lines and generators for the generator's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "signal/SignalGenerator.h"

namespace generator_tests {

using sig::TFuncSignalLine;

// An enabled source line; Continuous as the editor makes new lines.
inline TFuncSignalLine Source(std::uint8_t Type, std::initializer_list<double> P = {}, bool Continuous = true,
                              bool Complex = false) {
  TFuncSignalLine line;
  line.Enabled = true;
  line.Kind = 0;
  line.SignalType = Type;
  line.Operator = sig::goNone;
  line.Complex = Complex;
  line.Continuous = Continuous;
  double* p[] = {&line.P1, &line.P2, &line.P3, &line.P4, &line.P5, &line.P6, &line.P7};
  int i = 0;
  for (double v : P) *p[i++] = v;
  return line;
}

// An enabled operator line (P1, P2 for Limit).
inline TFuncSignalLine Op(std::uint8_t Operator, double P1 = 0.0, double P2 = 0.0) {
  TFuncSignalLine line;
  line.Enabled = true;
  line.Kind = 1;
  line.SignalType = sig::gfNone;
  line.Operator = Operator;
  line.P1 = P1;
  line.P2 = P2;
  return line;
}

inline TFuncSignalLine Disabled(TFuncSignalLine Line) {
  Line.Enabled = false;
  return Line;
}

// Puts the lines into the live template and lets the next update set them up.
inline void SetFormula(sig::TSignalGenerator& G, const std::vector<TFuncSignalLine>& Lines) {
  sig::TFuncSignalList& t = G.Sounds().Template();
  t.Clear();
  for (const TFuncSignalLine& line : Lines) t.AddLine(line);
  G.SetPrepared(false);
}

// A generator named "Gen" of Length samples at Fs.
inline void Configure(sig::TSignalGenerator& G, std::int32_t Length, double Fs) {
  G.SetName("Gen");
  G.SetLength(Length);
  G.SetSamplingFrequency(Fs);
}

// Data's doubles (the real view: re, im pairs of complex data).
inline std::vector<double> Samples(const sig::TSignal& S) {
  const numeric::TVec& d = S.Data();
  return std::vector<double>(d.Values(), d.Values() + d.DoubleLength());
}

}  // namespace generator_tests
