#!/usr/bin/python3
"""Writes ar_czt_oracle.txt: reference autoregressive models and chirp-z transforms.

Sources: numpy (numpy.linalg.lstsq, numpy.fft.fft) and scipy.signal.czt of Debian's python3-numpy
and python3-scipy.
- Burg: the textbook lattice recursion (forward errors f, backward errors b, reflection
  k = -2 sum f[n] conj(b[n-1]) / sum(|f[n]|^2 + |b[n-1]|^2), Levinson update
  a[i] += k conj(a[m-i]), error power (1 - |k|^2) E), written out below in numpy.
- Covariance: the least-squares solution (numpy.linalg.lstsq) of the forward prediction
  x[n] = -sum a_k x[n-k], n = p .. N-1; E the residual power over N - p.
- Modified covariance: lstsq of the forward equations stacked on the conjugated backward ones
  conj(x[n-p]) = -sum a_k conj(x[n-p+k]); E half the residual power over N - p.
- Chirp-z: scipy.signal.czt(x, m, w, a); for the spiral set-up w and a from the start and end
  frequency and radius, w = (R2/R1)^(-1/(M-1)) exp(-2 pi i (F2 - F1) / ((M-1) FS)) (1 for M = 1),
  a = R1 exp(2 pi i F1 / FS); and numpy.fft.fft(x, M) for the set-up that is the DFT.

Run from anywhere:

    /usr/bin/python3 dsp/tests/data/gen_ar_czt_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks (repr), a complex
field as its real parts, '|', its imaginary parts:
  ar;<method>;<order>;<x>;<A>;<K>;<E>[;<cond>;<ratio>]   method: burg, cov, mcov (K empty but for
      burg; cov and mcov add their least-squares matrix's 2-norm condition and residual ratio
      |r| / (|M| |x|))
  czt;<x>;<M>;<w>;<a>;<Y>
  cztsetup;<x>;<M>;<F1>;<F2>;<FS>;<R1>;<R2>;<Y>
"""
import os

import numpy as np
import scipy
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
rng = np.random.default_rng(20240613)
lines = []


def field(values):
    return " ".join(repr(float(v)) for v in np.atleast_1d(values))


def cfield(values):
    v = np.atleast_1d(np.asarray(values, dtype=complex))
    return field(v.real) + "|" + field(v.imag)


def burg(x, p):
    f = x.astype(complex).copy()
    b = f.copy()
    a = np.zeros(p + 1, complex)
    a[0] = 1
    ks = []
    e = np.sum(np.abs(x) ** 2) / len(x)
    for m in range(p):
        F, G = f[1:], b[:-1]
        k = -2 * np.sum(F * np.conj(G)) / np.sum(np.abs(F) ** 2 + np.abs(G) ** 2)
        f, b = F + k * G, G + np.conj(k) * F
        prev = a.copy()
        for i in range(1, m + 2):
            a[i] = prev[i] + k * np.conj(prev[m + 1 - i])
        e *= 1 - abs(k) ** 2
        ks.append(k)
    return a, np.array(ks), e


def covariance(x, p):
    n = len(x)
    X = np.array([[x[p - 1 + i - j] for j in range(p)] for i in range(n - p)]).reshape(n - p, p)
    y = x[p:]
    sol = np.linalg.lstsq(X, y, rcond=None)[0] if p else np.zeros(0)
    e = np.sum(np.abs(y - X @ sol) ** 2) / (n - p)
    return np.concatenate([[1], -sol]), e, conditioning(X, y, sol)


def conditioning(m, y, sol):
    """The least-squares problem's 2-norm condition K and residual ratio |r| / (|M| |x|)."""
    if m.shape[1] == 0:
        return 1.0, 0.0
    r = y - m @ sol
    return np.linalg.cond(m), np.linalg.norm(r) / (np.linalg.norm(m, 2) * np.linalg.norm(sol))


def mod_covariance(x, p):
    n = len(x)
    Xf = np.array([[x[i + p - k] for k in range(1, p + 1)] for i in range(n - p)]).reshape(n - p, p)
    yf = x[p:]
    Xb = np.conj(np.array([[x[i + k] for k in range(1, p + 1)] for i in range(n - p)]).reshape(n - p, p))
    yb = np.conj(x[:n - p])
    M, y = np.vstack([Xf, Xb]), np.concatenate([yf, yb])
    sol = np.linalg.lstsq(M, -y, rcond=None)[0] if p else np.zeros(0)
    e = 0.5 * np.sum(np.abs(y + M @ sol) ** 2) / (n - p)
    return np.concatenate([[1], sol]), e, conditioning(M, -y, sol)


def ar_process(n, coefficients, complex_noise):
    e = rng.normal(size=n + 100) + (1j * rng.normal(size=n + 100) if complex_noise else 0)
    x = np.zeros(n + 100, complex if complex_noise else float)
    for i in range(n + 100):
        x[i] = e[i] - sum(c * x[i - 1 - j] for j, c in enumerate(coefficients) if i - 1 - j >= 0)
    return x[100:]


signals = [
    ar_process(64, [-1.5, 0.8], False),
    np.sin(0.3 * np.arange(40)) + 0.1 * rng.normal(size=40),
    ar_process(50, [-0.9 + 0.3j, 0.5], True),
    ar_process(31, [0.4, 0.2, -0.3], False),
]
for x in signals:
    is_complex = np.iscomplexobj(x)
    for p in (0, 1, 2, 4, 7):
        a, k, e = burg(x, p)
        if not is_complex:
            a, k = a.real, k.real
        lines.append(";".join(["ar", "burg", str(p), cfield(x), cfield(a), cfield(k), repr(float(e))]))
        a, e, (kappa, ratio) = covariance(x, p)
        lines.append(";".join(["ar", "cov", str(p), cfield(x), cfield(a), "", repr(float(e)), repr(float(kappa)),
                               repr(float(ratio))]))
        a, e, (kappa, ratio) = mod_covariance(x, p)
        lines.append(";".join(["ar", "mcov", str(p), cfield(x), cfield(a), "", repr(float(e)), repr(float(kappa)),
                               repr(float(ratio))]))

# Chirp-z transforms with given w and a.
for n, m, w, a in ((16, 16, np.exp(-2j * np.pi / 16), 1.0), (20, 35, 0.995 * np.exp(-0.07j), 0.8 * np.exp(0.3j)),
                   (50, 7, 1.01 * np.exp(0.4j), 1.2 * np.exp(-1.0j)), (1, 5, np.exp(0.1j), 1.0),
                   (300, 260, np.exp(-2j * np.pi * 0.1 / 259), 1.0)):
    x = rng.normal(size=n) + (1j * rng.normal(size=n) if n % 2 == 0 else 0)
    y = signal.czt(x, m, w, a)
    lines.append(";".join(["czt", cfield(x), str(m), cfield(w), cfield(a), cfield(y)]))


def setup_wa(m, f1, f2, fs, r1, r2):
    w = 1.0 if m == 1 else (r2 / r1) ** (-1.0 / (m - 1)) * np.exp(-2j * np.pi * (f2 - f1) / ((m - 1) * fs))
    return w, r1 * np.exp(2j * np.pi * f1 / fs)


for n, m, f1, f2, fs, r1, r2 in ((24, 40, 10.0, 80.0, 200.0, 1.0, 1.0), (30, 12, 0.05, 0.2, 1.0, 0.9, 1.1),
                                 (17, 1, 3.0, 9.0, 50.0, 1.0, 1.0), (64, 100, -20.0, 20.0, 100.0, 1.05, 0.95)):
    x = rng.normal(size=n)
    w, a = setup_wa(m, f1, f2, fs, r1, r2)
    y = signal.czt(x, m, w, a)
    lines.append(";".join(["cztsetup", cfield(x), str(m), repr(f1), repr(f2), repr(fs), repr(r1), repr(r2),
                           cfield(y)]))
# The set-up that is the M-point DFT (M >= N).
for n, m in ((16, 16), (10, 24)):
    x = rng.normal(size=n) + 1j * rng.normal(size=n)
    fs = 8.0
    lines.append(";".join(["cztsetup", cfield(x), str(m), repr(0.0), repr(fs * (m - 1) / m), repr(fs), "1.0", "1.0",
                           cfield(np.fft.fft(x, m))]))

with open(os.path.join(HERE, "ar_czt_oracle.txt"), "w") as out:
    out.write("# scipy %s, numpy %s; made by gen_ar_czt_oracle.py\n" % (scipy.__version__, np.__version__))
    out.write("\n".join(lines) + "\n")
