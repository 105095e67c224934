#include "testing/TestSupport.h"

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <vector>


namespace orvel::testing {

namespace {

::testing::AssertionResult Compare(double actual, double expected, double bound, double tol, const char* what) {
  const bool ok = std::isnan(expected)   ? std::isnan(actual)
                  : std::isinf(expected) ? actual == expected
                                         : std::fabs(actual - expected) <= bound;
  if (ok) return ::testing::AssertionSuccess();
  std::ostringstream s;
  s.precision(17);
  s << "actual " << actual << ", expected " << expected << ", difference " << std::fabs(actual - expected)
    << " > " << tol << " x " << what;
  return ::testing::AssertionFailure() << s.str();
}

}  // namespace

::testing::AssertionResult NearRel(double actual, double expected, double tol) {
  return Compare(actual, expected, tol * std::fabs(expected), tol, "|expected|");
}

::testing::AssertionResult NearScaled(double actual, double expected, double tol, double scale) {
  return Compare(actual, expected, tol * std::fabs(scale), tol, "scale");
}

std::uint64_t TestSeed(std::uint64_t fallback) {
  std::uint64_t seed = fallback;
  if (const char* text = std::getenv("ORVEL_SEED"); text != nullptr && *text != '\0')
    seed = std::strtoull(text, nullptr, 0);
  ::testing::Test::RecordProperty("seed", std::to_string(seed));
  std::printf("seed %llu (set ORVEL_SEED to repeat)\n", static_cast<unsigned long long>(seed));
  return seed;
}

std::string CommandOutput(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::string out;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  if (::pclose(pipe) != 0) throw std::runtime_error("command failed: " + command);
  return out;
}

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  FPath = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

std::string TTempDir::File(std::string_view name) const { return (FPath / std::string(name)).string(); }

std::string TTempDir::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string TTempDir::Listing() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(FPath)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& n : names) out += n + ";";
  return out;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> LinesOf(const classlib::TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

TFileSizeLimit::TFileSizeLimit(std::uint64_t Bytes) {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error(std::strerror(errno));
  FOldSoftLimit = limit.rlim_cur;
  // Past the limit the system sends SIGXFSZ, whose default ends the process.
  FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = Bytes;
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error(std::strerror(errno));
}

TFileSizeLimit::~TFileSizeLimit() {
  struct rlimit limit {};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = FOldSoftLimit;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, FOldHandler);
}

}  // namespace orvel::testing
