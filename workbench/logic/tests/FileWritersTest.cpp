// Every writer of the workbench's files, when the disk fills under it or the
// file is read-only: the error names the file, the old file stays whole and
// no temporary is left.
// Covers: TextFiles.cpp (WriteWholeFile) through MethodFile.cpp,
// ParameterFile.cpp and SettingsFile.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "workbench/logic/FileErrors.h"
#include "workbench/logic/MethodFile.h"
#include "workbench/logic/ParameterFile.h"
#include "workbench/logic/SettingsFile.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

TMethod OneFilterMethod() {
  TMethod m;
  TFilterRecord f;
  f.Name = "fatl";
  f.P1 = 24, f.D1 = 12, f.A1 = 40, f.P2 = 31, f.D2 = 52, f.A2 = 41;
  f.Ripple = 0.08;
  f.CoefCount = 2;
  m.Filters = {f};
  m.CodeBefore = "// lead";
  m.CodeAfter = "// after";
  return m;
}

// Each writer with a file name of its kind.
struct TWriter {
  const char* file;
  std::function<void(const std::string&)> save;
};

std::vector<TWriter> Writers() {
  return {
      {"m.dmp", [](const std::string& path) { SaveMethodFile(path, OneFilterMethod()); }},
      {"m.mql",
       [](const std::string& path) {
         TCoefficientRecord c;
         c.Name = "fatl";
         c.Count = 2;
         c.Coef[0] = 0.25, c.Coef[1] = 0.75;
         SaveMethodText(path, OneFilterMethod(), std::vector<TCoefficientRecord>{c});
       }},
      {"f.prm", [](const std::string& path) { SaveParameterFile(path, TParameterFile{}); }},
      {"orvel.ini", [](const std::string& path) { WriteWorkbenchSettings(path, DefaultWorkbenchSettings()); }},
  };
}

TEST(FileWriters, NameTheirFileWhenAWriteFails) {
  for (const TWriter& w : Writers()) {
    SCOPED_TRACE(w.file);
    orvel::testing::TTempDir folder;
    const std::string path = folder.Write(w.file, "old");
    try {
      orvel::testing::TFileSizeLimit full(16);
      w.save(path);
      ADD_FAILURE() << "written";
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), path);
      EXPECT_EQ(e.Message().rfind("Файл \"" + path + "\": ", 0), 0u) << e.Message();
      EXPECT_NE(e.Message().find("Stream write error"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(orvel::testing::FileBytes(path), "old");
    EXPECT_EQ(folder.Listing(), std::string(w.file) + ";");
    // With room on the disk, the same writer succeeds.
    w.save(path);
    EXPECT_NE(orvel::testing::FileBytes(path), "old");
  }
}

TEST(FileWriters, RefuseAFileMadeReadOnly) {
  for (const TWriter& w : Writers()) {
    SCOPED_TRACE(w.file);
    orvel::testing::TTempDir folder;
    const std::string path = folder.Write(w.file, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    try {
      w.save(path);
      ADD_FAILURE() << "written";
    } catch (const EWorkbenchFile& e) {
      EXPECT_EQ(e.FileName(), path);
      EXPECT_NE(e.Message().find("Cannot create file \"" + path + "\". Permission denied"), std::string::npos)
          << e.Message();
    }
    EXPECT_EQ(orvel::testing::FileBytes(path), "old");
    EXPECT_EQ(folder.Listing(), std::string(w.file) + ";");
  }
}

}  // namespace
}  // namespace workbench
