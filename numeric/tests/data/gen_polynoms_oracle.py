#!/usr/bin/python3
"""Writes polynoms_oracle.txt: reference roots, polynomials and interpolants.

Source of every expected value: numpy (numpy.roots, numpy.poly, numpy.interp).
Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_polynoms_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks
(repr, which reads back as the same double):
  roots;<coefficient re>;<coefficient im>;<root re>;<root im>
  poly;<root re>;<root im>;<coefficient re>;<coefficient im>
  interp;<X>;<Y>;<x>;<numpy.interp(x, X, Y)>
A real case has an empty imaginary field.
"""
import os

import numpy as np

rng = np.random.default_rng(20240611)
lines = []


def field(values):
    return " ".join(repr(float(v)) for v in values)


def add_roots(coefficients):
    c = np.asarray(coefficients)
    r = np.roots(c)
    im = field(c.imag) if np.iscomplexobj(c) else ""
    lines.append(";".join(["roots", field(c.real), im, field(np.real(r)), field(np.imag(r))]))


def add_poly(roots):
    r = np.asarray(roots)
    p = np.atleast_1d(np.poly(r))
    im_r = field(r.imag) if np.iscomplexobj(r) else ""
    im_p = field(np.imag(p)) if np.iscomplexobj(p) else ""
    lines.append(";".join(["poly", field(r.real), im_r, field(np.real(p)), im_p]))


# Real polynomials with well separated roots (real and complex pairs), from
# their roots, and random ones of degree 3 .. 12.
for roots in [[1.0, 2.0], [0.5, -1.5, 3.0], [1 + 2j, 1 - 2j, -0.5], [0.9, -0.3 + 0.7j, -0.3 - 0.7j, 4.0, -2.5]]:
    add_roots(np.real(np.poly(roots)))
for degree in range(3, 13):
    add_roots(rng.uniform(-2.0, 2.0, degree + 1))
# Complex coefficients.
for degree in [2, 3, 6]:
    add_roots(rng.uniform(-2.0, 2.0, degree + 1) + 1j * rng.uniform(-2.0, 2.0, degree + 1))
# Leading and trailing zero coefficients: numpy drops the leading ones and
# keeps a zero root per trailing one.
add_roots([0.0, 0.0, 1.0, -3.0, 2.0, 0.0])
add_roots([0.0, 2.0, -2.0, 0.0, 0.0])
add_roots([1.0, -1.0, 0.0])

for roots in [[], [1.0, 2.0], [3.0, -1.0, 0.25, 7.5], [1 + 1j, -2j, 0.5]]:
    add_poly(roots)

# Piecewise-linear interpolation inside the breaks.
for n in [2, 3, 10, 200]:
    X = np.cumsum(rng.uniform(0.1, 2.0, n)) - 3.0
    Y = rng.uniform(-5.0, 5.0, n)
    x = np.sort(rng.uniform(X[0], X[-1], 3 * n))
    x = np.concatenate([[X[0]], x, [X[-1]]])
    lines.append(";".join(["interp", field(X), field(Y), field(x), field(np.interp(x, X, Y))]))

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "polynoms_oracle.txt")
with open(out, "w") as f:
    f.write("\n".join(lines) + "\n")
print(f"{len(lines)} cases -> {out}")
