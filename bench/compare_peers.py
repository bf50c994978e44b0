#!/usr/bin/python3
"""Runs our filter and spectrum benchmarks next to their scipy/numpy peers on
the same 10,000 x 2,000 float32 section and prints the ratios.

Usage: bench/compare_peers.py BUILD_DIR [--repeat N]

Both sides are timed in the same run, on the same machine state: our numbers
come from the Google Benchmark binaries, the peers' from time.perf_counter and
time.process_time, each the minimum over the repetitions. Wall-clock ratios are
the ones that count on a quiet machine; on a busy one the single-thread CPU-time
ratio is the steadier figure (it is not shown for two threads, where Google
Benchmark counts the main thread's CPU only).
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
    """{name: (wall ms, cpu ms)}, minimum over the repetitions."""
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_repetitions=%d" % repeat],
                         check=True, capture_output=True, text=True).stdout
    best = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        unit = {"ms": 1.0, "us": 1e-3, "ns": 1e-6, "s": 1e3}[b["time_unit"]]
        wall, cpu = b["real_time"] * unit, b["cpu_time"] * unit
        old = best.get(b["run_name"], (wall, cpu))
        best[b["run_name"]] = (min(old[0], wall), min(old[1], cpu))
    return best


def best_of(fn, repeat):
    walls, cpus = [], []
    for _ in range(repeat):
        w, c = time.perf_counter(), time.process_time()
        fn()
        walls.append((time.perf_counter() - w) * 1e3)
        cpus.append((time.process_time() - c) * 1e3)
    return min(walls), min(cpus)


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

    print("%-58s %9s %9s %7s %9s %9s %7s" % ("case", "ours ms", "peer ms", "ratio",
                                             "ours cpu", "peer cpu", "ratio"))
    rows = [
        ("band pass, batch runner, 1 thread vs sosfiltfilt", f["BM_BandPassSectionBatch/1/real_time"],
         peer_filter, True),
        ("band pass, batch runner, 2 threads vs sosfiltfilt", f["BM_BandPassSectionBatch/2/real_time"],
         peer_filter, False),
        ("band pass, per-trace RunFilter, 1 thread vs sosfiltfilt",
         f["BM_BandPassSectionPerTrace/1/real_time"], peer_filter, True),
        ("band pass, per-trace RunFilter, 2 threads vs sosfiltfilt",
         f["BM_BandPassSectionPerTrace/2/real_time"], peer_filter, False),
        ("whole spectrum, 1 thread vs rfft + magnitude sum", s["BM_WholeSectionSpectrum/1/real_time"],
         peer_spec, True),
        ("whole spectrum, 2 threads vs rfft + magnitude sum", s["BM_WholeSectionSpectrum/2/real_time"],
         peer_spec, False),
    ]
    for name, (our_ms, our_cpu), (peer_ms, peer_cpu), single in rows:
        line = "%-58s %9.1f %9.1f %6.2fx" % (name, our_ms, peer_ms, peer_ms / our_ms)
        if single:
            line += " %9.1f %9.1f %6.2fx" % (our_cpu, peer_cpu, peer_cpu / our_cpu)
        print(line)


if __name__ == "__main__":
    main()
