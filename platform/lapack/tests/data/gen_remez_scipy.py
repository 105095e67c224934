#!/usr/bin/python3
"""Writes remez_scipy.txt: equiripple designs by scipy.signal.remez (grid_density 16, fs 1).

Source: scipy.signal.remez of Debian's python3-scipy. The exchange tests rebuild scipy's dense
grid for each design and compare the exchange with these taps on the same discrete problem.

Format, two lines per design:
  design <name> <numtaps> <type: 1 bandpass, 2 differentiator, 3 hilbert> <nbands> <edges> <desired> <weights>
  taps <numtaps values>
Run: /usr/bin/python3 gen_remez_scipy.py  (from this folder)
"""
import os
import scipy
from scipy.signal import remez

TYPES = {1: 'bandpass', 2: 'differentiator', 3: 'hilbert'}

DESIGNS = [
    # name, numtaps, type, edges, desired, weights
    ('lowpass21', 21, 1, [0, 0.1, 0.2, 0.5], [1, 0], [1, 1]),
    ('lowpass101', 101, 1, [0, 0.1, 0.12, 0.5], [1, 0], [1, 1]),
    ('lowpass100', 100, 1, [0, 0.1, 0.12, 0.5], [1, 0], [1, 1]),
    ('highpass61', 61, 1, [0, 0.2, 0.25, 0.5], [0, 1], [1, 1]),
    ('bandpass101', 101, 1, [0, 0.1, 0.15, 0.3, 0.35, 0.5], [0, 1, 0], [1, 1, 1]),
    ('bandstop81', 81, 1, [0, 0.1, 0.15, 0.3, 0.35, 0.5], [1, 0, 1], [1, 10, 1]),
    ('weighted64', 64, 1, [0, 0.15, 0.2, 0.5], [1, 0], [1, 25]),
    ('multiband99', 99, 1, [0, 0.05, 0.08, 0.15, 0.18, 0.3, 0.33, 0.5], [0, 1, 0.5, 0], [3, 1, 1, 3]),
    ('lowpass501', 501, 1, [0, 0.1, 0.104, 0.5], [1, 0], [1, 1]),
    ('hilbert101', 101, 3, [0.05, 0.45], [1], [1]),
    ('hilbert100', 100, 3, [0.05, 0.5], [1], [1]),
    ('differentiator101', 101, 2, [0.0, 0.45], [1], [1]),
    ('differentiator100', 100, 2, [0.0, 0.5], [1], [1]),
    # A target so smooth that the first levelled error is rounding.
    ('differentiator66', 66, 2, [0.0, 0.40141005325411117], [1], [1]),
]


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'remez_scipy.txt')
    with open(out, 'w') as f:
        f.write('# scipy %s, scipy.signal.remez(numtaps, edges, desired, weight=weights, '
                'type=..., grid_density=16); made by gen_remez_scipy.py\n' % scipy.__version__)
        for name, n, t, edges, desired, weights in DESIGNS:
            h = remez(n, edges, desired, weight=weights, type=TYPES[t], grid_density=16)
            values = [n, t, len(desired)] + edges + desired + weights
            f.write('design %s %s\n' % (name, ' '.join(repr(v) for v in values)))
            f.write('taps %s\n' % ' '.join('%.17g' % v for v in h))


if __name__ == '__main__':
    main()
