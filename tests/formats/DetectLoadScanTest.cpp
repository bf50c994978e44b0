// Type detection, loading lists of files, the header scan and the dumps.
#include <gtest/gtest.h>

#include "SegyTestUtil.h"
#include "formats/DetectFileType.h"
#include "formats/DumpHeaders.h"
#include "formats/HeaderScan.h"
#include "formats/LoadFileList.h"
#include "formats/ReaderTable.h"
#include "formats/SeismicFile.h"
#include "section/SeismicSection.h"
#include "support/LogCapture.h"

using kxtest::LogCapture;
using kxtest::ReadFileBytes;
using segytest::DataPath;
using segytest::SegyBuilder;
using segytest::WriteTemp;

namespace {
SegyBuilder Traces(bool big, int count, int ns = 4, int firstFldr = 1) {
  SegyBuilder b(big);
  b.Bin16(17, 2000);
  b.Bin16(21, ns);
  for (int i = 0; i < count; ++i) {
    int t = b.AddTrace(ns, 2000, std::vector<float>(static_cast<std::size_t>(ns), static_cast<float>(i)));
    b.Tr32(t, 9, firstFldr + i);
  }
  return b;
}

int Detect(const std::string& path, int takeDigits = 0, int32_t* tag = nullptr) {
  LoadParams p;
  p.takeNameDigits = takeDigits;
  int code = DetectFileType(path, p);
  if (tag) *tag = p.loadTag;
  return code;
}
}  // namespace

TEST(DetectFileType, ExtensionDecidesWhateverTheContent) {
  std::vector<uint8_t> junk(100, 7);
  EXPECT_EQ(Detect(WriteTemp("LINE1.SGY", junk)), kFileSegy);
  EXPECT_EQ(Detect(WriteTemp("a.segy", junk)), kFileSegy);
  EXPECT_EQ(Detect(WriteTemp("data.dat", junk)), kFileSeg2);
  EXPECT_EQ(Detect(WriteTemp("x.Sg2", junk)), kFileSeg2);
  EXPECT_EQ(Detect(WriteTemp("x.su", junk)), kFileSu);
  EXPECT_EQ(Detect(WriteTemp("x.VMS", junk)), kFileQlmVms);
  EXPECT_EQ(PathExtension("dir.v2/name"), "");
  EXPECT_EQ(PathExtension("C:\\data.d\\shot.SGY"), ".SGY");
}

TEST(DetectFileType, ContentWhenTheExtensionSaysNothing) {
  std::vector<uint8_t> seg2 = {0x3A, 0x55, 1, 0};
  seg2.resize(64, 0);
  EXPECT_EQ(Detect(WriteTemp("x.bin", seg2)), kFileSeg2);
  seg2[0] = 0x55, seg2[1] = 0x3A;
  EXPECT_EQ(Detect(WriteTemp("y.bin", seg2)), kFileSeg2);

  SegyBuilder su = Traces(false, 3);
  EXPECT_EQ(Detect(WriteTemp("su_noext", su.Su())), kFileSu);
  SegyBuilder su2 = Traces(false, 3);
  su2.Tr16(1, 117, 1000);  // the second trace differs: not SU, read as SEG-Y
  LogCapture log;
  EXPECT_EQ(Detect(WriteTemp("su_differs", su2.Su())), kFileUnknown);
  EXPECT_TRUE(log.Contains("WARNING: unrecognized file type"));
  EXPECT_EQ(Detect(WriteTemp("segy_noext", Traces(true, 3).Segy())), kFileSegy);
  EXPECT_EQ(Detect(WriteTemp("segy_le_noext", Traces(false, 3).Segy())), kFileSegy);
  SegyBuilder ext = Traces(true, 3);  // extended headers: the first trace is not at 3600
  ext.Revision(1, 0);
  ext.Bin16(305, 1);
  ext.AddExtText("C01 more text");
  EXPECT_EQ(Detect(WriteTemp("segy_ext_noext", ext.Segy())), kFileUnknown);
  EXPECT_EQ(Detect((segytest::SharedDir() / "missing_file").string()), kFileUnknown);
}

TEST(DetectFileType, LoadTagFromTheLastDigitsOfTheName) {
  std::vector<uint8_t> junk(10, 0);
  int32_t tag = 0;
  Detect(WriteTemp("A12B_0045.sgy", junk), 1, &tag);
  EXPECT_EQ(tag, 45);
  Detect(WriteTemp("line.sgy", junk), 1, &tag);
  EXPECT_EQ(tag, -1);
  Detect(WriteTemp("A12B_0045.sgy", junk), 0, &tag);
  EXPECT_EQ(tag, -1);
  EXPECT_EQ(NameDigitsTag("/d7/shot_0123.sgy"), 123);
  EXPECT_EQ(NameDigitsTag("/d7/shot.sgy"), -1);
}

TEST(LoadFileList, FirstFileWithTracesSuppliesTheHeaders) {
  std::string bad = WriteTemp("first_bad.sgy", std::vector<uint8_t>(100, 0));
  SegyBuilder b = Traces(true, 10);
  std::memcpy(b.Text().data(), "C01 SECOND FILE", 15);
  SegyBuilder c = Traces(false, 12, 4, 500);
  std::memcpy(c.Text().data(), "C01 THIRD FILE", 14);
  std::vector<std::string> paths = {bad, WriteTemp("second.sgy", b.Segy()), WriteTemp("third.sgy", c.Segy())};
  SeismicSection s;
  LoadParams p;
  EXPECT_EQ(LoadFileList(s, paths, p), 0);
  ASSERT_EQ(s.Count(), 22);
  EXPECT_EQ(p.fileCount, 3);
  EXPECT_EQ(std::string(s.m_textualHeader, 15), "C01 SECOND FILE");
  EXPECT_EQ(s.ByteOrder(), kBigEndian);
  EXPECT_EQ(s.Trace(0)->TRF, 2);
  EXPECT_EQ(s.Trace(9)->TRF, 2);
  EXPECT_EQ(s.Trace(10)->TRF, 3);
  EXPECT_EQ(s.Trace(10)->FLDR, 500);
  EXPECT_EQ(s.Trace(21)->TRNO, 22);
  EXPECT_EQ(s.Trace(21)->LTAG, -1);
  EXPECT_EQ(ReaderForFileType(99), nullptr);
}

TEST(HeaderScan, RangesOffsetsAndExport) {
  SegyBuilder b = Traces(true, 9, 5);
  std::string path = WriteTemp("scan.sgy", b.Segy());
  {  // offset list mode: every trace, file kept open for writing back
    SeismicSection s(2);
    HeaderScanParams p;
    p.path = path;
    p.flags = kScanRecordOffsets;
    p.firstTrace = 4;
    p.keepOpen = true;
    EXPECT_EQ(ReadHeadersOnly(s, p, 1), 9);
    ASSERT_TRUE(p.file);
    EXPECT_TRUE(p.bigEndian);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(s.m_offsets[i], 3600 + i * (240 + 5 * 4));
    EXPECT_EQ(s.m_offsets[9], -1);
  }
  {  // export mode: host-order headers of the range, with their positions
    SeismicSection s(2);
    HeaderScanParams p;
    p.path = path;
    p.flags = kScanExportWords;
    p.firstTrace = 3;
    p.lastTrace = 5;
    std::vector<std::pair<int, int32_t>> seen;
    p.exportTrace = [&](const uint8_t* h, int32_t n) {
      int32_t fldr;
      std::memcpy(&fldr, h + 8, 4);
      seen.push_back({n, fldr});
    };
    EXPECT_EQ(ReadHeadersOnly(s, p, 1), 5);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int32_t>>{{3, 3}, {4, 4}, {5, 5}}));
    EXPECT_FALSE(p.file);
  }
  {  // SU, little-endian, with a range that runs past the end
    SeismicSection s(2);
    HeaderScanParams p;
    p.path = WriteTemp("scan.su", Traces(false, 4).Su());
    p.flags = kScanExportWords;
    p.firstTrace = 2;
    p.lastTrace = 100;
    int calls = 0;
    p.exportTrace = [&](const uint8_t*, int32_t) { ++calls; };
    EXPECT_EQ(ReadHeadersOnly(s, p, 2), 4);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(ReadHeadersOnly(s, p, 7), -3);
  }
}

TEST(DumpHeaders, LayoutsAndTraceRange) {
  SegyBuilder b = Traces(true, 8);
  b.Revision(1, 0);
  b.Bin16(303, 1);
  std::memcpy(b.Text().data(), "C01 HELLO", 9);
  std::string path = WriteTemp("dump.sgy", b.Segy());
  LogCapture log;
  EXPECT_EQ(DumpHeadersFile(path, 0x13, 5, 7), 0);
  std::string text = log.Text();
  EXPECT_NE(text.find("##################\n# file: dump.sgy #\n##################"), std::string::npos);
  EXPECT_NE(text.find(" SEG-Y Textual File Header\n" + std::string(80, '-') + "\nC01 HELLO"),
            std::string::npos);
  EXPECT_NE(text.find(" byte ordering  big endian"), std::string::npos);
  EXPECT_NE(text.find("     data sample format code  025-026 :  5\n"), std::string::npos);
  EXPECT_NE(text.find("              SEG-Y revision  301-302 :  1.0\n"), std::string::npos);
  EXPECT_NE(text.find("      sampling interval (us)  017-018 :  2000\n"), std::string::npos);
  EXPECT_NE(text.find("           byte ordering tag  097-100 :  0x00000000"), std::string::npos);
  EXPECT_NE(text.find("\n                    #### Rev 1.0 ####"), std::string::npos);
  EXPECT_EQ(text.find(" Trace 4   SEG-Y Header"), std::string::npos);
  EXPECT_NE(text.find(" Trace 5   SEG-Y Header \"SEG00000\""), std::string::npos);
  EXPECT_NE(text.find(" Trace 7   SEG-Y Header"), std::string::npos);
  EXPECT_EQ(text.find(" Trace 8   SEG-Y Header"), std::string::npos);
  EXPECT_NE(text.find("          original field record no  009-012 :  7\n"), std::string::npos);
  EXPECT_NE(text.find("                 number of samples  115-116 :  4\n"), std::string::npos);
  EXPECT_NE(text.find("           source energy direction  219-224 :  0,0,0\n"), std::string::npos);
  EXPECT_NE(text.find("                         SEG00000   233-240 :  0x0000000000000000"),
            std::string::npos);
  EXPECT_EQ(DumpHeadersFile(path, 0x40, 1, 1), 0);
  EXPECT_EQ(DumpHeadersFile((segytest::SharedDir() / "nofile.sgy").string(), 2, 1, 1), -101);
}

TEST(SeismicFile, ModesAndFailure) {
  SeismicSection s;
  std::string path = (segytest::SharedDir() / "open_modes.bin").string();
  {
    SeismicFile f = OpenSeismicFile(&s, path, "wbS");
    ASSERT_TRUE(f);
    EXPECT_EQ(std::fputs("abc", f.Stream()), 1);
  }
  EXPECT_EQ(s.m_fileName, path);
  SeismicFile r = OpenSeismicFile(nullptr, path, "r+bS");
  ASSERT_TRUE(r);
  EXPECT_EQ(r.SizeAtOpen(), 3);
  EXPECT_FALSE(OpenSeismicFile(nullptr, path, "rb"));
  LogCapture log;
  EXPECT_FALSE(OpenSeismicFile(nullptr, path + ".none", "rbS"));
  EXPECT_TRUE(log.Contains("ERROR: Cannot open seismic file (mode 'rbS')"));
}
