// Collections: an owned, ordered list of items of one class, streamed as one
// property of their owner (a chart's custom axes, a tool's drawn lines, a
// component's input items).
//
// The collection frees its items; an item freed by anyone else leaves its
// collection first.
#pragma once

#include <string>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace classlib {

class TCollection;

class ECollectionError : public Exception {
 public:
  using Exception::Exception;
};

class TCollectionItem : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  TCollectionItem() = default;
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Leaves the current collection and joins the end of the new one.
  void SetCollection(TCollection* collection);
  // The position in the collection; -1 outside one.
  int Index() const;

  std::string GetNamePath() const override;

 protected:
  TPersistent* GetOwner() const override;

 private:
  TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  // itemClass describes TCollectionItem or a descendant; owner is the object
  // whose property the collection is.
  explicit TCollection(const TClassInfo& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises ECollectionError for an index outside 0..Count-1.
  TCollectionItem* Items(int index) const;

  // A new item of the item class at the end.
  TCollectionItem* Add();
  void Delete(int index);
  // Frees every item, the last first.
  void Clear();

  // Replaces the items by copies of source's (each item's own Assign copies it).
  void Assign(const TPersistent& source) override;

 protected:
  // Makes a new item; collections whose items need more than the item class's
  // factory override it.
  virtual TCollectionItem* CreateItem();
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  friend class TCollectionItem;
  const TClassInfo* FItemClass;
  TPersistent* FOwner;
  std::vector<TCollectionItem*> FItems;
};

}  // namespace classlib
