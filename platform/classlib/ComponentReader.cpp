// The stream's tree into components: a trial on a fresh instance, then the
// target; properties through the tables and DefineProperties, children through
// the class registry, references after everything is read, then Loaded.
// Tested by: tests/ComponentStreamTest.cpp, tests/ComponentStreamFuzzTest.cpp.
#include <memory>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Collections.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/TextUtils.h"
#include "platform/classlib/WarningSink.h"

namespace classlib {

// --- TReader ---------------------------------------------------------------

namespace {

[[noreturn]] void Mismatch(const char* expected, TValueType found) {
  throw EReadError(std::string("Invalid property value: ") + expected + " expected, found " + ValueTypeText(found));
}

}  // namespace

TReader::TReader(const TStreamValue& value) { FLevels.push_back(TLevel{&value, 1, 0}); }

TValueType TReader::NextValue() const {
  const TLevel& level = FLevels.back();
  return level.Index < level.Count ? level.First[level.Index].Type : vaNull;
}

// The next value when it is of an accepted type; a refused value stays next.
const TStreamValue& TReader::Take(const char* expected, bool (*accepts)(TValueType)) {
  TLevel& level = FLevels.back();
  if (level.Index >= level.Count) Mismatch(expected, vaNull);
  const TStreamValue& v = level.First[level.Index];
  if (!accepts(v.Type)) Mismatch(expected, v.Type);
  ++level.Index;
  return v;
}

bool TReader::ReadBoolean() {
  return Take("a boolean", [](TValueType t) { return t == vaTrue || t == vaFalse; }).Type == vaTrue;
}

std::int32_t TReader::ReadInteger() {
  const TLevel& level = FLevels.back();
  if (level.Index < level.Count) {
    const TStreamValue& next = level.First[level.Index];
    if (IsIntegerType(next.Type) && (next.Integer < INT32_MIN || next.Integer > INT32_MAX))
      throw EReadError("Invalid property value: " + std::to_string(next.Integer) + " does not fit in 32 bits");
  }
  return static_cast<std::int32_t>(Take("an integer", IsIntegerType).Integer);
}

std::int64_t TReader::ReadInt64() { return Take("an integer", IsIntegerType).Integer; }

double TReader::ReadFloat() {
  const TStreamValue& v =
      Take("a floating-point number", [](TValueType t) { return t == vaDouble || IsIntegerType(t); });
  return v.Type == vaDouble ? v.Float : static_cast<double>(v.Integer);
}

std::string TReader::ReadString() { return Take("a string", IsStringType).Text; }

std::string TReader::ReadIdent() {
  const TStreamValue& v = Take("an identifier", [](TValueType t) {
    return t == vaIdent || t == vaTrue || t == vaFalse || t == vaNil;
  });
  switch (v.Type) {
    case vaTrue: return "True";
    case vaFalse: return "False";
    case vaNil: return "nil";
    default: return v.Text;
  }
}

void TReader::ReadListBegin() {
  const TStreamValue& v = Take("a list", [](TValueType t) { return t == vaList; });
  FLevels.push_back(TLevel{v.Items.data(), v.Items.size(), 0});
}

bool TReader::EndOfList() const { return NextValue() == vaNull; }

void TReader::ReadListEnd() {
  if (FLevels.size() < 2) throw EReadError("Invalid property value: a list is ended that was not begun");
  if (!EndOfList()) Mismatch("the end of a list", NextValue());
  FLevels.pop_back();
}

void TReader::SkipValue() {
  Take("a value", [](TValueType) { return true; });
}

// --- The reader ------------------------------------------------------------

namespace {

// An error that already says where it happened; outer levels pass it on.
class ELocatedReadError : public EReadError {
 public:
  using EReadError::EReadError;
};

// How to find a persistent again from the component whose property list holds
// it: the property names down to it, with the item index inside a collection.
// A reference is set through this route once everything is read, so that an
// object freed on the way (a collection read twice) is never touched.
struct TStep {
  std::string Property;
  int Item = -1;
};

struct TRoute {
  TComponent* Anchor = nullptr;  // none: references are resolved at once
  std::vector<TStep> Steps;
};

struct TFixup {
  TRoute Route;
  std::string Property;
  std::string Reference;
  std::string Where;
  std::int64_t Position;
};

struct TReadContext {
  TComponent* Root = nullptr;
  bool FromText = false;
  std::vector<TFixup> Fixups;
  std::vector<TComponent*> Read;     // every component read, in order
  std::vector<TComponent*> Created;  // the components this read made
};

thread_local TReadContext* CurrentRead = nullptr;

class TReadScope {
 public:
  explicit TReadScope(TReadContext& context) : FOuter(CurrentRead) { CurrentRead = &context; }
  ~TReadScope() { CurrentRead = FOuter; }
  TReadScope(const TReadScope&) = delete;
  TReadScope& operator=(const TReadScope&) = delete;

 private:
  TReadContext* FOuter;
};

[[noreturn]] void RaiseAt(const TReadContext& ctx, const std::string& where, std::int64_t position,
                          const std::string& reason) {
  throw ELocatedReadError("Error reading " + where + " at " + PositionText(position, ctx.FromText) + ": " +
                          reason);
}

std::string Label(const TStreamObject& object) { return object.Name.empty() ? object.ClassName : object.Name; }

class TReadFiler : public TFiler {
 public:
  explicit TReadFiler(const TStreamProperty& property) : FProperty(property) {}
  bool Handled() const { return FHandled; }

  void DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                      std::function<void(TWriter&)>, bool) override {
    if (FHandled || !SameText(name, FProperty.Name)) return;
    FHandled = true;
    if (!readData) return;
    TReader reader(FProperty.Value);
    readData(reader);
  }

  void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                            std::function<void(TStream&)>, bool) override {
    if (FHandled || !SameText(name, FProperty.Name)) return;
    FHandled = true;
    if (!readData) return;
    if (FProperty.Value.Type != vaBinary) Mismatch("binary data", FProperty.Value.Type);
    TMemoryStream bytes;
    bytes.Write(FProperty.Value.Text.data(), static_cast<std::int64_t>(FProperty.Value.Text.size()));
    bytes.SetPosition(0);
    readData(bytes);
  }

 private:
  const TStreamProperty& FProperty;
  bool FHandled = false;
};

void ApplyProperties(TReadContext& ctx, const std::vector<TStreamProperty>& properties, TPersistent& instance,
                     const std::string& where, TRoute& route);

std::int64_t CheckedInteger(const TPropInfo& info, const TStreamValue& v) {
  if (v.Integer < info.MinValue || v.Integer > info.MaxValue)
    throw EReadError("Invalid property value: " + std::to_string(v.Integer) + " is outside " +
                     std::to_string(info.MinValue) + ".." + std::to_string(info.MaxValue));
  return v.Integer;
}

std::int64_t SetMask(const TPropInfo& info, const TStreamValue& v) {
  std::uint64_t mask = 0;
  for (const std::string& name : v.Names) {
    std::int64_t bit = info.ValueOrdinal(name);
    if (bit < 0 && !name.empty() && name.size() <= 2 && name.find_first_not_of("0123456789") == std::string::npos)
      bit = std::stoll(name);
    if (bit < 0 || bit >= 64) throw EReadError("Invalid property value: the set has no element " + name);
    mask |= std::uint64_t{1} << bit;
  }
  TStreamValue asInteger;
  asInteger.Integer = static_cast<std::int64_t>(mask);
  return CheckedInteger(info, asInteger);
}

TComponent* FindReferenced(const TComponent* root, const std::string& path) {
  if (root == nullptr) return nullptr;
  const std::size_t dot = path.find('.');
  const std::string first = path.substr(0, dot);
  TComponent* found = nullptr;
  TComponent* rootOwner = root->Owner();
  if (!root->Name().empty() && SameText(root->Name(), first)) found = const_cast<TComponent*>(root);
  if (found == nullptr) found = root->FindComponent(first);
  if (found == nullptr) {
    TComponent* childOwner = const_cast<TComponent*>(root)->GetChildOwner();
    if (childOwner != nullptr) found = childOwner->FindComponent(first);
  }
  if (found == nullptr && rootOwner != nullptr)
    found = SameText(rootOwner->Name(), first) ? rootOwner : rootOwner->FindComponent(first);
  std::size_t start = dot;
  while (found != nullptr && start != std::string::npos) {
    const std::size_t next = path.find('.', start + 1);
    found = found->FindComponent(path.substr(start + 1, next == std::string::npos ? next : next - start - 1));
    start = next;
  }
  return found;
}

// Sets one reference, or reports why it could not be set.
void SetReference(TReadContext& ctx, TPersistent& instance, const std::string& property,
                  const std::string& reference, const std::string& where, std::int64_t position) {
  const std::string at = " (" + PositionText(position, ctx.FromText) + ")";
  TComponent* target = FindReferenced(ctx.Root, reference);
  if (target == nullptr) {
    ReportWarning(where + ": component " + reference + " was not found; the reference is left as it was" + at);
    return;
  }
  const TPropInfo* info = instance.ClassInfo().FindProperty(property);
  try {
    info->Set(instance, TPropValue(static_cast<TPersistent*>(target)));
  } catch (const EPropertyError&) {
    ReportWarning(where + ": " + reference + " (" + target->ClassName() +
                  ") does not fit the property; the reference is left as it was" + at);
  }
}

void ResolveFixups(TReadContext& ctx) {
  for (const TFixup& f : ctx.Fixups) {
    TPersistent* instance = f.Route.Anchor;
    for (const TStep& step : f.Route.Steps) {
      const TPropInfo* info = instance != nullptr ? instance->ClassInfo().FindProperty(step.Property) : nullptr;
      if (info == nullptr || info->Kind != pkClass) {
        instance = nullptr;
        break;
      }
      const TPropValue value = info->Get(*instance);
      instance = std::get<TPersistent*>(value);
      if (step.Item >= 0) {
        auto* collection = dynamic_cast<TCollection*>(instance);
        instance = collection != nullptr && step.Item < collection->Count() ? collection->Items(step.Item) : nullptr;
      }
    }
    if (instance == nullptr) {
      ReportWarning(f.Where + ": the object that held the reference to " + f.Reference + " is gone (" +
                    PositionText(f.Position, ctx.FromText) + ")");
      continue;
    }
    SetReference(ctx, *instance, f.Property, f.Reference, f.Where, f.Position);
  }
  ctx.Fixups.clear();
}

void ApplyObjectValue(TReadContext& ctx, const TPropInfo& info, const TStreamProperty& p, TPersistent& instance,
                      const std::string& where, TRoute& route) {
  const TStreamValue& v = p.Value;
  switch (v.Type) {
    case vaNil:
      if (!info.Writable()) throw EReadError("Property " + info.Name + " is read-only");
      info.Set(instance, TPropValue(static_cast<TPersistent*>(nullptr)));
      return;
    case vaIdent:
      if (!info.Writable()) throw EReadError("Property " + info.Name + " is read-only");
      if (route.Anchor == nullptr) {
        SetReference(ctx, instance, info.Name, v.Text, where, p.Position);
      } else {
        ctx.Fixups.push_back(TFixup{route, info.Name, v.Text, where, p.Position});
      }
      return;
    case vaObject:
    case vaCollection: {
      const TPropValue held = info.Get(instance);
      TPersistent* object = std::get<TPersistent*>(held);
      if (object == nullptr) throw EReadError("Property " + info.Name + " holds no object to read into");
      if (dynamic_cast<TComponent*>(object) != nullptr)
        throw EReadError("Property " + info.Name + " refers to a component; the stream holds " + ValueTypeText(v.Type));
      auto* collection = dynamic_cast<TCollection*>(object);
      if ((collection != nullptr) != (v.Type == vaCollection))
        throw EReadError("Invalid property value: " +
                         std::string(collection != nullptr ? "a collection" : "a property list") + " expected, found " +
                         ValueTypeText(v.Type));
      if (collection == nullptr) {
        route.Steps.push_back(TStep{info.Name, -1});
        ApplyProperties(ctx, v.Properties, *object, where, route);
        route.Steps.pop_back();
        return;
      }
      collection->Clear();
      for (std::size_t i = 0; i < v.Items.size(); ++i) {
        TCollectionItem* item = collection->Add();
        route.Steps.push_back(TStep{info.Name, static_cast<int>(i)});
        ApplyProperties(ctx, v.Items[i].Properties, *item, where + "[" + std::to_string(i) + "]", route);
        route.Steps.pop_back();
      }
      return;
    }
    default:
      Mismatch("an object", v.Type);
  }
}

void ApplyPlainValue(const TPropInfo& info, const TStreamValue& v, TPersistent& instance) {
  switch (info.Kind) {
    case pkBoolean:
      if (v.Type != vaTrue && v.Type != vaFalse) Mismatch("a boolean", v.Type);
      info.Set(instance, TPropValue(v.Type == vaTrue));
      return;
    case pkInteger:
    case pkInt64:
      if (!IsIntegerType(v.Type)) Mismatch("an integer", v.Type);
      info.Set(instance, TPropValue(CheckedInteger(info, v)));
      return;
    case pkFloat:
      if (v.Type == vaDouble)
        info.Set(instance, TPropValue(v.Float));
      else if (IsIntegerType(v.Type))
        info.Set(instance, TPropValue(static_cast<double>(v.Integer)));
      else
        Mismatch("a floating-point number", v.Type);
      return;
    case pkString:
      if (!IsStringType(v.Type)) Mismatch("a string", v.Type);
      info.Set(instance, TPropValue(v.Text));
      return;
    case pkEnum:
      if (v.Type == vaIdent) {
        const std::int64_t ordinal = info.ValueOrdinal(v.Text);
        if (ordinal < 0) throw EReadError("Invalid property value: " + info.TypeName + " has no value " + v.Text);
        info.Set(instance, TPropValue(ordinal));
      } else if (IsIntegerType(v.Type)) {
        info.Set(instance, TPropValue(CheckedInteger(info, v)));
      } else {
        Mismatch("an identifier", v.Type);
      }
      return;
    case pkSet:
      if (v.Type != vaSet) Mismatch("a set", v.Type);
      info.Set(instance, TPropValue(SetMask(info, v)));
      return;
    case pkClass:
      break;
  }
}

void ApplyProperty(TReadContext& ctx, const TStreamProperty& p, TPersistent& instance, const std::string& owner,
                   TRoute& route) {
  const std::string where = owner + "." + p.Name;
  try {
    const TPropInfo* info = instance.ClassInfo().FindProperty(p.Name);
    if (info != nullptr && info->Kind == pkClass) {
      ApplyObjectValue(ctx, *info, p, instance, where, route);
      return;
    }
    if (info != nullptr && info->Writable()) {
      ApplyPlainValue(*info, p.Value, instance);
      return;
    }
    TReadFiler filer(p);
    instance.DefineProperties(filer);
    if (filer.Handled()) return;
    ReportWarning(owner + ": property " + p.Name + " does not exist in class " + instance.ClassName() +
                  " and was skipped (" + PositionText(p.Position, ctx.FromText) + ")");
  } catch (const ELocatedReadError&) {
    throw;
  } catch (const std::exception& e) {
    RaiseAt(ctx, where, p.Position, e.what());
  }
}

void ApplyProperties(TReadContext& ctx, const std::vector<TStreamProperty>& properties, TPersistent& instance,
                     const std::string& where, TRoute& route) {
  for (const TStreamProperty& p : properties) ApplyProperty(ctx, p, instance, where, route);
}

void ApplyObject(TReadContext& ctx, const TStreamObject& object, TComponent& component, const std::string& where,
                 TComponent* mirror);

// The component that a child of the stream names among the owner's, when
// there is one: it must be of the stream's class, as it is read into.
TComponent* ExistingChild(const TStreamObject& child, TComponent& parent) {
  TComponent* owner = parent.GetChildOwner();
  TComponent* existing = child.Name.empty() || owner == nullptr ? nullptr : owner->FindComponent(child.Name);
  if (existing != nullptr && !SameText(existing->ClassName(), child.ClassName))
    throw EReadError("the component " + child.Name + " is a " + existing->ClassName() + ", the stream holds a " +
                     child.ClassName);
  return existing;
}

// mirrorParent: in a trial, the target's component that parent stands for, so
// that the trial meets the target's children where the real read will.
void ReadChild(TReadContext& ctx, const TStreamObject& child, TComponent& parent, const std::string& where,
               TComponent* mirrorParent) {
  const std::string childWhere = where + "." + Label(child);
  TComponent* component = nullptr;
  TComponent* mirror = nullptr;
  try {
    if (mirrorParent != nullptr) mirror = ExistingChild(child, *mirrorParent);
    component = ExistingChild(child, parent);
    if (component == nullptr) {
      const TClassInfo& info = FindClass(child.ClassName);
      if (!info.InheritsFrom(TComponent::StaticClassInfo()))
        throw EReadError(child.ClassName + " is not a component class");
      std::unique_ptr<TPersistent> made(info.Create(parent.GetChildOwner()));
      component = static_cast<TComponent*>(made.get());
      if (!child.Name.empty()) component->SetName(child.Name);
      ctx.Created.push_back(component);
      made.release();
    }
    component->SetParentComponent(&parent);
  } catch (const std::exception& e) {
    RaiseAt(ctx, childWhere, child.Position, e.what());
  }
  ApplyObject(ctx, child, *component, childWhere, mirror);
}

void ApplyObject(TReadContext& ctx, const TStreamObject& object, TComponent& component, const std::string& where,
                 TComponent* mirror) {
  component.IncludeState(csLoading);
  component.IncludeState(csReading);
  ctx.Read.push_back(&component);
  TRoute route{&component, {}};
  ApplyProperties(ctx, object.Properties, component, where, route);
  component.ExcludeState(csReading);
  for (const TStreamObject& child : object.Children) ReadChild(ctx, child, component, where, mirror);
}

// One pass over the target, or over a trial instance that stands for mirror.
void ReadInto(const TStreamObject& object, TComponent& root, TComponent* mirror) {
  TReadContext ctx;
  ctx.Root = &root;
  ctx.FromText = object.FromText;
  TReadScope scope(ctx);
  const std::string where = Label(object);
  try {
    if (!object.Name.empty() && object.Name != root.Name()) {
      try {
        root.SetName(object.Name);
      } catch (const std::exception& e) {
        RaiseAt(ctx, where, object.Position, e.what());
      }
    }
    ApplyObject(ctx, object, root, where, mirror);
    ResolveFixups(ctx);
    for (TComponent* c : ctx.Read) {
      try {
        c->Loaded();
      } catch (const std::exception& e) {
        RaiseAt(ctx, c->Name().empty() ? c->ClassName() : c->Name(), object.Position, e.what());
      }
    }
  } catch (...) {
    for (TComponent* c : ctx.Read) {
      c->ExcludeState(csReading);
      c->ExcludeState(csLoading);
    }
    // The last made first: an owner made by this read outlives what it owns.
    for (auto it = ctx.Created.rbegin(); it != ctx.Created.rend(); ++it) delete *it;
    throw;
  }
}

}  // namespace

void ReadComponentObject(const TStreamObject& object, TComponent& instance) {
  const std::string where = Label(object);
  TReadContext check;
  check.FromText = object.FromText;
  if (!instance.ClassInfo().InheritsFrom(object.ClassName))
    RaiseAt(check, where, object.Position,
            "the stream holds a " + object.ClassName + ", which cannot be read into a " + instance.ClassName());
  if (!object.Name.empty() && instance.Owner() != nullptr) {
    const TComponent* other = instance.Owner()->FindComponent(object.Name);
    if (other != nullptr && other != &instance)
      RaiseAt(check, where, object.Position, "A component named " + object.Name + " already exists");
  }
  if (instance.ClassInfo().Creatable()) {
    // The trial instance has an owner of its own, so that children made for
    // the owner go with it; its warnings are the target's and come once, below.
    TWarningRecorder quiet;
    TComponent owner;
    TPersistent* made = instance.ClassInfo().Create(&owner);
    auto* trial = dynamic_cast<TComponent*>(made);
    if (trial == nullptr) {
      delete made;
      throw EReadError("The class information of " + instance.ClassName() + " made no component");
    }
    ReadInto(object, *trial, &instance);
  }
  ReadInto(object, instance, nullptr);
}

void ReadComponent(TStream& stream, TComponent& instance) {
  const std::int64_t start = stream.Position();
  const TStreamObject object = ReadObjectBinary(stream);
  try {
    ReadComponentObject(object, instance);
  } catch (...) {
    stream.SetPosition(start);
    throw;
  }
}

void ReadComponentText(std::string_view text, TComponent& instance) {
  ReadComponentObject(ObjectFromText(text), instance);
}

void ReadPropertyList(TStream& stream, TPersistent& instance) {
  const TStreamValue list = ReadValueBinary(stream);
  TReadContext local;
  TReadContext& ctx = CurrentRead != nullptr ? *CurrentRead : local;
  if (list.Type != vaObject)
    throw EReadError("Invalid property value: a property list expected, found " + ValueTypeText(list.Type));
  const bool fromText = ctx.FromText;
  // Positions here are offsets in the binary property's own bytes.
  ctx.FromText = false;
  TRoute route;
  try {
    ApplyProperties(ctx, list.Properties, instance, instance.ClassName(), route);
  } catch (...) {
    ctx.FromText = fromText;
    throw;
  }
  ctx.FromText = fromText;
}

}  // namespace classlib
