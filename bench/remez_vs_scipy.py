#!/usr/bin/python3
"""The equiripple design against scipy.signal.remez on the same low-pass requirements.

Runs the remez_bench program (Google Benchmark) and times scipy.signal.remez (grid_density 16)
in this process on the same requirements, then prints both medians and their ratio. The last
set of requirements cannot be levelled in double precision: there both time how long they take to give
up (scipy raises an error).

Usage: /usr/bin/python3 bench/remez_vs_scipy.py [path/to/remez_bench] [repetitions]
The default program is build/bench/remez_bench under the repository.
"""
import json
import os
import statistics
import subprocess
import sys
import timeit

from scipy.signal import remez

SPECS = [(101, 0.1, 0.02), (501, 0.1, 0.004), (1001, 0.1, 0.002), (2001, 0.1, 0.001),
         (1001, 0.2, 0.02)]


def ours(program, repetitions):
    out = subprocess.run(
        [program, '--benchmark_format=json', '--benchmark_repetitions=%d' % repetitions,
         '--benchmark_report_aggregates_only=true'],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    result = {}
    for b in json.loads(out)['benchmarks']:
        if b.get('aggregate_name') != 'median':
            continue
        taps, fp, t = (int(v) for v in b['run_name'].split('/')[1:4])
        result[(taps, fp, t)] = (b['real_time'], b['converged'], b['deviation'])
    return result


def scipy_median_ms(taps, fp, t, repetitions):
    bands = [0, fp, fp + t, 0.5]

    def call():
        try:
            remez(taps, bands, [1, 0], grid_density=16)
        except ValueError:
            pass
    number = max(1, int(0.2 / max(timeit.timeit(call, number=1), 1e-6)))
    times = timeit.repeat(call, number=number, repeat=repetitions)
    return statistics.median(times) / number * 1e3


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'remez_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    mine = ours(program, repetitions)
    print('%6s %5s %7s %12s %12s %12s  %s' % ('taps', 'fp', 't', 'Orvel ms', 'scipy ms',
                                              'scipy/Orvel', 'Orvel design'))
    for taps, fp, t in SPECS:
        ms, converged, dev = mine[(taps, round(fp * 1e6), round(t * 1e6))]
        theirs = scipy_median_ms(taps, fp, t, repetitions)
        print('%6d %5g %7g %12.3f %12.3f %11.2fx  %s, deviation %.6g' % (
            taps, fp, t, ms, theirs, theirs / ms, 'converged' if converged else 'NOT converged', dev))


if __name__ == '__main__':
    main()
