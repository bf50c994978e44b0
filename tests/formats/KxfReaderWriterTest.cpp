// Native KXF files: the reader's rules (empty file, DIM below 2, cut-short
// last trace, default headers), a byte-exact round trip through the writer,
// the writer's all-or-nothing replacement of its target, and truncated and
// bit-flipped files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "formats/KxfReader.h"
#include "formats/KxfWriter.h"
#include "formats/LoadFileList.h"
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
  static const kxtest::TempDir dir("kx_kxf");
  return fs::path(dir.Path()) / name;
}

using kxtest::LogCapture;
using kxtest::ReadFileBytes;
using kxtest::WriteFileBytes;

// A trace whose every header byte is random (DIM and NS kept consistent) and
// whose samples, the unused slots too, are random bit patterns.
TraceRecord* RandomTrace(std::mt19937& rng, int32_t ns) {
  TraceRecord* t = TraceRecord::Allocate(ns);
  auto* bytes = reinterpret_cast<uint8_t*>(t);
  const std::size_t total = TraceRecord::AllocationSize(ns);
  for (std::size_t i = 0; i < total; ++i) bytes[i] = static_cast<uint8_t>(rng());
  t->DIM = ns < 2 ? 2 : ns;
  t->NS = ns;
  // The reader refuses impossible timing; random bits would often be that.
  t->DT = 1e-6 * static_cast<double>(1 + rng() % 100000);
  t->DELAY = 1e-3 * (static_cast<double>(rng() % 20001) - 10000.0);
  return t;
}

void FillSection(SeismicSection& s, int count, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < count; ++i) {
    TraceRecord* t = RandomTrace(rng, static_cast<int32_t>(rng() % 40));
    // Appended as the reader appends: no stamping, every field stays random.
    ASSERT_EQ(s.AppendAsRead(t), 0);
  }
}

std::vector<uint8_t> RecordBytes(int32_t dim, int32_t ns, const std::vector<float>& samples) {
  kxtest::ByteWriter b(false);
  b.Zeros(kTraceHeaderBytes);
  b.PutAt<int32_t>(1, dim);
  b.PutAt<int32_t>(5, ns);
  b.PutAt<double>(9, 0.002);  // DT
  b.PutAt<int32_t>(281, 9);   // TRF as stored
  for (float v : samples) b.F32(v);
  return b.Bytes();
}

int Load(SeismicSection& section, const fs::path& p, int32_t flags = kLoadKeepHeaders) {
  LoadParams params;
  params.flags = flags;
  params.fileCount = 3;
  params.loadTag = 55;
  return ReadKxf(section, p.string(), params);
}

TEST(Kxf, EmptyFileLoadsNothingQuietly) {
  fs::path p = TempFile("empty.kxf");
  WriteFileBytes(p, {});
  SeismicSection section;
  LogCapture log;
  EXPECT_EQ(Load(section, p), 0);
  EXPECT_EQ(section.Count(), 0);
  EXPECT_EQ(log.Text().find("ERROR"), std::string::npos);
  fs::remove(p);
}

TEST(Kxf, DimOneHasTwoSampleSlotsAndDefaultHeaders) {
  std::vector<uint8_t> file = RecordBytes(1, 1, {3.5f, -1.0f});
  std::vector<uint8_t> second = RecordBytes(3, 3, {1.0f, 2.0f, 4.0f});
  file.insert(file.end(), second.begin(), second.end());
  fs::path p = TempFile("dim1.kxf");
  WriteFileBytes(p, file);
  SeismicSection section;
  section.m_binaryHeader[10] = 0xAA;
  std::memset(section.m_textualHeader, 'x', sizeof section.m_textualHeader);
  LogCapture log;
  ASSERT_EQ(Load(section, p), 2);
  const TraceRecord* a = section.Trace(0);
  EXPECT_EQ(a->DIM, 2);
  EXPECT_EQ(a->NS, 1);
  EXPECT_EQ(a->Samples()[0], 3.5f);
  EXPECT_EQ(a->Samples()[1], -1.0f);
  EXPECT_EQ(a->TRF, 9);  // as stored, not the file number of the load
  EXPECT_EQ(a->LTAG, 0);
  EXPECT_EQ(section.Trace(1)->Samples()[2], 4.0f);
  EXPECT_EQ(section.FixedLength(), 0);
  std::string text = log.Text();
  EXPECT_NE(text.find("TH.dim=1  TH.ns=1  alloc=2"), std::string::npos);
  EXPECT_NE(text.find("Loading KXF file '" + p.string() + "'"), std::string::npos);

  const uint8_t* b = section.m_binaryHeader;
  EXPECT_EQ(b[10], 0);
  EXPECT_EQ(LoadWord<int16_t>(b + 24, !kHostLittleEndian), 5);
  EXPECT_EQ(b[300], 1);
  EXPECT_EQ(b[kBfhByteOrderPos], 1);
  EXPECT_EQ(b[kBfhFileTypePos], kFileKxf);
  EXPECT_EQ(std::string(section.m_textualHeader, 3), "C01");
  EXPECT_EQ(std::string(section.m_textualHeader + 38 * 80, 14), "C39 SEG Y REV1");
  EXPECT_EQ(std::string(section.m_textualHeader + 39 * 80, 22), "C40 END TEXTUAL HEADER");

  // Without the header flag the section's headers stay as they were.
  section.m_binaryHeader[10] = 0xAA;
  EXPECT_EQ(Load(section, p, 0), 2);
  EXPECT_EQ(section.m_binaryHeader[10], 0xAA);
  EXPECT_EQ(section.Trace(3)->TRNO, 0);  // stored value, not the position
  fs::remove(p);
}

TEST(Kxf, CutShortLastTraceIsDroppedSilently) {
  SeismicSection out;
  FillSection(out, 3, 7);
  fs::path p = TempFile("cut.kxf");
  ASSERT_EQ(WriteKxf(out, p), 0);
  std::vector<uint8_t> whole = ReadFileBytes(p);
  std::size_t third = whole.size() - (kTraceHeaderBytes + 4 * static_cast<std::size_t>(out.Trace(2)->DIM));
  for (std::size_t cut :
       {third + 1, third + kTraceHeaderBytes, third + kTraceHeaderBytes + 3, whole.size() - 1}) {
    WriteFileBytes(p, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)));
    SeismicSection in;
    LogCapture log;
    EXPECT_EQ(Load(in, p), 2) << cut;
    EXPECT_EQ(log.Text().find("ERROR"), std::string::npos) << cut;
  }
  fs::remove(p);
}

TEST(Kxf, RoundTripKeepsEveryByteOfEveryTrace) {
  SeismicSection out;
  FillSection(out, 257, 12345);
  fs::path p = TempFile("round.kxf");
  ASSERT_EQ(WriteKxf(out, p), 0);
  SeismicSection in;
  LogSetThreshold(0);  // one log line per trace
  ASSERT_EQ(Load(in, p), 257);
  LogSetThreshold(kLogDefaultThreshold);
  for (int i = 0; i < 257; ++i) {
    const TraceRecord* a = out.Trace(i);
    const TraceRecord* b = in.Trace(i);
    ASSERT_EQ(a->DIM, b->DIM);
    ASSERT_EQ(std::memcmp(a, b, TraceRecord::AllocationSize(a->DIM)), 0) << "trace " << i;
  }
  // And the file written again from what was read is the same file.
  fs::path q = TempFile("round2.kxf");
  ASSERT_EQ(WriteKxf(in, q), 0);
  EXPECT_EQ(ReadFileBytes(p), ReadFileBytes(q));
  fs::remove(p);
  fs::remove(q);
}

// Files in a folder other than the expected ones: leftovers of the temporary file.
std::vector<std::string> FolderListing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(KxfWriter, FailedWriteLeavesTargetUntouchedAndNoPartialFile) {
  fs::path folder = TempFile("wdir");
  fs::create_directories(folder);
  fs::path target = folder / "out.kxf";
  WriteFileBytes(target, {'o', 'l', 'd'});
  ::chmod(target.c_str(), 0640);
  SeismicSection section;
  FillSection(section, 40, 3);
  for (int i = 0; i < 40; ++i) section.Trace(i)->NS = 0;
  // A file size limit makes the writes fail part way (EFBIG), even for root.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  int rc;
  {
    LogCapture log;
    rc = WriteKxf(section, target);
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(rc, -100);
  EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"out.kxf"});

  // A successful write replaces the file and keeps its permissions.
  ASSERT_EQ(WriteKxf(section, target), 0);
  EXPECT_EQ(FolderListing(folder), std::vector<std::string>{"out.kxf"});
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  SeismicSection back;
  LogSetThreshold(0);
  EXPECT_EQ(Load(back, target), 40);
  LogSetThreshold(kLogDefaultThreshold);

  // A folder that does not exist: -101 and nothing created.
  EXPECT_EQ(WriteKxf(section, folder / "missing" / "x.kxf"), -101);
  EXPECT_FALSE(fs::exists(folder / "missing"));
  fs::remove_all(folder);
}

TEST(Kxf, TruncatedAndBitFlippedFilesNeverCrash) {
  SeismicSection out;
  FillSection(out, 3, 99);
  for (int i = 0; i < 3; ++i) out.Trace(i)->NS = std::min(out.Trace(i)->NS, 5);
  fs::path p = TempFile("fuzz.kxf");
  ASSERT_EQ(WriteKxf(out, p), 0);
  const std::vector<uint8_t> whole = ReadFileBytes(p);
  LogSetThreshold(-1);
  for (std::size_t cut = 0; cut < whole.size(); cut += 3) {
    WriteFileBytes(p, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)));
    SeismicSection in;
    int rc = Load(in, p);
    ASSERT_TRUE(rc >= 0 && rc < 3) << cut;
  }
  // Every bit of the first record, and the DIM/NS words of the others.
  std::vector<std::size_t> bits;
  for (std::size_t bit = 0; bit < kTraceHeaderBytes * 8; ++bit) bits.push_back(bit);
  std::size_t second = kTraceHeaderBytes + 4 * static_cast<std::size_t>(out.Trace(0)->DIM);
  for (std::size_t bit = 0; bit < 64; ++bit) bits.push_back(second * 8 + bit);
  for (std::size_t bit : bits) {
    std::vector<uint8_t> b = whole;
    b[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    WriteFileBytes(p, b);
    SeismicSection in;
    int rc = Load(in, p);
    ASSERT_TRUE(rc >= 0 && rc <= 3) << bit;
    for (int i = 0; i < in.Count(); ++i) {
      ASSERT_GE(in.Trace(i)->NS, 0);
      ASSERT_LE(in.Trace(i)->NS, in.Trace(i)->DIM);
    }
  }
  LogSetThreshold(kLogDefaultThreshold);
  fs::remove(p);
}
}  // namespace

namespace {
int RunKxtool(const std::string& arguments) {
  std::string command = std::string(KX_KXTOOL) + " " + arguments + " >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// SEG-Y in, KXF out, KXF back in: the second file is the first byte for byte,
// and the traces are those of the SEG-Y load.
TEST(KxfConvert, CommandLineRoundTrip) {
  EXPECT_EQ(ReaderForFileType(kFileKxf), &ReadKxf);
  const std::string sgy = std::string(KX_TEST_DATA_DIR) + "/segy/segyio/small.sgy";
  fs::path a = TempFile("conv_a.kxf"), b = TempFile("conv_b.KXF");
  ASSERT_EQ(RunKxtool("convert " + sgy + " -o " + a.string()), 0);
  ASSERT_EQ(RunKxtool("convert " + a.string() + " --output=" + b.string()), 0);
  EXPECT_EQ(ReadFileBytes(a), ReadFileBytes(b));

  SeismicSection fromSegy, fromKxf;
  LoadParams p1, p2;
  LogSetThreshold(0);
  ASSERT_EQ(LoadFileList(fromSegy, {sgy}, p1), 0);
  ASSERT_EQ(LoadFileList(fromKxf, {b.string()}, p2), 0);
  LogSetThreshold(kLogDefaultThreshold);
  ASSERT_EQ(fromKxf.Count(), 25);
  ASSERT_EQ(fromSegy.Count(), 25);
  for (int i = 0; i < 25; ++i) {
    const TraceRecord* x = fromSegy.Trace(i);
    ASSERT_EQ(std::memcmp(x, fromKxf.Trace(i), TraceRecord::AllocationSize(x->DIM)), 0) << i;
  }
  EXPECT_EQ(fromKxf.FileType(), kFileKxf);

  // No writer for the extension, or no input: nothing is written.
  fs::path c = TempFile("conv_c.xyz");
  EXPECT_EQ(RunKxtool("convert " + sgy + " -o " + c.string()), 2);
  EXPECT_FALSE(fs::exists(c));
  EXPECT_EQ(RunKxtool("convert -o " + c.string()), 2);
  EXPECT_EQ(RunKxtool("convert " + sgy), 2);
  fs::remove(a);
  fs::remove(b);
}
}  // namespace
