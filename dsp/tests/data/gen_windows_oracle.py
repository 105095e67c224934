#!/usr/bin/python3
"""Writes windows_oracle.txt, the reference table of the window tests.

Sources:
  formula  the windows' own defining formulas, evaluated here with numpy (float64), term by
           term in the order the formulas give them; the Kaiser window's I0 is
           scipy.special.i0.
  scipy    scipy.signal.windows of Debian's python3-scipy, sym=True, where the definitions
           coincide with the library windows: hann, hamming, bartlett, blackman (alpha -0.16 is
           scipy's blackman) and the interior of kaiser (scipy's ends are 1 / I0(beta); ours 0).
  i0       scipy.special.i0 at a few points, for BesselI0.

One case a line, fields separated by ';':  <source>;<window>;<parameter>;<n>;<n values>
Run: /usr/bin/python3 gen_windows_oracle.py  (from any folder)
"""
import os
import numpy as np
import scipy.signal.windows as sw
import scipy.special as sp

HERE = os.path.dirname(os.path.abspath(__file__))
LENGTHS = [3, 4, 5, 8, 31, 64, 101]


def t_of(n):
    i = np.arange(n, dtype=float)
    return 2 * np.pi * i / (n - 1)


def three_term(a0, a1, a2):
    return lambda n, p: a0 - a1 * np.cos(t_of(n)) + a2 * np.cos(2 * t_of(n))


def bartlett(n, p):
    i = np.arange(n, dtype=float)
    return 1 - np.abs(2 * i / (n - 1) - 1)


def blackman(n, a):
    t = t_of(n)
    return (1 + a) / 2 - np.cos(t) / 2 - (a / 2) * np.cos(2 * t)


def kaiser(n, beta):
    m = (n - 1) / 2
    i = np.arange(n, dtype=float)
    r = 1 - ((i - m) / m) ** 2
    w = np.where(r > 0, sp.i0(beta * np.sqrt(np.maximum(r, 0))) / sp.i0(beta), 0.0)
    w[0] = w[-1] = 0
    return w


def chebyshev(n, atten):
    """The closed-form sum of the Dolph-Chebyshev window, step by step."""
    h = n // 2
    a = [1 / ((k + 1) * (k + 2)) for k in range(h)]
    r = 10 ** (2.5 * atten / 20)
    x = np.tanh(np.log10(r + np.sqrt(r * r - 1)) / (n - 1))
    q = x * x
    w = [0.0] * (n + 1)
    w[0] = w[n - 1] = 1 / (n - 1)
    wmax = 1 / (n - 1)
    if n % 2 == 1:
        h += 1
    for j in range(2, h + 1):
        p = q
        s = 0.0
        for i in range(1, j - 1):
            p = p * q * (j - 1 - i) * (n - j - i) * a[i - 1]
            s += p
        w[n - j] = w[j - 1] = q + s
        if w[j - 1] > wmax:
            wmax = w[j - 1]
    return np.array(w[:n]) * (1 / wmax)


def cosine_taper(n, percent):
    m = int(np.round(n * percent / 200))  # numpy rounds halves to even
    w = np.ones(n)
    for j in range(m):
        f = 0.0 if j == 0 else 0.5 * (1 - np.cos(np.pi * j / (m - 1)))
        w[j] *= f
        w[n - 1 - j] *= f
    return w


def exponent(n, end):
    a = np.log(end) / (n - 1)
    return np.exp(np.arange(n) * a)


FORMULAS = [
    ('Bartlett', [0], bartlett),
    ('Blackman', [-0.16, 0.3], blackman),
    ('Hamming', [0], lambda n, p: 0.54 - 0.46 * np.cos(t_of(n))),
    ('Hann', [0], lambda n, p: 0.5 - 0.5 * np.cos(t_of(n))),
    ('BlackmanExact', [0], three_term(0.42659071, 0.49656062, 0.07684867)),
    ('BlackmanHarris', [0], three_term(0.42323, 0.49755, 0.07922)),
    ('FlatTop', [0], three_term(0.2810639, 0.5208972, 0.1980399)),
    ('Kaiser', [0, 2.5, 5.65326, 12], kaiser),
    ('Chebyshev', [20, 40, 100], chebyshev),
    ('CosineTaper', [10, 20, 33, 60, 100], cosine_taper),
    ('Exponent', [0.5, 0.01, 2], exponent),
]

SCIPY = [
    ('Bartlett', [0], lambda n, p: sw.bartlett(n, sym=True)),
    ('Blackman', [-0.16], lambda n, p: sw.blackman(n, sym=True)),
    ('Hamming', [0], lambda n, p: sw.hamming(n, sym=True)),
    ('Hann', [0], lambda n, p: sw.hann(n, sym=True)),
    ('KaiserInterior', [0, 2.5, 5.65326, 12], lambda n, b: sw.kaiser(n, b, sym=True)),
]


def line(source, name, param, values):
    return '%s;%s;%r;%d;%s' % (source, name, float(param), len(values), ' '.join(repr(float(v)) for v in values))


def main():
    lines = []
    for source, table in (('formula', FORMULAS), ('scipy', SCIPY)):
        for name, params, f in table:
            for p in params:
                for n in LENGTHS:
                    lines.append(line(source, name, p, f(n, p)))
    for x in [0, 1, 0.5, 3.75, 10, 40, 100]:
        lines.append('i0;BesselI0;%r;1;%r' % (float(x), float(sp.i0(x))))
    with open(os.path.join(HERE, 'windows_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
