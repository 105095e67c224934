// Every reader over damaged files: headers and bodies of valid files of each
// format are mutated at random, and each result is opened and read to the
// end of every record with random frame settings. A file may be refused
// (with the class library's exception) but nothing may crash, hang or read
// past its end (the sanitizer build checks the last).
// Covers signal/SignalReadFormats.cpp, signal/WaveFormat.cpp, signal/AcmConverter.cpp.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "signal/SignalFiles.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::TTempDir;
using namespace signal_test;

struct TSeed {
  std::string Name;
  std::string Bytes;
};

std::string RandomBytes(std::mt19937_64& Random, std::size_t N) {
  std::string b(N, '\0');
  for (char& c : b) c = static_cast<char>(Random() & 0xFF);
  return b;
}

// A compressed format with its samples per block.
std::string CompressedFormat(std::uint16_t Tag, std::uint16_t Channels, std::int32_t Avg, std::uint16_t Align,
                             std::uint16_t Bits, std::uint16_t SamplesPerBlock) {
  std::string extra;
  PutU16(extra, SamplesPerBlock);
  return FormatChunk(Tag, Channels, 8000, Avg, Align, Bits, extra);
}

std::vector<TSeed> Seeds(std::mt19937_64& Random) {
  std::vector<double> ramp = Ramp(300), stereo = Ramp(2 * 150);
  std::string int16Record;
  PutI32(int16Record, 100);
  PutF64(int16Record, 8000.0);
  PutI32(int16Record, 4);
  PutI32(int16Record, 0);
  PutI32(int16Record, 1);
  int16Record += RandomBytes(Random, 200);
  const std::string ext = FormatChunk(0xFFFE, 2, 48000, 48000 * 6, 6, 24, ExtensiblePart(24, 3, sig::KSDATAFORMAT_SUBTYPE_PCM));
  std::string sgl = "3\r\n0.5\r\n1;2.5;-3\r\n2\r\n2\r\n1+2i;-4i\r\n";
  std::string sfs = "5\r\n0.005\r\n\r\n1\r\n2.5\r\n-3\r\n4E-3\r\n5\r\n";
  std::string asc;
  for (int i = 0; i < 40; ++i) asc += std::to_string(i * 0.01) + "\t" + std::to_string(i * 1.5) + "\r\n";
  return {
      {"a.dat", DatRecord(stereo, 100, 2) + int16Record + DatRecord({1, 2, 3, 4}, 10, 1, true)},
      {"a.bin", BinRecord(ramp, 3.0f) + BinRecord({}, 0.0f) + BinRecord(Ramp(7), 0.07f)},
      {"a.dbn", DbnRecord(ramp, 3.0) + DbnRecord(Ramp(1), 1.0)},
      {"a.sgl", sgl},
      {"a.sfs", sfs},
      {"a.asc", asc},
      {"pcm.wav", WaveFile(PcmFormat(2, 8000, 16), RandomBytes(Random, 400))},
      {"u8.wav", WaveFile(PcmFormat(1, 8000, 8), RandomBytes(Random, 301))},
      {"ext.wav", WaveFile(ext, RandomBytes(Random, 600))},
      {"ima.wav", WaveFile(CompressedFormat(0x11, 1, 4055, 256, 4, 505), RandomBytes(Random, 512))},
      {"ima2.wav", WaveFile(CompressedFormat(0x11, 2, 8110, 512, 4, 505), RandomBytes(Random, 1024))},
      {"gsm.wav", WaveFile(CompressedFormat(0x31, 1, 1625, 65, 0, 320), RandomBytes(Random, 195))},
      {"ulaw.wav", WaveFile(FormatChunk(7, 1, 8000, 8000, 1, 8), RandomBytes(Random, 333))},
  };
}

void Mutate(std::string& Bytes, std::mt19937_64& Random) {
  static const std::int32_t specials[] = {0, -1, 1, 2, 3, 255, 256, 65535, 65536, 0x7FFFFFFF,
                                          static_cast<std::int32_t>(0x80000000), 0x7FFF, -2, 40, 129, 1000000};
  const int mutations = 1 + static_cast<int>(Random() % 6);
  for (int m = 0; m < mutations && !Bytes.empty(); ++m) {
    // Half the changes hit the first 64 bytes, where the headers are.
    const std::size_t span = Random() % 2 == 0 ? std::min<std::size_t>(Bytes.size(), 64) : Bytes.size();
    const std::size_t at = Random() % span;
    switch (Random() % 6) {
      case 0:
        Bytes[at] = static_cast<char>(Bytes[at] ^ (1 << (Random() % 8)));
        break;
      case 1:
        Bytes[at] = static_cast<char>(Random() & 0xFF);
        break;
      case 2: {
        const std::int32_t v = specials[Random() % std::size(specials)];
        for (int i = 0; i < 4 && at + i < Bytes.size(); ++i) Bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        break;
      }
      case 3:
        Bytes.resize(at);
        break;
      case 4:
        Bytes += RandomBytes(Random, Random() % 64);
        break;
      default:
        Bytes.insert(at, Bytes.substr(at, Random() % 32));
        break;
    }
  }
}

struct TFuzzFigures {
  int Files = 0;
  int Read = 0;
  int Refused = 0;
  long long Frames = 0;
  double WorstMs = 0;
  std::map<std::string, int> Messages;
};

struct TRemoveFile {
  std::string Path;
  ~TRemoveFile() { std::remove(Path.c_str()); }
};

// A message with the file's name left out, numbers as '#' and quoted text as "..".
std::string MessageKind(std::string Message, const std::string& Path) {
  for (std::size_t at; (at = Message.find(Path)) != std::string::npos;) Message.replace(at, Path.size(), "<file>");
  std::string kind;
  bool quoted = false;
  for (char c : Message) {
    if (c == '"') {
      quoted = !quoted;
      if (!quoted) kind += "\"..\"";
      continue;
    }
    if (quoted) continue;
    const bool hex = kind.size() >= 2 && kind.compare(kind.size() - 2, 2, "#x") == 0;
    if (hex && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) continue;
    if (c < ' ' || c > '~') c = '?';
    if (c >= '0' && c <= '9') {
      if (kind.empty() || kind.back() != '#') kind += '#';
      continue;
    }
    if (c == '.' && !kind.empty() && kind.back() == '#') continue;
    kind += c;
  }
  return kind.substr(0, 90);
}

// Opens and reads every record of the file to its end; false when a record
// never ends.
// Plain: frames of the converter's own size, so that every seed reads.
bool ReadAll(const std::string& Path, bool Plain, std::mt19937_64& Random, TFuzzFigures& Figures) {
  sig::TSignalRead r;
  r.SetFileName(Path);
  r.SetLength(1 + static_cast<std::int32_t>(Random() % 700));
  r.SetForceLength(!Plain && Random() % 2 == 0);
  r.SetLastFrameCheck(Random() % 2 == 0);
  if (!Plain && Random() % 3 == 0) r.SetOverlappingPercent(static_cast<double>(Random() % 160));
  r.OpenFile();
  const std::int32_t records = std::min(r.NumberOfRecords(), 20);
  for (std::int32_t record = 0; record < records; ++record) {
    r.SetRecordNumber(record);
    // Every frame moves on by one sample at least.
    const long long limit = static_cast<long long>(r.RecordLength()) + 4;
    long long pulls = 0;
    while (r.Pull() != 2) {
      ++Figures.Frames;
      if (++pulls > limit) return false;
    }
    r.OpenFile();
  }
  return true;
}

void Fuzz(int PerSeed, std::uint64_t Seed) {
  std::mt19937_64 random(Seed);
  TTempDir dir;
  TFuzzFigures figures;
  for (const TSeed& seed : Seeds(random)) {
    for (int i = 0; i < PerSeed; ++i) {
      std::string bytes = seed.Bytes;
      if (i > 0) Mutate(bytes, random);
      // A plain write of a new file: the safe writer's flush to disk, or
      // truncating the last one, would cost more than the read.
      const std::string path = dir.File(std::to_string(i) + seed.Name);
      std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      const TRemoveFile remove{path};
      ++figures.Files;
      const auto start = std::chrono::steady_clock::now();
      try {
        ASSERT_TRUE(ReadAll(path, i == 0, random, figures)) << seed.Name << " #" << i << ": a record never ends";
        ++figures.Read;
      } catch (const classlib::Exception& e) {
        ASSERT_NE(i, 0) << seed.Name << ": " << e.Message();
        ++figures.Refused;
        ++figures.Messages[MessageKind(e.Message(), path)];
      }
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      figures.WorstMs = std::max(figures.WorstMs, ms);
    }
  }
  std::printf("fuzz: %d files, %d read to the end (%lld frames), %d refused, slowest %.1f ms\n", figures.Files,
              figures.Read, figures.Frames, figures.Refused, figures.WorstMs);
  for (const auto& [message, count] : figures.Messages) std::printf("  %6d  %s\n", count, message.c_str());
  EXPECT_GT(figures.Read, figures.Files / 10);
  EXPECT_GT(figures.Refused, figures.Files / 10);
}

TEST(SignalFileFuzz, EveryReaderSurvivesDamagedFiles) { Fuzz(150, orvel::testing::TestSeed(20240611)); }

TEST(SignalFileFuzz, ManyDamagedFiles) { Fuzz(4000, orvel::testing::TestSeed(7)); }

}  // namespace
