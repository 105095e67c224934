// TMtx.Inv: the inverse in place through LAPACK, by matrix type (Cholesky,
// Bunch-Kaufman, triangular, LU). Failures are left in the error text and the
// LAPACK status word, not raised.
// Tested by: numeric/tests/MtxInverseTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

namespace numeric {

using detail::IntText;
using detail::Lz;

namespace {

// The texts of one inversion path.
struct TInverseTexts {
  const char* Invalid;  // after the status, for a status < 0
  // A factorisation status n > 0: Head n Tail, or Head n "," n Tail.
  const char* SingularHead;
  bool SingularTwice;
  const char* SingularTail;
  const char* Inversion;  // followed by the status
};

// The routines compute one triangle of the symmetric inverse; the other
// still holds the input. Mirror the computed one over it (conjugated for the
// Hermitian routines) so that the block is the inverse. With 'U' LAPACK's
// upper triangle of the transpose it sees is the row-major lower one.
template <class T>
void MirrorTriangle(T* a, std::ptrdiff_t n, char uplo, bool conjugate) {
  const bool fromLower = uplo == 'U';
  for (std::ptrdiff_t i = 0; i < n; ++i)
    for (std::ptrdiff_t j = i + 1; j < n; ++j) {
      T& upper = a[i * n + j];
      T& lower = a[j * n + i];
      if (fromLower)
        upper = conjugate ? detail::Conjugated(lower) : lower;
      else
        lower = conjugate ? detail::Conjugated(upper) : upper;
    }
}

}  // namespace

void TMtx::Inv(TMtxType MtxType) {
  FErrorText.clear();
  if (ElementCount() == 0) return;
  if (FRows != FCols) RaiseError("Quadratic = False");
  // The letters follow the detection, which finds the triangle a
  // triangular matrix's data is in.
  MtxType = EffectiveType(MtxType);
  const char uplo = detail::TriangleLetter(FTriangleForm);
  const char triangle = detail::OppositeTriangleLetter(FTriangleForm);
  const char diag = detail::DiagLetter(FTriangleUnit);
  // A real Hermitian matrix is a symmetric one.
  if (!FComplex && MtxType == mtHermitian) MtxType = mtSymmetric;

  const std::int32_t n = FRows;
  const std::int32_t lwork = 32 * n;
  TCachedVec work;
  work->Size(lwork, FComplex);
  std::vector<int> ipiv(static_cast<std::size_t>(n));
  double* a = FData;
  lapack::Complex* z = Lz(*this);
  double* w = work->Values();
  lapack::Complex* zw = Lz(work->CValues());

  // Runs the factorisation, then the inversion when it succeeded; true when
  // both did.
  auto run = [this](const TInverseTexts& t, auto factor, auto invert) {
    int info = factor();
    FLapackStatus = info;
    if (info < 0) FErrorText = IntText(info) + t.Invalid;
    if (info > 0)
      FErrorText = t.SingularHead + IntText(info) + (t.SingularTwice ? "," + IntText(info) : "") + t.SingularTail;
    if (info != 0) return false;
    info = invert();
    FLapackStatus = info;
    if (info != 0) FErrorText = t.Inversion + IntText(info);
    return info == 0;
  };

  // The symmetric routines leave one triangle; the Hermitian ones (complex
  // Cholesky and ZHETRF) mirror it conjugated.
  auto mirror = [&](bool hermitian) {
    if (FComplex)
      MirrorTriangle(CValues(), n, uplo, hermitian);
    else
      MirrorTriangle(a, n, uplo, false);
  };
  bool done = false;
  switch (MtxType) {
    case mtSymmPosDef:
    case mtHermPosDef: {
      const TInverseTexts t{" parameter is invalid!", "Cholesky: leading minor of order ", false,
                            "is not positive definite",
                            FComplex ? "Cholesky: Erorr at inverse: " : "Erorr at inverse: "};
      auto zFactor = [&] { return lapack::ZPOTRF(uplo, n, z, n); };
      auto zInvert = [&] { return lapack::ZPOTRI(uplo, n, z, n); };
      auto dFactor = [&] { return lapack::DPOTRF(uplo, n, a, n); };
      auto dInvert = [&] { return lapack::DPOTRI(uplo, n, a, n); };
      done = FComplex ? run(t, zFactor, zInvert) : run(t, dFactor, dInvert);
      if (done) mirror(true);
      return;
    }
    case mtSymmetric: {
      const TInverseTexts t{"parameter is invalid!", "Bunch Kauffman: singular at D(", true, ") = 0",
                            FComplex ? "Bunch-Kauffman: Erorr at inverse: " : "Bunch-Kauffman: Erorr at inverse:"};
      auto zFactor = [&] { return lapack::ZSYTRF(uplo, n, z, n, ipiv.data(), zw, lwork); };
      auto zInvert = [&] { return lapack::ZSYTRI(uplo, n, z, n, ipiv.data(), zw); };
      auto dFactor = [&] { return lapack::DSYTRF(uplo, n, a, n, ipiv.data(), w, lwork); };
      auto dInvert = [&] { return lapack::DSYTRI(uplo, n, a, n, ipiv.data(), w); };
      done = FComplex ? run(t, zFactor, zInvert) : run(t, dFactor, dInvert);
      if (done) mirror(false);
      return;
    }
    case mtHermitian: {
      const TInverseTexts t{"parameter is invalid!", "Factorization: U(", true, ") = 0 (singular)",
                            "Factorization: Erorr at inverse: "};
      auto factor = [&] { return lapack::ZHETRF(uplo, n, z, n, ipiv.data(), zw, lwork); };
      auto invert = [&] { return lapack::ZHETRI(uplo, n, z, n, ipiv.data(), zw); };
      if (run(t, factor, invert)) mirror(true);
      return;
    }
    case mtTriangle: {
      const int info = FComplex ? lapack::ZTRTRI(triangle, diag, n, z, n) : lapack::DTRTRI(triangle, diag, n, a, n);
      FLapackStatus = info;
      if (info != 0) FErrorText = "Triangle: Erorr at inverse:" + IntText(info);
      return;
    }
    case mtGeneral: {
      const TInverseTexts t{"parameter is invalid!", "LU factorization: U(", true, ") = 0 (singular)",
                            FComplex ? "Factorization: Erorr at inverse: " : "LU factorization: Erorr at inverse: "};
      auto zFactor = [&] { return lapack::ZGETRF(n, n, z, n, ipiv.data()); };
      auto zInvert = [&] { return lapack::ZGETRI(n, z, n, ipiv.data(), zw, lwork); };
      auto dFactor = [&] { return lapack::DGETRF(n, n, a, n, ipiv.data()); };
      auto dInvert = [&] { return lapack::DGETRI(n, a, n, ipiv.data(), w, lwork); };
      if (FComplex)
        run(t, zFactor, zInvert);
      else
        run(t, dFactor, dInvert);
      return;
    }
    default:
      RaiseError("MtxType not supported");
  }
}

}  // namespace numeric
