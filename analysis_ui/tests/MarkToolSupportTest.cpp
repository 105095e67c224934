// The marking logic the cursors share, as tables: the line or sample under
// a mouse position (held within the data), marks recognised within half a
// line, the texts of spectrum marks and the ranges of the axis scale tool.
// Covers: analysis_ui/MarkToolSupport.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis_ui/MarkToolSupport.h"
#include "chart/core/ValueList.h"
#include "signal/MarkList.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using orvel::testing::kInf;
using orvel::testing::kNaN;

TEST(MarkToolSupport, TheLineUnderAPositionIsHeldWithinTheSpectrum) {
  const struct {
    double F, Start, Step;
    std::int32_t Length, Line;
  } cases[] = {
      {123.7, 0, 10, 50, 12},   // Trunc, not the nearest line
      {129.99, 0, 10, 50, 12},  //
      {130, 0, 10, 50, 13},     //
      {-5, 0, 10, 50, 0},       // left of the spectrum
      {1e300, 0, 10, 50, 49},   // far right: no conversion out of range
      {495, 0, 10, 50, 49},     // between the last line and the stop frequency
      {-kInf, 0, 10, 50, 0},    //
      {kInf, 0, 10, 50, 49},    //
      {kNaN, 0, 10, 50, 0},     //
      {-240, -250, 5, 100, 2},  // a two-sided spectrum
      {7, 0, 10, 0, 0},         // no lines
      {7, 0, 0, 50, 0},         // no spacing
      {7, 0, kNaN, 50, 0},      //
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineUnder(c.F, c.Start, c.Step, c.Length), c.Line) << c.F << " on " << c.Length << " lines of " << c.Step;
}

TEST(MarkToolSupport, TheSampleNearATimeIsRoundedAndHeldWithinTheSignal) {
  const struct {
    double T, Period;
    std::int32_t Length, Sample;
  } cases[] = {
      {0.0123, 0.001, 100, 12},  //
      {0.0126, 0.001, 100, 13},  // the nearest sample
      {0.0125, 0.001, 100, 12},  // halves to even
      {0.0135, 0.001, 100, 14},  //
      {-1, 0.001, 100, 0},       // before the first sample
      {10, 0.001, 100, 99},      // beyond the last
      {kInf, 0.001, 100, 99},    //
      {kNaN, 0.001, 100, 0},     //
      {0.5, 0.001, 0, 0},        // no samples
      {0.5, 0, 100, 0},          // no period
  };
  for (const auto& c : cases)
    EXPECT_EQ(SampleNear(c.T, c.Period, c.Length), c.Sample) << c.T << " s on " << c.Length << " samples";
}

TEST(MarkToolSupport, AMarkIsFoundWithinHalfALineOfItsKey) {
  sig::TMarkList marks;
  marks.AddMark({60, 1, 0, 0.5});
  marks.AddMark({120, 2, 0, 0.25});
  const struct {
    TMarkKey Key;
    double Value, Half;
    std::int32_t Found;
  } cases[] = {
      {mkFirst, 60, 5, 0},        //
      {mkFirst, 64.9, 5, 0},      // within half a line of 10
      {mkFirst, 65, 5, -1},       // half a line away is another line
      {mkFirst, 117, 5, 1},       //
      {mkFirst, 120, 0, 1},       // no spacing: equal only
      {mkFirst, 120.001, 0, -1},  //
      {mkFirst, kNaN, 5, -1},     //
      {mkFourth, 0.25, 0.0005, 1},
      {mkFourth, 60, 0.0005, -1},  // the time, not the first double
  };
  for (const auto& c : cases) EXPECT_EQ(FindMarkNear(marks, c.Key, c.Value, c.Half), c.Found) << c.Value;
  EXPECT_EQ(FindMarkNear(sig::TMarkList(), mkFirst, 60, 5), -1);
}

TEST(MarkToolSupport, APointOfTheMarkSeriesIsFoundWithinHalfALine) {
  chart::TChartValueList xs(nullptr, "X");
  xs.AddChartValue(60);
  xs.AddChartValue(120);
  EXPECT_TRUE(HoldsValueNear(xs, 63, 5));
  EXPECT_FALSE(HoldsValueNear(xs, 90, 5));
  EXPECT_TRUE(HoldsValueNear(xs, 120, 0));
  EXPECT_FALSE(HoldsValueNear(chart::TChartValueList(nullptr, "X"), 60, 5));
}

TEST(MarkToolSupport, TheTextOfASpectrumMarkFollowsTheChartPartAndTheMarkType) {
  const struct {
    TSpectrumPart Part;
    TSpectrumMarkType Type;
    bool Headers;
    const char* Text;
  } cases[] = {
      {sppAmplt, mtAmplt, true, "1.50"},  // no header before a lone amplitude
      {sppAmplt, mtPhase, true, "P=-0.25"},
      {sppAmplt, mtPhase, false, "-0.25"},
      {sppAmplt, mtAmpltPhase, true, "A=1.50\rP=-0.25"},
      {sppAmplt, mtAmpltPhase, false, "1.50\r-0.25"},
      {sppPhase, mtAmplt, true, "-0.25"},  // a phase chart shows the phase whatever the type
      {sppPhase, mtAmpltPhase, true, "-0.25"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SpectrumMarkText(c.Part, c.Type, c.Headers, 1.5, -0.25, "0.00#", "0.00#"), c.Text) << c.Text;
  EXPECT_EQ(SpectrumMarkText(sppAmplt, mtAmpltPhase, true, 1.2345, 90, "0.0", "0"), "A=1.2\rP=90");
}

TEST(MarkToolSupport, EveryOtherPointLabelTakesASecondLine) {
  EXPECT_EQ(MarkPointLabel(0, "0.00#", 60), "60.00");
  EXPECT_EQ(MarkPointLabel(1, "0.00#", 120), "\r120.00");
  EXPECT_EQ(MarkPointLabel(2, "0.0", 180.25), "180.3");
}

TEST(MarkToolSupport, TheScaledRangeAddsTheMarginsToTheDataSpan) {
  const struct {
    double Min, Max;
    std::int32_t Upper, Lower;
    bool ZeroBased;
    double ScaledMin, ScaledMax;
  } cases[] = {
      {0, 100, 10, 5, false, -5, 110},
      {20, 100, 10, 5, true, -4, 108},  // a spectrum starts at 0, the margins follow the data's span
      {20, 100, 10, 5, false, 16, 108},
      {20, 100, 0, 0, false, 20, 100},
      {-60, -20, 50, 25, false, -70, 0},
      {5, 5, 10, 10, false, 5, 5},  // no span, no margin
  };
  for (const auto& c : cases) {
    const TScaleRange r = AxisScaleRange(c.Min, c.Max, c.Upper, c.Lower, c.ZeroBased);
    EXPECT_DOUBLE_EQ(r.Minimum, c.ScaledMin) << c.Min << ".." << c.Max;
    EXPECT_DOUBLE_EQ(r.Maximum, c.ScaledMax) << c.Min << ".." << c.Max;
  }
}

}  // namespace
}  // namespace analysis_ui
