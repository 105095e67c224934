// The user's settings store of the libraries' windows, in the place of the
// current user's registry hive: one INI file through QSettings. A key path
// such as "\Software\Halvane\Numora" and a section below it become nested
// groups ("Software/Halvane/Numora/<section>/<name>").
//
// The store is one file for the process: DefaultRegistryFile() unless
// SetRegistryFile chose another (tests point it at a temporary file, so they
// never touch the user's settings). Used from the GUI thread only.
//
//   TRegIniFile reg("\\Software\\Halvane\\Numora");
//   std::string v = reg.ReadString("SpinEdit1", "Value", "0");
//
// Tested by: platform/ui/tests/RegistryStoreTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <QString>

class QSettings;

namespace ui {

// <the user's configuration folder>/Orvel/registry.ini
std::string DefaultRegistryFile();
// The file of the store now.
std::string RegistryFile();
// Makes fileName the store (empty: the default again) and returns the one it replaces.
std::string SetRegistryFile(std::string fileName);

// The values under one key path, by section and name. Reads give the default
// for a value that is missing or does not read as its type; writes reach the
// file at UpdateFile or when the object goes.
class TRegIniFile {
 public:
  explicit TRegIniFile(std::string_view keyPath);
  ~TRegIniFile();
  TRegIniFile(const TRegIniFile&) = delete;
  TRegIniFile& operator=(const TRegIniFile&) = delete;

  std::string ReadString(std::string_view section, std::string_view name, const std::string& def) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view name, std::int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view name, bool def) const;
  bool ValueExists(std::string_view section, std::string_view name) const;

  void WriteString(std::string_view section, std::string_view name, const std::string& value);
  void WriteInteger(std::string_view section, std::string_view name, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view name, bool value);

  // Writes what changed into the file now; raises a classlib::Exception
  // naming the file when it cannot be written.
  void UpdateFile();

 private:
  QString Key(std::string_view section, std::string_view name) const;

  std::unique_ptr<QSettings> FSettings;
  std::string FGroup;  // "Software/Halvane/Numora"
};

}  // namespace ui
