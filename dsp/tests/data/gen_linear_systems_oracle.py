#!/usr/bin/python3
"""Writes linear_systems_oracle.txt: reference conversions and transformations of linear systems.

Sources: scipy.signal of Debian's python3-scipy: zpk2tf, ss2zpk (as ss2tf then tf2zpk, with the
numerator's leading coefficients that the relative degree makes 0 taken away), bilinear_zpk, lp2lp_zpk,
lp2hp_zpk, lp2bp_zpk, lp2bs_zpk, and for the state-space forms bilinear, lp2lp, lp2hp, lp2bp and
lp2bs on the transfer function, turned into zeros, poles and gain by tf2zpk.

Run from anywhere:

    /usr/bin/python3 dsp/tests/data/gen_linear_systems_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks (repr), a complex
field as its real parts, '|', its imaginary parts:
  zpk2tf;<z>;<p>;<k>;<b>;<a>
  ss2zpk;<n>;<A by rows>;<B>;<C>;<D>;<z>;<p>;<k>
  bilinear_zpk;<z>;<p>;<k>;<fs>;<z>;<p>;<k>
  lp2<x>_zpk;<z>;<p>;<k>;<wo>;<bw>;<z>;<p>;<k>           x: lp, hp, bp, bs (bw 0 for lp, hp)
  ss_<x>;<z>;<p>;<k>;<wo>;<bw>;<fs>;<z>;<p>;<k>           x: bilinear, lp, hp, bp, bs; the system given
      by zeros and poles, transformed on its transfer function (bilinear at fs, the others at
      wo and bw), the result by tf2zpk
"""
import os
import warnings

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

# The same transformations and the bilinear transform as the state-space forms do them.
for z, p, k in prototypes + [short]:
    wo, bw, fs = rng.uniform(0.5, 5.0), rng.uniform(0.2, 2.0), rng.uniform(0.5, 10.0)
    b, a = signal.zpk2tf(z, p, k)
    b, a = np.real(b), np.real(a)
    for name, ba in (("ss_bilinear", signal.bilinear(b, a, fs)), ("ss_lp", signal.lp2lp(b, a, wo)),
                     ("ss_hp", signal.lp2hp(b, a, wo)), ("ss_bp", signal.lp2bp(b, a, wo, bw)),
                     ("ss_bs", signal.lp2bs(b, a, wo, bw))):
        zt, pt, kt = signal.tf2zpk(*ba)
        lines.append(";".join([name, cfield(z), cfield(p), repr(float(k)), repr(wo), repr(bw), repr(fs),
                               cfield(zt), cfield(pt), repr(float(kt))]))

with open(os.path.join(HERE, "linear_systems_oracle.txt"), "w") as out:
    out.write("# scipy %s, numpy %s; made by gen_linear_systems_oracle.py\n" % (scipy.__version__, np.__version__))
    out.write("\n".join(lines) + "\n")
