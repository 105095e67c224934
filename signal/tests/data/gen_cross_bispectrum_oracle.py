#!/usr/bin/python3
"""Writes cross_bispectrum_oracle.txt, the reference table of the cross-spectrum and bispectrum
analysers' oracle tests.

Sources (Debian's python3-scipy and python3-numpy); every input is Gaussian noise from
numpy.random.default_rng with the seed named below, written into the table:
  cross      x: 2048 samples; y = scipy.signal.lfilter([0.5, 0.5], 1, x) plus noise of 0.3 RMS.
             With window='boxcar', nperseg=256, noverlap=0 (8 frames, detrend 'constant'):
             scipy.signal.coherence(x, y), scipy.signal.csd(x, y, scaling='spectrum') and
             scipy.signal.welch of x and of y (scaling='spectrum'), at the 129 lines 0 .. 128.
  bispectrum 8 frames of 64 samples: a coupled triple (7, 11 and 18 cycles a frame, the third
             phase the sum of the others) plus noise of 0.5 RMS. Per frame X = numpy.fft.fft(frame -
             mean)[:32] (L = 32 lines); over the pairs (i, k) with 1 <= k <= i and i + k < L, by
             numpy broadcasting: T = X[i] X[k] conj(X[i + k]), B = mean T, N = mean |T|^2,
             P = mean |X|^2; the modified bicoherence |B|^2 / N, the default one
             |B|^2 / (P[i] P[k] P[i + k]) and the bispectrum cbrt |B|.

One case a line, fields separated by ';', the numbers of a field by blanks; a complex field is
its real parts, '|', its imaginary parts:
  cross;<frame length>;<x>;<y>;<coherence>;<csd>;<welch x>;<welch y>
  bispectrum;<frame length>;<x>;<i>;<k>;<modified>;<default>;<cbrt |B|>
Run: /usr/bin/python3 gen_cross_bispectrum_oracle.py  (from any folder)
"""
import os

import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in np.ravel(v))


def field(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        return numbers(v.real) + '|' + numbers(v.imag)
    return numbers(v)


def noise(seed, n, scale=1.0):
    return scale * np.random.default_rng(seed).standard_normal(n)


def main():
    lines = []

    n = 256
    x = noise(11, 2048)
    y = ss.lfilter([0.5, 0.5], 1, x) + noise(12, 2048, 0.3)
    opts = dict(window='boxcar', nperseg=n, noverlap=0)
    _, coh = ss.coherence(x, y, **opts)
    _, pxy = ss.csd(x, y, scaling='spectrum', **opts)
    _, pxx = ss.welch(x, scaling='spectrum', **opts)
    _, pyy = ss.welch(y, scaling='spectrum', **opts)
    lines.append(';'.join(['cross', str(n), field(x), field(y), field(coh), field(pxy), field(pxx), field(pyy)]))

    n, frames = 64, 8
    rng = np.random.default_rng(13)
    j = np.arange(n)
    parts = []
    for _ in range(frames):
        p1, p2 = rng.uniform(0, 2 * np.pi, 2)
        parts.append(np.cos(2 * np.pi * 7 * j / n + p1) + np.cos(2 * np.pi * 11 * j / n + p2) +
                     np.cos(2 * np.pi * 18 * j / n + p1 + p2) + 0.5 * rng.standard_normal(n))
    x = np.concatenate(parts)
    L = n // 2
    f = x.reshape(frames, n)
    X = np.fft.fft(f - f.mean(axis=1, keepdims=True), axis=1)[:, :L]
    i, k = np.array([(a, b) for a in range(L) for b in range(1, a + 1) if a + b < L]).T
    T = X[:, i] * X[:, k] * np.conj(X[:, i + k])
    B = T.mean(axis=0)
    N = (np.abs(T) ** 2).mean(axis=0)
    P = (np.abs(X) ** 2).mean(axis=0)
    modified = np.abs(B) ** 2 / N
    default = np.abs(B) ** 2 / (P[i] * P[k] * P[i + k])
    lines.append(';'.join(['bispectrum', str(n), field(x), field(i), field(k), field(modified), field(default),
                           field(np.cbrt(np.abs(B)))]))

    with open(os.path.join(HERE, 'cross_bispectrum_oracle.txt'), 'w') as out:
        out.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
