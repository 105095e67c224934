// Temporary folders and whole-file helpers for the tests of the workbench's files.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace workbench {

// A fresh folder, removed with everything in it at the end of the test.
class TTestFolder {
 public:
  std::string Path(std::string_view name) const { return dir_.filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))).toStdString(); }
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

 private:
  QTemporaryDir dir_;
};

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace workbench
