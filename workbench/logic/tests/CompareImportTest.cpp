// Coefficient sets read back from MQL text, and the chooser's texts.
// Covers: CompareImport.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "testing/TestSupport.h"
#include "workbench/logic/CompareImport.h"
#include "workbench/logic/FileErrors.h"

namespace workbench {
namespace {

using orvel::testing::Raises;

std::vector<TCoefficientRecord> Parse(const std::string& text) { return ParseMqlCoefficientSets(text, "sets.mql"); }

std::vector<double> Coefficients(const TCoefficientRecord& set) {
  return std::vector<double>(set.Coef.begin(), set.Coef.begin() + set.Count);
}

TEST(MqlImport, OneSetOfThreeTerms) {
  const auto sets = Parse("fatl=\r\n0.25*close[shift+0]\r\n+0.5*close[shift+1]\r\n+0.25*close[shift+2];\r\n");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].Name.Str(), "fatl");
  EXPECT_EQ(Coefficients(sets[0]), (std::vector<double>{0.25, 0.5, 0.25}));
  EXPECT_EQ(sets[0].Tag, 0);
  EXPECT_EQ(sets[0].TextMode, 0);
}

TEST(MqlImport, HeadersAndWhatBelongsToThem) {
  // A header in capitals is no header; a buffer's element is one, whatever its case.
  EXPECT_TRUE(Parse("FATL=\n0.25*close[shift+0];\n").empty());
  EXPECT_TRUE(Parse("FATL[=\n0.25*close[shift+0];\n").empty());
  auto buffers = Parse("Out_1[i] =\n0.25*Close[i+0];\n");
  ASSERT_EQ(buffers.size(), 1u);
  EXPECT_EQ(buffers[0].Name.Str(), "Out_1");
  EXPECT_EQ(Coefficients(buffers[0]), std::vector<double>{0.25});
  // A second header before any ";" is read as part of the first set.
  auto sets = Parse("a=\n0.1*close[shift+0]\nb=\n0.2*close[shift+1];\nc =  \n0.3*Close[i+0];\n");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(Coefficients(sets[0]), (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(sets[1].Name.Str(), "c");
  EXPECT_EQ(Coefficients(sets[1]), std::vector<double>{0.3});
  // A header whose set has no terms: a set of none.
  sets = Parse("  empty=\n\n  nothing here;\n");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].Count, 0);
  // A name longer than 25 characters is cut.
  sets = Parse(std::string(30, 'x') + "=\n1*c[i+0];");
  EXPECT_EQ(sets[0].Name.Str(), std::string(25, 'x'));
}

TEST(MqlImport, SignsNumbersAndOffsets) {
  struct TCase {
    const char* Line;
    int Offset;
    double Value;
  } cases[] = {
      {"x+-0.1*close[shift+3];", 3, -0.1},       // the sign touches the number
      {"- 0.1*close[shift+3];", 3, 0.1},         // a blank parts them: the number alone
      {"+1E-5*close[shift+3];", 3, 1e-5},        // the exponent form read whole
      {"-2.5e-3*close[shift+1];", 1, -2.5e-3},
      {"1E5*close[shift+2];", 2, 1e5},
      {"+0.000000100000000000*close[shift+4];", 4, 1e-7},
  };
  for (const TCase& c : cases) {
    const auto sets = Parse(std::string("f=\n") + c.Line);
    ASSERT_EQ(sets.size(), 1u) << c.Line;
    EXPECT_EQ(sets[0].Count, c.Offset + 1) << c.Line;
    EXPECT_EQ(sets[0].Coef[c.Offset], c.Value) << c.Line;
  }
}

TEST(MqlImport, GapsInTheOffsetsKeepEveryCoefficient) {
  const auto sets = Parse("f=\n0.5*close[shift+0]\n+0.25*close[shift+2]\n+0.25*close[shift+4];");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(Coefficients(sets[0]), (std::vector<double>{0.5, 0, 0.25, 0, 0.25}));
}

TEST(MqlImport, RefusedTermsEndTheImport) {
  EXPECT_TRUE(Raises<EWorkbenchFile>([] { Parse("f=\n1*close[shift+0]\n1*close[shift+2501];"); },
                                     "Файл \"sets.mql\", строка 3: смещение коэффициента больше 2500: 2501"));
  EXPECT_TRUE(Raises<EWorkbenchFile>([] { Parse("f=\n1*close[shift+99999999999999999999];"); },
                                     "Файл \"sets.mql\", строка 2: смещение коэффициента больше 2500: "
                                     "99999999999999999999"));
  EXPECT_TRUE(Raises<EWorkbenchFile>([] { Parse("f=\n1.2.3*close[shift+0];"); },
                                     "Файл \"sets.mql\", строка 2: '1.2.3' is not a valid floating point value"));
  // A number with more than one exponent is refused whole, not read from its last mantissa.
  for (const char* number : {"1e5e5", "1E5e5", "1e-5e5", "1e5e-5", "-2.5e+3E4", "1e5e5e5", "1e+5e+5"}) {
    const std::string line = std::string(number) + "*close[shift+0];";
    EXPECT_TRUE(Raises<EWorkbenchFile>([&] { Parse("f=\n0.5*close[shift+1]\n" + line); },
                                       "Файл \"sets.mql\", строка 3: '" + std::string(number) +
                                           "' is not a valid floating point value"))
        << line;
  }
  // The last offset the record holds.
  const auto sets = Parse("f=\n1*close[shift+2500];");
  EXPECT_EQ(sets[0].Count, MaxCoefficients);
  EXPECT_EQ(sets[0].Coef[2500], 1);
}

TEST(MqlImport, TheWorkbenchsOwnMqlTextsReadBack) {
  TFilterRecord f;
  f.Name = "rbci";
  f.FilterType = ftBandPass;
  f.P1 = 20, f.D1 = 10, f.A1 = 40, f.P2 = 40, f.D2 = 60, f.A2 = 40;
  f.Ripple = 0.1;
  f.Order = 60;
  f.Method = dmLibrary;
  TDesignWorkspace ws;
  TCoefficientRecord c{};
  DesignFilterRecord(ws, 0, f, c);
  f.CoefCount = c.Count;
  // The MQL4 text names its set after the buffer it fills.
  for (const auto& [mode, name] : {std::pair<std::uint8_t, const char*>{tmMQL2, "digf"}, {tmMQL4, "FilterBuffer"}}) {
    SCOPED_TRACE(name);
    c.TextMode = mode;
    const auto sets = Parse(GenerateIndicatorText(f, c));
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].Name.Str(), name);
    ASSERT_EQ(sets[0].Count, c.Count);
    for (int k = 0; k < c.Count; ++k)
      EXPECT_NEAR(sets[0].Coef[k], c.Coef[k], 1e-12 * std::fabs(c.Coef[k]) + 1e-17) << k;
  }
}

TEST(MqlImport, TheChoosersTexts) {
  const auto sets = Parse("fatl=\n0.25*close[shift+0]\n-1.5*close[shift+1];");
  EXPECT_EQ(ImportSetItem(sets[0]), "fatl (2)");
  EXPECT_EQ(CoefficientListing(sets[0]), "[0]= 0.2500000000\r\n[1]= -1.5000000000\r\n");
}

}  // namespace
}  // namespace workbench
