// A fresh directory under the system's temporary folder, removed with its
// content when the test ends. Shared by the classlib tests that touch files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace classlib::testing {

class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvel-classlib-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  std::string File(const std::string& name) const { return (FPath / name).string(); }
  const std::filesystem::path& Path() const { return FPath; }
  // Names of the entries, sorted, to see that no temporary file was left behind.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(FPath)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names) out += n + ";";
    return out;
  }

 private:
  std::filesystem::path FPath;
};

}  // namespace classlib::testing
