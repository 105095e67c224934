// The signal file writer: headers patched on close, the text formats, WAV
// chunks and sample conversions, the refusals, appending and the file put
// in place only when complete.
// Covers signal/SignalWrite.cpp, signal/WaveFormat.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "signal/SignalFiles.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::FileBytes;
using orvel::testing::Raises;
using orvel::testing::TTempDir;
using namespace signal_test;

std::int32_t I32(const std::string& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
double F64(const std::string& b, std::size_t at) {
  double v;
  std::memcpy(&v, b.data() + at, 8);
  return v;
}
float F32(const std::string& b, std::size_t at) {
  float v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

struct Writer : ::testing::Test {
  TTempDir Dir;
  sig::TSignal Source;
  sig::TSignalWrite W;
  Writer() { W.SetInput(&Source); }

  // Writes one block of Values through the pipeline.
  void Block(const std::vector<double>& Values, double Fs = 100.0, std::int32_t Channels = 1) {
    Fill(Source, Values, Fs, Channels);
    ASSERT_EQ(W.Pull(), 0);
  }
};

TEST_F(Writer, DatHeaderCountsEveryBlockOnClose) {
  W.SetFileName(Dir.File("two.dat"));
  Block(Ramp(256), 250.0);
  Block(Ramp(256, 256), 250.0);
  EXPECT_EQ(Dir.Listing().find("two.dat;"), std::string::npos) << "the file appears only when complete";
  W.CloseFile();
  const std::string b = FileBytes(Dir.File("two.dat"));
  ASSERT_EQ(b.size(), 24u + 512 * 8);
  EXPECT_EQ(I32(b, 0), 512);
  EXPECT_EQ(F64(b, 4), 250.0);
  EXPECT_EQ(I32(b, 12), numeric::prDouble);
  EXPECT_EQ(I32(b, 16), 0);
  EXPECT_EQ(I32(b, 20), 1);
  for (int i = 0; i < 512; ++i) ASSERT_EQ(F64(b, 24 + 8 * static_cast<std::size_t>(i)), i);
  EXPECT_EQ(Dir.Listing(), "two.dat;");
}

TEST_F(Writer, DatInAnIntegerPrecisionRoundsAsAsked) {
  W.SetFileName(Dir.File("r.dat"));
  W.SetPrecision(numeric::prSmallInt);
  W.SetRounding(numeric::rnRound);
  Block({1.5, -2.5, 40000});
  W.CloseFile();
  const std::string b = FileBytes(Dir.File("r.dat"));
  ASSERT_EQ(b.size(), 24u + 6);
  EXPECT_EQ(I32(b, 12), numeric::prSmallInt);
  EXPECT_EQ(b.substr(24), Int16Data({2, -2, 32767}));
}

TEST_F(Writer, BinAndDbnPatchCountAndDuration) {
  W.SetFileName(Dir.File("a.bin"));
  Block(Ramp(100), 48.0);
  Block(Ramp(20), 48.0);
  W.CloseFile();
  const std::string b = FileBytes(Dir.File("a.bin"));
  ASSERT_EQ(b.size(), 8u + 120 * 4);
  EXPECT_EQ(I32(b, 0), 120);
  EXPECT_EQ(F32(b, 4), static_cast<float>(120 / 48.0));
  EXPECT_EQ(F32(b, 8 + 4 * 119), 19.0f);
  W.SetFileName(Dir.File("a.dbn"));
  Block({0.1, 0.2, 0.3}, 3.0);
  W.CloseFile();
  const std::string d = FileBytes(Dir.File("a.dbn"));
  ASSERT_EQ(d.size(), 12u + 24);
  EXPECT_EQ(I32(d, 0), 3);
  EXPECT_EQ(F64(d, 4), 1.0);
  EXPECT_EQ(F64(d, 12 + 16), 0.3);
}

TEST_F(Writer, RecordLengthCountsPerChannel) {
  W.SetFileName(Dir.File("s.dat"));
  for (int i = 0; i < 3; ++i) Block(Ramp(512), 100.0, 2);
  EXPECT_EQ(W.TotalRecordLength(), 1536);
  EXPECT_EQ(W.RecordLength(), 768);
  EXPECT_EQ(W.RecordTime(), 7.68);
  W.CloseFile();
  EXPECT_EQ(W.TotalRecordLength(), 0);
}

TEST_F(Writer, SfsHeaderHoldsTheTotals) {
  W.SetFileName(Dir.File("a.sfs"));
  Block(Ramp(10), 1000.0);
  Block(Ramp(20, 0.5), 1000.0);
  W.CloseFile();
  const std::string text = FileBytes(Dir.File("a.sfs"));
  EXPECT_EQ(text.substr(0, 15), "30\r\n0.03\r\n\r\n0\r\n");
  EXPECT_NE(text.find("\r\n19.5\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 6), "19.5\r\n");
}

TEST_F(Writer, AscTimesContinueAcrossBlocks) {
  W.SetFileName(Dir.File("a.asc"));
  Block({1, 2}, 100.0);
  Block({3}, 100.0);
  W.CloseFile();
  EXPECT_EQ(FileBytes(Dir.File("a.asc")), "0\t1\r\n0.01\t2\r\n0.02\t3\r\n");
}

TEST_F(Writer, TextIsWrittenWithAPointWhateverTheProgramsSeparator) {
  classlib::SetDecimalSeparator(',');
  W.SetFileName(Dir.File("c.asc"));
  Block({1.5}, 4.0);
  W.CloseFile();
  classlib::SetDecimalSeparator('.');
  EXPECT_EQ(FileBytes(Dir.File("c.asc")), "0\t1.5\r\n");
}

TEST_F(Writer, SglRefusesBlocksAndLeavesAnEmptyFile) {
  W.SetFileName(Dir.File("a.sgl"));
  Fill(Source, {1, 2}, 10.0);
  EXPECT_TRUE(Raises([&] { W.Pull(); }, ": Block save not supported for this FileFormat!"));
  W.CloseFile();
  EXPECT_EQ(Dir.Listing(), "a.sgl;");
  EXPECT_EQ(FileBytes(Dir.File("a.sgl")), "");
}

TEST_F(Writer, OneRealChannelFormatsRefuseOtherInputsBeforeWriting) {
  for (const char* name : {"s.bin", "s.dbn", "s.sfs", "s.asc"}) {
    W.SetFileName(Dir.File(name));
    Fill(Source, {1, 2, 3, 4}, 10.0, 2);
    EXPECT_TRUE(Raises([&] { W.AppendBlock(); }, std::string("A ") + std::strchr(name, '.') +
                                                     " file holds one real channel: Input.ChannelCount = 2!"));
    Fill(Source, {1, 2, 3, 4}, 10.0, 1, true);
    EXPECT_TRUE(
        Raises([&] { W.AppendBlock(); }, std::string("A ") + std::strchr(name, '.') + " file holds real samples: Input.Complex = True!"));
    W.CloseFile();
  }
  EXPECT_EQ(Dir.Listing(), "");
}

TEST_F(Writer, ABlockOfAnotherShapeIsRefusedWithinARecord) {
  W.SetFileName(Dir.File("m.dat"));
  Block({1, 2}, 10.0, 2);
  Fill(Source, {1, 2}, 10.0, 1);
  EXPECT_TRUE(Raises([&] { W.AppendBlock(); },
                     "Input changed its ChannelCount or Complex within a record: the block is not written!"));
  W.CloseFile();
  EXPECT_EQ(I32(FileBytes(Dir.File("m.dat")), 0), 2);
}

TEST_F(Writer, AFailedWriteLeavesTheOldFile) {
  const std::string path = Dir.Write("keep.dbn", "old");
  W.SetFileName(path);
  {
    orvel::testing::TFileSizeLimit full(12 + 8 * 100);
    Fill(Source, Ramp(1000), 10.0);
    EXPECT_NE(orvel::testing::RaisedMessage([&] { W.AppendBlock(); }), "<none>");
  }
  EXPECT_FALSE(W.FileOpen());
  W.CloseFile();
  EXPECT_EQ(FileBytes(path), "old");
  EXPECT_EQ(Dir.Listing(), "keep.dbn;");
}

TEST_F(Writer, AppendFileKeepsTheRecordsOfBinaryFiles) {
  W.SetFileName(Dir.File("rec.dbn"));
  W.SetAppendFile(true);
  Block({1, 2}, 2.0);
  W.CloseFile();
  Block({3, 4, 5}, 3.0);
  W.CloseFile();
  sig::TSignalRead r;
  r.SetFileName(Dir.File("rec.dbn"));
  r.SetLength(3);
  r.OpenFile();
  ASSERT_EQ(r.NumberOfRecords(), 2);
  EXPECT_EQ(ValuesOf(r), (std::vector<double>{1, 2, 0}));
  r.SetRecordNumber(1);
  EXPECT_EQ(ValuesOf(r), (std::vector<double>{3, 4, 5}));
  // Text formats are replaced.
  W.SetFileName(Dir.File("rec.sfs"));
  Block({1}, 1.0);
  W.CloseFile();
  Block({2}, 1.0);
  W.CloseFile();
  EXPECT_EQ(FileBytes(Dir.File("rec.sfs")), "1\r\n1\r\n\r\n2\r\n");
  // A malformed file is not appended to.
  const std::string bad = Dir.Write("bad.dat", "xyz");
  W.SetFileName(bad);
  Fill(Source, {1}, 1.0);
  EXPECT_TRUE(Raises([&] { W.AppendBlock(); },
                     "Malformed signal file \"" + bad +
                         "\": record 0: header of 24 bytes cut by the end of the file (3 bytes left)"));
  EXPECT_EQ(FileBytes(bad), "xyz");
}

TEST_F(Writer, WaveIsPlainPcmUpTo16BitsAndTwoChannels) {
  W.SetFileName(Dir.File("s.wav"));
  W.SetPrecision(numeric::prSmallInt);
  W.SetAuthorInfo("Orvel");
  Block({1, -1, 2.9, -2.9}, 8000.0, 2);
  W.CloseFile();
  const std::string b = FileBytes(Dir.File("s.wav"));
  const std::string created = classlib::DateToStr(classlib::Date());
  ASSERT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(I32(b, 4), static_cast<std::int32_t>(b.size() - 8));
  EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(I32(b, 16), 40);
  std::string fmt;
  PutU16(fmt, 1);
  PutU16(fmt, 2);
  PutI32(fmt, 8000);
  PutI32(fmt, 32000);
  PutU16(fmt, 4);
  PutU16(fmt, 16);
  fmt += std::string(24, '\0');
  EXPECT_EQ(b.substr(20, 40), fmt);
  EXPECT_EQ(b.substr(60, 4), "data");
  EXPECT_EQ(I32(b, 64), 8);
  EXPECT_EQ(b.substr(68, 8), Int16Data({1, -1, 2, -2}));
  std::string list = "LIST";
  const std::int32_t icrd = static_cast<std::int32_t>(created.size());
  PutI32(list, 4 + 8 + icrd + (icrd & 1) + 8 + 6);
  list += "INFOICRD";
  PutI32(list, icrd);
  list += created + std::string(static_cast<std::size_t>(icrd & 1), '\0') + "ISFT";
  PutI32(list, 5);
  list += std::string("Orvel\0", 6);
  EXPECT_EQ(b.substr(76), list);
}

TEST_F(Writer, WaveBeyond16BitsOrTwoChannelsIsExtensible) {
  struct TCase {
    numeric::TPrecision Precision;
    std::int32_t Channels;
    std::uint16_t Tag;
    const sig::TWaveGuid* Sub;
  };
  const TCase cases[] = {{numeric::prInt24, 1, 0xFFFE, &sig::KSDATAFORMAT_SUBTYPE_PCM},
                         {numeric::prSmallInt, 3, 0xFFFE, &sig::KSDATAFORMAT_SUBTYPE_PCM},
                         {numeric::prSingle, 1, 0xFFFE, &sig::KSDATAFORMAT_SUBTYPE_IEEE_FLOAT},
                         {numeric::prInteger, 2, 0xFFFE, &sig::KSDATAFORMAT_SUBTYPE_PCM},
                         {numeric::prByte, 2, 1, nullptr}};
  for (const TCase& c : cases) {
    W.SetFileName(Dir.File("x.wav"));
    W.SetPrecision(c.Precision);
    Block(Ramp(6 * c.Channels), 44100.0, c.Channels);
    W.CloseFile();
    const std::string b = FileBytes(Dir.File("x.wav"));
    const sig::TWaveFormat f = sig::ParseWaveFormat(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(b.data()) + 20, 40));
    EXPECT_EQ(f.wFormatTag, c.Tag) << c.Precision;
    EXPECT_EQ(f.nChannels, c.Channels);
    EXPECT_EQ(f.wBitsPerSample, 8 * numeric::PrecisionBytes(c.Precision, false));
    if (c.Sub != nullptr) {
      EXPECT_EQ(f.cbSize, 22);
      EXPECT_EQ(f.wValidBitsPerSample, f.wBitsPerSample);
      EXPECT_EQ(f.dwChannelMask, 3u);
      EXPECT_EQ(f.SubFormat, *c.Sub);
    }
    sig::TSignalRead r;
    r.SetFileName(Dir.File("x.wav"));
    r.SetLength(6 * c.Channels);
    r.OpenFile();
    EXPECT_EQ(ValuesOf(r), Ramp(6 * c.Channels)) << c.Precision;
  }
}

TEST_F(Writer, EightBitWaveIsUnsignedAndTheInputStays) {
  W.SetFileName(Dir.File("u.wav"));
  W.SetPrecision(numeric::prByte);
  const std::vector<double> values = {-128, 0, 127, 1e-17};
  Block(values, 8000.0);
  EXPECT_EQ(ValuesOf(Source), values);
  W.CloseFile();
  EXPECT_EQ(FileBytes(Dir.File("u.wav")).substr(68, 4), std::string("\x00\x80\xFF\x80", 4));
}

TEST_F(Writer, WaveRefusesPrecisionsItCannotHold) {
  W.SetFileName(Dir.File("d.wav"));
  Fill(Source, {1}, 8000.0);
  EXPECT_TRUE(Raises([&] { W.AppendBlock(); },
                     "Unsupported wav format: Precision <> prInteger (32), prInt24 (24), prSmallInt (16),  prByte (8), "
                     "prSingle(32)!"));
  W.SetPrecision(numeric::prSmallInt);
  W.SetFileName("");
  EXPECT_TRUE(Raises([&] { W.AppendBlock(); }, "FileName = '' !"));
  EXPECT_EQ(Dir.Listing(), "");
}

// A writer whose WAV files are full after a few hundred bytes.
class TSmallWaveWriter : public sig::TSignalWrite {
 public:
  explicit TSmallWaveWriter(std::int64_t Limit) { FWavSizeLimit = Limit; }
};

TEST_F(Writer, AFullWaveIsClosedValid) {
  TSmallWaveWriter w(400);
  w.SetInput(&Source);
  w.SetFileName(Dir.File("full.wav"));
  w.SetPrecision(numeric::prSmallInt);
  Fill(Source, Ramp(100), 8000.0);
  w.AppendBlock();
  EXPECT_TRUE(Raises([&] { w.AppendBlock(); }, "The wav file " + Dir.File("full.wav") +
                                                   " has reached the size limit of a RIFF file: it was closed before "
                                                   "this block!"));
  EXPECT_FALSE(w.FileOpen());
  sig::TSignalRead r;
  r.SetFileName(Dir.File("full.wav"));
  r.SetLength(200);
  r.OpenFile();
  EXPECT_EQ(r.RecordLength(), 100);
  EXPECT_LE(static_cast<std::int64_t>(FileBytes(Dir.File("full.wav")).size()), 400);
}

TEST(SignalWriteStream, IsCreatedByClassNameWithItsSettings) {
  sig::TSignalWrite w;
  w.SetFileName("out.wav");
  w.SetAuthorInfo("Orvel");
  w.SetAppendFile(true);
  w.SetRounding(numeric::rnRound);
  w.SetPrecision(numeric::prInt24);
  const std::unique_ptr<sig::TSignalWrite> copy = RoundTrip(w);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->FileName(), "out.wav");
  EXPECT_EQ(copy->FileFormat(), sig::ffWav);
  EXPECT_EQ(copy->AuthorInfo(), "Orvel");
  EXPECT_TRUE(copy->AppendFile());
  EXPECT_EQ(copy->Rounding(), numeric::rnRound);
  EXPECT_EQ(copy->Precision(), numeric::prInt24);
}

}  // namespace
