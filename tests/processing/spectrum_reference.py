#!/usr/bin/python3
"""The normalised amplitude spectrum of a SEG-Y file read by segyio, as
kxtool spectrum writes it: frequency_hz,amplitude per bin.

Usage: spectrum_reference.py FILE JOBS
JOBS has one job per line: OUT (trace N | filtered N POLES CUTOFF | whole | range FIRST LAST) [db]
Traces are 1-based; a range covers the whole trace length. "filtered" runs a
Butterworth low-pass (CUTOFF a fraction of Nyquist) forward and backward from
zero state, as our runner does, and normalises by the raw trace's peak bin. Bin 0 holds half
|X0|; whole and range spectra add |rfft(x / peak)| over traces, dead traces
left out; amplitudes are divided by the largest bin (or in dB, with -120 for
an empty bin).
"""
import sys

import numpy as np
import segyio
from scipy import signal


def zero_phase(x, poles, cutoff):
    sos = signal.butter(poles, cutoff, output="sos")
    y = signal.sosfilt(sos, x).astype(np.float32).astype(np.float64)
    return signal.sosfilt(sos, y[:, ::-1])[:, ::-1]


def amplitudes(rows, n):
    m = np.abs(np.fft.rfft(rows, n=n, axis=1))[:, :n // 2]
    m[:, 0] /= 2
    return m.sum(axis=0)


def job(x, dt, out, args):
    mode, db = args[0], args[-1] == "db"
    n = 2
    while n < x.shape[1]:
        n *= 2
    if mode in ("trace", "filtered"):
        rows = x[int(args[1]) - 1:int(args[1])]
        amp = peak = amplitudes(rows, n)
        if mode == "filtered":
            amp = amplitudes(zero_phase(rows, int(args[2]), float(args[3])), n)
    else:
        first, last = (1, x.shape[0]) if mode == "whole" else (int(args[1]), int(args[2]))
        rows = x[first - 1:last]
        scale = np.abs(rows).max(axis=1)
        rows, scale = rows[scale > 0], scale[scale > 0]
        amp = peak = amplitudes(rows / scale[:, None], n)
    y = amp / peak.max()
    if db:
        with np.errstate(divide="ignore"):
            y = np.where(amp == 0, -120.0, 20 * np.log10(y))
    with open(out, "w") as o:
        o.write("frequency_hz,amplitude\n")
        for k in range(n // 2):
            o.write("%.9g,%.9g\n" % (k / (n * dt), y[k]))


def main():
    with segyio.open(sys.argv[1], ignore_geometry=True) as f:
        x = np.stack([np.asarray(t, dtype=np.float64) for t in f.trace])
        dt = segyio.tools.dt(f) / 1e6
    with open(sys.argv[2]) as jobs:
        for line in jobs:
            if line.split():
                job(x, dt, line.split()[0], line.split()[1:])


if __name__ == "__main__":
    main()
