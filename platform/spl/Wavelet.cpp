// The wavelet state: the set-up's checks per family.
// Tested by: dsp/tests/FilterStatesTest.cpp
#include "platform/spl/Wavelet.h"

#include <string>

#include "platform/classlib/Exception.h"

namespace spl {

namespace {

[[noreturn]] void Refuse(const std::string& message) { throw classlib::Exception("WtInit: " + message); }

void CheckRange(const char* what, int value, int low, int high) {
  if (value < low || value > high)
    Refuse(std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(low) + " .. " +
           std::to_string(high));
}

void CheckBSpline(int par1, int par2) {
  CheckRange("par1", par1, 1, 3);
  const bool valid = par1 == 2 ? (par2 >= 2 && par2 <= 8 && par2 % 2 == 0)
                               : (par2 >= 1 && par2 <= (par1 == 1 ? 5 : 9) && par2 % 2 == 1);
  if (!valid)
    Refuse("par2 " + std::to_string(par2) + " is not a B-spline order that par1 " + std::to_string(par1) +
           " pairs with");
}

}  // namespace

void nspdWtInit(int par1, int par2, int dataOrder, int level, WtState& state, int wtType) {
  switch (wtType) {
    case NSP_Haar:
    case NSP_Vaidyanathan:
    case NSP_LinSpline:
    case NSP_QuadSpline: break;
    case NSP_Daublet: CheckRange("par1", par1, 1, 10); break;
    case NSP_Symmlet: CheckRange("par1", par1, 1, 7); break;
    case NSP_Coiflet: CheckRange("par1", par1, 1, 5); break;
    case NSP_BSpline:
    case NSP_BSplineDual: CheckBSpline(par1, par2); break;
    default: Refuse("unknown wavelet family " + std::to_string(wtType));
  }
  if (dataOrder < 1) Refuse("data order " + std::to_string(dataOrder) + " below 1");
  CheckRange("level", level, 1, dataOrder);
  state = WtState{true, wtType, par1, par2, dataOrder, level};
}

}  // namespace spl
