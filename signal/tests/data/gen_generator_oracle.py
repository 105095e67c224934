#!/usr/bin/python3
"""Writes generator_oracle.txt, the reference table of the generator's waveform tests.

Sources (Debian's python3-scipy and python3-numpy):
  chirp   scipy.signal.chirp(t, f0=P1, t1=Ts, f1=P5, method='linear', phi=-90), the sine of
          the linear sweep, at t = m Ts / Ls for m = n mod Ls, with Ls = round(L x Duty)
          samples (L without a duty) and Ts = Ls' share of the block's L / Fs seconds; times
          the amplitude that goes from P3 to P6 over the sweep, plus P4.
  square  P3 x scipy.signal.square(2 pi P1 n / Fs + P2 in radians) + P4.
  sine    P3 x numpy.sin(2 pi P1 n / Fs + P2 in radians).
n counts the samples of all blocks from 0: every case runs on over its blocks (continuous).
The square cases keep every sample at least 1e-6 degrees away from an edge of the wave, so
that no rounding decides on which side it lies.

One case a line, fields separated by ';':
  <kind>;<name>;<Fs>;<L>;<blocks>;<P1 .. P7>;<samples of all blocks>
Run: /usr/bin/python3 gen_generator_oracle.py  (from any folder)
"""
import os
import numpy as np
import scipy.signal as ss

HERE = os.path.dirname(os.path.abspath(__file__))


def numbers(v):
    return ' '.join('%.17g' % x for x in v)


def chirp(fs, L, blocks, p):
    f0, _, a0, dc, f1, a1, duty = p
    T = L / fs
    if duty != 0:
        ls, ts = round(L * duty), T * duty
    else:
        ls, ts = L, T
    m = np.arange(L * blocks) % ls
    t = m * ts / ls
    y = ss.chirp(t, f0=f0, t1=ts, f1=f1, method='linear', phi=-90)
    return y * ((ls - m) * a0 + m * a1) / ls + dc


def square(fs, L, blocks, p):
    f, phase, amplitude, dc = p[:4]
    n = np.arange(L * blocks)
    degrees = np.mod(360.0 * f * n / fs + phase, 360.0)
    edge = np.minimum(np.abs(degrees - 180.0), np.minimum(degrees, 360.0 - degrees))
    assert np.all((edge > 1e-6) | (edge == 0)), 'a square sample lies on an edge'
    return amplitude * ss.square(2 * np.pi * f * n / fs + np.deg2rad(phase)) + dc


def sine(fs, L, blocks, p):
    f, phase, amplitude = p[:3]
    n = np.arange(L * blocks)
    return abs(amplitude) * np.sin(2 * np.pi * f * n / fs + np.deg2rad(phase))


CASES = [
    # kind, name, Fs, L, blocks, P1 .. P7
    ('chirp', 'whole block', 1000.0, 1000, 1, (10.0, 0, 1.0, 0, 200.0, 1.0, 0)),
    ('chirp', 'down, fading, with DC', 8000.0, 512, 2, (1500.0, 0, 2.0, 0.25, 40.0, 0.5, 0)),
    ('chirp', 'duty 0.5 twice a block', 100.0, 100, 3, (1.0, 0, 1.0, 0, 20.0, 1.0, 0.5)),
    ('chirp', 'duty 0.3 over blocks', 48000.0, 700, 4, (100.0, 45, 1.5, -0.5, 9000.0, 0.1, 0.3)),
    ('chirp', 'duty above 1', 1000.0, 256, 3, (5.0, 0, 1.0, 0, 50.0, 1.0, 1.75)),
    ('square', 'seven hertz', 1000.0, 1000, 1, (7.3, 0, 1.0, 0, 0, 0, 0)),
    ('square', 'phase and DC over blocks', 44100.0, 333, 5, (441.7, 37.0, 2.0, 0.5, 0, 0, 0)),
    ('square', 'negative phase', 1000.0, 400, 2, (13.1, -250.0, 1.0, 0, 0, 0, 0)),
    ('sine', 'over blocks', 1000.0, 250, 4, (12.5, 30.0, 2.0, 0, 0, 0, 0)),
    ('sine', 'negative amplitude', 48000.0, 480, 2, (1000.3, -90.0, -0.5, 0, 0, 0, 0)),
]


def main():
    lines = []
    for kind, name, fs, L, blocks, p in CASES:
        y = {'chirp': chirp, 'square': square, 'sine': sine}[kind](fs, L, blocks, p)
        lines.append(';'.join([kind, name, '%.17g' % fs, str(L), str(blocks), numbers(p), numbers(y)]))
    with open(os.path.join(HERE, 'generator_oracle.txt'), 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
