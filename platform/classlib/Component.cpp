#include "platform/classlib/Component.h"

#include <algorithm>

#include "platform/classlib/TextUtils.h"

namespace classlib {

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                     .Property("Name", &TComponent::Name, &TComponent::SetName)
                                     .TypeName("TComponentName")
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
  while (!free_notifies_.empty()) {
    TComponent* other = free_notifies_.back();
    free_notifies_.pop_back();
    auto& back = other->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(*this);
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("Component name \"" + name + "\" is not a valid identifier");
  if (!name.empty() && owner_ != nullptr) {
    TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
  name_ = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EComponentError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent& component) {
  if (!component.name_.empty()) {
    TComponent* other = FindComponent(component.name_);
    if (other != nullptr && other != &component)
      throw EComponentError("A component named " + component.name_ + " already exists");
  }
  if (component.owner_ != nullptr) component.owner_->RemoveComponent(component);
  Insert(component);
  Notification(&component, opInsert);
}

void TComponent::RemoveComponent(TComponent& component) {
  if (component.owner_ != this) return;
  Notification(&component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent& component) {
  components_.push_back(&component);
  component.owner_ = this;
}

void TComponent::Remove(TComponent& component) {
  components_.erase(std::remove(components_.begin(), components_.end(), &component), components_.end());
  component.owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(*c);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent& component) {
  if (&component == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), &component) == free_notifies_.end())
    free_notifies_.push_back(&component);
  auto& back = component.free_notifies_;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent& component) {
  free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), &component),
                       free_notifies_.end());
  auto& back = component.free_notifies_;
  back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded() { ExcludeState(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr) RemoveFreeNotification(*component);
  // Copy: a notified component may free others while the list is walked.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned)
    if (std::find(components_.begin(), components_.end(), c) != components_.end())
      c->Notification(component, operation);
}

}  // namespace classlib
