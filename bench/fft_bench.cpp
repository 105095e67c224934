// Forward Fourier transforms through the project's API (TVec.FFT of a complex
// and of a real vector, out of place) against bare FFTW: plans made with
// FFTW_MEASURE and no time limit on arrays from fftw_malloc. Each side runs in
// a process of its own, pinned to one core, twice; the table gives the best of
// the two medians per size (each a median of 31 repetitions after warm-up).
// Each run plans afresh. It also gives how long the API's first call of each
// size waits for its plan: with no wisdom, on a second start with the wisdom
// the first run left, and for new sizes while the helper measures.
//
//   fft_bench [--cpu=N] [--runs=R]
//       --cpu=N   the core to measure on: by default the last one this
//                 process may use, which should be otherwise idle; -1 for any
//       --runs=R  runs of each side (default 2)
//   fft_bench --side=api|peer [--cpu=N] [--wisdom=FILE] [--first-calls-only]
//       one side, its figures on standard output (what the above runs)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <fftw3.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "RunReporter.h"
#include "numeric/Numora.h"
#include "platform/spl/FftPlanning.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using numeric::TVec;
using TClock = std::chrono::steady_clock;

constexpr int kRepetitions = 31;
const int kSizes[] = {1024, 4096, 16384, 65536, 1 << 18, 1 << 20};

struct TCase {
  bool Complex;
  int N;
  std::string Key() const { return std::string(Complex ? "complex" : "real") + " " + std::to_string(N); }
};

std::vector<TCase> Cases() {
  std::vector<TCase> cases;
  for (bool complex : {true, false})
    for (int n : kSizes) cases.push_back({complex, n});
  return cases;
}

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

void FillRandom(double* p, std::size_t count) {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(-1, 1);
  for (std::size_t i = 0; i < count; ++i) p[i] = u(rng);
}

// Pins this thread, and threads and processes it starts later, to the core.
bool PinTo(int cpu) {
  if (cpu < 0) return true;
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  return sched_setaffinity(0, sizeof set, &set) == 0;
}

// Lets this thread run anywhere but on the core.
bool AvoidCpu(int cpu) {
  cpu_set_t set;
  if (cpu < 0 || sched_getaffinity(0, sizeof set, &set) != 0) return cpu < 0;
  for (int other = 0; other < CPU_SETSIZE; ++other) {
    if (other != cpu) CPU_SET(other, &set);
  }
  CPU_CLR(cpu, &set);
  return sched_setaffinity(0, sizeof set, &set) == 0;
}

int LastAllowedCpu() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) != 0) return -1;
  for (int cpu = CPU_SETSIZE - 1; cpu >= 0; --cpu)
    if (CPU_ISSET(cpu, &set)) return cpu;
  return -1;
}

// Times each registered transform: kRepetitions repetitions of at least 20 ms
// after warm-up, and prints "time <kind> <n> <median seconds>" for each.
void TimeAndPrint(const std::vector<TCase>& cases, const std::vector<std::function<void()>>& transforms) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::function<void()>& transform = transforms[i];
    benchmark::RegisterBenchmark(cases[i].Key().c_str(),
                                 [&transform](benchmark::State& state) {
                                   for (auto _ : state) transform();
                                 })
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->MinWarmUpTime(0.1)
        ->MinTime(0.02);
  }
  orvel_bench::TRunReporter reporter;
  std::ostringstream quiet;  // the parent prints the table
  reporter.SetOutputStream(&quiet);
  reporter.SetErrorStream(&quiet);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The names carry the settings ("complex 1024/min_time:0.020/repeats:31").
  for (const TCase& c : cases) {
    const auto it = reporter.Times.lower_bound(c.Key() + "/");
    const bool found = it != reporter.Times.end() && it->first.rfind(c.Key() + "/", 0) == 0;
    std::printf("time %s %.9e\n", c.Key().c_str(), found ? it->second * 1e-9 : std::nan(""));
  }
}

// ---------------------------------------------------------------------------
// The API side.

struct TApiCase {
  TVec X, Y, Z;
};

// Everything runs on the pinned core, the planner thread and the helper it
// starts too, so that the helper measures where bare FFTW does; only the first
// calls made while the helper measures run elsewhere, as they would beside a
// helper busy on another core.
int ApiSide(const std::string& wisdom, int cpu, bool firstCallsOnly) {
  if (!PinTo(cpu)) return 1;
  spl::SetFftWisdomFile(wisdom);
  numeric::InitNumora();
  const std::vector<TCase> cases = Cases();
  std::vector<std::unique_ptr<TApiCase>> data;
  for (const TCase& c : cases) {
    auto d = std::make_unique<TApiCase>();
    d->X.Size(c.N, c.Complex);
    FillRandom(d->X.Values(), static_cast<std::size_t>(d->X.DoubleLength()));
    data.push_back(std::move(d));
  }
  // First calls, one after another, as a program makes them.
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const spl::TFftPlanningStats before = spl::FftPlanningStats();
    const TClock::time_point start = TClock::now();
    data[i]->Y.FFT(data[i]->X);
    const double call = Seconds(TClock::now() - start);
    std::printf("first %s %.9e %.9e\n", cases[i].Key().c_str(), call,
                spl::FftPlanningStats().TotalWait - before.TotalWait);
  }
  const spl::TFftPlanningStats first = spl::FftPlanningStats();
  std::printf("plans first - %lld %lld\n", static_cast<long long>(first.QuickPlans),
              static_cast<long long>(first.WisdomPlans));
  if (firstCallsOnly) return 0;
  // First calls of the inverses while the helper measures the plans above.
  std::thread busy([&] {
    if (!AvoidCpu(cpu)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const spl::TFftPlanningStats before = spl::FftPlanningStats();
      if (cases[i].Complex)
        data[i]->Z.IFFT(data[i]->Y);
      else
        data[i]->Z.IFFTToReal(data[i]->Y);
      std::printf("busy %s %.9e\n", cases[i].Key().c_str(), spl::FftPlanningStats().TotalWait - before.TotalWait);
    }
  });
  spl::WaitForFftPlans();
  busy.join();
  spl::WaitForFftPlans();  // the inverses' plans too, so that nothing measures while timing
  const spl::TFftPlanningStats stats = spl::FftPlanningStats();
  std::printf("plans all - %lld %lld %lld %lld %lld\n", static_cast<long long>(stats.QuickPlans),
              static_cast<long long>(stats.WisdomPlans), static_cast<long long>(stats.ReplacedPlans),
              static_cast<long long>(stats.HelperRuns), static_cast<long long>(stats.MeasuredHere));

  std::vector<std::function<void()>> transforms;
  for (auto& d : data)
    transforms.push_back([p = d.get()] {
      p->Y.FFT(p->X);
      benchmark::DoNotOptimize(p->Y.Values());
    });
  TimeAndPrint(cases, transforms);
  numeric::DoneNumora();
  return 0;
}

// ---------------------------------------------------------------------------
// The peer: bare FFTW.

struct TPeerCase {
  double* In = nullptr;
  fftw_complex* Out = nullptr;
  fftw_plan Plan = nullptr;
};

int PeerSide(int cpu) {
  if (!PinTo(cpu)) return 1;
  fftw_set_timelimit(FFTW_NO_TIMELIMIT);
  const std::vector<TCase> cases = Cases();
  std::vector<TPeerCase> data(cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto n = static_cast<std::size_t>(cases[i].N);
    TPeerCase& d = data[i];
    d.In = fftw_alloc_real(cases[i].Complex ? 2 * n : n);
    d.Out = fftw_alloc_complex(cases[i].Complex ? n : n / 2 + 1);
    d.Plan = cases[i].Complex ? fftw_plan_dft_1d(cases[i].N, reinterpret_cast<fftw_complex*>(d.In), d.Out,
                                                 FFTW_FORWARD, FFTW_MEASURE)
                              : fftw_plan_dft_r2c_1d(cases[i].N, d.In, d.Out, FFTW_MEASURE);
    FillRandom(d.In, cases[i].Complex ? 2 * n : n);  // planning overwrote it
  }
  std::vector<std::function<void()>> transforms;
  for (TPeerCase& d : data)
    transforms.push_back([p = &d] {
      fftw_execute(p->Plan);
      benchmark::DoNotOptimize(p->Out);
    });
  TimeAndPrint(cases, transforms);
  for (TPeerCase& d : data) {
    fftw_destroy_plan(d.Plan);
    fftw_free(d.In);
    fftw_free(d.Out);
  }
  return 0;
}

// ---------------------------------------------------------------------------
// The parent: runs the sides and prints the tables.

// Figures by "<what> <kind> <n>" from one side's output.
using TFigures = std::map<std::string, std::vector<double>>;

// Runs this program with the arguments and reads what it prints; nothing when
// it fails.
std::optional<TFigures> RunSide(const std::vector<std::string>& arguments) {
  std::vector<std::string> args{"fft_bench"};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t n; spawned == 0 && (n = read(ends[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<std::size_t>(n));
  close(ends[0]);
  int status = 0;
  if (spawned != 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  TFigures figures;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::string what, kind, n;
    in >> what >> kind >> n;
    for (double v; in >> v;) figures[what + " " + kind + " " + n].push_back(v);
  }
  return figures;
}

double Figure(const TFigures& f, const std::string& key, std::size_t i = 0) {
  const auto it = f.find(key);
  return it == f.end() || it->second.size() <= i ? std::numeric_limits<double>::quiet_NaN() : it->second[i];
}

int Parent(int cpu, int runs) {
  const fs::path dir = fs::temp_directory_path() / ("orvel-fft-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string pin = "--cpu=" + std::to_string(cpu);
  const auto wisdomOf = [&dir](int run) { return "--wisdom=" + (dir / ("fftw-wisdom-" + std::to_string(run))).string(); };
  // Each run of each side plans afresh, so that both have the same chances
  // of a good plan; then a second start of the first run shows what wisdom
  // saves.
  std::vector<TFigures> api, peer;
  std::optional<TFigures> second;
  for (int run = 0; run < runs; ++run) {
    std::fprintf(stderr, "run %d of %d: the API (planning and measuring)...\n", run + 1, runs);
    auto a = RunSide({"--side=api", pin, wisdomOf(run)});
    std::fprintf(stderr, "run %d of %d: bare FFTW (planning and measuring)...\n", run + 1, runs);
    auto p = RunSide({"--side=peer", pin});
    if (!a || !p) break;
    api.push_back(*a);
    peer.push_back(*p);
  }
  if (static_cast<int>(api.size()) == runs) second = RunSide({"--side=api", pin, wisdomOf(0), "--first-calls-only"});
  fs::remove_all(dir);
  if (!second) {
    std::fprintf(stderr, "fft_bench: a side failed\n");
    return 1;
  }

  const auto best = [](const std::vector<TFigures>& side, const std::string& key) {
    double b = std::numeric_limits<double>::infinity();
    for (const TFigures& f : side) b = std::min(b, Figure(f, "time " + key));
    return b;
  };
  std::printf("\nForward FFT, median time per transform, best of %d runs, each side in its own process%s\n", runs,
              cpu >= 0 ? (" on CPU " + std::to_string(cpu)).c_str() : "");
  std::printf("%-8s %9s %12s %12s %10s\n", "", "points", "TVec us", "FFTW us", "TVec/FFTW");
  double worst = 0;
  for (const TCase& c : Cases()) {
    const double ours = best(api, c.Key()), theirs = best(peer, c.Key());
    worst = std::max(worst, ours / theirs);
    std::printf("%-8s %9d %12.3f %12.3f %10.3f\n", c.Complex ? "complex" : "real", c.N, ours * 1e6, theirs * 1e6,
                ours / theirs);
  }
  std::printf("largest ratio %.3f\n", worst);

  std::printf("\nFirst call of a new size: the whole call, ms (of it waiting for the plan)\n");
  std::printf("%-8s %9s %22s %22s %18s\n", "", "points", "no wisdom", "second start", "while measuring");
  double longest[3] = {0, 0, 0};
  for (const TCase& c : Cases()) {
    std::printf("%-8s %9d", c.Complex ? "complex" : "real", c.N);
    for (const TFigures* f : {&api[0], &*second}) {
      const double call = Figure(*f, "first " + c.Key(), 0), wait = Figure(*f, "first " + c.Key(), 1);
      longest[f == &api[0] ? 0 : 1] = std::max(longest[f == &api[0] ? 0 : 1], wait);
      std::printf(" %12.3f (%7.3f)", call * 1e3, wait * 1e3);
    }
    const double busy = Figure(api[0], "busy " + c.Key());
    longest[2] = std::max(longest[2], busy);
    std::printf(" %18.3f\n", busy * 1e3);
  }
  std::printf("longest wait for a plan: %.3f ms with no wisdom, %.3f ms on the second start, %.3f ms while measuring\n",
              longest[0] * 1e3, longest[1] * 1e3, longest[2] * 1e3);
  std::printf("\nPlans of the API's runs: first calls quick/from wisdom; in all quick/from wisdom/replaced, helper runs, measured in-process\n");
  for (std::size_t run = 0; run < api.size(); ++run) {
    std::printf("  run %zu: %g/%g; %g/%g/%g, %g, %g\n", run + 1, Figure(api[run], "plans first -"),
                Figure(api[run], "plans first -", 1), Figure(api[run], "plans all -"), Figure(api[run], "plans all -", 1),
                Figure(api[run], "plans all -", 2), Figure(api[run], "plans all -", 3), Figure(api[run], "plans all -", 4));
  }
  std::printf("  second start: %g/%g\n", Figure(*second, "plans first -"), Figure(*second, "plans first -", 1));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string side, wisdom;
  bool firstCallsOnly = false;
  int cpu = LastAllowedCpu();
  int runs = 2;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--side=", 0) == 0)
      side = a.substr(7);
    else if (a.rfind("--wisdom=", 0) == 0)
      wisdom = a.substr(9);
    else if (a.rfind("--cpu=", 0) == 0)
      cpu = std::atoi(a.c_str() + 6);
    else if (a == "--first-calls-only")
      firstCallsOnly = true;
    else if (a.rfind("--runs=", 0) == 0)
      runs = std::max(1, std::atoi(a.c_str() + 7));
    else {
      std::fprintf(stderr, "usage: fft_bench [--cpu=N] [--runs=R]\n");
      return 2;
    }
  }
  if (side.empty()) return Parent(cpu, runs);
  if (side != "api" && side != "peer") {
    std::fprintf(stderr, "fft_bench: no side %s\n", side.c_str());
    return 2;
  }
  int benchArgc = 1;
  benchmark::Initialize(&benchArgc, argv);
  return side == "api" ? ApiSide(wisdom, cpu, firstCallsOnly) : PeerSide(cpu);
}
