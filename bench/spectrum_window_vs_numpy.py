#!/usr/bin/python3
"""The spectrum window's "Расчет" against numpy's rfft power spectrum of the same closes.

Runs the workbench_spectrum_bench program (Google Benchmark) pinned to one core: "Расчет" on
the whole range of a history (bars 1 .. the last, as the window opens it) until both spectrum
charts are painted, on the 5 000-bar sample history and on a synthetic history of 10^6 bars,
which the program writes into a folder this script gives it (ORVEL_BENCH_DIR). Then times numpy
on the same core and the same closes, read from those files:
    (2 |numpy.fft.rfft(x - x.mean(), n)| / N)^2,  n the smallest power of two >= N,
and prints both medians and their ratio Orvel / numpy (below 1: Orvel is faster). numpy computes
the spectrum only: no window, no second transform, no period conversion, no drawing.

Usage: /usr/bin/python3 bench/spectrum_window_vs_numpy.py [program] [repetitions] [core]
The default program is build/bench/workbench_spectrum_bench under the repository; the default
core the last one this process may use.
"""
import os
import sys
import tempfile

import numpy as np

from side_by_side import peer_median_ms, pinned_medians


def history_closes(path):
    """The closes of a MetaTrader history file (versions 1 and 400)."""
    data = open(path, 'rb').read()
    version = int.from_bytes(data[:4], 'little')
    if version == 400:
        bar = np.dtype([('time', '<i4'), ('open', '<f8'), ('low', '<f8'), ('high', '<f8'), ('close', '<f8'),
                        ('volume', '<f8')])
        header = 148
    else:
        bar = np.dtype([('time', '<i4'), ('open', '<f8'), ('low', '<f8'), ('high', '<f8'), ('close', '<f8'),
                        ('volume', '<i4')])
        header = 144
    count = (len(data) - header) // bar.itemsize
    return np.frombuffer(data, dtype=bar, count=count, offset=header)['close'].copy()


def power_spectrum(x):
    N = len(x)
    n = 1 << max(1, (N - 1).bit_length())
    return (2 * np.abs(np.fft.rfft(x - x.mean(), n)) / N) ** 2


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'workbench_spectrum_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    with tempfile.TemporaryDirectory() as folder:
        os.environ['ORVEL_BENCH_DIR'] = folder
        mine = pinned_medians(program, repetitions, core)
        synthetic = history_closes(os.path.join(folder, 'SYNTH1.hst'))
    sample = history_closes(os.path.join(root, 'workbench', 'sample', 'SAMPLE60.hst'))
    cases = [
        ('sample, 5 000 bars', 'BM_SpectrumSampleHistory/real_time', sample[1:], 20.0),
        ('synthetic, 10^6 bars', 'BM_SpectrumMillionBars/real_time', synthetic[1:], 500.0),
    ]
    print('core %d' % core)
    print('%-24s %10s %12s %10s %12s %9s' % ('"Расчет", whole range', 'closes', 'Orvel ms', 'numpy ms', 'Orvel/numpy',
                                             'aim ms'))
    for title, name, closes, aim in cases:
        theirs = peer_median_ms(lambda: power_spectrum(closes), repetitions)
        ours = mine[name]
        print('%-24s %10d %12.3f %10.3f %11.2fx %9.0f' % (title, len(closes), ours, theirs, ours / theirs, aim))


if __name__ == '__main__':
    main()
