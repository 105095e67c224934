// The generator's design parameters and order estimate.
// Covers: formRemezParameters.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/classlib/Exception.h"
#include "workbench/logic/formRemezParameters.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TEST(GeneratorParameters, DefaultInputs) {
  TDesignWorkspace ws;
  ws.DesignCoefCount = 26;
  const TFilterRecord f = ComputeDesignParameters(ws, TGeneratorInputs{});
  EXPECT_TRUE(orvel::testing::NearRel(ws.PassDeviation, (1 - std::pow(10.0, -0.004)) / 2, 4e-14));
  EXPECT_TRUE(orvel::testing::NearRel(ws.PassDeviation, 0.004584, 2e-4));
  EXPECT_DOUBLE_EQ(ws.StopDeviation1, 0.01);
  EXPECT_EQ(ws.ImpulseLength, 50);
  EXPECT_EQ(ws.KernelLength, 0);
  EXPECT_EQ(ws.BandCount, 2);
  EXPECT_EQ(ws.BandEdges[1], 1.0 / 24);
  EXPECT_EQ(ws.BandEdges[2], 1.0 / 12);
  EXPECT_EQ(ws.BandEdges[3], 0.5);
  EXPECT_EQ(ws.BandGains[0], 1.0);
  EXPECT_EQ(ws.BandGains[1], 0.0);
  EXPECT_TRUE(orvel::testing::NearRel(ws.BandWeights[1], ws.PassDeviation / 0.01, 4e-15));
  EXPECT_EQ(ws.GridDensity, DefaultGridDensity);

  EXPECT_EQ(f.Name.Str(), "From Orvel window ");
  EXPECT_EQ(f.FilterType, ftLowPass);
  EXPECT_EQ(f.P1, 24);
  EXPECT_EQ(f.D1, 12);
  EXPECT_EQ(f.A1, 40);
  EXPECT_EQ(f.P2, 36);
  EXPECT_EQ(f.D2, 12);
  EXPECT_EQ(f.A2, 40);
  EXPECT_EQ(f.Ripple, 0.08);
  EXPECT_EQ(f.Order, 50);
  EXPECT_EQ(f.AutoOrder, 1);
  EXPECT_EQ(f.Method, dmOwnExchange);
  EXPECT_EQ(f.CoefCount, 26);
  EXPECT_EQ(f.Price, 0);
}

TEST(GeneratorParameters, BandTypesSetTheirBands) {
  TGeneratorInputs in;
  in.P1 = 10;
  in.D1 = 5;
  in.P2 = 20;
  in.D2 = 40;
  in.A2 = 30;
  const struct {
    std::uint8_t type;
    std::array<double, 6> edges;
    std::array<double, 3> gains;
  } cases[] = {
      {ftHighPass, {0, 1.0 / 5, 1.0 / 10, 0.5, 0, 0}, {0, 1, 0}},
      {ftBandPass, {0, 1.0 / 40, 1.0 / 20, 1.0 / 10, 1.0 / 5, 0.5}, {0, 1, 0}},
      {ftBandStop, {0, 1.0 / 40, 1.0 / 20, 1.0 / 10, 1.0 / 5, 0.5}, {1, 0, 1}},
  };
  for (const auto& c : cases) {
    TDesignWorkspace ws;
    in.FilterType = c.type;
    ComputeDesignParameters(ws, in);
    for (int i = 0; i < (c.type == ftHighPass ? 4 : 6); ++i) EXPECT_EQ(ws.BandEdges[i], c.edges[i]) << i;
    EXPECT_EQ(ws.BandGains, c.gains);
  }
  TDesignWorkspace ws;
  in.FilterType = ftBandPass;
  ComputeDesignParameters(ws, in);
  EXPECT_TRUE(orvel::testing::NearRel(ws.StopDeviation2, std::pow(10.0, -1.5), 4e-16));
  EXPECT_TRUE(orvel::testing::NearRel(ws.BandWeights[2], ws.PassDeviation / ws.StopDeviation2, 1e-14));
  // Band types take the larger estimate of their two transitions (1/20 - 1/40 here).
  EXPECT_EQ(ws.ImpulseLength, OwnOrderEstimate(ws.PassDeviation, ws.StopDeviation1, 1.0L / 20 - 1.0L / 40));
  EXPECT_GT(ws.ImpulseLength, OwnOrderEstimate(ws.PassDeviation, ws.StopDeviation1, 1.0L / 5 - 1.0L / 10));
}

TEST(GeneratorParameters, LibraryEstimateNeverGoesBelowTen) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.Method = dmLibrary;
  in.P1 = 300;
  in.D1 = 3;
  in.A1 = 1;
  in.Ripple = "20";
  const TFilterRecord f = ComputeDesignParameters(ws, in);
  EXPECT_EQ(f.Order, MinLibraryOrder);
  EXPECT_EQ(ws.ImpulseLength, MinLibraryOrder);
  EXPECT_EQ(ws.KernelLength, MinLibraryOrder + 1);
  EXPECT_EQ(ws.GridDensity, LibraryGridDensity);
  EXPECT_EQ(f.Method, dmLibrary);
  // The grid density stays with the workspace for later designs of its owner.
  in.Method = dmOwnExchange;
  ComputeDesignParameters(ws, in);
  EXPECT_EQ(ws.GridDensity, LibraryGridDensity);
}

TEST(GeneratorParameters, ManualOrderIsTheOrderUsed) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.AutoOrder = false;
  in.InputOrder = 9999;
  const TFilterRecord f = ComputeDesignParameters(ws, in);
  EXPECT_EQ(ws.ImpulseLength, 50);  // the estimate is still shown
  EXPECT_EQ(f.Order, 9999);
  EXPECT_EQ(f.AutoOrder, 0);
  // The record a design would use is refused by its order.
  try {
    CheckFilterRecord(f);
    ADD_FAILURE() << "accepted";
  } catch (const EFilterCheck& e) {
    EXPECT_EQ(e.Message(), msgOrderTooLarge);
  }
}

TEST(GeneratorParameters, EstimateNeverGoesBelowTheSmallestOrder) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.Ripple = "20";
  in.A1 = 5;  // the bare formula gives -12
  EXPECT_EQ(ComputeDesignParameters(ws, in).Order, MinEstimatedOrder);
  in.Ripple = "99";
  in.A1 = 1;  // -16
  EXPECT_EQ(ComputeDesignParameters(ws, in).Order, MinEstimatedOrder);
}

TEST(GeneratorParameters, DegenerateInputsGiveAnOrderTheLimitRefuses) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.Ripple = "0";  // no pass-band deviation: an infinite estimate
  EXPECT_EQ(ComputeDesignParameters(ws, in).Order, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(OwnOrderEstimate(0, 0.01L, 0), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(OwnOrderEstimate(0.0046L, 0.01L, std::numeric_limits<long double>::infinity()), MinEstimatedOrder);
}

TEST(GeneratorParameters, RippleTextConversion) {
  EXPECT_EQ(static_cast<double>(TextToFloat("0.08")), 0.08);
  EXPECT_EQ(static_cast<double>(TextToFloat("0,5")), 0.5);
  const struct {
    const char* text;
    const char* shown;  // commas are already points when the conversion fails
  } bad[] = {{"", ""}, {"abc", "abc"}, {"0.0.1", "0.0.1"}, {"1,2,3", "1.2.3"}};
  for (const auto& c : bad) {
    try {
      TextToFloat(c.text);
      ADD_FAILURE() << c.text;
    } catch (const classlib::EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(c.shown) + "' is not a valid floating point value");
    }
  }
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.Ripple = "x";
  EXPECT_THROW(ComputeDesignParameters(ws, in), classlib::EConvertError);
}

TEST(GeneratorParameters, NegativeInputsAreTakenAsMagnitudes) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.P1 = -24;
  in.D1 = -12;
  in.A1 = -40;
  const TFilterRecord f = ComputeDesignParameters(ws, in);
  EXPECT_EQ(f.P1, 24);
  EXPECT_EQ(f.D1, 12);
  EXPECT_EQ(f.A1, 40);
  EXPECT_EQ(f.Order, 50);
}

TEST(GeneratorParameters, PeriodsSettleInTheBandTypesOrder) {
  const struct {
    std::uint8_t type;
    TGeneratorPeriods in, out;
  } cases[] = {
      {ftLowPass, {2, 12, 36, 12}, {4, 3, 36, 12}},     // P1 raised to 4, D1 below it
      {ftLowPass, {24, 24, 36, 12}, {24, 23, 36, 12}},
      {ftLowPass, {24, 12, 0, 0}, {24, 12, 0, 0}},      // the band inputs are not looked at
      {ftHighPass, {24, 12, 36, 12}, {24, 25, 36, 12}},
      {ftHighPass, {0, 0, 36, 12}, {4, 5, 36, 12}},     // 3 is below the input's range
      {ftHighPass, {300, 100, 36, 12}, {300, 300, 36, 12}},  // the range ends: left for the estimate
      {ftBandPass, {10, 12, 36, 52}, {13, 12, 36, 52}},
      {ftBandPass, {24, 12, 36, 30}, {24, 12, 36, 37}},
      {ftBandStop, {10, 2, 10, 10}, {10, 3, 11, 12}},
      {ftBandPass, {40, 50, 36, 12}, {51, 50, 52, 53}},  // every rule in turn
      {ftBandPass, {300, 300, 300, 300}, {300, 300, 300, 300}},
      {7, {1, 2, 3, 4}, {1, 2, 3, 4}},                    // no rules for other types
  };
  for (const auto& c : cases) {
    const TGeneratorPeriods out = ClampGeneratorPeriods(c.type, c.in);
    EXPECT_EQ(out, c.out) << int(c.type) << ": " << c.in.P1 << " " << c.in.D1 << " " << c.in.P2 << " " << c.in.D2
                          << " gave " << out.P1 << " " << out.D1 << " " << out.P2 << " " << out.D2;
  }
}

TEST(GeneratorParameters, RippleTexts) {
  EXPECT_EQ(ValidatedRippleText("0.08"), "0.08");
  EXPECT_EQ(ValidatedRippleText("0.00001"), "0.0001");
  EXPECT_EQ(ValidatedRippleText("-3"), "0.0001");
  EXPECT_EQ(ValidatedRippleText("0.0001"), "0.0001");
  // Validation reads the text as it stands: a comma is no decimal separator there.
  EXPECT_TRUE(orvel::testing::Raises<classlib::EConvertError>([] { ValidatedRippleText("0,08"); },
                                                               "'0,08' is not a valid floating point value"));
  EXPECT_THROW(ValidatedRippleText(""), classlib::EConvertError);
}

}  // namespace
}  // namespace workbench
