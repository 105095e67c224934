#!/usr/bin/python3
"""Writes mathcore_oracle.csv: reference values of MathCore's scalar functions.

Source of every expected value: numpy (elementary real and complex functions)
and scipy.special.gammaln (log |Gamma|). Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_mathcore_oracle.py

Columns: function, four inputs, expected real part, expected imaginary part
(0 for real functions). Values are printed with repr, which reads back as the
same double.
"""
import csv
import os
import warnings

import numpy as np
import scipy.special

warnings.simplefilter("ignore")  # overflow and division by zero are cases here

rows = []


def add(name, inputs, expected):
    inputs = list(inputs) + [0.0] * (4 - len(inputs))
    z = complex(expected)
    rows.append([name] + [repr(float(v)) for v in inputs] + [repr(z.real), repr(z.imag)])


for x in [1e-10, 0.001, 0.03, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 7.3, 12.9, 13.0, 20.0, 33.9, 34.1,
          100.0, 1e5, 1e10, 1e20, 1e300, -1e-10, -0.03, -0.5, -1.5, -2.5, -3.7, -33.3, -35.5,
          -100.25]:
    add("LnGamma", [x], scipy.special.gammaln(x))

for base, exponent in [(2.0, 0.5), (-2.0, 2.0), (-2.0, 3.0), (-2.0, -3.0), (-8.0, 1.0 / 3.0),
                       (10.0, -3.0), (1.5, 100.25), (0.0, 2.0), (0.0, -1.0), (-0.5, -7.0),
                       (3.7, 1e-3), (-1e10, 31.0), (123.456, -0.75)]:
    add("Power", [base, exponent], np.power(base, exponent))

for x in [-20.0, -1e-10, 1e-10, 0.5, 3.0, 700.0, -710.5]:
    add("Sinh", [x], np.sinh(x))
    add("Cosh", [x], np.cosh(x))
    add("Tanh", [x], np.tanh(x))
for x in [-1e10, -2.0, 1e-12, 0.75, 1e150]:
    add("ArcSinh", [x], np.arcsinh(x))
for x in [1.0, 1.0000001, 2.0, 1e150]:
    add("ArcCosh", [x], np.arccosh(x))
for x in [-300.0, -2.5, 0.0, 0.3, 15.0, 307.5]:
    add("Exp10", [x], np.power(10.0, x))
    add("Exp2", [x], np.exp2(x))
for x in [1e-300, 0.5, 10.0, 1e300]:
    add("LogN", [3.0, x], np.log(x) / np.log(3.0))

cases = [(3.0, 4.0), (-3.0, 4.0), (-3.0, -4.0), (3.0, -4.0), (0.0, 2.0), (0.0, -2.0), (-1.0, 0.0),
         (1e-300, 1e-300), (3e200, 4e200), (-7.25, 1e-5), (2.5, 0.0)]
for re, im in cases:
    z = complex(re, im)
    add("CSqrt", [re, im], np.sqrt(z))
    add("CAbs", [re, im], np.abs(z))
    add("CLn", [re, im], np.log(z))
    add("CInv", [re, im], 1.0 / z)
    if abs(z) < 1e150:  # numpy's square overflows to inf - inf = nan beyond
        add("CSqr", [re, im], z * z)
for (ar, ai), (br, bi) in [((1.0, 2.0), (3.0, -4.0)), ((1e200, 1e200), (1e200, -1e200)),
                           ((-5.5, 0.25), (1e-160, 2e-160)), ((7.0, 0.0), (0.0, 1.0))]:
    add("CDiv", [ar, ai, br, bi], complex(ar, ai) / complex(br, bi))
    if abs(ar) < 1e150:  # numpy's product overflows to inf - inf = nan beyond
        add("CMul", [ar, ai, br, bi], complex(ar, ai) * complex(br, bi))
for (re, im), n in [((1.1, -0.7), 5), ((1.1, -0.7), -3), ((-2.0, 0.5), 12), ((0.3, 0.4), 1)]:
    add("CIntPower", [re, im, n], complex(re, im) ** n)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "mathcore_oracle.csv")
with open(out, "w", newline="") as f:
    writer = csv.writer(f, lineterminator="\n")
    writer.writerow(["function", "in1", "in2", "in3", "in4", "re", "im"])
    writer.writerows(rows)
