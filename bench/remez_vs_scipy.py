#!/usr/bin/python3
"""The equiripple design against scipy.signal.remez on the same low-pass requirements.

Times the remez_bench program (Google Benchmark) and scipy.signal.remez (grid_density 16) in this
process on the same requirements, the two in turns, then prints both medians and their ratio. Both
sides make the band edges alike (millionths divided by 10^6, the stop edge as fp + t), and the
script checks that the program designed the very doubles handed to scipy. The last set of
requirements cannot be levelled in double precision: there both time how long they take to give
up (scipy raises an error).

Usage: /usr/bin/python3 bench/remez_vs_scipy.py [path/to/remez_bench] [turns]
The default program is build/bench/remez_bench under the repository; 5 turns by default.
"""
import os
import sys

from scipy.signal import remez

from side_by_side import in_turns, ours_once, peer_batch

# Taps, pass edge and transition width in millionths of the sample rate.
SPECS = [(101, 100000, 20000), (501, 100000, 4000), (1001, 100000, 2000), (2001, 100000, 1000),
         (1001, 200000, 20000)]


def edges(fp, t):
    """The pass and stop edges as remez_bench.cpp makes them."""
    f1 = fp / 1e6
    return f1, f1 + t / 1e6


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build', 'bench', 'remez_bench')
    turns = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    print('%6s %5s %7s %12s %12s %12s  %s' % ('taps', 'fp', 't', 'Orvel ms', 'scipy ms',
                                              'scipy/Orvel', 'Orvel design'))
    for taps, fp, t in SPECS:
        f1, f2 = edges(fp, t)
        bands = [0, f1, f2, 0.5]

        def call():
            try:
                remez(taps, bands, [1, 0], grid_density=16)
            except ValueError:
                pass

        name = 'BM_RemezImpulseLowpass/%d/%d/%d/real_time' % (taps, fp, t)
        mine, theirs, record = in_turns(turns, lambda: ours_once(program, name), peer_batch(call))
        if (record['f1'], record['f2']) != (f1, f2):
            sys.exit('%s designed the edges %r, %r; scipy got %r, %r' % (name, record['f1'], record['f2'], f1, f2))
        print('%6d %5g %7g %12.3f %12.3f %11.2fx  %s, deviation %.6g' % (
            taps, f1, t / 1e6, mine, theirs, theirs / mine,
            'converged' if record['converged'] else 'NOT converged', record['deviation']))


if __name__ == '__main__':
    main()
