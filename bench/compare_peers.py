#!/usr/bin/python3
"""Runs our filter and spectrum benchmarks next to their scipy/numpy peers on
the same 10,000 x 2,000 float32 section and prints the ratios.

Usage: bench/compare_peers.py BUILD_DIR [--repeat N] [--process-only]

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
  process:  the whole process on one SEG-Y file of the same size (2 ms):
            `kxtool convert --filter bandpass:butterworth:8:5:100` against
            segyio reading, sosfiltfilt with the same sections and segyio
            writing, run alternately; the two outputs must agree in the middle
            fifth of every trace (near the ends sosfiltfilt's padding differs
            by design).
            Skipped without segyio or without BUILD_DIR/src/cli/kxtool.
  redraw:   one redraw of the trace view (1920 x 1080, wiggles, 1 and 2
            threads) scrolled by a page onto traces never filtered, with the
            display filter on (bench_filtered_redraw: the filtering of the
            page's traces of 2000 samples and the drawing), against
            sosfiltfilt of as many traces alone (the page's count, 368).
Ratio = peer time / our time: above 1 means we are faster.
"""
import json
import os
import subprocess
import sys
import tempfile
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


def write_segy(path, data, dt_us=2000):
    import segyio
    layout = segyio.spec()
    layout.format, layout.samples, layout.tracecount = 5, list(range(data.shape[1])), data.shape[0]
    with segyio.create(path, layout) as f:
        f.bin.update(hdt=dt_us, hns=data.shape[1])
        for i in range(data.shape[0]):
            f.header[i] = {segyio.TraceField.TRACE_SEQUENCE_LINE: i + 1,
                           segyio.TraceField.TRACE_SAMPLE_INTERVAL: dt_us,
                           segyio.TraceField.TRACE_SAMPLE_COUNT: data.shape[1]}
        f.trace.raw[:] = data


def peer_process(src, dst, sos):
    """What a user would script: read, filter every trace, write."""
    import segyio
    with segyio.open(src, ignore_geometry=True) as f:
        data = f.trace.raw[:]
        layout = segyio.tools.metadata(f)
        headers = [dict(h) for h in f.header]
        text, binary = f.text[0], dict(f.bin)
    out = signal.sosfiltfilt(sos, data, axis=-1).astype(np.float32)
    with segyio.create(dst, layout) as g:
        g.text[0] = text
        g.bin.update(binary)
        for i, h in enumerate(headers):
            g.header[i] = h
        g.trace.raw[:] = out


def process_rows(build, x, sos, repeat):
    """Whole-process rows: [(name, ours (wall, cpu), peer (wall, cpu), single)]."""
    kxtool = os.path.join(build, "src/cli/kxtool")
    try:
        import segyio
    except ImportError:
        print("process rows skipped: no segyio")
        return []
    if not os.access(kxtool, os.X_OK):
        print("process rows skipped: no", kxtool)
        return []
    rows = []
    with tempfile.TemporaryDirectory() as tmp:
        src, ours_out, peer_out = (os.path.join(tmp, n) for n in ("in.sgy", "ours.sgy", "peer.sgy"))
        write_segy(src, x)

        def run_ours(threads):
            subprocess.run([kxtool, "convert", src, "-o", ours_out, "--format", "segy", "--filter",
                            "bandpass:butterworth:8:5:100", "--threads", str(threads)],
                           check=True, capture_output=True)

        def child_cpu(fn):
            before = os.times()
            fn()
            after = os.times()
            return (after.children_user + after.children_system
                    - before.children_user - before.children_system) * 1e3

        times = {"1": [], "2": [], "peer": []}
        for _ in range(repeat):  # alternating, so both see the same machine state
            for key in ("1", "2", "peer"):
                w = time.perf_counter()
                if key == "peer":
                    c = time.process_time()
                    peer_process(src, peer_out, sos)
                    cpu = (time.process_time() - c) * 1e3
                else:
                    cpu = child_cpu(lambda: run_ours(int(key)))
                times[key].append(((time.perf_counter() - w) * 1e3, cpu))
        with segyio.open(ours_out, ignore_geometry=True) as f:
            a = f.trace.raw[:]
        with segyio.open(peer_out, ignore_geometry=True) as f:
            b = f.trace.raw[:]
        # The end transients of the 5 Hz high pass (zero state here, sosfiltfilt's
        # padded start there) last about 800 samples at 2 ms: compare the middle fifth.
        mid = slice(2 * SAMPLES // 5, 3 * SAMPLES // 5)
        err = np.abs(a[:, mid] - b[:, mid]).max() / np.abs(b[:, mid]).max()
        print("process: ours and peer agree in the middle fifth of every trace within %.2e of the peak" % err)
        if err > 1e-4:
            raise SystemExit("process outputs disagree")
        best = {k: (min(t[0] for t in v), min(t[1] for t in v)) for k, v in times.items()}
        rows.append(("process: kxtool convert --filter, 1 thread vs segyio+sosfiltfilt", best["1"],
                     best["peer"], True))
        rows.append(("process: kxtool convert --filter, 2 threads vs segyio+sosfiltfilt", best["2"],
                     best["peer"], False))
    return rows


def kernel_rows(build, x, sos, repeat):
    """The kernel rows: our benchmark binaries against the peers in memory."""
    peer_filter = best_of(lambda: signal.sosfiltfilt(sos, x, axis=-1), repeat)

    def spectrum():
        amax = np.abs(x).max(axis=1)
        return np.abs(np.fft.rfft(x / amax[:, None], n=2048, axis=1)).sum(axis=0)
    peer_spec = best_of(spectrum, repeat)

    f = ours(build + "/bench/bench_filter", repeat)
    s = ours(build + "/bench/bench_spectrum", repeat)

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
    return rows


def redraw_rows(build, x, sos, repeat):
    """A filtered redraw against filtering its page's traces in the peer."""
    binary = build + "/bench/bench_filtered_redraw"
    if not os.path.exists(binary):
        print("redraw row skipped: no", binary)
        return []
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_repetitions=%d" % repeat,
                          "--benchmark_filter=ScrollByPage/mode:2/threads:[12]/kind:1"],
                         check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    page = x[:int(runs[0]["traces_per_page"])]
    peer = best_of(lambda: signal.sosfiltfilt(sos, page, axis=-1), repeat)
    rows = []
    for threads, single in (("1", True), ("2", False)):
        mine = [b for b in runs if "/threads:%s/" % threads in b["name"]]
        rows.append(("redraw: filtered wiggle page, %s thread%s vs sosfiltfilt of its %d traces"
                     % (threads, "" if threads == "1" else "s", page.shape[0]),
                     (min(b["real_time"] for b in mine), min(b["cpu_time"] for b in mine)), peer, single))
    return rows


def main():
    build = sys.argv[1]
    # The machine's load while we run: the ratios hold up under load, the absolute times do not.
    print("load average at start: %.2f %.2f %.2f" % os.getloadavg())
    repeat = int(sys.argv[sys.argv.index("--repeat") + 1]) if "--repeat" in sys.argv else 3
    rng = np.random.default_rng(42)
    x = rng.standard_normal((TRACES, SAMPLES)).astype(np.float32)

    sos = np.vstack([signal.butter(8, 0.4, "low", output="sos"),
                     signal.butter(8, 0.02, "high", output="sos")])
    if "--process-only" in sys.argv:
        rows = []
    else:
        rows = kernel_rows(build, x, sos, repeat)
    rows += process_rows(build, x, sos, repeat)
    if "--process-only" not in sys.argv:
        rows += redraw_rows(build, x, sos, repeat)
    print("%-74s %9s %9s %7s %9s %9s %7s" % ("case", "ours ms", "peer ms", "ratio",
                                             "ours cpu", "peer cpu", "ratio"))
    for name, (our_ms, our_cpu), (peer_ms, peer_cpu), single in rows:
        line = "%-74s %9.1f %9.1f %6.2fx" % (name, our_ms, peer_ms, peer_ms / our_ms)
        if single:
            line += " %9.1f %9.1f %6.2fx" % (our_cpu, peer_cpu, peer_cpu / our_cpu)
        print(line)
    print("load average at end: %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    main()
