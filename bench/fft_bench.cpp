// Forward Fourier transforms through the project's API (TVec.FFT of a complex
// and of a real vector, out of place) against bare FFTW: plans made with
// FFTW_MEASURE and no time limit on arrays from fftw_malloc. Each side is a
// process of its own, pinned to one core, that plans and then times on
// request; the two take turns batch by batch, so that whatever else the
// machine does falls on both alike. Per size: the median of 31 batches of at
// least 20 ms (each after a warm-up) per side, and of two runs with fresh
// processes, that plan afresh, the better median.
//
// It also gives how long the API's first call of each size waits for its
// plan: with no wisdom, on a second start with the wisdom the first run left,
// and for new sizes while the helper measures.
//
//   fft_bench [--cpu=N] [--runs=R]
//       --cpu=N   the core to measure on: by default the last one this
//                 process may use, which should be otherwise idle; -1 for any
//       --runs=R  runs (default 2)
//   fft_bench --side=api|peer [--cpu=N] [--wisdom=FILE] [--first-calls-only]
//       one side (what the above starts): prints its planning figures, then
//       "ready", then answers "time <case>" with seconds per transform
#include <fcntl.h>
#include <fftw3.h>
#include <sched.h>
#include <signal.h>
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
#include <iostream>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CpuPinning.h"
#include "numeric/Numora.h"
#include "platform/spl/FftPlanning.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using orvel_bench::AvoidCpu;
using orvel_bench::LastAllowedCpu;
using orvel_bench::PinTo;
using numeric::TVec;
using TClock = std::chrono::steady_clock;

constexpr int kSamples = 31;
constexpr double kBatchSeconds = 0.02;
constexpr double kWarmUpSeconds = 0.002;
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

// ---------------------------------------------------------------------------
// A side: after its planning, answers "time <case>" with the seconds per
// transform of one batch, until "quit".

int Serve(const std::vector<std::function<void()>>& transforms) {
  std::printf("ready\n");
  std::vector<long> batch(transforms.size(), 0);
  for (std::string line; std::getline(std::cin, line) && line != "quit";) {
    std::size_t i = 0;
    if (std::sscanf(line.c_str(), "time %zu", &i) != 1 || i >= transforms.size()) return 2;
    const std::function<void()>& transform = transforms[i];
    // The other side has just had the core and its caches.
    long warm = 0;
    const TClock::time_point warmStart = TClock::now();
    do {
      transform();
      ++warm;
    } while (warm < 2 || Seconds(TClock::now() - warmStart) < kWarmUpSeconds);
    if (batch[i] == 0) {
      const double each = Seconds(TClock::now() - warmStart) / static_cast<double>(warm);
      batch[i] = std::max(1L, static_cast<long>(std::ceil(kBatchSeconds / each)));
    }
    const TClock::time_point start = TClock::now();
    for (long k = 0; k < batch[i]; ++k) transform();
    std::printf("%.9e\n", Seconds(TClock::now() - start) / static_cast<double>(batch[i]));
  }
  return 0;
}

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
  for (auto& d : data) transforms.push_back([p = d.get()] { p->Y.FFT(p->X); });
  const int served = Serve(transforms);
  numeric::DoneNumora();
  return served;
}

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
  for (TPeerCase& d : data) transforms.push_back([p = &d] { fftw_execute(p->Plan); });
  const int served = Serve(transforms);
  for (TPeerCase& d : data) {
    fftw_destroy_plan(d.Plan);
    fftw_free(d.In);
    fftw_free(d.Out);
  }
  return served;
}

// ---------------------------------------------------------------------------
// The parent: starts the sides, has them take turns, prints the tables.

// Figures by "<what> <kind> <n>" from a side's planning lines.
using TFigures = std::map<std::string, std::vector<double>>;

void AddFigures(TFigures& figures, const std::string& line) {
  std::istringstream in(line);
  std::string what, kind, n;
  in >> what >> kind >> n;
  for (double v; in >> v;) figures[what + " " + kind + " " + n].push_back(v);
}

double Figure(const TFigures& f, const std::string& key, std::size_t i = 0) {
  const auto it = f.find(key);
  return it == f.end() || it->second.size() <= i ? std::numeric_limits<double>::quiet_NaN() : it->second[i];
}

// This program started as one side, talked to through its standard input and
// output.
class TSide {
 public:
  explicit TSide(const std::vector<std::string>& arguments) {
    std::vector<std::string> args{"fft_bench"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) return;
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
      close(toChild[0]);
      close(toChild[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    const bool spawned = posix_spawn(&FPid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (!spawned) {
      FPid = -1;
      close(toChild[1]);
      close(fromChild[0]);
      return;
    }
    FTo = fdopen(toChild[1], "w");
    FFrom = fdopen(fromChild[0], "r");
  }
  ~TSide() {
    if (FTo != nullptr) {
      std::fputs("quit\n", FTo);
      std::fclose(FTo);
    }
    if (FFrom != nullptr) std::fclose(FFrom);
    if (FPid > 0) waitpid(FPid, nullptr, 0);
  }
  TSide(const TSide&) = delete;
  TSide& operator=(const TSide&) = delete;

  // Its next line; nothing when it has ended.
  std::optional<std::string> Line() {
    if (FFrom == nullptr) return std::nullopt;
    std::string line;
    for (int c; (c = std::fgetc(FFrom)) != EOF;) {
      if (c == '\n') return line;
      line.push_back(static_cast<char>(c));
    }
    return line.empty() ? std::nullopt : std::optional<std::string>(line);
  }

  // Its planning figures, up to "ready" (or its end); false when it failed.
  bool ReadFigures(TFigures& figures, bool untilEnd = false) {
    for (std::optional<std::string> line; (line = Line());) {
      if (*line == "ready") return !untilEnd;
      AddFigures(figures, *line);
    }
    return untilEnd;
  }

  // Seconds per transform of one batch of the case; NaN when it failed.
  double Time(std::size_t index) {
    if (FTo == nullptr || std::fprintf(FTo, "time %zu\n", index) < 0 || std::fflush(FTo) != 0)
      return std::nan("");
    const std::optional<std::string> line = Line();
    return line ? std::strtod(line->c_str(), nullptr) : std::nan("");
  }

 private:
  pid_t FPid = -1;
  FILE* FTo = nullptr;
  FILE* FFrom = nullptr;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? std::nan("") : v[v.size() / 2];
}

int Parent(int cpu, int runs) {
  signal(SIGPIPE, SIG_IGN);  // a side that dies shows as a failed read
  const fs::path dir = fs::temp_directory_path() / ("orvel-fft-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string pin = "--cpu=" + std::to_string(cpu);
  const auto wisdomOf = [&dir](int run) { return "--wisdom=" + (dir / ("fftw-wisdom-" + std::to_string(run))).string(); };
  const std::vector<TCase> cases = Cases();
  std::vector<TFigures> api(static_cast<std::size_t>(runs));
  std::vector<std::vector<double>> ours(cases.size()), theirs(cases.size());  // medians by run
  TFigures second;
  bool ok = true;
  for (int run = 0; run < runs && ok; ++run) {
    std::fprintf(stderr, "run %d of %d: the API plans...\n", run + 1, runs);
    TSide a({"--side=api", pin, wisdomOf(run)});
    ok = a.ReadFigures(api[static_cast<std::size_t>(run)]);
    std::fprintf(stderr, "run %d of %d: bare FFTW plans...\n", run + 1, runs);
    TSide p({"--side=peer", pin});
    TFigures none;
    ok = ok && p.ReadFigures(none);
    std::fprintf(stderr, "run %d of %d: timing, the two in turn...\n", run + 1, runs);
    for (std::size_t i = 0; i < cases.size() && ok; ++i) {
      std::vector<double> mine, peer;
      for (int s = 0; s < kSamples; ++s) {
        // Each goes first in every other turn.
        if (s % 2 == 0) mine.push_back(a.Time(i));
        peer.push_back(p.Time(i));
        if (s % 2 == 1) mine.push_back(a.Time(i));
      }
      ours[i].push_back(Median(mine));
      theirs[i].push_back(Median(peer));
      ok = !std::isnan(ours[i].back()) && !std::isnan(theirs[i].back());
    }
  }
  if (ok) {
    std::fprintf(stderr, "a second start of run 1...\n");
    TSide again({"--side=api", pin, wisdomOf(0), "--first-calls-only"});
    ok = again.ReadFigures(second, true);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  if (!ok) {
    std::fprintf(stderr, "fft_bench: a side failed\n");
    return 1;
  }

  std::printf("\nForward FFT, median time per transform, better of %d runs, the two sides in turn%s\n", runs,
              cpu >= 0 ? (" on CPU " + std::to_string(cpu)).c_str() : "");
  std::printf("%-8s %9s %12s %12s %10s\n", "", "points", "TVec us", "FFTW us", "TVec/FFTW");
  double worst = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const double mine = *std::min_element(ours[i].begin(), ours[i].end());
    const double peer = *std::min_element(theirs[i].begin(), theirs[i].end());
    worst = std::max(worst, mine / peer);
    std::printf("%-8s %9d %12.3f %12.3f %10.3f\n", cases[i].Complex ? "complex" : "real", cases[i].N, mine * 1e6,
                peer * 1e6, mine / peer);
  }
  std::printf("largest ratio %.3f\n", worst);

  std::printf("\nFirst call of a new size: the whole call, ms (of it waiting for the plan)\n");
  std::printf("%-8s %9s %22s %22s %18s\n", "", "points", "no wisdom", "second start", "while measuring");
  double longest[3] = {0, 0, 0};
  for (const TCase& c : cases) {
    std::printf("%-8s %9d", c.Complex ? "complex" : "real", c.N);
    const TFigures* starts[] = {&api[0], &second};
    for (int k = 0; k < 2; ++k) {
      const double call = Figure(*starts[k], "first " + c.Key(), 0), wait = Figure(*starts[k], "first " + c.Key(), 1);
      longest[k] = std::max(longest[k], wait);
      std::printf(" %12.3f (%7.3f)", call * 1e3, wait * 1e3);
    }
    const double busy = Figure(api[0], "busy " + c.Key());
    longest[2] = std::max(longest[2], busy);
    std::printf(" %18.3f\n", busy * 1e3);
  }
  std::printf("longest wait for a plan: %.3f ms with no wisdom, %.3f ms on the second start, %.3f ms while measuring\n",
              longest[0] * 1e3, longest[1] * 1e3, longest[2] * 1e3);

  std::printf("\nPlans of the API: first calls quick/from wisdom; in all quick/from wisdom/replaced, helper runs, "
              "measured in-process\n");
  for (std::size_t run = 0; run < api.size(); ++run) {
    const TFigures& f = api[run];
    std::printf("  run %zu: %g/%g; %g/%g/%g, %g, %g\n", run + 1, Figure(f, "plans first -"),
                Figure(f, "plans first -", 1), Figure(f, "plans all -"), Figure(f, "plans all -", 1),
                Figure(f, "plans all -", 2), Figure(f, "plans all -", 3), Figure(f, "plans all -", 4));
  }
  std::printf("  second start: %g/%g\n", Figure(second, "plans first -"), Figure(second, "plans first -", 1));
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
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // the parent reads line by line
  if (side == "api") return ApiSide(wisdom, cpu, firstCallsOnly);
  if (side == "peer") return PeerSide(cpu);
  std::fprintf(stderr, "fft_bench: no side %s\n", side.c_str());
  return 2;
}
