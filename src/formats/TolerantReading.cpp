// The checks read with positioned reads on the descriptor: they leave the caller's stream where
// it stands, and each reads at most a few headers (the stanza search a run of text blocks).
#include "formats/TolerantReading.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "formats/SegyLayout.h"
#include "log/Log.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
constexpr int64_t kTh = kSegyTraceHeaderBytes;
constexpr double kDefaultIntervalUs = 4000.0;

bool ReadAt(int fd, void* dst, std::size_t n, int64_t offset) {
  if (offset < 0) return false;
  return ::pread(fd, dst, n, static_cast<off_t>(offset)) == static_cast<ssize_t>(n);
}

bool SameSampling(const uint8_t* a, const uint8_t* b) {
  return std::memcmp(a + TraceHeaderOffset(kTrNs), b + TraceHeaderOffset(kTrNs), 4) == 0;
}

// A block of ASCII or EBCDIC text, as extended textual headers are.
bool LooksLikeText(const uint8_t* block) {
  if (TextIsEbcdic(block, kSegyTextBytes)) return true;
  int printable = 0;
  for (int i = 0; i < kSegyTextBytes; ++i)
    printable +=
        (block[i] >= 0x20 && block[i] < 0x7F) || block[i] == '\n' || block[i] == '\r' || block[i] == 0;
  return printable >= kSegyTextBytes * 9 / 10;
}

// The blocks up to and with the end stanza, or 0 when a block before it is not text or the file ends.
int CountStanzaBlocks(int fd, int64_t fileSize) {
  std::vector<uint8_t> block(kSegyTextBytes);
  for (int n = 0;; ++n) {
    int64_t at = kSegyFirstTraceDefault + static_cast<int64_t>(n) * kSegyTextBytes;
    if (at + kSegyTextBytes > fileSize || !ReadAt(fd, block.data(), block.size(), at)) return 0;
    if (IsEndTextStanza(block.data())) return n + 1;
    if (!LooksLikeText(block.data())) return 0;
  }
}
}  // namespace

LineUp SegyTracesLineUp(int fd, int64_t fileSize, int64_t at, const SegyFileInfo& info, uint32_t extensions) {
  uint8_t h[kTh], x[kTh];
  if (info.bytesPerSample <= 0 || !ReadAt(fd, h, sizeof h, at)) return LineUp::kNo;
  int64_t ns = LoadWord<uint16_t>(h + TraceHeaderOffset(kTrNs), info.bigEndian);
  if (extensions > 0) {
    if (!ReadAt(fd, x, sizeof x, at + kTh)) return LineUp::kNo;
    if (uint32_t xn = LoadWord<uint32_t>(x + ExtensionOffset(kTx1Samples), info.bigEndian)) ns = xn;
    if (uint16_t own = LoadWord<uint16_t>(x + ExtensionOffset(kTx1HeaderCount), info.bigEndian))
      extensions = own;
  }
  if (ns == 0 || (info.revision >= 1 && info.fixedLength == 1 && info.samples > 0)) ns = info.samples;
  if (ns <= 0) return LineUp::kNo;
  const int64_t bytes = kTh * (1 + static_cast<int64_t>(extensions)) + ns * info.bytesPerSample;
  const int64_t rest = fileSize - at;
  if (rest < bytes) return LineUp::kNo;
  if (rest % bytes == 0) return LineUp::kExact;
  uint8_t next[kTh];
  if (!ReadAt(fd, next, sizeof next, at + bytes)) return LineUp::kNo;
  return SameSampling(h, next) ? LineUp::kNextHeader : LineUp::kNo;
}

int TolerantRev0ExtText(int fd, int64_t fileSize, const uint8_t* rawBh, const SegyFileInfo& info) {
  const int count = LoadWord<int16_t>(rawBh + BinaryHeaderOffset(kBhExtTextCount), info.bigEndian);
  if (count == 0 || count < -1) return 0;
  const int blocks = count == -1 ? CountStanzaBlocks(fd, fileSize) : count;
  if (blocks <= 0) return 0;
  const int64_t first = kSegyFirstTraceDefault + static_cast<int64_t>(blocks) * kSegyTextBytes;
  LineUp after = SegyTracesLineUp(fd, fileSize, first, info, 0);
  if (after <= SegyTracesLineUp(fd, fileSize, kSegyFirstTraceDefault, info, 0)) return 0;
  if (count == -1) {
    LogPrint(LogWarning,
             "WARNING: tolerant reading: revision 0 file with a variable number (-1) of extended textual "
             "headers: the \"((SEG: EndText))\" stanza ends them after %d blocks, and the traces line up "
             "after them; read as extended textual headers",
             blocks);
  } else {
    LogPrint(LogWarning,
             "WARNING: tolerant reading: revision 0 file announcing %d extended textual header blocks "
             "(bytes 3505-3506), which revision 0 does not have; the traces line up after them, so they "
             "are read as such",
             blocks);
  }
  return blocks;
}

bool TolerantRev2Layout(int fd, int64_t fileSize, int64_t at, uint8_t* bh, SegyFileInfo* info,
                        const std::string& repaired) {
  const uint32_t declared = info->maxExtensions;
  struct Choice {
    uint32_t extensions;
    const char* why;
  };
  std::vector<Choice> choices{{declared, nullptr}};
  if (declared > 65535) {
    // Some writers put a 16-bit count into this 32-bit field.
    choices = {{declared >> 16, "its upper 16 bits read as a 16-bit count"}};
    if ((declared & 0xFFFFu) != 0)
      choices.push_back({declared & 0xFFFFu, "its lower 16 bits read as a 16-bit count"});
    choices.push_back({0, "the traces carry none"});
  }
  const Choice* chosen = nullptr;
  for (LineUp want : {LineUp::kExact, LineUp::kNextHeader}) {
    for (const Choice& c : choices) {
      if (!chosen && SegyTracesLineUp(fd, fileSize, at, *info, c.extensions) == want) chosen = &c;
    }
  }
  if (!chosen) return false;
  if (!repaired.empty()) {
    LogPrint(LogWarning,
             "WARNING: tolerant reading: implausible SEG-Y rev 2.0 binary header fields ignored: %s; the "
             "traces line up without them",
             repaired.c_str());
  }
  if (chosen->why) {
    LogPrint(LogWarning,
             "WARNING: tolerant reading: SEG-Y rev 2.0 max number of THE %u is implausible (above 65535); "
             "assuming %u (%s), with which the traces line up",
             declared, chosen->extensions, chosen->why);
    SetBinaryWord<uint32_t>(bh, kBhMaxExtensions, chosen->extensions);
    info->maxExtensions = chosen->extensions;
  }
  return true;
}

bool SuLinesUp(int fd, int64_t fileSize, bool bigEndian) {
  uint8_t h[kTh], next[kTh];
  if (!ReadAt(fd, h, sizeof h, 0)) return false;
  const int64_t ns = LoadWord<uint16_t>(h + TraceHeaderOffset(kTrNs), bigEndian);
  const int dt = LoadWord<int16_t>(h + TraceHeaderOffset(kTrDt), bigEndian);
  if (ns == 0 || dt < 0) return false;
  const int64_t bytes = kTh + ns * 4;
  if (fileSize % bytes != 0) return false;
  if (fileSize == bytes) return true;
  return ReadAt(fd, next, sizeof next, bytes) && SameSampling(h, next);
}

int SuByteOrderByContent(int fd, int64_t fileSize) {
  if (SuLinesUp(fd, fileSize, false)) return kLittleEndian;
  if (SuLinesUp(fd, fileSize, true)) return kBigEndian;
  return 0;
}

bool TolerantSuByteOrder(int fd, int64_t fileSize, bool guessBig) {
  if (SuLinesUp(fd, fileSize, guessBig) || !SuLinesUp(fd, fileSize, !guessBig)) return guessBig;
  LogPrint(LogWarning,
           "WARNING: tolerant reading: SU file read as %s-endian: in that byte order its trace headers give "
           "a sample count and interval that fit the file, in the order the first interval suggests they do "
           "not",
           guessBig ? "little" : "big");
  return !guessBig;
}

double TolerantIntervalUs(int32_t givenUs, double binaryUs, const char** why) {
  if (givenUs > 0) {
    *why = "the interval given for tolerant reading";
    return givenUs;
  }
  if (binaryUs > 0.0) {
    *why = "the binary header's";
    return binaryUs;
  }
  *why = "the usual default of 4 ms";
  return kDefaultIntervalUs;
}
