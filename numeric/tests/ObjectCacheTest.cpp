// Covers numeric/ObjectCache.cpp on one thread: take and return order,
// exhaustion, compaction, the reset of returned objects, rebuilding, the
// holder and finalisation. Concurrent use: ObjectCacheConcurrencyTest.cpp.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

using testutil::Raises;

// Every test starts from freshly built caches of the default sizes; a test
// that leaves a temporary out makes the next rebuild fail.
class ObjectCache : public testing::Test {
 protected:
  void SetUp() override {
    CreateVecCache(DefaultVecCacheCount, DefaultVecCacheLength);
    CreateMtxCache(DefaultMtxCacheCount, DefaultMtxCacheDim);
  }
  void TearDown() override {
    EXPECT_EQ(VecCacheState().UsedCount, 0);
    EXPECT_EQ(MtxCacheState().UsedCount, 0);
  }
};

TEST_F(ObjectCache, TakenVectorsArePreSizedAndFresh) {
  TVec* v = nullptr;
  CreateIt(v);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->CacheIndex(), 0);
  EXPECT_EQ(v->Length(), 0);
  EXPECT_EQ(v->Capacity(), 1024);
  EXPECT_FALSE(v->Complex());
  EXPECT_TRUE(v->ConditionCheck());
  const double* block = v->Values();
  v->SetLength(1024);
  EXPECT_EQ(v->Values(), block);  // no allocation up to the pre-size
  FreeIt(v);
  EXPECT_EQ(v, nullptr);

  TMtx* m = nullptr;
  CreateIt(m);
  EXPECT_EQ(m->ActualSize(), 1024);
  EXPECT_EQ(m->Rows(), 0);
  const double* mblock = m->Values();
  m->Size(32, 32, false);
  EXPECT_EQ(m->Values(), mblock);
  FreeIt(m);
}

TEST_F(ObjectCache, ExhaustionFallsBackToPlainObjects) {
  std::vector<TVec*> taken(33, nullptr);
  for (TVec*& v : taken) CreateIt(v);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(taken[static_cast<std::size_t>(i)]->CacheIndex(), i);
  EXPECT_EQ(taken[32]->CacheIndex(), -1);
  EXPECT_EQ(taken[32]->Capacity(), 0);  // plain: no block yet
  FreeIt(taken[32]);                      // freed, not kept
  EXPECT_EQ(VecCacheState().UsedCount, 32);
  EXPECT_EQ(VecCacheState().NextFree, 32);
  for (auto it = taken.rbegin() + 1; it != taken.rend(); ++it) FreeIt(*it);
  EXPECT_EQ(VecCacheState().NextFree, 0);

  std::vector<TMtx*> matrices(17, nullptr);
  for (TMtx*& m : matrices) CreateIt(m);
  EXPECT_EQ(matrices[15]->CacheIndex(), 15);
  EXPECT_EQ(matrices[16]->CacheIndex(), -1);
  for (TMtx*& m : matrices) FreeIt(m);
}

TEST_F(ObjectCache, ReturnOrderAndCompaction) {
  TVec *a, *b, *c, *d;
  CreateIt(a, b, c);
  EXPECT_EQ(c->CacheIndex(), 2);
  TVec* const aObject = a;
  FreeIt(a);
  CreateIt(d);
  EXPECT_EQ(d->CacheIndex(), 3);  // no compaction yet: the fourth slot
  EXPECT_EQ(VecCacheState().UsedCount, 3);

  std::vector<TVec*> rest(28, nullptr);
  for (TVec*& v : rest) CreateIt(v);
  EXPECT_EQ(VecCacheState().NextFree, 32);
  TVec* e = nullptr;
  CreateIt(e);  // the end is reached with a hole behind: compacts
  EXPECT_EQ(e, aObject);
  EXPECT_EQ(e->CacheIndex(), 31);
  EXPECT_EQ(b->CacheIndex(), 0);
  EXPECT_EQ(c->CacheIndex(), 1);
  EXPECT_EQ(d->CacheIndex(), 2);
  EXPECT_EQ(VecCacheState().NextFree, 32);
  EXPECT_EQ(VecCacheState().UsedCount, 32);

  FreeIt(b, c, d, e);
  for (TVec*& v : rest) FreeIt(v);
  EXPECT_EQ(VecCacheState().UsedCount, 0);
}

TEST_F(ObjectCache, ReverseReturnKeepsAStack) {
  TVec *a, *b;
  CreateIt(a, b);
  TVec* const aObject = a;
  FreeIt(b, a);
  EXPECT_EQ(VecCacheState().NextFree, 0);
  TVec* again = nullptr;
  CreateIt(again);
  EXPECT_EQ(again, aObject);
  FreeIt(again);
}

TEST_F(ObjectCache, ReturnedVectorComesBackClean) {
  TMtx owner;
  owner.Size(4, 4, false);
  TVec* v = nullptr;
  CreateIt(v);
  TVec* const object = v;
  v->Size(5000, true);
  v->SetCaption("scratch");
  v->SetConditionCheck(false);
  v->SetTag(7);
  v->SetSubRange(owner, 2, 4);
  FreeIt(v);

  CreateIt(v);
  ASSERT_EQ(v, object);
  EXPECT_FALSE(v->IsSubRange());
  EXPECT_FALSE(v->Complex());
  EXPECT_EQ(v->Length(), 0);
  EXPECT_EQ(v->Capacity(), 1024);
  EXPECT_NE(v->Values(), owner.Values() + 2);
  EXPECT_TRUE(v->ConditionCheck());
  EXPECT_EQ(v->Caption(), "");
  EXPECT_EQ(v->Tag(), 7);  // a take does not reset Tag (see CreateIt)
  FreeIt(v);
}

TEST_F(ObjectCache, ReturnedObjectsLoseTheirSizeHandlerWithoutFiringIt) {
  int calls = 0;
  TVec* v = nullptr;
  CreateIt(v);
  v->SetLength(10);
  v->SetOnSetSize([&](TVec&) { ++calls; });
  v->SetComplex(true);
  EXPECT_EQ(calls, 1);
  FreeIt(v);  // the reset changes kind and length: no call
  EXPECT_EQ(calls, 1);
  CreateIt(v);
  v->SetLength(3);
  EXPECT_FALSE(static_cast<bool>(v->OnSetSize()));
  EXPECT_EQ(calls, 1);
  FreeIt(v);

  TMtx* m = nullptr;
  CreateIt(m);
  m->SetOnSetSize([&](TMtx&) { ++calls; });
  m->Size(2, 2, true);
  const int beforeReturn = calls;
  FreeIt(m);
  CreateIt(m);
  m->Size(3, 3, false);
  EXPECT_EQ(calls, beforeReturn);
  FreeIt(m);
}

TEST_F(ObjectCache, ReturnedMatrixComesBackWithDefaults) {
  TMtx* m = nullptr;
  CreateIt(m);
  TMtx* const object = m;
  m->Size(40, 40, true);
  m->SetTriangleForm(tfLower);
  m->SetConditionNumber(cnNorm1);
  m->SetBalance(btNone);
  m->SetConditionCheck(false);
  m->SetAutoMtxType(true);
  m->SetEigGenType(etABz);
  m->SetRefineSolution(true);
  m->SetTriangleUnit(true);
  m->SetCaption("A");
  m->SetSubDiag(3);
  FreeIt(m);
  CreateIt(m);
  ASSERT_EQ(m, object);
  EXPECT_FALSE(m->Complex());
  EXPECT_EQ(m->Rows(), 0);
  EXPECT_EQ(m->ActualSize(), 1024);
  EXPECT_EQ(m->TriangleForm(), tfUpper);
  EXPECT_EQ(m->ConditionNumber(), cnNone);
  EXPECT_EQ(m->Balance(), btFull);
  EXPECT_TRUE(m->ConditionCheck());
  EXPECT_FALSE(m->AutoMtxType());
  EXPECT_EQ(m->EigGenType(), etAzBz);
  EXPECT_FALSE(m->RefineSolution());
  EXPECT_FALSE(m->TriangleUnit());
  EXPECT_EQ(m->Caption(), "");
  EXPECT_EQ(m->SubDiag(), 3);  // nor the band widths (see CreateIt)
  FreeIt(m);
}

TEST_F(ObjectCache, NullAndPlainObjects) {
  TVec* none = nullptr;
  FreeIt(none);
  TVec *a = nullptr, *b = nullptr;
  CreateIt(a);
  FreeIt(b, a);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(VecCacheState().UsedCount, 0);

  TVec* plain = new TVec;  // never from the cache: FreeIt frees it
  plain->SetLength(10);
  FreeIt(plain);
  EXPECT_EQ(plain, nullptr);
  EXPECT_EQ(VecCacheState().UsedCount, 0);
}

TEST_F(ObjectCache, ReturningTwiceDoesNotCountTwice) {
  TVec *a, *b;
  CreateIt(a, b);
  TVec* copy = a;
  FreeIt(a);
  FreeIt(copy);
  EXPECT_EQ(VecCacheState().UsedCount, 1);
  TVec *c, *d;
  CreateIt(c, d);
  EXPECT_NE(c, d);
  EXPECT_NE(c, b);
  EXPECT_NE(d, b);
  FreeIt(b, c, d);
}

TEST_F(ObjectCache, RebuildRefusedWhileASlotIsOut) {
  std::vector<TVec*> taken(6, nullptr);
  for (TVec*& v : taken) CreateIt(v);
  for (int i = 0; i < 5; ++i) FreeIt(taken[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(Raises([] { CreateVecCache(8, 256); }, "VecCache[5] = Used"));
  // Nothing was freed: every slot still works.
  std::vector<TVec*> again(5, nullptr);
  for (TVec*& v : again) {
    CreateIt(v);
    v->SetLength(1000);
  }
  for (TVec*& v : again) FreeIt(v);
  FreeIt(taken[5]);

  TMtx* m = nullptr;
  CreateIt(m);
  EXPECT_TRUE(Raises([] { CreateMtxCache(4, 8); }, "MtxCache[0] = Used"));
  FreeIt(m);
}

TEST_F(ObjectCache, RebuildWithOtherSizes) {
  CreateVecCache(2, 256);
  EXPECT_EQ(VecCacheLength(), 256);
  TVec *a, *b, *c;
  CreateIt(a, b, c);
  EXPECT_EQ(a->Capacity(), 256);
  EXPECT_EQ(c->CacheIndex(), -1);
  FreeIt(a, b, c);
  TVec plain;
  plain.SetLength(1);
  EXPECT_EQ(plain.Capacity(), 256);  // the pre-size is every vector's floor
  CreateVecCache(DefaultVecCacheCount, DefaultVecCacheLength);
  EXPECT_TRUE(Raises([] { CreateVecCache(-1, 10); }, "VecCache: Count < 0"));
}

TEST_F(ObjectCache, HolderReturnsOnEveryExit) {
  try {
    TCachedVec v;
    TCachedMtx m;
    v->SetLength(5);
    m->Size(2, 2, false);
    EXPECT_EQ(VecCacheState().UsedCount, 1);
    EXPECT_EQ(MtxCacheState().UsedCount, 1);
    RaiseError("failure in a computation");
  } catch (const classlib::Exception&) {
  }
  EXPECT_EQ(VecCacheState().UsedCount, 0);
  EXPECT_EQ(MtxCacheState().UsedCount, 0);
}

TEST_F(ObjectCache, FourAtOnceInArgumentOrder) {
  TVec *a, *b, *c, *d;
  CreateIt(a, b, c, d);
  EXPECT_EQ(a->CacheIndex(), 0);
  EXPECT_EQ(d->CacheIndex(), 3);
  FreeIt(d, c, b, a);
  TMtx *m1, *m2, *m3, *m4;
  CreateIt(m1, m2, m3, m4);
  EXPECT_EQ(m4->CacheIndex(), 3);
  FreeIt(m1, m2, m3, m4);
  // Returned in taking order: only the last one shrinks the stack, the rest are holes.
  EXPECT_EQ(MtxCacheState().NextFree, 3);
}

TEST_F(ObjectCache, FinalisationCutsLooseWhatIsStillOut) {
  TVec* out = nullptr;
  CreateIt(out);
  out->SetLength(10);
  DoneNumora();
  EXPECT_EQ(out->CacheIndex(), -1);
  EXPECT_EQ(VecCacheState().Count, 0);
  out->SetVal(1.0);  // still a valid vector
  FreeIt(out);       // freed as a plain one

  TVec* next = nullptr;
  CreateIt(next);  // the caches are built again on demand
  EXPECT_EQ(VecCacheState().Count, DefaultVecCacheCount);
  EXPECT_EQ(next->CacheIndex(), 0);
  FreeIt(next);
  InitNumora();  // already built: nothing changes
  EXPECT_EQ(VecCacheState().NextFree, 0);
}

}  // namespace
}  // namespace numeric
