// Filter parameter files (*.prm): the line layout, round trip of every band
// type, eight-line files as the program always wrote them, and refusals.
// Covers: ParameterFile.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "workbench/logic/FileErrors.h"
#include "workbench/logic/ParameterFile.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TParameterFile Sample() {
  TParameterFile p;
  p.P1 = 24, p.D1 = 12, p.Ripple = "0.08", p.A1 = 40, p.P2 = 31, p.D2 = 52, p.A2 = 45, p.Delay = 3;
  p.FilterType = ftBandStop;
  p.Method = dmOwnExchange;
  return p;
}

TEST(ParameterFile, WritesTenLinesEndedByCrLf) {
  EXPECT_EQ(ParameterFileText(Sample()), "24\r\n12\r\n0.08\r\n-40\r\n31\r\n52\r\n-45\r\n3\r\n3\r\n1\r\n");
}

TEST(ParameterFile, RoundTripsBandTypeDelayAndMethod) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.File("filter.prm");
  for (std::uint8_t type = ftLowPass; type <= ftBandStop; ++type) {
    for (const std::int32_t delay : {0, -1, 7}) {
      for (const std::uint8_t method : {dmOwnExchange, dmLibrary}) {
        TParameterFile p = Sample();
        p.FilterType = type;
        p.Delay = delay;
        p.Method = method;
        SaveParameterFile(path, p);
        const TParameterFileValues v = ReadParameterFile(path);
        SCOPED_TRACE(::testing::Message() << "type " << int(type) << " delay " << delay << " method " << int(method));
        EXPECT_EQ(v.P1, p.P1);
        EXPECT_EQ(v.D1, p.D1);
        EXPECT_EQ(v.Ripple, p.Ripple);
        EXPECT_EQ(v.A1, p.A1);
        EXPECT_EQ(v.P2, p.P2);
        EXPECT_EQ(v.D2, p.D2);
        EXPECT_EQ(v.A2, p.A2);
        EXPECT_EQ(v.Delay, delay);
        EXPECT_EQ(v.FilterType, type);
        EXPECT_EQ(v.Method, method);
      }
    }
  }
}

TEST(ParameterFile, ReadsEightLineFilesAsTheyWereAlwaysRead) {
  const struct {
    const char* text;
    std::optional<std::uint8_t> type;
  } cases[] = {
      // Written from a band-pass filter with delay 0: read back as low-pass.
      {"24\r\n12\r\n0.08\r\n-40\r\n31\r\n52\r\n-40\r\n0\r\n", ftLowPass},
      {"24\n12\n0.08\n-40\n31\n52\n-40\n-1\n", ftBandPass},
      {"24\r12\r0.08\r-40\r31\r52\r-40\r5\r", ftLowPass},
      {"24\r\n12\r\n0.08\r\n-40\r\n31\r\n52\r\n-40\r\n", std::nullopt},  // seven lines
      {"24\r\n12\r\n0.08\r\n-40\r\n31\r\n52\r\n-40\r\n-1\r\n\r\n\r\n\r\n", ftBandPass},  // empty lines after
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    const TParameterFileValues v = ParseParameterFile(c.text, "old.prm");
    EXPECT_EQ(v.P1, 24);
    EXPECT_EQ(v.D1, 12);
    EXPECT_EQ(v.Ripple, "0.08");
    EXPECT_EQ(v.A1, 40);
    EXPECT_EQ(v.P2, 31);
    EXPECT_EQ(v.D2, 52);
    EXPECT_EQ(v.A2, 40);
    EXPECT_EQ(v.FilterType, c.type);
    EXPECT_EQ(v.Delay, std::nullopt);
    EXPECT_EQ(v.Method, dmLibrary);
  }
}

TEST(ParameterFile, EmptyLinesLeaveTheirInputsAndValuesAreTrimmed) {
  const TParameterFileValues v = ParseParameterFile("  30 \r\n\r\n\t0.5\r\n40\r\n\r\n\r\n-40.5\r\n", "x.prm");
  EXPECT_EQ(v.P1, 30);
  EXPECT_EQ(v.D1, std::nullopt);
  EXPECT_EQ(v.Ripple, "0.5");
  EXPECT_EQ(v.A1, 40);  // the magnitude, with or without its minus
  EXPECT_EQ(v.P2, std::nullopt);
  EXPECT_EQ(v.D2, std::nullopt);
  EXPECT_EQ(v.A2, 40);  // halves round to even
  EXPECT_EQ(v.FilterType, std::nullopt);
  EXPECT_EQ(ParseParameterFile("\n\n\n\n\n\n-41.5\n", "x.prm").A2, 42);
  EXPECT_EQ(ParseParameterFile("", "x.prm"), TParameterFileValues{});
}

TEST(ParameterFile, RefusesLinesThatDoNotReadNamingFileAndLine) {
  const struct {
    const char* text;
    int line;
    const char* message;
  } cases[] = {
      {"abc\r\n", 1, "'abc' is not a valid integer value"},
      {"24\r\n12\r\n0,08\r\n", 3, "'0,08' is not a valid floating point value"},
      {"24\r\n12\r\n0.08\r\n-4x\r\n", 4, "'-4x' is not a valid integer value"},
      {"24\r\n12\r\n0.08\r\n-2147483648\r\n", 4, msgPrmOutOfRange},
      {"1\n2\n0.1\n-40\n5\n6\n-1e20\n", 7, msgPrmOutOfRange},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0.5\n", 8, "'0.5' is not a valid integer value"},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0\n2\n", 10, msgPrmNoLine10},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0\n\n2\n", 9, msgPrmNoLine9},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0\n4\n2\n", 9, msgPrmBadFilterType},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0\n1\n3\n", 10, msgPrmBadMethod},
      {"1\n2\n0.1\n-40\n5\n6\n-40\n0\n1\n2\n\nx\n", 12, msgPrmTooManyLines},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    try {
      ParseParameterFile(c.text, "/data/f.prm");
      ADD_FAILURE() << "accepted";
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), "/data/f.prm");
      const std::string where = "Файл \"/data/f.prm\", строка " + std::to_string(c.line) + ": ";
      EXPECT_EQ(e.Message().rfind(where, 0), 0u) << e.Message();
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

TEST(ParameterFile, RefusesAnOversizedFileAndABrokenRippleText) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("big.prm", std::string(ParameterFileMaxSize + 1, '1'));
  EXPECT_THROW(ReadParameterFile(path), EWorkbenchFile);

  TParameterFile p = Sample();
  p.Ripple = "0.1\r\n5";
  const std::string target = folder.File("r.prm");
  try {
    SaveParameterFile(target, p);
    ADD_FAILURE() << "saved";
  } catch (const EWorkbenchFile& e) {
    EXPECT_NE(e.Message().find(target), std::string::npos);
    EXPECT_NE(e.Message().find(msgPrmBadRippleText), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace workbench
