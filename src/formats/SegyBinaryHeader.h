// Checking and fixing a SEG-Y binary file header as read: revision words,
// byte order, validation, and the file facts the readers need.
#pragma once

#include <cstdint>

// What the readers take from a checked binary header.
struct SegyFileInfo {
  int revision = 0;  // major revision after the fixes: 0, 1 or 2
  bool bigEndian = true;
  int formatCode = 0;
  int bytesPerSample = 0;
  int fixedLength = 0;           // bytes 303-304
  int extTextCount = 0;          // bytes 305-306: blocks, -1 variable
  uint32_t maxExtensions = 0;    // bytes 307-310
  int64_t traceCount = 0;        // bytes 313-320
  int64_t firstTraceOffset = 0;  // bytes 321-328
  int32_t trailerCount = 0;      // bytes 329-332
  int32_t samples = 0;           // bytes 69-72 (filled from 21-22 when zero)
  double intervalUs = 0.0;       // bytes 73-80 (filled from 17-18 when zero)
  bool binarySampling = false;   // every trace takes samples and interval from here
};

// How PrepareBinaryHeader reports.
enum class BinaryHeaderMode {
  kRead,    // errors logged, a bad header dumped at level 1 and the console raised
  kDetect,  // warnings logged, errors silent (content sniffing)
};

// Brings bh (400 bytes as read) into host order and checks it. dumpFlags bit 2
// dumps it once its byte order is known. Stores the byte order in byte 397 and
// clears bytes 398-400. Returns 0, or kStatusBadHeader for an invalid or
// unsupported header.
int PrepareBinaryHeader(uint8_t* bh, int dumpFlags, BinaryHeaderMode mode, SegyFileInfo* info);

// Sets byte 399 (and info->binarySampling) when revision >= 1, the fixed-length
// flag is 1 and the samples and interval of bytes 69-80 are positive.
void ApplyFixedLengthRule(uint8_t* bh, SegyFileInfo* info);

// The file facts of a host-order binary header copy (as kept by a section).
SegyFileInfo InfoFromBinaryHeader(const uint8_t* bh);

// A zeroed SU binary header (format 5, revision 0) and its facts.
void BuildSuBinaryHeader(uint8_t* bh, bool bigEndian, SegyFileInfo* info);
