// Method files (*.dmp) and the method text: byte layout, round trip, refusals
// of damaged files, and the text's exact form.
// Covers: MethodFile.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "workbench/logic/FileErrors.h"
#include "workbench/logic/MethodFile.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TFilterRecord Filter(const char* name, std::uint8_t type, std::int32_t p1) {
  TFilterRecord f;
  f.Name = name;
  f.FilterType = type;
  f.P1 = p1, f.D1 = 12, f.A1 = 40, f.P2 = 31, f.D2 = 52, f.A2 = 41;
  f.Ripple = 0.08;
  f.Delay = 2;
  f.Order = 50;
  f.CoefCount = 49;
  f.AutoOrder = 1;
  f.Method = dmLibrary;
  f.Price = 1;
  return f;
}

TMethod SampleMethod() {
  TMethod m;
  m.Filters = {Filter("fatl", ftLowPass, 24), Filter("rbci", ftBandPass, 35)};
  m.CodeBefore = " \t// lead\n#property x\r\n\n";
  m.CodeAfter = "\r\n// after\nend  ";
  return m;
}

std::string I32(std::int32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return out;
}

std::string Record(const TFilterRecord& f) {
  const auto bytes = FilterRecordToBytes(f);
  return std::string(bytes.begin(), bytes.end());
}

TEST(MethodFile, HasTheStoredLayout) {
  const TMethod m = SampleMethod();
  // Both codes lose their leading and trailing blanks and control characters,
  // and their line breaks are written as CR LF.
  const std::string before = "// lead\r\n#property x";
  const std::string after = "// after\r\nend";
  const std::string expected = I32(2) + Record(m.Filters[0]) + Record(m.Filters[1]) + I32(20) + before + I32(13) + after;
  ASSERT_EQ(before.size(), 20u);
  ASSERT_EQ(after.size(), 13u);
  EXPECT_EQ(MethodFileBytes(m), expected);
}

TEST(MethodFile, StoresNoStaleBytesAfterAShortenedName) {
  TMethod m;
  m.Filters = {Filter("a rather long filter name", ftLowPass, 24)};
  m.Filters[0].Name = "f";
  const std::string bytes = MethodFileBytes(m);
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(bytes[5], 'f');
  EXPECT_EQ(bytes.substr(6, 24), std::string(24, '\0'));
}

TEST(MethodFile, RoundTrips) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.File("m.dmp");
  TMethod m = SampleMethod();
  m.CodeBefore = "// \xC7\xE0\xE3\xEE\xEB\xEE\xE2\xEE\xEA\r\nint x;";  // Windows-1251 text stays as it is
  m.CodeAfter = "return;\r\n}";
  SaveMethodFile(path, m);
  EXPECT_EQ(ReadMethodFile(path), m);

  // An empty method with empty codes: n = 0 and two lengths of 0.
  const TMethod empty;
  SaveMethodFile(path, empty);
  EXPECT_EQ(orvel::testing::FileBytes(path), I32(0) + I32(0) + I32(0));
  EXPECT_EQ(ReadMethodFile(path), empty);
}

TEST(MethodFile, RefusesDamagedFilesNamingWhatIsWrong) {
  const std::string rec = Record(Filter("f", ftLowPass, 24));
  std::string longName = rec;
  longName[0] = 26;
  std::string badType = rec;
  badType[26] = 4;
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty", "", msgFileTooShort},
      {"half a count", "\x01\x00", msgFileTooShort},
      {"negative count", I32(-1) + I32(0) + I32(0), msgMethodBadCount},
      {"count past the end", I32(0x7FFFFFFF) + rec + I32(0) + I32(0), msgMethodBadCount},
      {"half a record", I32(1) + rec.substr(0, 50), msgMethodBadCount},
      {"no leading length", I32(1) + rec, msgFileTooShort},
      {"name longer than its room", I32(1) + longName + I32(0) + I32(0), msgMethodBadName},
      {"unknown band type", I32(1) + badType + I32(0) + I32(0), msgMethodBadFilterType},
      {"negative leading length", I32(1) + rec + I32(-5) + I32(0), msgMethodBadCodeLength},
      {"leading code past the end", I32(1) + rec + I32(100) + "abc" + I32(0), msgMethodBadCodeLength},
      {"no closing length", I32(1) + rec + I32(3) + "abc", msgFileTooShort},
      {"closing code past the end", I32(1) + rec + I32(0) + I32(4) + "abc", msgMethodBadCodeLength},
      {"bytes left over", I32(1) + rec + I32(0) + I32(0) + "x", msgMethodExtraBytes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      ParseMethodFile(c.bytes, "/data/broken.dmp");
      ADD_FAILURE() << "accepted";
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), "/data/broken.dmp");
      EXPECT_NE(e.Message().find("\"/data/broken.dmp\""), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(MethodFile, RefusesAnOversizedFileUnread) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("big.dmp", I32(0) + I32(0) + I32(0));
  std::filesystem::resize_file(path, MethodFileMaxSize + 1);
  EXPECT_THROW(ReadMethodFile(path), EWorkbenchFile);
}

TEST(MethodFile, AFailedSaveLeavesNothing) {
  orvel::testing::TTempDir folder;
  EXPECT_ANY_THROW(SaveMethodFile(folder.File("missing/m.dmp"), SampleMethod()));
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
}

TCoefficientRecord Coefficients(const char* name, std::vector<double> values) {
  TCoefficientRecord c;
  c.Name = name;
  c.Count = static_cast<std::int32_t>(values.size());
  for (std::size_t k = 0; k < values.size(); ++k) c.Coef[k] = values[k];
  return c;
}

TEST(MethodText, HasOneBlockPerFilterBetweenTheCodes) {
  TMethod m;
  m.Filters = {Filter("fatl", ftLowPass, 24), Filter("qzsp", ftBandStop, 36)};
  m.Filters[1].AutoOrder = 0;
  m.Filters[1].Method = dmOwnExchange;
  m.Filters[1].Ripple = 0.5;
  m.CodeBefore = "\r\n  // lead  \r\n";
  m.CodeAfter = "  tail\n";  // the closing code stands as it is
  const std::vector<TCoefficientRecord> c = {Coefficients("fatl", {0.5, -0.125}), Coefficients("qzsp", {0.75})};
  EXPECT_EQ(MethodText(m, c),
            "// lead\r\n"
            "// --- Low Pass filter. Parameters: P1=24, D1=12, A1=40\r\n"
            "// --- P2=31, D2=52, A2=41, Ripple=0.08, Delay=2\r\n"
            "// --- Order [Auto]=50, Calculate method=2\r\n"
            "fatl=\r\n"
            "0.500000000000*close[shift+0]\r\n"
            "-0.1250000000000*close[shift+1];\r\n"
            "\r\n"
            "// --- Band Stop filter. Parameters: P1=36, D1=12, A1=40\r\n"
            "// --- P2=31, D2=52, A2=41, Ripple=0.5, Delay=2\r\n"
            "// --- Order=50, Calculate method=1\r\n"
            "qzsp=\r\n"
            "0.750000000000*close[shift+0];\r\n"
            "\r\n"
            "  tail\r\n\r\n");
}

TEST(MethodText, RefusesWhatCannotBeWritten) {
  orvel::testing::TTempDir folder;
  const TMethod m = SampleMethod();
  const std::vector<TCoefficientRecord> one = {Coefficients("fatl", {1.0})};
  EXPECT_THROW(MethodText(m, one), ETextGeneration);
  std::vector<TCoefficientRecord> two = {Coefficients("fatl", {1.0}), Coefficients("rbci", {1.0, NAN})};
  EXPECT_THROW(MethodText(m, two), ETextGeneration);
  two[1] = Coefficients("rbci", {1.0});
  two[1].Count = MaxCoefficients + 1;
  EXPECT_THROW(MethodText(m, two), ETextGeneration);

  const std::string path = folder.File("m.mql");
  try {
    SaveMethodText(path, m, one);
    ADD_FAILURE() << "saved";
  } catch (const EWorkbenchFile& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos);
    EXPECT_NE(e.Message().find(msgMethodCoefficientsMismatch), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(path));

  two[1].Count = 1;
  SaveMethodText(path, m, two);
  EXPECT_EQ(orvel::testing::FileBytes(path), MethodText(m, two));
}

}  // namespace
}  // namespace workbench
