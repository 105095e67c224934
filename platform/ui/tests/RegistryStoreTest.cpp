// The settings store: key paths and sections as groups, texts that an INI
// file must quote, values of the wrong type, switching the file, and a file
// that cannot be written.
// Covers: RegistryStore.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ui/RegistryStore.h"
#include "testing/TestSupport.h"

namespace ui {
namespace {

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override { FPrevious = SetRegistryFile(FDir.File("registry.ini")); }
  void TearDown() override { SetRegistryFile(FPrevious); }

  std::string FileText() const {
    std::ifstream in(RegistryFile());
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }

  orvel::testing::TTempDir FDir;
  std::string FPrevious;
};

TEST_F(RegistryStore, TextsComeBackAsWritten) {
  const std::string texts[] = {"0.00#;-0.00#", "+0.00#i;-0.00#i", "#9", "a, b,c", "x=y", " padded ", "\"quoted\"",
                               "back\\slash", "Расчет", "", "1.5e-300"};
  {
    TRegIniFile reg("\\Software\\Halvane\\Numora");
    for (std::size_t i = 0; i < std::size(texts); ++i) reg.WriteString("Edit", "V" + std::to_string(i), texts[i]);
    reg.UpdateFile();
  }
  TRegIniFile reg("\\Software\\Halvane\\Numora");
  for (std::size_t i = 0; i < std::size(texts); ++i)
    EXPECT_EQ(reg.ReadString("Edit", "V" + std::to_string(i), "missing"), texts[i]) << i;
}

TEST_F(RegistryStore, KeyPathAndSectionAreGroups) {
  {
    TRegIniFile reg("\\Software\\Halvane\\Numora\\Dialog1");
    reg.WriteString("SpinEdit1", "Value", "2.5");
    reg.WriteInteger("SpinEdit1", "Count", -7);
    reg.WriteBool("SpinEdit1", "Scientific", true);
    reg.UpdateFile();
  }
  // The same place through the other slash and a trailing one.
  TRegIniFile same("Software/Halvane/Numora/Dialog1/");
  EXPECT_EQ(same.ReadString("SpinEdit1", "Value", ""), "2.5");
  EXPECT_EQ(same.ReadInteger("SpinEdit1", "Count", 0), -7);
  EXPECT_TRUE(same.ReadBool("SpinEdit1", "Scientific", false));
  EXPECT_TRUE(same.ValueExists("SpinEdit1", "Value"));
  // A neighbouring key or section holds none of it.
  TRegIniFile root("\\Software\\Halvane\\Numora");
  EXPECT_FALSE(root.ValueExists("SpinEdit1", "Value"));
  EXPECT_FALSE(same.ValueExists("SpinEdit2", "Value"));
  EXPECT_NE(FileText().find("Software"), std::string::npos);
  EXPECT_NE(FileText().find("Dialog1"), std::string::npos);
}

TEST_F(RegistryStore, MissingOrMistypedValuesGiveTheDefault) {
  FDir.Write("registry.ini",
             "[Software]\nHalvane\\Numora\\E\\Count=twelve\nHalvane\\Numora\\E\\Flag=maybe\n"
             "Halvane\\Numora\\E\\Spaced= 42 \nHalvane\\Numora\\E\\Yes=true\n");
  TRegIniFile reg("\\Software\\Halvane\\Numora");
  EXPECT_EQ(reg.ReadInteger("E", "Count", 5), 5);
  EXPECT_EQ(reg.ReadInteger("E", "Spaced", 5), 42);
  EXPECT_EQ(reg.ReadInteger("E", "Missing", 5), 5);
  EXPECT_TRUE(reg.ReadBool("E", "Flag", true));
  EXPECT_FALSE(reg.ReadBool("E", "Flag", false));
  EXPECT_TRUE(reg.ReadBool("E", "Yes", false));
  EXPECT_EQ(reg.ReadString("E", "Missing", "def"), "def");
  EXPECT_EQ(reg.ReadString("E", "Count", "def"), "twelve");
}

TEST_F(RegistryStore, TheFileInUseIsTheOneChosen) {
  const std::string first = RegistryFile();
  {
    TRegIniFile reg("\\K");
    reg.WriteString("S", "N", "first");
    reg.UpdateFile();
  }
  const std::string second = FDir.File("other.ini");
  EXPECT_EQ(SetRegistryFile(second), first);
  EXPECT_EQ(TRegIniFile("\\K").ReadString("S", "N", "none"), "none");
  {
    TRegIniFile reg("\\K");
    reg.WriteString("S", "N", "second");
    reg.UpdateFile();
  }
  SetRegistryFile(first);
  EXPECT_EQ(TRegIniFile("\\K").ReadString("S", "N", "none"), "first");
  // An empty name gives the user's file back, never the test's.
  SetRegistryFile("");
  EXPECT_EQ(RegistryFile(), DefaultRegistryFile());
  EXPECT_NE(DefaultRegistryFile().find("Orvel"), std::string::npos);
  SetRegistryFile(first);
}

TEST_F(RegistryStore, AFileThatCannotBeWrittenIsReported) {
  // A folder stands where the file should be.
  std::filesystem::create_directory(RegistryFile());
  TRegIniFile reg("\\Software\\Halvane\\Numora");
  reg.WriteString("S", "N", "v");
  const std::string message = orvel::testing::RaisedMessage([&] { reg.UpdateFile(); });
  EXPECT_NE(message.find("registry.ini"), std::string::npos) << message;
  EXPECT_NE(message.find("cannot be"), std::string::npos) << message;
  EXPECT_TRUE(std::filesystem::is_directory(RegistryFile()));
}

}  // namespace
}  // namespace ui
