#!/usr/bin/python3
"""The signal filter and the rate converter against scipy.signal.lfilter and resample_poly.

Runs the signal_filters_bench program (Google Benchmark) pinned to one core, times scipy on the
same core in this process on the same noise (see bench/signal_filters_bench.cpp), and prints
both medians, their ratio Orvel / scipy (below 1: Orvel is faster) and, for the rate converter,
how many times faster than real time each side ran.
  10^6 samples, 2001 FIR taps          lfilter(h, 1, x), h[k] = sin(0.3 (k + 1)) / (k + 1)
  10^6 samples, Butterworth order 8    lfilter(*butter(8, 0.2), x)
  60 s at 48 kHz, factor 4, 1/8,       resample_poly(x, up, down) with (4, 1), (1, 8), (3, 2),
  1.5, 0.3                             (3, 10), the whole signal at once (ours in 0.1 s blocks)

Usage: /usr/bin/python3 bench/signal_filters_vs_scipy.py [program] [repetitions] [core]
The default program is build/bench/signal_filters_bench under the repository; the default core
the last one this process may use.
"""
import os
import sys

import numpy as np
import scipy.signal as ss

from side_by_side import lcg_noise, peer_median_ms, pinned_medians


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'signal_filters_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = pinned_medians(program, repetitions, core)
    x = lcg_noise(60 * 48000)
    short = x[:1000000]
    k = np.arange(1, 2002)
    h = np.sin(0.3 * k) / k
    b, a = ss.butter(8, 0.2)
    print('core %d' % core)
    print('%-34s %12s %12s %12s' % ('', 'Orvel ms', 'scipy ms', 'Orvel/scipy'))
    for title, name, call in [
            ('10^6 samples, 2001 FIR taps', 'BM_FilterFir2001/real_time', lambda: ss.lfilter(h, [1.0], short)),
            ('10^6 samples, Butterworth order 8', 'BM_FilterIirButter8/real_time', lambda: ss.lfilter(b, a, short))]:
        theirs = peer_median_ms(call, repetitions)
        print('%-34s %12.3f %12.3f %11.2fx' % (title, mine[name], theirs, mine[name] / theirs))
    print('%-34s %12s %12s %12s %10s %10s' % ('60 s at 48 kHz', 'Orvel ms', 'scipy ms', 'Orvel/scipy',
                                             'Orvel xRT', 'scipy xRT'))
    for index, (title, up, down) in enumerate([('factor 4', 4, 1), ('factor 1/8', 1, 8), ('factor 1.5', 3, 2),
                                               ('factor 0.3', 3, 10)]):
        name = 'BM_RateConverter/%d/real_time' % index
        theirs = peer_median_ms(lambda: ss.resample_poly(x, up, down), repetitions)
        print('%-34s %12.3f %12.3f %11.2fx %9.0fx %9.0fx' % (title, mine[name], theirs, mine[name] / theirs,
                                                            60e3 / mine[name], 60e3 / theirs))


if __name__ == '__main__':
    main()
