// The readers against segyio: the shared real files (values segyio reported,
// or the independent decoder's where segyio is known to be wrong), and files
// that segyio writes here in every sample format it supports, both orders.
#include <gtest/gtest.h>

#include <cmath>

#include "SegyTestUtil.h"
#include "formats/LoadFileList.h"
#include "formats/SegyReader.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

using kxtest::ReadFileBytes;
using segytest::DataPath;
using segytest::KeyLines;
using segytest::Oracle;
using segytest::WriteTemp;

namespace {
std::unique_ptr<SeismicSection> ReadWith(const std::string& path, bool su, int* rc) {
  auto s = std::make_unique<SeismicSection>(1);
  LoadParams p;
  p.flags = kLoadKeepHeaders;
  p.fileCount = 1;
  *rc = su ? ReadSuFile(*s, path, p) : ReadSegyFile(*s, path, p);
  return s;
}

double D(const std::string& s) {
  return std::stod(s);
}

void ExpectSamples(const TraceRecord* t, const std::vector<std::string>& want, const std::string& what) {
  ASSERT_GE(t->NS, static_cast<int>(want.size())) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(static_cast<double>(t->Samples()[i]), D(want[i])) << what << " sample " << i;
  }
}

// Checks a real file against its reference; path is the file as the reader sees it.
void CheckAgainstExpected(const std::string& path, const std::string& json, bool su) {
  auto ref = KeyLines(Oracle("expected " + DataPath("expected/" + json)));
  ASSERT_FALSE(ref.empty()) << json;
  int rc = 0;
  auto s = ReadWith(path, su, &rc);
  ASSERT_EQ(rc, std::stoi(ref["traces"][0])) << json;
  const TraceRecord* first = s->Trace(0);
  EXPECT_EQ(first->NS, std::stoi(ref["ns"][0])) << json;
  int16_t fmt;
  std::memcpy(&fmt, s->m_binaryHeader + 24, 2);
  EXPECT_EQ(fmt, std::stoi(ref["format"][0])) << json;
  EXPECT_EQ(s->ByteOrder() == kBigEndian, ref["big"][0] == "1") << json;
  ExpectSamples(first, ref["first5"], json + " first trace");
  ExpectSamples(s->Trace(s->Count() - 1), ref["last5"], json + " last trace");
  if (!ref["first_sum"].empty()) {
    double sum = 0.0, absmax = 0.0;
    for (int i = 0; i < first->NS; ++i) {
      sum += first->Samples()[i];
      absmax = std::max(absmax, std::fabs(static_cast<double>(first->Samples()[i])));
    }
    EXPECT_NEAR(sum, D(ref["first_sum"][0]), 1e-6 * (1.0 + std::fabs(sum))) << json;
    EXPECT_EQ(first->AMAX, static_cast<float>(D(ref["first_absmax"][0]))) << json;
  }
  for (int i = 0; i < 3 && i < s->Count(); ++i) {
    const auto& h = ref["h" + std::to_string(i)];
    if (h.empty()) break;
    const TraceRecord* t = s->Trace(i);
    double scal = D(h[7]) == 0 ? 1.0 : D(h[7]) < 0 ? -1.0 / D(h[7]) : D(h[7]);
    EXPECT_EQ(t->FLDR, std::stoll(h[0])) << json << " trace " << i;
    EXPECT_EQ(t->CHAN, std::stoi(h[1])) << json;
    EXPECT_EQ(t->OFF, static_cast<float>(D(h[2]))) << json;
    EXPECT_DOUBLE_EQ(t->SX, D(h[3]) * scal) << json;
    EXPECT_DOUBLE_EQ(t->SY, D(h[4]) * scal) << json;
    EXPECT_DOUBLE_EQ(t->RX, D(h[5]) * scal) << json;
    EXPECT_DOUBLE_EQ(t->RY, D(h[6]) * scal) << json;
    EXPECT_EQ(t->TRID, std::stoi(h[8])) << json;
    EXPECT_DOUBLE_EQ(t->DELAY, D(h[9]) * 0.001) << json;
  }
}

// A copy of a shared file with some bytes changed.
std::string PatchedCopy(const std::string& rel, const std::string& name,
                        const std::vector<std::pair<std::size_t, std::vector<uint8_t>>>& patches) {
  auto bytes = ReadFileBytes(DataPath(rel));
  for (const auto& [at, b] : patches) std::copy(b.begin(), b.end(), bytes.begin() + static_cast<long>(at));
  return WriteTemp(name, bytes);
}
}  // namespace

TEST(SegyioFiles, SegyFilesMatchTheirReferences) {
  const char* files[] = {"segy/segyio/small.sgy",
                         "segy/segyio/small-lsb.sgy",
                         "segy/segyio/text-embed-null.sgy",
                         "segy/segyio/f3.sgy",
                         "segy/segyio/Format1lsb.sgy",
                         "segy/segyio/Format1msb.sgy",
                         "segy/segyio/Format2msb.sgy",
                         "segy/segyio/Format5lsb.sgy",
                         "segy/segyio/Format5msb.sgy",
                         "segy/segyio/Format8msb.sgy",
                         "segy/segyio/interval-neg-bin-pos-trace.sgy",
                         "segy/obspy/00001034.sgy_first_trace",
                         "segy/obspy/1.sgy_first_trace",
                         "segy/obspy/example.y_first_trace",
                         "segy/obspy/one_trace_year_99.sgy",
                         "segy/obspy/planes.segy_first_trace"};
  for (const char* rel : files) {
    std::string name = rel;
    name = name.substr(name.rfind('/') + 1);
    SCOPED_TRACE(rel);
    CheckAgainstExpected(DataPath(rel), name + ".json", false);
  }
}

TEST(SegyioFiles, FilesTheReaderTreatsByItsOwnRules) {
  int rc = 0;
  // Revision 0 has no extended textual headers: the blocks are read as traces
  // and the garbage sample count stops the read before any allocation.
  for (const char* rel : {"segy/segyio/multi-text.sgy", "segy/segyio/stanzas-known-count.sgy"}) {
    auto s = ReadWith(DataPath(rel), false, &rc);
    EXPECT_EQ(rc, 0) << rel;
  }
  // The same files declared revision 1 read like segyio reads them.
  std::string multi = PatchedCopy("segy/segyio/multi-text.sgy", "multi-rev1.sgy", {{3500, {1, 0}}});
  CheckAgainstExpected(multi, "multi-text.sgy.json", false);
  auto s = ReadWith(multi, false, &rc);
  EXPECT_EQ(s->m_extTextCount, 4);
  std::string known = PatchedCopy("segy/segyio/stanzas-known-count.sgy", "known-rev1.sgy", {{3500, {1, 0}}});
  CheckAgainstExpected(known, "stanzas-known-count.sgy.json", false);
  // Variable count: the stanza search finds the three blocks (segyio does not).
  std::string unknown =
      PatchedCopy("segy/segyio/stanzas-unknown-count.sgy", "unknown-rev1.sgy", {{3500, {1, 0}}});
  CheckAgainstExpected(unknown, "stanzas-unknown-count.sgy.json", false);
  s = ReadWith(unknown, false, &rc);
  EXPECT_EQ(s->m_extTextCount, 3);
  // Sixteen-bit sample counts are unsigned: 60000 samples.
  s = ReadWith(DataPath("segy/segyio/long.sgy"), false, &rc);
  ASSERT_GE(rc, 1);
  EXPECT_EQ(s->Trace(0)->NS, 60000);
  // Extension 1 of revision 2: the files hold the maximum extension count as a
  // 16-bit word (65536 as 32 bits) and revision 2.1; stated as 2.0 with 1 they read.
  for (const char* rel : {"segy/segyio/rotated-small-rev2.sgy", "segy/segyio/trace-header-extension1.sgy"}) {
    auto refused = ReadWith(DataPath(rel), false, &rc);
    EXPECT_LE(rc, 11) << rel;
  }
  std::string ext = PatchedCopy("segy/segyio/trace-header-extension1.sgy", "ext1.sgy",
                                {{3500, {2, 0}}, {3506, {0, 0, 0, 1}}});
  s = ReadWith(ext, false, &rc);
  EXPECT_EQ(rc, 6);
  EXPECT_EQ(s->Trace(5)->NS, 4);
  std::string rotated =
      PatchedCopy("segy/segyio/rotated-small-rev2.sgy", "rotated.sgy", {{3506, {0, 0, 0, 1}}});
  s = ReadWith(rotated, false, &rc);
  EXPECT_EQ(rc, 25);
  auto small = ReadWith(DataPath("segy/segyio/small.sgy"), false, &rc);
  for (int i = 0; i < 25; ++i) {
    for (int k = 0; k < 50; ++k) ASSERT_EQ(s->Trace(i)->Samples()[k], small->Trace(i)->Samples()[k]);
  }
}

TEST(SegyioFiles, SuFilesMatchTheirReferences) {
  CheckAgainstExpected(DataPath("su/obspy/1.su_first_trace"), "1.su_first_trace.json", true);
  // small.su has interval 0 in every header: the reader refuses such traces;
  // with the interval written in, every value matches.
  int rc = 0;
  auto refused = ReadWith(DataPath("su/segyio/small.su"), true, &rc);
  EXPECT_EQ(rc, 0);
  for (const char* name : {"small.su", "small-lsb.su"}) {
    auto bytes = ReadFileBytes(DataPath(std::string("su/segyio/") + name));
    bool big = std::string(name) == "small.su";
    for (std::size_t at = 0; at + 240 <= bytes.size(); at += 240 + 50 * 4) {
      bytes[at + 116] = big ? 0x0F : 0xA0;
      bytes[at + 117] = big ? 0xA0 : 0x0F;
    }
    CheckAgainstExpected(WriteTemp(std::string("dt_") + name, bytes), std::string(name) + ".json", true);
  }
}

TEST(SegyioGenerated, EveryFormatBothOrders) {
  for (int fmt : {1, 2, 3, 5, 8}) {
    for (const char* endian : {"big", "little"}) {
      SCOPED_TRACE(std::to_string(fmt) + " " + endian);
      std::string path = (segytest::SharedDir() / ("gen_" + std::to_string(fmt) + endian + ".sgy")).string();
      Oracle(StrPrintf("make %s %d %s 23 40", path.c_str(), fmt, endian));
      auto ref = KeyLines(Oracle(StrPrintf("read %s %s", path.c_str(), endian)));
      ASSERT_EQ(ref["traces"].size(), 1u) << "segyio did not write the file";
      // (40 samples: segyio 1.8.3 writes short files for 1- and 2-byte formats when
      // the trace is not a whole number of 4-byte words.) Declared revision 1, so that the words from byte
      // 181 on count.
      auto bytes = ReadFileBytes(path);
      bytes[3500] = 1;
      bytes[3501] = 0;
      path = WriteTemp("gen_rev1.sgy", bytes);
      int rc = 0;
      auto s = ReadWith(path, false, &rc);
      ASSERT_EQ(rc, 23);
      EXPECT_EQ(s->ByteOrder(), std::string(endian) == "big" ? kBigEndian : kLittleEndian);
      for (int i = 0; i < rc; ++i) {
        const TraceRecord* t = s->Trace(i);
        const auto& h = ref["h" + std::to_string(i)];
        const auto& v = ref["s" + std::to_string(i)];
        ASSERT_EQ(t->NS, 40);
        ASSERT_EQ(v.size(), 40u);
        for (int k = 0; k < 40; ++k)
          ASSERT_EQ(static_cast<double>(t->Samples()[k]), D(v[k])) << i << "," << k;
        EXPECT_EQ(t->FLDR, std::stoll(h[0]));
        EXPECT_EQ(t->CHAN, std::stoi(h[1]));
        EXPECT_EQ(t->OFF, static_cast<float>(D(h[2])));
        EXPECT_DOUBLE_EQ(t->SX, D(h[3]) * 0.01);
        EXPECT_DOUBLE_EQ(t->SY, D(h[4]) * 0.01);
        EXPECT_DOUBLE_EQ(t->RX, D(h[5]) * 0.01);
        EXPECT_DOUBLE_EQ(t->RY, D(h[6]) * 0.01);
        EXPECT_DOUBLE_EQ(t->CDPX, D(h[8]) * 0.01);
        EXPECT_DOUBLE_EQ(t->CDPY, D(h[9]) * 0.01);
        EXPECT_EQ(t->ILINE, std::stoi(h[10]));
        EXPECT_EQ(t->XLINE, std::stoi(h[11]));
        EXPECT_DOUBLE_EQ(t->DELAY, D(h[12]) * 0.001);
        EXPECT_EQ(t->TRID, std::stoi(h[13]));
        EXPECT_EQ(t->CDP, std::stoi(h[14]));
        EXPECT_EQ(t->YEAR, 2016);
        EXPECT_EQ(t->MONTH, 2);
        EXPECT_EQ(t->MDAY, 29);
        EXPECT_DOUBLE_EQ(t->DT, 0.002);
      }
    }
  }
}
