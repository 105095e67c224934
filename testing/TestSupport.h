// Checks and fixtures shared by the tests of every folder.
//
//   EXPECT_TRUE(Raises([&] { v.SetLength(-1); }, "Length must be >= 0"));
//   EXPECT_TRUE(NearRel(actual, expected, 1e-12));
//   TTempDir dir;  dir.File("a.prm")
//   const std::uint64_t seed = TestSeed(20240611);
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/classlib/StringLists.h"

namespace orvel::testing {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// The message of the exception of type E (classlib::Exception or a
// descendant) that f raises, or "<none>" when it raises nothing. Other
// exception types propagate and fail the test.
template <class E = classlib::Exception>
std::string RaisedMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "<none>";
}

// Succeeds when f raises an exception of type E whose message is exactly
// `message`.
template <class E = classlib::Exception>
::testing::AssertionResult Raises(const std::function<void()>& f, std::string_view message) {
  try {
    f();
  } catch (const E& e) {
    if (e.Message() == message) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "raised \"" << e.Message() << "\", expected \"" << message << "\"";
  }
  return ::testing::AssertionFailure() << "nothing raised, expected \"" << message << "\"";
}

// |actual - expected| <= tol * |expected|. NaN matches NaN and an infinity only
// itself, so tables may hold the non-finite results a routine must give.
::testing::AssertionResult NearRel(double actual, double expected, double tol);

// |actual - expected| <= tol * scale: for values that may be 0 or tiny beside
// a known magnitude of the problem (a filter's unit gain, a signal's range).
::testing::AssertionResult NearScaled(double actual, double expected, double tol, double scale);

// The seed of a randomised test: ORVEL_SEED from the environment, else the
// test's own default. Printed with the test's output so a failure can be run
// again with the same numbers.
std::uint64_t TestSeed(std::uint64_t fallback);

// The standard output of a shell command (an oracle script, perl); raises
// std::runtime_error when it cannot be run or does not exit with 0.
std::string CommandOutput(const std::string& command);

// A fresh folder under the system's temporary folder, removed with everything
// in it when the test ends.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  // The path of an entry of the folder (not created).
  std::string File(std::string_view name) const;
  // Writes bytes into a new entry and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // Names of the entries, sorted and each followed by ';', to see that no
  // temporary file was left behind.
  std::string Listing() const;

 private:
  std::filesystem::path FPath;
};

// The whole content of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path);

// Writes bytes as the whole content of a file.
void PutFile(const std::string& path, const std::string& bytes);

// The strings of a string list, in order.
std::vector<std::string> LinesOf(const classlib::TStrings& list);

// A disk that is full after Bytes bytes of any file, for the scope of the
// object: a write past them fails with EFBIG ("File too large") as it would
// on a full disk, instead of stopping the process. The test's process only.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(std::uint64_t Bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  std::uint64_t FOldSoftLimit = 0;
  void (*FOldHandler)(int) = nullptr;
};

}  // namespace orvel::testing
