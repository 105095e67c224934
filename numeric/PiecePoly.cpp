// The piecewise polynomial TPiecePoly and the piecewise-linear interpolant.
// Tested by: numeric/tests/PolynomsTest.cpp, PolynomsOracleTest.cpp.
#include "numeric/Polynoms.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/ObjectCache.h"

namespace numeric {

namespace {

constexpr double kSlopeThreshold = 5.56268464626801E-309;

}  // namespace

TPiecePoly::TPiecePoly() : FCoefficients(std::make_unique<TMtx>()), FBreaks(std::make_unique<TVec>()) {
  FBreaks->SetOnSetSize([this](TVec&) { BreaksResized(); });
  FCoefficients->SetOnSetSize([this](TMtx&) { CoefficientsResized(); });
}

TPiecePoly::~TPiecePoly() {
  FBreaks->SetOnSetSize(nullptr);
  FCoefficients->SetOnSetSize(nullptr);
}

void TPiecePoly::BreaksResized() {
  if (FResizing) return;
  FResizing = true;
  try {
    FCoefficients->Size(std::max(FBreaks->Length() - 1, 0), FCoefficients->Cols(), false);
  } catch (...) {
    FResizing = false;
    throw;
  }
  FResizing = false;
}

void TPiecePoly::CoefficientsResized() {
  if (FResizing) return;
  FResizing = true;
  try {
    FBreaks->SetLength(FCoefficients->Rows() + 1);
  } catch (...) {
    FResizing = false;
    throw;
  }
  FResizing = false;
}

std::int32_t TPiecePoly::Pieces() const { return std::max(FBreaks->Length() - 1, 0); }

std::int32_t TPiecePoly::Order() const { return FCoefficients->Cols(); }

void TPiecePoly::Evaluate(const TVec& X, TVec& Y) const {
  if (FBreaks->Length() <= 0 || FCoefficients->Rows() != FBreaks->Length() - 1)
    RaiseError("(FBreaks.Length <= 0) or (FCoefficients.Rows <> FBreaks.Length -1)");
  const std::int32_t n = Pieces();
  const std::int32_t k = Order();
  if (n < 1 || k < 1) RaiseError("TPiecePoly.Evaluate: no pieces to evaluate");
  if (X.Complex() || FCoefficients->Complex() || FBreaks->Complex())
    RaiseError("TPiecePoly.Evaluate: all vectors must be real!");

  const std::int32_t count = X.Length();
  const double* x = X.Values();
  const double* breaks = FBreaks->Values();
  // The piece of every point, found before Y changes, so that a refused X
  // leaves Y as it was.
  std::vector<std::int32_t> piece(static_cast<std::size_t>(count));
  if (FEquidistant) {
    const double inv = 1.0 / FStep;
    for (std::int32_t j = 0; j < count; ++j) {
      const double scaled = (x[j] - FOrigin) * inv;
      std::int32_t i = Trunc(scaled);
      // The last break closes the last piece.
      if (i == n && scaled == n) i = n - 1;
      if (i < 0 || i > n - 1) RaiseError("X values exceed defined interpolation range!");
      piece[static_cast<std::size_t>(j)] = i;
    }
  } else {
    for (std::int32_t j = 1; j < count; ++j)
      if (x[j] < x[j - 1]) RaiseError("TPiecePoly.Evaluate: X values must be ascending");
    if (FSequential) {
      std::int32_t i = count > 0 && x[0] >= breaks[n - 1] ? n - 1 : 0;
      for (std::int32_t j = 0; j < count; ++j) {
        while (x[j] > breaks[i + 1] && i < n - 1) ++i;
        piece[static_cast<std::size_t>(j)] = i;
      }
    } else {
      // The first piece from lo on whose end is not below x (the last piece
      // when none is); X ascends, so the search of a point starts at the
      // piece of the one before.
      std::int32_t lo = 0;
      for (std::int32_t j = 0; j < count; ++j) {
        std::int32_t left = lo, right = n - 1;
        while (left < right) {
          const std::int32_t mid = left + (right - left) / 2;
          if (x[j] > breaks[mid + 1])
            left = mid + 1;
          else
            right = mid;
        }
        lo = left;
        piece[static_cast<std::size_t>(j)] = left;
      }
    }
  }

  Y.Size(count, false);
  double* y = Y.Values();
  for (std::int32_t j = 0; j < count; ++j) {
    const std::int32_t i = piece[static_cast<std::size_t>(j)];
    const double* c = FCoefficients->RowValues(i);
    const double dx = x[j] - breaks[i];
    double value = c[0];
    for (std::int32_t m = 1; m < k; ++m) value = value * dx + c[m];
    y[j] = value;
  }
}

void Linear1D(const TVec& X, const TVec& Y, TPiecePoly& PiecePoly) {
  if (X.Length() != Y.Length()) RaiseError("Linear1D : X.Length <> Y.Length");
  if (X.Complex() || Y.Complex()) RaiseError("Linear1D : all vectors must be real!");
  if (X.Length() < 2) RaiseError("Linear1D : X.Length < 2");
  const std::int32_t n = X.Length();
  TCachedVec dX, dY, S;
  dX->Difference(X);
  dY->Difference(Y);
  S->Divide(*dY, *dX, kSlopeThreshold);
  PiecePoly.Breaks().Copy(X);
  PiecePoly.Coefficients().Size(n - 1, 2, false);
  PiecePoly.Coefficients().SetCol(*S, 0, 0, 0, n - 1);
  PiecePoly.Coefficients().SetCol(Y, 0, 0, 1, n - 1);
}

}  // namespace numeric
