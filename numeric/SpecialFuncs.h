// SpecialFuncs: the complete elliptic integrals of the first and second kind
// and the Jacobi elliptic functions, both by the arithmetic-geometric mean.
//
// Free functions without state; any thread may call them. The iterations run
// while a term exceeds Tol; a Tol below EPS (zero, negative or NaN included)
// is taken as EPS, and an iteration that has not converged within
// EllipMaxIterations steps gives NaN, so no argument makes them run forever.
//
// Tested by: numeric/tests/SpecialFuncsTest.cpp, SpecialFuncsOracleTest.cpp.
#pragma once

#include "numeric/MathCore.h"

namespace numeric {

inline constexpr int EllipMaxIterations = 128;

// K(m), the complete elliptic integral of the first kind for the parameter m
// (= k^2); E receives E(m), that of the second kind. m = 1 gives K = INF and
// E = 1. m outside [0, 1] (or NaN) raises "EllipComplete: (m < 0) or (1 < m)".
double EllipComplete(double m, double Tol, double& E);
// K(m) with Tol = EPS.
double EllipComplete(double m);
// sn, cn and dn of U for the parameter m, by the descending Landen sequence;
// m = 1 gives tanh U, sech U, sech U. m outside [0, 1] (or NaN) raises
// "EllipJacoby: (m < 0) or (1 < m)".
void EllipJacoby(double U, double m, double Tol, double& Sn, double& Cn, double& Dn);

}  // namespace numeric
