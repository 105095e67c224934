// Polynoms: polynomials held in a TVec as coefficients in descending powers
// (element 0 multiplies the highest power), conversion between roots and
// coefficients, and TPiecePoly, a piecewise polynomial evaluated at many
// abscissae at once, with Linear1D building the piecewise-linear interpolant.
//
// Tested by: numeric/tests/PolynomsTest.cpp, PolynomsOracleTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "numeric/Mtx.h"
#include "numeric/Vec.h"

namespace numeric {

// Poly := the monic polynomial whose roots are Roots: Roots.Length + 1
// coefficients of Roots' kind. No roots give the polynomial 1.
void PolyFromRoots(const TVec& Roots, TVec& Poly);

// Roots := the roots of Poly, exactly as many as its degree once leading
// zero coefficients are dropped: one zero root first for each trailing zero
// coefficient, then the eigenvalues of the companion matrix (complex). A
// polynomial of degree 1 gives its root in Poly's kind; a constant gives no
// root (real, empty), with the zero roots of its trailing zeros. A NaN or an
// infinite coefficient raises "PolyRoots: coefficients must be finite", a
// Poly without a coefficient other than 0 "PolyRoots: all coefficients are
// 0", and a failed eigenvalue iteration "PolyRoots: " and its error text.
void PolyRoots(TVec& Roots, const TVec& Poly);

// Core := Poly[First .. Last], First and Last the positions of the first and
// the last coefficient that is not 0 (a complex one is 0 when both parts
// are). A Poly without such a coefficient raises "StripZeros: all
// coefficients are 0".
void StripZeros(const TVec& Poly, TVec& Core, std::int32_t& First, std::int32_t& Last);

// A piecewise polynomial: row i of Coefficients holds piece i in descending
// powers of (x - Breaks[i]); piece i covers [Breaks[i], Breaks[i+1]], so
// there is one more break than pieces. Resizing either object resizes the
// other to match: Coefficients gets max(Breaks.Length - 1, 0) rows (real,
// its columns kept), Breaks gets Coefficients.Rows + 1 elements.
class TPiecePoly {
 public:
  TPiecePoly();
  ~TPiecePoly();
  TPiecePoly(const TPiecePoly&) = delete;
  TPiecePoly& operator=(const TPiecePoly&) = delete;

  TVec& Breaks() { return *FBreaks; }
  const TVec& Breaks() const { return *FBreaks; }
  TMtx& Coefficients() { return *FCoefficients; }
  const TMtx& Coefficients() const { return *FCoefficients; }

  // Breaks.Length - 1, at least 0; the coefficients per piece.
  std::int32_t Pieces() const;
  std::int32_t Order() const;

  // The spacing of equally spaced breaks, and whether the piece of x is
  // computed from it (trunc((x - Origin) / Step)) instead of searched.
  double Step() const { return FStep; }
  void SetRange(double Step) { FStep = Step; }
  bool Equidistant() const { return FEquidistant; }
  void SetFlag(bool Value) { FEquidistant = Value; }
  double Origin() const { return FOrigin; }
  void SetOrigin(double Value) { FOrigin = Value; }
  // The search: forward from the previous point (True), or by bisection.
  bool Sequential() const { return FSequential; }
  void SetSequential(bool Value) { FSequential = Value; }

  // Y := the piecewise polynomial at every element of X, by Horner's rule on
  // the piece of each x; outside the breaks the first or last piece
  // extrapolates. Searched pieces need X ascending. Checks, before anything
  // changes: no breaks or a coefficient row count other than Pieces raises
  // "(FBreaks.Length <= 0) or (FCoefficients.Rows <> FBreaks.Length -1)"; no
  // piece or no coefficient "TPiecePoly.Evaluate: no pieces to evaluate"; a
  // complex X or Coefficients "TPiecePoly.Evaluate: all vectors must be
  // real!"; a searched X that descends somewhere "TPiecePoly.Evaluate: X
  // values must be ascending"; an equidistant x whose piece lies outside the
  // pieces "X values exceed defined interpolation range!" (x exactly at the
  // last break takes the last piece).
  void Evaluate(const TVec& X, TVec& Y) const;

 private:
  void BreaksResized();
  void CoefficientsResized();

  std::unique_ptr<TMtx> FCoefficients;
  std::unique_ptr<TVec> FBreaks;
  bool FEquidistant = false;
  double FStep = 1.0;
  bool FSequential = true;
  double FOrigin = 0.0;
  // Set while one size event adjusts the other object, so that the other's
  // event does not answer back.
  bool FResizing = false;
};

// PiecePoly := the piecewise-linear interpolant through (X[i], Y[i]): the
// breaks are X, and piece i is S[i] (x - X[i]) + Y[i] with the slope S[i] of
// the segment (divided with the threshold 5.56268464626801e-309). X.Length
// <> Y.Length raises "Linear1D : X.Length <> Y.Length", a complex X or Y
// "Linear1D : all vectors must be real!", fewer than two points "Linear1D :
// X.Length < 2".
void Linear1D(const TVec& X, const TVec& Y, TPiecePoly& PiecePoly);

}  // namespace numeric
