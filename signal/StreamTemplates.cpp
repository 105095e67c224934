// Named stream lists and parameter templates: TStringStreamList,
// TStreamedList and TStreamTemplates.
// Tested by: signal/tests/StreamTemplatesTest.cpp.
#include "signal/StreamTemplates.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "numeric/MathCore.h"
#include "numeric/MtxBaseComp.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Filer.h"

namespace sig {

namespace {

// The bytes a stream holds after its position.
std::int64_t BytesLeft(classlib::TStream& Stream) { return Stream.Size() - Stream.Position(); }

// An int32 length read from Stream, refused when negative or longer than
// the rest of the stream.
std::int32_t ReadLength(classlib::TStream& Stream, const char* What) {
  const std::int32_t n = Stream.ReadInt32();
  if (n < 0) numeric::RaiseError(std::string("Template stream: negative ") + What + " " + std::to_string(n));
  if (n > BytesLeft(Stream))
    numeric::RaiseError(std::string("Template stream: ") + What + " " + std::to_string(n) + " exceeds the " +
                        std::to_string(BytesLeft(Stream)) + " bytes left");
  return n;
}

std::int32_t ToInt32Size(std::int64_t Size) {
  if (Size > std::numeric_limits<std::int32_t>::max())
    numeric::RaiseError("Template stream: a stream of " + std::to_string(Size) + " bytes is too large to store");
  return static_cast<std::int32_t>(Size);
}

// Runs Load and puts the stream's position back when it fails.
template <class F>
void Restoring(classlib::TStream& Stream, F Load) {
  const std::int64_t start = Stream.Position();
  try {
    Load();
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

}  // namespace

// --- TStringStreamList -----------------------------------------------------

const classlib::TClassInfo& TStringStreamList::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TStringStreamList>("TStringStreamList", TStringList::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

TStringStreamList::~TStringStreamList() = default;

classlib::TMemoryStream& TStringStreamList::Stream(int Index) const {
  auto* stream = static_cast<classlib::TMemoryStream*>(Objects(Index));
  if (stream == nullptr) numeric::RaiseError("TStringStreamList: item " + std::to_string(Index) + " has no stream");
  return *stream;
}

void TStringStreamList::Attach(int Index) {
  if (TStringList::GetObject(Index) != nullptr) return;
  FStreams.push_back(std::make_unique<classlib::TMemoryStream>());
  TStringList::PutObject(Index, FStreams.back().get());
}

void TStringStreamList::ReleaseUnused() {
  std::vector<void*> used;
  for (int i = 0; i < Count(); ++i) used.push_back(TStringList::GetObject(i));
  std::erase_if(FStreams, [&](const std::unique_ptr<classlib::TMemoryStream>& s) {
    return std::find(used.begin(), used.end(), s.get()) == used.end();
  });
}

namespace {

void CheckName(const std::string& S) {
  if (S.find_first_of("\r\n") != std::string::npos)
    numeric::RaiseError("Template name must not contain a line break: \"" + S + "\"");
}

}  // namespace

int TStringStreamList::Add(const std::string& S) {
  CheckName(S);
  const int index = TStringList::Add(S);
  Attach(index);
  return index;
}

void TStringStreamList::Insert(int Index, const std::string& S) {
  CheckName(S);
  TStringList::Insert(Index, S);
  Attach(Index);
}

void TStringStreamList::Delete(int Index) {
  TStringList::Delete(Index);
  ReleaseUnused();
}

void TStringStreamList::Clear() {
  BeginUpdate();
  while (Count() > 0) TStringList::Delete(0);
  EndUpdate();
  FStreams.clear();
}

void TStringStreamList::PutObject(int Index, void* Object) {
  for (const auto& stream : FStreams)
    if (stream.get() == Object) {
      TStringList::PutObject(Index, Object);
      return;
    }
}

void TStringStreamList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  const std::string name = Strings(CurIndex);
  void* stream = TStringList::GetObject(CurIndex);
  TStringList::Delete(CurIndex);
  TStringList::Insert(NewIndex, name);
  TStringList::PutObject(NewIndex, stream);
  EndUpdate();
}

void TStringStreamList::Exchange(int Index1, int Index2) {
  BeginUpdate();
  const std::string name1 = Strings(Index1), name2 = Strings(Index2);
  void* stream1 = TStringList::GetObject(Index1);
  void* stream2 = TStringList::GetObject(Index2);
  TStringList::Put(Index1, name2);
  TStringList::PutObject(Index1, stream2);
  TStringList::Put(Index2, name1);
  TStringList::PutObject(Index2, stream1);
  EndUpdate();
}

void TStringStreamList::WriteStreams(classlib::TStream& Stream) const {
  for (int i = 0; i < Count(); ++i) {
    classlib::TMemoryStream& item = this->Stream(i);
    Stream.WriteInt32(ToInt32Size(item.Size()));
    Stream.WriteBuffer(item.Memory(), item.Size());
  }
}

void TStringStreamList::ReadStreams(classlib::TStream& Stream) {
  Restoring(Stream, [&] {
    std::vector<std::string> contents(static_cast<std::size_t>(Count()));
    for (std::string& content : contents) {
      content.resize(static_cast<std::size_t>(ReadLength(Stream, "stream size")));
      if (!content.empty()) Stream.ReadBuffer(content.data(), static_cast<std::int64_t>(content.size()));
    }
    for (int i = 0; i < Count(); ++i) {
      classlib::TMemoryStream& item = this->Stream(i);
      const std::string& content = contents[static_cast<std::size_t>(i)];
      item.Clear();
      if (!content.empty()) item.WriteBuffer(content.data(), static_cast<std::int64_t>(content.size()));
      item.SetPosition(0);
    }
  });
}

void TStringStreamList::SaveToStream(classlib::TStream& Stream) const {
  classlib::TMemoryStream bytes;
  const std::string text = Text();
  bytes.WriteInt32(ToInt32Size(static_cast<std::int64_t>(text.size())));
  bytes.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  WriteStreams(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TStringStreamList::LoadFromStream(classlib::TStream& Stream) {
  Restoring(Stream, [&] {
    TStringStreamList read;
    std::string text(static_cast<std::size_t>(ReadLength(Stream, "name text length")), '\0');
    if (!text.empty()) Stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    read.SetText(text);
    read.ReadStreams(Stream);
    TakeItems(read);
  });
}

void TStringStreamList::TakeItems(TStringStreamList& Source) {
  BeginUpdate();
  try {
    Clear();
    AppendFrom(Source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStringStreamList::AppendFrom(const TStringStreamList& Source) {
  for (int i = 0; i < Source.Count(); ++i) {
    classlib::TMemoryStream& from = Source.Stream(i);
    from.SetPosition(0);
    const int index = Add(Source.Strings(i));
    classlib::TMemoryStream& to = Stream(index);
    to.Clear();
    to.CopyFrom(from, 0);
    to.SetPosition(0);
    from.SetPosition(0);
  }
}

void TStringStreamList::AppendFromStream(classlib::TStream& Stream) {
  TStringStreamList read;
  read.LoadFromStream(Stream);
  AppendFrom(read);
}

void TStringStreamList::Assign(const classlib::TPersistent& Source) {
  if (const auto* list = dynamic_cast<const TStringStreamList*>(&Source)) {
    if (list == this) return;
    TakeItems(const_cast<TStringStreamList&>(*list));
    return;
  }
  if (const auto* strings = dynamic_cast<const classlib::TStrings*>(&Source)) {
    BeginUpdate();
    try {
      Clear();
      for (int i = 0; i < strings->Count(); ++i) Add(strings->Strings(i));
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TStringList::Assign(Source);
}

void TStringStreamList::DefineProperties(classlib::TFiler& Filer) {
  TStringList::DefineProperties(Filer);
  Filer.DefineProperty(
      "Strings",
      [this](classlib::TReader& Reader) {
        if (OnReading) OnReading();
        std::vector<std::string> names;
        Reader.ReadListBegin();
        while (!Reader.EndOfList()) {
          names.push_back(Reader.ReadString());
          CheckName(names.back());
        }
        Reader.ReadListEnd();
        BeginUpdate();
        Clear();
        for (const std::string& name : names) Add(name);
        EndUpdate();
      },
      [this](classlib::TWriter& Writer) {
        Writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i) Writer.WriteString(Strings(i));
        Writer.WriteListEnd();
      },
      true);
  Filer.DefineBinaryProperty(
      "StreamBinaryData",
      [this](classlib::TStream& s) {
        if (OnReading) OnReading();
        ReadStreams(s);
      },
      [this](classlib::TStream& s) { WriteStreams(s); }, true);
}

// --- TStreamedList ---------------------------------------------------------

void TStreamedList::Clear() {
  for (std::int32_t i = Count() - 1; i >= 0; --i) Delete(i);
}

// --- TStreamTemplates ------------------------------------------------------

const classlib::TClassInfo& TStreamTemplates::StaticClassInfo() {
  // The name follows the index; it is not stored, so that a name that two
  // entries share cannot move the selection on reading.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TStreamTemplates>("TStreamTemplates", TPersistent::StaticClassInfo())
          .SubObject("Templates", [](const TStreamTemplates& t) { return &t.Templates(); })
          .Property("TemplateIndex", &TStreamTemplates::TemplateIndex, &TStreamTemplates::SetTemplateIndex, -1)
          .Property("TemplateName", &TStreamTemplates::TemplateName, &TStreamTemplates::SetTemplateName)
          .Stored([](const TStreamTemplates&) { return false; })
          .Creatable()
          .Build();
  return info;
}

TStreamTemplates::TStreamTemplates() : FTemplates(std::make_unique<TStringStreamList>()) {
  // Read into a store that has a selection, the new entries would otherwise
  // receive the old live set at the next switch.
  FTemplates->OnReading = [this] { DropSelection(); };
}

void TStreamTemplates::DropSelection() {
  FTemplateIndex = -1;
  FTemplateName.clear();
  if (FTemplate != nullptr) FTemplate->Clear();
}

TStreamTemplates::~TStreamTemplates() = default;

void TStreamTemplates::SetTemplates(const TStringStreamList&) { numeric::RaiseError("Operation not supported!"); }

void TStreamTemplates::SetTemplateIndex(std::int32_t Value) {
  if (Value == FTemplateIndex) return;
  const auto valid = [this](std::int32_t i) { return i >= 0 && i < FTemplates->Count(); };
  if (valid(FTemplateIndex) && FTemplate != nullptr) {
    // Written aside first: a save that fails must not empty the entry.
    classlib::TMemoryStream live;
    FTemplate->SaveToStream(live);
    classlib::TMemoryStream& entry = FTemplates->Stream(FTemplateIndex);
    entry.Clear();
    entry.CopyFrom(live, 0);
    entry.SetPosition(0);
  }
  if (valid(Value)) {
    classlib::TMemoryStream& entry = FTemplates->Stream(Value);
    entry.SetPosition(0);
    if (FTemplate != nullptr) {
      Restoring(entry, [&] { FTemplate->LoadFromStream(entry); });
    }
    entry.SetPosition(0);
    FTemplateName = FTemplates->Strings(Value);
    FTemplateIndex = Value;
  } else {
    FTemplateIndex = -1;
    if (FTemplate != nullptr) FTemplate->Clear();
    FTemplateName.clear();
  }
}

void TStreamTemplates::SetTemplateName(const std::string& Value) {
  const int index = FTemplates->IndexOf(Value);
  if (index >= 0) SetTemplateIndex(index);
}

void TStreamTemplates::RefreshTemplate() {
  const std::int32_t index = FTemplateIndex;
  SetTemplateIndex(-1);
  SetTemplateIndex(index);
}

void TStreamTemplates::AddTemplate(const std::string& Name) {
  const int index = FTemplates->Add(Name);
  if (FTemplate != nullptr) {
    FTemplate->SaveToStream(FTemplates->Stream(index));
    FTemplates->Stream(index).SetPosition(0);
  }
  SetTemplateIndex(index);
}

void TStreamTemplates::AddEmptyTemplate(const std::string& Name) {
  const int index = FTemplates->Add(Name);
  SetTemplateIndex(-1);
  if (FTemplate != nullptr) {
    FTemplate->SaveToStream(FTemplates->Stream(index));
    FTemplates->Stream(index).SetPosition(0);
  }
  SetTemplateIndex(index);
}

void TStreamTemplates::ClearTemplates() {
  SetTemplateIndex(-1);
  FTemplates->Clear();
  if (FTemplate != nullptr) FTemplate->Clear();
}

void TStreamTemplates::DeleteTemplate(std::int32_t Index) {
  SetTemplateIndex(-1);
  FTemplates->Delete(Index);
}

void TStreamTemplates::Update() {
  if (FTemplate != nullptr) FTemplate->Update();
}

void TStreamTemplates::Assign(const classlib::TPersistent& Source) {
  if (const auto* source = dynamic_cast<const TStreamTemplates*>(&Source)) {
    if (source == this) return;
    // Deselected first: the live set goes into the old entries, not into the
    // copies that replace them, and the copy's selection is loaded afresh.
    SetTemplateIndex(-1);
    FTemplates->Assign(source->Templates());
    SetTemplateIndex(source->TemplateIndex());
    return;
  }
  TPersistent::Assign(Source);
}

void TStreamTemplates::SaveToStream(classlib::TStream& Stream) {
  RefreshTemplate();
  classlib::TMemoryStream bytes;
  numeric::WriteStreamString(bytes, ClassName());
  bytes.WriteInt32(FTemplateIndex);
  FTemplates->SaveToStream(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TStreamTemplates::LoadFromStream(classlib::TStream& Stream) {
  Restoring(Stream, [&] {
    std::string stored;
    numeric::ReadStreamString(Stream, stored);
    if (stored != ClassName()) numeric::RaiseDataFormatMismatch(stored, ClassName());
    const std::int32_t index = Stream.ReadInt32();
    TStringStreamList read;
    read.LoadFromStream(Stream);
    // Kept to put everything back should the selected entry not load.
    TStringStreamList oldTemplates;
    oldTemplates.Assign(*FTemplates);
    const std::int32_t oldIndex = FTemplateIndex;
    const std::string oldName = FTemplateName;
    classlib::TMemoryStream live;
    if (FTemplate != nullptr) FTemplate->SaveToStream(live);
    SetTemplateIndex(-1);
    FTemplates->Assign(read);
    try {
      SetTemplateIndex(index);
    } catch (...) {
      FTemplateIndex = -1;
      FTemplates->Assign(oldTemplates);
      if (FTemplate != nullptr) {
        live.SetPosition(0);
        FTemplate->LoadFromStream(live);
      }
      FTemplateIndex = oldIndex;
      FTemplateName = oldName;
      throw;
    }
  });
}

void TStreamTemplates::SaveToFile(const std::string& FileName) {
  classlib::AtomicWriteFile(FileName, [this](classlib::TStream& s) { SaveToStream(s); });
}

void TStreamTemplates::LoadFromFile(const std::string& FileName) {
  if (!std::filesystem::exists(FileName)) return;
  classlib::TFileStream file(FileName, classlib::fmOpenRead | classlib::fmShareDenyWrite);
  try {
    LoadFromStream(file);
  } catch (const classlib::EReadError& e) {
    throw classlib::EReadError(e.Message() + " (file \"" + FileName + "\")");
  } catch (const classlib::Exception& e) {
    numeric::RaiseError(e.Message() + " (file \"" + FileName + "\")");
  }
}

}  // namespace sig
