// TVec element access and ranges: single values, a matrix diagonal or row,
// joining, ramps and open arrays, and the operations that combine a window of
// Self with a window of an operand; TMtx.SetIt and TMtx.Abs.
// Tested by: numeric/tests/VecElementsTest.cpp
#include <algorithm>
#include <limits>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/ComplexParts.h"
#include "platform/spl/ElementKernels.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::EndOf;
using detail::Width;
using detail::Z;

namespace {

// The messages of the checks that a range operation with an operand makes.
struct TRangeMessages {
  const char* Negative;
  const char* VecRange;
  const char* SelfRange;
};

constexpr TRangeMessages kMulMessages{"(Len <= 0) or (Index < 0) or (VecIndex < 0)", "VecIndex + Len) > Vec.Length",
                                      "(Index + Len) > Length"};
constexpr TRangeMessages kSqrMessages{"(Len < 0) or (Index < 0) or (VecIndex < 0)", "VecIndex + Len) > Vec.Length",
                                      "(Index + Len) > Length"};

// The checks of the element-wise range operations, in their order when
// ConditionCheck is set: negative arguments, the operand's range, Self's
// range, the kinds, Self as the operand. Whatever ConditionCheck holds, the
// windows must lie in the memory of both vectors, with elements of Self's
// kind (VecWidth doubles in Vec, SelfWidth in Self); the same messages report
// a window that does not.
void CheckBinaryRange(const TVec& Self, const TVec& Vec, std::int32_t VecIndex, std::int32_t Index,
                      std::int32_t Len, const TRangeMessages& Msg, std::int32_t VecWidth, std::int32_t SelfWidth) {
  if (Self.ConditionCheck()) {
    if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(Msg.Negative);
    if (EndOf(VecIndex, Len) > Vec.Length()) RaiseError(Msg.VecRange);
    if (EndOf(Index, Len) > Self.Length()) RaiseError(Msg.SelfRange);
    if (Self.Complex() != Vec.Complex()) RaiseError("Complex <> Vec.Complex");
    if (&Vec == &Self) RaiseError("Self = Vec");
  }
  if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(Msg.Negative);
  if (EndOf(VecIndex, Len) * VecWidth > Vec.DoubleLength()) RaiseError(Msg.VecRange);
  if (EndOf(Index, Len) * SelfWidth > Self.DoubleLength()) RaiseError(Msg.SelfRange);
}

// The doubles of Len elements of Vec from VecIndex (Width doubles each). When
// Vec is Self (possible with the checks off) the window is copied first, so
// that writing Self's window cannot change what is still to be read.
const double* SourceWindow(const TVec& Self, const TVec& Vec, std::int32_t VecIndex, std::int32_t Len,
                           std::int32_t Width, TVec& Scratch) {
  const double* first = Vec.Values() + static_cast<std::ptrdiff_t>(VecIndex) * Width;
  if (&Vec != &Self) return first;
  Scratch.Size(Len * Width, false);
  spl::nspdbCopy(first, Scratch.Values(), Len * Width);
  return Scratch.Values();
}

// Self[Index + i] op= Vec[VecIndex + i] for Len elements of Self's kind: the
// checks, the copy of an overlapping source, then the real or complex kernel.
template <class RealKernel, class CplxKernel>
TVec& ApplyRange(TVec& Self, const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len,
                 const TRangeMessages& Msg, RealKernel realKernel, CplxKernel cplxKernel) {
  const std::int32_t width = Width(Self.Complex());
  CheckBinaryRange(Self, Vec, VecIndex, Index, Len, Msg, width, width);
  if (Len == 0) return Self;
  TCachedVec scratch;
  const double* source = SourceWindow(Self, Vec, VecIndex, Len, width, *scratch);
  if (Self.Complex())
    cplxKernel(reinterpret_cast<const spl::DCplx*>(source), Z(Self) + Index, Len);
  else
    realKernel(source, Self.Values() + Index, Len);
  return Self;
}

}  // namespace

// ---------------------------------------------------------------------------
// Element access

double TVec::GetValue(std::int32_t Indx) const {
  if (FConditionCheck) {
    if (Indx > FLength - 1) RaiseError("Indx > Length-1");
    if (Indx < 0) RaiseError("Indx < 0 ");
  }
  if (Indx < 0) RaiseError("Indx < 0 ");
  if (Indx >= DoubleLength()) RaiseError("Indx > Length-1");
  return Values()[Indx];
}

void TVec::SetValue(std::int32_t Indx, double Value) {
  if (FConditionCheck) {
    if (Indx > FLength - 1) RaiseError("Indx > Length-1");
    if (Indx < 0) RaiseError("Indx < 0 ");
  }
  if (Indx < 0) RaiseError("Indx < 0 ");
  if (Indx >= DoubleLength()) RaiseError("Indx > Length-1");
  Values()[Indx] = Value;
}

TVec& TVec::Diag(const TMtx& Mtx, std::int32_t k) {
  if (Mtx.ElementCount() == 0) return *this;
  SetComplex(Mtx.Complex());
  // The length of the k-th diagonal; for a square matrix Rows - k above the
  // main diagonal and Cols + k on and below it.
  const std::int64_t rows = Mtx.Rows();
  const std::int64_t cols = Mtx.Cols();
  const std::int64_t count = k > 0 ? std::min(rows, cols - k) : std::min(rows + k, cols);
  if (count <= 0) RaiseError("k out of range");
  SetLength(static_cast<std::int32_t>(count));
  const std::int64_t firstRow = k > 0 ? 0 : -static_cast<std::int64_t>(k);
  const std::int64_t firstCol = k > 0 ? k : 0;
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t at = (firstRow + i) * cols + firstCol + i;
    if (FComplex)
      CValues()[i] = Mtx.CValues()[at];
    else
      Values()[i] = Mtx.Values()[at];
  }
  return *this;
}

TVec& TVec::GetRow(const TMtx& Mtx, std::int32_t Row, std::int32_t Col, std::int32_t Index, std::int32_t Len) {
  if (Len == 0) return *this;
  if (FConditionCheck) {
    if (Mtx.ElementCount() == 0) RaiseError("Mtx.Rows*Mtx.Cols = 0");
    if (Row > Mtx.Rows() - 1) RaiseError("Row > (Mtx.Rows-1)");
    if (EndOf(Col, Len) > Mtx.Cols()) RaiseError("(Col + Len) > Mtx.Cols");
    if (EndOf(Index, Len) > FLength) RaiseError("(Index + len) > Length");
    if (FComplex != Mtx.Complex()) RaiseError("Complex <> Mtx.Complex");
  }
  // Elements of Self's kind are copied; the row and column address the
  // matrix in its own kind.
  const std::int64_t width = Width(FComplex);
  const std::int64_t source = static_cast<std::int64_t>(Row) * Mtx.Cols() + Col;
  if (Row < 0 || Row > Mtx.Rows() - 1) RaiseError("Row > (Mtx.Rows-1)");
  if (Col < 0 || Len < 0 || EndOf(Col, Len) > Mtx.Cols() ||
      source * Width(Mtx.Complex()) + Len * width > Mtx.DoubleCount())
    RaiseError("(Col + Len) > Mtx.Cols");
  if (Index < 0 || EndOf(Index, Len) > FLength) RaiseError("(Index + len) > Length");
  spl::nspdbCopy(Mtx.Values() + source * Width(Mtx.Complex()), Values() + Index * width,
                 static_cast<int>(Len * width));
  return *this;
}

TVec& TVec::GetRow(const TMtx& Mtx, std::int32_t Row) {
  if (FConditionCheck) {
    if (Mtx.ElementCount() == 0) RaiseError("Mtx.Rows*Mtx.Cols = 0");
    if (Row > Mtx.Rows() - 1) RaiseError("Row > Mtx.Rows-1");
  }
  if (Row < 0 || Row > Mtx.Rows() - 1) RaiseError("Row > Mtx.Rows-1");
  Size(Mtx.Cols(), Mtx.Complex());
  if (FLength != 0) spl::nspdbCopy(Mtx.RowValues(Row), Values(), DoubleLength());
  return *this;
}

TVec& TVec::Concat(const TVec& Vec1, const TVec& Vec2) {
  if (Vec1.Complex() != Vec2.Complex()) RaiseError("Vec1.Complex <> Vec2.Complex");
  if (&Vec1 == this) RaiseError("Self = Vec1");
  if (&Vec2 == this) RaiseError("Self = Vec2");
  const std::int64_t length = static_cast<std::int64_t>(Vec1.Length()) + Vec2.Length();
  if (length > std::numeric_limits<std::int32_t>::max()) RaiseError("Out of memory");
  Size(static_cast<std::int32_t>(length), Vec1.Complex());
  if (Vec1.Length() > 0) spl::nspdbCopy(Vec1.Values(), Values(), Vec1.DoubleLength());
  if (Vec2.Length() > 0) spl::nspdbCopy(Vec2.Values(), Values() + Vec1.DoubleLength(), Vec2.DoubleLength());
  return *this;
}

TVec& TVec::Ramp() {
  if (FComplex) {
    for (std::int32_t i = 0; i < FLength; ++i) CValues()[i] = TCplx{static_cast<double>(i), 0.0};
  } else {
    for (std::int32_t i = 0; i < FLength; ++i) Values()[i] = i;
  }
  return *this;
}

TVec& TVec::SetIt(bool AComplex, std::span<const double> A) {
  if (A.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) RaiseError("Out of memory");
  const auto count = static_cast<std::int32_t>(A.size());
  Size(AComplex ? count / 2 : count, AComplex);
  spl::nspdbCopy(A.data(), Values(), DoubleLength());
  return *this;
}

// ---------------------------------------------------------------------------
// Range operations with an operand

TVec& TVec::Mag(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  const TRangeMessages& msg = kMulMessages;
  if (FConditionCheck) {
    if (Vec.Length() == 0) RaiseError("Vec.Length = 0");
    if (EndOf(VecIndex, Len) > Vec.Length()) RaiseError(msg.VecRange);
    if (EndOf(Index, Len) > FLength) RaiseError(msg.SelfRange);
    if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(msg.Negative);
    if (!Vec.Complex()) RaiseError("Vec.Complex = False");
    if (&Vec == this) RaiseError("Self = Vec");
  }
  // Vec is read as complex, Self written as real values.
  if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(msg.Negative);
  if (EndOf(VecIndex, Len) * 2 > Vec.DoubleLength()) RaiseError(msg.VecRange);
  if (EndOf(Index, Len) > DoubleLength()) RaiseError(msg.SelfRange);
  if (Len == 0) return *this;
  TCachedVec scratch;
  const double* source = SourceWindow(*this, Vec, VecIndex, Len, 2, *scratch);
  spl::nspzbMag(reinterpret_cast<const spl::DCplx*>(source), Values() + Index, Len);
  return *this;
}

TVec& TVec::Abs(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  if (Vec.Complex()) {
    // As Mag, whose checks differ only by the kind, which holds here.
    return Mag(Vec, VecIndex, Index, Len);
  }
  const TRangeMessages& msg = kMulMessages;
  if (FConditionCheck) {
    if (Vec.Length() == 0) RaiseError("Vec.Length = 0");
    if (EndOf(VecIndex, Len) > Vec.Length()) RaiseError(msg.VecRange);
    if (EndOf(Index, Len) > FLength) RaiseError(msg.SelfRange);
    if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(msg.Negative);
    if (&Vec == this) RaiseError("Self = Vec");
  }
  if (Len < 0 || Index < 0 || VecIndex < 0) RaiseError(msg.Negative);
  if (EndOf(VecIndex, Len) > Vec.DoubleLength()) RaiseError(msg.VecRange);
  if (EndOf(Index, Len) > DoubleLength()) RaiseError(msg.SelfRange);
  if (Len == 0) return *this;
  TCachedVec scratch;
  const double* source = SourceWindow(*this, Vec, VecIndex, Len, 1, *scratch);
  spl::nspdbAbs2(source, Values() + Index, Len);
  return *this;
}

TVec& TVec::Sqr(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  return ApplyRange(*this, Vec, VecIndex, Index, Len, kSqrMessages, spl::nspdbSqr2, spl::nspzbSqr2);
}

TVec& TVec::Mul(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  return ApplyRange(*this, Vec, VecIndex, Index, Len, kMulMessages, spl::nspdbMpy2, spl::nspzbMpy2);
}

TVec& TVec::Sub(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  const std::int32_t width = Width(FComplex);
  CheckBinaryRange(*this, Vec, VecIndex, Index, Len, kMulMessages, width, width);
  if (Len == 0) return *this;
  TCachedVec scratch;
  const double* source = SourceWindow(*this, Vec, VecIndex, Len, width, *scratch);
  spl::nspdbSub2(source, Values() + static_cast<std::ptrdiff_t>(Index) * width, Len * width);
  return *this;
}

TVec& TVec::Add(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len, double FactorRe,
                double FactorIm) {
  const std::int32_t width = Width(FComplex);
  CheckBinaryRange(*this, Vec, VecIndex, Index, Len, kMulMessages, width, width);
  if (Len == 0) return *this;
  TCachedVec scratch;
  const double* source = SourceWindow(*this, Vec, VecIndex, Len, width, *scratch);
  double* target = Values() + static_cast<std::ptrdiff_t>(Index) * width;
  if (FactorRe == 1.0 && FactorIm == 0.0)
    spl::nspdbAdd2(source, target, Len * width);
  else if (FComplex)
    lapack::ZAXPY(Len, lapack::Complex(FactorRe, FactorIm), reinterpret_cast<const lapack::Complex*>(source), 1,
                  reinterpret_cast<lapack::Complex*>(target), 1);
  else
    lapack::DAXPY(Len, FactorRe, source, 1, target, 1);
  return *this;
}

TVec& TVec::ConjMul(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  if (Len == 0) return *this;
  if (EndOf(VecIndex, Len) > Vec.Length()) RaiseError("VecIndex+Len > Vec.Length");
  const std::int32_t width = Width(FComplex);
  CheckBinaryRange(*this, Vec, VecIndex, Index, Len, kMulMessages, width, width);
  if (!(FComplex && Vec.Complex())) return Mul(Vec, VecIndex, Index, Len);
  // The conjugates go to a scratch copy: Vec is not touched, also when the
  // product fails, and Vec may be Self.
  TCachedVec conjugates;
  conjugates->Size(Len, true);
  spl::nspzbConj2(Z(Vec) + VecIndex, Z(*conjugates), Len);
  spl::nspzbMpy2(Z(*conjugates), Z(*this) + Index, Len);
  return *this;
}

TVec& TVec::Reverse(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t Len) {
  if (Len == 0) return *this;
  if (EndOf(Len, VecIndex) > Vec.Length()) RaiseError("(Len + VecIndex) > Vec.Length");
  if (EndOf(Len, Index) > FLength) RaiseError("(Len + Index) > fLength");
  const std::int32_t width = Width(FComplex);
  if (Len < 0 || VecIndex < 0 || EndOf(VecIndex, Len) * width > Vec.DoubleLength())
    detail::RaiseOutOfRange("TVec.Reverse", VecIndex, Len, Vec.Length());
  if (Index < 0) detail::RaiseOutOfRange("TVec.Reverse", Index, Len, FLength);
  TCachedVec scratch;
  const double* source = SourceWindow(*this, Vec, VecIndex, Len, width, *scratch);
  if (FComplex) {
    const auto* from = reinterpret_cast<const TCplx*>(source);
    std::reverse_copy(from, from + Len, CValues() + Index);
  } else {
    std::reverse_copy(source, source + Len, Values() + Index);
  }
  return *this;
}

TVec& TVec::Mul(const TVec& Vec1, const TVec& Vec2, std::int32_t Vec1Index, std::int32_t Vec2Index,
                std::int32_t Index, std::int32_t Len) {
  const char* negative = "(Len <= 0) or (Index < 0) or (Vec1Index < 0) or (Vec2Index < 0)";
  const char* vec1Range = "(Vec1Index + Len) > Vec1.Length";
  const char* vec2Range = "(Vec2Index + Len) > Vec2.Length";
  const char* selfRange = "(Index + Len) > Length";
  if (FConditionCheck) {
    if (Len < 0 || Index < 0 || Vec2Index < 0 || Vec1Index < 0) RaiseError(negative);
    if (EndOf(Vec1Index, Len) > Vec1.Length()) RaiseError(vec1Range);
    if (EndOf(Vec2Index, Len) > Vec2.Length()) RaiseError(vec2Range);
    if (EndOf(Index, Len) > FLength) RaiseError(selfRange);
    if (Vec1.Complex() != Vec2.Complex()) RaiseError("Vec1.Complex  <> Vec2.Complex");
    if (Vec1.Complex() != FComplex) RaiseError("Complex <> Vec1.Complex");
    if (&Vec1 == this || &Vec2 == this) RaiseError("(Self = Vec1) or (Self = Vec2)");
  }
  const std::int32_t width = Width(FComplex);
  if (Len < 0 || Index < 0 || Vec2Index < 0 || Vec1Index < 0) RaiseError(negative);
  if (EndOf(Vec1Index, Len) * width > Vec1.DoubleLength()) RaiseError(vec1Range);
  if (EndOf(Vec2Index, Len) * width > Vec2.DoubleLength()) RaiseError(vec2Range);
  if (EndOf(Index, Len) > FLength) RaiseError(selfRange);
  if (Len == 0) return *this;
  TCachedVec scratch1;
  TCachedVec scratch2;
  const double* a = SourceWindow(*this, Vec1, Vec1Index, Len, width, *scratch1);
  const double* b = SourceWindow(*this, Vec2, Vec2Index, Len, width, *scratch2);
  if (FComplex)
    spl::nspzbMpy3(reinterpret_cast<const spl::DCplx*>(a), reinterpret_cast<const spl::DCplx*>(b),
                   Z(*this) + Index, Len);
  else
    spl::nspdbMpy3(a, b, Values() + Index, Len);
  return *this;
}

// ---------------------------------------------------------------------------
// Range operations with a constant

TVec& TVec::Scale(double Factor, std::int32_t Index, std::int32_t Len) {
  if (Len == 0) return *this;
  if (Len < 0 || Index < 0) RaiseError("(Len <= 0) or (Index < 0)");
  if (EndOf(Index, Len) > FLength) RaiseError("Index+Len > Length");
  const std::int32_t width = Width(FComplex);
  spl::nspdbMpy1(Factor, Values() + static_cast<std::ptrdiff_t>(Index) * width, Len * width);
  return *this;
}

TVec& TVec::Scale(const TCplx& Factor, std::int32_t Index, std::int32_t Len) {
  if (Len == 0) return *this;
  if (EndOf(Index, Len) > FLength) RaiseError("Index+Len > Length");
  if (Len < 0 || Index < 0) detail::RaiseOutOfRange("TVec.Scale", Index, Len, FLength);
  if (FComplex)
    spl::nspzbMpy1(detail::ToSpl(Factor), Z(*this) + Index, Len);
  else
    spl::nspdbMpy1(Factor.Re, Values() + Index, Len);
  return *this;
}

TVec& TVec::Offset(double Value, std::int32_t Index, std::int32_t Len) {
  return Offset(TCplx{Value, 0.0}, Index, Len);
}

TVec& TVec::Offset(const TCplx& Value, std::int32_t Index, std::int32_t Len) {
  if (Len < 0 || Index < 0) RaiseError("(Len <= 0) or (Index < 0)");
  if (EndOf(Index, Len) > FLength) RaiseError("(Index + Len) > Length");
  if (Len == 0) return *this;
  if (FComplex)
    spl::nspzbAdd1(detail::ToSpl(Value), Z(*this) + Index, Len);
  else
    spl::nspdbAdd1(Value.Re, Values() + Index, Len);
  return *this;
}

// ---------------------------------------------------------------------------
// TMtx

TMtx& TMtx::SetIt(std::int32_t ARows, std::int32_t ACols, bool AComplex, std::span<const double> A) {
  Size(ARows, ACols, AComplex);
  const auto given = static_cast<std::int64_t>(A.size());
  const std::int64_t needed = static_cast<std::int64_t>(ARows) * ACols * (AComplex ? 2 : 1);
  const char* msg = AComplex ? "Rows*Cols*2 <> (High(A)+1)" : "Rows*Cols <> (High(A)+1)";
  if (FConditionCheck && given != needed) RaiseError(msg);
  // Unchecked, a shorter array fills the first elements; a longer one would
  // write past the storage.
  if (given > DoubleCount()) RaiseError(msg);
  spl::nspdbCopy(A.data(), Values(), static_cast<int>(given));
  return *this;
}

TMtx& TMtx::Abs(const TMtx& Mtx) {
  if (&Mtx == this) RaiseError("Self = Mtx");
  if (Mtx.ElementCount() == 0) return *this;
  Size(Mtx.Rows(), Mtx.Cols(), false);
  if (Mtx.Complex())
    spl::nspzbMag(reinterpret_cast<const spl::DCplx*>(Mtx.Values()), Values(), ElementCount());
  else
    spl::nspdbAbs2(Mtx.Values(), Values(), ElementCount());
  return *this;
}

}  // namespace numeric
