#include "testing/TestSupport.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "platform/classlib/Exception.h"

namespace orvel::testing {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TestSupport, RaisesComparesTheWholeMessage) {
  auto raise = [] { throw classlib::Exception("Index out of range"); };
  EXPECT_TRUE(Raises(raise, "Index out of range"));
  EXPECT_FALSE(Raises(raise, "Index out of"));
  EXPECT_FALSE(Raises([] {}, "Index out of range"));
  EXPECT_EQ(RaisedMessage(raise), "Index out of range");
  EXPECT_EQ(RaisedMessage([] {}), "<none>");
  EXPECT_THROW(RaisedMessage([] { throw std::runtime_error("other"); }), std::runtime_error);
}

TEST(TestSupport, CommandOutputIsTheWholeStandardOutput) {
  EXPECT_EQ(CommandOutput("printf 'one\\ntwo'"), "one\ntwo");
  EXPECT_THROW(CommandOutput("exit 3"), std::runtime_error);
}

TEST(TestSupport, NearRelAndNearScaled) {
  struct Case {
    double actual, expected, tol;
    bool near;
  } cases[] = {
      {1.0 + 1e-13, 1.0, 1e-12, true}, {1.0 + 1e-11, 1.0, 1e-12, false}, {1e-20, 0.0, 1e-12, false},
      {kNan, kNan, 1e-12, true},       {1.0, kNan, 1e-12, false},        {kInf, kInf, 1e-12, true},
      {-kInf, kInf, 1e-12, false},     {1e300, kInf, 1e-12, false},
  };
  for (const Case& c : cases) EXPECT_EQ(bool(NearRel(c.actual, c.expected, c.tol)), c.near) << c.actual << " " << c.expected;
  EXPECT_TRUE(NearScaled(1e-15, 0.0, 1e-12, 1.0));
  EXPECT_FALSE(NearScaled(1e-11, 0.0, 1e-12, 1.0));
}

TEST(TestSupport, TempDirIsRemovedWithItsContent) {
  std::filesystem::path path;
  {
    TTempDir dir;
    path = dir.Path();
    const std::string file = dir.Write("b.txt", "bytes");
    dir.Write("a.txt", "");
    EXPECT_EQ(FileBytes(file), "bytes");
    EXPECT_EQ(dir.Listing(), "a.txt;b.txt;");
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TestSupport, FileSizeLimitFailsWritesPastItForItsScopeOnly) {
  TTempDir dir;
  const std::string name = dir.File("full.bin");
  {
    TFileSizeLimit full(10);
    std::ofstream out(name, std::ios::binary);
    out << std::string(100, 'x') << std::flush;
    EXPECT_FALSE(out.good());
  }
  EXPECT_EQ(std::filesystem::file_size(name), 10u);
  std::ofstream(name, std::ios::binary) << std::string(100, 'x');
  EXPECT_EQ(std::filesystem::file_size(name), 100u);
}

TEST(TestSupport, SeedComesFromTheEnvironment) {
  ::setenv("ORVEL_SEED", "0x10", 1);
  EXPECT_EQ(TestSeed(5), 16u);
  ::unsetenv("ORVEL_SEED");
  EXPECT_EQ(TestSeed(5), 5u);
}

}  // namespace
}  // namespace orvel::testing
