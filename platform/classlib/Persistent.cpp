#include "platform/classlib/Persistent.h"

#include <cmath>

#include "platform/classlib/Component.h"
#include "platform/classlib/TextUtils.h"

namespace classlib {

bool TPropInfo::IsStored(const TPersistent& instance) const {
  if (StoredFn && !StoredFn(instance)) return false;
  const std::optional<TPropValue> def = DefaultFor(instance);
  if (Kind == pkFloat) {
    const TPropValue value = Get(instance);
    const double* v = std::get_if<double>(&value);
    // -0 is stored: it differs from +0 in the last bit, and nothing else would bring it back.
    if (v == nullptr || *v != 0 || std::signbit(*v)) return true;
    if (!def) return false;
    const double* d = std::get_if<double>(&*def);
    return d == nullptr || *d != 0;
  }
  if (!def) return true;
  return Get(instance) != *def;
}

std::string TPropInfo::ValueName(std::int64_t ordinal) const {
  if (ordinal >= 0 && ordinal < static_cast<std::int64_t>(ValueNames.size()))
    return ValueNames[static_cast<std::size_t>(ordinal)];
  return std::to_string(ordinal);
}

std::int64_t TPropInfo::ValueOrdinal(std::string_view name) const {
  for (std::size_t i = 0; i < ValueNames.size(); ++i)
    if (SameText(ValueNames[i], name)) return static_cast<std::int64_t>(i);
  return -1;
}

TClassInfo::TClassInfo(std::string className, const TClassInfo* parent,
                       std::vector<TPropInfo> properties, TFactory factory)
    : FClassName(std::move(className)),
      FParent(parent),
      FProperties(std::move(properties)),
      FFactory(std::move(factory)) {}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->FProperties) result.push_back(&p);
  return result;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  // A descendant's property hides an ancestor's of the same name.
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    for (const TPropInfo& p : c->FProperties)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    if (c == &ancestor) return true;
  return false;
}

bool TClassInfo::InheritsFrom(std::string_view ancestorName) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->FParent)
    if (SameText(c->FClassName, ancestorName)) return true;
  return false;
}

TPersistent* TClassInfo::Create(TComponent* owner) const {
  if (!FFactory) throw EConvertError("Cannot create an instance of abstract class " + FClassName);
  return FFactory(owner);
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", nullptr, {}, {});
  return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName() + ".");
}

void TPersistent::DefineProperties(TFiler&) {}

std::string TPersistent::GetNamePath() const {
  // A persistent without an owner is named by its class, as a designer shows it.
  TPersistent* owner = GetOwner();
  if (owner == nullptr) return ClassName();
  const std::string ownerPath = owner->GetNamePath();
  return ownerPath.empty() ? ClassName() : ownerPath + "." + ClassName();
}

TPropValue GetPropValue(const TPersistent& instance, std::string_view name) {
  const TPropInfo* info = instance.ClassInfo().FindProperty(name);
  if (info == nullptr) throw EPropertyError("Property " + std::string(name) + " does not exist");
  return info->Get(instance);
}

void SetPropValue(TPersistent& instance, std::string_view name, const TPropValue& value) {
  const TPropInfo* info = instance.ClassInfo().FindProperty(name);
  if (info == nullptr) throw EPropertyError("Property " + std::string(name) + " does not exist");
  if (!info->Writable()) throw EPropertyError("Property " + info->Name + " is read-only");
  info->Set(instance, value);
}

void ResetToDefaults(TPersistent& instance) {
  for (const TPropInfo* info : instance.ClassInfo().Properties()) {
    if (info->Kind == pkClass) {
      const TPropValue value = info->Get(instance);
      TPersistent* sub = std::get<TPersistent*>(value);
      if (sub != nullptr && dynamic_cast<TComponent*>(sub) == nullptr) ResetToDefaults(*sub);
      continue;
    }
    if (!info->Writable()) continue;
    if (const std::optional<TPropValue> def = info->DefaultFor(instance)) info->Set(instance, *def);
  }
}

}  // namespace classlib
