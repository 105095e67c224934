// Times the signal file reader and writer against their peers in one run:
// - a 10-minute stereo 16-bit WAV at 44.1 kHz read in frames of 8192 samples a channel,
//   against sox decoding it and libsndfile reading it (doubles in integer units);
// - the same 10 minutes in IMA ADPCM (sox's default blocks), against the same peers;
// - 10^7 samples of a .dbn record in frames of 65536, against numpy.fromfile;
// - 10^4 and 10^5 records of 16 samples, each selected and read once (the time per record
//   must not grow with the count);
// - 10^6 values written and read as .sfs and as .asc, against numpy.savetxt and loadtxt;
// - 10 minutes of stereo 16-bit WAV written in blocks of 4096 frames, against sox writing
//   10 minutes of silence.
// sox makes the WAV files; numpy's times come from signal_files_peers.py. The files live in
// a temporary folder removed at the end.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "RunReporter.h"
#include "signal/SignalFiles.h"
#include "signal/SignalInit.h"

namespace {

constexpr double kSeconds = 600.0;
constexpr int kRate = 44100;
constexpr std::int64_t kFrames = static_cast<std::int64_t>(kSeconds) * kRate;
constexpr std::int32_t kDbnSamples = 10000000;
constexpr std::int32_t kTextValues = 1000000;

std::filesystem::path& Folder() {
  static std::filesystem::path folder;
  return folder;
}

std::string Path(const std::string& Name) { return (Folder() / Name).string(); }

void Run(const std::string& Command) {
  if (std::system(Command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", Command.c_str());
    std::exit(1);
  }
}

// The seconds that signal_files_peers.py prints.
double Peer(const std::string& Arguments) {
  const std::string command = std::string(ORVEL_PYTHON) + " '" + ORVEL_BENCH_DIR + "/signal_files_peers.py' " + Arguments;
  FILE* pipe = popen(command.c_str(), "r");
  double seconds = std::nan("");
  if (pipe == nullptr || std::fscanf(pipe, "%lf", &seconds) != 1) std::fprintf(stderr, "failed: %s\n", command.c_str());
  if (pipe != nullptr) pclose(pipe);
  return seconds;
}

void PutRaw(std::FILE* f, const void* p, std::size_t n) {
  if (std::fwrite(p, 1, n, f) != n) std::exit(1);
}

void MakeFiles() {
  Run("sox -n -r 44100 -c 2 -b 16 '" + Path("pcm.wav") + "' synth 600 sine 440 sine 1234 vol 0.8");
  Run("sox '" + Path("pcm.wav") + "' -e ima-adpcm '" + Path("ima.wav") + "'");
  std::FILE* f = std::fopen(Path("big.dbn").c_str(), "wb");
  const double duration = kDbnSamples / 1000.0;
  PutRaw(f, &kDbnSamples, 4);
  PutRaw(f, &duration, 8);
  std::vector<double> block(1 << 16);
  for (std::int32_t done = 0; done < kDbnSamples;) {
    const auto n = static_cast<std::int32_t>(std::min<std::size_t>(block.size(), kDbnSamples - done));
    for (std::int32_t i = 0; i < n; ++i) block[static_cast<std::size_t>(i)] = std::sin((done + i) * 0.001);
    PutRaw(f, block.data(), static_cast<std::size_t>(n) * 8);
    done += n;
  }
  std::fclose(f);
  for (const int records : {10000, 100000}) {
    std::FILE* g = std::fopen(Path("short" + std::to_string(records) + ".dbn").c_str(), "wb");
    const std::int32_t count = 16;
    const double seconds = 0.016;
    for (int r = 0; r < records; ++r) {
      PutRaw(g, &count, 4);
      PutRaw(g, &seconds, 8);
      for (int i = 0; i < count; ++i) {
        const double v = r + i;
        PutRaw(g, &v, 8);
      }
    }
    std::fclose(g);
  }
}

// Reads every frame of the file to its end; the samples read.
std::int64_t ReadToEnd(const std::string& File, std::int32_t Length, bool ForceLength) {
  sig::TSignalRead r;
  r.SetFileName(File);
  r.SetForceLength(ForceLength);
  r.SetLength(Length);
  std::int64_t samples = 0;
  while (r.Pull() != 2) samples += r.Length();
  return samples;
}

void BM_ReadWavPcm16(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadToEnd(Path("pcm.wav"), 2 * 8192, true));
}

void BM_ReadWavIma(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadToEnd(Path("ima.wav"), 2 * 8192, false));
}

void SndfileRead(benchmark::State& state, const std::string& File) {
  std::vector<double> frame(2 * 8192);
  for (auto _ : state) {
    SF_INFO info{};
    SNDFILE* f = sf_open(File.c_str(), SFM_READ, &info);
    sf_command(f, SFC_SET_NORM_DOUBLE, nullptr, SF_FALSE);
    while (sf_readf_double(f, frame.data(), 8192) > 0) benchmark::DoNotOptimize(frame.data());
    sf_close(f);
  }
}

void BM_SndfileReadPcm16(benchmark::State& state) { SndfileRead(state, Path("pcm.wav")); }
void BM_SndfileReadIma(benchmark::State& state) { SndfileRead(state, Path("ima.wav")); }

void BM_SoxDecodePcm16(benchmark::State& state) {
  for (auto _ : state) Run("sox '" + Path("pcm.wav") + "' -t raw /dev/null");
}

void BM_SoxDecodeIma(benchmark::State& state) {
  for (auto _ : state) Run("sox '" + Path("ima.wav") + "' -t raw /dev/null");
}

void BM_ReadDbn(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadToEnd(Path("big.dbn"), 65536, true));
  state.SetItemsProcessed(state.iterations() * kDbnSamples);
}

void BM_NumpyFromfile(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(Peer("fromfile '" + Path("big.dbn") + "'"));
}

void BM_ReadShortRecords(benchmark::State& state) {
  const std::string file = Path("short" + std::to_string(state.range(0)) + ".dbn");
  for (auto _ : state) {
    sig::TSignalRead r;
    r.SetFileName(file);
    r.SetLength(16);
    r.OpenFile();
    for (std::int32_t rec = 0; rec < r.NumberOfRecords(); ++rec) {
      r.SetRecordNumber(rec);
      benchmark::DoNotOptimize(r.Data().Values()[15]);
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// 10^6 values as one signal fed to the writer in blocks of 65536.
void WriteText(const std::string& File) {
  sig::TSignal source;
  sig::TSignalWrite w;
  w.SetInput(&source);
  w.SetFileName(File);
  source.SetSamplingFrequency(1000.0);
  for (std::int32_t done = 0; done < kTextValues;) {
    const std::int32_t n = std::min(65536, kTextValues - done);
    source.SetLength(n);
    double* v = source.Data().Values();
    for (std::int32_t i = 0; i < n; ++i) v[i] = std::sin((done + i) * 0.001) * 1000;
    w.Pull();
    done += n;
  }
  w.CloseFile();
}

void BM_WriteSfs(benchmark::State& state) {
  for (auto _ : state) WriteText(Path("values.sfs"));
}
void BM_WriteAsc(benchmark::State& state) {
  for (auto _ : state) WriteText(Path("values.asc"));
}

void ReadText(benchmark::State& state, const std::string& File) {
  for (auto _ : state) {
    sig::TSignalRead r;
    r.SetFileName(File);
    r.OpenFile();
    benchmark::DoNotOptimize(r.RecordLength());
  }
}

void BM_ReadSfs(benchmark::State& state) { ReadText(state, Path("values.sfs")); }
void BM_ReadAsc(benchmark::State& state) { ReadText(state, Path("values.asc")); }

void BM_NumpySavetxt(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(Peer("savetxt '" + Path("numpy.txt") + "' " + std::to_string(kTextValues)));
}

void BM_NumpyLoadtxt(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(Peer("loadtxt '" + Path("numpy.txt") + "'"));
}

void BM_WriteWavPcm16(benchmark::State& state) {
  for (auto _ : state) {
    sig::TSignal source;
    sig::TSignalWrite w;
    w.SetInput(&source);
    w.SetFileName(Path("written.wav"));
    w.SetPrecision(numeric::prSmallInt);
    source.SetChannelCount(2);
    source.SetLength(2 * 4096);
    source.SetSamplingFrequency(kRate);
    double* v = source.Data().Values();
    for (int i = 0; i < 2 * 4096; ++i) v[i] = std::round(20000 * std::sin(i * 0.01));
    for (std::int64_t done = 0; done < kFrames; done += 4096) w.Pull();
    w.CloseFile();
  }
}

void BM_SoxWriteWav(benchmark::State& state) {
  for (auto _ : state) Run("sox -n -r 44100 -c 2 -b 16 '" + Path("sox.wav") + "' trim 0 600");
}

BENCHMARK(BM_ReadWavPcm16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SndfileReadPcm16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SoxDecodePcm16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReadWavIma)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SndfileReadIma)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SoxDecodeIma)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReadDbn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NumpyFromfile)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_ReadShortRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_WriteSfs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReadSfs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_WriteAsc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ReadAsc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_NumpySavetxt)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_NumpyLoadtxt)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_WriteWavPcm16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_SoxWriteWav)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The time of the run whose name starts with Prefix ("BM_ReadDbn" matches
// "BM_ReadDbn/iterations:3/real_time"), in milliseconds.
double Time(const orvel_bench::TRunReporter& Reporter, const std::string& Prefix) {
  for (const auto& [name, time] : Reporter.Times)
    if (name.compare(0, Prefix.size(), Prefix) == 0 && (name.size() == Prefix.size() || name[Prefix.size()] == '/'))
      return time;
  return std::nan("");
}

}  // namespace

int main(int argc, char** argv) {
  sig::InitSignal();
  Folder() = std::filesystem::temp_directory_path() / ("orvel-signal-files-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(Folder());
  MakeFiles();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto t = [&](const std::string& name) { return Time(reporter, name); };
  std::printf("\ntimes against the peers (ratio = Orvel / peer; below 1 is faster)\n");
  std::printf("  WAV 16-bit stereo, 10 min:  %8.1f ms = %6.0fx real time; libsndfile %8.1f ms (ratio %.2f), sox %8.1f ms (ratio %.2f)\n",
              t("BM_ReadWavPcm16"), kSeconds * 1000 / t("BM_ReadWavPcm16"), t("BM_SndfileReadPcm16"),
              t("BM_ReadWavPcm16") / t("BM_SndfileReadPcm16"), t("BM_SoxDecodePcm16"),
              t("BM_ReadWavPcm16") / t("BM_SoxDecodePcm16"));
  std::printf("  WAV IMA ADPCM stereo, 10 min: %8.1f ms = %6.0fx real time; libsndfile %8.1f ms (ratio %.2f), sox %8.1f ms (ratio %.2f)\n",
              t("BM_ReadWavIma"), kSeconds * 1000 / t("BM_ReadWavIma"), t("BM_SndfileReadIma"),
              t("BM_ReadWavIma") / t("BM_SndfileReadIma"), t("BM_SoxDecodeIma"),
              t("BM_ReadWavIma") / t("BM_SoxDecodeIma"));
  std::printf("  .dbn 10^7 samples:          %8.1f ms; numpy.fromfile %8.1f ms (ratio %.2f)\n", t("BM_ReadDbn"),
              t("BM_NumpyFromfile"), t("BM_ReadDbn") / t("BM_NumpyFromfile"));
  std::printf("  short records: %.3f us a record of 10^4, %.3f us a record of 10^5 (ratio %.2f)\n",
              t("BM_ReadShortRecords/10000") * 1000 / 1e4, t("BM_ReadShortRecords/100000") * 1000 / 1e5,
              (t("BM_ReadShortRecords/100000") / 1e5) / (t("BM_ReadShortRecords/10000") / 1e4));
  std::printf("  10^6 values: write .sfs %.1f ms, .asc %.1f ms; numpy.savetxt %.1f ms (ratios %.2f, %.2f)\n",
              t("BM_WriteSfs"), t("BM_WriteAsc"), t("BM_NumpySavetxt"), t("BM_WriteSfs") / t("BM_NumpySavetxt"),
              t("BM_WriteAsc") / t("BM_NumpySavetxt"));
  std::printf("  10^6 values: read .sfs %.1f ms, .asc %.1f ms; numpy.loadtxt %.1f ms (ratios %.2f, %.2f)\n",
              t("BM_ReadSfs"), t("BM_ReadAsc"), t("BM_NumpyLoadtxt"), t("BM_ReadSfs") / t("BM_NumpyLoadtxt"),
              t("BM_ReadAsc") / t("BM_NumpyLoadtxt"));
  std::printf("  WAV written, 10 min stereo: %8.1f ms = %6.0fx real time; sox %8.1f ms (ratio %.2f)\n",
              t("BM_WriteWavPcm16"), kSeconds * 1000 / t("BM_WriteWavPcm16"), t("BM_SoxWriteWav"),
              t("BM_WriteWavPcm16") / t("BM_SoxWriteWav"));
  benchmark::Shutdown();
  std::error_code error;
  std::filesystem::remove_all(Folder(), error);
  sig::DoneSignal();
  return 0;
}
