// SEG-Y (revisions 0, 1, 2, either byte order) and SU readers.
//
// Both follow the reader convention: append the file's traces to the section,
// stamping TRF = params.fileCount and LTAG = params.loadTag, and return the
// number appended, or kStatusOpenFailed (cannot open), kStatusSeekFailed (seek), kStatusReadFailed (read),
// kStatusBadHeader (bad or unsupported header), kStatusNoMemory (allocation). Traces appended before an error
// stay in the section and the result is their count.
//
// params.flags: 0x1000 keep the file's textual, binary and extended textual
// headers in the section (only when at least one trace was read); 1 dump the
// textual header; 2 dump the binary header.
#pragma once

#include <string>

#include "formats/LoadParams.h"

class SeismicSection;

inline constexpr int32_t kDumpTextualHeader = 0x1;
inline constexpr int32_t kDumpBinaryHeader = 0x2;
inline constexpr int32_t kDumpTraceHeaders = 0x10;
inline constexpr int32_t kDumpTraceScan = 0x20;

int ReadSegyFile(SeismicSection& section, const std::string& path, LoadParams& params);
int ReadSuFile(SeismicSection& section, const std::string& path, LoadParams& params);
