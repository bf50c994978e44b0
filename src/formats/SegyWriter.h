// SEG-Y revision 1 and SU output: samples always as 32-bit IEEE floats.
//
// The writers read the section and never change it: byte swapping and
// filtering work on copies. Traces whose OMIT flag is set are left out.
// Files are written to a temporary file beside the target and renamed over
// it only when complete, so a failed save leaves no partial file and an
// existing file of that name untouched.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "formats/SaveOptions.h"

class SeismicSection;
struct TraceRecord;

// Writes a complete big-endian SEG-Y rev 1 file. Returns 0; kStatusOpenFailed when the
// file cannot be created; kStatusWriteFailed after a write or seek error, when no trace was
// written, a buffer could not be allocated, or the revision is above 1.
int SaveAsSegyRev1(const SeismicSection& section, const std::string& path, SaveOptions& options);

// Writes an SU file (the trace stream alone, host byte order): sets the
// options' revision to 0 and flags to SU. Returns the trace writer's result,
// or kStatusOpenFailed when the file cannot be created, kStatusWriteFailed when finishing it failed.
int SaveAsSu(const SeismicSection& section, const std::string& path, SaveOptions& options);

// The trace-stream writer: headers and samples of the chosen list from the
// current position of fp. Returns 0 when at least one trace was written; the
// system error code after a failed write; kStatusNoMemory when the sample buffer cannot
// be allocated; kStatusRefused when no trace was written. Fills the options' outputs.
int WriteSegyTraces(const SeismicSection& section, std::FILE* fp, SaveOptions& options);

// The 240-byte trace header of a record, words in the requested byte order;
// NS is the record's count and DELRT its own delay (the writer replaces both).
// flags: the save options' flags (station numbering).
void BuildSegyTraceHeader(const TraceRecord& rec, int32_t flags, bool bigEndian, uint8_t* header);

// The DELRT word for a delay in seconds: rounded milliseconds, 0 when the
// value does not fit in (-32767, 32767).
int16_t SegyDelayWord(double delaySeconds);
