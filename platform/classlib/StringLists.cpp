// String lists: TStrings' text forms, names and values, files; TStringList's
// storage, sorting and duplicates.
// Tested by: tests/StringListsTest.cpp.
#include "platform/classlib/StringLists.h"

#include <algorithm>

#include "platform/classlib/Streams.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TStrings>("TStrings", TPersistent::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TStringList::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStringList>("TStringList", TStrings::StaticClassInfo()).Creatable().Build();
  return info;
}

// ---------------------------------------------------------------------------
// TStrings

void TStrings::IndexError(int index) {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

int TStrings::Add(const std::string& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, void* object) {
  const int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TStrings::Put(int index, const std::string& s) {
  void* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, void*) {}
void TStrings::SetUpdateState(bool) {}

void TStrings::BeginUpdate() {
  // The state is announced while the count is still 0, so the event fires.
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  // Copies first, so that adding a list to itself adds each line once.
  const int n = strings.Count();
  std::vector<std::pair<std::string, void*>> lines;
  lines.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) lines.emplace_back(strings.Get(i), strings.GetObject(i));
  try {
    for (auto& [s, object] : lines) AddObject(s, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
  if (const auto* strings = dynamic_cast<const TStrings*>(&source)) {
    if (strings == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(*strings);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  const std::string s1 = Get(index1), s2 = Get(index2);
  void* o1 = GetObject(index1);
  void* o2 = GetObject(index2);
  Put(index1, s2);
  PutObject(index1, o2);
  Put(index2, s1);
  PutObject(index2, o1);
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  const std::string s = Get(curIndex);
  void* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    const std::string line = Get(i);
    const std::size_t p = line.find(FNameValueSeparator);
    if (p != std::string::npos && SameText(std::string_view(line).substr(0, p), name)) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const void* object) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

bool TStrings::Equals(const TStrings& strings) const {
  if (Count() != strings.Count()) return false;
  for (int i = 0, n = Count(); i < n; ++i)
    if (Get(i) != strings.Get(i)) return false;
  return true;
}

std::string TStrings::Names(int index) const {
  const std::string line = Get(index);
  const std::size_t p = line.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : line.substr(0, p);
}

std::string TStrings::ValueFromIndex(int index) const {
  const std::string line = Get(index);
  const std::size_t p = line.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : line.substr(p + 1);
}

std::string TStrings::Values(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, const std::string& value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  const std::string line = std::string(name) + FNameValueSeparator + value;
  if (index < 0) Add(line);
  else Put(index, line);
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0, n = Count(); i < n; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t i = 0;
    while (i < text.size()) {
      const std::size_t end = text.find_first_of("\r\n", i);
      if (end == std::string_view::npos) {
        Add(std::string(text.substr(i)));
        break;
      }
      Add(std::string(text.substr(i, end - i)));
      i = end + 1;
      if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  const int n = Count();
  if (n == 1 && Get(0).empty()) return std::string(2, FQuoteChar);
  std::string text;
  for (int i = 0; i < n; ++i) {
    const std::string s = Get(i);
    const bool quote = std::any_of(s.begin(), s.end(), [&](char c) {
      return static_cast<unsigned char>(c) <= ' ' || c == FQuoteChar || c == FDelimiter;
    });
    if (quote) {
      text.push_back(FQuoteChar);
      for (char c : s) {
        if (c == FQuoteChar) text.push_back(FQuoteChar);
        text.push_back(c);
      }
      text.push_back(FQuoteChar);
    } else {
      text += s;
    }
    if (i + 1 < n) text.push_back(FDelimiter);
  }
  return text;
}

void TStrings::SetDelimitedText(std::string_view text) {
  auto isBlank = [](char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; };
  BeginUpdate();
  try {
    Clear();
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    while (i < text.size()) {
      std::string item;
      if (text[i] == FQuoteChar) {
        // A quoted item: doubled quotes stand for one; the item ends at the
        // closing quote (or the end of the text).
        ++i;
        while (i < text.size()) {
          if (text[i] == FQuoteChar) {
            if (i + 1 < text.size() && text[i + 1] == FQuoteChar) {
              item.push_back(FQuoteChar);
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item.push_back(text[i++]);
        }
      } else {
        const std::size_t start = i;
        while (i < text.size() && text[i] != FDelimiter && (FStrictDelimiter || !isBlank(text[i]))) ++i;
        item.assign(text.substr(start, i - start));
      }
      Add(item);
      if (!FStrictDelimiter)
        while (i < text.size() && isBlank(text[i])) ++i;
      if (i < text.size() && text[i] == FDelimiter) {
        ++i;
        if (i == text.size()) Add("");  // a trailing delimiter ends with an empty item
        if (!FStrictDelimiter)
          while (i < text.size() && isBlank(text[i])) ++i;
      } else if (FStrictDelimiter && i < text.size()) {
        // Text after a closing quote belongs to no item; skip to the delimiter.
        while (i < text.size() && text[i] != FDelimiter) ++i;
        if (i < text.size() && ++i == text.size()) Add("");
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  if (FDelimiter == ',' && FQuoteChar == '"' && !FStrictDelimiter) return DelimitedText();
  TStringList copy;
  copy.Assign(*this);
  return copy.DelimitedText();
}

void TStrings::SetCommaText(std::string_view text) {
  const char delimiter = FDelimiter, quote = FQuoteChar;
  const bool strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(text);
  } catch (...) {
    FDelimiter = delimiter;
    FQuoteChar = quote;
    FStrictDelimiter = strict;
    throw;
  }
  FDelimiter = delimiter;
  FQuoteChar = quote;
  FStrictDelimiter = strict;
}

void TStrings::LoadFromStream(TStream& stream) {
  const std::int64_t size = stream.Size() - stream.Position();
  std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  SetText(bytes);
}

void TStrings::LoadFromFile(const std::string& fileName) { SetText(ReadFileBytes(fileName)); }

void TStrings::SaveToStream(TStream& stream) const {
  const std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::SaveToFile(const std::string& fileName) const { AtomicWriteFile(fileName, Text()); }

// ---------------------------------------------------------------------------
// TStringList

namespace {
[[noreturn]] void SortedListError() { throw EStringListError("Operation not allowed on sorted list"); }
}  // namespace

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  if (!FCaseSensitive) return CompareText(a, b);
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(*this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(*this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].String;
}

void* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].Object;
}

void TStringList::Put(int index, const std::string& s) {
  if (FSorted) SortedListError();
  CheckIndex(index);
  Changing();
  FItems[static_cast<std::size_t>(index)].String = s;
  Changed();
}

void TStringList::PutObject(int index, void* object) {
  CheckIndex(index);
  Changing();
  FItems[static_cast<std::size_t>(index)].Object = object;
  Changed();
}

void TStringList::InsertItem(int index, const std::string& s, void* object) {
  Changing();
  FItems.insert(FItems.begin() + index, TItem{s, object});
  Changed();
}

int TStringList::Add(const std::string& s) {
  if (!FSorted) {
    InsertItem(GetCount(), s, nullptr);
    return GetCount() - 1;
  }
  int index = 0;
  if (Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
    // dupAccept: after the equal ones, so that equal lines keep their order.
    while (index < GetCount() && CompareStrings(FItems[static_cast<std::size_t>(index)].String, s) == 0) ++index;
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Insert(int index, const std::string& s) {
  if (FSorted) SortedListError();
  if (index < 0 || index > GetCount()) IndexError(index);
  InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  FItems.clear();
  Changed();
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = GetCount();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FItems[static_cast<std::size_t>(mid)].String, s) < 0) lo = mid + 1;
    else hi = mid;
  }
  index = lo;
  return lo < GetCount() && CompareStrings(FItems[static_cast<std::size_t>(lo)].String, s) == 0;
}

int TStringList::IndexOf(std::string_view s) const {
  if (FSorted) {
    int index = 0;
    return Find(s, index) ? index : -1;
  }
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (CompareStrings(FItems[static_cast<std::size_t>(i)].String, s) == 0) return i;
  return -1;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !FSorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == FCaseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) Sort();
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [this](const TItem& a, const TItem& b) { return CompareStrings(a.String, b.String) < 0; });
  Changed();
}

void TStringList::CustomSort(const std::function<int(const TStringList&, int, int)>& compare) {
  // The comparison sees indexes into the list as it stands, so sort an index
  // permutation and apply it afterwards.
  std::vector<int> order(FItems.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
  Changing();
  std::vector<TItem> sorted;
  sorted.reserve(FItems.size());
  for (int i : order) sorted.push_back(std::move(FItems[static_cast<std::size_t>(i)]));
  FItems = std::move(sorted);
  Changed();
}

}  // namespace classlib
