#!/usr/bin/python3
"""numpy's side of the signal file benchmark: prints the best of three times in seconds.

  signal_files_peers.py fromfile PATH     numpy.fromfile of a .dbn record's samples (after its
                                          12-byte header)
  signal_files_peers.py savetxt PATH N    numpy.savetxt of N values, one a line
  signal_files_peers.py loadtxt PATH      numpy.loadtxt of the file savetxt wrote
"""
import sys
import time

import numpy as np


def best(run):
    times = []
    for _ in range(3):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "fromfile":
        print(best(lambda: np.fromfile(path, dtype="<f8", offset=12)))
    elif command == "savetxt":
        values = np.sin(np.arange(int(sys.argv[3])) * 0.001) * 1000
        print(best(lambda: np.savetxt(path, values, newline="\r\n")))
    elif command == "loadtxt":
        print(best(lambda: np.loadtxt(path)))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
