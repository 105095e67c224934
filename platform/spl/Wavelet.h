// The wavelet state of the signal-primitives layer: the family, its
// parameters and the decomposition that a wavelet transform of 2^dataOrder
// samples over `level` levels would use. Only the set-up is offered; nothing
// in the system transforms through it yet.
//
// Families and the parameters they take (a parameter a family does not take
// is kept unchecked):
//   NSP_Haar, NSP_Vaidyanathan, NSP_LinSpline, NSP_QuadSpline   none
//   NSP_Daublet      par1 1 .. 10
//   NSP_Symmlet      par1 1 .. 7
//   NSP_Coiflet      par1 1 .. 5
//   NSP_BSpline, NSP_BSplineDual
//                    par1 1 .. 3 with par2 in {1, 3, 5} (par1 1), {2, 4, 6, 8} (par1 2)
//                    or {1, 3, 5, 7, 9} (par1 3)
//
// Tested by: dsp/tests/FilterStatesTest.cpp
#pragma once

namespace spl {

enum : int {
  NSP_Haar = 1,
  NSP_Daublet,
  NSP_Symmlet,
  NSP_Coiflet,
  NSP_Vaidyanathan,
  NSP_BSpline,
  NSP_BSplineDual,
  NSP_LinSpline,
  NSP_QuadSpline,
};

struct WtState {
  bool Initialized = false;
  int WtType = 0;
  int Par1 = 0;
  int Par2 = 0;
  int DataOrder = 0;
  int Level = 0;
};

// Refuses (classlib::Exception, the state unchanged) an unknown family,
// parameters the family does not have, a data order below 1 or a level
// outside 1 .. dataOrder.
void nspdWtInit(int par1, int par2, int dataOrder, int level, WtState& state, int wtType);

}  // namespace spl
