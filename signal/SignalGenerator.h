// TSignalGenerator: a signal whose Data is computed, block after block, from
// a formula; the formula templates it keeps by name (TSignalSounds of
// TFuncSignalList), and the texts of the formula's codes.
//
// A formula is a list of lines read in postfix order: a source line makes a
// block of samples (a waveform, a constant or one of the Inputs), an
// operator line combines the one or two values just before it. [Sine,
// Square, Constant, *, +] is Sine + Square * Constant: the first operator
// from the front is always applied to the lines just before it.
//
// Formula line record, 76 bytes, little-endian (also the unit of the
// template stream):
//   0 Enabled   1 Kind (0 source, 1 operator)   2 SignalType   3 Operator
//   4 Complex   5, 13, ... 53: P1 .. P7 (float64)   61 Continuous
//   62 .. 75    run-time bytes, written as 0 and ignored on reading; in the
//               stream's header record the int32 at 71 holds the line count.
// Template stream: a header record, then the lines; a reader refuses a
// negative count or one beyond the bytes left, and changes nothing then.
//
// What the sources make (Fs the sampling frequency, n the sample index since
// the line's last restart, phases in degrees, times in seconds):
//   Sine        |P3| sin(2 pi P1 n / Fs + P2)         (complex: |P3| (sin, -cos))
//   Impulse     trapezoids of period P1 + P2 + P3 + P4: rise P3, high P1,
//               fall P4, low P2, height P5
//   Unit impulse  sample 0 = Length / 2, the rest 0, in every block
//   Triangle    peaks of |P3| at phase 0, asymmetry P4 (radians)
//   Square      P3 + P4 in the first half of each period, -P3 + P4 in the
//               second; the period's phase is P2 at n = 0
//   RandGauss   mean P1, deviation |P2|;  RandUniform  P1 .. P2
//   Chirp       a linear sweep from P1 to P5 Hz over Duty (P7) x Length
//               samples (the whole block for 0), repeated; amplitude from
//               P3 to P6, plus P4
//   Constant    P1 (complex: P1 + i P2)
//   Input k     a copy of Inputs[k].Input.Data
// A continuous line runs on from block to block; any other restarts at every
// block (same phase, same random numbers). Impulse, Square and Chirp are
// real whatever the line's Complex flag says.
//
// Errors of the formula (a missing operand, operands of different lengths,
// a chirp whose sweep rounds to no sample, an impulse period of 0, an input
// line beyond the inputs, no sampling frequency) never reach the caller of
// an update: ErrorText tells them and Data is zeroed. The update raises only
// "Length = 0" and "Max stack size = 21!" (and the pipeline's "Inputs[i] =
// nil!" when inputs are used). The slots are set up again when the block
// length (Length, or input 0's length with input lines) or the sampling
// frequency changed since they were.
//
// Tested by: signal/tests/SignalGeneratorTest.cpp,
// signal/tests/GeneratorWaveformsTest.cpp,
// signal/tests/GeneratorWaveformsOracleTest.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/Vec.h"
#include "signal/Signal.h"
#include "signal/Spectrum.h"
#include "signal/StreamTemplates.h"

namespace sig {

// One line of a formula, as it is stored.
struct TFuncSignalLine {
  // Bytes of a line (and of the header) in the template stream.
  static constexpr std::int32_t RecordSize = 76;

  bool Enabled = false;
  // 0: a signal source; 1: an operator.
  std::uint8_t Kind = 0;
  // The source, 0 .. 16 (GeneratorFunctionToText); 17 on an operator line.
  std::uint8_t SignalType = 0;
  // The operator, 0 .. 13 (GeneratorOperatorToText); 14 on a source line.
  std::uint8_t Operator = 0;
  bool Complex = false;
  double P1 = 0.0;
  double P2 = 0.0;
  double P3 = 0.0;
  double P4 = 0.0;
  double P5 = 0.0;
  double P6 = 0.0;
  double P7 = 0.0;
  bool Continuous = false;

  // The 76 bytes of the line, its run-time bytes 0.
  void WriteRecord(classlib::TStream& Stream) const;
  // One record from the stream's position; its run-time bytes are skipped.
  static TFuncSignalLine ReadRecord(classlib::TStream& Stream);
};

// The codes of the source and operator tables.
enum : std::uint8_t {
  gfSine = 0,
  gfImpulse = 1,
  gfUnitImpulse = 2,
  gfTriangle = 3,
  gfSquare = 4,
  gfRandGauss = 5,
  gfRandUniform = 6,
  gfChirp = 7,
  gfConstant = 8,
  gfInput0 = 9,
  gfInput7 = 16,
  // Carried by a new operator line.
  gfNone = 17,
};

enum : std::uint8_t {
  goAdd = 0,
  goSub = 1,
  goMul = 2,
  goDivide = 3,
  goSin = 4,
  goCos = 5,
  goTan = 6,
  goExp = 7,
  goLn = 8,
  goLog = 9,
  goAbs = 10,
  goRound = 11,
  goTrunc = 12,
  goLimit = 13,
  // Carried by a new source line.
  goNone = 14,
};

// The lines of one formula, in formula order.
class TFuncSignalList : public TStreamedRecordList<TFuncSignalLine> {
 public:
  // Appends a copy of Line; returns its index.
  std::int32_t AddLine(const TFuncSignalLine& Line) { return Add(Line); }
  // Raises "List index out of bounds (<Index>)" outside the list.
  TFuncSignalLine& GetLine(std::int32_t Index) { return Items(Index); }
  const TFuncSignalLine& GetLine(std::int32_t Index) const { return Items(Index); }

  // A header record holding the count, then the lines.
  void SaveToStream(classlib::TStream& Stream) override;
  // Replaces the lines by those of the stream. A count that is negative or
  // beyond the bytes left raises and leaves the list and the stream's
  // position as they were.
  void LoadFromStream(classlib::TStream& Stream) override;
};

// The generator's formula templates: the live formula (Template) and the
// named saved ones.
class TSignalSounds : public TStreamTemplates {
  ORVEL_CLASS_INFO
 public:
  TSignalSounds();
  ~TSignalSounds() override;

  TFuncSignalList& Template() const { return *FList; }
  // The list is the store's own: raises "Operation not supported!".
  void SetTemplate(TFuncSignalList* Value);

 private:
  std::unique_ptr<TFuncSignalList> FList;
};

// Fired by Resync with the line that restarts.
using TOnResync = std::function<void(classlib::TPersistent* Sender, std::int32_t LineIndex)>;

class TSignalGenerator : public TSignal {
  ORVEL_CLASS_INFO
 public:
  // Lines a formula may have: one slot each.
  static constexpr std::int32_t MaxLines = 21;

  explicit TSignalGenerator(classlib::TComponent* AOwner = nullptr);
  ~TSignalGenerator() override;

  // properties
  TSignalSounds& Sounds() const { return *FSounds; }
  // Stored only: line phases are always in degrees.
  TPhaseUnits PhaseUnits() const { return FPhaseUnits; }
  void SetPhaseUnits(TPhaseUnits Value) { FPhaseUnits = Value; }
  const TOnResync& OnResync() const { return FOnResync; }
  void SetOnResync(TOnResync Value) { FOnResync = std::move(Value); }
  // The slots hold the current template's lines, set up.
  bool Prepared() const { return FPrepared; }
  // False makes the next update set the slots up from the template again;
  // the editor clears it whenever the template's lines change.
  void SetPrepared(bool Value) { FPrepared = Value; }
  // The last evaluation's error, "" when it succeeded.
  const std::string& ErrorText() const { return FErrorText; }

  // operations
  // Sets the slots up from the current template, unless they are already
  // and the length a block needs and the sampling frequency are those they
  // were set up for. Raises "Max stack size = 21!" for a longer template
  // before touching any slot, and the errors of SetupLine. With input lines
  // the generator takes input 0's timing first (as an update does).
  void Prepare();
  // Copies template line LineIndex into its slot and sets it up; errors of
  // the set-up ("SamplingFrequency = 0", "i > Inputs.Count-1") reach the
  // caller.
  void SetupLine(std::int32_t LineIndex);
  // Restarts line LineIndex at its next block and fires OnResync. Raises
  // "(TemplateLineIndex-1) > Template.Count" for LineIndex - 1 > Count and
  // for an index that has no slot.
  void Resync(std::int32_t LineIndex);
  // Resync of every template line.
  void ResyncAll();

  // overrides
  std::string EditorClassName() const override { return "TSignalGenForm"; }
  // The live template goes into its entry first.
  void SaveToStream(classlib::TStream& Stream) override;
  // Deselects the template first; a refused stream leaves the generator as
  // it was. A load sets the slots up again at the next update.
  void LoadFromStream(classlib::TStream& Stream) override;
  // Prepare, BuildStack, Evaluate; always 0.
  std::uint8_t InternalUpdate() override;

 private:
  // A formula line with its run-time parts.
  struct TLineSlot {
    TFuncSignalLine Line;
    bool Resync = false;
    std::unique_ptr<numeric::TVec> Vector;
    std::unique_ptr<dsp::TToneState> Tone;
    std::unique_ptr<dsp::TTriangleState> Triangle;
    // The index of the block's first sample since the last restart.
    std::int64_t Counter = 0;
    // The vector holds an intermediate result of this evaluation.
    bool Computed = false;
  };

  // The waveforms of the source lines (GeneratorWaveforms.cpp).
  // Sets the slot's waveform up: "SamplingFrequency = 0", "i > Inputs.Count-1".
  void InitLine(TLineSlot& Slot);
  // Fills the slot's vector with the next block; restarts the line first when
  // it is not continuous or was resynced. An operator line raises "Formula
  // error!"; a computed line is left as it is.
  void GenerateLine(TLineSlot& Slot);
  // Releases the slot's waveform state.
  void FreeLine(TLineSlot& Slot);
  // Gives a source slot's vector the block's length and the kind its source
  // makes.
  void ShapeVector(TLineSlot& Slot) const;
  void FillImpulse(TLineSlot& Slot) const;
  void FillSquare(TLineSlot& Slot) const;
  void FillChirp(TLineSlot& Slot) const;
  // Seconds per element of Data: 1 / (ChannelCount Fs).
  double ElementPeriod() const;

  // The slots of the template's enabled lines, in order.
  void BuildStack();
  // The postfix reduction of the stack into Data.
  void Evaluate();
  // The length every slot vector must have for the next block.
  std::int32_t BlockLength() const;
  TSignal& InputSignal(std::int32_t Index) const;
  std::unique_ptr<TSignalSounds> FSounds;
  TPhaseUnits FPhaseUnits = puRad;
  TOnResync FOnResync;
  std::array<TLineSlot, MaxLines> FLineSlots;
  std::vector<TLineSlot*> FWorkingList;
  bool FPrepared = false;
  // The slot length and the rate of the last preparation.
  std::int32_t FPreparedLength = -1;
  double FPreparedRate = 0.0;
  std::string FErrorText;
};

// The text of a source code ("Sine", ... "Input 7"; "Unrecognized" for
// others) and of an operator code ("+", ... "Limit"), from the code's low
// 7 bits.
void GeneratorFunctionToText(std::uint8_t Code, std::string& Text);
void GeneratorOperatorToText(std::uint8_t Code, std::string& Text);

}  // namespace sig
