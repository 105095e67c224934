// Covers platform/spl/SampleConversions.cpp: integer packing with each
// rounding, clipping and wrapping, the way back to doubles, and the G.711
// bytes of every 16-bit sample against the tables in data/g711_tables.csv
// (made by data/gen_g711_tables.py from Python's audioop).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/spl/SampleConversions.h"
#include "testing/TestSupport.h"

namespace spl {
namespace {

using orvel::testing::kInf;
using orvel::testing::kNaN;

// The integer stored for x, read back in the type's own width and sign.
long long Stored(double x, int bits, int flags) {
  unsigned char buffer[8] = {};
  nspdbFloatToInt(&x, buffer, 1, bits, flags);
  const bool isUnsigned = (flags & NSP_Unsigned) != 0;
  switch (bits) {
    case 8:
      return isUnsigned ? static_cast<long long>(buffer[0]) : static_cast<signed char>(buffer[0]);
    case 16: {
      std::int16_t s;
      std::uint16_t u;
      std::memcpy(&s, buffer, 2);
      std::memcpy(&u, buffer, 2);
      return isUnsigned ? u : s;
    }
    default: {
      std::int32_t s;
      std::uint32_t u;
      std::memcpy(&s, buffer, 4);
      std::memcpy(&u, buffer, 4);
      return isUnsigned ? static_cast<long long>(u) : s;
    }
  }
}

TEST(SampleConversions, RoundingClippingAndWrapping) {
  struct Case {
    double X;
    int Bits;
    int Flags;
    long long Expected;
  };
  const int clip = NSP_Clip;
  const Case cases[] = {
      // rounding, halves to even; the default is rounding
      {2.5, 32, NSP_Round | clip, 2},     {3.5, 32, NSP_Round | clip, 4},     {-2.5, 32, NSP_Round | clip, -2},
      {2.7, 32, clip, 3},                 {-2.7, 32, NSP_Round | clip, -3},
      // truncations
      {2.7, 32, NSP_TruncZero | clip, 2}, {-2.7, 32, NSP_TruncZero | clip, -2},
      {-2.2, 16, NSP_TruncNeg | clip, -3}, {2.2, 16, NSP_TruncPos | clip, 3},
      // clipping to each type's range
      {3e9, 32, NSP_Round | clip, 2147483647}, {-3e9, 32, NSP_TruncZero | clip, -2147483648LL},
      {40000, 16, NSP_Round | clip, 32767}, {-40000, 16, NSP_Round | clip, -32768},
      {300, 8, NSP_Round | clip, 127},   {-5, 8, NSP_Unsigned | NSP_Round | clip, 0},
      {300, 8, NSP_Unsigned | NSP_Round | clip, 255}, {5e9, 32, NSP_Unsigned | NSP_Round | clip, 4294967295LL},
      {kInf, 16, NSP_Round | clip, 32767}, {-kInf, 8, NSP_Unsigned | clip, 0},
      // without clipping the low bits are kept
      {40000, 16, NSP_Round, -25536},    {257, 8, NSP_Unsigned | NSP_Round, 1}, {-1, 16, NSP_Unsigned, 65535},
      {4294967296.0 + 5, 32, NSP_Round, 5}, {-2147483649.0, 32, NSP_Round, 2147483647},
      {1e300, 32, NSP_Round, 0},         {kInf, 32, NSP_Round, 0},
      // NaN stores 0 either way
      {kNaN, 16, NSP_Round | clip, 0},   {kNaN, 32, NSP_Round, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Stored(c.X, c.Bits, c.Flags), c.Expected) << c.X << " to " << c.Bits << " bits, flags " << c.Flags;
}

TEST(SampleConversions, IntegersBackToDoublesExactly) {
  const std::int8_t s8[] = {-128, -1, 0, 127};
  const std::uint8_t u8[] = {0, 1, 128, 255};
  const std::int16_t s16[] = {-32768, -1, 0, 32767};
  const std::uint16_t u16[] = {0, 1, 32768, 65535};
  const std::int32_t s32[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 2147483647};
  const std::uint32_t u32[] = {0, 1, 2147483648u, 4294967295u};
  struct Case {
    const void* Src;
    int Bits;
    int Flags;
    std::vector<double> Expected;
  };
  const Case cases[] = {
      {s8, 8, 0, {-128, -1, 0, 127}},
      {u8, 8, NSP_Unsigned, {0, 1, 128, 255}},
      {s16, 16, 0, {-32768, -1, 0, 32767}},
      {u16, 16, NSP_Unsigned, {0, 1, 32768, 65535}},
      {s32, 32, 0, {-2147483648.0, -1, 0, 2147483647}},
      {u32, 32, NSP_Unsigned, {0, 1, 2147483648.0, 4294967295.0}},
  };
  for (const Case& c : cases) {
    std::vector<double> out(4);
    nspdbIntToFloat(c.Src, out.data(), 4, c.Bits, c.Flags);
    EXPECT_EQ(out, c.Expected) << c.Bits << " bits, flags " << c.Flags;
  }
}

TEST(SampleConversions, OtherWordSizesRaiseAndWriteNothing) {
  double x = 1.0;
  unsigned char buffer[4] = {9, 9, 9, 9};
  EXPECT_THROW(nspdbFloatToInt(&x, buffer, 1, 24, NSP_Round), classlib::Exception);
  EXPECT_THROW(nspdbIntToFloat(buffer, &x, 1, 12, 0), classlib::Exception);
  EXPECT_EQ(buffer[0], 9);
  EXPECT_EQ(x, 1.0);
}

// law -> kind -> key -> value, from the committed table.
std::map<std::string, std::map<std::string, std::map<int, int>>> ReadG711Tables() {
  std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/g711_tables.csv");
  std::map<std::string, std::map<std::string, std::map<int, int>>> tables;
  std::string line;
  std::getline(file, line);
  while (std::getline(file, line)) {
    std::stringstream fields(line);
    std::string law, kind, key, value;
    std::getline(fields, law, ',');
    std::getline(fields, kind, ',');
    std::getline(fields, key, ',');
    std::getline(fields, value, ',');
    tables[law][kind][std::stoi(key)] = std::stoi(value);
  }
  return tables;
}

using Encoder = void (*)(const double*, std::uint8_t*, int);
using Decoder = void (*)(const std::uint8_t*, double*, int);

TEST(SampleConversions, G711BytesOfEverySixteenBitSample) {
  const auto tables = ReadG711Tables();
  ASSERT_EQ(tables.size(), 2u) << "data/g711_tables.csv missing or malformed";
  const std::pair<const char*, std::pair<Encoder, Decoder>> laws[] = {
      {"mulaw", {nspdbLinToMuLaw, nspdbMuLawToLin}},
      {"alaw", {nspdbLinToALaw, nspdbALawToLin}},
  };
  std::vector<double> samples(65536);
  for (int i = 0; i < 65536; ++i) samples[static_cast<std::size_t>(i)] = i - 32768;
  for (const auto& [law, codec] : laws) {
    const auto& runs = tables.at(law).at("encode");
    const auto& decoded = tables.at(law).at("decode");
    ASSERT_EQ(decoded.size(), 256u);

    std::vector<std::uint8_t> bytes(65536);
    codec.first(samples.data(), bytes.data(), 65536);
    int mismatches = 0;
    for (int sample = -32768; sample <= 32767; ++sample) {
      const int expected = std::prev(runs.upper_bound(sample))->second;
      const int actual = bytes[static_cast<std::size_t>(sample + 32768)];
      if (actual != expected && ++mismatches <= 5)
        ADD_FAILURE() << law << "(" << sample << ") = " << actual << ", expected " << expected;
    }
    EXPECT_EQ(mismatches, 0) << law;

    std::vector<std::uint8_t> all(256);
    for (int b = 0; b < 256; ++b) all[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
    std::vector<double> linear(256);
    codec.second(all.data(), linear.data(), 256);
    for (int b = 0; b < 256; ++b)
      EXPECT_EQ(linear[static_cast<std::size_t>(b)], decoded.at(b)) << law << " byte " << b;
  }
}

TEST(SampleConversions, G711RoundsAndClipsDoublesFirst) {
  const std::vector<double> x = {0.4, -0.4, 99.5, 100.5, 32767.6, 1e9, -40000.0, kNaN};
  const std::vector<double> as16 = {0, 0, 100, 100, 32767, 32767, -32768, 0};
  for (auto [encode, name] : {std::pair<Encoder, const char*>{nspdbLinToMuLaw, "mulaw"},
                              std::pair<Encoder, const char*>{nspdbLinToALaw, "alaw"}}) {
    std::vector<std::uint8_t> fromDoubles(x.size()), fromIntegers(x.size());
    encode(x.data(), fromDoubles.data(), static_cast<int>(x.size()));
    encode(as16.data(), fromIntegers.data(), static_cast<int>(x.size()));
    EXPECT_EQ(fromDoubles, fromIntegers) << name;
  }
}

}  // namespace
}  // namespace spl
