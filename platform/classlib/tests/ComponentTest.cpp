#include <gtest/gtest.h>

#include "platform/classlib/Component.h"

namespace {

using namespace classlib;

// Records the notifications it hears, and counts its own destruction.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), FLog(log) {}
  ~TProbe() override {
    if (FLog) FLog->push_back("free " + Name());
  }
  TComponent* watched = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (FLog && component)
      FLog->push_back(Name() + (operation == opInsert ? " +" : " -") + component->Name());
    if (operation == opRemove && component == watched) watched = nullptr;
  }

 private:
  std::vector<std::string>* FLog;
};

TEST(Component, OwnerFreesOwnedComponentsLastInsertedFirst) {
  std::vector<std::string> log;
  {
    TProbe owner(nullptr, nullptr);
    auto* a = new TProbe(&owner, &log);
    a->SetName("A");
    auto* b = new TProbe(&owner, &log);
    b->SetName("B");
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(1), b);
    EXPECT_EQ(owner.FindComponent("a"), a);
    EXPECT_EQ(a->Owner(), &owner);
  }
  // A hears of its sibling's arrival (B has no name yet at that moment).
  EXPECT_EQ(log, (std::vector<std::string>{"A +", "free B", "free A"}));
}

TEST(Component, DeletingAnOwnedComponentLeavesTheOwnersList) {
  TComponent owner;
  auto* a = new TComponent(&owner);
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_THROW(owner.Components(0), EComponentError);
}

TEST(Component, NamesMustBeIdentifiersAndUniqueWithinTheOwner) {
  TComponent owner;
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Series1");
  try {
    b->SetName("SERIES1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named SERIES1 already exists");
  }
  try {
    b->SetName("1st");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "Component name \"1st\" is not a valid identifier");
  }
  b->SetName("");
  EXPECT_EQ(b->Name(), "");
  a->SetName("series1");  // renaming itself in another case is no clash
  EXPECT_EQ(a->Name(), "series1");
}

TEST(Component, FreeNotificationClearsDanglingReferences) {
  std::vector<std::string> log;
  TProbe watcher(nullptr, &log);
  watcher.SetName("W");
  auto* target = new TProbe(nullptr, nullptr);
  target->SetName("T");
  watcher.watched = target;
  target->FreeNotification(watcher);
  delete target;
  EXPECT_EQ(watcher.watched, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"W -T"}));

  // Once the watcher itself is gone, the target must not call into it.
  auto* target2 = new TComponent(nullptr);
  {
    TProbe shortLived(nullptr, nullptr);
    target2->FreeNotification(shortLived);
  }
  delete target2;  // would touch freed memory if the link were one-sided
}

TEST(Component, OwnerHearsInsertAndRemove) {
  std::vector<std::string> log;
  TProbe owner(nullptr, &log);
  owner.SetName("O");
  auto* child = new TComponent(nullptr);
  child->SetName("C");
  owner.InsertComponent(*child);
  owner.RemoveComponent(*child);
  EXPECT_EQ(child->Owner(), nullptr);
  delete child;
  EXPECT_EQ(log, (std::vector<std::string>{"O +C", "O -C"}));
}

}  // namespace
