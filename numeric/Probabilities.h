// Probabilities: the inverse of the normal distribution through the inverse
// error function, the error function, and the regularized incomplete gamma
// function on which they rest.
//
// Free functions without state; any thread may call them. The series and the
// continued fraction stop after a fixed number of terms and give NaN when
// they have not converged by then, so no argument makes them run forever.
//
// Tested by: numeric/tests/SpecialFuncsTest.cpp, SpecialFuncsOracleTest.cpp.
#pragma once

namespace numeric {

// The x with Phi((x - Mean) / StdDev) = P: NAN unless 0 <= P <= 1 and
// StdDev > 0; -INF for P = 0 and INF for P = 1.
double NormalCDFInv(double P, double Mean, double StdDev);
// The x with erf(x) = y: a rational first guess refined by two Newton steps.
// y = -1 and 1 give -INF and INF; |y| > 1 raises "abs(y) > 0"; NaN gives NaN.
double ErfInv(double y);
// The error function: GammaP(0.5, X^2), negated for X < 0.
double Erf(double X);
// The regularized lower incomplete gamma function P(A, X); 0 unless A > 0
// and X > 0; 1 for X = INF. The series below A + 1, else 1 - the fraction.
double GammaP(double A, double X);
// P(A, X) by its series and Q(A, X) = 1 - P(A, X) by a continued fraction
// (modified Lentz). Each gives NAN when it has not converged within
// IncGammaMaxIterations terms.
double IncGammaSeries(double A, double X);
double IncGammaCF(double A, double X);

inline constexpr int IncGammaMaxIterations = 10000;

}  // namespace numeric
