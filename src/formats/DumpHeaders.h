// Printing the headers of one file to the log without loading it.
#pragma once

#include <cstdint>
#include <string>

// flags: 1 textual header, 2 binary header, 0x10 trace headers first..last
// (1-based), 0x20 walk the trace headers without printing them. Does nothing
// unless one of 0x33 is set. Returns 0, kStatusOpenFailed when the file cannot be opened,
// or kStatusNoReader for a file type without a header dump.
int DumpHeadersFile(const std::string& path, int32_t flags, int32_t firstTrace, int32_t lastTrace);
