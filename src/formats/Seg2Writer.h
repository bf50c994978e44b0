// SEG-2 output: revision 1, little-endian, samples as 32-bit IEEE floats
// (data format code 4). Honours the time crop, OMIT and the active filter of
// the save options; options.seg2TraceCount sizes the trace pointer subblock.
// The section is never changed.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/SaveOptions.h"

class SeismicSection;
struct TraceRecord;

// Writes the file on fp (opened for binary writing, positioned anywhere).
// Returns 0 when at least one trace was written; kStatusRefused when none was; kStatusWriteFailed after
// a write or seek error; kStatusNoMemory when a buffer cannot be allocated. Writing stops
// early, with a valid file, when a trace would start beyond 4 GiB or when the
// pointer subblock is full.
int WriteSEG2(const SeismicSection& section, std::FILE* fp, SaveOptions& options);

// Creates path (through a temporary file renamed on success), fills
// options.seg2TraceCount with the traces not marked OMIT when it is 0, and
// writes it. Returns WriteSEG2's result, kStatusOpenFailed when the file cannot be created,
// kStatusWriteFailed when finishing it failed.
int SaveAsSeg2(const SeismicSection& section, const std::string& path, SaveOptions& options);

// The strings of the File Descriptor Block (from the first trace of the list
// and the section's binary header) and of one trace whose first written sample
// has the time delaySeconds; without length words.
std::vector<std::string> Seg2FileStrings(const SeismicSection& section, const TraceRecord* first);
std::vector<std::string> Seg2TraceStrings(const TraceRecord& rec, double delaySeconds);

// A string list as written: each string preceded by its 16-bit length + 3 and
// followed by a 0 byte, a 16-bit 0 at the end, zero-padded to 4 bytes.
std::vector<uint8_t> Seg2StringList(const std::vector<std::string>& strings);
