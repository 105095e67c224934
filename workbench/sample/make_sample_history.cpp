// Writes the sample price history that ships with the program: a synthetic,
// realistic-looking series of hourly bars as a version-400 history file.
//
//   make_sample_history <file.hst>
//
// The series is made reproducibly from a fixed seed: a random walk of the log
// price whose volatility follows the hour of the day and clusters in time,
// with a few slow cycles added so that the filters have something to find.
// Each bar is built from twelve five-minute steps (open, high, low, close) and
// prices are rounded to five decimals, as quotes of a currency pair are. Bars
// run from Monday 00:00 to Friday 23:00 (UTC); weekends have none.
// Tested by: tests/SampleHistoryTest.cpp (the committed file is what this writes)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "workbench/logic/testing/HistoryFileBuilder.h"

namespace {

constexpr int BarCount = 5000;
constexpr std::int32_t FirstBarTime = 1704067200;  // Monday 2024-01-01 00:00 UTC
constexpr std::int32_t Hour = 3600;
constexpr int StepsPerBar = 12;
constexpr double StartPrice = 1.10000;
constexpr std::uint64_t Seed = 0x4F7276656C53616DULL;

// splitmix64: small, fast and the same on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in (0, 1).
  double Uniform() { return (static_cast<double>(Next() >> 11) + 0.5) / 9007199254740992.0; }
  // Standard normal by the Box-Muller transform.
  double Normal() {
    return std::sqrt(-2.0 * std::log(Uniform())) * std::cos(2.0 * std::numbers::pi * Uniform());
  }

 private:
  std::uint64_t state_;
};

double Quote(double price) { return std::nearbyint(price * 100000.0) / 100000.0; }

// Relative activity of the market by hour of the day (UTC): quiet in the
// Asian night, busiest when the European and American sessions overlap.
double HourActivity(int hour) {
  static constexpr double activity[24] = {0.55, 0.5, 0.5, 0.55, 0.6, 0.65, 0.8, 1.0,  1.2,  1.25, 1.2,  1.15,
                                          1.2,  1.35, 1.5, 1.45, 1.3, 1.1, 0.95, 0.85, 0.75, 0.7, 0.65, 0.6};
  return activity[hour];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.hst>\n", argv[0]);
    return 2;
  }
  Random random(Seed);
  workbench::testing::THistoryFileSpec spec;
  spec.Version = 400;
  spec.Symbol = "SAMPLE";
  spec.Period = 60;

  // Slow cycles of the log price, in bars: amplitude and period.
  struct Cycle {
    double amplitude, period, phase;
  };
  const Cycle cycles[] = {{0.0015, 37.0, 0.3}, {0.0040, 131.0, 1.9}, {0.0100, 420.0, 4.0}, {0.0200, 1650.0, 0.7}};
  const auto cyclePart = [&](double bar) {
    double sum = 0;
    for (const Cycle& c : cycles) sum += c.amplitude * std::sin(2.0 * std::numbers::pi * bar / c.period + c.phase);
    return sum;
  };

  double walk = std::log(StartPrice) - cyclePart(0);  // the random part of the log price
  double volatility = 1.0;             // clustered volatility, mean 1
  double close = StartPrice;
  std::int32_t time = FirstBarTime;
  const double stepSigma = 0.0009 / std::sqrt(static_cast<double>(StepsPerBar));  // about 0.09 % an hour

  for (int i = 0; i < BarCount; ++i) {
    const int hour = static_cast<int>((time / Hour) % 24);
    const bool weekOpen = i > 0 && hour == 0 && (time / 86400 + 3) % 7 == 0;  // Monday 00:00
    // Volatility mean-reverts slowly and jumps now and then.
    volatility = 1.0 + 0.96 * (volatility - 1.0) + 0.08 * random.Normal();
    if (random.Uniform() < 0.004) volatility += 1.5;
    if (volatility < 0.4) volatility = 0.4;
    const double sigma = stepSigma * volatility * HourActivity(hour);

    double open = close;
    if (weekOpen) {
      // Prices move over the weekend too: a small gap at the week's open.
      walk += 0.0012 * random.Normal();
      open = Quote(std::exp(walk + cyclePart(i)));
    }
    double high = open, low = open, price = open;
    for (int s = 1; s <= StepsPerBar; ++s) {
      walk += sigma * random.Normal();
      price = std::exp(walk + cyclePart(i + static_cast<double>(s) / StepsPerBar));
      high = std::max(high, price);
      low = std::min(low, price);
    }
    close = Quote(price);
    // Ticks between the five-minute marks reach a little beyond them.
    high = Quote(high * (1.0 + 0.25 * sigma * random.Uniform()));
    low = Quote(low * (1.0 - 0.25 * sigma * random.Uniform()));
    high = std::max({high, open, close});
    low = std::min({low, open, close});

    workbench::THistoryBar bar;
    bar.Time = time;
    bar.Open = open;
    bar.High = high;
    bar.Low = low;
    bar.Close = close;
    spec.Bars.push_back(bar);
    // Tick volume grows with activity and with the bar's range.
    const double range = (high - low) / open;
    spec.Volumes.push_back(std::nearbyint(120.0 * HourActivity(hour) + 180000.0 * range + 40.0 * random.Uniform()));

    // The next bar: skip Saturday and Sunday.
    time += Hour;
    const int weekday = static_cast<int>((time / 86400 + 3) % 7);  // 0 Monday .. 6 Sunday
    if (weekday == 5) time += 2 * 86400;
  }

  const std::string bytes = workbench::testing::HistoryFileBytes(spec);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
