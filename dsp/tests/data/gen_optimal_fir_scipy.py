#!/usr/bin/python3
"""Writes the scipy tables of the equiripple design tests.

Source: scipy.signal.remez of Debian's python3-scipy, grid_density 16.

optimal_fir_designs.txt, two lines per design:
  design <name> <numtaps> <rtype> <fs> <nbands> <edges in Hz> <gains> <weights> <scipy deviation>
  taps <scipy's taps>
rtype is the designer's TRemezType: 0 band pass/stop, 1 differentiator, 2 Hilbert transformer.
scipy's taps are stored as scipy gives them; the designer's Hilbert taps are their negative, and
its differentiator's desired value is gain * 2 pi fs g where scipy's is gain * g.

optimal_fir_sweep.txt, one line per set of requirements of a low-pass or band-pass sweep:
  <numtaps> <converged 0/1> <scipy deviation or nan> <nbands> <edges> <gains>   (fs 1, weights 1)
"converged" means scipy.signal.remez returned without an error AND its taps are equiripple on
scipy's own grid (at least nfcns + 1 alternating extrema within 1 % of the largest weighted
error): without the second test, scipy also "converges" on designs whose deviation lies below
double precision, and returns taps that are not equiripple.

The deviation of scipy's taps is their largest weighted error on scipy's own dense grid.
Run: /usr/bin/python3 gen_optimal_fir_scipy.py  (from any folder)
"""
import os
import numpy as np
import scipy
from scipy.signal import remez

HERE = os.path.dirname(os.path.abspath(__file__))
TYPES = {0: 'bandpass', 1: 'differentiator', 2: 'hilbert'}


def scipy_grid(numtaps, edges, desired, weights, rtype, density=16):
    """scipy's dense grid (as its remez builds it), with desired values and weights."""
    neg = rtype != 0
    nodd = numtaps % 2
    nfcns = numtaps // 2 + (1 if (nodd and not neg) else 0)
    delf = 0.5 / (density * nfcns)
    g, d, w = [], [], []

    def eff(f, b):
        return desired[b] * f if rtype == 1 else desired[b]

    def wate(f, b):
        return weights[b] / f if (rtype == 1 and desired[b] >= 0.0001) else weights[b]

    for b in range(len(desired)):
        lo, hi = edges[2 * b], edges[2 * b + 1]
        if b == 0 and neg and lo < delf:
            lo = delf
        f = lo
        while True:
            g.append(f); d.append(eff(f, b)); w.append(wate(f, b))
            f += delf
            if not f <= hi:
                break
        g[-1] = hi; d[-1] = eff(hi, b); w[-1] = wate(hi, b)
    if neg == bool(nodd) and g[-1] > 0.5 - delf:
        g.pop(); d.pop(); w.pop()
    return np.array(g), np.array(d), np.array(w), nfcns


def amplitude(h, f, antisymmetric):
    n = len(h)
    ph = 2 * np.pi * np.outer(f, (n - 1) / 2 - np.arange(n))
    return (np.sin(ph) if antisymmetric else np.cos(ph)) @ h


def weighted_error(h, numtaps, edges, desired, weights, rtype):
    g, d, w, nfcns = scipy_grid(numtaps, edges, desired, weights, rtype)
    return w * (d - amplitude(h, g, rtype != 0)), nfcns


def equiripple(e, nfcns):
    a = np.abs(e)
    top = a.max()
    runs = []
    for v, s in zip(a, np.sign(e)):
        if runs and runs[-1][0] == s:
            runs[-1][1] = max(runs[-1][1], v)
        else:
            runs.append([s, v])
    alternations, last = 0, None
    for s, v in runs:
        if v >= 0.99 * top and s != last:
            alternations += 1
            last = s
    return alternations >= nfcns + 1


def design(numtaps, edges, desired, weights, rtype, fs):
    h = remez(numtaps, edges, desired, weight=weights, type=TYPES[rtype], grid_density=16, fs=fs)
    e, nfcns = weighted_error(h, numtaps, [x / fs for x in edges], desired, weights, rtype)
    # A reference must be a true equiripple design.
    assert equiripple(e, nfcns), 'scipy does not reach an equiripple design'
    return h, float(np.abs(e).max())


DESIGNS = [
    # name, numtaps, rtype, fs, edges (Hz), gains, weights
    ('lowpass11', 11, 0, 1.0, [0, 0.1, 0.25, 0.5], [1, 0], [1, 1]),
    ('lowpass12', 12, 0, 1.0, [0, 0.1, 0.25, 0.5], [1, 0], [1, 1]),
    ('lowpass51', 51, 0, 1000.0, [0, 100, 130, 500], [1, 0], [1, 1]),
    ('lowpass100', 100, 0, 1.0, [0, 0.2, 0.22, 0.5], [2, 0], [1, 10]),
    ('lowpass255', 255, 0, 1.0, [0, 0.05, 0.06, 0.5], [1, 0], [1, 1]),
    ('lowpass501', 501, 0, 1.0, [0, 0.1, 0.104, 0.5], [1, 0], [1, 1]),
    ('lowpass1001', 1001, 0, 1.0, [0, 0.1, 0.102, 0.5], [1, 0], [1, 1]),
    ('highpass31', 31, 0, 1.0, [0, 0.3, 0.4, 0.5], [0, 1], [1, 1]),
    ('highpass201', 201, 0, 250.0, [0, 50, 52, 125], [0, 1], [5, 1]),
    ('bandpass61', 61, 0, 1.0, [0, 0.1, 0.15, 0.25, 0.3, 0.5], [0, 1, 0], [1, 1, 1]),
    ('bandpass64', 64, 0, 1.0, [0, 0.1, 0.15, 0.25, 0.3, 0.5], [0, 1, 0], [1, 1, 1]),
    ('bandpass401', 401, 0, 2.0, [0, 0.2, 0.23, 0.4, 0.43, 1.0], [0, 1, 0], [1, 1, 1]),
    ('bandpass1000', 1000, 0, 1.0, [0, 0.1, 0.102, 0.2, 0.202, 0.5], [0, 1, 0], [1, 1, 1]),
    ('bandstop45', 45, 0, 1.0, [0, 0.1, 0.17, 0.3, 0.37, 0.5], [1, 0, 1], [1, 1, 1]),
    ('bandstop301', 301, 0, 1.0, [0, 0.1, 0.11, 0.3, 0.31, 0.5], [1, 0, 1], [1, 3, 1]),
    # The evenly spread start has no point in the stop band, so its levelled error is 0.
    ('bandstop175', 175, 0, 1.0, [0, 0.022519412479004144, 0.05793169513687069, 0.12916860678693828,
                                   0.1645808894448048, 0.5], [1, 0, 1], [1, 1, 1]),
    ('hilbert31', 31, 2, 1.0, [0.05, 0.45], [1], [1]),
    ('hilbert32', 32, 2, 1.0, [0.05, 0.5], [1], [1]),
    ('hilbert101', 101, 2, 1.0, [0.02, 0.48], [1], [1]),
    ('hilbert250', 250, 2, 100.0, [1, 50], [1], [1]),
    ('hilbert1001', 1001, 2, 1.0, [0.003, 0.497], [1], [1]),
    ('differentiator21', 21, 1, 1.0, [0, 0.45], [1], [1]),
    ('differentiator30', 30, 1, 1.0, [0, 0.5], [1], [1]),
    ('differentiator101', 101, 1, 10.0, [0, 4.5], [2], [1]),
    ('differentiator200', 200, 1, 1.0, [0, 0.5], [1], [1]),
]


def sweep_specs():
    for n in [11, 24, 51, 100, 101, 255, 500, 501, 1001, 1500, 2001, 2500]:
        for fp in [0.05, 0.2, 0.4]:
            for t in [0.2, 0.05, 0.01, 0.003, 0.001]:
                if fp + t < 0.5:
                    yield n, [0, fp, fp + t, 0.5], [1, 0]
                lo = fp / 2
                if lo - t > 0 and fp + t < 0.5:
                    yield n, [0, lo - t, lo, fp, fp + t, 0.5], [0, 1, 0]


def fmt(values):
    return ' '.join(repr(float(v)) for v in values)


def main():
    header = '# scipy %s scipy.signal.remez, grid_density 16; made by gen_optimal_fir_scipy.py\n'
    with open(os.path.join(HERE, 'optimal_fir_designs.txt'), 'w') as f:
        f.write(header % scipy.__version__)
        for name, n, rtype, fs, edges, gains, weights in DESIGNS:
            h, dev = design(n, edges, gains, weights, rtype, fs)
            f.write('design %s %d %d %s %d %s %s %s %r\n' % (
                name, n, rtype, repr(fs), len(gains), fmt(edges), fmt(gains), fmt(weights), dev))
            f.write('taps %s\n' % ' '.join('%.17g' % v for v in h))
    with open(os.path.join(HERE, 'optimal_fir_sweep.txt'), 'w') as f:
        f.write(header % scipy.__version__)
        for n, edges, gains in sweep_specs():
            weights = [1] * len(gains)
            converged, dev = 0, float('nan')
            try:
                h = remez(n, edges, gains, weight=weights, grid_density=16)
                e, nfcns = weighted_error(h, n, edges, gains, weights, 0)
                if equiripple(e, nfcns):
                    converged, dev = 1, float(np.abs(e).max())
            except ValueError:
                pass
            f.write('%d %d %r %d %s %s\n' % (n, converged, dev, len(gains), fmt(edges), fmt(gains)))


if __name__ == '__main__':
    main()
