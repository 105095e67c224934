#!/usr/bin/python3
"""Writes fir_window_design_oracle.txt, the reference table of the window-method design tests.

Sources (Debian's python3-scipy and python3-numpy):
  firwin     scipy.signal.firwin(numtaps, cutoffs relative to the Nyquist frequency, window,
             pass_zero, scale=False) times the gain: the windowed ideal response. For the Kaiser
             window (('kaiser', beta)) the tests compare all taps but the two ends, which the
             designer sets to 0 where scipy has 1 / I0(beta).
  kaiser     scipy.signal.kaiser_beta(A) for attenuations A in dB.
  kaiserdesign  the Kaiser design: the length by the designer's rule (round half to even of
             (A - 8) / (2.285 dw), dw the transition in radians per sample, the larger of two;
             odd for all but the low-pass; 4 .. 10000) and scipy.signal.firwin(length, cutoffs,
             window=('kaiser', kaiser_beta(A)), scale=False) times the gain.
  savgol     scipy.signal.savgol_coeffs(window, polyorder, deriv, use='dot'): deriv! times the
             fitted polynomial's coefficient of x^deriv as weights of the frame's samples.
  wsavgol    numpy: the weighted least-squares fit over the frame, Diff = (V W V^T)^-1 V W by
             numpy.linalg.lstsq(W^1/2 V^T, W^1/2) (V[r][c] = x_c^r, x = -h .. h, W the diagonal of
             the weights), and the fitted value's weights at the centre, row h of V^T Diff.
  exact      the same fits in exact rational arithmetic (fractions.Fraction, the weights taken
             as the exact values of their doubles), rounded once to doubles: Diff by rows. The
             floating-point references lose digits to the Vandermonde matrix's condition
             (savgol_coeffs about 1e-11 at frame 31, degree 6); these do not.

One case a line, fields separated by ';':
  firwin;<band type code>;<numtaps asked>;<edges Hz>;<fs>;<window code>;<window parameter>;<gain>;<taps>
  kaiser;<A>;<beta>
  kaiserdesign;<band type code>;<edges Hz>;<ripple>;<fs>;<gain>;<length>;<taps>
  savgol;<window>;<polyorder>;<deriv>;<weights of the frame>;<Ks>;<ratio>;<reference error>
  wsavgol;<window>;<polyorder>;<weights>;<centre row>;<Diff by rows>;<Ks>;<ratio>;<reference error>
  exact;<window>;<polyorder>;<weights or empty>;<Diff by rows>;<Ks>;<ratio>
The fits add the 2-norm condition Ks of the least-squares matrix W^1/2 V^T with its columns
scaled to unit norm, and the largest residual ratio |r| / (|A D| |D^-1 x|) of its right-hand
sides, from which the tests derive their bounds; the floating-point references add their own
largest difference from the exact fit.
Band type codes are the designer's (0 low-pass, 1 high-pass, 2 band-pass, 3 band-stop), window
codes its window types (0 rectangular, 1 Hann, 2 Hamming, 4 Bartlett, 5 Blackman, 9 Kaiser).
Run: /usr/bin/python3 gen_fir_window_design_oracle.py  (from any folder)
"""
import math
import os
from fractions import Fraction
import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in np.ravel(v))


WINDOWS = {0: lambda p: 'boxcar', 1: lambda p: 'hann', 2: lambda p: 'hamming', 4: lambda p: 'bartlett',
           5: lambda p: 'blackman', 9: lambda p: ('kaiser', p)}


def design_length(band, n):
    # high-pass and band-stop need an odd length
    return n + 1 if band in (1, 3) and n % 2 == 0 else n


def cutoffs(band, edges, fs):
    if band in (0, 1):
        return [edges[0] / (fs / 2)] if len(edges) == 1 else [(edges[0] + edges[1]) / fs]
    if len(edges) == 2:
        return [edges[0] / (fs / 2), edges[1] / (fs / 2)]
    return [(edges[0] + edges[1]) / fs, (edges[2] + edges[3]) / fs]


def firwin_cases():
    lines = []
    specs = [
        (0, 5, [1000], 8000, 1.0), (0, 31, [1000], 8000, 1.0), (0, 32, [900, 1100], 8000, 2.5),
        (1, 30, [1500], 8000, 1.0), (1, 41, [0.2, 0.3], 2, -1.0), (2, 40, [1000, 2000], 8000, 1.0),
        (2, 33, [500, 700, 2000, 2200], 8000, 0.5), (3, 40, [1000, 2000], 8000, 1.0),
        (3, 51, [0.1, 0.15, 0.3, 0.35], 1, 1.0), (0, 101, [0.05], 1, 1.0),
    ]
    for band, n, edges, fs, gain in specs:
        for code, params in ((0, [0]), (1, [0]), (2, [0]), (4, [0]), (5, [-0.16]), (9, [0.5, 5.65326])):
            for p in params:
                numtaps = design_length(band, n)
                h = ss.firwin(numtaps, cutoffs(band, edges, fs), window=WINDOWS[code](p),
                              pass_zero=band in (0, 3), scale=False) * gain
                lines.append('firwin;%d;%d;%s;%r;%d;%r;%r;%s' % (band, n, numbers(edges), float(fs), code,
                                                               float(p), float(gain), numbers(h)))
    return lines


def kaiser_cases():
    return ['kaiser;%r;%r' % (float(a), float(ss.kaiser_beta(a)))
            for a in (10, 20.9, 21, 30, 40, 50, 50.0001, 60, 80, 120)]


def kaiser_design_cases():
    lines = []
    specs = [(0, [1000, 1500], 0.001, 8000, 1.0), (1, [0.2, 0.26], 0.01, 1, 2.0),
             (2, [500, 800, 2000, 2400], 0.0005, 8000, 1.0), (3, [0.1, 0.14, 0.3, 0.33], 0.003, 1, 1.0),
             (0, [0.1, 0.5], 0.1, 2, 1.0)]
    for band, edges, ripple, fs, gain in specs:
        a = -20 * math.log10(ripple)

        def order(lo, hi):
            return round((a - 8) / (2.285 * (abs(hi - lo) / (fs / 2) * math.pi)))
        n = order(edges[0], edges[1]) if len(edges) == 2 else max(order(edges[0], edges[1]),
                                                                   order(edges[2], edges[3]))
        if band != 0 and n % 2 == 0:
            n += 1
        n = min(max(n, 4), 10000)
        h = ss.firwin(n, cutoffs(band, edges, fs), window=('kaiser', ss.kaiser_beta(a)),
                      pass_zero=band in (0, 3), scale=False) * gain
        lines.append('kaiserdesign;%d;%s;%r;%r;%r;%d;%s' % (band, numbers(edges), ripple, float(fs), gain, n,
                                                         numbers(h)))
    return lines


def savgol_cases():
    lines = []
    for window, order in ((5, 2), (5, 0), (7, 3), (9, 4), (11, 2), (15, 5), (21, 4), (31, 6), (25, 1)):
        for deriv in range(0, min(order, 3) + 1):
            c = ss.savgol_coeffs(window, order, deriv=deriv, use='dot')
            k, ratio = fit_condition(window, order)
            exact = np.array(exact_diff(window, order)).reshape(order + 1, window)[deriv] * math.factorial(deriv)
            lines.append('savgol;%d;%d;%d;%s;%r;%r;%r' % (window, order, deriv, numbers(c), k, ratio,
                                                           float(np.max(np.abs(c - exact)))))
    return lines


def exact_diff(window, order, weights=None):
    """(V W V^T)^-1 V W in rationals, by Gauss-Jordan elimination."""
    h = window // 2
    xs = [Fraction(x) for x in range(-h, h + 1)]
    w = [Fraction(1)] * window if weights is None else [Fraction(float(v)) for v in weights]
    v = [[x ** r for x in xs] for r in range(order + 1)]
    m = order + 1
    rows = [[sum(v[i][c] * w[c] * v[j][c] for c in range(window)) for j in range(m)] +
            [v[i][c] * w[c] for c in range(window)] for i in range(m)]
    for col in range(m):
        pivot = next(r for r in range(col, m) if rows[r][col] != 0)
        rows[col], rows[pivot] = rows[pivot], rows[col]
        p = rows[col][col]
        rows[col] = [value / p for value in rows[col]]
        for r in range(m):
            if r != col and rows[r][col] != 0:
                f = rows[r][col]
                rows[r] = [a - f * b for a, b in zip(rows[r], rows[col])]
    return [float(value) for row in rows for value in row[m:]]


def fit_condition(window, order, weights=None):
    """The least-squares problem (W^1/2 V^T) Diff = W^1/2 with its columns scaled to unit norm
    (Householder QR's error does not depend on that scaling): its 2-norm condition number Ks and
    the largest residual ratio |r| / (|A D| |D^-1 x|) over the right-hand sides."""
    h = window // 2
    x = np.arange(-h, h + 1, dtype=float)
    w = np.ones(window) if weights is None else np.asarray(weights, float)
    root = np.sqrt(w)
    a = root[:, None] * np.vstack([x ** r for r in range(order + 1)]).T
    d = np.linalg.norm(a, axis=0)
    ad = a / d
    rhs = np.diag(root)
    diff = np.array(exact_diff(window, order, weights)).reshape(order + 1, window)
    ratio = 0.0
    for j in range(window):
        sol = diff[:, j]
        r = rhs[:, j] - a @ sol
        ratio = max(ratio, np.linalg.norm(r) / (np.linalg.norm(ad, 2) * np.linalg.norm(sol * d)))
    return np.linalg.cond(ad), ratio


def exact_cases():
    lines = []
    for window, order in ((5, 2), (9, 4), (21, 4), (31, 6), (25, 1)):
        k, ratio = fit_condition(window, order)
        lines.append('exact;%d;%d;;%s;%r;%r' % (window, order, numbers(exact_diff(window, order)), k, ratio))
    rng = np.random.default_rng(7)
    for window, order in ((5, 2), (9, 3), (15, 4), (7, 6)):
        w = 0.2 + rng.random(window) * 3
        k, ratio = fit_condition(window, order, w)
        lines.append('exact;%d;%d;%s;%s;%r;%r' % (window, order, numbers(w), numbers(exact_diff(window, order, w)), k,
                                                  ratio))
    return lines


def weighted_savgol_cases():
    lines = []
    rng = np.random.default_rng(7)
    for window, order in ((5, 2), (9, 3), (15, 4), (7, 6)):
        h = window // 2
        x = np.arange(-h, h + 1, dtype=float)
        v = np.vstack([x ** r for r in range(order + 1)])
        w = 0.2 + rng.random(window) * 3
        root = np.sqrt(w)
        diff = np.linalg.lstsq(root[:, None] * v.T, np.diag(root), rcond=None)[0]
        smooth = v.T @ diff
        k, ratio = fit_condition(window, order, w)
        exact = np.array(exact_diff(window, order, w)).reshape(order + 1, window)
        error = max(float(np.max(np.abs(diff - exact))), float(np.max(np.abs(smooth[h] - exact[0]))))
        lines.append('wsavgol;%d;%d;%s;%s;%s;%r;%r;%r' % (window, order, numbers(w), numbers(smooth[h]), numbers(diff), k,
                                                          ratio, error))
    return lines


def main():
    lines = (firwin_cases() + kaiser_cases() + kaiser_design_cases() + savgol_cases() + weighted_savgol_cases() +
             exact_cases())
    with open(os.path.join(HERE, 'fir_window_design_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
