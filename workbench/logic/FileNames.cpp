// File names of the save and open commands.
// Tested by: tests/TextFilesTest.cpp
#include "workbench/logic/FileNames.h"

#include <filesystem>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

namespace {

std::string BareName(std::string_view fileName) {
  return std::filesystem::path(std::string(fileName)).filename().string();
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace

std::string AppendExtension(std::string_view fileName, std::string_view extension) {
  const std::string doubled = std::string(extension) + std::string(extension);
  return ReplaceAll(std::string(fileName) + std::string(extension), doubled, extension);
}

TGeneratorFileKind GeneratorFileKind(std::string_view fileName) {
  const std::string name = BareName(fileName);
  if (Contains(name, ".prm")) return gfParameters;
  if (Contains(name, ".csv")) return gfQuoteCsv;
  return gfHistory;
}

TCompareFileKind CompareFileKind(std::string_view fileName) {
  const std::string name = BareName(fileName);
  if (Contains(name, ".csv")) return cfExpertSampling;
  if (Contains(name, ".mql") || Contains(name, ".mq4")) return cfMqlImport;
  return cfHistory;
}

}  // namespace workbench
