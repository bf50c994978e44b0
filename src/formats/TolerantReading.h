// Tolerant reading: what the SEG-Y and SU readers assume, when the user asks for it
// (LoadParams::tolerant), to open files the strict rules refuse. Every assumption is checked
// against the file (its traces must line up) and logged once per file as a warning saying what
// was assumed and why.
#pragma once

#include <cstdint>
#include <string>

#include "formats/SegyBinaryHeader.h"

// How well SEG-Y traces starting at a file offset fit the file.
enum class LineUp {
  kNo,
  kNextHeader,  // the header after the first trace repeats its NS and DT words
  kExact,       // the first trace's length divides the rest of the file
};

// The first trace's length is its header's sample count (extension 1's when it has one; the binary
// header's when zero or when fixed-length), times the sample size, plus 240 bytes for the header
// and for each of `extensions` (the trace's own count in extension 1 when non-zero).
LineUp SegyTracesLineUp(int fd, int64_t fileSize, int64_t at, const SegyFileInfo& info, uint32_t extensions);

// Revision 0 with an extended textual header count in bytes 3505-3506 (rawBh as read, info after
// PrepareBinaryHeader): the number of blocks to honour, or 0 (strict reading: none). A count of -1 is
// resolved by finding the "((SEG: EndText))" stanza. Honoured only when the traces line up after the
// blocks better than at byte 3600; then a warning is logged.
int TolerantRev0ExtText(int fd, int64_t fileSize, const uint8_t* rawBh, const SegyFileInfo& info);

// Revision 2 with implausible fields (info->rev2Implausible, the others already cleared by
// RepairRev2Fields and named in repaired): chooses the maximum of trace header extensions with
// which the traces from byte `at` line up, sets it in bh and info, and logs the warnings. false
// when no choice lines up (the caller then refuses the file as strict reading does).
bool TolerantRev2Layout(int fd, int64_t fileSize, int64_t at, uint8_t* bh, SegyFileInfo* info,
                        const std::string& repaired);

// True when the file reads as SU in that byte order: a first header with NS > 0 and DT >= 0,
// the file a whole number of such traces, and the second header (if any) with the same NS and DT.
bool SuLinesUp(int fd, int64_t fileSize, bool bigEndian);
// SU by content in either byte order: 1 little-endian, 2 big-endian, 0 neither.
int SuByteOrderByContent(int fd, int64_t fileSize);
// The SU reader's byte order: guessBig (from the first interval's sign) unless only the other
// order lines up, which is then taken with a warning.
bool TolerantSuByteOrder(int fd, int64_t fileSize, bool guessBig);

// The interval (µs) for traces without a usable one: givenUs when positive, else the binary
// header's when positive, else 4 ms. *why says which.
double TolerantIntervalUs(int32_t givenUs, double binaryUs, const char** why);
