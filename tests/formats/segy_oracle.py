"""Reference values for the SEG-Y reader tests, from segyio.

  make PATH FORMAT ENDIAN NTRACES NS   write a file with segyio (headers and samples from a fixed seed)
  read PATH ENDIAN                      print what segyio reads from a file
  expected JSON                         flatten a reference file of the shared test data
  ibm PATH FIRST N NS STRIDE SKIP ENDIAN decode N traces of IBM floats at FIRST + i*STRIDE + SKIP
                                        (for files segyio cannot open; struct-level, no segyio)

Output lines are "key value..." with numbers as Python reprs of doubles.
"""
import json
import sys

import numpy as np

HEADER_KEYS = [
    ("FLDR", 9), ("CHAN", 13), ("OFF", 37), ("SX", 73), ("SY", 77), ("GX", 81), ("GY", 85),
    ("SCALCO", 71), ("CDPX", 181), ("CDPY", 185), ("ILINE", 189), ("XLINE", 193), ("DELRT", 109),
    ("TRID", 29), ("CDP", 21), ("YEAR", 157), ("DAY", 159),
]


def samples_for(fmt, rng, ns):
    if fmt == 2:
        return rng.integers(-2**31, 2**31 - 1, ns).astype(np.float64)
    if fmt == 3:
        return rng.integers(-32768, 32767, ns).astype(np.float64)
    if fmt == 8:
        return rng.integers(-128, 127, ns).astype(np.float64)
    return (rng.standard_normal(ns) * 10.0 ** rng.integers(-6, 7)).astype(np.float32)


def make(path, fmt, endian, ntraces, ns):
    import segyio
    rng = np.random.default_rng(1234 + fmt)
    layout = segyio.spec()
    layout.format = fmt
    layout.samples = list(range(ns))
    layout.tracecount = ntraces
    layout.endian = endian
    with segyio.create(path, layout) as f:
        f.bin.update({segyio.BinField.Interval: 2000, segyio.BinField.Samples: ns})
        for i in range(ntraces):
            f.header[i] = {
                segyio.TraceField.FieldRecord: 100 + i // 7,
                segyio.TraceField.TraceNumber: i % 7 + 1,
                segyio.TraceField.offset: int(rng.integers(-5000, 5000)),
                segyio.TraceField.SourceGroupScalar: -100,
                segyio.TraceField.SourceX: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.SourceY: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.GroupX: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.GroupY: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.CDP_X: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.CDP_Y: int(rng.integers(-10**8, 10**8)),
                segyio.TraceField.INLINE_3D: int(rng.integers(1, 5000)),
                segyio.TraceField.CROSSLINE_3D: int(rng.integers(1, 5000)),
                segyio.TraceField.DelayRecordingTime: int(rng.integers(-100, 1000)),
                segyio.TraceField.TraceIdentificationCode: 1,
                segyio.TraceField.CDP: i + 1,
                segyio.TraceField.YearDataRecorded: 2016,
                segyio.TraceField.DayOfYear: 60,
                segyio.TraceField.TRACE_SAMPLE_COUNT: ns,
                segyio.TraceField.TRACE_SAMPLE_INTERVAL: 2000,
            }
            f.trace[i] = samples_for(fmt, rng, ns).astype(np.float32)


def read(path, endian):
    import segyio
    with segyio.open(path, ignore_geometry=True, endian=endian) as f:
        print("traces", f.tracecount)
        print("ns", len(f.samples))
        print("format", int(f.format))
        for i in range(f.tracecount):
            h = f.header[i]
            print("h%d" % i, " ".join(str(h[k]) for _, k in HEADER_KEYS))
            print("s%d" % i, " ".join(repr(float(v)) for v in f.trace[i]))


def expected(path):
    d = json.load(open(path))
    src = d["own_decoder"] if d.get("segyio_values_unreliable") else d
    print("traces", src.get("trace_count", d["trace_count"]))
    print("ns", d["samples_per_trace"])
    print("format", d["format_code"])
    print("big", 1 if d["byte_order"] == "big" else 0)
    print("first5", " ".join(repr(float(v)) for v in src["first_trace_first5"]))
    print("last5", " ".join(repr(float(v)) for v in src["last_trace_first5"]))
    if not d.get("segyio_values_unreliable"):
        print("first_sum", repr(float(d["first_trace_sum"])))
        print("first_absmax", repr(float(d["first_trace_absmax"])))
    for i, h in enumerate(src["trace_headers_first3"]):
        print("h%d" % i, h["FieldRecord"], h["TraceNumber"], h["offset"], h["SourceX"], h["SourceY"],
              h["GroupX"], h["GroupY"], h["SourceGroupScalar"], h["TraceIdentificationCode"],
              h["DelayRecordingTime"])


def ibm(path, first, ntraces, ns, stride, skip, endian):
    data = open(path, "rb").read()
    dtype = ">u4" if endian == "big" else "<u4"
    print("traces", ntraces)
    for i in range(ntraces):
        at = first + i * stride + skip
        w = np.frombuffer(data[at:at + 4 * ns], dtype=dtype).astype(np.int64)
        sign = np.where(w >> 31, -1.0, 1.0)
        exponent = ((w >> 24) & 0x7F) - 64
        value = sign * ((w & 0xFFFFFF) / 2.0**24) * np.power(16.0, exponent)
        print("s%d" % i, " ".join(repr(float(v)) for v in value))


if __name__ == "__main__":
    cmd = sys.argv[1]
    if cmd == "make":
        make(sys.argv[2], int(sys.argv[3]), sys.argv[4], int(sys.argv[5]), int(sys.argv[6]))
    elif cmd == "read":
        read(sys.argv[2], sys.argv[3])
    elif cmd == "expected":
        expected(sys.argv[2])
    elif cmd == "ibm":
        ibm(sys.argv[2], *(int(v) for v in sys.argv[3:8]), sys.argv[8])
