// The settings file orvel.ini: defaults, location, reading and writing.
// Tested by: tests/SettingsFileTest.cpp
#include "workbench/logic/SettingsFile.h"

#include <unistd.h>

#include <QStandardPaths>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "platform/classlib/IniFiles.h"
#include "platform/classlib/Streams.h"
#include "workbench/logic/FileErrors.h"

namespace workbench {

namespace {

using classlib::TMemIniFile;

std::uint8_t ReadByte(const TMemIniFile& ini, const char* key, std::uint8_t defaultValue) {
  const std::int32_t value = ini.ReadInteger(secOrvelParameters, key, defaultValue);
  return (value >= 0 && value <= 255) ? static_cast<std::uint8_t>(value) : defaultValue;
}

// The size of a settings file above SettingsFileMaxSize; nothing for a file
// within it, a missing one, or one whose size cannot be told (its reader
// reports that).
std::optional<std::uintmax_t> Oversized(const std::string& fileName) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(fileName, error);
  if (error || size <= static_cast<std::uintmax_t>(SettingsFileMaxSize)) return std::nullopt;
  return size;
}

// The search ranges: one from/to/step triple per parameter.
struct TRangeKeys {
  const char* from;
  const char* to;
  const char* step;
};

}  // namespace

TWorkbenchSettings DefaultWorkbenchSettings() {
  TWorkbenchSettings s;
  s.P1 = 24;
  s.D1 = 12;
  s.A1 = 40;
  s.P2 = 31;
  s.D2 = 52;
  s.A2 = 40;
  s.Ripple = 0.08;
  s.Delay = 0;
  s.Method = 3;
  s.FilterType = ftLowPass;
  s.TextMode = tmMQL4;
  s.Zoom = 4;
  s.Grid1 = "";
  s.P1from = 10, s.P1to = 80, s.P1step = 1;
  s.P2from = 15, s.P2to = 80, s.P2step = 1;
  s.D1from = 10, s.D1to = 80, s.D1step = 1;
  s.D2from = 15, s.D2to = 80, s.D2step = 1;
  s.A1from = 10, s.A1to = 60, s.A1step = 5;
  s.A2from = 10, s.A2to = 60, s.A2step = 5;
  s.Rfrom = 0.001, s.Rto = 0.01, s.Rstep = 0.005;
  s.Delayfrom = 0, s.Delayto = 5, s.Delaystep = 1;
  return s;
}

std::string SettingsFilePath(const std::string& executableDir, const std::string& configDir) {
  const bool writable = !executableDir.empty() && ::access(executableDir.c_str(), W_OK) == 0;
  return (std::filesystem::path(writable ? executableDir : configDir) / SettingsFileName).string();
}

std::string DefaultSettingsFilePath() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string executableDir = error ? std::string() : executable.parent_path().string();
  const std::string configDir =
      (std::filesystem::path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString()) /
       "Orvel")
          .string();
  return SettingsFilePath(executableDir, configDir);
}

TWorkbenchSettings ReadWorkbenchSettings(const std::string& fileName) {
  if (const auto size = Oversized(fileName))
    throw EWorkbenchFile(fileName, FileErrorText(fileName, std::string(msgFileTooLarge) + " (" +
                                                               std::to_string(*size) + " байт)"));
  std::optional<TMemIniFile> file;
  try {
    file.emplace(fileName);
  } catch (const classlib::EStreamError& e) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, e.Message()));
  } catch (const std::bad_alloc&) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, msgOutOfMemory));
  }
  const TMemIniFile& ini = *file;
  const TWorkbenchSettings d = DefaultWorkbenchSettings();
  TWorkbenchSettings s = d;
  const char* P = secOrvelParameters;
  s.P1 = ini.ReadInteger(P, "P1", d.P1);
  s.D1 = ini.ReadInteger(P, "D1", d.D1);
  s.A1 = ini.ReadInteger(P, "A1", d.A1);
  s.P2 = ini.ReadInteger(P, "P2", d.P2);
  s.D2 = ini.ReadInteger(P, "D2", d.D2);
  s.A2 = ini.ReadInteger(P, "A2", d.A2);
  s.Ripple = ini.ReadFloat(P, "Ripple", d.Ripple, '.');
  s.Delay = ini.ReadInteger(P, "Delay", d.Delay);
  s.Method = ReadByte(ini, "Method", d.Method);
  s.FilterType = ReadByte(ini, "FilterType", d.FilterType);
  s.TextMode = ReadByte(ini, "TextMode", d.TextMode);
  s.Zoom = ReadByte(ini, "Zoom", d.Zoom);

  const char* O = secOptimize;
  s.Grid1 = ini.ReadString(O, "Grid1", d.Grid1.Str());
  const auto range = [&](TRangeKeys keys, std::int32_t& from, std::int32_t& to, std::int32_t& step) {
    from = ini.ReadInteger(O, keys.from, from);
    to = ini.ReadInteger(O, keys.to, to);
    step = ini.ReadInteger(O, keys.step, step);
  };
  range({"P1from", "P1to", "P1step"}, s.P1from, s.P1to, s.P1step);
  range({"P2from", "P2to", "P2step"}, s.P2from, s.P2to, s.P2step);
  range({"D1from", "D1to", "D1step"}, s.D1from, s.D1to, s.D1step);
  range({"D2from", "D2to", "D2step"}, s.D2from, s.D2to, s.D2step);
  range({"A1from", "A1to", "A1step"}, s.A1from, s.A1to, s.A1step);
  range({"A2from", "A2to", "A2step"}, s.A2from, s.A2to, s.A2step);
  s.Rfrom = ini.ReadFloat(O, "Rfrom", d.Rfrom, '.');
  s.Rto = ini.ReadFloat(O, "Rto", d.Rto, '.');
  s.Rstep = ini.ReadFloat(O, "Rstep", d.Rstep, '.');
  range({"Delayfrom", "Delayto", "Delaystep"}, s.Delayfrom, s.Delayto, s.Delaystep);
  return s;
}

TWorkbenchSettings ReadWorkbenchSettings(const std::string& fileName, TUserMessages& messages) {
  try {
    return ReadWorkbenchSettings(fileName);
  } catch (const EWorkbenchFile& e) {
    messages.MessageBox(e.Message(), capFileRefused, mbOK, miWarning);
    return DefaultWorkbenchSettings();
  }
}

void WriteWorkbenchSettings(const std::string& fileName, const TWorkbenchSettings& s) {
  try {
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    if (!folder.empty()) {
      std::error_code error;
      std::filesystem::create_directories(folder, error);
      if (error) throw classlib::EFCreateError("Cannot create folder \"" + folder.string() + "\". " + error.message());
    }
    // Changes stay in memory until UpdateFile, so the file is written once,
    // whole, in the key order below. An oversized file was never read: what
    // it holds is not kept.
    TMemIniFile ini(Oversized(fileName) ? std::string() : fileName);
    ini.Rename(fileName, false);
    const char* P = secOrvelParameters;
    ini.WriteInteger(P, "P1", s.P1);
    ini.WriteInteger(P, "D1", s.D1);
    ini.WriteInteger(P, "A1", s.A1);
    ini.WriteInteger(P, "P2", s.P2);
    ini.WriteInteger(P, "D2", s.D2);
    ini.WriteInteger(P, "A2", s.A2);
    ini.WriteFloat(P, "Ripple", s.Ripple, '.');
    ini.WriteInteger(P, "Delay", s.Delay);
    ini.WriteInteger(P, "FilterType", s.FilterType);
    ini.WriteInteger(P, "TextMode", s.TextMode);
    ini.WriteInteger(P, "Method", s.Method);
    ini.WriteInteger(P, "Zoom", s.Zoom);

    const char* O = secOptimize;
    ini.WriteString(O, "Grid1", s.Grid1.Str());
    const auto range = [&](TRangeKeys keys, std::int32_t from, std::int32_t to, std::int32_t step) {
      ini.WriteInteger(O, keys.from, from);
      ini.WriteInteger(O, keys.to, to);
      ini.WriteInteger(O, keys.step, step);
    };
    range({"P1from", "P1to", "P1step"}, s.P1from, s.P1to, s.P1step);
    range({"P2from", "P2to", "P2step"}, s.P2from, s.P2to, s.P2step);
    range({"D1from", "D1to", "D1step"}, s.D1from, s.D1to, s.D1step);
    range({"D2from", "D2to", "D2step"}, s.D2from, s.D2to, s.D2step);
    range({"A1from", "A1to", "A1step"}, s.A1from, s.A1to, s.A1step);
    range({"A2from", "A2to", "A2step"}, s.A2from, s.A2to, s.A2step);
    ini.WriteFloat(O, "Rfrom", s.Rfrom, '.');
    ini.WriteFloat(O, "Rto", s.Rto, '.');
    ini.WriteFloat(O, "Rstep", s.Rstep, '.');
    range({"Delayfrom", "Delayto", "Delaystep"}, s.Delayfrom, s.Delayto, s.Delaystep);
    ini.UpdateFile();
  } catch (const classlib::Exception& e) {
    throw EWorkbenchFile(fileName, FileErrorText(fileName, e.Message()));
  }
}

}  // namespace workbench
