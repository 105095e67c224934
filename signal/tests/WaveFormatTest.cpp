// The RIFF "WAVE" layout: the chunk search of a reader and the chunks of a
// writer.
// Covers signal/WaveFormat.cpp.
#include <gtest/gtest.h>

#include <string>

#include "platform/classlib/Streams.h"
#include "signal/WaveFormat.h"
#include "signal/tests/SignalFileBytes.h"

namespace {

using namespace signal_test;

sig::TWaveLayout Layout(const std::string& Bytes) {
  classlib::TStringStream stream(Bytes);
  return sig::ReadWaveLayout(stream, "x.wav");
}

std::string Chunk(const std::string& Id, const std::string& Data) {
  std::string b = Id;
  PutI32(b, static_cast<std::int32_t>(Data.size()));
  b += Data;
  if (Data.size() % 2 != 0) b += '\0';
  return b;
}

std::string Riff(const std::string& Body, std::int32_t Size = -1) {
  std::string b = "RIFF";
  PutI32(b, Size >= 0 ? Size : static_cast<std::int32_t>(4 + Body.size()));
  return b + "WAVE" + Body;
}

TEST(WaveLayout, ChunksAreFoundInAnyOrderPastOthers) {
  const std::string fmt = PcmFormat(1, 8000, 16);
  const std::string bytes = Riff(Chunk("LIST", "odd") + Chunk("data", "abcd") + Chunk("fmt ", fmt));
  const sig::TWaveLayout l = Layout(bytes);
  EXPECT_EQ(l.FormatBytes.size(), 16u);
  EXPECT_EQ(l.DataStart, 12 + 12 + 8);
  EXPECT_EQ(l.DataSize, 4);
  EXPECT_EQ(l.RiffSize, static_cast<std::int64_t>(bytes.size()));
}

TEST(WaveLayout, SizesOutOfStepWithTheFileAreClamped) {
  // A streaming writer's sizes: RIFF 0, data 0xFFFFFFFF.
  std::string body = Chunk("fmt ", PcmFormat(1, 8000, 16)) + "data";
  PutI32(body, -1);
  body += "123456";
  const sig::TWaveLayout l = Layout(Riff(body, 0));
  EXPECT_EQ(l.DataSize, 6);
  EXPECT_EQ(l.RiffSize, static_cast<std::int64_t>(12 + body.size()));
}

TEST(WaveLayout, LongFormatChunksAreKeptUpTo129Bytes) {
  std::string fmt = PcmFormat(1, 8000, 16);
  fmt += std::string(200, 'x');
  const sig::TWaveLayout l = Layout(Riff(Chunk("fmt ", fmt) + Chunk("data", "")));
  EXPECT_EQ(l.FormatBytes.size(), 129u);
}

TEST(WaveWriter, HeaderAndTrailerAreWhatTheSizesSay) {
  sig::TWaveFormat f;
  f.wFormatTag = 1;
  f.nChannels = 1;
  f.nSamplesPerSec = 8000;
  f.nAvgBytesPerSec = 8000;
  f.nBlockAlign = 1;
  f.wBitsPerSample = 8;
  classlib::TMemoryStream s;
  sig::WriteWaveHeader(s, f);
  EXPECT_EQ(s.Size(), sig::WaveDataStart);
  s.WriteBuffer("abc", 3);
  sig::FinishWave(s, 3, "1/2/2025", "Orvel");
  EXPECT_EQ(s.Size(), sig::WaveDataStart + 3 + sig::WaveTrailerBytes(3, "1/2/2025", "Orvel"));
  classlib::TStringStream copy(std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size())));
  const sig::TWaveLayout l = sig::ReadWaveLayout(copy, "w.wav");
  EXPECT_EQ(l.FormatBytes.size(), 40u);
  EXPECT_EQ(l.DataSize, 3);
  EXPECT_EQ(l.RiffSize, s.Size());
  EXPECT_EQ(sig::ParseWaveFormat(l.FormatBytes), f);
  const std::string all = copy.DataString();
  EXPECT_EQ(all.substr(71), std::string("\0LIST", 5) + std::string("\x22\0\0\0", 4) + "INFOICRD" +
                                std::string("\x08\0\0\0", 4) + "1/2/2025ISFT" + std::string("\x05\0\0\0", 4) +
                                std::string("Orvel\0", 6));
}

}  // namespace
