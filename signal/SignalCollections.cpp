// The input collections and their items: binding inputs to the collection's
// notify method.
// Tested by: signal/tests/AnalysisTest.cpp.
#include "signal/SignalCollections.h"

#include "numeric/MathCore.h"
#include "signal/Signal.h"
#include "signal/Spectrum.h"

namespace sig {

namespace {

// The shared steps of both item kinds' Input setters. The collection names
// itself as the binder, so that an item takes back only the binding it made.
template <class TInput>
void Rebind(TInput*& Field, TInput* Value, const classlib::TCollection* Collection, classlib::TComponent* Owner,
            const TNotifyEvent& Notify, bool AlwaysHandOver) {
  const bool handOver = AlwaysHandOver || static_cast<bool>(Notify);
  if (Field != nullptr && handOver) Field->ClearNotifyMethod(Collection);
  Field = Value;
  if (Value == nullptr) return;
  if (handOver) Value->SetNotifyMethod(Notify, Collection);
  if (Owner != nullptr) Value->FreeNotification(*Owner);
}

}  // namespace

// --- TSignalCollection -----------------------------------------------------

const classlib::TClassInfo& TSignalCollection::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalCollection>("TSignalCollection", TCollection::StaticClassInfo()).Build();
  return info;
}

TSignalCollection::TSignalCollection(classlib::TComponent* AOwner)
    : TCollection(TSignalItem::StaticClassInfo(), AOwner), FOwnerComponent(AOwner) {}

TSignalItem* TSignalCollection::Items(int Index) const {
  return static_cast<TSignalItem*>(TCollection::Items(Index));
}

TSignalItem* TSignalCollection::Add() { return static_cast<TSignalItem*>(TCollection::Add()); }

classlib::TCollectionItem* TSignalCollection::CreateItem() {
  auto* item = new TSignalItem(this);
  item->SetNotify(FNotify);
  return item;
}

void TSignalCollection::SetNotify(TNotifyEvent Value) {
  FNotify = std::move(Value);
  for (int i = 0; i < Count(); ++i) Items(i)->SetNotify(FNotify);
}

// --- TSignalItem -----------------------------------------------------------

const classlib::TClassInfo& TSignalItem::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalItem>("TSignalItem", TCollectionItem::StaticClassInfo())
          .Property("Input", &TSignalItem::Input, &TSignalItem::SetInput)
          .TypeName("TSignal")
          .Build();
  return info;
}

TSignalItem::TSignalItem(classlib::TCollection* Collection) {
  if (dynamic_cast<TSignalCollection*>(Collection) == nullptr) numeric::RaiseError("Collection = nil!");
  SetCollection(Collection);
}

TSignalItem::~TSignalItem() {
  if (FInput != nullptr && Collection() != nullptr) FInput->ClearNotifyMethod(Collection());
}

void TSignalItem::SetInput(TSignal* Value) {
  auto* collection = static_cast<TSignalCollection*>(Collection());
  if (collection == nullptr || collection->Locked()) return;
  Rebind(FInput, Value, collection, collection->Owner(), collection->Notify(), false);
}

void TSignalItem::Assign(const classlib::TPersistent& Source) {
  if (const auto* item = dynamic_cast<const TSignalItem*>(&Source)) {
    SetInput(item->Input());
    return;
  }
  TCollectionItem::Assign(Source);
}

// --- TSpectrumCollection ---------------------------------------------------

const classlib::TClassInfo& TSpectrumCollection::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumCollection>("TSpectrumCollection", TCollection::StaticClassInfo()).Build();
  return info;
}

TSpectrumCollection::TSpectrumCollection(classlib::TComponent* AOwner)
    : TCollection(TSpectrumItem::StaticClassInfo(), AOwner), FOwnerComponent(AOwner) {}

TSpectrumItem* TSpectrumCollection::Items(int Index) const {
  return static_cast<TSpectrumItem*>(TCollection::Items(Index));
}

TSpectrumItem* TSpectrumCollection::Add() { return static_cast<TSpectrumItem*>(TCollection::Add()); }

classlib::TCollectionItem* TSpectrumCollection::CreateItem() {
  auto* item = new TSpectrumItem(this);
  item->SetNotify(FNotify);
  return item;
}

// --- TSpectrumItem ---------------------------------------------------------

const classlib::TClassInfo& TSpectrumItem::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumItem>("TSpectrumItem", TCollectionItem::StaticClassInfo())
          .Property("Input", &TSpectrumItem::Input, &TSpectrumItem::SetInput)
          .TypeName("TSpectrum")
          .Build();
  return info;
}

TSpectrumItem::TSpectrumItem(classlib::TCollection* Collection) {
  if (dynamic_cast<TSpectrumCollection*>(Collection) == nullptr) numeric::RaiseError("Collection = nil!");
  SetCollection(Collection);
}

TSpectrumItem::~TSpectrumItem() {
  if (FInput != nullptr && Collection() != nullptr) FInput->ClearNotifyMethod(Collection());
}

void TSpectrumItem::SetInput(TSpectrum* Value) {
  auto* collection = static_cast<TSpectrumCollection*>(Collection());
  if (collection == nullptr || collection->Locked()) return;
  Rebind(FInput, Value, collection, collection->Owner(), collection->Notify(), true);
}

void TSpectrumItem::Assign(const classlib::TPersistent& Source) {
  if (const auto* item = dynamic_cast<const TSpectrumItem*>(&Source)) {
    SetInput(item->Input());
    return;
  }
  TCollectionItem::Assign(Source);
}

}  // namespace sig
