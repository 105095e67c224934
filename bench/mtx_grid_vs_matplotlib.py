#!/usr/bin/python3
"""The matrix grid series against matplotlib's imshow on the same 2000 x 2000 matrix.

Runs the analysis_charts_bench program (Google Benchmark) pinned to one core for
BM_MtxGrid2000Into800x600 (a chart pass of an 800 x 600 chart whose grid series shows the
whole matrix), and times on the same core, in this process, matplotlib drawing a figure of
800 x 600 pixels (Agg) that holds one imshow of the same matrix (the same generator as
bench/analysis_charts_bench.cpp). Both sides draw again an unchanged figure, so each pass
maps every cell to its colour and scales the picture down to the axes.

Two matplotlib figures are printed: imshow as it comes (interpolation 'antialiased', which
smooths while it scales down) and with interpolation 'nearest', which, like the grid series,
takes one cell per pixel without smoothing. The ratio is Orvel / matplotlib (below 1: Orvel
is faster).

Usage: /usr/bin/python3 bench/mtx_grid_vs_matplotlib.py [program] [repetitions] [core]
The default program is build/bench/analysis_charts_bench under the repository; the default
core the last one this process may use.
"""
import json
import os
import statistics
import subprocess
import sys
import tempfile
import timeit

import numpy as np
import matplotlib

matplotlib.use('Agg')
import matplotlib.pyplot as plt  # noqa: E402 (after the backend is chosen)

N = 2000


def matrix():
    # s := (1103515245 s + 12345) mod 2^31 from s = 1, value sin(0.001 i) + s / 2^30 - 1.
    n = N * N
    s = np.empty(n, dtype=np.uint64)
    v = 1
    a, c, m = 1103515245, 12345, 2 ** 31
    # The recurrence in blocks: s_{i+k} = A_k s_i + C_k (mod m).
    block = 4096
    ak = np.empty(block, dtype=object)
    ck = np.empty(block, dtype=object)
    A, C = 1, 0
    for k in range(block):
        A, C = (a * A) % m, (a * C + c) % m
        ak[k], ck[k] = A, C
    ak = ak.astype(np.uint64)
    ck = ck.astype(np.uint64)
    for start in range(0, n, block):
        count = min(block, n - start)
        s[start:start + count] = (ak[:count] * np.uint64(v) + ck[:count]) % np.uint64(m)
        v = int(s[start + count - 1])
    x = np.sin(0.001 * np.arange(n)) + s.astype(np.float64) / 2 ** 30 - 1
    return x.reshape(N, N)


def ours(program, repetitions, core):
    # The program prints its own summary after the runs: the figures come from its JSON file.
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, 'runs.json')
        subprocess.run(
            ['taskset', '-c', str(core), program, '--benchmark_filter=BM_MtxGrid',
             '--benchmark_out=' + out, '--benchmark_out_format=json',
             '--benchmark_repetitions=%d' % repetitions, '--benchmark_report_aggregates_only=true'],
            check=True, capture_output=True, text=True, env=dict(os.environ, QT_QPA_PLATFORM='offscreen'))
        with open(out) as f:
            runs = json.load(f)['benchmarks']
    return {b['run_name']: b['real_time'] for b in runs if b.get('aggregate_name') == 'median'}


def matplotlib_median_ms(m, interpolation, repetitions):
    fig = plt.figure(figsize=(8, 6), dpi=100)
    ax = fig.add_subplot()
    ax.imshow(m, aspect='auto', origin='lower', interpolation=interpolation)
    fig.canvas.draw()
    assert fig.canvas.get_width_height() == (800, 600)
    t = statistics.median(timeit.repeat(fig.canvas.draw, number=1, repeat=repetitions)) * 1e3
    plt.close(fig)
    return t


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'analysis_charts_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = ours(program, repetitions, core)['BM_MtxGrid2000Into800x600']
    m = matrix()
    print('core %d' % core)
    print('%-40s %12s %14s %12s' % ('2000 x 2000 into 800 x 600', 'Orvel ms', 'matplotlib ms', 'ratio'))
    for interpolation in ('antialiased', 'nearest'):
        theirs = matplotlib_median_ms(m, interpolation, repetitions)
        print('%-40s %12.2f %14.2f %11.2fx' % ('imshow, ' + interpolation, mine, theirs, mine / theirs))


if __name__ == '__main__':
    main()
