// INI files: sections of "key=value" lines, names compared without regard to
// the case of ASCII letters.
//
// TMemIniFile reads the whole file when created (a missing file is an empty
// one) and keeps every change in memory until UpdateFile. TIniFile is the same
// with every change written at once, so a crash loses no setting already
// changed. Files are read with CR LF, LF or CR line ends and written
// with CR LF, through AtomicWriteFile, so a failed write leaves the old file.
// Blanks around keys and values are ignored; comment lines (";" or "#") and
// lines before the first section are kept as they stand when the file is written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Exception.h"

namespace classlib {

class TStrings;

// Raised for a section or key name, or a value, that the file could not hold
// (a line break anywhere, "=" in a key, "]" in a section, an empty key).
class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

class TCustomIniFile {
 public:
  explicit TCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
  virtual ~TCustomIniFile() = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  // properties
  const std::string& FileName() const { return FFileName; }

  // operations
  // Decimal or "0x"/"$" hexadecimal; the default for a missing or malformed value.
  std::int32_t ReadInteger(std::string_view section, std::string_view ident, std::int32_t defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view ident, std::int32_t value);
  // Floats in the general format with the given decimal separator (the point
  // unless told otherwise, whatever the process-wide separator is).
  double ReadFloat(std::string_view section, std::string_view ident, double defaultValue,
                   char decimalSeparator = '.') const;
  void WriteFloat(std::string_view section, std::string_view ident, double value, char decimalSeparator = '.');
  // "1" and "0"; any integer other than 0 reads as true.
  bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
  void WriteBool(std::string_view section, std::string_view ident, bool value);

  // introduced virtual
  virtual std::string ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue) const = 0;
  virtual void WriteString(std::string_view section, std::string_view ident, std::string_view value) = 0;
  virtual bool SectionExists(std::string_view section) const = 0;
  virtual bool ValueExists(std::string_view section, std::string_view ident) const = 0;
  // Fill strings (cleared first) with the keys of a section / the section
  // names / the "key=value" lines of a section.
  virtual void ReadSection(std::string_view section, TStrings& strings) const = 0;
  virtual void ReadSections(TStrings& strings) const = 0;
  virtual void ReadSectionValues(std::string_view section, TStrings& strings) const = 0;
  virtual void EraseSection(std::string_view section) = 0;
  virtual void DeleteKey(std::string_view section, std::string_view ident) = 0;
  virtual void UpdateFile() = 0;

 protected:
  void SetFileName(std::string fileName) { FFileName = std::move(fileName); }

 private:
  std::string FFileName;
};

class TMemIniFile : public TCustomIniFile {
 public:
  // Raises EFOpenError when the file exists but cannot be read.
  explicit TMemIniFile(std::string fileName);

  // operations
  void Clear();
  // The file's text as lines / replaces the content with these lines.
  void GetStrings(TStrings& strings) const;
  void SetStrings(const TStrings& strings);
  // Another file name; with reload the content is read from it.
  void Rename(std::string fileName, bool reload);

  // overrides
  std::string ReadString(std::string_view section, std::string_view ident,
                         std::string_view defaultValue) const override;
  void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
  bool SectionExists(std::string_view section) const override;
  bool ValueExists(std::string_view section, std::string_view ident) const override;
  void ReadSection(std::string_view section, TStrings& strings) const override;
  void ReadSections(TStrings& strings) const override;
  void ReadSectionValues(std::string_view section, TStrings& strings) const override;
  void EraseSection(std::string_view section) override;
  void DeleteKey(std::string_view section, std::string_view ident) override;
  void UpdateFile() override;

 protected:
  // Called after every change; TIniFile writes the file there.
  virtual void Modified() {}

 private:
  struct TLine {
    bool IsKey = false;
    std::string Key;    // trimmed key of a "key=value" line
    std::string Value;  // trimmed value; the whole line for other lines
  };
  struct TSection {
    std::string Name;
    std::vector<TLine> Lines;
  };

  void LoadText(std::string_view text);
  std::string SaveText() const;
  const TSection* FindSection(std::string_view name) const;
  TSection* FindSection(std::string_view name);
  static const TLine* FindKey(const TSection& section, std::string_view ident);

  std::vector<std::string> FPreamble;  // lines before the first section
  std::vector<TSection> FSections;
};

// Every change goes to the file at once.
class TIniFile : public TMemIniFile {
 public:
  using TMemIniFile::TMemIniFile;

 protected:
  void Modified() override { UpdateFile(); }
};

}  // namespace classlib
