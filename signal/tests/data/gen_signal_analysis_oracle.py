#!/usr/bin/python3
"""Writes signal_analysis_oracle.txt, the reference table of the time analyser's and the peak
search's oracle tests.

Sources (Debian's python3-numpy and python3-scipy); every noise input comes from
numpy.random.default_rng with the seed named below and is written into the table:
  autocorr    numpy.correlate(x, x, 'full') at lags 0 .. L-1 (sum conj(x[k]) x[k+lag]), as is
              ('normal'), over N ('biased') and over N - lag ('unbiased'); real and complex x.
  crosscorr   lags lo .. hi of sum conj(x[k]) y[k+lag]: numpy.correlate(y, x, 'full') at
              index lag + len(x) - 1.
  dct         scipy.fft.dct(x, norm='ortho') and scipy.fft.idct(x, norm='ortho') (types II, III).
  peak        x = sin(2 pi 100.3 j / 1024 + 0.7), j < 1024, mean removed; X = numpy.fft.rfft(x)
              lines 0 .. 511, A = 2 |X| / 1024, k the largest line: the quadratic, barycentric,
              Quinn's first and second and Jain's estimates in lines; the maximum of |sum x[j]
              exp(-2 pi i f j / 1024)| by scipy.optimize.minimize_scalar (bounded, xatol 1e-12);
              at Quinn's second estimate the amplitude 2 |X(f)| / 1024 and the phase
              angle(X(f)) + 90 degrees.
One case a line, fields separated by ';', the numbers of a field by blanks; a complex field is
its real parts, '|', its imaginary parts:
  autocorr;<lags>;<x>;<normal>;<biased>;<unbiased>
  crosscorr;<lo>;<hi>;<x>;<y>;<r>
  dct;<x>;<dct>;<idct>
  peak;<quadratic>;<barycentric>;<quinn first>;<quinn second>;<jain>;<maximum>;<amplitude>;<degrees>
Run: /usr/bin/python3 gen_signal_analysis_oracle.py  (from any folder)
"""
import os

import numpy as np
import scipy.fft as sf
import scipy.optimize as so

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in np.ravel(v))


def field(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        return numbers(v.real) + '|' + numbers(v.imag)
    return numbers(v)


def noise(seed, n, complex_=False):
    rng = np.random.default_rng(seed)
    x = rng.standard_normal(n)
    if complex_:
        x = x + 1j * rng.standard_normal(n)
    return x


def autocorr(x, lags):
    n = len(x)
    r = np.correlate(x, x, 'full')[n - 1:n - 1 + lags]
    return r, r / n, r / (n - np.arange(lags))


def tau(x):
    return 0.25 * np.log(3 * x * x + 6 * x + 1) - np.sqrt(6) / 24 * np.log(
        (x + 1 - np.sqrt(2 / 3)) / (x + 1 + np.sqrt(2 / 3)))


def peak():
    n = 1024
    j = np.arange(n)
    x = np.sin(2 * np.pi * 100.3 * j / n + 0.7)
    x = x - x.mean()
    X = np.fft.rfft(x)[:n // 2]
    A = 2 * np.abs(X) / n
    k = int(np.argmax(A))
    a, b, c = A[k - 1], A[k], A[k + 1]
    quadratic = k + (c - a) / (2 * (2 * b - a - c))
    barycentric = k + (c - a) / (a + b + c)
    ap = np.real(X[k + 1] * np.conj(X[k])) / abs(X[k]) ** 2
    am = np.real(X[k - 1] * np.conj(X[k])) / abs(X[k]) ** 2
    dp, dm = -ap / (1 - ap), am / (1 - am)
    first = k + (dp if dp > 0 and dm > 0 else dm)
    second = k + (dp + dm) / 2 + tau(dp * dp) - tau(dm * dm)
    if a <= c:
        r = c / b
        jain = k + r / (r + 1)
    else:
        r = b / a
        jain = k - 1 + r / (r + 1)

    def dtft(f):
        return np.sum(x * np.exp(-2j * np.pi * f * j / n))

    top = so.minimize_scalar(lambda f: -abs(dtft(f)), bounds=(k - 0.5, k + 0.5), method='bounded',
                             options={'xatol': 1e-12}).x
    at = dtft(second)
    return [quadratic, barycentric, first, second, jain, top, 2 * abs(at) / n,
            np.degrees(np.angle(at)) + 90]


def main():
    lines = []
    for seed, n, lags, cplx in [(11, 200, 50, False), (12, 64, 64, False), (13, 90, 30, True)]:
        x = noise(seed, n, cplx)
        lines.append(';'.join(['autocorr', str(lags), field(x)] + [field(r) for r in autocorr(x, lags)]))
    for seed, nx, ny, lo, hi in [(21, 150, 120, 3, 40), (22, 80, 80, 0, 10), (23, 40, 100, 0, 99)]:
        x, y = noise(seed, nx), noise(seed + 100, ny)
        full = np.correlate(y, x, 'full')
        r = full[np.arange(lo, hi + 1) + nx - 1]
        lines.append(';'.join(['crosscorr', str(lo), str(hi), field(x), field(y), field(r)]))
    for seed, n in [(31, 1), (32, 7), (33, 64), (34, 1000)]:
        x = noise(seed, n)
        lines.append(';'.join(['dct', field(x), field(sf.dct(x, norm='ortho')), field(sf.idct(x, norm='ortho'))]))
    lines.append(';'.join(['peak'] + ['%.17g' % v for v in peak()]))
    with open(os.path.join(HERE, 'signal_analysis_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
