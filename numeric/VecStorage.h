// The vector's storage: its fields, published properties and sizing
// primitives. The operations are TVec's (numeric/Vec.h).
//
// One block per vector, its first sample 32-byte aligned. The capacity never
// drops below the object cache's pre-sized length D (1024 real, 512 complex
// elements), so that cached temporaries are reused without reallocation.
// Behind the capacity there is always room for two more doubles: the FFT of
// an n-point real vector writes its half-rate bin there, just past the n/2
// complex values, before the bin is taken into the vector's own field.
//
// The half-rate bin of a spectrum. A real signal of n samples has n/2 + 1
// bins; the n/2 complex elements of its spectrum hold bins 0 .. n/2 - 1, and
// bin n/2 (half the sampling rate) travels beside them, known or unknown:
// - FFT of a real vector makes it known; SetHalfRateBin sets it.
// - Copy (and Assign, and the operations that copy a whole vector) carries
//   it as the source has it.
// - Operations with a number or of each element alone (Scale, Neg, Offset,
//   Conj, Inv, Sqr, Sqrt, Exp, Ln, Log10, LogN, Sin, Cos, Tan, ThreshBottom,
//   ThreshTop, Replace, the whole-vector SetVal and SetZero) apply the same
//   change to it.
// - Element-wise operations of two spectra (Add, Sub, Mul, Divide, ConjMul)
//   apply to the two half-rate bins when both are known.
// - Anything else leaves it unknown: an operation with a real vector,
//   resizing, a change of Complex, a window, range operations, sorting,
//   reordering, the complex FFT, and every write through the writable
//   Values() or CValues() (which cannot tell what was written; read through a
//   const vector to keep the bin).
// IFFTToReal of a spectrum whose half-rate bin is unknown raises.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "numeric/MathCore.h"
#include "numeric/NumoraBase.h"
#include "platform/classlib/Persistent.h"

namespace numeric {

class TMtx1;

// Fields, published properties and the sizing primitives of the vector. Only
// TVec is ever instantiated; TVec0 and TVec1 keep the class chain that the
// class registry reports.
class TVecs : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  ~TVecs() override;

  // properties
  std::int32_t Length() const { return FLength; }
  // Value < 0 raises "Value < 0" and a sub-range raises "IsSubRange = True!",
  // whatever ConditionCheck holds. The capacity becomes max(Value, D) (real)
  // or max(Value, D div 2) (complex); a change of capacity loses the values.
  void SetLength(std::int32_t Value);
  bool Complex() const { return FComplex; }
  // Reinterprets the same doubles: N real become N div 2 complex, N complex
  // become 2N real. Never reallocates; allowed on a sub-range.
  void SetComplex(bool Value);
  bool ConditionCheck() const { return FConditionCheck; }
  void SetConditionCheck(bool Value) { FConditionCheck = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t Value) { FTag = Value; }
  // Fired after every change of Length, Complex or sub-range state.
  const TVecNotifyEvent& OnSetSize() const { return FOnSetSize; }
  void SetOnSetSize(TVecNotifyEvent Value) { FOnSetSize = std::move(Value); }

  // storage
  bool IsSubRange() const { return FIsSubRange; }
  // Room in elements of the current kind (complex elements when Complex).
  std::int32_t Capacity() const { return FCapacity; }
  // Bytes of the sample block; 0 when there is none.
  std::int64_t BlockSize() const { return FBlockSize; }
  // Sets the capacity (rounded up to even). A change frees the old block and
  // loses the values; Length is cut to the new capacity.
  void SetActualLength(std::int32_t Value);
  // The first sample as doubles (real view) and as TCplx (complex view);
  // nullptr when the vector has no storage. A complex vector of Length N is
  // 2N doubles in the real view. The writable views make the half-rate bin
  // unknown.
  double* Values() {
    FHalfRateBinKnown = false;
    return FData;
  }
  const double* Values() const { return FData; }
  TCplx* CValues() { return reinterpret_cast<TCplx*>(Values()); }
  const TCplx* CValues() const { return reinterpret_cast<const TCplx*>(FData); }
  // Doubles covered by Length: Length, or 2 Length when complex.
  std::int32_t DoubleLength() const { return FComplex ? 2 * FLength : FLength; }

  // The half-rate bin of a spectrum (see the top of this file). Reading an
  // unknown one raises "HalfRateBin: the half-rate bin is unknown"; setting
  // one on a real vector raises "SetHalfRateBin: Complex = False".
  bool HalfRateBinKnown() const { return FHalfRateBinKnown; }
  TCplx HalfRateBin() const;
  void SetHalfRateBin(const TCplx& Value);

  // state kept for the FFT routines
  // Set by every change of Length; the FFT routines re-test for a power of two
  // while it is set, then clear it.
  bool SizeChanged() const { return FSizeChanged; }
  void SetSizeChanged(bool Value) { FSizeChanged = Value; }
  // log2 of Length as found by the last power-of-two test.
  std::int32_t FFTOrder() const { return FFFTOrder; }
  void SetFFTOrder(std::int32_t Value) { FFFTOrder = Value; }

  // Slot of the object cache that owns this vector; -1 for any other vector.
  // The cache renumbers the slots of vectors in use when it compacts, so the
  // field is atomic: the owner may read it on its own thread meanwhile.
  std::int32_t CacheIndex() const { return FCacheIndex.load(std::memory_order_relaxed); }
  void SetCacheIndex(std::int32_t Value) { FCacheIndex.store(Value, std::memory_order_relaxed); }

  // Per-vector (0, 0) and (1, 0), handed to the BLAS as coefficients.
  const TCplx& CZero() const { return FCZero; }
  const TCplx& COne() const { return FCOne; }

 protected:
  TVecs();
  friend struct detail::TCacheAccess;

  TVec& Self();
  void FireOnSetSize();
  // The minimum capacity for the current kind.
  std::int32_t MinCapacity() const;
  void ReleaseBlock();
  void RestoreConstants() {
    FCZero = C_ZERO;
    FCOne = C_ONE;
  }
  void ForgetHalfRateBin() { FHalfRateBinKnown = false; }
  // Points the vector at Data (a window's first sample, or the own block's).
  void SetData(double* Data) { FData = Data; }
  // Enters the window state onto Mtx's storage: the own sizes are saved
  // (unless already a window) and the matrix learns of the window, so that
  // resizing or destroying it ends the window. The caller sets the rest.
  void LinkWindow(TMtx1& Mtx);
  // Leaves the window state: back on the own block and sizes; Notify fires
  // OnSetSize. Nothing when not a window.
  void EndSubRange(bool Notify);

  // sample block
  void* FBlock = nullptr;          // as allocated
  double* FOwnData = nullptr;      // first sample of the own block
  std::int64_t FBlockSize = 0;
  std::int32_t FCapacity = 0;

  bool FSavedConditionCheck = true;
  std::int32_t FFFTOrder = 0;
  std::atomic<std::int32_t> FCacheIndex{-1};
  std::string FCaption;
  TVecNotifyEvent FOnSetSize;
  bool FIsSubRange = false;
  std::int32_t FTag = 0;
  bool FConditionCheck = true;
  std::int32_t FLength = 0;
  bool FComplex = false;
  bool FSizeChanged = true;
  // the matrix the vector is a window onto, and its own sizes meanwhile
  TMtx1* FWindowOf = nullptr;
  std::int32_t FSavedCapacity = 0;
  std::int32_t FSavedLength = 0;
  bool FSavedComplex = false;
  TCplx FCZero = C_ZERO;
  TCplx FCOne = C_ONE;

 private:
  friend class TMtx1;
  // Reached only through Values() and CValues(), whose writable forms make
  // the half-rate bin unknown: so does every operation that writes samples,
  // unless it states what became of the bin.
  double* FData = nullptr;  // first sample in use: own block or a window
  TCplx FHalfRateBin = C_ZERO;
  bool FHalfRateBinKnown = false;
};

class TVec0 : public TVecs {
  ORVEL_CLASS_INFO
 protected:
  TVec0() = default;
};

class TVec1 : public TVec0 {
  ORVEL_CLASS_INFO
 protected:
  TVec1() = default;
};

}  // namespace numeric
