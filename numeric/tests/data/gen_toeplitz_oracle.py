#!/usr/bin/python3
"""Writes toeplitz_oracle.txt: reference solutions of Toeplitz systems.

Source of every expected value: scipy.linalg.solve_toeplitz. Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_toeplitz_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks
(repr), each complex field as real parts then imaginary parts ("re...|im..."):
  levinson;<Row>;<Col>;<Y>;<X>;<K>   T X = Y with first row Row and first
                                 column below the diagonal Col
  yule;<R>;<A>;<K>               A = (1, a) with T a = -r[1:], T[i][j] =
                                 r[i-j] (i >= j) and conj(r[j-i]) above
K is T's infinity-norm condition number.
"""
import os

import numpy as np
import scipy.linalg

rng = np.random.default_rng(20240612)
lines = []


def field(values):
    v = np.asarray(values)
    if np.iscomplexobj(v):
        return " ".join(repr(float(x)) for x in v.real) + "|" + " ".join(repr(float(x)) for x in v.imag)
    return " ".join(repr(float(x)) for x in v)


def add_levinson(row, col, y):
    # scipy takes the first column c (with the diagonal) and the first row r.
    c = np.concatenate([[row[0]], col])
    x = scipy.linalg.solve_toeplitz((c, row), y)
    kappa = np.linalg.cond(scipy.linalg.toeplitz(c, row), np.inf)
    lines.append(";".join(["levinson", field(row), field(col), field(y), field(x), repr(float(np.real(kappa)))]))


def add_yule(r):
    r = np.asarray(r)
    c = r[:-1]
    a = scipy.linalg.solve_toeplitz((c, np.conj(c)), -r[1:])
    kappa = np.linalg.cond(scipy.linalg.toeplitz(c, np.conj(c)), np.inf) if len(c) else 1.0
    lines.append(";".join(["yule", field(r), field(np.concatenate([[1.0], a])), repr(float(np.real(kappa)))]))


# Non-symmetric, diagonally dominant systems, real and complex.
for n in [1, 2, 3, 5, 8, 20, 64]:
    row = rng.uniform(-1.0, 1.0, n)
    row[0] = n + 1.0
    col = rng.uniform(-1.0, 1.0, n - 1)
    add_levinson(row, col, rng.uniform(-3.0, 3.0, n))
for n in [2, 4, 9]:
    row = rng.uniform(-1.0, 1.0, n) + 1j * rng.uniform(-1.0, 1.0, n)
    row[0] = n + 1.0 + 0.5j
    col = rng.uniform(-1.0, 1.0, n - 1) + 1j * rng.uniform(-1.0, 1.0, n - 1)
    add_levinson(row, col, rng.uniform(-3.0, 3.0, n) + 1j * rng.uniform(-3.0, 3.0, n))

# Autocorrelations of random signals (positive definite), real and complex.
for n in [2, 3, 5, 12, 30]:
    s = rng.standard_normal(200)
    r = np.array([np.dot(s[: 200 - k], s[k:]) / 200 for k in range(n)])
    add_yule(r)
add_yule([3.0, 1.0, 0.5, 0.2, 0.1])
for n in [3, 7]:
    s = rng.standard_normal(200) + 1j * rng.standard_normal(200)
    r = np.array([np.vdot(s[: 200 - k], s[k:]) / 200 for k in range(n)])
    add_yule(r)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "toeplitz_oracle.txt")
with open(out, "w") as f:
    f.write("\n".join(lines) + "\n")
print(f"{len(lines)} cases -> {out}")
