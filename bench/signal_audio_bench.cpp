// Times the sound components through ALSA's file device over its null device, which takes
// and gives sound at once, so the time is the components' own:
// - 10 minutes of stereo 16-bit sound at 44.1 kHz played from a generator (a sine) in
//   blocks of 4096 frames, against sox synthesising the same sine into 16-bit raw sound;
// - 10 minutes of the same sound recorded from a raw file in buffers of 4096 frames into a
//   pipeline consumer, against sox reading the raw file.
// The ALSA configuration is the benchmark's own (no sound card, no user configuration);
// the raw file lives in a temporary folder removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "RunReporter.h"
#include "platform/audio/AlsaAudio.h"
#include "platform/audio/testing/AlsaTestConfig.h"
#include "platform/audio/testing/SteppedAudioEvents.h"
#include "signal/AudioSignal.h"
#include "signal/SignalGenerator.h"
#include "signal/SignalInit.h"

namespace {

constexpr double kSeconds = 600.0;
constexpr int kRate = 44100;
constexpr std::int32_t kBlockFrames = 4096;
constexpr std::int64_t kBlocks = static_cast<std::int64_t>(kSeconds) * kRate / kBlockFrames;

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

// A consumer that takes each recorded block and does nothing more.
class TSink : public sig::TSignal {
 public:
  TSink() { SetUsesInputs(true); }
};

void BM_PlayGenerator(benchmark::State& state) {
  for (auto _ : state) {
    const auto events = std::make_shared<audio::TSteppedAudioEvents>();
    audio::TAudioTestScope scope(audio::NewAlsaAudioSystem(), events);
    sig::TSignalGenerator generator;
    generator.SetChannelCount(2);
    generator.SetLength(2 * kBlockFrames);
    generator.SetSamplingFrequency(kRate);
    sig::TFuncSignalLine sine;
    sine.Enabled = true;
    sine.SignalType = sig::gfSine;
    sine.Operator = sig::goNone;
    sine.Continuous = true;
    sine.P1 = 440;
    sine.P3 = 20000;
    generator.Sounds().Template().AddLine(sine);
    sig::TSignalOut out;
    out.SetInput(&generator);
    std::int64_t blocks = 0;
    out.SetOnBufferFill([&](std::int32_t&) { return ++blocks <= kBlocks; });
    out.Start();
    events->StepUntil([&] { return !out.Active(); }, 1 << 30);
  }
}

void BM_SoxSynth(benchmark::State& state) {
  for (auto _ : state) Run("sox -n -r 44100 -c 2 -b 16 -e signed -t raw /dev/null synth 600 sine 440 vol 0.6");
}

void BM_RecordRaw(benchmark::State& state) {
  for (auto _ : state) {
    const auto events = std::make_shared<audio::TSteppedAudioEvents>();
    audio::TAudioTestScope scope(audio::NewAlsaAudioSystem(), events);
    sig::TSignalIn in;
    in.SetStereo(true);
    in.SetSamplingFrequency(kRate);
    in.SetBufferSize(4 * kBlockFrames);
    TSink sink;
    sink.SetInput(&in);
    in.SetInput(&sink);
    std::int64_t blocks = 0;
    in.SetOnBufferFilled([&] { return ++blocks <= kBlocks; });
    in.Start();
    events->StepUntil([&] { return !in.Active(); }, 1 << 30);
    sink.SetInput(nullptr);
  }
}

void BM_SoxReadRaw(benchmark::State& state) {
  for (auto _ : state)
    Run("sox -t raw -r 44100 -c 2 -b 16 -e signed '" + Path("in.raw") + "' -t raw /dev/null");
}

BENCHMARK(BM_PlayGenerator)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SoxSynth)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecordRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SoxReadRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The time of the run whose name starts with Prefix, in milliseconds.
double Time(const orvel_bench::TRunReporter& Reporter, const std::string& Prefix) {
  for (const auto& [name, time] : Reporter.Times)
    if (name.compare(0, Prefix.size(), Prefix) == 0 && (name.size() == Prefix.size() || name[Prefix.size()] == '/'))
      return time;
  return std::nan("");
}

}  // namespace

int main(int argc, char** argv) {
  sig::InitSignal();
  Folder() = std::filesystem::temp_directory_path() / ("orvel-signal-audio-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(Folder());
  Run("sox -n -r 44100 -c 2 -b 16 -e signed -t raw '" + Path("in.raw") + "' synth 600 sine 440 sine 1234 vol 0.8");
  int result = 0;
  {
    const audio::TAlsaTestConfig config(Path("asound.conf"),
                                        audio::TAlsaTestConfig::FileDevice("/dev/null", Path("in.raw")));
    benchmark::Initialize(&argc, argv);
    orvel_bench::TRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto t = [&](const std::string& name) { return Time(reporter, name); };
    std::printf("\ntimes against the peers (ratio = Orvel / peer; below 1 is faster)\n");
    std::printf("  played, 10 min stereo 16-bit:   %8.1f ms = %6.0fx real time; sox synth %8.1f ms (ratio %.2f)\n",
                t("BM_PlayGenerator"), kSeconds * 1000 / t("BM_PlayGenerator"), t("BM_SoxSynth"),
                t("BM_PlayGenerator") / t("BM_SoxSynth"));
    std::printf("  recorded, 10 min stereo 16-bit: %8.1f ms = %6.0fx real time; sox read %8.1f ms (ratio %.2f)\n",
                t("BM_RecordRaw"), kSeconds * 1000 / t("BM_RecordRaw"), t("BM_SoxReadRaw"),
                t("BM_RecordRaw") / t("BM_SoxReadRaw"));
    benchmark::Shutdown();
  }
  std::error_code error;
  std::filesystem::remove_all(Folder(), error);
  sig::DoneSignal();
  return result;
}
