// Parameter template files: the dialogs and their filter, the ".cfg"
// extension the first filter forces, a file of another class refused, a
// missing file, and template mode lowered on every path.
// Covers: analysis_ui/MtxTemplateFiles.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analysis_ui/MtxDialogs.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/MtxProgressDialog.h"
#include "signal/SpectrumAnalyzer.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using orvel::testing::Raises;

class MtxTemplateFiles : public ui::TWindowTest {
 protected:
  // An analyser whose parameters (Harmonics) and data (Length) differ from a
  // new one's.
  static void Prepare(sig::TSpectrumAnalyzer& analyzer) {
    analyzer.SetHarmonics(3);
    analyzer.SetLength(200);
  }
  void ChooseFile(const std::string& name, int filterIndex) {
    FDialogs.FileChoices.push_back(ui::TFileChoice{FDir.File(name), filterIndex});
  }
};

TEST_F(MtxTemplateFiles, TheFirstFilterSavesACfgFileOfParametersOnly) {
  sig::TSpectrumAnalyzer source;
  Prepare(source);
  ChooseFile("params.txt", 1);
  EXPECT_TRUE(SaveTemplates(source));
  ASSERT_EQ(FDialogs.FileDialogs.size(), 1U);
  EXPECT_TRUE(FDialogs.FileDialogs[0].Save);
  EXPECT_EQ(FDialogs.FileDialogs[0].Filter, "Config files (*.cfg)|*.cfg|All files (*.*)|*.*");
  EXPECT_EQ(FDialogs.FileDialogs[0].FilterIndex, 1);
  EXPECT_FALSE(source.TemplateMode());
  EXPECT_TRUE(std::filesystem::exists(FDir.File("params.cfg")));
  EXPECT_FALSE(std::filesystem::exists(FDir.File("params.txt")));

  sig::TSpectrumAnalyzer target;
  target.SetLength(100);
  ChooseFile("params.cfg", 1);
  EXPECT_TRUE(LoadTemplates(target));
  EXPECT_FALSE(FDialogs.FileDialogs[1].Save);
  EXPECT_EQ(FDialogs.FileDialogs[1].Filter, "Config files (*.cfg)|*.cfg|All files (*.*)|*.*");
  EXPECT_FALSE(target.TemplateMode());
  EXPECT_EQ(target.Harmonics(), 3);
  // The data stayed out of the template.
  EXPECT_EQ(target.Length(), 100);
}

TEST_F(MtxTemplateFiles, AllFilesKeepsTheTypedName) {
  sig::TSpectrumAnalyzer source;
  ChooseFile("params.set", 2);
  EXPECT_TRUE(SaveTemplates(source));
  EXPECT_TRUE(std::filesystem::exists(FDir.File("params.set")));
  EXPECT_FALSE(std::filesystem::exists(FDir.File("params.cfg")));
}

TEST_F(MtxTemplateFiles, AFileOfAnotherClassIsRefusedAndChangesNothing) {
  sig::TSpectrumAnalyzer source;
  Prepare(source);
  ChooseFile("analyser.cfg", 1);
  SaveTemplates(source);
  sig::TMtxProgressDialog other;
  other.SetMax(7);
  ChooseFile("analyser.cfg", 1);
  try {
    LoadTemplates(other);
    ADD_FAILURE() << "loaded";
  } catch (const classlib::Exception& e) {
    // The message goes on to name the file.
    EXPECT_EQ(e.Message().rfind("Data format type missmatch: TSpectrumAnalyzer <> TMtxProgressDialog", 0), 0U)
        << e.Message();
  }
  EXPECT_FALSE(other.TemplateMode());
  EXPECT_EQ(other.Max(), 7);
}

TEST_F(MtxTemplateFiles, AMissingFileLeavesNoTemplateModeBehind) {
  sig::TSpectrumAnalyzer target;
  Prepare(target);
  ChooseFile("nowhere.cfg", 1);
  EXPECT_TRUE(Raises([&] { LoadTemplates(target); }, "File not found!"));
  EXPECT_FALSE(target.TemplateMode());
  EXPECT_EQ(target.Harmonics(), 3);
  // A copy carries the data again.
  sig::TSpectrumAnalyzer copy;
  copy.Assign(target);
  EXPECT_EQ(copy.Length(), 200);
}

TEST_F(MtxTemplateFiles, CancelledDialogsReadAndWriteNothing) {
  sig::TSpectrumAnalyzer signal;
  FDialogs.FileChoices = {std::nullopt, std::nullopt};
  EXPECT_FALSE(SaveTemplates(signal));
  EXPECT_FALSE(LoadTemplates(signal));
  EXPECT_FALSE(signal.TemplateMode());
  EXPECT_EQ(FDir.Listing(), "");
}

TEST_F(MtxTemplateFiles, AFileThatDoesNotReadLeavesTheComponentAsItWas) {
  sig::TSpectrumAnalyzer target;
  Prepare(target);
  FDialogs.FileChoices.push_back(ui::TFileChoice{FDir.Write("bad.cfg", "not a template"), 1});
  EXPECT_THROW(LoadTemplates(target), classlib::Exception);
  EXPECT_FALSE(target.TemplateMode());
  EXPECT_EQ(target.Harmonics(), 3);
  EXPECT_EQ(target.Length(), 200);
}

}  // namespace
}  // namespace analysis_ui
