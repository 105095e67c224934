// The object cache of temporary vectors and matrices: slot tables, take,
// return, compaction, rebuilding, unit initialisation and finalisation.
// Tested by: numeric/tests/ObjectCacheTest.cpp, ObjectCacheConcurrencyTest.cpp.
//
// The tables and their lock live in one store that is created on first use
// and never destroyed, so that a temporary returned while the process exits
// (from another object's destructor) never meets a destroyed cache. Every
// function below that touches the tables holds the lock for all of its work,
// including the reset of a returned object.
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "numeric/Numora.h"

namespace numeric {

namespace detail {

struct TCacheAccess {
  static void Reset(TVec& v) {
    // The handler goes first: the reset below changes the size, and its
    // owner may be gone or in the middle of its own destruction.
    v.SetOnSetSize(nullptr);
    v.SetFullRange();
    v.SetComplex(false);
    v.SetLength(0);
    // A capacity set by hand (or lost to a failed allocation) returns to the
    // pre-size, so every cached vector comes out with its block.
    if (v.Capacity() != VecCacheLength()) v.SetActualLength(VecCacheLength());
    v.SetConditionCheck(true);
    v.SetCaption(std::string());
    v.SetSizeChanged(true);
    v.RestoreConstants();
    // The next user starts fresh random sequences.
    v.ResetRandom();
  }

  static void Reset(TMtx& m) {
    m.SetOnSetSize(nullptr);
    m.SetComplex(false);
    m.SetTriangleForm(tfUpper);
    m.SetConditionNumber(cnNone);
    m.SetBalance(btFull);
    m.SetConditionCheck(true);
    m.SetAutoMtxType(false);
    m.SetEigGenType(etAzBz);
    m.SetRefineSolution(false);
    m.SetTriangleUnit(false);
    m.SetCaption(std::string());
    m.FErrorText.clear();
    m.FLapackStatus = 0;
    m.FRCond = 0.0;
    m.RestoreConstants();
    m.Size(0, 0, false);
    const std::int32_t d = MtxCacheDim();
    if (m.ActualSize() != d * d) m.SetActualSize(d * d);
  }
};

}  // namespace detail

namespace {

template <class T>
struct TSlotTable {
  struct TSlot {
    T* Object = nullptr;
    bool Used = false;
  };
  const char* Name;
  std::vector<TSlot> Slots;
  std::vector<TSlot> Scratch;  // used only while compacting
  std::int32_t Count = 0;
  std::int32_t D = 0;
  std::int32_t NextFree = 0;
  std::int32_t UsedCount = 0;
  bool Built = false;

  explicit TSlotTable(const char* name) : Name(name) {}
};

struct TCacheStore {
  std::mutex Lock;
  TSlotTable<TVec> Vecs{"VecCache"};
  TSlotTable<TMtx> Mtxs{"MtxCache"};
  // Read by every vector and matrix size change, on any thread.
  std::atomic<std::int32_t> VecD{DefaultVecCacheLength};
  std::atomic<std::int32_t> MtxD{DefaultMtxCacheDim};
};

TCacheStore& Store() {
  static TCacheStore* const store = new TCacheStore;
  return *store;
}

void Presize(TVec& v, std::int32_t d) {
  v.Size(d, false);
  v.SetLength(0);
}

void Presize(TMtx& m, std::int32_t d) {
  m.Size(d, d, false);
  m.Size(0, 0, false);
}

void SetReserve(TSlotTable<TVec>&, std::int32_t d) { Store().VecD.store(d); }
void SetReserve(TSlotTable<TMtx>&, std::int32_t d) { Store().MtxD.store(d); }

// Frees the returned objects of a table and cuts loose those still out: their
// FreeIt will free them as plain objects.
template <class T>
void Release(TSlotTable<T>& t) {
  for (auto& slot : t.Slots) {
    if (slot.Used)
      slot.Object->SetCacheIndex(-1);
    else
      delete slot.Object;
  }
  t.Slots.clear();
  t.Scratch.clear();
  t.Count = 0;
  t.NextFree = 0;
  t.UsedCount = 0;
  t.Built = false;
}

template <class T>
void Build(TSlotTable<T>& t, std::int32_t count, std::int32_t d) {
  // Every slot is checked before any is freed, so a refusal leaves the table whole.
  for (std::int32_t i = 0; i < t.Count; ++i)
    if (t.Slots[static_cast<std::size_t>(i)].Used)
      RaiseError(std::string(t.Name) + "[" + std::to_string(i) + "] = Used");
  if (count < 0) RaiseError(std::string(t.Name) + ": Count < 0");
  if (d < 0) RaiseError(std::string(t.Name) + ": D < 0");

  Release(t);
  SetReserve(t, d);
  std::vector<typename TSlotTable<T>::TSlot> slots(static_cast<std::size_t>(count));
  try {
    for (std::int32_t i = 0; i < count; ++i) {
      auto object = new T();
      slots[static_cast<std::size_t>(i)].Object = object;
      Presize(*object, d);
      object->SetCacheIndex(i);
    }
  } catch (...) {
    for (auto& slot : slots) delete slot.Object;
    t.Built = true;  // an empty cache: takes fall back to plain objects
    throw;
  }
  t.Slots = std::move(slots);
  t.Scratch.assign(static_cast<std::size_t>(count), {});
  t.Count = count;
  t.D = d;
  t.Built = true;
}

void EnsureBuilt(TSlotTable<TVec>& t) {
  if (!t.Built) Build(t, DefaultVecCacheCount, DefaultVecCacheLength);
}

void EnsureBuilt(TSlotTable<TMtx>& t) {
  if (!t.Built) Build(t, DefaultMtxCacheCount, DefaultMtxCacheDim);
}

// Used objects move to the front in their former order, free ones fill the
// back in reverse order.
template <class T>
void Compact(TSlotTable<T>& t) {
  t.NextFree = 0;
  t.UsedCount = 0;
  t.Scratch = t.Slots;
  std::int32_t k = 1;
  for (const auto& record : t.Scratch) {
    std::int32_t slot;
    if (record.Used) {
      slot = t.NextFree++;
      ++t.UsedCount;
    } else {
      slot = t.Count - k++;
    }
    t.Slots[static_cast<std::size_t>(slot)] = record;
    record.Object->SetCacheIndex(slot);
  }
}

template <class T>
T* TakeOne(TSlotTable<T>& t) {
  EnsureBuilt(t);
  if (t.NextFree >= t.Count) {
    if (t.UsedCount >= t.Count) return new T();
    Compact(t);
  }
  auto& slot = t.Slots[static_cast<std::size_t>(t.NextFree)];
  slot.Used = true;
  ++t.NextFree;
  ++t.UsedCount;
  return slot.Object;
}

template <class T>
void ReturnOne(TSlotTable<T>& t, T*& object) {
  T* const o = object;
  object = nullptr;
  if (o == nullptr) return;
  const std::int32_t index = o->CacheIndex();
  if (index < 0 || index >= t.Count || t.Slots[static_cast<std::size_t>(index)].Object != o) {
    delete o;
    return;
  }
  auto& slot = t.Slots[static_cast<std::size_t>(index)];
  // Returned twice: it is back already, and counting it again would hand one
  // object to two users.
  if (!slot.Used) return;
  try {
    detail::TCacheAccess::Reset(*o);
  } catch (...) {
    // Only a failed re-allocation of the pre-size can land here; the object
    // is then empty and still valid, and FreeIt must not fail in a clean-up.
  }
  slot.Used = false;
  if (index == t.NextFree - 1) --t.NextFree;
  --t.UsedCount;
}

template <class T>
TSlotTable<T>& TableOf(TCacheStore& s);
template <>
TSlotTable<TVec>& TableOf<TVec>(TCacheStore& s) {
  return s.Vecs;
}
template <>
TSlotTable<TMtx>& TableOf<TMtx>(TCacheStore& s) {
  return s.Mtxs;
}

// Takes the objects in order under one lock; when a take fails, the ones
// already taken go back, so that no slot is lost to the exception.
template <class T>
void TakeAll(std::initializer_list<T**> targets) {
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  TSlotTable<T>& t = TableOf<T>(s);
  for (T** target : targets) *target = nullptr;
  try {
    for (T** target : targets) *target = TakeOne(t);
  } catch (...) {
    for (T** target : targets) ReturnOne(t, *target);
    throw;
  }
}

template <class T>
void ReturnAll(std::initializer_list<T**> targets) {
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  TSlotTable<T>& t = TableOf<T>(s);
  for (T** target : targets) ReturnOne(t, *target);
}

template <class T>
TCacheState StateOf() {
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  const TSlotTable<T>& t = TableOf<T>(s);
  return TCacheState{t.Count, t.D, t.NextFree, t.UsedCount};
}

}  // namespace

std::int32_t VecCacheLength() { return Store().VecD.load(std::memory_order_relaxed); }

std::int32_t MtxCacheDim() { return Store().MtxD.load(std::memory_order_relaxed); }

void InitNumora() {
  CreateNumoraReport();
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  EnsureBuilt(s.Vecs);
  EnsureBuilt(s.Mtxs);
}

void DoneNumora() {
  {
    TCacheStore& s = Store();
    std::lock_guard<std::mutex> guard(s.Lock);
    Release(s.Mtxs);
    Release(s.Vecs);
  }
  FreeNumoraReport();
}

void CreateVecCache(std::int32_t Count, std::int32_t D) {
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  Build(s.Vecs, Count, D);
}

void CreateMtxCache(std::int32_t Count, std::int32_t D) {
  TCacheStore& s = Store();
  std::lock_guard<std::mutex> guard(s.Lock);
  Build(s.Mtxs, Count, D);
}

TCacheState VecCacheState() { return StateOf<TVec>(); }
TCacheState MtxCacheState() { return StateOf<TMtx>(); }

void CreateIt(TVec*& V1) { TakeAll<TVec>({&V1}); }
void CreateIt(TVec*& V1, TVec*& V2) { TakeAll<TVec>({&V1, &V2}); }
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3) { TakeAll<TVec>({&V1, &V2, &V3}); }
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4) { TakeAll<TVec>({&V1, &V2, &V3, &V4}); }
void CreateIt(TMtx*& M1) { TakeAll<TMtx>({&M1}); }
void CreateIt(TMtx*& M1, TMtx*& M2) { TakeAll<TMtx>({&M1, &M2}); }
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3) { TakeAll<TMtx>({&M1, &M2, &M3}); }
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4) { TakeAll<TMtx>({&M1, &M2, &M3, &M4}); }

void FreeIt(TVec*& V1) { ReturnAll<TVec>({&V1}); }
void FreeIt(TVec*& V1, TVec*& V2) { ReturnAll<TVec>({&V1, &V2}); }
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3) { ReturnAll<TVec>({&V1, &V2, &V3}); }
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4) { ReturnAll<TVec>({&V1, &V2, &V3, &V4}); }
void FreeIt(TMtx*& M1) { ReturnAll<TMtx>({&M1}); }
void FreeIt(TMtx*& M1, TMtx*& M2) { ReturnAll<TMtx>({&M1, &M2}); }
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3) { ReturnAll<TMtx>({&M1, &M2, &M3}); }
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4) { ReturnAll<TMtx>({&M1, &M2, &M3, &M4}); }

}  // namespace numeric
