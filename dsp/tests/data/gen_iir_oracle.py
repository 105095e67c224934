#!/usr/bin/python3
"""Writes iir_oracle.txt: reference prototypes, order estimates and IIR designs.

Sources: scipy.signal of Debian's python3-scipy: buttap, cheb1ap, cheb2ap, ellipap, besselap
(norm='phase': geometric mean of the pole magnitudes 1; its poles made exact by Newton steps in
100-digit arithmetic), buttord, cheb1ord, cheb2ord, ellipord and
iirfilter (butter, cheby1, cheby2, ellip, bessel with norm='phase'), each as zeros, poles and gain
and as numerator and denominator.

The Butterworth cut-offs of the order table are the Butterworth formula that meets the stop-band
attenuation exactly, W0 = WA / (10^(|Rs|/10) - 1)^(1/(2N)), applied to scipy's (for a band-stop,
moved) pass-band edges; scipy's buttord meets the pass-band ripple instead. Every other cut-off is
scipy's.

Run from anywhere:

    /usr/bin/python3 dsp/tests/data/gen_iir_oracle.py

One case a line, fields separated by ';', numbers within a field by blanks (repr, which reads back
as the same double), a complex field as its real parts, '|', its imaginary parts:
  proto;<kind>;<N>;<Rp>;<Rs>;<zeros>;<poles>;<k>[;<m>;<S>;<Sk>;<r>;<V>;<Vk>]
  order;<kind>;<band type>;<analog 0/1>;<edges>;<Rp>;<Rs>;<N>;<cut-offs>;<Sr>;<Sa>;<pass edges>
  design;<kind>;<band type>;<analog 0/1>;<N>;<Rp>;<Rs>;<cut-offs>;<zeros>;<poles>;<k>;<b>;<a>
kind: 0 Butterworth, 1 Chebyshev I, 2 Chebyshev II, 3 elliptic, 6 Bessel (the design method's code).
An order case adds the cut-offs' largest change per relative change of the working edges (Sr,
summed over the pass and stop edges) and per absolute change of the pass edges (Sa, summed) by central differences of
the estimator's formulas, and the working pass edges themselves (prewarped unless analog, a
band-stop's moved by the minimiser). The elliptic prototypes of order 2 and more add what their
tolerance is derived from: the modulus m
and the argument r where sc(r | 1 - k1^2) = 1/eps that ellipap solves for, and the largest relative
change of a root (S) and of the gain (Sk) per unit change of m, and per relative change of r (V, Vk).
band type: 0 lowpass, 1 highpass, 2 bandpass, 3 bandstop. Edges are ascending, as the estimators
take them; digital frequencies are normalised to the Nyquist frequency.
"""
import math
import os
from decimal import Decimal, getcontext

import numpy as np
import scipy
from scipy import optimize, signal, special

HERE = os.path.dirname(os.path.abspath(__file__))
BTYPES = {0: 'lowpass', 1: 'highpass', 2: 'bandpass', 3: 'bandstop'}
FTYPES = {0: 'butter', 1: 'cheby1', 2: 'cheby2', 3: 'ellip', 6: 'bessel'}
lines = []


def field(values):
    return " ".join(repr(float(v)) for v in np.atleast_1d(values))


def cfield(values):
    v = np.atleast_1d(np.asarray(values, dtype=complex))
    return field(v.real) + "|" + field(v.imag)


def prototype(kind, n, rp, rs):
    if kind == 0:
        return signal.buttap(n)
    if kind == 1:
        return signal.cheb1ap(n, rp)
    if kind == 2:
        return signal.cheb2ap(n, rs)
    if kind == 3:
        return signal.ellipap(n, rp, rs)
    return signal.besselap(n, norm='phase')


def ellip_roots(n, rp, rs, m, r):
    """ellipap's zeros, poles and gain for a given modulus m and sc-argument r."""
    eps_sq = signal._filter_design._pow10m1(0.1 * rp)
    ck1_sq = eps_sq / signal._filter_design._pow10m1(0.1 * rs)
    capk = special.ellipk(m)
    j = np.arange(1 - n % 2, n, 2)
    s, c, d, _ = special.ellipj(j * capk / n, m * np.ones(len(j)))
    snew = s[np.abs(s) > np.finfo(float).eps]
    z = 1j / (np.sqrt(m) * snew)
    v0 = capk * r / (n * special.ellipk(ck1_sq))
    sv, cv, dv, _ = special.ellipj(v0, 1 - m)
    p = -(c * d * sv * cv + 1j * s * dv) / (1 - (d * sv) ** 2.0)
    if n % 2:
        p = np.concatenate((p, np.conj(p[np.abs(p.imag) > np.finfo(float).eps * np.abs(p)])))
        z = np.concatenate((z, np.conj(z)))
    else:
        p = np.concatenate((p, np.conj(p)))
        z = np.concatenate((z, np.conj(z)))
    k = (np.prod(-p) / np.prod(-z)).real
    if n % 2 == 0:
        k = k / np.sqrt(1 + eps_sq)
    return z, p, k


def ellip_sensitivities(n, rp, rs):
    """The modulus m and sc-argument r that ellipap solves for, and the largest relative change of
    a root and of the gain per unit change of m (S, Sk) and per relative change of r (V, Vk), by
    central differences of ellipap's own formulas."""
    eps_sq = signal._filter_design._pow10m1(0.1 * rp)
    ck1_sq = eps_sq / signal._filter_design._pow10m1(0.1 * rs)
    m = signal._filter_design._ellipdeg(n, ck1_sq)
    r = signal._filter_design._arc_jac_sc1(1.0 / np.sqrt(eps_sq), ck1_sq)

    def spread(lo, hi, h):
        (z1, p1, k1), (z2, p2, k2) = lo, hi
        roots = np.concatenate((np.abs(z2 - z1) / np.abs(z1 + z2) * 2, np.abs(p2 - p1) / np.abs(p1 + p2) * 2))
        return np.max(roots) / (2 * h), abs(k2 - k1) / abs(k1 + k2) * 2 / (2 * h)

    hm = 1e-6 * min(m, 1 - m)
    s_root, s_k = spread(ellip_roots(n, rp, rs, m - hm, r), ellip_roots(n, rp, rs, m + hm, r), hm)
    hr = 1e-6
    v_root, v_k = spread(ellip_roots(n, rp, rs, m, r * (1 - hr)), ellip_roots(n, rp, rs, m, r * (1 + hr)), hr)
    return [m, s_root, s_k, r, v_root, v_k]


def exact_bessel_poles(n, poles):
    """scipy's Bessel poles made exact to the last bit of a double: each unscaled root of the
    reverse Bessel polynomial theta_N (integer coefficients) takes three Newton steps in 100-digit
    decimal arithmetic, where the polynomial's condition (below 1e25 up to order 50) leaves 75
    digits, and the scaling to a geometric mean of 1 is done in the same precision. scipy's own
    roots carry the rounding of its double-precision iteration, which the comparison would
    otherwise have to bound without a bound for it."""
    getcontext().prec = 100
    coeffs = [Decimal(math.factorial(2 * n - k) // (2 ** (n - k) * math.factorial(k) * math.factorial(n - k)))
              for k in range(n + 1)]
    scale = Decimal(math.factorial(2 * n) // (2 ** n * math.factorial(n))) ** (Decimal(1) / n)

    def cmul(a, b):
        return (a[0] * b[0] - a[1] * b[1], a[0] * b[1] + a[1] * b[0])

    def cdiv(a, b):
        d = b[0] * b[0] + b[1] * b[1]
        return ((a[0] * b[0] + a[1] * b[1]) / d, (a[1] * b[0] - a[0] * b[1]) / d)

    def newton(x):
        f, d = (coeffs[n], Decimal(0)), (Decimal(0), Decimal(0))
        for k in range(n - 1, -1, -1):
            d = cmul(d, x)
            d = (d[0] + f[0], d[1] + f[1])
            f = cmul(f, x)
            f = (f[0] + coeffs[k], f[1])
        step = cdiv(f, d)
        return (x[0] - step[0], x[1] - step[1])

    out = []
    for p in poles:
        x = (Decimal(float(p.real)) * scale, Decimal(float(p.imag)) * scale)
        for _ in range(3):
            x = newton(x)
        out.append(complex(float(x[0] / scale), float(x[1] / scale)))
    return np.array(out)


def add_proto(kind, n, rp=0.0, rs=0.0):
    z, p, k = prototype(kind, n, rp, rs)
    if kind == 6:
        p = exact_bessel_poles(n, p)
    fields = ["proto", str(kind), str(n), repr(rp), repr(rs), cfield(z), cfield(p), repr(float(k))]
    if kind == 3 and n > 1:
        fields += [repr(float(v)) for v in ellip_sensitivities(n, rp, rs)]
    lines.append(";".join(fields))


for n in range(1, 13):
    add_proto(0, n)
    add_proto(6, n)
for n in (20, 30, 40, 50):
    add_proto(6, n)
for n in range(1, 11):
    for rp in (0.5, 1.0, 3.0):
        add_proto(1, n, rp=rp)
    for rs in (20.0, 40.0, 60.0):
        add_proto(2, n, rs=rs)
for n in range(1, 17):
    for rp, rs in ((0.5, 40.0), (1.0, 60.0), (0.1, 30.0), (3.0, 80.0), (1.0, 40.0), (0.01, 100.0), (0.25, 70.0)):
        add_proto(3, n, rp=rp, rs=rs)


# Order estimates. scipy takes pass and stop edges apart; the estimators take them ascending.
def ascending_edges(btype, wp, ws):
    if btype == 0:
        return [wp, ws]
    if btype == 1:
        return [ws, wp]
    if btype == 2:
        return [ws[0], wp[0], wp[1], ws[1]]
    return [wp[0], ws[0], ws[1], wp[1]]


def moved_bandstop_edges(wp, ws, gpass, gstop, analog, kind):
    """The pass-band edges scipy's estimators move for a band-stop (in the prewarped domain)."""
    passb = np.array(wp, float) if analog else np.tan(np.pi * np.array(wp, float) / 2.0)
    stopb = np.array(ws, float) if analog else np.tan(np.pi * np.array(ws, float) / 2.0)
    t = {0: 'butter', 1: 'cheby', 2: 'cheby', 3: 'ellip'}[kind]
    passb[0] = optimize.fminbound(signal._filter_design.band_stop_obj, passb[0], stopb[0] - 1e-12,
                                  args=(0, passb, stopb, gpass, gstop, t), disp=0)
    passb[1] = optimize.fminbound(signal._filter_design.band_stop_obj, stopb[1] + 1e-12, passb[1],
                                  args=(1, passb, stopb, gpass, gstop, t), disp=0)
    return passb, stopb


def working_edges(btype, wp, ws, gpass, gstop, analog, kind):
    """The pass and stop edges as the estimators work with them: prewarped unless analog, a
    band-stop's pass edges moved."""
    if btype == 3:
        return moved_bandstop_edges(wp, ws, gpass, gstop, analog, kind)
    passb = np.atleast_1d(np.array(wp, float))
    stopb = np.atleast_1d(np.array(ws, float))
    if not analog:
        passb, stopb = np.tan(np.pi * passb / 2.0), np.tan(np.pi * stopb / 2.0)
    return passb, stopb


def butter_cutoffs(btype, n, wp, ws, gpass, gstop, analog, edges=None):
    """The Butterworth cut-offs that meet the stop-band attenuation exactly."""
    passb, stopb = edges if edges is not None else working_edges(btype, wp, ws, gpass, gstop, analog, 0)
    if btype == 0:
        wa = stopb / passb
    elif btype == 1:
        wa = passb / stopb
    elif btype == 2:
        wa = (stopb ** 2 - passb[0] * passb[1]) / (stopb * (passb[0] - passb[1]))
    else:
        wa = (stopb * (passb[0] - passb[1])) / (stopb ** 2 - passb[0] * passb[1])
    wa = np.min(np.abs(wa))
    w0 = wa / (10 ** (0.1 * abs(gstop)) - 1) ** (1.0 / (2.0 * n))
    if btype == 0:
        wn = w0 * passb
    elif btype == 1:
        wn = passb / w0
    elif btype == 2:
        bw = passb[1] - passb[0]
        r = np.sqrt(w0 ** 2 / 4 * bw ** 2 + passb[0] * passb[1])
        wn = np.sort(np.abs([r + w0 * bw / 2, r - w0 * bw / 2]))
    else:
        bw = passb[1] - passb[0]
        r = np.sqrt(bw ** 2 + 4 * w0 ** 2 * passb[0] * passb[1])
        wn = np.sort(np.abs([(bw + r) / (2 * w0), (bw - r) / (2 * w0)]))
    return wn if analog else (2.0 / np.pi) * np.arctan(wn)


ORDER_FUNCS = {0: signal.buttord, 1: signal.cheb1ord, 2: signal.cheb2ord, 3: signal.ellipord}


def cutoffs_from_edges(kind, btype, n, passb, stopb, gpass, gstop, analog):
    """The cut-offs each estimator derives from its working pass edges (scipy's formulas)."""
    passb = np.atleast_1d(np.array(passb, float))
    if kind == 0:
        return np.atleast_1d(butter_cutoffs(btype, n, None, None, gpass, gstop, analog, (passb, stopb)))
    if kind in (1, 3):
        nat = passb
    else:
        GSTOP, GPASS = 10 ** (0.1 * abs(gstop)), 10 ** (0.1 * abs(gpass))
        new_freq = 1.0 / np.cosh(1.0 / n * np.arccosh(np.sqrt((GSTOP - 1.0) / (GPASS - 1.0))))
        if btype == 0:
            nat = passb / new_freq
        elif btype == 1:
            nat = passb * new_freq
        elif btype == 2:
            n0 = new_freq / 2.0 * (passb[0] - passb[1]) + np.sqrt(
                new_freq ** 2 * (passb[1] - passb[0]) ** 2 / 4.0 + passb[1] * passb[0])
            nat = np.array([n0, passb[1] * passb[0] / n0])
        else:
            n0 = 1.0 / (2.0 * new_freq) * (passb[0] - passb[1]) + np.sqrt(
                (passb[1] - passb[0]) ** 2 / (4.0 * new_freq ** 2) + passb[1] * passb[0])
            nat = np.array([n0, passb[0] * passb[1] / n0])
    return np.sort(np.atleast_1d(nat if analog else (2.0 / np.pi) * np.arctan(nat)))


def cutoff_sensitivity(kind, btype, n, wp, ws, gpass, gstop, analog):
    """The largest change of a cut-off per relative change of the working pass edges (sum over
    the edges of |dW/de| |e|), and per absolute change of them (sum of |dW/de|), by central
    differences of the estimator's own formulas."""
    passb, stopb = working_edges(btype, wp, ws, gpass, gstop, analog, kind)
    passb = np.atleast_1d(np.array(passb, float))
    stopb = np.atleast_1d(np.array(stopb, float))
    relative = np.zeros(len(np.atleast_1d(cutoffs_from_edges(kind, btype, n, passb, stopb, gpass, gstop, analog))))
    absolute = np.zeros_like(relative)
    for which in (0, 1):
        edges = passb if which == 0 else stopb
        for j in range(len(edges)):
            h = 1e-7 * abs(edges[j])
            up, down = edges.copy(), edges.copy()
            up[j] += h
            down[j] -= h
            args_up = (up, stopb) if which == 0 else (passb, up)
            args_down = (down, stopb) if which == 0 else (passb, down)
            d = (cutoffs_from_edges(kind, btype, n, *args_up, gpass, gstop, analog) -
                 cutoffs_from_edges(kind, btype, n, *args_down, gpass, gstop, analog)) / (2 * h)
            relative += np.abs(d) * abs(edges[j])
            if which == 0:
                absolute += np.abs(d)
    return max(relative), max(absolute), passb


def add_order(kind, btype, wp, ws, gpass, gstop, analog=False):
    n, wn = ORDER_FUNCS[kind](wp, ws, gpass, gstop, analog=analog)
    if kind == 0:
        wn = butter_cutoffs(btype, n, wp, ws, gpass, gstop, analog)
    relative, absolute, passb = cutoff_sensitivity(kind, btype, n, wp, ws, gpass, gstop, analog)
    lines.append(";".join(["order", str(kind), str(btype), str(int(analog)),
                           field(ascending_edges(btype, wp, ws)), repr(gpass), repr(gstop), str(n), field(wn),
                           repr(float(relative)), repr(float(absolute)), field(passb)]))


ORDER_SPECS = [
    (0, 0.2, 0.3, 1.0, 40.0, False),
    (0, 0.2, 0.412, 1.0, 28.0, False),
    (0, 0.1, 0.2, 0.5, 35.0, False),
    (0, 0.05, 0.07, 0.1, 60.0, False),
    (0, 0.4, 0.45, 2.0, 50.0, False),
    (1, 0.3, 0.2, 1.0, 40.0, False),
    (1, 0.6, 0.5, 0.5, 30.0, False),
    (2, [0.2, 0.5], [0.1, 0.6], 1.0, 40.0, False),
    (2, [0.3, 0.4], [0.25, 0.5], 0.5, 60.0, False),
    (3, [0.1, 0.6], [0.2, 0.5], 1.0, 40.0, False),
    (3, [0.15, 0.45], [0.2, 0.4], 0.5, 30.0, False),
    (0, 2.0, 3.0, 1.0, 40.0, True),
    (1, 3.0, 2.0, 1.0, 30.0, True),
    (2, [2.0, 5.0], [1.0, 7.0], 1.0, 40.0, True),
    (3, [1.0, 7.0], [2.0, 5.0], 1.0, 40.0, True),
]
for kind in (0, 1, 2, 3):
    for btype, wp, ws, gp, gs, analog in ORDER_SPECS:
        add_order(kind, btype, wp, ws, gp, gs, analog)


# Designs.
def design(kind, btype, analog, n, rp, rs, wn):
    kw = dict(btype=BTYPES[btype], analog=analog)
    if kind == 0:
        zpk = signal.butter(n, wn, output='zpk', **kw)
    elif kind == 1:
        zpk = signal.cheby1(n, rp, wn, output='zpk', **kw)
    elif kind == 2:
        zpk = signal.cheby2(n, rs, wn, output='zpk', **kw)
    elif kind == 3:
        zpk = signal.ellip(n, rp, rs, wn, output='zpk', **kw)
    else:
        zpk = signal.bessel(n, wn, output='zpk', norm='phase', **kw)
    z, p, k = zpk
    b, a = signal.zpk2tf(z, p, k)
    lines.append(";".join(["design", str(kind), str(btype), str(int(analog)), str(n), repr(rp), repr(rs),
                           field(wn), cfield(z), cfield(p), repr(float(k)), field(np.real(b)), field(np.real(a))]))


CUTOFFS = {
    (0, False): [0.3], (1, False): [0.45], (2, False): [0.2, 0.5], (3, False): [0.25, 0.6],
    (0, True): [2.0], (1, True): [3.0], (2, True): [1.5, 4.0], (3, True): [2.0, 5.0],
}
ORDERS = {0: (1, 2, 3, 4, 5, 8), 1: (1, 2, 3, 4, 5, 8), 2: (1, 2, 3, 4, 5, 8), 3: (1, 2, 3, 4, 5, 6), 6: (1, 2, 3, 4, 5, 8)}
for kind in (0, 1, 2, 3, 6):
    for btype in (0, 1, 2, 3):
        for analog in (False, True):
            for n in ORDERS[kind]:
                design(kind, btype, analog, n, 1.0, 40.0, CUTOFFS[(btype, analog)])
# A second corner of the requirements: a narrow band, low ripple, high attenuation.
for kind in (1, 2, 3):
    for btype, wn in ((0, [0.05]), (1, [0.9]), (2, [0.45, 0.55]), (3, [0.1, 0.15])):
        for n in (3, 4):
            design(kind, btype, False, n, 0.25, 70.0, wn)

with open(os.path.join(HERE, "iir_oracle.txt"), "w") as out:
    out.write("# scipy %s, numpy %s; made by gen_iir_oracle.py\n" % (scipy.__version__, np.__version__))
    out.write("\n".join(lines) + "\n")
