// TVec storage: fields and published properties, sizing, the aligned block,
// whole-vector copy and fill, and sub-range windows onto a matrix.
// Tested by: numeric/tests/VecStorageTest.cpp.
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>

#include "numeric/Numora.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

namespace {

constexpr std::int64_t kVecAlignment = 32;
// Bytes in front of the aligned data: at least 8 stand before the first
// sample, the rest is the alignment slack.
constexpr std::int64_t kVecBlockSlack = 40;
// Elements beyond the capacity, so that a real FFT may write its half-rate
// bin (two doubles) just past Length.
constexpr std::int64_t kVecReserve = 2;

std::int64_t VecRoundUpEven(std::int64_t value) { return value + (value & 1); }

}  // namespace

// ---------------------------------------------------------------------------
// TVecs

TVecs::TVecs() = default;

// A window only borrows the matrix's block, so destruction releases just the
// own one. OnSetSize is not fired: the owner may itself be half destroyed.
TVecs::~TVecs() {
  EndSubRange(false);
  ReleaseBlock();
}

void TVecs::LinkWindow(TMtx1& Mtx) {
  if (!FIsSubRange) {
    FSavedCapacity = FCapacity;
    FSavedLength = FLength;
    FSavedComplex = FComplex;
  }
  if (FWindowOf != &Mtx) {
    // A window moves from one matrix to another: only the new one may end it.
    if (FWindowOf != nullptr) std::erase(FWindowOf->FWindows, this);
    Mtx.FWindows.push_back(this);
    FWindowOf = &Mtx;
  }
  FIsSubRange = true;
  ForgetHalfRateBin();
}

void TVecs::EndSubRange(bool Notify) {
  if (!FIsSubRange) return;
  // Ended by the matrix, the window is already off its list.
  if (FWindowOf != nullptr) std::erase(FWindowOf->FWindows, this);
  FWindowOf = nullptr;
  SetData(FOwnData);
  ForgetHalfRateBin();
  FCapacity = FSavedCapacity;
  FLength = FSavedLength;
  FComplex = FSavedComplex;
  FIsSubRange = false;
  FSizeChanged = true;
  if (Notify) FireOnSetSize();
}

TVec& TVecs::Self() { return static_cast<TVec&>(*this); }

void TVecs::FireOnSetSize() {
  if (FOnSetSize) FOnSetSize(Self());
}

std::int32_t TVecs::MinCapacity() const {
  const std::int32_t d = VecCacheLength();
  return FComplex ? d / 2 : d;
}

void TVecs::ReleaseBlock() {
  std::free(FBlock);
  FBlock = nullptr;
  FOwnData = nullptr;
  FBlockSize = 0;
}

void TVecs::SetLength(std::int32_t Value) {
  if (Value < 0) RaiseError("Value < 0");
  if (Value == FLength) return;
  if (FIsSubRange) RaiseError("IsSubRange = True!");
  FSizeChanged = true;
  ForgetHalfRateBin();
  SetActualLength(std::max(Value, MinCapacity()));
  FLength = Value;
  FireOnSetSize();
}

void TVecs::SetComplex(bool Value) {
  if (Value == FComplex) return;
  FComplex = Value;
  ForgetHalfRateBin();
  if (Value) {
    FLength /= 2;
    FCapacity /= 2;
    FFFTOrder -= 1;
  } else {
    FLength *= 2;
    FCapacity *= 2;
    FFFTOrder += 1;
  }
  FireOnSetSize();
}

void TVecs::SetActualLength(std::int32_t Value) {
  // Compared after rounding: an odd request for the capacity already held
  // would otherwise reallocate and lose the values for nothing.
  if (Value >= 0 && VecRoundUpEven(Value) == FCapacity) return;
  if (FIsSubRange) RaiseError("IsSubRange = True!");
  if (Value < 0) RaiseError("SetActualLength: Value < 0");
  const std::int64_t capacity = VecRoundUpEven(Value);
  const std::int64_t doublesPerElement = FComplex ? 2 : 1;
  // Lengths are 32-bit counts of doubles in the kernels, also after a switch
  // from complex to real doubles the count.
  if ((capacity + kVecReserve) * doublesPerElement > std::numeric_limits<std::int32_t>::max())
    RaiseError("Out of memory");

  ReleaseBlock();
  FData = nullptr;
  FCapacity = 0;
  ForgetHalfRateBin();
  if (capacity > 0) {
    const std::int64_t bytes =
        (capacity + kVecReserve) * doublesPerElement * static_cast<std::int64_t>(sizeof(double)) + kVecBlockSlack;
    void* block = std::malloc(static_cast<std::size_t>(bytes));
    if (block == nullptr) {
      FLength = 0;
      RaiseError("Out of memory");
    }
    const auto address = reinterpret_cast<std::uintptr_t>(block) + kVecBlockSlack;
    FBlock = block;
    FOwnData = reinterpret_cast<double*>(address & ~static_cast<std::uintptr_t>(kVecAlignment - 1));
    FData = FOwnData;
    FBlockSize = bytes;
    FCapacity = static_cast<std::int32_t>(capacity);
  }
  if (FCapacity < FLength) FLength = FCapacity;
}

const classlib::TClassInfo& TVecs::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TVecs>("TVecs", TPersistent::StaticClassInfo())
          .Property("Complex", &TVecs::Complex, &TVecs::SetComplex, false)
          .Property("ConditionCheck", &TVecs::ConditionCheck, &TVecs::SetConditionCheck)
          .Property("Caption", &TVecs::Caption, &TVecs::SetCaption)
          .Property("Length", &TVecs::Length, &TVecs::SetLength, 0)
          .Property("Tag", &TVecs::Tag, &TVecs::SetTag, 0)
          .Build();
  return info;
}

const classlib::TClassInfo& TVec0::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TVec0>("TVec0", TVecs::StaticClassInfo()).Build();
  return info;
}

const classlib::TClassInfo& TVec1::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TVec1>("TVec1", TVec0::StaticClassInfo()).Build();
  return info;
}

const classlib::TClassInfo& TVec::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TVec>("TVec", TVec1::StaticClassInfo()).Creatable().Build();
  return info;
}

// ---------------------------------------------------------------------------
// TVec sizing

TVec& TVec::Size(std::int32_t Len, bool AComplex) {
  SetComplex(AComplex);
  SetLength(Len);
  return *this;
}

TVec& TVec::Size(const TVec& Src) { return Size(Src.Length(), Src.Complex()); }

TVec& TVec::Resize(std::int32_t Len, bool ZeroIt) {
  if (Len < 0) RaiseError("Value < 0");
  ForgetHalfRateBin();
  const std::int32_t oldLength = FLength;
  const std::int32_t kept = std::min(oldLength, Len);
  const std::int32_t doublesPerElement = FComplex ? 2 : 1;
  const bool keepsBlock = VecRoundUpEven(std::max(Len, MinCapacity())) == FCapacity;
  if (keepsBlock || FIsSubRange || kept == 0) {
    // The block stays (or nothing needs keeping): the values are where they were.
    SetLength(Len);
  } else {
    TCachedVec saved;
    saved->Size(kept, FComplex);
    spl::nspdbCopy(Values(), saved->Values(), kept * doublesPerElement);
    SetLength(Len);
    spl::nspdbCopy(saved->Values(), Values(), kept * doublesPerElement);
  }
  if (ZeroIt && Len > kept) spl::nspdbZero(Values() + kept * doublesPerElement, (Len - kept) * doublesPerElement);
  return *this;
}

TVec& TVec::Resize(const TVec& Src, std::int32_t Len, bool ZeroIt) {
  if (&Src == this) return Resize(Len, ZeroIt);
  Size(Len, Src.Complex());
  ForgetHalfRateBin();
  const std::int32_t kept = std::min(Src.Length(), Len);
  const std::int32_t doublesPerElement = FComplex ? 2 : 1;
  spl::nspdbCopy(Src.Values(), Values(), kept * doublesPerElement);
  if (ZeroIt && Len > kept) spl::nspdbZero(Values() + kept * doublesPerElement, (Len - kept) * doublesPerElement);
  return *this;
}

// ---------------------------------------------------------------------------
// TVec whole-vector copy and fill

TVec& TVec::Copy(const TVec& Src) {
  if (&Src == this) return *this;
  Size(Src);
  spl::nspdbCopy(Src.Values(), Values(), DoubleLength());
  if (Src.HalfRateBinKnown()) SetHalfRateBin(Src.HalfRateBin());
  return *this;
}

TVec& TVec::Assign(const TVec& Src) {
  FConditionCheck = Src.ConditionCheck();
  FCaption = Src.Caption();
  FTag = Src.Tag();
  return Copy(Src);
}

TVec& TVec::SetZero() {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FLength > 0) spl::nspdbZero(Values(), DoubleLength());
  return CarryHalfRateBin(bin, bin, [](TVec& out, const TVec&, const TVec&) { out.SetZero(); });
}

TVec& TVec::SetVal(double Value) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FLength > 0) {
    if (FComplex)
      spl::nspzbSet(spl::DCplx{Value, 0.0}, reinterpret_cast<spl::DCplx*>(Values()), FLength);
    else
      spl::nspdbSet(Value, Values(), FLength);
  }
  return CarryHalfRateBin(bin, bin, [Value](TVec& out, const TVec&, const TVec&) { out.SetVal(Value); });
}

void TVec::SuspendChecks() {
  FSavedConditionCheck = FConditionCheck;
  FConditionCheck = false;
}

void TVec::RestoreChecks() { FConditionCheck = FSavedConditionCheck; }

// ---------------------------------------------------------------------------
// TVec sub-range windows

TVec& TVec::SetSubRange(TMtx& Mtx, std::int32_t Index, std::int32_t Len) {
  const std::int64_t n = static_cast<std::int64_t>(Mtx.Rows()) * Mtx.Cols();
  const std::int64_t len = Len < 0 ? n - Index : Len;
  // Every check comes before any change, so that a refused window leaves the
  // vector as it was.
  if (FConditionCheck && Index + len > n) RaiseError("(Index + Len) > Src.Length");
  if (Index < 0 || len < 0 || Index + len > Mtx.ActualSize())
    RaiseError("SetSubRange: window outside the matrix storage");

  LinkWindow(Mtx);
  FComplex = Mtx.Complex();
  SetData(Mtx.Values() == nullptr ? nullptr : Mtx.Values() + static_cast<std::ptrdiff_t>(Index) * (FComplex ? 2 : 1));
  FCapacity = static_cast<std::int32_t>(len);
  FLength = static_cast<std::int32_t>(len);
  // The length changed under the FFT routines' feet: make them test it again.
  FSizeChanged = true;
  FireOnSetSize();
  return *this;
}

TVec& TVec::SetFullRange() {
  EndSubRange(true);
  return *this;
}

bool IsExp2(std::int32_t N) { return N >= 2 && (N & (N - 1)) == 0; }

}  // namespace numeric
