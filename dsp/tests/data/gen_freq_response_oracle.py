#!/usr/bin/python3
"""Writes freq_response_oracle.txt, the reference table of the frequency-response tests.

Sources (Debian's python3-scipy and python3-numpy):
  freqz      scipy.signal.freqz(b, a, worN=n/2) at the n/2 bins 0 .. n/2-1 of an n-point
             transform, n the smallest power of two >= pad factor * max(len(b), len(a)); without
             a, b is first multiplied by the window over its own length (hann: symmetric
             scipy.signal.windows.hann) and, when normalised, the response by 2 / len(b).
  gd         scipy.signal.group_delay((b, a), w=n/2) at the same bins, n the smallest power of
             two >= zero padding * max(len(b), len(a)).
  rceps      numpy: the real cepstrum of an integer-valued x; x (its mean removed when asked)
             times the window over its length, zero-padded to n (the smallest power of two
             >= len(x)); L := log|rfft| at bins 0 .. n/2-1 with NaN and infinite values 0 (its
             mean removed when asked);
             then either the first n/2 samples of irfft(L with a zero half-rate bin, n), or the
             magnitudes at bins 0 .. n/4-1 of the rfft of L times the window.

One case a line, fields separated by ';'; a complex field is its real parts, '|', its
imaginary parts:
  freqz;<b>;<a or empty>;<pad factor>;<window 0 rectangular / 1 hann>;<normalise 0/1>;<H>
  gd;<b>;<a or empty>;<zero padding>;<delay>
  rceps;<x>;<remove mean 0/1>;<window 0/1>;<magnitude output 0/1>;<y>
Run: /usr/bin/python3 gen_freq_response_oracle.py  (from any folder)
"""
import os
import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in v)


def field(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        return numbers(v.real) + '|' + numbers(v.imag)
    return numbers(v)


def pow2(n):
    p = 2
    while p < n:
        p *= 2
    return p


def window(code, n):
    return np.ones(n) if code == 0 else ss.windows.hann(n, sym=True)


def freqz_cases():
    lines = []
    rng = np.random.default_rng(11)
    b6, a6 = ss.butter(6, 0.2)
    bc, ac = ss.cheby1(4, 1, [0.2, 0.4], btype='bandpass')
    fir = ss.firwin(37, 0.3) * (1 + 0.01 * rng.standard_normal(37))
    for b, a, pad in ((b6, a6, 4), (bc, ac, 8), (np.array([1.0, -0.5]), np.array([1.0, 0.9]), 1)):
        n = pow2(pad * max(len(b), len(a)))
        _, h = ss.freqz(b, a, worN=n // 2)
        for win in (0, 1):  # the window must not matter with a denominator
            lines.append('freqz;%s;%s;%d;%d;0;%s' % (field(b), field(a), pad, win, field(h)))
    for b, pad in ((fir, 1), (fir, 4), (rng.standard_normal(100), 1)):
        n = pow2(pad * len(b))
        for win in (0, 1):
            bw = b * window(win, len(b))
            _, h = ss.freqz(bw, 1, worN=n // 2)
            for norm in (0, 1):
                lines.append('freqz;%s;;%d;%d;%d;%s' % (field(b), pad, win, norm,
                                                        field(h * (2 / len(b) if norm else 1))))
    return lines


def gd_cases():
    lines = []
    for b, a, pad in ((ss.firwin(31, 0.25), None, 2), (np.array([0.0, 0.0, 1.0]), None, 4),
                      (*ss.butter(4, 0.3), 8), (*ss.ellip(3, 1, 40, 0.4), 4)):
        length = max(len(b), len(a) if a is not None else 0)
        n = pow2(pad * length)
        _, d = ss.group_delay((b, a if a is not None else 1.0), w=n // 2)
        lines.append('gd;%s;%s;%d;%s' % (field(b), field(a) if a is not None else '', pad, field(d)))
    return lines


def rceps_cases():
    lines = []
    # Small integers, 256 of them: the mean and the signal less its mean are exact, so the
    # spectrum's 0 Hz bin is exactly 0 after the mean removal, not rounding noise whose
    # logarithm no two transforms would agree on.
    rng = np.random.default_rng(5)
    x = np.round(np.convolve(rng.integers(-8, 9, 256), [1, 0, 0, 0, 0, 0, 0, 0, 0.5])[:256]) + 3
    for remove in (0, 1):
        for win in (0, 1):
            for magnitude in (0, 1):
                v = x - np.mean(x) if remove else x.copy()
                n = pow2(len(v))
                spectrum = np.fft.rfft(v * window(win, len(v)), n)[:n // 2]
                with np.errstate(divide='ignore', invalid='ignore'):
                    L = np.log(np.abs(spectrum))
                L[~np.isfinite(L)] = 0
                if remove:
                    L = L - np.mean(L)
                if magnitude:
                    m = pow2(len(L))
                    y = np.abs(np.fft.rfft(L * window(win, len(L)), m)[:m // 2])
                else:
                    y = np.fft.irfft(np.concatenate([L, [0.0]]), n)[:n // 2]
                lines.append('rceps;%s;%d;%d;%d;%s' % (field(x), remove, win, magnitude, field(y)))
    return lines


def main():
    lines = freqz_cases() + gd_cases() + rceps_cases()
    with open(os.path.join(HERE, 'freq_response_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
