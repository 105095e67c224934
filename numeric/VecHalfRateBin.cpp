// The half-rate bin that travels with a spectrum: its accessors, and the
// carrying of it through the operations that state what becomes of it.
// Tested by: numeric/tests/VecHalfRateBinTest.cpp
#include <utility>

#include "numeric/Numora.h"

namespace numeric {

TCplx TVecs::HalfRateBin() const {
  if (!FHalfRateBinKnown) RaiseError("HalfRateBin: the half-rate bin is unknown");
  return FHalfRateBin;
}

void TVecs::SetHalfRateBin(const TCplx& Value) {
  // Only a spectrum (complex) has one: a real vector reads its samples alone.
  if (!FComplex) RaiseError("SetHalfRateBin: Complex = False");
  FHalfRateBin = Value;
  FHalfRateBinKnown = true;
}

std::optional<TCplx> TVec::KnownHalfRateBin() const {
  if (!HalfRateBinKnown()) return std::nullopt;
  return HalfRateBin();
}

TVec& TVec::CarryHalfRateBin(const std::optional<TCplx>& A, const std::optional<TCplx>& B,
                             const THalfRateChange& Change) {
  ForgetHalfRateBin();
  if (!A || !B || !Complex()) return *this;
  TVec *out = nullptr, *a = nullptr, *b = nullptr;
  CreateIt(out, a, b);
  try {
    out->Size(1, true);
    out->CValues()[0] = *A;
    a->Size(1, true);
    a->CValues()[0] = *A;
    b->Size(1, true);
    b->CValues()[0] = *B;
    Change(*out, *a, *b);
    if (out->Complex() && out->Length() == 1) SetHalfRateBin(std::as_const(*out).CValues()[0]);
  } catch (...) {
    FreeIt(out, a, b);
    throw;
  }
  FreeIt(out, a, b);
  return *this;
}

}  // namespace numeric
