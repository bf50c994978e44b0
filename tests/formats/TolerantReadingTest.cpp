// Tolerant reading: crafted files for each assumption in both byte orders, the real files the
// strict reader refuses (against segyio, or a struct-level decoder where segyio cannot open
// them), and strict reading left as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "SegyTestUtil.h"
#include "formats/LoadFileList.h"
#include "log/Log.h"
#include "section/SeismicSection.h"
#include "support/LogCapture.h"
#include "support/PeerCheck.h"
#include "support/SectionCompare.h"

using segytest::DataPath;
using segytest::KeyLines;
using segytest::Oracle;
using segytest::SegyBuilder;
using segytest::WriteTemp;

namespace {
struct Loaded {
  std::unique_ptr<SeismicSection> section;
  std::string log;
};

Loaded Load(const std::string& path, bool tolerant, int32_t givenUs = 0) {
  kxtest::LogCapture capture(LogDebug);
  Loaded out{std::make_unique<SeismicSection>(1), {}};
  LoadParams p;
  p.tolerant = tolerant;
  p.tolerantIntervalUs = givenUs;
  LoadFileList(*out.section, {path}, p);
  out.log = capture.Text();
  return out;
}

int Occurrences(const std::string& text, const std::string& piece) {
  int n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

float Sample(int trace, int i) {
  return static_cast<float>(trace * 10 + i) + 0.5f;
}

std::vector<float> Samples(int trace, int ns = 4) {
  std::vector<float> v;
  for (int i = 0; i < ns; ++i) v.push_back(Sample(trace, i));
  return v;
}

// Three traces of four IEEE samples; the header intervals and the binary header's as given.
SegyBuilder Traces(bool big, int traceDt, int binaryDt, int revisionMajor = 0) {
  SegyBuilder b(big);
  b.Revision(revisionMajor, 0);
  b.Bin16(17, binaryDt);
  b.Bin16(21, 4);
  for (int t = 0; t < 3; ++t) b.AddTrace(4, traceDt, Samples(t));
  return b;
}

// Revision 2 traces that each carry `extensions` zeroed 240-byte extension headers.
SegyBuilder Rev2(bool big, int extensions) {
  SegyBuilder b = Traces(big, 1000, 1000, 2);
  for (int t = 0; t < 3; ++t) b.TraceExtra(t, b.Words(240 * static_cast<std::size_t>(extensions)));
  return b;
}

struct Crafted {
  const char* name;
  const char* file;  // the extension decides how the file is detected
  std::function<std::vector<uint8_t>(bool big)> build;
  int32_t givenUs;
  int strictTraces;  // what strict reading gives (-1: not checked)
  int traces;        // what tolerant reading gives
  double dtUs;
  int extText;
  std::vector<const char*> warnings;  // each logged exactly once
  const char* bigOnlyWarning;         // logged once for the big-endian file only
  const char* error;                  // a strict error that stays
};

// One row a file: {name, file, build, given us, strict traces, traces, dt us, ext blocks, warnings,
// big-endian-only warning, error}.
// clang-format off
const Crafted kCrafted[] = {
    {"no interval anywhere", "a.sgy", [](bool big) { return Traces(big, 0, 0).Segy(); }, 0, 0, 3, 4000.0, 0,
     {"trace #1 has no usable sampling interval (0.000 us); assuming 4000.000 us (the usual default of 4 ms)"},
     nullptr, nullptr},
    {"negative trace interval, binary header's positive", "a.sgy",
     [](bool big) { return Traces(big, -500, 2000).Segy(); }, 0, 0, 3, 2000.0, 0,
     {"(-500.000 us); assuming 2000.000 us (the binary header's)"}, nullptr, nullptr},
    {"the user's interval comes first", "a.sgy", [](bool big) { return Traces(big, -500, 2000).Segy(); }, 1500,
     0, 3, 1500.0, 0, {"assuming 1500.000 us (the interval given for tolerant reading)"}, nullptr, nullptr},
    {"revision 0 with an extended textual header count", "a.sgy", [](bool big) {
       SegyBuilder b = Traces(big, 1000, 1000);
       b.Bin16(305, 2);
       b.AddExtText("C 1 first block");
       b.AddExtText("C 2 second block");
       return b.Segy();
     }, 0, 0, 3, 1000.0, 2, {"revision 0 file announcing 2 extended textual header blocks"}, nullptr, nullptr},
    {"revision 0 with a variable count ended by the stanza", "a.sgy", [](bool big) {
       SegyBuilder b = Traces(big, 1000, 1000);
       b.Bin16(305, -1);
       b.AddExtText("C 1 text");
       b.AddExtText("((SEG: EndText))");
       return b.Segy();
     }, 0, 0, 3, 1000.0, 2, {"the \"((SEG: EndText))\" stanza ends them after 2 blocks"}, nullptr, nullptr},
    {"revision 0 count the traces deny is not honoured", "a.sgy", [](bool big) {
       SegyBuilder b = Traces(big, 1000, 1000);
       b.Bin16(305, 2);
       return b.Segy();
     }, 0, 3, 3, 1000.0, 0, {}, nullptr, nullptr},
    {"revision 2 extension maximum written as 16 bits", "a.sgy", [](bool big) {
       SegyBuilder b = Rev2(big, 1);
       b.Bin32(307, 0x10000);
       return b.Segy();
     }, 0, 0, 3, 1000.0, 0,
     {"max number of THE 65536 is implausible (above 65535); assuming 1 (its upper 16 bits read as a 16-bit count)"},
     nullptr, nullptr},
    {"revision 2 extension maximum above 65535, traces carry none", "a.sgy", [](bool big) {
       SegyBuilder b = Rev2(big, 0);
       b.Bin32(307, 0x30000);
       return b.Segy();
     }, 0, 0, 3, 1000.0, 0,
     {"max number of THE 196608 is implausible (above 65535); assuming 0 (the traces carry none)"}, nullptr, nullptr},
    {"revision 2 first trace offset inside the file headers", "a.sgy", [](bool big) {
       SegyBuilder b = Rev2(big, 0);
       b.Bin64(321, 100);
       b.Bin64(313, -5);
       return b.Segy();
     }, 0, 0, 3, 1000.0, 0,
     {"fields ignored: 1st trace offset 100 (traces taken to follow the extended textual headers), "
      "num traces in file -5 (taken as unknown); the traces line up"}, nullptr, nullptr},
    {"revision 2 fields nothing explains stay refused", "a.sgy", [](bool big) {
       SegyBuilder b = Rev2(big, 2);
       b.Bin32(307, 0x50000);
       return b.Segy();
     }, 0, 0, 0, 0.0, 0, {}, nullptr, "found INVALID values in SEGY rev 2.0 part of Binary File Header"},
    {"revision 2.1 read as 2.0", "a.sgy", [](bool big) {
       SegyBuilder b = Rev2(big, 1);
       b.Revision(2, 1);
       b.Bin32(307, 1);
       return b.Segy();
     }, 0, -1, 3, 1000.0, 0, {"SEG-Y rev 2.1 is newer than this reader; read as rev 2.0"}, nullptr, nullptr},
    {"one SU trace without extension", "shot.bin", [](bool big) {
       SegyBuilder b(big);
       b.AddTrace(4, 1000, Samples(0));
       return b.Su();
     }, 0, 0, 1, 1000.0, 0, {"read as SU ("}, nullptr, nullptr},
    {"SU with interval 0", "a.su", [](bool big) { return Traces(big, 0, 0).Su(); }, 0, 0, 3, 4000.0, 0,
     {"assuming 4000.000 us (the usual default of 4 ms)"},
     "SU file read as big-endian: in that byte order its trace headers give a sample count", nullptr},
    {"fixed-length file with the last trace short", "a.sgy", [](bool big) {
       SegyBuilder b = Traces(big, 1000, 1000, 1);
       b.Bin16(303, 1);
       auto bytes = b.Segy();
       bytes.resize(bytes.size() - 8);
       return bytes;
     }, 0, 2, 2, 1000.0, 0, {}, nullptr, "Failed to read trace data, trace #3"},
};
// clang-format on
}  // namespace

TEST(TolerantReading, CraftedFileForEachAssumptionInBothByteOrders) {
  for (const Crafted& c : kCrafted) {
    for (bool big : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (big ? ", big-endian" : ", little-endian"));
      std::string path = WriteTemp(c.file, c.build(big));
      Loaded strict = Load(path, false);
      if (c.strictTraces >= 0) {
        EXPECT_EQ(strict.section->Count(), c.strictTraces);
      }
      EXPECT_EQ(Occurrences(strict.log, "tolerant reading"), 0);

      Loaded t = Load(path, true, c.givenUs);
      ASSERT_EQ(t.section->Count(), c.traces) << t.log;
      for (const char* w : c.warnings) EXPECT_EQ(Occurrences(t.log, w), 1) << w << "\n" << t.log;
      int expectedWarnings = static_cast<int>(c.warnings.size()) + (big && c.bigOnlyWarning ? 1 : 0);
      if (big && c.bigOnlyWarning) {
        EXPECT_EQ(Occurrences(t.log, c.bigOnlyWarning), 1) << t.log;
      }
      EXPECT_EQ(Occurrences(t.log, "WARNING: tolerant reading:"), expectedWarnings) << t.log;
      if (c.error) {
        EXPECT_EQ(Occurrences(t.log, c.error), 1) << t.log;
      }
      EXPECT_EQ(t.section->m_extTextCount, c.extText);
      for (int k = 0; k < t.section->Count(); ++k) {
        const TraceRecord* tr = t.section->Trace(k);
        ASSERT_EQ(tr->NS, 4) << k;
        EXPECT_DOUBLE_EQ(tr->DT, c.dtUs * 1e-6) << k;
        for (int i = 0; i < 4; ++i) ASSERT_EQ(tr->Samples()[i], Sample(k, i)) << k << "," << i;
      }
    }
  }
}

namespace {
// A real file's reference: "expected NAME.json" (segyio, or the independent decoder where it is
// flagged) or "ibm FIRST N NS STRIDE SKIP big" (struct-level decoding of files segyio cannot open).
struct RealFile {
  const char* rel;
  const char* reference;
  double dtUs;
  std::vector<const char*> warnings;
  const char* error;
};

// clang-format off
const RealFile kRefused[] = {
    {"segy/segyio/multi-text.sgy", "expected multi-text.sgy.json", 4000.0, {"announcing 4 extended textual"}, nullptr},
    {"segy/segyio/stanzas-known-count.sgy", "expected stanzas-known-count.sgy.json", 1000.0,
     {"announcing 3 extended textual"}, nullptr},
    {"segy/segyio/stanzas-unknown-count.sgy", "expected stanzas-unknown-count.sgy.json", 1000.0,
     {"stanza ends them after 3 blocks"}, nullptr},
    {"segy/segyio/rotated-small-rev2.sgy", "ibm 3600 25 50 680 480 big", 4000.0,
     {"max number of THE 65536 is implausible (above 65535); assuming 1"}, nullptr},
    {"segy/segyio/trace-header-extension1.sgy", "ibm 3600 6 4 496 480 big", 1000.0,
     {"SEG-Y rev 2.1 is newer than this reader", "max number of THE 65536 is implausible"}, nullptr},
    {"segy/segyio/broken.sgy", "ibm 10000 3 4 256 240 big", 1000.0, {"announcing 2 extended textual"},
     "Failed to read Trace Header, trace #4"},
    {"su/segyio/small.su", "expected small.su.json", 4000.0,
     {"SU file read as big-endian", "assuming 4000.000 us (the usual default of 4 ms)"}, nullptr},
    {"su/segyio/small-lsb.su", "expected small-lsb.su.json", 4000.0,
     {"assuming 4000.000 us (the usual default of 4 ms)"}, nullptr},
    {"su/obspy/1.su_first_trace", "expected 1.su_first_trace.json", 250.0, {"read as SU (little-endian)"}, nullptr},
};
// clang-format on

void ExpectNear(float got, const std::string& want, const std::string& what) {
  double w = std::stod(want);
  EXPECT_NEAR(static_cast<double>(got), w, 1e-6 * (1.0 + std::fabs(w))) << what;
}
}  // namespace

TEST(TolerantReading, RealFilesTheStrictReaderRefuses) {
  KX_REQUIRE_PYTHON("numpy, segyio");
  for (const RealFile& f : kRefused) {
    SCOPED_TRACE(f.rel);
    std::string ref = f.reference;
    bool own = ref.starts_with("ibm ");
    auto want = KeyLines(own ? Oracle("ibm " + DataPath(f.rel) + ref.substr(3))
                             : Oracle("expected " + DataPath("expected/" + ref.substr(9))));
    ASSERT_FALSE(want["traces"].empty()) << "no reference for " << f.rel;

    Loaded t = Load(DataPath(f.rel), true);
    ASSERT_EQ(t.section->Count(), std::stoi(want["traces"][0])) << t.log;
    for (const char* w : f.warnings) EXPECT_EQ(Occurrences(t.log, w), 1) << w << "\n" << t.log;
    EXPECT_EQ(Occurrences(t.log, "WARNING: tolerant reading:"), static_cast<int>(f.warnings.size())) << t.log;
    if (f.error) {
      EXPECT_EQ(Occurrences(t.log, f.error), 1) << t.log;
    }
    EXPECT_DOUBLE_EQ(t.section->Trace(0)->DT, f.dtUs * 1e-6);
    if (own) {
      for (int k = 0; k < t.section->Count(); ++k) {
        const auto& s = want["s" + std::to_string(k)];
        ASSERT_EQ(t.section->Trace(k)->NS, static_cast<int>(s.size())) << k;
        for (std::size_t i = 0; i < s.size(); ++i)
          ExpectNear(t.section->Trace(k)->Samples()[i], s[i], "trace " + std::to_string(k));
      }
    } else {
      EXPECT_EQ(t.section->Trace(0)->NS, std::stoi(want["ns"][0]));
      const TraceRecord* last = t.section->Trace(t.section->Count() - 1);
      for (std::size_t i = 0; i < want["first5"].size(); ++i) {
        ExpectNear(t.section->Trace(0)->Samples()[i], want["first5"][i], "first trace");
        ExpectNear(last->Samples()[i], want["last5"][i], "last trace");
      }
    }
  }
}

// Asking for tolerance changes nothing in a file that reads cleanly: no assumption, the same traces.
TEST(TolerantReading, FilesThatReadStrictlyReadTheSame) {
  for (const char* rel :
       {"segy/segyio/small.sgy", "segy/segyio/small-lsb.sgy", "segy/segyio/f3.sgy",
        "segy/segyio/Format1lsb.sgy", "segy/segyio/Format2msb.sgy", "segy/segyio/Format5msb.sgy",
        "segy/segyio/Format8msb.sgy", "segy/segyio/interval-neg-bin-pos-trace.sgy",
        "segy/segyio/text-embed-null.sgy", "segy/segyio/long.sgy", "segy/obspy/00001034.sgy_first_trace",
        "segy/obspy/one_trace_year_99.sgy", "segy/obspy/planes.segy_first_trace", "seg2/seisunix/329.dat"}) {
    SCOPED_TRACE(rel);
    Loaded strict = Load(DataPath(rel), false);
    Loaded t = Load(DataPath(rel), true, 1234);
    EXPECT_EQ(Occurrences(t.log, "tolerant reading"), 0) << t.log;
    ASSERT_GT(strict.section->Count(), 0);
    kxtest::ExpectSameTraces(*strict.section, *t.section);
  }
}
