#!/usr/bin/python3
"""Peer resampling for the resampling accuracy test.

Usage: resample_reference.py IN UP DOWN OUT

IN holds one sample per line; OUT receives scipy.signal.resample_poly(x, UP,
DOWN) (its default Kaiser-windowed FIR, zero phase), one value per line.
"""
import sys

import numpy as np
from scipy import signal


def main():
    x = np.loadtxt(sys.argv[1], dtype=np.float64)
    up, down = int(sys.argv[2]), int(sys.argv[3])
    y = signal.resample_poly(x, up, down)
    np.savetxt(sys.argv[4], y, fmt="%.9g")


if __name__ == "__main__":
    main()
