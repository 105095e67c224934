#!/usr/bin/python3
"""Writes linear_systems_oracle.txt: reference conversions and transformations of linear systems.

Sources: scipy.signal of Debian's python3-scipy: zpk2tf, ss2zpk (as ss2tf then tf2zpk, with the
numerator's leading coefficients that the relative degree makes 0 taken away; its roots then
made exact by Newton steps in 60 digits on the system's exact characteristic polynomial and
numerator), bilinear_zpk, lp2lp_zpk, lp2hp_zpk, lp2bp_zpk, lp2bs_zpk, and for the state-space
forms the same transformations of the given zeros, poles and gain done in 60 digits.

Run from anywhere:

    /usr/bin/python3 dsp/tests/data/gen_linear_systems_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks (repr), a complex
field as its real parts, '|', its imaginary parts:
  zpk2tf;<z>;<p>;<k>;<b>;<a>
  ss2zpk;<n>;<A by rows>;<B>;<C>;<D>;<z>;<p>;<k>
  bilinear_zpk;<z>;<p>;<k>;<fs>;<z>;<p>;<k>
  lp2<x>_zpk;<z>;<p>;<k>;<wo>;<bw>;<z>;<p>;<k>           x: lp, hp, bp, bs (bw 0 for lp, hp)
  ss_<x>;<z>;<p>;<k>;<wo>;<bw>;<fs>;<z>;<p>;<k>           x: bilinear, lp, hp, bp, bs; the system given
      by zeros and poles, transformed (bilinear at fs, the others at wo and bw)
"""
import os
import warnings
from decimal import Decimal, getcontext
from fractions import Fraction

import numpy as np
import scipy
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
rng = np.random.default_rng(20240612)
# tf2zpk trims the numerator's leading coefficients that are rounding noise (a system of relative
# degree d has d of them) and warns each time; the zero counts are checked by the tests.
warnings.simplefilter("ignore", signal.BadCoefficients)
lines = []


def field(values):
    return " ".join(repr(float(v)) for v in np.atleast_1d(values))


def cfield(values):
    v = np.atleast_1d(np.asarray(values, dtype=complex))
    return field(v.real) + "|" + field(v.imag)


getcontext().prec = 60


def dec(x):
    return (Decimal(float(np.real(x))), Decimal(float(np.imag(x))))


def cadd(a, b):
    return (a[0] + b[0], a[1] + b[1])


def csub(a, b):
    return (a[0] - b[0], a[1] - b[1])


def cmul(a, b):
    return (a[0] * b[0] - a[1] * b[1], a[0] * b[1] + a[1] * b[0])


def cdiv(a, b):
    d = b[0] * b[0] + b[1] * b[1]
    return ((a[0] * b[0] + a[1] * b[1]) / d, (a[1] * b[0] - a[0] * b[1]) / d)


def csqrt(a):
    r = (a[0] * a[0] + a[1] * a[1]).sqrt()
    re = ((r + a[0]) / 2).sqrt()
    im = ((r - a[0]) / 2).sqrt()
    return (re, im if a[1] >= 0 else -im)


def cfloat(a):
    return complex(float(a[0]), float(a[1]))


def polish(coeffs, roots):
    """Roots of the exact polynomial (ascending Fraction coefficients) from scipy's approximations:
    three Newton steps in 60-digit arithmetic each."""
    c = [Decimal(f.numerator) / Decimal(f.denominator) for f in coeffs]
    out = []
    for r in roots:
        x = dec(r)
        for _ in range(3):
            f, d = (c[-1], Decimal(0)), (Decimal(0), Decimal(0))
            for a in reversed(c[:-1]):
                d = cadd(cmul(d, x), f)
                f = cadd(cmul(f, x), (a, Decimal(0)))
            x = csub(x, cdiv(f, d))
        out.append(cfloat(x))
    return np.array(out)


def exact_system_zpk(A, B, C, D, degree):
    """The characteristic polynomial and the numerator of C (sI - A)^-1 B + D from the doubles of
    the system as exact rationals, by Faddeev and LeVerrier: adj(sI - A) = sum M_k s^(n-k)."""
    n = A.shape[0]
    a = [[Fraction(float(A[i, j])) for j in range(n)] for i in range(n)]
    b = [Fraction(float(B[i, 0])) for i in range(n)]
    cc = [Fraction(float(C[0, i])) for i in range(n)]
    d = Fraction(float(D[0, 0]))
    coeff = [Fraction(0)] * (n + 1)  # descending: coeff[0] = 1
    coeff[0] = Fraction(1)
    m = [[Fraction(0)] * n for _ in range(n)]
    num = [Fraction(0)] * (n + 1)
    for k in range(1, n + 1):
        # M_k = A M_(k-1) + c_(k-1) I
        prev = m
        m = [[sum(a[i][l] * prev[l][j] for l in range(n)) + (coeff[k - 1] if i == j else 0) for j in range(n)]
             for i in range(n)]
        am = [[sum(a[i][l] * m[l][j] for l in range(n)) for j in range(n)] for i in range(n)]
        coeff[k] = -sum(am[i][i] for i in range(n)) / k
        num[k] = sum(cc[i] * sum(m[i][j] * b[j] for j in range(n)) for i in range(n))
    num = [num[k] + d * coeff[k] for k in range(n + 1)]
    lead = num[degree]
    return list(reversed(coeff)), list(reversed(num[degree:])), lead


def random_roots(n, stable=True):
    """n roots in conjugate pairs (one real root when n is odd), in the left half-plane when stable."""
    roots = []
    for _ in range(n // 2):
        re = -rng.uniform(0.1, 2.0) if stable else rng.uniform(-2.0, 2.0)
        im = rng.uniform(0.1, 2.0)
        roots += [complex(re, im), complex(re, -im)]
    if n % 2:
        roots.append(complex(-rng.uniform(0.1, 2.0) if stable else rng.uniform(-2.0, 2.0), 0.0))
    return np.array(roots, dtype=complex)


# Zeros and poles to a transfer function.
for np_, nz in ((1, 0), (2, 0), (3, 1), (4, 4), (5, 2), (6, 5), (7, 7)):
    z, p, k = random_roots(nz, stable=False), random_roots(np_), rng.uniform(0.5, 3.0)
    b, a = signal.zpk2tf(z, p, k)
    lines.append(";".join(["zpk2tf", cfield(z), cfield(p), repr(k), field(np.real(b)), field(np.real(a))]))

# State space to zeros, poles and gain; relative degrees 0 to 3. A is upper Hessenberg and B the
# first axis, so A^i B has only its first i + 1 elements; C is 0 on the first degree - 1 of
# them, so that C A^i B is exactly 0 for i < degree - 1 and the relative degree is exact.
for n in range(1, 7):
    for degree in range(0, min(n, 3) + 1):
        A = np.triu(rng.normal(size=(n, n)), -1)
        B = np.zeros((n, 1))
        B[0, 0] = 1.0
        C = rng.normal(size=(1, n))
        C[0, :max(degree - 1, 0)] = 0.0
        D = np.array([[rng.normal() if degree == 0 else 0.0]])
        # ss2zpk's own numerator keeps rounding noise in the place of the coefficients that are
        # exactly 0, and at times a spurious huge zero with it: its transfer function with those
        # coefficients taken away.
        b, a = signal.ss2tf(A, B, C, D)
        z, p, k = signal.tf2zpk(b[0][degree:], a)
        # scipy's roots hold the polynomials' condition times the rounding of ss2tf; made exact.
        den, num, lead = exact_system_zpk(A, B, C, D, degree)
        z, p, k = polish(num, z), polish(den, p), float(lead)
        lines.append(";".join(["ss2zpk", str(n), field(A.ravel()), field(B.ravel()), field(C.ravel()),
                               repr(float(D[0, 0])), cfield(z), cfield(p), repr(float(k))]))

# The bilinear transform of zeros and poles.
for np_, nz in ((1, 0), (3, 0), (4, 2), (5, 5)):
    z, p, k = random_roots(nz, stable=False), random_roots(np_), rng.uniform(0.5, 3.0)
    fs = rng.uniform(0.5, 10.0)
    zd, pd, kd = signal.bilinear_zpk(z, p, k, fs)
    lines.append(";".join(["bilinear_zpk", cfield(z), cfield(p), repr(k), repr(fs), cfield(zd), cfield(pd),
                           repr(float(kd))]))

# Analog frequency transformations of prototypes, and of a system two zeros short.
prototypes = [signal.buttap(3), signal.buttap(4), signal.cheb1ap(5, 1.0), signal.cheb2ap(3, 40.0),
              signal.cheb2ap(4, 30.0), signal.ellipap(5, 0.5, 50.0)]
short = (random_roots(2, stable=False), random_roots(4), 1.7)
for z, p, k in prototypes + [short]:
    wo, bw = rng.uniform(0.5, 5.0), rng.uniform(0.2, 2.0)
    for name, fn, args in (("lp2lp_zpk", signal.lp2lp_zpk, (wo,)), ("lp2hp_zpk", signal.lp2hp_zpk, (wo,)),
                           ("lp2bp_zpk", signal.lp2bp_zpk, (wo, bw)), ("lp2bs_zpk", signal.lp2bs_zpk, (wo, bw))):
        zt, pt, kt = fn(z, p, k, *args)
        lines.append(";".join([name, cfield(z), cfield(p), repr(float(k)), repr(wo),
                               repr(bw if len(args) > 1 else 0.0), cfield(zt), cfield(pt), repr(float(kt))]))



def exact_transform(name, z, p, k, wo, bw, fs):
    """The transformation of the doubles z, p, k done in 60-digit arithmetic, as scipy's
    bilinear_zpk and lp2*_zpk state it: the roots and the gain, rounded once."""
    zs, ps = [dec(r) for r in z], [dec(r) for r in p]
    W, B, F = Decimal(float(wo)), Decimal(float(bw)), 2 * Decimal(float(fs))
    degree = len(ps) - len(zs)
    one, zero = (Decimal(1), Decimal(0)), (Decimal(0), Decimal(0))

    def prod(rs):
        out = one
        for r in rs:
            out = cmul(out, r)
        return out

    def neg(rs):
        return [(-r[0], -r[1]) for r in rs]

    def split(t):
        root = csqrt(csub(cmul(t, t), (W * W, Decimal(0))))
        return [cadd(t, root), csub(t, root)]

    K = Decimal(float(k))
    if name == "ss_bilinear":
        f = (F, Decimal(0))
        zt = [cdiv(cadd(f, r), csub(f, r)) for r in zs] + [(Decimal(-1), Decimal(0))] * degree
        pt = [cdiv(cadd(f, r), csub(f, r)) for r in ps]
        kt = K * cdiv(prod([csub(f, r) for r in zs]), prod([csub(f, r) for r in ps]))[0]
    elif name == "ss_lp":
        zt, pt = [(r[0] * W, r[1] * W) for r in zs], [(r[0] * W, r[1] * W) for r in ps]
        kt = K * W ** degree
    elif name == "ss_hp":
        zt = [cdiv((W, Decimal(0)), r) for r in zs] + [zero] * degree
        pt = [cdiv((W, Decimal(0)), r) for r in ps]
        kt = K * cdiv(prod(neg(zs)), prod(neg(ps)))[0]
    elif name == "ss_bp":
        zt = [x for r in zs for x in split((r[0] * B / 2, r[1] * B / 2))] + [zero] * degree
        pt = [x for r in ps for x in split((r[0] * B / 2, r[1] * B / 2))]
        kt = K * B ** degree
    else:
        zt = [x for r in zs for x in split(cdiv((B / 2, Decimal(0)), r))] + \
             [(Decimal(0), W), (Decimal(0), -W)] * degree
        pt = [x for r in ps for x in split(cdiv((B / 2, Decimal(0)), r))]
        kt = K * cdiv(prod(neg(zs)), prod(neg(ps)))[0]
    return np.array([cfloat(r) for r in zt]), np.array([cfloat(r) for r in pt]), float(kt)


# The same transformations and the bilinear transform as the state-space forms do them. scipy
# transforms the transfer function, whose coefficients hold the roots to fewer digits: the expected
# roots and gain are the transformation of the given ones in 60 digits.
for z, p, k in prototypes + [short]:
    wo, bw, fs = rng.uniform(0.5, 5.0), rng.uniform(0.2, 2.0), rng.uniform(0.5, 10.0)
    for name in ("ss_bilinear", "ss_lp", "ss_hp", "ss_bp", "ss_bs"):
        zt, pt, kt = exact_transform(name, z, p, k, wo, bw, fs)
        lines.append(";".join([name, cfield(z), cfield(p), repr(float(k)), repr(wo), repr(bw), repr(fs),
                               cfield(zt), cfield(pt), repr(float(kt))]))

with open(os.path.join(HERE, "linear_systems_oracle.txt"), "w") as out:
    out.write("# scipy %s, numpy %s; made by gen_linear_systems_oracle.py\n" % (scipy.__version__, np.__version__))
    out.write("\n".join(lines) + "\n")
