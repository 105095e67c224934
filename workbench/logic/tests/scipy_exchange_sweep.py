#!/usr/bin/python3
"""Prints scipy.signal.remez designs of one filter record at many lengths, for the sweep of the
workbench's own exchange (ExchangeSweepTest.cpp runs it live).

Source of the expected values: scipy.signal.remez of Debian's python3-scipy (Parks-McClellan
exchange, grid density 16, sampling frequency 1, its default iteration limit), with the bands,
desired values and weights the workbench gives the own exchange for the record.

The own exchange designs `taps` taps (order + 1). For taps = 4q + 3 it interpolates with one
extremal more than scipy does for that length: it designs the response of taps + 2 taps and
samples it back onto `taps` taps, which folds the outer pair of the longer filter onto the next
pair. The script gives scipy's design of the length the exchange works at (taps + 2 there); the
test folds it.

A length is sound when scipy returns without an error and its taps are a true equiripple design
on scipy's own dense grid: at least nfcns + 1 alternating extrema of the weighted error within
1 % of its largest value, so that they reach the levelled deviation and ripple evenly. scipy
returns designs that fail this at some lengths (where the deviation nears the rounding of double
precision, or where its iteration limit ends an exchange that had not converged); those are no
reference.

Usage: /usr/bin/python3 scipy_exchange_sweep.py TYPE P1 D1 A1 P2 D2 A2 RIPPLE TAPS...
Prints one line per length:
  <taps> sound <length designed> <scipy's taps of that length>
  <taps> unsound
"""
import sys

import numpy as np
from scipy.signal import remez

from gen_remez_fixtures import bands_of


def scipy_grid(numtaps, edges, desired, weights, density=16):
    """scipy's dense grid for a symmetric filter, as its remez builds it."""
    nfcns = numtaps // 2 + numtaps % 2
    delf = 0.5 / (density * nfcns)
    g, d, w = [], [], []
    for b in range(len(desired)):
        lo, hi = edges[2 * b], edges[2 * b + 1]
        f = lo
        while True:
            g.append(f)
            d.append(desired[b])
            w.append(weights[b])
            f += delf
            if not f <= hi:
                break
        g[-1] = hi
    if numtaps % 2 == 0 and g[-1] > 0.5 - delf:
        g.pop(), d.pop(), w.pop()
    return np.array(g), np.array(d), np.array(w), nfcns


def equiripple(h, edges, desired, weights):
    g, d, w, nfcns = scipy_grid(len(h), edges, desired, weights)
    n = len(h)
    amplitude = np.cos(2 * np.pi * np.outer(g, (n - 1) / 2 - np.arange(n))) @ h
    e = w * (d - amplitude)
    top = np.abs(e).max()
    alternations, last = 0, 0
    runs = []
    for v in e:
        s = 1 if v > 0 else -1
        if runs and runs[-1][0] == s:
            runs[-1][1] = max(runs[-1][1], abs(v))
        else:
            runs.append([s, abs(v)])
    for s, v in runs:
        if v >= 0.99 * top and s != last:
            alternations += 1
            last = s
    return alternations >= nfcns + 1


def reference(taps, edges, desired, weights):
    """scipy's design at the length the own exchange works at, or None where it is no reference."""
    longer = taps + 2 if taps % 4 == 3 else taps
    try:
        h = remez(longer, edges, desired, weight=weights, fs=1.0, grid_density=16)
    except ValueError:
        return None
    if not np.all(np.isfinite(h)) or not equiripple(h, edges, desired, weights):
        return None
    return h


def main():
    ftype = int(sys.argv[1])
    p1, d1, a1, p2, d2, a2 = (int(v) for v in sys.argv[2:8])
    ripple = float(sys.argv[8])
    edges, desired, weights = bands_of(ftype, p1, d1, a1, p2, d2, a2, ripple)
    out = []
    for taps in (int(v) for v in sys.argv[9:]):
        h = reference(taps, edges, desired, weights)
        if h is None:
            out.append('%d unsound' % taps)
        else:
            out.append('%d sound %d %s' % (taps, len(h), ' '.join(repr(float(v)) for v in h)))
    sys.stdout.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
