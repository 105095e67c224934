// The signal file reader on files built byte by byte: framing, overlap,
// looping, records, the text formats, WAV files, the file information texts,
// malformed files and streaming by class name.
// Covers signal/SignalRead.cpp, signal/SignalReadFormats.cpp, signal/FileStorage.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "signal/SignalFiles.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;
using orvel::testing::RaisedMessage;
using orvel::testing::TTempDir;
using namespace signal_test;

struct TFrame {
  double First;  // the frame's first value: the ramp's index of its start
  std::uint8_t Code;
  bool operator==(const TFrame&) const = default;
};

// Pulls until end of data (or Limit pulls) and lists the frames.
std::vector<TFrame> Frames(sig::TSignalRead& Reader, int Limit = 100) {
  std::vector<TFrame> frames;
  for (int i = 0; i < Limit; ++i) {
    const std::uint8_t code = Reader.Pull();
    frames.push_back({code == 0 ? Reader.Data().Values()[0] : -1.0, code});
    if (code == 2) break;
  }
  return frames;
}

std::string Starts(const std::vector<TFrame>& Frames) {
  std::string text;
  for (const TFrame& f : Frames) text += (f.Code == 2 ? std::string("end") : std::to_string(static_cast<int>(f.First))) + " ";
  return text;
}

struct Reader : ::testing::Test {
  TTempDir Dir;
  sig::TSignalRead R;

  // A .dbn file of one record 0 .. N-1 at 1000 Hz, read in frames of 256.
  void Record(std::int32_t N) {
    R.SetFileName(Dir.Write("ramp.dbn", DbnRecord(Ramp(N), N / 1000.0)));
    R.SetLength(256);
  }
};

TEST_F(Reader, FramesRunToTheRecordsEndAndTheLastEndsInZeros) {
  Record(1000);
  EXPECT_EQ(Starts(Frames(R)), "0 256 512 768 end ");
  Record(1000);
  R.CloseFile();
  for (int i = 0; i < 4; ++i) ASSERT_EQ(R.Pull(), 0);
  const std::vector<double> last = ValuesOf(R);
  ASSERT_EQ(last.size(), 256u);
  EXPECT_EQ(last[0], 768.0);
  EXPECT_EQ(last[231], 999.0);
  for (std::size_t i = 232; i < 256; ++i) EXPECT_EQ(last[i], 0.0) << i;
}

TEST_F(Reader, LastFrameCheckReadsEveryWholeFrame) {
  R.SetLastFrameCheck(true);
  Record(1000);
  EXPECT_EQ(Starts(Frames(R)), "0 256 512 end ");
  // A last frame that fits exactly is read.
  Record(1024);
  EXPECT_EQ(Starts(Frames(R)), "0 256 512 768 end ");
}

TEST_F(Reader, OverlapInSamplesSetsThePercentage) {
  Record(1000);
  R.SetOverlappingSamples(128);
  EXPECT_EQ(R.OverlappingPercent(), 50.0);
  EXPECT_EQ(Starts(Frames(R)), "0 128 256 384 512 640 768 896 end ");
  R.SetOverlappingPercent(25);
  EXPECT_EQ(R.OverlappingSamples(), 64);
}

TEST_F(Reader, FullOverlapStillMovesOnOneSampleAFrame) {
  Record(1000);
  R.SetOverlappingPercent(150);
  EXPECT_EQ(R.OverlappingPercent(), 100.0);
  EXPECT_EQ(R.OverlappingSamples(), 256);
  EXPECT_EQ(Starts(Frames(R, 4)), "0 1 2 3 ");
  R.SetOverlappingSamples(1000);
  EXPECT_EQ(R.ProcessAll(), 2);
  EXPECT_EQ(R.MaxFrames(), 744);
}

TEST_F(Reader, LoopStartsAgainInsteadOfEnding) {
  Record(600);
  R.SetLoop(true);
  EXPECT_EQ(Starts(Frames(R, 7)), "0 256 512 0 256 512 0 ");
}

TEST_F(Reader, FinalRecordPositionEndsEarlier) {
  Record(1000);
  R.SetFinalRecordPosition(600);
  EXPECT_EQ(Starts(Frames(R)), "0 256 512 end ");
  Record(1000);
  R.SetFinalRecordPosition(600);
  R.SetLastFrameCheck(true);
  EXPECT_EQ(Starts(Frames(R)), "0 256 end ");
}

TEST_F(Reader, NotContinuousReadsTheSameFrameAgain) {
  Record(1000);
  R.SetContinuous(false);
  R.OpenFile();
  R.SetRecordPosition(300);
  EXPECT_EQ(Starts(Frames(R, 3)), "300 300 300 ");
}

TEST_F(Reader, PositionsInTimeAndInFrames) {
  Record(1000);
  R.OpenFile();
  EXPECT_EQ(R.RecordTime(), 1.0);
  R.SetRecordTimePosition(0.5);
  EXPECT_EQ(R.RecordPosition(), 500);
  EXPECT_EQ(R.Data().Values()[0], 500.0);
  EXPECT_EQ(R.RecordTimePosition(), 0.5);
  R.SetOverlappingPercent(50);
  R.SetFrameNumber(3);
  EXPECT_EQ(R.RecordPosition(), 384);
  EXPECT_EQ(R.FrameNumber(), 3);
  EXPECT_EQ(R.MaxFrames(), 5);
  EXPECT_EQ(R.FramesPerSecond(), 5.0);
}

TEST_F(Reader, ScaleFactorMultipliesEveryFrameAndZeroMeansOne) {
  Record(1000);
  R.SetScaleFactor(0.0);
  EXPECT_EQ(R.ScaleFactor(), 1.0);
  R.SetScaleFactor(-2.0);
  R.OpenFile();
  R.SetRecordPosition(10);
  EXPECT_EQ(R.Data().Values()[0], -20.0);
}

TEST_F(Reader, RecordsOfDifferentCountsAreFoundAndTheNumberIsClamped) {
  R.SetFileName(Dir.Write("three.dbn", DbnRecord(Ramp(3, 100), 0.3) + DbnRecord(Ramp(5, 200), 0.5) +
                                           DbnRecord(Ramp(2, 300), 0.02)));
  R.SetLength(4);
  R.OpenFile();
  EXPECT_EQ(R.NumberOfRecords(), 3);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{100, 101, 102, 0}));
  R.SetRecordNumber(5);
  EXPECT_EQ(R.RecordNumber(), 2);
  EXPECT_EQ(R.RecordLength(), 2);
  EXPECT_EQ(R.SamplingFrequency(), 100.0);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{300, 301, 0, 0}));
  R.SetRecordNumber(1);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{200, 201, 202, 203}));
  R.SetRecordNumber(-4);
  EXPECT_EQ(R.RecordNumber(), 0);
  R.SetFraming(sig::frAcrossAllRecords);
  EXPECT_EQ(R.MaxFrames(), 3);
  EXPECT_EQ(R.FramesPerSecond(), 1.0);
}

TEST_F(Reader, DatRecordsCarryTheirChannelsPrecisionAndComplexFlag) {
  // Stereo: 4 frames of (left, right); then a complex record.
  R.SetFileName(Dir.Write("mixed.dat", DatRecord({1, -1, 2, -2, 3, -3, 4, -4}, 50, 2) +
                                           DatRecord({1, 10, 2, 20}, 8, 1, true)));
  R.SetLength(6);
  R.OpenFile();
  EXPECT_EQ(R.ChannelCount(), 2);
  EXPECT_EQ(R.RecordLength(), 4);
  EXPECT_EQ(R.RecordTime(), 4 / 50.0);
  EXPECT_EQ(R.SamplingFrequency(), 50.0);
  EXPECT_EQ(R.Precision(), numeric::prDouble);
  R.SetRecordPosition(2);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{3, -3, 4, -4, 0, 0}));
  R.SetRecordNumber(1);
  EXPECT_TRUE(R.Complex());
  EXPECT_EQ(R.ChannelCount(), 1);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1, 10, 2, 20, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Reader, DatPrecisionsDecodeAsTheSampleCodecWrites) {
  // Three int16 values, then three bytes of 24-bit samples.
  std::string rec;
  PutI32(rec, 3);
  PutF64(rec, 10.0);
  PutI32(rec, numeric::prSmallInt);
  PutI32(rec, 0);
  PutI32(rec, 1);
  rec += Int16Data({-32768, 0, 32767});
  std::string rec24;
  PutI32(rec24, 2);
  PutF64(rec24, 10.0);
  PutI32(rec24, numeric::prInt24);
  PutI32(rec24, 0);
  PutI32(rec24, 1);
  rec24 += std::string("\xFF\xFF\x7F\x00\x00\x80", 6);
  R.SetFileName(Dir.Write("int.dat", rec + rec24));
  R.SetLength(3);
  R.OpenFile();
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{-32768, 0, 32767}));
  EXPECT_EQ(R.Precision(), numeric::prSmallInt);
  R.SetRecordNumber(1);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{8388607, -8388608, 0}));
}

TEST_F(Reader, BinRecordsAreSingleFloats) {
  R.SetFileName(Dir.Write("a.bin", BinRecord({0.5, -1.25, 3}, 0.75f)));
  R.SetLength(4);
  R.OpenFile();
  EXPECT_EQ(R.Precision(), numeric::prSingle);
  EXPECT_EQ(R.RecordTime(), 0.75);
  EXPECT_EQ(R.SamplingFrequency(), 4.0);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{0.5, -1.25, 3, 0}));
}

TEST_F(Reader, SglDeliversRecordZeroAtOnce) {
  R.SetFileName(Dir.Write("a.sgl", "3\r\n0.5\r\n1;2.5;-3\r\n2\n2\n1+2i;-4i\n"));
  R.SetLength(4);
  R.OpenFile();
  EXPECT_EQ(R.NumberOfRecords(), 2);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1, 2.5, -3, 0}));
  EXPECT_EQ(R.SamplingFrequency(), 6.0);
  R.SetRecordNumber(1);
  EXPECT_TRUE(R.Complex());
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1, 2, 0, -4, 0, 0, 0, 0}));
  EXPECT_EQ(R.SamplingFrequency(), 1.0);
}

TEST_F(Reader, SfsAndAscAreOneRecordOfOneChannel) {
  R.SetFileName(Dir.Write("a.sfs", "3\r\n0.003\r\n\r\n1.5\r\n-2\r\n1E-5\r\n"));
  R.SetLength(3);
  R.OpenFile();
  EXPECT_EQ(R.NumberOfRecords(), 1);
  EXPECT_EQ(R.RecordLength(), 3);
  EXPECT_EQ(R.RecordTime(), 0.003);
  EXPECT_NEAR(R.SamplingFrequency(), 1000.0, 1e-9);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1.5, -2, 1e-5}));
  // Time and value split at a TAB or a blank, LF or CR LF line ends.
  R.SetFileName(Dir.Write("a.asc", "0\t4\r\n0.01 5\n0.02\t  -6.5\n"));
  R.OpenFile();
  EXPECT_EQ(R.RecordLength(), 3);
  EXPECT_DOUBLE_EQ(R.SamplingFrequency(), 100.0);
  EXPECT_DOUBLE_EQ(R.RecordTime(), 0.03);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{4, 5, -6.5}));
}

TEST_F(Reader, TextIsReadWithAPointWhateverTheProgramsSeparator) {
  classlib::SetDecimalSeparator(',');
  R.SetFileName(Dir.Write("a.sfs", "2\r\n0.5\r\n\r\n1.25\r\n2.5\r\n"));
  R.SetLength(2);
  const std::string raised = RaisedMessage([&] { R.OpenFile(); });
  classlib::SetDecimalSeparator('.');
  EXPECT_EQ(raised, "<none>");
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1.25, 2.5}));
}

TEST_F(Reader, PcmWaveIsReadInIntegerUnits) {
  // Stereo 16-bit: 3 frames; the data size field says "to the end" (a streamed file).
  const std::string data = Int16Data({1, -1, 32767, -32768, 5, 6});
  R.SetFileName(Dir.Write("s.wav", WaveFile(PcmFormat(2, 8000, 16), data, 0x7FFFFFFF)));
  R.SetLength(8);
  R.OpenFile();
  EXPECT_EQ(R.ChannelCount(), 2);
  EXPECT_EQ(R.SamplingFrequency(), 8000.0);
  EXPECT_EQ(R.RecordLength(), 3);
  EXPECT_EQ(R.Precision(), numeric::prSmallInt);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1, -1, 32767, -32768, 5, 6, 0, 0}));
  // 8-bit samples are unsigned: byte 128 reads 0.
  R.SetFileName(Dir.Write("u8.wav", WaveFile(PcmFormat(1, 8000, 8), std::string("\x00\x80\xFF", 3))));
  R.SetLength(3);
  R.OpenFile();
  EXPECT_EQ(R.Precision(), numeric::prByte);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{-128, 0, 127}));
}

TEST_F(Reader, WaveFramesRunSequentiallyToTheEnd) {
  R.SetFileName(Dir.Write("s.wav", WaveFile(PcmFormat(1, 1000, 16), Int16Data([] {
                                              std::vector<int> v(1000);
                                              for (int i = 0; i < 1000; ++i) v[static_cast<std::size_t>(i)] = i;
                                              return v;
                                            }()))));
  R.SetLength(256);
  EXPECT_EQ(Starts(Frames(R)), "0 256 512 768 end ");
  R.SetOverlappingSamples(128);
  EXPECT_EQ(Starts(Frames(R, 3)), "0 128 256 ");
}

TEST_F(Reader, FileInformationTexts) {
  EXPECT_EQ(sig::SignalFileInfoText(R), "");
  EXPECT_EQ(sig::FileFormatToText(R), "");
  R.SetFileName(Dir.Write("three.dat", DatRecord(Ramp(4), 1000, 1) + DatRecord(Ramp(4), 1000, 1) +
                                           DatRecord(Ramp(4), 1000, 1)));
  R.OpenFile();
  EXPECT_EQ(sig::SignalFileInfoText(R), "1000 Hz, float, 8 bytes, Ch: 1, Records: 3");
  EXPECT_EQ(sig::FileFormatToText(R), "Binary DAT");
  R.SetFileName(Dir.Write("a.wav", WaveFile(PcmFormat(2, 44100, 16), Int16Data({0, 0}))));
  R.SetLength(2);
  R.OpenFile();
  EXPECT_EQ(sig::SignalFileInfoText(R), "44.100 kHz, 16 Bit, Stereo");
  EXPECT_EQ(sig::FileFormatToText(R), "PCM");
  R.CloseFile();
  EXPECT_EQ(sig::SignalFileInfoText(R), "");
}

TEST_F(Reader, ExtensibleWaveTexts) {
  const std::string fmt = FormatChunk(0xFFFE, 2, 48000, 48000 * 6, 6, 24, ExtensiblePart(24, 3, sig::KSDATAFORMAT_SUBTYPE_PCM));
  R.SetFileName(Dir.Write("x.wav", WaveFile(fmt, std::string("\x01\x00\x00\xFF\xFF\xFF", 6))));
  R.SetLength(2);
  R.OpenFile();
  EXPECT_EQ(sig::SignalFileInfoText(R), "48000Hz, 24bit, 2ch ");
  EXPECT_EQ(sig::FileFormatToText(R), "Extended format");
  EXPECT_EQ(R.Precision(), numeric::prInt24);
  EXPECT_EQ(ValuesOf(R), (std::vector<double>{1, -1}));
}

TEST_F(Reader, TheExtensionChoosesTheFormat) {
  R.SetFileName("x.WAV");
  EXPECT_EQ(R.FileFormat(), sig::ffWav);
  EXPECT_TRUE(Raises([&] { R.SetFileName("x.txt"); }, "Unknown file file format extension: .txt"));
  EXPECT_EQ(R.FileName(), "x.WAV");
  R.SetAutoFileFormat(false);
  R.SetFileFormat(sig::ffAsc);
  R.SetFileName("y.dat");
  EXPECT_EQ(R.FileFormat(), sig::ffAsc);
  R.SetAutoFileFormat(true);
  EXPECT_EQ(R.FileFormat(), sig::ffDat);
  R.SetFileFormat(sig::ffBin);
  EXPECT_EQ(R.FileFormat(), sig::ffDat);
}

TEST_F(Reader, MissingFileRaisesOnlyWhenOpened) {
  R.SetFileName(Dir.File("none.dat"));
  R.SetRecordPosition(5);
  EXPECT_FALSE(R.FileOpen());
  EXPECT_TRUE(Raises([&] { R.OpenFile(); }, "File not found: " + Dir.File("none.dat")));
}

struct TMalformed {
  const char* Name;
  std::string Bytes;
  const char* Message;  // after "Malformed signal file "<name>": "
};

std::vector<TMalformed> MalformedFiles() {
  std::string twoRecords = DbnRecord(Ramp(2), 1.0);
  return {
      {"negative.dbn", DbnRecord({}, 1.0).replace(0, 4, "\xFF\xFF\xFF\xFF"), "record 0: count -1 is negative"},
      {"long.dbn", twoRecords.substr(0, twoRecords.size() - 1), "record 0: count 2 needs 16 bytes, 15 are left"},
      {"tail.dbn", twoRecords + "abc", "record 1: header of 12 bytes cut by the end of the file (3 bytes left)"},
      {"nan.dbn", DbnRecord({1}, std::nan("")), "record 0: duration NAN is no positive number"},
      {"zero.bin", BinRecord({1}, 0.0f), "record 0: duration 0 is no positive number"},
      {"channels.dat", DatRecord({1}, 10, 0), "record 0: ChannelCount 0 is below 1"},
      {"rate.dat", DatRecord({1}, 0, 1), "record 0: SamplingFrequency 0 is no positive number"},
      {"complex.dat", DatRecord({1}, 10, 1).replace(16, 4, std::string("\x02\x00\x00\x00", 4)),
       "record 0: Complex 2 is neither 0 nor 1"},
      {"precision.dat", DatRecord({1}, 10, 1).replace(12, 4, std::string("\x0B\x00\x00\x00", 4)),
       "record 0: Precision 11 is unknown"},
      {"count.sfs", "5\r\n1\r\n\r\n1\r\n2\r\n", "count 5 but 2 value lines"},
      {"header.sfs", "5\r\n", "1 lines, a header of 3 needed"},
      {"word.sfs", "1\r\n1\r\n\r\nabc\r\n", "line 3 \"abc\" is no number"},
      {"one.asc", "0\t1\r\n", "1 lines, two at least needed for the sampling frequency"},
      {"equal.asc", "0\t1\r\n0\t2\r\n", "times 0 and 0 give no sampling frequency"},
      {"column.asc", "0\t1\r\n0.1\r\n", "line 1 \"0.1\" holds no time and value"},
      {"count.sgl", "3\r\n1\r\n1;2\r\n", "record 0: count 3 but 2 values on its line"},
      {"nowave.wav", "RIFX" + std::string(40, '\0'), "no RIFF \"WAVE\" header"},
      {"short.wav", WaveFile(PcmFormat(1, 8000, 16).substr(0, 14), ""), "\"fmt \" chunk of 14 bytes, 16 at least"},
      {"nodata.wav", WaveFile(PcmFormat(1, 8000, 16), "").substr(0, 36), "no \"data\" chunk"},
      {"align.wav", WaveFile(FormatChunk(1, 1, 8000, 16000, 0, 16), ""), "nBlockAlign 0"},
      {"avg.wav", WaveFile(FormatChunk(1, 1, 8000, 0, 2, 16), ""), "nAvgBytesPerSec 0"},
      {"chan.wav", WaveFile(FormatChunk(1, 0, 8000, 16000, 2, 16), ""), "nChannels 0"},
      {"bits.wav", WaveFile(FormatChunk(1, 1, 8000, 16000, 2, 12), ""), "wBitsPerSample 12 not supported"},
      {"block.wav", WaveFile(FormatChunk(1, 2, 8000, 16000, 2, 16), ""), "nBlockAlign 2 <> nChannels x wBitsPerSample / 8 = 4"},
      {"rate.wav", WaveFile(FormatChunk(1, 1, 8000, 15000, 2, 16), ""),
       "nAvgBytesPerSec 15000 <> nSamplesPerSec x nBlockAlign = 16000"},
      {"ext.wav", WaveFile(FormatChunk(0xFFFE, 1, 8000, 16000, 2, 16) + std::string("\x16\x00", 2), ""),
       "extensible format of 18 bytes with cbSize 22, 40 and 22 at least"},
  };
}

TEST_F(Reader, MalformedFilesAreRefusedNamingTheField) {
  for (const TMalformed& m : MalformedFiles()) {
    const std::string path = Dir.Write(m.Name, m.Bytes);
    sig::TSignalRead r;
    r.SetFileName(path);
    EXPECT_TRUE(Raises([&] { r.OpenFile(); }, "Malformed signal file \"" + path + "\": " + m.Message)) << m.Name;
    EXPECT_FALSE(r.FileOpen()) << m.Name;
  }
}

TEST_F(Reader, EmptyFiles) {
  R.SetFileName(Dir.Write("empty.sgl", ""));
  EXPECT_TRUE(Raises([&] { R.OpenFile(); }, Dir.File("empty.sgl") + ": Strings.Count = 0!"));
  R.SetFileName(Dir.Write("empty.dat", ""));
  EXPECT_TRUE(Raises([&] { R.OpenFile(); }, "Record number: 0 not found!"));
  EXPECT_EQ(R.RecordLength(), 0);
}

TEST_F(Reader, UnknownWaveTagIsRefusedByName) {
  R.SetFileName(Dir.Write("mp3.wav", WaveFile(FormatChunk(0x55, 1, 8000, 1000, 1, 0), "abcd")));
  EXPECT_TRUE(Raises([&] { R.OpenFile(); },
                     "Error calling acmFormatSuggest! Wave format tag 0x0055 (Unknown) can not be decoded"));
  EXPECT_EQ(R.Converter().LastErrorText(), sig::AcmParameterInvalidText);
}

TEST(SignalReadStream, IsCreatedByClassNameWithItsSettings) {
  sig::TSignalRead r;
  r.SetFileName("frames.dbn");
  r.SetLoop(true);
  r.SetLastFrameCheck(true);
  r.SetScaleFactor(0.5);
  r.SetFinalRecordPosition(900);
  r.SetForceLength(false);
  r.SetFraming(sig::frAcrossAllRecords);
  r.SetLength(512);
  r.SetOverlappingSamples(128);
  const std::unique_ptr<sig::TSignalRead> copy = RoundTrip(r);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->FileName(), "frames.dbn");
  EXPECT_EQ(copy->FileFormat(), sig::ffDbn);
  EXPECT_TRUE(copy->Loop());
  EXPECT_TRUE(copy->LastFrameCheck());
  EXPECT_EQ(copy->ScaleFactor(), 0.5);
  EXPECT_EQ(copy->FinalRecordPosition(), 900);
  EXPECT_FALSE(copy->ForceLength());
  EXPECT_EQ(copy->Framing(), sig::frAcrossAllRecords);
  EXPECT_EQ(copy->Length(), 512);
  EXPECT_EQ(copy->OverlappingSamples(), 128);
  EXPECT_EQ(copy->OverlappingPercent(), 25.0);
  EXPECT_EQ(copy->EditorClassName(), "TFileReadDialogForm");
}

}  // namespace
