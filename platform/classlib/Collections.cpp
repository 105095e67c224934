// Collections and their items.
// Tested by: tests/CollectionsTest.cpp, tests/ComponentStreamTest.cpp.
#include "platform/classlib/Collections.h"

#include <algorithm>
#include <memory>

namespace classlib {

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCollectionItem>("TCollectionItem", TPersistent::StaticClassInfo()).Creatable().Build();
  return info;
}

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == FCollection) return;
  if (FCollection != nullptr) {
    auto& items = FCollection->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
  }
  FCollection = collection;
  if (FCollection != nullptr) FCollection->FItems.push_back(this);
}

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  const auto& items = FCollection->FItems;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

std::string TCollectionItem::GetNamePath() const {
  if (FCollection == nullptr) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TCollection>("TCollection", TPersistent::StaticClassInfo()).Build();
  return info;
}

TCollection::TCollection(const TClassInfo& itemClass, TPersistent* owner)
    : FItemClass(&itemClass), FOwner(owner) {
  if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo()))
    throw ECollectionError(itemClass.ClassName() + " is not a collection item class");
}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count())
    throw ECollectionError("List index out of bounds (" + std::to_string(index) + ")");
  return FItems[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::CreateItem() {
  std::unique_ptr<TPersistent> made(FItemClass->Create(nullptr));
  auto* item = dynamic_cast<TCollectionItem*>(made.get());
  if (item == nullptr) throw ECollectionError(FItemClass->ClassName() + " did not make a collection item");
  made.release();
  return item;
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = CreateItem();
  item->SetCollection(this);
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

void TCollection::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TCollection*>(&source)) {
    if (other == this) return;
    Clear();
    for (TCollectionItem* item : other->FItems) Add()->Assign(*item);
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace classlib
