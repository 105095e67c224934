// The formula generator: its line records and templates, the preparation of
// its slots and the postfix evaluation of a formula. The waveforms of the
// source lines are in GeneratorWaveforms.cpp.
// Tested by: signal/tests/SignalGeneratorTest.cpp.
#include "signal/SignalGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "numeric/MathCore.h"
#include "signal/SignalCollections.h"

namespace sig {

namespace {

// The bytes after Continuous that only a running generator fills.
constexpr std::int32_t RunTimeBytes = 14;
// Where the header record keeps the line count.
constexpr std::int32_t CountOffset = 71;

// Evaluations that do not end by then are given up.
constexpr int MaxPasses = 30;
// Divisors below this are taken as this.
constexpr double GeneratorDivideThreshold = 5.56268464626801E-309;

void WriteZeroLines(classlib::TStream& Stream, std::int32_t Count) {
  const std::array<std::uint8_t, TFuncSignalLine::RecordSize> zeros{};
  Stream.WriteBuffer(zeros.data(), Count);
}

void SkipBytes(classlib::TStream& Stream, std::int32_t Count) {
  std::array<std::uint8_t, TFuncSignalLine::RecordSize> skipped{};
  Stream.ReadBuffer(skipped.data(), Count);
}

}  // namespace

// --- TFuncSignalLine and TFuncSignalList -----------------------------------

void TFuncSignalLine::WriteRecord(classlib::TStream& Stream) const {
  Stream.WriteUInt8(Enabled ? 1 : 0);
  Stream.WriteUInt8(Kind);
  Stream.WriteUInt8(SignalType);
  Stream.WriteUInt8(Operator);
  Stream.WriteUInt8(Complex ? 1 : 0);
  for (double p : {P1, P2, P3, P4, P5, P6, P7}) Stream.WriteDouble(p);
  Stream.WriteUInt8(Continuous ? 1 : 0);
  WriteZeroLines(Stream, RunTimeBytes);
}

TFuncSignalLine TFuncSignalLine::ReadRecord(classlib::TStream& Stream) {
  TFuncSignalLine line;
  line.Enabled = Stream.ReadUInt8() != 0;
  line.Kind = Stream.ReadUInt8();
  line.SignalType = Stream.ReadUInt8();
  line.Operator = Stream.ReadUInt8();
  line.Complex = Stream.ReadUInt8() != 0;
  for (double* p : {&line.P1, &line.P2, &line.P3, &line.P4, &line.P5, &line.P6, &line.P7}) *p = Stream.ReadDouble();
  line.Continuous = Stream.ReadUInt8() != 0;
  SkipBytes(Stream, RunTimeBytes);
  return line;
}

void TFuncSignalList::SaveToStream(classlib::TStream& Stream) {
  classlib::TMemoryStream bytes;
  WriteZeroLines(bytes, CountOffset);
  bytes.WriteInt32(Count());
  WriteZeroLines(bytes, TFuncSignalLine::RecordSize - CountOffset - 4);
  for (const TFuncSignalLine& line : Records()) line.WriteRecord(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TFuncSignalList::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    constexpr std::int64_t size = TFuncSignalLine::RecordSize;
    if (Stream.Size() - start < size)
      numeric::RaiseError("Formula template: " + std::to_string(Stream.Size() - start) +
                          " bytes are too few for its 76-byte header");
    SkipBytes(Stream, CountOffset);
    const std::int32_t count = Stream.ReadInt32();
    SkipBytes(Stream, TFuncSignalLine::RecordSize - CountOffset - 4);
    if (count < 0) numeric::RaiseError("Formula template: negative line count " + std::to_string(count));
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (count > left / size)
      numeric::RaiseError("Formula template: " + std::to_string(count) + " lines need " + std::to_string(count * size) +
                          " bytes, " + std::to_string(left) + " are left");
    std::vector<TFuncSignalLine> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) lines.push_back(TFuncSignalLine::ReadRecord(Stream));
    Records() = std::move(lines);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

// --- TSignalSounds ---------------------------------------------------------

const classlib::TClassInfo& TSignalSounds::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalSounds>("TSignalSounds", TStreamTemplates::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

TSignalSounds::TSignalSounds() : FList(std::make_unique<TFuncSignalList>()) {
  TStreamTemplates::SetTemplate(FList.get());
}

TSignalSounds::~TSignalSounds() { TStreamTemplates::SetTemplate(nullptr); }

void TSignalSounds::SetTemplate(TFuncSignalList*) { numeric::RaiseError("Operation not supported!"); }

// --- TSignalGenerator ------------------------------------------------------

const classlib::TClassInfo& TSignalGenerator::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalGenerator>("TSignalGenerator", TSignal::StaticClassInfo())
          .SubObject("Inputs", [](const TSignalGenerator& g) { return g.Inputs(); })
          .Stored(&TSignalGenerator::InputStored)
          .SubObject("Sounds", [](const TSignalGenerator& g) { return &g.Sounds(); })
          .Property("PhaseUnits", &TSignalGenerator::PhaseUnits, &TSignalGenerator::SetPhaseUnits)
          .TypeName("TPhaseUnits")
          .Names({"puRad", "puDeg"})
          .Creatable()
          .Build();
  return info;
}

TSignalGenerator::TSignalGenerator(classlib::TComponent* AOwner)
    : TSignal(AOwner), FSounds(std::make_unique<TSignalSounds>()) {
  SetMultiChannel(true);
  for (TLineSlot& slot : FLineSlots) {
    slot.Vector = std::make_unique<numeric::TVec>();
    slot.Line.Continuous = true;
  }
  SetUsesInputs(false);
}

TSignalGenerator::~TSignalGenerator() {
  for (TLineSlot& slot : FLineSlots) FreeLine(slot);
  FWorkingList.clear();
}

std::int32_t TSignalGenerator::BlockLength() const {
  return UsesInputs() ? InputSignal(0).Length() : Length();
}

TSignal& TSignalGenerator::InputSignal(std::int32_t Index) const {
  if (Inputs() == nullptr || Index >= Inputs()->Count()) numeric::RaiseError("i > Inputs.Count-1");
  TSignal* input = Inputs()->Items(Index)->Input();
  if (input == nullptr) numeric::RaiseError("Inputs[" + std::to_string(Index) + "] = nil!");
  return *input;
}

namespace {

// NaN rates count as equal, so that they do not prepare the slots at every block.
bool SameRate(double A, double B) { return A == B || (std::isnan(A) && std::isnan(B)); }

}  // namespace

void TSignalGenerator::Prepare() {
  if (FPrepared) {
    // A block of another length than the slots were made for would not fit,
    // and waveforms set up at another rate would run at the wrong frequency.
    if (BlockLength() == FPreparedLength && SameRate(SamplingFrequency(), FPreparedRate)) return;
    FPrepared = false;
  }
  const TFuncSignalList& lines = FSounds->Template();
  if (lines.Count() > MaxLines) numeric::RaiseError("Max stack size = 21!");
  SetUsesInputs(false);
  for (std::int32_t i = 0; i < lines.Count(); ++i) SetupLine(i);
  if (UsesInputs()) {
    // The block takes the inputs' timing; the lines were set up at the
    // generator's own rate before an input line was met.
    const double rate = SamplingFrequency();
    TSignal::PrepareUpdate();
    if (!SameRate(rate, SamplingFrequency()))
      for (std::int32_t i = 0; i < lines.Count(); ++i) SetupLine(i);
    const std::int32_t length = BlockLength();
    for (std::int32_t i = 0; i < lines.Count(); ++i)
      if (FLineSlots[static_cast<std::size_t>(i)].Line.Kind == 0)
        FLineSlots[static_cast<std::size_t>(i)].Vector->SetLength(length);
  }
  FPreparedLength = BlockLength();
  FPreparedRate = SamplingFrequency();
  FPrepared = true;
}

void TSignalGenerator::SetupLine(std::int32_t LineIndex) {
  const TFuncSignalLine& line = FSounds->Template().GetLine(LineIndex);
  if (LineIndex >= MaxLines) numeric::RaiseError("Max stack size = 21!");
  TLineSlot& slot = FLineSlots[static_cast<std::size_t>(LineIndex)];
  slot.Line.Enabled = line.Enabled;
  slot.Line.Kind = line.Kind;
  FreeLine(slot);
  if (line.Kind != 0 && line.Kind != 1) return;
  for (auto p : {&TFuncSignalLine::P1, &TFuncSignalLine::P2, &TFuncSignalLine::P3, &TFuncSignalLine::P4,
                 &TFuncSignalLine::P5, &TFuncSignalLine::P6, &TFuncSignalLine::P7})
    slot.Line.*p = line.*p;
  if (line.Kind == 0) {
    slot.Line.SignalType = line.SignalType;
    slot.Line.Complex = line.Complex;
    slot.Line.Continuous = line.Continuous;
    ShapeVector(slot);
    InitLine(slot);
  } else {
    slot.Line.Operator = line.Operator;
    slot.Vector->SetLength(0);
  }
}

void TSignalGenerator::Resync(std::int32_t LineIndex) {
  if (LineIndex - 1 > FSounds->Template().Count() || LineIndex < 0 || LineIndex >= MaxLines)
    numeric::RaiseError("(TemplateLineIndex-1) > Template.Count");
  FLineSlots[static_cast<std::size_t>(LineIndex)].Resync = true;
  if (FOnResync) FOnResync(this, LineIndex);
}

void TSignalGenerator::ResyncAll() {
  for (std::int32_t i = 0; i < FSounds->Template().Count(); ++i) Resync(i);
}

void TSignalGenerator::SaveToStream(classlib::TStream& Stream) {
  FSounds->RefreshTemplate();
  TSignal::SaveToStream(Stream);
}

void TSignalGenerator::LoadFromStream(classlib::TStream& Stream) {
  const std::int32_t index = FSounds->TemplateIndex();
  FSounds->SetTemplateIndex(-1);
  try {
    TSignal::LoadFromStream(Stream);
  } catch (...) {
    // The live template went into its entry on deselecting: selecting it
    // again brings it back.
    FSounds->SetTemplateIndex(index);
    throw;
  }
  // The slots hold the old formula.
  FPrepared = false;
}

std::uint8_t TSignalGenerator::InternalUpdate() {
  if (FSounds->Template().Count() > MaxLines) numeric::RaiseError("Max stack size = 21!");
  try {
    Prepare();
  } catch (const classlib::Exception&) {
    // A line that cannot be set up (no sampling frequency, an input line
    // beyond the inputs) is an error of the formula, told as the
    // evaluation's are; the next update tries again.
    FPrepared = false;
    FErrorText = "Invalid expression!";
    Data().SetZero();
    return 0;
  }
  if (!UsesInputs() && Length() == 0) numeric::RaiseError("Length = 0");
  BuildStack();
  Evaluate();
  return 0;
}

void TSignalGenerator::BuildStack() {
  FWorkingList.clear();
  const TFuncSignalList& lines = FSounds->Template();
  if (lines.Count() > MaxLines) numeric::RaiseError("Max stack size = 21!");
  for (std::int32_t i = 0; i < lines.Count(); ++i) {
    TLineSlot& slot = FLineSlots[static_cast<std::size_t>(i)];
    if (!slot.Line.Enabled) continue;
    slot.Computed = false;
    FWorkingList.push_back(&slot);
  }
}

namespace {

void CheckOperands(const numeric::TVec& A, const numeric::TVec& B) {
  if (A.Length() != B.Length())
    numeric::RaiseError("Operands of different lengths: " + std::to_string(A.Length()) + " and " +
                        std::to_string(B.Length()));
}

void ApplyBinary(std::uint8_t Operator, numeric::TVec& A, const numeric::TVec& B) {
  CheckOperands(A, B);
  switch (Operator) {
    case goAdd: A.Add(B); break;
    case goSub: A.Sub(B); break;
    case goMul: A.Mul(B); break;
    default: A.Divide(B, GeneratorDivideThreshold); break;
  }
}

void ApplyUnary(const TFuncSignalLine& Line, numeric::TVec& X) {
  switch (Line.Operator) {
    case goSin: X.Sin(); break;
    case goCos: X.Cos(); break;
    case goTan: X.Tan(); break;
    case goExp: X.Exp(); break;
    case goLn: X.Ln(); break;
    case goLog: X.Log10(); break;
    case goAbs: X.Abs(); break;
    case goRound: X.Round(); break;
    case goTrunc: X.Trunc(); break;
    default:
      X.ThreshTop(Line.P1);
      X.ThreshBottom(Line.P2);
      break;
  }
}

}  // namespace

void TSignalGenerator::Evaluate() {
  FErrorText.clear();
  try {
    std::vector<TLineSlot*>& list = FWorkingList;
    int passes = 0;
    if (list.size() == 1) {
      GenerateLine(*list.front());
    } else {
      while (list.size() > 1 && passes < MaxPasses) {
        ++passes;
        const auto found =
            std::find_if(list.begin(), list.end(), [](const TLineSlot* slot) { return slot->Line.Kind != 0; });
        const std::size_t j = found == list.end() ? list.size() - 1 : static_cast<std::size_t>(found - list.begin());
        const TFuncSignalLine& op = list[j]->Line;
        if (op.Kind != 1) {
          FPrepared = false;
          FErrorText = "Invalid expression: Missing operator!";
          numeric::RaiseError(FErrorText);
        }
        if (op.Operator <= goDivide) {
          if (j < 2) numeric::RaiseError("Operator \"" + std::to_string(op.Operator) + "\" lacks an operand");
          TLineSlot& a = *list[j - 2];
          TLineSlot& b = *list[j - 1];
          GenerateLine(a);
          GenerateLine(b);
          ApplyBinary(op.Operator, *a.Vector, *b.Vector);
          a.Computed = true;
          list.erase(list.begin() + static_cast<std::ptrdiff_t>(j - 1), list.begin() + static_cast<std::ptrdiff_t>(j + 1));
        } else if (op.Operator <= goLimit) {
          if (j < 1) numeric::RaiseError("Operator \"" + std::to_string(op.Operator) + "\" lacks an operand");
          TLineSlot& x = *list[j - 1];
          GenerateLine(x);
          ApplyUnary(op, *x.Vector);
          x.Computed = true;
          list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
        }
      }
    }
    if (passes == MaxPasses) {
      FPrepared = false;
      FErrorText = "Expression stack size limit exceeded!";
      numeric::RaiseError(FErrorText);
    }
    if (!list.empty()) Data().Copy(*list.front()->Vector);
  } catch (const classlib::Exception&) {
    if (FErrorText.empty()) FErrorText = "Invalid expression!";
    Data().SetZero();
  }
}

// --- Texts -----------------------------------------------------------------

void GeneratorFunctionToText(std::uint8_t Code, std::string& Text) {
  static const std::array<const char*, 9> names = {"Sine",      "Impulse",     "Unit impulse", "Triangle", "Square",
                                                   "RandGauss", "RandUniform", "Chirp",        "Constant"};
  const std::uint8_t code = Code & 0x7F;
  if (code < names.size())
    Text = names[code];
  else if (code >= gfInput0 && code <= gfInput7)
    Text = "Input " + std::to_string(code - gfInput0);
  else
    Text = "Unrecognized";
}

void GeneratorOperatorToText(std::uint8_t Code, std::string& Text) {
  static const std::array<const char*, 14> names = {"+",  "-",   "*",   "/",   "Sin",   "Cos",   "Tan",
                                                    "Exp", "Ln", "Log", "Abs", "Round", "Trunc", "Limit"};
  const std::uint8_t code = Code & 0x7F;
  Text = code < names.size() ? names[code] : "Unrecognized";
}

}  // namespace sig
