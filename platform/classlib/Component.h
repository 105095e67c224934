// Components: persistent objects with an owner, a name and an owned list.
//
// An owner frees the components it owns when it is destroyed; a component that
// asked another for a free notification hears when that one goes away, so it
// can drop its reference before it dangles.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace classlib {

class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

enum TOperation : std::uint8_t { opInsert, opRemove };

enum TComponentStateFlag : std::uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
};

class TComponent : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }

  const std::string& Name() const { return FName; }
  // Raises for a name that is not an identifier, or that another component of
  // the same owner already carries. The empty name is always allowed.
  virtual void SetName(const std::string& name);

  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t tag) { FTag = tag; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  // Case-insensitive, as component names are.
  TComponent* FindComponent(std::string_view name) const;

  void InsertComponent(TComponent& component);
  void RemoveComponent(TComponent& component);
  // Frees every owned component, the last inserted first.
  void DestroyComponents();

  // Asks to hear (through Notification with opRemove) when component is destroyed.
  void FreeNotification(TComponent& component);
  void RemoveFreeNotification(TComponent& component);

  bool HasState(TComponentStateFlag flag) const { return (FState & Bit(flag)) != 0; }
  void IncludeState(TComponentStateFlag flag) { FState |= Bit(flag); }
  void ExcludeState(TComponentStateFlag flag) { FState &= static_cast<std::uint16_t>(~Bit(flag)); }

  // Called after a stream has loaded the component's properties.
  virtual void Loaded();

  // The component tree of the stream, which need not follow ownership: a
  // series is written inside its chart, a function inside its series, whoever
  // owns them.
  // True when the component is written inside a parent component rather than
  // directly inside its owner.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  // Called by the reader on a child it created or found, with the component
  // that the stream holds it in.
  virtual void SetParentComponent(TComponent* parent);
  // Hands proc the components written inside this one, in order: by default
  // the owned components that have no parent of their own.
  virtual void GetChildren(const std::function<void(TComponent&)>& proc) const;
  // The owner of the children that the reader creates inside this component.
  virtual TComponent* GetChildOwner() { return this; }

  std::string GetNamePath() const override { return FName; }

 protected:
  // Told when a component is inserted into or removed from this one's owned
  // list, and when a component this one asked to hear about is destroyed.
  // Overrides call the inherited version, which passes the news to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  static std::uint16_t Bit(TComponentStateFlag flag) {
    return static_cast<std::uint16_t>(1u << flag);
  }
  void Insert(TComponent& component);
  void Remove(TComponent& component);

  TComponent* FOwner = nullptr;
  std::string FName;
  std::int32_t FTag = 0;
  std::uint16_t FState = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

}  // namespace classlib
