// INI files in memory, written through the safe writer.
// Tested by: tests/IniFilesTest.cpp.
#include "platform/classlib/IniFiles.h"

#include <cerrno>
#include <sys/stat.h>
#include <utility>

#include "platform/classlib/Streams.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

namespace {

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void CheckSectionName(std::string_view section) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos)
    throw EIniFileException("Invalid ini file section name \"" + std::string(section) + "\"");
}

void CheckKey(std::string_view ident) {
  if (Trim(ident).empty() || HasLineBreak(ident) || ident.find('=') != std::string_view::npos)
    throw EIniFileException("Invalid ini file key \"" + std::string(ident) + "\"");
}

bool IsComment(std::string_view line) { return !line.empty() && (line[0] == ';' || line[0] == '#'); }

}  // namespace

// ---------------------------------------------------------------------------
// TCustomIniFile

std::int32_t TCustomIniFile::ReadInteger(std::string_view section, std::string_view ident,
                                         std::int32_t defaultValue) const {
  return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view ident, std::int32_t value) {
  WriteString(section, ident, IntToStr(value));
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view ident, double defaultValue,
                                 char decimalSeparator) const {
  double value = 0;
  return TryStrToFloat(ReadString(section, ident, ""), value, decimalSeparator) ? value : defaultValue;
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view ident, double value,
                                char decimalSeparator) {
  TFormatSettings settings = FormatSettings();
  settings.DecimalSeparator = decimalSeparator;
  WriteString(section, ident, FloatToStr(value, settings));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {
  Rename(FileName(), true);
}

void TMemIniFile::Rename(std::string fileName, bool reload) {
  SetFileName(std::move(fileName));
  if (!reload) return;
  Clear();
  struct stat info {};
  // A missing file is an empty one; any other trouble is reported by the reader.
  if (FileName().empty() || (::stat(FileName().c_str(), &info) != 0 && errno == ENOENT)) return;
  LoadText(ReadFileBytes(FileName()));
}

void TMemIniFile::Clear() {
  FPreamble.clear();
  FSections.clear();
}

void TMemIniFile::LoadText(std::string_view text) {
  TStringList lines;
  lines.SetText(text);
  Clear();
  TSection* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string line = Trim(lines.Strings(i));
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string name = Trim(std::string_view(line).substr(1, line.size() - 2));
      // A section that appears twice is one section.
      current = FindSection(name);
      if (current == nullptr) {
        FSections.push_back({name, {}});
        current = &FSections.back();
      }
      continue;
    }
    if (current == nullptr) {
      FPreamble.push_back(line);
      continue;
    }
    const std::size_t eq = line.find('=');
    if (IsComment(line) || eq == std::string::npos || eq == 0) {
      current->Lines.push_back({false, "", line});
    } else {
      current->Lines.push_back({true, Trim(std::string_view(line).substr(0, eq)),
                                Trim(std::string_view(line).substr(eq + 1))});
    }
  }
}

std::string TMemIniFile::SaveText() const {
  std::string text;
  for (const auto& line : FPreamble) text += line + "\r\n";
  for (const auto& section : FSections) {
    text += "[" + section.Name + "]\r\n";
    for (const auto& line : section.Lines) text += (line.IsKey ? line.Key + "=" + line.Value : line.Value) + "\r\n";
    text += "\r\n";
  }
  return text;
}

void TMemIniFile::GetStrings(TStrings& strings) const { strings.SetText(SaveText()); }

void TMemIniFile::SetStrings(const TStrings& strings) {
  LoadText(strings.Text());
  Modified();
}

void TMemIniFile::UpdateFile() { AtomicWriteFile(FileName(), SaveText()); }

const TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view name) const {
  for (const auto& section : FSections)
    if (SameText(section.Name, name)) return &section;
  return nullptr;
}

TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view name) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(name));
}

const TMemIniFile::TLine* TMemIniFile::FindKey(const TSection& section, std::string_view ident) {
  const std::string key = Trim(ident);
  for (const auto& line : section.Lines)
    if (line.IsKey && SameText(line.Key, key)) return &line;
  return nullptr;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view ident,
                                    std::string_view defaultValue) const {
  const TSection* s = FindSection(Trim(section));
  const TLine* line = s ? FindKey(*s, ident) : nullptr;
  return line ? line->Value : std::string(defaultValue);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
  CheckSectionName(section);
  CheckKey(ident);
  if (HasLineBreak(value))
    throw EIniFileException("Invalid ini file value for key \"" + std::string(ident) + "\"");
  const std::string name = Trim(section);
  TSection* s = FindSection(name);
  if (s == nullptr) {
    FSections.push_back({name, {}});
    s = &FSections.back();
  }
  if (auto* line = const_cast<TLine*>(FindKey(*s, ident))) {
    line->Value = Trim(value);
  } else {
    s->Lines.push_back({true, Trim(ident), Trim(value)});
  }
  Modified();
}

bool TMemIniFile::SectionExists(std::string_view section) const { return FindSection(Trim(section)) != nullptr; }

bool TMemIniFile::ValueExists(std::string_view section, std::string_view ident) const {
  const TSection* s = FindSection(Trim(section));
  return s != nullptr && FindKey(*s, ident) != nullptr;
}

void TMemIniFile::ReadSection(std::string_view section, TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  if (const TSection* s = FindSection(Trim(section)))
    for (const auto& line : s->Lines)
      if (line.IsKey) strings.Add(line.Key);
  strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  for (const auto& section : FSections) strings.Add(section.Name);
  strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const {
  strings.BeginUpdate();
  strings.Clear();
  if (const TSection* s = FindSection(Trim(section)))
    for (const auto& line : s->Lines)
      if (line.IsKey) strings.Add(line.Key + "=" + line.Value);
  strings.EndUpdate();
}

void TMemIniFile::EraseSection(std::string_view section) {
  const std::string name = Trim(section);
  for (auto it = FSections.begin(); it != FSections.end(); ++it)
    if (SameText(it->Name, name)) {
      FSections.erase(it);
      Modified();
      return;
    }
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view ident) {
  TSection* s = FindSection(Trim(section));
  if (s == nullptr) return;
  const std::string key = Trim(ident);
  for (auto it = s->Lines.begin(); it != s->Lines.end(); ++it)
    if (it->IsKey && SameText(it->Key, key)) {
      s->Lines.erase(it);
      Modified();
      return;
    }
}

}  // namespace classlib
