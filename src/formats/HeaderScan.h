// Walking the trace headers of a SEG-Y or SU file without keeping samples:
// header dumps, the trace offsets of an in-place header update, and the
// header-word export.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "formats/SegyBinaryHeader.h"
#include "formats/SeismicFile.h"

class SeismicSection;

inline constexpr int32_t kScanExportWords = 0x10000;     // export each trace's words
inline constexpr int32_t kScanExportNewline = 0x20000;   // export mode without words
inline constexpr int32_t kScanRecordOffsets = 0x300000;  // record every header offset

struct HeaderScanParams {
  int32_t flags = 0;               // 0x10 dump each trace header in range; the scan bits above
  int32_t firstTrace = 1;          // 1-based
  int32_t lastTrace = 2147483647;  // 1-based; below first means no upper end
  std::string path;                // the file, for ReadHeadersOnly
  // Export mode: called for each trace in range with its 240-byte header in
  // host order and its 1-based position in the file; writes the whole line.
  std::function<void(const uint8_t* header, int32_t traceNumber)> exportTrace;
  // ReadHeadersOnly leaves the file open here when asked (header import).
  bool keepOpen = false;
  SeismicFile file;
  bool bigEndian = false;  // out: byte order of the file's headers
};

// Walks the headers from the current position of stream fp; see the flags.
// Returns the number of traces walked.
int ScanTraceHeaders(SeismicSection& section, FILE* fp, int64_t fileSize, int64_t position,
                     const SegyFileInfo& info, HeaderScanParams& params);

// Opens params.path ("r+bS" when recording offsets, else "rbS"), reads and
// checks the file headers (kind 1 SEG-Y, 2 SU), keeps the binary header in the
// section and runs the scan. Returns the trace count, kHeaderScanUnknownKind,
// kStatusOpenFailed, or kStatusBadHeader.
inline constexpr int kHeaderScanUnknownKind = -3;
int ReadHeadersOnly(SeismicSection& section, HeaderScanParams& params, int kind);

// The SU byte order rule: big-endian when the first header's DT word, read
// little-endian, is negative.
bool SuHeaderIsBigEndian(const uint8_t* firstHeader);
