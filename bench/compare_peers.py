#!/usr/bin/python3
"""Runs our filter and spectrum benchmarks next to their scipy/numpy peers on
the same 10,000 x 2,000 float32 section and prints the ratios.

Usage: bench/compare_peers.py BUILD_DIR [--repeat N]

Both sides are timed in the same run, on the same machine state: our numbers
come from the Google Benchmark binaries (real time, minimum over repetitions),
the peers' from time.perf_counter (minimum over repetitions).
  filter:   our RunFilterBatch of an 8-pole Butterworth band pass (8 low-pass
            and 8 high-pass poles, 0.02..0.4 of Nyquist) against
            scipy.signal.sosfiltfilt with the same eight sections.
  spectrum: our whole-section amplitude spectrum against numpy.fft.rfft
            (n = 2048) of each trace over its peak, magnitudes summed.
Ratio = peer time / our time: above 1 means we are faster.
"""
import json
import subprocess
import sys
import time

import numpy as np
from scipy import signal

TRACES, SAMPLES = 10000, 2000


def ours(binary, repeat):
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_repetitions=%d" % repeat],
                         check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        ms = b["real_time"] * {"ms": 1.0, "us": 1e-3, "ns": 1e-6, "s": 1e3}[b["time_unit"]]
        best[b["run_name"]] = min(best.get(b["run_name"], ms), ms)
    return best


def best_of(fn, repeat):
    times = []
    for _ in range(repeat):
        t = time.perf_counter()
        fn()
        times.append((time.perf_counter() - t) * 1e3)
    return min(times)


def main():
    build = sys.argv[1]
    repeat = int(sys.argv[sys.argv.index("--repeat") + 1]) if "--repeat" in sys.argv else 3
    rng = np.random.default_rng(42)
    x = rng.standard_normal((TRACES, SAMPLES)).astype(np.float32)

    sos = np.vstack([signal.butter(8, 0.4, "low", output="sos"),
                     signal.butter(8, 0.02, "high", output="sos")])
    peer_filter = best_of(lambda: signal.sosfiltfilt(sos, x, axis=-1), repeat)

    def spectrum():
        amax = np.abs(x).max(axis=1)
        return np.abs(np.fft.rfft(x / amax[:, None], n=2048, axis=1)).sum(axis=0)
    peer_spec = best_of(spectrum, repeat)

    f = ours(build + "/bench/bench_filter", repeat)
    s = ours(build + "/bench/bench_spectrum", repeat)

    print("%-58s %10s %10s %7s" % ("case", "ours ms", "peer ms", "ratio"))
    rows = [
        ("band pass, batch runner, 1 thread vs sosfiltfilt", f["BM_BandPassSectionBatch/1/real_time"], peer_filter),
        ("band pass, batch runner, 2 threads vs sosfiltfilt", f["BM_BandPassSectionBatch/2/real_time"], peer_filter),
        ("band pass, per-trace RunFilter, 1 thread vs sosfiltfilt",
         f["BM_BandPassSectionPerTrace/1/real_time"], peer_filter),
        ("band pass, per-trace RunFilter, 2 threads vs sosfiltfilt",
         f["BM_BandPassSectionPerTrace/2/real_time"], peer_filter),
        ("whole spectrum, 1 thread vs rfft + magnitude sum", s["BM_WholeSectionSpectrum/1/real_time"], peer_spec),
        ("whole spectrum, 2 threads vs rfft + magnitude sum", s["BM_WholeSectionSpectrum/2/real_time"], peer_spec),
    ]
    for name, our_ms, peer_ms in rows:
        print("%-58s %10.1f %10.1f %6.2fx" % (name, our_ms, peer_ms, peer_ms / our_ms))


if __name__ == "__main__":
    main()
