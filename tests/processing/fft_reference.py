#!/usr/bin/python3
"""|numpy.fft.rfft| of several real sequences, for the FFT tests.

Usage: fft_reference.py IN OUT N1 N2 ...
IN holds the sequences one after another as little-endian float64 (N1 values,
then N2, ...); OUT receives N/2 + 1 magnitudes per sequence in the same order.
"""
import sys

import numpy as np


def main():
    data = np.fromfile(sys.argv[1], dtype="<f8")
    lengths = [int(a) for a in sys.argv[3:]]
    out = []
    pos = 0
    for n in lengths:
        out.append(np.abs(np.fft.rfft(data[pos:pos + n])))
        pos += n
    np.concatenate(out).astype("<f8").tofile(sys.argv[2])


if __name__ == "__main__":
    main()
