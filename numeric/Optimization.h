// Optimization: two derivative-free minimisers of a user function. MinBrent
// finds the minimum of a function of one variable inside an interval by
// golden-section search and parabolic interpolation; Simplex minimises a
// function of several variables by a reflect-expand-contract-shrink simplex
// search. Both can write an iteration trace into a string list.
//
// No state survives a call; any thread may call them with its own objects.
//
// Tested by: numeric/tests/OptimizationTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace classlib {
class TPersistent;
class TStrings;
}  // namespace classlib

namespace numeric {

// The objective: called with the parameter values (one for MinBrent, the
// current vertex for Simplex), the caller's constant doubles and constant
// objects, which the minimisers pass through unchanged.
using TMinFunc = std::function<double(std::span<const double> Pars, std::span<const double> Consts,
                                      std::span<classlib::TPersistent* const> ObjConst)>;

// The abscissa XMin of the minimum of Fun inside [min(Ax, Bx), max(Ax, Bx)],
// to 2^-26 |x| + Tol/3; returns the passes made (at most MaxIter + 1).
// Verbose, when given, receives "MinBrent", "Iteration x" and one line per
// pass: its number from 0002 on, six blanks and x with |round(log10(Tol))|
// decimals. Errors of Fun pass through.
std::int32_t MinBrent(const TMinFunc& Fun, std::span<const double> Consts, double Ax, double Bx,
                      std::span<classlib::TPersistent* const> ObjConst, double& XMin, std::int32_t MaxIter,
                      double Tol, classlib::TStrings* Verbose = nullptr);

// Minimises Fun from the start point Pars; on return Pars holds the best
// vertex of the final simplex and FMin the value there. StopReason is 7 when
// the simplex shrank below Tol (the largest coordinate difference between
// its best and worst vertex), 6 when the iterations passed MaxIter (also
// when both happen in the same iteration). Returns the iterations made.
// Vertices moved by a shrink are evaluated again. Verbose, when given,
// receives "Simplex", "Iteration Fun" and one line per iteration: its number
// from 0000 on, six blanks and the best value so far. Errors of Fun pass
// through.
std::int32_t Simplex(const TMinFunc& Fun, std::span<double> Pars, std::span<const double> Consts,
                     std::span<classlib::TPersistent* const> ObjConst, double& FMin, std::uint8_t& StopReason,
                     std::int32_t MaxIter, double Tol, classlib::TStrings* Verbose = nullptr);

}  // namespace numeric
