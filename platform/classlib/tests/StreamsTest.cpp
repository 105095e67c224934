// Covers FileStream.cpp and MemoryStream.cpp: file, memory and string streams,
// their open modes and their error texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/classlib/Streams.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using orvel::testing::TTempDir;

template <class E, class F>
std::string MessageOf(F call) {
  try {
    call();
  } catch (const E& e) {
    return e.what();
  }
  return "no exception";
}

TEST(FileStream, CreateWriteReopenRead) {
  TTempDir dir;
  const std::string name = dir.File("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteInt32(-7);
    f.WriteDouble(2.5);
    f.WriteUInt8(200);
    EXPECT_EQ(f.Size(), 13);
  }
  TFileStream f(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(f.Size(), 13);
  EXPECT_EQ(f.ReadInt32(), -7);
  EXPECT_EQ(f.ReadDouble(), 2.5);
  EXPECT_EQ(f.ReadUInt8(), 200);
  char c;
  EXPECT_EQ(f.Read(&c, 1), 0);
  EXPECT_EQ(MessageOf<EReadError>([&] { f.ReadInt32(); }), "Stream read error");
}

TEST(FileStream, CreateReplacesAndReadWriteChangesInPlace) {
  TTempDir dir;
  const std::string name = dir.File("f");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("0123456789", 10);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.SetPosition(2);
    f.WriteBuffer("ab", 2);
    f.SetSize(6);
    EXPECT_EQ(f.Position(), 4);
  }
  EXPECT_EQ(ReadFileBytes(name), "01ab45");
  {
    TFileStream f(name, fmCreate | fmShareExclusive);
    f.WriteBuffer("x", 1);
  }
  EXPECT_EQ(ReadFileBytes(name), "x");
}

TEST(FileStream, ErrorsNameTheFileAndTheReason) {
  TTempDir dir;
  const std::string missing = dir.File("missing.txt");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(missing, fmOpenRead); }),
            "Cannot open file \"" + missing + "\". No such file or directory");
  const std::string inMissingDir = dir.File("no/such.txt");
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TFileStream(inMissingDir, fmCreate); }),
            "Cannot create file \"" + inMissingDir + "\". No such file or directory");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TFileStream(dir.Path().string(), fmOpenRead); }),
            "Cannot open file \"" + dir.Path().string() + "\". Is a directory");
  // Both are stream errors and exceptions of the class library.
  EXPECT_THROW(TFileStream(missing, fmOpenRead), EStreamError);
  EXPECT_THROW(TFileStream(missing, fmOpenReadWrite), Exception);
}

TEST(MemoryStream, GrowsZeroFillsAndStopsAtTheEnd) {
  TMemoryStream m;
  EXPECT_EQ(m.Size(), 0);
  m.WriteBuffer("abc", 3);
  m.SetPosition(5);
  m.WriteBuffer("z", 1);
  ASSERT_EQ(m.Size(), 6);
  EXPECT_EQ(std::memcmp(m.Memory(), "abc\0\0z", 6), 0);
  m.SetPosition(4);
  char buf[8];
  EXPECT_EQ(m.Read(buf, 8), 2);
  EXPECT_EQ(m.Read(buf, 8), 0);
  m.SetPosition(100);
  EXPECT_EQ(m.Read(buf, 8), 0) << "a position past the end reads nothing";
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
  EXPECT_THROW(m.Seek(-1, soBeginning), EStreamError);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
}

TEST(MemoryStream, FileAndStreamRoundTrip) {
  TTempDir dir;
  TMemoryStream m;
  for (int i = 0; i < 1000; ++i) m.WriteInt32(i * 7919);
  m.SaveToFile(dir.File("m.bin"));
  TMemoryStream back;
  back.LoadFromFile(dir.File("m.bin"));
  ASSERT_EQ(back.Size(), 4000);
  EXPECT_EQ(std::memcmp(back.Memory(), m.Memory(), 4000), 0);
  EXPECT_EQ(back.Position(), 0);

  TStringStream s;
  m.SaveToStream(s);
  EXPECT_EQ(s.DataString().size(), 4000u);
  TMemoryStream copy;
  copy.CopyFrom(m, 0);
  EXPECT_EQ(copy.Size(), 4000);
  EXPECT_EQ(dir.Listing(), "m.bin;");
}

TEST(StringStream, ReadsAndWritesBytes) {
  TStringStream s("hello world");
  EXPECT_EQ(s.ReadString(5), "hello");
  s.WriteString("_W");
  EXPECT_EQ(s.DataString(), "hello_World");
  s.SetPosition(s.Size());
  s.WriteString("!");
  EXPECT_EQ(s.DataString(), "hello_World!");
  s.SetPosition(10);
  EXPECT_EQ(s.ReadString(100), "d!");
  EXPECT_EQ(TStringStream(std::string_view("a\0b", 3)).DataString(), std::string("a\0b", 3));
}

}  // namespace
