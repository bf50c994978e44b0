#!/usr/bin/python3
"""Reference magnitude responses from scipy for the filter tests.

Usage: filter_reference.py CASES OUT

CASES has one design per line:
    kind family poles ripple_db stop_db omega bw npoints
kind: 1 low-pass, 2 high-pass, 4 notch (omega = centre, bw = bandwidth),
      3 band-pass product (omega = low edge, bw = high edge).
OUT receives, per case, one line of npoints values |H(w)|^2 at
w = (i + 0.5) / npoints of Nyquist: the response squared, as a forward-backward
run gives.

The prototype is scipy's (buttap, cheb1ap, ellipap) brought to the
conventions of our design: unit gain at zero frequency, and for Chebyshev and
Elliptic the -3 dB point put at 1 rad/s by our 1/512 rad/s grid search. The
digital filter is then lp2lp/lp2hp/lp2bs with the prewarped corner T and the
bilinear transform at fs = 1.
"""
import sys

import numpy as np
from scipy import signal


def prototype(family, n, rp, rs):
    if n == 1:
        return np.array([]), np.array([-1.0]), 1.0
    if family == 1:
        return signal.buttap(n)
    if family == 2:
        z, p, k = signal.cheb1ap(n, rp)
    else:
        z, p, k = signal.ellipap(n, rp, rs)
    k = k / abs(response(z, p, k, 0.0))
    w = np.arange(1, 6000) / 512.0
    below = np.nonzero(np.abs(response(z, p, k, w)) < 0.7071)[0]
    w3 = w[below[0]] if below.size else w[-1]
    # H(s * w3): poles and zeros divided by w3, gain kept at unit DC.
    z, p = z / w3, p / w3
    k = k / abs(response(z, p, k, 0.0))
    return z, p, k


def response(z, p, k, w):
    s = 1j * np.asarray(w, dtype=float)
    h = k * np.ones_like(s)
    for zz in z:
        h = h * (s - zz)
    for pp in p:
        h = h / (s - pp)
    return h


def digital(kind, family, n, rp, rs, omega, bw):
    z, p, k = prototype(family, n, rp, rs)
    T = 2.0 * np.tan(omega * np.pi / 2.0)
    if kind == 1:
        z, p, k = signal.lp2lp_zpk(z, p, k, wo=T)
    elif kind == 2:
        z, p, k = signal.lp2hp_zpk(z, p, k, wo=T)
    else:
        Q = (omega / bw) / (0.8 * np.tan(min(1.0 + omega, 1.95) * np.pi / 4.0))
        z, p, k = signal.lp2bs_zpk(z, p, k, wo=T, bw=T / Q)
    return signal.bilinear_zpk(z, p, k, fs=1.0)


def magnitude2(kind, family, n, rp, rs, omega, bw, npoints):
    w = (np.arange(npoints) + 0.5) / npoints * np.pi
    if kind == 3:
        lo = magnitude2(2, family, n, rp, rs, omega, 0, npoints)
        hi = magnitude2(1, family, n, rp, rs, bw, 0, npoints)
        return lo * hi
    z, p, k = digital(kind, family, n, rp, rs, omega, bw)
    _, h = signal.freqz_zpk(z, p, k, worN=w)
    return np.abs(h) ** 2


def main():
    with open(sys.argv[1]) as f, open(sys.argv[2], "w") as out:
        for line in f:
            parts = line.split()
            if not parts:
                continue
            kind, family, n = int(parts[0]), int(parts[1]), int(parts[2])
            rp, rs, omega, bw = map(float, parts[3:7])
            npoints = int(parts[7])
            m = magnitude2(kind, family, n, rp, rs, omega, bw, npoints)
            out.write(" ".join("%.17g" % v for v in m) + "\n")


if __name__ == "__main__":
    main()
