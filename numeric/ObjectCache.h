// The object cache of temporary vectors and matrices: CreateIt/FreeIt, the
// scope holder TCached, the unit's start-up and finalisation, and the sizes
// the cache pre-sizes its objects to (also every object's minimum capacity).
//
// Any thread may call CreateIt/FreeIt; the cache takes one lock.
#pragma once

#include <cstdint>

#include "numeric/NumoraBase.h"

namespace numeric {

// The object cache's default sizes: slots and pre-sized dimension.
inline constexpr std::int32_t DefaultVecCacheCount = 32;
inline constexpr std::int32_t DefaultVecCacheLength = 1024;
inline constexpr std::int32_t DefaultMtxCacheCount = 16;
inline constexpr std::int32_t DefaultMtxCacheDim = 32;

// The pre-sized length D of the cached vectors, which is also every vector's
// minimum capacity (D real, D div 2 complex elements).
std::int32_t VecCacheLength();
// The pre-sized dimension D of the cached matrices; every matrix reserves D x D
// real (D x D div 2 complex) elements.
std::int32_t MtxCacheDim();

// Unit initialisation, called once at start-up: makes the unit's report
// (numeric/NumoraReport.h) and builds the vector and matrix caches at their
// default sizes. A process that never calls it still gets them: the first
// CreateIt builds the caches under the lock, the first Report() the report.
void InitNumora();
// Unit finalisation: frees every cached object that has been returned, then
// the report. Objects still out are cut loose from the cache (their FreeIt
// then frees them). A later CreateIt builds the caches anew.
void DoneNumora();

// Take one to four temporaries, in argument order, under one lock. Each comes
// out real and empty, ConditionCheck True, Caption empty and no OnSetSize
// handler; a matrix also gets its solver settings' defaults back and the
// results of its last solve cleared. Tag, and a matrix's SubDiag and
// SuperDiag, keep what the last user set. When the slots are exhausted a
// plain object is created.
void CreateIt(TVec*& V1);
void CreateIt(TVec*& V1, TVec*& V2);
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3);
void CreateIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4);
void CreateIt(TMtx*& M1);
void CreateIt(TMtx*& M1, TMtx*& M2);
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3);
void CreateIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4);

// Return them, in argument order, under one lock, and set the variables to
// nullptr; a nullptr is skipped. An object that is not a cache slot (cache
// index -1) is freed. A returned object loses its OnSetSize handler.
void FreeIt(TVec*& V1);
void FreeIt(TVec*& V1, TVec*& V2);
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3);
void FreeIt(TVec*& V1, TVec*& V2, TVec*& V3, TVec*& V4);
void FreeIt(TMtx*& M1);
void FreeIt(TMtx*& M1, TMtx*& M2);
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3);
void FreeIt(TMtx*& M1, TMtx*& M2, TMtx*& M3, TMtx*& M4);

// Rebuild a cache with Count slots pre-sized to D (matrices D x D). Raises
// "VecCache[<slot>] = Used" ("MtxCache[...]") while a slot is out.
void CreateVecCache(std::int32_t Count, std::int32_t D);
void CreateMtxCache(std::int32_t Count, std::int32_t D);

// The counters of one cache, read under the lock.
struct TCacheState {
  std::int32_t Count = 0;      // slots
  std::int32_t D = 0;          // pre-sized length (vectors) or dimension (matrices)
  std::int32_t NextFree = 0;   // slot of the next take while below Count
  std::int32_t UsedCount = 0;  // slots handed out and not returned
};
TCacheState VecCacheState();
TCacheState MtxCacheState();

// Holds one temporary from the cache for the life of a scope and returns it
// on exit, also when an exception leaves the scope:
//   TCached<TVec> tmp;
//   tmp->Size(n, false);
template <class T>
class TCached {
 public:
  TCached() { CreateIt(FObject); }
  ~TCached() { FreeIt(FObject); }
  TCached(const TCached&) = delete;
  TCached& operator=(const TCached&) = delete;

  T* operator->() const { return FObject; }
  T& operator*() const { return *FObject; }
  T* Get() const { return FObject; }

 private:
  T* FObject = nullptr;
};

using TCachedVec = TCached<TVec>;
using TCachedMtx = TCached<TMtx>;

}  // namespace numeric
