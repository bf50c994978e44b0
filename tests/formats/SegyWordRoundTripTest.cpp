// Every numeric trace header word, and the binary header words the writer sets, encoded at its
// named position and decoded again, in both byte orders: the word table, the swap table, the
// decoder and the writer must all agree on where each word lives.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "formats/SegyBinaryHeader.h"
#include "formats/SegyLayout.h"
#include "formats/SegyWriter.h"
#include "formats/TraceHeaderDecode.h"
#include "section/SegyBytePositions.h"
#include "section/SegyWordTable.h"
#include "section/TraceRecord.h"

namespace {
struct WordCase {
  std::string name;
  int pos;    // named position: kTr... for a trace word, kBh... for a binary word
  int bytes;  // 1 (revision byte), 2 or 4
  int word;   // trace word number, 0 for a binary word
};

std::vector<WordCase> AllCases() {
  std::vector<WordCase> cases;
  for (int w = 1; w <= kSegyLastNumericWord; ++w)
    cases.push_back(
        {FindSegyWord(w)->mnemonic, kSegyTraceWordSpans[w].first, kSegyTraceWordSpans[w].bytes, w});
  cases.push_back({"BhReelNumber", kBhReelNumber, 4, 0});
  cases.push_back({"BhInterval", kBhInterval, 2, 0});
  cases.push_back({"BhSamples", kBhSamples, 2, 0});
  cases.push_back({"BhFormat", kBhFormat, 2, 0});
  cases.push_back({"BhRevisionMajor", kBhRevisionMajor, 1, 0});
  cases.push_back({"BhFixedLength", kBhFixedLength, 2, 0});
  cases.push_back({"BhExtTextCount", kBhExtTextCount, 2, 0});
  return cases;
}

// A value whose bytes all differ from zero and from each other, so a word at the wrong place or
// in the wrong order shows; 16-bit values stay positive and 32-bit ones inside float precision.
int32_t TestValue(const WordCase& c) {
  if (c.bytes == 4) return -(0x010203 + 0x100 * c.word);
  return 0x0100 + 100 + c.word;
}

void PutBytes(uint8_t* p, int32_t v, int bytes, bool big) {
  for (int i = 0; i < bytes; ++i) {
    int shift = 8 * (big ? bytes - 1 - i : i);
    p[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift);
  }
}

// Words the writer does not copy back: rewritten with its own scalars (elevations, coordinates,
// SCALEL, SCALCO, SP, SPSCAL), decoded to their low byte only (DUSE, CORR, COUNIT, HOUR, MINUTE,
// SEC, TIMBAS), taken from the trace's samples and interval (NS, DT, TIMSCAL), or not carried by
// the trace record (GRNORS .. OTRAV).
bool WriterDerives(int word) {
  static const std::set<std::string> kDerived = {
      "GELEV",  "SELEV", "SDEPTH",  "GDEL",   "SDEL",   "SWDEP",  "GWDEP", "SCALEL",
      "SCALCO", "SX",    "SY",      "GX",     "GY",     "CDPX",   "CDPY",  "SP",
      "SPSCAL", "DUSE",  "CORR",    "COUNIT", "HOUR",   "MINUTE", "SEC",   "TIMBAS",
      "NS",     "DT",    "TIMSCAL", "GRNORS", "GRNOFR", "GRNLOF", "GAPS",  "OTRAV"};
  return kDerived.count(FindSegyWord(word)->mnemonic) != 0;
}

class SegyWordRoundTrip : public testing::TestWithParam<std::tuple<WordCase, bool>> {};

TEST_P(SegyWordRoundTrip, EncodesAndDecodesAtItsNamedPosition) {
  const auto& [c, big] = GetParam();
  const int32_t v = TestValue(c);
  if (c.word > 0) {
    uint8_t h[kSegyTraceHeaderBytes] = {};
    SegyWordSet(h, c.word, v, big);
    uint8_t expected[kSegyTraceHeaderBytes] = {};
    PutBytes(expected + TraceHeaderOffset(c.pos), v, c.bytes, big);
    ASSERT_EQ(std::memcmp(h, expected, sizeof h), 0) << "stored elsewhere or in the other byte order";
    EXPECT_EQ(SegyWordGet(h, c.word, big), v);
    SwapTraceHeader(h);
    EXPECT_EQ(SegyWordGet(h, c.word, !big), v) << "the swap table misses the word";
    SwapTraceHeader(h);

    // Decoded into a record and written back by the writer, in the same byte order.
    TraceRecord* rec = TraceRecord::Allocate(0);
    ASSERT_NE(rec, nullptr);
    TraceDecodeContext ctx;
    ctx.bigEndian = big;
    DecodeTraceHeader(h, nullptr, ctx, rec);
    uint8_t out[kSegyTraceHeaderBytes];
    BuildSegyTraceHeader(*rec, 0, big, out);
    TraceRecord::Free(rec);
    if (!WriterDerives(c.word)) {
      EXPECT_EQ(SegyWordGet(out, c.word, big), v) << "decoder and writer disagree";
    }
    return;
  }

  // A binary header as read from a file of that byte order, revision 1, format 5.
  uint8_t bh[kSegyBinaryBytes] = {};
  PutBytes(bh + BinaryHeaderOffset(kBhFormat), 5, 2, big);
  bh[BinaryHeaderOffset(kBhRevisionMajor)] = 1;
  const int32_t value = c.pos == kBhFormat          ? 5
                        : c.pos == kBhRevisionMajor ? 1
                        : c.pos == kBhFixedLength   ? 1
                                                    : v;
  if (c.bytes == 1) {
    bh[BinaryHeaderOffset(c.pos)] = static_cast<uint8_t>(value);
  } else {
    PutBytes(bh + BinaryHeaderOffset(c.pos), value, c.bytes, big);
  }
  SegyFileInfo info;
  ASSERT_EQ(PrepareBinaryHeader(bh, 0, BinaryHeaderMode::kDetect, &info), 0);
  EXPECT_EQ(info.bigEndian, big);
  int32_t got = c.bytes == 1   ? bh[BinaryHeaderOffset(c.pos)]
                : c.bytes == 2 ? BinaryWord<int16_t>(bh, c.pos)
                               : BinaryWord<int32_t>(bh, c.pos);
  EXPECT_EQ(got, value);
  if (c.pos == kBhFormat) {
    EXPECT_EQ(info.formatCode, value);
  }
  if (c.pos == kBhRevisionMajor) {
    EXPECT_EQ(info.revision, value);
  }
  if (c.pos == kBhFixedLength) {
    EXPECT_EQ(info.fixedLength, value);
  }
  if (c.pos == kBhExtTextCount) {
    EXPECT_EQ(info.extTextCount, value);
  }
}

INSTANTIATE_TEST_SUITE_P(AllWords, SegyWordRoundTrip,
                         testing::Combine(testing::ValuesIn(AllCases()), testing::Bool()),
                         [](const testing::TestParamInfo<SegyWordRoundTrip::ParamType>& info) {
                           return std::get<0>(info.param).name +
                                  (std::get<1>(info.param) ? "_Big" : "_Little");
                         });
}  // namespace
