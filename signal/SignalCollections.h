// The input collections of multi-channel components: TSignalCollection of
// TSignalItem (signal inputs) and its twin TSpectrumCollection of
// TSpectrumItem (spectrum inputs).
//
// A collection keeps its owner, a lock flag and a notify method that it hands
// to every item; an item binds its Input to that method, so that the input
// tells the collection's owner (a chart, say) when its data changed. The
// owner should be a component: each input is asked to tell it when it is
// freed, and the owner's Notification then clears the item with ClearInput
// (TAnalysis does). It must not call the freed input: by then only its
// component base still stands.
//
// Tested by: signal/tests/AnalysisTest.cpp.
#pragma once

#include "platform/classlib/Collections.h"
#include "platform/classlib/Component.h"
#include "signal/Analysis.h"

namespace sig {

class TSignal;
class TSpectrum;
class TSignalItem;
class TSpectrumItem;

class TSignalCollection : public classlib::TCollection {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalCollection(classlib::TComponent* AOwner);

  // properties
  classlib::TComponent* Owner() const { return FOwnerComponent; }
  bool Locked() const { return FLocked; }
  const TNotifyEvent& Notify() const { return FNotify; }
  TSignalItem* Items(int Index) const;

  // operations
  // A new item at the end; it takes the collection's notify method.
  TSignalItem* Add();

  // introduced virtual
  // While set, the items' Input setters do nothing.
  virtual void SetLocked(bool Value) { FLocked = Value; }
  // Stores the method and copies it into every item.
  virtual void SetNotify(TNotifyEvent Value);

 protected:
  classlib::TCollectionItem* CreateItem() override;

 private:
  classlib::TComponent* FOwnerComponent;
  bool FLocked = false;
  TNotifyEvent FNotify;
};

class TSignalItem : public classlib::TCollectionItem {
  ORVEL_CLASS_INFO
 public:
  // Raises "Collection = nil!" unless Collection is a TSignalCollection.
  explicit TSignalItem(classlib::TCollection* Collection);
  ~TSignalItem() override;

  // properties
  TSignal* Input() const { return FInput; }
  // Nothing while the collection is locked. Otherwise the old input loses
  // and the new one takes the collection's notify method (when the
  // collection has one), and the new one is asked to tell the collection's
  // owner when it is freed.
  void SetInput(TSignal* Value);
  const TNotifyEvent& Notify() const { return FNotify; }
  void SetNotify(TNotifyEvent Value) { FNotify = std::move(Value); }

  // operations
  // Input := nullptr without any notification.
  void ClearInput() { FInput = nullptr; }

  // overrides
  // From another TSignalItem: its Input, through the setter.
  void Assign(const classlib::TPersistent& Source) override;

 private:
  TSignal* FInput = nullptr;
  TNotifyEvent FNotify;
};

class TSpectrumCollection : public classlib::TCollection {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrumCollection(classlib::TComponent* AOwner);

  // properties
  classlib::TComponent* Owner() const { return FOwnerComponent; }
  bool Locked() const { return FLocked; }
  const TNotifyEvent& Notify() const { return FNotify; }
  TSpectrumItem* Items(int Index) const;

  // operations
  TSpectrumItem* Add();

  // introduced virtual
  virtual void SetLocked(bool Value) { FLocked = Value; }
  // Stores the method only: items already there keep theirs.
  virtual void SetNotify(TNotifyEvent Value) { FNotify = std::move(Value); }

 protected:
  classlib::TCollectionItem* CreateItem() override;

 private:
  classlib::TComponent* FOwnerComponent;
  bool FLocked = false;
  TNotifyEvent FNotify;
};

class TSpectrumItem : public classlib::TCollectionItem {
  ORVEL_CLASS_INFO
 public:
  // Raises "Collection = nil!" unless Collection is a TSpectrumCollection.
  explicit TSpectrumItem(classlib::TCollection* Collection);
  ~TSpectrumItem() override;

  // properties
  TSpectrum* Input() const { return FInput; }
  // As TSignalItem's, except that the notify method is always handed over.
  void SetInput(TSpectrum* Value);
  const TNotifyEvent& Notify() const { return FNotify; }
  void SetNotify(TNotifyEvent Value) { FNotify = std::move(Value); }

  // operations
  void ClearInput() { FInput = nullptr; }

  // overrides
  void Assign(const classlib::TPersistent& Source) override;

 private:
  TSpectrum* FInput = nullptr;
  TNotifyEvent FNotify;
};

}  // namespace sig
