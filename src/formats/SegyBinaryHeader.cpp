#include "formats/SegyBinaryHeader.h"

#include <cinttypes>
#include <cstring>

#include "formats/SegyDump.h"
#include "formats/SegyLayout.h"
#include "log/Log.h"
#include "log/Status.h"
#include "section/ByteOrder.h"
#include "section/SeismicSection.h"

namespace {
constexpr uint32_t kTagLittle = 0x01020304u;
constexpr uint32_t kTagBig = 0x04030201u;
constexpr uint32_t kTagPairA = 0x02010403u;
constexpr uint32_t kTagPairB = 0x03040102u;

void FixRevision(uint8_t* bh, bool log, bool tolerant) {
  uint8_t& major = bh[BinaryHeaderOffset(kBhRevisionMajor)];
  uint8_t& minor = bh[BinaryHeaderOffset(kBhRevisionMinor)];
  if (major == 0 && (minor == 1 || minor == 2)) {
    if (log) LogPrint(LogError, "WARNING: exchanged SEG-Y major(%d)<->minor(%d) rev numbers", 0, minor);
    major = minor;
    minor = 0;
  }
  // Minor revisions of 2 keep its layout (2.1 adds words, moves none). A larger minor byte is more
  // likely junk than a revision, and stays with the strict rule.
  if (tolerant && major == 2 && minor >= 1 && minor <= 9) {
    LogPrint(LogWarning,
             "WARNING: tolerant reading: SEG-Y rev %d.%d is newer than this reader; read as rev %d.0, whose "
             "layout it keeps",
             major, minor, major);
    minor = 0;
  }
  if (minor != 0 || major > 2) {
    if (log)
      LogPrint(LogError, "WARNING: unknown SEG-Y rev %d.%d, assuming rev 0 with junk bytes in BFH", major,
               minor);
    major = 0;
    minor = 0;
  }
}

// 1 little, 2 big, or kStatusBadHeader for the pairwise orders.
int DecideByteOrder(const uint8_t* bh, int revision, bool log) {
  if (revision == 2) {
    uint32_t tag = LoadLE<uint32_t>(bh + BinaryHeaderOffset(kBhByteOrderTag));
    if (tag == kTagLittle) return kLittleEndian;
    if (tag == kTagBig) return kBigEndian;
    if (tag == kTagPairA || tag == kTagPairB) {
      if (log) LogPrint(LogError, "\nERROR: SEG-Y rev 2.0 pairwise bytes swapping NOT IMPLEMENTED\n");
      return kStatusBadHeader;
    }
    if (tag == 0) LogPrint(LogWarning, "WARNING: SEG-Y rev 2.0, unspecified byte ordering field in BFH");
    if (tag != 0)
      LogPrint(LogWarning, "WARNING: SEG-Y rev 2.0, INVALID byte ordering field 0x%08X in BFH", tag);
  }
  int16_t code = LoadLE<int16_t>(bh + BinaryHeaderOffset(kBhFormat));
  return code >= 1 && code <= 16 ? kLittleEndian : kBigEndian;
}

// Zeroes binary header positions first .. end-1.
void ClearRange(uint8_t* bh, int first, int end) {
  std::memset(bh + BinaryHeaderOffset(first), 0, static_cast<std::size_t>(end - first));
}

// A binary header of printable characters and line ends: a text file, most
// likely, given a seismic file's name.
bool HoldsText(const uint8_t* bh) {
  int printable = 0;
  for (int i = 0; i < kSegyBinaryBytes; ++i)
    if ((bh[i] >= 0x20 && bh[i] < 0x7F) || bh[i] == '\n' || bh[i] == '\r' || bh[i] == '\t') ++printable;
  return printable >= kSegyBinaryBytes * 95 / 100;
}

int CheckFormat(const uint8_t* bh, bool log) {
  int code = BinaryWord<int16_t>(bh, kBhFormat);
  if (code <= 0 || code > 16 || code == 13 || code == 14) {
    if (log) LogPrint(LogError, "\nERROR: SEG-Y sample format code %d IS UNKNOWN\n", code);
    if (log && HoldsText(bh))
      LogPrint(LogError, "ERROR: this is not a seismic file: its binary file header is plain text");
    return kStatusBadHeader;
  }
  if (!SegyFormatSupported(code)) {
    if (log) LogPrint(LogError, "\nERROR: SEG-Y sample format code %d NOT IMPLEMENTED\n", code);
    return kStatusBadHeader;
  }
  return 0;
}

int CheckRev2(const uint8_t* bh, int extCount, bool log) {
  uint32_t maxThe = BinaryWord<uint32_t>(bh, kBhMaxExtensions);
  int32_t trailer = BinaryWord<int32_t>(bh, kBhTrailerCount);
  int64_t traces = BinaryWord<int64_t>(bh, kBhTraceCount);
  int64_t offset = BinaryWord<int64_t>(bh, kBhFirstTraceOffset);
  int32_t ns = BinaryWord<int32_t>(bh, kBhSamples32);
  double dt = BinaryWord<double>(bh, kBhInterval64);
  if ((offset >= 1 && offset <= 3599) || maxThe > 65535 || trailer < -1 || traces < 0 || ns < 0 || dt < 0.0) {
    if (log) {
      LogPrint(LogError, "\nERROR: found INVALID values in SEGY rev 2.0 part of Binary File Header");
      LogPrint(LogError, "       maxTHE=%d  ntETFH=%d    ns=%d  dt=%.3lf", static_cast<int>(maxThe), trailer,
               ns, dt);
      LogPrint(LogError, "       trOffset=%" PRId64 "  numTR=%" PRId64, offset, traces);
    }
    return kStatusBadHeader;
  }
  if (offset > 0) {
    int64_t d = (offset - kSegyFirstTraceDefault) / kSegyTextBytes;
    bool before = (extCount == -1 && d <= 0) || (extCount > 0 && d < extCount);
    if (before) {
      if (log) {
        LogPrint(LogError, "ERROR: SEG-Y rev 2.0, 1st trace offset of %" PRId64 " bytes", offset);
        if (extCount == -1) {
          LogPrint(LogError, "       is specified before min length of unknown #ETFH blocks");
        } else {
          LogPrint(LogError, "       is specified before end of %d-block ETFH", extCount);
        }
      }
      return kStatusBadHeader;
    }
  }
  return 0;
}

// rev2Implausible non-null (tolerant reading): implausible revision 2 fields are reported there, not refused.
int Validate(uint8_t* bh, int revision, bool log, bool* rev2Implausible) {
  if (CheckFormat(bh, log) != 0) return kStatusBadHeader;
  if (revision <= 1) {
    ClearRange(bh, kBhTracesPerRecord32, kBhByteOrderTag + 4);
    ClearRange(bh, kBhMaxExtensions, kBhTrailerCount + 4);
  }
  if (revision == 0) ClearRange(bh, kBhRevisionMajor, kBhMaxExtensions);
  if (revision >= 1) {
    int fixedLen = BinaryWord<uint16_t>(bh, kBhFixedLength);
    int extCount = BinaryWord<int16_t>(bh, kBhExtTextCount);
    if (fixedLen > 1 || extCount < -1) {
      if (log) {
        LogPrint(LogError, "\nERROR: found INVALID values in SEG-Y rev 1.0 part of Binary File Header");
        LogPrint(LogError, "       fixedLen=%d  nETFH=%d", fixedLen, extCount);
      }
      return kStatusBadHeader;
    }
    if (revision == 2 && rev2Implausible) {
      *rev2Implausible = CheckRev2(bh, extCount, false) != 0;
    } else if (revision == 2 && CheckRev2(bh, extCount, log) != 0) {
      return kStatusBadHeader;
    }
  }
  return 0;
}

// The 32-bit and double fields that are zero take the classic 16-bit values.
void FillWideFields(uint8_t* bh) {
  auto fill32 = [bh](int wide, int classic, bool isUnsigned) {
    if (BinaryWord<int32_t>(bh, wide) != 0) return;
    int32_t v = isUnsigned ? BinaryWord<uint16_t>(bh, classic) : BinaryWord<int16_t>(bh, classic);
    SetBinaryWord<int32_t>(bh, wide, v);
  };
  fill32(kBhTracesPerRecord32, kBhTracesPerRecord, false);
  fill32(kBhAuxTracesPerRecord32, kBhAuxTracesPerRecord, false);
  fill32(kBhSamples32, kBhSamples, true);
  fill32(kBhOrigSamples32, kBhOrigSamples, true);
  fill32(kBhFold32, kBhFold, false);
  if (BinaryWord<double>(bh, kBhInterval64) == 0.0)
    SetBinaryWord<double>(bh, kBhInterval64, BinaryWord<int16_t>(bh, kBhInterval));
  if (BinaryWord<double>(bh, kBhOrigInterval64) == 0.0)
    SetBinaryWord<double>(bh, kBhOrigInterval64, BinaryWord<int16_t>(bh, kBhOrigInterval));
}
}  // namespace

SegyFileInfo InfoFromBinaryHeader(const uint8_t* bh) {
  SegyFileInfo info;
  info.revision = bh[BinaryHeaderOffset(kBhRevisionMajor)];
  info.bigEndian = bh[kBfhByteOrderPos] != kLittleEndian;
  info.formatCode = BinaryWord<int16_t>(bh, kBhFormat);
  info.bytesPerSample = SegyBytesPerSample(info.formatCode);
  info.fixedLength = BinaryWord<uint16_t>(bh, kBhFixedLength);
  info.extTextCount = BinaryWord<int16_t>(bh, kBhExtTextCount);
  info.maxExtensions = BinaryWord<uint32_t>(bh, kBhMaxExtensions);
  info.traceCount = BinaryWord<int64_t>(bh, kBhTraceCount);
  info.firstTraceOffset = BinaryWord<int64_t>(bh, kBhFirstTraceOffset);
  info.trailerCount = BinaryWord<int32_t>(bh, kBhTrailerCount);
  info.samples = BinaryWord<int32_t>(bh, kBhSamples32);
  info.intervalUs = BinaryWord<double>(bh, kBhInterval64);
  info.binarySampling = bh[kBfhFixedLengthPos] != 0;
  return info;
}

int PrepareBinaryHeader(uint8_t* bh, int dumpFlags, BinaryHeaderMode mode, SegyFileInfo* info) {
  const bool tolerant = mode == BinaryHeaderMode::kReadTolerant;
  bool log = mode != BinaryHeaderMode::kDetect;
  std::memset(bh + kBfhByteOrderPos, 0, kSegyBinaryBytes - kBfhByteOrderPos);
  FixRevision(bh, true, tolerant);
  const uint8_t& revision = bh[BinaryHeaderOffset(kBhRevisionMajor)];
  int order = DecideByteOrder(bh, revision, log);
  bool dumped = false;
  if (order > 0) {
    if (order == kBigEndian && kHostLittleEndian) SwapBinaryHeader(bh);
    if (order == kLittleEndian && !kHostLittleEndian) SwapBinaryHeader(bh);
    bh[kBfhByteOrderPos] = static_cast<uint8_t>(order);
    if (dumpFlags & 2) {
      DumpBinaryHeader(bh, LogAlways);
      dumped = true;
    }
  }
  bool rev2Implausible = false;
  if (order < 0 || Validate(bh, revision, log, tolerant ? &rev2Implausible : nullptr) != 0) {
    if (log) {
      if (!dumped) DumpBinaryHeader(bh, LogError);
      ConsoleRaise();
    }
    return kStatusBadHeader;
  }
  FillWideFields(bh);
  *info = InfoFromBinaryHeader(bh);
  info->rev2Implausible = rev2Implausible;
  return 0;
}

void RepairRev2Fields(uint8_t* bh, SegyFileInfo* info, std::string* what) {
  auto note = [what](const std::string& text) {
    if (!what->empty()) *what += ", ";
    *what += text;
  };
  int64_t offset = BinaryWord<int64_t>(bh, kBhFirstTraceOffset);
  int extCount = BinaryWord<int16_t>(bh, kBhExtTextCount);
  int64_t d = (offset - kSegyFirstTraceDefault) / kSegyTextBytes;
  if ((offset >= 1 && offset <= 3599) ||
      (offset > 0 && ((extCount == -1 && d <= 0) || (extCount > 0 && d < extCount)))) {
    note(StrPrintf("1st trace offset %" PRId64 " (traces taken to follow the extended textual headers)",
                   offset));
    SetBinaryWord<int64_t>(bh, kBhFirstTraceOffset, 0);
  }
  if (int32_t trailer = BinaryWord<int32_t>(bh, kBhTrailerCount); trailer < -1) {
    note(StrPrintf("num trailer ETFH %d (taken as 0)", trailer));
    SetBinaryWord<int32_t>(bh, kBhTrailerCount, 0);
  }
  if (int64_t traces = BinaryWord<int64_t>(bh, kBhTraceCount); traces < 0) {
    note(StrPrintf("num traces in file %" PRId64 " (taken as unknown)", traces));
    SetBinaryWord<int64_t>(bh, kBhTraceCount, 0);
  }
  if (int32_t ns = BinaryWord<int32_t>(bh, kBhSamples32); ns < 0) {
    int32_t classic = BinaryWord<uint16_t>(bh, kBhSamples);
    note(StrPrintf("samples/trace %d (the 16-bit field's %d taken)", ns, classic));
    SetBinaryWord<int32_t>(bh, kBhSamples32, classic);
  }
  if (double dt = BinaryWord<double>(bh, kBhInterval64); dt < 0.0) {
    double classic = BinaryWord<int16_t>(bh, kBhInterval);
    note(StrPrintf("sampling interval %.3lf us (the 16-bit field's %.0lf taken)", dt, classic));
    SetBinaryWord<double>(bh, kBhInterval64, classic);
  }
  *info = InfoFromBinaryHeader(bh);
  info->rev2Implausible = true;
}

int RefuseRev2Header(const uint8_t* bh) {
  CheckRev2(bh, BinaryWord<int16_t>(bh, kBhExtTextCount), true);
  DumpBinaryHeader(bh, LogError);
  ConsoleRaise();
  return kStatusBadHeader;
}

void ApplyFixedLengthRule(uint8_t* bh, SegyFileInfo* info) {
  if (bh[BinaryHeaderOffset(kBhRevisionMajor)] >= 1 && BinaryWord<uint16_t>(bh, kBhFixedLength) == 1 &&
      BinaryWord<int32_t>(bh, kBhSamples32) > 0 && BinaryWord<double>(bh, kBhInterval64) > 0.0) {
    bh[kBfhFixedLengthPos] = 1;
    info->binarySampling = true;
  }
}

void BuildSuBinaryHeader(uint8_t* bh, bool bigEndian, SegyFileInfo* info) {
  std::memset(bh, 0, kSegyBinaryBytes);
  SetBinaryWord<int16_t>(bh, kBhFormat, 5);
  bh[kBfhByteOrderPos] = bigEndian ? kBigEndian : kLittleEndian;
  *info = InfoFromBinaryHeader(bh);
}
