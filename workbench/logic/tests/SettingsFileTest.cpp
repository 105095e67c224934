// The settings file orvel.ini: defaults, keys, round trip, malformed values,
// location and write failures.
// Covers: SettingsFile.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "workbench/logic/FileErrors.h"
#include "workbench/logic/SettingsFile.h"
#include "workbench/logic/TextFiles.h"
#include "workbench/logic/tests/ScriptedMessages.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

// Every field, so that a field lost on the way shows by name.
void ExpectSameSettings(const TWorkbenchSettings& a, const TWorkbenchSettings& b) {
#define ORVEL_SAME(field) EXPECT_EQ(a.field, b.field) << #field
  ORVEL_SAME(FilterType); ORVEL_SAME(MomentumIndex); ORVEL_SAME(TextMode);
  ORVEL_SAME(P1); ORVEL_SAME(D1); ORVEL_SAME(A1); ORVEL_SAME(P2); ORVEL_SAME(D2); ORVEL_SAME(A2);
  ORVEL_SAME(Ripple); ORVEL_SAME(Delay); ORVEL_SAME(Method); ORVEL_SAME(Zoom); ORVEL_SAME(Grid1);
  ORVEL_SAME(P1from); ORVEL_SAME(P1to); ORVEL_SAME(P1step);
  ORVEL_SAME(P2from); ORVEL_SAME(P2to); ORVEL_SAME(P2step);
  ORVEL_SAME(D1from); ORVEL_SAME(D1to); ORVEL_SAME(D1step);
  ORVEL_SAME(D2from); ORVEL_SAME(D2to); ORVEL_SAME(D2step);
  ORVEL_SAME(A1from); ORVEL_SAME(A1to); ORVEL_SAME(A1step);
  ORVEL_SAME(A2from); ORVEL_SAME(A2to); ORVEL_SAME(A2step);
  ORVEL_SAME(Rfrom); ORVEL_SAME(Rto); ORVEL_SAME(Rstep);
  ORVEL_SAME(Delayfrom); ORVEL_SAME(Delayto); ORVEL_SAME(Delaystep);
#undef ORVEL_SAME
}

// A record whose every field differs from its default and from the others.
TWorkbenchSettings DistinctSettings() {
  TWorkbenchSettings s;
  s.FilterType = 2, s.TextMode = 1, s.Method = 1, s.Zoom = 6;
  s.P1 = 101, s.D1 = 102, s.A1 = 103, s.P2 = 104, s.D2 = 105, s.A2 = 106;
  s.Ripple = 0.25, s.Delay = 7;
  s.Grid1 = "g1";
  s.P1from = 11, s.P1to = 12, s.P1step = 13;
  s.P2from = 21, s.P2to = 22, s.P2step = 23;
  s.D1from = 31, s.D1to = 32, s.D1step = 33;
  s.D2from = 41, s.D2to = 42, s.D2step = 43;
  s.A1from = 51, s.A1to = 52, s.A1step = 53;
  s.A2from = 61, s.A2to = 62, s.A2step = 63;
  s.Rfrom = 0.002, s.Rto = 0.5, s.Rstep = 1.5e-5;
  s.Delayfrom = 1, s.Delayto = 9, s.Delaystep = 2;
  return s;
}

TEST(SettingsFile, WithoutAFileEveryKeyHasItsDefault) {
  orvel::testing::TTempDir folder;
  const TWorkbenchSettings s = ReadWorkbenchSettings(folder.File("orvel.ini"));
  // The generator opens with these: low-pass, MQL4 text, zoom 4, the library design.
  EXPECT_EQ(s.P1, 24); EXPECT_EQ(s.D1, 12); EXPECT_EQ(s.A1, 40);
  EXPECT_EQ(s.P2, 31); EXPECT_EQ(s.D2, 52); EXPECT_EQ(s.A2, 40);
  EXPECT_EQ(s.Ripple, 0.08); EXPECT_EQ(s.Delay, 0);
  EXPECT_EQ(s.Method, 3); EXPECT_EQ(s.FilterType, 0); EXPECT_EQ(s.TextMode, 3); EXPECT_EQ(s.Zoom, 4);
  EXPECT_EQ(s.MomentumIndex, 0);
  EXPECT_EQ(s.Grid1.Str(), "");
  EXPECT_EQ(s.P1from, 10); EXPECT_EQ(s.P1to, 80); EXPECT_EQ(s.P1step, 1);
  EXPECT_EQ(s.P2from, 15); EXPECT_EQ(s.P2to, 80); EXPECT_EQ(s.P2step, 1);
  EXPECT_EQ(s.D1from, 10); EXPECT_EQ(s.D1to, 80); EXPECT_EQ(s.D1step, 1);
  EXPECT_EQ(s.D2from, 15); EXPECT_EQ(s.D2to, 80); EXPECT_EQ(s.D2step, 1);
  EXPECT_EQ(s.A1from, 10); EXPECT_EQ(s.A1to, 60); EXPECT_EQ(s.A1step, 5);
  EXPECT_EQ(s.A2from, 10); EXPECT_EQ(s.A2to, 60); EXPECT_EQ(s.A2step, 5);
  EXPECT_EQ(s.Rfrom, 0.001); EXPECT_EQ(s.Rto, 0.01); EXPECT_EQ(s.Rstep, 0.005);
  EXPECT_EQ(s.Delayfrom, 0); EXPECT_EQ(s.Delayto, 5); EXPECT_EQ(s.Delaystep, 1);
  ExpectSameSettings(s, DefaultWorkbenchSettings());
}

TEST(SettingsFile, RoundTripsEveryField) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.File("orvel.ini");
  const TWorkbenchSettings written = DistinctSettings();
  WriteWorkbenchSettings(path, written);
  ExpectSameSettings(ReadWorkbenchSettings(path), written);
  // Written again over itself, the file does not change.
  const std::string first = orvel::testing::FileBytes(path);
  WriteWorkbenchSettings(path, ReadWorkbenchSettings(path));
  EXPECT_EQ(orvel::testing::FileBytes(path), first);
}

TEST(SettingsFile, WritesItsKeysInOrderWithCrLf) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.File("orvel.ini");
  WriteWorkbenchSettings(path, DefaultWorkbenchSettings());
  const std::string expected =
      "[OrvelParameters]\r\nP1=24\r\nD1=12\r\nA1=40\r\nP2=31\r\nD2=52\r\nA2=40\r\nRipple=0.08\r\n"
      "Delay=0\r\nFilterType=0\r\nTextMode=3\r\nMethod=3\r\nZoom=4\r\n"
      "[Optimize]\r\nGrid1=\r\nP1from=10\r\nP1to=80\r\nP1step=1\r\nP2from=15\r\nP2to=80\r\nP2step=1\r\n"
      "D1from=10\r\nD1to=80\r\nD1step=1\r\nD2from=15\r\nD2to=80\r\nD2step=1\r\n"
      "A1from=10\r\nA1to=60\r\nA1step=5\r\nA2from=10\r\nA2to=60\r\nA2step=5\r\n"
      "Rfrom=0.001\r\nRto=0.01\r\nRstep=0.005\r\nDelayfrom=0\r\nDelayto=5\r\nDelaystep=1\r\n";
  // Sections may be separated by an empty line; the keys and their order are what count.
  std::string text = orvel::testing::FileBytes(path);
  for (std::size_t at; (at = text.find("\r\n\r\n")) != std::string::npos;) text.erase(at, 2);
  EXPECT_EQ(text, expected);
}

TEST(SettingsFile, MalformedValuesGiveTheirDefaults) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("orvel.ini",
                                        "[OrvelParameters]\nP1=abc\nD1=\nA1=0x10\nRipple=0,5\nMethod=300\n"
                                        "FilterType=-1\nTextMode=255\nZoom=2.5\nDelay=  9  \n"
                                        "[Optimize]\nGrid1=ABCDEFGHIJKLMN\nRstep=1e-3\nP1step=7x\n");
  const TWorkbenchSettings s = ReadWorkbenchSettings(path);
  const TWorkbenchSettings d = DefaultWorkbenchSettings();
  EXPECT_EQ(s.P1, d.P1);
  EXPECT_EQ(s.D1, d.D1);
  EXPECT_EQ(s.A1, 16);  // hexadecimal, as the platform's integer reader takes it
  EXPECT_EQ(s.Ripple, d.Ripple);  // the point is the only decimal separator
  EXPECT_EQ(s.Method, d.Method);
  EXPECT_EQ(s.FilterType, d.FilterType);
  EXPECT_EQ(s.TextMode, 255);
  EXPECT_EQ(s.Zoom, d.Zoom);
  EXPECT_EQ(s.Delay, 9);
  EXPECT_EQ(s.Grid1.Str(), "ABCDEFGHIJ");
  EXPECT_EQ(s.Rstep, 1e-3);
  EXPECT_EQ(s.P1step, d.P1step);
}

TEST(SettingsFile, KeepsOtherKeysAndComments) {
  orvel::testing::TTempDir folder;
  const std::string path =
      folder.Write("orvel.ini", "; kept\r\n[OrvelParameters]\r\nP1=50\r\nOther=x\r\n[Mine]\r\nk=v\r\n");
  WriteWorkbenchSettings(path, DefaultWorkbenchSettings());
  const std::string text = orvel::testing::FileBytes(path);
  EXPECT_EQ(text.rfind("; kept\r\n", 0), 0u);
  EXPECT_NE(text.find("P1=24\r\n"), std::string::npos);
  EXPECT_NE(text.find("Other=x\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Mine]\r\nk=v\r\n"), std::string::npos);
}

TEST(SettingsFile, ReportsAFileThatCannotBeReadOrWritten) {
  orvel::testing::TTempDir folder;
  // A folder where the file should be cannot be read, nor replaced.
  const std::string dirPath = folder.File("orvel.ini");
  std::filesystem::create_directory(dirPath);
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      if (attempt == 0) {
        ReadWorkbenchSettings(dirPath);
      } else {
        WriteWorkbenchSettings(dirPath, DefaultWorkbenchSettings());
      }
      ADD_FAILURE() << "no error, attempt " << attempt;
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), dirPath);
      EXPECT_NE(e.Message().find(dirPath), std::string::npos) << e.Message();
    }
  }
  // A file in place of its folder.
  const std::string blocker = folder.Write("blocker", "x");
  EXPECT_THROW(WriteWorkbenchSettings(blocker + "/orvel.ini", DefaultWorkbenchSettings()), EWorkbenchFile);
  EXPECT_EQ(orvel::testing::FileBytes(blocker), "x");
}

// At start-up a file that cannot be read gives the defaults, with one warning.
TEST(SettingsFile, StartsWithTheDefaultsAfterOneWarningForAFileThatCannotBeRead) {
  orvel::testing::TTempDir folder;
  const std::string dirPath = folder.File("orvel.ini");
  std::filesystem::create_directory(dirPath);
  TScriptedMessages messages;
  ExpectSameSettings(ReadWorkbenchSettings(dirPath, messages), DefaultWorkbenchSettings());
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_NE(messages.Shown[0].Text.find(dirPath), std::string::npos) << messages.Shown[0].Text;
  EXPECT_EQ(messages.Shown[0].Icon, miWarning);
  EXPECT_EQ(messages.Shown[0].Caption, capFileRefused);

  // A good file: no message.
  const std::string path = folder.File("good.ini");
  WriteWorkbenchSettings(path, DistinctSettings());
  ExpectSameSettings(ReadWorkbenchSettings(path, messages), DistinctSettings());
  EXPECT_EQ(messages.Shown.size(), 1u);
}

// A settings file of 16 MiB and more holds nobody's settings: it is never
// read whole. The program starts with the defaults and writes its settings
// over it at exit.
TEST(SettingsFile, AnOversizedFileIsABadFileThatIsWrittenOverAtExit) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("orvel.ini", "[OrvelParameters]\r\nP1=50\r\n");
  std::filesystem::resize_file(path, SettingsFileMaxSize + 1);
  try {
    ReadWorkbenchSettings(path);
    ADD_FAILURE() << "read";
  } catch (const EWorkbenchFile& e) {
    EXPECT_EQ(e.FileName(), path);
    EXPECT_NE(e.Message().find(msgFileTooLarge), std::string::npos) << e.Message();
  }
  TScriptedMessages messages;
  ExpectSameSettings(ReadWorkbenchSettings(path, messages), DefaultWorkbenchSettings());
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_NE(messages.Shown[0].Text.find(path), std::string::npos);
  EXPECT_NE(messages.Shown[0].Text.find(msgFileTooLarge), std::string::npos);

  WriteWorkbenchSettings(path, DistinctSettings());
  EXPECT_LT(std::filesystem::file_size(path), 4096u);
  ExpectSameSettings(ReadWorkbenchSettings(path), DistinctSettings());

  // At the bound the file is still read.
  const std::string atBound = folder.Write("bound.ini", "[OrvelParameters]\r\nP1=50\r\n;");
  std::filesystem::resize_file(atBound, SettingsFileMaxSize);
  EXPECT_EQ(ReadWorkbenchSettings(atBound).P1, 50);
}

TEST(SettingsFile, CreatesTheConfigurationFolder) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.File("config/Orvel/orvel.ini");
  WriteWorkbenchSettings(path, DistinctSettings());
  ExpectSameSettings(ReadWorkbenchSettings(path), DistinctSettings());
}

TEST(SettingsFilePath, NextToTheExecutableWhenItsFolderIsWritable) {
  orvel::testing::TTempDir folder;
  const std::string exeDir = folder.File("bin");
  const std::string configDir = folder.File("config");
  std::filesystem::create_directory(exeDir);
  EXPECT_EQ(SettingsFilePath(exeDir, configDir), exeDir + "/orvel.ini");
  EXPECT_EQ(SettingsFilePath(folder.File("no-such-folder"), configDir), configDir + "/orvel.ini");
  EXPECT_EQ(SettingsFilePath("", configDir), configDir + "/orvel.ini");
  EXPECT_EQ(std::filesystem::path(DefaultSettingsFilePath()).filename(), "orvel.ini");
}

}  // namespace
}  // namespace workbench
