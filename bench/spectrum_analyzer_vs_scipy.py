#!/usr/bin/python3
"""The spectrum analyser against scipy.signal.periodogram and scipy.signal.welch on the same data.

Runs the spectrum_analyzer_bench program (Google Benchmark) pinned to one core, times scipy on
the same core in this process on the same noise (see bench/spectrum_analyzer_bench.cpp), and
prints both medians and their ratio Orvel / scipy (below 1: Orvel is faster).
  update of 2^20 and of 10^6 samples   periodogram(x, window='hann', nfft=2^20,
                                       detrend='constant', scaling='spectrum')
  60 s at 48 kHz, 4096-sample frames   welch(x, window='hann', nperseg=4096, noverlap=2048,
  with 50 % overlap                    detrend='constant', scaling='spectrum')
  update of 2^20 samples with the ten  numpy.fft.rfft of the mean-free frame, its ten largest local
  largest peaks refined to 1e-8 line   maxima, each refined by scipy.optimize.minimize_scalar
                                       (bounded to the line's neighbours, xatol 1e-8 line) on the
                                       magnitude of the frame's transform at f (numpy), then its
                                       amplitude and phase read there

Usage: /usr/bin/python3 bench/spectrum_analyzer_vs_scipy.py [program] [repetitions] [core]
The default program is build/bench/spectrum_analyzer_bench under the repository; the default
core the last one this process may use.
"""
import os
import sys

import numpy as np
import scipy.optimize as so
import scipy.signal as ss

from side_by_side import lcg_noise, peer_median_ms, pinned_medians


def ten_tones(x):
    """The frame of BM_UpdateLargestPeaksNumeric: the noise times 1e-3 and ten tones."""
    n = len(x)
    j = np.arange(n)
    y = 1e-3 * x
    for k in range(10):
        y = y + np.sin(2 * np.pi * (1000 + 40000 * k + 0.37 * k) * j / n) / (k + 1)
    return y


def largest_peaks_refined(y):
    n = len(y)
    j = np.arange(n)
    z = y - y.mean()
    a = 2 * np.abs(np.fft.rfft(z)[:n // 2]) / n
    i = np.nonzero((a[:-2] <= a[1:-1]) & (a[2:] < a[1:-1]))[0] + 1
    top = i[np.argsort(a[i])[-10:]]

    def transform(f):
        return np.dot(z, np.exp(-2j * np.pi * f * j / n))

    marks = []
    for line in top:
        f = so.minimize_scalar(lambda f: -abs(transform(f)), bounds=(line - 1, line + 1), method='bounded',
                               options={'xatol': 1e-8}).x
        at = transform(f)
        marks.append((f, 2 * abs(at) / n, np.angle(at)))
    return marks


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'spectrum_analyzer_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = pinned_medians(program, repetitions, core)
    big = lcg_noise(60 * 48000)
    tones = ten_tones(big[:1 << 20])
    fs = 48000.0
    cases = [
        ('update, 2^20 samples', 'BM_UpdateAmpltHann/1048576/real_time',
         lambda: ss.periodogram(big[:1 << 20], fs, window='hann', nfft=1 << 20, scaling='spectrum')),
        ('update, 10^6 samples', 'BM_UpdateAmpltHann/1000000/real_time',
         lambda: ss.periodogram(big[:1000000], fs, window='hann', nfft=1 << 20, scaling='spectrum')),
        ('Welch, 60 s at 48 kHz', 'BM_WelchLinearAverage/real_time',
         lambda: ss.welch(big, fs, window='hann', nperseg=4096, noverlap=2048, scaling='spectrum')),
        ('2^20, ten peaks to 1e-8', 'BM_UpdateLargestPeaksNumeric/real_time',
         lambda: largest_peaks_refined(tones)),
    ]
    print('core %d' % core)
    print('%-24s %12s %12s %12s' % ('', 'Orvel ms', 'scipy ms', 'Orvel/scipy'))
    for title, name, call in cases:
        theirs = peer_median_ms(call, repetitions)
        print('%-24s %12.3f %12.3f %11.2fx' % (title, mine[name], theirs, mine[name] / theirs))


if __name__ == '__main__':
    main()
