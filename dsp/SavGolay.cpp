// Savitzky-Golay smoothing and differentiation filters: the polynomial
// least-squares fit over a frame, optionally weighted per sample.
// Tested by: dsp/tests/FirWindowDesignTest.cpp, dsp/tests/FirWindowDesignOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TMtx;
using numeric::TVec;

namespace {

// Columns of the least-squares right-hand side solved at a time.
constexpr std::int32_t kColumnBlock = 256;

}  // namespace

namespace {

// Diff := the fit's coefficients per frame sample; v receives V.
void FitCoefficients(TMtx& Diff, TMtx& v, std::int32_t FrameSize, std::int32_t Order, const TVec* Weights) {
  if (FrameSize % 2 == 0) RaiseError("not Odd(FrameSize)!");
  if (!numeric::CheckRange(0, Order, FrameSize - 1)) RaiseError("not CheckRange(0,Order,FrameSize-1)");
  if (Weights != nullptr) {
    if (Weights->Length() != FrameSize) RaiseError("Weights.Length <> FrameSize!");
    if (Weights->Complex()) RaiseError("Weights = complex!");
    if (!(Weights->Min() > 0)) RaiseError("Weights.Min <= 0");
  }
  const std::int32_t h = FrameSize / 2;
  const std::int32_t terms = Order + 1;
  // V[r][c] = x_c^r for the abscissae x = -h .. h of the frame.
  numeric::TCachedMtx a, b;
  v.Size(terms, FrameSize, false);
  for (std::int32_t c = 0; c < FrameSize; ++c) {
    const double x = c - h;
    double p = 1.0;
    for (std::int32_t r = 0; r < terms; ++r) {
      v.RowValues(r)[c] = p;
      p *= x;
    }
  }
  // The coefficients c of the fit minimise sum_j w_j (V^T c - y)_j^2, so
  // Diff = (V W V^T)^-1 V W. It is solved as the least-squares problem
  // (W^1/2 V^T) Diff = W^1/2 by QR, which does not square the condition of
  // V as forming V W V^T would; the right-hand side's columns go in blocks,
  // so that a long frame needs no FrameSize x FrameSize matrix.
  a->Size(FrameSize, terms, false);
  std::vector<double> roots(FrameSize, 1.0);
  for (std::int32_t c = 0; c < FrameSize; ++c) {
    if (Weights != nullptr) roots[c] = std::sqrt(Weights->Values()[c]);
    for (std::int32_t r = 0; r < terms; ++r) a->RowValues(c)[r] = roots[c] * v.RowValues(r)[c];
  }
  Diff.Size(terms, FrameSize, false);
  numeric::TCachedMtx x;
  for (std::int32_t first = 0; first < FrameSize; first += kColumnBlock) {
    const std::int32_t count = std::min(kColumnBlock, FrameSize - first);
    b->Size(FrameSize, count, false);
    b->SetZero();
    for (std::int32_t j = 0; j < count; ++j) b->RowValues(first + j)[j] = roots[first + j];
    a->LQRSolve(*b, *x);
    if (!a->ErrorText().empty()) RaiseError("SavGolayDesign: " + a->ErrorText());
    for (std::int32_t r = 0; r < terms; ++r)
      std::copy(x->RowValues(r), x->RowValues(r) + count, Diff.RowValues(r) + first);
  }
}

}  // namespace

void SavGolayDesign(TMtx& Smooth, TMtx& Diff, std::int32_t FrameSize, std::int32_t Order, const TVec* Weights) {
  numeric::TCachedMtx v;
  FitCoefficients(Diff, *v, FrameSize, Order, Weights);
  // Row c of Smooth gives the fitted value at frame position c: V^T Diff
  // (the same as Diff^T V when no weights make the fit unsymmetric).
  Smooth.Mul(*v, Diff, numeric::opTrans, numeric::opNone);
}

void SavGolayFilter(TVec& H, std::int32_t FrameSize, std::int32_t Order, const TVec* Weights) {
  // The centre row of Smooth, without the FrameSize x FrameSize product: at
  // the centre x = 0, so the fitted value is the coefficient of x^0, row 0
  // of Diff (the product gives exactly that row).
  numeric::TCachedMtx v, diff;
  FitCoefficients(*diff, *v, FrameSize, Order, Weights);
  H.GetRow(*diff, 0);
}

}  // namespace dsp
