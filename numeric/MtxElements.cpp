// TMtx element operations: whole-matrix arithmetic, copies of matrices,
// blocks and vectors, transposition, complex parts, zeroing, the identity,
// element access and extremes; TMtx.Assign and the whole-vector complex
// offset of TVec.
// Tested by: numeric/tests/MtxElementsTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/ComplexParts.h"
#include "platform/spl/ElementKernels.h"
#include "platform/spl/Reductions.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::EndOf;
using detail::Width;
using detail::Require;

namespace {

const spl::DCplx* Sz(const TMtx& m) { return reinterpret_cast<const spl::DCplx*>(m.Values()); }
spl::DCplx* Sz(TMtx& m) { return reinterpret_cast<spl::DCplx*>(m.Values()); }

// Len elements of a vector from Index lie within it: negative values are
// refused with the routine's name, a window past the end with Message.
void CheckVecWindow(const char* routine, const TVec& Vec, std::int32_t Index, std::int32_t Len, const char* message) {
  if (Index < 0 || Len < 0) detail::RaiseOutOfRange(routine, Index, Len, Vec.Length());
  Require(EndOf(Index, Len) <= Vec.Length(), message);
}

// Element k of the real or complex view, as doubles: Width doubles from k.
double* At(TMtx& m, std::int64_t row, std::int64_t col) {
  return m.Values() + (row * m.Cols() + col) * Width(m.Complex());
}
const double* At(const TMtx& m, std::int64_t row, std::int64_t col) {
  return m.Values() + (row * m.Cols() + col) * Width(m.Complex());
}

// Self := a real function of the complex elements of Mtx. A real Mtx would
// be read past its storage as complex.
TMtx& RealOfComplex(TMtx& Self, const TMtx& Mtx, void (*kernel)(const spl::DCplx*, double*, int)) {
  Require(Mtx.Complex(), "Mtx.Complex = False");
  if (&Mtx == &Self) RaiseError("Mtx = Self");
  Self.Size(Mtx.Rows(), Mtx.Cols(), false);
  kernel(Sz(Mtx), Self.Values(), Self.ElementCount());
  return Self;
}

}  // namespace

// ---------------------------------------------------------------------------
// Whole matrices

TMtx& TMtx::Assign(const TMtx& Source) {
  if (&Source == this) RaiseError("Mtx = Self");
  Copy(Source);
  FQuadratic = Source.Quadratic();
  FAutoMtxType = Source.AutoMtxType();
  FEigGenType = Source.EigGenType();
  FBalance = Source.Balance();
  FConditionCheck = Source.ConditionCheck();
  FConditionNumber = Source.ConditionNumber();
  FRCond = Source.RCond();
  FRefineSolution = Source.RefineSolution();
  FTriangleForm = Source.TriangleForm();
  FTriangleUnit = Source.TriangleUnit();
  FSuperDiag = Source.SuperDiag();
  FSubDiag = Source.SubDiag();
  FCaption = Source.Caption();
  FTag = Source.Tag();
  return *this;
}

TMtx& TMtx::Copy(const TMtx& Mtx) {
  if (&Mtx == this) {
    if (FConditionCheck) RaiseError("Mtx = Self");
    return *this;
  }
  if (Mtx.ElementCount() == 0) return Size(0, 0, Mtx.Complex());
  Size(Mtx.Rows(), Mtx.Cols(), Mtx.Complex());
  spl::nspdbCopy(Mtx.Values(), FData, DoubleCount());
  return *this;
}

TMtx& TMtx::Add(const TMtx& Mtx, double Re, double Im) {
  Require(Mtx.Rows() == FRows, "Mtx.Rows <> Rows");
  Require(Mtx.Cols() == FCols, "Mtx.Cols <> Cols");
  Require(Mtx.Complex() == FComplex, "Mtx.Complex <> Complex");
  if (FConditionCheck && &Mtx == this) RaiseError("Mtx = Self");
  if (Mtx.ElementCount() == 0) return *this;
  if (Re == 1.0 && Im == 0.0)
    spl::nspdbAdd2(Mtx.Values(), FData, DoubleCount());
  else if (FComplex)
    lapack::ZAXPY(ElementCount(), lapack::Complex(Re, Im), detail::Lz(Mtx), 1, detail::Lz(*this), 1);
  else
    lapack::DAXPY(ElementCount(), Re, Mtx.Values(), 1, FData, 1);
  return *this;
}

TMtx& TMtx::Sub(const TMtx& Mtx) {
  Require(Mtx.Rows() == FRows, "Mtx.Rows <> Rows");
  Require(Mtx.Cols() == FCols, "Mtx.Cols <> Cols");
  if (FConditionCheck && &Mtx == this) RaiseError("Mtx = Self");
  // A real operand for a complex Self would be read past its storage.
  Require(Mtx.Complex() == FComplex, "Mtx.Complex <> Complex");
  if (ElementCount() == 0) return *this;
  spl::nspdbSub2(Mtx.Values(), FData, DoubleCount());
  return *this;
}

TMtx& TMtx::RealPart(const TMtx& Mtx) {
  if (&Mtx == this) RaiseError("Mtx = Self");
  if (!Mtx.Complex()) return Copy(Mtx);
  Size(Mtx.Rows(), Mtx.Cols(), false);
  spl::nspzbReal(Sz(Mtx), FData, ElementCount());
  return *this;
}

TMtx& TMtx::ImagPart(const TMtx& Mtx) { return RealOfComplex(*this, Mtx, spl::nspzbImag); }

TMtx& TMtx::Mag(const TMtx& Mtx) { return RealOfComplex(*this, Mtx, spl::nspzbMag); }

TMtx& TMtx::RealToCplx(const TMtx& ReMtx, const TMtx& ImMtx) {
  Require(ReMtx.Rows() == ImMtx.Rows(), "ReMtx.Rows <> ImMtx.Rows");
  Require(ReMtx.Cols() == ImMtx.Cols(), "ReMtx.Cols <> ImMtx.Cols");
  if (&ReMtx == this || &ImMtx == this) RaiseError("(ReMtx = Self) or (ImMtx = Self)");
  Size(ReMtx.Rows(), ReMtx.Cols(), true);
  spl::nspzb2RealToCplx(ReMtx.Values(), ImMtx.Values(), Sz(*this), ElementCount());
  return *this;
}

TMtx& TMtx::Transp(const TMtx& Mtx) {
  if (&Mtx == this) RaiseError("Mtx = Self");
  detail::TransposeInto(Mtx, *this, false);
  return *this;
}

TMtx& TMtx::Adjung(const TMtx& Mtx) {
  if (&Mtx == this) RaiseError("X = Self");
  detail::TransposeInto(Mtx, *this, Mtx.Complex());
  return *this;
}

TMtx& TMtx::Transp() {
  if (FRows == FCols) {
    if (FComplex)
      detail::TransposeSquareInPlace(CValues(), FRows, false);
    else
      detail::TransposeSquareInPlace(FData, FRows, false);
    return *this;
  }
  TCachedMtx copy;
  copy->Copy(*this);
  return Transp(*copy);
}

TMtx& TMtx::Adjung() {
  if (!FComplex) return Transp();
  if (FRows == FCols) {
    detail::TransposeSquareInPlace(CValues(), FRows, true);
    return *this;
  }
  TCachedMtx copy;
  copy->Copy(*this);
  return Adjung(*copy);
}

TMtx& TMtx::Conj() {
  if (FComplex && ElementCount() > 0) spl::nspzbConj1(Sz(*this), ElementCount());
  return *this;
}

TMtx& TMtx::Scale(double Factor) {
  if (Factor != 1.0 && ElementCount() > 0) spl::nspdbMpy1(Factor, FData, DoubleCount());
  return *this;
}

TMtx& TMtx::SetZero() {
  if (ElementCount() > 0) spl::nspdbZero(FData, DoubleCount());
  return *this;
}

TMtx& TMtx::SetZero(std::int32_t Row, std::int32_t Col, std::int32_t ToRow, std::int32_t ToCol) {
  if (FConditionCheck) {
    Require(Row <= ToRow, "Row > ToRow");
    Require(Col <= ToCol, "Col > ToCol");
  }
  Require(ToRow <= FRows - 1, "ToRows > Rows-1");
  Require(ToCol <= FCols - 1, "ToCols > Cols-1");
  if (Row < 0 || Col < 0) detail::RaiseOutOfRange("SetZero", std::min(Row, Col), 0, ElementCount());
  const std::int32_t doubles = (ToCol - Col + 1) * Width(FComplex);
  for (std::int32_t i = Row; i <= ToRow; ++i) spl::nspdbZero(At(*this, i, Col), doubles);
  return *this;
}

TMtx& TMtx::ExtendToComplex(bool ZeroIm) {
  if (FComplex) return *this;
  TCachedMtx re, im;
  re->Copy(*this);
  if (ZeroIm) {
    im->Size(FRows, FCols, false);
    im->SetZero();
    return RealToCplx(*re, *im);
  }
  return RealToCplx(*re, *re);
}

TMtx& TMtx::Eye(std::int32_t ARows, std::int32_t ACols, bool AComplex) {
  Size(ARows, ACols, AComplex);
  SetZero();
  const std::int32_t n = std::min(ARows, ACols);
  for (std::int32_t i = 0; i < n; ++i) *At(*this, i, i) = 1.0;
  return *this;
}

double TMtx::GetValue(std::int32_t Indx1, std::int32_t Indx2) const {
  Require(Indx1 <= FRows - 1, "Indx1 > Rows-1");
  Require(Indx2 <= FCols - 1, "Indx2 > Cols-1");
  Require(Indx1 >= 0, "Indx1 < 0");
  Require(Indx2 >= 0, "Indx2 < 0");
  return RowValues(Indx1)[Indx2];
}

double TMtx::Max() const {
  if (ElementCount() == 0) return std::numeric_limits<double>::quiet_NaN();
  if (FComplex) RaiseError("Complex = True");
  return spl::nspdMax(FData, ElementCount());
}

double TMtx::Min() const {
  if (ElementCount() == 0) return std::numeric_limits<double>::quiet_NaN();
  if (FComplex) RaiseError("Complex = True");
  return spl::nspdMin(FData, ElementCount());
}

// ---------------------------------------------------------------------------
// Vectors and blocks

TMtx& TMtx::CopyFromVec(const TVec& Vec, std::int32_t NrRows) {
  if (Vec.Length() == 0) return Size(0, 0, Vec.Complex());
  // Fewer rows than one, or a length that does not split into NrRows rows,
  // would leave elements of Vec with no place in the matrix.
  if (NrRows < 1) RaiseError("NrRows < 1");
  Require(Vec.Length() % NrRows == 0, "Vec.Length mod NrRows <> 0");
  Size(NrRows, Vec.Length() / NrRows, Vec.Complex());
  spl::nspdbCopy(Vec.Values(), FData, DoubleCount());
  return *this;
}

TMtx& TMtx::CopyVec(const TVec& Vec, std::int32_t VecIndex, std::int32_t Len, std::int32_t Row, std::int32_t Col) {
  Require(Vec.Length() != 0, "Vec.Length = 0");
  Require(Vec.Complex() == FComplex, "Vec.Complex <> Complex");
  CheckVecWindow("CopyVec", Vec, VecIndex, Len, "(VecIndex+Len-1) > Vec.Length");
  if (Row < 0 || Col < 0) detail::RaiseOutOfRange("CopyVec", std::min(Row, Col), Len, ElementCount());
  const std::int64_t startPos = static_cast<std::int64_t>(Row) * FCols + Col;
  Require(startPos + Len <= ElementCount(), "(StartPos +VecIndex + Len) > Mtx.Cols*Mtx.Rows");
  if (Len == 0) return *this;
  const std::int32_t w = Width(FComplex);
  spl::nspdbCopy(Vec.Values() + static_cast<std::ptrdiff_t>(VecIndex) * w, FData + startPos * w, Len * w);
  return *this;
}

TMtx& TMtx::SetRow(const TVec& Vec, std::int32_t VecIndex, std::int32_t Row, std::int32_t Col, std::int32_t Len) {
  Require(FComplex == Vec.Complex(), "Complex <> Vec.Complex");
  Require(Row <= FRows - 1, "Row > Rows-1");
  if (Row < 0 || Col < 0 || Len < 0) detail::RaiseOutOfRange("SetRow", std::min(Row, Col), Len, FCols);
  Require(EndOf(Col, Len) <= FCols, "(Col + Len) > Cols");
  CheckVecWindow("SetRow", Vec, VecIndex, Len, "VecIndex + Len > Vec.Length");
  if (Len == 0 || ElementCount() == 0) return *this;
  const std::int32_t w = Width(FComplex);
  spl::nspdbCopy(Vec.Values() + static_cast<std::ptrdiff_t>(VecIndex) * w, At(*this, Row, Col), Len * w);
  return *this;
}

TMtx& TMtx::SetRow(const TVec& Vec, std::int32_t Row) {
  Require(Row <= FRows - 1, "Row > Rows");
  if (Row < 0) detail::RaiseOutOfRange("SetRow", Row, 0, FRows);
  Require(Vec.Length() == FCols, "Vec.Length <> Cols");
  // A real vector's doubles are half of what a complex row holds.
  Require(FComplex == Vec.Complex(), "Complex <> Vec.Complex");
  if (ElementCount() == 0) return *this;
  spl::nspdbCopy(Vec.Values(), RowValues(Row), FCols * Width(FComplex));
  return *this;
}

TMtx& TMtx::SetCol(const TVec& Vec, std::int32_t VecIndex, std::int32_t Row, std::int32_t Col, std::int32_t Len) {
  Require(FComplex == Vec.Complex(), "Complex <> Vec.Complex");
  if (Row < 0 || Col < 0 || Len < 0) detail::RaiseOutOfRange("SetCol", std::min(Row, Col), Len, FRows);
  Require(EndOf(Row, Len) <= FRows, "(Row+Len) > Rows");
  Require(Col <= FCols - 1, "Col > (Cols-1)");
  CheckVecWindow("SetCol", Vec, VecIndex, Len, "VecIndex+ Len > Vec.Length");
  if (Len == 0 || ElementCount() == 0) return *this;
  if (FComplex) {
    for (std::int32_t i = 0; i < Len; ++i) CRowValues(Row + i)[Col] = Vec.CValues()[VecIndex + i];
  } else {
    for (std::int32_t i = 0; i < Len; ++i) RowValues(Row + i)[Col] = Vec.Values()[VecIndex + i];
  }
  return *this;
}

TMtx& TMtx::SetCol(const TVec& Vec, std::int32_t Col) {
  if (ElementCount() == 0) return *this;
  Require(Vec.Length() == FRows, "Vec.Length <> Vec.Rows");
  Require(Col <= FCols - 1, "Col > Cols");
  if (Col < 0) detail::RaiseOutOfRange("SetCol", Col, 0, FCols);
  Require(FComplex == Vec.Complex(), "Complex <> Vec.Complex");
  return SetCol(Vec, 0, 0, Col, FRows);
}

TMtx& TMtx::SetDiagonal(const TVec& Vec, std::int32_t k) {
  const std::int64_t len = Vec.Length();
  Require(len != 0, "Vec.Length = 0");
  if (k >= 0)
    Require(len + k <= FCols && len <= FRows, "Vec.Length + k  > Cols");
  else
    Require(len - k <= FRows && len <= FCols, "Vec.Length - k  > Rows");
  Require(Vec.Complex() == FComplex, "Vec.Complex <> Complex");
  const std::int64_t firstRow = k > 0 ? 0 : -static_cast<std::int64_t>(k);
  const std::int64_t firstCol = k > 0 ? k : 0;
  for (std::int64_t i = 0; i < len; ++i) {
    if (FComplex)
      CValues()[(firstRow + i) * FCols + firstCol + i] = Vec.CValues()[i];
    else
      FData[(firstRow + i) * FCols + firstCol + i] = Vec.Values()[i];
  }
  return *this;
}

TMtx& TMtx::Copy(const TMtx& Mtx, std::int32_t MtxRow, std::int32_t MtxCol, std::int32_t Row, std::int32_t Col,
                 std::int32_t NrRows, std::int32_t NrCols, bool Transpose) {
  Require(Mtx.Complex() == FComplex, "Mtx.Complex <> Complex");
  if (MtxRow < 0 || MtxCol < 0 || Row < 0 || Col < 0)
    detail::RaiseOutOfRange("Copy", std::min({MtxRow, MtxCol, Row, Col}), std::min(NrRows, NrCols), ElementCount());
  Require(EndOf(MtxRow, NrRows) <= Mtx.Rows(), "MtxRow + NrRows > Mtx.Rows");
  Require(EndOf(MtxCol, NrCols) <= Mtx.Cols(), "MtxCol + NrCols > Mtx.Cols");
  const std::int32_t destRows = Transpose ? NrCols : NrRows;
  const std::int32_t destCols = Transpose ? NrRows : NrCols;
  Require(EndOf(Row, destRows) <= FRows, "Row + NrRows > Rows");
  Require(EndOf(Col, destCols) <= FCols, "Col + NrCols > Cols");
  if (&Mtx == this) {
    if (FConditionCheck) RaiseError("Mtx = Self");
    // Unchecked, a block of Self may overlap its destination: read it first.
    TCachedMtx source;
    source->Copy(*this);
    return Copy(*source, MtxRow, MtxCol, Row, Col, NrRows, NrCols, Transpose);
  }
  // An empty (or negative) block copies nothing.
  if (NrRows <= 0 || NrCols <= 0) return *this;
  const std::int32_t w = Width(FComplex);
  if (!Transpose) {
    for (std::int32_t r = 0; r < NrRows; ++r)
      spl::nspdbCopy(At(Mtx, MtxRow + r, MtxCol), At(*this, Row + r, Col), NrCols * w);
    return *this;
  }
  for (std::int32_t r = 0; r < NrRows; ++r)
    for (std::int32_t c = 0; c < NrCols; ++c) {
      const double* from = At(Mtx, MtxRow + r, MtxCol + c);
      double* to = At(*this, Row + c, Col + r);
      to[0] = from[0];
      if (w == 2) to[1] = from[1];
    }
  return *this;
}

// ---------------------------------------------------------------------------
// TVec

TVec& TVec::Offset(const TCplx& Value) {
  if (FLength == 0) return *this;
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (!FComplex) ExtendToComplex(true);
  spl::nspzbAdd1(detail::ToSpl(Value), detail::Z(*this), FLength);
  return CarryHalfRateBin(bin, bin, [Value](TVec& out, const TVec&, const TVec&) { out.Offset(Value); });
}

}  // namespace numeric
