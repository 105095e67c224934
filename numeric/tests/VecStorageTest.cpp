// Covers numeric/VecStorage.cpp (and the copy and fill kernels of
// platform/spl/VectorKernels.cpp): sizing, the block layout and its reserve,
// reinterpretation, Resize, Copy/Assign, fills, sub-range windows, the
// size event and the published-property table.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

using testutil::Raises;

void Fill(TVec& v, double start) {
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i) v.Values()[i] = start + i;
}

bool Aligned32(const void* p) { return reinterpret_cast<std::uintptr_t>(p) % 32 == 0; }

TEST(VecStorage, CapacityFollowsLengthWithTheReserveFloor) {
  TVec v;
  EXPECT_EQ(v.Length(), 0);
  EXPECT_EQ(v.Capacity(), 0);
  EXPECT_EQ(v.Values(), nullptr);
  EXPECT_EQ(v.CacheIndex(), -1);

  v.SetLength(10);
  EXPECT_EQ(v.Capacity(), 1024);
  EXPECT_EQ(v.BlockSize(), (1024 + 2) * 8 + 40);
  EXPECT_TRUE(Aligned32(v.Values()));

  v.SetLength(2000);
  EXPECT_EQ(v.Capacity(), 2000);
  EXPECT_TRUE(Aligned32(v.Values()));
  v.SetLength(2001);
  EXPECT_EQ(v.Capacity(), 2002);  // always even

  v.SetLength(10);
  EXPECT_EQ(v.Capacity(), 1024);
  TVec c;
  c.Size(10, true);
  EXPECT_EQ(c.Capacity(), 512);
  EXPECT_EQ(c.BlockSize(), (512 + 2) * 16 + 40);
}

TEST(VecStorage, TwoDoublesPastTheCapacityBelongToTheBlock) {
  // The real FFT writes its Nyquist bin there; AddressSanitizer reports any
  // write outside the block.
  for (bool complex : {false, true}) {
    for (std::int32_t length : {1, 1024, 1025, 4099}) {
      TVec v;
      v.Size(length, complex);
      double* tail = v.Values() + (complex ? 2 : 1) * v.Capacity();
      tail[0] = 1.0;
      tail[1] = 2.0;
      EXPECT_EQ(tail[0] + tail[1], 3.0);
      // Still so after the kind is switched.
      v.SetComplex(!complex);
      double* switched = v.Values() + (v.Complex() ? 2 : 1) * v.Capacity();
      switched[0] = 3.0;
      switched[1] = 4.0;
      EXPECT_EQ(switched[1], 4.0);
    }
  }
}

TEST(VecStorage, ComplexReinterpretsTheSameDoubles) {
  TVec v;
  v.SetLength(5);
  Fill(v, 0.0);
  double* data = v.Values();
  v.SetFFTOrder(3);
  v.SetComplex(true);
  EXPECT_EQ(v.Length(), 2);
  EXPECT_EQ(v.Capacity(), 512);
  EXPECT_EQ(v.FFTOrder(), 2);
  EXPECT_EQ(v.Values(), data);
  EXPECT_EQ(v.CValues()[1].Re, 2.0);
  EXPECT_EQ(v.CValues()[1].Im, 3.0);
  v.SetComplex(false);
  EXPECT_EQ(v.Length(), 4);
  EXPECT_EQ(v.Capacity(), 1024);
  EXPECT_EQ(v.FFTOrder(), 3);
  EXPECT_EQ(v.Values()[3], 3.0);
}

TEST(VecStorage, LengthChangesRaiseWhateverConditionCheckHolds) {
  TVec v;
  v.SetConditionCheck(false);
  v.SetLength(3);
  EXPECT_TRUE(Raises([&] { v.SetLength(-1); }, "Value < 0"));
  EXPECT_TRUE(Raises([&] { v.SetActualLength(-1); }, "SetActualLength: Value < 0"));
  EXPECT_TRUE(Raises([&] { v.Resize(-1); }, "Value < 0"));
  EXPECT_EQ(v.Length(), 3);

  TMtx m;
  m.Size(4, 4, false);
  v.SetSubRange(m, 0, 4);
  EXPECT_TRUE(Raises([&] { v.SetLength(3); }, "IsSubRange = True!"));
  EXPECT_TRUE(Raises([&] { v.SetActualLength(2048); }, "IsSubRange = True!"));
  EXPECT_TRUE(Raises([&] { v.Resize(8); }, "IsSubRange = True!"));
}

TEST(VecStorage, LengthBeyondTheCountsIsRefusedBeforeAnythingChanges) {
  TVec v;
  v.SetLength(4);
  Fill(v, 1.0);
  EXPECT_TRUE(Raises([&] { v.SetLength(std::numeric_limits<std::int32_t>::max()); }, "Out of memory"));
  EXPECT_EQ(v.Length(), 4);
  EXPECT_EQ(v.Values()[3], 4.0);
  v.SetComplex(true);
  // 2^30 complex elements are 2^31 doubles: more than a 32-bit count holds.
  EXPECT_TRUE(Raises([&] { v.SetLength(1 << 30); }, "Out of memory"));
  EXPECT_EQ(v.Length(), 2);
}

TEST(VecStorage, SizeSetsTheKindBeforeTheLength) {
  TVec v;
  v.Size(600, true);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 600);
  EXPECT_EQ(v.DoubleLength(), 1200);
  EXPECT_EQ(v.Capacity(), 600);
  TVec w;
  w.Size(v);
  EXPECT_TRUE(w.Complex());
  EXPECT_EQ(w.Length(), 600);
}

TEST(VecStorage, ResizeKeepsValuesAndZeroesTheGrowth) {
  TVec v;
  v.SetLength(10);
  Fill(v, 1.0);
  v.Resize(3000, true);
  ASSERT_EQ(v.Length(), 3000);
  for (std::int32_t i = 0; i < 10; ++i) EXPECT_EQ(v.Values()[i], 1.0 + i);
  for (std::int32_t i = 10; i < 3000; ++i) ASSERT_EQ(v.Values()[i], 0.0) << i;
  v.Resize(5);
  ASSERT_EQ(v.Length(), 5);
  EXPECT_EQ(v.Capacity(), 1024);
  for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(v.Values()[i], 1.0 + i);

  // Growing inside the same block: the stale values behind Length are zeroed too.
  v.SetLength(20);
  v.SetVal(7.0);
  v.SetLength(10);
  v.Resize(20, true);
  for (std::int32_t i = 10; i < 20; ++i) EXPECT_EQ(v.Values()[i], 0.0) << i;

  TVec c;
  c.Size(3, true);
  Fill(c, 1.0);
  c.Resize(700, true);
  EXPECT_EQ(c.CValues()[2].Im, 6.0);
  EXPECT_EQ(c.CValues()[699].Re, 0.0);
}

TEST(VecStorage, ResizeFromSource) {
  TVec src, dst;
  src.Size(4, true);
  Fill(src, 1.0);
  dst.Resize(src, 6, true);
  EXPECT_TRUE(dst.Complex());
  EXPECT_EQ(dst.Length(), 6);
  EXPECT_EQ(dst.CValues()[3].Im, 8.0);
  EXPECT_EQ(dst.CValues()[5].Im, 0.0);
  dst.Resize(src, 2);
  EXPECT_EQ(dst.Length(), 2);
  EXPECT_EQ(dst.CValues()[1].Re, 3.0);
  // Resizing from itself keeps its values.
  src.Resize(src, 3000, true);
  EXPECT_EQ(src.CValues()[3].Re, 7.0);
  EXPECT_EQ(src.CValues()[2999].Re, 0.0);
}

TEST(VecStorage, CopyAndAssign) {
  TVec src, dst;
  src.Size(3, true);
  Fill(src, 10.0);
  src.SetCaption("spectrum");
  src.SetTag(42);
  src.SetConditionCheck(false);

  dst.SetLength(50);
  dst.Copy(src);
  EXPECT_TRUE(dst.Complex());
  EXPECT_EQ(dst.Length(), 3);
  EXPECT_EQ(dst.CValues()[2].Im, 15.0);
  EXPECT_EQ(dst.Caption(), "");
  EXPECT_TRUE(dst.ConditionCheck());

  TVec other;
  other.Assign(src);
  EXPECT_EQ(other.Caption(), "spectrum");
  EXPECT_EQ(other.Tag(), 42);
  EXPECT_FALSE(other.ConditionCheck());
  EXPECT_EQ(other.CValues()[0].Re, 10.0);

  dst.Copy(dst);
  EXPECT_EQ(dst.CValues()[1].Re, 12.0);
}

TEST(VecStorage, SetZeroAndSetVal) {
  TVec v;
  v.SetZero();
  v.SetVal(3.0);
  EXPECT_EQ(v.Length(), 0);

  v.SetLength(5);
  v.SetVal(2.5);
  for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(v.Values()[i], 2.5);
  v.SetZero();
  for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(v.Values()[i], 0.0);

  v.Size(3, true);
  v.SetVal(-1.0);
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(v.CValues()[i].Re, -1.0);
    EXPECT_EQ(v.CValues()[i].Im, 0.0);
  }
}

TEST(VecStorage, SuspendAndRestoreChecks) {
  TVec v;
  v.SuspendChecks();
  EXPECT_FALSE(v.ConditionCheck());
  v.RestoreChecks();
  EXPECT_TRUE(v.ConditionCheck());
}

class VecSubRange : public testing::Test {
 protected:
  void SetUp() override {
    m.Size(4, 4, false);
    std::iota(m.Values(), m.Values() + 16, 0.0);
    v.SetLength(7);
    Fill(v, 100.0);
  }
  TMtx m;
  TVec v;
};

TEST_F(VecSubRange, WindowToTheEndAndBack) {
  double* own = v.Values();
  v.SetSubRange(m, 12, -1);
  EXPECT_TRUE(v.IsSubRange());
  EXPECT_EQ(v.Length(), 4);
  EXPECT_EQ(v.Capacity(), 4);
  EXPECT_EQ(v.Values(), m.Values() + 12);
  EXPECT_TRUE(v.SizeChanged());
  v.Values()[0] = -1.0;  // writes through to the matrix
  EXPECT_EQ(m.Values()[12], -1.0);

  v.SetSizeChanged(false);
  v.SetFullRange();
  EXPECT_FALSE(v.IsSubRange());
  EXPECT_EQ(v.Length(), 7);
  EXPECT_EQ(v.Capacity(), 1024);
  EXPECT_EQ(v.Values(), own);
  EXPECT_EQ(v.Values()[6], 106.0);
  EXPECT_TRUE(v.SizeChanged());
  v.SetFullRange();  // not a window: nothing
  EXPECT_EQ(v.Length(), 7);
}

TEST_F(VecSubRange, WindowTakesTheMatrixKindAndMovesKeepingTheFirstSizes) {
  TMtx c;
  c.Size(2, 3, true);
  std::iota(c.Values(), c.Values() + 12, 0.0);
  v.SetSubRange(m, 0, 2);
  v.SetSubRange(c, 1, 4);
  EXPECT_TRUE(v.Complex());
  EXPECT_EQ(v.Length(), 4);
  EXPECT_EQ(v.CValues()[0].Re, 2.0);
  v.SetFullRange();
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(v.Length(), 7);
}

TEST_F(VecSubRange, RangeCheckIsGatedButStorageIsAlwaysGuarded) {
  EXPECT_TRUE(Raises([&] { v.SetSubRange(m, 12, 5); }, "(Index + Len) > Src.Length"));
  // Refused before any change.
  EXPECT_FALSE(v.IsSubRange());
  EXPECT_EQ(v.Length(), 7);
  EXPECT_EQ(v.Values()[0], 100.0);

  v.SetConditionCheck(false);
  v.SetSubRange(m, 12, 5);  // inside the matrix's block: accepted
  EXPECT_EQ(v.Length(), 5);
  v.SetFullRange();

  const std::string outside = "SetSubRange: window outside the matrix storage";
  EXPECT_TRUE(Raises([&] { v.SetSubRange(m, 1020, 5); }, outside));
  EXPECT_TRUE(Raises([&] { v.SetSubRange(m, -1, 2); }, outside));
  EXPECT_TRUE(Raises([&] { v.SetSubRange(m, 20, -1); }, outside));
  EXPECT_FALSE(v.IsSubRange());
}

// The window onto a 4 x 4 matrix that then grows: it used to keep reading
// the freed block. It ends instead, back on the vector's own (here: no) block.
TEST(VecSubRangeOfResizedMatrix, EndsInsteadOfReadingFreedStorage) {
  TMtx grown;
  TVec window;
  grown.Size(4, 4, false);
  window.SetSubRange(grown, 12, -1);
  const double* old = std::as_const(window).Values();
  grown.Size(64, 64, false);
  ASSERT_NE(grown.Values(), old) << "the matrix moved to a new block";
  EXPECT_FALSE(window.IsSubRange());
  EXPECT_EQ(window.Length(), 0);
  EXPECT_EQ(std::as_const(window).Values(), nullptr);
  EXPECT_TRUE(Raises([&] { window.GetValue(0); }, "Indx > Length-1"));
}

TEST_F(VecSubRange, EveryChangeOfTheMatrixEndsItsWindows) {
  int events = 0;
  v.SetOnSetSize([&](TVec&) { ++events; });
  const auto backOnOwnBlock = [&](const char* what) {
    EXPECT_FALSE(v.IsSubRange()) << what;
    EXPECT_FALSE(v.Complex()) << what;
    EXPECT_EQ(v.Length(), 7) << what;
    EXPECT_EQ(std::as_const(v).Values()[6], 106.0) << what;
  };
  // A shape within the same block ends it too: the window no longer stands
  // where its owner put it.
  v.SetSubRange(m, 12, -1);
  m.Size(2, 8, false);
  backOnOwnBlock("new shape");
  v.SetSubRange(m, 0, 4);
  m.SetComplex(true);
  backOnOwnBlock("new kind");
  v.SetSubRange(m, 0, 4);
  m.SetActualSize(4096);
  backOnOwnBlock("new capacity");
  EXPECT_EQ(events, 6) << "each window opened and ended once";

  // The same shape and kind change nothing.
  v.SetSubRange(m, 0, 4);
  m.Size(m.Rows(), m.Cols(), m.Complex());
  EXPECT_TRUE(v.IsSubRange());
  v.SetFullRange();

  // Destroyed first: the window ends without an event.
  events = 0;
  {
    TMtx gone;
    gone.Size(2, 2, false);
    v.SetSubRange(gone, 0, -1);
  }
  backOnOwnBlock("destroyed matrix");
  EXPECT_EQ(events, 1) << "only the opening";
}

TEST_F(VecSubRange, AWindowEndsWithItsVectorAndFollowsItsMatrix) {
  // A window destroyed first leaves nothing behind in its matrix.
  {
    TVec gone;
    gone.SetSubRange(m, 0, 4);
    TCachedVec cached;
    cached->SetSubRange(m, 4, 4);
  }
  m.Size(8, 8, false);

  // Moved to another matrix, the window belongs to that one only.
  TMtx other;
  other.Size(3, 3, false);
  v.SetSubRange(m, 0, 4);
  v.SetSubRange(other, 0, 9);
  m.Size(1, 1, false);
  EXPECT_TRUE(v.IsSubRange());
  EXPECT_EQ(std::as_const(v).Values(), other.Values());
  other.Size(1, 1, false);
  EXPECT_FALSE(v.IsSubRange());

  // The matrix's own handler may open the window again: it views the new
  // storage, since the old windows end before that handler runs.
  m.SetOnSetSize([&](TMtx& sender) { v.SetSubRange(sender, 0, -1); });
  m.Size(40, 40, false);
  EXPECT_TRUE(v.IsSubRange());
  EXPECT_EQ(std::as_const(v).Values(), m.Values());
  EXPECT_EQ(v.Length(), 1600);
  m.SetOnSetSize(nullptr);
}

TEST(VecStorage, OnSetSizeFiresAfterEverySizeOrKindChange) {
  TVec v;
  std::vector<std::int32_t> lengths;
  v.SetOnSetSize([&](TVec& sender) {
    EXPECT_EQ(&sender, &v);
    lengths.push_back(sender.Length());
  });
  v.SetLength(8);
  v.SetLength(8);  // no change, no event
  v.SetComplex(true);
  v.SetComplex(true);
  TMtx m;
  m.Size(2, 2, false);
  v.SetSubRange(m, 0, -1);
  v.SetFullRange();
  EXPECT_EQ(lengths, (std::vector<std::int32_t>{8, 4, 4, 4}));
}

TEST(VecStorage, PublishedPropertiesAndDefaults) {
  const classlib::TClassInfo& info = TVec::StaticClassInfo();
  std::vector<std::string> names;
  for (const classlib::TPropInfo* p : info.Properties()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Complex", "ConditionCheck", "Caption", "Length", "Tag"}));
  EXPECT_TRUE(info.InheritsFrom("TVecs"));
  EXPECT_TRUE(info.InheritsFrom("TVec1"));

  TVec v;
  classlib::SetPropValue(v, "Complex", true);
  classlib::SetPropValue(v, "Length", std::int64_t{3});
  classlib::SetPropValue(v, "Tag", std::int64_t{9});
  classlib::SetPropValue(v, "ConditionCheck", false);
  EXPECT_EQ(v.Length(), 3);
  EXPECT_TRUE(v.Complex());
  EXPECT_TRUE(info.FindProperty("ConditionCheck")->IsStored(v));
  classlib::ResetToDefaults(v);
  EXPECT_FALSE(v.Complex());
  EXPECT_EQ(v.Length(), 0);
  EXPECT_EQ(v.Tag(), 0);
  EXPECT_FALSE(v.ConditionCheck());  // no declared default: left alone

  std::unique_ptr<classlib::TPersistent> created(info.Create());
  EXPECT_NE(dynamic_cast<TVec*>(created.get()), nullptr);
}

TEST(VecStorage, IsExp2) {
  EXPECT_FALSE(IsExp2(0));
  EXPECT_FALSE(IsExp2(1));
  EXPECT_TRUE(IsExp2(2));
  EXPECT_TRUE(IsExp2(1 << 30));
  EXPECT_FALSE(IsExp2(12));
  EXPECT_FALSE(IsExp2(-4));
}

}  // namespace
}  // namespace numeric
