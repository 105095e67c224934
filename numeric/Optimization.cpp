// Brent's one-dimensional minimiser and the Nelder-Mead simplex.
// Tested by: numeric/tests/OptimizationTest.cpp.
#include "numeric/Optimization.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numeric/Mtx.h"
#include "numeric/ObjectCache.h"
#include "numeric/Vec.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"

namespace numeric {

namespace {

constexpr double kSqrtEps = 1.4901161194e-08;  // 2^-26
constexpr double kLargestBelowMax = 1.7976931348623155e308;

// The decimals of a traced value: |round(log10(Tol))|, within what the
// fixed format can show.
int TraceDigits(double Tol) {
  const double l = std::log10(Tol);
  if (!std::isfinite(l)) return 0;
  return static_cast<int>(std::min(std::fabs(std::nearbyint(l)), 18.0));
}

std::string TraceLine(std::int32_t Number, double Value, int Digits) {
  return classlib::FormatFloat("0000", Number) + "      " +
         classlib::FloatToStrF(Value, classlib::ffFixed, 1, Digits);
}

// +|tol1| with the sign of Source; a zero source counts as positive.
double WithSignOf(double Tol1, double Source) { return Source >= 0.0 ? std::fabs(Tol1) : -std::fabs(Tol1); }

}  // namespace

std::int32_t MinBrent(const TMinFunc& Fun, std::span<const double> Consts, double Ax, double Bx,
                      std::span<classlib::TPersistent* const> ObjConst, double& XMin, std::int32_t MaxIter,
                      double Tol, classlib::TStrings* Verbose) {
  const double c = (3.0 - std::sqrt(5.0)) / 2.0;
  double a = Ax < Bx ? Ax : Bx;
  double b = Ax < Bx ? Bx : Ax;
  double x = a + c * (b - a);
  double w = x, v = x;
  double d = 0.0, e = 0.0;
  auto f = [&](double at) { return Fun(std::span<const double>(&at, 1), Consts, ObjConst); };
  double fx = f(x);
  double fw = fx, fv = fx;
  const int digits = TraceDigits(Tol);
  if (Verbose != nullptr) {
    Verbose->Add("MinBrent");
    Verbose->Add("Iteration x");
  }

  std::int32_t k = 0;
  for (;;) {
    const double xm = (a + b) / 2.0;
    const double tol1 = kSqrtEps * std::fabs(x) + Tol / 3.0;
    const double tol2 = 2.0 * tol1;
    if (!(std::fabs(x - xm) > tol2 - (b - a) / 2.0 && k <= MaxIter)) break;
    ++k;
    if (Verbose != nullptr) Verbose->Add(TraceLine(k + 1, x, digits));

    bool golden = true;
    if (std::fabs(e) > tol1) {
      double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2.0 * (q - r);
      if (q > 0.0) p = -p;
      q = std::fabs(q);
      r = e;
      e = d;
      if (!(std::fabs(p) >= std::fabs(q * r / 2.0) || p <= q * (a - x) || p >= q * (b - x))) {
        golden = false;
        d = p / q;
        const double u = x + d;
        if (u - a < tol2 || b - u < tol2) d = WithSignOf(tol1, xm - x);
      }
    }
    if (golden) {
      e = x >= xm ? a - x : b - x;
      d = c * e;
    }
    const double u = std::fabs(d) >= tol1 ? x + d : x + WithSignOf(tol1, d);
    const double fu = f(u);
    if (fu <= fx) {
      if (u >= x)
        a = x;
      else
        b = x;
      v = w;
      fv = fw;
      w = x;
      fw = fx;
      x = u;
      fx = fu;
    } else {
      if (u < x)
        a = u;
      else
        b = u;
      if (fu <= fw || w == x) {
        v = w;
        fv = fw;
        w = u;
        fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u;
        fv = fu;
      }
    }
  }
  XMin = x;
  return k;
}

std::int32_t Simplex(const TMinFunc& Fun, std::span<double> Pars, std::span<const double> Consts,
                     std::span<classlib::TPersistent* const> ObjConst, double& FMin, std::uint8_t& StopReason,
                     std::int32_t MaxIter, double Tol, classlib::TStrings* Verbose) {
  const auto n = static_cast<std::int32_t>(Pars.size());
  TCachedMtx vertices;
  TCachedVec values, centroid, trial, expanded;
  TMtx& P = *vertices;
  P.Size(n + 1, n, false);
  values->Size(n + 1, false);
  centroid->Size(n, false);
  trial->Size(n, false);
  expanded->Size(n, false);
  double* Y = values->Values();
  double* C = centroid->Values();
  double* R = trial->Values();
  double* E = expanded->Values();
  auto eval = [&](const double* point) {
    return Fun(std::span<const double>(point, static_cast<std::size_t>(n)), Consts, ObjConst);
  };
  auto replace = [&](std::int32_t row, const double* point, double value) {
    std::copy(point, point + n, P.RowValues(row));
    Y[row] = value;
  };

  for (std::int32_t i = 0; i <= n; ++i) std::copy(Pars.begin(), Pars.end(), P.RowValues(i));
  for (std::int32_t i = 0; i < n; ++i) {
    double& p = P.RowValues(i)[i];
    p = p == 0.0 ? 0.0025 : p * 1.05;
  }
  for (std::int32_t i = 0; i <= n; ++i) Y[i] = eval(P.RowValues(i));

  const int digits = TraceDigits(Tol);
  if (Verbose != nullptr) {
    Verbose->Add("Simplex");
    Verbose->Add("Iteration Fun");
  }
  StopReason = 0;
  double best = kLargestBelowMax;
  std::int32_t counter = 0;
  while (StopReason == 0) {
    std::int32_t ilo = 0, ihi = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
      if (Y[i] < Y[ilo])
        ilo = i;
      else if (Y[i] > Y[ihi])
        ihi = i;
    }
    if (Y[ilo] < best) best = Y[ilo];
    if (Verbose != nullptr) Verbose->Add(TraceLine(counter, best, digits));

    const double* W = P.RowValues(ihi);
    for (std::int32_t j = 0; j < n; ++j) {
      double sum = 0.0;
      for (std::int32_t i = 0; i <= n; ++i)
        if (i != ihi) sum += P.RowValues(i)[j];
      C[j] = sum / n;
    }
    for (std::int32_t j = 0; j < n; ++j) R[j] = 2.0 * C[j] - W[j];
    const double fR = eval(R);
    if (fR < Y[ilo]) {
      for (std::int32_t j = 0; j < n; ++j) E[j] = 3.0 * R[j] - 2.0 * C[j];
      const double fE = eval(E);
      if (fE < Y[ilo])
        replace(ihi, E, fE);
      else
        replace(ihi, R, fR);
    } else {
      bool worseExists = false;
      for (std::int32_t i = 0; i <= n; ++i)
        if (i != ihi && Y[i] > fR) worseExists = true;
      if (worseExists) {
        replace(ihi, R, fR);
      } else {
        if (fR <= Y[ihi]) replace(ihi, R, fR);
        const double* worst = P.RowValues(ihi);
        for (std::int32_t j = 0; j < n; ++j) E[j] = (worst[j] + C[j]) / 2.0;
        const double fK = eval(E);
        if (fK <= Y[ihi]) {
          replace(ihi, E, fK);
        } else {
          // Shrink toward the best vertex; the moved vertices are evaluated
          // again, or the next ranking would sort them by stale values.
          const double* low = P.RowValues(ilo);
          for (std::int32_t i = 0; i <= n; ++i) {
            if (i == ilo) continue;
            double* row = P.RowValues(i);
            for (std::int32_t j = 0; j < n; ++j) row[j] = (row[j] + low[j]) / 2.0;
            Y[i] = eval(row);
          }
        }
      }
    }
    double delta = 0.0;
    for (std::int32_t j = 0; j < n; ++j)
      delta = std::max(delta, std::fabs(P.RowValues(ihi)[j] - P.RowValues(ilo)[j]));
    ++counter;
    if (delta < Tol)
      StopReason = 7;
    else if (counter > MaxIter)
      StopReason = 6;
  }
  if (counter > MaxIter) StopReason = 6;
  // The best vertex of the final simplex: the last update may have put a
  // better one in the place of the worst.
  std::int32_t bestRow = 0;
  for (std::int32_t i = 1; i <= n; ++i)
    if (Y[i] < Y[bestRow]) bestRow = i;
  std::copy(P.RowValues(bestRow), P.RowValues(bestRow) + n, Pars.begin());
  FMin = Y[bestRow];
  return counter;
}

}  // namespace numeric
