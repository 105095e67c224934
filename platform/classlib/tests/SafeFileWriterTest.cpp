// Covers SafeFileWriter.cpp: a write either replaces the whole file or leaves
// the old one untouched, and never leaves its temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "platform/classlib/Streams.h"
#include "testing/TestSupport.h"

namespace {

using namespace classlib;
using orvel::testing::PutFile;
using orvel::testing::TTempDir;
namespace fs = std::filesystem;

TEST(SafeFileWriter, ReplacesTheWholeFile) {
  TTempDir dir;
  const std::string name = dir.File("settings.ini");
  PutFile(name, "old content that is longer than the new one");
  AtomicWriteFile(name, "new");
  EXPECT_EQ(ReadFileBytes(name), "new");
  EXPECT_EQ(dir.Listing(), "settings.ini;");
}

TEST(SafeFileWriter, AFailingWriterLeavesTheOldFileIntact) {
  TTempDir dir;
  const std::string name = dir.File("method.dmp");
  PutFile(name, "the old method file");
  EXPECT_THROW(AtomicWriteFile(name,
                               [](TStream& s) {
                                 s.WriteBuffer("half a fi", 9);
                                 throw EWriteError("Stream write error");
                               }),
               EWriteError);
  EXPECT_EQ(ReadFileBytes(name), "the old method file");
  EXPECT_EQ(dir.Listing(), "method.dmp;") << "the temporary file must be removed";

  // Without an old file, a failure leaves no file at all.
  EXPECT_THROW(AtomicWriteFile(dir.File("new.prm"), [](TStream&) { throw Exception("boom"); }), Exception);
  EXPECT_EQ(dir.Listing(), "method.dmp;");
}

// A disk that fills up: the stream's error names no file, the writer's does.
TEST(SafeFileWriter, AFailedWriteNamesTheTarget) {
  TTempDir dir;
  const std::string name = dir.File("method.dmp");
  PutFile(name, "the old method file");
  {
    orvel::testing::TFileSizeLimit full(8);
    const std::string message =
        orvel::testing::RaisedMessage<EWriteError>([&] { AtomicWriteFile(name, std::string(64, 'x')); });
    EXPECT_EQ(message.rfind("Cannot write file \"" + name + "\". Stream write error. ", 0), 0u) << message;
    // Through a stream too, whatever writes into it.
    const std::string streamed = orvel::testing::RaisedMessage<EWriteError>(
        [&] { AtomicWriteFile(name, [](TStream& s) { s.WriteBuffer(std::string(64, 'y').data(), 64); }); });
    EXPECT_EQ(streamed, message);
  }
  EXPECT_EQ(ReadFileBytes(name), "the old method file");
  EXPECT_EQ(dir.Listing(), "method.dmp;");
}

TEST(SafeFileWriter, AFailingRenameLeavesNothingBehind) {
  TTempDir dir;
  fs::create_directory(dir.File("occupied"));
  fs::create_directory(dir.File("occupied/inner"));
  try {
    AtomicWriteFile(dir.File("occupied"), "text");
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + dir.File("occupied") + "\". ", 0), 0u)
        << e.what();
  }
  EXPECT_EQ(dir.Listing(), "occupied;");
  EXPECT_THROW(AtomicWriteFile(dir.File("missing/x.txt"), "text"), EFCreateError);
}

// The rename would replace a file the user made read-only: it is refused,
// also for root, and stays as it was.
TEST(SafeFileWriter, RefusesATargetMadeReadOnly) {
  for (const fs::perms mode : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                               fs::perms::owner_read,
                               fs::perms::owner_read | fs::perms::group_all | fs::perms::others_all}) {
    SCOPED_TRACE(static_cast<int>(mode));
    TTempDir dir;
    const std::string name = dir.File("method.dmp");
    PutFile(name, "kept");
    fs::permissions(name, mode);
    EXPECT_TRUE(orvel::testing::Raises<EFCreateError>([&] { AtomicWriteFile(name, "new"); },
                                                       "Cannot create file \"" + name + "\". Permission denied"));
    EXPECT_EQ(ReadFileBytes(name), "kept");
    EXPECT_EQ(fs::status(name).permissions() & fs::perms::all, mode);
    EXPECT_EQ(dir.Listing(), "method.dmp;");
    // Through a link the file it points to decides; the message names the link.
    const std::string link = dir.File("link.dmp");
    fs::create_symlink(name, link);
    EXPECT_TRUE(orvel::testing::Raises<EFCreateError>([&] { AtomicWriteFile(link, "new"); },
                                                       "Cannot create file \"" + link + "\". Permission denied"));
    EXPECT_EQ(ReadFileBytes(name), "kept");
  }
}

TEST(SafeFileWriter, KeepsPermissionsAndWritesThroughLinks) {
  TTempDir dir;
  const std::string name = dir.File("indicator.mq4");
  PutFile(name, "v1");
  fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  AtomicWriteFile(name, "v2");
  EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const std::string link = dir.File("link.mq4");
  fs::create_symlink(name, link);
  AtomicWriteFile(link, "v3");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFileBytes(name), "v3");

  // A new file gets the usual permissions, not the temporary file's private ones.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  AtomicWriteFile(dir.File("fresh.txt"), "x");
  EXPECT_EQ(static_cast<mode_t>(fs::status(dir.File("fresh.txt")).permissions() & fs::perms::all),
            0666 & ~mask);
}

}  // namespace
