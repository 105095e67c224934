// Savitzky-Golay smoothing and differentiation filters: the polynomial
// least-squares fit over a frame, optionally weighted per sample.
// Tested by: dsp/tests/FirWindowDesignTest.cpp, dsp/tests/FirWindowDesignOracleTest.cpp
#include <cmath>
#include <cstdint>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TMtx;
using numeric::TVec;

void SavGolayDesign(TMtx& Smooth, TMtx& Diff, std::int32_t FrameSize, std::int32_t Order, const TVec* Weights) {
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
  numeric::TCachedMtx v, a, b;
  v->Size(terms, FrameSize, false);
  for (std::int32_t c = 0; c < FrameSize; ++c) {
    const double x = c - h;
    double p = 1.0;
    for (std::int32_t r = 0; r < terms; ++r) {
      v->RowValues(r)[c] = p;
      p *= x;
    }
  }
  // The coefficients c of the fit minimise sum_j w_j (V^T c - y)_j^2, so
  // Diff = (V W V^T)^-1 V W. It is solved as the least-squares problem
  // (W^1/2 V^T) Diff = W^1/2 by QR, which does not square the condition of
  // V as forming V W V^T would.
  a->Size(FrameSize, terms, false);
  b->Size(FrameSize, FrameSize, false);
  b->SetZero();
  for (std::int32_t c = 0; c < FrameSize; ++c) {
    const double root = Weights != nullptr ? std::sqrt(Weights->Values()[c]) : 1.0;
    for (std::int32_t r = 0; r < terms; ++r) a->RowValues(c)[r] = root * v->RowValues(r)[c];
    b->RowValues(c)[c] = root;
  }
  a->LQRSolve(*b, Diff);
  if (!a->ErrorText().empty()) RaiseError("SavGolayDesign: " + a->ErrorText());
  // Row c of Smooth gives the fitted value at frame position c: V^T Diff
  // (the same as Diff^T V when no weights make the fit unsymmetric).
  Smooth.Mul(*v, Diff, numeric::opTrans, numeric::opNone);
}

void SavGolayFilter(TVec& H, std::int32_t FrameSize, std::int32_t Order, const TVec* Weights) {
  numeric::TCachedMtx smooth, diff;
  SavGolayDesign(*smooth, *diff, FrameSize, Order, Weights);
  H.GetRow(*smooth, FrameSize / 2);
}

}  // namespace dsp
