// Line rules, whole-file reading and writing, file-name rules and error texts
// of the workbench's files.
// Covers: TextFiles.cpp, FileNames.cpp, FileErrors.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/classlib/Streams.h"
#include "workbench/logic/FileErrors.h"
#include "workbench/logic/FileNames.h"
#include "workbench/logic/TextFiles.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TEST(SplitTextLines, ReadsEveryKindOfLineBreak) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\nb\r\rc", {"a", "", "b", "", "c"}},  // mixed, empty lines kept
      {"\r\n", {""}},
      {"a\n\r", {"a", ""}},  // LF then a lone CR: two breaks
  };
  for (const auto& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << ::testing::PrintToString(c.text);
}

TEST(WithCrLf, WritesEveryLineBreakAsCrLf) {
  EXPECT_EQ(WithCrLf("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(WithCrLf("\n\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLf("plain"), "plain");
}

TEST(AppendExtension, NeverDoublesTheExtension) {
  EXPECT_EQ(AppendExtension("m", ".dmp"), "m.dmp");
  EXPECT_EQ(AppendExtension("m.dmp", ".dmp"), "m.dmp");
  EXPECT_EQ(AppendExtension("/tmp/filter.prm", ".prm"), "/tmp/filter.prm");
  EXPECT_EQ(AppendExtension("text.mql", ".mq4"), "text.mql.mq4");
}

TEST(FileKinds, GoByTheNameWithoutItsFolderCaseSensitively) {
  const struct {
    const char* name;
    TGeneratorFileKind generator;
    TCompareFileKind compare;
  } cases[] = {
      {"/data/filter.prm", gfParameters, cfHistory},
      {"/data/DATA.PRM", gfHistory, cfHistory},
      {"/data/quotes.csv", gfQuoteCsv, cfExpertSampling},
      {"/data/QUOTES.CSV", gfHistory, cfHistory},
      {"/data/set.mql", gfHistory, cfMqlImport},
      {"/data/set.mq4", gfHistory, cfMqlImport},
      {"/data/SET.MQ4", gfHistory, cfHistory},
      {"/data/EURUSD60.hst", gfHistory, cfHistory},
      {"/x.prm/y.csv/EURUSD60.hst", gfHistory, cfHistory},  // folders do not count
      {"a.prm.csv", gfParameters, cfExpertSampling},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GeneratorFileKind(c.name), c.generator) << c.name;
    EXPECT_EQ(CompareFileKind(c.name), c.compare) << c.name;
  }
}

TEST(FileErrorText, NamesTheFileAndTheLine) {
  EXPECT_EQ(FileErrorText("/a/b.dmp", "что-то не так"), "Файл \"/a/b.dmp\": что-то не так");
  EXPECT_EQ(FileLineErrorText("b.prm", 3, "ошибка"), "Файл \"b.prm\", строка 3: ошибка");
}

TEST(ReadWholeFile, RefusesAFileAboveTheBound) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("ten.txt", "0123456789");
  EXPECT_EQ(ReadWholeFile(path, 10), "0123456789");
  try {
    ReadWholeFile(path, 9);
    FAIL() << "read a file above the bound";
  } catch (const EWorkbenchFile& e) {
    EXPECT_EQ(e.FileName(), path);
    EXPECT_NE(e.Message().find(path), std::string::npos);
    EXPECT_NE(e.Message().find(msgFileTooLarge), std::string::npos);
  }
  EXPECT_THROW(ReadWholeFile(folder.File("missing.txt"), 100), classlib::EFOpenError);
}

TEST(WriteWholeFile, ReplacesTheFileWholeOrRaises) {
  orvel::testing::TTempDir folder;
  const std::string path = folder.Write("out.txt", "old");
  WriteWholeFile(path, "new content");
  EXPECT_EQ(orvel::testing::FileBytes(path), "new content");
  // A folder in place of the file: the write fails and the folder stays.
  std::filesystem::create_directory(folder.File("dir"));
  EXPECT_THROW(WriteWholeFile(folder.File("dir"), "x"), EWorkbenchFile);
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("dir")));
  EXPECT_THROW(WriteWholeFile(folder.File("missing/out.txt"), "x"), EWorkbenchFile);
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing")));
}

}  // namespace
}  // namespace workbench
