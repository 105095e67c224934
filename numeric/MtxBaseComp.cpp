// TMtxComponent: published properties through streams and files, copies,
// templates; and the reset of published properties before a load.
// Tested by: numeric/tests/MtxBaseCompTest.cpp.
#include "numeric/MtxBaseComp.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "numeric/MathCore.h"
#include "numeric/SampleStreams.h"
#include "numeric/StreamInternal.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"

namespace numeric {

namespace {

// Template mode for the life of a scope, ended also when an exception leaves it.
class TTemplateScope {
 public:
  explicit TTemplateScope(TMtxComponent& Component) : FComponent(Component) { FComponent.SetTemplateMode(true); }
  ~TTemplateScope() { FComponent.SetTemplateMode(false); }
  TTemplateScope(const TTemplateScope&) = delete;
  TTemplateScope& operator=(const TTemplateScope&) = delete;

 private:
  TMtxComponent& FComponent;
};

// Reads Object into Component after the reset a load starts with, keeping
// Component's Name.
void ReadResetObject(const classlib::TStreamObject& Object, TMtxComponent& Component) {
  const std::string name = Component.Name();
  try {
    ResetPublishedProps(Component);
    classlib::ReadComponentObject(Object, Component);
  } catch (...) {
    if (Component.Name() != name) Component.SetName(name);
    throw;
  }
  if (Component.Name() != name) Component.SetName(name);
}

}  // namespace

void ResetPublishedProps(classlib::TPersistent& Instance) {
  for (const classlib::TPropInfo* info : Instance.ClassInfo().Properties()) {
    if (info->StoredFn && !info->StoredFn(Instance)) continue;
    if (info->Kind == classlib::pkClass) {
      const classlib::TPropValue value = info->Get(Instance);
      classlib::TPersistent* const* sub = std::get_if<classlib::TPersistent*>(&value);
      if (sub != nullptr && *sub != nullptr && dynamic_cast<classlib::TComponent*>(*sub) == nullptr)
        ResetPublishedProps(**sub);
      continue;
    }
    if (!info->Writable()) continue;
    const std::optional<classlib::TPropValue> def = info->DefaultFor(Instance);
    switch (info->Kind) {
      case classlib::pkFloat:
        info->Set(Instance, 0.0);
        break;
      case classlib::pkInt64:
        info->Set(Instance, def ? *def : classlib::TPropValue(std::int64_t{0}));
        break;
      default:
        if (def) info->Set(Instance, *def);
        break;
    }
  }
}

void WriteStreamString(classlib::TStream& Stream, const std::string& S) { StreamWriteString(Stream, S); }

void ReadStreamString(classlib::TStream& Stream, std::string& S) { StreamReadString(Stream, S); }

void RaiseDataFormatMismatch(const std::string& Stored, const std::string& Own) {
  const bool readable = std::all_of(Stored.begin(), Stored.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b < 0x7f;
  });
  RaiseError("Data format type missmatch: " + (readable ? Stored : std::string("(unreadable)")) + " <> " + Own);
}

const classlib::TClassInfo& TMtxComponent::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtxComponent>("TMtxComponent", TComponent::StaticClassInfo()).Build();
  return info;
}

TMtxComponent::TMtxComponent(classlib::TComponent* AOwner) : TComponent(AOwner) {}

void TMtxComponent::Assign(const classlib::TPersistent& Source) {
  const auto* source = dynamic_cast<const TMtxComponent*>(&Source);
  if (source == nullptr || !ClassInfo().InheritsFrom(source->ClassInfo())) {
    TComponent::Assign(Source);
    return;
  }
  classlib::TMemoryStream stream;
  // A descendant's save may bring its own state up to date first (a live
  // template into its list), as an assignment from it always has.
  const_cast<TMtxComponent*>(source)->SaveToStream(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TMtxComponent::SetTemplateMode(bool Value) { FTemplateMode = Value; }

bool TMtxComponent::TemplateMode() const { return FTemplateMode; }

std::string TMtxComponent::EditorClassName() const { return ""; }

bool TMtxComponent::DataStored() const { return !FTemplateMode && !HasState(classlib::csDesigning); }

void TMtxComponent::SaveToStream(classlib::TStream& Stream) {
  classlib::TStreamObject object = classlib::ComponentToObject(*this);
  object.Name.clear();
  // Built whole before the first byte goes out, so a refused property
  // leaves the stream as it was.
  classlib::TMemoryStream bytes;
  WriteStreamString(bytes, ClassName());
  classlib::WriteObjectBinary(bytes, object);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TMtxComponent::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    std::string stored;
    ReadStreamString(Stream, stored);
    if (stored != ClassName() && !classlib::InheritsFromRegistered(ClassInfo(), stored))
      RaiseDataFormatMismatch(stored, ClassName());
    const classlib::TStreamObject object = classlib::ReadObjectBinary(Stream);
    // The reset comes before the read, so the component's own state is kept
    // aside to be put back when the read fails.
    const classlib::TStreamObject backup = classlib::ComponentToObject(*this);
    try {
      ReadResetObject(object, *this);
    } catch (...) {
      try {
        ReadResetObject(backup, *this);
      } catch (...) {
        // The read's own error is the one to report.
      }
      throw;
    }
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

void TMtxComponent::SaveToFile(const std::string& FileName) {
  classlib::AtomicWriteFile(FileName, [this](classlib::TStream& s) { SaveToStream(s); });
}

void TMtxComponent::LoadFromFile(const std::string& FileName) {
  if (!std::filesystem::exists(FileName)) return;
  detail::LoadFromFileNamed(FileName, [this](classlib::TStream& s) { LoadFromStream(s); });
}

void TMtxComponent::AssignTemplate(TMtxComponent& Source) {
  TTemplateScope self(*this);
  TTemplateScope source(Source);
  Assign(Source);
}

void TMtxComponent::LoadTemplateFromStream(classlib::TStream& Stream) {
  TTemplateScope scope(*this);
  LoadFromStream(Stream);
}

void TMtxComponent::LoadTemplateFromFile(const std::string& FileName) {
  TTemplateScope scope(*this);
  LoadFromFile(FileName);
}

void TMtxComponent::SaveTemplateToStream(classlib::TStream& Stream) {
  TTemplateScope scope(*this);
  SaveToStream(Stream);
}

void TMtxComponent::SaveTemplateToFile(const std::string& FileName) {
  TTemplateScope scope(*this);
  SaveToFile(FileName);
}

}  // namespace numeric
