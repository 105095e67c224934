#include "platform/classlib/Component.h"

#include <algorithm>

#include "platform/classlib/TextUtils.h"

namespace classlib {

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                     .Property("Name", &TComponent::Name, &TComponent::SetName)
                                     .TypeName("TComponentName")
                                     // A stream carries the name in the component's header.
                                     .Stored([](const TComponent&) { return false; })
                                     .Property("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
                                     .Creatable()
                                     .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(*this);
}

TComponent::~TComponent() {
  IncludeState(csDestroying);
  // Whoever asked to hear about this component's end is told first, while it
  // still stands, so they can drop their references.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(*this);
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("Component name \"" + name + "\" is not a valid identifier");
  if (!name.empty() && FOwner != nullptr) {
    TComponent* other = FOwner->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  FName = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent& component) {
  if (!component.FName.empty()) {
    TComponent* other = FindComponent(component.FName);
    if (other != nullptr && other != &component)
      throw EComponentError("A component named " + component.FName + " already exists");
  }
  if (component.FOwner != nullptr) component.FOwner->RemoveComponent(component);
  Insert(component);
  Notification(&component, opInsert);
}

void TComponent::RemoveComponent(TComponent& component) {
  if (component.FOwner != this) return;
  Notification(&component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent& component) {
  FComponents.push_back(&component);
  component.FOwner = this;
}

void TComponent::Remove(TComponent& component) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), &component), FComponents.end());
  component.FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(*c);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent& component) {
  if (&component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), &component) == FFreeNotifies.end())
    FFreeNotifies.push_back(&component);
  auto& back = component.FFreeNotifies;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent& component) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), &component),
                       FFreeNotifies.end());
  auto& back = component.FFreeNotifies;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded() { ExcludeState(csLoading); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const std::function<void(TComponent&)>& proc) const {
  // Copy: proc may be a writer that asks the children about their own children.
  const std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (!c->HasParent()) proc(*c);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr) RemoveFreeNotification(*component);
  // Copy: a notified component may free others while the list is walked.
  const std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
      c->Notification(component, operation);
}

}  // namespace classlib
