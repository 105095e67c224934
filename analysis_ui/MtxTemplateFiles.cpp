// Parameter template files.
//
// Tested by: analysis_ui/tests/MtxTemplateFilesTest.cpp
#include "analysis_ui/MtxTemplateFiles.h"

#include <filesystem>
#include <optional>
#include <string>

#include "numeric/MtxBaseComp.h"
#include "platform/classlib/Exception.h"
#include "platform/ui/UserDialogs.h"

namespace analysis_ui {

namespace {

constexpr const char* TemplateFilter = "Config files (*.cfg)|*.cfg|All files (*.*)|*.*";

// Template mode while the routine runs, lowered however it ends: a component
// left in it would save and copy its parameters without their data.
class TTemplateMode {
 public:
  explicit TTemplateMode(numeric::TMtxComponent& Component) : FComponent(Component) {
    FComponent.SetTemplateMode(true);
  }
  ~TTemplateMode() { FComponent.SetTemplateMode(false); }
  TTemplateMode(const TTemplateMode&) = delete;
  TTemplateMode& operator=(const TTemplateMode&) = delete;

 private:
  numeric::TMtxComponent& FComponent;
};

}  // namespace

bool SaveTemplates(numeric::TMtxComponent& Component, QWidget* Parent) {
  TTemplateMode mode(Component);
  const std::optional<ui::TFileChoice> choice = ui::Dialogs().SaveFileDialog(Parent, TemplateFilter, 1);
  if (!choice) return false;
  std::string fileName = choice->FileName;
  if (choice->FilterIndex == 1) {
    // File names are the bytes the dialog gave, on this platform as in the path.
    fileName = std::filesystem::path(fileName).replace_extension(".cfg").string();
  }
  Component.SaveTemplateToFile(fileName);
  return true;
}

bool LoadTemplates(numeric::TMtxComponent& Component, QWidget* Parent) {
  TTemplateMode mode(Component);
  const std::optional<ui::TFileChoice> choice = ui::Dialogs().OpenFileDialog(Parent, TemplateFilter, 1);
  if (!choice) return false;
  std::error_code error;
  if (!std::filesystem::is_regular_file(choice->FileName, error)) throw classlib::Exception("File not found!");
  Component.LoadTemplateFromFile(choice->FileName);
  return true;
}

}  // namespace analysis_ui
