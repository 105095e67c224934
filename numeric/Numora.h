// Numora: the vector TVec, the matrix TMtx, and the object cache of temporary
// vectors and matrices (CreateIt/FreeIt and the TCached holder).
//
// Storage (vectors and matrices alike): one block per object, the first sample
// 32-byte aligned. A vector's capacity never drops below the cache's pre-sized
// length D (1024 real, 512 complex elements) and a matrix's below D x D
// (32 x 32), so that cached temporaries are reused without reallocation.
// Behind the capacity there is always room for two more doubles (vectors) or
// four more elements (matrices): the FFT of an n-point real vector writes its
// Nyquist bin there, just past the n/2 complex values.
//
// Errors raise classlib::Exception through RaiseError with literal texts.
// Checks that keep memory in range are made always; ConditionCheck governs
// only the argument checks documented as gated.
//
// Threads: any thread may call CreateIt/FreeIt; the cache takes one lock. A
// vector or matrix belongs to the thread that uses it and is not locked.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "numeric/MathCore.h"
#include "platform/classlib/Persistent.h"
// transforms, statistics and random numbers: the per-vector generator states
#include "platform/spl/Goertzel.h"
#include "platform/spl/Random.h"

namespace numeric {

class TVec;
class TMtx;

namespace detail {
// The object cache's access to what a returned object must have restored.
struct TCacheAccess;
}  // namespace detail

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

// True when N is 2 or a larger power of two.
bool IsExp2(std::int32_t N);

using TVecNotifyEvent = std::function<void(TVec& Sender)>;
using TMtxNotifyEvent = std::function<void(TMtx& Sender)>;

// ---------------------------------------------------------------------------
// Vectors

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
  // 2N doubles in the real view.
  double* Values() { return FData; }
  const double* Values() const { return FData; }
  TCplx* CValues() { return reinterpret_cast<TCplx*>(FData); }
  const TCplx* CValues() const { return reinterpret_cast<const TCplx*>(FData); }
  // Doubles covered by Length: Length, or 2 Length when complex.
  std::int32_t DoubleLength() const { return FComplex ? 2 * FLength : FLength; }

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

  // sample block
  void* FBlock = nullptr;          // as allocated
  double* FOwnData = nullptr;      // first sample of the own block
  double* FData = nullptr;         // first sample in use: own block or a window
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
  // own sizes, kept while the vector is a window
  std::int32_t FSavedCapacity = 0;
  std::int32_t FSavedLength = 0;
  bool FSavedComplex = false;
  TCplx FCZero = C_ZERO;
  TCplx FCOne = C_ONE;
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

// The vector of the numeric core: real or complex doubles. Operations change
// the vector they are called on and return it.
class TVec : public TVec1 {
  ORVEL_CLASS_INFO
 public:
  TVec() = default;

  // operations

  // Sets Complex, then Length, so that the length counts elements of the new kind.
  TVec& Size(std::int32_t Len, bool AComplex);
  TVec& Size(const TVec& Src);
  // Changes Length keeping the first min(Length, Len) elements; with ZeroIt
  // the added elements are 0.
  TVec& Resize(std::int32_t Len, bool ZeroIt = false);
  // Size(Len, Src.Complex) and the first min(Src.Length, Len) elements of Src;
  // with ZeroIt the rest is 0.
  TVec& Resize(const TVec& Src, std::int32_t Len, bool ZeroIt = false);
  // Takes the kind, length and values of Src.
  TVec& Copy(const TVec& Src);
  // ConditionCheck, Caption and Tag of Src, then its values as Copy does.
  using TPersistent::Assign;
  TVec& Assign(const TVec& Src);
  TVec& SetZero();
  // Every element := Value ((Value, 0) when complex).
  TVec& SetVal(double Value);
  // Saves ConditionCheck and turns it off; RestoreChecks brings it back.
  void SuspendChecks();
  void RestoreChecks();

  // Makes the vector a window onto Len elements of Mtx's storage from Index
  // (Len < 0: to the end), of Mtx's kind. While it is one, resizing raises
  // "IsSubRange = True!". Mtx must outlive the window and keep its size.
  // With ConditionCheck, Index + Len > Rows*Cols raises
  // "(Index + Len) > Src.Length"; a window outside Mtx's storage is refused
  // always. The doubles just past a window are the matrix's next elements,
  // not a reserve of the window's own.
  TVec& SetSubRange(TMtx& Mtx, std::int32_t Index, std::int32_t Len = -1);
  // Returns to the vector's own block and sizes; nothing when not a window.
  TVec& SetFullRange();

  // ---- transforms, statistics, mathematical functions, fills and random numbers ----
  // (implemented in VecTransforms.cpp, VecStatistics.cpp, VecMathFunctions.cpp,
  // VecRangeStatistics.cpp, VecFill.cpp and VecRandom.cpp)

 private:
  // The Goertzel filter's state, read as real or complex by Complex.
  spl::GoertzState FGoertzState;
  // The generators, made on first use (a generator state is kilobytes that
  // most vectors never need), and the parameters and seeds they were last
  // set up with.
  std::unique_ptr<spl::RandGausState> FGausState;
  std::unique_ptr<spl::RandUniState> FUniState;
  bool FUniInitialized = false;
  bool FGausInitialized = false;
  double FRandLow = 0.0;
  double FRandHigh = 0.0;
  double FUniSeed = 0.0;
  double FGausSeed = 0.0;
  spl::RandUniState& UniState();
  spl::RandGausState& GausState();
  // Count values from the generator into the start of the vector; the
  // generator has been set up.
  void DrawUniform(std::int32_t Count);
  void DrawGauss(std::int32_t Count);

 public:

  // Fourier transforms. Lengths are powers of two (2 or more); others raise
  // "Length is not power of two!". Forward transforms are unscaled with
  // exp(-2 pi i jk/n); inverses use exp(+2 pi i jk/n) and divide by n unless
  // NoScale. A real signal of n samples gives the n/2 complex bins 0 .. n/2-1
  // as Length, and bin n/2 (half the sampling rate) in the two-double reserve
  // just past them; a window onto a matrix has no reserve of its own, so
  // there the half-rate bin is not kept.
  // In place: a complex vector keeps its kind; a real one becomes complex.
  TVec& FFT();
  // Self := the transform of Vec (Self = Vec raises "Self = Vec").
  TVec& FFT(const TVec& Vec);
  // Self := the inverse transform of the complex Vec.
  TVec& IFFT(const TVec& Vec, bool NoScale = false);
  // Self := the 2n real samples whose spectrum bins 0 .. n-1 the complex Vec
  // holds (real layout as FFT gives it); bin n is read from Vec's reserve,
  // and taken as 0 when Vec is a window onto a matrix.
  TVec& IFFTToReal(const TVec& Vec, bool NoScale = false);
  // Orthonormal cosine transform of the real Vec (type II) and its inverse
  // (type III), of any length.
  TVec& DCT(const TVec& Vec);
  TVec& IDCT(const TVec& Vec);
  // Self := X * H, X.Length + H.Length - 1 values, complex when either is.
  TVec& Convolve(const TVec& X, const TVec& H);
  // Lags 0 .. Lags-1 of sum conj(v[k]) v[k+lag], divided by Length (biased),
  // by Length - lag (unbiased) or not at all (normal).
  TVec& AutoCorrBiased(const TVec& Vec, std::int32_t Lags);
  TVec& AutoCorrNormal(const TVec& Vec, std::int32_t Lags);
  TVec& AutoCorrUnBiased(const TVec& Vec, std::int32_t Lags);
  // Lags LoLag .. HiLag of sum conj(Vec1[k]) Vec2[k+lag].
  TVec& CrossCorr(const TVec& Vec1, const TVec& Vec2, std::int32_t HiLag, std::int32_t LoLag);
  // Self := Src[Phase + i Factor] for every such index below Src.Length.
  TVec& DownSample(const TVec& Src, std::int32_t Factor, std::int32_t Phase = 0);
  // Self[i] := Vec[i+1] - Vec[i].
  TVec& Difference(const TVec& Vec);
  // The single-frequency filter kept in the vector: Freq in cycles per sample,
  // below 0.5 for a real vector and below 1 for a complex one.
  TVec& GoertzInit(double Freq);
  TVec& GoertzReset();
  // The transform of the whole vector at the GoertzInit frequency, referenced
  // one sample past the end: sum x[j] exp(-2 pi i f (j - Length)). An empty
  // vector gives (0, 0).
  TCplx Goertz();

  // Statistics (values read as real numbers; a complex vector raises
  // "Complex = True" where a real result is meant).
  // Root mean square over the whole vector or a range; complex elements
  // count with their magnitude, sqrt(sum |z|^2 / Len). An empty range gives NAN.
  double RMS() const;
  double RMS(std::int32_t Index, std::int32_t Len) const;
  // Sample standard deviation around Mean: 0 when empty, NAN for one element.
  double StdDev(double Mean) const;
  // Fourth and third moments around Mean in units of StdDev (no 3 subtracted).
  double Kurtosis(double Mean, double StdDev) const;
  double Skewness(double Mean, double StdDev) const;
  // Product of all elements, left to right; 1 when empty.
  void Product(double& X) const;
  void CProduct(TCplx& Z) const;
  // Dot products of ALength elements from Index (Self) and VecIndex (Vec);
  // ALength = -1: the shorter length.
  double DotProd(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t ALength) const;
  TCplx DotProdC(const TVec& Vec, bool Conj, std::int32_t VecIndex, std::int32_t Index,
                 std::int32_t ALength) const;
  // Ascending in place; complex elements by magnitude, then phase.
  TVec& SortAscend(std::int32_t Index, std::int32_t Len);
  TVec& SortAscend();
  // Median of Len elements from Index (Len = -1: to the end); NAN when empty.
  double Median(std::int32_t Index, std::int32_t Len = -1) const;

  // Range statistics.
  double Mean() const;
  void Mean(double& AMean, std::int32_t Index, std::int32_t Len) const;
  double Sum() const;
  void Sum(double& ASum, std::int32_t Index, std::int32_t Len) const;
  void Product(double& AProduct, std::int32_t Index, std::int32_t Len) const;
  double RealRMS(std::int32_t Index, std::int32_t Len) const;
  double NormL2() const;
  double Max() const;
  double Min() const;
  // The first position of the extreme.
  void MaxIdx(double& AMax, std::int32_t& AIndex) const;
  void MinIdx(double& AMin, std::int32_t& AIndex) const;
  void MaxIdx(double& AMax, std::int32_t& AIndex, std::int32_t Index, std::int32_t Len) const;
  void MinIdx(double& AMin, std::int32_t& AIndex, std::int32_t Index, std::int32_t Len) const;
  void CMean(TCplx& AMean, std::int32_t Index, std::int32_t Len) const;
  void CMean(TCplx& AMean) const;
  void CSum(TCplx& ASum) const;
  // Position and value of the complex element of largest (smallest)
  // magnitude; equal magnitudes go to the largest (smallest) phase angle.
  std::int32_t MaxMag(TCplx& AValue, std::int32_t Index, std::int32_t Len) const;
  std::int32_t MinMag(TCplx& AValue, std::int32_t Index, std::int32_t Len) const;

  // Mathematical functions, element-wise.
  TVec& Log10();
  // Logarithm to the base N; N = 0 raises "N = 0".
  TVec& LogN(double N);
  TVec& Sin(const TVec& X, std::int32_t XIndex, std::int32_t Index, std::int32_t Len);
  TVec& Sin(const TVec& X);
  TVec& Sin();
  TVec& Cos(const TVec& X, std::int32_t XIndex, std::int32_t Index, std::int32_t Len);
  TVec& Cos();
  TVec& Tan(const TVec& X);
  TVec& Tan();
  // Self[Index+i] := (cos w, sin w) for the real angles w of Omega.
  TVec& Expj(const TVec& Omega, std::int32_t OmegaIndex, std::int32_t Index, std::int32_t Len);
  TVec& Expj(const TVec& Omega);

  // Fills.
  // Every element := Value (the real part on a real vector).
  TVec& SetVal(const TCplx& Value);
  TVec& SetCplxArray(std::span<const TCplx> A);
  // Element i := Offset + i Step, over the vector or Len elements from Index.
  TVec& Ramp(double Offset, double Step);
  TVec& Ramp(double Offset, double Step, std::int32_t Index, std::int32_t Len);
  // The real angles x become the unit phasors (cos x, sin x).
  TVec& Expj();

  // Random numbers: each vector carries a uniform and a Gaussian generator
  // that continue their sequence while the parameters stay the same.
  TVec& RandUniform(double Low, double High);
  TVec& RandUniform(double Seed, double Low, double High);
  TVec& RandUniform();
  TVec& RandGauss(double Mean, double StdDev);
  TVec& RandGauss(double Seed, double Mean, double StdDev);
  TVec& RandGauss();
  // The next call of each generator starts a fresh sequence.
  void ResetRandom();

  // ---- end of transforms, statistics, mathematical functions, fills and random numbers ----

  // ---- arithmetic, complex parts, element access and ranges ----
  // (implemented in VecArithmetic.cpp, VecComplexParts.cpp and VecElements.cpp)
  //
  // Where real and complex operands may be mixed, the result is complex and
  // the real operand counts with zero imaginary parts. Checks said to be
  // gated run only while ConditionCheck is set; whether a window lies in the
  // vectors' memory is checked always, and reported with the same message.

  // Arithmetic with Self as the left operand.
  // Self := Self + Factor Vec. A factor other than (1, 0) needs Vec of
  // Self's kind; a real vector uses only FactorRe.
  TVec& Add(const TVec& Vec, double FactorRe = 1.0, double FactorIm = 0.0);
  TVec& Sub(const TVec& Vec);
  TVec& Mul(const TVec& Vec);
  // Self := Self / Vec through the reciprocals of Vec, each element smaller
  // than Threshold taken as one of that size.
  TVec& Divide(const TVec& Vec, double Threshold);
  // Self := Self / Vec; a zero divides to an infinity or NaN.
  TVec& Divide(const TVec& Vec);

  // Results into Self, sized to the operands.
  TVec& Add(const TVec& Vec1, const TVec& Vec2);
  TVec& Sub(const TVec& Vec1, const TVec& Vec2);
  TVec& Mul(const TVec& Vec1, const TVec& Vec2);
  // Self := Vec1 conj(Vec2).
  TVec& ConjMul(const TVec& Vec1, const TVec& Vec2);
  TVec& Divide(const TVec& Vec1, const TVec& Vec2, double Threshold);
  // Self := 1 / Vec with the threshold of Divide; Vec may be Self.
  TVec& Inv(const TVec& Vec, double Threshold);
  // Self := |Vec|, real.
  TVec& Abs(const TVec& Vec);
  TVec& Sqr(const TVec& Vec);
  // Principal square roots; a negative real gives NaN.
  TVec& Sqrt(const TVec& Vec);

  // In place.
  TVec& Scale(double Factor);
  // A real vector becomes complex, also for the factor (1, 0).
  TVec& Scale(const TCplx& Factor);
  TVec& Neg();
  // Adds Value to the real parts.
  TVec& Offset(double Value);
  // The complex threshold is compared with the squared magnitudes.
  TVec& Inv(double Threshold);
  // |x| of Len elements from Index (Len = -1: to the end). A complex vector
  // is taken whole only, and becomes real.
  TVec& Abs(std::int32_t Index = 0, std::int32_t Len = -1);
  TVec& Conj();
  TVec& Sqr();
  TVec& Sqrt();
  TVec& Exp();
  TVec& Ln();
  // Raises values below Value to it (complex: magnitudes, phases kept).
  TVec& ThreshBottom(double Value);
  // Lowers values above Value to it (complex: magnitudes, phases kept).
  TVec& ThreshTop(double Value);
  // Elements equal to Value within Tolerance become NewValue; a NaN Value
  // matches every NaN, an infinite one every infinity. Complex elements
  // match with a zero imaginary part and become (NewValue, 0).
  TVec& Replace(double Value, double NewValue, double Tolerance);
  TVec& Reverse();
  // Element i moves to (i + Offset) mod Length.
  TVec& Rotate(std::int32_t Offset);

  // Fills and copies over a range: Len elements from Index.
  TVec& SetVal(double Value, std::int32_t Index, std::int32_t Len);
  TVec& SetVal(const TCplx& Value, std::int32_t Index, std::int32_t Len);
  TVec& SetZero(std::int32_t Index, std::int32_t Len);
  // Self is not resized.
  TVec& Copy(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  // All elements of Mtx in row order.
  TVec& CopyFromMtx(const TMtx& Mtx);
  // Makes the vector real (complex) of N1 + N2 + N3 + N4 elements and points
  // P1 .. P4 at four consecutive areas of those sizes.
  void RealWorkAreas(std::int32_t N1, std::int32_t N2, std::int32_t N3, std::int32_t N4, double*& P1,
                     double*& P2, double*& P3, double*& P4);
  void CplxWorkAreas(std::int32_t N1, std::int32_t N2, std::int32_t N3, std::int32_t N4, TCplx*& P1,
                     TCplx*& P2, TCplx*& P3, TCplx*& P4);

  // Complex parts: Self becomes real of Vec's length.
  TVec& Mag(const TVec& Vec);
  TVec& ImagPart(const TVec& Vec);
  // Angles in (-pi, pi].
  TVec& Phase(const TVec& Vec);
  // A real Vec is copied whole.
  TVec& RealPart(const TVec& Vec);
  // re^2 + im^2; an empty Vec gives an empty real Self.
  TVec& PowerSpectrum(const TVec& Vec);
  // Magnitudes and angles of the complex Self into two real vectors.
  TVec& CartToPolar(TVec& AmpltVec, TVec& PhaseVec);
  // Self := (ReVec[i], ImVec[i]), both read as real values; they may be one vector.
  TVec& RealToCplx(const TVec& ReVec, const TVec& ImVec);
  TVec& CplxToReal(TVec& ReVec, TVec& ImVec);
  // A real vector becomes complex: (x, 0) with ZeroIm, else (x, x).
  TVec& ExtendToComplex(bool ZeroIm);
  TVec& ExtendToComplex(const TVec& Src, bool ZeroIm);

  // Element access. Indx addresses the doubles (of a complex vector too).
  double GetValue(std::int32_t Indx) const;
  void SetValue(std::int32_t Indx, double Value);
  // The k-th diagonal of Mtx: above the main one for k > 0, below for k < 0.
  TVec& Diag(const TMtx& Mtx, std::int32_t k);
  // Len elements of row Row from column Col into Self from Index (not resized).
  TVec& GetRow(const TMtx& Mtx, std::int32_t Row, std::int32_t Col, std::int32_t Index, std::int32_t Len);
  TVec& GetRow(const TMtx& Mtx, std::int32_t Row);
  TVec& Concat(const TVec& Vec1, const TVec& Vec2);
  // Element i := i.
  TVec& Ramp();
  // Complex: pairs of A (an odd last value is ignored).
  TVec& SetIt(bool AComplex, std::span<const double> A);

  // Range operations: Self[Index + i] with Vec[VecIndex + i], i < Len.
  // |Vec| into the real values of Self from Index.
  TVec& Mag(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Abs(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Sqr(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Mul(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Sub(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Add(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len, double FactorRe = 1.0,
            double FactorIm = 0.0);
  // Self[Index + i] := Self[Index + i] conj(Vec[VecIndex + i]); Vec is not changed.
  TVec& ConjMul(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  // Self[Index + i] := Vec[VecIndex + Len - 1 - i].
  TVec& Reverse(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len);
  TVec& Mul(const TVec& Vec1, const TVec& Vec2, std::int32_t Vec1Index, std::int32_t Vec2Index, std::int32_t Index,
            std::int32_t Len);
  TVec& Scale(double Factor, std::int32_t Index, std::int32_t Len);
  TVec& Scale(const TCplx& Factor, std::int32_t Index, std::int32_t Len);
  TVec& Offset(double Value, std::int32_t Index, std::int32_t Len);
  TVec& Offset(const TCplx& Value, std::int32_t Index, std::int32_t Len);

  // ---- end of arithmetic, complex parts, element access and ranges ----
};

// ---------------------------------------------------------------------------
// Matrices

enum TBalanceType : std::uint8_t { btNone, btScale, btPerm, btFull };
enum TConditionNumber : std::uint8_t { cnNone, cnNorm1, cnNormInf };
enum TEigGenType : std::uint8_t { etAzBz, etABz, etBAz };
enum TTriangleForm : std::uint8_t { tfLower, tfUpper };
// The structure of a matrix given to the solver, products, inverse and
// eigenvalue routines.
enum TMtxType : std::uint8_t {
  mtSymmPosDef,
  mtSymmetric,
  mtHermPosDef,
  mtHermitian,
  mtTriangle,
  mtGeneral,
  mtBandSymmPosDef,
  mtBandHermPosDef,
  mtBandGeneral
};

// Fields, published properties and sizing of the matrix; only TMtx is
// instantiated. Values are stored by rows: element (i, j) is value i*Cols + j.
class TMtx1 : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  ~TMtx1() override;

  // properties
  bool AutoMtxType() const { return FAutoMtxType; }
  void SetAutoMtxType(bool Value) { FAutoMtxType = Value; }
  TBalanceType Balance() const { return FBalance; }
  void SetBalance(TBalanceType Value) { FBalance = Value; }
  bool ConditionCheck() const { return FConditionCheck; }
  void SetConditionCheck(bool Value) { FConditionCheck = Value; }
  std::int32_t Cols() const { return FCols; }
  void SetCols(std::int32_t Value);
  bool Complex() const { return FComplex; }
  // Reinterprets the same doubles: a real row [a, b, c, d] becomes the complex
  // row [(a, b), (c, d)]; Cols and the capacity halve (or double).
  void SetComplex(bool Value);
  TConditionNumber ConditionNumber() const { return FConditionNumber; }
  void SetConditionNumber(TConditionNumber Value) { FConditionNumber = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TEigGenType EigGenType() const { return FEigGenType; }
  void SetEigGenType(TEigGenType Value) { FEigGenType = Value; }
  bool RefineSolution() const { return FRefineSolution; }
  // Also clears both error bounds of the last refined solution.
  void SetRefineSolution(bool Value);
  std::int32_t Rows() const { return FRows; }
  void SetRows(std::int32_t Value);
  std::int32_t SuperDiag() const { return FSuperDiag; }
  void SetSuperDiag(std::int32_t Value) { FSuperDiag = Value; }
  std::int32_t SubDiag() const { return FSubDiag; }
  void SetSubDiag(std::int32_t Value) { FSubDiag = Value; }
  TTriangleForm TriangleForm() const { return FTriangleForm; }
  void SetTriangleForm(TTriangleForm Value) { FTriangleForm = Value; }
  bool TriangleUnit() const { return FTriangleUnit; }
  void SetTriangleUnit(bool Value) { FTriangleUnit = Value; }
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t Value) { FTag = Value; }
  // Called after every size or complexity change.
  const TMtxNotifyEvent& OnSetSize() const { return FOnSetSize; }
  void SetOnSetSize(TMtxNotifyEvent Value) { FOnSetSize = std::move(Value); }

  // shape
  // Rows = Cols (as of the last size change).
  bool Quadratic() const { return FQuadratic; }
  // Rows and Cols are both powers of two (as of the last non-empty size).
  bool PowerOfTwo() const { return FPowerOfTwo; }

  // results of the last solve
  const std::string& ErrorText() const { return FErrorText; }
  std::int32_t LapackStatus() const { return FLapackStatus; }
  double BackwardError() const { return FBackwardError; }
  double ForwardError() const { return FForwardError; }
  double RCond() const { return FRCond; }

  // storage
  // The one sizing primitive: Complex first, then the shape. The capacity is
  // max(ARows*ACols, reserve). Same shape and kind: nothing, no event.
  TMtx& Size(std::int32_t ARows, std::int32_t ACols, bool AComplex);
  TMtx& Size(const TMtx& Mtx);
  // Capacity in elements of the current kind, always even.
  std::int32_t ActualSize() const { return FActualSize; }
  // Sets the capacity (rounded up to even); a change loses the values. A
  // capacity too small for the shape empties the matrix.
  void SetActualSize(std::int32_t Value);
  std::int32_t BlockSize() const { return FBlockSize; }
  double* Values() { return FData; }
  const double* Values() const { return FData; }
  TCplx* CValues() { return reinterpret_cast<TCplx*>(FData); }
  const TCplx* CValues() const { return reinterpret_cast<const TCplx*>(FData); }
  // First element of row Row, in the real and the complex view.
  double* RowValues(std::int32_t Row) { return FData + RowOffset(Row); }
  const double* RowValues(std::int32_t Row) const { return FData + RowOffset(Row); }
  TCplx* CRowValues(std::int32_t Row) { return CValues() + static_cast<std::ptrdiff_t>(Row) * FCols; }
  const TCplx* CRowValues(std::int32_t Row) const {
    return CValues() + static_cast<std::ptrdiff_t>(Row) * FCols;
  }
  // Elements Rows*Cols, and the doubles they cover.
  std::int32_t ElementCount() const { return FRows * FCols; }
  std::int32_t DoubleCount() const { return FComplex ? 2 * FRows * FCols : FRows * FCols; }

  // As the vector's: renumbered by the cache while the matrix is in use.
  std::int32_t CacheIndex() const { return FCacheIndex.load(std::memory_order_relaxed); }
  void SetCacheIndex(std::int32_t Value) { FCacheIndex.store(Value, std::memory_order_relaxed); }
  const TCplx& CZero() const { return FCZero; }
  const TCplx& COne() const { return FCOne; }

 protected:
  TMtx1();
  friend struct detail::TCacheAccess;

  TMtx& Self();
  void FireOnSetSize();
  void ReleaseBlock();
  std::ptrdiff_t RowOffset(std::int32_t Row) const {
    return static_cast<std::ptrdiff_t>(Row) * FCols * (FComplex ? 2 : 1);
  }
  void RestoreConstants() {
    FCZero = C_ZERO;
    FCOne = C_ONE;
  }

  void* FBlock = nullptr;
  double* FData = nullptr;
  std::int32_t FBlockSize = 0;
  std::string FErrorText;
  bool FComplex = false;
  bool FQuadratic = false;
  std::int32_t FLapackStatus = 0;
  std::int32_t FRows = 0;
  std::int32_t FCols = 0;
  bool FConditionCheck = true;
  bool FPowerOfTwo = false;
  bool FRefineSolution = false;
  double FBackwardError = 0.0;
  double FForwardError = 0.0;
  TConditionNumber FConditionNumber = cnNone;
  double FRCond = 0.0;
  TTriangleForm FTriangleForm = tfUpper;
  bool FTriangleUnit = false;
  TBalanceType FBalance = btFull;
  TEigGenType FEigGenType = etAzBz;
  bool FAutoMtxType = false;
  std::atomic<std::int32_t> FCacheIndex{-1};
  std::int32_t FSuperDiag = 0;
  std::int32_t FSubDiag = 0;
  std::string FCaption;
  TMtxNotifyEvent FOnSetSize;
  std::int32_t FTag = 0;
  std::int32_t FActualSize = 0;
  TCplx FCOne = C_ONE;
  TCplx FCZero = C_ZERO;
};

// The matrix of the numeric core: real or complex doubles stored by rows.
class TMtx : public TMtx1 {
  ORVEL_CLASS_INFO
 public:
  TMtx() = default;

  // operations

  // Changes the shape keeping the values of the overlapping top-left block at
  // their row and column positions; elements outside it are not cleared.
  TMtx& Resize(std::int32_t ARows, std::int32_t ACols);
  // Self := the ARows x ACols top-left block of Mtx, transposed when asked;
  // elements outside the copied block are not cleared. Mtx = Self raises "A = Self".
  TMtx& ResizeCopy(const TMtx& Mtx, std::int32_t ARows, std::int32_t ACols, bool Transpose);
  // Root of the mean of the squared elements of a real matrix; a complex one
  // raises "Complex = True".
  double MeanSquare() const;

  // ---- element access (VecElements.cpp) ----
  // Size(ARows, ACols, AComplex), then the values of A in row order (complex:
  // re, im pairs); A must hold exactly the storage's doubles.
  TMtx& SetIt(std::int32_t ARows, std::int32_t ACols, bool AComplex, std::span<const double> A);
  // Self := |Mtx| element-wise, real; an empty Mtx changes nothing.
  TMtx& Abs(const TMtx& Mtx);
  // ---- end of element access ----
};

// ---------------------------------------------------------------------------
// The object cache

// Unit initialisation, called once at start-up: builds the vector and matrix
// caches at their default sizes. A process that never calls it still gets
// them: the first CreateIt builds them under the lock.
void InitNumora();
// Unit finalisation: frees every cached object that has been returned.
// Objects still out are cut loose from the cache (their FreeIt then frees
// them). A later CreateIt builds the caches anew.
void DoneNumora();

// Take one to four temporaries, in argument order, under one lock. Each comes
// out real and empty, ConditionCheck True, Caption empty and no OnSetSize
// handler. When the slots are exhausted a plain object is created.
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

// ---------------------------------------------------------------------------
// Transforms: the power-of-two test

// True when Vec.Length is 2 or a larger power of two. Records log2 of the
// length in Vec.FFTOrder and clears SizeChanged when it passes, so that the
// transforms skip the test until the length changes.
bool IsPowerOf2(TVec& Vec);

}  // namespace numeric
