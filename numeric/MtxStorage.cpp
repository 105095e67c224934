// TMtx storage: fields and published properties, sizing and capacity,
// reinterpretation between real and complex, Resize, ResizeCopy, MeanSquare.
// Tested by: numeric/tests/MtxStorageTest.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "numeric/Numora.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

namespace {

constexpr std::int64_t kAlignment = 32;
constexpr std::int64_t kBlockSlack = 40;
// Elements beyond the capacity.
constexpr std::int64_t kReserve = 4;
constexpr std::int64_t kMaxBlockBytes = std::numeric_limits<std::int32_t>::max();

const char* const kOver2GB = "Out of memory! Attempted to allocate over 2GB!";

std::int64_t RoundUpEven(std::int64_t value) { return value + (value & 1); }

// Self := a plain copy of Src, through the public storage.
void CopyInto(TMtx& dst, const TMtx& src) {
  dst.Size(src.Rows(), src.Cols(), src.Complex());
  spl::nspdbCopy(src.Values(), dst.Values(), src.DoubleCount());
}

}  // namespace

// ---------------------------------------------------------------------------
// TMtx1

TMtx1::TMtx1() = default;

TMtx1::~TMtx1() {
  // The windows' owners may be half destroyed themselves: no events.
  EndWindows(false);
  ReleaseBlock();
}

void TMtx1::EndWindows(bool Notify) {
  // Taken out first: each window unlinks itself, and a handler may open new ones.
  std::vector<TVecs*> windows;
  windows.swap(FWindows);
  for (TVecs* window : windows) window->EndSubRange(Notify);
}

TMtx& TMtx1::Self() { return static_cast<TMtx&>(*this); }

void TMtx1::FireOnSetSize() {
  if (FOnSetSize) FOnSetSize(Self());
}

void TMtx1::ReleaseBlock() {
  std::free(FBlock);
  FBlock = nullptr;
  FData = nullptr;
  FBlockSize = 0;
}

void TMtx1::SetRows(std::int32_t Value) { Size(Value, FCols, FComplex); }

void TMtx1::SetCols(std::int32_t Value) { Size(FRows, Value, FComplex); }

void TMtx1::SetRefineSolution(bool Value) {
  FRefineSolution = Value;
  FBackwardError = 0.0;
  FForwardError = 0.0;
}

void TMtx1::SetComplex(bool Value) {
  if (Value == FComplex) return;
  if (Value) {
    FCols /= 2;
    FActualSize /= 2;
  } else {
    FCols *= 2;
    FActualSize *= 2;
  }
  FComplex = Value;
  FQuadratic = FRows == FCols;
  EndWindows(true);
  FireOnSetSize();
}

TMtx& TMtx1::Size(std::int32_t ARows, std::int32_t ACols, bool AComplex) {
  if (ARows < 0) RaiseError("Rows < 0");
  if (ACols < 0) RaiseError("Cols < 0");
  const std::int64_t count = static_cast<std::int64_t>(ARows) * ACols;
  if (count > std::numeric_limits<std::int32_t>::max()) RaiseError(kOver2GB);
  SetComplex(AComplex);
  if (ARows == FRows && ACols == FCols) return Self();

  const std::int64_t d = MtxCacheDim();
  const std::int64_t reserve = FComplex ? d * d / 2 : d * d;
  SetActualSize(static_cast<std::int32_t>(std::min<std::int64_t>(
      std::max(count, reserve), std::numeric_limits<std::int32_t>::max())));
  FRows = ARows;
  FCols = ACols;
  if (count != 0) {
    FQuadratic = FRows == FCols;
    FPowerOfTwo = IsExp2(FRows) && IsExp2(FCols);
  }
  EndWindows(true);
  FireOnSetSize();
  return Self();
}

TMtx& TMtx1::Size(const TMtx& Mtx) { return Size(Mtx.Rows(), Mtx.Cols(), Mtx.Complex()); }

void TMtx1::SetActualSize(std::int32_t Value) {
  if (Value == FActualSize) return;
  if (Value < 0) RaiseError("SetActualSize: Value < 0");
  const std::int64_t capacity = RoundUpEven(Value);
  if (capacity == FActualSize) return;
  const std::int64_t elementBytes = FComplex ? 2 * sizeof(double) : sizeof(double);
  const std::int64_t bytes = (capacity + kReserve) * elementBytes + kBlockSlack;
  // Refused before anything changes: the matrix keeps its block and values.
  if (capacity > 0 && bytes > kMaxBlockBytes) RaiseError(kOver2GB);

  ReleaseBlock();
  FActualSize = 0;
  if (capacity > 0) {
    void* block = std::malloc(static_cast<std::size_t>(bytes));
    if (block == nullptr) {
      FRows = 0;
      FCols = 0;
      EndWindows(true);
      RaiseError("Out of memory");
    }
    const auto address = reinterpret_cast<std::uintptr_t>(block) + kBlockSlack;
    FBlock = block;
    FData = reinterpret_cast<double*>(address & ~static_cast<std::uintptr_t>(kAlignment - 1));
    FBlockSize = static_cast<std::int32_t>(bytes);
    FActualSize = static_cast<std::int32_t>(capacity);
  }
  // A shape that no longer fits would address memory past the block.
  if (static_cast<std::int64_t>(FRows) * FCols > FActualSize) {
    FRows = 0;
    FCols = 0;
  }
  // The old block is gone: no window may keep pointing into it.
  EndWindows(true);
}

const classlib::TClassInfo& TMtx1::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtx1>("TMtx1", TPersistent::StaticClassInfo())
          .Property("AutoMtxType", &TMtx1::AutoMtxType, &TMtx1::SetAutoMtxType, false)
          .Property("Balance", &TMtx1::Balance, &TMtx1::SetBalance, btFull)
          .TypeName("TBalanceType")
          .Names({"btNone", "btScale", "btPerm", "btFull"})
          .Property("ConditionCheck", &TMtx1::ConditionCheck, &TMtx1::SetConditionCheck)
          .Property("Cols", &TMtx1::Cols, &TMtx1::SetCols, 0)
          .Property("Complex", &TMtx1::Complex, &TMtx1::SetComplex, false)
          .Property("ConditionNumber", &TMtx1::ConditionNumber, &TMtx1::SetConditionNumber, cnNone)
          .TypeName("TConditionNumber")
          .Names({"cnNone", "cnNorm1", "cnNormInf"})
          .Property("Caption", &TMtx1::Caption, &TMtx1::SetCaption)
          .Property("EigGenType", &TMtx1::EigGenType, &TMtx1::SetEigGenType, etAzBz)
          .TypeName("TEigGenType")
          .Names({"etAzBz", "etABz", "etBAz"})
          .Property("RefineSolution", &TMtx1::RefineSolution, &TMtx1::SetRefineSolution, false)
          .Property("Rows", &TMtx1::Rows, &TMtx1::SetRows, 0)
          .Property("SuperDiag", &TMtx1::SuperDiag, &TMtx1::SetSuperDiag, 0)
          .Property("SubDiag", &TMtx1::SubDiag, &TMtx1::SetSubDiag, 0)
          .Property("TriangleForm", &TMtx1::TriangleForm, &TMtx1::SetTriangleForm, tfUpper)
          .TypeName("TTriangleForm")
          .Names({"tfLower", "tfUpper"})
          .Property("TriangleUnit", &TMtx1::TriangleUnit, &TMtx1::SetTriangleUnit, false)
          .Property("Tag", &TMtx1::Tag, &TMtx1::SetTag, 0)
          .Build();
  return info;
}

const classlib::TClassInfo& TMtx::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtx>("TMtx", TMtx1::StaticClassInfo()).Creatable().Build();
  return info;
}

// ---------------------------------------------------------------------------
// TMtx

TMtx& TMtx::Resize(std::int32_t ARows, std::int32_t ACols) {
  if (ARows == FRows && ACols == FCols) return *this;
  TCachedMtx saved;
  CopyInto(*saved, *this);
  Size(ARows, ACols, FComplex);
  const std::int32_t rows = std::min(ARows, saved->Rows());
  const std::int32_t doubles = std::min(ACols, saved->Cols()) * (FComplex ? 2 : 1);
  for (std::int32_t i = 0; i < rows; ++i) spl::nspdbCopy(saved->RowValues(i), RowValues(i), doubles);
  return *this;
}

TMtx& TMtx::ResizeCopy(const TMtx& Mtx, std::int32_t ARows, std::int32_t ACols, bool Transpose) {
  if (&Mtx == this) RaiseError("A = Self");
  const std::int32_t rows = std::min(ARows, Mtx.Rows());
  const std::int32_t cols = std::min(ACols, Mtx.Cols());
  if (Transpose) {
    Size(ACols, ARows, Mtx.Complex());
    if (FComplex) {
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < cols; ++j) CRowValues(j)[i] = Mtx.CRowValues(i)[j];
    } else {
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < cols; ++j) RowValues(j)[i] = Mtx.RowValues(i)[j];
    }
  } else {
    Size(ARows, ACols, Mtx.Complex());
    const std::int32_t doubles = cols * (FComplex ? 2 : 1);
    for (std::int32_t i = 0; i < rows; ++i) spl::nspdbCopy(Mtx.RowValues(i), RowValues(i), doubles);
  }
  return *this;
}

double TMtx::MeanSquare() const {
  if (FComplex) RaiseError("Complex = True");
  // The mean of the row means: for rows of equal length, the mean of all squares.
  double sumOfRowMeans = 0.0;
  for (std::int32_t i = 0; i < FRows; ++i) {
    const double* row = RowValues(i);
    double sum = 0.0;
    for (std::int32_t j = 0; j < FCols; ++j) sum += row[j] * row[j];
    sumOfRowMeans += sum / FCols;
  }
  return std::sqrt(sumOfRowMeans / FRows);
}

}  // namespace numeric
