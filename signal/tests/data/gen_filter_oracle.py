#!/usr/bin/python3
"""Writes filter_oracle.txt, the reference table of the filter and rate-converter oracle tests.

Sources (Debian's python3-scipy and python3-numpy):
  movingaverage  scipy.signal.lfilter(ones(5) / 5, 1, x) of 1000 samples of Gaussian noise
                 (numpy.random.default_rng(11)).
  butter         b, a = scipy.signal.butter(4, 0.2); scipy.signal.lfilter(b, a, x) of 1000
                 samples of Gaussian noise (default_rng(12)).
  remez          scipy.signal.remez(n, bands, desired, weight=w, fs=2) with the weights the
                 filter gives its bands: max(dev) / dev, dev 10^(-R/20) for a stop band and
                 (1 - 10^(-R/20)) / 2 for a pass band of ripple R dB. Two cases: a low-pass
                 [0, 0.2] gain 1 at 1 dB, [0.3, 1] gain 0 at 40 dB, 21 taps; and the high-pass
                 that mirrors it (its pass band last), 21 taps. The exchange finds the best
                 taps on a grid of the bands, and grids differ between designers: the case
                 carries how far scipy's own taps move when its grid density goes from 16 to
                 12, 17, 20, 24 or 32 (the spread of the answer with the grid).
  resample       scipy.signal.resample_poly(x, 3, 2) of x = cos(2 pi f n), n = 0 .. 1999, for
                 f = 0.05 and 0.2 cycles per input sample.

One case a line, fields separated by ';', the numbers of a field by blanks:
  movingaverage;<x>;<y>
  butter;<b>;<a>;<x>;<y>
  remez;<taps>;<band edges>;<gains>;<ripples dB>;<weights>;<h>;<grid spread>
  resample;<f>;<input length>;<y>
Run: /usr/bin/python3 gen_filter_oracle.py  (from any folder)
"""
import os

import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v, digits=17):
    return ' '.join('%.*g' % (digits, x) for x in np.ravel(v))


def deviation(gain, ripple):
    a = 10 ** (-ripple / 20)
    return a if gain == 0 else (1 - a) / 2


def remez_case(taps, edges, gains, ripples):
    dev = [deviation(g, r) for g, r in zip(gains, ripples)]
    weights = [max(dev) / d for d in dev]
    h = ss.remez(taps, edges, gains, weight=weights, fs=2)
    spread = max(np.max(np.abs(h - ss.remez(taps, edges, gains, weight=weights, fs=2, grid_density=d)))
                 for d in (12, 17, 20, 24, 32))
    return ';'.join(['remez', str(taps), numbers(edges), numbers(gains), numbers(ripples), numbers(weights),
                     numbers(h), '%.17g' % spread])


def main():
    lines = []

    x = np.random.default_rng(11).standard_normal(1000)
    lines.append(';'.join(['movingaverage', numbers(x), numbers(ss.lfilter(np.ones(5) / 5, 1, x))]))

    x = np.random.default_rng(12).standard_normal(1000)
    b, a = ss.butter(4, 0.2)
    lines.append(';'.join(['butter', numbers(b), numbers(a), numbers(x), numbers(ss.lfilter(b, a, x))]))

    lines.append(remez_case(21, [0, 0.2, 0.3, 1], [1, 0], [1, 40]))
    lines.append(remez_case(21, [0, 0.2, 0.3, 1], [0, 1], [40, 1]))

    n = 2000
    for f in (0.05, 0.2):
        x = np.cos(2 * np.pi * f * np.arange(n))
        lines.append(';'.join(['resample', '%.17g' % f, str(n), numbers(ss.resample_poly(x, 3, 2), 12)]))

    with open(os.path.join(HERE, 'filter_oracle.txt'), 'w') as out:
        out.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
