// The generator's chirp, square and sine against scipy and numpy, through
// the table data/generator_oracle.txt made by data/gen_generator_oracle.py.
// Covers signal/GeneratorWaveforms.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "signal/SignalGenerator.h"
#include "signal/tests/GeneratorFormulas.h"

namespace {

using namespace generator_tests;

struct TOracleCase {
  std::string Kind, Name;
  double Fs = 0;
  int Length = 0, Blocks = 0;
  std::vector<double> P, Expected;
};

std::vector<double> Numbers(const std::string& Text) {
  std::istringstream in(Text);
  std::vector<double> v;
  double x;
  while (in >> x) v.push_back(x);
  return v;
}

std::vector<TOracleCase> ReadCases() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/generator_oracle.txt");
  std::vector<TOracleCase> cases;
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> f;
    std::istringstream fields(line);
    for (std::string s; std::getline(fields, s, ';');) f.push_back(s);
    if (f.size() != 7) continue;
    TOracleCase c;
    c.Kind = f[0];
    c.Name = f[1];
    c.Fs = std::stod(f[2]);
    c.Length = std::stoi(f[3]);
    c.Blocks = std::stoi(f[4]);
    c.P = Numbers(f[5]);
    c.Expected = Numbers(f[6]);
    cases.push_back(c);
  }
  return cases;
}

TEST(GeneratorWaveformsOracle, ChirpSquareAndSineAsScipyMakesThem) {
  const std::vector<TOracleCase> cases = ReadCases();
  ASSERT_EQ(cases.size(), 10u);
  for (const TOracleCase& c : cases) {
    SCOPED_TRACE(c.Kind + ": " + c.Name);
    ASSERT_EQ(c.P.size(), 7u);
    ASSERT_EQ(c.Expected.size(), static_cast<std::size_t>(c.Length * c.Blocks));
    const std::uint8_t type = c.Kind == "chirp" ? sig::gfChirp : c.Kind == "square" ? sig::gfSquare : sig::gfSine;
    sig::TSignalGenerator g;
    Configure(g, c.Length, c.Fs);
    SetFormula(g, {Source(type, {c.P[0], c.P[1], c.P[2], c.P[3], c.P[4], c.P[5], c.P[6]})});
    std::vector<double> made;
    for (int b = 0; b < c.Blocks; ++b) {
      g.Update();
      ASSERT_EQ(g.ErrorText(), "");
      const std::vector<double> block = Samples(g);
      made.insert(made.end(), block.begin(), block.end());
    }
    // Both round the phase of a sample (below 10^3 radians here, so within
    // 10^3 x 2^-53 of each other, times a few roundings) before the sine,
    // which passes that error on; the rest is a few roundings of numbers
    // below 3. The square takes one of two values.
    const double tol = c.Kind == "square" ? 0.0 : 1e-12;
    for (std::size_t i = 0; i < made.size(); ++i)
      if (!(std::fabs(made[i] - c.Expected[i]) <= tol)) {
        ADD_FAILURE() << "sample " << i << ": " << made[i] << " <> " << c.Expected[i];
        break;
      }
  }
}

}  // namespace
