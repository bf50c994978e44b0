// SEG-D general header decoding: BCD rules, the three revisions of General
// Header #2, the log lines in their order, and a real file written by a
// recording system.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "formats/ReaderTable.h"
#include "formats/SegdReader.h"
#include "log/Log.h"
#include "section/SeismicSection.h"
#include "support/ByteWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;

fs::path TempFile(const std::string& name) {
  static const kxtest::TempDir dir("kx_segd");
  return fs::path(dir.Path()) / name;
}

using kxtest::LogCapture;
using kxtest::ReadFileBytes;
using kxtest::WriteFileBytes;

// A General Header #1 with two additional blocks and the given year byte.
std::vector<uint8_t> Header1(uint8_t year = 0x05, uint8_t addBlocks = 1) {
  std::vector<uint8_t> b(32, 0);
  b[0] = 0x12, b[1] = 0x34;  // file 1234
  b[2] = 0x80, b[3] = 0x58;  // format 8058
  b[10] = year;
  b[11] = static_cast<uint8_t>(addBlocks << 4 | 0x2);  // day hundreds 2
  b[12] = 0x45;                                        // day 245
  b[13] = 0x23, b[14] = 0x59, b[15] = 0x07;
  b[16] = 0x34;
  b[17] = 0x00, b[18] = 0x99;
  b[22] = 8;     // 0.5 ms
  b[23] = 0x30;  // polarity 3
  b[25] = 0x80;  // record type 8, hundreds 0
  b[26] = 0x50;  // record length 50 x 0.1024 s
  b[27] = 0x01, b[28] = 0x12, b[29] = 0x00, b[30] = 0x03, b[31] = 0x04;
  return b;
}

std::vector<uint8_t> Header2(uint8_t major) {
  std::vector<uint8_t> b(32, 0);
  b[10] = major;
  b[11] = 0;
  return b;
}

TEST(SegdHeader, BcdYearsDaysAndRecordLength) {
  SegdGeneralHeader h;
  DecodeSegdHeader1(Header1(0x99).data(), &h);
  EXPECT_EQ(h.year, 1999);
  DecodeSegdHeader1(Header1(0x05).data(), &h);
  EXPECT_EQ(h.year, 2005);
  DecodeSegdHeader1(Header1(0xFF).data(), &h);
  EXPECT_EQ(h.year, 0);
  EXPECT_EQ(h.fileNumber, 1234);
  EXPECT_EQ(h.formatCode, 8058);
  EXPECT_EQ(h.additionalBlocks, 1);
  EXPECT_EQ(h.day, 245);
  EXPECT_EQ(h.hour, 23);
  EXPECT_EQ(h.minute, 59);
  EXPECT_EQ(h.second, 7);
  EXPECT_EQ(h.manufacturerCode, 34);
  EXPECT_EQ(h.manufacturerSerial, 99);
  EXPECT_EQ(h.baseScanInterval, 8);
  EXPECT_EQ(h.polarity, 3);
  EXPECT_EQ(h.recordType, 8);
  EXPECT_DOUBLE_EQ(h.recordLength, 5.12);
  EXPECT_EQ(h.channelSets, 12);
  EXPECT_EQ(h.externalBlocks, 4);

  // Not-recorded markers: a hundreds nibble of F and a byte of FF are 0.
  auto b = Header1();
  b[11] = 0x1F, b[12] = 0xFF, b[25] = 0x1F, b[26] = 0xFF, b[0] = 0xFF, b[1] = 0xFF;
  DecodeSegdHeader1(b.data(), &h);
  EXPECT_EQ(h.day, 0);
  EXPECT_EQ(h.recordLength, 0.0);
  EXPECT_EQ(h.fileNumber, 0);
  b[25] = 0x01, b[26] = 0x23;
  DecodeSegdHeader1(b.data(), &h);
  EXPECT_DOUBLE_EQ(h.recordLength, 123 * 0.1024);
  EXPECT_EQ(DecodeBcdByte(0x00), 0);
  EXPECT_EQ(DecodeBcdByte(0x42), 42);
}

TEST(SegdHeader, NoAdditionalBlockGivesZeroAndLogsNothing) {
  fs::path p = TempFile("noadd.segd");
  WriteFileBytes(p, Header1(0x05, 0));  // #2 absent: must not even be read
  SeismicSection section;
  SegdGeneralHeader h;
  LogCapture log;
  EXPECT_EQ(ReadSegdHeaders(section, p.string(), &h), 0);
  auto lines = log.TextLines();
  ASSERT_EQ(lines.size(), 1u);  // only the loading line of the opening step
  EXPECT_EQ(lines[0], "Loading SEG-D file '" + p.string() + "'");
  EXPECT_EQ(section.Count(), 0);
  fs::remove(p);
}

TEST(SegdHeader, Revision2RecordLengthAndLogOrder) {
  auto b = Header1();
  auto g2 = Header2(2);
  g2[0] = 0, g2[1] = 0x01, g2[2] = 0x00;  // expanded file number 256
  g2[3] = 0, g2[4] = 0;                   // channel sets: keep #1's
  g2[5] = 0, g2[6] = 7;                   // extended header blocks
  g2[7] = 0, g2[8] = 0;                   // external: keep #1's
  g2[12] = 0, g2[13] = 2;
  g2[14] = 0x00, g2[15] = 0x17, g2[16] = 0x70;  // 6000 ms
  g2[18] = 2;
  g2[20] = 0x01, g2[21] = 0x02;  // sequence 258
  b.insert(b.end(), g2.begin(), g2.end());
  fs::path p = TempFile("rev2.segd");
  WriteFileBytes(p, b);
  SeismicSection section;
  SegdGeneralHeader h;
  LogCapture log;
  EXPECT_EQ(ReadSegdHeaders(section, p.string(), &h), -1);
  EXPECT_DOUBLE_EQ(h.recordLength, 6.0);
  EXPECT_EQ(h.fileNumber, 256);
  EXPECT_EQ(h.channelSets, 12);
  EXPECT_EQ(h.extendedBlocks, 7);
  EXPECT_EQ(h.externalBlocks, 4);
  EXPECT_EQ(h.trailerBlocks, 2);
  EXPECT_EQ(h.sequenceNumber, 258);
  std::vector<std::string> expected = {
      "Loading SEG-D file '" + p.string() + "'",
      "rev 2.0",
      "#2 expanded file number = 256",
      "#2 num chan sets/scanType = 0",
      "#2 num extended header blocks = 7",
      "#2 num external header blocks = 0",
      "#2 num general trailer blocks = 2",
      "#2 record length = 6000 ms",
      "#2 general header block number = 2",
      "#2-3 sequence number = 258",
      "filename = 256",
      "fmtCode = 8058",
      "year = 2005",
      "num add blocks in GH = 1",
      "day = 245",
      "hour = 23",
      "min  = 59",
      "scnd = 7",
      "manufacturer code = 34",
      "manufacturer serialNum = 99",
      "scanInterval = 8 x 1/16ms = 0.500ms",
      "polarity = 3",
      "recType = 8",
      "recLen=6.000000000 s",
      "numscanType = 1",
      "numChanSet = 12",
      "numSkew = 0",
      "num extendedHeader = 7",
      "num externalHeader = 4",
      "num Ext Additional blks in Gen Hdr = 0",
  };
  EXPECT_EQ(log.TextLines(), expected);
  EXPECT_EQ(section.Count(), 0);
  fs::remove(p);
}

TEST(SegdHeader, Revision3CountsAndTopBitRule) {
  SegdGeneralHeader h;
  DecodeSegdHeader1(Header1().data(), &h);
  auto g2 = Header2(3);
  g2[5] = 0x01, g2[6] = 0x00, g2[7] = 0x01;                    // extended 65537 ...
  g2[8] = 0x01, g2[9] = 0x2C;                                  // external 300
  g2[12] = 0x80, g2[15] = 0x05;                                // trailer with top bit: not taken
  g2[16] = 0x00, g2[17] = 0x2D, g2[18] = 0xC6, g2[19] = 0xC0;  // 3,000,000 us
  g2[22] = 0x00, g2[23] = 0x09;                                // ... replaced by 9
  g2[24] = 0x00, g2[25] = 0x01, g2[26] = 0xF4;                 // dominant interval 500
  g2[27] = 0, g2[28] = 0, g2[29] = 3;
  g2[31] = 0x02;
  LogCapture log;
  DecodeSegdHeader2(g2.data(), &h);
  LogSegdSummary(h);
  EXPECT_EQ(h.externalBlocks, 300);
  EXPECT_EQ(h.extendedBlocks, 9);
  EXPECT_EQ(h.trailerBlocks, 0);
  EXPECT_DOUBLE_EQ(h.recordLength, 3.0);
  EXPECT_EQ(h.dominantInterval, 500);
  EXPECT_EQ(h.extAdditionalBlocks, 3);
  auto lines = log.TextLines();
  std::vector<std::string> head(lines.begin(), lines.begin() + 12);
  std::vector<std::string> expected = {
      "rev 3.0",
      "#2 expanded file number = 0",
      "#2 num chan sets/scanType = 0",
      "#3 num extended header blocks = 65537",
      "#3 num external header blocks = 300",
      "#3 num general trailer blocks = -2147483643",
      "#3 record length = 3000000 us",
      "#3 num extended header blocks = 9",
      "#3 Dominant Sampling Interval = 500",
      "#3 num Ext Additional blks in Gen Hdr = 3",
      "#3 Header Block Type = 2",
      "#2-3 sequence number = 0",
  };
  EXPECT_EQ(head, expected);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "num externalHeader = 300"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "num Ext Additional blks in Gen Hdr = 3"), lines.end());

  // A record length with the top bit set leaves #1's value.
  DecodeSegdHeader1(Header1().data(), &h);
  g2[16] = 0x80;
  DecodeSegdHeader2(g2.data(), &h);
  EXPECT_DOUBLE_EQ(h.recordLength, 5.12);
}

TEST(SegdHeader, Revision1HasNoSequenceNumber) {
  SegdGeneralHeader h;
  DecodeSegdHeader1(Header1().data(), &h);
  auto g2 = Header2(1);
  g2[20] = 0x12;
  LogCapture log;
  DecodeSegdHeader2(g2.data(), &h);
  EXPECT_EQ(h.sequenceNumber, 0);
  for (const auto& l : log.TextLines()) EXPECT_EQ(l.find("sequence"), std::string::npos) << l;
}

TEST(SegdHeader, ShortFilesFailWithReadError) {
  auto b = Header1();
  SeismicSection section;
  SegdGeneralHeader h;
  for (std::size_t cut : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{63}}) {
    std::vector<uint8_t> bytes = b;
    bytes.resize(32 + 32, 0);
    bytes.resize(cut);
    fs::path p = TempFile("short.segd");
    WriteFileBytes(p, bytes);
    LogCapture log;
    EXPECT_EQ(ReadSegdHeaders(section, p.string(), &h), -104) << cut;
    std::string which = cut < 32 ? "#1" : "#2";
    auto lines = log.TextLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "ERROR: Failed to read SEG-D 32-byte General Header " + which),
        lines.end())
        << cut;
    fs::remove(p);
  }
  EXPECT_EQ(ReadSegdHeaders(section, TempFile("missing.segd").string(), &h), -101);
  EXPECT_EQ(section.Count(), 0);
}

TEST(SegdHeader, RealFileFromRecordingSystem) {
  const std::string path = std::string(KX_TEST_DATA_DIR) + "/segd/seisunix/3stomp_test.segd";
  SeismicSection section;
  SegdGeneralHeader h;
  LoadParams params;
  LogCapture log;
  EXPECT_EQ(ReadSegd(section, path, params), -1);
  EXPECT_EQ(section.Count(), 0);
  EXPECT_TRUE(log.Contains("only its general headers are decoded; no traces are loaded"));
  EXPECT_EQ(ReadSegdHeaders(section, path, &h), -1);
  EXPECT_EQ(h.fileNumber, 1);
  EXPECT_EQ(h.formatCode, 8058);
  EXPECT_EQ(h.year, 2003);
  EXPECT_EQ(h.additionalBlocks, 2);
  EXPECT_EQ(h.day, 126);
  EXPECT_EQ(h.hour, 11);
  EXPECT_EQ(h.minute, 38);
  EXPECT_EQ(h.second, 35);
  EXPECT_EQ(h.manufacturerCode, 13);
  EXPECT_EQ(h.baseScanInterval, 16);
  EXPECT_EQ(h.recordType, 8);
  EXPECT_EQ(h.scanTypes, 1);
  EXPECT_EQ(h.channelSets, 16);
  EXPECT_EQ(h.extendedBlocks, 32);
  EXPECT_EQ(h.externalBlocks, 32);
  EXPECT_EQ(h.revisionMajor, 1);
  EXPECT_EQ(h.revisionMinor, 0);
  EXPECT_DOUBLE_EQ(h.recordLength, 4.0);  // #1 says "not recorded"; #2 gives 4000 ms
  auto lines = log.TextLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "scanInterval = 16 x 1/16ms = 1.000ms"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "#2 general header block number = 2"), lines.end());
}

TEST(SegdHeader, CorruptHeadersNeverCrash) {
  const std::string path = std::string(KX_TEST_DATA_DIR) + "/segd/seisunix/3stomp_test.segd";
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> head(64);
  in.read(reinterpret_cast<char*>(head.data()), 64);
  ASSERT_EQ(in.gcount(), 64);
  LogSetThreshold(-1);  // thousands of decodes: keep the log quiet
  for (std::size_t bit = 0; bit < head.size() * 8; ++bit) {
    std::vector<uint8_t> b = head;
    b[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    SegdGeneralHeader h;
    DecodeSegdHeader1(b.data(), &h);
    DecodeSegdHeader2(b.data() + 32, &h);
    // A flipped bit may make a BCD digit above 9: reported as invalid, never a wrong number.
    EXPECT_TRUE(h.day >= 0 || h.day == kBcdInvalid) << bit;
    EXPECT_TRUE(h.recordLength >= 0.0 || h.recordLength == -1.0) << bit;
  }
  for (uint8_t major : {0, 1, 2, 3, 4, 0xFF}) {
    std::vector<uint8_t> g2(32, 0xFF);
    g2[10] = major;
    SegdGeneralHeader h;
    DecodeSegdHeader2(g2.data(), &h);
    EXPECT_GE(h.recordLength, 0.0);
  }
  LogSetThreshold(kLogDefaultThreshold);
}
}  // namespace

namespace {
// Runs kxtool with the arguments; gives its exit status and standard output.
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

TEST(SegdHeader, DispatchAndCommandLine) {
  EXPECT_EQ(ReaderForFileType(kFileSegd), &ReadSegd);
  // A SEG-D file in a load adds nothing, and the load goes on.
  const std::string path = std::string(KX_TEST_DATA_DIR) + "/segd/seisunix/3stomp_test.segd";
  std::string out;
  ASSERT_EQ(RunKxtool("segd " + path, &out), 0);
  EXPECT_NE(out.find("result = -1\nrevision = 1.0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("format_code = 8058\n"), std::string::npos);
  EXPECT_NE(out.find("day_of_year = 126\n"), std::string::npos);
  EXPECT_NE(out.find("record_length_s = 4.000000000\n"), std::string::npos);
  EXPECT_EQ(RunKxtool("segd " + TempFile("none.segd").string(), &out), 1);
  EXPECT_NE(out.find("result = -101"), std::string::npos);
  EXPECT_EQ(RunKxtool("segd", &out), 2);
}
}  // namespace
