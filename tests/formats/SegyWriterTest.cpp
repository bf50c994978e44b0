// SEG-Y rev 1 and SU output: the trace header mapping with its scalars and
// rounding, DELRT, the crop window, skipped traces, the written-back binary
// header fields, the section left untouched, and failures that must leave an
// existing file intact and no partial file behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cmath>

#include "SegyWriterTestUtil.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "processing/ActiveFilter.h"
#include "section/ByteOrder.h"
#include "support/LogCapture.h"

using namespace writertest;

namespace {
int32_t BE32(const uint8_t* h, int pos1) {
  return LoadBE<int32_t>(h + pos1 - 1);
}
int16_t BE16(const uint8_t* h, int pos1) {
  return LoadBE<int16_t>(h + pos1 - 1);
}

TEST(SegyWriter, HeaderWordsCarryScalarsAndBiasedRounding) {
  TraceRecord* r = MakeTrace(10, 0.002, 0.0, 3);
  r->FLDR = (int64_t{1} << 32) + 77;  // only the low 32 bits fit
  r->OFF = -12.6f;
  r->SDEP = -2.0f;  // negative values round like positive ones
  r->SSTA = 101.5;
  r->SSTAT = -0.0125f;
  r->TSTAT = 0.004f;
  r->SWLEN = 8.0f;
  r->IGC = 24;
  r->YEAR = 2001, r->DAY = 66, r->HOUR = 10, r->MINUTE = 5, r->SEC = 9;
  uint8_t h[240];
  BuildSegyTraceHeader(*r, 0, true, h);
  EXPECT_EQ(BE32(h, 1), 4);
  EXPECT_EQ(BE32(h, 9), 77);
  EXPECT_EQ(BE32(h, 13), 4);
  EXPECT_EQ(BE32(h, 21), 503);
  EXPECT_EQ(BE32(h, 37), -13);
  EXPECT_EQ(BE16(h, 69), -1000);
  EXPECT_EQ(BE32(h, 41), 11500);
  EXPECT_EQ(BE32(h, 45), 12345);
  EXPECT_EQ(BE32(h, 49), -2000);
  EXPECT_EQ(BE16(h, 71), -100);
  EXPECT_EQ(BE32(h, 73), 100325);
  EXPECT_EQ(BE32(h, 85), 200125);
  EXPECT_EQ(BE32(h, 181), 105050);
  EXPECT_EQ(BE16(h, 99), -12);
  EXPECT_EQ(BE16(h, 103), 4);
  EXPECT_EQ(LoadBE<uint16_t>(h + 116), 2000);
  EXPECT_EQ(BE16(h, 131), 8000);
  EXPECT_EQ(BE16(h, 121), 24);
  EXPECT_EQ(BE16(h, 157), 2001);
  EXPECT_EQ(BE16(h, 165), 9);
  EXPECT_EQ(BE32(h, 197), 10150);
  EXPECT_EQ(BE16(h, 201), -100);
  EXPECT_EQ(BE16(h, 215), 1);
  for (int i = 232; i < 240; ++i) EXPECT_EQ(h[i], 0);

  // Feet, degrees and station numbering change the scalars.
  r->MSYS = r->MSYS0 = 2;
  BuildSegyTraceHeader(*r, kSaveStationNumbering, true, h);
  EXPECT_EQ(BE16(h, 69), -100);
  EXPECT_EQ(BE16(h, 71), -10);
  EXPECT_EQ(BE32(h, 73), 10032);
  EXPECT_EQ(BE32(h, 17), 101);  // EP from the source station
  EXPECT_EQ(BE32(h, 193), 101);
  EXPECT_EQ(BE32(h, 197), 0);  // receiver station, none set
  EXPECT_EQ(BE16(h, 201), 1);
  r->CUNIT = 3;
  BuildSegyTraceHeader(*r, 0, false, h);
  EXPECT_EQ(LoadLE<int16_t>(h + 70), -10000);
  TraceRecord::Free(r);
}

TEST(SegyWriter, DelayWordRoundsAndDropsWhatDoesNotFit) {
  EXPECT_EQ(SegyDelayWord(40.0), 0);
  EXPECT_EQ(SegyDelayWord(-1.2345), -1235);
  EXPECT_EQ(SegyDelayWord(0.0125), 13);
  EXPECT_EQ(SegyDelayWord(-32.7665), -32767);
  EXPECT_EQ(SegyDelayWord(32.767), 0);
}

TEST(SegyWriter, CropWindowKeepsTheWindowAndSkipsOneSampleOrNone) {
  auto s = MakeSection(3, 100, 0.001);
  s->Trace(1)->DELAY = 0.5;   // window entirely before its first sample
  s->Trace(2)->DELAY = 0.03;  // window reduced to one sample
  TempDir dir;
  SaveOptions o;
  o.timeCrop = 1, o.t0 = 0.010, o.t1 = 0.030;
  std::string log =
      kxtest::CaptureLog(LogError, [&] { EXPECT_EQ(SaveAsSegyRev1(*s, dir / "crop.segy", o), 0); });
  EXPECT_NE(log.find("trace 1 skipped: out of specified time range"), std::string::npos);
  EXPECT_NE(log.find("trace 2 skipped: out of specified time range"), std::string::npos);
  auto back = Load({dir / "crop.segy"});
  ASSERT_EQ(back->Count(), 1);
  EXPECT_EQ(back->Trace(0)->NS, 21);
  EXPECT_NEAR(back->Trace(0)->DELAY, 0.010, 1e-9);
  EXPECT_FLOAT_EQ(back->Trace(0)->Samples()[0], s->Trace(0)->Samples()[10]);
  EXPECT_FLOAT_EQ(back->Trace(0)->Samples()[20], s->Trace(0)->Samples()[30]);
  // An end between samples takes the next sample.
  o.t1 = 0.0304;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "crop2.segy", o), 0);
  EXPECT_EQ(Load({dir / "crop2.segy"})->Trace(0)->NS, 22);
}

TEST(SegyWriter, TooLongTracesAreSkippedInSegyAndSu) {
  auto s = MakeSection(3, 50);
  TraceRecord* big = MakeTrace(70000, 0.001, 0.0, 9);
  s->ReplaceTrace(1, TraceRecordPtr(big));
  TempDir dir;
  SaveOptions o;
  std::string log = kxtest::CaptureLog(LogError, [&] {
    EXPECT_EQ(SaveAsSegyRev1(*s, dir / "a.segy", o), 0);
    SaveOptions su;
    EXPECT_EQ(SaveAsSu(*s, dir / "a.su", su), 0);
  });
  std::size_t first = log.find("trace 1 skipped: too many samples (70000), SEG-Y rev 1 max is 65'535");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(log.find("trace 1 skipped: too many samples", first + 1), std::string::npos);
  EXPECT_EQ(Load({dir / "a.segy"})->Count(), 2);
  EXPECT_EQ(ReadFileBytes(dir / "a.su").size(), 2u * (240 + 50 * 4));
}

TEST(SegyWriter, BinaryHeaderTakesTheWrittenTracesAndRevisionOne) {
  auto s = MakeSection(3, 50);
  std::memset(s->m_textualHeader, 'T', 3200);
  uint8_t* bh = s->m_binaryHeader;
  // Trace sorting 2, in native order as the readers leave it.
  kxtest::StoreBytes<int16_t>(bh + 28, 2, kxtest::kHostBigEndian);
  std::memset(bh + 60, 0x5A, 40);  // revision 2 fields that must not survive
  std::memset(bh + 306, 0x5A, 26);
  s->Trace(0)->NS = 40;  // mixed lengths: first written count, not fixed
  TempDir dir;
  SaveOptions o;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "b.segy", o), 0);
  EXPECT_EQ(o.fixedLength, 0);
  std::vector<uint8_t> f = ReadFileBytes(dir / "b.segy");
  ASSERT_EQ(f.size(), 3600u + 2 * (240 + 200) + 240 + 160);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 3200), std::string(3200, 'T'));
  const uint8_t* b = f.data() + 3200;
  EXPECT_EQ(LoadBE<int32_t>(b + 8), 1);
  EXPECT_EQ(LoadBE<int16_t>(b + 16), 2000);
  EXPECT_EQ(LoadBE<uint16_t>(b + 20), 40);
  EXPECT_EQ(LoadBE<int16_t>(b + 24), 5);
  EXPECT_EQ(LoadBE<int16_t>(b + 28), 2);
  EXPECT_EQ(b[300], 1);
  EXPECT_EQ(b[301], 0);
  EXPECT_EQ(LoadBE<uint16_t>(b + 302), 0);
  for (int i = 60; i < 100; ++i) EXPECT_EQ(b[i], 0) << i;
  for (int i = 306; i < 400; ++i) EXPECT_EQ(b[i], 0) << i;

  s->Trace(0)->NS = 50;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "c.segy", o), 0);
  EXPECT_EQ(LoadBE<uint16_t>(ReadFileBytes(dir / "c.segy").data() + 3200 + 302), 1);
}

TEST(SegyWriter, ExtendedTextualHeadersAreKeptUnlessAsked) {
  auto s = MakeSection(1, 8);
  s->m_extTextCount = 2;
  s->m_extTextHeader = static_cast<uint8_t*>(std::malloc(6400));
  std::memset(s->m_extTextHeader, 'E', 6400);
  TempDir dir;
  SaveOptions o;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "e.segy", o), 0);
  std::vector<uint8_t> f = ReadFileBytes(dir / "e.segy");
  ASSERT_EQ(f.size(), 3600u + 6400 + 240 + 32);
  EXPECT_EQ(LoadBE<int16_t>(f.data() + 3200 + 304), 2);
  EXPECT_EQ(f[3600], 'E');
  EXPECT_EQ(f[3600 + 6399], 'E');
  o.flags = kSaveNoExtText;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "f.segy", o), 0);
  EXPECT_EQ(ReadFileBytes(dir / "f.segy").size(), 3600u + 240 + 32);
}

TEST(SegyWriter, SuIsTheTraceStreamInHostOrder) {
  auto s = MakeSection(2, 16);
  TempDir dir;
  SaveOptions o;
  o.flags = kSaveStationNumbering;  // replaced by the SU flags
  ASSERT_EQ(SaveAsSu(*s, dir / "x.su", o), 0);
  EXPECT_EQ(o.revision, 0);
  EXPECT_EQ(o.flags, kSaveHostOrder | kSaveSu);
  std::vector<uint8_t> f = ReadFileBytes(dir / "x.su");
  ASSERT_EQ(f.size(), 2u * (240 + 64));
  EXPECT_EQ(LoadLE<int32_t>(f.data()), 1);
  EXPECT_EQ(LoadLE<uint16_t>(f.data() + 114), 16);
  EXPECT_EQ(LoadLE<int16_t>(f.data() + 116), 2000);
  float v;
  std::memcpy(&v, f.data() + 240 + 4, 4);
  EXPECT_FLOAT_EQ(v, s->Trace(0)->Samples()[1]);
}

TEST(SegyWriter, WritingNeverChangesTheSection) {
  auto s = MakeSection(4, 300, 0.001);
  ActiveFilterDatasetLoaded(0.001);
  ActiveFilter().passType = kLowPass;
  ActiveFilter().lowPassCutoff = 0.1;
  ASSERT_EQ(DesignFilter(ActiveFilter()), 0);
  std::vector<uint8_t> before = SectionBytes(*s);
  TempDir dir;
  SaveOptions o;
  o.filter = &ActiveFilter();
  o.timeCrop = 1, o.t0 = 0.01, o.t1 = 0.2;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "f.segy", o), 0);
  SaveOptions su = o;
  ASSERT_EQ(SaveAsSu(*s, dir / "f.su", su), 0);
  SaveOptions plain;
  ASSERT_EQ(SaveAsSegyRev1(*s, dir / "p.segy", plain), 0);
  EXPECT_EQ(SectionBytes(*s), before);
  // The filter really ran on the written copy.
  auto filtered = Load({dir / "f.segy"});
  auto raw = Load({dir / "p.segy"});
  ASSERT_EQ(filtered->Count(), 4);
  float diff = 0;
  for (int i = 0; i < filtered->Trace(0)->NS; ++i)
    diff += std::fabs(filtered->Trace(0)->Samples()[i] - raw->Trace(0)->Samples()[i + 10]);
  EXPECT_GT(diff, 0.0f);
}

TEST(SegyWriter, AllExcludedLeavesNoFileAndKeepsTheOldOne) {
  auto s = MakeSection(3, 20);
  for (int i = 0; i < 3; ++i) s->Trace(i)->OMIT = 1;
  TempDir dir;
  WriteFileBytes(dir / "old.segy", {1, 2, 3});
  SaveOptions o;
  std::string log = kxtest::CaptureLog(LogError, [&] {
    EXPECT_EQ(SaveAsSegyRev1(*s, dir / "new.segy", o), -100);
    EXPECT_EQ(SaveAsSegyRev1(*s, dir / "old.segy", o), -100);
    SaveOptions su;
    EXPECT_EQ(SaveAsSu(*s, dir / "new.su", su), -1);
  });
  EXPECT_NE(log.find("ERROR: zero valid trace written to SEG-Y file"), std::string::npos);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.segy"});
  EXPECT_EQ(ReadFileBytes(dir / "old.segy"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(SegyWriter, RevisionAboveOneIsRefusedWithoutAFile) {
  auto s = MakeSection(1, 20);
  TempDir dir;
  SaveOptions o;
  o.revision = 2;
  EXPECT_EQ(SaveAsSegyRev1(*s, dir / "r2.segy", o), -100);
  EXPECT_TRUE(dir.Files().empty());
}

// A stream whose writes fail once a byte budget is spent, as on a full disk.
struct Budget {
  std::size_t left;
};
ssize_t BudgetWrite(void* cookie, const char* /*buf*/, size_t n) {
  auto* b = static_cast<Budget*>(cookie);
  if (n > b->left) {
    errno = ENOSPC;
    return -1;
  }
  b->left -= n;
  return static_cast<ssize_t>(n);
}

TEST(SegyWriter, AFailedWriteStopsTheStreamWithTheSystemCode) {
  auto s = MakeSection(50, 1000);
  Budget budget{20000};
  cookie_io_functions_t io{nullptr, BudgetWrite, nullptr, nullptr};
  FILE* fp = fopencookie(&budget, "w", io);
  ASSERT_NE(fp, nullptr);
  setvbuf(fp, nullptr, _IONBF, 0);
  SaveOptions o;
  std::string log = kxtest::CaptureLog(LogError, [&] { EXPECT_EQ(WriteSegyTraces(*s, fp, o), ENOSPC); });
  EXPECT_NE(log.find("ERROR: IO error while writing SEG-Y file after 4 traces written"), std::string::npos);
  std::fclose(fp);
}

// Runs fn in a child process whose files may not grow beyond limit bytes.
int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& fn) {
  pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit rl {
      limit, limit
    };
    setrlimit(RLIMIT_FSIZE, &rl);
    _exit(fn() & 0xFF);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? static_cast<int8_t>(WEXITSTATUS(status)) : -1000;
}

TEST(SegyWriter, AFullDiskLeavesThePreviousFileIntactAndNoTemporaryFile) {
  auto s = MakeSection(200, 1000);
  TempDir dir;
  std::vector<uint8_t> previous(5000, 0xAB);
  WriteFileBytes(dir / "out.segy", previous);
  WriteFileBytes(dir / "out.su", previous);
  int rc = RunWithFileSizeLimit(100000, [&] {
    SaveOptions o;
    return SaveAsSegyRev1(*s, dir / "out.segy", o);
  });
  EXPECT_EQ(rc, -100);
  rc = RunWithFileSizeLimit(100000, [&] {
    SaveOptions o;
    return SaveAsSu(*s, dir / "out.su", o);
  });
  EXPECT_GT(rc, 0);  // the system's error code
  EXPECT_EQ(ReadFileBytes(dir / "out.segy"), previous);
  EXPECT_EQ(ReadFileBytes(dir / "out.su"), previous);
  EXPECT_EQ(dir.Files().size(), 2u);
}

TEST(SegyWriter, AMissingFolderFailsToCreate) {
  auto s = MakeSection(1, 10);
  SaveOptions o;
  EXPECT_EQ(SaveAsSegyRev1(*s, "/nonexistent-kx-folder/x.segy", o), -101);
  EXPECT_EQ(SaveAsSu(*s, "/nonexistent-kx-folder/x.su", o), -101);
}
}  // namespace
