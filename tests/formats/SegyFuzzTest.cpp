// Truncated and bit-flipped copies of real files through every SEG-Y and SU
// entry point. Run under the sanitizer build it also proves there is no
// memory error and no leak; there, every allocation is watched and none may
// be larger than a few times the file.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "SegyTestUtil.h"
#include "formats/DetectFileType.h"
#include "formats/DumpHeaders.h"
#include "formats/HeaderScan.h"
#include "formats/LoadFileList.h"
#include "formats/SegyReader.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface (its header is not installed with GCC).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));
#define KX_WATCH_ALLOCATIONS 1
#endif

namespace {
std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

#ifdef KX_WATCH_ALLOCATIONS
void OnMalloc(const volatile void*, std::size_t size) {
  if (!g_watching.load(std::memory_order_relaxed)) return;
  std::size_t cur = g_largest.load(std::memory_order_relaxed);
  while (size > cur && !g_largest.compare_exchange_weak(cur, size)) {
  }
}
void OnFree(const volatile void*) {}
#endif

struct QuietLog {
  int saved = LogGetThreshold();
  QuietLog() { LogSetThreshold(-1); }
  ~QuietLog() { LogSetThreshold(saved); }
};

void Exercise(const std::string& path, bool su) {
  {
    SeismicSection s;
    LoadParams p;
    p.flags = kLoadKeepHeaders | 3;
    p.fileCount = 1;
    int n = su ? ReadSuFile(s, path, p) : ReadSegyFile(s, path, p);
    ASSERT_EQ(n > 0 ? n : 0, s.Count());
    for (int i = 0; i < s.Count(); ++i) ASSERT_GE(s.Trace(i)->NS, 1);
    if (n > 0) s.Scan();
  }
  {
    SeismicSection s;
    LoadParams p;
    ASSERT_EQ(LoadFileList(s, {path}, p), 0);
  }
  DumpHeadersFile(path, 0x33, 1, 4);
  SeismicSection scan(2);
  HeaderScanParams hp;
  hp.path = path;
  hp.flags = kScanRecordOffsets;
  ReadHeadersOnly(scan, hp, su ? 2 : 1);
}

std::vector<uint8_t> Variant(const std::vector<uint8_t>& seed, std::mt19937& rng) {
  std::vector<uint8_t> v = seed;
  if (rng() % 2 == 0) {
    v.resize(rng() % (seed.size() + 1));
    return v;
  }
  int flips = 1 + static_cast<int>(rng() % 16);
  for (int i = 0; i < flips; ++i) {
    // Mostly headers: the file headers and the first trace headers.
    std::size_t span = rng() % 4 == 0 ? v.size() : std::min<std::size_t>(v.size(), 4400);
    std::size_t at = rng() % span;
    v[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
  }
  if (rng() % 8 == 0) v.resize(rng() % (v.size() + 1));
  return v;
}

// A revision 2 file with a variable set of extended headers and trace header
// extensions, so that the mutations reach those paths too.
std::vector<uint8_t> Rev2Seed() {
  segytest::SegyBuilder b(true);
  b.Revision(2, 0);
  b.Bin32(97, 0x01020304);
  b.Bin16(305, -1);
  b.Bin32(307, 2);
  b.Bin16(17, 1000);
  b.Bin16(21, 6);
  b.AddExtText("C01 extra");
  b.AddExtText("((SEG: EndText))");
  for (int i = 0; i < 5; ++i) {
    int t = b.AddTrace(6, 1000, {1, 2, 3, 4, 5, float(i)});
    kxtest::ByteWriter ext = b.Words(480);
    ext.PutAt<uint16_t>(157, 2);
    ext.PutAt<uint32_t>(137, 6);
    b.TraceExtra(t, ext);
  }
  return b.Segy();
}
}  // namespace

TEST(SegyFuzz, DamagedFilesNeverCrashHangLeakOrOverAllocate) {
#ifdef KX_WATCH_ALLOCATIONS
  static bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
  ASSERT_TRUE(installed);
#endif
  struct Seed {
    std::vector<uint8_t> bytes;
    bool su;
  };
  std::vector<Seed> seeds;
  for (const char* rel : {"segy/segyio/small.sgy", "segy/segyio/small-lsb.sgy", "segy/segyio/Format2msb.sgy",
                          "segy/segyio/f3.sgy", "segy/obspy/00001034.sgy_first_trace",
                          "segy/obspy/example.y_first_trace", "segy/segyio/stanzas-unknown-count.sgy"}) {
    seeds.push_back({kxtest::ReadFileBytes(segytest::DataPath(rel)), false});
  }
  seeds.push_back({kxtest::ReadFileBytes(segytest::DataPath("su/segyio/small.su")), true});
  seeds.push_back({kxtest::ReadFileBytes(segytest::DataPath("su/obspy/1.su_first_trace")), true});
  seeds.push_back({Rev2Seed(), false});
  std::mt19937 rng(20261208);
  QuietLog quiet;
  std::size_t largestFile = 0;
  int variants = 0;
  for (const Seed& seed : seeds) {
    ASSERT_FALSE(seed.bytes.empty());
    largestFile = std::max(largestFile, seed.bytes.size());
    for (int k = 0; k < 320; ++k) {
      std::vector<uint8_t> v = Variant(seed.bytes, rng);
      // A fresh file each time: rewriting a truncated one makes some file systems flush it.
      std::filesystem::remove(segytest::SharedDir() / (seed.su ? "fuzz.su" : "fuzz.sgy"));
      std::string path = segytest::WriteTemp(seed.su ? "fuzz.su" : "fuzz.sgy", v);
      g_watching = true;
      Exercise(path, seed.su);
      g_watching = false;
      ++variants;
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_EQ(variants, 3200);
#ifdef KX_WATCH_ALLOCATIONS
  // Trace records, the trace list and stream buffers: nothing near a garbage size.
  EXPECT_GT(g_largest.load(), 0u) << "the allocation hook saw nothing";
  EXPECT_LE(g_largest.load(), std::max<std::size_t>(4 * largestFile, 1u << 20));
#endif
}
