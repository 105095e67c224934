// The matrix of the numeric core, TMtx: its operations, declared by concern.
// Each section names the source that implements it; a new operation (products,
// solvers, streams, ...) joins the section of its concern, and a new concern
// gets a section and a source of its own. Fields, properties and sizing are
// TMtx1's (numeric/MtxStorage.h).
//
// A matrix belongs to the thread that uses it and is not locked.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "numeric/MtxStorage.h"
#include "numeric/SampleStreams.h"

namespace classlib {
class TFiler;
class TStream;
class TStrings;
}  // namespace classlib

namespace numeric {

// The matrix of the numeric core: real or complex doubles stored by rows.
class TMtx : public TMtx1 {
  ORVEL_CLASS_INFO
 public:
  TMtx() = default;

  // Sizing, copies and the mean square (MtxStorage.cpp).

  // Changes the shape keeping the values of the overlapping top-left block at
  // their row and column positions; elements outside it are not cleared.
  TMtx& Resize(std::int32_t ARows, std::int32_t ACols);
  // Self := the ARows x ACols top-left block of Mtx, transposed when asked;
  // elements outside the copied block are not cleared. Mtx = Self raises "A = Self".
  TMtx& ResizeCopy(const TMtx& Mtx, std::int32_t ARows, std::int32_t ACols, bool Transpose);
  // Root of the mean of the squared elements of a real matrix; a complex one
  // raises "Complex = True".
  double MeanSquare() const;

  // Element access (VecElements.cpp).

  // Size(ARows, ACols, AComplex), then the values of A in row order (complex:
  // re, im pairs); A must hold exactly the storage's doubles.
  TMtx& SetIt(std::int32_t ARows, std::int32_t ACols, bool AComplex, std::span<const double> A);
  // Self := |Mtx| element-wise, real; an empty Mtx changes nothing.
  TMtx& Abs(const TMtx& Mtx);

  // Element operations (MtxElements.cpp). Checks said to be gated run only
  // while ConditionCheck is set; whatever it holds, an index, size or kind
  // that would reach outside a matrix's or vector's storage is refused with
  // the same message (or "<Routine>: Index i, Len n outside Length l" for a
  // negative one). A check fails before anything changes.

  // Copy(Source), then its settings: AutoMtxType, EigGenType, Balance,
  // ConditionCheck, ConditionNumber, the condition estimate, RefineSolution,
  // TriangleForm, TriangleUnit, SuperDiag, SubDiag, Caption and Tag.
  // Source = Self raises "Mtx = Self".
  using TPersistent::Assign;
  TMtx& Assign(const TMtx& Source);
  // Rows, Cols, kind and values of Mtx ("Mtx = Self", gated).
  TMtx& Copy(const TMtx& Mtx);
  // NrRows x NrCols elements of Mtx from (MtxRow, MtxCol) to (Row, Col);
  // with Transpose, source (MtxRow + r, MtxCol + c) goes to (Row + c, Col + r).
  TMtx& Copy(const TMtx& Mtx, std::int32_t MtxRow, std::int32_t MtxCol, std::int32_t Row, std::int32_t Col,
             std::int32_t NrRows, std::int32_t NrCols, bool Transpose);
  // Self := Self + (Re + i Im) Mtx; a real matrix uses Re only.
  TMtx& Add(const TMtx& Mtx, double Re = 1.0, double Im = 0.0);
  // Self := Self - Mtx; Mtx of Self's kind ("Mtx.Complex <> Complex").
  TMtx& Sub(const TMtx& Mtx);
  // Self := the real parts of Mtx (a real Mtx is copied), real.
  TMtx& RealPart(const TMtx& Mtx);
  // Self := the imaginary parts, or the magnitudes, of the complex Mtx, real
  // ("Mtx.Complex = False" for a real one).
  TMtx& ImagPart(const TMtx& Mtx);
  TMtx& Mag(const TMtx& Mtx);
  // Self := ReMtx + i ImMtx, complex, both read as real values.
  TMtx& RealToCplx(const TMtx& ReMtx, const TMtx& ImMtx);
  // Self := Mtx^T; Self := Mtx^H ("X = Self" for Mtx being Self).
  TMtx& Transp(const TMtx& Mtx);
  TMtx& Adjung(const TMtx& Mtx);
  // In place.
  TMtx& Transp();
  TMtx& Adjung();
  TMtx& Conj();
  // Every double times Factor; nothing for Factor = 1.
  TMtx& Scale(double Factor);
  TMtx& SetZero();
  // Rows Row .. ToRow, columns Col .. ToCol := 0.
  TMtx& SetZero(std::int32_t Row, std::int32_t Col, std::int32_t ToRow, std::int32_t ToCol);
  // A real matrix becomes complex: (x, 0) with ZeroIm, else (x, x).
  TMtx& ExtendToComplex(bool ZeroIm);
  // ARows x ACols, zero but for ones on the main diagonal.
  TMtx& Eye(std::int32_t ARows, std::int32_t ACols, bool AComplex);
  // The double at (Indx1, Indx2) of the real view of row Indx1.
  double GetValue(std::int32_t Indx1, std::int32_t Indx2) const;
  // Largest and smallest element of a real matrix; NAN when empty. A complex
  // non-empty matrix raises "Complex = True".
  double Max() const;
  double Min() const;
  // Reshapes Vec into NrRows rows, element k to (k div Cols, k mod Cols).
  TMtx& CopyFromVec(const TVec& Vec, std::int32_t NrRows);
  // Len elements of Vec from VecIndex to the elements from (Row, Col) on,
  // running on across row ends.
  TMtx& CopyVec(const TVec& Vec, std::int32_t VecIndex, std::int32_t Len, std::int32_t Row, std::int32_t Col);
  // Row Row from column Col := Len elements of Vec from VecIndex.
  TMtx& SetRow(const TVec& Vec, std::int32_t VecIndex, std::int32_t Row, std::int32_t Col, std::int32_t Len);
  // Row Row := Vec, of Cols elements.
  TMtx& SetRow(const TVec& Vec, std::int32_t Row);
  // Column Col from row Row := Len elements of Vec from VecIndex.
  TMtx& SetCol(const TVec& Vec, std::int32_t VecIndex, std::int32_t Row, std::int32_t Col, std::int32_t Len);
  // Column Col := Vec, of Rows elements.
  TMtx& SetCol(const TVec& Vec, std::int32_t Col);
  // Vec onto diagonal k: element i to (i, i + k) for k > 0, (i - k, i) else.
  TMtx& SetDiagonal(const TVec& Vec, std::int32_t k);

  // Products through the level-3 BLAS (MtxProducts.cpp).

  // Self := op1(Mtx1) op2(Mtx2), both typed mtGeneral.
  TMtx& Mul(const TMtx& Mtx1, const TMtx& Mtx2, TMtxOperation Operation1 = opNone,
            TMtxOperation Operation2 = opNone);
  // Self := op1(Mtx1) op2(Mtx2) by the operands' structure: a symmetric
  // (real) or Hermitian (complex) operand multiplies as Mtx1 Mtx2 by the
  // triangle TriangleForm names, the operations not applied; a triangular
  // operand by its triangle, with its own operation only; else the general
  // product. An operand with AutoMtxType is classified afresh (without the
  // positive-definiteness trial); its own settings are not changed. Self
  // must be a third matrix.
  TMtx& Mul(const TMtx& Mtx1, const TMtx& Mtx2, TMtxType Mtx1Type, TMtxType Mtx2Type,
            TMtxOperation Operation1 = opNone, TMtxOperation Operation2 = opNone);

  // Structure and eigenvalues (MtxStructure.cpp).

  // Triangular (TriangleForm set to the triangle that holds the data),
  // symmetric, Hermitian or general; with TestPositive a Cholesky trial tells
  // the positive definite ones apart. A matrix that is not square is general.
  TMtxType DetectMtxType(bool TestPositive);
  // D := the eigenvalues: real for the symmetric, Hermitian and positive
  // definite types, complex for the general and triangular ones. A failed
  // iteration is not raised: the error text says "Failed to find
  // eigenvalues!" and the LAPACK status word holds its INFO.
  void Eig(TVec& D, TMtxType MtxType);

  // Inverse (MtxInverse.cpp).

  // Self := its inverse, in place, by MtxType (Cholesky, Bunch-Kaufman,
  // triangular, LU). LAPACK failures are not raised: the error text and the
  // LAPACK status word tell them, and the matrix holds what the routine left.
  // The symmetric, Hermitian and positive definite types fill both triangles.
  void Inv(TMtxType MtxType);

  // Least squares (MtxLeastSquares.cpp).

  // op(Self) X = B in the least-squares (over-determined) or minimum-norm
  // (under-determined) sense by QR or LQ. R, when given, receives the
  // min(Rows, Cols) square upper-triangular factor. A rank-deficient Self
  // leaves the error text "LQRSolve: rank deficient matrix" and the LAPACK
  // status in the status word; nothing is raised for it.
  TMtx& LQRSolve(const TVec& B, TVec& X, TMtx* R = nullptr, TMtxOperation Operation = opNone);
  // One right-hand side per column of B; X gets one solution column each.
  TMtx& LQRSolve(const TMtx& B, TMtx& X, TMtx* R = nullptr, TMtxOperation Operation = opNone);

  // Linear systems (MtxSolve.cpp).

  // op(Self) X = B for the structure MtxType (the three band types hold the
  // band in LAPACK band layout, one band row a matrix row and one column an
  // unknown: the order is Cols, and B has Cols rows), with the
  // refinement (RefineSolution) and the condition estimate (ConditionNumber)
  // they ask for. Self is not changed but for its results: the LAPACK status,
  // the error bounds, the reciprocal condition number and the error text. A
  // LAPACK failure raises "LUSolve: " + the error text at the end.
  void LinSolve(const TMtx& B, TMtx& X, TMtxType MtxType = mtGeneral, TMtxOperation Operation = opNone);
  // One right-hand side; X may be B.
  void LinSolve(const TVec& B, TVec& X, TMtxType MtxType = mtGeneral, TMtxOperation Operation = opNone);
  // Largest column (row) sum of the moduli of Self's elements.
  double Norm1() const;
  double NormInf() const;

  // Streams (MtxStreams.cpp); the layout is described in
  // numeric/SampleStreams.h. The header's twenty-six floats: Complex, Rows,
  // Cols, Quadratic, AutoMtxType, EigGenType, Balance, ConditionCheck,
  // ConditionNumber, the samples' precision, RefineSolution, TriangleForm,
  // TriangleUnit, SuperDiag, SubDiag, 8, the version 151, Tag, the magic
  // 64019 and seven zeros. The messages are the vector's, the reading ones
  // prefixed "TMtx: ".

  void WriteHeader(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const;
  // Sizes the matrix and sets its settings from the header, in the order of
  // the fields; all checked first, as the vector's ReadHeader does (an
  // enumeration out of its range is a wrong format too).
  TPrecision ReadHeader(classlib::TStream& Stream);
  void WriteValues(classlib::TStream& Stream, TPrecision Precision, TRounding Rounding) const;
  std::int32_t ReadValues(classlib::TStream& Stream, TPrecision Precision);
  void SaveToStream(classlib::TStream& Stream, TPrecision Precision = prDouble, TRounding Rounding = rnTrunc) const;
  void LoadFromStream(classlib::TStream& Stream);
  void SaveToFile(const std::string& FileName, bool Append = false) const;
  void LoadFromFile(const std::string& FileName);
  void DefineProperties(classlib::TFiler& Filer) override;
  // The matrix as a Matrix Market array file: the banner "%%MatrixMarket
  // matrix array real general " (or complex), "%Created with Numora version
  // 151", "%Date: " and the short date, "<Rows> <Cols> ", then the elements
  // column by column, one a line (complex: real part, blank, imaginary
  // part), 15 significant digits. Written whole or not at all.
  void SaveToMatrixMarketFile(const std::string& FileName) const;

  // Text (MtxText.cpp). Numbers go through the class library's formatting
  // and parsing; the forms without a separator use the process-wide decimal
  // separator, the others the one given.

  // Lines DstIndex .. of Dst := rows Row .. Row + RowCount - 1, columns
  // Col .. Col + ColCount - 1, values joined by Delimiter; a line beyond the
  // list's end is appended, one within it replaced.
  void ValuesToStrings(classlib::TStrings& Dst, std::int32_t DstIndex, std::int32_t Row, std::int32_t Col,
                       std::int32_t RowCount, std::int32_t ColCount, const std::string& Delimiter,
                       const std::string& ReFormat, const std::string& ImFormat) const;
  void ValuesToStrings(classlib::TStrings& Dst, std::int32_t DstIndex, std::int32_t Row, std::int32_t Col,
                       std::int32_t RowCount, std::int32_t ColCount, const std::string& Delimiter,
                       const std::string& ReFormat, const std::string& ImFormat, char DecimalSeparator) const;
  // Appends the whole matrix.
  void ValuesToStrings(classlib::TStrings& Dst, const std::string& Delimiter, const std::string& ReFormat = "",
                       const std::string& ImFormat = "") const;
  void ValuesToStrings(classlib::TStrings& Dst, const std::string& Delimiter, const std::string& ReFormat,
                       const std::string& ImFormat, char DecimalSeparator) const;
  // Self := the lines of AList, one row a line, as many columns as line 0
  // holds values; complex only when some value has an imaginary part. A
  // failure leaves Self as it was.
  TMtx& StringsToValues(const classlib::TStrings& AList, const std::string& Delimiter);
  TMtx& StringsToValues(const classlib::TStrings& AList, const std::string& Delimiter, char DecimalSeparator);
  // ListLen lines from ListIndex into the block from (Row, Col).
  TMtx& StringsToValues(const classlib::TStrings& AList, std::int32_t ListIndex, std::int32_t ListLen,
                        std::int32_t Row, std::int32_t Col, const std::string& Delimiter);
  TMtx& StringsToValues(const classlib::TStrings& AList, std::int32_t ListIndex, std::int32_t ListLen,
                        std::int32_t Row, std::int32_t Col, const std::string& Delimiter, char DecimalSeparator);
  // Values in line Row: one more than the delimiters in it, a delimiter that
  // ends the line not counted.
  std::int32_t ColumnCount(const classlib::TStrings& AList, std::int32_t Row, const std::string& Delimiter) const;

 private:
  // The structure used by an operation: MtxType, or the detected one when
  // AutoMtxType is set.
  TMtxType EffectiveType(TMtxType MtxType);
  void LQRSolveCore(double* BData, std::int32_t NRHS, TMtx* R, TMtxOperation Operation);
  // The structure a solve uses (detected with AutoMtxType), refused when no
  // path takes it; the band layouts checked (KD + 1 or KL + KU + 1 rows).
  TMtxType SolveType(TMtxType MtxType);
  void LinSolveCore(const double* B, double* X, std::int32_t NRHS, TMtxType MtxType, TMtxOperation Operation);
};

}  // namespace numeric
