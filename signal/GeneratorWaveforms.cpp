// The waveforms of the generator's source lines: setting a line up,
// filling one block, and releasing its state.
// Tested by: signal/tests/GeneratorWaveformsTest.cpp,
// signal/tests/GeneratorWaveformsOracleTest.cpp.
#include <cmath>
#include <numbers>
#include <string>

#include "numeric/MathCore.h"
#include "signal/SignalCollections.h"
#include "signal/SignalGenerator.h"
#include "signal/SignalInternal.h"

namespace sig {

namespace {

// The counter starts over beyond this many samples.
constexpr std::int64_t CounterLimit = 2100000000;
// Non-continuous random lines start from this seed at every block.
constexpr double RestartSeed = 999.0;

bool IsInput(std::uint8_t SignalType) { return SignalType >= gfInput0 && SignalType <= gfInput7; }

// These sources make real samples whatever the line's Complex flag says.
bool AlwaysReal(std::uint8_t SignalType) {
  return SignalType == gfImpulse || SignalType == gfSquare || SignalType == gfChirp;
}

// An angle in degrees taken into [0, 360), negative ones too, so that a
// phase of -270 degrees is one of 90.
double WrapDegrees(double X) {
  X -= 360.0 * std::trunc(X / 360.0);
  return X < 0.0 ? X + 360.0 : X;
}

}  // namespace

double TSignalGenerator::ElementPeriod() const { return 1.0 / (ChannelCount() * SamplingFrequency()); }

void TSignalGenerator::ShapeVector(TLineSlot& Slot) const {
  if (IsInput(Slot.Line.SignalType)) return;
  const bool complex = Slot.Line.Complex && !AlwaysReal(Slot.Line.SignalType);
  const std::int32_t length = BlockLength();
  numeric::TVec& v = *Slot.Vector;
  // An operator of the last evaluation may have left a result of another
  // kind here (Abs makes complex samples real, a sum with complex ones makes
  // real ones complex).
  if (v.Complex() != complex || v.Length() != length) v.Size(length, complex);
}

void TSignalGenerator::InitLine(TLineSlot& Slot) {
  if (SamplingFrequency() == 0.0) numeric::RaiseError("SamplingFrequency = 0");
  const TFuncSignalLine& line = Slot.Line;
  numeric::TVec& v = *Slot.Vector;
  switch (line.SignalType) {
    case gfSine:
      Slot.Tone = std::make_unique<dsp::TToneState>();
      dsp::ToneInit(*Slot.Tone, v.Complex(), line.P1 / SamplingFrequency(), numeric::DegToRad(line.P2),
                    std::fabs(line.P3));
      break;
    case gfImpulse:
    case gfUnitImpulse:
      Slot.Counter = 0;
      break;
    case gfTriangle:
      Slot.Triangle = std::make_unique<dsp::TTriangleState>();
      dsp::TriangleInit(*Slot.Triangle, v.Complex(), line.P1 / SamplingFrequency(), numeric::DegToRad(line.P2),
                        std::fabs(line.P3), line.P4);
      break;
    case gfRandGauss:
      if (!line.Continuous) v.RandGauss(RestartSeed, line.P1, std::fabs(line.P2));
      break;
    case gfRandUniform:
      if (!line.Continuous) v.RandUniform(RestartSeed, line.P1, line.P2);
      break;
    default:
      if (IsInput(line.SignalType)) {
        const std::int32_t k = line.SignalType - gfInput0;
        const std::int32_t count = Inputs() != nullptr ? Inputs()->Count() : 0;
        if (count < k + 1) numeric::RaiseError("i > Inputs.Count-1");
        SetUsesInputs(count > 0);
      }
      break;
  }
}

void TSignalGenerator::FreeLine(TLineSlot& Slot) {
  Slot.Tone.reset();
  Slot.Triangle.reset();
  Slot.Counter = 0;
  if (Slot.Vector) Slot.Vector->ResetRandom();
}

void TSignalGenerator::GenerateLine(TLineSlot& Slot) {
  const TFuncSignalLine& line = Slot.Line;
  if (line.Kind != 0) numeric::RaiseError("Formula error!");
  if (Slot.Computed) return;
  if (SamplingFrequency() == 0.0) numeric::RaiseError("SamplingFrequency = 0");
  ShapeVector(Slot);
  if (!line.Continuous || Slot.Resync) {
    FreeLine(Slot);
    InitLine(Slot);
    Slot.Resync = false;
  }
  numeric::TVec& v = *Slot.Vector;
  switch (line.SignalType) {
    case gfSine:
      dsp::ToneGenerate(v, *Slot.Tone);
      break;
    case gfImpulse:
      FillImpulse(Slot);
      break;
    case gfUnitImpulse:
      v.SetZero();
      if (v.Length() > 0) v.Values()[0] = v.Length() * 0.5;
      break;
    case gfTriangle:
      dsp::TriangleGenerate(v, *Slot.Triangle);
      break;
    case gfSquare:
      FillSquare(Slot);
      break;
    case gfRandGauss:
      if (line.Continuous)
        v.RandGauss(line.P1, std::fabs(line.P2));
      else
        v.RandGauss();
      break;
    case gfRandUniform:
      if (line.Continuous)
        v.RandUniform(line.P1, line.P2);
      else
        v.RandUniform();
      break;
    case gfChirp:
      FillChirp(Slot);
      break;
    case gfConstant:
      if (v.Complex())
        v.SetVal(numeric::TCplx{line.P1, line.P2});
      else
        v.SetVal(line.P1);
      break;
    default:
      if (!IsInput(line.SignalType))
        numeric::RaiseError("Unrecognized signal source " + std::to_string(line.SignalType));
      v.Copy(InputSignal(line.SignalType - gfInput0).Data());
      break;
  }
  if (Slot.Counter > CounterLimit)
    Slot.Counter = 0;
  else
    Slot.Counter += v.Length();
}

void TSignalGenerator::FillImpulse(TLineSlot& Slot) const {
  const TFuncSignalLine& line = Slot.Line;
  const double period = line.P1 + line.P2 + line.P3 + line.P4;
  if (period == 0.0) numeric::RaiseError("Impulse: the period (High + Low + Raise + Fall) is 0");
  const double k = 360.0 / period;
  const double rise = line.P3 * k;
  const double high = rise + line.P1 * k;
  const double fall = line.P4 * k;
  const double end = high + fall;
  const double step = 360.0 / period * ElementPeriod();
  const double height = line.P5;
  numeric::TVec& v = *Slot.Vector;
  double* x = v.Values();
  for (std::int32_t i = 0; i < v.Length(); ++i) {
    const double a = WrapDegrees(static_cast<double>(Slot.Counter + i) * step);
    if (a < rise)
      x[i] = a / rise * height;
    else if (a < high)
      x[i] = height;
    else if (a < end)
      x[i] = (1.0 - (a - high) / fall) * height;
    else
      x[i] = 0.0;
  }
}

void TSignalGenerator::FillSquare(TLineSlot& Slot) const {
  const TFuncSignalLine& line = Slot.Line;
  const double step = 360.0 * line.P1 * ElementPeriod();
  const double upper = line.P3 + line.P4;
  const double lower = -line.P3 + line.P4;
  numeric::TVec& v = *Slot.Vector;
  double* x = v.Values();
  for (std::int32_t i = 0; i < v.Length(); ++i) {
    const double a = WrapDegrees(static_cast<double>(Slot.Counter + i) * step + line.P2);
    x[i] = a < 180.0 ? upper : lower;
  }
}

void TSignalGenerator::FillChirp(TLineSlot& Slot) const {
  const TFuncSignalLine& line = Slot.Line;
  numeric::TVec& v = *Slot.Vector;
  const std::int32_t length = v.Length();
  if (length == 0) return;
  const double duration = length * ElementPeriod();
  std::int64_t sweep = length;
  double sweepTime = duration;
  if (line.P7 != 0.0) {
    sweep = detail::RoundIndex(length * line.P7);
    sweepTime = duration * line.P7;
  }
  // A sweep of no samples (a duty that rounds to 0, or a negative one)
  // would leave nothing to divide the block into.
  if (sweep <= 0)
    numeric::RaiseError("Chirp: Duty " + numeric::SampleToStr(line.P7) + " of " + std::to_string(length) +
                        " samples makes a sweep of no sample");
  const double ls = static_cast<double>(sweep);
  const double a = 2.0 * std::numbers::pi * (line.P5 - line.P1) * sweepTime / (ls * ls);
  const double b = 2.0 * std::numbers::pi * line.P1 * sweepTime / ls;
  double* x = v.Values();
  for (std::int32_t i = 0; i < length; ++i) {
    const double m = static_cast<double>((Slot.Counter + i) % sweep);
    const double amplitude = ((ls - m) * line.P3 + m * line.P6) / ls;
    x[i] = std::sin(numeric::FixAngle(m * (a * m / 2.0 + b))) * amplitude + line.P4;
  }
}

}  // namespace sig
