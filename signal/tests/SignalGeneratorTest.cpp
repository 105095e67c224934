// The formula generator: evaluation of formulas, preparation of its slots,
// resync, the formula templates and their streams.
// Covers signal/SignalGenerator.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"
#include "signal/SignalCollections.h"
#include "signal/SignalGenerator.h"
#include "signal/tests/GeneratorFormulas.h"
#include "testing/TestSupport.h"

namespace {

using namespace generator_tests;
using orvel::testing::Raises;
using sig::TFuncSignalList;
using sig::TSignalGenerator;

const double Nan = std::numeric_limits<double>::quiet_NaN();

// sin(2 pi f i / Fs + phase) of a one-channel block.
std::vector<double> SineBlock(int L, double Fs, double f, double PhaseDeg, double Amplitude, int From = 0) {
  std::vector<double> v;
  for (int i = From; i < From + L; ++i)
    v.push_back(Amplitude * std::sin(2 * std::numbers::pi * f * i / Fs + PhaseDeg * std::numbers::pi / 180));
  return v;
}

void ExpectNear(const std::vector<double>& Actual, const std::vector<double>& Expected, double Tol) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (std::size_t i = 0; i < Actual.size(); ++i) EXPECT_NEAR(Actual[i], Expected[i], Tol) << "sample " << i;
}

bool AllZero(const std::vector<double>& V) {
  for (double x : V)
    if (x != 0.0) return false;
  return !V.empty();
}

// Sine 10 Hz (amplitude 1), Sine 5 Hz phase 30 (amplitude 0.5), Square 25 Hz
// and a Constant of 3, at Fs 100.
const TFuncSignalLine SineA = Source(sig::gfSine, {10, 0, 1});
const TFuncSignalLine SineB = Source(sig::gfSine, {5, 30, 0.5});
const TFuncSignalLine Square = Source(sig::gfSquare, {25, 0, 1});
const TFuncSignalLine Three = Source(sig::gfConstant, {3});

std::vector<double> SquareBlock() {
  std::vector<double> v;
  for (int i = 0; i < 20; ++i) v.push_back(i % 4 < 2 ? 1.0 : -1.0);
  return v;
}

struct TFormulaCase {
  const char* Name;
  std::vector<TFuncSignalLine> Lines;
  // Expected samples, or empty for an error.
  std::vector<double> Expected;
  const char* ErrorText;
};

std::vector<TFormulaCase> FormulaCases() {
  const std::vector<double> a = SineBlock(20, 100, 10, 0, 1);
  const std::vector<double> b = SineBlock(20, 100, 5, 30, 0.5);
  const std::vector<double> q = SquareBlock();
  std::vector<double> sum, diff, weighted, quotient;
  for (int i = 0; i < 20; ++i) {
    sum.push_back(a[i] + b[i]);
    diff.push_back(a[i] - b[i]);
    weighted.push_back(a[i] + q[i] * 3);
    quotient.push_back(q[i] / 3);
  }
  return {
      {"a lone source", {SineA}, a, ""},
      {"a sum", {SineA, SineB, Op(sig::goAdd)}, sum, ""},
      {"A is the older operand", {SineA, SineB, Op(sig::goSub)}, diff, ""},
      {"the first operator takes the lines before it", {SineA, Square, Three, Op(sig::goMul), Op(sig::goAdd)},
       weighted, ""},
      {"a quotient", {Square, Three, Op(sig::goDivide)}, quotient, ""},
      {"two sources and no operator", {SineA, SineB}, {}, "Invalid expression: Missing operator!"},
      {"an operator with one operand", {SineA, Op(sig::goAdd)}, {}, "Invalid expression!"},
      {"unchecked lines are left out", {SineA, Disabled(SineB), Op(sig::goAdd)}, {}, "Invalid expression!"},
      {"an operator first", {Op(sig::goSin), SineA}, {}, "Invalid expression!"},
      {"an operator alone", {Op(sig::goAbs)}, {}, "Invalid expression!"},
      {"a line of neither kind", {SineA, SineB, [] {
         TFuncSignalLine l = Op(sig::goAdd);
         l.Kind = 7;
         return l;
       }()},
       {}, "Invalid expression: Missing operator!"},
      {"an unknown operator never reduces", {SineA, SineB, Op(40)}, {}, "Expression stack size limit exceeded!"},
      {"an unknown source", {Source(99)}, {}, "Invalid expression!"},
  };
}

TEST(SignalGenerator, EvaluatesFormulasInPostfixOrder) {
  for (const TFormulaCase& c : FormulaCases()) {
    SCOPED_TRACE(c.Name);
    TSignalGenerator g;
    Configure(g, 20, 100);
    g.Data().SetVal(7.0);
    SetFormula(g, c.Lines);
    // Evaluation errors are the generator's status, not an exception.
    EXPECT_EQ(g.Update(), 0);
    EXPECT_EQ(g.ErrorText(), c.ErrorText);
    if (c.Expected.empty())
      EXPECT_TRUE(AllZero(Samples(g)));
    else
      ExpectNear(Samples(g), c.Expected, 1e-13);
    EXPECT_EQ(g.Length(), 20);
  }
}

TEST(SignalGenerator, AMissingOperatorOrThePassLimitPreparesAgainAtTheNextUpdate) {
  TSignalGenerator g;
  Configure(g, 20, 100);
  SetFormula(g, {SineA, SineB});
  g.Update();
  EXPECT_FALSE(g.Prepared());
  // The template mended in place: the next update sets the slots up again
  // without being told.
  g.Sounds().Template().AddLine(Op(sig::goAdd));
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_TRUE(g.Prepared());
  EXPECT_NEAR(g.Data().Values()[3], SineBlock(4, 100, 10, 0, 1)[3] + SineBlock(4, 100, 5, 30, 0.5)[3], 1e-13);

  SetFormula(g, {SineA, SineB, Op(14)});
  g.Update();
  EXPECT_EQ(g.ErrorText(), "Expression stack size limit exceeded!");
  EXPECT_FALSE(g.Prepared());
  // A lone operand error keeps the preparation.
  SetFormula(g, {SineA, Op(sig::goMul)});
  g.Update();
  EXPECT_EQ(g.ErrorText(), "Invalid expression!");
  EXPECT_TRUE(g.Prepared());
}

TEST(SignalGenerator, NoEnabledLineLeavesDataAsItWas) {
  TSignalGenerator g;
  Configure(g, 8, 100);
  g.Data().Ramp();
  SetFormula(g, {Disabled(SineA)});
  EXPECT_EQ(g.Update(), 0);
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_EQ(g.Data().Values()[5], 5.0);
}

TEST(SignalGenerator, OnlyATooLongTemplateAndAnEmptyBlockAreRaised) {
  TSignalGenerator g;
  Configure(g, 8, 100);
  g.Data().SetVal(7.0);
  SetFormula(g, std::vector<TFuncSignalLine>(22, Three));
  EXPECT_TRUE(Raises([&] { g.Update(); }, "Gen: Max stack size = 21!"));
  EXPECT_FALSE(g.Prepared());
  EXPECT_EQ(g.Data().Values()[0], 7.0);
  // 21 lines fit: 3, Abs, nine times (3, +), Abs.
  std::vector<TFuncSignalLine> lines = {Three, Op(sig::goAbs)};
  for (int i = 0; i < 9; ++i) {
    lines.push_back(Three);
    lines.push_back(Op(sig::goAdd));
  }
  lines.push_back(Op(sig::goAbs));
  ASSERT_EQ(lines.size(), 21u);
  SetFormula(g, lines);
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_EQ(g.Data().Values()[0], 30.0);

  SetFormula(g, {Three});
  g.SetLength(0);
  EXPECT_TRUE(Raises([&] { g.Update(); }, "Gen: Length = 0"));
}

TEST(SignalGenerator, NoSamplingFrequencyIsAnErrorOfTheFormula) {
  TSignalGenerator g;
  Configure(g, 4, 0);
  SetFormula(g, {Three});
  EXPECT_EQ(g.Update(), 0);
  EXPECT_EQ(g.ErrorText(), "Invalid expression!");
  EXPECT_FALSE(g.Prepared());
  // Set up by the editor, the line tells why.
  EXPECT_TRUE(Raises([&] { g.SetupLine(0); }, "SamplingFrequency = 0"));
  g.SetSamplingFrequency(10);
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_EQ(Samples(g), (std::vector<double>(4, 3.0)));
  // Taken away after the preparation, it stops the next block as well.
  g.SetSamplingFrequency(0);
  g.Update();
  EXPECT_EQ(g.ErrorText(), "Invalid expression!");
  EXPECT_TRUE(AllZero(Samples(g)));
}

TEST(SignalGenerator, ANewRateSetsTheWaveformsUpAgain) {
  TSignalGenerator g;
  Configure(g, 10, 100);
  SetFormula(g, {Source(sig::gfSine, {10, 0, 1})});
  g.Update();
  g.SetSamplingFrequency(200);
  g.Update();
  ExpectNear(Samples(g), SineBlock(10, 200, 10, 0, 1), 1e-12);
}

TEST(SignalGenerator, OperatorsOfOneOperand) {
  struct TCase {
    TFuncSignalLine Operator;
    double Expected;
  };
  const double x = -2.5;
  // Limit: values above P1 become P1, then values below P2 become P2.
  const TCase cases[] = {{Op(sig::goSin), std::sin(x)},      {Op(sig::goCos), std::cos(x)},
                         {Op(sig::goTan), std::tan(x)},      {Op(sig::goExp), std::exp(x)},
                         {Op(sig::goAbs), 2.5},              {Op(sig::goRound), -2.0},
                         {Op(sig::goTrunc), -2.0},           {Op(sig::goLimit, 0, -3), -2.5},
                         {Op(sig::goLimit, -3, -10), -3.0},  {Op(sig::goLimit, 0, -1), -1.0},
                         {Op(sig::goLimit, -3, -1), -1.0}};
  for (const TCase& c : cases) {
    std::string name;
    sig::GeneratorOperatorToText(c.Operator.Operator, name);
    SCOPED_TRACE(name + " " + std::to_string(c.Operator.P1));
    TSignalGenerator g;
    Configure(g, 4, 10);
    SetFormula(g, {Source(sig::gfConstant, {x}), c.Operator});
    g.Update();
    EXPECT_EQ(g.ErrorText(), "");
    EXPECT_DOUBLE_EQ(g.Data().Values()[3], c.Expected);
  }
  TSignalGenerator g;
  Configure(g, 4, 10);
  SetFormula(g, {Source(sig::gfConstant, {100}), Op(sig::goLog)});
  g.Update();
  EXPECT_DOUBLE_EQ(g.Data().Values()[0], 2.0);
  SetFormula(g, {Source(sig::gfConstant, {std::exp(1.5)}), Op(sig::goLn)});
  g.Update();
  EXPECT_DOUBLE_EQ(g.Data().Values()[0], 1.5);
}

TEST(SignalGenerator, DividingByZeroGivesTheThresholdsQuotient) {
  TSignalGenerator g;
  Configure(g, 4, 10);
  SetFormula(g, {Source(sig::gfConstant, {1e-300}), Source(sig::gfConstant, {0}), Op(sig::goDivide)});
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_TRUE(std::isfinite(g.Data().Values()[0]));
  EXPECT_TRUE(orvel::testing::NearRel(g.Data().Values()[0], 1e-300 / 5.56268464626801E-309, 1e-14));
}

TEST(SignalGenerator, ComplexSourcesMakeComplexResultsBlockAfterBlock) {
  TSignalGenerator g;
  Configure(g, 6, 100);
  // Constant 1 + 2i times a real constant of 2, then its magnitude: each
  // block starts again from the lines' own kinds.
  SetFormula(g, {Source(sig::gfConstant, {1, 2}, true, true), Source(sig::gfConstant, {2}), Op(sig::goMul)});
  for (int block = 0; block < 2; ++block) {
    g.Update();
    EXPECT_EQ(g.ErrorText(), "");
    ASSERT_TRUE(g.Data().Complex());
    EXPECT_EQ(g.Data().Length(), 6);
    EXPECT_EQ(g.Data().Values()[10], 2.0);
    EXPECT_EQ(g.Data().Values()[11], 4.0);
  }
  SetFormula(g, {Source(sig::gfConstant, {3, 4}, true, true), Op(sig::goAbs)});
  for (int block = 0; block < 3; ++block) {
    g.Update();
    EXPECT_EQ(g.ErrorText(), "") << "block " << block;
    EXPECT_FALSE(g.Data().Complex());
    EXPECT_EQ(g.Data().Values()[5], 5.0);
  }
  // A real sine plus a complex constant: the sine's own slot turns complex
  // for the sum and back to real for its next block.
  SetFormula(g, {Source(sig::gfSine, {10, 0, 1}), Source(sig::gfConstant, {0, 1}, true, true), Op(sig::goAdd)});
  const std::vector<double> sine = SineBlock(12, 100, 10, 0, 1);
  for (int block = 0; block < 2; ++block) {
    g.Update();
    EXPECT_EQ(g.ErrorText(), "") << "block " << block;
    ASSERT_TRUE(g.Data().Complex());
    EXPECT_NEAR(g.Data().Values()[2], sine[static_cast<std::size_t>(6 * block + 1)], 1e-13);
    EXPECT_EQ(g.Data().Values()[3], 1.0);
  }
}

TEST(SignalGenerator, ANewLengthPreparesTheSlotsAgain) {
  TSignalGenerator g;
  Configure(g, 16, 100);
  SetFormula(g, {Source(sig::gfSine, {10, 0, 1}), Source(sig::gfChirp, {1, 0, 1, 0, 20, 1}), Op(sig::goAdd)});
  g.Update();
  ASSERT_EQ(g.ErrorText(), "");
  g.SetLength(1000);
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_EQ(g.Length(), 1000);
  EXPECT_NEAR(g.Data().Values()[999], SineBlock(1000, 100, 10, 0, 1)[999] +
                                           std::sin(2 * std::numbers::pi * (999 / 100.0 + 0.5 * 19 * 9.99 * 9.99 / 10)),
              1e-9);
  g.SetLength(3);
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  EXPECT_EQ(g.Length(), 3);
}

// Three input signals, and a generator that mixes them.
struct Inputs : ::testing::Test {
  sig::TSignal A, B, C;
  TSignalGenerator G;
  Inputs() {
    for (sig::TSignal* s : {&A, &B, &C}) {
      s->SetLength(5);
      s->SetSamplingFrequency(50);
    }
    A.Data().Ramp();
    B.Data().SetVal(10.0);
    C.Data().SetVal(-1.0);
    Configure(G, 8, 100);
    G.Inputs()->Add()->SetInput(&A);
    G.Inputs()->Add()->SetInput(&B);
  }
};

TEST_F(Inputs, InputLinesMixTheInputsAtTheirLengthAndRate) {
  SetFormula(G, {Source(sig::gfInput0 + 1), Source(sig::gfInput0), Op(sig::goSub), Source(sig::gfConstant, {2}),
                 Op(sig::goMul)});
  EXPECT_EQ(G.Pull(), 0);
  EXPECT_EQ(G.ErrorText(), "");
  EXPECT_TRUE(G.UsesInputs());
  EXPECT_EQ(Samples(G), (std::vector<double>{20, 18, 16, 14, 12}));
  EXPECT_EQ(G.SamplingFrequency(), 50.0);

  // Input 0 grows: the slots follow.
  A.SetLength(7);
  A.Data().Ramp();
  B.SetLength(7);
  B.Data().SetVal(10.0);
  G.Pull();
  EXPECT_EQ(G.ErrorText(), "");
  EXPECT_EQ(Samples(G), (std::vector<double>{20, 18, 16, 14, 12, 10, 8}));
  // Inputs of different lengths cannot be combined.
  B.SetLength(6);
  G.Pull();
  EXPECT_EQ(G.ErrorText(), "Invalid expression!");
  EXPECT_TRUE(AllZero(Samples(G)));
}

TEST_F(Inputs, AnInputLineBeyondTheInputsIsAnEvaluationError) {
  SetFormula(G, {Source(sig::gfInput0 + 3)});
  EXPECT_EQ(G.Update(), 0);
  EXPECT_EQ(G.ErrorText(), "Invalid expression!");
  EXPECT_TRUE(AllZero(Samples(G)));
  EXPECT_TRUE(Raises([&] { G.SetupLine(0); }, "i > Inputs.Count-1"));
  G.Inputs()->Add()->SetInput(&C);
  G.Inputs()->Add()->SetInput(&C);
  G.SetPrepared(false);
  G.Update();
  EXPECT_EQ(G.ErrorText(), "");
  EXPECT_EQ(Samples(G), (std::vector<double>(5, -1.0)));
}

TEST_F(Inputs, AFreedInputIsReportedNotRead) {
  SetFormula(G, {Source(sig::gfInput0 + 1)});
  G.Update();
  ASSERT_EQ(G.ErrorText(), "");
  auto* d = new sig::TSignal;
  d->SetLength(5);
  G.Inputs()->Items(1)->SetInput(d);
  delete d;
  EXPECT_TRUE(Raises([&] { G.Update(); }, "Gen: Inputs[1] = nil!"));
}

TEST(SignalGenerator, ResyncRestartsALineAtItsNextBlock) {
  TSignalGenerator g;
  Configure(g, 10, 100);
  SetFormula(g, {Source(sig::gfSine, {10, 0, 1})});
  std::vector<std::int32_t> fired;
  g.SetOnResync([&](classlib::TPersistent* Sender, std::int32_t Line) {
    EXPECT_EQ(Sender, &g);
    fired.push_back(Line);
  });
  g.Update();
  g.Update();
  ExpectNear(Samples(g), SineBlock(10, 100, 10, 0, 1, 10), 1e-12);
  g.Resync(0);
  g.Update();
  ExpectNear(Samples(g), SineBlock(10, 100, 10, 0, 1), 1e-12);
  g.Update();
  ExpectNear(Samples(g), SineBlock(10, 100, 10, 0, 1, 10), 1e-12);
  g.ResyncAll();
  EXPECT_EQ(fired, (std::vector<std::int32_t>{0, 0}));

  // Index - 1 beyond the count, a negative index and one without a slot.
  for (std::int32_t bad : {3, -1, 21}) {
    EXPECT_TRUE(Raises([&] { g.Resync(bad); }, "(TemplateLineIndex-1) > Template.Count")) << bad;
  }
  EXPECT_EQ(fired.size(), 2u);
}

TEST(SignalGenerator, SetupLineReplacesOneLineAndKeepsTheOthersRunning) {
  TSignalGenerator g;
  Configure(g, 10, 100);
  SetFormula(g, {Source(sig::gfSine, {10, 0, 1}), Source(sig::gfConstant, {1}), Op(sig::goAdd)});
  g.Update();
  g.Sounds().Template().GetLine(1).P1 = 5;
  g.SetupLine(1);
  g.Update();
  std::vector<double> expected = SineBlock(10, 100, 10, 0, 1, 10);
  for (double& x : expected) x += 5;
  ExpectNear(Samples(g), expected, 1e-12);
  EXPECT_TRUE(Raises([&] { g.SetupLine(3); }, "List index out of bounds (3)"));
}

// --- Templates and streams ---------------------------------------------------

TEST(FuncSignalList, ATwoLineTemplateIs228BytesWithItsCountInTheHeader) {
  TFuncSignalList list;
  list.AddLine(Source(sig::gfSine, {10, 20, 1, 0, 0, 0, -0.5}));
  list.AddLine(Op(sig::goAbs, 2.5));
  classlib::TMemoryStream s;
  list.SaveToStream(s);
  ASSERT_EQ(s.Size(), 228);
  const auto* b = static_cast<const std::uint8_t*>(s.Memory());
  for (int i = 0; i < 76; ++i) EXPECT_EQ(b[i], i == 71 ? 2 : 0) << "header byte " << i;
  EXPECT_EQ(b[71], 2);
  // The first line: flags, then P1 .. P7 little-endian from byte 5.
  EXPECT_EQ(b[76 + 0], 1);
  EXPECT_EQ(b[76 + 1], 0);
  EXPECT_EQ(b[76 + 2], sig::gfSine);
  EXPECT_EQ(b[76 + 3], sig::goNone);
  double p7 = 0;
  std::memcpy(&p7, b + 76 + 53, 8);
  EXPECT_EQ(p7, -0.5);
  EXPECT_EQ(b[76 + 61], 1);
  for (int i = 62; i < 76; ++i) EXPECT_EQ(b[76 + i], 0) << "run-time byte " << i;
  EXPECT_EQ(b[152 + 1], 1);
  EXPECT_EQ(b[152 + 3], sig::goAbs);

  s.SetPosition(0);
  TFuncSignalList read;
  read.LoadFromStream(s);
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.GetLine(0).P7, -0.5);
  EXPECT_TRUE(read.GetLine(0).Continuous);
  EXPECT_EQ(read.GetLine(1).Operator, sig::goAbs);
  EXPECT_EQ(read.GetLine(1).P1, 2.5);
  EXPECT_EQ(s.Position(), 228);
}

// A formula stream of Count lines whose header announces Announced.
std::string FormulaBytes(std::int32_t Announced, int Lines) {
  TFuncSignalList list;
  for (int i = 0; i < Lines; ++i) list.AddLine(Source(sig::gfConstant, {double(i)}));
  classlib::TMemoryStream s;
  list.SaveToStream(s);
  std::string bytes(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
  std::memcpy(bytes.data() + 71, &Announced, 4);
  return bytes;
}

TEST(FuncSignalList, BadStreamsAreRefusedAndChangeNothing) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  const TCase cases[] = {
      {"a negative count", FormulaBytes(-1, 2), "Formula template: negative line count -1"},
      {"the most negative count", FormulaBytes(std::numeric_limits<std::int32_t>::min(), 0),
       "Formula template: negative line count -2147483648"},
      {"a count beyond the lines", FormulaBytes(3, 2), "Formula template: 3 lines need 228 bytes, 152 are left"},
      {"a huge count", FormulaBytes(std::numeric_limits<std::int32_t>::max(), 1),
       "Formula template: 2147483647 lines need 163208757172 bytes, 76 are left"},
      {"a cut line", FormulaBytes(2, 2).substr(0, 200), "Formula template: 2 lines need 152 bytes, 124 are left"},
      {"a cut header", FormulaBytes(0, 0).substr(0, 75), "Formula template: 75 bytes are too few for its 76-byte header"},
      {"nothing", "", "Formula template: 0 bytes are too few for its 76-byte header"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFuncSignalList list;
    list.AddLine(Three);
    classlib::TStringStream s(c.Bytes);
    EXPECT_TRUE(Raises([&] { list.LoadFromStream(s); }, c.Message));
    EXPECT_EQ(s.Position(), 0);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.GetLine(0).P1, 3.0);
  }
}

// Good with one to three bytes changed or its end cut; every fifth run,
// when Noise is not 0, up to Noise random bytes instead. The four bytes
// from Hot, while they are still there, are hit more often than the others.
std::string Mutated(const std::string& Good, std::mt19937_64& Random, int Run, std::size_t Noise, std::size_t Hot) {
  std::string bytes = Good;
  if (Noise > 0 && Run % 5 == 0) {
    bytes.resize(Random() % Noise);
    for (char& b : bytes) b = static_cast<char>(Random());
    return bytes;
  }
  const int changes = 1 + static_cast<int>(Random() % 3);
  for (int i = 0; i < changes && !bytes.empty(); ++i) {
    if (Random() % 4 == 0)
      bytes.resize(Random() % (bytes.size() + 1));
    else if (Random() % 3 == 0 && Hot + 4 <= bytes.size())
      bytes[Hot + Random() % 4] = static_cast<char>(Random());
    else
      bytes[Random() % bytes.size()] = static_cast<char>(Random());
  }
  return bytes;
}

// Valid formula streams with bytes changed or cut (the count more often),
// and random bytes: every load either reads whole lines or refuses and
// changes nothing.
TEST(FuncSignalList, FuzzedStreamsAreReadWhollyOrRefused) {
  std::mt19937_64 random(orvel::testing::TestSeed(29140));
  const std::string good = FormulaBytes(3, 3);
  int read = 0, refused = 0;
  constexpr int Runs = 20000;
  for (int run = 0; run < Runs; ++run) {
    const std::string bytes = Mutated(good, random, run, 400, 71);
    TFuncSignalList list;
    list.AddLine(Three);
    classlib::TStringStream s(bytes);
    try {
      list.LoadFromStream(s);
      ++read;
      EXPECT_EQ(s.Position(), 76 * (list.Count() + 1));
    } catch (const classlib::Exception&) {
      ++refused;
      EXPECT_EQ(s.Position(), 0);
      ASSERT_EQ(list.Count(), 1);
      EXPECT_EQ(list.GetLine(0).P1, 3.0);
    }
  }
  std::cout << "formula fuzz: " << Runs << " streams, " << read << " read, " << refused << " refused\n";
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

TEST(SignalSounds, KeepsFormulasByNameAndRefusesAnotherList) {
  sig::TSignalSounds sounds;
  sounds.AddEmptyTemplate("one");
  sounds.Template().AddLine(SineA);
  sounds.AddEmptyTemplate("sum");
  for (const TFuncSignalLine& line : {SineA, SineB, Op(sig::goAdd)}) sounds.Template().AddLine(line);
  // Switching stores the live formula into its entry.
  sounds.SetTemplateIndex(0);
  EXPECT_EQ(sounds.Template().Count(), 1);
  sounds.SetTemplateName("sum");
  EXPECT_EQ(sounds.Template().Count(), 3);
  TFuncSignalList other;
  EXPECT_TRUE(Raises([&] { sounds.SetTemplate(&other); }, "Operation not supported!"));
  EXPECT_EQ(sounds.Template().Count(), 3);

  classlib::TMemoryStream s;
  sounds.SaveToStream(s);
  s.SetPosition(0);
  sig::TSignalSounds read;
  read.LoadFromStream(s);
  EXPECT_EQ(read.TemplateName(), "sum");
  ASSERT_EQ(read.Template().Count(), 3);
  EXPECT_EQ(read.Template().GetLine(1).P2, 30.0);
  read.SetTemplateIndex(0);
  EXPECT_EQ(read.Template().Count(), 1);

  // A stream of the plain store is another class.
  sig::TStreamTemplates plain;
  classlib::TMemoryStream p;
  plain.SaveToStream(p);
  p.SetPosition(0);
  EXPECT_TRUE(Raises([&] { read.LoadFromStream(p); }, "Data format type missmatch: TStreamTemplates <> TSignalSounds"));
  EXPECT_EQ(read.Template().Count(), 1);
}

// Formula stores with bytes changed or cut: a store is read whole, its
// selected formula included, or refused with the target's formulas and
// selection as they were.
TEST(SignalSounds, FuzzedStoresAreReadWhollyOrRefused) {
  std::mt19937_64 random(orvel::testing::TestSeed(29142));
  sig::TSignalSounds source;
  source.AddEmptyTemplate("pair");
  for (const TFuncSignalLine& line : {SineA, SineB, Op(sig::goAdd)}) source.Template().AddLine(line);
  source.AddEmptyTemplate("one");
  source.Template().AddLine(Three);
  classlib::TMemoryStream valid;
  source.SaveToStream(valid);
  const std::string good(static_cast<const char*>(valid.Memory()), static_cast<std::size_t>(valid.Size()));

  int read = 0, refused = 0;
  constexpr int Runs = 5000;
  // The header of the selected formula ("one", the second entry) is hit
  // more often.
  const std::size_t hot = good.size() - 2 * TFuncSignalLine::RecordSize + 71;
  for (int run = 0; run < Runs; ++run) {
    const std::string bytes = Mutated(good, random, run, 0, hot);
    sig::TSignalSounds into;
    into.AddEmptyTemplate("kept");
    into.Template().AddLine(SineA);
    into.Template().AddLine(SineB);
    classlib::TStringStream s(bytes);
    try {
      into.LoadFromStream(s);
      ++read;
    } catch (const classlib::Exception&) {
      ++refused;
      EXPECT_EQ(s.Position(), 0);
      ASSERT_EQ(into.Templates().Count(), 1);
      EXPECT_EQ(into.TemplateName(), "kept");
      ASSERT_EQ(into.Template().Count(), 2);
      EXPECT_EQ(into.Template().GetLine(1).P1, 5.0);
    }
  }
  std::cout << "formula store fuzz: " << Runs << " streams, " << read << " read, " << refused << " refused\n";
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

// A generator with three named formulas, "sum" selected, and settings
// other than the defaults. With Edit, "sum" gets a third line after it was
// stored in its entry.
void Populated(TSignalGenerator& G, bool Edit) {
  Configure(G, 50, 200);
  G.SetPhaseUnits(sig::puDeg);
  G.SetActive(false);
  G.Sounds().AddEmptyTemplate("sine");
  SetFormula(G, {SineA});
  G.Sounds().AddEmptyTemplate("square");
  SetFormula(G, {Square, Three, Op(sig::goMul)});
  G.Sounds().AddEmptyTemplate("sum");
  SetFormula(G, {SineA, SineB});
  G.Sounds().RefreshTemplate();
  if (Edit) G.Sounds().Template().AddLine(Op(sig::goAdd));
}

void ExpectSameFormulas(TSignalGenerator& A, TSignalGenerator& B) {
  EXPECT_EQ(A.PhaseUnits(), B.PhaseUnits());
  EXPECT_EQ(A.Length(), B.Length());
  EXPECT_EQ(A.SamplingFrequency(), B.SamplingFrequency());
  EXPECT_EQ(A.Active(), B.Active());
  ASSERT_EQ(A.Sounds().Templates().Count(), B.Sounds().Templates().Count());
  EXPECT_EQ(A.Sounds().TemplateIndex(), B.Sounds().TemplateIndex());
  for (std::int32_t t = 0; t < A.Sounds().Templates().Count(); ++t) {
    A.Sounds().SetTemplateIndex(t);
    B.Sounds().SetTemplateIndex(t);
    EXPECT_EQ(A.Sounds().TemplateName(), B.Sounds().TemplateName());
    ASSERT_EQ(A.Sounds().Template().Count(), B.Sounds().Template().Count()) << t;
    for (std::int32_t i = 0; i < A.Sounds().Template().Count(); ++i) {
      const TFuncSignalLine& a = A.Sounds().Template().GetLine(i);
      const TFuncSignalLine& b = B.Sounds().Template().GetLine(i);
      EXPECT_EQ(a.Kind, b.Kind);
      EXPECT_EQ(a.SignalType, b.SignalType);
      EXPECT_EQ(a.Operator, b.Operator);
      EXPECT_EQ(a.P1, b.P1);
      EXPECT_EQ(a.P2, b.P2);
      EXPECT_EQ(a.P3, b.P3);
    }
  }
}

TEST(SignalGenerator, RoundTripsThroughTheBinaryAndTheTextComponentStream) {
  TSignalGenerator source;
  Populated(source, false);

  classlib::TMemoryStream binary;
  classlib::WriteComponent(binary, source);
  binary.SetPosition(0);
  TSignalGenerator fromBinary;
  classlib::ReadComponent(binary, fromBinary);
  EXPECT_EQ(fromBinary.Sounds().TemplateName(), "sum");
  EXPECT_EQ(fromBinary.Sounds().Template().Count(), 2);
  ExpectSameFormulas(source, fromBinary);

  const std::string text = classlib::ComponentToText(source);
  EXPECT_NE(text.find("StreamBinaryData"), std::string::npos);
  EXPECT_NE(text.find("PhaseUnits = puDeg"), std::string::npos);
  TSignalGenerator fromText;
  classlib::ReadComponentText(text, fromText);
  EXPECT_EQ(fromText.Sounds().Template().Count(), 2);
  ExpectSameFormulas(source, fromText);
}

TEST(SignalGenerator, AComponentStreamReadIntoAGeneratorWithFormulasReplacesThemAll) {
  TSignalGenerator source;
  Populated(source, false);
  for (std::int32_t selected : {2, 0, -1}) {
    SCOPED_TRACE(selected);
    source.Sounds().SetTemplateIndex(selected);
    const std::string text = classlib::ComponentToText(source);
    // The target has a selection and an unsaved live formula of its own;
    // neither may end up in the entries read.
    TSignalGenerator target;
    target.Sounds().AddEmptyTemplate("x");
    target.Sounds().AddEmptyTemplate("y");
    SetFormula(target, {Three, Three, Three, Three});
    classlib::ReadComponentText(text, target);
    EXPECT_EQ(target.Sounds().TemplateIndex(), selected);
    EXPECT_EQ(target.Sounds().Template().Count(), selected < 0 ? 0 : source.Sounds().Template().Count());
    ExpectSameFormulas(source, target);
  }
}

TEST(SignalGenerator, ItsOwnStreamCarriesTheFormulasAndAFailedLoadChangesNothing) {
  TSignalGenerator source;
  Populated(source, true);
  classlib::TMemoryStream own;
  // The live edit of "sum" goes into its entry.
  source.SaveToStream(own);

  TSignalGenerator loaded;
  Configure(loaded, 8, 10);
  SetFormula(loaded, {Three});
  loaded.Sounds().AddTemplate("mine");
  loaded.Update();
  ASSERT_TRUE(loaded.Prepared());
  own.SetPosition(0);
  loaded.LoadFromStream(own);
  EXPECT_FALSE(loaded.Prepared());
  EXPECT_EQ(loaded.Sounds().Template().Count(), 3);
  ExpectSameFormulas(source, loaded);
  loaded.SetActive(true);
  loaded.Sounds().SetTemplateName("sum");
  loaded.Update();
  EXPECT_EQ(loaded.ErrorText(), "");
  EXPECT_EQ(loaded.Length(), 50);

  // A stream cut short leaves the generator as it was, its selection too.
  TSignalGenerator kept;
  Configure(kept, 8, 10);
  SetFormula(kept, {Three});
  kept.Sounds().AddTemplate("mine");
  kept.Sounds().Template().AddLine(Three);
  const std::string bytes(static_cast<const char*>(own.Memory()), static_cast<std::size_t>(own.Size()));
  classlib::TStringStream cut(bytes.substr(0, bytes.size() - 9));
  EXPECT_THROW(kept.LoadFromStream(cut), classlib::Exception);
  EXPECT_EQ(cut.Position(), 0);
  EXPECT_EQ(kept.Sounds().TemplateName(), "mine");
  EXPECT_EQ(kept.Sounds().Template().Count(), 2);
  EXPECT_EQ(kept.Sounds().Templates().Count(), 1);
  EXPECT_EQ(kept.Length(), 8);

  // Assign goes through the same streams.
  TSignalGenerator copy;
  copy.Assign(source);
  ExpectSameFormulas(source, copy);
}

TEST(SignalGenerator, TemplateModeCarriesTheFormulasWithoutData) {
  TSignalGenerator source;
  Populated(source, true);
  classlib::TMemoryStream stream;
  source.SaveTemplateToStream(stream);
  TSignalGenerator target;
  Configure(target, 10, 10);
  stream.SetPosition(0);
  target.LoadTemplateFromStream(stream);
  EXPECT_EQ(target.Length(), 10);
  EXPECT_EQ(target.Sounds().Templates().Count(), 3);
  EXPECT_EQ(target.Sounds().Template().Count(), 3);
}

TEST(SignalGenerator, IsMadeByNameAndNamesItsEditor) {
  classlib::TComponent owner;
  std::unique_ptr<classlib::TPersistent> made(classlib::FindClass("TSignalGenerator").Create(&owner));
  auto* g = dynamic_cast<TSignalGenerator*>(made.get());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->EditorClassName(), "TSignalGenForm");
  EXPECT_TRUE(g->MultiChannel());
  EXPECT_FALSE(g->UsesInputs());
  EXPECT_EQ(g->PhaseUnits(), sig::puRad);
  EXPECT_EQ(g->Sounds().TemplateIndex(), -1);
}

TEST(SignalGenerator, TextsOfTheCodes) {
  const std::pair<int, const char*> functions[] = {{0, "Sine"},         {2, "Unit impulse"}, {7, "Chirp"},
                                                   {8, "Constant"},     {9, "Input 0"},      {16, "Input 7"},
                                                   {17, "Unrecognized"}, {128 + 3, "Triangle"}};
  for (const auto& [code, text] : functions) {
    std::string t;
    sig::GeneratorFunctionToText(static_cast<std::uint8_t>(code), t);
    EXPECT_EQ(t, text) << code;
  }
  const std::pair<int, const char*> operators[] = {
      {0, "+"}, {3, "/"}, {9, "Log"}, {13, "Limit"}, {14, "Unrecognized"}, {128 + 1, "-"}};
  for (const auto& [code, text] : operators) {
    std::string t;
    sig::GeneratorOperatorToText(static_cast<std::uint8_t>(code), t);
    EXPECT_EQ(t, text) << code;
  }
}

// Random formulas of every kind of line, with parameters that include NaN,
// infinities, zeros and huge values: the generator answers each with Data
// of its length or an evaluation error, never anything else.
TEST(SignalGenerator, FuzzedFormulasEvaluateOrReportAnError) {
  std::mt19937_64 random(orvel::testing::TestSeed(29141));
  const double specials[] = {0.0, -0.0, 1.0, -1.0, 0.5, 1e-320, 1e308, -1e308, Nan,
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                             2147483648.0, 90.0, 360.0, 3e9};
  sig::TSignal input;
  input.SetLength(32);
  input.Data().Ramp();
  int evaluated = 0, failed = 0;
  constexpr int Runs = 3000;
  for (int run = 0; run < Runs; ++run) {
    TSignalGenerator g;
    Configure(g, 1 + static_cast<std::int32_t>(random() % 64), random() % 7 == 0 ? 0.0 : 1 + double(random() % 1000));
    if (random() % 2) g.Inputs()->Add()->SetInput(&input);
    // Every other formula is well formed, with known codes and every line
    // enabled, so that most of its blocks get as far as the waveforms.
    const bool formed = run % 2 == 0;
    std::vector<TFuncSignalLine> lines;
    const int count = 1 + static_cast<int>(random() % 8);
    int depth = 0;
    for (int i = 0; i < count || (formed && depth > 1); ++i) {
      TFuncSignalLine line;
      if (!formed)
        line = random() % 3 ? Source(static_cast<std::uint8_t>(random() % 20))
                            : Op(static_cast<std::uint8_t>(random() % 16));
      else if (depth >= 2 && (i >= count || random() % 2))
        line = Op(static_cast<std::uint8_t>(random() % 4));
      else if (depth >= 1 && random() % 4 == 0)
        line = Op(static_cast<std::uint8_t>(4 + random() % 10));
      else
        line = Source(static_cast<std::uint8_t>(random() % 10));
      if (formed) depth += line.Kind == 0 ? 1 : line.Operator <= sig::goDivide ? -1 : 0;
      if (!formed && random() % 10 == 0) line.Kind = static_cast<std::uint8_t>(random() % 4);
      line.Enabled = formed || random() % 8 != 0;
      line.Complex = random() % 3 == 0;
      line.Continuous = random() % 2 == 0;
      for (double* p : {&line.P1, &line.P2, &line.P3, &line.P4, &line.P5, &line.P6, &line.P7})
        *p = random() % 3 ? specials[random() % std::size(specials)] : double(int(random() % 2001) - 1000) / 10;
      lines.push_back(line);
    }
    SetFormula(g, lines);
    for (int block = 0; block < 3; ++block) {
      EXPECT_EQ(g.Update(), 0);
      if (g.ErrorText().empty())
        ++evaluated;
      else {
        ++failed;
        EXPECT_TRUE(AllZero(Samples(g)) || g.Data().Length() == 0) << g.ErrorText();
      }
    }
  }
  std::cout << "formula evaluation fuzz: " << Runs << " formulas, " << evaluated << " blocks evaluated, " << failed
            << " blocks with an error\n";
  EXPECT_GT(evaluated, 0);
  EXPECT_GT(failed, 0);
}

}  // namespace
