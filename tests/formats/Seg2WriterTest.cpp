// SEG-2 output: the pointer subblock and trace count when traces are
// skipped, the descriptor strings, padding of every string list, the cropped
// delay, a round trip through the reader, and failed saves leaving no file.
#include <gtest/gtest.h>
#include <stdio.h>

#include <cstring>

#include "SegyWriterTestUtil.h"
#include "formats/Seg2Reader.h"
#include "formats/Seg2Writer.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "support/LogCapture.h"

using namespace writertest;

namespace {
std::vector<std::string> StringsOf(const std::vector<uint8_t>& f, std::size_t at) {
  std::vector<std::string> out;
  while (true) {
    uint16_t len = LoadLE<uint16_t>(f.data() + at);
    if (len == 0) break;
    out.emplace_back(reinterpret_cast<const char*>(f.data() + at + 2));
    at += len;
  }
  return out;
}

bool Has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}

TEST(Seg2Writer, SkippedTracesKeepThePointerSubblockSize) {
  auto s = MakeSection(5, 100, 0.001);
  s->Trace(1)->DELAY = 1.0;  // outside the window
  s->Trace(4)->DELAY = 1.0;
  TempDir dir;
  SaveOptions o;
  o.seg2TraceCount = 5;
  o.timeCrop = 1, o.t0 = 0.0, o.t1 = 0.05;
  LogSetThreshold(0);
  ASSERT_EQ(SaveAsSeg2(*s, dir / "skip.seg2", o), 0);
  std::vector<uint8_t> f = ReadFileBytes(dir / "skip.seg2");
  EXPECT_EQ(f[0], 0x55);
  EXPECT_EQ(f[1], 0x3A);
  EXPECT_EQ(LoadLE<uint16_t>(f.data() + 2), 1);
  EXPECT_EQ(LoadLE<uint16_t>(f.data() + 4), 20);
  EXPECT_EQ(LoadLE<uint16_t>(f.data() + 6), 3);
  EXPECT_EQ(f[8], 1);
  EXPECT_EQ(f[11], 1);
  EXPECT_EQ(f[12], 0x0A);
  EXPECT_NE(LoadLE<uint32_t>(f.data() + 32 + 8), 0u);
  EXPECT_EQ(LoadLE<uint32_t>(f.data() + 32 + 12), 0u);
  EXPECT_EQ(LoadLE<uint32_t>(f.data() + 32 + 16), 0u);
  EXPECT_EQ(StringsOf(f, 52), (std::vector<std::string>{"UNITS NONE"}));
  uint32_t p0 = LoadLE<uint32_t>(f.data() + 32);
  EXPECT_EQ(LoadLE<uint16_t>(f.data() + p0), 0x4422);
  EXPECT_EQ(LoadLE<uint32_t>(f.data() + p0 + 8), 51u);
  EXPECT_EQ(LoadLE<uint32_t>(f.data() + p0 + 4), 204u);
  EXPECT_EQ(f[p0 + 12], 4);
  LogSetThreshold(kLogDefaultThreshold);
}

TEST(Seg2Writer, DescriptorStringsFollowTheTraceFields) {
  TraceRecord* r = MakeTrace(300, 0.001, 0.0, 0);
  r->YEAR = 2001, r->MONTH = 3, r->MDAY = 7, r->HOUR = 10, r->MINUTE = 5, r->SEC = 9;
  r->CDP = 1200;
  r->RZDAT = r->SZDAT = 55.5f;
  r->IGC = -1;
  r->TRID = 8192;
  std::vector<std::string> s = Seg2TraceStrings(*r, 0.1);
  EXPECT_TRUE(Has(s, "ACQUISITION_DATE 07/03/2001"));
  EXPECT_TRUE(Has(s, "ACQUISITION_TIME 10:05:09"));
  EXPECT_TRUE(Has(s, "CDP_NUMBER 1200"));
  EXPECT_TRUE(Has(s, "DATUM 55.50"));
  EXPECT_TRUE(Has(s, "DELAY 0.100000000"));
  EXPECT_TRUE(Has(s, "TRACE_TYPE VSUM"));
  EXPECT_TRUE(Has(s, "SAMPLE_INTERVAL 0.001000000"));
  EXPECT_TRUE(Has(s, "RECEIVER_LOCATION 1100.750 2001.250 11.500"));
  EXPECT_TRUE(Has(s, "SHOT_SEQUENCE_NUMBER 100"));
  EXPECT_TRUE(Has(s, "STACK 1"));
  EXPECT_EQ(s.front(), "ACQUISITION_DATE 07/03/2001");
  EXPECT_EQ(s.back(), "TRACE_TYPE VSUM");
  r->YEAR = 0;
  r->CDP = 0;
  s = Seg2TraceStrings(*r, 0.0);
  EXPECT_FALSE(Has(s, "ACQUISITION_DATE 07/03/2001"));
  for (const auto& x : s) {
    EXPECT_NE(x.rfind("ACQUISITION", 0), 0u);
    EXPECT_NE(x.rfind("CDP_NUMBER", 0), 0u);
    EXPECT_NE(x.rfind("FIXED_GAIN", 0), 0u);
  }
  TraceRecord::Free(r);
}

TEST(Seg2Writer, StringListsArePaddedToFourBytes) {
  for (int n = 0; n < 12; ++n) {
    std::vector<std::string> strings;
    for (int k = 0; k < n % 4 + 1; ++k) strings.push_back(std::string(static_cast<std::size_t>(n + k), 'A'));
    std::vector<uint8_t> list = Seg2StringList(strings);
    EXPECT_EQ(list.size() % 4, 0u);
    EXPECT_EQ(LoadLE<uint16_t>(list.data()), strings[0].size() + 3);
    EXPECT_EQ(list[2 + strings[0].size()], 0);
  }
}

TEST(Seg2Writer, CroppedTracesReadBackWithTheirDelayAndFields) {
  auto s = MakeSection(3, 300, 0.001);
  s->m_binaryHeader[28] = 5;  // trace sorting code: common source
  s->m_binaryHeader[54] = 2;  // feet
  TempDir dir;
  SaveOptions o;
  o.timeCrop = 1, o.t0 = 0.100, o.t1 = 0.299;
  ASSERT_EQ(SaveAsSeg2(*s, dir / "c.seg2", o), 0);
  EXPECT_EQ(o.seg2TraceCount, 3);
  std::vector<uint8_t> f = ReadFileBytes(dir / "c.seg2");
  std::vector<std::string> fileStrings = StringsOf(f, 32 + 12);
  EXPECT_TRUE(Has(fileStrings, "TRACE_SORT COMMON_SOURCE"));
  EXPECT_TRUE(Has(fileStrings, "UNITS FEET"));
  auto back = Load({dir / "c.seg2"});
  ASSERT_EQ(back->Count(), 3);
  for (int t = 0; t < 3; ++t) {
    const TraceRecord* a = s->Trace(t);
    const TraceRecord* b = back->Trace(t);
    ASSERT_EQ(b->NS, 200);
    EXPECT_NEAR(b->DELAY, 0.1, 1e-12);
    EXPECT_DOUBLE_EQ(b->DT, a->DT);
    EXPECT_EQ(b->CHAN, a->CHAN);
    EXPECT_EQ(b->FLDR, a->FLDR);
    EXPECT_NEAR(b->SX, a->SX, 5e-4);
    EXPECT_NEAR(b->RY, a->RY, 5e-4);
    EXPECT_NEAR(b->RZ, a->RZ, 5e-4);
    for (int i = 0; i < 200; ++i) ASSERT_EQ(b->Samples()[i], a->Samples()[i + 100]);
  }
}

TEST(Seg2Writer, NothingWrittenLeavesNoFileAndTheOldOneIntact) {
  auto s = MakeSection(3, 50);
  for (int i = 0; i < 3; ++i) s->Trace(i)->OMIT = 1;
  TempDir dir;
  WriteFileBytes(dir / "old.seg2", {9, 9, 9});
  SaveOptions o;
  LogSetThreshold(0);
  EXPECT_EQ(SaveAsSeg2(*s, dir / "old.seg2", o), -1);
  EXPECT_EQ(SaveAsSeg2(*s, dir / "new.seg2", o), -1);
  LogSetThreshold(kLogDefaultThreshold);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"old.seg2"});
  EXPECT_EQ(ReadFileBytes(dir / "old.seg2"), (std::vector<uint8_t>{9, 9, 9}));
}

TEST(Seg2Writer, AFullPointerSubblockEndsTheFileCleanly) {
  auto s = MakeSection(4, 10);
  TempDir dir;
  SaveOptions o;
  o.seg2TraceCount = 2;  // fewer slots than traces
  LogSetThreshold(0);
  ASSERT_EQ(SaveAsSeg2(*s, dir / "p.seg2", o), 0);
  LogSetThreshold(kLogDefaultThreshold);
  EXPECT_EQ(Load({dir / "p.seg2"})->Count(), 2);
}
// A stream that keeps only its first bytes and counts the rest, with seeks.
struct CountingSink {
  uint64_t pos = 0;
  std::vector<uint8_t> head = std::vector<uint8_t>(4096, 0);
};
ssize_t SinkWrite(void* c, const char* buf, size_t n) {
  auto* s = static_cast<CountingSink*>(c);
  for (size_t i = 0; i < n && s->pos + i < s->head.size(); ++i)
    s->head[s->pos + i] = static_cast<uint8_t>(buf[i]);
  s->pos += n;
  return static_cast<ssize_t>(n);
}
int SinkSeek(void* c, off64_t* off, int whence) {
  auto* s = static_cast<CountingSink*>(c);
  if (whence == SEEK_SET) s->pos = static_cast<uint64_t>(*off);
  if (whence == SEEK_CUR) s->pos += static_cast<uint64_t>(*off);
  *off = static_cast<off64_t>(s->pos);
  return 0;
}

TEST(Seg2Writer, StopsCleanlyBeforeATraceWouldStartBeyondFourGiB) {
  // 70 traces of 64 MiB: the 65th would start past 4 GiB. The copies keep
  // their zeroed samples untouched, so the system commits no memory for them.
  SeismicSection s;
  TraceRecord* big = MakeTrace(16 << 20, 0.001, 0.0, 0);
  for (int i = 0; i < 70; ++i) {
    TraceRecord* t = i == 0 ? big : TraceRecord::Allocate(big->NS);
    ASSERT_NE(t, nullptr);
    if (i > 0) std::memcpy(static_cast<void*>(t), big, kTraceHeaderBytes);
    ASSERT_EQ(s.AppendTrace(t, 1, -1), 0);
  }
  CountingSink sink;
  cookie_io_functions_t io{nullptr, SinkWrite, SinkSeek, nullptr};
  FILE* fp = fopencookie(&sink, "w", io);
  ASSERT_NE(fp, nullptr);
  setvbuf(fp, nullptr, _IONBF, 0);
  SaveOptions o;
  o.seg2TraceCount = 70;
  std::string log = kxtest::CaptureLog(LogError, [&] { EXPECT_EQ(WriteSEG2(s, fp, o), 0); });
  std::fclose(fp);
  EXPECT_NE(
      log.find("ERROR: WriteSEG2 stopped after 64 traces written\nbecause trace offset in file exceeds 4GiB"),
      std::string::npos);
  EXPECT_EQ(LoadLE<uint16_t>(sink.head.data() + 6), 64);
  EXPECT_EQ(LoadLE<uint16_t>(sink.head.data() + 4), 280);
  EXPECT_NE(LoadLE<uint32_t>(sink.head.data() + 32 + 4 * 63), 0u);
  EXPECT_EQ(LoadLE<uint32_t>(sink.head.data() + 32 + 4 * 64), 0u);
}
}  // namespace
