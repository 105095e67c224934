#!/usr/bin/python3
"""Writes vecarith_oracle.csv: reference results of TVec arithmetic and
complex-part operations on real, complex and mixed operands.

Source of every expected value: numpy (complex128 arithmetic, sqrt, exp, log,
abs, angle), with a real operand taken as complex with zero imaginary parts.
Run from anywhere:

    /usr/bin/python3 numeric/tests/data/gen_vecarith_oracle.py

Columns: operation, kind of A ("r" real, "c" complex), A, kind of B, B, kind
of the expected result, expected result. Vectors are ';'-separated doubles,
complex ones as re;im pairs, printed with repr so that they read back as the
same doubles. The operations (A is Self before the call):
  Add, Sub, Mul, DivideThreshold, DivideExact: in place, Self op B
  MulInto, ConjMulInto, DivideInto: Self := A op B
  Sqrt, Sqr, Exp, Ln, Inv, Abs, Mag, Phase, PowerSpectrum: of A alone
  ScaleComplex: A scaled by the complex factor B[0]
"""
import csv
import os

import numpy as np

rng = np.random.default_rng(20240611)


def vector(kind, n):
    # Magnitudes from 0.1 to 10 with both signs, so that no quotient or
    # logarithm sits near a cancellation.
    re = rng.uniform(0.1, 10.0, n) * rng.choice([-1.0, 1.0], n)
    if kind == "r":
        return re.astype(np.float64)
    im = rng.uniform(0.1, 10.0, n) * rng.choice([-1.0, 1.0], n)
    return (re + 1j * im).astype(np.complex128)


def text(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        parts = np.column_stack([v.real, v.imag]).ravel()
    else:
        parts = v
    return ";".join(repr(float(x)) for x in parts)


def kind_of(v):
    return "c" if np.iscomplexobj(v) else "r"


rows = []


def add(operation, a, b, expected):
    b_text = "" if b is None else text(b)
    b_kind = "" if b is None else kind_of(b)
    rows.append([operation, kind_of(a), text(a), b_kind, b_text, kind_of(expected), text(expected)])


def as_complex(v):
    return np.asarray(v, dtype=np.complex128)


binary = {
    "Add": lambda a, b: as_complex(a) + as_complex(b),
    "Sub": lambda a, b: as_complex(a) - as_complex(b),
    "Mul": lambda a, b: as_complex(a) * as_complex(b),
    "DivideThreshold": lambda a, b: as_complex(a) / as_complex(b),
    "MulInto": lambda a, b: as_complex(a) * as_complex(b),
    "ConjMulInto": lambda a, b: as_complex(a) * np.conj(as_complex(b)),
}
for n in (5, 9):
    for kinds in (("r", "c"), ("c", "r"), ("c", "c"), ("r", "r")):
        for operation, f in binary.items():
            a = vector(kinds[0], n)
            b = vector(kinds[1], n)
            expected = f(a, b)
            if kinds == ("r", "r"):
                expected = expected.real
            add(operation, a, b, expected)
    for kinds in (("r", "r"), ("c", "c")):
        a = vector(kinds[0], n)
        b = vector(kinds[1], n)
        add("DivideExact", a, b, a / b)
        a = vector(kinds[0], n)
        b = vector(kinds[1], n)
        add("DivideInto", a, b, a / b)
    z = vector("c", n)
    # Negative real parts with zero imaginary parts: the principal root is
    # imaginary.
    z[0] = complex(-4.0, 0.0)
    add("Sqrt", z, None, np.sqrt(z))
    z = vector("c", n)
    add("Sqr", z, None, z * z)
    z = vector("c", n) / 4.0
    add("Exp", z, None, np.exp(z))
    z = vector("c", n)
    add("Ln", z, None, np.log(z))
    z = vector("c", n)
    add("Inv", z, None, 1.0 / z)
    x = vector("r", n)
    add("Inv", x, None, 1.0 / x)
    z = vector("c", n)
    add("Abs", z, None, np.abs(z))
    z = vector("c", n)
    add("Mag", z, None, np.abs(z))
    z = vector("c", n)
    add("Phase", z, None, np.angle(z))
    z = vector("c", n)
    add("PowerSpectrum", z, None, z.real ** 2 + z.imag ** 2)
    x = vector("r", n)
    factor = vector("c", 1)
    add("ScaleComplex", x, factor, as_complex(x) * factor[0])

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "vecarith_oracle.csv")
with open(path, "w", newline="") as f:
    writer = csv.writer(f, lineterminator="\n")
    writer.writerow(["operation", "a_kind", "a", "b_kind", "b", "expected_kind", "expected"])
    writer.writerows(rows)
