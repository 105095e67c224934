// The matrix's storage: the enumerations of its properties, its fields,
// published properties and sizing. The operations are TMtx's
// (numeric/Mtx.h).
//
// One block per matrix, its first element 32-byte aligned. The capacity never
// drops below D x D, D the object cache's pre-sized dimension (32), so that
// cached temporaries are reused without reallocation. Behind the capacity
// there is always room for four more elements.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "numeric/MathCore.h"
#include "numeric/NumoraBase.h"
#include "platform/classlib/Persistent.h"

namespace numeric {

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
// How an operand enters a product or a least-squares solve: as stored,
// transposed, or conjugate transposed (for a real operand the same as opTrans).
enum TMtxOperation : std::uint8_t { opNone, opTrans, opHerm };

class TVecs;

// Fields, published properties and sizing of the matrix; only TMtx is
// instantiated. Values are stored by rows: element (i, j) is value i*Cols + j.
//
// Vectors may be windows onto the storage (TVec::SetSubRange). A change of
// shape, of kind or of capacity ends every window onto the matrix before its
// own OnSetSize fires, each window back on its vector's own block and sizes
// as SetFullRange leaves it (its OnSetSize fires); destruction ends them
// without events. A window therefore never points into storage that moved.
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

 private:
  friend class TVecs;
  // Ends the windows onto the storage; Notify fires their OnSetSize. A
  // handler may open a window again: it then views the current storage.
  void EndWindows(bool Notify);
  // The vectors that are windows onto the storage, in the order they opened.
  std::vector<TVecs*> FWindows;
};

}  // namespace numeric
