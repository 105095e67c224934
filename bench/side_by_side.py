"""Times one of this project's Google Benchmark programs and a Python peer in turns.

The two sides alternate, and which goes first alternates too, so that a change of the machine's
load falls on both alike; each side gives the median of its turns. Used by fir_filter_vs_scipy.py
and remez_vs_scipy.py. The pinned runs (pinned_medians beside peer_median_ms, over lcg_noise) serve
spectrum_analyzer_vs_scipy.py and signal_filters_vs_scipy.py.
"""
import json
import os
import statistics
import subprocess
import timeit

import numpy as np

# Google Benchmark's default least time per benchmark; the peer's batches last as long.
BATCH_SECONDS = 0.5

_UNIT_MS = {'ns': 1e-6, 'us': 1e-3, 'ms': 1.0, 's': 1e3}


def ours_once(program, name):
    """One run of the program's benchmark of this run name: its real time per iteration in ms and
    its JSON record (with the counters)."""
    out = subprocess.run(
        [program, '--benchmark_format=json', '--benchmark_filter=^%s$' % name],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    for b in json.loads(out)['benchmarks']:
        if b.get('run_type') == 'iteration' and b['run_name'] == name:
            return b['real_time'] * _UNIT_MS[b['time_unit']], b
    raise RuntimeError('%s ran no benchmark %s' % (program, name))


def peer_batch(call):
    """A function that times one batch of calls lasting about BATCH_SECONDS, in ms per call."""
    number = max(1, int(BATCH_SECONDS / max(timeit.timeit(call, number=1), 1e-6)))
    return lambda: timeit.timeit(call, number=number) / number * 1e3


def in_turns(turns, ours, theirs):
    """Calls ours() (ms and a record, as ours_once gives) and theirs() (ms) turns times each, each
    going first in every other turn; returns the median of each side and the last record."""
    mine, peer, record = [], [], None
    for turn in range(turns):
        if turn % 2 == 0:
            ms, record = ours()
            mine.append(ms)
        peer.append(theirs())
        if turn % 2 == 1:
            ms, record = ours()
            mine.append(ms)
    return statistics.median(mine), statistics.median(peer), record


def lcg_noise(n):
    """The benchmarks' noise: s := (1103515245 s + 12345) mod 2^31 from s = 1, sample s / 2^30 - 1."""
    x = np.empty(n)
    a, c, m = 1103515245, 12345, 2 ** 31
    s = 1
    for i in range(n):
        s = (a * s + c) % m
        x[i] = s / 2 ** 30 - 1
    return x


def pinned_medians(program, repetitions, core):
    """The program's benchmarks run on one core: the median real time of each, by run name, in the
    benchmark's own time unit."""
    out = subprocess.run(
        ['taskset', '-c', str(core), program, '--benchmark_format=json',
         '--benchmark_repetitions=%d' % repetitions, '--benchmark_report_aggregates_only=true'],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    return {b['run_name']: b['real_time'] for b in json.loads(out)['benchmarks']
            if b.get('aggregate_name') == 'median'}


def peer_median_ms(call, repetitions):
    """The median of repetitions single calls, in ms, after one call to warm up."""
    call()
    return statistics.median(timeit.repeat(call, number=1, repeat=repetitions)) * 1e3
