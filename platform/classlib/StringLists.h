// String lists: TStrings, the interface every list of lines shares (memo
// lines, titles, reports, file texts), and TStringList, the list kept in memory.
//
// Lines are byte strings. Text joins the lines with CR LF, each line ended by
// one (as files are written); setting Text splits at CR LF, LF or CR, and a
// final line break makes no empty last line. Names and Values read lines of the
// form "name=value". Comparisons (IndexOf, IndexOfName, Find, sorting) ignore
// the case of ASCII letters unless a TStringList is made case-sensitive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace classlib {

class TStream;

class EStringListError : public Exception {
 public:
  using Exception::Exception;
};

enum TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  // properties
  int Count() const { return GetCount(); }
  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& s) { Put(index, s); }
  // An opaque pointer per line; the list never frees it.
  void* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, void* object) { PutObject(index, object); }

  std::string Text() const;
  void SetText(std::string_view text);
  // The lines joined by the delimiter; a line holding a blank, a control
  // character, the quote or the delimiter is quoted, quotes doubled.
  std::string DelimitedText() const;
  // Splits at the delimiter; unquoted items also end at a blank unless
  // StrictDelimiter is set (CommaText relies on it to split "a b,c" in three).
  void SetDelimitedText(std::string_view text);
  // DelimitedText with ',' and '"'.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char delimiter) { FDelimiter = delimiter; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char quote) { FQuoteChar = quote; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool strict) { FStrictDelimiter = strict; }
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char separator) { FNameValueSeparator = separator; }

  // The part before the first '=' ("" for a line without one).
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  // The value of the first line named name; "" when there is none.
  std::string Values(std::string_view name) const;
  // Replaces the value of the line named name, or adds "name=value"; an empty
  // value deletes the line.
  void SetValues(std::string_view name, const std::string& value);

  // operations
  int AddObject(const std::string& s, void* object);
  void InsertObject(int index, const std::string& s, void* object);
  void Append(const std::string& s) { Add(s); }
  void AddStrings(const TStrings& strings);
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const void* object) const;
  bool Equals(const TStrings& strings) const;
  // Changes in between are announced once, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // The rest of the stream from its position / the whole file, as Text.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);
  void SaveToStream(TStream& stream) const;
  // Through AtomicWriteFile: the old file stays whole when the write fails.
  void SaveToFile(const std::string& fileName) const;

  // introduced virtual: the storage
  virtual int Add(const std::string& s);
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual int IndexOf(std::string_view s) const;

  // overrides
  void Assign(const TPersistent& source) override;

 protected:
  virtual int GetCount() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual void* GetObject(int index) const;
  virtual void PutObject(int index, void* object);
  // Told when updating starts (true) and ends (false).
  virtual void SetUpdateState(bool updating);
  // Raises EStringListError "List index out of bounds (<index>)".
  [[noreturn]] static void IndexError(int index);

 private:
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  ORVEL_CLASS_INFO
 public:
  TStringList() = default;

  // properties
  bool Sorted() const { return FSorted; }
  // Sorting starts at once; a sorted list keeps its order on Add and refuses
  // Insert and Strings[i] := with "Operation not allowed on sorted list".
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return FDuplicates; }
  // For a sorted list: dupIgnore drops a duplicate Add, dupError raises
  // "String list does not allow duplicates", dupAccept keeps both.
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);

  // events
  std::function<void(TStringList&)> OnChange;    // after a change
  std::function<void(TStringList&)> OnChanging;  // before a change

  // operations
  // Binary search of a sorted list: true when s is there, with index at its
  // first occurrence; otherwise index is where s would go.
  bool Find(std::string_view s, int& index) const;
  void Sort();
  // Sorts with compare(list, i, j) < 0 meaning line i goes before line j.
  void CustomSort(const std::function<int(const TStringList&, int, int)>& compare);

  // overrides
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(std::string_view s) const override;

 protected:
  int GetCount() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void* GetObject(int index) const override;
  void PutObject(int index, void* object) override;
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();
  int CompareStrings(std::string_view a, std::string_view b) const;

 private:
  struct TItem {
    std::string String;
    void* Object = nullptr;
  };
  void CheckIndex(int index) const;
  void InsertItem(int index, const std::string& s, void* object);

  std::vector<TItem> FItems;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FCaseSensitive = false;
};

}  // namespace classlib
