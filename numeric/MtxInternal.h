// Internal to the matrix operations' sources: the views of a matrix that the
// BLAS and LAPACK faces take, their letter arguments, the blocked transposes
// that carry row-major storage to column-major routines and back, and the
// side-effect-free structure detection that the products use on operands
// they only read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

namespace numeric::detail {

inline void Require(bool ok, const char* message) {
  if (!ok) RaiseError(message);
}

inline lapack::Complex* Lz(TCplx* p) { return reinterpret_cast<lapack::Complex*>(p); }
inline const lapack::Complex* Lz(const TCplx* p) { return reinterpret_cast<const lapack::Complex*>(p); }
inline lapack::Complex Lz(const TCplx& c) { return lapack::Complex(c.Re, c.Im); }

inline lapack::Complex* Lz(TMtx& m) { return Lz(m.CValues()); }
inline const lapack::Complex* Lz(const TMtx& m) { return Lz(m.CValues()); }

// 'N', 'T' or 'C' for opNone, opTrans, opHerm; a real operand takes 'T' for
// opHerm, its conjugate transpose being its transpose.
inline char OperationLetter(TMtxOperation Operation, bool Complex) {
  switch (Operation) {
    case opNone:
      return 'N';
    case opTrans:
      return 'T';
    case opHerm:
      return Complex ? 'C' : 'T';
  }
  RaiseError("Operation not supported");
}

// The triangle a routine reads when it sees the matrix as stored: 'U' for
// tfUpper. A column-major routine handed the row-major block sees the
// transpose, whose data lies in the opposite triangle.
inline char TriangleLetter(TTriangleForm Form) { return Form == tfUpper ? 'U' : 'L'; }
inline char OppositeTriangleLetter(TTriangleForm Form) { return Form == tfUpper ? 'L' : 'U'; }
inline char DiagLetter(bool Unit) { return Unit ? 'U' : 'N'; }

inline TCplx Conjugated(const TCplx& z) { return TCplx{z.Re, -z.Im}; }
inline double Conjugated(double x) { return x; }

// dst (cols x rows) := src (rows x cols) transposed, conjugated when asked.
// Tiles keep both the rows read and the rows written in cache, so a large
// transpose runs at a few times memcpy's time rather than one cache miss per
// element.
template <class T>
void TransposeInto(const T* src, std::int32_t rows, std::int32_t cols, T* dst, bool conjugate) {
  constexpr std::ptrdiff_t kTile = sizeof(T) == sizeof(double) ? 32 : 16;
  const std::ptrdiff_t r = rows, c = cols;
  for (std::ptrdiff_t ii = 0; ii < r; ii += kTile) {
    const std::ptrdiff_t iEnd = std::min(ii + kTile, r);
    for (std::ptrdiff_t jj = 0; jj < c; jj += kTile) {
      const std::ptrdiff_t jEnd = std::min(jj + kTile, c);
      for (std::ptrdiff_t i = ii; i < iEnd; ++i) {
        const T* s = src + i * c;
        if (conjugate)
          for (std::ptrdiff_t j = jj; j < jEnd; ++j) dst[j * r + i] = Conjugated(s[j]);
        else
          for (std::ptrdiff_t j = jj; j < jEnd; ++j) dst[j * r + i] = s[j];
      }
    }
  }
}

// Dst := Src^T (Src^H when Conjugate), sized; Dst must not be Src.
inline void TransposeInto(const TMtx& Src, TMtx& Dst, bool Conjugate) {
  Dst.Size(Src.Cols(), Src.Rows(), Src.Complex());
  if (Src.ElementCount() == 0) return;
  if (Src.Complex())
    TransposeInto(Src.CValues(), Src.Rows(), Src.Cols(), Dst.CValues(), Conjugate);
  else
    TransposeInto(Src.Values(), Src.Rows(), Src.Cols(), Dst.Values(), false);
}

// The n x n block a (row length n) transposed in place, conjugated when asked
// (the diagonal too): tile pairs swapped across the diagonal.
template <class T>
void TransposeSquareInPlace(T* a, std::int32_t n, bool conjugate) {
  constexpr std::ptrdiff_t kTile = sizeof(T) == sizeof(double) ? 32 : 16;
  const std::ptrdiff_t m = n;
  auto fix = [conjugate](const T& v) { return conjugate ? Conjugated(v) : v; };
  for (std::ptrdiff_t ii = 0; ii < m; ii += kTile) {
    const std::ptrdiff_t iEnd = std::min(ii + kTile, m);
    for (std::ptrdiff_t jj = 0; jj <= ii; jj += kTile) {
      const std::ptrdiff_t jEnd = std::min(jj + kTile, m);
      for (std::ptrdiff_t i = ii; i < iEnd; ++i) {
        const std::ptrdiff_t last = jj == ii ? i : jEnd;  // strictly below the diagonal
        for (std::ptrdiff_t j = jj; j < last; ++j) {
          const T lower = a[i * m + j];
          a[i * m + j] = fix(a[j * m + i]);
          a[j * m + i] = fix(lower);
        }
      }
    }
  }
  if (conjugate)
    for (std::ptrdiff_t i = 0; i < m; ++i) a[i * m + i] = fix(a[i * m + i]);
}

// The structure of Mtx as TMtx.DetectMtxType finds it, without changing Mtx:
// Form receives the triangle that a triangular matrix's data lies in (it
// keeps its value for a matrix that is not square).
TMtxType DetectStructure(const TMtx& Mtx, bool TestPositive, TTriangleForm& Form);

inline std::string IntText(std::int32_t n) { return std::to_string(n); }

}  // namespace numeric::detail
