#!/usr/bin/python3
"""The running FIR and IIR filters against scipy.signal.lfilter on the same data.

Runs the fir_filter_bench program (Google Benchmark) and times scipy.signal.lfilter in this
process on the same 10^6 samples and filters (see bench/fir_filter_bench.cpp), and prints both
medians and their ratio.

Usage: /usr/bin/python3 bench/fir_filter_vs_scipy.py [path/to/fir_filter_bench] [repetitions]
The default program is build/bench/fir_filter_bench under the repository.
"""
import json
import os
import statistics
import subprocess
import sys
import timeit

import numpy as np
import scipy.signal as ss

N = 1000000


def data():
    s = 1
    x = np.empty(N)
    for i in range(N):
        s = (1103515245 * s + 12345) % 2 ** 31
        x[i] = s / 2 ** 30 - 1
    return x


def taps(m):
    k = np.arange(m)
    return np.sin(0.3 * (k + 1)) / (k + 1)


def ours(program, repetitions):
    out = subprocess.run(
        [program, '--benchmark_format=json', '--benchmark_repetitions=%d' % repetitions,
         '--benchmark_report_aggregates_only=true'],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    return {b['run_name']: b['real_time'] for b in json.loads(out)['benchmarks']
            if b.get('aggregate_name') == 'median'}


def scipy_median_ms(call, repetitions):
    return statistics.median(timeit.repeat(call, number=1, repeat=repetitions)) * 1e3


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'fir_filter_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    mine = ours(program, repetitions)
    x = data()
    b, a = ss.butter(6, 0.2)
    cases = [('FIR, 64 taps', 'BM_FirFilter/64/real_time', lambda: ss.lfilter(taps(64), [1.0], x)),
             ('FIR, 512 taps', 'BM_FirFilter/512/real_time', lambda: ss.lfilter(taps(512), [1.0], x)),
             ('IIR, Butterworth order 6', 'BM_IirFilterButter6/real_time', lambda: ss.lfilter(b, a, x))]
    print('%-26s %12s %12s %12s' % ('10^6 samples', 'Orvel ms', 'scipy ms', 'scipy/Orvel'))
    for title, name, call in cases:
        theirs = scipy_median_ms(call, repetitions)
        print('%-26s %12.3f %12.3f %11.2fx' % (title, mine[name], theirs, theirs / mine[name]))


if __name__ == '__main__':
    main()
