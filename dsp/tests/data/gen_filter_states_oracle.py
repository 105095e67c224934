#!/usr/bin/python3
"""Writes filter_states_oracle.txt, the reference table of the running filter tests.

Sources (Debian's python3-scipy and python3-numpy):
  fir, iir   scipy.signal.lfilter(b, a, x) over the whole input at once: the tests feed the
             same input in blocks of odd sizes and must find the same output.
  upfirdn    scipy.signal.upfirdn(h, x, up, 1): the filtered up-sampled stream, from which the
             tests pick every down-th value from a phase; and upfirdn(h, x, up, down) itself.
  median     numpy: y[i] = numpy.median of the W samples before x[i], with W zeros before x.

The inputs are not stored: each is <n> values of the integer generator
  s := (1103515245 s + 12345) mod 2^31 from s = <seed>, value s / 2^30 - 1 (exact in doubles),
taking the real part and then (complex inputs) the imaginary part of each sample in turn. The
median inputs then get impulses: every 17th sample from 0 becomes 5, samples 100 .. 109 0.25.

One case a line, fields separated by ';'; a complex field is its real parts, '|', its
imaginary parts:
  fir;<name>;<taps>;<seed>;<n>;<complex 0/1>;<y>
  iir;<name>;<b>;<a>;<seed>;<n>;<complex 0/1>;<y>
  upfirdn;<name>;<up>;<down>;<taps>;<seed>;<n>;<stream>;<upfirdn with down>
  median;<name>;<W>;<seed>;<n>;<y>
Run: /usr/bin/python3 gen_filter_states_oracle.py  (from any folder)
"""
import os
import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))
rng = np.random.default_rng(20240611)


def numbers(v):
    return ' '.join('%.17g' % x for x in v)


def field(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        return numbers(v.real) + '|' + numbers(v.imag)
    return numbers(v)


SEED = [1]


def signal(n, complex_=False):
    """The next seed's input; returns (seed, x)."""
    seed = SEED[0]
    SEED[0] += 1
    s = seed
    values = []
    for _ in range(n * (2 if complex_ else 1)):
        s = (1103515245 * s + 12345) % 2 ** 31
        values.append(s / 2 ** 30 - 1)
    v = np.array(values)
    x = v[0::2] + 1j * v[1::2] if complex_ else v
    return seed, x


def inputs(seed_x, complex_):
    seed, x = seed_x
    return '%d;%d;%d' % (seed, len(x), 1 if complex_ else 0), x


def fir_cases():
    lines = []
    kinds = {1: 'd', 5: 'd zd dz z', 64: 'd', 96: 'd zd', 150: 'd z', 512: 'd dz'}
    for m, names in kinds.items():
        h = ss.firwin(m, 0.23) if m > 1 else np.array([0.75])
        h = h * (1 + 0.1 * rng.standard_normal(m))  # not symmetric: a reversed tap order shows
        hz = h * np.exp(2j * np.pi * 0.1 * np.arange(m))
        n = 1100 if m == 512 else 400
        for name in names.split():
            complex_data = name in ('z', 'zd')
            taps = hz if name in ('z', 'dz') else h
            head, x = inputs(signal(n, complex_data), complex_data)
            y = ss.lfilter(taps, [1.0], x)
            lines.append('fir;%s%d;%s;%s;%s' % (name, m, field(taps), head, field(y)))
    return lines


def iir_cases():
    lines = []
    n = 300
    designs = [
        ('order0', np.array([2.0]), np.array([4.0])),
        ('butter6', *ss.butter(6, 0.2)),
        ('cheby1bp8', *ss.cheby1(4, 1, [0.2, 0.4], btype='bandpass')),
        ('ellip5', *ss.ellip(5, 0.5, 60, 0.3)),
        ('butter18', *ss.butter(18, 0.5)),
        ('scaled', *(lambda b, a: (3 * b, 3 * a))(*ss.butter(3, 0.1))),
    ]
    for name, b, a in designs:
        for kind in ('d', 'zd'):
            head, x = inputs(signal(n, kind == 'zd'), kind == 'zd')
            lines.append('iir;%s%s;%s;%s;%s;%s' % (kind, name, field(b), field(a), head, field(ss.lfilter(b, a, x))))
    # complex coefficients: a low-pass moved to 0.15 cycles per sample
    b, a = ss.butter(4, 0.1)
    rot = np.exp(2j * np.pi * 0.15 * np.arange(len(b)))
    bz, az = b * rot, a * rot
    for kind in ('dz', 'z'):
        head, x = inputs(signal(n, kind == 'z'), kind == 'z')
        lines.append('iir;%sshifted4;%s;%s;%s;%s' % (kind, field(bz), field(az), head, field(ss.lfilter(bz, az, x))))
    return lines


def upfirdn_cases():
    lines = []
    n = 151
    for up, down, m in ((3, 2, 17), (1, 4, 33), (5, 1, 12), (2, 7, 40), (4, 4, 9), (1, 1, 6)):
        h = ss.firwin(m, 0.8 / max(up, down)) * (1 + 0.05 * rng.standard_normal(m))
        seed, x = signal(n)
        stream = ss.upfirdn(h, x, up, 1)
        lines.append('upfirdn;up%ddown%d;%d;%d;%s;%d;%d;%s;%s' % (
            up, down, up, down, field(h), seed, n, field(stream), field(ss.upfirdn(h, x, up, down))))
    return lines


def median_cases():
    lines = []
    n = 200
    for w in (1, 3, 5, 9, 31):
        seed, x = signal(n)
        x[::17] = 5.0  # impulses, and runs of equal values
        x[100:110] = 0.25
        padded = np.concatenate([np.zeros(w), x])
        y = np.array([np.median(padded[i:i + w]) for i in range(n)])
        lines.append('median;w%d;%d;%d;%d;%s' % (w, w, seed, n, field(y)))
    return lines


def main():
    lines = fir_cases() + iir_cases() + upfirdn_cases() + median_cases()
    with open(os.path.join(HERE, 'filter_states_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
