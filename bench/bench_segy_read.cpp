// Reading a large SEG-Y file: Kestrix's load against segyio reading the
// samples alone, and against the physical floor (one read of the whole file
// from the page cache into one preallocated, already touched buffer). The same
// read into an untouched buffer shows what taking fresh memory costs: a load
// must take fresh memory for its records, the floor does not.
//
// Generates two files of KX_BENCH_TRACES traces (default 100,000) x
// KX_BENCH_SAMPLES samples (default 1,500) in KX_BENCH_DIR (default /tmp):
// IBM float big-endian and IEEE float little-endian, each about 624 MB at the
// defaults. Every measurement runs in its own child process, so that each
// peak resident size (wait4) is its own. Times are the best of KX_BENCH_RUNS
// runs (default 3) with the files in the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "formats/SampleConvert.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
struct Config {
  long traces = 100000;
  int samples = 1500;
  int runs = 3;
  std::string dir = "/tmp";
};

long EnvLong(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v ? std::atol(v) : fallback;
}

// IEEE single to IBM single (truncating): enough for test data.
uint32_t IeeeToIbm(float f) {
  if (f == 0.0f) return 0;
  uint32_t sign = std::signbit(f) ? 0x80000000u : 0;
  double a = std::fabs(static_cast<double>(f));
  int e2 = 0;
  std::frexp(a, &e2);
  int e16 = static_cast<int>(std::ceil(e2 / 4.0));
  double frac = std::ldexp(a, -4 * e16);
  while (frac >= 1.0) frac /= 16.0, ++e16;
  while (frac < 0.0625) frac *= 16.0, --e16;
  uint32_t mant = static_cast<uint32_t>(frac * 16777216.0);
  return sign | (static_cast<uint32_t>(e16 + 64) << 24) | (mant & 0xFFFFFF);
}

bool Generate(const std::string& path, bool ibmBig, const Config& c) {
  struct stat st;
  long long want = 3600LL + c.traces * (240LL + 4LL * c.samples);
  if (stat(path.c_str(), &st) == 0 && st.st_size == want) return true;
  std::printf("generating %s (%.1f MB)\n", path.c_str(), want / 1e6);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::vector<uint8_t> text(3200, 0x40), bin(400, 0);
  bool big = ibmBig;
  StoreWord<int16_t>(bin.data() + 16, 2000, big);
  StoreWord<uint16_t>(bin.data() + 20, static_cast<uint16_t>(c.samples), big);
  StoreWord<int16_t>(bin.data() + 24, ibmBig ? 1 : 5, big);
  bin[300] = 1;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fwrite(bin.data(), 1, bin.size(), f);
  std::vector<uint8_t> h(240), s(4 * static_cast<std::size_t>(c.samples));
  for (long i = 0; i < c.traces; ++i) {
    std::fill(h.begin(), h.end(), 0);
    StoreWord<int32_t>(h.data() + 0, static_cast<int32_t>(i + 1), big);
    StoreWord<int32_t>(h.data() + 8, static_cast<int32_t>(1000 + i / 240), big);
    StoreWord<int32_t>(h.data() + 12, static_cast<int32_t>(i % 240 + 1), big);
    StoreWord<int16_t>(h.data() + 28, 1, big);
    StoreWord<int32_t>(h.data() + 36, static_cast<int32_t>((i % 240) * 25 - 3000), big);
    StoreWord<int16_t>(h.data() + 70, -100, big);
    StoreWord<int32_t>(h.data() + 72, static_cast<int32_t>(50000000 + i * 250), big);
    StoreWord<int32_t>(h.data() + 80, static_cast<int32_t>(50000000 + i * 125), big);
    StoreWord<uint16_t>(h.data() + 114, static_cast<uint16_t>(c.samples), big);
    StoreWord<int16_t>(h.data() + 116, 2000, big);
    for (int k = 0; k < c.samples; ++k) {
      float v = static_cast<float>(std::sin(0.01 * k + 0.001 * i) * 1000.0 * std::exp(-0.002 * k));
      uint32_t w = ibmBig ? IeeeToIbm(v) : std::bit_cast<uint32_t>(v);
      StoreWord<uint32_t>(s.data() + 4 * k, w, big);
    }
    std::fwrite(h.data(), 1, h.size(), f);
    std::fwrite(s.data(), 1, s.size(), f);
  }
  return std::fclose(f) == 0;
}

struct Result {
  double seconds = -1.0;
  double peakMiB = 0.0;
  long traces = 0;
};

// Runs fn in a child: fn writes "seconds traces" to the pipe; peak RSS from wait4.
template <typename Fn>
Result InChild(Fn fn) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    double sec = 0.0;
    long n = fn(&sec);
    dprintf(fds[1], "%.9f %ld\n", sec, n);
    _exit(0);
  }
  close(fds[1]);
  char buf[128] = {};
  ssize_t got = read(fds[0], buf, sizeof buf - 1);
  close(fds[0]);
  int status = 0;
  struct rusage ru {};
  wait4(pid, &status, 0, &ru);
  Result r;
  if (got > 0) std::sscanf(buf, "%lf %ld", &r.seconds, &r.traces);
  r.peakMiB = static_cast<double>(ru.ru_maxrss) / 1024.0;
  return r;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One read of the whole file into one buffer; touched: the buffer's pages are
// written before the clock starts, so only the copy is timed.
Result ReadWhole(const std::string& path, bool touched) {
  return InChild([&](double* sec) -> long {
    int fd = open(path.c_str(), O_RDONLY);
    struct stat st;
    fstat(fd, &st);
    std::size_t size = static_cast<std::size_t>(st.st_size);
    char* buf = static_cast<char*>(std::malloc(size));
    if (touched) std::memset(buf, 1, size);
    double t0 = Now();
    std::size_t done = 0;
    while (done < size) {
      ssize_t n = read(fd, buf + done, size - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    *sec = Now() - t0;
    benchmark::DoNotOptimize(buf[size / 2]);
    close(fd);
    return static_cast<long>(done);
  });
}

Result Floor(const std::string& path) {
  return ReadWhole(path, true);
}
Result FreshBuffer(const std::string& path) {
  return ReadWhole(path, false);
}

Result Kestrix(const std::string& path) {
  return InChild([&](double* sec) -> long {
    LogSetThreshold(LogAlways);
    double t0 = Now();
    SeismicSection section;
    LoadParams params;
    LoadFileList(section, {path}, params);
    *sec = Now() - t0;
    return section.Count();
  });
}

Result Segyio(const std::string& path) {
  return InChild([&](double* sec) -> long {
    std::string cmd =
        "/usr/bin/python3 -c \"import segyio, time\n"
        "f = segyio.open('" +
        path + "', ignore_geometry=True, endian='" +
        (path.find("_le") != std::string::npos ? "little" : "big") +
        "')\n"
        "t = time.perf_counter(); d = f.trace.raw[:]; t = time.perf_counter() - t\n"
        "print(t, d.shape[0])\"";
    FILE* p = popen(cmd.c_str(), "r");
    double t = -1.0;
    long n = 0;
    if (p) {
      if (std::fscanf(p, "%lf %ld", &t, &n) != 2) t = -1.0;
      pclose(p);
    }
    *sec = t;
    return n;
  });
}

Result Best(Result (*fn)(const std::string&), const std::string& path, int runs) {
  Result best;
  for (int i = 0; i < runs; ++i) {
    Result r = fn(path);
    if (best.seconds < 0 || (r.seconds >= 0 && r.seconds < best.seconds)) best = r;
    best.peakMiB = std::max(best.peakMiB, r.peakMiB);
  }
  return best;
}

void WarmCache(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY);
  std::vector<char> buf(1 << 20);
  while (read(fd, buf.data(), buf.size()) > 0) {
  }
  close(fd);
}

void Report(const char* label, const std::string& path, const Config& c) {
  WarmCache(path);
  Result floor = Best(Floor, path, c.runs);
  Result fresh = Best(FreshBuffer, path, c.runs);
  Result ours = Best(Kestrix, path, c.runs);
  Result peer = Best(Segyio, path, c.runs);
  double records = static_cast<double>(c.traces) * (448.0 + 4.0 * c.samples) / 1048576.0;
  std::printf("\n%s: %ld traces x %d samples, file %.1f MiB, trace records %.1f MiB\n", label, c.traces,
              c.samples, static_cast<double>(floor.traces) / 1048576.0, records);
  std::printf("  physical floor (one read)   %8.3f s\n", floor.seconds);
  std::printf("  one read, untouched buffer   %8.3f s   (the kernel zeroes every page first)\n",
              fresh.seconds);
  std::printf("  Kestrix load (all headers)  %8.3f s   %ld traces   peak RSS %.1f MiB (%.3fx the records)\n",
              ours.seconds, ours.traces, ours.peakMiB, ours.peakMiB / records);
  std::printf("  segyio trace.raw[:]         %8.3f s   %ld traces\n", peer.seconds, peer.traces);
  std::printf("  Kestrix / segyio            %8.3f\n", ours.seconds / peer.seconds);
  std::printf("  Kestrix / floor             %8.3f\n", ours.seconds / floor.seconds);
  std::printf("  Kestrix / untouched read    %8.3f\n", ours.seconds / fresh.seconds);
}
}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Config c;
  c.traces = EnvLong("KX_BENCH_TRACES", c.traces);
  c.samples = static_cast<int>(EnvLong("KX_BENCH_SAMPLES", c.samples));
  c.runs = static_cast<int>(EnvLong("KX_BENCH_RUNS", c.runs));
  if (const char* d = std::getenv("KX_BENCH_DIR")) c.dir = d;
  std::string ibm = c.dir + "/kx_bench_ibm_be.sgy";
  std::string ieee = c.dir + "/kx_bench_ieee_le.sgy";
  if (!Generate(ibm, true, c) || !Generate(ieee, false, c)) {
    std::fprintf(stderr, "cannot write the benchmark files in %s\n", c.dir.c_str());
    return 1;
  }
  Report("IBM float, big-endian", ibm, c);
  Report("IEEE float, little-endian", ieee, c);
  return 0;
}
