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

#include "numeric/MtxStorage.h"

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
};

}  // namespace numeric
