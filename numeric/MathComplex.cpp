// Complex arithmetic of MathCore on TCplx. Tested by: numeric/tests/MathCoreTest.cpp,
// MathCoreOracleTest.cpp.
//
// Squares of parts are formed in long double, whose exponent range holds the
// square of any double: magnitudes and quotients neither overflow nor
// underflow where the result itself is representable.
#include <cmath>

#include "numeric/MathCore.h"
#include "numeric/VecChecks.h"

namespace numeric {

using detail::Quadrant;

namespace {

using Extended = long double;

TCplx Make(Extended re, Extended im) { return TCplx{static_cast<double>(re), static_cast<double>(im)}; }

Extended SquaredMagnitude(const TCplx& Z) {
  const Extended re = Z.Re;
  const Extended im = Z.Im;
  return re * re + im * im;
}

Extended Magnitude(const TCplx& Z) { return std::sqrt(SquaredMagnitude(Z)); }

// True when A has the larger angle of two numbers of equal magnitude; false
// for a complete tie.
bool LargerAngle(const TCplx& A, const TCplx& B) {
  const int qa = Quadrant(A);
  const int qb = Quadrant(B);
  if (qa != qb) return qa > qb;
  return qa >= 3 ? A.Re < B.Re : A.Re > B.Re;
}

}  // namespace

TCplx Cplx(double Re, double Im) { return TCplx{Re, Im}; }

TCplx CAdd(const TCplx& A, const TCplx& B) { return TCplx{A.Re + B.Re, A.Im + B.Im}; }
TCplx CSub(const TCplx& A, const TCplx& B) { return TCplx{A.Re - B.Re, A.Im - B.Im}; }

TCplx CMul(const TCplx& A, const TCplx& B) {
  const Extended ar = A.Re, ai = A.Im, br = B.Re, bi = B.Im;
  return Make(ar * br - ai * bi, ar * bi + ai * br);
}

TCplx CDiv(const TCplx& A, const TCplx& B) {
  const Extended ar = A.Re, ai = A.Im, br = B.Re, bi = B.Im;
  const Extended s = 1.0L / (br * br + bi * bi);
  return Make((ar * br + ai * bi) * s, (ai * br - ar * bi) * s);
}

TCplx CAddReal(const TCplx& Z, double R) { return TCplx{Z.Re + R, Z.Im}; }
TCplx CRSub(double R, const TCplx& Z) { return TCplx{R - Z.Re, -Z.Im}; }
TCplx CMulReal(const TCplx& Z, double R) { return TCplx{Z.Re * R, Z.Im * R}; }
TCplx CMulReal(double R, const TCplx& Z) { return CMulReal(Z, R); }

TCplx CDivReal(const TCplx& Z, double R) {
  const Extended s = 1.0L / static_cast<Extended>(R);
  return Make(Z.Re * s, Z.Im * s);
}

TCplx CRDiv(double R, const TCplx& Z) {
  const Extended s = static_cast<Extended>(R) / SquaredMagnitude(Z);
  return Make(Z.Re * s, -Z.Im * s);
}

TCplx CInv(const TCplx& Z) {
  const Extended s = 1.0L / SquaredMagnitude(Z);
  return Make(Z.Re * s, -Z.Im * s);
}

TCplx CConj(const TCplx& Z) { return TCplx{Z.Re, -Z.Im}; }
TCplx CNeg(const TCplx& Z) { return TCplx{-Z.Re, -Z.Im}; }

TCplx CSqr(const TCplx& Z) {
  const Extended re = Z.Re, im = Z.Im;
  return Make(re * re - im * im, 2.0L * re * im);
}

double CAbs(const TCplx& Z) { return static_cast<double>(Magnitude(Z)); }

TCplx CartToPolar(const TCplx& Z) { return TCplx{CAbs(Z), ArcTan2(Z.Im, Z.Re)}; }

TCplx CExpj(double X) {
  const Extended x = X;
  return Make(std::cos(x), std::sin(x));
}

TCplx CLn(const TCplx& Z) {
  return Make(std::log(Magnitude(Z)), std::atan2(static_cast<Extended>(Z.Im), static_cast<Extended>(Z.Re)));
}

TCplx CIntPower(const TCplx& Z, std::int32_t N) {
  if (N == 0) return C_ONE;
  const Extended m = IntPower(CAbs(Z), N);
  const Extended angle =
      static_cast<Extended>(N) * std::atan2(static_cast<Extended>(Z.Im), static_cast<Extended>(Z.Re));
  return Make(m * std::cos(angle), m * std::sin(angle));
}

// Principal root. The root of zero is zero: the textbook formula would divide
// 0 by 0 for the imaginary part.
TCplx CSqrt(const TCplx& Z) {
  const Extended m = Magnitude(Z);
  if (m == 0.0L) return C_ZERO;
  Extended t = std::sqrt((std::fabs(static_cast<Extended>(Z.Re)) + m) / 2.0L);
  const Extended u = static_cast<Extended>(Z.Im) / (2.0L * t);
  if (Z.Re >= 0.0) return Make(t, u);
  if (Z.Im < 0.0) t = -t;
  return Make(std::fabs(u), t);
}

bool CMax(const TCplx& A, const TCplx& B, TCplx& R) {
  const Extended ma = SquaredMagnitude(A);
  const Extended mb = SquaredMagnitude(B);
  bool chooseA;
  if (ma > mb) chooseA = true;
  else if (ma < mb) chooseA = false;
  else chooseA = LargerAngle(A, B);
  R = chooseA ? A : B;
  return chooseA;
}

bool CMin(const TCplx& A, const TCplx& B, TCplx& R) {
  const Extended ma = SquaredMagnitude(A);
  const Extended mb = SquaredMagnitude(B);
  bool chooseA;
  if (ma < mb) chooseA = true;
  else if (ma > mb) chooseA = false;
  else chooseA = LargerAngle(B, A);
  R = chooseA ? A : B;
  return chooseA;
}

}  // namespace numeric
