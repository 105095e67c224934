// Signal files against independent peers: WAV files that sox makes, read
// with the channels, rate, precision, length and samples that scipy or sox
// give; records that numpy builds, read back; files the writer makes, parsed
// by numpy, scipy and soxi. signal_file_oracle.py runs the peers.
// Covers signal/SignalRead.cpp, signal/SignalReadFormats.cpp, signal/SignalWrite.cpp,
// signal/AcmConverter.cpp.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "signal/SignalFiles.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::CommandOutput;
using orvel::testing::FileBytes;
using orvel::testing::Raises;
using orvel::testing::TTempDir;
using namespace signal_test;

std::string Oracle(const std::string& Command, const std::string& Target) {
  return CommandOutput(std::string(ORVEL_PYTHON) + " '" + ORVEL_TEST_SOURCE_DIR + "/signal_file_oracle.py' " +
                       Command + " '" + Target + "'");
}

std::vector<double> F64File(const std::string& Path) {
  const std::string b = FileBytes(Path);
  std::vector<double> v(b.size() / 8);
  if (!v.empty()) std::memcpy(v.data(), b.data(), v.size() * 8);
  return v;
}

std::vector<std::vector<std::string>> Lines(const std::string& Text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(Text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::vector<std::string> w;
    std::string word;
    while (words >> word) w.push_back(word);
    if (!w.empty()) lines.push_back(w);
  }
  return lines;
}

// Every value of the reader's current record, frame after frame.
std::vector<double> WholeRecord(sig::TSignalRead& Reader) {
  std::vector<double> all;
  for (int guard = 0; guard < 100000; ++guard) {
    if (Reader.Pull() == 2) break;
    const std::vector<double> frame = ValuesOf(Reader);
    all.insert(all.end(), frame.begin(), frame.end());
  }
  return all;
}

TEST(SignalFileOracle, SoxWavesReadWithTheirShapeAndSamples) {
  TTempDir dir;
  const std::string listing = Oracle("wav", dir.Path().string());
  int files = 0;
  for (const auto& w : Lines(listing)) {
    ASSERT_EQ(w.size(), 5u) << listing;
    const std::string name = w[0];
    const int channels = std::stoi(w[1]), rate = std::stoi(w[2]), bits = std::stoi(w[3]), length = std::stoi(w[4]);
    SCOPED_TRACE(name);
    const std::vector<double> expected = F64File(dir.File(name + ".f64"));
    sig::TSignalRead r;
    r.SetFileName(dir.File(name + ".wav"));
    r.SetForceLength(false);
    r.SetLength(4096);
    ASSERT_EQ(orvel::testing::RaisedMessage([&] { r.OpenFile(); }), "<none>");
    EXPECT_EQ(r.ChannelCount(), channels) << name;
    EXPECT_EQ(r.SamplingFrequency(), rate) << name;
    EXPECT_EQ(r.RecordLength(), length) << name;
    const numeric::TPrecision precision = bits == 8    ? numeric::prByte
                                          : bits == 16 ? numeric::prSmallInt
                                          : bits == 24 ? numeric::prInt24
                                          : name == "f32" ? numeric::prSingle
                                                          : numeric::prInteger;
    EXPECT_EQ(r.Precision(), precision) << name;
    r.CloseFile();
    const std::vector<double> read = WholeRecord(r);
    ASSERT_EQ(read.size(), expected.size()) << name;
    std::size_t differ = 0;
    for (std::size_t i = 0; i < read.size(); ++i) differ += read[i] != expected[i];
    EXPECT_EQ(differ, 0u) << name << ": samples that differ from the peer's";
    ++files;
  }
  EXPECT_EQ(files, 11);
}

TEST(SignalFileOracle, ImaAdpcmKeepsThePaddedLastBlock) {
  TTempDir dir;
  Oracle("wav", dir.Path().string());
  sig::TSignalRead r;
  r.SetFileName(dir.File("ima.wav"));
  r.SetLength(1000);
  // Whole blocks of 505 samples cannot give frames of exactly 1000.
  EXPECT_TRUE(Raises([&] { r.OpenFile(); },
                     "The suggested Length of the data block can not be used with the current audio format!"));
  r.SetForceLength(false);
  r.OpenFile();
  EXPECT_EQ(r.RecordLength(), 1010);
  EXPECT_EQ(r.Length(), 1010);
  EXPECT_EQ(ValuesOf(r), F64File(dir.File("ima.f64")));
  EXPECT_EQ(sig::FileFormatToText(r), "IMA ADPCM");
  EXPECT_EQ(sig::SignalFileInfoText(r), "8.000 kHz, 4 Bit, Mono");
}

TEST(SignalFileOracle, NumpyRecordsReadBack) {
  TTempDir dir;
  const std::string listing = Oracle("records", dir.Path().string());
  std::map<std::string, int> records;
  for (const auto& w : Lines(listing)) {
    ASSERT_EQ(w.size(), 6u) << listing;
    const std::string file = w[0];
    const int record = std::stoi(w[1]), count = std::stoi(w[2]), channels = std::stoi(w[4]);
    const double rate = std::stod(w[3]);
    const auto precision = static_cast<numeric::TPrecision>(std::stoi(w[5]));
    sig::TSignalRead r;
    r.SetFileName(dir.File(file));
    r.SetLength(count + 3);
    r.OpenFile();
    r.SetRecordNumber(record);
    const std::string where = file + " record " + w[1];
    EXPECT_EQ(r.RecordNumber(), record) << where;
    EXPECT_EQ(r.ChannelCount(), channels) << where;
    EXPECT_EQ(r.RecordLength(), count / channels) << where;
    EXPECT_EQ(r.Precision(), precision) << where;
    if (count > 0) {
      EXPECT_NEAR(r.SamplingFrequency(), rate, rate * 1e-6) << where;
    }
    std::vector<double> expected = F64File(dir.File(file + "." + w[1] + ".f64"));
    expected.resize(static_cast<std::size_t>(count + 3), 0.0);
    EXPECT_EQ(ValuesOf(r), expected) << where;
    records[file] = std::max(records[file], record + 1);
  }
  EXPECT_EQ(records["numpy.dat"], 3);
  EXPECT_EQ(records["numpy.bin"], 4);
  EXPECT_EQ(records["numpy.dbn"], 3);
  // A record number beyond the last selects the last.
  sig::TSignalRead r;
  r.SetFileName(dir.File("numpy.dbn"));
  r.OpenFile();
  r.SetRecordNumber(99);
  EXPECT_EQ(r.RecordNumber(), 2);
  EXPECT_EQ(r.RecordLength(), 1);
}

// Writes two blocks of Frames frames through W into File, value i of block b
// being Value(b, i); returns every value written.
template <class F>
std::vector<double> WriteTwoBlocks(sig::TSignalWrite& W, const std::string& File, int Frames, int Channels, double Fs,
                                   F&& Value) {
  sig::TSignal source;
  W.SetInput(&source);
  W.SetFileName(File);
  std::vector<double> all;
  for (int block = 0; block < 2; ++block) {
    std::vector<double> values;
    for (int i = 0; i < Frames * Channels; ++i) values.push_back(Value(block, i));
    all.insert(all.end(), values.begin(), values.end());
    Fill(source, values, Fs, Channels);
    EXPECT_EQ(W.Pull(), 0);
  }
  W.CloseFile();
  W.SetInput(nullptr);
  return all;
}

struct TWritten {
  const char* Name;
  std::int32_t Channels;
  numeric::TPrecision Precision;
};

TEST(SignalFileOracle, FilesWrittenInTwoBlocksParseInNumpy) {
  TTempDir dir;
  const TWritten cases[] = {{"a.dat", 2, numeric::prDouble}, {"b.dat", 1, numeric::prSmallInt},
                            {"c.bin", 1, numeric::prDouble}, {"d.dbn", 1, numeric::prDouble},
                            {"e.sfs", 1, numeric::prDouble}, {"f.asc", 1, numeric::prDouble}};
  for (const TWritten& c : cases) {
    sig::TSignalWrite w;
    w.SetPrecision(c.Precision);
    const std::vector<double> all = WriteTwoBlocks(w, dir.File(c.Name), 300, c.Channels, 200.0,
                                                   [](int block, int i) { return (block * 1000 + i) * 0.25 - 37; });
    const auto lines = Lines(Oracle("parse", dir.File(c.Name)));
    ASSERT_EQ(lines.size(), 1u) << c.Name;
    const auto& f = lines[0];
    EXPECT_EQ(f[1], std::to_string(600 * c.Channels)) << c.Name;
    const std::string ext = std::string(c.Name).substr(1);
    if (ext == ".dat") {
      EXPECT_EQ(std::stod(f[2]), 200.0);
      EXPECT_EQ(f[3], std::to_string(c.Channels));
      EXPECT_EQ(f[4], std::to_string(c.Precision));
    } else if (ext == ".asc") {
      EXPECT_NEAR(std::stod(f[2]), 200.0, 1e-9);
      const std::vector<double> times = F64File(dir.File(std::string(c.Name) + ".times.f64"));
      for (std::size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], i / 200.0, 1e-12) << i;
    } else {
      EXPECT_NEAR(std::stod(f[2]), 3.0, ext == ".bin" ? 1e-6 : 1e-15) << c.Name;
    }
    const std::vector<double> parsed = F64File(dir.File(std::string(c.Name) + ".0.f64"));
    ASSERT_EQ(parsed.size(), all.size()) << c.Name;
    for (std::size_t i = 0; i < all.size(); ++i)
      ASSERT_EQ(parsed[i], c.Precision == numeric::prSmallInt ? std::trunc(all[i]) : all[i]) << c.Name << " " << i;
  }
}

struct TWave {
  const char* Name;
  std::int32_t Channels;
  numeric::TPrecision Precision;
  const char* Bits;
};

TEST(SignalFileOracle, WrittenWavesAreAcceptedBySoxi) {
  TTempDir dir;
  const TWave cases[] = {{"s16.wav", 2, numeric::prSmallInt, "16"}, {"u8.wav", 1, numeric::prByte, "8"},
                         {"s24.wav", 2, numeric::prInt24, "24"},    {"f32.wav", 1, numeric::prSingle, "32"},
                         {"s32.wav", 1, numeric::prInteger, "32"},  {"s16x3.wav", 3, numeric::prSmallInt, "16"}};
  for (const TWave& c : cases) {
    sig::TSignalWrite w;
    w.SetPrecision(c.Precision);
    w.SetRounding(numeric::rnRound);
    w.SetAuthorInfo("Orvel");
    const int n = 333 * c.Channels;
    const std::vector<double> all = WriteTwoBlocks(w, dir.File(c.Name), 333, c.Channels, 22050.0,
                                                   [n](int block, int i) { return ((block * n + i) % 200) - 100; });
    const auto lines = Lines(Oracle("parse", dir.File(c.Name)));
    ASSERT_GE(lines.size(), 3u) << c.Name;
    EXPECT_EQ(lines[0][1], std::to_string(c.Channels)) << c.Name;
    EXPECT_EQ(lines[0][2], "22050") << c.Name;
    EXPECT_EQ(lines[0][3], c.Bits) << c.Name;
    EXPECT_EQ(lines[0][4], "666") << c.Name;
    EXPECT_EQ(lines[1][1], "fmt_:40") << c.Name;
    EXPECT_EQ(lines[1].back().substr(0, 5), "LIST:") << c.Name;
    EXPECT_EQ(lines[2][1], "INFO") << c.Name;
    EXPECT_EQ(F64File(dir.File(std::string(c.Name) + ".f64")), all) << c.Name;
  }
}

}  // namespace
