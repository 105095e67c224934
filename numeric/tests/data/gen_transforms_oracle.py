#!/usr/bin/python3
"""Reference values for the vector transforms, statistics and functions.

Source of truth: numpy (numpy.fft, numpy.convolve, numpy.median, complex
numpy.sin/cos/tan) and scipy (scipy.fft.dct/idct with norm='ortho',
scipy.signal.correlate, scipy.stats.skew/kurtosis). Run with Debian's python3:

    /usr/bin/python3 numeric/tests/data/gen_transforms_oracle.py

It rewrites transforms_oracle.csv beside itself. Each line is a case name,
then its numbers; complex arrays are written as re, im pairs. Inputs are drawn
from a fixed seed and written out too, so the tests need no Python.
"""
import os

import numpy as np
import scipy.fft
import scipy.signal
import scipy.stats

rng = np.random.default_rng(20261210)
rows = []


def put(name, values):
    values = np.asarray(values)
    if np.iscomplexobj(values):
        flat = np.column_stack([values.real, values.imag]).ravel()
    else:
        flat = values.ravel()
    rows.append(name + "," + ",".join(repr(float(v)) for v in flat))


def real(n):
    return rng.uniform(-1.0, 1.0, n)


def cplx(n):
    return rng.uniform(-1.0, 1.0, n) + 1j * rng.uniform(-1.0, 1.0, n)


# Fourier transforms: real input gives numpy's rfft (n/2 + 1 bins).
for n in (2, 8, 512):
    x = real(n)
    put(f"rfft_{n}_x", x)
    put(f"rfft_{n}_y", np.fft.rfft(x))
for n in (2, 16, 256):
    z = cplx(n)
    put(f"fft_{n}_x", z)
    put(f"fft_{n}_y", np.fft.fft(z))
    put(f"ifft_{n}_y", np.fft.ifft(z))
# Inverse of a real spectrum with arbitrary imaginary parts at the edge bins:
# numpy's irfft ignores them, as the layer does.
for n in (8, 256):
    s = cplx(n // 2 + 1)
    put(f"irfft_{n}_x", s)
    put(f"irfft_{n}_y", np.fft.irfft(s, n))

# Cosine transforms, orthonormal type II and its inverse.
for n in (1, 5, 8, 33):
    x = real(n)
    put(f"dct_{n}_x", x)
    put(f"dct_{n}_y", scipy.fft.dct(x, type=2, norm="ortho"))
    put(f"idct_{n}_y", scipy.fft.idct(x, type=2, norm="ortho"))

# Convolution: short (direct sums) and long (through FFTs), all kinds.
for nx, nh in ((5, 3), (300, 200)):
    a, b, za, zb = real(nx), real(nh), cplx(nx), cplx(nh)
    tag = f"{nx}_{nh}"
    put(f"conv_{tag}_a", a)
    put(f"conv_{tag}_b", b)
    put(f"conv_{tag}_za", za)
    put(f"conv_{tag}_zb", zb)
    put(f"conv_{tag}_dd", np.convolve(a, b))
    put(f"conv_{tag}_zz", np.convolve(za, zb))
    put(f"conv_{tag}_zd", np.convolve(za, b))
    put(f"conv_{tag}_dz", np.convolve(a, zb))


# Cross-correlation r[lag] = sum_k conj(x1[k]) x2[k + lag], lags lo .. hi.
def xcorr(x1, x2, lo, hi):
    full = scipy.signal.correlate(x2, x1, mode="full", method="direct")
    # full[i] holds lag i - (len(x1) - 1)
    out = []
    for lag in range(lo, hi + 1):
        i = lag + len(x1) - 1
        out.append(full[i] if 0 <= i < len(full) else 0.0)
    return np.array(out)


for n1, n2, lo, hi in ((6, 4, -7, 5), (400, 300, -350, 320)):
    a, b, za, zb = real(n1), real(n2), cplx(n1), cplx(n2)
    tag = f"{n1}_{n2}"
    put(f"xcorr_{tag}_lags", [lo, hi])
    put(f"xcorr_{tag}_a", a)
    put(f"xcorr_{tag}_b", b)
    put(f"xcorr_{tag}_za", za)
    put(f"xcorr_{tag}_zb", zb)
    put(f"xcorr_{tag}_dd", xcorr(a, b, lo, hi))
    put(f"xcorr_{tag}_zz", xcorr(za, zb, lo, hi))
    put(f"xcorr_{tag}_zd", xcorr(za, b + 0j, lo, hi))
    put(f"xcorr_{tag}_dz", xcorr(a + 0j, zb, lo, hi))

# Autocorrelation at lags 0 .. lags-1: normal, biased (/n), unbiased (/(n-lag)).
for n, lags in ((7, 7), (500, 300)):
    x, z = real(n), cplx(n)
    for name, v in (("d", x), ("z", z)):
        r = xcorr(v, v, 0, lags - 1)
        put(f"acorr_{n}_{name}_x", v)
        put(f"acorr_{n}_{name}_normal", r)
        put(f"acorr_{n}_{name}_biased", r / n)
        put(f"acorr_{n}_{name}_unbiased", r / (n - np.arange(lags)))

# Goertzel: the transform at f referenced one sample past the end.
for n, f in ((16, 0.1875), (100, 0.0123), (257, 0.4)):
    x = real(n)
    j = np.arange(n)
    put(f"goertz_{n}_x", x)
    put(f"goertz_{n}_f", [f])
    put(f"goertz_{n}_y", [np.sum(x * np.exp(-2j * np.pi * f * (j - n)))])
z = cplx(40)
j = np.arange(40)
put("goertz_c40_x", z)
put("goertz_c40_f", [0.7])
put("goertz_c40_y", [np.sum(z * np.exp(-2j * np.pi * 0.7 * (j - 40)))])

# Statistics around the sample mean and standard deviation.
for n in (2, 9, 1000):
    x = real(n) * 3.0 + 0.5
    m = np.mean(x)
    s = np.std(x, ddof=1)
    put(f"stats_{n}_x", x)
    put(f"stats_{n}_mean", [m])
    put(f"stats_{n}_stddev", [s])
    put(f"stats_{n}_kurtosis", [scipy.stats.kurtosis(x, fisher=False, bias=True)])
    # the skewness divides by the sample deviation, not the population one
    put(f"stats_{n}_skewness", [scipy.stats.skew(x, bias=True) * (np.std(x) / s) ** 3])
    put(f"stats_{n}_median", [np.median(x)])
    put(f"stats_{n}_rms", [np.sqrt(np.mean(x * x))])
z = cplx(33)
put("cstats_33_x", z)
put("cstats_33_rms", [np.sqrt(np.mean(np.abs(z) ** 2))])
put("cstats_33_norml2", [np.linalg.norm(z)])
put("cstats_33_mean", [np.mean(z)])
put("cstats_33_prod", [np.prod(z[:12])])

# Complex sine, cosine and tangent.
z = cplx(9) * 2.0
put("cfun_x", z)
put("cfun_sin", np.sin(z))
put("cfun_cos", np.cos(z))
put("cfun_tan", np.tan(z))
put("cfun_log10", np.log10(z))

# The half-rate bin through operations on a spectrum: X = rfft(x), Y =
# rfft(y) with all n/2 + 1 bins, each operation applied to every bin, then
# irfft back to n samples. n = 8 uses the signal (1, 2, 3, 4, 0, -1, -2, 5).
for n in (8, 32):
    x = np.array([1.0, 2.0, 3.0, 4.0, 0.0, -1.0, -2.0, 5.0]) if n == 8 else real(n)
    y = real(n)
    X, Y = np.fft.rfft(x), np.fft.rfft(y)
    h = n // 2
    mags = np.unique(np.abs(X))
    at = int(np.searchsorted(mags, abs(X[h])))
    # Levels between the half-rate bin's magnitude and its neighbours, so
    # that the half-rate bin is clipped and rounding decides nothing.
    above = (mags[at] + mags[at + 1]) / 2 if at + 1 < len(mags) else mags[at] * 1.5
    below = (mags[at] + mags[at - 1]) / 2 if at > 0 else mags[at] / 2
    replaced = X.copy()
    replaced[(np.abs(X.real - X[h].real) <= 1e-9) & (X.imag == 0)] = 7.0

    def clip(level, low):
        m = np.abs(X)
        hit = m < level if low else m > level
        return np.where(hit, X * (level / np.where(m == 0, 1, m)), X)

    put(f"hr_{n}_x", x)
    put(f"hr_{n}_y", y)
    put(f"hr_{n}_levels", [above, below, X[h].real])
    cases = {
        "scale": 0.5 * X,
        "scalec": (0.3 - 0.7j) * X,
        "neg": -X,
        "offset": X + 1.5,
        "conj": np.conj(X),
        "inv": 1 / X,
        "sqr": X**2,
        "sqrt": np.sqrt(X),
        "exp": np.exp(X),
        "ln": np.log(X),
        "log10": np.log10(X),
        "log2": np.log(X) / np.log(2.0),
        "sin": np.sin(X),
        "cos": np.cos(X),
        "tan": np.tan(X),
        "tbot": clip(above, True),
        "ttop": clip(below, False),
        "replace": replaced,
        "zero": np.zeros_like(X),
        "setval": np.full_like(X, 2.5),
        "setvalc": np.full_like(X, 1 - 2j),
        "add": X + Y,
        "addf": X + (0.5 - 0.25j) * Y,
        "sub": X - Y,
        "mul": X * Y,
        "div": X / Y,
        "conjmul": X * np.conj(Y),
    }
    for name, bins in cases.items():
        put(f"hr_{n}_{name}", np.fft.irfft(bins, n))

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "transforms_oracle.csv"), "w") as out:
    out.write("# made by gen_transforms_oracle.py (numpy, scipy); do not edit\n")
    out.write("\n".join(rows) + "\n")
