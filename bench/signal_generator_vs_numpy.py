#!/usr/bin/python3
"""The formula generator against numpy's vectorised formula, on one core.

Pins this process (and so the benchmark program it starts) to one core, runs the
signal_generator_bench program (Google Benchmark) and times numpy on the same formula of
10^6 samples (see bench/signal_generator_bench.cpp), and prints both medians and their ratio.
The numpy formula computes what the generator's lines do: the sine from the sample index,
the square from the phase in degrees taken into [0, 360), the product and the sum.

Usage: /usr/bin/python3 bench/signal_generator_vs_numpy.py [path/to/signal_generator_bench]
       [repetitions] [core]
The default program is build/bench/signal_generator_bench under the repository; the default
core is the last one this process may run on.
"""
import json
import os
import statistics
import subprocess
import sys
import timeit

import numpy as np

N = 1000000
FS = 48000.0


def formula(offset):
    n = np.arange(offset, offset + N, dtype=np.float64)
    sine = 1.5 * np.sin(2 * np.pi * 1000.3 / FS * n + np.deg2rad(30.0))
    degrees = np.mod(360.0 * 50.7 / FS * n + 10.0, 360.0)
    square = np.where(degrees < 180.0, 1.0 + 0.25, -1.0 + 0.25)
    return sine + square * 0.4


def ours(program, repetitions):
    out = subprocess.run(
        [program, '--benchmark_format=json', '--benchmark_repetitions=%d' % repetitions,
         '--benchmark_report_aggregates_only=true'],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    return {b['run_name']: b['real_time'] for b in json.loads(out)['benchmarks']
            if b.get('aggregate_name') == 'median'}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'signal_generator_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = ours(program, repetitions)['BM_GeneratorFiveLines/real_time']
    block = [0]

    def numpy_block():
        formula(block[0])
        block[0] += N

    theirs = statistics.median(timeit.repeat(numpy_block, number=1, repeat=repetitions)) * 1e3
    print('core %d' % core)
    print('%-34s %12s %12s %14s' % ('10^6 samples', 'Orvel ms', 'numpy ms', 'Orvel/numpy'))
    print('%-34s %12.3f %12.3f %13.2fx' % ('[Sine, Square, Constant, *, +]', mine, theirs, mine / theirs))


if __name__ == '__main__':
    main()
