// SEG-2 files (engineering seismographs), either byte order: appends one
// trace record per trace to a section, and prints the descriptor blocks.
#pragma once

#include <cstdint>
#include <string>

#include "formats/LoadParams.h"

class SeismicSection;

// Load flag: multiply the samples by each trace's DESCALING_FACTOR.
inline constexpr int32_t kLoadSeg2Descale = 0x2000;

inline constexpr int kSeg2FileBlockBytes = 32;
inline constexpr int kSeg2TraceBlockBytes = 32;
inline constexpr uint16_t kSeg2FileId = 0x3A55;
inline constexpr uint16_t kSeg2TraceId = 0x4422;

// Reads the traces params.firstTrace (0-based, negative = 0) up to
// params.lastTrace (exclusive; negative or beyond the file = all). With
// kLoadKeepHeaders the section's textual and binary headers are built from
// this file once a trace was read. Returns the number of traces appended, or
// kStatusOpenFailed when the file cannot be opened. Traces read before an error stay.
int ReadSeg2File(SeismicSection& section, const std::string& path, LoadParams& params);

// Prints the File Descriptor Block, its strings and every Trace Descriptor
// Block with its strings to the log, without loading traces. Returns 0, kStatusOpenFailed
// when the file cannot be opened, or a negative code after a bad block.
int DumpSeg2File(SeismicSection& section, const std::string& path);
