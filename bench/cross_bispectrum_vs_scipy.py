#!/usr/bin/python3
"""The cross-spectrum analyser against scipy.signal.csd and coherence, the bispectrum analyser
against numpy's products of the same frames.

Runs the cross_bispectrum_bench program (Google Benchmark) pinned to one core, times the peers
on the same core in this process on the same noise (see bench/cross_bispectrum_bench.cpp), and
prints both medians and their ratio Orvel / peer (below 1: Orvel is faster).
  60 s at 48 kHz, x and y = (x + x delayed)   coherence(x, y, fs, window='hann', nperseg=4096,
  / 2, 4096-sample frames, 50 % overlap       noverlap=2048), and csd(x, y, ...) alike
  one 8192-sample frame into the running      numpy: X = fft(frame - mean)[:4096], over the
  average of the modified bicoherence         2049 x 2048 pairs of the principal domain (the
                                              analyser's layout, index arrays made once)
                                              T = X[a] X[b] conj(X[c]) by broadcasting, B and N
                                              running means of T and |T|^2, then |B|^2 / N
The bispectrum lines also give the peak memory: the analyser's counters (its matrices and the
process's largest resident size) and numpy's largest allocation during one frame (tracemalloc).

Usage: /usr/bin/python3 bench/cross_bispectrum_vs_scipy.py [program] [repetitions] [core]
The default program is build/bench/cross_bispectrum_bench under the repository; the default
core the last one this process may use.
"""
import json
import os
import subprocess
import sys
import tracemalloc

import numpy as np
import scipy.signal as ss

from side_by_side import lcg_noise, peer_median_ms


def principal_domain(lines):
    """Index arrays (a, b, c) of shape (h + 1, h): the pair (a, b) and its sum line c of each
    element of the analyser's folded matrix; pairs outside the spectrum point at line 0 with
    a weight of 0."""
    h = lines // 2
    a = np.zeros((h + 1, h), dtype=np.intp)
    b = np.zeros((h + 1, h), dtype=np.intp)
    inside = np.zeros((h + 1, h), dtype=bool)
    for i in range(h + 1):
        e = 0 if i == h else 1
        k = np.arange(i + e)
        a[i, k], b[i, k], inside[i, k] = i, k, True
        q = h + i + e
        if q < lines:
            j = np.arange(h - i - e)
            a[i, i + e + j], b[i, i + e + j], inside[i, i + e + j] = q, j, True
    return a, b, a + b, inside


class Bicoherence:
    """The running modified bicoherence of frames, as the analyser keeps it."""

    def __init__(self, lines):
        self.a, self.b, self.c, self.inside = principal_domain(lines)
        self.lines = lines
        self.count = 0
        self.B = self.N = None

    def frame(self, x):
        X = np.fft.fft(x - x.mean())[:self.lines]
        T = X[self.a] * X[self.b] * np.conj(X[self.c]) * self.inside
        P = (T * np.conj(T)).real
        if self.count == 0:
            self.B, self.N = T, P
        else:
            n = self.count + 1
            self.B = (self.B * (n - 1) + T) / n
            self.N = (self.N * (n - 1) + P) / n
        self.count += 1
        with np.errstate(divide='ignore', invalid='ignore'):
            return np.where(self.N > 0, (self.B * np.conj(self.B)).real / self.N, 0.0)


def pinned_records(program, repetitions, core):
    """The program's benchmarks on one core: the median record of each, by run name."""
    out = subprocess.run(
        ['taskset', '-c', str(core), program, '--benchmark_format=json',
         '--benchmark_repetitions=%d' % repetitions, '--benchmark_report_aggregates_only=true'],
        check=True, capture_output=True, text=True, env=dict(os.environ, OPENBLAS_NUM_THREADS='1')).stdout
    return {b['run_name']: b for b in json.loads(out)['benchmarks'] if b.get('aggregate_name') == 'median'}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'cross_bispectrum_bench')
    repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    core = int(sys.argv[3]) if len(sys.argv) > 3 else max(os.sched_getaffinity(0))
    os.sched_setaffinity(0, {core})
    mine = pinned_records(program, repetitions, core)

    x = lcg_noise(60 * 48000)
    y = (x + np.concatenate(([0.0], x[:-1]))) / 2
    opts = dict(fs=48000.0, window='hann', nperseg=4096, noverlap=2048)
    cross = mine['BM_CrossWelch/real_time']['real_time']
    print('core %d' % core)
    print('%-40s %12s %12s %12s' % ('', 'Orvel ms', 'peer ms', 'Orvel/peer'))
    for title, call in [('60 s two channels: scipy coherence', lambda: ss.coherence(x, y, **opts)),
                        ('60 s two channels: scipy csd', lambda: ss.csd(x, y, **opts))]:
        theirs = peer_median_ms(call, repetitions)
        print('%-40s %12.3f %12.3f %11.2fx' % (title, cross, theirs, cross / theirs))

    frames = lcg_noise(8192 * 64).reshape(64, 8192)
    peer = Bicoherence(4096)
    state = {'slice': 0}

    def one_frame():
        peer.frame(frames[state['slice'] % 64])
        state['slice'] += 1

    for _ in range(17):
        one_frame()
    theirs = peer_median_ms(one_frame, repetitions)
    record = mine['BM_BispectrumFrame/real_time']
    ours = record['real_time']
    print('%-40s %12.3f %12.3f %11.2fx' % ('8192-sample frame: numpy bicoherence', ours, theirs, ours / theirs))
    tracemalloc.start()
    one_frame()
    _, numpy_peak = tracemalloc.get_traced_memory()
    tracemalloc.stop()
    held = sum(v.nbytes for v in (peer.B, peer.N)) / 2 ** 20
    print('memory: Orvel matrices %.0f MB, process peak %.0f MB; numpy averages %.0f MB, one frame\'s peak '
          'allocation %.0f MB' % (record['MatrixMB'], record['PeakRssMB'], held, numpy_peak / 2 ** 20))


if __name__ == '__main__':
    main()
