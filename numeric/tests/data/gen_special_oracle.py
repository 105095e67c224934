#!/usr/bin/python3
"""Writes special_oracle.csv: reference values of the probability and special functions.

Source of every expected value: scipy.special (ndtri, erfinv, erf, gammainc,
gammaincc, ellipk, ellipe, ellipj) and numpy (tanh, cosh). Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_special_oracle.py

Columns: function, three inputs, three expected outputs (unused ones 0).
Values are printed with repr, which reads back as the same double.
"""
import csv
import os

import numpy as np
import scipy.special as sp

rows = []


def add(name, inputs, outputs):
    inputs = list(inputs) + [0.0] * (3 - len(inputs))
    outputs = list(outputs) + [0.0] * (3 - len(outputs))
    rows.append([name] + [repr(float(v)) for v in inputs] + [repr(float(v)) for v in outputs])


# NormalCDFInv(P, Mean, StdDev): central values, then both tails decade by decade.
central = [0.02, 0.05, 0.1, 0.16, 0.25, 0.3, 0.4, 0.45, 0.5, 0.55, 0.6, 0.7, 0.75, 0.84, 0.9, 0.95, 0.975,
           0.98]
tails = []
for k in range(2, 17):
    tails += [10.0 ** -k, 3.0 * 10.0 ** -k]
for p in central + tails + [1.0 - t for t in tails if 1.0 - t < 1.0]:
    add("NormalCDFInv", [p, 0.0, 1.0], [sp.ndtri(p)])
for p, mean, sd in [(0.3, 3.0, 2.0), (0.975, -1.5, 0.25), (1e-5, 100.0, 15.0), (0.999, 1e3, 1e-3)]:
    add("NormalCDFInv", [p, mean, sd], [sp.ndtri(p) * sd + mean])

# ErfInv(y): the central range, then y approaching +-1 decade by decade.
for y in [0.0, 1e-300, 1e-100, 1e-20, 1e-8, 0.001, 0.1, 0.3, 0.5, 0.69, 0.7, 0.71, 0.8, 0.9, 0.95, 0.99,
          -0.2, -0.7, -0.75, -0.99]:
    add("ErfInv", [y], [sp.erfinv(y)])
for k in range(3, 17):
    for y in [1.0 - 10.0 ** -k, 1.0 - 4.0 * 10.0 ** -k]:
        if y < 1.0:
            add("ErfInv", [y], [sp.erfinv(y)])
            add("ErfInv", [-y], [sp.erfinv(-y)])

# Erf(X).
for x in [1e-300, 1e-160, 1e-150, 1e-20, 1e-8, 1e-3, 0.1, 0.5, 1.0, 1.2, 1.224744871391589, 1.3, 2.0, 3.0,
          4.0, 5.0, 6.0, 10.0, 27.0]:
    add("Erf", [x], [sp.erf(x)])
    add("Erf", [-x], [sp.erf(-x)])

# GammaP(A, X) = scipy's regularized lower gamma; IncGammaCF(A, X) its complement.
for a in [0.1, 0.5, 1.0, 2.5, 7.0, 30.0, 100.0, 1000.0]:
    for f in [1e-6, 0.01, 0.3, 0.7, 0.95, 1.0, 1.05, 1.5, 2.0, 4.0, 10.0]:
        x = a * f
        add("GammaP", [a, x], [sp.gammainc(a, x)])
    for x in [a + 1.0, a + 3.0, 2.0 * a + 5.0, 5.0 * a + 20.0]:
        add("IncGammaCF", [a, x], [sp.gammaincc(a, x)])

# EllipComplete(m): K(m) and E(m); m approaching 1 decade by decade.
for m in [0.0, 1e-300, 1e-20, 1e-8, 0.001, 0.1, 0.25, 0.5, 0.6, 0.75, 0.9, 0.99, 0.999]:
    add("EllipComplete", [m], [sp.ellipk(m), sp.ellipe(m)])
for k in range(4, 17):
    m = 1.0 - 10.0 ** -k
    if m < 1.0:
        add("EllipComplete", [m], [sp.ellipk(m), sp.ellipe(m)])

# EllipJacoby(U, m): sn, cn, dn. scipy switches to an approximation above
# m = 1 - 1e-9 that fails for large U (sn above 1), so the table stops at
# 1 - 1e-6; m = 1 itself is tanh U, sech U, sech U (numpy).
for m in [0.0, 1e-12, 0.1, 0.3, 0.5, 0.7, 0.9, 0.99, 0.999999]:
    kk = sp.ellipk(m)
    for u in [0.0, 1e-9, 0.2, 0.7, 1.0, 2.5, -1.3, 0.5 * kk, 0.999 * kk, 3.3 * kk, 20.0]:
        sn, cn, dn, _ = sp.ellipj(u, m)
        add("EllipJacoby", [u, m], [sn, cn, dn])
for u in [0.0, 0.3, -2.0, 15.0]:
    add("EllipJacoby", [u, 1.0], [np.tanh(u), 1.0 / np.cosh(u), 1.0 / np.cosh(u)])

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "special_oracle.csv")
with open(out, "w", newline="") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["function", "in1", "in2", "in3", "out1", "out2", "out3"])
    w.writerows(rows)
print(f"{len(rows)} rows -> {out}")
