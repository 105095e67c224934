// Named parameter sets: TStringStreamList (names, each owning a memory
// stream), TStreamedList (a parameter set that writes and reads itself) and
// TStreamTemplates (the live set plus its named saved variants, selected by
// TemplateIndex or TemplateName; switching saves the live set back into its
// entry before loading the next).
//
// Template stream (SaveToStream), little-endian:
//   int32 n, n characters     the class name
//   int32                     the selected index (-1: none)
//   int32 m, m characters     the names, each ended by CR LF
//   per name: int32 k, k bytes  that name's saved parameter set, as the
//                               TStreamedList descendant writes it
// Readers check every length against the bytes left and refuse negative
// ones before anything changes.
//
// How a parameter set plugs in: derive from TStreamedList (or
// TStreamedRecordList) and write SaveToStream / LoadFromStream (a load that
// fails must leave the set as it was); the owner creates it, installs it
// with SetTemplate and frees it.
//
// Tested by: signal/tests/StreamTemplatesTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Persistent.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/Streams.h"

namespace sig {

class TStringStreamList : public classlib::TStringList {
  ORVEL_CLASS_INFO
 public:
  TStringStreamList() = default;
  ~TStringStreamList() override;

  // properties
  // The memory stream of item Index.
  classlib::TMemoryStream& Stream(int Index) const;

  // operations
  // Moves item CurIndex with its stream.
  void Move(int CurIndex, int NewIndex);
  // Swaps two items with their streams.
  void Exchange(int Index1, int Index2);
  // For each item in order: its stream's size (int32) and bytes.
  void WriteStreams(classlib::TStream& Stream) const;
  // For each existing item in order: an int32 size and that many bytes.
  // Every size is checked before any stream changes.
  void ReadStreams(classlib::TStream& Stream);
  // The names as text (int32 length and characters), then WriteStreams.
  void SaveToStream(classlib::TStream& Stream) const;
  // Replaces the items by those of the stream; a malformed stream raises and
  // leaves the list and the stream's position as they were.
  void LoadFromStream(classlib::TStream& Stream);
  // For each item of Source: its name and a copy of its stream, added here.
  void AppendFrom(const TStringStreamList& Source);
  // Reads a list from Stream (LoadFromStream) and appends it.
  void AppendFromStream(classlib::TStream& Stream);

  // overrides
  // A name may not hold a line break: the names are stored as lines.
  int Add(const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  // From another TStringStreamList: names and streams; from other strings:
  // the names, each with an empty stream.
  void Assign(const classlib::TPersistent& Source) override;
  // "Strings" (the names) and "StreamBinaryData" (WriteStreams).
  void DefineProperties(classlib::TFiler& Filer) override;

  // Called before the component stream replaces the names or the streams
  // ("Strings", "StreamBinaryData"), so that an owner that selected an entry
  // lets go of it first.
  std::function<void()> OnReading;

 protected:
  // The streams belong to the list: an object that is not one of its
  // streams is not taken.
  void PutObject(int Index, void* Object) override;

 private:
  void Attach(int Index);
  // Frees the streams no item refers to any more.
  void ReleaseUnused();
  void TakeItems(TStringStreamList& Source);

  std::vector<std::unique_ptr<classlib::TMemoryStream>> FStreams;
};

// A parameter set that writes itself to and reads itself from a stream.
class TStreamedList {
 public:
  TStreamedList() = default;
  virtual ~TStreamedList() = default;
  TStreamedList(const TStreamedList&) = delete;
  TStreamedList& operator=(const TStreamedList&) = delete;

  // properties
  virtual std::int32_t Count() const = 0;

  // introduced virtual
  virtual void SaveToStream(classlib::TStream&) {}
  virtual void LoadFromStream(classlib::TStream&) {}
  // Removes item Index.
  virtual void Delete(std::int32_t Index) = 0;
  // Takes item CurIndex out and puts it back at NewIndex (a list reordered
  // by dragging a line).
  virtual void Move(std::int32_t CurIndex, std::int32_t NewIndex) = 0;
  // Drops every item at once.
  virtual void ClearList() = 0;
  virtual void Update() {}

  // operations
  // Deletes the items from the last to the first through Delete.
  void Clear();
};

// A TStreamedList of records held by value.
template <class TRecord>
class TStreamedRecordList : public TStreamedList {
 public:
  std::int32_t Count() const override { return static_cast<std::int32_t>(FItems.size()); }
  // Raises "List index out of bounds (<Index>)" outside the list.
  TRecord& Items(std::int32_t Index) {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
  }
  const TRecord& Items(std::int32_t Index) const {
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
  }
  // Appends a copy; returns its index.
  std::int32_t Add(const TRecord& Item) {
    FItems.push_back(Item);
    return Count() - 1;
  }
  void Delete(std::int32_t Index) override {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
  }
  void Move(std::int32_t CurIndex, std::int32_t NewIndex) override {
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    TRecord item = std::move(FItems[static_cast<std::size_t>(CurIndex)]);
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, std::move(item));
  }
  void ClearList() override { FItems.clear(); }

 protected:
  std::vector<TRecord>& Records() { return FItems; }

 private:
  void CheckIndex(std::int32_t Index) const {
    if (Index < 0 || Index >= Count())
      throw classlib::Exception("List index out of bounds (" + std::to_string(Index) + ")");
  }
  std::vector<TRecord> FItems;
};

class TStreamTemplates : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  TStreamTemplates();
  ~TStreamTemplates() override;

  // properties
  TStringStreamList& Templates() const { return *FTemplates; }
  // Raises "Operation not supported!".
  void SetTemplates(const TStringStreamList& Value);
  std::int32_t TemplateIndex() const { return FTemplateIndex; }
  // Nothing when Value is the current index. Otherwise the live set is
  // saved into the current entry (when one is selected), then entry Value is
  // loaded (a valid index) or the live set is cleared and nothing selected.
  void SetTemplateIndex(std::int32_t Value);
  const std::string& TemplateName() const { return FTemplateName; }
  // Selects the entry of that name; an unknown name changes nothing.
  void SetTemplateName(const std::string& Value);
  // The live parameter set; not owned.
  TStreamedList* Template() const { return FTemplate; }
  void SetTemplate(TStreamedList* Value) { FTemplate = Value; }

  // operations
  // Saves the live set into its entry and loads it back.
  void RefreshTemplate();

  // introduced virtual
  // Adds Name with an empty set and selects it.
  virtual void AddEmptyTemplate(const std::string& Name);
  // Adds Name with a copy of the live set and selects it.
  virtual void AddTemplate(const std::string& Name);
  virtual void ClearTemplates();
  virtual void DeleteTemplate(std::int32_t Index);
  virtual void Update();
  virtual void SaveToStream(classlib::TStream& Stream);
  // Raises "Data format type missmatch: <stored> <> <own>" for a stream of
  // another class; any refused stream leaves everything as it was.
  virtual void LoadFromStream(classlib::TStream& Stream);
  // Written whole or not at all.
  virtual void SaveToFile(const std::string& FileName);
  // A file that does not exist is not loaded, without an error.
  virtual void LoadFromFile(const std::string& FileName);

  // overrides
  // From another TStreamTemplates: its entries and its selection.
  void Assign(const classlib::TPersistent& Source) override;

 private:
  // No entry selected and the live set cleared, nothing saved: the entries
  // are being replaced by a component stream.
  void DropSelection();

  std::unique_ptr<TStringStreamList> FTemplates;
  std::int32_t FTemplateIndex = -1;
  std::string FTemplateName;
  TStreamedList* FTemplate = nullptr;
};

}  // namespace sig
