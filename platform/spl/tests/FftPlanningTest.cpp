// Covers platform/spl/FftPlanCache.cpp, FftwProblem.cpp, FftWisdomFile.cpp,
// FftwPlannerProcess.cpp and planner/FftwPlannerMain.cpp through the
// transforms of Fft.cpp: first plans made on many threads at once, quick
// plans replaced by measured ones while threads use them, measuring with and
// without the helper, the helper's idle priority, the wisdom file (written
// whole, unusable ones passed over, where the environment puts it) and a
// second start that plans nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/spl/Fft.h"
#include "platform/spl/FftPlanning.h"
#include "platform/spl/FftwPlannerProcess.h"
#include "platform/spl/FftwProblem.h"
#include "testing/TestSupport.h"

extern char** environ;

namespace spl {
namespace {

namespace fs = std::filesystem;
using orvel::testing::FileBytes;
using orvel::testing::TTempDir;

constexpr double kEps = std::numeric_limits<double>::epsilon();

// Rounding of an n-point transform, relative to the largest value.
double FftTol(int n) { return 8.0 * std::max(1.0, std::log2(n)) * kEps; }

// Doubles starting offset doubles past a 64-byte boundary, so that a test
// chooses whether FFTW sees them aligned.
class TArray {
 public:
  TArray(std::size_t doubles, int offset) : FStore(doubles + 16) {
    const auto address = reinterpret_cast<std::uintptr_t>(FStore.data());
    FData = FStore.data() + ((64 - address % 64) % 64) / sizeof(double) + offset;
  }
  double* D() { return FData; }
  DCplx* C() { return reinterpret_cast<DCplx*>(FData); }

 private:
  std::vector<double> FStore;
  double* FData;
};

void FillRandom(double* p, std::size_t count, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (std::size_t i = 0; i < count; ++i) p[i] = u(rng);
}

// max |a - b| over max |b|, over count doubles.
double RelativeError(const double* a, const double* b, std::size_t count) {
  double worst = 0, scale = 0;
  for (std::size_t i = 0; i < count; ++i) {
    worst = std::max(worst, std::fabs(a[i] - b[i]));
    scale = std::max(scale, std::fabs(b[i]));
  }
  return scale == 0 ? worst : worst / scale;
}

// The forward DFT by its definition, in long double, as n complex values.
std::vector<double> Dft(const double* x, int n, bool complex) {
  const long double pi = 3.141592653589793238462643383279502884L;
  std::vector<double> out(2 * static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    long double re = 0, im = 0;
    for (int j = 0; j < n; ++j) {
      const long double angle = -2 * pi * static_cast<long double>((static_cast<long long>(j) * k) % n) / n;
      const long double xr = complex ? x[2 * j] : x[j];
      const long double xi = complex ? x[2 * j + 1] : 0.0L;
      re += xr * std::cos(angle) - xi * std::sin(angle);
      im += xr * std::sin(angle) + xi * std::cos(angle);
    }
    out[2 * static_cast<std::size_t>(k)] = static_cast<double>(re);
    out[2 * static_cast<std::size_t>(k) + 1] = static_cast<double>(im);
  }
  return out;
}

// Every transform of 2^order points on arrays offset by offset doubles:
// forward against the definition (while that is cheap), in place against out
// of place, and back again. Empty when all agree, else what did not.
std::string CheckTransforms(int order, int offset, unsigned seed) {
  const int n = 1 << order;
  const auto un = static_cast<std::size_t>(n);
  const double tol = FftTol(n);
  std::mt19937_64 rng(seed);
  std::ostringstream failures;
  const auto check = [&](const char* what, const double* a, const double* b, std::size_t count, double limit) {
    const double error = RelativeError(a, b, count);
    if (!(error <= limit)) failures << "n " << n << " offset " << offset << ": " << what << " off by " << error << "; ";
  };

  TArray x(2 * un + 2, offset), spectrum(2 * un + 2, offset), back(2 * un + 2, offset);
  FillRandom(x.D(), 2 * un, rng);
  nspzFftNip(x.C(), spectrum.C(), order, NSP_Forw);
  if (n <= 512) check("complex forward", spectrum.D(), Dft(x.D(), n, true).data(), 2 * un, tol);
  nspzFftNip(spectrum.C(), back.C(), order, NSP_Inv);
  check("complex round trip", back.D(), x.D(), 2 * un, 2 * tol);
  std::copy(x.D(), x.D() + 2 * un, back.D());
  nspzFft(back.C(), order, NSP_Forw);
  check("complex in place", back.D(), spectrum.D(), 2 * un, 2 * tol);

  FillRandom(x.D(), un, rng);
  nspdRealFftNip(x.D(), spectrum.C(), order, NSP_Forw);
  if (n <= 512) check("real forward", spectrum.D(), Dft(x.D(), n, false).data(), un + 2, tol);
  nspdCcsFftNip(spectrum.C(), back.D(), order, NSP_Inv);
  check("real round trip", back.D(), x.D(), un, 2 * tol);

  // A cosine transform of a length that is no power of two, there and back.
  const int m = n + 3;
  nspdDct(x.D(), spectrum.D(), m, 1);
  nspdDct(spectrum.D(), back.D(), m, 2);
  check("cosine round trip", back.D(), x.D(), static_cast<std::size_t>(m), 2 * FftTol(m));
  return failures.str();
}

TFftPlanningStats operator-(const TFftPlanningStats& a, const TFftPlanningStats& b) {
  TFftPlanningStats d;
  d.QuickPlans = a.QuickPlans - b.QuickPlans;
  d.WisdomPlans = a.WisdomPlans - b.WisdomPlans;
  d.ReplacedPlans = a.ReplacedPlans - b.ReplacedPlans;
  d.HelperRuns = a.HelperRuns - b.HelperRuns;
  d.MeasuredHere = a.MeasuredHere - b.MeasuredHere;
  return d;
}

// Sets (or, with nullopt, removes) an environment variable for a scope.
class TEnvVar {
 public:
  TEnvVar(const char* name, const std::optional<std::string>& value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~TEnvVar() {
    if (FOld)
      ::setenv(FName, FOld->c_str(), 1);
    else
      ::unsetenv(FName);
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// Points the wisdom file at path for a scope, then back to none.
class TWisdomFile {
 public:
  explicit TWisdomFile(const std::string& path) { SetFftWisdomFile(path); }
  ~TWisdomFile() { SetFftWisdomFile(""); }
  TWisdomFile(const TWisdomFile&) = delete;
  TWisdomFile& operator=(const TWisdomFile&) = delete;
};

bool IsWisdom(const std::string& text) { return text.rfind("(fftw-3", 0) == 0; }

// A forward cosine transform of a length no other test uses, so that it needs
// a first plan; true when it is right.
bool CosineTransformIsRight(int n) {
  std::mt19937_64 rng(static_cast<unsigned>(n));
  std::vector<double> x(static_cast<std::size_t>(n)), y(x.size()), back(x.size());
  FillRandom(x.data(), x.size(), rng);
  nspdDct(x.data(), y.data(), n, 1);
  nspdDct(y.data(), back.data(), n, 2);
  return RelativeError(back.data(), x.data(), x.size()) <= 2 * FftTol(n);
}

TEST(FftPlanning, FirstUseOfNewSizesOnManyThreadsAtOnce) {
  std::vector<std::string> failures(8);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([t, &failures] {
      // Odd threads on arrays FFTW sees unaligned, even ones on aligned arrays.
      for (int order = 3; order <= 10; ++order)
        failures[static_cast<std::size_t>(t)] += CheckTransforms(order, t % 2, 1000u * t + order);
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 8; ++t) EXPECT_EQ(failures[static_cast<std::size_t>(t)], "") << "thread " << t;
}

// Threads keep transforming while their quick plans are measured and swapped:
// every result stays within rounding of the first, before and after.
TEST(FftPlanning, QuickPlansAreReplacedWhileThreadsUseThem) {
  const TFftPlanningStats before = FftPlanningStats();
  constexpr int kOrder = 11;  // no other test uses it
  constexpr int kWorkers = 5;
  std::atomic<int> started{0};
  std::atomic<bool> replaced{false};
  std::vector<std::string> failures(kWorkers);
  std::vector<int> roundsAfter(kWorkers, 0);
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&, w] {
      const auto n = std::size_t{1} << kOrder;
      TArray x(2 * n + 2, w % 2), y(2 * n + 2, w % 2);
      std::mt19937_64 rng(77u + w);
      FillRandom(x.D(), 2 * n, rng);
      // Complex and real forward on aligned and unaligned arrays, and one
      // cosine transform.
      const auto transform = [&] {
        if (w < 2)
          nspzFftNip(x.C(), y.C(), kOrder, NSP_Forw);
        else if (w < 4)
          nspdRealFftNip(x.D(), y.C(), kOrder, NSP_Forw);
        else
          nspdDct(x.D(), y.D(), 1234, 1);
      };
      transform();
      const std::vector<double> first(y.D(), y.D() + 2 * n);
      ++started;
      while (roundsAfter[static_cast<std::size_t>(w)] < 3) {
        const bool after = replaced.load();
        transform();
        const double error = RelativeError(y.D(), first.data(), w < 4 ? 2 * n : 1234);
        if (!(error <= 2 * FftTol(1 << kOrder)))
          failures[static_cast<std::size_t>(w)] += "off by " + std::to_string(error) + "; ";
        if (after) ++roundsAfter[static_cast<std::size_t>(w)];
        // In use, not hogging the cores the helper measures on.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  while (started.load() < kWorkers) std::this_thread::yield();
  WaitForFftPlans();
  replaced = true;
  for (auto& worker : workers) worker.join();
  for (int w = 0; w < kWorkers; ++w) EXPECT_EQ(failures[static_cast<std::size_t>(w)], "") << "worker " << w;

  const TFftPlanningStats done = FftPlanningStats() - before;
  EXPECT_EQ(done.QuickPlans, kWorkers);
  // The unaligned ones too: the helper measured them on arrays offset alike.
  EXPECT_GE(done.ReplacedPlans, kWorkers);
  EXPECT_GE(done.HelperRuns, 1);
  EXPECT_EQ(done.MeasuredHere, 0);
  EXPECT_EQ(done.WisdomPlans, 0);
}

TEST(FftPlanning, MeasuresInThisProcessWhenTheHelperCannotStart) {
  WaitForFftPlans();  // nothing may read the environment while it changes
  const TEnvVar planner("ORVEL_FFTW_PLANNER", "/nonexistent/orvel_fftw_planner");
  const TFftPlanningStats before = FftPlanningStats();
  EXPECT_TRUE(CosineTransformIsRight(777));
  WaitForFftPlans();
  const TFftPlanningStats done = FftPlanningStats() - before;
  EXPECT_EQ(done.HelperRuns, 0);
  EXPECT_EQ(done.MeasuredHere, 2);  // the forward and the inverse
  EXPECT_EQ(done.ReplacedPlans, 2);
  EXPECT_TRUE(CosineTransformIsRight(777));  // now on the measured plan
}

TEST(FftPlanning, WisdomFileIsWrittenWholeIntoANewFolder) {
  const TTempDir dir;
  const fs::path file = dir.Path() / "cache" / "Orvel" / "fftw-wisdom";
  const TWisdomFile wisdom(file.string());
  EXPECT_EQ(FftWisdomFile(), file.string());
  EXPECT_TRUE(CosineTransformIsRight(555));
  EXPECT_FALSE(fs::exists(file));  // nothing measured yet
  WaitForFftPlans();
  EXPECT_TRUE(IsWisdom(FileBytes(file.string())));
  // Renamed into place: no temporary is left beside it.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(file.parent_path())) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"fftw-wisdom"});
}

// The wisdom file is a cache: one that cannot be read or written changes
// nothing but the planning time.
TEST(FftPlanning, UnusableWisdomFilesArePassedOver) {
  const TTempDir dir;
  const fs::path garbage = dir.Write("garbage", "(fftw-3.3.10 fftw_wisdom #x0 this is not wisdom");
  const fs::path blocker = dir.Write("blocker", "a file where a folder should be");
  const fs::path folder = dir.File("folder");
  fs::create_directory(folder);

  struct TCase {
    const char* What;
    fs::path File;
    int Length;  // of a transform no other case uses
  };
  const TCase cases[] = {
      {"garbage in the file", garbage, 301},
      {"its folder is a file", blocker / "fftw-wisdom", 302},
      {"it is a folder", folder, 303},
  };
  for (const TCase& c : cases) {
    const TWisdomFile wisdom(c.File.string());
    EXPECT_TRUE(CosineTransformIsRight(c.Length)) << c.What;
    EXPECT_NO_THROW(WaitForFftPlans()) << c.What;
    EXPECT_TRUE(CosineTransformIsRight(c.Length)) << c.What;
  }
  // The garbage was replaced by good wisdom; the rest stands as it was.
  EXPECT_TRUE(IsWisdom(FileBytes(garbage.string())));
  EXPECT_EQ(FileBytes(blocker.string()), "a file where a folder should be");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_empty(folder));
}

// The problems a start transforms, in the child runs below.
void TransformAsAStart() {
  std::mt19937_64 rng(5);
  for (int order = 6; order <= 9; ++order) {
    const auto n = std::size_t{1} << order;
    TArray x(2 * n + 2, 0), y(2 * n + 2, 0), u(2 * n + 2, 1), v(2 * n + 2, 1);
    FillRandom(x.D(), 2 * n, rng);
    nspzFftNip(x.C(), y.C(), order, NSP_Forw);
    nspdRealFftNip(x.D(), y.C(), order, NSP_Forw);
    std::copy(x.D(), x.D() + 2 * n, u.D());
    nspzFftNip(u.C(), v.C(), order, NSP_Forw);  // unaligned
  }
  nspdDct(std::vector<double>(100, 1.0).data(), std::vector<double>(100).data(), 100, 1);
}
constexpr int kStartProblems = 4 * 3 + 1;

// Runs this test in a new process as a start with the given wisdom file, and
// returns its planning counts.
std::optional<TFftPlanningStats> RunAStart(const fs::path& wisdom, const fs::path& report) {
  const std::string command = "ORVEL_FFT_PLANNING_START='" + report.string() + "' ORVEL_FFTW_WISDOM='" +
                              wisdom.string() + "' '" + fs::read_symlink("/proc/self/exe").string() +
                              "' --gtest_filter=FftPlanning.SecondStartPlansNothing >/dev/null";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  std::istringstream in(FileBytes(report.string()));
  TFftPlanningStats stats;
  if (!(in >> stats.QuickPlans >> stats.WisdomPlans >> stats.ReplacedPlans >> stats.HelperRuns >> stats.MeasuredHere))
    return std::nullopt;
  return stats;
}

TEST(FftPlanning, SecondStartPlansNothing) {
  if (const char* report = std::getenv("ORVEL_FFT_PLANNING_START")) {
    // One start: transform, let the measuring finish, report the counts.
    TransformAsAStart();
    WaitForFftPlans();
    const TFftPlanningStats s = FftPlanningStats();
    std::ofstream(report) << s.QuickPlans << ' ' << s.WisdomPlans << ' ' << s.ReplacedPlans << ' ' << s.HelperRuns
                          << ' ' << s.MeasuredHere << '\n';
    return;
  }
  const TTempDir dir;
  const fs::path wisdom = dir.Path() / "fftw-wisdom";
  const auto first = RunAStart(wisdom, dir.Path() / "first");
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->QuickPlans, kStartProblems);
  EXPECT_EQ(first->ReplacedPlans, kStartProblems);
  EXPECT_EQ(first->HelperRuns, 1);
  ASSERT_TRUE(IsWisdom(FileBytes(wisdom.string())));

  const auto second = RunAStart(wisdom, dir.Path() / "second");
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->WisdomPlans, kStartProblems);
  EXPECT_EQ(second->QuickPlans, 0);
  EXPECT_EQ(second->ReplacedPlans, 0);
  EXPECT_EQ(second->HelperRuns, 0);
  EXPECT_EQ(second->MeasuredHere, 0);
}

TEST(FftWisdomFile, DefaultFollowsTheEnvironment) {
  using Env = std::optional<std::string>;
  struct TCase {
    Env Wisdom, Cache, Home;
    std::string Expected;
  };
  const TCase cases[] = {
      {std::nullopt, "/x/cache", "/h", "/x/cache/Orvel/fftw-wisdom"},
      {std::nullopt, "relative/cache", "/h", "/h/.cache/Orvel/fftw-wisdom"},  // not a valid cache folder
      {std::nullopt, std::nullopt, "/h", "/h/.cache/Orvel/fftw-wisdom"},
      {std::nullopt, std::nullopt, std::nullopt, ""},
      {"/w/wisdom", "/x/cache", "/h", "/w/wisdom"},
      {"", "/x/cache", "/h", ""},  // set but empty: no file
  };
  WaitForFftPlans();  // nothing may read the environment while it changes
  for (const TCase& c : cases) {
    const TEnvVar wisdom("ORVEL_FFTW_WISDOM", c.Wisdom);
    const TEnvVar cache("XDG_CACHE_HOME", c.Cache);
    const TEnvVar home("HOME", c.Home);
    EXPECT_EQ(DefaultFftWisdomFile(), c.Expected) << c.Wisdom.value_or("-") << " " << c.Cache.value_or("-") << " "
                                                  << c.Home.value_or("-");
  }
}

TEST(FftwProblem, TextRoundTripsAndRefusesAnythingElse) {
  const TFftwProblem problem{fkRealInverse, 4096, false, 8, 0};
  const auto read = TFftwProblem::FromText(problem.Text());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->Text(), problem.Text());
  EXPECT_EQ(read->Kind, fkRealInverse);
  EXPECT_EQ(read->Length, 4096);
  EXPECT_FALSE(read->InPlace);
  EXPECT_EQ(read->InOffset, 8);
  EXPECT_EQ(read->OutOffset, 0);
  for (const char* bad : {"", "6:8:0:0:0", "-1:8:0:0:0", "0:0:0:0:0", "0:8:2:0:0", "0:8:0:64:0", "0:8:1:0:8",
                          "0:8:0:0", "0:8:0:0:0:0", "0:8:0:0:0x", "a:8:0:0:0", "0:8 :0:0:0"})
    EXPECT_FALSE(TFftwProblem::FromText(bad).has_value()) << bad;
}

// The helper takes idle priority before anything else, so that a caller
// pinned to the core it inherits keeps that core while it measures
// (bench/fft_helper_priority_bench.cpp gives the caller's speed meanwhile).
// Given nothing it can measure it ends at once; its policy is read while it
// waits to be reaped.
TEST(FftwPlanner, TakesOnlySpareTime) {
  const std::string helper = FftwPlannerProgram();
  ASSERT_FALSE(helper.empty());
  std::string name = "orvel_fftw_planner", parent = std::to_string(::getpid()), problem = "not a problem";
  char* argv[] = {name.data(), parent.data(), problem.data(), nullptr};
  posix_spawn_file_actions_t actions;
  ASSERT_EQ(posix_spawn_file_actions_init(&actions), 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, helper.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ASSERT_EQ(spawned, 0);
  siginfo_t ended{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT), 0);
  const int policy = ::sched_getscheduler(child);
  errno = 0;
  const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(child));
  const int niceError = errno;
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
  // Idle where the system has that policy, else the lowest priority.
  EXPECT_TRUE(policy == SCHED_IDLE || (policy == SCHED_OTHER && niceError == 0 && nice == 19))
      << "policy " << policy << ", nice " << nice;
}

TEST(FftwPlanner, RefusesWhatItIsNotMeantFor) {
  const std::string helper = FftwPlannerProgram();
  ASSERT_FALSE(helper.empty());
  const auto exitCode = [&](const std::string& arguments) {
    const int status = std::system(("'" + helper + "' " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  // Told of a parent it does not have: it does not start measuring.
  EXPECT_EQ(exitCode("0 0:8:0:0:0"), 1);
  EXPECT_EQ(exitCode(""), 2);
}

}  // namespace
}  // namespace spl
