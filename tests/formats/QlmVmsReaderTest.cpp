// Vibration monitor files built byte by byte: versions 2 and 3, the trace
// fields taken from the headers, the dump, every refusal, and truncated and
// bit-flipped files (nothing may be added to the section on failure).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/LoadFileList.h"
#include "formats/QlmVmsReader.h"
#include "formats/ReaderTable.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;

fs::path TempFile(const std::string& name) {
  static const kxtest::TempDir dir("kx_vms");
  return fs::path(dir.Path()) / name;
}

using kxtest::LogCapture;
using kxtest::ReadFileBytes;
using kxtest::WriteFileBytes;

// What a test file holds; the builder lays it out byte by byte.
struct VmsFile {
  uint32_t tag = kVmsTag;
  uint32_t version = 2;
  uint32_t serial = 4711;
  uint32_t rate = 1024;
  uint32_t channels = 3;
  uint32_t seconds = 0;
  uint32_t nanos = 0;
  uint32_t samples = 16;
  uint32_t trigger = 0x200;
  uint32_t preEvent = 256;
  float level = 0.5f;
  double lat = 47.123456789, lon = 8.987654321;
  float alt = 432.5f;
  std::vector<uint32_t> directions = {1, 2, 3};
};

// Sample s of channel k: distinct per channel and time, with a negative peak
// on the last channel so that the peak search is exercised.
float SampleValue(uint32_t s, uint32_t k) {
  float v = static_cast<float>(k + 1) * 100.0f + static_cast<float>(s) * 0.25f;
  return (k == 2 && s == 5) ? -1000.0f : v;
}

std::vector<uint8_t> Build(const VmsFile& f) {
  kxtest::ByteWriter b(false);
  for (uint32_t v : {f.tag, f.version, f.serial, f.rate, f.channels, f.seconds, f.nanos, f.samples, f.trigger,
                     f.preEvent, f.version == 3 ? 100u : 48u})
    b.U32(v);
  b.F32(f.level);
  if (f.version == 3) {
    b.F32(1.5f).F32(2.5f).U32(3).F32(4.25f).F32(12.5f);
    b.F64(f.lat).F64(f.lon).F32(f.alt);
    b.Zeros(12);
  }
  const std::size_t chSize = f.version == 3 ? 96 : 64;
  for (uint32_t k = 0; k < f.channels; ++k) {
    std::size_t start = b.size();
    std::string name = "geophone-" + std::to_string(k) + "-overlong-name";
    b.Text(name.substr(0, 16));  // no terminator in the file
    b.U32(k + 10).U32(k + 20);
    b.U32(k < f.directions.size() ? f.directions[k] : 0);
    b.U32(1).U32(2);
    b.F32(25.4f).F32(1.25f).F32(40.0f);
    b.Zeros(start + chSize - b.size());
  }
  for (uint32_t s = 0; s < f.samples; ++s)
    for (uint32_t k = 0; k < f.channels; ++k) b.F32(SampleValue(s, k));
  return b.Bytes();
}

int Load(SeismicSection& section, const std::vector<uint8_t>& bytes, int32_t flags = kLoadKeepHeaders,
         int32_t fileCount = 1) {
  fs::path p = TempFile("in.vms");
  WriteFileBytes(p, bytes);
  LoadParams params;
  params.flags = flags;
  params.fileCount = fileCount;
  params.loadTag = 77;
  int rc = ReadQlmVms(section, p.string(), params);
  fs::remove(p);
  return rc;
}

TEST(QlmVms, Version2ThreeChannels) {
  VmsFile f;
  SeismicSection section;
  LogCapture log;
  ASSERT_EQ(Load(section, Build(f), kLoadKeepHeaders, 2), 3);
  ASSERT_EQ(section.Count(), 3);
  for (int k = 0; k < 3; ++k) {
    const TraceRecord* t = section.Trace(k);
    EXPECT_EQ(t->NS, 16);
    EXPECT_EQ(t->DIM, 16);
    EXPECT_DOUBLE_EQ(t->DT, 1.0 / 1024);
    EXPECT_DOUBLE_EQ(t->DELAY, -0.25);
    EXPECT_EQ(t->DTID, 4711);
    EXPECT_EQ(t->CHAN, k + 1);
    EXPECT_EQ(t->TRNO, k + 1);
    EXPECT_EQ(t->TRF, 2);
    EXPECT_EQ(t->LTAG, 77);
    EXPECT_EQ(t->CUNIT, 0);  // no coordinates in version 2
    EXPECT_EQ(t->RX, 0.0);
    for (uint32_t s = 0; s < 16; ++s) {
      float want = SampleValue(s, static_cast<uint32_t>(k));
      EXPECT_EQ(std::bit_cast<uint32_t>(t->Samples()[s]), std::bit_cast<uint32_t>(want)) << k << "," << s;
    }
  }
  EXPECT_FLOAT_EQ(section.Trace(0)->AMAX, 100.0f + 15 * 0.25f);
  EXPECT_FLOAT_EQ(section.Trace(2)->AMAX, 1000.0f);
  EXPECT_FLOAT_EQ(section.Trace(2)->TAMAX, static_cast<float>(5.0 / 1024 - 0.25));
  EXPECT_EQ(section.Trace(2)->AMAX0, 1000.0f);
  EXPECT_EQ(section.Summary().maxAmplitude, 1000.0f);
  EXPECT_EQ(section.FixedLength(), 1);
  EXPECT_TRUE(log.Has("trace 2  max |amp|= 1000.00000"));
  EXPECT_TRUE(log.Has("trace 0  max |amp|= 103.75000"));

  // The binary header copy of the first file of a load.
  const uint8_t* b = section.m_binaryHeader;
  EXPECT_EQ(b[300], 2);
  EXPECT_EQ(b[kBfhByteOrderPos], kLittleEndian);
  EXPECT_EQ(b[kBfhFileTypePos], kFileQlmVms);
  EXPECT_EQ(LoadWord<int16_t>(b + 24, !kHostLittleEndian), 5);
  EXPECT_EQ(LoadWord<int16_t>(b + 28, !kHostLittleEndian), 1);
  EXPECT_EQ(LoadWord<uint16_t>(b + 20, !kHostLittleEndian), 16);
  EXPECT_EQ(LoadWord<int32_t>(b + 68, !kHostLittleEndian), 16);
  EXPECT_EQ(LoadWord<int16_t>(b + 16, !kHostLittleEndian), 977);  // 976.5625 rounded
  EXPECT_EQ(std::bit_cast<double>(LoadWord<uint64_t>(b + 72, !kHostLittleEndian)), 976.5625);
}

TEST(QlmVms, LaterFilesKeepTheHeadersAndAppend) {
  VmsFile f;
  SeismicSection section;
  ASSERT_EQ(Load(section, Build(f), kLoadKeepHeaders, 1), 3);
  f.samples = 20;
  f.version = 3;
  ASSERT_EQ(Load(section, Build(f), 0, 2), 3);
  ASSERT_EQ(section.Count(), 6);
  EXPECT_EQ(section.Trace(3)->TRNO, 4);
  EXPECT_EQ(section.Trace(5)->TRF, 2);
  EXPECT_EQ(section.FixedLength(), 0);
  EXPECT_EQ(section.m_binaryHeader[300], 2);  // still the first file's copy
}

TEST(QlmVms, Version3GpsAndSensorDirections) {
  VmsFile f;
  f.version = 3;
  f.channels = 4;
  f.directions = {1, 2, 3, 9};
  SeismicSection section;
  ASSERT_EQ(Load(section, Build(f)), 4);
  const int16_t codes[4] = {14, 13, 12, 0};
  for (int k = 0; k < 4; ++k) {
    const TraceRecord* t = section.Trace(k);
    EXPECT_EQ(t->TRID, codes[k]);
    EXPECT_EQ(t->RX, f.lon);
    EXPECT_EQ(t->RY, f.lat);
    EXPECT_EQ(t->RZ, f.alt);
    EXPECT_EQ(t->CUNIT, 3);
    EXPECT_EQ(t->Samples()[15], SampleValue(15, static_cast<uint32_t>(k)));
  }
  EXPECT_EQ(section.m_binaryHeader[300], 3);
}

TEST(QlmVms, StartTimeInUtc) {
  VmsFile f;
  f.nanos = 500000000;
  SeismicSection section;
  ASSERT_EQ(Load(section, Build(f)), 3);
  const TraceRecord* t = section.Trace(0);
  EXPECT_EQ(t->YEAR, 1970);
  EXPECT_EQ(t->MONTH, 1);
  EXPECT_EQ(t->MDAY, 1);
  EXPECT_EQ(t->DAY, 1);
  EXPECT_EQ(t->HOUR, 0);
  EXPECT_EQ(t->MINUTE, 0);
  EXPECT_EQ(t->SEC, 0);
  EXPECT_EQ(t->NANO, 500000000);

  // 2024-02-29 12:34:56.789 (leap day), and a year-end second.
  VmsStartTime a = VmsConvertStartTime(1709210096u, 789999999u);
  EXPECT_EQ(a.year, 2024);
  EXPECT_EQ(a.month, 2);
  EXPECT_EQ(a.day, 29);
  EXPECT_EQ(a.dayOfYear, 60);
  EXPECT_EQ(a.hour, 12);
  EXPECT_EQ(a.minute, 34);
  EXPECT_EQ(a.second, 56);
  EXPECT_EQ(a.millisecond, 789);
  VmsStartTime b = VmsConvertStartTime(1704067199u, 0);  // 2023-12-31 23:59:59
  EXPECT_EQ(b.year, 2023);
  EXPECT_EQ(b.dayOfYear, 365);
  EXPECT_EQ(b.second, 59);
  // A nanosecond count of two seconds carries into the seconds.
  VmsStartTime c = VmsConvertStartTime(59u, 2000000000u);
  EXPECT_EQ(c.minute, 1);
  EXPECT_EQ(c.second, 1);
  VmsStartTime d = VmsConvertStartTime(0xFFFFFFFFu, 999999999u);  // 2106-02-07 06:28:15
  EXPECT_EQ(d.year, 2106);
  EXPECT_EQ(d.month, 2);
  EXPECT_EQ(d.day, 7);
}

TEST(QlmVms, DumpPrintsHeadersAndLoadsNothing) {
  VmsFile f;
  f.version = 3;
  f.nanos = 500000000;
  SeismicSection section;
  LogCapture log;
  EXPECT_EQ(Load(section, Build(f), 0x12), 0);
  EXPECT_EQ(section.Count(), 0);
  auto lines = log.TextLines();
  auto has = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) != lines.end(); };
  EXPECT_TRUE(has(" QLM VMS   File Header"));
  EXPECT_TRUE(has("tag          : 0x564D5300"));
  EXPECT_TRUE(has("start time   : 01-01-1970    0:00:00.500"));
  EXPECT_TRUE(has("trigger src  : 512 (level)"));
  EXPECT_TRUE(has("trig chan code : 3 (Z)"));
  EXPECT_TRUE(has("GPS lat        : 47.123456789"));
  EXPECT_TRUE(has(" QLM VMS   Channel Header v3"));
  EXPECT_TRUE(has("channel name   : geophone-0-over"));  // 15 characters at most
  EXPECT_TRUE(has("sensor dir     : 2 (Y)"));
  EXPECT_TRUE(has("sensor units   : 2 (mm/s)"));
  EXPECT_TRUE(has("main freq      : 40.00000 Hz (dominant frequency during alarm detect)"));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), " QLM VMS   Channel Header v3"), 3);
}

TEST(QlmVms, CodeNames) {
  EXPECT_STREQ(VmsDirectionName(9), "Sum2");
  EXPECT_STREQ(VmsDirectionName(10), "unk");
  EXPECT_STREQ(VmsSensorTypeName(2), "accel");
  EXPECT_STREQ(VmsSensorTypeName(4), "unk");
  EXPECT_STREQ(VmsUnitsName(6), "in/s");
  EXPECT_STREQ(VmsUnitsName(8), "unk");
  EXPECT_STREQ(VmsTriggerSourceName(0x2000), "DIN4150-3 freq domain");
  EXPECT_STREQ(VmsTriggerSourceName(0x300), "unk");
}

// Each refusal: its message, result 0, and a section left exactly as it was.
TEST(QlmVms, RefusalsAddNothing) {
  struct Case {
    VmsFile file;
    std::string message;
  };
  std::vector<Case> cases;
  auto add = [&](auto change, const std::string& message) {
    VmsFile f;
    change(f);
    cases.push_back({f, message});
  };
  add([](VmsFile& f) { f.channels = 9; }, "ERROR: too many channels (9) in vms file, max is 8");
  add([](VmsFile& f) { f.tag = 0x564D5301; }, "ERROR: not a QLM VMS file");
  add([](VmsFile& f) { f.version = 4; }, "ERROR: unsupported file version 4");
  add([](VmsFile& f) { f.channels = 0; }, "ERROR: empty dataset nchan=0  num_smp=16");
  add([](VmsFile& f) { f.samples = 0; }, "ERROR: empty dataset nchan=3  num_smp=0");
  add([](VmsFile& f) { f.rate = 0; }, "ERROR: invalid sampling rate 0 samples/s");
  SeismicSection section;
  ASSERT_EQ(Load(section, Build(VmsFile{})), 3);
  for (auto& c : cases) {
    LogCapture log;
    EXPECT_EQ(Load(section, Build(c.file)), 0) << c.message;
    EXPECT_TRUE(log.Has(c.message)) << c.message;
    EXPECT_EQ(section.Count(), 3);
  }
  // Sizes the file cannot hold are refused before anything is allocated.
  VmsFile big;
  big.channels = 8;
  big.samples = 0;  // no sample bytes at all; the count is patched in below
  std::vector<uint8_t> head = Build(big);
  head[28] = 0xE0, head[29] = 0xFF, head[30] = 0xFF, head[31] = 0x7F;  // 2,147,483,616 samples
  {
    LogCapture log;
    EXPECT_EQ(Load(section, head), 0);
    EXPECT_TRUE(log.Has("ERROR: only 0/2147483616 samples loaded"));
  }
  head[28] = 0xE1;  // one more than allowed
  {
    LogCapture log;
    EXPECT_EQ(Load(section, head), 0);
    EXPECT_TRUE(log.Has("ERROR: too many samples (2147483617) per channel, max is 2147483616"));
  }
  EXPECT_EQ(section.Count(), 3);
}

TEST(QlmVms, TruncatedFilesAddNothing) {
  VmsFile f;
  f.version = 3;
  const std::vector<uint8_t> whole = Build(f);
  SeismicSection section;
  ASSERT_EQ(Load(section, whole), 3);
  const std::vector<std::pair<std::size_t, std::string>> cuts = {
      {47, "ERROR: failed to load 48-byte file header v2"},
      {99, "ERROR: failed to load 52-byte file header v3"},
      {100 + 96 + 95, "ERROR: failed to load 96-byte channel 2 header"},
      {whole.size() - 1, "ERROR: only 15/16 samples loaded"},
  };
  for (const auto& [cut, message] : cuts) {
    LogCapture log;
    EXPECT_EQ(Load(section, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut))), 0);
    EXPECT_TRUE(log.Has(message)) << message;
  }
  LogSetThreshold(-1);
  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_EQ(Load(section, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut))), 0);
  LogSetThreshold(kLogDefaultThreshold);
  EXPECT_EQ(section.Count(), 3);
  EXPECT_EQ(Load(section, whole, 0, 1), 3);
}

TEST(QlmVms, BitFlippedHeadersNeverCrash) {
  VmsFile f;
  f.version = 3;
  f.samples = 4;
  const std::vector<uint8_t> whole = Build(f);
  const std::size_t headerBytes = 100 + 3 * 96;
  LogSetThreshold(-1);
  SeismicSection section;
  for (std::size_t bit = 0; bit < headerBytes * 8; ++bit) {
    std::vector<uint8_t> b = whole;
    b[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    int before = section.Count();
    int rc = Load(section, b);
    ASSERT_TRUE(rc >= 0 && rc <= kVmsMaxChannels) << bit << " gave " << rc;
    ASSERT_EQ(section.Count(), before + rc);
    if (rc > 0) {
      for (int i = before; i < section.Count(); ++i) ASSERT_LE(section.Trace(i)->NS, section.Trace(i)->DIM);
    }
    if (section.Count() > 1000) section.ClearTraces();
  }
  LogSetThreshold(kLogDefaultThreshold);
}
}  // namespace

namespace {
int RunKxtool(const std::string& arguments, std::string* out) {
  std::string command = std::string(KX_KXTOOL) + " " + arguments + " 2>/dev/null";
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  out->clear();
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out->append(buf, n);
  int status = ::pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A load of a SEG-D file, a refused recording and a good one: only the good
// one adds traces, with its file number and its headers.
TEST(QlmVms, LoadFileListAndDump) {
  EXPECT_EQ(ReaderForFileType(kFileQlmVms), &ReadQlmVms);
  const std::string segd = std::string(KX_TEST_DATA_DIR) + "/segd/seisunix/3stomp_test.segd";
  VmsFile bad;
  bad.channels = 9;
  fs::path badPath = TempFile("bad.vms"), goodPath = TempFile("good.VMS");
  WriteFileBytes(badPath, Build(bad));
  VmsFile good;
  good.version = 3;
  WriteFileBytes(goodPath, Build(good));
  SeismicSection section;
  LoadParams params;
  {
    LogCapture log;
    ASSERT_EQ(LoadFileList(section, {segd, badPath.string(), goodPath.string()}, params), 0);
  }
  ASSERT_EQ(section.Count(), 3);
  EXPECT_EQ(section.Trace(0)->TRF, 3);
  EXPECT_EQ(section.Trace(2)->TRNO, 3);
  EXPECT_EQ(section.m_binaryHeader[kBfhFileTypePos], kFileQlmVms);
  EXPECT_EQ(section.m_binaryHeader[300], 3);
  EXPECT_EQ(params.flags, 0);

  std::string out;
  ASSERT_EQ(RunKxtool("dump " + goodPath.string(), &out), 0);
  EXPECT_NE(out.find(" QLM VMS   File Header\n"), std::string::npos) << out;
  EXPECT_NE(out.find("GPS long       : 8.987654321\n"), std::string::npos);
  EXPECT_NE(out.find("sensor dir     : 3 (Z)\n"), std::string::npos);
  fs::remove(badPath);
  fs::remove(goodPath);
}
}  // namespace
