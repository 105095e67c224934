// The quote spectrum window's spectrum against numpy: "Расчет" on the sample
// history and on a range of it, both charts against (2 |rfft(x - mean, n)| / N)^2.
// Covers: formSpectrum.cpp (btnCalcClick, PlotSpectrumByPeriod).
#include <QPushButton>
#include <QSlider>

#include <cstring>

#include "SpectrumFixture.h"

namespace workbench {
namespace {

using orvel::testing::CommandOutput;
using orvel::testing::FileBytes;

// numpy's lines 0 .. n/2 - 1 of the power spectrum of closes.
std::vector<double> NumpyPower(const orvel::testing::TTempDir& dir, const std::vector<double>& closes) {
  std::string bytes(closes.size() * sizeof(double), '\0');
  std::memcpy(bytes.data(), closes.data(), bytes.size());
  const std::string in = dir.Write("closes.f64", bytes), out = dir.File("lines.f64");
  CommandOutput(std::string(ORVEL_PYTHON) + " '" + ORVEL_TEST_SOURCE_DIR + "/spectrum_oracle.py' '" + in + "' '" + out +
                "'");
  const std::string lines = FileBytes(out);
  std::vector<double> power(lines.size() / sizeof(double));
  std::memcpy(power.data(), lines.data(), power.size() * sizeof(double));
  return power;
}

using SpectrumWindowOracle = TSpectrumTest;

TEST_F(SpectrumWindowOracle, ComputeGivesNumpysPowerSpectrumByFrequencyAndByPeriod) {
  TfrmSpectrum& spectrum = OpenSpectrumWindow();
  Open(ORVEL_SAMPLE_HISTORY);
  struct TRange {
    int From, To;
  };
  // The whole sample as it opens, and a range whose length is a power of two.
  for (const TRange range : {TRange{1, 4999}, TRange{1000, 3047}}) {
    SCOPED_TRACE(std::to_string(range.From) + " .. " + std::to_string(range.To));
    spectrum.tbTo->setValue(range.To);
    spectrum.tbFrom->setValue(range.From);
    ASSERT_EQ(spectrum.tbFrom->value(), range.From);
    QTest::mouseClick(spectrum.btnCalc, Qt::LeftButton);
    EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();

    std::vector<double> closes;
    for (int i = range.From; i <= range.To; ++i) closes.push_back(spectrum.PriceChart().Bars[i].Close);
    const std::vector<double> expected = NumpyPower(FDir, closes);
    const int n = static_cast<int>(expected.size()) * 2;
    ASSERT_GE(n, static_cast<int>(closes.size()));

    const TSeriesPoints byFrequency = PointsOf(*spectrum.Series3);
    ASSERT_EQ(byFrequency.X.size(), expected.size());
    for (int k = 1; k < n / 2; ++k) {
      EXPECT_EQ(byFrequency.X[k], static_cast<double>(k) / n) << k;
      EXPECT_NEAR(byFrequency.Y[k], expected[k], PowerTolerance(closes, n, expected[k])) << k;
    }

    const TSeriesPoints byPeriod = PointsOf(*spectrum.Series2);
    ASSERT_EQ(byPeriod.X.size(), static_cast<std::size_t>(n / 2 - 1));
    double largest = 0;
    for (int k = 1; k < n / 2; ++k) {
      const std::size_t j = static_cast<std::size_t>(n / 2 - 1 - k);
      EXPECT_EQ(byPeriod.X[j], 1 / (static_cast<double>(k) / n)) << k;
      EXPECT_NEAR(byPeriod.Y[j], expected[k], PowerTolerance(closes, n, expected[k])) << k;
      if (byPeriod.X[j] < 200) largest = std::max(largest, expected[k]);
    }
    const chart::TChart& periodChart = spectrum.SpectrumChartModel();
    EXPECT_EQ(periodChart.LeftAxis()->Minimum(), 0);
    EXPECT_NEAR(periodChart.LeftAxis()->Maximum(), largest, PowerTolerance(closes, n, largest));
    EXPECT_EQ(periodChart.BottomAxis()->Minimum(), 0);
    EXPECT_EQ(periodChart.BottomAxis()->Maximum(), 200);
  }
}

}  // namespace
}  // namespace workbench
