#include "formats/SegyDump.h"

#include <cinttypes>
#include <cstring>
#include <string>

#include "formats/SegyLayout.h"
#include "log/Log.h"
#include "section/SeismicSection.h"

namespace {
const std::string kDashes80(80, '-');
const std::string kDashes64(64, '-');
const std::string kDashes51(51, '-');

std::string BinaryValue(const uint8_t* bh, const BinaryHeaderField& f) {
  switch (f.type) {
    case BhType::I16:
      return StrPrintf("%d", BinaryWord<int16_t>(bh, f.pos));
    case BhType::U16:
      return StrPrintf("%d", BinaryWord<uint16_t>(bh, f.pos));
    case BhType::I32:
      return StrPrintf("%d", BinaryWord<int32_t>(bh, f.pos));
    case BhType::U32:
      if (f.pos == kBhByteOrderTag) return StrPrintf("0x%08X", BinaryWord<uint32_t>(bh, f.pos));
      return StrPrintf("%u", BinaryWord<uint32_t>(bh, f.pos));
    case BhType::I64:
      return StrPrintf("%" PRId64, BinaryWord<int64_t>(bh, f.pos));
    case BhType::F64:
      return StrPrintf("%.3lf", BinaryWord<double>(bh, f.pos));
    case BhType::Revision:
      return StrPrintf("%d.%d", bh[BinaryHeaderOffset(kBhRevisionMajor)],
                       bh[BinaryHeaderOffset(kBhRevisionMinor)]);
  }
  return {};
}

int BinaryFieldBytes(BhType t) {
  switch (t) {
    case BhType::I16:
    case BhType::U16:
    case BhType::Revision:
      return 2;
    case BhType::I32:
    case BhType::U32:
      return 4;
    default:
      return 8;
  }
}

std::string TraceValue(const uint8_t* th, const TraceHeaderWord& w) {
  if (w.bytes == 6) {
    return StrPrintf("%d,%d,%d", HeaderValue<int16_t>(th, w.pos), HeaderValue<int16_t>(th, w.pos + 2),
                     HeaderValue<int16_t>(th, w.pos + 4));
  }
  if (w.bytes == 4) return StrPrintf("%d", HeaderValue<int32_t>(th, w.pos));
  if (w.isUnsigned) return StrPrintf("%u", static_cast<unsigned>(HeaderValue<uint16_t>(th, w.pos)));
  return StrPrintf("%d", HeaderValue<int16_t>(th, w.pos));
}
}  // namespace

void DumpTextualHeader(const char* text, int level) {
  LogPrint(level, "\n\n%s", kDashes80.c_str());
  LogPrint(level, " SEG-Y Textual File Header");
  LogPrint(level, "%s", kDashes80.c_str());
  // One message per line: a message is bounded, the 40 lines are not. A NUL
  // would end a line early, so it shows as a blank.
  for (int line = 0; line < 40; ++line) {
    char buf[81];
    std::memcpy(buf, text + line * 80, 80);
    for (char& c : buf) c = c == '\0' ? ' ' : c;
    buf[80] = '\0';
    LogPrint(level, "%s", buf);
  }
  LogPrint(level, "%s\n\n", kDashes80.c_str());
}

void DumpBinaryHeader(const uint8_t* bh, int level) {
  LogPrint(level, "\n\n%s", kDashes51.c_str());
  LogPrint(level, " SEG-Y Binary File Header");
  LogPrint(level, "%s", kDashes51.c_str());
  LogPrint(level, " byte ordering  %s",
           bh[kBfhByteOrderPos] == kLittleEndian ? "little endian" : "big endian");
  std::size_t n = 0;
  const BinaryHeaderField* fields = BinaryHeaderFields(&n);
  for (std::size_t i = 0; i < n; ++i) {
    const BinaryHeaderField& f = fields[i];
    if (!f.label) {
      LogPrint(level, "\n                    #### Rev %s ####", f.pos == kBhRevisionMajor ? "1.0" : "2.0");
      continue;
    }
    // Printed as positions within the 400-byte header.
    int first = BinaryHeaderBytePos(f.pos);
    int last = first + BinaryFieldBytes(f.type) - 1;
    LogPrint(level, "%28s  %03d-%03d :  %s", f.label, first, last, BinaryValue(bh, f).c_str());
  }
  LogPrint(level, "%s\n\n", kDashes51.c_str());
}

void DumpTraceHeader(const uint8_t* th, int traceNumber, int level) {
  LogPrint(level, "\n\n%s", kDashes64.c_str());
  LogPrint(level, " Trace %d   SEG-Y Header \"SEG00000\"", traceNumber);
  LogPrint(level, "%s", kDashes64.c_str());
  std::size_t n = 0;
  const TraceHeaderWord* words = TraceHeaderWords(&n);
  for (std::size_t i = 0; i < n; ++i) {
    const TraceHeaderWord& w = words[i];
    if (w.pos == kTrCdpx) LogPrint(level, "\n                         #### Rev 1.0  ####");
    LogPrint(level, "%34s  %03d-%03d :  %s", w.label, w.pos, w.pos + w.bytes - 1, TraceValue(th, w).c_str());
  }
  uint64_t tag = HeaderValue<uint64_t>(th, kTrSega);
  LogPrint(level, "                         SEG00000   233-240 :  0x%016" PRIX64, tag);
  LogPrint(level, "%s\n", kDashes64.c_str());
}
