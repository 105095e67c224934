// The design of filter records: the checks before a design, the tap count of
// the own exchange, failure reports and the coefficient record. Designs
// against scipy are in DesignOracleTest.cpp.
// Covers: Classes_Remez_Design.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "workbench/logic/Classes_Remez.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TFilterRecord DefaultFilter() {
  TFilterRecord f;
  f.Name = "Default";
  f.FilterType = ftLowPass;
  f.P1 = 24;
  f.D1 = 12;
  f.A1 = 40;
  f.P2 = 36;
  f.D2 = 52;
  f.A2 = 40;
  f.Ripple = 0.08;
  f.Order = 50;
  f.Method = dmOwnExchange;
  return f;
}

TEST(CheckFilterRecord, RefusesWhatCannotBeDesigned) {
  const struct {
    const char* name;
    void (*change)(TFilterRecord&);
    std::string message;
  } cases[] = {
      {"band type", [](TFilterRecord& f) { f.FilterType = 4; }, std::string(msgBadFilterType) + "4"},
      {"order 1500", [](TFilterRecord& f) { f.Order = 1500; }, msgOrderTooLarge},
      {"order 9999", [](TFilterRecord& f) { f.Order = 9999; }, msgOrderTooLarge},
      {"order 0", [](TFilterRecord& f) { f.Order = 0; }, std::string(msgBadOrder) + "0"},
      {"order negative", [](TFilterRecord& f) { f.Order = -12; }, std::string(msgBadOrder) + "-12"},
      {"period 0", [](TFilterRecord& f) { f.D1 = 0; }, std::string(msgBadPeriods) + "P1=24, D1=0"},
      {"low-pass unordered", [](TFilterRecord& f) { f.D1 = 24; }, std::string(msgBadPeriods) + "P1=24, D1=24"},
      {"high-pass unordered",
       [](TFilterRecord& f) { f.FilterType = ftHighPass; },
       std::string(msgBadPeriods) + "P1=24, D1=12"},
      {"high-pass beyond Nyquist",
       [](TFilterRecord& f) {
         f.FilterType = ftHighPass;
         f.P1 = 1;
       },
       std::string(msgBadPeriods) + "P1=1, D1=12"},
      {"band-pass unordered",
       [](TFilterRecord& f) {
         f.FilterType = ftBandPass;
         f.D2 = 30;
       },
       std::string(msgBadPeriods) + "P1=24, D1=12, P2=36, D2=30"},
      {"ripple 0", [](TFilterRecord& f) { f.Ripple = 0; }, std::string(msgBadRipple) + "0"},
      {"ripple NaN", [](TFilterRecord& f) { f.Ripple = std::nan(""); }, std::string(msgBadRipple) + "NAN"},
      {"attenuation", [](TFilterRecord& f) { f.A1 = 0; }, std::string(msgBadAttenuation) + "A1=0"},
      {"band-pass second attenuation",
       [](TFilterRecord& f) {
         f.FilterType = ftBandPass;
         f.A2 = -3;
       },
       std::string(msgBadAttenuation) + "A2=-3"},
      {"delay", [](TFilterRecord& f) { f.Delay = -1; }, std::string(msgBadDelay) + "-1"},
      {"delay beyond the coefficients",
       [](TFilterRecord& f) { f.Delay = 2480; },
       std::string(msgTooManyCoefficients) + "2507"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFilterRecord f = DefaultFilter();
    c.change(f);
    try {
      CheckFilterRecord(f);
      ADD_FAILURE() << "accepted";
    } catch (const EFilterCheck& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(CheckFilterRecord, AcceptsTheUsualRecords) {
  TFilterRecord f = DefaultFilter();
  EXPECT_NO_THROW(CheckFilterRecord(f));
  f.Order = 1499;
  EXPECT_NO_THROW(CheckFilterRecord(f));
  f.FilterType = ftBandStop;  // one attenuation: A2 is not used
  f.A2 = 0;
  f.D1 = 5;
  f.P1 = 10;
  f.P2 = 20;
  f.D2 = 40;
  EXPECT_NO_THROW(CheckFilterRecord(f));
}

TEST(DesignFilterRecord, RefusesABadRecordBeforeTouchingTheWorkspace) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  DesignFilterRecord(ws, 1, DefaultFilter(), result);
  const std::vector<double> before(ws.ImpulseResponse);
  TFilterRecord f = DefaultFilter();
  f.Order = 9999;  // would overrun every array
  result.Count = -5;
  EXPECT_THROW(DesignFilterRecord(ws, 2, f, result), EFilterCheck);
  EXPECT_EQ(ws.ImpulseResponse, before);
  EXPECT_EQ(result.Count, -5);
}

TEST(DesignFilterRecord, OwnExchangeUsesOddTapsWhereNyquistPasses) {
  const struct {
    std::uint8_t type;
    int order, taps;
  } cases[] = {
      {ftLowPass, 50, 51}, {ftLowPass, 59, 60}, {ftBandPass, 59, 60},
      {ftHighPass, 40, 41}, {ftHighPass, 41, 43}, {ftBandStop, 52, 53}, {ftBandStop, 53, 55},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.order);
    TFilterRecord f = DefaultFilter();
    f.FilterType = c.type;
    f.Order = c.order;
    f.P1 = c.type == ftHighPass ? 6 : 10;
    f.D1 = c.type == ftHighPass ? 12 : 5;
    f.P2 = 20;
    f.D2 = 40;
    TDesignWorkspace ws;
    TCoefficientRecord result;
    ASSERT_NO_THROW(DesignFilterRecord(ws, 0, f, result));
    EXPECT_EQ(OwnExchangeTaps(c.type, c.order), c.taps);
    EXPECT_EQ(ws.KernelLength, c.taps);
    EXPECT_EQ(ws.ImpulseLength, c.order);
    EXPECT_EQ(result.Count, (c.taps + 1) / 2);  // delay 0: the centre and the taps after it
    // A high-pass or band-stop response passes the Nyquist frequency (an
    // even-length symmetric one would be exactly 0 there).
    double nyquist = 0;
    for (int n = 0; n < c.taps; ++n) nyquist += (n % 2 == 0 ? 1 : -1) * ws.ImpulseResponse[n];
    if (c.type == ftHighPass || c.type == ftBandStop) {
      EXPECT_GT(std::fabs(nyquist), 0.8);
    }
  }
}

TEST(DesignFilterRecord, TooNarrowBandsAreRefused) {
  TFilterRecord f = DefaultFilter();
  f.P1 = 300;
  f.D1 = 2;  // a stop band of no width at the Nyquist frequency
  f.Order = 1;
  TDesignWorkspace ws;
  TCoefficientRecord result;
  EXPECT_THROW(DesignFilterRecord(ws, 0, f, result), EFilterCheck);
}

TEST(DesignFilterRecord, FillsTheResultRecord) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  result.TextMode = 3;
  result.Separate = 1;
  result.Coef.fill(5.0);
  TFilterRecord f = DefaultFilter();
  f.Name = "AVeryLongFilterNameOfMoreThan25";
  f.Delay = 2;
  DesignFilterRecord(ws, 42, f, result);
  EXPECT_EQ(result.Tag, 42);
  EXPECT_EQ(result.Name.Str(), std::string("AVeryLongFilterNameOfMoreThan25").substr(0, 25));
  EXPECT_EQ(result.Count, 28);  // 51 taps: the centre, 25 after it, 2 before it
  EXPECT_EQ(result.TextMode, 0);
  EXPECT_EQ(result.Separate, 0);
  double sum = 0;
  for (int k = 0; k < result.Count; ++k) sum += result.Coef[k];
  EXPECT_TRUE(orvel::testing::NearRel(sum, 1.0, 1e-12));
  for (int k = result.Count; k < MaxCoefficients; ++k) ASSERT_EQ(result.Coef[k], 0.0) << k;
}

// Whatever the length of the response and the delay, the indicator holds
// every tap that its unit sum took in: the coefficients the text writes sum
// to 1, up to the rounding of the sum and of the printed decimals.
TEST(DesignFilterRecord, EveryExportedCoefficientListSumsToOne) {
  struct TCase {
    std::uint8_t type, method;
    int order;
  };
  const TCase designs[] = {
      {ftLowPass, dmOwnExchange, 20},  {ftLowPass, dmOwnExchange, 21},  // 21 and 22 taps
      {ftLowPass, dmOwnExchange, 50},  {ftLowPass, dmOwnExchange, 59},  // 51 and 60 taps
      {ftBandStop, dmOwnExchange, 52}, {ftBandStop, dmOwnExchange, 53},  // 53 and 55 taps
      {ftLowPass, dmLibrary, 20},      {ftLowPass, dmLibrary, 21},
      {ftLowPass, dmLibrary, 50},      {ftBandStop, dmLibrary, 53},
  };
  for (const TCase& d : designs) {
    for (const int delay : {0, 1, 2, 7, 12, 40}) {
      SCOPED_TRACE(std::to_string(d.type) + " method " + std::to_string(d.method) + " order " +
                   std::to_string(d.order) + " delay " + std::to_string(delay));
      TFilterRecord f = DefaultFilter();
      f.FilterType = d.type;
      f.Method = d.method;
      f.Order = d.order;
      f.Delay = delay;
      f.P1 = 10;
      f.D1 = 5;
      f.P2 = 20;
      f.D2 = 40;
      TDesignWorkspace ws;
      TCoefficientRecord result;
      ASSERT_NO_THROW(DesignFilterRecord(ws, 0, f, result));
      f.CoefCount = result.Count;
      result.TextMode = 4;  // the bare list
      const std::string text = GenerateIndicatorText(f, result);

      long double sum = 0, magnitudes = 0, printed = 0, printBound = 0;
      for (int k = 0; k < result.Count; ++k) {
        sum += result.Coef[k];
        magnitudes += std::fabs(result.Coef[k]);
      }
      std::size_t lines = 0;
      for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string term = text.substr(at, end - at);
        printed += std::stod(term);
        const std::size_t point = term.find('.');
        printBound += 0.5L * std::pow(10.0L, -static_cast<long double>(
                                                 point == std::string::npos ? 0 : term.size() - point - 1));
        ++lines;
        at = end + 2;
      }
      EXPECT_EQ(lines, static_cast<std::size_t>(result.Count));
      // Each coefficient was divided by the sum of all of them: what is left
      // is the rounding of those divisions and of this sum.
      const double bound = 4.0 * (result.Count + 1) * std::numeric_limits<double>::epsilon() *
                           static_cast<double>(magnitudes);
      EXPECT_LE(std::fabs(static_cast<double>(sum) - 1.0), std::min(bound, 1e-12)) << static_cast<double>(sum);
      EXPECT_LE(std::fabs(static_cast<double>(printed - 1.0L)), static_cast<double>(printBound) + 1e-12)
          << static_cast<double>(printed);
    }
  }
}

TEST(DesignFilterRecord, LibraryOrderOneDesignsNothing) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  DesignFilterRecord(ws, 0, DefaultFilter(), result);  // an earlier design stays in the workspace
  ASSERT_GT(result.Count, 0);
  TFilterRecord f = DefaultFilter();
  f.Method = dmLibrary;
  f.Order = 1;
  DesignFilterRecord(ws, 3, f, result);
  EXPECT_EQ(result.Tag, 3);
  EXPECT_EQ(result.Count, 0);
  EXPECT_EQ(ws.DesignCoefCount, 0);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(ws.ImpulseResponse[i], 0.0) << i;
  for (double c : ws.DesignCoefficients.Coef) ASSERT_EQ(c, 0.0);
}

// 400 taps of the default low-pass ask for a deviation near the rounding of
// double precision, and the own exchange runs out of rounds: its last round
// is the result, and the flag says so.
TEST(DesignFilterRecord, IterationLimitIsAFlagNotAFailure) {
  TFilterRecord f = DefaultFilter();
  f.Order = 399;
  TDesignWorkspace ws;
  TCoefficientRecord result;
  ASSERT_NO_THROW(DesignFilterRecord(ws, 5, f, result));
  EXPECT_EQ(ws.IterationLimitReached, 1);
  EXPECT_EQ(result.Tag, 5);
  ASSERT_EQ(result.Count, 200);
  double sum = 0;
  for (int k = 0; k < result.Count; ++k) sum += result.Coef[k];
  EXPECT_NEAR(sum, 1.0, 1e-12);

  // The next design clears it.
  ASSERT_NO_THROW(DesignFilterRecord(ws, 5, DefaultFilter(), result));
  EXPECT_EQ(ws.IterationLimitReached, 0);
}

// A response that is not finite, or taps that sum too close to 0 to rescale
// them to a unit sum, make no indicator.
TEST(DesignFilterRecord, UnusableResponseIsRefused) {
  const struct {
    const char* name;
    void (*change)(TFilterRecord&);
    const char* message;
  } cases[] = {
      // The pass-band deviation is 0 in extended precision, and so is the
      // stop band's weight.
      {"ripple 1e-20 dB", [](TFilterRecord& f) { f.Ripple = 1e-20; }, msgResponseNotFinite},
      // A stop band weighted 1e17 times the pass band: the optimum of 11
      // taps is a filter of about 0.
      {"attenuation 400 dB", [](TFilterRecord& f) { f.A1 = 400; f.Order = 10; }, msgCoefficientSumNearZero},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFilterRecord f = DefaultFilter();
    c.change(f);
    TDesignWorkspace ws;
    TCoefficientRecord result;
    result.Count = -7;
    EXPECT_TRUE(orvel::testing::Raises<EDesignFailed>([&] { DesignFilterRecord(ws, 0, f, result); }, c.message));
    EXPECT_EQ(result.Count, -7);  // nothing handed out
  }
}

TEST(DesignFilterRecord, FailedLibraryDesignIsReported) {
  // A symmetric filter of even length is 0 at the Nyquist frequency, where a
  // high-pass filter must pass: the library refuses it.
  TFilterRecord f = DefaultFilter();
  f.FilterType = ftHighPass;
  f.P1 = 6;
  f.D1 = 12;
  f.Method = dmLibrary;
  f.Order = 40;
  TDesignWorkspace ws;
  TCoefficientRecord result;
  result.Count = -7;
  try {
    DesignFilterRecord(ws, 0, f, result);
    ADD_FAILURE() << "accepted";
  } catch (const EDesignFailed& e) {
    EXPECT_EQ(e.Message(), msgLibraryDesignFailed);
  }
  EXPECT_EQ(result.Count, -7);  // nothing handed out
  EXPECT_EQ(DesignImpulseResponse(ws, f.FilterType, 40, dmLibrary), dsLibraryFailed);
  f.Order = 41;
  EXPECT_NO_THROW(DesignFilterRecord(ws, 0, f, result));
  EXPECT_EQ(result.Count, 21);
}

// How a finished run becomes coefficients, from a response set by hand: the
// taps the method designed are checked and cut, and the status decides the
// flag; a library design of one tap stands as zeros.
TEST(FinishDesign, CutsCheckedTapsOrRefusesThem) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    std::uint8_t method;
    std::vector<double> response;
    int delay;
    TDesignStatus status;
    const char* message;  // nullptr: finished
    std::vector<double> coefficients;
    std::uint8_t iterationLimit;
  } cases[] = {
      {"own exchange", dmOwnExchange, {1, 2, 3, 2, 1}, 0, dsDone, nullptr, {0.5, 2 / 6.0, 1 / 6.0}, 0},
      {"own exchange, delay 1", dmOwnExchange, {1, 2, 3, 2, 1}, 1, dsDone, nullptr, {0.25, 3 / 8.0, 0.25, 1 / 8.0}, 0},
      {"at the iteration limit", dmOwnExchange, {1, 2, 3, 2, 1}, 0, dsIterationLimit, nullptr, {0.5, 2 / 6.0, 1 / 6.0}, 1},
      {"library", dmLibrary, {1, 3, 3, 1}, 0, dsDone, nullptr, {0.75, 0.25}, 0},
      {"a tap not a number", dmOwnExchange, {1, 2, 3, 2, nan}, 0, dsDone, msgResponseNotFinite, {}, 0},
      // A tap before the cut counts too: the whole response must be finite.
      {"an infinite tap before the cut", dmLibrary, {inf, 3, 3, 1}, 0, dsDone, msgResponseNotFinite, {}, 0},
      {"taps summing to 0", dmOwnExchange, {1, -1, 0, 1, -1}, 0, dsDone, msgCoefficientSumNearZero, {}, 0},
      {"the library failed", dmLibrary, {1, 3, 3, 1}, 0, dsLibraryFailed, msgLibraryDesignFailed, {}, 0},
      // One library tap designs nothing: its delay's zeros are the result.
      {"one library tap", dmLibrary, {0}, 2, dsDone, nullptr, {0, 0, 0}, 0},
      // An own exchange of nothing is a failure all the same.
      {"one own tap of 0", dmOwnExchange, {0}, 0, dsDone, msgCoefficientSumNearZero, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDesignWorkspace ws;
    const int taps = static_cast<int>(c.response.size());
    std::copy(c.response.begin(), c.response.end(), ws.ImpulseResponse.begin());
    // The entry after the taps is no part of the design and is never read.
    ws.ImpulseResponse[static_cast<std::size_t>(taps)] = nan;
    ws.KernelLength = c.method == dmOwnExchange ? taps : taps + 1;
    ws.ImpulseLength = c.method == dmOwnExchange ? taps - 1 : taps;
    ws.IterationLimitReached = 7;
    if (c.message != nullptr) {
      EXPECT_TRUE(orvel::testing::Raises<EDesignFailed>([&] { FinishDesign(ws, c.method, c.delay, c.status); },
                                                        c.message));
      continue;
    }
    FinishDesign(ws, c.method, c.delay, c.status);
    EXPECT_EQ(ws.IterationLimitReached, c.iterationLimit);
    ASSERT_EQ(ws.DesignCoefCount, static_cast<int>(c.coefficients.size()));
    for (std::size_t k = 0; k < c.coefficients.size(); ++k)
      EXPECT_DOUBLE_EQ(ws.DesignCoefficients.Coef[k], c.coefficients[k]) << k;
    EXPECT_EQ(ws.DesignCoefficients.Coef[c.coefficients.size()], 0.0);
  }
}

}  // namespace
}  // namespace workbench
