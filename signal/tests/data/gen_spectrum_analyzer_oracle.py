#!/usr/bin/python3
"""Writes spectrum_analyzer_oracle.txt, the reference table of the spectrum analyser's oracle tests.

Sources (Debian's python3-scipy and python3-numpy); every input is Gaussian noise from
numpy.random.default_rng with the seed named below, written into the table:
  periodogram  scipy.signal.periodogram(x, nfft=1024, detrend='constant', scaling='spectrum')
               of 1000 samples: the one-sided power at the 513 lines 0 .. 512.
  welch        scipy.signal.welch(x, window='boxcar', nperseg=256, noverlap=0,
               scaling='spectrum') of 8 frames of 256 samples (detrend 'constant').
  stats        the same 8 frames one by one: amplitude 2 |rfft(frame - mean)| / 256 and phase
               in degrees at lines 0 .. 127; their mean, numpy.std(ddof=1), and the limits
               mean +- z std with z = |scipy.stats.norm.ppf(0.005)| (99 % confidence).
  zoom         scipy.signal.zoom_fft(x - mean, [f1, f2], m=k, fs=Fs, endpoint=False): the k
               points f1 + i (f2 - f1) / k.
  czt          scipy.signal.czt(x - mean, m=k, w, a) on the spiral from radius r1 at f1
               toward r2 at f2: w = (r2 / r1)^(-1/k) exp(-2 pi i (f2 - f1) / (k Fs)),
               a = r1 exp(2 pi i f1 / Fs); checked against the sum that defines it.
  yulewalker   order p on x - mean: r the biased autocorrelation (lags 0 .. p),
               phi = scipy.linalg.solve_toeplitz(r[:p], r[1:p+1]), a = (1, -phi),
               E = r[0] - phi . r[1:], P = E / |fft(a, 1024)|^2 at lines 0 .. 511.
  freqz        scipy.signal.butter(4, 0.2): scipy.signal.freqz(b, a, worN=256) at
               w = pi k / 256, k = 0 .. 255.

One case a line, fields separated by ';', the numbers of a field by blanks; a complex field is
its real parts, '|', its imaginary parts:
  periodogram;<x>;<P>
  welch;<frame length>;<x>;<P>
  stats;<frame length>;<x>;<mean>;<std>;<upper>;<lower>;<phase mean>;<phase std>;<z>
  zoom;<Fs>;<f1>;<f2>;<k>;<x>;<X>
  czt;<Fs>;<f1>;<f2>;<k>;<r1>;<r2>;<x>;<X>
  yulewalker;<p>;<x>;<a>;<E>;<P>
  freqz;<b>;<a>;<H>
Run: /usr/bin/python3 gen_spectrum_analyzer_oracle.py  (from any folder)
"""
import os

import numpy as np
import scipy.linalg as sl
import scipy.signal as ss
import scipy.stats as st

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in np.ravel(v))


def field(v):
    v = np.asarray(v)
    if np.iscomplexobj(v):
        return numbers(v.real) + '|' + numbers(v.imag)
    return numbers(v)


def noise(seed, n, scale=1.0, offset=0.0):
    return offset + scale * np.random.default_rng(seed).standard_normal(n)


def main():
    lines = []

    x = noise(1, 1000, 0.7, 0.3)
    _, p = ss.periodogram(x, nfft=1024, detrend='constant', scaling='spectrum')
    lines.append(';'.join(['periodogram', field(x), field(p)]))

    n = 256
    x = noise(2, 8 * n, 1.3, -0.2)
    _, p = ss.welch(x, window='boxcar', nperseg=n, noverlap=0, scaling='spectrum')
    lines.append(';'.join(['welch', str(n), field(x), field(p)]))

    x = noise(3, 8 * n, 1.0, 0.5)
    frames = x.reshape(8, n)
    spectra = np.fft.rfft(frames - frames.mean(axis=1, keepdims=True), axis=1)[:, :n // 2]
    amp = 2 * np.abs(spectra) / n
    phase = np.degrees(np.angle(spectra))
    z = abs(st.norm.ppf(0.005))
    mean, std = amp.mean(axis=0), amp.std(axis=0, ddof=1)
    lines.append(';'.join(['stats', str(n), field(x), field(mean), field(std), field(mean + z * std),
                           field(mean - z * std), field(phase.mean(axis=0)), field(phase.std(axis=0, ddof=1)),
                           '%.17g' % z]))

    fs = 100.0
    x = noise(4, 300, 1.0, 0.1)
    t = np.arange(300) / fs
    x += np.sin(2 * np.pi * 12.3 * t)
    f1, f2, k = 10.0, 15.0, 50
    y = ss.zoom_fft(x - x.mean(), [f1, f2], m=k, fs=fs, endpoint=False)
    lines.append(';'.join(['zoom', '%.17g' % fs, '%.17g' % f1, '%.17g' % f2, str(k), field(x), field(y)]))

    # Radii near 1: the chirps of a Bluestein transform grow as |w|^(n^2 / 2), and off the
    # unit circle by more than this they would cost the transform its precision.
    r1, r2 = 0.999, 1.002
    w = (r2 / r1) ** (-1.0 / k) * np.exp(-2j * np.pi * (f2 - f1) / (k * fs))
    a = r1 * np.exp(2j * np.pi * f1 / fs)
    y = ss.czt(x - x.mean(), m=k, w=w, a=a)
    direct = np.array([np.sum((x - x.mean()) * (a * w ** -i) ** -np.arange(len(x), dtype=float))
                       for i in range(k)])
    assert np.max(np.abs(y - direct)) < 1e-11 * np.max(np.abs(direct))
    lines.append(';'.join(['czt', '%.17g' % fs, '%.17g' % f1, '%.17g' % f2, str(k), '%.17g' % r1, '%.17g' % r2,
                           field(x), field(y)]))

    order = 12
    x = ss.lfilter([1.0], [1.0, -0.9, 0.5], noise(5, 1000))
    xm = x - x.mean()
    r = np.array([np.dot(xm[:len(xm) - lag], xm[lag:]) for lag in range(order + 1)]) / len(xm)
    phi = sl.solve_toeplitz(r[:order], r[1:order + 1])
    a = np.concatenate(([1.0], -phi))
    e = r[0] - np.dot(phi, r[1:])
    p = e / np.abs(np.fft.fft(a, 1024)[:512]) ** 2
    lines.append(';'.join(['yulewalker', str(order), field(x), field(a), '%.17g' % e, field(p)]))

    b, a = ss.butter(4, 0.2)
    _, h = ss.freqz(b, a, worN=256)
    lines.append(';'.join(['freqz', field(b), field(a), field(h)]))

    with open(os.path.join(HERE, 'spectrum_analyzer_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
