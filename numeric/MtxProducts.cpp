// Products through the BLAS: TVec.MatVecProduct and TVec.MulVecMtx (level 2)
// and TMtx.Mul (level 3), each choosing its routine by the structure of the
// matrix operands. Row-major matrices are handed over as the column-major
// arrays of their transposes, so the operands change places and a triangle
// letter is the opposite of TriangleForm.
// Tested by: numeric/tests/MtxProductsTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <cstdint>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::Lz;
using detail::Require;

namespace {

// The structure an operand is multiplied by, with the triangle its data is in.
struct TOperand {
  TMtxType Type;
  TTriangleForm Form;
};

TOperand Structure(const TMtx& Mtx, TMtxType MtxType) {
  TOperand result{MtxType, Mtx.TriangleForm()};
  if (Mtx.AutoMtxType()) result.Type = detail::DetectStructure(Mtx, false, result.Form);
  return result;
}

// Symmetric for a real product, Hermitian for a complex one: the operands
// that the symmetric product routines take.
bool Special(TMtxType Type, bool Complex) {
  return Complex ? (Type == mtHermPosDef || Type == mtHermitian) : (Type == mtSymmPosDef || Type == mtSymmetric);
}

// Self := a copy of the values of Src (Self sized as Src).
void CopyValues(TMtx& Self, const TMtx& Src) {
  Self.Size(Src.Rows(), Src.Cols(), Src.Complex());
  spl::nspdbCopy(Src.Values(), Self.Values(), Src.DoubleCount());
}

}  // namespace

// ---------------------------------------------------------------------------
// Matrix-vector products

void TVec::SetProductScalars(const TCplx& Alpha, const TCplx& Beta) {
  FCOne = Alpha;
  FCZero = Beta;
}

TVec& TVec::MulVecMtx(const TVec& Vec, const TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation) {
  if (Mtx.Rows() != Vec.Length()) RaiseError("Length <> Mtx.Rows");
  return MatVecProduct(Vec, Mtx, MtxType, Operation);
}

TVec& TVec::MatVecProduct(const TVec& Vec, const TMtx& Mtx, TMtxType MtxType, TMtxOperation Operation) {
  if (Vec.Complex() != Mtx.Complex()) RaiseError("Complex <> Mtx.Complex");
  if (Vec.Length() == 0 || Mtx.ElementCount() == 0) {
    Size(0, Vec.Complex());
    return *this;
  }
  if (&Vec == this) {
    // The product writes Self while it reads the vector: read a copy.
    TCachedVec x;
    x->Copy(Vec);
    return MatVecProduct(*x, Mtx, MtxType, Operation);
  }

  const bool complex = Vec.Complex();
  const TOperand a = Structure(Mtx, MtxType);
  enum { kSymmetric, kTriangle, kGeneral } routine;
  if (a.Type == mtTriangle)
    routine = kTriangle;
  else if (a.Type == mtGeneral || (complex && (a.Type == mtSymmPosDef || a.Type == mtSymmetric)))
    routine = kGeneral;
  else if (Special(a.Type, complex))
    routine = kSymmetric;
  else
    RaiseError("MtxType not supported");

  const char trans = detail::OperationLetter(Operation, complex);
  // As a row times Mtx the vector meets the rows; otherwise the columns.
  const std::int32_t inLength = Operation == opNone ? Mtx.Rows() : Mtx.Cols();
  const std::int32_t outLength = Operation == opNone ? Mtx.Cols() : Mtx.Rows();
  if (routine != kGeneral && Mtx.Rows() != Mtx.Cols()) RaiseError("Quadratic = False");
  if (Vec.Length() != inLength) RaiseError(Operation == opNone ? "Vec.Length <> Mtx.Rows" : "Vec.Length <> Mtx.Cols");

  const char uplo = detail::OppositeTriangleLetter(a.Form);
  const char diag = detail::DiagLetter(Mtx.TriangleUnit());
  const std::int32_t m = Mtx.Cols(), n = Mtx.Rows(), lda = Mtx.Cols();
  switch (routine) {
    case kSymmetric:
      Size(outLength, complex);
      if (complex)
        lapack::ZHEMV(uplo, outLength, Lz(FCOne), Lz(Mtx), lda, Lz(Vec.CValues()), 1, Lz(FCZero), Lz(CValues()), 1);
      else
        lapack::DSYMV(uplo, outLength, FCOne.Re, Mtx.Values(), lda, Vec.Values(), 1, FCZero.Re, Values(), 1);
      break;
    case kTriangle:
      Copy(Vec);
      if (complex)
        lapack::ZTRMV(uplo, trans, diag, FLength, Lz(Mtx), lda, Lz(CValues()), 1);
      else
        lapack::DTRMV(uplo, trans, diag, FLength, Mtx.Values(), lda, Values(), 1);
      break;
    case kGeneral:
      Size(outLength, complex);
      if (complex)
        lapack::ZGEMV(trans, m, n, Lz(FCOne), Lz(Mtx), lda, Lz(Vec.CValues()), 1, Lz(FCZero), Lz(CValues()), 1);
      else
        lapack::DGEMV(trans, m, n, FCOne.Re, Mtx.Values(), lda, Vec.Values(), 1, FCZero.Re, Values(), 1);
      break;
  }
  RestoreConstants();
  return *this;
}

// ---------------------------------------------------------------------------
// Matrix products

TMtx& TMtx::Mul(const TMtx& Mtx1, const TMtx& Mtx2, TMtxOperation Operation1, TMtxOperation Operation2) {
  return Mul(Mtx1, Mtx2, mtGeneral, mtGeneral, Operation1, Operation2);
}

TMtx& TMtx::Mul(const TMtx& Mtx1, const TMtx& Mtx2, TMtxType Mtx1Type, TMtxType Mtx2Type, TMtxOperation Operation1,
                TMtxOperation Operation2) {
  // Both read whatever ConditionCheck holds: operands of two kinds would be
  // read past the real one's storage, and Self as an operand resized under
  // the routine that reads it.
  Require(Mtx1.Complex() == Mtx2.Complex(), "Mtx1.Complex <> Mtx2.Complex");
  Require(&Mtx1 != this && &Mtx2 != this, "(Self = Mtx1) or (Self = Mtx2)");
  if (Mtx1.ElementCount() == 0 || Mtx2.ElementCount() == 0) return Size(0, 0, Mtx1.Complex());

  const bool complex = Mtx1.Complex();
  const TOperand a = Structure(Mtx1, Mtx1Type);
  const TOperand b = Structure(Mtx2, Mtx2Type);
  const TCplx alpha = FCOne, beta = FCZero;

  if (Special(a.Type, complex) || Special(b.Type, complex)) {
    const bool first = Special(a.Type, complex);
    const TMtx& s = first ? Mtx1 : Mtx2;
    const TMtx& other = first ? Mtx2 : Mtx1;
    if (s.Rows() != s.Cols()) {
      if (first)
        RaiseError(complex ? "Mtx1.Hermitian and not Mtx1.Quadratic" : "Mtx1.Symmetric and not Mtx1.Quadratic");
      RaiseError(complex ? "Mtx2.Hermitian and not Mtx2.Quadratic" : "Mtx2.Symmetric and not Mtx2.Quadratic");
    }
    Require(Mtx2.Rows() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Rows");
    Size(Mtx1.Rows(), Mtx2.Cols(), complex);
    const char side = first ? 'R' : 'L';
    const char uplo = detail::OppositeTriangleLetter((first ? a : b).Form);
    if (complex)
      lapack::ZHEMM(side, uplo, FCols, FRows, Lz(alpha), Lz(s), s.Cols(), Lz(other), other.Cols(), Lz(beta), Lz(*this),
                    FCols);
    else
      lapack::DSYMM(side, uplo, FCols, FRows, alpha.Re, s.Values(), s.Cols(), other.Values(), other.Cols(), beta.Re,
                    FData, FCols);
    return *this;
  }

  if (a.Type == mtTriangle || b.Type == mtTriangle) {
    const bool first = a.Type == mtTriangle;
    const TMtx& t = first ? Mtx1 : Mtx2;
    const TMtxOperation op = first ? Operation1 : Operation2;
    // The triangle is read as a square of the other operand's order.
    if (t.Rows() != t.Cols())
      RaiseError(first ? "Mtx1.Triangle and not Mtx1.Quadratic" : "Mtx2.Triangle and not Mtx2.Quadratic");
    const char transa = detail::OperationLetter(op, complex);
    if (first) {
      if (op == opNone)
        Require(Mtx2.Rows() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Rows");
      else
        Require(Mtx2.Rows() == Mtx1.Rows(), complex ? "Mtx1.Rows <> Mtx2.Rows" : "Mtx1.Cols <> Mtx2.Rows");
    } else {
      if (op == opNone)
        Require(Mtx2.Rows() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Rows");
      else
        Require(Mtx2.Cols() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Cols");
    }
    CopyValues(*this, first ? Mtx2 : Mtx1);
    const char side = first ? 'R' : 'L';
    const char uplo = detail::OppositeTriangleLetter((first ? a : b).Form);
    const char diag = detail::DiagLetter(t.TriangleUnit());
    if (complex)
      lapack::ZTRMM(side, uplo, transa, diag, FCols, FRows, Lz(alpha), Lz(t), t.Cols(), Lz(*this), FCols);
    else
      lapack::DTRMM(side, uplo, transa, diag, FCols, FRows, alpha.Re, t.Values(), t.Cols(), FData, FCols);
    return *this;
  }

  const char transb = detail::OperationLetter(Operation1, complex);
  const char transa = detail::OperationLetter(Operation2, complex);
  const std::int32_t m = Operation1 == opNone ? Mtx1.Rows() : Mtx1.Cols();
  const std::int32_t k = Operation1 == opNone ? Mtx1.Cols() : Mtx1.Rows();
  std::int32_t n;
  if (Operation2 == opNone) {
    if (Operation1 == opNone)
      Require(Mtx2.Rows() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Rows");
    else
      Require(Mtx2.Rows() == Mtx1.Rows(), "Mtx1.Rows <> Mtx2.Rows");
    n = Mtx2.Cols();
  } else {
    if (Operation1 == opNone)
      Require(Mtx2.Cols() == Mtx1.Cols(), "Mtx1.Cols <> Mtx2.Cols");
    else
      Require(Mtx2.Cols() == Mtx1.Rows(), "Mtx1.Rows <> Mtx2.Cols");
    n = Mtx2.Rows();
  }
  Size(m, n, complex);
  if (complex)
    lapack::ZGEMM(transa, transb, n, m, k, Lz(alpha), Lz(Mtx2), Mtx2.Cols(), Lz(Mtx1), Mtx1.Cols(), Lz(beta), Lz(*this),
                  n);
  else
    lapack::DGEMM(transa, transb, n, m, k, alpha.Re, Mtx2.Values(), Mtx2.Cols(), Mtx1.Values(), Mtx1.Cols(), beta.Re,
                  FData, n);
  RestoreConstants();
  return *this;
}

}  // namespace numeric
