// Truncated and corrupted component streams: never a crash, a message every
// time a read fails, and the target exactly as it was. CI runs this under
// AddressSanitizer, which also catches a read past a buffer.
// Covers: ObjectStreamBinary.cpp, ObjectStreamText.cpp, ComponentReader.cpp.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>

#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/WarningSink.h"
#include "platform/classlib/tests/StreamFixtures.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using namespace streamtest;
using orvel::testing::RaisedMessage;
using orvel::testing::TestSeed;

// A chart in a state of its own, so that any read that gets through changes it.
std::unique_ptr<TStreamChart> MakeTarget() {
  auto chart = MakeStreamChart();
  chart->SetTitle("target");
  static_cast<TStreamSeries*>(chart->FindComponent("Series1"))->SetCount(3);
  return chart;
}

// What a failed read must leave as it found it: every streamed value, and the
// very objects (a read must not swap children behind their holders' backs).
struct TSnapshot {
  std::string Text;
  std::vector<TComponent*> Components;

  explicit TSnapshot(const TComponent& c) : Text(ComponentToText(c)) {
    for (int i = 0; i < c.ComponentCount(); ++i) Components.push_back(c.Components(i));
  }
  bool operator==(const TSnapshot&) const = default;
};

std::string Source() {
  auto chart = MakeStreamChart();
  TStringStream s;
  WriteComponent(s, *chart);
  return s.DataString();
}

void MendChecksum(std::string& bytes) {
  const auto crc = static_cast<std::uint32_t>(
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size() - 4)));
  std::memcpy(bytes.data() + bytes.size() - 4, &crc, 4);
}

// Reads bytes into a fresh target; a failure must say why and change nothing.
// Returns whether the read succeeded.
bool ReadChecked(const std::string& bytes, const std::string& what) {
  auto target = MakeTarget();
  const TSnapshot before(*target);
  TWarningRecorder warnings;
  TStringStream in(bytes);
  const std::string message = RaisedMessage([&] { ReadComponent(in, *target); });
  if (message == "<none>") return true;
  EXPECT_FALSE(message.empty()) << what;
  EXPECT_TRUE(TSnapshot(*target) == before) << what << ": " << message;
  EXPECT_EQ(in.Position(), 0) << what;
  return false;
}

// Source with 1 to maxFlips bytes flipped in [first, last]: by a random mask,
// or by one bit. what says where, to repeat a failure by hand.
std::string Flipped(const std::string& source, std::mt19937_64& random, std::size_t first, std::size_t last,
                    int maxFlips, bool oneBit, std::string& what) {
  std::uniform_int_distribution<std::size_t> position(first, last);
  std::uniform_int_distribution<int> mask(1, 255);
  std::uniform_int_distribution<int> count(1, maxFlips);
  std::string bytes = source;
  what = "flips";
  for (int k = count(random); k > 0; --k) {
    const std::size_t at = position(random);
    const int m = oneBit ? 1 << (mask(random) % 8) : mask(random);
    bytes[at] = static_cast<char>(bytes[at] ^ m);
    what += " " + std::to_string(at) + "^" + std::to_string(m);
  }
  return bytes;
}

class ComponentStreamFuzz : public ::testing::Test {
 protected:
  void SetUp() override { RegisterStreamClasses(); }
};

TEST_F(ComponentStreamFuzz, EveryTruncationIsRefused) {
  const std::string source = Source();
  for (std::size_t n = 0; n < source.size(); ++n)
    EXPECT_FALSE(ReadChecked(source.substr(0, n), "cut at " + std::to_string(n)));
  EXPECT_TRUE(ReadChecked(source, "whole"));
}

TEST_F(ComponentStreamFuzz, EveryByteFlipIsRefused) {
  const std::string source = Source();
  std::mt19937_64 random(TestSeed(20240611));
  for (int i = 0; i < 3000; ++i) {
    std::string what;
    const std::string bytes = Flipped(source, random, 0, source.size() - 1, 4, false, what);
    if (bytes == source) continue;
    EXPECT_FALSE(ReadChecked(bytes, what));
  }
}

// With the checksum mended, flipped bytes reach the parser and the reader:
// each stream is read whole or refused whole.
TEST_F(ComponentStreamFuzz, FlipsBehindAMendedChecksumAreReadWhollyOrRefusedWholly) {
  const std::string source = Source();
  std::mt19937_64 random(TestSeed(19970101));
  int read = 0;
  int refused = 0;
  for (int i = 0; i < 5000; ++i) {
    std::string what;
    std::string bytes = Flipped(source, random, 4, source.size() - 5, 3, true, what);
    MendChecksum(bytes);
    (ReadChecked(bytes, what) ? read : refused) += 1;
  }
  // Both outcomes must occur, or the mutations never reached the reader.
  EXPECT_GT(read, 100);
  EXPECT_GT(refused, 100);
}

TEST_F(ComponentStreamFuzz, TextMutationsAreReadWhollyOrRefusedWholly) {
  const std::string source = ComponentToText(*MakeStreamChart());
  std::mt19937_64 random(TestSeed(7));
  std::uniform_int_distribution<std::size_t> position(0, source.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> kind(0, 2);
  int refused = 0;
  for (int i = 0; i < 2000; ++i) {
    std::string text = source;
    const std::size_t at = position(random);
    switch (kind(random)) {
      case 0: text[at] = static_cast<char>(byte(random)); break;
      case 1: text.erase(at, 1); break;
      default: text.insert(at, 1, "=()<>[]{}'#.:\n "[byte(random) % 15]); break;
    }
    auto target = MakeTarget();
    const TSnapshot before(*target);
    TWarningRecorder warnings;
    const std::string message = RaisedMessage([&] { ReadComponentText(text, *target); });
    if (message == "<none>") continue;
    ++refused;
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(TSnapshot(*target) == before) << "at " << at << ": " << message;
  }
  EXPECT_GT(refused, 100);
}

}  // namespace
