// The settings store over a QSettings INI file.
//
// Tested by: platform/ui/tests/RegistryStoreTest.cpp
#include "platform/ui/RegistryStore.h"

#include <filesystem>
#include <utility>

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "platform/classlib/Exception.h"

namespace ui {

namespace {

std::string& StoreFile() {
  static std::string file;
  return file;
}

// "\Software\Halvane\Numora" as the group "Software/Halvane/Numora": both
// slashes separate, empty parts go.
std::string GroupOf(std::string_view path) {
  std::string group;
  std::string part;
  auto flush = [&] {
    if (part.empty()) return;
    if (!group.empty()) group += '/';
    group += part;
    part.clear();
  };
  for (const char c : path) {
    if (c == '\\' || c == '/')
      flush();
    else
      part += c;
  }
  flush();
  return group;
}

}  // namespace

std::string DefaultRegistryFile() {
  const std::filesystem::path config =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  return (config / "Orvel" / "registry.ini").string();
}

std::string RegistryFile() { return StoreFile().empty() ? DefaultRegistryFile() : StoreFile(); }

std::string SetRegistryFile(std::string fileName) {
  std::string previous = RegistryFile();
  StoreFile() = std::move(fileName);
  return previous;
}

TRegIniFile::TRegIniFile(std::string_view keyPath)
    : FSettings(std::make_unique<QSettings>(QString::fromStdString(RegistryFile()), QSettings::IniFormat)),
      FGroup(GroupOf(keyPath)) {}

// QSettings writes what is left when it goes; a failure there has nobody to
// tell, which is why writers call UpdateFile.
TRegIniFile::~TRegIniFile() = default;

QString TRegIniFile::Key(std::string_view section, std::string_view name) const {
  std::string key = FGroup;
  for (const std::string_view part : {section, name}) {
    const std::string sub = GroupOf(part);
    if (sub.empty()) continue;
    if (!key.empty()) key += '/';
    key += sub;
  }
  return QString::fromStdString(key);
}

std::string TRegIniFile::ReadString(std::string_view section, std::string_view name, const std::string& def) const {
  const QVariant v = FSettings->value(Key(section, name));
  if (!v.isValid()) return def;
  // An unquoted value with commas in a file edited by hand reads as a list.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(", ").toStdString();
  return v.toString().toStdString();
}

std::int32_t TRegIniFile::ReadInteger(std::string_view section, std::string_view name, std::int32_t def) const {
  bool ok = false;
  const int value = FSettings->value(Key(section, name)).toString().trimmed().toInt(&ok);
  return ok ? value : def;
}

bool TRegIniFile::ReadBool(std::string_view section, std::string_view name, bool def) const {
  const QString text = FSettings->value(Key(section, name)).toString().trimmed().toLower();
  if (text == "1" || text == "true") return true;
  if (text == "0" || text == "false") return false;
  return def;
}

bool TRegIniFile::ValueExists(std::string_view section, std::string_view name) const {
  return FSettings->contains(Key(section, name));
}

void TRegIniFile::WriteString(std::string_view section, std::string_view name, const std::string& value) {
  FSettings->setValue(Key(section, name), QString::fromStdString(value));
}

void TRegIniFile::WriteInteger(std::string_view section, std::string_view name, std::int32_t value) {
  FSettings->setValue(Key(section, name), value);
}

void TRegIniFile::WriteBool(std::string_view section, std::string_view name, bool value) {
  FSettings->setValue(Key(section, name), value ? 1 : 0);
}

void TRegIniFile::UpdateFile() {
  FSettings->sync();
  const std::string file = FSettings->fileName().toStdString();
  switch (FSettings->status()) {
    case QSettings::NoError: return;
    case QSettings::FormatError: throw classlib::Exception("The settings file " + file + " cannot be read");
    case QSettings::AccessError: break;
  }
  throw classlib::Exception("The settings file " + file + " cannot be written");
}

}  // namespace ui
