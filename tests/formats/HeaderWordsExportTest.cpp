// Header word export and import: the text format, the import's tolerance
// (separators, quotes, comments, any column order and case), byte-identical
// round trips in both byte orders, and the errors that stop a job versus the
// warnings that do not.
#include <gtest/gtest.h>

#include <fstream>

#include "SegyWriterTestUtil.h"
#include "formats/HeaderWordsExport.h"
#include "formats/HeaderWordsText.h"
#include "formats/SegyWriter.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SegyWordTable.h"
#include "support/LogCapture.h"

using namespace writertest;

namespace {
const std::string kData = KX_TEST_DATA_DIR;

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> b = ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

void WriteText(const std::string& path, const std::string& text) {
  WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

SegyWordSelection Only(std::initializer_list<int> words) {
  SegyWordSelection s;
  for (int w = 1; w <= kSegyWordSegb; ++w) s.Set(w, false);
  for (int w : words) s.Set(w, true);
  return s;
}

// A small big-endian SEG-Y file of our own, CDP 1200 + k and offset -25 + 12.5 k.
std::string SmallSegy(const TempDir& dir, const std::string& name) {
  auto s = MakeSection(4, 10);
  for (int k = 0; k < 4; ++k) s->Trace(k)->CDP = 1200 + k;
  SaveOptions o;
  LogSetThreshold(0);
  EXPECT_EQ(SaveAsSegyRev1(*s, dir / name, o), 0);
  LogSetThreshold(kLogDefaultThreshold);
  return dir / name;
}

TEST(HeaderWordsText, LinesSplitOnEverySeparatorAndQuote) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitHeaderWordsLine("1;2;3\r\n"), (V{"1", "2", "3"}));
  EXPECT_EQ(SplitHeaderWordsLine("  1,  2 ,3"), (V{"1", "2", "3"}));
  EXPECT_EQ(SplitHeaderWordsLine("1 \t  2\t3"), (V{"1", "2", "3"}));
  EXPECT_EQ(SplitHeaderWordsLine("1;;3"), (V{"1", "", "3"}));
  EXPECT_EQ(SplitHeaderWordsLine("1, ,3"), (V{"1", "", "3"}));
  EXPECT_EQ(SplitHeaderWordsLine("1;2;"), (V{"1", "2", ""}));
  EXPECT_EQ(SplitHeaderWordsLine("\"idx\";'cdp'; \"a b\""), (V{"idx", "cdp", "a b"}));
  EXPECT_TRUE(SplitHeaderWordsLine("   # a comment; 1;2").empty());
  EXPECT_TRUE(SplitHeaderWordsLine(" \t \n").empty());
  int64_t v = 0;
  EXPECT_TRUE(ParseHeaderWordValue("-25", &v));
  EXPECT_EQ(v, -25);
  EXPECT_FALSE(ParseHeaderWordValue("12x", &v));
  EXPECT_FALSE(ParseHeaderWordValue("", &v));
  EXPECT_FALSE(ParseHeaderWordValue("4294967296", &v));
  std::string ext;
  EXPECT_EQ(HeaderWordsFileKind("/a.b/data.SGY", &ext), 1);
  EXPECT_EQ(HeaderWordsFileKind("x.su", &ext), 2);
  EXPECT_EQ(HeaderWordsFileKind("data.seg2", &ext), 0);
  EXPECT_EQ(ext, ".seg2");
  EXPECT_EQ(HeaderWordsFileKind("dir.segy/file", &ext), 0);
}

TEST(HeaderWordsExport, SelectedWordsInTableOrder) {
  TempDir dir;
  std::string segy = SmallSegy(dir, "a.segy");
  // OFFSET and CDP: written in table order
  ASSERT_EQ(ExportHeaderWords(segy, dir / "a.txt", Only({12, 6}), ';', -1, -1), 0);
  EXPECT_EQ(ReadText(dir / "a.txt"), "idx;CDP;OFFSET\n1;1200;-25\n2;1201;-12\n3;1202;0\n4;1203;12\n");
  ASSERT_EQ(ExportHeaderWords(segy, dir / "b.txt", Only({39, 40, 91}), ',', 2, 3), 0);
  EXPECT_EQ(ReadText(dir / "b.txt"), "idx,NS,DT,SEGA\n2,10,2000,0\n3,10,2000,0\n");
}

TEST(HeaderWordsExport, RefusedFilesLeaveNoTextFile) {
  TempDir dir;
  WriteText(dir / "data.seg2", "x");
  std::string log = kxtest::CaptureLog(LogWarning, [&] {
    EXPECT_EQ(ExportHeaderWords(dir / "data.seg2", dir / "t.txt", SegyWordSelection(), ';', -1, -1), -3);
  });
  EXPECT_NE(log.find("ERROR: Export header words not supported for file type'.seg2'"), std::string::npos);
  WriteText(dir / "empty.sgy", "");
  WriteText(dir / "keep.txt", "old");
  kxtest::CaptureLog(LogWarning, [&] {
    EXPECT_NE(ExportHeaderWords(dir / "empty.sgy", dir / "keep.txt", SegyWordSelection(), ';', -1, -1), 0);
  });
  EXPECT_EQ(ReadText(dir / "keep.txt"), "old");
  EXPECT_EQ(dir.Files().size(), 3u);
  kxtest::CaptureLog(LogWarning, [&] {
    EXPECT_EQ(ExportHeaderWords(dir / "empty.sgy", "/nonexistent-kx/t.txt", SegyWordSelection(), ';', -1, -1),
              -101);
  });
}

TEST(HeaderWordsImport, TabExportImportsBackByteForByte) {
  TempDir dir;
  SegyWordSelection all;
  for (int w = 1; w <= kSegyWordSegb; ++w) all.Set(w, true);
  for (const char* name : {"/segy/segyio/small.sgy", "/segy/segyio/small-lsb.sgy", "/su/segyio/small-lsb.su",
                           "/segy/segyio/f3.sgy", "/segy/obspy/example.y_first_trace"}) {
    std::string copy =
        dir / (fs::path(name).stem().string() + (std::string(name).rfind("/su/", 0) == 0 ? ".su" : ".sgy"));
    fs::copy_file(kData + name, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    std::vector<uint8_t> before = ReadFileBytes(copy);
    ASSERT_EQ(ExportHeaderWords(copy, dir / "all.txt", all, '\t', -1, -1), 0) << name;
    LogSetThreshold(0);
    ASSERT_EQ(ImportHeaderWords(dir / "all.txt", copy), 0) << name;
    LogSetThreshold(kLogDefaultThreshold);
    EXPECT_EQ(ReadFileBytes(copy), before) << name;
  }
}

TEST(HeaderWordsImport, ColumnsByNameEmptyFieldsKeepTheirWord) {
  TempDir dir;
  std::string segy = SmallSegy(dir, "data.SGY");
  WriteText(dir / "in.txt", "# comment line\n\n\"idx\",cdp, offset\n1,77,\n 3 , , -5\n# 4,9,9\n");
  ASSERT_EQ(ImportHeaderWords(dir / "in.txt", segy), 0);
  auto s = Load({segy});
  ASSERT_EQ(s->Count(), 4);
  EXPECT_EQ(s->Trace(0)->CDP, 77);
  EXPECT_EQ(s->Trace(0)->OFF, -25.0f);
  EXPECT_EQ(s->Trace(2)->CDP, 1202);
  EXPECT_EQ(s->Trace(2)->OFF, -5.0f);
  EXPECT_EQ(s->Trace(3)->CDP, 1203);
  // Big-endian words in the file.
  std::vector<uint8_t> f = ReadFileBytes(segy);
  EXPECT_EQ(LoadBE<int32_t>(f.data() + 3600 + 20), 77);
}

TEST(HeaderWordsImport, RowsOutOfRangeWarnAndErrorsStopTheJob) {
  TempDir dir;
  std::string segy = SmallSegy(dir, "e.segy");
  WriteText(dir / "range.txt", "idx;CDP\n0;5\n9;5\n2;42\n");
  std::string log =
      kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "range.txt", segy), 0); });
  EXPECT_NE(log.find("WARNING: row 2, trace index 0 out of range"), std::string::npos);
  EXPECT_NE(log.find("WARNING: row 3, trace index 9 out of range"), std::string::npos);
  EXPECT_EQ(Load({segy})->Trace(1)->CDP, 42);

  WriteText(dir / "one.txt", "idx;CDP\n1;5\n17\n2;6\n");
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "one.txt", segy), -1); });
  EXPECT_NE(log.find("ERROR: at least two columns are needed"), std::string::npos);
  EXPECT_NE(log.find("--- Job Aborted ---"), std::string::npos);
  auto s = Load({segy});
  EXPECT_EQ(s->Trace(0)->CDP, 1200);  // all or nothing: the row before the error is not written
  EXPECT_EQ(s->Trace(1)->CDP, 42);

  WriteText(dir / "bad.txt", "idx;CDP;OFFSET\n1;x;2y\n");
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "bad.txt", segy), -1); });
  EXPECT_NE(log.find("ERROR: bad field value row=2 col=2"), std::string::npos);
  EXPECT_NE(log.find("ERROR: bad field value row=2 col=3"), std::string::npos);

  WriteText(dir / "count.txt", "idx;CDP\n1;5;6\n");
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "count.txt", segy), -1); });
  EXPECT_NE(log.find("ERROR: number of fields has changed at row 2, 3 instead of 2"), std::string::npos);

  WriteText(dir / "name.txt", "idx;ETRACL\n1;5\n");
  log = kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "name.txt", segy), -1); });
  EXPECT_NE(log.find("ERROR: no match found for 'ETRACL'"), std::string::npos);

  log = kxtest::CaptureLog(LogWarning,
                           [&] { EXPECT_EQ(ImportHeaderWords(dir / "name.txt", dir / "x.seg2"), -3); });
  EXPECT_NE(log.find("Import header words not supported for file type'.seg2'"), std::string::npos);
  kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "missing.txt", segy), -101); });
}

TEST(HeaderWordsImport, SixteenBitWordsChangeOnlyTheirBytesAndTagsAreIgnored) {
  TempDir dir;
  std::string segy = dir / "x.segy";
  fs::copy_file(kData + "/segy/segyio/small.sgy", segy);  // big-endian
  fs::permissions(segy, fs::perms::owner_read | fs::perms::owner_write);
  std::vector<uint8_t> before = ReadFileBytes(segy);
  // 65537 no longer wraps to 1: values that do not fit are refused (see below).
  WriteText(dir / "w.txt", "idx TRID SEGA nvs\n2 1 99 -3\n");
  ASSERT_EQ(ImportHeaderWords(dir / "w.txt", segy), 0);
  std::vector<uint8_t> after = ReadFileBytes(segy);
  std::size_t h = 3600 + 240 + 50 * 4;  // second trace header
  EXPECT_EQ(LoadBE<int16_t>(after.data() + h + 28), 1);
  EXPECT_EQ(LoadBE<int16_t>(after.data() + h + 30), -3);
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i < h + 28 || i >= h + 32) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  }
}

// Faults of the import, each reproduced: a bad row after good ones, values
// that do not fit their word, a word named twice. Every one must leave the
// file byte for byte as it was and name the row, the column and the line.
TEST(HeaderWordsImport, AnyBadRowWritesNothingAndIsNamed) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"idx;CDP\n1;5\n2;6\n# note\n3;x\n4;7\n", "ERROR: bad field value row=4 col=2"},
      {"idx;CDP;TRID\n1;5;1\n2;6;70000\n", "ERROR: value 70000 does not fit TRID (bytes 29-30) row=3 col=3"},
      {"idx;CDP;TRID\n1;5;-32769\n", "does not fit TRID (bytes 29-30) row=2 col=3"},
      {"idx;NS\n1;65535\n2;-1\n", "ERROR: value -1 does not fit NS (bytes 115-116) row=3 col=2"},
      {"idx;CDP;OFFSET\n1;5;2147483648\n", "ERROR: bad field value row=2 col=3"},
      {"idx;CDP;offset;cdp\n1;5;6;7\n", "ERROR: 'cdp' named twice in the title row, col=2 and col=4"},
      {"idx;CDP\n1;5\n\n2;6;7\n", "ERROR: number of fields has changed at row 3, 3 instead of 2"},
  };
  TempDir dir;
  std::string segy = SmallSegy(dir, "a.segy");
  const std::vector<uint8_t> before = ReadFileBytes(segy);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteText(dir / "in.txt", c.text);
    std::string log =
        kxtest::CaptureLog(LogWarning, [&] { EXPECT_EQ(ImportHeaderWords(dir / "in.txt", segy), -1); });
    EXPECT_NE(log.find(c.message), std::string::npos) << log;
    EXPECT_NE(log.find("of the text file"), std::string::npos) << log;
    EXPECT_EQ(ReadFileBytes(segy), before);
  }
  // The line of the text file is named, comments and blank lines counted.
  WriteText(dir / "in.txt", cases[0].text);
  std::string log = kxtest::CaptureLog(LogWarning, [&] { ImportHeaderWords(dir / "in.txt", segy); });
  EXPECT_NE(log.find("row 4 is line 5 of the text file"), std::string::npos) << log;
  // The largest values that fit are written.
  WriteText(dir / "in.txt", "idx;NS;TRID;CDP\n1;65535;-32768;-2147483648\n");
  ASSERT_EQ(ImportHeaderWords(dir / "in.txt", segy), 0);
  std::vector<uint8_t> f = ReadFileBytes(segy);
  EXPECT_EQ(LoadBE<uint16_t>(f.data() + 3600 + 114), 65535);
  EXPECT_EQ(LoadBE<int16_t>(f.data() + 3600 + 28), -32768);
  EXPECT_EQ(LoadBE<int32_t>(f.data() + 3600 + 20), INT32_MIN);
}

TEST(HeaderWordsImport, LongLinesAreReadWhole) {
  TempDir dir;
  std::string segy = SmallSegy(dir, "long.segy");
  // Padding pushes the last field far beyond 4095 characters.
  std::string pad(9000, ' ');
  WriteText(dir / "in.txt", "idx;CDP;" + pad + "OFFSET\n2;77;" + pad + "-99\n3;78;" + pad + "\n");
  ASSERT_EQ(ImportHeaderWords(dir / "in.txt", segy), 0);
  auto s = Load({segy});
  EXPECT_EQ(s->Trace(1)->CDP, 77);
  EXPECT_EQ(s->Trace(1)->OFF, -99.0f);
  EXPECT_EQ(s->Trace(2)->CDP, 78);
  EXPECT_EQ(s->Trace(2)->OFF, 0.0f);  // its empty last field keeps the word
}
}  // namespace
