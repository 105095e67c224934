#!/usr/bin/python3
"""Makes data/remez_designs.txt: filter-record designs by scipy.signal.remez.

Source of the expected values: scipy.signal.remez (Parks-McClellan exchange,
sampling frequency 1), from Debian's python3-scipy; the library method's
order by Herrmann's estimate (Herrmann, Rabiner and Chan, 1973).

The workbench's own exchange designs `taps` taps, where taps is order + 1
(raised to odd for high-pass and band-stop). For taps = 4q + 3 it interpolates
with one extremal more than scipy does for that length, i.e. it designs the
response of taps + 2 taps and samples it back onto `taps` taps, which folds the
outer pair of the longer filter onto the next pair; the fixture does the same.

The library method (method 2) designs `order` taps with the deviations
themselves as band weights (pass band 2 d1, stop band d2), at the grid density
given with the design.

The coefficients follow the delay cut: the taps from `delay` bars before the
centre to the end, divided by their sum.

Run: /usr/bin/python3 workbench/logic/tests/gen_remez_fixtures.py
"""
import os

import numpy as np
import scipy
from scipy.signal import remez

HERE = os.path.dirname(os.path.abspath(__file__))

# name, type, P1, D1, A1, P2, D2, A2, ripple, order, delay
DESIGNS = [
    ("default", 0, 24, 12, 40, 0, 0, 0, 0.08, 50, 0),
    ("default_delay3", 0, 24, 12, 40, 0, 0, 0, 0.08, 50, 3),
    ("lp_even_60", 0, 24, 12, 40, 0, 0, 0, 0.08, 59, 2),
    ("lp_mod1_45", 0, 30, 15, 50, 0, 0, 0, 0.2, 44, 0),
    ("lp_mod3_67", 0, 40, 16, 60, 0, 0, 0, 0.1, 66, 5),
    ("hp_odd_41", 1, 6, 12, 40, 0, 0, 0, 0.1, 40, 0),
    ("hp_forced_odd_43", 1, 6, 12, 40, 0, 0, 0, 0.1, 41, 1),
    ("bp_57", 2, 10, 5, 30, 20, 40, 30, 0.5, 56, 0),
    ("bs_53", 3, 10, 5, 30, 20, 40, 0, 0.5, 52, 3),
]
# Long band-pass designs, 89 to 201 taps: P1 10, D1 8, P2 20, D2 25, A 40, ripple 0.5.
for order in (88, 90, 92, 96, 100, 120, 150, 160, 200):
    DESIGNS.append((f"bp_long_{order + 1}", 2, 10, 8, 40, 20, 25, 40, 0.5, order, 0))
# Band-pass designs whose barycentric denominators fall below 1e-5 (P1 10,
# D1 5, P2 20, D2 40): a floor there keeps them from converging. Their wide
# transition bands make the taps large, so they compare relative to the largest.
for order in (88, 92, 96, 120):
    DESIGNS.append((f"bp_wide_{order + 1}", 2, 10, 5, 40, 20, 40, 40, 0.5, order, 0))
# Band-pass designs whose equally spaced first extremals miss the narrow pass
# band (P1 24, D1 12, P2 31, D2 52): the first round finds too few extremals.
for order in (60, 92):
    DESIGNS.append((f"bp_narrow_{order + 1}", 2, 24, 12, 40, 31, 52, 40, 0.08, order, 1))


# The library method: name, type, P1, D1, A1, P2, D2, A2, ripple, delay, grid
# density; the order is Herrmann's estimate, at least 10.
LIBRARY_DESIGNS = [
    ("default_library", 0, 24, 12, 40, 0, 0, 0, 0.08, 0, 16),
    ("default_library_delay2", 0, 24, 12, 40, 0, 0, 0, 0.08, 2, 16),
    ("default_library_generator", 0, 24, 12, 40, 0, 0, 0, 0.08, 0, 32),
]


def deviations_of(ripple, a1):
    return (1 - 10 ** (-0.05 * ripple)) * 0.5, 10 ** (-0.05 * a1)


def herrmann(f1, f2, dp, ds):
    """Herrmann's length estimate of one transition band."""
    a1, a2, a3, a4, a5, a6 = 5.309e-3, 7.114e-2, -4.761e-1, -2.66e-3, -5.941e-1, -4.278e-1
    b1, b2 = 11.01217, 0.51244
    dp, ds = max(dp, ds), min(dp, ds)
    l1, l2 = np.log10(dp), np.log10(ds)
    dinf = l2 * (a1 * l1 ** 2 + a2 * l1 + a3) + (a4 * l1 ** 2 + a5 * l1 + a6)
    fk = b1 + b2 * (l1 - l2)
    df = abs(f2 - f1)
    return dinf / df - fk * df + 1


def bands_of(ftype, p1, d1, a1, p2, d2, a2, ripple):
    dev1 = (1 - 10 ** (-0.05 * ripple)) * 0.5
    dev2 = 10 ** (-0.05 * a1)
    dev3 = 10 ** (-0.05 * a2)
    w1, w2 = dev1 / dev2, dev1 / dev3
    if ftype == 0:
        return [0, 1 / p1, 1 / d1, 0.5], [1, 0], [1, w1]
    if ftype == 1:
        return [0, 1 / d1, 1 / p1, 0.5], [0, 1], [w1, 1]
    edges = [0, 1 / d2, 1 / p2, 1 / p1, 1 / d1, 0.5]
    if ftype == 2:
        return edges, [0, 1, 0], [w1, 1, w2]
    return edges, [1, 0, 1], [1, w1, 1]


def own_taps(ftype, order):
    taps = order + 1
    if ftype in (1, 3) and taps % 2 == 0:
        taps += 1
    return taps


def own_design(ftype, bands, desired, weight, taps):
    if taps % 4 == 3:
        longer = remez(taps + 2, bands, desired, weight=weight, fs=1.0, grid_density=16, maxiter=100)
        h = longer[1:-1].copy()
        h[0] += longer[0]
        h[-1] += longer[-1]
        return h
    return remez(taps, bands, desired, weight=weight, fs=1.0, grid_density=16, maxiter=100)


def round_half_away(x):
    return int(np.floor(x + 0.5)) if x >= 0 else -int(np.floor(-x + 0.5))


def delay_cut(h, delay, own=True):
    n = len(h)
    if own:
        start = round_half_away((n - 1) / 2 - delay)
        count = n - start
    else:
        count = round_half_away(n / 2) + delay
        start = n - count
    part = h[max(start, 0):]
    total = part.sum()
    written = [(h[i] / total if i >= 0 else 0.0) for i in range(start, n)]
    return count, written


def block(name, ftype, p1, d1, a1, p2, d2, a2, ripple, order, delay, method, density, h, count, coef):
    return [
        f"design {name} {ftype} {p1} {d1} {a1} {p2} {d2} {a2} {ripple!r} {order} {delay} {method} {density}",
        "impulse " + str(len(h)) + " " + " ".join(repr(float(v)) for v in h),
        "coef " + str(count) + " " + str(len(coef)) + " " + " ".join(repr(float(v)) for v in coef),
    ]


def main():
    out = [f"# made by gen_remez_fixtures.py with scipy {scipy.__version__}"]
    for name, ftype, p1, d1, a1, p2, d2, a2, ripple, order, delay in DESIGNS:
        bands, desired, weight = bands_of(ftype, p1, d1, a1, p2, d2, a2, ripple)
        taps = own_taps(ftype, order)
        h = own_design(ftype, bands, desired, weight, taps)
        count, coef = delay_cut(h, delay)
        out += block(name, ftype, p1, d1, a1, p2, d2, a2, ripple, order, delay, 1, 16, h, count, coef)
    for name, ftype, p1, d1, a1, p2, d2, a2, ripple, delay, density in LIBRARY_DESIGNS:
        dev1, dev2 = deviations_of(ripple, a1)
        bands = [0, 1 / p1, 1 / d1, 0.5]
        order = max(int(np.ceil(herrmann(bands[1], bands[2], 2 * dev1, dev2))), 10)
        h = remez(order, bands, [1, 0], weight=[2 * dev1, dev2], fs=1.0, grid_density=density, maxiter=100)
        count, coef = delay_cut(h, delay, own=False)
        out += block(name, ftype, p1, d1, a1, p2, d2, a2, ripple, order, delay, 2, density, h, count, coef)
    with open(os.path.join(HERE, "data", "remez_designs.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
