// The vector of the numeric core, TVec: its operations, declared by concern.
// Each section names the source that implements it; a new operation joins the
// section of its concern, and a new concern gets a section and a source of its
// own. Fields and sizing primitives are TVecs's (numeric/VecStorage.h).
//
// A vector belongs to the thread that uses it and is not locked.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "numeric/MathCore.h"
#include "numeric/MtxStorage.h"
#include "numeric/NumoraBase.h"
#include "numeric/SampleStreams.h"
#include "numeric/VecStorage.h"
#include "platform/spl/Goertzel.h"
#include "platform/spl/Random.h"

namespace classlib {
class TStream;
class TStrings;
}  // namespace classlib

namespace numeric {

// The vector of the numeric core: real or complex doubles. Operations change
// the vector they are called on and return it.
class TVec : public TVec1 {
  ORVEL_CLASS_INFO
 public:
  TVec() = default;

  // Sizing, copies and windows (VecStorage.cpp).

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
  // "IsSubRange = True!". A change of Mtx's shape, kind or capacity ends the
  // window as SetFullRange does (OnSetSize fires), and so does Mtx's
  // destruction (without the event): the vector is back on its own block
  // and sizes, never left pointing into storage that moved.
  // With ConditionCheck, Index + Len > Rows*Cols raises
  // "(Index + Len) > Src.Length"; a window outside Mtx's storage is refused
  // always. The doubles just past a window are the matrix's next elements,
  // not a reserve of the window's own.
  TVec& SetSubRange(TMtx& Mtx, std::int32_t Index, std::int32_t Len = -1);
  // Returns to the vector's own block and sizes; nothing when not a window.
  TVec& SetFullRange();

  // Transforms (VecTransforms.cpp).

  // Fourier transforms. Lengths are powers of two (2 or more); others raise
  // "Length is not power of two!". Forward transforms are unscaled with
  // exp(-2 pi i jk/n); inverses use exp(+2 pi i jk/n) and divide by n unless
  // NoScale. A real signal of n samples gives the n/2 complex bins 0 .. n/2-1
  // as Length, and bin n/2 (half the sampling rate) as the known half-rate
  // bin (numeric/VecStorage.h), also in a window onto a matrix. The transform
  // of a complex vector leaves the half-rate bin unknown.
  // In place: a complex vector keeps its kind; a real one becomes complex.
  TVec& FFT();
  // Self := the transform of Vec (Self = Vec raises "Self = Vec").
  TVec& FFT(const TVec& Vec);
  // Self := the inverse transform of the complex Vec.
  TVec& IFFT(const TVec& Vec, bool NoScale = false);
  // Self := the 2n real samples whose spectrum bins 0 .. n-1 the complex Vec
  // holds (real layout as FFT gives it), with bin n its half-rate bin. An
  // unknown half-rate bin raises "IFFTToReal: the half-rate bin of Vec is
  // unknown (set it with SetHalfRateBin)". The imaginary parts of bins 0
  // and n are taken as 0.
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

  // Statistics (VecStatistics.cpp). Values are read as real numbers; a
  // complex vector raises "Complex = True" where a real result is meant.

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

  // Range statistics (VecRangeStatistics.cpp).

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

  // Mathematical functions, element-wise (VecMathFunctions.cpp).

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

  // Fills (VecFill.cpp).

  // Every element := Value (the real part on a real vector).
  TVec& SetVal(const TCplx& Value);
  TVec& SetCplxArray(std::span<const TCplx> A);
  // Element i := Offset + i Step, over the vector or Len elements from Index.
  TVec& Ramp(double Offset, double Step);
  TVec& Ramp(double Offset, double Step, std::int32_t Index, std::int32_t Len);
  // The real angles x become the unit phasors (cos x, sin x).
  TVec& Expj();

  // Random numbers (VecRandom.cpp): each vector carries a uniform and a
  // Gaussian generator that continue their sequence while the parameters
  // stay the same.

  TVec& RandUniform(double Low, double High);
  TVec& RandUniform(double Seed, double Low, double High);
  TVec& RandUniform();
  TVec& RandGauss(double Mean, double StdDev);
  TVec& RandGauss(double Seed, double Mean, double StdDev);
  TVec& RandGauss();
  // The next call of each generator starts a fresh sequence.
  void ResetRandom();

  // Arithmetic (VecArithmetic.cpp), complex parts (VecComplexParts.cpp), and
  // element access and range operations (VecElements.cpp). Where real and
  // complex operands may be mixed, the result is complex and the real operand
  // counts with zero imaginary parts. Checks said to be gated run only while
  // ConditionCheck is set; whether a window lies in the vectors' memory is
  // checked always, and reported with the same message.

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

  // Streams and text lines (VecStreams.cpp); the layout is described in
  // numeric/SampleStreams.h.

  // The header and the caption. Refused before anything is written: a
  // Length or Tag beyond MaxHeaderCount ("Cannot write stream: ...").
  void WriteHeader(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const;
  // Reads a header and sets Tag, Caption, Complex, Length and ConditionCheck
  // from it; returns the samples' precision. Everything is checked before
  // anything changes: fewer than 44 bytes raise "Error reading stream!", a
  // magic other than 64019 (or a field that is no whole number, or an
  // unknown precision) "Wrong file format!", a negative length "Value < 0",
  // and fewer bytes left than the samples need "Error reading stream! The
  // header announces ...".
  TPrecision ReadHeader(classlib::TStream& Stream);
  // All values in Precision; nothing for an empty vector.
  void WriteValues(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const;
  // Length elements in Precision into the storage; returns the values the
  // stream supplied (the others become 0).
  std::int32_t ReadValues(classlib::TStream& Stream, TPrecision Precision);
  // WriteHeader, then WriteValues; a precision and rounding that cannot be
  // written together raise before the header is written.
  void SaveToStream(classlib::TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
  // ReadHeader, then ReadValues with the precision found. A refused stream
  // leaves the vector as it was and the stream's position where it was.
  void LoadFromStream(classlib::TStream& Stream);
  // One stream in prDouble: the file replaced as a whole, or, with Append,
  // added at the end of the file (made when absent); a failure leaves the
  // file as it was.
  void SaveToFile(const std::string& FileName, bool Append = false) const;
  void LoadFromFile(const std::string& FileName);
  // The binary property "DataValues": SaveToStream(prDouble, rnTrunc) and
  // LoadFromStream.
  void DefineProperties(classlib::TFiler& Filer) override;

  // One line per element appended to Strings: SampleToStr(x, ReFormat), or
  // CplxToStr(z, ReFormat, ImFormat); empty formats give 15 significant digits.
  void ValuesToStrings(classlib::TStrings& Strings, const std::string& ReFormat = "",
                       const std::string& ImFormat = "") const;
  // Len lines (Len < 0: all lines) from line ListIndex parsed with StrToCplx
  // into elements Index ... . A line with an imaginary part makes a real
  // vector complex (its values kept). Index + Len > Length raises "(Index +
  // Len) > fLength", ListIndex + Len > Strings.Count "ListIndex + Len >
  // AList.Count", a negative Index or ListIndex "Index < 0" or "ListIndex <
  // 0"; a line that is no number raises the conversion error. Every line is
  // parsed before the vector changes.
  TVec& StringsToValues(const classlib::TStrings& Strings, std::int32_t ListIndex, std::int32_t Index,
                        std::int32_t Len);
  // Length := the number of lines, then every line from element 0.
  TVec& StringsToValues(const classlib::TStrings& Strings);

  // Rounding and shift (VecRounding.cpp).

  // Self := Vec with every value (real and imaginary parts alike) rounded to
  // the nearest integer, halves to even, clipped to the 32-bit signed range.
  // An empty Vec leaves Self as it was. Vec may be Self.
  TVec& Round(const TVec& Vec);
  TVec& Round();
  // The same, truncated toward zero.
  TVec& Trunc(const TVec& Vec);
  TVec& Trunc();
  // Moves the elements Offset positions toward the end (Offset > 0) or the
  // start (Offset < 0) without wrapping; the elements left behind keep their
  // values. Nothing happens when |Offset| exceeds Length.
  TVec& Shift(std::int32_t Offset);

  // Whole-vector offset by a complex value (MtxElements.cpp): a real,
  // non-empty vector becomes complex, (x + Value.Re, Value.Im).
  TVec& Offset(const TCplx& Value);

  // Matrix-vector products through the level-2 BLAS (MtxProducts.cpp). The
  // base product is Vec as a row times Mtx, y[j] = sum_i x[i] Mtx[i][j]
  // (opNone, Length Mtx.Cols); opTrans gives Mtx x and, for a complex matrix,
  // opHerm the element-wise conjugate of Mtx times x (Length Mtx.Rows). A
  // symmetric (real) or Hermitian (complex) type multiplies by the triangle
  // that TriangleForm names whatever the operation; a triangular type by that
  // triangle (unit diagonal when TriangleUnit). AutoMtxType of Mtx replaces
  // MtxType by the detected structure. Vec may be Self.

  // Checks Mtx.Rows = Vec.Length ("Length <> Mtx.Rows"), then MatVecProduct.
  TVec& MulVecMtx(const TVec& Vec, const TMtx& Mtx, TMtxType MtxType = mtGeneral,
                  TMtxOperation Operation = opNone);
  // Self := the product; "Complex <> Mtx.Complex", "MtxType not supported"
  // for a type the kind has no routine for; Vec must have the length the
  // product reads ("Vec.Length <> Mtx.Rows", "Vec.Length <> Mtx.Cols"), and
  // a symmetric, Hermitian or triangular Mtx must be square ("Quadratic = False").
  TVec& MatVecProduct(const TVec& Vec, const TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation);
  // The BLAS alpha and beta of the next product into this vector:
  // Self := Alpha op(Mtx) Vec + Beta Self (real kinds use the real parts).
  // Every product that computes puts them back to (1, 0) and (0, 0).
  void SetProductScalars(const TCplx& Alpha, const TCplx& Beta);

 private:
  // The half-rate bin around an operation that states what becomes of it
  // (numeric/VecStorage.h). Before changing anything the operation takes the
  // bins it reads (KnownHalfRateBin: empty when unknown); when done it calls
  // CarryHalfRateBin, which runs Change on one-element complex vectors: Out
  // holding A, then A and B. Out's value becomes Self's half-rate bin, so the
  // bin goes through the very routine the elements went through. With A or
  // B unknown, or Self no longer complex, the bin is unknown. An operation
  // of one operand passes its bin as both A and B.
  using THalfRateChange = std::function<void(TVec& Out, const TVec& A, const TVec& B)>;
  std::optional<TCplx> KnownHalfRateBin() const;
  TVec& CarryHalfRateBin(const std::optional<TCplx>& A, const std::optional<TCplx>& B,
                         const THalfRateChange& Change);

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
};

// Reduces Src to at most about MaxPoints values for a chart without losing
// its peaks (VecRounding.cpp). Step := Trunc(Src.Length / MaxPoints); a Step
// of 2 or less copies Src (and X into NX). Otherwise Dest receives the
// maximum, then the minimum, of each run of Step samples, with one more pair
// for a shorter last run.
// ByIndex: NX, when both X and NX are given, receives X[0] + i Step / 2 for
// Dest's elements i. Otherwise X and NX are required, of which X holds the
// abscissae of Src: the X range is cut into Src.Length div Step equal bins,
// each bin holding samples gives a pair, and NX receives the start of its
// bin and the point half a bin later. A complex Src raises "Src.Complex = True".
void DownSizeForDrawing(TVec& Dest, std::int32_t MaxPoints, const TVec& Src, const TVec* X, TVec* NX,
                        bool ByIndex);

// True when Vec.Length is 2 or a larger power of two. Records log2 of the
// length in Vec.FFTOrder and clears SizeChanged when it passes, so that the
// transforms skip the test until the length changes.
bool IsPowerOf2(TVec& Vec);

}  // namespace numeric
