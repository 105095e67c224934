#!/usr/bin/python3
"""The running FIR and IIR filters against scipy.signal.lfilter on the same data.

Times the fir_filter_bench program (Google Benchmark) and scipy.signal.lfilter in this process on
the same 10^6 samples and filters (see bench/fir_filter_bench.cpp), the two in turns, and prints
both medians and their ratio.

Usage: /usr/bin/python3 bench/fir_filter_vs_scipy.py [path/to/fir_filter_bench] [turns]
The default program is build/bench/fir_filter_bench under the repository; 5 turns by default.
"""
import os
import sys

import numpy as np
import scipy.signal as ss

from side_by_side import in_turns, ours_once, peer_batch

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


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'fir_filter_bench')
    turns = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    x = data()
    b, a = ss.butter(6, 0.2)
    h64, h512 = taps(64), taps(512)
    cases = [('FIR, 64 taps', 'BM_FirFilter/64/real_time', lambda: ss.lfilter(h64, [1.0], x)),
             ('FIR, 512 taps', 'BM_FirFilter/512/real_time', lambda: ss.lfilter(h512, [1.0], x)),
             ('IIR, Butterworth order 6', 'BM_IirFilterButter6/real_time', lambda: ss.lfilter(b, a, x))]
    print('%-26s %12s %12s %12s' % ('10^6 samples', 'Orvel ms', 'scipy ms', 'scipy/Orvel'))
    for title, name, call in cases:
        mine, theirs, _ = in_turns(turns, lambda: ours_once(program, name), peer_batch(call))
        print('%-26s %12.3f %12.3f %11.2fx' % (title, mine, theirs, theirs / mine))


if __name__ == '__main__':
    main()
