// Covers IniFiles.cpp: reading with either line end, case-insensitive names,
// typed values, round trips through the file, write-through, bad names.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/classlib/IniFiles.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "testing/TestSupport.h"

namespace {

using V = std::vector<std::string>;
using namespace classlib;
using orvel::testing::LinesOf;
using orvel::testing::PutFile;
using orvel::testing::TTempDir;

TEST(IniFile, WritesCrLfAndReadsBackEveryType) {
  TTempDir dir;
  const std::string name = dir.File("orvel.ini");
  {
    TMemIniFile ini(name);
    ini.WriteFloat("OrvelParameters", "P1", 12.5);
    ini.WriteInteger("OrvelParameters", "Delay", -3);
    ini.WriteBool("OrvelParameters", "Zoom", true);
    ini.WriteString("Optimize", "Grid1", "x y");
    ini.WriteFloat("Optimize", "Rstep", 0.00005);
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadFileBytes(name),
            "[OrvelParameters]\r\nP1=12.5\r\nDelay=-3\r\nZoom=1\r\n\r\n"
            "[Optimize]\r\nGrid1=x y\r\nRstep=5E-5\r\n\r\n");
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadFloat("OrvelParameters", "P1", 0), 12.5);
  EXPECT_EQ(ini.ReadInteger("OrvelParameters", "Delay", 0), -3);
  EXPECT_TRUE(ini.ReadBool("OrvelParameters", "Zoom", false));
  EXPECT_EQ(ini.ReadString("Optimize", "Grid1", ""), "x y");
  EXPECT_EQ(ini.ReadFloat("Optimize", "Rstep", 0), 0.00005);
}

TEST(IniFile, ReadsLfFilesIgnoringCaseAndBlanks) {
  TTempDir dir;
  const std::string name = dir.File("lf.ini");
  PutFile(name,
      "; written by hand\n[OrvelParameters]\n p1 = 10 \nRipple=0,5\nHex=0x1F\nDollar=$10\nBad=12a\n"
      "# note\n\n[optimize]\nP1from=5\n[OrvelParameters]\nP1=99\nLater=1\r\n");
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("ORVELPARAMETERS", "P1", 0), 10) << "the first of two equal keys counts";
  EXPECT_EQ(ini.ReadFloat("OrvelParameters", "Ripple", -1, ','), 0.5);
  EXPECT_EQ(ini.ReadFloat("OrvelParameters", "Ripple", -1), -1) << "a comma is no point";
  EXPECT_EQ(ini.ReadInteger("OrvelParameters", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("OrvelParameters", "Dollar", 0), 16);
  EXPECT_EQ(ini.ReadInteger("OrvelParameters", "Bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger("OrvelParameters", "Later", 0), 1) << "a repeated section is one section";
  EXPECT_EQ(ini.ReadString("Nothing", "P1", "dflt"), "dflt");
  EXPECT_TRUE(ini.SectionExists("OPTIMIZE"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.ValueExists("optimize", "p1FROM"));
  EXPECT_FALSE(ini.ValueExists("optimize", "P1to"));

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(LinesOf(list), (V{"OrvelParameters", "optimize"}));
  ini.ReadSection("orvelparameters", list);
  EXPECT_EQ(LinesOf(list), (V{"p1", "Ripple", "Hex", "Dollar", "Bad", "P1", "Later"}));
  ini.ReadSectionValues("Optimize", list);
  EXPECT_EQ(LinesOf(list), (V{"P1from=5"}));

  // Comments stay where they were when the file is written back.
  ini.UpdateFile();
  const std::string text = ReadFileBytes(name);
  EXPECT_EQ(text.rfind("; written by hand\r\n[OrvelParameters]\r\np1=10\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("# note\r\n"), std::string::npos);
}

TEST(IniFile, BoolsAndDefaults) {
  TTempDir dir;
  PutFile(dir.File("b.ini"), "[S]\nTwo=2\nZero=0\nWord=yes\n");
  TMemIniFile ini(dir.File("b.ini"));
  EXPECT_TRUE(ini.ReadBool("S", "Two", false));
  EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
  EXPECT_TRUE(ini.ReadBool("S", "Word", true));
  EXPECT_FALSE(ini.ReadBool("S", "Word", false));
  TMemIniFile missing(dir.File("missing.ini"));
  EXPECT_FALSE(missing.SectionExists("S"));
  EXPECT_EQ(dir.Listing(), "b.ini;") << "reading creates no file";
}

TEST(IniFile, FloatsIgnoreTheProcessWideSeparator) {
  TTempDir dir;
  const char saved = DecimalSeparator();
  SetDecimalSeparator(',');
  TMemIniFile ini(dir.File("f.ini"));
  ini.WriteFloat("S", "X", 0.25);
  ini.WriteFloat("S", "Y", 0.25, ',');
  EXPECT_EQ(ini.ReadString("S", "X", ""), "0.25");
  EXPECT_EQ(ini.ReadString("S", "Y", ""), "0,25");
  EXPECT_EQ(ini.ReadFloat("S", "X", 0), 0.25);
  SetDecimalSeparator(saved);
}

TEST(IniFile, EraseAndDelete) {
  TTempDir dir;
  TMemIniFile ini(dir.File("e.ini"));
  ini.WriteString("A", "k1", "1");
  ini.WriteString("A", "k2", "2");
  ini.WriteString("B", "k", "3");
  ini.WriteString("a", "K1", "changed");
  EXPECT_EQ(ini.ReadString("A", "k1", ""), "changed");
  ini.DeleteKey("a", "K2");
  EXPECT_FALSE(ini.ValueExists("A", "k2"));
  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("B"));
  TStringList lines;
  ini.GetStrings(lines);
  EXPECT_EQ(LinesOf(lines), (V{"[A]", "k1=changed", ""}));
  ini.SetStrings(lines);
  EXPECT_EQ(ini.ReadString("A", "k1", ""), "changed");
}

TEST(IniFile, IniFileWritesThrough) {
  TTempDir dir;
  const std::string name = dir.File("w.ini");
  TIniFile ini(name);
  ini.WriteInteger("OrvelParameters", "Method", 1);
  EXPECT_EQ(ReadFileBytes(name), "[OrvelParameters]\r\nMethod=1\r\n\r\n");
  ini.DeleteKey("OrvelParameters", "Method");
  EXPECT_EQ(ReadFileBytes(name), "[OrvelParameters]\r\n\r\n");
}

TEST(IniFile, RefusesNamesAndValuesTheFileCannotHold) {
  TTempDir dir;
  const std::string name = dir.File("r.ini");
  TIniFile ini(name);
  ini.WriteString("S", "K", "v");
  const std::string before = ReadFileBytes(name);
  EXPECT_THROW(ini.WriteString("S", "K", "two\nlines"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", " ", "v"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S]", "K", "v"), EIniFileException);
  EXPECT_EQ(ReadFileBytes(name), before);
  EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
}

TEST(IniFile, FileErrorsAreReported) {
  TTempDir dir;
  EXPECT_THROW(TMemIniFile(dir.Path().string()), EFOpenError);
  TMemIniFile ini(dir.File("no/such/dir.ini"));
  ini.WriteString("S", "K", "v");
  EXPECT_THROW(ini.UpdateFile(), EFCreateError);
}

}  // namespace
