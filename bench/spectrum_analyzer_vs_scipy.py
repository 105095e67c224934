#!/usr/bin/python3
"""The spectrum analyser against scipy.signal.periodogram and scipy.signal.welch on the same data.

Runs the spectrum_analyzer_bench program (Google Benchmark) pinned to one core, times scipy on
the same core in this process on the same noise (see bench/spectrum_analyzer_bench.cpp), and
prints both medians and their ratio Orvel / scipy (below 1: Orvel is faster).
  update of 2^20 and of 10^6 samples   periodogram(x, window='hann', nfft=2^20,
                                       detrend='constant', scaling='spectrum')
  60 s at 48 kHz, 4096-sample frames   welch(x, window='hann', nperseg=4096, noverlap=2048,
  with 50 % overlap                    detrend='constant', scaling='spectrum')

Usage: /usr/bin/python3 bench/spectrum_analyzer_vs_scipy.py [program] [repetitions] [core]
The default program is build/bench/spectrum_analyzer_bench under the repository; the default
core the last one this process may use.
"""
import os
import sys

import scipy.signal as ss

from side_by_side import lcg_noise, peer_median_ms, pinned_medians


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'spectrum_analyzer_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = pinned_medians(program, repetitions, core)
    big = lcg_noise(60 * 48000)
    fs = 48000.0
    cases = [
        ('update, 2^20 samples', 'BM_UpdateAmpltHann/1048576/real_time',
         lambda: ss.periodogram(big[:1 << 20], fs, window='hann', nfft=1 << 20, scaling='spectrum')),
        ('update, 10^6 samples', 'BM_UpdateAmpltHann/1000000/real_time',
         lambda: ss.periodogram(big[:1000000], fs, window='hann', nfft=1 << 20, scaling='spectrum')),
        ('Welch, 60 s at 48 kHz', 'BM_WelchLinearAverage/real_time',
         lambda: ss.welch(big, fs, window='hann', nperseg=4096, noverlap=2048, scaling='spectrum')),
    ]
    print('core %d' % core)
    print('%-24s %12s %12s %12s' % ('', 'Orvel ms', 'scipy ms', 'Orvel/scipy'))
    for title, name, call in cases:
        theirs = peer_median_ms(call, repetitions)
        print('%-24s %12.3f %12.3f %11.2fx' % (title, mine[name], theirs, mine[name] / theirs))


if __name__ == '__main__':
    main()
