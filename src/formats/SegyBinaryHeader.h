// Checking and fixing a SEG-Y binary file header as read: revision words,
// byte order, validation, and the file facts the readers need.
#pragma once

#include <cstdint>
#include <string>

// What the readers take from a checked binary header.
struct SegyFileInfo {
  int revision = 0;  // major revision after the fixes: 0, 1 or 2
  bool bigEndian = true;
  int formatCode = 0;
  int bytesPerSample = 0;
  int fixedLength = 0;           // kBhFixedLength
  int extTextCount = 0;          // kBhExtTextCount: blocks, -1 variable
  uint32_t maxExtensions = 0;    // kBhMaxExtensions
  int64_t traceCount = 0;        // kBhTraceCount
  int64_t firstTraceOffset = 0;  // kBhFirstTraceOffset
  int32_t trailerCount = 0;      // kBhTrailerCount
  int32_t samples = 0;           // kBhSamples32 (filled from kBhSamples when zero)
  double intervalUs = 0.0;       // kBhInterval64 (filled from kBhInterval when zero)
  bool binarySampling = false;   // every trace takes samples and interval from here
  bool rev2Implausible = false;  // kReadTolerant: revision 2 fields strict reading refuses (RepairRev2Fields)
};

// How PrepareBinaryHeader reports.
enum class BinaryHeaderMode {
  kRead,    // errors logged, a bad header dumped at level 1 and the console raised
  kDetect,  // warnings logged, errors silent (content sniffing)
  // As kRead, but a minor revision 2.1 .. 2.9 is read as 2.0 (with a warning), and
  // implausible revision 2 fields are left to the caller (info->rev2Implausible) instead of refused.
  kReadTolerant,
};

// Brings bh (400 bytes as read) into host order and checks it. dumpFlags bit 2
// dumps it once its byte order is known. Stores the byte order at
// kBfhByteOrderPos and clears the bytes after it. Returns 0, or kStatusBadHeader for an invalid or
// unsupported header.
int PrepareBinaryHeader(uint8_t* bh, int dumpFlags, BinaryHeaderMode mode, SegyFileInfo* info);

// Tolerant reading of a revision 2 header with rev2Implausible: the first trace offset, trailer and
// trace counts, sample count and interval that strict reading refuses are cleared (the last two take
// the classic fields), each named in *what; info is updated. The maximum of trace header extensions is
// left for the caller, who tries what it may mean against the file.
void RepairRev2Fields(uint8_t* bh, SegyFileInfo* info, std::string* what);
// The strict refusal of an implausible revision 2 header (host order, as PrepareBinaryHeader left
// it): the messages, the dump at level 1, the console raised. Returns kStatusBadHeader.
int RefuseRev2Header(const uint8_t* bh);

// Sets the kBfhFixedLengthPos flag (and info->binarySampling) when revision >= 1,
// kBhFixedLength is 1 and kBhSamples32 and kBhInterval64 are positive.
void ApplyFixedLengthRule(uint8_t* bh, SegyFileInfo* info);

// The file facts of a host-order binary header copy (as kept by a section).
SegyFileInfo InfoFromBinaryHeader(const uint8_t* bh);

// A zeroed SU binary header (format 5, revision 0) and its facts.
void BuildSuBinaryHeader(uint8_t* bh, bool bigEndian, SegyFileInfo* info);
