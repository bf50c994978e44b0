// The record the workspace passes down to the readers, and the reader
// signature shared by every format.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class HeaderByteMap;
class SeismicSection;
class TraceHeap;

inline constexpr int32_t kLoadKeepHeaders = 0x1000;

struct LoadParams {
  int32_t flags = 0;               // kLoadKeepHeaders: keep this file's headers; dump and scan bits
  int32_t firstTrace = 0;          // 1-based, header scans
  int32_t lastTrace = 2147483647;  // 1-based, header scans
  int32_t fileCount = 0;           // 1-based number of the file being read
  int32_t loadTag = -1;            // LTAG of every trace
  int32_t takeNameDigits = 0;      // load tag from the last digits of the base name
  int32_t resetDisplay = 0;
  int32_t keepViewPosition = 0;
  int32_t keepDisplay = 0;
  TraceHeap* heap = nullptr;  // the load's heap tuning (LoadFileList); readers call AfterAllocation
  // The traces wanted, 0-based over the whole load (kxtool traces asks for a few of a big file). A
  // reader that can pass over a trace without reading its samples skips those before keepFrom,
  // counting them in skipped, and stops after keepTo; the others keep every trace. So the load's
  // trace i (i >= keepFrom) is the section's trace i - skipped.
  int64_t keepFrom = 0;
  int64_t keepTo = INT64_MAX;
  int64_t skipped = 0;
  // Open what the strict rules refuse, each assumption logged once per file as a warning. Off by
  // default: reading stays strict unless the user asks.
  bool tolerant = false;
  int32_t tolerantIntervalUs = 0;  // for traces with no usable interval; 0: the binary header's, else 4 ms
  // Trace header words read from other bytes by the SEG-Y/SU readers (formats/HeaderByteMap.h);
  // null or empty: the standard positions.
  std::shared_ptr<const HeaderByteMap> headerMap;
  // Told now and then how far the load got: (bytes read, bytes of all the files). Optional; called on
  // the loading thread. LoadFileList keeps the two offsets below; readers go through ReportReadBytes.
  std::function<void(int64_t done, int64_t total)> progress;
  int64_t progressBase = 0;   // bytes of the files before this one
  int64_t progressTotal = 0;  // bytes of all the files
};

// A reader's report of how far into its file it has read.
inline void ReportReadBytes(const LoadParams& params, int64_t bytesIntoFile) {
  if (params.progress) params.progress(params.progressBase + bytesIntoFile, params.progressTotal);
}

// A reader appends the traces of one file to the section, stamping TRF with
// params.fileCount and LTAG with params.loadTag, and returns the number of
// traces appended (0 or more), or a negative status when nothing could be read.
// Traces appended before an error stay in the section.
using ReaderFn = int (*)(SeismicSection& section, const std::string& path, LoadParams& params);
