// Components to the stream's tree: property tables, DefineProperties and children.
// Tested by: tests/ComponentStreamTest.cpp.
#include "platform/classlib/Collections.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

// --- TWriter ---------------------------------------------------------------

void TWriter::Add(TStreamValue value) {
  if (FOpen.empty())
    FDone.push_back(std::move(value));
  else
    FOpen.back().Items.push_back(std::move(value));
}

void TWriter::WriteBoolean(bool value) { Add(MakeValue(value ? vaTrue : vaFalse)); }
void TWriter::WriteInteger(std::int64_t value) { Add(MakeInteger(value)); }
void TWriter::WriteFloat(double value) { Add(MakeFloat(value)); }
void TWriter::WriteString(std::string_view value) { Add(MakeText(vaLString, std::string(value))); }
void TWriter::WriteIdent(std::string_view value) { Add(MakeText(vaIdent, std::string(value))); }
void TWriter::WriteListBegin() { FOpen.push_back(MakeValue(vaList)); }

void TWriter::WriteListEnd() {
  if (FOpen.empty()) throw EWriteError("A list is ended that was not begun");
  TStreamValue list = std::move(FOpen.back());
  FOpen.pop_back();
  Add(std::move(list));
}

TStreamValue TWriter::TakeValue(const std::string& propertyName) {
  if (!FOpen.empty()) throw EWriteError("Property " + propertyName + " was written with a list left open");
  if (FDone.size() != 1)
    throw EWriteError("Property " + propertyName + " was written with " + std::to_string(FDone.size()) +
                      " values instead of one");
  TStreamValue v = std::move(FDone.front());
  FDone.clear();
  return v;
}

// --- The writer ------------------------------------------------------------

namespace {

// The component whose tree is being made on this thread, so that a property
// list written inside a binary property names references the same way.
thread_local const TComponent* WriteRoot = nullptr;

class TWriteFiler : public TFiler {
 public:
  explicit TWriteFiler(std::vector<TStreamProperty>& out) : FOut(out) {}

  void DefineProperty(const std::string& name, std::function<void(TReader&)>,
                      std::function<void(TWriter&)> writeData, bool hasData) override {
    if (!hasData || !writeData) return;
    TWriter writer;
    writeData(writer);
    FOut.push_back(TStreamProperty{name, writer.TakeValue(name), 0});
  }

  void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)>,
                            std::function<void(TStream&)> writeData, bool hasData) override {
    if (!hasData || !writeData) return;
    TMemoryStream bytes;
    writeData(bytes);
    FOut.push_back(TStreamProperty{
        name,
        MakeText(vaBinary, std::string(static_cast<const char*>(bytes.Memory()), static_cast<std::size_t>(bytes.Size()))),
        0});
  }

 private:
  std::vector<TStreamProperty>& FOut;
};

// How a reference names a component: by its Name where the reader finds it
// from the root (the root itself, its children, its owner's components), else
// by its owner's Name and its own.
std::string ReferencePath(const TComponent& ref, const TComponent* root) {
  if (ref.Name().empty()) return "";
  if (root == nullptr || &ref == root) return ref.Name();
  const TComponent* owner = ref.Owner();
  if (owner == nullptr || owner == root || owner == root->Owner() ||
      owner == const_cast<TComponent*>(root)->GetChildOwner())
    return ref.Name();
  if (owner->Name().empty()) return ref.Name();
  return owner->Name() + "." + ref.Name();
}

std::vector<TStreamProperty> PropertiesOf(const TPersistent& instance, int depth);

// The value of a property that holds an object; false when nothing is to be written.
bool ObjectValue(const TPropInfo& info, const TPersistent& instance, int depth, TStreamValue& out) {
  if (info.StoredFn && !info.StoredFn(instance)) return false;
  const TPropValue value = info.Get(instance);
  const auto* held = std::get_if<TPersistent*>(&value);
  if (held == nullptr || *held == nullptr) return false;
  if (const auto* component = dynamic_cast<const TComponent*>(*held)) {
    if (!info.Writable()) return false;
    out.Text = ReferencePath(*component, WriteRoot);
    out.Type = vaIdent;
    return !out.Text.empty();
  }
  if (const auto* collection = dynamic_cast<const TCollection*>(*held)) {
    if (collection->Count() == 0) return false;
    out.Type = vaCollection;
    for (int i = 0; i < collection->Count(); ++i) {
      TStreamValue item = MakeValue(vaObject);
      item.Properties = PropertiesOf(*collection->Items(i), depth + 1);
      out.Items.push_back(std::move(item));
    }
    return true;
  }
  out.Type = vaObject;
  out.Properties = PropertiesOf(**held, depth + 1);
  return !out.Properties.empty();
}

bool PlainValue(const TPropInfo& info, const TPersistent& instance, TStreamValue& out) {
  if (!info.Writable() || !info.IsStored(instance)) return false;
  const TPropValue value = info.Get(instance);
  switch (info.Kind) {
    case pkBoolean:
      out = MakeValue(std::get<bool>(value) ? vaTrue : vaFalse);
      return true;
    case pkInteger:
    case pkInt64:
      out = MakeInteger(std::get<std::int64_t>(value));
      return true;
    case pkFloat:
      out = MakeFloat(std::get<double>(value));
      return true;
    case pkString:
      out = MakeText(vaLString, std::get<std::string>(value));
      return true;
    case pkEnum: {
      const std::int64_t ordinal = std::get<std::int64_t>(value);
      const bool named = ordinal >= 0 && ordinal < static_cast<std::int64_t>(info.ValueNames.size()) &&
                         IsValidIdent(info.ValueNames[static_cast<std::size_t>(ordinal)]);
      // A value without a name in the table is kept as its number.
      out.Type = named ? vaIdent : vaInt64;
      if (named) out.Text = info.ValueName(ordinal);
      out.Integer = ordinal;
      return true;
    }
    case pkSet: {
      const auto mask = static_cast<std::uint64_t>(std::get<std::int64_t>(value));
      out.Type = vaSet;
      for (int bit = 0; bit < 64; ++bit) {
        if ((mask >> bit & 1u) == 0) continue;
        const bool named = bit < static_cast<int>(info.ValueNames.size()) &&
                           IsValidIdent(info.ValueNames[static_cast<std::size_t>(bit)]);
        out.Names.push_back(named ? info.ValueNames[static_cast<std::size_t>(bit)] : std::to_string(bit));
      }
      return true;
    }
    case pkClass:
      break;
  }
  return false;
}

std::vector<TStreamProperty> PropertiesOf(const TPersistent& instance, int depth) {
  if (depth >= MaxStreamDepth)
    throw EWriteError("Cannot write " + instance.ClassName() + ": objects nested deeper than " +
                      std::to_string(MaxStreamDepth) + " levels");
  std::vector<TStreamProperty> out;
  for (const TPropInfo* info : instance.ClassInfo().Properties()) {
    TStreamProperty p{info->Name, {}, 0};
    const bool written = info->Kind == pkClass ? ObjectValue(*info, instance, depth, p.Value)
                                               : PlainValue(*info, instance, p.Value);
    if (written) out.push_back(std::move(p));
  }
  // Defining extra properties asks nothing to change; the hook is not const
  // because readers and writers share it.
  TWriteFiler filer(out);
  const_cast<TPersistent&>(instance).DefineProperties(filer);
  return out;
}

TStreamObject ObjectOf(const TComponent& component, int depth) {
  if (depth >= MaxStreamDepth)
    throw EWriteError("Cannot write " + component.Name() + ": children nested deeper than " +
                      std::to_string(MaxStreamDepth) + " levels");
  TStreamObject object;
  object.ClassName = component.ClassName();
  object.Name = component.Name();
  object.Properties = PropertiesOf(component, 0);
  component.GetChildren([&](TComponent& child) { object.Children.push_back(ObjectOf(child, depth + 1)); });
  return object;
}

// Sets the root for references while a tree is made, and puts the outer one back.
class TWriteRootScope {
 public:
  explicit TWriteRootScope(const TComponent* root) : FOuter(WriteRoot) { WriteRoot = root; }
  ~TWriteRootScope() { WriteRoot = FOuter; }
  TWriteRootScope(const TWriteRootScope&) = delete;
  TWriteRootScope& operator=(const TWriteRootScope&) = delete;

 private:
  const TComponent* FOuter;
};

}  // namespace

TStreamObject ComponentToObject(const TComponent& instance) {
  TWriteRootScope scope(&instance);
  return ObjectOf(instance, 0);
}

void WriteComponent(TStream& stream, const TComponent& instance) {
  WriteObjectBinary(stream, ComponentToObject(instance));
}

std::string ComponentToText(const TComponent& instance) { return ObjectToText(ComponentToObject(instance)); }

void WritePropertyList(TStream& stream, const TPersistent& instance) {
  TStreamValue list = MakeValue(vaObject);
  list.Properties = PropertiesOf(instance, 0);
  WriteValueBinary(stream, list);
}

}  // namespace classlib
