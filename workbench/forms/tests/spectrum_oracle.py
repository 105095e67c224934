#!/usr/bin/python3
"""The power spectrum of closes as numpy computes it, for the spectrum window's oracle test.

Usage: spectrum_oracle.py <closes.f64> <lines.f64>
Reads N closes (little-endian doubles), takes n, the smallest power of two >= N (at least 2),
and writes the lines k = 0 .. n/2 - 1 of (2 |rfft(x - mean(x), n)| / N)^2 as little-endian doubles.
"""
import sys

import numpy as np


def main():
    x = np.fromfile(sys.argv[1], dtype='<f8')
    N = len(x)
    n = 2
    while n < N:
        n *= 2
    power = (2 * np.abs(np.fft.rfft(x - x.mean(), n)) / N) ** 2
    power[:n // 2].astype('<f8').tofile(sys.argv[2])


if __name__ == '__main__':
    main()
