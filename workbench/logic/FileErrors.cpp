// Texts of the errors of workbench files.
// Tested by: tests/TextFilesTest.cpp
#include "workbench/logic/FileErrors.h"

namespace workbench {

std::string FileErrorText(std::string_view fileName, std::string_view what) {
  return "Файл \"" + std::string(fileName) + "\": " + std::string(what);
}

std::string FileLineErrorText(std::string_view fileName, std::int64_t line, std::string_view what) {
  return "Файл \"" + std::string(fileName) + "\", строка " + std::to_string(line) + ": " + std::string(what);
}

}  // namespace workbench
